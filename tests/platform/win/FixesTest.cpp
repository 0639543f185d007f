// The frame's scroll bars under children, the back end's poll from polling loops, theme
// switches told to every top-level window, parents painting under themed children, and
// windows freed when the program ends.
#include <cairo.h>

#include <cstdlib>
#include <cstring>

#include "WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UxTheme.h"

namespace {

COLORREF SurfacePixel(HWND h, int clientX, int clientY) {
  UpdateAllWindows();
  HWND top = GetAncestor(h, GA_ROOT);
  auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(top));
  if (!s) return CLR_INVALID;
  cairo_surface_flush(s);
  POINT p{clientX, clientY};
  ClientToScreen(h, &p);
  RECT wr;
  GetWindowRect(top, &wr);
  int x = p.x - wr.left, y = p.y - wr.top;
  if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(s) || y >= cairo_image_surface_get_height(s))
    return CLR_INVALID;
  uint32_t v;
  std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4, 4);
  return RGB(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}

class Fixes : public WinTest {
protected:
  void TearDown() override {
    WinTest::TearDown();
    ResetSysColors();
    SetThemeActive(true);
    SetThemeColorScheme("NormalColor");
  }
};

// A top-level window with both scroll bars and a child reaching under them: the bars are
// the window's, drawn and hit as such.
TEST_F(Fixes, FrameScrollBarsStayTheWindowsUnderAChild) {
  SetThemeActive(false);  // classic bars: the track in the scroll bar colour
  INT index = COLOR_SCROLLBAR;
  COLORREF track = RGB(0, 150, 0);
  SetSysColors(1, &index, &track);
  HWND top = Make(WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, nullptr,
                  MakeRect(100, 100, 400, 300), nullptr, WS_EX_CLIENTEDGE);
  SetScrollRange(top, SB_VERT, 0, 1000, FALSE);
  SetScrollRange(top, SB_HORZ, 0, 1000, FALSE);
  HWND child = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(0, 0, 600, 600), [](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) {
      RECT r{0, 0, 600, 600};
      HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(reinterpret_cast<HDC>(w), &r, b);
      DeleteObject(b);
      return LRESULT(1);
    }
    return DefWindowProc(h, m, w, l);
  });
  Pump();
  RECT cr;
  GetClientRect(top, &cr);
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  // Client coordinates of the top-level window: the bars lie just outside the client.
  POINT onVBar{cr.right + bar / 2, cr.bottom / 2};
  POINT onHBar{cr.right / 2, cr.bottom + bar / 2};
  for (POINT p : {onVBar, onHBar}) {
    POINT s = p;
    ClientToScreen(top, &s);
    EXPECT_EQ(WindowFromPoint(s), top) << p.x << "," << p.y;
    EXPECT_EQ(SurfacePixel(top, p.x, p.y - (p.y == onVBar.y ? 30 : 0)), track) << p.x << "," << p.y;
  }
  POINT s = onVBar;
  ClientToScreen(top, &s);
  EXPECT_EQ(SendMessage(top, WM_NCHITTEST, 0, PointToLParam(s)), HTVSCROLL);
  // The child shows inside the client only.
  EXPECT_EQ(SurfacePixel(top, cr.right - 1, cr.bottom - 1), RGB(255, 0, 0));
  POINT inside{5, 5};
  ClientToScreen(top, &inside);
  EXPECT_EQ(WindowFromPoint(inside), child);
}

// ---------------------------------------------------------------------------------------
class TPollingBackend : public TTestBackend {
public:
  int Polls = 0;
  std::function<void()> OnPoll;
  void Poll() override {
    ++Polls;
    if (OnPoll) OnPoll();
  }
};

TEST_F(Fixes, PollingLoopsAskTheBackEndOncePerMillisecond) {
  TPollingBackend backend;
  SetBackend(&backend);
  std::vector<UINT> keys;
  HWND w = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(0, 0, 200, 100), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_KEYDOWN) keys.push_back(UINT(wp));
    return DefWindowProc(h, m, wp, lp);
  });
  SetFocus(w);
  backend.Time += 1;  // a millisecond not polled yet
  ProcessPendingMessages();
  int before = backend.Polls;
  EXPECT_GE(before, 1);  // the queue ran empty
  // Input the back end has when asked arrives in the same polling loop.
  backend.OnPoll = [&] { InputKey('A', true); };
  backend.Time += 1;
  ProcessPendingMessages();
  EXPECT_EQ(backend.Polls, before + 1);
  EXPECT_EQ(keys, (std::vector<UINT>{'A'}));
  // Within the same millisecond the back end is not asked again.
  backend.OnPoll = nullptr;
  MSG m;
  for (int i = 0; i < 100; ++i) EXPECT_FALSE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(backend.Polls, before + 1);
  // A queue with something in it is not a reason to poll.
  backend.Time += 1;
  PostMessage(w, WM_USER, 0, 0);
  EXPECT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(backend.Polls, before + 1);
  InputKey('A', false);
  ProcessPendingMessages();
  SetBackend(&Backend);
}

