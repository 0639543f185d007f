// The grid's side of in-place editing (placeholder until the masked edit is in).
#include "platform/vcl/Grids.h"
#include "platform/vcl/GridsInternal.h"

bool TCustomGrid::CanEditShow() {
  TGridOptions o = FOptions;
  return o.Contains(goEditing) && !o.Contains(goRowSelect) && FEditorMode &&
         !FComponentState.Contains(csDesigning) && HandleAllocated() &&
         (o.Contains(goAlwaysShowEditor) || IsActiveControl());
}
TInplaceEdit* TCustomGrid::CreateEditor() { return nullptr; }
void TCustomGrid::ShowEditor() {
  FEditorMode = true;
  UpdateEdit();
}
void TCustomGrid::ShowEditorChar(char32_t) { ShowEditor(); }
void TCustomGrid::HideEditor() {
  FEditorMode = false;
  HideEdit();
}
void TCustomGrid::SetEditorMode(bool Value) {
  if (!Value) HideEditor();
  else ShowEditor();
}
void TCustomGrid::InvalidateEditor() {
  FInplaceCol = -1;
  FInplaceRow = -1;
  UpdateEdit();
}
void TCustomGrid::UpdateEdit() {}
void TCustomGrid::HideEdit() {}
void TCustomGrid::UpdateText() {}
void TCustomGrid::EditorFollowCell() {}
void TCustomGrid::DetachEditor(TInplaceEdit*) {}
bool TCustomGrid::EditorHasWindow(HWND) const { return false; }
void TCustomGrid::HideEditorWindow() {}
