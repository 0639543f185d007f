#pragma once
// The window system: window classes and procedures, the window tree and z-order, the
// message queue and its loops, timers, focus, activation, capture, key state, cursors,
// hooks, scroll bars, caret, system metrics and parameters, clipboard.
//
// Everything runs on one thread. Text is UTF-8. Coordinates of a top-level window are
// screen coordinates; those of a child window are relative to its parent's client area.
#include <string>

#include "platform/win/GlobalMemory.h"
#include "platform/win/Messages.h"
#include "platform/gdi/SysColors.h"
#include "platform/win/WinDef.h"

// ---------------------------------------------------------------------------------------
// Styles
enum : DWORD {
  WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
  WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
  WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
  WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
  WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
  WS_THICKFRAME = 0x00040000, WS_SIZEBOX = 0x00040000, WS_GROUP = 0x00020000,
  WS_TABSTOP = 0x00010000, WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
  WS_ICONIC = WS_MINIMIZE, WS_TILED = WS_OVERLAPPED, WS_CHILDWINDOW = WS_CHILD,
  WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                        WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
  WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU,
};
enum : DWORD {
  WS_EX_DLGMODALFRAME = 0x00000001, WS_EX_NOPARENTNOTIFY = 0x00000004,
  WS_EX_TOPMOST = 0x00000008, WS_EX_ACCEPTFILES = 0x00000010,
  WS_EX_TRANSPARENT = 0x00000020, WS_EX_MDICHILD = 0x00000040,
  WS_EX_TOOLWINDOW = 0x00000080, WS_EX_WINDOWEDGE = 0x00000100,
  WS_EX_CLIENTEDGE = 0x00000200, WS_EX_CONTEXTHELP = 0x00000400, WS_EX_RIGHT = 0x00001000,
  WS_EX_LEFT = 0, WS_EX_RTLREADING = 0x00002000, WS_EX_LEFTSCROLLBAR = 0x00004000,
  WS_EX_CONTROLPARENT = 0x00010000, WS_EX_STATICEDGE = 0x00020000,
  WS_EX_APPWINDOW = 0x00040000, WS_EX_LAYERED = 0x00080000,
  WS_EX_NOINHERITLAYOUT = 0x00100000, WS_EX_LAYOUTRTL = 0x00400000,
  WS_EX_COMPOSITED = 0x02000000, WS_EX_NOACTIVATE = 0x08000000,
  WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE,
  WS_EX_PALETTEWINDOW = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
};
enum : UINT {
  CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_OWNDC = 0x0020,
  CS_CLASSDC = 0x0040, CS_PARENTDC = 0x0080, CS_NOCLOSE = 0x0200, CS_SAVEBITS = 0x0800,
  CS_BYTEALIGNCLIENT = 0x1000, CS_BYTEALIGNWINDOW = 0x2000, CS_GLOBALCLASS = 0x4000,
  CS_DROPSHADOW = 0x00020000,
};

// ---------------------------------------------------------------------------------------
// Show, position, hit-test, mouse, activation codes
enum : int {
  SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3, SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5,
  SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7, SW_SHOWNA = 8, SW_RESTORE = 9,
  SW_SHOWDEFAULT = 10,
};
enum : UINT {
  SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
  SWP_NOACTIVATE = 0x0010, SWP_FRAMECHANGED = 0x0020, SWP_DRAWFRAME = 0x0020,
  SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080, SWP_NOCOPYBITS = 0x0100,
  SWP_NOOWNERZORDER = 0x0200, SWP_NOREPOSITION = 0x0200, SWP_NOSENDCHANGING = 0x0400,
  SWP_DEFERERASE = 0x2000, SWP_ASYNCWINDOWPOS = 0x4000,
};
inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline HWND const HWND_DESKTOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);
inline constexpr int CW_USEDEFAULT = int(0x80000000);

