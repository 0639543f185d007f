// DizDropDown, the drop-down editor: construction, the pop-up's life cycle, layout,
// focus, mouse and painting.
#include "editors/DizDropDownEditor.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/StdEdit.h"
#include "platform/win/WinResource.h"

namespace DizDropDown {

TDizCustomDropDown::TDizCustomDropDown(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FEditType = etString;
  SetBounds(Left(), Top(), 200, 21);
  FDropDownButtonWidth = 17;
  if (!ComponentState().Contains(csDesigning)) CreateDropDownForm();
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
  CreateDropDownButton();
  TControlStyle style = ControlStyle();
  style -= csSetCaption;
  SetControlStyle(style);
  DropDownBorderColor = 0;
  DropDownGradient = gdHorizontal;
  DropDownColor = 0xFFFFFF;
  DropDownColorTo = clNone;
  DropDownHeight = 0;
  DropDownWidth = 0;
  DropDownBorderWidth = 1;
  DropDownSizeable = true;
  DropDownShadow = true;
  FEditorEnabled = true;
  SetReadOnly(false);
  DropPosition = dpAuto;
  SetText("");
  FTextAtDropDown.clear();
  FDropDownSizeW = FDropDownSizeH = -1;
  FDropDownEnabled = false;
  FDropDownHeader = std::make_unique<THeaderAppearance>(this);
  FButtonAppearance = std::make_unique<TDizButtonAppearance>();
  FDropDownFooter = std::make_unique<TFooterAppearance>(this);
  DialogKeyForwarding = true;
  FCanUndo = true;
  FAutoThousandSeparator = true;
  SetSelectionColorStyle(scOffice2007);
  FocusHighlight = true;
}

TDizCustomDropDown::~TDizCustomDropDown() {
  // The pop-up and the button are owned components; they go before the appearances
  // they read.
  delete FButton;
  FButton = nullptr;
  if (FDropDownForm) {
    TDropDownForm* f = FDropDownForm;
    FDropDownForm = nullptr;
    f->SetDizDropDown(nullptr);
    delete f;
  }
}

std::string TDizCustomDropDown::Version() const {
  unsigned v = unsigned(GetVersionNr());
  return IntToStr(int(v >> 24)) + "." + IntToStr(int((v >> 16) & 0xFF)) + "." + IntToStr(int((v >> 8) & 0xFF)) +
         "." + IntToStr(int(v & 0xFF));
}

// ---- parts ------------------------------------------------------------------------------

void TDizCustomDropDown::CreateDropDownForm() {
  if (FDropDownForm) return;
  FDropDownForm = new TDropDownForm(this, 0);
  FDropDownForm->SetDizDropDown(this);
  FDropDownForm->SetBorderStyle(bsNone);
  FDropDownForm->SetVisible(false);
  FDropDownForm->SetWidth(DropDownWidth);
  FDropDownForm->SetHeight(DropDownHeight);
  FDropDownForm->SetDoubleBuffered(true);
  FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
  FDropDownForm->OnHide = [this](TObject* Sender) { OnHideDropDown(Sender); };
  FDropDownForm->OnKeyPress = [this](TObject* Sender, char32_t& Key) { OnDropDownFormKeyPress(Sender, Key); };
  FDropDownForm->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
    OnDropDownFormKeyDown(Sender, Key, Shift);
  };
  FDropDownForm->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) {
    OnDropDownFormKeyUp(Sender, Key, Shift);
  };
  FDropDownForm->OnMouseWheelDown = [this](TObject* Sender, TShiftState Shift, TPoint P, bool& Handled) {
    OnDropDownFormMouseWheelDown(Sender, Shift, P, Handled);
  };
  FDropDownForm->OnMouseWheelUp = [this](TObject* Sender, TShiftState Shift, TPoint P, bool& Handled) {
    OnDropDownFormMouseWheelUp(Sender, Shift, P, Handled);
  };
  FDropDownForm->OnDestroy = [this](TObject* Sender) { OnDestroyDropDownForm(Sender); };
  FDropDownForm->OnSizing = [this](TObject* Sender) { OnDropDownSizing(Sender); };
}

