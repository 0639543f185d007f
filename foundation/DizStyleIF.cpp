#include "foundation/DizStyleIF.h"

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
