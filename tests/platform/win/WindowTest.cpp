#include <set>

#include "WinTestSupport.h"

namespace {

std::vector<std::string> gLog;
WNDPROC gOldProc = nullptr;

LRESULT SubclassProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER) {
    gLog.push_back("sub");
    return 42;
  }
  if (m == WM_USER + 1) gLog.push_back("sub passes on");
  return CallWindowProc(gOldProc, h, m, wp, lp);
}

class Windows : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gLog.clear();
  }
  static THandler Logger(const std::string& name, std::vector<std::string>* log) {
    return [name, log](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      switch (m) {
        case WM_SETFOCUS: log->push_back(name + " setfocus"); break;
        case WM_KILLFOCUS: log->push_back(name + " killfocus"); break;
        case WM_ACTIVATE: log->push_back(name + (LOWORD(wp) ? " activate" : " deactivate")); break;
        case WM_NCACTIVATE: log->push_back(name + (wp ? " ncactivate" : " ncdeactivate")); break;
        case WM_ACTIVATEAPP: log->push_back(name + (wp ? " app on" : " app off")); break;
        case WM_USER: log->push_back(name + " user"); return 1;
        case WM_USER + 1: log->push_back(name + " original"); return 2;
      }
      return DefWindowProc(h, m, wp, lp);
    };
  }
};

TEST_F(Windows, SubclassingInterceptsAndChainsAndRestoringPutsTheOriginalBack) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), Logger("w", &gLog));
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC));
  gOldProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, LONG_PTR(&SubclassProc)));
  EXPECT_EQ(gOldProc, original);
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 42);
  EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 2);
  SetWindowLongPtr(w, GWLP_WNDPROC, LONG_PTR(gOldProc));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 1);
  EXPECT_EQ(gLog, (std::vector<std::string>{"sub", "sub passes on", "w original", "w user"}));
}

TEST_F(Windows, UserDataPropertiesAndExtraBytes) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  SetWindowLongPtr(w, GWLP_USERDATA, 1234);
  EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
  int value = 5;
  EXPECT_TRUE(SetProp(w, "Owner", &value));
  EXPECT_EQ(GetProp(w, "OWNER"), &value);
  EXPECT_EQ(RemoveProp(w, "owner"), &value);
  EXPECT_EQ(GetProp(w, "Owner"), nullptr);
  EXPECT_EQ(GetWindowLongPtr(w, 64), 0);  // beyond the extra bytes
}

LRESULT CALLBACK_Hook1(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK_Hook2(int code, WPARAM wp, LPARAM lp);
HHOOK gHook1 = nullptr, gHook2 = nullptr;
HWND gRedirect = nullptr;

LRESULT CALLBACK_Hook1(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  gLog.push_back("hook1 " + std::to_string(msg->message - WM_USER));
  return CallNextHookEx(gHook1, code, wp, lp);
}
LRESULT CALLBACK_Hook2(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  gLog.push_back("hook2 " + std::to_string(msg->message - WM_USER));
  if (msg->message == WM_USER + 5 && gRedirect) msg->hwnd = gRedirect;  // retarget, as a menu key hook does
  return CallNextHookEx(gHook2, code, wp, lp);
}

TEST_F(Windows, GetMessageHooksSeeMessagesFirstNewestFirstAndMayRetargetThem) {
  HWND a = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), Logger("a", &gLog));
  HWND b = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER + 5) gLog.push_back("b got 5");
    return DefWindowProc(h, m, wp, lp);
  });
  gRedirect = b;
  gHook1 = SetWindowsHookEx(WH_GETMESSAGE, CALLBACK_Hook1, nullptr, GetCurrentThreadId());
  gHook2 = SetWindowsHookEx(WH_GETMESSAGE, CALLBACK_Hook2, nullptr, GetCurrentThreadId());
  PostMessage(a, WM_USER, 0, 0);
  PostMessage(a, WM_USER + 5, 0, 0);
  Pump();
  EXPECT_EQ(gLog, (std::vector<std::string>{"hook2 0", "hook1 0", "a user", "hook2 5", "hook1 5", "b got 5"}));
  gLog.clear();
  EXPECT_TRUE(UnhookWindowsHookEx(gHook2));
  EXPECT_FALSE(UnhookWindowsHookEx(gHook2));
  PostMessage(a, WM_USER, 0, 0);
  Pump();
  EXPECT_EQ(gLog, (std::vector<std::string>{"hook1 0", "a user"}));
  UnhookWindowsHookEx(gHook1);
}

