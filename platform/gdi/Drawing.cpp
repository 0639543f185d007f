#include "platform/gdi/Drawing.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/SysColors.h"

using namespace gdi;

namespace {

int DevicePenWidth(DC* dc) {
  const Pen* p = dc->s.pen.get();
  if (!p || p->basicStyle() == PS_NULL) return 0;
  if (p->width <= 1) return 1;
  if (p->ext && (p->style & PS_TYPE_MASK) != PS_GEOMETRIC) return 1;
  return std::max(1, LogicalToDeviceLengthX(dc, p->width));
}

bool HasPen(DC* dc) { return dc->s.pen && dc->s.pen->basicStyle() != PS_NULL; }

std::vector<POINT> ToDevice(DC* dc, const POINT* pts, std::size_t n) {
  std::vector<POINT> out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = LogicalToDevice(dc, pts[i]);
  return out;
}

// A filled shape with an outline: the pen paints the ring of `width` pixels inside the
// shape's edge, the brush the rest.
void PaintShape(DC* dc, const Spans& shape, bool withBrush) {
  Target t(dc);
  int width = DevicePenWidth(dc);
  if (width == 0) {
    if (withBrush) FillSpans(dc, t, shape, BrushPaint(dc, dc->s.brush.get()));
    return;
  }
  Spans outline, interior;
  SplitOutline(shape, width, outline, interior);
  if (withBrush) FillSpans(dc, t, interior, BrushPaint(dc, dc->s.brush.get()));
  UINT style = dc->s.pen->basicStyle();
  if (width == 1 && style != PS_SOLID && style != PS_INSIDEFRAME) {
    // Styled thin outline: dash along the outline pixels in raster order is not a path;
    // draw the ring dotted by position so dashes stay regular.
    Spans on, off;
    int period = style == PS_DOT || style == PS_ALTERNATE ? 2 : style == PS_DASH ? 8 : 6;
    int onLen = style == PS_DOT || style == PS_ALTERNATE ? 1 : style == PS_DASH ? 6 : 3;
    for (const Span& s : outline)
      for (int x = s.x0; x < s.x1; ++x) {
        int k = ((x + s.y) % period + period) % period;
        (k < onLen ? on : off).push_back(Span{s.y, x, x + 1});
      }
    FillSpans(dc, t, on, PenPaint(dc));
    if (dc->s.bkMode == OPAQUE) {
      Paint gap = PenPaint(dc);
      gap.color = ToPixel(dc->s.bkColor);
      FillSpans(dc, t, off, gap);
    }
    return;
  }
  FillSpans(dc, t, outline, PenPaint(dc));
}

// Box of a shape in device space; a wide pen (not inside-frame) is centred on the edge,
// so the covered box grows by half the width.
RECT ShapeBox(DC* dc, int l, int t, int r, int b) {
  RECT d = LogicalRectToDevice(dc, RECT{l, t, r, b});
  int w = DevicePenWidth(dc);
  if (w > 1 && dc->s.pen->basicStyle() != PS_INSIDEFRAME) {
    int grow0 = (w - 1) / 2, grow1 = w / 2;
    d.left -= grow0;
    d.top -= grow0;
    d.right += grow1;
    d.bottom += grow1;
  }
  return d;
}

// ---- elliptic sectors --------------------------------------------------------------------
struct ArcGeom {
  double cx, cy;
  double a0, sweep;  // start angle (radians, counter-clockwise on screen) and sweep (> 0)
  bool full;
};

double ScreenAngle(double dx, double dy) {  // dy in device space (down)
  double a = std::atan2(-dy, dx);
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

ArcGeom MakeArc(DC* dc, RECT box, POINT s, POINT e) {
  ArcGeom g;
  g.cx = (box.left + box.right) / 2.0;
  g.cy = (box.top + box.bottom) / 2.0;
  double as = ScreenAngle(s.x - g.cx, s.y - g.cy);
  double ae = ScreenAngle(e.x - g.cx, e.y - g.cy);
  // Device y may be flipped relative to logical y (MM_LOMETRIC): directions are taken on
  // screen, where counter-clockwise is what GDI draws for AD_COUNTERCLOCKWISE in MM_TEXT.
  bool ccw = dc->s.arcDirection == AD_COUNTERCLOCKWISE;
  if (dc->s.viewportExt.cy / double(dc->s.windowExt.cy ? dc->s.windowExt.cy : 1) < 0) ccw = !ccw;
  if (!ccw) std::swap(as, ae);
  double sweep = ae - as;
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  g.full = std::abs(as - ae) < 1e-12;
  g.a0 = as;
  g.sweep = g.full ? 2 * std::numbers::pi : sweep;
  return g;
}

bool InSweep(const ArcGeom& g, double x, double y) {
  if (g.full) return true;
  double a = ScreenAngle(x - g.cx, y - g.cy) - g.a0;
  while (a < 0) a += 2 * std::numbers::pi;
  while (a >= 2 * std::numbers::pi) a -= 2 * std::numbers::pi;
  return a <= g.sweep + 1e-9;
}

void FilterSpans(const Spans& in, Spans& out, const std::function<bool(double, double)>& keep) {
  for (const Span& s : in)
    for (int x = s.x0; x < s.x1; ++x)
      if (keep(x + 0.5, s.y + 0.5)) {
        if (!out.empty() && out.back().y == s.y && out.back().x1 == x) out.back().x1 = x + 1;
        else out.push_back(Span{s.y, x, x + 1});
      }
}

enum class ArcKind { Arc, Pie, Chord };

BOOL DrawArcShape(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye, ArcKind kind) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  RECT box = ShapeBox(dc, l, t, r, b);
  if (box.right - box.left < 1 || box.bottom - box.top < 1) return TRUE;
  ArcGeom g = MakeArc(dc, box, LogicalToDevice(dc, POINT{xs, ys}), LogicalToDevice(dc, POINT{xe, ye}));
  Spans ellipse;
  EllipseSpans(box, ellipse, RasterLimit(dc, DevicePenWidth(dc) + 2));
  if (kind == ArcKind::Arc) {
    if (!HasPen(dc)) return TRUE;
    Spans ring, inner, arc;
    SplitOutline(ellipse, DevicePenWidth(dc), ring, inner);
    FilterSpans(ring, arc, [&](double x, double y) { return InSweep(g, x, y); });
    Target tg(dc);
    FillSpans(dc, tg, arc, PenPaint(dc));
    return TRUE;
  }
  Spans shape;
  if (kind == ArcKind::Pie) {
    FilterSpans(ellipse, shape, [&](double x, double y) { return InSweep(g, x, y); });
  } else {
    double rx = (box.right - box.left) / 2.0, ry = (box.bottom - box.top) / 2.0;
    double sx = g.cx + rx * std::cos(g.a0), sy = g.cy - ry * std::sin(g.a0);
    double a1 = g.a0 + g.sweep;
    double ex = g.cx + rx * std::cos(a1), ey = g.cy - ry * std::sin(a1);
    double am = g.a0 + g.sweep / 2;
    double mx = g.cx + rx * std::cos(am), my = g.cy - ry * std::sin(am);
    auto side = [&](double x, double y) { return (ex - sx) * (y - sy) - (ey - sy) * (x - sx); };
    double ms = side(mx, my);
    if (g.full) shape = ellipse;
    else FilterSpans(ellipse, shape, [&](double x, double y) { return side(x, y) * ms >= -1e-9; });
  }
  PaintShape(dc, shape, true);
  return TRUE;
}

}  // namespace

