// Menu-bar mode of the tool bar: a main menu shown as menu buttons, its drop-downs lent
// from the menu items, and the keyboard of a native menu bar (Alt or F10, Alt and a
// letter, Left and Right, Enter and Down, Escape) carried by two hooks of this thread: a
// get-message hook steering keys to the bar while no menu is open, and a message-filter
// hook watching the open menu.
#include <algorithm>
#include <cstdio>

#include "menus/RadUdire.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinMenu.h"
#include "platform/win/WinUser.h"
#include "toolbar/VivIzizEzuBar.h"

namespace VivIzizEzu {

// The framework's drop-down-closed notification, posted by the tool bar to itself.
constexpr UINT CN_DROPDOWNCLOSED = WM_USER + 0x1000;

namespace {

TDizCustomToolBar* ActiveMenuBar = nullptr;
int DroppedButtonIndex = -1;
TMenuItem* HighlightedMenuItem = nullptr;
POINT LastHookCursorPos{0, 0};
bool SwitchingMenus = false;
HHOOK MenuFilterHook = nullptr;
HHOOK MenuKeyHook = nullptr;
TDizCustomToolBar* KeyMenuBar = nullptr;
bool DownKeyPosted = false;

// The draw and measure events of lent items, as they were before the loan: the pop-up
// hooks its own into them and goes when the items come back.
struct TLentEvents {
  TMenuItem* Item;
  TMenuMeasureItemEvent Measure;
  TAdvancedMenuDrawItemEvent Draw;
};
std::vector<TLentEvents> gLentEvents;
void KeepEvents(TMenuItem* Item) {
  gLentEvents.push_back({Item, Item->OnMeasureItem, Item->OnAdvancedDrawItem});
  for (int i = 0; i < Item->Count(); ++i) KeepEvents(Item->Items(i));
}
void RestoreEvents() {
  for (auto& e : gLentEvents) {
    e.Item->OnMeasureItem = e.Measure;
    e.Item->OnAdvancedDrawItem = e.Draw;
  }
  gLentEvents.clear();
}

bool Highlightable(TDizCustomToolBar* Bar, TControl* C, const std::unordered_set<const void*>& Hidden) {
  auto* b = dynamic_cast<TVivIzizEzuMenuButton*>(C);
  if (!b || !b->Visible() || !b->Enabled()) return false;
  return Bar->ToolBarState() != tsDocked || !Hidden.count(b);
}

// The accelerator of a caption: the character after an unpaired '&', lower case.
std::string Accel(const std::string& Caption) { return GetHotkey(Caption); }

}  // namespace

TDizCustomToolBarButton* NeighbourMenuBarButton(bool Forward);
LRESULT MenuFilterHookProc(int Code, WPARAM WParam, LPARAM LParam);
LRESULT MenuKeyHookProc(int Code, WPARAM WParam, LPARAM LParam);

namespace {

void InstallMenuFilterHook() {
  SwitchingMenus = false;
  GetCursorPos(&LastHookCursorPos);
  if (!MenuFilterHook) MenuFilterHook = SetWindowsHookEx(WH_MSGFILTER, &MenuFilterHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuFilterHook() {
  if (MenuFilterHook) UnhookWindowsHookEx(MenuFilterHook);
  MenuFilterHook = nullptr;
  HighlightedMenuItem = nullptr;
  ActiveMenuBar = nullptr;
  DroppedButtonIndex = -1;
  DownKeyPosted = false;
}

void InstallMenuKeyHook() {
  if (!MenuKeyHook) MenuKeyHook = SetWindowsHookEx(WH_GETMESSAGE, &MenuKeyHookProc, nullptr, GetCurrentThreadId());
}

void RemoveMenuKeyHook() {
  if (MenuKeyHook) UnhookWindowsHookEx(MenuKeyHook);
  MenuKeyHook = nullptr;
  KeyMenuBar = nullptr;
}

}  // namespace

// ---- the menu and its buttons ----------------------------------------------------------
void TVivIzizEzuMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TDizCustomToolBarButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenuItem) FMenuItem = nullptr;
}

void TVivIzizEzuMenuButton::SetMenuItem(TMenuItem* Value) {
  if (FMenuItem && FMenuItem != Value) FMenuItem->RemoveFreeNotification(this);
  FMenuItem = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  if (Value->Action()) SetAction(Value->Action());
  SetCaption(Value->Caption());
  SetDown(Value->Checked());
  SetEnabled(Value->Enabled());
  SetHint(Value->Hint());
  SetImageIndex(Value->ImageIndex());
  SetVisible(Value->Visible());
}

void TDizCustomToolBar::SetMenu(TComponent* Value) {
  if (Value == FMenu) return;
  auto madeForMenu = [this](int i) {
    auto* b = dynamic_cast<TVivIzizEzuMenuButton*>(GetToolBarControls(i));
    return b && b->MadeForMenu ? b : nullptr;
  };
  if (FMenu) {
    for (int i = GetToolBarControlCount() - 1; i >= 0; --i)
      if (auto* b = madeForMenu(i)) delete b;
    FMenu->RemoveFreeNotification(this);
  }
  FMenu = Value;
  auto* menu = dynamic_cast<TMenu*>(Value);
  if (!Value) return;
  Value->FreeNotification(this);
  if (!menu) return;
  menu->Handle();
  if (!IsLoading() || menu->Images()) FImages = menu->Images();
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    auto* b = new TVivIzizEzuMenuButton(this);
    try {
      b->SetGrouped(true);
      b->SetParent(this);
      b->SetShowCaption(true);
      b->SetMenuItem(menu->Items()->Items(i));
      b->MadeForMenu = true;
      b->SetAutoSize(true);
    } catch (...) {
      delete b;
      throw;
    }
  }
  // Button order follows item order, whatever order the insertion produced.
  int item = 0;
  for (int i = 0; i < GetToolBarControlCount() && item < menu->Items()->Count(); ++i)
    if (auto* b = madeForMenu(i)) b->SetMenuItem(menu->Items()->Items(item++));
}

