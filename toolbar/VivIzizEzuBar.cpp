// The tool bar: model, life cycle, control list, layout and sizing, styler link.
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuFloating.h"
#include "toolbar/VivIzizEzuOption.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"

namespace VivIzizEzu {

// ---- TDbgList ---------------------------------------------------------------------------
void* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw EListError("Index out of bounds in list read access");
  return Get(Index);
}

void TDbgList::SetItemsEx(int Index, void* Item) {
  if (Index >= Count()) throw EListError("Index out of bounds in list write access");
  Put(Index, Item);
}

void TDbgList::AssignList(const TList* List) {
  Clear();
  if (!List) return;
  for (void* p : List->List()) Add(p);
}

namespace {
TControl* At(const TDbgList* L, int I) { return static_cast<TControl*>(L->GetItemsEx(I)); }
bool IsSeparator(TControl* C) { return dynamic_cast<TVivIzizEzuSeparator*>(C) != nullptr; }
}  // namespace

// ---- TPersistence -----------------------------------------------------------------------
void TPersistence::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TPersistence*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FLocation = src->FLocation;
  FKey = src->FKey;
  FSection = src->FSection;
  FEnabled = src->FEnabled;
}

void TPersistence::Change() {
  if (OnChange) OnChange(this);
}

void TPersistence::SetLocation(TPersistenceLocation Value) {
  if (FLocation == Value) return;
  FLocation = Value;
  Change();
}

void TPersistence::SetKey(const std::string& Value) {
  if (FKey == Value) return;
  FKey = Value;
  Change();
}

void TPersistence::SetSection(const std::string& Value) {
  if (FSection == Value) return;
  FSection = Value;
  Change();
}

void TPersistence::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Change();
}

// ---- construction -----------------------------------------------------------------------
TDizCustomToolBar::TDizCustomToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FInternalStyler = new TCustomVivIzizEzuStyler(this);
  FInternalStyler->SetName("InternalStyler");
  FInternalStyler->SetSubComponent(true);
  FStylerInForce = FInternalStyler;
  FInternalStyler->AddControl(this);
  FSequence = std::make_unique<TDbgList>();
  FRUL = std::make_unique<TDbgList>();
  FHidden = std::make_unique<TDbgList>();
  FVisibleSnapshot = std::make_unique<TDbgList>();
  FCaptionFont = std::make_unique<TFont>();
  FPersistence = std::make_unique<TPersistence>(this);
  FPersistence->SetSection("UnDockedVivIzizEzus");
  TControlStyle s = ControlStyle();
  s.Include(csAcceptsControls);
  s.Exclude(csOpaque);
  SetControlStyle(s);
  SetBounds(Left(), Top(), 60, 26);
  Constraints()->SetMinWidth(60);
  Constraints()->SetMaxWidth(60);
  SetDoubleBuffered(true);
  SetShowHint(true);
  FDockedThickness = Height();
}

TDizCustomToolBar::~TDizCustomToolBar() {
  if (FPersistence->Enabled() && !IsDesigning()) {
    try {
      SavePosition();
    } catch (const Exception&) {
      // A store that cannot be written must not stop the tool bar from going.
    }
  }
  // Children leaving while the tool bar goes must not be laid out again.
  FUpdateCount = 1;
  if (FMoving) EndMove();
  if (FFloatingWindow) FFloatingWindow->SetDizCustomToolBar(nullptr);
  FFloatingWindow = nullptr;
  // No row of a dock panel keeps a tool bar that is gone.
  if (IToolBarDockSite* site = DockSite()) site->RemoveToolBar(this);
  if (FCustomizer) FCustomizer->RemoveFreeNotification(this);
  if (FToolBarStyler && FToolBarStyler != FInternalStyler) FToolBarStyler->RemoveControl(this);
  if (FStylerInForce && FStylerInForce != FInternalStyler && FStylerInForce != FToolBarStyler)
    FStylerInForce->RemoveControl(this);
  FStylerInForce = nullptr;
  FToolBarStyler = nullptr;
  // Items keep no dangling link to this tool bar.
  for (int i = 0; i < FSequence->Count(); ++i)
    if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(At(FSequence.get(), i)))
      item->FVivIzizEzu = nullptr;
  FSequence->Clear();
}

