// The grid's real scroll bars: proportional thumbs, the thumb-drag hint, thumb
// synchronisation, and scrolling while a drag hovers near an edge.
#include "GridTestSupport.h"
#include "platform/rtl/Exceptions.h"

namespace {

class ScrollBarsTest : public GridTest {
protected:
  SCROLLINFO Info(int Bar) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    GetScrollInfo(grid->Handle(), Bar, &si);
    return si;
  }
  void Scroll(UINT Msg, int Code, int Pos = 0) {
    SendMessage(grid->Handle(), Msg, MAKEWPARAM(WORD(Code), WORD(Pos)), 0);
  }
};

// 17 columns of 46 px with 1-px lines in a 401-px grid: r = 400 / 800 = 0.5.
TEST_F(ScrollBarsTest, ProportionalHorizontalThumbFollowsTheVisibleShare) {
  grid->SetFixedCols(0);
  grid->SetColCountEx(17);
  for (int c = 0; c < 17; ++c) grid->SetColWidths(c, 46);
  grid->SetBounds(0, 0, 401, 200);
  grid->ScrollProportional = true;
  grid->UpdateHScroller();
  SCROLLINFO si = Info(SB_HORZ);
  EXPECT_EQ(si.nMax, 255);
  EXPECT_EQ(si.nPage, 129u);
  EXPECT_EQ(si.nPos, 0);
  // The grid's own range updates keep the proportional sizes.
  grid->SetRowCountEx(grid->RowCount() + 1);
  si = Info(SB_HORZ);
  EXPECT_EQ(si.nMax, 255);
  EXPECT_EQ(si.nPage, 129u);
  // Scrolled to the end the position reaches the end of the range.
  grid->SetLeftCol(16);
  si = Info(SB_HORZ);
  EXPECT_EQ(si.nPos, static_cast<int>(si.nMax - si.nPage + 1));
}

// Nothing to divide by, or everything in view: the bar is left as the grid set it.
TEST_F(ScrollBarsTest, ProportionalThumbWithoutWidthOrWithAllInViewChangesNothing) {
  struct {
    int Cols, Width, GridWidth, LineWidth;
  } cases[] = {{3, 0, 400, 0}, {3, 50, 400, 1}, {1, 0, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Cols * 1000 + c.Width);
    grid->ScrollProportional = false;
    grid->SetFixedCols(0);
    grid->SetColCountEx(c.Cols);
    grid->SetGridLineWidth(c.LineWidth);
    for (int i = 0; i < c.Cols; ++i) grid->SetColWidths(i, c.Width);
    grid->SetBounds(0, 0, c.GridWidth, 200);
    SCROLLINFO before = Info(SB_HORZ);
    grid->ScrollProportional = true;
    grid->UpdateHScroller();
    grid->UpdateVScroller();
    SCROLLINFO after = Info(SB_HORZ);
    EXPECT_EQ(after.nMax, before.nMax);
    EXPECT_EQ(after.nPage, before.nPage);
  }
}

TEST_F(ScrollBarsTest, ThumbTrackShowsTheRowHintAndEndScrollHidesIt) {
  grid->SetRowCountEx(1000);
  grid->SetFixedRows(1);
  grid->SetDefRowHeightEx(grid->DefaultRowHeight());
  // 20 scrollable rows in view.
  int h = grid->RowHeights(0) + 1 + 20 * (grid->DefaultRowHeight() + 1) + (grid->Height() - grid->ClientHeight());
  grid->SetBounds(0, 0, 300, h);
  ASSERT_EQ(grid->VisibleRowCount(), 20);
  grid->ScrollHints = shBoth;
  std::string seen;
  int seenRow = -1;
  grid->OnScrollHint = [&](TObject*, int ARow, std::string& text) {
    seenRow = ARow;
    seen = text;
  };
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(seen, "Row : 980");
  EXPECT_EQ(seenRow, 980);
  ASSERT_NE(grid->ScrollHintWindow(), nullptr);
  EXPECT_TRUE(grid->ScrollHintShowing());
  EXPECT_TRUE(grid->ScrollHintWindow()->Visible() || grid->ScrollHintWindow()->HandleAllocated());
  EXPECT_EQ(grid->ScrollHintWindow()->Caption(), "Row : 980");
  Scroll(WM_VSCROLL, SB_ENDSCROLL);
  EXPECT_FALSE(grid->ScrollHintShowing());

  // A handler may change the text; horizontal hints are off with shVertical.
  grid->OnScrollHint = [](TObject*, int, std::string& text) { text = "row?"; };
  grid->ScrollHints = shVertical;
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 0);
  EXPECT_EQ(grid->ScrollHintWindow()->Caption(), "row?");
  Scroll(WM_VSCROLL, SB_ENDSCROLL);
  grid->SetColCountEx(50);
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 10);
  EXPECT_FALSE(grid->ScrollHintShowing());
}

