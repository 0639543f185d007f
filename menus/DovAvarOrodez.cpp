// DovAvarOrodez: the appearance, the button's properties and its behaviour (mouse,
// keyboard, glow fade, groups, auto-repeat, size states, actions). Painting is in
// DovAvarOrodezPaint.cpp, the drawing routines in DovAvarOrodezDraw.cpp, key tips and
// style presets in DovAvarOrodezStyles.cpp, the data-aware button in DovAvarOrodezDB.cpp.
#include "menus/DovAvarOrodez.h"

#include <algorithm>
#include <cctype>

#include "menus/DovAvarOrodezInternal.h"
#include "platform/vcl/Forms.h"

int GlowSpeed = 30;

namespace {
const TEnumInfo* GradientNames() {
  static const TEnumInfo* info =
      RegisterEnum("TGDIPGradient", {"ggRadial", "ggVertical", "ggDiagonalForward", "ggDiagonalBackward"});
  return info;
}
const TEnumInfo* AntiAliasNames() {
  static const TEnumInfo* info = RegisterEnum("TAntiAlias", {"aaNone", "aaClearType", "aaAntiAlias"});
  return info;
}
const TEnumInfo* BorderStyleNames() {
  static const TEnumInfo* info = RegisterEnum("TGlowBorderStyle", {"bsNone", "bsSingle"});
  return info;
}
const TEnumInfo* FocusTypeNames() {
  static const TEnumInfo* info = RegisterEnum("TFocusType", {"ftBorder", "ftHot", "ftHotBorder", "ftNone"});
  return info;
}
const TEnumInfo* PositionNames() {
  static const TEnumInfo* info = RegisterEnum("TButtonPosition", {"bpStandalone", "bpLeft", "bpMiddle", "bpRight"});
  return info;
}
const TEnumInfo* HintPosNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TShortCutHintPos",
      {"shpLeft", "shpTop", "shpRight", "shpBottom", "shpCenter", "shpAuto", "shpTopLeft", "shpTopRight",
       "shpAboveTop", "shpAboveTopLeft", "shpAboveTopRight", "shpBottomLeft", "shpBottomRight", "shpBelowBottom",
       "shpBelowBottomLeft", "shpBelowBottomRight", "shpBelowBottomCenter"});
  return info;
}
const TEnumInfo* TrimmingNames() {
  static const TEnumInfo* info =
      RegisterEnum("StringTrimming", {"StringTrimmingNone", "StringTrimmingCharacter", "StringTrimmingWord",
                                      "StringTrimmingEllipsisCharacter", "StringTrimmingEllipsisWord",
                                      "StringTrimmingEllipsisPath"});
  return info;
}
const TEnumInfo* LayoutNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TGlowButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom", "blGlyphLeftAdjusted",
                            "blGlyphRightAdjusted", "blGlyphTopAdjusted", "blGlyphBottomAdjusted"});
  return info;
}
const TEnumInfo* StyleNames() {
  static const TEnumInfo* info = RegisterEnum("TDizButtonStyle", {"bsButton", "bsCheck"});
  return info;
}
const TEnumInfo* SizeStateNames() {
  static const TEnumInfo* info = RegisterEnum("TButtonSizeState", {"bsGlyph", "bsLabel", "bsLarge"});
  return info;
}
const TEnumInfo* DropDownPositionNames() {
  static const TEnumInfo* info = RegisterEnum("TDropDownPosition", {"dpRight", "dpBottom"});
  return info;
}
const TEnumInfo* DropDownDirectionNames() {
  static const TEnumInfo* info = RegisterEnum("TDropDownDirection", {"ddRight", "ddDown"});
  return info;
}

// The access key of a caption: the character after a single "&" (case-insensitive).
bool AccessKeyMatches(char32_t Key, const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(Caption[i + 1]);
    return c < 0x80 && Key < 0x80 && std::toupper(c) == std::toupper(int(Key));
  }
  return false;
}

std::string Utf16ToAscii(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
  return out;
}

const bool kRegistered = [] {
  RegisterClasses({TDovAvarOrodez::StaticClass(), TDBDovAvarOrodez::StaticClass()});
  return true;
}();
}  // namespace

const TEnumInfo* GDIPGradientInfo() { return GradientNames(); }
const TEnumInfo* GlowButtonLayoutInfo() { return LayoutNames(); }

// =======================================================================================
// TGlowButtonAppearance

