#pragma once
// Actions: commands with a caption, state and handlers that menu items and controls
// link to (their links copy the action's caption, enabled and checked state, hint, image,
// shortcut and visibility, and run the action when clicked). Action lists hold them;
// the application updates them when it is idle (OnUpdate), and a form runs them by their
// shortcuts from any focused control.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Menus.h"

class TBasicAction;
class TCustomActionList;

// The client side of an action: told of every change of the action.
class TBasicActionLink : public TObject {
  LORM_CLASS(TBasicActionLink, TObject)
public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  // Runs the action for the client (Component: the action's ActionComponent meanwhile).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  TNotifyEvent OnChange;

protected:
  friend class TBasicAction;
  virtual void Change();
  TObject* FClient;
  TBasicAction* FAction = nullptr;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

class TBasicAction : public TComponent {
  LORM_PUBLISHED(TBasicAction, TComponent)
public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;
  // Runs OnExecute (through the action list first); true when something handled it.
  virtual bool Execute();
  // Runs OnUpdate (through the action list first); true when something handled it.
  virtual bool Update();
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }
  void RegisterChanges(TBasicActionLink* Link);
  void UnRegisterChanges(TBasicActionLink* Link);
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

protected:
  void Change();
  friend class TBasicActionLink;
  std::vector<TBasicActionLink*> FClients;

private:
  TComponent* FActionComponent = nullptr;
};

// An action that belongs to an action list (its parent in the stored form).
class TContainedAction : public TBasicAction {
  LORM_PUBLISHED(TContainedAction, TBasicAction)
public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& Value) { FCategory = Value; }
  int Index() const;
  void SetIndex(int Value);
  bool Execute() override;
  bool Update() override;
  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  std::string FCategory;
};

class TActionLink;

class TCustomAction : public TContainedAction {
  LORM_PUBLISHED(TCustomAction, TContainedAction)
public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  // Without OnExecute (and nothing else handling it) the action is disabled at update.
  bool DisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool Value) { FDisableIfNoHandler = Value; }
  // Runs the action when it is enabled: AutoCheck, then OnExecute. False when disabled
  // or nothing handled it.
  bool Execute() override;
  bool Update() override;
  // A shortcut reached the action: updated first, run when enabled.
  bool HandleShortCut();

private:
  template <class F>
  void ForLinks(F f);
  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  std::string FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  int FGroupIndex = 0;
  int FHelpContext = 0;
  bool FAutoCheck = false;
  bool FDisableIfNoHandler = true;
  bool FChecking = false;
};

class TAction : public TCustomAction {
  LORM_PUBLISHED(TAction, TCustomAction)
public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };

class TCustomActionList : public TComponent {
  LORM_PUBLISHED(TCustomActionList, TComponent)
public:
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomActionList() override;
  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TContainedAction* Actions(int Index) const;
  const std::vector<TContainedAction*>& ActionList() const { return FActions; }
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TActionListState State() const { return FState; }
  void SetState(TActionListState Value);
  // OnExecute / OnUpdate of the list for one of its actions; true when handled.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // A key message: runs the enabled action with that shortcut; true when one ran.
  virtual bool IsShortCut(TMessage& Message);
  // Updates every action (OnUpdate) unless the list is suspended.
  void UpdateActions();
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

protected:
  void SetChildOrder(TComponent* Child, int Order) override;

private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TActionListState FState = asNormal;
};

class TActionList : public TCustomActionList {
  LORM_PUBLISHED(TActionList, TCustomActionList)
public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// A link that copies a TCustomAction's properties to its client. A property follows the
// action while the client's value equals the action's (Is...Linked).
class TActionLink : public TBasicActionLink {
  LORM_CLASS(TActionLink, TBasicActionLink)
public:
  using TBasicActionLink::TBasicActionLink;
  TCustomAction* CustomAction() const;
  virtual bool IsCaptionLinked() const { return CustomAction() != nullptr; }
  virtual bool IsCheckedLinked() const { return CustomAction() != nullptr; }
  virtual bool IsEnabledLinked() const { return CustomAction() != nullptr; }
  virtual bool IsGroupIndexLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHelpContextLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHintLinked() const { return CustomAction() != nullptr; }
  virtual bool IsImageIndexLinked() const { return CustomAction() != nullptr; }
  virtual bool IsShortCutLinked() const { return CustomAction() != nullptr; }
  virtual bool IsVisibleLinked() const { return CustomAction() != nullptr; }
  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetGroupIndex(int) {}
  virtual void SetHelpContext(int) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
};

// The link of a menu item.
class TMenuActionLink : public TActionLink {
  LORM_CLASS(TMenuActionLink, TActionLink)
public:
  explicit TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FItem(AClient) {}
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsGroupIndexLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetGroupIndex(int Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const std::string& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;

private:
  TMenuItem* FItem;
};

// The link of a control.
class TControlActionLink : public TActionLink {
  LORM_CLASS(TControlActionLink, TActionLink)
public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsHelpContextLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetVisible(bool Value) override;
  void SetHelpContext(int Value) override;

protected:
  TControl* FControl;
};

// The action lists owned by a form (its own components), in creation order.
std::vector<TCustomActionList*> FormActionLists(TComponent* Form);
