// The menu loop: tracking the menu bar and pop-up menus with the keyboard and the mouse,
// the notifications to the owner window, the pop-up windows, and the entry points that
// start the loop (a click on the bar, Alt / F10 / Alt+letter, TrackPopupMenu).
#include <algorithm>
#include <functional>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace winsys {
SIZE LayoutPopupMenu(HWND owner, HMENU menu);
}

namespace {

constexpr UINT_PTR kShowTimer = 0x4D53;  // opens or closes a sub-menu after the show delay

struct TLevel {
  HMENU Menu = nullptr;
  HWND Wnd = nullptr;
};

struct TTracker {
  HWND Owner = nullptr;
  HMENU Bar = nullptr;       // the owner's menu bar (bar tracking)
  bool Popup = false;        // TrackPopupMenu
  UINT Flags = 0;
  int BarSel = -1;           // selected bar item
  std::vector<TLevel> Levels;  // open pop-up menus, the first one at the bottom
  bool Done = false;
  bool Chosen = false;
  UINT Command = 0;
  bool Keyboard = false;     // driven by the keyboard: accelerators are underlined
  bool ButtonDown = false;   // a button went down in the menu: its release chooses
  bool IdleSent = false;
  int PendingLevel = -1;     // the show timer acts on this level's selection
  TTracker* Outer = nullptr;
  // Where the pointer was last seen: a move that does not move it (a pop-up opening under
  // a resting pointer) selects nothing, so the keyboard's choice stands.
  POINT LastPointer{};
  TTracker() { GetCursorPos(&LastPointer); }
};

TTracker* gTracker = nullptr;
HWND gHotWnd = nullptr;  // bar hot tracking outside the loop
int gHotIndex = -1;
bool gAltAlone = false;

bool Notify(const TTracker& t) { return !(t.Flags & TPM_NONOTIFY); }

// The accelerator of a caption: the character after a single '&', lower case.
std::string AccelOf(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t n = 1;
    unsigned char c = static_cast<unsigned char>(text[i + 1]);
    if (c >= 0xF0) n = 4;
    else if (c >= 0xE0) n = 3;
    else if (c >= 0xC0) n = 2;
    return AnsiLowerCase(text.substr(i + 1, n));
  }
  return {};
}

bool Selectable(const TMenuEntry& e) { return !(e.Type & MFT_SEPARATOR); }
bool Enabled(const TMenuEntry& e) { return !(e.State & (MF_GRAYED | MF_DISABLED)); }

void SendMenuSelect(TTracker& t, HMENU menu, int index, bool mouse) {
  if (!Notify(t) || !ValidMenu(menu) || index < 0 || size_t(index) >= menu->Items.size()) return;
  const TMenuEntry& e = menu->Items[size_t(index)];
  UINT flags = MF_HILITE | (e.State & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) |
               (e.Type & (MF_OWNERDRAW | MF_BITMAP | MF_SEPARATOR)) | (mouse ? MF_MOUSESELECT : 0u);
  UINT item = e.Id;
  if (e.SubMenu) {
    flags |= MF_POPUP;
    item = UINT(index);
  }
  MSG m{};
  m.hwnd = t.Owner;
  m.message = WM_MENUSELECT;
  m.wParam = MAKEWPARAM(WORD(item), WORD(flags));
  m.lParam = LPARAM(menu);
  GetCursorPos(&m.pt);
  CallMsgFilter(&m, MSGF_MENU);
  if (IsWindow(t.Owner)) SendMessage(t.Owner, WM_MENUSELECT, m.wParam, m.lParam);
}

