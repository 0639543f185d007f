// The area type of the window system: a cairo (pixman) region behind a small interface,
// with a list of rectangles waiting to join it, and a single rectangle held as it is.
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

RECT FromCairo(const cairo_rectangle_int_t& c) { return MakeRect(c.x, c.y, c.x + c.width, c.y + c.height); }

// The rectangle as the region would hold it (cut to the far limits); empty when it is.
RECT Cut(const RECT& r) {
  cairo_rectangle_int_t c = ToCairo(r);
  return c.width > 0 && c.height > 0 ? FromCairo(c) : RECT{};
}

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
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

TRectSet::TRectSet(const RECT& r) { Add(r); }
TRectSet::TRectSet(const TRectSet& o)
    : FRegion(o.FRegion ? cairo_region_copy(o.FRegion) : nullptr),
      FPending(o.FPending),
      FSingle(o.FSingle),
      FHasSingle(o.FHasSingle) {}
TRectSet::TRectSet(TRectSet&& o) noexcept
    : FRegion(o.FRegion), FPending(std::move(o.FPending)), FSingle(o.FSingle), FHasSingle(o.FHasSingle) {
  o.FRegion = nullptr;
  o.FPending.clear();
  o.FHasSingle = false;
  o.FRectsValid = false;
}
TRectSet& TRectSet::operator=(const TRectSet& o) {
  if (this != &o) {
    cairo_region_t* copy = o.FRegion ? cairo_region_copy(o.FRegion) : nullptr;
    if (FRegion) cairo_region_destroy(FRegion);
    FRegion = copy;
    FPending = o.FPending;
    FSingle = o.FSingle;
    FHasSingle = o.FHasSingle;
    FRectsValid = false;
  }
  return *this;
}
TRectSet& TRectSet::operator=(TRectSet&& o) noexcept {
  std::swap(FRegion, o.FRegion);
  FPending.swap(o.FPending);
  std::swap(FSingle, o.FSingle);
  std::swap(FHasSingle, o.FHasSingle);
  FRectsValid = o.FRectsValid = false;
  return *this;
}
TRectSet::~TRectSet() {
  if (FRegion) cairo_region_destroy(FRegion);
}

cairo_region_t* TRectSet::Region() const {
  if (!FRegion) FRegion = cairo_region_create();
  return FRegion;
}

void TRectSet::Spill() const {
  if (!FHasSingle) return;
  FHasSingle = false;
  cairo_rectangle_int_t c = ToCairo(FSingle);
  cairo_region_union_rectangle(Region(), &c);
}

void TRectSet::Settle() const {
  Spill();
  if (FPending.empty()) return;
  if (FPending.size() == 1 && (!FRegion || cairo_region_is_empty(FRegion))) {
    cairo_rectangle_int_t c = ToCairo(FPending[0]);
    cairo_region_union_rectangle(Region(), &c);
  } else {
    cairo_region_t* added = RegionOf(FPending);
    cairo_region_union(Region(), added);
    cairo_region_destroy(added);
  }
  FPending.clear();
  FRectsValid = false;
}

bool TRectSet::Empty() const {
  return !FHasSingle && FPending.empty() && (!FRegion || cairo_region_is_empty(FRegion));
}

std::span<const RECT> TRectSet::Rects() const {
  if (FHasSingle) return std::span<const RECT>(&FSingle, 1);
  Settle();
  if (!FRectsValid) {
    int n = FRegion ? cairo_region_num_rectangles(FRegion) : 0;
    FRects.resize(std::size_t(n));
    for (int i = 0; i < n; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(FRegion, i, &r);
      FRects[std::size_t(i)] = FromCairo(r);
    }
    FRectsValid = true;
  }
  return FRects;
}

void TRectSet::Clear() {
  if (FRegion) cairo_region_destroy(FRegion);
  FRegion = nullptr;
  FPending.clear();
  FHasSingle = false;
  FRectsValid = false;
}

void TRectSet::Add(const RECT& r) {
  RECT c = Cut(r);
  if (RectEmpty(c)) return;
  FRectsValid = false;
  if (Empty()) {
    FSingle = c;
    FHasSingle = true;
    return;
  }
  if (FHasSingle) {
    if (c.left >= FSingle.left && c.top >= FSingle.top && c.right <= FSingle.right && c.bottom <= FSingle.bottom) return;
    Spill();
  }
  FPending.push_back(r);
  if (FPending.size() > kPendingFloor + 2 * std::size_t(cairo_region_num_rectangles(Region()))) Settle();
}

