// RadUdire: the menu styler and its parts, their published properties, copying and
// change notification, and the lookup of a menu's IZedIvad. Painting, measuring, menu
// windows and the menu components are in RadUdirePaint/Measure/Windows/Menus.cpp.
#include "menus/RadUdire.h"

#include "foundation/DizStyleIF.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

namespace {

const TEnumInfo* GradientDirectionNames() {
  static const TEnumInfo* info = RegisterEnum("TGradientDirection", {"gdVertical", "gdHorizontal"});
  return info;
}
const TEnumInfo* GradientTypeNames() {
  static const TEnumInfo* info = RegisterEnum("TGradientType", {"gtLeft", "gtRight", "gtBoth"});
  return info;
}
const TEnumInfo* BackgroundPositionNames() {
  static const TEnumInfo* info =
      RegisterEnum("TBackgroundPosition", {"bpTopLeft", "bpTopRight", "bpBottomLeft", "bpBottomRight", "bpTopCenter",
                                           "bpBottomCenter", "bpTiled", "bpStretched", "bpCenter", "bpXY"});
  return info;
}
const TEnumInfo* DirectionNames() {
  static const TEnumInfo* info = RegisterEnum("TDirection", {"dDownToUp", "dUpToDown"});
  return info;
}
const TEnumInfo* SideBarVisibleInNames() {
  static const TEnumInfo* info = RegisterEnum("TSideBarVisibleIn", {"viFirstVisible", "viFirstLevel", "viAnyLevel"});
  return info;
}
const TEnumInfo* AlignmentNames() {
  static const TEnumInfo* info = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return info;
}
const TEnumInfo* AntiAliasNames() {
  static const TEnumInfo* info = RegisterEnum("TAntiAlias", {"aaNone", "aaClearType", "aaAntiAlias"});
  return info;
}

[[noreturn]] void InvalidIndex(int Index) {
  throw EInvalidPropertyIndex(Format("Invalid property index %d.", Index));
}

// A copy of the screen's menu font, Smaller points smaller.
std::unique_ptr<TFont> MenuFontCopy(int Smaller = 0) {
  auto font = std::make_unique<TFont>();
  if (Screen) font->Assign(Screen->MenuFont());
  if (Smaller) font->SetSize(font->GetSize() - Smaller);
  return font;
}

void LoadGlyph(std::unique_ptr<TBitmap>& Field, const char* Name) {
  Field = std::make_unique<TBitmap>();
  try {
    Field->LoadFromResourceName(nullptr, Name);
  } catch (const EResNotFound&) {
    // A program without the glyph resources draws no glyph.
  }
  Field->SetTransparent(true);
}

}  // namespace

void RefreshMenu(IZedIvad* Menu, bool SideBarChanged, bool SizeChanged) {
  if (!Menu || !Menu->GetSelf()) return;
  if (SideBarChanged || SizeChanged) Menu->UpdateItems();
  if (auto* main = dynamic_cast<TVerOvizEzur*>(Menu->GetSelf())) HookMDIClient(main);
}

// ---- TGradientBar -------------------------------------------------------------------------------
void TGradientBar::Publish(TClassBuilder<TGradientBar>&) {}

void TGradientBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TGradientBar*>(Source)) {
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FGradientDirection = s->FGradientDirection;
    return;
  }
  TPersistent::Assign(Source);
}

TColor TGradientBar::GetGradientColor(int Index) const {
  switch (Index) {
    case 0: return FColor;
    case 1: return FColorTo;
    default: InvalidIndex(Index);
  }
}

void TGradientBar::SetGradientColor(int Index, TColor Value) {
  switch (Index) {
    case 0: FColor = Value; break;
    case 1: FColorTo = Value; break;
    default: InvalidIndex(Index);
  }
}

// ---- TSeparator ---------------------------------------------------------------------------------
void TSeparator::Publish(TClassBuilder<TSeparator>& P) {
  P.Int("Color", &TSeparator::Color, &TSeparator::SetColor, 0x8F6D6E)
      .Consts(ColorConsts())
      .Int("ColorTo", &TSeparator::ColorTo, &TSeparator::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Int("Width", &TSeparator::Width, &TSeparator::SetWidth, 1)
      .Enum("GradientType", GradientTypeNames(), &TSeparator::GradientType, &TSeparator::SetGradientType)
      .Int("GradientWidth", &TSeparator::GradientWidth, &TSeparator::SetGradientWidth, 0)
      .Int("Margin", &TSeparator::Margin, &TSeparator::SetMargin, 2);
}

TSeparator::TSeparator() {
  FColor = 0x8F6D6E;
  FGradientDirection = gdHorizontal;
}

void TSeparator::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSeparator*>(Source)) {
    FWidth = s->FWidth;
    FGradientType = s->FGradientType;
    FGradientWidth = s->FGradientWidth;
    FMargin = s->FMargin;
  }
  TGradientBar::Assign(Source);
  FGradientDirection = gdHorizontal;
}

