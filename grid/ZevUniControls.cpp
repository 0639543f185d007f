// ZevUni, the unicode controls: the edit, the memo, the edit with a button and the flat
// combo box, with their text read and written as wide text.
#include <algorithm>

#include "grid/ZevUni.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/StdEdit.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------------------
// Character messages. The real character of a WM_CHAR beyond 8 bits travels above the
// lower 16 bits; an 8-bit handler sees 255 in the lower ones. Any other message, or one
// already converted, passes unchanged.
void MakeCharMessage8Bit(TMessage& Message) {
  if (Message.Msg != WM_CHAR) return;
  const WPARAM ch = Message.WParam;
  if (ch > 0xFF && (ch >> 16) == 0) Message.WParam = (ch << 16) | 0xFF;
}

void RestoreCharMessage(TMessage& Message) {
  if (Message.Msg != WM_CHAR) return;
  const WPARAM upper = Message.WParam >> 16, lower = Message.WParam & 0xFFFF;
  if (upper != 0 && lower == 0xFF) Message.WParam = upper;
  else Message.WParam = lower;
}


// ---------------------------------------------------------------------------------------
void TCustomUNIEdit::Publish(TClassBuilder<TCustomUNIEdit>& P) { (void)P; }
void TZevUniEdit::Publish(TClassBuilder<TZevUniEdit>& P) { (void)P; }

TCustomUNIEdit::TCustomUNIEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

std::u16string TCustomUNIEdit::GetWideText() const { return Utf8ToUtf16(GetText()); }

void TCustomUNIEdit::SetWideText(const std::u16string& Value) {
  if (Value == GetWideText()) return;
  SetText(Utf16ToUtf8(Value));
}

std::u16string TCustomUNIEdit::GetSelText() {
  std::u16string t = GetWideText();
  const int start = std::clamp(SelStart(), 0, static_cast<int>(t.size()));
  const int len = std::clamp(SelLength(), 0, static_cast<int>(t.size()) - start);
  return t.substr(static_cast<size_t>(start), static_cast<size_t>(len));
}

void TCustomUNIEdit::SetSelText(const std::u16string& Value) {
  std::string u = Utf16ToUtf8(Value);
  SendMessage(Handle(), EM_REPLACESEL, 0, LPARAM(u.c_str()));
}

void TCustomUNIEdit::DoKeyPressWide(char32_t& Key) {
  TMessage m{WM_CHAR, WPARAM(Key), 0, 0};
  if (DoKeyPress(m)) Key = 0;
  else Key = char32_t(m.WParam);
}

// A character beyond 8 bits goes through the 8-bit key handling as 255 (KeyPress and
// OnKeyPress may swallow it) and reaches the window as itself.
void TCustomUNIEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_CHAR && Message.WParam > 0xFF) {
    const WPARAM real = Message.WParam;
    char32_t key = 0xFF;
    DoKeyPressWide(key);
    if (key == 0) {
      Message.Result = 0;
      return;
    }
    Message.WParam = key == 0xFF ? real : WPARAM(key);
    DefaultHandler(Message);
    return;
  }
  TCustomEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
void TZevUniCustomMemo::Publish(TClassBuilder<TZevUniCustomMemo>& P) { (void)P; }
void TZevUniMemo::Publish(TClassBuilder<TZevUniMemo>& P) {
  P.Bool("WordWrap", &TZevUniMemo::WordWrap, &TZevUniMemo::SetWordWrap, true);
}

void TZevUniCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomUNIEdit::CreateParams(Params);
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  Params.Style |= ES_MULTILINE;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
}

void TZevUniCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TZevUniCustomMemo::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TZevUniCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomUNIEdit::WndProc(Message);
    if (WantTabs) Message.Result |= DLGC_WANTTAB;
    else Message.Result &= ~LRESULT(DLGC_WANTTAB);
    if (!WantReturns) Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
    return;
  }
  TCustomUNIEdit::WndProc(Message);
}

TZevUniMemo::TZevUniMemo(TComponent* AOwner) : TZevUniCustomMemo(AOwner) {
  SetAutoSize(false);
  SetBounds(Left(), Top(), 200, 100);
}

// ---------------------------------------------------------------------------------------
void TZevEditButton::Publish(TClassBuilder<TZevEditButton>& P) { (void)P; }
void TZevUniEditBtn::Publish(TClassBuilder<TZevUniEditBtn>& P) {
  P.Int("ButtonWidth", &TZevUniEditBtn::ButtonWidth, &TZevUniEditBtn::SetButtonWidth, 0)
      .Bool("EditorEnabled", &TZevUniEditBtn::EditorEnabled, &TZevUniEditBtn::SetEditorEnabled, true)
      .Bool("RightAlign", &TZevUniEditBtn::RightAlign, &TZevUniEditBtn::SetRightAlign, false)
      .Str("ButtonCaption", &TZevUniEditBtn::ButtonCaption, &TZevUniEditBtn::SetButtonCaption);
}

