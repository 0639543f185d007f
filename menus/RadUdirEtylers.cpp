// RadUdirEtylers: the office and fantasy menu stylers and their presets.
#include "menus/RadUdirEtylers.h"

#include "platform/win/WinUser.h"

namespace {

const TEnumInfo* OfficeStyleNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TOfficeStyle", {"osOffice2003Blue", "osOffice2003Silver", "osOffice2003Olive", "osOfficeXP", "osOffice2007Luna",
                       "osOffice2007Obsidian", "osCustom", "osOffice2007Silver", "osVista", "osWhidbey", "osWindows7",
                       "osTerminal"});
  return info;
}

const TEnumInfo* FantasyStyleNames() {
  static const TEnumInfo* info =
      RegisterEnum("TFantasyStyle", {"fsArctic", "fsAquaBlue", "fsChocolate", "fsMacOS", "fsSilverFox", "fsSoftSand",
                                     "fsTerminalGreen", "fsTextured", "fsWindowsClassic", "fsWhidbey", "fsCustom"});
  return info;
}

// Every colour an office preset sets.
struct TOfficePreset {
  TColor Background, BackgroundTo, MenuBorder;
  TColor Root, RootTo;
  TColor RootSelected[4];
  TColor RootSelectedBorder;
  TColor RootHover[4];
  TColor RootHoverBorder, RootHoverText;
  int RootDirection;        // -1: left as it is
  TColor RootSelectedText;  // clDefault: left as it is
  TColor Selected, SelectedTo, SelectedMirror, SelectedMirrorTo, SelectedBorder;
  TColor SelectedCheck, SelectedCheckBorder;
  TColor IconBar, IconBarTo, IconCheck, IconCheckBorder;
  TColor IconSeparator;  // clDefault: left as it is
  TColor Separator, SeparatorTo;
  bool Buttons;  // the button appearance is set
  TColor ButtonHover, ButtonHoverTo, ButtonDown, ButtonDownTo, ButtonBorder;
};

constexpr TColor kKeep = clDefault;

