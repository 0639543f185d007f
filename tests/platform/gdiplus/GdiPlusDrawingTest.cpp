// Start-up, status rules, shapes, pens, gradients, paths, regions and clipping.
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "GdiPlusTestSupport.h"

static ::testing::Environment* const gEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

namespace {

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

struct Brush {
  GpBrush* b = nullptr;
  explicit Brush(ARGB c) { GdipCreateSolidFill(c, &b); }
  explicit Brush(GpBrush* brush) : b(brush) {}
  ~Brush() { GdipDeleteBrush(b); }
};

struct Pen {
  GpPen* p = nullptr;
  Pen(ARGB c, REAL w) { GdipCreatePen1(c, w, UnitWorld, &p); }
  ~Pen() { GdipDeletePen(p); }
};

}  // namespace

TEST(GdiPlusStartup, VersionsHooksAndAllocation) {
  std::uintptr_t token = 0;
  GdiplusStartupInput in;
  in.GdiplusVersion = 0;
  EXPECT_EQ(GdiplusStartup(&token, &in, nullptr), UnsupportedGdiplusVersion);
  in.GdiplusVersion = 1;
  EXPECT_EQ(GdiplusStartup(nullptr, &in, nullptr), InvalidParameter);
  in.SuppressBackgroundThread = ~0;
  EXPECT_EQ(GdiplusStartup(&token, &in, nullptr), InvalidParameter) << "the hook needs somewhere to go";
  GdiplusStartupOutput out;
  ASSERT_EQ(GdiplusStartup(&token, &in, &out), Ok);
  ASSERT_NE(out.NotificationHook, nullptr);
  std::uintptr_t hookToken = 0;
  EXPECT_EQ(out.NotificationHook(&hookToken), Ok);
  out.NotificationUnhook(hookToken);
  void* p = GdipAlloc(16);
  EXPECT_NE(p, nullptr);
  GdipFree(p);
  GdiplusShutdown(token);
}

TEST(GdiPlusStartup, CreationBeforeStartupAnswersNotInitialized) {
  auto* env = static_cast<GdiplusEnvironment*>(gEnv);
  GdiplusShutdown(env->token);
  GpBrush* brush = nullptr;
  EXPECT_EQ(GdipCreateSolidFill(kRed, &brush), GdiplusNotInitialized);
  EXPECT_EQ(brush, nullptr);
  EXPECT_EQ(GdipAlloc(8), nullptr);
  GdiplusStartupInput in;
  ASSERT_EQ(GdiplusStartup(&env->token, &in, nullptr), Ok);
}

