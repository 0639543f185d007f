#pragma once
// The nested loop behind every mouse tracking of the default window procedure (caption
// buttons, scroll bars, moving and sizing): the window holds the capture while the left
// button is down, and the loop hands each pointer move to the caller.
#include "platform/win/WinInternal.h"

namespace winsys {

// Runs until the left button is released, Escape is pressed or the capture is lost;
// onMove gets every mouse move (screen point). Returns true when ended by the release,
// with the release point; *escaped (when given) tells whether Escape ended it. A quit
// message read inside is posted again for the outer loop.
template <class F>
bool TrackLoop(HWND h, int filterCode, F onMove, POINT* releasePt, bool* escaped = nullptr) {
  SetCapture(h);
  bool released = false;
  if (escaped) *escaped = false;
  while (Valid(h) && GetCapture() == h) {
    MSG m;
    if (!GetMessage(&m, nullptr, 0, 0)) {
      PostQuitMessage(int(m.wParam));  // the outer loop must see it too
      break;
    }
    if (CallMsgFilter(&m, filterCode)) continue;
    if (m.hwnd == h && (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP)) {
      POINT p = LParamToPoint(m.lParam);
      ClientToScreen(h, &p);
      if (m.message == WM_MOUSEMOVE) {
        onMove(p);
        continue;
      }
      *releasePt = p;
      released = true;
      break;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      if (escaped) *escaped = true;
      break;
    }
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
  if (Valid(h) && GetCapture() == h) ReleaseCapture();
  return released;
}

}  // namespace winsys
