// Dialog base units from the system font.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/win/WinUser.h"

LONG GetDialogBaseUnits() {
  // The average width of the 52 Latin letters in the system font, rounded as the system
  // rounds it, and the font's height.
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  SIZE size{};
  TEXTMETRIC tm{};
  GetTextExtentPoint32(dc, kLetters, 52, &size);
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  DeleteDC(dc);
  const int width = (size.cx / 26 + 1) / 2;
  const int height = tm.tmHeight;
  return static_cast<LONG>(((height & 0xFFFF) << 16) | (width & 0xFFFF));
}
