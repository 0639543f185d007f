#include "platform/vcl/Component.h"

#include <algorithm>

#include "platform/vcl/TypInfo.h"

bool IsValidIdent(const std::string& Ident) {
  if (Ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(Ident[0])) return false;
  for (char c : Ident)
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

// ---------------------------------------------------------------------------------------
// Which Notification an object reaches. Its owner skips it when that is a plain one and
// the object's state makes the call change nothing. The function reached is read from the
// object with the compiler's bound member function extension; elsewhere every component
// is told, as without the skip.
namespace {
using TNotificationFn = void (*)(TComponent*, TComponent*, TOperation);
std::vector<TNotificationFn>& PlainNotifications() {
  static std::vector<TNotificationFn> list;
  return list;
}
}  // namespace

#if defined(__GNUC__) && !defined(__clang__)
#define LORM_NOTIFICATION_OF(c) ((TNotificationFn)((c)->*(&TComponent::Notification)))
#endif

void TComponent::DeclarePlainNotification(TComponent* Self) {
#ifdef LORM_NOTIFICATION_OF
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
  TNotificationFn fn = LORM_NOTIFICATION_OF(Self);
#pragma GCC diagnostic pop
  auto& list = PlainNotifications();
  if (std::find(list.begin(), list.end(), fn) == list.end()) list.push_back(fn);
#else
  (void)Self;
#endif
}

bool TComponent::IgnoresOwnerNotifications() {
#ifdef LORM_NOTIFICATION_OF
  if (FOwnerNotices || !FComponents.empty() || !FFreeNotifies.empty()) return false;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
  TNotificationFn fn = LORM_NOTIFICATION_OF(this);
#pragma GCC diagnostic pop
  const auto& list = PlainNotifications();
  return std::find(list.begin(), list.end(), fn) != list.end();
#else
  return false;
#endif
}

void TComponent::NeedOwnerNotifications() {
  FOwnerNotices = true;
  Wake();
}

void TComponent::Wake() {
  if (!FQuiet) return;
  FQuiet = false;
  if (FOwner) FOwner->RebuildListeners();
}

void TComponent::RebuildListeners() {
  FListeners.clear();
  for (TComponent* c : FComponents)
    if (!c->FQuiet) FListeners.push_back(c);
}

TComponent::TComponent(TComponent* AOwner) {
  // Here the object is a plain TComponent: its Notification is the base one.
  static const bool declared = (DeclarePlainNotification(this), true);
  (void)declared;
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell the components that asked for it; each forgets this one.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = other->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* instance = FComponents.back();
    if (instance->FComponentState.Contains(csFreeNotification)) RemoveComponent(instance);
    else Remove(instance);
    delete instance;
  }
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  int cur = ComponentIndex();
  if (cur < 0) return;
  int last = static_cast<int>(list.size()) - 1;
  Value = std::clamp(Value, 0, last);
  if (Value == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + Value, this);
  ++FOwner->FComponentsVersion;
  FOwner->RebuildListeners();
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  else ValidateRename(nullptr, FName, NewName);
  // The owner's published field follows the name (a form's field named after it).
  if (FOwner) ClearFieldReference(FOwner, this);
  ChangeName(NewName);
  if (FOwner && FOwner->ClassType()->TypeInfo && !FName.empty())
    if (const TFieldInfo* f = FindFieldInfo(FOwner->ClassType(), FName)) f->Set(FOwner, this);
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent && !NewName.empty() && !SameTextAscii(CurName, NewName)) {
    TComponent* other = FindComponent(NewName);
    if (other && other != AComponent)
      throw EComponentError("A component named " + NewName + " already exists");
  }
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameTextAscii(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  ++FComponentsVersion;
  AComponent->FOwner = this;
  AComponent->FQuiet = false;
  FListeners.push_back(AComponent);
  Wake();  // an owner passes notifications on to what it owns
}

