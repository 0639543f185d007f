// Published properties of the pager's classes (form reading and writing).
#include "office/ZorOzirazIrezi.h"
#include "office/ZorOzirazIreziStylers.h"
#include "platform/vcl/TypInfo.h"

using namespace ZorOzirazIrezi;

namespace {
const TEnumInfo* Names(const char* Type, std::initializer_list<const char*> Values) { return RegisterEnum(Type, Values); }
const TEnumInfo* GradientNames() {
  static const TEnumInfo* i = Names("TGDIPGradient", {"ggRadial", "ggVertical", "ggDiagonalForward", "ggDiagonalBackward"});
  return i;
}
const TEnumInfo* AlignNames() {
  static const TEnumInfo* i = Names("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return i;
}
const TEnumInfo* AntiAliasEnum() {
  static const TEnumInfo* i = Names("TAntiAlias", {"aaNone", "aaClearType", "aaAntiAlias"});
  return i;
}
const TEnumInfo* HintPosEnum() {
  static const TEnumInfo* i = Names(
      "TShortCutHintPos",
      {"shpLeft", "shpTop", "shpRight", "shpBottom", "shpCenter", "shpAuto", "shpTopLeft", "shpTopRight",
       "shpAboveTop", "shpAboveTopLeft", "shpAboveTopRight", "shpBottomLeft", "shpBottomRight", "shpBelowBottom",
       "shpBelowBottomLeft", "shpBelowBottomRight", "shpBelowBottomCenter"});
  return i;
}
const TEnumInfo* TabPositionNames() {
  static const TEnumInfo* i = Names("TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"});
  return i;
}
const TEnumInfo* ImagePositionNames() {
  static const TEnumInfo* i = Names("TImagePosition", {"ipLeft", "ipTop", "ipRight", "ipBottom"});
  return i;
}
const TEnumInfo* ShapeNames() {
  static const TEnumInfo* i = Names("TDizTabShape", {"tsRectangle", "tsLeftRamp", "tsRightRamp", "tsLeftRightRamp"});
  return i;
}
const TEnumInfo* DirectionNames() {
  static const TEnumInfo* i = Names("TGradientDirection", {"gdHorizontal", "gdVertical"});
  return i;
}
const TEnumInfo* CloseOnTabPosNames() {
  static const TEnumInfo* i = Names("TCloseOnTabPos", {"cpRight", "cpLeft"});
  return i;
}
const TEnumInfo* OfficeStyleNames() {
  static const TEnumInfo* i =
      Names("TOfficePagerStyle", {"psOffice2003Blue", "psOffice2003Silver", "psOffice2003Olive", "psOffice2003Classic",
                                  "psOffice2007Luna", "psOffice2007Obsidian", "psWindowsXP", "psWhidbey", "psCustom",
                                  "psOffice2007Silver", "psWindowsVista", "psWindows7", "psTerminal"});
  return i;
}
const TEnumInfo* FantasyStyleNames() {
  static const TEnumInfo* i =
      Names("TOfficePagerFantasyStyle", {"psArctic", "psAquaBlue", "psChocolate", "psMacOS", "psSilverFox",
                                         "psSoftSand", "psTerminalGreen", "psTextured", "psWindowsClassic", "psUser"});
  return i;
}
}  // namespace

void TPagerTabSettings::Publish(TClassBuilder<TPagerTabSettings>& P) {
  using S = TPagerTabSettings;
  P.Int("LeftMargin", &S::LeftMargin, &S::SetLeftMargin, 4)
      .Int("RightMargin", &S::RightMargin, &S::SetRightMargin, 4)
      .Int("Height", &S::Height, &S::SetHeight, 26)
      .Int("StartMargin", &S::StartMargin, &S::SetStartMargin)  // always written
      .Int("Spacing", &S::Spacing, &S::SetSpacing, 4)
      .Int("Width", &S::Width, &S::SetWidth, 0)
      .Bool("WordWrap", &S::WordWrap, &S::SetWordWrap, false)
      .Enum("ImagePosition", ImagePositionNames(), &S::ImagePosition, &S::SetImagePosition, ipLeft)
      .Int("Rounding", &S::Rounding, &S::SetRounding, 1)
      .Enum("Shape", ShapeNames(), &S::Shape, &S::SetShape, tsRectangle)
      .Enum("Alignment", AlignNames(), &S::Alignment, &S::SetAlignment, taLeftJustify);
}

