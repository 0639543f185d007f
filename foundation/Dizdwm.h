#pragma once
// Desktop composition, bound at run time from "dwmapi.dll" on first use. Where the
// library or one of its functions is missing the wrappers answer "unavailable" (0 or
// E_NOTIMPL) and leave their out-parameters alone; the library is looked for again on
// the next call. The system reports composition off.
#include "foundation/DizThemeBinding.h"
#include "platform/win/WinDef.h"

using TDwmDefWindowProc = BOOL (*)(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
using TDwmExtendFrameIntoClientArea = HRESULT (*)(HWND window, const MARGINS* margins);
using TDwmIsCompositionEnabled = HRESULT (*)(BOOL* enabled);

// The library's answer, or 0 when it is unavailable.
BOOL DwmDefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
HRESULT DwmExtendFrameIntoClientArea(HWND window, const MARGINS& margins);
HRESULT DwmIsCompositionEnabled(BOOL& enabled);
// Windows 6.0 or later, and the library says composition is on.
bool DwmCompositionEnabled();

// For tests: unloads the library and forgets the entry points found.
void ResetDwmBinding();
