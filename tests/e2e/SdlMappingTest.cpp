// The display back end's translations that need no display: keys to virtual-key codes,
// hit-test codes to the window manager's actions, cursor shapes; and a clear error when
// there is no display to open.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/backend/SdlBackend.h"

TEST(SdlKeys, MapToVirtualKeys) {
  struct TCase {
    int Scancode, Keycode;
    bool NumLock;
    int Vk;
  } cases[] = {
      {SDL_SCANCODE_A, 'a', false, 'A'},
      {SDL_SCANCODE_Q, 'a', false, 'A'},                 // AZERTY: the letter on the key counts
      {SDL_SCANCODE_F, 0x0430, false, 'F'},              // Cyrillic layout: the key's Latin letter
      {SDL_SCANCODE_1, '1', false, '1'},
      {SDL_SCANCODE_0, '0', false, '0'},
      {SDL_SCANCODE_F4, SDLK_F4, false, VK_F4},
      {SDL_SCANCODE_F13, SDLK_F13, false, 0x7C},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, false, VK_RETURN},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, false, VK_RETURN},
      {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, false, VK_BACK},
      {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, false, VK_PRIOR},
      {SDL_SCANCODE_KP_7, SDLK_KP_7, true, VK_NUMPAD7},
      {SDL_SCANCODE_KP_7, SDLK_KP_7, false, VK_HOME},   // Num Lock off: navigation
      {SDL_SCANCODE_KP_0, SDLK_KP_0, false, VK_INSERT},
      {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true, VK_DECIMAL},
      {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, VK_DELETE},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, false, VK_SHIFT},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, false, VK_CONTROL},
      {SDL_SCANCODE_LALT, SDLK_LALT, false, VK_MENU},
      {SDL_SCANCODE_SEMICOLON, ';', false, VK_OEM_1},
      {SDL_SCANCODE_GRAVE, '`', false, VK_OEM_3},
      {SDL_SCANCODE_UNKNOWN, 0, false, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SdlKeyToVk(c.Scancode, c.Keycode, c.NumLock), c.Vk)
        << "scancode " << c.Scancode << " keycode " << c.Keycode << " numlock " << c.NumLock;
}

TEST(SdlHitTest, CaptionDragsBordersResizeOnlySizableWindows) {
  EXPECT_EQ(SdlHitTestResultFor(HTCAPTION, false), SDL_HITTEST_DRAGGABLE);
  EXPECT_EQ(SdlHitTestResultFor(HTBOTTOMRIGHT, true), SDL_HITTEST_RESIZE_BOTTOMRIGHT);
  EXPECT_EQ(SdlHitTestResultFor(HTGROWBOX, true), SDL_HITTEST_RESIZE_BOTTOMRIGHT);
  EXPECT_EQ(SdlHitTestResultFor(HTLEFT, true), SDL_HITTEST_RESIZE_LEFT);
  EXPECT_EQ(SdlHitTestResultFor(HTTOP, true), SDL_HITTEST_RESIZE_TOP);
  EXPECT_EQ(SdlHitTestResultFor(HTLEFT, false), SDL_HITTEST_NORMAL);  // fixed frame
  // Everything the layer handles itself stays an ordinary press.
  for (int hit : {HTCLIENT, HTCLOSE, HTMINBUTTON, HTMAXBUTTON, HTSYSMENU, HTMENU, HTVSCROLL, HTNOWHERE})
    EXPECT_EQ(SdlHitTestResultFor(hit, true), SDL_HITTEST_NORMAL) << hit;
}

TEST(SdlCursors, SystemCursorsMapToShapes) {
  EXPECT_EQ(SdlSystemCursorFor(OCR_IBEAM), SDL_SYSTEM_CURSOR_IBEAM);
  EXPECT_EQ(SdlSystemCursorFor(OCR_SIZEWE), SDL_SYSTEM_CURSOR_SIZEWE);
  EXPECT_EQ(SdlSystemCursorFor(OCR_HAND), SDL_SYSTEM_CURSOR_HAND);
  EXPECT_EQ(SdlSystemCursorFor(OCR_APPSTARTING), SDL_SYSTEM_CURSOR_WAITARROW);
  EXPECT_EQ(SdlSystemCursorFor(0), SDL_SYSTEM_CURSOR_ARROW);  // custom cursors
}

TEST(SdlBackend, NoDisplayIsAClearError) {
  std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  setenv("DISPLAY", ":65000", 1);  // nothing listens there
  setenv("SDL_VIDEODRIVER", "x11", 1);
  try {
    TSdlBackend backend;
    ADD_FAILURE() << "a display that does not exist was opened";
  } catch (const ESdlError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot open the display"), std::string::npos) << e.what();
  }
  if (display.empty()) unsetenv("DISPLAY");
  else setenv("DISPLAY", display.c_str(), 1);
}