// ---- lines ------------------------------------------------------------------------------------
BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.curPos;
  dc->s.curPos = POINT{x, y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT* pt) {
  DC* dc = GetDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->s.curPos;
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  POINT pts[2] = {dc->s.curPos, POINT{x, y}};
  dc->s.curPos = POINT{x, y};
  Target t(dc);
  StrokePath(dc, t, ToDevice(dc, pts, 2), false);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  DC* dc = GetDC(hdc);
  if (!dc || !points || count < 2) return FALSE;
  Target t(dc);
  StrokePath(dc, t, ToDevice(dc, points, std::size_t(count)), false);
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  DC* dc = GetDC(hdc);
  if (!dc || !points || count == 0) return FALSE;
  std::vector<POINT> pts{dc->s.curPos};
  pts.insert(pts.end(), points, points + count);
  dc->s.curPos = points[count - 1];
  Target t(dc);
  StrokePath(dc, t, ToDevice(dc, pts.data(), pts.size()), false);
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines) {
  if (!points || !counts) return FALSE;
  std::size_t base = 0;
  for (DWORD i = 0; i < polylines; ++i) {
    if (!Polyline(hdc, points + base, int(counts[i]))) return FALSE;
    base += counts[i];
  }
  return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polygons) {
  DC* dc = GetDC(hdc);
  if (!dc || !points || !counts || polygons <= 0) return FALSE;
  std::size_t total = 0;
  std::vector<int> cs;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return FALSE;
    cs.push_back(counts[i]);
    total += std::size_t(counts[i]);
  }
  std::vector<POINT> dev = ToDevice(dc, points, total);
  Spans fill;
  PolygonSpans(dev, cs, dc->s.polyFillMode, fill, RasterLimit(dc, 1));
  Target t(dc);
  FillSpans(dc, t, fill, BrushPaint(dc, dc->s.brush.get()));
  std::size_t base = 0;
  for (int c : cs) {
    std::vector<POINT> poly(dev.begin() + std::ptrdiff_t(base), dev.begin() + std::ptrdiff_t(base + std::size_t(c)));
    StrokePath(dc, t, poly, true);
    base += std::size_t(c);
  }
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  if (count < 2) return FALSE;
  return PolyPolygon(hdc, points, &count, 1);
}

