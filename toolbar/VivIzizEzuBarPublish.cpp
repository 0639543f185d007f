// The published properties of the tool bar and its items, as stored forms name them.
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuInternal.h"

namespace VivIzizEzu {

namespace {
const TEnumInfo* GlyphPositionInfo() {
  static const TEnumInfo* info = RegisterEnum("TGlyphPosition", {"gpLeft", "gpTop", "gpRight", "gpBottom"});
  return info;
}
const TEnumInfo* DockAlignInfo() {
  static const TEnumInfo* info = RegisterEnum("TDockAlign", {"daLeft", "daTop", "daRight", "daBottom"});
  return info;
}
const TEnumInfo* ToolButtonStyleInfo() {
  static const TEnumInfo* info = RegisterEnum("TDizToolButtonStyle", {"tasButton", "tasCheck"});
  return info;
}
const TEnumInfo* SeparatorStyleInfo() {
  static const TEnumInfo* info = RegisterEnum("TDizSeparatorStyle", {"ssOffice2003", "ssBlank"});
  return info;
}
const TEnumInfo* AntiAliasInfo() {
  static const TEnumInfo* info = RegisterEnum("TAntiAlias", {"aaNone", "aaClearType", "aaAntiAlias"});
  return info;
}
const TEnumInfo* AlignmentInfo() {
  static const TEnumInfo* info = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return info;
}
const TEnumInfo* DockModeInfo() {
  static const TEnumInfo* info =
      RegisterEnum("TDockMode", {"dmAll", "dmAllParentDockPanels", "dmParentDockPanelOnly"});
  return info;
}
const TEnumInfo* PersistenceLocationInfo() {
  static const TEnumInfo* info = RegisterEnum("TPersistenceLocation", {"plRegistry", "plIniFile"});
  return info;
}
const TEnumInfo* CaptionPositionInfo() {
  static const TEnumInfo* info = RegisterEnum("TCaptionPosition", {"cpTop", "cpBottom"});
  return info;
}
}  // namespace

void TVivIzizEzu::Publish(TClassBuilder<TVivIzizEzu>& P) {
  using C = TVivIzizEzu;
  P.Bool("AllowFloating", &C::AllowFloating, &C::SetAllowFloating, true)
      .Enum("AntiAlias", AntiAliasInfo(), &C::AntiAlias, &C::SetAntiAlias, aaClearType)
      .Bool("AutoArrangeButtons", &C::AutoArrangeButtons, &C::SetAutoArrangeButtons, true)
      .Bool("AutoDockOnClose", &C::AutoDockOnClose, &C::SetAutoDockOnClose, false)
      .Bool("AutoMDIButtons", &C::AutoMDIButtons, &C::SetAutoMDIButtons, false)
      .Bool("AutoOptionMenu", &C::AutoOptionMenu, &C::SetAutoOptionMenu, false)
      .Bool("AutoPositionControls", &C::AutoPositionControls, &C::SetAutoPositionControls, true)
      .Bool("AutoSize", &C::AutoSize, &C::SetAutoSizeEx, true)
      .Bool("Locked", &C::Locked, &C::SetLocked, false)
      .Str("Caption", &C::Caption, &C::SetCaption)
      .Object("CaptionFont", &C::CaptionFont, &C::SetCaptionFont)
      .Int("CaptionHeight", &C::CaptionHeight, &C::SetCaptionHeight, 16)
      .Enum("CaptionPosition", CaptionPositionInfo(), &C::CaptionPosition, &C::SetCaptionPosition, cpTop)
      .Enum("CaptionAlignment", AlignmentInfo(), &C::CaptionAlignment, &C::SetCaptionAlignment, taLeftJustify)
      .Str("CompactCaption", &C::CompactCaption, &C::SetCompactCaption)
      .Object("CompactPicture", &C::CompactPicture, &C::SetCompactPicture)
      .Int("CompactImageIndex", &C::CompactImageIndex, &C::SetCompactImageIndex, -1)
      .Str("CompactShortCutHint", &C::CompactShortCutHint, &C::SetCompactShortCutHint)
      .Bool("ShowCaption", &C::ShowCaption, &C::SetShowCaption, false)
      .Str("HintOptionButton", &C::HintOptionButton, &C::SetHintOptionButton)
      .Str("HintCloseButton", &C::HintCloseButton, &C::SetHintCloseButton)
      .Bool("ShowRightHandle", &C::ShowRightHandle, &C::SetShowRightHandle, true)
      .Bool("ShowClose", &C::ShowClose, &C::SetShowClose, true)
      .Bool("ShowOptionIndicator", &C::ShowOptionIndicator, &C::SetShowOptionIndicator, true)
      .Set("DockableTo", DockAlignInfo(), &C::DockableTo, &C::SetDockableTo,
           TDockableTo{daLeft, daTop, daRight, daBottom})
      .Enum("DockMode", DockModeInfo(), &C::DockMode, &C::SetDockMode, dmAll)
      .Bool("FullSize", &C::FullSize, &C::SetFullSize, false)
      .Str("TextAutoOptionMenu", &C::TextAutoOptionMenu, &C::SetTextAutoOptionMenu, "Add or Remove Buttons")
      .Str("TextOptionMenu", &C::TextOptionMenu, &C::SetTextOptionMenu, "Options")
      .Component("ToolBarStyler", &C::ToolBarStyler, &C::SetToolBarStyler)
      .Bool("ParentStyler", &C::ParentStyler, &C::SetParentStyler, true)
      .Component("Images", &C::Images, &C::SetImages)
      .Component("DisabledImages", &C::DisabledImages, &C::SetDisabledImages)
      .Component("Menu", &C::Menu, &C::SetMenu)
      .Component("OptionMenu", &C::OptionMenu, &C::SetOptionMenu)
      .Object("OptionDisabledPicture", &C::OptionDisabledPicture, &C::SetOptionDisabledPicture)
      .Object("OptionPicture", &C::OptionPicture, &C::SetOptionPicture)
      .Bool("ParentOptionPicture", &C::ParentOptionPicture, &C::SetParentOptionPicture, true)
      .Int("ToolBarIndex", &C::ToolBarIndex, &C::SetToolBarIndex, -1)
      .Object("OfficeHint", &C::OfficeHint, &C::SetOfficeHint)
      .Str("Version", &C::Version, &C::SetVersion)
      .Stored(false)
      .Event("OnClose", &C::OnClose)
      .Event("OnOptionClick", &C::OnOptionClick)
      .Event("OnCanFloat", &C::OnCanFloat)
      .Event("OnDocked", &C::OnDocked)
      .Event("OnUnDocked", &C::OnUnDocked);
}

void TVivIzizEzuButtonDrawPosition::Publish(TClassBuilder<TVivIzizEzuButtonDrawPosition>& P) {
  using C = TVivIzizEzuButtonDrawPosition;
  P.Bool("Enabled", &C::Enabled, &C::SetEnabled, false)
      .Int("TextX", &C::TextX, &C::SetTextX, 0)
      .Int("TextY", &C::TextY, &C::SetTextY, 0)
      .Int("ImageX", &C::ImageX, &C::SetImageX, 0)
      .Int("ImageY", &C::ImageY, &C::SetImageY, 0);
}

void TVivIzizEzuButton::Publish(TClassBuilder<TVivIzizEzuButton>& P) {
  using C = TVivIzizEzuButton;
  P.Bool("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp, false)
      .Object("Appearance", &C::Appearance, &C::SetAppearance)
      .Enum("GlyphPosition", GlyphPositionInfo(), &C::GlyphPosition, &C::SetGlyphPosition, gpLeft)
      .Int("GroupIndex", &C::GroupIndex, &C::SetGroupIndex, 0)
      .Bool("Down", &C::Down, &C::SetDown, false)
      .Bool("DropDownButton", &C::DropDownButton, &C::SetDropDownButton, false)
      .Component("DropDownMenu", &C::DropDownMenu, &C::SetDropDownMenu)
      .Bool("DropDownSplit", &C::DropDownSplit, &C::SetDropDownSplit, true)
      .Bool("AutoSize", &C::AutoSize, &C::SetAutoSize, true)
      .Object("DrawPosition", &C::DrawPosition, &C::SetDrawPosition)
      .Object("Glyph", &C::Glyph, &C::SetGlyph)
      .Object("GlyphHot", &C::GlyphHot, &C::SetGlyphHot)
      .Object("GlyphDown", &C::GlyphDown, &C::SetGlyphDown)
      .Object("GlyphChecked", &C::GlyphChecked, &C::SetGlyphChecked)
      .Object("GlyphDisabled", &C::GlyphDisabled, &C::SetGlyphDisabled)
      .Int("ImageIndex", &C::ImageIndex, &C::SetImageIndex, -1)
      .Object("Picture", &C::Picture, &C::SetPicture)
      .Object("PictureDisabled", &C::PictureDisabled, &C::SetPictureDisabled)
      .Bool("ParentStyler", &C::ParentStyler, &C::SetParentStyler, true)
      .Enum("Position", DockAlignInfo(), &C::Position, &C::SetPosition, daTop)
      .Bool("Shaded", &C::Shaded, &C::SetShaded, true)
      .Bool("ShowCaption", &C::ShowCaption, &C::SetShowCaption, false)
      .Object("OfficeHint", &C::OfficeHint, &C::SetOfficeHint)
      .Enum("Style", ToolButtonStyleInfo(), &C::Style, &C::SetStyle, tasButton)
      .Str("Version", &C::Version, &C::SetVersion)
      .Stored(false);
}

void TVivIzizEzuSeparator::Publish(TClassBuilder<TVivIzizEzuSeparator>& P) {
  using C = TVivIzizEzuSeparator;
  P.Enum("SeparatorStyle", SeparatorStyleInfo(), &C::SeparatorStyle, &C::SetSeparatorStyle, ssOffice2003)
      .Int("LineColor", &C::LineColor, &C::SetLineColor);
}

void TVivIzizEzuMenuButton::Publish(TClassBuilder<TVivIzizEzuMenuButton>& P) {
  using C = TVivIzizEzuMenuButton;
  P.Object("Appearance", &C::Appearance, &C::SetAppearance)
      .Bool("DropDownButton", &C::DropDownButton, &C::SetDropDownButton, false)
      .Component("DropDownMenu", &C::DropDownMenu, &C::SetDropDownMenu)
      .Bool("DropDownSplit", &C::DropDownSplit, &C::SetDropDownSplit, true)
      .Int("ImageIndex", &C::ImageIndex, &C::SetImageIndex, -1)
      .Bool("ParentStyler", &C::ParentStyler, &C::SetParentStyler, true)
      .Bool("ShowCaption", &C::ShowCaption, &C::SetShowCaption, false);
}

void TDizGlowMenuButton::Publish(TClassBuilder<TDizGlowMenuButton>&) {}

void TVivIzizEzuContainer::Publish(TClassBuilder<TVivIzizEzuContainer>& P) {
  using C = TVivIzizEzuContainer;
  P.Object("Color", &C::GradientColor, &C::SetGradientColor)
      .Int("LineColor", &C::LineColor, &C::SetLineColor)
      .Bool("ParentStyler", &C::ParentStyler, &C::SetParentStyler, true)
      .Bool("Line3D", &C::Line3D, &C::SetLine3D)
      .Int("Margins", &C::Margins, &C::SetMargins, 0);
}

void TPersistence::Publish(TClassBuilder<TPersistence>& P) {
  using C = TPersistence;
  P.Enum("Location", PersistenceLocationInfo(), &C::Location, &C::SetLocation, plRegistry)
      .Str("Key", &C::Key, &C::SetKey)
      .Str("Section", &C::Section, &C::SetSection)
      .Bool("Enabled", &C::Enabled, &C::SetEnabled, false)
      .Event("OnChange", &C::OnChange);
}

}  // namespace VivIzizEzu