enum : int {
  HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2,
  HTSYSMENU = 3, HTGROWBOX = 4, HTSIZE = 4, HTMENU = 5, HTHSCROLL = 6, HTVSCROLL = 7,
  HTMINBUTTON = 8, HTREDUCE = 8, HTMAXBUTTON = 9, HTZOOM = 9, HTLEFT = 10, HTRIGHT = 11,
  HTTOP = 12, HTTOPLEFT = 13, HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16,
  HTBOTTOMRIGHT = 17, HTBORDER = 18, HTOBJECT = 19, HTCLOSE = 20, HTHELP = 21,
};
enum : UINT {
  MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
  MK_MBUTTON = 0x0010, MK_XBUTTON1 = 0x0020, MK_XBUTTON2 = 0x0040,
};
inline constexpr int WHEEL_DELTA = 120;
enum : int { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };
enum : int { MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4 };
enum : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2, SIZE_MAXSHOW = 3, SIZE_MAXHIDE = 4 };
enum : UINT {
  SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
  SC_NEXTWINDOW = 0xF040, SC_PREVWINDOW = 0xF050, SC_CLOSE = 0xF060, SC_VSCROLL = 0xF070,
  SC_HSCROLL = 0xF080, SC_MOUSEMENU = 0xF090, SC_KEYMENU = 0xF100, SC_RESTORE = 0xF120,
  SC_TASKLIST = 0xF130, SC_DEFAULT = 0xF160, SC_CONTEXTHELP = 0xF180,
};
// The edge WM_SIZING reports (also the low bits of SC_SIZE).
enum : int {
  WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5, WMSZ_BOTTOM = 6,
  WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8,
};
enum : UINT {
  DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
  DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
  DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000,
};
enum : int {
  GWL_WNDPROC = -4, GWLP_WNDPROC = -4, GWL_HINSTANCE = -6, GWLP_HINSTANCE = -6,
  GWL_HWNDPARENT = -8, GWLP_HWNDPARENT = -8, GWL_ID = -12, GWLP_ID = -12,
  GWL_STYLE = -16, GWL_EXSTYLE = -20, GWL_USERDATA = -21, GWLP_USERDATA = -21,
};
enum : int {
  GCL_MENUNAME = -8, GCLP_HBRBACKGROUND = -10, GCL_HBRBACKGROUND = -10,
  GCLP_HCURSOR = -12, GCL_HCURSOR = -12, GCLP_HICON = -14, GCL_HICON = -14,
  GCLP_HMODULE = -16, GCL_CBWNDEXTRA = -18, GCL_CBCLSEXTRA = -20, GCLP_WNDPROC = -24,
  GCL_WNDPROC = -24, GCL_STYLE = -26, GCLP_HICONSM = -34,
};
enum : UINT {
  GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
  GW_CHILD = 5, GW_ENABLEDPOPUP = 6,
};
enum : UINT { GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3 };
enum : UINT {
  CWP_ALL = 0x0000, CWP_SKIPINVISIBLE = 0x0001, CWP_SKIPDISABLED = 0x0002,
  CWP_SKIPTRANSPARENT = 0x0004,
};
enum : UINT {
  RDW_INVALIDATE = 0x0001, RDW_INTERNALPAINT = 0x0002, RDW_ERASE = 0x0004,
  RDW_VALIDATE = 0x0008, RDW_NOINTERNALPAINT = 0x0010, RDW_NOERASE = 0x0020,
  RDW_NOCHILDREN = 0x0040, RDW_ALLCHILDREN = 0x0080, RDW_UPDATENOW = 0x0100,
  RDW_ERASENOW = 0x0200, RDW_FRAME = 0x0400, RDW_NOFRAME = 0x0800,
};
enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001, PM_NOYIELD = 0x0002 };

