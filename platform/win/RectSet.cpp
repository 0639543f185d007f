// The area type of the window system: a cairo (pixman) region behind a small interface,
// with a list of rectangles waiting to join it.
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

// Waiting rectangles join the region once there are more of them than a few plus twice
// the region's own, so a join costs about as much as the additions it settles.
constexpr std::size_t kPendingFloor = 32;

cairo_region_t* RegionOf(const std::vector<RECT>& rects) {
  std::vector<cairo_rectangle_int_t> list;
  list.reserve(rects.size());
  for (const RECT& r : rects)
    if (!RectEmpty(r)) list.push_back(ToCairo(r));
  return cairo_region_create_rectangles(list.data(), int(list.size()));
}
}  // namespace

TRectSet::TRectSet() : FRegion(cairo_region_create()) {}
TRectSet::TRectSet(const RECT& r) : FRegion(cairo_region_create()) { Add(r); }
TRectSet::TRectSet(const TRectSet& o) : FRegion(cairo_region_copy(o.FRegion)), FPending(o.FPending) {}
TRectSet::TRectSet(TRectSet&& o) noexcept : FRegion(cairo_region_create()) {
  std::swap(FRegion, o.FRegion);
  FPending.swap(o.FPending);
  o.FRectsValid = false;
}
TRectSet& TRectSet::operator=(const TRectSet& o) {
  if (this != &o) {
    cairo_region_t* copy = cairo_region_copy(o.FRegion);
    cairo_region_destroy(FRegion);
    FRegion = copy;
    FPending = o.FPending;
    FRectsValid = false;
  }
  return *this;
}
TRectSet& TRectSet::operator=(TRectSet&& o) noexcept {
  std::swap(FRegion, o.FRegion);
  FPending.swap(o.FPending);
  FRectsValid = o.FRectsValid = false;
  return *this;
}
TRectSet::~TRectSet() { cairo_region_destroy(FRegion); }

void TRectSet::Settle() const {
  if (FPending.empty()) return;
  if (FPending.size() == 1 && cairo_region_is_empty(FRegion)) {
    cairo_rectangle_int_t c = ToCairo(FPending[0]);
    cairo_region_union_rectangle(FRegion, &c);
  } else {
    cairo_region_t* added = RegionOf(FPending);
    cairo_region_union(FRegion, added);
    cairo_region_destroy(added);
  }
  FPending.clear();
  FRectsValid = false;
}

bool TRectSet::Empty() const { return FPending.empty() && cairo_region_is_empty(FRegion); }

const std::vector<RECT>& TRectSet::Rects() const {
  Settle();
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
  FPending.clear();
  FRectsValid = false;
}

void TRectSet::Add(const RECT& r) {
  cairo_rectangle_int_t c = ToCairo(r);
  if (c.width <= 0 || c.height <= 0) return;
  FPending.push_back(r);
  FRectsValid = false;
  if (FPending.size() > kPendingFloor + 2 * std::size_t(cairo_region_num_rectangles(FRegion))) Settle();
}

void TRectSet::Add(const TRectSet& s) {
  if (&s == this || s.Empty()) return;
  int theirs = cairo_region_num_rectangles(s.FRegion);
  if (theirs + s.FPending.size() <= 4) {
    // A small area waits with the other additions.
    for (int i = 0; i < theirs; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(s.FRegion, i, &r);
      Add(MakeRect(r.x, r.y, r.x + r.width, r.y + r.height));
    }
    for (const RECT& r : s.FPending) Add(r);
    return;
  }
  Settle();
  s.Settle();
  cairo_region_union(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Subtract(const RECT& r) {
  if (RectEmpty(r)) return;
  Settle();
  cairo_rectangle_int_t c = ToCairo(r);
  if (cairo_region_contains_rectangle(FRegion, &c) == CAIRO_REGION_OVERLAP_OUT) return;  // nothing to cut
  cairo_region_subtract_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Subtract(const TRectSet& s) {
  Settle();
  s.Settle();
  cairo_region_subtract(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Subtract(const std::vector<RECT>& rects) {
  if (rects.empty()) return;
  Settle();
  if (cairo_region_is_empty(FRegion)) return;
  cairo_region_t* cut = RegionOf(rects);
  cairo_region_subtract(FRegion, cut);
  cairo_region_destroy(cut);
  FRectsValid = false;
}

void TRectSet::Intersect(const RECT& r) {
  Settle();
  cairo_rectangle_int_t c = ToCairo(r);
  cairo_region_intersect_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Intersect(const TRectSet& s) {
  Settle();
  s.Settle();
  cairo_region_intersect(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Offset(int dx, int dy) {
  Settle();
  cairo_region_translate(FRegion, dx, dy);
  FRectsValid = false;
}

RECT TRectSet::Bounds() const {
  Settle();
  if (cairo_region_is_empty(FRegion)) return RECT{};
  cairo_rectangle_int_t r;
  cairo_region_get_extents(FRegion, &r);
  return MakeRect(r.x, r.y, r.x + r.width, r.y + r.height);
}

void TRectSet::UnionInto(cairo_region_t* target) const {
  Settle();
  cairo_region_union(target, FRegion);
}

bool TRectSet::Contains(POINT p) const {
  Settle();
  return cairo_region_contains_point(FRegion, p.x, p.y);
}

}  // namespace winsys