namespace {
void FlattenBezier(POINT p0, POINT p1, POINT p2, POINT p3, std::vector<POINT>& out) {
  double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
               std::hypot(p3.x - p2.x, p3.y - p2.y);
  int steps = std::clamp(int(len / 2), 2, 1000);
  for (int i = 1; i <= steps; ++i) {
    double t = double(i) / steps, u = 1 - t;
    double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
    double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
    POINT p{LONG(std::lround(x)), LONG(std::lround(y))};
    if (out.empty() || !(out.back() == p)) out.push_back(p);
  }
}
}  // namespace

BOOL PolyBezier(HDC hdc, const POINT* points, DWORD count) {
  DC* dc = GetDC(hdc);
  if (!dc || !points || count < 4 || (count - 1) % 3 != 0) return FALSE;
  std::vector<POINT> dev = ToDevice(dc, points, count);
  std::vector<POINT> path{dev[0]};
  for (DWORD i = 1; i + 2 < count; i += 3) FlattenBezier(dev[i - 1], dev[i], dev[i + 1], dev[i + 2], path);
  Target t(dc);
  StrokePath(dc, t, path, false);
  return TRUE;
}

BOOL PolyBezierTo(HDC hdc, const POINT* points, DWORD count) {
  DC* dc = GetDC(hdc);
  if (!dc || !points || count < 3 || count % 3 != 0) return FALSE;
  std::vector<POINT> all{dc->s.curPos};
  all.insert(all.end(), points, points + count);
  dc->s.curPos = points[count - 1];
  return PolyBezier(hdc, all.data(), DWORD(all.size()));
}

// ---- shapes ------------------------------------------------------------------------------------
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  RECT box = ShapeBox(dc, left, top, right, bottom);
  if (box.right <= box.left || box.bottom <= box.top) return TRUE;
  // A rectangle one pixel wide or high is all frame: the pen draws it as a line.
  // Only the part near the drawable area is rasterised; the margin keeps the cut edges'
  // outline outside it.
  RECT lim = RasterLimit(dc, DevicePenWidth(dc) + 2);
  RECT c{std::max(box.left, lim.left), std::max(box.top, lim.top), std::min(box.right, lim.right),
         std::min(box.bottom, lim.bottom)};
  if (c.right <= c.left || c.bottom <= c.top) return TRUE;
  int width = DevicePenWidth(dc);
  UINT style = width ? dc->s.pen->basicStyle() : PS_SOLID;
  if (width == 1 && style != PS_SOLID && style != PS_INSIDEFRAME) {
    Spans shape;
    for (int y = c.top; y < c.bottom; ++y) shape.push_back(Span{y, int(c.left), int(c.right)});
    PaintShape(dc, shape, true);
    return TRUE;
  }
  // The pen paints the ring of `width` pixels inside the edge (four bands), the brush the
  // rest; a rectangle too small for an interior is all pen.
  Target t(dc);
  RECT in{c.left + width, c.top + width, c.right - width, c.bottom - width};
  bool hasInterior = in.right > in.left && in.bottom > in.top;
  if (hasInterior) FillDeviceRect(dc, t, in, BrushPaint(dc, dc->s.brush.get()));
  if (width == 0) return TRUE;
  Paint pen = PenPaint(dc);
  if (!hasInterior) {
    FillDeviceRect(dc, t, c, pen);
    return TRUE;
  }
  FillDeviceRect(dc, t, RECT{c.left, c.top, c.right, in.top}, pen);
  FillDeviceRect(dc, t, RECT{c.left, in.top, in.left, in.bottom}, pen);
  FillDeviceRect(dc, t, RECT{in.right, in.top, c.right, in.bottom}, pen);
  FillDeviceRect(dc, t, RECT{c.left, in.bottom, c.right, c.bottom}, pen);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ew, int eh) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  RECT box = ShapeBox(dc, left, top, right, bottom);
  Spans shape;
  RoundRectSpans(box, LogicalToDeviceLengthX(dc, std::abs(ew)), LogicalToDeviceLengthY(dc, std::abs(eh)), shape,
                 RasterLimit(dc, DevicePenWidth(dc) + 2));
  PaintShape(dc, shape, true);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  RECT box = ShapeBox(dc, left, top, right, bottom);
  Spans shape;
  EllipseSpans(box, shape, RasterLimit(dc, DevicePenWidth(dc) + 2));
  PaintShape(dc, shape, true);
  return TRUE;
}

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Arc);
}