void TGlowButtonAppearance::Publish(TClassBuilder<TGlowButtonAppearance>& P) {
  using A = TGlowButtonAppearance;
  const TIntConsts* colors = ColorConsts();
  P.Int("BorderColor", &A::BorderColor, &A::SetBorderColor, TColor(0xC0C0C0)).Consts(colors)
      .Int("BorderColorHot", &A::BorderColorHot, &A::SetBorderColorHot, TColor(0xFF0000)).Consts(colors)
      .Int("BorderColorDown", &A::BorderColorDown, &A::SetBorderColorDown, TColor(0x800000)).Consts(colors)
      .Int("BorderColorChecked", &A::BorderColorChecked, &A::SetBorderColorChecked, TColor(0xFF0000)).Consts(colors)
      .Int("BorderColorDisabled", &A::BorderColorDisabled, &A::SetBorderColorDisabled, TColor(0x808080))
      .Consts(colors)
      .Int("Color", &A::Color, &A::SetColor, TColor(0xFFFFFF)).Consts(colors)
      .Int("ColorTo", &A::ColorTo, &A::SetColorTo, TColor(0xFFFFFF)).Consts(colors)
      .Int("ColorChecked", &A::ColorChecked, &A::SetColorChecked).Consts(colors)
      .Int("ColorCheckedTo", &A::ColorCheckedTo, &A::SetColorCheckedTo).Consts(colors)
      .Int("ColorDisabled", &A::ColorDisabled, &A::SetColorDisabled).Consts(colors)
      .Int("ColorDisabledTo", &A::ColorDisabledTo, &A::SetColorDisabledTo).Consts(colors)
      .Int("ColorDown", &A::ColorDown, &A::SetColorDown).Consts(colors)
      .Int("ColorDownTo", &A::ColorDownTo, &A::SetColorDownTo).Consts(colors)
      .Int("ColorHot", &A::ColorHot, &A::SetColorHot).Consts(colors)
      .Int("ColorHotTo", &A::ColorHotTo, &A::SetColorHotTo).Consts(colors)
      .Int("ColorMirror", &A::ColorMirror, &A::SetColorMirror, TColor(0xC0C0C0)).Consts(colors)
      .Int("ColorMirrorTo", &A::ColorMirrorTo, &A::SetColorMirrorTo, TColor(0xFFFFFF)).Consts(colors)
      .Int("ColorMirrorHot", &A::ColorMirrorHot, &A::SetColorMirrorHot).Consts(colors)
      .Int("ColorMirrorHotTo", &A::ColorMirrorHotTo, &A::SetColorMirrorHotTo).Consts(colors)
      .Int("ColorMirrorDown", &A::ColorMirrorDown, &A::SetColorMirrorDown).Consts(colors)
      .Int("ColorMirrorDownTo", &A::ColorMirrorDownTo, &A::SetColorMirrorDownTo).Consts(colors)
      .Int("ColorMirrorChecked", &A::ColorMirrorChecked, &A::SetColorMirrorChecked).Consts(colors)
      .Int("ColorMirrorCheckedTo", &A::ColorMirrorCheckedTo, &A::SetColorMirrorCheckedTo).Consts(colors)
      .Int("ColorMirrorDisabled", &A::ColorMirrorDisabled, &A::SetColorMirrorDisabled).Consts(colors)
      .Int("ColorMirrorDisabledTo", &A::ColorMirrorDisabledTo, &A::SetColorMirrorDisabledTo).Consts(colors)
      .Enum("Gradient", GradientNames(), &A::Gradient, &A::SetGradient, ggVertical)
      .Enum("GradientMirror", GradientNames(), &A::GradientMirror, &A::SetGradientMirror, ggVertical)
      .Enum("GradientHot", GradientNames(), &A::GradientHot, &A::SetGradientHot, ggRadial)
      .Enum("GradientMirrorHot", GradientNames(), &A::GradientMirrorHot, &A::SetGradientMirrorHot, ggRadial)
      .Enum("GradientDown", GradientNames(), &A::GradientDown, &A::SetGradientDown, ggRadial)
      .Enum("GradientMirrorDown", GradientNames(), &A::GradientMirrorDown, &A::SetGradientMirrorDown, ggRadial)
      .Enum("GradientChecked", GradientNames(), &A::GradientChecked, &A::SetGradientChecked, ggRadial)
      .Enum("GradientMirrorChecked", GradientNames(), &A::GradientMirrorChecked, &A::SetGradientMirrorChecked,
            ggVertical)
      .Enum("GradientDisabled", GradientNames(), &A::GradientDisabled, &A::SetGradientDisabled, ggRadial)
      .Enum("GradientMirrorDisabled", GradientNames(), &A::GradientMirrorDisabled, &A::SetGradientMirrorDisabled,
            ggRadial)
      .Bool("SystemFont", &A::SystemFont, &A::SetSystemFont, true);
}

TGlowButtonAppearance::TGlowButtonAppearance() {
  using glowdraw::ShadeColorRGB;
  SetBorderColor(TColor(0xC0C0C0));
  SetBorderColorHot(TColor(0xFF0000));
  SetBorderColorDown(TColor(0x800000));
  SetBorderColorChecked(TColor(0xFF0000));
  SetBorderColorDisabled(TColor(0x808080));
  SetColor(clWhite);
  SetColorTo(clWhite);
  SetColorHot(TColor(0xF5F0E1));
  SetColorHotTo(TColor(0xF9D2B2));
  SetColorMirror(TColor(0xC0C0C0));
  SetColorMirrorTo(clWhite);
  SetColorMirrorHot(TColor(0xF5C8AD));
  SetColorMirrorHotTo(TColor(0xFFF8F4));
  // Down and checked are the hot colours with red and green 10 % darker; disabled the
  // normal colours 5 % darker. Computed once: later changes do not move them.
  SetColorDown(ShadeColorRGB(FColorHot, -10, -10, 0));
  SetColorChecked(ShadeColorRGB(FColorHot, -10, -10, 0));
  SetColorDownTo(ShadeColorRGB(FColorHotTo, -10, -10, 0));
  SetColorCheckedTo(ShadeColorRGB(FColorHotTo, -10, -10, 0));
  SetColorMirrorDown(ShadeColorRGB(FColorMirrorHot, -10, -10, 0));
  SetColorMirrorChecked(ShadeColorRGB(FColorMirrorHot, -10, -10, 0));
  SetColorMirrorDownTo(ShadeColorRGB(FColorMirrorHotTo, -10, -10, 0));
  SetColorMirrorCheckedTo(ShadeColorRGB(FColorMirrorHotTo, -10, -10, 0));
  SetColorDisabled(ShadeColorRGB(clWhite, -5, -5, -5));
  SetColorDisabledTo(ShadeColorRGB(clWhite, -5, -5, -5));
  SetColorMirrorDisabledTo(ShadeColorRGB(clWhite, -5, -5, -5));
  SetColorMirrorDisabled(ShadeColorRGB(TColor(0xC0C0C0), -5, -5, -5));
  FSystemFont = true;
}

void TGlowButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TGlowButtonAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGlowButtonAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  SetColor(s->FColor);
  SetColorTo(s->FColorTo);
  SetColorMirror(s->FColorMirror);
  SetColorMirrorTo(s->FColorMirrorTo);
  SetColorHot(s->FColorHot);
  SetColorHotTo(s->FColorHotTo);
  SetColorMirrorHot(s->FColorMirrorHot);
  SetColorMirrorHotTo(s->FColorMirrorHotTo);
  SetColorDown(s->FColorDown);
  SetColorDownTo(s->FColorDownTo);
  SetColorMirrorDown(s->FColorMirrorDown);
  SetColorMirrorDownTo(s->FColorMirrorDownTo);
  SetColorChecked(s->FColorChecked);
  SetColorCheckedTo(s->FColorCheckedTo);
  SetColorMirrorChecked(s->FColorMirrorChecked);
  SetColorMirrorCheckedTo(s->FColorMirrorCheckedTo);
  SetColorDisabled(s->FColorDisabled);
  SetColorDisabledTo(s->FColorDisabledTo);
  SetColorMirrorDisabled(s->FColorMirrorDisabled);
  SetColorMirrorDisabledTo(s->FColorMirrorDisabledTo);
  SetBorderColor(s->FBorderColor);
  SetBorderColorHot(s->FBorderColorHot);
  SetBorderColorDown(s->FBorderColorDown);
  SetBorderColorChecked(s->FBorderColorChecked);
  SetBorderColorDisabled(s->FBorderColorDisabled);
  SetGradient(s->FGradient);
  SetGradientMirror(s->FGradientMirror);
  SetGradientHot(s->FGradientHot);
  SetGradientMirrorHot(s->FGradientMirrorHot);
  SetGradientDown(s->FGradientDown);
  SetGradientMirrorDown(s->FGradientMirrorDown);
  SetGradientChecked(s->FGradientChecked);
  SetGradientMirrorChecked(s->FGradientMirrorChecked);
  SetGradientDisabled(s->FGradientDisabled);
  SetGradientMirrorDisabled(s->FGradientMirrorDisabled);
  SetSystemFont(s->FSystemFont);
}

// =======================================================================================
// TDovAvarOrodezActionLink

TDovAvarOrodezActionLink::TDovAvarOrodezActionLink(TDizCustomGlowButton* AClient)
    : TControlActionLink(AClient), FClient(AClient) {}

bool TDovAvarOrodezActionLink::IsCheckedLinked() const {
  auto* a = CustomAction();
  bool linked = TControlActionLink::IsCheckedLinked() && a && a->Checked() == FClient->Down();
  FClient->FCheckedLinked = linked;
  return linked;
}

bool TDovAvarOrodezActionLink::IsGroupIndexLinked() const {
  auto* a = CustomAction();
  bool linked = FClient && a && a->GroupIndex() == FClient->GroupIndex();
  FClient->FGroupLinked = linked;
  return linked;
}

bool TDovAvarOrodezActionLink::IsImageIndexLinked() const {
  auto* a = CustomAction();
  return TControlActionLink::IsImageIndexLinked() && a && a->ImageIndex() == FImageIndex;
}

void TDovAvarOrodezActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetDown(Value);
}

void TDovAvarOrodezActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}

void TDovAvarOrodezActionLink::SetImageIndex(int Value) {
  if (!IsGroupIndexLinked()) return;
  FImageIndex = Value;
  FClient->Invalidate();
  if (FClient->ComponentState().Contains(csDesigning) && FClient->ActionHasImages()) FClient->SetImageIndex(Value);
}

// =======================================================================================
// TDizCustomGlowButton: construction and properties

void TDizCustomGlowButton::Publish(TClassBuilder<TDizCustomGlowButton>& P) {
  using B = TDizCustomGlowButton;
  P.Enum("AntiAlias", AntiAliasNames(), &B::AntiAlias, &B::SetAntiAlias, aaClearType)
      .Bool("AutoSize", &B::AutoSize, &B::SetAutoSize, false)
      .Enum("BorderStyle", BorderStyleNames(), &B::BorderStyle, &B::SetBorderStyle, bsSingle)
      .Bool("Cancel", &B::Cancel, &B::SetCancel, false)
      .Int("CommandID", &B::CommandID, &B::SetCommandID, -1)
      .Bool("Default", &B::Default, &B::SetDefault, false)
      .Component("DisabledImages", &B::DisabledImages, &B::SetDisabledImages)
      .Object("DisabledPicture", &B::DisabledPicture, &B::SetDisabledPicture)
      .Enum("FocusType", FocusTypeNames(), &B::FocusType, &B::SetFocusType, ftBorder)
      .Component("HotImages", &B::HotImages, &B::SetHotImages)
      .Object("HotPicture", &B::HotPicture, &B::SetHotPicture)
      .Component("Images", &B::Images, &B::SetImages)
      .Int("ImageIndex", &B::ImageIndex, &B::SetImageIndex, -1)
      .Int("InitRepeatPause", &B::InitRepeatPause, &B::SetInitRepeatPause, 400)
      .Bool("MadeByCustomizer", &B::MadeByCustomizer, &B::SetMadeByCustomizer, false)
      .Int("MarginVert", &B::MarginVert, &B::SetMarginVert, 1)
      .Int("MarginHorz", &B::MarginHorz, &B::SetMarginHorz, 1)
      .Int("ModalResult", &B::ModalResult, &B::SetModalResult, 0)
      .Object("Notes", &B::Notes, &B::SetNotes)
      .Object("NotesFont", &B::NotesFont, &B::SetNotesFont)
      .Object("OfficeHint", &B::OfficeHint, &B::SetOfficeHint)
      .Object("Picture", &B::Picture, &B::SetPicture)
      .Enum("Position", PositionNames(), &B::Position, &B::SetPosition, bpStandalone)
      .Int("RepeatPause", &B::RepeatPause, &B::SetRepeatPause, 100)
      .Bool("RepeatClick", &B::RepeatClick, &B::SetRepeatClick, false)
      .Bool("Rounded", &B::Rounded, &B::SetRounded, true)
      .Str("ShortCutHint", &B::ShortCutHint, &B::SetShortCutHint)
      .Enum("ShortCutHintPos", HintPosNames(), &B::ShortCutHintPos, &B::SetShortCutHintPos, shpTop)
      .Bool("ShowCaption", &B::ShowCaption, &B::SetShowCaption, true)
      .Bool("ShowDisabled", &B::ShowDisabled, &B::SetShowDisabled, true)
      .Int("Spacing", &B::Spacing, &B::SetSpacing, 2)
      .Bool("Transparent", &B::Transparent, &B::SetTransparent, false)
      .Enum("Trimming", TrimmingNames(), &B::Trimming, &B::SetTrimming, StringTrimmingNone)
      .Str("Version", &B::Version, &B::SetVersion)
      .Stored(false)
      .Bool("WordWrap", &B::WordWrap, &B::SetWordWrap, true)
      .Event("OnDrawButton", &B::OnDrawButton);
}

