// VezIdid, look presets: the Look property, the colour styles of the library-wide looks and
// the Windows colour themes. Each preset writes a fixed set of colours in a fixed order.
#include "grid/VezIdid.h"

namespace {
constexpr TColor kBtnFace = clBtnFace;
}  // namespace

void TDavEvadurAvuz::SetZADGrad(int Index, TColor Value) {
  FZADGrad[Index] = Value;
  Invalidate();
}

std::string TDavEvadurAvuz::GetLookAsString(TGridLook Value) {
  static const char* const names[] = {"glStandard", "glSoft",     "glClassic", "glZAD",        "glXP",
                                      "glListView", "glVista",    "glWin7",    "glOffice2007", ""};
  return names[Value];
}

std::string TDavEvadurAvuz::GetLookAsFriendlyString(TGridLook Value) {
  static const char* const names[] = {"Standard", "Soft",          "Classic",   "ZAD",        "Windows XP",
                                      "ListView", "Windows Vista", "Windows 7", "Office2007", ""};
  return names[Value];
}

void TDavEvadurAvuz::SetLook(TGridLook Value) {
  if (Value == FLook) return;
  FLook = Value;
  if (Value != glCustom) {
    FControlLook->SetFixedGradientMirrorFrom(clNone);
    FControlLook->SetFixedGradientMirrorTo(clNone);
    FControlLook->SetFixedGradientFrom(clNone);
    FControlLook->SetFixedGradientTo(clNone);
    for (TColor& c : FZADGrad) c = clNone;
  }
  switch (Value) {
    case glVista:
      SetStyle(gsWindowsVista);
      FEditorStyle = tsWindowsVista;
      SetSelectionStyle(ssVista);
      break;
    case glWin7:
      SetStyle(gsWindows7);
      FEditorStyle = tsWindows7;
      SetSelectionStyle(ssWin7);
      break;
    case glOffice2007:
      SetStyle(gsOffice2007Luna);
      FEditorStyle = tsOffice2007Luna;
      SetSelectionStyle(ssOffice2007);
      break;
    case glCustom:
      break;
    default: {
      if (!Designing()) SetEditorsStyle(tsWindowsXP);
      SetSelectionStyle(ssDefault);
      if (Loading()) break;
      if (Value == glStandard || Value == glSoft || Value == glClassic) {
        SetFixedColor(kBtnFace);
        FControlLook->SetFixedGradientFrom(kBtnFace);
        FControlLook->SetFixedGradientTo(clNone);
      } else {
        FControlLook->SetFixedGradientFrom(0xFFFFFF);
        FControlLook->SetFixedGradientTo(kBtnFace);
      }
      SetGridFixedLineColor(0x808080);
      FControlLook->SetFixedGradientMirrorFrom(clNone);
      FControlLook->SetFixedGradientMirrorTo(clNone);
      FZADGrad[2] = FZADGrad[3] = clNone;
      SetGridLineColor(0xC0C0C0);
      if (Value == glZAD || Value == glXP) {
        SetActiveCellColor(0xEACAB6);
        SetActiveCellColorTo(clNone);
        SetSelectionColor(0xEACAB6);
        SetSelectionColorTo(clNone);
        SetSelectionTextColor(0x000000);
        FSearchFooter->SetColor(FZADGrad[0]);
        FSearchFooter->SetColorTo(FZADGrad[1]);
        FControlLook->SetFixedGradientFrom(0xFFFFFF);
        FControlLook->SetFixedGradientTo(Value == glXP ? kBtnFace : 0xC0C0C0);
        FControlLook->SetFixedGradientHoverFrom(0xCFD0D1);
        FControlLook->SetFixedGradientHoverTo(0xBEC6C8);
        FControlLook->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
        FControlLook->SetFixedGradientHoverMirrorTo(0xABBCBF);
        FControlLook->SetFixedGradientDownFrom(0x868788);
        FControlLook->SetFixedGradientDownTo(0x737C7E);
        FControlLook->SetFixedGradientDownMirrorFrom(0x737C7E);
        FControlLook->SetFixedGradientDownMirrorTo(0x627376);
      } else {
        SetActiveCellColor(0x808080);
        SetActiveCellColorTo(clNone);
        SetSelectionColor(clHighlight);
        SetSelectionTextColor(clHighlightText);
        FSearchFooter->SetColor(kBtnFace);
        FSearchFooter->SetColorTo(kBtnFace);
      }
    }
  }
  Invalidate();
  if (!Loading()) UpdateFooter();
}

