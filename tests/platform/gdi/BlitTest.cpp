// Blits: raster operations, monochrome conversion, transparency, alpha, stretching, DIBs.
#include <gtest/gtest.h>

#include <cstring>
#include <cstdint>
#include <vector>

#include "GdiTestUtil.h"

namespace {

TEST(GdiBlit, RasterOperationsCombineSourcePatternAndDestination) {
  const COLORREF src = RGB(0xF0, 0x0F, 0x33), dst = RGB(0xCC, 0xAA, 0x55), pat = RGB(0x81, 0x42, 0x24);
  auto bits = [](COLORREF c) { return c & 0xFFFFFF; };
  struct Case {
    DWORD rop;
    COLORREF expected;
  } cases[] = {
      {SRCCOPY, src},
      {SRCAND, bits(src) & bits(dst)},
      {SRCPAINT, bits(src) | bits(dst)},
      {SRCINVERT, bits(src) ^ bits(dst)},
      {SRCERASE, bits(src) & (~bits(dst) & 0xFFFFFF)},
      {NOTSRCCOPY, ~bits(src) & 0xFFFFFF},
      {DSTINVERT, ~bits(dst) & 0xFFFFFF},
      {PATCOPY, pat},
      {PATINVERT, bits(pat) ^ bits(dst)},
      {MERGECOPY, bits(pat) & bits(src)},
      {MERGEPAINT, (~bits(src) & 0xFFFFFF) | bits(dst)},
      {BLACKNESS, kBlack},
      {WHITENESS, kWhite},
  };
  for (const Case& c : cases) {
    Canvas32 s(4, 4, src), d(4, 4, dst);
    Select brush(d.dc, CreateSolidBrush(pat));
    ASSERT_TRUE(BitBlt(d.dc, 1, 1, 2, 2, s.dc, 0, 0, c.rop));
    EXPECT_EQ(d.at(1, 1), c.expected) << std::hex << c.rop;
    EXPECT_EQ(d.at(2, 2), c.expected) << std::hex << c.rop;
    EXPECT_EQ(d.at(0, 0), dst) << "outside untouched";
    EXPECT_EQ(d.at(3, 3), dst);
  }
}

TEST(GdiBlit, OverlappingBlitWithinOneBitmapMovesPixels) {
  Canvas32 cv(10, 1);
  for (int x = 0; x < 10; ++x) SetPixel(cv.dc, x, 0, RGB(x * 20, 0, 0));
  BitBlt(cv.dc, 2, 0, 8, 1, cv.dc, 0, 0, SRCCOPY);
  for (int x = 2; x < 10; ++x) EXPECT_EQ(cv.at(x, 0), RGB((x - 2) * 20, 0, 0));
}

TEST(GdiBlit, MonochromeConvertsWithTextAndBackgroundColours) {
  // Colour -> mono: the source background colour becomes white (1), the rest black.
  Canvas32 colour(4, 1, kRed);
  SetPixel(colour.dc, 1, 0, kBlue);
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP mb = CreateBitmap(4, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(mono, mb);
  SetBkColor(colour.dc, kRed);
  BitBlt(mono, 0, 0, 4, 1, colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(mono, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(mono, 1, 0), kBlack);
  // Mono -> colour: 0 bits take the text colour, 1 bits the background colour.
  Canvas32 out(4, 1);
  SetTextColor(out.dc, kGreen);
  SetBkColor(out.dc, kBlue);
  BitBlt(out.dc, 0, 0, 4, 1, mono, 0, 0, SRCCOPY);
  EXPECT_EQ(out.at(0, 0), kBlue);
  EXPECT_EQ(out.at(1, 0), kGreen);
  SelectObject(mono, old);
  DeleteObject(mb);
  DeleteDC(mono);
}

TEST(GdiBlit, MaskTrickWithSrcAndAndSrcPaintKeepsBackground) {
  // The classic transparent draw: mask with SRCAND, then image (black where transparent)
  // with SRCPAINT.
  Canvas32 image(3, 1, kBlack);
  SetPixel(image.dc, 1, 0, kRed);
  HDC mono = CreateCompatibleDC(nullptr);
  HBITMAP mb = CreateBitmap(3, 1, 1, 1, nullptr);
  SelectObject(mono, mb);
  SetBkColor(image.dc, kBlack);
  BitBlt(mono, 0, 0, 3, 1, image.dc, 0, 0, SRCCOPY);  // transparent pixels -> 1
  Canvas32 dest(3, 1, kBlue);
  SetTextColor(dest.dc, kBlack);
  SetBkColor(dest.dc, kWhite);
  BitBlt(dest.dc, 0, 0, 3, 1, mono, 0, 0, SRCAND);
  BitBlt(dest.dc, 0, 0, 3, 1, image.dc, 0, 0, SRCPAINT);
  EXPECT_EQ(dest.at(0, 0), kBlue);
  EXPECT_EQ(dest.at(1, 0), kRed);
  EXPECT_EQ(dest.at(2, 0), kBlue);
  DeleteDC(mono);
  DeleteObject(mb);
}

TEST(GdiBlit, TransparentBltSkipsTheKeyColourAndStretches) {
  Canvas32 src(2, 2, kGreen);
  SetPixel(src.dc, 1, 1, kRed);
  Canvas32 dst(4, 4, kBlue);
  ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, kGreen));
  EXPECT_EQ(dst.count(kBlue), 12);
  EXPECT_EQ(dst.count(kRed), 4);
  EXPECT_TRUE(dst.is(3, 3, kRed));
  EXPECT_TRUE(dst.is(2, 2, kRed));
}

TEST(GdiBlit, StretchBltScalesAndMirrors) {
  Canvas32 src(2, 1);
  SetPixel(src.dc, 0, 0, kRed);
  SetPixel(src.dc, 1, 0, kBlue);
  Canvas32 dst(8, 2);
  StretchBlt(dst.dc, 0, 0, 8, 2, src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.count(kRed), 8);
  EXPECT_TRUE(dst.is(3, 1, kRed));
  EXPECT_TRUE(dst.is(4, 0, kBlue));
  // Negative destination width mirrors.
  StretchBlt(dst.dc, 8, 0, -8, 2, src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_TRUE(dst.is(0, 0, kBlue));
  EXPECT_TRUE(dst.is(7, 0, kRed));
}

TEST(GdiBlit, HalftoneShrinkAveragesSourcePixels) {
  Canvas32 src(4, 2, kBlack);
  for (int y = 0; y < 2; ++y) {
    SetPixel(src.dc, 1, y, kWhite);
    SetPixel(src.dc, 3, y, kWhite);
  }
  Canvas32 dst(2, 1);
  SetStretchBltMode(dst.dc, HALFTONE);
  StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 2, SRCCOPY);
  EXPECT_NEAR(GetRValue(dst.at(0, 0)), 128, 1);
  EXPECT_NEAR(GetRValue(dst.at(1, 0)), 128, 1);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 2, SRCCOPY);
  EXPECT_TRUE(dst.at(0, 0) == kBlack || dst.at(0, 0) == kWhite) << "nearest pixel";
}