const TOfficePreset& OfficePreset(TOfficeStyle Style) {
  // Office 2003: one hover look for the three colours.
#define HOVER2003 {0xCCF4FF, 0x9AD6FF, clNone, clNone}, 0x6F4B4B, clWindowText, gdHorizontal, kKeep
#define BUTTONS2003 true, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x91D3FF, 0x800000
#define LUNA_REST                                                                                            \
  0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF, 0x99CEDB, 0x3E80FE, 0x800000
#define LUNA_BUTTONS true, 0xE0DEDD, 0xF4F2F1, 0xCCCAC9, 0xEAE8E7, 0xB5AFA8
  static const TOfficePreset presets[] = {
      // osOffice2003Blue
      {0xF6F6F6, 0xF6F6F6, 0x962D00, 0xF5BE9E, 0xF7CDB2, {0xF7CDB2, 0xF5BE9E, clNone, clNone}, 0x962D00, HOVER2003,
       0xC2EEFF, clNone, clNone, clNone, 0x800000, 0x3E80FE, 0x800000, 0xFFEFE3, 0xE4AD87, 0x6FC0FF, 0x800000, kKeep,
       0xCB8C6A, clNone, BUTTONS2003},
      // osOffice2003Silver
      {0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xE5D7D7, 0xF7F3F3, {0xF7F3F3, 0xE5D7D7, clNone, clNone}, 0x5E8D75, HOVER2003,
       0xC2EEFF, clNone, clNone, clNone, 0x080000, 0x3E80FE, 0x080000, 0xFFF9F9, 0xB99D9F, 0x6FC0FF, 0x080000, kKeep,
       0x8F6D6E, clNone, BUTTONS2003},
      // osOffice2003Olive
      {0xF6F6F6, 0xF6F6F6, 0x5E8D75, 0xA8D9D9, 0xE4F0F2, {0xE4F0F2, 0xA8D9D9, clNone, clNone}, 0x5E8D75, HOVER2003,
       0xC2EEFF, clNone, clNone, clNone, 0x385D3F, 0x3E80FE, 0x385D3F, 0xEDFFFF, 0x92C7B8, 0x6FC0FF, 0x385D3F, kKeep,
       0x588060, clNone, BUTTONS2003},
      // osOfficeXP
      {clWindow, clWindow, 0x808080, clBtnFace, clBtnFace, {clBtnFace, clNone, clNone, clNone}, 0x808080,
       {0xEFD3C6, clNone, clNone, clNone}, 0xC66931, clWindowText, gdVertical, clWindowText, 0xEFD3C6, clNone, clNone,
       clNone, 0xC66931, 0xB59284, 0xC66931, clBtnFace, clNone, 0xEFD3C6, 0xC66931, kKeep, 0x7A868A, clNone, true,
       0xEFD3C6, clNone, 0xB59284, clNone, 0xC66931},
      // osOffice2007Luna
      {0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xF2DAC2, 0xF0D9C1, {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD}, 0x45667B,
       {0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF}, 0x99CEDB, clWindowText, gdVertical, kKeep, LUNA_REST, 0xEEEEE9,
       0xEEEEE9, 0x6FC0FF, 0x800000, 0xC5C5C5, 0xC5C5C5, clNone, LUNA_BUTTONS},
      // osOffice2007Obsidian
      {0xF6F6F6, 0xF6F6F6, 0xC0C0C0, 0xB8B8B6, 0xA0A09E, {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD}, 0x45667B,
       {0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF}, 0x99CEDB, clWindowText, gdVertical, kKeep, LUNA_REST, 0xEEEEE9,
       0xEEEEE9, 0x6FC0FF, 0x800000, 0xC5C5C5, 0xC5C5C5, clNone, LUNA_BUTTONS},
      // osCustom (never applied)
      {},
      // osOffice2007Silver
      {0xFAFAFA, 0xFAFAFA, 0x868686, 0xE5D7D7, 0xF7F3F3, {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD}, 0x45667B,
       {0xEBFDFF, 0xABEBFF, 0x69D6FF, 0x96E4FF}, 0x99CEDB, clWindowText, gdHorizontal, kKeep, LUNA_REST, 0xEFEFEF,
       0xEFEFEF, 0x6FC0FF, 0x800000, 0xC5C5C5, 0xC5C5C5, clNone, LUNA_BUTTONS},
      // osVista
      {0xEEEEEE, clNone, 0x979797, 0xFFFFFF, 0xEEDBD4, {0xF4F1EB, 0xF3EBDA, clNone, clNone}, 0xEBD8A8,
       {0xFBF8F4, 0xF7F0E5, clNone, clNone}, 0xEBD8A8, clWindowText, gdVertical, kKeep, 0xF4F1EB, 0xF3EBDA, clNone,
       clNone, 0xEBD8A8, 0xF3EBDA, 0xEBD8A8, 0xEEEEEE, clNone, 0xF4F1EB, 0xEBD8A8, 0xE0E0E0, 0xE0E0E0, clNone, true,
       0xF4F1EB, 0xF3EBDA, 0xEBD8A8, 0xF3EBDA, 0xCEA27D},
      // osWhidbey
      {0xF9FCFC, 0xF9FCFC, 0x7A868A, 0xD9E6E7, 0xD9E6E7, {0xFBFEFE, 0xD9E6E7, clNone, clNone}, 0x7A868A,
       {0xEED2C1, clNone, clNone, clNone}, 0xC56A31, clWindowText, gdVertical, kKeep, 0xEED2C1, clNone, clNone, clNone,
       0xC56A31, 0xE2B598, 0xC56A31, 0xFBFEFE, 0xACC3C4, 0xEED2C1, 0xC56A31, kKeep, 0xB8C2C5, clNone, false, 0, 0, 0, 0, 0},
      // osWindows7
      {0xEEEEEE, clNone, 0x979797, 0xFFFFFF, 0xEEDBD4, {0xFCEBDC, 0xFCDBC1, clNone, clNone}, 0xCEA27D,
       {0xFDF4EB, 0xFCEBDC, clNone, clNone}, 0xCEA27D, clWindowText, gdVertical, kKeep, 0xFCEBDC, 0xFCDBC1, clNone,
       clNone, 0xCEA27D, 0xFCDBC1, 0xCEA27D, 0xEEEEEE, clNone, 0xFCEBDC, 0xCEA27D, 0xE0E0E0, 0xE0E0E0, clNone, true,
       0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC, 0xCEA27D},
      // osTerminal
      {clBtnFace, clBtnFace, 0x808080, clBtnFace, clBtnFace, {0xC0C0C0, 0xC0C0C0, clNone, clNone}, 0x808080,
       {0xC0C0C0, 0xC0C0C0, clNone, clNone}, 0x808080, clWindowText, gdVertical, clWindowText, 0xC0C0C0, 0xC0C0C0,
       clNone, clNone, 0x808080, 0x808080, 0x808080, clBtnFace, clBtnFace, 0xC0C0C0, 0x808080, kKeep, 0x808080, clNone,
       true, 0xEFD3C6, clNone, 0xB59284, clNone, 0xC66931},
  };
#undef HOVER2003
#undef BUTTONS2003
#undef LUNA_REST
#undef LUNA_BUTTONS
  return presets[Style];
}

