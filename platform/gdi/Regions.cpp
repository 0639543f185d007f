#include "platform/gdi/Regions.h"

#include <algorithm>

#include "platform/gdi/GdiInternal.h"

using namespace gdi;

namespace {
HRGN NewRegion(cairo_region_t* r) { return ToHandle<HRGN>(Register(std::make_shared<Region>(r))); }

RECT Normalized(int l, int t, int r, int b) {
  return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

int RgnKind(const cairo_region_t* r) {
  int n = cairo_region_num_rectangles(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN FromSpans(const Spans& spans) { return NewRegion(SpansToRegion(spans)); }
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  RECT r = Normalized(left, top, right, bottom);
  cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
  return NewRegion(cairo_region_create_rectangle(&c));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh) {
  Spans spans;
  RoundRectSpans(Normalized(left, top, right, bottom), std::abs(ew), std::abs(eh), spans);
  return FromSpans(spans);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  Spans spans;
  EllipseSpans(Normalized(left, top, right, bottom), spans);
  return FromSpans(spans);
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0) return nullptr;
  return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
  if (!points || !counts || polygons < 0) return nullptr;
  std::vector<int> cs;
  std::size_t total = 0;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 0) return nullptr;
    cs.push_back(counts[i]);
    total += std::size_t(counts[i]);
  }
  std::vector<POINT> pts(points, points + total);
  Spans spans;
  PolygonSpans(pts, cs, fillMode == WINDING ? WINDING : ALTERNATE, spans);
  return FromSpans(spans);
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  auto d = GetRegion(dest), a = GetRegion(src1);
  if (!d || !a) return ERROR;
  cairo_region_t* result = cairo_region_copy(a->rgn);
  if (mode != RGN_COPY) {
    auto b = GetRegion(src2);
    if (!b) {
      cairo_region_destroy(result);
      return ERROR;
    }
    cairo_status_t st;
    switch (mode) {
      case RGN_AND: st = cairo_region_intersect(result, b->rgn); break;
      case RGN_OR: st = cairo_region_union(result, b->rgn); break;
      case RGN_XOR: st = cairo_region_xor(result, b->rgn); break;
      case RGN_DIFF: st = cairo_region_subtract(result, b->rgn); break;
      default: cairo_region_destroy(result); return ERROR;
    }
    if (st != CAIRO_STATUS_SUCCESS) {
      cairo_region_destroy(result);
      return ERROR;
    }
  }
  cairo_region_destroy(d->rgn);
  d->rgn = result;
  return RgnKind(result);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  auto r = GetRegion(rgn);
  if (!r) return ERROR;
  cairo_region_translate(r->rgn, dx, dy);
  return RgnKind(r->rgn);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  auto r = GetRegion(rgn);
  if (!r) return FALSE;
  RECT n = Normalized(left, top, right, bottom);
  cairo_rectangle_int_t c{n.left, n.top, n.right - n.left, n.bottom - n.top};
  cairo_region_destroy(r->rgn);
  r->rgn = cairo_region_create_rectangle(&c);
  return TRUE;
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  auto r = GetRegion(rgn);
  return r && cairo_region_contains_point(r->rgn, x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rect) {
  auto r = GetRegion(rgn);
  if (!r || !rect) return FALSE;
  RECT n = Normalized(rect->left, rect->top, rect->right, rect->bottom);
  cairo_rectangle_int_t c{n.left, n.top, n.right - n.left, n.bottom - n.top};
  if (c.width == 0 || c.height == 0) return FALSE;
  return cairo_region_contains_rectangle(r->rgn, &c) != CAIRO_REGION_OVERLAP_OUT ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, RECT* rect) {
  auto r = GetRegion(rgn);
  if (!r || !rect) return ERROR;
  cairo_rectangle_int_t e;
  cairo_region_get_extents(r->rgn, &e);
  *rect = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  if (e.width == 0 || e.height == 0) *rect = RECT{0, 0, 0, 0};
  return RgnKind(r->rgn);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto ra = GetRegion(a), rb = GetRegion(b);
  if (!ra || !rb) return ERROR;
  return cairo_region_equal(ra->rgn, rb->rgn) ? TRUE : FALSE;
}

std::vector<RECT> GetRegionRects(HRGN rgn) {
  std::vector<RECT> out;
  auto r = GetRegion(rgn);
  if (!r) return out;
  int n = cairo_region_num_rectangles(r->rgn);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(r->rgn, i, &c);
    out.push_back(RECT{c.x, c.y, c.x + c.width, c.y + c.height});
  }
  return out;
}

