#include "foundation/Dizdwm.h"

#include "platform/win/WinUser.h"

namespace {

struct TDwmState {
  HLIBMODULE Handle = nullptr;
  TDwmDefWindowProc DefWindowProc = nullptr;
  TDwmExtendFrameIntoClientArea ExtendFrame = nullptr;
  TDwmIsCompositionEnabled IsCompositionEnabled = nullptr;

  TDwmState() { LibraryLoadCount(""); }  // the libraries outlive this state
  ~TDwmState() { Reset(); }

  void Reset() {
    if (Handle) FreeLibraryModule(Handle);
    Handle = nullptr;
    DefWindowProc = nullptr;
    ExtendFrame = nullptr;
    IsCompositionEnabled = nullptr;
  }

  // Looks the entry point up (loading the library first when needed) until it is found.
  template <class F>
  F Resolve(F& cached, const char* name) {
    if (cached) return cached;
    if (!Handle) Handle = LoadLibraryModule("DWMAPI.DLL");
    if (Handle) cached = LibraryProcAs<F>(GetLibraryProc(Handle, name));
    return cached;
  }
};

TDwmState& Dwm() {
  static TDwmState state;
  return state;
}

}  // namespace

BOOL DwmDefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  auto f = Dwm().Resolve(Dwm().DefWindowProc, "DwmDefWindowProc");
  return f ? f(window, msg, wParam, lParam, &result) : FALSE;
}

HRESULT DwmExtendFrameIntoClientArea(HWND window, const MARGINS& margins) {
  auto f = Dwm().Resolve(Dwm().ExtendFrame, "DwmExtendFrameIntoClientArea");
  return f ? f(window, &margins) : E_NOTIMPL;
}

HRESULT DwmIsCompositionEnabled(BOOL& enabled) {
  auto f = Dwm().Resolve(Dwm().IsCompositionEnabled, "DwmIsCompositionEnabled");
  return f ? f(&enabled) : E_NOTIMPL;
}

bool DwmCompositionEnabled() {
  OSVERSIONINFO info;
  if (!GetVersionEx(&info) || info.dwMajorVersion < 6) return false;
  BOOL enabled = FALSE;
  return DwmIsCompositionEnabled(enabled) == S_OK && enabled != FALSE;
}

void ResetDwmBinding() { Dwm().Reset(); }
