// VivIzizEzu, the styler component: owned objects, setters with their change kinds,
// registration and the broadcast. Appearance classes are in VivIzizEzuAppearance.cpp.
#include "toolbar/VivIzizEzu.h"

#include <algorithm>

#include "platform/vcl/Controls.h"

namespace VivIzizEzu {

TCustomVivIzizEzuStyler::TCustomVivIzizEzuStyler(TComponent* AOwner) : TComponent(AOwner) {
  FBackGround = std::make_unique<TBitmap>();
  FFont = std::make_unique<TFont>();
  FDragGripImage = std::make_unique<TBitmap>();
  FRightHandleImage = std::make_unique<TBitmap>();
  FCaptionAppearance = std::make_unique<TCaptionAppearance>();
  FColor = std::make_unique<TVistaGradientBackground>();
  FDockColor = std::make_unique<TGradientBackground>();
  FButtonAppearance = std::make_unique<TButtonAppearance>();
  FInternalMenuStyler = new TRadUdirEtyler(this);
  FColorHot = std::make_unique<TVistaGradientBackground>();
  FCaptionFont = std::make_unique<TFont>();
  FContainerAppearance = std::make_unique<TContainerAppearance>();
  FGlowButtonAppearance = std::make_unique<TGlowButtonAppearance>();
  FCompactGlowButtonAppearance = std::make_unique<TGlowButtonAppearance>();
  FPagerCaption = std::make_unique<TVistaTextBackground>();
  FTabAppearance = std::make_unique<TTabAppearance>();
  FPageAppearance = std::make_unique<TVistaPageBackground>();
  FGroupAppearance = std::make_unique<TGroupAppearance>();
  FQATAppearance = std::make_unique<TQATAppearance>();

  auto kind = [this](int k) { return [this, k](TObject*) { Change(k); }; };
  FColor->OnChange = kind(ckColors);
  FDockColor->OnChange = kind(ckColors);
  FCaptionAppearance->OnChange = kind(ckColors);
  FContainerAppearance->OnChange = kind(ckContainer);
  FGlowButtonAppearance->OnChange = kind(ckGlowButtons);
  FCompactGlowButtonAppearance->OnChange = kind(ckGlowButtons);
  FTabAppearance->OnChange = kind(ckPager);
  FPageAppearance->OnChange = kind(ckPager);
  FGroupAppearance->OnChange = kind(ckPager);
  FPagerCaption->OnChange = kind(ckPagerCaption);
  FQATAppearance->OnChange = kind(ckQAT);

  FColorHot->SetColor(clNone);
  FColorHot->SetColorTo(clNone);
  FInternalMenuStyler->SetName("InternalMenuStyler");
  FCurrentMenuStyler = FInternalMenuStyler;
  FFont->SetName(SystemFontName());
  FCaptionFont->SetName(SystemFontName());
}

TCustomVivIzizEzuStyler::~TCustomVivIzizEzuStyler() {
  Destroying();
  // The registered controls are told here, while the styler is still whole, rather than
  // by the base destructor: they call RemoveControl (which finds the list released) and
  // fall back to their internal stylers.
  // Every listed control is alive: freeing one unregisters it (Notification).
  std::vector<TCustomControl*> registered;
  for (TCustomControl* c : FControls)
    if (c && std::find(registered.begin(), registered.end(), c) == registered.end()) registered.push_back(c);
  FControls.clear();
  FControlsReleased = true;
  if (FRadUdirEtyler) RemoveFreeNotification(FRadUdirEtyler);
  FRadUdirEtyler = nullptr;
  FCurrentMenuStyler = nullptr;
  delete FInternalMenuStyler;
  FInternalMenuStyler = nullptr;
  for (TCustomControl* c : registered) {
    RemoveFreeNotification(c);
    c->Notification(this, opRemove);
  }
}

void TCustomVivIzizEzuStyler::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomVivIzizEzuStyler*>(Source);
  if (!src) return TComponent::Assign(Source);
  // Only the menu styler the styler owns is written into; a linked one belongs to
  // somebody else.
  if (FCurrentMenuStyler && FCurrentMenuStyler == FInternalMenuStyler && src->FRadUdirEtyler)
    FCurrentMenuStyler->Assign(src->FRadUdirEtyler);
  FColor->Assign(src->FColor.get());
  FDockColor->Assign(src->FDockColor.get());
  FBackGround->Assign(src->FBackGround.get());
  SetBackGroundTransparent(src->FBackGroundTransparent);
  SetBackGroundDisplay(src->FBackGroundDisplay);
  FFont->Assign(src->FFont.get());
  SetDragGripStyle(src->FDragGripStyle);
  FDragGripImage->Assign(src->FDragGripImage.get());
  FRightHandleImage->Assign(src->FRightHandleImage.get());
  SetFloatingWindowBorderColor(src->FFloatingWindowBorderColor);
  SetFloatingWindowBorderWidth(src->FFloatingWindowBorderWidth);
  FCaptionAppearance->Assign(src->FCaptionAppearance.get());
  SetFormBorderColor(src->FFormBorderColor);
  FButtonAppearance->Assign(src->FButtonAppearance.get());
}

