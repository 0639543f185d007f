// VezIdid, hidden rows and columns: hiding columns keeps their cells in the store under
// their real column and their width aside; hiding rows moves their cells, objects and
// height into a TGridItem record of the hidden-row store until they are shown again.
#include <functional>
#include <algorithm>

#include "grid/VezIdid.h"

namespace {
TGridItem* Record(TCollection* Store, int Index) { return static_cast<TGridItem*>(Store->Items(Index)); }
}  // namespace

// ---------------------------------------------------------------------------------------
// Real columns as a list of (visible, width): the operations on columns edit the list and
// apply it, so flags, saved widths, the hidden count and display widths stay in step.
std::vector<TDavEvadurAvuz::TColState> TDavEvadurAvuz::GetColStates() {
  std::vector<TColState> states(static_cast<size_t>(TotalColCount()));
  for (int k = 0; k < TotalColCount(); ++k) {
    TColState& s = states[static_cast<size_t>(k)];
    s.Visible = !IsHiddenColumn(k);
    s.Width = s.Visible ? ColWidths(RemapColInv(k)) : HiddenColumnWidth(k);
  }
  return states;
}

void TDavEvadurAvuz::ApplyColStates(const std::vector<TColState>& States) {
  int visible = 0;
  FVisibleColumns.assign(States.size(), true);
  FHiddenColumnWidths.assign(States.size(), 0);
  for (size_t k = 0; k < States.size(); ++k) {
    FVisibleColumns[k] = States[k].Visible;
    if (States[k].Visible) ++visible;
    else FHiddenColumnWidths[k] = States[k].Width;
  }
  FHiddenColCount = static_cast<int>(States.size()) - visible;
  SetColCountEx(std::max(visible, 1));
  int d = 0;
  for (const TColState& s : States)
    if (s.Visible && d < ColCount()) SetColWidths(d++, s.Width);
}

void TDavEvadurAvuz::HideColumns(int FromCol, int ToCol) {
  HideInplaceEdit();
  std::vector<TColState> states = GetColStates();
  int visible = ColCount();
  bool changed = false;
  for (int k = std::max(FromCol, 0); k <= ToCol && k < TotalColCount(); ++k) {
    TColState& s = states[static_cast<size_t>(k)];
    if (!s.Visible || visible < 2) continue;
    s.Visible = false;
    --visible;
    changed = true;
  }
  if (changed) ApplyColStates(states);
  Invalidate();
}

void TDavEvadurAvuz::UnHideColumns(int FromCol, int ToCol) {
  HideInplaceEdit();
  std::vector<TColState> states = GetColStates();
  bool changed = false;
  for (int k = std::max(FromCol, 0); k <= ToCol && k < TotalColCount(); ++k)
    if (!states[static_cast<size_t>(k)].Visible) {
      states[static_cast<size_t>(k)].Visible = true;
      changed = true;
    }
  if (changed) ApplyColStates(states);
  Invalidate();
}

void TDavEvadurAvuz::UnHideColumnsAll() { UnHideColumns(0, TotalColCount() - 1); }

// ---------------------------------------------------------------------------------------
// Row moves through the store: the row slots move, no text is copied.
void TDavEvadurAvuz::PermuteRows(int First, const std::vector<int>& Order, bool MoveHeights) {
  int n = static_cast<int>(Order.size());
  if (n == 0) return;
  PermuteRowsByOrder(First, Order, MoveHeights);
  RowsMovedOwners(First, n, [&](int k) { return Order[size_t(k)] != First + k; });
}

// Rows First..Last turn round by Shift (row R takes row R - Shift, wrapping in the range):
// what inserting and removing rows do to the rows below. The store turns the row handles
// and heights in one block move.
void TDavEvadurAvuz::RotateRows(int First, int Last, int Shift, bool MoveHeights) {
  int n = Last - First + 1;
  if (n <= 1) return;
  int k = ((Shift % n) + n) % n;
  if (k == 0) return;
  if (Last < TCustomGrid::RowCount()) {
    MoveRowSlots(First, Last, k, MoveHeights);
  } else {
    std::vector<int> order(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) order[size_t(j)] = First + (j - k + n) % n;
    PermuteRowsByOrder(First, order, MoveHeights);
  }
  RowsMovedOwners(First, n, [](int) { return true; });
}

// Cell property records name their row: those of the moved rows take the new one.
void TDavEvadurAvuz::RowsMovedOwners(int First, int Count, const std::function<bool(int)>& moved) {
  if (!CellPropertiesCreated()) return;
  int cols = TotalColCount();
  for (int k = 0; k < Count; ++k) {
    if (!moved(k)) continue;
    for (int c = 0; c < cols; ++c)
      if (TCellProperties* p = Props(c, First + k)) p->OwnerRow = First + k;
  }
}