// ---------------------------------------------------------------------------------------
// Virtual keys
enum : int {
  VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
  VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
  VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
  VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
  VK_SELECT = 0x29, VK_PRINT = 0x2A, VK_EXECUTE = 0x2B, VK_SNAPSHOT = 0x2C,
  VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F, VK_LWIN = 0x5B, VK_RWIN = 0x5C,
  VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4,
  VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9, VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
  VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2, VK_F3, VK_F4, VK_F5, VK_F6, VK_F7, VK_F8, VK_F9,
  VK_F10, VK_F11, VK_F12, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0,
  VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4,
  VK_RMENU = 0xA5, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC,
  VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0,
  VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
  VK_PROCESSKEY = 0xE5, VK_PACKET = 0xE7,
};

// ---------------------------------------------------------------------------------------
// Structures
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int code, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;  // a brush, or (HBRUSH)(COLOR_xxx + 1)
  LPCSTR lpszMenuName = nullptr;
  LPCSTR lpszClassName = nullptr;
};
struct WNDCLASSEX {
  UINT cbSize = sizeof(WNDCLASSEX);
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  LPCSTR lpszMenuName = nullptr;
  LPCSTR lpszClassName = nullptr;
  HICON hIconSm = nullptr;
};
struct CREATESTRUCT {
  LPVOID lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0, cx = 0, y = 0, x = 0;
  LONG style = 0;
  LPCSTR lpszName = nullptr;
  LPCSTR lpszClass = nullptr;
  DWORD dwExStyle = 0;
};
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
  DWORD lPrivate = 0;  // key messages: the character TranslateMessage produces
};
using LPMSG = MSG*;
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};
struct MINMAXINFO {
  POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};
struct STYLESTRUCT {
  DWORD styleOld = 0;
  DWORD styleNew = 0;
};
struct WINDOWPLACEMENT {
  UINT length = sizeof(WINDOWPLACEMENT);
  UINT flags = 0;
  UINT showCmd = 0;
  POINT ptMinPosition, ptMaxPosition;
  RECT rcNormalPosition;
};
struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};
enum : DWORD { TME_HOVER = 0x1, TME_LEAVE = 0x2, TME_NONCLIENT = 0x10, TME_QUERY = 0x40000000, TME_CANCEL = 0x80000000 };
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

// ---------------------------------------------------------------------------------------
// Window classes
ATOM RegisterClass(const WNDCLASS* wc);
ATOM RegisterClassEx(const WNDCLASSEX* wc);
BOOL UnregisterClass(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc);
BOOL GetClassInfoEx(HINSTANCE instance, LPCSTR className, WNDCLASSEX* wc);
int GetClassName(HWND hwnd, char* buffer, int size);
std::string GetClassNameStr(HWND hwnd);
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
inline DWORD GetClassLong(HWND h, int i) { return DWORD(GetClassLongPtr(h, i)); }
inline DWORD SetClassLong(HWND h, int i, LONG v) { return DWORD(SetClassLongPtr(h, i, v)); }
HINSTANCE GetModuleHandle(LPCSTR name);
inline HINSTANCE HInstance() { return GetModuleHandle(nullptr); }

// ---------------------------------------------------------------------------------------
// Windows
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param);
inline HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                         LPVOID param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu,
                        instance, param);
}
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);  // the window and all its ancestors are visible
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);  // hwnd is a descendant of parent
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);  // returns TRUE when it was disabled before
BOOL ShowWindow(HWND hwnd, int cmd);        // returns TRUE when it was visible before
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* wp);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* wp);
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetParent(HWND hwnd);  // the parent of a child window, the owner of a pop-up
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);  // nullptr: the topmost top-level window
HWND GetDesktopWindow();
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM param);  // top-level windows, top to bottom
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM param);
HWND FindWindow(LPCSTR className, LPCSTR windowName);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND h, int i) { return LONG(GetWindowLongPtr(h, i)); }
inline LONG SetWindowLong(HWND h, int i, LONG v) { return LONG(SetWindowLongPtr(h, i, v)); }
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

BOOL SetProp(HWND hwnd, LPCSTR name, HANDLE data);
HANDLE GetProp(HWND hwnd, LPCSTR name);
HANDLE RemoveProp(HWND hwnd, LPCSTR name);

BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, char* buffer, int size);
int GetWindowTextLength(HWND hwnd);
std::string GetWindowTextStr(HWND hwnd);

BOOL GetWindowRect(HWND hwnd, RECT* rect);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* rect);  // (0, 0, width, height) of the client area
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
inline int MapWindowPoints(HWND from, HWND to, RECT* rect, UINT count) {
  return MapWindowPoints(from, to, reinterpret_cast<POINT*>(rect), count * 2);
}
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
// Window shapes: the window owns the region afterwards (GDI region from platform/gdi).
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN region);

// The window rectangle that gives a client rectangle `rect` for a style (scroll bars not
// counted, as the system does).
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
inline BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);  // a non-null menu reserves a menu bar line
BOOL DrawMenuBar(HWND hwnd);

// ---------------------------------------------------------------------------------------
// Messages and the queue
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);  // hwnd nullptr: thread message
BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
DWORD GetCurrentThreadId();
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);  // FALSE on WM_QUIT
LRESULT DispatchMessage(const MSG* msg);
BOOL TranslateMessage(const MSG* msg);
BOOL WaitMessage();
void PostQuitMessage(int exitCode);
UINT RegisterWindowMessage(LPCSTR name);
DWORD GetMessageTime();
DWORD GetMessagePos();
LPARAM GetMessageExtraInfo();
BOOL InSendMessage();
BOOL CallMsgFilter(MSG* msg, int code);
// Messages waiting in the queue of this thread (QS_* flags).
enum : UINT {
  QS_KEY = 0x0001, QS_MOUSEMOVE = 0x0002, QS_MOUSEBUTTON = 0x0004, QS_POSTMESSAGE = 0x0008,
  QS_TIMER = 0x0010, QS_PAINT = 0x0020, QS_SENDMESSAGE = 0x0040, QS_HOTKEY = 0x0080,
  QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON, QS_INPUT = QS_MOUSE | QS_KEY,
  QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY,
  QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE,
};
DWORD GetQueueStatus(UINT flags);

// ---------------------------------------------------------------------------------------
// Timers and time (one clock, supplied by the back end)
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();
unsigned long long GetTickCount64();
void Sleep(DWORD ms);  // advances nothing by itself in a headless run; see the back end

// ---------------------------------------------------------------------------------------
// Focus, activation, capture
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
BOOL LockWindowUpdate(HWND hwnd);

// ---------------------------------------------------------------------------------------
// Keyboard and mouse state
SHORT GetKeyState(int vk);       // bit 15: down; bit 0: toggled
SHORT GetAsyncKeyState(int vk);  // bit 15: down
BOOL GetKeyboardState(BYTE* state256);
BOOL SetKeyboardState(const BYTE* state256);
UINT MapVirtualKey(UINT code, UINT mapType);
// The keyboard layout's name of a key: lParam carries the scan code in bits 16..23 and
// the extended-key flag in bit 24, as in WM_KEYDOWN ("Ctrl", "Right Ctrl", "Page Up",
// "F5", "A"). Returns the length copied (without the terminating zero), 0 when unknown.
int GetKeyNameText(LONG lParam, char* buffer, int size);
SHORT VkKeyScan(char ch);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();
BOOL SwapMouseButton(BOOL swap);

