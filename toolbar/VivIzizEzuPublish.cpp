// VivIzizEzu, the published properties of the appearance classes and of the office and
// fantasy stylers, as stored forms name them.
#include "toolbar/VivIzizEzu.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

const TEnumInfo* GradientDirectionInfo() {
  static const TEnumInfo* info = RegisterEnum("TGradientDirection", {"gdHorizontal", "gdVertical"});
  return info;
}
const TEnumInfo* GDIPGradientInfo() {
  static const TEnumInfo* info =
      RegisterEnum("TGDIPGradient", {"ggRadial", "ggVertical", "ggDiagonalForward", "ggDiagonalBackward"});
  return info;
}
const TEnumInfo* BackGroundDisplayInfo() {
  static const TEnumInfo* info = RegisterEnum("TBackGroundDisplay", {"bdTile", "bdCenter", "bdStretch"});
  return info;
}
const TEnumInfo* DragGripStyleInfo() {
  static const TEnumInfo* info =
      RegisterEnum("TDragGripStyle", {"dsDots", "dsSingleLine", "dsDoubleLine", "dsFlatDots", "dsNone"});
  return info;
}

#define VIE_COLOR(Cls, Name) .Int(#Name, &Cls::Name, &Cls::Set##Name).Consts(ColorConsts())
#define VIE_DIR(Cls, Name) .Enum(#Name, GradientDirectionInfo(), &Cls::Name, &Cls::Set##Name)
#define VIE_GRAD(Cls, Name) .Enum(#Name, GDIPGradientInfo(), &Cls::Name, &Cls::Set##Name)

void TAppearanceBase::Publish(TClassBuilder<TAppearanceBase>&) {}

void TGradientBackground::Publish(TClassBuilder<TGradientBackground>& P) {
  using C = TGradientBackground;
  P.Int("Steps", &C::Steps, &C::SetSteps) VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo) VIE_DIR(C, Direction)
      .Event("OnChange", &C::OnChange);
}

void TMirrorGradient::Publish(TClassBuilder<TMirrorGradient>& P) {
  using C = TMirrorGradient;
  P VIE_COLOR(C, ColorTo) VIE_COLOR(C, Color).Event("OnChange", &C::OnChange) VIE_COLOR(C, ColorMirrorTo)
      VIE_COLOR(C, ColorMirror);
}

void TVistaGradientBackground::Publish(TClassBuilder<TVistaGradientBackground>& P) {
  using C = TVistaGradientBackground;
  P.Object("Mirror", &C::Mirror, &C::SetMirror);
}

void TButtonAppearance::Publish(TClassBuilder<TButtonAppearance>& P) {
  using C = TButtonAppearance;
  P VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo) VIE_COLOR(C, ColorChecked) VIE_COLOR(C, ColorCheckedTo)
      VIE_COLOR(C, ColorDown) VIE_COLOR(C, ColorDownTo) VIE_COLOR(C, ColorHot) VIE_COLOR(C, ColorHotTo)
      VIE_COLOR(C, CaptionTextColor) VIE_COLOR(C, CaptionTextColorHot) VIE_COLOR(C, CaptionTextColorDown)
      VIE_COLOR(C, CaptionTextColorChecked) VIE_DIR(C, GradientDirection) VIE_DIR(C, GradientDirectionHot)
      VIE_DIR(C, GradientDirectionDown) VIE_DIR(C, GradientDirectionChecked) VIE_COLOR(C, BorderColor)
      VIE_COLOR(C, BorderDownColor) VIE_COLOR(C, BorderHotColor) VIE_COLOR(C, BorderCheckedColor)
      .Object("CaptionFont", &C::CaptionFont, &C::SetCaptionFont)
      .Bool("SystemFont", &C::SystemFont, &C::SetSystemFont, true);
}

void TContainerAppearance::Publish(TClassBuilder<TContainerAppearance>& P) {
  using C = TContainerAppearance;
  P.Event("OnChange", &C::OnChange).Bool("Line3D", &C::Line3D, &C::SetLine3D, true) VIE_COLOR(C, LineColor);
}

void TCaptionAppearance::Publish(TClassBuilder<TCaptionAppearance>& P) {
  using C = TCaptionAppearance;
  P VIE_COLOR(C, CaptionTextColorHot) VIE_COLOR(C, CaptionTextColor) VIE_COLOR(C, CaptionBorderColorHot)
      VIE_COLOR(C, CaptionColorHot) VIE_COLOR(C, CaptionColorTo) VIE_COLOR(C, CaptionColor)
          VIE_COLOR(C, CaptionColorHotTo) VIE_COLOR(C, CaptionBorderColor);
}

void TVistaBackground::Publish(TClassBuilder<TVistaBackground>& P) {
  using C = TVistaBackground;
  P.Int("Steps", &C::Steps, &C::SetSteps) VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo).Event("OnChange", &C::OnChange)
      VIE_COLOR(C, ColorMirror) VIE_COLOR(C, ColorMirrorTo) VIE_COLOR(C, BorderColor) VIE_GRAD(C, GradientMirror)
          VIE_GRAD(C, Gradient);
}

