#include "platform/vcl/MdiClient.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace MdiClient {
namespace {

struct TClient {
  TCustomForm* Frame = nullptr;
  std::vector<TCustomForm*> Children;  // activation order: the first is the active one
};

std::unordered_map<HWND, TClient>& Clients() {
  static std::unordered_map<HWND, TClient> clients;
  return clients;
}

TClient* Find(HWND Client) {
  auto it = Clients().find(Client);
  return it == Clients().end() ? nullptr : &it->second;
}

TCustomForm* ByWindow(TClient& C, HWND Window) {
  for (TCustomForm* f : C.Children)
    if (f->HandleAllocated() && f->Handle() == Window) return f;
  return nullptr;
}

bool Shown(TCustomForm* F) { return F->HandleAllocated() && IsWindowVisible(F->Handle()); }

TCustomForm* Active(TClient& C) {
  for (TCustomForm* f : C.Children)
    if (Shown(f)) return f;
  return nullptr;
}

// Makes Child the active one: to the front of the order and on top of its siblings. A
// maximized child hands its state on, as the frame shows one maximized child at a time.
void Activate(TClient& C, TCustomForm* Child) {
  TCustomForm* old = Active(C);
  auto it = std::find(C.Children.begin(), C.Children.end(), Child);
  if (it == C.Children.end()) return;
  C.Children.erase(it);
  C.Children.insert(C.Children.begin(), Child);
  if (old == Child) return;
  HWND oldWnd = old && old->HandleAllocated() ? old->Handle() : nullptr;
  HWND newWnd = Child->HandleAllocated() ? Child->Handle() : nullptr;
  if (oldWnd && newWnd && IsZoomed(oldWnd) && !IsZoomed(newWnd)) {
    ShowWindow(oldWnd, SW_RESTORE);
    ShowWindow(newWnd, SW_SHOWMAXIMIZED);
  }
  if (newWnd) BringWindowToTop(newWnd);
  if (oldWnd) SendMessage(oldWnd, WM_MDIACTIVATE, WPARAM(oldWnd), LPARAM(newWnd));
  if (newWnd) SendMessage(newWnd, WM_MDIACTIVATE, WPARAM(oldWnd), LPARAM(newWnd));
}

void Next(TClient& C, TCustomForm* From, bool Previous) {
  std::vector<TCustomForm*> shown;
  for (TCustomForm* f : C.Children)
    if (Shown(f)) shown.push_back(f);
  if (shown.size() < 2) return;
  if (!From) From = shown.front();
  if (Previous) {
    Activate(C, shown.back());
    return;
  }
  // The current one goes behind all others; the one after it comes forward.
  auto it = std::find(shown.begin(), shown.end(), From);
  TCustomForm* target = it == shown.end() || it + 1 == shown.end() ? shown.front() : *(it + 1);
  if (target == From) return;
  Activate(C, target);
  auto pos = std::find(C.Children.begin(), C.Children.end(), From);
  if (pos != C.Children.end()) {
    C.Children.erase(pos);
    C.Children.push_back(From);
  }
}

LRESULT ClientProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TClient* c = Find(Wnd);
  switch (Msg) {
    case WM_MDIACTIVATE:
      if (c)
        if (TCustomForm* f = ByWindow(*c, HWND(WParam))) Activate(*c, f);
      return 0;
    case WM_MDIGETACTIVE: {
      TCustomForm* f = c ? Active(*c) : nullptr;
      if (LParam) *reinterpret_cast<BOOL*>(LParam) = f && IsZoomed(f->Handle()) ? TRUE : FALSE;
      return f ? LRESULT(f->Handle()) : 0;
    }
    case WM_MDIMAXIMIZE:
    case WM_MDIRESTORE:
      if (c && ByWindow(*c, HWND(WParam))) ShowWindow(HWND(WParam), Msg == WM_MDIMAXIMIZE ? SW_SHOWMAXIMIZED : SW_RESTORE);
      return 0;
    case WM_MDINEXT:
      if (c) Next(*c, ByWindow(*c, HWND(WParam)), LParam != 0);
      return 0;
    case WM_MDIDESTROY:
      if (c)
        if (TCustomForm* f = ByWindow(*c, HWND(WParam))) f->Release();
      return 0;
    case WM_MDIREFRESHMENU:
      return 0;
    case WM_SIZE:
      // A maximized child keeps filling the client area.
      if (c)
        for (TCustomForm* f : c->Children)
          if (f->HandleAllocated() && IsZoomed(f->Handle())) {
            RECT r;
            GetClientRect(Wnd, &r);
            SetWindowPos(f->Handle(), nullptr, 0, 0, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
          }
      break;
    case WM_NCDESTROY:
      Clients().erase(Wnd);
      break;
    default:
      break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

// Registered when missing (a fresh window system forgets its classes).
void RegisterClassOnce() {
  WNDCLASS wc{};
  if (GetClassInfo(nullptr, "MDICLIENT", &wc)) return;
  wc.lpfnWndProc = ClientProc;
  wc.lpszClassName = "MDICLIENT";
  wc.hbrBackground = HBRUSH(COLOR_APPWORKSPACE + 1);
  RegisterClass(&wc);
}

}  // namespace

HWND Create(TCustomForm* Frame) {
  if (!Frame || !Frame->HandleAllocated()) return nullptr;
  RegisterClassOnce();
  RECT r;
  GetClientRect(Frame->Handle(), &r);
  HWND wnd = CreateWindowEx(WS_EX_CLIENTEDGE, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                            0, 0, r.right, r.bottom, Frame->Handle(), nullptr, nullptr, nullptr);
  if (wnd) Clients()[wnd].Frame = Frame;
  return wnd;
}

TCustomForm* FrameOf(HWND Client) {
  TClient* c = Find(Client);
  return c ? c->Frame : nullptr;
}

void AddChild(HWND Client, TCustomForm* Child) {
  TClient* c = Find(Client);
  if (!c || !Child) return;
  RemoveChild(Child);
  c->Children.insert(c->Children.begin(), Child);
}

void RemoveChild(TCustomForm* Child) {
  for (auto& [wnd, c] : Clients()) {
    auto it = std::find(c.Children.begin(), c.Children.end(), Child);
    if (it == c.Children.end()) continue;
    const bool wasActive = it == c.Children.begin();
    c.Children.erase(it);
    // The next child comes forward, as when a child window closes.
    if (wasActive)
      if (TCustomForm* f = Active(c)) Activate(c, f);
    return;
  }
}

int ChildCount(HWND Client) {
  TClient* c = Find(Client);
  return c ? int(c->Children.size()) : 0;
}

TCustomForm* Child(HWND Client, int Index) {
  TClient* c = Find(Client);
  if (!c || Index < 0 || Index >= int(c->Children.size())) return nullptr;
  return c->Children[size_t(Index)];
}

TCustomForm* ActiveChild(HWND Client) {
  TClient* c = Find(Client);
  return c ? Active(*c) : nullptr;
}

bool TranslateKey(HWND Client, WORD Key, TShiftState Shift) {
  TClient* c = Find(Client);
  if (!c || !Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return false;
  TCustomForm* active = Active(*c);
  if (!active) return false;
  if (Key == VK_F4 && !Shift.Contains(ssShift)) {
    active->Close();
    return true;
  }
  if (Key == VK_F6) {
    SendMessage(Client, WM_MDINEXT, WPARAM(active->Handle()), Shift.Contains(ssShift) ? 1 : 0);
    return true;
  }
  return false;
}

}  // namespace MdiClient
