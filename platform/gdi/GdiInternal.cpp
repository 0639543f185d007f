#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <pixman.h>

#include "platform/gdi/SysColors.h"

namespace gdi {

// ---- handle table ---------------------------------------------------------------------
// Objects sit in a flat array of slots; a handle names its slot and the slot's generation,
// which goes up whenever the slot is freed, so a handle of a deleted object never finds the
// object that later takes its slot. The first handle of every slot is below 2^32; the
// generation lives in the upper half. Free slots are reused most recent first.
namespace {
static_assert(sizeof(std::uintptr_t) == 8, "handles carry a 32-bit generation");
constexpr std::uintptr_t kFirstIndex = 0x1000;  // the first handle is 0x10000
constexpr std::uintptr_t kMaxSlots = (std::uintptr_t(1) << 28) - kFirstIndex;

struct Slot {
  std::shared_ptr<Object> obj;
  std::uint32_t gen = 0;
  std::uint32_t nextFree = 0;  // the next free slot's index + 1; 0 ends the list
};
struct HandleTable {
  std::vector<Slot> slots;
  std::uint32_t freeHead = 0;  // the first free slot's index + 1
};
HandleTable& Table() {
  static HandleTable* table = new HandleTable();  // handles may outlive static destruction
  return *table;
}

// The live slot a handle names, or null.
Slot* Find(const void* handle) {
  auto v = reinterpret_cast<std::uintptr_t>(handle);
  std::uintptr_t low = v & 0xFFFFFFFFu;
  if ((low & 0xF) || low < (kFirstIndex << 4)) return nullptr;
  std::uintptr_t index = (low >> 4) - kFirstIndex;
  HandleTable& t = Table();
  if (index >= t.slots.size()) return nullptr;
  Slot& slot = t.slots[index];
  if (!slot.obj || slot.gen != std::uint32_t(v >> 32)) return nullptr;
  return &slot;
}
}  // namespace

std::uintptr_t Register(std::shared_ptr<Object> obj) {
  if (!obj) return 0;
  HandleTable& t = Table();
  std::uintptr_t index;
  if (t.freeHead) {
    index = t.freeHead - 1;
    t.freeHead = t.slots[index].nextFree;
  } else {
    if (t.slots.size() >= kMaxSlots) return 0;  // out of handles: the creation fails
    index = t.slots.size();
    t.slots.emplace_back();
  }
  Slot& slot = t.slots[index];
  slot.obj = std::move(obj);
  slot.nextFree = 0;
  return (std::uintptr_t(slot.gen) << 32) | ((index + kFirstIndex) << 4);
}

Object* Peek(const void* handle) {
  Slot* slot = Find(handle);
  return slot ? slot->obj.get() : nullptr;
}

std::shared_ptr<Object> Lookup(const void* handle) {
  Slot* slot = Find(handle);
  return slot ? slot->obj : nullptr;
}

bool Unregister(const void* handle) {
  Slot* slot = Find(handle);
  if (!slot) return false;
  HandleTable& t = Table();
  // The object may delete others as it goes: take it out of the table first.
  std::shared_ptr<Object> gone = std::move(slot->obj);
  ++slot->gen;
  slot->nextFree = t.freeHead;
  t.freeHead = std::uint32_t(slot - t.slots.data()) + 1;
  gone.reset();
  return true;
}

DC* GetDC(HDC dc) {
  Object* obj = Peek(dc);
  return obj && obj->kind == Kind::DC ? static_cast<DC*>(obj) : nullptr;
}

std::shared_ptr<Region> GetRegion(HRGN rgn) { return LookupAs<Region>(rgn, Kind::Region); }
std::shared_ptr<Bitmap> GetBitmap(HBITMAP bmp) { return LookupAs<Bitmap>(bmp, Kind::Bitmap); }

// ---- DC ---------------------------------------------------------------------------------
DC::~DC() {
  if (s.bitmap && s.bitmap->selectedInto == this) s.bitmap->selectedInto = nullptr;
  if (surface) cairo_surface_destroy(surface);
  if (baseClip) cairo_region_destroy(baseClip);
  if (effective) cairo_region_destroy(effective);
  if (textSink) cairo_destroy(textSink);
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

// Device coordinates are kept within +-2^27 (GDI's own range), so shape arithmetic on them
// cannot overflow.
static LONG MapCoord(LONG v, LONG wo, LONG we, LONG ve, LONG vo) {
  constexpr std::int64_t kMax = 1 << 27;
  std::int64_t r;
  if (we == ve) r = std::int64_t(v) - wo + vo;
  else if (we == 0) r = vo;
  else r = std::int64_t(std::floor(double(std::int64_t(v) - wo) * ve / we + 0.5)) + vo;
  return LONG(std::clamp<std::int64_t>(r, -kMax, kMax));
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
  if (n == 1) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(clip, 0, &r);
    for (const Span& s : spans) {
      if (s.y < r.y || s.y >= r.y + r.height) continue;
      int x0 = std::max(s.x0, r.x), x1 = std::min(s.x1, r.x + r.width);
      if (x0 < x1) PaintRun(t, s.y, x0, x1, paint);
    }
    return;
  }
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
  // Each clip rectangle meeting r, cut to r: the clip rectangles do not overlap, so every
  // pixel is painted once, without copying the clip region.
  const cairo_region_t* clip = t.clip();
  int n = cairo_region_num_rectangles(clip);
  bool solidCopy = paint.type == Paint::Solid && paint.rop2 == R2_COPYPEN && !t.mono();
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t q;
    cairo_region_get_rectangle(clip, i, &q);
    if (q.y >= r.bottom) break;  // rectangles are sorted by band
    int x0 = std::max(q.x, int(r.left)), x1 = std::min(q.x + q.width, int(r.right));
    int y0 = std::max(q.y, int(r.top)), y1 = std::min(q.y + q.height, int(r.bottom));
    if (x0 >= x1 || y0 >= y1) continue;
    if (solidCopy) pixman_fill(t.row(y0) + x0, t.stride(), 32, 0, 0, x1 - x0, y1 - y0, paint.color);
    else
      for (int y = y0; y < y1; ++y) PaintRun(t, y, x0, x1, paint);
  }
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

RECT RasterLimit(DC* dc, int margin) {
  RECT b = TargetBounds(dc);
  return RECT{b.left - margin, b.top - margin, b.right + margin, b.bottom + margin};
}

void RoundRectSpans(RECT box, int ew, int eh, Spans& out, const RECT& limit) {
  int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  ew = std::clamp(ew, 0, w);
  eh = std::clamp(eh, 0, h);
  double rx = ew / 2.0, ry = eh / 2.0;
  int y0 = std::max(box.top, limit.top), y1 = std::min(box.bottom, limit.bottom);
  for (int y = y0; y < y1; ++y) {
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
    int x0 = std::max<LONG>(box.left + inset, limit.left), x1 = std::min<LONG>(box.right - inset, limit.right);
    if (x0 < x1) out.push_back(Span{y, x0, x1});
  }
}

void EllipseSpans(RECT box, Spans& out, const RECT& limit) {
  RoundRectSpans(box, box.right - box.left, box.bottom - box.top, out, limit);
}

void PolygonSpans(const std::vector<POINT>& pts, const std::vector<int>& counts, int fillMode, Spans& out,
                  const RECT& limit) {
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
  ymin = std::max<int>(ymin, limit.top);
  ymax = std::min<int>(ymax, limit.bottom);
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
        double lo = std::max(start, double(limit.left)), hi = std::min(x, double(limit.right));
        int x0 = int(std::ceil(lo - 0.5)), x1 = int(std::ceil(hi - 0.5));
        if (x0 < x1) out.push_back(Span{y, x0, x1});
      }
    }
  }
  NormalizeSpans(out);
}

