// Tests of the tool bar drawing primitives and button faces, checked at sampled pixels of
// a bitmap canvas. The face sheets are saved as PNG in the working directory for a look.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/PngCodec.h"
#include "platform/vcl/Graphics.h"
#include "toolbar/VivIzizEzuDraw.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace {

using namespace VivIzizEzu;

TColor Rgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }

class FaceCanvas : public ::testing::Test {
protected:
  void Reset(int w, int h, TColor background = clWhite) {
    bmp = std::make_unique<TBitmap>(w, h);
    c = bmp->Canvas();
    c->Brush()->SetColor(background);
    c->FillRect(TRect{0, 0, w, h});
  }
  TColor At(int x, int y) { return c->GetPixel(x, y) & 0xFFFFFF; }
  // Saved enlarged Scale times, so that single pixels can be seen.
  void Save(const std::string& name, int Scale = 1) {
    TBitmap big(bmp->GetWidth() * Scale, bmp->GetHeight() * Scale);
    big.Canvas()->StretchDraw({0, 0, big.GetWidth(), big.GetHeight()}, bmp.get());
    const TByteBuffer png = EncodePng(big.ToRawImage());
    if (FILE* f = std::fopen(("toolbar_" + name).c_str(), "wb")) {
      std::fwrite(png.data(), 1, png.size(), f);
      std::fclose(f);
    }
  }
  int Ink(const TRect& r, TColor background = clWhite) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (At(x, y) != background) ++n;
    return n;
  }
  std::unique_ptr<TBitmap> bmp;
  TCanvas* c = nullptr;
};

TEST(ToolBarColours, ArithmeticGivesThePartsValues) {
  struct Case {
    const char* What;
    TColor Got, Expected;
  };
  const Case cases[] = {
      {"white darkened by 10 percent", ChangeColorPercent(clWhite, -10), Rgb(230, 230, 230)},
      {"blue lifted by 20", ChangeColorPercent(Rgb(0, 0, 255), 20), Rgb(20, 20, 255)},
      {"black and white half and half", BlendColor(clBlack, clWhite, 50), Rgb(128, 128, 128)},
      {"all of a system colour", BlendColor(clBtnFace, clWhite, 100), clBtnFace},
      {"none of the first", BlendColor(clRed, clBtnFace, 0), clBtnFace},
      {"a quarter", BlendColor(Rgb(200, 0, 100), Rgb(0, 200, 100), 25), Rgb(50, 150, 100)},
      {"darkened by 10 percent", DarkenColorPercent(Rgb(200, 100, 50), 10), Rgb(180, 90, 45)},
      {"darkened by more than all", DarkenColorPercent(clWhite, 150), clBlack},
      {"darkened by less than nothing", DarkenColorPercent(Rgb(10, 20, 30), -50), Rgb(10, 20, 30)},
      {"far past black", ChangeColorPercent(Rgb(100, 0, 3), -300), Rgb(0, 0, 0)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.What);
    EXPECT_EQ(k.Got, k.Expected);
  }
  EXPECT_EQ(VivIzizEzu::ColorToARGB(clRed), 0xFFFF0000u);
  EXPECT_EQ(VivIzizEzu::ColorToARGB(Rgb(1, 2, 3)), 0xFF010203u);
  TRect r{0, 0, 10, 10};
  CenterRect(r, 4, 4);
  EXPECT_EQ(r, (TRect{3, 3, 7, 7}));
  SetWin7(true);
  EXPECT_EQ(GetCornerRadius(), 0);
  SetWin7(false);
  EXPECT_EQ(GetCornerRadius(), 3);
}

TEST_F(FaceCanvas, GradientBandsStepTowardTheSecondColour) {
  Reset(40, 20);
  DrawGradient(c, clRed, clBlue, true, {0, 0, 40, 20}, 0);
  EXPECT_EQ(At(0, 0), clRed);
  EXPECT_EQ(At(39, 19), clRed);
  DrawGradient(c, clBlack, clWhite, false, {0, 0, 40, 20}, 2);
  EXPECT_EQ(At(5, 0), clBlack);
  EXPECT_EQ(At(5, 19), Rgb(128, 128, 128));  // the last band stops one step short
}

