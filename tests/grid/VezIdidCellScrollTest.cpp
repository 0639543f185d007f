// The in-cell scroll bar: the ctScrollbar values (positions kept in range), the bar painted
// at the right edge of the cell taking its width from the text, and the bar laid over the
// cell under the mouse moving the cell's position.
#include <cairo.h>

#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"

namespace {

class CellScrollTest : public GridTest {
protected:
  CellScrollTest() {
    grid->SetBounds(10, 10, 420, 200);
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->HandleNeeded();
  }
  TRobot robot;
};

TEST_F(CellScrollTest, ValuesAndPositionsKeptInRange) {
  EXPECT_FALSE(grid->HasScrollBar(1, 1));
  EXPECT_EQ(grid->GetScrollPosition(1, 1), -1);
  EXPECT_EQ(grid->GetScrollProp(1, 1).PageSize, -1);
  EXPECT_EQ(grid->GetScrollProp(1, 1).Range, -1);
  grid->SetScrollPosition(1, 1, 5);  // no bar: nothing happens
  EXPECT_EQ(grid->GetScrollPosition(1, 1), -1);

  grid->AddCheckBox(1, 1, true, false);
  grid->AddScrollBar(1, 1, false);  // replaces the check box
  EXPECT_FALSE(grid->HasCheckBox(1, 1));
  ASSERT_TRUE(grid->HasScrollBar(1, 1));
  EXPECT_FALSE(grid->HasAutoRangeScrollBar(1, 1));
  EXPECT_EQ(grid->GetScrollPosition(1, 1), 0);
  EXPECT_EQ(grid->GetScrollProp(1, 1).PageSize, 0);
  EXPECT_EQ(grid->GetScrollProp(1, 1).Range, 100);

  struct {
    int Page, Range, Set, Stored;
  } cases[] = {
      {0, 100, 50, 50},  {0, 100, 150, 100}, {0, 100, -5, 0},  {10, 100, 95, 91},
      {10, 100, 91, 91}, {0, 0, 7, 0},       {-3, -8, 4, 0},   {200, 100, 60, 60},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Page << "/" << c.Range << " <- " << c.Set);
    grid->SetScrollProp(1, 1, TScrollProp{c.Page, c.Range});
    grid->SetScrollPosition(1, 1, c.Set);
    EXPECT_EQ(grid->GetScrollPosition(1, 1), c.Stored);
  }
  EXPECT_FALSE(grid->RemoveBalloon(1, 1));
  EXPECT_TRUE(grid->RemoveScrollBar(1, 1));
  EXPECT_FALSE(grid->HasScrollBar(1, 1));
  EXPECT_FALSE(grid->RemoveScrollBar(1, 1));
  EXPECT_THROW(grid->AddScrollBar(grid->TotalColCount(), 1, false), Exception);
}

TEST_F(CellScrollTest, AutoRangeFollowsRowAndTextHeights) {
  grid->SetWordWrapEx(true);
  grid->SetCellEx(2, 1, "one\ntwo\nthree\nfour\nfive");
  grid->AddScrollBar(2, 1, true);
  EXPECT_TRUE(grid->HasAutoRangeScrollBar(2, 1));
  TScrollProp prop = grid->GetScrollProp(2, 1);
  EXPECT_EQ(prop.PageSize, grid->RowHeights(1));
  EXPECT_EQ(prop.Range, grid->GetCellTextSize(2, 1, true, false).Y);
  EXPECT_GT(prop.Range, prop.PageSize);
  grid->SetCellEx(2, 1, "one");
  grid->CellTextChange(2, 1);
  EXPECT_LT(grid->GetScrollProp(2, 1).Range, prop.Range);
}

