// RavUvure, part 4: the panel group, which stacks its panels and scrolls them.
#include <algorithm>

#include "office/RavUvure.h"
#include "platform/win/WinUser.h"

using namespace RavUvure;

namespace {
const TEnumInfo* GroupStyleNames() {
  static const TEnumInfo* n = RegisterEnum("TGroupStyle", {"gsVertical", "gsHorizontal"});
  return n;
}
}  // namespace

void TRavUvureGroup::Publish(TClassBuilder<TRavUvureGroup>& P) {
  using G = TRavUvureGroup;
  P.Int("Columns", &G::Columns, &G::SetColumns)
      .Object("DefaultPanel", &G::DefaultPanel, &G::SetDefaultPanel)
      .Enum("GroupStyle", GroupStyleNames(), &G::GroupStyle, &G::SetGroupStyle)
      .Int("HorzPadding", &G::HorzPadding, &G::SetHorzPadding)
      .Int("VertPadding", &G::VertPadding, &G::SetVertPadding)
      .Bool("ScrollSmooth", &G::GetScrollSmooth, &G::SetScrollSmooth, false);
}

TRavUvureGroup::TRavUvureGroup(TComponent* AOwner)
    : TRavUvure(AOwner), FDefaultPanel(std::make_unique<TRavUvureSettings>()) {
  FControlStyle += csAcceptsControls;
  FControlStyle -= csSetCaption;
  FScrollBar = new TScrollBar(this);
  FScrollBar->SetKind(sbVertical);
  FScrollBar->SetAlign(alRight);
  FScrollBar->SetVisible(false);
  FScrollBar->SetLargeChange(20);
  FScrollBar->SetSmallChange(2);
  FScrollBar->SetTabStop(false);
  FScrollBar->SetParent(this);
  FScrollBar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) {
    if (Code != scEndScroll) return;
    const int limit = FScrollBar->Max() - FScrollBar->PageSize();
    if (Pos > limit) Pos = std::max(0, limit);
    FScrollBar->SetPosition(Pos);
    ArrangeControls();
  };
}

TRavUvureGroup::~TRavUvureGroup() {
  // A panel freed while this loop runs (by another one's destruction) leaves the list
  // through Notification, so each entry is taken off before it is freed.
  while (!FPanels.empty()) {
    TCustomRavUvure* p = FPanels.back();
    FPanels.pop_back();
    p->RemoveFreeNotification(this);
    delete p;
  }
}

// The list holds panels that another component may own (a form read from a stream owns
// the group and its panels alike): each listed panel tells the group when it is freed,
// whoever frees it, and the group forgets it.
void TRavUvureGroup::WatchPanel(TCustomRavUvure* Panel) { Panel->FreeNotification(this); }

void TRavUvureGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TRavUvure::Notification(AComponent, Operation);
  if (Operation != opRemove || FPanels.empty()) return;
  auto it = std::find(FPanels.begin(), FPanels.end(), AComponent);
  if (it == FPanels.end()) return;
  FPanels.erase(it);
  if (ComponentState().Contains(csDestroying)) return;
  for (int i = 0; i < PanelCount(); ++i) FPanels[i]->Index = i;
}

std::vector<TCustomRavUvure*> TRavUvureGroup::ChildPanels() const {
  std::vector<TCustomRavUvure*> panels;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* p = dynamic_cast<TCustomRavUvure*>(Controls(i))) panels.push_back(p);
  return panels;
}

void TRavUvureGroup::SetColumns(int Value) {
  if (Value <= 0) return;
  FColumns = Value;
  UpdateScrollbar();
  ArrangeControls();
  UpdateScrollbar();
}

void TRavUvureGroup::SetGroupStyle(TGroupStyle Value) {
  if (FGroupStyle == Value) return;
  FGroupStyle = Value;
  UpdateScrollbar();
  ArrangeControls();
}

// Paddings are kept within the coordinate range, like the panels' bounds.
void TRavUvureGroup::SetHorzPadding(int Value) {
  Value = ClampCoordinate(Value);
  if (FHorzPadding == Value) return;
  FHorzPadding = Value;
  ArrangeControls();
}

void TRavUvureGroup::SetVertPadding(int Value) {
  Value = ClampCoordinate(Value);
  if (FVertPadding == Value) return;
  FVertPadding = Value;
  ArrangeControls();
}

void TRavUvureGroup::InitPanels() {
  FPanels = ChildPanels();
  for (TCustomRavUvure* p : FPanels) WatchPanel(p);
}

