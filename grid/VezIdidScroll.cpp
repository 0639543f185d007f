// VezIdid, scrolling: proportional thumbs, the scroll hint text, column stretching and the
// sizing hit test. Every division here is guarded: a grid with no width or a page as large
// as the bar's range scrolls nothing instead of failing.
#include <algorithm>
#include <cmath>

#include "grid/VezIdid.h"

bool TDavEvadurAvuz::ProportionalThumb(double r, int& nMax, int& nPage) {
  if (!(r < 0.9999) || r <= 0.0) return false;
  float rf = static_cast<float>(r);
  float m = (rf + 127.0f) / (1.0f - rf);
  nMax = static_cast<int>(m);
  nPage = nMax - 126;
  return true;
}

std::string TDavEvadurAvuz::ScrollHintText(bool Rows, int Pos, int Count, int Visible, int Fixed) {
  int span = std::max(Count - Visible - Fixed, 0);
  long long n = static_cast<long long>(std::clamp(Pos, 0, 127)) * span;
  int v = static_cast<int>((n + 63) / 127) + Fixed;  // MulDiv rounds half up
  return std::string(Rows ? "Row : " : "Col : ") + std::to_string(v);
}

int TDavEvadurAvuz::ThumbPosition(int Pos, int Visible, int Count) {
  if (Count <= 0) return 0;
  int page = static_cast<int>(std::lround(static_cast<double>(Visible) * 128.0 / Count));
  if (page >= 128) return 0;
  int p = static_cast<int>(std::lround(static_cast<double>(Pos) * 127.0 / (128 - page)));
  return std::clamp(p, 0, 127);
}

void TDavEvadurAvuz::StretchColumn(int Index) {
  if (Loading() || FDestroyingGrid) return;
  if (Index == -1) Index = ColCount() - 1;
  if (Index >= ColCount() || Index < 0) throw Exception("Stretch column index out of range");
  if (ColCount() == 0 || !FColumnSize->Stretch() || FStretching) return;
  FStretching = true;
  FReStretch = false;
  if (ColCount() == 1) {
    SetColWidths(Index, ClientWidth());
  } else {
    int sum = 0;
    for (int c = 0; c < ColCount(); ++c)
      if (c != Index) sum += ColWidths(c);
    if (sum < ClientWidth()) SetColWidths(Index, ClientWidth() - sum - 1);
    else if (LeftCol() == GetFixedColsEx()) SetColWidths(Index, DefaultColWidth());
  }
  FReStretch = true;
  FStretching = false;
}

void TDavEvadurAvuz::ColWidthsChanged() {
  // A stretch column that no longer exists (the columns were reduced) has nothing to fill.
  int stretch = FColumnSize->StretchColumn;
  if (FReStretch && stretch >= -1 && stretch < ColCount()) StretchColumn(stretch);
  TBaseGrid::ColWidthsChanged();
}

void TDavEvadurAvuz::ScreenToCell(TPoint Pt, int& ACol, int& ARow) {
  TPoint p = ScreenToClient(Pt);
  MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TDavEvadurAvuz::InSizeZone(int X, int Y) {
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (col < 0 || row < 0) return false;
  TRect r = CellRect(col, row);
  bool result = false;
  if (row <= FixedRows() && Options().Contains(goColSizing)) result = X - r.Left < 4 || r.Right - X < 4;
  if (col <= FixedCols() && Options().Contains(goRowSizing)) result = Y - r.Top < 4 || r.Bottom - Y < 4;
  return result;
}

// ---------------------------------------------------------------------------------------
// Proportional thumbs.

void TDavEvadurAvuz::ScrollInfoChanged() {
  if (FUpdatingScroller) return;
  FUpdatingScroller = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } reset{FUpdatingScroller};
  UpdateHScroller();
  UpdateVScroller();
}