// The banded gradient drawn band by band, one rectangle each, as a reference.
void GradientBandByBand(TCanvas* C, TColor From, TColor To, bool Horizontal, const TRect& R, int Bands) {
  auto channel = [](TColor c, int shift) { return int((c >> shift) & 0xFF); };
  const double s = (Horizontal ? R.Right - 1 - R.Left : R.Bottom - 1 - R.Top) / double(Bands);
  for (int i = 0; i < Bands; ++i) {
    int rgb[3];
    for (int k = 0; k < 3; ++k)
      rgb[k] = channel(From, 8 * k) +
               int(std::nearbyint(double(i) * (channel(To, 8 * k) - channel(From, 8 * k)) / Bands));
    const TColor c = Rgb(rgb[0], rgb[1], rgb[2]);
    C->Pen()->SetColor(c);
    C->Brush()->SetColor(c);
    const int p = int(std::nearbyint(i * s)), w = int(std::nearbyint(s)) + 1;
    if (Horizontal) C->Rectangle(R.Left + p, R.Top, R.Left + p + w, R.Bottom);
    else C->Rectangle(R.Left, R.Top + p, R.Right, R.Top + p + w);
  }
}

// A step count far beyond the gradient's length in pixels (a theme or form may carry
// 2147483647) draws only the bands that stay visible: the same pixels, pen and brush as
// drawing every band, and a count of 2^31 - 1 paints at once.
TEST_F(FaceCanvas, GradientsWithFarMoreBandsThanPixelsDrawOnlyTheVisibleBands) {
  const struct {
    bool horizontal;
    TRect r;
    int bands;
  } cases[] = {
      {false, {2, 3, 42, 23}, 45},       {false, {2, 3, 42, 23}, 200},    {true, {2, 3, 42, 23}, 1000},
      {true, {5, 1, 36, 9}, 99991},      {false, {0, 0, 40, 1}, 5000},    {true, {10, 0, 11, 8}, 3000},
      {true, {30, 2, 10, 8}, 777},       {false, {4, 20, 30, 12}, 4096},  {false, {0, 0, 40, 20}, 4 * 20 + 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.bands << " bands, " << (k.horizontal ? "horizontal" : "vertical") << " ("
                                    << k.r.Left << ", " << k.r.Top << ", " << k.r.Right << ", " << k.r.Bottom << ")");
    Reset(48, 28, clFuchsia);
    GradientBandByBand(c, Rgb(250, 10, 0), Rgb(3, 200, 255), k.horizontal, k.r, k.bands);
    std::vector<TColor> want;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 48; ++x) want.push_back(At(x, y));
    const TColor pen = c->Pen()->GetColor(), brush = c->Brush()->GetColor();
    Reset(48, 28, clFuchsia);
    DrawGradient(c, Rgb(250, 10, 0), Rgb(3, 200, 255), k.horizontal, k.r, k.bands);
    int differ = 0;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 48; ++x) differ += At(x, y) != want[y * 48 + x];
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(c->Pen()->GetColor(), pen);
    EXPECT_EQ(c->Brush()->GetColor(), brush);
  }
  for (bool horizontal : {false, true}) {
    Reset(400, 300);
    DrawGradient(c, clBlack, clWhite, horizontal, {0, 0, 400, 300}, 2147483647);
    const int length = horizontal ? 400 : 300;
    auto along = [&](int i) { return horizontal ? At(i, 150) : At(200, i); };
    EXPECT_EQ(along(0), clBlack);
    EXPECT_GE(R(along(length - 1)), 254);
    for (int i = 1; i < length; ++i) ASSERT_GE(R(along(i)), R(along(i - 1))) << i;
  }
}

TEST_F(FaceCanvas, AVistaGradientStacksTwoGradientsUnderABorder) {
  Reset(60, 50);
  DrawVistaGradient(c, {0, 0, 60, 50}, 22, clRed, clYellow, clBlue, clAqua, clNone, 3);
  EXPECT_EQ(At(5, 0), clRed);
  EXPECT_EQ(At(5, 22), clBlue);  // the lower part starts at the upper height
  EXPECT_NE(At(5, 21), clRed);
  DrawVistaGradient(c, {0, 0, 60, 50}, 22, clRed, clYellow, clBlue, clAqua, clBlack, 0);
  EXPECT_EQ(At(0, 30), clBlack);  // a square border on the left edge
  DrawVistaGradient(c, {0, 0, 60, 50}, 22, clRed, clYellow, clBlue, clAqua, clBlack, 8);
  Save("vista_gradient.png", 4);
  EXPECT_NE(At(0, 0), clBlack);  // a rounded corner
}