// ---- TBackground --------------------------------------------------------------------------------
void TBackground::Publish(TClassBuilder<TBackground>& P) {
  P.Object("Image", &TBackground::Image, &TBackground::SetImage)
      .Stored(&TBackground::HasImage)
      .Enum("Position", BackgroundPositionNames(), &TBackground::Position, &TBackground::SetPosition)
      .Int("OffsetX", &TBackground::OffsetX, &TBackground::SetOffsetX, 0)
      .Int("OffsetY", &TBackground::OffsetY, &TBackground::SetOffsetY, 0)
      .Int("MarginX", &TBackground::MarginX, &TBackground::SetMarginX, 0)
      .Int("MarginY", &TBackground::MarginY, &TBackground::SetMarginY, 0)
      .Int("Color", &TBackground::Color, &TBackground::SetColor, 0xFFFAFD)
      .Consts(ColorConsts())
      .Int("ColorTo", &TBackground::ColorTo, &TBackground::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Enum("GradientDirection", GradientDirectionNames(), &TBackground::GradientDirection,
            &TBackground::SetGradientDirection, gdVertical);
}

TBackground::TBackground() { FColor = 0xFFFAFD; }

TBackground::~TBackground() = default;

void TBackground::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBackground*>(Source)) {
    SetImage(s->HasImage() ? s->Image() : nullptr);
    FOffsetX = s->FOffsetX;
    FOffsetY = s->FOffsetY;
    FPosition = s->FPosition;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    return;
  }
  TGradientBar::Assign(Source);
}

TPicture* TBackground::Image() {
  if (!FImage) FImage = std::make_unique<TPicture>();
  if (auto* bitmap = dynamic_cast<TBitmap*>(FImage->GetGraphic())) {
    bitmap->SetTransparent(true);
    bitmap->SetTransparentMode(tmAuto);
  }
  return FImage.get();
}

void TBackground::SetImage(TPicture* Value) {
  if (!Value) {
    FImage.reset();
  } else if (Value != FImage.get()) {
    Image()->Assign(Value);
  }
  RefreshMenu(FMenu, false, false);
}

bool TBackground::HasImage() const {
  return FImage && FImage->GetGraphic() && !FImage->GetGraphic()->GetEmpty();
}

TBitmap* TBackground::Buffer() {
  if (!FBuffer) FBuffer = std::make_unique<TBitmap>();
  return FBuffer.get();
}

void TBackground::CalcPicturePosition(const TRect& R, int& X, int& Y) {
  X = R.Left;
  Y = R.Top;
  if (!HasImage()) return;
  int pw = FImage->GetWidth(), ph = FImage->GetHeight();
  int w = R.Right - R.Left, h = R.Bottom - R.Top;
  switch (FPosition) {
    case bpTopLeft: case bpBottomLeft: X += FOffsetX; break;
    case bpTopRight: case bpBottomRight: X += w + FOffsetX - pw; break;
    case bpTopCenter: case bpBottomCenter: case bpCenter: X += (w - pw) / 2 + FOffsetX; break;
    default: break;
  }
  switch (FPosition) {
    case bpTopLeft: case bpTopRight: case bpTopCenter: Y += FOffsetY; break;
    case bpBottomLeft: case bpBottomRight: case bpBottomCenter: Y += h + FOffsetY - ph; break;
    case bpCenter: Y += (h - ph) / 2 + FOffsetY; break;
    default: break;
  }
}

// ---- TIconBar -----------------------------------------------------------------------------------
void TIconBar::Publish(TClassBuilder<TIconBar>& P) {
  P.Int("Color", &TIconBar::Color, &TIconBar::SetColor, 0xFFF9F9)
      .Consts(ColorConsts())
      .Int("ColorTo", &TIconBar::ColorTo, &TIconBar::SetColorTo, 0xBBA0A1)
      .Consts(ColorConsts())
      .Enum("GradientDirection", GradientDirectionNames(), &TIconBar::GradientDirection,
            &TIconBar::SetGradientDirection, gdHorizontal)
      .Int("CheckColor", &TIconBar::CheckColor, &TIconBar::SetCheckColorValue, 0x6FC0FF)
      .Consts(ColorConsts())
      .Int("CheckColorTo", &TIconBar::CheckColorTo, &TIconBar::SetCheckColorToValue, clNone)
      .Consts(ColorConsts())
      .Int("CheckBorder", &TIconBar::CheckBorder, &TIconBar::SetCheckBorder, 0x6F4B4B)
      .Consts(ColorConsts())
      .Enum("CheckGradientDirection", GradientDirectionNames(), &TIconBar::CheckGradientDirection,
            &TIconBar::SetCheckGradientDirection, gdVertical)
      .Int("RadioColor", &TIconBar::RadioColor, &TIconBar::SetRadioColorValue, 0x6FC0FF)
      .Consts(ColorConsts())
      .Int("RadioColorTo", &TIconBar::RadioColorTo, &TIconBar::SetRadioColorToValue, clNone)
      .Consts(ColorConsts())
      .Int("RadioBorder", &TIconBar::RadioBorder, &TIconBar::SetRadioBorder, 0x6F4B4B)
      .Consts(ColorConsts())
      .Enum("RadioGradientDirection", GradientDirectionNames(), &TIconBar::RadioGradientDirection,
            &TIconBar::SetRadioGradientDirection, gdVertical)
      .Int("SeparatorColor", &TIconBar::SeparatorColor, &TIconBar::SetSeparatorColor, clNone)
      .Consts(ColorConsts())
      .Int("Size", &TIconBar::Size, &TIconBar::SetSize, 24);
}

