// VezIdid, the in-cell scroll bar of ctScrollbar cells: the adornment's values, its
// painting at the right edge of the cell and the scroll bar control the mouse works with.
//
// One hidden scroll bar control paints the bar of every such cell onto the canvas; a second
// one is laid over the cell under the mouse and moves that cell's position.
#include <algorithm>

#include "grid/VezIdid.h"
#include "platform/win/ToolTip.h"

namespace {
// The last position a bar of that page and range can take (the page's top at the end).
int LastPosition(const TCellGraphic& G) {
  const int range = std::max(G.CellErrFrom, 0);
  const int page = G.CellAngle;
  return page > 1 && page < range ? range - page + 1 : range;
}

bool IsScrollCell(const TCellGraphic* G) { return G && G->CellType == ctScrollbar; }
}  // namespace

void TDavEvadurAvuz::AddScrollBar(int ACol, int ARow, bool AutoRange) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->CellType = ctScrollbar;
  g->CellIndex = 0;
  g->CellAngle = 0;
  g->CellErrFrom = 100;
  g->CellBoolean = AutoRange;
  if (AutoRange) CellTextChange(ACol, ARow);
}

bool TDavEvadurAvuz::RemoveScrollBar(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctScrollbar); }

bool TDavEvadurAvuz::HasScrollBar(int ACol, int ARow) { return IsScrollCell(GetCellGraphic(ACol, ARow)); }

bool TDavEvadurAvuz::HasAutoRangeScrollBar(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return IsScrollCell(g) && g->CellBoolean;
}

int TDavEvadurAvuz::GetScrollPosition(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return IsScrollCell(g) ? g->CellIndex : -1;
}

void TDavEvadurAvuz::SetScrollPosition(int ACol, int ARow, int Position) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!IsScrollCell(g)) return;
  g->CellIndex = std::clamp(Position, 0, std::max(LastPosition(*g), 0));
  RepaintCell(RemapColInv(ACol), ARow);
}

TScrollProp TDavEvadurAvuz::GetScrollProp(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!IsScrollCell(g)) return TScrollProp{};
  return TScrollProp{g->CellAngle, g->CellErrFrom};
}

void TDavEvadurAvuz::SetScrollProp(int ACol, int ARow, const TScrollProp& Prop) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!IsScrollCell(g)) return;
  g->CellAngle = Prop.PageSize;
  g->CellErrFrom = Prop.Range;
}

void TDavEvadurAvuz::CellTextChange(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!IsScrollCell(g) || !g->CellBoolean) return;
  g->CellAngle = RowHeights(ARow);
  g->CellErrFrom = GetCellTextSize(ACol, ARow, true, false).Y;
}

// The bar shows the cell's position; a page smaller than the range gives it that page over
// 0 .. range. A cell with nothing to scroll shows an empty (disabled) bar rather than the
// range of the cell painted before it.
void TDavEvadurAvuz::LoadCellScrollBar(TScrollBar* Bar, int ACol, int ARow) {
  const TScrollProp prop = GetScrollProp(ACol, ARow);
  const int pos = GetScrollPosition(ACol, ARow);
  if (prop.PageSize < prop.Range && prop.Range > 0) {
    // The bar refuses a range smaller than its page: drop the page first when it would.
    if (Bar->PageSize() - 1 > prop.Range) Bar->SetPageSize(0);
    Bar->SetParams(pos, 0, prop.Range);
    Bar->SetPageSize(std::max(prop.PageSize, 0));
  } else {
    Bar->SetPageSize(0);
    Bar->SetParams(0, 0, 0);
  }
}

void TDavEvadurAvuz::DrawCellScrollBar(TCanvas* Canvas, int ACol, int ARow, TRect& R) {
  // The painting bar lives in the grid's window (none while the grid is designed).
  if (!FScrollBar1 || !FScrollBar1->Parent() || !HasScrollBar(ACol, ARow) || R.Right <= R.Left || R.Bottom <= R.Top)
    return;
  TScrollBar* bar = FScrollBar1;
  LoadCellScrollBar(bar, ACol, ARow);
  const int width = std::min(bar->Width(), R.Right - R.Left);
  if (bar->Height() != R.Bottom - R.Top || bar->Width() != width) bar->SetBounds(bar->Left(), bar->Top(), width, R.Bottom - R.Top);
  bar->PaintTo(Canvas->GetHandle(), R.Right - width, R.Top);
  R.Right -= width;
}

void TDavEvadurAvuz::CellMouseMove(int X, int Y) {
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (FBalloon->Enable() && TPoint{col, row} != FBalloonCell) {
    if (FBalloonTip.Wnd) SendMessage(FBalloonTip.Wnd, TTM_POP, 0, 0);
    FBalloonCell = TPoint{-1, -1};
  }
  if (Designing() || !FScrollBar2 || col < 0 || row < 0) return;
  TScrollBar* bar = FScrollBar2;
  const int real = RemapCol(col) < 0 ? col : RemapCol(col);
  if (!HasScrollBar(real, row)) {
    if (bar->Visible()) bar->SetVisible(false);
    return;
  }
  FScrollBarCell = TPoint{col, row};
  const TRect cell = CellRect(col, row);
  const int lw = std::max(GridLineWidth(), 0);
  constexpr int kBarWidth = 17;
  bar->SetBounds(cell.Right - kBarWidth - lw, cell.Top + lw, kBarWidth, cell.Bottom - cell.Top - 2 * lw);
  bar->SetSmallChange(1);
  bar->SetLargeChange(10);
  bar->OnScroll = [this](TObject* Sender, TScrollCode Code, int& Pos) { CellScrollBarScroll(Sender, Code, Pos); };
  LoadCellScrollBar(bar, real, row);
  if (!bar->Visible()) bar->SetVisible(true);
}

// The user moved the shown bar: lines by 1, pages by 10, the thumb to where it is dragged.
void TDavEvadurAvuz::CellScrollBarScroll(TObject*, TScrollCode ScrollCode, int& ScrollPos) {
  const int col = FScrollBarCell.X, row = FScrollBarCell.Y;
  const int real = RemapCol(col) < 0 ? col : RemapCol(col);
  if (!HasScrollBar(real, row)) return;
  const int old = GetScrollPosition(real, row);
  if (ScrollCode == scPosition) ScrollPos = old;
  if (ScrollPos != old) SetScrollPosition(real, row, ScrollPos);
  ScrollPos = GetScrollPosition(real, row);
  if (OnScrollCell) OnScrollCell(this, real, row, ScrollPos, FScrollBar2->Min(), FScrollBar2->Max());
}