std::string TDizCustomToolBar::GetVersion() {
  const int v = GetVersionNr();
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

void TDizCustomToolBar::Loaded() {
  TCustomControl::Loaded();
  FSavedCursor = Cursor();
  BuildSequenceControlList();
  SetControlsPosition(true);
  GetSequenceControlList(FVisibleSnapshot.get(), true);
  if (FMenu) AdjustSizeOfAllButtons(true);
  UpdateAllGlowButtons();
  FLoadedFlag = true;
  if (Page() && Page()->OnPager()) SetParentStyler(FParentStyler);
  if (FPersistence->Enabled() && !IsDesigning() && !FPositionLoaded) {
    try {
      LoadPosition();
    } catch (const Exception&) {
      // An unreadable store leaves the designed place.
    }
  }
  if (auto* customizer = dynamic_cast<IToolBarCustomizer*>(FCustomizer)) {
    try {
      customizer->SaveInitialState();
      customizer->UpdateVivIzizEzu();
    } catch (const Exception&) {
      // An INI file that cannot be written leaves the designed layout; the form loads.
    }
  }
}

void TDizCustomToolBar::SetCustomizer(TComponent* Value) {
  if (FCustomizer == Value) return;
  if (FCustomizer) FCustomizer->RemoveFreeNotification(this);
  FCustomizer = Value;
  if (FCustomizer) FCustomizer->FreeNotification(this);
}

void TDizCustomToolBar::SetOptionMenu(TComponent* Value) {
  if (FOptionMenu == Value) return;
  if (FOptionMenu) FOptionMenu->RemoveFreeNotification(this);
  FOptionMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TDizCustomToolBar::ShowCustomizer() {
  if (auto* customizer = dynamic_cast<IToolBarCustomizer*>(FCustomizer)) customizer->ShowCustomizer();
}

void TDizCustomToolBar::ResetToolBar() {
  if (auto* customizer = dynamic_cast<IToolBarCustomizer*>(FCustomizer)) customizer->ResetToolBar();
}

IToolBarDockSite* TDizCustomToolBar::DockSite() const { return dynamic_cast<IToolBarDockSite*>(FDockPanel); }

IToolBarPage* TDizCustomToolBar::Page() const { return dynamic_cast<IToolBarPage*>(Parent()); }

void TDizCustomToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (IsDestroying()) {
    // Going too: only forget what is going first.
    if (AComponent == FToolBarStyler) FToolBarStyler = nullptr;
    if (AComponent == FStylerInForce) FStylerInForce = FInternalStyler;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FDisabledImages) FDisabledImages = nullptr;
    if (AComponent == FMenu) FMenu = nullptr;
    if (AComponent == FCustomizer) FCustomizer = nullptr;
    if (AComponent == FOptionMenu) FOptionMenu = nullptr;
    return;
  }
  if (AComponent == FCustomizer) FCustomizer = nullptr;
  if (AComponent == FOptionMenu) FOptionMenu = nullptr;
  if (AComponent == FImages) {
    SetImages(nullptr);
    Invalidate();
  }
  if (AComponent == FDisabledImages) {
    SetDisabledImages(nullptr);
    Invalidate();
  }
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FToolBarStyler || (AComponent == FStylerInForce && AComponent != FInternalStyler)) {
    FToolBarStyler = nullptr;
    FStylerInForce = FInternalStyler;
    SetToolBarStyler(nullptr);
    // The grip of the styler now in force may differ.
    SetControlsPosition(true);
  }
  if (auto* c = dynamic_cast<TControl*>(AComponent))
    if (FSequence->IndexOf(c) >= 0) RemoveControl(c);
}

// ---- styler link ------------------------------------------------------------------------
void TDizCustomToolBar::SetToolBarStyler(TCustomVivIzizEzuStyler* Styler) {
  if (Styler && Styler == FToolBarStyler) return;
  if (FToolBarStyler && FToolBarStyler != FInternalStyler) FToolBarStyler->RemoveControl(this);
  if (FStylerInForce && FStylerInForce != FInternalStyler && FStylerInForce != FToolBarStyler)
    FStylerInForce->RemoveControl(this);
  FToolBarStyler = Styler;
  auto usable = [](TCustomVivIzizEzuStyler* s) {
    return s && !s->ComponentState().Contains(csDestroying);
  };
  if (FParentStyler && FLastDockPanel) {
    if (auto* site = dynamic_cast<IToolBarDockSite*>(FLastDockPanel)) {
      TCustomVivIzizEzuStyler* s = site->DockStylerInForce();
      if (usable(s)) FToolBarStyler = s;
    }
  }
  if (FParentStyler && Page() && Page()->OnPager()) {
    TCustomVivIzizEzuStyler* s = Page()->PagerStylerInForce();
    if (usable(s)) FToolBarStyler = s;
  }
  if (usable(FToolBarStyler)) {
    FStylerInForce = FToolBarStyler;
    if (FStylerInForce != FInternalStyler) {
      FStylerInForce->AddControl(this);
      FStylerInForce->FreeNotification(this);
    }
  } else {
    FToolBarStyler = nullptr;
    FStylerInForce = FInternalStyler;
  }
  if (Parent()) {
    AdjustSizeOfAllButtons(false);
    UpdateAllGlowButtons();
  }
  Invalidate();
}

void TDizCustomToolBar::SetParentStyler(bool Value) {
  if (Value || Value != FParentStyler) {
    FParentStyler = Value;
    SetToolBarStyler(nullptr);
  }
}

void TDizCustomToolBar::UpdateMe(int Kind) {
  if (!FStylerInForce) return;
  SetColor(FStylerInForce->Color()->Color());
  switch (Kind) {
    case ckColors:
    case ckGlowButtons: UpdateAllGlowButtons(); break;
    case ckDragGrip:
      SetControlsPosition(true);
      UpdateRULists();
      break;
    case ckMenuStyler:
      if (!IsLoading()) AdjustSizeOfAllButtons(true);
      break;
    default: break;
  }
  UpdateAllContainer();
  Invalidate();
}

void TDizCustomToolBar::UpdateAllGlowButtons() {
  if (!FStylerInForce) return;
  DUZERazav style = FStylerInForce->ComponentStyle();
  auto* styleIf = dynamic_cast<IDizStyle*>(FStylerInForce);
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (auto* g = dynamic_cast<TDizCustomGlowButton*>(c)) {
      g->SetAppearance(FStylerInForce->GlowButtonAppearance());
    } else if (auto* s = dynamic_cast<IDizStyle*>(c)) {
      if (styleIf && style != tsCustom) s->SetComponentStyle(style);
    }
  }
}

