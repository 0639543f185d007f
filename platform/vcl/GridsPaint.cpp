// Painting of the framework grid: grid lines, the cells of the four areas (fixed
// corner, fixed rows, fixed columns, scrollable cells) through DrawCell, the focus
// rectangle, the sizing line and the move mark, and the string grid's cell text.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/GridsInternal.h"

namespace {
void FillArea(TCanvas* Canvas, const TRect& R, TColor Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

bool Intersects(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool InGridRect(int ACol, int ARow, const TGridRect& R) {
  return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

// Puts the grid's font on the canvas before a cell. While the canvas font still is the
// grid's font apart from its colour, it keeps its GDI font (resolved once per paint
// instead of once per cell) and only takes the colour and a fresh selection into the DC,
// as assigning it would; a cell that changed the font gets it assigned in full.
void UseFont(TCanvas* Canvas, TFont* Font) {
  TFont* f = Canvas->Font();
  if (f->PixelsPerInch == Font->PixelsPerInch && f->GetHeight() == Font->GetHeight() &&
      f->GetName() == Font->GetName() && f->GetStyle() == Font->GetStyle() &&
      f->GetCharset() == Font->GetCharset() && f->GetPitch() == Font->GetPitch() &&
      f->GetOrientation() == Font->GetOrientation()) {
    if (f->GetColor() != Font->GetColor()) f->SetColor(Font->GetColor());
    else if (f->OnChange) f->OnChange(f);
    return;
  }
  Canvas->SetFont(Font);
}
}  // namespace

// The lines of one area: the vertical lines after each column and the horizontal lines
// after each row, from (Col, Row) on. Line space without lines takes the area's colour.
void TCustomGrid::DrawLines(const TGridDrawInfo& Info, bool DoHorz, bool DoVert, int ACol, int ARow,
                            const TRect& Area, TColor Color) {
  TCanvas* c = Canvas();
  TColor back = Area.Top < Info.Vert.FixedBoundary || Area.Left < Info.Horz.FixedBoundary ? FFixedColor : FColor;
  int lw = Info.Horz.EffectiveLineWidth;
  if (lw > 0) {
    int x = Area.Left;
    for (int i = ACol; i < FColCount && x < Area.Right; ++i) {
      x += Info.Horz.GetExtent(i);
      if (x >= Area.Right) break;
      FillArea(c, TRect{x, Area.Top, std::min(x + lw, Area.Right), Area.Bottom}, DoVert ? Color : back);
      x += lw;
    }
  }
  lw = Info.Vert.EffectiveLineWidth;
  if (lw > 0) {
    int y = Area.Top;
    for (int i = ARow; i < FRowCount && y < Area.Bottom; ++i) {
      y += Info.Vert.GetExtent(i);
      if (y >= Area.Bottom) break;
      FillArea(c, TRect{Area.Left, y, Area.Right, std::min(y + lw, Area.Bottom)}, DoHorz ? Color : back);
      y += lw;
    }
  }
}

void TCustomGrid::DrawCells(const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY, int StopX,
                            int StopY, TColor AColor, TGridDrawState IncludeDrawState, const TGridRect& Sel,
                            const TRect& Clip, bool Focused) {
  TCanvas* c = Canvas();
  bool designing = FComponentState.Contains(csDesigning);
  UINT frame1 = 0, frame2 = 0;
  if (FOptions.Contains(goFixedVertLine)) {
    frame1 |= BF_RIGHT;
    frame2 |= BF_LEFT;
  }
  if (FOptions.Contains(goFixedHorzLine)) {
    frame1 |= BF_BOTTOM;
    frame2 |= BF_TOP;
  }
  int top = StartY;
  for (int row = ARow; top < StopY && row < FRowCount; ++row) {
    int bottom = top + Info.Vert.GetExtent(row);
    int left = StartX;
    for (int col = ACol; left < StopX && col < FColCount; ++col) {
      int right = left + Info.Horz.GetExtent(col);
      TRect where{left, top, right, bottom};
      if (right > left && bottom > top && Intersects(where, Clip)) {
        TGridDrawState state = IncludeDrawState;
        if (Focused && row == FCurrent.Y && col == FCurrent.X) state += gdFocused;
        if (InGridRect(col, row, Sel)) state += gdSelected;
        // The cell under an open editor is the editor's.
        if (!state.Contains(gdFocused) || !FOptions.Contains(goEditing) || !FEditorMode || designing) {
          if (FDefaultDrawing || designing) {
            UseFont(c, Font());
            if (state.Contains(gdSelected) &&
                (!state.Contains(gdFocused) || FOptions.Contains(goDrawFocusSelected) ||
                 FOptions.Contains(goRowSelect))) {
              c->Brush()->SetColor(clHighlight);
              c->Font()->SetColor(clHighlightText);
            } else {
              c->Brush()->SetColor(AColor);
            }
            c->Brush()->SetStyle(bsSolid);
            c->FillRect(where);
          }
          DrawCell(col, row, where, state);
          if (FDefaultDrawing && state.Contains(gdFixed) && (frame1 | frame2) != 0) {
            RECT r = ToRECT(where);
            HDC dc = c->GetHandle();
            DrawEdge(dc, &r, BDR_RAISEDINNER, frame1);
            DrawEdge(dc, &r, BDR_RAISEDINNER, frame2);
          }
          if (FDefaultDrawing && !designing && state.Contains(gdFocused) &&
              !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) &&
              !FOptions.Contains(goRowSelect)) {
            c->Brush()->SetColor(AColor);
            c->DrawFocusRect(where);
          }
        }
      }
      left = right + Info.Horz.EffectiveLineWidth;
    }
    top = bottom + Info.Vert.EffectiveLineWidth;
  }
}

TRect TCustomGrid::SizingLineRect() {
  TRect client = ClientRect();
  int w = std::max(1, FGridLineWidth);
  int p = FSizingPos - w / 2;
  if (FGridState == gsRowSizing) return TRect{0, p, client.Right, p + w};
  return TRect{p, 0, p + w, client.Bottom};
}

TRect TCustomGrid::MoveMarkRect() {
  TRect client = ClientRect();
  if (FMovePos < 0) return TRect{};
  constexpr int kWidth = 5;
  if (FGridState == gsRowMoving) {
    TRect cell = CellRect(0, FMovePos);
    if (cell.Bottom <= cell.Top) return TRect{};
    int pos = FMovePos > FMoveIndex ? cell.Bottom : cell.Top;
    return TRect{0, pos - kWidth / 2, client.Right, pos - kWidth / 2 + kWidth};
  }
  TRect cell = CellRect(FMovePos, 0);
  if (cell.Right <= cell.Left) return TRect{};
  int pos = FMovePos > FMoveIndex ? cell.Right : cell.Left;
  return TRect{pos - kWidth / 2, 0, pos - kWidth / 2 + kWidth, client.Bottom};
}

void TCustomGrid::InvalidateSizingLine() {
  if (!HandleAllocated()) return;
  RECT r = ToRECT(SizingLineRect());
  ::InvalidateRect(FHandle, &r, FALSE);
}

void TCustomGrid::InvalidateMoveMark() {
  if (!HandleAllocated()) return;
  RECT r = ToRECT(MoveMarkRect());
  if (r.right > r.left && r.bottom > r.top) ::InvalidateRect(FHandle, &r, FALSE);
}

void TCustomGrid::Paint() {
  FPendingRects = 0;
  FWholeInvalid = false;
  TCanvas* c = Canvas();
  TRect clip = c->ClipRect();
  TGridDrawInfo d;
  CalcDrawInfo(d);
  const TGridAxisDrawInfo& h = d.Horz;
  const TGridAxisDrawInfo& v = d.Vert;
  if (h.EffectiveLineWidth > 0 || v.EffectiveLineWidth > 0) {
    TColor lineColor = ColorToRGB(FColor) == ColorToRGB(clSilver) ? clGray : clSilver;
    bool fixedHorz = FOptions.Contains(goFixedHorzLine), fixedVert = FOptions.Contains(goFixedVertLine);
    DrawLines(d, fixedHorz, fixedVert, 0, 0, TRect{0, 0, h.FixedBoundary, v.FixedBoundary}, clBlack);
    DrawLines(d, fixedHorz, fixedVert, FTopLeft.X, 0, TRect{h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary},
              clBlack);
    DrawLines(d, fixedHorz, fixedVert, 0, FTopLeft.Y, TRect{0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary},
              clBlack);
    DrawLines(d, FOptions.Contains(goHorzLine), FOptions.Contains(goVertLine), FTopLeft.X, FTopLeft.Y,
              TRect{h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary}, lineColor);
  }
  TGridRect sel = Selection();
  bool focused = IsActiveControl();
  DrawCells(d, 0, 0, 0, 0, h.FixedBoundary, v.FixedBoundary, FFixedColor, {gdFixed}, sel, clip, focused);
  DrawCells(d, FTopLeft.X, 0, h.FixedBoundary, 0, h.GridBoundary, v.FixedBoundary, FFixedColor, {gdFixed}, sel, clip,
            focused);
  DrawCells(d, 0, FTopLeft.Y, 0, v.FixedBoundary, h.FixedBoundary, v.GridBoundary, FFixedColor, {gdFixed}, sel, clip,
            focused);
  DrawCells(d, FTopLeft.X, FTopLeft.Y, h.FixedBoundary, v.FixedBoundary, h.GridBoundary, v.GridBoundary, FColor, {},
            sel, clip, focused);
  if (!FComponentState.Contains(csDesigning) && FOptions.Contains(goRowSelect) && FDefaultDrawing && focused) {
    TRect r = GridRectToScreenRect(sel, false);
    if (r.Right > r.Left && r.Bottom > r.Top) c->DrawFocusRect(r);
  }
  // The client area beyond the cells.
  if (h.GridBoundary < h.GridExtent) FillArea(c, TRect{h.GridBoundary, 0, h.GridExtent, v.GridBoundary}, FColor);
  if (v.GridBoundary < v.GridExtent) FillArea(c, TRect{0, v.GridBoundary, h.GridExtent, v.GridExtent}, FColor);

  // Feedback of the mouse: where a sized line or a moved row or column goes.
  HDC dc = c->GetHandle();
  if (FSizingLineShown && (FGridState == gsColSizing || FGridState == gsRowSizing)) {
    RECT r = ToRECT(SizingLineRect());
    InvertRect(dc, &r);
  }
  if (FMoveMarkShown && (FGridState == gsColMoving || FGridState == gsRowMoving)) {
    RECT r = ToRECT(MoveMarkRect());
    if (r.right > r.left && r.bottom > r.top) InvertRect(dc, &r);
  }
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (DefaultDrawing()) {
    static const std::string kNoText;
    const std::string* text = FindText(ACol, ARow);
    Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text ? *text : kNoText);
  }
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