TZevUniEditBtn::TZevUniEditBtn(TComponent* AOwner) : TCustomUNIEdit(AOwner) {
  FButton = new TZevEditButton(this);
  FButton->SetBounds(0, 0, 18, 18);
  FButton->SetVisible(true);
  FButton->FocusControl = this;
  FButton->SetParent(this);
  FButton->OnClick = [this](TObject*) { BtnClick(this); };
  FControlStyle.Exclude(csSetCaption);
}

void TZevUniEditBtn::BtnClick(TObject* Sender) {
  if (OnClickBtn) OnClickBtn(Sender);
}

void TZevUniEditBtn::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  FButton->SetBounds(FButton->Left(), FButton->Top(), Value, FButton->Height());
  PlaceButton();
}

void TZevUniEditBtn::SetRightAlign(bool Value) {
  if (Value == FRightAlign) return;
  FRightAlign = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TZevUniEditBtn::SetIsWinXP(bool Value) {
  FIsWinXP = Value;
  FButton->IsWinXP = Value;
}

std::string TZevUniEditBtn::ButtonCaption() const { return FButton->Caption(); }
void TZevUniEditBtn::SetButtonCaption(const std::string& Value) { FButton->SetCaption(Value); }

void TZevUniEditBtn::CreateParams(TCreateParams& Params) {
  TCustomUNIEdit::CreateParams(Params);
  Params.Style |= DWORD(ES_MULTILINE) | DWORD(WS_CLIPCHILDREN);
  if (FRightAlign) Params.Style |= ES_RIGHT;
}

void TZevUniEditBtn::CreateWnd() {
  TCustomUNIEdit::CreateWnd();
  SetEditRect();
}

void TZevUniEditBtn::SetEditRect() {
  if (!HandleAllocated()) return;
  RECT r{};
  SendMessage(Handle(), EM_GETRECT, 0, LPARAM(&r));
  r.right = ClientWidth() - FButton->Width() - 3;
  r.bottom = ClientHeight() + 1;
  r.left = r.top = BorderStyle() == bsNone ? 2 : 1;
  SendMessage(Handle(), EM_SETRECTNP, 0, LPARAM(&r));
}

int TZevUniEditBtn::MinHeight() {
  // The font's height plus a quarter of the smaller of the system and the control font.
  const int h = std::abs(Font()->GetHeight());
  return h + std::min(h, 16) / 4;
}

void TZevUniEditBtn::PlaceButton() {
  const int bw = FButton->Width();
  if (Ctl3D()) {
    const int d = BorderStyle() == bsNone ? 1 : 5;
    FButton->SetBounds(Width() - bw - d, 0, bw, std::max(0, Height() - d));
  } else {
    FButton->SetBounds(Width() - bw, 1, bw, std::max(0, Height() - 3));
  }
  SetEditRect();
}

void TZevUniEditBtn::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomUNIEdit::KeyDown(Key, Shift);
  if (Key == VK_F4) BtnClick(this);
}

void TZevUniEditBtn::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR:
      if (!FEditorEnabled) return;
      break;
    case WM_PASTE:
    case WM_CUT:
      if (!FEditorEnabled || ReadOnly()) return;
      break;
    case WM_SIZE:
      TCustomUNIEdit::WndProc(Message);
      if (Height() < MinHeight()) SetBounds(Left(), Top(), Width(), MinHeight());
      else PlaceButton();
      return;
    default: break;
  }
  TCustomUNIEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
void TCustomUNIComboBox::Publish(TClassBuilder<TCustomUNIComboBox>& P) { (void)P; }

TCustomUNIComboBox::TCustomUNIComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)) {}

TCustomUNIComboBox::~TCustomUNIComboBox() = default;

std::u16string TCustomUNIComboBox::GetWideText() const { return Utf8ToUtf16(GetText()); }

void TCustomUNIComboBox::SetWideText(const std::u16string& Value) {
  if (Value == GetWideText()) return;
  SetText(Utf16ToUtf8(Value));
}

std::u16string TCustomUNIComboBox::GetSelText() {
  if (!HasEdit()) return {};
  std::u16string t = GetWideText();
  const int start = std::clamp(SelStart(), 0, static_cast<int>(t.size()));
  const int len = std::clamp(SelLength(), 0, static_cast<int>(t.size()) - start);
  return t.substr(static_cast<size_t>(start), static_cast<size_t>(len));
}

