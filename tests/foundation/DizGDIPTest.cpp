// Tests of the GDI+ object layer: status rules, colours, and pictures drawn through the
// wrappers onto a GDI+ bitmap, checked at sample points and saved as PNG for a look.
#include "foundation/DizGDIP.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/gdi/SysColors.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/WinDef.h"  // both point helpers in one file

namespace {

// A file may use the GDI+ point helper and the window system's point side by side.
TEST(DizGDIPNames, PointHelpersOfBothLayersLiveTogether) {
  const TGPPoint gp = MakePoint(3, 4);
  const POINT wp = WinPoint(3, 4);
  EXPECT_EQ(gp.X, wp.x);
  EXPECT_EQ(gp.Y, wp.y);
}

std::string OutPath(const std::string& name) { return ::testing::TempDir() + "dizgdip_" + name; }

std::u16string Wide(const std::string& s) { return Utf8ToUtf16(s); }

int Channel(ARGB c, int shift) { return int((c >> shift) & 0xFF); }

// Colours within a tolerance per channel (anti-aliasing and gradient rounding).
::testing::AssertionResult Near(ARGB actual, ARGB expected, int tolerance = 8) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
  return ::testing::AssertionSuccess();
}

// Gives access to the last status, which the wrappers other than the graphics keep
// without a reader.
struct BrushProbe : TGPBrush {
  using TGPBrush::TGPBrush;
  Status Last() const { return FLastStatus; }
};
struct FamilyProbe : TGPFontFamily {
  using TGPFontFamily::TGPFontFamily;
  Status Last() const { return FLastStatus; }
};
struct FormatProbe : TGPStringFormat {
  using TGPStringFormat::TGPStringFormat;
  Status Last() const { return FLastStatus; }
};

// A white canvas: a 32-bit bitmap with a graphics on it.
class GdipCanvas : public ::testing::Test {
protected:
  static constexpr int W = 200, H = 150;
  void SetUp() override {
    bitmap = std::make_unique<TGPBitmap>(W, H);
    ASSERT_NE(bitmap->GetNativeImage(), nullptr);
    g = std::make_unique<TGPGraphics>(bitmap.get());
    ASSERT_NE(g->GetNativeGraphics(), nullptr);
    TGPSolidBrush white(0xFFFFFFFF);
    ASSERT_EQ(g->FillRectangle(&white, 0, 0, W, H), Ok);
  }
  ARGB At(int x, int y) {
    ARGB c = 0;
    EXPECT_EQ(bitmap->GetPixel(x, y, c), Ok) << x << "," << y;
    return c;
  }
  void Save(const std::string& name) {
    g->Flush();
    EXPECT_EQ(bitmap->Save(Wide(OutPath(name)), EncoderClsidPNG), Ok);
  }
  std::unique_ptr<TGPBitmap> bitmap;
  std::unique_ptr<TGPGraphics> g;
};

}  // namespace

// ---- colours ----------------------------------------------------------------------------------

TEST(DizGDIPColour, FrameworkColoursBecomeOpaqueARGB) {
  struct Case {
    TColor in;
    ARGB out;
  } cases[] = {
      {0x0000FF, 0xFFFF0000},  // red
      {0x00FF00, 0xFF00FF00},
      {0xFF0000, 0xFF0000FF},  // blue
      {0x123456, 0xFF563412},
      {0x000000, 0xFF000000},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToARGB(c.in), c.out) << std::hex << c.in;
  EXPECT_EQ(MakeColor(0x80, TColor(0x0000FF)), 0x80FF0000u);
  EXPECT_EQ(MakeColor(1, 2, 3), 0xFF010203u);
  EXPECT_EQ(MakeColor(4, 1, 2, 3), 0x04010203u);
  const ARGB c = 0x11223344;
  EXPECT_EQ(GetAlpha(c), 0x11);
  EXPECT_EQ(GetRed(c), 0x22);
  EXPECT_EQ(GetGreen(c), 0x33);
  EXPECT_EQ(GetBlue(c), 0x44);
}

TEST(DizGDIPColour, NoColourIsTransparentNotWhite) {
  EXPECT_EQ(GetAlpha(ColorToARGB(clNone)), 0);
  EXPECT_EQ(GetAlpha(MakeColor(200, clNone)), 0);
}