void TDizCustomToolBar::UpdateAllContainer() {
  if (!FStylerInForce) return;
  for (int i = 0; i < FSequence->Count(); ++i)
    if (auto* c = dynamic_cast<TVivIzizEzuContainer*>(At(FSequence.get(), i))) c->Invalidate();
}

// ---- parent and state -------------------------------------------------------------------
void TDizCustomToolBar::SetParent(TWinControl* AParent) {
  if (AParent == Parent()) {
    TCustomControl::SetParent(AParent);
    return;
  }
  FPrevState = FState;
  auto* site = dynamic_cast<IToolBarDockSite*>(AParent);
  if (site && AParent == FDockPanel) {
    TCustomControl::SetParent(AParent);
    return;
  }
  TWinControl* oldPanel = FDockPanel;
  HideOptionWindow();
  if (site) {
    TWinControl* oldParent = Parent();
    TCustomControl::SetParent(AParent);
    if (auto* old = DockSite()) old->RemoveToolBar(this);
    FDockPanel = nullptr;
    FState = tsDocked;
    if (site->AddToolBar(this) == -1) {
      // Refused: the tool bar goes back where it was, in its previous state.
      FState = FPrevState;
      TCustomControl::SetParent(oldParent);
      if (auto* back = dynamic_cast<IToolBarDockSite*>(oldPanel)) {
        FDockPanel = oldPanel;
        if (back->AddToolBar(this) == -1) FDockPanel = nullptr;
      }
      return;
    }
    FDockPanel = AParent;
    FLastDockPanel = AParent;
    if (FFloatingTimer) {
      if (HandleAllocated()) KillTimer(Handle(), FFloatingTimer);
      FFloatingTimer = 0;
    }
    FPendingShow = false;
    SetParentStyler(FParentStyler);
    SetControlsPosition(true);
    UpdateRULists();
    if (!IsLoading() && OnDocked) OnDocked(this, AParent);
    return;
  }
  TCustomControl::SetParent(AParent);
  if (auto* old = dynamic_cast<IToolBarDockSite*>(oldPanel)) old->RemoveToolBar(this);
  FDockPanel = nullptr;
  if (oldPanel && !IsLoading() && OnUnDocked) OnUnDocked(this);
  if (AParent && dynamic_cast<TFloatingWindow*>(AParent)) {
    // Floating: always horizontal, laid out in FloatingRows rows.
    FState = tsFloating;
    SetPosition(daTop);
    SetParentStyler(FParentStyler);
    SetControlsPosition(true);
    return;
  }
  if (AParent) {
    if (!(Page() && Page()->OnPager())) SetParentStyler(false);
    else SetParentStyler(FParentStyler);
    FState = tsFixed;
  }
  SetControlsPosition(true);
}

void TDizCustomToolBar::SetPosition(TDockAlign Value) {
  if (FState == tsFloating) Value = daTop;
  if (FPosition == Value) return;
  FPosition = Value;
  // The bar turns: its length runs along the new side and its thickness across it.
  const bool horizontal = IsHorizontal(Value);
  TSizeConstraints* k = Constraints();
  {
    const bool saved = FAllowBoundChange;
    FAllowBoundChange = true;
    if (horizontal) {
      k->SetMinHeight(0);
      k->SetMaxHeight(0);
      k->SetMinWidth(FMinLength);
      k->SetMaxWidth(FFullLength);
      SetBounds(Left(), Top(), FFullLength, FDockedThickness);
    } else {
      k->SetMinWidth(0);
      k->SetMaxWidth(0);
      k->SetMinHeight(FMinLength);
      k->SetMaxHeight(FFullLength);
      SetBounds(Left(), Top(), FDockedThickness, FFullLength);
    }
    FAllowBoundChange = saved;
  }
  {
    const bool saved = FPositioning;
    FPositioning = true;
    for (int i = 0; i < FSequence->Count(); ++i)
      if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(At(FSequence.get(), i))) item->SetPosition(Value);
    FPositioning = saved;
  }
  // The length again, now through the rows of the dock panel.
  FFullLength = GetMaxLength();
  if (horizontal) {
    k->SetMinWidth(FMinLength);
    k->SetMaxWidth(FFullLength);
    SetWidth(FFullLength);
  } else {
    k->SetMinHeight(FMinLength);
    k->SetMaxHeight(FFullLength);
    SetHeight(FFullLength);
  }
  SetControlsPosition(true);
  UpdateRULists();
  Invalidate();
}

UINT VivIzizEzuRULMessage();
void RunPostedRULists(TDizCustomToolBar* T, const TDbgList* Seq, const TDbgList* Hidden, int IndicatorWidth);

