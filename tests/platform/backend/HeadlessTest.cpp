#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/rtl/CodePage.h"

namespace {

using THandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
std::map<HWND, THandler> gHandlers;
THandler gPending;

LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto it = gHandlers.find(h);
  if (it == gHandlers.end() && gPending) it = gHandlers.emplace(h, gPending).first;
  if (m == WM_NCDESTROY && it != gHandlers.end()) {
    // The window's last message: a window made later may be given the same handle.
    THandler last = std::move(it->second);
    gHandlers.erase(it);
    return last ? last(h, m, w, l) : DefWindowProc(h, m, w, l);
  }
  if (it != gHandlers.end() && it->second) return it->second(h, m, w, l);
  return DefWindowProc(h, m, w, l);
}

// A push button: counts clicks released over it, filled with its colour.
struct TButton {
  HWND Handle = nullptr;
  int Clicks = 0;
  bool Pressed = false;
  COLORREF Color = RGB(200, 0, 0);
};

// An edit field: collects typed characters; backspace deletes the last one.
struct TEdit {
  HWND Handle = nullptr;
  std::u32string Text;
  std::string Utf8() const {
    std::string s;
    for (char32_t c : Text) Utf8Append(s, c);
    return s;
  }
};

class Headless : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;

  void SetUp() override {
    WNDCLASS wc;
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "HeadlessTest";
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    for (auto& [h, f] : gHandlers) f = nullptr;
    ResetWindowSystem();
    gHandlers.clear();
  }

  HWND Make(DWORD style, HWND parent, RECT r, THandler handler = nullptr, const char* text = "") {
    gPending = handler ? handler : THandler([](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); });
    HWND h = CreateWindowEx(0, "HeadlessTest", text, style, r.left, r.top, RectWidth(r), RectHeight(r), parent,
                            nullptr, nullptr, nullptr);
    gPending = nullptr;
    return h;
  }

  void MakeButton(TButton& b, HWND parent, RECT r) {
    b.Handle = Make(WS_CHILD | WS_VISIBLE, parent, r, [&b](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      switch (m) {
        case WM_LBUTTONDOWN:
          b.Pressed = true;
          SetCapture(h);
          return 0;
        case WM_LBUTTONUP: {
          RECT c;
          GetClientRect(h, &c);
          POINT p = LParamToPoint(lp);
          bool inside = p.x >= 0 && p.y >= 0 && p.x < c.right && p.y < c.bottom;
          bool was = b.Pressed;
          b.Pressed = false;
          ReleaseCapture();
          if (was && inside) ++b.Clicks;
          return 0;
        }
        case WM_PAINT: {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(h, &ps);
          RECT c;
          GetClientRect(h, &c);
          HBRUSH br = CreateSolidBrush(b.Color);
          FillRect(dc, &c, br);
          DeleteObject(br);
          EndPaint(h, &ps);
          return 0;
        }
      }
      return DefWindowProc(h, m, wp, lp);
    });
  }

  void MakeEdit(TEdit& e, HWND parent, RECT r) {
    e.Handle = Make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, parent, r, [&e](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      switch (m) {
        case WM_LBUTTONDOWN: SetFocus(h); return 0;
        case WM_CHAR:
          if (wp == 8) {
            if (!e.Text.empty()) e.Text.pop_back();
          } else if (wp >= 32) {
            e.Text.push_back(char32_t(wp));
          }
          return 0;
      }
      return DefWindowProc(h, m, wp, lp);
    });
  }
};

TEST_F(Headless, TimersFireInOrderAtTheirDueTimesWhenTheClockAdvances) {
  std::vector<std::string> fired;
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_TIMER) {
      fired.push_back(std::to_string(wp) + "@" + std::to_string(GetTickCount()));
      if (wp == 2) KillTimer(h, 2);  // a one-shot
    }
    return DefWindowProc(h, m, wp, lp);
  });
  DWORD start = GetTickCount();
  SetTimer(w, 1, 30, nullptr);
  SetTimer(w, 2, 50, nullptr);
  Scope.Backend().Advance(100);
  EXPECT_EQ(GetTickCount() - start, 100u);
  std::vector<std::string> expected;
  for (auto [id, t] : std::vector<std::pair<int, int>>{{1, 30}, {2, 50}, {1, 60}, {1, 90}})
    expected.push_back(std::to_string(id) + "@" + std::to_string(start + t));
  EXPECT_EQ(fired, expected);
  fired.clear();
  Scope.Backend().Advance(19);  // timer 1 is next due at 120
  EXPECT_TRUE(fired.empty());
  Scope.Backend().Advance(1);
  EXPECT_EQ(fired.size(), 1u);
}

std::vector<DWORD>* gThreadTimerTimes = nullptr;
void ThreadTimer(HWND, UINT, UINT_PTR, DWORD time) { gThreadTimerTimes->push_back(time); }

TEST_F(Headless, ThreadTimersCallTheirProcedure) {
  std::vector<DWORD> times;
  gThreadTimerTimes = &times;
  UINT_PTR id = SetTimer(nullptr, 0, 100, ThreadTimer);
  ASSERT_NE(id, 0u);
  Scope.Backend().Advance(250);
  EXPECT_EQ(times.size(), 2u);
  KillTimer(nullptr, id);
  Scope.Backend().Advance(250);
  EXPECT_EQ(times.size(), 2u);
}