HHOOK gFilter = nullptr;
LRESULT CALLBACK_Filter(int code, WPARAM, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  gLog.push_back("filter " + std::to_string(code));
  if (msg->message == WM_USER + 1) {
    UnhookWindowsHookEx(gFilter);  // removing itself while running is safe
    return 1;  // handled: the loop skips it
  }
  return 0;
}

TEST_F(Windows, MessageFilterHookDecidesForNestedLoops) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), Logger("w", &gLog));
  gFilter = SetWindowsHookEx(WH_MSGFILTER, CALLBACK_Filter, nullptr, GetCurrentThreadId());
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER, 0, 0);
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!CallMsgFilter(&msg, MSGF_MENU)) DispatchMessage(&msg);
  EXPECT_EQ(gLog, (std::vector<std::string>{"filter 2", "w user", "filter 2", "w user"}));
}

TEST_F(Windows, CallWndProcHookSeesSentMessagesBeforeTheProcedure) {
  static std::vector<std::string>* log = &gLog;
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), Logger("w", &gLog));
  HHOOK hook = SetWindowsHookEx(WH_CALLWNDPROC, [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    if (cwp->message == WM_USER) log->push_back("callwndproc");
    return CallNextHookEx(nullptr, code, wp, lp);
  }, nullptr, 0);
  SendMessage(w, WM_USER, 0, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(gLog, (std::vector<std::string>{"callwndproc", "w user"}));
}

TEST_F(Windows, FocusMovesWithKillAndSetFocusAndActivatesTheTopLevel) {
  std::vector<std::string> log;
  HWND f1 = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(10, 10, 200, 200), Logger("f1", &log));
  HWND e1 = Make(WS_CHILD | WS_VISIBLE | WS_TABSTOP, f1, MakeRect(5, 5, 50, 25), Logger("e1", &log));
  HWND f2 = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(300, 10, 500, 200), Logger("f2", &log));
  HWND e2 = Make(WS_CHILD | WS_VISIBLE, f2, MakeRect(5, 5, 50, 25), Logger("e2", &log));
  EXPECT_EQ(GetActiveWindow(), f2);
  SetFocus(e1);
  log.clear();
  SetFocus(e2);
  EXPECT_EQ(GetFocus(), e2);
  EXPECT_EQ(GetActiveWindow(), f2);
  EXPECT_EQ(log, (std::vector<std::string>{"f1 ncdeactivate", "f1 deactivate", "f2 ncactivate", "f2 activate",
                                           "e1 killfocus", "f2 setfocus", "f2 killfocus", "e2 setfocus"}));
  log.clear();
  DestroyWindow(e2);
  EXPECT_EQ(GetFocus(), nullptr);
  EnableWindow(e1, FALSE);
  EXPECT_EQ(SetFocus(e1), nullptr);
  EXPECT_NE(GetFocus(), e1);
}

TEST_F(Windows, OwnedPopupShownWithoutActivationLeavesTheOwnerActive) {
  std::vector<std::string> log;
  HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), Logger("owner", &log));
  ASSERT_EQ(GetActiveWindow(), owner);
  HWND popup = Make(WS_POPUP | WS_BORDER, owner, MakeRect(150, 150, 250, 250), Logger("popup", &log),
                    WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  log.clear();
  ShowWindow(popup, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(log, std::vector<std::string>{});
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetParent(popup), owner);
  // Owned windows stay above their owner.
  SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(nullptr), popup);
}

