// Colour presets of the pager stylers.
#include "office/ZorOzirazIreziStylers.h"

#include "menus/ZedIvadUtil.h"

using namespace ZorOzirazIrezi;

namespace {

void ApplyFull_psOffice2003Blue(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance(); TVistaBackground* P = S->PageAppearance(); TGlowButtonAppearance* G = S->GlowButtonAppearance();
  (void)T; (void)P; (void)G;
  S->SetRoundEdges(true);
  T->BackGround()->SetColor(TColor(0xE4AE88));
  T->BackGround()->SetColorTo(TColor(0xFADAC4));
  T->SetBorderColor(clNone);
  T->BorderColorHot = clHighlight;
  T->SetBorderColorSelected(clBlack);
  T->SetBorderColorSelectedHot(TColor(0x60CCF9));
  T->SetTextColor(clBlack);
  T->SetTextColorHot(clBlack);
  T->SetTextColorSelected(clBlack);
  T->SetColorSelected(TColor(0xFCDCC4));
  T->SetColorSelectedTo(TColor(0xFAF1E9));
  T->SetColorMirrorSelected(TColor(0xFAF1E9));
  T->SetColorMirrorSelectedTo(TColor(0xF6EAE0));
  T->SetColorDisabled(clWhite);
  T->SetColorDisabledTo(clSilver);
  T->SetColorMirrorDisabled(clWhite);
  T->SetColorMirrorDisabledTo(clSilver);
  T->SetColorHot(TColor(0xCCF4FF));
  T->SetColorHotTo(TColor(0xCCF4FF));
  T->SetColorMirrorHot(TColor(0xCCF4FF));
  T->SetColorMirrorHotTo(TColor(0x91D0FF));
  T->SetGradientHot(ggVertical);
  T->SetGradientMirrorHot(ggVertical);
  T->ShadowColor = TColor(0xA3673F);
  T->HighLightColor = TColor(0xFFFABF);
  T->HighLightColorSelected = TColor(0x63CCF8);
  T->HighLightColorSelectedHot = TColor(0xBDFFFF);
  T->HighLightColorDown = TColor(0xFFFBD0);
  T->HighLightColorHot = TColor(0xFDF4ED);
  P->SetBorderColor(TColor(0xE3B28D));
  P->SetColor(TColor(0xFDEADA));
  P->SetColorTo(TColor(0xFADAC4));
  P->SetColorMirror(TColor(0xFADAC4));
  P->SetColorMirrorTo(TColor(0xFADAC4));
  G->SetColor(TColor(0xEEDBC8));
  G->SetColorTo(TColor(0xF6DDC9));
  G->SetColorMirror(TColor(0xEDD4C0));
  G->SetColorMirrorTo(TColor(0xF7E1D0));
  G->SetBorderColor(TColor(0xE0B99B));
  G->SetColorHot(TColor(0xEBFDFF));
  G->SetColorHotTo(TColor(0xACECFF));
  G->SetColorMirrorHot(TColor(0x59DAFF));
  G->SetColorMirrorHotTo(TColor(0xA4E9FF));
  G->SetBorderColorHot(TColor(0x99CEDB));
  G->SetColorDown(TColor(0x76AFF1));
  G->SetColorDownTo(TColor(0x4190F3));
  G->SetColorMirrorDown(TColor(0x0E72F1));
  G->SetColorMirrorDownTo(TColor(0x4C9FFD));
  G->SetBorderColorDown(TColor(0x45667B));
  G->SetColorChecked(TColor(0xB5DBFB));
  G->SetColorCheckedTo(TColor(0x78C7FE));
  G->SetColorMirrorChecked(TColor(0x9FEBFD));
  G->SetColorMirrorCheckedTo(TColor(0x56B4FE));
}
void ApplyFull_psOffice2007Luna(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance(); TVistaBackground* P = S->PageAppearance(); TGlowButtonAppearance* G = S->GlowButtonAppearance();
  (void)T; (void)P; (void)G;
  S->SetRoundEdges(true);
  T->BackGround()->SetColor(TColor(0xFFDBBF));
  T->BackGround()->SetColorTo(clNone);
  T->SetBorderColor(clNone);
  T->BorderColorHot = TColor(0xEABC99);
  T->SetBorderColorSelected(TColor(0xE3B28D));
  T->SetBorderColorSelectedHot(TColor(0x60CCF9));
  T->SetTextColor(TColor(0x8B4215));
  T->SetTextColorHot(TColor(0x8B4215));
  T->SetTextColorSelected(TColor(0x8B4215));
  T->SetColorSelected(TColor(0xFEF6F0));
  T->SetColorSelectedTo(TColor(0xFAF1E9));
  T->SetColorMirrorSelected(TColor(0xFAF1E9));
  T->SetColorMirrorSelectedTo(TColor(0xF6EAE0));
  T->SetColorDisabled(clWhite);
  T->SetColorDisabledTo(clSilver);
  T->SetColorMirrorDisabled(clWhite);
  T->SetColorMirrorDisabledTo(clSilver);
  T->SetColorHot(TColor(0xDDE5E4));
  T->SetColorHotTo(TColor(0xFFDEC5));
  T->SetColorMirrorHot(TColor(0xD5DFDD));
  T->SetColorMirrorHotTo(TColor(0xA3D3E1));
  T->SetGradientHot(ggRadial);
  T->SetGradientMirrorHot(ggVertical);
  T->ShadowColor = TColor(0xE8C7AE);
  T->HighLightColor = TColor(0xFFFABF);
  T->HighLightColorSelected = TColor(0x63CCF8);
  T->HighLightColorSelectedHot = TColor(0xBDFFFF);
  T->HighLightColorDown = TColor(0xFFFBD0);
  T->HighLightColorHot = TColor(0xFDF4ED);
  P->SetBorderColor(TColor(0xE3B28D));
  P->SetColor(TColor(0xFAF1E9));
  P->SetColorTo(TColor(0xEDD8C7));
  P->SetColorMirror(TColor(0xEDD8C7));
  P->SetColorMirrorTo(TColor(0xFFF2E7));
  G->SetColor(TColor(0xEEDBC8));
  G->SetColorTo(TColor(0xF6DDC9));
  G->SetColorMirror(TColor(0xEDD4C0));
  G->SetColorMirrorTo(TColor(0xF7E1D0));
  G->SetBorderColor(TColor(0xE0B99B));
  G->SetColorHot(TColor(0xEBFDFF));
  G->SetColorHotTo(TColor(0xACECFF));
  G->SetColorMirrorHot(TColor(0x59DAFF));
  G->SetColorMirrorHotTo(TColor(0xA4E9FF));
  G->SetBorderColorHot(TColor(0x99CEDB));
  G->SetColorDown(TColor(0x76AFF1));
  G->SetColorDownTo(TColor(0x4190F3));
  G->SetColorMirrorDown(TColor(0x0E72F1));
  G->SetColorMirrorDownTo(TColor(0x4C9FFD));
  G->SetBorderColorDown(TColor(0x45667B));
  G->SetColorChecked(TColor(0xB5DBFB));
  G->SetColorCheckedTo(TColor(0x78C7FE));
  G->SetColorMirrorChecked(TColor(0x9FEBFD));
  G->SetColorMirrorCheckedTo(TColor(0x56B4FE));
  G->SetBorderColorChecked(TColor(0x45667B));
}
void ApplyFull_psWindowsXP(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance(); TVistaBackground* P = S->PageAppearance(); TGlowButtonAppearance* G = S->GlowButtonAppearance();
  (void)T; (void)P; (void)G;
  S->SetRoundEdges(false);
  T->BackGround()->SetColor(clBtnFace);
  T->BackGround()->SetColorTo(clBtnFace);
  T->SetBorderColor(clNone);
  T->BorderColorHot = clHighlight;
  T->SetBorderColorSelected(clBlack);
  T->SetBorderColorSelectedHot(clHighlight);
  T->SetTextColor(clBlack);
  T->SetTextColorHot(clBlack);
  T->SetTextColorSelected(clBlack);
  T->SetColorSelected(TColor(0xEFD3C6));
  T->SetColorSelectedTo(clBtnFace);
  T->SetColorMirrorSelected(clBtnFace);
  T->SetColorMirrorSelectedTo(clBtnFace);
  T->SetColorDisabled(clWhite);
  T->SetColorDisabledTo(clBtnFace);
  T->SetColorMirrorDisabled(clWhite);
  T->SetColorMirrorDisabledTo(clBtnFace);
  T->SetColorHot(TColor(0xEFD3C6));
  T->SetColorHotTo(TColor(0xEFD3C6));
  T->SetColorMirrorHot(TColor(0xEFD3C6));
  T->SetColorMirrorHotTo(TColor(0xEFD3C6));
  T->SetGradientHot(ggVertical);
  T->SetGradientMirrorHot(ggVertical);
  T->ShadowColor = TColor(0xBFA99E);
  T->HighLightColor = TColor(0xFFFABF);
  T->HighLightColorSelected = TColor(0x63CCF8);
  T->HighLightColorSelectedHot = TColor(0xBDFFFF);
  T->HighLightColorDown = TColor(0xFFFBD0);
  T->HighLightColorHot = TColor(0xFDF4ED);
  P->SetBorderColor(clBlack);
  P->SetColor(clBtnFace);
  P->SetColorTo(clBtnFace);
  P->SetColorMirror(clBtnFace);
  P->SetColorMirrorTo(clBtnFace);
  G->SetColor(clWhite);
  G->SetColorTo(TColor(0xB9D8DC));
  G->SetColorMirror(TColor(0xB9D8DC));
  G->SetColorMirrorTo(TColor(0xB9D8DC));
  G->SetBorderColor(TColor(0xB9D8DC));
  G->SetColorHot(TColor(0xEFD3C6));
  G->SetColorHotTo(TColor(0xEFD3C6));
  G->SetColorMirrorHot(TColor(0xEFD3C6));
  G->SetColorMirrorHotTo(TColor(0xEFD3C6));
  G->SetBorderColorHot(clHighlight);
  G->SetColorDown(TColor(0xB59284));
  G->SetColorDownTo(TColor(0xB59284));
  G->SetColorMirrorDown(TColor(0xB59284));
  G->SetColorMirrorDownTo(TColor(0xB59284));
  G->SetBorderColorDown(clHighlight);
  G->SetColorChecked(TColor(0xB9D8DC));
  G->SetColorCheckedTo(TColor(0xB9D8DC));
  G->SetColorMirrorChecked(TColor(0xB9D8DC));
  G->SetColorMirrorCheckedTo(TColor(0xB9D8DC));
  G->SetBorderColorChecked(clBlack);
}
void ApplyFull_psWindows7(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance(); TVistaBackground* P = S->PageAppearance(); TGlowButtonAppearance* G = S->GlowButtonAppearance();
  (void)T; (void)P; (void)G;
  S->SetRoundEdges(false);
  T->BackGround()->SetColor(TColor(0xFCEBDC));
  T->BackGround()->SetColorTo(TColor(0xFCDBC1));
  T->SetBorderColor(TColor(0xCEA27D));
  T->BorderColorHot = TColor(0xE3B28D);
  T->SetBorderColorSelected(TColor(0xCEA27D));
  T->SetBorderColorSelectedHot(clHighlight);
  T->SetTextColor(clBlack);
  T->SetTextColorHot(clBlack);
  T->SetTextColorSelected(clBlack);
  T->SetColorSelected(TColor(0xFCEBDC));
  T->SetColorSelectedTo(TColor(0xFCDBC1));
  T->SetColorMirrorSelected(TColor(0xFCDBC1));
  T->SetColorMirrorSelectedTo(TColor(0xFCEBDC));
  T->SetColorDisabled(clWhite);
  T->SetColorDisabledTo(clSilver);
  T->SetColorMirrorDisabled(clWhite);
  T->SetColorMirrorDisabledTo(clSilver);
  T->SetColorHot(TColor(0xFDFBFA));
  T->SetColorHotTo(TColor(0xFDF3EB));
  T->SetColorMirrorHot(TColor(0xFDF3EB));
  T->SetColorMirrorHotTo(TColor(0xFDFBFA));
  T->SetGradientHot(ggVertical);
  T->SetGradientMirrorHot(ggVertical);
  T->ShadowColor = TColor(0xFAE9C6);
  T->HighLightColorSelected = TColor(0xFDF3EB);
  T->HighLightColorSelectedHot = TColor(0xFBD6B8);
  T->HighLightColorDown = TColor(0xFDEFE3);
  T->HighLightColorHot = TColor(0xCEA27D);
  P->SetBorderColor(TColor(0xCEA27D));
  P->SetColor(TColor(0xFCEBDC));
  P->SetColorTo(TColor(0xFCDBC1));
  P->SetColorMirror(TColor(0xFCDBC1));
  P->SetColorMirrorTo(TColor(0xFCEBDC));
  G->SetColor(TColor(0xFCEBDC));
  G->SetColorTo(TColor(0xFCDBC1));
  G->SetColorMirror(TColor(0xFCDBC1));
  G->SetColorMirrorTo(TColor(0xFCDBC1));
  G->SetBorderColor(TColor(0xCEA27D));
  G->SetColorHot(TColor(0xFDFBFA));
  G->SetColorHotTo(TColor(0xFDF3EB));
  G->SetColorMirrorHot(TColor(0xFDF3EB));
  G->SetColorMirrorHotTo(TColor(0xFDFBFA));
  G->SetBorderColorHot(TColor(0xFBD6B8));
  G->SetColorDown(TColor(0xFCEBDC));
  G->SetColorDownTo(TColor(0xFCDBC1));
  G->SetColorMirrorDown(TColor(0xFCDBC1));
  G->SetColorMirrorDownTo(TColor(0xFCEBDC));
  G->SetBorderColorDown(TColor(0xCEA27D));
  G->SetColorChecked(TColor(0xFDFBFA));
  G->SetColorCheckedTo(TColor(0xFDF3EB));
  G->SetColorMirrorChecked(TColor(0xFCEBDC));
  G->SetColorMirrorCheckedTo(TColor(0xFCEBDC));
  G->SetBorderColorChecked(clHighlight);
}
void ApplyFull_psTerminal(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance(); TVistaBackground* P = S->PageAppearance(); TGlowButtonAppearance* G = S->GlowButtonAppearance();
  (void)T; (void)P; (void)G;
  S->SetRoundEdges(false);
  T->BackGround()->SetColor(clBtnFace);
  T->BackGround()->SetColorTo(clBtnFace);
  T->SetBorderColor(clGray);
  T->BorderColorHot = clGray;
  T->SetBorderColorSelected(clHighlight);
  T->SetBorderColorSelectedHot(clGray);
  T->SetTextColor(clBlack);
  T->SetTextColorHot(clBlack);
  T->SetTextColorSelected(clWhite);
  T->SetColorSelected(clHighlight);
  T->SetColorSelectedTo(clHighlight);
  T->SetColorMirrorSelected(clHighlight);
  T->SetColorMirrorSelectedTo(clHighlight);
  T->SetColorDisabled(clGray);
  T->SetColorDisabledTo(clGray);
  T->SetColorMirrorDisabled(clGray);
  T->SetColorMirrorDisabledTo(clGray);
  T->SetColorHot(clSilver);
  T->SetColorHotTo(clSilver);
  T->SetColorMirrorHot(clSilver);
  T->SetColorMirrorHotTo(clSilver);
  T->SetGradientHot(ggVertical);
  T->SetGradientMirrorHot(ggVertical);
  T->ShadowColor = clGray;
  T->HighLightColorSelected = clBtnFace;
  T->HighLightColorSelectedHot = clHighlight;
  T->HighLightColorDown = clHighlight;
  T->HighLightColorHot = clGray;
  P->SetBorderColor(clGray);
  P->SetColor(clBtnFace);
  P->SetColorTo(clBtnFace);
  P->SetColorMirror(clBtnFace);
  P->SetColorMirrorTo(clBtnFace);
  G->SetColor(clBtnFace);
  G->SetColorTo(clBtnFace);
  G->SetColorMirror(clBtnFace);
  G->SetColorMirrorTo(clBtnFace);
  G->SetBorderColor(clGray);
  G->SetColorHot(clSilver);
  G->SetColorHotTo(clSilver);
  G->SetColorMirrorHot(clSilver);
  G->SetColorMirrorHotTo(clSilver);
  G->SetBorderColorHot(clGray);
  G->SetColorDown(clHighlight);
  G->SetColorDownTo(clHighlight);
  G->SetColorMirrorDown(clHighlight);
  G->SetColorMirrorDownTo(clHighlight);
  G->SetBorderColorDown(clHighlight);
  G->SetColorChecked(clGray);
  G->SetColorCheckedTo(clGray);
  G->SetColorMirrorChecked(clGray);
  G->SetColorMirrorCheckedTo(clGray);
}
struct TOverviewRow { TOfficePagerStyle Style; bool RoundEdges; TColor BgColor, BgColorTo, ColorSelected, ColorSelectedTo, TextColor, TextColorSelected, PageBorder, PageColor, PageColorTo; };
const TOverviewRow OverviewRows[] = {
  {psOffice2003Blue, true, TColor(0xE4AE88), TColor(0xFADAC4), TColor(0xFCDCC4), TColor(0xFAF1E9), clBlack, clBlack, TColor(0xE3B28D), TColor(0xFDEADA), TColor(0xFADAC4)},
  {psOffice2003Silver, true, TColor(0xE6D8D8), TColor(0xE6D8D8), TColor(0x927476), TColor(0xF7F3F3), clBlack, clBlack, TColor(0x927476), TColor(0xF7F3F3), TColor(0xE6D8D8)},
  {psOffice2003Olive, true, TColor(0x8CC0B1), TColor(0xCFF0EA), TColor(0x8CC0B1), TColor(0xCFF0EA), clBlack, clBlack, TColor(0x8CC0B1), TColor(0xCFF0EA), TColor(0xCFF0EA)},
  {psOffice2003Classic, true, TColor(0xC9D1D5), clWhite, TColor(0xC9D1D5), clWhite, clBlack, clBlack, clBlack, clWhite, TColor(0xC9D1D5)},
  {psOffice2007Luna, true, TColor(0xFFDBBF), clNone, TColor(0xFEF6F0), TColor(0xFAF1E9), TColor(0x8B4215), TColor(0x8B4215), TColor(0xE3B28D), TColor(0xFAF1E9), TColor(0xEDD8C7)},
  {psOffice2007Obsidian, true, TColor(0x535353), TColor(0x3A3A3A), TColor(0xEFEEED), TColor(0xEFEEED), clWhite, clBlack, TColor(0xB4B0AE), TColor(0xCFC6C1), TColor(0xC5BBB4)},
  {psWindowsXP, false, clBtnFace, clBtnFace, TColor(0xEFD3C6), clBtnFace, clBlack, clBlack, clBlack, clBtnFace, clBtnFace},
  {psWhidbey, true, TColor(0x859D9D), TColor(0xADC4C4), TColor(0xADC4C4), clWhite, clWhite, clBlack, clBlack, clWhite, TColor(0xD9E9EC)},
  {psOffice2007Silver, true, TColor(0xDDD4D0), clNone, TColor(0xF8F8F4), TColor(0xEFE7E2), TColor(0x5C534C), TColor(0x5C534C), TColor(0xBEBEBE), TColor(0xF9F5F3), TColor(0xE7DCD5)},
  {psWindowsVista, false, TColor(0xFFFDF9), TColor(0xFFFAF0), TColor(0xFEF9F0), TColor(0xFDF0D7), clBlack, clBlack, TColor(0xFCF2DA), TColor(0xFFFDF9), TColor(0xFDF0D7)},
};

// Values every look but the custom one sets.
void ApplyCommon(TCustomZorOzirazIreziStyler* S) {
  TTabAppearance* T = S->TabAppearance();
  T->SetBorderColorDisabled(clNone);
  T->SetTextColorDisabled(clGray);
  T->SetGradient(ggVertical);
  T->SetGradientDisabled(ggVertical);
  T->SetGradientMirrorDisabled(ggVertical);
  T->SetGradientSelected(ggVertical);
  T->SetGradientMirrorSelected(ggVertical);
  S->PageAppearance()->SetGradient(ggVertical);
  S->PageAppearance()->SetGradientMirror(ggVertical);
  TGlowButtonAppearance* G = S->GlowButtonAppearance();
  G->SetGradient(ggVertical);
  G->SetGradientMirror(ggVertical);
  G->SetGradientHot(ggVertical);
  G->SetGradientMirrorHot(ggVertical);
  G->SetGradientDown(ggVertical);
  G->SetGradientMirrorDown(ggVertical);
  G->SetGradientChecked(ggVertical);
  G->SetGradientMirrorChecked(ggVertical);
}

// A look given by its overview row: the nearest full look, then the row's own colours.
void ApplyOverview(TCustomZorOzirazIreziStyler* S, TOfficePagerStyle Style) {
  for (const TOverviewRow& r : OverviewRows) {
    if (r.Style != Style) continue;
    switch (Style) {
      case psOffice2007Obsidian:
      case psOffice2007Silver: ApplyFull_psOffice2007Luna(S); break;
      case psWindowsVista: ApplyFull_psWindows7(S); break;
      default: ApplyFull_psOffice2003Blue(S); break;
    }
    TTabAppearance* T = S->TabAppearance();
    TVistaBackground* P = S->PageAppearance();
    S->SetRoundEdges(r.RoundEdges);
    T->BackGround()->SetColor(r.BgColor);
    T->BackGround()->SetColorTo(r.BgColorTo);
    T->SetColorSelected(r.ColorSelected);
    T->SetColorSelectedTo(r.ColorSelectedTo);
    T->SetColorMirrorSelected(r.ColorSelectedTo);
    T->SetColorMirrorSelectedTo(r.ColorSelectedTo);
    T->SetTextColor(r.TextColor);
    T->SetTextColorHot(r.TextColor);
    T->SetTextColorSelected(r.TextColorSelected);
    T->SetBorderColorSelected(r.PageBorder);
    P->SetBorderColor(r.PageBorder);
    P->SetColor(r.PageColor);
    P->SetColorTo(r.PageColorTo);
    P->SetColorMirror(r.PageColorTo);
    P->SetColorMirrorTo(r.PageColor);
    if (Style == psOffice2007Obsidian) T->BackGround()->SetDirection(gdVertical);
    if (Style == psWindowsVista) {
      S->GlowButtonAppearance()->SetBorderColorChecked(TColor(0xFEDF9A));
    } else if (Style == psOffice2007Obsidian || Style == psOffice2007Silver) {
      S->GlowButtonAppearance()->SetBorderColorChecked(TColor(0x45667B));
    }
    return;
  }
}

}  // namespace