TIconBar::TIconBar() {
  FColor = 0xFFF9F9;
  FColorTo = 0xBBA0A1;
  FGradientDirection = gdHorizontal;
}

void TIconBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TIconBar*>(Source)) {
    FCheckColor = s->FCheckColor;
    FCheckColorTo = s->FCheckColorTo;
    FCheckBorder = s->FCheckBorder;
    FCheckGradientDirection = s->FCheckGradientDirection;
    FRadioColor = s->FRadioColor;
    FRadioColorTo = s->FRadioColorTo;
    FRadioBorder = s->FRadioBorder;
    FRadioGradientDirection = s->FRadioGradientDirection;
    SetSize(s->FSize);
    FSeparatorColor = s->FSeparatorColor;
    return;
  }
  TGradientBar::Assign(Source);
}

TColor TIconBar::GetCheckColor(int Index) const {
  if (Index == 0) return FCheckColor;
  if (Index == 1) return FCheckColorTo;
  InvalidIndex(Index);
}

void TIconBar::SetCheckColor(int Index, TColor Value) {
  if (Index == 0) FCheckColor = Value;
  else if (Index == 1) FCheckColorTo = Value;
  else InvalidIndex(Index);
  RefreshMenu(FMenu, false, false);
}

TColor TIconBar::GetRadioColor(int Index) const {
  if (Index == 0) return FRadioColor;
  if (Index == 1) return FRadioColorTo;
  InvalidIndex(Index);
}

void TIconBar::SetRadioColor(int Index, TColor Value) {
  if (Index == 0) FRadioColor = Value;
  else if (Index == 1) FRadioColorTo = Value;
  else InvalidIndex(Index);
  RefreshMenu(FMenu, false, false);
}

void TIconBar::SetSize(int Value) {
  FSize = Value < 16 ? 16 : Value;
  RefreshMenu(FMenu, false, true);
}

// ---- TSelectedItem ------------------------------------------------------------------------------
void TSelectedItem::Publish(TClassBuilder<TSelectedItem>& P) {
  P.Int("Color", &TSelectedItem::Color, &TSelectedItem::SetColor, 0xC2EEFF)
      .Consts(ColorConsts())
      .Int("ColorTo", &TSelectedItem::ColorTo, &TSelectedItem::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Int("ColorMirror", &TSelectedItem::ColorMirror, &TSelectedItem::SetColorMirror, clNone)
      .Consts(ColorConsts())
      .Int("ColorMirrorTo", &TSelectedItem::ColorMirrorTo, &TSelectedItem::SetColorMirrorTo, clNone)
      .Consts(ColorConsts())
      .Enum("GradientDirection", GradientDirectionNames(), &TSelectedItem::GradientDirection,
            &TSelectedItem::SetGradientDirection, gdVertical)
      .Int("BorderColor", &TSelectedItem::BorderColor, &TSelectedItem::SetBorderColor, 0x6F4B4B)
      .Consts(ColorConsts())
      .Object("Font", &TSelectedItem::Font, &TSelectedItem::SetFont)
      .Object("NotesFont", &TSelectedItem::NotesFont, &TSelectedItem::SetNotesFont)
      .Bool("UseSystemFont", &TSelectedItem::UseSystemFont, &TSelectedItem::SetUseSystemFont, true)
      .Int("CheckColor", &TSelectedItem::CheckColor, &TSelectedItem::SetCheckColorValue, 0x3E80FE)
      .Consts(ColorConsts())
      .Int("CheckColorTo", &TSelectedItem::CheckColorTo, &TSelectedItem::SetCheckColorToValue, clNone)
      .Consts(ColorConsts())
      .Int("CheckBorder", &TSelectedItem::CheckBorder, &TSelectedItem::SetCheckBorder, 0x6F4B4B)
      .Consts(ColorConsts())
      .Enum("CheckGradientDirection", GradientDirectionNames(), &TSelectedItem::CheckGradientDirection,
            &TSelectedItem::SetCheckGradientDirection, gdVertical)
      .Int("RadioColor", &TSelectedItem::RadioColor, &TSelectedItem::SetRadioColorValue, 0x3E80FE)
      .Consts(ColorConsts())
      .Int("RadioColorTo", &TSelectedItem::RadioColorTo, &TSelectedItem::SetRadioColorToValue, clNone)
      .Consts(ColorConsts())
      .Int("RadioBorder", &TSelectedItem::RadioBorder, &TSelectedItem::SetRadioBorder, 0x6F4B4B)
      .Consts(ColorConsts())
      .Enum("RadioGradientDirection", GradientDirectionNames(), &TSelectedItem::RadioGradientDirection,
            &TSelectedItem::SetRadioGradientDirection, gdVertical);
}

TSelectedItem::TSelectedItem() : FFont(MenuFontCopy()), FNotesFont(MenuFontCopy(2)) {
  FColor = 0xC2EEFF;
  FFont->SetColor(clWindowText);
  FNotesFont->SetColor(clWindowText);
}

TSelectedItem::~TSelectedItem() = default;

void TSelectedItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSelectedItem*>(Source)) {
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FBorderColor = s->FBorderColor;
    FFont->Assign(s->FFont.get());
    FUseSystemFont = s->FUseSystemFont;
    FCheckColor = s->FCheckColor;
    FCheckColorTo = s->FCheckColorTo;
    FCheckGradientDirection = s->FCheckGradientDirection;
    FRadioColor = s->FRadioColor;
    FRadioColorTo = s->FRadioColorTo;
    FRadioBorder = s->FRadioBorder;
    FRadioGradientDirection = s->FRadioGradientDirection;
    return;
  }
  TGradientBar::Assign(Source);
}

