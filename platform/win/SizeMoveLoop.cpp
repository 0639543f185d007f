// The default window procedure's moving and sizing loops (WM_SYSCOMMAND SC_MOVE and
// SC_SIZE), run as the system runs them for a press on a caption or a sizing border: the
// window hears WM_ENTERSIZEMOVE, then for every pointer move WM_MOVING or WM_SIZING with
// the proposed rectangle, which it may change, and takes the rectangle it leaves; the loop
// ends at the release (Escape puts the window back where it was) with WM_EXITSIZEMOVE.
// The rectangles are in the coordinates of the window's position: the screen for a
// top-level window, the parent's client area for a child.
#include <algorithm>

#include "platform/win/TrackLoop.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

bool MovesLeft(int edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }
bool MovesRight(int edge) { return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT; }
bool MovesTop(int edge) { return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT; }
bool MovesBottom(int edge) { return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT; }

// The window's tracking limits (WM_GETMINMAXINFO).
MINMAXINFO TrackLimits(HWND h) {
  MINMAXINFO mm{};
  mm.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mm.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessage(h, WM_GETMINMAXINFO, 0, LPARAM(&mm));
  return mm;
}

// One side of a size within its limits, the moving edge giving way: only the sides being
// dragged are limited, so sizing a narrow window at its bottom never widens it.
void LimitSpan(LONG& low, LONG& high, bool lowMoves, int minSpan, int maxSpan) {
  int span = std::clamp(int(high - low), std::max(minSpan, 0), std::max(std::max(minSpan, 0), maxSpan));
  if (lowMoves) low = high - span;
  else high = low + span;
}

RECT SizedRect(const RECT& start, int edge, int dx, int dy, const MINMAXINFO& mm) {
  RECT r = start;
  if (MovesLeft(edge)) r.left += dx;
  if (MovesRight(edge)) r.right += dx;
  if (MovesTop(edge)) r.top += dy;
  if (MovesBottom(edge)) r.bottom += dy;
  if (MovesLeft(edge) || MovesRight(edge)) LimitSpan(r.left, r.right, MovesLeft(edge), mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x);
  if (MovesTop(edge) || MovesBottom(edge)) LimitSpan(r.top, r.bottom, MovesTop(edge), mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PlaceWindow(HWND h, const RECT& r, bool sizing) {
  SetWindowPos(h, nullptr, r.left, r.top, RectWidth(r), RectHeight(r),
               SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0u : UINT(SWP_NOSIZE)));
}

}  // namespace

namespace winsys {

int SizingEdgeFromHitTest(int hit) { return hit >= HTLEFT && hit <= HTBOTTOMRIGHT ? hit - HTLEFT + WMSZ_LEFT : 0; }

void SizeMoveLoop(HWND h, UINT command, POINT screen) {
  const bool sizing = (command & 0xFFF0) == SC_SIZE;
  const int edge = sizing ? int(command & 0x0F) : 0;
  // The keyboard's move and size (no edge, no press) is not offered.
  if (sizing && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;
  if (!Valid(h) || IsZoomed(h) || IsIconic(h)) return;
  SendMessage(h, WM_ENTERSIZEMOVE, 0, 0);
  if (!Valid(h)) return;
  const RECT original = h->Rect;
  const MINMAXINFO limits = sizing ? TrackLimits(h) : MINMAXINFO{};
  POINT release{};
  bool escaped = false;
  TrackLoop(
      h, MSGF_NEXTWINDOW,
      [&](POINT p) {
        const int dx = p.x - screen.x, dy = p.y - screen.y;
        RECT r = sizing ? SizedRect(original, edge, dx, dy, limits) : RectOffset(original, dx, dy);
        SendMessage(h, sizing ? WM_SIZING : WM_MOVING, WPARAM(edge), LPARAM(&r));
        if (Valid(h) && !SameRect(r, h->Rect)) PlaceWindow(h, r, sizing);
      },
      &release, &escaped);
  if (!Valid(h)) return;
  if (escaped && !SameRect(original, h->Rect)) PlaceWindow(h, original, true);
  if (Valid(h)) SendMessage(h, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace winsys