TEST(GdiPlusStatus, BadArgumentsNeverCrash) {
  Canvas c(20, 20);
  Brush solid(kRed);
  Pen pen(kBlack, 1);
  GpPath* path = nullptr;
  ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  GpBrush* out = nullptr;
  const GpRectF zero{0, 0, 0, 10};
  const GpRectF good{0, 0, 10, 10};
  struct Case {
    const char* what;
    std::function<Status()> call;
    Status expected;
  };
  const std::vector<Case> cases = {
      {"fill with no graphics", [&] { return GdipFillRectangle(nullptr, solid.b, 0, 0, 5, 5); }, InvalidParameter},
      {"fill with no brush", [&] { return GdipFillRectangle(c.g, nullptr, 0, 0, 5, 5); }, InvalidParameter},
      {"negative width", [&] { return GdipFillRectangle(c.g, solid.b, 0, 0, -5, 5); }, InvalidParameter},
      {"NaN coordinate", [&] { return GdipFillEllipse(c.g, solid.b, nan, 0, 5, 5); }, InvalidParameter},
      {"draw with no pen", [&] { return GdipDrawLine(c.g, nullptr, 0, 0, 5, 5); }, InvalidParameter},
      {"negative pen width", [&] { GpPen* p; return GdipCreatePen1(kRed, -1, UnitWorld, &p); }, InvalidParameter},
      {"no out pointer", [&] { return GdipCreateSolidFill(kRed, nullptr); }, InvalidParameter},
      {"polygon of two points",
       [&] {
         const GpPointF pts[2] = {{0, 0}, {5, 5}};
         return GdipFillPolygon(c.g, solid.b, pts, 2, FillModeAlternate);
       },
       InvalidParameter},
      {"path points into a small buffer",
       [&] {
         GdipAddPathRectangle(path, 0, 0, 5, 5);
         GpPointF pts[2];
         return GdipGetPathPoints(path, pts, 2);
       },
       InsufficientBuffer},
      {"solid colour of a gradient",
       [&] {
         GpBrush* lin = nullptr;
         GdipCreateLineBrushFromRect(&good, kRed, kBlue, LinearGradientModeHorizontal, WrapModeTile, &lin);
         ARGB col;
         const Status s = GdipGetSolidFillColor(lin, &col);
         GdipDeleteBrush(lin);
         return s;
       },
       InvalidParameter},
      {"gradient over an empty rectangle",
       [&] { return GdipCreateLineBrushFromRect(&zero, kRed, kBlue, LinearGradientModeHorizontal, WrapModeTile, &out); },
       OutOfMemory},
      {"bad combine mode", [&] { return GdipSetClipRect(c.g, 0, 0, 5, 5, CombineMode(9)); }, InvalidParameter},
      {"bad smoothing mode", [&] { return GdipSetSmoothingMode(c.g, SmoothingModeInvalid); }, InvalidParameter},
      {"bezier with five points",
       [&] {
         const GpPointF pts[5] = {};
         return GdipAddPathBeziers(path, pts, 5);
       },
       InvalidParameter},
      {"bitmap of negative size", [&] { GpBitmap* b; return GdipCreateBitmapFromScan0(-1, 5, 0, PixelFormat32bppARGB, nullptr, &b); },
       InvalidParameter},
      {"delete nothing", [&] { return GdipDeleteGraphics(nullptr); }, InvalidParameter},
  };
  for (const Case& k : cases) EXPECT_EQ(k.call(), k.expected) << k.what;
  GdipDeletePath(path);
}

TEST(GdiPlusStatus, GraphicsIsBusyBetweenGetDCAndReleaseDC) {
  Canvas c(20, 20);
  Brush solid(kRed);
  HDC dc = nullptr;
  ASSERT_EQ(GdipGetDC(c.g, &dc), Ok);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GdipFillRectangle(c.g, solid.b, 0, 0, 5, 5), ObjectBusy);
  EXPECT_EQ(GdipReleaseDC(c.g, reinterpret_cast<HDC>(0x1234)), InvalidParameter);
  EXPECT_EQ(GdipReleaseDC(c.g, dc), Ok);
  EXPECT_EQ(GdipFillRectangle(c.g, solid.b, 0, 0, 5, 5), Ok);
  EXPECT_EQ(c.At(2, 2), kRed);
}

TEST(GdiPlusShapes, AliasedFillCoversWholePixelsAntiAliasedBlendsEdges) {
  Canvas c(60, 30);
  Brush solid(kBlack);
  ASSERT_EQ(GdipSetSmoothingMode(c.g, SmoothingModeNone), Ok);
  ASSERT_EQ(GdipFillEllipse(c.g, solid.b, 2, 2, 25, 25), Ok);
  ASSERT_EQ(GdipSetSmoothingMode(c.g, SmoothingModeAntiAlias), Ok);
  ASSERT_EQ(GdipFillEllipse(c.g, solid.b, 32, 2, 25, 25), Ok);
  int aliasedPartial = 0, smoothPartial = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const int r = Red(c.At(x, y)), r2 = Red(c.At(x + 30, y));
      if (r > 0 && r < 255) ++aliasedPartial;
      if (r2 > 20 && r2 < 235) ++smoothPartial;
    }
  EXPECT_EQ(aliasedPartial, 0);
  EXPECT_GT(smoothPartial, 20);
  c.Save("gdiplus_aa.png");
}