void RedrawBar(TTracker& t) {
  if (t.Bar && IsWindow(t.Owner)) {
    RedrawWindow(t.Owner, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
    UpdateWindow(t.Owner);
  }
}

void RedrawItem(HMENU menu, int index) {
  if (!ValidMenu(menu) || index < 0 || size_t(index) >= menu->Items.size() || !menu->Window) return;
  HDC dc = GetDC(menu->Window);
  DrawMenuEntry(gTracker ? gTracker->Owner : nullptr, menu, index, dc, ODA_SELECT, false);
  ReleaseDC(menu->Window, dc);
}

void CloseLevelsFrom(TTracker& t, size_t from) {
  while (t.Levels.size() > from) {
    TLevel l = t.Levels.back();
    t.Levels.pop_back();
    if (ValidMenu(l.Menu)) {
      l.Menu->Selected = -1;
      l.Menu->Window = nullptr;
      if (Notify(t) && IsWindow(t.Owner)) SendMessage(t.Owner, WM_UNINITMENUPOPUP, WPARAM(l.Menu), 0);
    }
    if (IsWindow(l.Wnd)) DestroyWindow(l.Wnd);
  }
  if (t.PendingLevel >= int(t.Levels.size())) t.PendingLevel = -1;
}

void SelectItem(TTracker& t, size_t level, int index, bool mouse) {
  if (level >= t.Levels.size()) return;
  HMENU menu = t.Levels[level].Menu;
  if (!ValidMenu(menu)) return;
  if (index >= 0 && (size_t(index) >= menu->Items.size() || !Selectable(menu->Items[size_t(index)]))) index = -1;
  if (menu->Selected == index) return;
  int old = menu->Selected;
  menu->Selected = index;
  RedrawItem(menu, old);
  RedrawItem(menu, index);
  SendMenuSelect(t, menu, index, mouse);
}

// Opens a pop-up window for menu. place gets the window size and returns its position.
template <class P>
bool OpenLevel(TTracker& t, HMENU menu, int parentIndex, P place) {
  if (!ValidMenu(menu)) return false;
  if (Notify(t) && IsWindow(t.Owner))
    SendMessage(t.Owner, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(WORD(std::max(parentIndex, 0)), 0));
  if (!ValidMenu(menu) || menu->Items.empty() || t.Done) return false;
  RegisterMenuWindowClass();
  SIZE size = LayoutPopupMenu(t.Owner, menu);
  POINT pos = place(size);
  HWND shadow = ShowMenuShadow(t.Owner, pos, size);
  HWND w = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, MENU_WINDOW_CLASS, "", WS_POPUP,
                          pos.x, pos.y, size.cx, size.cy, t.Owner, nullptr, nullptr, nullptr);
  if (!w) {
    if (shadow) DestroyWindow(shadow);
    return false;
  }
  SetWindowLongPtr(w, 0, LONG_PTR(menu));
  SetWindowLongPtr(w, sizeof(LONG_PTR), LONG_PTR(shadow));
  menu->Window = w;
  menu->Selected = -1;
  t.Levels.push_back(TLevel{menu, w});
  ShowWindow(w, SW_SHOWNOACTIVATE);
  UpdateWindow(w);
  return true;
}

SIZE Screen() { return CurrentBackend().ScreenSize(); }

// The drop-down of a bar item, under it (above when there is no room below).
bool OpenBarItem(TTracker& t, int index, bool selectFirst);

bool OpenSubMenu(TTracker& t, size_t level, int index, bool selectFirst) {
  if (level >= t.Levels.size()) return false;
  HMENU menu = t.Levels[level].Menu;
  if (!ValidMenu(menu) || index < 0 || size_t(index) >= menu->Items.size()) return false;
  const TMenuEntry& e = menu->Items[size_t(index)];
  if (!e.SubMenu || !Enabled(e)) return false;
  CloseLevelsFrom(t, level + 1);
  RECT item;
  GetMenuItemRect(nullptr, menu, UINT(index), &item);
  RECT parent;
  GetWindowRect(t.Levels[level].Wnd, &parent);
  bool ok = OpenLevel(t, e.SubMenu, index, [&](SIZE s) {
    SIZE scr = Screen();
    int x = parent.right - 3, y = item.top - 3;
    if (x + s.cx > scr.cx) x = std::max(0, int(parent.left) - int(s.cx) + 3);
    if (y + s.cy > scr.cy) y = std::max(0, int(scr.cy) - int(s.cy));
    return POINT{x, y};
  });
  if (ok && selectFirst) {
    HMENU sub = t.Levels.back().Menu;
    for (size_t i = 0; i < sub->Items.size(); ++i)
      if (Selectable(sub->Items[i])) {
        SelectItem(t, t.Levels.size() - 1, int(i), false);
        break;
      }
  }
  return ok;
}

