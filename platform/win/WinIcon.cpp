#include "platform/win/WinIcon.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>
#include <memory>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

namespace {

// The pixels of an icon or cursor. Color holds 0xAARRGGBB words; for an icon without alpha
// only the colour bits count (the XOR image) and Mask is the AND mask (1: set).
struct TIconImage {
  bool Icon = true;
  bool Alpha = false;       // 32-bit colour with meaningful alpha: blended, mask unused
  bool Monochrome = false;  // made of a mask and a 1-bit XOR image
  int Width = 0, Height = 0;
  int HotX = 0, HotY = 0;
  std::vector<std::uint32_t> Color;
  std::vector<std::uint8_t> Mask;

  bool Inverts() const;  // some pixel inverts the screen (mask set, colour not black)
  void Normalize();
  TRawImage ToRawImage() const;
  TIconImage Scaled(int w, int h) const;
};

struct TIconObject {
  TIconImage Image;
  bool Shared = false;
};

struct TIconTable {
  std::map<std::uintptr_t, std::unique_ptr<TIconObject>> Objects;
  // Handle numbers are never reused, so a stale handle cannot reach a newer icon. They
  // stay far from the small numbers of the system cursors (OCR_*).
  std::uintptr_t Next = 0x00C00000;
};

TIconTable& Table() {
  static TIconTable table;
  return table;
}

TIconObject* Find(HICON h) {
  auto& objects = Table().Objects;
  auto it = objects.find(reinterpret_cast<std::uintptr_t>(h));
  return it == objects.end() ? nullptr : it->second.get();
}

HICON Add(TIconImage image) {
  if (image.Width <= 0 || image.Height <= 0) return nullptr;
  TIconTable& t = Table();
  auto obj = std::make_unique<TIconObject>();
  obj->Image = std::move(image);
  std::uintptr_t h = t.Next;
  t.Next += 16;
  t.Objects[h] = std::move(obj);
  return reinterpret_cast<HICON>(h);
}

constexpr bool ValidSize(int w, int h) { return w > 0 && h > 0 && w <= 4096 && h <= 4096; }

// Rows of 1-bit pixels padded to 16 bits, as CreateBitmap and CreateIcon take them.
int MonoStride16(int width) { return ((width + 15) / 16) * 2; }

// Straight-alpha pixels of a 32-bit bitmap read back top-down (monochrome: black/white).
bool ReadBitmap(HBITMAP bitmap, int* width, int* height, std::vector<std::uint32_t>* pixels, bool* mono) {
  BITMAP bm;
  if (!bitmap || GetObject(bitmap, sizeof(bm), &bm) < int(sizeof(BITMAP) - sizeof(void*)) || bm.bmWidth <= 0 ||
      bm.bmHeight <= 0)
    return false;
  BITMAPINFO info{};
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels->assign(std::size_t(bm.bmWidth) * bm.bmHeight, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  int rows = GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), pixels->data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (rows != bm.bmHeight) return false;
  *width = bm.bmWidth;
  *height = bm.bmHeight;
  *mono = IsMonochromeBitmap(bitmap) != FALSE;
  return true;
}

// A 32-bit top-down DIB section holding `pixels` (copied as they are).
HBITMAP MakeDib(int w, int h, const std::uint32_t* pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (b && bits) std::memcpy(bits, pixels, std::size_t(w) * h * 4);
  return b;
}

// A monochrome bitmap whose set bits are the `rows` entries that are non-zero.
HBITMAP MakeMono(int w, int h, const std::uint8_t* values) {
  int stride = MonoStride16(w);
  std::vector<std::uint8_t> bits(std::size_t(stride) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (values[std::size_t(y) * w + x]) bits[std::size_t(y) * stride + x / 8] |= std::uint8_t(0x80 >> (x % 8));
  return CreateBitmap(w, h, 1, 1, bits.data());
}

// Runs a blit from a temporary memory DC holding `bitmap`.
template <class F>
BOOL WithSource(HBITMAP bitmap, F blit) {
  if (!bitmap) return FALSE;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BOOL ok = blit(mem);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bitmap);
  return ok;
}

bool TIconImage::Inverts() const {
  if (Alpha) return false;
  for (std::size_t i = 0; i < Color.size(); ++i)
    if (Mask[i] && (Color[i] & 0xFFFFFF)) return true;
  return false;
}

void TIconImage::Normalize() {
  if (Alpha) {
    // An alpha icon's mask marks what is mostly transparent (drawing with DI_MASK shows it).
    if (Mask.size() != Color.size()) {
      Mask.assign(Color.size(), 0);
      for (std::size_t i = 0; i < Color.size(); ++i) Mask[i] = ArgbAlpha(Color[i]) < 128;
    }
  } else {
    if (Mask.size() != Color.size()) Mask.assign(Color.size(), 0);
    for (auto& c : Color) c &= 0xFFFFFF;  // alpha means nothing here
  }
}

TRawImage TIconImage::ToRawImage() const {
  TRawImage out(Width, Height);
  for (std::size_t i = 0; i < Color.size(); ++i) {
    if (Alpha) out.Pixels[i] = Color[i];
    else if (!Mask[i]) out.Pixels[i] = Color[i] | 0xFF000000u;
    else if (Color[i] & 0xFFFFFF) out.Pixels[i] = 0xFF000000u;  // inverts the screen: shown black
    else out.Pixels[i] = 0;
  }
  return out;
}

TIconImage TIconImage::Scaled(int w, int h) const {
  if (w == Width && h == Height) return *this;
  TIconImage out;
  out.Icon = Icon;
  out.Alpha = Alpha;
  out.Monochrome = Monochrome;
  out.Width = w;
  out.Height = h;
  out.HotX = Width ? HotX * w / Width : 0;
  out.HotY = Height ? HotY * h / Height : 0;
  out.Color.assign(std::size_t(w) * h, 0);
  out.Mask.assign(std::size_t(w) * h, 0);
  if (!Alpha) {
    // Mask and XOR image are two-valued per pixel: the nearest source pixel is taken.
    for (int y = 0; y < h; ++y) {
      int sy = int(std::int64_t(y) * Height / h);
      for (int x = 0; x < w; ++x) {
        int sx = int(std::int64_t(x) * Width / w);
        out.Color[std::size_t(y) * w + x] = Color[std::size_t(sy) * Width + sx];
        out.Mask[std::size_t(y) * w + x] = Mask[std::size_t(sy) * Width + sx];
      }
    }
    return out;
  }
  // Alpha icons: each destination pixel averages the source area it covers, weighted by
  // coverage, on premultiplied colour, so edges stay smooth both ways.
  const double fx = double(Width) / w, fy = double(Height) / h;
  for (int y = 0; y < h; ++y) {
    double y0 = y * fy, y1 = (y + 1) * fy;
    for (int x = 0; x < w; ++x) {
      double x0 = x * fx, x1 = (x + 1) * fx;
      double acc[4] = {0, 0, 0, 0}, total = 0;
      for (int sy = int(y0); sy < Height && sy < y1; ++sy) {
        double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
        if (wy <= 0) continue;
        for (int sx = int(x0); sx < Width && sx < x1; ++sx) {
          double wx = std::min<double>(sx + 1, x1) - std::max<double>(sx, x0);
          if (wx <= 0) continue;
          double wgt = wx * wy;
          std::uint32_t p = Color[std::size_t(sy) * Width + sx];
          double a = ArgbAlpha(p) / 255.0;
          acc[0] += ArgbRed(p) * a * wgt;
          acc[1] += ArgbGreen(p) * a * wgt;
          acc[2] += ArgbBlue(p) * a * wgt;
          acc[3] += ArgbAlpha(p) * wgt;
          total += wgt;
        }
      }
      std::uint32_t v = 0;
      if (total > 0 && acc[3] > 0) {
        double alpha = acc[3] / total;
        auto chan = [&](double c) { return std::uint8_t(std::clamp(c / total * 255.0 / alpha + 0.5, 0.0, 255.0)); };
        v = MakeArgb(std::uint8_t(std::clamp(alpha + 0.5, 0.0, 255.0)), chan(acc[0]), chan(acc[1]), chan(acc[2]));
      }
      out.Color[std::size_t(y) * w + x] = v;
      out.Mask[std::size_t(y) * w + x] = ArgbAlpha(v) < 128;
    }
  }
  return out;
}

TIconImage ImageFromRaw(const TRawImage& image, bool icon, int hotX, int hotY) {
  TIconImage out;
  out.Icon = icon;
  out.Width = image.Width;
  out.Height = image.Height;
  out.HotX = hotX;
  out.HotY = hotY;
  out.Color = image.Pixels;
  out.Alpha = true;
  out.Normalize();
  return out;
}

HICON AddIconImage(TIconImage image) {
  image.Normalize();
  return Add(std::move(image));
}


// ---- icon resources ---------------------------------------------------------------------------
std::uint16_t Rd16(TBytesView d, std::size_t o) { return std::uint16_t(d[o] | (d[o + 1] << 8)); }
std::uint32_t Rd32(TBytesView d, std::size_t o) {
  return std::uint32_t(d[o]) | (std::uint32_t(d[o + 1]) << 8) | (std::uint32_t(d[o + 2]) << 16) |
         (std::uint32_t(d[o + 3]) << 24);
}
void Wr32(TByteBuffer& d, std::size_t o, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) d[o + i] = std::uint8_t(v >> (8 * i));
}
bool IsPng(TBytesView d) { return d.size() >= 8 && d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G'; }
bool LooksLikeImage(TBytesView d) {
  if (IsPng(d)) return true;
  if (d.size() < 12) return false;
  std::uint32_t hs = Rd32(d, 0);
  return hs == 12 || hs == 40 || hs == 52 || hs == 56 || hs == 64 || hs == 108 || hs == 124;
}

// One icon or cursor image: a PNG, or a DIB whose height counts the colour rows and the
// AND mask rows. Raises EInvalidGraphic for damaged data.
TIconImage ParseIconImage(TBytesView d, bool icon, int hotX, int hotY) {
  if (IsPng(d)) return ImageFromRaw(DecodePng(d), icon, hotX, hotY);
  if (!LooksLikeImage(d)) RaiseInvalidImage("ICO", "unknown image header");
  const std::uint32_t hs = Rd32(d, 0);
  if (d.size() < hs) RaiseInvalidImage("ICO", "image header truncated");
  TByteBuffer copy(d.begin(), d.end());
  std::int64_t w = 0, h2 = 0;
  int bpp = 0;
  std::uint32_t compression = 0, clrUsed = 0;
  if (hs == 12) {
    w = Rd16(d, 4);
    h2 = std::int16_t(Rd16(d, 6));
    bpp = Rd16(d, 10);
    std::uint16_t half = std::uint16_t(std::int16_t(h2 / 2));
    copy[6] = std::uint8_t(half);
    copy[7] = std::uint8_t(half >> 8);
  } else {
    w = std::int32_t(Rd32(d, 4));
    h2 = std::int32_t(Rd32(d, 8));
    bpp = Rd16(d, 14);
    compression = Rd32(d, 16);
    clrUsed = Rd32(d, 32);
    Wr32(copy, 8, std::uint32_t(std::int32_t(h2 / 2)));
    Wr32(copy, 20, 0);  // the image size counted the mask too
  }
  const std::int64_t h = (h2 < 0 ? -h2 : h2) / 2;
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096) RaiseInvalidImage("ICO", "bad image size");
  TBmpInfo info;
  TRawImage color = DecodeDib(copy, &info);
  if (color.Width != w || color.Height != h) RaiseInvalidImage("ICO", "image size mismatch");
  TIconImage im;
  im.Icon = icon;
  im.HotX = hotX;
  im.HotY = hotY;
  im.Width = int(w);
  im.Height = int(h);
  im.Color = std::move(color.Pixels);
  im.Alpha = bpp == 32 && info.HasAlpha;
  im.Monochrome = bpp == 1;
  // The mask follows the colour table and the colour rows; a missing mask is clear.
  std::uint64_t table = 0;
  if (bpp <= 8) table = std::uint64_t(clrUsed ? clrUsed : (1u << bpp)) * (hs == 12 ? 3 : 4);
  else table = std::uint64_t(clrUsed) * 4;
  if (hs == 40 && compression == BI_BITFIELDS) table += 12;
  const std::uint64_t colorRow = ((std::uint64_t(w) * bpp + 31) / 32) * 4;
  const std::uint64_t maskAt = hs + table + colorRow * std::uint64_t(h);
  const std::uint64_t maskRow = ((std::uint64_t(w) + 31) / 32) * 4;
  im.Mask.assign(std::size_t(w * h), 0);
  if (maskAt + maskRow * std::uint64_t(h) <= d.size()) {
    for (std::int64_t y = 0; y < h; ++y) {
      std::int64_t stored = h2 > 0 ? h - 1 - y : y;  // rows are bottom-up unless the height is negative
      const std::uint8_t* row = d.data() + maskAt + maskRow * std::uint64_t(stored);
      for (std::int64_t x = 0; x < w; ++x) im.Mask[std::size_t(y * w + x)] = (row[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  im.Normalize();
  return im;
}

struct TDirEntry {
  int Width = 0, Height = 0, BitCount = 0;
  int HotX = 0, HotY = 0;  // cursor files
  TBytesView Bytes;
};

// The directory of a whole .ico or .cur file; false when the bytes are not one.
bool ParseDirectory(TBytesView d, bool* cursor, std::vector<TDirEntry>* entries) {
  if (d.size() < 6 || Rd16(d, 0) != 0) return false;
  std::uint16_t type = Rd16(d, 2), count = Rd16(d, 4);
  if ((type != 1 && type != 2) || count == 0 || 6 + 16 * std::size_t(count) > d.size()) return false;
  *cursor = type == 2;
  entries->clear();
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t o = 6 + 16 * i;
    TDirEntry e;
    e.Width = d[o] ? d[o] : 256;
    e.Height = d[o + 1] ? d[o + 1] : 256;
    if (type == 2) {
      e.HotX = Rd16(d, o + 4);
      e.HotY = Rd16(d, o + 6);
    } else {
      e.BitCount = Rd16(d, o + 6);
    }
    std::uint64_t size = Rd32(d, o + 8), offset = Rd32(d, o + 12);
    if (size == 0 || offset + size > d.size()) return false;
    e.Bytes = d.subspan(std::size_t(offset), std::size_t(size));
    if (!LooksLikeImage(e.Bytes)) return false;
    if (e.BitCount == 0 && !IsPng(e.Bytes) && e.Bytes.size() >= 16)
      e.BitCount = Rd32(e.Bytes, 0) == 12 ? Rd16(e.Bytes, 10) : Rd16(e.Bytes, 14);
    if (IsPng(e.Bytes)) e.BitCount = 32;
    entries->push_back(e);
  }
  return true;
}

// The entry for a wanted size: the same size, else the smallest larger one (shrinking
// keeps detail), else the largest; the deepest colours among equals. 0×0: the first.
const TDirEntry& ChooseEntry(const std::vector<TDirEntry>& entries, int w, int h) {
  if (w <= 0 && h <= 0) return entries.front();
  if (w <= 0) w = h;
  if (h <= 0) h = w;
  auto rank = [&](const TDirEntry& e) {
    int kind = (e.Width == w && e.Height == h) ? 0 : (e.Width >= w && e.Height >= h) ? 1 : 2;
    long dist = std::labs(long(e.Width) - w) + std::labs(long(e.Height) - h);
    return std::tuple<int, long, int>(kind, dist, -e.BitCount);
  };
  const TDirEntry* best = &entries.front();
  for (const TDirEntry& e : entries)
    if (rank(e) < rank(*best)) best = &e;
  return *best;
}

}  // namespace

// ---- creation ---------------------------------------------------------------------------------
HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info || !info->hbmMask) return nullptr;
  int mw = 0, mh = 0;
  bool mono = false;
  std::vector<std::uint32_t> mask;
  if (!ReadBitmap(info->hbmMask, &mw, &mh, &mask, &mono)) return nullptr;
  TIconImage image;
  image.Icon = info->fIcon != FALSE;
  image.HotX = int(info->xHotspot);
  image.HotY = int(info->yHotspot);
  if (info->hbmColor) {
    int cw = 0, ch = 0;
    bool cmono = false;
    std::vector<std::uint32_t> color;
    if (!ReadBitmap(info->hbmColor, &cw, &ch, &color, &cmono)) return nullptr;
    // The mask gives the size only where it matches; a shorter mask leaves the rest opaque.
    image.Width = cw;
    image.Height = ch;
    image.Color = std::move(color);
    image.Mask.assign(image.Color.size(), 0);
    for (int y = 0; y < std::min(ch, mh); ++y)
      for (int x = 0; x < std::min(cw, mw); ++x)
        image.Mask[std::size_t(y) * cw + x] = (mask[std::size_t(y) * mw + x] & 0xFFFFFF) != 0;
    // Bitmaps drawn with GDI are opaque and those written as plain DIB bits often have an
    // unused fourth byte of zero: only a mixture of alpha values makes an alpha icon.
    bool opaque = false, clear = false, partial = false;
    if (!cmono)
      for (std::uint32_t p : image.Color) {
        std::uint8_t a = ArgbAlpha(p);
        if (a == 255) opaque = true;
        else if (a == 0) clear = true;
        else partial = true;
      }
    image.Alpha = partial || (opaque && clear);
  } else {
    // Monochrome: the AND mask on top of the XOR image in one double-height bitmap.
    if (mh < 2) return nullptr;
    image.Width = mw;
    image.Height = mh / 2;
    image.Monochrome = true;
    std::size_t n = std::size_t(mw) * image.Height;
    image.Mask.resize(n);
    image.Color.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
      image.Mask[i] = (mask[i] & 0xFFFFFF) != 0;
      image.Color[i] = (mask[n + i] & 0xFFFFFF) ? 0xFFFFFF : 0;
    }
  }
  if (!image.Icon) {
    image.HotX = std::clamp(image.HotX, 0, image.Width - 1);
    image.HotY = std::clamp(image.HotY, 0, image.Height - 1);
  }
  return AddIconImage(std::move(image));
}

