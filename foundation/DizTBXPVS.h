#pragma once
// Shared access to the visual-styles library for the tool bar family and the theme
// services: its own binding table (bound at first use, holding one reference on the
// library for the life of the program), a reference-counted load for the theme services,
// the "themes in use" test, the later text-drawing function and file versions.
//
// The reference count, both library handles and the binding are guarded by one lock.
#include <cstdint>
#include <string>

#include "foundation/DizThemeBinding.h"

#ifndef LORM_DTTOPTS_DEFINED
#define LORM_DTTOPTS_DEFINED
// Options of DrawThemeTextEx.
using DTT_CALLBACK_PROC = int (*)(HDC dc, char16_t* text, int count, RECT* rect, UINT flags, std::intptr_t lParam);
struct DTTOPTS {
  DWORD dwSize = sizeof(DTTOPTS);
  DWORD dwFlags = 0;
  COLORREF crText = 0;
  COLORREF crBorder = 0;
  COLORREF crShadow = 0;
  int iTextShadowType = 0;
  POINT ptShadowOffset;
  int iBorderSize = 0;
  int iFontPropId = 0;
  int iColorPropId = 0;
  int iStateId = 0;
  BOOL fApplyOverlay = FALSE;
  int iGlowSize = 0;
  DTT_CALLBACK_PROC pfnDrawTextCallback = nullptr;
  std::intptr_t lParam = 0;
};
constexpr DWORD DTT_TEXTCOLOR = 0x1, DTT_BORDERCOLOR = 0x2, DTT_SHADOWCOLOR = 0x4, DTT_SHADOWTYPE = 0x8,
                DTT_SHADOWOFFSET = 0x10, DTT_BORDERSIZE = 0x20, DTT_FONTPROP = 0x40, DTT_COLORPROP = 0x80,
                DTT_STATEID = 0x100, DTT_CALCRECT = 0x200, DTT_APPLYOVERLAY = 0x400, DTT_GLOWSIZE = 0x800,
                DTT_CALLBACK = 0x1000, DTT_COMPOSITED = 0x2000;
#endif

using TDrawThemeTextEx = HRESULT (*)(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count,
                                     DWORD flags, RECT* rect, const DTTOPTS* options);

// This module's binding table (OpenThemeData, CloseThemeData, IsAppThemed, IsThemeActive,
// GetThemeSysFont, … of the tool bar family and the theme services).
TThemeBinding& TBThemeBinding();

// Takes one reference on the library and, when this module has not loaded it for the
// services yet, loads "uxtheme.dll" and binds OpenThemeData, CloseThemeData, IsAppThemed,
// IsThemeActive and GetThemeSysFont. True when that load holds a library. The reference
// is taken also when the load fails.
bool InitThemeLibrary();
// Drops one reference; at zero, unloads what InitThemeLibrary loaded and empties those
// five functions. Never goes below zero.
void FreeThemeLibrary();
// The library was loaded at start, and the application and the system are themed.
bool UseThemes();
// The library's DrawThemeTextEx when it offers one; E_NOTIMPL otherwise.
HRESULT DrawThemeTextEx(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count, DWORD flags,
                        RECT* rect, const DTTOPTS& options);
// The file's version as (major << 16) | minor, or -1 when the file has no version
// information ("comctl32.dll" reports the common controls version of the system).
std::int32_t GetFileVersion(const std::string& FileName);

// The current reference count.
int ThemeLibraryRefCount();
// The program-end steps: while references remain, drop one and unload the library
// loaded at start. (The library loaded by InitThemeLibrary stays loaded.)
void ShutdownThemeLibrary();
// For tests: brings the module back to its state before start (also unloading what
// InitThemeLibrary loaded) and runs the start-up binding again.
void RestartThemeLibrary();