bool OpenBarItem(TTracker& t, int index, bool selectFirst) {
  CloseLevelsFrom(t, 0);
  if (!ValidMenu(t.Bar) || index < 0 || size_t(index) >= t.Bar->Items.size()) return false;
  if (t.BarSel != index) {
    t.BarSel = index;
    SendMenuSelect(t, t.Bar, index, !t.Keyboard);
  }
  const TMenuEntry& e = t.Bar->Items[size_t(index)];
  bool ok = false;
  if (e.SubMenu && Enabled(e)) {
    RECT item;
    GetMenuItemRect(t.Owner, t.Bar, UINT(index), &item);
    ok = OpenLevel(t, e.SubMenu, index, [&](SIZE s) {
      SIZE scr = Screen();
      int x = item.left, y = item.bottom;
      if (y + s.cy > scr.cy && item.top - s.cy >= 0) y = item.top - s.cy;
      if (x + s.cx > scr.cx) x = std::max(0, int(scr.cx) - int(s.cx));
      return POINT{x, y};
    });
  }
  RedrawBar(t);
  if (ok && selectFirst) {
    HMENU sub = t.Levels.back().Menu;
    for (size_t i = 0; i < sub->Items.size(); ++i)
      if (Selectable(sub->Items[i])) {
        SelectItem(t, 0, int(i), false);
        break;
      }
  }
  return ok;
}

void SelectBar(TTracker& t, int index) {
  CloseLevelsFrom(t, 0);
  if (t.BarSel != index) {
    t.BarSel = index;
    SendMenuSelect(t, t.Bar, index, !t.Keyboard);
  }
  RedrawBar(t);
}

void Execute(TTracker& t, UINT id) {
  t.Chosen = true;
  t.Command = id;
  t.Done = true;
}

// Enter on an item, or its accelerator: open its sub-menu or choose it.
void Activate(TTracker& t, HMENU menu, int index) {
  if (!ValidMenu(menu) || index < 0 || size_t(index) >= menu->Items.size()) return;
  const TMenuEntry& e = menu->Items[size_t(index)];
  if (menu == t.Bar && t.Levels.empty()) {
    if (e.SubMenu) OpenBarItem(t, index, true);
    else if (Enabled(e)) Execute(t, e.Id);
    else SelectBar(t, index);
    return;
  }
  size_t level = t.Levels.size();
  for (size_t l = 0; l < t.Levels.size(); ++l)
    if (t.Levels[l].Menu == menu) level = l;
  if (level == t.Levels.size()) return;
  SelectItem(t, level, index, false);
  if (e.SubMenu) OpenSubMenu(t, level, index, true);
  else if (Enabled(e) && Selectable(e)) Execute(t, e.Id);
}

int NextSelectable(HMENU menu, int from, int step) {
  int n = int(menu->Items.size());
  if (n == 0) return -1;
  int i = from;
  for (int k = 0; k < n; ++k) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(menu->Items[size_t(i)])) return i;
  }
  return -1;
}

