// Text: font mapping, metrics consistency, DrawText layout flags, prefixes, rotation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "GdiTestUtil.h"

namespace {

HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, bool underline = false) {
  LOGFONT lf;
  lf.lfFaceName = face;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfEscapement = escapement;
  lf.lfOrientation = escapement;
  lf.lfUnderline = underline;
  return CreateFontIndirect(&lf);
}

TEST(GdiFonts, WindowsFacesMapToInstalledFamilies) {
  struct Case {
    const char* face;
    const char* family;
  } cases[] = {
      {"Arial", "Liberation Sans"},           {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},     {"MS Sans Serif", "Liberation Sans"},
      {"Tahoma", "DejaVu Sans"},              {"Segoe UI", "Liberation Sans"},
      {"Arial CYR", "Liberation Sans"},       {"Verdana", "DejaVu Sans"},
  };
  for (const Case& c : cases) EXPECT_EQ(FontMapResolveFamily(c.face), c.family) << c.face;
}

TEST(GdiFonts, NegativeHeightIsTheEmAndPositiveTheCell) {
  Canvas32 cv(10, 10);
  Select f1(cv.dc, MakeFont("Arial", -20));
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(cv.dc, &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  EXPECT_GE(tm.tmHeight, 22);  // Arial's cell is about 1.15 em
  EXPECT_LE(tm.tmHeight, 24);
  Select f2(cv.dc, MakeFont("Arial", 23));
  GetTextMetrics(cv.dc, &tm);
  EXPECT_NEAR(tm.tmHeight, 23, 1);
  EXPECT_NE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "variable pitch sets the bit";
  Select f3(cv.dc, MakeFont("Courier New", -13));
  GetTextMetrics(cv.dc, &tm);
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(GetTextFaceUtf8(cv.dc), "Courier New");
  char buf[8];
  EXPECT_EQ(GetTextFace(cv.dc, sizeof buf, buf), 8);
  EXPECT_STREQ(buf, "Courier");
}

// Windows' own text metrics at 96 DPI for the faces and sizes the program uses; the text
// height measured for any string is the font height, so lines, edits and list items get
// Windows' pitch.
TEST(GdiFonts, FacesInUseReportWindowsMetrics) {
  struct Case {
    const char* face;
    int lfHeight, weight;
    int height, ascent, descent, internal, external, ave, max;
  } cases[] = {
      {"MS Sans Serif", -11, FW_NORMAL, 13, 11, 2, 2, 0, 5, 11},
      {"MS Sans Serif", 13, FW_NORMAL, 13, 11, 2, 2, 0, 5, 11},  // a cell height picks the same size
      {"MS Sans Serif", -11, FW_BOLD, 13, 11, 2, 2, 0, 6, 12},
      {"Tahoma", -11, FW_NORMAL, 13, 11, 2, 2, 0, 5, 19},
      {"Tahoma", -11, FW_BOLD, 13, 11, 2, 2, 0, 6, 22},
      {"Times New Roman", -13, FW_NORMAL, 15, 12, 3, 2, 1, 5, 17},
      {"Times New Roman", -16, FW_NORMAL, 18, 14, 4, 2, 1, 6, 21},
      {"Arial", -11, FW_NORMAL, 14, 11, 3, 3, 0, 5, 15},
      {"Arial", -13, FW_NORMAL, 16, 13, 3, 3, 0, 6, 17},
      {"Arial CYR", -16, FW_NORMAL, 18, 15, 3, 2, 1, 7, 21},
  };
  Canvas32 cv(10, 10);
  for (const Case& c : cases) {
    Select f(cv.dc, MakeFont(c.face, c.lfHeight, c.weight));
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(cv.dc, &tm));
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.lfHeight) + " " + std::to_string(c.weight));
    EXPECT_EQ(tm.tmHeight, c.height);
    EXPECT_EQ(tm.tmAscent, c.ascent);
    EXPECT_EQ(tm.tmDescent, c.descent);
    EXPECT_EQ(tm.tmInternalLeading, c.internal);
    EXPECT_EQ(tm.tmExternalLeading, c.external);
    EXPECT_EQ(tm.tmAveCharWidth, c.ave);
    EXPECT_EQ(tm.tmMaxCharWidth, c.max);
    for (const char* text : {"Ay", "x", "\xd0\x99\xd1\x83"}) {
      SIZE size{};
      ASSERT_TRUE(GetTextExtentPoint32(cv.dc, text, int(std::strlen(text)), &size));
      EXPECT_EQ(size.cy, tm.tmHeight) << text;
    }
    RECT r{0, 0, 200, 0};
    EXPECT_EQ(DrawText(cv.dc, "Ay\nAy", -1, &r, DT_CALCRECT), 2 * tm.tmHeight) << "line pitch";
  }
}

