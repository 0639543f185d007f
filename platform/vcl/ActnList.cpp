#include "platform/vcl/ActnList.h"

#include <algorithm>

#include "platform/vcl/Forms.h"

// ---------------------------------------------------------------------------------------
TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  struct TReset {
    TBasicAction* A;
    ~TReset() { A->SetActionComponent(nullptr); }
  } reset{FAction};
  return FAction->Execute();
}

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

// ---------------------------------------------------------------------------------------
void TBasicAction::Publish(TClassBuilder<TBasicAction>& P) {
  P.Event("OnExecute", &TBasicAction::OnExecute).Event("OnUpdate", &TBasicAction::OnUpdate);
}

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) l->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::Execute() {
  if (OnExecute) {
    OnExecute(this);
    return true;
  }
  return false;
}

bool TBasicAction::Update() {
  if (OnUpdate) {
    OnUpdate(this);
    return true;
  }
  return false;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
  if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

void TBasicAction::Change() {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) l->Change();
}

// ---------------------------------------------------------------------------------------
void TContainedAction::Publish(TClassBuilder<TContainedAction>& P) {
  P.Str("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

int TContainedAction::Index() const {
  if (!FActionList) return -1;
  auto& v = FActionList->FActions;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : int(it - v.begin());
}

void TContainedAction::SetIndex(int Value) {
  if (!FActionList) return;
  auto& v = FActionList->FActions;
  int cur = Index();
  Value = std::clamp(Value, 0, int(v.size()) - 1);
  if (cur < 0 || cur == Value) return;
  v.erase(v.begin() + cur);
  v.insert(v.begin() + Value, this);
}

bool TContainedAction::Execute() {
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

// ---------------------------------------------------------------------------------------
void TCustomAction::Publish(TClassBuilder<TCustomAction>& P) { (void)P; }

template <class F>
void TCustomAction::ForLinks(F f) {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients))
    if (auto* link = dynamic_cast<TActionLink*>(l)) f(link);
}

// Each setter tells the links first (they compare their client's value with the old
// one), then stores the value.
void TCustomAction::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsCaptionLinked()) l->SetCaption(Value); });
  FCaption = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value || FChecking) return;
  FChecking = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } done{FChecking};
  ForLinks([&](TActionLink* l) { if (l->IsCheckedLinked()) l->SetChecked(Value); });
  FChecked = Value;
  // Checking one action of a group unchecks the others of its list.
  if (Value && FGroupIndex > 0 && ActionList())
    for (TContainedAction* a : ActionList()->ActionList())
      if (auto* ca = dynamic_cast<TCustomAction*>(a); ca && ca != this && ca->FGroupIndex == FGroupIndex)
        ca->SetChecked(false);
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsEnabledLinked()) l->SetEnabled(Value); });
  FEnabled = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsVisibleLinked()) l->SetVisible(Value); });
  FVisible = Value;
  Change();
}

void TCustomAction::SetHint(const std::string& Value) {
  if (FHint == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsHintLinked()) l->SetHint(Value); });
  FHint = Value;
  Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsImageIndexLinked()) l->SetImageIndex(Value); });
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsShortCutLinked()) l->SetShortCut(Value); });
  FShortCut = Value;
  Change();
}

void TCustomAction::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsGroupIndexLinked()) l->SetGroupIndex(Value); });
  FGroupIndex = Value;
  Change();
}

