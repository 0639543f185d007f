// RavUvure, part 1: the colour helpers, the part objects (caption, status bar, auto-size,
// position), the settings record and the panel's properties, copying and persistence.
// Painting and shading are in RavUvurePaint.cpp, behaviour in RavUvureBehaviour.cpp, the
// group in RavUvureGroup.cpp and the styler in RavUvureStyler.cpp.
#include "office/RavUvure.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Filer.h"
#include "platform/win/WinUser.h"

using namespace RavUvure;

// ---- colour helpers -------------------------------------------------------------------------

namespace RavUvure {

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal) {
  Steps = std::clamp(Steps, 1, 32);
  const COLORREF from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
  const double dr = (double(GetRValue(to)) - GetRValue(from)) / Steps;
  const double dg = (double(GetGValue(to)) - GetGValue(from)) / Steps;
  const double db = (double(GetBValue(to)) - GetBValue(from)) / Steps;
  const double band = (Horizontal ? R.Right - R.Left : R.Bottom - R.Top) / double(Steps);
  for (int i = 0; i < Steps; ++i) {
    const int r = GetRValue(from) + static_cast<int>(std::nearbyint(i * dr));
    const int g = GetGValue(from) + static_cast<int>(std::nearbyint(i * dg));
    const int b = GetBValue(from) + static_cast<int>(std::nearbyint(i * db));
    const TColor c = TColor(RGB(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    const int o = static_cast<int>(std::nearbyint(i * band));
    const int w = static_cast<int>(band);
    if (Horizontal) Canvas->Rectangle(R.Left + o, R.Top, std::min(R.Left + o + w + 1, R.Right), R.Bottom);
    else Canvas->Rectangle(R.Left, R.Top + o, R.Right, std::min(R.Top + o + w + 1, R.Bottom));
  }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent == 100) return Color1;
  const COLORREF c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  const double p = Percent / 100.0;
  auto mix = [p](int a, int b) { return std::clamp(static_cast<int>(std::nearbyint(p * a + (1 - p) * b)), 0, 255); };
  return TColor(RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                    mix(GetBValue(c1), GetBValue(c2))));
}

void DrawPanelBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TGradientDirection Direction) {
  if (Color == clNone) return;
  const bool horizontal = Direction == gdHorizontal;
  TRect first = R, second = R;
  if (horizontal) first.Right = second.Left = R.Left + (R.Right - R.Left) / 2;
  else first.Bottom = second.Top = R.Top + (R.Bottom - R.Top) / 2;
  DrawGradient(Canvas, Color, ColorTo, 32, first, horizontal);
  DrawGradient(Canvas, ColorMirror, ColorMirrorTo, 32, second, horizontal);
}

}  // namespace RavUvure

// ---- enumeration names ----------------------------------------------------------------------

