// VezIdid, editing: the editor controls' own members, the in-place editor's show and
// hide, the fixed-cell test and the grid's cell-selection check.
#include "grid/VezIdidEdit.h"

#include "grid/VezIdid.h"

void TGridColorDropDown::AddDefaultColors() {
  static const std::pair<const char*, TColor> kColors[] = {
      {"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen}, {"Olive", clOlive},
      {"Navy", clNavy},     {"Purple", clPurple}, {"Teal", clTeal},   {"Gray", clGray},
      {"Silver", clSilver}, {"Red", clRed},       {"Lime", clLime},   {"Yellow", clYellow},
      {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua}, {"White", clWhite}};
  FColors.clear();
  for (const auto& c : kColors) FColors.emplace_back(c.first, c.second);
}

std::string TGridColorDropDown::GetSelectedColorText() const {
  for (const auto& c : FColors)
    if (c.second == SelectedColor) return c.first;
  return std::string();
}

void TDizInplaceEdit::SetVAlign(bool Value) {
  if (FVAlign == Value) return;
  FVAlign = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TDizInplaceEdit::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::HideInplaceEdit() {
  if (!EditorMode()) return;
  HideEditor();
  SelectCell(Col(), Row());
}

void TDavEvadurAvuz::ShowInplaceEdit() {
  ScrollInView(Col(), Row());
  ShowEditor();
}

// Fixed rows and columns, counted by the remembered counts when the grid keeps a header.
bool TDavEvadurAvuz::IsFixed(int ACol, int ARow) {
  bool fixed = ACol < TCustomGrid::FixedCols() || ARow < TCustomGrid::FixedRows();
  if (FixedRowAlways && ARow < GetFixedRowsEx()) fixed = true;
  if (FixedColAlways && ACol < GetFixedColsEx()) fixed = true;
  if (OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, fixed);
  return fixed;
}

// The cell-selection check: the changing events may veto, fixed cells are refused, the
// base grid asks OnSelectCell, and a row change is reported once through OnRowUpdate.
bool TDavEvadurAvuz::SelectCell(int ACol, int ARow) {
  if (SelectCellSuppressed) {
    InvalidateCol(0);
    return true;
  }
  if (!Parent()) return true;
  if (IsMergedNonBaseCell(ACol, ARow) && !Options().Contains(goRangeSelect)) {
    TPoint b = BaseCell(ACol, ARow);
    if (b.X != Col() || b.Y != Row()) FocusCell(b.X, b.Y, true);
    return false;
  }
  bool allow = true;
  int oldRow = Row(), oldCol = Col();
  if (ARow != oldRow && OnRowChanging) OnRowChanging(this, oldRow, ARow, allow);
  if (ACol != oldCol && OnColChanging) OnColChanging(this, oldCol, ACol, allow);
  if ((ARow != oldRow || ACol != oldCol) && OnCellChanging) OnCellChanging(this, oldRow, oldCol, ARow, ACol, allow);
  if (!allow) return false;
  if (IsFixed(ACol, ARow)) return false;
  if (!TBaseGrid::SelectCell(ACol, ARow)) return false;
  InvalidateRow(oldRow);
  InvalidateRow(ARow);
  if (!Loading() && ARow != LastUpdatedRow) {
    int old = LastUpdatedRow;
    LastUpdatedRow = ARow;
    if (OnRowUpdate) OnRowUpdate(this, old, ARow);
  }
  return true;
}
