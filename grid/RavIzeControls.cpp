// RavIze, second part: the small grid controls (the cell button with its action link,
// the pop-up button, the arrow windows and the file picture). The lists are in RavIze.cpp.
#include <algorithm>
#include <cmath>

#include "foundation/DizStyleIF.h"
#include "foundation/DizTBXPVS.h"
#include "foundation/DizUtil.h"
#include "foundation/Deahtml.h"
#include "grid/BaseGrid.h"
#include "grid/RavIze.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/UxTheme.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

static const TEnumInfo* ButtonStyleNames = RegisterEnum("TVezIdidButtonStyle", {"tasButton", "tasCheck"});
static const TEnumInfo* LayoutNames =
    RegisterEnum("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});


void TVezIdidButton::Publish(TClassBuilder<TVezIdidButton>& P) {
  const TIntConsts* colors = ColorConsts();
  P.Component("Action", &TVezIdidButton::Action, &TVezIdidButton::SetAction)
      .Bool("AllowAllUp", &TVezIdidButton::AllowAllUp, &TVezIdidButton::SetAllowAllUp, false)
      .Bool("AutoThemeAdapt", &TVezIdidButton::AutoThemeAdapt, &TVezIdidButton::SetAutoThemeAdapt)
      .Bool("AutoXPStyle", &TVezIdidButton::AutoXPStyle, &TVezIdidButton::SetAutoXPStyle)
      .Int("BorderColor", &TVezIdidButton::BorderColor, &TVezIdidButton::SetBorderColor, clNone).Consts(colors)
      .Int("BorderDownColor", &TVezIdidButton::BorderDownColor, &TVezIdidButton::SetBorderDownColor, clNone).Consts(colors)
      .Int("BorderHotColor", &TVezIdidButton::BorderHotColor, &TVezIdidButton::SetBorderHotColor, clNone).Consts(colors)
      .Int("Color", &TVezIdidButton::Color, &TVezIdidButton::SetColor, clBtnFace).Consts(colors)
      .Int("ColorTo", &TVezIdidButton::ColorTo, &TVezIdidButton::SetColorTo, clNone).Consts(colors)
      .Int("ColorDown", &TVezIdidButton::ColorDown, &TVezIdidButton::SetColorDown).Consts(colors)
      .Int("ColorDownTo", &TVezIdidButton::ColorDownTo, &TVezIdidButton::SetColorDownTo, clNone).Consts(colors)
      .Int("ColorHot", &TVezIdidButton::ColorHot, &TVezIdidButton::SetColorHot).Consts(colors)
      .Int("ColorHotTo", &TVezIdidButton::ColorHotTo, &TVezIdidButton::SetColorHotTo, clNone).Consts(colors)
      .Int("ColorChecked", &TVezIdidButton::ColorChecked, &TVezIdidButton::SetColorChecked, clGray).Consts(colors)
      .Int("ColorCheckedTo", &TVezIdidButton::ColorCheckedTo, &TVezIdidButton::SetColorCheckedTo, clNone).Consts(colors)
      .Int("GroupIndex", &TVezIdidButton::GroupIndex, &TVezIdidButton::SetGroupIndex, 0)
      .Bool("Down", &TVezIdidButton::Down, &TVezIdidButton::SetDown, false)
      .Bool("DropDownButton", &TVezIdidButton::DropDownButton, &TVezIdidButton::SetDropDownButton, false)
      .Component("DropDownMenu", &TVezIdidButton::DropDownMenu, &TVezIdidButton::SetDropDownMenu)
      .Str("Caption", &TVezIdidButton::Caption, &TVezIdidButton::SetCaption)
      .Bool("Enabled", &TVezIdidButton::Enabled, &TVezIdidButton::SetEnabled, true)
      .Bool("Flat", &TVezIdidButton::Flat, &TVezIdidButton::SetFlat, true)
      .Object("Glyph", &TVezIdidButton::Glyph, &TVezIdidButton::SetGlyph)
      .Object("GlyphHot", &TVezIdidButton::GlyphHot, &TVezIdidButton::SetGlyphHot)
      .Object("GlyphDown", &TVezIdidButton::GlyphDown, &TVezIdidButton::SetGlyphDown)
      .Object("GlyphDisabled", &TVezIdidButton::GlyphDisabled, &TVezIdidButton::SetGlyphDisabled)
      .Enum("Layout", LayoutNames, &TVezIdidButton::Layout, &TVezIdidButton::SetLayout, blGlyphLeft)
      .Int("Margin", &TVezIdidButton::Margin, &TVezIdidButton::SetMargin, -1)
      .Bool("Rounded", &TVezIdidButton::Rounded, &TVezIdidButton::SetRounded, false)
      .Bool("Shaded", &TVezIdidButton::Shaded, &TVezIdidButton::SetShaded, true)
      .Bool("ShowCaption", &TVezIdidButton::ShowCaption, &TVezIdidButton::SetShowCaption, true)
      .Int("Spacing", &TVezIdidButton::Spacing, &TVezIdidButton::SetSpacing, 4)
      .Enum("Style", ButtonStyleNames, &TVezIdidButton::Style, &TVezIdidButton::SetStyle, tasButton)
      .Event("OnDropDown", &TVezIdidButton::OnDropDown)
      .Event("OnMouseEnter", &TVezIdidButton::OnMouseEnter)
      .Event("OnMouseLeave", &TVezIdidButton::OnMouseLeave);
}

void TPopupButton::Publish(TClassBuilder<TPopupButton>& P) {
  const TIntConsts* colors = ColorConsts();
  P.Str("Caption", &TPopupButton::Caption, &TPopupButton::SetCaption)
      .Bool("Flat", &TPopupButton::Flat, &TPopupButton::SetFlat, false)
      .Int("GradFrom", &TPopupButton::GradFrom, &TPopupButton::SetGradFrom, clNone).Consts(colors)
      .Int("GradTo", &TPopupButton::GradTo, &TPopupButton::SetGradTo, clNone).Consts(colors)
      .Int("GradMirrorFrom", &TPopupButton::GradMirrorFrom, &TPopupButton::SetGradMirrorFrom, 0).Consts(colors)
      .Int("GradMirrorTo", &TPopupButton::GradMirrorTo, &TPopupButton::SetGradMirrorTo, 0).Consts(colors);
}

void TArrowWindow::Publish(TClassBuilder<TArrowWindow>& P) { (void)P; }

void TFilePicture::Publish(TClassBuilder<TFilePicture>& P) {
  P.Str("Filename", &TFilePicture::Filename, &TFilePicture::SetFileName)
      .Int("Width", &TFilePicture::Width, nullptr)
      .Int("Height", &TFilePicture::Height, nullptr);
}

static const bool kRavIzeRegistered = [] {
  RegisterClasses({TVezIdidButton::StaticClass(), TPopupButton::StaticClass()});
  return true;
}();

// ---------------------------------------------------------------------------------------
// TVezIdidButtonActionLink
TVezIdidButtonActionLink::TVezIdidButtonActionLink(TVezIdidButton* AClient)
    : TControlActionLink(AClient), FButton(AClient) {}

bool TVezIdidButtonActionLink::IsCaptionLinked() {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  return TControlActionLink::IsCaptionLinked() && action && FButton->Caption() == action->Caption();
}

bool TVezIdidButtonActionLink::IsCheckedLinked() {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  return action && FButton->GroupIndex() != 0 && FButton->AllowAllUp() && action->Checked() == FButton->Down();
}

bool TVezIdidButtonActionLink::IsGroupIndexLinked() {
  auto* action = dynamic_cast<TCustomAction*>(Action());
  return FButton && action && action->GroupIndex() == FButton->GroupIndex();
}

void TVezIdidButtonActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) FButton->SetCaption(Value);
}
void TVezIdidButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FButton->SetDown(Value);
}
void TVezIdidButtonActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) FButton->SetGroupIndex(Value);
}

