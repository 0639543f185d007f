// Tests of the cell drawing primitives of DizUtil, checked at sampled pixels of a bitmap
// canvas (the full picture is saved as PNG for a look).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "foundation/DizUtil.h"
#include "platform/image/PngCodec.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Graphics.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF;

class CellCanvas : public ::testing::Test {
protected:
  void SetUp() override { Reset(240, 160); }
  void Reset(int w, int h) {
    bmp = std::make_unique<TBitmap>(w, h);
    c = bmp->Canvas();
    c->Brush()->SetColor(kWhite);
    c->FillRect(TRect{0, 0, w, h});
  }
  TColor At(int x, int y) { return c->GetPixel(x, y) & 0xFFFFFF; }
  void Save(const std::string& name) {
    const TByteBuffer png = EncodePng(bmp->ToRawImage());
    const std::string path = ::testing::TempDir() + "dizutildraw_" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(png.data(), 1, png.size(), f);
      std::fclose(f);
    }
  }
  // Number of pixels in the rectangle that are not white.
  int Ink(const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (At(x, y) != kWhite) ++n;
    return n;
  }
  std::unique_ptr<TBitmap> bmp;
  TCanvas* c = nullptr;
};

TColor Rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

TGaugeSettings Gauge() {
  TGaugeSettings s;
  s.Level0Color = s.Level0ColorTo = clRed;
  s.Level1Color = s.Level1ColorTo = clLime;
  s.Level2Color = s.Level2ColorTo = clYellow;
  s.Level3Color = s.Level3ColorTo = clBlue;
  s.Level1Perc = 30;
  s.Level2Perc = 70;
  s.BorderColor = clBlack;
  s.ShowBorder = true;
  s.BackgroundColor = clSilver;
  s.Steps = 8;
  return s;
}

}  // namespace

// ---- gradients -----------------------------------------------------------------------------------------

TEST_F(CellCanvas, GradientBandsOverlapByOnePixel) {
  DrawGradient(c, clRed, clBlue, 4, TRect{0, 0, 40, 10}, true);
  EXPECT_EQ(At(5, 5), clRed);
  EXPECT_EQ(At(10, 5), Rgb(191, 0, 64));  // band 1 starts on band 0's last column
  EXPECT_EQ(At(15, 5), Rgb(191, 0, 64));
  EXPECT_EQ(At(25, 5), Rgb(127, 0, 128));  // nearest(-127.5) and nearest(127.5) go to even
  EXPECT_EQ(At(39, 5), Rgb(64, 0, 191));
  EXPECT_EQ(At(40, 5), Rgb(64, 0, 191));  // the last band also overlaps by one pixel
  EXPECT_EQ(At(41, 5), kWhite);
  DrawGradient(c, clBlack, clWhite, 2, TRect{0, 20, 10, 40}, false);
  EXPECT_EQ(At(5, 25), clBlack);
  EXPECT_EQ(At(5, 35), Rgb(128, 128, 128));
}

TEST_F(CellCanvas, GradientSpecialCases) {
  DrawGradient(c, clRed, clBlue, 0, TRect{0, 0, 20, 10}, true);  // steps 0: one band
  EXPECT_EQ(At(0, 5), clRed);
  EXPECT_EQ(At(19, 5), clRed);
  DrawGradient(c, clGreen, clNone, 16, TRect{30, 0, 50, 10}, true);  // solid
  EXPECT_EQ(At(30, 0), clGreen);
  EXPECT_EQ(At(49, 9), clGreen);
  DrawGradient(c, clNone, clBlue, 16, TRect{60, 0, 80, 10}, true);  // no colour: nothing
  DrawGradient(c, clNone, clNone, 16, TRect{60, 0, 80, 10}, false);
  EXPECT_EQ(Ink(TRect{60, 0, 80, 10}), 0);
}

TEST(GradientAt, ChannelsBetweenTheBounds) {
  struct Case {
    TColor from, to;
    int first, last, pos;
    TColor out;
  } cases[] = {
      {clBlack, clWhite, 0, 10, 5, Rgb(128, 128, 128)},  // 127.5 rounds to even
      {clRed, clBlue, 0, 100, 25, Rgb(191, 0, 64)},
      {clBlack, clWhite, 0, 10, 0, clBlack},
      {clBlack, clWhite, 0, 10, 10, clWhite},
      {clRed, clNone, 0, 10, 5, clRed},
      {clRed, clBlue, 7, 7, 7, clRed},   // equal bounds: the first colour
      {clBlack, clWhite, 0, 10, 20, clWhite},  // beyond the end stays a valid colour
  };
  for (const Case& k : cases)
    EXPECT_EQ(GradientAt(k.from, k.to, k.first, k.last, k.pos), k.out) << k.pos << " " << k.first << ".." << k.last;
}