void ApplyOfficePreset(TCustomRadUdirEtyler* S, const TOfficePreset& P) {
  S->Background()->SetColor(P.Background);
  S->Background()->SetColorTo(P.BackgroundTo);
  S->SetMenuBorderColor(P.MenuBorder);
  TRootItem* root = S->RootItem();
  root->SetColor(P.Root);
  root->SetColorTo(P.RootTo);
  for (int i = 0; i < 4; ++i) root->SetSelectedColor(i, P.RootSelected[i]);
  root->SetSelectedBorderColor(P.RootSelectedBorder);
  for (int i = 0; i < 4; ++i) root->SetHoverColor(i, P.RootHover[i]);
  root->SetHoverBorderColor(P.RootHoverBorder);
  root->SetHoverTextColor(P.RootHoverText);
  if (P.RootDirection >= 0) root->SetGradientDirection(TGradientDirection(P.RootDirection));
  if (P.RootSelectedText != kKeep) root->SetSelectedTextColor(P.RootSelectedText);
  TSelectedItem* sel = S->SelectedItem();
  sel->SetColor(P.Selected);
  sel->SetColorTo(P.SelectedTo);
  sel->SetColorMirror(P.SelectedMirror);
  sel->SetColorMirrorTo(P.SelectedMirrorTo);
  sel->SetBorderColor(P.SelectedBorder);
  sel->SetCheckColor(0, P.SelectedCheck);
  sel->SetCheckColor(1, clNone);
  sel->SetCheckBorder(P.SelectedCheckBorder);
  sel->SetRadioColor(0, P.SelectedCheck);
  sel->SetRadioColor(1, clNone);
  sel->SetRadioBorder(P.SelectedCheckBorder);
  TIconBar* icon = S->IconBar();
  icon->SetColor(P.IconBar);
  icon->SetColorTo(P.IconBarTo);
  icon->SetCheckColor(0, P.IconCheck);
  icon->SetCheckColor(1, clNone);
  icon->SetCheckBorder(P.IconCheckBorder);
  icon->SetRadioColor(0, P.IconCheck);
  icon->SetRadioColor(1, clNone);
  icon->SetRadioBorder(P.IconCheckBorder);
  if (P.IconSeparator != kKeep) icon->SetSeparatorColor(P.IconSeparator);
  S->Separator()->SetColor(P.Separator);
  S->Separator()->SetColorTo(P.SeparatorTo);
  if (P.Buttons) {
    TButtonAppearance* b = S->ButtonAppearance();
    b->SetHoverColor(P.ButtonHover);
    b->SetHoverColorTo(P.ButtonHoverTo);
    b->SetDownColor(P.ButtonDown);
    b->SetDownColorTo(P.ButtonDownTo);
    b->SetHoverBorderColor(P.ButtonBorder);
    b->SetDownBorderColor(P.ButtonBorder);
  }
}

// Redraws the menu bar of a linked main menu.
void RedrawMenuBar(TCustomRadUdirEtyler* S) {
  IZedIvad* menu = S->Menu();
  if (!menu || !dynamic_cast<TVerOvizEzur*>(menu->GetSelf())) return;
  HWND window = menu->GetSelf()->WindowHandle();
  if (window && IsWindow(window)) DrawMenuBar(window);
}

}  // namespace

// ---- office styler -----------------------------------------------------------------------------
void TZedIvadOfficeStyler::Publish(TClassBuilder<TZedIvadOfficeStyler>& P) {
  P.Enum("Style", OfficeStyleNames(), &TZedIvadOfficeStyler::Style, &TZedIvadOfficeStyler::SetStyle);
  PublishMenuStylerProperties(P);
  P.Bool("AutoThemeAdapt", &TZedIvadOfficeStyler::AutoThemeAdapt, &TZedIvadOfficeStyler::SetAutoThemeAdapt);
}

TZedIvadOfficeStyler::TZedIvadOfficeStyler(TComponent* AOwner) : TCustomRadUdirEtyler(AOwner) {
  SetStyle(osOffice2003Blue);
  FNotifier = CreateThemeNotifier(this, [this](TObject* Sender) { ThemeChanged(Sender); });
}