// ---------------------------------------------------------------------------------------
// TVezIdidButton
TVezIdidButton::TVezIdidButton(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()),
      FShade(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
  SetBounds(0, 0, 22, 23);
  FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  SetParentFont(true);
  SetColor(clBtnFace);
  FColorHot = RGB(199, 199, 202);
  FColorDown = RGB(210, 211, 216);
  int version = GetFileVersion("COMCTL32.DLL");
  FCommonControls6 = version != -1 && ((version >> 16) & 0xFF) > 5;
}

TVezIdidButton::~TVezIdidButton() { Destroying(); }

void TVezIdidButton::Loaded() {
  TGraphicControl::Loaded();
  if (FShaded) GenerateShade();
  if (FAutoThemeAdapt) ThemeAdapt();
}

void TVezIdidButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TVezIdidButton::SetDropDownMenu(TPopupMenu* Value) {
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TVezIdidButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TVezIdidButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TVezIdidButton::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  if (Value) ThemeAdapt();
}

void TVezIdidButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TVezIdidButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TVezIdidButton::SetMargin(int Value) {
  if (Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TVezIdidButton::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  Invalidate();
}

void TVezIdidButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TVezIdidButton::SetShaded(bool Value) {
  FShaded = Value;
  if (Value && !ComponentState().Contains(csLoading)) GenerateShade();
}

void TVezIdidButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (FGlyphDisabled->GetEmpty() && !FGlyph->GetEmpty()) {
    FGlyphDisabled->Assign(Value);
    TCanvas* c = FGlyphDisabled->Canvas();
    for (int y = 0; y < FGlyphDisabled->GetHeight(); ++y)
      for (int x = 0; x < FGlyphDisabled->GetWidth(); ++x) {
        TColor p = ColorToRGB(c->GetPixel(x, y));
        int level = ((GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3) / 2 + 96;
        c->SetPixel(x, y, static_cast<TColor>(RGB(level, level, level)));
      }
  }
  Invalidate();
}

void TVezIdidButton::GenerateShade() {
  if (FGlyph->GetEmpty()) return;
  int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
  FShade->SetSize(w, h);
  TCanvas* g = FGlyph->Canvas();
  TCanvas* s = FShade->Canvas();
  TColor transparent = ColorToRGB(g->GetPixel(0, h - 1));
  // A gray silhouette of the glyph's opaque pixels on the glyph's transparent colour.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s->SetPixel(x, y, static_cast<TColor>(ColorToRGB(g->GetPixel(x, y))) == transparent ? transparent : clGray);
}

void TVezIdidButton::SetDown(bool Value) {
  if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    Invalidate();
    return;
  }
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
    UpdateExclusive();
  } else {
    FState = bsUp;
    Invalidate();
  }
}