namespace {
const TEnumInfo* ButtonPositionNames() {
  static const TEnumInfo* n = RegisterEnum("TCaptionButtonPosition", {"cbpRight", "cbpLeft"});
  return n;
}
const TEnumInfo* CaptionPositionNames() {
  static const TEnumInfo* n = RegisterEnum("TCaptionPosition", {"cpTop", "cpLeft"});
  return n;
}
const TEnumInfo* ShapeNames() {
  static const TEnumInfo* n = RegisterEnum("TCaptionShape", {"csRectangle", "csRounded", "csSemiRounded"});
  return n;
}
const TEnumInfo* DirectionNames() {
  static const TEnumInfo* n = RegisterEnum("TGradientDirection", {"gdVertical", "gdHorizontal"});
  return n;
}
const TEnumInfo* VAlignNames() {
  static const TEnumInfo* n = RegisterEnum("TTextVAlignment", {"tvaTop", "tvaCenter", "tvaBottom"});
  return n;
}
const TEnumInfo* BackgroundPositionNames() {
  static const TEnumInfo* n = RegisterEnum(
      "TBackGroundPosition", {"bpTopLeft", "bpTopRight", "bpBottomLeft", "bpBottomRight", "bpTiled", "bpStretched", "bpCenter"});
  return n;
}
const TEnumInfo* LocationNames() {
  static const TEnumInfo* n = RegisterEnum("TPanelPositionLocation", {"clRegistry", "clInifile"});
  return n;
}
const TEnumInfo* ShadeTypeNames() {
  static const TEnumInfo* n = RegisterEnum(
      "TShadeType", {"stNormal", "stNoise", "stDiagShade", "stHShade", "stVShade", "stHBump", "stVBump", "stSoftBump",
                     "stHardBump", "stLMetal", "stRMetal", "stIRadial", "stORadial", "stHShadeInv", "stVShadeInv",
                     "stXPCaption", "stBitmap", "stBitmapRStretch", "stBitmapLStretch"});
  return n;
}
const TEnumInfo* BorderStyleNames() {
  static const TEnumInfo* n = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle"});
  return n;
}
const TEnumInfo* BevelNames() {
  static const TEnumInfo* n = RegisterEnum("TPanelBevel", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
  return n;
}
}  // namespace

// ---- caption ----------------------------------------------------------------------------------

void TPanelCaption::Publish(TClassBuilder<TPanelCaption>& P) {
  using C = TPanelCaption;
  P.Object("Background", &C::Background, &C::SetBackground)
      .Enum("ButtonPosition", ButtonPositionNames(), &C::ButtonPosition, &C::SetButtonPosition)
      // The stored defaults are the constructor's values, so a saved caption keeps its colours.
      .Int("Color", &C::Color, &C::SetColor, clHighlight)
      .Consts(ColorConsts())
      .Int("ColorTo", &C::ColorTo, &C::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Int("CloseColor", &C::CloseColor, &C::SetCloseColor)
      .Consts(ColorConsts())
      .Bool("CloseButton", &C::CloseButton, &C::SetCloseButton)
      .Int("CloseButtonColor", &C::CloseButtonColor, &C::SetCloseButtonColor)
      .Consts(ColorConsts())
      .Int("CloseButtonHoverColor", &C::CloseButtonHoverColor, &C::SetCloseButtonHoverColor)
      .Consts(ColorConsts())
      .Object("CloseMinGlyph", &C::CloseMinGlyph, &C::SetCloseMinGlyph)
      .Object("CloseMaxGlyph", &C::CloseMaxGlyph, &C::SetCloseMaxGlyph)
      .Bool("Flat", &C::Flat, &C::SetFlat)
      .Object("Font", &C::Font, &C::SetFont)
      .Enum("GradientDirection", DirectionNames(), &C::GradientDirection, &C::SetGradientDirection)
      .Int("Height", &C::Height, &C::SetHeight)
      .Int("Indent", &C::Indent, &C::SetIndent)
      .Object("MaxGlyph", &C::MaxGlyph, &C::SetMaxGlyph)
      .Object("MinGlyph", &C::MinGlyph, &C::SetMinGlyph)
      .Bool("MinMaxButton", &C::MinMaxButton, &C::SetMinMaxButton)
      .Int("MinMaxButtonColor", &C::MinMaxButtonColor, &C::SetMinMaxButtonColor)
      .Consts(ColorConsts())
      .Int("MinMaxButtonHoverColor", &C::MinMaxButtonHoverColor, &C::SetMinMaxButtonHoverColor)
      .Consts(ColorConsts())
      .Bool("MinMaxCaption", &C::MinMaxCaption, &C::SetMinMaxCaption)
      .Enum("Position", CaptionPositionNames(), &C::Position, &C::SetPosition)
      .Int("ShadeLight", &C::ShadeLight, &C::SetShadeLight)
      .Int("ShadeGrain", &C::ShadeGrain, &C::SetShadeGrain)
      .Enum("ShadeType", ShadeTypeNames(), &C::ShadeType, &C::SetShadeType)
      .Enum("Shape", ShapeNames(), &C::Shape, &C::SetShape)
      .Str("Text", &C::Text, &C::SetText)
      .Int("TopIndent", &C::TopIndent, &C::SetTopIndent)
      .Bool("Visible", &C::Visible, &C::SetVisible);
}

TPanelCaption::TPanelCaption()
    : FBackground(std::make_unique<TBitmap>()), FCloseMinGlyph(std::make_unique<TBitmap>()),
      FCloseMaxGlyph(std::make_unique<TBitmap>()), FMaxGlyph(std::make_unique<TBitmap>()),
      FMinGlyph(std::make_unique<TBitmap>()), FFont(std::make_unique<TFont>()) {
  FFont->SetColor(clHighlightText);
  FFont->OnChange = [this](TObject*) { Changed(); };
}

TPanelCaption::~TPanelCaption() { FFont->OnChange = nullptr; }

void TPanelCaption::Changed() {
  if (OnChange) OnChange(this);
}

void TPanelCaption::ShadeChanged() {
  if (OnShadeChange) OnShadeChange(this);
  Changed();
}

void TPanelCaption::SetBackground(TBitmap* Value) {
  FBackground->Assign(Value);
  ShadeChanged();
}
void TPanelCaption::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  ShadeChanged();
}
void TPanelCaption::SetColorTo(TColor Value) {
  FColorTo = Value;
  Changed();
}
void TPanelCaption::SetCloseColor(TColor Value) {
  if (FCloseColor == Value) return;
  FCloseColor = Value;
  Changed();
}
void TPanelCaption::SetCloseButton(bool Value) {
  if (FCloseButton == Value) return;
  FCloseButton = Value;
  Changed();
}
void TPanelCaption::SetCloseButtonColor(TColor Value) {
  if (FCloseButtonColor == Value) return;
  FCloseButtonColor = Value;
  Changed();
}
void TPanelCaption::SetCloseMinGlyph(TBitmap* Value) {
  FCloseMinGlyph->Assign(Value);
  Changed();
}
void TPanelCaption::SetCloseMaxGlyph(TBitmap* Value) {
  FCloseMaxGlyph->Assign(Value);
  Changed();
}
void TPanelCaption::SetFlat(bool Value) {
  FFlat = Value;
  ShadeChanged();
}
void TPanelCaption::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Changed();
}
void TPanelCaption::SetGradientDirection(TGradientDirection Value) {
  FGradientDirection = Value;
  Changed();
}
void TPanelCaption::SetHeight(int Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}
void TPanelCaption::SetIndent(int Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  Changed();
}
void TPanelCaption::SetMinMaxButton(bool Value) {
  if (FMinMaxButton == Value) return;
  FMinMaxButton = Value;
  Changed();
}
void TPanelCaption::SetMinMaxButtonColor(TColor Value) {
  if (FMinMaxButtonColor == Value) return;
  FMinMaxButtonColor = Value;
  Changed();
}
void TPanelCaption::SetPosition(TCaptionPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  if (OnPositionChange) OnPositionChange(this);
}
void TPanelCaption::SetShadeLight(int Value) {
  // The shading uses one byte of light: values are kept within 200..255.
  FShadeLight = std::clamp(Value, 200, 255);
  ShadeChanged();
}
void TPanelCaption::SetShadeGrain(uint8_t Value) {
  FShadeGrain = Value;
  ShadeChanged();
}
void TPanelCaption::SetShadeType(TShadeType Value) {
  FShadeType = Value;
  ShadeChanged();
}
void TPanelCaption::SetShape(TCaptionShape Value) {
  FShape = Value;
  ShadeChanged();
}
void TPanelCaption::SetText(const std::string& Value) {
  FText = Value;
  Changed();
}
void TPanelCaption::SetTopIndent(int Value) {
  if (FTopIndent == Value) return;
  FTopIndent = Value;
  Changed();
}
void TPanelCaption::SetVisible(bool Value) {
  FVisible = Value;
  Changed();
  if (OnStateChange) OnStateChange(this);
}