TZorOzirazIreziOfficeStyler::TZorOzirazIreziOfficeStyler(TComponent* AOwner) : TCustomZorOzirazIreziStyler(AOwner) {
  SetOfficePagerStyle(psWindowsXP);
  SetOfficePagerStyle(psOffice2003Blue);
}

void TZorOzirazIreziOfficeStyler::Loaded() {
  TCustomZorOzirazIreziStyler::Loaded();
  if (!ComponentState().Contains(csDesigning)) ThemeChanged(this);
}

void TZorOzirazIreziOfficeStyler::ThemeChanged(TObject*) {
  if (!AutoThemeAdapt()) return;
  switch (GetXPColorScheme()) {
    case 1: SetOfficePagerStyle(psOffice2003Blue); break;
    case 2: SetOfficePagerStyle(psOffice2003Olive); break;
    case 3: SetOfficePagerStyle(psOffice2003Silver); break;
    case 0: SetOfficePagerStyle(psWindowsXP); break;
    default: break;
  }
}

void TZorOzirazIreziOfficeStyler::SetComponentStyle(DUZERazav AStyle) {
  SetOfficePagerStyle(static_cast<TOfficePagerStyle>(static_cast<int>(AStyle)));
}

void TZorOzirazIreziOfficeStyler::SetOfficePagerStyle(TOfficePagerStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  SetBlendFactor(50);
  if (Value != psCustom) {
    // Remember the highlight colour that the Vista look keeps.
    TColor keepHighlight = TabAppearance()->HighLightColor;
    ApplyCommon(this);
    switch (Value) {
      case psOffice2003Blue: ApplyFull_psOffice2003Blue(this); break;
      case psOffice2007Luna: ApplyFull_psOffice2007Luna(this); break;
      case psWindowsXP: ApplyFull_psWindowsXP(this); break;
      case psWindows7: ApplyFull_psWindows7(this); break;
      case psTerminal: ApplyFull_psTerminal(this); break;
      default: ApplyOverview(this, Value); break;
    }
    if (Value == psWindowsVista) TabAppearance()->HighLightColor = keepHighlight;
    if (Value == psOffice2003Classic) SetBlendFactor(80);
  }
  Change(2);
}

TZorOzirazIreziFantasyStyler::TZorOzirazIreziFantasyStyler(TComponent* AOwner) : TCustomZorOzirazIreziStyler(AOwner) {
  SetOfficePagerStyle(psChocolate);
}

void TZorOzirazIreziFantasyStyler::SetOfficePagerStyle(TOfficePagerFantasyStyle Value) {
  FStyle = Value;
  SetBlendFactor(50);
  switch (Value) {
    case psArctic: case psAquaBlue: case psChocolate: case psMacOS: case psSilverFox: case psSoftSand:
      SetRoundEdges(true);
      break;
    case psTerminalGreen: case psTextured: case psWindowsClassic: SetRoundEdges(false); break;
    case psUser: break;
  }
}
