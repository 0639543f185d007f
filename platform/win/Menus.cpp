// Menu objects: creation, destruction and the item functions.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "platform/win/MenuInternal.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

std::unordered_set<HMENU>& LiveMenus() {
  static std::unordered_set<HMENU> menus;
  return menus;
}

HMENU NewMenu(bool popup) {
  auto* m = new HMENU__;
  m->Popup = popup;
  LiveMenus().insert(m);
  return m;
}

// The menu and index of an item by position or (searching sub-menus) by command.
bool Locate(HMENU menu, UINT item, bool byPosition, HMENU* owner, int* index, int depth = 0) {
  if (!ValidMenu(menu) || depth > 32) return false;
  if (byPosition) {
    if (item >= menu->Items.size()) return false;
    *owner = menu;
    *index = int(item);
    return true;
  }
  for (size_t i = 0; i < menu->Items.size(); ++i) {
    const TMenuEntry& e = menu->Items[i];
    if (!e.SubMenu && e.Id == item) {
      *owner = menu;
      *index = int(i);
      return true;
    }
  }
  for (const TMenuEntry& e : menu->Items)
    if (e.SubMenu && Locate(e.SubMenu, item, false, owner, index, depth + 1)) return true;
  // A sub-menu item found by its command id (set through MIIM_ID).
  for (size_t i = 0; i < menu->Items.size(); ++i)
    if (menu->Items[i].SubMenu && menu->Items[i].Id == item && item != 0) {
      *owner = menu;
      *index = int(i);
      return true;
    }
  return false;
}

// Something about the menu changed: its layout is measured again and a shown menu or
// bar is repainted.
void Changed(HMENU m, int index = -1) {
  if (index >= 0 && index < int(m->Items.size())) m->Items[size_t(index)].Measured = false;
  else
    for (auto& e : m->Items) e.Measured = false;
  if (m->Window && IsWindow(m->Window)) InvalidateRect(m->Window, nullptr, TRUE);
}

// The entry a classic call describes (MF_ flags).
void FromFlags(TMenuEntry& e, UINT flags, UINT_PTR newItem, LPCSTR item) {
  e.Type = flags & (MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_RIGHTJUSTIFY | MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR);
  if (flags & MF_OWNERDRAW) e.Type |= MFT_OWNERDRAW;
  e.State = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  e.SubMenu = nullptr;
  e.Id = 0;
  if (flags & MF_POPUP) {
    HMENU sub = reinterpret_cast<HMENU>(newItem);
    e.SubMenu = ValidMenu(sub) ? sub : nullptr;
    if (e.SubMenu) e.SubMenu->Popup = true;
  } else {
    e.Id = UINT(newItem);
  }
  e.Text.clear();
  e.Bitmap = nullptr;
  e.Data = 0;
  if (flags & MF_SEPARATOR) return;
  if (flags & MF_BITMAP) e.Bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(item));
  else if (flags & MF_OWNERDRAW) e.Data = reinterpret_cast<ULONG_PTR>(item);
  else if (item) e.Text = item;
  e.Measured = false;
}

bool ValidInfo(const MENUITEMINFO* info) { return info && info->cbSize >= sizeof(UINT) * 2; }

void ApplyInfo(TMenuEntry& e, const MENUITEMINFO* info) {
  UINT mask = info->fMask;
  if (mask & MIIM_TYPE) {
    e.Type = info->fType;
    if (info->fType & MFT_BITMAP) e.Bitmap = reinterpret_cast<HBITMAP>(info->dwTypeData);
    else if (!(info->fType & (MFT_SEPARATOR | MFT_OWNERDRAW))) e.Text = info->dwTypeData ? info->dwTypeData : "";
  }
  if (mask & MIIM_FTYPE) e.Type = info->fType;
  if (mask & MIIM_STRING) e.Text = info->dwTypeData ? info->dwTypeData : "";
  if (mask & MIIM_STATE) e.State = info->fState & (MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
  if (mask & MIIM_ID) e.Id = info->wID;
  if (mask & MIIM_SUBMENU) {
    e.SubMenu = ValidMenu(info->hSubMenu) ? info->hSubMenu : nullptr;
    if (e.SubMenu) e.SubMenu->Popup = true;
  }
  if (mask & MIIM_CHECKMARKS) {
    e.Checked = info->hbmpChecked;
    e.Unchecked = info->hbmpUnchecked;
  }
  if (mask & MIIM_DATA) e.Data = info->dwItemData;
  if (mask & MIIM_BITMAP) e.Bitmap = info->hbmpItem;
  e.Measured = false;
}

void Destroy(HMENU m, int depth) {
  if (!ValidMenu(m) || depth > 32) return;
  LiveMenus().erase(m);
  if (m->Window && IsWindow(m->Window)) DestroyWindow(m->Window);
  for (auto& e : m->Items)
    if (e.SubMenu) Destroy(e.SubMenu, depth + 1);
  m->Magic = 0;
  delete m;
}

}  // namespace

