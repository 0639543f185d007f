#pragma once
// Classic 3-D frames and control glyphs drawn with the system colours.
#include "platform/gdi/GdiTypes.h"

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