TEST_F(Windows, ActivatedPopupCanKeepTheOwnerCaptionActive) {
  std::vector<std::string> log;
  HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), Logger("owner", &log));
  bool ownerCaptionActive = true;
  HWND popup = nullptr;
  // The owner keeps its caption active while its own pop-up is the active window, as
  // drop-down and menu windows need; its pop-up tells it when it goes.
  SetWindowLongPtr(owner, GWLP_USERDATA, 0);
  Handlers()[owner] = [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_NCACTIVATE) {
      bool keep = !wp && GetWindowLongPtr(h, GWLP_USERDATA) != 0;
      ownerCaptionActive = wp || keep;
      log.push_back(std::string("owner nc ") + (ownerCaptionActive ? "on" : "off"));
      return DefWindowProc(h, m, keep ? TRUE : wp, lp);
    }
    return DefWindowProc(h, m, wp, lp);
  };
  popup = Make(WS_POPUP | WS_BORDER, owner, MakeRect(150, 150, 250, 250), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_ACTIVATE) log.push_back(LOWORD(wp) ? "popup active" : "popup inactive");
    return DefWindowProc(h, m, wp, lp);
  });
  SetWindowLongPtr(owner, GWLP_USERDATA, LONG_PTR(popup));
  log.clear();
  ShowWindow(popup, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_TRUE(ownerCaptionActive);
  EXPECT_EQ(log, (std::vector<std::string>{"owner nc on", "popup active"}));
  // Hiding the pop-up gives activation back to the owner.
  ShowWindow(popup, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Windows, ClickOnNoActivatePopupDoesNotActivateIt) {
  HWND owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300));
  int clicks = 0;
  HWND popup = Make(WS_POPUP, owner, MakeRect(500, 500, 600, 600), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (m == WM_LBUTTONDOWN) ++clicks;
    return DefWindowProc(h, m, wp, lp);
  });
  ShowWindow(popup, SW_SHOWNA);
  InputMouseButton(TInputButton::Left, true, WinPoint(550, 550));
  InputMouseButton(TInputButton::Left, false, WinPoint(550, 550));
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Windows, ClickingAnInactiveWindowActivatesItAndDoubleClicksNeedTheClassStyle) {
  std::vector<UINT> got;
  HWND back = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 300), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK || m == WM_LBUTTONUP) got.push_back(m);
    return DefWindowProc(h, m, wp, lp);
  });
  HWND front = Make(WS_OVERLAPPED | WS_VISIBLE, nullptr, MakeRect(400, 0, 600, 300));
  ASSERT_EQ(GetActiveWindow(), front);
  POINT p = WinPoint(100, 100);
  for (int i = 0; i < 2; ++i) {
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
  }
  Pump();
  EXPECT_EQ(GetActiveWindow(), back);
  EXPECT_EQ(got, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  // Too slow for a double click.
  got.clear();
  Backend.Time += 1000;
  InputMouseButton(TInputButton::Left, true, p);
  InputMouseButton(TInputButton::Left, false, p);
  Pump();
  EXPECT_EQ(got, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Windows, MouseGoesToTheDeepestChildInClientCoordinatesOrToTheCapture) {
  std::vector<std::pair<HWND, POINT>> got;
  auto rec = [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_LBUTTONDOWN || m == WM_MOUSEMOVE) got.push_back({h, LParamToPoint(lp)});
    if (m == WM_LBUTTONDOWN) SetCapture(h);
    return DefWindowProc(h, m, wp, lp);
  };
  HWND top = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 400), rec);
  HWND panel = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(10, 10, 210, 210), rec, WS_EX_CLIENTEDGE);
  HWND button = Make(WS_CHILD | WS_VISIBLE, panel, MakeRect(20, 30, 100, 60), rec);
  InputMouseButton(TInputButton::Left, true, WinPoint(100 + 10 + 2 + 25, 100 + 10 + 2 + 35));
  InputMouseMove(WinPoint(50, 60));  // outside every window: the capture still gets it
  Pump();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].first, button);
  EXPECT_EQ(got[0].second, WinPoint(5, 5));
  EXPECT_EQ(got[1].first, button);
  EXPECT_EQ(got[1].second, WinPoint(50 - 132, 60 - 142));
  EXPECT_EQ(WindowFromPoint(WinPoint(137, 147)), button);
  EXPECT_EQ(WindowFromPoint(WinPoint(111, 111)), panel);  // on its client edge
  POINT pt = WinPoint(0, 0);
  MapWindowPoints(button, top, &pt, 1);
  EXPECT_EQ(pt, WinPoint(32, 42));
  EXPECT_EQ(ChildWindowFromPoint(top, WinPoint(15, 15)), panel);
}