void TDizCustomToolBar::UpdateMenu() {
  auto* menu = dynamic_cast<TMenu*>(FMenu);
  if (!menu) return;
  menu->Handle();
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    TVivIzizEzuMenuButton* found = nullptr;
    for (int j = 0; j < GetToolBarControlCount() && !found; ++j)
      if (auto* b = dynamic_cast<TVivIzizEzuMenuButton*>(GetToolBarControls(j)); b && b->MadeForMenu && b->MenuItem() == item)
        found = b;
    if (!found) {
      SetMenu(nullptr);
      SetMenu(menu);
      return;
    }
    found->SetMenuItem(item);
  }
}

int TDizCustomToolBar::GetMenuItemCount() const {
  auto* menu = dynamic_cast<TMenu*>(FMenu);
  if (!menu) return 0;
  std::function<int(TMenuItem*)> count = [&](TMenuItem* m) {
    int n = 0;
    for (int i = 0; i < m->Count(); ++i) n += 1 + count(m->Items(i));
    return n;
  };
  return count(menu->Items());
}

TDizCustomToolBarButton* TDizCustomToolBar::FindButtonFromAccel(const std::string& Key) {
  const std::string key = AnsiLowerCase(Key);
  for (int i = 0; i < GetToolBarControlCount(); ++i) {
    auto* b = dynamic_cast<TDizCustomToolBarButton*>(GetToolBarControls(i));
    if (b && b->Visible() && b->Enabled() && !key.empty() && Accel(b->Caption()) == key) return b;
  }
  return nullptr;
}

// ---- the highlight ---------------------------------------------------------------------
bool TDizCustomToolBar::SetButtonHot(int Index) {
  if (Index < 0) {
    SetButtonHot(static_cast<TDizCustomToolBarButton*>(nullptr));
    return true;
  }
  const auto hidden = HiddenSet();
  int n = 0;
  for (int i = 0; i < GetToolBarControlCount(); ++i) {
    TControl* c = GetToolBarControls(i);
    if (!Highlightable(this, c, hidden)) continue;
    if (n++ == Index) return SetButtonHot(static_cast<TDizCustomToolBarButton*>(c));
  }
  return false;
}

bool TDizCustomToolBar::SetButtonHot(TDizCustomToolBarButton* Button) {
  if (Button) {
    Button->SetHot(true);
    return true;
  }
  if (!FHighlightedButton) return false;
  FHighlightedButton->SetHot(false);
  return true;
}

void TDizCustomToolBar::UpdateButtonHot(TDizCustomToolBarButton* Button) {
  if (!Button) return;
  if (Button->Hot()) {
    if (FHighlightedButton && FHighlightedButton != Button) {
      TDizCustomToolBarButton* old = FHighlightedButton;
      FHighlightedButton = Button;
      old->SetHot(false);
    }
    FHighlightedButton = Button;
  } else if (Button == FHighlightedButton) {
    FHighlightedButton = nullptr;
  }
}