HICON CreateIcon(HINSTANCE, int width, int height, BYTE planes, BYTE bitsPixel, const BYTE* andBits,
                 const BYTE* xorBits) {
  if (!ValidSize(width, height) || !andBits || !xorBits) return nullptr;
  int bpp = int(planes) * int(bitsPixel);
  if (bpp != 1 && bpp != 32) return nullptr;
  TIconImage image;
  image.Icon = true;
  image.Width = width;
  image.Height = height;
  image.HotX = width / 2;
  image.HotY = height / 2;
  std::size_t n = std::size_t(width) * height;
  image.Mask.resize(n);
  image.Color.resize(n);
  int monoStride = MonoStride16(width);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::size_t i = std::size_t(y) * width + x;
      image.Mask[i] = (andBits[std::size_t(y) * monoStride + x / 8] >> (7 - x % 8)) & 1;
      if (bpp == 1) {
        image.Color[i] = ((xorBits[std::size_t(y) * monoStride + x / 8] >> (7 - x % 8)) & 1) ? 0xFFFFFF : 0;
      } else {
        const BYTE* p = xorBits + (std::size_t(y) * width + x) * 4;
        image.Color[i] = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                         (std::uint32_t(p[3]) << 24);
      }
    }
  image.Monochrome = bpp == 1;
  if (bpp == 32) {
    bool partial = false, opaque = false, clear = false;
    for (std::uint32_t p : image.Color) {
      std::uint8_t a = ArgbAlpha(p);
      if (a == 255) opaque = true;
      else if (a == 0) clear = true;
      else partial = true;
    }
    image.Alpha = partial || (opaque && clear);
  }
  return AddIconImage(std::move(image));
}

HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height, const void* andBits,
                     const void* xorBits) {
  HCURSOR c = CreateIcon(instance, width, height, 1, 1, static_cast<const BYTE*>(andBits),
                         static_cast<const BYTE*>(xorBits));
  if (TIconObject* o = Find(c)) {
    o->Image.Icon = false;
    o->Image.HotX = std::clamp(xHotSpot, 0, width - 1);
    o->Image.HotY = std::clamp(yHotSpot, 0, height - 1);
  }
  return c;
}

HICON CreateIconFromImage(const TRawImage& image, BOOL icon, int xHotSpot, int yHotSpot) {
  if (!ValidSize(image.Width, image.Height) || image.Pixels.size() != std::size_t(image.Width) * image.Height)
    return nullptr;
  if (!icon) {
    xHotSpot = std::clamp(xHotSpot, 0, image.Width - 1);
    yHotSpot = std::clamp(yHotSpot, 0, image.Height - 1);
  } else {
    xHotSpot = image.Width / 2;
    yHotSpot = image.Height / 2;
  }
  return AddIconImage(ImageFromRaw(image, icon != FALSE, xHotSpot, yHotSpot));
}

HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL icon, DWORD, int cx, int cy, UINT flags) {
  if (!bits || size == 0 || cx < 0 || cy < 0) return nullptr;
  TBytesView d(bits, size);
  if (flags & LR_DEFAULTSIZE) {
    if (cx == 0) cx = GetSystemMetrics(icon ? SM_CXICON : SM_CXCURSOR);
    if (cy == 0) cy = GetSystemMetrics(icon ? SM_CYICON : SM_CYCURSOR);
  }
  try {
    TIconImage im;
    bool cursorFile = false;
    std::vector<TDirEntry> entries;
    if (ParseDirectory(d, &cursorFile, &entries)) {
      const TDirEntry& e = ChooseEntry(entries, cx, cy);
      im = ParseIconImage(e.Bytes, icon != FALSE, e.HotX, e.HotY);
    } else if (icon) {
      im = ParseIconImage(d, true, 0, 0);
    } else {
      if (d.size() < 4) return nullptr;
      im = ParseIconImage(d.subspan(4), false, Rd16(d, 0), Rd16(d, 2));
    }
    if (icon) {
      im.HotX = im.Width / 2;
      im.HotY = im.Height / 2;
    } else {
      im.HotX = std::clamp(im.HotX, 0, im.Width - 1);
      im.HotY = std::clamp(im.HotY, 0, im.Height - 1);
    }
    int w = cx ? cx : (cy ? cy : im.Width), h = cy ? cy : (cx ? cx : im.Height);
    if (!cx && !cy) {
      w = im.Width;
      h = im.Height;
    }
    if (!ValidSize(w, h)) return nullptr;
    return AddIconImage(im.Scaled(w, h));
  } catch (const std::exception&) {
    return nullptr;
  }
}