void TPanelCaption::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPanelCaption*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  SetBackground(s->Background());
  SetButtonPosition(s->ButtonPosition());
  SetColor(s->Color());
  SetColorTo(s->ColorTo());
  SetCloseColor(s->CloseColor());
  SetCloseButton(s->CloseButton());
  SetCloseButtonColor(s->CloseButtonColor());
  SetCloseButtonHoverColor(s->CloseButtonHoverColor());
  SetCloseMinGlyph(s->CloseMinGlyph());
  SetCloseMaxGlyph(s->CloseMaxGlyph());
  SetFlat(s->Flat());
  SetFont(s->Font());
  SetHeight(s->Height());
  SetIndent(s->Indent());
  SetMaxGlyph(s->MaxGlyph());
  SetMinGlyph(s->MinGlyph());
  SetMinMaxButton(s->MinMaxButton());
  SetMinMaxButtonColor(s->MinMaxButtonColor());
  SetMinMaxButtonHoverColor(s->MinMaxButtonHoverColor());
  SetShadeLight(s->ShadeLight());
  SetShadeGrain(s->ShadeGrain());
  SetShadeType(s->ShadeType());
  SetShape(s->Shape());
  SetGradientDirection(s->GradientDirection());
}

// ---- status bar ---------------------------------------------------------------------------------

void TPanelStatusBar::Publish(TClassBuilder<TPanelStatusBar>& P) {
  using S = TPanelStatusBar;
  P.Bool("BevelInner", &S::BevelInner, &S::SetBevelInner, false)
      .Int("BorderColor", &S::BorderColor, &S::SetBorderColor, clBlack)
      .Consts(ColorConsts())
      .Enum("BorderStyle", BorderStyleNames(), &S::BorderStyle, &S::SetBorderStyle, bsNone)
      .Int("ImageIndex", &S::ImageIndex, &S::SetImageIndex, -1)
      .Object("Font", &S::Font, &S::SetFont)
      .Str("Text", &S::Text, &S::SetText)
      .Int("Color", &S::Color, &S::SetColor, clBtnFace)
      .Consts(ColorConsts())
      .Int("ColorTo", &S::ColorTo, &S::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Enum("GradientDirection", DirectionNames(), &S::GradientDirection, &S::SetGradientDirection, gdHorizontal)
      .Int("Height", &S::Height, &S::SetHeight, 18)
      .Bool("Visible", &S::Visible, &S::SetVisible, false);
}

TPanelStatusBar::TPanelStatusBar() : FFont(std::make_unique<TFont>()) {
  FFont->SetName("Tahoma");
  FFont->OnChange = [this](TObject*) { Changed(); };
}

TPanelStatusBar::~TPanelStatusBar() { FFont->OnChange = nullptr; }

void TPanelStatusBar::Changed() {
  if (OnChanged) OnChanged();
}

#define LORM_STATUS_SETTER(Type, Name)           \
  void TPanelStatusBar::Set##Name(Type Value) {  \
    if (F##Name == Value) return;                \
    F##Name = Value;                             \
    Changed();                                   \
  }
LORM_STATUS_SETTER(bool, BevelInner)
LORM_STATUS_SETTER(TColor, BorderColor)
LORM_STATUS_SETTER(TBorderStyle, BorderStyle)
LORM_STATUS_SETTER(int, ImageIndex)
LORM_STATUS_SETTER(const std::string&, Text)
LORM_STATUS_SETTER(TColor, Color)
LORM_STATUS_SETTER(TColor, ColorTo)
LORM_STATUS_SETTER(TGradientDirection, GradientDirection)
LORM_STATUS_SETTER(int, Height)
LORM_STATUS_SETTER(bool, Visible)
#undef LORM_STATUS_SETTER

void TPanelStatusBar::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPanelStatusBar*>(Source);
  if (!s) return;
  SetColor(s->Color());
  SetColorTo(s->ColorTo());
  SetGradientDirection(s->GradientDirection());
  SetBorderStyle(s->BorderStyle());
  SetBorderColor(s->BorderColor());
  FFont->Assign(s->Font());
}