// Left and Right in the menu loop: the previous or next highlightable button, wrapping.
void TDizCustomToolBar::HighlightNeighbour(bool Forward) {
  const auto hidden = HiddenSet();
  std::vector<TDizCustomToolBarButton*> list;
  for (int i = 0; i < GetToolBarControlCount(); ++i)
    if (TControl* c = GetToolBarControls(i); Highlightable(this, c, hidden))
      list.push_back(static_cast<TDizCustomToolBarButton*>(c));
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), FHighlightedButton);
  size_t i = it == list.end() ? 0 : size_t(it - list.begin());
  if (it != list.end()) i = Forward ? (i + 1) % list.size() : (i + list.size() - 1) % list.size();
  SetButtonHot(list[i]);
}

// ---- keyboard menu mode ----------------------------------------------------------------
void TDizCustomToolBar::InitMenu(TDizCustomToolBarButton* Button) {
  KeyMenuBar = this;
  FMenuItemChosen = false;  // each run reports its own choice
  SetCapture(Handle());
  FKeyboardMenuMode = true;
  InstallMenuKeyHook();
  if (Button) {
    SetButtonHot(Button);
    Button->DoDropDown();
  } else {
    SetButtonHot(0);
    FCancelOnCaptureLoss = true;
  }
}

bool TDizCustomToolBar::TrackMenu(TDizCustomToolBarButton* Button) {
  if (FInMenuLoop) {
    if (!Button) return false;
    ClickButton(Button, false);
    return true;
  }
  struct TEnd {
    TDizCustomToolBar* T;
    ~TEnd() { T->CancelMenu(); }
  };
  InitMenu(Button);
  TEnd end{this};
  if (FMenu) {
    FInMenuLoop = true;
    while (FInMenuLoop && Application && !Application->Terminated()) Application->HandleMessage();
  }
  return FMenuItemChosen;
}

void TDizCustomToolBar::CancelMenu() {
  if (FInMenuLoop) {
    RemoveMenuKeyHook();
    if (GetCapture() == Handle()) ReleaseCapture();
    FKeyboardMenuMode = false;
  }
  FInMenuLoop = false;
  FCancelOnCaptureLoss = false;
  SetButtonHot(-1);
}

