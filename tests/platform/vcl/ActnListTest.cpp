// Actions: links to controls and menu items, groups, updates and shortcuts of a list.
#include <gtest/gtest.h>

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"

namespace {

class TPlainControl : public TControl {
public:
  explicit TPlainControl(TComponent* AOwner) : TControl(AOwner) {}
};

TEST(Actions, LinksFollowTheActionWhileTheirValueIsTheActions) {
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* action = new TAction(&owner);
  action->SetActionList(list);
  action->SetCaption("Пересчитать");
  int runs = 0;
  action->OnExecute = [&](TObject*) { ++runs; };
  auto* control = new TPlainControl(&owner);
  control->SetAction(action);
  auto* item = new TMenuItem(&owner);
  item->SetAction(action);
  EXPECT_EQ(control->Caption(), "Пересчитать");
  EXPECT_EQ(item->Caption(), "Пересчитать");
  action->SetEnabled(false);
  EXPECT_FALSE(control->Enabled());
  EXPECT_FALSE(item->Enabled());
  control->Click();  // disabled: nothing runs
  action->SetEnabled(true);
  control->Click();
  item->Click();
  EXPECT_EQ(runs, 2);
  // A caption of its own stops following the action.
  item->SetCaption("Свой");
  action->SetCaption("Другой");
  EXPECT_EQ(item->Caption(), "Свой");
  EXPECT_EQ(control->Caption(), "Другой");
  EXPECT_TRUE(item->IsCaptionStored());
  // Freeing the action clears the links.
  delete action;
  EXPECT_EQ(control->Action(), nullptr);
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(list->ActionCount(), 0);
}

TEST(Actions, GroupsAutoCheckAndUpdates) {
  TComponent owner(nullptr);
  auto* list = new TActionList(&owner);
  auto* a = new TAction(&owner);
  auto* b = new TAction(&owner);
  auto* idle = new TAction(&owner);
  for (TAction* x : {a, b, idle}) x->SetActionList(list);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetAutoCheck(true);
  b->SetAutoCheck(true);
  a->OnExecute = [](TObject*) {};
  b->OnExecute = [](TObject*) {};
  a->Execute();
  EXPECT_TRUE(a->Checked());
  b->Execute();
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  // Without any handler the action disables itself at update.
  list->UpdateActions();
  EXPECT_FALSE(idle->Enabled());
  int updates = 0;
  a->OnUpdate = [&](TObject*) { ++updates; };
  list->SetState(asSuspended);
  list->UpdateActions();
  EXPECT_EQ(updates, 0);
  list->SetState(asNormal);
  list->UpdateActions();
  EXPECT_EQ(updates, 1);
  // The list's own OnExecute handles before the action's.
  bool listSaw = false;
  list->OnExecute = [&](TBasicAction* act, bool& handled) {
    listSaw = act == b;
    handled = true;
  };
  b->Execute();
  EXPECT_TRUE(listSaw);
}

}  // namespace