// ---- auto-size and position -------------------------------------------------------------------

void TAutoSize::Publish(TClassBuilder<TAutoSize>& P) {
  P.Bool("Enabled", &TAutoSize::Enabled, &TAutoSize::SetEnabled, false)
      .Bool("Height", &TAutoSize::Height, &TAutoSize::SetHeight, true)
      .Bool("Width", &TAutoSize::Width, &TAutoSize::SetWidth, true);
}

void TAutoSize::SetEnabled(bool Value) {
  FEnabled = Value;
  if (Value && FOwner) FOwner->DoAutoSize();
}

void TAutoSize::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TAutoSize*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FHeight = s->FHeight;
  FWidth = s->FWidth;
  SetEnabled(s->FEnabled);
}

void TPanelPosition::Publish(TClassBuilder<TPanelPosition>& P) {
  P.Bool("Save", &TPanelPosition::GetSave, &TPanelPosition::SetSave, false)
      .Str("Key", &TPanelPosition::GetKey, &TPanelPosition::SetKey)
      .Str("Section", &TPanelPosition::GetSection, &TPanelPosition::SetSection)
      .Enum("Location", LocationNames(), &TPanelPosition::GetLocation, &TPanelPosition::SetLocation, clRegistry);
}

void TPanelPosition::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPanelPosition*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  Key = s->Key;
  Section = s->Section;
  Save = s->Save;
  Location = s->Location;
}

// ---- settings -------------------------------------------------------------------------------------

void TRavUvureSettings::Publish(TClassBuilder<TRavUvureSettings>& P) {
  using S = TRavUvureSettings;
  P.Bool("AnchorHint", &S::AnchorHint, &S::AnchorHint)
      .Bool("AutoHideChildren", &S::AutoHideChildren, &S::AutoHideChildren, true)
      .Enum("BevelInner", BevelNames(), &S::BevelInner, &S::BevelInner)
      .Enum("BevelOuter", BevelNames(), &S::BevelOuter, &S::BevelOuter)
      .Int("BevelWidth", &S::BevelWidth, &S::BevelWidth)
      .Int("BorderColor", &S::BorderColor, &S::BorderColor)
      .Consts(ColorConsts())
      .Bool("BorderShadow", &S::BorderShadow, &S::BorderShadow)
      .Enum("BorderStyle", BorderStyleNames(), &S::BorderStyle, &S::BorderStyle)
      .Int("BorderWidth", &S::BorderWidth, &S::BorderWidth)
      .Bool("CanMove", &S::CanMove, &S::CanMove)
      .Bool("CanSize", &S::CanSize, &S::CanSize)
      .Object("Caption", &S::Caption, &S::SetCaption)
      .Bool("Collaps", &S::Collaps, &S::Collaps)
      .Int("CollapsColor", &S::CollapsColor, &S::CollapsColor)
      .Consts(ColorConsts())
      .Int("CollapsDelay", &S::CollapsDelay, &S::CollapsDelay)
      .Int("CollapsSteps", &S::CollapsSteps, &S::CollapsSteps)
      .Int("Color", &S::Color, &S::Color)
      .Consts(ColorConsts())
      .Int("ColorTo", &S::ColorTo, &S::ColorTo)
      .Consts(ColorConsts())
      .Int("ColorMirror", &S::ColorMirror, &S::ColorMirror)
      .Consts(ColorConsts())
      .Int("ColorMirrorTo", &S::ColorMirrorTo, &S::ColorMirrorTo)
      .Consts(ColorConsts())
      .Int("Cursor", &S::Cursor, &S::Cursor)
      .Bool("FixedTop", &S::FixedTop, &S::FixedTop)
      .Bool("FixedLeft", &S::FixedLeft, &S::FixedLeft)
      .Bool("FixedHeight", &S::FixedHeight, &S::FixedHeight)
      .Bool("FixedWidth", &S::FixedWidth, &S::FixedWidth)
      .Object("Font", &S::Font, &S::SetFont)
      .Int("Height", &S::Height, &S::Height)
      .Str("Hint", &S::Hint, &S::Hint)
      .Bool("Hover", &S::Hover, &S::Hover)
      .Int("HoverColor", &S::HoverColor, &S::HoverColor)
      .Consts(ColorConsts())
      .Int("HoverFontColor", &S::HoverFontColor, &S::HoverFontColor)
      .Consts(ColorConsts())
      .Int("Indent", &S::Indent, &S::Indent)
      .Int("ShadowColor", &S::ShadowColor, &S::ShadowColor)
      .Consts(ColorConsts())
      .Int("ShadowOffset", &S::ShadowOffset, &S::ShadowOffset)
      .Bool("ShowHint", &S::ShowHint, &S::ShowHint)
      .Bool("ShowMoveCursor", &S::ShowMoveCursor, &S::ShowMoveCursor)
      .Object("StatusBar", &S::StatusBar, &S::SetStatusBar)
      .Str("Text", &S::Text, &S::Text)
      .Enum("TextVAlign", VAlignNames(), &S::TextVAlign, &S::TextVAlign)
      .Int("TopIndent", &S::TopIndent, &S::TopIndent)
      .Int("URLColor", &S::URLColor, &S::URLColor)
      .Consts(ColorConsts())
      .Int("Width", &S::Width, &S::Width);
}