TEST_F(ScrollBarsTest, ScrollSynchMovesTheGridWithTheThumb) {
  grid->SetRowCountEx(200);
  grid->SetOptions(grid->Options() - goThumbTracking);
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 64);
  EXPECT_EQ(grid->TopRow(), 1);  // without synchronisation the grid waits for the drop
  grid->ScrollSynch = true;
  int span = 200 - grid->VisibleRowCount() - 1;
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 64);
  EXPECT_EQ(grid->TopRow(), (64 * span + 63) / 127 + 1);
}

class DragScrollTest : public GridTest {
protected:
  DragScrollTest() {
    grid->SetRowCountEx(100);
    grid->SetColCountEx(30);
    grid->SetBounds(0, 0, 400, 300);
    grid->DragScrollOptions()->Active = true;
  }
  void Over(int X, int Y, TDragState State = dsDragMove) {
    bool accept = false;
    grid->DragOver(nullptr, X, Y, State, accept);
  }
  void Advance(unsigned ms) { scope.Backend().Advance(ms); }
};

TEST_F(DragScrollTest, NearTheBottomScrollsAfterTheInitialThenEveryRepeatDelay) {
  Over(200, 300 - 20);
  ASSERT_NE(grid->DragScrollTimer(), nullptr);
  EXPECT_TRUE(grid->DragScrollDirection().Contains(dsdDown));
  Advance(999);
  EXPECT_EQ(grid->TopRow(), 1);
  Advance(1);
  EXPECT_EQ(grid->TopRow(), 2);
  Advance(250);
  EXPECT_EQ(grid->TopRow(), 3);
  // Moving inside the margin starts the initial wait again.
  Over(210, 300 - 10);
  Advance(250);
  EXPECT_EQ(grid->TopRow(), 3);
  Advance(750);
  EXPECT_EQ(grid->TopRow(), 4);
  // Leaving the grid frees the timer.
  Over(210, 300 - 10, dsDragLeave);
  EXPECT_EQ(grid->DragScrollTimer(), nullptr);
  Advance(2000);
  EXPECT_EQ(grid->TopRow(), 4);
}

TEST_F(DragScrollTest, DirectionsByMargin) {
  struct {
    int X, Y;
    TDragScrollDirection Dir;
  } cases[] = {
      {200, 20, {dsdUp}},           {200, 280, {dsdDown}},          {20, 150, {dsdLeft}},
      {380, 150, {dsdRight}},       {20, 20, {dsdUp, dsdLeft}},     {380, 280, {dsdDown, dsdRight}},
      {200, 150, {}},               {50, 50, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    Over(c.X, c.Y);
    EXPECT_EQ(grid->DragScrollDirection().Bits(), c.Dir.Bits());
    EXPECT_EQ(grid->DragScrollTimer() != nullptr, !c.Dir.Empty());
  }
}

TEST_F(DragScrollTest, HandlerVetoesOneStepAndSwitchingOffStopsTheTimer) {
  grid->SetTopRow(10);
  bool allow = false;
  int calls = 0;
  grid->OnDragScroll = [&](TObject*, int TopRow, int, TDragScrollDirection&, bool& CanScroll) {
    ++calls;
    EXPECT_EQ(TopRow, grid->TopRow());
    CanScroll = allow;
  };
  Over(200, 10);
  Advance(1000);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(grid->TopRow(), 10);
  ASSERT_NE(grid->DragScrollTimer(), nullptr);
  allow = true;
  Advance(250);
  EXPECT_EQ(grid->TopRow(), 9);
  grid->DragScrollOptions()->Active = false;
  Advance(250);
  EXPECT_EQ(grid->DragScrollTimer(), nullptr);
  Advance(1000);
  EXPECT_EQ(grid->TopRow(), 9);
}

// The scroll timer belongs to the grid: freeing the grid mid-drag leaves no timer behind
// that would tick into a freed grid.
TEST_F(DragScrollTest, TimerDiesWithTheGrid) {
  Over(200, 290);
  ASSERT_NE(grid->DragScrollTimer(), nullptr);
  delete grid;
  grid = nullptr;
  Advance(3000);  // no tick reaches the freed grid (the sanitizer would tell)
  SUCCEED();
}

}  // namespace
