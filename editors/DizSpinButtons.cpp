// The arrow buttons of the spin edit: TDizTimerSpeedButton (a speed button that repeats
// its click while held) and TDizSpinButton (the pair).
#include <algorithm>

#include "editors/DizSpin.h"
#include "foundation/DizThemeBinding.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"

// ---------------------------------------------------------------------------------------
// TDizTimerSpeedButton

TDizTimerSpeedButton::TDizTimerSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  OSVERSIONINFO info;
  if (GetVersionEx(&info))
    FIsWinXP = info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

TDizTimerSpeedButton::~TDizTimerSpeedButton() {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TDizTimerSpeedButton::SetTimerState(TTimeBtnStates Value) {
  if (Value == FTimeBtnState) return;
  FTimeBtnState = Value;
  Invalidate();
}

void TDizTimerSpeedButton::SetButtonOrientation(TButtonDirection Value) {
  if (Value == FButtonDirection) return;
  FButtonDirection = Value;
  Invalidate();
}

void TDizTimerSpeedButton::InvalidateParent() {
  if (Parent()) Parent()->Invalidate();
}

void TDizTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (FTimeBtnState.Contains(tbAllowTimer)) {
    if (!FRepeatTimer) {
      FRepeatTimer = std::make_unique<TTimer>(nullptr);
      FRepeatTimer->SetEnabled(false);
      FRepeatTimer->SetOnTimer([this](TObject* Sender) { TimerExpired(Sender); });
    }
    FRepeatTimer->SetInterval(DizSpinInitialRepeatPause);
    FRepeatTimer->SetEnabled(true);
  }
  InvalidateParent();
}

void TDizTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  InvalidateParent();
}

// The first repeat comes after the initial pause, the next ones after the shorter one;
// a button dragged off (up state) pauses without stopping the clock.
void TDizTimerSpeedButton::TimerExpired(TObject*) {
  FRepeatTimer->SetInterval(DizSpinRepeatPause);
  if (FState == bsDown && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

void TDizTimerSpeedButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TSpeedButton::WndProc(Message);
      FHasMouse = true;
      Invalidate();
      return;
    case CM_MOUSELEAVE:
      TSpeedButton::WndProc(Message);
      FHasMouse = false;
      Invalidate();
      return;
    default: break;
  }
  TSpeedButton::WndProc(Message);
}

void TDizTimerSpeedButton::Paint() {
  const TThemeBinding& themes = XPThemeBinding();
  RECT r = ToRECT(ClientRect());
  if (FIsWinXP && themes.CanDrawThemed() && themes.IsThemeActive()) {
    HWND owner = Parent() && Parent()->HandleAllocated() ? Parent()->Handle() : nullptr;
    if (HTHEME theme = themes.OpenThemeData(owner, u"spin")) {
      int part = FButtonDirection == bdUp ? SPNP_UP : FButtonDirection == bdDown ? SPNP_DOWN
                 : FButtonDirection == bdRight ? SPNP_UPHORZ : SPNP_DOWNHORZ;
      int state = !Enabled() ? UPS_DISABLED : FState == bsDown ? UPS_PRESSED : FHasMouse ? UPS_HOT : UPS_NORMAL;
      themes.DrawThemeBackground(theme, Canvas()->GetHandle(), part, state, &r, nullptr);
      themes.CloseThemeData(theme);
      return;
    }
  }
  if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
    UINT flags = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    if (!Enabled()) flags |= DFCS_INACTIVE;
    if (FState == bsDown) flags |= DFCS_PUSHED;
    if (Flat()) flags |= DFCS_FLAT;
    DrawFrameControl(Canvas()->GetHandle(), &r, DFC_SCROLL, flags);
  } else {
    TSpeedButton::Paint();
  }
  if (FTimeBtnState.Contains(tbFocusRect)) {
    RECT f{3, 3, Width() - 3, Height() - 3};
    if (FState == bsDown) f = RECT{f.left + 1, f.top + 1, f.right + 1, f.bottom + 1};
    DrawFocusRect(Canvas()->GetHandle(), &f);
  }
}

// ---------------------------------------------------------------------------------------
// TDizSpinButton

TDizSpinButton::TDizSpinButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle -= csAcceptsControls;
  FControlStyle -= csSetCaption;
  FControlStyle += csOpaque;
  FUpButton = CreateButton();
  FUpButton->SetButtonOrientation(bdUp);
  FDownButton = CreateButton();
  FDownButton->SetButtonOrientation(bdDown);
  SetUpGlyph(nullptr);
  SetDownGlyph(nullptr);
  SetBounds(0, 0, 15, 25);
  FFocusedButton = FUpButton;
}

