#pragma once
// Icons and cursors: HICON/HCURSOR objects and drawing them on device contexts.
//
// An icon holds a colour image and a 1-bit AND mask of the same size. Drawn normally, the
// destination is ANDed with the mask and then XORed with the colour image: mask 1 with
// colour black leaves the screen as it is (transparent), mask 1 with another colour
// inverts it, mask 0 paints the colour. An icon whose 32-bit colour image carries alpha
// is blended with that alpha instead. A cursor is an icon with a hot spot.
//
// Handles are numbers looked up in a table: a destroyed handle fails cleanly. The system
// cursors of LoadCursor(nullptr, IDC_*) are fixed handle values outside that table (see
// WinUser.h); icons and cursors loaded from resources are in it.
#include "platform/image/RawImage.h"
#include "platform/win/WinUser.h"

struct ICONINFO {
  BOOL fIcon = TRUE;     // FALSE: a cursor
  DWORD xHotspot = 0;    // cursors: the hot spot; icons: the centre
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;   // monochrome AND mask; twice the height (AND over XOR) when hbmColor is null
  HBITMAP hbmColor = nullptr;  // colour image, null for a monochrome icon
};
using PICONINFO = ICONINFO*;

// DrawIconEx flags.
enum : UINT {
  DI_MASK = 0x0001, DI_IMAGE = 0x0002, DI_NORMAL = 0x0003, DI_COMPAT = 0x0004,
  DI_DEFAULTSIZE = 0x0008, DI_NOMIRROR = 0x0010,
};

// WM_SETICON / WM_GETICON: which icon of a window. ICON_SMALL2 asks for the small icon
// or, when the window has none, its big one.
enum : WPARAM { ICON_SMALL = 0, ICON_BIG = 1, ICON_SMALL2 = 2 };

// Image loading flags (LoadImage, CopyImage, CreateIconFromResourceEx).
enum : UINT {
  LR_DEFAULTCOLOR = 0x0000, LR_MONOCHROME = 0x0001, LR_COPYRETURNORG = 0x0004,
  LR_COPYDELETEORG = 0x0008, LR_LOADFROMFILE = 0x0010, LR_LOADTRANSPARENT = 0x0020,
  LR_DEFAULTSIZE = 0x0040, LR_VGACOLOR = 0x0080, LR_LOADMAP3DCOLORS = 0x1000,
  LR_CREATEDIBSECTION = 0x2000, LR_COPYFROMRESOURCE = 0x4000, LR_SHARED = 0x8000,
};

// An icon or cursor from a colour bitmap and a mask (both copied; the caller keeps them).
// A 32-bit colour bitmap with translucent pixels is an alpha icon; otherwise the mask
// decides. Null when the bitmaps are missing or invalid.
HICON CreateIconIndirect(const ICONINFO* info);
// From raw bits: the AND mask and the XOR image, rows of `width` pixels padded to 16 bits
// (1 bit per pixel for the mask; planes * bitsPixel 1 or 32 for the image).
HICON CreateIcon(HINSTANCE instance, int width, int height, BYTE planes, BYTE bitsPixel, const BYTE* andBits,
                 const BYTE* xorBits);
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height, const void* andBits,
                     const void* xorBits);
// From the bits of one icon or cursor image as stored in a resource: a DIB whose header
// height counts the colour rows and the mask rows, or a PNG; a cursor image starts with
// its hot spot (two 16-bit words). A whole .ico or .cur file is accepted too: its image
// closest to cx×cy is taken (0×0: the size of LR_DEFAULTSIZE, or the first image's
// size). The result is stretched to cx×cy when those are given. Null for bad data.
HICON CreateIconFromResourceEx(const BYTE* bits, DWORD size, BOOL icon, DWORD version, int cx, int cy, UINT flags);
HICON CreateIconFromResource(const BYTE* bits, DWORD size, BOOL icon, DWORD version);
// New bitmaps of the icon (the caller deletes them): a 32-bit colour bitmap and a
// monochrome mask, or for a monochrome icon the double-height mask alone.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
// Frees an icon or cursor. Shared ones (loaded with LoadIcon, LoadCursor or LR_SHARED) stay.
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
// A new icon (or cursor) with the same images; the caller destroys it.
HICON CopyIcon(HICON icon);
inline HCURSOR CopyCursor(HCURSOR cursor) { return CopyIcon(cursor); }
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);  // at its own size, DI_NORMAL | DI_COMPAT
// cx, cy 0: the icon's own size, or the system's icon size with DI_DEFAULTSIZE. With a
// brush the rectangle is filled with it first.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT stepIfAniCur, HBRUSH flickerFreeBrush,
                UINT flags);

// ---- for the layer and its back ends ----------------------------------------------------
// An icon (or a cursor with its hot spot) from a straight-alpha picture.
HICON CreateIconFromImage(const TRawImage& image, BOOL icon = TRUE, int xHotSpot = 0, int yHotSpot = 0);
// The icon as a straight-alpha picture (pixels that invert the screen come out black)
// and its hot spot. FALSE for a handle that is not an icon of the table.
BOOL GetIconImage(HICON icon, TRawImage* image, POINT* hotSpot = nullptr);
// Whether the handle is a live icon or cursor of the table, and whether it is a cursor.
BOOL IsIconHandle(HICON icon);
BOOL IsCursorHandle(HCURSOR cursor);
// Marks an icon as shared: DestroyIcon leaves it alone (the resource loader's cache).
void SetIconShared(HICON icon);
// Icons and cursors alive in the table (tests look for leaks).
int LiveIconCount();
