// RadUdire, menu windows: the frame, region and position of the pop-up windows that show
// the owner-drawn menus, translucency, the forms' MDI side, and the program's menu
// animation setting.
#include <algorithm>

#include "menus/RadUdire.h"
#include "menus/ZedIvadUtil.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

bool CallSetLayeredWindowAttributes(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags);

namespace {

constexpr DWORD kLwaAlpha = 0x2;
constexpr int kArrowStrip = 17;  // the strip at the right where the system draws its arrow

// While a styled menu window paints its items, the frame (which each item's drawing ends
// with) is drawn once, after the last item: the same pixels as drawing it after every item,
// without going round the whole window once per item.
struct TDeferredBorder {
  HWND Window = nullptr;
  TMenuItem* Item = nullptr;
  // The menu's rectangle, the same for every entry of one paint.
  HMENU RectMenu = nullptr;
  TRect MenuRect{};
  // Whether the menu has a column break (known once per paint).
  int HasBreak = -1;
};
thread_local TDeferredBorder* gDeferredBorder = nullptr;
// The window whose first paint is under way, and the entry it drew last.
thread_local TDeferredBorder gFirstPaint;

// The last entry the item's menu shows (the last visible item).
TMenuItem* LastShownItem(TMenuItem* Item) {
  TMenuItem* parent = Item ? Item->Parent() : nullptr;
  if (!parent) return Item;
  for (int i = parent->Count() - 1; i >= 0; --i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return Item;
}

void DrawMenuWindowBorderNow(TMenuItem* Item, HWND Window);

LRESULT MenuWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Window, GWLP_USERDATA));
  const bool closing = (Msg == WM_SHOWWINDOW && !WParam) || Msg == WM_CLOSE || Msg == WM_DESTROY;
  if (gFirstPaint.Window == Window) {
    // The first paint ended before its last entry: its frame is drawn now (not on a window
    // that is going, whose menu may be gone).
    TMenuItem* item = gFirstPaint.Item;
    gFirstPaint = TDeferredBorder{};
    if (item && !closing) DrawMenuWindowBorderNow(item, Window);
  }
  if (Msg == WM_ERASEBKGND) return 1;
  if (Msg == WM_PAINT && previous) {
    TDeferredBorder deferred{Window};
    TDeferredBorder* outer = gDeferredBorder;
    gDeferredBorder = &deferred;
    LRESULT result;
    try {
      result = CallWindowProc(previous, Window, Msg, WParam, LParam);
    } catch (...) {
      gDeferredBorder = outer;
      throw;
    }
    gDeferredBorder = outer;
    if (deferred.Item && IsWindow(Window)) DrawMenuWindowBorderNow(deferred.Item, Window);
    return result;
  }
  if (closing) {
    // The system reuses its menu windows: everything is undone before the next menu.
    SetWindowRgn(Window, nullptr, TRUE);
    if (previous) {
      SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      SetWindowLongPtr(Window, GWLP_USERDATA, 0);
    }
  }
  if (!previous) return DefWindowProc(Window, Msg, WParam, LParam);
  return CallWindowProc(previous, Window, Msg, WParam, LParam);
}

TRect ScreenRect(HWND Window) {
  RECT r{};
  GetWindowRect(Window, &r);
  return TRect{r.left, r.top, r.right, r.bottom};
}

void FrameWindowRect(HDC Dc, const TRect& R, TColor Color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color));
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  FrameRect(Dc, &r, brush);
  DeleteObject(brush);
}

bool gMenuAnimation = true;
bool gSavedMenuAnimation = true;

// Menus of this program open without animation.
const bool kAnimationOff = [] {
  DisableMenuAnimation();
  return true;
}();

}  // namespace

HWND GetMenuWnd(TMenu* Menu) {
  // A child form's menu is shown by its frame, the parent of its client window.
  if (auto* form = Menu ? dynamic_cast<TCustomForm*>(Menu->Owner()) : nullptr;
      form && form->FormStyle() == fsMDIChild && form->HandleAllocated())
    if (HWND client = GetParent(form->Handle())) return GetParent(client);
  return Menu ? Menu->WindowHandle() : nullptr;
}

