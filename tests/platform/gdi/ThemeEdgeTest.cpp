// Classic 3-D edges and frame controls, and the theme parts with themes on and off.
#include <gtest/gtest.h>

#include <algorithm>

#include "GdiTestUtil.h"

namespace {

TEST(GdiEdges, RaisedEdgeUsesLightTopLeftAndDarkBottomRight) {
  Canvas32 cv(10, 10, kRed);
  RECT r{0, 0, 10, 10};
  ASSERT_TRUE(DrawEdge(cv.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
  EXPECT_EQ(r, (RECT{2, 2, 8, 8}));
  EXPECT_EQ(cv.at(3, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(cv.at(0, 3), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(cv.at(9, 3), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(cv.at(3, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(cv.at(9, 0), GetSysColor(COLOR_3DDKSHADOW)) << "bottom-right colour owns the shared corners";
  EXPECT_EQ(cv.at(3, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(cv.at(8, 3), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(cv.at(5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(GdiEdges, PartialSidesAndSunkenEdge) {
  Canvas32 cv(10, 10, kRed);
  RECT r{0, 0, 10, 10};
  DrawEdge(cv.dc, &r, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM | BF_ADJUST);
  EXPECT_EQ(r, (RECT{0, 1, 10, 9}));
  EXPECT_EQ(cv.at(5, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(cv.at(5, 9), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(cv.at(0, 5), kRed);
}

TEST(GdiEdges, FrameControlsDrawInsideTheirRectangle) {
  struct Case {
    UINT type, state;
  } cases[] = {
      {DFC_BUTTON, DFCS_BUTTONPUSH},
      {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED},
      {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
      {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
      {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
      {DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE},
      {DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_FLAT},
      {DFC_CAPTION, DFCS_CAPTIONCLOSE},
  };
  for (const Case& c : cases) {
    Canvas32 cv(24, 24, kRed);
    RECT r{4, 4, 20, 20};
    ASSERT_TRUE(DrawFrameControl(cv.dc, &r, c.type, c.state));
    RECT ink = cv.inkBox(kRed);
    EXPECT_GE(ink.left, 4);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.right, 20);
    EXPECT_LE(ink.bottom, 20);
    EXPECT_GT(cv.count(kRed), 24 * 24 - 16 * 16 - 1);
  }
  // Checked and unchecked boxes differ only by the mark.
  Canvas32 on(16, 16), off(16, 16);
  RECT r{0, 0, 16, 16};
  DrawFrameControl(on.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  DrawFrameControl(off.dc, &r, DFC_BUTTON, DFCS_BUTTONCHECK);
  EXPECT_GT(on.count(GetSysColor(COLOR_WINDOWTEXT)), off.count(GetSysColor(COLOR_WINDOWTEXT)) + 10);
  // The focus rectangle inverts dots and a second call restores the pixels.
  Canvas32 f(12, 12, kRed);
  RECT fr{1, 1, 11, 11};
  DrawFocusRect(f.dc, &fr);
  EXPECT_GT(f.count(RGB(0, 255, 255)), 10);
  DrawFocusRect(f.dc, &fr);
  EXPECT_EQ(f.count(kRed), 144);
}

TEST(GdiTheme, ClassesOpenWhileThemesAreActive) {
  HTHEME t = OpenThemeData(nullptr, u"Button");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(CloseThemeData(t), S_OK);
  HTHEME list = OpenThemeData(nullptr, "Nonsense;COMBOBOX");
  EXPECT_NE(list, nullptr) << "first known class of the list";
  CloseThemeData(list);
  EXPECT_EQ(OpenThemeData(nullptr, "CompositedWindow::Window"), nullptr) << "no composition";
  EXPECT_EQ(OpenThemeData(nullptr, "nonsense"), nullptr);
  char16_t file[255], color[255], size[255];
  ASSERT_EQ(GetCurrentThemeName(file, 255, color, 255, size, 255), S_OK);
  EXPECT_EQ(std::u16string(color), u"NormalColor");
  char16_t tiny[4];
  GetCurrentThemeName(nullptr, 0, tiny, 4, nullptr, 0);
  EXPECT_EQ(std::u16string(tiny), u"Nor");
  LOGFONT lf;
  EXPECT_EQ(GetThemeSysFont(nullptr, TMT_CAPTIONFONT, &lf), S_OK);
  EXPECT_FALSE(lf.lfFaceName.empty());
  SetThemeActive(false);
  EXPECT_FALSE(IsThemeActive());
  EXPECT_EQ(OpenThemeData(nullptr, "button"), nullptr);
  SetThemeActive(true);
  EXPECT_TRUE(IsAppThemed());
}

TEST(GdiTheme, PartsPaintWithinRectangleAndStatesDiffer) {
  struct Case {
    const char* cls;
    int part, stateA, stateB;
  } cases[] = {
      {"button", BP_PUSHBUTTON, PBS_NORMAL, PBS_PRESSED},
      {"button", BP_CHECKBOX, CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL},
      {"button", BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, RBS_CHECKEDNORMAL},
      {"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, CBXS_PRESSED},
      {"spin", SPNP_UP, UPS_NORMAL, UPS_HOT},
      {"scrollbar", SBP_ARROWBTN, ABS_UPNORMAL, ABS_DOWNNORMAL},
      {"header", HP_HEADERITEM, HIS_NORMAL, HIS_HOT},
      {"tab", TABP_TABITEM, TIS_NORMAL, TIS_SELECTED},
      {"toolbar", TP_BUTTON, TS_HOT, TS_PRESSED},
      {"progress", PP_BAR, 0, 0},
      {"edit", EP_EDITTEXT, ETS_NORMAL, ETS_DISABLED},
      {"tooltip", TTP_STANDARD, TTSS_NORMAL, TTSS_NORMAL},
      {"window", WP_CLOSEBUTTON, CBS_NORMAL, CBS_PUSHED},
  };
  for (const Case& c : cases) {
    HTHEME t = OpenThemeData(nullptr, c.cls);
    ASSERT_NE(t, nullptr) << c.cls;
    Canvas32 a(30, 30, kRed), b(30, 30, kRed);
    RECT r{5, 5, 25, 25};
    EXPECT_EQ(DrawThemeBackground(t, a.dc, c.part, c.stateA, &r, nullptr), S_OK);
    DrawThemeBackground(t, b.dc, c.part, c.stateB, &r, nullptr);
    RECT ink = a.inkBox(kRed);
    EXPECT_GT(ink.right, ink.left) << c.cls << " draws something";
    EXPECT_GE(ink.left, 5) << c.cls;
    EXPECT_LE(ink.right, 25) << c.cls;
    if (c.stateA != c.stateB) {
      EXPECT_FALSE(std::equal(a.px, a.px + 30 * 30, b.px)) << c.cls << " states look different";
    }
    // The clip rectangle limits the painting.
    Canvas32 clipped(30, 30, kRed);
    RECT clip{5, 5, 10, 10};
    DrawThemeBackground(t, clipped.dc, c.part, c.stateA, &r, &clip);
    EXPECT_LE(clipped.inkBox(kRed).right, 10) << c.cls;
    CloseThemeData(t);
  }
  HTHEME t = OpenThemeData(nullptr, "button");
  SIZE s;
  EXPECT_EQ(GetThemePartSize(t, nullptr, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &s), S_OK);
  EXPECT_EQ(s, (SIZE{13, 13}));
  COLORREF col;
  EXPECT_EQ(GetThemeColor(t, BP_PUSHBUTTON, PBS_DISABLED, TMT_TEXTCOLOR, &col), S_OK);
  EXPECT_NE(col, kBlack);
  CloseThemeData(t);
  EXPECT_EQ(DrawThemeBackground(t, nullptr, 1, 1, nullptr, nullptr), E_INVALIDARG) << "closed handle";
}

}  // namespace
