#include "platform/gdi/Blit.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Regions.h"

using namespace gdi;

namespace {

bool UsesSource(DWORD rop) {
  unsigned c = (rop >> 16) & 0xFF;
  return (((c >> 2) ^ c) & 0x33) != 0;
}
bool UsesPattern(DWORD rop) {
  unsigned c = (rop >> 16) & 0xFF;
  return (((c >> 4) ^ c) & 0x0F) != 0;
}

// A source of pixels: top-down 32-bit rows.
struct Source {
  const std::uint32_t* data = nullptr;
  std::ptrdiff_t stride = 0;  // in pixels
  int width = 0, height = 0;
  bool mono = false;
  std::uint32_t bk = 0xFFFFFFFFu;  // source DC background (colour -> mono conversion)
  int ox = 0, oy = 0;              // surface position of device (0,0)
};

struct Mapping {
  RECT dest;  // device, normalised
  int srcX, srcY, srcW, srcH;  // source pixels, normalised
  bool mirrorX = false, mirrorY = false;
};

bool Normalize(int x, int y, int w, int h, int sx, int sy, int sw, int sh, Mapping& m) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return false;
  if (w < 0) {
    x += w;
    w = -w;
    m.mirrorX = !m.mirrorX;
  }
  if (h < 0) {
    y += h;
    h = -h;
    m.mirrorY = !m.mirrorY;
  }
  if (sw < 0) {
    sx += sw;
    sw = -sw;
    m.mirrorX = !m.mirrorX;
  }
  if (sh < 0) {
    sy += sh;
    sh = -sh;
    m.mirrorY = !m.mirrorY;
  }
  m.dest = RECT{x, y, x + w, y + h};
  m.srcX = sx;
  m.srcY = sy;
  m.srcW = sw;
  m.srcH = sh;
  return true;
}

// Source pixel index for destination offset k of n, over a source span of sn pixels.
inline int MapIndex(int k, int n, int sn, bool mirror) {
  int i = n == sn ? k : int((std::int64_t(2 * k + 1) * sn) / (2 * std::int64_t(n)));
  return mirror ? sn - 1 - i : i;
}

// Source column (or row) for each destination column (or row) of [first, first + n): one
// table per axis, so the pixel loops do no division. The mapping is monotonic, so the
// destination positions with a source pixel form one run [lo, hi) of the table.
struct Axis {
  std::vector<int> map;
  int lo = 0, hi = 0;
};

void BuildAxis(Axis& a, int first, int n, int destStart, int destLen, int srcStart, int srcLen, bool mirror,
               int srcLimit) {
  a.map.resize(std::size_t(std::max(n, 0)));
  a.lo = n;
  a.hi = 0;
  for (int k = 0; k < n; ++k) {
    int s = srcStart + MapIndex(first + k - destStart, destLen, srcLen, mirror);
    if (s < 0 || s >= srcLimit) continue;
    a.map[std::size_t(k)] = s;
    a.lo = std::min(a.lo, k);
    a.hi = k + 1;
  }
  if (a.hi <= a.lo) a.lo = a.hi = 0;
}

