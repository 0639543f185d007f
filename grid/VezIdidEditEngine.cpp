// VezIdid, the editing engine: which editor a cell gets and when it shows, reading the
// value back and ending the edit, validating the value when the cell is left, the rules
// applied when the current cell moves, advancing after Enter, the update lock, the grid
// timer and the focus messages.
#include <algorithm>

#include "grid/VezIdid.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/StdEdit.h"

UINT TDavEvadurAvuz::GridEditDoneMessage() {
  static const UINT msg = RegisterWindowMessage("GridEditDone");
  return msg;
}

bool TDavEvadurAvuz::IsTextEditorKind(TEditorType Kind) {
  switch (Kind) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital:
    case edMixedCase: case edPassword: case edLowerCase: case edUpperCase: case edValidChars:
      return true;
    default: return false;
  }
}

// ---------------------------------------------------------------------------------------
// Dispatch.
void TDavEvadurAvuz::GetCellEditor(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TDavEvadurAvuz::GetCellReadOnly(int ACol, int ARow, bool& CanEdit) {
  const TPoint b = ACol >= 0 && ARow >= 0 && ARow < RowCount() ? BaseCell(ACol, ARow) : TPoint{ACol, ARow};
  if (TCellProperties* p = b.Y >= 0 && b.Y < RowCount() ? Props(b.X, b.Y) : nullptr; p && p->ReadOnly) CanEdit = false;
  DoCanEditCell(b.X, b.Y, CanEdit);
}

bool TDavEvadurAvuz::IsEditable(int ACol, int ARow) {
  if (!Options().Contains(goEditing) && !MouseActions()->RangeSelectAndEdit && !FEditingEnabled) return false;
  bool canEdit = true;
  GetCellReadOnly(ACol, ARow, canEdit);
  bool fixed = IsFixed(RemapColInv(ACol), ARow);
  return canEdit && !fixed;
}

bool TDavEvadurAvuz::IsPassword(int ACol, int ARow) {
  bool pw = false;
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, pw);
  return pw;
}

bool TDavEvadurAvuz::CanEditShow() {
  if (FValidatingCell) return false;
  bool result = TBaseGrid::CanEditShow();
  if (Designing()) return result;
  // A control editor (custom link, rich edit) is on screen: no text editor over it.
  if (FControlEditorShown) return false;
  TPoint base = BaseCell(RemapCol(Col()), Row());
  if (result && !FEditActive && HasStaticEdit(base.X, base.Y)) return false;
  if (result && !FEditActive) {
    FEditChangeSuppressed = true;
    FEditCacheText = GetCurrentDisplCell();
    // A new edit starts: a focus guard left by an earlier pop-up no longer applies.
    IgnoreGridFocus = false;
    FActiveEditorType = DefaultEditor;
    GetCellEditor(base.X, base.Y, FActiveEditorType);
    if (FActiveEditorType == edNone) return false;
    if (IsTextEditorKind(FActiveEditorType)) {
      FEditActive = true;
      FTextEditorUsed = true;
      FTextEditPending = true;
    } else if (StartControlEdit(FActiveEditorType)) {
      FEditActive = true;
      FEditChangeSuppressed = false;
      return false;
    } else {
      // The other kinds need their own editor controls; those not put on screen here
      // keep the cell out of edit mode rather than edit invisibly.
      FActiveEditorType = edNormal;
      FEditChangeSuppressed = false;
      return false;
    }
  }
  if (result) FValidatePending = true;
  return result;
}

void TDavEvadurAvuz::ShowInplaceEdit() {
  TPoint base = BaseCell(RemapCol(Col()), Row());
  if (HasStaticEdit(base.X, base.Y)) return;
  if (Row() < TopRow() && Row() >= FixedRows()) SetTopRow(Row());
  if (Col() < LeftCol() && Col() >= FixedCols()) SetLeftCol(Col());
  ShowEditor();
}

void TDavEvadurAvuz::ShowCellEdit() {
  if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, VK_F2, 0);
}

