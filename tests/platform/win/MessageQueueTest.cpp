#include "WinTestSupport.h"

#include "platform/win/WinInternal.h"

#include <algorithm>
#include <random>

namespace {

std::vector<std::string> gLog;

void Log(const std::string& s) { gLog.push_back(s); }

class MessageQueue : public WinTest {
protected:
  void SetUp() override {
    WinTest::SetUp();
    gLog.clear();
  }
};

TEST_F(MessageQueue, SentRunsNowPostedRunsAfterTheHandlerInPostingOrder) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER + 1) {
      Log("1 begin");
      PostMessage(h, WM_USER + 2, 0, 0);
      PostMessage(h, WM_USER + 4, 0, 0);
      LRESULT r = SendMessage(h, WM_USER + 3, 5, 0);
      Log("3 returned " + std::to_string(r));
      Log("1 end");
      return 0;
    }
    if (m >= WM_USER + 2 && m <= WM_USER + 4) {
      Log(std::to_string(m - WM_USER));
      return LRESULT(wp * 2);
    }
    return DefWindowProc(h, m, wp, lp);
  });
  ASSERT_TRUE(w);
  PostMessage(w, WM_USER + 1, 0, 0);
  Pump();
  EXPECT_EQ(gLog, (std::vector<std::string>{"1 begin", "3", "3 returned 10", "1 end", "2", "4"}));
}

TEST_F(MessageQueue, PostedMessagesComeBeforeInputAndPaintAndTimers) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 50, 50), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_PAINT) Log("paint");
    if (m == WM_TIMER) Log("timer");
    if (m == WM_USER) Log("posted");
    if (m == WM_MOUSEMOVE) Log("input");
    return DefWindowProc(h, m, wp, lp);
  });
  Pump();
  gLog.clear();
  SetTimer(w, 1, 100, nullptr);
  Backend.Time += 100;
  InvalidateRect(w, nullptr, TRUE);
  InputMouseMove(WinPoint(10, 10));
  PostMessage(w, WM_USER, 0, 0);
  MSG m;
  std::vector<UINT> order;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(m.message);
    DispatchMessage(&m);
    if (m.message == WM_TIMER) break;
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueue, NestedLoopEndsWhenCaptureIsLostAndLeavesLaterMessages) {
  HWND other = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [other](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    switch (m) {
      case WM_LBUTTONDOWN: {
        SetCapture(h);
        Log("loop begin");
        while (GetCapture() == h) {
          MSG msg;
          if (!GetMessage(&msg, nullptr, 0, 0)) break;
          DispatchMessage(&msg);
        }
        Log("loop end");
        return 0;
      }
      case WM_CAPTURECHANGED: Log(lp == LPARAM(other) ? "capture to other" : "capture changed"); return 0;
      case WM_USER: Log("tick"); return 0;
      case WM_USER + 1: SetCapture(other); return 0;  // someone else takes the mouse
      case WM_USER + 2: Log("after"); return 0;
    }
    return DefWindowProc(h, m, wp, lp);
  });
  PostMessage(w, WM_LBUTTONDOWN, 0, 0);
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  DispatchMessage(&msg);
  EXPECT_EQ(gLog, (std::vector<std::string>{"loop begin", "tick", "capture to other", "loop end"}));
  EXPECT_EQ(GetCapture(), other);
  Pump();
  EXPECT_EQ(gLog.back(), "after");
}

TEST_F(MessageQueue, QuitReadByANestedLoopIsPostedAgainForTheOuterLoop) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) {
      // A modal loop: runs until it reads the quit message.
      for (;;) {
        MSG msg;
        if (!GetMessage(&msg, nullptr, 0, 0)) {
          Log("nested saw quit " + std::to_string(msg.wParam));
          PostQuitMessage(int(msg.wParam));
          break;
        }
        DispatchMessage(&msg);
      }
      return 0;
    }
    if (m == WM_USER + 1) {
      PostQuitMessage(7);
      return 0;
    }
    return DefWindowProc(h, m, wp, lp);
  });
  PostMessage(w, WM_USER, 0, 0);
  PostMessage(w, WM_USER + 1, 0, 0);
  MSG msg;
  int dispatched = 0;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    DispatchMessage(&msg);
    ++dispatched;
  }
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(gLog, (std::vector<std::string>{"nested saw quit 7"}));
}

TEST_F(MessageQueue, QuitWaitsForPostedMessages) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10), [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) Log("posted");
    return DefWindowProc(h, m, wp, lp);
  });
  PostQuitMessage(0);
  PostMessage(w, WM_USER, 0, 0);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  EXPECT_EQ(gLog, (std::vector<std::string>{"posted"}));
}

TEST_F(MessageQueue, AnIdleLoopWithNothingToComeRaisesInsteadOfHanging) {
  MSG msg;
  EXPECT_THROW(GetMessage(&msg, nullptr, 0, 0), EMessageLoopStalled);
}