TEST_F(FaceCanvas, ARadialGlowFaceFillsItsHalvesRowByRow) {
  // 21 rows: the solid upper fill covers rows 0 to 9, the lower fill rows 10 to 20; the
  // gradients leave the left column alone.
  Reset(41, 21);
  const TColor color = Rgb(255, 0, 0), colorTo = Rgb(0, 0, 255), mirror = Rgb(0, 255, 0), mirrorTo = Rgb(255, 255, 0);
  DrawGlowFace(c, {0, 0, 41, 21}, color, colorTo, mirror, mirrorTo, clNone, ggRadial, ggRadial, "", nullptr, true,
               false, aaClearType, true);
  Save("glow_rows.png", 8);
  for (int y = 0; y <= 9; ++y) EXPECT_EQ(At(0, y), color) << y;
  for (int y = 10; y <= 20; ++y) EXPECT_EQ(At(0, y), mirror) << y;
  EXPECT_EQ(At(20, 0), color);                  // row 0 has no gradient
  EXPECT_GT(B(At(20, 1)), 200);                 // the upper centre colour near the top
  EXPECT_GT(R(At(20, 20)) + G(At(20, 20)), 400);  // the lower centre colour near the bottom
  EXPECT_EQ(At(20, 10) == color, false);        // row 10 belongs to the lower half
}

TEST_F(FaceCanvas, TheFocusFrameIsSolidThenDotted) {
  Reset(60, 30, clWhite);
  DrawGlowFace(c, {0, 0, 60, 30}, clWhite, clWhite, clWhite, clWhite, clNone, ggVertical, ggVertical, "", nullptr,
               true, true, aaClearType, true);
  Save("glow_focus.png", 8);
  // The solid frame in 0xE4AD89 one pixel inside, the dotted grey one two pixels inside.
  TColor solid = At(20, 1);
  EXPECT_GT(B(solid), R(solid) + 30) << std::hex << solid;
  // Along the dotted right edge (x = 57) dark grey dots alternate with light gaps.
  int dots = 0, gaps = 0;
  for (int y = 6; y < 24; ++y) {
    TColor p = At(57, y);
    if (R(p) < 0xB0 && std::abs(R(p) - B(p)) < 20) ++dots;
    else ++gaps;
  }
  EXPECT_GE(dots, 5);
  EXPECT_GE(gaps, 5);
  EXPECT_EQ(At(30, 15), clWhite);
}

TEST_F(FaceCanvas, AGlowFaceWithoutBorderOrFocusPaintsOnlyItsHalves) {
  Reset(40, 24, clRed);
  for (TGDIPGradient lower : {ggRadial, ggVertical}) {
    DrawGlowFace(c, {0, 0, 40, 20}, clWhite, clWhite, clWhite, clWhite, clNone, ggVertical, lower, "", nullptr,
                 true, false, aaClearType, true);
    EXPECT_EQ(Ink({0, 0, 40, 20}), 0);
    EXPECT_EQ(Ink({0, 20, 40, 24}, clRed), 0);  // nothing below the face
  }
  DrawGlowFace(c, {0, 0, 40, 20}, clWhite, clWhite, clWhite, clWhite, clBlack, ggVertical, ggVertical, "", nullptr,
               true, false, aaClearType, false);
  EXPECT_EQ(At(0, 10), clBlack);
}

TEST_F(FaceCanvas, VerticalTextUnderlinesItsHotKey) {
  TFont font;
  font.SetName("DejaVu Sans");
  font.SetSize(12);
  font.SetColor(clBlack);
  auto draw = [&](const std::string& text) {
    Reset(40, 120);
    c->Font()->Assign(&font);
    c->Brush()->SetStyle(bsClear);
    DrawVerticalText(c, text, {30, 5});
  };
  draw("File");
  int h = c->TextHeight("File");
  const int column = 30 - h + 1;
  int plain = Ink({column, 0, column + 1, 120});
  draw("&File");
  Save("vertical_text.png");
  EXPECT_GT(Ink({column, 0, column + 1, 120}), plain);
  draw("A&&B");
  int doubled = Ink({0, 0, 40, 120});
  Reset(40, 120);
  c->Font()->Assign(&font);
  c->Font()->SetOrientation(2700);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(30, 5, "A&B");
  EXPECT_EQ(Ink({0, 0, 40, 120}), doubled);
}