// The core transfer. `op` gets (x, y, source, dest) and returns the new dest value (or the
// dest unchanged). Destination pixels without a source pixel are left alone. With
// `plainCopy` the op is known to return the source, so rows are copied whole.
template <class Op>
void Transfer(DC* dest, const Mapping& m, const Source* src, Op op, bool plainCopy = false) {
  Target t(dest);
  if (!t.valid()) return;
  const cairo_region_t* clip = t.clip();
  int n = cairo_region_num_rectangles(clip);
  // The clip rectangles meeting the destination (no region copy), and their extents.
  std::vector<RECT> pieces;
  pieces.reserve(std::size_t(n));
  RECT ext{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t q;
    cairo_region_get_rectangle(clip, i, &q);
    RECT r{std::max(q.x, int(m.dest.left)), std::max(q.y, int(m.dest.top)), std::min(q.x + q.width, int(m.dest.right)),
           std::min(q.y + q.height, int(m.dest.bottom))};
    if (r.left >= r.right || r.top >= r.bottom) continue;
    pieces.push_back(r);
    ext.left = std::min(ext.left, r.left);
    ext.top = std::min(ext.top, r.top);
    ext.right = std::max(ext.right, r.right);
    ext.bottom = std::max(ext.bottom, r.bottom);
  }
  if (pieces.empty()) return;
  if (!src) {
    for (const RECT& r : pieces)
      for (int y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = t.row(y);
        for (int x = r.left; x < r.right; ++x) row[x] = op(x, y, 0u, row[x]);
      }
    return;
  }
  int dw = m.dest.right - m.dest.left, dh = m.dest.bottom - m.dest.top;
  Axis ax, ay;
  BuildAxis(ax, ext.left, ext.right - ext.left, m.dest.left, dw, m.srcX, m.srcW, m.mirrorX, src->width);
  BuildAxis(ay, ext.top, ext.bottom - ext.top, m.dest.top, dh, m.srcY, m.srcH, m.mirrorY, src->height);
  if (ax.lo == ax.hi || ay.lo == ay.hi) return;
  const std::uint32_t* sdata = src->data;
  std::ptrdiff_t sstride = src->stride;
  // The source may be the destination itself: copy the source pixels used before writing.
  std::unique_ptr<std::uint32_t[]> copy;
  const std::uint32_t* surfaceData = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(t.surface()));
  if (sdata == surfaceData) {
    int xa = ax.map[std::size_t(ax.lo)], xb = ax.map[std::size_t(ax.hi - 1)];
    int ya = ay.map[std::size_t(ay.lo)], yb = ay.map[std::size_t(ay.hi - 1)];
    int x0 = std::min(xa, xb), x1 = std::max(xa, xb), y0 = std::min(ya, yb), y1 = std::max(ya, yb);
    int cw = x1 - x0 + 1, ch = y1 - y0 + 1;
    copy.reset(new std::uint32_t[std::size_t(cw) * std::size_t(ch)]);
    for (int y = 0; y < ch; ++y)
      std::memcpy(copy.get() + std::ptrdiff_t(y) * cw, sdata + std::ptrdiff_t(y0 + y) * sstride + x0,
                  std::size_t(cw) * 4);
    for (int k = ax.lo; k < ax.hi; ++k) ax.map[std::size_t(k)] -= x0;
    for (int k = ay.lo; k < ay.hi; ++k) ay.map[std::size_t(k)] -= y0;
    sdata = copy.get();
    sstride = cw;
  }
  // Consecutive source columns: a row is one block copy.
  bool contiguous = ax.map[std::size_t(ax.hi - 1)] - ax.map[std::size_t(ax.lo)] == ax.hi - 1 - ax.lo;
  for (const RECT& r : pieces) {
    int x0 = std::max(int(r.left), int(ext.left) + ax.lo), x1 = std::min(int(r.right), int(ext.left) + ax.hi);
    int y0 = std::max(int(r.top), int(ext.top) + ay.lo), y1 = std::min(int(r.bottom), int(ext.top) + ay.hi);
    if (x0 >= x1) continue;
    const int* xs = ax.map.data() + (x0 - ext.left);
    for (int y = y0; y < y1; ++y) {
      const std::uint32_t* srow = sdata + std::ptrdiff_t(ay.map[std::size_t(y - ext.top)]) * sstride;
      std::uint32_t* row = t.row(y);
      if (plainCopy && contiguous) {
        std::memcpy(row + x0, srow + xs[0], std::size_t(x1 - x0) * 4);
      } else if (plainCopy) {
        for (int x = x0; x < x1; ++x) row[x] = srow[xs[x - x0]];
      } else {
        for (int x = x0; x < x1; ++x) row[x] = op(x, y, srow[xs[x - x0]], row[x]);
      }
    }
  }
}

