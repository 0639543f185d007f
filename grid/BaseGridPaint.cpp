// BaseGrid, painting: one cell with its merged area, the active row, the selection styles
// and the grid's own lines. The rest of the unit is in BaseGrid.cpp.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/BaseGrid.h"
#include "platform/gdi/DeviceContext.h"

namespace {
struct TSelectionColors {
  TColor UpperFrom, UpperTo, LowerFrom, LowerTo, InnerUpper, InnerLower, Outer, CornerBlend;
};
// The selection box colours by style when focused, and the one set when not focused.
const TSelectionColors kVista{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
const TSelectionColors kWin7{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
const TSelectionColors kOffice2007{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
const TSelectionColors kUnfocused{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
}  // namespace

void TBaseGrid::Paint() {
  TStringGrid::Paint();
  ++FPaintID;
}

void TBaseGrid::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
  std::string s = GetCellEx(ACol, ARow);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(ARect, s, TTextFormat{tfCenter, tfVerticalCenter, tfSingleLine});
  Canvas->Brush()->SetStyle(bsSolid);
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* C = Canvas();
  // 1. The floating footer covers the last row.
  if (FFloatingFooterShown && ARow == RowCount() - 1) {
    C->Brush()->SetColor(Color());
    C->Pen()->SetColor(Color());
    C->Rectangle(ARect);
    return;
  }
  // 2. A merged area is painted once per pass, from its base cell.
  if (IsMergedNonBaseCell(ACol, ARow)) {
    TPoint b = BaseCell(ACol, ARow);
    TCellProperties* bp = Props(b.X, b.Y);
    if (!bp || bp->PaintID == FPaintID) return;
    bp->PaintID = FPaintID;
    TGridDrawState state;
    if (IsSelected(b.X, b.Y)) state += gdSelected;
    if (b.Y < FixedRows() || b.X < FixedCols()) state += gdFixed;
    DrawCell(b.X, b.Y, CellRect(b.X, b.Y), state);
    return;
  }
  if (TCellProperties* p = Props(ACol, ARow)) p->PaintID = FPaintID;
  // 3. Fixed cells and the whole merged area.
  TGridDrawState state = AState;
  if (IsFixed(ACol, ARow)) {
    state += gdFixed;
    state -= gdSelected;
  }
  TRect r = IsMergedCell(ACol, ARow) ? CellRect(ACol, ARow) : ARect;
  bool fixed = state.Contains(gdFixed);
  // 4. A merged area scrolled partly under the fixed cells is clipped to the scrollable part.
  HDC dc = C->GetHandle();
  int saved = 0;
  if (!fixed) {
    int fx = FixedColsWidth(), fy = FixedRowsHeight();
    bool clip = false;
    TRect cr = r;
    if (ACol >= FixedCols() && r.Left < fx) {
      cr.Left = fx;
      clip = true;
    }
    if (ARow >= FixedRows() && r.Top < fy) {
      cr.Top = fy;
      clip = true;
    }
    if (clip) {
      saved = SaveDC(dc);
      IntersectClipRect(dc, cr.Left, cr.Top, cr.Right, cr.Bottom);
    }
  }
  // 5. The cell's look.
  C->Pen()->SetWidth(1);
  C->SetFont(Font());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(fixed ? FixedColor() : Color());
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = FWordWrapDefault;
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(ACol, ARow, state, false, true, true, C->Brush(), colorTo, mirror, mirrorTo, C->Font(), ha,
                      va, ww, gd);
  C->Pen()->SetColor(C->Brush()->GetColor());
  // 6. The active row.
  if (FActiveRowShow && ARow == Row() && (ACol != Col() || !FShowSelection) && !fixed) {
    C->Brush()->SetColor(FActiveRowColor);
    colorTo = FActiveRowColor;
    mirror = mirrorTo = clNone;
  }
  bool lines = true;
  // 7. Styled selection.
  if (state.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSelection) {
    TGridRect sel = Selection();
    int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
    TGradientPart part = gpFull;
    if (ACol == left && left < right) part = gpLeft;
    else if (left < ACol && ACol == right) part = gpRight;
    else if (left < ACol && ACol < right) part = gpMiddle;
    TRect sr = r;
    if (!Options().Contains(goHorzLine)) ++sr.Bottom;
    if (!Options().Contains(goVertLine)) ++sr.Right;
    if (HasCustomCellBorder()) {
      ++sr.Left;
      --sr.Right;
      --sr.Bottom;
    }
    bool focused = Focused() || Options().Contains(goDrawFocusSelected);
    const TSelectionColors& k = !focused ? kUnfocused
                                : FSelectionStyle == ssVista ? kVista
                                : FSelectionStyle == ssWin7  ? kWin7
                                                             : kOffice2007;
    DrawSelectionGradient(C, k.UpperFrom, k.UpperTo, k.LowerFrom, k.LowerTo, k.InnerUpper, k.InnerLower, k.Outer,
                          k.CornerBlend, Color(), sr, part);
  } else if (colorTo == clNone) {
    // 8. Plain, gradient or mirrored fill.
    C->Rectangle(r);
  } else if (mirrorTo == clNone) {
    DrawGradient(C, C->Brush()->GetColor(), colorTo, 64, r, gd == GradientHorizontal);
  } else {
    DrawVistaGradient(C, r, C->Brush()->GetColor(), colorTo, mirror, mirrorTo, true, clNone, false, true);
  }
  // 9. Lines.
  if (lines) {
    int width = fixed ? 1 : FOwnGridLineWidth;
    int o = fixed ? 1 : (FOwnGridLineWidth + 1) / 2;
    if (fixed || FOwnGridLineWidth > 0) {
      C->Pen()->SetColor(fixed ? FGridFixedLineColor : FGridLineColor);
      C->Pen()->SetWidth(width);
      bool horz = (Options().Contains(goHorzLine) && !fixed) || (Options().Contains(goFixedHorzLine) && fixed);
      bool vert = (Options().Contains(goVertLine) && !fixed) || (Options().Contains(goFixedVertLine) && fixed);
      if (horz && !(ACol == 0 && HasNodes())) {
        C->MoveTo(r.Left - o + 1, r.Bottom - o);
        C->LineTo(r.Right - o + 1, r.Bottom - o);
      }
      if (vert) {
        C->MoveTo(r.Right - o, r.Bottom - o);
        C->LineTo(r.Right - o, r.Top - o);
      }
      C->Pen()->SetWidth(1);
    }
  }
  // 10. The text.
  TRect tr = r;
  if (fixed) {
    tr.Right -= 1;
    tr.Bottom -= 2;
  } else {
    tr = TRect{tr.Left + FOwnGridLineWidth, tr.Top + FOwnGridLineWidth, tr.Right - FOwnGridLineWidth,
               tr.Bottom - FOwnGridLineWidth};
  }
  DrawGridCell(C, ACol, ARow, tr, state);
  if (saved) {
    RestoreDC(dc, saved);
    C->Refresh();  // the restored state holds other objects than the canvas thinks
  }
}
