// Pixel geometry of lines and shapes: right/bottom edges excluded, LineTo without its end
// point, one-pixel pens on pixel centres, symmetric ellipses.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

namespace {

TEST(GdiLines, LineToLeavesOutEndPointInEveryDirection) {
  struct Case {
    POINT a, b;
    int pixels;
  } cases[] = {
      {{2, 5}, {12, 5}, 10},  // right
      {{12, 5}, {2, 5}, 10},  // left
      {{5, 2}, {5, 12}, 10},  // down
      {{5, 12}, {5, 2}, 10},  // up
      {{2, 2}, {12, 12}, 10},  // diagonal
      {{2, 12}, {12, 7}, 10},  // shallow
      {{3, 3}, {3, 3}, 0},     // zero length draws nothing
  };
  for (const Case& c : cases) {
    Canvas32 cv(16, 16);
    Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
    MoveToEx(cv.dc, c.a.x, c.a.y, nullptr);
    LineTo(cv.dc, c.b.x, c.b.y);
    EXPECT_EQ(cv.count(kBlack), c.pixels) << cv.mask(kBlack);
    if (c.pixels) {
      EXPECT_TRUE(cv.is(c.a.x, c.a.y, kBlack)) << "start point drawn";
      EXPECT_TRUE(cv.is(c.b.x, c.b.y, kWhite)) << "end point left out";
    }
    POINT cur;
    GetCurrentPositionEx(cv.dc, &cur);
    EXPECT_EQ(cur, c.b);
  }
}

TEST(GdiLines, PolylineJoinsWithoutGapsAndXorDrawsEachPixelOnce) {
  Canvas32 cv(20, 20);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kWhite));
  SetROP2(cv.dc, R2_XORPEN);
  cv.clear(kBlack);
  POINT pts[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}, {2, 2}};
  Polyline(cv.dc, pts, 5);
  // A closed square outline of 8x8: 32 pixels, each drawn once (XOR would erase doubles).
  EXPECT_EQ(cv.count(kWhite), 32) << cv.mask(kWhite);
  Polyline(cv.dc, pts, 5);
  EXPECT_EQ(cv.count(kWhite), 0) << "XOR twice restores";
}

TEST(GdiLines, RopNotInvertsAndNullPenDrawsNothing) {
  Canvas32 cv(10, 4, kRed);
  SetROP2(cv.dc, R2_NOT);
  MoveToEx(cv.dc, 0, 1, nullptr);
  LineTo(cv.dc, 10, 1);
  EXPECT_TRUE(cv.is(5, 1, RGB(0, 255, 255)));
  EXPECT_TRUE(cv.is(5, 0, kRed));
  SetROP2(cv.dc, R2_COPYPEN);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  MoveToEx(cv.dc, 0, 2, nullptr);
  LineTo(cv.dc, 10, 2);
  EXPECT_EQ(cv.count(kRed), 30);
}

TEST(GdiLines, DottedPenAlternatesAndPaintsGapsWhenOpaque) {
  Canvas32 cv(40, 3);
  Select pen(cv.dc, CreatePen(PS_DOT, 1, kBlack));
  SetBkColor(cv.dc, kRed);
  SetBkMode(cv.dc, TRANSPARENT);
  MoveToEx(cv.dc, 0, 1, nullptr);
  LineTo(cv.dc, 36, 1);
  int on = cv.count(kBlack);
  EXPECT_GT(on, 6);
  EXPECT_LT(on, 30);
  EXPECT_EQ(cv.count(kRed), 0);
  SetBkMode(cv.dc, OPAQUE);
  MoveToEx(cv.dc, 0, 1, nullptr);
  LineTo(cv.dc, 36, 1);
  EXPECT_EQ(cv.count(kBlack) + cv.count(kRed), 36);
}

TEST(GdiShapes, RectangleCoversLeftTopInclusiveRightBottomExclusive) {
  Canvas32 cv(12, 12);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  Rectangle(cv.dc, 2, 3, 9, 10);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 3, 9, 10}));
  EXPECT_EQ(cv.count(kBlack), 2 * 7 + 2 * 5);  // frame
  EXPECT_EQ(cv.count(kRed), 5 * 5);            // interior
  EXPECT_TRUE(cv.is(8, 9, kBlack));
}

TEST(GdiShapes, OnePixelWideRectangleIsALineInThePenColour) {
  Canvas32 cv(10, 10);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  Rectangle(cv.dc, 3, 1, 4, 9);
  Rectangle(cv.dc, 5, 5, 9, 6);
  EXPECT_EQ(cv.count(kBlack), 8 + 4);
  EXPECT_EQ(cv.count(kRed), 0);
  Rectangle(cv.dc, 1, 1, 1, 9);  // empty: nothing
  EXPECT_EQ(cv.count(kBlack), 12);
}