// Small GDI text is hinted and bi-level: black on white leaves no grey pixel. Large text
// and text asked for anti-aliasing are smoothed.
TEST(GdiText, SmallTextIsCrispLargeTextSmoothed) {
  struct Case {
    const char* face;
    int lfHeight;
    BYTE quality;
    bool smoothed;
  } cases[] = {
      {"MS Sans Serif", -11, DEFAULT_QUALITY, false}, {"Tahoma", -11, DEFAULT_QUALITY, false},
      {"Times New Roman", -16, DEFAULT_QUALITY, false}, {"Arial", -32, DEFAULT_QUALITY, true},
      {"Tahoma", -11, ANTIALIASED_QUALITY, true},       {"Arial", -32, NONANTIALIASED_QUALITY, false},
  };
  for (const Case& c : cases) {
    Canvas32 cv(160, 40);
    LOGFONT lf;
    lf.lfFaceName = c.face;
    lf.lfHeight = c.lfHeight;
    lf.lfQuality = c.quality;
    Select f(cv.dc, CreateFontIndirect(&lf));
    SetBkMode(cv.dc, TRANSPARENT);
    TextOut(cv.dc, 2, 2, "Плотность", -1);
    int black = cv.count(kBlack), white = cv.count(kWhite);
    EXPECT_GT(160 * 40 - white, 20) << c.face << c.lfHeight;
    EXPECT_EQ(black + white == 160 * 40, !c.smoothed) << c.face << c.lfHeight << " quality " << int(c.quality);
  }
}

TEST(GdiText, ExtentsAgreeAcrossCalls) {
  Canvas32 cv(10, 10);
  Select f(cv.dc, MakeFont("Tahoma", -11));
  TEXTMETRIC tm;
  GetTextMetrics(cv.dc, &tm);
  SIZE gh;
  ASSERT_TRUE(GetTextExtentPoint32(cv.dc, "gh", 2, &gh));
  EXPECT_EQ(gh.cy, tm.tmHeight);
  EXPECT_GT(gh.cx, 6);
  RECT r{0, 0, 0, 0};
  EXPECT_EQ(DrawText(cv.dc, "gh", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX), tm.tmHeight);
  EXPECT_EQ(r.right, gh.cx);
  EXPECT_EQ(r.bottom, tm.tmHeight);
  // Widths add up: the width of a string is the sum of its character widths (hinted advances).
  int w[2];
  GetCharWidth32(cv.dc, 'g', 'h', w);
  EXPECT_EQ(w[0] + w[1], gh.cx);
  int fit = 0, dx[5];
  SIZE sz;
  GetTextExtentExPoint(cv.dc, "hello", 5, gh.cx, &fit, dx, &sz);
  EXPECT_EQ(dx[4], sz.cx);
  EXPECT_GE(fit, 1);
  EXPECT_LE(dx[fit - 1], gh.cx);
  // Cyrillic measures too.
  SIZE ru;
  GetTextExtentPoint32Utf8(cv.dc, "Расход газа", &ru);
  EXPECT_GT(ru.cx, 40);
  EXPECT_EQ(ru.cy, tm.tmHeight);
}

