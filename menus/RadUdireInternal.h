#pragma once
// RadUdire internals: text drawn through the GDI+ object layer. Kept apart from the
// window-system headers, which the GDI+ object layer does not share a translation unit with.
#include <string>

#include "foundation/DizAntiAlias.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Types.h"

namespace radudire_internal {

enum TTextAlign { taNear, taCentre, taFar };

// Text in the face and point size given (regular style), not wrapped, hot-key prefix shown.
void DrawAntiAliasedText(HDC Dc, TAntiAlias Mode, const std::string& Text, const std::string& FontName, int FontSize,
                         TColor Color, const TRect& R, TTextAlign Horizontal, TTextAlign Vertical);
// The height GDI+ measures for "gh" in that face and size.
float AntiAliasedTextHeight(HDC Dc, const std::string& FontName, int FontSize);

}  // namespace radudire_internal
