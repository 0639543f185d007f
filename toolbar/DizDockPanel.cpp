// The dock panel: docking and undocking tool bars, the styler link, alignment, loading,
// painting and persistence of the docked layout.
#include "toolbar/DizDockPanel.h"

#include "platform/vcl/Forms.h"

#include <algorithm>
#include <functional>

#include "menus/RadUdire.h"
#include "platform/rtl/Exceptions.h"
#include "toolbar/VivIzizEzuDraw.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace VivIzizEzu {

// ---- construction -----------------------------------------------------------------------
TDizDockPanel::TDizDockPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FInternalStyler = new TCustomVivIzizEzuStyler(this);
  FInternalStyler->SetName("InternalStyler");
  FInternalStyler->SetSubComponent(true);
  FStylerInForce = FInternalStyler;
  FInternalStyler->AddControl(this);
  FRows = std::make_unique<TRowCollection>(this);
  FToolBars = std::make_unique<TDbgList>();
  FHidden = std::make_unique<TDbgList>();
  FImage = std::make_unique<TBitmap>();
  FPersistence = std::make_unique<TPersistence>(this);
  FPersistence->OnChange = [this](TObject* Sender) { OnPersistenceChange(Sender); };
  TControlStyle s = ControlStyle();
  s.Include(csAcceptsControls);
  s.Exclude(csOpaque);
  s.Exclude(csClickEvents);
  s.Exclude(csCaptureMouse);
  SetControlStyle(s);
  TCustomControl::SetAlign(alTop);
  SetDoubleBuffered(true);
  SetColor(FStylerInForce->DockColor()->Color());
}

TDizDockPanel::~TDizDockPanel() {
  if (FPersistence->Enabled() && !IsDesigning()) {
    try {
      SaveToolBarsPosition();
    } catch (const Exception&) {
      // A store that cannot be written must not stop the panel from going.
    }
  }
  if (FToolBarStyler && FToolBarStyler != FInternalStyler) FToolBarStyler->RemoveControl(this);
  FToolBarStyler = nullptr;
  FStylerInForce = nullptr;
  FRows->Clear();
  FToolBars->Clear();
  FHidden->Clear();
}

// ---- parent, loading, notifications -----------------------------------------------------
void TDizDockPanel::SetParent(TWinControl* AParent) {
  if (dynamic_cast<TDizDockPanel*>(AParent) || dynamic_cast<TDizCustomToolBar*>(AParent))
    throw Exception("Invalid Parent");
  TCustomControl::SetParent(AParent);
}

void TDizDockPanel::Loaded() {
  FInLoaded = true;
  TCustomControl::Loaded();
  // The rows are built anew from the designed places.
  FRows->Clear();
  const bool horz = IsHorizontal(FAlign);
  // Sorted by the designed position across and then along the rows; equal keys keep the
  // load order.
  struct TPlaced {
    TDizCustomToolBar* Bar;
    int Left, Top;
  };
  std::vector<TPlaced> sorted;
  for (int i = 0; i < FToolBars->Count(); ++i) {
    auto* bar = GetVivIzizEzus(i);
    TPlaced p{bar, bar->Left(), bar->Top()};
    auto greater = [&](const TPlaced& q) {
      return horz ? (q.Top > p.Top || (q.Top == p.Top && q.Left > p.Left))
                  : (q.Left > p.Left || (q.Left == p.Left && q.Top > p.Top));
    };
    sorted.insert(std::find_if(sorted.begin(), sorted.end(), greater), p);
  }
  for (const TPlaced& p : sorted) {
    if (!p.Bar->Visible() && !IsDesigning()) {
      if (FHidden->IndexOf(p.Bar) < 0) FHidden->Add(p.Bar);
      continue;
    }
    FRows->Add()->AddToolBar(p.Bar);
    // The stored place again, through the row rules: tool bars designed side by side
    // come back into one row.
    p.Bar->SetBounds(p.Left, p.Top, p.Bar->Width(), p.Bar->Height());
  }
  if (FPersistence->Enabled() && !IsDesigning()) {
    try {
      LoadToolBarsPosition();
    } catch (const Exception&) {
      // An unreadable store leaves the designed layout.
    }
  }
  FPropertiesLoaded = true;
  FInLoaded = false;
  FRows->SetRowsPosition();
}

void TDizDockPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent) return;
  if (ComponentState().Contains(csDestroying)) {
    // Going too: only forget what goes first.
    if (AComponent == FToolBarStyler) {
      FToolBarStyler = nullptr;
      FStylerInForce = FInternalStyler;
    }
    if (auto* bar = dynamic_cast<TDizCustomToolBar*>(AComponent)) {
      FToolBars->Remove(bar);
      FHidden->Remove(bar);
      for (int r = 0; r < FRows->Count(); ++r) {
        auto& list = FRows->GetItem(r)->FToolBars;
        list.erase(std::remove(list.begin(), list.end(), bar), list.end());
      }
    }
    return;
  }
  if (AComponent == FToolBarStyler) SetToolBarStyler(nullptr);
  if (auto* bar = dynamic_cast<TDizCustomToolBar*>(AComponent))
    if (FToolBars->IndexOf(bar) >= 0 || FRows->IsToolBarAlreadyAdded(bar) >= 0) RemoveToolBar(bar);
}

void TDizDockPanel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      // The rows follow the panel's size; the framework's own handling does not run.
      FRows->SetRowsPosition();
      return;
    case CM_CONTROLCHANGE:
      TCustomControl::WndProc(Message);
      // A tool bar that leaves without telling (freed by another owner) leaves the rows.
      if (!Message.LParam && !ComponentState().Contains(csDestroying))
        if (auto* bar = dynamic_cast<TDizCustomToolBar*>(reinterpret_cast<TControl*>(Message.WParam)))
          if (FToolBars->IndexOf(bar) >= 0 || FRows->IsToolBarAlreadyAdded(bar) >= 0) RemoveToolBar(bar);
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

// ---- docking ----------------------------------------------------------------------------
int TDizDockPanel::AddToolBar(TDizCustomToolBar* ToolBar) {
  if (!ToolBar) return -1;
  int result;
  if (FRows->RowsMayChange()) {
    ToolBar->SetPosition(FAlign);
    if (FToolBars->IndexOf(ToolBar) < 0) FToolBars->Add(ToolBar);
    if (IsLoading()) {
      CopyPersistence(ToolBar);
      return 0;
    }
    result = FRows->Add()->AddToolBar(ToolBar);
  } else {
    const int row = IsAllowedInAnyRow(ToolBar);
    if (row < 0) return -1;
    ToolBar->SetPosition(FAlign);
    if (FToolBars->IndexOf(ToolBar) < 0) FToolBars->Add(ToolBar);
    result = FRows->GetItem(row)->AddToolBar(ToolBar);
  }
  CopyPersistence(ToolBar);
  return result;
}

void TDizDockPanel::CopyPersistence(TDizCustomToolBar* ToolBar) {
  TPersistence* p = ToolBar->Persistence();
  p->SetEnabled(FPersistence->Enabled());
  p->SetKey(FPersistence->Key());
  p->SetLocation(FPersistence->Location());
}

int TDizDockPanel::IsAllowedInAnyRow(TDizCustomToolBar* ToolBar) const {
  const int n = FRows->Count();
  if (FAlign == daLeft || FAlign == daTop) {
    for (int i = n - 1; i >= 0; --i)
      if (FRows->GetItem(i)->IsAllowed(ToolBar)) return i;
  } else {
    for (int i = 0; i < n; ++i)
      if (FRows->GetItem(i)->IsAllowed(ToolBar)) return i;
  }
  return -1;
}

void TDizDockPanel::RemoveToolBar(TDizCustomToolBar* ToolBar) {
  if (!ToolBar) return;
  if (!IsLoading() && !ComponentState().Contains(csDestroying)) {
    int row = ToolBar->Row();
    if (row < 0 || row >= FRows->Count() || FRows->GetItem(row)->IndexOf(ToolBar) < 0)
      row = FRows->IsToolBarAlreadyAdded(ToolBar);
    if (row >= 0) FRows->GetItem(row)->RemoveToolBar(ToolBar, true);
  }
  // No row keeps a tool bar that has left the panel.
  for (int row; (row = FRows->IsToolBarAlreadyAdded(ToolBar)) >= 0;)
    FRows->GetItem(row)->FToolBars.erase(std::remove(FRows->GetItem(row)->FToolBars.begin(),
                                                     FRows->GetItem(row)->FToolBars.end(), ToolBar),
                                         FRows->GetItem(row)->FToolBars.end());
  ToolBar->SetRow(-1);
  FToolBars->Remove(ToolBar);
  FHidden->Remove(ToolBar);
}