TEST_F(FaceCanvas, ACaptionGivenOnlyAsWideTextIsMeasured) {
  Reset(200, 40);
  TFont font;
  font.SetName("DejaVu Sans");
  TRect r = DrawGDIPText(c, 2, 0, {0, 0, 200, 40}, "", u"Wide", &font, true, true, aaNone, false, false);
  EXPECT_GT(r.Width(), 10);
  EXPECT_GT(Ink({0, 0, 200, 40}), 0);
  EXPECT_EQ(DrawGDIPText(c, 2, 0, {0, 0, 200, 40}, "", u"", &font, true, true, aaNone, false, false), TRect{});
}

TEST_F(FaceCanvas, AnAntiAliasedCaptionIsShortenedToItsBox) {
  TFont font;
  font.SetName("Tahoma");
  font.SetSize(9);
  font.SetColor(clBlack);
  const std::string text = "A rather long caption for a small box";
  struct Case {
    const char* What;
    bool Ellipsis, Wrap;
    int MinWidth;  // of the reported measurement
  };
  const Case cases[] = {
      {"with an ellipsis, measured in a wide box", true, false, 100},
      {"cut, measured in a wide box", false, false, 100},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.What);
    Reset(200, 40);
    c->Font()->Assign(&font);
    TRect r = DrawGDIPText(c, 0, 0, {10, 10, 70, 30}, text, u"", &font, true, true, aaAntiAlias, k.Ellipsis, k.Wrap);
    EXPECT_GT(r.Width(), k.MinWidth);
    EXPECT_GT(Ink({10, 10, 70, 30}), 20);
    EXPECT_EQ(Ink({72, 0, 200, 40}), 0);  // nothing beyond the box
    Save(std::string("gdip_text_") + (k.Ellipsis ? "ellipsis" : "cut") + ".png", 4);
  }
  // Measuring only: the text in its layout box.
  TRect m = DrawGDIPText(c, 0, 0, {0, 0, 1000, 20}, "Short", u"", &font, true, false, aaAntiAlias, false, false);
  EXPECT_GT(m.Width(), 10);
  EXPECT_LT(m.Width(), 80);
}

TEST_F(FaceCanvas, CaptionButtonGlyphsAreLines) {
  Reset(20, 20);
  DrawCloseGlyph(c, {0, 0, 20, 20}, clBlack, 6);
  // x0 = y0 = (20 - 6) div 3 = 4: two-pixel strokes from corner to corner.
  EXPECT_EQ(At(4, 5), clBlack);
  EXPECT_EQ(At(10, 10), clBlack);
  EXPECT_EQ(At(10, 4), clWhite);
  Reset(20, 20);
  DrawMinimizeGlyph(c, {0, 0, 20, 20}, clBlack, true);
  // x0 = (20 - 6) div 3 = 4, y0 = 10: two rows from x0 to x0 + 5.
  EXPECT_EQ(Ink({0, 0, 20, 20}), 12);
  EXPECT_EQ(At(4, 10), clBlack);
  EXPECT_EQ(At(9, 11), clBlack);
  Reset(20, 20);
  DrawMaximizeGlyph(c, {0, 0, 20, 20}, clBlack, false);
  EXPECT_EQ(At(12, 0), clBlack);  // Right - 8
  EXPECT_EQ(At(7, 3), clBlack);   // Right - 13
  Reset(20, 20);
  DrawRestoreGlyph(c, {0, 0, 20, 20}, clBlack, true);
  EXPECT_EQ(At(6, 4), clBlack);  // the back frame's top, x0 + 2 with x0 = y0 = 4
  EXPECT_EQ(At(4, 12), clBlack);  // the front frame's bottom-left corner
}

TEST_F(FaceCanvas, VistaFaceBordersFollowTheButtonPosition) {
  TVistaFaceParams p;
  p.Color = p.ColorTo = p.ColorMirror = p.ColorMirrorTo = clWhite;
  p.BorderColor = Rgb(0, 0, 200);
  p.Rounded = false;
  p.Position = bpMiddle;
  Reset(30, 20);
  DrawVistaButtonFace(c, {0, 0, 30, 20}, p);
  TColor light = At(0, 10), lightEnd = At(0, 1);
  p.Hot = true;
  Reset(30, 20);
  DrawVistaButtonFace(c, {0, 0, 30, 20}, p);
  TColor hot = At(0, 10);
  // Not hot: a light grey edge (white darkened by 10 percent) that stops short of the ends.
  EXPECT_EQ(R(light), G(light));
  EXPECT_LT(R(light), 255);
  EXPECT_GT(R(light), 200);
  EXPECT_EQ(lightEnd, clWhite);
  EXPECT_GT(B(hot), R(hot) + 50);
}