// ---------------------------------------------------------------------------------------
// Read-back and hiding.
void TDavEvadurAvuz::HideInplaceEdit() {
  if (!FEditActive) return;
  int col = Col(), row = Row();
  HideEditor();
  // The text editor reports its end when its window loses the focus or goes; a hidden
  // editor that never had the focus is reported here.
  if (FTextEditPending) TextEditorClosed(col, row);
  HideEditControl(Col(), Row());
  FEditActive = false;
  SelectCell(Col(), Row());
}

void TDavEvadurAvuz::TextEditorClosed(int ACol, int ARow) {
  if (!FTextEditPending) return;
  FTextEditPending = false;
  DoneEditing(RemapCol(ACol), ARow);
}

void TDavEvadurAvuz::HideCellEdit() { HideEditControl(Col(), Row()); }

void TDavEvadurAvuz::HideEditControl(int ACol, int ARow) {
  if (FControlEditorShown) EndControlEdit(ACol, ARow);
  FControlEditorShown = false;
  FHidingEditor = true;
  FPendingEditChar = 0;
  // No editor control can be shown yet (CanEditShow refuses their kinds), so there is
  // nothing to read back: the text kinds write through the framework grid.
  if (FActiveEditorType != edNormal && FDoneEditingPending) DoneEditing(RemapCol(ACol), ARow);
  FHidingEditor = false;
  FDoneEditingPending = false;
}

void TDavEvadurAvuz::UpdateEditingCell(int ACol, int ARow, const std::string& Value) {
  SetEditText(RemapColInv(ACol), ARow, Value);
  SetCells(ACol, ARow, Value);
}

void TDavEvadurAvuz::DoneEditing(int ACol, int ARow) {
  if (OnEditingDone) OnEditingDone(this);
  FEditActive = false;
  if (HandleAllocated()) PostMessage(Handle(), GridEditDoneMessage(), WPARAM(ACol), LPARAM(ARow));
}

void TDavEvadurAvuz::DoneInplaceEdit(WORD Key, TShiftState Shift) {
  FFinishingEdit = true;
  FValidatePending = false;
  try {
    HideInplaceEdit();
    if (Navigation()->AppendOnArrowDown && Key == VK_DOWN && IsOnLastRow()) AppendLastRow();
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
      WORD k = Key;
      KeyDown(k, Shift);
    }
    bool alwaysEdit = Navigation()->AlwaysEdit;
    Navigation()->AlwaysEdit = false;
    if (CanFocus()) SetFocus();
    if (Key == VK_RETURN) AdvanceEdit(Col(), Row(), false, true, true, false, false);
    Navigation()->AlwaysEdit = alwaysEdit;
  } catch (...) {
    FFinishingEdit = false;
    throw;
  }
  FFinishingEdit = false;
}

void TDavEvadurAvuz::RestoreCache() {
  SetCellsEx(GetRealCol(), GetRealRow(), FEditCacheText);
  SetCellEx(GetRealCol(), Row(), GetCellEx(GetRealCol(), Row()));
}

// ---------------------------------------------------------------------------------------
// Validation.
void TDavEvadurAvuz::InitValidate(int ACol, int ARow) {
  FValidateCol = ACol;
  FValidateRow = ARow;
  int c = RemapCol(ACol);
  if (c < 0 || ARow < 0 || ARow >= RowCount()) {
    ValidateOrigText.clear();
    ValidateOrigWideText.clear();
    return;
  }
  ValidateOrigText = GetGridCell(c, ARow);
  ValidateOrigWideText = GetWideCells(c, ARow);
}

void TDavEvadurAvuz::ShowInvalidBalloon() {
  if (InvalidEntryText.empty() && InvalidEntryTitle.empty()) return;
  HWND target = nullptr;
  if (!FControlEditorShown && FEditActive) {
    if (InplaceEditor() && InplaceEditor()->HandleAllocated()) target = InplaceEditor()->Handle();
  } else if (auto* wc = dynamic_cast<TWinControl*>(FActiveEditControl); wc && wc->HandleAllocated()) {
    target = wc->Handle();
  }
  if (!target) return;
  std::u16string title = DecodeWide(InvalidEntryTitle), text = DecodeWide(InvalidEntryText);
  EDITBALLOONTIP tip;
  tip.cbStruct = 16;
  tip.pszTitle = title.c_str();
  tip.pszText = text.c_str();
  tip.ttiIcon = static_cast<int>(InvalidEntryIcon);
  SendMessage(target, EM_SHOWBALLOONTIP, 0, LPARAM(&tip));
}