TColor TSelectedItem::GetCheckColor(int Index) const {
  if (Index == 0) return FCheckColor;
  if (Index == 1) return FCheckColorTo;
  InvalidIndex(Index);
}

void TSelectedItem::SetCheckColor(int Index, TColor Value) {
  if (Index == 0) FCheckColor = Value;
  else if (Index == 1) FCheckColorTo = Value;
  else InvalidIndex(Index);
  RefreshMenu(FMenu, false, false);
}

TColor TSelectedItem::GetRadioColor(int Index) const {
  if (Index == 0) return FRadioColor;
  if (Index == 1) return FRadioColorTo;
  InvalidIndex(Index);
}

void TSelectedItem::SetRadioColor(int Index, TColor Value) {
  if (Index == 0) FRadioColor = Value;
  else if (Index == 1) FRadioColorTo = Value;
  else InvalidIndex(Index);
  RefreshMenu(FMenu, false, false);
}

void TSelectedItem::SetFont(TFont* Value) {
  if (!Value) return;
  FFont->Assign(Value);
  RefreshMenu(FMenu, false, true);
}

void TSelectedItem::SetNotesFont(TFont* Value) {
  if (!Value) return;
  FNotesFont->Assign(Value);
  RefreshMenu(FMenu, false, true);
}

void TSelectedItem::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  RefreshMenu(FMenu, false, true);
}

// ---- TRootItem ----------------------------------------------------------------------------------
void TRootItem::Publish(TClassBuilder<TRootItem>& P) {
  P.Int("Color", &TRootItem::Color, &TRootItem::SetColor, 0xE5D7D7)
      .Consts(ColorConsts())
      .Int("ColorTo", &TRootItem::ColorTo, &TRootItem::SetColorTo, 0xF7F2F2)
      .Consts(ColorConsts())
      .Enum("GradientDirection", GradientDirectionNames(), &TRootItem::GradientDirection,
            &TRootItem::SetGradientDirection, gdHorizontal)
      .Object("Font", &TRootItem::Font, &TRootItem::SetFont)
      .Bool("UseSystemFont", &TRootItem::UseSystemFont, &TRootItem::SetUseSystemFont, true)
      .Int("SelectedColor", &TRootItem::SelectedColor, &TRootItem::SetSelectedColorValue, 0xF2E8E8)
      .Consts(ColorConsts())
      .Int("SelectedColorTo", &TRootItem::SelectedColorTo, &TRootItem::SetSelectedColorToValue, 0xCDB8B9)
      .Consts(ColorConsts())
      .Int("SelectedColorMirror", &TRootItem::SelectedColorMirror, &TRootItem::SetSelectedColorMirrorValue, clNone)
      .Consts(ColorConsts())
      .Int("SelectedColorMirrorTo", &TRootItem::SelectedColorMirrorTo, &TRootItem::SetSelectedColorMirrorToValue, clNone)
      .Consts(ColorConsts())
      .Enum("SelectedGradientDirection", GradientDirectionNames(), &TRootItem::SelectedGradientDirection,
            &TRootItem::SetSelectedGradientDirection, gdVertical)
      .Int("SelectedBorderColor", &TRootItem::SelectedBorderColor, &TRootItem::SetSelectedBorderColor, 0x947C7C)
      .Consts(ColorConsts())
      .Int("SelectedTextColor", &TRootItem::SelectedTextColor, &TRootItem::SetSelectedTextColor, clWindowText)
      .Consts(ColorConsts())
      .Int("HoverColor", &TRootItem::HoverColor, &TRootItem::SetHoverColorValue, 0xCFF6FF)
      .Consts(ColorConsts())
      .Int("HoverColorTo", &TRootItem::HoverColorTo, &TRootItem::SetHoverColorToValue, 0x9DD8FF)
      .Consts(ColorConsts())
      .Int("HoverColorMirror", &TRootItem::HoverColorMirror, &TRootItem::SetHoverColorMirrorValue, clNone)
      .Consts(ColorConsts())
      .Int("HoverColorMirrorTo", &TRootItem::HoverColorMirrorTo, &TRootItem::SetHoverColorMirrorToValue, clNone)
      .Consts(ColorConsts())
      .Enum("HoverGradientDirection", GradientDirectionNames(), &TRootItem::HoverGradientDirection,
            &TRootItem::SetHoverGradientDirection, gdVertical)
      .Int("HoverBorderColor", &TRootItem::HoverBorderColor, &TRootItem::SetHoverBorderColor, 0x6F4B4B)
      .Consts(ColorConsts())
      .Int("HoverTextColor", &TRootItem::HoverTextColor, &TRootItem::SetHoverTextColor, clWindowText)
      .Consts(ColorConsts());
}