BOOL ArcTo(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  BOOL ok = Arc(hdc, l, t, r, b, xs, ys, xe, ye);
  double cx = (l + r) / 2.0, cy = (t + b) / 2.0, rx = (r - l) / 2.0, ry = (b - t) / 2.0;
  double a = std::atan2(-(ye - cy), xe - cx);
  dc->s.curPos = POINT{LONG(std::lround(cx + rx * std::cos(a))), LONG(std::lround(cy - ry * std::sin(a)))};
  return ok;
}

BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Pie);
}

BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return DrawArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Chord);
}

BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, float startAngle, float sweepAngle) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  double a0 = startAngle * std::numbers::pi / 180, a1 = (startAngle + sweepAngle) * std::numbers::pi / 180;
  int r = int(radius);
  std::vector<POINT> pts{dc->s.curPos};
  int steps = std::clamp(int(std::abs(sweepAngle) / 3), 2, 360);
  for (int i = 0; i <= steps; ++i) {
    double a = a0 + (a1 - a0) * i / steps;
    pts.push_back(POINT{LONG(std::lround(x + r * std::cos(a))), LONG(std::lround(y - r * std::sin(a)))});
  }
  dc->s.curPos = pts.back();
  Target t(dc);
  StrokePath(dc, t, ToDevice(dc, pts.data(), pts.size()), false);
  return TRUE;
}

// ---- rectangles ------------------------------------------------------------------------------------
namespace {
std::shared_ptr<Brush> ResolveBrush(HBRUSH brush) {
  auto b = LookupAs<Brush>(brush, Kind::Brush);
  if (b) return b;
  // A system colour index + 1 in place of a brush, as window classes allow.
  auto v = reinterpret_cast<std::uintptr_t>(brush);
  if (v >= 1 && v <= std::uintptr_t(COLOR_ENDCOLORS + 1))
    return LookupAs<Brush>(GetSysColorBrush(int(v - 1)), Kind::Brush);
  return nullptr;
}
}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DC* dc = GetDC(hdc);
  auto b = ResolveBrush(brush);
  if (!dc || !rect || !b) return 0;
  Paint p = BrushPaint(dc, b.get());
  p.rop2 = R2_COPYPEN;
  PaintDeviceRect(dc, LogicalRectToDevice(dc, *rect), p);
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DC* dc = GetDC(hdc);
  auto b = ResolveBrush(brush);
  if (!dc || !rect || !b) return 0;
  RECT d = LogicalRectToDevice(dc, *rect);
  if (d.right <= d.left || d.bottom <= d.top) return 1;
  Paint p = BrushPaint(dc, b.get());
  p.rop2 = R2_COPYPEN;
  Target t(dc);
  if (!t.valid()) return 1;
  // Only the rows the clip reaches: a frame around a tall window is mostly outside it.
  cairo_rectangle_int_t e;
  cairo_region_get_extents(t.clip(), &e);
  const int top = std::max<int>(d.top, e.y), bottom = std::min<int>(d.bottom, e.y + e.height);
  Spans ring;
  for (int y = top; y < bottom; ++y) {
    if (y == d.top || y == d.bottom - 1) ring.push_back(Span{y, d.left, d.right});
    else {
      ring.push_back(Span{y, d.left, d.left + 1});
      if (d.right - 1 > d.left) ring.push_back(Span{y, d.right - 1, d.right});
    }
  }
  FillSpans(dc, t, ring, p);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  DC* dc = GetDC(hdc);
  if (!dc || !rect) return FALSE;
  Paint p;
  p.type = Paint::Solid;
  p.rop2 = R2_NOT;
  PaintDeviceRect(dc, LogicalRectToDevice(dc, *rect), p);
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  DC* dc = GetDC(hdc);
  if (!dc || !rect) return FALSE;
  RECT d = LogicalRectToDevice(dc, *rect);
  if (d.right <= d.left || d.bottom <= d.top) return TRUE;
  // Every other pixel of the one-pixel frame, XOR-inverted in a checkerboard so that
  // drawing the same rectangle again restores it.
  Spans dots;
  auto add = [&](int x, int y) {
    if (((x + y) & 1) == 0) dots.push_back(Span{y, x, x + 1});
  };
  for (int x = d.left; x < d.right; ++x) {
    add(x, d.top);
    if (d.bottom - 1 > d.top) add(x, d.bottom - 1);
  }
  for (int y = d.top + 1; y < d.bottom - 1; ++y) {
    add(d.left, y);
    if (d.right - 1 > d.left) add(d.right - 1, y);
  }
  NormalizeSpans(dots);
  Paint p;
  p.type = Paint::Solid;
  p.color = 0xFFFFFFFFu;
  p.rop2 = R2_XORPEN;
  Target t(dc);
  FillSpans(dc, t, dots, p);
  return TRUE;
}