// ---------------------------------------------------------------------------------------
TEST_F(Fixes, ThemeSwitchesAreToldToEveryTopLevelWindow) {
  std::vector<std::pair<HWND, UINT>> seen;
  THandler record = [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_THEMECHANGED || m == WM_SYSCOLORCHANGE) seen.push_back({h, m});
    return DefWindowProc(h, m, w, l);
  };
  HWND a = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(0, 0, 100, 100), record);
  HWND b = Make(WS_POPUP, nullptr, MakeRect(0, 0, 100, 100), record);  // hidden ones too
  Make(WS_CHILD | WS_VISIBLE, a, MakeRect(0, 0, 10, 10), record);      // children: through their parent
  SetThemeColorScheme("HomeStead");
  char16_t color[32] = {};
  ASSERT_EQ(GetCurrentThemeName(nullptr, 0, color, 32, nullptr, 0), S_OK);
  EXPECT_EQ(std::u16string(color), u"HomeStead");
  EXPECT_EQ(std::string(SystemIdentity().ThemeColorScheme), "HomeStead");
  auto count = [&](HWND h, UINT m) {
    int n = 0;
    for (auto& [w, msg] : seen) n += w == h && msg == m;
    return n;
  };
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(count(a, WM_THEMECHANGED), 1);
  EXPECT_EQ(count(b, WM_THEMECHANGED), 1);
  EXPECT_EQ(count(a, WM_SYSCOLORCHANGE), 1);
  EXPECT_EQ(count(b, WM_SYSCOLORCHANGE), 1);
  // Through the identity: off, then on again by assigning a copy back.
  TSystemIdentity saved = SystemIdentity();
  seen.clear();
  SystemIdentity().ThemesActive = false;
  EXPECT_FALSE(IsThemeActive());
  EXPECT_TRUE(bool(saved.ThemesActive));  // the copy keeps its own value
  EXPECT_EQ(count(a, WM_THEMECHANGED), 1);
  SystemIdentity().ThemesActive = false;  // no change, no message
  EXPECT_EQ(count(a, WM_THEMECHANGED), 1);
  SystemIdentity() = saved;
  EXPECT_TRUE(IsThemeActive());
  EXPECT_EQ(count(a, WM_THEMECHANGED), 2);
  // The window system's reset brings back the system's own theme.
  SetThemeColorScheme("Metallic");
  ResetWindowSystem();
  EXPECT_EQ(GetThemeColorScheme(), "NormalColor");
}

// ---------------------------------------------------------------------------------------
// The parent's background under a child: the parent erases and prints its client area,
// moved by the child's position, clipped to the rectangle asked for.
TEST_F(Fixes, ParentBackgroundIsPaintedWithTheChildsOffset) {
  std::vector<UINT> parentGot;
  HWND top = Make(WS_OVERLAPPED | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, MakeRect(50, 50, 400, 300),
                  [&](HWND h, UINT m, WPARAM w, LPARAM l) {
                    auto dc = reinterpret_cast<HDC>(w);
                    if (m == WM_ERASEBKGND) {
                      parentGot.push_back(m);
                      RECT r{0, 0, 400, 300};
                      HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
                      FillRect(dc, &r, b);
                      DeleteObject(b);
                      return LRESULT(1);
                    }
                    if (m == WM_PRINTCLIENT) {
                      parentGot.push_back(m);
                      // A stripe at parent x 100..119.
                      RECT r{100, 0, 120, 300};
                      HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
                      FillRect(dc, &r, b);
                      DeleteObject(b);
                      return LRESULT(0);
                    }
                    return DefWindowProc(h, m, w, l);
                  });
  RECT asked{0, 0, 50, 20};
  HWND child = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(90, 30, 190, 90), [&](HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) return LRESULT(1);
    if (m == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT all{0, 0, 100, 60};
      HBRUSH g = CreateSolidBrush(RGB(0, 255, 0));
      FillRect(dc, &all, g);
      DeleteObject(g);
      EXPECT_EQ(DrawThemeParentBackground(h, dc, &asked), S_OK);
      EndPaint(h, &ps);
      return LRESULT(0);
    }
    return DefWindowProc(h, m, w, l);
  });
  Pump();
  parentGot.clear();
  InvalidateRect(child, nullptr, TRUE);
  UpdateWindow(child);
  EXPECT_EQ(parentGot, (std::vector<UINT>{WM_ERASEBKGND, WM_PRINTCLIENT}));
  EXPECT_EQ(SurfacePixel(child, 5, 5), RGB(0, 0, 255));     // parent x 95: erased
  EXPECT_EQ(SurfacePixel(child, 10, 5), RGB(255, 0, 0));    // parent x 100: the stripe
  EXPECT_EQ(SurfacePixel(child, 29, 19), RGB(255, 0, 0));   // parent x 119
  EXPECT_EQ(SurfacePixel(child, 30, 5), RGB(0, 0, 255));    // parent x 120
  EXPECT_EQ(SurfacePixel(child, 49, 19), RGB(0, 0, 255));
  EXPECT_EQ(SurfacePixel(child, 50, 5), RGB(0, 255, 0));    // outside the rectangle asked for
  EXPECT_EQ(SurfacePixel(child, 10, 20), RGB(0, 255, 0));
  // The parent's own client outside the child is untouched by the child's request.
  EXPECT_EQ(SurfacePixel(top, 110, 10), RGB(0, 0, 255));
}