void TComponent::Remove(TComponent* AComponent) {
  // Components are mostly freed last first: look from the end.
  auto it = std::find(FComponents.rbegin(), FComponents.rend(), AComponent);
  if (it != FComponents.rend()) FComponents.erase(std::next(it).base());
  ++FComponentsVersion;
  AComponent->FOwner = nullptr;
  if (!AComponent->FQuiet) {
    auto l = std::find(FListeners.rbegin(), FListeners.rend(), AComponent);
    if (l != FListeners.rend()) FListeners.erase(std::next(l).base());
  }
  AComponent->FQuiet = false;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  ValidateRename(AComponent, "", AComponent->FName);
  ValidateInsert(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  if (!FComponentState.Contains(csDestroying)) ClearFieldReference(this, AComponent);
  Remove(AComponent);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Pass it on to the owned components. A handler may free or add components: walk a copy
  // and, once the list has changed, skip those already gone. Components the call would not
  // change are left out of the listeners as they are met (the component the notification
  // is about may still be under construction, so it is not judged).
  if (FListeners.empty()) return;
  std::vector<TComponent*> list = FListeners;
  unsigned version = FComponentsVersion;
  bool quieted = false;
  for (TComponent* c : list) {
    if (FComponentsVersion != version &&
        std::find(FComponents.begin(), FComponents.end(), c) == FComponents.end())
      continue;
    if (c->FQuiet) continue;
    if (c != AComponent && c->IgnoresOwnerNotifications()) {
      c->FQuiet = true;
      quieted = true;
      continue;
    }
    c->Notification(AComponent, Operation);
  }
  if (quieted)
    FListeners.erase(std::remove_if(FListeners.begin(), FListeners.end(), [](TComponent* c) { return c->FQuiet; }),
                     FListeners.end());
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (FOwner == nullptr || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
      FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
      AComponent->FFreeNotifies.push_back(this);
    Wake();
    AComponent->Wake();
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                      FFreeNotifies.end());
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::SetSubComponent(bool IsSubComponent) {
  if (IsSubComponent) FComponentStyle.Include(csSubComponent);
  else FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value) {
  if (Value) FComponentState.Include(csInline);
  else FComponentState.Exclude(csInline);
}

void TComponent::SetLoading(bool Value) {
  if (Value) FComponentState.Include(csLoading);
  else FComponentState.Exclude(csLoading);
}

void TComponent::SetReading(bool Value) {
  if (Value) FComponentState.Include(csReading);
  else FComponentState.Exclude(csReading);
}

void TComponent::SetWriting(bool Value) {
  if (Value) FComponentState.Include(csWriting);
  else FComponentState.Exclude(csWriting);
}

void TComponent::SetAncestor(bool Value) {
  if (Value) FComponentState.Include(csAncestor);
  else FComponentState.Exclude(csAncestor);
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (Root != this) return;
  std::vector<TComponent*> list = FComponents;
  for (TComponent* c : list)
    if (!c->HasParent() && !c->FComponentStyle.Contains(csSubComponent)) Proc(c);
}

// ---------------------------------------------------------------------------------------
TCollectionItem::TCollectionItem(TCollection* Collection) {
  if (Collection) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  if (FCollection && Index() != Value) {
    FCollection->MoveItem(this, Value);
    Changed(true);
  }
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

std::string TCollectionItem::GetNamePath() {
  if (FCollection) return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
  return ClassName();
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------------------
TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no change notifications while tearing down
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    FItems.pop_back();
    item->FCollection = nullptr;
    delete item;
  }
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add() {
  if (!FItemClass.Create) throw EInvalidOperation(std::string("Cannot create items of ") + ClassName());
  TCollectionItem* item = FItemClass.Create(this);
  if (item->FCollection != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) {
      TCollectionItem* item = FItems.back();
      Notify(item, cnDeleting);
      delete item;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::Exchange(int Index1, int Index2) {
  Items(Index1);
  Items(Index2);
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCollection*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : src->FItems) Add()->Assign(item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

std::string TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  std::string path = owner->GetNamePath();
  if (path.empty()) return ClassName();
  return FPropName.empty() ? path : path + "." + FPropName;
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  // Searched from the end: freeing a collection from its last item on stays linear.
  auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
  if (it != FItems.rend()) FItems.erase(std::next(it).base());
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::MoveItem(TCollectionItem* Item, int NewIndex) {
  int cur = Item->Index();
  if (NewIndex < 0 || NewIndex >= Count())
    throw EListError("List index out of bounds (" + std::to_string(NewIndex) + ")");
  FItems.erase(FItems.begin() + cur);
  FItems.insert(FItems.begin() + NewIndex, Item);
}
