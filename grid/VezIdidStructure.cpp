// VezIdid, row and column structure: inserting, removing and moving rows and columns with
// their cells, objects, sizes, controls and marks; clearing, splitting and merging ranges.
#include <algorithm>

#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------------------
// Controls placed in cells follow the rows (columns) they sit in.
void TDavEvadurAvuz::ShiftControls(bool Rows, int From, int To) {
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->GetControl(i);
    int& v = Rows ? item->Row : item->Col;
    if (v == From) v = To;
    else if (To < From && v >= To && v < From) ++v;
    else if (To > From && v > From && v <= To) --v;
  }
}

// ---------------------------------------------------------------------------------------
// Rows.
void TDavEvadurAvuz::InsertRowsEx(int ARow, int ACount, bool MoveControls) {
  if (ACount <= 0 || ARow < 0 || ARow > RowCount()) return;
  int oldCount = RowCount();
  int lastWidth = ColWidths(ColCount() - 1);
  int F = FFloatingFooter->Visible() ? 2 : 1;
  SetRowCountEx(oldCount + ACount);
  // The new empty rows sit at the end (above a moved footer row); they go to ARow.
  int emptyAt = oldCount - (F - 1);
  int at = std::min(ARow, emptyAt);
  if (emptyAt > at) RotateRows(at, emptyAt + ACount - 1, ACount, true);
  for (int r = at; r < at + ACount; ++r) {
    if (RowHeights(r) != GetDefRowHeightEx()) SetRowHeights(r, GetDefRowHeightEx());
    NilStoreRow(r);
  }
  if (ShowModified()->Enabled())
    for (int k = 0; k < ACount && at < FModifiedRows->Count(); ++k) FModifiedRows->Insert(at, 0);
  if (ColWidths(ColCount() - 1) != lastWidth) SetColWidths(ColCount() - 1, lastWidth);
  if (MoveControls && FControlList->Count() > 0) {
    int real = RemapRowInv(at);
    for (int i = 0; i < FControlList->Count(); ++i)
      if (FControlList->GetControl(i)->Row >= real) FControlList->GetControl(i)->Row += ACount;
    CellControlsUpdate();
  }
  if (!FDestroyingGrid) CellsChanged(TRect{0, at, ColCount() - 1, at + ACount});
}

void TDavEvadurAvuz::AddRow() {
  if (FFloatingFooter->Visible()) {
    InsertRows(RowCount() - 1, 1, true);
    if (FFloatingFooter->FooterStyle == fsFixedLastRow) ClearRows(RowCount() - 2, 1);
  } else {
    InsertRows(RowCount(), 1, true);
    ClearRows(RowCount() - 1, 1);
  }
}

void TDavEvadurAvuz::SplitCutMerges(int ARow, int ACount) {
  if (MergeCount() == 0) return;
  int last = ARow + ACount - 1;
  for (int c = 0; c < TotalColCount(); ++c)
    for (int r : {ARow, last}) {
      if (!IsMergedCell(c, r)) continue;
      TGridRect a = FullCell(c, r);
      if (a.Top < ARow || a.Bottom > last) SplitCells(c, r);
    }
}

