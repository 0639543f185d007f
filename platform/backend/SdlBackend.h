#pragma once
// The display back end: the layer's top-level windows shown as real windows through SDL2
// (X11; a Wayland session runs it through XWayland). Every top-level window is a
// borderless SDL window whose pixels are the layer's back buffer, so the layer draws the
// frame, caption and menu bar itself; the window manager moves and sizes the window
// through SDL hit testing fed from WM_NCHITTEST, and with no window manager running the
// window system's own moving and sizing loops do. Owned pop-ups (menus, drop-downs, hints)
// are override-redirect windows at screen coordinates. Input enters through the same
// Input* functions the test robot uses; the clock is the monotonic system clock; text on
// the clipboard is exchanged with the desktop.
//
//   TSdlBackend display;          // opens the display (ESdlError when there is none)
//   TSdlBackendScope use(display); // installs it for the window system
//   ... Application->Run();
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Backend.h"

// The display cannot be opened or SDL fails.
LORM_DECLARE_EXCEPTION(ESdlError, Exception);

struct SDL_Window;
struct SDL_Cursor;
struct TXClipboard;
union SDL_Event;

class TSdlBackend : public TBackend {
public:
  // Initialises SDL's video (SDL_VIDEODRIVER defaults to x11). Raises ESdlError when no
  // display can be opened.
  TSdlBackend();
  ~TSdlBackend() override;
  TSdlBackend(const TSdlBackend&) = delete;
  TSdlBackend& operator=(const TSdlBackend&) = delete;

  unsigned long long Now() override;
  void Wait(bool hasTimer, unsigned long long nextTimerDue) override;
  // A polling loop found its queue empty: input that has arrived is delivered and what
  // was painted is shown.
  void Poll() override;
  void Sleep(unsigned long ms) override;
  SIZE ScreenSize() override;
  RECT WorkArea() override;

  void TopLevelShown(HWND h) override;
  void TopLevelHidden(HWND h) override;
  void TopLevelDestroyed(HWND h) override;
  void TopLevelMoved(HWND h) override;
  void TopLevelPainted(HWND h, const RECT& r) override;
  void TopLevelIconChanged(HWND h) override;
  // System cursors show as the display's own shapes; cursors made from images (resources,
  // CreateIconIndirect…) as colour cursors with their hot spot.
  void CursorChanged(HCURSOR cursor) override;
  void ClipboardChanged() override;
  // The file dialogs ask the desktop's chooser first; a window on X11 is named "x11:<hex id>".
  bool OffersDesktopFileChooser() override { return true; }
  std::string DesktopWindowId(HWND h) override;

  // The icon of every window (the window manager's title bar, task bar, switcher):
  // straight-alpha 0xAARRGGBB pixels, rows top-down (a TRawImage's layout). An empty
  // picture removes it. A window's own icon (WM_SETICON, its class's icon) comes first.
  void SetIcon(const std::uint32_t* pixels, int width, int height);

  // Shows every pending paint on the screen now (Wait does it before it blocks).
  void Present();
  // Handles whatever input has arrived, without blocking (for loops that poll).
  void PollInput();

  // The SDL window showing a top-level window (nullptr when it has none); for tests.
  SDL_Window* WindowOf(HWND h) const;
  HWND WindowFromSdl(SDL_Window* window) const;
  // SDL's hit test tells a press on a caption (which it hands to the window manager as a
  // move unless this answers true): true for the second press of a double click, which
  // then reaches the window as the caption's double-click message.
  bool CaptionPressed(HWND h, POINT screen);
  // Whether a window manager runs (X11: one that names its check window); without one,
  // presses on captions and borders are not handed to SDL's window-manager drag but reach
  // the window system, whose moving and sizing loops move the window.
  bool WindowManagerPresent(SDL_Window* window);

private:
  struct TMapped {
    SDL_Window* Window = nullptr;
    bool Popup = false;      // override-redirect: menus, drop-downs, hints
    bool Visible = false;
    RECT Dirty{};            // window coordinates not yet presented
    std::string Title;
    // The SDL window's geometry as last requested or reported, and our own requests
    // whose notifications have not come back yet (they are not the window manager's).
    int X = 0, Y = 0, Width = 0, Height = 0;
    std::vector<POINT> PendingMoves;
    std::vector<SIZE> PendingSizes;
    std::vector<RECT> Shape;  // the window region last given to the display (empty: none)
    BYTE Opacity = 255;       // the layered window's alpha last given to the display
  };
  TMapped* Find(HWND h);
  TMapped* FindById(std::uint32_t windowId, HWND* hwnd);
  void Create(HWND h);
  void PresentWindow(HWND h, TMapped& m);
  void Sync();
  void Handle(const SDL_Event& e);
  void HandleWindowEvent(const SDL_Event& e);
  void HandleKey(const SDL_Event& e);
  void ApplyIcon(HWND h, SDL_Window* window);
  void PullClipboard();
  TXClipboard* XClipboard();
  void ReleaseModifiers();
  POINT ToScreen(std::uint32_t windowId, int x, int y);
  POINT PointerPoint(std::uint32_t windowId, int x, int y);

