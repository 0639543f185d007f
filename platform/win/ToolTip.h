#pragma once
// The tool-tip window class ("tooltips_class32") in balloon style: an owned, topmost pop-up
// that never takes activation, drawn as a rounded rectangle with a stem pointing at a
// point of the screen, an optional bold title with a small icon, and the text below.
//
// A balloon goes away after a timeout on the window layer's clock, on any mouse button
// pressed anywhere in the program, or when its owner closes it (CloseBalloonTip). The
// window speaking through the balloon (the tool) is told once when it goes.
#include <string>

#include "platform/win/WinUser.h"

inline constexpr const char* TOOLTIPS_CLASS = "tooltips_class32";

// Tool-tip styles.
enum : DWORD {
  TTS_ALWAYSTIP = 0x01, TTS_NOPREFIX = 0x02, TTS_NOANIMATE = 0x10, TTS_NOFADE = 0x20,
  TTS_BALLOON = 0x40, TTS_CLOSE = 0x80,
};
// Title icons (any other value shows none).
enum : int { TTI_NONE = 0, TTI_INFO = 1, TTI_WARNING = 2, TTI_ERROR = 3 };

// How long a balloon stays when nothing closes it (milliseconds).
inline constexpr UINT kBalloonTipTimeout = 10000;

// Registers the class if it is not registered (the window system's reset forgets
// classes). Returns its atom.
ATOM RegisterToolTipClass();

struct TBalloonTipParams {
  HWND Tool = nullptr;  // the window the balloon speaks for; its top-level window owns it
  POINT Stem{};         // the screen point the stem points at
  // The stem points under a line this high ending at Stem (a caret's line); a balloon that
  // opens above points at the line's top instead. 0: at Stem either way.
  int LineHeight = 0;
  std::u16string Title;
  std::u16string Text;
  int Icon = TTI_NONE;
  UINT TimeoutMs = kBalloonTipTimeout;  // 0: until closed
  // Told once, when the balloon goes for whatever reason (called before it is destroyed).
  void (*OnClosed)(HWND tool, HWND tip) = nullptr;
};

// Shows a balloon under the stem point (above the line when the work area has no room
// below), without activating it. Returns its window, or nullptr when the tool is no window.
HWND ShowBalloonTip(const TBalloonTipParams& params);
// Closes a balloon at once (its OnClosed runs). False when tip is no open balloon.
bool CloseBalloonTip(HWND tip);

// What an open balloon shows and where (tests, accessibility).
struct TBalloonTipInfo {
  HWND Tool = nullptr;
  POINT Stem{};      // screen point of the stem's tip (where it points)
  RECT Body{};       // screen rectangle of the rounded body
  bool Below = true;  // the body hangs below the stem point
  std::u16string Title;
  std::u16string Text;
  int Icon = TTI_NONE;
  COLORREF TextColor = 0, BkColor = 0;  // the colours it is painted in
};
// False when tip is not showing a balloon.
bool GetBalloonTipInfo(HWND tip, TBalloonTipInfo* info);

// ---------------------------------------------------------------------------------------
// The tool-tip control: a window of the class made with CreateWindowEx and driven by TTM_
// messages. Tools are areas of other windows; with TTF_SUBCLASS the control watches the
// tool window's mouse messages itself. When the mouse rests on a tool for the initial
// delay the control asks the tool window for the text (WM_NOTIFY with TTN_NEEDTEXT, for
// tools registered with LPSTR_TEXTCALLBACK) and shows it as a balloon pointing at the
// mouse, with the title and icon of TTM_SETTITLE; an empty text shows nothing. The
// balloon goes when the mouse leaves the tool or its window, on a button press, after the
// auto-pop delay and on TTM_POP; the next rest on a tool shows it again. Texts are UTF-8.
enum : UINT {
  TTM_SETDELAYTIME = WM_USER + 3,     // wParam TTDT_*, LOWORD(lParam) ms (0xFFFF: the default)
  TTM_ADDTOOL = WM_USER + 4,          // lParam TOOLINFO*
  TTM_SETTIPBKCOLOR = WM_USER + 19,   // wParam COLORREF
  TTM_SETTIPTEXTCOLOR = WM_USER + 20,  // wParam COLORREF
  TTM_GETDELAYTIME = WM_USER + 21,    // wParam TTDT_*: the delay in effect
  TTM_POP = WM_USER + 28,
  TTM_SETTITLE = WM_USER + 32,  // wParam icon (TTI_*), lParam the title (const char*)
};
enum : int { TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3 };
enum : UINT { TTF_IDISHWND = 0x0001, TTF_CENTERTIP = 0x0002, TTF_SUBCLASS = 0x0010 };

inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(-1);

struct TOOLINFO {
  UINT cbSize = sizeof(TOOLINFO);
  UINT uFlags = 0;
  HWND hwnd = nullptr;  // the window holding the tool; it hears TTN_NEEDTEXT
  UINT_PTR uId = 0;     // with TTF_IDISHWND: the tool's window (its whole client area)
  RECT rect{};          // otherwise the tool's area in hwnd's client coordinates
  HINSTANCE hinst = nullptr;
  char* lpszText = nullptr;  // the text, or LPSTR_TEXTCALLBACK to be asked each time
  LPARAM lParam = 0;
};

// The header of every WM_NOTIFY notification.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

enum : UINT {
  TTN_FIRST = 0u - 520u,
  TTN_GETDISPINFO = TTN_FIRST,
  TTN_NEEDTEXT = TTN_GETDISPINFO,
  TTN_SHOW = TTN_FIRST - 1,
  TTN_POP = TTN_FIRST - 2,
};

// TTN_NEEDTEXT: the tool window points lpszText at the text (which must live until the
// notification returns) or copies a short one into szText.
struct NMTTDISPINFO {
  NMHDR hdr;
  char* lpszText = nullptr;
  char szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};