void TDavEvadurAvuz::PermuteRowsByOrder(int First, const std::vector<int>& Order, bool MoveHeights) {
  int n = static_cast<int>(Order.size());
  std::vector<int> heights;
  if (MoveHeights) {
    heights.resize(Order.size());
    for (int k = 0; k < n; ++k) heights[size_t(k)] = RowHeights(Order[size_t(k)]);
  }
  ReorderRows(First, Order);
  if (MoveHeights)
    for (int k = 0; k < n && First + k < RowCount(); ++k)
      if (RowHeights(First + k) != heights[size_t(k)]) SetRowHeights(First + k, heights[size_t(k)]);
}

void TDavEvadurAvuz::NilStoreRow(int ARow) {
  int cols = std::max({ColCount(), TotalColCount(), MaxColCountEver()});
  for (int c = 0; c < cols; ++c) {
    if (GetGridObject(c, ARow)) SetGridObject(c, ARow, nullptr);
    if (!GetGridCell(c, ARow).empty()) SetGridCell(c, ARow, "");
  }
}

std::vector<int> TDavEvadurAvuz::HiddenRowIndexes() const {
  std::vector<int> idx;
  idx.reserve(size_t(FHiddenRows->Count()));
  for (TCollectionItem* item : FHiddenRows->ItemList()) idx.push_back(static_cast<TGridItem*>(item)->Idx);
  if (!std::is_sorted(idx.begin(), idx.end())) std::sort(idx.begin(), idx.end());
  return idx;
}

std::vector<int> TDavEvadurAvuz::RealRowsOf(int ARow, int ACount) const {
  std::vector<int> hidden = HiddenRowIndexes();
  std::vector<int> real;
  real.reserve(size_t(std::max(ACount, 0)));
  // Walk the real rows beside the hidden ones: display row d is the d-th real row that
  // has no record.
  size_t h = 0;
  int d = 0;
  for (int r = 0; d < ARow + ACount; ++r) {
    while (h < hidden.size() && hidden[h] < r) ++h;
    if (h < hidden.size() && hidden[h] == r) continue;
    if (d >= ARow) real.push_back(r);
    ++d;
  }
  return real;
}

TGridItem* TDavEvadurAvuz::MakeRecord(int D, int Index) {
  auto* item = static_cast<TGridItem*>(Index < 0 ? FHiddenRows->Add() : FHiddenRows->Insert(Index));
  int cols = TotalColCount();
  TStringList* items = item->Items();
  items->SetCapacity(cols);
  items->BeginUpdate();
  for (int c = 0; c < cols; ++c) items->AddObject(GetGridCell(c, D), GetGridObject(c, D));
  items->EndUpdate();
  item->Height = RowHeights(D);
  return item;
}

