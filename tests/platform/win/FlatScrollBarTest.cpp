// Flat scroll bars: their properties, the frame laid out by their sizes, the shared
// scroll state, and the tracking that follows their arrow lengths.
#include "platform/win/FlatScrollBar.h"
#include "tests/platform/win/WinTestSupport.h"

namespace {

class FlatScrollBar : public WinTest {
protected:
  HWND MakeScrolled() {
    HWND h = Make(WS_OVERLAPPED | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, nullptr, MakeRect(0, 0, 200, 150));
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(h, SB_VERT, &si, FALSE);
    SetScrollInfo(h, SB_HORZ, &si, FALSE);
    return h;
  }
  static RECT Client(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    return r;
  }
};

}  // namespace

// Before InitializeFlatSB nothing is set; after it the properties start as the system's
// metrics and take only values that make sense.
TEST_F(FlatScrollBar, PropertiesStartAsTheSystemsAndRefuseNonsense) {
  HWND h = MakeScrolled();
  int value = -1;
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_VSTYLE, FSB_FLAT_MODE, TRUE));
  EXPECT_FALSE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, &value));
  ASSERT_TRUE(InitializeFlatSB(h));
  struct {
    UINT Index;
    int Start;
  } starts[] = {{WSB_PROP_CXVSCROLL, GetSystemMetrics(SM_CXVSCROLL)}, {WSB_PROP_CYHSCROLL, GetSystemMetrics(SM_CYHSCROLL)},
                {WSB_PROP_CYVSCROLL, GetSystemMetrics(SM_CYVSCROLL)}, {WSB_PROP_CXHSCROLL, GetSystemMetrics(SM_CXHSCROLL)},
                {WSB_PROP_VSTYLE, FSB_REGULAR_MODE},   {WSB_PROP_HSTYLE, FSB_REGULAR_MODE},
                {WSB_PROP_VBKGCOLOR, int(CLR_DEFAULT)}, {WSB_PROP_HBKGCOLOR, int(CLR_DEFAULT)}};
  for (const auto& s : starts) {
    ASSERT_TRUE(FlatSB_GetScrollProp(h, s.Index, &value)) << s.Index;
    EXPECT_EQ(value, s.Start) << s.Index;
  }
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_VSTYLE, 3, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_HSTYLE, -1, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_CXVSCROLL, -5, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(h, WSB_PROP_WINSTYLE, 0, TRUE));
  EXPECT_FALSE(FlatSB_SetScrollProp(h, 0x1000, 1, TRUE));
  EXPECT_FALSE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, nullptr));
  ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_VSTYLE, &value));
  EXPECT_EQ(value, FSB_REGULAR_MODE) << "a refused value changes nothing";
  ASSERT_TRUE(FlatSB_GetScrollProp(h, WSB_PROP_WINSTYLE, &value));
  EXPECT_EQ(DWORD(value), DWORD(GetWindowLong(h, GWL_STYLE)));
}

// The bars' sizes lay the frame out: the client area gives way at once, and turning the
// flat bars off gives the system's sizes back.
TEST_F(FlatScrollBar, SizesLayTheFrameOutAndUninitializeRestoresIt) {
  HWND h = MakeScrolled();
  const RECT standard = Client(h);
  ASSERT_TRUE(InitializeFlatSB(h));
  ASSERT_TRUE(FlatSB_SetScrollProp(h, WSB_PROP_CXVSCROLL, 30, FALSE));
  ASSERT_TRUE(FlatSB_SetScrollProp(h, WSB_PROP_CYHSCROLL, 8, TRUE));
  RECT flat = Client(h);
  EXPECT_EQ(flat.right, standard.right - (30 - GetSystemMetrics(SM_CXVSCROLL)));
  EXPECT_EQ(flat.bottom, standard.bottom + (GetSystemMetrics(SM_CYHSCROLL) - 8));
  POINT p{flat.right + 15, 40};
  ClientToScreen(h, &p);
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p)), HTVSCROLL);
  EXPECT_EQ(UninitializeFlatSB(h), S_OK);
  RECT back = Client(h);
  EXPECT_TRUE(back.right == standard.right && back.bottom == standard.bottom);
  EXPECT_EQ(UninitializeFlatSB(h), S_FALSE) << "already off";
}

// The flat calls and the standard ones work on one scroll state; a click on the lower
// arrow, as long as the flat arrow length says, scrolls by a line.
TEST_F(FlatScrollBar, ScrollStateIsSharedAndArrowsFollowTheirLength) {
  std::vector<int> codes;
  HWND h = Make(WS_OVERLAPPED | WS_VISIBLE | WS_VSCROLL, nullptr, MakeRect(0, 0, 200, 150),
                [&](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                  if (m == WM_VSCROLL) codes.push_back(LOWORD(wp));
                  return DefWindowProc(w, m, wp, lp);
                });
  ASSERT_TRUE(InitializeFlatSB(h));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 30;
  FlatSB_SetScrollInfo(h, SB_VERT, &si, TRUE);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 30);
  SCROLLINFO got{};
  got.cbSize = sizeof(got);
  got.fMask = SIF_ALL;
  ASSERT_TRUE(FlatSB_GetScrollInfo(h, SB_VERT, &got));
  EXPECT_EQ(got.nPage, 10u);
  ASSERT_TRUE(FlatSB_SetScrollProp(h, WSB_PROP_CYVSCROLL, 40, TRUE));
  RECT c = Client(h);
  POINT p{c.right + 5, c.bottom - 30};  // inside a 40-pixel arrow, not a 17-pixel one
  ClientToScreen(h, &p);
  InputMouseButton(TInputButton::Left, true, p);
  InputMouseButton(TInputButton::Left, false, p);
  Pump();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), SB_LINEDOWN);
  EXPECT_TRUE(FlatSB_ShowScrollBar(h, SB_VERT, FALSE));
  EXPECT_FALSE(GetWindowLong(h, GWL_STYLE) & WS_VSCROLL);
}
