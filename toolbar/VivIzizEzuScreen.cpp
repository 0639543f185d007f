// VivIzizEzu, the screen's font list for the drawing primitives (apart because the
// window system's headers and the GDI+ layer cannot share a source file).
#include <string>

#include "platform/vcl/Forms.h"

namespace VivIzizEzu {

bool ScreenHasFont(const std::string& Name) { return Screen && Screen->Fonts()->IndexOf(Name) >= 0; }

}  // namespace VivIzizEzu
