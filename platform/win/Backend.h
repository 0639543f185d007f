#pragma once
// Where the window system meets the outside world. A back end supplies the clock, the
// screen and the wait for input, and delivers raw input through the Input* functions;
// the layer turns that input into window messages (hit testing, capture, focus) exactly
// the same way for every back end. The headless back end (platform/backend) drives
// everything from tests; a display back end shows the windows on a real screen.
#include <functional>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/win/WinUser.h"

// A message loop waited for input that can never come (headless run with nothing
// scripted): raised instead of hanging.
LORM_DECLARE_EXCEPTION(EMessageLoopStalled, Exception);

class TBackend {
public:
  virtual ~TBackend() = default;
  // Milliseconds on the one clock behind GetTickCount and the timers.
  virtual unsigned long long Now() = 0;
  // Called by WaitMessage/GetMessage when the queue is empty: returns once something
  // may have arrived (input, a due timer, a scripted step). hasTimer tells whether a timer
  // is pending and nextTimerDue when it falls due.
  virtual void Wait(bool hasTimer, unsigned long long nextTimerDue) = 0;
  // Sleep(ms): time passes without messages being processed.
  virtual void Sleep(unsigned long ms) = 0;
  // Called by PeekMessage when it finds nothing (loops that poll instead of waiting:
  // ProcessMessages, HandleMessage's idle check), at most once per millisecond of Now():
  // deliver whatever input has arrived and show what was painted, without blocking.
  virtual void Poll() {}
  virtual SIZE ScreenSize() { return SIZE{1280, 1024}; }
  virtual RECT WorkArea() { SIZE s = ScreenSize(); return MakeRect(0, 0, s.cx, s.cy - 40); }

  // Notifications from the layer (a display back end mirrors them).
  virtual void TopLevelShown(HWND) {}
  virtual void TopLevelHidden(HWND) {}
  virtual void TopLevelDestroyed(HWND) {}
  virtual void TopLevelMoved(HWND) {}
  virtual void TopLevelPainted(HWND, const RECT&) {}  // window coordinates
  virtual void CursorChanged(HCURSOR) {}
  virtual void TopLevelIconChanged(HWND) {}  // WM_SETICON on a top-level window
  virtual void ClipboardChanged() {}
  virtual void Beep(UINT) {}

  // Whether the file dialogs may ask the desktop's own file chooser (the XDG desktop
  // portal on the session bus) before showing the layer's dialog. A display back end
  // answers yes; the headless one only when a test asks for it, so that ordinary headless
  // runs never talk to a session bus.
  virtual bool OffersDesktopFileChooser() { return false; }
  // A top-level window as the desktop portal names a dialog's parent ("x11:<hex id>");
  // empty when the window is not on a display.
  virtual std::string DesktopWindowId(HWND) { return std::string(); }
};

// Installs a back end (nullptr: the built-in one, a virtual clock standing at 0 that
// refuses to wait). Returns the previous one. The caller keeps ownership.
TBackend* SetBackend(TBackend* backend);
TBackend& CurrentBackend();

// ---------------------------------------------------------------------------------------
// Raw input from a back end (screen coordinates). Each call turns the event into the
// window messages it causes and posts them; the caller then processes the queue.
enum class TInputButton { Left, Right, Middle };
void InputMouseMove(POINT screenPoint);
void InputMouseButton(TInputButton button, bool down, POINT screenPoint);
void InputMouseWheel(int delta, POINT screenPoint, bool horizontal = false);
// A key goes down or up. ch is the character the key produces with the current shift
// state (0: worked out from the key and the modifiers with a US layout).
void InputKey(int vk, bool down, char32_t ch = 0);
// A character with no key of its own (text input): VK_PACKET down and up.
void InputChar(char32_t ch);
// The application loses or regains activation (another program got the focus).
void InputAppActivation(bool active);

// ---------------------------------------------------------------------------------------
// Loop helpers for back ends and tests.
// Dispatches every message waiting (posted, input, paint, due timers) and returns when
// the queue is empty; WM_QUIT is left in the queue. Each message goes through the
// installed message filter first (the application's key and dialog handling), and is
// translated and dispatched only when the filter does not take it.
void ProcessPendingMessages();
using TMessageFilter = std::function<bool(MSG& msg)>;
TMessageFilter SetMessageFilter(TMessageFilter filter);  // returns the previous one
// Runs one message through the filter, TranslateMessage and DispatchMessage.
void HandleOneMessage(MSG& msg);
// The earliest due time of a timer; false when no timer runs.
bool NextTimerDue(unsigned long long* due);
// Messages dispatched so far (tests can see whether anything happened).
unsigned long long DispatchedMessageCount();
