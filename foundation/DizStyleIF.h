#pragma once
// The library-wide look. Every control or styler that can take one implements
// IDizStyle and maps the value onto its own colour preset; tsCustom leaves the colours
// as they are.
#include "platform/vcl/TypInfo.h"

enum DUZERazav {
  tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
  tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
  tsTerminal
};

// The value names, for published properties of this type.
const TEnumInfo* DUZERazavInfo();

// Implemented by the components that take a look; found with dynamic_cast.
class IDizStyle {
public:
  virtual void SetComponentStyle(DUZERazav AStyle) = 0;

protected:
  ~IDizStyle() = default;
};

// The system is Windows Vista or later (for Vista-era fonts and looks).
bool IsVista();
// The system is Windows 5.1 (XP) or later.
bool IsXPOrLater();

// The Windows XP colour scheme in force, as the visual-styles library names it: 1
// "NormalColor" (blue), 2 "HomeStead" (olive), 3 "Metallic" (silver), compared with case;
// 0 for any other name, no active visual style, a system older than XP or a missing
// library or entry point. Asked afresh every time.
int XPColorScheme();