bool TDavEvadurAvuz::ValidateCell(const std::string& Value) {
  if (!FValidatePending || FValidatingCell) return true;
  FValidatePending = false;
  FValidatingCell = true;
  bool valid = true;
  try {
    int realCol = RemapCol(FValidateCol);
    ValidateNewText = Value;
    if (Value != ValidateOrigText && realCol >= 0 && FValidateRow >= 0) {
      bool advance = Navigation()->AdvanceOnEnter;
      Navigation()->AdvanceOnEnter = false;
      std::string text = Value;
      try {
        if (OnCellValidate) OnCellValidate(this, realCol, FValidateRow, text, valid);
      } catch (...) {
        Navigation()->AdvanceOnEnter = advance;
        throw;
      }
      // A changed value marks its row modified (the fixed column shows the mark).
      if (text != ValidateOrigText && FixedCols() > 0) SetRowModified(Row(), true);
      if (valid) UpdateCell(realCol, FValidateRow);
      if (valid) CellsChanged(TRect{realCol, FValidateRow, realCol, FValidateRow});
      Navigation()->AdvanceOnEnter = advance;
      ValidateNewText = text;
      if (valid) {
        SetCells(realCol, FValidateRow, text);
        TPoint b = BaseCell(realCol, FValidateRow);
        if (b.X != realCol || b.Y != FValidateRow) SetCells(b.X, b.Y, text);
      } else {
        FEntryValid = false;
        std::string back = text != Value ? text : ValidateOrigText;
        int vCol = FValidateCol, vRow = FValidateRow;
        HideEditor();
        SetCells(realCol, vRow, back);
        if (vCol >= 0 && vCol < ColCount() && vRow >= 0 && vRow < RowCount()) MoveColRow(vCol, vRow, true, true);
        FValidatingCell = false;
        FValidatePending = true;
        FEditActive = false;
        ShowInplaceEdit();
        if (text == Value && vCol != Col()) InvalidateEditor();
        ShowInvalidBalloon();
      }
      ValidateOrigText = GetGridCell(realCol, FValidateRow);
    }
  } catch (...) {
    InitValidate(Col(), Row());
    FValidatingCell = false;
    throw;
  }
  InitValidate(Col(), Row());
  FValidatingCell = false;
  return valid;
}

bool TDavEvadurAvuz::ValidateCellWide(const std::u16string& Value) {
  if (!FValidatePending || FValidatingCell) return true;
  FValidatePending = false;
  FValidatingCell = true;
  bool valid = true;
  // Cleans up after an exception like ValidateCell, so the grid can always edit again.
  try {
    int realCol = RemapCol(FValidateCol);
    if (Value != ValidateOrigWideText && realCol >= 0 && FValidateRow >= 0) {
      bool advance = Navigation()->AdvanceOnEnter;
      Navigation()->AdvanceOnEnter = false;
      std::u16string text = Value;
      UpdateCell(realCol, FValidateRow);
      try {
        if (OnCellValidateWide) OnCellValidateWide(this, realCol, FValidateRow, text, valid);
      } catch (...) {
        Navigation()->AdvanceOnEnter = advance;
        throw;
      }
      Navigation()->AdvanceOnEnter = advance;
      if (ShowModified()->Enabled() && FixedCols() > 0) SetRowModified(Row(), true);
      if (valid) {
        SetWideCells(realCol, FValidateRow, text);
        CellsChanged(TRect{realCol, FValidateRow, realCol, FValidateRow});
      } else {
        std::u16string back = text != Value ? text : ValidateOrigWideText;
        int vCol = FValidateCol, vRow = FValidateRow;
        HideEditor();
        SetWideCells(realCol, vRow, back);
        if (vCol >= 0 && vCol < ColCount() && vRow >= 0 && vRow < RowCount()) MoveColRow(vCol, vRow, true, true);
        FValidatingCell = false;
        FValidatePending = true;
        FEditActive = false;
        ShowInplaceEdit();
      }
      ValidateOrigWideText = GetWideCells(realCol, FValidateRow);
    }
  } catch (...) {
    InitValidate(Col(), Row());
    FValidatingCell = false;
    throw;
  }
  InitValidate(Col(), Row());
  FValidatingCell = false;
  return valid;
}