TRect GetMenuRect(TMenuItem* Item, HWND Window) {
  TRect result{};
  if (!Item || !Item->Parent()) return result;
  HMENU handle = Item->Parent()->Handle();
  // Within one paint of the window the entries keep their places: the union of their
  // rectangles is worked out once, not once per entry.
  TDeferredBorder* paint = Window && gDeferredBorder && gDeferredBorder->Window == Window ? gDeferredBorder
                           : Window && gFirstPaint.Window == Window                      ? &gFirstPaint
                                                                                          : nullptr;
  if (paint && paint->RectMenu == handle && handle) return paint->MenuRect;
  bool first = true;
  for (int i = 0; i <= Item->Parent()->Count(); ++i) {
    RECT r{};
    if (!GetMenuItemRect(Window, handle, UINT(i), &r)) continue;
    if (first) result = TRect{r.left, r.top, r.right, r.bottom};
    else result = TRect{std::min<int>(result.Left, r.left), std::min<int>(result.Top, r.top),
                        std::max<int>(result.Right, r.right), std::max<int>(result.Bottom, r.bottom)};
    first = false;
  }
  if (paint && handle) {
    paint->RectMenu = handle;
    paint->MenuRect = result;
  }
  return result;
}

HWND GetMDIClientWnd(IZedIvad* Menu) {
  auto* menu = Menu ? dynamic_cast<TMainMenu*>(Menu->GetSelf()) : nullptr;
  if (!menu || menu->ComponentState().Contains(csDestroying)) return nullptr;
  auto* form = dynamic_cast<TForm*>(menu->Owner());
  if (!form) return nullptr;
  if (form->FormStyle() == fsMDIChild) return form->HandleAllocated() ? GetParent(form->Handle()) : nullptr;
  if (form->FormStyle() == fsMDIForm) return form->ClientHandle();
  return nullptr;
}

TCustomForm* FindForm(HWND Window) {
  if (!Screen || !Window) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (form->HandleAllocated() && form->Handle() == Window) return form;
  }
  return nullptr;
}

bool SeparatorLeftToLastEntry(TMenuItem* Item, HWND Window) {
  TDeferredBorder* paint = Window && gDeferredBorder && gDeferredBorder->Window == Window ? gDeferredBorder
                           : Window && gFirstPaint.Window == Window                      ? &gFirstPaint
                                                                                          : nullptr;
  if (!paint || !Item) return false;
  TMenuItem* last = LastShownItem(Item);
  if (Item == last) return false;
  if (paint->HasBreak < 0) paint->HasBreak = IsAfterMenuBreak(last) ? 1 : 0;
  return paint->HasBreak == 0;  // one column: every entry's line is the same line
}

void DrawMenuWindowBorder(TMenuItem* Item, TCanvas* Canvas) {
  HWND w = WindowFromDC(Canvas->GetHandle());
  if (!w) return;
  if (gDeferredBorder && gDeferredBorder->Window == w) {
    gDeferredBorder->Item = Item;
    return;
  }
  // The window's first paint (the one that styles it) draws its entries in order: the frame
  // drawn after the first and the last entry gives the pixels of drawing it after each.
  if (gFirstPaint.Window == w) {
    gFirstPaint.Item = Item;
    if (Item != LastShownItem(Item)) return;
    gFirstPaint = TDeferredBorder{};
  }
  const bool styled = GetWindowLongPtr(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&MenuWindowProc);
  DrawMenuWindowBorderNow(Item, w);
  if (!styled && GetWindowLongPtr(w, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&MenuWindowProc) &&
      Item != LastShownItem(Item))
    gFirstPaint = TDeferredBorder{w, Item};
}