// The other buttons of the group under the same parent: a down one goes up, and every
// one takes this button's AllowAllUp.
void TVezIdidButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !FParent) return;
  for (int i = 0; i < FParent->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TVezIdidButton*>(FParent->Controls(i))) b->ButtonPressed(FGroupIndex, this);
}

void TVezIdidButton::ButtonPressed(int Group, TVezIdidButton* Sender) {
  if (Group != FGroupIndex || Sender == this) return;
  if (Sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
    Invalidate();
  }
  FAllowAllUp = Sender->AllowAllUp();
}

static const TColor kLooks[7][10] = {
    {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
    {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clBlack, clBlack},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clBlack, clBlack},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, clBlack, clBlack},
    {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
    {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, clGray, clGray},
};

void TVezIdidButton::SetLook(int Look) {
  if (Look < 0 || Look > 6) return;
  const TColor* c = kLooks[Look];
  SetColor(c[0]);
  FColorTo = c[1];
  FColorHot = c[2];
  FColorHotTo = c[3];
  FColorDown = c[4];
  FColorDownTo = c[5];
  FColorChecked = c[6];
  FColorCheckedTo = c[7];
  FBorderDownColor = c[8];
  FBorderHotColor = c[9];
  FBorderColor = clNone;
  FRounded = Look == 0;
  FFlat = true;
  Invalidate();
}