TEST_F(Windows, TransparentHitTestPassesTheMouseToTheWindowBelow) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 300));
  HWND below = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(0, 0, 100, 100));
  HWND above = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(0, 0, 100, 100), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProc(h, m, wp, lp);
  });
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(WindowFromPoint(WinPoint(50, 50)), below);
}

TEST_F(Windows, MouseLeaveIsPostedWhenTheTrackedWindowIsLeft) {
  int leaves = 0;
  HWND top = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 300));
  HWND child = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(10, 10, 100, 100), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = h;
      TrackMouseEvent(&tme);
    }
    if (m == WM_MOUSELEAVE) ++leaves;
    return DefWindowProc(h, m, wp, lp);
  });
  (void)child;
  InputMouseMove(WinPoint(50, 50));
  InputMouseMove(WinPoint(60, 60));
  Pump();
  EXPECT_EQ(leaves, 0);
  InputMouseMove(WinPoint(200, 200));
  Pump();
  EXPECT_EQ(leaves, 1);
  InputMouseMove(WinPoint(250, 250));
  Pump();
  EXPECT_EQ(leaves, 1);
}

TEST_F(Windows, SetWindowPosSendsChangingAndChangedWithMoveAndSize) {
  std::vector<std::string> log;
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 100, 100), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      log.push_back("changing");
      pos->cx = std::min(pos->cx, 150);  // a constraint
    }
    if (m == WM_WINDOWPOSCHANGED) log.push_back("changed");
    if (m == WM_SIZE) log.push_back("size " + std::to_string(LOWORD(lp)) + "x" + std::to_string(HIWORD(lp)));
    if (m == WM_MOVE) log.push_back("move " + std::to_string(SHORT(LOWORD(lp))) + "," + std::to_string(SHORT(HIWORD(lp))));
    return DefWindowProc(h, m, wp, lp);
  }, WS_EX_CLIENTEDGE);
  log.clear();
  SetWindowPos(w, nullptr, 10, 20, 300, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "changed", "move 12,22", "size 146x46"}));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, MakeRect(10, 20, 160, 70));
  GetClientRect(w, &r);
  EXPECT_EQ(r, MakeRect(0, 0, 146, 46));
}

TEST_F(Windows, DestroyWindowDestroysChildrenAndOwnedWindowsAndNotifiesInOrder) {
  std::vector<std::string> log;
  auto rec = [&log](const std::string& name) {
    return THandler([&log, name](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m == WM_DESTROY) log.push_back(name + " destroy");
      if (m == WM_NCDESTROY) log.push_back(name + " ncdestroy");
      return DefWindowProc(h, m, wp, lp);
    });
  };
  HWND top = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 300, 300), rec("top"));
  HWND child = Make(WS_CHILD | WS_VISIBLE, top, MakeRect(0, 0, 10, 10), rec("child"));
  HWND owned = Make(WS_POPUP | WS_VISIBLE, top, MakeRect(0, 0, 10, 10), rec("owned"));
  DestroyWindow(top);
  EXPECT_EQ(log, (std::vector<std::string>{"owned destroy", "owned ncdestroy", "top destroy", "child destroy",
                                           "child ncdestroy", "top ncdestroy"}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Windows, AHandleOfADestroyedWindowIsNotGivenToTheNextWindows) {
  // Under the optimiser the allocator hands a freed block straight back: without holding
  // it, a stale handle would turn valid again and name the next window created.
  std::set<HWND> gone;
  for (int round = 0; round < 50; ++round) {
    HWND top = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), nullptr);
    HWND child = Make(WS_CHILD, top, MakeRect(0, 0, 5, 5), nullptr);
    DestroyWindow(top);
    gone.insert(top);
    gone.insert(child);
    HWND next = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), nullptr);
    EXPECT_EQ(gone.count(next), 0u) << "round " << round;
    for (HWND old : gone) EXPECT_FALSE(IsWindow(old));
    DestroyWindow(next);
    gone.insert(next);
  }
}

