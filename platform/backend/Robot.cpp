#include "platform/backend/Robot.h"

#include "platform/backend/Headless.h"
#include "platform/rtl/CodePage.h"

POINT TRobot::ScreenPoint(HWND hwnd, POINT p) {
  if (hwnd) ClientToScreen(hwnd, &p);
  return p;
}

void TRobot::Done() {
  // Inside a scripted step the waiting loop takes the input itself.
  if (AutoProcess && !Headless().InStep()) ProcessPendingMessages();
}

void TRobot::Modifiers(TRobotShift shift, bool down) {
  if (shift & rsShift) InputKey(VK_SHIFT, down);
  if (shift & rsCtrl) InputKey(VK_CONTROL, down);
  if (shift & rsAlt) InputKey(VK_MENU, down);
}

void TRobot::MoveTo(HWND hwnd, int x, int y) {
  InputMouseMove(ScreenPoint(hwnd, POINT{x, y}));
  Done();
}

void TRobot::MouseDown(HWND hwnd, int x, int y, TInputButton button, TRobotShift shift) {
  POINT p = ScreenPoint(hwnd, POINT{x, y});
  Modifiers(shift, true);
  InputMouseMove(p);
  InputMouseButton(button, true, p);
  Done();
}

void TRobot::MouseUp(HWND hwnd, int x, int y, TInputButton button, TRobotShift shift) {
  POINT p = ScreenPoint(hwnd, POINT{x, y});
  InputMouseMove(p);
  InputMouseButton(button, false, p);
  Modifiers(shift, false);
  Done();
}

void TRobot::Click(HWND hwnd, int x, int y, TInputButton button, TRobotShift shift) {
  POINT p = ScreenPoint(hwnd, POINT{x, y});
  Modifiers(shift, true);
  InputMouseMove(p);
  InputMouseButton(button, true, p);
  InputMouseButton(button, false, p);
  Modifiers(shift, false);
  Done();
}

void TRobot::DoubleClick(HWND hwnd, int x, int y, TRobotShift shift) {
  POINT p = ScreenPoint(hwnd, POINT{x, y});
  Modifiers(shift, true);
  InputMouseMove(p);
  for (int i = 0; i < 2; ++i) {
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
  }
  Modifiers(shift, false);
  Done();
}

void TRobot::Drag(HWND hwnd, POINT from, POINT to, int steps, TInputButton button) {
  POINT a = ScreenPoint(hwnd, from), b = ScreenPoint(hwnd, to);
  InputMouseMove(a);
  InputMouseButton(button, true, a);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i)
    InputMouseMove(POINT{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps});
  InputMouseButton(button, false, b);
  Done();
}

void TRobot::Wheel(HWND hwnd, int x, int y, int notches) {
  POINT p = ScreenPoint(hwnd, POINT{x, y});
  InputMouseMove(p);
  InputMouseWheel(notches * WHEEL_DELTA, p);
  Done();
}

void TRobot::KeyDown(int vk, TRobotShift shift) {
  Modifiers(shift, true);
  InputKey(vk, true);
  Done();
}

void TRobot::KeyUp(int vk, TRobotShift shift) {
  InputKey(vk, false);
  Modifiers(shift, false);
  Done();
}

void TRobot::PressKey(int vk, TRobotShift shift) {
  Modifiers(shift, true);
  InputKey(vk, true);
  InputKey(vk, false);
  Modifiers(shift, false);
  Done();
}

void TRobot::Type(const std::string& utf8) {
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = Utf8Next(utf8, pos);
    SHORT scan = cp < 0x80 ? VkKeyScan(char(cp)) : SHORT(-1);
    if (cp == '\n') scan = VK_RETURN;
    if (scan != -1) {
      int vk = scan & 0xFF;
      bool shift = scan & 0x100;
      if (shift) InputKey(VK_SHIFT, true);
      InputKey(vk, true, cp == '\n' ? U'\r' : cp);
      InputKey(vk, false);
      if (shift) InputKey(VK_SHIFT, false);
    } else {
      InputChar(cp);
    }
  }
  Done();
}