void TDovAvarOrodez::Publish(TClassBuilder<TDovAvarOrodez>& P) {
  using B = TDovAvarOrodez;
  P.Bool("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
      .Object("Appearance", &B::Appearance, &B::SetAppearance)
      .Bool("Down", &B::Down, &B::SetDown, false)
      .Int("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
      .Enum("Layout", LayoutNames(), &B::Layout, &B::SetLayout, blGlyphLeft)
      .Enum("Style", StyleNames(), &B::Style, &B::SetStyle, bsButton)
      .Enum("MaxButtonSizeState", SizeStateNames(), &B::MaxButtonSizeState, &B::SetMaxButtonSizeState, bsLarge)
      .Enum("MinButtonSizeState", SizeStateNames(), &B::MinButtonSizeState, &B::SetMinButtonSizeState, bsGlyph)
      .Bool("DropDownButton", &B::DropDownButton, &B::SetDropDownButton, false)
      .Enum("DropDownPosition", DropDownPositionNames(), &B::DropDownPosition, &B::SetDropDownPosition, dpRight)
      .Enum("DropDownDirection", DropDownDirectionNames(), &B::DropDownDirection, &B::SetDropDownDirection,
            ddDown)
      .Bool("DropDownSplit", &B::DropDownSplit, &B::SetDropDownSplit, true)
      .Component("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu)
      .Event("OnDropDown", &B::OnDropDown);
}



TDizCustomGlowButton::TDizCustomGlowButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 100, 41);
  SetDoubleBuffered(true);
  SetParentFont(true);
  SetTabStop(false);
  FAppearance = std::make_unique<TGlowButtonAppearance>();
  FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
  FPicture = std::make_unique<TGDIPPicture>();
  FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  FDisabledPicture = std::make_unique<TGDIPPicture>();
  FDisabledPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  FHotPicture = std::make_unique<TGDIPPicture>();
  FOfficeHint = std::make_unique<TDizHintInfo>();
  FNotes = std::make_unique<TStringList>();
  FNotes->OnChange = [this](TObject*) { Invalidate(); };
  FNotesFont = std::make_unique<TFont>();
  FNotesFont->SetName("Tahoma");
  FNotesFont->SetSize(8);
  for (auto* link : {&FImagesLink, &FDisabledImagesLink, &FHotImagesLink}) {
    *link = std::make_unique<TChangeLink>();
    (*link)->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
  }
}

TDizCustomGlowButton::~TDizCustomGlowButton() {
  // The timers may not tick into a half-destroyed button.
  FGlowTimer.reset();
  FRepeatTimer.reset();
  FShortCutHint.reset();
  if (FImages) FImages->UnRegisterChanges(FImagesLink.get());
  if (FDisabledImages) FDisabledImages->UnRegisterChanges(FDisabledImagesLink.get());
  if (FHotImages) FHotImages->UnRegisterChanges(FHotImagesLink.get());
}

int TDizCustomGlowButton::GetVersionNr() const { return 0x01090101; }

std::string TDizCustomGlowButton::Version() const {
  unsigned v = unsigned(GetVersionNr());
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

void TDizCustomGlowButton::CreateParams(TCreateParams& Params) { TCustomControl::CreateParams(Params); }

void TDizCustomGlowButton::CreateWnd() {
  TCustomControl::CreateWnd();
  FDefaultActive = FDefault;
}

void TDizCustomGlowButton::SetAppearance(TGlowButtonAppearance* Value) {
  if (Value) FAppearance->Assign(Value);
  RefreshShortCutHintColors();
}

void TDizCustomGlowButton::AppearanceChanged(TObject*) {
  Invalidate();
  RefreshShortCutHintColors();
}

void TDizCustomGlowButton::PictureChanged(TObject*) { PerformResize(); }

void TDizCustomGlowButton::ImageListChange(TObject* Sender) {
  if (Sender == FImages && !HandleAllocated()) return;
  Invalidate();
}

void TDizCustomGlowButton::SetAntiAlias(TAntiAlias Value) {
  if (FAntiAlias == Value) return;
  FAntiAlias = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetAutoSize(bool Value) {
  if (FAutoSizeOn == Value) return;
  FAutoSizeOn = Value;
  PerformResize();
}

void TDizCustomGlowButton::SetBorderStyle(TBorderStyle Value) {
  FBorderStyle = Value;
  Invalidate();
}

namespace {
void SwapList(TCustomImageList*& Field, TCustomImageList* Value, TChangeLink* Link, TComponent* Owner) {
  if (Field) Field->UnRegisterChanges(Link);
  Field = Value;
  if (Field) {
    Field->RegisterChanges(Link);
    Field->FreeNotification(Owner);
  }
}
}  // namespace

void TDizCustomGlowButton::SetImages(TCustomImageList* Value) {
  SwapList(FImages, Value, FImagesLink.get(), this);
  PerformResize();
  Invalidate();
}

void TDizCustomGlowButton::SetDisabledImages(TCustomImageList* Value) {
  SwapList(FDisabledImages, Value, FDisabledImagesLink.get(), this);
  Invalidate();
}

void TDizCustomGlowButton::SetHotImages(TCustomImageList* Value) {
  SwapList(FHotImages, Value, FHotImagesLink.get(), this);
  Invalidate();
}

void TDizCustomGlowButton::SetImageIndex(int Value) {
  FImageIndex = Value;
  PerformResize();
}

void TDizCustomGlowButton::SetDisabledPicture(TGDIPPicture* Value) {
  FDisabledPicture->Assign(Value);
  Invalidate();
}

void TDizCustomGlowButton::SetMarginVert(int Value) {
  FMarginVert = Value;
  PerformResize();
}

void TDizCustomGlowButton::SetMarginHorz(int Value) {
  FMarginHorz = Value;
  PerformResize();
}

void TDizCustomGlowButton::SetNotes(TStrings* Value) {
  if (Value) FNotes->Assign(Value);
  else FNotes->Clear();
  Invalidate();
}

void TDizCustomGlowButton::SetNotesFont(TFont* Value) {
  if (Value) FNotesFont->Assign(Value);
  Invalidate();
}

void TDizCustomGlowButton::SetPosition(TButtonPosition Value) {
  FPosition = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetRounded(bool Value) {
  if (FRounded == Value) return;
  FRounded = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetShowCaption(bool Value) {
  FShowCaption = Value;
  PerformResize();
}

void TDizCustomGlowButton::SetShowDisabled(bool Value) {
  FShowDisabled = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetTrimming(StringTrimming Value) {
  if (FTrimming == Value) return;
  FTrimming = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetLayout(TButtonLayout Value) {
  FLayout = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetDropDownButton(bool Value) {
  if (FDropDownButton == Value) return;
  FDropDownButton = Value;
  AdjustSize();
  PerformResize();
  Invalidate();
}

void TDizCustomGlowButton::SetDropDownPosition(TDropDownPosition Value) {
  if (FDropDownPosition == Value) return;
  FDropDownPosition = Value;
  AdjustSize();
  if (FDropDownButton) PerformResize();
  Invalidate();
}

void TDizCustomGlowButton::SetDropDownDirection(TDropDownDirection Value) {
  if (FDropDownDirection == Value) return;
  FDropDownDirection = Value;
  Invalidate();
}

void TDizCustomGlowButton::SetDropDownMenu(TPopupMenu* Value) {
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TDizCustomGlowButton::SetWideCaption(const std::u16string& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  if (FAutoSizeOn) PerformResize();
  else Invalidate();
}

void TDizCustomGlowButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SwapList(FImages, nullptr, FImagesLink.get(), this);
  if (AComponent == FDisabledImages) SwapList(FDisabledImages, nullptr, FDisabledImagesLink.get(), this);
  if (AComponent == FHotImages) SwapList(FHotImages, nullptr, FHotImagesLink.get(), this);
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

void TDizCustomGlowButton::Loaded() {
  TCustomControl::Loaded();
  if (FLoadedDown != FDown) SetDown(FLoadedDown);
}

void TDizCustomGlowButton::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDizCustomGlowButton*>(Source);
  if (!s) return;
  SetAlign(s->Align());
  SetAction(s->Action());
  SetAnchors(s->Anchors());
  SetAntiAlias(s->FAntiAlias);
  SetAutoSize(s->FAutoSizeOn);
  SetBorderStyle(s->FBorderStyle);
  SetCancel(s->FCancel);
  SetCaption(s->Caption());
  Constraints()->Assign(s->Constraints());
  SetDefault(s->FDefault);
  Font()->Assign(s->Font());
  SetImageIndex(s->FImageIndex);
  // The lists are components: the target references the source's lists.
  SetImages(s->FImages);
  SetDisabledImages(s->FDisabledImages);
  SetHotImages(s->FHotImages);
  SetDisabledPicture(s->FDisabledPicture.get());
  SetFocusType(s->FFocusType);
  SetHotPicture(s->FHotPicture.get());
  SetMarginVert(s->FMarginVert);
  SetMarginHorz(s->FMarginHorz);
  SetModalResult(s->FModalResult);
  SetNotes(s->FNotes.get());
  SetNotesFont(s->FNotesFont.get());
  SetOfficeHint(s->FOfficeHint.get());
  SetParentFont(s->ParentFont());
  SetPicture(s->FPicture.get());
  SetPopupMenu(s->PopupMenu());
  SetPosition(s->FPosition);
  SetInitRepeatPause(s->FInitRepeatPause);
  SetRepeatPause(s->FRepeatPause);
  SetRepeatClick(s->FRepeatClick);
  SetRounded(s->FRounded);
  SetShortCutHint(s->FShortCutHintText);
  SetShortCutHintPos(s->FShortCutHintPos);
  SetShowCaption(s->FShowCaption);
  SetShowDisabled(s->FShowDisabled);
  SetSpacing(s->FSpacing);
  SetTransparent(s->FTransparent);
  SetTrimming(s->FTrimming);
  SetWordWrap(s->FWordWrap);
  SetShowHint(s->ShowHint());
  SetParentShowHint(s->ParentShowHint());
  SetTabOrder(s->TabOrder());
  SetTabStop(s->TabStop());
  SetVisible(s->Visible());
}

// =======================================================================================
// Actions

bool TDizCustomGlowButton::ActionHasImages() const {
  auto* a = dynamic_cast<TContainedAction*>(Action());
  return a && a->ActionList() && a->ActionList()->Images();
}

void TDizCustomGlowButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  // The glow button keeps its Down, GroupIndex and image in step through its own link.
  if (FActionLink && !dynamic_cast<TDovAvarOrodezActionLink*>(FActionLink.get())) {
    TBasicAction* action = FActionLink->Action();
    auto link = std::make_unique<TDovAvarOrodezActionLink>(this);
    FActionLink.reset();
    link->SetAction(action);
    FActionLink = std::move(link);
  }
  TCustomControl::ActionChange(Sender, CheckDefaults);
  if (auto* a = dynamic_cast<TCustomAction*>(Sender)) {
    if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(a->GroupIndex());
    if (ComponentState().Contains(csDesigning) && ActionHasImages()) SetImageIndex(a->ImageIndex());
    if (FAutoSizeOn && Parent() && HandleAllocated()) PerformResize();
  }
}

// =======================================================================================
// Clicking

void TDizCustomGlowButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  if (OnContainerClick) OnContainerClick(this);
  TCustomControl::Click();
}

void TDizCustomGlowButton::InternalClick() {
  if ((!FDropDownButton && IsMenuButton()) ||
      (FDropDownButton && FStyle != bsCheck && FGroupIndex <= 0 && !FDropDownSplit)) {
    if (FDropDownMenu) DoDropDown();
    else Click();
    return;
  }
  if (FStyle == bsCheck) {
    SetDown(!FDown);
    FState = absDown;
    Repaint();
  }
  Click();
}

void TDizCustomGlowButton::PopupBtnDown() {
  if (OnDropDown) OnDropDown(this);
}

void TDizCustomGlowButton::PopupMenuAt() {
  if (!FDropDownMenu) return;
  TPoint at = FDropDownDirection == ddDown ? ClientToScreen(TPoint{0, Height()}) : ClientToScreen(TPoint{Width(), 0});
  FDropDownMenu->SetPopupComponent(this);
  FDropDownMenu->Popup(at.X, at.Y);
}

void TDizCustomGlowButton::DoDropDown() {
  if (!IsMenuButton() && !FDropDownMenu) return;
  if (FDropDownMenu) {
    FState = absDown;
    PopupBtnDown();
    Invalidate();
    PopupMenuAt();
    FState = absUp;
    Repaint();
  }
  Invalidate();
}

// =======================================================================================
// Down, groups, size states

void TDizCustomGlowButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedDown = Value;
    return;
  }
  if (FGroupIndex == 0 && FStyle == bsButton) Value = false;
  if (FStyle == bsCheck) {
    FDown = Value;
    FState = Value ? absDown : absUp;
    Repaint();
    return;
  }
  if (Value == FDown) return;
  if (FDown && !Value && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == absUp) Invalidate();
    FState = absExclusive;
  } else {
    FState = absUp;
    Repaint();
  }
  if (Value && !FCheckedLinked) UpdateExclusive();
}

void TDizCustomGlowButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TDizCustomGlowButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TDizCustomGlowButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(this);
  m.Result = 0;
  Parent()->Broadcast(m);
}

void TDizCustomGlowButton::HandleButtonPressed(TMessage& Message) {
  auto* sender = reinterpret_cast<TDizCustomGlowButton*>(Message.LParam);
  if (int(Message.WParam) != FGroupIndex || sender == this || !sender) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = absUp;
    Invalidate();
  }
}

void TDizCustomGlowButton::SetButtonSizeState(TButtonSizeState Value) {
  if (FButtonSizeState == Value) return;
  if (FButtonSizeState == bsLarge) {
    FLargeLayout = FLayout;
    FLargeDropDownPosition = FDropDownPosition;
  }
  FButtonSizeState = Value;
  if (FAutoSizeOn) {
    if (Value == bsLarge) {
      FLayout = FLargeLayout;
      FDropDownPosition = FLargeDropDownPosition;
    } else {
      FLayout = blGlyphLeft;
      FDropDownPosition = dpRight;
    }
  }
  FResizeRequest = true;
  Repaint();
}

void TDizCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState Value) {
  if (FMaxButtonSizeState == Value) return;
  FMaxButtonSizeState = Value;
  SetButtonSizeState(Value);
}

