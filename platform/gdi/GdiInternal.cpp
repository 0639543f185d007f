#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/gdi/SysColors.h"

namespace gdi {

// ---- handle table ---------------------------------------------------------------------
namespace {
struct HandleTable {
  std::unordered_map<std::uintptr_t, std::shared_ptr<Object>> objects;
  std::uintptr_t next = 0x10000;
};
HandleTable& Table() {
  static HandleTable* table = new HandleTable();  // handles may outlive static destruction
  return *table;
}
}  // namespace

std::uintptr_t Register(std::shared_ptr<Object> obj) {
  HandleTable& t = Table();
  std::uintptr_t id = t.next;
  t.next += 16;
  t.objects.emplace(id, std::move(obj));
  return id;
}

std::shared_ptr<Object> Lookup(const void* handle) {
  if (!handle) return nullptr;
  HandleTable& t = Table();
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

bool Unregister(const void* handle) {
  return Table().objects.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
}

DC* GetDC(HDC dc) {
  if (!dc) return nullptr;
  HandleTable& t = Table();
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(dc));
  if (it == t.objects.end() || it->second->kind != Kind::DC) return nullptr;
  return static_cast<DC*>(it->second.get());
}

std::shared_ptr<Region> GetRegion(HRGN rgn) { return LookupAs<Region>(rgn, Kind::Region); }
std::shared_ptr<Bitmap> GetBitmap(HBITMAP bmp) { return LookupAs<Bitmap>(bmp, Kind::Bitmap); }

// ---- DC ---------------------------------------------------------------------------------
DC::~DC() {
  if (s.bitmap && s.bitmap->selectedInto == this) s.bitmap->selectedInto = nullptr;
  if (surface) cairo_surface_destroy(surface);
  if (baseClip) cairo_region_destroy(baseClip);
  if (effective) cairo_region_destroy(effective);
}

void DC::invalidateClip() {
  if (effective) cairo_region_destroy(effective);
  effective = nullptr;
}

RECT TargetBounds(DC* dc) {
  if (dc->memory) {
    if (!dc->s.bitmap) return RECT{0, 0, 0, 0};
    return RECT{0, 0, dc->s.bitmap->width, dc->s.bitmap->height};
  }
  if (!dc->surface) return RECT{0, 0, 0, 0};
  int w = cairo_image_surface_get_width(dc->surface);
  int h = cairo_image_surface_get_height(dc->surface);
  return RECT{-dc->origin.x, -dc->origin.y, w - dc->origin.x, h - dc->origin.y};
}

const cairo_region_t* EffectiveClip(DC* dc) {
  if (dc->effective) return dc->effective;
  RECT b = TargetBounds(dc);
  cairo_rectangle_int_t r{b.left, b.top, std::max(0, int(b.right - b.left)), std::max(0, int(b.bottom - b.top))};
  cairo_region_t* rgn = cairo_region_create_rectangle(&r);
  if (!dc->memory && dc->baseClip) cairo_region_intersect(rgn, dc->baseClip);
  if (dc->s.clip) cairo_region_intersect(rgn, dc->s.clip->rgn);
  dc->effective = rgn;
  return rgn;
}

// ---- Target -------------------------------------------------------------------------------
Target::Target(DC* dc, bool write) : dc_(dc), write_(write) {
  if (!dc) return;
  if (dc->memory) {
    bitmap_ = dc->s.bitmap;
    if (!bitmap_ || !bitmap_->surface) return;
    bitmap_->syncIn();
    surface_ = bitmap_->surface;
    mono_ = bitmap_->mono;
  } else {
    surface_ = dc->surface;
    ox_ = dc->origin.x;
    oy_ = dc->origin.y;
  }
  if (!surface_ || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    surface_ = nullptr;
    return;
  }
  cairo_format_t fmt = cairo_image_surface_get_format(surface_);
  if (fmt != CAIRO_FORMAT_ARGB32 && fmt != CAIRO_FORMAT_RGB24) {
    surface_ = nullptr;
    return;
  }
  cairo_surface_flush(surface_);
  data_ = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
  stride_ = cairo_image_surface_get_stride(surface_) / 4;
  bounds_ = TargetBounds(dc);
  clip_ = EffectiveClip(dc);
}

Target::~Target() {
  if (!surface_) return;
  if (write_) {
    if (mono_) {
      // Monochrome bitmaps hold only black and white; anything drawn (text included)
      // snaps to the nearer one.
      int w = cairo_image_surface_get_width(surface_), h = cairo_image_surface_get_height(surface_);
      for (int y = 0; y < h; ++y) {
        std::uint32_t* p = data_ + std::ptrdiff_t(y) * stride_;
        for (int x = 0; x < w; ++x) {
          std::uint32_t c = p[x];
          int lum = (((c >> 16) & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + (c & 0xFF) * 11) / 100;
          p[x] = lum >= 128 ? 0xFFFFFFFFu : 0xFF000000u;
        }
      }
    }
    cairo_surface_mark_dirty(surface_);
    if (bitmap_) bitmap_->syncOut();
  }
}

// ---- coordinates ------------------------------------------------------------------------------
bool IsIdentityScale(const DC* dc) {
  return dc->s.windowExt.cx == dc->s.viewportExt.cx && dc->s.windowExt.cy == dc->s.viewportExt.cy;
}

static LONG MapCoord(LONG v, LONG wo, LONG we, LONG ve, LONG vo) {
  if (we == ve) return v - wo + vo;
  if (we == 0) return vo;
  double d = double(v - wo) * ve / we;
  return LONG(std::floor(d + 0.5)) + vo;
}

POINT LogicalToDevice(const DC* dc, POINT p) {
  const DCState& s = dc->s;
  return POINT{MapCoord(p.x, s.windowOrg.x, s.windowExt.cx, s.viewportExt.cx, s.viewportOrg.x),
               MapCoord(p.y, s.windowOrg.y, s.windowExt.cy, s.viewportExt.cy, s.viewportOrg.y)};
}

POINT DeviceToLogical(const DC* dc, POINT p) {
  const DCState& s = dc->s;
  return POINT{MapCoord(p.x, s.viewportOrg.x, s.viewportExt.cx, s.windowExt.cx, s.windowOrg.x),
               MapCoord(p.y, s.viewportOrg.y, s.viewportExt.cy, s.windowExt.cy, s.windowOrg.y)};
}

RECT LogicalRectToDevice(const DC* dc, const RECT& r) {
  POINT a = LogicalToDevice(dc, POINT{r.left, r.top});
  POINT b = LogicalToDevice(dc, POINT{r.right, r.bottom});
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int LogicalToDeviceLengthX(const DC* dc, int len) {
  const DCState& s = dc->s;
  if (s.windowExt.cx == s.viewportExt.cx || s.windowExt.cx == 0) return len;
  return int(std::lround(std::abs(double(len) * s.viewportExt.cx / s.windowExt.cx)));
}

int LogicalToDeviceLengthY(const DC* dc, int len) {
  const DCState& s = dc->s;
  if (s.windowExt.cy == s.viewportExt.cy || s.windowExt.cy == 0) return len;
  return int(std::lround(std::abs(double(len) * s.viewportExt.cy / s.windowExt.cy)));
}

// ---- colours and raster operations ----------------------------------------------------------
COLORREF ResolveColor(COLORREF c) {
  std::uint32_t high = c >> 24;
  if (high == 0x80 || high == 0xFF) return GetSysColor(int(c & 0xFF)) & 0xFFFFFF;
  return c & 0xFFFFFF;  // palette-index and palette-relative forms use their RGB part
}

std::uint32_t ToPixel(COLORREF c) {
  c = ResolveColor(c);
  return 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

COLORREF FromPixel(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

std::uint32_t ApplyRop2(int rop2, std::uint32_t p, std::uint32_t d) {
  constexpr std::uint32_t A = 0xFF000000u;
  switch (rop2) {
    case R2_COPYPEN: return p | A;
    case R2_NOP: return d;
    case R2_XORPEN: return (p ^ d) | A;
    case R2_NOT: return ~d | A;
    case R2_BLACK: return A;
    case R2_WHITE: return 0xFFFFFFFFu;
    default: break;
  }
  unsigned t = unsigned(rop2 - 1) & 15;
  std::uint32_t r = 0;
  if (t & 1) r |= ~p & ~d;
  if (t & 2) r |= ~p & d;
  if (t & 4) r |= p & ~d;
  if (t & 8) r |= p & d;
  return r | A;
}

std::uint32_t ApplyRop3(DWORD rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  constexpr std::uint32_t A = 0xFF000000u;
  unsigned code = (rop >> 16) & 0xFF;
  switch (code) {
    case 0xCC: return s;
    case 0xF0: return p | A;
    case 0xAA: return d;
    case 0x00: return A;
    case 0xFF: return 0xFFFFFFFFu;
    case 0x88: return (s & d) | A;
    case 0xEE: return (s | d) | A;
    case 0x66: return (s ^ d) | A;
    case 0x55: return ~d | A;
    case 0x33: return ~s | A;
    case 0x5A: return (p ^ d) | A;
    case 0xC0: return (p & s) | A;
    default: break;
  }
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(code & (1u << i))) continue;
    std::uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    r |= term;
  }
  return r | A;
}

// ---- paints -----------------------------------------------------------------------------------
COLORREF PenColor(DC* dc) {
  if (!dc->s.pen) return 0;
  return dc->s.pen->dcPen ? dc->s.dcPenColor : dc->s.pen->color;
}

Paint BrushPaint(DC* dc, const Brush* brush) {
  Paint p;
  p.rop2 = dc->s.rop2;
  if (!brush || brush->style == BS_NULL) return p;
  POINT org = dc->s.brushOrg;
  p.brushOrg = org;
  if (brush->style == BS_SOLID) {
    p.type = Paint::Solid;
    COLORREF c = brush->dcBrush ? dc->s.dcBrushColor
                 : brush->sysColorIndex >= 0 ? GetSysColor(brush->sysColorIndex)
                                             : brush->color;
    p.color = ToPixel(c);
    return p;
  }
  p.type = Paint::Pattern;
  p.brush = brush;
  if (brush->style == BS_HATCHED) {
    p.fg = ToPixel(brush->color);
    p.bg = ToPixel(dc->s.bkColor);
    p.opaqueBk = dc->s.bkMode == OPAQUE;
  } else {
    p.fg = ToPixel(dc->s.textColor);
    p.bg = ToPixel(dc->s.bkColor);
    p.opaqueBk = true;
  }
  return p;
}

Paint PenPaint(DC* dc) {
  Paint p;
  p.rop2 = dc->s.rop2;
  if (!dc->s.pen || dc->s.pen->basicStyle() == PS_NULL) return p;
  p.type = Paint::Solid;
  p.color = ToPixel(PenColor(dc));
  return p;
}

namespace {
inline bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}

inline std::uint32_t MonoSnap(std::uint32_t c) {
  int lum = (((c >> 16) & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + (c & 0xFF) * 11) / 100;
  return lum >= 128 ? 0xFFFFFFFFu : 0xFF000000u;
}

}  // namespace

std::uint32_t PaintColorAt(const Paint& paint, int x, int y) {
  if (paint.type == Paint::Solid) return paint.color;
  if (paint.type == Paint::None || !paint.brush) return 0xFFFFFFFFu;
  const Brush* b = paint.brush;
  if (b->style == BS_HATCHED) {
    int px = ((x - paint.brushOrg.x) % 8 + 8) % 8, py = ((y - paint.brushOrg.y) % 8 + 8) % 8;
    return HatchBit(b->hatch, px, py) ? paint.fg : paint.bg;
  }
  if (b->patWidth <= 0 || b->patHeight <= 0) return 0xFFFFFFFFu;
  int px = ((x - paint.brushOrg.x) % b->patWidth + b->patWidth) % b->patWidth;
  int py = ((y - paint.brushOrg.y) % b->patHeight + b->patHeight) % b->patHeight;
  std::uint32_t c = b->pattern[std::size_t(py) * b->patWidth + px] | 0xFF000000u;
  if (b->patMono) c = (c & 0xFFFFFF) ? paint.bg : paint.fg;
  return c;
}

namespace {
void PaintRun(Target& t, int y, int x0, int x1, const Paint& paint) {
  std::uint32_t* row = t.row(y);
  if (paint.type == Paint::Solid) {
    std::uint32_t c = t.mono() ? MonoSnap(paint.color) : paint.color;
    if (paint.rop2 == R2_COPYPEN) {
      std::fill(row + x0, row + x1, c);
    } else {
      for (int x = x0; x < x1; ++x) row[x] = ApplyRop2(paint.rop2, c, row[x]);
    }
    return;
  }
  const Brush* b = paint.brush;
  if (b->style == BS_HATCHED) {
    int py = ((y - paint.brushOrg.y) % 8 + 8) % 8;
    for (int x = x0; x < x1; ++x) {
      int px = ((x - paint.brushOrg.x) % 8 + 8) % 8;
      bool on = HatchBit(b->hatch, px, py);
      if (!on && !paint.opaqueBk) continue;
      std::uint32_t c = on ? paint.fg : paint.bg;
      if (t.mono()) c = MonoSnap(c);
      row[x] = ApplyRop2(paint.rop2, c, row[x]);
    }
    return;
  }
  if (b->patWidth <= 0 || b->patHeight <= 0) return;
  int py = ((y - paint.brushOrg.y) % b->patHeight + b->patHeight) % b->patHeight;
  const std::uint32_t* prow = b->pattern.data() + std::size_t(py) * b->patWidth;
  for (int x = x0; x < x1; ++x) {
    int px = ((x - paint.brushOrg.x) % b->patWidth + b->patWidth) % b->patWidth;
    std::uint32_t c = prow[px] | 0xFF000000u;
    if (b->patMono) c = (c & 0xFFFFFF) ? paint.bg : paint.fg;
    if (t.mono()) c = MonoSnap(c);
    row[x] = ApplyRop2(paint.rop2, c, row[x]);
  }
}
}  // namespace

void FillSpans(DC* dc, Target& t, const Spans& spans, const Paint& paint) {
  if (paint.type == Paint::None || !t.valid() || spans.empty()) return;
  const cairo_region_t* clip = t.clip();
  int n = cairo_region_num_rectangles(clip);
  if (n == 0) return;
  std::vector<cairo_rectangle_int_t> rects(n);
  for (int i = 0; i < n; ++i) cairo_region_get_rectangle(clip, i, &rects[i]);
  for (const Span& s : spans) {
    for (const auto& r : rects) {
      if (s.y < r.y) break;  // rectangles are sorted by band
      if (s.y >= r.y + r.height) continue;
      int x0 = std::max(s.x0, r.x), x1 = std::min(s.x1, r.x + r.width);
      if (x0 < x1) PaintRun(t, s.y, x0, x1, paint);
    }
  }
}

void FillDeviceRect(DC* dc, Target& t, RECT r, const Paint& paint) {
  if (paint.type == Paint::None || !t.valid()) return;
  if (r.right <= r.left || r.bottom <= r.top) return;
  cairo_rectangle_int_t cr{r.left, r.top, r.right - r.left, r.bottom - r.top};
  cairo_region_t* rgn = cairo_region_copy(t.clip());
  cairo_region_intersect_rectangle(rgn, &cr);
  int n = cairo_region_num_rectangles(rgn);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t q;
    cairo_region_get_rectangle(rgn, i, &q);
    for (int y = q.y; y < q.y + q.height; ++y) PaintRun(t, y, q.x, q.x + q.width, paint);
  }
  cairo_region_destroy(rgn);
}

void PaintDeviceRect(DC* dc, RECT r, const Paint& paint) {
  Target t(dc);
  FillDeviceRect(dc, t, r, paint);
}

// ---- rasterising ------------------------------------------------------------------------------
void NormalizeSpans(Spans& spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  Spans out;
  out.reserve(spans.size());
  for (const Span& s : spans) {
    if (s.x1 <= s.x0) continue;
    if (!out.empty() && out.back().y == s.y && s.x0 <= out.back().x1) {
      out.back().x1 = std::max(out.back().x1, s.x1);
    } else {
      out.push_back(s);
    }
  }
  spans.swap(out);
}

void RoundRectSpans(RECT box, int ew, int eh, Spans& out) {
  int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  ew = std::clamp(ew, 0, w);
  eh = std::clamp(eh, 0, h);
  double rx = ew / 2.0, ry = eh / 2.0;
  for (int y = box.top; y < box.bottom; ++y) {
    double pc = y + 0.5;
    double dist = std::min(pc - box.top, box.bottom - pc);  // to the nearer horizontal edge
    int inset = 0;
    if (ry > 0 && dist < ry) {
      double dy = (ry - dist) / ry;
      double k = 1.0 - dy * dy;
      if (k < 0) continue;
      double half = rx * std::sqrt(k);  // horizontal half-extent of the corner ellipse
      // Pixel x (from the left edge) is inside when its centre is at least rx - half in.
      double need = rx - half;
      inset = int(std::ceil(need - 0.5 - 1e-9));
      if (inset < 0) inset = 0;
    }
    int x0 = box.left + inset, x1 = box.right - inset;
    if (x0 < x1) out.push_back(Span{y, x0, x1});
  }
}

void EllipseSpans(RECT box, Spans& out) {
  RoundRectSpans(box, box.right - box.left, box.bottom - box.top, out);
}

void PolygonSpans(const std::vector<POINT>& pts, const std::vector<int>& counts, int fillMode, Spans& out) {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  int ymin = INT32_MAX, ymax = INT32_MIN;
  std::size_t base = 0;
  for (int count : counts) {
    if (count < 2 || base + count > pts.size()) break;
    for (int i = 0; i < count; ++i) {
      POINT a = pts[base + i], b = pts[base + (i + 1) % count];
      ymin = std::min({ymin, int(a.y), int(b.y)});
      ymax = std::max({ymax, int(a.y), int(b.y)});
      if (a.y == b.y) continue;
      if (a.y < b.y) edges.push_back(Edge{double(a.x), double(a.y), double(b.x), double(b.y), 1});
      else edges.push_back(Edge{double(b.x), double(b.y), double(a.x), double(a.y), -1});
    }
    base += count;
  }
  if (edges.empty()) return;
  std::vector<std::pair<double, int>> xs;
  for (int y = ymin; y < ymax; ++y) {
    double yc = y + 0.5;
    xs.clear();
    for (const Edge& e : edges) {
      if (yc < e.y0 || yc >= e.y1) continue;
      double x = e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0);
      xs.emplace_back(x, e.dir);
    }
    std::sort(xs.begin(), xs.end());
    int count = 0;
    double start = 0;
    for (const auto& [x, dir] : xs) {
      bool before = fillMode == WINDING ? count != 0 : (count & 1) != 0;
      count += fillMode == WINDING ? dir : 1;
      bool after = fillMode == WINDING ? count != 0 : (count & 1) != 0;
      if (!before && after) {
        start = x;
      } else if (before && !after) {
        // pixels whose centres lie in [start, x)
        int x0 = int(std::ceil(start - 0.5)), x1 = int(std::ceil(x - 0.5));
        if (x0 < x1) out.push_back(Span{y, x0, x1});
      }
    }
  }
  NormalizeSpans(out);
}

void LineSpans(POINT a, POINT b, bool includeEnd, Spans& out) {
  int x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
  int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int steps = std::max(dx, dy);
  if (!includeEnd && steps == 0) return;
  int total = includeEnd ? steps + 1 : steps;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    int x = x0, y = y0;
    for (int i = 0; i < total; ++i) {
      if (!out.empty() && out.back().y == y && out.back().x1 == x && sx > 0) out.back().x1 = x + 1;
      else if (!out.empty() && out.back().y == y && out.back().x0 == x + 1 && sx < 0) out.back().x0 = x;
      else out.push_back(Span{y, x, x + 1});
      if (err > 0) {
        y += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x += sx;
    }
  } else {
    int err = 2 * dx - dy;
    int x = x0, y = y0;
    for (int i = 0; i < total; ++i) {
      out.push_back(Span{y, x, x + 1});
      if (err > 0) {
        x += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
      y += sy;
    }
  }
}

cairo_region_t* SpansToRegion(const Spans& spans) {
  std::vector<cairo_rectangle_int_t> rects;
  rects.reserve(spans.size());
  for (const Span& s : spans)
    if (s.x1 > s.x0) rects.push_back(cairo_rectangle_int_t{s.x0, s.y, s.x1 - s.x0, 1});
  return cairo_region_create_rectangles(rects.data(), int(rects.size()));
}

void RegionToSpans(const cairo_region_t* rgn, Spans& out) {
  int n = cairo_region_num_rectangles(rgn);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(rgn, i, &r);
    for (int y = r.y; y < r.y + r.height; ++y) out.push_back(Span{y, r.x, r.x + r.width});
  }
  NormalizeSpans(out);
}

void SplitOutline(const Spans& shape, int width, Spans& outline, Spans& interior) {
  cairo_region_t* full = SpansToRegion(shape);
  cairo_region_t* inner = cairo_region_copy(full);
  for (int k = 0; k < std::max(1, width); ++k) {
    cairo_region_t* next = cairo_region_copy(inner);
    const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (auto& o : d) {
      cairo_region_t* moved = cairo_region_copy(inner);
      cairo_region_translate(moved, o[0], o[1]);
      cairo_region_intersect(next, moved);
      cairo_region_destroy(moved);
    }
    cairo_region_destroy(inner);
    inner = next;
  }
  cairo_region_t* ring = cairo_region_copy(full);
  cairo_region_subtract(ring, inner);
  RegionToSpans(ring, outline);
  RegionToSpans(inner, interior);
  cairo_region_destroy(ring);
  cairo_region_destroy(inner);
  cairo_region_destroy(full);
}

// ---- strokes ----------------------------------------------------------------------------------
namespace {
const std::vector<int>& DashPattern(UINT style) {
  static const std::vector<int> dash{18, 6}, dot{3, 3}, dashdot{9, 6, 3, 6}, dashdotdot{9, 3, 3, 3, 3, 3},
      alternate{1, 1}, none{};
  switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashdot;
    case PS_DASHDOTDOT: return dashdotdot;
    case PS_ALTERNATE: return alternate;
    default: return none;
  }
}

int DevicePenWidth(DC* dc) {
  if (!dc->s.pen) return 1;
  int w = dc->s.pen->width;
  if (w <= 1) return 1;
  if ((dc->s.pen->style & PS_TYPE_MASK) != PS_GEOMETRIC && dc->s.pen->ext) return 1;  // cosmetic
  return std::max(1, LogicalToDeviceLengthX(dc, w));
}

struct PolyData {
  const std::vector<POINT>* pts;
  bool closed;
};
void BuildPoly(cairo_t* cr, const void* data) {
  const PolyData* d = static_cast<const PolyData*>(data);
  const auto& p = *d->pts;
  cairo_move_to(cr, p[0].x + 0.5, p[0].y + 0.5);
  for (std::size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].x + 0.5, p[i].y + 0.5);
  if (d->closed) cairo_close_path(cr);
}
}  // namespace