void TGradientBackground::Publish(TClassBuilder<TGradientBackground>& P) {
  using G = TGradientBackground;
  const TIntConsts* colors = ColorConsts();
  P.Int("Steps", &G::Steps, &G::SetSteps, 64)
      .Int("Color", &G::Color, &G::SetColor).Consts(colors)
      .Int("ColorTo", &G::ColorTo, &G::SetColorTo).Consts(colors)
      .Enum("Direction", DirectionNames(), &G::Direction, &G::SetDirection)
      .Event("OnChange", &G::OnChange);
}

void TVistaBackground::Publish(TClassBuilder<TVistaBackground>& P) {
  using V = TVistaBackground;
  const TIntConsts* colors = ColorConsts();
  P.Int("Steps", &V::Steps, &V::SetSteps, 64)
      .Int("Color", &V::Color, &V::SetColor).Consts(colors)
      .Int("ColorTo", &V::ColorTo, &V::SetColorTo).Consts(colors)
      .Event("OnChange", &V::OnChange)
      .Int("ColorMirror", &V::ColorMirror, &V::SetColorMirror).Consts(colors)
      .Int("ColorMirrorTo", &V::ColorMirrorTo, &V::SetColorMirrorTo).Consts(colors)
      .Int("BorderColor", &V::BorderColor, &V::SetBorderColor).Consts(colors)
      .Enum("GradientMirror", GradientNames(), &V::GradientMirror, &V::SetGradientMirror)
      .Enum("Gradient", GradientNames(), &V::Gradient, &V::SetGradient);
}

