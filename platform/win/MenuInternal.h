#pragma once
// Internal state of menus, shared by the menu sources and the non-client code of the
// window system.
#include <string>
#include <vector>

#include "platform/win/WinMenu.h"

struct TMenuEntry {
  UINT Type = MFT_STRING;     // MFT_*
  UINT State = 0;             // MFS_*
  UINT Id = 0;
  HMENU SubMenu = nullptr;
  HBITMAP Checked = nullptr;
  HBITMAP Unchecked = nullptr;
  HBITMAP Bitmap = nullptr;   // hbmpItem, or the bitmap of an MFT_BITMAP item
  ULONG_PTR Data = 0;
  std::string Text;
  // Layout: measured size and the rectangle in the menu window (client coordinates of a
  // pop-up window, window coordinates of the menu bar's window).
  bool Measured = false;
  SIZE Size{};
  RECT Rect{};
};

struct HMENU__ {
  unsigned Magic = 0x554E454D;  // "MENU"
  bool Popup = false;
  std::vector<TMenuEntry> Items;
  DWORD Style = 0;
  UINT MaxHeight = 0;
  HBRUSH Background = nullptr;
  DWORD HelpId = 0;
  ULONG_PTR MenuData = 0;
  HWND Window = nullptr;  // the pop-up window while shown
  int Selected = -1;      // highlighted item while shown
};

namespace winsys {

bool ValidMenu(HMENU m);
// The menu bar of a top-level window: lays out its items (measuring owner-drawn ones)
// for a bar rectangle in window coordinates and paints it.
void LayoutMenuBar(HWND h, const RECT& bar);
void PaintMenuBar(HWND h, HDC dc, const RECT& bar);
// Lays the bar out where the frame puts it (before it was ever painted).
void EnsureMenuBarLayout(HWND h);
// The bar item at a screen point, -1 when none.
int MenuBarItemFromPoint(HWND h, POINT screen);
// DefWindowProc's part: a click on the bar, SC_KEYMENU, hot tracking, the Alt key.
void MenuBarMouseDown(HWND h, POINT screen);
void MenuKeyCommand(HWND h, UINT key);
void MenuBarHotTrack(HWND h, POINT screen, bool inside);
// Alt pressed and released alone, or F10: true when the key should start the menu.
bool MenuAltKeyUp(HWND h, UINT msg, WPARAM vk);
void MenuAltKeyDown(UINT msg, WPARAM vk);
// Bar state used by the painting.
int MenuBarSelected(HWND h);  // -1 when none
bool MenuBarOpen(HWND h);
int MenuBarHot(HWND h);
bool MenuNoAccel(HWND h);
// A window is going away: a menu loop it owns ends, the bar state is forgotten.
void MenuWindowGone(HWND h);
// Frees every menu (ResetWindowSystem).
void ResetMenus();
void ResetMenuLoopState();

// Painting of one item (MenuPaint.cpp): the classic look or WM_DRAWITEM to the owner.
void DrawMenuEntry(HWND owner, HMENU menu, int index, HDC dc, UINT action, bool bar);
// Measures an item (WM_MEASUREITEM for owner-drawn ones) when not measured yet.
void MeasureMenuEntry(HWND owner, HMENU menu, int index, bool bar);
HFONT MenuFont(bool bold = false);
// The text of an item up to a tab, and the text after it (shortcut).
void SplitMenuText(const std::string& text, std::string* label, std::string* accel);
// The pop-up window procedure.
LRESULT CALLBACK_MenuWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
// The owner of the menu loop while it runs.
HWND MenuLoopOwner();
void RegisterMenuWindowClass();
// Pop-up menus cast a drop shadow in the themed look (when the system's drop-shadow
// setting is on): a window beneath the menu's, showing what lies under it darkened along
// the right and bottom edges. ShowMenuShadow shows one for a menu about to open at pos
// (call it before creating the menu's window, so the menu lies above it); null when
// shadows are off. The menu window destroys its shadow with itself.
bool MenuShadowShown();
HWND ShowMenuShadow(HWND owner, POINT pos, SIZE size);
// Any other top-level window whose class has CS_DROPSHADOW (a drop-down's pop-up, a
// tool tip) casts the same shadow while it is shown: called whenever such a window is
// shown, hidden, moved or sized; the shadow follows it and goes with it.
void UpdateDropShadow(HWND h);

}  // namespace winsys