void TVezIdidButton::ThemeAdapt() {
  int scheme = XPColorScheme();
  SetLook(scheme == 1 ? 2 : scheme == 2 ? 3 : scheme == 3 ? 4 : 1);
}

void TVezIdidButton::WndProc(TMessage& Message) {
  if ((Message.Msg == WM_THEMECHANGED || Message.Msg == 0xB035) && FAutoThemeAdapt) ThemeAdapt();
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TGraphicControl::WndProc(Message);
      if (!FMouseIn && Enabled() && !GetCapture()) {
        FMouseIn = true;
        Invalidate();
      }
      return;
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(Message);
      if (FMouseIn && Enabled() && !FDragging) {
        FMouseIn = false;
        Invalidate();
      }
      return;
    case CM_ENABLEDCHANGED:
      TGraphicControl::WndProc(Message);
      Invalidate();
      return;
    default:
      TGraphicControl::WndProc(Message);
  }
}

bool TVezIdidButton::InsideClient(int X, int Y) {
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TVezIdidButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (FDropDownButton && X > ClientWidth() - 12) {
    FState = bsUp;
    if (OnDropDown) OnDropDown(this);
    if (FDropDownMenu) {
      TPoint p = ClientToScreen(TPoint{0, Height()});
      FDropDownMenu->Popup(p.X, p.Y);
    }
    return;
  }
  if (!FDown || FStyle == tasCheck) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TVezIdidButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TButtonState state = FDown ? bsExclusive : bsUp;
  if (InsideClient(X, Y)) state = FDown ? bsExclusive : bsDown;
  if (FStyle == tasCheck && FDown) state = bsDown;
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TVezIdidButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FDragging) return;
  FDragging = false;
  bool counts = InsideClient(X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
    if (FStyle == tasCheck && counts) {
      SetDown(!FDown);
      FState = bsUp;
    }
    if (counts) Invalidate();
  } else if (counts) {
    SetDown(!FDown);
    if (FDown) Invalidate();
  } else if (FDown) {
    FState = bsExclusive;
    Invalidate();
  }
  if (counts) Click();
}

void TVezIdidButton::Click() { TGraphicControl::Click(); }

void TVezIdidButton::DblClick() {
  if (FDown && OnDblClick) OnDblClick(this);
}

// A face from one colour to another (solid when the second is clNone), outlined in Border
// unless that is clNone; a solid face's outline is its own colour then.
static void FillFace(TCanvas* C, const TRect& R, TColor From, TColor To, TColor Border) {
  if (To == clNone) {
    C->Brush()->SetColor(From);
    C->Pen()->SetColor(Border == clNone ? From : Border);
    C->Rectangle(R);
    return;
  }
  DrawGradient(C, From, To, 16, R, false);
  if (Border != clNone) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(Border);
    C->Rectangle(R);
    C->Brush()->SetStyle(bsSolid);
  }
}

