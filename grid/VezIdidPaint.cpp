// VezIdid, painting: the look of a cell and its text. Mark-up text is shown with its tags
// removed and its line breaks kept until cells are drawn by the mark-up engine.
#include <algorithm>

#include "grid/VezIdid.h"

void TDavEvadurAvuz::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool, bool Select, bool,
                                         TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
  VA = VAlignment;
  WW = FWordWrapDefault;
  if (AState.Contains(gdFixed)) {
    ABrush->SetColor(FixedColor());
    AFont->Assign(FFixedFont.get());
    if (FControlLook->FixedGradientFrom() != clNone) {
      ABrush->SetColor(FControlLook->FixedGradientFrom());
      AColorTo = FControlLook->FixedGradientTo();
    }
  } else if (AState.Contains(gdSelected) && Select && FShowSelection && SelectionStyle() == ssDefault) {
    ABrush->SetColor(FSelectionColor);
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    AFont->SetColor(FSelectionTextColor);
  }
  if (TCellProperties* p = Props(ACol, ARow)) {
    if (p->BrushColor != clNone && !AState.Contains(gdSelected) && !AState.Contains(gdFixed))
      ABrush->SetColor(p->BrushColor);
    HA = p->Alignment;
    VA = p->VAlignment;
    WW = p->WordWrap;
    GD = p->GradientDirection;
  }
  if (AState.Contains(gdFocused) && FActiveCellShow && AState.Contains(gdFixed) == false) {
    AFont->Assign(FActiveCellFont.get());
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HA, VA);
}

void TDavEvadurAvuz::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  if (OnCustomCellDraw) {
    OnCustomCellDraw(this, Canvas, ACol, ARow, AState, ARect, false);
    return;
  }
  std::string s = GetCellEx(RemapCol(ACol) < 0 ? ACol : RemapCol(ACol), ARow);
  if (EnableHTML && s.find('<') != std::string::npos) s = GridHTMLStrip(s);
  if (s.empty()) return;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  if (TCellProperties* p = Props(ACol, ARow)) {
    ha = p->Alignment;
    va = p->VAlignment;
  }
  TRect r{ARect.Left + XYOffset.X, ARect.Top + XYOffset.Y, ARect.Right - XYOffset.X, ARect.Bottom - XYOffset.Y};
  TTextFormat fmt{tfNoPrefix};
  if (s.find('\n') == std::string::npos && s.find('\r') == std::string::npos && !FWordWrapDefault) fmt += tfSingleLine;
  else fmt += tfWordBreak;
  if (ha == taCenter) fmt += tfCenter;
  if (ha == taRightJustify) fmt += tfRight;
  if (fmt.Contains(tfSingleLine)) {
    if (va == vtaCenter) fmt += tfVerticalCenter;
    if (va == vtaBottom) fmt += tfBottom;
  } else if (va != vtaTop) {
    TRect calc = r;
    std::string t = s;
    Canvas->TextRect(calc, t, fmt + tfCalcRect);
    int h = calc.Bottom - calc.Top, room = r.Bottom - r.Top;
    if (h < room) r.Top += va == vtaCenter ? (room - h) / 2 : room - h;
  }
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(r, s, fmt);
  Canvas->Brush()->SetStyle(bsSolid);
}