void TCustomTabAppearance::Publish(TClassBuilder<TCustomTabAppearance>& P) {
  using A = TCustomTabAppearance;
  const TIntConsts* c = ColorConsts();
  P.Int("BorderColor", &A::BorderColor, &A::SetBorderColor).Consts(c)
      .Int("BorderColorHot", &A::BorderColorHot, &A::BorderColorHot).Consts(c)
      .Int("Color", &A::Color, &A::SetColor).Consts(c)
      .Int("ColorTo", &A::ColorTo, &A::SetColorTo).Consts(c)
      .Int("ColorHot", &A::ColorHot, &A::SetColorHot).Consts(c)
      .Int("ColorHotTo", &A::ColorHotTo, &A::SetColorHotTo).Consts(c)
      .Int("ColorSelectedTo", &A::ColorSelectedTo, &A::SetColorSelectedTo).Consts(c)
      .Int("BorderColorDisabled", &A::BorderColorDisabled, &A::SetBorderColorDisabled).Consts(c)
      .Int("BorderColorSelected", &A::BorderColorSelected, &A::SetBorderColorSelected).Consts(c)
      .Int("ColorDisabled", &A::ColorDisabled, &A::SetColorDisabled).Consts(c)
      .Int("ColorDisabledTo", &A::ColorDisabledTo, &A::SetColorDisabledTo).Consts(c)
      .Int("ColorSelected", &A::ColorSelected, &A::SetColorSelected).Consts(c)
      .Int("ColorMirror", &A::ColorMirror, &A::SetColorMirror).Consts(c)
      .Int("ColorMirrorTo", &A::ColorMirrorTo, &A::SetColorMirrorTo).Consts(c)
      .Int("ColorMirrorHot", &A::ColorMirrorHot, &A::SetColorMirrorHot).Consts(c)
      .Int("ColorMirrorHotTo", &A::ColorMirrorHotTo, &A::SetColorMirrorHotTo).Consts(c)
      .Enum("GradientMirror", GradientNames(), &A::GradientMirror, &A::SetGradientMirror)
      .Enum("GradientMirrorHot", GradientNames(), &A::GradientMirrorHot, &A::SetGradientMirrorHot)
      .Enum("Gradient", GradientNames(), &A::Gradient, &A::SetGradient)
      .Enum("GradientHot", GradientNames(), &A::GradientHot, &A::SetGradientHot)
      .Int("ColorMirrorDisabledTo", &A::ColorMirrorDisabledTo, &A::SetColorMirrorDisabledTo).Consts(c)
      .Int("ColorMirrorDisabled", &A::ColorMirrorDisabled, &A::SetColorMirrorDisabled).Consts(c)
      .Int("ColorMirrorSelectedTo", &A::ColorMirrorSelectedTo, &A::SetColorMirrorSelectedTo).Consts(c)
      .Int("ColorMirrorSelected", &A::ColorMirrorSelected, &A::SetColorMirrorSelected).Consts(c)
      .Enum("GradientSelected", GradientNames(), &A::GradientSelected, &A::SetGradientSelected)
      .Enum("GradientDisabled", GradientNames(), &A::GradientDisabled, &A::SetGradientDisabled)
      .Enum("GradientMirrorSelected", GradientNames(), &A::GradientMirrorSelected, &A::SetGradientMirrorSelected)
      .Enum("GradientMirrorDisabled", GradientNames(), &A::GradientMirrorDisabled, &A::SetGradientMirrorDisabled)
      .Int("TextColorDisabled", &A::TextColorDisabled, &A::SetTextColorDisabled).Consts(c)
      .Int("TextColorSelected", &A::TextColorSelected, &A::SetTextColorSelected).Consts(c)
      .Int("TextColor", &A::TextColor, &A::SetTextColor).Consts(c)
      .Int("TextColorHot", &A::TextColorHot, &A::SetTextColorHot).Consts(c)
      .Int("BorderColorSelectedHot", &A::BorderColorSelectedHot, &A::SetBorderColorSelectedHot).Consts(c)
      .Int("BorderColorDown", &A::BorderColorDown, &A::SetBorderColorDown).Consts(c)
      .Object("Font", &A::Font, &A::SetFont)
      .Int("HighLightColorHot", &A::HighLightColorHot, &A::HighLightColorHot).Consts(c)
      .Int("ShadowColor", &A::ShadowColor, &A::ShadowColor).Consts(c)
      .Int("HighLightColorDown", &A::HighLightColorDown, &A::HighLightColorDown).Consts(c)
      .Int("HighLightColorSelected", &A::HighLightColorSelected, &A::HighLightColorSelected).Consts(c)
      .Int("HighLightColorSelectedHot", &A::HighLightColorSelectedHot, &A::HighLightColorSelectedHot).Consts(c)
      .Int("HighLightColor", &A::HighLightColor, &A::HighLightColor).Consts(c);
}

void TTabAppearance::Publish(TClassBuilder<TTabAppearance>& P) {
  P.Object("BackGround", &TTabAppearance::BackGround, &TTabAppearance::SetBackGround);
}

void TCustomZorOzirazIreziStyler::Publish(TClassBuilder<TCustomZorOzirazIreziStyler>&) {}

