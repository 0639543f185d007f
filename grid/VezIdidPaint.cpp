// VezIdid, painting: how a cell's colours, font and alignment resolve, and the layers of
// one cell: the look edges of fixed cells, the text (plain or mark-up) and the focus
// rectangle. Text-format flags are built per call, so one grid never changes another.
#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"

TColor TDavEvadurAvuz::BandColor(int ACol, int ARow, bool Print) const {
  if (!FBands->Active() || (Print && !FBands->Print)) return clNone;
  int fr = GetFixedRowsEx(), fc = GetFixedColsEx();
  if (ACol < fc || ACol >= ColCount() + NumHiddenColumns() - FFixedRightCols) return clNone;
  if (ARow < fr || ARow >= RowCount() - FFixedFooters) return clNone;
  int period = FBands->Period();
  if (period <= 0) return clNone;
  return (ARow - fr) % period < FBands->PrimaryLength() ? FBands->PrimaryColor() : FBands->SecondaryColor();
}

void TDavEvadurAvuz::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
  bool fixed = ACol < GetFixedColsEx() || ARow < GetFixedRowsEx() || ARow >= RowCount() - FFixedFooters ||
               (FFixedRightCols > 0 && ACol >= ColCount() - FFixedRightCols);
  bool ownFont = false;
  // 1. Font by fixed or normal cell; the print fonts only replace them on paper.
  if (Print && !FPrintSettings->UseDisplayFont) {
    AFont->Assign(fixed ? FPrintSettings->FixedFont() : FPrintSettings->Font());
  } else {
    AFont->Assign(fixed ? FFixedFont.get() : Font());
  }
  int rcol = Remap ? RemapCol(ACol) : ACol;
  if (rcol < 0) rcol = ACol;
  // 2. Colours start unset; the cell's own properties come first.
  TColor brush = clNone;
  AColorTo = AMirrorColor = AMirrorColorTo = clNone;
  if (TCellProperties* p = Props(ACol, ARow)) {
    if (!Print || FPrintSettings->UseDisplayFont) {
      brush = p->BrushColor;
      AColorTo = p->BrushColorTo;
      if (p->FontColor != clNone) AFont->SetColor(p->FontColor);
      if (p->FontSize > 0) AFont->SetSize(p->FontSize);
      if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
      if (!p->FontName.empty()) AFont->SetName(p->FontName);
      GD = p->GradientDirection;
    }
  }
  if (AState.Contains(gdSelected)) GD = GradientVertical;
  // 3. Bands or the grid colour.
  if (brush == clNone) {
    brush = BandColor(ACol, ARow, Print);
    if (brush == clNone) brush = Color();
    // 4. Fixed cells without a colour of their own.
    if (fixed) {
      if (!Print) {
        brush = FixedColor();
        AState += gdFixed;
      }
      if (FLook >= glZAD) {
        brush = FZADGrad[0];
        AColorTo = FZADGrad[1];
        AMirrorColor = FZADGrad[2];
        AMirrorColorTo = FZADGrad[3];
      }
    }
  }
  if (OnGetCellGradient) OnGetCellGradient(this, ARow, rcol, brush, AColorTo, AMirrorColor, AMirrorColorTo, GD);
  ABrush->SetColor(brush);
  // 5. Active-cell headers, then the application's colours.
  if (!Print && FActiveCellShow && fixed &&
      ((ACol < GetFixedColsEx() && ARow == Row()) || (ARow < GetFixedRowsEx() && ACol == Col()))) {
    AFont->Assign(FActiveCellFont.get());
    ABrush->SetColor(FActiveCellColor);
    AColorTo = FActiveCellColorTo;
    AMirrorColor = AMirrorColorTo = clNone;
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, rcol, AState, ABrush, AFont);
  // 6. Selection, on screen only, for cells past the fixed ones.
  if (!Print && Select && FShowSelection && !fixed && AState.Contains(gdSelected) &&
      SelectionStyle() == ssDefault) {
    if (FSelectionColor != clNone) ABrush->SetColor(FSelectionColor);
    AColorTo = FSelectionColorTo;
    AMirrorColor = FSelectionMirrorColor;
    AMirrorColorTo = FSelectionMirrorColorTo;
    if (FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
  }
  // 7. Word wrap and alignment.
  HA = taLeftJustify;
  VA = VAlignment;
  if (TCellProperties* p = Props(ACol, ARow)) {
    WW = p->WordWrap;
    HA = p->Alignment;
    VA = p->VAlignment;
  }
  if (OnGetAlignment) OnGetAlignment(this, ARow, rcol, HA, VA);
}