void TDavEvadurAvuz::TakeOutRows(const std::vector<int>& Rows, bool Ordered, int Level, bool FromList,
                                 bool MoveHeights) {
  if (Rows.empty()) return;
  std::vector<int> hidden = HiddenRowIndexes();
  // Real indexes of the rows, found by one walk beside the hidden indexes.
  std::vector<int> reals;
  reals.reserve(Rows.size());
  {
    size_t h = 0;
    int shift = 0;
    for (int d : Rows) {
      while (h < hidden.size() && hidden[h] <= d + shift) {
        ++shift;
        ++h;
      }
      reals.push_back(d + shift);
    }
  }
  FHiddenRows->BeginUpdate();
  try {
    for (size_t k = 0; k < Rows.size(); ++k) {
      // Ordered records go in after the last record of a lower real index.
      int at = -1;
      if (Ordered) {
        at = 0;
        for (int i = 0; i < FHiddenRows->Count(); ++i)
          if (Record(FHiddenRows.get(), i)->Idx < reals[k]) at = i + 1;
      }
      TGridItem* item = MakeRecord(Rows[k], at);
      item->Idx = reals[k];
      item->Level = Level;
      item->FromList = FromList;
    }
  } catch (...) {
    FHiddenRows->EndUpdate();
    throw;
  }
  FHiddenRows->EndUpdate();
  // Compact: the rows that stay keep their order, the taken ones go to the end, where
  // they are emptied without freeing (their records own the objects now).
  int count = RowCount();
  std::vector<int> order;
  order.reserve(size_t(count));
  std::vector<bool> taken(size_t(count), false);
  for (int d : Rows) taken[size_t(d)] = true;
  for (int r = 0; r < count; ++r)
    if (!taken[size_t(r)]) order.push_back(r);
  for (int d : Rows) order.push_back(d);
  int first = Rows.front();
  std::vector<int> part(order.begin() + first, order.end());
  int oldRow = Row(), oldTop = TopRow();
  BeginUpdate();
  try {
    PermuteRows(first, part, MoveHeights);
    ClearRowSlots(count - int(Rows.size()), count - 1);
    // A visible floating footer row is a row like any other here.
    int newCount = std::max(count - int(Rows.size()), 1);
    bool footer = FFloatingFooter->Visible();
    if (footer) FFloatingFooter->SetVisible(false);
    SetRowCountEx(newCount);
    if (footer) FFloatingFooter->SetVisible(true);
    if (oldRow < RowCount()) {
      FCurrent.Y = oldRow;
      FAnchor.Y = std::min(FAnchor.Y, RowCount() - 1);
      if (oldTop < RowCount()) SetTopRow(oldTop);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  CellControlsUpdate();
}

void TDavEvadurAvuz::PutBackRecords(const std::function<bool(TGridItem*)>& Pick) {
  // One pass over the store sorts the records into those shown and those staying hidden.
  std::vector<bool> leaving(size_t(FHiddenRows->Count()), false);
  std::vector<TGridItem*> Records;
  std::vector<int> staying;
  for (int i = 0; i < FHiddenRows->Count(); ++i) {
    TGridItem* item = Record(FHiddenRows.get(), i);
    leaving[size_t(i)] = Pick(item);
    if (leaving[size_t(i)]) Records.push_back(item);
    else staying.push_back(item->Idx);
  }
  if (Records.empty()) return;
  auto byIdx = [](TGridItem* a, TGridItem* b) { return a->Idx < b->Idx; };
  if (!std::is_sorted(Records.begin(), Records.end(), byIdx)) std::sort(Records.begin(), Records.end(), byIdx);
  if (!std::is_sorted(staying.begin(), staying.end())) std::sort(staying.begin(), staying.end());
  // The records that stay hidden decide where each shown row lands: its real index less
  // the hidden rows above it.
  std::vector<int> targets;
  targets.reserve(Records.size());
  size_t above = 0;
  for (TGridItem* item : Records) {
    while (above < staying.size() && staying[above] < item->Idx) ++above;
    targets.push_back(item->Idx - int(above));
  }
  int oldCount = RowCount();
  int n = int(Records.size());
  int oldRow = Row(), oldTop = TopRow();
  BeginUpdate();
  try {
    bool footer = FFloatingFooter->Visible();
    if (footer) FFloatingFooter->SetVisible(false);
    SetRowCountEx(oldCount + n);
    if (footer) FFloatingFooter->SetVisible(true);
    int newCount = RowCount();
    // New row p takes the next empty row at a target, the next old row elsewhere.
    std::vector<int> order(static_cast<size_t>(newCount));
    size_t t = 0;
    int nextOld = 0, nextNew = oldCount;
    std::vector<int> shownAt(Records.size());
    for (int p = 0; p < newCount; ++p) {
      if (t < targets.size() && (targets[t] <= p || nextOld >= oldCount)) {
        shownAt[t++] = p;
        order[size_t(p)] = nextNew++;
      } else {
        order[size_t(p)] = nextOld++;
      }
    }
    PermuteRows(0, order, true);
    int cols = TotalColCount();
    for (size_t k = 0; k < Records.size(); ++k) {
      TGridItem* item = Records[k];
      int p = shownAt[k];
      TStrings* items = item->Items();
      for (int c = 0; c < items->Count() && c < cols; ++c) {
        const std::string& s = items->Get(c);
        if (!s.empty()) SetGridCell(c, p, s);
        if (TObject* o = items->Objects(c)) {
          SetGridObject(c, p, o);
          if (auto* props = dynamic_cast<TCellProperties*>(o)) props->OwnerRow = p;
          items->SetObjects(c, nullptr);
        }
      }
      if (p < RowCount() && RowHeights(p) != item->Height && item->Height > 0) SetRowHeights(p, item->Height);
    }
    FCurrent.Y = std::min(oldRow, RowCount() - 1);
    SetTopRow(std::min(oldTop, RowCount() - 1));
  } catch (...) {
    EndUpdate();
    throw;
  }
  // The records go, the last ones first (list hides append theirs at the end).
  FHiddenRows->BeginUpdate();
  for (int i = FHiddenRows->Count() - 1; i >= 0; --i)
    if (leaving[size_t(i)]) delete FHiddenRows->Items(i);
  FHiddenRows->EndUpdate();
  EndUpdate();
  CellControlsUpdate();
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::HideRows(int FromRow, int ToRow) {
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, TotalRowCount() - 1);
  if (ToRow < FromRow) return;
  std::vector<int> hidden = HiddenRowIndexes();
  int P = int(std::lower_bound(hidden.begin(), hidden.end(), FromRow) - hidden.begin());
  int A = int(std::upper_bound(hidden.begin(), hidden.end(), ToRow) - hidden.begin()) - P;
  if (ToRow - FromRow + 1 == A) return;
  int S = FromRow - P;
  std::vector<int> rows;
  for (int k = 0; k < ToRow - FromRow + 1 - A; ++k) rows.push_back(S + k);
  // Never the last row of the grid.
  if (int(rows.size()) >= RowCount()) rows.resize(size_t(RowCount() - 1));
  if (TControl* c = CellControls(1, S)) c->SetVisible(false);
  int count = RowCount();
  TakeOutRows(rows, true, 0, false, true);
  DropRowFlags(S, int(rows.size()));
  // The rows leave as a removal would take them: one by one through the row deletion.
  ReportRowsDeleted(S, int(rows.size()), count);
}

// Row selection flags kept by display row follow rows that leave the grid.
void TDavEvadurAvuz::DropRowFlags(int ARow, int ACount) {
  if (!MouseActions()->DisjunctRowSelect() || MouseActions()->RowSelectPersistent) return;
  if (ARow >= int(FRowFlags.size()) || ACount <= 0) return;
  auto b = FRowFlags.begin() + ARow;
  FRowFlags.erase(b, b + std::min<std::ptrdiff_t>(ACount, FRowFlags.end() - b));
  FSelectedRows->Clear();
  for (int r = 0; r < int(FRowFlags.size()); ++r)
    if (FRowFlags[size_t(r)]) FSelectedRows->Add(r);
}

void TDavEvadurAvuz::HideRowsEx(int FromRow, int ToRow) {
  FromRow = std::max(FromRow, 0);
  ToRow = std::min(ToRow, TotalRowCount() - 1);
  if (ToRow < FromRow || IsHiddenRow(FromRow)) return;
  std::vector<int> hidden = HiddenRowIndexes();
  int P = int(std::lower_bound(hidden.begin(), hidden.end(), FromRow) - hidden.begin());
  int A = int(std::upper_bound(hidden.begin(), hidden.end(), ToRow) - hidden.begin()) - P;
  int S = FromRow - P;
  std::vector<int> rows;
  for (int k = 0; k < ToRow - FromRow + 1 - A; ++k) rows.push_back(S + k);
  if (int(rows.size()) >= RowCount()) rows.resize(size_t(RowCount() - 1));
  TakeOutRows(rows, false, 0, false, false);
  DropRowFlags(S, int(rows.size()));
}

void TDavEvadurAvuz::HideRowList(TIntList* List) {
  if (!List) return;
  std::vector<int> rows;
  for (int v : List->Items())
    if (v >= 0 && v < RowCount()) rows.push_back(v);
  // A filter hands its rows ascending and once each: then they need no sort.
  if (std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<int>()) != rows.end()) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  }
  if (int(rows.size()) >= RowCount()) rows.resize(size_t(RowCount() - 1));
  TakeOutRows(rows, false, HideLevel, true, true);
  ++HideLevel;
}

