#pragma once
// The component model: TComponent (ownership, names, state, loading and free
// notification) and collections of persistent items (TCollection, TCollectionItem,
// TOwnedCollection).
//
// Destruction: a component frees the components it owns. A descendant whose owned
// components must go while its own part is still alive (a form whose controls refer to
// it) calls Destroying() and DestroyComponents() at the start of its destructor.
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

enum TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleItem>;

enum TOperation { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  LORM_CLASS(TComponent, TPersistent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  const std::vector<TComponent*>& ComponentList() const { return FComponents; }
  int ComponentIndex() const;
  void SetComponentIndex(int Value);

  const std::string& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier ("'%s' is not a valid
  // component name") or that another component of the owner has ("A component named
  // %s already exists"); names compare case-insensitively.
  virtual void SetName(const std::string& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  // Marks a component owned by another object as part of it (written with its owner's
  // properties, not as a component of its own).
  void SetSubComponent(bool IsSubComponent);
  // Designing state; tests set it to reach design-time rules.
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);

  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();

  // AComponent will tell this component (through Notification opRemove) when it is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks: the parent in the stored form (controls override these), and the
  // children written inside this component's object block.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}
  // The base lists, for the root, the owned components that have no parent.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  // Components nested in the stored form are read with this as their parent; the
  // default is this component itself.
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }

  TPersistent* GetOwner() override { return FOwner; }
  std::string GetNamePath() override { return FName; }

  // The loading state; the form reader sets it and calls Loaded once per component after
  // the whole stream. The base Loaded clears csLoading.
  void SetLoading(bool Value);
  void SetReading(bool Value);
  void SetWriting(bool Value);
  void SetAncestor(bool Value);
  virtual void Loaded();

  // Another component was inserted into or removed from the owner, or a component this
  // one asked for free notification is being freed. The base forgets a removed free
  // notification and passes the call to the owned components.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

protected:
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  virtual void ChangeName(const std::string& NewName) { FName = NewName; }
  virtual void SetChildOrder(TComponent* Child, int Order) {}

  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};

  // For subclasses whose Notification adds nothing to the base's except what
  // NeedOwnerNotifications covers: called in their constructor, it records the
  // Notification this object reaches now as one that only does that.
  static void DeclarePlainNotification(TComponent* Self);
  // This component reacts to its owner's notifications whatever its links and owned
  // components (it holds a reference that the base does not know of).
  void NeedOwnerNotifications();

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  // True when a notification passed on from the owner would change nothing here: the
  // Notification reached is a plain one, and there are no links, no owned components and
  // no reference set aside by NeedOwnerNotifications.
  bool IgnoresOwnerNotifications();
  // Joins the owner's listeners again after being found to ignore notifications.
  void Wake();
  void RebuildListeners();

  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  unsigned FComponentsVersion = 0;  // changes whenever FComponents does
  std::vector<TComponent*> FFreeNotifies;
  // The owned components that notifications are passed on to, in FComponents order: all
  // of them except those found (when a notification reached them) to ignore such
  // notifications, so that a notification costs the number of components that care.
  std::vector<TComponent*> FListeners;
  bool FQuiet = false;          // left out of the owner's FListeners
  bool FOwnerNotices = false;   // NeedOwnerNotifications was called
};

// True for a valid component name: a letter or '_' followed by letters, digits or '_'.
bool IsValidIdent(const std::string& Ident);

// ---------------------------------------------------------------------------------------
// Collections.
class TCollection;
class TCollectionItem;

using TCollectionItemFactory = TCollectionItem* (*)(TCollection* Collection);
// The class of a collection's items together with how to create one.
struct TCollectionItemClass {
  TClass Class = nullptr;
  TCollectionItemFactory Create = nullptr;
};
template <class T>
TCollectionItemClass ItemClassOf() {
  return {T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  LORM_CLASS(TCollectionItem, TPersistent)
public:
  // Inserts the new item at the end of Collection (when not null).
  explicit TCollectionItem(TCollection* Collection);
  // Freeing an item removes it from its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string& Value) { Changed(false); }
  TPersistent* GetOwner() override;
  std::string GetNamePath() override;

protected:
  // Tells the collection that this item (AllItems false) or every item changed.
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  LORM_CLASS(TCollection, TPersistent)
public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* operator[](int Index) const { return Items(Index); }
  const std::vector<TCollectionItem*>& ItemList() const { return FItems; }

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  void Exchange(int Index1, int Index2);
  void Assign(TPersistent* Source) override;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  std::string GetNamePath() override;
  // The property name of this collection in its owner, for GetNamePath.
  void SetPropName(const std::string& Value) { FPropName = Value; }

protected:
  // Item changed (null: the whole collection); called outside BeginUpdate/EndUpdate.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  void Changed();

private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, int NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  std::string FPropName;
};

// A collection that names its owner (the component whose property it is).
class TOwnedCollection : public TCollection {
  LORM_CLASS(TOwnedCollection, TCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};
