// Fonts and strings, images and bitmaps, and graphics on a device context.
#include <cstdio>
#include <string>
#include <vector>

#include "GdiPlusTestSupport.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/image/PngCodec.h"

namespace {

constexpr ARGB kRed = 0xFFFF0000, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

struct TextKit {
  GpFontFamily* family = nullptr;
  GpFont* font = nullptr;
  GpStringFormat* format = nullptr;
  GpBrush* brush = nullptr;
  explicit TextKit(REAL points = 12, int flags = 0) {
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, &family), Ok);
    EXPECT_EQ(GdipCreateFont(family, points, FontStyleRegular, UnitPoint, &font), Ok);
    EXPECT_EQ(GdipCreateStringFormat(flags, 0, &format), Ok);
    EXPECT_EQ(GdipCreateSolidFill(kBlack, &brush), Ok);
  }
  ~TextKit() {
    GdipDeleteBrush(brush);
    GdipDeleteStringFormat(format);
    GdipDeleteFont(font);
    GdipDeleteFontFamily(family);
  }
};

// The box of non-white pixels, or an empty rectangle.
GpRect InkBox(const Canvas& c) {
  int x0 = c.w, y0 = c.h, x1 = -1, y1 = -1;
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      if (c.At(x, y) != kWhite) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  return x1 < 0 ? GpRect{} : GpRect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace

TEST(GdiPlusText, FamiliesAreFoundThroughAliasesOnly) {
  GpFontFamily* f = nullptr;
  EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Face 123", nullptr, &f), FontFamilyNotFound);
  EXPECT_EQ(f, nullptr);
  for (const char16_t* name : {u"Arial", u"Tahoma", u"DejaVu Sans"}) {
    ASSERT_EQ(GdipCreateFontFamilyFromName(name, nullptr, &f), Ok);
    char16_t got[32];
    GdipGetFamilyName(f, got, 0);
    EXPECT_EQ(std::u16string(got), std::u16string(name));
    GdipDeleteFontFamily(f);
  }
  GpFont* font = nullptr;
  EXPECT_EQ(GdipCreateFont(nullptr, 10, 0, UnitPoint, &font), InvalidParameter);
}

TEST(GdiPlusText, MeasuredBoxHoldsTheDrawnInk) {
  struct Case {
    StringAlignment align, lineAlign;
  };
  const Case cases[] = {{StringAlignmentNear, StringAlignmentNear},
                        {StringAlignmentCenter, StringAlignmentCenter},
                        {StringAlignmentFar, StringAlignmentFar}};
  for (const Case& k : cases) {
    Canvas c(200, 60);
    TextKit t;
    GdipSetStringFormatAlign(t.format, k.align);
    GdipSetStringFormatLineAlign(t.format, k.lineAlign);
    GdipSetTextRenderingHint(c.g, TextRenderingHintAntiAlias);
    const GpRectF layout{10, 5, 180, 50};
    GpRectF box;
    int fitted = 0, lines = 0;
    ASSERT_EQ(GdipMeasureString(c.g, u"Калибровка Ag", -1, t.font, &layout, t.format, &box, &fitted, &lines), Ok);
    EXPECT_EQ(fitted, 13);
    EXPECT_EQ(lines, 1);
    ASSERT_EQ(GdipDrawString(c.g, u"Калибровка Ag", -1, t.font, &layout, t.format, t.brush), Ok);
    const GpRect ink = InkBox(c);
    ASSERT_GT(ink.Width, 0);
    EXPECT_GE(ink.X, box.X - 1);
    EXPECT_GE(ink.Y, box.Y - 1);
    EXPECT_LE(ink.X + ink.Width, box.X + box.Width + 1);
    EXPECT_LE(ink.Y + ink.Height, box.Y + box.Height + 1);
    EXPECT_GT(box.Width, ink.Width) << "GDI+ pads the measured box";
    if (k.align == StringAlignmentCenter) {
      EXPECT_NEAR(ink.X + ink.Width / 2.0, 100, 3);
    } else if (k.align == StringAlignmentFar) {
      EXPECT_NEAR(ink.X + ink.Width, 190, 5);
    } else {
      c.Save("gdiplus_text.png");
    }
  }
}

TEST(GdiPlusText, WrappingNoWrapAndHotkeyPrefix) {
  Canvas c(100, 100);
  TextKit wrap(10);
  const GpRectF narrow{0, 0, 60, 100};
  GpRectF box;
  int lines = 0;
  ASSERT_EQ(GdipMeasureString(c.g, u"one two three four", -1, wrap.font, &narrow, wrap.format, &box, nullptr, &lines),
            Ok);
  EXPECT_GT(lines, 1);
  EXPECT_LE(box.Width, 60);
  TextKit single(10, StringFormatFlagsNoWrap);
  ASSERT_EQ(GdipMeasureString(c.g, u"one two three four", -1, single.font, &narrow, single.format, &box, nullptr, &lines),
            Ok);
  EXPECT_EQ(lines, 1);
  // "&File" shown with the prefix measures like "File"; without prefix handling the
  // ampersand is drawn.
  GdipSetStringFormatHotkeyPrefix(single.format, HotkeyPrefixShow);
  const GpRectF wide{0, 0, 0, 0};
  GpRectF withPrefix, plain, literal;
  GdipMeasureString(c.g, u"&File", -1, single.font, &wide, single.format, &withPrefix, nullptr, nullptr);
  GdipMeasureString(c.g, u"File", -1, single.font, &wide, single.format, &plain, nullptr, nullptr);
  GdipSetStringFormatHotkeyPrefix(single.format, HotkeyPrefixNone);
  GdipMeasureString(c.g, u"&File", -1, single.font, &wide, single.format, &literal, nullptr, nullptr);
  EXPECT_FLOAT_EQ(withPrefix.Width, plain.Width);
  EXPECT_GT(literal.Width, plain.Width);
  // A length beyond the text's end stops at its terminating zero.
  GpRectF clamped;
  EXPECT_EQ(GdipMeasureString(c.g, u"File", 40, single.font, &wide, single.format, &clamped, nullptr, nullptr), Ok);
  EXPECT_FLOAT_EQ(clamped.Width, plain.Width);
}

TEST(GdiPlusText, VerticalTextRunsDownwards) {
  Canvas c(40, 150);
  TextKit t(12, StringFormatFlagsDirectionVertical);
  const GpRectF layout{0, 0, 40, 150};
  GpRectF box;
  ASSERT_EQ(GdipMeasureString(c.g, u"Vertical", -1, t.font, &layout, t.format, &box, nullptr, nullptr), Ok);
  EXPECT_GT(box.Height, box.Width);
  ASSERT_EQ(GdipDrawString(c.g, u"Vertical", -1, t.font, &layout, t.format, t.brush), Ok);
  const GpRect ink = InkBox(c);
  EXPECT_GT(ink.Height, 2 * ink.Width);
}

// ---- images -----------------------------------------------------------------------------------------

TEST(GdiPlusImages, PixelsResolutionAndRotation) {
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  ARGB px = 1;
  ASSERT_EQ(GdipBitmapGetPixel(bmp, 0, 0, &px), Ok);
  EXPECT_EQ(px, 0u) << "new ARGB bitmaps are transparent";
  ASSERT_EQ(GdipBitmapSetPixel(bmp, 2, 0, 0x80FF0000), Ok);
  ASSERT_EQ(GdipBitmapGetPixel(bmp, 2, 0, &px), Ok);
  EXPECT_EQ(px, 0x80FF0000u);
  EXPECT_EQ(GdipBitmapGetPixel(bmp, 3, 0, &px), InvalidParameter);
  EXPECT_EQ(GdipBitmapSetResolution(bmp, 0, 96), InvalidParameter);
  ASSERT_EQ(GdipBitmapSetResolution(bmp, 120, 72), Ok);
  REAL dpi = 0;
  GdipGetImageHorizontalResolution(bmp, &dpi);
  EXPECT_EQ(dpi, 120);
  GUID raw;
  GdipGetImageRawFormat(bmp, &raw);
  EXPECT_TRUE(raw == ImageFormatMemoryBMP);
  // Turning a quarter clockwise takes the top-right pixel to the bottom-right.
  ASSERT_EQ(GdipImageRotateFlip(bmp, Rotate90FlipNone), Ok);
  unsigned w = 0, h = 0;
  GdipGetImageWidth(bmp, &w);
  GdipGetImageHeight(bmp, &h);
  EXPECT_EQ(w, 2u);
  EXPECT_EQ(h, 3u);
  ASSERT_EQ(GdipBitmapGetPixel(bmp, 1, 2, &px), Ok);
  EXPECT_EQ(px, 0x80FF0000u);
  ASSERT_EQ(GdipImageRotateFlip(bmp, RotateNoneFlipX), Ok);
  ASSERT_EQ(GdipBitmapGetPixel(bmp, 0, 2, &px), Ok);
  EXPECT_EQ(px, 0x80FF0000u);
  GdipDisposeImage(bmp);
}

TEST(GdiPlusImages, LockBitsReadsAndWritesBack) {
  GpBitmap* bmp = nullptr;
  // Two rows of two BGR pixels, each row padded to 8 bytes.
  std::uint8_t padded[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  ASSERT_EQ(GdipCreateBitmapFromScan0(2, 2, 8, PixelFormat24bppRGB, padded, &bmp), Ok);
  ARGB px;
  GdipBitmapGetPixel(bmp, 0, 0, &px);
  EXPECT_EQ(px, 0xFFFF0000u);
  GdipBitmapGetPixel(bmp, 1, 1, &px);
  EXPECT_EQ(px, 0xFFFFFFFFu);
  BitmapData data;
  const GpRect r{1, 0, 1, 2};
  ASSERT_EQ(GdipBitmapLockBits(bmp, &r, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppARGB, &data), Ok);
  EXPECT_EQ(GdipBitmapLockBits(bmp, &r, ImageLockModeRead, PixelFormat32bppARGB, &data), WrongState);
  auto* p = static_cast<std::uint32_t*>(data.Scan0);
  EXPECT_EQ(p[0], 0xFF00FF00u);
  p[0] = 0xFF123456;
  EXPECT_EQ(GdipBitmapGetPixel(bmp, 0, 0, &px), WrongState);
  ASSERT_EQ(GdipBitmapUnlockBits(bmp, &data), Ok);
  GdipBitmapGetPixel(bmp, 1, 0, &px);
  EXPECT_EQ(px, 0xFF123456u);
  EXPECT_EQ(GdipBitmapUnlockBits(bmp, &data), WrongState);
  GdipDisposeImage(bmp);
}

TEST(GdiPlusImages, PngFromMemoryDrawnWithColourKeyAndScaled) {
  TRawImage raw(4, 4, 0xFF00FF00);  // green with a magenta key colour on the left half
  for (int y = 0; y < 4; ++y) raw.At(0, y) = raw.At(1, y) = 0xFFFF00FF;
  const TByteBuffer png = EncodePng(raw);
  GpImage* img = nullptr;
  ASSERT_EQ(GdipLoadImageFromMemory(png.data(), png.size(), &img), Ok);
  GUID format;
  GdipGetImageRawFormat(img, &format);
  EXPECT_TRUE(format == ImageFormatPNG);
  unsigned frames = 0;
  ASSERT_EQ(GdipImageGetFrameCount(img, &FrameDimensionPage, &frames), Ok);
  EXPECT_EQ(frames, 1u);
  const std::uint8_t junk[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  GpImage* bad = nullptr;
  EXPECT_EQ(GdipLoadImageFromMemory(junk, sizeof junk, &bad), UnknownImageFormat);
  EXPECT_EQ(GdipLoadImageFromFile(u"/no/such/picture.png", &bad), FileNotFound);

  Canvas c(40, 20);
  GpImageAttributes* attr = nullptr;
  ASSERT_EQ(GdipCreateImageAttributes(&attr), Ok);
  ASSERT_EQ(GdipSetImageAttributesColorKeys(attr, ColorAdjustTypeDefault, 1, 0xFFF000F0, 0xFFFF00FF), Ok);
  ASSERT_EQ(GdipDrawImageRectRect(c.g, img, 0, 0, 4, 4, 0, 0, 4, 4, UnitPixel, attr, nullptr, nullptr), Ok);
  EXPECT_EQ(c.At(0, 0), kWhite) << "the key colour is transparent";
  EXPECT_EQ(c.At(3, 3), 0xFF00FF00u);
  // Natural size and twice the size.
  ASSERT_EQ(GdipDrawImageI(c.g, img, 10, 0), Ok);
  EXPECT_EQ(c.At(10, 0), 0xFFFF00FFu);
  EXPECT_EQ(c.At(13, 3), 0xFF00FF00u);
  EXPECT_EQ(c.At(14, 3), kWhite);
  ASSERT_EQ(GdipSetInterpolationMode(c.g, InterpolationModeNearestNeighbor), Ok);
  ASSERT_EQ(GdipDrawImageRectI(c.g, img, 20, 0, 8, 8), Ok);
  EXPECT_EQ(c.At(23, 7), 0xFFFF00FFu);
  EXPECT_EQ(c.At(24, 7), 0xFF00FF00u);
  EXPECT_EQ(c.At(28, 7), kWhite);
  EXPECT_EQ(GdipDrawImageRectRect(c.g, img, 0, 0, 4, 4, 0, 0, 4, 4, UnitPoint, nullptr, nullptr, nullptr),
            NotImplemented);
  EXPECT_EQ(GdipDrawImageRectRect(c.g, img, 0, 0, 4, 4, 0, 0, 4, 4, UnitPixel, nullptr,
                                  [](void*) -> BOOL { return 1; }, nullptr),
            Aborted);
  GdipDisposeImageAttributes(attr);

  // Save and load again.
  const std::string path = ::testing::TempDir() + "gdiplus_roundtrip.png";
  std::u16string wpath(path.begin(), path.end());
  ASSERT_EQ(GdipSaveImageToFile(img, wpath.c_str(), &EncoderClsidPNG, nullptr), Ok);
  GpImage* again = nullptr;
  ASSERT_EQ(GdipLoadImageFromFile(wpath.c_str(), &again), Ok);
  ARGB px;
  GdipBitmapGetPixel(again, 3, 0, &px);
  EXPECT_EQ(px, 0xFF00FF00u);
  GdipDisposeImage(again);
  std::remove(path.c_str());
  GdipDisposeImage(img);
}

TEST(GdiPlusImages, GraphicsOnABitmapKeepsTheImageAlive) {
  GpBitmap* bmp = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(10, 10, 0, PixelFormat32bppARGB, nullptr, &bmp), Ok);
  GpGraphics* g = nullptr;
  ASSERT_EQ(GdipGetImageGraphicsContext(bmp, &g), Ok);
  GpBrush* red = nullptr;
  GdipCreateSolidFill(kRed, &red);
  ASSERT_EQ(GdipFillRectangleI(g, red, 2, 2, 4, 4), Ok);
  EXPECT_EQ(GdipDisposeImage(bmp), ObjectBusy);
  GdipDeleteGraphics(g);
  ARGB px;
  GdipBitmapGetPixel(bmp, 3, 3, &px);
  EXPECT_EQ(px, kRed);
  GdipBitmapGetPixel(bmp, 7, 7, &px);
  EXPECT_EQ(px, 0u);
  GdipDeleteBrush(red);
  EXPECT_EQ(GdipDisposeImage(bmp), Ok);
}

// ---- device contexts ----------------------------------------------------------------------------------

TEST(GdiPlusDC, GraphicsOnADeviceContextHonoursItsOrigin) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 40);
  HDC dc = CreateSurfaceDC(s, POINT{10, 5}, nullptr);
  ASSERT_NE(dc, nullptr);
  GpGraphics* g = nullptr;
  ASSERT_EQ(GdipCreateFromHDC(dc, &g), Ok);
  GpBrush* red = nullptr;
  GdipCreateSolidFill(kRed, &red);
  ASSERT_EQ(GdipFillRectangleI(g, red, 0, 0, 3, 3), Ok);
  GdipDeleteGraphics(g);
  GdipDeleteBrush(red);
  cairo_surface_flush(s);
  auto at = [&](int x, int y) {
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s))[x];
  };
  EXPECT_EQ(at(10, 5), kRed);
  EXPECT_EQ(at(12, 7), kRed);
  EXPECT_EQ(at(9, 5), 0u);
  DeleteSurfaceDC(dc);
  cairo_surface_destroy(s);
  EXPECT_EQ(GdipCreateFromHDC(nullptr, &g), InvalidParameter);
}

