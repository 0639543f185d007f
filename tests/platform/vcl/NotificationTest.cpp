// An owner's notifications among many plain components: those that may act on them hear
// them in the owner's order, also after the plain ones were left out and after a plain one
// took on something to watch.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"

namespace {

std::vector<std::string> gHeard;

class TRecorder : public TComponent {
public:
  TRecorder(TComponent* AOwner, std::string Tag) : TComponent(AOwner), FTag(std::move(Tag)) {}
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    gHeard.push_back(FTag + (Operation == opInsert ? " insert " : " remove ") + AComponent->Name());
  }

private:
  std::string FTag;
};

class TPlainControl : public TGraphicControl {
public:
  using TGraphicControl::TGraphicControl;
};

TComponent* Named(TComponent* c, const std::string& name) {
  c->SetName(name);
  return c;
}

TEST(OwnerNotifications, ReachListenersInOrderAfterPlainComponentsAreLeftOut) {
  auto owner = std::make_unique<TComponent>(nullptr);
  new TRecorder(owner.get(), "A");
  std::vector<TComponent*> plain;
  for (int i = 0; i < 30; ++i) plain.push_back(new TComponent(owner.get()));
  auto* b = new TRecorder(owner.get(), "B");
  delete Named(new TComponent(owner.get()), "X");  // the plain ones have now been met
  // A plain component that comes to own a listener passes notifications on again.
  new TRecorder(plain[10], "C");
  gHeard.clear();
  TComponent* n = Named(new TComponent(owner.get()), "N");
  EXPECT_EQ(gHeard, (std::vector<std::string>{"A insert ", "C insert ", "B insert "}));
  gHeard.clear();
  b->SetComponentIndex(0);
  delete n;
  EXPECT_EQ(gHeard, (std::vector<std::string>{"B remove N", "A remove N", "C remove N"}));
}

TEST(OwnerNotifications, PlainControlForgetsItsPopupMenuFreedBySameOwner) {
  auto owner = std::make_unique<TComponent>(nullptr);
  std::vector<TPlainControl*> controls;
  for (int i = 0; i < 30; ++i) controls.push_back(new TPlainControl(owner.get()));
  auto* menu = new TComponent(owner.get());
  auto* other = new TComponent(owner.get());
  delete new TComponent(owner.get());  // the controls have now been met and left out
  controls[7]->SetPopupMenu(menu);
  controls[9]->SetPopupMenu(other);
  delete new TComponent(owner.get());
  delete menu;
  EXPECT_EQ(controls[7]->PopupMenu(), nullptr);
  EXPECT_EQ(controls[9]->PopupMenu(), other);
}

}  // namespace
