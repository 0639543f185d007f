#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/SysColors.h"

using namespace gdi;

// ---- bitmaps ----------------------------------------------------------------------------
namespace {

cairo_surface_t* NewSurface(int w, int h) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, w), std::max(1, h));
}

void FillSurface(cairo_surface_t* s, std::uint32_t value) {
  cairo_surface_flush(s);
  auto* d = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
  int stride = cairo_image_surface_get_stride(s) / 4;
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  for (int y = 0; y < h; ++y) std::fill(d + std::ptrdiff_t(y) * stride, d + std::ptrdiff_t(y) * stride + w, value);
  cairo_surface_mark_dirty(s);
}

int DibStride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

std::uint32_t QuadToPixel(const RGBQUAD& q) {
  return 0xFF000000u | (std::uint32_t(q.rgbRed) << 16) | (std::uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

int NearestIndex(const std::vector<RGBQUAD>& table, std::uint32_t px) {
  int best = 0;
  long bestD = LONG_MAX;
  int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  for (std::size_t i = 0; i < table.size(); ++i) {
    long dr = r - table[i].rgbRed, dg = g - table[i].rgbGreen, db = b - table[i].rgbBlue;
    long d = dr * dr + dg * dg + db * db;
    if (d < bestD) {
      bestD = d;
      best = int(i);
      if (d == 0) break;
    }
  }
  return best;
}

int MaskShift(DWORD mask) {
  if (!mask) return 0;
  int s = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}
int MaskBits(DWORD mask) {
  mask >>= MaskShift(mask);
  int n = 0;
  while (mask & 1) {
    mask >>= 1;
    ++n;
  }
  return n;
}
std::uint32_t Expand(DWORD v, DWORD mask) {
  if (!mask) return 0;
  int bits = MaskBits(mask);
  v = (v & mask) >> MaskShift(mask);
  if (bits >= 8) return v >> (bits - 8);
  std::uint32_t r = v << (8 - bits);
  return r | (r >> bits);
}

// Reads row `y` (top-down index) of a DIB in `bpp` format into 32-bit pixels.
void ReadDibRow(const std::uint8_t* src, int width, int bpp, const std::vector<RGBQUAD>& table,
                const DWORD* masks, DWORD compression, std::uint32_t* out) {
  switch (bpp) {
    case 1:
    case 4:
    case 8: {
      int per = 8 / bpp, maskv = (1 << bpp) - 1;
      for (int x = 0; x < width; ++x) {
        int byte = src[x / per];
        int shift = (per - 1 - x % per) * bpp;
        int idx = (byte >> shift) & maskv;
        out[x] = idx < int(table.size()) ? QuadToPixel(table[idx]) : 0xFF000000u;
      }
      break;
    }
    case 16: {
      DWORD m[3] = {0x7C00, 0x03E0, 0x001F};
      if (compression == BI_BITFIELDS) std::memcpy(m, masks, sizeof m);
      for (int x = 0; x < width; ++x) {
        DWORD v = src[2 * x] | (DWORD(src[2 * x + 1]) << 8);
        out[x] = 0xFF000000u | (Expand(v, m[0]) << 16) | (Expand(v, m[1]) << 8) | Expand(v, m[2]);
      }
      break;
    }
    case 24:
      for (int x = 0; x < width; ++x)
        out[x] = 0xFF000000u | (std::uint32_t(src[3 * x + 2]) << 16) | (std::uint32_t(src[3 * x + 1]) << 8) |
                 src[3 * x];
      break;
    case 32:
      if (compression == BI_BITFIELDS) {
        for (int x = 0; x < width; ++x) {
          DWORD v;
          std::memcpy(&v, src + 4 * x, 4);
          out[x] = 0xFF000000u | (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]);
        }
      } else {
        std::memcpy(out, src, std::size_t(width) * 4);
      }
      break;
    default: std::fill(out, out + width, 0xFF000000u);
  }
}

void WriteDibRow(std::uint8_t* dst, int width, int bpp, const std::vector<RGBQUAD>& table, const DWORD* masks,
                 DWORD compression, const std::uint32_t* in) {
  switch (bpp) {
    case 1:
    case 4:
    case 8: {
      int per = 8 / bpp, maskv = (1 << bpp) - 1;
      std::memset(dst, 0, std::size_t(DibStride(width, bpp)));
      for (int x = 0; x < width; ++x) {
        int idx = NearestIndex(table, in[x]) & maskv;
        int shift = (per - 1 - x % per) * bpp;
        dst[x / per] |= std::uint8_t(idx << shift);
      }
      break;
    }
    case 16: {
      DWORD m[3] = {0x7C00, 0x03E0, 0x001F};
      if (compression == BI_BITFIELDS) std::memcpy(m, masks, sizeof m);
      for (int x = 0; x < width; ++x) {
        std::uint32_t p = in[x];
        DWORD v = 0;
        std::uint32_t ch[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
        for (int c = 0; c < 3; ++c) {
          int bits = MaskBits(m[c]);
          v |= ((bits >= 8 ? ch[c] << (bits - 8) : ch[c] >> (8 - bits)) << MaskShift(m[c])) & m[c];
        }
        dst[2 * x] = std::uint8_t(v);
        dst[2 * x + 1] = std::uint8_t(v >> 8);
      }
      break;
    }
    case 24:
      for (int x = 0; x < width; ++x) {
        dst[3 * x] = std::uint8_t(in[x]);
        dst[3 * x + 1] = std::uint8_t(in[x] >> 8);
        dst[3 * x + 2] = std::uint8_t(in[x] >> 16);
      }
      break;
    case 32:
      if (compression == BI_BITFIELDS) {
        for (int x = 0; x < width; ++x) {
          std::uint32_t p = in[x];
          DWORD v = 0;
          std::uint32_t ch[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
          for (int c = 0; c < 3; ++c) {
            int bits = MaskBits(masks[c]);
            v |= ((bits >= 8 ? ch[c] << (bits - 8) : ch[c] >> (8 - bits)) << MaskShift(masks[c])) & masks[c];
          }
          std::memcpy(dst + 4 * x, &v, 4);
        }
      } else {
        std::memcpy(dst, in, std::size_t(width) * 4);
      }
      break;
    default: break;
  }
}

std::vector<RGBQUAD> ReadColorTable(const BITMAPINFO* info, int bpp) {
  std::vector<RGBQUAD> table;
  if (bpp > 8) return table;
  int n = info->bmiHeader.biClrUsed ? int(std::min<DWORD>(info->bmiHeader.biClrUsed, 1u << bpp)) : (1 << bpp);
  table.assign(info->bmiColors, info->bmiColors + n);
  return table;
}

std::shared_ptr<Bitmap> NewBitmap(int w, int h) {
  auto b = std::make_shared<Bitmap>();
  b->width = w;
  b->height = h;
  b->surface = NewSurface(w, h);
  return b;
}

}  // namespace

bool gdi::DecodeDib(const BITMAPINFO* info, const void* bits, std::vector<std::uint32_t>& out, int& width,
                    int& height) {
  if (!info || !bits) return false;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return false;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 65535 || std::abs(h.biHeight) > 65535) return false;
  width = h.biWidth;
  height = std::abs(h.biHeight);
  std::vector<RGBQUAD> table = ReadColorTable(info, bpp);
  DWORD masks[3] = {0, 0, 0};
  if (h.biCompression == BI_BITFIELDS) std::memcpy(masks, info->bmiColors, sizeof masks);
  int stride = DibStride(width, bpp);
  out.assign(std::size_t(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    int srcRow = h.biHeight < 0 ? y : height - 1 - y;
    ReadDibRow(static_cast<const std::uint8_t*>(bits) + std::ptrdiff_t(srcRow) * stride, width, bpp, table, masks,
               h.biCompression, out.data() + std::size_t(y) * width);
  }
  return true;
}

gdi::Bitmap::~Bitmap() {
  if (surface) cairo_surface_destroy(surface);
}

void gdi::Bitmap::syncIn() {
  if (!dib || sharesBits() || !dibBits) return;
  cairo_surface_flush(surface);
  for (int y = 0; y < height; ++y) {
    int srcRow = topDown ? y : height - 1 - y;
    ReadDibRow(static_cast<std::uint8_t*>(dibBits) + std::ptrdiff_t(srcRow) * dibStride, width, bpp, colorTable,
               masks, compression, pixels() + std::ptrdiff_t(y) * stridePixels());
  }
  cairo_surface_mark_dirty(surface);
}

void gdi::Bitmap::syncOut() {
  if (!dib || sharesBits() || !dibBits) return;
  cairo_surface_flush(surface);
  for (int y = 0; y < height; ++y) {
    int dstRow = topDown ? y : height - 1 - y;
    WriteDibRow(static_cast<std::uint8_t*>(dibBits) + std::ptrdiff_t(dstRow) * dibStride, width, bpp, colorTable,
                masks, compression, pixels() + std::ptrdiff_t(y) * stridePixels());
  }
}

// ---- stock objects --------------------------------------------------------------------------
namespace {
HGDIOBJ Stock(int index);

HGDIOBJ MakeStock(int index) {
  std::shared_ptr<Object> obj;
  auto pen = [](UINT style, COLORREF c) {
    auto p = std::make_shared<Pen>();
    p->style = style;
    p->color = c;
    return p;
  };
  auto brush = [](UINT style, COLORREF c) {
    auto b = std::make_shared<Brush>();
    b->style = style;
    b->color = c;
    return b;
  };
  auto font = [](const char* face, LONG height, LONG weight) {
    auto f = std::make_shared<Font>();
    f->lf.lfFaceName = face;
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    return f;
  };
  switch (index) {
    case WHITE_BRUSH: obj = brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: obj = brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: obj = brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: obj = brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: obj = brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: obj = brush(BS_NULL, 0); break;
    case DC_BRUSH: {
      auto b = brush(BS_SOLID, RGB(255, 255, 255));
      b->dcBrush = true;
      obj = b;
      break;
    }
    case WHITE_PEN: obj = pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: obj = pen(PS_SOLID, 0); break;
    case NULL_PEN: obj = pen(PS_NULL, 0); break;
    case DC_PEN: {
      auto p = pen(PS_SOLID, 0);
      p->dcPen = true;
      obj = p;
      break;
    }
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: obj = font("System", 16, FW_BOLD); break;
    case ANSI_VAR_FONT: obj = font("MS Sans Serif", -11, FW_NORMAL); break;
    case DEFAULT_GUI_FONT: obj = font("MS Shell Dlg", -11, FW_NORMAL); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: obj = font("Courier New", 13, FW_NORMAL); break;
    case DEFAULT_PALETTE: obj = std::make_shared<Palette>(); break;
    default: return nullptr;
  }
  obj->stock = true;
  return reinterpret_cast<HGDIOBJ>(Register(obj));
}

HGDIOBJ Stock(int index) {
  static HGDIOBJ table[20] = {};
  if (index < 0 || index >= 20 || index == 9) return nullptr;
  if (!table[index]) table[index] = MakeStock(index);
  return table[index];
}

HBITMAP DefaultBitmap() {
  static HBITMAP bmp = [] {
    auto b = NewBitmap(1, 1);
    b->bpp = 1;
    b->mono = true;
    FillSurface(b->surface, 0xFF000000u);
    b->stock = true;
    return reinterpret_cast<HBITMAP>(Register(b));
  }();
  return bmp;
}
}  // namespace

// Used by DeviceContext.cpp to initialise a DC.
namespace gdi {
void InitDCState(DC* dc) {
  dc->s.hPen = reinterpret_cast<HPEN>(Stock(BLACK_PEN));
  dc->s.pen = LookupAs<Pen>(dc->s.hPen, Kind::Pen);
  dc->s.hBrush = reinterpret_cast<HBRUSH>(Stock(WHITE_BRUSH));
  dc->s.brush = LookupAs<Brush>(dc->s.hBrush, Kind::Brush);
  dc->s.hFont = reinterpret_cast<HFONT>(Stock(SYSTEM_FONT));
  dc->s.font = LookupAs<Font>(dc->s.hFont, Kind::Font);
  dc->s.hPalette = reinterpret_cast<HPALETTE>(Stock(DEFAULT_PALETTE));
  if (dc->memory) {
    dc->s.hBitmap = DefaultBitmap();
    dc->s.bitmap = GetBitmap(dc->s.hBitmap);
  }
}
}  // namespace gdi

HGDIOBJ GetStockObject(int index) { return Stock(index); }

// ---- selection and lifetime -------------------------------------------------------------------
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DC* dc = GetDC(hdc);
  auto obj = Lookup(object);
  if (!dc || !obj) return nullptr;
  DCState& s = dc->s;
  switch (obj->kind) {
    case Kind::Pen: {
      HGDIOBJ old = s.hPen;
      s.pen = std::static_pointer_cast<Pen>(std::move(obj));
      s.hPen = static_cast<HPEN>(object);
      return old;
    }
    case Kind::Brush: {
      HGDIOBJ old = s.hBrush;
      s.brush = std::static_pointer_cast<Brush>(std::move(obj));
      s.hBrush = static_cast<HBRUSH>(object);
      return old;
    }
    case Kind::Font: {
      HGDIOBJ old = s.hFont;
      s.font = std::static_pointer_cast<Font>(std::move(obj));
      s.hFont = static_cast<HFONT>(object);
      return old;
    }
    case Kind::Bitmap: {
      if (!dc->memory) return nullptr;
      auto bmp = std::static_pointer_cast<Bitmap>(std::move(obj));
      if (bmp->selectedInto && bmp->selectedInto != dc && !bmp->stock) return nullptr;  // one DC at a time
      HGDIOBJ old = s.hBitmap;
      if (s.bitmap && s.bitmap->selectedInto == dc) s.bitmap->selectedInto = nullptr;
      s.bitmap = bmp;
      s.hBitmap = static_cast<HBITMAP>(object);
      if (!bmp->stock) bmp->selectedInto = dc;
      dc->invalidateClip();
      return old;
    }
    case Kind::Region: {
      int kind = SelectClipRgn(hdc, static_cast<HRGN>(object));
      return reinterpret_cast<HGDIOBJ>(std::uintptr_t(kind));
    }
    case Kind::Palette: {
      HGDIOBJ old = s.hPalette;
      s.hPalette = static_cast<HPALETTE>(object);
      return old;
    }
    default: return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DC* dc = GetDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->s.hPen;
    case OBJ_BRUSH: return dc->s.hBrush;
    case OBJ_FONT: return dc->s.hFont;
    case OBJ_BITMAP: return dc->s.hBitmap;
    case OBJ_PAL: return dc->s.hPalette;
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ object) {
  Object* obj = Peek(object);
  if (!obj || obj->kind == Kind::DC) return FALSE;
  if (obj->stock) return TRUE;
  if (obj->kind == Kind::Bitmap && static_cast<Bitmap*>(obj)->selectedInto) {
    // GDI refuses to delete a bitmap still selected into a DC.
    return FALSE;
  }
  // A pen, brush or font still selected stays usable by that DC until replaced.
  return Unregister(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  Object* obj = Peek(object);
  if (!obj) return 0;
  switch (obj->kind) {
    case Kind::Pen: return static_cast<Pen*>(obj)->ext ? OBJ_EXTPEN : OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Region: return OBJ_REGION;
    case Kind::Palette: return OBJ_PAL;
    case Kind::DC: return static_cast<DC*>(obj)->memory ? OBJ_MEMDC : OBJ_DC;
  }
  return 0;
}

int GetObject(HGDIOBJ object, int size, void* out) {
  auto obj = Lookup(object);
  if (!obj) return 0;
  switch (obj->kind) {
    case Kind::Pen: {
      auto* p = static_cast<Pen*>(obj.get());
      if (p->ext) {
        if (!out) return int(sizeof(EXTLOGPEN));
        if (size < int(sizeof(EXTLOGPEN))) return 0;
        EXTLOGPEN e;
        e.elpPenStyle = p->style;
        e.elpWidth = DWORD(p->width);
        e.elpBrushStyle = BS_SOLID;
        e.elpColor = p->color;
        *static_cast<EXTLOGPEN*>(out) = e;
        return int(sizeof(EXTLOGPEN));
      }
      if (!out) return int(sizeof(LOGPEN));
      if (size < int(sizeof(LOGPEN))) return 0;
      LOGPEN lp;
      lp.lopnStyle = p->style;
      lp.lopnWidth.x = p->width;
      lp.lopnColor = p->color;
      *static_cast<LOGPEN*>(out) = lp;
      return int(sizeof(LOGPEN));
    }
    case Kind::Brush: {
      auto* b = static_cast<Brush*>(obj.get());
      if (!out) return int(sizeof(LOGBRUSH));
      if (size < int(sizeof(LOGBRUSH))) return 0;
      LOGBRUSH lb;
      lb.lbStyle = b->style;
      lb.lbColor = b->sysColorIndex >= 0 ? GetSysColor(b->sysColorIndex) : b->color;
      lb.lbHatch = std::uintptr_t(b->hatch);
      *static_cast<LOGBRUSH*>(out) = lb;
      return int(sizeof(LOGBRUSH));
    }
    case Kind::Font: {
      if (!out) return int(sizeof(LOGFONT));
      if (size < int(sizeof(LOGFONT))) return 0;
      *static_cast<LOGFONT*>(out) = static_cast<Font*>(obj.get())->lf;
      return int(sizeof(LOGFONT));
    }
    case Kind::Bitmap: {
      auto* b = static_cast<Bitmap*>(obj.get());
      BITMAP bm;
      bm.bmWidth = b->width;
      bm.bmHeight = b->height;
      bm.bmBitsPixel = WORD(b->bpp);
      bm.bmWidthBytes = b->dib ? b->dibStride : ((b->width * b->bpp + 15) / 16) * 2;
      bm.bmBits = b->dib ? b->dibBits : nullptr;
      if (b->dib && size >= int(sizeof(DIBSECTION))) {
        if (!out) return int(sizeof(DIBSECTION));
        DIBSECTION ds;
        ds.dsBm = bm;
        ds.dsBmih.biWidth = b->width;
        ds.dsBmih.biHeight = b->topDown ? -b->height : b->height;
        ds.dsBmih.biBitCount = WORD(b->bpp);
        ds.dsBmih.biCompression = b->compression;
        ds.dsBmih.biSizeImage = DWORD(b->dibStride * b->height);
        ds.dsBmih.biClrUsed = DWORD(b->colorTable.size());
        std::memcpy(ds.dsBitfields, b->masks, sizeof ds.dsBitfields);
        *static_cast<DIBSECTION*>(out) = ds;
        return int(sizeof(DIBSECTION));
      }
      if (!out) return int(sizeof(BITMAP));
      if (size < int(sizeof(BITMAP))) return 0;
      *static_cast<BITMAP*>(out) = bm;
      return int(sizeof(BITMAP));
    }
    case Kind::Palette: {
      auto* p = static_cast<Palette*>(obj.get());
      if (!out || size < int(sizeof(WORD))) return int(sizeof(WORD));
      *static_cast<WORD*>(out) = WORD(p->entries.size());
      return int(sizeof(WORD));
    }
    default: return 0;
  }
}

BOOL UnrealizeObject(HGDIOBJ object) { return Lookup(object) ? TRUE : FALSE; }

// ---- pens and brushes -----------------------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color) {
  auto p = std::make_shared<Pen>();
  p->style = UINT(style) & PS_STYLE_MASK;
  if (p->style > PS_ALTERNATE) p->style = PS_SOLID;
  p->width = std::max(0, width);
  // Styled pens wider than one pixel draw solid, as GDI's cosmetic styles do.
  if (p->width > 1 && p->style != PS_NULL && p->style != PS_INSIDEFRAME) p->style = PS_SOLID;
  p->color = color;
  return ToHandle<HPEN>(Register(p));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return nullptr;
  return CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  if (!brush) return nullptr;
  auto p = std::make_shared<Pen>();
  p->ext = true;
  p->style = style;
  p->width = (style & PS_TYPE_MASK) == PS_GEOMETRIC ? int(width) : 1;
  p->color = brush->lbColor;
  if ((style & PS_STYLE_MASK) == PS_USERSTYLE) {
    if (!styles || styleCount == 0 || styleCount > 16) return nullptr;
    p->userStyle.assign(styles, styles + styleCount);
  }
  if (brush->lbStyle == BS_NULL) p->style = (p->style & ~PS_STYLE_MASK) | PS_NULL;
  return ToHandle<HPEN>(Register(p));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto b = std::make_shared<Brush>();
  b->style = BS_SOLID;
  b->color = color;
  return ToHandle<HBRUSH>(Register(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_shared<Brush>();
  b->style = BS_HATCHED;
  b->hatch = hatch;
  b->color = color;
  return ToHandle<HBRUSH>(Register(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto bmp = GetBitmap(bitmap);
  if (!bmp) return nullptr;
  auto b = std::make_shared<Brush>();
  b->style = BS_PATTERN;
  bmp->syncIn();
  cairo_surface_flush(bmp->surface);
  b->patWidth = bmp->width;
  b->patHeight = bmp->height;
  b->patMono = bmp->mono;
  b->pattern.resize(std::size_t(bmp->width) * bmp->height);
  for (int y = 0; y < bmp->height; ++y)
    std::memcpy(&b->pattern[std::size_t(y) * bmp->width], bmp->pixels() + std::ptrdiff_t(y) * bmp->stridePixels(),
                std::size_t(bmp->width) * 4);
  return ToHandle<HBRUSH>(Register(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    default: return nullptr;
  }
}

// ---- fonts ------------------------------------------------------------------------------------------
HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  auto f = std::make_shared<Font>();
  f->lf = *lf;
  return ToHandle<HFONT>(Register(f));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, const char* face) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = BYTE(italic != 0);
  lf.lfUnderline = BYTE(underline != 0);
  lf.lfStrikeOut = BYTE(strikeOut != 0);
  lf.lfCharSet = BYTE(charSet);
  lf.lfOutPrecision = BYTE(outPrecision);
  lf.lfClipPrecision = BYTE(clipPrecision);
  lf.lfQuality = BYTE(quality);
  lf.lfPitchAndFamily = BYTE(pitchAndFamily);
  lf.lfFaceName = face ? face : "";
  return CreateFontIndirect(&lf);
}

// ---- bitmaps ------------------------------------------------------------------------------------------
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || width > 65535 || height > 65535) return nullptr;
  UINT bpp = planes * bitsPerPixel;
  if (width == 0 || height == 0) return DefaultBitmap();
  auto b = NewBitmap(width, height);
  b->mono = bpp == 1;
  b->bpp = b->mono ? 1 : 32;
  FillSurface(b->surface, 0xFF000000u);
  if (bits) {
    cairo_surface_flush(b->surface);
    const auto* src = static_cast<const std::uint8_t*>(bits);
    int stride = ((width * int(bpp) + 15) / 16) * 2;
    for (int y = 0; y < height; ++y) {
      std::uint32_t* row = b->pixels() + std::ptrdiff_t(y) * b->stridePixels();
      const std::uint8_t* s = src + std::ptrdiff_t(y) * stride;
      for (int x = 0; x < width; ++x) {
        if (bpp == 1) {
          row[x] = (s[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFFFu : 0xFF000000u;
        } else if (bpp == 24) {
          row[x] = 0xFF000000u | (std::uint32_t(s[3 * x + 2]) << 16) | (std::uint32_t(s[3 * x + 1]) << 8) | s[3 * x];
        } else if (bpp == 32) {
          std::memcpy(&row[x], s + 4 * x, 4);
        }
      }
    }
    cairo_surface_mark_dirty(b->surface);
  }
  return ToHandle<HBITMAP>(Register(b));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return nullptr;
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  // As in GDI, a memory DC still holding its initial monochrome bitmap gives monochrome
  // bitmaps; no DC means the screen (32-bit).
  DC* dc = GetDC(hdc);
  if ((hdc && !dc) || width < 0 || height < 0 || width > 65535 || height > 65535) return nullptr;
  if (width == 0 || height == 0) return DefaultBitmap();
  bool mono = dc && dc->memory && dc->s.bitmap && dc->s.bitmap->mono;
  return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset) {
  if (bits) *bits = nullptr;
  if (!info) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int bpp = h.biBitCount;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biWidth > 65535 || std::abs(h.biHeight) > 65535) return nullptr;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
  if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return nullptr;
  int w = h.biWidth, ht = std::abs(h.biHeight);
  auto b = NewBitmap(w, ht);
  b->dib = true;
  b->bpp = bpp;
  b->topDown = h.biHeight < 0;
  b->compression = h.biCompression;
  b->dibStride = DibStride(w, bpp);
  if (bpp <= 8) b->colorTable = ReadColorTable(info, bpp);
  if (h.biCompression == BI_BITFIELDS) std::memcpy(b->masks, info->bmiColors, sizeof b->masks);
  b->mono = bpp == 1 && b->colorTable.size() == 2 && QuadToPixel(b->colorTable[0]) == 0xFF000000u &&
            QuadToPixel(b->colorTable[1]) == 0xFFFFFFFFu;
  std::size_t total = std::size_t(b->dibStride) * ht;
  b->dibStorage.assign(total, 0);
  b->dibBits = b->dibStorage.data();
  if (b->sharesBits()) {
    // The drawing surface works directly on the caller-visible rows.
    cairo_surface_destroy(b->surface);
    auto* base = b->dibStorage.data();
    if (b->topDown)
      b->surface = cairo_image_surface_create_for_data(base, CAIRO_FORMAT_ARGB32, w, ht, b->dibStride);
    else
      b->surface = cairo_image_surface_create_for_data(base + std::ptrdiff_t(ht - 1) * b->dibStride,
                                                       CAIRO_FORMAT_ARGB32, w, ht, -b->dibStride);
    if (cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  } else {
    // The new rows are all zero, and every zero pixel reads as the same colour: the surface
    // is filled with it rather than each row converted.
    const std::uint8_t zero[4] = {0, 0, 0, 0};
    std::uint32_t pixel = 0;
    ReadDibRow(zero, 1, bpp, b->colorTable, b->masks, b->compression, &pixel);
    if (pixel != 0) FillSurface(b->surface, pixel);
  }
  if (bits) *bits = b->dibBits;
  return ToHandle<HBITMAP>(Register(b));
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits) {
  auto b = GetBitmap(bitmap);
  if (!b) return 0;
  b->syncIn();
  int stride = ((b->width * b->bpp + 15) / 16) * 2;
  LONG total = stride * b->height;
  if (!bits) return total;
  LONG n = std::min(size, total);
  std::vector<std::uint8_t> tmp(std::size_t(total), 0);
  cairo_surface_flush(b->surface);
  for (int y = 0; y < b->height; ++y) {
    const std::uint32_t* row = b->pixels() + std::ptrdiff_t(y) * b->stridePixels();
    std::uint8_t* d = tmp.data() + std::ptrdiff_t(y) * stride;
    for (int x = 0; x < b->width; ++x) {
      if (b->bpp == 1) {
        if (row[x] & 0xFFFFFF) d[x / 8] |= std::uint8_t(0x80 >> (x % 8));
      } else if (b->bpp == 32) {
        std::memcpy(d + 4 * x, &row[x], 4);
      }
    }
  }
  std::memcpy(bits, tmp.data(), std::size_t(n));
  return n;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  auto b = GetBitmap(bitmap);
  if (!b || !bits || b->stock) return 0;
  int stride = ((b->width * b->bpp + 15) / 16) * 2;
  int rows = std::min<LONG>(b->height, LONG(size / DWORD(std::max(1, stride))));
  const auto* src = static_cast<const std::uint8_t*>(bits);
  cairo_surface_flush(b->surface);
  for (int y = 0; y < rows; ++y) {
    std::uint32_t* row = b->pixels() + std::ptrdiff_t(y) * b->stridePixels();
    const std::uint8_t* s = src + std::ptrdiff_t(y) * stride;
    for (int x = 0; x < b->width; ++x) {
      if (b->bpp == 1) row[x] = (s[x / 8] >> (7 - x % 8)) & 1 ? 0xFFFFFFFFu : 0xFF000000u;
      else if (b->bpp == 32) std::memcpy(&row[x], s + 4 * x, 4);
    }
  }
  cairo_surface_mark_dirty(b->surface);
  b->syncOut();
  return rows * stride;
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, SIZE* size) {
  auto b = GetBitmap(bitmap);
  if (!b || !size) return FALSE;
  *size = b->dimension;
  return TRUE;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  auto b = GetBitmap(bitmap);
  if (!b || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount == 0) {
    // Query: describe the bitmap.
    h.biWidth = b->width;
    h.biHeight = b->height;
    h.biPlanes = 1;
    h.biBitCount = WORD(b->bpp == 1 ? 1 : (b->dib ? b->bpp : 32));
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(DibStride(b->width, h.biBitCount) * b->height);
    h.biClrUsed = 0;
    return b->height;
  }
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  // Colour table: mono bitmaps black/white; other small formats get a fixed palette.
  std::vector<RGBQUAD> table;
  if (bpp <= 8) {
    if (b->dib && b->bpp == bpp && !b->colorTable.empty()) {
      table = b->colorTable;
    } else if (bpp == 1) {
      table = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    } else {
      int n = 1 << bpp;
      for (int i = 0; i < n; ++i) {
        // 4-bit: the 16 VGA colours; 8-bit: a 6x6x6 cube followed by greys.
        static const BYTE vga[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                        {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                        {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                        {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        RGBQUAD q;
        if (bpp == 4) {
          q.rgbRed = vga[i][0];
          q.rgbGreen = vga[i][1];
          q.rgbBlue = vga[i][2];
        } else if (i < 216) {
          q.rgbRed = BYTE((i / 36) * 51);
          q.rgbGreen = BYTE(((i / 6) % 6) * 51);
          q.rgbBlue = BYTE((i % 6) * 51);
        } else {
          BYTE g = BYTE((i - 216) * 255 / 39);
          q.rgbRed = q.rgbGreen = q.rgbBlue = g;
        }
        table.push_back(q);
      }
    }
    std::copy(table.begin(), table.end(), info->bmiColors);
    h.biClrUsed = DWORD(table.size());
  }
  int stride = DibStride(b->width, bpp);
  h.biSizeImage = DWORD(stride * std::abs(h.biHeight ? h.biHeight : b->height));
  if (!bits) return b->height;
  if (start >= UINT(b->height)) return 0;
  lines = std::min<UINT>(lines, UINT(b->height) - start);
  bool topDown = h.biHeight < 0;
  b->syncIn();
  cairo_surface_flush(b->surface);
  DWORD masks[3] = {0, 0, 0};
  if (h.biCompression == BI_BITFIELDS) std::memcpy(masks, info->bmiColors, sizeof masks);
  for (UINT i = 0; i < lines; ++i) {
    // Scan line `start + i` counted from the bottom for bottom-up requests.
    UINT scan = start + i;
    int srcY = topDown ? int(scan) : b->height - 1 - int(scan);
    WriteDibRow(static_cast<std::uint8_t*>(bits) + std::ptrdiff_t(i) * stride, b->width, bpp, table, masks,
                h.biCompression, b->pixels() + std::ptrdiff_t(srcY) * b->stridePixels());
  }
  return int(lines);
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  auto b = GetBitmap(bitmap);
  if (!b || !info || !bits || b->stock) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int bpp = h.biBitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
  if (h.biWidth <= 0) return 0;
  std::vector<RGBQUAD> table = ReadColorTable(info, bpp);
  DWORD masks[3] = {0, 0, 0};
  if (h.biCompression == BI_BITFIELDS) std::memcpy(masks, info->bmiColors, sizeof masks);
  int stride = DibStride(h.biWidth, bpp);
  int srcHeight = std::abs(h.biHeight);
  bool topDown = h.biHeight < 0;
  if (start >= UINT(b->height)) return 0;
  lines = std::min<UINT>({lines, UINT(b->height) - start, UINT(srcHeight)});
  std::vector<std::uint32_t> row(std::size_t(h.biWidth));
  b->syncIn();
  cairo_surface_flush(b->surface);
  int w = std::min<int>(b->width, h.biWidth);
  for (UINT i = 0; i < lines; ++i) {
    UINT scan = start + i;
    int dstY = topDown ? int(scan) : b->height - 1 - int(scan);
    ReadDibRow(static_cast<const std::uint8_t*>(bits) + std::ptrdiff_t(i) * stride, h.biWidth, bpp, table, masks,
               h.biCompression, row.data());
    std::uint32_t* d = b->pixels() + std::ptrdiff_t(dstY) * b->stridePixels();
    for (int x = 0; x < w; ++x) d[x] = b->mono ? ((row[x] & 0xFFFFFF) ? 0xFFFFFFFFu : 0xFF000000u) : row[x];
  }
  cairo_surface_mark_dirty(b->surface);
  b->syncOut();
  return int(lines);
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
  DC* dc = GetDC(hdc);
  if (!dc || !dc->s.bitmap || !colors) return 0;
  auto& t = dc->s.bitmap->colorTable;
  if (start >= t.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(t.size()) - start);
  std::copy(t.begin() + start, t.begin() + start + n, colors);
  return n;
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
  DC* dc = GetDC(hdc);
  if (!dc || !dc->s.bitmap || !colors) return 0;
  auto& b = *dc->s.bitmap;
  if (start >= b.colorTable.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(b.colorTable.size()) - start);
  std::copy(colors, colors + n, b.colorTable.begin() + start);
  b.syncIn();
  return n;
}

cairo_surface_t* GetBitmapSurface(HBITMAP bitmap) {
  auto b = GetBitmap(bitmap);
  if (!b) return nullptr;
  b->syncIn();
  return b->surface;
}

BOOL IsMonochromeBitmap(HBITMAP bitmap) {
  auto b = GetBitmap(bitmap);
  return b && b->mono ? TRUE : FALSE;
}

// ---- palettes ----------------------------------------------------------------------------------------
HPALETTE CreatePalette(const LOGPALETTE* lp) {
  if (!lp || lp->palNumEntries > 256) return nullptr;
  auto p = std::make_shared<Palette>();
  p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
  return ToHandle<HPALETTE>(Register(p));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  DC* dc = GetDC(hdc);
  if (!dc || !LookupAs<Palette>(palette, Kind::Palette)) return nullptr;
  HPALETTE old = dc->s.hPalette;
  dc->s.hPalette = palette;
  return old;
}

UINT RealizePalette(HDC hdc) { return GetDC(hdc) ? 0 : UINT(-1); }

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  auto p = LookupAs<Palette>(palette, Kind::Palette);
  if (!p) return 0;
  if (!entries) return UINT(p->entries.size());
  if (start >= p->entries.size()) return 0;
  UINT n = std::min<UINT>(count, UINT(p->entries.size()) - start);
  std::copy(p->entries.begin() + start, p->entries.begin() + start + n, entries);
  return n;
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
  DC* dc = GetDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF c = ResolveColor(color);
  if (dc->memory && dc->s.bitmap && dc->s.bitmap->mono) {
    int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
    return lum >= 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  }
  return c;
}