// Cursors: the system cursors are fixed handle values the back end maps to its shapes.
inline LPCSTR MAKEINTRESOURCE(int id) { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(WORD(id))); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0; }
enum : int {
  OCR_NORMAL = 32512, OCR_IBEAM = 32513, OCR_WAIT = 32514, OCR_CROSS = 32515,
  OCR_UP = 32516, OCR_SIZE = 32640, OCR_ICON = 32641, OCR_SIZENWSE = 32642,
  OCR_SIZENESW = 32643, OCR_SIZEWE = 32644, OCR_SIZENS = 32645, OCR_SIZEALL = 32646,
  OCR_NO = 32648, OCR_HAND = 32649, OCR_APPSTARTING = 32650, OCR_HELP = 32651,
};
inline LPCSTR const IDC_ARROW = MAKEINTRESOURCE(OCR_NORMAL);
inline LPCSTR const IDC_IBEAM = MAKEINTRESOURCE(OCR_IBEAM);
inline LPCSTR const IDC_WAIT = MAKEINTRESOURCE(OCR_WAIT);
inline LPCSTR const IDC_CROSS = MAKEINTRESOURCE(OCR_CROSS);
inline LPCSTR const IDC_UPARROW = MAKEINTRESOURCE(OCR_UP);
inline LPCSTR const IDC_SIZE = MAKEINTRESOURCE(OCR_SIZE);
inline LPCSTR const IDC_ICON = MAKEINTRESOURCE(OCR_ICON);
inline LPCSTR const IDC_SIZENWSE = MAKEINTRESOURCE(OCR_SIZENWSE);
inline LPCSTR const IDC_SIZENESW = MAKEINTRESOURCE(OCR_SIZENESW);
inline LPCSTR const IDC_SIZEWE = MAKEINTRESOURCE(OCR_SIZEWE);
inline LPCSTR const IDC_SIZENS = MAKEINTRESOURCE(OCR_SIZENS);
inline LPCSTR const IDC_SIZEALL = MAKEINTRESOURCE(OCR_SIZEALL);
inline LPCSTR const IDC_NO = MAKEINTRESOURCE(OCR_NO);
inline LPCSTR const IDC_HAND = MAKEINTRESOURCE(OCR_HAND);
inline LPCSTR const IDC_APPSTARTING = MAKEINTRESOURCE(OCR_APPSTARTING);
inline LPCSTR const IDC_HELP = MAKEINTRESOURCE(OCR_HELP);
// A system cursor for a nullptr instance and an IDC_* id; other cursors are registered
// by the resource layer through RegisterCursorLoader.
HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name);
using TCursorLoader = HCURSOR (*)(HINSTANCE instance, LPCSTR name);
void RegisterCursorLoader(TCursorLoader loader);
int SystemCursorId(HCURSOR cursor);  // the OCR_* id of a system cursor, 0 otherwise
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);

// ---------------------------------------------------------------------------------------
// Hooks of this thread: a filter chain run by the loop (WH_GETMESSAGE when a message is
// taken from the queue, WH_CALLWNDPROC before a procedure gets a sent message,
// WH_MSGFILTER from CallMsgFilter in nested loops, WH_KEYBOARD/WH_MOUSE for input,
// WH_CBT for creation, destruction, activation and focus).
enum : int {
  WH_MSGFILTER = -1, WH_JOURNALRECORD = 0, WH_JOURNALPLAYBACK = 1, WH_KEYBOARD = 2,
  WH_GETMESSAGE = 3, WH_CALLWNDPROC = 4, WH_CBT = 5, WH_SYSMSGFILTER = 6, WH_MOUSE = 7,
  WH_DEBUG = 9, WH_SHELL = 10, WH_FOREGROUNDIDLE = 11, WH_CALLWNDPROCRET = 12,
  WH_KEYBOARD_LL = 13, WH_MOUSE_LL = 14,
};
enum : int { HC_ACTION = 0, HC_NOREMOVE = 3 };
enum : int {
  MSGF_DIALOGBOX = 0, MSGF_MESSAGEBOX = 1, MSGF_MENU = 2, MSGF_SCROLLBAR = 5,
  MSGF_NEXTWINDOW = 6, MSGF_USER = 4096,
};
enum : int {
  HCBT_MOVESIZE = 0, HCBT_MINMAX = 1, HCBT_QS = 2, HCBT_CREATEWND = 3, HCBT_DESTROYWND = 4,
  HCBT_ACTIVATE = 5, HCBT_CLICKSKIPPED = 6, HCBT_KEYSKIPPED = 7, HCBT_SYSCOMMAND = 8,
  HCBT_SETFOCUS = 9,
};
struct CWPSTRUCT {
  LPARAM lParam;
  WPARAM wParam;
  UINT message;
  HWND hwnd;
};
struct MOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd = nullptr;
  UINT wHitTestCode = 0;
  ULONG_PTR dwExtraInfo = 0;
};
struct CBT_CREATEWND {
  CREATESTRUCT* lpcs = nullptr;
  HWND hwndInsertAfter = nullptr;
};
struct CBTACTIVATESTRUCT {
  BOOL fMouse = FALSE;
  HWND hWndActive = nullptr;
};
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------
// Painting (window device contexts come from GDI; see platform/gdi)
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
enum : DWORD {
  DCX_WINDOW = 0x1, DCX_CACHE = 0x2, DCX_CLIPCHILDREN = 0x8, DCX_CLIPSIBLINGS = 0x10,
  DCX_PARENTCLIP = 0x20, DCX_EXCLUDERGN = 0x40, DCX_INTERSECTRGN = 0x80,
  DCX_LOCKWINDOWUPDATE = 0x400, DCX_VALIDATE = 0x200000,
};
HWND WindowFromDC(HDC dc);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect,
                   HRGN updateRegion, RECT* updateRect, UINT flags);