void StrokeCairo(DC* dc, Target& t, void (*build)(cairo_t*, const void*), const void* data, int width,
                 Spans& out) {
  // Rasterise the stroke aliased into an A8 mask the size of the drawable area.
  RECT b = t.bounds();
  int w = b.right - b.left, h = b.bottom - b.top;
  if (w <= 0 || h <= 0) return;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(mask);
  cairo_translate(cr, -b.left, -b.top);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  UINT style = dc->s.pen ? dc->s.pen->style : PS_SOLID;
  cairo_set_line_width(cr, width);
  UINT cap = style & PS_ENDCAP_MASK, join = style & PS_JOIN_MASK;
  cairo_set_line_cap(cr, cap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
                         : cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                   : CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
                          : join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                                  : CAIRO_LINE_JOIN_ROUND);
  build(cr, data);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  const unsigned char* md = cairo_image_surface_get_data(mask);
  int ms = cairo_image_surface_get_stride(mask);
  for (int y = 0; y < h; ++y) {
    const unsigned char* row = md + std::ptrdiff_t(y) * ms;
    int x = 0;
    while (x < w) {
      while (x < w && row[x] < 128) ++x;
      int s = x;
      while (x < w && row[x] >= 128) ++x;
      if (x > s) out.push_back(Span{y + b.top, s + b.left, x + b.left});
    }
  }
  cairo_surface_destroy(mask);
}

