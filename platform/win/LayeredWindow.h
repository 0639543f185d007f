#pragma once
// Layered windows: a top-level window with WS_EX_LAYERED shows over what lies beneath
// with a colour key and a constant alpha (SetLayeredWindowAttributes) or as a picture with
// per-pixel alpha (UpdateLayeredWindow). The headless screen composes them; a display
// back end gives the window its opacity.
#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinUser.h"

enum : DWORD { LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2 };
enum : DWORD { ULW_COLORKEY = 0x1, ULW_ALPHA = 0x2, ULW_OPAQUE = 0x4 };

// Fails for a window without WS_EX_LAYERED, a child window, unknown flags, and a window
// given its look by UpdateLayeredWindow (until WS_EX_LAYERED is taken away and set again).
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
// What SetLayeredWindowAttributes set; fails when it was not called since the window
// became layered. Each pointer may be null.
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);
// Gives the window the picture of `size` at `sourcePoint` (logical units) of `source`
// (a 32-bit DIB section keeps its per-pixel alpha with ULW_ALPHA and AC_SRC_ALPHA) and
// moves it to `position` (screen) when given. `screen` is not used. A null source keeps
// the picture and only moves or sizes the window. Fails for a window set up by
// SetLayeredWindowAttributes, as for SetLayeredWindowAttributes the other way round.
BOOL UpdateLayeredWindow(HWND hwnd, HDC screen, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags);

// The opacity of the window as a whole (the constant alpha of a layered window; 255 for
// any other window), for display back ends.
BYTE LayeredWindowOpacity(HWND hwnd);
// The picture UpdateLayeredWindow gave the window, or nullptr (borrowed; a back end shows
// it instead of the window's back buffer).
struct _cairo_surface;
_cairo_surface* GetLayeredWindowContent(HWND hwnd);

// The top-level window as it shows on the screen, the size of its window rectangle
// (premultiplied ARGB32): what its region cuts away and its colour key leave
// transparent, its alpha applied. nullptr for a hidden, minimised or child window. The
// caller destroys it.
_cairo_surface* CreateWindowScreenImage(HWND hwnd);
// Draws the screen into `target`, whose pixel (0, 0) is the screen point `origin`: the
// desktop, then every shown top-level window from the bottom up to and including the
// top-level window of `upTo` (nullptr: all of them).
void ComposeScreen(_cairo_surface* target, POINT origin, HWND upTo);