enum : UINT { SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4 };
// Whole-window back buffer of a top-level window (ARGB32 cairo image surface) for back
// ends and snapshots; nullptr for a child window.
struct _cairo_surface;
_cairo_surface* GetWindowSurface(HWND hwnd);
// Paints every pending update now (the back ends call it before presenting).
void UpdateAllWindows();

// ---------------------------------------------------------------------------------------
// Scroll bars
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };
enum : int {
  SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
  SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8,
};
enum : UINT {
  SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8,
  SIF_TRACKPOS = 0x10, SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS,
};
enum : UINT { ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3 };
struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// ---------------------------------------------------------------------------------------
// Caret (one per thread)
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* point);
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
UINT GetCaretBlinkTime();
struct TCaretInfo {
  HWND Window = nullptr;
  RECT Rect;          // client coordinates of Window
  bool Visible = false;  // created and shown (hide count zero)
};
TCaretInfo GetCaretInfo();

// ---------------------------------------------------------------------------------------
// System metrics, colours, parameters, identity
enum : int {
  SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
  SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CXFIXEDFRAME = 7,
  SM_CYDLGFRAME = 8, SM_CYFIXEDFRAME = 8, SM_CYVTHUMB = 9, SM_CXHTHUMB = 10,
  SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15,
  SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_MOUSEPRESENT = 19, SM_CYVSCROLL = 20,
  SM_CXHSCROLL = 21, SM_SWAPBUTTON = 23, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30,
  SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CXSIZEFRAME = 32, SM_CYFRAME = 33,
  SM_CYSIZEFRAME = 33, SM_CXMINTRACK = 34, SM_CYMINTRACK = 35, SM_CXDOUBLECLK = 36,
  SM_CYDOUBLECLK = 37, SM_CXICONSPACING = 38, SM_CYICONSPACING = 39,
  SM_MENUDROPALIGNMENT = 40, SM_CMOUSEBUTTONS = 43, SM_CXEDGE = 45, SM_CYEDGE = 46,
  SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51, SM_CXSMSIZE = 52,
  SM_CYSMSIZE = 53, SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55, SM_CXMINIMIZED = 57,
  SM_CYMINIMIZED = 58, SM_CXMAXTRACK = 59, SM_CYMAXTRACK = 60, SM_CXMAXIMIZED = 61,
  SM_CYMAXIMIZED = 62, SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CXMENUCHECK = 71,
  SM_CYMENUCHECK = 72, SM_MOUSEWHEELPRESENT = 75, SM_XVIRTUALSCREEN = 76,
  SM_YVIRTUALSCREEN = 77, SM_CXVIRTUALSCREEN = 78, SM_CYVIRTUALSCREEN = 79,
  SM_CMONITORS = 80, SM_CXFOCUSBORDER = 83, SM_CYFOCUSBORDER = 84,
  SM_REMOTESESSION = 0x1000,
};
int GetSystemMetrics(int index);
// Replaces one metric (tests); the screen size follows the back end's screen.
void SetSystemMetric(int index, int value);
// Tells the top-level windows that system colours changed (WM_SYSCOLORCHANGE); call after
// SetSysColors (platform/gdi/SysColors.h).
void NotifySysColorChange();

