#include "platform/backend/SdlBackend.h"

#include <SDL.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/LayeredWindow.h"
#include "platform/win/WinIcon.h"

void SdlSetWindowShape(SDL_Window* window, const int* boxes, int count);
std::string SdlDesktopWindowId(SDL_Window* window);
bool SdlWindowManagerPresent(SDL_Window* window);  // SdlWindowManager.cpp
// SdlClipboard.cpp
TXClipboard* SdlClipboardOpen(SDL_Window* window);
void SdlClipboardClose(TXClipboard* c);
void SdlClipboardSet(TXClipboard* c, const std::string& text);
bool SdlClipboardOwned(TXClipboard* c);
bool SdlClipboardGet(TXClipboard* c, std::string* text);
void SdlClipboardEvent(TXClipboard* c, const SDL_Event& e);

namespace {

unsigned long long SteadyMs() {
  using namespace std::chrono;
  return static_cast<unsigned long long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

RECT FullRect(int w, int h) { return RECT{0, 0, w, h}; }

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

// The deepest visible child of a top-level window at a screen point.
HWND DeepestChildAt(HWND top, POINT screen) {
  HWND cur = top;
  for (int guard = 0; guard < 64; ++guard) {
    POINT cp = screen;
    ScreenToClient(cur, &cp);
    HWND child = ChildWindowFromPointEx(cur, cp, CWP_SKIPINVISIBLE);
    if (!child || child == cur) break;
    cur = child;
  }
  return cur;
}

// Windows' text uses CR LF line breaks; the desktop's uses LF.
std::string ToDesktopText(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    out += s[i];
  }
  return out;
}

std::string FromDesktopText(const std::string& s) {
  std::string out;
  out.reserve(s.size() + s.size() / 16);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
    out += s[i];
  }
  return out;
}

// The focus moving between two of our windows arrives as a loss and a gain, not always
// in one batch: the program counts as deactivated only when no window of ours has had the
// keyboard for this long.
constexpr unsigned long long kFocusGraceMs = 100;

// Xlib's default error handler ends the process. A protocol error about a window that
// another program has just destroyed (a clipboard answer to a program that has gone, for
// one, or SDL's wake-up message to a window destroyed meanwhile) is no reason to lose the
// user's work: such errors are ignored. Xlib comes with SDL, so the handler is installed
// through the library already loaded.
int IgnoreXError(void*, void*) { return 0; }

void InstallXErrorHandler() {
  void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!x11) return;
  using TSetHandler = void* (*)(int (*)(void*, void*));
  if (auto set = reinterpret_cast<TSetHandler>(dlsym(x11, "XSetErrorHandler"))) set(&IgnoreXError);
  dlclose(x11);
}

// The window region as the display's window shape (SdlShape.cpp); count 0 removes it.
void ApplyWindowShape(SDL_Window* window, const std::vector<RECT>& rects) {
  std::vector<int> boxes;
  for (const RECT& r : rects) boxes.insert(boxes.end(), {int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)});
  SdlSetWindowShape(window, boxes.data(), int(rects.size()));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Pure mappings

int SdlKeyToVk(int scancode, int keycode, bool numLock) {
  if (keycode >= 'a' && keycode <= 'z') return keycode - 'a' + 'A';
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) return VK_F1 + (scancode - SDL_SCANCODE_F1);
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) return 0x7C + (scancode - SDL_SCANCODE_F13);
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    if (numLock) return VK_NUMPAD1 + (scancode - SDL_SCANCODE_KP_1);
    static const int nav[] = {VK_END, VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR, VK_RIGHT, VK_HOME, VK_UP, VK_PRIOR};
    return nav[scancode - SDL_SCANCODE_KP_1];
  }
  switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_NONUSBACKSLASH: return 0xE2;  // VK_OEM_102
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_KP_0: return numLock ? VK_NUMPAD0 : VK_INSERT;
    case SDL_SCANCODE_KP_PERIOD: return numLock ? VK_DECIMAL : VK_DELETE;
    case SDL_SCANCODE_APPLICATION: return VK_APPS;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VK_CONTROL;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VK_SHIFT;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VK_MENU;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    default: break;
  }
  return 0;
}