void TDavEvadurAvuz::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TRect R = ARect;
  bool fixed = AState.Contains(gdFixed);
  TBrush* brush = Canvas->Brush();
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  bool ww = FWordWrapDefault;
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(ACol, ARow, AState, false, true, true, brush, colorTo, mirror, mirrorTo, Canvas->Font(), ha,
                      va, ww, gd);
  int rcol = RemapCol(ACol) < 0 ? ACol : RemapCol(ACol);

  if (!OnCustomCellDraw) {
    // Text.
    std::string s = GetFormattedCell(rcol, ARow);
    if (!s.empty()) {
      TRect tr{R.Left + XYOffset.X, R.Top + XYOffset.Y, R.Right - XYOffset.X, R.Bottom};
      TColor link = FURLColor;
      if (AState.Contains(gdSelected) && FShowSelection && !fixed && FSelectionTextColor != clNone)
        link = FSelectionTextColor;
      if (EnableHTML && s.find('<') != std::string::npos) {
        std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
        int ex = 0, ey = 0, links = 0, hit = 0;
        TRect hot, ctl;
        TRect hr = tr;
        hr.Left -= 1;
        HTMLDrawEx(Canvas, s, hr, FGridImages, 0, 0, -1, -1, 1, false, false, false, false, false, !EnhTextSize,
                   false, false, 1.0, link, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit,
                   hot, ctl, ctlID, ctlValue, ctlType, nullptr, nullptr, Handle());
      } else {
        bool multi = s.find('\n') != std::string::npos || s.find('\r') != std::string::npos;
        TTextFormat fmt{tfNoPrefix, tfExpandTabs};
        if (ww) fmt += tfWordBreak;
        else if (!multi || !Multilinecells) {
          if (multi) s = s.substr(0, s.find_first_of("\r\n"));
          fmt += tfSingleLine;
          if (EnhTextSize) fmt += tfEndEllipsis;
        }
        if (ha == taCenter) fmt += tfCenter;
        if (ha == taRightJustify) fmt += tfRight;
        if (fmt.Contains(tfSingleLine)) {
          if (va == vtaCenter) fmt += tfVerticalCenter;
          if (va == vtaBottom) fmt += tfBottom;
        } else if (va != vtaTop) {
          TRect calc = tr;
          std::string t = s;
          Canvas->TextRect(calc, t, fmt + tfCalcRect);
          int h = calc.Bottom - calc.Top, room = tr.Bottom - tr.Top;
          if (h < room) tr.Top += va == vtaCenter ? (room - h) / 2 : room - h;
        }
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextRect(tr, s, fmt);
        Canvas->Brush()->SetStyle(bsSolid);
      }
    }
  }

  // Look edges of fixed cells.
  if (fixed && !Flat) {
    TRect e = R;
    TPen* pen = Canvas->Pen();
    pen->SetWidth(1);
    if (FLook == glClassic) {
      pen->SetColor(clBlack);
      Canvas->MoveTo(e.Right, e.Top);
      Canvas->LineTo(e.Right, e.Bottom + 1);
      Canvas->MoveTo(e.Left - 1, e.Bottom + 1);
      Canvas->LineTo(e.Right + 1, e.Bottom + 1);
    } else if ((FLook == glZAD || FLook == glXP || FLook == glSoft) && Options().Contains(goFixedHorzLine)) {
      if (FLook == glSoft) ++e.Right;
      ++e.Bottom;
      pen->SetColor(DarkenColor(FixedColor()));
      Canvas->MoveTo(e.Left, e.Bottom - 1);
      Canvas->LineTo(e.Right - 1, e.Bottom - 1);
      pen->SetColor(clWhite);
      Canvas->MoveTo(e.Right, e.Top + 1);
      Canvas->LineTo(e.Left + 1, e.Top + 1);
      Canvas->LineTo(e.Left + 1, e.Bottom - 1);
      if (FLook == glSoft && Options().Contains(goFixedVertLine)) {
        pen->SetColor(DarkenColor(FixedColor()));
        Canvas->MoveTo(e.Right - 2, e.Top);
        Canvas->LineTo(e.Right - 2, e.Bottom - 1);
        pen->SetColor(clWhite);
        Canvas->MoveTo(e.Right - 1, e.Top);
        Canvas->LineTo(e.Right - 1, e.Bottom - 1);
      }
    }
  }

  if (OnCustomCellDraw) OnCustomCellDraw(this, Canvas, rcol, ARow, AState, R, false);

  DrawCellBorders(Canvas, ACol, ARow, R);

  // Focus rectangle: the focused grid's current, non-fixed cell, without row select.
  if (!HideFocusRect && Focused() && !Options().Contains(goRowSelect)) {
    TPoint b = IsMergedCell(ACol, ARow) ? BaseCell(ACol, ARow) : TPoint{ACol, ARow};
    if (b.X == Col() && b.Y == Row() && !IsFixed(Col(), Row())) {
      int g = GridLineWidth() - 1;
      TRect f{R.Left - g, R.Top - g, R.Right + g - 1, R.Bottom + g - 1};
      Canvas->DrawFocusRect(f);
    }
  }
}