TEST_F(CellCanvas, VistaGradientHalvesAndBorders) {
  const TRect r{10, 10, 50, 50};
  DrawVistaGradient(c, r, clRed, clRed, clBlue, clBlue, true, clBlack, false, true);
  EXPECT_EQ(At(30, 20), clRed);   // first half: top
  EXPECT_EQ(At(30, 40), clBlue);  // mirror half: bottom
  EXPECT_EQ(At(10, 30), clBlack);  // frame
  EXPECT_EQ(At(30, 49), clBlack);
  EXPECT_EQ(At(50, 30), kWhite);

  const TRect s{60, 10, 100, 50};
  DrawVistaGradient(c, s, clLime, clNone, clNone, clNone, false, clNavy, true, true);
  EXPECT_EQ(At(80, 30), clLime);
  EXPECT_EQ(At(80, 50), clLime);  // solid fill made one pixel taller
  EXPECT_EQ(At(60, 30), clNavy);  // sides only
  EXPECT_EQ(At(99, 30), clNavy);
  EXPECT_EQ(At(80, 10), clLime);

  const TRect t{110, 10, 150, 50};
  DrawVistaGradient(c, t, clNone, clRed, clNone, clNone, false, clNone, false, true);
  EXPECT_EQ(Ink(TRect{110, 10, 150, 51}), 0);
  // Left and right halves when not vertical.
  DrawVistaGradient(c, t, clRed, clRed, clBlue, clBlue, false, clNone, false, true);
  EXPECT_EQ(At(115, 30), clRed);
  EXPECT_EQ(At(145, 30), clBlue);
  Save("vista.png");
}

TEST_F(CellCanvas, SelectionGradientLinesCornersAndFill) {
  const TColor upperFrom = Rgb(250, 0, 0), upperTo = Rgb(250, 0, 0), lowerFrom = Rgb(0, 0, 250),
               lowerTo = Rgb(0, 0, 250), innerUp = Rgb(0, 200, 0), innerLow = Rgb(0, 100, 0),
               outer = Rgb(10, 10, 10), blend = Rgb(200, 0, 200), corner = Rgb(0, 200, 200);
  const TRect r{10, 10, 60, 42};  // working rectangle 10,10 - 59,40
  DrawSelectionGradient(c, upperFrom, upperTo, lowerFrom, lowerTo, innerUp, innerLow, outer, blend, corner, r, gpFull);
  Save("selection.png");
  EXPECT_EQ(At(10, 10), corner);
  EXPECT_EQ(At(11, 10), blend);
  EXPECT_EQ(At(10, 11), blend);
  EXPECT_EQ(At(58, 10), corner);  // right side: Right - 1 of the working rectangle
  EXPECT_EQ(At(57, 10), blend);
  EXPECT_EQ(At(10, 40), corner);
  EXPECT_EQ(At(30, 10), outer);
  EXPECT_EQ(At(30, 40), outer);
  EXPECT_EQ(At(10, 25), outer);
  EXPECT_EQ(At(30, 11), innerUp);
  EXPECT_EQ(At(11, 15), innerUp);
  EXPECT_EQ(At(30, 39), innerLow);
  EXPECT_EQ(At(11, 35), innerLow);
  EXPECT_EQ(At(30, 15), upperFrom);
  EXPECT_EQ(At(30, 35), lowerFrom);
  EXPECT_EQ(At(59, 25), kWhite);

  // A middle cell: no side lines, the border runs the full width.
  Reset(80, 50);
  DrawSelectionGradient(c, upperFrom, clNone, lowerFrom, lowerTo, innerUp, innerLow, outer, blend, corner, r, gpMiddle);
  EXPECT_EQ(At(10, 10), outer);
  EXPECT_EQ(At(10, 25), upperFrom);  // no side line; upper to clNone: solid upper from
  EXPECT_EQ(At(30, 35), upperFrom);
}

// ---- gauge -------------------------------------------------------------------------------------------------

