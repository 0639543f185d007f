#pragma once
// Lines, shapes and pixels in GDI's aliased, pixel-exact rules: a rectangle (l, t, r, b)
// covers columns l..r-1 and rows t..b-1; LineTo leaves out its end point; a one-pixel pen
// draws on pixel centres; filled shapes take the selected brush, outlines the pen and
// the DC's binary raster operation (SetROP2).
#include "platform/gdi/GdiTypes.h"

BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* pt);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
BOOL PolyBezier(HDC dc, const POINT* points, DWORD count);     // 1 + 3n points
BOOL PolyBezierTo(HDC dc, const POINT* points, DWORD count);   // 3n points from the current position
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Elliptic curves: from where the ray from the centre through (xs, ys) meets the ellipse,
// in the DC's arc direction (counter-clockwise by default) to the ray through (xe, ye).
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL ArcTo(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);
BOOL AngleArc(HDC dc, int x, int y, DWORD radius, float startAngle, float sweepAngle);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);  // brush may be a system colour index + 1
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
// The dotted (every other pixel) inverting frame of keyboard focus; drawing it twice
// restores the pixels.
BOOL DrawFocusRect(HDC dc, const RECT* rect);

COLORREF GetPixel(HDC dc, int x, int y);  // CLR_INVALID outside the clip or the surface
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
BOOL FloodFill(HDC dc, int x, int y, COLORREF border);
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF color, UINT type);

// GRADIENT_FILL_RECT_H / _V and GRADIENT_FILL_TRIANGLE; `mesh` is GRADIENT_RECT or
// GRADIENT_TRIANGLE elements.
BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, DWORD vertexCount, const void* mesh, DWORD meshCount,
                  DWORD mode);
