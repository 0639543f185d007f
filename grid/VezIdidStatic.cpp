// VezIdid, cells edited in place without an editor (check boxes, radio buttons, radio
// groups and cell buttons) and the disjunct row and column selections with the
// per-row modified marks.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------------------
// Cell graphics.
namespace {
TCellVAlign GraphicVAlign(TVAlignment V) {
  switch (V) {
    case vtaCenter: return vaCenter;
    case vtaBottom: return vaBottom;
    default: return vaTop;
  }
}
bool IsCheckKind(TCellType T) {
  return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}
}  // namespace

void TDavEvadurAvuz::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
  TCellGraphic* g = nullptr;
  NewGraphic(ACol, ARow, g);
  g->CellType = Data ? ctDataCheckBox : ctCheckBox;
  g->CellBoolean = State;
  g->CellTransparent = true;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = GraphicVAlign(VAlignment);
  if (Data) {
    // A text that already is a check text decides the state.
    std::string t = GetCellEx(ACol, ARow);
    if (t != GetCheckTrue(ACol, ARow) && t != GetCheckFalse(ACol, ARow))
      SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
  }
  RepaintCell(RemapColInv(ACol), ARow);
}

bool TDavEvadurAvuz::HasCheckBox(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && IsCheckKind(g->CellType);
}

bool TDavEvadurAvuz::GetCheckBoxState(int ACol, int ARow, bool& State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox: State = g->CellBoolean; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: State = GetCellEx(ACol, ARow) == GetCheckTrue(ACol, ARow); return true;
    case ctRowCheckBox:
      if (ACol != 0) return false;
      State = GetRowSelect(ARow);
      return true;
    default: return false;
  }
}

bool TDavEvadurAvuz::SetCheckBoxState(int ACol, int ARow, bool State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
      g->CellBoolean = State;
      RepaintCell(RemapColInv(ACol), ARow);
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
      return true;
    case ctRowCheckBox:
      if (ACol != 0) return false;
      SetRowSelect(ARow, State);
      return true;
    default: return false;
  }
}

bool TDavEvadurAvuz::IsChecked(int ACol, int ARow) {
  bool state = false;
  return GetCheckBoxState(ACol, ARow, state) && state;
}

void TDavEvadurAvuz::DoCheckBoxChange(int ACol, int ARow, bool State) {
  if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

bool TDavEvadurAvuz::ToggleCheck(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || !IsCheckKind(g->CellType)) return false;
  if (FromUser && !ControlLook()->CheckAlwaysActive) {
    bool canEdit = true;
    GetCellReadOnly(ACol, ARow, canEdit);
    if (!canEdit) return false;
  }
  bool state;
  if (g->CellType == ctCheckBox) {
    g->CellBoolean = !g->CellBoolean;
    state = g->CellBoolean;
  } else if (g->CellType == ctRowCheckBox) {
    state = !GetRowSelect(ARow);
    SetRowSelect(ARow, state);
  } else {
    state = GetCellEx(ACol, ARow) != GetCheckTrue(ACol, ARow);
    SetCellEx(ACol, ARow, state ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
  }
  RepaintCell(RemapColInv(ACol), ARow);
  DoCheckBoxChange(ACol, ARow, state);
  // Undo replays cell texts: only a data check box keeps its state in its text (a plain
  // one would get "Y" or "N" written over its own text).
  TVezIdidUndoRedo* undo = UndoRedo();
  if (undo && (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox)) {
    const std::string on = GetCheckTrue(ACol, ARow), off = GetCheckFalse(ACol, ARow);
    if (state) undo->RegisterChange(ACol, ARow, off, on);
    else undo->RegisterChange(ACol, ARow, on, off);
  }
  return true;
}

void TDavEvadurAvuz::AddRadioButton(int ACol, int ARow, bool State) {
  TCellGraphic* g = nullptr;
  NewGraphic(ACol, ARow, g);
  g->CellType = ctRadioButton;
  g->CellBoolean = State;
  g->CellTransparent = true;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = GraphicVAlign(VAlignment);
  RepaintCell(RemapColInv(ACol), ARow);
}

bool TDavEvadurAvuz::HasRadioButton(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctRadioButton;
}

bool TDavEvadurAvuz::IsRadioButtonChecked(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctRadioButton && g->CellBoolean;
}

bool TDavEvadurAvuz::SetRadioButtonState(int ACol, int ARow, bool State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadioButton) return false;
  if (g->CellBoolean != State) {
    g->CellBoolean = State;
    RepaintCell(RemapColInv(ACol), ARow);
  }
  return true;
}