enum : UINT {
  SPI_GETKEYBOARDSPEED = 0x000A, SPI_GETKEYBOARDDELAY = 0x0016,
  SPI_GETICONTITLELOGFONT = 0x001F, SPI_GETDRAGFULLWINDOWS = 0x0026,
  SPI_GETNONCLIENTMETRICS = 0x0029, SPI_SETNONCLIENTMETRICS = 0x002A,
  SPI_GETWORKAREA = 0x0030, SPI_GETHIGHCONTRAST = 0x0042, SPI_GETFONTSMOOTHING = 0x004A,
  SPI_GETMOUSEHOVERWIDTH = 0x0062, SPI_GETMOUSEHOVERHEIGHT = 0x0064,
  SPI_GETMOUSEHOVERTIME = 0x0066, SPI_GETWHEELSCROLLLINES = 0x0068,
  SPI_GETMENUSHOWDELAY = 0x006A, SPI_GETMENUANIMATION = 0x1002,
  SPI_SETMENUANIMATION = 0x1003, SPI_GETCOMBOBOXANIMATION = 0x1004,
  SPI_GETGRADIENTCAPTIONS = 0x1008, SPI_GETKEYBOARDCUES = 0x100A,
  SPI_SETKEYBOARDCUES = 0x100B, SPI_GETHOTTRACKING = 0x100E, SPI_GETMENUFADE = 0x1012,
  SPI_SETMENUFADE = 0x1013, SPI_GETSELECTIONFADE = 0x1014, SPI_GETTOOLTIPANIMATION = 0x1016,
  SPI_GETTOOLTIPFADE = 0x1018, SPI_GETFLATMENU = 0x1022, SPI_GETDROPSHADOW = 0x1024,
  SPI_GETUIEFFECTS = 0x103E, SPI_GETCLIENTAREAANIMATION = 0x1042,
};
enum : UINT { SPIF_UPDATEINIFILE = 0x1, SPIF_SENDCHANGE = 0x2 };
// BOOL-valued SPI_GET… write a BOOL to pvParam; SPI_SET… take the value in pvParam (cast
// from the BOOL) as Windows does; SPI_GETWORKAREA writes a RECT; SPI_GETWHEELSCROLLLINES
// and the delays write a UINT; SPI_GETNONCLIENTMETRICS fills a NONCLIENTMETRICS;
// SPI_GETICONTITLELOGFONT a LOGFONT.
struct NONCLIENTMETRICS {
  UINT cbSize = sizeof(NONCLIENTMETRICS);
  int iBorderWidth = 0;
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;
  int iCaptionHeight = 0;
  LOGFONT lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  LOGFONT lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  LOGFONT lfMenuFont;
  LOGFONT lfStatusFont;
  LOGFONT lfMessageFont;
  int iPaddedBorderWidth = 0;
};
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pvParam, UINT winIni);
// Whether the underlined accelerators of h's window are hidden: until Alt is pressed in
// that window, unless the system always shows keyboard cues.
bool AcceleratorsHidden(HWND h);

