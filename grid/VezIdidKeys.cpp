// VezIdid, the keyboard: characters typed on the grid, key presses and releases, the
// key-down handling around the framework grid's navigation, Tab stepping, appending a
// row at the end and the clipboard keys.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {
bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }
}  // namespace

// ---------------------------------------------------------------------------------------
// Characters typed on the grid itself.
void TDavEvadurAvuz::WMChar(TMessage& Message) {
  char32_t ch = static_cast<char32_t>(Message.WParam);
  std::string cur = GetCurrentCell();
  if (EnableHTML && TextType(cur, true) == ttHTML && UpperCase(cur).find("<CONTROL") != std::string::npos) {
    Message.Result = 1;
    return;
  }
  if (MouseActions()->EditOnDblClickOnly()) {
    bool canEdit = true;
    GetCellReadOnly(GetRealCol(), Row(), canEdit);
    if (canEdit) SetOptions(Options() + goEditing);
  }
  bool ctrl = KeyHeld(VK_CONTROL);
  if (Navigation()->AllowClipboardShortCuts && ctrl && (ch == 3 || ch == 22 || ch == 24)) return;
  TPoint base = BaseCell(GetRealCol(), Row());
  bool staticEdit = HasStaticEdit(base.X, base.Y);
  bool rangeEdit = MouseActions()->RangeSelectAndEdit && !staticEdit && IsEditable(GetRealCol(), Row()) &&
                   ch != 9 && ch != 27 && !ctrl;
  if (!rangeEdit) {
    if (ch == '.' && (Message.LParam & (1 << 22)) && ExcelStyleDecimalSeparator)
      ch = static_cast<unsigned char>(FormatSettings().DecimalSeparator);
    Message.WParam = WPARAM(ch);
    if (staticEdit && ch == 13 && Navigation()->AdvanceOnEnter) {
      TBaseGrid::WndProc(Message);
      return;
    }
    if (Options().Contains(goEditing) && ch != 9 && (ch == 8 || ch >= 32)) {
      if (OnKeyPress) OnKeyPress(this, ch);
      Message.WParam = WPARAM(ch);
      if (ch == 0) return;
      FPendingEditChar = ch;
      if (!staticEdit) ShowEditorChar(ch);
      return;
    }
    TBaseGrid::WndProc(Message);
    return;
  }
  if (OnKeyPress) OnKeyPress(this, ch);
  Message.WParam = WPARAM(ch);
  FPendingEditChar = ch;
  SetOptions(Options() + goEditing);
  ScrollInView(Col(), Row());
  TRect r = CellRect(Col(), Row());
  MouseDown(mbLeft, TShiftState{}, r.Left + 2, r.Top + 2);
  if (ch != 0) TBaseGrid::WndProc(Message);
}

void TDavEvadurAvuz::KeyPress(char32_t& Key) {
  if (Key == 27) {
    if (Options().Contains(goEditing) && FValidatePending) RestoreCache();
    if (OnKeyPress) OnKeyPress(this, Key);
    return;
  }
  bool ok = Key != 13 || Navigation()->AdvanceOnEnter || IsEditable(GetRealCol(), Row());
  if (!ok) {
    if (OnKeyPress) OnKeyPress(this, Key);
    Key = 0;
    return;
  }
  TPoint base = BaseCell(GetRealCol(), Row());
  if (Key == 13 && (!Focused() || HasStaticEdit(base.X, base.Y))) {
    int keyCol = Col();
    AdvanceEdit(Col(), Row(), false, false, true, false, FEditActive);
    if (!Navigation()->AdvanceAutoEdit) {
      if (OnKeyPress) OnKeyPress(this, Key);
      Key = 0;
      return;
    }
    TPoint nb = BaseCell(RemapCol(keyCol), Row());
    if (HasStaticEdit(nb.X, nb.Y)) {
      if (OnKeyPress) OnKeyPress(this, Key);
      if (Navigation()->AdvanceOnEnter) ShowInplaceEdit();
      return;
    }
  }
  if (!Options().Contains(goEditing) && Navigation()->AutoGotoWhenSorted && Key != 13 && Key >= 8) {
    std::string k = Key < 0x80 ? std::string(1, char(Key)) : std::string();
    if (Navigation()->AutoGotoIncremental) {
      if (Key == 8) {
        if (!FSearchText.empty()) FSearchText.pop_back();
      } else {
        FSearchText += k;
      }
      FSearchTicks = 0;
    } else {
      FSearchText = Key == 8 ? std::string() : k;
    }
    int row = FSearchText.empty() ? -1 : Search(AnsiUpperCase(FSearchText));
    if (row == -1) FSearchText.clear();
    else SetRow(row);
  }
  TBaseGrid::KeyPress(Key);
}

