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
};
bool GetBalloonTipInfo(HWND tip, TBalloonTipInfo* info);