HICON CreateIconFromResource(const BYTE* bits, DWORD size, BOOL icon, DWORD version) {
  return CreateIconFromResourceEx(bits, size, icon, version, 0, 0, LR_DEFAULTSIZE);
}

HICON CopyIcon(HICON icon) {
  TIconObject* o = Find(icon);
  if (!o) return nullptr;
  TIconImage copy = o->Image;
  return Add(std::move(copy));
}

BOOL DestroyIcon(HICON icon) {
  auto& objects = Table().Objects;
  auto it = objects.find(reinterpret_cast<std::uintptr_t>(icon));
  if (it == objects.end()) return FALSE;
  if (it->second->Shared) return TRUE;  // loaded for everyone: stays
  objects.erase(it);
  return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) {
  if (SystemCursorId(cursor)) return TRUE;  // system cursors are shared
  return DestroyIcon(cursor);
}

void SetIconShared(HICON icon) {
  if (TIconObject* o = Find(icon)) o->Shared = true;
}

BOOL IsIconHandle(HICON icon) { return Find(icon) != nullptr; }

BOOL IsCursorHandle(HCURSOR cursor) {
  TIconObject* o = Find(cursor);
  return o && !o->Image.Icon;
}

int LiveIconCount() {
  int n = 0;
  for (auto& [h, o] : Table().Objects)
    if (!o->Shared) ++n;
  return n;
}