TEST(DizGDIPColour, SystemColoursFollowTheCurrentScheme) {
  const TColor btnFace = TColor(0x80000000 | COLOR_BTNFACE);
  const INT index = COLOR_BTNFACE;
  const COLORREF custom = 0x00102030;
  ASSERT_TRUE(SetSysColors(1, &index, &custom));
  EXPECT_EQ(ColorToARGB(btnFace), 0xFF302010u);
  EXPECT_EQ(MakeColor(0x40, btnFace), 0x40302010u);
  ResetSysColors();
  const DWORD scheme = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(ColorToARGB(btnFace), 0xFF000000u | ((scheme & 0xFF) << 16) | (scheme & 0xFF00) | ((scheme >> 16) & 0xFF));
}

// ---- status rules --------------------------------------------------------------------------------

TEST(DizGDIPStatus, GraphicsOnNoImageHasNoHandleAndOkStatus) {
  TGPGraphics g(static_cast<TGPImage*>(nullptr));
  EXPECT_EQ(g.GetNativeGraphics(), nullptr);
  EXPECT_EQ(g.GetLastStatus(), Ok);
  // Still usable: calls pass the null handle and keep what GDI+ answers.
  TGPPen pen(0xFF000000);
  EXPECT_EQ(g.DrawLine(&pen, 0, 0, 1, 1), InvalidParameter);
  EXPECT_EQ(g.GetSmoothingMode(), SmoothingModeInvalid);
  EXPECT_EQ(g.GetLastStatus(), InvalidParameter);
}

TEST_F(GdipCanvas, LastFailureIsKeptAndReadOnce) {
  TGPPen pen(0xFF000000);
  TGPSolidBrush brush(0xFF000000);
  EXPECT_EQ(g->DrawLine(nullptr, 0, 0, 5, 5), InvalidParameter);
  EXPECT_EQ(g->FillRectangle(&brush, 1, 1, 2, 2), Ok);  // a success does not clear it
  EXPECT_EQ(g->GetLastStatus(), InvalidParameter);
  EXPECT_EQ(g->GetLastStatus(), Ok);
  EXPECT_EQ(g->DrawLine(&pen, 0, 0, 5, 5), Ok);
  EXPECT_EQ(g->GetLastStatus(), Ok);
}

TEST(DizGDIPStatus, ConstructorsRecordTheirResult) {
  BrushProbe none;
  EXPECT_EQ(none.GetNativeBrush(), nullptr);
  EXPECT_EQ(none.Last(), NotImplemented);

  TGPSolidBrush empty;
  EXPECT_EQ(empty.GetNativeBrush(), nullptr);

  FamilyProbe missing(u"No Such Family 7f3a");
  EXPECT_EQ(missing.GetNativeFamily(), nullptr);
  EXPECT_EQ(missing.Last(), FontFamilyNotFound);

  FamilyProbe sans(u"Arial");
  EXPECT_NE(sans.GetNativeFamily(), nullptr);
  EXPECT_EQ(sans.Last(), Ok);

  // A font on a family that failed is null too, and drawing with it fails without a crash.
  TGPFont font(&missing, 10);
  EXPECT_EQ(font.GetNativeFont(), nullptr);
  auto bmp = std::make_unique<TGPBitmap>(10, 10);
  TGPGraphics g(bmp.get());
  TGPSolidBrush black(0xFF000000);
  EXPECT_NE(g.DrawString(u"x", 1, &font, MakeRect(0.f, 0.f, 10.f, 10.f), nullptr, &black), Ok);
}

TEST(DizGDIPStatus, WrappersLiveInGdiplusMemory) {
  TGPPen* pen = new TGPPen(0xFF123456, 2.0f);
  EXPECT_NE(pen->GetNativePen(), nullptr);
  delete pen;
  auto bmp = std::make_unique<TGPBitmap>(4, 4);
  TGPGraphics* g = TGPGraphics::FromImage(bmp.get());
  EXPECT_NE(g->GetNativeGraphics(), nullptr);
  delete g;
}

// ---- path gradient surround and centre colours ------------------------------------------------------

class PathGradient : public ::testing::Test {
protected:
  PathGradient() {
    path.AddLine(0.f, 0.f, 40.f, 0.f);
    path.AddLine(40.f, 0.f, 40.f, 40.f);
    path.AddLine(40.f, 40.f, 0.f, 40.f);
    path.CloseFigure();
    brush = std::make_unique<TGPPathGradientBrush>(&path);
  }
  TGPGraphicsPath path;
  std::unique_ptr<TGPPathGradientBrush> brush;
};