void MenuChar(TTracker& t, char32_t ch) {
  HMENU menu = t.Levels.empty() ? t.Bar : t.Levels.back().Menu;
  if (!ValidMenu(menu)) return;
  std::string key;
  Utf8Append(key, ch);
  key = AnsiLowerCase(key);
  std::vector<int> matches;
  for (size_t i = 0; i < menu->Items.size(); ++i)
    if (Selectable(menu->Items[i]) && !(menu->Items[i].Type & MFT_OWNERDRAW) && AccelOf(menu->Items[i].Text) == key)
      matches.push_back(int(i));
  if (matches.size() == 1) {
    Activate(t, menu, matches[0]);
    return;
  }
  if (matches.size() > 1) {
    int cur = t.Levels.empty() ? t.BarSel : menu->Selected;
    int next = matches[0];
    for (int m : matches)
      if (m > cur) {
        next = m;
        break;
      }
    if (t.Levels.empty()) SelectBar(t, next);
    else SelectItem(t, t.Levels.size() - 1, next, false);
    return;
  }
  LRESULT r = 0;
  if (IsWindow(t.Owner))
    r = SendMessage(t.Owner, WM_MENUCHAR, MAKEWPARAM(WORD(ch), WORD(t.Levels.empty() ? 0u : UINT(MF_POPUP))), LPARAM(menu));
  if (!ValidMenu(menu)) return;
  int index = LOWORD(DWORD_PTR(r));
  switch (HIWORD(DWORD_PTR(r))) {
    case MNC_CLOSE: t.Done = true; break;
    case MNC_EXECUTE: Activate(t, menu, index); break;
    case MNC_SELECT:
      if (t.Levels.empty()) SelectBar(t, index);
      else SelectItem(t, t.Levels.size() - 1, index, false);
      break;
    default: MessageBeep(0); break;
  }
}

void KeyDown(TTracker& t, UINT msg, WPARAM vk) {
  bool hasLevels = !t.Levels.empty();
  HMENU top = hasLevels ? t.Levels.back().Menu : nullptr;
  switch (vk) {
    case VK_MENU:
    case VK_F10:
      t.Done = true;
      return;
    case VK_ESCAPE:
      if (!hasLevels || (t.Popup && t.Levels.size() == 1)) {
        t.Done = true;
      } else {
        CloseLevelsFrom(t, t.Levels.size() - 1);
        if (t.Levels.empty()) RedrawBar(t);
      }
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
      if (hasLevels && ValidMenu(top)) {
        int from = top->Selected;
        int step = (vk == VK_UP || vk == VK_END) ? -1 : 1;
        if (vk == VK_HOME || vk == VK_END) from = -1;
        int next = NextSelectable(top, from, step);
        CloseLevelsFrom(t, t.Levels.size());
        SelectItem(t, t.Levels.size() - 1, next, false);
      } else if (t.Bar && t.BarSel >= 0) {
        OpenBarItem(t, t.BarSel, true);
      }
      return;
    case VK_LEFT:
      if (t.Levels.size() >= 2) {
        CloseLevelsFrom(t, t.Levels.size() - 1);
      } else if (t.Bar && ValidMenu(t.Bar) && !t.Bar->Items.empty()) {
        int n = int(t.Bar->Items.size());
        int next = (std::max(t.BarSel, 0) - 1 + n) % n;
        if (hasLevels) OpenBarItem(t, next, true);
        else SelectBar(t, next);
      }
      return;
    case VK_RIGHT:
      if (hasLevels && ValidMenu(top) && top->Selected >= 0 && top->Items[size_t(top->Selected)].SubMenu &&
          Enabled(top->Items[size_t(top->Selected)])) {
        OpenSubMenu(t, t.Levels.size() - 1, top->Selected, true);
      } else if (t.Bar && ValidMenu(t.Bar) && !t.Bar->Items.empty()) {
        int n = int(t.Bar->Items.size());
        int next = (t.BarSel + 1) % n;
        if (hasLevels) OpenBarItem(t, next, true);
        else SelectBar(t, next);
      }
      return;
    case VK_RETURN:
      if (hasLevels && ValidMenu(top) && top->Selected >= 0) Activate(t, top, top->Selected);
      else if (!hasLevels && t.Bar && t.BarSel >= 0) Activate(t, t.Bar, t.BarSel);
      return;
    default: (void)msg; return;
  }
}

// Where a screen point is: a level and item, or a bar item.
struct THit {
  int Level = -1;
  int Item = -1;
  int BarItem = -1;
  bool InMenu = false;
};

