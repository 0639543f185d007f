#pragma once
// Test support: a tiny back end with a hand-moved clock and windows whose procedure is a
// lambda per window, recording what they receive.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Backend.h"
#include "platform/win/WinUser.h"

class TTestBackend : public TBackend {
public:
  unsigned long long Time = 1000;
  std::vector<std::function<void()>> Steps;  // one runs per wait
  unsigned long long Now() override { return Time; }
  void Wait(bool, unsigned long long) override {
    if (Steps.empty()) throw EMessageLoopStalled("stalled");
    auto step = Steps.front();
    Steps.erase(Steps.begin());
    step();
  }
  void Sleep(unsigned long ms) override { Time += ms; }
};

using THandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

class WinTest : public ::testing::Test {
protected:
  static std::map<HWND, THandler>& Handlers() {
    static std::map<HWND, THandler> h;
    return h;
  }
  static THandler& Pending() {
    static THandler p;
    return p;
  }
  static LRESULT CALLBACK_Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    auto it = Handlers().find(h);
    if (it == Handlers().end() && Pending()) {
      Handlers()[h] = Pending();
      it = Handlers().find(h);
    }
    if (m == WM_NCDESTROY && it != Handlers().end()) {
      // The window's last message: its handler is forgotten, for a window made later may be
      // given the same handle and must not inherit it.
      THandler last = std::move(it->second);
      Handlers().erase(it);
      return last ? last(h, m, w, l) : DefWindowProc(h, m, w, l);
    }
    if (it != Handlers().end() && it->second) return it->second(h, m, w, l);
    return DefWindowProc(h, m, w, l);
  }

  void SetUp() override {
    ResetWindowSystem();
    SetBackend(&Backend);
    WNDCLASS wc;
    wc.lpfnWndProc = &WinTest::CALLBACK_Proc;
    wc.lpszClassName = "TestWnd";
    wc.style = CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    for (auto& [h, f] : Handlers()) f = nullptr;  // handlers may refer to the test's locals
    ResetWindowSystem();
    Handlers().clear();
    Pending() = nullptr;
    SetBackend(nullptr);
  }

  // A window whose procedure is `handler` (nullptr: default behaviour only).
  HWND Make(DWORD style, HWND parent, RECT r, THandler handler = nullptr, DWORD exStyle = 0,
            const char* text = "") {
    Pending() = handler ? handler : [](HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProc(h, m, w, l); };
    HWND h = CreateWindowEx(exStyle, "TestWnd", text, style, r.left, r.top, RectWidth(r), RectHeight(r), parent,
                            nullptr, nullptr, nullptr);
    Pending() = nullptr;
    return h;
  }

  void Pump() { ProcessPendingMessages(); }

  TTestBackend Backend;
};