void TZorOzirazIreziOfficeStyler::Publish(TClassBuilder<TZorOzirazIreziOfficeStyler>& P) {
  using S = TZorOzirazIreziOfficeStyler;
  P.Enum("Style", OfficeStyleNames(), &S::Style, &S::SetOfficePagerStyle, psOffice2003Blue)
      .Bool("AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
      .Object("TabAppearance", &S::TabAppearance, &S::SetTabAppearance)
      .Object("PageAppearance", &S::PageAppearance, &S::SetPageAppearance)
      .Object("GlowButtonAppearance", &S::GlowButtonAppearance, &S::SetGlowButtonAppearance);
}

void TZorOzirazIreziFantasyStyler::Publish(TClassBuilder<TZorOzirazIreziFantasyStyler>& P) {
  using S = TZorOzirazIreziFantasyStyler;
  P.Enum("Style", FantasyStyleNames(), &S::Style, &S::SetOfficePagerStyle, psChocolate)
      .Object("TabAppearance", &S::TabAppearance, &S::SetTabAppearance)
      .Object("PageAppearance", &S::PageAppearance, &S::SetPageAppearance)
      .Object("GlowButtonAppearance", &S::GlowButtonAppearance, &S::SetGlowButtonAppearance);
}

void TPageButtonSettings::Publish(TClassBuilder<TPageButtonSettings>& P) {
  using B = TPageButtonSettings;
  P.Bool("CloseButton", &B::CloseButton, &B::SetCloseButton, false)
      .Bool("PageListButton", &B::PageListButton, &B::SetPageListButton, false)
      .Bool("FirstButton", &B::FirstButton, &B::SetFirstButton, false)
      .Bool("LastButton", &B::LastButton, &B::SetLastButton, false)
      .Bool("ScrollButtonsAlways", &B::ScrollButtonsAlways, &B::SetScrollButtonsAlways, false)
      .Object("CloseButtonPicture", &B::CloseButtonPicture, &B::SetCloseButtonPicture)
      .Object("PageListButtonPicture", &B::PageListButtonPicture, &B::SetPageListButtonPicture)
      .Object("ScrollButtonPrevPicture", &B::ScrollButtonPrevPicture, &B::SetScrollButtonPrevPicture)
      .Object("ScrollButtonNextPicture", &B::ScrollButtonNextPicture, &B::SetScrollButtonNextPicture)
      .Object("ScrollButtonFirstPicture", &B::ScrollButtonFirstPicture, &B::SetScrollButtonFirstPicture)
      .Object("ScrollButtonLastPicture", &B::ScrollButtonLastPicture, &B::SetScrollButtonLastPicture)
      .Str("CloseButtonHint", &B::CloseButtonHint, &B::CloseButtonHint, "Close")
      .Str("PageListButtonHint", &B::PageListButtonHint, &B::PageListButtonHint, "Page List")
      .Str("ScrollButtonPrevHint", &B::ScrollButtonPrevHint, &B::ScrollButtonPrevHint, "Previous")
      .Str("ScrollButtonNextHint", &B::ScrollButtonNextHint, &B::ScrollButtonNextHint, "Next")
      .Str("ScrollButtonFirstHint", &B::ScrollButtonFirstHint, &B::ScrollButtonFirstHint, "First")
      .Str("ScrollButtonLastHint", &B::ScrollButtonLastHint, &B::ScrollButtonLastHint, "Last");
}

void TDizOfficePage::Publish(TClassBuilder<TDizOfficePage>& P) {
  using G = TDizOfficePage;
  P.WStr("WideCaption", &G::WideCaption, &G::SetWideCaption)
      .Object("Picture", &G::Picture, &G::SetPicture)
      .Object("DisabledPicture", &G::DisabledPicture, &G::SetDisabledPicture)
      .Int("ImageIndex", &G::ImageIndex, &G::SetImageIndex, -1)
      .Str("TabHint", &G::TabHint, &G::SetTabHint)
      .Bool("TabVisible", &G::TabVisible, &G::SetTabVisible, true)
      .Bool("TabEnabled", &G::TabEnabled, &G::SetTabEnabled, true)
      .Bool("ShowClose", &G::ShowClose, &G::SetShowClose, true)
      .Bool("ShowCheckBox", &G::ShowCheckBox, &G::SetShowCheckBox, false)
      .Bool("Checked", &G::Checked, &G::SetChecked, false)
      .Object("TabAppearance", &G::TabAppearance, &G::SetTabAppearance)
      .Bool("UseTabAppearance", &G::UseTabAppearance, &G::SetUseTabAppearance, false)
      .Object("PageAppearance", &G::PageAppearance, &G::SetPageAppearance)
      .Bool("UsePageAppearance", &G::UsePageAppearance, &G::SetUsePageAppearance, false)
      .Object("OfficeHint", &G::OfficeHint, &G::SetOfficeHint)
      .Str("ShortCutHint", &G::ShortCutHint, &G::SetShortCutHint)
      .Enum("ShortCutHintPos", HintPosEnum(), &G::ShortCutHintPos, &G::SetShortCutHintPos, shpTop)
      .Event("OnShow", &G::OnShow)
      .Event("OnHide", &G::OnHide);
}

void TZorOzirazIrezi::Publish(TClassBuilder<TZorOzirazIrezi>& P) {
  using Z = TZorOzirazIrezi;
  P.Component("ActivePage", &Z::ActivePage, &Z::SetActivePage)
      .Component("ZorOzirazIreziStyler", &Z::ZorOzirazIreziStyler, &Z::SetOfficePagerStyler)
      .Object("TabSettings", &Z::TabSettings, &Z::SetTabSettings)
      .Enum("TabPosition", TabPositionNames(), &Z::TabPosition, &Z::SetTabPosition, tpTop)
      .Bool("RotateTabLeftRight", &Z::RotateTabLeftRight, &Z::SetRotateTabLeftRight, true)
      .Int("PageMargin", &Z::PageMargin, &Z::SetPageMargin, 1)
      .Object("ButtonSettings", &Z::ButtonSettings, &Z::SetButtonSettings)
      .Bool("CloseOnTab", &Z::CloseOnTab, &Z::SetCloseOnTab, false)
      .Enum("CloseOnTabPosition", CloseOnTabPosNames(), &Z::CloseOnTabPosition, &Z::SetCloseOnTabPosition, cpRight)
      .Bool("ShowCloseOnNonSelectedTabs", &Z::ShowCloseOnNonSelectedTabs, &Z::SetShowCloseOnNonSelectedTabs, false)
      .Bool("ShowNonSelectedTabs", &Z::ShowNonSelectedTabs, &Z::SetShowNonSelectedTabs, false)
      .Bool("FreeOnClose", &Z::FreeOnClose, &Z::SetFreeOnClose, false)
      .Component("PageListMenu", &Z::PageListMenu, &Z::SetPageListMenu)
      .Component("Images", &Z::Images, &Z::SetImages)
      .Component("DisabledImages", &Z::DisabledImages, &Z::SetDisabledImages)
      .Enum("AntiAlias", AntiAliasEnum(), &Z::AntiAlias, &Z::SetAntiAlias, aaClearType)
      .Bool("Transparent", &Z::Transparent, &Z::SetTransparent, false)
      .Bool("Glow", &Z::Glow, &Z::SetGlow, true)
      .Bool("ShowTabHint", &Z::ShowTabHint, &Z::SetShowTabHint, false)
      .Object("OfficeHint", &Z::OfficeHint, &Z::SetOfficeHint)
      .Bool("ShowShortCutHints", &Z::ShowShortCutHints, &Z::SetShowShortCutHints, false)
      .Bool("TabReorder", &Z::TabReorder, &Z::SetTabReorder, false)
      .Str("Version", &Z::Version, &Z::SetVersion).Stored(false)
      .Event("OnChanging", &Z::OnChanging)
      .Event("OnChange", &Z::OnChange)
      .Event("OnClosePage", &Z::OnClosePage)
      .Event("OnClosedPage", &Z::OnClosedPage)
      .Event("OnPageListClick", &Z::OnPageListClick)
      .Event("OnTabMoved", &Z::OnTabMoved)
      .Event("OnDrawTab", &Z::OnDrawTab)
      .Event("OnTabClick", &Z::OnTabClick)
      .Event("OnTabDblClick", &Z::OnTabDblClick)
      .Event("OnTabRightClick", &Z::OnTabRightClick)
      .Event("OnTabCheckBoxClick", &Z::OnTabCheckBoxClick)
      .Event("OnFirstClick", &Z::OnFirstClick)
      .Event("OnPrevClick", &Z::OnPrevClick)
      .Event("OnNextClick", &Z::OnNextClick)
      .Event("OnLastClick", &Z::OnLastClick);
}

namespace {
const bool Registered = [] {
  RegisterClasses({TDizOfficePage::StaticClass(), TZorOzirazIrezi::StaticClass(),
                   TZorOzirazIreziOfficeStyler::StaticClass(), TZorOzirazIreziFantasyStyler::StaticClass()});
  return true;
}();
}  // namespace