void TDavEvadurAvuz::UnHideRows(int FromRow, int ToRow) {
  if (!HiddenRowRecord(FromRow)) return;
  PutBackRecords([&](TGridItem* item) { return item->Idx >= FromRow && item->Idx <= ToRow; });
}

void TDavEvadurAvuz::UnHideRowsAll() {
  PutBackRecords([](TGridItem*) { return true; });
}

void TDavEvadurAvuz::UnHideRowList() {
  int level = HideLevel - 1;
  if (level < 0) return;
  PutBackRecords([level](TGridItem* item) { return item->FromList && item->Level == level; });
}

void TDavEvadurAvuz::HideSelectedRows() {
  bool persistent = MouseActions()->RowSelectPersistent;
  BeginUpdate();
  try {
    std::vector<int> rows;
    for (int r = GetFixedRowsEx(); r < RowCount(); ++r)
      if (GetRowSelect(persistent ? RemapRowInv(r) : r)) rows.push_back(r);
    if (int(rows.size()) >= RowCount()) rows.resize(size_t(RowCount() - 1));
    // One row at a time from the bottom, so that the records stay in real order.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) HideRows(RemapRowInv(*it), RemapRowInv(*it));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::HideUnSelectedRows() {
  bool persistent = MouseActions()->RowSelectPersistent;
  BeginUpdate();
  try {
    std::vector<int> rows;
    for (int r = GetFixedRowsEx(); r < RowCount(); ++r)
      if (!GetRowSelect(persistent ? RemapRowInv(r) : r)) rows.push_back(r);
    if (int(rows.size()) >= RowCount()) rows.resize(size_t(RowCount() - 1));
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) HideRows(RemapRowInv(*it), RemapRowInv(*it));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
