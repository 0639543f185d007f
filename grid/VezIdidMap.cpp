// VezIdid, index mapping: display and real rows and columns, the current-row setter,
// scrolling a cell into view, parking the selection, the used cells and export ranges.
#include <algorithm>

#include "grid/VezIdid.h"

// ---------------------------------------------------------------------------------------
// Hidden-column flags and saved widths: one per real column, grown on demand; a column
// beyond them is visible.
bool TDavEvadurAvuz::GetVisibleCol(int ACol) const {
  if (ACol < 0 || ACol >= static_cast<int>(FVisibleColumns.size())) return true;
  return FVisibleColumns[static_cast<size_t>(ACol)];
}

void TDavEvadurAvuz::SetVisibleCol(int ACol, bool Value) {
  if (ACol < 0) return;
  if (ACol >= static_cast<int>(FVisibleColumns.size())) {
    if (Value) return;
    FVisibleColumns.resize(static_cast<size_t>(ACol) + 1, true);
  }
  FVisibleColumns[static_cast<size_t>(ACol)] = Value;
}

int TDavEvadurAvuz::HiddenColumnWidth(int ACol) const {
  if (ACol < 0 || ACol >= static_cast<int>(FHiddenColumnWidths.size())) return 0;
  return FHiddenColumnWidths[static_cast<size_t>(ACol)];
}

void TDavEvadurAvuz::SetHiddenColumnWidth(int ACol, int Width) {
  if (ACol < 0) return;
  if (ACol >= static_cast<int>(FHiddenColumnWidths.size())) FHiddenColumnWidths.resize(static_cast<size_t>(ACol) + 1, 0);
  FHiddenColumnWidths[static_cast<size_t>(ACol)] = Width;
}

// ---------------------------------------------------------------------------------------
// The maps.
int TDavEvadurAvuz::RemapCol(int ACol) const {
  if (FHiddenColCount == 0) return ACol;
  if (ACol < 0) return -1;
  int visible = -1;
  int n = static_cast<int>(FVisibleColumns.size());
  for (int r = 0; r < n; ++r)
    if (FVisibleColumns[static_cast<size_t>(r)] && ++visible == ACol) return r;
  // Past the flags every column is visible; a display index beyond the real columns
  // names no column.
  int r = n + (ACol - visible - 1);
  return r < TotalColCount() ? r : -1;
}

int TDavEvadurAvuz::RemapColInv(int ACol) const {
  if (FHiddenColCount == 0 || ACol <= 0) return ACol;
  int n = std::min(ACol, static_cast<int>(FVisibleColumns.size()));
  int hidden = 0;
  for (int r = 0; r < n; ++r)
    if (!FVisibleColumns[static_cast<size_t>(r)]) ++hidden;
  return ACol - hidden;
}

bool TDavEvadurAvuz::IsHiddenColumn(int ACol) const { return !GetVisibleCol(ACol); }

int TDavEvadurAvuz::RemapRow(int ARow) const {
  int below = 0;
  for (int i = 0; i < FHiddenRows->Count(); ++i)
    if (static_cast<TGridItem*>(FHiddenRows->Items(i))->Idx < ARow) ++below;
  return ARow - below;
}

int TDavEvadurAvuz::RemapRowInv(int ARow) const {
  if (FHiddenRows->Count() == 0) return ARow;
  // The hidden indexes are collected once, sorted, and walked beside the real rows.
  std::vector<int> hidden;
  hidden.reserve(static_cast<size_t>(FHiddenRows->Count()));
  for (int i = 0; i < FHiddenRows->Count(); ++i) hidden.push_back(static_cast<TGridItem*>(FHiddenRows->Items(i))->Idx);
  std::sort(hidden.begin(), hidden.end());
  int real = ARow;
  for (int h : hidden) {
    if (h <= real) ++real;
    else break;
  }
  return real;
}

bool TDavEvadurAvuz::IsHiddenRow(int ARow) const { return HiddenRowRecord(ARow) != nullptr; }

bool TDavEvadurAvuz::IsHiddenRow(int ARow, std::unique_ptr<TIntList>& List) const {
  if (!List) {
    List = std::make_unique<TIntList>(-1, -1);
    for (int i = 0; i < FHiddenRows->Count(); ++i) List->Add(static_cast<TGridItem*>(FHiddenRows->Items(i))->Idx);
  }
  return List->HasValue(ARow);
}