TRavUvureSettings::TRavUvureSettings()
    : FCaption(std::make_unique<TPanelCaption>()), FFont(std::make_unique<TFont>()),
      FStatusBar(std::make_unique<TPanelStatusBar>()) {
  FCaption->OnChange = [this](TObject*) { Changed(); };
}

TRavUvureSettings::~TRavUvureSettings() { FCaption->OnChange = nullptr; }

void TRavUvureSettings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TRavUvureSettings::Changed() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TRavUvureSettings::SetCaption(TPanelCaption* Value) {
  FCaption->Assign(Value);
  Changed();
}

void TRavUvureSettings::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Changed();
}

void TRavUvureSettings::SetStatusBar(TPanelStatusBar* Value) {
  FStatusBar->Assign(Value);
  Changed();
}

void TRavUvureSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TRavUvureSettings*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  AnchorHint = s->AnchorHint;
  AutoHideChildren = s->AutoHideChildren;
  BevelInner = s->BevelInner;
  BevelOuter = s->BevelOuter;
  BevelWidth = s->BevelWidth;
  BorderColor = s->BorderColor;
  BorderShadow = s->BorderShadow;
  BorderStyle = s->BorderStyle;
  BorderWidth = s->BorderWidth;
  CanMove = s->CanMove;
  CanSize = s->CanSize;
  Collaps = s->Collaps;
  CollapsColor = s->CollapsColor;
  CollapsDelay = s->CollapsDelay;
  CollapsSteps = s->CollapsSteps;
  Color = s->Color;
  ColorTo = s->ColorTo;
  ColorMirror = s->ColorMirror;
  ColorMirrorTo = s->ColorMirrorTo;
  Cursor = s->Cursor;
  FixedTop = s->FixedTop;
  FixedLeft = s->FixedLeft;
  FixedHeight = s->FixedHeight;
  FixedWidth = s->FixedWidth;
  Height = s->Height;
  Hint = s->Hint;
  Hover = s->Hover;
  HoverColor = s->HoverColor;
  HoverFontColor = s->HoverFontColor;
  Indent = s->Indent;
  TopIndent = s->TopIndent;
  ShadowColor = s->ShadowColor;
  ShadowOffset = s->ShadowOffset;
  ShowHint = s->ShowHint;
  ShowMoveCursor = s->ShowMoveCursor;
  Text = s->Text;
  TextVAlign = s->TextVAlign;
  URLColor = s->URLColor;
  Width = s->Width;
  FCaption->Assign(s->Caption());
  // The caption's own copy leaves out what a caption copy never takes; a settings copy
  // carries the whole caption.
  FCaption->SetText(s->Caption()->Text());
  FCaption->SetVisible(s->Caption()->Visible());
  FCaption->SetPosition(s->Caption()->Position());
  FCaption->SetTopIndent(s->Caption()->TopIndent());
  FCaption->SetMinMaxCaption(s->Caption()->MinMaxCaption());
  FFont->Assign(s->Font());
  FStatusBar->Assign(s->StatusBar());
  FStatusBar->SetText(s->StatusBar()->Text());
  FStatusBar->SetVisible(s->StatusBar()->Visible());
  FStatusBar->SetHeight(s->StatusBar()->Height());
  FStatusBar->SetImageIndex(s->StatusBar()->ImageIndex());
  FStatusBar->SetBevelInner(s->StatusBar()->BevelInner());
  EndUpdate();
}

// ---- the panel: construction, properties, copying ----------------------------------------------

void TCustomRavUvure::Publish(TClassBuilder<TCustomRavUvure>& P) { (void)P; }