void TDavEvadurAvuz::SetRadioButtonColumnIndex(int ACol, int ARow) {
  for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == ARow);
}

bool TDavEvadurAvuz::ToggleRadioButton(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadioButton) return false;
  if (FromUser && !ControlLook()->CheckAlwaysActive) {
    bool canEdit = true;
    GetCellReadOnly(ACol, ARow, canEdit);
    if (!canEdit) return false;
  }
  if (!g->CellBoolean) {
    g->CellBoolean = true;
    RepaintCell(RemapColInv(ACol), ARow);
    for (int r = 0; r < RowCount(); ++r)
      if (r != ARow && IsRadioButtonChecked(ACol, r)) SetRadioButtonState(ACol, r, false);
  }
  return true;
}

void TDavEvadurAvuz::AddRadio(int ACol, int ARow, int Dir, int Index, TStrings* Options) {
  TCellGraphic* g = nullptr;
  NewGraphic(ACol, ARow, g);
  g->CellType = ctRadio;
  g->CellAngle = Options ? Options->Count() : 0;
  g->CellBoolean = Dir != 0;
  g->CellIndex = Index;
  g->CellRef.Object = Options;
  g->CellStrings = Options;
  RepaintCell(RemapColInv(ACol), ARow);
}

bool TDavEvadurAvuz::IsRadio(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctRadio;
}

bool TDavEvadurAvuz::GetRadioIdx(int ACol, int ARow, int& Index) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  Index = g->CellIndex;
  return g->CellType == ctRadio;
}

void TDavEvadurAvuz::ToggleRadio(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return;
  if (FromUser && !ControlLook()->RadioAlwaysActive) {
    bool canEdit = true;
    GetCellReadOnly(ACol, ARow, canEdit);
    if (!canEdit) return;
  }
  int count = g->CellStrings ? g->CellStrings->Count() : 0;
  // A group without options has nothing to move to.
  if (count == 0) return;
  int next;
  if (g->CellIndex < 0) {
    next = count > 0 ? g->CellStrings->IndexOf(GetCellEx(ACol, ARow)) + 1 : 0;
  } else {
    next = g->CellIndex + 1;
  }
  if (next >= count || next < 0) next = 0;
  if (g->CellIndex >= 0) g->CellIndex = next;
  g->CellVariant = next;
  // A group without options has no text to show.
  if (next < count) SetCellEx(ACol, ARow, g->CellStrings->Strings(next));
  RepaintCell(RemapColInv(ACol), ARow);
}

void TDavEvadurAvuz::AddButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                               TCellHAlign HAlign, TCellVAlign VAlign) {
  TCellGraphic* g = nullptr;
  NewGraphic(ACol, ARow, g);
  g->CellType = ctButton;
  g->CellIndex = (Width & 0xFFFF) | ((Height & 0xFFFF) << 16);
  g->CellText = Caption;
  g->CellBoolean = false;
  g->CellHAlign = HAlign;
  g->CellVAlign = VAlign;
  RepaintCell(RemapColInv(ACol), ARow);
}

bool TDavEvadurAvuz::HasButton(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && (g->CellType == ctButton || g->CellType == ctBitButton);
}

bool TDavEvadurAvuz::HasStaticEdit(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox: case ctDataCheckBox: case ctRadio: case ctButton: case ctVirtCheckBox: case ctRowCheckBox:
    case ctRadioButton: return true;
    default: return false;
  }
}

bool TDavEvadurAvuz::IsWideCell(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount()) return false;
  std::string s = GetGridCell(ACol, ARow);
  return s.size() >= 2 && s[0] == '|' && s[1] == '\\';
}

