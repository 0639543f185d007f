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

std::size_t TChildGrid::Home(std::uint64_t key) const {
  return std::size_t((key * 0x9E3779B97F4A7C15ull) >> 40) & (Cells.size() - 1);
}

const TChildGrid::TCell* TChildGrid::Find(std::uint64_t key) const {
  if (Cells.empty()) return nullptr;
  for (std::size_t i = Home(key);; i = (i + 1) & (Cells.size() - 1)) {
    const TCell& c = Cells[i];
    if (!c.Used) return nullptr;
    if (c.Key == key) return &c;
  }
}

TChildGrid::TCell& TChildGrid::FindOrAdd(std::uint64_t key) {
  if (2 * (Used + 1) > Cells.size()) Rehash();
  std::size_t i = Home(key);
  while (Cells[i].Used && Cells[i].Key != key) i = (i + 1) & (Cells.size() - 1);
  TCell& c = Cells[i];
  if (!c.Used) {
    c.Used = true;
    c.Key = key;
    ++Used;
  }
  return c;
}

void TChildGrid::Rehash() {
  std::vector<TCell> old;
  old.swap(Cells);
  std::size_t live = 0;
  for (const TCell& c : old)
    if (c.Used && !c.List.empty()) ++live;
  std::size_t size = 64;
  while (size < 4 * (live + 1)) size *= 2;
  Cells.resize(size);
  Used = 0;
  for (TCell& c : old)
    if (c.Used && !c.List.empty()) {
      std::size_t i = Home(c.Key);
      while (Cells[i].Used) i = (i + 1) & (Cells.size() - 1);
      Cells[i].Used = true;
      Cells[i].Key = c.Key;
      Cells[i].List = std::move(c.List);
      ++Used;
    }
}

void TChildGrid::Insert(HWND c) {
  c->GridRect = c->Rect;
  if (RectEmpty(c->GridRect)) return;
  TEntry e{c, c->GridRect};
  TSpan s = SpanOf(c->GridRect);
  if ((long long)(s.X1 - s.X0 + 1) * (s.Y1 - s.Y0 + 1) > kMaxCells) {
    Large.push_back(e);
    return;
  }
  for (int y = s.Y0; y <= s.Y1; ++y)
    for (int x = s.X0; x <= s.X1; ++x) FindOrAdd(Key(x, y)).List.push_back(e);
}

void TChildGrid::Remove(HWND c) {
  auto drop = [c](std::vector<TEntry>& list) {
    auto it = std::find_if(list.rbegin(), list.rend(), [c](const TEntry& e) { return e.Wnd == c; });
    if (it != list.rend()) list.erase(std::next(it).base());
  };
  if (RectEmpty(c->GridRect)) return;
  TSpan s = SpanOf(c->GridRect);
  if ((long long)(s.X1 - s.X0 + 1) * (s.Y1 - s.Y0 + 1) > kMaxCells) {
    drop(Large);
    return;
  }
  for (int y = s.Y0; y <= s.Y1; ++y)
    for (int x = s.X0; x <= s.X1; ++x)
      if (const TCell* cell = Find(Key(x, y))) drop(const_cast<TCell*>(cell)->List);
}

// A child in several cells is reported from the first cell it shares with the query.
void TChildGrid::Visit(int x, int y, const TSpan& q, const RECT& r, const std::vector<TEntry>& list,
                       std::vector<HWND>& out) const {
  for (const TEntry& e : list) {
    if (!Meets(e.Rect, r)) continue;
    TSpan s = SpanOf(e.Rect);
    if (x == std::max(s.X0, q.X0) && y == std::max(s.Y0, q.Y0)) out.push_back(e.Wnd);
  }
}

void TChildGrid::Touching(const RECT& r, std::vector<HWND>& out) const {
  if (RectEmpty(r)) return;
  for (const TEntry& e : Large)
    if (Meets(e.Rect, r)) out.push_back(e.Wnd);
  TSpan q = SpanOf(r);
  long long cells = (long long)(q.X1 - q.X0 + 1) * (q.Y1 - q.Y0 + 1);
  if (cells > (long long)Used) {
    for (const TCell& cell : Cells) {
      if (!cell.Used || cell.List.empty()) continue;
      int x = int(std::uint32_t(cell.Key >> 32)), y = int(std::uint32_t(cell.Key));
      if (x >= q.X0 && x <= q.X1 && y >= q.Y0 && y <= q.Y1) Visit(x, y, q, r, cell.List, out);
    }
    return;
  }
  for (int y = q.Y0; y <= q.Y1; ++y)
    for (int x = q.X0; x <= q.X1; ++x)
      if (const TCell* cell = Find(Key(x, y))) Visit(x, y, q, r, cell->List, out);
}

void ChildReordered(HWND h, std::size_t pos) {
  auto& list = h->Parent->Children;
  // The pending list is keyed by z key: h leaves it while its key changes, and when all the
  // siblings' keys are renumbered the others are keyed anew.
  auto& pending = h->Parent->PendingKids;
  bool listed = pending.Erase(h);
  struct TRelist {
    HWND H;
    bool Listed;
    ~TRelist() {
      if (Listed) H->Parent->PendingKids.Insert(H);
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
      pending.Rekey();
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
    parent->PendingKids.Insert(h);
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