TEST_F(CellCanvas, GaugeAtZeroShowsBackgroundAndFrame) {
  DrawGauge(c, TRect{0, 0, 102, 20}, 0, Gauge());
  EXPECT_EQ(At(0, 10), clBlack);
  EXPECT_EQ(At(101, 10), clBlack);
  EXPECT_EQ(At(50, 10), clSilver);
  EXPECT_EQ(At(1, 10), clSilver);
}

TEST_F(CellCanvas, GaugeBlocks) {
  // Width 102: the bar is 100 pixels long, so m equals the position.
  struct Case {
    int p;
    std::vector<std::pair<int, bool>> samples;  // x, filled
  } cases[] = {
      {1, {{2, false}}},
      {9, {{2, true}, {9, true}, {10, false}}},
      {20, {{2, true}, {8, true}, {9, false}, {10, false}, {11, true}, {17, true}, {18, false}, {20, false}}},
      {21, {{11, true}, {17, true}, {18, false}, {19, false}, {20, true}, {21, true}, {22, false}}},
  };
  for (const Case& k : cases) {
    Reset(120, 30);
    DrawGauge(c, TRect{0, 0, 102, 20}, k.p, Gauge());
    for (auto [x, filled] : k.samples) EXPECT_EQ(At(x, 10) == clRed, filled) << "p=" << k.p << " x=" << x;
    EXPECT_EQ(At(5, 2), k.p >= 9 ? clRed : clSilver) << k.p;  // blocks are inset by two
    EXPECT_EQ(At(5, 1), clSilver);
  }
}

TEST_F(CellCanvas, GaugeColourFollowsTheLevel) {
  struct Case {
    int p;
    TColor colour;
  } cases[] = {{20, clRed}, {50, clLime}, {80, clYellow}, {100, clBlue}};
  for (const Case& k : cases) {
    Reset(120, 30);
    TGaugeSettings s = Gauge();
    s.CompletionSmooth = true;
    DrawGauge(c, TRect{0, 0, 102, 20}, k.p, s);
    EXPECT_EQ(At(1, 1), k.colour) << k.p;  // smooth bars are inset by one
    EXPECT_EQ(At(k.p, 10), k.colour) << k.p;
    if (k.p < 100) {
      EXPECT_EQ(At(k.p + 1, 10), clSilver) << k.p;
    }
  }
}

TEST_F(CellCanvas, StackedGaugeFillsExactlyAtHundred) {
  TGaugeSettings s = Gauge();
  s.Stacked = true;
  DrawGauge(c, TRect{0, 0, 102, 20}, 100, s);
  EXPECT_EQ(At(1, 10), clRed);
  EXPECT_EQ(At(30, 10), clRed);
  EXPECT_EQ(At(31, 10), clLime);
  EXPECT_EQ(At(70, 10), clLime);
  EXPECT_EQ(At(71, 10), clBlue);
  EXPECT_EQ(At(100, 10), clBlue);
  EXPECT_EQ(At(101, 10), clBlack);
  // Beyond a hundred the bar still ends at the gauge's edge.
  Reset(140, 30);
  DrawGauge(c, TRect{0, 0, 102, 20}, 150, s);
  EXPECT_EQ(At(100, 10), clBlue);
  EXPECT_EQ(Ink(TRect{102, 0, 140, 30}), 0);
  // Vertical: parts from the bottom up.
  Reset(40, 120);
  s.Orientation = goVertical;
  DrawGauge(c, TRect{0, 0, 20, 102}, 50, s);
  EXPECT_EQ(At(10, 100), clRed);
  EXPECT_EQ(At(10, 71), clRed);
  EXPECT_EQ(At(10, 70), clLime);
  EXPECT_EQ(At(10, 51), clLime);
  EXPECT_EQ(At(10, 50), clSilver);
}

TEST_F(CellCanvas, GaugePictures) {
  Reset(240, 150);
  TGaugeSettings s = Gauge();
  s.ShowGradient = true;
  s.Level0ColorTo = clWhite;
  s.Level1ColorTo = clWhite;
  s.Level3ColorTo = clWhite;
  s.ShowPercentage = true;
  DrawGauge(c, TRect{10, 10, 230, 34}, 45, s);
  s.Stacked = true;
  DrawGauge(c, TRect{10, 40, 230, 64}, 85, s);
  s.Stacked = false;
  s.CompletionSmooth = true;
  s.Orientation = goVertical;
  DrawGauge(c, TRect{10, 70, 34, 145}, 60, s);
  s.CompletionSmooth = false;
  DrawGauge(c, TRect{40, 70, 64, 145}, 60, s);
  Save("gauge.png");
  // Gradient across a horizontal bar: light at the top and bottom edges, full colour in
  // the middle; the percentage text lies in the middle.
  EXPECT_EQ(At(15, 22), clLime);
  EXPECT_NE(At(15, 12), clLime);
  EXPECT_GT(Ink(TRect{100, 14, 140, 30}), 0);
}