void TDavEvadurAvuz::RemoveRowBlock(int ARow, int ACount, bool FreeObjects, bool Reindex, bool MoveHeights) {
  int count = RowCount();
  ACount = std::min(ACount, count - ARow);
  SplitCutMerges(ARow, ACount);
  int cols = TotalColCount();
  if (FreeObjects) ClearPropRect(0, ARow, cols - 1, ARow + ACount - 1);
  if (Reindex && NumHiddenRows() > 0) {
    // Each record behind removed rows moves up by the removed rows above it.
    std::vector<int> removed = RealRowsOf(ARow, ACount);
    for (TCollectionItem* i : FHiddenRows->ItemList()) {
      auto* item = static_cast<TGridItem*>(i);
      item->Idx -= int(std::lower_bound(removed.begin(), removed.end(), item->Idx) - removed.begin());
    }
  }
  if (ShowModified()->Enabled())
    for (int k = 0; k < ACount && ARow < FModifiedRows->Count(); ++k) FModifiedRows->Delete(ARow);
  if (MouseActions()->DisjunctRowSelect() && ARow < int(FRowFlags.size())) {
    auto b = FRowFlags.begin() + ARow;
    FRowFlags.erase(b, b + std::min<std::ptrdiff_t>(ACount, FRowFlags.end() - b));
    FSelectedRows->Clear();
    for (int r = 0; r < int(FRowFlags.size()); ++r)
      if (FRowFlags[size_t(r)]) FSelectedRows->Add(r);
  }
  int oldRow = Row(), oldTop = TopRow();
  int lastWidth = ColWidths(ColCount() - 1);
  bool footer = FFloatingFooter->Visible();
  int fixedFooters = FFixedFooters;
  BeginUpdate();
  try {
    if (footer) FFloatingFooter->SetVisible(false);
    // The removed rows go to the end and are emptied there.
    RotateRows(ARow, count - 1, -ACount, MoveHeights);
    for (int r = count - ACount; r < count; ++r) NilStoreRow(r);
    SetRowCountEx(std::max(count - ACount, 1));
    FMaxRowCount = std::max(FMaxRowCount - ACount, RowCount());
    if (oldRow < RowCount()) {
      // The current row keeps its index: no cell-change events.
      FCurrent.Y = oldRow;
      FAnchor.Y = std::min(FAnchor.Y, RowCount() - 1);
      SetTopRow(std::min(oldTop, RowCount() - 1));
    } else if (TCustomGrid::FixedRows() < RowCount()) {
      SetRowEx(RowCount() - 1);
      FSelectionHidden = false;
    } else {
      HideSelection();
      FSelectionHidden = false;
    }
    if (ColWidths(ColCount() - 1) != lastWidth) SetColWidths(ColCount() - 1, lastWidth);
    if (footer) FFloatingFooter->SetVisible(true);
    if (!footer) SetFixedFooters(fixedFooters);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  CellsChanged(TRect{0, ARow, ColCount() - 1, ARow + ACount});
  int vis = VisibleRowCount();
  int fixed = TCustomGrid::FixedRows();
  if (TopRow() >= RowCount() + fixed - vis - 2 && RowCount() - vis - 1 > 0)
    SetTopRow(std::max(fixed, RowCount() + fixed - vis - 2));
  if (FControlList->Count() > 0) CellControlsUpdate();
  if (FSearchFooter->Visible() && FSearchPanel) FSearchPanel->Invalidate();
}

void TDavEvadurAvuz::RemoveRows(int ARow, int ACount) {
  if (ARow < 0 || ARow >= RowCount() || ACount <= 0) return;
  ACount = std::min(ACount, RowCount() - ARow);
  if (FControlList->Count() > 0) {
    int below = RemapRowInv(ARow + ACount);
    for (int i = 0; i < FControlList->Count(); ++i)
      if (FControlList->GetControl(i)->Row >= below) FControlList->GetControl(i)->Row -= ACount;
  }
  RemoveRowBlock(ARow, ACount, true, true, true);
}

void TDavEvadurAvuz::RemoveRowsEx(int ARow, int ACount) {
  if (ARow < 0 || ARow >= RowCount() || ACount <= 0) return;
  RemoveRowBlock(ARow, ACount, false, true, false);
}

void TDavEvadurAvuz::RemoveRowsInternal(int ARow, int ACount) {
  if (ARow < 0 || ARow >= RowCount() || ACount <= 0) return;
  ACount = std::min(ACount, RowCount() - ARow);
  ClearPropRect(0, ARow, TotalColCount() - 1, ARow + ACount - 1);
  IRemoveRows(ARow, ACount, true);
}

void TDavEvadurAvuz::IRemoveRows(int ARow, int ACount, bool Adjust) {
  if (ARow < 0 || ARow >= RowCount() || ACount <= 0) return;
  ACount = std::min(ACount, RowCount() - ARow);
  if (Adjust && FControlList->Count() > 0) {
    std::vector<int> removed = RealRowsOf(ARow, ACount);
    for (int i = FControlList->Count() - 1; i >= 0; --i) {
      TControlItem* item = FControlList->GetControl(i);
      if (std::binary_search(removed.begin(), removed.end(), item->Row)) {
        if (item->Control) item->Control->SetVisible(false);
        FControlList->RemoveControl(i);
      }
    }
  }
  int count = RowCount();
  RemoveRowBlock(ARow, ACount, false, Adjust, true);
  ReportRowsDeleted(ARow, ACount, count);
}

// Rows taken out one by one through the framework's row deletion each travel to the end
// of the grid first: OnRowMoved hears each of those moves, in order.
void TDavEvadurAvuz::ReportRowsDeleted(int ARow, int ACount, int OldCount) {
  if (!OnRowMoved) return;
  auto event = OnRowMoved;
  for (int k = 0; k < ACount; ++k) event(this, ARow, OldCount - 1 - k);
}

void TDavEvadurAvuz::RemoveCheckedRows(int ACol, bool AState) {
  BeginUpdate();
  try {
    for (int r = RowCount() - 1; r >= GetFixedRowsEx(); --r)
      if (IsChecked(ACol, r) == AState && HasCheckBox(ACol, r)) RemoveRows(r, 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::RemoveSelectedRows() {
  bool persistent = MouseActions()->RowSelectPersistent;
  BeginUpdate();
  try {
    if (MouseActions()->DisjunctRowSelect()) {
      std::vector<int> rows;
      for (int r = RowCount() - FFixedFooters - 1; r >= GetFixedRowsEx(); --r)
        if (GetRowSelect(persistent ? RemapRowInv(r) : r)) rows.push_back(r);
      for (int r : rows) RemoveRowsInternal(r, 1);
      ClearRowSelect();
    } else {
      TGridRect s = Selection();
      for (int r = std::max(s.Top, s.Bottom); r >= std::min(s.Top, s.Bottom); --r) RemoveRowsInternal(r, 1);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::RemoveUnSelectedRows() {
  bool persistent = MouseActions()->RowSelectPersistent;
  BeginUpdate();
  try {
    // Decided before anything moves, so that the flags read are those of the rows seen.
    std::vector<int> rows;
    for (int r = RowCount() - FFixedFooters - 1; r >= GetFixedRowsEx(); --r)
      if (!GetRowSelect(persistent ? RemapRowInv(r) : r)) rows.push_back(r);
    for (int r : rows) RemoveRowsInternal(r, 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::RemoveDuplicates(int ACol, bool CaseSensitive) {
  int K = RemapCol(ACol);
  std::vector<std::string> seen;
  BeginUpdate();
  try {
    int r = GetFixedRowsEx();
    while (r < RowCount() - FFixedFooters) {
      std::string s = GetCellEx(K, r);
      if (!CaseSensitive) s = AnsiUpperCase(s);
      if (std::find(seen.begin(), seen.end(), s) != seen.end()) {
        RemoveRowsInternal(r, 1);
      } else {
        seen.push_back(s);
        ++r;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TDavEvadurAvuz::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle == fsFixedLastRow && ToIndex == RowCount() - 1)
    return;
  TCustomGrid::MoveRow(FromIndex, ToIndex);
  ShiftControls(true, RemapRowInv(FromIndex), RemapRowInv(ToIndex));
  CellControlsUpdate();
}

void TDavEvadurAvuz::RowMoved(int FromIndex, int ToIndex) {
  // The store moves the row's cells; the framework has moved its height already.
  auto event = std::move(OnRowMoved);
  OnRowMoved = nullptr;
  try {
    TStringGrid::RowMoved(FromIndex, ToIndex);
  } catch (...) {
    OnRowMoved = std::move(event);
    throw;
  }
  OnRowMoved = std::move(event);
  if (CellPropertiesCreated())
    for (int r = std::min(FromIndex, ToIndex); r <= std::max(FromIndex, ToIndex); ++r)
      for (int c = 0; c < TotalColCount(); ++c)
        if (TCellProperties* p = Props(c, r)) p->OwnerRow = r;
  if (EnhRowColMove) MovedDuringPress = true;
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

// ---------------------------------------------------------------------------------------
// Columns.
void TDavEvadurAvuz::StoreMoveColumn(int FromCol, int ToCol) {
  if (FromCol == ToCol) return;
  auto event = std::move(OnColumnMoved);
  OnColumnMoved = nullptr;
  try {
    TStringGrid::ColumnMoved(FromCol, ToCol);
  } catch (...) {
    OnColumnMoved = std::move(event);
    throw;
  }
  OnColumnMoved = std::move(event);
  if (CellPropertiesCreated())
    for (int r = 0; r < RowCount(); ++r)
      for (int c = std::min(FromCol, ToCol); c <= std::max(FromCol, ToCol); ++c)
        if (TCellProperties* p = Props(c, r)) p->OwnerCol = c;
}

namespace {
template <class V>
void Rotate(std::vector<V>& v, int From, int To) {
  if (From == To || From < 0 || To < 0 || From >= int(v.size()) || To >= int(v.size())) return;
  if (From < To) std::rotate(v.begin() + From, v.begin() + From + 1, v.begin() + To + 1);
  else std::rotate(v.begin() + To, v.begin() + From, v.begin() + From + 1);
}

// An index that follows a move of From to To.
void Follow(int& Index, int From, int To) {
  if (Index == From) Index = To;
  else if (From < To && Index > From && Index < To) --Index;
  else if (From > To && Index >= To && Index < From) ++Index;
}
}  // namespace

void TDavEvadurAvuz::InsertCols(int ACol, int ACount) {
  if (ACount <= 0 || ACol < 0 || ACol > TotalColCount()) return;
  std::vector<TColState> states = GetColStates();
  int total = TotalColCount();
  int rows = std::max(RowCount(), FMaxRowCount);
  // The new columns come in at the end of the store, empty, and move to ACol.
  for (int k = 0; k < ACount; ++k)
    for (int r = 0; r < rows; ++r) {
      if (GetGridObject(total + k, r)) SetGridObject(total + k, r, nullptr);
      if (!GetGridCell(total + k, r).empty()) SetGridCell(total + k, r, "");
    }
  for (int k = 0; k < ACount; ++k) StoreMoveColumn(total + k, ACol + k);
  states.insert(states.begin() + ACol, size_t(ACount), TColState{true, DefaultColWidth()});
  for (TCollectionItem* i : FHiddenRows->ItemList()) {
    TStrings* items = static_cast<TGridItem*>(i)->Items();
    if (ACol <= items->Count())
      for (int k = 0; k < ACount; ++k) items->Insert(ACol, "");
  }
  ApplyColStates(states);
  Invalidate();
}

void TDavEvadurAvuz::RemoveCols(int ACol, int ACount) {
  int total = TotalColCount();
  if (ACol < 0 || ACol >= total || ACount <= 0) return;
  ACount = std::min(ACount, total - ACol);
  // At least one column stays.
  if (ACount >= total) ACount = total - 1;
  if (ACount <= 0) return;
  std::vector<TColState> states = GetColStates();
  int visibleLeft = 0;
  for (size_t k = 0; k < states.size(); ++k)
    if (states[k].Visible && (int(k) < ACol || int(k) >= ACol + ACount)) ++visibleLeft;
  if (visibleLeft == 0) return;
  if (MergeCount() > 0)
    for (int r = 0; r < RowCount(); ++r)
      for (int c : {ACol, ACol + ACount - 1})
        if (IsMergedCell(c, r)) {
          TGridRect a = FullCell(c, r);
          if (a.Left < ACol || a.Right > ACol + ACount - 1) SplitCells(c, r);
        }
  ClearPropRect(ACol, 0, ACol + ACount - 1, std::max(RowCount(), FMaxRowCount) - 1);
  BeginUpdate();
  try {
    for (int k = 0; k < ACount; ++k) StoreMoveColumn(ACol, total - 1);
    int rows = std::max(RowCount(), FMaxRowCount);
    for (int c = total - ACount; c < total; ++c)
      for (int r = 0; r < rows; ++r)
        if (!GetGridCell(c, r).empty()) SetGridCell(c, r, "");
    for (TCollectionItem* i : FHiddenRows->ItemList()) {
      TStrings* items = static_cast<TGridItem*>(i)->Items();
      for (int k = 0; k < ACount && ACol < items->Count(); ++k) {
        if (auto* p = dynamic_cast<TCellProperties*>(items->Objects(ACol))) delete p;
        items->Delete(ACol);
      }
    }
    states.erase(states.begin() + ACol, states.begin() + ACol + ACount);
    ApplyColStates(states);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  CellsChanged(TRect{ACol, 0, ACol + ACount, RowCount() - 1});
}

void TDavEvadurAvuz::RemoveSelectedCols() {
  std::vector<int> reals;
  if (MouseActions()->DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= GetFixedColsEx(); --c)
      if (GetColSelect(c)) {
        reals.push_back(RemapCol(c));
        if (c < int(FColFlags.size())) FColFlags.erase(FColFlags.begin() + c);
      }
  } else {
    TGridRect s = Selection();
    for (int c = std::max(s.Left, s.Right); c >= std::min(s.Left, s.Right); --c) reals.push_back(RemapCol(c));
  }
  // From the right, so that the real indexes still to come stay valid.
  std::sort(reals.rbegin(), reals.rend());
  for (int k : reals)
    if (k >= 0) RemoveCols(k, 1);
}

void TDavEvadurAvuz::RemoveUnSelectedCols() {
  std::vector<int> reals;
  if (MouseActions()->DisjunctColSelect()) {
    for (int c = ColCount() - 1; c >= GetFixedColsEx(); --c)
      if (!GetColSelect(c)) {
        reals.push_back(RemapCol(c));
        if (c < int(FColFlags.size())) FColFlags.erase(FColFlags.begin() + c);
      }
  } else {
    TGridRect s = Selection();
    int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    for (int c = ColCount() - 1; c > right; --c) reals.push_back(RemapCol(c));
    for (int c = left - 1; c >= GetFixedColsEx(); --c) reals.push_back(RemapCol(c));
  }
  std::sort(reals.rbegin(), reals.rend());
  for (int k : reals)
    if (k >= 0) RemoveCols(k, 1);
  ClearColSelect();
}

void TDavEvadurAvuz::MergeCols(int ACol1, int ACol2, const std::string& Separator) {
  if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= TotalColCount() || ACol2 >= TotalColCount()) return;
  for (int r = GetFixedRowsEx(); r < RowCount(); ++r)
    SetCellEx(ACol1, r, Trim(GetCellEx(ACol1, r) + Separator + GetCellEx(ACol2, r)));
  RemoveCols(ACol2, 1);
}

void TDavEvadurAvuz::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  if (FColumnOrder->Count() == 0) SetColumnOrder();
  int rFrom = RemapCol(FromIndex), rTo = RemapCol(ToIndex);
  TCustomGrid::MoveColumn(FromIndex, ToIndex);
  ShiftControls(false, rFrom, rTo);
  CellControlsUpdate();
}

void TDavEvadurAvuz::ColumnMoved(int FromIndex, int ToIndex) {
  // The real columns: RemapCol still sees the flags as they were before the move.
  int rFrom = RemapCol(FromIndex), rTo = RemapCol(ToIndex);
  if (rFrom < FColumnOrder->Count() && rTo < FColumnOrder->Count() && rFrom >= 0 && rTo >= 0) {
    int v = FColumnOrder->GetInteger(rFrom);
    FColumnOrder->Delete(rFrom);
    FColumnOrder->Insert(rTo, v);
  }
  if (FHiddenColCount > 0) {
    std::vector<bool>& flags = FVisibleColumns;
    if (int(flags.size()) < TotalColCount()) flags.resize(size_t(TotalColCount()), true);
    if (int(FHiddenColumnWidths.size()) < TotalColCount()) FHiddenColumnWidths.resize(size_t(TotalColCount()), 0);
    std::vector<char> f(flags.begin(), flags.end());
    Rotate(f, rFrom, rTo);
    flags.assign(f.begin(), f.end());
    Rotate(FHiddenColumnWidths, rFrom, rTo);
  }
  if (EnhRowColMove) MovedDuringPress = true;
  // The store moves the cells and reports OnColumnMoved.
  if (FHiddenColCount > 0) TStringGrid::ColumnMoved(rFrom, rTo);
  else TStringGrid::ColumnMoved(FromIndex, ToIndex);
  if (CellPropertiesCreated())
    for (int r = 0; r < RowCount(); ++r)
      for (int c = std::min(rFrom, rTo); c <= std::max(rFrom, rTo); ++c)
        if (TCellProperties* p = Props(c, r)) p->OwnerCol = c;
  for (TCollectionItem* i : FHiddenRows->ItemList()) {
    TStrings* items = static_cast<TGridItem*>(i)->Items();
    int reach = std::max(rFrom, rTo);
    while (items->Count() <= reach) items->Add("");
    std::vector<std::pair<std::string, TObject*>> cells;
    for (int c = 0; c < items->Count(); ++c) cells.emplace_back(items->Get(c), items->Objects(c));
    Rotate(cells, rFrom, rTo);
    for (int c = std::min(rFrom, rTo); c <= reach; ++c) {
      items->Put(c, cells[size_t(c)].first);
      items->SetObjects(c, cells[size_t(c)].second);
    }
  }
  Follow(SortSettings()->Column, rFrom, rTo);
  for (int i = 0; i < FSortIndexes->Count(); ++i) {
    int c = FSortIndexes->GetSortColumns(i);
    Follow(c, rFrom, rTo);
    FSortIndexes->SetSortColumns(i, c);
  }
  if (FFloatingFooter->Visible() && FFooterPanel) FFooterPanel->Invalidate();
}

// ---------------------------------------------------------------------------------------
// Clearing.
void TDavEvadurAvuz::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  for (int r = std::max(ARow1, 0); r <= ARow2; ++r)
    for (int x = std::max(ACol1, 0); x <= ACol2; ++x) {
      int k = ExportHiddenColumns ? RemapCol(x) : x;
      if (k < 0) continue;
      if (HasCellProperties(k, r)) {
        if (DetachCellObjects) SetGridObject(k, r, nullptr);
        else ClearPropRect(k, r, k, r);
      }
      if (!FDestroyingGrid && !GetGridCell(k, r).empty()) {
        SetGridCell(k, r, "");
        if (k != x) RepaintCell(x, r);
      }
    }
  if (FDestroyingGrid || SuppressCellsChanged) return;
  CellsChanged(TRect{ExportHiddenColumns ? RemapCol(ACol1) : ACol1, ARow1,
                     ExportHiddenColumns ? RemapCol(ACol2) : ACol2, ARow2});
}

void TDavEvadurAvuz::ClearRows(int ARow, int ACount) {
  if (RowCount() == 0 || ColCount() == 0 || ACount <= 0) return;
  ClearRect(0, ARow, TotalColCount() - 1, ARow + ACount - 1);
}

void TDavEvadurAvuz::ClearCols(int ACol, int ACount) {
  if (RowCount() == 0 || ColCount() == 0 || ACount <= 0) return;
  ClearRect(ACol, 0, ACol + ACount - 1, RowCount() - 1);
}

void TDavEvadurAvuz::ClearNormalRows(int ARow, int ACount) {
  if (RowCount() == 0 || ColCount() == 0 || ACount <= 0) return;
  ClearRect(GetFixedColsEx(), ARow, TotalColCount() - FFixedRightCols - 1, ARow + ACount - 1);
}

void TDavEvadurAvuz::ClearNormalCols(int ACol, int ACount) {
  if (RowCount() == 0 || ColCount() == 0 || ACount <= 0) return;
  ClearRect(ACol, GetFixedRowsEx(), ACol + ACount - 1, RowCount() - FFixedFooters - 1);
}

void TDavEvadurAvuz::ClearNormalCells() {
  ClearRect(GetFixedColsEx(), GetFixedRowsEx(), TotalColCount() - FFixedRightCols - 1,
            RowCount() - FFixedFooters - 1);
}

void TDavEvadurAvuz::ClearSelection() {
  bool persistent = MouseActions()->RowSelectPersistent;
  if (MouseActions()->DisjunctRowSelect()) {
    for (int r = GetFixedRowsEx(); r < RowCount(); ++r)
      if (GetRowSelect(persistent ? RemapRowInv(r) : r)) ClearRows(r, 1);
  } else if (MouseActions()->DisjunctColSelect()) {
    for (int c = GetFixedColsEx(); c < ColCount(); ++c)
      if (GetColSelect(c)) ClearCols(c, 1);
  } else {
    TGridRect s = Selection();
    ClearRect(s.Left, s.Top, s.Right, s.Bottom);
  }
}

void TDavEvadurAvuz::Clear() {
  ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
  FSearchText.clear();
  if (FHiddenColCount > 0) Invalidate();
}

void TDavEvadurAvuz::SplitAllCells() {
  if (MergeCount() == 0) return;
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < TotalColCount(); ++c)
      if (IsMergedCell(c, r)) SplitCells(c, r);
}

void TDavEvadurAvuz::SplitColumnCells(int ACol) {
  int r = 0;
  while (r < RowCount() - FFixedFooters - 1 + 1) {
    if (IsYMergedCell(ACol, r)) {
      int next = r + CellSpan(ACol, r).Y + 1;
      SplitCells(ACol, r);
      r = next;
    } else {
      ++r;
    }
  }
}

void TDavEvadurAvuz::SplitRowCells(int ARow) {
  int k = 0;
  while (k < ColCount() - FFixedRightCols) {
    if (IsMergedCell(k, ARow) && IsBaseCell(k, ARow)) {
      int next = k + CellSpan(k, ARow).X + 1;
      SplitCells(k, ARow);
      k = next;
    } else {
      ++k;
    }
  }
}

void TDavEvadurAvuz::MergeColumnCells(int ACol, bool IgnoreSpans) {
  int first = GetFixedRowsEx(), end = RowCount() - FFixedFooters;
  if (end - first < 2) return;
  int start = first, len = 1;
  for (int r = first + 1; r < end; ++r) {
    if (GetCellEx(ACol, r) == GetCellEx(ACol, r - 1) && (IgnoreSpans || RowSpanIdentical(r, r - 1))) {
      ++len;
      continue;
    }
    if (len > 1) MergeCells(ACol, start, 1, len);
    start = r;
    len = 1;
  }
  if (len > 1) MergeCells(ACol, start, 1, len);
}

void TDavEvadurAvuz::MergeRowCells(int ARow, bool IgnoreSpans) {
  int first = GetFixedColsEx(), end = ColCount() - FFixedRightCols;
  if (end - first < 2) return;
  int start = first, len = 1;
  for (int c = first + 1; c < end; ++c) {
    if (GetCellEx(c, ARow) == GetCellEx(c - 1, ARow) && (IgnoreSpans || ColSpanIdentical(c, c - 1))) {
      ++len;
      continue;
    }
    if (len > 1) MergeCells(start, ARow, len, 1);
    start = c;
    len = 1;
  }
  if (len > 1) MergeCells(start, ARow, len, 1);
}

bool TDavEvadurAvuz::IsCell(const std::string& AText, int& ACol, int& ARow) {
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < ColCount(); ++c)
      if (GetGridCell(c, r) == AText) {
        ACol = c;
        ARow = r;
        return true;
      }
  return false;
}