// ---- pixels -----------------------------------------------------------------------------------------
namespace {
bool Visible(const Target& t, POINT d) { return cairo_region_contains_point(t.clip(), d.x, d.y); }
}  // namespace

COLORREF GetPixel(HDC hdc, int x, int y) {
  DC* dc = GetDC(hdc);
  if (!dc) return CLR_INVALID;
  Target t(dc, false);
  POINT d = LogicalToDevice(dc, POINT{x, y});
  if (!t.valid() || !Visible(t, d)) return CLR_INVALID;
  return FromPixel(t.row(d.y)[d.x]);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DC* dc = GetDC(hdc);
  if (!dc) return CLR_INVALID;
  Target t(dc);
  POINT d = LogicalToDevice(dc, POINT{x, y});
  if (!t.valid() || !Visible(t, d)) return CLR_INVALID;
  std::uint32_t px = ToPixel(color);
  if (t.mono()) px = GetNearestColor(hdc, color) ? 0xFFFFFFFFu : 0xFF000000u;
  t.row(d.y)[d.x] = px;
  return FromPixel(px);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF border) { return ExtFloodFill(hdc, x, y, border, FLOODFILLBORDER); }

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  Target t(dc);
  if (!t.valid()) return FALSE;
  POINT d = LogicalToDevice(dc, POINT{x, y});
  if (!Visible(t, d)) return FALSE;
  std::uint32_t ref = ToPixel(color) & 0xFFFFFF;
  auto matches = [&](int px, int py) {
    std::uint32_t c = t.row(py)[px] & 0xFFFFFF;
    return type == FLOODFILLSURFACE ? c == ref : c != ref;
  };
  if (!matches(d.x, d.y)) return FALSE;
  // Scanline fill over visible pixels; the fill is collected first so that the brush
  // does not change what the test sees.
  RECT b = t.bounds();
  int w = b.right - b.left, h = b.bottom - b.top;
  std::vector<std::uint8_t> seen(std::size_t(w) * std::size_t(h), 0);
  auto idx = [&](int px, int py) { return std::size_t(py - b.top) * std::size_t(w) + std::size_t(px - b.left); };
  auto ok = [&](int px, int py) {
    return px >= b.left && px < b.right && py >= b.top && py < b.bottom && !seen[idx(px, py)] &&
           cairo_region_contains_point(t.clip(), px, py) && matches(px, py);
  };
  Spans fill;
  std::vector<POINT> stack{d};
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    if (!ok(p.x, p.y)) continue;
    int x0 = p.x, x1 = p.x;
    while (ok(x0 - 1, p.y)) --x0;
    while (ok(x1 + 1, p.y)) ++x1;
    for (int xx = x0; xx <= x1; ++xx) seen[idx(xx, p.y)] = 1;
    fill.push_back(Span{p.y, x0, x1 + 1});
    for (int ny : {p.y - 1, p.y + 1})
      for (int xx = x0; xx <= x1; ++xx)
        if (ok(xx, ny)) stack.push_back(POINT{xx, ny});
  }
  NormalizeSpans(fill);
  FillSpans(dc, t, fill, BrushPaint(dc, dc->s.brush.get()));
  return TRUE;
}

