// DovAvarOrodez, key tips and looks: the key-tip window, showing and placing a button's
// key tip, and the colour presets of the library-wide look.
#include <algorithm>

#include "menus/DovAvarOrodez.h"
#include "menus/DovAvarOrodezInternal.h"
#include "platform/vcl/Forms.h"

// =======================================================================================
// TShortCutHintWindow

void TShortCutHintWindow::Publish(TClassBuilder<TShortCutHintWindow>& P) {
  P.Int("ColorTo", &TShortCutHintWindow::ColorTo, &TShortCutHintWindow::SetColorTo).Consts(ColorConsts());
}

TShortCutHintWindow::TShortCutHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  if (Screen) Font()->Assign(Screen->HintFont());
  THintWindow::SetColor(clWhite);
}

void TShortCutHintWindow::SetColor(TColor Value) {
  THintWindow::SetColor(Value);
  Invalidate();
}

void TShortCutHintWindow::SetColorTo(TColor Value) {
  FColorTo = Value;
  Invalidate();
}

void TShortCutHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  Params.WindowClass.style &= ~UINT(CS_DROPSHADOW);
  if (Parent()) Params.WndParent = Parent()->Handle();
}

void TShortCutHintWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // A tip is never narrower than the letter "O" and 8 pixels.
  Canvas()->Font()->Assign(Font());
  int minimum = Canvas()->TextWidth("O") + 8;
  THintWindow::SetBounds(ALeft, ATop, std::max(AWidth, minimum), AHeight);
}

void TShortCutHintWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  THintWindow::WndProc(Message);
}

void TShortCutHintWindow::Paint() {
  TRect r = ClientRect();
  TCanvas* c = Canvas();
  glowdraw::DrawGradient(c, Color(), FColorTo, false, r, 16);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(Font());
  std::string text = Caption();
  TRect t = r;
  c->TextRect(t, text, TTextFormat{tfSingleLine, tfVerticalCenter, tfCenter});
  c->Pen()->SetColor(TColor(0x808080));
  c->Pen()->SetStyle(psSolid);
  c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 3, 3);
}

// =======================================================================================
// Key tips of a glow button

void TDizCustomGlowButton::RefreshShortCutHintColors() {
  if (!FShortCutHint) return;
  FShortCutHint->SetColor(clWhite);
  FShortCutHint->SetColorTo(FAppearance->Color());
}

