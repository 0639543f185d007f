#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/vcl/Component.h"

namespace {

// Holds a reference to another component and forgets it when that one goes.
class TReferrer : public TComponent {
  LORM_CLASS(TReferrer, TComponent)
public:
  using TComponent::TComponent;
  TComponent* Target = nullptr;
  std::vector<std::string> Log;
  void SetTarget(TComponent* Value) {
    if (Target) Target->RemoveFreeNotification(this);
    Target = Value;
    if (Target) Target->FreeNotification(this);
  }
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Log.push_back((Operation == opInsert ? "insert " : "remove ") + AComponent->Name());
    if (Operation == opRemove && AComponent == Target) Target = nullptr;
  }
};

TEST(ComponentTest, OwnerFreesOwnedComponentsAndSiblingsHearRemoval) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TReferrer(owner);
  a->SetName("A");
  auto* b = new TComponent(owner);
  b->SetName("B");
  a->SetTarget(b);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("b"), b);

  delete b;  // a sibling of the same owner: told through the owner
  EXPECT_EQ(a->Target, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(a->Log.back(), "remove B");
  delete owner;  // frees a; ASan catches a double free or leak
}

TEST(ComponentTest, FreeNotificationAcrossOwnersClearsReference) {
  TComponent ownerA(nullptr), ownerB(nullptr);
  auto* referrer = new TReferrer(&ownerA);
  auto* target = new TComponent(&ownerB);
  target->SetName("T");
  referrer->SetTarget(target);
  delete target;
  EXPECT_EQ(referrer->Target, nullptr);

  // After RemoveFreeNotification the referrer is no longer told (and is not left dangling).
  auto* other = new TComponent(&ownerB);
  other->SetName("O");
  referrer->SetTarget(other);
  referrer->SetTarget(nullptr);
  referrer->Log.clear();
  delete other;
  EXPECT_TRUE(referrer->Log.empty());

  // The referrer dies first: the target must not call it later.
  auto* t2 = new TComponent(&ownerB);
  referrer->SetTarget(t2);
  delete referrer;
  delete t2;
}

TEST(ComponentTest, NamesAreValidatedAndUniquePerOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Button1");
  auto* b = new TComponent(&owner);
  struct Case { const char* name; const char* message; };
  for (const Case& c : {Case{"1abc", "'1abc' is not a valid component name"},
                        Case{"a b", "'a b' is not a valid component name"},
                        Case{"Имя", "'Имя' is not a valid component name"},
                        Case{"BUTTON1", "A component named BUTTON1 already exists"}}) {
    try {
      b->SetName(c.name);
      ADD_FAILURE() << c.name;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  EXPECT_EQ(b->Name(), "");
  b->SetName("_Button_2");
  a->SetName("BUTTON1");  // renaming itself with another case is fine
  EXPECT_EQ(a->Name(), "BUTTON1");
}

TEST(ComponentTest, InsertComponentMovesBetweenOwnersWithNotifications) {
  TReferrer first(nullptr), second(nullptr);
  auto* c = new TComponent(&first);
  c->SetName("C");
  second.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  // Inserted by the constructor before it had a name.
  EXPECT_EQ(first.Log, (std::vector<std::string>{"insert ", "remove C"}));
  EXPECT_EQ(second.Log, (std::vector<std::string>{"insert C"}));
}

TEST(ComponentTest, StateAndLoaded) {
  TComponent c(nullptr);
  c.SetLoading(true);
  EXPECT_TRUE(c.ComponentState().Contains(csLoading));
  c.Loaded();
  EXPECT_FALSE(c.ComponentState().Contains(csLoading));
  c.SetSubComponent(true);
  EXPECT_TRUE(c.ComponentStyle().Contains(csSubComponent));
  auto* child = new TComponent(&c);
  c.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

// ---------------------------------------------------------------------------------------
class TTestItem : public TCollectionItem {
  LORM_CLASS(TTestItem, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  int Value = 0;
  void Touch() { Changed(false); }
};

class TTestCollection : public TOwnedCollection {
  LORM_CLASS(TTestCollection, TOwnedCollection)
public:
  explicit TTestCollection(TPersistent* Owner) : TOwnedCollection(Owner, ItemClassOf<TTestItem>()) {}
  std::vector<TCollectionItem*> Updates;
protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
};

TEST(CollectionTest, FreeingAnItemRemovesIt) {
  TComponent owner(nullptr);
  TTestCollection coll(&owner);
  auto* a = static_cast<TTestItem*>(coll.Add());
  auto* b = static_cast<TTestItem*>(coll.Add());
  auto* c = static_cast<TTestItem*>(coll.Add());
  EXPECT_EQ(coll.Count(), 3);
  EXPECT_EQ(c->Index(), 2);
  delete b;
  ASSERT_EQ(coll.Count(), 2);
  EXPECT_EQ(coll.Items(1), c);
  EXPECT_EQ(c->Index(), 1);
  c->SetIndex(0);
  EXPECT_EQ(coll.Items(0), c);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(coll.GetOwner(), &owner);
  EXPECT_THROW(coll.Items(5), EListError);
  coll.Delete(0);
  EXPECT_EQ(coll.Count(), 1);
  EXPECT_EQ(coll.Items(0), a);
}

TEST(CollectionTest, UpdatesAreHeldBetweenBeginAndEndUpdate) {
  TTestCollection coll(nullptr);
  auto* a = static_cast<TTestItem*>(coll.Add());
  coll.Updates.clear();
  a->Touch();
  ASSERT_EQ(coll.Updates.size(), 1u);
  EXPECT_EQ(coll.Updates[0], a);
  coll.Updates.clear();
  coll.BeginUpdate();
  coll.Add();
  a->Touch();
  coll.Clear();
  EXPECT_TRUE(coll.Updates.empty());
  coll.EndUpdate();
  ASSERT_EQ(coll.Updates.size(), 1u);
  EXPECT_EQ(coll.Updates[0], nullptr);
  EXPECT_EQ(coll.Count(), 0);
}

TEST(CollectionTest, ItemMovesBetweenCollectionsAndAssignNeedsItemAssign) {
  TTestCollection one(nullptr), two(nullptr);
  auto* a = one.Add();
  a->SetCollection(&two);
  EXPECT_EQ(one.Count(), 0);
  EXPECT_EQ(two.Count(), 1);
  EXPECT_EQ(a->Collection(), &two);
  two.Add();
  // Items of TTestItem have no Assign of their own: copying reports the framework error.
  EXPECT_THROW(one.Assign(&two), EConvertError);
  TTestCollection empty(nullptr);
  EXPECT_NO_THROW(two.Assign(&empty));
  EXPECT_EQ(two.Count(), 0);
}

}  // namespace
