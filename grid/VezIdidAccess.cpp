// VezIdid, dimensions and cell accessors: the counts that keep a header row, sizes, the
// accessors that reach hidden rows, wide text, the column order, the current cell, the
// editor text and the per-cell load, save and calculation hooks.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "foundation/Deahtml.h"
#include "grid/VezIdid.h"

std::u16string TDavEvadurAvuz::DecodeWide(const std::string& S) { return DecodeWideStr(S); }

// ---------------------------------------------------------------------------------------
// Counts.
void TDavEvadurAvuz::DropRows(int First, int Last) {
  if (Last < First || Last < 0) return;
  First = std::max(First, 0);
  // Properties are freed first; the store then empties the rows in one step (texts and
  // object slots of every column).
  if (CellPropertiesCreated()) {
    int cols = std::max({ColCount(), TotalColCount(), FMaxColCount});
    ClearPropRect(0, First, cols - 1, Last);
  }
  ClearRowSlots(First, Last);
}

void TDavEvadurAvuz::DropCols(int First, int Last) {
  int rows = std::max(RowCount(), FMaxRowCount);
  for (int c = First; c <= Last; ++c)
    for (int r = 0; r < rows; ++r) {
      if (HasCellProperties(c, r)) ClearPropRect(c, r, c, r);
      else SetGridObject(c, r, nullptr);
      if (!GetGridCell(c, r).empty()) SetGridCell(c, r, "");
    }
}

void TDavEvadurAvuz::SetRowCountEx(int Value) {
  int oldCount = RowCount();
  // The header rows: those fixed now, or asked to be fixed when the grid was too short.
  int header = std::max(GetFixedRowsEx(), FRememberedFixedRows);
  if (RowCount() == GetFixedRowsEx() && FixedRowAlways) UnHideSelection();
  if (Value < 1) Value = 1;
  // A visible floating footer moves with the end of the grid; a header row is never taken
  // for the footer, nor overwritten by it.
  bool moveFooter = FFloatingFooter->Visible() && Value != oldCount && oldCount > header && Value > header;
  // Rows that leave the grid are emptied, so that growing it again shows empty rows.
  if (Value < oldCount && !moveFooter) DropRows(Value, std::max(oldCount, FMaxRowCount) - 1);
  SetRowCount(Value);
  if (Value > FRememberedFixedRows && FixedRowAlways && TCustomGrid::FixedRows() != FRememberedFixedRows)
    SetFixedRowsEx(FRememberedFixedRows);
  FMaxRowCount = std::max(FMaxRowCount, Value);
  FDisplTextRowLimit = Value;
  UpdateFooter();
  UpdateVScroller();
  UpdateHScroller();
  UpdateScrollBars(false);
  if (moveFooter) {
    // The old last row's texts go to the new last row, then the old last row is emptied.
    // Shrinking also empties the rows that left the grid (kept until now so that the footer
    // could be read from them).
    int cols = ColCount();
    for (int c = 0; c < cols; ++c) SetGridCell(c, Value - 1, GetGridCell(c, oldCount - 1));
    FFooterUpdating = true;
    if (Value > oldCount) DropRows(oldCount - 1, oldCount - 1);
    else DropRows(Value, std::max(oldCount, FMaxRowCount) - 1);
    FFooterUpdating = false;
    CalcFooter(-1);
  }
}

void TDavEvadurAvuz::SetColCountEx(int Value) {
  if (Value < 1) Value = 1;
  int oldCount = ColCount();
  // Columns that leave the grid are emptied (hidden columns keep theirs beyond the count).
  if (Value < oldCount && FHiddenColCount == 0) DropCols(Value, std::max(oldCount, FMaxColCount) - 1);
  SetColCount(Value);
  if (Value > FRememberedFixedCols && FixedColAlways && TCustomGrid::FixedCols() != FRememberedFixedCols)
    SetFixedColsEx(FRememberedFixedCols);
  FMaxColCount = std::max(FMaxColCount, Value);
  if (FHiddenColCount == 0 && static_cast<int>(FVisibleColumns.size()) < Value) {
    FVisibleColumns.resize(static_cast<size_t>(Value), true);
    FHiddenColumnWidths.resize(static_cast<size_t>(Value), 0);
  }
  UpdateFooter();
  SetBounds(Left(), Top(), Width(), Height());
  UpdateHScroller();
  UpdateVScroller();
  UpdateScrollBars(false);
}

int TDavEvadurAvuz::GetFixedRowsEx() const {
  int n = TCustomGrid::FixedRows();
  return n == 0 && FixedRowAlways ? 1 : n;
}