// ---------------------------------------------------------------------------------------
// Windows destroyed outside any message handling and windows nobody destroyed are freed
// by the end of the program (the leak checker, in builds that have one, checks the child
// process at its exit).
// Makes windows and lets go of them: one destroyed outside any message handling, two
// never destroyed (no handle is kept anywhere); text is left on the clipboard.
[[gnu::noinline]] void MakeWindowsAndForgetThem() {
  ResetWindowSystem();
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "AtExit";
  RegisterClass(&wc);
  HWND kept = CreateWindowEx(0, "AtExit", "kept", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
  CreateWindowEx(0, "AtExit", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, kept, nullptr, nullptr, nullptr);
  HWND gone =
      CreateWindowEx(0, "AtExit", "gone", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  UpdateAllWindows();
  DestroyWindow(gone);
  SetClipboardTextUtf8("left on the clipboard");
}

TEST(WindowsAtExit, AreFreed) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        MakeWindowsAndForgetThem();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// Double-clicking the caption maximises and restores. Maximised, the window fills the work
// area exactly: its frame is not shown and no part lies off-screen.
TEST_F(Fixes, CaptionDoubleClickMaximisesToTheWorkAreaAndRestores) {
  for (bool themed : {true, false}) {
    SetThemeActive(themed);
    RECT normal = MakeRect(50, 60, 350, 260);
    HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, normal, nullptr);
    Pump();
    auto doubleClickCaption = [&] {
      RECT wr;
      GetWindowRect(top, &wr);
      POINT p{(wr.left + wr.right) / 2, wr.top + GetSystemMetrics(SM_CYFRAME) + 5};
      ASSERT_EQ(SendMessage(top, WM_NCHITTEST, 0, PointToLParam(p)), HTCAPTION);
      for (int i = 0; i < 2; ++i) {
        InputMouseButton(TInputButton::Left, true, p);
        InputMouseButton(TInputButton::Left, false, p);
      }
      Pump();
    };
    doubleClickCaption();
    EXPECT_TRUE(GetWindowLong(top, GWL_STYLE) & WS_MAXIMIZE) << themed;
    RECT wr, work = CurrentBackend().WorkArea();
    GetWindowRect(top, &wr);
    EXPECT_TRUE(wr.left == work.left && wr.top == work.top && wr.right == work.right && wr.bottom == work.bottom)
        << themed << " " << wr.left << "," << wr.top << "," << wr.right << "," << wr.bottom;
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    EXPECT_EQ(origin.x, work.left) << "no frame at the sides";
    EXPECT_EQ(origin.y, work.top + GetSystemMetrics(SM_CYCAPTION)) << "the caption at the top";
    doubleClickCaption();
    EXPECT_FALSE(GetWindowLong(top, GWL_STYLE) & WS_MAXIMIZE);
    GetWindowRect(top, &wr);
    EXPECT_TRUE(wr.left == normal.left && wr.top == normal.top && wr.right == normal.right && wr.bottom == normal.bottom);
    DestroyWindow(top);
  }
}

}  // namespace
