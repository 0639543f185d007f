// VezIdid, custom and control editors: the edit link through which any control edits an
// edCustom cell (in place or in a pop-up form), the rich-text cell editor, and the start
// and end of both in the edit engine.
#include "grid/VezIdid.h"
#include "platform/vcl/Forms.h"

void TEditLink::Publish(TClassBuilder<TEditLink>& P) {
  static const TEnumInfo* styles = RegisterEnum("TEditStyle", {"esInplace", "esPopup"});
  P.Bool("WantKeyLeftRight", &TEditLink::GetWantKeyLeftRight, &TEditLink::SetWantKeyLeftRight, false)
      .Bool("WantKeyUpDown", &TEditLink::GetWantKeyUpDown, &TEditLink::SetWantKeyUpDown, false)
      .Bool("WantKeyHomeEnd", &TEditLink::GetWantKeyHomeEnd, &TEditLink::SetWantKeyHomeEnd, false)
      .Bool("WantKeyPriorNext", &TEditLink::GetWantKeyPriorNext, &TEditLink::SetWantKeyPriorNext, false)
      .Bool("WantKeyReturn", &TEditLink::GetWantKeyReturn, &TEditLink::SetWantKeyReturn, false)
      .Bool("WantKeyEscape", &TEditLink::GetWantKeyEscape, &TEditLink::SetWantKeyEscape, false)
      .Enum("EditStyle", styles, &TEditLink::GetEditStyle, &TEditLink::SetEditStyle, esInplace)
      .Int("PopupWidth", &TEditLink::GetPopupWidth, &TEditLink::SetPopupWidth, 0)
      .Int("PopupHeight", &TEditLink::GetPopupHeight, &TEditLink::SetPopupHeight, 0)
      .Bool("AutoPopupWidth", &TEditLink::GetAutoPopupWidth, &TEditLink::SetAutoPopupWidth, false)
      .Int("PopupLeft", &TEditLink::GetPopupLeft, &TEditLink::SetPopupLeft, -1)
      .Int("PopupTop", &TEditLink::GetPopupTop, &TEditLink::SetPopupTop, -1);
}

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink() {
  if (FHooked) FHooked->WindowProc = FSavedWindowProc;
  FHooked = nullptr;
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupForm) FPopupForm = nullptr;
  if (AComponent == FHooked) FHooked = nullptr;
  if (AComponent == FGrid) FGrid = nullptr;
}

TForm* TEditLink::EnsurePopupForm() {
  // Each link owns its own pop-up form; a form of the same name elsewhere is left alone.
  if (!FPopupForm) {
    FPopupForm = new TForm(this);
    FPopupForm->SetName("gridform");
    FPopupForm->OnDeactivate = [this](TObject* Sender) { FormExit(Sender); };
  }
  return FPopupForm;
}

TWinControl* TEditLink::GetParent() {
  if (EditStyle == esPopup) return FPopupForm;
  return FGrid;
}

void TEditLink::SetRect(TRect R) {
  TWinControl* c = GetEditControl();
  if (!c) return;
  const int lw = FGrid ? FGrid->GridLineWidth() : 0;
  c->SetBounds(R.Left, R.Top, R.Right - R.Left - lw, R.Bottom - R.Top - lw);
}

