#pragma once
// Recording controls that register with a tool bar styler the way dock panels, tool bars
// and ribbon pagers do, for the tests of the tool bar styling.
#include <functional>
#include <vector>

#include "platform/vcl/Controls.h"
#include "toolbar/VivIzizEzu.h"

namespace toolbar_test {

using namespace VivIzizEzu;

class TRecordingControl : public TCustomControl, public IVivIzizEzuStylerClient {
  LORM_CLASS(TRecordingControl, TCustomControl)
public:
  TRecordingControl(TComponent* AOwner, TStylerClientKind Kind) : TCustomControl(AOwner), FKind(Kind) {}
  ~TRecordingControl() override {
    if (FStyler) FStyler->RemoveControl(this);
  }

  TStylerClientKind StylerClientKind() const override { return FKind; }
  void UpdateMe(int Kind) override {
    Kinds.push_back(Kind);
    if (OnUpdate) OnUpdate(Kind);
  }
  IVivIzizEzuStylerClient* CompactToolBar() override { return Compact; }
  TCustomVivIzizEzuStyler* ToolBarStyler() const override { return FStyler; }
  // As the dock panel does: unregister from the previous styler, register with the new.
  void SetToolBarStyler(TCustomVivIzizEzuStyler* Value) override {
    if (Value == FStyler) return;
    if (FStyler) FStyler->RemoveControl(this);
    FStyler = Value;
    if (FStyler) FStyler->AddControl(this);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == FStyler) {
      SetToolBarStyler(nullptr);  // falls back to the internal styler
      LostStyler = true;
    }
  }

  std::vector<int> Kinds;
  std::function<void(int)> OnUpdate;
  IVivIzizEzuStylerClient* Compact = nullptr;
  bool LostStyler = false;

private:
  TStylerClientKind FKind;
  TCustomVivIzizEzuStyler* FStyler = nullptr;
};

}  // namespace toolbar_test
