// Plain drawing helpers of the label family and the parent-background eraser.
#include "label/VxThemes.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/win/WinUser.h"

void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect,
                          bool NeedsParentBackground) {
  DrawThemedBackground(Control, Canvas, Rect, Canvas->Brush()->GetColor(), NeedsParentBackground);
}

void DrawThemedBackground(TControl*, TCanvas* Canvas, const TRect& Rect, TColor Color, bool) {
  const TColor saved = Canvas->Brush()->GetColor();
  if (saved != Color) Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(Rect);
  if (Canvas->Brush()->GetColor() != saved) Canvas->Brush()->SetColor(saved);
}

void DrawThemedBackground(TControl*, HDC DC, const TRect& Rect, HBRUSH Brush, bool) {
  RECT r = ToRECT(Rect);
  FillRect(DC, &r, Brush);
}

BOOL DrawThemedFrameControl(TControl*, HDC DC, const TRect& Rect, UINT FrameType, UINT FrameState) {
  RECT r = ToRECT(Rect);
  return DrawFrameControl(DC, &r, FrameType, FrameState);
}

void PerformEraseBackground(TControl* Control, HDC DC, TPoint Offset, const std::optional<TRect>& Rect) {
  if (!Control || !Control->Parent()) return;
  // Any non-zero offset moves the origin: a control at x = 0 still sits lower than the
  // parent's top when its Top is not 0.
  const bool shift = Offset.X != 0 || Offset.Y != 0;
  POINT origin{0, 0};
  if (shift) {
    GetWindowOrgEx(DC, &origin);
    SetWindowOrgEx(DC, origin.x + Offset.X, origin.y + Offset.Y, nullptr);
  }
  HRGN savedClip = nullptr;
  bool clipped = false;
  if (Rect) {
    savedClip = CreateRectRgn(0, 0, 1, 1);
    if (GetClipRgn(DC, savedClip) != 1) {
      DeleteObject(savedClip);
      savedClip = nullptr;
    }
    HRGN clip = CreateRectRgn(Rect->Left, Rect->Top, Rect->Right, Rect->Bottom);
    SelectClipRgn(DC, clip);
    DeleteObject(clip);
    clipped = true;
  }
  auto restore = [&] {
    if (shift) SetWindowOrgEx(DC, origin.x, origin.y, nullptr);
    if (!clipped) return;
    // The clip the DC had before comes back, also "no clip at all".
    SelectClipRgn(DC, savedClip);
    if (savedClip) DeleteObject(savedClip);
  };
  try {
    Control->Parent()->Perform(WM_ERASEBKGND, WPARAM(DC), LPARAM(DC));
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void PerformEraseBackground(TControl* Control, HDC DC, const std::optional<TRect>& Rect) {
  if (!Control) return;
  PerformEraseBackground(Control, DC, TPoint{Control->Left(), Control->Top()}, Rect);
}

TRect DrawThemedButtonFace(TControl*, TCanvas* Canvas, const TRect& Client, int BevelWidth,
                           TButtonStyle Style, bool IsRounded, bool IsDown, bool IsFocused, bool) {
  return DrawButtonFace(Canvas, Client, BevelWidth, Style, IsRounded, IsDown, IsFocused);
}

bool IsMouseOver(TControl* Control) {
  POINT p{0, 0};
  GetCursorPos(&p);
  const TPoint c = Control->ScreenToClient(TPoint{p.x, p.y});
  const TRect r = Control->ClientRect();
  return c.X >= r.Left && c.X < r.Right && c.Y >= r.Top && c.Y < r.Bottom;
}

TThemeStyle GetThemeStyle(TControl*) { return TThemeStyle(); }
void IncludeThemeStyle(TControl*, TThemeStyle) {}
void ExcludeThemeStyle(TControl*, TThemeStyle) {}

bool GetParentBackground(TWinControl* Control) {
  return GetThemeStyle(Control).Contains(tsNeedsParentBackground);
}

void SetParentBackground(TWinControl* Control, bool Value) {
  if (Value == GetParentBackground(Control)) return;
  if (Value) IncludeThemeStyle(Control, TThemeStyle{tsNeedsParentBackground});
  else ExcludeThemeStyle(Control, TThemeStyle{tsNeedsParentBackground});
  Control->Invalidate();
}