TEST(GdiShapes, FillRectFrameRectAndInvertRectAreExact) {
  Canvas32 cv(10, 10);
  RECT r{1, 2, 6, 8};
  HBRUSH b = CreateSolidBrush(kBlue);
  FillRect(cv.dc, &r, b);
  EXPECT_EQ(cv.inkBox(kWhite), r);
  EXPECT_EQ(cv.count(kBlue), 5 * 6);
  cv.clear(kWhite);
  FrameRect(cv.dc, &r, b);
  EXPECT_EQ(cv.count(kBlue), 2 * 5 + 2 * 4);
  InvertRect(cv.dc, &r);
  EXPECT_EQ(cv.count(kBlue), 0);
  EXPECT_EQ(cv.count(kBlack), 4 * 3);  // inverted white interior
  DeleteObject(b);
}

TEST(GdiShapes, EllipseTouchesEveryEdgeOfItsBoxAndIsSymmetric) {
  for (RECT box : {RECT{0, 0, 16, 10}, RECT{3, 2, 14, 13}, RECT{1, 1, 4, 4}, RECT{0, 0, 31, 20}}) {
    Canvas32 cv(32, 24);
    SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
    SelectObject(cv.dc, GetStockObject(NULL_PEN));
    Ellipse(cv.dc, box.left, box.top, box.right, box.bottom);
    EXPECT_EQ(cv.inkBox(kWhite), box) << cv.mask(kBlack);
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) {
        int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
        ASSERT_EQ(cv.at(x, y), cv.at(mx, y)) << "mirror x at " << x << "," << y << "\n" << cv.mask(kBlack);
        ASSERT_EQ(cv.at(x, y), cv.at(x, my)) << "mirror y at " << x << "," << y;
      }
  }
}

TEST(GdiShapes, EllipseOutlineIsOnePixelRingAroundTheBrush) {
  Canvas32 cv(20, 20);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  Ellipse(cv.dc, 2, 2, 18, 18);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 18, 18}));
  // Every red pixel has four non-white neighbours; no white pixel sits between red and the edge.
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 19; ++x)
      if (cv.is(x, y, kRed)) {
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          ASSERT_NE(cv.at(x + dx, y + dy), kWhite) << x << "," << y << "\n" << cv.mask(kBlack);
        }
      }
  EXPECT_TRUE(cv.is(10, 10, kRed));
  EXPECT_TRUE(cv.is(10, 2, kBlack));
}

TEST(GdiShapes, RoundRectStaysInBoxWithCutCorners) {
  Canvas32 cv(20, 20);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  RoundRect(cv.dc, 2, 2, 18, 14, 6, 6);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 18, 14}));
  EXPECT_TRUE(cv.is(2, 2, kWhite)) << cv.mask(kWhite);
  EXPECT_TRUE(cv.is(17, 13, kWhite));
  EXPECT_TRUE(cv.is(10, 2, kBlack));
  EXPECT_TRUE(cv.is(2, 8, kBlack));
  EXPECT_TRUE(cv.is(10, 8, kRed));
  // A round rectangle with zero corners is a rectangle.
  cv.clear(kWhite);
  RoundRect(cv.dc, 2, 2, 18, 14, 0, 0);
  EXPECT_TRUE(cv.is(2, 2, kBlack));
  EXPECT_TRUE(cv.is(17, 13, kBlack));
}

TEST(GdiShapes, PolygonIncludesItsOutlineOnTheVertices) {
  Canvas32 cv(16, 16);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  POINT sq[] = {{2, 2}, {10, 2}, {10, 10}, {2, 10}};
  Polygon(cv.dc, sq, 4);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 11, 11}));
  EXPECT_EQ(cv.count(kRed), 7 * 7);
  // Without a pen the fill leaves the right and bottom edges out.
  cv.clear(kWhite);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  Polygon(cv.dc, sq, 4);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 10, 10}));
}

TEST(GdiShapes, WindingAndAlternateFillDifferOnAStar) {
  POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  Canvas32 a(21, 21), w(21, 21);
  for (Canvas32* cv : {&a, &w}) {
    SelectObject(cv->dc, GetStockObject(NULL_PEN));
    SelectObject(cv->dc, GetStockObject(BLACK_BRUSH));
  }
  SetPolyFillMode(w.dc, WINDING);
  Polygon(a.dc, star, 5);
  Polygon(w.dc, star, 5);
  EXPECT_TRUE(a.is(10, 10, kWhite)) << "the centre pentagon is a hole with ALTERNATE";
  EXPECT_TRUE(w.is(10, 10, kBlack));
  EXPECT_GT(w.count(kBlack), a.count(kBlack));
}

TEST(GdiShapes, PieAndChordFillTheirSideOnly) {
  Canvas32 cv(21, 21);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
  // Upper-right quarter: counter-clockwise from the right (3 o'clock) to the top (12 o'clock).
  Pie(cv.dc, 0, 0, 20, 20, 20, 10, 10, 0);
  EXPECT_TRUE(cv.is(15, 5, kBlack)) << cv.mask(kBlack);
  EXPECT_TRUE(cv.is(5, 5, kWhite));
  EXPECT_TRUE(cv.is(15, 15, kWhite));
  cv.clear(kWhite);
  Chord(cv.dc, 0, 0, 20, 20, 20, 10, 10, 0);
  EXPECT_TRUE(cv.is(16, 3, kBlack)) << cv.mask(kBlack);
  EXPECT_TRUE(cv.is(11, 9, kWhite));  // beyond the chord, towards the centre
  cv.clear(kWhite);
  SelectObject(cv.dc, GetStockObject(BLACK_PEN));
  Arc(cv.dc, 0, 0, 20, 20, 20, 10, 10, 0);
  EXPECT_GT(cv.count(kBlack), 10);
  EXPECT_EQ(cv.inkBox(kWhite).left >= 9, true) << cv.mask(kBlack);
  EXPECT_EQ(cv.inkBox(kWhite).bottom <= 11, true);
}