void TDavEvadurAvuz::SetComponentStyle(DUZERazav AStyle) {
  FEditorStyle = AStyle;
  SetStyle(static_cast<TVezIdidStyle>(AStyle));
  if (!Designing()) SetEditorsStyle(AStyle);
}

void TDavEvadurAvuz::SetStyle(TVezIdidStyle Value) {
  FSelectionColor = clHighlight;
  FSelectionTextColor = clHighlightText;
  SetSelectionStyle(ssDefault);
  FSortSettings->ClearHeaderColors();
  TControlLook* cl = FControlLook.get();
  // The fixed gradient copies and the footer, then the footer from the copies.
  auto fixed = [&](TColor From, TColor To, bool Mirrors) {
    FZADGrad[0] = From;
    FZADGrad[1] = To;
    if (Mirrors) FZADGrad[2] = FZADGrad[3] = clNone;
  };
  auto footer = [&](TColor C, TColor CTo) {
    FSearchFooter->SetColor(C);
    FSearchFooter->SetColorTo(CTo);
  };
  auto footerFromGradient = [&] { footer(FZADGrad[0], FZADGrad[3]); };
  auto lines = [&](TColor Grid, TColor Fixed) {
    SetGridLineColor(Grid);
    SetGridFixedLineColor(Fixed);
  };
  auto active = [&](TColor C, TColor CTo) {
    FActiveCellColor = C;
    FActiveCellColorTo = CTo;
  };
  auto office2003 = [&](TColor From, TColor To) {
    fixed(From, To, true);
    active(0x94E6FB, 0x1595EE);
    cl->SetFixedGradientFrom(From);
    cl->SetFixedGradientTo(To);
    footer(From, To);
    lines(0xC0C0C0, 0x808080);
    footerFromGradient();
  };
  auto office2007 = [&](TColor ActiveFrom, TColor ActiveTo, TColor From, TColor To, bool Mirrors, TColor FootC,
                        TColor FootCTo, TColor Grid, TColor Fixed, TColor Sel) {
    SetLook(glOffice2007);
    active(ActiveFrom, ActiveTo);
    fixed(From, To, Mirrors);
    cl->SetFixedGradientFrom(From);
    cl->SetFixedGradientTo(To);
    footer(FootC, FootCTo);
    lines(Grid, Fixed);
    FSelectionColor = Sel;
    FSelectionTextColor = 0x000000;
    footerFromGradient();
  };
  auto sortHeaderVista = [&] {
    FSortSettings->SetHeaderColor(0xFCF9F2);
    FSortSettings->SetHeaderColorTo(0xFCF9F2);
    FSortSettings->SetHeaderMirrorColor(0xF9F1E1);
    FSortSettings->SetHeaderMirrorColorTo(0xF6ECD8);
  };
  auto copiesToControlLook = [&] {
    cl->SetFixedGradientFrom(FZADGrad[0]);
    cl->SetFixedGradientTo(FZADGrad[1]);
    cl->SetFixedGradientMirrorFrom(FZADGrad[2]);
    cl->SetFixedGradientMirrorTo(FZADGrad[3]);
  };
  auto down = [&](TColor From, TColor To, TColor MFrom, TColor MTo, TColor Border) {
    cl->SetFixedGradientDownFrom(From);
    cl->SetFixedGradientDownTo(To);
    cl->SetFixedGradientDownMirrorFrom(MFrom);
    cl->SetFixedGradientDownMirrorTo(MTo);
    cl->SetFixedGradientDownBorder(Border);
  };
  auto hover = [&](TColor From, TColor To, TColor MFrom, TColor MTo, TColor Border) {
    cl->SetFixedGradientHoverFrom(From);
    cl->SetFixedGradientHoverTo(To);
    cl->SetFixedGradientHoverMirrorFrom(MFrom);
    cl->SetFixedGradientHoverMirrorTo(MTo);
    cl->SetFixedGradientHoverBorder(Border);
  };
  switch (Value) {
    case gsOffice2003Blue: office2003(0xFCE1CB, 0xE0A57D); break;
    case gsOffice2003Silver: office2003(0xECE2E1, 0xB39698); break;
    case gsOffice2003Olive: office2003(0xCFF0EA, 0x8CC0B1); break;
    case gsOffice2003Classic:
      active(0xD8D5D4, 0xD8D5D4);
      fixed(0xFFFFFF, 0xCCD4D8, true);
      cl->SetFixedGradientFrom(clNone);
      cl->SetFixedGradientTo(clNone);
      footer(0xFFFFFF, 0xD8D5D4);
      lines(0xC0C0C0, 0x808080);
      footerFromGradient();
      break;
    case gsOffice2007Luna:
      office2007(0x9DD8F9, 0x5EC1F1, 0xFBF9F6, 0xE8DBD2, true, 0xFFEFE3, 0xFFD2AF, 0xF1EDEB, 0xD1BBA4, 0x5EC1F1);
      hover(0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87);
      down(0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D, 0xE4C19D);
      if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
      break;
    case gsOffice2007Obsidian:
      office2007(0x9DD8F9, 0x5EC1F1, 0xF7F7F7, 0xDEDEDE, true, 0xF2F1F0, 0xC9C2BD, 0xE5D7D0, 0x808080, 0x5EC1F1);
      if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
      break;
    case gsOffice2007Silver:
      office2007(0x99CCFF, 0x699CFF, 0xF3F3F1, 0xCAC9C8, false, 0xEEEEEE, 0xC1C1C1, 0xE5D7D0, 0x808080, 0x95C7F5);
      if (FLook == glOffice2007) SetSelectionStyle(ssOffice2007);
      break;
    case gsWindowsXP:
      active(kBtnFace, kBtnFace);
      fixed(kBtnFace, kBtnFace, true);
      cl->SetFixedGradientFrom(clNone);
      cl->SetFixedGradientTo(clNone);
      footer(kBtnFace, kBtnFace);
      lines(0xC0C0C0, 0x808080);
      footerFromGradient();
      SetLook(glXP);
      break;
    case gsWhidbey:
      active(0x94E6FB, 0x1595EE);
      fixed(0xFFFFFF, kBtnFace, true);
      cl->SetFixedGradientFrom(clNone);
      cl->SetFixedGradientTo(clNone);
      footer(0xEBEEEF, 0x7E9898);
      lines(0xC0C0C0, 0x808080);
      footerFromGradient();
      break;
    case gsCustom: break;
    case gsWindowsVista:
      SetLook(glVista);
      FZADGrad[0] = 0xFFFFFF;
      FZADGrad[1] = 0xFFFFFF;
      FZADGrad[2] = 0xFAF8F7;
      FZADGrad[3] = 0xF4F2F1;
      FZADGradHover[0] = 0xFFF7E3;
      FZADGradHover[1] = 0xFFF7E3;
      FZADGradHover[2] = 0xFFEDBD;
      FZADGradHover[3] = 0xFBE7B7;
      FZADGradHover[4] = 0xE3C993;
      copiesToControlLook();
      cl->SetFixedGradientHoverFrom(FZADGradHover[0]);
      cl->SetFixedGradientHoverTo(FZADGradHover[1]);
      cl->SetFixedGradientHoverMirrorFrom(FZADGradHover[2]);
      cl->SetFixedGradientHoverMirrorTo(FZADGradHover[3]);
      down(0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F);
      sortHeaderVista();
      active(0xFDF8F1, 0xFCEFD5);
      cl->SetFixedGradientFrom(clNone);
      cl->SetFixedGradientTo(clNone);
      FSelectionColor = 0xEACAB6;
      FSelectionTextColor = 0x000000;
      footerFromGradient();
      SetSelectionStyle(ssVista);
      lines(0xECECF0, 0xD4D2D1);
      break;
    case gsWindows7:
      SetLook(glWin7);
      FZADGrad[0] = 0xFDFCFA;
      FZADGrad[1] = 0xFAF0E6;
      FZADGrad[2] = 0xF4E6DC;
      FZADGrad[3] = 0xF7E9DD;
      FZADGradHover[0] = 0xFDF8F3;
      FZADGradHover[1] = 0xF9F3EF;
      FZADGradHover[2] = clNone;
      FZADGradHover[3] = clNone;
      FZADGradHover[4] = 0xEEE8E3;
      copiesToControlLook();
      cl->SetFixedGradientHoverFrom(0xFEFBF8);
      cl->SetFixedGradientHoverTo(0xFAF2ED);
      cl->SetFixedGradientHoverMirrorFrom(0xF4E4D7);
      cl->SetFixedGradientHoverMirrorTo(0xE8D2C1);
      down(0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA);
      sortHeaderVista();
      active(0xFCEBDC, 0xFCDBC1);
      cl->SetFixedGradientFrom(clNone);
      cl->SetFixedGradientTo(clNone);
      FSelectionColor = 0xEACAB6;
      FSelectionTextColor = 0x000000;
      footerFromGradient();
      SetSelectionStyle(ssWin7);
      lines(0xECECF0, 0xD4D2D1);
      break;
    case gsTerminal: SetLook(glStandard); break;
  }
  Invalidate();
}