void TDizCustomDropDown::CreateDropDownButton() {
  if (!FButton) {
    FButton = new TDropDownEditButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject* Sender) { DropButtonClick(Sender); };
    if (ComponentState().Contains(csDesigning)) FButton->SetColor(clBtnFace);
  }
  UpdateDropDownButton();
}

void TDizCustomDropDown::UpdateDropDownButton() {
  if (!FButton) return;
  FButton->SetButtonWidth(FDropDownButtonWidth);
  FButton->SetWidth(FDropDownButtonWidth);
  FButton->SetHeight(17);
  FButton->SetVisible(true);
  FButton->SetFocusControl(this);
  if (!FGlyph || FGlyph->GetEmpty()) {
    TBitmap arrow;
    arrow.SetHandle(LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_COMBO)));
    FButton->SetGlyph(&arrow);
  } else {
    FButton->SetGlyph(FGlyph.get());
  }
}

void TDizCustomDropDown::GlyphChanged(TObject*) {
  if (!FButton) return;
  if (FGlyph->GetEmpty()) UpdateDropDownButton();
  else FButton->SetGlyph(FGlyph.get());
}

void TDizCustomDropDown::SetButtonGlyph(TBitmap* Value) {
  if (Value) FGlyph->Assign(Value);
  else FGlyph->SetSize(0, 0);
  GlyphChanged(FGlyph.get());
}

void TDizCustomDropDown::SetButtonWidth(int Value) {
  if (!FButton || Value == FDropDownButtonWidth) return;
  FDropDownButtonWidth = Value;
  FButton->SetButtonWidth(Value);
  if (FButton->HandleAllocated()) ResizeControl();
}

void TDizCustomDropDown::SetButtonHint(const std::string& Value) {
  if (Value == FButtonHint) return;
  FButtonHint = Value;
  if (FButton) {
    FButton->SetHint(Value);
    FButton->SetShowHint(!Value.empty());
  }
}

std::string TDizCustomDropDown::GetButtonCaption() const { return FButton ? FButton->ButtonCaption() : std::string(); }

void TDizCustomDropDown::SetButtonCaption(const std::string& Value) {
  if (FButton) FButton->SetButtonCaption(Value);
}

void TDizCustomDropDown::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  if (FButton) FButton->Button()->SetFlat(Value);
}

void TDizCustomDropDown::SetEtched(bool Value) {
  if (Value == FEtched) return;
  FEtched = Value;
  if (FButton) FButton->Button()->SetEtched(Value);
  Invalidate();
}

void TDizCustomDropDown::SetEditorEnabled(bool Value) {
  FEditorEnabled = Value;
  TControlStyle s = ControlStyle();
  if (Value) s += csDoubleClicks;
  else s -= csDoubleClicks;
  SetControlStyle(s);
}

void TDizCustomDropDown::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TDizCustomDropDown::SetControl(TControl* Value) {
  if (Value == FControl) return;
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = Value;
  if (FControl) FControl->FreeNotification(this);
  if (!ComponentState().Contains(csDesigning)) SetCenterControl();
}

void TDizCustomDropDown::Loaded() {
  TCustomMaskEdit::Loaded();
  SetEditRect();
  ResizeControl();
  if (FButton) FButton->SetEnabled(Enabled());
}

void TDizCustomDropDown::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (ComponentState().Contains(csDestroying) || Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Invalidate();
  }
  if (AComponent == FControl) {
    FControl = nullptr;
    SetCenterControl();
  }
  if (AComponent == DropDownFocusControl) DropDownFocusControl = nullptr;
  if (AComponent == FDropDownForm) FDropDownForm = nullptr;
  if (AComponent == FButton) FButton = nullptr;
}

// ---- layout ------------------------------------------------------------------------------

void TDizCustomDropDown::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TDizCustomDropDown::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  SetEditRect();
}

void TDizCustomDropDown::DoEnter() {
  TCustomMaskEdit::DoEnter();
  SetEditRect();
}