int TDavEvadurAvuz::GetFixedColsEx() const {
  int n = TCustomGrid::FixedCols();
  return n == 0 && FixedColAlways ? 1 : n;
}

void TDavEvadurAvuz::SetFixedRowsEx(int Value) {
  if (Value < 0) Value = 0;
  int fixed = Value;
  if (Value >= RowCount() && FixedRowAlways) fixed = RowCount() - 1;
  SetFixedRows(fixed);
  if (!Loading()) FRememberedFixedRows = Value;
}

void TDavEvadurAvuz::SetFixedColsEx(int Value) {
  SetFixedCols(Value);
  if (!Loading()) FRememberedFixedCols = Value;
}

void TDavEvadurAvuz::SetDefRowHeightEx(int Value) {
  SetDefaultRowHeight(Value);
  if (Designing()) FFixedRowHeight = Value;
  FFloatingFooter->SetHeight(Value);
}

void TDavEvadurAvuz::SetFixedColWidth(int W) {
  if (Loading() || W == DefaultColWidth()) return;
  for (int c = 0; c < GetFixedColsEx() && c < ColCount(); ++c) SetColWidths(c, W);
}

void TDavEvadurAvuz::SetFixedRowHeight(int H) {
  FFixedRowHeight = H;
  if (Loading()) return;
  if (H == DefaultRowHeight()) {
    SetDefaultRowHeight(H);
  } else {
    for (int r = 0; r < GetFixedRowsEx() && r < RowCount(); ++r) SetRowHeights(r, H);
  }
}

void TDavEvadurAvuz::SetFixedFooters(int Value) {
  FFixedFooters = Value;
  Invalidate();
}

void TDavEvadurAvuz::SetFixedRightCols(int Value) {
  FFixedRightCols = Value;
  Invalidate();
}

void TDavEvadurAvuz::SetWordWrapEx(bool Value) {
  FWordWrapDefault = Value;
  if (auto* e = dynamic_cast<TDizInplaceEdit*>(InplaceEditor())) e->SetWordWrap(Value);
  if (FUpdateCount == 0) Invalidate();
}

// ---------------------------------------------------------------------------------------
// Accessors across hidden rows (real column, real row).
TGridItem* TDavEvadurAvuz::HiddenRowRecord(int ARealRow) const {
  for (int i = 0; i < FHiddenRows->Count(); ++i) {
    auto* item = static_cast<TGridItem*>(FHiddenRows->Items(i));
    if (item->Idx == ARealRow) return item;
  }
  return nullptr;
}

TStrings* TDavEvadurAvuz::HiddenRow(int ARow) {
  TGridItem* item = HiddenRowRecord(ARow);
  return item ? item->Items() : nullptr;
}

std::string TDavEvadurAvuz::GetCellsEx(int ACol, int ARow) {
  if (TGridItem* item = HiddenRowRecord(ARow)) {
    // A kept list shorter than the column reads as an empty text.
    std::string s = ACol >= 0 && ACol < item->Items()->Count() ? item->Items()->Get(ACol) : std::string();
    return GetDisplText(ACol, ARow, s);
  }
  return GetCellEx(ACol, RemapRow(ARow));
}

void TDavEvadurAvuz::SetCellsEx(int ACol, int ARow, const std::string& Value) {
  if (TGridItem* item = HiddenRowRecord(ARow)) {
    if (ACol < 0) return;
    while (item->Items()->Count() <= ACol) item->Items()->Add("");
    item->Items()->Put(ACol, Value);
    return;
  }
  int r = RemapRow(ARow);
  SetCellEx(ACol, r, Value);
  int d = RemapColInv(ACol);
  if (d != ACol && d >= 0) RepaintCell(d, r);
}

std::string TDavEvadurAvuz::GetGridCellsEx(int ACol, int ARow) {
  if (TGridItem* item = HiddenRowRecord(ARow))
    return ACol >= 0 && ACol < item->Items()->Count() ? item->Items()->Get(ACol) : std::string();
  return GetGridCell(ACol, RemapRow(ARow));
}

void TDavEvadurAvuz::SetGridCellsEx(int ACol, int ARow, const std::string& Value) {
  if (HiddenRowRecord(ARow)) {
    SetCellsEx(ACol, ARow, Value);
    return;
  }
  int r = RemapRow(ARow);
  SetGridCell(ACol, r, Value);
  int d = RemapColInv(ACol);
  if (d != ACol && d >= 0) RepaintCell(d, r);
}

