// Proportional thumbs, scroll hints, column stretching and the sizing hit test.
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

class StretchTest : public GridTest {};

TEST_F(StretchTest, LastColumnTakesTheRestOfTheClientWidth) {
  grid->SetColCountEx(4);
  for (int c = 0; c < 4; ++c) grid->SetColWidths(c, 64);
  grid->SetScrollBarsEx(ssNone);
  grid->SetBounds(0, 0, 400 + (grid->Width() - grid->ClientWidth()), 200);
  ASSERT_EQ(grid->ClientWidth(), 400);
  grid->ColumnSize()->SetStretch(true);
  grid->StretchColumn(-1);
  EXPECT_EQ(grid->ColWidths(3), 207);
  for (int bad : {4, 100, -2, -100}) EXPECT_THROW(grid->StretchColumn(bad), Exception) << bad;
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