  unsigned long long FStart = 0;  // steady clock at construction, ms
  std::map<HWND, TMapped> FWindows;
  std::map<int, SDL_Cursor*> FCursors;
  std::map<HCURSOR, SDL_Cursor*> FImageCursors;  // handles are never reused
  std::vector<std::uint32_t> FIcon;
  int FIconWidth = 0, FIconHeight = 0;
  HWND FLastActive = nullptr;
  bool FFocusLost = false;       // one of our windows lost the keyboard focus…
  unsigned long long FFocusLostAt = 0;  // …at this time
  bool FPopupFocusLost = false;  // a pop-up lost the keyboard focus
  // An activating pop-up (a drop-down's form) is shown: the pointer is watched so that a
  // press on another program's window takes the activation away, with or without a
  // window manager; whether a button was down at the last look.
  HWND FGrabbingPopup = nullptr;
  bool FGrabPress = false;
  void ReleasePopupGrab();
  static bool ActivatingPopup(HWND h);
  // Clipboard exchange: the sequence number of the layer's clipboard already pushed to
  // the desktop, and a guard while desktop text is copied into the layer.
  unsigned long FClipboardSeq = 0;
  bool FClipboardSeqKnown = false;
  bool FInClipboard = false;
  // The X11 clipboard (STRING as well as UTF8_STRING); null off X11 or before a window
  // exists to find the display through.
  TXClipboard* FXClipboard = nullptr;
  // The last press on a caption that went to the window manager as a move; the window
  // whose caption was just pressed a second time (a double click), and the release of
  // that press still to come.
  HWND FCaptionPressWindow = nullptr;
  unsigned long long FCaptionPressAt = 0;
  POINT FCaptionPressPoint{};
  HWND FCaptionDoubleClick = nullptr;
  bool FSwallowLeftUp = false;
  // The last answer of WindowManagerPresent and when it was asked.
  bool FWindowManager = true;
  bool FWindowManagerKnown = false;
  unsigned long long FWindowManagerCheckedAt = 0;
};

// Installs a back end for the window system for a scope, restoring the previous one.
class TSdlBackendScope {
public:
  explicit TSdlBackendScope(TSdlBackend& backend) : FPrevious(SetBackend(&backend)) {}
  ~TSdlBackendScope() { SetBackend(FPrevious); }
  TSdlBackendScope(const TSdlBackendScope&) = delete;
  TSdlBackendScope& operator=(const TSdlBackendScope&) = delete;

private:
  TBackend* FPrevious;
};

// The virtual-key code of a key reported by SDL: keycode (the layout's symbol) for
// Latin letters, otherwise the physical key (scancode), so non-Latin layouts keep the
// letters' key codes as the system does. numLock selects digits or navigation for the
// keypad. 0 when the key has no code.
int SdlKeyToVk(int scancode, int keycode, bool numLock);
// The system cursor shape (SDL_SystemCursor) for an OCR_* id; arrow for others.
int SdlSystemCursorFor(int ocrId);
// What SDL should do with a press at a point whose WM_NCHITTEST result is hitTest
// (SDL_HitTestResult): drag for the caption, resize for borders of a sizable window.
int SdlHitTestResultFor(int hitTest, bool sizable);