int SdlSystemCursorFor(int ocrId) {
  switch (ocrId) {
    case OCR_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case OCR_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case OCR_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case OCR_APPSTARTING: return SDL_SYSTEM_CURSOR_WAITARROW;
    case OCR_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case OCR_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case OCR_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case OCR_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case OCR_SIZE: case OCR_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case OCR_NO: return SDL_SYSTEM_CURSOR_NO;
    case OCR_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

int SdlHitTestResultFor(int hitTest, bool sizable) {
  if (hitTest == HTCAPTION) return SDL_HITTEST_DRAGGABLE;
  if (!sizable) return SDL_HITTEST_NORMAL;
  switch (hitTest) {
    case HTLEFT: return SDL_HITTEST_RESIZE_LEFT;
    case HTRIGHT: return SDL_HITTEST_RESIZE_RIGHT;
    case HTTOP: return SDL_HITTEST_RESIZE_TOP;
    case HTBOTTOM: return SDL_HITTEST_RESIZE_BOTTOM;
    case HTTOPLEFT: return SDL_HITTEST_RESIZE_TOPLEFT;
    case HTTOPRIGHT: return SDL_HITTEST_RESIZE_TOPRIGHT;
    case HTBOTTOMLEFT: return SDL_HITTEST_RESIZE_BOTTOMLEFT;
    case HTBOTTOMRIGHT: case HTGROWBOX: return SDL_HITTEST_RESIZE_BOTTOMRIGHT;
    default: return SDL_HITTEST_NORMAL;
  }
}

// ---------------------------------------------------------------------------------------
// SDL calls this on a press (and on motion, for the resize cursors) before the event is
// queued: caption and borders are left to the window manager, the rest is ours.
static SDL_HitTestResult SdlHitTest(SDL_Window* window, const SDL_Point* point, void* data) {
  try {
    auto* self = static_cast<TSdlBackend*>(data);
    HWND h = self->WindowFromSdl(window);
    if (!h || !IsWindow(h) || GetCapture() || !IsWindowEnabled(h) || IsZoomed(h) || IsIconic(h))
      return SDL_HITTEST_NORMAL;
    RECT wr;
    GetWindowRect(h, &wr);
    POINT screen{wr.left + point->x, wr.top + point->y};
    HWND target = DeepestChildAt(h, screen);
    int hit = int(SendMessage(target, WM_NCHITTEST, 0, PointToLParam(screen)));
    if (!IsWindow(h)) return SDL_HITTEST_NORMAL;
    // A child's caption or border (a panel that moves or sizes inside its form) is the
    // child's own: its moving and sizing loops run, not the window manager's on the form.
    if (target != h) return SDL_HITTEST_NORMAL;
    // With no window manager to hand it to, a drag on the caption or a border reaches the
    // window, whose own loop moves or sizes it.
    if (!self->WindowManagerPresent(window)) return SDL_HITTEST_NORMAL;
    // The second press of a double click on the caption stays ours: handed to the window
    // manager as a move, it would never reach the window.
    if (hit == HTCAPTION && self->CaptionPressed(h, screen)) return SDL_HITTEST_NORMAL;
    bool sizable = (GetWindowLong(h, GWL_STYLE) & WS_THICKFRAME) != 0;
    return static_cast<SDL_HitTestResult>(SdlHitTestResultFor(hit, sizable));
  } catch (...) {
    // Nothing may unwind through SDL's C frames.
    return SDL_HITTEST_NORMAL;
  }
}

// ---------------------------------------------------------------------------------------
TSdlBackend::TSdlBackend() {
  FStart = SteadyMs();
  // X11 by default: the program draws its own frames and places pop-ups at screen
  // coordinates, which a Wayland session allows only through XWayland.
  setenv("SDL_VIDEODRIVER", "x11", 0);
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Before SDL starts: SDL keeps the handler in force when it opens the display and puts
  // it back when it closes it.
  const char* driver = getenv("SDL_VIDEODRIVER");
  if (driver && std::string(driver) == "x11") InstallXErrorHandler();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::string why = SDL_GetError();
    SDL_Quit();
    throw ESdlError("Cannot open the display: " + why);
  }
  SDL_StartTextInput();
  SDL_EventState(SDL_DROPFILE, SDL_DISABLE);
  SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
}

TSdlBackend::~TSdlBackend() {
  if (&CurrentBackend() == this) SetBackend(nullptr);
  for (auto& [h, m] : FWindows)
    if (m.Window) SDL_DestroyWindow(m.Window);
  FWindows.clear();
  for (auto& [id, c] : FCursors) SDL_FreeCursor(c);
  FCursors.clear();
  for (auto& [h, c] : FImageCursors) SDL_FreeCursor(c);
  FImageCursors.clear();
  SdlClipboardClose(FXClipboard);
  FXClipboard = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

unsigned long long TSdlBackend::Now() { return SteadyMs() - FStart; }

void TSdlBackend::Sleep(unsigned long ms) { SDL_Delay(Uint32(ms)); }

SIZE TSdlBackend::ScreenSize() {
  SDL_Rect r;
  if (SDL_GetDisplayBounds(0, &r) != 0) return TBackend::ScreenSize();
  return SIZE{r.w, r.h};
}

RECT TSdlBackend::WorkArea() {
  SDL_Rect r;
  if (SDL_GetDisplayUsableBounds(0, &r) != 0) return TBackend::WorkArea();
  return RECT{r.x, r.y, r.x + r.w, r.y + r.h};
}

TSdlBackend::TMapped* TSdlBackend::Find(HWND h) {
  auto it = FWindows.find(h);
  return it == FWindows.end() ? nullptr : &it->second;
}

TSdlBackend::TMapped* TSdlBackend::FindById(std::uint32_t windowId, HWND* hwnd) {
  SDL_Window* w = SDL_GetWindowFromID(windowId);
  if (!w) return nullptr;
  for (auto& [h, m] : FWindows)
    if (m.Window == w) {
      if (hwnd) *hwnd = h;
      return &m;
    }
  return nullptr;
}

SDL_Window* TSdlBackend::WindowOf(HWND h) const {
  auto it = FWindows.find(h);
  return it == FWindows.end() ? nullptr : it->second.Window;
}

std::string TSdlBackend::DesktopWindowId(HWND h) { return SdlDesktopWindowId(WindowOf(h)); }

HWND TSdlBackend::WindowFromSdl(SDL_Window* window) const {
  for (auto& [h, m] : FWindows)
    if (m.Window == window) return h;
  return nullptr;
}

// --- windows -----------------------------------------------------------------------------
void TSdlBackend::Create(HWND h) {
  DWORD style = DWORD(GetWindowLong(h, GWL_STYLE));
  DWORD ex = DWORD(GetWindowLong(h, GWL_EXSTYLE));
  HWND owner = GetWindow(h, GW_OWNER);
  TMapped m;
  // Owned windows without a caption (menus, drop-downs, hints) float above everything
  // at screen coordinates, unmanaged by the window manager.
  m.Popup = owner && (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
  if (m.Popup) {
    bool hint = (ex & WS_EX_NOACTIVATE) || GetClassNameStr(h) == "THintWindow";
    flags |= (hint ? SDL_WINDOW_TOOLTIP : SDL_WINDOW_POPUP_MENU) | SDL_WINDOW_SKIP_TASKBAR;
  } else {
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    if (ex & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
    if (ex & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  }
  RECT r;
  GetWindowRect(h, &r);
  m.X = r.left;
  m.Y = r.top;
  m.Width = std::max(1, int(r.right - r.left));
  m.Height = std::max(1, int(r.bottom - r.top));
  m.Title = GetWindowTextStr(h);
  m.Window = SDL_CreateWindow(m.Title.c_str(), m.X, m.Y, m.Width, m.Height, flags);
  if (!m.Window) throw ESdlError(std::string("Cannot create a window: ") + SDL_GetError());
  if (!m.Popup) {
    SDL_SetWindowHitTest(m.Window, &SdlHitTest, this);
    if (TMapped* o = owner ? Find(owner) : nullptr) SDL_SetWindowModalFor(m.Window, o->Window);
    ApplyIcon(h, m.Window);
  }
  m.Dirty = FullRect(m.Width, m.Height);
  FWindows[h] = m;
  XClipboard();  // the first window shows the display the clipboard lives on
}

void TSdlBackend::TopLevelShown(HWND h) {
  TMapped* m = Find(h);
  if (!m) {
    Create(h);
    m = Find(h);
  }
  SDL_Window* focused = SDL_GetKeyboardFocus();
  SDL_ShowWindow(m->Window);
  m->Visible = true;
  m->Dirty = FullRect(m->Width, m->Height);
  if (m->Popup && focused && focused != m->Window) {
    // Without a window manager SDL gives every window it shows the keyboard focus, and
    // the focus is lost for good when that window goes; a pop-up never keeps it.
    SDL_SetWindowInputFocus(focused);
  }
  TopLevelMoved(h);
  if (m->Popup && ActivatingPopup(h)) {
    FGrabbingPopup = h;
    FGrabPress = (SDL_GetGlobalMouseState(nullptr, nullptr) & (SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK)) != 0;
  }
}

bool TSdlBackend::ActivatingPopup(HWND h) {
  return IsWindow(h) && !(DWORD(GetWindowLong(h, GWL_EXSTYLE)) & WS_EX_NOACTIVATE) &&
         GetClassNameStr(h) != "THintWindow";
}

void TSdlBackend::ReleasePopupGrab() {
  if (!FGrabbingPopup) return;
  FGrabbingPopup = nullptr;
}

void TSdlBackend::TopLevelHidden(HWND h) {
  if (h == FGrabbingPopup) ReleasePopupGrab();
  if (TMapped* m = Find(h)) {
    SDL_HideWindow(m->Window);
    m->Visible = false;
  }
}

void TSdlBackend::TopLevelDestroyed(HWND h) {
  auto it = FWindows.find(h);
  if (it == FWindows.end()) return;
  if (h == FGrabbingPopup) ReleasePopupGrab();
  SDL_Window* w = it->second.Window;
  // Windows made transient for this one lose their owner first.
  FWindows.erase(it);
  if (w) SDL_DestroyWindow(w);
  if (FLastActive == h) FLastActive = nullptr;
}

void TSdlBackend::TopLevelMoved(HWND h) {
  TMapped* m = Find(h);
  if (!m) return;
  if (IsIconic(h)) {
    if (!(SDL_GetWindowFlags(m->Window) & SDL_WINDOW_MINIMIZED)) SDL_MinimizeWindow(m->Window);
    return;
  }
  if (SDL_GetWindowFlags(m->Window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(m->Window);
  RECT r;
  GetWindowRect(h, &r);
  int w = std::max(1, int(r.right - r.left)), hh = std::max(1, int(r.bottom - r.top));
  if (r.left != m->X || r.top != m->Y) {
    m->X = r.left;
    m->Y = r.top;
    m->PendingMoves.push_back(POINT{r.left, r.top});
    if (m->PendingMoves.size() > 16) m->PendingMoves.erase(m->PendingMoves.begin());
    SDL_SetWindowPosition(m->Window, m->X, m->Y);
  }
  if (w != m->Width || hh != m->Height) {
    m->Width = w;
    m->Height = hh;
    m->PendingSizes.push_back(SIZE{w, hh});
    if (m->PendingSizes.size() > 16) m->PendingSizes.erase(m->PendingSizes.begin());
    SDL_SetWindowSize(m->Window, w, hh);
    m->Dirty = FullRect(w, hh);
  }
}

void TSdlBackend::TopLevelPainted(HWND h, const RECT& r) {
  if (TMapped* m = Find(h)) m->Dirty = Union(m->Dirty, r);
}

void TSdlBackend::PresentWindow(HWND h, TMapped& m) {
  if (Empty(m.Dirty) || !m.Visible) return;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  std::vector<RECT> shape;
  if (GetWindowRgn(h, region) != ERROR) shape = GetRegionRects(region);
  DeleteObject(region);
  auto same = [](const std::vector<RECT>& a, const std::vector<RECT>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].right != b[i].right || a[i].bottom != b[i].bottom)
        return false;
    return true;
  };
  if (!same(shape, m.Shape)) {
    ApplyWindowShape(m.Window, shape);
    m.Shape = shape;
  }
  // A layered window's alpha becomes the window's opacity (shown by a compositing
  // manager; without one the window stays opaque). Its own picture, when it has one,
  // takes the back buffer's place.
  if (BYTE opacity = LayeredWindowOpacity(h); opacity != m.Opacity) {
    SDL_SetWindowOpacity(m.Window, opacity / 255.0f);
    m.Opacity = opacity;
  }
  auto* src = reinterpret_cast<cairo_surface_t*>(GetLayeredWindowContent(h));
  if (!src) src = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(h));
  SDL_Surface* dst = SDL_GetWindowSurface(m.Window);
  if (!src || !dst || cairo_surface_status(src) != CAIRO_STATUS_SUCCESS) return;
  cairo_surface_flush(src);
  int sw = cairo_image_surface_get_width(src), sh = cairo_image_surface_get_height(src);
  RECT r = m.Dirty;
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, std::min(sw, dst->w));
  r.bottom = std::min<LONG>(r.bottom, std::min(sh, dst->h));
  m.Dirty = RECT{};
  if (Empty(r)) return;
  SDL_Surface* wrap = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(src), sw, sh, 32,
                                                         cairo_image_surface_get_stride(src),
                                                         SDL_PIXELFORMAT_ARGB8888);
  if (!wrap) return;
  SDL_SetSurfaceBlendMode(wrap, SDL_BLENDMODE_NONE);
  SDL_Rect area{int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top)};
  SDL_Rect to = area;
  SDL_BlitSurface(wrap, &area, dst, &to);
  SDL_FreeSurface(wrap);
  SDL_UpdateWindowSurfaceRects(m.Window, &area, 1);
}

void TSdlBackend::Present() {
  UpdateAllWindows();
  for (auto& [h, m] : FWindows) PresentWindow(h, m);
}

void TSdlBackend::Sync() {
  for (auto& [h, m] : FWindows) {
    if (m.Popup || !IsWindow(h)) continue;
    std::string title = GetWindowTextStr(h);
    if (title != m.Title) {
      m.Title = title;
      SDL_SetWindowTitle(m.Window, title.c_str());
    }
  }
  // The layer activated another window: bring its SDL window forward.
  HWND active = GetActiveWindow();
  if (active != FLastActive) {
    FLastActive = active;
    TMapped* m = active ? Find(active) : nullptr;
    if (m && !m->Popup && m->Visible) {
      SDL_RaiseWindow(m->Window);
      // Without a window manager nobody moves the keyboard focus on a click: the window
      // the layer activated takes it itself.
      if (SDL_GetKeyboardFocus() != m->Window) SDL_SetWindowInputFocus(m->Window);
    }
  }
  Present();
}

void TSdlBackend::SetIcon(const std::uint32_t* pixels, int width, int height) {
  if (!pixels || width <= 0 || height <= 0) {
    FIcon.clear();
    FIconWidth = FIconHeight = 0;
  } else {
    FIcon.assign(pixels, pixels + size_t(width) * size_t(height));
    FIconWidth = width;
    FIconHeight = height;
  }
  for (auto& [h, m] : FWindows)
    if (!m.Popup) ApplyIcon(h, m.Window);
}

void TSdlBackend::TopLevelIconChanged(HWND h) {
  TMapped* m = Find(h);
  if (m && m->Window && !m->Popup) ApplyIcon(h, m->Window);
}

void TSdlBackend::ApplyIcon(HWND h, SDL_Window* window) {
  // The window's big icon (the desktop shows icons larger than a caption's), else its
  // small one, else its class's, else the program's.
  TRawImage own;
  for (LPARAM which : {LPARAM(ICON_BIG), LPARAM(ICON_SMALL2)}) {
    if (GetIconImage(reinterpret_cast<HICON>(SendMessage(h, WM_GETICON, WPARAM(which), 0)), &own)) break;
  }
  if (own.Empty()) {
    for (int index : {GCLP_HICON, GCLP_HICONSM})
      if (GetIconImage(reinterpret_cast<HICON>(GetClassLongPtr(h, index)), &own)) break;
  }
  std::uint32_t* pixels = own.Empty() ? FIcon.data() : own.Pixels.data();
  int w = own.Empty() ? FIconWidth : own.Width, ht = own.Empty() ? FIconHeight : own.Height;
  if (!pixels || w <= 0 || ht <= 0) return;  // SDL keeps no way to remove an icon; new windows get none
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(pixels, w, ht, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!s) return;
  SDL_SetWindowIcon(window, s);
  SDL_FreeSurface(s);
}

bool TSdlBackend::CaptionPressed(HWND h, POINT screen) {
  // Only presses count (the left button is down), not the pointer passing over.
  if (!(SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK)) return false;
  unsigned long long now = Now();
  bool twice = FCaptionPressWindow == h && now - FCaptionPressAt <= GetDoubleClickTime() &&
               std::abs(screen.x - FCaptionPressPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(screen.y - FCaptionPressPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  if (twice) {
    FCaptionPressWindow = nullptr;
    FCaptionDoubleClick = h;
    return true;
  }
  FCaptionPressWindow = h;
  FCaptionPressAt = now;
  FCaptionPressPoint = screen;
  return false;
}

bool TSdlBackend::WindowManagerPresent(SDL_Window* window) {
  // Asked on every pointer move over a window: the display is asked again at most twice a
  // second (a manager may start or end while the program runs).
  unsigned long long now = Now();
  if (!FWindowManagerKnown || now - FWindowManagerCheckedAt >= 500) {
    FWindowManager = SdlWindowManagerPresent(window);
    FWindowManagerKnown = true;
    FWindowManagerCheckedAt = now;
  }
  return FWindowManager;
}

// --- cursor and clipboard ------------------------------------------------------------------
void TSdlBackend::CursorChanged(HCURSOR cursor) {
  if (!cursor) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  // Cursors of destroyed handles are freed once they no longer show.
  for (auto it = FImageCursors.begin(); it != FImageCursors.end();) {
    if (!IsIconHandle(it->first) && it->second != SDL_GetCursor()) {
      SDL_FreeCursor(it->second);
      it = FImageCursors.erase(it);
    } else {
      ++it;
    }
  }
  if (!SystemCursorId(cursor)) {
    SDL_Cursor*& own = FImageCursors[cursor];
    if (!own) {
      TRawImage image;
      POINT hot{};
      if (GetIconImage(cursor, &image, &hot)) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(image.Pixels.data(), image.Width, image.Height, 32,
                                                                  image.Width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
          own = SDL_CreateColorCursor(surface, hot.x, hot.y);  // SDL copies the pixels
          SDL_FreeSurface(surface);
        }
      }
    }
    if (own) {
      SDL_SetCursor(own);
      SDL_ShowCursor(SDL_ENABLE);
      return;
    }
    FImageCursors.erase(cursor);  // not an image cursor: the arrow below
  }
  int shape = SdlSystemCursorFor(SystemCursorId(cursor));
  SDL_Cursor*& c = FCursors[shape];
  if (!c) c = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(shape));
  if (c) SDL_SetCursor(c);
  SDL_ShowCursor(SDL_ENABLE);
}

TXClipboard* TSdlBackend::XClipboard() {
  if (!FXClipboard)
    for (auto& [h, m] : FWindows)
      if (m.Window && (FXClipboard = SdlClipboardOpen(m.Window))) break;
  return FXClipboard;
}

void TSdlBackend::ClipboardChanged() {
  if (FInClipboard) return;
  unsigned long seq = GetClipboardSequenceNumber();
  if (FClipboardSeqKnown && seq == FClipboardSeq) return;  // read, not changed
  FInClipboard = true;
  std::string text = GetClipboardTextUtf8();
  FInClipboard = false;
  FClipboardSeq = GetClipboardSequenceNumber();
  FClipboardSeqKnown = true;
  if (TXClipboard* x = XClipboard()) SdlClipboardSet(x, ToDesktopText(text));
  else SDL_SetClipboardText(ToDesktopText(text).c_str());
}

void TSdlBackend::PullClipboard() {
  std::string raw;
  if (TXClipboard* x = XClipboard()) {
    if (SdlClipboardOwned(x) || !SdlClipboardGet(x, &raw)) return;  // ours already, or none
  } else {
    if (!SDL_HasClipboardText()) return;
    char* got = SDL_GetClipboardText();
    if (!got) return;
    raw = got;
    SDL_free(got);
  }
  std::string text = FromDesktopText(raw);
  FInClipboard = true;
  if (text != GetClipboardTextUtf8()) SetClipboardTextUtf8(text);
  FInClipboard = false;
  FClipboardSeq = GetClipboardSequenceNumber();
  FClipboardSeqKnown = true;
}

// --- input ---------------------------------------------------------------------------------
POINT TSdlBackend::ToScreen(std::uint32_t windowId, int x, int y) {
  HWND h = nullptr;
  if (FindById(windowId, &h) && IsWindow(h)) {
    RECT r;
    GetWindowRect(h, &r);
    return POINT{r.left + x, r.top + y};
  }
  int gx = 0, gy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  return POINT{gx, gy};
}

POINT TSdlBackend::PointerPoint(std::uint32_t windowId, int x, int y) {
  // While a window holds the capture it may be moving under the pointer (its own moving
  // loop): the event's window coordinates may belong to its place before the last move,
  // so the pointer's place on the screen is asked instead.
  if (GetCapture()) {
    int gx = 0, gy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    return POINT{gx, gy};
  }
  return ToScreen(windowId, x, y);
}

void TSdlBackend::ReleaseModifiers() {
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU})
    if (GetAsyncKeyState(vk) & 0x8000) InputKey(vk, false);
}