int TDizCustomDropDown::GetMinHeight() {
  HDC dc = GetDC(nullptr);
  TEXTMETRIC sys{}, own{};
  GetTextMetrics(dc, &sys);
  HGDIOBJ old = SelectObject(dc, Font()->GetHandle());
  GetTextMetrics(dc, &own);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int i = std::min(sys.tmHeight, own.tmHeight);
  return i / 4 + own.tmHeight;
}

void TDizCustomDropDown::ResizeControl() {
  int minHeight = GetMinHeight();
  if (Height() < minHeight) {
    SetHeight(minHeight);
  } else if (FButton) {
    int bw = FButton->ButtonWidth();
    if (Ctl3D() && BorderStyle() == bsSingle) {
      int b = FFlat ? 3 : 4;
      FButton->SetBounds(Width() - bw - b, FFlat ? 2 : 0, bw, Height() - b);
    } else {
      FButton->SetBounds(Width() - bw - (Ctl3D() ? 0 : 2), 1, bw, Height() - 2);
    }
    SetEditRect();
  }
  Invalidate();
}

void TDizCustomDropDown::SetEditRect() {
  if (!HandleAllocated()) return;
  RECT r{};
  SendMessage(Handle(), EM_GETRECT, 0, LPARAM(&r));
  TRect c = ClientRect();
  r.bottom = c.Height() + 1;
  r.right = c.Width() - (FButton ? FButton->Width() : 0) - 3;
  if (BorderStyle() == bsNone) {
    r.left = 2;
    r.top = 3;
  } else {
    r.left = 1;
    r.top = 1;
  }
  FEditRect = ToTRect(r);
  if (!Ctl3D()) ++r.left;
  SendMessage(Handle(), EM_SETRECTNP, 0, LPARAM(&r));
}

// ---- opening and closing -------------------------------------------------------------------

void TDizCustomDropDown::DropButtonClick(TObject*) {
  if (ComponentState().Contains(csDesigning)) return;
  if (FDropDownForm && FDropDownForm->Visible()) return;
  // The press that closed the pop-up by taking its activation must not open it again.
  // (Before any such close there is nothing to guard against.)
  if (FDropDownForm && FDropDownForm->ClosedByDeactivation() &&
      unsigned(GetTickCount()) - FDropDownForm->LastCloseTick <= 250)
    return;
  DoShowDropDown();
}

void TDizCustomDropDown::DoShowDropDown() {
  if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->Visible() || !Enabled() ||
      ReadOnly())
    return;
  BeforeDropDown();
  FTextAtDropDown = GetText();
  FDropDownForm->Shadow = DropDownShadow;
  FDropDownForm->InitializeAndUpdate();
  HWND fh = FDropDownForm->Handle();
  DWORD cs = GetClassLong(fh, GCL_STYLE);
  SetClassLong(fh, GCL_STYLE, LONG(FDropDownForm->Shadow ? (cs | CS_DROPSHADOW) : (cs & ~DWORD(CS_DROPSHADOW))));

  FDropDownForm->SetLeft(Left());
  FDropDownForm->SetTop(Top());
  UpdateDropDownSize();
  SetCenterControl();
  FDropDownForm->Constraints()->SetMinWidth(80);
  FDropDownForm->Constraints()->SetMinHeight(50);

  if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
    w->OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { OnDropDownControlKeyDown(Sender, Key, Shift); };
    w->OnKeyUp = [this](TObject* Sender, WORD& Key, TShiftState Shift) { OnDropDownControlKeyUp(Sender, Key, Shift); };
    w->OnKeyPress = [this](TObject* Sender, char32_t& Key) { OnDropDownControlKeyPress(Sender, Key); };
  }

  TPoint p = Parent() ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : ClientToScreen(TPoint{0, 0});

  // The size comes first: a remembered size decides the place as much as the computed
  // one. The place then stays within the work area of the control's monitor, below the
  // control when the pop-up fits there (or when asked), otherwise above it.
  bool allow = true;
  if (FDropDownSizeW != -1) FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), FDropDownSizeW, FDropDownSizeH);
  int w = FDropDownForm->Width(), h = FDropDownForm->Height();
  TRect work = Screen ? Screen->MonitorFromWindow(Handle())->WorkareaRect() : TRect{0, 0, 1280, 1024};
  int below = p.Y + Height() - 1, above = p.Y - h;
  int top = below;
  switch (DropPosition) {
    case dpDown: top = below; break;
    case dpUp: top = above; break;
    case dpAuto: {
      bool fitsBelow = below + h <= work.Bottom, fitsAbove = above >= work.Top;
      if (!fitsBelow && (fitsAbove || p.Y - work.Top > work.Bottom - below)) top = above;
      break;
    }
  }
  int left = p.X;
  if (left + w > work.Right) left = work.Right - w;
  if (left < work.Left) left = work.Left;
  FDropDownForm->SetLeft(left);
  FDropDownForm->SetTop(top);

  if (OnDropDown) OnDropDown(this, allow);
  if (!allow) return;
  FDropDownForm->Show();
  FDroppedDown = true;
  FDropDownForm->SetBounds(left, top, FDropDownForm->Width(), FDropDownForm->Height());
  AfterDropDown();
}

