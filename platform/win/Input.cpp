// Input: raw events from the back end become window messages (hit testing, mouse
// activation, capture, focus, double clicks, mouse leave), the key state, focus,
// activation and capture.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win/WinInternal.h"
#include "platform/win/WinResource.h"

using namespace winsys;

namespace {

bool KeyDown(const BYTE* keys, int vk) { return keys[vk & 0xFF] & 0x80; }

void SetKey(BYTE* keys, int vk, bool down) {
  vk &= 0xFF;
  if (down) {
    if (!(keys[vk] & 0x80)) keys[vk] ^= 0x01;  // toggled on each press
    keys[vk] |= 0x80;
  } else {
    keys[vk] &= ~0x80;
  }
}

// The generic and side-specific codes of a modifier move together.
void SetKeyWithSides(BYTE* keys, int vk, bool down) {
  SetKey(keys, vk, down);
  switch (vk) {
    case VK_SHIFT: SetKey(keys, VK_LSHIFT, down); break;
    case VK_CONTROL: SetKey(keys, VK_LCONTROL, down); break;
    case VK_MENU: SetKey(keys, VK_LMENU, down); break;
    case VK_LSHIFT: case VK_RSHIFT: SetKey(keys, VK_SHIFT, down || KeyDown(keys, vk == VK_LSHIFT ? VK_RSHIFT : VK_LSHIFT)); break;
    case VK_LCONTROL: case VK_RCONTROL: SetKey(keys, VK_CONTROL, down || KeyDown(keys, vk == VK_LCONTROL ? VK_RCONTROL : VK_LCONTROL)); break;
    case VK_LMENU: case VK_RMENU: SetKey(keys, VK_MENU, down || KeyDown(keys, vk == VK_LMENU ? VK_RMENU : VK_LMENU)); break;
  }
}

int ButtonVk(TInputButton b) {
  return b == TInputButton::Left ? VK_LBUTTON : b == TInputButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

WPARAM MouseKeyFlags() {
  const BYTE* k = S().Keys;
  WPARAM f = 0;
  if (KeyDown(k, VK_LBUTTON)) f |= MK_LBUTTON;
  if (KeyDown(k, VK_RBUTTON)) f |= MK_RBUTTON;
  if (KeyDown(k, VK_MBUTTON)) f |= MK_MBUTTON;
  if (KeyDown(k, VK_SHIFT)) f |= MK_SHIFT;
  if (KeyDown(k, VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

// The character a key gives with a US layout and the current modifiers; 0 for none.
char32_t LayoutChar(int vk, const BYTE* keys) {
  bool shift = KeyDown(keys, VK_SHIFT);
  bool ctrl = KeyDown(keys, VK_CONTROL);
  bool alt = KeyDown(keys, VK_MENU);
  bool caps = keys[VK_CAPITAL] & 1;
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return char32_t(vk - 'A' + 1);
    bool upper = shift != caps;
    return char32_t(upper ? vk : vk + 32);
  }
  if (ctrl) {
    switch (vk) {
      case VK_OEM_4: return 27;
      case VK_OEM_5: return 28;
      case VK_OEM_6: return 29;
      case VK_RETURN: return 10;
      case VK_BACK: return 127;
      default: return 0;
    }
  }
  if (vk >= '0' && vk <= '9') {
    static const char shifted[] = ")!@#$%^&*(";
    return char32_t(shift ? shifted[vk - '0'] : vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return char32_t('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
  }
  return 0;
}

HWND WindowUnderMouse(POINT pt, int* hit) {
  HWND h = WindowFromPoint(pt);
  *hit = HTNOWHERE;
  if (!h) return nullptr;
  *hit = int(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(pt)));
  return Valid(h) ? h : nullptr;
}

void PushCooked(HWND h, UINT msg, WPARAM wp, LPARAM lp, const TRawInput& raw, DWORD privateData = 0) {
  MSG m;
  m.hwnd = h;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = raw.Time;
  m.pt = raw.Pt;
  m.lPrivate = privateData;
  S().CookedInput.push_back(m);
}

// Mouse leave: the tracked window hears when the pointer has left it.
void UpdateMouseWindow(HWND now, bool nonClient) {
  auto& s = S();
  HWND old = s.MouseWindow;
  if (old == now && s.MouseInNonClient == nonClient) return;
  if (old && Valid(old)) {
    if (old->TrackLeave && (old != now || nonClient)) {
      old->TrackLeave = false;
      PostMessage(old, WM_MOUSELEAVE, 0, 0);
    }
    if (old->TrackLeaveNonClient && (old != now || !nonClient)) {
      old->TrackLeaveNonClient = false;
      PostMessage(old, WM_NCMOUSELEAVE, 0, 0);
    }
  }
  s.MouseWindow = now;
  s.MouseInNonClient = nonClient;
}

bool MouseHook(UINT msg, HWND h, int hit, POINT pt) {
  if (S().Hooks.empty()) return false;
  MOUSEHOOKSTRUCT mh;
  mh.pt = pt;
  mh.hwnd = h;
  mh.wHitTestCode = UINT(hit);
  bool any = false;
  return RunHooks(WH_MOUSE, HC_ACTION, msg, LPARAM(&mh), &any) != 0;
}

void CookMouse(const TRawInput& raw) {
  auto& s = S();
  int hit = HTNOWHERE;
  HWND under = WindowUnderMouse(raw.Pt, &hit);
  UpdateMouseWindow(under, under && hit != HTCLIENT);
  HWND target = under;
  if (s.Capture && Valid(s.Capture)) {
    target = s.Capture;
    hit = HTCLIENT;
  }
  if (raw.Kind == TRawInput::KButton) SetKey(s.Keys, ButtonVk(raw.Button), raw.Down);
  if (!target) return;

  UINT base = raw.Button == TInputButton::Left ? WM_LBUTTONDOWN
              : raw.Button == TInputButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  UINT msg = WM_MOUSEMOVE;
  if (raw.Kind == TRawInput::KButton) msg = raw.Down ? base : base + 1;
  if (raw.Kind == TRawInput::KWheel) msg = raw.Horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;

  if (raw.Kind == TRawInput::KWheel) {
    // The wheel goes to the focus window (its parents may take it from there).
    HWND f = s.Focus && Valid(s.Focus) ? s.Focus : s.Active;
    if (!f) return;
    if (MouseHook(msg, f, hit, raw.Pt)) return;
    PushCooked(f, msg, MAKEWPARAM(WORD(MouseKeyFlags()), WORD(SHORT(raw.Delta))), PointToLParam(raw.Pt), raw);
    return;
  }

  HWND top = TopLevelOf(target);
  if (raw.Kind == TRawInput::KButton && raw.Down && !s.Capture) {
    if (top->Style & WS_DISABLED) {
      // A window disabled by a modal one: the enabled pop-up comes forward instead.
      HWND popup = GetWindow(top, GW_ENABLEDPOPUP);
      if (popup) ActivateTopLevel(popup, true);
      MessageBeep(0);
      return;
    }
    if ((top != s.Active || !s.AppActive) && !(top->ExStyle & WS_EX_NOACTIVATE)) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, WPARAM(top), MAKELPARAM(WORD(hit), WORD(msg)));
      if (!Valid(target)) return;
      if (ma == 0) ma = MA_ACTIVATE;
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) {
        if (Valid(top)) ActivateTopLevel(top, true);
      }
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return;
      if (!Valid(target)) return;
    }
  }
  if (!s.Capture && (raw.Kind == TRawInput::KMove || (raw.Kind == TRawInput::KButton && raw.Down))) {
    SendMessage(target, WM_SETCURSOR, WPARAM(target), MAKELPARAM(WORD(SHORT(hit)), WORD(msg)));
    if (!Valid(target)) return;
  }
  // Double clicks: a second press of the same button, soon and near, on the same window.
  if (raw.Kind == TRawInput::KButton && raw.Down) {
    bool dbl = !s.LastClickWasDouble && s.LastClickWnd == target && s.LastClickMsg == msg &&
               raw.Time - s.LastClickTime <= GetDoubleClickTime() &&
               std::abs(raw.Pt.x - s.LastClickPos.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(raw.Pt.y - s.LastClickPos.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    s.LastClickWnd = target;
    s.LastClickMsg = msg;
    s.LastClickTime = raw.Time;
    s.LastClickPos = raw.Pt;
    s.LastClickWasDouble = dbl;
    if (dbl && (hit != HTCLIENT || (target->Class->Style & CS_DBLCLKS))) msg = base + 2;
  }
  if (MouseHook(msg, target, hit, raw.Pt)) return;
  if (hit == HTCLIENT) {
    POINT cp = raw.Pt;
    ScreenToClient(target, &cp);
    PushCooked(target, msg, MouseKeyFlags(), PointToLParam(cp), raw);
  } else {
    UINT nc = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    PushCooked(target, nc, WPARAM(SHORT(hit)), PointToLParam(raw.Pt), raw);
  }
}

void CookKey(const TRawInput& raw) {
  auto& s = S();
  bool wasDown = KeyDown(s.Keys, raw.Vk);
  SetKeyWithSides(s.Keys, raw.Vk, raw.Down);
  bool alt = KeyDown(s.Keys, VK_MENU);
  bool ctrl = KeyDown(s.Keys, VK_CONTROL);
  HWND target = s.Focus && Valid(s.Focus) ? s.Focus : nullptr;
  bool sys = (alt && !ctrl) || raw.Vk == VK_F10 || (raw.Vk == VK_MENU);
  if (!target) {
    target = s.Active && Valid(s.Active) ? s.Active : nullptr;
    sys = true;
  }
  if (!target) return;
  if (raw.Down && (raw.Vk == VK_MENU || raw.Vk == VK_LMENU || raw.Vk == VK_RMENU)) {
    // Alt shows the accelerators of the window's controls and menus from now on.
    HWND top = TopLevelOf(target);
    if (Valid(top) && !top->AccelShown) {
      top->AccelShown = true;
      RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
  }
  LPARAM lp = 1 | (LPARAM(MapVirtualKey(UINT(raw.Vk), 0) & 0xFF) << 16);
  if (alt) lp |= LPARAM(1) << 29;
  if (wasDown) lp |= LPARAM(1) << 30;
  if (!raw.Down) lp |= LPARAM(1) << 30 | LPARAM(1u) << 31;
  if (!s.Hooks.empty()) {
    bool any = false;
    if (RunHooks(WH_KEYBOARD, HC_ACTION, WPARAM(raw.Vk), lp, &any) != 0) return;
  }
  UINT msg = raw.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  PushCooked(target, msg, WPARAM(raw.Vk), lp, raw, raw.Down ? DWORD(raw.Ch) : 0);
}

void PushRaw(TRawInput raw) {
  raw.Time = GetTickCount();
  S().RawInput.push_back(raw);
}

HWND NextToActivate(HWND leaving) {
  auto ok = [leaving](HWND w) {
    return w && Valid(w) && w != leaving && !w->Destroying && (w->Style & WS_VISIBLE) &&
           !(w->Style & WS_DISABLED) && !(w->Style & WS_MINIMIZE) && !(w->ExStyle & WS_EX_NOACTIVATE) &&
           !IsChild(leaving, w);
  };
  if (ok(leaving->Owner)) return leaving->Owner;
  for (HWND w : S().TopLevels)
    if (ok(w) && !(w->ExStyle & WS_EX_TOOLWINDOW && w->Owner)) return w;
  return nullptr;
}

}  // namespace

namespace winsys {

bool CookNextInput() {
  auto& s = S();
  if (s.RawInput.empty()) return false;
  TRawInput raw = s.RawInput.front();
  s.RawInput.pop_front();
  if (raw.Kind == TRawInput::KKey) CookKey(raw);
  else CookMouse(raw);
  return true;
}

void ActivateTopLevel(HWND h, bool byMouse) {
  auto& s = S();
  if (!Valid(h)) return;
  h = TopLevelOf(h);
  if (h == s.Active && s.AppActive) return;
  HWND old = s.Active && Valid(s.Active) ? s.Active : nullptr;
  if (!s.Hooks.empty()) {
    CBTACTIVATESTRUCT cbt{byMouse ? TRUE : FALSE, old};
    bool any = false;
    if (RunHooks(WH_CBT, HCBT_ACTIVATE, WPARAM(h), LPARAM(&cbt), &any) != 0) return;
  }
  InsertTopLevel(h, HWND_TOP);
  if (old == h) old = nullptr;
  if (old) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (Valid(old)) SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), LPARAM(h));
  }
  if (!s.AppActive) {
    s.AppActive = true;
    std::vector<HWND> tops = s.TopLevels;
    for (HWND t : tops)
      if (Valid(t)) SendMessage(t, WM_ACTIVATEAPP, TRUE, 0);
  }
  if (!Valid(h)) return;
  s.Active = h;
  SendMessage(h, WM_NCACTIVATE, TRUE, 0);
  if (!Valid(h) || s.Active != h) return;
  SendMessage(h, WM_ACTIVATE, MAKEWPARAM(WORD(byMouse ? WA_CLICKACTIVE : WA_ACTIVE), IsIconic(h) ? 1 : 0), LPARAM(old));
  // The focus may not stay in a window that is no longer active.
  if (s.Focus && Valid(s.Focus) && s.Active == h && TopLevelOf(s.Focus) != h) SetFocus(nullptr);
}

static void DeactivateAll(HWND leaving) {
  auto& s = S();
  if (s.Active != leaving) return;
  s.Active = nullptr;
  if (Valid(leaving) && !leaving->Destroyed) {
    SendMessage(leaving, WM_NCACTIVATE, FALSE, 0);
    if (Valid(leaving)) SendMessage(leaving, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (s.Focus && (s.Focus == leaving || IsChild(leaving, s.Focus) || !Valid(s.Focus))) {
    HWND f = s.Focus;
    s.Focus = nullptr;
    if (Valid(f) && !f->Destroying) SendMessage(f, WM_KILLFOCUS, 0, 0);
  }
}

void DeactivateIfActive(HWND h) {
  if (S().Active != h) return;
  HWND next = NextToActivate(h);
  if (next) ActivateTopLevel(next, false);
  else DeactivateAll(h);
}

void WindowHidden(HWND h) {
  auto& s = S();
  if (!h->Parent) DeactivateIfActive(h);
  if (s.Capture && (s.Capture == h || IsChild(h, s.Capture))) ReleaseCapture();
}

void WindowGone(HWND h) {
  auto& s = S();
  if (s.Capture && (s.Capture == h || IsChild(h, s.Capture))) s.Capture = nullptr;
  if (s.Focus && (s.Focus == h || IsChild(h, s.Focus))) s.Focus = nullptr;
  if (s.Active == h) {
    HWND next = NextToActivate(h);
    s.Active = nullptr;
    if (next) ActivateTopLevel(next, false);
  }
  if (s.MouseWindow == h || (s.MouseWindow && IsChild(h, s.MouseWindow))) s.MouseWindow = nullptr;
  if (s.LastClickWnd == h) s.LastClickWnd = nullptr;
}

void ResetInput() {
  auto& s = S();
  s.Focus = s.Active = s.Capture = nullptr;
  s.AppActive = false;
  std::fill(std::begin(s.Keys), std::end(s.Keys), BYTE(0));
  std::fill(std::begin(s.AsyncKeys), std::end(s.AsyncKeys), BYTE(0));
  s.Cursor = WinPoint(640, 512);
  s.CursorShape = nullptr;
  s.CursorShowCount = 0;
  s.MouseWindow = nullptr;
  s.MouseInNonClient = false;
  s.LastClickTime = 0;
  s.LastClickPos = POINT{};
  s.LastClickWnd = nullptr;
  s.LastClickMsg = 0;
  s.LastClickWasDouble = false;
}

}  // namespace winsys

// --- raw input entry -------------------------------------------------------------------------
void InputMouseMove(POINT pt) {
  S().Cursor = pt;
  TRawInput r;
  r.Kind = TRawInput::KMove;
  r.Pt = pt;
  PushRaw(r);
}

void InputMouseButton(TInputButton button, bool down, POINT pt) {
  S().Cursor = pt;
  SetKey(S().AsyncKeys, ButtonVk(button), down);
  TRawInput r;
  r.Kind = TRawInput::KButton;
  r.Pt = pt;
  r.Button = button;
  r.Down = down;
  PushRaw(r);
}

void InputMouseWheel(int delta, POINT pt, bool horizontal) {
  S().Cursor = pt;
  TRawInput r;
  r.Kind = TRawInput::KWheel;
  r.Pt = pt;
  r.Delta = delta;
  r.Horizontal = horizontal;
  PushRaw(r);
}

void InputKey(int vk, bool down, char32_t ch) {
  SetKeyWithSides(S().AsyncKeys, vk, down);
  TRawInput r;
  r.Kind = TRawInput::KKey;
  r.Pt = S().Cursor;
  r.Vk = vk & 0xFF;
  r.Down = down;
  r.Ch = down ? (ch ? ch : LayoutChar(vk, S().AsyncKeys)) : 0;
  PushRaw(r);
}

void InputChar(char32_t ch) {
  TRawInput r;
  r.Kind = TRawInput::KKey;
  r.Pt = S().Cursor;
  r.Vk = VK_PACKET;
  r.Down = true;
  r.Ch = ch;
  PushRaw(r);
  r.Down = false;
  r.Ch = 0;
  PushRaw(r);
}

void InputAppActivation(bool active) {
  auto& s = S();
  if (active == s.AppActive) return;
  if (active) {
    HWND h = s.Active;
    if (!h) {
      for (HWND w : s.TopLevels)
        if ((w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED)) {
          h = w;
          break;
        }
    }
    if (h) {
      s.Active = nullptr;
      ActivateTopLevel(h, false);
    }
    return;
  }
  HWND old = s.Active;
  s.Active = nullptr;
  if (old && Valid(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    if (Valid(old)) SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  s.AppActive = false;
  std::vector<HWND> tops = s.TopLevels;
  for (HWND t : tops)
    if (Valid(t)) SendMessage(t, WM_ACTIVATEAPP, FALSE, 0);
  if (s.Focus) {
    HWND f = s.Focus;
    s.Focus = nullptr;
    if (Valid(f)) SendMessage(f, WM_KILLFOCUS, 0, 0);
  }
  if (s.Capture) ReleaseCapture();
}

// --- focus, activation, capture --------------------------------------------------------------
HWND SetFocus(HWND h) {
  auto& s = S();
  HWND old = s.Focus && Valid(s.Focus) ? s.Focus : nullptr;
  if (!h) {
    s.Focus = nullptr;
    if (old) SendMessage(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  if (!Valid(h) || (h->Style & WS_DISABLED)) return nullptr;
  if (h == old) return old;
  if (!s.Hooks.empty()) {
    bool any = false;
    if (RunHooks(WH_CBT, HCBT_SETFOCUS, WPARAM(h), LPARAM(old), &any) != 0) return nullptr;
  }
  HWND top = TopLevelOf(h);
  if (top != s.Active || !s.AppActive) {
    ActivateTopLevel(top, false);
    if (!Valid(h)) return nullptr;
    old = s.Focus && Valid(s.Focus) ? s.Focus : nullptr;
    if (h == old) return old;
  }
  s.Focus = h;
  if (old) SendMessage(old, WM_KILLFOCUS, WPARAM(h), 0);
  if (Valid(h) && s.Focus == h) SendMessage(h, WM_SETFOCUS, WPARAM(old), 0);
  return old;
}

HWND GetFocus() { return S().Focus && Valid(S().Focus) ? S().Focus : nullptr; }

HWND SetActiveWindow(HWND h) {
  HWND old = GetActiveWindow();
  if (!Valid(h)) return nullptr;
  h = TopLevelOf(h);
  ActivateTopLevel(h, false);
  return old;
}

HWND GetActiveWindow() { return S().Active && Valid(S().Active) ? S().Active : nullptr; }

BOOL SetForegroundWindow(HWND h) {
  if (!Valid(h)) return FALSE;
  ActivateTopLevel(TopLevelOf(h), false);
  return TRUE;
}

HWND GetForegroundWindow() { return S().AppActive ? GetActiveWindow() : nullptr; }

HWND SetCapture(HWND h) {
  auto& s = S();
  HWND old = s.Capture && Valid(s.Capture) ? s.Capture : nullptr;
  if (!Valid(h)) return old;
  s.Capture = h;
  if (old && old != h) SendMessage(old, WM_CAPTURECHANGED, 0, LPARAM(h));
  return old;
}

BOOL ReleaseCapture() {
  auto& s = S();
  HWND old = s.Capture;
  s.Capture = nullptr;
  if (old && Valid(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return S().Capture && Valid(S().Capture) ? S().Capture : nullptr; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme) return FALSE;
  auto& s = S();
  if (tme->dwFlags & TME_QUERY) {
    HWND h = s.MouseWindow;
    tme->dwFlags = 0;
    tme->hwndTrack = nullptr;
    if (h && Valid(h)) {
      if (h->TrackLeave) tme->dwFlags |= TME_LEAVE;
      if (h->TrackLeaveNonClient) tme->dwFlags |= TME_LEAVE | TME_NONCLIENT;
      if (h->TrackHover) tme->dwFlags |= TME_HOVER;
      if (tme->dwFlags) tme->hwndTrack = h;
    }
    return TRUE;
  }
  HWND h = tme->hwndTrack;
  if (!Valid(h)) return FALSE;
  bool nonClient = tme->dwFlags & TME_NONCLIENT;
  if (tme->dwFlags & TME_CANCEL) {
    if (tme->dwFlags & TME_LEAVE) (nonClient ? h->TrackLeaveNonClient : h->TrackLeave) = false;
    if (tme->dwFlags & TME_HOVER) h->TrackHover = false;
    return TRUE;
  }
  if (tme->dwFlags & TME_LEAVE) {
    bool inside = s.MouseWindow == h && s.MouseInNonClient == nonClient;
    if (!inside) PostMessage(h, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    else (nonClient ? h->TrackLeaveNonClient : h->TrackLeave) = true;
  }
  if (tme->dwFlags & TME_HOVER) {
    h->TrackHover = true;
    h->HoverTime = tme->dwHoverTime == HOVER_DEFAULT ? 400 : tme->dwHoverTime;
  }
  return TRUE;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

// --- key and mouse state -----------------------------------------------------------------------
SHORT GetKeyState(int vk) {
  BYTE k = S().Keys[vk & 0xFF];
  return SHORT(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  BYTE k = S().AsyncKeys[vk & 0xFF];
  return SHORT((k & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* state) {
  if (!state) return FALSE;
  std::copy(std::begin(S().Keys), std::end(S().Keys), state);
  return TRUE;
}

BOOL SetKeyboardState(const BYTE* state) {
  if (!state) return FALSE;
  std::copy(state, state + 256, S().Keys);
  return TRUE;
}

UINT MapVirtualKey(UINT code, UINT mapType) {
  // Scan codes of a PC keyboard for the keys that matter; the rest map to themselves.
  static const struct { BYTE vk, scan; } table[] = {
      {VK_ESCAPE, 0x01}, {VK_BACK, 0x0E}, {VK_TAB, 0x0F}, {VK_RETURN, 0x1C}, {VK_CONTROL, 0x1D},
      {VK_SHIFT, 0x2A}, {VK_MENU, 0x38}, {VK_SPACE, 0x39}, {VK_CAPITAL, 0x3A}, {VK_F1, 0x3B},
      {VK_HOME, 0x47}, {VK_UP, 0x48}, {VK_PRIOR, 0x49}, {VK_LEFT, 0x4B}, {VK_RIGHT, 0x4D},
      {VK_END, 0x4F}, {VK_DOWN, 0x50}, {VK_NEXT, 0x51}, {VK_INSERT, 0x52}, {VK_DELETE, 0x53},
      {'1', 0x02}, {'2', 0x03}, {'3', 0x04}, {'4', 0x05}, {'5', 0x06}, {'6', 0x07}, {'7', 0x08},
      {'8', 0x09}, {'9', 0x0A}, {'0', 0x0B}, {'Q', 0x10}, {'W', 0x11}, {'E', 0x12}, {'R', 0x13},
      {'T', 0x14}, {'Y', 0x15}, {'U', 0x16}, {'I', 0x17}, {'O', 0x18}, {'P', 0x19}, {'A', 0x1E},
      {'S', 0x1F}, {'D', 0x20}, {'F', 0x21}, {'G', 0x22}, {'H', 0x23}, {'J', 0x24}, {'K', 0x25},
      {'L', 0x26}, {'Z', 0x2C}, {'X', 0x2D}, {'C', 0x2E}, {'V', 0x2F}, {'B', 0x30}, {'N', 0x31},
      {'M', 0x32}, {VK_F2, 0x3C}, {VK_F3, 0x3D}, {VK_F4, 0x3E}, {VK_F5, 0x3F}, {VK_F6, 0x40},
      {VK_F7, 0x41}, {VK_F8, 0x42}, {VK_F9, 0x43}, {VK_F10, 0x44}, {VK_F11, 0x57}, {VK_F12, 0x58},
  };
  for (auto& e : table) {
    if (mapType == 0 && e.vk == code) return e.scan;
    if (mapType == 1 && e.scan == code) return e.vk;
  }
  if (mapType == 2) {  // virtual key to character
    BYTE none[256] = {};
    return UINT(LayoutChar(int(code), none));
  }
  return code & 0xFF;
}

int GetKeyNameText(LONG lParam, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  UINT scan = UINT(lParam >> 16) & 0xFF;
  bool extended = (lParam & 0x1000000) != 0;
  UINT vk = MapVirtualKey(scan, 1);
  static const struct { UINT vk; const char* name; } names[] = {
      {VK_ESCAPE, "Esc"},     {VK_BACK, "Backspace"}, {VK_TAB, "Tab"},         {VK_RETURN, "Enter"},
      {VK_SHIFT, "Shift"},    {VK_CONTROL, "Ctrl"},   {VK_MENU, "Alt"},        {VK_SPACE, "Space"},
      {VK_CAPITAL, "Caps Lock"}, {VK_HOME, "Home"},   {VK_UP, "Up"},           {VK_PRIOR, "Page Up"},
      {VK_LEFT, "Left"},      {VK_RIGHT, "Right"},    {VK_END, "End"},         {VK_DOWN, "Down"},
      {VK_NEXT, "Page Down"}, {VK_INSERT, "Insert"},  {VK_DELETE, "Delete"},
  };
  std::string name;
  for (auto& n : names)
    if (n.vk == vk) name = n.name;
  if (name.empty() && vk >= VK_F1 && vk <= VK_F1 + 23) name = "F" + std::to_string(vk - VK_F1 + 1);
  if (name.empty() && ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))) name = std::string(1, char(vk));
  if (name.empty()) return 0;
  if (extended && (vk == VK_CONTROL || vk == VK_MENU)) name = "Right " + name;
  int n = std::min<int>(int(name.size()), size - 1);
  std::memcpy(buffer, name.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

SHORT VkKeyScan(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return SHORT(c - 32);
  if (c >= 'A' && c <= 'Z') return SHORT(0x100 | c);
  if (c >= '0' && c <= '9') return SHORT(c);
  BYTE keys[256] = {};
  for (int shift = 0; shift < 2; ++shift) {
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    for (int vk = 1; vk < 256; ++vk)
      if (LayoutChar(vk, keys) == char32_t(c)) return SHORT((shift ? 0x100 : 0) | vk);
  }
  return -1;
}

BOOL GetCursorPos(POINT* p) {
  if (!p) return FALSE;
  *p = S().Cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  InputMouseMove(WinPoint(x, y));
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }
BOOL SwapMouseButton(BOOL) { return FALSE; }

// --- cursors -----------------------------------------------------------------------------------
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    int id = int(reinterpret_cast<ULONG_PTR>(name));
    if (id >= OCR_NORMAL && id <= OCR_HELP) return reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(id));
    return nullptr;
  }
  if (S().CursorLoader)
    if (HCURSOR c = S().CursorLoader(instance, name)) return c;
  return LoadCursorResource(instance, name);  // cursors of the program's resources
}

void RegisterCursorLoader(TCursorLoader loader) { S().CursorLoader = loader; }

int SystemCursorId(HCURSOR c) {
  ULONG_PTR v = reinterpret_cast<ULONG_PTR>(c);
  return (v >= ULONG_PTR(OCR_NORMAL) && v <= ULONG_PTR(OCR_HELP)) ? int(v) : 0;
}

HCURSOR SetCursor(HCURSOR c) {
  HCURSOR old = S().CursorShape;
  if (c != old) {
    S().CursorShape = c;
    CurrentBackend().CursorChanged(c);
  }
  return old;
}

HCURSOR GetCursor() { return S().CursorShape; }

int ShowCursor(BOOL show) { return show ? ++S().CursorShowCount : --S().CursorShowCount; }
