#pragma once
// The standard "EDIT" window class: single-line and multi-line text editing with caret,
// selection, clipboard and one-level undo, driven by the EM_* messages and telling its
// parent about changes with WM_COMMAND (EN_*). Text is UTF-8 at the window-text
// boundary; positions (EM_GETSEL, EM_POSFROMCHAR, …) count UTF-16 code units.
//
// The class is registered by RegisterEditClass (idempotent; the framework's edits call
// it before creating their window, code creating "EDIT" windows directly calls it too).
#include <string>

#include "platform/win/ToolTip.h"
#include "platform/win/WinUser.h"

inline constexpr const char* WC_EDIT = "EDIT";

// Edit styles.
enum : DWORD {
  ES_LEFT = 0x0000, ES_CENTER = 0x0001, ES_RIGHT = 0x0002, ES_MULTILINE = 0x0004,
  ES_UPPERCASE = 0x0008, ES_LOWERCASE = 0x0010, ES_PASSWORD = 0x0020, ES_AUTOVSCROLL = 0x0040,
  ES_AUTOHSCROLL = 0x0080, ES_NOHIDESEL = 0x0100, ES_OEMCONVERT = 0x0400, ES_READONLY = 0x0800,
  ES_WANTRETURN = 0x1000, ES_NUMBER = 0x2000,
};

// Edit messages.
enum : UINT {
  EM_GETSEL = 0x00B0, EM_SETSEL = 0x00B1, EM_GETRECT = 0x00B2, EM_SETRECT = 0x00B3,
  EM_SETRECTNP = 0x00B4, EM_SCROLL = 0x00B5, EM_LINESCROLL = 0x00B6, EM_SCROLLCARET = 0x00B7,
  EM_GETMODIFY = 0x00B8, EM_SETMODIFY = 0x00B9, EM_GETLINECOUNT = 0x00BA, EM_LINEINDEX = 0x00BB,
  EM_LINELENGTH = 0x00C1, EM_REPLACESEL = 0x00C2, EM_GETLINE = 0x00C4, EM_LIMITTEXT = 0x00C5,
  EM_SETLIMITTEXT = 0x00C5, EM_CANUNDO = 0x00C6, EM_UNDO = 0x00C7, EM_FMTLINES = 0x00C8,
  EM_LINEFROMCHAR = 0x00C9, EM_SETTABSTOPS = 0x00CB, EM_SETPASSWORDCHAR = 0x00CC,
  EM_EMPTYUNDOBUFFER = 0x00CD, EM_GETFIRSTVISIBLELINE = 0x00CE, EM_SETREADONLY = 0x00CF,
  EM_GETPASSWORDCHAR = 0x00D2, EM_SETMARGINS = 0x00D3, EM_GETMARGINS = 0x00D4,
  EM_GETLIMITTEXT = 0x00D5, EM_POSFROMCHAR = 0x00D6, EM_CHARFROMPOS = 0x00D7,
  ECM_FIRST = 0x1500, EM_SETCUEBANNER = ECM_FIRST + 1, EM_GETCUEBANNER = ECM_FIRST + 2,
  EM_SHOWBALLOONTIP = ECM_FIRST + 3, EM_HIDEBALLOONTIP = ECM_FIRST + 4,
};
enum : WPARAM { EC_LEFTMARGIN = 0x0001, EC_RIGHTMARGIN = 0x0002, EC_USEFONTINFO = 0xFFFF };

// Edit notifications (high word of WM_COMMAND's WParam; LParam is the edit window).
enum : WORD {
  EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400,
  EN_ERRSPACE = 0x0500, EN_MAXTEXT = 0x0501, EN_HSCROLL = 0x0601, EN_VSCROLL = 0x0602,
};

// EM_SHOWBALLOONTIP's record (title and text are wide strings; the icon is a TTI_* value
// of platform/win/ToolTip.h).
struct EDITBALLOONTIP {
  DWORD cbStruct = sizeof(EDITBALLOONTIP);
  const char16_t* pszTitle = nullptr;
  const char16_t* pszText = nullptr;
  int ttiIcon = TTI_NONE;
};

// Registers the "EDIT" class if it is not registered (the window system's reset forgets
// classes). Returns its atom.
ATOM RegisterEditClass();
// The window procedure of the class (the framework's edits pass unhandled messages to it).
LRESULT EditWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The balloon tip an edit shows: EM_SHOWBALLOONTIP puts a balloon (ToolTip.h) under the
// caret, with its stem pointing at the caret's line; it goes on EM_HIDEBALLOONTIP, a key,
// the focus leaving, a mouse button anywhere, after its timeout, or with the edit. False
// when none is shown.
struct TEditBalloon {
  std::u16string Title;
  std::u16string Text;
  int Icon = TTI_NONE;
  HWND Window = nullptr;  // the balloon's window
};
bool GetEditBalloonTip(HWND hwnd, TEditBalloon* balloon);