// Colour conversion of a source pixel for the destination, as GDI converts between
// monochrome and colour bitmaps.
struct Convert {
  bool srcMono, destMono;
  std::uint32_t text, bk, srcBk;
  std::uint32_t operator()(std::uint32_t s) const {
    if (srcMono && !destMono) return (s & 0xFFFFFF) ? bk : text;
    if (!srcMono && destMono) return ((s & 0xFFFFFF) == (srcBk & 0xFFFFFF)) ? 0xFFFFFFFFu : 0xFF000000u;
    return s;
  }
};

bool SourceFromDC(DC* dc, Source& s, std::shared_ptr<Bitmap>& keep) {
  cairo_surface_t* surf = nullptr;
  int ox = 0, oy = 0;
  if (dc->memory) {
    keep = dc->s.bitmap;
    if (!keep) return false;
    keep->syncIn();
    surf = keep->surface;
    s.mono = keep->mono;
  } else {
    surf = dc->surface;
    ox = dc->origin.x;
    oy = dc->origin.y;
  }
  if (!surf) return false;
  cairo_surface_flush(surf);
  auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surf));
  s.stride = cairo_image_surface_get_stride(surf) / 4;
  s.data = data;
  s.width = cairo_image_surface_get_width(surf);
  s.height = cairo_image_surface_get_height(surf);
  s.ox = ox;
  s.oy = oy;
  s.bk = ToPixel(dc->s.bkColor);
  return true;
}