const cairo_region_t* GetRegionCairo(HRGN rgn) {
  auto r = GetRegion(rgn);
  return r ? r->rgn : nullptr;
}

namespace {
// Region in logical coordinates to device spans (MM_TEXT offsets; scaled modes map each
// rectangle).
void DeviceSpans(DC* dc, const cairo_region_t* rgn, Spans& out) {
  int n = cairo_region_num_rectangles(rgn);
  for (int i = 0; i < n; ++i) {
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(rgn, i, &c);
    RECT d = LogicalRectToDevice(dc, RECT{c.x, c.y, c.x + c.width, c.y + c.height});
    for (int y = d.top; y < d.bottom; ++y) out.push_back(Span{y, d.left, d.right});
  }
  NormalizeSpans(out);
}
}  // namespace

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  DC* dc = GetDC(hdc);
  auto r = GetRegion(rgn);
  if (!dc || !r) return FALSE;
  std::shared_ptr<Brush> b = LookupAs<Brush>(brush, Kind::Brush);
  if (!b) return FALSE;
  Spans spans;
  DeviceSpans(dc, r->rgn, spans);
  Target t(dc);
  Paint p = BrushPaint(dc, b.get());
  p.rop2 = R2_COPYPEN;
  FillSpans(dc, t, spans, p);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
  DC* dc = GetDC(hdc);
  auto r = GetRegion(rgn);
  if (!dc || !r) return FALSE;
  Spans spans;
  DeviceSpans(dc, r->rgn, spans);
  Target t(dc);
  FillSpans(dc, t, spans, BrushPaint(dc, dc->s.brush.get()));
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height) {
  DC* dc = GetDC(hdc);
  auto r = GetRegion(rgn);
  std::shared_ptr<Brush> b = LookupAs<Brush>(brush, Kind::Brush);
  if (!dc || !r || !b || width < 1 || height < 1) return FALSE;
  // Frame = region minus the region eroded by width horizontally and height vertically.
  cairo_region_t* inner = cairo_region_copy(r->rgn);
  for (int dx = -width; dx <= width; dx += 2 * width) {
    cairo_region_t* m = cairo_region_copy(r->rgn);
    cairo_region_translate(m, dx, 0);
    cairo_region_intersect(inner, m);
    cairo_region_destroy(m);
  }
  for (int dy = -height; dy <= height; dy += 2 * height) {
    cairo_region_t* m = cairo_region_copy(r->rgn);
    cairo_region_translate(m, 0, dy);
    cairo_region_intersect(inner, m);
    cairo_region_destroy(m);
  }
  // Translating by the full width only tests the far pixel; intermediate gaps are closed
  // by also intersecting the steps in between.
  for (int k = 1; k < width; ++k)
    for (int sgn = -1; sgn <= 1; sgn += 2) {
      cairo_region_t* m = cairo_region_copy(r->rgn);
      cairo_region_translate(m, sgn * k, 0);
      cairo_region_intersect(inner, m);
      cairo_region_destroy(m);
    }
  for (int k = 1; k < height; ++k)
    for (int sgn = -1; sgn <= 1; sgn += 2) {
      cairo_region_t* m = cairo_region_copy(r->rgn);
      cairo_region_translate(m, 0, sgn * k);
      cairo_region_intersect(inner, m);
      cairo_region_destroy(m);
    }
  cairo_region_t* frame = cairo_region_copy(r->rgn);
  cairo_region_subtract(frame, inner);
  Spans spans;
  DeviceSpans(dc, frame, spans);
  cairo_region_destroy(frame);
  cairo_region_destroy(inner);
  Target t(dc);
  Paint p = BrushPaint(dc, b.get());
  p.rop2 = R2_COPYPEN;
  FillSpans(dc, t, spans, p);
  return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
  DC* dc = GetDC(hdc);
  auto r = GetRegion(rgn);
  if (!dc || !r) return FALSE;
  Spans spans;
  DeviceSpans(dc, r->rgn, spans);
  Target t(dc);
  Paint p;
  p.type = Paint::Solid;
  p.rop2 = R2_NOT;
  FillSpans(dc, t, spans, p);
  return TRUE;
}
