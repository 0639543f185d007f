#pragma once
// Menus of the window system: menu objects (menu bars and pop-up menus with their
// items), the menu bar in a window's non-client area, pop-up menu windows (class
// "#32768") and the modal menu loop that the menu bar and TrackPopupMenu run.
//
// A menu bar is attached with SetMenu (platform/win/WinUser.h). Owner-drawn items are
// measured and drawn by their owner window through WM_MEASUREITEM and WM_DRAWITEM
// (platform/win/OwnerDraw.h). During the loop the owner receives WM_ENTERMENULOOP,
// WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR, WM_UNINITMENUPOPUP,
// WM_EXITMENULOOP, and a chosen command is posted to it as WM_COMMAND; every message of
// the loop (and each WM_MENUSELECT) passes the WH_MSGFILTER hooks with MSGF_MENU first.
#include <string>

#include "platform/win/OwnerDraw.h"
#include "platform/win/WinUser.h"

// Flags of the classic menu functions (AppendMenu, InsertMenu, ModifyMenu, ...).
enum : UINT {
  MF_INSERT = 0x0000, MF_CHANGE = 0x0080, MF_APPEND = 0x0100, MF_DELETE = 0x0200,
  MF_REMOVE = 0x1000, MF_BYCOMMAND = 0x0000, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800,
  MF_ENABLED = 0x0000, MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_UNCHECKED = 0x0000,
  MF_CHECKED = 0x0008, MF_USECHECKBITMAPS = 0x0200, MF_STRING = 0x0000, MF_BITMAP = 0x0004,
  MF_OWNERDRAW = 0x0100, MF_POPUP = 0x0010, MF_MENUBARBREAK = 0x0020, MF_MENUBREAK = 0x0040,
  MF_UNHILITE = 0x0000, MF_HILITE = 0x0080, MF_DEFAULT = 0x1000, MF_SYSMENU = 0x2000,
  MF_HELP = 0x4000, MF_RIGHTJUSTIFY = 0x4000, MF_MOUSESELECT = 0x8000,
};
// Item types and states of MENUITEMINFO.
enum : UINT {
  MFT_STRING = MF_STRING, MFT_BITMAP = MF_BITMAP, MFT_MENUBARBREAK = MF_MENUBARBREAK,
  MFT_MENUBREAK = MF_MENUBREAK, MFT_OWNERDRAW = MF_OWNERDRAW, MFT_RADIOCHECK = 0x0200,
  MFT_SEPARATOR = MF_SEPARATOR, MFT_RIGHTORDER = 0x2000, MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY,
};
enum : UINT {
  MFS_GRAYED = 0x0003, MFS_DISABLED = MFS_GRAYED, MFS_CHECKED = MF_CHECKED, MFS_HILITE = MF_HILITE,
  MFS_ENABLED = MF_ENABLED, MFS_UNCHECKED = MF_UNCHECKED, MFS_UNHILITE = MF_UNHILITE,
  MFS_DEFAULT = MF_DEFAULT,
};
enum : UINT {
  MIIM_STATE = 0x0001, MIIM_ID = 0x0002, MIIM_SUBMENU = 0x0004, MIIM_CHECKMARKS = 0x0008,
  MIIM_TYPE = 0x0010, MIIM_DATA = 0x0020, MIIM_STRING = 0x0040, MIIM_BITMAP = 0x0080,
  MIIM_FTYPE = 0x0100,
};
struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;  // UTF-8 text (MIIM_STRING / MFT_STRING), or a bitmap handle for MFT_BITMAP
  UINT cch = 0;                // in: buffer size in bytes; out: text length
  HBITMAP hbmpItem = nullptr;
};
using LPMENUITEMINFO = MENUITEMINFO*;

