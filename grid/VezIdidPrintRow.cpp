// One grid row on paper: cell backgrounds, texts, check boxes and borders of one page
// part, in tenths of a millimetre with y upwards.
#include <cmath>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/Text.h"

namespace {
int RoundEven(double v) { return int(std::nearbyint(v)); }
}  // namespace

// A horizontal or vertical line of the canvas pen from (X0, Y0) to (X1, Y1). Solid lines
// are filled as bars at least one device pixel thick: cheap on a page of millions of
// pixels and never lost at a coarse resolution.
void PrintRuleLine(TCanvas* C, int X0, int Y0, int X1, int Y1) {
  TPen* pen = C->Pen();
  if (pen->GetStyle() != psSolid || (X0 != X1 && Y0 != Y1)) {
    C->MoveTo(X0, Y0);
    C->LineTo(X1, Y1);
    return;
  }
  HDC dc = C->GetHandle();
  int dpi = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
  int onePixel = GetMapMode(dc) == MM_LOMETRIC ? (254 + dpi - 1) / dpi : 1;
  int w = std::max(pen->GetWidth(), onePixel);
  RECT r = X0 == X1 ? RECT{X0, std::max(Y0, Y1), X0 + w, std::min(Y0, Y1)}
                    : RECT{std::min(X0, X1), Y0, std::max(X0, X1), Y0 - w};
  HBRUSH b = CreateSolidBrush(ColorToRGB(pen->GetColor()));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

int TDavEvadurAvuz::PrintRow(int Y, int FirstCol, int LastCol, int Row) {
  PrintFitScale = FPP.FitScale;
  const int rowH = PrintRowHeight(Row);
  const int returned = rowH + 2 * FPP.Gap + FPrintSettings->RowSpacing;
  if (!PrintPageDrawn() || FirstCol > LastCol) {
    PrintFitScale = 1.0;
    return returned;
  }
  for (int c = FirstCol; c <= LastCol; ++c) {
    if (!IsPrintColIncluded(c)) continue;
    int real = RemapCol(c);
    TPoint ext = CellExt(real, Row);
    int W = 0;
    for (int k = 0; k <= ext.X; ++k)
      if (size_t(c + k) < FPrintColWidths.size()) W += FPrintColWidths[size_t(c + k)] + FPP.Spacing;
    int K;
    if (FPrintSettings->NoAutoSizeRow && ext.Y > 0) {
      K = 0;
      for (int r = Row; r <= Row + ext.Y && r < RowCount(); ++r) {
        int t = int(std::trunc((RowHeights(r) - 4) * FPP.PixelFactor));
        K += t + t / 8 + 2 * FPP.Gap + FPrintSettings->RowSpacing;
      }
    } else {
      K = FPrintSettings->NoAutoSizeRow ? returned : (std::max(0, ext.Y) + 1) * returned;
    }
    TRect R{FPrintColOffsets[size_t(c)], Y, FPrintColOffsets[size_t(c)] + W, Y - K};
    if (IsBaseCell(real, Row)) PrintCellContent(real, Row, c, R, W, K, returned);
    PrintCellBorders(real, Row, c, FirstCol, LastCol, W, K, Y, returned);
  }
  PrintFitScale = 1.0;
  return returned;
}

void TDavEvadurAvuz::PrintCellContent(int Real, int Row, int DisplCol, TRect R, int W, int K, int Returned) {
  TCanvas* C = FPP.Canvas;
  TBrush brush2;
  brush2.Assign(C->Brush());
  TFont font2;
  font2.Assign(C->Font());
  TBrush brush1;
  brush1.Assign(C->Brush());
  TFont font1;
  font1.Assign(C->Font());
  font1.SetSize(FPrintSettings->Font()->GetSize());
  TGridDrawState state;
  TColor ct = clNone, mc = clNone, mct = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  bool ww = false;
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(Real, Row, state, true, false, false, &brush1, ct, mc, mct, &font1, ha, va, ww, gd);
  C->Brush()->Assign(&brush1);
  C->Font()->Assign(&font1);
  C->Font()->SetHeight(MapFontHeight(font1.GetSize()));
  std::string text = HasDataCell(Real, Row) ? std::string() : GetFormattedCell(Real, Row);
  TTextType tt = TextType(text, EnableHTML);
  if (tt == ttFormula) CalcCell(Real, Row, text);
  // Background, outlined in its own colour.
  TColor penColor = C->Pen()->GetColor();
  int penWidth = C->Pen()->GetWidth();
  TPenStyle penStyle = C->Pen()->GetStyle();
  C->Pen()->SetColor(C->Brush()->GetColor());
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  if (C->Brush()->GetStyle() != bsClear) C->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
  C->Pen()->SetColor(penColor);
  C->Pen()->SetWidth(penWidth);
  C->Pen()->SetStyle(penStyle);
  TAlignment a = GetCellAlignment(Real, Row);
  int lineH = C->TextHeight("gh") + FPrintSettings->RowSpacing;
  lineH += int(unsigned(lineH) / 8);
  int angle = 0;
  bool rotated = IsRotated(Real, Row, angle);
  int widest = 0;
  {
    std::string rest = tt == ttHTML ? HTMLStrip(text) : text;
    do {
      std::string l = GetNextLine(rest, Multilinecells);
      widest = std::max(widest, C->TextWidth(l));
    } while (Multilinecells && !rest.empty());
  }
  int s = (FPP.Method == prPrint && PrintRotationByDevice && PrinterRotationAngle() != 270) ? 10 : -10;
  if (rotated) C->Font()->SetOrientation(angle * s);
  double ar = angle * M_PI / 180.0;
  int wc = std::abs(int(std::trunc(std::cos(ar) * widest))), hs = std::abs(int(std::trunc(std::sin(ar) * lineH)));
  int ws = std::abs(int(std::trunc(std::sin(ar) * widest))), hc = std::abs(int(std::trunc(std::cos(ar) * lineH)));
  if (rotated) lineH = ws + hc;
  // Graphic placement.
  TCellGraphic* g = GetCellGraphic(Real, Row);
  TRect GR{};
  bool withGraphic = g && FPrintSettings->PrintGraphics;
  if (withGraphic) {
    int sw = W, sh = K;
    GetPrintGraphicSize(Real, Row, sw, sh, FPP.PixelFactor);
    int gw = RoundEven(sw * FPP.PixelFactor), gh = RoundEven(sh * FPP.PixelFactor);
    if (g->CellType == ctRadio) text.clear();
    switch (g->CellHAlign) {
      case haLeft:
      case haBeforeText: GR.Left = R.Left + RoundEven(FPP.PixelFactor); GR.Right = GR.Left + gw; R.Left = GR.Right; break;
      case haRight:
      case haAfterText: GR.Right = R.Right; GR.Left = GR.Right - gw; R.Right = GR.Left; break;
      case haCenter: GR.Left = R.Left + (W - gw) / 2; GR.Right = GR.Left + gw; break;
      case haFull: GR.Left = R.Left; GR.Right = R.Right; break;
    }
    switch (g->CellVAlign) {
      case vaTop: GR.Top = R.Top; GR.Bottom = GR.Top - gh; break;
      case vaBottom: GR.Top = R.Bottom + gh; GR.Bottom = R.Bottom; break;
      case vaCenter: GR.Top = R.Top - (K - gh) / 2; GR.Bottom = GR.Top - gh; break;
      case vaUnderText: GR.Top = R.Bottom + gh; GR.Bottom = R.Bottom; R.Bottom = GR.Top; break;
      case vaAboveText: GR.Top = R.Top; GR.Bottom = GR.Top - gh; R.Top = GR.Bottom; break;
      case vaFull: GR.Top = R.Top; GR.Bottom = R.Bottom; break;
    }
    bool check = g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox ||
                 g->CellType == ctRowCheckBox || g->CellType == ctRadioButton;
    if (check && text.empty()) {
      if (a == taRightJustify) {
        GR.Right = R.Right;
        GR.Left = GR.Right - gw;
        R.Right = GR.Left;
      } else if (a == taCenter) {
        GR.Left = FPrintColOffsets[size_t(DisplCol)] + (W - gw) / 2;
        GR.Right = GR.Left + gw;
      }
    }
  }
  // Text.
  C->Brush()->SetStyle(bsClear);
  TRect clip = R;
  if (FPP.Width < R.Right) R.Right = FPrintColOffsets[size_t(FPP.Last) + 1];
  if (tt == ttRTF) {
    RTFPaint(Real, Row, R, C);
  } else {
    if (tt == ttHTML) text = HTMLStrip(text);
    if (tt == ttUnicode) text = GetCellEx(Real, Row).substr(0);  // stored as UTF-8
    int lines = LinesInText(text, Multilinecells);
    if (ww && FPrintSettings->NoAutoSize && !rotated) {
      RECT dr{R.Left + 4, R.Top, R.Right - 4, R.Bottom};
      UINT f = DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX;
      if (a == taRightJustify) f |= DT_RIGHT;
      else if (a == taCenter) f |= DT_CENTER;
      DrawTextUtf8(C->GetHandle(), text, &dr, f);
    } else if (lines <= 1) {
      std::string rest = text;
      std::string line = GetNextLine(rest, Multilinecells);
      if (URLShow() && !URLFull) StripURLProtocol(line);
      TRect d{R.Left, R.Top, R.Right, R.Top - Returned - FPrintSettings->RowSpacing};
      if (rotated) {
        TPoint span = CellSpan(Real, Row);
        if (IsYMergedCell(Real, Row)) d.Bottom -= span.Y * (FPrintSettings->RowSpacing + Returned);
        PlaceRotatedText(d, a, va, angle, wc, hs, -ws, -hc);
        C->TextRect(clip, d.Left, d.Top, line);
      } else {
        int w = C->TextWidth(line);
        int x = a == taRightJustify ? d.Right - 4 - w : a == taCenter ? d.Left + (d.Right - d.Left - w) / 2 : d.Left + 4;
        C->TextRect(clip, x, d.Top, line);
      }
    } else {
      int textH = lineH - FPrintSettings->RowSpacing;
      int v = va == vtaCenter ? (Returned - textH * lines) / 2 : va == vtaBottom ? Returned - textH * lines : 0;
      if (IsMergedCell(Real, Row)) v = 0;
      std::string rest = text;
      TRect tr = R;
      for (int i = 0; i < lines; ++i) {
        std::string line = GetNextLine(rest, Multilinecells);
        if (URLShow() && !URLFull) StripURLProtocol(line);
        int w = C->TextWidth(line);
        int x = a == taRightJustify ? tr.Right - 4 - w : a == taCenter ? tr.Left + (tr.Right - tr.Left - w) / 2 : tr.Left + 4;
        C->TextRect(clip, x, tr.Top - v, line);
        if (v > 0) {
          tr.Top -= v;
          v = 0;
        }
        tr.Top -= textH;
      }
    }
  }
  C->Brush()->SetStyle(bsSolid);
  // Graphic.
  if (withGraphic) {
    switch (g->CellType) {
      case ctCheckBox:
      case ctDataCheckBox:
      case ctVirtCheckBox:
      case ctRowCheckBox:
      case ctRadioButton: {
        int bh = RoundEven(GetCellGraphicSize(Real, Row).Y * FPP.PixelFactor);
        RECT box{GR.Left, GR.Top, GR.Left + bh, GR.Top - bh};
        bool checked = false;
        GetCheckBoxState(Real, Row, checked);
        UINT st = g->CellType == ctRadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if (FControlLook->ControlStyle() == csFlat) st |= DFCS_FLAT;
        if (checked) st |= DFCS_CHECKED;
        DrawFrameControl(C->GetHandle(), &box, DFC_BUTTON, st);
        break;
      }
      case ctNode: {
        C->Pen()->SetColor(FCellNode->NodeColor);
        int x0 = GR.Left + (GR.Right - GR.Left - 20) / 2, y0 = GR.Top - (GR.Top - GR.Bottom - 20) / 2;
        C->Brush()->SetStyle(bsClear);
        C->Rectangle(x0, y0, x0 + 20, y0 - 20);
        int my = GR.Top - (GR.Top - GR.Bottom) / 2;
        C->MoveTo(x0, my);
        C->LineTo(x0 + 18, my);
        if (g->CellBoolean) {
          int mx = GR.Left + (GR.Right - GR.Left) / 2;
          C->MoveTo(mx, y0);
          C->LineTo(mx, y0 - 18);
        }
        C->Brush()->SetStyle(bsSolid);
        break;
      }
      case ctBitmap:
        StretchBitmapToCanvas(C, GR, dynamic_cast<TBitmap*>(g->CellRef.Object));
        break;
      default: break;
    }
  }
  C->Font()->Assign(&font2);
  C->Brush()->Assign(&brush2);
  if (OnCustomCellDraw) {
    HDC dc = C->GetHandle();
    POINT pts[2] = {{R.Left, R.Top}, {R.Right, R.Top - Returned}};
    LPtoDP(dc, pts, 2);
    int mode = SetMapMode(dc, MM_TEXT);
    int size = C->Font()->GetSize();
    C->Font()->SetSize(FPrintSettings->Font()->GetSize());
    OnCustomCellDraw(this, C, Real, Row, TGridDrawState{}, TRect{pts[0].x, pts[0].y, pts[1].x, pts[1].y}, true);
    SetMapMode(dc, mode);
    C->Font()->SetSize(size);
  }
}

void TDavEvadurAvuz::PrintCellBorders(int Real, int Row, int DisplCol, int FirstCol, int LastCol, int W, int K, int Y,
                                      int Returned) {
  TCanvas* C = FPP.Canvas;
  TPen saved;
  saved.Assign(C->Pen());
  TPrintBorders b = FPrintSettings->Borders;
  TCellBorders set;
  if (b == pbSingle || b == pbDouble) set = TCellBorders{cbTop, cbLeft, cbRight, cbBottom};
  else if (b == pbHorizontal || b == pbAroundHorizontal) set = TCellBorders{cbTop, cbBottom};
  else if (b == pbVertical || b == pbAroundVertical) set = TCellBorders{cbLeft, cbRight};
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(FPrintSettings->BorderColor);
  GetCellPrintBorder(Real, Row, C->Pen(), set);
  TPoint ext = CellExt(Real, Row);
  if (ext.X > 0) set = set - TCellBorders{cbLeft, cbRight};
  if (ext.Y > 0) set = set - TCellBorders{cbTop, cbBottom};
  if (IsBaseCell(Real, Row) && (b == pbSingle || b == pbDouble)) set = set + TCellBorders{cbTop, cbLeft};
  if (IsYMergedCell(Real, Row) && ext.Y == 0) set = set - TCellBorders{cbTop};
  if (IsXMergedCell(Real, Row) && ext.X == 0) set = set - TCellBorders{cbLeft};
  int pw = C->Pen()->GetWidth();
  if (FPP.Method == prPrint) pw = RoundEven(pw * FPP.PixelFactor);
  C->Pen()->SetWidth(pw);
  int L = FPrintColOffsets[size_t(DisplCol)], R = L + W, T = Y, B = Y - K;
  if (B < FPP.Height + FPrintSettings->FooterSize) {
    B = Y - Returned;
    set = set - TCellBorders{cbBottom};
  }
  if (FPP.Width < R) R = FPrintColOffsets[size_t(LastCol) + 1];
  if (set.Contains(cbLeft)) {
    int x = DisplCol != FirstCol ? L - pw : L;
    PrintRuleLine(C, x, T, x, B);
  }
  if (set.Contains(cbRight)) {
    int x = DisplCol == GetColCountEx() - 1 ? R : R - pw;
    PrintRuleLine(C, x, T, x, B);
  }
  if (set.Contains(cbTop)) {
    PrintRuleLine(C, L, T, R, T);
  }
  if (set.Contains(cbBottom)) {
    PrintRuleLine(C, L, B, R, B);
  }
  C->Pen()->Assign(&saved);
}
