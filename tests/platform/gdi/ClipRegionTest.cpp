// Regions, clipping, origins, map modes and surface DCs.
#include <gtest/gtest.h>

#include "GdiTestUtil.h"

namespace {

std::vector<RECT> Rects(HRGN r) { return GetRegionRects(r); }

TEST(GdiRegions, CombineModesGiveExpectedAreas) {
  struct Case {
    int mode;
    int area;
    int kind;
  } cases[] = {
      {RGN_AND, 25, SIMPLEREGION},
      {RGN_OR, 175, COMPLEXREGION},
      {RGN_XOR, 150, COMPLEXREGION},
      {RGN_DIFF, 75, COMPLEXREGION},
      {RGN_COPY, 100, SIMPLEREGION},
  };
  for (const Case& c : cases) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.kind) << c.mode;
    int area = 0;
    for (RECT r : Rects(d)) area += (r.right - r.left) * (r.bottom - r.top);
    EXPECT_EQ(area, c.area) << c.mode;
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(d);
  }
}

TEST(GdiRegions, QueriesAndOffsets) {
  HRGN r = CreateRectRgn(10, 20, 30, 40);
  EXPECT_TRUE(PtInRegion(r, 10, 20));
  EXPECT_FALSE(PtInRegion(r, 30, 20)) << "right edge excluded";
  EXPECT_FALSE(PtInRegion(r, 10, 40)) << "bottom edge excluded";
  RECT probe{29, 39, 50, 50};
  EXPECT_TRUE(RectInRegion(r, &probe));
  probe = RECT{30, 40, 50, 50};
  EXPECT_FALSE(RectInRegion(r, &probe));
  EXPECT_EQ(OffsetRgn(r, -10, 5), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 25, 20, 45}));
  HRGN same = CreateRectRgn(0, 25, 20, 45);
  EXPECT_TRUE(EqualRgn(r, same));
  HRGN empty = CreateRectRgn(5, 5, 5, 9);
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  DeleteObject(r);
  DeleteObject(same);
  DeleteObject(empty);
}

TEST(GdiRegions, ShapedRegionsMatchTheirFilledShapes) {
  // A region made from a shape covers exactly the pixels the shape fills with a null pen.
  struct Case {
    const char* name;
    HRGN (*make)();
    void (*draw)(HDC);
  } cases[] = {
      {"ellipse", [] { return CreateEllipticRgn(2, 3, 25, 17); }, [](HDC dc) { Ellipse(dc, 2, 3, 25, 17); }},
      {"roundrect", [] { return CreateRoundRectRgn(1, 1, 27, 19, 10, 8); },
       [](HDC dc) { RoundRect(dc, 1, 1, 27, 19, 10, 8); }},
      {"polygon",
       [] {
         POINT p[] = {{2, 2}, {25, 6}, {10, 18}};
         return CreatePolygonRgn(p, 3, ALTERNATE);
       },
       [](HDC dc) {
         POINT p[] = {{2, 2}, {25, 6}, {10, 18}};
         Polygon(dc, p, 3);
       }},
  };
  for (const Case& c : cases) {
    Canvas32 shape(30, 20), region(30, 20);
    SelectObject(shape.dc, GetStockObject(NULL_PEN));
    SelectObject(shape.dc, GetStockObject(BLACK_BRUSH));
    c.draw(shape.dc);
    HRGN r = c.make();
    FillRgn(region.dc, r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(shape.mask(kBlack), region.mask(kBlack)) << c.name;
    DeleteObject(r);
  }
}

TEST(GdiRegions, FrameRgnDrawsTheInnerBorder) {
  Canvas32 cv(12, 12);
  HRGN r = CreateRectRgn(2, 2, 10, 10);
  FrameRgn(cv.dc, r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 2, 1);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 10, 10}));
  EXPECT_TRUE(cv.is(3, 5, kBlack));
  EXPECT_TRUE(cv.is(4, 5, kWhite));
  EXPECT_TRUE(cv.is(5, 2, kBlack));
  EXPECT_TRUE(cv.is(5, 3, kWhite));
  DeleteObject(r);
}

TEST(GdiRegions, DeletedHandlesFailCleanly) {
  HRGN r = CreateRectRgn(0, 0, 5, 5);
  EXPECT_TRUE(DeleteObject(r));
  EXPECT_FALSE(DeleteObject(r));
  EXPECT_FALSE(PtInRegion(r, 1, 1));
  EXPECT_EQ(OffsetRgn(r, 1, 1), ERROR);
  EXPECT_EQ(GetObjectType(r), 0u);
}

TEST(GdiClip, ClipRectsLimitDrawingAndSaveDCRestoresThem) {
  Canvas32 cv(20, 20);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RECT all{0, 0, 20, 20};
  int level = SaveDC(cv.dc);
  EXPECT_EQ(IntersectClipRect(cv.dc, 5, 5, 15, 15), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(cv.dc, 8, 8, 12, 12), COMPLEXREGION);
  RECT box;
  GetClipBox(cv.dc, &box);
  EXPECT_EQ(box, (RECT{5, 5, 15, 15}));
  FillRect(cv.dc, &all, black);
  EXPECT_EQ(cv.count(kBlack), 100 - 16);
  EXPECT_TRUE(cv.is(10, 10, kWhite));
  EXPECT_FALSE(PtVisible(cv.dc, 10, 10));
  EXPECT_TRUE(RestoreDC(cv.dc, level));
  GetClipBox(cv.dc, &box);
  EXPECT_EQ(box, all);
  HRGN probe = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetClipRgn(cv.dc, probe), 0) << "no clip after restore";
  DeleteObject(probe);
  EXPECT_FALSE(RestoreDC(cv.dc, level)) << "level already consumed";
}