void TDizDockPanel::SetToolBarBounds(TDizCustomToolBar* ToolBar, int& ALeft, int& ATop, int& AWidth,
                                     int& AHeight) {
  if (!ToolBar || IsLoading() || !ToolBar->Visible()) return;
  // Requests far outside any screen are brought into range first, so the row arithmetic
  // cannot overflow.
  constexpr int kFar = 1 << 24;
  ALeft = std::clamp(ALeft, -kFar, kFar);
  ATop = std::clamp(ATop, -kFar, kFar);
  AWidth = std::clamp(AWidth, 0, kFar);
  AHeight = std::clamp(AHeight, 0, kFar);
  if (IsHorizontal(FAlign)) {
    FRows->SetToolBarTopAndHeight(ToolBar, ATop, AHeight);
    const int row = ToolBar->Row();
    if (row >= 0 && row < FRows->Count() && FRows->GetItem(row)->IndexOf(ToolBar) >= 0)
      FRows->GetItem(row)->SetToolBarLeftAndWidth(ToolBar, ALeft, AWidth);
  } else {
    FRows->SetToolBarLeftAndWidth(ToolBar, ALeft, AWidth);
    const int row = ToolBar->Row();
    if (row >= 0 && row < FRows->Count() && FRows->GetItem(row)->IndexOf(ToolBar) >= 0)
      FRows->GetItem(row)->SetToolBarTopAndHeight(ToolBar, ATop, AHeight);
  }
}

void TDizDockPanel::UpdateToolBarVisibility(TDizCustomToolBar* ToolBar) {
  if (!ToolBar) return;
  if (ToolBar->Visible()) FHidden->Remove(ToolBar);
  else if (FHidden->IndexOf(ToolBar) < 0) FHidden->Add(ToolBar);
  FRows->UpdateToolBarVisibility(ToolBar);
}

void TDizDockPanel::SetToolBarFullSize(TDizCustomToolBar* ToolBar, bool) { FRows->SetToolBarFullSize(ToolBar); }

void TDizDockPanel::ArrangeToolBars() { FRows->ReArrangeAllToolBars(); }

void TDizDockPanel::ArrangeToolBarRow(TDizCustomToolBar* ToolBar) {
  const int row = ToolBar ? ToolBar->Row() : -1;
  if (row >= 0 && row < FRows->Count() && FRows->GetItem(row)->IndexOf(ToolBar) >= 0)
    FRows->GetItem(row)->ArrangeToolBars();
}

// ---- alignment and size -----------------------------------------------------------------
void TDizDockPanel::SetDockAlign(TDockAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  static const TAlign kAlign[] = {alLeft, alTop, alRight, alBottom};
  TCustomControl::SetAlign(kAlign[Value]);
  for (int i = 0; i < FToolBars->Count(); ++i) GetVivIzizEzus(i)->SetPosition(Value);
  if (!IsLoading()) FRows->SetRowsPosition();
}

void TDizDockPanel::SetMinimumSize(int Value) {
  if (Value == FMinimumSize || Value <= 0) return;
  FMinimumSize = Value;
  if (!IsDesigning() && !IsLoading()) FRows->SetParentSize();
}

void TDizDockPanel::SetUseRunTimeHeight(bool Value) {
  if (FUseRunTimeHeight == Value) return;
  FUseRunTimeHeight = Value;
  if (!IsLoading()) FRows->SetRowsPosition();
}

// ---- styler -----------------------------------------------------------------------------
TCustomVivIzizEzuStyler* TDizDockPanel::DockStylerInForce() const {
  if (ComponentState().Contains(csDestroying)) return nullptr;
  return FStylerInForce;
}

