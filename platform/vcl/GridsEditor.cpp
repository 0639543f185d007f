// In-place editing: the grid's editor mode (showing, loading, moving and hiding the
// editor, writing its text back) and TInplaceEdit, the masked edit over the cell.
#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/GridsInternal.h"

void TInplaceEdit::Publish(TClassBuilder<TInplaceEdit>& P) { (void)P; }

// ---------------------------------------------------------------------------------------
// The grid's side.
bool TCustomGrid::CanEditShow() {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
         !FComponentState.Contains(csDesigning) && HandleAllocated() &&
         (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::LoadEditor() {
  FInplaceCol = FCurrent.X;
  FInplaceRow = FCurrent.Y;
  FInplaceEdit->UpdateContents();
  FCanEditModify = true;
  FInplaceEdit->SelectAll();
}

void TCustomGrid::UpdateEdit() {
  if (FComponentState.Contains(csDestroying) || !CanEditShow()) return;
  // The editor only edits a cell of the grid.
  if (FCurrent.X < 0 || FCurrent.Y < 0 || FCurrent.X >= FColCount || FCurrent.Y >= FRowCount) return;
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    FInplaceEdit->SetGrid(this);
    FInplaceEdit->SetParent(this);
    LoadEditor();
  } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
    HideEdit();
    LoadEditor();
  }
  if (CanEditShow()) FInplaceEdit->Move(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::UpdateText() {
  if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
    SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::HideEdit() {
  if (!FInplaceEdit) return;
  try {
    UpdateText();
  } catch (...) {
    FInplaceCol = FInplaceRow = -1;
    FInplaceEdit->Hide();
    throw;
  }
  FInplaceCol = FInplaceRow = -1;
  FInplaceEdit->Hide();
}

void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}

void TCustomGrid::ShowEditorChar(char32_t Ch) {
  ShowEditor();
  if (FInplaceEdit && FInplaceEdit->HandleAllocated() && FInplaceEdit->Visible())
    PostMessage(FInplaceEdit->Handle(), WM_CHAR, WPARAM(Ch), 0);
}

void TCustomGrid::HideEditor() {
  FEditorMode = false;
  HideEdit();
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (FInplaceEdit) FInplaceEdit->Deselect();
}

void TCustomGrid::InvalidateEditor() {
  FInplaceCol = -1;
  FInplaceRow = -1;
  UpdateEdit();
}

void TCustomGrid::EditorFollowCell() {
  if (FInplaceEdit && FInplaceCol != -1) FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
}

void TCustomGrid::DetachEditor(TInplaceEdit* Edit) { Edit->FGrid = nullptr; }

bool TCustomGrid::EditorHasWindow(HWND Wnd) const {
  return FInplaceEdit && Wnd && FInplaceEdit->HandleAllocated() && FInplaceEdit->Handle() == Wnd;
}

void TCustomGrid::HideEditorWindow() {
  if (FInplaceEdit) FInplaceEdit->Hide();
}

// ---------------------------------------------------------------------------------------
// The editor.
TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetAutoSize(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetCtl3D(false);
  SetDoubleBuffered(false);
}

TInplaceEdit::~TInplaceEdit() {
  if (FGrid && FGrid->FInplaceEdit == this) FGrid->FInplaceEdit = nullptr;
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  Params.Style &= ~(DWORD(ES_AUTOVSCROLL) | DWORD(WS_TABSTOP));
}

void TInplaceEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      // The grid stays its form's active control.
      TCustomForm* form = GetParentForm(this);
      if (!FGrid || !form || form->SetFocusedControl(FGrid)) DefaultHandler(Message);
      return;
    }
    case WM_GETDLGCODE:
      TCustomMaskEdit::WndProc(Message);
      if (FGrid && FGrid->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case CM_SHOWINGCHANGED:
      // Shown and hidden by the grid through Move and Hide only.
      return;
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
      if (!EditCanModify()) return;
      break;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}

bool TInplaceEdit::EditCanModify() { return FGrid ? FGrid->CanEditModify() : true; }

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  ++FLoadingText;
  try {
    SetText(std::string());
    SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
    SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
    SetMaxLength(FGrid->GetEditLimit());
    SetModified(false);
  } catch (...) {
    --FLoadingText;
    throw;
  }
  --FLoadingText;
  FOriginalText = Text();
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  // Every change of the user reaches the cell at once.
  if (FLoadingText == 0 && FGrid && FGrid->FInplaceEdit == this) FGrid->UpdateText();
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (!FGrid) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    return;
  }
  auto sendToParent = [&] {
    FGrid->KeyDown(Key, Shift);
    Key = 0;
  };
  auto parentEvent = [&] {
    if (FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, Key, Shift);
  };
  bool forward = FGrid->Options().Contains(goAlwaysShowEditor);
  bool ctrl = Shift.Contains(ssCtrl);
  DWORD selStart = 0, selEnd = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&selStart), LPARAM(&selEnd));
  int len = static_cast<int>(WideText().size());
  bool rightSide = (selStart == 0 || selEnd == selStart) && int(selEnd) == len;
  bool leftSide = selStart == 0 && (selEnd == 0 || int(selEnd) == len);
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: sendToParent(); break;
    case VK_ESCAPE: {
      // The grid sees the key (OnKeyDown); unless it is swallowed there the cell gets
      // its text back and, without goAlwaysShowEditor, editing ends.
      FGrid->KeyDown(Key, Shift);
      if (Key == VK_ESCAPE) {
        TCustomGrid* grid = FGrid;
        if (Text() != FOriginalText) SetText(FOriginalText);
        SetModified(false);
        if (!grid->Options().Contains(goAlwaysShowEditor)) grid->HideEditor();
        else SelectAll();
      }
      Key = 0;
      break;
    }
    case VK_INSERT:
      if (Shift.Empty()) sendToParent();
      else if (Shift == TShiftState{ssShift} && !FGrid->CanEditModify()) Key = 0;
      break;
    case VK_LEFT:
    case VK_HOME:
      if (forward && (ctrl || leftSide)) sendToParent();
      break;
    case VK_RIGHT:
    case VK_END:
      if (forward && (ctrl || rightSide)) sendToParent();
      break;
    case VK_F2:
      parentEvent();
      if (Key == VK_F2) {
        Deselect();
        return;
      }
      break;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) sendToParent();
      break;
    case VK_DELETE:
      if (ctrl) sendToParent();
      else if (!FGrid->CanEditModify()) Key = 0;
      break;
    default: break;
  }
  if (Key != 0) {
    parentEvent();
    if (Key != 0) TCustomMaskEdit::KeyDown(Key, Shift);
  }
}