TEST(GdiClip, SelectClipRgnCopiesTheRegionAndIsInDeviceUnits) {
  Canvas32 cv(20, 20);
  HRGN rgn = CreateRectRgn(0, 0, 10, 10);
  SelectClipRgn(cv.dc, rgn);
  OffsetRgn(rgn, 10, 10);  // the DC keeps its own copy
  SetViewportOrgEx(cv.dc, 5, 5, nullptr);
  RECT r{-5, -5, 20, 20};
  FillRect(cv.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{0, 0, 10, 10}));
  RECT box;
  GetClipBox(cv.dc, &box);
  EXPECT_EQ(box, (RECT{-5, -5, 5, 5})) << "clip box is logical";
  HRGN out = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(cv.dc, out), 1);
  RECT rb;
  GetRgnBox(out, &rb);
  EXPECT_EQ(rb, (RECT{0, 0, 10, 10})) << "clip region is in device units";
  DeleteObject(rgn);
  DeleteObject(out);
}

TEST(GdiCoords, OriginsAndMapModesMapPoints) {
  Canvas32 cv(10, 10);
  SetWindowOrgEx(cv.dc, 100, 50, nullptr);
  SetViewportOrgEx(cv.dc, 3, 4, nullptr);
  POINT p{100, 50};
  LPtoDP(cv.dc, &p, 1);
  EXPECT_EQ(p, (POINT{3, 4}));
  SetPixel(cv.dc, 101, 51, kRed);
  EXPECT_TRUE(cv.is(4, 5, kRed));
  SetWindowOrgEx(cv.dc, 0, 0, nullptr);
  SetViewportOrgEx(cv.dc, 0, 0, nullptr);

  SetMapMode(cv.dc, MM_LOMETRIC);
  POINT mm[2] = {{254, -254}, {0, 0}};
  LPtoDP(cv.dc, mm, 2);
  EXPECT_EQ(mm[0], (POINT{96, 96})) << "25.4 mm is one inch at 96 DPI, y up";
  DPtoLP(cv.dc, mm, 1);
  EXPECT_EQ(mm[0], (POINT{254, -254}));

  SetMapMode(cv.dc, MM_ANISOTROPIC);
  SetWindowExtEx(cv.dc, 100, 100, nullptr);
  SetViewportExtEx(cv.dc, 10, 20, nullptr);
  POINT a{50, 50};
  LPtoDP(cv.dc, &a, 1);
  EXPECT_EQ(a, (POINT{5, 10}));
  SetMapMode(cv.dc, MM_TEXT);
  a = POINT{7, 8};
  LPtoDP(cv.dc, &a, 1);
  EXPECT_EQ(a, (POINT{7, 8}));
}

TEST(GdiCoords, LometricRectangleScalesToDevicePixels) {
  Canvas32 cv(120, 120);
  SetMapMode(cv.dc, MM_LOMETRIC);
  SelectObject(cv.dc, GetStockObject(NULL_PEN));
  SelectObject(cv.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(cv.dc, 0, 0, 254, -127);  // 1 inch by half an inch
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{0, 0, 96, 48}));
}

TEST(GdiSurfaceDC, DrawsAtItsOriginWithinItsBaseClip) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
  HRGN visible = CreateRectRgn(0, 0, 10, 8);  // device coordinates of the DC
  HDC dc = CreateSurfaceDC(s, POINT{20, 10}, visible);
  DeleteObject(visible);
  ASSERT_NE(dc, nullptr);
  RECT r{-100, -100, 100, 100};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  cairo_surface_flush(s);
  auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
  int stride = cairo_image_surface_get_stride(s) / 4;
  int count = 0;
  RECT ink{100, 100, 0, 0};
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if ((px[y * stride + x] & 0xFFFFFF) == 0xFFFFFF) {
        ++count;
        ink = RECT{std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                   std::max<LONG>(ink.bottom, y + 1)};
      }
  EXPECT_EQ(count, 80);
  EXPECT_EQ(ink, (RECT{20, 10, 30, 18}));
  EXPECT_EQ(GetPixel(dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID) << "outside the base clip";

  DCDrawingTarget t;
  ASSERT_TRUE(GetDCDrawingTarget(dc, &t));
  EXPECT_EQ(t.surface, s);
  EXPECT_EQ(t.surfaceOrigin, (POINT{20, 10}));
  RECT cb;
  GetRgnBox(t.clip, &cb);
  EXPECT_EQ(cb, (RECT{0, 0, 10, 8}));
  DeleteObject(t.clip);
  EXPECT_TRUE(DeleteSurfaceDC(dc));
  cairo_surface_destroy(s);
}

}  // namespace