// A glossy button as the glow buttons paint one, saved for a person to look at.
TEST(GdiPlusSampler, GlossyButtonWithGlowAndCaption) {
  Canvas c(160, 60, 0xFFEFF3F8);
  GdipSetSmoothingMode(c.g, SmoothingModeAntiAlias);
  GdipSetTextRenderingHint(c.g, TextRenderingHintClearTypeGridFit);
  // Rounded outline from arcs joined by the open figure.
  GpPath* shape = nullptr;
  GdipCreatePath(FillModeAlternate, &shape);
  const REAL x = 10, y = 10, w = 140, h = 40, r = 6;
  GdipAddPathArc(shape, x, y, 2 * r, 2 * r, 180, 90);
  GdipAddPathArc(shape, x + w - 2 * r, y, 2 * r, 2 * r, 270, 90);
  GdipAddPathArc(shape, x + w - 2 * r, y + h - 2 * r, 2 * r, 2 * r, 0, 90);
  GdipAddPathArc(shape, x, y + h - 2 * r, 2 * r, 2 * r, 90, 90);
  GdipClosePathFigure(shape);
  GpRegion* clip = nullptr;
  GdipCreateRegionPath(shape, &clip);
  GdipSetClipRegion(c.g, clip, CombineModeReplace);
  const GpRectF lower{x, y + h / 2, w, h / 2}, upper{x, y, w, h / 2};
  GpBrush *face = nullptr, *shine = nullptr, *glow = nullptr;
  GdipCreateLineBrushFromRect(&lower, 0xFF6FA8DC, 0xFF2B5F9E, LinearGradientModeVertical, WrapModeTile, &face);
  GdipFillRectangle(c.g, face, x, y + h / 2, w, h / 2);
  GdipCreateLineBrushFromRect(&upper, 0xA0FFFFFF, 0x5AFFFFFF, LinearGradientModeVertical, WrapModeTile, &shine);
  GpBrush* base = nullptr;
  GdipCreateSolidFill(0xFF8DBDE8, &base);
  GdipFillRectangle(c.g, base, x, y, w, h / 2);
  GdipFillRectangle(c.g, shine, x, y, w, h / 2);
  GpPath* ellipse = nullptr;
  GdipCreatePath(FillModeAlternate, &ellipse);
  GdipAddPathEllipse(ellipse, x + 20, y + h / 2, w - 40, h);
  GdipCreatePathGradientFromPath(ellipse, &glow);
  GdipSetPathGradientCenterColor(glow, 0xC0FFFFA0);
  int one = 1;
  const ARGB clear = 0x00FFFFA0;
  GdipSetPathGradientSurroundColorsWithCount(glow, &clear, &one);
  GdipFillPath(c.g, glow, ellipse);
  GdipResetClip(c.g);
  GpPen* border = nullptr;
  GdipCreatePen1(0xFF1F4E79, 1, UnitWorld, &border);
  GdipDrawPath(c.g, border, shape);
  GpPen* dots = nullptr;
  GdipCreatePen1(0xFF000000, 1, UnitWorld, &dots);
  GdipSetPenDashStyle(dots, DashStyleDot);
  GdipDrawRectangle(c.g, dots, x + 3, y + 3, w - 6, h - 6);
  TextKit t(10);
  GdipSetStringFormatAlign(t.format, StringAlignmentCenter);
  GdipSetStringFormatLineAlign(t.format, StringAlignmentCenter);
  GdipSetStringFormatHotkeyPrefix(t.format, HotkeyPrefixShow);
  const GpRectF layout{x, y, w, h};
  ASSERT_EQ(GdipDrawString(c.g, u"&Пересчитать", -1, t.font, &layout, t.format, t.brush), Ok);
  c.Save("gdiplus_sampler.png");
  // The face keeps its colours where no text or glow reaches.
  EXPECT_COLOR_NEAR(c.At(15, 44), 0xFF3F75B1, 16);
  EXPECT_EQ(c.At(2, 2), 0xFFEFF3F8u) << "outside the button";
  for (GpBrush* b : {face, shine, glow, base}) GdipDeleteBrush(b);
  GdipDeletePen(border);
  GdipDeletePen(dots);
  GdipDeleteRegion(clip);
  GdipDeletePath(shape);
  GdipDeletePath(ellipse);
}