THit HitTest(TTracker& t, POINT pt) {
  THit h;
  for (size_t l = t.Levels.size(); l-- > 0;) {
    RECT wr;
    if (!IsWindow(t.Levels[l].Wnd) || !GetWindowRect(t.Levels[l].Wnd, &wr) || !RectContains(wr, pt) ||
        !InWindowShape(t.Levels[l].Wnd, pt))
      continue;
    h.Level = int(l);
    h.InMenu = true;
    POINT c = pt;
    ScreenToClient(t.Levels[l].Wnd, &c);
    HMENU m = t.Levels[l].Menu;
    for (size_t i = 0; i < m->Items.size(); ++i)
      if (RectContains(m->Items[i].Rect, c)) h.Item = int(i);
    return h;
  }
  if (t.Bar && IsWindow(t.Owner) && GetMenu(t.Owner) == t.Bar) {
    h.BarItem = MenuBarItemFromPoint(t.Owner, pt);
    if (h.BarItem >= 0) h.InMenu = true;
  }
  return h;
}

UINT ShowDelay() {
  UINT delay = 400;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  return delay;
}

// After the show delay on an item: its sub-menu opens, other sub-menus of the level close.
void ShowPending(TTracker& t) {
  int level = t.PendingLevel;
  t.PendingLevel = -1;
  if (level < 0 || size_t(level) >= t.Levels.size()) return;
  HMENU m = t.Levels[size_t(level)].Menu;
  if (!ValidMenu(m)) return;
  if (m->Selected >= 0 && m->Items[size_t(m->Selected)].SubMenu) {
    if (size_t(level) + 1 < t.Levels.size() && m->Items[size_t(m->Selected)].SubMenu == t.Levels[size_t(level) + 1].Menu)
      return;
    OpenSubMenu(t, size_t(level), m->Selected, false);
  } else {
    CloseLevelsFrom(t, size_t(level) + 1);
  }
}

void ScheduleShow(TTracker& t, int level) {
  t.PendingLevel = level;
  UINT delay = ShowDelay();
  if (delay == 0) {
    ShowPending(t);
    return;
  }
  SetTimer(t.Levels[size_t(level)].Wnd, kShowTimer, delay, nullptr);
}

bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK ||
         msg == WM_NCLBUTTONDOWN || msg == WM_NCRBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK || msg == WM_NCRBUTTONDBLCLK ||
         msg == WM_MBUTTONDOWN || msg == WM_NCMBUTTONDOWN;
}
bool IsButtonUp(UINT msg) {
  return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_NCLBUTTONUP || msg == WM_NCRBUTTONUP;
}
bool IsMouse(UINT msg) {
  return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

void Mouse(TTracker& t, const MSG& m) {
  if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
    bool moved = m.pt.x != t.LastPointer.x || m.pt.y != t.LastPointer.y;
    t.LastPointer = m.pt;
    if (!moved && t.Keyboard) return;
  }
  THit h = HitTest(t, m.pt);
  if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
    if (h.Level >= 0) {
      HMENU menu = t.Levels[size_t(h.Level)].Menu;
      int before = menu->Selected;
      bool keepsChild = size_t(h.Level) + 1 < t.Levels.size() && h.Item >= 0 &&
                        menu->Items[size_t(h.Item)].SubMenu == t.Levels[size_t(h.Level) + 1].Menu;
      SelectItem(t, size_t(h.Level), h.Item, true);
      if (keepsChild) return;
      if (menu->Selected != before || (h.Item >= 0 && menu->Items[size_t(h.Item)].SubMenu))
        if (size_t(h.Level) + 1 < t.Levels.size() || (h.Item >= 0 && menu->Items[size_t(h.Item)].SubMenu))
          ScheduleShow(t, h.Level);
    } else if (h.BarItem >= 0 && h.BarItem != t.BarSel) {
      if (!t.Levels.empty()) OpenBarItem(t, h.BarItem, false);
      else SelectBar(t, h.BarItem);
    }
    return;
  }
  if (IsButtonDown(m.message)) {
    t.ButtonDown = true;
    if (h.Level >= 0 && h.Item >= 0) {
      SelectItem(t, size_t(h.Level), h.Item, true);
      HMENU menu = t.Levels[size_t(h.Level)].Menu;
      if (menu->Items[size_t(h.Item)].SubMenu) OpenSubMenu(t, size_t(h.Level), h.Item, false);
    } else if (h.BarItem >= 0) {
      if (h.BarItem == t.BarSel && !t.Levels.empty()) t.Done = true;
      else {
        t.Keyboard = false;
        OpenBarItem(t, h.BarItem, false);
      }
    }
    return;
  }
  if (IsButtonUp(m.message)) {
    if (h.Level >= 0 && h.Item >= 0 && t.ButtonDown) {
      HMENU menu = t.Levels[size_t(h.Level)].Menu;
      const TMenuEntry& e = menu->Items[size_t(h.Item)];
      if (!e.SubMenu && Selectable(e) && Enabled(e) && menu->Selected == h.Item) Execute(t, e.Id);
    }
  }
}

