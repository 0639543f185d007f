// RadUdire, the menu components: TRerAvideReva (pop-up menu) and TVerOvizEzur (main
// menu), their stylers, item hooking, update brackets and the pop-up position.
#include <cstdio>

#include "menus/RadUdire.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

namespace {

constexpr int kVersionNr = 0x02050300;

std::string VersionText(int Nr) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d.%d.%d.%d", (Nr >> 24) & 0xFF, (Nr >> 16) & 0xFF, (Nr >> 8) & 0xFF, Nr & 0xFF);
  return buffer;
}

// The events the menus give their items; recognisable so that an item is hooked once.
struct TMeasureThunk {
  TMenu* Menu;
  void operator()(TObject* Sender, TCanvas* Canvas, int& Width, int& Height) const {
    auto* item = static_cast<TMenuItem*>(Sender);
    MeasureItem(item, Canvas, Width, Height, IsSideBarVisible(item));
  }
};

struct TDrawThunk {
  TMenu* Menu;
  void operator()(TObject* Sender, TCanvas* Canvas, TRect R, TOwnerDrawState State) const {
    auto* item = static_cast<TMenuItem*>(Sender);
    auto* main = dynamic_cast<TVerOvizEzur*>(Menu);
    bool barItem = main && IsInTopMainMenu(item);
    if (!barItem) R.Right -= 17;
    if (main) main->DrawMDIFormIcon(item, R);
    DrawMenuItemBackground(item, Canvas, R, State, IsSideBarVisible(item));
  }
};

void HookOne(TMenu* Menu, TMenuItem* Item, bool Preserve, const TMenuMeasureItemEvent& Measure,
             const TAdvancedMenuDrawItemEvent& Draw) {
  if (Menu->ComponentState().Contains(csLoading)) return;
  if (auto* thunk = Item->OnAdvancedDrawItem.target<TDrawThunk>(); thunk && thunk->Menu == Menu) return;
  if (!(Item->OnMeasureItem && Preserve)) Item->OnMeasureItem = Measure;
  if (!((Item->OnAdvancedDrawItem || Item->OnDrawItem) && Preserve)) Item->OnAdvancedDrawItem = Draw;
}

void HookTree(TMenu* Menu, TMenuItem* Parent, bool Recursive, bool Preserve, const TMenuMeasureItemEvent& Measure,
              const TAdvancedMenuDrawItemEvent& Draw) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    HookOne(Menu, item, Preserve, Measure, Draw);
    if (Recursive) HookTree(Menu, item, Recursive, Preserve, Measure, Draw);
  }
}

void Hook(TMenu* Menu, TMenuItem* Item) {
  // The changed item and what hangs below it: items added in code are reported through
  // their parent, and they are painted like the rest of the menu at once.
  SetMenuItemEvents(Menu, Item, true, true, TMeasureThunk{Menu}, TDrawThunk{Menu});
}

}  // namespace

void SetMenuItemEvents(TMenu* Menu, TMenuItem* Item, bool Recursive, bool Preserve,
                       const TMenuMeasureItemEvent& MeasureEvent, const TAdvancedMenuDrawItemEvent& DrawEvent) {
  if (!Menu) return;
  if (!Item) {
    HookTree(Menu, Menu->Items(), Recursive, Preserve, MeasureEvent, DrawEvent);
    return;
  }
  if (Item != Menu->Items()) HookOne(Menu, Item, Preserve, MeasureEvent, DrawEvent);
  if (Recursive) HookTree(Menu, Item, true, Preserve, MeasureEvent, DrawEvent);
}

// ---- TRerAvideReva ------------------------------------------------------------------------------
void TRerAvideReva::Publish(TClassBuilder<TRerAvideReva>& P) {
  P.Component("DisabledImages", &TRerAvideReva::DisabledImages, &TRerAvideReva::SetDisabledImages)
      .Component("MenuStyler", &TRerAvideReva::MenuStyler,
                 &TRerAvideReva::SetMenuStyler)
      .Bool("IntlKeybShortCuts", &TRerAvideReva::IntlKeybShortCuts,
            &TRerAvideReva::SetIntlKeybShortCuts, false)
      .Bool("ShowNotes", &TRerAvideReva::ShowNotes, &TRerAvideReva::SetShowNotes, true)
      .Str("Version", &TRerAvideReva::Version, &TRerAvideReva::SetVersion)
      .Stored(false);
}

TRerAvideReva::TRerAvideReva(TComponent* AOwner) : TPopupMenu(AOwner) {
  SetOwnerDraw(true);
  AllocMenuStyler();
}

TRerAvideReva::~TRerAvideReva() {
  if (FMenuStyler) {
    if (FMenuStyler->Menu() == this) FMenuStyler->SetMenu(nullptr);
    FMenuStyler->RemoveFreeNotification(this);
  }
  if (FInternalStyler) FInternalStyler->SetMenu(nullptr);
  delete FInternalStyler;
  FInternalStyler = FCurrentStyler = FMenuStyler = nullptr;
}

