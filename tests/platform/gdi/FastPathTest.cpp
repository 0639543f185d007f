// The quick paths of blits, rectangles, lines and fills against a pixel-by-pixel model of
// what each call means, under clip regions with holes, off-surface coordinates, mirrored
// and stretched mappings, overlapping copies and raster operations.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GdiTestUtil.h"

namespace {

constexpr int kW = 40, kH = 30;

// A clip of two bands with a hole: the rectangles the model treats as visible.
std::vector<RECT> HoledClip() { return {RECT{2, 1, 38, 12}, RECT{2, 12, 15, 18}, RECT{22, 12, 38, 18}, RECT{2, 18, 38, 28}}; }

void SelectClip(HDC dc, const std::vector<RECT>& rects) {
  HRGN all = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : rects) {
    HRGN one = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    CombineRgn(all, all, one, RGN_OR);
    DeleteObject(one);
  }
  SelectClipRgn(dc, all);
  DeleteObject(all);
}

bool Inside(const std::vector<RECT>& rects, int x, int y) {
  if (rects.empty()) return true;
  for (const RECT& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

void Paint(Canvas32& c) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) c.px[y * c.width() + x] = 0xFF000000u | (x * 5) << 16 | (y * 7) << 8 | ((x + y) & 0xFF);
}

// Nearest source pixel for destination offset k of n over a source span of sn, at pixel centres.
int Nearest(int k, int n, int sn) { return int((std::int64_t(2 * k + 1) * sn) / (2 * std::int64_t(n))); }

struct BlitCase {
  const char* name;
  int x, y, w, h, sx, sy, sw, sh;
  bool clip;
  bool self;  // source and destination are one bitmap
};

TEST(GdiFastPath, BlitsMatchThePixelModelForEveryRasterPath) {
  const BlitCase cases[] = {
      {"inside", 5, 4, 12, 9, 3, 2, 12, 9, false, false},
      {"source partly outside its bitmap", 5, 4, 20, 20, -6, 20, 20, 20, false, false},
      {"destination partly off the surface", -5, 20, 30, 20, 0, 0, 30, 20, false, false},
      {"clip with a hole", 0, 0, 40, 30, 0, 0, 40, 30, true, false},
      {"stretch up, clipped", 3, 3, 33, 25, 4, 4, 11, 8, true, false},
      {"stretch down", 1, 1, 9, 7, 0, 0, 40, 30, false, false},
      {"mirrored across", 30, 25, -24, -20, 2, 3, 12, 10, true, false},
      {"overlapping move right and down", 6, 5, 30, 20, 2, 1, 30, 20, false, true},
      {"overlapping move left and up, clipped", 1, 1, 30, 20, 6, 5, 30, 20, true, true},
      {"overlapping stretch", 0, 0, 40, 30, 10, 5, 20, 15, true, true},
  };
  for (DWORD rop : {DWORD(SRCCOPY), DWORD(0x00CC0000)}) {  // the same operation, per pixel
    for (const BlitCase& c : cases) {
      Canvas32 src(kW, kH), dst(kW, kH, kGreen);
      Paint(src);
      if (c.self) Paint(dst);
      std::vector<std::uint32_t> before(dst.px, dst.px + kW * kH);
      std::vector<std::uint32_t> source = c.self ? before : std::vector<std::uint32_t>(src.px, src.px + kW * kH);
      std::vector<RECT> clip = c.clip ? HoledClip() : std::vector<RECT>{};
      if (c.clip) SelectClip(dst.dc, clip);
      ASSERT_TRUE(StretchBlt(dst.dc, c.x, c.y, c.w, c.h, c.self ? dst.dc : src.dc, c.sx, c.sy, c.sw, c.sh, rop));
      int dl = std::min(c.x, c.x + c.w), dt = std::min(c.y, c.y + c.h), dw = std::abs(c.w), dh = std::abs(c.h);
      bool mx = c.w < 0, my = c.h < 0;
      int bad = 0;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          std::uint32_t want = before[std::size_t(y * kW + x)];
          if (x >= dl && x < dl + dw && y >= dt && y < dt + dh && Inside(clip, x, y)) {
            int i = Nearest(x - dl, dw, c.sw), j = Nearest(y - dt, dh, c.sh);
            int sx = c.sx + (mx ? c.sw - 1 - i : i), sy = c.sy + (my ? c.sh - 1 - j : j);
            if (sx >= 0 && sy >= 0 && sx < kW && sy < kH) want = source[std::size_t(sy * kW + sx)];
          }
          if ((dst.px[y * kW + x] & 0xFFFFFF) != (want & 0xFFFFFF) && bad++ < 3)
            ADD_FAILURE() << c.name << " rop " << std::hex << rop << std::dec << " at " << x << "," << y;
        }
      EXPECT_EQ(bad, 0) << c.name;
    }
  }
}

struct RectCase {
  const char* name;
  RECT r;
  int penStyle, penWidth;
  bool brush;
  int rop2;
  bool clip;
};