void TDizCustomToolBar::ClickButton(TDizCustomToolBarButton* Button, bool ByMouse) {
  FCancelOnCaptureLoss = false;
  FDisplayedMenuButton = nullptr;
  Button->FClickedInternally = true;
  // The open menu closes first; the press then reaches our own window (never the whole
  // desktop, as a synthesized system-wide click would).
  EndMenu();
  const LPARAM keys = MK_LBUTTON;
  if (ByMouse) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    PostMessage(Handle(), WM_LBUTTONDOWN, keys, MAKELPARAM(p.x, p.y));
    PostMessage(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    return;
  }
  TMenuItem* item = Button->ButtonMenuItem();
  if (item && item->Count() > 0) {
    PostMessage(Handle(), WM_LBUTTONDOWN, keys, MAKELPARAM(Button->Left(), Button->Top()));
    PostMessage(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(Button->Left(), Button->Top()));
    return;
  }
  TPoint p{Button->Left(), Button->Top()};
  if (Horizontal()) --p.Y;
  else --p.X;
  PostMessage(Handle(), WM_LBUTTONDOWN, keys, MAKELPARAM(p.X, p.Y));
  PostMessage(Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
  FPendingMenuButton = Button;
  if (!FMenuItemTimer) {
    FMenuItemTimer = new TTimer(this);
    FMenuItemTimer->SetInterval(1);
    FMenuItemTimer->SetOnTimer([this](TObject* S) { MenuItemTimerOnTime(S); });
  }
  FMenuItemTimer->SetEnabled(true);
}

void TDizCustomToolBar::MenuItemTimerOnTime(TObject*) {
  if (FMenuItemTimer) FMenuItemTimer->SetEnabled(false);
  if (!FPendingMenuButton) return;
  TDizCustomToolBarButton* b = FPendingMenuButton;
  FPendingMenuButton = nullptr;
  TrackMenu(nullptr);
  SetButtonHot(b);
}

// ---- dropping a menu -------------------------------------------------------------------
TPoint TDizCustomToolBar::MenuDropPoint(TDizCustomToolBarButton* Button, int W, int H, bool RightToLeft) {
  TWinControl* host = Button->Parent() ? Button->Parent() : this;
  TPoint p;
  const TMonitor* mon = Screen ? Screen->MonitorFromPoint(TPoint{0, 0}) : nullptr;
  const TRect area = mon ? mon->BoundsRect() : TRect{0, 0, 1 << 20, 1 << 20};
  switch (FPosition) {
    case daTop:
    case daBottom:
      p = host->ClientToScreen(TPoint{Button->Left(), Button->Top() + Button->Height()});
      if (RightToLeft) p.X += Button->Width();
      if (p.Y + H + 10 > area.Bottom) p.Y -= Button->Height() + H + 4;
      if (p.X + W + 52 > area.Right) p.X = area.Right - W - 52;
      break;
    case daRight:
      p = host->ClientToScreen(TPoint{Button->Left(), Button->Top() + 1});
      p.X -= W;
      break;
    case daLeft:
      p = host->ClientToScreen(TPoint{Button->Left() + Button->Width(), Button->Top() + 1});
      break;
  }
  return p;
}

bool TDizCustomToolBar::CheckMenuDropdown(TDizCustomToolBarButton* Button) {
  if (!Button) return false;
  FCancelOnCaptureLoss = false;
  TPopupMenu* popup = Button->DropDownMenu();
  TMenuItem* item = Button->ButtonMenuItem();
  if (!popup) {
    if (!item) {
      PostMessage(Handle(), CN_DROPDOWNCLOSED, 0, 0);
      return false;
    }
    item->Click();
    ClearTempMenu();
    auto* temp = new TRerAvideReva(this);
    FDropDownPopup = temp;
    temp->SetTrackButton(tbLeftButton);
    if (TMenu* m = item->GetParentMenu()) {
      temp->SetImages(m->Images());
      if (auto* vo = dynamic_cast<TVerOvizEzur*>(m)) temp->SetDisabledImages(vo->DisabledImages());
    }
    FSourceMenuItem = item;
    gLentEvents.clear();
    for (int i = 0; i < item->Count(); ++i) KeepEvents(item->Items(i));
    for (int i = item->Count() - 1; i >= 0; --i) {
      TMenuItem* child = item->Items(i);
      item->Remove(child);
      temp->Items()->Insert(0, child);
    }
    popup = temp;
  }
  popup->SetPopupComponent(this);
  const bool hook = popup->Items()->Count() > 0 && FMenu;
  const int index = IndexOfToolBarControl(Button);
  if (hook) {
    DroppedButtonIndex = index;
    ActiveMenuBar = this;
    InstallMenuFilterHook();
  }
  SetButtonHot(-1);
  // The menu's size, measured as its items will be.
  int W = 0, H = 0;
  TCanvas* c = Canvas();
  for (int i = 0; i < popup->Items()->Count(); ++i) {
    TMenuItem* it = popup->Items()->Items(i);
    int w = 10, h = 10;
    it->MeasureItem(c, w, h);
    W = std::max(W, w);
    if (FPosition == daBottom) H += GetSystemMetrics(SM_CYMENU);
    else if (it->Visible()) H += h;
  }
  const TPoint p = MenuDropPoint(Button, W, H, false);
  FMenuDropped = true;
  if (auto* styled = dynamic_cast<TRerAvideReva*>(popup))
    if (!styled->GetMenuStyler() && FStylerInForce->CurrentMenuStyler())
      styled->SetMenuStyler(FStylerInForce->CurrentMenuStyler());
  try {
    if (hook || (popup->Items()->Count() > 0 && !FMenu)) {
      Button->FDisplayingMenu = true;
      popup->Popup(p.X, p.Y);
      FDisplayedMenuButton = Button;
    }
  } catch (...) {
    if (hook) RemoveMenuFilterHook();
    PostMessage(Handle(), CN_DROPDOWNCLOSED, 0, 0);
    throw;
  }
  if (hook) RemoveMenuFilterHook();
  FLastDroppedButton = Button;
  Button->SetState(absUp);
  Button->Invalidate();
  if (SwitchingMenus && FKeyboardMenuMode) SetButtonHot(Button);
  UpControlInRUL(Button);
  PostMessage(Handle(), CN_DROPDOWNCLOSED, 0, 0);
  return true;
}

void TDizCustomToolBar::ClearTempMenu() {
  auto* b = dynamic_cast<TVivIzizEzuMenuButton*>(FLastDroppedButton);
  if (!FSourceMenuItem || !b || !b->MenuItem() || !FDropDownPopup) return;
  for (int i = FDropDownPopup->Items()->Count() - 1; i >= 0; --i) {
    TMenuItem* child = FDropDownPopup->Items()->Items(i);
    FDropDownPopup->Items()->Remove(child);
    FSourceMenuItem->Insert(0, child);
  }
  delete FDropDownPopup;
  RestoreEvents();
  FDropDownPopup = nullptr;
  FLastDroppedButton = nullptr;
  FSourceMenuItem = nullptr;
}

// ---- messages --------------------------------------------------------------------------
bool TDizCustomToolBar::MenuBarMessage(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DROPDOWNCLOSED: {
      TDizCustomToolBarButton* shown = FDisplayedMenuButton;
      TDizCustomToolBarButton* last = FLastDroppedButton;
      ClearTempMenu();
      if (shown && Parent() && FMenu && !shown->FClickedInternally) {
        POINT sp;
        GetCursorPos(&sp);
        if (FindDragTarget(TPoint{sp.x, sp.y}, true) == shown) {
          shown->FMenuClosedByClick = true;
          const TPoint p{shown->Left() + 1, shown->Top() + 1};
          PostMessage(Parent()->Handle(), WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(p.X + Left(), p.Y + Top()));
        }
      }
      FMenuDropped = false;
      if (shown) shown->FDisplayingMenu = false;
      if (last) last->Invalidate();
      FCancelOnCaptureLoss = true;
      return true;
    }
    case WM_SYSCOMMAND: {
      if (FInMenuLoop || !Enabled() || !Showing() || !FMenu || (Message.WParam & 0xFFF0) != SC_KEYMENU) return false;
      const char key = char(Message.LParam);
      if (key == ' ' || key == '-' || GetCapture()) return false;
      if (Message.LParam == 0) {
        Message.Result = 1;
        TrackMenu(nullptr);
        return true;
      }
      if (TDizCustomToolBarButton* b = FindButtonFromAccel(std::string(1, key))) {
        Message.Result = 1;
        TrackMenu(b);
        return true;
      }
      return false;
    }
    case WM_KEYDOWN:
      if (!FInMenuLoop) return false;
      switch (Message.WParam) {
        case VK_RETURN:
        case VK_DOWN:
          if (FHighlightedButton) FHighlightedButton->DoDropDown();
          return Message.WParam == VK_DOWN;
        case VK_ESCAPE: CancelMenu(); return true;
        case VK_LEFT: HighlightNeighbour(false); return true;
        case VK_RIGHT: HighlightNeighbour(true); return true;
        default: return false;
      }
    case WM_SYSKEYDOWN:
    case CN_SYSKEYDOWN:
      if (FInMenuLoop && Message.WParam == VK_MENU) {
        CancelMenu();
        return true;
      }
      return false;
    case WM_CHAR:
    case CN_CHAR:
      return FInMenuLoop;  // a plain letter does nothing in the loop
    case CM_DIALOGCHAR:
      if (Enabled() && Showing() && GetKeyState(VK_MENU) < 0)
        if (TDizCustomToolBarButton* b = FindButtonFromAccel(std::string(1, char(Message.WParam)))) {
          if (b->IsMenuButton() && (b->DropDownMenu() || b->ButtonMenuItem())) b->DoDropDown();
          else b->Click();
          Message.Result = 1;
          return true;
        }
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      // The bar holds the mouse in keyboard menu mode: a press on one of its buttons goes
      // on to that button.
      if (!FKeyboardMenuMode) return false;
      TControl* c = ControlAtPos(TPoint{Message.XPos(), Message.YPos()}, false);
      if (!dynamic_cast<TDizCustomToolBarButton*>(c)) return false;
      Message.Result = c->Perform(Message.Msg, Message.WParam,
                                  MAKELPARAM(WORD(Message.XPos() - c->Left()), WORD(Message.YPos() - c->Top())));
      return true;
    }
    case WM_CAPTURECHANGED:
      if (FInMenuLoop && FCancelOnCaptureLoss) CancelMenu();
      return false;
    case WM_GETDLGCODE:
      if (FInMenuLoop) {
        Message.Result = DLGC_WANTARROWS;
        return true;
      }
      return false;
    default:
      return false;
  }
}