// The per-side borders a handler asks for: OnGetCellBorder picks the sides and the pen,
// OnGetCellBorderProp may give each side a pen of its own. They are drawn over the grid
// lines, half a pen width inside the cell.
void TDavEvadurAvuz::DrawCellBorders(TCanvas* Canvas, int ACol, int ARow, const TRect& R) {
  if (!OnGetCellBorder) return;
  int rcol = RemapCol(ACol) < 0 ? ACol : RemapCol(ACol);
  TPen saved;
  saved.Assign(Canvas->Pen());
  TCellBorders borders;
  OnGetCellBorder(this, ARow, rcol, Canvas->Pen(), borders);
  if (!borders.Empty()) {
    TPen left, top, right, bottom;
    for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(Canvas->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, rcol, &left, &top, &right, &bottom);
    const TRect TR{R.Left, R.Top, R.Right + 1, R.Bottom + 1};
    const int p = Canvas->Pen()->GetWidth();
    const int h = Options().Contains(goVertLine) ? (p + 1) / 2 : 0;
    const int v = Options().Contains(goHorzLine) ? (p + 1) / 2 : 0;
    const TRect B{TR.Left + h, TR.Top + v, TR.Right - h, TR.Bottom - v};
    const int lw = GridLineWidth();
    if (borders.Contains(cbLeft)) {
      Canvas->Pen()->Assign(&left);
      Canvas->MoveTo(B.Left - h, B.Top - v);
      Canvas->LineTo(B.Left - h, B.Bottom);
    }
    if (borders.Contains(cbRight)) {
      Canvas->Pen()->Assign(&right);
      Canvas->MoveTo(B.Right - 1, B.Top);
      Canvas->LineTo(B.Right - 1, B.Bottom);
    }
    if (borders.Contains(cbTop)) {
      Canvas->Pen()->Assign(&top);
      const int y = lw == 0 ? B.Top + 1 : B.Top - lw;
      Canvas->MoveTo(B.Left, y);
      Canvas->LineTo(B.Right, y);
    }
    if (borders.Contains(cbBottom)) {
      Canvas->Pen()->Assign(&bottom);
      Canvas->MoveTo(B.Left - lw - 1, B.Bottom - 1);
      Canvas->LineTo(B.Right, B.Bottom - 1);
    }
  }
  Canvas->Pen()->Assign(&saved);
}