void TDavEvadurAvuz::SetWideCellsEx(int ACol, int ARow, const std::u16string& Value) {
  SetCellsEx(ACol, ARow, EncodeWideStr(Value));
}

TObject* TDavEvadurAvuz::GetObjectsEx(int ACol, int ARow) {
  if (TGridItem* item = HiddenRowRecord(ARow)) {
    if (ACol < 0 || ACol >= item->Items()->Count()) return nullptr;
    TObject* o = item->Items()->Objects(ACol);
    if (auto* p = dynamic_cast<TCellProperties*>(o)) return p->CellObject;
    return o;
  }
  return GetObjectEx(ACol, RemapRow(ARow));
}

// A hidden row keeps a TCellProperties in the entry; the object goes into it.
void TDavEvadurAvuz::SetObjectsEx(int ACol, int ARow, TObject* Value) {
  if (TGridItem* item = HiddenRowRecord(ARow)) {
    if (ACol < 0) return;
    while (item->Items()->Count() <= ACol) item->Items()->Add("");
    auto* p = dynamic_cast<TCellProperties*>(item->Items()->Objects(ACol));
    if (!p) {
      p = new TCellProperties(this, ACol, ARow);
      p->WordWrap = FWordWrapDefault;
      item->Items()->SetObjects(ACol, p);
    }
    p->CellObject = Value;
    return;
  }
  SetObjectEx(ACol, RemapRow(ARow), Value);
}

TObject* TDavEvadurAvuz::GetAllGraphicsObject(int ACol, int ARow) {
  if (TGridItem* item = HiddenRowRecord(ARow))
    return ACol >= 0 && ACol < item->Items()->Count() ? item->Items()->Objects(ACol) : nullptr;
  return GetGridObject(ACol, RemapRow(ARow));
}

void TDavEvadurAvuz::SetWideCells(int ACol, int ARow, const std::u16string& Value) {
  SetGridCell(ACol, ARow, EncodeWideStr(Value));
}

std::string TDavEvadurAvuz::GetStrippedCell(int ACol, int ARow) { return DecodeEntities(HTMLStrip(GetCellEx(ACol, ARow))); }

std::string TDavEvadurAvuz::GetOriginalCells(int ACol, int ARow) {
  int c = ColumnPosition(ACol);
  return GetCellEx(c == -1 ? ACol : c, ARow);
}

void TDavEvadurAvuz::SetOriginalCells(int ACol, int ARow, const std::string& Value) {
  int c = ColumnPosition(ACol);
  SetCellEx(c == -1 ? ACol : c, ARow, Value);
}

int TDavEvadurAvuz::SortedRowIndex(int ARow) {
  if (ARow >= 0 && ARow < FSortList->Count()) return RemapRowInv(FSortList->GetInteger(ARow));
  return RemapRowInv(ARow);
}

int TDavEvadurAvuz::UnSortedRowIndex(int ARow) {
  if (FSortList->Count() == 0) return ARow;
  int i = FSortList->IndexOf(ARow);
  return i < 0 ? FSortList->Count() : i;
}

std::string TDavEvadurAvuz::GetUnSortedCell(int ACol, int ARow) {
  int r = FSortList->Count() < ARow ? ARow : UnSortedRowIndex(ARow);
  return GetCellEx(ACol, r);
}

void TDavEvadurAvuz::SetUnSortedCell(int ACol, int ARow, const std::string& Value) {
  int r = FSortList->Count() < ARow ? ARow : UnSortedRowIndex(ARow);
  SetCellEx(ACol, r, Value);
}

int TDavEvadurAvuz::GetAllColWidths(int ACol) {
  if (IsHiddenColumn(ACol)) return HiddenColumnWidth(ACol);
  return ColWidths(RemapColInv(ACol));
}

void TDavEvadurAvuz::SetAllColWidths(int ACol, int W) {
  SetHiddenColumnWidth(ACol, W);
  if (!IsHiddenColumn(ACol)) SetColWidths(RemapColInv(ACol), W);
}

// ---------------------------------------------------------------------------------------
// Column order.
void TDavEvadurAvuz::SetColumnOrder() {
  FColumnOrder->Clear();
  for (int c = 0; c < ColCount(); ++c) FColumnOrder->Add(c);
}

int TDavEvadurAvuz::ColumnPosition(int ACol) const {
  if (FColumnOrder->Count() == 0) return ACol;
  int n = std::min(FColumnOrder->Count(), ColCount() + FHiddenColCount);
  int p = ACol;
  for (int i = 0; i < n; ++i)
    if (FColumnOrder->GetInteger(i) == ACol) {
      p = i;
      break;
    }
  if (FGroupColumn >= 0 && ACol >= FGroupColumn) --p;
  return p;
}