void TCustomAction::SetHelpContext(int Value) {
  if (FHelpContext == Value) return;
  ForLinks([&](TActionLink* l) { if (l->IsHelpContextLinked()) l->SetHelpContext(Value); });
  FHelpContext = Value;
  Change();
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

bool TCustomAction::Update() {
  bool handled = TContainedAction::Update();
  if (!handled && FDisableIfNoHandler && !OnExecute) {
    bool listHandles = ActionList() && ActionList()->OnExecute;
    SetEnabled(listHandles);
  }
  return handled;
}

bool TCustomAction::HandleShortCut() {
  Update();
  if (!FEnabled || !FVisible) return false;
  return Execute();
}

// ---------------------------------------------------------------------------------------
void TAction::Publish(TClassBuilder<TAction>& P) {
  P.Bool("AutoCheck", &TAction::AutoCheck, &TAction::SetAutoCheck, false)
      .Str("Caption", &TAction::Caption, &TAction::SetCaption)
      .Bool("Checked", &TAction::Checked, &TAction::SetChecked, false)
      .Bool("Enabled", &TAction::Enabled, &TAction::SetEnabled, true)
      .Int("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex, 0)
      .Int("HelpContext", &TAction::HelpContext, &TAction::SetHelpContext, 0)
      .Str("Hint", &TAction::Hint, &TAction::SetHint)
      .Int("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex, -1)
      .Int("ShortCut", &TAction::ShortCut, &TAction::SetShortCut, 0)
      .Bool("Visible", &TAction::Visible, &TAction::SetVisible, true);
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* ActionListStateNames =
    RegisterEnum("TActionListState", {"asNormal", "asSuspended", "asSuspendedEnabled"});

void TCustomActionList::Publish(TClassBuilder<TCustomActionList>& P) { (void)P; }

void TActionList::Publish(TClassBuilder<TActionList>& P) {
  P.Component("Images", &TActionList::Images, &TActionList::SetImages)
      .Enum("State", ActionListStateNames, &TActionList::State, &TActionList::SetState, asNormal)
      .Event("OnChange", &TActionList::OnChange)
      .Event("OnExecute", &TActionList::OnExecute)
      .Event("OnUpdate", &TActionList::OnUpdate)
      .Uses({TAction::StaticClass()});
}

TCustomActionList::~TCustomActionList() {
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) a->FActionList = nullptr;
  FActions.clear();
}

TContainedAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EActionError("Action index out of range");
  return FActions[size_t(Index)];
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  if (!Action || Action->FActionList == this) return;
  if (Action->FActionList) Action->FActionList->RemoveAction(Action);
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  Action->FActionList = nullptr;
  if (OnChange && !FComponentState.Contains(csDestroying)) OnChange(this);
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomActionList::SetState(TActionListState Value) {
  if (FState == Value) return;
  FState = Value;
  if (Value == asSuspendedEnabled)
    for (TContainedAction* a : FActions)
      if (auto* ca = dynamic_cast<TCustomAction*>(a)) ca->SetEnabled(true);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  if (FState != asNormal) return FState != asNormal;  // a suspended list runs nothing
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  if (FState != asNormal) return true;
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
  TShortCut sc = ShortCutFromMessage(Message);
  WORD key = sc & 0xFF;
  if (key == 0 || key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
    auto* ca = dynamic_cast<TCustomAction*>(a);
    if (ca && ca->ShortCut() == sc) return ca->HandleShortCut();
  }
  return false;
}

void TCustomActionList::UpdateActions() {
  if (FState != asNormal) return;
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) a->Update();
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TContainedAction* a : FActions)
    if (a->Owner() == Root) Proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* Child, int Order) {
  if (auto* a = dynamic_cast<TContainedAction*>(Child); a && a->ActionList() == this) a->SetIndex(Order);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (auto* a = dynamic_cast<TContainedAction*>(AComponent)) RemoveAction(a);
}

// ---------------------------------------------------------------------------------------
TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

bool TMenuActionLink::IsCaptionLinked() const {
  auto* a = CustomAction();
  return a && FItem->Caption() == a->Caption();
}
bool TMenuActionLink::IsCheckedLinked() const {
  auto* a = CustomAction();
  return a && FItem->Checked() == a->Checked();
}
bool TMenuActionLink::IsEnabledLinked() const {
  auto* a = CustomAction();
  return a && FItem->Enabled() == a->Enabled();
}
bool TMenuActionLink::IsHelpContextLinked() const {
  auto* a = CustomAction();
  return a && FItem->HelpContext() == a->HelpContext();
}
bool TMenuActionLink::IsHintLinked() const {
  auto* a = CustomAction();
  return a && FItem->Hint() == a->Hint();
}
bool TMenuActionLink::IsGroupIndexLinked() const {
  auto* a = CustomAction();
  return a && FItem->RadioItem() && FItem->GroupIndex() == a->GroupIndex();
}
bool TMenuActionLink::IsImageIndexLinked() const {
  auto* a = CustomAction();
  return a && FItem->ImageIndex() == a->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
  auto* a = CustomAction();
  return a && FItem->ShortCut() == a->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
  auto* a = CustomAction();
  return a && FItem->Visible() == a->Visible();
}
void TMenuActionLink::SetCaption(const std::string& Value) { FItem->SetCaption(Value); }
void TMenuActionLink::SetChecked(bool Value) { FItem->SetChecked(Value); }
void TMenuActionLink::SetEnabled(bool Value) { FItem->SetEnabled(Value); }
void TMenuActionLink::SetGroupIndex(int Value) { FItem->SetGroupIndex(BYTE(Value)); }
void TMenuActionLink::SetHelpContext(int Value) { FItem->SetHelpContext(Value); }
void TMenuActionLink::SetHint(const std::string& Value) { FItem->SetHint(Value); }
void TMenuActionLink::SetImageIndex(int Value) { FItem->SetImageIndex(Value); }
void TMenuActionLink::SetShortCut(TShortCut Value) { FItem->SetShortCut(Value); }
void TMenuActionLink::SetVisible(bool Value) { FItem->SetVisible(Value); }

bool TControlActionLink::IsCaptionLinked() const {
  auto* a = CustomAction();
  return a && FControl->Caption() == a->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
  auto* a = CustomAction();
  return a && FControl->Enabled() == a->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
  auto* a = CustomAction();
  return a && FControl->Hint() == a->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
  auto* a = CustomAction();
  return a && FControl->Visible() == a->Visible();
}
bool TControlActionLink::IsHelpContextLinked() const {
  auto* a = CustomAction();
  return a && FControl->HelpContext() == a->HelpContext();
}
void TControlActionLink::SetCaption(const std::string& Value) { FControl->SetCaption(Value); }
void TControlActionLink::SetEnabled(bool Value) { FControl->SetEnabled(Value); }
void TControlActionLink::SetHint(const std::string& Value) { FControl->SetHint(Value); }
void TControlActionLink::SetVisible(bool Value) { FControl->SetVisible(Value); }
void TControlActionLink::SetHelpContext(int Value) { FControl->SetHelpContext(Value); }

std::vector<TCustomActionList*> FormActionLists(TComponent* Form) {
  std::vector<TCustomActionList*> lists;
  if (!Form) return lists;
  for (TComponent* c : Form->ComponentList())
    if (auto* l = dynamic_cast<TCustomActionList*>(c)) lists.push_back(l);
  return lists;
}