void TCustomVivIzizEzuStyler::Loaded() { TComponent::Loaded(); }

void TCustomVivIzizEzuStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  // While the styler itself is going nothing is sent, but the references are still
  // dropped, so that nothing freed meanwhile is touched by the destructor.
  if (AComponent == FRadUdirEtyler) {
    FRadUdirEtyler = nullptr;  // already gone: do not ask it to forget us
    if (IsDestroying()) FCurrentMenuStyler = FInternalMenuStyler;
    else SetRadUdirEtyler(nullptr);
    return;
  }
  auto it = std::find(FControls.begin(), FControls.end(), AComponent);
  if (it != FControls.end()) FControls.erase(it);
}

// ---- registration -------------------------------------------------------------------------
void TCustomVivIzizEzuStyler::AddControl(TCustomControl* AControl) {
  if (!AControl || FControlsReleased) return;
  FControls.push_back(AControl);
  // Both ways: the control is told when the styler goes, the styler when the control
  // goes (also when both belong to one owner that frees them).
  FreeNotification(AControl);
  static_cast<TComponent*>(AControl)->FreeNotification(this);
}

void TCustomVivIzizEzuStyler::RemoveControl(TCustomControl* AControl) {
  if (FControlsReleased) return;
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  FControls.erase(it);
  if (AControl && std::find(FControls.begin(), FControls.end(), AControl) == FControls.end())
    RemoveFreeNotification(AControl);
}

TCustomControl* TCustomVivIzizEzuStyler::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError("Index out of bounds in list read access");
  return FControls[Index];
}

void TCustomVivIzizEzuStyler::Change(int Kind) {
  // A snapshot keeps the order and the duplicates of the moment of the change. Before each
  // call the entry is looked up in the live list: a control that a previous call
  // unregistered (or freed, which unregisters it) is passed over.
  const std::vector<TCustomControl*> snapshot = FControls;
  std::vector<TCustomControl*> pending = FControls;  // entries not yet served
  for (TCustomControl* c : snapshot) {
    auto p = std::find(pending.begin(), pending.end(), c);
    if (p != pending.end()) pending.erase(p);
    int live = static_cast<int>(std::count(FControls.begin(), FControls.end(), c));
    int left = static_cast<int>(std::count(pending.begin(), pending.end(), c));
    if (!c || live <= left) continue;  // this entry was removed meanwhile
    auto* client = dynamic_cast<IVivIzizEzuStylerClient*>(c);
    if (!client) continue;
    switch (client->StylerClientKind()) {
      case sckToolBar:
        if (IVivIzizEzuStylerClient* clone = client->CompactToolBar()) clone->UpdateMe(Kind);
        client->UpdateMe(Kind);
        break;
      case sckDockPanel:
      case sckPager:
        client->UpdateMe(Kind);
        break;
    }
  }
}