TDizSpinButton::~TDizSpinButton() = default;

TDizTimerSpeedButton* TDizSpinButton::CreateButton() {
  auto* b = new TDizTimerSpeedButton(this);
  b->OnClick = [this](TObject* Sender) { BtnClick(Sender); };
  b->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    BtnMouseDown(Sender, Button, Shift, X, Y);
  };
  b->SetVisible(true);
  b->SetEnabled(true);
  b->SetTimerState(TTimeBtnStates{tbAllowTimer});
  b->SetParent(this);
  return b;
}

void TDizSpinButton::BtnClick(TObject* Sender) {
  if (Sender == FUpButton) {
    if (OnUpClick) OnUpClick(this);
  } else if (OnDownClick) {
    OnDownClick(this);
  }
}

void TDizSpinButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  SetFocusBtn(static_cast<TDizTimerSpeedButton*>(Sender));
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TDizSpinButton::SetFocusBtn(TDizTimerSpeedButton* Btn) {
  if (!TabStop() || !CanFocus() || Btn == FFocusedButton) return;
  FFocusedButton->SetTimerState(FFocusedButton->TimerState() - tbFocusRect);
  FFocusedButton = Btn;
  if (Focused()) {
    FFocusedButton->SetTimerState(FFocusedButton->TimerState() + tbFocusRect);
    Invalidate();
  }
}

void TDizSpinButton::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl && FFocusControl != Owner()) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value && Value != Owner()) Value->FreeNotification(this);
}

void TDizSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TDizSpinButton::SetDirection(TSpinDirection Value) {
  if (Value == FDirection) return;
  FDirection = Value;
  if (Value == spHorizontal) {
    SetWidth(20);
    FUpButton->SetButtonOrientation(bdRight);
    FDownButton->SetButtonOrientation(bdLeft);
  } else {
    SetWidth(15);
    FUpButton->SetButtonOrientation(bdUp);
    FDownButton->SetButtonOrientation(bdDown);
  }
  if (HandleAllocated()) RecreateWnd();
  int w = Width(), h = Height();
  AdjustSize(w, h);
}

void TDizSpinButton::SetUpGlyph(TBitmap* Value) {
  if (Value) {
    FUpButton->SetGlyph(Value);
    return;
  }
  TBitmap b;
  b.LoadFromResourceName(nullptr, "DizSpinUp");
  FUpButton->SetGlyph(&b);
  FUpButton->SetNumGlyphs(1);
  FUpButton->Invalidate();
}

void TDizSpinButton::SetDownGlyph(TBitmap* Value) {
  if (Value) {
    FDownButton->SetGlyph(Value);
    return;
  }
  TBitmap b;
  b.LoadFromResourceName(nullptr, "DizSpinDown");
  FDownButton->SetGlyph(&b);
  FDownButton->SetNumGlyphs(1);
  FDownButton->Invalidate();
}

void TDizSpinButton::AdjustSize(int& W, int& H) {
  if (!FUpButton || !FDownButton || FComponentState.Contains(csLoading)) return;
  if (FDirection == spVertical) {
    if (W < 15) W = 15;
    int half = (H + 2) / 2;
    FUpButton->SetBounds(0, 0, W, half);
    FDownButton->SetBounds(0, FUpButton->Height(), W, half);
  } else {
    if (W < 20) W = 20;
    FDownButton->SetBounds(0, 0, W / 2, H);
    FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
  }
}

void TDizSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  int w = AWidth, h = AHeight;
  AdjustSize(w, h);
  TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TDizSpinButton::Loaded() {
  TWinControl::Loaded();
  int w = Width(), h = Height();
  AdjustSize(w, h);
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

void TDizSpinButton::KeyDown(WORD& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  switch (Key) {
    case VK_SPACE: FFocusedButton->Click(); break;
    case VK_UP:
      SetFocusBtn(FUpButton);
      FUpButton->Click();
      break;
    case VK_DOWN:
      SetFocusBtn(FDownButton);
      FDownButton->Click();
      break;
    default: break;
  }
}

void TDizSpinButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::WndProc(Message);
      if (Message.Msg == WM_SETFOCUS) FFocusedButton->SetTimerState(FFocusedButton->TimerState() + tbFocusRect);
      else FFocusedButton->SetTimerState(FFocusedButton->TimerState() - tbFocusRect);
      FFocusedButton->Invalidate();
      return;
    case WM_SIZE: {
      TWinControl::WndProc(Message);
      int w = Width(), h = Height();
      AdjustSize(w, h);
      if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
      Message.Result = 0;
      return;
    }
    default: break;
  }
  TWinControl::WndProc(Message);
}