void TDizCustomGlowButton::SetMinButtonSizeState(TButtonSizeState Value) {
  if (FMinButtonSizeState == Value) return;
  FMinButtonSizeState = Value;
  if (FButtonSizeState < Value) SetButtonSizeState(Value);
}

void TDizCustomGlowButton::PerformResize() {
  if (!FAutoSizeOn) {
    Invalidate();
    return;
  }
  FMeasureRequest = true;
  Repaint();
  if (Parent() && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning) &&
      HandleAllocated())
    Repaint();
  FMeasureRequest = false;
}

// =======================================================================================
// Glow fade and auto-repeat

void TDizCustomGlowButton::EnsureGlowTimer() {
  if (GlowTimerRunning()) return;
  if (!FGlowTimer) {
    FGlowTimer = std::make_unique<TTimer>(nullptr);
    FGlowTimer->SetOnTimer([this](TObject* Sender) { GlowTimerTick(Sender); });
  }
  FGlowTimer->SetInterval(unsigned(std::max(1, GlowSpeed)));
  FGlowTimer->SetEnabled(true);
}

void TDizCustomGlowButton::GlowTimerTick(TObject*) {
  int* progress = FFadeKind == fkHot ? &FHotProgress : FFadeKind == fkDown ? &FDownProgress : nullptr;
  if (progress) *progress += FFadeStep;
  bool done = !progress || (*progress > 100 && FFadeStep > 0) || (*progress < 0 && FFadeStep < 0);
  if (!done) {
    Invalidate();
    return;
  }
  if (progress) *progress = std::clamp(*progress, 0, 100);
  if (FFadeKind == fkDown && FFadeStep < 0) {
    FPressed = false;
    FResumePressed = false;
  }
  FFadeKind = fkIdle;
  // The timer object stays for the next fade; stopping it ends this one.
  FGlowTimer->SetEnabled(false);
}