void LinePixels(POINT a, POINT b, bool includeEnd, const RECT& limit, std::vector<std::pair<int, POINT>>& out) {
  std::int64_t dx = std::int64_t(b.x) - a.x, dy = std::int64_t(b.y) - a.y;
  std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  bool xMajor = adx >= ady;
  std::int64_t steps = std::max(adx, ady);
  std::int64_t last = includeEnd ? steps : steps - 1;
  if (last < 0) return;
  // Range of steps whose major coordinate lies within the limit.
  std::int64_t major0 = xMajor ? a.x : a.y, lo = xMajor ? limit.left : limit.top, hi = xMajor ? limit.right : limit.bottom;
  int smaj = xMajor ? sx : sy;
  std::int64_t iFrom, iTo;  // inclusive
  if (smaj > 0) {
    iFrom = lo - major0;
    iTo = hi - 1 - major0;
  } else {
    iFrom = major0 - (hi - 1);
    iTo = major0 - lo;
  }
  iFrom = std::max<std::int64_t>(iFrom, 0);
  iTo = std::min<std::int64_t>(iTo, last);
  std::int64_t dMaj = xMajor ? adx : ady, dMin = xMajor ? ady : adx;
  for (std::int64_t i = iFrom; i <= iTo; ++i) {
    // Minor offset: i * dMin / dMaj rounded to nearest, ties towards the start.
    std::int64_t off = dMaj == 0 ? 0 : std::int64_t((__int128(2) * i * dMin + dMaj - 1) / (__int128(2) * dMaj));
    POINT p = xMajor ? POINT{LONG(a.x + sx * i), LONG(a.y + sy * off)} : POINT{LONG(a.x + sx * off), LONG(a.y + sy * i)};
    if (p.x < limit.left || p.x >= limit.right || p.y < limit.top || p.y >= limit.bottom) continue;
    out.emplace_back(int(i), p);
  }
}