void TDizCustomToolBar::WndProc(TMessage& Message) {
  if (MenuBarMessage(Message)) return;
  if (Message.Msg == VivIzizEzuRULMessage()) {
    FRULPosted = false;
    RunPostedRULists(this, FSequence.get(), FHidden.get(), FPopupIndicatorWidth);
    Invalidate();
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case CM_CONTROLCHANGE: CMControlChange(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case WM_TIMER:
      if (Message.WParam == FFloatingTimer && FFloatingTimer) {
        FloatingTimerTick();
        return;
      }
      break;
    case WM_DESTROY:
      if (FFloatingTimer) {
        KillTimer(Handle(), FFloatingTimer);
        FFloatingTimer = 0;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TDizCustomToolBar::CMControlChange(TMessage& Message) {
  TCustomControl::WndProc(Message);
  auto* c = reinterpret_cast<TControl*>(Message.WParam);
  if (!c) return;
  if (IsDestroying()) {
    // A child leaving a tool bar that is going: no layout, but no stale entry either.
    if (!Message.LParam) {
      FSequence->Remove(c);
      FRUL->Remove(c);
      FHidden->Remove(c);
      FVisibleSnapshot->Remove(c);
    }
    return;
  }
  if (FControlTransfer) return;
  if (Message.LParam) InsertControl(c);
  else RemoveControl(c);
}

void TDizCustomToolBar::CMVisibleChanged(TMessage& Message) {
  IToolBarDockSite* site = DockSite();
  const bool shown = Message.WParam != 0;
  if (site && shown && !IsDesigning()) site->UpdateToolBarVisibility(this);
  TCustomControl::WndProc(Message);
  if (site && !shown && !IsDesigning()) site->UpdateToolBarVisibility(this);
}

void TDizCustomToolBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int oldW = Width(), oldH = Height();
  if (FState == tsDocked && !FAllowBoundChange)
    if (IToolBarDockSite* site = DockSite()) site->SetToolBarBounds(this, ALeft, ATop, AWidth, AHeight);
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A new length may hide controls or give them back.
  if (!IsLoading() && FSequence && !FPositioning &&
      (Horizontal() ? Width() != oldW : Height() != oldH))
    UpdateRULists();
}

void TDizCustomToolBar::Update() {
  TCustomControl::Update();
  if (IToolBarDockSite* site = DockSite()) {
    if (!FInPaint) site->ArrangeToolBars();
    UpdateRULists();
  }
  // Layout never runs from inside painting.
  if (!FInPaint) SetControlsPosition(true);
}

void TDizCustomToolBar::Resize() { TCustomControl::Resize(); }

// ---- control list -----------------------------------------------------------------------
int TDizCustomToolBar::AddToolBarControl(TControl* Control) {
  if (!Control || FSequence->IndexOf(Control) >= 0 || Control->Parent() == this) return -1;
  Control->SetParent(this);
  const int i = FSequence->IndexOf(Control);
  if (i < 0) return -1;
  MoveToolBarControl(i, FSequence->Count() - 1);
  return FSequence->Count() - 1;
}

void TDizCustomToolBar::InsertToolBarControl(int Index, TControl* Control) {
  if (!Control || FSequence->IndexOf(Control) >= 0 || Control->Parent() == this) return;
  const int i = AddToolBarControl(Control);
  if (i >= 0) MoveToolBarControl(i, Index);
}

void TDizCustomToolBar::MoveToolBarControl(int CurIndex, int NewIndex) {
  const int n = FSequence->Count();
  if (CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n || CurIndex == NewIndex) return;
  FSequence->Move(CurIndex, NewIndex);
  SetControlsPosition(true);
  UpdateRULists();
}

int TDizCustomToolBar::IndexOfToolBarControl(TControl* Control) const { return FSequence->IndexOf(Control); }

TControl* TDizCustomToolBar::GetToolBarControls(int Index) const {
  if (Index < 0 || Index >= FSequence->Count()) return nullptr;
  return At(FSequence.get(), Index);
}

int TDizCustomToolBar::AddVivIzizEzuControl(TDizCustomToolBarControl* Control) {
  const int index = FSequence->Count();
  InsertVivIzizEzuControl(Control, index);
  return index;
}

void TDizCustomToolBar::InsertVivIzizEzuControl(TDizCustomToolBarControl* Control, int Index) {
  // A negative index is refused like one beyond the end.
  if (Index > FSequence->Count() || Index < 0) throw Exception("Invalid Index");
  if (!Control || FSequence->IndexOf(Control) >= 0) return;
  FSequence->Insert(Index, Control);
  Control->FVivIzizEzu = this;
  SetControlsPosition(true);
}

void TDizCustomToolBar::RemoveVivIzizEzuControl(TDizCustomToolBarControl* Control) {
  const int i = FSequence->IndexOf(Control);
  if (i < 0) return;
  FSequence->Delete(i);
  SetControlsPosition(true);
}

void TDizCustomToolBar::InsertControl(TControl* Control) {
  if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(Control)) {
    if (auto* sep = dynamic_cast<TVivIzizEzuSeparator*>(item))
      if (Page()) sep->SetAutoSize(false);
    item->FVivIzizEzu = this;
    item->SetPosition(FPosition);
    if (!IsLoading() && !IsDesigning()) item->AdjustSize();
  }
  if (FStylerInForce) {
    if (auto* g = dynamic_cast<TDizCustomGlowButton*>(Control))
      if (dynamic_cast<TDovAvarOrodez*>(g) || dynamic_cast<TDBDovAvarOrodez*>(g) ||
          dynamic_cast<TDizGlowMenuButton*>(g))
        g->SetAppearance(FStylerInForce->GlowButtonAppearance());
  }
  const int i = FSequence->IndexOf(Control);
  if (i >= 0) ReorderControl(i, Control->Left(), Control->Top());
  else FSequence->Insert(ControlIndex(-1, Control->Left(), Control->Top()), Control);
  if (FAutoRUL && FRUL->IndexOf(Control) < 0) FRUL->Add(Control);
  SetControlsPosition(true);
}

void TDizCustomToolBar::RemoveControl(TControl* Control) {
  if (!FSequence || FSequence->IndexOf(Control) < 0) return;
  if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(Control))
    if (item->FVivIzizEzu == this) item->FVivIzizEzu = nullptr;
  FSequence->Remove(Control);
  FVisibleSnapshot->Remove(Control);
  if (FAutoRUL) {
    FRUL->Remove(Control);
    FHidden->Remove(Control);
  }
  SetControlsPosition(true);
}

void TDizCustomToolBar::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  if (AControl && !FPositioning) AdjustControl(AControl);
}