TEST(GdiPlusShapes, PixelCentresLieOnIntegerCoordinates) {
  Canvas c(30, 30);
  Brush solid(kRed);
  GdipSetSmoothingMode(c.g, SmoothingModeNone);
  ASSERT_EQ(GdipFillRectangleI(c.g, solid.b, 5, 5, 10, 10), Ok);
  EXPECT_EQ(c.At(5, 5), kRed);
  EXPECT_EQ(c.At(14, 14), kRed);
  EXPECT_EQ(c.At(4, 5), kWhite);
  EXPECT_EQ(c.At(15, 14), kWhite);
  // A one-pixel anti-aliased line on a whole coordinate covers exactly that row.
  Pen pen(kBlack, 1);
  GdipSetSmoothingMode(c.g, SmoothingModeAntiAlias);
  ASSERT_EQ(GdipDrawLine(c.g, pen.p, 2, 20, 28, 20), Ok);
  EXPECT_EQ(c.At(10, 20), kBlack);
  EXPECT_EQ(c.At(10, 19), kWhite);
  EXPECT_EQ(c.At(10, 21), kWhite);
}

TEST(GdiPlusShapes, DottedPenAlternatesPixels) {
  Canvas c(30, 5);
  Pen pen(kBlack, 1);
  ASSERT_EQ(GdipSetPenDashStyle(pen.p, DashStyleDot), Ok);
  GpDashStyle style;
  ASSERT_EQ(GdipGetPenDashStyle(pen.p, &style), Ok);
  EXPECT_EQ(style, DashStyleDot);
  ASSERT_EQ(GdipDrawLine(c.g, pen.p, 0, 2, 30, 2), Ok);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(c.At(x, 2), x % 2 ? kWhite : kBlack) << x;
}

TEST(GdiPlusShapes, SmoothedDottedPenStillAlternatesWholePixels) {
  // Straight lines and the straight sides of a rounded frame, as a focus frame draws them.
  Canvas c(40, 40);
  GdipSetSmoothingMode(c.g, SmoothingModeAntiAlias);
  Pen pen(0xFF808080, 1);
  ASSERT_EQ(GdipSetPenDashStyle(pen.p, DashStyleDot), Ok);
  ASSERT_EQ(GdipDrawLine(c.g, pen.p, 2, 2, 30, 2), Ok);
  ASSERT_EQ(GdipDrawLine(c.g, pen.p, 35, 5, 35, 33), Ok);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(c.At(2 + i, 2), i % 2 ? kWhite : 0xFF808080u) << "row, " << i;
    EXPECT_EQ(c.At(35, 5 + i), i % 2 ? kWhite : 0xFF808080u) << "column, " << i;
  }
  EXPECT_EQ(c.At(10, 1), kWhite);
  EXPECT_EQ(c.At(10, 3), kWhite);
  // A wider dotted pen keeps its smoothing.
  Canvas wide(40, 10);
  GdipSetSmoothingMode(wide.g, SmoothingModeAntiAlias);
  Pen thick(kBlack, 2.5f);
  ASSERT_EQ(GdipSetPenDashStyle(thick.p, DashStyleDot), Ok);
  ASSERT_EQ(GdipDrawLine(wide.g, thick.p, 0, 5, 40, 5), Ok);
  int partial = 0;
  for (int x = 0; x < 40; ++x) {
    const ARGB p = wide.At(x, 6);
    if (p != kWhite && p != kBlack) ++partial;
  }
  EXPECT_GT(partial, 0);
}

TEST(GdiPlusShapes, PenAlphaBlendsOverBackground) {
  Canvas c(10, 10);
  Pen pen(0x80FF0000, 3);
  ASSERT_EQ(GdipDrawLine(c.g, pen.p, 0, 5, 10, 5), Ok);
  EXPECT_COLOR_NEAR(c.At(5, 5), 0xFFFF7F7F, 2);
}