// Flat face in the state's colours (gradient when a second colour is set); R ends inside
// the face's border.
void TVezIdidButton::DrawFace(TCanvas* C, TRect& R) {
  auto shrink = [&R](int d) { R = TRect{R.Left + d, R.Top + d, R.Right - d, R.Bottom - d}; };
  bool hot = FMouseIn && Enabled() && !ComponentState().Contains(csDesigning);
  if (FBorderDownColor == clNone || FRounded) shrink(1);
  C->Pen()->SetWidth(1);
  if (!hot) {
    if (FStyle == tasCheck && FDown) {
      FillFace(C, R, FColorChecked, FColorCheckedTo, FBorderDownColor);
    } else if (FColorTo == clNone) {
      C->Brush()->SetColor(Color());
      C->FillRect(R);
    } else {
      FillFace(C, R, Color(), FColorTo, FRounded ? clNone : FDown ? FBorderDownColor : FBorderColor);
    }
    if (FBorderColor != clNone) {
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(FBorderColor);
      if (FRounded) {
        shrink(-1);
        C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 8, 8);
      } else {
        C->Rectangle(R);
      }
      C->Brush()->SetStyle(bsSolid);
    }
  } else {
    bool down = FState == bsDown;
    TColor from = down ? FColorDown : FColorHot, to = down ? FColorDownTo : FColorHotTo;
    TColor border = down ? FBorderDownColor : FBorderHotColor;
    if (FStyle == tasCheck && FDown && !down) {
      from = FColorChecked;
      to = FColorCheckedTo;
      border = FBorderDownColor;
    }
    FillFace(C, R, from, to, FRounded ? clNone : border);
    if (FRounded) {
      shrink(-1);
      C->Brush()->SetStyle(bsClear);
      C->Pen()->SetColor(down ? FBorderDownColor : FBorderHotColor);
      C->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 8, 8);
      C->Brush()->SetStyle(bsSolid);
    }
    if (FDropDownButton) {
      C->Pen()->SetColor(down ? FBorderDownColor : FBorderHotColor);
      C->MoveTo(R.Right - 12, R.Top);
      C->LineTo(R.Right - 12, R.Bottom);
    }
  }
  shrink(1);
}

void TVezIdidButton::Paint() {
  if (Enabled() && FState == bsDisabled) FState = FDown && FGroupIndex ? bsExclusive : bsUp;
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  }
  TCanvas* C = Canvas();
  C->SetFont(Font());
  TRect R = ClientRect();
  if (FFlat) {
    DrawFace(C, R);
  } else {
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (FState == bsDown || FState == bsExclusive) flags |= DFCS_PUSHED;
    RECT r{R.Left, R.Top, R.Right, R.Bottom};
    DrawFrameControl(C->GetHandle(), &r, DFC_BUTTON, flags);
    R = TRect{r.left, r.top, r.right, r.bottom};
  }
  // A grouped button that is down shows its checked face unless the mouse is over a flat one.
  bool mouseOutside = !FMouseIn || !Enabled() || ComponentState().Contains(csDesigning);
  if (FState == bsExclusive && (!FFlat || mouseOutside)) {
    R = TRect{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    if (FColorCheckedTo == clNone) {
      C->Brush()->SetColor(FColorChecked);
      C->FillRect(R);
    } else {
      FillFace(C, R, FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor);
    }
  }
  if (FDropDownButton) {
    int middle = R.Top + (R.Bottom - R.Top) / 2;
    C->Brush()->SetColor(Font()->GetColor());
    C->Pen()->SetColor(Font()->GetColor());
    C->Polygon({TPoint{R.Right - 8, middle - 1}, TPoint{R.Right - 4, middle - 1}, TPoint{R.Right - 6, middle + 1}});
    R.Right -= 12;
  }
  // Glyph and caption.
  TBitmap* glyph = FGlyph.get();
  bool inside = FMouseIn && !ComponentState().Contains(csDesigning);
  if (FState == bsDown || FState == bsExclusive) {
    if (!FGlyphDown->GetEmpty()) glyph = FGlyphDown.get();
  } else if (inside && !FGlyphHot->GetEmpty()) {
    glyph = FGlyphHot.get();
  }
  if (FState == bsDisabled && !FGlyphDisabled->GetEmpty()) glyph = FGlyphDisabled.get();
  std::string caption = Caption();
  TPoint offset{0, 0};
  if ((FState == bsDown || FState == bsExclusive) && !FFlat) offset = TPoint{1, 1};
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(C, R, offset, caption, FLayout, FMargin, FSpacing, glyphPos, textBounds, 0);
  if (caption.empty()) glyphPos = TPoint{0, 0};
  if (!glyph->GetEmpty()) {
    glyph->SetTransparentColor(glyph->Canvas()->GetPixel(0, glyph->GetHeight() - 1));
    if (inside && FShaded && Enabled() && FState != bsDown && !FShade->GetEmpty()) {
      FShade->SetTransparentColor(FShade->Canvas()->GetPixel(0, FShade->GetHeight() - 1));
      C->Draw(glyphPos.X + (caption.empty() ? 0 : 2), glyphPos.Y + (caption.empty() ? 0 : 2), FShade.get());
    }
    C->Draw(glyphPos.X, glyphPos.Y, glyph);
  }
  if (FState != bsDown && FState != bsExclusive && FFlat && FShaded && Enabled() && inside) {
    textBounds.Left += 1;
    textBounds.Right += 1;
    textBounds.Top += 1;
    textBounds.Bottom += 1;
  }
  if (FShowCaption && !caption.empty()) {
    C->Brush()->SetStyle(bsClear);
    TTextFormat fmt{tfCenter, tfVerticalCenter};
    if (FState == bsDisabled) {
      TRect shifted{textBounds.Left + 1, textBounds.Top + 1, textBounds.Right + 1, textBounds.Bottom + 1};
      std::string t = caption;
      C->Font()->SetColor(clBtnHighlight);
      C->TextRect(shifted, t, fmt);
      C->Font()->SetColor(clBtnShadow);
    } else {
      C->Font()->SetColor(Font()->GetColor());
    }
    C->TextRect(textBounds, caption, fmt);
  }
}

