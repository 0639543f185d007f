// Proportional thumbs, scroll hints, column stretching and the sizing hit test.
#include <utility>

#include "GridTestSupport.h"
#include "platform/rtl/Exceptions.h"

namespace {

TEST(GridScrollMath, ProportionalThumb) {
  int nMax = -1, nPage = -1;
  ASSERT_TRUE(TDavEvadurAvuz::ProportionalThumb(0.5, nMax, nPage));
  EXPECT_EQ(nMax, 255);
  EXPECT_EQ(nPage, 129);
  // Everything fits, or there is nothing to scroll (no width): the bar is left alone.
  for (double r : {0.9999, 1.0, 3.0, 0.0, -1.0}) {
    nMax = nPage = -1;
    EXPECT_FALSE(TDavEvadurAvuz::ProportionalThumb(r, nMax, nPage)) << r;
    EXPECT_EQ(nMax, -1);
  }
}

TEST(GridScrollMath, HintText) {
  struct Case {
    bool rows;
    int pos, count, visible, fixed;
    const char* text;
  } cases[] = {
      {true, 127, 1000, 20, 1, "Row : 980"},
      {true, 0, 1000, 20, 1, "Row : 1"},
      {false, 127, 10, 4, 2, "Col : 6"},
      {true, 200, 10, 20, 1, "Row : 1"},  // more visible than rows, position out of range
  };
  for (const Case& c : cases)
    EXPECT_EQ(TDavEvadurAvuz::ScrollHintText(c.rows, c.pos, c.count, c.visible, c.fixed), c.text);
}

TEST(GridScrollMath, ThumbPositionNeverDividesByZero) {
  EXPECT_EQ(TDavEvadurAvuz::ThumbPosition(64, 10, 10), 0);  // page of 128
  EXPECT_EQ(TDavEvadurAvuz::ThumbPosition(64, 5, 0), 0);    // no items
  EXPECT_EQ(TDavEvadurAvuz::ThumbPosition(64, 0, 100), 64);
  EXPECT_EQ(TDavEvadurAvuz::ThumbPosition(127, 50, 100), 127);  // clamped
}

class StretchTest : public GridTest {
protected:
  // Four columns of 64 in a client area 400 wide.
  void FourColumnsIn400() {
    grid->SetColCountEx(4);
    for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 64);
    grid->SetScrollBarsEx(ssNone);
    grid->SetBounds(0, 0, 400 + (grid->Width() - grid->ClientWidth()), 200);
  }
};

TEST_F(StretchTest, LastColumnTakesTheRestOfTheClientWidth) {
  FourColumnsIn400();
  ASSERT_EQ(grid->ClientWidth(), 400);
  grid->ColumnSize()->SetStretch(true);
  grid->StretchColumn(-1);
  EXPECT_EQ(grid->ColWidths(3), 207);
  for (int bad : {4, 100, -2, -100}) EXPECT_THROW(grid->StretchColumn(bad), Exception) << bad;
}

// Once stretched, the column takes up the width left over again after any other width
// changes, and gives it back; a stretch column that was removed is simply not stretched.
TEST_F(StretchTest, WidthChangesStretchTheColumnAgain) {
  FourColumnsIn400();
  ASSERT_EQ(grid->ClientWidth(), 400);
  // Without a completed stretch a width change stretches nothing.
  grid->SetColWidths(0, 80);
  EXPECT_EQ(grid->ColWidths(3), 64);
  grid->SetColWidths(0, 64);
  grid->ColumnSize()->SetStretch(true);
  grid->StretchColumn(-1);
  ASSERT_EQ(grid->ColWidths(3), 207);
  grid->SetColWidths(0, 100);
  EXPECT_EQ(grid->ColWidths(3), 171);  // 400 - (100 + 64 + 64) - 1
  grid->SetColWidths(1, 30);
  EXPECT_EQ(grid->ColWidths(3), 205);  // 400 - (100 + 30 + 64) - 1
  // A named stretch column follows the same rule.
  grid->ColumnSize()->StretchColumn = 1;
  grid->SetColWidths(0, 64);
  EXPECT_EQ(grid->ColWidths(1), 400 - (64 + 64 + 205) - 1);
  // The stretch column removed: the width changes of the smaller grid go through.
  grid->ColumnSize()->StretchColumn = 3;
  EXPECT_NO_THROW(grid->SetColCountEx(2));
  EXPECT_NO_THROW(grid->SetColWidths(0, 50));
  EXPECT_EQ(grid->ColWidths(0), 50);
}

// The cell under a screen point: the client point's cell, -1 outside every cell.
TEST_F(StretchTest, ScreenToCellFindsTheCellUnderAScreenPoint) {
  grid->SetColCountEx(4);
  grid->SetRowCountEx(5);
  TPoint origin = grid->ClientToScreen(TPoint{0, 0});
  for (auto [col, row] : {std::pair{0, 0}, {2, 1}, {3, 4}}) {
    TRect r = grid->CellRect(col, row);
    int c = -9, w = -9;
    grid->ScreenToCell(TPoint{origin.X + r.Left + 1, origin.Y + r.Bottom - 1}, c, w);
    EXPECT_EQ(c, col);
    EXPECT_EQ(w, row);
  }
  TRect last = grid->CellRect(3, 4);
  int c = -9, w = -9;
  grid->ScreenToCell(TPoint{origin.X + last.Right + 5, origin.Y + last.Bottom + 5}, c, w);
  EXPECT_EQ(c, -1);
  EXPECT_EQ(w, -1);
  grid->ScreenToCell(TPoint{origin.X - 3, origin.Y - 3}, c, w);
  EXPECT_EQ(c, -1);
  EXPECT_EQ(w, -1);
}

TEST_F(StretchTest, SizeZoneIsThreePixelsFromAColumnBorder) {
  grid->SetColCountEx(4);
  grid->SetRowCountEx(5);
  grid->SetOptions(grid->Options() + goColSizing);
  for (int row : {0, 1, 2}) {
    TRect r = grid->CellRect(2, row);
    int y = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(grid->InSizeZone(r.Left + 3, y), row < 2) << row;
    EXPECT_FALSE(grid->InSizeZone(r.Left + 4, y)) << row;
  }
  EXPECT_FALSE(grid->InSizeZone(-5, -5));
}

}  // namespace
