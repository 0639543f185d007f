#pragma once
// Owner-drawn items of menus, list boxes, combo boxes, buttons and static controls: the
// WM_MEASUREITEM and WM_DRAWITEM records, their ODT_/ODA_/ODS_ codes, and the
// framework's set view of the draw state (TOwnerDrawState: element i is ODS_ bit i).
#include "platform/rtl/Classes.h"
#include "platform/win/WinDef.h"

enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5 };
enum : UINT { ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4 };
enum : UINT {
  ODS_SELECTED = 0x0001, ODS_GRAYED = 0x0002, ODS_DISABLED = 0x0004, ODS_CHECKED = 0x0008,
  ODS_FOCUS = 0x0010, ODS_DEFAULT = 0x0020, ODS_HOTLIGHT = 0x0040, ODS_INACTIVE = 0x0080,
  ODS_NOACCEL = 0x0100, ODS_NOFOCUSRECT = 0x0200, ODS_COMBOBOXEDIT = 0x1000,
};

// WM_MEASUREITEM (LParam): the owner fills itemWidth and itemHeight.
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};

// WM_DRAWITEM (LParam). For a menu item hwndItem is the menu's handle (HMENU) and hDC
// the menu window's DC: client coordinates for a pop-up menu, window coordinates for a
// menu bar.
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem{};
  ULONG_PTR itemData = 0;
};
using PMEASUREITEMSTRUCT = MEASUREITEMSTRUCT*;
using PDRAWITEMSTRUCT = DRAWITEMSTRUCT*;

enum TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
inline TOwnerDrawState OwnerDrawStateFromODS(UINT itemState) {
  return TOwnerDrawState::FromBits(itemState & 0xFFFF);
}
inline UINT ODSFromOwnerDrawState(TOwnerDrawState state) { return UINT(state.Bits() & 0xFFFF); }