void TZedIvadOfficeStyler::Loaded() {
  TCustomRadUdirEtyler::Loaded();
  ThemeChanged(this);
}

void TZedIvadOfficeStyler::ThemeChanged(TObject*) {
  if (!FAutoThemeAdapt) return;
  switch (GetXPColorScheme()) {
    case 1: SetStyle(osOffice2003Blue); break;
    case 2: SetStyle(osOffice2003Olive); break;
    case 3: SetStyle(osOffice2003Silver); break;
    default: SetStyle(osOfficeXP);
  }
}

void TZedIvadOfficeStyler::SetComponentStyle(DUZERazav AStyle) {
  switch (AStyle) {
    case tsOffice2003Blue: SetStyle(osOffice2003Blue); break;
    case tsOffice2003Silver: SetStyle(osOffice2003Silver); break;
    case tsOffice2003Olive: SetStyle(osOffice2003Olive); break;
    case tsOffice2003Classic: SetStyle(osOfficeXP); break;
    case tsOffice2007Luna: SetStyle(osOffice2007Luna); break;
    case tsOffice2007Obsidian: SetStyle(osOffice2007Obsidian); break;
    case tsWindowsXP: SetStyle(osOfficeXP); break;
    case tsWhidbey: SetStyle(osWhidbey); break;
    case tsCustom: break;
    case tsOffice2007Silver: SetStyle(osOffice2007Silver); break;
    case tsWindowsVista: SetStyle(osVista); break;
    case tsWindows7: SetStyle(osWindows7); break;
    case tsTerminal: SetStyle(osTerminal); break;
  }
}

void TZedIvadOfficeStyler::SetStyle(TOfficeStyle Value) {
  FStyle = Value;
  if (Value != osCustom) ApplyOfficePreset(this, OfficePreset(Value));
  RedrawMenuBar(this);
}