// ---- gradients --------------------------------------------------------------------------------

TEST(GdiPlusGradients, LinearModesPutColoursAtTheirEdgesAndCorners) {
  struct Case {
    LinearGradientMode mode;
    int x, y;
    double t;  // expected fraction from colour 1 to colour 2
  };
  const Case cases[] = {
      {LinearGradientModeHorizontal, 0, 10, 0},     {LinearGradientModeHorizontal, 50, 10, 0.5},
      {LinearGradientModeHorizontal, 99, 30, 0.99}, {LinearGradientModeVertical, 50, 0, 0},
      {LinearGradientModeVertical, 10, 25, 0.5},    {LinearGradientModeForwardDiagonal, 0, 0, 0},
      {LinearGradientModeForwardDiagonal, 99, 0, 0.5}, {LinearGradientModeForwardDiagonal, 0, 49, 0.5},
      {LinearGradientModeForwardDiagonal, 99, 49, 1},  {LinearGradientModeBackwardDiagonal, 99, 0, 0},
      {LinearGradientModeBackwardDiagonal, 0, 49, 1},
  };
  for (const Case& k : cases) {
    Canvas c(100, 50);
    const GpRectF r{0, 0, 100, 50};
    GpBrush* b = nullptr;
    ASSERT_EQ(GdipCreateLineBrushFromRect(&r, kRed, kBlue, k.mode, WrapModeTile, &b), Ok);
    Brush owner(b);
    ASSERT_EQ(GdipFillRectangle(c.g, b, 0, 0, 100, 50), Ok);
    const ARGB expected = 0xFF000000 | (ARGB(std::lround(255 * (1 - k.t))) << 16) | ARGB(std::lround(255 * k.t));
    EXPECT_COLOR_NEAR(c.At(k.x, k.y), expected, 8) << "mode " << k.mode << " at " << k.x << "," << k.y;
  }
}

TEST(GdiPlusGradients, WrapModesBeyondTheBrushRectangle) {
  struct Case {
    GpWrapMode wrap;
    ARGB at125;  // a quarter into the repeat to the right
  };
  const Case cases[] = {{WrapModeTile, 0xFFBF003F}, {WrapModeTileFlipX, 0xFF3F00BF}, {WrapModeClamp, kBlue}};
  for (const Case& k : cases) {
    Canvas c(200, 10);
    const GpPointF p1{0, 0}, p2{100, 0};
    GpBrush* b = nullptr;
    ASSERT_EQ(GdipCreateLineBrush(&p1, &p2, kRed, kBlue, k.wrap, &b), Ok);
    Brush owner(b);
    ASSERT_EQ(GdipFillRectangle(c.g, b, 0, 0, 200, 10), Ok);
    EXPECT_COLOR_NEAR(c.At(125, 5), k.at125, 8) << "wrap " << k.wrap;
  }
}

TEST(GdiPlusGradients, BlendAndPresetColours) {
  Canvas c(100, 20);
  const GpRectF r{0, 0, 100, 20};
  GpBrush* b = nullptr;
  ASSERT_EQ(GdipCreateLineBrushFromRect(&r, kRed, kBlue, LinearGradientModeHorizontal, WrapModeTile, &b), Ok);
  Brush owner(b);
  const REAL factors[3] = {0, 1, 0}, positions[3] = {0, 0.5f, 1};
  ASSERT_EQ(GdipSetLineBlend(b, factors, positions, 3), Ok);
  ASSERT_EQ(GdipFillRectangle(c.g, b, 0, 0, 100, 10), Ok);
  EXPECT_COLOR_NEAR(c.At(50, 5), kBlue, 8);
  EXPECT_COLOR_NEAR(c.At(99, 5), kRed, 10);
  const REAL badPositions[3] = {0.1f, 0.5f, 1};
  EXPECT_EQ(GdipSetLineBlend(b, factors, badPositions, 3), InvalidParameter);
  const ARGB colours[3] = {kRed, 0xFF00FF00, kBlue};
  ASSERT_EQ(GdipSetLinePresetBlend(b, colours, positions, 3), Ok);
  ASSERT_EQ(GdipFillRectangle(c.g, b, 0, 10, 100, 10), Ok);
  EXPECT_COLOR_NEAR(c.At(50, 15), 0xFF00FF00, 8);
}