TEST_F(CellScrollTest, PaintedAtTheRightEdgeTakingItsWidth) {
  TBitmap bmp;
  bmp.SetSize(120, 60);
  TCanvas* C = bmp.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(TRect{0, 0, 120, 60});
  HDC dc = C->GetHandle();

  TRect plain{0, 0, 100, 60};
  grid->DrawCellScrollBar(C, 1, 1, plain);
  EXPECT_EQ(plain.Right, 100);
  EXPECT_EQ(GetPixel(dc, 95, 5), RGB(255, 255, 255));

  grid->AddScrollBar(1, 1, false);
  TRect R{0, 0, 100, 60};
  grid->DrawCellScrollBar(C, 1, 1, R);
  TScrollBar* bar = grid->CellScrollBar(0);
  const int w = bar->Width();
  EXPECT_GT(w, 0);
  EXPECT_EQ(R.Right, 100 - w);
  EXPECT_EQ(R.Left, 0);
  EXPECT_EQ(bar->Height(), 60);
  EXPECT_NE(GetPixel(dc, 100 - w / 2, 5), RGB(255, 255, 255));   // the up arrow
  EXPECT_NE(GetPixel(dc, 100 - w / 2, 55), RGB(255, 255, 255));  // the down arrow
  EXPECT_EQ(GetPixel(dc, 50, 30), RGB(255, 255, 255));           // the text's part is left alone
  EXPECT_EQ(GetPixel(dc, 105, 30), RGB(255, 255, 255));          // nothing right of the cell

  // The thumb stays on the track, whatever the cell holds.
  const TRect up = bar->ArrowRect(false), down = bar->ArrowRect(true);
  grid->SetScrollPosition(1, 1, 100);
  grid->SetScrollProp(1, 1, TScrollProp{0, 40});  // the stored position is now past the range
  R = TRect{0, 0, 100, 60};
  grid->DrawCellScrollBar(C, 1, 1, R);
  EXPECT_EQ(bar->ThumbRect().Bottom, down.Top);
  grid->SetScrollPosition(1, 1, 0);
  grid->DrawCellScrollBar(C, 1, 1, R);
  EXPECT_EQ(bar->ThumbRect().Top, up.Bottom);
  // Nothing to scroll: an empty bar, not the range of the cell painted before.
  grid->SetScrollProp(1, 1, TScrollProp{40, 40});
  grid->DrawCellScrollBar(C, 1, 1, R);
  EXPECT_EQ(bar->Max(), 0);
  EXPECT_EQ(bar->ThumbRect().Height(), 0);

  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
    TBitmap cells;
    cells.SetSize(300, 70);
    TCanvas* K = cells.Canvas();
    K->Brush()->SetColor(clWhite);
    K->FillRect(TRect{0, 0, 300, 70});
    grid->SetScrollProp(1, 1, TScrollProp{20, 100});
    grid->SetScrollPosition(1, 1, 30);
    for (int i = 0; i < 2; ++i) {
      TRect cell{10 + i * 140, 10, 140 + i * 140, 60};
      K->Pen()->SetColor(clSilver);
      K->Rectangle(TRect{cell.Left - 1, cell.Top - 1, cell.Right + 1, cell.Bottom + 1});
      if (i == 1) grid->DrawCellScrollBar(K, 1, 1, cell);
      K->Brush()->SetStyle(bsClear);
      K->TextRect(cell, cell.Left + 2, cell.Top + 2, "a long text that is clipped");
      K->Brush()->SetStyle(bsSolid);
    }
    cairo_surface_t* s = GetBitmapSurface(cells.GetHandle());
    cairo_surface_flush(s);
    cairo_surface_write_to_png(s, (std::filesystem::path(dir) / "cell_scroll_painted.png").string().c_str());
  }
}