TEST_F(MessageQueue, WaitingLoopGetsWhatTheBackEndDelivers) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  Backend.Steps.push_back([w] { PostMessage(w, WM_USER + 9, 3, 4); });
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, w);
  EXPECT_EQ(msg.message, WM_USER + 9);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueue, FiltersSelectByWindowAndRange) {
  HWND a = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  HWND b = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  PostMessage(a, WM_USER + 1, 0, 0);
  PostMessage(b, WM_USER + 2, 0, 0);
  PostMessage(a, WM_USER + 3, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 3, WM_USER + 3, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 3);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
}

TEST_F(MessageQueue, RegisteredMessagesAreSharedByNameCaseInsensitively) {
  UINT a = RegisterWindowMessage("GridEditDone");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("GRIDEDITDONE"), a);
  EXPECT_NE(RegisterWindowMessage("DTPShiftFocus"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(MessageQueue, DestroyingAWindowDropsItsPostedMessagesAndTimers) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  PostMessage(w, WM_USER, 0, 0);
  SetTimer(w, 1, 10, nullptr);
  DestroyWindow(w);
  EXPECT_FALSE(IsWindow(w));
  Backend.Time += 50;
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PostMessage(w, WM_USER, 0, 0));
  EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
}

TEST_F(MessageQueue, TimersFireByDueTimeThenCreationAndResettingMovesThem) {
  HWND a = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  HWND b = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  SetTimer(b, 7, 30, nullptr);
  SetTimer(a, 2, 20, nullptr);
  SetTimer(a, 1, 20, nullptr);  // same due time, made later: fires after a/2
  SetTimer(b, 8, 50, nullptr);
  SetTimer(a, 3, 40, nullptr);
  SetTimer(a, 2, 60, nullptr);  // set again: now due last
  UINT_PTR t1 = SetTimer(nullptr, 0, 25, nullptr), t2 = SetTimer(nullptr, 0, 25, nullptr);
  EXPECT_EQ(t2, t1 + 1) << "thread timers get fresh ids";
  EXPECT_EQ(SetTimer(nullptr, t1, 45, nullptr), t1) << "naming an existing thread timer resets it";
  EXPECT_TRUE(KillTimer(b, 8));
  EXPECT_FALSE(KillTimer(b, 8));
  EXPECT_FALSE(KillTimer(a, 7)) << "ids belong to their window";
  Backend.Time += 100;
  std::vector<std::string> order;
  MSG msg;
  while (order.size() < 6 && PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
    order.push_back((msg.hwnd == a ? "a" : msg.hwnd == b ? "b" : "t") +
                    std::to_string(msg.hwnd ? msg.wParam : msg.wParam - t1 + 1));
  EXPECT_EQ(order, (std::vector<std::string>{"a1", "t2", "b7", "a3", "t1", "a2"}));
  // Each fetch rescheduled its timer from now; a window filter picks that window's timers.
  Backend.Time += 100;
  ASSERT_TRUE(PeekMessage(&msg, b, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  DestroyWindow(a);
  int left = 0;
  while (PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) && left < 10) {
    EXPECT_NE(msg.hwnd, a);
    ++left;
  }
  EXPECT_EQ(left, 2) << "the two thread timers; b's was fetched, a's went with it";
}

// The set numbers timers in the order they were set with 32-bit numbers; when those run out
// the live timers are numbered again, and equal due times still fire in the order of setting.
TEST_F(MessageQueue, TimersKeepTheirOrderWhenTheNumberingRunsOut) {
  HWND w = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  for (UINT_PTR id : {5, 3, 9}) SetTimer(w, id, 20, nullptr);
  winsys::S().Timers.SkipOrders(0xFFFFFFFFu);
  for (UINT_PTR id : {1, 7}) SetTimer(w, id, 20, nullptr);
  SetTimer(w, 3, 20, nullptr);  // set again: now the last of the six
  SetTimer(w, 4, 20, nullptr);
  Backend.Time += 20;
  std::vector<UINT_PTR> order;
  MSG msg;
  while (order.size() < 10 && PeekMessage(&msg, w, WM_TIMER, WM_TIMER, PM_REMOVE)) order.push_back(msg.wParam);
  EXPECT_EQ(order, (std::vector<UINT_PTR>{5, 9, 1, 7, 3, 4}));
}

// Many timers set, reset, killed and fetched in a random order, with window, child and
// thread-only filters and windows destroyed on the way, fire exactly as a plain list kept
// beside them says: earliest due first, then earliest set.
TEST_F(MessageQueue, TimersFollowAPlainListUnderRandomUse) {
  struct TRef {
    HWND Wnd;
    UINT_PTR Id;
    UINT Interval;
    unsigned long long Due, Seq;
  };
  std::vector<TRef> ref;
  unsigned long long seq = 0;
  HWND top = Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10));
  std::vector<HWND> wnds = {nullptr, top, Make(WS_CHILD, top, MakeRect(0, 0, 5, 5)),
                            Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10)), Make(WS_POPUP, nullptr, MakeRect(0, 0, 10, 10))};
  auto find = [&](HWND w, UINT_PTR id) {
    return std::find_if(ref.begin(), ref.end(), [&](const TRef& r) { return r.Wnd == w && r.Id == id; });
  };
  std::mt19937 rng(7);
  auto pick = [&](int n) { return int(rng() % unsigned(n)); };
  for (int step = 0; step < 4000; ++step) {
    int op = pick(10);
    HWND w = wnds[std::size_t(pick(int(wnds.size())))];
    if (op < 4) {
      UINT_PTR id = UINT_PTR(pick(40));
      UINT interval = UINT(pick(60));
      if (!w) {
        bool named = id && find(nullptr, id) != ref.end();
        if (!named) {
          UINT_PTR maxId = 0x7FFF;
          for (const TRef& r : ref)
            if (!r.Wnd) maxId = std::max(maxId, r.Id);
          id = maxId + 1;
        }
        if (pick(3) == 0 && !ref.empty() && !ref.back().Wnd) id = ref.back().Id;  // reset a fresh one too
      }
      UINT_PTR got = SetTimer(w, id, interval, nullptr);
      ASSERT_EQ(got, w ? (id ? id : 1) : id) << "step " << step;
      TRef r{w, id, std::max<UINT>(interval, 10), Backend.Time + std::max<UINT>(interval, 10), ++seq};
      auto it = find(w, id);
      if (it != ref.end()) *it = r;
      else ref.push_back(r);
    } else if (op == 4) {
      UINT_PTR id = UINT_PTR(w ? pick(40) : 0x8000 + pick(20));
      auto it = find(w, id);
      ASSERT_EQ(KillTimer(w, id) == TRUE, it != ref.end()) << "step " << step;
      if (it != ref.end()) ref.erase(it);
    } else if (op == 5) {
      Backend.Time += unsigned(pick(25));
    } else if (op == 6 && w && w != top && pick(20) == 0) {
      DestroyWindow(w);
      ref.erase(std::remove_if(ref.begin(), ref.end(), [&](const TRef& r) { return r.Wnd == w; }), ref.end());
      wnds.erase(std::find(wnds.begin(), wnds.end(), w));
    } else {
      // Fetch, through no filter, a window (its child's timers count), or thread timers only.
      HWND filter = op == 9 ? reinterpret_cast<HWND>(-1) : (op == 8 ? w : nullptr);
      auto matches = [&](const TRef& r) {
        if (filter == reinterpret_cast<HWND>(-1)) return r.Wnd == nullptr;
        return !filter || r.Wnd == filter || (r.Wnd && IsChild(filter, r.Wnd));
      };
      TRef* expect = nullptr;
      for (TRef& r : ref)
        if (r.Due <= Backend.Time && matches(r) &&
            (!expect || r.Due < expect->Due || (r.Due == expect->Due && r.Seq < expect->Seq)))
          expect = &r;
      MSG msg;
      bool remove = pick(4) != 0;
      bool got = PeekMessage(&msg, filter, WM_TIMER, WM_TIMER, remove ? PM_REMOVE : PM_NOREMOVE);
      ASSERT_EQ(got, expect != nullptr) << "step " << step;
      if (!got) continue;
      ASSERT_EQ(msg.hwnd, expect->Wnd) << "step " << step;
      ASSERT_EQ(msg.wParam, expect->Id) << "step " << step;
      if (remove) expect->Due = Backend.Time + expect->Interval;
    }
  }
}