void TDavEvadurAvuz::SetTheme(TXPColorScheme Value) {
  auto apply = [&](TColor From, TColor To, TColor MFrom, TColor MTo, TColor FootC, TColor FootCTo) {
    FZADGrad[0] = From;
    FZADGrad[1] = To;
    FZADGrad[2] = MFrom;
    FZADGrad[3] = MTo;
    FSearchFooter->SetColor(FootC);
    FSearchFooter->SetColorTo(FootCTo);
  };
  switch (Value) {
    case xpBlue: apply(0xFCE1CB, 0xE0A57D, clNone, clNone, 0xFCE1CB, 0xE0A57D); break;
    case xpGreen: apply(0xCFF0EA, 0x8CC0B1, clNone, clNone, 0xCFF0EA, 0x8CC0B1); break;
    case xpGray: apply(0xECE2E1, 0xB39698, clNone, clNone, 0xECE2E1, 0xB39698); break;
    case vistaAero: apply(0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xECE2E1, 0xB39698); break;
    case xpNone:
      FActiveCellColor = 0xFFFFFF;
      FActiveCellColorTo = 0xFFD9B3;
      apply(0xFFFFFF, kBtnFace, clNone, clNone, 0xFFFFFF, 0xFFD9B3);
      FControlLook->SetFixedGradientFrom(clNone);
      FControlLook->SetFixedGradientTo(clNone);
      Invalidate();
      return;
  }
  FActiveCellColor = 0x94E6FB;
  FActiveCellColorTo = 0x1595EE;
  FControlLook->SetFixedGradientFrom(FZADGrad[0]);
  FControlLook->SetFixedGradientTo(FZADGrad[1]);
  Invalidate();
}

// Vista and later take the Aero colours; XP follows its colour scheme; anything else, or XP
// without a visual style, the plain ones.
void TDavEvadurAvuz::ThemeAdapt() {
  if (IsVista()) {
    SetTheme(vistaAero);
    return;
  }
  switch (XPColorScheme()) {
    case 1: SetTheme(xpBlue); break;
    case 2: SetTheme(xpGreen); break;
    case 3: SetTheme(xpGray); break;
    default: SetTheme(xpNone); break;
  }
}

void TDavEvadurAvuz::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  FSearchFooter->SetAutoThemeAdapt(Value);
  if (Value) {
    ThemeAdapt();
    Invalidate();
  }
}