TRootItem::TRootItem() : FFont(MenuFontCopy()) {
  FColor = 0xE5D7D7;
  FColorTo = 0xF7F2F2;
  FGradientDirection = gdHorizontal;
}

TRootItem::~TRootItem() = default;

void TRootItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TRootItem*>(Source)) {
    FFont->Assign(s->FFont.get());
    FUseSystemFont = s->FUseSystemFont;
    FSelected[0] = s->FSelected[0];
    FSelected[1] = s->FSelected[1];
    FSelectedGradientDirection = s->FSelectedGradientDirection;
    FSelectedBorderColor = s->FSelectedBorderColor;
    FSelectedTextColor = s->FSelectedTextColor;
    FHover[0] = s->FHover[0];
    FHover[1] = s->FHover[1];
    FHoverGradientDirection = s->FHoverGradientDirection;
    FHoverBorderColor = s->FHoverBorderColor;
    FHoverTextColor = s->FHoverTextColor;
    FSelected[2] = s->FSelected[2];
    FSelected[3] = s->FSelected[3];
    return;
  }
  TGradientBar::Assign(Source);
}

TColor TRootItem::GetHoverColor(int Index) const {
  if (Index < 0 || Index > 3) InvalidIndex(Index);
  return FHover[Index];
}

void TRootItem::SetHoverColor(int Index, TColor Value) {
  if (Index < 0 || Index > 3) InvalidIndex(Index);
  FHover[Index] = Value;
  RefreshMenu(FMenu, false, true);
}

TColor TRootItem::GetSelectedColor(int Index) const {
  if (Index < 0 || Index > 3) InvalidIndex(Index);
  return FSelected[Index];
}

void TRootItem::SetSelectedColor(int Index, TColor Value) {
  if (Index < 0 || Index > 3) InvalidIndex(Index);
  FSelected[Index] = Value;
  RefreshMenu(FMenu, false, true);
}

void TRootItem::SetFont(TFont* Value) {
  if (!Value) return;
  FFont->Assign(Value);
  RefreshMenu(FMenu, false, true);
}

void TRootItem::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  RefreshMenu(FMenu, false, true);
}

// ---- TMenuGlyphs --------------------------------------------------------------------------------
void TMenuGlyphs::Publish(TClassBuilder<TMenuGlyphs>& P) {
  P.Object("SubMenu", &TMenuGlyphs::SubMenu, &TMenuGlyphs::SetSubMenu)
      .Object("Check", &TMenuGlyphs::Check, &TMenuGlyphs::SetCheck)
      .Object("Radio", &TMenuGlyphs::Radio, &TMenuGlyphs::SetRadio);
}

TMenuGlyphs::TMenuGlyphs() {
  LoadGlyph(FSubMenu, "DIZSUBMENUITEM");
  LoadGlyph(FCheck, "DIZCHECKITEM");
  LoadGlyph(FRadio, "DIZRADIOITEM");
}

TMenuGlyphs::~TMenuGlyphs() = default;

void TMenuGlyphs::Store(std::unique_ptr<TBitmap>& Field, TBitmap* Value) {
  if (Value != Field.get()) {
    if (Value) Field->Assign(Value);
    else Field = std::make_unique<TBitmap>();
  }
  Field->SetTransparent(true);
  RefreshMenu(FMenu, false, false);
}

void TMenuGlyphs::SetSubMenu(TBitmap* Value) { Store(FSubMenu, Value); }
void TMenuGlyphs::SetCheck(TBitmap* Value) { Store(FCheck, Value); }
void TMenuGlyphs::SetRadio(TBitmap* Value) { Store(FRadio, Value); }