BOOL DoBlt(HDC hdest, int x, int y, int w, int h, HDC hsrc, int sx, int sy, int sw, int sh, DWORD rop) {
  DC* dest = GetDC(hdest);
  if (!dest) return FALSE;
  rop &= 0x00FFFFFF;
  bool useSrc = UsesSource(rop);
  DC* src = useSrc ? GetDC(hsrc) : nullptr;
  if (useSrc && !src) return FALSE;
  POINT da = LogicalToDevice(dest, POINT{x, y}), db = LogicalToDevice(dest, POINT{SatAdd(x, w), SatAdd(y, h)});
  Mapping m;
  int dwid = db.x - da.x, dhgt = db.y - da.y;
  int sxd = sx, syd = sy, swd = sw, shd = sh;
  if (src) {
    POINT sa = LogicalToDevice(src, POINT{sx, sy}), sb = LogicalToDevice(src, POINT{SatAdd(sx, sw), SatAdd(sy, sh)});
    sxd = sa.x;
    syd = sa.y;
    swd = sb.x - sa.x;
    shd = sb.y - sa.y;
  } else {
    swd = dwid;
    shd = dhgt;
  }
  if (!Normalize(da.x, da.y, dwid, dhgt, sxd, syd, swd, shd, m)) return TRUE;
  Source s;
  std::shared_ptr<Bitmap> keep;
  if (src && !SourceFromDC(src, s, keep)) return FALSE;
  m.srcX += s.ox;
  m.srcY += s.oy;
  bool destMono = dest->memory && dest->s.bitmap && dest->s.bitmap->mono;
  Convert conv{s.mono, destMono, ToPixel(dest->s.textColor), ToPixel(dest->s.bkColor), s.bk};
  Paint pat = BrushPaint(dest, dest->s.brush.get());
  if (pat.type == Paint::None) {
    pat.type = Paint::Solid;
    pat.color = 0xFF000000u;  // a null brush acts as black in raster operations
  }
  bool usePat = UsesPattern(rop);
  std::vector<std::uint32_t> smooth;
  if (src && rop == SRCCOPY && dest->s.stretchMode == HALFTONE && !s.mono && !destMono &&
      (m.srcW != m.dest.right - m.dest.left || m.srcH != m.dest.bottom - m.dest.top)) {
    // HALFTONE: each destination pixel averages the source area it covers (box filter),
    // so shrunken pictures keep their detail instead of dropping rows and columns.
    int dw = m.dest.right - m.dest.left, dh = m.dest.bottom - m.dest.top;
    if (std::int64_t(dw) * dh <= (1 << 24)) {
      smooth.assign(std::size_t(dw) * dh, 0);
      for (int y = 0; y < dh; ++y) {
        int sy0 = int(std::int64_t(y) * m.srcH / dh), sy1 = std::max(sy0 + 1, int(std::int64_t(y + 1) * m.srcH / dh));
        for (int x = 0; x < dw; ++x) {
          int sx0 = int(std::int64_t(x) * m.srcW / dw), sx1 = std::max(sx0 + 1, int(std::int64_t(x + 1) * m.srcW / dw));
          std::uint64_t acc[4] = {0, 0, 0, 0}, n = 0;
          for (int yy = sy0; yy < sy1; ++yy) {
            int py = m.srcY + (m.mirrorY ? m.srcH - 1 - yy : yy);
            if (py < 0 || py >= s.height) continue;
            for (int xx = sx0; xx < sx1; ++xx) {
              int px = m.srcX + (m.mirrorX ? m.srcW - 1 - xx : xx);
              if (px < 0 || px >= s.width) continue;
              std::uint32_t v = s.data[py * s.stride + px];
              for (int c = 0; c < 4; ++c) acc[c] += (v >> (8 * c)) & 0xFF;
              ++n;
            }
          }
          std::uint32_t out = 0;
          if (n)
            for (int c = 0; c < 4; ++c) out |= std::uint32_t((acc[c] + n / 2) / n) << (8 * c);
          smooth[std::size_t(y) * dw + x] = out;
        }
      }
      Source sm;
      sm.data = smooth.data();
      sm.stride = dw;
      sm.width = dw;
      sm.height = dh;
      Mapping mm;
      Normalize(m.dest.left, m.dest.top, dw, dh, 0, 0, dw, dh, mm);
      Transfer(dest, mm, &sm, [](int, int, std::uint32_t sp, std::uint32_t) { return sp; }, true);
      return TRUE;
    }
  }
  if (rop == SRCCOPY && !(s.mono != destMono)) {
    Transfer(dest, m, src ? &s : nullptr, [](int, int, std::uint32_t sp, std::uint32_t) { return sp; }, true);
  } else {
    Transfer(dest, m, src ? &s : nullptr, [&](int px, int py, std::uint32_t sp, std::uint32_t dp) {
      std::uint32_t p = usePat ? PaintColorAt(pat, px, py) : 0;
      return ApplyRop3(rop, p, useSrc ? conv(sp) : 0, dp);
    });
  }
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  return DoBlt(dest, x, y, width, height, src, srcX, srcY, width, height, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  return DoBlt(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  if (UsesSource(rop)) return FALSE;
  return DoBlt(dc, x, y, width, height, nullptr, 0, 0, width, height, rop);
}

BOOL MaskBlt(HDC hdest, int x, int y, int width, int height, HDC hsrc, int srcX, int srcY, HBITMAP mask, int maskX,
             int maskY, DWORD rop) {
  if (!mask) return BitBlt(hdest, x, y, width, height, hsrc, srcX, srcY, rop & 0x00FFFFFF);
  DC* dest = GetDC(hdest);
  DC* src = GetDC(hsrc);
  auto mb = GetBitmap(mask);
  if (!dest || !mb || !mb->mono) return FALSE;
  DWORD fore = rop & 0x00FFFFFF, back = ((rop >> 8) & 0x00FF0000) | (fore & 0xFFFF);
  Source s;
  std::shared_ptr<Bitmap> keep;
  if (src && !SourceFromDC(src, s, keep)) return FALSE;
  POINT da = LogicalToDevice(dest, POINT{x, y});
  POINT sa = src ? LogicalToDevice(src, POINT{srcX, srcY}) : POINT{0, 0};
  Mapping m;
  if (!Normalize(da.x, da.y, width, height, sa.x, sa.y, width, height, m)) return TRUE;
  m.srcX += s.ox;
  m.srcY += s.oy;
  bool destMono = dest->memory && dest->s.bitmap && dest->s.bitmap->mono;
  Convert conv{s.mono, destMono, ToPixel(dest->s.textColor), ToPixel(dest->s.bkColor), s.bk};
  Paint pat = BrushPaint(dest, dest->s.brush.get());
  if (pat.type == Paint::None) {
    pat.type = Paint::Solid;
    pat.color = 0xFF000000u;
  }
  cairo_surface_flush(mb->surface);
  const std::uint32_t* md = mb->pixels();
  int ms = mb->stridePixels();
  Transfer(dest, m, src ? &s : nullptr, [&](int px, int py, std::uint32_t sp, std::uint32_t dp) {
    int mx = maskX + (px - m.dest.left), my = maskY + (py - m.dest.top);
    bool bit = mx >= 0 && my >= 0 && mx < mb->width && my < mb->height && (md[my * ms + mx] & 0xFFFFFF);
    return ApplyRop3(bit ? fore : back, PaintColorAt(pat, px, py), conv(sp), dp);
  });
  return TRUE;
}

BOOL TransparentBlt(HDC hdest, int x, int y, int width, int height, HDC hsrc, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparent) {
  DC* dest = GetDC(hdest);
  DC* src = GetDC(hsrc);
  if (!dest || !src || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return FALSE;
  Source s;
  std::shared_ptr<Bitmap> keep;
  if (!SourceFromDC(src, s, keep)) return FALSE;
  POINT da = LogicalToDevice(dest, POINT{x, y}), db = LogicalToDevice(dest, POINT{SatAdd(x, width), SatAdd(y, height)});
  POINT sa = LogicalToDevice(src, POINT{srcX, srcY}), sb = LogicalToDevice(src, POINT{SatAdd(srcX, srcWidth), SatAdd(srcY, srcHeight)});
  Mapping m;
  if (!Normalize(da.x, da.y, db.x - da.x, db.y - da.y, sa.x, sa.y, sb.x - sa.x, sb.y - sa.y, m)) return TRUE;
  m.srcX += s.ox;
  m.srcY += s.oy;
  std::uint32_t key = ToPixel(transparent) & 0xFFFFFF;
  bool destMono = dest->memory && dest->s.bitmap && dest->s.bitmap->mono;
  Convert conv{s.mono, destMono, ToPixel(dest->s.textColor), ToPixel(dest->s.bkColor), s.bk};
  Transfer(dest, m, &s, [&](int, int, std::uint32_t sp, std::uint32_t dp) {
    if ((sp & 0xFFFFFF) == key) return dp;
    return conv(sp) | 0xFF000000u;
  });
  return TRUE;
}

BOOL AlphaBlend(HDC hdest, int x, int y, int width, int height, HDC hsrc, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend) {
  DC* dest = GetDC(hdest);
  DC* src = GetDC(hsrc);
  if (!dest || !src || blend.BlendOp != AC_SRC_OVER || width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0)
    return FALSE;
  Source s;
  std::shared_ptr<Bitmap> keep;
  if (!SourceFromDC(src, s, keep)) return FALSE;
  POINT da = LogicalToDevice(dest, POINT{x, y}), db = LogicalToDevice(dest, POINT{SatAdd(x, width), SatAdd(y, height)});
  POINT sa = LogicalToDevice(src, POINT{srcX, srcY}), sb = LogicalToDevice(src, POINT{SatAdd(srcX, srcWidth), SatAdd(srcY, srcHeight)});
  if (sa.x + s.ox < 0 || sa.y + s.oy < 0 || sb.x + s.ox > s.width || sb.y + s.oy > s.height)
    return FALSE;  // GDI rejects sources outside the bitmap  // GDI rejects out-of-range sources
  Mapping m;
  if (!Normalize(da.x, da.y, db.x - da.x, db.y - da.y, sa.x, sa.y, sb.x - sa.x, sb.y - sa.y, m)) return TRUE;
  m.srcX += s.ox;
  m.srcY += s.oy;
  unsigned sca = blend.SourceConstantAlpha;
  bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  Transfer(dest, m, &s, [&](int, int, std::uint32_t sp, std::uint32_t dp) {
    std::uint32_t out = 0;
    unsigned srcA = perPixel ? (((sp >> 24) & 0xFF) * sca + 127) / 255 : sca;
    for (int shift = 0; shift < 32; shift += 8) {
      unsigned sc = (sp >> shift) & 0xFF;
      if (shift == 24 && !perPixel) sc = 255;
      unsigned dc = (dp >> shift) & 0xFF;
      // Premultiplied source over destination; a constant alpha scales the source.
      unsigned sTerm = perPixel ? (sc * sca + 127) / 255 : (sc * sca + 127) / 255;
      unsigned v = sTerm + (dc * (255 - srcA) + 127) / 255;
      out |= std::min(v, 255u) << shift;
    }
    return out;
  });
  return TRUE;
}

int StretchDIBits(HDC hdc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth, int srcHeight,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DC* dest = GetDC(hdc);
  if (!dest || !info || !bits) return 0;
  std::vector<std::uint32_t> pixels;
  int w = 0, h = 0;
  if (!DecodeDib(info, bits, pixels, w, h)) return 0;
  // For bottom-up DIBs the source rectangle is measured from the bottom-left corner.
  int top = info->bmiHeader.biHeight > 0 ? h - (srcY + srcHeight) : srcY;
  Source s;
  s.data = pixels.data();
  s.stride = w;
  s.width = w;
  s.height = h;
  s.mono = false;  // DIB colours are already resolved through the colour table
  POINT da = LogicalToDevice(dest, POINT{x, y}), db = LogicalToDevice(dest, POINT{SatAdd(x, width), SatAdd(y, height)});
  Mapping m;
  if (!Normalize(da.x, da.y, db.x - da.x, db.y - da.y, srcX, top, srcWidth, srcHeight, m)) return 0;
  rop &= 0x00FFFFFF;
  bool destMono = dest->memory && dest->s.bitmap && dest->s.bitmap->mono;
  Convert conv{false, destMono, 0, 0, ToPixel(RGB(255, 255, 255))};
  Paint pat = BrushPaint(dest, dest->s.brush.get());
  if (pat.type == Paint::None) {
    pat.type = Paint::Solid;
    pat.color = 0xFF000000u;
  }
  Transfer(
      dest, m, &s,
      [&](int px, int py, std::uint32_t sp, std::uint32_t dp) {
        return ApplyRop3(rop, PaintColorAt(pat, px, py), conv(sp), dp);
      },
      rop == SRCCOPY && !destMono);
  return std::abs(srcHeight);
}

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int srcX, int srcY, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  if (!info) return 0;
  // Treat the given scan lines as the whole image (the usual call passes all of them).
  (void)startScan;
  (void)lines;
  int r = StretchDIBits(hdc, x, y, int(width), int(height), srcX, srcY, int(width), int(height), bits, info, usage,
                        SRCCOPY);
  return r ? int(height) : 0;
}

BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  RECT area;
  if (scroll) area = *scroll;
  else {
    RECT b = TargetBounds(dc);
    POINT a = DeviceToLogical(dc, POINT{b.left, b.top}), c = DeviceToLogical(dc, POINT{b.right, b.bottom});
    area = RECT{a.x, a.y, c.x, c.y};
  }
  RECT limit = clip ? *clip : area;
  if (clip) {
    limit.left = std::max(limit.left, area.left);
    limit.top = std::max(limit.top, area.top);
    limit.right = std::min(limit.right, area.right);
    limit.bottom = std::min(limit.bottom, area.bottom);
  }
  SaveDC(hdc);
  IntersectClipRect(hdc, limit.left, limit.top, limit.right, limit.bottom);
  BitBlt(hdc, area.left + dx, area.top + dy, area.right - area.left, area.bottom - area.top, hdc, area.left, area.top,
         SRCCOPY);
  RestoreDC(hdc, -1);
  // Uncovered: the limit rectangle minus the moved area.
  HRGN rgn = CreateRectRgn(limit.left, limit.top, limit.right, limit.bottom);
  HRGN moved = CreateRectRgn(area.left + dx, area.top + dy, area.right + dx, area.bottom + dy);
  CombineRgn(rgn, rgn, moved, RGN_DIFF);
  if (update) CombineRgn(update, rgn, nullptr, RGN_COPY);
  if (updateRect) GetRgnBox(rgn, updateRect);
  DeleteObject(rgn);
  DeleteObject(moved);
  return TRUE;
}