TEST_F(PathGradient, SurroundColoursCheckTheCountAgainstThePoints) {
  ASSERT_NE(brush->GetNativeBrush(), nullptr);
  const int points = brush->GetPointCount();
  ASSERT_EQ(points, 4);
  const ARGB colours[5] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};

  int count = 5;
  EXPECT_EQ(brush->SetSurroundColors(colours, count), InvalidParameter);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(brush->SetSurroundColors(nullptr, count), InvalidParameter);

  // Earlier failures do not stick to later calls: each answers its own status.
  count = 4;
  EXPECT_EQ(brush->SetSurroundColors(colours, count), Ok);
  EXPECT_EQ(count, 4);

  ARGB back[4] = {};
  int room = 4;
  EXPECT_EQ(brush->GetSurroundColors(back, room), Ok);
  EXPECT_EQ(room, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i], colours[i]);

  room = 2;
  EXPECT_EQ(brush->GetSurroundColors(back, room), InsufficientBuffer);
  EXPECT_EQ(room, 2);
  EXPECT_EQ(brush->GetSurroundColors(nullptr, room), InvalidParameter);
}

TEST_F(PathGradient, CentreColourAndPointAnswerTheirOwnCall) {
  int count = 9;
  const ARGB colours[9] = {};
  ASSERT_EQ(brush->SetSurroundColors(colours, count), InvalidParameter);
  EXPECT_EQ(brush->SetCenterColor(0xFF112233), Ok);
  ARGB c = 0;
  EXPECT_EQ(brush->GetCenterColor(c), Ok);
  EXPECT_EQ(c, 0xFF112233u);
  EXPECT_EQ(brush->SetCenterPoint(MakePoint(10.f, 12.f)), Ok);
  TGPPointF pf;
  EXPECT_EQ(brush->GetCenterPoint(pf), Ok);
  EXPECT_FLOAT_EQ(pf.X, 10.f);
  EXPECT_FLOAT_EQ(pf.Y, 12.f);
  EXPECT_EQ(brush->SetCenterPoint(MakePoint(5, 6)), Ok);
  TGPPoint pi;
  EXPECT_EQ(brush->GetCenterPoint(pi), Ok);
  EXPECT_EQ(pi.X, 5);
  EXPECT_EQ(pi.Y, 6);
}

// ---- string formats, encoder parameters, Windows 7 flag -----------------------------------------------

TEST(DizGDIPFormat, AssignClonesTheSource) {
  TGPStringFormat source;
  source.SetAlignment(StringAlignmentCenter);
  source.SetLineAlignment(StringAlignmentFar);
  source.SetTrimming(StringTrimmingEllipsisWord);
  source.SetHotkeyPrefix(HotkeyPrefixShow);
  FormatProbe copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.Last(), Ok);
  EXPECT_NE(copy.GetNativeFormat(), source.GetNativeFormat());
  EXPECT_EQ(copy.GetAlignment(), StringAlignmentCenter);
  EXPECT_EQ(copy.GetLineAlignment(), StringAlignmentFar);
  EXPECT_EQ(copy.GetTrimming(), StringTrimmingEllipsisWord);
  EXPECT_EQ(copy.GetHotkeyPrefix(), HotkeyPrefixShow);
  // The copy is independent of the source.
  source.SetAlignment(StringAlignmentNear);
  EXPECT_EQ(copy.GetAlignment(), StringAlignmentCenter);
  EXPECT_THROW(copy.Assign(nullptr), EAssertionFailed);
}

TEST(DizGDIPEncoder, QualityIsClampedAndStoredInTheBlock) {
  struct Case {
    int in;
    std::uint32_t out;
  } cases[] = {{-5, 0}, {0, 0}, {75, 75}, {100, 100}, {150, 100}};
  for (const Case& c : cases) {
    auto block = GetEncoderQualityParameters(c.in);
    const EncoderParameters* p = block.Parameters();
    ASSERT_EQ(p->Count, 1u);
    EXPECT_TRUE(p->Parameter[0].Guid == EncoderQuality);
    EXPECT_EQ(p->Parameter[0].NumberOfValues, 1u);
    EXPECT_EQ(p->Parameter[0].Type, 4u);
    EXPECT_EQ(*static_cast<const std::uint32_t*>(p->Parameter[0].Value), c.out) << c.in;
  }
}