TEST(GdiShapes, WidePenIsCentredOnThePath) {
  Canvas32 cv(20, 20);
  Select pen(cv.dc, CreatePen(PS_SOLID, 3, kBlack));
  MoveToEx(cv.dc, 3, 10, nullptr);
  LineTo(cv.dc, 16, 10);
  EXPECT_TRUE(cv.is(8, 9, kBlack));
  EXPECT_TRUE(cv.is(8, 10, kBlack));
  EXPECT_TRUE(cv.is(8, 11, kBlack));
  EXPECT_TRUE(cv.is(8, 8, kWhite));
  EXPECT_TRUE(cv.is(8, 12, kWhite));
}

TEST(GdiShapes, HatchBrushPaintsLinesAndRespectsBackgroundMode) {
  Canvas32 cv(16, 16, kRed);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, kBlack);
  RECT r{0, 0, 16, 16};
  SetBkMode(cv.dc, TRANSPARENT);
  FillRect(cv.dc, &r, hatch);
  int lines = cv.count(kBlack);
  EXPECT_EQ(lines, 2 * 16 + 2 * 16 - 4);
  EXPECT_EQ(cv.count(kRed), 256 - lines) << "transparent gaps keep the background";
  DeleteObject(hatch);
}

TEST(GdiShapes, HugeCoordinatesCostOnlyTheVisiblePart) {
  Canvas32 cv(20, 20);
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  Select brush(cv.dc, CreateSolidBrush(kRed));
  Rectangle(cv.dc, -100000000, 5, 100000000, 15);
  EXPECT_EQ(cv.count(kBlack), 40) << "top and bottom frame rows only";
  EXPECT_EQ(cv.count(kRed), 20 * 8);
  cv.clear(kWhite);
  Ellipse(cv.dc, -50000000, -50000000, 50000000, 50000000);
  EXPECT_EQ(cv.count(kRed), 400);
  cv.clear(kWhite);
  Select dash(cv.dc, CreatePen(PS_DOT, 1, kBlue));
  MoveToEx(cv.dc, -1000000000, 10, nullptr);
  LineTo(cv.dc, 1000000000, 10);
  EXPECT_GT(cv.count(kBlue), 5);
  MoveToEx(cv.dc, -1000000000, -999999990, nullptr);
  LineTo(cv.dc, 1000000000, 1000000010);  // the diagonal through (0,10)
  EXPECT_TRUE(cv.is(0, 10, kBlue) || cv.is(0, 10, kWhite));
  POINT tri[] = {{-2000000000, 19}, {10, -2000000000}, {2000000000, 19}};
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  Polygon(cv.dc, tri, 3);
  EXPECT_GT(cv.count(kRed), 100);
}

TEST(GdiPixels, SetPixelGetPixelAndFloodFill) {
  Canvas32 cv(10, 10);
  EXPECT_EQ(SetPixel(cv.dc, 3, 4, kRed), kRed);
  EXPECT_EQ(GetPixel(cv.dc, 3, 4), kRed);
  EXPECT_EQ(GetPixel(cv.dc, 10, 4), CLR_INVALID);
  EXPECT_EQ(SetPixel(cv.dc, -1, 0, kRed), CLR_INVALID);
  // Flood inside a frame stops at the border colour.
  Select pen(cv.dc, CreatePen(PS_SOLID, 1, kBlack));
  SelectObject(cv.dc, GetStockObject(NULL_BRUSH));
  Rectangle(cv.dc, 1, 1, 9, 9);
  Select brush(cv.dc, CreateSolidBrush(kBlue));
  EXPECT_TRUE(FloodFill(cv.dc, 4, 4, kBlack));
  EXPECT_EQ(cv.count(kBlue) + cv.count(kRed), 36);
  EXPECT_TRUE(cv.is(0, 0, kWhite));
  EXPECT_FALSE(FloodFill(cv.dc, 1, 1, kBlack)) << "starting on the border fills nothing";
}

TEST(GdiPixels, GradientFillRunsFromFirstToLastColour) {
  Canvas32 cv(11, 4);
  TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {11, 4, 0xFF00, 0xFF00, 0xFF00, 0}};
  GRADIENT_RECT g{0, 1};
  ASSERT_TRUE(GradientFill(cv.dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(cv.at(0, 2), kBlack);
  EXPECT_EQ(cv.at(10, 2), kWhite);
  EXPECT_LT(GetRValue(cv.at(4, 2)), GetRValue(cv.at(6, 2)));
}

}  // namespace