// ---------------------------------------------------------------------------------------
// Disjunct rows and columns.
bool TDavEvadurAvuz::GetRowSelect(int ARow) {
  if (ARow < 0 || ARow >= GetAllRowCount()) throw EVezIdidError("Invalid row accessed");
  if (MouseActions()->DisjunctRowSelect()) {
    if (ARow >= static_cast<int>(FRowFlags.size())) FRowFlags.resize(ARow + 1, false);
    return FRowFlags[ARow];
  }
  TGridRect s = Selection();
  return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TDavEvadurAvuz::SetRowSelect(int ARow, bool Select) {
  if (ARow < 0 || ARow >= GetAllRowCount()) throw EVezIdidError("Invalid row accessed");
  bool allow = true;
  if (OnRowDisjunctSelect) OnRowDisjunctSelect(this, ARow, Select, allow);
  if (!allow) return;
  if (ARow >= static_cast<int>(FRowFlags.size())) FRowFlags.resize(ARow + 1, false);
  if (Select) {
    if (!FRowFlags[ARow] && ARow < RowCount()) InvalidateRow(ARow);
    FRowFlags[ARow] = true;
    if (!FSelectedRows->HasValue(ARow)) FSelectedRows->Add(ARow);
  } else {
    if (FRowFlags[ARow] && ARow < RowCount()) InvalidateRow(ARow);
    FRowFlags[ARow] = false;
    FSelectedRows->DeleteValue(ARow);
  }
  if (OnRowDisjunctSelected) OnRowDisjunctSelected(this, ARow);
}

void TDavEvadurAvuz::ClearRowSelect() {
  for (int r = 0; r < static_cast<int>(FRowFlags.size()); ++r)
    if (FRowFlags[r] && r < RowCount()) InvalidateRow(r);
  FRowFlags.assign(FRowFlags.size(), false);
  FSelectedRows->Clear();
}

void TDavEvadurAvuz::SelectToRowSelect(bool All) {
  TGridRect s = Selection();
  int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
  bool persistent = MouseActions()->RowSelectPersistent;
  for (int i = GetFixedRowsEx(); i < RowCount(); ++i) {
    bool inside = i >= top && i <= bottom;
    if (All || inside) SetRowSelect(persistent ? RemapRowInv(i) : i, inside);
  }
}

bool TDavEvadurAvuz::GetColSelect(int ACol) {
  if (ACol < 0 || ACol >= ColCount()) throw EVezIdidError("Invalid column accessed");
  if (ACol >= static_cast<int>(FColFlags.size())) FColFlags.resize(ACol + 1, false);
  return FColFlags[ACol];
}

void TDavEvadurAvuz::SetColSelect(int ACol, bool Select) {
  if (ACol < 0 || ACol >= ColCount()) throw EVezIdidError("Invalid column accessed");
  if (ACol >= static_cast<int>(FColFlags.size())) FColFlags.resize(ACol + 1, false);
  if (FColFlags[ACol] != Select) InvalidateCol(ACol);
  FColFlags[ACol] = Select;
}

void TDavEvadurAvuz::ClearColSelect() {
  for (int c = 0; c < static_cast<int>(FColFlags.size()); ++c)
    if (FColFlags[c] && c < ColCount()) InvalidateCol(c);
  FColFlags.assign(FColFlags.size(), false);
}

void TDavEvadurAvuz::SelectToColSelect(bool All) {
  TGridRect s = Selection();
  int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
  for (int i = GetFixedColsEx(); i < ColCount(); ++i) {
    bool inside = i >= left && i <= right;
    if (All || inside) SetColSelect(i, inside);
  }
}

void TDavEvadurAvuz::SetRowModified(int ARow, bool Modified) {
  if (ARow < 0) return;
  while (FModifiedRows->Count() <= ARow) FModifiedRows->Add(0);
  FModifiedRows->SetInteger(ARow, Modified ? 1 : 0);
  if (ARow < RowCount()) RepaintCell(0, ARow);
}

bool TDavEvadurAvuz::GetRowModified(int ARow) const {
  return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

void TDavEvadurAvuz::InvalidateGridRect(const TGridRect& R) {
  if (ColCount() == 0 || RowCount() == 0) return;
  TGridRect c{std::clamp(R.Left, 0, ColCount() - 1), std::clamp(R.Top, 0, RowCount() - 1),
              std::clamp(R.Right, 0, ColCount() - 1), std::clamp(R.Bottom, 0, RowCount() - 1)};
  InvalidateRect(c);
}

void TDavEvadurAvuz::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
  if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007) InvalidateGridRect(Selection());
  if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}