namespace winsys {

bool ValidMenu(HMENU m) { return m && LiveMenus().count(m) && m->Magic == 0x554E454D; }

void ResetMenus() {
  ResetMenuLoopState();
  std::vector<HMENU> all(LiveMenus().begin(), LiveMenus().end());
  for (HMENU m : all) {
    if (!LiveMenus().count(m)) continue;
    LiveMenus().erase(m);
    m->Magic = 0;
    delete m;
  }
}

}  // namespace winsys

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!ValidMenu(menu)) return FALSE;
  // A window showing it as its menu bar forgets it.
  for (HWND w : S().TopLevels)
    if (Valid(w) && w->Menu == menu) {
      w->Menu = nullptr;
      SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  // Menus that hold it as a sub-menu forget it.
  for (HMENU m : LiveMenus())
    for (auto& e : m->Items)
      if (e.SubMenu == menu) e.SubMenu = nullptr;
  Destroy(menu, 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return ValidMenu(menu) ? TRUE : FALSE; }

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR item) {
  if (!ValidMenu(menu)) return FALSE;
  size_t at = menu->Items.size();
  if (flags & MF_BYPOSITION) {
    if (position < menu->Items.size()) at = position;
  } else {
    HMENU owner;
    int index;
    if (Locate(menu, position, false, &owner, &index)) {
      if (owner != menu) return InsertMenu(owner, UINT(index), flags | MF_BYPOSITION, newItem, item);
      at = size_t(index);
    }
  }
  TMenuEntry e;
  FromFlags(e, flags, newItem, item);
  menu->Items.insert(menu->Items.begin() + std::ptrdiff_t(at), e);
  Changed(menu);
  return TRUE;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR newItem, LPCSTR item) {
  return InsertMenu(menu, UINT(-1), (flags & ~MF_BYCOMMAND) | MF_BYPOSITION, newItem, item);
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCSTR item) {
  HMENU owner;
  int index;
  if (!Locate(menu, position, flags & MF_BYPOSITION, &owner, &index)) return FALSE;
  TMenuEntry& e = owner->Items[size_t(index)];
  HMENU oldSub = e.SubMenu;
  FromFlags(e, flags, newItem, item);
  // Replacing a sub-menu by something else destroys the old one, as the system does.
  if (oldSub && oldSub != e.SubMenu) DestroyMenu(oldSub);
  Changed(owner, index);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  HMENU owner;
  int index;
  if (!Locate(menu, position, flags & MF_BYPOSITION, &owner, &index)) return FALSE;
  owner->Items.erase(owner->Items.begin() + index);
  if (owner->Selected == index) owner->Selected = -1;
  else if (owner->Selected > index) --owner->Selected;
  Changed(owner);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  HMENU owner;
  int index;
  if (!Locate(menu, position, flags & MF_BYPOSITION, &owner, &index)) return FALSE;
  HMENU sub = owner->Items[size_t(index)].SubMenu;
  RemoveMenu(owner, UINT(index), MF_BYPOSITION);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  if (!ValidMenu(menu) || !ValidInfo(info)) return FALSE;
  size_t at = menu->Items.size();
  if (byPosition) {
    if (item < menu->Items.size()) at = item;
  } else {
    HMENU owner;
    int index;
    if (Locate(menu, item, false, &owner, &index)) {
      if (owner != menu) return InsertMenuItem(owner, UINT(index), TRUE, info);
      at = size_t(index);
    }
  }
  TMenuEntry e;
  ApplyInfo(e, info);
  menu->Items.insert(menu->Items.begin() + std::ptrdiff_t(at), e);
  Changed(menu);
  return TRUE;
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info) {
  HMENU owner;
  int index;
  if (!ValidInfo(info) || !Locate(menu, item, byPosition, &owner, &index)) return FALSE;
  const TMenuEntry& e = owner->Items[size_t(index)];
  UINT mask = info->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = e.Type;
  if (mask & MIIM_STATE) {
    info->fState = e.State;
    if (owner->Selected == index) info->fState |= MFS_HILITE;
  }
  if (mask & MIIM_ID) info->wID = e.Id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = e.SubMenu;
  if (mask & MIIM_CHECKMARKS) {
    info->hbmpChecked = e.Checked;
    info->hbmpUnchecked = e.Unchecked;
  }
  if (mask & MIIM_DATA) info->dwItemData = e.Data;
  if (mask & MIIM_BITMAP) info->hbmpItem = e.Bitmap;
  bool wantText = (mask & MIIM_STRING) || ((mask & MIIM_TYPE) && !(e.Type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)));
  if ((mask & MIIM_TYPE) && (e.Type & MFT_BITMAP)) info->dwTypeData = reinterpret_cast<char*>(e.Bitmap);
  if (wantText) {
    if (info->dwTypeData && info->cch > 0) {
      size_t n = std::min<size_t>(e.Text.size(), info->cch - 1);
      std::memcpy(info->dwTypeData, e.Text.data(), n);
      info->dwTypeData[n] = 0;
    }
    info->cch = UINT(e.Text.size());
  }
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  HMENU owner;
  int index;
  if (!ValidInfo(info) || !Locate(menu, item, byPosition, &owner, &index)) return FALSE;
  ApplyInfo(owner->Items[size_t(index)], info);
  Changed(owner, index);
  return TRUE;
}

