#include "foundation/DizStyleIF.h"

#include <string>

#include "foundation/DizThemeBinding.h"
#include "platform/win/WinUser.h"

const TEnumInfo* DUZERazavInfo() {
  static const TEnumInfo* info =
      RegisterEnum("DUZERazav", {"tsOffice2003Blue", "tsOffice2003Silver", "tsOffice2003Olive",
                                 "tsOffice2003Classic", "tsOffice2007Luna", "tsOffice2007Obsidian", "tsWindowsXP",
                                 "tsWhidbey", "tsCustom", "tsOffice2007Silver", "tsWindowsVista", "tsWindows7",
                                 "tsTerminal"});
  return info;
}

bool IsVista() {
  OSVERSIONINFO info;
  return GetVersionEx(&info) && info.dwMajorVersion >= 6;
}

bool IsXPOrLater() {
  OSVERSIONINFO info;
  if (!GetVersionEx(&info)) return false;
  return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

int XPColorScheme() {
  if (!IsXPOrLater()) return 0;
  // Through the library as loaded now, so that a system without it (or without the entry
  // points) reads as unthemed.
  HLIBMODULE library = LoadLibraryModule("uxtheme.dll");
  if (!library) return 0;
  int result = 0;
  auto isThemeActive = LibraryProcAs<TIsThemeActive>(GetLibraryProc(library, "IsThemeActive"));
  auto getCurrentThemeName = LibraryProcAs<TGetCurrentThemeName>(GetLibraryProc(library, "GetCurrentThemeName"));
  if (isThemeActive && isThemeActive() && getCurrentThemeName) {
    char16_t file[255] = {}, color[255] = {}, size[255] = {};
    if (getCurrentThemeName(file, 255, color, 255, size, 255) == S_OK) {
      color[254] = 0;
      std::u16string scheme(color);
      if (scheme == u"NormalColor") result = 1;
      else if (scheme == u"HomeStead") result = 2;
      else if (scheme == u"Metallic") result = 3;
    }
  }
  FreeLibraryModule(library);
  return result;
}