// ---------------------------------------------------------------------------------------
// The current row.
void TDavEvadurAvuz::SetRowEx(int ARow) {
  SetRow(ARow);  // raises the grid's index error outside the grid, before any event
  if (Row() != LastUpdatedRow && OnRowUpdate) {
    int old = LastUpdatedRow;
    LastUpdatedRow = Row();
    OnRowUpdate(this, old, Row());
  }
  // The disjunct row selection takes in the rows of the current selection.
  if (FMouseActions->DisjunctRowSelect()) SelectToRowSelect(false);
}

bool TDavEvadurAvuz::UpdateEditMode() { return SelectCell(Col(), Row()); }

void TDavEvadurAvuz::ScrollInView(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return;
  int newLeft = LeftCol(), newTop = TopRow();
  int vc = VisibleColCount(), vr = VisibleRowCount();
  if (ACol < LeftCol() || ACol >= LeftCol() + vc) {
    SetCol(ACol);
    newLeft = std::max(FixedCols(), ACol - vc / 2);
  }
  if (ARow < TopRow() || ARow >= TopRow() + vr) {
    SetRowEx(ARow);
    newTop = std::max(FixedRows(), ARow - vr / 2);
  }
  newLeft = std::min(newLeft, ColCount() - vc + 1);
  if (FixedCols() + vc < ColCount()) SetLeftCol(std::max(FixedCols(), std::min(newLeft, ColCount() - 1)));
  newTop = std::min(newTop, RowCount() - vr + 1);
  if (FixedRows() + vr < RowCount()) {
    SetTopRow(std::max(FixedRows(), std::min(newTop, RowCount() - 1)));
    if (FSearchFooter->Visible() && RowCount() - vr == TopRow())
      SetTopRow(std::min(RowCount() - 1, newTop + 1));
  }
}

void TDavEvadurAvuz::HideSelection() {
  FSavedSelection = Selection();
  TGridRect outside{ColCount(), RowCount(), ColCount(), RowCount()};
  // The framework keeps its cells inside the grid, so the parked selection is its anchor
  // and current cell moved past the last cell without events.
  FAnchor = outside.TopLeft();
  FCurrent = outside.TopLeft();
  FSelectionHidden = true;
  Invalidate();
}

void TDavEvadurAvuz::UnHideSelection() {
  FSelectionHidden = false;
  if (FSavedSelection.Top < RowCount() && FSavedSelection.Left < ColCount()) {
    TGridRect s = FSavedSelection;
    s.Right = std::min(s.Right, ColCount() - 1);
    s.Bottom = std::min(s.Bottom, RowCount() - 1);
    SetSelection(s);
    return;
  }
  int top = FixedRowAlways && GetFixedRowsEx() == RowCount() ? 0 : TCustomGrid::FixedRows();
  int left = FixedColAlways && GetFixedColsEx() == ColCount() ? 0 : TCustomGrid::FixedCols();
  top = std::min(top, RowCount() - 1);
  left = std::min(left, ColCount() - 1);
  SetSelection(TGridRect{left, top, left, top});
}

TRect TDavEvadurAvuz::GetUsedCells() {
  int left = -1, top = -1, right = -1, bottom = -1;
  for (int r = 0; r < RowCount(); ++r)
    for (int c = 0; c < ColCount(); ++c) {
      if (GetCellEx(c, r).empty()) continue;
      if (left < 0 || c < left) left = c;
      if (top < 0) top = r;
      right = std::max(right, c);
      bottom = r;
    }
  if (left < 0) return TRect{0, 0, 0, 0};
  return TRect{left, top, right, bottom};
}

int TDavEvadurAvuz::GetSaveStartCol() { return ExportFixedCells ? 0 : GetFixedColsEx(); }
int TDavEvadurAvuz::GetSaveStartRow() { return ExportFixedCells ? 0 : GetFixedRowsEx(); }
int TDavEvadurAvuz::GetSaveEndCol() { return ExportFixedCells ? ColCount() - 1 : ColCount() - FFixedRightCols - 1; }
int TDavEvadurAvuz::GetSaveEndRow() { return ExportFixedCells ? RowCount() - 1 : RowCount() - FFixedFooters - 1; }
int TDavEvadurAvuz::GetSaveColCount() {
  return ExportFixedCells ? ColCount() : ColCount() - GetFixedColsEx() - FFixedRightCols;
}
int TDavEvadurAvuz::GetSaveRowCount() {
  return ExportFixedCells ? RowCount() : RowCount() - GetFixedRowsEx() - FFixedFooters;
}
