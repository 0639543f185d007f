#pragma once
// DovAvarOrodez internals shared by its source files.
#include "menus/DovAvarOrodez.h"

namespace glowdraw {
// The RGB of a colour: system colours resolved, other values by their low three bytes
// (so clNone paints as white, as the glow presets expect).
COLORREF ResolveColor(TColor Color);
// The opaque GDI+ colour of ResolveColor.
ARGB ARGBOf(TColor Color);
}  // namespace glowdraw