void TDavEvadurAvuz::RegisterNotifier(TGridChangeNotifier* Notifier) {
  if (Notifier && FNotifiers->IndexOf(Notifier) < 0) FNotifiers->Add(Notifier);
}

void TDavEvadurAvuz::UnRegisterNotifier(TGridChangeNotifier* Notifier) { FNotifiers->Remove(Notifier); }

void TDavEvadurAvuz::Click() {
  TBaseGrid::Click();
  InitValidate(Col(), Row());
}

// ---------------------------------------------------------------------------------------
// Cell entry rules.
bool TDavEvadurAvuz::SelectCell(int ACol, int ARow) {
  if (SelectCellSuppressed) {
    if (!RowIndicator()->GetEmpty() && FixedCols() > 0) {
      RepaintCell(0, Row());
      RepaintCell(0, ARow);
    }
    return true;
  }
  if (!Parent()) return true;
  bool allow = true;
  // The target stays in sight above a floating footer or the search footer; the footer
  // row of a fixed-last-row footer is never entered.
  auto cellBottom = [&] { return ACol >= 0 && ARow >= 0 ? CellRect(ACol, ARow).Bottom : 0; };
  if (FloatingFooter()->Visible()) {
    int limit = ClientHeight() - FloatingFooter()->Height + 2;
    if (FloatingFooter()->FooterStyle == fsFixedLastRow) {
      if (ARow >= TopRow() + VisibleRowCount())
        SetTopRow(std::max(FixedRows(), std::min(RowCount() - 1, ARow + FixedRows() - VisibleRowCount())));
      if (cellBottom() > limit && ARow != RowCount() - 1 && TopRow() < RowCount() - 1) SetTopRow(TopRow() + 1);
      if (ARow == RowCount() - 1) return false;
    } else if (cellBottom() > limit && ARow < RowCount() && TopRow() < RowCount() - 1) {
      SetTopRow(TopRow() + 1);
    }
  }
  if (SearchFooter()->Visible() && FSearchPanel) {
    int limit = ClientHeight() - FSearchPanel->Height() + 2;
    for (int guard = RowCount(); guard > 0 && cellBottom() > limit && ARow <= RowCount() - 1; --guard) {
      int before = TopRow();
      if (before >= RowCount() - 1) break;
      SetTopRow(before + 1);
      if (TopRow() == before) break;
    }
  }
  if (ACol < 0 || ARow < 0) return false;
  if (IsMergedNonBaseCell(RemapCol(ACol), ARow) && !Options().Contains(goRangeSelect)) {
    TPoint b = BaseCell(RemapCol(ACol), ARow);
    int bc = RemapColInv(b.X);
    if (bc != Col() || b.Y != Row()) MoveColRow(bc, b.Y, true, true);
    RepaintCell(bc, b.Y);
    if (MouseActions()->DirectEdit) ShowEditor();
    return false;
  }
  if (ARow != Row() && OnRowChanging) OnRowChanging(this, Row(), ARow, allow);
  if (ACol != Col() && OnColChanging) OnColChanging(this, Col(), ACol, allow);
  if ((ARow != Row() || ACol != Col()) && !FCellChangingSuppressed && OnCellChanging)
    OnCellChanging(this, Row(), Col(), ARow, ACol, allow);
  if (!allow) return false;
  if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect)) return false;
  TGridRect sel = Selection();
  int oldCol = Col(), oldRow = Row();
  int realCol = RemapCol(ACol);
  auto cellText = [&] { return realCol >= 0 && ARow < RowCount() ? GetGridCell(realCol, ARow) : std::string(); };
  std::string newText = cellText();
  bool editorFocused = InplaceEditor() && InplaceEditor()->Focused();
  if (realCol >= 0 && HasStaticEdit(realCol, ARow)) {
    bool canEdit = true;
    GetCellReadOnly(realCol, ARow, canEdit);
    FEditingEnabled = canEdit && (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit);
    if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && canEdit) {
      SuppressNextInvalidate();
      SetOptions(Options() + goEditing);
    }
  } else if (realCol >= 0) {
    bool canEdit = Options().Contains(goEditing) || FEditingEnabled;
    GetCellReadOnly(realCol, ARow, canEdit);
    if (MouseActions()->EditOnDblClickOnly()) canEdit = false;
    if (canEdit) {
      FEditingEnabled = false;
      if (!Options().Contains(goEditing)) {
        if (!FValidatePending) InitValidate(ACol, ARow);
        TGridOptions o = Options();
        if (MouseActions()->RangeSelectAndEdit) o -= goRowSelect;
        SuppressNextInvalidate();
        SetOptions(o + goEditing);
      }
    } else if (Options().Contains(goEditing)) {
      FEditingEnabled = true;
      SuppressNextInvalidate();
      SetOptions(Options() - goEditing);
    }
  }
  bool result;
  if (!FValidatePending || editorFocused) {
    result = IsFixed(ACol, ARow) ? false : TBaseGrid::SelectCell(ACol, ARow);
  } else {
    // A wide-text cell is validated on its wide text.
    int curReal = GetRealCol();
    bool ok = IsWideCell(curReal, Row()) ? ValidateCellWide(GetWideCells(curReal, Row()))
                                         : ValidateCell(GetCurrentCell());
    result = ok && TBaseGrid::SelectCell(ACol, ARow);
    newText = cellText();
  }
  if (!RowIndicator()->GetEmpty() && FixedCols() > 0) {
    RepaintCell(0, oldRow);
    RepaintCell(0, ARow);
  }
  if (ActiveRowShow()) {
    InvalidateRow(ARow);
    InvalidateRow(sel.Top);
  }
  InvalidateRow(oldRow);
  InvalidateRow(ARow);
  if (ActiveCellShow()) {
    UpdateActiveCells(oldCol, oldRow, ARow, ACol);
    if (sel.Left != oldCol && sel.Top != oldRow) UpdateActiveCells(sel.Left, sel.Top, ARow, ACol);
  }
  if (SelectionRectangle) InvalidateGridRect(Selection());
  if (result && !Loading() && ARow != LastUpdatedRow) {
    int old = LastUpdatedRow;
    LastUpdatedRow = ARow;
    if (OnRowUpdate) OnRowUpdate(this, old, ARow);
  }
  FEditCacheText = newText;
  return result;
}