TEST(GdiBlit, AlphaBlendConstantAndPerPixel) {
  Canvas32 src(2, 1, kWhite), dst(2, 1, kBlack);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, half));
  EXPECT_NEAR(GetRValue(dst.at(0, 0)), 128, 1);
  // Premultiplied per-pixel alpha: pixel 0 fully transparent, pixel 1 half red.
  src.px[0] = 0x00000000u;
  src.px[1] = 0x80800000u;
  Canvas32 d2(2, 1, kBlue);
  BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(AlphaBlend(d2.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, perPixel));
  EXPECT_EQ(d2.at(0, 0), kBlue);
  EXPECT_NEAR(GetRValue(d2.at(1, 0)), 128, 1);
  EXPECT_NEAR(GetBValue(d2.at(1, 0)), 127, 1);
  EXPECT_FALSE(AlphaBlend(d2.dc, 0, 0, 2, 1, src.dc, 1, 0, 2, 1, perPixel)) << "source out of range";
}

TEST(GdiBlit, PatBltWithPatternBrushTilesFromBrushOrigin) {
  Canvas32 tile(2, 2, kBlack);
  SetPixel(tile.dc, 0, 0, kRed);
  HBRUSH pb = CreatePatternBrush(tile.bmp);
  Canvas32 cv(6, 6);
  Select b(cv.dc, pb);
  PatBlt(cv.dc, 0, 0, 6, 6, PATCOPY);
  EXPECT_EQ(cv.count(kRed), 9);
  EXPECT_TRUE(cv.is(2, 4, kRed));
  SetBrushOrgEx(cv.dc, 1, 1, nullptr);
  PatBlt(cv.dc, 0, 0, 6, 6, PATCOPY);
  EXPECT_TRUE(cv.is(1, 1, kRed));
  EXPECT_TRUE(cv.is(0, 0, kBlack));
}

