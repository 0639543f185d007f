#include "platform/gdi/SysColors.h"

#include <array>

#include "platform/gdi/GdiInternal.h"

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

std::array<COLORREF, kCount>& Colors() {
  static std::array<COLORREF, kCount> colors = kDefault;
  return colors;
}

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

void ResetSysColors() { Colors() = kDefault; }
