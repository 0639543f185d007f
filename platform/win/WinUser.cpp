// Window classes, the window tree, z-order, positions, properties and the default window
// procedure.
#include "platform/win/WinUser.h"

#include <cairo.h>

#include <algorithm>
#include <climits>
#include <cctype>
#include <cstring>

#include "platform/gdi/Coordinates.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/WinInternal.h"

namespace winsys {

TState::~TState() {
  // The program ends: windows still there and those waiting to be freed go with the
  // state. Nothing runs any more, so no message is sent; only their memory is released.
  for (HWND h : Graveyard) delete h;
  Graveyard.clear();
  for (HWND h : Retired) delete h;
  Retired.clear();
  Live.ForEach([](HWND h) {
    if (h->Surface) cairo_surface_destroy(reinterpret_cast<cairo_surface_t*>(h->Surface));
    delete h;
  });
  Live.Clear();
  TopLevels.clear();
}

TState& S() {
  static TState state;
  static const bool hooked = (InstallGdiHooks(), true);
  (void)hooked;
  return state;
}

static std::string Upper(const char* s) {
  std::string r = s ? s : "";
  for (char& c : r) c = char(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

bool RectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
RECT RectIntersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (RectEmpty(r)) return RECT{};
  return r;
}
RECT RectUnion(const RECT& a, const RECT& b) {
  if (RectEmpty(a)) return b;
  if (RectEmpty(b)) return a;
  return MakeRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom));
}
bool RectContains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
RECT RectOffset(const RECT& r, int dx, int dy) {
  return MakeRect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

// --- tree helpers ------------------------------------------------------------------------
bool Valid(HWND h) { return h && S().Live.Contains(h) && !h->Destroyed; }
bool IsTopLevel(HWND h) { return h->Parent == nullptr; }
HWND TopLevelOf(HWND h) {
  while (h && h->Parent) h = h->Parent;
  return h;
}
std::vector<HWND>& TopLevels() { return S().TopLevels; }

// Summed in 64 bits: each level is within the coordinate range, the sum of a deep
// nesting need not be; the result is kept where a window's extent can still be added.
POINT WindowOriginOnScreen(HWND h) {
  long long x = h->Rect.left, y = h->Rect.top;
  for (HWND parent = h->Parent; parent; parent = parent->Parent) {
    x += static_cast<long long>(parent->Rect.left) + parent->Client.left;
    y += static_cast<long long>(parent->Rect.top) + parent->Client.top;
  }
  constexpr long long limit = INT_MAX / 4;
  return POINT{LONG(std::clamp(x, -limit, limit)), LONG(std::clamp(y, -limit, limit))};
}
POINT ClientOriginOnScreen(HWND h) {
  POINT p = WindowOriginOnScreen(h);
  return WinPoint(p.x + h->Client.left, p.y + h->Client.top);
}
RECT ClientRectInParent(HWND h) { return RectOffset(h->Client, h->Rect.left, h->Rect.top); }

void RemoveFromZOrder(HWND h) {
  auto& list = h->Parent ? h->Parent->Children : S().TopLevels;
  // Children mostly leave from the bottom (freed in creation order): look from the end.
  auto it = std::find(list.rbegin(), list.rend(), h);
  if (it == list.rend()) return;
  list.erase(std::next(it).base());
  if (h->Parent) {
    if (h->Parent->Grid) h->Parent->Grid->Remove(h);
    h->Attached = false;
    if (h->Parent->PendingKids.Erase(h)) PaintStateChanged(h->Parent);
  }
}

static bool IsOwnedBy(HWND w, HWND owner) {
  for (HWND o = w->Owner; o; o = o->Owner)
    if (o == owner) return true;
  return false;
}

// Places a top-level window: topmost windows above the others, owned windows above their
// owners. after: HWND_TOP, HWND_BOTTOM or a window to go below.
void InsertTopLevel(HWND h, HWND after) {
  auto& list = S().TopLevels;
  list.erase(std::remove(list.begin(), list.end(), h), list.end());
  bool topmost = h->ExStyle & WS_EX_TOPMOST;
  size_t pos;
  if (after == HWND_BOTTOM) {
    pos = list.size();
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST ||
             !Valid(after)) {
    pos = 0;
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    pos = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
  }
  // Keep the topmost band above the rest.
  size_t firstNormal = 0;
  while (firstNormal < list.size() && (list[firstNormal]->ExStyle & WS_EX_TOPMOST)) ++firstNormal;
  if (topmost) pos = std::min(pos, firstNormal);
  else pos = std::max(pos, firstNormal);
  // Never below a window it owns... owned windows are moved above it afterwards; never
  // above its owner's position is allowed (an owner can't cover its owned windows).
  if (h->Owner) {
    auto it = std::find(list.begin(), list.end(), h->Owner);
    if (it != list.end()) pos = std::min(pos, size_t(it - list.begin()));
  }
  list.insert(list.begin() + pos, h);
  // Owned windows stay above their owner (keeping their relative order).
  std::vector<HWND> owned;
  for (size_t i = pos + 1; i < list.size(); ++i)
    if (IsOwnedBy(list[i], h)) owned.push_back(list[i]);
  if (!owned.empty()) {
    for (HWND w : owned) list.erase(std::find(list.begin(), list.end(), w));
    auto it = std::find(list.begin(), list.end(), h);
    list.insert(it, owned.begin(), owned.end());
  }
}

static void InsertChild(HWND h, HWND after) {
  auto& list = h->Parent->Children;
  auto at = std::find(list.rbegin(), list.rend(), h);
  size_t from = at == list.rend() ? list.size() : size_t(list.rend() - at) - 1;
  size_t pos;
  if (after == HWND_BOTTOM) pos = list.size() - (from < list.size() ? 1 : 0);
  else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST || !Valid(after) || after == h)
    pos = 0;
  else {
    auto it = std::find(list.begin(), list.end(), after);
    pos = it == list.end() ? 0 : size_t(it - list.begin()) + 1;
    if (it != list.end() && from < pos) --pos;  // counted without h
  }
  if (from == pos) return;  // already there
  if (from < list.size()) {
    // Move h within the list: only the windows between its old and new place shift.
    if (from < pos) std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + pos + 1);
    else std::rotate(list.begin() + pos, list.begin() + from, list.begin() + from + 1);
  } else {
    list.insert(list.begin() + pos, h);
  }
  ChildReordered(h, pos);
}