// ---- progress ---------------------------------------------------------------------------------------------

TEST_F(CellCanvas, ProgressBarWithTextChangingColour) {
  c->Brush()->SetColor(clYellow);  // the remembered brush frames the outside
  const TRect r{10, 10, 130, 34};
  DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 25, 2, 2, 0, 100, "", clBlack, false);
  Save("progress.png");
  EXPECT_EQ(At(14, 14), clNavy);    // filled part: a quarter of 116 pixels from 12
  EXPECT_EQ(At(40, 14), clNavy);
  EXPECT_EQ(At(42, 14), clSilver);
  EXPECT_EQ(At(127, 14), clSilver);
  EXPECT_EQ(At(11, 20), clBlack);   // border one pixel outside the shrunk rectangle
  EXPECT_EQ(At(10, 20), clYellow);  // then the remembered brush colour
  EXPECT_GT(Ink(TRect{50, 14, 90, 30}), 0);

  // Half filled: the text straddles the bar's end, light on the bar and dark on the rest.
  Reset(240, 160);
  DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 50, 2, 2, 0, 100, "", clBlack, false);
  Save("progress_half.png");
  const int end = 12 + 58;
  int light = 0, dark = 0;
  for (int y = 12; y < 32; ++y) {
    for (int x = 12; x < end; ++x)
      if (At(x, y) != clNavy && (At(x, y) & 0xFF) > 0x80) ++light;
    for (int x = end; x < 128; ++x)
      if (At(x, y) != clSilver && (At(x, y) & 0xFF) < 0x60) ++dark;
  }
  EXPECT_GT(light, 5);
  EXPECT_GT(dark, 5);
}

TEST_F(CellCanvas, ProgressValueAboveHundredAndEqualBounds) {
  const TRect r{10, 10, 130, 34};
  DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 150, 2, 2, 0, 100, "", clNone, false);
  EXPECT_EQ(At(14, 14), clNavy);
  EXPECT_EQ(At(127, 14), clNavy);  // full bar for "150%"
  EXPECT_EQ(At(11, 20), kWhite);    // no border colour: no border

  Reset(240, 160);
  DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 5, 2, 2, 5, 5, "%d", clBlack, false);
  EXPECT_EQ(At(14, 14), clSilver);  // equal bounds: an empty bar, no crash
  EXPECT_EQ(At(127, 14), clSilver);

  Reset(240, 160);
  DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 50, 2, 2, 0, 200, "%.1f", clBlack, false);
  EXPECT_EQ(At(40, 14), clNavy);  // a quarter
  EXPECT_EQ(At(42, 14), clSilver);
  // The value's kind follows the format's conversion, not any 'd' or 'u' in its text.
  EXPECT_NO_THROW(DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 50, 2, 2, 0, 200, "%.0f%% done",
                                  clBlack, false));
  EXPECT_NO_THROW(DrawProgressLin(c, r, clNavy, clWhite, clSilver, clBlack, 50.4, 2, 2, 0, 200, "%d units",
                                  clBlack, false));
}

TEST_F(CellCanvas, ProgressPie) {
  c->Brush()->SetColor(kWhite);
  DrawProgressPie(c, TRect{10, 10, 71, 71}, clRed, 25, false);
  c->Brush()->SetColor(kWhite);
  DrawProgressPie(c, TRect{90, 10, 151, 71}, clRed, 0, false);
  Save("pie.png");
  EXPECT_EQ(At(55, 25), clRed);  // top-right quarter
  EXPECT_EQ(At(25, 55), kWhite);
  EXPECT_EQ(At(25, 25), kWhite);
  EXPECT_EQ(At(55, 55), kWhite);
  EXPECT_EQ(At(0, 0), kWhite);
  EXPECT_EQ(At(40, 10), clGray);  // the border
  // At 0 % nothing is filled.
  EXPECT_EQ(At(135, 25), kWhite);
  EXPECT_EQ(At(105, 55), kWhite);
}