void TDizDockPanel::SetToolBarStyler(TCustomVivIzizEzuStyler* Styler) {
  if (Styler && Styler == FToolBarStyler) return;
  if (FToolBarStyler && FToolBarStyler != FInternalStyler) FToolBarStyler->RemoveControl(this);
  FToolBarStyler = Styler;
  if (Styler) {
    FStylerInForce = Styler;
    Styler->AddControl(this);
  } else {
    FStylerInForce = FInternalStyler;
  }
  if (!ComponentState().Contains(csDestroying) && !IsLoading())
    for (int i = 0; i < FToolBars->Count(); ++i) {
      TDizCustomToolBar* bar = GetVivIzizEzus(i);
      bar->SetParentStyler(bar->ParentStyler());
    }
  SetPopupMenuEx(GetPopupMenuEx());
  if (FStylerInForce) SetColor(FStylerInForce->DockColor()->Color());
  Invalidate();
}

void TDizDockPanel::UpdateMe(int Kind) {
  if (!FStylerInForce) return;
  SetColor(FStylerInForce->DockColor()->Color());
  if (Kind == ckMenuStyler) SetPopupMenuEx(GetPopupMenuEx());
  Invalidate();
}

void TDizDockPanel::SetPopupMenuEx(TComponent* Menu) {
  SetPopupMenu(Menu);
  if (auto* menu = dynamic_cast<TRerAvideReva*>(Menu))
    if (FStylerInForce) menu->SetMenuStyler(FStylerInForce->CurrentMenuStyler());
}

// ---- painting ---------------------------------------------------------------------------
void TDizDockPanel::Paint() {
  TCustomControl::Paint();
  const int w = std::max(Width(), 1), h = std::max(Height(), 1);
  if (FImage->GetWidth() != w || FImage->GetHeight() != h) FImage->SetSize(w, h);
  const TRect r{0, 0, Width(), Height()};
  TCanvas* c = FImage->Canvas();
  if (TCustomVivIzizEzuStyler* s = FStylerInForce) {
    TGradientBackground* dock = s->DockColor();
    if (dock->ColorTo() == clNone) {
      c->Pen()->SetColor(dock->Color());
      c->Brush()->SetColor(dock->Color());
      c->Brush()->SetStyle(bsSolid);
      c->Rectangle(r);
    } else {
      DrawGradient(c, dock->Color(), dock->ColorTo(), dock->Direction() == gdHorizontal, r, dock->Steps());
    }
    TBitmap* pic = s->BackGround();
    if (pic && !pic->GetEmpty() && pic->GetWidth() > 0 && pic->GetHeight() > 0) {
      switch (s->BackGroundDisplay()) {
        case bdTile:
          for (int y = 1; y < Height() - 2; y += pic->GetHeight())
            for (int x = 1; x < Width() - 2; x += pic->GetWidth()) c->Draw(x, y, pic);
          break;
        case bdCenter: c->Draw((Width() - pic->GetWidth()) / 2, (Height() - pic->GetHeight()) / 2, pic); break;
        case bdStretch: c->StretchDraw(TRect{2, 2, Width() - 2, Height() - 2}, pic); break;
      }
    }
  }
  Canvas()->Draw(0, 0, FImage.get());
}

bool TDizDockPanel::DockPixel(int X, int Y, bool, TColor& Color) const {
  if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) return false;
  if (FImage->GetWidth() == Width() && FImage->GetHeight() == Height()) {
    Color = FImage->Canvas()->GetPixel(X, Y);
    return true;
  }
  if (!FStylerInForce) return false;
  Color = FStylerInForce->DockColor()->Color();
  return true;
}

// ---- persistence ------------------------------------------------------------------------
std::unique_ptr<TCustomIniFile> TDizDockPanel::OpenStore() const {
  if (FPersistence->Location() == plIniFile) return std::make_unique<TIniFile>(FPersistence->Key());
  return std::make_unique<TRegistryIniFile>(FPersistence->Key());
}

void TDizDockPanel::OnPersistenceChange(TObject*) {
  for (int r = 0; r < FRows->Count(); ++r)
    for (int i = 0; i < FRows->GetItem(r)->ToolBarCount(); ++i) CopyPersistence(FRows->GetItem(r)->ToolBars(i));
}

