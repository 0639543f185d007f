#pragma once
// Device contexts: where GDI drawing goes (a caller's cairo image surface or a memory
// bitmap), the coordinate mapping from logical to device units, the drawing attributes
// and the clip region. Device coordinates are pixels relative to the DC's origin.
#include <cairo.h>

#include "platform/gdi/GdiTypes.h"

// ---- creating and freeing -----------------------------------------------------------
// A DC drawing into `surface` (a cairo image surface, ARGB32 or RGB24) whose device point
// (0,0) lies at `origin` of the surface. `clip` (device coordinates; may be null) limits
// every drawing in addition to the surface bounds; the DC keeps its own copy. The window
// system uses this for window DCs on its back buffers; the surface must outlive the DC.
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, HRGN clip);
// Changes the surface, origin and base clip of a surface DC (the caller's clip settings
// made with SelectClipRgn stay). Returns FALSE for other DCs.
BOOL ResetSurfaceDC(HDC dc, cairo_surface_t* surface, POINT origin, HRGN clip);
BOOL DeleteSurfaceDC(HDC dc);
// Sends the text drawn on a surface DC to `cr` (referenced by the DC; null ends it) as
// glyphs, device pixels scaled by `scale`, instead of into the surface's pixels. A printer
// page keeps fills, lines and pictures in the pixels and its text as text this way.
BOOL SetDCTextSink(HDC dc, cairo_t* cr, double scale);

// What a DC draws into, for GDI+ and the window system.
struct DCDrawingTarget {
  cairo_surface_t* surface = nullptr;  // borrowed; flush before reading pixels directly
  POINT surfaceOrigin;                 // device (0,0) in surface pixels
  // Logical to device mapping: device = (logical - windowOrg) * viewportExt / windowExt
  // + viewportOrg. For MM_TEXT the scale is 1 and device = logical + offset.
  POINT windowOrg;
  POINT viewportOrg;
  SIZE windowExt{1, 1};
  SIZE viewportExt{1, 1};
  HRGN clip = nullptr;  // effective clip in device coordinates (a new region the caller deletes)
};
BOOL GetDCDrawingTarget(HDC dc, DCDrawingTarget* target);
// The surface pixels changed outside GDI (e.g. GDI+ drew with cairo): nothing to do today,
// kept so callers state their intent and future caching stays correct.
void GdiSurfaceChanged(HDC dc);

HDC CreateCompatibleDC(HDC dc);  // memory DC with a 1x1 monochrome bitmap selected
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);              // returns the saved state's level (1, 2, ...), 0 on failure
BOOL RestoreDC(HDC dc, int savedDC);  // a level, or -1 for the latest
int GetDeviceCaps(HDC dc, int index);
// Resolution a DC reports and that MM_LOMETRIC etc. map to (96 by default; printers set theirs).
BOOL SetDCResolution(HDC dc, int dpiX, int dpiY);
BOOL GdiFlush();

// ---- coordinates --------------------------------------------------------------------
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* pt);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* pt);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetWindowExtEx(HDC dc, SIZE* size);
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
BOOL GetViewportExtEx(HDC dc, SIZE* size);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* pt);
BOOL GetDCOrgEx(HDC dc, POINT* pt);  // surface origin of a surface DC

// ---- attributes ---------------------------------------------------------------------
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetArcDirection(HDC dc, int direction);
int GetArcDirection(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);

// ---- clipping (regions in device coordinates, rectangles in logical ones) ------------
int SelectClipRgn(HDC dc, HRGN rgn);               // null removes the clip
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);  // RGN_AND/OR/XOR/DIFF/COPY
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, RECT* rect);               // logical coordinates
int GetClipRgn(HDC dc, HRGN rgn);                 // 1 = copied, 0 = no clip, -1 = error
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);