void TRavUvure::Publish(TClassBuilder<TRavUvure>& P) {
  using R = TRavUvure;
  P.Bool("AnchorHint", &R::AnchorHint, &R::SetAnchorHint, false)
      .Object("AutoSize", &R::AutoSizeSettings, &R::SetAutoSizeSettings)
      .Bool("AutoHideChildren", &R::AutoHideChildren, &R::SetAutoHideChildren, true)
      .Object("Background", &R::Background, &R::SetBackground)
      .Enum("BackgroundPosition", BackgroundPositionNames(), &R::BackgroundPosition, &R::SetBackgroundPosition,
            RavUvure::bpTopLeft)
      .Int("BorderColor", &R::BorderColor, &R::SetBorderColor, clBlack)
      .Consts(ColorConsts())
      .Bool("BorderShadow", &R::BorderShadow, &R::SetBorderShadow, false)
      .Bool("Buffered", &R::Buffered, &R::SetBuffered, true)
      .Bool("CanMove", &R::CanMove, &R::SetCanMove, false)
      .Bool("CanSize", &R::CanSize, &R::SetCanSize, false)
      .Object("Caption", &R::Caption, &R::SetCaptionObject)
      .Bool("Collaps", &R::Collaps, &R::SetCollaps, false)
      .Int("CollapsColor", &R::CollapsColor, &R::SetCollapsColor, 0x808080)
      .Consts(ColorConsts())
      .Int("CollapsDelay", &R::CollapsDelay, &R::SetCollapsDelay, 20)
      .Int("CollapsSteps", &R::CollapsSteps, &R::SetCollapsSteps, 0)
      .Int("ColorTo", &R::ColorTo, &R::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Int("ColorMirror", &R::ColorMirror, &R::SetColorMirror, clNone)
      .Consts(ColorConsts())
      .Int("ColorMirrorTo", &R::ColorMirrorTo, &R::SetColorMirrorTo, clNone)
      .Consts(ColorConsts())
      .Bool("Ellipsis", &R::Ellipsis, &R::SetEllipsis, false)
      .Bool("FixedTop", &R::FixedTop, &R::SetFixedTop, false)
      .Bool("FixedLeft", &R::FixedLeft, &R::SetFixedLeft, false)
      .Bool("FixedHeight", &R::FixedHeight, &R::SetFixedHeight, false)
      .Bool("FixedWidth", &R::FixedWidth, &R::SetFixedWidth, false)
      .Bool("FreeOnClose", &R::FreeOnClose, &R::SetFreeOnClose, false)
      .Enum("GradientDirection", DirectionNames(), &R::GradientDirection, &R::SetGradientDirection, gdVertical)
      .Bool("Hover", &R::Hover, &R::SetHover, false)
      .Int("HoverColor", &R::HoverColor, &R::SetHoverColor, clNone)
      .Consts(ColorConsts())
      .Int("HoverFontColor", &R::HoverFontColor, &R::SetHoverFontColor, clNone)
      .Consts(ColorConsts())
      .Component("Images", &R::Images, &R::SetImages)
      .Int("Indent", &R::Indent, &R::SetIndent, 0)
      .Int("LineSpacing", &R::LineSpacing, &R::SetLineSpacing, 0)
      .Component("PictureContainer", &R::PictureContainer, &R::SetPictureContainer)
      .Object("Position", &R::Position, &R::SetPositionObject)
      .Int("ShadowColor", &R::ShadowColor, &R::SetShadowColor, 0x808080)
      .Consts(ColorConsts())
      .Int("ShadowOffset", &R::ShadowOffset, &R::SetShadowOffset, 2)
      .Bool("ShowMoveCursor", &R::ShowMoveCursor, &R::SetShowMoveCursor, false)
      .Object("StatusBar", &R::StatusBar, &R::SetStatusBarObject)
      .Component("Styler", &R::Styler, &R::SetStyler)
      .Str("Text", &R::Text, &R::SetText)
      .Enum("TextVAlign", VAlignNames(), &R::TextVAlign, &R::SetTextVAlign, tvaTop)
      .Int("TopIndent", &R::TopIndent, &R::SetTopIndent, 0)
      .Int("URLColor", &R::URLColor, &R::SetURLColor, clBlue)
      .Consts(ColorConsts())
      .Str("Version", &R::GetVersion, &R::SetVersion)
      .Stored(false)
      .Event("OnCaptionClick", &R::OnCaptionClick)
      .Event("OnCaptionDBlClick", &R::OnCaptionDBlClick)
      .Event("OnAnchorClick", &R::OnAnchorClick)
      .Event("OnAnchorEnter", &R::OnAnchorEnter)
      .Event("OnAnchorExit", &R::OnAnchorExit)
      .Event("OnAnchorHint", &R::OnAnchorHint)
      .Event("OnClose", &R::OnClose)
      .Event("OnEndMoveSize", &R::OnEndMoveSize)
      .Event("OnMinimize", &R::OnMinimize)
      .Event("OnMaximize", &R::OnMaximize)
      .Event("OnEndCollapsExpand", &R::OnEndCollapsExpand)
      .Event("OnPaint", &R::OnPaint);
}

TCustomRavUvure::TCustomRavUvure(TComponent* AOwner)
    : TCustomPanel(AOwner), FCaption(std::make_unique<TPanelCaption>()), FStatusBar(std::make_unique<TPanelStatusBar>()),
      FPosition(std::make_unique<TPanelPosition>()), FAutoSize(std::make_unique<TAutoSize>(this)),
      FBackground(std::make_unique<TDizImage>()), FPictureCache(std::make_unique<THTMLPictureCache>()),
      FShadeBitmap(std::make_unique<TBitmap>()) {
  FControlStyle -= csSetCaption;
  SetDoubleBuffered(true);
  FCaption->OnChange = [this](TObject*) {
    if (ControlCount() > 0) Realign();
    Invalidate();
  };
  FCaption->OnShadeChange = [this](TObject*) { ShadeHeader(); };
  FCaption->OnStateChange = [this](TObject*) { StateChange(); };
  FCaption->OnPositionChange = [this](TObject*) {
    DoAutoSize();
    ShadeHeader();
    Invalidate();
  };
  FStatusBar->OnChanged = [this] { Invalidate(); };
  FBackground->OnChange = [this](TObject*) { Invalidate(); };
  OSVERSIONINFO info;
  GetVersionEx(&info);
  FIsWinXP = info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
  FFullHeight = Height();
}

TCustomRavUvure::~TCustomRavUvure() {
  if (FCollapseTimer && HandleAllocated()) KillTimer(Handle(), FCollapseTimer);
  FCaption->OnChange = nullptr;
  FCaption->OnShadeChange = nullptr;
  FCaption->OnStateChange = nullptr;
  FCaption->OnPositionChange = nullptr;
  FStatusBar->OnChanged = nullptr;
  FBackground->OnChange = nullptr;
}

#define LORM_PANEL_SETTER(Type, Name)           \
  void TCustomRavUvure::Set##Name(Type Value) { \
    if (F##Name == Value) return;               \
    F##Name = Value;                            \
    Invalidate();                               \
  }
LORM_PANEL_SETTER(bool, AnchorHint)
LORM_PANEL_SETTER(bool, AutoHideChildren)
LORM_PANEL_SETTER(TBackGroundPosition, BackgroundPosition)
LORM_PANEL_SETTER(TColor, BorderColor)
LORM_PANEL_SETTER(bool, BorderShadow)
LORM_PANEL_SETTER(bool, Buffered)
LORM_PANEL_SETTER(bool, CanMove)
LORM_PANEL_SETTER(bool, CanSize)
LORM_PANEL_SETTER(TColor, CollapsColor)
LORM_PANEL_SETTER(int, CollapsDelay)
LORM_PANEL_SETTER(int, CollapsSteps)
LORM_PANEL_SETTER(TColor, ColorTo)
LORM_PANEL_SETTER(TColor, ColorMirror)
LORM_PANEL_SETTER(TColor, ColorMirrorTo)
LORM_PANEL_SETTER(bool, Ellipsis)
LORM_PANEL_SETTER(bool, FixedTop)
LORM_PANEL_SETTER(bool, FixedLeft)
LORM_PANEL_SETTER(bool, FixedHeight)
LORM_PANEL_SETTER(bool, FixedWidth)
LORM_PANEL_SETTER(bool, FreeOnClose)
LORM_PANEL_SETTER(TGradientDirection, GradientDirection)
LORM_PANEL_SETTER(bool, Hover)
LORM_PANEL_SETTER(TColor, HoverColor)
LORM_PANEL_SETTER(TColor, HoverFontColor)
LORM_PANEL_SETTER(int, Indent)
LORM_PANEL_SETTER(int, TopIndent)
LORM_PANEL_SETTER(int, LineSpacing)
LORM_PANEL_SETTER(TColor, ShadowColor)
LORM_PANEL_SETTER(int, ShadowOffset)
LORM_PANEL_SETTER(bool, ShowMoveCursor)
LORM_PANEL_SETTER(TTextVAlignment, TextVAlign)
LORM_PANEL_SETTER(TColor, URLColor)
#undef LORM_PANEL_SETTER

void TCustomRavUvure::SetAutoSizeSettings(TAutoSize* Value) {
  if (ComponentState().Contains(csLoading)) return;
  FAutoSize->Assign(Value);
}

void TCustomRavUvure::SetBackground(TDizImage* Value) {
  FBackground->Assign(Value);
  Invalidate();
}

void TCustomRavUvure::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TCustomRavUvure::SetPictureContainer(TPictureContainer* Value) {
  if (FPictureContainer == Value) return;
  if (FPictureContainer) FPictureContainer->RemoveFreeNotification(this);
  FPictureContainer = Value;
  if (FPictureContainer) FPictureContainer->FreeNotification(this);
  Invalidate();
}

void TCustomRavUvure::SetText(const std::string& Value) {
  FPanelText = Value;
  Invalidate();
  DoAutoSize();
}

void TCustomRavUvure::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FPictureContainer) FPictureContainer = nullptr;
  if (AComponent == reinterpret_cast<TComponent*>(FStyler)) FStyler = nullptr;
}