BOOL GetMenuInfo(HMENU menu, MENUINFO* info) {
  if (!ValidMenu(menu) || !info) return FALSE;
  if (info->fMask & MIM_STYLE) info->dwStyle = menu->Style;
  if (info->fMask & MIM_MAXHEIGHT) info->cyMax = menu->MaxHeight;
  if (info->fMask & MIM_BACKGROUND) info->hbrBack = menu->Background;
  if (info->fMask & MIM_HELPID) info->dwContextHelpID = menu->HelpId;
  if (info->fMask & MIM_MENUDATA) info->dwMenuData = menu->MenuData;
  return TRUE;
}

BOOL SetMenuInfo(HMENU menu, const MENUINFO* info) {
  if (!ValidMenu(menu) || !info) return FALSE;
  if (info->fMask & MIM_STYLE) menu->Style = info->dwStyle;
  if (info->fMask & MIM_MAXHEIGHT) menu->MaxHeight = info->cyMax;
  if (info->fMask & MIM_BACKGROUND) menu->Background = info->hbrBack;
  if (info->fMask & MIM_HELPID) menu->HelpId = info->dwContextHelpID;
  if (info->fMask & MIM_MENUDATA) menu->MenuData = info->dwMenuData;
  if (info->fMask & MIM_APPLYTOSUBMENUS)
    for (auto& e : menu->Items)
      if (e.SubMenu) SetMenuInfo(e.SubMenu, info);
  Changed(menu);
  return TRUE;
}

int GetMenuItemCount(HMENU menu) { return ValidMenu(menu) ? int(menu->Items.size()) : -1; }