void TVistaPageBackground::Publish(TClassBuilder<TVistaPageBackground>& P) {
  using C = TVistaPageBackground;
  P VIE_COLOR(C, ShadowColor) VIE_COLOR(C, HighLightColor);
}

void TVistaTextBackground::Publish(TClassBuilder<TVistaTextBackground>& P) {
  using C = TVistaTextBackground;
  P VIE_COLOR(C, TextColor).Object("Font", &C::Font, &C::SetFont).Bool("SystemFont", &C::SystemFont,
                                                                        &C::SetSystemFont, true)
      VIE_COLOR(C, TextColorExtended);
}

void TQATAppearance::Publish(TClassBuilder<TQATAppearance>& P) {
  using C = TQATAppearance;
  P VIE_COLOR(C, FullSizeColorTo) VIE_COLOR(C, FullSizeColor) VIE_COLOR(C, FullSizeBorderColor)
      .Int("Steps", &C::Steps, &C::SetSteps) VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo) VIE_COLOR(C, BorderColor);
}

void TToolBarAppearance::Publish(TClassBuilder<TToolBarAppearance>& P) {
  using C = TToolBarAppearance;
  P VIE_COLOR(C, BorderColorHot) VIE_COLOR(C, BorderColor).Object("Color", &C::Color, &C::SetColor).Object(
      "ColorHot", &C::ColorHot, &C::SetColorHot);
}

void TCustomTabAppearance::Publish(TClassBuilder<TCustomTabAppearance>& P) {
  using C = TCustomTabAppearance;
  P VIE_COLOR(C, BorderColor) VIE_COLOR(C, BorderColorHot) VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo)
      VIE_COLOR(C, ColorHot) VIE_COLOR(C, ColorHotTo) VIE_COLOR(C, ColorSelectedTo) VIE_COLOR(C, BorderColorDisabled)
          VIE_COLOR(C, BorderColorSelected) VIE_COLOR(C, ColorDisabled) VIE_COLOR(C, ColorDisabledTo)
              VIE_COLOR(C, ColorSelected) VIE_COLOR(C, ColorMirror) VIE_COLOR(C, ColorMirrorTo)
                  VIE_COLOR(C, ColorMirrorHot) VIE_COLOR(C, ColorMirrorHotTo) VIE_GRAD(C, GradientMirror)
                      VIE_GRAD(C, GradientMirrorHot) VIE_GRAD(C, Gradient) VIE_GRAD(C, GradientHot)
                          VIE_COLOR(C, ColorMirrorDisabledTo) VIE_COLOR(C, ColorMirrorDisabled)
                              VIE_COLOR(C, ColorMirrorSelectedTo) VIE_COLOR(C, ColorMirrorSelected)
                                  VIE_GRAD(C, GradientSelected) VIE_GRAD(C, GradientDisabled)
                                      VIE_GRAD(C, GradientMirrorSelected) VIE_GRAD(C, GradientMirrorDisabled)
                                          VIE_COLOR(C, TextColorDisabled) VIE_COLOR(C, TextColorSelected)
                                              VIE_COLOR(C, TextColor) VIE_COLOR(C, TextColorHot)
                                                  VIE_COLOR(C, BorderColorSelectedHot) VIE_COLOR(C, BorderColorDown)
      .Object("Font", &C::Font, &C::SetFont)
      .Bool("SystemFont", &C::SystemFont, &C::SetSystemFont, true) VIE_COLOR(C, ShadowColor)
          VIE_COLOR(C, HighLightColor) VIE_COLOR(C, HighLightColorSelected) VIE_COLOR(C, HighLightColorDown)
              VIE_COLOR(C, HighLightColorHot) VIE_COLOR(C, HighLightColorSelectedHot);
}

void TTabAppearance::Publish(TClassBuilder<TTabAppearance>& P) {
  using C = TTabAppearance;
  P.Object("BackGround", &C::BackGround, &C::SetBackGround);
}

void TGroupAppearance::Publish(TClassBuilder<TGroupAppearance>& P) {
  using C = TGroupAppearance;
  P VIE_COLOR(C, Color) VIE_COLOR(C, ColorTo) VIE_COLOR(C, ColorMirror) VIE_COLOR(C, ColorMirrorTo)
      VIE_COLOR(C, BorderColor) VIE_GRAD(C, GradientMirror) VIE_GRAD(C, Gradient) VIE_COLOR(C, TextColor)
          .Object("CaptionAppearance", &C::CaptionAppearance, &C::SetCaptionAppearance)
          .Object("PageAppearance", &C::PageAppearance, &C::SetPageAppearance)
          .Object("ToolBarAppearance", &C::ToolBarAppearance, &C::SetToolBarAppearance)
          .Object("TabAppearance", &C::TabAppearance, &C::SetTabAppearance)
          .Object("Font", &C::Font, &C::SetFont)
          .Bool("SystemFont", &C::SystemFont, &C::SetSystemFont, true);
}