void TInplaceEdit::KeyPress(char32_t& Key) {
  if (!FGrid) {
    TCustomMaskEdit::KeyPress(Key);
    return;
  }
  TCustomGrid* grid = FGrid;
  grid->KeyPress(Key);
  if (Key >= 32 && Key != 127 && !grid->CanEditAcceptKey(Key)) {
    Key = 0;
    MessageBeep(0);
  }
  switch (Key) {
    case 9:
    case 27: Key = 0; break;
    case 13:
      if (SelLength() == 0) SelectAll();
      Key = 0;
      break;
    case 8:
    case 22:
    case 24:
      if (!grid->CanEditModify()) Key = 0;
      break;
    default:
      if (Key >= 32 && !grid->CanEditModify()) Key = 0;
      break;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (FGrid) FGrid->KeyUp(Key, Shift);
  else TCustomMaskEdit::KeyUp(Key, Shift);
}

void TInplaceEdit::DblClick() {
  if (FGrid) FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return FGrid ? FGrid->DoMouseWheel(Shift, WheelDelta, MousePos) : false;
}

void TInplaceEdit::Deselect() {
  if (HandleAllocated()) SendMessage(FHandle, EM_SETSEL, 0x7FFFFFFF, LPARAM(-1));
}

void TInplaceEdit::Invalidate() {
  if (!HandleAllocated()) return;
  ::InvalidateRect(FHandle, nullptr, TRUE);
  if (FGrid && FGrid->HandleAllocated()) {
    RECT cur;
    GetClientRect(FHandle, &cur);
    MapWindowPoints(FHandle, FGrid->Handle(), reinterpret_cast<POINT*>(&cur), 2);
    ::InvalidateRect(FGrid->Handle(), &cur, FALSE);
  }
}

bool TInplaceEdit::Visible() { return HandleAllocated() && IsWindowVisible(FHandle); }

void TInplaceEdit::Hide() {
  if (!HandleAllocated() || !IsWindowVisible(FHandle)) return;
  Invalidate();
  bool hadFocus = GetFocus() == FHandle;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE);
  if (hadFocus && FGrid && FGrid->HandleAllocated()) ::SetFocus(FGrid->Handle());
}

bool TInplaceEdit::PosEqual(const TRect& Rect) {
  if (!HandleAllocated()) return false;
  RECT cur;
  GetWindowRect(FHandle, &cur);
  if (FGrid && FGrid->HandleAllocated()) MapWindowPoints(HWND_DESKTOP, FGrid->Handle(), reinterpret_cast<POINT*>(&cur), 2);
  return ToTRect(cur) == Rect;
}

void TInplaceEdit::InternalMove(const TRect& Loc, bool Redraw) {
  if (Loc.Right <= Loc.Left || Loc.Bottom <= Loc.Top) {
    Hide();
    return;
  }
  HandleNeeded();
  Redraw = Redraw || !IsWindowVisible(FHandle);
  Invalidate();
  SetWindowPos(FHandle, HWND_TOP, Loc.Left, Loc.Top, Loc.Right - Loc.Left, Loc.Bottom - Loc.Top,
               SWP_SHOWWINDOW | SWP_NOREDRAW);
  BoundsChanged();
  if (Redraw) Invalidate();
  if (FGrid && FGrid->Focused()) ::SetFocus(FHandle);
}

void TInplaceEdit::Move(const TRect& Loc) { InternalMove(Loc, true); }
void TInplaceEdit::UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }

void TInplaceEdit::BoundsChanged() {
  RECT r{2, 2, Width() - 2, Height()};
  SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
  SendMessage(FHandle, EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::SetFocus() {
  if (HandleAllocated() && IsWindowVisible(FHandle)) ::SetFocus(FHandle);
}