void TDizCustomToolBar::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  if (Horizontal() && FState != tsFloating && !FAutoPositionControls && FShowCaption && Page())
    Rect = GetMyClientRect();
}

void TDizCustomToolBar::AdjustControl(TControl* Control) {
  const int i = FSequence->IndexOf(Control);
  if (i < 0) return;
  if (IsDesigning() || IsLoading()) ReorderControl(i, Control->Left(), Control->Top());
  FAdjusting = !IsDesigning() && DockSite() != nullptr;
  SetControlsPosition(true);
  UpdateRULists();
  FAdjusting = false;
  if (!IsDesigning() && !IsLoading() && !FAllowBoundChange)
    if (IToolBarDockSite* site = DockSite()) site->ArrangeToolBarRow(this);
}

void TDizCustomToolBar::BuildSequenceControlList() {
  FSequence->Clear();
  const bool onPage = Page() != nullptr;
  for (TControl* c : ControlList()) {
    int j = FSequence->Count();
    while (j > 0) {
      TControl* e = At(FSequence.get(), j - 1);
      bool skip;
      if (Horizontal())
        skip = e->Left() > c->Left() || (onPage && e->Left() == c->Left() && e->Top() > c->Top());
      else
        skip = e->Top() > c->Top();
      if (!skip) break;
      --j;
    }
    FSequence->Insert(j, c);
  }
  if (FAutoRUL) FRUL->AssignList(FSequence.get());
}

void TDizCustomToolBar::GetSequenceControlList(TDbgList* List, bool VisibleOnly) {
  if (!List) return;
  List->Clear();
  for (TControl* c : ControlList()) {
    if (VisibleOnly && !c->Visible()) continue;
    int j = List->Count();
    if (Horizontal()) {
      while (j > 0 && At(List, j - 1)->Left() > c->Left()) --j;
      if (j > 0 && At(List, j - 1)->Left() == c->Left()) {
        // Among the entries of the same Left, behind the last one not lower than it.
        int k = j - 1, best = -1;
        while (k >= 0 && At(List, k)->Left() == c->Left()) {
          if (At(List, k)->Top() <= c->Top()) {
            best = k;
            break;
          }
          --k;
        }
        j = best >= 0 ? best + 1 : k + 1;
      }
    } else {
      while (j > 0 && At(List, j - 1)->Top() > c->Top()) --j;
    }
    List->Insert(j, c);
  }
}

int TDizCustomToolBar::ControlIndex(int OldIndex, int Left, int Top) const {
  const int n = FSequence->Count();
  if (OldIndex >= 0 && n <= 1) return OldIndex;
  if (Left == 0 || Top == 0 || n == 0) return n;
  for (int i = 0; i < n; ++i) {
    if (i == OldIndex) continue;
    TControl* e = At(FSequence.get(), i);
    if (Horizontal() ? e->Left() >= Left : e->Top() >= Top) return i;
  }
  return n;
}

int TDizCustomToolBar::ReorderControl(int Index, int Left, int Top) {
  int ni = ControlIndex(Index, Left, Top);
  if (ni != Index && Index >= 0 && Index < FSequence->Count()) {
    void* p = FSequence->GetItemsEx(Index);
    FSequence->Delete(Index);
    if (Index < ni) --ni;
    ni = std::min(std::max(ni, 0), FSequence->Count());
    FSequence->Insert(ni, p);
    return ni;
  }
  return Index;
}

std::unordered_set<const void*> TDizCustomToolBar::HiddenSet() const {
  std::unordered_set<const void*> set;
  if (FHidden) set.insert(FHidden->List().begin(), FHidden->List().end());
  return set;
}

// ---- layout -----------------------------------------------------------------------------
bool TDizCustomToolBar::IsSmallGlow(TControl* C) const {
  auto* g = dynamic_cast<TDizCustomGlowButton*>(C);
  return g && g->ButtonSizeState() != bsLarge;
}

int TDizCustomToolBar::GripInset() const {
  if (!FStylerInForce || FStylerInForce->DragGripStyle() == dsNone || Page() || FState == tsFloating) return 2;
  return FDragGripWidth + 2;
}

int TDizCustomToolBar::CaptionInset() const {
  return FShowCaption && FCaptionPosition == cpTop ? FCaptionHeight + 2 : 2;
}

void TDizCustomToolBar::Park(TControl* C) {
  if (Horizontal()) C->SetTop(Height() + 2);
  else C->SetLeft(Width() + 2);
}

void TDizCustomToolBar::PlaceControl(TControl* C, int X, int Y) {
  C->SetLeft(X);
  C->SetTop(Y);
}