// --- non-client geometry -------------------------------------------------------------------
static int FrameWidth(HWND h) {
  DWORD s = h->Style;
  // A maximised window fills the work area: its frame is not shown.
  if ((s & WS_MAXIMIZE) && !h->Parent && !(s & WS_CHILD)) return 0;
  if (s & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((s & WS_DLGFRAME) || (h->ExStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (s & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}
static bool HasCaption(HWND h) { return (h->Style & WS_CAPTION) == WS_CAPTION; }
static int CaptionHeight(HWND h) {
  return GetSystemMetrics((h->ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}
static int EdgeWidth(HWND h) {
  int e = 0;
  if (h->ExStyle & WS_EX_CLIENTEDGE) e += GetSystemMetrics(SM_CXEDGE);
  if (h->ExStyle & WS_EX_STATICEDGE) e += GetSystemMetrics(SM_CXBORDER);
  return e;
}

// Parts of the frame in window coordinates.
struct TFrameParts {
  RECT Caption, Menu, Inner, VScroll, HScroll, Corner, Client;
};
static TFrameParts FrameParts(HWND h, const RECT& windowRect) {
  TFrameParts p;
  int w = windowRect.right - windowRect.left, ht = windowRect.bottom - windowRect.top;
  int f = FrameWidth(h);
  RECT r{f, f, w - f, ht - f};
  if (HasCaption(h)) {
    p.Caption = MakeRect(r.left, r.top, r.right, r.top + CaptionHeight(h));
    r.top = p.Caption.bottom;
  }
  if (h->Menu && !(h->Style & WS_CHILD)) {
    p.Menu = MakeRect(r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYMENU));
    r.top = p.Menu.bottom;
  }
  int e = EdgeWidth(h);
  r = MakeRect(r.left + e, r.top + e, r.right - e, r.bottom - e);
  p.Inner = r;
  if (h->Style & WS_VSCROLL) {
    int sw = ScrollBarThickness(h, SB_VERT);
    p.VScroll = MakeRect(r.right - sw, r.top, r.right, r.bottom);
    r.right -= sw;
  }
  if (h->Style & WS_HSCROLL) {
    int sh = ScrollBarThickness(h, SB_HORZ);
    p.HScroll = MakeRect(r.left, r.bottom - sh, r.right, r.bottom);
    r.bottom -= sh;
    if (h->Style & WS_VSCROLL) {
      p.VScroll.bottom -= sh;
      p.Corner = MakeRect(r.right, r.bottom, p.VScroll.right, r.bottom + sh);
    }
  }
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  p.Client = r;
  return p;
}

RECT DefaultClientRect(HWND h, const RECT& windowRect) { return FrameParts(h, windowRect).Client; }

RECT ScrollBarRect(HWND h, int bar) {
  TFrameParts p = FrameParts(h, h->Rect);
  return bar == SB_VERT ? p.VScroll : p.HScroll;
}

// Caption buttons, right to left: close, maximize, minimize.
RECT CaptionButtonRect(HWND h, int ht) {
  TFrameParts p = FrameParts(h, h->Rect);
  if (RectEmpty(p.Caption) || !(h->Style & WS_SYSMENU)) return RECT{};
  // Classic buttons are 16 x 14 in a 19-pixel caption (its last line is the separator);
  // Luna's are 21-pixel squares centred in its 26-pixel caption.
  int ch = p.Caption.bottom - p.Caption.top;
  bool luna = IsThemeActive() && !(h->ExStyle & WS_EX_TOOLWINDOW) && ch >= 21;
  int bh = luna ? 21 : ch - 5;
  int bw = luna ? 21 : bh + 2;
  int top = p.Caption.top + (luna ? (ch - bh) / 2 : 2);
  RECT close = MakeRect(p.Caption.right - 2 - bw, top, p.Caption.right - 2, top + bh);
  if (ht == HTCLOSE) return close;
  if (!(h->Style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) || (h->ExStyle & WS_EX_TOOLWINDOW)) return RECT{};
  RECT max = RectOffset(close, -(bw + 2), 0);
  if (ht == HTMAXBUTTON) return max;
  RECT min = RectOffset(max, -(bw + (luna ? 2 : 0)), 0);
  if (ht == HTMINBUTTON) return min;
  if (ht == HTSYSMENU && !(h->ExStyle & WS_EX_TOOLWINDOW))
    return MakeRect(p.Caption.left + 2, p.Caption.top + 1, p.Caption.left + 2 + bh, p.Caption.top + 1 + bh);
  return RECT{};
}

int DefaultHitTest(HWND h, POINT screen) {
  POINT o = WindowOriginOnScreen(h);
  POINT p{screen.x - o.x, screen.y - o.y};
  RECT wr{0, 0, h->Rect.right - h->Rect.left, h->Rect.bottom - h->Rect.top};
  if (!RectContains(wr, p)) return HTNOWHERE;
  TFrameParts parts = FrameParts(h, h->Rect);
  if (RectContains(parts.Client, p)) return HTCLIENT;
  if (RectContains(parts.VScroll, p)) return HTVSCROLL;
  if (RectContains(parts.HScroll, p)) return HTHSCROLL;
  if (RectContains(parts.Corner, p)) return (h->Style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTNOWHERE;
  if (RectContains(parts.Menu, p)) return HTMENU;
  if (RectContains(parts.Caption, p)) {
    for (int ht : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU})
      if (RectContains(CaptionButtonRect(h, ht), p)) return ht;
    return HTCAPTION;
  }
  if (RectContains(parts.Inner, p)) return HTCLIENT;
  int f = FrameWidth(h);
  if (f > 0 && (h->Style & WS_THICKFRAME) && !(RectContains(MakeRect(f, f, wr.right - f, wr.bottom - f), p))) {
    int corner = GetSystemMetrics(SM_CYCAPTION);
    bool left = p.x < f, right = p.x >= wr.right - f, top = p.y < f, bottom = p.y >= wr.bottom - f;
    bool nearLeft = p.x < corner, nearRight = p.x >= wr.right - corner;
    bool nearTop = p.y < corner, nearBottom = p.y >= wr.bottom - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    return HTBOTTOM;
  }
  return HTBORDER;
}

static TWndClass* FindClass(LPCSTR name) {
  if (!name) return nullptr;
  auto& classes = S().Classes;
  if (IS_INTRESOURCE(name)) {
    ATOM atom = ATOM(reinterpret_cast<ULONG_PTR>(name));
    for (auto& [key, c] : classes)
      if (c->Atom == atom) return c.get();
    return nullptr;
  }
  auto it = classes.find(Upper(name));
  return it == classes.end() ? nullptr : it->second.get();
}

}  // namespace winsys

using namespace winsys;

// --- classes -------------------------------------------------------------------------------
static HINSTANCE const kModule = reinterpret_cast<HINSTANCE>(0x400000);
HINSTANCE GetModuleHandle(LPCSTR) { return kModule; }

ATOM RegisterClassEx(const WNDCLASSEX* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string key = Upper(wc->lpszClassName);
  if (S().Classes.count(key)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<TWndClass>();
  c->Name = wc->lpszClassName;
  c->Style = wc->style;
  c->Proc = wc->lpfnWndProc;
  c->ClsExtra = std::max(0, wc->cbClsExtra);
  c->WndExtra = std::max(0, wc->cbWndExtra);
  c->Instance = wc->hInstance;
  c->Icon = wc->hIcon;
  c->IconSm = wc->hIconSm;
  c->Cursor = wc->hCursor;
  c->Background = wc->hbrBackground;
  if (wc->lpszMenuName && !IS_INTRESOURCE(wc->lpszMenuName)) c->MenuName = wc->lpszMenuName;
  c->Extra.assign(size_t(c->ClsExtra), 0);
  c->Atom = S().NextAtom++;
  ATOM atom = c->Atom;
  S().Classes[key] = std::move(c);
  return atom;
}

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc) return 0;
  WNDCLASSEX ex;
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return RegisterClassEx(&ex);
}

BOOL UnregisterClass(LPCSTR className, HINSTANCE) {
  TWndClass* c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  bool used = false;
  S().Live.ForEach([&](HWND h) { used = used || h->Class == c; });
  if (used) return FALSE;  // windows of the class still exist
  S().Classes.erase(Upper(c->Name.c_str()));
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, LPCSTR className, WNDCLASSEX* wc) {
  TWndClass* c = FindClass(className);
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->Style;
  wc->lpfnWndProc = c->Proc;
  wc->cbClsExtra = c->ClsExtra;
  wc->cbWndExtra = c->WndExtra;
  wc->hInstance = c->Instance;
  wc->hIcon = c->Icon;
  wc->hIconSm = c->IconSm;
  wc->hCursor = c->Cursor;
  wc->hbrBackground = c->Background;
  wc->lpszMenuName = c->MenuName.empty() ? nullptr : c->MenuName.c_str();
  wc->lpszClassName = c->Name.c_str();
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc) {
  WNDCLASSEX ex;
  if (!wc || !GetClassInfoEx(instance, className, &ex)) return FALSE;
  wc->style = ex.style;
  wc->lpfnWndProc = ex.lpfnWndProc;
  wc->cbClsExtra = ex.cbClsExtra;
  wc->cbWndExtra = ex.cbWndExtra;
  wc->hInstance = ex.hInstance;
  wc->hIcon = ex.hIcon;
  wc->hCursor = ex.hCursor;
  wc->hbrBackground = ex.hbrBackground;
  wc->lpszMenuName = ex.lpszMenuName;
  wc->lpszClassName = ex.lpszClassName;
  return TRUE;
}

std::string GetClassNameStr(HWND hwnd) { return Valid(hwnd) ? hwnd->Class->Name : std::string(); }

static int CopyOut(const std::string& s, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  int n = std::min<int>(int(s.size()), size - 1);
  std::memcpy(buffer, s.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

int GetClassName(HWND hwnd, char* buffer, int size) {
  if (!Valid(hwnd)) return 0;
  return CopyOut(hwnd->Class->Name, buffer, size);
}

ULONG_PTR GetClassLongPtr(HWND h, int index) {
  if (!Valid(h)) return 0;
  TWndClass* c = h->Class;
  switch (index) {
    case GCLP_HBRBACKGROUND: return ULONG_PTR(c->Background);
    case GCLP_HCURSOR: return ULONG_PTR(c->Cursor);
    case GCLP_HICON: return ULONG_PTR(c->Icon);
    case GCLP_HICONSM: return ULONG_PTR(c->IconSm);
    case GCLP_HMODULE: return ULONG_PTR(c->Instance);
    case GCL_CBWNDEXTRA: return ULONG_PTR(c->WndExtra);
    case GCL_CBCLSEXTRA: return ULONG_PTR(c->ClsExtra);
    case GCLP_WNDPROC: return ULONG_PTR(c->Proc);
    case GCL_STYLE: return c->Style;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c->Extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, c->Extra.data() + index, sizeof v);
        return ULONG_PTR(v);
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

ULONG_PTR SetClassLongPtr(HWND h, int index, LONG_PTR value) {
  if (!Valid(h)) return 0;
  TWndClass* c = h->Class;
  ULONG_PTR old = GetClassLongPtr(h, index);
  switch (index) {
    case GCLP_HBRBACKGROUND: c->Background = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: c->Cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: c->Icon = reinterpret_cast<HICON>(value); break;
    case GCLP_HICONSM: c->IconSm = reinterpret_cast<HICON>(value); break;
    case GCLP_WNDPROC: c->Proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: c->Style = UINT(value); break;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= c->Extra.size())
        std::memcpy(c->Extra.data() + index, &value, sizeof value);
      else
        return 0;
  }
  return old;
}

// --- creation and destruction -------------------------------------------------------------
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param) {
  TWndClass* c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if (parent && !Valid(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* h = new HWND__;
  h->Class = c;
  h->Proc = c->Proc;
  h->Style = style;
  h->ExStyle = exStyle;
  h->Instance = instance;
  h->Extra.assign(size_t(c->WndExtra), 0);
  if (style & WS_CHILD) {
    h->Parent = parent;
    h->Id = LONG_PTR(menu);
  } else {
    h->Owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    h->Menu = menu;
    if (!(style & WS_POPUP)) h->Style |= WS_CLIPSIBLINGS | WS_CAPTION;  // overlapped windows
  }
  bool topLevel = !h->Parent;
  if (x == CW_USEDEFAULT) {
    x = topLevel ? 20 + 30 * int(S().TopLevels.size() % 8) : 0;
    if (!topLevel) y = 0;
    else if (y == CW_USEDEFAULT || y == int(0x80000000)) y = x;
  }
  if (width == CW_USEDEFAULT) {
    width = topLevel ? 640 : 0;
    height = topLevel ? 480 : 0;
  }
  x = ClampCoordinate(x);
  y = ClampCoordinate(y);
  width = std::max(0, ClampCoordinate(width));
  height = std::max(0, ClampCoordinate(height));
  h->Rect = MakeRect(x, y, x + width, y + height);
  h->NormalRect = h->Rect;
  h->Client = MakeRect(0, 0, width, height);
  S().Live.Insert(h);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = LONG(h->Style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;

  CBT_CREATEWND cbt{&cs, HWND_TOP};
  bool anyHook = false;
  if (RunHooks(WH_CBT, HCBT_CREATEWND, WPARAM(h), LPARAM(&cbt), &anyHook) != 0) {
    S().Live.Erase(h);
    delete h;
    return nullptr;
  }
  // Z-order: a new top-level window goes on top, a new child below its siblings (so that
  // z-order is creation order, the order the dialog keys walk).
  bool visibleRequested = h->Style & WS_VISIBLE;
  h->Style &= ~WS_VISIBLE;
  if (topLevel) InsertTopLevel(h, HWND_TOP);
  else {
    h->Parent->Children.push_back(h);
    ChildInserted(h, h->Parent->Children.size() - 1);
  }

  auto fail = [&]() -> HWND {
    if (Valid(h)) DestroyWindow(h);
    return nullptr;
  };
  if (!SendMessage(h, WM_NCCREATE, 0, LPARAM(&cs))) return fail();
  if (!Valid(h)) return nullptr;
  RECT client = h->Rect;
  SendMessage(h, WM_NCCALCSIZE, FALSE, LPARAM(&client));
  if (!Valid(h)) return nullptr;
  h->Client = RectOffset(client, -h->Rect.left, -h->Rect.top);
  if (SendMessage(h, WM_CREATE, 0, LPARAM(&cs)) == -1) return fail();
  if (!Valid(h)) return nullptr;
  h->CreatedDone = true;
  if (!topLevel && !(h->ExStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(h->Parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, WORD(h->Id)), LPARAM(h));
  if (!Valid(h)) return nullptr;
  SendMessage(h, WM_SIZE, SIZE_RESTORED,
              MAKELPARAM(WORD(h->Client.right - h->Client.left), WORD(h->Client.bottom - h->Client.top)));
  RECT cp = ClientRectInParent(h);
  SendMessage(h, WM_MOVE, 0, MAKELPARAM(WORD(cp.left), WORD(cp.top)));
  if (!Valid(h)) return nullptr;
  if (visibleRequested) {
    if (style & WS_MAXIMIZE) ShowWindow(h, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE) ShowWindow(h, SW_SHOWMINIMIZED);
    else ShowWindow(h, topLevel ? SW_SHOW : SW_SHOWNA);
  }
  return Valid(h) ? h : nullptr;
}

static void DestroyTree(HWND h, bool top) {
  h->Destroying = true;
  if (top && h->Parent && !(h->ExStyle & WS_EX_NOPARENTNOTIFY) && Valid(h->Parent))
    SendMessage(h->Parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, WORD(h->Id)), LPARAM(h));
  // Owned windows go first.
  if (!h->Parent) {
    std::vector<HWND> owned;
    for (HWND w : S().TopLevels)
      if (w->Owner == h) owned.push_back(w);
    for (HWND w : owned)
      if (Valid(w) && !w->Destroying) DestroyWindow(w);
  }
  WindowGone(h);
  SendMessage(h, WM_DESTROY, 0, 0);
  std::vector<HWND> children = h->Children;
  for (HWND c : children)
    if (Valid(c) && !c->Destroying) DestroyTree(c, false);
  SendMessage(h, WM_NCDESTROY, 0, 0);
  WindowGone(h);
  KillTimersFor(h);
  RemoveMessagesFor(h);
  RemoveFromZOrder(h);
  for (HWND c : h->Children) c->Parent = nullptr;  // already destroyed
  h->Children.clear();
  h->PendingKids.Clear();
  h->Grid.reset();
  for (HWND w : S().TopLevels)
    if (w->Owner == h) w->Owner = nullptr;
  if (!h->Parent) {
    CurrentBackend().TopLevelDestroyed(h);
    FreeSurface(h);
  }
  h->Props.clear();
  h->Shape.reset();
  h->Layered.reset();
  h->Destroyed = true;
  S().Live.Erase(h);
  S().Graveyard.push_back(h);
}

BOOL DestroyWindow(HWND h) {
  if (!Valid(h) || h->Destroying) return FALSE;
  bool any = false;
  if (RunHooks(WH_CBT, HCBT_DESTROYWND, WPARAM(h), 0, &any) != 0) return FALSE;
  if (h->Style & WS_VISIBLE)
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!Valid(h)) return TRUE;
  ++S().DestroyDepth;
  DestroyTree(h, true);
  --S().DestroyDepth;
  // Destroyed outside any message handling (the program's end, a test): nothing can
  // refer to the windows any more, so they go now instead of waiting for the queue.
  FreeGraveyard();
  return TRUE;
}

BOOL IsWindow(HWND h) { return Valid(h) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND h) {
  if (!Valid(h)) return FALSE;
  for (HWND w = h; w; w = w->Parent)
    if (!(w->Style & WS_VISIBLE)) return FALSE;
  return TRUE;
}

BOOL IsWindowEnabled(HWND h) { return Valid(h) && !(h->Style & WS_DISABLED); }

BOOL IsChild(HWND parent, HWND h) {
  if (!Valid(parent) || !Valid(h)) return FALSE;
  for (HWND w = h->Parent; w; w = w->Parent)
    if (w == parent) return TRUE;
  return FALSE;
}

BOOL IsIconic(HWND h) { return Valid(h) && (h->Style & WS_MINIMIZE); }
BOOL IsZoomed(HWND h) { return Valid(h) && (h->Style & WS_MAXIMIZE); }

BOOL EnableWindow(HWND h, BOOL enable) {
  if (!Valid(h)) return FALSE;
  BOOL wasDisabled = (h->Style & WS_DISABLED) ? TRUE : FALSE;
  if (enable && wasDisabled) {
    h->Style &= ~WS_DISABLED;
    SendMessage(h, WM_ENABLE, TRUE, 0);
  } else if (!enable && !wasDisabled) {
    SendMessage(h, WM_CANCELMODE, 0, 0);
    if (!Valid(h)) return wasDisabled;
    h->Style |= WS_DISABLED;
    // A disabled window loses the focus and the capture.
    if (S().Focus && (S().Focus == h || IsChild(h, S().Focus))) SetFocus(nullptr);
    if (S().Capture == h) ReleaseCapture();
    SendMessage(h, WM_ENABLE, FALSE, 0);
  }
  return wasDisabled;
}

// --- position and visibility ------------------------------------------------------------------
BOOL SetWindowPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  WINDOWPOS wp;
  wp.hwnd = h;
  wp.hwndInsertAfter = insertAfter;
  wp.x = (flags & SWP_NOMOVE) ? h->Rect.left : x;
  wp.y = (flags & SWP_NOMOVE) ? h->Rect.top : y;
  wp.cx = (flags & SWP_NOSIZE) ? h->Rect.right - h->Rect.left : cx;
  wp.cy = (flags & SWP_NOSIZE) ? h->Rect.bottom - h->Rect.top : cy;
  wp.flags = flags;
  bool visible = h->Style & WS_VISIBLE;
  if ((flags & SWP_SHOWWINDOW) && visible) wp.flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !visible) wp.flags &= ~SWP_HIDEWINDOW;
  if (!(wp.flags & SWP_NOSENDCHANGING)) {
    SendMessage(h, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
    if (!Valid(h)) return FALSE;
  }
  // Positions and sizes beyond the coordinate range are brought into it, so that the
  // window's rectangle and the sums made of it stay inside int.
  wp.x = ClampCoordinate(wp.x);
  wp.y = ClampCoordinate(wp.y);
  wp.cx = std::max(0, ClampCoordinate(wp.cx));
  wp.cy = std::max(0, ClampCoordinate(wp.cy));
  RECT oldRect = h->Rect;
  RECT oldClient = h->Client;
  RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  bool moved = !(wp.flags & SWP_NOMOVE) && (newRect.left != oldRect.left || newRect.top != oldRect.top);
  bool sized = !(wp.flags & SWP_NOSIZE) &&
               (RectWidth(newRect) != RectWidth(oldRect) || RectHeight(newRect) != RectHeight(oldRect));
  if (wp.flags & SWP_NOMOVE) newRect = RectOffset(newRect, oldRect.left - newRect.left, oldRect.top - newRect.top);
  bool oldVisible = IsWindowVisible(h);

  // Before anything moves: what the window covered in its parent must be repainted.
  bool redraw = !(wp.flags & SWP_NOREDRAW);
  bool geometryChange = moved || sized || (wp.flags & SWP_HIDEWINDOW) || !(wp.flags & SWP_NOZORDER);
  if (redraw && oldVisible && h->Parent && geometryChange) InvalidateParentArea(h, oldRect);

  h->Rect = newRect;
  if (h->Parent && (moved || sized)) ChildMoved(h);
  if (sized || (wp.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = newRect;
    params.rgrc[1] = oldRect;
    params.rgrc[2] = RectOffset(oldClient, oldRect.left, oldRect.top);
    params.lppos = &wp;
    SendMessage(h, WM_NCCALCSIZE, TRUE, LPARAM(&params));
    if (!Valid(h)) return FALSE;
    h->Client = RectOffset(params.rgrc[0], -h->Rect.left, -h->Rect.top);
  }
  if (!(wp.flags & SWP_NOZORDER)) {
    HWND after = wp.hwndInsertAfter;
    if (after == HWND_TOPMOST) h->ExStyle |= WS_EX_TOPMOST;
    if (after == HWND_NOTOPMOST) h->ExStyle &= ~WS_EX_TOPMOST;
    if (h->Parent) InsertChild(h, after);
    else InsertTopLevel(h, after);
  }
  if (wp.flags & SWP_SHOWWINDOW) h->Style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) h->Style &= ~WS_VISIBLE;
  bool newVisible = IsWindowVisible(h);

  if (!h->Parent) {
    if (sized) EnsureSurface(h);
    if ((wp.flags & SWP_SHOWWINDOW) && newVisible) CurrentBackend().TopLevelShown(h);
    if ((wp.flags & SWP_HIDEWINDOW)) CurrentBackend().TopLevelHidden(h);
    if (moved || sized) CurrentBackend().TopLevelMoved(h);
    if (moved || sized || (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) UpdateDropShadow(h);
  }
  if (newVisible && redraw) {
    bool classRedraw = (h->Class->Style & (CS_HREDRAW | CS_VREDRAW)) != 0;
    if ((wp.flags & SWP_SHOWWINDOW) || sized || (wp.flags & SWP_FRAMECHANGED) || classRedraw || !h->Parent ||
        moved || !(wp.flags & SWP_NOZORDER))
      RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  if (!newVisible && oldVisible) WindowHidden(h);

  if (!(wp.flags & SWP_NOACTIVATE) && !h->Parent && newVisible &&
      ((wp.flags & SWP_SHOWWINDOW) || !(wp.flags & SWP_NOZORDER)) && !(h->ExStyle & WS_EX_NOACTIVATE))
    ActivateTopLevel(h, false);
  if (!Valid(h)) return TRUE;

  if (moved || sized || (wp.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)) ||
      !(wp.flags & SWP_NOZORDER)) {
    wp.x = h->Rect.left;
    wp.y = h->Rect.top;
    wp.cx = RectWidth(h->Rect);
    wp.cy = RectHeight(h->Rect);
    if (!moved) wp.flags |= SWP_NOMOVE;
    if (!sized) wp.flags |= SWP_NOSIZE;
    SendMessage(h, WM_WINDOWPOSCHANGED, 0, LPARAM(&wp));
  }
  return TRUE;
}

BOOL MoveWindow(HWND h, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(h, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
}

BOOL BringWindowToTop(HWND h) { return SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

static RECT MaximizedRect(HWND h) {
  if (h->Parent) {
    RECT r;
    GetClientRect(h->Parent, &r);
    return r;
  }
  return CurrentBackend().WorkArea();  // nothing off-screen: the frame goes instead
}

BOOL ShowWindow(HWND h, int cmd) {
  if (!Valid(h)) return FALSE;
  BOOL wasVisible = (h->Style & WS_VISIBLE) ? TRUE : FALSE;
  bool activate = !h->Parent;
  UINT swp = SWP_NOZORDER;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      SendMessage(h, WM_SHOWWINDOW, FALSE, 0);
      if (!Valid(h)) return wasVisible;
      SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return wasVisible;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_SHOWMINNOACTIVE:
      activate = false;
      break;
    default:
      break;
  }
  bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
  bool maximize = cmd == SW_SHOWMAXIMIZED;
  bool restore = cmd == SW_RESTORE || cmd == SW_SHOWNORMAL ||
                 ((cmd == SW_SHOWNOACTIVATE) && (h->Style & (WS_MINIMIZE | WS_MAXIMIZE)));
  if (cmd == SW_MINIMIZE) activate = false;
  if (!wasVisible) {
    SendMessage(h, WM_SHOWWINDOW, TRUE, 0);
    if (!Valid(h)) return wasVisible;
  }
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT sizeFlags = SWP_NOMOVE | SWP_NOSIZE;
  int sizeType = -1;
  if (minimize && !(h->Style & WS_MINIMIZE)) {
    if (!(h->Style & WS_MAXIMIZE)) h->NormalRect = h->Rect;
    h->Style = (h->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    x = -32000, y = -32000, cx = GetSystemMetrics(SM_CXMINIMIZED), cy = GetSystemMetrics(SM_CYMINIMIZED);
    sizeFlags = SWP_FRAMECHANGED;
    sizeType = SIZE_MINIMIZED;
    if (S().Active == h) DeactivateIfActive(h);
  } else if (maximize && !(h->Style & WS_MAXIMIZE)) {
    if (!(h->Style & WS_MINIMIZE)) h->NormalRect = h->Rect;
    h->Style = (h->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    RECT r = MaximizedRect(h);
    x = r.left, y = r.top, cx = RectWidth(r), cy = RectHeight(r);
    sizeFlags = SWP_FRAMECHANGED;
    sizeType = SIZE_MAXIMIZED;
  } else if (restore && (h->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    h->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    RECT r = h->NormalRect;
    x = r.left, y = r.top, cx = RectWidth(r), cy = RectHeight(r);
    sizeFlags = SWP_FRAMECHANGED;
    sizeType = SIZE_RESTORED;
  }
  if (!activate) swp |= SWP_NOACTIVATE;
  SetWindowPos(h, HWND_TOP, x, y, cx, cy, swp | sizeFlags | SWP_SHOWWINDOW | (activate ? 0 : 0));
  if (!Valid(h)) return wasVisible;
  if (activate && wasVisible && !(h->Style & WS_MINIMIZE)) ActivateTopLevel(h, false);
  (void)sizeType;
  return wasVisible;
}

BOOL GetWindowPlacement(HWND h, WINDOWPLACEMENT* wp) {
  if (!Valid(h) || !wp) return FALSE;
  wp->flags = 0;
  wp->showCmd = (h->Style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                : (h->Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                : (h->Style & WS_VISIBLE) ? SW_SHOWNORMAL : SW_HIDE;
  wp->rcNormalPosition = (h->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? h->NormalRect : h->Rect;
  wp->ptMinPosition = WinPoint(-1, -1);
  wp->ptMaxPosition = WinPoint(-1, -1);
  return TRUE;
}

BOOL SetWindowPlacement(HWND h, const WINDOWPLACEMENT* wp) {
  if (!Valid(h) || !wp) return FALSE;
  h->NormalRect = wp->rcNormalPosition;
  if (!(h->Style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    const RECT& r = wp->rcNormalPosition;
    SetWindowPos(h, nullptr, r.left, r.top, RectWidth(r), RectHeight(r), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (wp->showCmd != SW_HIDE || (h->Style & WS_VISIBLE)) ShowWindow(h, int(wp->showCmd));
  return TRUE;
}

// --- tree --------------------------------------------------------------------------------
HWND SetParent(HWND h, HWND newParent) {
  if (!Valid(h) || (newParent && !Valid(newParent))) return nullptr;
  if (newParent == h || (newParent && IsChild(h, newParent))) return nullptr;
  HWND old = h->Parent;
  if (old == newParent) return old;
  bool visible = IsWindowVisible(h);
  if (visible && old) InvalidateParentArea(h, h->Rect);
  RemoveFromZOrder(h);
  if (!old) FreeSurface(h);
  h->Parent = newParent;
  if (newParent) {
    h->Owner = nullptr;
    newParent->Children.insert(newParent->Children.begin(), h);
    ChildInserted(h, 0);
  } else {
    InsertTopLevel(h, HWND_TOP);
    EnsureSurface(h);
  }
  if (IsWindowVisible(h))
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return old ? old : GetDesktopWindow();
}

HWND GetParent(HWND h) {
  if (!Valid(h)) return nullptr;
  if (h->Parent) return h->Parent;
  if (h->Style & WS_POPUP) return h->Owner;
  return nullptr;
}

HWND GetAncestor(HWND h, UINT flags) {
  if (!Valid(h)) return nullptr;
  switch (flags) {
    case GA_PARENT: return h->Parent ? h->Parent : GetDesktopWindow();
    case GA_ROOT: return TopLevelOf(h);
    case GA_ROOTOWNER: {
      HWND r = TopLevelOf(h);
      while (r->Owner) r = r->Owner;
      return r;
    }
  }
  return nullptr;
}

HWND GetWindow(HWND h, UINT cmd) {
  if (!Valid(h)) return nullptr;
  const std::vector<HWND>& list = h->Parent ? h->Parent->Children : S().TopLevels;
  auto it = std::find(list.begin(), list.end(), h);
  switch (cmd) {
    case GW_HWNDFIRST: return list.empty() ? nullptr : list.front();
    case GW_HWNDLAST: return list.empty() ? nullptr : list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.end() || it == list.begin()) ? nullptr : *(it - 1);
    case GW_OWNER: return h->Parent ? nullptr : h->Owner;
    case GW_CHILD: return h->Children.empty() ? nullptr : h->Children.front();
    case GW_ENABLEDPOPUP:
      for (HWND w : S().TopLevels)
        if (w->Owner == h && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED)) return w;
      return nullptr;
  }
  return nullptr;
}

HWND GetTopWindow(HWND h) {
  if (!h) return S().TopLevels.empty() ? nullptr : S().TopLevels.front();
  if (!Valid(h)) return nullptr;
  return h->Children.empty() ? nullptr : h->Children.front();
}

HWND GetDesktopWindow() { return nullptr; }

static bool EnumChildren(HWND parent, WNDENUMPROC proc, LPARAM param) {
  std::vector<HWND> children = parent->Children;
  for (HWND c : children) {
    if (!Valid(c)) continue;
    if (!proc(c, param)) return false;
    if (Valid(c) && !EnumChildren(c, proc, param)) return false;
  }
  return true;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  if (!parent) return EnumWindows(proc, param);
  if (!Valid(parent)) return FALSE;
  EnumChildren(parent, proc, param);
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  std::vector<HWND> tops = S().TopLevels;
  for (HWND h : tops)
    if (Valid(h) && !proc(h, param)) break;
  return TRUE;
}

BOOL EnumThreadWindows(DWORD, WNDENUMPROC proc, LPARAM param) { return EnumWindows(proc, param); }

HWND FindWindow(LPCSTR className, LPCSTR windowName) {
  for (HWND h : S().TopLevels) {
    if (className && Upper(className) != Upper(h->Class->Name.c_str())) continue;
    if (windowName && h->Text != windowName) continue;
    return h;
  }
  return nullptr;
}

HWND GetDlgItem(HWND parent, int id) {
  if (!Valid(parent)) return nullptr;
  for (HWND c : parent->Children)
    if (c->Id == id) return c;
  return nullptr;
}

int GetDlgCtrlID(HWND h) { return Valid(h) ? int(h->Id) : 0; }

// --- window data ---------------------------------------------------------------------------
LONG_PTR GetWindowLongPtr(HWND h, int index) {
  if (!Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC: return LONG_PTR(h->Proc);
    case GWLP_HINSTANCE: return LONG_PTR(h->Instance);
    case GWLP_HWNDPARENT: return LONG_PTR(h->Parent ? h->Parent : h->Owner);
    case GWLP_ID: return h->Id;
    case GWL_STYLE: return LONG_PTR(LONG(h->Style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(h->ExStyle));
    case GWLP_USERDATA: return h->UserData;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= h->Extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, h->Extra.data() + index, sizeof v);
        return v;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND h, int index, LONG_PTR value) {
  if (!Valid(h)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG_PTR old = GetWindowLongPtr(h, index);
  switch (index) {
    case GWLP_WNDPROC: h->Proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: h->Instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
      if (!h->Parent) {
        HWND owner = reinterpret_cast<HWND>(value);
        h->Owner = Valid(owner) ? TopLevelOf(owner) : nullptr;
        if (h->Owner == h) h->Owner = nullptr;
        InsertTopLevel(h, HWND_TOP);
      }
      break;
    case GWLP_ID: h->Id = value; break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{DWORD(old), DWORD(value)};
      SendMessage(h, WM_STYLECHANGING, WPARAM(index), LPARAM(&ss));
      if (!Valid(h)) return old;
      if (index == GWL_STYLE) {
        // The visible bit follows ShowWindow only; the child bit cannot change here.
        DWORD keep = WS_VISIBLE | WS_CHILD;
        h->Style = (ss.styleNew & ~keep) | (h->Style & keep);
      } else {
        h->ExStyle = ss.styleNew;
        LayeredStyleChanged(h, DWORD(old));
      }
      SendMessage(h, WM_STYLECHANGED, WPARAM(index), LPARAM(&ss));
      break;
    }
    case GWLP_USERDATA: h->UserData = value; break;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= h->Extra.size())
        std::memcpy(h->Extra.data() + index, &value, sizeof value);
      else
        return 0;
  }
  return old;
}

LRESULT CallWindowProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (!proc) return 0;
  return proc(h, msg, wp, lp);
}

BOOL SetProp(HWND h, LPCSTR name, HANDLE data) {
  if (!Valid(h) || !name) return FALSE;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Upper(name);
  h->Props[key] = data;
  return TRUE;
}

HANDLE GetProp(HWND h, LPCSTR name) {
  if (!Valid(h) || !name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Upper(name);
  auto it = h->Props.find(key);
  return it == h->Props.end() ? nullptr : it->second;
}

HANDLE RemoveProp(HWND h, LPCSTR name) {
  if (!Valid(h) || !name) return nullptr;
  std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Upper(name);
  auto it = h->Props.find(key);
  if (it == h->Props.end()) return nullptr;
  HANDLE v = it->second;
  h->Props.erase(it);
  return v;
}

BOOL SetWindowText(HWND h, LPCSTR text) {
  if (!Valid(h)) return FALSE;
  return SendMessage(h, WM_SETTEXT, 0, LPARAM(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND h, char* buffer, int size) {
  if (!Valid(h) || !buffer || size <= 0) return 0;
  return int(SendMessage(h, WM_GETTEXT, WPARAM(size), LPARAM(buffer)));
}

int GetWindowTextLength(HWND h) {
  if (!Valid(h)) return 0;
  return int(SendMessage(h, WM_GETTEXTLENGTH, 0, 0));
}

std::string GetWindowTextStr(HWND h) {
  int n = GetWindowTextLength(h);
  if (n <= 0) return {};
  std::string s(size_t(n) + 1, '\0');
  int got = GetWindowText(h, s.data(), n + 1);
  s.resize(size_t(std::max(0, got)));
  return s;
}

// --- coordinates ---------------------------------------------------------------------------
BOOL GetWindowRect(HWND h, RECT* r) {
  if (!Valid(h) || !r) return FALSE;
  POINT o = WindowOriginOnScreen(h);
  *r = MakeRect(o.x, o.y, o.x + RectWidth(h->Rect), o.y + RectHeight(h->Rect));
  return TRUE;
}

BOOL GetClientRect(HWND h, RECT* r) {
  if (!Valid(h) || !r) return FALSE;
  *r = MakeRect(0, 0, RectWidth(h->Client), RectHeight(h->Client));
  return TRUE;
}

BOOL ClientToScreen(HWND h, POINT* p) {
  if (!Valid(h) || !p) return FALSE;
  POINT o = ClientOriginOnScreen(h);
  p->x += o.x;
  p->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND h, POINT* p) {
  if (!Valid(h) || !p) return FALSE;
  POINT o = ClientOriginOnScreen(h);
  p->x -= o.x;
  p->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  if ((from && !Valid(from)) || (to && !Valid(to))) return 0;
  POINT a = from ? ClientOriginOnScreen(from) : POINT{};
  POINT b = to ? ClientOriginOnScreen(to) : POINT{};
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; i < count && points; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(WORD(SHORT(dx)), WORD(SHORT(dy)));
}

// The deepest visible window under a screen point that does not answer HTTRANSPARENT.
static HWND ChildUnder(HWND parent, POINT screen, bool skipDisabled) {
  for (HWND c : parent->Children) {
    if (!(c->Style & WS_VISIBLE)) continue;
    RECT wr;
    GetWindowRect(c, &wr);
    if (!RectContains(wr, screen) || !InWindowShape(c, screen)) continue;
    if (skipDisabled && (c->Style & WS_DISABLED)) return nullptr;  // the parent gets it
    POINT cp = screen;
    ScreenToClient(c, &cp);
    if (RectContains(MakeRect(0, 0, RectWidth(c->Client), RectHeight(c->Client)), cp)) {
      HWND deeper = ChildUnder(c, screen, skipDisabled);
      if (deeper) return deeper;
    }
    LRESULT ht = SendMessage(c, WM_NCHITTEST, 0, PointToLParam(screen));
    if (!Valid(c)) return nullptr;
    if (ht == HTTRANSPARENT) continue;
    return c;
  }
  return nullptr;
}

HWND WindowFromPoint(POINT screen) {
  std::vector<HWND> tops = S().TopLevels;
  for (HWND t : tops) {
    if (!Valid(t) || !(t->Style & WS_VISIBLE) || (t->Style & WS_MINIMIZE)) continue;
    RECT wr;
    GetWindowRect(t, &wr);
    if (!RectContains(wr, screen) || !InWindowShape(t, screen)) continue;
    if (t->ExStyle & WS_EX_TRANSPARENT && t->ExStyle & WS_EX_LAYERED) continue;
    HWND c = nullptr;
    POINT cp = screen;
    ScreenToClient(t, &cp);
    // Children show only inside the client area; the frame and scroll bars are the window's.
    if (!(t->Style & WS_DISABLED) && RectContains(MakeRect(0, 0, RectWidth(t->Client), RectHeight(t->Client)), cp))
      c = ChildUnder(t, screen, true);
    if (c) return c;
    if (!Valid(t)) continue;
    LRESULT ht = SendMessage(t, WM_NCHITTEST, 0, PointToLParam(screen));
    if (ht == HTTRANSPARENT) continue;
    return t;
  }
  return nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
  if (!Valid(parent)) return nullptr;
  if (!RectContains(MakeRect(0, 0, RectWidth(parent->Client), RectHeight(parent->Client)), pt)) return nullptr;
  for (HWND c : parent->Children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c->Style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->Style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (!RectContains(c->Rect, pt)) continue;
    POINT screen = pt;
    ClientToScreen(parent, &screen);
    if (InWindowShape(c, screen)) return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  HWND__ probe;  // the frame rules only look at the styles and the menu
  probe.Style = style & ~(WS_HSCROLL | WS_VSCROLL);
  probe.ExStyle = exStyle;
  probe.Menu = menu ? reinterpret_cast<HMENU>(1) : nullptr;
  RECT big = MakeRect(0, 0, 10000, 10000);
  RECT client = DefaultClientRect(&probe, big);
  rect->left -= client.left;
  rect->top -= client.top;
  rect->right += big.right - client.right;
  rect->bottom += big.bottom - client.bottom;
  return TRUE;
}

HMENU GetMenu(HWND h) { return Valid(h) && !h->Parent ? h->Menu : nullptr; }

BOOL SetMenu(HWND h, HMENU menu) {
  if (!Valid(h) || h->Parent) return FALSE;
  h->Menu = menu;
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL DrawMenuBar(HWND h) {
  if (!Valid(h)) return FALSE;
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  return TRUE;
}

DWORD GetLastError() { return S().LastError; }
void SetLastError(DWORD e) { S().LastError = e; }