void TEditLink::SetVisible(bool Value) {
  if (TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value) {
  TWinControl* c = GetEditControl();
  if (!c) return;
  if (Value) {
    if (!c->Visible()) c->SetVisible(true);
    if (!c->Enabled()) c->SetEnabled(true);
  }
  if (FHooked != c) {
    // The control's messages pass a hook first: it asks for every key, so that the
    // leaving keys reach the control's key-down event rather than dialog navigation.
    FSavedWindowProc = c->WindowProc;
    FHooked = c;
    c->FreeNotification(this);
    c->WindowProc = [this, c](TMessage& M) {
      if (FSavedWindowProc) FSavedWindowProc(M);
      else c->WndProc(M);
      if (M.Msg == WM_GETDLGCODE) M.Result |= DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB;
    };
  }
  if (Value) {
    if (c->CanFocus()) c->SetFocus();
  } else if (FGrid && FGrid->CanFocus()) {
    FGrid->SetFocus();
  }
}

void TEditLink::RestoreWinProc() {
  TWinControl* c = GetEditControl();
  if (!c) return;
  if (FHooked == c) {
    c->WindowProc = FSavedWindowProc;
    FHooked = nullptr;
  }
  if (EditStyle == esInplace && c->HandleAllocated()) c->SetVisible(false);
}

std::string TEditLink::GetCellValue() {
  if (!FGrid) return {};
  return FGrid->GetCellEx(FGrid->RemapCol(FGrid->Col()), FGrid->Row());
}

void TEditLink::SetCellValue(const std::string& S) {
  if (FGrid) FGrid->UpdateEditingCell(FGrid->RemapCol(FGrid->Col()), FGrid->Row(), S);
}

void TEditLink::HideEditor() {
  SetCellValue(GetEditorValue());
  if (FGrid) FGrid->HideInplaceEdit();
  RestoreWinProc();
}

void TEditLink::EditExit(TObject* Sender) {
  HideEditor();
  if (EditStyle == esPopup && FPopupForm) {
    DestroyEditor();
    FPopupForm->Hide();
  }
}

void TEditLink::FormExit(TObject* Sender) {
  if (FGrid && FGrid->InplaceEditor()) FGrid->InplaceEditor()->SetText(GetEditorValue());
  if (FForcedExit) {
    SetCellValue(GetEditorValue());
    return;
  }
  EditExit(Sender);
  if (FGrid) FGrid->IgnoreGridFocus = true;
}

void TEditLink::EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  if (!FGrid) return;
  bool leaving = false;
  switch (Key) {
    case VK_TAB: leaving = true; break;
    case VK_RETURN: leaving = !WantKeyReturn; break;
    case VK_ESCAPE: leaving = !WantKeyEscape; break;
    case VK_PRIOR: case VK_NEXT: leaving = !WantKeyPriorNext; break;
    case VK_END: leaving = !WantKeyHomeEnd; break;
    case VK_LEFT: case VK_RIGHT: leaving = !WantKeyLeftRight; break;
    case VK_UP: case VK_DOWN: leaving = !WantKeyUpDown; break;
    default: break;
  }
  if (!leaving) return;
  TDavEvadurAvuz* g = FGrid;
  if (Key == VK_ESCAPE) SetEditorValue(g->EditCacheText());
  FForcedExit = true;
  if (g->CanFocus()) g->SetFocus();
  FForcedExit = false;
  g->HideInplaceEdit();
  if (Key == VK_RETURN && g->EntryValid()) {
    g->AdvanceEdit(g->Col(), g->Row(), false, true, !Shift.Contains(ssShift), false, true);
    Key = 0;
  } else if (!g->EntryValid()) {
    g->SetEntryValid(true);
    g->ShowEditControl();
  } else if (Key == VK_ESCAPE) {
    Key = 0;
  } else {
    if (Key == VK_TAB || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) {
      WORD k = Key;
      g->KeyDown(k, Shift);
    }
    if (TWinControl* c = GetEditControl()) c->SetEnabled(false);
    FForcedExit = true;
    if (g->CanFocus()) g->SetFocus();
    FForcedExit = false;
  }
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::SetEditLink(TEditLink* Value) {
  if (FEditLink == Value) return;
  if (FEditLink) FEditLink->RemoveFreeNotification(this);
  FEditLink = Value;
  if (Value) Value->FreeNotification(this);
}

void TDavEvadurAvuz::ShowEditControl() {
  FEditActive = false;
  ShowInplaceEdit();
}

bool TDavEvadurAvuz::StartControlEdit(TEditorType Kind) {
  const int col = Col(), row = Row();
  const TRect cell = CellRect(col, row);
  if (Kind == edCustom && FEditLink) {
    TEditLink* L = FEditLink;
    L->SetGrid(this);
    FreeNotification(L);
    L->EditCol = col;
    L->EditRow = row;
    if (L->EditStyle == esPopup) {
      if (L->AutoPopupWidth) L->PopupWidth = cell.Right - cell.Left;
      TForm* f = L->EnsurePopupForm();
      TPoint at = L->PopupLeft != -1 && L->PopupTop != -1 ? TPoint{L->PopupLeft, L->PopupTop}
                                                          : ClientToScreen(TPoint{cell.Left, cell.Top});
      f->SetBounds(at.X, at.Y, 0, 0);
      f->SetFormStyle(fsStayOnTop);
      f->SetBorderStyle(bsNone);
      f->Show();
      f->SetBounds(at.X, at.Y, L->PopupWidth, L->PopupHeight);
      L->CreateEditor(f);
      L->SetRect(TRect{0, 0, L->PopupWidth, L->PopupHeight});
    } else {
      L->CreateEditor(this);
      L->SetRect(cell);
    }
    L->SetVisible(true);
    L->SetCellProps(Color(), Font());
    L->SetProperties();
    if (OnGetEditorProp) OnGetEditorProp(this, RemapCol(col), row, L);
    L->SetEditorValue(GetCellEx(RemapCol(col), row));
    L->SetFocus(true);
    TWinControl* c = L->GetEditControl();
    if (FPendingEditChar && c) PostMessage(c->Handle(), WM_CHAR, WPARAM(FPendingEditChar), 0);
    FPendingEditChar = 0;
    FActiveEditControl = c;
    FControlEditorKind = edCustom;
    FControlEditorShown = true;
    return true;
  }
  if (Kind == edRichEdit && FRichEdit2) {
    TDizRichEdit* re = FRichEdit2;
    re->SetParent(this);
    re->ReCreate();
    re->Lock();
    re->SetBounds(cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top);
    CellToRich(RemapCol(col), row, re);
    re->SetVisible(true);
    re->SetEnabled(true);
    if (re->CanFocus()) re->SetFocus();
    re->Unlock();
    FActiveEditControl = re;
    FControlEditorKind = edRichEdit;
    FControlEditorShown = true;
    return true;
  }
  return false;
}

void TDavEvadurAvuz::EndControlEdit(int ACol, int ARow) {
  const TEditorType kind = FControlEditorKind;
  FControlEditorKind = edNone;
  if (kind == edCustom && FEditLink) {
    TEditLink* L = FEditLink;
    UpdateEditingCell(RemapCol(ACol), ARow, L->GetEditorValue());
    if (L->EditStyle == esInplace) L->SetVisible(false);
    // A pop-up form does not outlive the edit it was shown for.
    else if (L->PopupForm() && L->PopupForm()->Visible()) L->PopupForm()->Hide();
    L->RestoreWinProc();
  } else if (kind == edRichEdit && FRichEdit2) {
    RichToCell(RemapCol(ACol), ARow, FRichEdit2);
    FRichEdit2->SetVisible(false);
  }
  FActiveEditControl = nullptr;
}

void TDavEvadurAvuz::AdvanceHTMLEdit(int ACol, int ARow, const std::string& ControlID) {
  if (CanFocus()) SetFocus();
}

// ---------------------------------------------------------------------------------------
// Mark-up form control editors: Enter is not wanted as a dialog key (it ends the edit
// here), Tab is.
namespace {
template <class C>
void ControlKeyPress(C* Control, TDavEvadurAvuz* G, char32_t& Key) {
  if (Key == 13) {
    Key = 0;
    Control->Perform(CM_EXIT, 0, 0);
    if (G && G->CanFocus()) G->SetFocus();
  } else if (Key == 9) {
    Key = 0;
    Control->Perform(CM_EXIT, 0, 0);
    if (!G) return;
    if (G->Navigation()->AdvanceAuto) G->AdvanceEdit(G->Col(), G->Row(), true, false, true, false, true);
    else G->AdvanceHTMLEdit(G->Col(), G->Row(), Control->ControlID);
  }
}

void WantTabOnly(TMessage& Message) {
  if (Message.Msg != WM_GETDLGCODE) return;
  Message.Result |= DLGC_WANTTAB;
  Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
}
}  // namespace

void TControlEdit::WndProc(TMessage& Message) {
  TMaskEdit::WndProc(Message);
  WantTabOnly(Message);
}

void TControlEdit::KeyPress(char32_t& Key) {
  if (Key == 13 || Key == 9) {
    ControlKeyPress(this, FGrid, Key);
    return;
  }
  TMaskEdit::KeyPress(Key);
}

void TControlCombo::WndProc(TMessage& Message) {
  TComboBox::WndProc(Message);
  WantTabOnly(Message);
}

void TControlCombo::KeyPress(char32_t& Key) {
  if (Key == 13 || Key == 9) {
    ControlKeyPress(this, FGrid, Key);
    return;
  }
  TComboBox::KeyPress(Key);
}

// ---------------------------------------------------------------------------------------
TGridTransEdit::TGridTransEdit(TComponent* AOwner) : TEdit(AOwner), FGrid(GridOf(AOwner)) { SetVisible(false); }

bool TGridTransEdit::StopEdit() {
  if (!FGrid) {
    SetVisible(false);
    return true;
  }
  std::string text = Text();
  bool valid = true;
  if (FGrid->OnCellValidate) FGrid->OnCellValidate(FGrid, Col, Row, text, valid);
  if (valid) {
    if (FGrid->OnEditingDone) FGrid->OnEditingDone(FGrid);
    FGrid->SetCellEx(Col, Row, text);
    SetVisible(false);
    return true;
  }
  FGrid->SetCol(Col);
  FGrid->SetRowEx(Row);
  if (CanFocus()) SetFocus();
  return false;
}

void TGridTransEdit::DoExit() {
  TEdit::DoExit();
  StopEdit();
}

void TGridTransEdit::KeyPress(char32_t& Key) {
  if (Key == 13) Key = 0;
  TEdit::KeyPress(Key);
}