void TDizCustomGlowButton::ShowShortCutHint() {
  if (!FShortCutHint) {
    // The tip belongs to the button and is its child in the control tree, so that hiding
    // it goes through the button (a pop-up window all the same, placed on the screen).
    FShortCutHint = std::make_unique<TShortCutHintWindow>(this);
    FShortCutHint->SetVisible(false);
    FShortCutHint->SetParent(this);
    RefreshShortCutHintColors();
  }
  TShortCutHintWindow* tip = FShortCutHint.get();
  tip->SetCaption(FShortCutHintText);
  // The tip is sized to its text.
  TCanvas* c = tip->Canvas();
  c->Font()->Assign(tip->Font());
  TSize text = c->TextExtent(FShortCutHintText.empty() ? std::string("O") : FShortCutHintText);
  tip->SetBounds(tip->Left(), tip->Top(), text.cx + 8, text.cy + 4);

  TShortCutHintPos pos = FShortCutHintPos;
  if (OnGetShortCutHintPos) OnGetShortCutHintPos(this, FButtonSizeState, pos);
  if (pos == shpAuto) pos = shpTop;
  TPoint origin = ClientToScreen(TPoint{0, 0});
  int x = origin.X, y = origin.Y, bw = Width(), bh = Height();
  int hw = tip->Width();
  int left = x;
  switch (pos) {
    case shpLeft:
    case shpTopLeft:
    case shpAboveTopLeft:
    case shpBottomLeft:
    case shpBelowBottomLeft: left = x + 6; break;
    case shpRight: left = x + bw - hw / 2; break;
    case shpTopRight:
    case shpAboveTopRight:
    case shpBottomRight:
    case shpBelowBottomRight: left = x + bw - hw + 1; break;
    default: left = x + (bw - hw) / 2; break;
  }
  // The left edge is placed before the height is read for the top.
  tip->SetBounds(left, tip->Top(), tip->Width(), tip->Height());
  int hh = tip->Height();
  int top = y;
  switch (pos) {
    case shpLeft:
    case shpRight:
    case shpCenter: top = y + (bh - hh) / 2; break;
    case shpBottom:
    case shpBottomLeft:
    case shpBottomRight: top = y + bh - hh / 2; break;
    case shpAboveTop:
    case shpAboveTopLeft:
    case shpAboveTopRight: top = y - hh; break;
    case shpBelowBottom:
    case shpBelowBottomLeft:
    case shpBelowBottomRight:
    case shpBelowBottomCenter: top = y + bh; break;
    default: top = y - hh / 2; break;  // shpTop, shpTopLeft, shpTopRight
  }
  tip->SetBounds(left, top, tip->Width(), hh);
  HWND h = tip->Handle();
  SetWindowPos(h, HWND_TOPMOST, left, top, tip->Width(), hh, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  tip->SetVisible(true);
  tip->Invalidate();
}

void TDizCustomGlowButton::HideShortCutHint() {
  if (FShortCutHint) FShortCutHint->SetVisible(false);
}

// =======================================================================================
// Looks

namespace {
struct TFour {
  TColor Color, ColorTo, Mirror, MirrorTo;
};

void SetHotGroup(TGlowButtonAppearance* a, TFour c, TColor border) {
  a->SetColorHot(c.Color);
  a->SetColorHotTo(c.ColorTo);
  a->SetColorMirrorHot(c.Mirror);
  a->SetColorMirrorHotTo(c.MirrorTo);
  a->SetBorderColorHot(border);
}
void SetDownGroup(TGlowButtonAppearance* a, TFour c, TColor border) {
  a->SetColorDown(c.Color);
  a->SetColorDownTo(c.ColorTo);
  a->SetColorMirrorDown(c.Mirror);
  a->SetColorMirrorDownTo(c.MirrorTo);
  a->SetBorderColorDown(border);
}
void SetCheckedGroup(TGlowButtonAppearance* a, TFour c) {
  a->SetColorChecked(c.Color);
  a->SetColorCheckedTo(c.ColorTo);
  a->SetColorMirrorChecked(c.Mirror);
  a->SetColorMirrorCheckedTo(c.MirrorTo);
}
void StateGradientsVertical(TGlowButtonAppearance* a) {
  a->SetGradientHot(ggVertical);
  a->SetGradientMirrorHot(ggVertical);
  a->SetGradientDown(ggVertical);
  a->SetGradientMirrorDown(ggVertical);
  a->SetGradientChecked(ggVertical);
  a->SetGradientMirrorChecked(ggVertical);
}
// The standard hot, down and checked groups with vertical state gradients.
void StandardGroups(TGlowButtonAppearance* a) {
  SetHotGroup(a, {TColor(0xEBFDFF), TColor(0xACECFF), TColor(0x59DAFF), TColor(0xA4E9FF)}, TColor(0x99CEDB));
  SetDownGroup(a, {TColor(0x76AFF1), TColor(0x4190F3), TColor(0x0E72F1), TColor(0x4C9FFD)}, TColor(0x45667B));
  SetCheckedGroup(a, {TColor(0xB5DBFB), TColor(0x78C7FE), TColor(0x9FEBFD), TColor(0x56B4FE)});
  StateGradientsVertical(a);
}
void Normal(TGlowButtonAppearance* a, TFour c, TColor border) {
  a->SetColor(c.Color);
  a->SetColorTo(c.ColorTo);
  a->SetColorMirror(c.Mirror);
  a->SetColorMirrorTo(c.MirrorTo);
  a->SetBorderColor(border);
  a->SetGradient(ggVertical);
  a->SetGradientMirror(ggVertical);
}
}  // namespace

void TDizCustomGlowButton::SetComponentStyle(DUZERazav AStyle) {
  TGlowButtonAppearance* a = FAppearance.get();
  switch (AStyle) {
    case tsOffice2003Blue:
      StandardGroups(a);
      Normal(a, {TColor(0xEEDBC8), TColor(0xF6DDC9), TColor(0xEDD4C0), TColor(0xF7E1D0)}, TColor(0xE0B99B));
      break;
    case tsOffice2003Silver:
      StandardGroups(a);
      Normal(a, {TColor(0xE6E9E2), TColor(0xE6D8D8), TColor(0xE6E9E2), TColor(0xC8B2B3)}, TColor(0x927476));
      break;
    case tsOffice2003Olive:
      StandardGroups(a);
      Normal(a, {TColor(0xCFF0EA), TColor(0xCFF0EA), TColor(0xCFF0EA), TColor(0x8CC0B1)}, TColor(0x8CC0B1));
      break;
    case tsWhidbey:
      StandardGroups(a);
      Normal(a, {TColor(0xFFFFFF), TColor(0xDFEDF0), TColor(0xDFEDF0), TColor(0xDFEDF0)}, TColor(0x99A8AC));
      break;
    case tsOffice2003Classic:
      Normal(a, {TColor(0xFFFFFF), TColor(0xC9D1D5), TColor(0xFFFFFF), TColor(0xC9D1D5)}, TColor(0x000000));
      StandardGroups(a);
      break;
    case tsOffice2007Luna:
      Normal(a, {TColor(0xEEDBC8), TColor(0xF6DDC9), TColor(0xEDD4C0), TColor(0xF7E1D0)}, TColor(0xE0B99B));
      StandardGroups(a);
      a->SetBorderColorChecked(TColor(0x45667B));
      break;
    case tsOffice2007Obsidian:
      Normal(a, {TColor(0xDFDED6), TColor(0xE4E2DB), TColor(0xD7D5CE), TColor(0xE7E5E0)}, TColor(0xC0BCB2));
      StandardGroups(a);
      a->SetBorderColorChecked(TColor(0x45667B));
      break;
    case tsOffice2007Silver:
      Normal(a, {TColor(0xF3F3F1), TColor(0xF5F5F3), TColor(0xEEEAE7), TColor(0xF8F7F6)}, TColor(0xCCCAC9));
      StandardGroups(a);
      a->SetBorderColorChecked(TColor(0x45667B));
      break;
    case tsWindowsXP:
      Normal(a, {TColor(0xFFFFFF), TColor(0xB9D8DC), TColor(0xB9D8DC), TColor(0xB9D8DC)}, TColor(0xB9D8DC));
      SetHotGroup(a, {TColor(0xEFD3C6), TColor(0xEFD3C6), TColor(0xEFD3C6), TColor(0xEFD3C6)}, clHighlight);
      SetDownGroup(a, {TColor(0xB59284), TColor(0xB59284), TColor(0xB59284), TColor(0xB59284)}, clHighlight);
      SetCheckedGroup(a, {TColor(0xB9D8DC), TColor(0xB9D8DC), TColor(0xB9D8DC), TColor(0xB9D8DC)});
      a->SetBorderColorChecked(TColor(0x000000));
      StateGradientsVertical(a);
      break;
    case tsWindowsVista:
      Normal(a, {TColor(0xFDF8F1), TColor(0xFDF8F1), TColor(0xFCEFD5), TColor(0xFDF8F1)}, TColor(0xFDDE99));
      SetHotGroup(a, {clNone, TColor(0xFFFAF0), TColor(0xFFFAF0), TColor(0xFFFAF0)}, TColor(0xFCF2DA));
      SetDownGroup(a, {TColor(0xFCEFD5), TColor(0xFCEFD5), TColor(0xFDF4E3), TColor(0xFDF4E3)}, TColor(0xFEDF9A));
      SetCheckedGroup(a, {TColor(0xFCEFD5), TColor(0xFAE9C6), TColor(0xF7DAA2), TColor(0xFBEDD3)});
      a->SetBorderColorChecked(TColor(0xFEDF9A));
      StateGradientsVertical(a);
      break;
    case tsWindows7:
      Normal(a, {TColor(0xFCEBDC), TColor(0xFCDBC1), TColor(0xFCDBC1), TColor(0xFCDBC1)}, TColor(0xCEA27D));
      SetHotGroup(a, {TColor(0xFDFBFA), TColor(0xFDF3EB), TColor(0xFDF3EB), TColor(0xFDFBFA)}, TColor(0xFBD6B8));
      SetDownGroup(a, {TColor(0xFCEBDC), TColor(0xFCDBC1), TColor(0xFCDBC1), TColor(0xFCEBDC)}, TColor(0xCEA27D));
      SetCheckedGroup(a, {TColor(0xFDFBFA), TColor(0xFDF3EB), TColor(0xFCEBDC), TColor(0xFCEBDC)});
      a->SetBorderColorChecked(clHighlight);
      StateGradientsVertical(a);
      break;
    case tsTerminal:
      a->SetColor(clBtnFace);
      a->SetColorTo(clBtnFace);
      a->SetColorMirror(clBtnFace);
      a->SetColorMirrorTo(clBtnFace);
      SetHotGroup(a, {TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xC0C0C0), TColor(0xC0C0C0)}, TColor(0x808080));
      SetDownGroup(a, {clHighlight, clHighlight, clHighlight, clHighlight}, clHighlight);
      SetCheckedGroup(a, {TColor(0x808080), TColor(0x808080), TColor(0x808080), TColor(0x808080)});
      a->SetBorderColorChecked(TColor(0x808080));
      break;
    case tsCustom: break;
  }
  Invalidate();
  RefreshShortCutHintColors();
}