void TDizCustomDropDown::UpdateDropDownSize() {
  if (!FDropDownForm) return;
  int w, h;
  if (DropDownWidth > 0) w = DropDownWidth;
  else if (FControl && FControl->Visible()) w = FControl->Width();
  else w = Width();
  if (DropDownHeight > 0) {
    h = DropDownHeight;
  } else {
    h = 2 * DropDownBorderWidth;
    if (FDropDownHeader->Visible) h += FDropDownHeader->Height;
    if (FDropDownFooter->Visible) h += FDropDownFooter->Height;
    if (FControl && FControl->Visible()) h += FControl->Height();
  }
  FDropDownForm->SetBounds(FDropDownForm->Left(), FDropDownForm->Top(), w, h);
}

void TDizCustomDropDown::SetCenterControl() {
  if (!FDropDownForm || !FControl || !FDropDownHeader) return;
  FControl->SetParent(FDropDownForm);
  FControl->SetTop(FDropDownHeader->Visible ? FDropDownHeader->Height + 2 : DropDownBorderWidth);
  FControl->SetAlign(alClient);
}

void TDizCustomDropDown::AfterDropDown() {
  TWinControl* f = DropDownFocusControl;
  if (f && f->TabStop() && f->CanFocus() && !(f->HandleAllocated() && GetFocus() == f->Handle())) f->SetFocus();
}

void TDizCustomDropDown::DoHideDropDown(bool Cancelled) {
  if (ComponentState().Contains(csDesigning) || !FDropDownForm || !FDropDownForm->Visible()) return;
  FDropDownSizeW = FDropDownForm->Width();
  FDropDownSizeH = FDropDownForm->Height();
  FDropDownForm->Hide();
  if (Application) Application->CancelHint();
  if (Cancelled) SetText(FTextAtDropDown);
  if (OnDropUp) OnDropUp(this, Cancelled);
}

void TDizCustomDropDown::OnHideDropDown(TObject*) {
  FDroppedDown = false;
  if (TabStop() && CanFocus() && !Focused() && !ComponentState().Contains(csDestroying)) SetFocus();
}

void TDizCustomDropDown::OnDropDownFormMouseWheelDown(TObject*, TShiftState, TPoint, bool&) { HandleMouseWheelDown(); }
void TDizCustomDropDown::OnDropDownFormMouseWheelUp(TObject*, TShiftState, TPoint, bool&) { HandleMouseWheelUp(); }
bool TDizCustomDropDown::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = TCustomMaskEdit::DoMouseWheel(Shift, WheelDelta, MousePos);
  if (WheelDelta < 0) HandleMouseWheelDown();
  else if (WheelDelta > 0) HandleMouseWheelUp();
  return handled;
}

