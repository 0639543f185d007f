#pragma once
// Text output and measuring on device contexts, with the selected font (pango through
// FontMap), text colour, background colour and mode, text alignment and the clip.
// Strings are UTF-8; `count` is in bytes (-1: up to the terminating zero).
#include <string>

#include "platform/gdi/GdiTypes.h"

BOOL TextOut(HDC dc, int x, int y, const char* text, int count);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                const INT* dx);
// DrawText returns the height of the text (from the top for DT_BOTTOM/DT_VCENTER it is
// the offset to the bottom of the text, as GDI does); DT_CALCRECT only measures and sets
// rect's right and bottom. DT_MODIFYSTRING writes the shortened text back into `text`
// (which must have room for count + 4 bytes, as GDI requires).
int DrawText(HDC dc, const char* text, int count, RECT* rect, UINT format);
int DrawTextEx(HDC dc, char* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
// Same with std::string; `modified` receives the shortened text for DT_MODIFYSTRING.
int DrawTextUtf8(HDC dc, const std::string& text, RECT* rect, UINT format, std::string* modified = nullptr,
                 DRAWTEXTPARAMS* params = nullptr);
// UTF-16 entry points (wide text of the components).
BOOL TextOutW(HDC dc, int x, int y, const char16_t* text, int count);
int DrawTextW(HDC dc, const char16_t* text, int count, RECT* rect, UINT format);
BOOL GetTextExtentPoint32W(HDC dc, const char16_t* text, int count, SIZE* size);

BOOL GetTextExtentPoint32(HDC dc, const char* text, int count, SIZE* size);
BOOL GetTextExtentPoint(HDC dc, const char* text, int count, SIZE* size);
// Fits as many characters as possible into maxExtent; `dx` (may be null) receives the
// cumulative widths per character (characters = UTF-8 code points).
BOOL GetTextExtentExPoint(HDC dc, const char* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths);  // code points
BOOL GetCharWidth(HDC dc, UINT first, UINT last, int* widths);
int GetTextFace(HDC dc, int count, char* name);                  // UTF-8, bytes incl. the zero
std::string GetTextFaceUtf8(HDC dc);
BOOL GetTextExtentPoint32Utf8(HDC dc, const std::string& text, SIZE* size);