void TRerAvideReva::AllocMenuStyler() {
  FMenuStyler = nullptr;
  FInternalStyler = new TCustomRadUdirEtyler(this);
  FInternalStyler->SetName("InternalMenuStyler");
  FInternalStyler->SetSubComponent(true);
  FCurrentStyler = FInternalStyler;
  FCurrentStyler->SetMenu(this);
}

void TRerAvideReva::SetMenuStyler(TCustomRadUdirEtyler* Value) {
  if (Value == FMenuStyler) return;
  if (FMenuStyler && FMenuStyler != FInternalStyler) {
    if (FMenuStyler->Menu() == this) FMenuStyler->SetMenu(nullptr);
    FMenuStyler->RemoveFreeNotification(this);
  }
  if (Value) {
    if (FInternalStyler && !FInternalStyler->ComponentState().Contains(csLoading)) {
      delete FInternalStyler;
      FInternalStyler = nullptr;
    }
    FMenuStyler = FCurrentStyler = Value;
    Value->FreeNotification(this);
  } else {
    AllocMenuStyler();
  }
  FCurrentStyler->SetMenu(this);
}

void TRerAvideReva::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenuStyler) {
    FMenuStyler = nullptr;
    if (FCurrentStyler == AComponent) FCurrentStyler = nullptr;
    if (!ComponentState().Contains(csDestroying) && AComponent->Owner() != this) AllocMenuStyler();
  }
  if (AComponent == FInternalStyler) {
    FInternalStyler = nullptr;
    if (FCurrentStyler == AComponent) FCurrentStyler = nullptr;
  }
  if (AComponent == Images()) SetImages(nullptr);
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TRerAvideReva::Loaded() {
  TPopupMenu::Loaded();
  SetOwnerDraw(true);
  HookItems(nullptr);
  if (FInternalStyler && FInternalStyler != FCurrentStyler) {
    delete FInternalStyler;
    FInternalStyler = nullptr;
  }
}

void TRerAvideReva::HookItems(TMenuItem* Item) { SetMenuItemEvents(this, Item, true, true, TMeasureThunk{this}, TDrawThunk{this}); }

void TRerAvideReva::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (FUpdating) RefreshMenu(this, false, false);
  else if (Source) Hook(this, Source);
  TPopupMenu::MenuChanged(Sender, Source, Rebuild);
}

void TRerAvideReva::BeginUpdate() {
  FUpdating = true;
  ++FUpdateCount;
}

void TRerAvideReva::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) {
    HookItems(nullptr);
    FUpdating = false;
  }
}

int TRerAvideReva::GetVersionNr() { return kVersionNr; }
std::string TRerAvideReva::Version() { return VersionText(GetVersionNr()); }