void TDizCustomDropDown::OnDropDownFormKeyPress(TObject*, char32_t& Key) {
  if (HandleAllocated()) SendMessage(Handle(), WM_CHAR, WPARAM(Key), 0);
}
void TDizCustomDropDown::OnDropDownFormKeyDown(TObject*, WORD& Key, TShiftState) {
  if (HandleAllocated()) SendMessage(Handle(), WM_KEYDOWN, WPARAM(Key), 0);
}
void TDizCustomDropDown::OnDropDownFormKeyUp(TObject*, WORD& Key, TShiftState) {
  if (HandleAllocated()) SendMessage(Handle(), WM_KEYUP, WPARAM(Key), 0);
}
void TDizCustomDropDown::OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
  OnDropDownFormKeyDown(Sender, Key, Shift);
}
void TDizCustomDropDown::OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) {
  OnDropDownFormKeyUp(Sender, Key, Shift);
}
void TDizCustomDropDown::OnDropDownControlKeyPress(TObject* Sender, char32_t& Key) {
  OnDropDownFormKeyPress(Sender, Key);
}

void TDizCustomDropDown::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  // The key-down message handler toggles on its own before it gets here.
  if (FInKeyDownMessage) return;
  if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    if (FDroppedDown) DoHideDropDown(false);
    else DoShowDropDown();
  }
}

void TDizCustomDropDown::KeyPress(char32_t& Key) {
  TCustomMaskEdit::KeyPress(Key);
  if (Key == 13) Key = 0;
}

// ---- focus, mouse, painting ------------------------------------------------------------------

void TDizCustomDropDown::WMSetFocus(TMessage& Message) {
  if (ComponentState().Contains(csLoading)) return;
  TCustomMaskEdit::WndProc(Message);
  if (FEditorEnabled) {
    FTextAtFocus = GetText();
    if (AutoSelect()) SelectAll();
    else if (FEditType == etFloat || FEditType == etMoney) SelectBeforeDecimal();
  } else {
    HideCaret(Handle());
    Invalidate();
  }
}

void TDizCustomDropDown::WMKillFocus(TMessage& Message) {
  if (!ComponentState().Contains(csLoading)) KillFocusNormalise();
  TCustomMaskEdit::WndProc(Message);
  if (!FEditorEnabled) Invalidate();
}

void TDizCustomDropDown::BorderUpdate() {
  if (!FFlat || !FButton) return;
  bool on = ComponentState().Contains(csDesigning) ? Enabled()
                                                    : (FMouseInControl || (Screen && Screen->ActiveControl() == this));
  FButton->Button()->SetFocused(on);
}

int TDizCustomDropDown::CharFromPos(TPoint Pt) {
  return int(LOWORD(DWORD(SendMessage(Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(WORD(Pt.X), WORD(Pt.Y))))));
}

TPoint TDizCustomDropDown::PosFromChar(int Index) {
  std::u16string t = WideText();
  if (t.empty()) return TPoint{0, 0};
  LRESULT r = SendMessage(Handle(), EM_POSFROMCHAR, WPARAM(Index), 0);
  int x = SHORT(LOWORD(DWORD(r))), y = SHORT(HIWORD(DWORD(r)));
  if (x >= 0 && x <= 65534 && y >= 0 && y <= 65534 && r != -1) return TPoint{x, y};
  if (Index <= 0) return TPoint{0, 0};
  // Past the last character: the previous character's place plus its advance.
  TPoint prev = PosFromChar(Index - 1);
  int at = std::min<int>(Index - 1, int(t.size()) - 1);
  HDC dc = GetDC(Handle());
  HGDIOBJ old = SelectObject(dc, Font()->GetHandle());
  SIZE s{};
  GetTextExtentPoint32W(dc, t.c_str() + at, 1, &s);
  SelectObject(dc, old);
  ReleaseDC(Handle(), dc);
  return TPoint{prev.X + int(s.cx), prev.Y};
}

void TDizCustomDropDown::WMLButtonDown(TMessage& Message) {
  if (FEditorEnabled) {
    int x = SHORT(LOWORD(DWORD(Message.LParam))), y = SHORT(HIWORD(DWORD(Message.LParam)));
    int index = CharFromPos(TPoint{x, y});
    int ss = SelStart(), sl = SelLength();
    if (sl > 0 && index >= ss && index <= ss + sl && Focused()) {
      FClickInSelection = true;
      return;
    }
    TCustomMaskEdit::WndProc(Message);
  } else {
    TCustomMaskEdit::WndProc(Message);
    DropButtonClick(this);
  }
}