// ---- reading back --------------------------------------------------------------------------
BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  TIconObject* o = Find(icon);
  if (!o || !info) return FALSE;
  const TIconImage& im = o->Image;
  info->fIcon = im.Icon ? TRUE : FALSE;
  info->xHotspot = DWORD(im.HotX);
  info->yHotspot = DWORD(im.HotY);
  if (im.Monochrome) {
    std::vector<std::uint8_t> both(im.Mask);
    for (std::uint32_t c : im.Color) both.push_back((c & 0xFFFFFF) != 0);
    info->hbmColor = nullptr;
    info->hbmMask = MakeMono(im.Width, im.Height * 2, both.data());
  } else {
    std::vector<std::uint32_t> pixels(im.Color);
    info->hbmColor = CreateBitmap(im.Width, im.Height, 1, 32, nullptr);
    if (info->hbmColor) {
      BITMAPINFO bi{};
      bi.bmiHeader.biWidth = im.Width;
      bi.bmiHeader.biHeight = -im.Height;
      bi.bmiHeader.biBitCount = 32;
      bi.bmiHeader.biCompression = BI_RGB;
      SetDIBits(nullptr, info->hbmColor, 0, UINT(im.Height), pixels.data(), &bi, DIB_RGB_COLORS);
    }
    info->hbmMask = MakeMono(im.Width, im.Height, im.Mask.data());
  }
  return info->hbmMask != nullptr;
}