void TSdlBackend::HandleKey(const SDL_Event& e) {
  const SDL_Keysym& k = e.key.keysym;
  bool down = e.type == SDL_KEYDOWN;
  // AltGr is Ctrl+Alt to the layer, as on the system whose keyboard model it keeps: its
  // characters are typed text, not menu keys.
  if (k.sym == SDLK_MODE) {
    InputKey(VK_CONTROL, down);
    InputKey(VK_MENU, down);
    return;
  }
  int vk = SdlKeyToVk(k.scancode, k.sym, (k.mod & KMOD_NUM) != 0);
  if (!vk) return;
  if (!down) {
    InputKey(vk, false);
    return;
  }
  // The text a key types arrives as the next event; it becomes the key's character.
  char32_t ch = 0;
  std::string rest;
  SDL_Event next;
  if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == SDL_TEXTINPUT &&
      SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1) {
    std::string text = next.text.text;
    size_t pos = 0;
    if (!text.empty()) ch = Utf8Next(text, pos);
    rest = text.substr(pos);
  }
  bool ctrl = (k.mod & KMOD_CTRL) != 0, shift = (k.mod & KMOD_SHIFT) != 0;
  if ((vk == 'V' && ctrl) || (vk == VK_INSERT && shift)) PullClipboard();
  InputKey(vk, true, ch);
  size_t pos = 0;
  while (pos < rest.size()) InputChar(Utf8Next(rest, pos));
}