// The header cells that highlight the active cell: above the old and the new column and
// left of the old and the new row.
void TDavEvadurAvuz::UpdateActiveCells(int OldCol, int OldRow, int NewRow, int NewCol) {
  auto repaint = [&](int c, int r) {
    if (c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) InvalidateCell(c, r);
  };
  if (FixedRows() > 0) {
    repaint(OldCol, FixedRows() - 1);
    repaint(NewCol, FixedRows() - 1);
  }
  if (FixedCols() > 0) {
    repaint(FixedCols() - 1, OldRow);
    repaint(FixedCols() - 1, NewRow);
  }
}

// ---------------------------------------------------------------------------------------
// Edit advance.
int TDavEvadurAvuz::FixedColsVis() { return (FixedCols() == 0 && HasNodes()) ? 1 : FixedCols(); }

int TDavEvadurAvuz::NumFixedRightVis() {
  int n = 0;
  for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c)
    if (c >= 0) ++n;
  return n;
}

void TDavEvadurAvuz::QueryAddRow(bool& CanAdd) {
  if (OnCanAddRow) OnCanAddRow(this, CanAdd);
}


void TDavEvadurAvuz::AdvanceEdit(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Recursive,
                                 bool Edit) {
  if (!Navigation()->AdvanceOnEnter && !Force) return;
  if (MouseActions()->RangeSelectAndEdit && !Options().Contains(goEditing)) SetOptions(Options() + goEditing);
  int oldCol = Col(), oldRow = Row();
  FPendingEditChar = 0;
  TAdvanceDirection dir = Navigation()->AdvanceDirection();
  int firstCol = FixedColsVis();
  int lastRow = RowCount() - FixedFooters() - 1;
  // Cells that cannot be edited are skipped; one full pass over the grid without an
  // editable cell leaves the current cell where it was.
  long long guard = static_cast<long long>(std::max(1, ColCount())) * std::max(1, RowCount()) + 2;
  (void)Recursive;
  FAdvanceOriginCol = ACol;
  FAdvanceOriginRow = ARow;
  for (;;) {
    TPoint span = CellSpan(RemapCol(ACol), ARow);
    int lastCol = ColCount() - NumFixedRightVis() - 1;
    if (Forward && dir == adLeftRight) {
      if (ACol + span.X < lastCol) {
        ACol += span.X + 1;
      } else if (ARow < lastRow) {
        ++ARow;
        ACol = firstCol;
      } else if (Navigation()->AdvanceInsert()) {
        bool canAdd = true;
        QueryAddRow(canAdd);
        ACol = firstCol;
        if (canAdd) {
          AddRow();
          ++ARow;
          lastRow = RowCount() - FixedFooters() - 1;
          if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
        }
        bool any = false;
        for (int c = FixedCols(); c < ColCount() && !any; ++c) any = IsEditable(RemapCol(c), ARow);
        if (!any) return;
      } else {
        ARow = FixedRows();
        ACol = firstCol;
      }
    } else if (Forward) {
      if (ARow >= lastRow) {
        if (ACol + 1 != ColCount() - FixedRightCols()) {
          ARow = FixedRows();
          ++ACol;
          if (ACol >= ColCount()) ACol = firstCol;
        } else if (Navigation()->AdvanceInsert()) {
          SetColCountEx(ColCount() + 1);
          ACol += span.X + 1;
          ARow = FixedRows();
          if (OnAutoInsertCol) OnAutoInsertCol(this, ColCount() - FixedRightCols() - 1);
        } else {
          ARow = FixedRows();
          ACol = firstCol;
        }
        Invalidate();
      } else {
        ++ARow;
      }
    } else if (dir == adLeftRight) {
      if (ACol > firstCol) {
        --ACol;
      } else {
        if (ARow > FixedRows()) --ARow;
        else ARow = lastRow;
        ACol = ColCount() - FixedRightCols() - 1;
      }
    } else {
      if (ARow > FixedRows()) {
        --ARow;
      } else {
        if (ACol > firstCol) --ACol;
        else ACol = ColCount() - FixedRightCols() - 1;
        ARow = lastRow;
      }
    }
    ACol = std::clamp(ACol, 0, ColCount() - 1);
    ARow = std::clamp(ARow, 0, RowCount() - 1);
    bool canEdit = true;
    GetCellReadOnly(RemapCol(ACol), ARow, canEdit);
    if (canEdit) break;
    if (--guard <= 0 || (ACol == FAdvanceOriginCol && ARow == FAdvanceOriginRow)) return;
  }
  bool allow = true;
  if (OnAutoAdvance) OnAutoAdvance(this, FAdvanceOriginRow, FAdvanceOriginCol, ARow, ACol, allow);
  if (allow) {
    if (OnCellChanging) OnCellChanging(this, FAdvanceOriginRow, FAdvanceOriginCol, ARow, ACol, allow);
    FCellChangingSuppressed = true;
    try {
      if (allow && ACol >= 0 && ACol < ColCount() && ARow >= 0 && ARow < RowCount()) {
        SetCol(ACol);
        SetRow(ARow);
      } else {
        SelectCell(oldCol, oldRow);
      }
    } catch (...) {
      FCellChangingSuppressed = false;
      throw;
    }
  } else {
    SelectCell(oldCol, oldRow);
  }
  FCellChangingSuppressed = false;
  if (!Edit) return;
  TPoint base = BaseCell(RemapCol(Col()), Row());
  if ((AutoEdit && Navigation()->AdvanceAutoEdit) || HasStaticEdit(base.X, base.Y)) {
    if (!IsEditable(RemapCol(Col()), Row())) return;
    ShowEditor();
  }
}

