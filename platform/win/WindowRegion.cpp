// Window regions: the shape SetWindowRgn gives a window. Outside its region a window is
// neither hit by the mouse (WindowFromPoint, child lookup, menu tracking) nor painted, so
// what lies beneath shows there: the parent's pixels under a child, the windows beneath
// a top-level window on the screen.
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace winsys {

bool InWindowShape(HWND h, POINT screen) {
  if (!h->Shape) return true;
  POINT o = WindowOriginOnScreen(h);
  return h->Shape->Contains(WinPoint(screen.x - o.x, screen.y - o.y));
}

void ClipToShape(HWND h, TRectSet& screenArea) {
  if (!h->Shape) return;
  TRectSet shape = *h->Shape;
  POINT o = WindowOriginOnScreen(h);
  shape.Offset(o.x, o.y);
  screenArea.Intersect(shape);
}

TRectSet CoveredArea(HWND h, POINT offset) {
  RECT r = RectOffset(h->Rect, offset.x, offset.y);
  if (!h->Shape) return TRectSet(r);
  TRectSet shape = *h->Shape;
  shape.Offset(r.left, r.top);
  shape.Intersect(r);
  return shape;
}

}  // namespace winsys

// The window keeps the region's area, not the handle: the handle is freed here, as the
// caller gave it away, so nothing the caller does with it later reaches the window.
int SetWindowRgn(HWND h, HRGN region, BOOL redraw) {
  if (!Valid(h)) return 0;
  if (region && GetObjectType(region) != OBJ_REGION) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::unique_ptr<TRectSet> shape;
  if (region) {
    shape = std::make_unique<TRectSet>(SetFromRegion(region));
    DeleteObject(region);
  }
  h->Shape = std::move(shape);
  if (!IsWindowVisible(h)) return 1;
  // What the old region covered and the new one does not must show what lies beneath,
  // whether or not the window itself is redrawn.
  if (h->Parent) InvalidateParentArea(h, h->Rect);
  else CurrentBackend().TopLevelPainted(h, MakeRect(0, 0, RectWidth(h->Rect), RectHeight(h->Rect)));
  if (redraw) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return 1;
}

int GetWindowRgn(HWND h, HRGN region) {
  if (!Valid(h) || !region || !h->Shape) return ERROR;
  HRGN shape = RegionFromSet(*h->Shape);
  int kind = CombineRgn(region, shape, nullptr, RGN_COPY);
  DeleteObject(shape);
  return kind;
}