void TDizCustomGlowButton::TimerExpired(TObject*) {
  FRepeatTimer->SetInterval(unsigned(std::max(1, FRepeatPause)));
  if (FPressed && MouseCapture()) {
    try {
      Click();
    } catch (...) {
      FRepeatTimer->SetEnabled(false);
      throw;
    }
  }
}

// =======================================================================================
// Mouse

void TDizCustomGlowButton::HandleMouseEnter(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (ComponentState().Contains(csDesigning) || FMouseInside) return;
  FHot = true;
  if (FResumePressed) FPressed = true;
  EnsureGlowTimer();
  if (!FPressed && FFadeKind != fkDown) {
    FFadeStep = 20;
    FFadeKind = fkHot;
  }
  Invalidate();
  FTracking = true;
  FMouseInside = true;
}

void TDizCustomGlowButton::HandleMouseLeave(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (ComponentState().Contains(csDesigning) || !FMouseInside) return;
  FMouseInside = false;
  FTracking = false;
  FHot = false;
  FOverDropDownPart = false;
  if (FPressed && FLeftButtonHeld) {
    FPressed = false;
    FFadeStep = -20;
    FFadeKind = fkHot;
    Invalidate();
    FResumePressed = true;
  } else {
    FPressed = false;
    FHotProgress = 100;
    FFadeStep = -20;
    FFadeKind = fkHot;
    Invalidate();
  }
  EnsureGlowTimer();
}