// "MS Sans Serif" 8 pt is a bitmap face whose wide Cyrillic letters have narrower cells
// than its stand-in's: the stand-in takes them for those letters, so the main window's
// "Обьемные проценты" (103 pixels) fits the 104 pixels beside its check box, and what is
// drawn stays inside what is measured. Other letters, faces and sizes keep their advances.
TEST(GdiText, MsSansSerifCyrillicTakesTheFacesCellWidths) {
  Canvas32 cv(160, 20);
  Select f(cv.dc, MakeFont("MS Sans Serif", -11));
  struct Case {
    const char* text;
    int width;
  } cases[] = {{"ы", 7}, {"м", 7}, {"ь", 5}, {"ъ", 6}, {"ш", 8}, {"щ", 8}, {"ю", 7}, {"ф", 8},
               {"н", 6}, {"Щ", 10}, {"Обьемные проценты", 103}, {"Весовые проценты", 95}};
  for (const Case& c : cases) {
    SIZE s{};
    ASSERT_TRUE(GetTextExtentPoint32Utf8(cv.dc, c.text, &s));
    EXPECT_EQ(s.cx, c.width) << c.text;
  }
  // Per-character positions follow the same cells: "мы" ends at 7, then 14.
  int fit = 0, dx[2] = {};
  SIZE sz{};
  ASSERT_TRUE(GetTextExtentExPoint(cv.dc, "мы", 4, 1000, &fit, dx, &sz));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[0], 7);
  EXPECT_EQ(dx[1], 14);
  // The drawn caption lies within its measured width.
  SIZE caption{};
  GetTextExtentPoint32Utf8(cv.dc, "Обьемные проценты", &caption);
  SetTextColor(cv.dc, RGB(0, 0, 0));
  SetBkMode(cv.dc, TRANSPARENT);
  RECT r{2, 2, 158, 18};
  DrawTextUtf8(cv.dc, "Обьемные проценты", &r, DT_SINGLELINE | DT_NOPREFIX);
  int right = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 160; ++x)
      if (!cv.is(x, y, RGB(255, 255, 255))) right = std::max(right, x);
  EXPECT_GT(right, 2 + caption.cx - 8);
  EXPECT_LT(right, 2 + caption.cx);
  // Bold, another size or another face keep the stand-in's advances.
  SIZE plain{}, other{};
  Select bold(cv.dc, MakeFont("MS Sans Serif", -11, FW_BOLD));
  GetTextExtentPoint32Utf8(cv.dc, "Обьемные проценты", &plain);
  EXPECT_GT(plain.cx, 103);
  Select arial(cv.dc, MakeFont("Arial", -11));
  GetTextExtentPoint32Utf8(cv.dc, "ы", &other);
  EXPECT_EQ(other.cx, 8);
}

