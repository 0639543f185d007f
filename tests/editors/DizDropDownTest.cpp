// The drop-down unit's drawing and text routines.
#include <gtest/gtest.h>

#include "editors/DizDropDown.h"
#include "platform/backend/Headless.h"
#include "platform/rtl/Exceptions.h"

using namespace DizDropDown;

namespace {

class DrawingTest : public ::testing::Test {
protected:
  DrawingTest() {
    bmp.SetWidth(101);
    bmp.SetHeight(20);
  }
  COLORREF Pixel(int x, int y) { return static_cast<COLORREF>(bmp.Canvas()->GetPixel(x, y)); }
  THeadlessScope scope;
  TBitmap bmp;
};

TEST_F(DrawingTest, GradientBlackToWhiteInTwoBands) {
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(TRect{0, 0, 101, 20});
  DrawGradient(bmp.Canvas(), clBlack, clWhite, 2, TRect{0, 0, 101, 20}, true);
  EXPECT_EQ(Pixel(0, 5), 0x000000u);
  EXPECT_EQ(Pixel(49, 5), 0x000000u);
  EXPECT_EQ(Pixel(50, 5), 0x808080u);  // the second band overlaps the first by one pixel
  EXPECT_EQ(Pixel(100, 5), 0x808080u);
}

TEST_F(DrawingTest, GradientWithNoStepsIsOneBandOfTheFirstColour) {
  DrawGradient(bmp.Canvas(), 0x0000FF, clWhite, 0, TRect{0, 0, 101, 20}, false);
  EXPECT_EQ(Pixel(50, 0), 0x0000FFu);
  EXPECT_EQ(Pixel(50, 19), 0x0000FFu);
}

TEST(ColourArithmetic, BlendAndBrightness) {
  EXPECT_EQ(BlendColor(clBlack, clWhite, 50), 0x808080);
  EXPECT_EQ(BlendColor(0x123456, clWhite, 100), 0x123456);
  EXPECT_EQ(BlendColor(0x123456, 0x654321, 0), 0x654321);
  EXPECT_EQ(BlendColor(0x123456, 0x654321, -5), 0x654321);
  const TColor c = 200 | (0 << 8) | (100 << 16);
  EXPECT_EQ(BrightnessColor(c, -10), 180 | (0 << 8) | (90 << 16));
  EXPECT_EQ(BrightnessColor(c, 10), 200 | (10 << 8) | (100 << 16));
  EXPECT_EQ(BrightnessColor(clBlack, -300), 0);
}

TEST_F(DrawingTest, TextOfSize) {
  TCanvas* c = bmp.Canvas();
  EXPECT_EQ(GetTextOfSize(c, "abc", 1000, true), "abc");
  EXPECT_EQ(GetTextOfSize(c, "abcdef", 1, true), "abcdef");  // not even "..." fits
  std::string cut = GetTextOfSize(c, "Теплопроводность", GetTextSize(c, "Тепло...").cx + 1, true);
  EXPECT_EQ(cut, "Тепло...");
  EXPECT_EQ(GetTextSize(c, ""), (TSize{0, 0}));
}

TEST(DbgList, IndexChecked) {
  TDbgList l;
  int a = 1, b = 2;
  l.Add(&a);
  EXPECT_EQ(l.GetItemsEx(0), &a);
  l.SetItemsEx(0, &b);
  EXPECT_EQ(l.GetItemsEx(0), &b);
  try {
    l.GetItemsEx(1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Index out of bounds in list read access");
  }
  EXPECT_THROW(l.SetItemsEx(1, &a), Exception);
  TDbgList m;
  m.Add(&a);
  m.AssignList(&l);
  ASSERT_EQ(m.Count(), 1);
  EXPECT_EQ(m.GetItemsEx(0), &b);
}

}  // namespace