int TDavEvadurAvuz::ColumnAtPosition(int Pos) const {
  if (FColumnOrder->Count() == 0) return Pos;
  if (Pos < 0 || Pos >= FColumnOrder->Count()) return Pos;
  int c = FColumnOrder->GetInteger(Pos);
  if (FGroupColumn >= 0 && c >= FGroupColumn) ++c;
  return c;
}

void TDavEvadurAvuz::ResetColumnOrder() {
  if (FColumnOrder->Count() == 0) {
    SetColumnOrder();
    return;
  }
  bool moved = true;
  // Every move puts one column at its place, so the passes end.
  for (int guard = 0; moved && guard <= ColCount() * ColCount(); ++guard) {
    moved = false;
    for (int i = 0; i < ColCount() && i < FColumnOrder->Count(); ++i) {
      int target = FColumnOrder->GetInteger(i);
      if (target < i && target >= 0) {
        // The column-move handling takes the entry along in the order list.
        MoveColumn(i, target);
        moved = true;
      }
    }
  }
}

int TDavEvadurAvuz::ColumnByHeader(const std::string& Header) {
  for (int c = 0; c < TotalColCount(); ++c)
    if (GetCellsEx(c, 0) == Header) return c;
  return -1;
}

// ---------------------------------------------------------------------------------------
// The current cell and the editor text.
std::string TDavEvadurAvuz::GetCurrentCell() {
  TPoint b = BaseCell(GetRealCol(), GetRowEx());
  return GetGridCell(b.X, b.Y);
}

std::string TDavEvadurAvuz::GetCurrentDisplCell() {
  TPoint b = BaseCell(GetRealCol(), GetRowEx());
  return GetCellEx(b.X, b.Y);
}

void TDavEvadurAvuz::SetCurrentCell(const std::string& Value) {
  TPoint b = BaseCell(GetRealCol(), GetRowEx());
  SetCellEx(b.X, b.Y, Value);
}

void TDavEvadurAvuz::SetEditCell(const std::string& Value) { SetEditText(Col(), GetRowEx(), Value); }

void TDavEvadurAvuz::SetEditText(int ACol, int ARow, const std::string& Value) {
  int c = RemapCol(ACol);
  if (c < 0) return;
  TPoint b = BaseCell(c, ARow);
  TStringGrid::SetEditText(b.X, b.Y, Value);
}

std::string TDavEvadurAvuz::GetEditText(int ACol, int ARow) {
  FEditTextLoading = true;
  int c = RemapCol(ACol);
  if (c < 0) return std::string();
  if (auto* e = dynamic_cast<TDizInplaceEdit*>(InplaceEditor()))
    e->SetVAlign(GetCellAlignment(c, ARow) == taRightJustify);
  TPoint b = BaseCell(c, ARow);
  std::string s = TStringGrid::GetEditText(b.X, b.Y);
  if (!EditWithTags) s = DecodeEntities(HTMLStrip(s));
  return s;
}

// ---------------------------------------------------------------------------------------
// Per-cell hooks of the file formats.
void TDavEvadurAvuz::CalcCell(int ACol, int ARow, std::string& Value) { Value = GetCellEx(ACol, ARow); }

void TDavEvadurAvuz::LoadCell(int ACol, int ARow, const std::string& Value) {
  std::string v = Value;
  if (OnLoadCell) OnLoadCell(this, ACol, ARow, v);
  SetGridCell(ACol, ARow, v);
}

std::string TDavEvadurAvuz::GetCheckTrue(int ACol, int ARow) {
  std::string v = "Y";
  if (OnGetCheckTrue) OnGetCheckTrue(this, ACol, ARow, v);
  return v;
}

std::string TDavEvadurAvuz::GetCheckFalse(int ACol, int ARow) {
  std::string v = "N";
  if (OnGetCheckFalse) OnGetCheckFalse(this, ACol, ARow, v);
  return v;
}

void TDavEvadurAvuz::SaveCell(int ACol, int ARow, std::string& Value) {
  Value = SaveFormatted ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);
  if (Value.empty() && GetCellType(ACol, ARow) == ctCheckBox) {
    bool state = false;
    GetCheckBoxState(ACol, ARow, state);
    Value = state ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
  }
  switch (TextType(Value, true)) {
    case ttHTML:
      if (!SaveWithHTML) Value = DecodeEntities(HTMLStrip(Value));
      break;
    default: break;
  }
  if (OnSaveCell) OnSaveCell(this, ACol, ARow, Value);
}
