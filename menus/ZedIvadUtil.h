#pragma once
// ZedIvadUtil: the small kit the owner-drawn menus draw with — rectangle arithmetic,
// colour splitting into components and scan-line elements, a rotated copy of a font for
// the side-bar caption, layered-window switches — and the colour-scheme probe with its
// theme notifier that the office-look stylers follow.
//
// Rectangles are half-open (right and bottom excluded); integer division truncates.
#include <cstdint>

#include "foundation/DizStyleIF.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

namespace ZedIvadUtil {

int RectWidth(const TRect& R);
int RectHeight(const TRect& R);
// The midpoint, halves truncated.
TPoint CenterPoint(const TRect& R);
// Keeps R's centre and gives it the size Width x Height.
void CenterRect(TRect& R, int Width, int Height);
// Both corners of A lie inside B (B's right and bottom edges excluded).
bool RectInRect(const TRect& A, const TRect& B);
// (0, 0, width, height); empty for nullptr.
TRect BitmapRect(TBitmap* Bitmap);
// The components of a colour, system colours resolved first.
void ColorToRGBVal(TColor Color, BYTE& R, BYTE& G, BYTE& B);
// Blue, green, red, as a 24-bit scan line holds them.
void ColorTo24bitScanLineElement(TColor Color, BYTE (&Bytes)[3]);
// Red and blue swapped, the other bytes kept.
uint32_t ColorTo32bitScanLineElement(TColor Color);
// A in the top byte.
uint32_t RGB(BYTE R, BYTE G, BYTE B, BYTE A);
inline int Min(int A, int B) { return A < B ? A : B; }
inline int Max(int A, int B) { return A > B ? A : B; }
// A new font handle with the font's settings at Angle degrees (the caller deletes it).
HFONT CreateRotatedFont(TFont* Font, int Angle);
// Whether the system offers layered windows; SetWindowLayered adds or removes the
// extended style and answers true.
bool SupportsLayeredWindows();
bool SetWindowLayered(HWND Window, bool On);

}  // namespace ZedIvadUtil

// ---- colour-scheme probe ---------------------------------------------------------------
// The number of the active colour scheme: 1 "NormalColor", 2 "HomeStead", 3 "Metallic",
// 0 for no visual style, an older system, a missing theme library or entry point, or any
// other scheme name (compared with case). Nothing is cached.
BYTE GetXPColorScheme();

// A zero-size child control that reports the system's theme change. It reports only
// while it has a window (a parent whose window exists); WM_THEMECHANGED always goes on
// to the inherited handling.
class TNotifierWindow : public TWinControl {
  LORM_PUBLISHED(TNotifierWindow, TWinControl)
public:
  explicit TNotifierWindow(TComponent* AOwner);
  TNotifyEvent OnThemeChange;
  void WndProc(TMessage& Message) override;
};

// Wires a notifier for a styler: owned by the styler, parented to the first windowed
// control up the styler's owner chain (none: it stays parentless and never reports).
TNotifierWindow* CreateThemeNotifier(TComponent* Styler, TNotifyEvent OnThemeChange);
