// The order and places of child windows: z keys for comparing siblings' heights without
// looking for them in the list, and the grid of a parent with many children.
#include <algorithm>

#include "platform/win/WinInternal.h"

namespace winsys {
namespace {
constexpr long long kZGap = 1LL << 20;
constexpr LONG kFar = 1 << 29;
// A child reaching into more cells than this is kept in the list of large children.
constexpr long long kMaxCells = 64;

int CellOf(LONG v) {
  v = std::clamp<LONG>(v, -kFar, kFar);
  return int(v >= 0 ? v / TChildGrid::kCell : -((-v + TChildGrid::kCell - 1) / TChildGrid::kCell));
}

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
}  // namespace

TChildGrid::TSpan TChildGrid::SpanOf(const RECT& r) {
  return TSpan{CellOf(r.left), CellOf(r.top), CellOf(r.right - 1), CellOf(r.bottom - 1)};
}

void TChildGrid::Insert(HWND c) {
  c->GridRect = c->Rect;
  if (RectEmpty(c->GridRect)) return;
  TSpan s = SpanOf(c->GridRect);
  if ((long long)(s.X1 - s.X0 + 1) * (s.Y1 - s.Y0 + 1) > kMaxCells) {
    Large.push_back(c);
    return;
  }
  for (int y = s.Y0; y <= s.Y1; ++y)
    for (int x = s.X0; x <= s.X1; ++x) Cells[Key(x, y)].push_back(c);
}

void TChildGrid::Remove(HWND c) {
  auto drop = [c](std::vector<HWND>& list) {
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it != list.rend()) list.erase(std::next(it).base());
  };
  if (RectEmpty(c->GridRect)) return;
  TSpan s = SpanOf(c->GridRect);
  if ((long long)(s.X1 - s.X0 + 1) * (s.Y1 - s.Y0 + 1) > kMaxCells) {
    drop(Large);
    return;
  }
  for (int y = s.Y0; y <= s.Y1; ++y)
    for (int x = s.X0; x <= s.X1; ++x) {
      auto cell = Cells.find(Key(x, y));
      if (cell == Cells.end()) continue;
      drop(cell->second);
      if (cell->second.empty()) Cells.erase(cell);
    }
}

void TChildGrid::Touching(const RECT& r, std::vector<HWND>& out) const {
  if (RectEmpty(r)) return;
  for (HWND c : Large)
    if (Meets(c->GridRect, r)) out.push_back(c);
  TSpan q = SpanOf(r);
  // A child in several cells is reported from the first cell it shares with the query.
  auto visit = [&](int x, int y, const std::vector<HWND>& list) {
    for (HWND c : list) {
      TSpan s = SpanOf(c->GridRect);
      if (x == std::max(s.X0, q.X0) && y == std::max(s.Y0, q.Y0) && Meets(c->GridRect, r)) out.push_back(c);
    }
  };
  long long cells = (long long)(q.X1 - q.X0 + 1) * (q.Y1 - q.Y0 + 1);
  if (cells > (long long)Cells.size()) {
    for (const auto& [key, list] : Cells) {
      int x = int(std::uint32_t(key >> 32)), y = int(std::uint32_t(key));
      if (x >= q.X0 && x <= q.X1 && y >= q.Y0 && y <= q.Y1) visit(x, y, list);
    }
    return;
  }
  for (int y = q.Y0; y <= q.Y1; ++y)
    for (int x = q.X0; x <= q.X1; ++x) {
      auto cell = Cells.find(Key(x, y));
      if (cell != Cells.end()) visit(x, y, cell->second);
    }
}

void ChildReordered(HWND h, std::size_t pos) {
  auto& list = h->Parent->Children;
  // The pending set is ordered by z key: h leaves it while its key changes (the others
  // keep their order even when all keys are renumbered).
  auto& pending = h->Parent->PendingKids;
  bool listed = pending.erase(h) > 0;
  struct TRelist {
    HWND H;
    bool Listed;
    ~TRelist() {
      if (Listed) H->Parent->PendingKids.insert(H);
    }
  } relist{h, listed};
  if (list.size() == 1) {
    h->ZKey = 0;
  } else if (pos == 0) {
    h->ZKey = list[1]->ZKey - kZGap;
  } else if (pos + 1 == list.size()) {
    h->ZKey = list[pos - 1]->ZKey + kZGap;
  } else {
    long long a = list[pos - 1]->ZKey, b = list[pos + 1]->ZKey;
    if (b - a >= 2) {
      h->ZKey = a + (b - a) / 2;
    } else {
      for (std::size_t i = 0; i < list.size(); ++i) list[i]->ZKey = (long long)i * kZGap;
    }
  }
}

void ChildInserted(HWND h, std::size_t pos) {
  HWND parent = h->Parent;
  ChildReordered(h, pos);
  if (parent->Grid) {
    parent->Grid->Insert(h);
  } else if (parent->Children.size() >= TChildGrid::kMinChildren) {
    parent->Grid = std::make_unique<TChildGrid>();
    for (HWND c : parent->Children) parent->Grid->Insert(c);
  }
  h->Attached = true;
  if (h->PaintPending) {
    parent->PendingKids.insert(h);
    PaintStateChanged(parent);
  }
}

void ChildMoved(HWND h) {
  if (!h->Parent || !h->Parent->Grid) return;
  h->Parent->Grid->Remove(h);
  h->Parent->Grid->Insert(h);
}

void ChildrenNear(HWND parent, const RECT& r, std::vector<HWND>& out) {
  if (parent->Grid) parent->Grid->Touching(r, out);
  else out.insert(out.end(), parent->Children.begin(), parent->Children.end());
}

}  // namespace winsys