TEST(GdiText, WordBreakWrapsAtBlanksAndCountsLines) {
  Canvas32 cv(10, 10);
  Select f(cv.dc, MakeFont("Arial", -12));
  TEXTMETRIC tm;
  GetTextMetrics(cv.dc, &tm);
  SIZE one;
  GetTextExtentPoint32(cv.dc, "alpha beta", 10, &one);
  RECT r{0, 0, one.cx + 2, 0};
  int h = DrawText(cv.dc, "alpha beta alpha beta alpha", -1, &r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(h, 3 * tm.tmHeight);
  EXPECT_EQ(r.bottom, 3 * tm.tmHeight);
  EXPECT_LE(r.right, one.cx + 2);
  // Explicit line breaks, external leading on request.
  r = RECT{0, 0, 200, 0};
  h = DrawText(cv.dc, "a\r\nb\nc", -1, &r, DT_CALCRECT);
  EXPECT_EQ(h, 3 * tm.tmHeight);
  r = RECT{0, 0, 200, 0};
  h = DrawText(cv.dc, "a\r\nb", -1, &r, DT_CALCRECT | DT_EXTERNALLEADING);
  EXPECT_EQ(h, 2 * (tm.tmHeight + tm.tmExternalLeading));
  // Single line ignores breaks.
  r = RECT{0, 0, 200, 0};
  EXPECT_EQ(DrawText(cv.dc, "a\r\nb", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
  // A word longer than the line stays whole, unless the edit-control rules break it.
  r = RECT{0, 0, 20, 0};
  DrawText(cv.dc, "extraordinarily", -1, &r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(r.bottom, tm.tmHeight);
  EXPECT_GT(r.right, 20);
  r = RECT{0, 0, 20, 0};
  DrawText(cv.dc, "extraordinarily", -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_GT(r.bottom, tm.tmHeight);
  EXPECT_LE(r.right, 20);
  // The mark-up engine's piece flags (single line, bottom, tabs, external leading, no
  // prefix) measure the piece's width and one line's height.
  r = RECT{10, 10, 10, 10};
  SIZE piece;
  GetTextExtentPoint32(cv.dc, "a&b", 3, &piece);
  h = DrawText(cv.dc, "a&b", -1, &r, DT_CALCRECT | 0xA68);
  EXPECT_EQ(r.right - r.left, piece.cx);
  EXPECT_EQ(h, tm.tmHeight + tm.tmExternalLeading);
  EXPECT_EQ(r.bottom - r.top, h);
  // Empty text measures nothing.
  r = RECT{5, 5, 50, 50};
  EXPECT_EQ(DrawText(cv.dc, "", 0, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r, (RECT{5, 5, 5, 5}));
}

TEST(GdiText, EllipsisFlagsShortenToTheRectangle) {
  Canvas32 cv(10, 10);
  Select f(cv.dc, MakeFont("Arial", -12));
  const char* text = "C:\\Program Files\\Gas meter\\coefficients.dat";
  for (UINT flag : {DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_WORD_ELLIPSIS}) {
    std::string modified;
    RECT r{0, 0, 120, 20};
    DrawTextUtf8(cv.dc, text, &r, DT_SINGLELINE | DT_CALCRECT | flag | DT_MODIFYSTRING, &modified);
    EXPECT_LE(r.right, 120) << flag;
    EXPECT_NE(modified.find("..."), std::string::npos) << flag << " " << modified;
    SIZE s;
    GetTextExtentPoint32Utf8(cv.dc, modified, &s);
    EXPECT_LE(s.cx, 120) << modified;
    if (flag == DT_PATH_ELLIPSIS) {
      EXPECT_NE(modified.find("\\coefficients.dat"), std::string::npos) << modified;
    }
    if (flag == DT_END_ELLIPSIS) {
      EXPECT_EQ(modified.rfind("...", std::string::npos), modified.size() - 3);
    }
  }
  // A text that fits is left alone, and DrawTextEx writes back into the caller's buffer.
  char buf[64] = "Short";
  RECT r{0, 0, 200, 20};
  DrawTextEx(cv.dc, buf, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  EXPECT_STREQ(buf, "Short");
  char longBuf[64] = "A considerably long caption text";
  r = RECT{0, 0, 60, 20};
  DrawTextEx(cv.dc, longBuf, int(std::strlen(longBuf)), &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING,
             nullptr);
  EXPECT_NE(std::strstr(longBuf, "..."), nullptr) << longBuf;
}

TEST(GdiText, AlignmentPlacesTheTextInTheRectangle) {
  Canvas32 cv(100, 40);
  Select f(cv.dc, MakeFont("Arial", -12));
  SetBkMode(cv.dc, TRANSPARENT);
  RECT r{0, 0, 100, 40};
  DrawText(cv.dc, "Wg", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  RECT ink = cv.inkBox(kWhite);
  EXPECT_GE(ink.left, 80);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.right, 100);
  cv.clear(kWhite);
  SIZE s;
  GetTextExtentPoint32(cv.dc, "Wg", 2, &s);
  int off = DrawText(cv.dc, "Wg", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  EXPECT_EQ(off, (40 - s.cy) / 2 + s.cy) << "offset from the top to the bottom of the text";
  ink = cv.inkBox(kWhite);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 50, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 20, 4);
}

TEST(GdiText, OpaqueBackgroundAndClipping) {
  Canvas32 cv(60, 20);
  Select f(cv.dc, MakeFont("Arial", -12));
  SetBkColor(cv.dc, kRed);
  SetBkMode(cv.dc, OPAQUE);
  TextOut(cv.dc, 2, 2, "Hi", 2);
  SIZE s;
  GetTextExtentPoint32(cv.dc, "Hi", 2, &s);
  EXPECT_EQ(cv.inkBox(kWhite), (RECT{2, 2, 2 + s.cx, 2 + s.cy}));
  cv.clear(kWhite);
  RECT clip{0, 0, 8, 20};
  ExtTextOut(cv.dc, 2, 2, ETO_CLIPPED | ETO_OPAQUE, &clip, "Hello", 5, nullptr);
  EXPECT_EQ(cv.inkBox(kWhite).right, 8);
  cv.clear(kWhite);
  // DrawText clips to its rectangle unless DT_NOCLIP.
  SetBkMode(cv.dc, TRANSPARENT);
  RECT r{0, 0, 10, 20};
  DrawText(cv.dc, "WWWWW", -1, &r, DT_SINGLELINE);
  EXPECT_LE(cv.inkBox(kWhite).right, 10);
  cv.clear(kWhite);
  DrawText(cv.dc, "WWWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(cv.inkBox(kWhite).right, 10);
}

// A text clipped to a rectangle shows exactly the pixels the whole text has inside it
// (the glyphs left out beyond the rectangle change nothing), with and without the
// rectangle filled, for crisp and smoothed text cut on either side.
TEST(GdiText, ClippedTextKeepsThePixelsOfTheWholeText) {
  struct Case {
    const char* face;
    int height;
    int x;       // text origin; the rectangle is 20..70 across
    UINT options;
    int bkMode;
  } cases[] = {
      {"Tahoma", -11, 22, ETO_CLIPPED | ETO_OPAQUE, OPAQUE},
      {"Tahoma", -11, 22, ETO_CLIPPED, TRANSPARENT},
      {"Tahoma", -11, 22, ETO_CLIPPED, OPAQUE},
      {"Tahoma", -11, -30, ETO_CLIPPED | ETO_OPAQUE, TRANSPARENT},
      {"Arial", -24, 25, ETO_CLIPPED | ETO_OPAQUE, OPAQUE},
      {"Arial", -24, -60, ETO_CLIPPED, TRANSPARENT},
  };
  const char* text = "Ячейка 999985:1 WWW";
  const RECT rect{20, 3, 70, 33};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.face) + " x=" + std::to_string(k.x));
    Canvas32 whole(100, 36), clipped(100, 36);
    // The whole text on the background the clipped one gets inside its rectangle.
    whole.clear((k.options & ETO_OPAQUE) ? kRed : kWhite);
    for (HDC dc : {whole.dc, clipped.dc}) {
      SelectObject(dc, MakeFont(k.face, k.height));
      SetBkColor(dc, kRed);
      SetBkMode(dc, k.bkMode);
    }
    ExtTextOut(whole.dc, k.x, 6, 0, nullptr, text, UINT(std::strlen(text)), nullptr);
    ExtTextOut(clipped.dc, k.x, 6, k.options, &rect, text, UINT(std::strlen(text)), nullptr);
    int wrong = 0;
    for (int y = 0; y < 36; ++y)
      for (int x = 0; x < 100; ++x) {
        bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        wrong += clipped.at(x, y) != (inside ? whole.at(x, y) : kWhite);
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_NE(whole.inkBox(whole.at(0, 0)).right, 0);
    for (HDC dc : {whole.dc, clipped.dc}) DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
  }
}

// A clip rectangle given with its corners swapped clips as its normal form, whichever way
// the text is drawn (from its cached mask, or straight when too long to cache one).
TEST(GdiText, ReversedClipRectangleClipsAsItsNormalForm) {
  const std::string shortText = "Ячейка 12 WWW", longText = shortText + std::string(400, 'W');
  const RECT normal{20, 3, 70, 33}, reversed{70, 33, 20, 3};
  for (const std::string* text : {&shortText, &longText})
    for (UINT options : {UINT(ETO_CLIPPED), UINT(ETO_CLIPPED | ETO_OPAQUE)})
      for (int bkMode : {TRANSPARENT, OPAQUE}) {
        SCOPED_TRACE(std::to_string(text->size()) + " " + std::to_string(options) + " " + std::to_string(bkMode));
        Canvas32 a(100, 36), b(100, 36);
        for (Canvas32* cv : {&a, &b}) {
          cv->clear(kWhite);
          SelectObject(cv->dc, MakeFont("Tahoma", -11));
          SetBkColor(cv->dc, kRed);
          SetBkMode(cv->dc, bkMode);
        }
        ExtTextOut(a.dc, 22, 6, options, &normal, text->c_str(), UINT(text->size()), nullptr);
        ExtTextOut(b.dc, 22, 6, options, &reversed, text->c_str(), UINT(text->size()), nullptr);
        int wrong = 0;
        for (int y = 0; y < 36; ++y)
          for (int x = 0; x < 100; ++x) wrong += a.at(x, y) != b.at(x, y);
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(a.inkBox(kWhite).right <= 70, true);
        EXPECT_NE(a.inkBox(kWhite).right, 0);
        for (Canvas32* cv : {&a, &b}) DeleteObject(SelectObject(cv->dc, GetStockObject(SYSTEM_FONT)));
      }
}

// A text too long to keep as a cached mask is drawn straight, with the same pixels a short
// text shows at its start, on its own background box or without one.
TEST(GdiText, LongTextsDrawLikeShortOnes) {
  std::string shortText = "Ячейка 12", longText = shortText + std::string(400, 'W');
  for (int bkMode : {TRANSPARENT, OPAQUE}) {
    SCOPED_TRACE(bkMode == OPAQUE ? "opaque" : "transparent");
    Canvas32 a(4000, 30), b(4000, 30);
    for (Canvas32* cv : {&a, &b}) {
      cv->clear(kWhite);
      SelectObject(cv->dc, MakeFont("Arial", -16));
      SetBkMode(cv->dc, bkMode);
      SetBkColor(cv->dc, kRed);
    }
    TextOut(a.dc, 4, 5, shortText.c_str(), int(shortText.size()));
    TextOut(b.dc, 4, 5, longText.c_str(), int(longText.size()));
    SIZE size{};
    GetTextExtentPoint32(a.dc, shortText.c_str(), int(shortText.size()), &size);
    int wrong = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 4 + size.cx - 2; ++x) wrong += a.at(x, y) != b.at(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(b.inkBox(kWhite).right, 3000) << "the whole long text is drawn";
    if (bkMode == OPAQUE) {
      EXPECT_EQ(a.inkBox(kWhite), (RECT{4, 5, 4 + size.cx, 5 + size.cy}));
    }
    for (Canvas32* cv : {&a, &b}) DeleteObject(SelectObject(cv->dc, GetStockObject(SYSTEM_FONT)));
  }
}

// More texts than the text cache holds, measured in turn and again: every text keeps its
// own width while older texts leave the cache and come back, and a text used all along
// keeps its width too.
TEST(GdiText, MeasuresStayRightAcrossTextCacheEviction) {
  Canvas32 cv(8, 8);
  SelectObject(cv.dc, MakeFont("Arial", -12));
  auto textOf = [](int i) { return std::string(std::size_t(i % 37), 'W') + std::to_string(i) + "ж"; };
  auto widthOf = [&](const std::string& t) {
    SIZE size{};
    GetTextExtentPoint32(cv.dc, t.c_str(), int(t.size()), &size);
    return size.cx;
  };
  const std::string hot = "Плотность";
  const int hotWidth = widthOf(hot);
  constexpr int kTexts = int(kFontMapTextCacheLimit) + 552;
  std::vector<int> first;
  for (int i = 0; i < kTexts; ++i) first.push_back(widthOf(textOf(i)));
  int wrong = 0, hotWrong = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = pass == 0 ? kTexts - 1 : 0; pass == 0 ? i >= 0 : i < kTexts; i += pass == 0 ? -1 : 1) {
      wrong += widthOf(textOf(i)) != first[std::size_t(i)];
      if (i % 64 == 0) hotWrong += widthOf(hot) != hotWidth;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(hotWrong, 0);
  EXPECT_LT(first[1], first[36]) << "the texts differ in width";
  DeleteObject(SelectObject(cv.dc, GetStockObject(SYSTEM_FONT)));
}

// Long texts whose masks together pass the cache's mask budget, drawn in turn and again:
// masks leave the cache by their bytes and are made again, and every text draws the same
// pixels each time.
TEST(GdiText, DrawingStaysRightAcrossTheMaskBudget) {
  constexpr int kWidth = 1600, kHeight = 22;
  Canvas32 cv(kWidth, kHeight);
  SelectObject(cv.dc, MakeFont("Arial", -12));
  SetBkMode(cv.dc, TRANSPARENT);
  // About 25 KB of mask each (under the size kept as a mask), 1000 of them past 16 MB.
  auto textOf = [](int i) { return std::to_string(i) + std::string(126, 'W'); };
  auto draw = [&](int i) {
    cv.clear(kWhite);
    std::string t = textOf(i);
    TextOut(cv.dc, 2, 3, t.c_str(), int(t.size()));
    std::uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) h = (h ^ cv.at(x, y)) * 1099511628211ull;
    return h;
  };
  constexpr int kTexts = 1000;
  SIZE size{};
  GetTextExtentPoint32(cv.dc, textOf(0).c_str(), int(textOf(0).size()), &size);
  ASSERT_LT((size.cx + 4) * (size.cy + 4), 32 * 1024) << "small enough to keep as a mask";
  ASSERT_GT(std::size_t(kTexts) * std::size_t(size.cx * size.cy), kFontMapTextMaskBudget);
  std::vector<std::uint64_t> first;
  for (int i = 0; i < kTexts; ++i) first.push_back(draw(i));
  int wrong = 0;
  for (int i = kTexts - 1; i >= 0; i -= 3) wrong += draw(i) != first[std::size_t(i)];
  for (int i = 0; i < kTexts; i += 3) wrong += draw(i) != first[std::size_t(i)];
  EXPECT_EQ(wrong, 0);
  EXPECT_NE(first[0], first[1]) << "the texts differ";
  EXPECT_GT(cv.inkBox(kWhite).right, 1300) << "the whole text is drawn";
  DeleteObject(SelectObject(cv.dc, GetStockObject(SYSTEM_FONT)));
}

TEST(GdiText, PrefixUnderlinesTheMarkedCharacter) {
  Canvas32 a(80, 24), b(80, 24), c(80, 24);
  for (Canvas32* cv : {&a, &b, &c}) {
    SelectObject(cv->dc, MakeFont("Arial", -14));
    SetBkMode(cv->dc, TRANSPARENT);
  }
  RECT r{0, 0, 80, 24};
  DrawText(a.dc, "&File", -1, &r, DT_SINGLELINE);
  DrawText(b.dc, "File", -1, &r, DT_SINGLELINE);
  DrawText(c.dc, "&File", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(b.mask(kBlack), c.mask(kBlack)) << "hidden prefix draws plain text";
  EXPECT_NE(a.mask(kBlack), b.mask(kBlack));
  // The underline lies below the baseline under the first character only.
  RECT inkA = a.inkBox(kWhite), inkB = b.inkBox(kWhite);
  EXPECT_GT(inkA.bottom, inkB.bottom);
  int underlineRow = inkA.bottom - 1;
  int first = -1, last = -1;
  for (int x = 0; x < 80; ++x)
    if (a.at(x, underlineRow) == kBlack) {
      if (first < 0) first = x;
      last = x;
    }
  SIZE f;
  GetTextExtentPoint32(a.dc, "F", 1, &f);
  EXPECT_EQ(first, 0);
  EXPECT_LE(last, f.cx);
  // "&&" is a literal ampersand, DT_NOPREFIX shows the text as is.
  RECT m{0, 0, 0, 0};
  DrawText(a.dc, "a&&b", -1, &m, DT_CALCRECT | DT_SINGLELINE);
  SIZE amp;
  GetTextExtentPoint32(a.dc, "a&b", 3, &amp);
  EXPECT_EQ(m.right, amp.cx);
  m = RECT{0, 0, 0, 0};
  DrawText(a.dc, "a&&b", -1, &m, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  GetTextExtentPoint32(a.dc, "a&&b", 4, &amp);
  EXPECT_EQ(m.right, amp.cx);
  for (Canvas32* cv : {&a, &b, &c}) DeleteObject(SelectObject(cv->dc, GetStockObject(SYSTEM_FONT)));
}

TEST(GdiText, EscapementRotatesText) {
  Canvas32 flat(120, 120), up(120, 120);
  Select f1(flat.dc, MakeFont("Arial", -16));
  Select f2(up.dc, MakeFont("Arial", -16, FW_NORMAL, 900));
  for (Canvas32* cv : {&flat, &up}) SetBkMode(cv->dc, TRANSPARENT);
  TextOut(flat.dc, 10, 10, "Rotated", 7);
  TextOut(up.dc, 10, 110, "Rotated", 7);
  RECT a = flat.inkBox(kWhite), b = up.inkBox(kWhite);
  int wa = a.right - a.left, ha = a.bottom - a.top;
  int wb = b.right - b.left, hb = b.bottom - b.top;
  EXPECT_GT(wa, 2 * ha);
  EXPECT_GT(hb, 2 * wb) << "90 degrees: the text runs upwards";
  EXPECT_NEAR(hb, wa, 2);
  EXPECT_LE(b.bottom, 111);  // starts at the reference point and goes up
  EXPECT_GE(b.left, 10);
}

TEST(GdiText, TextAlignAndCurrentPosition) {
  Canvas32 cv(100, 30);
  Select f(cv.dc, MakeFont("Arial", -12));
  SetBkMode(cv.dc, TRANSPARENT);
  SetTextAlign(cv.dc, TA_RIGHT | TA_BASELINE);
  TextOut(cv.dc, 90, 20, "End", 3);
  RECT ink = cv.inkBox(kWhite);
  EXPECT_LE(ink.right, 90);
  EXPECT_GE(ink.right, 86);
  EXPECT_LE(ink.bottom, 21);
  cv.clear(kWhite);
  SetTextAlign(cv.dc, TA_LEFT | TA_TOP | TA_UPDATECP);
  MoveToEx(cv.dc, 5, 5, nullptr);
  TextOut(cv.dc, 0, 0, "ab", 2);
  POINT cp;
  GetCurrentPositionEx(cv.dc, &cp);
  SIZE s;
  GetTextExtentPoint32(cv.dc, "ab", 2, &s);
  EXPECT_EQ(cp, (POINT{5 + s.cx, 5}));
}

TEST(GdiText, ExtTextOutSpacingAndDrawTextExMargins) {
  Canvas32 cv(100, 20);
  Select f(cv.dc, MakeFont("Arial", -12));
  SetBkMode(cv.dc, TRANSPARENT);
  INT dx[3] = {20, 20, 20};
  ExtTextOut(cv.dc, 0, 0, 0, nullptr, "iii", 3, dx);
  // Three narrow glyphs, 20 pixels apart.
  int columns = 0;
  for (int x = 0; x < 100; ++x) {
    bool ink = false;
    for (int y = 0; y < 20; ++y) ink |= cv.at(x, y) != kWhite;
    if (ink && (x == 0 || [&] {
          for (int y = 0; y < 20; ++y)
            if (cv.at(x - 1, y) != kWhite) return false;
          return true;
        }()))
      ++columns;
  }
  EXPECT_EQ(columns, 3);
  EXPECT_GE(cv.inkBox(kWhite).right, 40);
  DRAWTEXTPARAMS p;
  p.iLeftMargin = 10;
  p.iRightMargin = 5;
  RECT r{0, 0, 0, 0};
  char text[] = "ab";
  DrawTextEx(cv.dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE, &p);
  SIZE s;
  GetTextExtentPoint32(cv.dc, "ab", 2, &s);
  EXPECT_EQ(r.right, s.cx + 15);
  EXPECT_EQ(p.uiLengthDrawn, 2u);
}

TEST(GdiText, MeasuringRepeatedlyIsCheap) {
  Canvas32 cv(10, 10);
  Select f(cv.dc, MakeFont("Tahoma", -11));
  SIZE s;
  for (int i = 0; i < 20000; ++i) GetTextExtentPoint32(cv.dc, "Коэффициент", -1, &s);
  EXPECT_GT(s.cx, 0);
}

TEST(GdiText, SymbolFaceShowsGreekAndSigns) {
  Canvas32 cv(10, 10);
  Select sym(cv.dc, MakeFont("Symbol", -16));
  SIZE a, alpha;
  GetTextExtentPoint32(cv.dc, "a\xC2\xB7", -1, &a);  // "a" and U+00B7 (the bullet slot)
  Select plain(cv.dc, MakeFont("DejaVu Sans", -16));
  GetTextExtentPoint32Utf8(cv.dc, "\xCE\xB1\xE2\x80\xA2", &alpha);  // alpha and bullet
  EXPECT_EQ(a.cx, alpha.cx);
}

TEST(GdiText, LometricCalcRectGrowsDownwards) {
  Canvas32 cv(10, 10);
  SetMapMode(cv.dc, MM_LOMETRIC);
  Select f(cv.dc, MakeFont("Arial", -50));  // 5 mm
  RECT r{100, -100, 100, -100};
  int h = DrawText(cv.dc, "Test", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(h, 50);
  EXPECT_LT(r.bottom, -100) << "y grows upwards in MM_LOMETRIC";
  EXPECT_EQ(r.top - r.bottom, h);
  EXPECT_GT(r.right, 100);
}

TEST(GdiText, DrawsIntoBottomUpDibSections) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 40;
  bi.bmiHeader.biHeight = 20;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  PatBlt(dc, 0, 0, 40, 20, WHITENESS);
  HFONT f = MakeFont("Arial", -14);
  HGDIOBJ of = SelectObject(dc, f);
  TextOut(dc, 2, 2, "Hg", 2);
  // The glyphs stand in the upper rows, which are the last ones in memory.
  auto* px = static_cast<std::uint32_t*>(bits);
  int inkTop = -1, inkBottom = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if ((px[(19 - y) * 40 + x] & 0xFFFFFF) != 0xFFFFFF) {
        if (inkTop < 0) inkTop = y;
        inkBottom = y;
      }
  EXPECT_GE(inkTop, 2);
  EXPECT_LE(inkBottom, 19);
  EXPECT_LT(inkTop, 8);
  SelectObject(dc, of);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(GdiText, InvalidUtf8IsDrawnNotRejected) {
  Canvas32 cv(40, 20);
  const char bad[] = {'a', char(0xFF), 'b', 0};
  SIZE s;
  ASSERT_TRUE(GetTextExtentPoint32(cv.dc, bad, 3, &s));
  EXPECT_GT(s.cx, 0);
  EXPECT_TRUE(TextOut(cv.dc, 0, 0, bad, 3));
}

}  // namespace