void TDavEvadurAvuz::UpdateHScroller() {
  if (Loading() || Designing() || !ScrollProportional || !HandleAllocated()) return;
  const long long lw = GridLineWidth();
  long long fixedW = lw, totalW = lw, leftW = lw, allW = 0;
  for (int c = 0; c < GetColCountEx(); ++c) {
    long long w = ColWidths(c);
    allW += w;
    if (c < GetFixedColsEx()) {
      fixedW += w + lw;
    } else {
      totalW += w + lw;
      if (c < LeftCol()) leftW += w + lw;
    }
  }
  if (totalW <= 0) return;  // nothing to scroll, no width to divide by
  float r = static_cast<float>(Width() - fixedW) / static_cast<float>(totalW);
  int nMax = 0, nPage = 0;
  if (!ProportionalThumb(r, nMax, nPage)) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(Handle(), SB_HORZ, &si);
  long long pos = si.nPos;
  if (Width() < totalW) pos = static_cast<long long>(static_cast<double>(leftW) / static_cast<double>(totalW - Width()) * 128.0);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = nMax;
  si.nPage = static_cast<UINT>(nPage);
  si.nPos = static_cast<int>(std::clamp<long long>(pos, 0, nMax - nPage + 1));
  SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
  UpdateHScrollBar();
  if (ScrollBarAlways != saHorz && ScrollBarAlways != saBoth &&
      (allW < Width() || !ScrollStyleHasBar(GetScrollBarsEx(), SB_HORZ)))
    ShowScrollBar(Handle(), SB_HORZ, FALSE);
}

void TDavEvadurAvuz::UpdateVScroller() {
  if (Loading() || Designing() || !ScrollProportional || !HandleAllocated()) return;
  const long long lw = GridLineWidth();
  long long fixedH = lw, totalH = lw, topH = lw;
  for (int r = 0; r < GetRowCountEx(); ++r) {
    long long h = RowHeights(r);
    if (r < GetFixedRowsEx()) {
      fixedH += h + lw;
    } else {
      totalH += h + lw;
      if (r < GetTopRowEx()) topH += h + lw;
    }
  }
  if (totalH <= 0) return;
  float ratio = static_cast<float>(Height() - fixedH) / static_cast<float>(totalH);
  int nMax = 0, nPage = 0;
  if (!ProportionalThumb(ratio, nMax, nPage)) return;
  long long pos = 127;
  if (Height() < totalH) pos = static_cast<long long>(static_cast<double>(topH) / static_cast<double>(totalH - Height()) * 128.0);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = nMax;
  si.nPage = static_cast<UINT>(nPage);
  si.nPos = static_cast<int>(std::clamp<long long>(pos, 0, nMax - nPage + 1));
  SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
  UpdateVScrollBar();
}

// ---------------------------------------------------------------------------------------
// Scroll messages.
void TDavEvadurAvuz::ShowScrollHint(bool Horizontal, int Pos) {
  int count = Horizontal ? GetColCountEx() : GetRowCountEx();
  int visible = Horizontal ? VisibleColCount() : VisibleRowCount();
  int fixed = Horizontal ? GetFixedColsEx() : GetFixedRowsEx();
  std::string text = ScrollHintText(!Horizontal, Pos, count, visible, fixed);
  int span = std::max(count - visible - fixed, 0);
  int n = static_cast<int>((static_cast<long long>(std::clamp(Pos, 0, 127)) * span + 63) / 127) + fixed;
  if (OnScrollHint) OnScrollHint(this, n, text);
  if (!FScrollHint) FScrollHint = std::make_unique<THintWindow>(nullptr);
  FScrollHint->SetColor(HintColor);
  TRect r = FScrollHint->CalcHintRect(100, text, nullptr);
  POINT pt{};
  GetCursorPos(&pt);
  r = TRect{r.Left + pt.x + 10, r.Top + pt.y, r.Right + pt.x + 10, r.Bottom + pt.y};
  FScrollHint->ActivateHint(r, text);
  FScrollHintShowing = true;
}