TEST(DizGDIPWin7, FlagIsStoredProcessWide) {
  const bool before = IsWin7();
  SetWin7(true);
  EXPECT_TRUE(IsWin7());
  SetWin7(false);
  EXPECT_FALSE(IsWin7());
  SetWin7(before);
}

// ---- images -------------------------------------------------------------------------------------------

TEST(DizGDIPImage, FormatSizeAndResolutionOfSavedFiles) {
  TGPBitmap bmp(7, 5);
  EXPECT_EQ(bmp.GetFormat(), ifMemoryBMP);
  ASSERT_EQ(bmp.SetPixel(1, 1, 0xFF00FF00), Ok);
  EXPECT_EQ(bmp.SetResolution(120.f, 144.f), Ok);
  EXPECT_FLOAT_EQ(bmp.GetHorizontalResolution(), 120.f);
  EXPECT_FLOAT_EQ(bmp.GetVerticalResolution(), 144.f);

  struct Case {
    const char* file;
    CLSID encoder;
    TGPImageFormat format;
  } cases[] = {{"fmt.png", EncoderClsidPNG, ifPNG}, {"fmt.bmp", EncoderClsidBMP, ifBMP}};
  for (const Case& c : cases) {
    const std::u16string name = Wide(OutPath(c.file));
    ASSERT_EQ(bmp.Save(name, c.encoder), Ok) << c.file;
    TGPImage loaded(name);
    EXPECT_EQ(loaded.GetFormat(), c.format) << c.file;
    EXPECT_EQ(loaded.GetWidth(), 7u);
    EXPECT_EQ(loaded.GetHeight(), 5u);
    std::remove(OutPath(c.file).c_str());
  }

  TGPImage missing(Wide(OutPath("does-not-exist.png")));
  EXPECT_EQ(missing.GetNativeImage(), nullptr);
  EXPECT_EQ(missing.GetWidth(), 0u);
  EXPECT_EQ(missing.GetFormat(), ifUndefined);
}

TEST(DizGDIPImage, RotateFlipTurnsTheBitmap) {
  TGPBitmap bmp(4, 2);
  ASSERT_EQ(bmp.SetPixel(3, 0, 0xFFFF0000), Ok);
  ASSERT_EQ(bmp.RotateFlip(Rotate90FlipNone), Ok);
  EXPECT_EQ(bmp.GetWidth(), 2u);
  EXPECT_EQ(bmp.GetHeight(), 4u);
  ARGB c = 0;
  ASSERT_EQ(bmp.GetPixel(1, 3, c), Ok);  // top-right corner turns to the bottom-right
  EXPECT_EQ(c, 0xFFFF0000u);
}

TEST_F(GdipCanvas, ColourKeyLeavesKeyedPixelsUndrawn) {
  TGPBitmap src(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) src.SetPixel(x, y, x < 5 ? 0xFFFF00FF : 0xFF0000FF);
  TGPImageAttributes attr;
  ASSERT_EQ(attr.SetColorKey(0xFFFF00FF, 0xFFFF00FF), Ok);
  ASSERT_EQ(g->DrawImage(&src, MakeRect(20.f, 20.f, 10.f, 10.f), 0, 0, 10, 10, UnitPixel, &attr), Ok);
  EXPECT_TRUE(Near(At(22, 25), 0xFFFFFFFF));  // keyed magenta: canvas shows through
  EXPECT_TRUE(Near(At(27, 25), 0xFF0000FF));
  ASSERT_EQ(attr.ClearColorKey(), Ok);
  ASSERT_EQ(g->DrawImage(&src, MakeRect(40.f, 20.f, 10.f, 10.f), 0, 0, 10, 10, UnitPixel, &attr), Ok);
  EXPECT_TRUE(Near(At(42, 25), 0xFFFF00FF));
  ASSERT_EQ(g->DrawImageRect(&src, 60, 20, 20, 20), Ok);  // scaled to twice the size
  EXPECT_TRUE(Near(At(62, 38), 0xFFFF00FF));
  EXPECT_TRUE(Near(At(77, 38), 0xFF0000FF));
  ASSERT_EQ(g->DrawImage(&src, 90, 20), Ok);
  EXPECT_TRUE(Near(At(98, 29), 0xFF0000FF));
  EXPECT_TRUE(Near(At(98, 31), 0xFFFFFFFF));
  EXPECT_EQ(g->DrawImage(nullptr, 0, 0), InvalidParameter);
}