TEST(GdiDib, SectionBitsAndDrawingShareMemoryBottomUp) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = 3;  // bottom-up
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bmp, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  SetPixel(dc, 0, 0, kRed);  // top-left is the LAST row in memory
  auto* px = static_cast<std::uint32_t*>(bits);
  EXPECT_EQ(px[2 * 4] & 0xFFFFFF, 0xFF0000u);
  px[0] = 0xFF0000FFu;  // first row in memory = bottom row
  EXPECT_EQ(GetPixel(dc, 0, 2), kBlue);
  DIBSECTION ds;
  EXPECT_EQ(GetObject(bmp, sizeof ds, &ds), int(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biHeight, 3);
  EXPECT_FALSE(DeleteObject(bmp)) << "still selected";
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(bmp));
  DeleteDC(dc);
}

TEST(GdiDib, TwentyFourBitSectionConvertsAroundDrawing) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  auto* b = static_cast<std::uint8_t*>(bits);
  RECT r{1, 0, 2, 1};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(b[3], 255);
  EXPECT_EQ(b[0], 0);
  // Rows are 12 bytes (9 padded to 4); write the second row's first pixel as green.
  b[12 + 1] = 200;
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 200, 0));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(GdiDib, GetAndSetDIBitsRoundTrip24Bit) {
  Canvas32 cv(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) SetPixel(cv.dc, x, y, RGB(x * 40, y * 80, 7));
  BITMAPINFO bi{};
  ASSERT_EQ(GetDIBits(cv.dc, cv.bmp, 0, 3, nullptr, &bi, DIB_RGB_COLORS), 3);
  EXPECT_EQ(bi.bmiHeader.biWidth, 5);
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint8_t> rows(16 * 3);
  ASSERT_EQ(GetDIBits(cv.dc, cv.bmp, 0, 3, rows.data(), &bi, DIB_RGB_COLORS), 3);
  // Bottom-up: the first row in the buffer is y = 2.
  EXPECT_EQ(rows[0 * 3 + 1], 160);
  EXPECT_EQ(rows[2 * 16 + 4 * 3 + 2], 160);  // x = 4 of row y = 0: red = 160
  Canvas32 copy(5, 3);
  ASSERT_EQ(SetDIBits(copy.dc, copy.bmp, 0, 3, rows.data(), &bi, DIB_RGB_COLORS), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(copy.at(x, y), cv.at(x, y));
  // StretchDIBits of the same rows draws the same picture.
  Canvas32 drawn(5, 3);
  StretchDIBits(drawn.dc, 0, 0, 5, 3, 0, 0, 5, 3, rows.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(drawn.mask(RGB(160, 160, 7)), cv.mask(RGB(160, 160, 7)));
  EXPECT_EQ(drawn.at(4, 0), cv.at(4, 0));
}

TEST(GdiObjects, MonochromeBitmapsStayBlackAndWhite) {
  HDC dc = CreateCompatibleDC(nullptr);
  // A memory DC's initial bitmap is monochrome, and so is a bitmap compatible with it.
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  EXPECT_TRUE(IsMonochromeBitmap(mono));
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 8, 8);
  EXPECT_FALSE(IsMonochromeBitmap(colour));
  HGDIOBJ old = SelectObject(dc, mono);
  RECT r{0, 0, 4, 8};
  HBRUSH light = CreateSolidBrush(RGB(200, 200, 200)), dark = CreateSolidBrush(RGB(100, 0, 0));
  FillRect(dc, &r, light);
  r = RECT{4, 0, 8, 8};
  FillRect(dc, &r, dark);
  EXPECT_EQ(GetPixel(dc, 1, 1), kWhite);
  EXPECT_EQ(GetPixel(dc, 5, 1), kBlack);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 1);
  SelectObject(dc, old);
  DeleteObject(light);
  DeleteObject(dark);
  DeleteObject(mono);
  DeleteObject(colour);
  DeleteDC(dc);
}