struct TLoopScope {
  TTracker& T;
  explicit TLoopScope(TTracker& t) : T(t) {
    t.Outer = gTracker;
    gTracker = &t;
  }
  ~TLoopScope() {
    try {
      Close();
    } catch (...) {
      // Closing while an exception unwinds: the windows are gone either way.
    }
    gTracker = T.Outer;
  }
  void Close() {
    CloseLevelsFrom(T, 0);
    int sel = T.BarSel;
    T.BarSel = -1;
    if (T.Bar && sel >= 0) RedrawBar(T);
    if (IsWindow(T.Owner)) {
      if (Notify(T)) {
        MSG m{};
        m.hwnd = T.Owner;
        m.message = WM_MENUSELECT;
        m.wParam = MAKEWPARAM(0, 0xFFFF);
        m.lParam = 0;
        GetCursorPos(&m.pt);
        CallMsgFilter(&m, MSGF_MENU);
        SendMessage(T.Owner, WM_MENUSELECT, m.wParam, 0);
      }
      SendMessage(T.Owner, WM_EXITMENULOOP, T.Popup ? TRUE : FALSE, 0);
    }
  }
};

void RunLoop(TTracker& t) {
  while (!t.Done) {
    if (!IsWindow(t.Owner)) break;
    if (t.Levels.empty() && t.Popup) break;
    MSG m;
    if (!PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!t.IdleSent) {
        t.IdleSent = true;
        if (Notify(t) && IsWindow(t.Owner))
          SendMessage(t.Owner, WM_ENTERIDLE, MSGF_MENU, LPARAM(t.Levels.empty() ? t.Owner : t.Levels.back().Wnd));
        continue;
      }
      WaitMessage();
      continue;
    }
    t.IdleSent = false;
    if (m.message == WM_QUIT) break;  // left for the outer loop
    if (IsButtonDown(m.message) && !HitTest(t, m.pt).InMenu) break;  // the click stays for its window
    PeekMessage(&m, nullptr, 0, 0, PM_REMOVE);
    if (CallMsgFilter(&m, MSGF_MENU)) continue;
    UINT msg = m.message;
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
      t.Keyboard = true;
      KeyDown(t, msg, m.wParam);
      if (!t.Done) TranslateMessage(&m);
    } else if (msg == WM_CHAR || msg == WM_SYSCHAR) {
      if (m.wParam >= 32) MenuChar(t, char32_t(m.wParam));
    } else if (msg == WM_KEYUP || msg == WM_SYSKEYUP || msg == WM_DEADCHAR || msg == WM_SYSDEADCHAR) {
      // consumed by the menu
    } else if (IsMouse(msg)) {
      Mouse(t, m);
    } else if (msg == WM_TIMER && m.wParam == kShowTimer && GetClassNameStr(m.hwnd) == MENU_WINDOW_CLASS) {
      KillTimer(m.hwnd, kShowTimer);
      ShowPending(t);
    } else {
      TranslateMessage(&m);
      DispatchMessage(&m);
    }
  }
}