void TMenuGlyphs::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TMenuGlyphs*>(Source)) {
    SetSubMenu(s->FSubMenu.get());
    SetCheck(s->FCheck.get());
    SetRadio(s->FRadio.get());
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TBarCaption / TSideBar ---------------------------------------------------------------------
void TBarCaption::Publish(TClassBuilder<TBarCaption>& P) {
  P.Enum("Alignment", AlignmentNames(), &TBarCaption::Alignment, &TBarCaption::SetAlignment, taLeftJustify)
      .Str("Caption", &TBarCaption::Caption, &TBarCaption::SetCaption)
      .Object("Font", &TBarCaption::Font, &TBarCaption::SetFont)
      .Int("ShadowColor", &TBarCaption::ShadowColor, &TBarCaption::SetShadowColor, clNone)
      .Consts(ColorConsts())
      .Int("Depth", &TBarCaption::Depth, &TBarCaption::SetDepth, 1)
      .Enum("Direction", DirectionNames(), &TBarCaption::Direction, &TBarCaption::SetDirection, dDownToUp);
}

TBarCaption::TBarCaption() : FFont(std::make_unique<TFont>()) {
  FFont->SetName("Tahoma");
  FFont->SetSize(14);
  FFont->SetColor(clWhite);
  FFont->SetStyle(TFontStyles{fsBold, fsItalic});
}

TBarCaption::~TBarCaption() = default;

void TBarCaption::SetFont(TFont* Value) {
  if (!Value) return;
  FFont->Assign(Value);
  RefreshMenu(FMenu, true, false);
}

void TBarCaption::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBarCaption*>(Source)) {
    FCaptionOffset = s->FCaptionOffset;
    FAlignment = s->FAlignment;
    FCaption = s->FCaption;
    SetFont(s->FFont.get());
    FShadowColor = s->FShadowColor;
    FDepth = s->FDepth;
    FDirection = s->FDirection;
    return;
  }
  TPersistent::Assign(Source);
}

void TSideBar::Publish(TClassBuilder<TSideBar>& P) {
  P.Bool("Visible", &TSideBar::Visible, &TSideBar::SetVisible, false)
      .Enum("VisibleIn", SideBarVisibleInNames(), &TSideBar::VisibleIn, &TSideBar::SetVisibleIn, viFirstVisible)
      .Object("Image", &TSideBar::Image, &TSideBar::SetImage)
      .Object("Background", &TSideBar::Background, &TSideBar::SetBackground)
      .Int("Size", &TSideBar::Size, &TSideBar::SetSize, 24)
      .Int("SplitterColor", &TSideBar::SplitterColor, &TSideBar::SetSplitterColor, 0x808080)
      .Consts(ColorConsts())
      .Int("SplitterColorTo", &TSideBar::SplitterColorTo, &TSideBar::SetSplitterColorTo, clNone)
      .Consts(ColorConsts())
      .Int("SplitterWidth", &TSideBar::SplitterWidth, &TSideBar::SetSplitterWidth, 1)
      .Int("SplitterMargin", &TSideBar::SplitterMargin, &TSideBar::SetSplitterMargin, 0)
      .Int("SplitterGradientWidth", &TSideBar::SplitterGradientWidth, &TSideBar::SetSplitterGradientWidth, 0)
      .Enum("SplitterGradientType", GradientTypeNames(), &TSideBar::SplitterGradientType,
            &TSideBar::SetSplitterGradientType, gtBoth)
      .Int("BorderColor", &TSideBar::BorderColor, &TSideBar::SetBorderColor, 0xA19D9D)
      .Consts(ColorConsts());
}

TSideBar::TSideBar() : FImage(std::make_unique<TBackground>()), FBackground(std::make_unique<TBackground>()) {}

TSideBar::~TSideBar() = default;

void TSideBar::SetVisible(bool Value) {
  FVisible = Value;
  if (FMenu && dynamic_cast<TMainMenu*>(FMenu->GetSelf()) && FMenu->GetSelf()->WindowHandle())
    RefreshMenu(FMenu, false, true);
}

void TSideBar::SetImage(TBackground* Value) {
  if (!Value) return;
  if (Value != FImage.get()) FImage->Assign(Value);
  RefreshMenu(FMenu, true, false);
}

void TSideBar::SetBackground(TBackground* Value) {
  if (!Value) return;
  if (Value != FBackground.get()) FBackground->Assign(Value);
  if (FBackground->HasImage()) FBackground->Image();  // makes a bitmap transparent
  RefreshMenu(FMenu, true, false);
}

void TSideBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSideBar*>(Source)) {
    SetVisible(s->FVisible);
    SetImage(s->FImage.get());
    SetBackground(s->FBackground.get());
    FSize = s->FSize;
    FSplitterWidth = s->FSplitterWidth;
    FSplitterMargin = s->FSplitterMargin;
    FSplitterGradientWidth = s->FSplitterGradientWidth;
    FSplitterGradientType = s->FSplitterGradientType;
    FBorderColor = s->FBorderColor;
  }
  TBarCaption::Assign(Source);
}