// ---- pictures ------------------------------------------------------------------------------------------

TEST_F(GdipCanvas, ShapesAndPaths) {
  ASSERT_EQ(g->SetSmoothingMode(SmoothingModeAntiAlias), Ok);
  EXPECT_EQ(g->GetSmoothingMode(), SmoothingModeAntiAlias);
  TGPSolidBrush red(0xFFFF0000), green(0xFF00C000), blue(0xFF0000FF);
  TGPPen black(0xFF000000, 3.0f);

  ASSERT_EQ(g->FillRectangle(&red, MakeRect(10.f, 10.f, 50.f, 30.f)), Ok);
  ASSERT_EQ(g->DrawRectangle(&black, MakeRect(10.f, 10.f, 50.f, 30.f)), Ok);
  ASSERT_EQ(g->FillEllipse(&green, 80, 10, 50, 30), Ok);
  ASSERT_EQ(g->DrawEllipse(&black, 80, 10, 50, 30), Ok);
  ASSERT_EQ(g->DrawLine(&black, 150.f, 10.f, 190.f, 40.f), Ok);

  // A pie and a closed Bézier shape as paths.
  TGPGraphicsPath pie;
  ASSERT_EQ(pie.AddPie(10.f, 60.f, 60.f, 60.f, 0.f, 90.f), Ok);
  ASSERT_EQ(g->FillPath(&blue, &pie), Ok);
  TGPGraphicsPath shape;
  ASSERT_EQ(shape.AddBezier(MakePoint(90, 120), MakePoint(100, 50), MakePoint(140, 50), MakePoint(150, 120)), Ok);
  ASSERT_EQ(shape.CloseFigure(), Ok);
  ASSERT_EQ(g->FillPath(&red, &shape), Ok);
  ASSERT_EQ(g->DrawPath(&black, &shape), Ok);
  // A dashed polygon outline and a curve through points.
  TGPPen dashed(0xFF0000FF, 2.0f);
  ASSERT_EQ(dashed.SetDashStyle(DashStyleDash), Ok);
  EXPECT_EQ(dashed.GetDashStyle(), DashStyleDash);
  ASSERT_EQ(dashed.SetEndCap(LineCapRound), Ok);
  TGPGraphicsPath poly;
  const TGPPoint tri[3] = {{160, 60}, {195, 140}, {160, 140}};
  ASSERT_EQ(poly.AddPolygon(tri, 3), Ok);
  ASSERT_EQ(g->DrawPath(&dashed, &poly), Ok);
  TGPGraphicsPath curve;
  const TGPPoint pts[4] = {{10, 140}, {30, 125}, {50, 145}, {70, 130}};
  ASSERT_EQ(curve.AddCurve(pts, 4, 0.5f), Ok);
  ASSERT_EQ(g->DrawPath(&black, &curve), Ok);
  Save("shapes.png");

  EXPECT_TRUE(Near(At(35, 25), 0xFFFF0000));   // rectangle inside
  EXPECT_TRUE(Near(At(10, 25), 0xFF000000, 40));  // its frame
  EXPECT_TRUE(Near(At(105, 25), 0xFF00C000));  // ellipse centre
  EXPECT_TRUE(Near(At(82, 12), 0xFFFFFFFF));   // outside the ellipse, inside its box
  EXPECT_TRUE(Near(At(50, 100), 0xFF0000FF));  // pie's quarter: right-down of its centre
  EXPECT_TRUE(Near(At(20, 70), 0xFFFFFFFF));   // the rest of the pie's circle
  EXPECT_TRUE(Near(At(120, 100), 0xFFFF0000)); // inside the Bézier shape
  EXPECT_TRUE(Near(At(195, 20), 0xFFFFFFFF));
}