void TCustomRavUvure::DefineProperties(TFiler* Filer) {
  TCustomPanel::DefineProperties(Filer);
  Filer->DefineProperty(
      "FullHeight", [this](TReader& Reader) { FFullHeight = int(std::clamp<int64_t>(Reader.ReadInteger(), 0, kMaxCoordinate)); },
      [this](TWriter& Writer) { Writer.WriteInteger(FFullHeight); }, true);
}

void TCustomRavUvure::AssignStyle(TRavUvureSettings* S) {
  if (!S) return;
  SetAnchorHint(S->AnchorHint);
  SetAutoHideChildren(S->AutoHideChildren);
  SetBevelInner(S->BevelInner);
  SetBevelOuter(S->BevelOuter);
  SetBevelWidth(S->BevelWidth);
  SetBorderColor(S->BorderColor);
  SetBorderShadow(S->BorderShadow);
  SetBorderStyle(S->BorderStyle);
  SetBorderWidth(S->BorderWidth);
  SetCanMove(S->CanMove);
  SetCanSize(S->CanSize);
  const bool closeButton = FCaption->CloseButton(), minMaxButton = FCaption->MinMaxButton();
  FCaption->Assign(S->Caption());
  FCaption->SetCloseButton(closeButton);
  FCaption->SetMinMaxButton(minMaxButton);
  SetCollapsColor(S->CollapsColor);
  SetCollapsDelay(S->CollapsDelay);
  SetCollapsSteps(S->CollapsSteps);
  SetColor(S->Color);
  SetColorTo(S->ColorTo);
  SetColorMirror(S->ColorMirror);
  SetColorMirrorTo(S->ColorMirrorTo);
  SetCursor(S->Cursor);
  Font()->Assign(S->Font());
  SetFixedTop(S->FixedTop);
  SetFixedLeft(S->FixedLeft);
  SetFixedHeight(S->FixedHeight);
  SetFixedWidth(S->FixedWidth);
  SetHover(S->Hover);
  SetHoverColor(S->HoverColor);
  SetHoverFontColor(S->HoverFontColor);
  SetIndent(S->Indent);
  SetShadowColor(S->ShadowColor);
  SetShadowOffset(S->ShadowOffset);
  SetShowHint(S->ShowHint);
  SetShowMoveCursor(S->ShowMoveCursor);
  FStatusBar->Assign(S->StatusBar());
  SetTextVAlign(S->TextVAlign);
  SetTopIndent(S->TopIndent);
  SetURLColor(S->URLColor);
}