void TDizCustomToolBar::SetControlsPosition(bool Resize) {
  if (IsLoading() || IsDestroying() || FUpdateCount > 0 || !FSequence) return;
  if (!FAutoPositionControls && FState == tsFixed && !DockSite()) return;
  // Layout never runs from inside painting: a paint that reached it is a fault.
  if (FInPaint) return;
  FPositioning = true;
  const bool designing = IsDesigning();
  const int n = FSequence->Count();
  bool resizeAtEnd = false;
  if (Page() && !FAutoSizeEx) {
    int x = 2, y = 2;
    for (int i = 0; i < n; ++i) {
      TControl* c = At(FSequence.get(), i);
      if (!c->Visible()) {
        Park(c);
        continue;
      }
      if (Width() - x - 2 < c->Width()) {
        int right = 2;
        for (int k = 0; k < i; ++k) {
          TControl* e = At(FSequence.get(), k);
          if (e->Height() > c->Height()) right = std::max(right, e->Left() + e->Width());
        }
        x = right;
        y += c->Height();
      }
      PlaceControl(c, x, y);
      x += c->Width();
    }
  } else if (FState == tsFloating) {
    // Wrapped into FloatingRows rows at the width the floating sizes give.
    FPositioning = false;
    if (Resize) UpdateSize();
    FPositioning = true;
    int x = 2, y = FCaptionHeight + 2;
    for (int i = 0; i < n; ++i) {
      TControl* c = At(FSequence.get(), i);
      if (!c->Visible()) {
        Park(c);
        continue;
      }
      if (Width() - x - 2 < c->Width() && x > 2) {
        y += FDockedThickness;
        x = 2;
      }
      PlaceControl(c, x, y);
      x += c->Width();
    }
  } else if (Horizontal() && Page()) {
    int x = GripInset();
    const int y = CaptionInset();
    int colX = x, colW = 0, inCol = 0, colY = y;
    for (int i = 0; i < n; ++i) {
      TControl* c = At(FSequence.get(), i);
      if (!c->Visible() && !designing) {
        Park(c);
        continue;
      }
      if (IsSmallGlow(c)) {
        if (inCol == 3) {
          colX += colW;
          colW = 0;
          inCol = 0;
        }
        if (inCol == 0) colY = y;
        PlaceControl(c, colX, colY);
        colY += c->Height();
        colW = std::max(colW, c->Width());
        ++inCol;
      } else {
        if (inCol > 0) {
          colX += colW;
          colW = 0;
          inCol = 0;
        }
        PlaceControl(c, colX, y);
        colX += c->Width();
      }
    }
    resizeAtEnd = true;
  } else if (Horizontal()) {
    int x = GripInset();
    const int y = CaptionInset();
    const auto hiddenSet = HiddenSet();
    for (int i = 0; i < n; ++i) {
      TControl* c = At(FSequence.get(), i);
      const bool hidden = hiddenSet.count(c) > 0;
      if ((c->Visible() || designing) && !hidden) {
        PlaceControl(c, x, y);
        x += c->Width();
      } else if (hidden) {
        if (c->Parent() == this) Park(c);
      } else {
        Park(c);
      }
    }
    resizeAtEnd = true;
  } else {
    int y = GripInset();
    const int x = CaptionInset();
    const auto hiddenSet = HiddenSet();
    for (int i = 0; i < n; ++i) {
      TControl* c = At(FSequence.get(), i);
      const bool hidden = hiddenSet.count(c) > 0;
      if ((c->Visible() || designing) && !hidden) {
        PlaceControl(c, x, y);
        y += c->Height();
      } else if (!hidden || c->Parent() == this) {
        Park(c);
      }
    }
    resizeAtEnd = true;
  }
  FPositioning = false;
  if (resizeAtEnd && Resize) UpdateSize();
}

void TDizCustomToolBar::UpdateSize() {
  if (FState == tsFloating) {
    TSizeConstraints* k = Constraints();
    k->SetMinWidth(0);
    k->SetMaxWidth(0);
    k->SetMinHeight(0);
    k->SetMaxHeight(0);
    int h = 0, w = 0;
    GetFloatingSizes(h, w);
    SetBounds(Left(), Top(), w, h);
    return;
  }
  if (Horizontal()) UpdateSizeHorizontal();
  else UpdateSizeVertical();
}

void TDizCustomToolBar::UpdateSizeHorizontal() {
  const bool designing = IsDesigning();
  const bool columns = Page() != nullptr;
  const int n = FSequence->Count();
  int N = FMinLength;
  bool counted = false;
  if (n > 0) {
    int last = -1;
    const auto hiddenSet = HiddenSet();
    for (int i = n - 1; i >= 0; --i) {
      TControl* c = At(FSequence.get(), i);
      if (!hiddenSet.count(c) && (c->Visible() || designing)) {
        last = i;
        break;
      }
    }
    if (last < 0) {
      N = 15;
    } else if (columns) {
      int edge = 0, small = 0;
      for (int i = last; i >= 0; --i) {
        TControl* c = At(FSequence.get(), i);
        if (!c->Visible() && !designing) continue;
        const bool isSmall = IsSmallGlow(c);
        if (isSmall && small == 3) break;
        edge = std::max(edge, c->Left() + c->Width());
        if (!isSmall) break;
        ++small;
      }
      N = edge == 0 ? FMinLength : edge;
    } else {
      TControl* c = At(FSequence.get(), last);
      N = c->Left() + c->Width();
    }
    if (PopupShown()) N += FPopupIndicatorWidth;
  }
  int S = GripInset();
  int T = 26;
  for (int i = 0; i < n; ++i) {
    TControl* c = At(FSequence.get(), i);
    if (!c->Visible() && !designing) continue;
    counted = true;
    S += c->Width();
    // The class test only where the height would count (it is the dear part of the loop).
    if (c->Height() + 4 > T && !IsSeparator(c)) T = c->Height() + 4;
  }
  if (PopupShown()) S += FPopupIndicatorWidth;
  FFullLength = columns ? N : std::max(S, N);
  if (FHideOnEmpty && !counted && Page() && !designing) {
    FFullLength = 0;
    N = 0;
  }
  if (FFullSize || !FAutoSizeEx) return;
  TSizeConstraints* k = Constraints();
  k->SetMinHeight(0);
  k->SetMaxHeight(0);
  k->SetMinWidth(std::min(FMinLength, N));
  if (FAdjusting && k->MaxWidth() != FFullLength && FFullLength < Width() && Width() != N) SetWidth(N);
  k->SetMaxWidth(FFullLength);
  if (Width() < N) {
    SetWidth(N);
  } else if (N < Width() && FFullLength < Width()) {
    const bool saved = FAllowBoundChange;
    FAllowBoundChange = !FAdjusting;
    SetWidth(N);
    FAllowBoundChange = saved;
  }
  const int h = T + (FShowCaption ? FCaptionHeight : 0);
  if (Height() != h) SetHeight(h);
}