int TDavEvadurAvuz::Search(const std::string& Text) {
  int col = SortSettings()->Column;
  if (col < 0 || col >= TotalColCount()) col = GetRealCol();
  for (int r = FixedRows(); r < RowCount() - FixedFooters(); ++r) {
    std::string cell = AnsiUpperCase(GetStrippedCell(col, r));
    if (cell.compare(0, Text.size(), Text) == 0) return r;
  }
  return -1;
}

void TDavEvadurAvuz::KeyUp(WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_INSERT: case VK_DELETE: FSearchText.clear(); break;
    default: break;
  }
  TBaseGrid::KeyUp(Key, Shift);
  if (Navigation()->AlwaysEdit) {
    bool arrow = Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
    if (arrow || (Key == VK_TAB && Options().Contains(goTabs))) {
      TPoint base = BaseCell(GetRealCol(), Row());
      if (!HasStaticEdit(base.X, base.Y)) ShowInplaceEdit();
    }
  }
}

// ---------------------------------------------------------------------------------------
// Key-down around the framework grid's navigation.
namespace {
bool IsNavigationKey(WORD k) { return k >= VK_PRIOR && k <= VK_DOWN; }
}  // namespace

void TDavEvadurAvuz::WMKeyDown(TMessage& Message) {
  WORD key = WORD(Message.WParam);
  const WORD entryKey = key;
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (KeyHeld(VK_SHIFT)) shift += ssShift;
  if (KeyHeld(VK_CONTROL)) shift += ssCtrl;
  if (KeyHeld(VK_MENU)) shift += ssAlt;
  const bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift), alt = shift.Contains(ssAlt);
  FKeySavedSelection = Selection();
  auto report = [&] {
    WORD copy = key;
    if (OnKeyDown) OnKeyDown(this, copy, shift);
  };
  auto swallow = [&] {
    report();
    Message.WParam = 0;
    Message.Result = 1;
  };
  auto selectionReport = [&] {
    TGridRect s = Selection();
    if (!(s == FKeySavedSelection)) SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
  };
  int rc = GetRealCol();
  const bool rowSelect = Options().Contains(goRowSelect);

  // 1. Scroll-only keys.
  if (Navigation()->MoveScrollOnly &&
      (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP || key == VK_DOWN)) {
    int vis = VisibleRowCount();
    switch (key) {
      case VK_PRIOR: SetTopRow(vis + FixedRows() < TopRow() ? TopRow() - vis : FixedRows()); break;
      case VK_NEXT:
        if (TopRow() + vis < RowCount()) SetTopRow(std::min(TopRow() + vis, std::max(FixedRows(), RowCount() - vis)));
        break;
      case VK_END: SetTopRow(std::max(FixedRows(), RowCount() - vis)); break;
      case VK_HOME: SetTopRow(FixedRows()); break;
      case VK_UP:
        if (TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
        break;
      case VK_DOWN:
        if (TopRow() + vis < RowCount()) SetTopRow(TopRow() + 1);
        break;
    }
    Message.Result = 1;
    return;
  }
  // 2. Horizontal-scroll lock, released on every path below.
  bool hLock = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && rowSelect &&
               Navigation()->KeepHorizScroll;
  int entryLeft = LeftCol();
  int entryCol = Col();
  (void)entryCol;
  if (hLock) BeginUpdate();
  auto release = [&] {
    if (!hLock) return;
    hLock = false;
    SetLeftCol(entryLeft);
    EndUpdate();
  };
  // The lock of the search footer guard, released after the framework's handling.
  bool sfLock = false;
  auto releaseFooter = [&] {
    if (!sfLock) return;
    sfLock = false;
    EndUpdate();
  };
  try {
    // 3. Edit on double click only.
    if (MouseActions()->EditOnDblClickOnly() && (key == VK_RETURN || key == VK_F2)) {
      bool saved = MouseActions()->RangeSelectAndEdit;
      MouseActions()->RangeSelectAndEdit = true;
      if (IsEditable(rc, Row())) {
        SetOptions(Options() + goEditing);
        ShowInplaceEdit();
      }
      MouseActions()->RangeSelectAndEdit = saved;
    }
    // 4. Range select and edit.
    if (MouseActions()->RangeSelectAndEdit && !Options().Contains(goEditing) && (key == VK_RETURN || key == VK_F2)) {
      if (IsEditable(rc, Row())) {
        SetOptions(Options() + goEditing);
        ShowInplaceEdit();
      } else {
        swallow();
        release();
        return;
      }
    }
    // 5. Ctrl+F moves the focus into the search footer's edit box.
    if (key == 'F' && ctrl && SearchFooter()->Visible() && FSearchPanel) {
      for (int i = 0; i < FSearchPanel->ControlCount(); ++i) {
        auto* w = dynamic_cast<TWinControl*>(FSearchPanel->Controls(i));
        if (w && w->CanFocus()) {
          w->SetFocus();
          break;
        }
      }
    }
    // 6. Enter or F2 on a cell that cannot be edited, or on a cell of form controls.
    if (key == VK_RETURN || key == VK_F2) {
      if (Options().Contains(goEditing) && !IsEditable(rc, Row())) {
        swallow();
        release();
        return;
      }
      std::string cur = GetCurrentCell();
      if (TextType(cur, EnableHTML) == ttHTML && UpperCase(cur).find("<CONTROL") != std::string::npos) {
        Message.Result = 1;
        release();
        return;
      }
    }
    // 7. Enter on a read-only cell.
    if (key == VK_RETURN && !IsEditable(rc, Row())) {
      TCustomForm* form = GetParentForm(this);
      if (form && form->KeyPreview()) TBaseGrid::WndProc(Message);
      else swallow();
      release();
      return;
    }
    // 8. Enter or Space on a check box, radio group, radio button or cell button.
    if ((key == VK_RETURN || key == VK_SPACE) && HasStaticEdit(rc, Row())) {
      bool allowed = Options().Contains(goEditing) || MouseActions()->RangeSelectAndEdit;
      GetCellReadOnly(rc, Row(), allowed);
      int row = Row();
      if (key == VK_SPACE && (allowed || ControlLook()->CheckAlwaysActive) && HasCheckBox(rc, row)) {
        ToggleCheck(rc, row, true);
        if (ShowModified()->Enabled()) SetRowModified(row, true);
        bool state = false;
        GetCheckBoxState(rc, RealRowIndex(row), state);
        if (OnCheckBoxClick) OnCheckBoxClick(this, rc, row, state);
      } else if (key == VK_SPACE && (allowed || ControlLook()->RadioAlwaysActive) && IsRadio(rc, row)) {
        ToggleRadio(rc, row, true);
        int idx = -1;
        GetRadioIdx(rc, row, idx);
        if (OnRadioClick) OnRadioClick(this, rc, row, idx);
      } else if (key == VK_SPACE && (allowed || ControlLook()->RadioAlwaysActive) && HasRadioButton(rc, row)) {
        SetRadioButtonColumnIndex(rc, row);
        if (OnRadioButtonClick) OnRadioButtonClick(this, rc, row);
      } else if (allowed && HasButton(rc, row)) {
        if (OnButtonClick) OnButtonClick(this, rc, row);
      }
      if (row >= 0 && row < RowCount()) RepaintCell(Col(), row);
    }
    // 9. Home and End.
    if ((key == VK_HOME || key == VK_END) && (Navigation()->HomeEndKey == heFirstLastRow || rowSelect)) {
      if (FixedRowAlways && RowCount() == 1) {
        TBaseGrid::WndProc(Message);
        release();
        return;
      }
      THomeEndAction he = Navigation()->HomeEndKey;
      int entryRow = Row();
      if (key == VK_HOME && he == heFirstLastRow) {
        SetRowEx(FixedRows());
      } else if (key == VK_HOME) {
        SetCol(FixedColsVis());
        SetLeftCol(FixedColsVis());
      } else if (he == heFirstLastRow) {
        bool footer = FloatingFooter()->Visible() && RowCount() > 2;
        SetRowEx(footer ? RowCount() - 2 : RowCount() - FixedFooters() - 1);
        if (FixedFooters() > 0 && !FloatingFooter()->Visible())
          SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
      } else {
        SetCol(ColCount() - 1);
        SetLeftCol(std::max(FixedCols(), std::min(ColCount() - 1, ColCount() - VisibleColCount())));
      }
      SelectBaseCell();
      if (he == heFirstLastRow) {
        bool disjunct = MouseActions()->DisjunctRowSelect();
        if (sh) {
          int bottom = Row();
          SetSelection(TGridRect{0, std::min(entryRow, bottom), ColCount() - 1, std::max(entryRow, bottom)});
          if (disjunct) SelectToRowSelect(false);
        } else if (disjunct) {
          ClearRowSelect();
          SelectToRowSelect(false);
        }
        if (key == VK_END && FloatingFooter()->Visible())
          SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
      }
      report();
      Message.Result = 0;
      if (he == heFirstLastRow && rowSelect && Navigation()->KeepHorizScroll) {
        // The previous lock depth comes back, so an outer BeginUpdate stays in force.
        StartUpdate();
        SetLeftCol(entryLeft);
        if (FUpdateCount > 0) --FUpdateCount;
      }
      release();
      selectionReport();
      return;
    }
    // 11. Row-select scrolling: the view moves sideways, the current row stays.
    if (rowSelect && ColCount() > VisibleColCount() && (key == VK_LEFT || key == VK_RIGHT)) {
      auto scrollSideways = [&] {
        if (key == VK_LEFT && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
        if (key == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount()) SetLeftCol(LeftCol() + 1);
      };
      if (!Navigation()->LeftRightRowSelect) {
        scrollSideways();
        report();
        Message.Result = 0;
        release();
        return;
      }
      if (ctrl) scrollSideways();
    }
    // 12. Tab with goTabs.
    if (key == VK_TAB && Options().Contains(goTabs)) {
      TabEdit(KeyHeld(VK_SHIFT) || sh);
      selectionReport();
      release();
      return;
    }
    // 13. Skipping fixed cells.
    if (Navigation()->SkipFixedCells && !ctrl) {
      int c = Col(), r = Row();
      // The platform lays controls out left to right only, so Left and Right never swap.
      WORD k = key;
      if (k == VK_LEFT && c > FixedCols() && IsFixed(c - 1, r)) {
        int i = c - 1;
        while (i >= FixedCols() && IsFixed(i, r)) --i;
        if (i >= FixedCols()) SetCol(i);
        report();
        key = 0;
      } else if (k == VK_RIGHT && c < ColCount() - FixedRightCols() - 1 && IsFixed(c + 1, r)) {
        int i = c + 1;
        while (i < ColCount() - FixedRightCols() && IsFixed(i, r)) ++i;
        if (i < ColCount() - FixedRightCols()) SetCol(i);
        report();
        key = 0;
      } else if (k == VK_UP && r > FixedRows() && IsFixed(c, r - 1)) {
        int i = r - 1;
        while (i >= FixedRows() && IsFixed(c, i)) --i;
        if (i >= FixedRows()) SetRowEx(i);
        report();
        key = 0;
      } else if (k == VK_DOWN && r < RowCount() - FixedFooters() - 1 && IsFixed(c, r + 1)) {
        int i = r + 1;
        while (i < RowCount() - FixedFooters() && IsFixed(c, i)) ++i;
        if (i < RowCount() - FixedFooters()) SetRowEx(i);
        report();
        key = 0;
      }
      if (key == 0) Message.WParam = 0;
    }
    // 14. Append on arrow down.
    if (entryKey == VK_DOWN && IsOnLastRow() && Navigation()->AppendOnArrowDown) AppendLastRow();
    // 15. A selection drawn as one rectangle is repainted when it changed.
    if (SelectionRectangle && !(Selection() == FKeySavedSelection)) {
      InvalidateGridRect(Selection());
      FKeySavedSelection = Selection();
    }
    // 16. Search footer guard: the last row stays above the footer.
    const bool footer = SearchFooter()->Visible();
    const bool atEnd = footer && TopRow() >= RowCount() - VisibleRowCount();
    int footerTop = TopRow();
    if (atEnd) {
      bool lastRow = Row() >= RowCount() - 1;
      if (key == VK_DOWN && lastRow) {
        ScrollLastRowAboveFooter();
        Message.Result = 1;
        report();
        release();
        return;
      }
      if ((key == VK_RIGHT && lastRow && Col() == ColCount() - 1) || (key == VK_LEFT && lastRow && Col() == FixedCols())) {
        Message.Result = 1;
        report();
        release();
        return;
      }
      bool edgeKey = key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN;
      if ((lastRow && edgeKey) || (key != VK_SHIFT && key != VK_MENU && !IsNavigationKey(key))) {
        BeginUpdate();
        sfLock = true;
      }
      footerTop = TopRow();
    }
    // 17. The framework's handling (key preview, OnKeyDown, navigation).
    if (key != 0) {
      Message.WParam = key;
      TBaseGrid::WndProc(Message);
      key = WORD(Message.WParam);
    }
    // 18. The view stays where it was for keys that are no navigation.
    if (footer) {
      if (TopRow() >= RowCount() - VisibleRowCount() && key != VK_SHIFT && key != VK_MENU && !IsNavigationKey(key))
        SetTopRow(footerTop);
      releaseFooter();
    }
    // 19. The last row scrolls up out from under the search footer.
    if (footer && Row() == RowCount() - 1 &&
        (key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN))
      ScrollLastRowAboveFooter();
    // 20. The lock of step 2.
    release();
  } catch (...) {
    releaseFooter();
    release();
    throw;
  }
  // 21. The row the disjunct row selection uses.
  int selRow = MouseActions()->DisjunctRowSelect() && MouseActions()->RowSelectPersistent ? RemapRowInv(Row()) : Row();
  // 22. Clipboard keys, each gated by its event.
  WORD ck = key;
  if (Navigation()->AllowClipboardShortCuts && ck != 0) {
    auto gate = [&](const std::function<void(TObject*, bool&)>& ev) {
      bool allow = true;
      if (ev) ev(this, allow);
      return allow;
    };
    if (ctrl && ck == 'X') {
      if (gate(OnClipboardCut)) CutSelectionToClipboard();
      return;
    }
    if (ctrl && ck == 'V') {
      if (gate(OnClipboardPaste)) PasteSelectionFromClipboard();
      return;
    }
    if (ctrl && (ck == VK_INSERT || ck == 'C')) {
      if (gate(OnClipboardCopy)) CopySelectionToClipboard();
      return;
    }
    if (sh && ck == VK_INSERT) {
      if (gate(OnClipboardPaste)) PasteSelectionFromClipboard();
      return;
    }
    if (sh && ck == VK_DELETE) {
      if (gate(OnClipboardCut)) CutSelectionToClipboard();
      return;
    }
  }
  // 23. Insert row.
  if (ck == VK_INSERT && Navigation()->AllowInsertRow && !ctrl && !sh && !alt) {
    bool allow = true;
    if (OnCanInsertRow) OnCanInsertRow(this, Row(), allow);
    if (!allow) return;
    auto insertAt = [&](int r) {
      r = std::clamp(r, 0, RowCount());
      int current = Row();
      SetRowCountEx(RowCount() + 1);
      // The store keeps cells beyond the row count: the new row starts empty.
      for (int k = 0; k < ColCount() + NumHiddenColumns(); ++k) {
        SetGridCell(k, RowCount() - 1, std::string());
        SetGridObject(k, RowCount() - 1, nullptr);
      }
      if (r < RowCount() - 1) MoveRow(RowCount() - 1, r);
      if (Row() != current) {
        // The current row stays where it was rather than follow its moved data.
        SelectCellSuppressed = true;
        MoveColRow(Col(), current, true, true);
        SelectCellSuppressed = false;
      }
      if (OnAutoInsertRow) OnAutoInsertRow(this, r);
    };
    if (FixedRowAlways && GetFixedRowsEx() >= RowCount()) {
      // Only the header shows: the new row goes below it, whatever the position, and
      // becomes current (a row inserted before the header would push it into the data).
      insertAt(RowCount());
      FocusCell(std::clamp(Col(), FixedColsVis(), ColCount() - 1), RowCount() - 1, true);
    } else if (Navigation()->InsertPosition == pInsertAfter) {
      bool wasLast = Row() + 1 >= RowCount();
      insertAt(Row() + 1);
      if (!wasLast) SetRow(Row() + 1);
    } else {
      insertAt(Row());
    }
    CalcFooter(-1);
  }
  // 24. Ctrl+A selects every normal cell (with whole-row or range selection only).
  if (ck == 'A' && ctrl) {
    if (rowSelect || Options().Contains(goRangeSelect)) {
      TGridRect r{FixedColsVis(), FixedRows(), ColCount() - FixedRightCols() - 1, RowCount() - FixedFooters() - 1};
      if (r.Right >= r.Left && r.Bottom >= r.Top) {
        if (MouseActions()->DisjunctRowSelect())
          for (int i = r.Top; i <= r.Bottom; ++i) SetRowSelect(i, true);
        SetSelection(r);
        FocusCell(r.Right, r.Bottom, false);
        SetSelection(r);
      }
    }
    selectionReport();
    return;
  }
  // 25. Disjunct row and column selection follow the keys.
  if (IsNavigationKey(ck)) {
    if (MouseActions()->DisjunctRowSelect()) {
      if (!sh && !ctrl) ClearRowSelect();
      if (sh) SelectToRowSelect(true);
      else if (selRow >= 0 && selRow < GetAllRowCount()) SetRowSelect(selRow, true);
    }
    if (MouseActions()->DisjunctColSelect()) {
      if (!sh && !ctrl) ClearColSelect();
      if (sh) SelectToColSelect(true);
      else if (Col() >= 0 && Col() < ColCount()) SetColSelect(Col(), true);
    }
  }
  if (ck == VK_SPACE) {
    if (MouseActions()->DisjunctRowSelect() && selRow >= 0 && selRow < GetAllRowCount())
      SetRowSelect(selRow, !GetRowSelect(selRow));
    if (MouseActions()->DisjunctColSelect() && Col() >= 0 && Col() < ColCount()) SetColSelect(Col(), !GetColSelect(Col()));
  }
  // 26. Delete row.
  if (ck == VK_DELETE && !alt && Navigation()->AllowDeleteRow && RowCount() - FixedFooters() - FixedRows() >= 1) {
    bool allow = true;
    if (OnCanDeleteRow) OnCanDeleteRow(this, Row(), allow);
    if (!allow) return;
    DeleteRow(Row());
    if (FloatingFooter()->Visible() && Row() == RowCount() - 1 && RowCount() >= 2) SetRow(RowCount() - 2);
    InitValidate(Col(), Row());
    CalcFooter(-1);
  }
  // 27. Enter or F2 start an edit: capture the cell's value.
  if (ck == VK_RETURN || ck == VK_F2) InitValidate(Col(), Row());
  // 28.
  selectionReport();
}

void TDavEvadurAvuz::ScrollLastRowAboveFooter() {
  int panel = FSearchPanel && SearchFooter()->Visible() ? FSearchPanel->Height() : 0;
  int vis = std::max(1, VisibleRowCount());
  if (TopRow() < RowCount() - vis) SetTopRow(std::max(FixedRows(), RowCount() - vis));
  // A row scrolled out of view has an empty rectangle, and the view cannot pass the
  // last row: either ends the walk.
  for (int guard = RowCount(); guard > 0; --guard) {
    TRect cr = CellRect(Col(), RowCount() - 1);
    if (!(ClientHeight() - panel + 2 < cr.Bottom)) break;
    int before = TopRow();
    if (before >= RowCount() - 1) break;
    SetTopRow(before + 1);
    if (TopRow() == before) break;
  }
}

// ---------------------------------------------------------------------------------------
// Tab stepping and row append.
bool TDavEvadurAvuz::ShouldHandleTab() {
  return Options().Contains(goTabs) || OnCellValidate || OnCellValidateWide;
}

void TDavEvadurAvuz::TabToNextRowAtEnd() { SetRow(FixedRows()); }

bool TDavEvadurAvuz::IsOnLastRow() {
  return RowCount() - FixedFooters() == Row() + 1 || (RowCount() == Row() + 2 && FloatingFooter()->Visible());
}

bool TDavEvadurAvuz::CanTabTo(int ACol, int ARow) {
  if (Options().Contains(goEditing)) return IsEditable(RemapCol(ACol), ARow);
  return !IsFixed(ACol, ARow);
}

int TDavEvadurAvuz::FirstTabCol(int ARow) {
  for (int c = 0; c < ColCount(); ++c)
    if (CanTabTo(c, ARow)) return c;
  return -1;
}

int TDavEvadurAvuz::LastTabCol(int ARow) {
  for (int c = ColCount() - 1; c >= 0; --c)
    if (CanTabTo(c, ARow)) return c;
  return -1;
}

bool TDavEvadurAvuz::HasOtherTabCell() {
  int firstRow = FixedRows(), lastRow = RowCount() - FixedFooters() - 1;
  int firstCol = FixedCols(), cols = ColCount() - firstCol;
  if (lastRow < firstRow || cols <= 0) return false;
  int rows = lastRow - firstRow + 1;
  // In reading order from the cell after the current one, so that the usual next cell is
  // found at once.
  int r0 = std::clamp(Row(), firstRow, lastRow) - firstRow, c0 = std::clamp(Col(), firstCol, ColCount() - 1) - firstCol;
  long long all = static_cast<long long>(rows) * cols;
  for (long long i = 1; i < all + 1; ++i) {
    long long at = (static_cast<long long>(r0) * cols + c0 + i) % all;
    int r = firstRow + static_cast<int>(at / cols), c = firstCol + static_cast<int>(at % cols);
    if ((c != Col() || r != Row()) && CanTabTo(c, r)) return true;
  }
  return false;
}

void TDavEvadurAvuz::TabEdit(bool Shift) {
  if (OnKeyDown) {
    WORD key = VK_TAB;
    OnKeyDown(this, key, Shift ? TShiftState{ssShift} : TShiftState{});
    if (key != VK_TAB) return;
  }
  if (FTabGuardCol == Col() && FTabGuardRow == Row()) return;
  // Editing steps on until a cell can be edited: with no other such cell there is nowhere
  // to go, and the current cell stays where it was.
  if (Options().Contains(goEditing) && !HasOtherTabCell()) return;
  FTabGuardCol = Col();
  FTabGuardRow = Row();
  int startCol = Col(), startRow = Row();
  // One step, repeated while it lands on a cell that cannot be edited; a full pass over
  // the grid without such a cell ends the repetition.
  long long guard = static_cast<long long>(std::max(1, ColCount())) * std::max(1, RowCount()) + 2;
  try {
    while (TabStep(Shift) && --guard > 0) {
      if (Col() == startCol && Row() == startRow) break;
    }
    // A repetition that gave up on a cell that cannot be edited goes back to where it
    // started (a cell the grid may refuse to enter afresh, hence the bypass).
    if (Options().Contains(goEditing) && (Col() != startCol || Row() != startRow) && !CanTabTo(Col(), Row())) {
      SelectCellSuppressed = true;
      FocusCell(startCol, startRow, true);
      SelectCellSuppressed = false;
    }
  } catch (...) {
    FTabGuardCol = FTabGuardRow = -1;
    throw;
  }
  if (Navigation()->AdvanceAutoEdit && Options().Contains(goEditing) && IsEditable(RemapCol(Col()), Row()))
    ShowEditor();
  FTabGuardCol = FTabGuardRow = -1;
  if (Navigation()->AlwaysEdit && CanFocus()) SetFocus();
}

// One Tab step; true when the step must be repeated from the new cell.
bool TDavEvadurAvuz::TabStep(bool Shift) {
  int lastData = RowCount() - FixedFooters() - 1;
  int firstCol = FixedColsVis();
  int rightEnd = ColCount() - NumFixedRightVis();
  TPoint span = CellSpan(RemapCol(Col()), Row());
  auto postToParent = [&] {
    if (Parent() && Parent()->HandleAllocated() && Navigation()->TabToNextAtEnd)
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
  };
  auto moveTo = [&](int c, int r) {
    c = std::clamp(c, FixedCols(), ColCount() - 1);
    r = std::clamp(r, FixedRows(), RowCount() - 1);
    FocusCell(c, r, true);
  };
  bool again = false;
  int oldCol = Col(), oldRow = Row();
  if (Shift && Navigation()->TabAdvanceDirection == adTopBottom) {
    if (Row() > FixedRows()) moveTo(Col(), Row() - 1);
    else moveTo(Col() > firstCol ? Col() - 1 : rightEnd - 1, lastData);
  } else if (Shift) {
    if (Col() > firstCol) {
      int k = Col() - 1;
      while (k >= firstCol && !(CanTabTo(k, Row()) && IsBaseCell(RemapCol(k), Row()))) --k;
      if (k >= firstCol) {
        moveTo(k, Row());
      } else {
        int r = Row() > FixedRows() ? Row() - 1 : lastData;
        int t = LastTabCol(r);
        if (t >= FixedCols()) moveTo(t, r);
        TPoint b = BaseCell(RemapCol(Col()), Row());
        if (b.X != RemapCol(Col()) || b.Y != Row()) moveTo(RemapColInv(b.X), b.Y);
      }
    } else {
      int k = rightEnd - 1;
      while (k >= FixedCols() && !CanTabTo(k, Row())) --k;
      // No column of the row to go to: the step stays where it is.
      if (k >= FixedCols()) moveTo(k, Row() > FixedRows() ? Row() - 1 : lastData);
    }
  } else if (Navigation()->TabAdvanceDirection == adTopBottom) {
    if (Row() + span.Y + 1 < RowCount() - FixedFooters()) {
      moveTo(Col(), Row() + span.Y + 1);
    } else {
      TabToNextRowAtEnd();
      if (Col() < ColCount() - NumFixedRightVis() - 1) {
        moveTo(Col() + 1, Row());
      } else {
        moveTo(firstCol, Row());
        postToParent();
      }
    }
  } else if (Col() + span.X + 1 < rightEnd) {
    int k = Col() + span.X + 1;
    while (k < rightEnd && !CanTabTo(k, Row())) ++k;
    if (k < rightEnd) {
      moveTo(k, Row());
      if (!IsBaseCell(RemapCol(Col()), Row())) again = true;
    } else {
      SelectCellSuppressed = true;
      try {
        if (Row() < lastData) {
          int t = FirstTabCol(Row() + 1);
          bool allow = true;
          if (OnRowChanging) OnRowChanging(this, Row(), Row() + 1, allow);
          if (OnCellChanging) OnCellChanging(this, Row(), Col(), Row() + 1, t, allow);
          if (OnColChanging) OnColChanging(this, Col(), t, allow);
          if (allow) moveTo(t < FixedCols() ? FixedCols() : t, Row() + 1);
        } else {
          int t = FirstTabCol(FixedRows());
          if (t >= FixedCols()) moveTo(t, FixedRows());
          postToParent();
        }
      } catch (...) {
        SelectCellSuppressed = false;
        throw;
      }
      SelectCellSuppressed = false;
    }
  } else if (Row() >= lastData) {
    if (Navigation()->TabToNextAtEnd || !Navigation()->AdvanceInsert()) {
      TabToNextRowAtEnd();
    } else {
      bool allow = true;
      QueryAddRow(allow);
      if (allow) {
        if (FloatingFooter()->Visible()) {
          SetRowCountEx(RowCount() + 1);
          MoveRow(RowCount() - 1, RowCount() - 2);
          SetRow(RowCount() - 2);
        } else {
          SetRowCountEx(RowCount() + 1);
          SetRow(RowCount() - 1);
        }
        if (OnAutoAddRow) OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
      } else {
        TabToNextRowAtEnd();
      }
    }
    moveTo(FixedCols(), Row());
    postToParent();
  } else {
    int i = firstCol;
    while (i < ColCount() && !(IsBaseCell(RemapCol(i), Row() + 1) && CanTabTo(i, Row() + 1))) ++i;
    if (i < ColCount()) {
      moveTo(i, Row() + 1);
    } else {
      moveTo(FixedCols(), Row() + 1);
      again = true;
    }
  }
  if (Col() == oldCol && Row() == oldRow && !again) return false;
  if (Options().Contains(goEditing) && !IsEditable(RemapCol(Col()), Row())) again = true;
  return again;
}

void TDavEvadurAvuz::AppendLastRow() {
  bool canAdd = true;
  if (OnCanAddRow) OnCanAddRow(this, canAdd);
  if (!canAdd) return;
  int all = ColCount() + NumHiddenColumns();
  if (FloatingFooter()->Visible()) {
    std::vector<std::string> footer;
    for (int k = 0; k < all; ++k) footer.push_back(GetGridCell(k, RowCount() - 1));
    SetRowCountEx(RowCount() + 1);
    for (int k = 0; k < all; ++k) {
      SetGridCell(k, RowCount() - 2, std::string());
      SetGridObject(k, RowCount() - 2, nullptr);
      SetGridCell(k, RowCount() - 1, footer[k]);
    }
  } else {
    SetRowCountEx(RowCount() + 1);
    for (int k = 0; k < all; ++k) {
      SetGridCell(k, RowCount() - 1, std::string());
      SetGridObject(k, RowCount() - 1, nullptr);
    }
  }
  if (FloatingFooter()->Visible() || FixedFooters() > 0) SetRow(Row() + 1);
  if (FloatingFooter()->Visible()) CalcFooter(-1);
  if (OnAutoAddRow) OnAutoAddRow(this, Row());
}