// System identity: the layer reports Windows 6.1 (7), common controls 6.
struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
enum : DWORD { VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2 };
BOOL GetVersionEx(OSVERSIONINFO* info);
DWORD GetVersion();  // low byte major, next byte minor, as Windows packs it
// The theme switches of the identity. The theme itself is kept by the theme painter
// (platform/gdi/UxTheme.h: IsThemeActive, GetCurrentThemeName); the identity in force
// reads and writes it there, so both always agree, and a change tells every top-level
// window (WM_THEMECHANGED, WM_SYSCOLORCHANGE). A copy of the identity holds its own
// values (to be assigned back later).
class TThemesActiveSwitch {
public:
  TThemesActiveSwitch() = default;
  TThemesActiveSwitch(const TThemesActiveSwitch& other) : FValue(bool(other)) {}
  TThemesActiveSwitch& operator=(const TThemesActiveSwitch& other) { return *this = bool(other); }
  TThemesActiveSwitch& operator=(bool value);
  operator bool() const;

private:
  bool FValue = true;
};
class TThemeColorSchemeSwitch {
public:
  TThemeColorSchemeSwitch() = default;
  TThemeColorSchemeSwitch(const TThemeColorSchemeSwitch& other) : FValue(other.Value()) {}
  TThemeColorSchemeSwitch& operator=(const TThemeColorSchemeSwitch& other) { return *this = other.Value(); }
  TThemeColorSchemeSwitch& operator=(const std::string& value);
  TThemeColorSchemeSwitch& operator=(const char* value) { return *this = std::string(value ? value : ""); }
  std::string Value() const;
  operator std::string() const { return Value(); }
  friend bool operator==(const TThemeColorSchemeSwitch& a, const std::string& b) { return a.Value() == b; }

private:
  std::string FValue = "NormalColor";
};
struct TSystemIdentity {
  DWORD MajorVersion = 6;
  DWORD MinorVersion = 1;
  DWORD BuildNumber = 7601;
  DWORD CommonControlsMajor = 6;
  DWORD CommonControlsMinor = 0;
  TThemesActiveSwitch ThemesActive;
  bool CompositionEnabled = false;
  TThemeColorSchemeSwitch ThemeColorScheme;
};
// The identity in force; tests change it (and restore it) to reach other paths.
TSystemIdentity& SystemIdentity();

// Windows of other processes are not there; the layer knows only its own.
inline DWORD GetCurrentProcessId() { return 1; }

// ---------------------------------------------------------------------------------------
// Clipboard (in memory; a display back end synchronises text); its data are global memory
// blocks (platform/win/GlobalMemory.h)
enum : UINT {
  CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13,
  CF_HDROP = 15, CF_LOCALE = 16, CF_DIBV5 = 17,
};
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);  // takes ownership of a GlobalAlloc block
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
UINT RegisterClipboardFormat(LPCSTR name);
int GetClipboardFormatName(UINT format, char* buffer, int size);
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();
DWORD GetClipboardSequenceNumber();
// Convenience for the layer and tests: CF_TEXT as UTF-8 (CF_UNICODETEXT kept in step).
std::string GetClipboardTextUtf8();
void SetClipboardTextUtf8(const std::string& text);

// ---------------------------------------------------------------------------------------
// Miscellaneous
BOOL MessageBeep(UINT type);
int MessageBeepCount();  // beeps so far (tests)
DWORD GetLastError();
void SetLastError(DWORD error);
// Average character width (low word) and height (high word) of the system font.
LONG GetDialogBaseUnits();
enum : DWORD {
  ERROR_SUCCESS = 0, ERROR_INVALID_PARAMETER = 87, ERROR_INVALID_WINDOW_HANDLE = 1400,
  ERROR_CANNOT_FIND_WND_CLASS = 1407, ERROR_CLASS_ALREADY_EXISTS = 1410,
  ERROR_CLASS_DOES_NOT_EXIST = 1411, ERROR_INVALID_HOOK_HANDLE = 1404,
  ERROR_CLIPBOARD_NOT_OPEN = 1418,
};

// Resets the whole window system (windows, classes, queue, timers, hooks, state) to its
// start; tests call it between cases. Destroys every window first.
void ResetWindowSystem();