void TDizDockPanel::SaveToolBarsPosition() {
  if (!FPersistence->Active() || IsDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenStore();
  const std::string& sec = FPersistence->Section();
  std::vector<TDizCustomToolBar*> bars;
  for (int r = 0; r < FRows->Count(); ++r)
    for (int i = 0; i < FRows->GetItem(r)->ToolBarCount(); ++i) bars.push_back(FRows->GetItem(r)->ToolBars(i));
  for (int i = 0; i < FHidden->Count(); ++i) bars.push_back(static_cast<TDizCustomToolBar*>(FHidden->Get(i)));
  ini->WriteInteger(sec, "ToolBarCount", static_cast<int>(bars.size()));
  ini->WriteInteger(sec, "RowCount", FRows->Count());
  for (size_t i = 0; i < bars.size(); ++i) {
    TDizCustomToolBar* b = bars[i];
    const std::string& n = b->Name();
    ini->WriteString(sec, "Name" + std::to_string(i + 1), n);
    ini->WriteInteger(sec, n + ".Row", b->Row());
    ini->WriteInteger(sec, n + ".Left", b->Left());
    ini->WriteInteger(sec, n + ".Top", b->Top());
    ini->WriteInteger(sec, n + ".Width", b->Width());
    ini->WriteInteger(sec, n + ".Height", b->Height());
    ini->WriteInteger(sec, n + ".Visible", b->Visible() ? 1 : 0);
  }
}

void TDizDockPanel::LoadToolBarsPosition() {
  if (!FPersistence->Active() || IsDesigning()) return;
  std::unique_ptr<TCustomIniFile> ini = OpenStore();
  const std::string& sec = FPersistence->Section();
  // Each tool bar in the rows loads its own position first; one that floats leaves.
  {
    std::vector<TDizCustomToolBar*> inRows;
    for (int r = 0; r < FRows->Count(); ++r)
      for (int i = 0; i < FRows->GetItem(r)->ToolBarCount(); ++i) inRows.push_back(FRows->GetItem(r)->ToolBars(i));
    for (TDizCustomToolBar* bar : inRows)
      if (!bar->PositionLoaded()) bar->LoadPosition();
  }
  // The tool bars standing in the rows, looked up by name without regard to case.
  std::vector<TDizCustomToolBar*> table;
  for (int r = 0; r < FRows->Count(); ++r)
    for (int i = 0; i < FRows->GetItem(r)->ToolBarCount(); ++i) table.push_back(FRows->GetItem(r)->ToolBars(i));
  // The other dock panels of the form, for tool bars that were moved to them.
  std::vector<TDizDockPanel*> others;
  {
    TWinControl* form = Parent();
    while (form && !dynamic_cast<TCustomForm*>(form)) form = form->Parent();
    std::function<void(TWinControl*)> visit = [&](TWinControl* w) {
      for (int i = 0; i < w->ControlCount(); ++i) {
        auto* c = dynamic_cast<TWinControl*>(w->Controls(i));
        if (!c || c == this) continue;
        if (auto* p = dynamic_cast<TDizDockPanel*>(c)) {
          if (std::find(others.begin(), others.end(), p) == others.end()) others.push_back(p);
          continue;
        }
        visit(c);
      }
    };
    if (form) visit(form);
  }
  TStringList keys;
  ini->ReadSection(sec, &keys);
  // Each tool bar takes several entries: a damaged count cannot make rows or loops without end.
  const int count = std::min(ini->ReadInteger(sec, "ToolBarCount", 0), keys.Count());
  if (count <= 0) return;
  const int rows = std::clamp(ini->ReadInteger(sec, "RowCount", FRows->Count()), 0, count);
  FRows->Clear();
  for (TDizCustomToolBar* bar : table) bar->SetRow(-1);
  for (int r = 0; r < rows; ++r) FRows->Add();
  for (int i = 1; i <= count; ++i) {
    const std::string n = ini->ReadString(sec, "Name" + std::to_string(i), Name());
    auto it = std::find_if(table.begin(), table.end(),
                           [&](TDizCustomToolBar* b) { return SameTextAscii(b->Name(), n); });
    TDizCustomToolBar* bar = nullptr;
    if (it != table.end()) {
      bar = *it;
      table.erase(it);
    } else {
      for (TDizDockPanel* other : others) {
        for (int k = 0; k < other->GetVivIzizEzuCount() && !bar; ++k)
          if (SameTextAscii(other->GetVivIzizEzus(k)->Name(), n)) bar = other->GetVivIzizEzus(k);
        if (bar) break;
      }
      if (!bar) continue;
      // Fetched from the other panel: it docks here, out of every row, and joins its
      // stored row below; it stays in this panel's list of tool bars.
      bar->SetParent(this);
      if (bar->Parent() != this) continue;
      RemoveToolBar(bar);
      if (FToolBars->IndexOf(bar) < 0) FToolBars->Add(bar);
    }
    const int row = ini->ReadInteger(sec, n + ".Row", bar->Row());
    const int left = ini->ReadInteger(sec, n + ".Left", bar->Left());
    const int top = ini->ReadInteger(sec, n + ".Top", bar->Top());
    const int width = ini->ReadInteger(sec, n + ".Width", bar->Width());
    const int height = ini->ReadInteger(sec, n + ".Height", bar->Height());
    const bool visible = ini->ReadInteger(sec, n + ".Visible", bar->Visible() ? 1 : 0) != 0;
    if (row >= 0 && row < FRows->Count()) {
      FRows->GetItem(row)->FToolBars.push_back(bar);
      bar->SetRow(row);
    }
    const bool saved = bar->AllowBoundChange();
    bar->SetAllowBoundChange(true);
    if (width != bar->Width()) bar->SetWidth(width);
    if (left != bar->Left()) bar->SetLeft(left);
    if (top != bar->Top()) bar->SetTop(top);
    if (height != bar->Height()) bar->SetHeight(height);
    bar->SetAllowBoundChange(saved);
    if (visible != bar->Visible()) bar->SetVisible(visible);
  }
  for (int r = FRows->Count() - 1; r >= 0; --r)
    if (r < FRows->Count()) FRows->DeleteMeIfEmpty(FRows->GetItem(r));
  for (TDizCustomToolBar* bar : table) FRows->Add()->AddToolBar(bar);
  FRows->SetRowsPosition();
  for (int i = 0; i < FToolBars->Count(); ++i) {
    TDizCustomToolBar* bar = GetVivIzizEzus(i);
    if (!bar->Visible()) continue;
    bar->SetControlsPosition(true);
    bar->UpdateRULists();
  }
}

// ---- published properties ---------------------------------------------------------------
namespace {
const TEnumInfo* DockAlignNames() {
  static const TEnumInfo* info = RegisterEnum("TDockAlign", {"daLeft", "daTop", "daRight", "daBottom"});
  return info;
}
}  // namespace

void TDizDockPanel::Publish(TClassBuilder<TDizDockPanel>& P) {
  using C = TDizDockPanel;
  P.Enum("Align", DockAlignNames(), &C::DockAlign, &C::SetDockAlign, daTop)
      .Int("MinimumSize", &C::MinimumSize, &C::SetMinimumSize, 3)
      .Bool("LockHeight", &C::LockHeight, &C::SetLockHeight, false)
      .Object("Persistence", &C::Persistence, &C::SetPersistence)
      .Component("PopupMenu", &C::GetPopupMenuEx, &C::SetPopupMenuEx)
      .Component("ToolBarStyler", &C::ToolBarStyler, &C::SetToolBarStyler)
      .Bool("UseRunTimeHeight", &C::UseRunTimeHeight, &C::SetUseRunTimeHeight, false)
      .Str("Version", &C::Version, &C::SetVersion)
      .Stored(false);
}

namespace {
const bool kRegistered = [] {
  RegisterClasses({TDizDockPanel::StaticClass(), TVivIzizEzu::StaticClass(), TVivIzizEzuButton::StaticClass(),
                   TVivIzizEzuSeparator::StaticClass(), TVivIzizEzuOfficeStyler::StaticClass()});
  return true;
}();
}  // namespace

}  // namespace VivIzizEzu
