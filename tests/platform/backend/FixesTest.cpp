// The display back end delivers input to loops that poll instead of waiting
// (ProcessMessages). Needs a display; skipped without one.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "platform/backend/SdlBackend.h"

namespace {

std::vector<WPARAM> gKeys;

LRESULT KeyProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_KEYDOWN) gKeys.push_back(wp);
  return DefWindowProc(h, m, wp, lp);
}

TEST(SdlPoll, PollingLoopReceivesInputThatArrivedMeanwhile) {
  std::unique_ptr<TSdlBackend> display;
  try {
    display = std::make_unique<TSdlBackend>();
  } catch (const ESdlError& e) {
    GTEST_SKIP() << "no display: " << e.what();
  }
  TSdlBackendScope use(*display);
  ResetWindowSystem();
  WNDCLASS wc;
  wc.lpfnWndProc = &KeyProc;
  wc.lpszClassName = "SdlPollTest";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND w = CreateWindowEx(0, "SdlPollTest", "poll", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 120,
                          nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  SetFocus(w);
  ProcessPendingMessages();
  gKeys.clear();

  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = SDL_GetWindowID(display->WindowOf(w));
  e.key.state = SDL_PRESSED;
  e.key.keysym.scancode = SDL_SCANCODE_B;
  e.key.keysym.sym = SDLK_b;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  // Only polling: nothing here waits for messages.
  unsigned long long start = display->Now();
  while (gKeys.empty() && display->Now() - start < 2000) {
    ProcessPendingMessages();
    SDL_Delay(1);
  }
  EXPECT_EQ(gKeys, (std::vector<WPARAM>{WPARAM('B')}));
  e.type = SDL_KEYUP;
  e.key.state = SDL_RELEASED;
  SDL_PushEvent(&e);
  ResetWindowSystem();
}

}  // namespace