void TSdlBackend::HandleWindowEvent(const SDL_Event& e) {
  HWND h = nullptr;
  TMapped* m = FindById(e.window.windowID, &h);
  if (!m || !IsWindow(h)) return;
  switch (e.window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      m->Dirty = FullRect(m->Width, m->Height);
      break;
    case SDL_WINDOWEVENT_MOVED: {
      POINT p{e.window.data1, e.window.data2};
      auto it = std::find_if(m->PendingMoves.begin(), m->PendingMoves.end(),
                             [&](const POINT& q) { return q.x == p.x && q.y == p.y; });
      if (it != m->PendingMoves.end()) {
        m->PendingMoves.erase(m->PendingMoves.begin(), it + 1);  // our own request arriving
        break;
      }
      if (IsIconic(h) || m->Popup) break;
      // The window manager moved the window.
      m->X = p.x;
      m->Y = p.y;
      RECT r;
      GetWindowRect(h, &r);
      if (r.left != p.x || r.top != p.y)
        SetWindowPos(h, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      SIZE s{e.window.data1, e.window.data2};
      m->Dirty = FullRect(s.cx, s.cy);
      auto it = std::find_if(m->PendingSizes.begin(), m->PendingSizes.end(),
                             [&](const SIZE& q) { return q.cx == s.cx && q.cy == s.cy; });
      if (it != m->PendingSizes.end()) {
        m->PendingSizes.erase(m->PendingSizes.begin(), it + 1);
        break;
      }
      if (IsIconic(h) || m->Popup) break;
      m->Width = s.cx;
      m->Height = s.cy;
      SetWindowPos(h, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      // The layer may have limited the size (WM_GETMINMAXINFO): the window follows it.
      if ((m = Find(h)) != nullptr) TopLevelMoved(h);
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      if (!IsIconic(h) && !m->Popup) ShowWindow(h, SW_MINIMIZE);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      // The window manager's close: the same path as the caption's close button.
      if (!m->Popup && IsWindowEnabled(h)) PostMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: {
      FFocusLost = false;
      if (!GetForegroundWindow()) InputAppActivation(true);
      if (!IsWindow(h) || m->Popup) break;
      HWND target = h;
      if (!IsWindowEnabled(h)) target = GetWindow(h, GW_ENABLEDPOPUP);  // a modal window is up
      // The keyboard coming back to a window whose pop-up is active (a pop-up never keeps
      // the display's focus) leaves the pop-up active.
      if (HWND active = GetActiveWindow(); active && active != target) {
        TMapped* am = Find(active);
        if (am && am->Popup && IsWindowVisible(active) && GetAncestor(active, GA_ROOTOWNER) == GetAncestor(h, GA_ROOTOWNER))
          break;
      }
      if (target && target != GetActiveWindow()) SetActiveWindow(target);
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (m->Popup) {
        FPopupFocusLost = true;
      } else if (!FFocusLost) {
        FFocusLost = true;
        FFocusLostAt = Now();
      }
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (!GetCapture() && !(SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON_LMASK)) {
        int gx = 0, gy = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        InputMouseMove(POINT{gx, gy});
      }
      break;
    default:
      break;
  }
}

void TSdlBackend::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      HandleWindowEvent(e);
      break;
    case SDL_MOUSEMOTION:
      InputMouseMove(PointerPoint(e.motion.windowID, e.motion.x, e.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      TInputButton b;
      switch (e.button.button) {
        case SDL_BUTTON_LEFT: b = TInputButton::Left; break;
        case SDL_BUTTON_RIGHT: b = TInputButton::Right; break;
        case SDL_BUTTON_MIDDLE: b = TInputButton::Middle; break;
        default: return;
      }
      POINT p = PointerPoint(e.button.windowID, e.button.x, e.button.y);
      HWND target = nullptr;
      if (b == TInputButton::Left && FCaptionDoubleClick) {
        // The second press of a double click on a caption whose first press went to the
        // window manager: the caption's double-click message, and its release is not
        // seen (the window may have changed under the pointer).
        if (e.type == SDL_MOUSEBUTTONDOWN && FindById(e.button.windowID, &target) && target == FCaptionDoubleClick &&
            IsWindow(target)) {
          FSwallowLeftUp = true;
          FCaptionDoubleClick = nullptr;
          InputMouseMove(p);
          SendMessage(target, WM_NCLBUTTONDBLCLK, HTCAPTION, PointToLParam(p));
          break;
        }
        FCaptionDoubleClick = nullptr;
      }
      if (b == TInputButton::Left && e.type == SDL_MOUSEBUTTONUP && FSwallowLeftUp) {
        FSwallowLeftUp = false;
        InputMouseMove(p);
        break;
      }
      InputMouseMove(p);
      InputMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN, p);
      break;
    }
    case SDL_MOUSEWHEEL: {
      float dy = e.wheel.preciseY, dx = e.wheel.preciseX;
      if (dy == 0 && dx == 0) {
        dy = float(e.wheel.y);
        dx = float(e.wheel.x);
      }
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
        dy = -dy;
        dx = -dx;
      }
      POINT p = ToScreen(e.wheel.windowID, e.wheel.mouseX, e.wheel.mouseY);
      if (dy != 0) InputMouseWheel(int(dy * WHEEL_DELTA), p);
      if (dx != 0) InputMouseWheel(int(dx * WHEEL_DELTA), p, true);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(e);
      break;
    case SDL_SYSWMEVENT:
      if (FXClipboard) SdlClipboardEvent(FXClipboard, e);
      break;
    case SDL_TEXTINPUT: {
      // Text with no key of its own (an input method, a composed character).
      std::string text = e.text.text;
      size_t pos = 0;
      while (pos < text.size()) InputChar(Utf8Next(text, pos));
      break;
    }
    default:
      break;
  }
}

void TSdlBackend::PollInput() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) Handle(e);
  if (FGrabbingPopup) {
    // Without a window manager a press on another program's window tells us nothing: the
    // pointer is watched while an activating pop-up is shown, and a press on no window of
    // ours takes the activation from us as such a press does with a window manager.
    if (!IsWindow(FGrabbingPopup) || !IsWindowVisible(FGrabbingPopup)) {
      ReleasePopupGrab();
    } else {
      int gx = 0, gy = 0;
      bool down = (SDL_GetGlobalMouseState(&gx, &gy) & (SDL_BUTTON_LMASK | SDL_BUTTON_MMASK | SDL_BUTTON_RMASK)) != 0;
      if (down && !FGrabPress && !WindowFromPoint(POINT{gx, gy})) {
        ReleasePopupGrab();
        ReleaseModifiers();
        InputAppActivation(false);
      }
      FGrabPress = down;
    }
  }
  if (FPopupFocusLost) {
    // A pop-up that had the keyboard (no window manager) went away: the active window
    // takes it back instead of the program losing it.
    FPopupFocusLost = false;
    TMapped* m = GetActiveWindow() ? Find(GetActiveWindow()) : nullptr;
    if (!SDL_GetKeyboardFocus() && m && m->Visible && !m->Popup) {
      SDL_SetWindowInputFocus(m->Window);
      FFocusLost = false;
    }
  }
  if (FFocusLost) {
    if (SDL_GetKeyboardFocus()) {
      FFocusLost = false;  // it went to another window of ours
    } else if (Now() - FFocusLostAt >= kFocusGraceMs) {
      // Another program has the keyboard now.
      FFocusLost = false;
      ReleaseModifiers();
      InputAppActivation(false);
    }
  }
}

void TSdlBackend::Poll() {
  PollInput();
  // Only what is painted already: the queue had no paint left when it asked.
  for (auto& [h, m] : FWindows) PresentWindow(h, m);
}

void TSdlBackend::Wait(bool hasTimer, unsigned long long nextTimerDue) {
  Sync();
  int timeout = -1;
  if (hasTimer) {
    unsigned long long now = Now();
    timeout = nextTimerDue <= now ? 0 : int(std::min<unsigned long long>(nextTimerDue - now, INT_MAX));
  }
  if (FFocusLost) timeout = timeout < 0 ? int(kFocusGraceMs) : std::min(timeout, int(kFocusGraceMs));
  if (FGrabbingPopup) timeout = timeout < 0 ? 30 : std::min(timeout, 30);
  SDL_Event e;
  int got = timeout < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeout);
  if (got) Handle(e);
  PollInput();
}
