#pragma once
// Regions: sets of pixels kept as bands of rectangles. Right and bottom edges are
// exclusive, as for RECT.
#include <cairo.h>

#include <vector>

#include "platform/gdi/GdiTypes.h"

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
// Rounded rectangle with corner ellipses of `ellipseWidth` x `ellipseHeight`; the same
// pixels RoundRect covers with a null pen.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
// dest = src1 op src2 (src2 unused for RGN_COPY); dest must exist. Returns the region kind.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* rect);
int GetRgnBox(HRGN rgn, RECT* rect);
BOOL EqualRgn(HRGN a, HRGN b);
// The rectangles of a region, top to bottom, left to right (empty for an invalid handle).
std::vector<RECT> GetRegionRects(HRGN rgn);

// Drawing with regions (region in logical coordinates of an MM_TEXT DC).
BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL PaintRgn(HDC dc, HRGN rgn);  // with the selected brush
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL InvertRgn(HDC dc, HRGN rgn);

// The region as a cairo region (borrowed; valid while the handle lives).
const cairo_region_t* GetRegionCairo(HRGN rgn);