TEST_F(FaceCanvas, ATransparentVistaFaceDrawsOnlyFocusAndContent) {
  Reset(40, 24, clRed);
  TVistaFaceParams p;
  p.Transparent = true;
  p.Focus = true;
  DrawVistaButtonFace(c, {0, 0, 40, 24}, p);
  EXPECT_EQ(At(20, 12), clRed);
  EXPECT_EQ(At(0, 0), clRed);
  EXPECT_NE(At(20, 1), clRed);
}

TEST_F(FaceCanvas, MeasuringAVistaFaceReturnsTheContentSize) {
  Reset(100, 30, clRed);
  TFont font;
  font.SetName("DejaVu Sans");
  TVistaFaceParams p;
  p.Caption = "Caption";
  p.Font = &font;
  p.AntiAlias = aaNone;
  p.MeasureOnly = true;
  p.Transparent = true;
  TSize size = DrawVistaButtonFace(c, {0, 0, 100, 30}, p);
  EXPECT_EQ(size.cx, c->TextWidth("Caption") + 2);
  EXPECT_GE(size.cy, c->TextHeight("Caption") + 2);
  EXPECT_EQ(Ink({0, 0, 100, 30}, clRed), 0);
  p.Caption.clear();
  EXPECT_EQ(DrawVistaButtonFace(c, {0, 0, 100, 30}, p), (TSize{0, 0}));
}

TEST_F(FaceCanvas, PicturesAreKeyedOnACornerPixelUnlessTheyArePng) {
  // A 4 x 4 picture: red in the top-left corner, blue in the bottom-left, green elsewhere.
  TRawImage raw(4, 4, MakeArgb(255, 0, 255, 0));
  raw.At(0, 0) = MakeArgb(255, 255, 0, 0);
  raw.At(0, 3) = MakeArgb(255, 0, 0, 255);
  TBitmap bitmap;
  bitmap.LoadFromRawImage(raw);
  TPngImage png;
  png.SetRawImage(raw);

  Reset(20, 10);
  DrawGDIPGraphic(nullptr, c, {2, 2}, true, &bitmap);    // keyed on its top-left red
  DrawGDIPGraphic(nullptr, c, {10, 2}, true, &png);      // a PNG is drawn as it is
  EXPECT_EQ(At(2, 2), clWhite);
  EXPECT_EQ(At(3, 2), clLime);
  EXPECT_EQ(At(10, 2), clRed);
  DrawGDIPGraphic(nullptr, c, {2, 2}, false, &bitmap);
  EXPECT_EQ(At(2, 2), clRed);

  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  list.AddRawImage(raw);
  Reset(20, 10);
  DrawGDIPImageListImage(nullptr, c, {2, 2}, &list, 0, true);  // keyed on its bottom-left blue
  EXPECT_EQ(At(2, 5), clWhite);
  EXPECT_EQ(At(2, 2), clRed);
  DrawGDIPImageListImage(nullptr, c, {2, 2}, &list, -1, true);
  DrawGDIPImageListImage(nullptr, nullptr, {2, 2}, &list, 0, true);
  DrawGDIPGraphic(nullptr, c, {2, 2}, true, nullptr);
}

TEST_F(FaceCanvas, AVistaFaceIgnoresAOnePixelGlyph) {
  TBitmap thin, glyph;
  thin.LoadFromRawImage(TRawImage(1, 5, MakeArgb(255, 255, 0, 0)));
  glyph.LoadFromRawImage(TRawImage(4, 4, MakeArgb(255, 255, 0, 0)));
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  list.AddRawImage(TRawImage(4, 4, MakeArgb(255, 0, 255, 0)));
  TVistaFaceParams p;
  p.Transparent = true;
  p.ShowPicture = true;
  p.Images = &list;
  p.ImageIndex = 0;
  p.Glyph = &thin;
  Reset(20, 20);
  TSize size = DrawVistaButtonFace(c, {0, 0, 20, 20}, p);
  EXPECT_EQ(size, (TSize{4 + 2, 4}));  // the picture width counts the spacing
  EXPECT_EQ(At(7, 8), clLime);         // centred: ((20 - 6) div 2, (20 - 4) div 2)
  EXPECT_EQ(Ink({0, 0, 20, 20}), 16);
  p.Glyph = &glyph;
  Reset(20, 20);
  DrawVistaButtonFace(c, {0, 0, 20, 20}, p);
  EXPECT_EQ(At(7, 8), clRed);
}