TEST_F(Headless, RobotClicksAButtonOfAnInactiveForm) {
  HWND form = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 500, 400), nullptr, "Form");
  HWND other = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(600, 100, 900, 400), nullptr, "Other");
  TButton ok;
  MakeButton(ok, form, MakeRect(20, 20, 120, 45));
  ASSERT_EQ(GetActiveWindow(), other);
  Robot.Click(ok.Handle, 10, 10);
  EXPECT_EQ(ok.Clicks, 1);
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(GetCapture(), nullptr);
  // Pressed on the button, released outside: no click.
  Robot.Drag(ok.Handle, WinPoint(10, 10), WinPoint(200, 10));
  EXPECT_EQ(ok.Clicks, 1);
}

TEST_F(Headless, RobotTypesIntoTheFocusedField) {
  HWND form = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 500, 400));
  TEdit a, b;
  MakeEdit(a, form, MakeRect(10, 10, 200, 30));
  MakeEdit(b, form, MakeRect(10, 40, 200, 60));
  Robot.Click(b.Handle, 5, 5);
  ASSERT_EQ(GetFocus(), b.Handle);
  Robot.Type("Gas: Метан 1,5%");
  Robot.PressKey(VK_BACK);
  Robot.PressKey('X', rsShift);
  EXPECT_EQ(b.Utf8(), "Gas: Метан 1,5X");
  EXPECT_TRUE(a.Text.empty());
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
}

TEST_F(Headless, WheelGoesToTheFocusWindow) {
  int delta = 0;
  HWND form = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 300), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_MOUSEWHEEL) delta += GET_WHEEL_DELTA_WPARAM(wp);
    return DefWindowProc(h, m, wp, lp);
  });
  HWND child = Make(WS_CHILD | WS_VISIBLE, form, MakeRect(10, 10, 100, 100));
  SetFocus(child);
  Robot.Wheel(child, 5, 5, -2);  // the child passes it to its parent by default
  EXPECT_EQ(delta, -240);
}

TEST_F(Headless, ModalLoopIsAnsweredByAScriptedStep) {
  bool modalDone = false;
  HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(0, 0, 400, 300));
  TButton close;
  HWND dialog = nullptr;
  HWND opener = Make(WS_CHILD | WS_VISIBLE, owner, MakeRect(10, 10, 60, 30), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_LBUTTONUP) {
      // A modal dialog: owner disabled, nested loop until closed.
      dialog = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, owner, MakeRect(50, 50, 250, 200), nullptr, "Dialog");
      MakeButton(close, dialog, MakeRect(10, 10, 90, 35));
      EnableWindow(owner, FALSE);
      while (close.Clicks == 0) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
          PostQuitMessage(int(msg.wParam));
          break;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
      EnableWindow(owner, TRUE);
      DestroyWindow(dialog);
      modalDone = true;
    }
    return DefWindowProc(h, m, wp, lp);
  });
  // While the dialog is up, a click on the disabled owner beeps and changes nothing;
  // then the dialog's button ends the loop.
  Scope.Backend().WhenIdle([&] { Robot.Click(owner, 200, 250); });
  Scope.Backend().WhenIdle([&] { Robot.Click(close.Handle, 5, 5); });
  int beeps = MessageBeepCount();
  Robot.Click(opener, 5, 5);
  EXPECT_TRUE(modalDone);
  EXPECT_EQ(close.Clicks, 1);
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  EXPECT_EQ(Scope.Backend().PendingSteps(), 0u);
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Headless, ALoopWithNothingScriptedRaises) {
  MSG msg;
  EXPECT_THROW(GetMessage(&msg, nullptr, 0, 0), EMessageLoopStalled);
}

TEST_F(Headless, SnapshotsShowWhatWindowsPainted) {
  HWND form = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), nullptr, "Снимок");
  TButton b;
  b.Color = RGB(0, 128, 255);
  MakeButton(b, form, MakeRect(20, 20, 120, 60));
  EXPECT_EQ(WindowPixel(b.Handle, 50, 20), RGB(0, 128, 255));
  EXPECT_EQ(WindowPixel(form, 5, 5), GetSysColor(COLOR_BTNFACE));
  // Repaint after a change.
  b.Color = RGB(0, 200, 0);
  InvalidateRect(b.Handle, nullptr, FALSE);
  EXPECT_EQ(WindowPixel(b.Handle, 1, 1), RGB(0, 200, 0));
  auto path = std::filesystem::temp_directory_path() / "lorm_headless_snapshot.png";
  ASSERT_TRUE(SaveWindowPng(form, path.string()));
  EXPECT_GT(std::filesystem::file_size(path), 100u);
  std::filesystem::remove(path);
}

TEST_F(Headless, MovingAChildRepaintsWhatItUncovered) {
  HWND form = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 200));
  TButton b;
  MakeButton(b, form, MakeRect(10, 10, 60, 60));
  EXPECT_EQ(WindowPixel(form, 20, 20), RGB(200, 0, 0));
  SetWindowPos(b.Handle, nullptr, 100, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowPixel(form, 20, 20), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(form, 110, 20), RGB(200, 0, 0));
  ShowWindow(b.Handle, SW_HIDE);
  EXPECT_EQ(WindowPixel(form, 110, 20), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Headless, DraggingTheCaptionMovesTheWindow) {
  HWND form = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), nullptr, "Move me");
  RECT before, after;
  GetWindowRect(form, &before);
  Robot.Drag(nullptr, WinPoint(200, 110), WinPoint(260, 150));
  GetWindowRect(form, &after);
  EXPECT_EQ(after.left - before.left, 60);
  EXPECT_EQ(after.top - before.top, 40);
}

}  // namespace
