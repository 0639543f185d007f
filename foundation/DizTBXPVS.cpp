#include "foundation/DizTBXPVS.h"

#include <cctype>
#include <mutex>

#include "platform/win/WinUser.h"

namespace {

struct TTBThemeState {
  std::mutex Lock;
  TThemeBinding Binding;           // loaded at start; holds one reference while loaded
  HLIBMODULE InitHandle = nullptr;  // loaded by InitThemeLibrary
  int RefCount = 0;
  TDrawThemeTextEx DrawTextEx = nullptr;
  bool Started = false;

  TTBThemeState() { Registry(); }
  ~TTBThemeState() { Shutdown(); }

  // The libraries are created before this state, so they outlive it.
  static void Registry() { LibraryLoadCount(""); }

  void StartLocked() {
    if (Started) return;
    Started = true;
    // The start-up load holds its reference for the life of the program.
    if (Binding.Bind("UXTHEME.DLL")) ++RefCount;
  }

  void Shutdown() {
    while (true) {
      std::lock_guard guard(Lock);
      if (RefCount <= 0) break;
      --RefCount;
      if (Binding.Loaded()) Binding.Unload();
    }
  }
};

TTBThemeState& State() {
  static TTBThemeState state;
  return state;
}

TTBThemeState& Started() {
  TTBThemeState& s = State();
  std::lock_guard guard(s.Lock);
  s.StartLocked();
  return s;
}

}  // namespace

TThemeBinding& TBThemeBinding() { return Started().Binding; }

bool InitThemeLibrary() {
  TTBThemeState& s = Started();
  std::lock_guard guard(s.Lock);
  ++s.RefCount;
  if (!s.InitHandle) {
    s.InitHandle = LoadLibraryModule("uxtheme.dll");
    if (s.InitHandle) {
      TThemeBinding& b = s.Binding;
      b.OpenThemeData = LibraryProcAs<TOpenThemeData>(GetLibraryProc(s.InitHandle, "OpenThemeData"));
      b.CloseThemeData = LibraryProcAs<TCloseThemeData>(GetLibraryProc(s.InitHandle, "CloseThemeData"));
      b.IsAppThemed = LibraryProcAs<TIsAppThemed>(GetLibraryProc(s.InitHandle, "IsAppThemed"));
      b.IsThemeActive = LibraryProcAs<TIsThemeActive>(GetLibraryProc(s.InitHandle, "IsThemeActive"));
      b.GetThemeSysFont = LibraryProcAs<TGetThemeSysFont>(GetLibraryProc(s.InitHandle, "GetThemeSysFont"));
    }
  }
  return s.InitHandle != nullptr;
}

void FreeThemeLibrary() {
  TTBThemeState& s = Started();
  std::lock_guard guard(s.Lock);
  if (s.RefCount > 0) --s.RefCount;
  if (s.InitHandle && s.RefCount == 0) {
    FreeLibraryModule(s.InitHandle);
    s.InitHandle = nullptr;
    TThemeBinding& b = s.Binding;
    b.OpenThemeData = nullptr;
    b.CloseThemeData = nullptr;
    b.IsAppThemed = nullptr;
    b.IsThemeActive = nullptr;
    b.GetThemeSysFont = nullptr;
  }
}

bool UseThemes() {
  TThemeBinding& b = TBThemeBinding();
  if (!b.Loaded() || !b.IsAppThemed || !b.IsThemeActive) return false;
  if (b.IsAppThemed() == 0) return false;
  return b.IsThemeActive() != 0;
}

HRESULT DrawThemeTextEx(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count, DWORD flags,
                        RECT* rect, const DTTOPTS& options) {
  TTBThemeState& s = Started();
  if (!s.DrawTextEx && s.Binding.Loaded())
    s.DrawTextEx = LibraryProcAs<TDrawThemeTextEx>(GetLibraryProc(s.Binding.Handle(), "DrawThemeTextEx"));
  if (!s.DrawTextEx) return E_NOTIMPL;
  return s.DrawTextEx(theme, dc, part, state, text, count, flags, rect, &options);
}

std::int32_t GetFileVersion(const std::string& FileName) {
  std::string base = FileName;
  std::size_t slash = base.find_last_of("/\\");
  if (slash != std::string::npos) base.erase(0, slash + 1);
  for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (base == "comctl32.dll" || base == "comctl32") {
    const TSystemIdentity& id = SystemIdentity();
    return static_cast<std::int32_t>(((id.CommonControlsMajor & 0xFFFF) << 16) | (id.CommonControlsMinor & 0xFFFF));
  }
  return -1;
}

int ThemeLibraryRefCount() {
  TTBThemeState& s = Started();
  std::lock_guard guard(s.Lock);
  return s.RefCount;
}

void ShutdownThemeLibrary() { State().Shutdown(); }

void RestartThemeLibrary() {
  TTBThemeState& s = State();
  s.Shutdown();
  std::lock_guard guard(s.Lock);
  if (s.InitHandle) FreeLibraryModule(s.InitHandle);
  s.InitHandle = nullptr;
  s.RefCount = 0;
  s.DrawTextEx = nullptr;
  s.Binding.Clear();
  s.Started = false;
  s.StartLocked();
}