// ---- fantasy styler ------------------------------------------------------------------------------
namespace {

struct TFantasyPreset {
  TColor Background, BackgroundTo;
  int BackgroundDirection;
  TColor MenuBorder, Font;
  TColor Root, RootTo;
  int RootDirection;
  TColor RootFont;
  int RootSize;
  bool RootBoldItalic;
  TColor RootSelected, RootSelectedTo, RootSelectedBorder, RootSelectedText;
  TColor RootHover, RootHoverTo, RootHoverBorder, RootHoverText;
  TColor Selected, SelectedTo;
  int SelectedDirection;
  TColor SelectedBorder, SelectedFont;
  bool SelectedBold;
  TColor Check, CheckBorder;
  TColor IconBar, IconBarTo, Separator, SeparatorTo;
};

const TFantasyPreset& FantasyPreset(TFantasyStyle Style) {
  static const TFantasyPreset presets[] = {
      // fsArctic
      {clWindow, clNone, gdVertical, 0xC0C0C0, clWindowText, 0xFFFFFF, clInactiveCaptionText, gdVertical, clBlack, 8,
       false, 0xFFFFFF, clInactiveCaptionText, 0xC0C0C0, clWindowText, 0xFFFFFF, clInactiveCaptionText, 0xC0C0C0,
       clWindowText, 0xFFFFFF, clInactiveCaptionText, gdVertical, 0xC0C0C0, clWindowText, false, 0xEFEFEF, 0xC0C0C0,
       0xEFEFEF, 0xFFFFFF, 0xC0C0C0, clNone},
      // fsAquaBlue
      {0xFFFFFF, 0xFFFFFF, gdVertical, clNone, clWindowText, 0xD08130, 0xFEF17E, gdVertical, clBlack, 8, false,
       0xFEF17E, 0xD08130, 0xD08130, clWindowText, 0xFEF17E, 0xD08130, 0xD08130, clWindowText, 0xFEF17E, 0xD08130,
       gdVertical, 0xD08130, clWindowText, false, 0xFEF17E, 0xD08130, 0xE6E0B0, 0xFFFFFF, 0xE6E0B0, clNone},
      // fsChocolate
      {clWindow, clBtnFace, gdHorizontal, 0x808080, clWindowText, clBtnFace, 0xFFFFFF, gdVertical, clBlack, 8, false,
       0xC1FFFE, 0xD9FFFF, 0x94CCCB, clWindowText, 0xC1FFFE, 0xD9FFFF, 0x94CCCB, clWindowText, 0xC1FFFE, 0xD9FFFF,
       gdVertical, 0x94CCCB, clWindowText, false, 0xC1FFFE, 0x94CCCB, 0xD7EDED, 0x8AC2C1, 0x7A868A, clNone},
      // fsMacOS
      {0xFFFFFF, 0xF3F3F3, gdVertical, 0x808080, clWindowText, 0xFFFFFF, 0xF3F3F3, gdVertical, clBlack, 8, false,
       0xF19546, 0xC34907, clNone, clWhite, 0xF19546, 0xC34907, clNone, clWhite, 0xF19546, 0xC34907, gdVertical, clNone,
       clWhite, false, 0xF19546, 0xC34907, 0xF3F3F3, 0xFFFFFF, 0xFFFFFF, clNone},
      // fsSilverFox
      {0xD1C9C8, 0xD1C9C8, gdVertical, 0x666666, clWindowText, 0xFFFFFF, 0xC5BAB7, gdVertical, clBlack, 8, false,
       0xD2BDB5, clNone, 0x6A240A, clWindowText, 0xD2BDB5, clNone, 0x6A240A, clWindowText, 0xD2BDB5, clNone,
       gdVertical, 0x6A240A, clWindowText, false, 0xD2BDB5, 0x6A240A, 0xFFFFFF, 0xE4DCDA, 0xA6A6A6, clNone},
      // fsSoftSand
      {0xE7F7FF, clNone, gdVertical, 0x000000, clWindowText, 0xE7F7FF, 0xFFFFFF, gdVertical, clBlack, 8, false,
       0xB5DEF7, 0xE7F7FF, 0x0884BD, clWindowText, 0xB5DEF7, 0xE7F7FF, 0x0884BD, clWindowText, 0xB5DEF7, 0xE7F7FF,
       gdVertical, clNone, clWindowText, false, 0xB5DEF7, 0x0884BD, 0xB5DEF7, clNone, 0x0884BD, clNone},
      // fsTerminalGreen
      {clWindow, clNone, gdVertical, 0x00C000, 0x00A000, 0xF7FFF7, clNone, gdVertical, 0x00A000, 8, false, 0xF7FFF7,
       clNone, 0x00C000, 0x00A000, 0xF7FFF7, clNone, 0x00C000, 0x00A000, 0xF7FFF7, clNone, gdVertical, 0x00C000,
       0x00A000, false, 0xF7FFF7, 0x00C000, 0x00A000, clNone, 0x00C000, clNone},
      // fsTextured
      {clNone, clNone, gdVertical, 0x0000B0, clWhite, 0xCFD5F3, 0xCFD5F3, gdVertical, clBlack, 10, true, clNone,
       clNone, 0x0000B0, clBlack, clNone, clNone, 0x0000B0, clBlack, clNone, clNone, gdVertical, 0x0000FF, 0x0000FF,
       true, clNone, clNone, 0xCFD5F3, 0xCFD5F3, 0xFFFFFF, clNone},
      // fsWindowsClassic
      {clMenu, clMenu, gdVertical, 0x000000, clMenuText, clMenu, clNone, gdVertical, clBlack, 8, false, 0xA1684A,
       clNone, clNone, clWhite, 0xA1684A, clNone, clNone, clWhite, 0xA1684A, clNone, gdHorizontal, clNone, clWhite,
       false, clMenu, 0x000000, clMenu, clNone, 0x000000, clNone},
      // fsWhidbey
      {0xF9FCFC, 0xF9FCFC, -1, 0x7A868A, clWindowText, 0xD9E6E7, 0xD9E6E7, gdVertical, clBlack, 8, false, 0xFBFEFE,
       0xD9E6E7, 0x7A868A, clWindowText, 0xEED2C1, clNone, 0xC56A31, clWindowText, 0xEED2C1, clNone, gdVertical,
       0xC56A31, clWindowText, false, 0xE2B598, 0xC56A31, 0xFBFEFE, 0xACC3C4, 0xB8C2C5, clNone},
  };
  return presets[Style];
}

}  // namespace

void TZedIvadFantasyStyler::Publish(TClassBuilder<TZedIvadFantasyStyler>& P) {
  P.Enum("Style", FantasyStyleNames(), &TZedIvadFantasyStyler::Style, &TZedIvadFantasyStyler::SetStyle);
  PublishMenuStylerProperties(P);
}