// ---- TButtonAppearance --------------------------------------------------------------------------
void TButtonAppearance::Publish(TClassBuilder<TButtonAppearance>& P) {
  P.Int("Color", &TButtonAppearance::Color, &TButtonAppearance::SetColor, clNone)
      .Consts(ColorConsts())
      .Int("ColorTo", &TButtonAppearance::ColorTo, &TButtonAppearance::SetColorTo, clNone)
      .Consts(ColorConsts())
      .Int("DownColor", &TButtonAppearance::DownColor, &TButtonAppearance::SetDownColor, 0xB59285)
      .Consts(ColorConsts())
      .Int("DownColorTo", &TButtonAppearance::DownColorTo, &TButtonAppearance::SetDownColorTo, clNone)
      .Consts(ColorConsts())
      .Int("HoverColor", &TButtonAppearance::HoverColor, &TButtonAppearance::SetHoverColor, 0xD2BDB6)
      .Consts(ColorConsts())
      .Int("HoverColorTo", &TButtonAppearance::HoverColorTo, &TButtonAppearance::SetHoverColorTo, clNone)
      .Consts(ColorConsts())
      .Enum("GradientDirection", GradientDirectionNames(), &TButtonAppearance::GradientDirection,
            &TButtonAppearance::SetGradientDirection, gdVertical)
      .Int("BorderColor", &TButtonAppearance::BorderColor, &TButtonAppearance::SetBorderColor, clNone)
      .Consts(ColorConsts())
      .Int("DownBorderColor", &TButtonAppearance::DownBorderColor, &TButtonAppearance::SetDownBorderColor, 0x6A240A)
      .Consts(ColorConsts())
      .Int("HoverBorderColor", &TButtonAppearance::HoverBorderColor, &TButtonAppearance::SetHoverBorderColor, 0x6A240A)
      .Consts(ColorConsts())
      .Object("CaptionFont", &TButtonAppearance::CaptionFont, &TButtonAppearance::SetCaptionFont)
      .Bool("UseSystemFont", &TButtonAppearance::UseSystemFont, &TButtonAppearance::SetUseSystemFont, true);
}

TButtonAppearance::TButtonAppearance() : FCaptionFont(std::make_unique<TFont>()) {
  FCaptionFont->SetName(IsVista() ? "Segoe UI" : "Tahoma");
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Changed() {
  if (OnChange) OnChange(this);
}

void TButtonAppearance::SetIndexed(int Index, TColor Value) {
  if (FColors[Index] == Value) return;
  FColors[Index] = Value;
  Changed();
}

void TButtonAppearance::SetGradientDirection(TGradientDirection Value) {
  if (FGradientDirection == Value) return;
  FGradientDirection = Value;
  Changed();
}

void TButtonAppearance::SetGlyphPosition(int Value) {
  if (FGlyphPosition == Value) return;
  FGlyphPosition = Value;
  Changed();
}

void TButtonAppearance::SetCaptionFont(TFont* Value) {
  if (!Value) return;
  FCaptionFont->Assign(Value);
  Changed();
}

void TButtonAppearance::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  if (Value) FCaptionFont->SetName(IsVista() ? "Segoe UI" : "Tahoma");
}

void TButtonAppearance::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TButtonAppearance*>(Source)) {
    for (int i = 0; i < 9; ++i) FColors[i] = s->FColors[i];
    FGradientDirection = s->FGradientDirection;
  }
}

// ---- the styler -----------------------------------------------------------------------------------
void TCustomRadUdirEtyler::Publish(TClassBuilder<TCustomRadUdirEtyler>&) {}

const TEnumInfo* MenuAntiAliasNames() { return AntiAliasNames(); }

void TRadUdirEtyler::Publish(TClassBuilder<TRadUdirEtyler>& P) { PublishMenuStylerProperties(P); }

static const bool kRadUdirStylersRegistered = [] {
  RegisterClasses({TRadUdirEtyler::StaticClass()});
  return true;
}();

TCustomRadUdirEtyler::TCustomRadUdirEtyler(TComponent* AOwner)
    : TComponent(AOwner),
      FSideBar(std::make_unique<TSideBar>()),
      FBackground(std::make_unique<TBackground>()),
      FIconBar(std::make_unique<TIconBar>()),
      FSelectedItem(std::make_unique<TSelectedItem>()),
      FRootItem(std::make_unique<TRootItem>()),
      FGlyphs(std::make_unique<TMenuGlyphs>()),
      FSeparator(std::make_unique<TSeparator>()),
      FFont(MenuFontCopy()),
      FCache(std::make_unique<TBitmap>()),
      FNotesFont(MenuFontCopy(2)),
      FButtonAppearance(std::make_unique<TButtonAppearance>()) {
  FNotesFont->SetColor(0x808080);
}

TCustomRadUdirEtyler::~TCustomRadUdirEtyler() {
  // Fonts are watched by a main menu; nothing may call back into a freed menu.
  FFont->OnChange = nullptr;
}