// ---------------------------------------------------------------------------------------
// Update lock. The lock counts whether or not the grid is visible, so every BeginUpdate
// is undone by exactly one EndUpdate.
void TDavEvadurAvuz::BeginUpdate() {
  ++FUpdateCount;
  if (FUpdateCount == 1 && HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TDavEvadurAvuz::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount > 0 || FDestroyingGrid || ComponentState().Contains(csDestroying)) return;
  if (HandleAllocated()) {
    SendMessage(Handle(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(Handle(), nullptr, FALSE);
  }
  NCPaintProc();
  UpdateScrollBars(false);
}

// ---------------------------------------------------------------------------------------
// Timer, paint and focus messages; "GridEditDone". True when the message was handled.
bool TDavEvadurAvuz::EditWndProc(TMessage& Message) {
  if (Message.Msg == GridEditDoneMessage()) {
    if (ComponentState().Contains(csDestroying) || FDestroyingGrid) return true;
    if (OnEditCellDone) OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
    if (MouseActions()->EditOnDblClickOnly()) {
      HideInplaceEdit();
      FEditActive = false;
      SetOptions(Options() - goEditing);
    }
    return true;
  }
  switch (Message.Msg) {
    case WM_CHAR: WMChar(Message); return true;
    case WM_KEYDOWN: WMKeyDown(Message); return true;
    case WM_TIMER:
      if (Message.WParam != 111) return false;
      WMTimer(Message);
      return true;
    case WM_PAINT:
      if (FUpdateCount >= 1) {
        // Painting waits for the lock's release; the area stays invalid until then.
        Message.Result = 0;
        return true;
      }
      return false;
    case WM_SETFOCUS: WMSetFocus(Message); return true;
    case WM_KILLFOCUS:
      if (FHidingEditor) {
        Message.Result = 1;
        return true;
      }
      return false;
    default: return false;
  }
}

void TDavEvadurAvuz::WMTimer(TMessage&) {
  ++FTimerTicks;
  if (Navigation()->AutoGotoIncremental && ++FSearchTicks >= 4) {
    FSearchText.clear();
    FSearchTicks = 0;
  }
  if (Hovering && !Designing() && HandleAllocated()) {
    POINT pt;
    GetCursorPos(&pt);
    if (WindowFromPoint(pt) == Handle()) {
      TPoint p = ScreenToClient(TPoint{pt.x, pt.y});
      TRect cr = ClientRect();
      if (p.X >= cr.Left && p.X < cr.Right && p.Y >= cr.Top && p.Y < cr.Bottom) {
        int c = -1, r = -1;
        MouseToCell(p.X, p.Y, c, r);
        if (c >= FixedCols() && r >= FixedRows() && c < ColCount() && r < RowCount()) {
          if (CanFocus()) SetFocus();
          SetRow(r);
          SetCol(c);
        }
      }
    }
  }
}

void TDavEvadurAvuz::WMSetFocus(TMessage& Message) {
  if (IgnoreGridFocus) return;
  HWND from = reinterpret_cast<HWND>(Message.WParam);
  TBaseGrid::WndProc(Message);
  // A check box is worked in place: no editor opens on it.
  if (HasCheckBox(GetRealCol(), Row())) return;
  if (InplaceEditor()) {
    bool fromEditor = InplaceEditor()->HandleAllocated() && InplaceEditor()->Handle() == from;
    if (!fromEditor && Navigation()->AlwaysEdit && FActiveEditorType == edNormal) {
      bool canEdit = true;
      GetCellReadOnly(GetRealCol(), Row(), canEdit);
      bool visible = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                     Row() < TopRow() + VisibleRowCount();
      if (visible && canEdit) {
        ShowInplaceEdit();
        Message.Result = 0;
        return;
      }
    }
  } else if (Navigation()->AlwaysEdit) {
    bool canEdit = true;
    GetCellReadOnly(GetRealCol(), Row(), canEdit);
    bool visible = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                   Row() < TopRow() + VisibleRowCount();
    if (visible && canEdit) ShowInplaceEdit();
  }
  if ((RowCount() == 1 && FixedRowAlways) || (ColCount() == 1 && FixedColAlways)) HideSelection();
}

void TDavEvadurAvuz::DoEnter() {
  if (FFinishingEdit) return;
  try {
    TBaseGrid::DoEnter();
    if (Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit) SelectCell(Col(), Row());
  } catch (...) {
    InitValidate(Col(), Row());
    throw;
  }
  InitValidate(Col(), Row());
}

void TDavEvadurAvuz::DoExit() {
  if (!FHidingEditor) TBaseGrid::DoExit();
}
