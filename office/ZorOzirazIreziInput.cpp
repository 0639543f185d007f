// Pager buttons (close, page list, scrolling) and input: mouse, keyboard, key tips, hints and
// the window procedure with the deferred freeing of close buttons.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "office/ZorOzirazIrezi.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace ZorOzirazIrezi;

namespace {

bool Horizontal(TTabPosition p) { return p == tpTop || p == tpBottom; }
bool In(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// Hooks on a form's message procedure, chained so that several hooks can come and go in any
// order: the form keeps one dispatcher that runs the previous procedure, then every hook.
struct THookChain {
  std::function<void(TMessage&)> Previous;
  TControl* Form = nullptr;
  std::vector<std::pair<const void*, std::function<void(TMessage&)>>> Hooks;
};

struct THookDispatcher {
  std::shared_ptr<THookChain> Chain;
  void operator()(TMessage& Message) const {
    std::shared_ptr<THookChain> keep = Chain;
    if (keep->Previous) keep->Previous(Message);
    else keep->Form->WndProc(Message);
    auto hooks = keep->Hooks;
    for (auto& h : hooks)
      if (std::any_of(keep->Hooks.begin(), keep->Hooks.end(), [&](auto& x) { return x.first == h.first; }))
        h.second(Message);
  }
};

std::map<TControl*, std::weak_ptr<THookChain>>& Chains() {
  static std::map<TControl*, std::weak_ptr<THookChain>> chains;
  return chains;
}

void AddFormHook(TControl* Form, const void* Key, std::function<void(TMessage&)> Hook) {
  std::shared_ptr<THookChain> chain = Chains()[Form].lock();
  if (!chain) {
    chain = std::make_shared<THookChain>();
    chain->Form = Form;
    chain->Previous = Form->WindowProc;
    Form->WindowProc = THookDispatcher{chain};
    Chains()[Form] = chain;
  }
  chain->Hooks.emplace_back(Key, std::move(Hook));
}

void RemoveFormHook(TControl* Form, const void* Key) {
  auto it = Chains().find(Form);
  if (it == Chains().end()) return;
  std::shared_ptr<THookChain> chain = it->second.lock();
  if (!chain) {
    Chains().erase(it);
    return;
  }
  auto& h = chain->Hooks;
  h.erase(std::remove_if(h.begin(), h.end(), [Key](auto& x) { return x.first == Key; }), h.end());
  if (!h.empty()) return;
  // The dispatcher leaves only while it is the outermost procedure; under another hook it
  // stays as a plain pass-through.
  if (auto* d = Form->WindowProc.target<THookDispatcher>(); d && d->Chain == chain) {
    Form->WindowProc = chain->Previous;
    Chains().erase(it);
  }
}

// The page caption's accelerator: the character after a single "&".
bool IsAccel(char32_t Ch, const std::string& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != '&') continue;
    if (Text[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = Text[i + 1];
    auto up = [](char32_t x) { return (x >= 'a' && x <= 'z') ? x - 'a' + 'A' : x; };
    return up(static_cast<unsigned char>(c)) == up(Ch);
  }
  return false;
}

TCustomForm* ParentFormOf(TControl* C) {
  for (TWinControl* p = C->Parent(); p; p = p->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(p)) return f;
  return nullptr;
}

}  // namespace

// ---- buttons ----------------------------------------------------------------------------------

TDovAvarOrodez* TZorOzirazIrezi::NewButton(const TNotifyEvent& Click) {
  auto* b = new TDovAvarOrodez(this);
  b->SetParent(this);
  b->OnClick = Click;
  return b;
}

void TZorOzirazIrezi::SetUpButton(TDovAvarOrodez* Button, const TRect& R, TGDIPPicture* Picture,
                                  const std::string& Hint) {
  Button->SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  if (FCurrentStyler) Button->Appearance()->Assign(FCurrentStyler->GlowButtonAppearance());
  Button->Picture()->Assign(Picture);
  Button->SetHint(Hint);
  Button->SetShowHint(true);
}

void TZorOzirazIrezi::FreeButton(TDovAvarOrodez*& Button) {
  TDovAvarOrodez* b = Button;
  Button = nullptr;
  delete b;
}

void TZorOzirazIrezi::DeferFree(TDovAvarOrodez* Button) {
  if (!Button) return;
  // The button may be inside its own click: it is hidden now and freed when the posted
  // message comes back. The message carries an id, never the button's address.
  Button->SetVisible(false);
  Button->OnClick = nullptr;
  WPARAM id = FNextFreeId++;
  FPendingFree[id] = Button;
  if (HandleAllocated()) PostMessage(Handle(), ZorOzirazIreziDestroyCloseBtnMessage(), id, 0);
}

void TZorOzirazIrezi::InitializeAndUpdateButtons() {
  if (!FPropertiesLoaded && !IsDesigning(this)) return;
  if (IsDestroying(this)) return;
  TPageButtonSettings* BS = FButtonSettings.get();
  const bool anyTab = GetVisibleTabCount() > 0;
  if (BS->CloseButton() && FCloseOnTab) {
    if (FCloseButton) FCloseButton->SetWidth(0);
    for (int i = 0; i < GetDizOfficePageCount(); ++i) {
      TDizOfficePage* p = FPages[static_cast<size_t>(i)];
      if (p->ShowClose()) {
        if (!p->FCloseButton) p->FCloseButton = NewButton([this](TObject* s) { OnCloseButtonClick(s); });
        TDovAvarOrodez* b = p->FCloseButton;
        SetUpButton(b, GetCloseButtonRect(i), BS->CloseButtonPicture(), BS->CloseButtonHint);
        b->SetTag(i);
        b->SetEnabled(anyTab);
        bool vis = (FShowCloseOnNonSelectedTabs || i == FActivePageIndex) && p->TabVisible();
        b->SetVisible(vis);
        if (!vis) b->SetWidth(0);
      } else if (p->FCloseButton) {
        p->FCloseButton->SetVisible(false);
      }
    }
  } else if (BS->CloseButton()) {
    for (TDizOfficePage* p : FPages)
      if (p->FCloseButton) p->FCloseButton->SetWidth(0);
    if (!FCloseButton) FCloseButton = NewButton([this](TObject* s) { OnCloseButtonClick(s); });
    SetUpButton(FCloseButton, GetCloseButtonRect(-1), BS->CloseButtonPicture(), BS->CloseButtonHint);
    FCloseButton->SetEnabled(anyTab && CanShowCloseButton());
  } else {
    for (TDizOfficePage* p : FPages)
      if (p->FCloseButton) {
        TDovAvarOrodez* b = p->FCloseButton;
        p->FCloseButton = nullptr;
        DeferFree(b);
      }
    if (FCloseButton) {
      TDovAvarOrodez* b = FCloseButton;
      FCloseButton = nullptr;
      DeferFree(b);
    }
  }
  if (BS->PageListButton()) {
    if (!FPageListButton) FPageListButton = NewButton([this](TObject* s) { OnPageListButtonClick(s); });
    SetUpButton(FPageListButton, GetPageListRect(), BS->PageListButtonPicture(), BS->PageListButtonHint);
    FPageListButton->SetEnabled(anyTab);
  } else {
    FreeButton(FPageListButton);
  }
  if (FTabScroller.Visible()) {
    const bool horz = Horizontal(FTabPosition);
    auto pick = [&](TGDIPPicture* flat, TGDIPPicture* vert, bool changed) { return horz || changed ? flat : vert; };
    if (!FTabScrollerFirstButton) FTabScrollerFirstButton = NewButton([this](TObject* s) {
        if (OnFirstClick) OnFirstClick(s);
        ScrollFirstBtnClick();
        InitializeAndUpdateButtons();
      });
    if (!FTabScrollerLastButton) FTabScrollerLastButton = NewButton([this](TObject* s) {
        if (OnLastClick) OnLastClick(s);
        ScrollLastBtnClick();
        InitializeAndUpdateButtons();
      });
    if (!FTabScrollerLeftButton) FTabScrollerLeftButton = NewButton([this](TObject* s) {
        ScrollLeftBtnClick();
        InitializeAndUpdateButtons();
        if (OnPrevClick) OnPrevClick(s);
      });
    if (!FTabScrollerRightButton) FTabScrollerRightButton = NewButton([this](TObject* s) {
        ScrollRightBtnClick();
        InitializeAndUpdateButtons();
        if (OnNextClick) OnNextClick(s);
      });
    SetUpButton(FTabScrollerFirstButton, GetTabScrollerFirstRect(),
                pick(BS->ScrollButtonFirstPicture(), BS->UpFirstPicture(), BS->FirstPictureChanged()),
                BS->ScrollButtonFirstHint);
    SetUpButton(FTabScrollerLastButton, GetTabScrollerLastRect(),
                pick(BS->ScrollButtonLastPicture(), BS->DownLastPicture(), BS->LastPictureChanged()),
                BS->ScrollButtonLastHint);
    SetUpButton(FTabScrollerLeftButton, GetTabScrollerLeftRect(),
                pick(BS->ScrollButtonPrevPicture(), BS->UpPicture(), BS->PrevPictureChanged()),
                BS->ScrollButtonPrevHint);
    SetUpButton(FTabScrollerRightButton, GetTabScrollerRightRect(),
                pick(BS->ScrollButtonNextPicture(), BS->DownPicture(), BS->NextPictureChanged()),
                BS->ScrollButtonNextHint);
    for (TDovAvarOrodez* b : {FTabScrollerFirstButton, FTabScrollerLastButton, FTabScrollerLeftButton,
                              FTabScrollerRightButton})
      b->SetRepeatClick(true);
    FTabScrollerFirstButton->SetEnabled(FTabScroller.CanGoBack());
    FTabScrollerLeftButton->SetEnabled(FTabScroller.CanGoBack());
    FTabScrollerLastButton->SetEnabled(FTabScroller.CanGoForward());
    FTabScrollerRightButton->SetEnabled(FTabScroller.CanGoForward());
    FTabScrollerFirstButton->SetVisible(BS->FirstButton());
    if (!BS->FirstButton()) FTabScrollerFirstButton->SetWidth(0);
    FTabScrollerLastButton->SetVisible(BS->LastButton());
    if (!BS->LastButton()) FTabScrollerLastButton->SetWidth(0);
  } else {
    FreeButton(FTabScrollerFirstButton);
    FreeButton(FTabScrollerLastButton);
    FreeButton(FTabScrollerLeftButton);
    FreeButton(FTabScrollerRightButton);
  }
}

bool TZorOzirazIrezi::CanShowCloseButton() const {
  bool r = FButtonSettings->CloseButton();
  if (TDizOfficePage* a = ActivePage()) r = r && a->ShowClose();
  return r || (FShowCloseOnNonSelectedTabs && !FPages.empty());
}

bool TZorOzirazIrezi::AnyButtonVisible() const {
  return FTabScroller.Visible() || (FButtonSettings->CloseButton() && !FCloseOnTab) ||
         FButtonSettings->PageListButton();
}

void TZorOzirazIrezi::SetButtonSettings(TPageButtonSettings* Value) {
  FButtonSettings->Assign(Value);
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::OnButtonSettingChanged(TObject*) {
  UpdateTabScroller();
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetCloseOnTab(bool Value) {
  if (FCloseOnTab == Value) return;
  FCloseOnTab = Value;
  UpdateTabScroller();
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetCloseOnTabPosition(TCloseOnTabPos Value) {
  if (FCloseOnTabPosition == Value) return;
  FCloseOnTabPosition = Value;
  InitializeAndUpdateButtons();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
  Invalidate();
}

void TZorOzirazIrezi::SetShowCloseOnNonSelectedTabs(bool Value) {
  if (FShowCloseOnNonSelectedTabs == Value) return;
  FShowCloseOnNonSelectedTabs = Value;
  UpdateTabScroller();
  InvalidateTab(-1);
}

void TZorOzirazIrezi::SetPageListMenu(TPopupMenu* Value) {
  FPageListMenu = Value;
  if (Value) Value->FreeNotification(this);
}

bool TZorOzirazIrezi::CloseActivePage() {
  TDizOfficePage* a = ActivePage();
  if (!a) return true;
  OnCloseButtonClick(this);
  return ActivePage() != a;
}

void TZorOzirazIrezi::OnCloseButtonClick(TObject* Sender) {
  int index = FActivePageIndex;
  if (FCloseOnTab) {
    if (auto* b = dynamic_cast<TDovAvarOrodez*>(Sender)) {
      // The page is the one whose tab carries the button, whatever moved since it was placed.
      index = -1;
      for (int i = 0; i < GetDizOfficePageCount(); ++i)
        if (FPages[static_cast<size_t>(i)]->FCloseButton == b) index = i;
      if (index < 0 && b != FCloseButton) return;
      if (index < 0) index = FActivePageIndex;
    }
  }
  if (index < 0 || index >= GetDizOfficePageCount() || FClosing) return;
  FClosing = true;
  TDizOfficePage* page = FPages[static_cast<size_t>(index)];
  bool allow = true;
  if (OnClosePage) OnClosePage(this, index, allow);
  if (allow && IndexOfPage(page) >= 0) {
    page->FreeGlowTimer();
    SelectNextPage(true);
    TDizOfficePage* next = ActivePage();
    if (next == page) next = nullptr;  // nothing else to show: the closed page is not kept
    InvalidateTab(-1);
    if (FFreeOnClose) {
      if (page->FCloseButton) {
        TDovAvarOrodez* b = page->FCloseButton;
        page->FCloseButton = nullptr;
        DeferFree(b);
      }
      delete page;
      FActivePageIndex = -1;
      if (next) SetActivePage(next);
    } else {
      page->SetTabVisible(false);
      page->SetVisible(false);
      if (FCloseOnTab && page->FCloseButton) page->FCloseButton->SetVisible(false);
      if (!next && FActivePageIndex == IndexOfPage(page)) FActivePageIndex = -1;
    }
    UpdateTabScroller();
    if (TDizOfficePage* a = ActivePage()) a->Invalidate();
    else Invalidate();
    if (OnClosedPage) OnClosedPage(this, index);
  }
  FClosing = false;
}

void TZorOzirazIrezi::OnPageListButtonClick(TObject*) {
  if (!FPageListMenu || !FButtonSettings->PageListButton()) return;
  FPageListMenu->Items()->Clear();
  int count = 0;
  for (int i = 0; i < GetDizOfficePageCount(); ++i) {
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    if (!p->TabVisible()) continue;
    auto* item = new TMenuItem(this);
    item->SetCaption(p->Caption().empty() ? Utf16ToUtf8(p->WideCaption()) : p->Caption());
    item->SetRadioItem(true);
    item->SetChecked(i == FActivePageIndex);
    item->SetTag(i);
    item->OnClick = [this](TObject* s) { OnPageListMenuClick(s); };
    FPageListMenu->Items()->Add(item);
    ++count;
  }
  TPoint pt{0, 0};
  if (FPageListButton) {
    TRect r = GetPageListRect();
    TPoint corner = Horizontal(FTabPosition) ? TPoint{r.Left, r.Bottom} : TPoint{r.Right, r.Top};
    pt = ClientToScreen(corner);
    if (FTabPosition == tpBottom) {
      int menuH = GetSystemMetrics(SM_CYMENU);
      int screenH = GetSystemMetrics(SM_CYSCREEN);
      if (screenH < menuH * count + pt.Y + 10) pt.Y -= menuH * count + (r.Bottom - r.Top) + 4;
    }
  }
  if (OnPageListClick) OnPageListClick(this, pt.X, pt.Y);
  else FPageListMenu->Popup(pt.X, pt.Y);
}

void TZorOzirazIrezi::OnPageListMenuClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || item->Tag() < 0 || item->Tag() >= GetDizOfficePageCount()) return;
  SetActivePageIndex(static_cast<int>(item->Tag()));
}

void TZorOzirazIrezi::ScrollFirstBtnClick() {
  if (!FTabScroller.Visible() || !FTabScroller.CanGoBack()) return;
  FTabScroller.SetPosition(FTabScroller.Min());
  InvalidateTab(-1);
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::ScrollLeftBtnClick() {
  if (!FTabScroller.Visible() || !FTabScroller.CanGoBack()) return;
  FTabScroller.SetPosition(FTabScroller.Position() - 1);
  InvalidateTab(-1);
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::ScrollRightBtnClick() {
  if (!FTabScroller.Visible() || !FTabScroller.CanGoForward()) return;
  FTabScroller.SetPosition(FTabScroller.Position() + 1);
  InvalidateTab(-1);
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::ScrollLastBtnClick() {
  if (!FTabScroller.Visible() || !FTabScroller.CanGoForward()) return;
  FTabScroller.SetPosition(FTabScroller.Max());
  InvalidateTab(-1);
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

// ---- mouse ------------------------------------------------------------------------------------

void TZorOzirazIrezi::StartGlow(TDizOfficePage* Page, int Step, int State) {
  if (!Page) return;
  if (FGlow && !Page->FTimer) {
    Page->FTimer = new TTimer(this);
    Page->FTimer->SetInterval(50);
    Page->FTimer->SetOnTimer([Page](TObject* s) { Page->TimerProc(s); });
    Page->FTimer->SetEnabled(true);
  }
  Page->FStepHover = Step;
  Page->FGlowState = State;
}

void TZorOzirazIrezi::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  FDownPageIndex = -1;
  if (!In(GetTabsArea(), X, Y)) return;
  int i = PTOnTab(X, Y);
  if (i < 0) return;
  if (Button == mbLeft && OnTabClick) OnTabClick(this, i);
  if (Button == mbRight && OnTabRightClick) OnTabRightClick(this, i);
  if (IndexOfPage(GetDizPages(i)) < 0) return;
  TDizOfficePage* p = FPages[static_cast<size_t>(i)];
  if (Button == mbLeft && p->TabEnabled() && FTabReorder) {
    // Dragging starts once the mouse has moved 4 pixels.
    FTabDragPending = true;
    FTabDragging = false;
    FTabDragStart = TPoint{X, Y};
  }
  if (Button != mbMiddle && i != FActivePageIndex && p->TabEnabled()) {
    ChangeActivePage(i);
    if (!IsDesigning(this) && FActivePageIndex == i) StartGlow(p, 20, 1);
    Invalidate();
  } else {
    FDownPageIndex = i;
    InvalidateTab(-1);
  }
}

void TZorOzirazIrezi::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FTabDragPending && !FTabDragging && (std::abs(X - FTabDragStart.X) >= 4 || std::abs(Y - FTabDragStart.Y) >= 4))
    FTabDragging = true;
  if (IsDesigning(this) || !In(GetTabsArea(), X, Y)) {
    if (!In(GetTabsArea(), X, Y) && FHotPageIndex >= 0 && !IsDesigning(this)) {
      // Leaving the strip through the page side ends the hover like leaving a tab.
      FDownPageIndex = -1;
      int hot = FHotPageIndex;
      if (GetDizPages(hot)) StartGlow(FPages[static_cast<size_t>(hot)], -20, 0);
      FHotPageIndex = -1;
      InvalidateTab(-1);
    }
    return;
  }
  int i = PTOnTab(X, Y);
  if (i >= 0 && i != FHotPageIndex) {
    if (FDownPageIndex >= 0) {
      FDownPageIndex = -1;
      InvalidateTab(-1);
    }
    if (FHotPageIndex >= 0) {
      int old = FHotPageIndex;
      if (GetDizPages(old)) StartGlow(FPages[static_cast<size_t>(old)], -20, 0);
      FHotPageIndex = -1;
      InvalidateTab(-1);
    }
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    if (p->TabEnabled()) {
      FHotPageIndex = i;
      StartGlow(p, 20, 0);
      Invalidate();
    }
    if (FHintPageIndex != i) {
      FHintPageIndex = i;
      if (Application) Application->CancelHint();
    }
  } else if (i < 0) {
    if (FHotPageIndex >= 0) {
      FDownPageIndex = -1;
      int hot = FHotPageIndex;
      if (GetDizPages(hot)) StartGlow(FPages[static_cast<size_t>(hot)], -20, 0);
      FHotPageIndex = -1;
      InvalidateTab(-1);
    }
    FHintPageIndex = -1;
    if (Application) Application->CancelHint();
  }
}

void TZorOzirazIrezi::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  const bool dropped = FTabDragging && Button == mbLeft;
  FTabDragPending = FTabDragging = false;
  if (dropped) {
    // Dropped on a tab: the active page moves to that position.
    int target = PTOnTab(X, Y);
    if (FActivePageIndex >= 0 && target >= 0 && target != FActivePageIndex) {
      MoveDizPage(FActivePageIndex, target);
      Invalidate();
      if (TDizOfficePage* a = ActivePage()) a->Invalidate();
    }
  }
  if (FDownPageIndex >= 0) {
    FDownPageIndex = -1;
    InvalidateTab(-1);
  }
  if (!In(GetTabsArea(), X, Y)) return;
  int i = PTOnTab(X, Y);
  if (i >= 0 && PTOnCheckBox(i, X, Y)) {
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    p->SetChecked(!p->Checked());
    if (OnTabCheckBoxClick) OnTabCheckBoxClick(this, i);
    InvalidateTab(i);
  }
}

void TZorOzirazIrezi::HandleMouseLeave() {
  FHintPageIndex = -1;
  if (IsDesigning(this)) return;
  POINT sp{};
  GetCursorPos(&sp);
  TPoint p = ScreenToClient(TPoint{sp.x, sp.y});
  TRect strip = GetTabsRect();
  switch (FTabPosition) {
    case tpTop: strip.Bottom -= 4; break;
    case tpBottom: strip.Top += 4; break;
    case tpLeft: strip.Right -= 4; break;
    case tpRight: strip.Left += 4; break;
  }
  if (In(strip, p.X, p.Y)) return;
  if (FHotPageIndex >= 0 && FHotPageIndex == FActivePageIndex) {
    FHotPageIndex = -1;
    Invalidate();
  } else if (FHotPageIndex >= 0) {
    if (GetDizPages(FHotPageIndex)) StartGlow(FPages[static_cast<size_t>(FHotPageIndex)], -20, 0);
    FHotPageIndex = -1;
    InvalidateTab(-1);
  }
}

// ---- keyboard and key tips ----------------------------------------------------------------------

void TZorOzirazIrezi::SelectNextControlOfParent() {
  if (TWinControl* parent = Parent()) {
    TWinControl* next = parent->FindNextControl(this, true, true, false);
    if (next && next != this && next->CanFocus()) next->SetFocus();
  }
}

bool TZorOzirazIrezi::HandleKeyDown(WORD Key) {
  switch (Key) {
    case VK_TAB: SelectNextControlOfParent(); return true;
    case VK_ESCAPE: HideShortCutHintOfAllPages(); return true;
    case VK_LEFT:
    case VK_UP:
      HideShortCutHintOfAllPages();
      SelectNextPage(false);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      HideShortCutHintOfAllPages();
      SelectNextPage(true);
      return true;
    default: break;
  }
  if (FShowShortCutHint) {
    UINT ch = MapVirtualKey(Key, 2);
    if (ch) KeyTipTyping(static_cast<char32_t>(ch));
  }
  return false;
}

void TZorOzirazIrezi::KeyTipTyping(char32_t Ch) {
  if (Ch >= 0x80) return;
  FShortCutChars += static_cast<char>(Ch);
  const std::string typed = Upper(FShortCutChars);
  bool any = false;
  for (int i = 0; i < GetDizOfficePageCount(); ++i) {
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    const std::string hint = Upper(p->ShortCutHint());
    if (hint == typed) {
      HideShortCutHintOfAllPages();
      SetActivePageIndex(i);
      return;
    }
    if (!hint.empty()) {
      if (hint.compare(0, typed.size(), typed) == 0) any = true;
      else p->HideShortCutHint();
    }
  }
  bool visible = false;
  for (TShortCutHintWindow* w : FShortCutHintWinList)
    if (w && w->Visible()) visible = true;
  if (!visible) FShowShortCutHint = false;
  if (!any) MessageBeep(0);
}

void TZorOzirazIrezi::ShowShortCutHintOfAllPages() {
  if (!FShowShortCutHints) return;
  for (TDizOfficePage* p : FPages) p->ShowShortCutHint();
  FShowShortCutHint = true;
  FShortCutChars.clear();
  if (!IsDesigning(this) && !FHookedForm) HookParentForm();
}

void TZorOzirazIrezi::HideShortCutHintOfAllPages() {
  for (TDizOfficePage* p : FPages) p->HideShortCutHint();
  FShowShortCutHint = false;
  if (!IsDesigning(this)) UnhookParentForm();
}

void TZorOzirazIrezi::HookParentForm() {
  TCustomForm* form = ParentFormOf(this);
  if (!form) return;
  FHookedForm = form;
  form->FreeNotification(this);
  AddFormHook(form, this, [this](TMessage& m) { OnParentFormMessage(m); });
}

void TZorOzirazIrezi::UnhookParentForm() {
  if (!FHookedForm) return;
  TCustomForm* form = FHookedForm;
  FHookedForm = nullptr;
  RemoveFormHook(form, this);
}

void TZorOzirazIrezi::OnParentFormMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOVING:
    case WM_LBUTTONDOWN:
    case WM_SIZE: HideShortCutHintOfAllPages(); break;
    case WM_SYSCOMMAND:
      if ((Message.WParam & 0xFFF0) == SC_MAXIMIZE || (Message.WParam & 0xFFF0) == SC_MINIMIZE)
        HideShortCutHintOfAllPages();
      break;
    default: break;
  }
}

