// The display back end gives a layered window its alpha as the window's opacity and a
// window region as its shape. Needs an X display; skipped without one.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "platform/backend/SdlBackend.h"
#include "platform/gdi/Regions.h"
#include "platform/win/LayeredWindow.h"

namespace {

class SdlLayered : public ::testing::Test {
protected:
  void SetUp() override {
    try {
      Sdl = std::make_unique<TSdlBackend>();
    } catch (const ESdlError& e) {
      GTEST_SKIP() << "no display: " << e.what();
    }
    Use = std::make_unique<TSdlBackendScope>(*Sdl);
    ResetWindowSystem();
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "SdlLayered";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    if (!Sdl) return;
    ResetWindowSystem();
    Use.reset();
    Sdl.reset();
  }
  float Opacity(HWND h) {
    ProcessPendingMessages();
    Sdl->Present();
    float opacity = -1;
    SDL_GetWindowOpacity(Sdl->WindowOf(h), &opacity);
    return opacity;
  }
  std::unique_ptr<TSdlBackend> Sdl;
  std::unique_ptr<TSdlBackendScope> Use;
};

}  // namespace

// Without a compositing manager the window stays opaque on the screen, but keeps the
// opacity it was given.
TEST_F(SdlLayered, AlphaBecomesTheWindowsOpacity) {
  HWND w = CreateWindowEx(WS_EX_LAYERED, "SdlLayered", "layered", WS_POPUP | WS_VISIBLE, 20, 20, 120, 80, nullptr,
                          nullptr, nullptr, nullptr);
  ASSERT_NE(Sdl->WindowOf(w), nullptr);
  EXPECT_FLOAT_EQ(Opacity(w), 1.0f);
  ASSERT_TRUE(SetLayeredWindowAttributes(w, 0, 128, LWA_ALPHA));
  EXPECT_NEAR(Opacity(w), 128 / 255.0f, 0.01f);
  SetWindowLongPtr(w, GWL_EXSTYLE, 0);
  EXPECT_FLOAT_EQ(Opacity(w), 1.0f);
  // A region freed with its window while shown takes the display window with it.
  SetWindowRgn(w, CreateEllipticRgn(0, 0, 120, 80), TRUE);
  Opacity(w);
  SDL_Window* shown = Sdl->WindowOf(w);
  ASSERT_NE(shown, nullptr);
  DestroyWindow(w);
  EXPECT_EQ(Sdl->WindowOf(w), nullptr);
}