namespace {
void DrawMenuWindowBorderNow(TMenuItem* Item, HWND w) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  TCustomRadUdirEtyler* s = menu ? menu->GetCurrentMenuStyler() : nullptr;
  if (!s) return;
  if (!w || !IsWindow(w) || w == menu->GetSelf()->WindowHandle() || IsInTopMainMenu(Item)) return;
  bool popupMenu = dynamic_cast<TPopupMenu*>(menu->GetSelf()) != nullptr;
  int level = GetMenuItemLevel(Item) + (popupMenu ? 1 : 0);
  TRect wr = ScreenRect(w);
  int width = wr.Right - wr.Left, height = wr.Bottom - wr.Top;
  bool rightAligned = level >= 2 && IsRightAligned(Item, w);
  if (GetWindowLongPtr(w, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&MenuWindowProc)) {
    SetWindowLongPtr(w, GWLP_USERDATA, GetWindowLongPtr(w, GWLP_WNDPROC));
    SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc));
    SetWindowRgn(w, CreateRectRgn(1, 1, width - 1 - kArrowStrip, height - 1), TRUE);
    if (level <= 1) MoveWindow(w, wr.Left - 1, wr.Top - 2, width, height, TRUE);
    else if (rightAligned) MoveWindow(w, wr.Left - kArrowStrip + 3, wr.Top, width, height, TRUE);
    else MoveWindow(w, wr.Left + kArrowStrip + 3, wr.Top, width, height, TRUE);
    wr = ScreenRect(w);
  }
  HDC dc = GetWindowDC(w);
  // The outer frame follows the region's right edge at every level.
  TRect f{1, 1, width - 1 - kArrowStrip, height - 1};
  FrameWindowRect(dc, f, s->MenuBorderColor());
  if (level == 1 && !popupMenu && Item->Parent()) {
    TMenuItem* barItem = Item->Parent();
    auto* main = dynamic_cast<TMainMenu*>(barItem->GetParentComponent());
    int index = VisibleMenuIndex(barItem);
    RECT r{};
    if (main && index >= 0 && GetMenuItemRect(main->WindowHandle(), main->Handle(), UINT(index), &r)) {
      HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(s->Background()->Color()));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, r.left - wr.Left + 1, 1, nullptr);
      LineTo(dc, r.right - wr.Left - 1, 1);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  FrameWindowRect(dc, TRect{f.Left + 1, f.Top + 1, f.Right - 1, f.Bottom - 1}, s->Background()->Color());
  ReleaseDC(w, dc);
}
}  // namespace