void StrokePath(DC* dc, Target& t, const std::vector<POINT>& pts, bool closed) {
  if (!dc->s.pen || pts.empty()) return;
  UINT basic = dc->s.pen->basicStyle();
  if (basic == PS_NULL) return;
  Paint paint = PenPaint(dc);
  int width = DevicePenWidth(dc);
  if (width > 1) {
    if (pts.size() < 2) return;
    Spans spans;
    PolyData data{&pts, closed};
    StrokeCairo(dc, t, BuildPoly, &data, width, spans);
    NormalizeSpans(spans);
    FillSpans(dc, t, spans, paint);
    return;
  }
  // One-pixel pen: Bresenham lines, the style pattern running on along the path.
  std::vector<int> pattern = DashPattern(basic);
  if (basic == PS_USERSTYLE)
    for (DWORD v : dc->s.pen->userStyle) pattern.push_back(int(std::max<DWORD>(1, v)));
  std::size_t segCount = closed ? pts.size() : pts.size() - 1;
  if (pattern.empty()) {
    Spans spans;
    for (std::size_t i = 0; i < segCount; ++i) LineSpans(pts[i], pts[(i + 1) % pts.size()], false, spans);
    // A pixel may be met twice (closed figures, self-crossing lines); XOR-like raster
    // operations must still touch it once, as GDI does within one call.
    if (paint.rop2 != R2_COPYPEN) NormalizeSpans(spans);
    FillSpans(dc, t, spans, paint);
    return;
  }
  Paint gapPaint = paint;
  gapPaint.color = ToPixel(dc->s.bkColor);
  bool gaps = dc->s.bkMode == OPAQUE;
  int period = 0;
  for (int v : pattern) period += v;
  int pos = 0;
  Spans on, off;
  for (std::size_t i = 0; i < segCount; ++i) {
    Spans px;
    LineSpans(pts[i], pts[(i + 1) % pts.size()], false, px);
    // LineSpans merges horizontal runs; expand to single pixels in drawing order.
    POINT a = pts[i], b = pts[(i + 1) % pts.size()];
    bool reverse = (std::abs(b.x - a.x) >= std::abs(b.y - a.y)) && b.x < a.x;
    std::vector<POINT> order;
    for (const Span& s : px)
      for (int x = s.x0; x < s.x1; ++x) order.push_back(POINT{x, s.y});
    if (reverse) {
      // runs were stored left-to-right within a row; restore travel order per row
      std::vector<POINT> fixed;
      std::size_t k = 0;
      while (k < order.size()) {
        std::size_t e = k;
        while (e < order.size() && order[e].y == order[k].y) ++e;
        for (std::size_t q = e; q > k; --q) fixed.push_back(order[q - 1]);
        k = e;
      }
      order.swap(fixed);
    }
    for (const POINT& p : order) {
      int m = pos % period, idx = 0;
      while (m >= pattern[idx]) {
        m -= pattern[idx];
        ++idx;
      }
      (idx % 2 == 0 ? on : off).push_back(Span{p.y, p.x, p.x + 1});
      ++pos;
    }
  }
  NormalizeSpans(on);
  FillSpans(dc, t, on, paint);
  if (gaps) {
    NormalizeSpans(off);
    FillSpans(dc, t, off, gapPaint);
  }
}