void TVezIdidButton::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TPoint Offset,
                                      const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                                      TPoint& GlyphPos, TRect& TextBounds, UINT BiDiFlags) {
  if (BiDiFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft) Layout = blGlyphRight;
    else if (Layout == blGlyphRight) Layout = blGlyphLeft;
  }
  TPoint client{Client.Right - Client.Left, Client.Bottom - Client.Top};
  TPoint glyph = FGlyph->GetEmpty() ? TPoint{0, 0} : TPoint{FGlyph->GetWidth(), FGlyph->GetHeight()};
  TPoint text{0, 0};
  if (!Caption.empty()) {
    TRect calc{0, 0, client.X, 0};
    std::string t = Caption;
    Canvas->TextRect(calc, t, TTextFormat{tfCalcRect, tfCenter});
    text = TPoint{calc.Right - calc.Left, calc.Bottom - calc.Top};
  }
  TextBounds = TRect{0, 0, text.X, text.Y};
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (horizontal) {
    GlyphPos.Y = (client.Y - glyph.Y + 1) / 2;
    TextBounds.Top = (client.Y - text.Y + 1) / 2;
  } else {
    GlyphPos.X = (client.X - glyph.X + 1) / 2;
    TextBounds.Left = (client.X - text.X + 1) / 2;
  }
  if (text.X == 0 || glyph.X == 0) Spacing = 0;
  int clientSize = horizontal ? client.X : client.Y;
  int glyphSize = horizontal ? glyph.X : glyph.Y;
  int textSize = horizontal ? text.X : text.Y;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (clientSize - (glyphSize + textSize)) / 3;
      Spacing = Margin;
    } else {
      Margin = (clientSize - (glyphSize + Spacing + textSize) + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (clientSize - (Margin + glyphSize) - textSize) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      TextBounds.Left = GlyphPos.X + glyph.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = client.X - Margin - glyph.X;
      TextBounds.Left = GlyphPos.X - Spacing - text.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      TextBounds.Top = GlyphPos.Y + glyph.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = client.Y - Margin - glyph.Y;
      TextBounds.Top = GlyphPos.Y - Spacing - text.Y;
      break;
  }
  TextBounds.Right = TextBounds.Left + text.X;
  TextBounds.Bottom = TextBounds.Top + text.Y;
  int dx = Client.Left + Offset.X, dy = Client.Top + Offset.Y;
  GlyphPos = TPoint{GlyphPos.X + dx, GlyphPos.Y + dy};
  TextBounds = TRect{TextBounds.Left + dx, TextBounds.Top + dy, TextBounds.Right + dx, TextBounds.Bottom + dy};
}