void TCustomUNIComboBox::SetSelText(const std::u16string& Value) {
  if (!HasEdit()) return;
  HandleNeeded();
  std::string u = Utf16ToUtf8(Value);
  if (EditHandle()) SendMessage(EditHandle(), EM_REPLACESEL, 0, LPARAM(u.c_str()));
}

void TCustomUNIComboBox::KeyPress(char32_t& Key) {
  // Backspace reaches only the OnKeyPress event.
  if (Key == 8) {
    if (OnKeyPress) OnKeyPress(this, Key);
    return;
  }
  TCustomComboBox::KeyPress(Key);
}

void TCustomUNIComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  if (Message.Msg == WM_CHAR && ComboWnd == EditHandle()) {
    const WPARAM real = Message.WParam;
    MakeCharMessage8Bit(Message);
    DoEditCharMsg(Message);
    if (real > 0xFF) {
      char32_t key = 0xFF;
      KeyPress(key);
      if (key == 0) {
        Message.Result = 0;
        return;
      }
      Message.WParam = key == 0xFF ? real : WPARAM(key);
    } else {
      RestoreCharMessage(Message);
    }
  }
  TCustomComboBox::ComboWndProc(Message, ComboWnd, ComboProc);
}

void TCustomUNIComboBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == CBN_SELCHANGE) {
    const int i = ItemIndex();
    SetWideText(i >= 0 ? FItems->Get(i) : std::u16string());
    Click();
    Change();
    return;
  }
  TCustomComboBox::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
void TDEAUniCustomCombo::Publish(TClassBuilder<TDEAUniCustomCombo>& P) { (void)P; }
void TDEAUniComboBox::Publish(TClassBuilder<TDEAUniComboBox>& P) {
  P.Int("ButtonWidth", &TDEAUniComboBox::ButtonWidth, &TDEAUniComboBox::SetButtonWidth)
      .Bool("Flat", &TDEAUniComboBox::Flat, &TDEAUniComboBox::SetFlat, true)
      .Bool("Etched", &TDEAUniComboBox::Etched, &TDEAUniComboBox::SetEtched, false)
      .Int("DropWidth", &TDEAUniComboBox::DropWidth, &TDEAUniComboBox::SetDropWidth, 0)
      .Object("Items", &TDEAUniComboBox::Items);
}

TDEAUniCustomCombo::TDEAUniCustomCombo(TComponent* AOwner)
    : TCustomUNIComboBox(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 4) {
  FOldColor = Color();
  FOldParentColor = ParentColor();
}

void TDEAUniCustomCombo::SetButtonWidth(int Value) {
  if (Value < 14 || Value > 32) return;
  FButtonWidth = Value;
  Invalidate();
}

void TDEAUniCustomCombo::SetFlat(bool Value) {
  FFlat = Value;
  FCtl3D = !Value;
  Invalidate();
}

void TDEAUniCustomCombo::SetEtched(bool Value) {
  FEtched = Value;
  Invalidate();
}

void TDEAUniCustomCombo::SetDropWidth(int Value) {
  FDropWidth = Value;
  if (Value > 0) SetDroppedWidth(Value);
}

void TDEAUniCustomCombo::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TCustomUNIComboBox::WndProc(Message);
      if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawBorders();
      }
      if (AutoFocus && CanFocus()) SetFocus();
      return;
    case CM_MOUSELEAVE:
      TCustomUNIComboBox::WndProc(Message);
      if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawBorders();
      }
      return;
    case CM_ENABLEDCHANGED:
      if (FFlat) {
        if (Enabled()) {
          SetColor(FOldColor);
          SetParentColor(FOldParentColor);
        } else {
          FOldColor = Color();
          FOldParentColor = ParentColor();
          if (Parent()) SetColor(Parent()->Color());
        }
      }
      break;
    case CM_ENTER:
    case CM_EXIT:
      TCustomUNIComboBox::WndProc(Message);
      DrawBorders();
      return;
    default: break;
  }
  TCustomUNIComboBox::WndProc(Message);
}

void TDEAUniCustomCombo::PaintWindow(HDC DC) {
  TCustomUNIComboBox::PaintWindow(DC);
  if (!FFlat || Style() == csSimple) return;
  // The drop button, flat.
  RECT r{ClientWidth() - FButtonWidth + 1, 1, ClientWidth() - 1, ClientHeight() - 1};
  DrawFrameControl(DC, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
}

void TDEAUniCustomCombo::DrawBorders() {
  if (!FFlat || !HandleAllocated()) return;
  Invalidate();
}