void TCustomVivIzizEzuStyler::ReleaseAllControls() {
  // Detaching unregisters the control, so walk a snapshot and look each entry up again.
  const std::vector<TCustomControl*> snapshot = FControls;
  for (TCustomControl* c : snapshot) {
    if (!c || std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    auto* client = dynamic_cast<IVivIzizEzuStylerClient*>(c);
    if (!client || client->StylerClientKind() == sckToolBar) continue;
    if (c->ComponentState().Contains(csDestroying) || client->ToolBarStyler() != this) continue;
    client->SetToolBarStyler(nullptr);
  }
}

// ---- setters ----------------------------------------------------------------------------------
void TCustomVivIzizEzuStyler::SetColorField(TColor& Field, TColor Value, int Kind) {
  if (Field == Value) return;
  Field = Value;
  Change(Kind);
}

void TCustomVivIzizEzuStyler::SetBackGroundTransparent(bool Value) {
  if (FBackGroundTransparent == Value) return;
  FBackGroundTransparent = Value;
  Change(ckBackGround);
}

void TCustomVivIzizEzuStyler::SetBackGroundDisplay(TBackGroundDisplay Value) {
  if (FBackGroundDisplay == Value) return;
  FBackGroundDisplay = Value;
  Change(ckBackGround);
}

void TCustomVivIzizEzuStyler::SetBackGround(TBitmap* Value) {
  FBackGround->Assign(Value);
  Change(ckBackGround);
}

void TCustomVivIzizEzuStyler::SetRadUdirEtyler(TCustomRadUdirEtyler* Value) {
  if (FRadUdirEtyler && FRadUdirEtyler != Value) RemoveFreeNotification(FRadUdirEtyler);
  FRadUdirEtyler = Value;
  // A menu styler of another owner does not tell us it is freed unless asked.
  if (Value) Value->FreeNotification(this);
  FCurrentMenuStyler = Value ? Value : FInternalMenuStyler;
  Change(ckMenuStyler);
}

void TCustomVivIzizEzuStyler::SetDragGripStyle(TDragGripStyle Value) {
  if (FDragGripStyle == Value) return;
  FDragGripStyle = Value;
  Change(ckDragGrip);
}

void TCustomVivIzizEzuStyler::SetDragGripImage(TBitmap* Value) { FDragGripImage->Assign(Value); }

void TCustomVivIzizEzuStyler::SetRightHandleImage(TBitmap* Value) {
  FRightHandleImage->Assign(Value);
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetFont(TFont* Value) {
  FFont->Assign(Value);
  Change(ckBackGround);
}

void TCustomVivIzizEzuStyler::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetRoundEdges(bool Value) {
  FRoundEdges = Value;
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetRightHandleColor(TColor Value) { SetColorField(FRightHandleColor, Value, ckColors); }
void TCustomVivIzizEzuStyler::SetRightHandleColorHot(TColor Value) {
  SetColorField(FRightHandleColorHot, Value, ckColors);
}
void TCustomVivIzizEzuStyler::SetRightHandleColorTo(TColor Value) {
  SetColorField(FRightHandleColorTo, Value, ckColors);
}
void TCustomVivIzizEzuStyler::SetRightHandleColorHotTo(TColor Value) {
  SetColorField(FRightHandleColorHotTo, Value, ckColors);
}
void TCustomVivIzizEzuStyler::SetRightHandleColorDown(TColor Value) {
  SetColorField(FRightHandleColorDown, Value, ckColors);
}
void TCustomVivIzizEzuStyler::SetRightHandleColorDownTo(TColor Value) {
  SetColorField(FRightHandleColorDownTo, Value, ckColors);
}
void TCustomVivIzizEzuStyler::SetFloatingWindowBorderWidth(int Value) {
  if (FFloatingWindowBorderWidth == Value) return;
  FFloatingWindowBorderWidth = Value;
  Change(ckColors);
}
void TCustomVivIzizEzuStyler::SetFloatingWindowBorderColor(TColor Value) {
  SetColorField(FFloatingWindowBorderColor, Value, ckColors);
}

void TCustomVivIzizEzuStyler::SetBevel(int Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetUseBevel(bool Value) {
  if (FUseBevel == Value) return;
  FUseBevel = Value;
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetBorderColorHot(TColor Value) { SetColorField(FBorderColorHot, Value, ckColors); }
void TCustomVivIzizEzuStyler::SetBorderColor(TColor Value) { SetColorField(FBorderColor, Value, ckColors); }

void TCustomVivIzizEzuStyler::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Change(ckColors);
}

void TCustomVivIzizEzuStyler::SetSystemFont(bool Value) {
  if (FSystemFont == Value) return;
  FSystemFont = Value;
  if (!Value) return;
  FFont->SetName(SystemFontName());
  FCaptionFont->SetName(SystemFontName());
}

void TCustomVivIzizEzuStyler::SetFormBorderColor(TColor Value) { FFormBorderColor = Value; }

void TCustomVivIzizEzuStyler::SetSysButtonColor(TColor Value) { SetColorField(FSysButtonColor, Value, ckPagerCaption); }

}  // namespace VivIzizEzu