void LineSpans(POINT a, POINT b, bool includeEnd, Spans& out, const RECT& limit) {
  if (a.y == b.y && a.x != b.x) {
    // Horizontal: one span, the end point left out unless asked for.
    std::int64_t x0 = a.x, x1 = b.x;
    if (!includeEnd) x1 += a.x < b.x ? -1 : 1;
    if (x0 > x1) std::swap(x0, x1);
    x0 = std::max<std::int64_t>(x0, limit.left);
    x1 = std::min<std::int64_t>(x1 + 1, limit.right);
    if (a.y >= limit.top && a.y < limit.bottom && x0 < x1) out.push_back(Span{int(a.y), int(x0), int(x1)});
    return;
  }
  if (a.x == b.x && a.y != b.y) {
    // Vertical: one single-pixel span per row, in travel order.
    if (a.x < limit.left || a.x >= limit.right) return;
    int step = a.y < b.y ? 1 : -1;
    std::int64_t last = std::int64_t(b.y) - (includeEnd ? 0 : step);
    std::int64_t lo = std::max<std::int64_t>(std::min<std::int64_t>(a.y, last), limit.top);
    std::int64_t hi = std::min<std::int64_t>(std::max<std::int64_t>(a.y, last), limit.bottom - 1);
    if (lo > hi) return;
    out.reserve(out.size() + std::size_t(hi - lo + 1));
    if (step > 0)
      for (std::int64_t y = lo; y <= hi; ++y) out.push_back(Span{int(y), int(a.x), int(a.x) + 1});
    else
      for (std::int64_t y = hi; y >= lo; --y) out.push_back(Span{int(y), int(a.x), int(a.x) + 1});
    return;
  }
  std::vector<std::pair<int, POINT>> px;
  LinePixels(a, b, includeEnd, limit, px);
  for (const auto& [i, p] : px) {
    if (!out.empty() && out.back().y == p.y && out.back().x1 == p.x) out.back().x1 = p.x + 1;
    else if (!out.empty() && out.back().y == p.y && out.back().x0 == p.x + 1) out.back().x0 = p.x;
    else out.push_back(Span{p.y, p.x, p.x + 1});
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

namespace {
using Intervals = std::vector<std::pair<int, int>>;

Intervals Intersect(const Intervals& a, const Intervals& b) {
  Intervals out;
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    int lo = std::max(a[i].first, b[j].first), hi = std::min(a[i].second, b[j].second);
    if (lo < hi) out.emplace_back(lo, hi);
    if (a[i].second < b[j].second) ++i;
    else ++j;
  }
  return out;
}

// Rows of a normalised span list: row index -> intervals.
struct Rows {
  int y0 = 0;
  std::vector<Intervals> rows;
  explicit Rows(const Spans& s) {
    if (s.empty()) return;
    y0 = s.front().y;
    rows.resize(std::size_t(s.back().y - y0 + 1));
    for (const Span& sp : s) rows[std::size_t(sp.y - y0)].emplace_back(sp.x0, sp.x1);
  }
  const Intervals& at(int y) const {
    static const Intervals empty;
    if (y < y0 || y >= y0 + int(rows.size())) return empty;
    return rows[std::size_t(y - y0)];
  }
};

// Pixels whose four neighbours all belong to the set.
Spans Erode(const Spans& s) {
  Rows r(s);
  Spans out;
  for (std::size_t k = 0; k < r.rows.size(); ++k) {
    int y = r.y0 + int(k);
    Intervals shrunk;
    for (auto [a, b] : r.rows[k])
      if (b - a > 2) shrunk.emplace_back(a + 1, b - 1);
    Intervals in = Intersect(Intersect(shrunk, r.at(y - 1)), r.at(y + 1));
    for (auto [a, b] : in) out.push_back(Span{y, a, b});
  }
  return out;
}

// a minus b (both normalised).
Spans Subtract(const Spans& a, const Spans& b) {
  Rows rb(b);
  Spans out;
  for (const Span& s : a) {
    int x = s.x0;
    for (auto [c, d] : rb.at(s.y)) {
      if (d <= x || c >= s.x1) continue;
      if (c > x) out.push_back(Span{s.y, x, c});
      x = std::max(x, d);
    }
    if (x < s.x1) out.push_back(Span{s.y, x, s.x1});
  }
  return out;
}
}  // namespace

void SplitOutline(const Spans& shape, int width, Spans& outline, Spans& interior) {
  Spans full = shape;
  NormalizeSpans(full);
  Spans inner = full;
  for (int k = 0; k < std::max(1, width) && !inner.empty(); ++k) inner = Erode(inner);
  Spans ring = Subtract(full, inner);
  outline.insert(outline.end(), ring.begin(), ring.end());
  interior.insert(interior.end(), inner.begin(), inner.end());
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
  RECT limit = RasterLimit(dc, 2);
  std::vector<int> pattern = DashPattern(basic);
  if (basic == PS_USERSTYLE)
    for (DWORD v : dc->s.pen->userStyle) pattern.push_back(int(std::max<DWORD>(1, v)));
  std::size_t segCount = closed ? pts.size() : pts.size() - 1;
  if (pattern.empty()) {
    Spans spans;
    for (std::size_t i = 0; i < segCount; ++i) LineSpans(pts[i], pts[(i + 1) % pts.size()], false, spans, limit);
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
  std::int64_t pos = 0;
  Spans on, off;
  std::vector<std::pair<int, POINT>> px;
  for (std::size_t i = 0; i < segCount; ++i) {
    POINT a = pts[i], b = pts[(i + 1) % pts.size()];
    px.clear();
    LinePixels(a, b, false, limit, px);
    for (const auto& [k, p] : px) {
      int m = int((pos + k) % period), idx = 0;
      while (m >= pattern[std::size_t(idx)]) {
        m -= pattern[std::size_t(idx)];
        ++idx;
      }
      (idx % 2 == 0 ? on : off).push_back(Span{p.y, p.x, p.x + 1});
    }
    pos += std::max(std::abs(std::int64_t(b.x) - a.x), std::abs(std::int64_t(b.y) - a.y));
  }
  NormalizeSpans(on);
  FillSpans(dc, t, on, paint);
  if (gaps) {
    NormalizeSpans(off);
    FillSpans(dc, t, off, gapPaint);
  }
}

// ---- text and clip helpers ------------------------------------------------------------------------
FontRequest DCFontSpec(DC* dc) {
  LOGFONT lf = dc->s.font ? dc->s.font->lf : LOGFONT{};
  if (!IsIdentityScale(dc)) {
    int h = LogicalToDeviceLengthY(dc, std::abs(lf.lfHeight));
    lf.lfHeight = lf.lfHeight < 0 ? -h : h;
    lf.lfWidth = LogicalToDeviceLengthX(dc, lf.lfWidth);
  }
  return FontSpecFromLogFont(lf);
}

const ResolvedFont& DCResolvedFont(DC* dc) {
  const Font* font = dc->s.font.get();
  if (!IsIdentityScale(dc)) return FontMapResolve(DCFontSpec(dc));
  if (!font) {
    static const ResolvedFont* none = &FontMapResolve(FontSpecFromLogFont(LOGFONT{}));
    return *none;
  }
  if (!font->resolved) font->resolved = &FontMapResolve(FontSpecFromLogFont(font->lf));
  return *font->resolved;
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