// Menu-wide information.
enum : DWORD {
  MIM_MAXHEIGHT = 0x1, MIM_BACKGROUND = 0x2, MIM_HELPID = 0x4, MIM_MENUDATA = 0x8,
  MIM_STYLE = 0x10, MIM_APPLYTOSUBMENUS = 0x80000000,
};
enum : DWORD {
  MNS_NOCHECK = 0x80000000, MNS_MODELESS = 0x40000000, MNS_DRAGDROP = 0x20000000,
  MNS_AUTODISMISS = 0x10000000, MNS_NOTIFYBYPOS = 0x08000000, MNS_CHECKORBMP = 0x04000000,
};
struct MENUINFO {
  DWORD cbSize = sizeof(MENUINFO);
  DWORD fMask = 0;
  DWORD dwStyle = 0;
  UINT cyMax = 0;
  HBRUSH hbrBack = nullptr;
  DWORD dwContextHelpID = 0;
  ULONG_PTR dwMenuData = 0;
};

// TrackPopupMenu(Ex) flags.
enum : UINT {
  TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002, TPM_LEFTALIGN = 0x0000,
  TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
  TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_HORIZONTAL = 0x0000,
  TPM_VERTICAL = 0x0040, TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100, TPM_RECURSE = 0x0001,
  TPM_HORPOSANIMATION = 0x0400, TPM_HORNEGANIMATION = 0x0800, TPM_VERPOSANIMATION = 0x1000,
  TPM_VERNEGANIMATION = 0x2000, TPM_NOANIMATION = 0x4000, TPM_LAYOUTRTL = 0x8000,
};
struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude{};  // screen area the menu must not cover
};

// WM_MENUCHAR answers (high word; the low word is an item position).
enum : WORD { MNC_IGNORE = 0, MNC_CLOSE = 1, MNC_EXECUTE = 2, MNC_SELECT = 3 };

// The class name of pop-up menu windows.
inline constexpr const char* MENU_WINDOW_CLASS = "#32768";

HMENU CreateMenu();       // an empty menu bar
HMENU CreatePopupMenu();  // an empty pop-up menu
// Destroys the menu and, recursively, its sub-menus. FALSE for an invalid handle.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// The classic item functions. newItem is the command id, or the sub-menu (HMENU cast to
// UINT_PTR) with MF_POPUP; item is UTF-8 text, or a bitmap handle with MF_BITMAP, or item
// data with MF_OWNERDRAW. position is a command id or, with MF_BYPOSITION, an index
// (-1 or past the end: append).
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCSTR item);
BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR item);
BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR item);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);  // keeps the sub-menu
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);  // destroys the sub-menu

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuInfo(HMENU menu, MENUINFO* info);
BOOL SetMenuInfo(HMENU menu, const MENUINFO* info);

int GetMenuItemCount(HMENU menu);             // -1 for an invalid handle
UINT GetMenuItemID(HMENU menu, int position);  // -1 (as UINT) for a sub-menu or a bad position
HMENU GetSubMenu(HMENU menu, int position);
// The MF_ flags of an item (a sub-menu: item count in the high byte, MF_POPUP), -1 when absent.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, char* buffer, int size, UINT flags);
// The previous state (MF_CHECKED / MF_UNCHECKED, MF_ENABLED/MF_GRAYED/MF_DISABLED), -1 when absent.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
LONG GetMenuCheckMarkDimensions();  // MAKELONG(width, height)

// The screen rectangle of an item of a menu bar (hwnd: the window) or of a pop-up menu
// that is shown (hwnd may be nullptr). FALSE when the item is not on screen.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect);
// The position of the item at a screen point, -1 when none.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screenPoint);

// Shows a pop-up menu at a screen point and runs the menu loop until the user chooses an
// item or dismisses the menu. With TPM_RETURNCMD the chosen command is returned (0 for
// none) and nothing is posted; otherwise the command is posted to owner as WM_COMMAND and
// the result is nonzero. FALSE for an invalid menu or owner, or while a menu loop runs
// without TPM_RECURSE.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Ends the menu loop that runs (no command).
BOOL EndMenu();
// The menu loop in progress (tests and diagnostics): its owner, nullptr when none.
HWND GetMenuLoopOwner();
// The pop-up window that shows a menu now, nullptr when it is not shown.
HWND GetMenuWindow(HMENU menu);