static const bool kMenuPresetStylersRegistered = [] {
  RegisterClasses({TZedIvadOfficeStyler::StaticClass(), TZedIvadFantasyStyler::StaticClass()});
  return true;
}();

TZedIvadFantasyStyler::TZedIvadFantasyStyler(TComponent* AOwner) : TCustomRadUdirEtyler(AOwner) {
  // At run time a new styler keeps the plain defaults and names no preset.
  if (ComponentState().Contains(csDesigning)) SetStyle(fsCustom);
}

void TZedIvadFantasyStyler::SetStyle(TFantasyStyle Value) {
  FStyle = Value;
  TRootItem* root = RootItem();
  TSelectedItem* sel = SelectedItem();
  for (int i = 2; i < 4; ++i) {
    root->SetSelectedColor(i, clNone);
    root->SetHoverColor(i, clNone);
  }
  sel->SetColorMirror(clNone);
  sel->SetColorMirrorTo(clNone);
  if (Value != fsCustom) {
    const TFantasyPreset& p = FantasyPreset(Value);
    Background()->SetColor(p.Background);
    Background()->SetColorTo(p.BackgroundTo);
    if (p.BackgroundDirection >= 0) Background()->SetGradientDirection(TGradientDirection(p.BackgroundDirection));
    SetMenuBorderColor(p.MenuBorder);
    if (Value == fsTextured) {
      TPicture picture;
      try {
        picture.Bitmap()->LoadFromResourceName(nullptr, "MENUTEXTURE");
      } catch (const EResNotFound&) {
        // Without the texture the preset keeps its plain colours.
      }
      Background()->SetImage(&picture);
      Background()->SetPosition(bpTiled);
    } else if (Value != fsWhidbey) {
      Background()->SetImage(nullptr);
    }
    if (Value != fsWhidbey) {
      Font()->SetColor(p.Font);
      root->Font()->SetColor(p.RootFont);
      root->Font()->SetSize(p.RootSize);
      root->Font()->SetStyle(p.RootBoldItalic ? TFontStyles{fsBold, fsItalic} : TFontStyles{});
      sel->Font()->SetColor(p.SelectedFont);
      sel->Font()->SetStyle(p.SelectedBold ? TFontStyles{fsBold} : TFontStyles{});
      sel->SetUseSystemFont(false);
    }
    root->SetColor(p.Root);
    root->SetColorTo(p.RootTo);
    root->SetGradientDirection(TGradientDirection(p.RootDirection));
    root->SetSelectedColor(0, p.RootSelected);
    root->SetSelectedColor(1, p.RootSelectedTo);
    root->SetSelectedBorderColor(p.RootSelectedBorder);
    root->SetSelectedTextColor(p.RootSelectedText);
    root->SetHoverColor(0, p.RootHover);
    root->SetHoverColor(1, p.RootHoverTo);
    root->SetHoverBorderColor(p.RootHoverBorder);
    root->SetHoverTextColor(p.RootHoverText);
    sel->SetColor(p.Selected);
    sel->SetColorTo(p.SelectedTo);
    sel->SetGradientDirection(TGradientDirection(p.SelectedDirection));
    sel->SetBorderColor(p.SelectedBorder);
    for (int i = 0; i < 2; ++i) {
      TColor c = i == 0 ? p.Check : clNone;
      sel->SetCheckColor(i, c);
      sel->SetRadioColor(i, c);
      IconBar()->SetCheckColor(i, c);
      IconBar()->SetRadioColor(i, c);
    }
    sel->SetCheckBorder(p.CheckBorder);
    sel->SetRadioBorder(p.CheckBorder);
    IconBar()->SetCheckBorder(p.CheckBorder);
    IconBar()->SetRadioBorder(p.CheckBorder);
    IconBar()->SetColor(p.IconBar);
    IconBar()->SetColorTo(p.IconBarTo);
    Separator()->SetColor(p.Separator);
    Separator()->SetColorTo(p.SeparatorTo);
    if (Value == fsWindowsClassic) {
      SideBar()->SetCaption("Styled Menus");
      SideBar()->Image()->SetColor(0xEDC6A9);
      SideBar()->Image()->SetColorTo(0x6A240A);
      SideBar()->Background()->SetGradientDirection(gdHorizontal);
      SideBar()->Font()->SetColor(clWhite);
      SideBar()->SetVisible(true);
    } else if (Value != fsWhidbey) {
      SideBar()->SetVisible(false);
    }
  }
  RedrawMenuBar(this);
}