// The faces in each state, for a look: rows of glow faces (normal, hot, down, checked,
// disabled; with a caption; focused; with a drop-down strip) and of vista faces.
TEST_F(FaceCanvas, FaceSheetsRender) {
  TVivIzizEzuOfficeStyler styler(nullptr);
  styler.SetToolBarStyle(bsOffice2007Luna);
  TGlowButtonAppearance* a = styler.GlowButtonAppearance();
  TFont font;
  font.SetName("DejaVu Sans");
  font.SetSize(9);
  font.SetColor(clBlack);
  struct State {
    TColor C, CT, M, MT, B;
    TGDIPGradient G, GM;
    bool Enabled;
  };
  const State states[] = {
      {a->Color(), a->ColorTo(), a->ColorMirror(), a->ColorMirrorTo(), a->BorderColor(), a->Gradient(),
       a->GradientMirror(), true},
      {a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(), a->BorderColorHot(),
       ggRadial, ggRadial, true},
      {a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(), a->BorderColorDown(),
       a->GradientDown(), a->GradientMirrorDown(), true},
      {a->ColorChecked(), a->ColorCheckedTo(), a->ColorMirrorChecked(), a->ColorMirrorCheckedTo(),
       a->BorderColorChecked(), a->GradientChecked(), a->GradientMirrorChecked(), true},
      {a->ColorDisabled(), a->ColorDisabledTo(), a->ColorMirrorDisabled(), a->ColorMirrorDisabledTo(),
       a->BorderColorDisabled(), a->GradientDisabled(), a->GradientMirrorDisabled(), false},
  };
  Reset(5 * 90 + 10, 4 * 40 + 10, 0xFAF1E9);
  for (int i = 0; i < 5; ++i) {
    const State& s = states[i];
    const int x = 5 + i * 90;
    DrawGlowFace(c, {x, 5, x + 80, 31}, s.C, s.CT, s.M, s.MT, s.B, s.G, s.GM, "", nullptr, s.Enabled, false,
                 aaClearType, true);
    DrawGlowFace(c, {x, 45, x + 80, 71}, s.C, s.CT, s.M, s.MT, s.B, s.G, s.GM, "&Recalc", &font, s.Enabled, false,
                 aaAntiAlias, true);
    DrawGlowFace(c, {x, 85, x + 80, 111}, s.C, s.CT, s.M, s.MT, s.B, s.G, s.GM, "Focus", &font, s.Enabled, true,
                 aaNone, i % 2 == 0);
    DrawGlowFaceEx(c, {x, 125, x + 80, 151}, s.C, s.CT, s.M, s.MT, s.B, s.G, s.GM, "Menu", &font, nullptr, -1, true,
                   gpLeft, true, true, s.Enabled, false, dpRight, nullptr, aaAntiAlias, true);
  }
  Save("glow_faces.png", 2);
  EXPECT_GT(Ink({5, 5, 85, 31}, 0xFAF1E9), 1500);

  // Vista faces: one column per state (0 normal, 1 hot, 2 down), rows of positions,
  // split drop-downs, focus, transparent.
  Reset(3 * 70 + 10, 7 * 30 + 10, 0xFAF1E9);
  const TButtonPosition positions[] = {bpStandalone, bpLeft, bpMiddle, bpRight};
  for (int state = 0; state < 3; ++state) {
    const State& s = states[state];
    for (int row = 0; row < 7; ++row) {
      TVistaFaceParams p;
      p.Color = s.C, p.ColorTo = s.CT, p.ColorMirror = s.M, p.ColorMirrorTo = s.MT, p.BorderColor = s.B;
      p.Gradient = s.G, p.GradientMirror = s.GM;
      p.State = state;
      p.Hot = state == 1;
      if (row < 4) p.Position = positions[row];
      if (row == 4) p.DropDown = p.DropDownSplit = p.SplitSeparator = true;
      if (row == 5) p.Focus = true, p.Caption = "Vista", p.Font = &font;
      if (row == 6) p.Transparent = true, p.Focus = true;
      TBitmap face(60, 22);
      face.Canvas()->Brush()->SetColor(0xFAF1E9);
      face.Canvas()->FillRect({0, 0, 60, 22});
      DrawVistaButtonFace(face.Canvas(), {0, 0, 60, 22}, p);
      c->Draw(5 + state * 70, 5 + row * 30, &face);
    }
  }
  Save("vista_faces.png", 4);
  EXPECT_GT(Ink({5, 5, 65, 27}, 0xFAF1E9), 800);
}

}  // namespace
