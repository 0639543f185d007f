#pragma once
// Drawing helpers the label family's controls paint with. They draw the plain (unthemed)
// look; the theme-style bookkeeping holds nothing, so a parent background is never asked
// for through it.
#include <optional>

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

enum TThemeStyleItem { tsWantParentBackgroundUnused, tsNeedsParentBackground };
using TThemeStyle = TSet<TThemeStyleItem>;

// Fills Rect with the canvas brush's colour.
void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect,
                          bool NeedsParentBackground = true);
// Fills Rect with Color; the canvas brush colour is the same afterwards.
void DrawThemedBackground(TControl* Control, TCanvas* Canvas, const TRect& Rect, TColor Color,
                          bool NeedsParentBackground = true);
void DrawThemedBackground(TControl* Control, HDC DC, const TRect& Rect, HBRUSH Brush,
                          bool NeedsParentBackground = true);
BOOL DrawThemedFrameControl(TControl* Control, HDC DC, const TRect& Rect, UINT FrameType,
                            UINT FrameState);
// Has the control's parent erase its background into DC, with the DC's origin moved so
// that the control's (0, 0) lands on the control's place in the parent (Offset, or the
// control's Left and Top), clipped to Rect when one is given. The DC's origin and clip
// are as before afterwards, also when the parent's handler raises.
void PerformEraseBackground(TControl* Control, HDC DC, TPoint Offset,
                            const std::optional<TRect>& Rect = std::nullopt);
void PerformEraseBackground(TControl* Control, HDC DC, const std::optional<TRect>& Rect = std::nullopt);
TRect DrawThemedButtonFace(TControl* Control, TCanvas* Canvas, const TRect& Client, int BevelWidth,
                           TButtonStyle Style, bool IsRounded, bool IsDown, bool IsFocused, bool IsHot);
// Whether the mouse cursor is inside the control's client rectangle (right and bottom
// edges outside).
bool IsMouseOver(TControl* Control);
TThemeStyle GetThemeStyle(TControl* Control);
void IncludeThemeStyle(TControl* Control, TThemeStyle Style);
void ExcludeThemeStyle(TControl* Control, TThemeStyle Style);
bool GetParentBackground(TWinControl* Control);
// True invalidates the control and changes nothing else; False does nothing.
void SetParentBackground(TWinControl* Control, bool Value);