BOOL GetIconImage(HICON icon, TRawImage* image, POINT* hotSpot) {
  TIconObject* o = Find(icon);
  if (!o) return FALSE;
  if (image) *image = o->Image.ToRawImage();
  if (hotSpot) *hotSpot = WinPoint(o->Image.HotX, o->Image.HotY);
  return TRUE;
}

// ---- drawing ----------------------------------------------------------------------------------
BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT);
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH brush, UINT flags) {
  TIconObject* o = Find(icon);
  if (!o || !dc) return FALSE;
  const TIconImage& src = o->Image;
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(src.Icon ? SM_CXICON : SM_CXCURSOR) : src.Width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(src.Icon ? SM_CYICON : SM_CYCURSOR) : src.Height;
  if (cx < 0 || cy < 0) return FALSE;
  if (brush) {
    RECT r = MakeRect(x, y, x + cx, y + cy);
    FillRect(dc, &r, brush);
  }
  UINT what = flags & DI_NORMAL;
  if (!what) return FALSE;
  if (cx == 0 || cy == 0) return TRUE;
  // The picture is resampled to the size it covers on the device, then copied 1:1.
  POINT corners[2] = {WinPoint(x, y), WinPoint(x + cx, y + cy)};
  LPtoDP(dc, corners, 2);
  int dw = std::abs(corners[1].x - corners[0].x), dh = std::abs(corners[1].y - corners[0].y);
  if (dw == 0 || dh == 0) return TRUE;
  if (!ValidSize(dw, dh)) {
    dw = std::clamp(dw, 1, 4096);
    dh = std::clamp(dh, 1, 4096);
  }
  const TIconImage im = src.Scaled(dw, dh);
  const std::size_t n = im.Color.size();

  if ((what & DI_IMAGE) && (im.Alpha || (what & DI_MASK))) {
    if (im.Alpha || !im.Inverts()) {
      // Paint over with per-pixel alpha (mask icons: opaque where the mask is clear), so a
      // transparent destination stays transparent where the icon is.
      std::vector<std::uint32_t> pm(n);
      for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t c = im.Alpha ? im.Color[i] : (im.Mask[i] ? 0u : (im.Color[i] | 0xFF000000u));
        pm[i] = c;
      }
      PremultiplyPixels(pm.data(), n);
      return WithSource(MakeDib(dw, dh, pm.data()), [&](HDC mem) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return AlphaBlend(dc, x, y, cx, cy, mem, 0, 0, dw, dh, blend);
      });
    }
  }
  COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  BOOL ok = TRUE;
  if (what & DI_MASK) {
    DWORD rop = (what & DI_IMAGE) ? SRCAND : SRCCOPY;
    ok = WithSource(MakeMono(dw, dh, im.Mask.data()),
                    [&](HDC mem) { return StretchBlt(dc, x, y, cx, cy, mem, 0, 0, dw, dh, rop); }) &&
         ok;
  }
  if (what & DI_IMAGE) {
    DWORD rop = (what & DI_MASK) ? SRCINVERT : SRCCOPY;
    std::vector<std::uint32_t> pixels(n);
    for (std::size_t i = 0; i < n; ++i) pixels[i] = (im.Color[i] & 0xFFFFFF) | 0xFF000000u;
    ok = WithSource(MakeDib(dw, dh, pixels.data()),
                    [&](HDC mem) { return StretchBlt(dc, x, y, cx, cy, mem, 0, 0, dw, dh, rop); }) &&
         ok;
  }
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  return ok;
}