TEST_F(GdipCanvas, LinearGradients) {
  TGPLinearGradientBrush horizontal(MakeRect(0.f, 0.f, 100.f, 50.f), 0xFFFF0000, 0xFF0000FF,
                                    LinearGradientModeHorizontal);
  ASSERT_EQ(g->FillRectangle(&horizontal, 0, 0, 100, 50), Ok);
  const TGPRect rect{100, 0, 100, 50};
  TGPLinearGradientBrush vertical(rect, 0xFF000000, 0xFFFFFFFF, LinearGradientModeVertical);
  ASSERT_EQ(g->FillRectangle(&vertical, 100, 0, 100, 50), Ok);
  // Tiled: a rectangle beyond the brush's repeats it.
  ASSERT_EQ(g->FillRectangle(&horizontal, 0, 60, 200, 40), Ok);
  Save("linear.png");

  EXPECT_TRUE(Near(At(1, 25), 0xFFFF0000, 12));
  EXPECT_TRUE(Near(At(98, 25), 0xFF0000FF, 12));
  EXPECT_TRUE(Near(At(50, 25), 0xFF800080, 12));
  EXPECT_TRUE(Near(At(150, 1), 0xFF000000, 12));
  EXPECT_TRUE(Near(At(150, 48), 0xFFFFFFFF, 12));
  EXPECT_TRUE(Near(At(150, 25), 0xFF808080, 12));
  EXPECT_TRUE(Near(At(101, 80), 0xFFFF0000, 12));  // the tile starts again
}

TEST_F(GdipCanvas, PathGradientFromCentreToSurround) {
  ASSERT_EQ(g->SetSmoothingMode(SmoothingModeAntiAlias), Ok);
  TGPGraphicsPath ellipse;
  ASSERT_EQ(ellipse.AddEllipse(MakeRect(10.f, 10.f, 120.f, 120.f)), Ok);
  TGPPathGradientBrush brush(&ellipse);
  ASSERT_EQ(brush.SetCenterColor(0xFFFFFF00), Ok);
  ASSERT_EQ(brush.SetCenterPoint(MakePoint(70.f, 70.f)), Ok);
  ARGB surround = 0xFF0000FF;
  int one = 1;
  ASSERT_EQ(brush.SetSurroundColors(&surround, one), Ok);
  ASSERT_EQ(g->FillPath(&brush, &ellipse), Ok);
  Save("pathgradient.png");

  EXPECT_TRUE(Near(At(70, 70), 0xFFFFFF00, 16));  // centre
  EXPECT_TRUE(Near(At(70, 13), 0xFF0000FF, 40));  // near the rim
  EXPECT_TRUE(Near(At(12, 12), 0xFFFFFFFF));      // outside the ellipse
  const ARGB half = At(70, 40);                   // half-way: a mix of the two
  EXPECT_GT(GetRed(half), 60);
  EXPECT_LT(GetRed(half), 200);
  EXPECT_GT(GetBlue(half), 60);
}

TEST_F(GdipCanvas, TextThroughTheWrappers) {
  TGPFontFamily family(u"Arial");
  TGPFont font(&family, 16, FontStyleBold, UnitPixel);
  ASSERT_NE(font.GetNativeFont(), nullptr);
  TGPStringFormat format;
  ASSERT_EQ(format.SetAlignment(StringAlignmentCenter), Ok);
  ASSERT_EQ(format.SetLineAlignment(StringAlignmentCenter), Ok);
  TGPSolidBrush black(0xFF000000);
  ASSERT_EQ(g->SetTextRenderingHint(TextRenderingHintAntiAliasGridFit), Ok);
  EXPECT_EQ(g->GetTextRenderingHint(), TextRenderingHintAntiAliasGridFit);

  const TGPRectF box = MakeRect(0.f, 0.f, 200.f, 50.f);
  ASSERT_EQ(g->DrawString(u"Калибровка", -1, &font, box, &format, &black), Ok);
  // 8-bit text in the system code page; a length beyond the text is cut to the text.
  const TGPRectF box2 = MakeRect(0.f, 50.f, 200.f, 50.f);
  ASSERT_EQ(g->DrawString(std::string("Пересчет"), 500, &font, box2, &format, &black), Ok);
  // Only the first three characters.
  const TGPRectF box3 = MakeRect(0.f, 100.f, 200.f, 50.f);
  ASSERT_EQ(g->DrawString(u"ЛОРМ-2", 3, &font, box3, nullptr, &black), Ok);
  Save("text.png");

  TGPRectF bounds{};
  int fitted = 0, lines = 0;
  ASSERT_EQ(g->MeasureString(u"Калибровка", -1, &font, box, &format, bounds, &fitted, &lines), Ok);
  EXPECT_EQ(fitted, 10);
  EXPECT_EQ(lines, 1);
  EXPECT_GT(bounds.Width, 60.f);
  EXPECT_LT(bounds.Width, 160.f);
  TGPRectF cut{};
  ASSERT_EQ(g->MeasureString(u"ЛОРМ-2", 3, &font, box, nullptr, cut), Ok);
  TGPRectF all{};
  ASSERT_EQ(g->MeasureString(u"ЛОРМ-2", 99, &font, box, nullptr, all), Ok);
  EXPECT_LT(cut.Width, all.Width);

  // Ink inside the centred text's bounds, none in the corners.
  auto inkIn = [&](int x0, int y0, int x1, int y1) {
    int dark = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        if (GetRed(At(x, y)) < 100) ++dark;
    return dark;
  };
  EXPECT_GT(inkIn(int(bounds.X), int(bounds.Y), int(bounds.X + bounds.Width), int(bounds.Y + bounds.Height)), 30);
  EXPECT_EQ(inkIn(0, 0, 20, 10), 0);
  EXPECT_GT(inkIn(40, 60, 160, 90), 30);
  // The three characters drawn at the left, and nothing where "-2" would follow.
  EXPECT_GT(inkIn(0, 100, int(cut.Width), 125), 20);
  EXPECT_EQ(inkIn(int(cut.Width) + 4, 100, 120, 125), 0);
}