TEST(GdiFastPath, RectanglesPaintTheirEdgeRingAndInteriorOnce) {
  const RectCase cases[] = {
      {"thin pen", {5, 4, 30, 20}, PS_SOLID, 1, true, R2_COPYPEN, false},
      {"xor: each pixel touched once", {5, 4, 30, 20}, PS_SOLID, 1, true, R2_XORPEN, true},
      {"wide pen centred on the edge", {6, 6, 30, 24}, PS_SOLID, 4, true, R2_COPYPEN, true},
      {"wide pen inside the frame", {6, 6, 30, 24}, PS_INSIDEFRAME, 3, true, R2_XORPEN, false},
      {"no brush", {3, 3, 20, 15}, PS_SOLID, 2, false, R2_COPYPEN, true},
      {"no pen", {3, 3, 20, 15}, PS_NULL, 1, true, R2_XORPEN, false},
      {"too small for an interior", {10, 10, 14, 12}, PS_SOLID, 1, true, R2_XORPEN, false},
      {"two by two with a wide pen", {10, 10, 15, 18}, PS_SOLID, 3, true, R2_COPYPEN, false},
      {"off every edge", {-10, -8, 60, 50}, PS_SOLID, 2, true, R2_XORPEN, true},
      {"reversed corners", {30, 20, 5, 4}, PS_SOLID, 1, true, R2_COPYPEN, false},
  };
  const COLORREF bg = RGB(0x10, 0x20, 0x30), pen = RGB(0xF0, 0x0F, 0x33), fill = RGB(0x44, 0x88, 0xCC);
  for (const RectCase& c : cases) {
    Canvas32 cv(kW, kH, bg);
    std::vector<RECT> clip = c.clip ? HoledClip() : std::vector<RECT>{};
    if (c.clip) SelectClip(cv.dc, clip);
    Select p(cv.dc, CreatePen(c.penStyle, c.penWidth, pen));
    Select b(cv.dc, c.brush ? CreateSolidBrush(fill) : GetStockObject(NULL_BRUSH), c.brush);
    SetROP2(cv.dc, c.rop2);
    Rectangle(cv.dc, c.r.left, c.r.top, c.r.right, c.r.bottom);
    RECT box{std::min(c.r.left, c.r.right), std::min(c.r.top, c.r.bottom), std::max(c.r.left, c.r.right),
             std::max(c.r.top, c.r.bottom)};
    int w = c.penStyle == PS_NULL ? 0 : c.penWidth;
    if (w > 1 && c.penStyle != PS_INSIDEFRAME) {
      box.left -= (w - 1) / 2;
      box.top -= (w - 1) / 2;
      box.right += w / 2;
      box.bottom += w / 2;
    }
    auto mix = [&](COLORREF v) { return c.rop2 == R2_XORPEN ? COLORREF((v ^ bg) & 0xFFFFFF) : v; };
    int bad = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        COLORREF want = bg;
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom && Inside(clip, x, y)) {
          int edge = std::min({x - box.left, box.right - 1 - x, y - box.top, box.bottom - 1 - y});
          if (edge < w) want = mix(pen);
          else if (c.brush) want = mix(fill);
        }
        if (cv.at(x, y) != want && bad++ < 3) ADD_FAILURE() << c.name << " at " << x << "," << y;
      }
    EXPECT_EQ(bad, 0) << c.name << "\n" << cv.mask(pen);
  }
}

TEST(GdiFastPath, HorizontalAndVerticalLinesLeaveOutTheirEndAndClip) {
  struct LineCase {
    POINT a, b;
    bool clip;
  } cases[] = {
      {{2, 5}, {30, 5}, false},   {{30, 6}, {2, 6}, false},   {{-20, 7}, {90, 7}, true},
      {{20, 2}, {20, 28}, false}, {{21, 28}, {21, 2}, true},  {{5, -50}, {5, 80}, true},
      {{8, 9}, {8, 9}, false},    {{-5, -1}, {50, -1}, false},
  };
  const COLORREF pen = RGB(0xF0, 0x0F, 0x33);
  for (const LineCase& c : cases) {
    Canvas32 cv(kW, kH, kBlack);
    std::vector<RECT> clip = c.clip ? HoledClip() : std::vector<RECT>{};
    if (c.clip) SelectClip(cv.dc, clip);
    Select p(cv.dc, CreatePen(PS_SOLID, 1, pen));
    MoveToEx(cv.dc, c.a.x, c.a.y, nullptr);
    LineTo(cv.dc, c.b.x, c.b.y);
    int bad = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        bool on;
        if (c.a.y == c.b.y) on = y == c.a.y && (c.a.x < c.b.x ? x >= c.a.x && x < c.b.x : x <= c.a.x && x > c.b.x);
        else on = x == c.a.x && (c.a.y < c.b.y ? y >= c.a.y && y < c.b.y : y <= c.a.y && y > c.b.y);
        on = on && Inside(clip, x, y);
        if (cv.is(x, y, pen) != on && bad++ < 3) ADD_FAILURE() << c.a.x << "," << c.a.y << " at " << x << "," << y;
      }
    EXPECT_EQ(bad, 0);
  }
  // A polyline retracing itself with an inverting pen touches each pixel once.
  Canvas32 cv(kW, kH, kBlack);
  Select p(cv.dc, CreatePen(PS_SOLID, 1, pen));
  SetROP2(cv.dc, R2_XORPEN);
  POINT path[] = {{2, 3}, {20, 3}, {4, 3}, {4, 20}, {4, 8}};
  Polyline(cv.dc, path, 5);
  EXPECT_TRUE(cv.is(10, 3, pen));
  EXPECT_TRUE(cv.is(4, 3, pen)) << "the turn pixel is painted once";
  EXPECT_TRUE(cv.is(4, 12, pen));
  EXPECT_TRUE(cv.is(20, 3, pen)) << "the second segment starts where the first ends";
  EXPECT_TRUE(cv.is(4, 21, kBlack));
}

TEST(GdiFastPath, FillRectPaintsOnlyTheVisiblePartOfTheClip) {
  Canvas32 cv(kW, kH, kBlack);
  SelectClip(cv.dc, HoledClip());
  HBRUSH brush = CreateSolidBrush(kRed);
  RECT r{-5, 10, 100, 25};
  FillRect(cv.dc, &r, brush);
  DeleteObject(brush);
  std::vector<RECT> clip = HoledClip();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      ASSERT_EQ(cv.is(x, y, kRed), y >= 10 && y < 25 && Inside(clip, x, y)) << x << "," << y;
}

}  // namespace
