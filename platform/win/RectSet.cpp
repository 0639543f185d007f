// The area type of the window system: a cairo (pixman) region behind a small interface.
#include <cairo.h>

#include <algorithm>

#include "platform/win/WinInternal.h"

namespace winsys {
namespace {
// Coordinates far beyond any screen are cut, so widths stay within int.
constexpr LONG kFar = 1 << 29;

cairo_rectangle_int_t ToCairo(const RECT& r) {
  LONG l = std::clamp<LONG>(r.left, -kFar, kFar), t = std::clamp<LONG>(r.top, -kFar, kFar);
  LONG rt = std::clamp<LONG>(r.right, -kFar, kFar), b = std::clamp<LONG>(r.bottom, -kFar, kFar);
  return cairo_rectangle_int_t{int(l), int(t), int(std::max<LONG>(0, rt - l)), int(std::max<LONG>(0, b - t))};
}
}  // namespace

TRectSet::TRectSet() : FRegion(cairo_region_create()) {}
TRectSet::TRectSet(const RECT& r) : FRegion(cairo_region_create()) { Add(r); }
TRectSet::TRectSet(const TRectSet& o) : FRegion(cairo_region_copy(o.FRegion)) {}
TRectSet::TRectSet(TRectSet&& o) noexcept : FRegion(cairo_region_create()) { std::swap(FRegion, o.FRegion); o.FRectsValid = false; }
TRectSet& TRectSet::operator=(const TRectSet& o) {
  if (this != &o) {
    cairo_region_t* copy = cairo_region_copy(o.FRegion);
    cairo_region_destroy(FRegion);
    FRegion = copy;
    FRectsValid = false;
  }
  return *this;
}
TRectSet& TRectSet::operator=(TRectSet&& o) noexcept {
  std::swap(FRegion, o.FRegion);
  FRectsValid = o.FRectsValid = false;
  return *this;
}
TRectSet::~TRectSet() { cairo_region_destroy(FRegion); }

bool TRectSet::Empty() const { return cairo_region_is_empty(FRegion); }

const std::vector<RECT>& TRectSet::Rects() const {
  if (!FRectsValid) {
    int n = cairo_region_num_rectangles(FRegion);
    FRects.resize(std::size_t(n));
    for (int i = 0; i < n; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(FRegion, i, &r);
      FRects[std::size_t(i)] = MakeRect(r.x, r.y, r.x + r.width, r.y + r.height);
    }
    FRectsValid = true;
  }
  return FRects;
}

void TRectSet::Clear() {
  cairo_region_destroy(FRegion);
  FRegion = cairo_region_create();
  FRectsValid = false;
}

void TRectSet::Add(const RECT& r) {
  if (RectEmpty(r)) return;
  cairo_rectangle_int_t c = ToCairo(r);
  cairo_region_union_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Add(const TRectSet& s) {
  cairo_region_union(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Subtract(const RECT& r) {
  if (RectEmpty(r)) return;
  cairo_rectangle_int_t c = ToCairo(r);
  if (cairo_region_contains_rectangle(FRegion, &c) == CAIRO_REGION_OVERLAP_OUT) return;  // nothing to cut
  cairo_region_subtract_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Subtract(const TRectSet& s) {
  cairo_region_subtract(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Intersect(const RECT& r) {
  cairo_rectangle_int_t c = ToCairo(r);
  cairo_region_intersect_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Intersect(const TRectSet& s) {
  cairo_region_intersect(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Offset(int dx, int dy) {
  cairo_region_translate(FRegion, dx, dy);
  FRectsValid = false;
}

RECT TRectSet::Bounds() const {
  if (Empty()) return RECT{};
  cairo_rectangle_int_t r;
  cairo_region_get_extents(FRegion, &r);
  return MakeRect(r.x, r.y, r.x + r.width, r.y + r.height);
}

bool TRectSet::Contains(POINT p) const { return cairo_region_contains_point(FRegion, p.x, p.y); }

}  // namespace winsys