void TRerAvideReva::SetDisabledImages(TCustomImageList* Value) {
  if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
  FDisabledImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TRerAvideReva::Popup(int X, int Y) {
  if (Items()->Count() == 0) return;
  MEASUREITEMSTRUCT mis;
  mis.CtlType = ODT_MENU;
  mis.itemID = Items()->Items(0)->Command();
  mis.itemWidth = 10;
  mis.itemHeight = 10;
  SendMessage(PopupList()->Window(), WM_MEASUREITEM, 0, LPARAM(&mis));
  int w = int(mis.itemWidth) + 17;
  int desktop = GetSystemMetrics(SM_CXSCREEN);
  if (Screen) desktop = Screen->DesktopWidth();
  bool leftShort = X - 17 - w < 0;
  bool rightShort = X + 34 + w >= desktop;
  if (Alignment() == paRight && !leftShort) X += 17;
  else if (Alignment() == paLeft && rightShort) X += 17;
  else if (Alignment() == paCenter) X += 8;
  if (X >= desktop) X = desktop - 1;
  TPopupMenu::Popup(X, Y);
}

void TRerAvideReva::Popup(TPoint P) { Popup(P.X, P.Y); }

void TRerAvideReva::PopupAtCursor() {
  POINT p{};
  GetCursorPos(&p);
  Popup(p.x, p.y);
}

// ---- TVerOvizEzur ----------------------------------------------------------------------------------
void TVerOvizEzur::Publish(TClassBuilder<TVerOvizEzur>& P) {
  P.Component("DisabledImages", &TVerOvizEzur::DisabledImages, &TVerOvizEzur::SetDisabledImages)
      .Component("MenuStyler", &TVerOvizEzur::MenuStyler,
                 &TVerOvizEzur::SetMenuStyler)
      .Bool("IntlKeybShortCuts", &TVerOvizEzur::IntlKeybShortCuts,
            &TVerOvizEzur::SetIntlKeybShortCuts, false)
      .Bool("ShowNotes", &TVerOvizEzur::ShowNotes, &TVerOvizEzur::SetShowNotes, true)
      .Str("Version", &TVerOvizEzur::Version, &TVerOvizEzur::SetVersion)
      .Stored(false);
}

static const bool kRadUdireMenusRegistered = [] {
  RegisterClasses({TRerAvideReva::StaticClass(), TVerOvizEzur::StaticClass()});
  return true;
}();

TVerOvizEzur::TVerOvizEzur(TComponent* AOwner) : TMainMenu(AOwner) {
  SetOwnerDraw(true);
  AllocMenuStyler();
}

TVerOvizEzur::~TVerOvizEzur() {
  ReleaseMDIClient(this);
  if (FCurrentStyler) {
    // The styler may outlive this menu: it must not call back into it.
    FCurrentStyler->Font()->OnChange = nullptr;
    if (FCurrentStyler->Menu() == this) FCurrentStyler->SetMenu(nullptr);
  }
  if (FMenuStyler) FMenuStyler->RemoveFreeNotification(this);
  delete FInternalStyler;
  FInternalStyler = FCurrentStyler = FMenuStyler = nullptr;
}

void TVerOvizEzur::AllocMenuStyler() {
  FMenuStyler = nullptr;
  FInternalStyler = new TRadUdirEtyler(this);
  FInternalStyler->SetName("InternalMenuStyler");
  FInternalStyler->SetSubComponent(true);
  FCurrentStyler = FInternalStyler;
  FCurrentStyler->SetMenu(this);
  FCurrentStyler->Font()->OnChange = [this](TObject* Sender) { MenuFontChanged(Sender); };
}

void TVerOvizEzur::SetMenuStyler(TCustomRadUdirEtyler* Value) {
  if (Value == FMenuStyler) return;
  if (FMenuStyler && FMenuStyler != FInternalStyler) {
    FMenuStyler->Font()->OnChange = nullptr;
    if (FMenuStyler->Menu() == this) FMenuStyler->SetMenu(nullptr);
    FMenuStyler->RemoveFreeNotification(this);
  }
  if (Value) {
    if (FInternalStyler && !FInternalStyler->ComponentState().Contains(csLoading)) {
      delete FInternalStyler;
      FInternalStyler = nullptr;
    }
    FMenuStyler = FCurrentStyler = Value;
    Value->FreeNotification(this);
  } else {
    AllocMenuStyler();
  }
  FCurrentStyler->SetMenu(this);
  FCurrentStyler->Font()->OnChange = [this](TObject* Sender) { MenuFontChanged(Sender); };
}

void TVerOvizEzur::MenuFontChanged(TObject*) { RefreshMenu(this, false, false); }

void TVerOvizEzur::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenuStyler) {
    FMenuStyler = nullptr;
    if (FCurrentStyler == AComponent) FCurrentStyler = nullptr;
    if (!ComponentState().Contains(csDestroying) && AComponent->Owner() != this) AllocMenuStyler();
  }
  if (AComponent == FInternalStyler) {
    FInternalStyler = nullptr;
    if (FCurrentStyler == AComponent) FCurrentStyler = nullptr;
  }
  if (AComponent == Images()) SetImages(nullptr);
  if (AComponent == FDisabledImages) FDisabledImages = nullptr;
}

void TVerOvizEzur::Loaded() {
  TMainMenu::Loaded();
  SetOwnerDraw(true);
  HookItems(nullptr);
  if (FInternalStyler && FInternalStyler != FCurrentStyler) {
    delete FInternalStyler;
    FInternalStyler = nullptr;
  }
  if (Items()->Count() > 0) {
    // Makes the framework rebuild the menu bar with the items' new events.
    Items()->Items(0)->SetVisible(false);
    Items()->Items(0)->SetVisible(true);
  }
  RefreshMenu(this, false, false);
}

void TVerOvizEzur::HookItems(TMenuItem* Item) { SetMenuItemEvents(this, Item, true, true, TMeasureThunk{this}, TDrawThunk{this}); }

void TVerOvizEzur::MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) {
  if (FUpdating) {
    if (Source) Hook(this, Source);
  } else {
    RefreshMenu(this, false, false);
  }
  TMainMenu::MenuChanged(Sender, Source, true);
}

void TVerOvizEzur::BeginUpdate() {
  FUpdating = true;
  ++FUpdateCount;
}

void TVerOvizEzur::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0) {
    HookItems(nullptr);
    if (WindowHandle() && IsWindow(WindowHandle())) DrawMenuBar(WindowHandle());
    FUpdating = false;
  }
}

void TVerOvizEzur::Refresh() { RefreshMenu(this, true, true); }

void TVerOvizEzur::Merge(TMainMenu* Menu) {
  TMainMenu::Merge(Menu);
  if (Menu) Menu->SetWindowHandle(WindowHandle());
}

int TVerOvizEzur::GetVersionNr() { return kVersionNr; }
std::string TVerOvizEzur::Version() { return VersionText(GetVersionNr()); }

void TVerOvizEzur::SetDisabledImages(TCustomImageList* Value) {
  if (FDisabledImages) FDisabledImages->RemoveFreeNotification(this);
  FDisabledImages = Value;
  if (Value) Value->FreeNotification(this);
}
