#pragma once
// Flat scroll bars, as the common controls offer them. After InitializeFlatSB a window's
// own scroll bars (WS_HSCROLL, WS_VSCROLL) draw in a style of their own per bar — regular
// (the classic bar), Encarta (arrows and thumb with a thin raised edge) or flat (arrows
// and thumb framed by one shadow line) — with a width, arrow length, thumb length
// and track colour of their own. The bars keep the window's one scroll state:
// FlatSB_SetScrollInfo and FlatSB_ShowScrollBar act as SetScrollInfo and ShowScrollBar,
// and the standard calls keep working on the same bars.
//
//   InitializeFlatSB(hwnd);
//   FlatSB_SetScrollProp(hwnd, WSB_PROP_VSTYLE, FSB_FLAT_MODE, TRUE);
//   FlatSB_SetScrollProp(hwnd, WSB_PROP_VBKGCOLOR, RGB(255, 0, 0), TRUE);
#include "platform/win/WinUser.h"

// Properties (FlatSB_SetScrollProp / FlatSB_GetScrollProp).
enum : UINT {
  WSB_PROP_CYVSCROLL = 0x0001,  // the vertical bar's arrow length
  WSB_PROP_CXHSCROLL = 0x0002,  // the horizontal bar's arrow length
  WSB_PROP_CYHSCROLL = 0x0004,  // the horizontal bar's height
  WSB_PROP_CXVSCROLL = 0x0008,  // the vertical bar's width
  WSB_PROP_CXHTHUMB = 0x0010,   // the horizontal thumb's length when the bar has no page
  WSB_PROP_CYVTHUMB = 0x0020,   // the vertical thumb's length when the bar has no page
  WSB_PROP_VBKGCOLOR = 0x0040,  // the vertical track's colour (CLR_DEFAULT: the system's)
  WSB_PROP_HBKGCOLOR = 0x0080,  // the horizontal track's colour
  WSB_PROP_VSTYLE = 0x0100,     // FSB_*_MODE of the vertical bar
  WSB_PROP_HSTYLE = 0x0200,     // FSB_*_MODE of the horizontal bar
  WSB_PROP_WINSTYLE = 0x0400,   // read only: the window's style
  WSB_PROP_PALETTE = 0x0800,    // kept only: no palettes here
  WSB_PROP_MASK = 0x0FFF,
};
enum : int { FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2 };
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// Turns the window's flat bars on (their properties start as the system's metrics, both
// styles regular, both colours CLR_DEFAULT); TRUE also when they were on already.
BOOL InitializeFlatSB(HWND hwnd);
// Turns them off again: the window's bars draw and measure as standard ones.
HRESULT UninitializeFlatSB(HWND hwnd);
// Sets one property; FALSE for a window without flat bars, an unknown or read-only
// index, a negative size or an unknown style. With redraw the window's frame is laid out
// and drawn again.
BOOL FlatSB_SetScrollProp(HWND hwnd, UINT index, INT_PTR value, BOOL redraw);
BOOL FlatSB_GetScrollProp(HWND hwnd, UINT index, int* value);
int FlatSB_SetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info, BOOL redraw);
BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show);
