// VivIzizEzu, the routines that ask the window system: the screen's font list for the
// drawing primitives and the two focus routines (apart from the drawing sources because
// the window system's headers and the GDI+ layer cannot share a source file).
#include <string>

#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"
#include "toolbar/VivIzizEzu.h"

namespace VivIzizEzu {

bool ScreenHasFont(const std::string& Name) { return Screen && Screen->Fonts()->IndexOf(Name) >= 0; }

void RemoveUnfocusableControls(TList* List) {
  if (!List) return;
  for (int i = 0; i < List->Count();) {
    auto* item = static_cast<TObject*>(List->Get(i));
    auto* windowed = dynamic_cast<TWinControl*>(item);
    bool remove = dynamic_cast<THintWindow*>(item) || (item && item->InheritsFrom("TVivIzizEzuContainer")) ||
                  (windowed && !windowed->CanFocus());
    if (remove) List->Delete(i);
    else ++i;
  }
}

bool IsFocusInsidePager(TWinControl* Pager) {
  if (!Pager || !Pager->Enabled() || !Pager->HandleAllocated()) return false;
  HWND target = Pager->Handle();
  HWND w = GetFocus();
  w = w ? GetParent(w) : nullptr;
  for (int steps = 0; w && steps < 50; ++steps, w = GetParent(w))
    if (w == target) return true;
  return false;
}

}  // namespace VivIzizEzu