TEST(GdiPlusGradients, PathGradientCentreAndSurroundColours) {
  Canvas c(100, 100);
  GpPath* path = nullptr;
  GdipCreatePath(FillModeAlternate, &path);
  GdipAddPathEllipse(path, 0, 0, 100, 100);
  GpBrush* b = nullptr;
  ASSERT_EQ(GdipCreatePathGradientFromPath(path, &b), Ok);
  Brush owner(b);
  GpPointF centre;
  ASSERT_EQ(GdipGetPathGradientCenterPoint(b, &centre), Ok);
  EXPECT_NEAR(centre.X, 50, 0.5);
  EXPECT_NEAR(centre.Y, 50, 0.5);
  ASSERT_EQ(GdipSetPathGradientCenterColor(b, kWhite), Ok);
  int count = 1;
  const ARGB surround = kBlack;
  ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(b, &surround, &count), Ok);
  int points = 0;
  GdipGetPathGradientPointCount(b, &points);
  int tooMany = points + 1;
  std::vector<ARGB> many(std::size_t(tooMany), kRed);
  EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(b, many.data(), &tooMany), InvalidParameter);
  ASSERT_EQ(GdipFillPath(c.g, b, path), Ok);
  EXPECT_COLOR_NEAR(c.At(50, 50), kWhite, 6);
  EXPECT_COLOR_NEAR(c.At(75, 50), 0xFF808080, 10);
  EXPECT_LT(Red(c.At(97, 50)), 30);
  EXPECT_EQ(c.At(2, 2), kWhite) << "outside the path nothing is painted";
  c.Save("gdiplus_pathgradient.png");

  // A moved centre carries the centre colour with it.
  const GpPointF moved{30, 40};
  ASSERT_EQ(GdipSetPathGradientCenterPoint(b, &moved), Ok);
  ASSERT_EQ(GdipSetPathGradientCenterColor(b, kRed), Ok);
  ASSERT_EQ(GdipFillPath(c.g, b, path), Ok);
  EXPECT_COLOR_NEAR(c.At(30, 40), kRed, 8);
  GdipDeletePath(path);
}

TEST(GdiPlusGradients, PathGradientSurroundColoursFollowThePoints) {
  Canvas c(100, 100);
  const GpPointF square[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  GpBrush* b = nullptr;
  ASSERT_EQ(GdipCreatePathGradient(square, 4, WrapModeClamp, &b), Ok);
  Brush owner(b);
  const ARGB colours[4] = {kRed, 0xFF00FF00, kBlue, kBlack};
  int count = 4;
  ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(b, colours, &count), Ok);
  ASSERT_EQ(GdipFillRectangle(c.g, b, 0, 0, 100, 100), Ok);
  EXPECT_GT(Red(c.At(1, 1)), 200);
  EXPECT_GT(Green(c.At(98, 1)), 200);
  EXPECT_GT(Blue(c.At(98, 98)), 200);
  const ARGB near = c.At(1, 98);
  EXPECT_LT(Red(near) + Green(near) + Blue(near), 60);
}

// ---- paths --------------------------------------------------------------------------------------