UINT GetMenuItemID(HMENU menu, int position) {
  if (!ValidMenu(menu) || position < 0 || size_t(position) >= menu->Items.size()) return UINT(-1);
  const TMenuEntry& e = menu->Items[size_t(position)];
  return e.SubMenu ? UINT(-1) : e.Id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  if (!ValidMenu(menu) || position < 0 || size_t(position) >= menu->Items.size()) return nullptr;
  return menu->Items[size_t(position)].SubMenu;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  HMENU owner;
  int index;
  if (!Locate(menu, item, flags & MF_BYPOSITION, &owner, &index)) return UINT(-1);
  const TMenuEntry& e = owner->Items[size_t(index)];
  UINT state = e.State | (e.Type & (MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBARBREAK | MF_MENUBREAK));
  if (owner->Selected == index) state |= MF_HILITE;
  if (e.SubMenu) state = (state & 0xFF) | MF_POPUP | (UINT(e.SubMenu->Items.size() & 0xFF) << 8);
  return state;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int size, UINT flags) {
  HMENU owner;
  int index;
  if (!Locate(menu, item, flags & MF_BYPOSITION, &owner, &index)) return 0;
  const std::string& t = owner->Items[size_t(index)].Text;
  if (!buffer || size <= 0) return int(t.size());
  int n = std::min<int>(int(t.size()), size - 1);
  std::memcpy(buffer, t.data(), size_t(n));
  buffer[n] = 0;
  return n;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  HMENU owner;
  int index;
  if (!Locate(menu, item, check & MF_BYPOSITION, &owner, &index)) return DWORD(-1);
  TMenuEntry& e = owner->Items[size_t(index)];
  DWORD old = e.State & MF_CHECKED;
  e.State = (e.State & ~MF_CHECKED) | (check & MF_CHECKED);
  if (old != (e.State & MF_CHECKED)) Changed(owner, index);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  HMENU owner;
  int index;
  if (!Locate(menu, item, enable & MF_BYPOSITION, &owner, &index)) return BOOL(-1);
  TMenuEntry& e = owner->Items[size_t(index)];
  BOOL old = BOOL(e.State & (MF_GRAYED | MF_DISABLED));
  e.State = (e.State & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  if (UINT(old) != (e.State & (MF_GRAYED | MF_DISABLED))) Changed(owner, index);
  return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  HMENU owner, owner2;
  int a, b, c;
  bool byPos = flags & MF_BYPOSITION;
  if (!Locate(menu, first, byPos, &owner, &a) || !Locate(menu, last, byPos, &owner2, &b) || owner != owner2) return FALSE;
  if (!Locate(menu, check, byPos, &owner2, &c) || owner2 != owner) return FALSE;
  if (a > b) std::swap(a, b);
  for (int i = a; i <= b; ++i) {
    TMenuEntry& e = owner->Items[size_t(i)];
    if (i == c) {
      e.State |= MF_CHECKED;
      e.Type |= MFT_RADIOCHECK;
    } else {
      e.State &= ~MF_CHECKED;
    }
  }
  Changed(owner);
  return TRUE;
}

BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite) {
  HMENU owner;
  int index;
  if (!Locate(menu, item, hilite & MF_BYPOSITION, &owner, &index)) return FALSE;
  TMenuEntry& e = owner->Items[size_t(index)];
  if (hilite & MF_HILITE) e.State |= MF_HILITE;
  else e.State &= ~MF_HILITE;
  if (hwnd && IsWindow(hwnd) && GetMenu(hwnd) == owner) DrawMenuBar(hwnd);
  return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  if (!ValidMenu(menu)) return FALSE;
  int target = -1;
  if (item != UINT(-1)) {
    if (byPosition) {
      if (item >= menu->Items.size()) return FALSE;
      target = int(item);
    } else {
      for (size_t i = 0; i < menu->Items.size(); ++i)
        if (menu->Items[i].Id == item) target = int(i);
      if (target < 0) return FALSE;
    }
  }
  for (size_t i = 0; i < menu->Items.size(); ++i) {
    if (int(i) == target) menu->Items[i].State |= MFS_DEFAULT;
    else menu->Items[i].State &= ~MFS_DEFAULT;
  }
  Changed(menu);
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
  if (!ValidMenu(menu)) return UINT(-1);
  for (size_t i = 0; i < menu->Items.size(); ++i)
    if (menu->Items[i].State & MFS_DEFAULT) return byPosition ? UINT(i) : menu->Items[i].Id;
  return UINT(-1);
}

LONG GetMenuCheckMarkDimensions() {
  return MAKELONG(WORD(GetSystemMetrics(SM_CXMENUCHECK)), WORD(GetSystemMetrics(SM_CYMENUCHECK)));
}

HWND GetMenuWindow(HMENU menu) {
  return ValidMenu(menu) && menu->Window && IsWindow(menu->Window) ? menu->Window : nullptr;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect) {
  if (!rect) return FALSE;
  *rect = RECT{};
  if (!ValidMenu(menu) || position >= menu->Items.size()) return FALSE;
  if (HWND w = GetMenuWindow(menu)) {
    RECT r = menu->Items[position].Rect;
    POINT o{0, 0};
    ClientToScreen(w, &o);
    *rect = RectOffset(r, o.x, o.y);
    return TRUE;
  }
  // A menu bar: the window given, or any window that shows it.
  HWND owner = hwnd && IsWindow(hwnd) && GetMenu(hwnd) == menu ? hwnd : nullptr;
  if (!owner)
    for (HWND w : S().TopLevels)
      if (Valid(w) && w->Menu == menu) owner = w;
  if (!owner) return FALSE;
  EnsureMenuBarLayout(owner);
  RECT wr;
  GetWindowRect(owner, &wr);
  RECT r = menu->Items[position].Rect;
  if (RectEmpty(r)) return FALSE;
  *rect = RectOffset(r, wr.left, wr.top);
  return TRUE;
}

int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen) {
  if (!ValidMenu(menu)) return -1;
  for (UINT i = 0; i < menu->Items.size(); ++i) {
    RECT r;
    if (GetMenuItemRect(hwnd, menu, i, &r) && RectContains(r, screen)) return int(i);
  }
  return -1;
}