void SetMenuOpacity(IZedIvad* Menu, HWND Window, BYTE) {
  if (!Menu || !Window || !ZedIvadUtil::SupportsLayeredWindows()) return;
  BYTE opacity = Menu->GetOpacity();
  bool layered = (GetWindowLongPtr(Window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (dynamic_cast<TPopupMenu*>(Menu->GetSelf())) {
    if (!layered && opacity < 255) {
      ZedIvadUtil::SetWindowLayered(Window, true);
      CallSetLayeredWindowAttributes(Window, 0, opacity, kLwaAlpha);
    }
  } else if (dynamic_cast<TMainMenu*>(Menu->GetSelf()) && layered) {
    CallSetLayeredWindowAttributes(Window, 0, 255, kLwaAlpha);
    ZedIvadUtil::SetWindowLayered(Window, false);
  }
}

void SetMenuOpacity(TMenuItem* Item, TCanvas* Canvas) {
  IZedIvad* menu = GetMenuItemIntf(Item);
  if (menu) SetMenuOpacity(menu, WindowFromDC(Canvas->GetHandle()), menu->GetOpacity());
}

void DisableMenuAnimation() {
  gSavedMenuAnimation = gMenuAnimation;
  gMenuAnimation = false;
}

void RestoreMenuAnimation() { gMenuAnimation = gSavedMenuAnimation; }

bool MenuAnimationEnabled() { return gMenuAnimation; }

// ---- MDI ---------------------------------------------------------------------------------------
namespace {

// The client windows a main menu subclassed, with the procedure each had before.
struct TClientHook {
  WNDPROC Previous = nullptr;
  TVerOvizEzur* Menu = nullptr;
};
std::vector<std::pair<HWND, TClientHook>>& ClientHooks() {
  static std::vector<std::pair<HWND, TClientHook>> hooks;
  return hooks;
}
TClientHook* FindClientHook(HWND Client) {
  for (auto& [wnd, hook] : ClientHooks())
    if (wnd == Client) return &hook;
  return nullptr;
}

constexpr TShortCut kWindowListMarker = 0xABCD;

// Lists the frame's children after the marker line of its window menu: "1 A", "2 b", ...
// in case-insensitive caption order, the active one checked; answers the menu's handle.
LRESULT RefreshWindowList(HWND Client) {
  TCustomForm* frame = FindForm(GetParent(Client));
  if (!frame || frame->FormStyle() != fsMDIForm || !frame->WindowMenu()) return 0;
  auto* menu = dynamic_cast<TVerOvizEzur*>(frame->Menu());
  if (!menu) return 0;
  TMenuItem* window = frame->WindowMenu();
  menu->BeginUpdate();
  struct TEnd {
    TVerOvizEzur* M;
    ~TEnd() { M->EndUpdate(); }
  } end{menu};
  int marker = -1;
  for (int i = 0; i < window->Count(); ++i)
    if (window->Items(i)->ShortCut() == kWindowListMarker && window->Items(i)->Caption() == "-") marker = i;
  if (marker < 0) {
    auto* line = new TMenuItem(window);
    line->SetCaption("-");
    line->SetShortCut(kWindowListMarker);
    line->SetAutoLineReduction(maAutomatic);
    line->SetVisible(frame->MDIChildCount() > 0);
    window->Add(line);
  } else {
    while (window->Count() > marker + 1) window->Delete(window->Count() - 1);
  }
  std::vector<TCustomForm*> children;
  for (int i = 0; i < frame->MDIChildCount(); ++i)
    if (TCustomForm* f = frame->MDIChildren(i); !f->ComponentState().Contains(csDestroying)) children.push_back(f);
  std::stable_sort(children.begin(), children.end(),
                   [](TCustomForm* a, TCustomForm* b) { return AnsiCompareText(a->Caption(), b->Caption()) < 0; });
  TCustomForm* active = frame->ActiveMDIChild();
  for (size_t i = 0; i < children.size(); ++i) {
    auto* item = new TMenuItem(window);
    item->SetCaption(std::to_string(i + 1) + " " + children[i]->Caption());
    item->SetTag(intptr_t(children[i]->HandleAllocated() ? children[i]->Handle() : nullptr));
    item->OnClick = [menu](TObject* Sender) { menu->ActivateMDIChild(Sender); };
    item->SetRadioItem(true);
    item->SetGroupIndex(205);
    item->SetChecked(children[i] == active);
    window->Add(item);
  }
  return LRESULT(menu->Handle());
}

LRESULT ClientHookProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TClientHook* hook = FindClientHook(Wnd);
  if (Msg == WM_MDIREFRESHMENU && hook) return RefreshWindowList(Wnd);
  WNDPROC previous = hook ? hook->Previous : nullptr;
  return previous ? CallWindowProc(previous, Wnd, Msg, WParam, LParam) : DefWindowProc(Wnd, Msg, WParam, LParam);
}

}  // namespace

void HookMDIClient(TVerOvizEzur* Menu) {
  HWND client = GetMDIClientWnd(Menu);
  if (!client || FindClientHook(client)) return;
  ReleaseMDIClient(Menu);
  TClientHook hook;
  hook.Menu = Menu;
  hook.Previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(client, GWL_WNDPROC));
  ClientHooks().emplace_back(client, hook);
  SetWindowLongPtr(client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&ClientHookProc));
}

void ReleaseMDIClient(TVerOvizEzur* Menu) {
  auto& hooks = ClientHooks();
  for (auto it = hooks.begin(); it != hooks.end(); ++it) {
    if (it->second.Menu != Menu) continue;
    if (IsWindow(it->first)) SetWindowLongPtr(it->first, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.Previous));
    hooks.erase(it);
    return;
  }
}

void TVerOvizEzur::DrawMDIFormIcon(TMenuItem* Item, const TRect& R) {
  // Only an MDI frame with an active child that has a window shows the child's icon.
  if (!Item || Item->MenuIndex() != 0 || !IsInTopMainMenu(Item) || R.Left < 5) return;
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (!form || form->FormStyle() != fsMDIForm || !GetMDIClientWnd(this)) return;
}

void TVerOvizEzur::ActivateMDIChild(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || item->Tag() == 0) return;
  HWND client = GetMDIClientWnd(GetMenuItemIntf(item));
  if (client && SendMessage(client, WM_MDIACTIVATE, WPARAM(item->Tag()), 0) == 0) item->SetChecked(true);
}