TEST_F(GdipCanvas, ClipRegionsLimitDrawing) {
  TGPSolidBrush red(0xFFFF0000);
  TGPRegion region(MakeRect(20.f, 20.f, 60.f, 60.f));
  TGPGraphicsPath hole;
  ASSERT_EQ(hole.AddEllipse(40.f, 40.f, 20.f, 20.f), Ok);
  ASSERT_EQ(region.Exclude(&hole), Ok);
  TGPRegion extra(MakeRect(150.f, 20.f, 20.f, 20.f));
  ASSERT_EQ(region.Union(&extra), Ok);
  ASSERT_EQ(g->SetClip(&region), Ok);
  ASSERT_EQ(g->ExcludeClip(MakeRect(20.f, 20.f, 10.f, 10.f)), Ok);
  ASSERT_EQ(g->FillRectangle(&red, 0, 0, W, H), Ok);
  ASSERT_EQ(g->ResetClip(), Ok);
  TGPSolidBrush blue(0xFF0000FF);
  TGPRegion right(MakeRect(100.f, 100.f, 100.f, 50.f));
  ASSERT_EQ(g->ExcludeClip(&right), Ok);
  ASSERT_EQ(g->FillRectangle(&blue, 0, 120, W, 30), Ok);
  Save("clip.png");

  EXPECT_TRUE(Near(At(70, 30), 0xFFFF0000));
  EXPECT_TRUE(Near(At(50, 50), 0xFFFFFFFF));   // the hole
  EXPECT_TRUE(Near(At(25, 25), 0xFFFFFFFF));   // excluded corner
  EXPECT_TRUE(Near(At(10, 10), 0xFFFFFFFF));   // outside
  EXPECT_TRUE(Near(At(160, 30), 0xFFFF0000));  // the united rectangle
  EXPECT_TRUE(Near(At(50, 130), 0xFF0000FF));
  EXPECT_TRUE(Near(At(150, 130), 0xFFFFFFFF));  // excluded by region
}

TEST_F(GdipCanvas, CompositingQualityAndDeviceContext) {
  ASSERT_EQ(g->SetCompositingQuality(CompositingQualityHighQuality), Ok);
  EXPECT_EQ(g->GetCompositingQuality(), CompositingQualityHighQuality);
  HDC dc = g->GetHDC();
  ASSERT_NE(dc, nullptr);
  TGPSolidBrush red(0xFFFF0000);
  EXPECT_EQ(g->FillRectangle(&red, 0, 0, 5, 5), ObjectBusy);  // between GetHDC and ReleaseHDC
  EXPECT_EQ(g->ReleaseHDC(dc), Ok);
  EXPECT_EQ(g->GetLastStatus(), ObjectBusy);
  EXPECT_EQ(g->FillRectangle(&red, 0, 0, 5, 5), Ok);
}