void TDizCustomToolBar::UpdateSizeVertical() {
  if (FFullSize) return;
  const bool designing = IsDesigning();
  const int n = FSequence->Count();
  int N = FMinLength;
  if (n > 0) {
    int last = -1;
    const auto hiddenSet = HiddenSet();
    for (int i = n - 1; i >= 0; --i) {
      TControl* c = At(FSequence.get(), i);
      if (!hiddenSet.count(c) && (c->Visible() || designing)) {
        last = i;
        break;
      }
    }
    N = last < 0 ? 15 : At(FSequence.get(), last)->Top() + At(FSequence.get(), last)->Height();
    if (PopupShown()) N += FPopupIndicatorWidth;
  }
  int S = GripInset(), T = 26;
  for (int i = 0; i < n; ++i) {
    TControl* c = At(FSequence.get(), i);
    if (!c->Visible() && !designing) continue;
    S += c->Height();
    if (c->Width() + 4 > T && !IsSeparator(c)) T = c->Width() + 4;
  }
  if (PopupShown()) S += FPopupIndicatorWidth;
  FFullLength = std::max(S, N);
  if (!FAutoSizeEx) return;
  TSizeConstraints* k = Constraints();
  k->SetMinWidth(0);
  k->SetMaxWidth(0);
  k->SetMinHeight(std::min(FMinLength, N));
  k->SetMaxHeight(FFullLength);
  if (Height() < N || (N < Height() && FFullLength < Height())) SetHeight(N);
  const int w = T + (FShowCaption ? FCaptionHeight : 0);
  if (Width() != w) SetWidth(w);
}

int TDizCustomToolBar::GetMaxLength() {
  int len = GripInset();
  const bool h = Horizontal();
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (c->Visible()) len += h ? c->Width() : c->Height();
  }
  if (PopupShown()) len += FPopupIndicatorWidth;
  return std::max(len, FMinLength);
}

void TDizCustomToolBar::GetMaxControlSize(int& W, int& H) {
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (IsSeparator(c)) continue;
    W = std::max(W, c->Width());
    H = std::max(H, c->Height());
  }
}

void TDizCustomToolBar::GetMaxExternalControlSize(int& W, int& H) {
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (dynamic_cast<TDizCustomToolBarControl*>(c)) continue;
    W = std::max(W, c->Width());
    H = std::max(H, c->Height());
  }
}

void TDizCustomToolBar::GetMaxToolBarButtonSize(int& W, int& H) {
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (!dynamic_cast<TDizCustomToolBarButton*>(c)) continue;
    W = std::max(W, c->Width());
    H = std::max(H, c->Height());
  }
}

int TDizCustomToolBar::GetSizeAtDock(bool AtDock) {
  int W = 0, H = 0, BW = 0, BH = 0;
  GetMaxControlSize(W, H);
  GetMaxToolBarButtonSize(BW, BH);
  int v;
  if (FState == tsFloating || AtDock) {
    if (IsHorizontal(FPosition)) {
      v = H;
    } else {
      int EW = 0, EH = 0;
      GetMaxExternalControlSize(EW, EH);
      v = std::max(BW, EH);
    }
  } else {
    v = IsHorizontal(FPosition) ? H : W;
  }
  return std::max(v + 4, 26);
}

int TDizCustomToolBar::CanShrink() const {
  TSizeConstraints* k = Constraints();
  return Horizontal() ? Width() - k->MinWidth() : Height() - k->MinHeight();
}

int TDizCustomToolBar::CanExpand() const {
  TSizeConstraints* k = Constraints();
  return Horizontal() ? k->MaxWidth() - Width() : k->MaxHeight() - Height();
}

void TDizCustomToolBar::AdjustSizeOfAllButtons(bool OnlyMenuButtons) {
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (OnlyMenuButtons) {
      if (auto* m = dynamic_cast<TVivIzizEzuMenuButton*>(c)) m->AdjustSize();
    } else if (auto* b = dynamic_cast<TDizCustomToolBarButton*>(c)) {
      b->AdjustSize();
    }
  }
}

void TDizCustomToolBar::BeginUpdate() {
  if (!Visible()) return;
  ++FUpdateCount;
  if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TDizCustomToolBar::EndUpdate() {
  if (!Visible()) return;
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) {
    if (HandleAllocated()) {
      SendMessage(Handle(), WM_SETREDRAW, 1, 0);
      InvalidateRect(Handle(), nullptr, FALSE);
    }
    SetControlsPosition(true);
  }
}

