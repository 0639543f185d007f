// Push buttons, check boxes, radio buttons and group boxes.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/StdCtrls.h"

char32_t AcceleratorOf(const std::string& Caption);  // StdCtrls.cpp

namespace {

const TEnumInfo* LeftRightNames() {
  static const TEnumInfo* names = RegisterEnum("TLeftRight", {"taLeftJustify", "taRightJustify"});
  return names;
}
const TEnumInfo* CheckBoxStateNames() {
  static const TEnumInfo* names = RegisterEnum("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
  return names;
}
const TIntConsts* ModalResultNames() {
  static const TIntConsts* names = RegisterIntConsts(
      "TModalResult", {{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
                       {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},
                       {"mrAll", mrAll}, {"mrNoToAll", mrNoToAll}, {"mrYesToAll", mrYesToAll}, {"mrClose", mrClose}});
  return names;
}

bool AccelMatches(char32_t Key, const std::string& Caption) {
  char32_t a = AcceleratorOf(Caption);
  if (!a) return false;
  std::u16string up = Utf8ToUtf16(AnsiUpperCase(CodePointToUtf8(Key)));
  return (up.empty() ? Key : char32_t(up[0])) == a;
}

bool Themed() { return IsThemeActive() && IsAppThemed(); }

// The themed part of a window, closed when done.
class TTheme {
public:
  TTheme(HWND Wnd, const char* ClassName) : FTheme(Themed() ? OpenThemeData(Wnd, ClassName) : nullptr) {}
  ~TTheme() {
    if (FTheme) CloseThemeData(FTheme);
  }
  explicit operator bool() const { return FTheme != nullptr; }
  HTHEME Get() const { return FTheme; }

private:
  HTHEME FTheme;
};

constexpr int kCheckSize = 13;

bool PointIn(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

}  // namespace

// =======================================================================================
// TButtonControl

void TButtonControl::Publish(TClassBuilder<TButtonControl>& P) {
  P.Bool("Ctl3D", &TButtonControl::Ctl3D, &TButtonControl::SetCtl3D, true)
      .Bool("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap, false);
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csCaptureMouse, csOpaque};
  FTabStop = true;
}

void TButtonControl::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  Invalidate();
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_DBLCLKS);  // a quick second click is a click
}

void TButtonControl::PaintBackground(HDC DC) {
  RECT r;
  GetClientRect(FHandle, &r);
  FillRect(DC, &r, Brush()->GetHandle());
}

void TButtonControl::PaintWindow(HDC DC) {
  int saved = SaveDC(DC);
  PaintBackground(DC);
  PaintButton(DC);
  RestoreDC(DC, saved);
}

void TButtonControl::DrawCaption(HDC DC, TRect R, UINT Flags, bool Focus) {
  std::string text = Caption();
  if (AcceleratorsHidden(HandleAllocated() ? FHandle : nullptr)) Flags |= DT_HIDEPREFIX;
  SelectObject(DC, Font()->GetHandle());
  SetBkMode(DC, TRANSPARENT);
  if (FWordWrap) Flags = (Flags & ~UINT(DT_SINGLELINE)) | DT_WORDBREAK;
  RECT r = ToRECT(R);
  if (FWordWrap && (Flags & DT_VCENTER)) {
    // DrawText centres only single lines: centre the wrapped block by measuring it.
    RECT calc = r;
    DrawTextUtf8(DC, text, &calc, (Flags | DT_CALCRECT) & ~UINT(DT_VCENTER));
    int h = calc.bottom - calc.top;
    r.top += std::max(0, (int(r.bottom - r.top) - h) / 2);
    r.bottom = r.top + h;
    Flags &= ~UINT(DT_VCENTER);
  }
  if (!Enabled()) {
    if (Themed()) {
      SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
      DrawTextUtf8(DC, text, &r, Flags);
    } else {
      RECT shadow{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
      SetTextColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextUtf8(DC, text, &shadow, Flags);
      SetTextColor(DC, GetSysColor(COLOR_BTNSHADOW));
      DrawTextUtf8(DC, text, &r, Flags);
    }
  } else {
    SetTextColor(DC, ColorToRGB(Font()->GetColor()));
    DrawTextUtf8(DC, text, &r, Flags);
  }
  if (Focus && !text.empty()) {
    RECT calc = r;
    DrawTextUtf8(DC, text, &calc, Flags | DT_CALCRECT);
    RECT f{calc.left - 1, calc.top, calc.right + 1, calc.bottom};
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    DrawFocusRect(DC, &f);
  }
}

bool TButtonControl::HandleButtonMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (CanFocus() && !Focused()) SetFocus();
      if (!HandleAllocated()) return true;
      FPressed = true;
      Invalidate();
      TWinControl::WndProc(Message);
      return true;
    case WM_MOUSEMOVE:
      if (FControlState.Contains(csLButtonDown)) {
        bool inside = PointIn(ClientRect(), Message.XPos(), Message.YPos());
        if (inside != FPressed) {
          FPressed = inside;
          Invalidate();
        }
      }
      TWinControl::WndProc(Message);
      return true;
    case WM_LBUTTONUP: {
      bool click = FPressed && FControlState.Contains(csLButtonDown);
      FPressed = false;
      Invalidate();
      TWinControl::WndProc(Message);
      if (click) ButtonReleased();
      return true;
    }
    case WM_KEYDOWN:
      if (!DoKeyDown(Message)) {
        if (Message.WParam == VK_SPACE && !FSpaceDown) {
          FSpaceDown = true;
          FPressed = true;
          Invalidate();
        }
      }
      return true;
    case WM_KEYUP:
      if (!DoKeyUp(Message) && Message.WParam == VK_SPACE && FSpaceDown) {
        FSpaceDown = false;
        FPressed = false;
        Invalidate();
        ButtonReleased();
      }
      return true;
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
      // Losing the focus always repaints: the focus rectangle goes with it.
      if (FPressed || FSpaceDown || Message.Msg == WM_KILLFOCUS) {
        FPressed = false;
        FSpaceDown = false;
        Invalidate();
      }
      TWinControl::WndProc(Message);
      return true;
    case WM_SETFOCUS:
      TWinControl::WndProc(Message);
      Invalidate();
      return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FHot = Message.Msg == CM_MOUSEENTER;
      Invalidate();
      TWinControl::WndProc(Message);
      return true;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      TWinControl::WndProc(Message);
      Invalidate();
      return true;
    case BM_CLICK:
      if (Enabled()) ButtonReleased();
      return true;
    case BM_GETCHECK: Message.Result = GetChecked() ? BST_CHECKED : BST_UNCHECKED; return true;
    case BM_SETCHECK: SetChecked(Message.WParam == BST_CHECKED); return true;
    case BM_GETSTATE:
      Message.Result = (GetChecked() ? int(BST_CHECKED) : 0) | (FPressed ? int(BST_PUSHED) : 0) |
                       (HandleAllocated() && GetFocus() == FHandle ? int(BST_FOCUS) : 0);
      return true;
    case WM_ERASEBKGND: Message.Result = 1; return true;
    default: return false;
  }
}