TEST_F(CellCanvas, RangeIndicator) {
  const TRect r{0, 0, 104, 20};  // shrunk: 2..102, half 50, middle 52
  DrawRangeIndicator(c, r, 50, 100, false, clRed, clLime);
  EXPECT_EQ(At(52, 10), clLime);
  EXPECT_EQ(At(76, 10), clLime);
  EXPECT_EQ(At(77, 10), kWhite);
  EXPECT_EQ(At(51, 10), kWhite);
  EXPECT_EQ(At(52, 1), kWhite);

  Reset(240, 160);
  DrawRangeIndicator(c, r, -500, 100, false, clRed, clLime);  // beyond the range: the full half
  EXPECT_EQ(At(2, 10), clRed);
  EXPECT_EQ(At(51, 10), clRed);
  EXPECT_EQ(At(52, 10), kWhite);
  EXPECT_EQ(At(1, 10), kWhite);

  Reset(240, 160);
  DrawRangeIndicator(c, r, 5, 0, false, clRed, clLime);  // range 0: no bar, no crash
  EXPECT_EQ(Ink(TRect{0, 0, 104, 20}), 0);
  DrawRangeIndicator(c, TRect{0, 30, 104, 60}, -7, 10, true, clRed, clLime);
  Save("range.png");
  EXPECT_GT(Ink(TRect{40, 32, 64, 48}), 0);  // the value at the top middle
}

// ---- shapes -------------------------------------------------------------------------------------------------

TEST_F(CellCanvas, SquareUsesTheSmallerSide) {
  DrawShape(c, 10, 10, 20, 10, csSquare, clRed, clBlack);
  EXPECT_EQ(At(15, 15), clRed);
  EXPECT_EQ(At(11, 11), clBlack);
  EXPECT_EQ(At(18, 15), clBlack);  // right edge at x + 10 - 1 (exclusive)
  EXPECT_EQ(At(19, 15), kWhite);
  EXPECT_EQ(At(25, 15), kWhite);
  DrawShape(c, 50, 10, 20, 10, TCellShape(int(csHalfStar) + 1), clRed, clBlack);
  EXPECT_EQ(Ink(TRect{50, 10, 70, 20}), 0);
}

TEST_F(CellCanvas, OddArrowWidthDrawsAsTheNextEvenWidth) {
  for (TCellShape shape : {csArrowUp, csArrowDown}) {
    Reset(60, 30);
    DrawShape(c, 2, 2, 20, 20, shape, clRed, clBlack);
    const TRawImage even = bmp->ToRawImage();
    Reset(60, 30);
    DrawShape(c, 2, 2, 21, 20, shape, clRed, clBlack);
    EXPECT_EQ(bmp->ToRawImage().Pixels, even.Pixels) << shape;
  }
  Reset(60, 30);
  DrawShape(c, 2, 2, 20, 20, csArrowLeft, clRed, clBlack);
  const TRawImage even = bmp->ToRawImage();
  Reset(60, 30);
  DrawShape(c, 2, 2, 20, 21, csArrowLeft, clRed, clBlack);
  EXPECT_EQ(bmp->ToRawImage().Pixels, even.Pixels);
}

TEST_F(CellCanvas, AllShapes) {
  Reset(19 * 26 + 4, 60);
  for (int s = 0; s <= int(csHalfStar); ++s) DrawShape(c, 2 + s * 26, 4, 22, 22, TCellShape(s), clLime, clBlack);
  for (int s = 0; s <= int(csHalfStar); ++s) DrawShape(c, 2 + s * 26, 32, 22, 22, TCellShape(s), clNone, clBlue);
  Save("shapes.png");
  const int cx = 2 + 13, cy = 4 + 11;
  EXPECT_EQ(At(cx, cy), clLime);  // rectangle
  EXPECT_EQ(At(2 + 26 + 11, cy), clLime);  // circle centre
  EXPECT_EQ(At(2 + 26 * 13 + 11, cy), clLime);  // star centre
  EXPECT_EQ(At(2 + 26 * 13 + 20, 5), kWhite);  // between the star's points
  EXPECT_EQ(At(2 + 26 * 18 + 9, cy), clLime);   // half star: the left half
  EXPECT_EQ(At(2 + 26 * 18 + 17, cy), kWhite);
  EXPECT_EQ(At(cx, 32 + 11), kWhite);  // no fill colour: outline only
  EXPECT_EQ(At(3, 32 + 11), clBlue);
}