void TDizCustomDropDown::WMLButtonUp(TMessage& Message) {
  if (!FEditorEnabled || ReadOnly()) DrawBackGround();
  if (FClickInSelection) {
    int x = SHORT(LOWORD(DWORD(Message.LParam))), y = SHORT(HIWORD(DWORD(Message.LParam)));
    SetSelStart(CharFromPos(TPoint{x, y}));
  }
  FClickInSelection = false;
  TCustomMaskEdit::WndProc(Message);
  int lp = int(Utf8ToUtf16(FPrefix).size());
  int end = lp + int(Utf8ToUtf16(GetText()).size());
  if (!FPrefix.empty() && SelStart() < lp) {
    SelectAll();
  }
  if (!FSuffix.empty()) {
    int ss = SelStart(), sl = SelLength();
    if (ss > end) SetSelStart(end);
    else if (ss + sl > end) {
      SetSelStart(ss);
      SetSelLength(end - ss);
    }
  }
}

void TDizCustomDropDown::DrawBackGround() {
  if (FEditorEnabled || !Focused() || ComponentState().Contains(csDesigning) || !FocusHighlight) return;
  HDC dc = GetDC(Handle());
  TCanvas c;
  c.SetHandle(dc);
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clHighlight);
  int bw = FButton ? FButton->Width() : 0;
  TRect r{2, 2, Width() - bw - 1, Height() - 2};
  c.Rectangle(r);
  r.Left += 2;
  r.Right -= 3;
  c.Font()->Assign(Font());
  c.Font()->SetColor(clHighlightText);
  c.Brush()->SetStyle(bsClear);
  std::string t = GetText();
  c.TextRect(r, t, TTextFormat{tfSingleLine, tfVerticalCenter});
  c.SetHandle(nullptr);
  ReleaseDC(Handle(), dc);
}

void TDizCustomDropDown::WndProc(TMessage& Message) {
  if (ComponentState().Contains(csDesigning) && Message.Msg == WM_KEYDOWN) {
    TCustomMaskEdit::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_KEYDOWN: {
      FInKeyDownMessage = true;
      try {
        WMKeyDown(Message);
      } catch (...) {
        FInKeyDownMessage = false;
        throw;
      }
      FInKeyDownMessage = false;
      return;
    }
    case WM_CHAR: WMChar(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_SIZE:
      TCustomMaskEdit::WndProc(Message);
      ResizeControl();
      return;
    case WM_PAINT:
      TCustomMaskEdit::WndProc(Message);
      DrawBackGround();
      return;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_CUT: WMCut(Message); return;
    case WM_COPY: WMCopy(Message); return;
    case WM_PASTE: WMPaste(Message); return;
    case CN_COMMAND:
      if (HIWORD(DWORD(Message.WParam)) == EN_CHANGE && FSkipNextChange) {
        FSkipNextChange = false;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      TCustomMaskEdit::WndProc(Message);
      if (FButton) FButton->SetEnabled(Enabled());
      return;
    case CM_FONTCHANGED:
      TCustomMaskEdit::WndProc(Message);
      if (HandleAllocated()) SetEditRect();
      return;
    case CM_ENTER:
      if (AutoSelect() && !(GetKeyState(VK_LBUTTON) < 0)) SelectAll();
      TCustomMaskEdit::WndProc(Message);
      BorderUpdate();
      return;
    case CM_EXIT:
      TCustomMaskEdit::WndProc(Message);
      BorderUpdate();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TCustomMaskEdit::WndProc(Message);
      bool inside = Message.Msg == CM_MOUSEENTER;
      if (Enabled() && inside != FMouseInControl) {
        FMouseInControl = inside;
        BorderUpdate();
      }
      return;
    }
    case CM_WANTSPECIALKEY: CMWantSpecialKey(Message); return;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}

}  // namespace DizDropDown