TCustomRavUvure* TRavUvureGroup::NewPanel(int Index) {
  auto* panel = new TRavUvure(this);
  panel->SetParent(this);
  panel->AssignSettings(FDefaultPanel.get());
  panel->Caption()->SetVisible(FDefaultPanel->Caption()->Visible());
  panel->Caption()->SetMinMaxButton(FDefaultPanel->Caption()->MinMaxButton());
  panel->Caption()->SetCloseButton(FDefaultPanel->Caption()->CloseButton());
  Index = std::clamp(Index, 0, PanelCount());
  FPanels.insert(FPanels.begin() + Index, panel);
  WatchPanel(panel);
  for (int i = 0; i < PanelCount(); ++i) FPanels[i]->Index = i;
  UpdateScrollbar();
  ArrangeControls();
  UpdateScrollbar();
  return panel;
}

TCustomRavUvure* TRavUvureGroup::AddPanel() { return NewPanel(PanelCount()); }

TCustomRavUvure* TRavUvureGroup::AppendPanel() {
  TCustomRavUvure* panel = AddPanel();
  if (PanelCount() >= 2) MovePanel(PanelCount() - 1, 0);
  return panel;
}

TCustomRavUvure* TRavUvureGroup::InsertPanel(int Index) { return NewPanel(Index); }

void TRavUvureGroup::RemovePanel(int Index) {
  if (Index < 0 || Index >= PanelCount()) return;
  TCustomRavUvure* panel = FPanels[Index];
  FPanels.erase(FPanels.begin() + Index);
  delete panel;
  for (int i = 0; i < PanelCount(); ++i) FPanels[i]->Index = i;
  ArrangeControls();
}

// The list order is the visual order: moving an entry re-arranges the panels by their
// place in the list.
void TRavUvureGroup::MovePanel(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || FromIndex >= PanelCount() || ToIndex < 0 || ToIndex >= PanelCount()) return;
  TCustomRavUvure* panel = FPanels[FromIndex];
  FPanels.erase(FPanels.begin() + FromIndex);
  FPanels.insert(FPanels.begin() + ToIndex, panel);
  for (int i = 0; i < PanelCount(); ++i) FPanels[i]->Index = i;
  FSortByIndex = true;
  ArrangeControls();
  FSortByIndex = false;
}

void TRavUvureGroup::Clear() {
  for (TCustomRavUvure* p : ChildPanels()) delete p;
  FPanels.clear();
  UpdateScrollbar();
}

void TRavUvureGroup::OpenAllPanels() {
  BeginGroupUpdate();
  for (TCustomRavUvure* p : ChildPanels()) p->SetCollaps(false);
  EndGroupUpdate();
}

void TRavUvureGroup::CloseAllPanels() {
  BeginGroupUpdate();
  for (TCustomRavUvure* p : ChildPanels()) p->SetCollaps(true);
  EndGroupUpdate();
  Invalidate();
}

void TRavUvureGroup::SavePanelPositions() {
  for (TCustomRavUvure* p : ChildPanels()) {
    TPanelPosition kept;
    kept.Assign(p->Position());
    p->Position()->Assign(Position());
    p->Position()->Section = p->Name();
    p->SavePosition();
    p->Position()->Assign(&kept);
  }
}

void TRavUvureGroup::LoadPanelPositions() {
  for (TCustomRavUvure* p : ChildPanels()) {
    TPanelPosition kept;
    kept.Assign(p->Position());
    p->Position()->Assign(Position());
    p->Position()->Section = p->Name();
    p->LoadPosition();
    p->Position()->Assign(&kept);
  }
}

void TRavUvureGroup::BeginGroupUpdate() {
  if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, FALSE, 0);
  ++FUpdateCount;
}

void TRavUvureGroup::EndGroupUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount > 0) return;
  if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, TRUE, 0);
  UpdateScrollbar();
  ArrangeControls();
  UpdateScrollbar();
}

void TRavUvureGroup::UpdateGroup() {
  ArrangeControls();
  UpdateScrollbar();
  SetHeight(Height() + 1);
  SetHeight(Height() - 1);
}

void TRavUvureGroup::ChildPanelChanged(TCustomRavUvure*) {
  UpdateScrollbar();
  ArrangeControls();
}

void TRavUvureGroup::StateChange() {
  ArrangeControls();
  UpdateScrollbar();
}

void TRavUvureGroup::ArrangeControls() {
  if (ComponentState().Contains(csLoading) || FArranging || FUpdateCount > 0) return;
  FArranging = true;
  if (FGroupStyle == gsVertical) ArrangeVertical();
  else ArrangeHorizontal();
  FArranging = false;
}