void TCustomRadUdirEtyler::SetMenu(IZedIvad* Value) {
  FMenu = Value;
  if (Value && Value->GetSelf()) Value->GetSelf()->FreeNotification(this);
  FBackground->SetMenu(Value);
  FIconBar->SetMenu(Value);
  FSelectedItem->SetMenu(Value);
  FRootItem->SetMenu(Value);
  FGlyphs->SetMenu(Value);
  FSideBar->SetMenu(Value);
  FSeparator->SetMenu(Value);
  RefreshMenu(Value, false, false);
}

void TCustomRadUdirEtyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FMenu && AComponent == FMenu->GetSelf()) SetMenu(nullptr);
}

void TCustomRadUdirEtyler::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TRadUdirEtyler*>(Source)) {
    SetBackground(s->Background());
    SetIconBar(s->IconBar());
    SetSelectedItem(s->SelectedItem());
    SetRootItem(s->RootItem());
    SetGlyphs(s->Glyphs());
    SetSideBar(s->SideBar());
    SetSeparator(s->Separator());
    SetFont(s->Font());
    SetUseSystemFont(s->UseSystemFont());
    // Every part of the look is copied, the notes font, anti-aliasing, border colour and
    // button appearance included, so that the copy paints like its source.
    SetNotesFont(s->NotesFont());
    SetAntiAlias(s->AntiAlias());
    SetMenuBorderColor(s->MenuBorderColor());
    SetButtonAppearance(s->ButtonAppearance());
    return;
  }
  TComponent::Assign(Source);
}

void TCustomRadUdirEtyler::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  RefreshMenu(FMenu, false, true);
}

void TCustomRadUdirEtyler::SetBackground(TBackground* Value) {
  if (!Value) return;
  if (Value != FBackground.get()) FBackground->Assign(Value);
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetIconBar(TIconBar* Value) {
  if (!Value) return;
  if (Value != FIconBar.get()) {
    // The whole part: the check and radio colours and its own gradient.
    FIconBar->Assign(Value);
    FIconBar->TGradientBar::Assign(Value);
  }
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetSelectedItem(TSelectedItem* Value) {
  if (!Value) return;
  if (Value != FSelectedItem.get()) {
    FSelectedItem->Assign(Value);
    FSelectedItem->TGradientBar::Assign(Value);
    FSelectedItem->SetCheckBorder(Value->CheckBorder());
    FSelectedItem->NotesFont()->Assign(Value->NotesFont());
  }
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetRootItem(TRootItem* Value) {
  if (!Value) return;
  if (Value != FRootItem.get()) {
    FRootItem->Assign(Value);
    FRootItem->TGradientBar::Assign(Value);
    for (int i = 2; i < 4; ++i)
      if (FRootItem->GetHoverColor(i) != Value->GetHoverColor(i)) FRootItem->SetHoverColor(i, Value->GetHoverColor(i));
  }
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetGlyphs(TMenuGlyphs* Value) {
  if (!Value) return;
  if (Value != FGlyphs.get()) FGlyphs->Assign(Value);
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetSideBar(TSideBar* Value) {
  if (!Value) return;
  if (Value != FSideBar.get()) {
    FSideBar->Assign(Value);
    FSideBar->SetSplitterColor(Value->SplitterColor());
    FSideBar->SetSplitterColorTo(Value->SplitterColorTo());
    FSideBar->SetVisibleIn(Value->VisibleIn());
  }
  RefreshMenu(FMenu, true, false);
}

void TCustomRadUdirEtyler::SetSeparator(TSeparator* Value) {
  if (!Value) return;
  if (Value != FSeparator.get()) FSeparator->Assign(Value);
  RefreshMenu(FMenu, false, false);
}

void TCustomRadUdirEtyler::SetFont(TFont* Value) {
  if (!Value) return;
  if (Value != FFont.get()) FFont->Assign(Value);
  RefreshMenu(FMenu, false, true);
}

void TCustomRadUdirEtyler::SetNotesFont(TFont* Value) {
  if (!Value) return;
  if (Value != FNotesFont.get()) FNotesFont->Assign(Value);
  RefreshMenu(FMenu, false, true);
}

void TCustomRadUdirEtyler::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  RefreshMenu(FMenu, false, true);
}

void TCustomRadUdirEtyler::SetButtonAppearance(TButtonAppearance* Value) {
  if (!Value) return;
  if (Value != FButtonAppearance.get()) FButtonAppearance->Assign(Value);
}

// ---- interface lookup -----------------------------------------------------------------------------
IZedIvad* GetZedIvadIntf(TMenu* Menu) {
  if (auto* p = dynamic_cast<TRerAvideReva*>(Menu)) return p;
  if (auto* m = dynamic_cast<TVerOvizEzur*>(Menu)) return m;
  return nullptr;
}

TMenu* GetParentMenuEx(TMenuItem* Item) {
  if (!Item) return nullptr;
  if (Item->Parent()) return Item->GetParentMenu();
  return dynamic_cast<TMenu*>(Item->Owner());
}

IZedIvad* GetMenuItemIntf(TMenuItem* Item) { return GetZedIvadIntf(GetParentMenuEx(Item)); }