// ---- the hooks -------------------------------------------------------------------------
TDizCustomToolBarButton* NeighbourMenuBarButton(bool Forward) {
  if (!ActiveMenuBar) return nullptr;
  const int n = ActiveMenuBar->GetToolBarControlCount();
  if (n == 0) return nullptr;
  const int start = std::clamp(DroppedButtonIndex, 0, n - 1);
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = Forward ? (i + 1) % n : (i + n - 1) % n;
    auto* b = dynamic_cast<TDizCustomToolBarButton*>(ActiveMenuBar->GetToolBarControls(i));
    if (b && b->Visible() && b->Enabled()) return b;
  }
  return nullptr;
}

LRESULT MenuFilterHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  auto* m = reinterpret_cast<MSG*>(LParam);
  LRESULT r = CallNextHookEx(MenuFilterHook, Code, WParam, LParam);
  if (r || Code != MSGF_MENU || !m || !ActiveMenuBar) return r;
  if (!DownKeyPosted) {
    DownKeyPosted = true;
    PostMessage(m->hwnd, WM_KEYDOWN, VK_DOWN, 0);
  }
  TControl* target = nullptr;
  bool byMouse = false;
  switch (m->message) {
    case WM_KEYDOWN:
      if (m->wParam == VK_RETURN) ActiveMenuBar->FMenuItemChosen = true;
      else if (m->wParam == VK_ESCAPE) SwitchingMenus = true;
      else if (HighlightedMenuItem) {
        if (m->wParam == VK_RIGHT && HighlightedMenuItem->Count() == 0) target = NeighbourMenuBarButton(true);
        else if (m->wParam == VK_LEFT && HighlightedMenuItem->GetParentComponent() == ActiveMenuBar->DropDownPopup())
          target = NeighbourMenuBarButton(false);
      }
      break;
    case WM_SYSKEYDOWN:
      if (m->wParam == VK_MENU) {
        ActiveMenuBar->CancelMenu();
        EndMenu();
        return r;
      }
      break;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(m->wParam);
      if (flags == 0xFFFF && !m->lParam) {
        if (!SwitchingMenus) ActiveMenuBar->CancelMenu();
        return r;
      }
      SwitchingMenus = false;
      if (TPopupMenu* popup = ActiveMenuBar->DropDownPopup()) {
        if (flags & MF_POPUP) HighlightedMenuItem = popup->FindItem(UINT_PTR(GetSubMenu(HMENU(m->lParam), LOWORD(m->wParam))), fkHandle);
        else HighlightedMenuItem = popup->FindItem(UINT_PTR(LOWORD(m->wParam)), fkCommand);
      }
      break;
    }
    case WM_MOUSEMOVE: {
      POINT p;
      GetCursorPos(&p);
      if (p.x != LastHookCursorPos.x || p.y != LastHookCursorPos.y) {
        target = FindDragTarget(TPoint{p.x, p.y}, false);
        LastHookCursorPos = p;
        byMouse = true;
      }
      break;
    }
    default: break;
  }
  auto* b = dynamic_cast<TDizCustomToolBarButton*>(target);
  if (b && b->IsMenuButton() && b->VivIzizEzu() && b->VivIzizEzu()->IndexOfToolBarControl(b) != DroppedButtonIndex &&
      b->Parent() && b->Parent()->HandleAllocated()) {
    SwitchingMenus = true;
    ActiveMenuBar->FCancelOnCaptureLoss = false;
    ActiveMenuBar->ClickButton(b, byMouse);
  }
  return r;
}

LRESULT MenuKeyHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  auto* m = reinterpret_cast<MSG*>(LParam);
  if (Code == HC_ACTION && m && KeyMenuBar) {
    if (m->message == CM_DEACTIVATE) KeyMenuBar->CancelMenu();
    else if (m->message == WM_COMMAND) {
      HHOOK h = MenuKeyHook;
      RemoveMenuKeyHook();
      return CallNextHookEx(h, Code, WParam, LParam);
    } else if (!MenuFilterHook && (m->message == WM_KEYDOWN || m->message == WM_KEYUP || m->message == WM_CHAR ||
                                   m->message == WM_SYSKEYDOWN || m->message == WM_SYSKEYUP))
      m->hwnd = KeyMenuBar->Handle();
  }
  return CallNextHookEx(MenuKeyHook, Code, WParam, LParam);
}

}  // namespace VivIzizEzu