TEST_F(Windows, CreationCanBeRefusedAndUnknownClassesFail) {
  HWND refused = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_CREATE) return -1;
    return DefWindowProc(h, m, wp, lp);
  });
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_EQ(CreateWindowEx(0, "TestWnd", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  WNDCLASS wc;
  wc.lpszClassName = "testwnd";
  EXPECT_EQ(RegisterClass(&wc), 0);  // names are not case sensitive
}

TEST_F(Windows, TextAndClassName) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), nullptr, 0, "Пересчет");
  EXPECT_EQ(GetWindowTextStr(w), "Пересчет");
  SetWindowText(w, "abc");
  char buf[3];
  EXPECT_EQ(GetWindowText(w, buf, 3), 2);
  EXPECT_STREQ(buf, "ab");
  EXPECT_EQ(GetClassNameStr(w), "TestWnd");
}

TEST_F(Windows, InvalidatedWindowsGetOnePaintWithEraseAndClip) {
  int paints = 0, erases = 0;
  RECT painted{};
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 200, 100), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_ERASEBKGND) ++erases;
    if (m == WM_PAINT) {
      ++paints;
      PAINTSTRUCT ps;
      BeginPaint(h, &ps);
      painted = ps.rcPaint;
      EndPaint(h, &ps);
      return 0;
    }
    return DefWindowProc(h, m, wp, lp);
  });
  Pump();
  paints = erases = 0;
  RECT a = MakeRect(10, 10, 20, 20), b = MakeRect(30, 5, 40, 15);
  InvalidateRect(w, &a, TRUE);
  InvalidateRect(w, &b, FALSE);
  Pump();
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(erases, 1);
  EXPECT_EQ(painted, MakeRect(10, 5, 40, 20));
  // Hidden windows are not painted; a window that ignores WM_PAINT does not loop.
  HWND lazy = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 50, 50), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_PAINT) return 0;
    return DefWindowProc(h, m, wp, lp);
  });
  InvalidateRect(lazy, nullptr, TRUE);
  Pump();
  RECT r;
  EXPECT_FALSE(GetUpdateRect(lazy, &r, FALSE));
}

TEST_F(Windows, ScrollBarClicksSendScrollMessages) {
  std::vector<int> codes;
  HWND w = Make(WS_POPUP | WS_VISIBLE | WS_VSCROLL, nullptr, MakeRect(0, 0, 200, 200), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_VSCROLL) codes.push_back(LOWORD(wp));
    return DefWindowProc(h, m, wp, lp);
  });
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 0;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  auto click = [](POINT p) {
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
  };
  click(WinPoint(190, 195));  // down arrow
  click(WinPoint(190, 150));  // page down area
  Pump();
  EXPECT_EQ(codes, (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEDOWN, SB_ENDSCROLL}));
  // Out of range positions are clamped to the last page.
  si.fMask = SIF_POS;
  si.nPos = 500;
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, FALSE), 90);
}

TEST_F(Windows, CaptionCloseButtonClosesTheWindow) {
  bool closed = false;
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, MakeRect(100, 100, 400, 300), [&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_CLOSE) closed = true;
    return DefWindowProc(h, m, wp, lp);
  });
  RECT wr;
  GetWindowRect(w, &wr);
  // The close button sits at the right end of the caption.
  POINT p = WinPoint(wr.right - 4 - 8, wr.top + 4 + 9);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(p)), HTCLOSE);
  InputMouseButton(TInputButton::Left, true, p);
  InputMouseButton(TInputButton::Left, false, p);
  Pump();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace
