#pragma once
// GDI objects: pens, brushes, fonts, bitmaps (device-dependent bitmaps, DIB sections and
// monochrome masks), palettes; selecting them into DCs and reading them back.
//
// Bitmap pixels are 32-bit B,G,R,A words (the layout of a 32-bit DIB and of a cairo
// ARGB32 surface). GDI drawing writes opaque pixels; SRCCOPY blits copy all four bytes.
#include <cairo.h>

#include "platform/gdi/GdiTypes.h"

HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // regions: returns the region kind as a handle value
HGDIOBJ GetCurrentObject(HDC dc, UINT type);   // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP
BOOL DeleteObject(HGDIOBJ object);             // stock objects are kept; returns TRUE
DWORD GetObjectType(HGDIOBJ object);           // 0 for a handle that is not (any more) an object
// Fills LOGPEN (or EXTLOGPEN), LOGBRUSH, LOGFONT, BITMAP (or DIBSECTION for DIB sections)
// according to `size`; returns the bytes written, or the size needed when `out` is null.
int GetObject(HGDIOBJ object, int size, void* out);
BOOL UnrealizeObject(HGDIOBJ object);

// ---- pens and brushes ---------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap);  // the brush keeps its own copy of the pattern
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);

// ---- fonts --------------------------------------------------------------------------
HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face);

// ---- bitmaps ------------------------------------------------------------------------
// Monochrome (bitsPerPixel 1) or 32-bit bitmap; `bits` (may be null) are rows of
// `width*bpp` bits padded to 16 bits, as the classic call defines them.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bm);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);  // 32-bit unless dc holds a mono bitmap
// A DIB section: `*bits` receives the caller-visible pixel rows. 32-bit sections share their
// memory with the drawing surface (GDI drawing shows in the bits at once, and writes to the
// bits show in the next GDI call). 1-, 4-, 8-, 16- and 24-bit sections keep their rows in
// their own format and convert to and from the drawing surface around each GDI call.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section = nullptr,
                         DWORD offset = 0);
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits);
BOOL GetBitmapDimensionEx(HBITMAP bitmap, SIZE* size);
// Rows of a bitmap in DIB format (bitCount 1, 4, 8, 24 or 32; BI_RGB). With bits null,
// fills the header (and colour table) only. Returns the number of rows copied.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);

// The cairo surface holding a bitmap's pixels (borrowed; null for an invalid handle).
// Writing to it directly: call cairo_surface_flush before and cairo_surface_mark_dirty after.
cairo_surface_t* GetBitmapSurface(HBITMAP bitmap);
// Whether a bitmap is monochrome (1 bit per pixel).
BOOL IsMonochromeBitmap(HBITMAP bitmap);

// ---- palettes (true-colour only: kept for the calls, no effect on colours) -----------
struct PALETTEENTRY {
  BYTE peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
};
struct LOGPALETTE {
  WORD palVersion = 0x300;
  WORD palNumEntries = 0;
  PALETTEENTRY palPalEntry[256];
};
HPALETTE CreatePalette(const LOGPALETTE* lp);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
COLORREF GetNearestColor(HDC dc, COLORREF color);
