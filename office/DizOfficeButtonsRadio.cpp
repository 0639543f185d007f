// DizOfficeButtons, part 2: the office radio button. The shared base and the check box are
// in DizOfficeButtons.cpp.
#include "foundation/DizThemeBinding.h"
#include "office/DizOfficeButtons.h"
#include "platform/win/WinUser.h"

using namespace dizofficebuttons;

void TCustomDizOfficeRadioButton::Publish(TClassBuilder<TCustomDizOfficeRadioButton>& P) { (void)P; }

void TDizOfficeRadioButton::Publish(TClassBuilder<TDizOfficeRadioButton>& P) {
  P.Bool("Checked", &TDizOfficeRadioButton::Checked, &TDizOfficeRadioButton::SetChecked, false)
      .Int("GroupIndex", &TDizOfficeRadioButton::GroupIndex, &TDizOfficeRadioButton::SetGroupIndex, 0);
}

TCustomDizOfficeRadioButton::TCustomDizOfficeRadioButton(TComponent* AOwner) : TDizOfficeButtonBase(AOwner) {
  // Clicks are raised by DoClick only (Click is empty), so the click style may stay.
  FControlStyle += csClickEvents;
  SetBounds(0, 0, 135, 20);
}

void TCustomDizOfficeRadioButton::SetChecked(bool Value) {
  if (Value == FChecked) return;
  SetTabStop(Value);
  FChecked = Value;
  if (Value) {
    TurnSiblingsOff();
    if (!FFocusingByMouse) DoClick();
  }
  Invalidate();
}

void TCustomDizOfficeRadioButton::TurnSiblingsOff() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TDizOfficeRadioButton*>(parent->Controls(i));
    if (sibling && sibling != this && sibling->GroupIndex() == FGroupIndex) sibling->SetChecked(false);
  }
}

void TCustomDizOfficeRadioButton::DoClick() {
  if (OnClick && !ComponentState().Contains(csLoading)) OnClick(this);
}

TRect TCustomDizOfficeRadioButton::CaptionRect() {
  TRect r = ClientRect();
  if (FAlignment == taRightJustify) {
    r.Left = 0;
    r.Right -= 18;
  } else {
    r.Left += 18;
  }
  r.Top += 4;
  if (FButtonVertAlign != tlTop) {
    std::string anchor;
    int w = 0, h = 0;
    MarkupCall(Caption(), r, true, true, FURLColor, 0, 0, anchor, w, h);
    if (FButtonVertAlign == tlCenter) r.Top = r.Top - 3 + (r.Bottom - r.Top - h) / 2;
    else r.Top = r.Bottom - h - 3;
  }
  return r;
}

void TCustomDizOfficeRadioButton::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  if (FPaintParent || IsWinXPOrLater()) DrawParentImage();
  DrawGlyph();
  TRect r = CaptionRect();
  std::string anchor;
  int w = 0, h = 0;
  MarkupCall(Caption(), r, true, false, clGray, 0, 0, anchor, w, h);
  DrawCaption(r, w, h);
  if (FFocusFlag && FChecked && TabStop() && FShowFocus)
    DrawDottedFocusRect(c, TRect{0, r.Top - 1, r.Left + w + 1, ClientHeight() - 1}, c->Font()->GetColor());
}

void TCustomDizOfficeRadioButton::DrawGlyph() {
  TCanvas* c = Canvas();
  HDC dc = c->GetHandle();
  if (!dc) return;
  const bool right = FAlignment == taRightJustify;
  if (UseTheme()) {
    int top = 4;
    if (FButtonVertAlign == tlCenter) top = ClientHeight() / 2 - 8;
    else if (FButtonVertAlign == tlBottom) top = ClientHeight() - 16;
    const int left = right ? ClientWidth() - 17 : 0;
    TThemeBinding& theme = XPThemeBinding();
    if (HTHEME h = theme.OpenThemeData(Handle(), u"button")) {
      static const int kStates[2][4] = {{4, 3, 3, 1}, {8, 7, 7, 5}};
      const int column = !Enabled() ? 0 : FDown ? 1 : FHot ? 2 : 3;
      RECT r{left, top, left + 16, top + 16};
      theme.DrawThemeBackground(h, dc, 2, kStates[FChecked ? 1 : 0][column], &r, nullptr);
      theme.CloseThemeData(h);
      return;
    }
  }
  std::string name = FChecked ? "DIZOFRC" : "DIZOFRU";
  if (FDown) name += "D";
  else if (FHot) name += "H";
  TBitmap bitmap;
  bitmap.LoadFromResourceName(nullptr, name);
  bitmap.SetTransparent(true);
  int top = 4;
  if (FButtonVertAlign == tlCenter) top = ClientHeight() / 2 - bitmap.GetHeight() / 2;
  else if (FButtonVertAlign == tlBottom) top = ClientHeight() - bitmap.GetHeight() - 2;
  const int left = right ? ClientWidth() - bitmap.GetWidth() - 1 : 0;
  c->Draw(left, top, &bitmap);
}

void TCustomDizOfficeRadioButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Press(Button, Shift, X, Y);
  Invalidate();
}

// One click, one OnClick: a release that checks the button raises it through SetChecked
// and not a second time; any other release raises it once itself.
void TCustomDizOfficeRadioButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  SetMouseCapture(false);
  FDown = false;
  bool clicked = false;
  if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && !FChecked && FMouseDownMarker) {
    SetChecked(true);
    clicked = !FFocusingByMouse;
  }
  TDizOfficeButtonBase::MouseUp(Button, Shift, X, Y);
  if (!clicked) DoClick();
  Invalidate();
  FMouseDownMarker = false;
}

void TCustomDizOfficeRadioButton::KeyUp(WORD& Key, TShiftState) {
  if (Key != VK_SPACE) return;
  FDown = false;
  if (!FChecked) SetChecked(true);
}

void TCustomDizOfficeRadioButton::DoEnter() {
  TDizOfficeButtonBase::DoEnter();
  FFocusFlag = true;
  SetChecked(true);
  InvalidateGlyphStrip(16);
}

void TCustomDizOfficeRadioButton::DoExit() {
  TDizOfficeButtonBase::DoExit();
  FFocusFlag = false;
  const bool saved = FPaintParent;
  FPaintParent = true;
  Repaint();
  FPaintParent = saved;
}

void TCustomDizOfficeRadioButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      FFocusingByMouse = true;
      if (CanFocus() && !ComponentState().Contains(csDesigning)) SetFocus();
      FFocusingByMouse = false;
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus()) {
        SetChecked(true);
        if (TabStop() && CanFocus() && !ComponentState().Contains(csDesigning)) SetFocus();
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TDizOfficeButtonBase::WndProc(Message);
}