void TCustomRavUvure::AssignSettings(TRavUvureSettings* Settings) {
  AssignStyle(Settings);
  SetHeight(Settings->Height);
  SetWidth(Settings->Width);
  SetHint(Settings->Hint);
}

void TCustomRavUvure::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomRavUvure*>(Source);
  if (!s) {
    TCustomPanel::Assign(Source);
    return;
  }
  SetAnchorHint(s->AnchorHint());
  SetAutoHideChildren(s->AutoHideChildren());
  SetBackground(s->Background());
  SetBackgroundPosition(s->BackgroundPosition());
  SetBevelInner(s->BevelInner());
  SetBevelOuter(s->BevelOuter());
  SetBevelWidth(s->BevelWidth());
  SetBorderColor(s->BorderColor());
  SetBorderShadow(s->BorderShadow());
  SetBorderStyle(s->BorderStyle());
  SetCanMove(s->CanMove());
  SetCanSize(s->CanSize());
  FCaption->Assign(s->Caption());
  SetCollapsColor(s->CollapsColor());
  SetCollapsDelay(s->CollapsDelay());
  SetCollapsSteps(s->CollapsSteps());
  SetColor(s->Color());
  SetColorTo(s->ColorTo());
  SetColorMirror(s->ColorMirror());
  SetColorMirrorTo(s->ColorMirrorTo());
  SetCursor(s->Cursor());
  SetEnabled(s->Enabled());
  Font()->Assign(s->Font());
  SetFixedTop(s->FixedTop());
  SetFixedLeft(s->FixedLeft());
  SetFixedHeight(s->FixedHeight());
  SetFixedWidth(s->FixedWidth());
  SetFreeOnClose(s->FreeOnClose());
  SetHeight(s->Height());
  SetHelpContext(s->HelpContext());
  SetHint(s->Hint());
  SetHover(s->Hover());
  SetHoverColor(s->HoverColor());
  SetHoverFontColor(s->HoverFontColor());
  SetImages(s->Images());
  SetParentColor(s->ParentColor());
  SetParentFont(s->ParentFont());
  SetParentShowHint(s->ParentShowHint());
  SetPictureContainer(s->PictureContainer());
  SetPopupMenu(s->PopupMenu());
  FPosition->Assign(s->Position());
  FStatusBar->Assign(s->StatusBar());
  SetShadowColor(s->ShadowColor());
  SetShadowOffset(s->ShadowOffset());
  SetShowHint(s->ShowHint());
  SetShowMoveCursor(s->ShowMoveCursor());
  SetTabStop(s->TabStop());
  SetTag(s->Tag());
  SetText(s->Text());
  SetTextVAlign(s->TextVAlign());
  SetURLColor(s->URLColor());
  SetVisible(s->Visible());
}

// ---- persistence ------------------------------------------------------------------------------------

namespace {
std::unique_ptr<TCustomIniFile> OpenPositionStore(const TPanelPosition& P) {
  if (P.Location == clInifile) return std::make_unique<TIniFile>(P.Key);
  return std::make_unique<TRegistryIniFile>(P.Key);
}
}  // namespace

void TCustomRavUvure::SavePosition() {
  if (FPosition->Key.empty() || FPosition->Section.empty() || ComponentState().Contains(csDesigning)) return;
  auto store = OpenPositionStore(*FPosition);
  const std::string& s = FPosition->Section;
  store->WriteInteger(s, "Top", Top());
  store->WriteInteger(s, "Left", Left());
  store->WriteInteger(s, "Height", Height());
  store->WriteInteger(s, "FullHeight", FFullHeight);
  store->WriteInteger(s, "Width", Width());
  store->WriteInteger(s, "Collaps", FCollaps ? 1 : 0);
}

void TCustomRavUvure::LoadPosition() {
  if (FPosition->Key.empty() || FPosition->Section.empty() || ComponentState().Contains(csDesigning)) return;
  auto store = OpenPositionStore(*FPosition);
  const std::string& s = FPosition->Section;
  SetTop(store->ReadInteger(s, "Top", Top()));
  SetLeft(store->ReadInteger(s, "Left", Left()));
  SetHeight(store->ReadInteger(s, "Height", Height()));
  SetWidth(store->ReadInteger(s, "Width", Width()));
  SetCollaps(store->ReadInteger(s, "Collaps", 0) == 1);
  // The setters above keep the bounds within the coordinate range; so does this size.
  FFullHeight = std::clamp(store->ReadInteger(s, "FullHeight", Height()), 0, kMaxCoordinate);
}