TEST(GdiPlusPaths, CardinalSplinePassesThroughItsPoints) {
  const GpPoint pts[4] = {{10, 50}, {40, 10}, {70, 60}, {95, 20}};
  for (REAL tension : {0.0f, 0.5f, 1.0f}) {
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    ASSERT_EQ(GdipAddPathCurve2I(path, pts, 4, tension), Ok);
    int n = 0;
    GdipGetPointCount(path, &n);
    ASSERT_EQ(n, 10);  // start plus three Béziers
    std::vector<GpPointF> got(static_cast<std::size_t>(n));
    GdipGetPathPoints(path, got.data(), n);
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(got[std::size_t(3 * i)].X, pts[i].X);
      EXPECT_FLOAT_EQ(got[std::size_t(3 * i)].Y, pts[i].Y);
    }
    if (tension == 0) {
      // No tension: control points lie on the straight segment.
      EXPECT_FLOAT_EQ(got[1].X, 10);
      EXPECT_FLOAT_EQ(got[1].Y, 50);
    }
    Canvas c(100, 70);
    Pen pen(kBlack, 3);
    GdipSetSmoothingMode(c.g, SmoothingModeAntiAlias);
    ASSERT_EQ(GdipDrawPath(c.g, pen.p, path), Ok);
    // Inner points lie on the stroke; the flat-capped ends cover half their pixel.
    EXPECT_EQ(c.At(pts[1].X, pts[1].Y), kBlack);
    EXPECT_EQ(c.At(pts[2].X, pts[2].Y), kBlack);
    EXPECT_LT(Red(c.At(pts[0].X, pts[0].Y)), 160);
    EXPECT_LT(Red(c.At(pts[3].X, pts[3].Y)), 160);
    GdipDeletePath(path);
  }
}

TEST(GdiPlusPaths, FiguresJoinAndArcsStartAtTheirAngle) {
  GpPath* path = nullptr;
  GdipCreatePath(FillModeAlternate, &path);
  ASSERT_EQ(GdipAddPathArc(path, 0, 0, 100, 50, 90, 90), Ok);  // bottom centre to left middle
  GpPointF first, last;
  std::vector<GpPointF> pts(4);
  GdipGetPathPoints(path, pts.data(), 4);
  first = pts[0];
  GdipGetPathLastPoint(path, &last);
  EXPECT_NEAR(first.X, 50, 1e-3);
  EXPECT_NEAR(first.Y, 50, 1e-3);
  EXPECT_NEAR(last.X, 0, 1e-3);
  EXPECT_NEAR(last.Y, 25, 1e-3);
  // The next segment of the open figure is joined by a line.
  ASSERT_EQ(GdipAddPathLine(path, 0, 0, 30, 0), Ok);
  std::vector<std::uint8_t> types(7);
  int n = 0;
  GdipGetPointCount(path, &n);
  ASSERT_EQ(n, 6);
  GdipGetPathTypes(path, types.data(), n);
  EXPECT_EQ(types[4], PathPointTypeLine);
  ASSERT_EQ(GdipClosePathFigure(path), Ok);
  GdipGetPathTypes(path, types.data(), n);
  EXPECT_EQ(types[5], PathPointTypeLine | PathPointTypeCloseSubpath);
  GpRectF bounds;
  ASSERT_EQ(GdipGetPathWorldBounds(path, &bounds, nullptr, nullptr), Ok);
  EXPECT_NEAR(bounds.X, 0, 0.5);
  EXPECT_NEAR(bounds.Height, 50, 0.5);
  BOOL inside = 0;
  GdipIsVisiblePathPoint(path, 20, 30, nullptr, &inside);
  EXPECT_TRUE(inside);
  GdipIsVisiblePathPoint(path, 90, 5, nullptr, &inside);
  EXPECT_FALSE(inside);
  GdipDeletePath(path);
}

// ---- regions and clipping -------------------------------------------------------------------------