// The loop starts: WM_ENTERMENULOOP and WM_INITMENU to the owner.
void BeginTrack(TTracker& t, HMENU initMenu) {
  if (IsWindow(t.Owner)) {
    SendMessage(t.Owner, WM_ENTERMENULOOP, t.Popup ? TRUE : FALSE, 0);
    if (Notify(t)) SendMessage(t.Owner, WM_INITMENU, WPARAM(initMenu), 0);
  }
}

}  // namespace

namespace winsys {

void ResetMenuLoopState() {
  gTracker = nullptr;
  gHotWnd = nullptr;
  gHotIndex = -1;
  gAltAlone = false;
}

HWND MenuLoopOwner() { return gTracker ? gTracker->Owner : nullptr; }

int MenuBarSelected(HWND h) { return gTracker && gTracker->Owner == h && gTracker->Bar ? gTracker->BarSel : -1; }
bool MenuBarOpen(HWND h) { return gTracker && gTracker->Owner == h && gTracker->Bar && !gTracker->Levels.empty(); }
int MenuBarHot(HWND h) { return h == gHotWnd ? gHotIndex : -1; }

bool MenuNoAccel(HWND h) {
  if (!AcceleratorsHidden(h)) return false;
  for (TTracker* t = gTracker; t; t = t->Outer)
    if (t->Keyboard) return false;
  return true;
}

int MenuBarItemFromPoint(HWND h, POINT screen) {
  if (!Valid(h) || !ValidMenu(h->Menu)) return -1;
  EnsureMenuBarLayout(h);
  POINT o = WindowOriginOnScreen(h);
  POINT p{screen.x - o.x, screen.y - o.y};
  for (size_t i = 0; i < h->Menu->Items.size(); ++i)
    if (RectContains(h->Menu->Items[i].Rect, p) && !(h->Menu->Items[i].Type & MFT_SEPARATOR)) return int(i);
  return -1;
}

void MenuWindowGone(HWND h) {
  for (TTracker* t = gTracker; t; t = t->Outer)
    if (t->Owner == h) t->Done = true;
  if (gHotWnd == h) {
    gHotWnd = nullptr;
    gHotIndex = -1;
  }
}

static void RunBarLoop(TTracker& t, const std::function<void()>& start) {
  {
    TLoopScope scope(t);
    start();
    RunLoop(t);
  }
  if (t.Chosen && IsWindow(t.Owner)) PostMessage(t.Owner, WM_COMMAND, MAKEWPARAM(WORD(t.Command), 0), 0);
}

void MenuBarMouseDown(HWND h, POINT screen) {
  h = TopLevelOf(h);
  if (!Valid(h) || !ValidMenu(h->Menu) || gTracker) return;
  int index = MenuBarItemFromPoint(h, screen);
  if (index < 0) return;
  if (gHotWnd == h) gHotIndex = -1;
  TTracker t;
  t.Owner = h;
  t.Bar = h->Menu;
  t.ButtonDown = true;
  BeginTrack(t, t.Bar);
  if (!ValidMenu(t.Bar) || GetMenu(h) != t.Bar) {
    if (IsWindow(h)) SendMessage(h, WM_EXITMENULOOP, FALSE, 0);
    return;
  }
  RunBarLoop(t, [&] { OpenBarItem(t, index, false); });
}

void MenuKeyCommand(HWND h, UINT key) {
  // A child window has no menu bar: the command is its top-level window's to handle.
  if (!Valid(h) || gTracker || !IsTopLevel(h)) return;
  if (key == ' ' || key == '-') return;  // the window menus: not there
  if (!ValidMenu(h->Menu) || h->Menu->Items.empty()) {
    if (key) MessageBeep(0);
    return;
  }
  TTracker t;
  t.Owner = h;
  t.Bar = h->Menu;
  t.Keyboard = true;
  BeginTrack(t, t.Bar);
  if (!ValidMenu(t.Bar) || GetMenu(h) != t.Bar) {
    if (IsWindow(h)) SendMessage(h, WM_EXITMENULOOP, FALSE, 0);
    return;
  }
  RunBarLoop(t, [&] {
    if (key == 0) {
      int first = NextSelectable(t.Bar, -1, 1);
      t.BarSel = first;
      SendMenuSelect(t, t.Bar, first, false);
      RedrawBar(t);
    } else {
      MenuChar(t, char32_t(key));
      if (t.BarSel < 0 && !t.Chosen) t.Done = true;  // no such accelerator
    }
  });
}

void MenuBarHotTrack(HWND h, POINT screen, bool inside) {
  if (gTracker || !Valid(h) || !ValidMenu(h->Menu)) return;
  int index = inside ? MenuBarItemFromPoint(h, screen) : -1;
  if (gHotWnd == h && gHotIndex == index) return;
  HWND old = gHotWnd;
  gHotWnd = index >= 0 ? h : nullptr;
  gHotIndex = index;
  if (old && old != h && IsWindow(old)) RedrawWindow(old, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  if (index >= 0) {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
    tme.hwndTrack = h;
    TrackMouseEvent(&tme);
  }
}

void MenuAltKeyDown(UINT msg, WPARAM vk) {
  gAltAlone = msg == WM_SYSKEYDOWN && vk == WPARAM(VK_MENU);
}

bool MenuAltKeyUp(HWND h, UINT msg, WPARAM vk) {
  (void)h;
  if (msg != WM_SYSKEYUP) return false;
  bool start = (vk == WPARAM(VK_MENU) && gAltAlone) || vk == WPARAM(VK_F10);
  gAltAlone = false;
  return start;
}

}  // namespace winsys

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  if (!ValidMenu(menu) || !IsWindow(owner)) return FALSE;
  if (gTracker && !(flags & TPM_RECURSE)) return FALSE;
  TTracker t;
  t.Owner = owner;
  t.Popup = true;
  t.Flags = flags;
  t.ButtonDown = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
  BeginTrack(t, menu);
  if (!ValidMenu(menu) || !IsWindow(owner)) {
    if (IsWindow(owner)) SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    return FALSE;
  }
  {
    TLoopScope scope(t);
    bool shown = OpenLevel(t, menu, 0, [&](SIZE s) {
      SIZE scr = Screen();
      int px = x, py = y;
      if (flags & TPM_RIGHTALIGN) px -= s.cx;
      else if (flags & TPM_CENTERALIGN) px -= s.cx / 2;
      if (flags & TPM_BOTTOMALIGN) py -= s.cy;
      else if (flags & TPM_VCENTERALIGN) py -= s.cy / 2;
      if (px + s.cx > scr.cx) px = (px - s.cx >= 0 && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN))) ? px - s.cx : scr.cx - s.cx;
      if (py + s.cy > scr.cy) py = (py - s.cy >= 0 && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN))) ? py - s.cy : scr.cy - s.cy;
      if (params && !RectEmpty(params->rcExclude)) {
        RECT ex = params->rcExclude;
        RECT mr{px, py, px + s.cx, py + s.cy};
        if (!RectEmpty(RectIntersect(ex, mr))) {
          if (flags & TPM_VERTICAL) py = ex.bottom + s.cy <= scr.cy ? ex.bottom : ex.top - s.cy;
          else px = ex.right + s.cx <= scr.cx ? ex.right : ex.left - s.cx;
        }
      }
      return POINT{std::max(0, px), std::max(0, py)};
    });
    if (shown) RunLoop(t);
  }
  if (!t.Chosen) return (flags & TPM_RETURNCMD) ? 0 : TRUE;
  if (flags & TPM_RETURNCMD) return BOOL(t.Command);
  if (IsWindow(owner)) PostMessage(owner, WM_COMMAND, MAKEWPARAM(WORD(t.Command), 0), 0);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (!gTracker) return FALSE;
  gTracker->Done = true;
  PostMessage(nullptr, WM_NULL, 0, 0);
  return TRUE;
}

HWND GetMenuLoopOwner() { return MenuLoopOwner(); }

bool AcceleratorsHidden(HWND h) {
  BOOL cues = FALSE;
  SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  if (cues) return false;
  HWND top = h && Valid(h) ? TopLevelOf(h) : nullptr;
  return !(top && Valid(top) && top->AccelShown);
}
