#pragma once
// The test robot: mouse and keyboard input through the same entry the display back end
// uses (raw events → hit testing, capture, focus → window messages). Every action
// processes the queue afterwards, so its effects are visible when it returns. Positions
// are client coordinates of a window, or screen coordinates with the window nullptr.
#include <string>

#include "platform/win/Backend.h"

enum TRobotShift : unsigned {
  rsNone = 0,
  rsShift = 1,
  rsCtrl = 2,
  rsAlt = 4,
};
inline TRobotShift operator|(TRobotShift a, TRobotShift b) { return TRobotShift(unsigned(a) | unsigned(b)); }

class TRobot {
public:
  // Screen point of a client point of hwnd (hwnd nullptr: the point is on the screen).
  static POINT ScreenPoint(HWND hwnd, POINT p);

  void MoveTo(HWND hwnd, int x, int y);
  void MouseDown(HWND hwnd, int x, int y, TInputButton button = TInputButton::Left, TRobotShift shift = rsNone);
  void MouseUp(HWND hwnd, int x, int y, TInputButton button = TInputButton::Left, TRobotShift shift = rsNone);
  // Move, press and release queued together, then processed (a loop started by the
  // press sees the release).
  void Click(HWND hwnd, int x, int y, TInputButton button = TInputButton::Left, TRobotShift shift = rsNone);
  void DoubleClick(HWND hwnd, int x, int y, TRobotShift shift = rsNone);
  // Press at from, move in `steps` steps to to, release there; queued together.
  void Drag(HWND hwnd, POINT from, POINT to, int steps = 4, TInputButton button = TInputButton::Left);
  // Wheel notches (positive: away from the user) at a point.
  void Wheel(HWND hwnd, int x, int y, int notches);

  void KeyDown(int vk, TRobotShift shift = rsNone);
  void KeyUp(int vk, TRobotShift shift = rsNone);
  void PressKey(int vk, TRobotShift shift = rsNone);
  // Types UTF-8 text: keys of a US layout where they exist, otherwise characters without
  // a key (the input method path).
  void Type(const std::string& utf8);

  // Queue only, no processing (for building a sequence inside a step).
  bool AutoProcess = true;

private:
  void Modifiers(TRobotShift shift, bool down);
  void Done();
};