TEST(GdiObjects, GetObjectReportsWhatWasCreated) {
  HPEN pen = CreatePen(PS_DASH, 1, kRed);
  LOGPEN lp;
  EXPECT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, PS_DASH);
  EXPECT_EQ(lp.lopnColor, kRed);
  LOGFONT lf;
  lf.lfFaceName = "Tahoma";
  lf.lfHeight = -11;
  lf.lfEscapement = 900;
  HFONT f = CreateFontIndirect(&lf);
  LOGFONT back;
  EXPECT_EQ(GetObject(f, sizeof back, &back), int(sizeof back));
  EXPECT_EQ(back.lfFaceName, "Tahoma");
  EXPECT_EQ(back.lfEscapement, 900);
  HBITMAP bm = CreateBitmap(7, 5, 1, 1, nullptr);
  BITMAP info;
  GetObject(bm, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(GetObjectType(f), OBJ_FONT);
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), OBJ_BRUSH);
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))) << "stock objects survive";
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
  // A selected pen may be deleted; the DC keeps drawing with it until replaced.
  Canvas32 cv(4, 4);
  SelectObject(cv.dc, pen);
  EXPECT_TRUE(DeleteObject(pen));
  MoveToEx(cv.dc, 0, 1, nullptr);
  LineTo(cv.dc, 4, 1);
  EXPECT_TRUE(cv.is(0, 1, kRed));
  DeleteObject(f);
  DeleteObject(bm);
}

// A deleted object's handle stays dead: the objects made after it take other handles, and
// the old handle neither finds them nor deletes them, however often slots are reused.
TEST(GdiObjects, DeletedHandlesNeverNameLaterObjects) {
  std::vector<HGDIOBJ> dead;
  for (int round = 0; round < 50; ++round) {
    HBRUSH b = CreateSolidBrush(RGB(round, 0, 0));
    HPEN p = CreatePen(PS_SOLID, 1, RGB(0, round, 0));
    ASSERT_NE(b, nullptr);
    ASSERT_NE(p, nullptr);
    for (HGDIOBJ d : dead) {
      ASSERT_NE(d, HGDIOBJ(b));
      ASSERT_NE(d, HGDIOBJ(p));
    }
    ASSERT_TRUE(DeleteObject(b));
    ASSERT_TRUE(DeleteObject(p));
    dead.push_back(b);
    dead.push_back(p);
  }
  HBRUSH live = CreateSolidBrush(RGB(1, 2, 3));
  for (HGDIOBJ d : dead) {
    EXPECT_EQ(GetObjectType(d), 0u);
    EXPECT_FALSE(DeleteObject(d));
  }
  LOGBRUSH lb{};
  ASSERT_EQ(GetObject(live, sizeof lb, &lb), int(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3)) << "the live brush survives the stale deletes";
  // Handles that were never made, or are near a live one, name nothing.
  auto v = reinterpret_cast<std::uintptr_t>(live);
  for (std::uintptr_t bad : {std::uintptr_t(1), std::uintptr_t(0x10), v + 1, v + 8, v + (std::uintptr_t(1) << 32),
                             std::uintptr_t(0xFFFFFFF0u), ~std::uintptr_t(0)})
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(bad)), 0u) << std::hex << bad;
  DeleteObject(live);
}

}  // namespace