// ---- properties -------------------------------------------------------------------------
void TDizCustomToolBar::SetAllowFloating(bool Value) {
  if (!Value && FState == tsFloating) return;
  FAllowFloating = Value;
}

void TDizCustomToolBar::SetLocked(bool Value) {
  if (Value && FState == tsFloating) return;
  FLocked = Value;
}

void TDizCustomToolBar::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TDizCustomToolBar::SetAutoArrangeButtons(bool Value) {
  FAutoArrangeButtons = Value;
  if (!Value && !IsLoading() && FAutoRUL) FRUL->AssignList(FSequence.get());
}

void TDizCustomToolBar::SetAutoSizeEx(bool Value) {
  if (!Value && !(FState == tsFixed && !DockSite())) return;
  FAutoSizeEx = Value;
  SetControlsPosition(true);
  if (!Value) {
    TSizeConstraints* k = Constraints();
    k->SetMinWidth(0);
    k->SetMaxWidth(0);
    k->SetMinHeight(0);
    k->SetMaxHeight(0);
  }
}

void TDizCustomToolBar::SetAutoPositionControls(bool Value) {
  if (!Value && !(FState == tsFixed && !DockSite())) return;
  FAutoPositionControls = Value;
  if (Value) SetControlsPosition(true);
  else SetAutoSizeEx(false);
}

void TDizCustomToolBar::SetFullSize(bool Value) {
  if (FFullSize == Value) return;
  FFullSize = Value;
  if (IToolBarDockSite* site = DockSite()) {
    if (Value) {
      SetParentStyler(true);
      site->SetToolBarFullSize(this, true);
      UpdateRULists();
      SetControlsPosition(false);
    } else {
      UpdateSize();
    }
  }
  Invalidate();
}

void TDizCustomToolBar::SetCaption(const std::string& Value) {
  TCustomControl::SetCaption(Value);
  Invalidate();
}

void TDizCustomToolBar::SetWideCaption(const std::u16string& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  Invalidate();
}

void TDizCustomToolBar::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Invalidate();
}

void TDizCustomToolBar::SetCaptionHeight(int Value) {
  FCaptionHeight = Value;
  if (FShowCaption) SetControlsPosition(false);
  Invalidate();
}

void TDizCustomToolBar::SetCaptionPosition(TCaptionPosition Value) {
  FCaptionPosition = Value;
  if (FShowCaption) SetControlsPosition(false);
  Invalidate();
}

void TDizCustomToolBar::SetCaptionAlignment(TAlignment Value) {
  FCaptionAlignment = Value;
  Invalidate();
}

void TDizCustomToolBar::SetShowCaption(bool Value) {
  FShowCaption = Value;
  SetControlsPosition(true);
  Invalidate();
}

void TDizCustomToolBar::SetShowRightHandle(bool Value) {
  FShowRightHandle = Value;
  FPopupIndicatorWidth = Value ? 14 : 4;
  SetControlsPosition(true);
  Invalidate();
}

void TDizCustomToolBar::SetShowOptionIndicator(bool Value) {
  FShowOptionIndicator = Value;
  Invalidate();
}

void TDizCustomToolBar::SetDragGripWidth(int Value) {
  FDragGripWidth = Value;
  SetControlsPosition(true);
}

void TDizCustomToolBar::SetPopupIndicatorWidth(int Value) {
  FPopupIndicatorWidth = Value;
  SetControlsPosition(true);
}

void TDizCustomToolBar::SetShowPopupIndicator(bool Value) {
  if (FShowPopupIndicator == Value) return;
  FShowPopupIndicator = Value;
  Invalidate();
}


void TDizCustomToolBar::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  TCustomImageList* old = FImages;
  if (old) {
    if (Value) {
      if (Horizontal()) SetHeight(Height() + Value->GetHeight() - old->GetHeight());
      else SetWidth(Width() + Value->GetWidth() - old->GetWidth());
    } else {
      if (Horizontal()) SetHeight(Height() - old->GetHeight());
      else SetWidth(Width() - old->GetWidth());
    }
  }
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  auto adjustAll = [this] {
    for (int i = 0; i < FSequence->Count(); ++i)
      if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(At(FSequence.get(), i))) item->AdjustSize();
  };
  FPositioning = true;
  adjustAll();
  FPositioning = false;
  SetControlsPosition(true);
  if (Value) {
    adjustAll();
    for (int i = 0; i < FSequence->Count(); ++i)
      if (auto* b = dynamic_cast<TDizCustomToolBarButton*>(At(FSequence.get(), i))) b->GenerateShade();
  }
  Invalidate();
}

void TDizCustomToolBar::SetDisabledImages(TCustomImageList* Value) {
  if (FDisabledImages == Value) return;
  FDisabledImages = Value;
  if (Value) Value->FreeNotification(this);
  for (int i = 0; i < FSequence->Count(); ++i)
    if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(At(FSequence.get(), i))) item->AdjustSize();
  Invalidate();
}

void TDizCustomToolBar::UpdateImagesShade() {
  if (!FImages) return;
  for (int i = 0; i < FSequence->Count(); ++i) {
    TControl* c = At(FSequence.get(), i);
    if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(c)) item->AdjustSize();
    if (auto* b = dynamic_cast<TDizCustomToolBarButton*>(c)) b->GenerateShade();
  }
}

}  // namespace VivIzizEzu