TEST_F(CellCanvas, SmallTriangleAndDarkenedColours) {
  DrawTriangle(c, 20, 20, clRed);
  EXPECT_EQ(At(20, 20), clRed);
  EXPECT_EQ(At(20, 21), clRed);
  EXPECT_EQ(At(20, 24), kWhite);
  EXPECT_EQ(At(20, 19), kWhite);
  EXPECT_EQ(DarkenColor(clWhite), TColor(0x7F7F7F));
  EXPECT_EQ(DarkenColor(Rgb(0x81, 0x42, 0x03)), Rgb(0x40, 0x21, 0x01));
  EXPECT_EQ(DarkenColor(clNone), clNone);
  EXPECT_EQ(DarkenColor(clBtnFace), TColor((ColorToRGB(clBtnFace) >> 1) & 0x7F7F7F));
}

TEST_F(CellCanvas, ErrorLinesUnderTheRange) {
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-13);
  const std::string text = "Пересчет коэффициентов";
  const TRect r{10, 10, 230, 30};
  c->Brush()->SetStyle(bsClear);
  c->TextOut(r.Left, r.Top, text);
  const int from = c->TextWidth("Пересчет "), to = c->TextWidth("Пересчет коэффициентов");
  DrawErrorLines(nullptr, c, text, r, c->TextHeight(text), 9, 13);
  Save("errorlines.png");
  auto redIn = [&](int x0, int x1) {
    int n = 0;
    for (int y = r.Top + 10; y < r.Top + 30; ++y)
      for (int x = x0; x < x1; ++x)
        if (At(x, y) == clRed) ++n;
    return n;
  };
  EXPECT_EQ(redIn(r.Left, r.Left + from - 2), 0);
  EXPECT_GT(redIn(r.Left + from, r.Left + from + 20), 5);
  EXPECT_GT(redIn(r.Left + to - 20, r.Left + to), 5);
  EXPECT_EQ(redIn(r.Left + to + 12, r.Right), 0);
}

TEST_F(CellCanvas, ComboAndSpinButtonsAtTheRightEdge) {
  for (bool themed : {false, true}) {
    Reset(120, 60);
    DrawComboButton(c, nullptr, TRect{0, 0, 100, 20}, themed);
    DrawSpinButtons(c, nullptr, TRect{0, 30, 100, 52}, themed);
    Save(themed ? "buttons_themed.png" : "buttons.png");
    EXPECT_EQ(Ink(TRect{0, 0, 81, 20}), 0) << themed;  // combo button: 81..98
    EXPECT_GT(Ink(TRect{81, 1, 98, 19}), 100) << themed;
    EXPECT_EQ(Ink(TRect{98, 0, 120, 20}), 0) << themed;
    EXPECT_EQ(Ink(TRect{0, 28, 84, 60}), 0) << themed;  // spin buttons: 84..98
    EXPECT_GT(Ink(TRect{84, 29, 99, 51}), 100) << themed;
  }
}

TEST_F(CellCanvas, TransparentBitmap) {
  TBitmap src(4, 4);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(TRect{0, 0, 4, 4});
  src.Canvas()->Brush()->SetColor(clBlue);
  src.Canvas()->FillRect(TRect{2, 0, 4, 4});
  c->Brush()->SetColor(clYellow);
  c->FillRect(TRect{0, 0, 40, 20});
  DrawBitmapTransp(c, &src, clLime, TRect{10, 10, 30, 30});
  EXPECT_EQ(At(10, 10), clLime);  // key colour shown as the background colour
  EXPECT_EQ(At(13, 13), clBlue);
  EXPECT_EQ(At(14, 13), clYellow);  // drawn at its own size
  DrawBitmapTransp(c, &src, clNone, TRect{20, 10, 40, 30});
  EXPECT_EQ(At(20, 10), clYellow);  // no background colour: left as it was
  EXPECT_EQ(At(23, 10), clBlue);

  // The same from a bitmap resource of the program.
  TMemoryStream bytes;
  src.SaveToStream(bytes);
  RegisterResource(RT_RCDATA, "DIZTRANSPTEST", TBytesView(bytes.Data()));
  DrawBitmapResourceTransp(c, clRed, TRect{30, 0, 40, 10}, "DIZTRANSPTEST");
  EXPECT_EQ(At(30, 0), clRed);
  EXPECT_EQ(At(33, 3), clBlue);
  UnregisterResource(RT_RCDATA, "DIZTRANSPTEST");
  EXPECT_THROW(DrawBitmapResourceTransp(c, clRed, TRect{30, 0, 40, 10}, "DIZTRANSPTEST"), EResNotFound);
}
