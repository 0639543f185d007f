#include "platform/gdi/SysColors.h"

#include <array>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/UxTheme.h"

using namespace gdi;

namespace {
constexpr int kCount = COLOR_ENDCOLORS + 1;

// The classic (Windows Standard) scheme.
constexpr std::array<COLORREF, kCount> kDefault = {
    RGB(212, 208, 200),  // SCROLLBAR
    RGB(58, 110, 165),   // BACKGROUND
    RGB(10, 36, 106),    // ACTIVECAPTION
    RGB(128, 128, 128),  // INACTIVECAPTION
    RGB(212, 208, 200),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(0, 0, 0),        // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(255, 255, 255),  // CAPTIONTEXT
    RGB(212, 208, 200),  // ACTIVEBORDER
    RGB(212, 208, 200),  // INACTIVEBORDER
    RGB(128, 128, 128),  // APPWORKSPACE
    RGB(10, 36, 106),    // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(212, 208, 200),  // BTNFACE
    RGB(128, 128, 128),  // BTNSHADOW
    RGB(128, 128, 128),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(212, 208, 200),  // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(64, 64, 64),     // 3DDKSHADOW
    RGB(212, 208, 200),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(181, 181, 181),  // 25 (unused slot)
    RGB(0, 0, 128),      // HOTLIGHT
    RGB(166, 202, 240),  // GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // MENUHILIGHT
    RGB(212, 208, 200),  // MENUBAR
};

// The Luna "NormalColor" scheme, in force while themes are active.
constexpr std::array<COLORREF, kCount> kLuna = {
    RGB(212, 208, 200),  // SCROLLBAR
    RGB(0, 78, 152),     // BACKGROUND
    RGB(0, 84, 227),     // ACTIVECAPTION
    RGB(122, 150, 223),  // INACTIVECAPTION
    RGB(255, 255, 255),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(0, 0, 0),        // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(255, 255, 255),  // CAPTIONTEXT
    RGB(212, 208, 200),  // ACTIVEBORDER
    RGB(212, 208, 200),  // INACTIVEBORDER
    RGB(128, 128, 128),  // APPWORKSPACE
    RGB(49, 106, 197),   // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(236, 233, 216),  // BTNFACE
    RGB(172, 168, 153),  // BTNSHADOW
    RGB(172, 168, 153),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(216, 228, 248),  // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(113, 111, 100),  // 3DDKSHADOW
    RGB(241, 239, 226),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(181, 181, 181),  // 25 (unused slot)
    RGB(0, 0, 128),      // HOTLIGHT
    RGB(61, 149, 255),   // GRADIENTACTIVECAPTION
    RGB(157, 185, 235),  // GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // MENUHILIGHT
    RGB(236, 233, 216),  // MENUBAR
};

// Each look keeps its own colours: switching themes on or off switches the scheme, and
// SetSysColors changes the scheme in force.
std::array<COLORREF, kCount>& Scheme(bool luna) {
  static std::array<COLORREF, kCount> classicColors = kDefault;
  static std::array<COLORREF, kCount> lunaColors = kLuna;
  return luna ? lunaColors : classicColors;
}
std::array<COLORREF, kCount>& Colors() { return Scheme(IsThemeActive() != FALSE); }

HBRUSH& BrushSlot(int index) {
  static std::array<HBRUSH, kCount> brushes{};
  return brushes[std::size_t(index)];
}
}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kCount) return 0;
  return Colors()[std::size_t(index)];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kCount) return nullptr;
  HBRUSH& slot = BrushSlot(index);
  if (!slot) {
    auto b = std::make_shared<Brush>();
    b->style = BS_SOLID;
    b->sysColorIndex = index;
    b->stock = true;
    slot = ToHandle<HBRUSH>(Register(b));
  }
  return slot;
}

BOOL SetSysColors(int count, const INT* indexes, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indexes || !colors))) return FALSE;
  for (int i = 0; i < count; ++i)
    if (indexes[i] >= 0 && indexes[i] < kCount) Colors()[std::size_t(indexes[i])] = colors[i] & 0xFFFFFF;
  return TRUE;
}

void ResetSysColors() {
  Scheme(false) = kDefault;
  Scheme(true) = kLuna;
}