TEST(GdiPlusRegions, CombineModesAtSamplePoints) {
  // Region A = (0,0,20,20), B = (10,10,20,20); sample a point only in A, only in B, in both.
  struct Case {
    CombineMode mode;
    bool onlyA, onlyB, both;
  };
  const Case cases[] = {{CombineModeReplace, false, true, true},   {CombineModeIntersect, false, false, true},
                        {CombineModeUnion, true, true, true},      {CombineModeXor, true, true, false},
                        {CombineModeExclude, true, false, false},  {CombineModeComplement, false, true, false}};
  Canvas c(1, 1);
  for (const Case& k : cases) {
    const GpRectF a{0, 0, 20, 20}, b{10, 10, 20, 20};
    GpRegion* r = nullptr;
    ASSERT_EQ(GdipCreateRegionRect(&a, &r), Ok);
    ASSERT_EQ(GdipCombineRegionRect(r, &b, k.mode), Ok);
    BOOL v;
    GdipIsVisibleRegionPoint(r, 5, 5, c.g, &v);
    EXPECT_EQ(bool(v), k.onlyA) << k.mode;
    GdipIsVisibleRegionPoint(r, 25, 25, c.g, &v);
    EXPECT_EQ(bool(v), k.onlyB) << k.mode;
    GdipIsVisibleRegionPoint(r, 15, 15, c.g, &v);
    EXPECT_EQ(bool(v), k.both) << k.mode;
    GdipDeleteRegion(r);
  }
}

TEST(GdiPlusClip, RectangleRegionWithHoleAndReset) {
  Canvas c(60, 60);
  Brush red(kRed);
  GdipSetSmoothingMode(c.g, SmoothingModeNone);
  ASSERT_EQ(GdipSetClipRect(c.g, 10, 10, 40, 40, CombineModeReplace), Ok);
  // Cut a round hole out of the clip: no longer a plain intersection of shapes.
  GpPath* hole = nullptr;
  GdipCreatePath(FillModeAlternate, &hole);
  GdipAddPathEllipse(hole, 20, 20, 20, 20);
  GpRegion* r = nullptr;
  GdipCreateRegionPath(hole, &r);
  ASSERT_EQ(GdipSetClipRegion(c.g, r, CombineModeExclude), Ok);
  ASSERT_EQ(GdipFillRectangle(c.g, red.b, 0, 0, 60, 60), Ok);
  EXPECT_EQ(c.At(5, 5), kWhite);
  EXPECT_EQ(c.At(12, 12), kRed);
  EXPECT_EQ(c.At(30, 30), kWhite) << "inside the hole";
  EXPECT_EQ(c.At(55, 30), kWhite);
  BOOL visible;
  GdipIsVisiblePoint(c.g, 30, 30, &visible);
  EXPECT_FALSE(visible);
  GdipIsVisiblePoint(c.g, 12, 30, &visible);
  EXPECT_TRUE(visible);
  c.Save("gdiplus_clip.png");
  ASSERT_EQ(GdipResetClip(c.g), Ok);
  ASSERT_EQ(GdipFillRectangle(c.g, red.b, 0, 0, 60, 60), Ok);
  EXPECT_EQ(c.At(30, 30), kRed);
  EXPECT_EQ(c.At(5, 5), kRed);
  GdipDeleteRegion(r);
  GdipDeletePath(hole);
}

TEST(GdiPlusClip, ClipStaysInDeviceSpaceWhenTheTransformChanges) {
  Canvas c(40, 40);
  Brush red(kRed);
  GdipSetSmoothingMode(c.g, SmoothingModeNone);
  GdipTranslateWorldTransform(c.g, 10, 10, MatrixOrderPrepend);
  ASSERT_EQ(GdipSetClipRect(c.g, 0, 0, 10, 10, CombineModeReplace), Ok);  // device (10,10)-(20,20)
  GdipResetWorldTransform(c.g);
  ASSERT_EQ(GdipFillRectangle(c.g, red.b, 0, 0, 40, 40), Ok);
  EXPECT_EQ(c.At(15, 15), kRed);
  EXPECT_EQ(c.At(5, 5), kWhite);
  EXPECT_EQ(c.At(25, 25), kWhite);
}