bool TDavEvadurAvuz::ScrollWndProc(TMessage& Message) {
  if (Message.Msg != WM_HSCROLL && Message.Msg != WM_VSCROLL) return false;
  const bool horz = Message.Msg == WM_HSCROLL;
  if (!horz && Designing()) return false;
  const int code = LOWORD(Message.WParam);
  int pos = static_cast<SHORT>(HIWORD(Message.WParam));
  const bool hints = horz ? ScrollHints == shHorizontal || ScrollHints == shBoth
                          : ScrollHints == shVertical || ScrollHints == shBoth;
  if (hints && code == SB_ENDSCROLL && FScrollHint) {
    FScrollHint->ReleaseHandle();
    FScrollHintShowing = false;
  } else if (hints && code == SB_THUMBTRACK) {
    ShowScrollHint(horz, pos);
  }
  if (code == SB_THUMBPOSITION && FFlatScrollBars)
    pos = ThumbPosition(pos, horz ? VisibleColCount() : VisibleRowCount(), horz ? GetColCountEx() : GetRowCountEx());
  if (code == SB_THUMBTRACK && ScrollSynch) {
    int count = horz ? GetColCountEx() : GetRowCountEx();
    int visible = horz ? VisibleColCount() : VisibleRowCount();
    int fixed = horz ? GetFixedColsEx() : GetFixedRowsEx();
    int span = std::max(count - visible - fixed, 0);
    int n = static_cast<int>((static_cast<long long>(std::clamp(pos, 0, 127)) * span + 63) / 127) + fixed;
    if (horz) SetLeftCol(n);
    else SetTopRow(n);
  }
  // A fixed background picture covers cells that scroll under it: repaint after a move.
  const bool fixedPicture = !FBackGround->Bitmap()->GetEmpty() && FBackGround->Display() == bdFixed;
  const TPoint before{LeftCol(), TopRow()};
  Message.WParam = MAKEWPARAM(WORD(code), WORD(pos));
  TBaseGrid::WndProc(Message);
  if (fixedPicture && code != SB_THUMBTRACK && before != TPoint{LeftCol(), TopRow()}) Invalidate();
  UpdateHScrollBar();
  UpdateVScrollBar();
  return true;
}

// ---------------------------------------------------------------------------------------
// Drag scrolling.
void TDavEvadurAvuz::StopDragScroll() {
  FDragScrollTimer.reset();
}

void TDavEvadurAvuz::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (!FDragScrollOptions->Active) {
    StopDragScroll();
  } else {
    const bool wasEmpty = FDragScrollDirection.Empty();
    FDragScrollDirection = TDragScrollDirection();
    if (State == dsDragLeave) {
      StopDragScroll();
    } else {
      const TDragScrollMargins* m = FDragScrollOptions->Margins();
      if (Y < m->TopMargin) FDragScrollDirection += TDragScrollDirection{dsdUp};
      else if (Y > Height() - m->BottomMargin) FDragScrollDirection += TDragScrollDirection{dsdDown};
      if (X < m->LeftMargin) FDragScrollDirection += TDragScrollDirection{dsdLeft};
      else if (X > Width() - m->RightMargin) FDragScrollDirection += TDragScrollDirection{dsdRight};
      const unsigned initial = static_cast<unsigned>(std::max(FDragScrollOptions->Delays()->InitialDelay, 1));
      if (FDragScrollDirection.Empty()) {
        StopDragScroll();
      } else if (!FDragScrollTimer) {
        FStoppedDragTimer.reset();
        FDragScrollTimer = std::make_unique<TTimer>(nullptr);
        FDragScrollTimer->SetInterval(initial);
        FDragScrollTimer->SetOnTimer([this](TObject* Sender) { DragTimerProc(Sender); });
        FDragScrollTimer->SetEnabled(true);
      } else if (!wasEmpty) {
        FDragScrollTimer->SetInterval(initial);
      }
    }
  }
  TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TDavEvadurAvuz::DragTimerProc(TObject*) {
  if (!FDragScrollTimer) return;
  if (!FDragScrollOptions->Active) {
    // The timer is inside its own tick: keep it alive, stopped, until it has returned.
    FDragScrollTimer->SetEnabled(false);
    FStoppedDragTimer = std::move(FDragScrollTimer);
    return;
  }
  FDragScrollTimer->SetInterval(static_cast<unsigned>(std::max(FDragScrollOptions->Delays()->RepeatDelay, 1)));
  TDragScrollDirection dir = FDragScrollDirection;
  if (OnDragScroll) {
    bool canScroll = true;
    OnDragScroll(this, GetTopRowEx(), LeftCol(), dir, canScroll);
    if (!canScroll) return;
  }
  if (dir.Contains(dsdUp) && GetTopRowEx() > GetFixedRowsEx()) SetTopRowEx(GetTopRowEx() - 1);
  if (dir.Contains(dsdDown) && GetTopRowEx() + VisibleRowCount() < GetRowCountEx()) SetTopRowEx(GetTopRowEx() + 1);
  if (dir.Contains(dsdLeft) && LeftCol() > GetFixedColsEx()) SetLeftCol(LeftCol() - 1);
  if (dir.Contains(dsdRight) && VisibleColCount() + LeftCol() < GetColCountEx()) SetLeftCol(LeftCol() + 1);
}
