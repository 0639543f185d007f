// VxBehaviorLabel, part 1: the behaviour registry, the behaviour base class and the label.
// The built-in behaviours are in VxBehaviorLabelEffects.cpp.
#include "label/VxBehaviorLabel.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/SysUtils.h"

const char* const sVxNoBehavior = "(none)";

// ---- registry ---------------------------------------------------------------------------

namespace {

struct TRegistryEntry {
  std::string Name;
  TVxLabelBehaviorClass Class;
};

int CompareNames(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void AddEntry(std::vector<TRegistryEntry>& registry, const std::string& name, TVxLabelBehaviorClass cls) {
  auto it = std::lower_bound(registry.begin(), registry.end(), name,
                             [](const TRegistryEntry& e, const std::string& n) { return CompareNames(e.Name, n) < 0; });
  if (it != registry.end() && CompareNames(it->Name, name) == 0) return;  // the first registration wins
  registry.insert(it, TRegistryEntry{name, cls});
}

// The registry is sorted by name. The built-in behaviours are registered the moment it
// comes into being, so they are there whoever registers first and before any form loads.
std::vector<TRegistryEntry>& Registry() {
  static std::vector<TRegistryEntry> registry = [] {
    std::vector<TRegistryEntry> r;
    AddEntry(r, sVxNoBehavior, BehaviorClassOf<TVxLabelNone>());
    AddEntry(r, "Blinking", BehaviorClassOf<TVxLabelBlink>());
    AddEntry(r, "Bouncing", BehaviorClassOf<TVxLabelBounce>());
    AddEntry(r, "Scrolling", BehaviorClassOf<TVxLabelScroll>());
    AddEntry(r, "Typing", BehaviorClassOf<TVxLabelTyping>());
    AddEntry(r, "Appearing", BehaviorClassOf<TVxLabelAppear>());
    AddEntry(r, "Special", BehaviorClassOf<TVxLabelSpecial>());
    AddEntry(r, "CodeBreaker", BehaviorClassOf<TVxLabelCodeBreaker>());
    return r;
  }();
  return registry;
}

}  // namespace

void RegisterLabelBehaviorOptions(const std::string& Name, TVxLabelBehaviorClass BehaviorClass) {
  if (!BehaviorClass) return;
  AddEntry(Registry(), Name, BehaviorClass);
}

TVxLabelBehaviorClass GetLabelBehaviorOptionsClass(const std::string& Name) {
  for (const TRegistryEntry& e : Registry())
    if (CompareNames(e.Name, Name) == 0) return e.Class;
  return BehaviorClassOf<TVxLabelBehavior>();
}

void GetLabelBehaviorName(TVxLabelBehaviorClass BehaviorClass, std::string& Name) {
  Name.clear();
  if (!BehaviorClass) return;
  for (const TRegistryEntry& e : Registry())
    if (e.Class->Class == BehaviorClass->Class) {
      Name = e.Name;
      return;
    }
}

void GetRegisteredLabelBehaviorOptions(TStrings* List) {
  if (!List) return;
  List->BeginUpdate();
  List->Clear();
  for (const TRegistryEntry& e : Registry())
    List->AddObject(e.Name, const_cast<TVxLabelBehaviorClassRec*>(e.Class));
  List->EndUpdate();
}

// ---- behaviour base ---------------------------------------------------------------------

void TVxLabelBehavior::Publish(TClassBuilder<TVxLabelBehavior>& P) {
  P.Bool("Active", &TVxLabelBehavior::Active, &TVxLabelBehavior::SetActive, false);
}

TVxLabelBehavior::TVxLabelBehavior(TVxCustomBehaviorLabel* ALabel, TClass Class) : FOwnerLabel(ALabel) {
  if (!ALabel) throw EVXLException(Format("Cannot call %s.Create with ALabel = nil", {std::string(Class->Name)}));
}

// The concrete behaviours stop themselves in their own destructors (their Stop needs
// their own members); the base only stops what is left.
TVxLabelBehavior::~TVxLabelBehavior() = default;

void TVxLabelBehavior::SetActive(bool Value) {
  if (Value == FActive) return;
  if (FActive) Stop();
  FActive = Value;
  if (!Value) return;
  try {
    Start();
  } catch (...) {
    FActive = false;
    FreeTimer();
    throw;
  }
}

void TVxLabelBehavior::Suspend() {
  FSavedActive = FActive;
  FSuspended = true;
  SetActive(false);
}

void TVxLabelBehavior::Resume() {
  struct Clear {
    bool& Flag;
    ~Clear() { Flag = false; }
  } clear{FSuspended};
  SetActive(FSavedActive);
}

void TVxLabelBehavior::Start() {
  if (!FSuspended) FOwnerLabel->DoStart();
}

void TVxLabelBehavior::Stop() {
  if (!FSuspended) FOwnerLabel->DoStop();
}

void TVxLabelBehavior::Shutdown() {
  FSuspended = true;
  Stop();
}

bool TVxLabelBehavior::LabelBusy() const {
  const TComponentState s = FOwnerLabel->ComponentState();
  return s.Contains(csLoading) || s.Contains(csDestroying);
}

void TVxLabelBehavior::EnsureTimer() {
  if (FTimer) return;
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetOnTimer([this](TObject*) { Tick(); });
}

// ---- the label --------------------------------------------------------------------------

void TVxCustomBehaviorLabel::Publish(TClassBuilder<TVxCustomBehaviorLabel>& P) { (void)P; }

void TVxBehaviorLabel::Publish(TClassBuilder<TVxBehaviorLabel>& P) {
  P.Str("Behavior", &TVxBehaviorLabel::Behavior, &TVxBehaviorLabel::SetBehavior, sVxNoBehavior)
      .Object("BehaviorOptions", &TVxBehaviorLabel::BehaviorOptionsForPublish, &TVxBehaviorLabel::SetBehaviorOptions)
      .Event("OnStart", &TVxBehaviorLabel::OnStart)
      .Event("OnStop", &TVxBehaviorLabel::OnStop);
  PublishVxPubTwin(P);
}

TVxCustomBehaviorLabel::TVxCustomBehaviorLabel(TComponent* AOwner) : TVxExCustomLabel(AOwner) {
  FBehavior = sVxNoBehavior;
}

TVxCustomBehaviorLabel::~TVxCustomBehaviorLabel() { FBehaviorOptions.reset(); }

void TVxCustomBehaviorLabel::SetBehavior(const std::string& Value) {
  if (Value == FBehavior) return;
  TStringList names;
  GetRegisteredLabelBehaviorOptions(&names);
  bool found = false;
  for (int i = 0; i < names.Count() && !found; ++i) found = SameText(names[i], Value);
  if (!found) return;
  FBehavior = Value;
  FBehaviorOptions.reset();
  DesignerModified();
}

TVxLabelBehavior* TVxCustomBehaviorLabel::BehaviorOptions() {
  if (!FBehaviorOptions) {
    FBehaviorOptions.reset(GetLabelBehaviorOptionsClass(FBehavior)->Create(this));
    DesignerModified();
  }
  return FBehaviorOptions.get();
}

void TVxCustomBehaviorLabel::SetBehaviorOptions(TVxLabelBehavior* Value) {
  if (!Value) {
    SetBehavior("");
  } else if (!FBehaviorOptions || FBehaviorOptions->ClassType() != Value->ClassType()) {
    std::string name;
    TStringList names;
    GetRegisteredLabelBehaviorOptions(&names);
    for (int i = 0; i < names.Count(); ++i)
      if (static_cast<TVxLabelBehaviorClassRec*>(names.Objects(i))->Class == Value->ClassType()) {
        name = names[i];
        break;
      }
    SetBehavior(name);
  }
  DesignerModified();
}

void TVxCustomBehaviorLabel::SetUseEffectText(bool Value) {
  if (Value != FUseEffectText) FUseEffectText = Value;
  const TComponentState s = ComponentState();
  if (!s.Contains(csLoading) && !s.Contains(csDestroying)) Invalidate();
}

std::string TVxCustomBehaviorLabel::GetLabelText() const { return FUseEffectText ? EffectText : Caption(); }

void TVxCustomBehaviorLabel::Resize() {
  TVxExCustomLabel::Resize();
  BehaviorOptions()->OwnerResize();
}

void TVxCustomBehaviorLabel::DoStart() {
  if (OnStart) OnStart(this);
}

void TVxCustomBehaviorLabel::DoStop() {
  if (OnStop) OnStop(this);
}

// There is no form designer in this system; a design-time change has nobody to tell.
void TVxCustomBehaviorLabel::DesignerModified() {}