// ---- gradients ----------------------------------------------------------------------------------------
BOOL GradientFill(HDC hdc, const TRIVERTEX* v, DWORD nv, const void* mesh, DWORD nm, DWORD mode) {
  DC* dc = GetDC(hdc);
  if (!dc || !v || !mesh) return FALSE;
  Target t(dc);
  if (!t.valid()) return FALSE;
  const cairo_region_t* clip = t.clip();
  auto put = [&](int x, int y, double r, double g, double b) {
    if (!cairo_region_contains_point(clip, x, y)) return;
    t.row(y)[x] = 0xFF000000u | (std::uint32_t(std::clamp(r, 0.0, 255.0)) << 16) |
                  (std::uint32_t(std::clamp(g, 0.0, 255.0)) << 8) | std::uint32_t(std::clamp(b, 0.0, 255.0));
  };
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (DWORD i = 0; i < nm; ++i) {
      if (rects[i].UpperLeft >= nv || rects[i].LowerRight >= nv) return FALSE;
      TRIVERTEX a = v[rects[i].UpperLeft], b = v[rects[i].LowerRight];
      POINT pa = LogicalToDevice(dc, POINT{a.x, a.y}), pb = LogicalToDevice(dc, POINT{b.x, b.y});
      if (pa.x > pb.x) {
        std::swap(pa.x, pb.x);
        if (mode == GRADIENT_FILL_RECT_H) std::swap(a, b);
      }
      if (pa.y > pb.y) {
        std::swap(pa.y, pb.y);
        if (mode == GRADIENT_FILL_RECT_V) std::swap(a, b);
      }
      RECT bounds = t.bounds();
      int x0 = std::max(pa.x, bounds.left), x1 = std::min(pb.x, bounds.right);
      int y0 = std::max(pa.y, bounds.top), y1 = std::min(pb.y, bounds.bottom);
      int span = mode == GRADIENT_FILL_RECT_H ? pb.x - pa.x : pb.y - pa.y;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
          int k = mode == GRADIENT_FILL_RECT_H ? x - pa.x : y - pa.y;
          double f = span > 1 ? double(k) / (span - 1) : 0.0;
          put(x, y, (a.Red + (b.Red - a.Red) * f) / 256.0, (a.Green + (b.Green - a.Green) * f) / 256.0,
              (a.Blue + (b.Blue - a.Blue) * f) / 256.0);
        }
    }
    return TRUE;
  }
  if (mode == GRADIENT_FILL_TRIANGLE) {
    const auto* tris = static_cast<const GRADIENT_TRIANGLE*>(mesh);
    for (DWORD i = 0; i < nm; ++i) {
      UINT ids[3] = {tris[i].Vertex1, tris[i].Vertex2, tris[i].Vertex3};
      if (ids[0] >= nv || ids[1] >= nv || ids[2] >= nv) return FALSE;
      POINT p[3];
      for (int k = 0; k < 3; ++k) p[k] = LogicalToDevice(dc, POINT{v[ids[k]].x, v[ids[k]].y});
      double det = double(p[1].y - p[2].y) * (p[0].x - p[2].x) + double(p[2].x - p[1].x) * (p[0].y - p[2].y);
      if (det == 0) continue;
      std::vector<POINT> poly(p, p + 3);
      Spans spans;
      PolygonSpans(poly, {3}, ALTERNATE, spans, t.bounds());
      for (const Span& s : spans)
        for (int x = s.x0; x < s.x1; ++x) {
          if (!cairo_region_contains_point(clip, x, s.y)) continue;
          double px = x + 0.5, py = s.y + 0.5;
          double l0 = ((p[1].y - p[2].y) * (px - p[2].x) + (p[2].x - p[1].x) * (py - p[2].y)) / det;
          double l1 = ((p[2].y - p[0].y) * (px - p[2].x) + (p[0].x - p[2].x) * (py - p[2].y)) / det;
          double l2 = 1 - l0 - l1;
          const TRIVERTEX &a = v[ids[0]], &b = v[ids[1]], &c = v[ids[2]];
          put(x, s.y, (l0 * a.Red + l1 * b.Red + l2 * c.Red) / 256.0, (l0 * a.Green + l1 * b.Green + l2 * c.Green) / 256.0,
              (l0 * a.Blue + l1 * b.Blue + l2 * c.Blue) / 256.0);
        }
    }
    return TRUE;
  }
  return FALSE;
}