void TButtonControl::WndProc(TMessage& Message) {
  if (HandleButtonMessage(Message)) return;
  TWinControl::WndProc(Message);
}

// =======================================================================================
// TCustomButton

void TCustomButton::Publish(TClassBuilder<TCustomButton>& P) {
  P.Bool("Cancel", &TCustomButton::Cancel, &TCustomButton::SetCancel, false)
      .Bool("Default", &TCustomButton::Default, &TCustomButton::SetDefault, false)
      .Int("ModalResult", &TCustomButton::ModalResult, &TCustomButton::SetModalResult, mrNone)
      .Consts(ModalResultNames());
}
void TButton::Publish(TClassBuilder<TButton>& P) { (void)P; }

TCustomButton::TCustomButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

void TCustomButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  FActive = Value;
  if (TCustomForm* form = GetParentForm(this)) {
    // The focused button keeps acting on Enter; otherwise the new default does.
    if (auto* focused = dynamic_cast<TCustomButton*>(form->ActiveControl())) FActive = focused == this;
  }
  Invalidate();
}

void TCustomButton::SetButtonStyle(bool ADefault) {
  if (FActive == ADefault) return;
  FActive = ADefault;
  Invalidate();
}

void TCustomButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TCustomButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (((Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && FCancel)) &&
          KeyDataToShiftState(Message.LParam).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_DIALOGCHAR:
      if (AccelMatches(char32_t(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
      if (dynamic_cast<TCustomButton*>(sender)) SetButtonStyle(sender == this);
      else SetButtonStyle(FDefault);
      break;
    }
    case WM_GETDLGCODE:
      Message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
    default: break;
  }
  TButtonControl::WndProc(Message);
}

void TCustomButton::PaintButton(HDC DC) {
  RECT r;
  GetClientRect(FHandle, &r);
  bool focused = GetFocus() == FHandle;
  bool enabled = Enabled();
  TTheme theme(FHandle, "BUTTON");
  if (theme) {
    int state = !enabled ? PBS_DISABLED : FPressed ? PBS_PRESSED : FHot ? PBS_HOT : FActive ? PBS_DEFAULTED : PBS_NORMAL;
    DrawThemeBackground(theme.Get(), DC, BP_PUSHBUTTON, state, &r, nullptr);
    TRect text{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    DrawCaption(DC, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, false);
    if (focused) {
      RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
      SetTextColor(DC, RGB(0, 0, 0));
      SetBkColor(DC, RGB(255, 255, 255));
      DrawFocusRect(DC, &f);
    }
    return;
  }
  // Classic: a raised frame, a black outline on the button Enter acts on, sunken when
  // pressed with the caption moved down and right.
  if (FActive || focused) {
    FrameRect(DC, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    r = RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (FPressed) {
    FrameRect(DC, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    FillRect(DC, &inner, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    RECT face = r;
    DrawFrameControl(DC, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  TRect text{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  if (FPressed) {
    text.Left += 1;
    text.Top += 1;
    text.Right += 1;
    text.Bottom += 1;
  }
  DrawCaption(DC, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, false);
  if (focused) {
    RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    DrawFocusRect(DC, &f);
  }
}

// =======================================================================================
// Check box and radio button drawing: the box (or circle) and the caption beside it.
static void PaintCheckLike(TButtonControl* Control, HDC DC, HWND Wnd, bool Radio, TCheckBoxState State,
                           TLeftRight Alignment, bool Pressed, bool Hot,
                           const std::function<void(HDC, TRect, UINT, bool)>& DrawCaption) {
  RECT r;
  GetClientRect(Wnd, &r);
  int top = r.top + (r.bottom - r.top - kCheckSize) / 2;
  bool left = Alignment == taRightJustify;  // the caption is on the right of the box
  RECT box = left ? RECT{r.left, top, r.left + kCheckSize, top + kCheckSize}
                  : RECT{r.right - kCheckSize, top, r.right, top + kCheckSize};
  bool enabled = Control->Enabled();
  TTheme theme(Wnd, "BUTTON");
  if (theme) {
    int state;
    int base = !enabled ? 3 : Pressed ? 2 : Hot ? 1 : 0;  // normal, hot, pressed, disabled
    if (Radio) state = (State == cbChecked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL) + base;
    else state = (State == cbChecked ? CBS_CHECKEDNORMAL : State == cbGrayed ? CBS_MIXEDNORMAL : CBS_UNCHECKEDNORMAL) + base;
    DrawThemeBackground(theme.Get(), DC, Radio ? BP_RADIOBUTTON : BP_CHECKBOX, state, &box, nullptr);
  } else {
    UINT flags = Radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (!Radio && State == cbGrayed) flags = DFCS_BUTTON3STATE | DFCS_CHECKED;
    else if (State == cbChecked) flags |= DFCS_CHECKED;
    if (!enabled) flags |= DFCS_INACTIVE;
    if (Pressed) flags |= DFCS_PUSHED;
    DrawFrameControl(DC, &box, DFC_BUTTON, flags);
  }
  TRect text = left ? TRect{int(box.right) + 4, int(r.top), int(r.right), int(r.bottom)}
                    : TRect{int(r.left), int(r.top), int(box.left) - 4, int(r.bottom)};
  DrawCaption(DC, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, GetFocus() == Wnd);
}

// =======================================================================================
// TCustomCheckBox

void TCustomCheckBox::Publish(TClassBuilder<TCustomCheckBox>& P) {
  P.Enum("Alignment", LeftRightNames(), &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, taRightJustify)
      .Bool("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false)
      .Bool("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetCheckedValue)
      .Stored(false)
      .Enum("State", CheckBoxStateNames(), &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked);
}
void TCheckBox::Publish(TClassBuilder<TCheckBox>& P) { (void)P; }

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetAlignment(TLeftRight Value) {
  if (Value != taLeftJustify) Value = taRightJustify;
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  Invalidate();
  if (!FClicksDisabled && !FComponentState.Contains(csLoading)) Click();
}

void TCustomCheckBox::SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::ButtonReleased() { Toggle(); }

void TCustomCheckBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_BUTTON; return;
    case CM_DIALOGCHAR:
      if (AccelMatches(char32_t(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
        return;
      }
      break;
    case BM_SETCHECK:
      SetState(Message.WParam == BST_CHECKED ? cbChecked : Message.WParam == BST_INDETERMINATE ? cbGrayed : cbUnchecked);
      return;
    case BM_GETCHECK:
      Message.Result = FState == cbChecked ? BST_CHECKED : FState == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
      return;
    default: break;
  }
  TButtonControl::WndProc(Message);
}

void TCustomCheckBox::PaintButton(HDC DC) {
  PaintCheckLike(this, DC, FHandle, false, FState, FAlignment, FPressed, FHot,
                 [this](HDC dc, TRect r, UINT flags, bool focus) { DrawCaption(dc, r, flags, focus); });
}

// =======================================================================================
// TRadioButton

void TRadioButton::Publish(TClassBuilder<TRadioButton>& P) {
  P.Enum("Alignment", LeftRightNames(), &TRadioButton::Alignment, &TRadioButton::SetAlignment, taRightJustify)
      .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetCheckedValue, false);
}

// A group of radio buttons is one tab stop: the checked button's (the arrow keys move
// within the group).
TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  FTabStop = false;
}

void TRadioButton::SetAlignment(TLeftRight Value) {
  if (Value != taLeftJustify) Value = taRightJustify;
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  Invalidate();
  if (!Value) return;
  // Only one radio button of a parent is checked.
  if (FParent)
    for (TControl* c : FParent->ControlList())
      if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this) other->SetChecked(false);
  if (!FClicksDisabled && !FComponentState.Contains(csLoading)) Click();
}

void TRadioButton::ButtonReleased() { SetChecked(true); }

void TRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_BUTTON | DLGC_RADIOBUTTON; return;
    case WM_SETFOCUS:
      TButtonControl::WndProc(Message);
      // Moving onto a radio button with the arrow keys checks it.
      if (GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 || GetKeyState(VK_RIGHT) < 0)
        SetChecked(true);
      return;
    case CM_DIALOGCHAR:
      if (AccelMatches(char32_t(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TButtonControl::WndProc(Message);
}

void TRadioButton::PaintButton(HDC DC) {
  PaintCheckLike(this, DC, FHandle, true, FChecked ? cbChecked : cbUnchecked, FAlignment, FPressed, FHot,
                 [this](HDC dc, TRect r, UINT flags, bool focus) { DrawCaption(dc, r, flags, focus); });
}

// =======================================================================================
// TCustomGroupBox

void TCustomGroupBox::Publish(TClassBuilder<TCustomGroupBox>& P) {
  P.Bool("Ctl3D", &TCustomGroupBox::Ctl3D, &TCustomGroupBox::SetCtl3D, true);
}
void TGroupBox::Publish(TClassBuilder<TGroupBox>& P) { (void)P; }

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                                csReplicatable, csParentBackground};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

static int FontTextHeight(TFont* Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Top += FontTextHeight(Font());
  int inset = FCtl3D ? 2 : 1;
  Rect.Left += inset;
  Rect.Top += inset;
  Rect.Right -= inset;
  Rect.Bottom -= inset;
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->GetHandle();
  c->Font()->Assign(Font());
  SelectObject(dc, Font()->GetHandle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  int h = tm.tmHeight;
  RECT frame{0, h / 2 - 1, Width(), Height()};
  std::string text = Caption();
  RECT caption{8, 0, 8, h};
  if (!text.empty()) {
    DrawTextUtf8(dc, text, &caption, DT_SINGLELINE | DT_CALCRECT);
    caption.left -= 1;
    caption.right += 1;
  }
  int saved = SaveDC(dc);
  if (!text.empty()) ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
  TTheme theme(Handle(), "button");
  if (theme && FCtl3D) {
    DrawThemeBackground(theme.Get(), dc, BP_GROUPBOX, Enabled() ? GBS_NORMAL : GBS_DISABLED, &frame, nullptr);
  } else if (FCtl3D) {
    RECT light{frame.left + 1, frame.top + 1, frame.right, frame.bottom};
    FrameRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    RECT dark{frame.left, frame.top, frame.right - 1, frame.bottom - 1};
    FrameRect(dc, &dark, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  RestoreDC(dc, saved);
  if (!text.empty()) {
    SetBkMode(dc, TRANSPARENT);
    RECT r{caption.left + 1, caption.top, caption.right, caption.bottom};
    COLORREF color = Enabled() ? ColorToRGB(Font()->GetColor()) : GetSysColor(COLOR_GRAYTEXT);
    // Luna writes group captions in its blue unless the font was given a colour of its own.
    if (theme && Enabled() && Font()->GetColor() == clWindowText)
      GetThemeColor(theme.Get(), BP_GROUPBOX, GBS_NORMAL, TMT_TEXTCOLOR, &color);
    SetTextColor(dc, color);
    DrawTextUtf8(dc, text, &r, DT_SINGLELINE | DT_LEFT | (AcceleratorsHidden(FHandle) ? DT_HIDEPREFIX : 0u));
  }
}

void TCustomGroupBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (AccelMatches(char32_t(Message.WParam), Caption()) && CanFocus()) {
        SelectNext(nullptr, true, true);
        Message.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::WndProc(Message);
      Realign();
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}