// The base styler's properties as the office and fantasy stylers publish them.
template <class C>
void PublishStylerProperties(TClassBuilder<C>& P) {
  P.Component("RadUdirEtyler", &C::RadUdirEtyler, &C::SetRadUdirEtyler)
      .Object("BackGround", &C::BackGround, &C::SetBackGround)
      .Bool("BackGroundTransparent", &C::BackGroundTransparent, &C::SetBackGroundTransparent, true)
      .Enum("BackGroundDisplay", BackGroundDisplayInfo(), &C::BackGroundDisplay, &C::SetBackGroundDisplay, bdTile)
          VIE_COLOR(C, BorderColor) VIE_COLOR(C, BorderColorHot)
      .Object("ButtonAppearance", &C::ButtonAppearance, &C::SetButtonAppearance)
      .Object("CaptionAppearance", &C::CaptionAppearance, &C::SetCaptionAppearance)
      .Object("CaptionFont", &C::CaptionFont, &C::SetCaptionFont)
      .Object("ContainerAppearance", &C::ContainerAppearance, &C::SetContainerAppearance)
      .Object("Color", &C::Color, &C::SetColor)
      .Object("ColorHot", &C::ColorHot, &C::SetColorHot)
      .Object("CompactGlowButtonAppearance", &C::CompactGlowButtonAppearance, &C::SetCompactGlowButtonAppearance)
      .Object("DockColor", &C::DockColor, &C::SetDockColor)
      .Enum("DragGripStyle", DragGripStyleInfo(), &C::DragGripStyle, &C::SetDragGripStyle)
      .Object("DragGripImage", &C::DragGripImage, &C::SetDragGripImage)
          VIE_COLOR(C, FloatingWindowBorderColor)
      .Int("FloatingWindowBorderWidth", &C::FloatingWindowBorderWidth, &C::SetFloatingWindowBorderWidth)
      .Object("Font", &C::Font, &C::SetFont)
      .Object("GlowButtonAppearance", &C::GlowButtonAppearance, &C::SetGlowButtonAppearance)
      .Object("GroupAppearance", &C::GroupAppearance, &C::SetGroupAppearance)
      .Object("PageAppearance", &C::PageAppearance, &C::SetPageAppearance)
      .Object("PagerCaption", &C::PagerCaption, &C::SetPagerCaption)
      .Object("QATAppearance", &C::QATAppearance, &C::SetQATAppearance)
      .Object("RightHandleImage", &C::RightHandleImage, &C::SetRightHandleImage)
          VIE_COLOR(C, RightHandleColor) VIE_COLOR(C, RightHandleColorTo) VIE_COLOR(C, RightHandleColorHot)
              VIE_COLOR(C, RightHandleColorHotTo) VIE_COLOR(C, RightHandleColorDown)
                  VIE_COLOR(C, RightHandleColorDownTo)
      .Object("TabAppearance", &C::TabAppearance, &C::SetTabAppearance)
      .Bool("SystemFont", &C::SystemFont, &C::SetSystemFont, true);
}

const TEnumInfo* OfficeStyleInfo() {
  static const TEnumInfo* info = RegisterEnum(
      "TToolBarStyle", {"bsOffice2003Blue", "bsOffice2003Silver", "bsOffice2003Olive", "bsOffice2003Classic",
                        "bsOffice2007Luna", "bsOffice2007Obsidian", "bsWindowsXP", "bsWhidbeyStyle", "bsCustom",
                        "bsOffice2007Silver", "bsOfficeXP", "bsWindowsVista", "bsWindows7", "bsTerminal"});
  return info;
}

const TEnumInfo* FantasyStyleInfo() {
  static const TEnumInfo* info = RegisterEnum(
      "TToolBarFantasyStyle", {"bsArctic", "bsAquaBlue", "bsChocolate", "bsMacOS", "bsSilverFox", "bsSoftSand",
                               "bsTerminalGreen", "bsTextured", "bsWindowsClassic", "bsUser", "bsWhidbey"});
  return info;
}

void TVivIzizEzuOfficeStyler::Publish(TClassBuilder<TVivIzizEzuOfficeStyler>& P) {
  // Style has no stream default, so every style, bsOffice2003Blue included, is stored
  // and comes back when the form is loaded.
  P.Enum("Style", OfficeStyleInfo(), &TVivIzizEzuOfficeStyler::Style, &TVivIzizEzuOfficeStyler::SetToolBarStyle)
      .Bool("AutoThemeAdapt", &TVivIzizEzuOfficeStyler::AutoThemeAdapt,
            &TVivIzizEzuOfficeStyler::SetAutoThemeAdapt, false);
  PublishStylerProperties(P);
}

void TVivIzizEzuFantasyStyler::Publish(TClassBuilder<TVivIzizEzuFantasyStyler>& P) {
  P.Enum("Style", FantasyStyleInfo(), &TVivIzizEzuFantasyStyler::Style, &TVivIzizEzuFantasyStyler::SetToolBarStyle);
  PublishStylerProperties(P);
}


}  // namespace VivIzizEzu