void TRavUvureGroup::ArrangeVertical() {
  ++FUpdateCount;
  const int gw = Width();
  const int sbw = FScrollBar->Visible() ? FScrollBar->Width() : 0;
  std::vector<TCustomRavUvure*> panels = ChildPanels();
  std::stable_sort(panels.begin(), panels.end(), [this](TCustomRavUvure* a, TCustomRavUvure* b) {
    return FSortByIndex ? a->Index < b->Index : a->Top() < b->Top();
  });
  int y = FScrollBar->Visible() ? FVertPadding - FScrollBar->Position() : FVertPadding;
  if (Caption()->Visible()) y += Caption()->Height();
  const int start = y;
  if (ScrollSmooth)
    for (TCustomRavUvure* p : panels)
      if (p->Visible()) p->BeginUpdate();
  for (int i = 0; i < static_cast<int>(panels.size()); ++i) {
    TCustomRavUvure* p = panels[i];
    const int left = ((gw - FHorzPadding - sbw) / FColumns) * (i % FColumns) + FHorzPadding;
    const int width = (gw - 2 * FHorzPadding - sbw) / FColumns;
    p->SetBounds(left, y, width, p->Height());
    if (p->Visible() && (i + 1) % FColumns == 0) y += p->Height() + FVertPadding;
  }
  // The extent is what the arrangement itself took, whatever the children's order.
  FExtent = (y - start) + FVertPadding;
  for (TCustomRavUvure* p : panels) {
    if (ScrollSmooth && p->Visible()) p->EndUpdate();
    p->Invalidate();
  }
  --FUpdateCount;
  Invalidate();
}

void TRavUvureGroup::ArrangeHorizontal() {
  const int gh = Height();
  const int sbh = FScrollBar->Visible() ? FScrollBar->Height() : 0;
  std::vector<TCustomRavUvure*> panels = ChildPanels();
  std::stable_sort(panels.begin(), panels.end(),
                   [](TCustomRavUvure* a, TCustomRavUvure* b) { return a->Left() < b->Left(); });
  int x = FScrollBar->Visible() ? FHorzPadding - FScrollBar->Position() : FHorzPadding;
  const int start = x;
  for (TCustomRavUvure* p : panels) {
    p->SetBounds(x, FVertPadding, p->Width(), gh - 2 * FVertPadding - sbh);
    if (p->Visible()) x += p->Width() + FHorzPadding;
  }
  FExtent = (x - start) + FHorzPadding;
}

int TRavUvureGroup::ContentExtent() { return FExtent; }

void TRavUvureGroup::UpdateScrollbar() {
  if (FUpdateCount >= 1 || !FScrollBar) return;
  if (FGroupStyle == gsHorizontal) {
    FScrollBar->SetKind(sbHorizontal);
    FScrollBar->SetAlign(alBottom);
    FScrollBar->SetHeight(16);
    const int e = FExtent;
    if (Width() < e) {
      FScrollBar->SetParams(std::min(FScrollBar->Position(), e), 0, e);
      FScrollBar->SetPageSize(Width());
      FScrollBar->SetLargeChange(Width() / 3);
    }
    FScrollBar->SetVisible(Width() < e);
  } else {
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetAlign(alRight);
    FScrollBar->SetWidth(16);
    const int e = FExtent;
    if (Height() < e && e > 0) {
      FScrollBar->SetParams(std::min(FScrollBar->Position(), e), 0, e);
      FScrollBar->SetPageSize(Height());
      FScrollBar->SetLargeChange(Height() / 3);
    }
    FScrollBar->SetVisible(Height() < e);
  }
  FScrollBar->Invalidate();
}

void TRavUvureGroup::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TRavUvure::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (AWidth != FLastWidth || AHeight != FLastHeight) {
    FLastWidth = AWidth;
    FLastHeight = AHeight;
    ArrangeControls();
  }
}

void TRavUvureGroup::AlignControls(TControl* AControl, TRect& Rect) {
  TRavUvure::AlignControls(AControl, Rect);
  UpdateScrollbar();
}

void TRavUvureGroup::Loaded() {
  TRavUvure::Loaded();
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
  UpdateScrollbar();
  ArrangeControls();
  InitPanels();
}

void TRavUvureGroup::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEWHEEL && FScrollBar->Visible()) {
    const short delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    const int step = 2 * FScrollBar->SmallChange();
    FScrollBar->SetPosition(FScrollBar->Position() + (delta < 0 ? step : -step));
    ArrangeControls();
    Message.Result = 1;
    return;
  }
  TRavUvure::WndProc(Message);
  if (Message.Msg == WM_SIZE) UpdateScrollbar();
}