TEST_F(MessageQueue, TranslateMessageTurnsKeysIntoCharacters) {
  std::vector<std::pair<UINT, WPARAM>> got;
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 10, 10), [&got](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_KEYDOWN || m == WM_CHAR || m == WM_KEYUP) got.push_back({m, wp});
    return DefWindowProc(h, m, wp, lp);
  });
  SetFocus(w);
  InputKey(VK_SHIFT, true);
  InputKey('A', true);
  InputKey('A', false);
  InputKey(VK_SHIFT, false);
  InputKey('1', true);
  InputKey('1', false);
  InputKey(VK_RETURN, true);
  InputKey(VK_RETURN, false);
  InputChar(U'ж');
  Pump();
  std::vector<std::pair<UINT, WPARAM>> expected = {
      {WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, 'A'},   {WM_KEYUP, VK_SHIFT},
      {WM_KEYDOWN, '1'},      {WM_CHAR, '1'},    {WM_KEYUP, '1'}, {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, '\r'},
      {WM_KEYUP, VK_RETURN},  {WM_KEYDOWN, VK_PACKET}, {WM_CHAR, U'ж'}, {WM_KEYUP, VK_PACKET}};
  EXPECT_EQ(got, expected);
}

TEST_F(MessageQueue, KeyStateFollowsRetrievalAsyncStateFollowsInput) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, nullptr, MakeRect(0, 0, 10, 10));
  SetFocus(w);
  InputKey(VK_CONTROL, true);
  EXPECT_TRUE(GetAsyncKeyState(VK_CONTROL) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
  Pump();
  EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
  EXPECT_TRUE(GetKeyState(VK_LCONTROL) & 0x8000);
  InputKey(VK_CONTROL, false);
  Pump();
  EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
  // Caps lock toggles.
  InputKey(VK_CAPITAL, true);
  InputKey(VK_CAPITAL, false);
  Pump();
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
}

}  // namespace