void TRectSet::Add(const TRectSet& s) {
  if (&s == this || s.Empty()) return;
  if (s.FHasSingle) {
    Add(s.FSingle);
    return;
  }
  if (Empty()) {
    *this = s;
    return;
  }
  int theirs = s.FRegion ? cairo_region_num_rectangles(s.FRegion) : 0;
  if (theirs + s.FPending.size() <= 4) {
    // A small area waits with the other additions.
    for (int i = 0; i < theirs; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(s.FRegion, i, &r);
      Add(FromCairo(r));
    }
    for (const RECT& r : s.FPending) Add(r);
    return;
  }
  Settle();
  s.Settle();
  cairo_region_union(Region(), s.FRegion);
  FRectsValid = false;
}

void TRectSet::Subtract(const RECT& r) {
  if (RectEmpty(r)) return;
  if (FHasSingle) {
    RECT c = Cut(r);
    if (!Meets(c, FSingle)) return;  // nothing to cut
    if (c.left <= FSingle.left && c.top <= FSingle.top && c.right >= FSingle.right && c.bottom >= FSingle.bottom) {
      Clear();
      return;
    }
  }
  Settle();
  if (!FRegion) return;
  cairo_rectangle_int_t c = ToCairo(r);
  if (cairo_region_contains_rectangle(FRegion, &c) == CAIRO_REGION_OVERLAP_OUT) return;  // nothing to cut
  cairo_region_subtract_rectangle(FRegion, &c);
  FRectsValid = false;
}

void TRectSet::Subtract(const TRectSet& s) {
  if (Empty() || s.Empty()) return;
  if (s.FHasSingle) {
    Subtract(s.FSingle);
    return;
  }
  Settle();
  s.Settle();
  cairo_region_subtract(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Subtract(const std::vector<RECT>& rects) {
  if (rects.empty() || Empty()) return;
  if (FHasSingle && std::none_of(rects.begin(), rects.end(), [&](const RECT& r) { return Meets(Cut(r), FSingle); }))
    return;
  Settle();
  cairo_region_t* cut = RegionOf(rects);
  cairo_region_subtract(FRegion, cut);
  cairo_region_destroy(cut);
  FRectsValid = false;
}

void TRectSet::Intersect(const RECT& r) {
  FRectsValid = false;
  if (FHasSingle) {
    FSingle = RectIntersect(FSingle, Cut(r));
    FHasSingle = !RectEmpty(FSingle);
    return;
  }
  Settle();
  if (!FRegion) return;
  cairo_rectangle_int_t c = ToCairo(r);
  cairo_region_intersect_rectangle(FRegion, &c);
}

void TRectSet::Intersect(const TRectSet& s) {
  if (Empty()) return;
  if (s.Empty()) {
    Clear();
    return;
  }
  if (s.FHasSingle) {
    Intersect(s.FSingle);
    return;
  }
  if (FHasSingle) {
    TRectSet both = s;
    both.Intersect(FSingle);
    *this = std::move(both);
    return;
  }
  Settle();
  s.Settle();
  cairo_region_intersect(FRegion, s.FRegion);
  FRectsValid = false;
}

void TRectSet::Offset(int dx, int dy) {
  FRectsValid = false;
  if (FHasSingle) {
    FSingle = RectOffset(FSingle, dx, dy);
    return;
  }
  Settle();
  if (FRegion) cairo_region_translate(FRegion, dx, dy);
}

RECT TRectSet::Bounds() const {
  if (FHasSingle) return FSingle;
  Settle();
  if (!FRegion || cairo_region_is_empty(FRegion)) return RECT{};
  cairo_rectangle_int_t r;
  cairo_region_get_extents(FRegion, &r);
  return FromCairo(r);
}

void TRectSet::UnionInto(cairo_region_t* target) const {
  if (FHasSingle) {
    cairo_rectangle_int_t c = ToCairo(FSingle);
    cairo_region_union_rectangle(target, &c);
    return;
  }
  Settle();
  if (FRegion) cairo_region_union(target, FRegion);
}

bool TRectSet::Contains(POINT p) const {
  if (FHasSingle) return RectContains(FSingle, p);
  Settle();
  return FRegion && cairo_region_contains_point(FRegion, p.x, p.y);
}

}  // namespace winsys