void TDizCustomGlowButton::UpdateTracking() {
  if (!Enabled()) return;
  // Tracking is set while the mouse is over the button (as the enter and leave handlers
  // keep it); the split painting shows the hovered half only while it is set.
  TControl* under = FindDragTarget(Mouse()->CursorPos(), true);
  const bool over = under == this;
  if (over == FTracking) return;
  FTracking = over;
  Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

bool TDizCustomGlowButton::InsideClient(int X, int Y) {
  return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TDizCustomGlowButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  // Only the left button presses the button; right and middle presses change nothing.
  if (Button != mbLeft) return;
  if (FRepeatClick) {
    if (!FRepeatTimer) {
      FRepeatTimer = std::make_unique<TTimer>(nullptr);
      FRepeatTimer->SetOnTimer([this](TObject* Sender) { TimerExpired(Sender); });
    }
    FRepeatTimer->SetInterval(unsigned(std::max(1, FInitRepeatPause)));
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetEnabled(true);
  }
  FPressed = true;
  FLeftButtonHeld = true;
  if (TabStop() && CanFocus()) SetFocus();
  EnsureGlowTimer();
  FFadeStep = 20;
  FFadeKind = fkDown;
  bool overPart = (FDropDownPosition == dpRight && X > Width() - 14) || (FDropDownPosition == dpBottom && Y > Height() - 14);
  bool opensMenu = (!FDropDownButton && IsMenuButton()) || (FDropDownButton && overPart && FDropDownSplit) ||
                   (FDropDownButton && !FDropDownSplit && FStyle != bsCheck && FGroupIndex < 1);
  if (!opensMenu) {
    if (FStyle == bsCheck) SetDown(!FDown);
    if (!FDown) {
      FState = absDown;
      Invalidate();
    }
    if (FStyle == bsCheck) {
      FState = absDown;
      Repaint();
    }
    FPressPending = true;
    return;
  }
  FTracking = false;
  // A press that opens the drop-down is no click of the button, with or without a menu.
  FControlState -= csClicked;
  PopupBtnDown();
  if (FDropDownMenu) {
    FPressed = false;
    FHot = false;
    FDroppedDown = true;
    FMouseInside = true;
    Repaint();
    PopupMenuAt();
    FDroppedDown = false;
    // The menu took the release: the button is no longer held.
    FLeftButtonHeld = false;
    if (MouseCapture()) SetMouseCapture(false);
    TPoint p = ScreenToClient(Mouse()->CursorPos());
    if (!InsideClient(p.X, p.Y) || p.Y == ClientHeight()) {
      FMouseInside = false;
      FTracking = false;
      FHot = false;
      FOverDropDownPart = false;
    }
    Repaint();
  }
  Invalidate();
}

void TDizCustomGlowButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  UpdateTracking();
  bool over = FDropDownButton &&
              ((FDropDownPosition == dpRight && X > Width() - 12) || (FDropDownPosition == dpBottom && Y > Height() - 12));
  if (over != FOverDropDownPart) {
    FOverDropDownPart = over;
    Invalidate();
  }
  if (FPressPending) {
    TDizButtonState state = FDown ? absExclusive : absUp;
    if (InsideClient(X, Y)) state = FDown ? absExclusive : absDown;
    if (FStyle == bsCheck && FDown) state = absDown;
    if (state != FState) {
      FState = state;
      Invalidate();
    }
  } else if (!FTracking) {
    UpdateTracking();
  }
}

void TDizCustomGlowButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TDizCustomGlowButton::HandleLButtonUp(TMessage& Message) {
  FFadeStep = -20;
  FFadeKind = fkDown;
  FLeftButtonHeld = false;
  FResumePressed = false;
  EnsureGlowTimer();
  bool frameworkDone = false;
  if ((FDropDownButton || !IsMenuButton()) && FPressPending) {
    FPressPending = false;
    int x = Message.XPos(), y = Message.YPos();
    bool inside = InsideClient(x, y);
    bool linked = ActionLink() && (FCheckedLinked || FGroupLinked);
    if (FGroupIndex != 0) {
      if (ActionLink() && linked) {
        TCustomControl::WndProc(Message);
        return;
      }
      if (inside) {
        bool was = FDown;
        SetDown(!FDown);
        if (FDown && !was) Repaint();
      } else {
        if (FDown) FState = absExclusive;
        Repaint();
      }
      UpdateTracking();
    } else {
      FState = absUp;
      FTracking = false;
      if (FStyle == bsCheck) {
        if (ActionLink()) {
          TCustomControl::WndProc(Message);
          frameworkDone = true;
          if (FCheckedLinked || FGroupLinked) return;
        }
        // Releasing outside cancels the press: the toggle made by the press is undone.
        if (!inside) SetDown(!FDown);
        Repaint();
      }
      if (inside && FState != absDown && FState != absExclusive) Invalidate();
      UpdateTracking();
    }
  }
  if (!frameworkDone) TCustomControl::WndProc(Message);
  if (FStyle == bsCheck || FGroupIndex > 0) Repaint();
  Invalidate();
}

// =======================================================================================
// Keyboard and focus

void TDizCustomGlowButton::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_RETURN || Key == VK_SPACE) {
    FPressed = true;
    FState = absDown;
    Repaint();
  }
  if (Key == VK_F4) DoDropDown();
  if (OnContainerKeyDown) OnContainerKeyDown(this, Key, Shift);
}

void TDizCustomGlowButton::KeyUp(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  FPressed = false;
  FState = absUp;
  Repaint();
}

void TDizCustomGlowButton::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  // Space or Enter on the focused button clicks it once; Click passes the modal result
  // to the form.
  if (Key == U' ' || Key == U'\r') Click();
}

void TDizCustomGlowButton::HandleDialogChar(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) return;
  std::string caption = Caption();
  if (caption.empty()) caption = Utf16ToAscii(FWideCaption);
  if (!AccessKeyMatches(char32_t(Message.WParam), caption) || !CanFocus()) return;
  if (IsMenuButton() || FDropDownMenu) DoDropDown();
  else Click();
  Message.Result = 1;
}

void TDizCustomGlowButton::HandleDialogKey(TMessage& Message) {
  bool enter = Message.WParam == VK_RETURN, escape = Message.WParam == VK_ESCAPE;
  if (!((enter && FDefaultActive) || (escape && FCancel))) return;
  if (!KeyDataToShiftState(Message.LParam).Empty() || !CanFocus()) return;
  // Enter on the focused button reaches it as a typed character and clicks there once.
  if (enter && HandleAllocated() && GetFocus() == Handle()) return;
  InternalClick();
  FState = absUp;
  Message.Result = 1;
}

void TDizCustomGlowButton::DoEnter() {
  TCustomControl::DoEnter();
  Invalidate();
  FFocused = true;
}

void TDizCustomGlowButton::DoExit() {
  TCustomControl::DoExit();
  FPressed = false;
  FState = absUp;
  FFocused = false;
  Invalidate();
}

// =======================================================================================
// Messages

void TDizCustomGlowButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: HandleMouseEnter(Message); return;
    case CM_MOUSELEAVE: HandleMouseLeave(Message); return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      TCustomControl::WndProc(Message);
      Repaint();
      return;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == 0) Click();
      return;
    case CM_DIALOGCHAR:
      HandleDialogChar(Message);
      if (Message.Result == 0) TCustomControl::WndProc(Message);
      return;
    case CM_DIALOGKEY:
      HandleDialogKey(Message);
      if (Message.Result == 0) TCustomControl::WndProc(Message);
      return;
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
      if (dynamic_cast<TDizCustomGlowButton*>(focused)) FDefaultActive = focused == this;
      else FDefaultActive = FDefault;
      TCustomControl::WndProc(Message);
      return;
    }
    case CM_BUTTONPRESSED: HandleButtonPressed(Message); return;
    case WM_GETDLGCODE:
      if (OnContainerKeyDown) Message.Result = DLGC_WANTARROWS;
      else TCustomControl::WndProc(Message);
      return;
    case WM_SETTEXT:
      TCustomControl::WndProc(Message);
      if (FAutoSizeOn) PerformResize();
      return;
    case WM_LBUTTONUP: HandleLButtonUp(Message); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: TCustomControl::WndProc(Message); return;
  }
}

TCustomImageList* TDizCustomGlowButton::EnsureGlyphList() {
  if (!FGlyphList) FGlyphList = std::make_unique<TImageList>(nullptr);
  return FGlyphList.get();
}