// ---------------------------------------------------------------------------------------
// TPopupButton
TPopupButton::TPopupButton(TComponent* AOwner) : TCustomControl(AOwner) { SetDoubleBuffered(true); }

void TPopupButton::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_DISABLED | WS_BORDER;
  Params.WindowClass.style |= CS_SAVEBITS;
  SetColor(clBtnFace);
}

void TPopupButton::CreateWnd() {
  TCustomControl::CreateWnd();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPopupButton::Paint() {
  TCanvas* C = Canvas();
  TRect R = ClientRect();
  if (!FFlat) {
    C->Pen()->SetColor(clWhite);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(clGray);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left, R.Bottom - 1);
    R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  }
  DrawVistaGradient(C, R, FGradFrom, FGradTo, FGradMirrorFrom, FGradMirrorTo, true, clNone, false, true);
  C->Brush()->SetStyle(bsClear);
  C->SetFont(Font());
  std::string caption = Caption();
  // Mark-up captions show their text without the tags until the mark-up engine draws them.
  if (caption.find("</") != std::string::npos) caption = DecodeEntities(HTMLStrip(caption));
  C->TextRect(R, caption, TTextFormat{tfCenter, tfVerticalCenter, tfSingleLine, tfEndEllipsis});
}

// ---------------------------------------------------------------------------------------
// TArrowWindow
static std::vector<TPoint> ArrowShape(TArrowDirection Direction) {
  switch (Direction) {
    case arrUp: return {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}};
    case arrDown: return {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}};
    case arrLeft: return {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}};
    case arrRight: return {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}};
  }
  return {};
}

TArrowWindow::TArrowWindow(TComponent* AOwner, TArrowDirection Direction)
    : TPanel(AOwner), FDirection(Direction), FShape(ArrowShape(Direction)) {
  SetColor(RGB(0, 255, 0));
  if (auto* parent = dynamic_cast<TWinControl*>(AOwner)) SetParent(parent);
  SetVisible(false);
}

void TArrowWindow::CreateParams(TCreateParams& Params) {
  TPanel::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = 0;
}

void TArrowWindow::CreateWnd() {
  TPanel::CreateWnd();
  std::vector<POINT> points;
  for (const TPoint& p : FShape) points.push_back(POINT{p.X, p.Y});
  HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  SetWindowRgn(Handle(), region, TRUE);
}

void TArrowWindow::Paint() {
  TCanvas* C = Canvas();
  C->Pen()->SetColor(Color());
  C->Brush()->SetColor(Color());
  C->Rectangle(ClientRect());
}

// ---------------------------------------------------------------------------------------
// TFilePicture
TFilePicture::TFilePicture() = default;
TFilePicture::~TFilePicture() = default;

void TFilePicture::SetFileName(const std::string& Value) {
  FFileName = Value;
  FPicture.reset();
  FWidth = FHeight = 0;
  if (Value.empty()) return;
  auto picture = std::make_shared<TPicture>();
  picture->LoadFromFile(Value);  // a missing or unreadable file raises here, not in painting
  FWidth = picture->GetWidth();
  FHeight = picture->GetHeight();
  FPicture = std::move(picture);
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& R) {
  if (FFileName.empty() || !FPicture || !FPicture->GetGraphic()) return;
  Canvas->StretchDraw(R, FPicture->GetGraphic());
}

void TFilePicture::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFilePicture*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FFileName = src->FFileName;
  FWidth = src->FWidth;
  FHeight = src->FHeight;
  FPicture = src->FPicture;
}
