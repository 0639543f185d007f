// VezIdid, selection queries: selecting ranges of rows and columns, the counts of the
// selected rows and columns, the disjunct cells, the rectangle and the row marks.
#include <algorithm>

#include "grid/VezIdid.h"

void TDavEvadurAvuz::SelectRows(int ARow, int ACount) {
  if (ACount <= 0) return;
  if (!MouseActions()->DisjunctRowSelect()) {
    SetSelectionEx(TGridRect{GetFixedColsEx(), ARow, GetColCountEx() - 1, ARow + ACount - 1});
    return;
  }
  bool persistent = MouseActions()->RowSelectPersistent;
  for (int i = ARow; i < ARow + ACount; ++i) {
    int r = persistent ? RemapRowInv(i) : i;
    if (r < GetRowCountEx()) SetRowSelect(r, true);
  }
}

void TDavEvadurAvuz::UnSelectRows(int ARow, int ACount) {
  if (!MouseActions()->DisjunctRowSelect()) return;
  bool persistent = MouseActions()->RowSelectPersistent;
  for (int i = ARow; i < ARow + ACount; ++i) {
    int r = persistent ? RemapRowInv(i) : i;
    if (r < GetRowCountEx()) SetRowSelect(r, false);
  }
}

void TDavEvadurAvuz::SelectCols(int ACol, int ACount) {
  if (ACount <= 0) return;
  if (!MouseActions()->DisjunctColSelect()) {
    SetSelectionEx(TGridRect{ACol, GetFixedRowsEx(), ACol + ACount - 1, GetRowCountEx() - 1});
    return;
  }
  for (int c = ACol; c < ACol + ACount && c < GetColCountEx(); ++c) SetColSelect(c, true);
}

void TDavEvadurAvuz::UnSelectCols(int ACol, int ACount) {
  if (!MouseActions()->DisjunctColSelect()) return;
  for (int c = ACol; c < ACol + ACount && c < GetColCountEx(); ++c) SetColSelect(c, false);
}

int TDavEvadurAvuz::GetRowSelectCount() {
  if (MouseActions()->DisjunctRowSelect()) {
    int n = std::min(GetAllRowCount(), int(FRowFlags.size()));
    return int(std::count(FRowFlags.begin(), FRowFlags.begin() + n, true));
  }
  TGridRect s = Selection();
  return std::abs(s.Bottom - s.Top) + 1;
}

int TDavEvadurAvuz::GetSelectedRowCount() {
  if (MouseActions()->DisjunctRowSelect()) return FSelectedRows->Count();
  TGridRect s = Selection();
  if (IsMergedCell(s.Left, s.Top)) {
    int span = CellSpan(s.Left, s.Top).Y;
    if (s.Top + span > s.Bottom) return span + 1;
    return std::abs(s.Top - s.Bottom) + 1;
  }
  if (IsMergedCell(s.Left, s.Bottom)) return std::abs(s.Top - s.Bottom) + CellSpan(s.Left, s.Bottom).Y + 1;
  return std::abs(s.Top - s.Bottom) + 1;
}

int TDavEvadurAvuz::GetSelectedRow(int I) {
  if (MouseActions()->DisjunctRowSelect())
    return I >= 0 && I < FSelectedRows->Count() ? FSelectedRows->GetInteger(I) : -1;
  TGridRect s = Selection();
  int r = std::min(s.Top, s.Bottom) + I;
  return I < 0 || r > std::max(s.Top, s.Bottom) ? -1 : r;
}

int TDavEvadurAvuz::GetColSelectCount() {
  if (!MouseActions()->DisjunctColSelect()) {
    TGridRect s = Selection();
    return s.Right - s.Left + 1;
  }
  return int(std::count(FColFlags.begin(), FColFlags.end(), true));
}

int TDavEvadurAvuz::GetSelectedColCount() {
  if (MouseActions()->DisjunctColSelect()) return int(std::count(FColFlags.begin(), FColFlags.end(), true));
  TGridRect s = Selection();
  if (IsMergedCell(s.Left, s.Top)) {
    int span = CellSpan(s.Left, s.Top).X;
    if (s.Left + span > s.Right) return span + 1;
    return std::abs(s.Left - s.Right) + 1;
  }
  if (IsMergedCell(s.Right, s.Top)) return std::abs(s.Left - s.Right) + CellSpan(s.Right, s.Top).X + 1;
  return std::abs(s.Left - s.Right) + 1;
}

bool TDavEvadurAvuz::GetSelectedCells(int ACol, int ARow) {
  if (MouseActions()->DisjunctCellSelect())
    return std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow}) != FDisjunctCells.end();
  TGridRect s = Selection();
  return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
         ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TDavEvadurAvuz::SetSelectedCells(int ACol, int ARow, bool Select) {
  auto it = std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow});
  bool present = it != FDisjunctCells.end();
  if (Select == present) return;
  if (Select) FDisjunctCells.push_back(TGridCoord{ACol, ARow});
  else FDisjunctCells.erase(it);
  if (ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()) RepaintCell(ACol, ARow);
}

int TDavEvadurAvuz::GetSelectedCellsCount() {
  if (!MouseActions()->DisjunctCellSelect()) FDisjunctCells.clear();
  auto add = [this](int c, int r) {
    if (std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{c, r}) == FDisjunctCells.end())
      FDisjunctCells.push_back(TGridCoord{c, r});
  };
  TGridRect s = Selection();
  if (s.Left == s.Right && s.Top == s.Bottom) {
    add(Col(), GetRowEx());
  } else {
    for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c)
      for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r) add(c, r);
  }
  return int(FDisjunctCells.size());
}

TGridCoord TDavEvadurAvuz::GetSelectedCell(int I) const {
  if (I < 0 || I >= int(FDisjunctCells.size())) throw EVezIdidError("Invalid cell index");
  return FDisjunctCells[size_t(I)];
}

void TDavEvadurAvuz::ClearSelectedCells() {
  SetSelectionEx(TGridRect{GetFixedColsEx(), GetFixedRowsEx(), GetFixedColsEx(), GetFixedRowsEx()});
  FDisjunctCells.clear();
  Invalidate();
}

void TDavEvadurAvuz::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow) {
  SetRowEx(ToRow);
  SetCol(ToCol);
  SetSelectionEx(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void TDavEvadurAvuz::GotoCell(int ACol, int ARow) { MoveColRow(ACol, ARow, true, true); }

void TDavEvadurAvuz::FocusCell(int ACol, int ARow) { SetSelectionEx(TGridRect{ACol, ARow, ACol, ARow}); }

int TDavEvadurAvuz::ModifiedRowCount() const {
  return int(std::count(FModifiedRows->Items().begin(), FModifiedRows->Items().end(), 1));
}

void TDavEvadurAvuz::ClearModifiedRows() {
  FModifiedRows->Clear();
  Invalidate();
}
