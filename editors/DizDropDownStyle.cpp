// DizDropDown, the looks of a drop-down editor: the library-wide style mapped onto the
// pop-up, its strips and strip buttons, the hot and selected colours of item lists, and
// the selection colour preset with its painting.
#include "editors/DizDropDownEditor.h"
#include "editors/DizItemSelector.h"
#include "foundation/DizUtil.h"

namespace DizDropDown {

namespace {

// One row of the pop-up and strip table; KEEP leaves the current value.
constexpr TColor KEEP = 0x7FFFFFFF;
struct PopupLook {
  TColor Color, ColorTo, Border;
  TColor HeaderColor, HeaderColorTo, FooterColor, FooterColorTo, Font, HeaderBorder, FooterBorder;
};

bool PopupLookOf(DUZERazav s, PopupLook& p) {
  switch (s) {
    case tsOffice2003Blue: p = {0xFFFFFF, clNone, KEEP, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0, 0x000000, 0x962D00}; break;
    case tsOffice2003Silver: p = {0xFFFFFF, clNone, KEEP, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0, 0x947C7C, 0x947C7C}; break;
    case tsOffice2003Olive: p = {0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0, 0x588060, 0x588060}; break;
    case tsOffice2003Classic: p = {0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080}; break;
    case tsOffice2007Luna: p = {0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF}; break;
    case tsOffice2007Obsidian: p = {0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C}; break;
    case tsWindowsXP: p = {0xFFFFFF, clNone, KEEP, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0, 0x808080, 0x808080}; break;
    case tsWhidbey: p = {0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00}; break;
    case tsOffice2007Silver: p = {0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F}; break;
    case tsWindowsVista: p = {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0, 0xFCF2DA, 0xFCF2DA}; break;
    case tsWindows7: p = {0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0, 0xFBD6B8, 0xFBD6B8}; break;
    case tsTerminal: p = {0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0, clNone, clNone}; break;
    default: return false;
  }
  return true;
}

// The strip-button colours: face, border, hot, hot border, down, down border, disabled,
// checked, checked border.
struct ButtonLook {
  TColor Color, ColorTo, Border, Hot, HotTo, BorderHot, Down, DownTo, BorderDown, Disabled, DisabledTo, Checked,
      CheckedTo, BorderChecked;
};

bool ButtonLookOf(DUZERazav s, ButtonLook& b) {
  // The office looks share all but the normal face.
  auto office = [&](TColor c, TColor ct) {
    b = {c, ct, clNone, 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, 0x76AFF1,
         0x4190F3, 0x45667B};
  };
  switch (s) {
    case tsOffice2003Blue: office(0xFCE1CB, 0xE0A57D); break;
    case tsOffice2003Silver: office(0xECE2E1, 0xB39698); break;
    case tsOffice2003Olive: office(0xCFF0EA, 0x8CC0B1); break;
    case tsOffice2007Luna: office(0xFFEFE3, 0xFFDDC4); break;
    case tsOffice2007Obsidian: office(0xF2F1F0, 0xC9C2BD); break;
    case tsWhidbey: office(0xFFFFFF, 0xDFEDF0); break;
    case tsOffice2007Silver: office(0xF9F8F8, 0xE4E2DF); break;
    case tsOffice2003Classic:
      b = {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080, 0xD8D5D4, 0xD8D5D4,
           0xD8D5D4, 0xD8D5D4, 0x808080};
      break;
    case tsWindowsXP:
      b = {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
           clHighlight, 0xB6B6B6, 0xB6B6B6, 0xB9D8DC, 0xB9D8DC, 0x000000};
      break;
    case tsWindowsVista:
      b = {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A, 0xFFFFFF, 0xFFFFFF,
           0xFEF9F0, 0xFDF0D7, 0xFEDF9A};
      break;
    case tsWindows7:
      b = {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF, 0xFFFFFF,
           0xFEF9F0, 0xFCDBC1, 0xCEA27D};
      break;
    case tsTerminal:
      b = {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080, clBtnFace,
           clBtnFace, clBtnFace, clBtnFace, clHighlight};
      break;
    default: return false;
  }
  return true;
}

}  // namespace

void TDizCustomDropDown::SetComponentStyle(DUZERazav AStyle) {
  FComponentStyle = AStyle;
  PopupLook p;
  if (!PopupLookOf(AStyle, p)) return;
  SetDropDownColor(p.Color);
  DropDownColorTo = p.ColorTo;
  if (p.Border != KEEP) DropDownBorderColor = p.Border;
  auto strip = [&](TStripAppearance* a, TColor c, TColor ct, TColor border) {
    a->Color = c;
    a->ColorTo = ct;
    a->Font()->SetColor(p.Font);
    a->BorderColor = border;
  };
  strip(DropDownHeader(), p.HeaderColor, p.HeaderColorTo, p.HeaderBorder);
  strip(DropDownFooter(), p.FooterColor, p.FooterColorTo, p.FooterBorder);

  ButtonLook b;
  ButtonLookOf(AStyle, b);
  TDizButtonAppearance* a = ButtonAppearance();
  a->SetColor(b.Color);
  a->SetColorTo(b.ColorTo);
  a->SetBorderColor(b.Border);
  a->SetColorHot(b.Hot);
  a->SetColorHotTo(b.HotTo);
  a->SetBorderColorHot(b.BorderHot);
  a->SetColorDown(b.Down);
  a->SetColorDownTo(b.DownTo);
  a->SetBorderColorDown(b.BorderDown);
  a->SetColorDisabled(b.Disabled);
  a->SetColorDisabledTo(b.DisabledTo);
  a->SetColorChecked(b.Checked);
  a->SetColorCheckedTo(b.CheckedTo);
  a->SetBorderColorChecked(b.BorderChecked);
}

void TDizCustomDropDown::SetAppearanceStyle(TItemAppearance* A, DUZERazav AStyle) {
  if (!A) return;
  A->ColorSelectedText = 0x000000;
  A->ColorHotText = 0x000000;
  auto set = [&](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                 TColor mSelTo, TColor border, TColor top, TColor bottom, TColor edge) {
    A->ColorHot = hot, A->ColorHotTo = hotTo, A->ColorMirrorHot = mHot, A->ColorMirrorHotTo = mHotTo;
    A->ColorSelected = sel, A->ColorSelectedTo = selTo, A->ColorMirrorSelected = mSel;
    A->ColorMirrorSelectedTo = mSelTo;
    A->BorderColor = border, A->BorderColorTop = top, A->BorderColorBottom = bottom, A->EdgeColor = edge;
  };
  switch (AStyle) {
    case tsCustom: return;
    case tsOffice2003Blue:
    case tsOffice2003Silver:
    case tsOffice2003Olive:
    case tsWhidbey:
      set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone, clNone,
          clNone);
      break;
    case tsOffice2007Luna:
    case tsOffice2007Obsidian:
    case tsOffice2007Silver:
      set(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF,
          0xC3D9DF);
      break;
    case tsOffice2003Classic:
      set(0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone);
      break;
    case tsWindowsXP:
      set(0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone);
      A->ColorSelectedText = clHighlightText;
      break;
    case tsWindowsVista:
      set(0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7,
          0xFCEDCB);
      break;
    case tsWindows7:
      set(0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB,
          0xE0C5AE);
      break;
    case tsTerminal:
      set(0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone);
      A->ColorSelectedText = clHighlightText;
      break;
  }
}

void TDizCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value) {
  FSelectionColorStyle = Value;
  switch (Value) {
    case scOffice2007: SelectionColor = 0xD7FFFD, SelectionColorTo = 0x58D4FC; break;
    case scWindowsVista: SelectionColor = 0xFDF8F1, SelectionColorTo = 0xFCEFD5; break;
    case scWindows7: SelectionColor = 0xFCEBDC, SelectionColorTo = 0xFCDBC1; break;
    case scCustom: break;
  }
}

void TDizCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, const TRect& R, TColor Color, int Part) {
  switch (FSelectionColorStyle) {
    case scCustom:
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(SelectionColor);
      Canvas->Pen()->SetColor(SelectionColor);
      Canvas->FillRect(R);
      break;
    case scOffice2007:
      DrawSelectionGradient(Canvas, SelectionColor, SelectionColorTo, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3,
                            0xC3D9DF, Color, R, TGradientPart(Part));
      break;
    case scWindowsVista:
      DrawSelectionGradient(Canvas, SelectionColor, SelectionColorTo, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99,
                            0xFCEDCB, Color, R, TGradientPart(Part));
      break;
    case scWindows7:
      DrawSelectionGradient(Canvas, SelectionColor, SelectionColorTo, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D,
                            0xE0C5AE, Color, R, TGradientPart(Part));
      break;
  }
}

void TDizCustomDropDown::DrawGradientBackground(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps,
                                                const TRect& R, TGradientDirection Direction) {
  DizDropDown::DrawGradient(Canvas, FromColor, ToColor, Steps, R, Direction == gdHorizontal);
}

}  // namespace DizDropDown