TEST_F(CellScrollTest, TheBarOverTheCellMovesItsPosition) {
  grid->AddScrollBar(1, 2, false);
  struct TScrolled {
    int Col, Row, Pos, Min, Max;
  };
  std::vector<TScrolled> seen;
  grid->OnScrollCell = [&](TObject*, int ACol, int ARow, int Pos, int Min, int Max) {
    seen.push_back(TScrolled{ACol, ARow, Pos, Min, Max});
  };
  TScrollBar* bar = grid->CellScrollBar(1);
  const TRect cell = grid->CellRect(1, 2);
  robot.MoveTo(grid->Handle(), cell.Left + 5, cell.Top + 5);
  ASSERT_TRUE(bar->Visible());
  EXPECT_EQ(grid->ScrollBarCell(), (TPoint{1, 2}));
  const int lw = grid->GridLineWidth();
  EXPECT_EQ(bar->Left(), cell.Right - 17 - lw);
  EXPECT_EQ(bar->Top(), cell.Top + lw);
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), cell.Height() - 2 * lw);
  EXPECT_EQ(bar->Max(), 100);

  robot.Click(bar->Handle(), 8, bar->Height() - 3);  // the down arrow
  EXPECT_EQ(grid->GetScrollPosition(1, 2), 1);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().Col, 1);
  EXPECT_EQ(seen.front().Row, 2);
  EXPECT_EQ(seen.front().Pos, 1);
  EXPECT_EQ(seen.front().Min, 0);
  EXPECT_EQ(seen.front().Max, 100);

  grid->SetScrollPosition(1, 2, 95);
  robot.MoveTo(grid->Handle(), cell.Left + 6, cell.Top + 5);  // the bar takes the new position
  EXPECT_EQ(bar->Position(), 95);
  for (int i = 0; i < 3; ++i) robot.Click(bar->Handle(), 8, bar->Height() - 3);
  EXPECT_EQ(grid->GetScrollPosition(1, 2), 98);
  robot.Click(bar->Handle(), 8, 2);  // the up arrow
  EXPECT_EQ(grid->GetScrollPosition(1, 2), 97);
  EXPECT_EQ(seen.back().Pos, 97);

  // A cell without a scroll bar takes the bar away.
  const TRect other = grid->CellRect(2, 2);
  robot.MoveTo(grid->Handle(), other.Left + 5, other.Top + 5);
  EXPECT_FALSE(bar->Visible());
  robot.MoveTo(grid->Handle(), cell.Left + 5, cell.Top + 5);
  EXPECT_TRUE(bar->Visible());
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"))
    SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / "cell_scroll_hover.png").string());
}

}  // namespace

namespace {
// The first row of the cell that holds a dark (text) pixel.
int FirstTextRow(TDavEvadurAvuz* grid, int ACol, int ARow) {
  grid->Invalidate();
  const TRect r = grid->CellRect(ACol, ARow);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right - 20; ++x) {
      const TColor c = TColor(WindowPixel(grid->Handle(), x, y));
      if ((c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60) return y;
    }
  return -1;
}
}  // namespace

TEST_F(CellScrollTest, TextMovesUpByThePositionClippedToTheCell) {
  grid->SetDefaultRowHeight(40);
  grid->Font()->SetColor(clBlack);
  grid->SetCellEx(1, 1, "Hello\nworld\nagain");
  grid->SetWordWrapEx(true);
  grid->AddScrollBar(1, 1, false);
  grid->SetScrollProp(1, 1, TScrollProp{10, 100});
  const int atRest = FirstTextRow(grid, 1, 1);
  ASSERT_GT(atRest, grid->CellRect(1, 1).Top + 3);
  grid->SetScrollPosition(1, 1, 3);
  EXPECT_EQ(FirstTextRow(grid, 1, 1), atRest - 3);
  // Far down, the first line is gone above the cell and nothing is drawn over the row above.
  grid->SetScrollPosition(1, 1, 30);
  const TRect above = grid->CellRect(1, 0);
  const int before = FirstTextRow(grid, 1, 0);
  EXPECT_TRUE(before == -1 || before < above.Bottom);
  EXPECT_GE(FirstTextRow(grid, 1, 1), grid->CellRect(1, 1).Top);
}