TShortCutHintWindow* TZorOzirazIrezi::CreateShortCutHintWin() {
  auto* w = new TShortCutHintWindow(this);
  FShortCutHintWinList.push_back(w);
  return w;
}

void TZorOzirazIrezi::DestroyShortCutHintWin(TShortCutHintWindow* W) {
  auto it = std::find(FShortCutHintWinList.begin(), FShortCutHintWinList.end(), W);
  if (it == FShortCutHintWinList.end() || !W) return;
  *it = nullptr;
  delete W;
}

void TZorOzirazIrezi::HandleDialogChar(TMessage& Message) {
  const char32_t ch = static_cast<char32_t>(Message.WParam);
  for (int i = 0; i < GetDizOfficePageCount(); ++i) {
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    std::string text = p->Caption().empty() ? Utf16ToUtf8(p->WideCaption()) : p->Caption();
    if (IsAccel(ch, text) && CanShowTab(i) && CanFocus()) {
      Message.Result = 1;
      SetActivePageIndex(i);
      return;
    }
  }
  TCustomControl::WndProc(Message);
}

// ---- window procedure ------------------------------------------------------------------------------

void TZorOzirazIrezi::WndProc(TMessage& Message) {
  const UINT destroyMsg = ZorOzirazIreziDestroyCloseBtnMessage();
  if (Message.Msg == destroyMsg && destroyMsg != 0) {
    if (Message.WParam != 0) {
      auto it = FPendingFree.find(Message.WParam);
      if (it != FPendingFree.end()) {
        TDovAvarOrodez* b = it->second;
        FPendingFree.erase(it);
        delete b;
      }
    }
    TCustomControl::WndProc(Message);
    return;
  }
  if (DockMessage(Message)) return;
  switch (Message.Msg) {
    case WM_DESTROY:
      if (!IsDesigning(this)) UnhookParentForm();
      break;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return;
    case WM_KEYDOWN:
      HandleKeyDown(static_cast<WORD>(Message.WParam));
      break;
    case CM_DIALOGKEY:
      if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        TCustomForm* form = GetParentForm(this);
        TWinControl* ac = form ? form->ActiveControl() : nullptr;
        if (ac && (ac == this || ContainsControl(ac))) {
          SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
          Message.Result = 1;
          return;
        }
      }
      break;
    case CM_DIALOGCHAR:
      HandleDialogChar(Message);
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(Message);
      HandleMouseLeave();
      return;
    case CM_FOCUSCHANGED: {
      TCustomControl::WndProc(Message);
      auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
      if (focused != this && FShowShortCutHint) HideShortCutHintOfAllPages();
      else if (focused == this && !IsLoading(this) && !IsDesigning(this)) ShowShortCutHintOfAllPages();
      InvalidateTab(-1);
      return;
    }
    case WM_KILLFOCUS:
      TCustomControl::WndProc(Message);
      if (FShowShortCutHint) HideShortCutHintOfAllPages();
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      SetAllPagesPosition();
      UpdateTabScroller();
      return;
    case CM_HINTSHOW:
      TCustomControl::WndProc(Message);
      if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) {
        if (!FShowTabHint) info->HintStr.clear();
        else if (TDizOfficePage* p = GetDizPages(FHintPageIndex)) info->HintStr = p->TabHint();
      }
      return;
    case CM_CONTROLCHANGE:
      DefaultHandler(Message);
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}