// ---- text and clip helpers ------------------------------------------------------------------------
FontSpec DCFontSpec(DC* dc) {
  LOGFONT lf = dc->s.font ? dc->s.font->lf : LOGFONT{};
  if (!IsIdentityScale(dc)) {
    int h = LogicalToDeviceLengthY(dc, std::abs(lf.lfHeight));
    lf.lfHeight = lf.lfHeight < 0 ? -h : h;
    lf.lfWidth = LogicalToDeviceLengthX(dc, lf.lfWidth);
  }
  return FontSpecFromLogFont(lf);
}

void ClipCairo(cairo_t* cr, const Target& t) {
  const cairo_region_t* clip = t.clip();
  int n = cairo_region_num_rectangles(clip);
  POINT o = t.origin();
  cairo_new_path(cr);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(clip, i, &r);
    cairo_rectangle(cr, r.x + o.x, r.y + o.y, r.width, r.height);
  }
  if (n == 0) cairo_rectangle(cr, 0, 0, 0, 0);
  cairo_clip(cr);
}

void FillSolid(HDC hdc, const RECT& r, COLORREF c) {
  DC* dc = GetDC(hdc);
  if (!dc) return;
  Paint p;
  p.type = Paint::Solid;
  p.color = ToPixel(c);
  PaintDeviceRect(dc, LogicalRectToDevice(dc, r), p);
}

}  // namespace gdi
