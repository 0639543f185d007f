#pragma once
// List boxes and combo boxes. The list box is the framework's control and the system's
// list window in one: it keeps its items (text, object, height, selection), answers the
// LB_* messages, paints itself (or lets its owner draw through CN_MEASUREITEM and
// CN_DRAWITEM) and reports selection changes with WM_COMMAND (LBN_*), which its parent
// reflects back as CN_COMMAND. The combo box does the same with the CB_* messages and
// CBN_* notifications; its edit part is a window of the "EDIT" class and its list is a
// pop-up window it owns.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/win/OwnerDraw.h"

// ---- list box window messages, styles and notifications ---------------------------------
enum : UINT {
  LB_ADDSTRING = 0x0180, LB_INSERTSTRING = 0x0181, LB_DELETESTRING = 0x0182, LB_SELITEMRANGEEX = 0x0183,
  LB_RESETCONTENT = 0x0184, LB_SETSEL = 0x0185, LB_SETCURSEL = 0x0186, LB_GETSEL = 0x0187,
  LB_GETCURSEL = 0x0188, LB_GETTEXT = 0x0189, LB_GETTEXTLEN = 0x018A, LB_GETCOUNT = 0x018B,
  LB_SELECTSTRING = 0x018C, LB_DIR = 0x018D, LB_GETTOPINDEX = 0x018E, LB_FINDSTRING = 0x018F,
  LB_GETSELCOUNT = 0x0190, LB_GETSELITEMS = 0x0191, LB_SETTABSTOPS = 0x0192,
  LB_GETHORIZONTALEXTENT = 0x0193, LB_SETHORIZONTALEXTENT = 0x0194, LB_SETCOLUMNWIDTH = 0x0195,
  LB_ADDFILE = 0x0196, LB_SETTOPINDEX = 0x0197, LB_GETITEMRECT = 0x0198, LB_GETITEMDATA = 0x0199,
  LB_SETITEMDATA = 0x019A, LB_SELITEMRANGE = 0x019B, LB_SETANCHORINDEX = 0x019C,
  LB_GETANCHORINDEX = 0x019D, LB_SETCARETINDEX = 0x019E, LB_GETCARETINDEX = 0x019F,
  LB_SETITEMHEIGHT = 0x01A0, LB_GETITEMHEIGHT = 0x01A1, LB_FINDSTRINGEXACT = 0x01A2,
  LB_SETLOCALE = 0x01A5, LB_GETLOCALE = 0x01A6, LB_SETCOUNT = 0x01A7, LB_INITSTORAGE = 0x01A8,
  LB_ITEMFROMPOINT = 0x01A9,
};
inline constexpr LRESULT LB_OKAY = 0, LB_ERR = -1, LB_ERRSPACE = -2;
enum : DWORD {
  LBS_NOTIFY = 0x0001, LBS_SORT = 0x0002, LBS_NOREDRAW = 0x0004, LBS_MULTIPLESEL = 0x0008,
  LBS_OWNERDRAWFIXED = 0x0010, LBS_OWNERDRAWVARIABLE = 0x0020, LBS_HASSTRINGS = 0x0040,
  LBS_USETABSTOPS = 0x0080, LBS_NOINTEGRALHEIGHT = 0x0100, LBS_MULTICOLUMN = 0x0200,
  LBS_WANTKEYBOARDINPUT = 0x0400, LBS_EXTENDEDSEL = 0x0800, LBS_DISABLENOSCROLL = 0x1000,
  LBS_NODATA = 0x2000, LBS_NOSEL = 0x4000, LBS_COMBOBOX = 0x8000,
};
enum : WORD {
  LBN_ERRSPACE = 0xFFFE, LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3, LBN_SETFOCUS = 4,
  LBN_KILLFOCUS = 5,
};

// ---- combo box window messages, styles and notifications --------------------------------
enum : UINT {
  CB_GETEDITSEL = 0x0140, CB_LIMITTEXT = 0x0141, CB_SETEDITSEL = 0x0142, CB_ADDSTRING = 0x0143,
  CB_DELETESTRING = 0x0144, CB_DIR = 0x0145, CB_GETCOUNT = 0x0146, CB_GETCURSEL = 0x0147,
  CB_GETLBTEXT = 0x0148, CB_GETLBTEXTLEN = 0x0149, CB_INSERTSTRING = 0x014A, CB_RESETCONTENT = 0x014B,
  CB_FINDSTRING = 0x014C, CB_SELECTSTRING = 0x014D, CB_SETCURSEL = 0x014E, CB_SHOWDROPDOWN = 0x014F,
  CB_GETITEMDATA = 0x0150, CB_SETITEMDATA = 0x0151, CB_GETDROPPEDCONTROLRECT = 0x0152,
  CB_SETITEMHEIGHT = 0x0153, CB_GETITEMHEIGHT = 0x0154, CB_SETEXTENDEDUI = 0x0155,
  CB_GETEXTENDEDUI = 0x0156, CB_GETDROPPEDSTATE = 0x0157, CB_FINDSTRINGEXACT = 0x0158,
  CB_SETLOCALE = 0x0159, CB_GETLOCALE = 0x015A, CB_GETTOPINDEX = 0x015B, CB_SETTOPINDEX = 0x015C,
  CB_GETHORIZONTALEXTENT = 0x015D, CB_SETHORIZONTALEXTENT = 0x015E, CB_GETDROPPEDWIDTH = 0x015F,
  CB_SETDROPPEDWIDTH = 0x0160, CB_INITSTORAGE = 0x0161, CB_GETCOMBOBOXINFO = 0x0164,
  CB_SETMINVISIBLE = 0x1701, CB_GETMINVISIBLE = 0x1702,
};
inline constexpr LRESULT CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2;
enum : DWORD {
  CBS_SIMPLE = 0x0001, CBS_DROPDOWN = 0x0002, CBS_DROPDOWNLIST = 0x0003, CBS_OWNERDRAWFIXED = 0x0010,
  CBS_OWNERDRAWVARIABLE = 0x0020, CBS_AUTOHSCROLL = 0x0040, CBS_OEMCONVERT = 0x0080, CBS_SORT = 0x0100,
  CBS_HASSTRINGS = 0x0200, CBS_NOINTEGRALHEIGHT = 0x0400, CBS_DISABLENOSCROLL = 0x0800,
  CBS_UPPERCASE = 0x2000, CBS_LOWERCASE = 0x4000,
};
enum : WORD {
  CBN_ERRSPACE = 0xFFFF, CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4,
  CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8, CBN_SELENDOK = 9,
  CBN_SELENDCANCEL = 10,
};
struct COMBOBOXINFO {
  DWORD cbSize = sizeof(COMBOBOXINFO);
  RECT rcItem{};
  RECT rcButton{};
  DWORD stateButton = 0;
  HWND hwndCombo = nullptr;
  HWND hwndItem = nullptr;
  HWND hwndList = nullptr;
};

// ---------------------------------------------------------------------------------------
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

class TCustomListBox;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// One item of a list box or combo box.
struct TListItemData {
  std::string Text;
  ULONG_PTR Data = 0;  // the object of Items.Objects
  int Height = 0;      // owner-draw variable: the measured height
  bool Selected = false;
};

// The items of a list box as a string list (each string with an object).
class TListBoxStrings : public TStrings {
  LORM_CLASS(TListBoxStrings, TStrings)
public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  std::string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int IndexOf(const std::string& S) const override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

protected:
  void SetUpdateState(bool Updating) override;

private:
  TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
  LORM_PUBLISHED(TCustomListBox, TWinControl)
public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  void WndProc(TMessage& Message) override;

  TStrings* Items() const { return FItemStrings.get(); }
  void SetItems(TStrings* Value);
  int Count() const { return int(FItems.size()); }
  int ItemIndex();
  void SetItemIndex(int Value);
  bool Selected(int Index) const;
  void SetSelected(int Index, bool Value);
  int SelCount() const;
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  // Fixed item height (owner-draw); standard lists use the font's line height.
  int ItemHeight();
  void SetItemHeight(int Value);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value) { FIntegralHeight = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int Value) { FScrollWidth = Value; }
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value) { FTabWidth = Value; }
  TCanvas* Canvas() const { return FCanvas.get(); }

  void Clear();
  void ClearSelection();
  void DeleteSelected();
  void SelectAll();
  // The item under a client point (-1 when none; Existing false: the nearest one).
  int ItemAtPos(const TPoint& Pos, bool Existing);
  TRect ItemRect(int Index);
  // Scrolls so that the item is visible.
  void MakeVisible(int Index);

  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  // The item store the strings and the LB_* messages work on (for TListBoxStrings).
  int InsertItem(int Index, const std::string& S, ULONG_PTR Data, bool KeepOrder);
  void DeleteItem(int Index);
  void ResetContent();
  const std::vector<TListItemData>& ItemData() const { return FItems; }
  std::vector<TListItemData>& MutableItemData() { return FItems; }
  void ItemsChanged();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  void KeyPress(char32_t& Key) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  // Owner drawing goes through the parent window, as with the system's list box: an
  // item's WM_MEASUREITEM / WM_DRAWITEM (Msg) is sent there and the parent's control
  // reflects it back (CN_MEASUREITEM / CN_DRAWITEM). Without a parent window the
  // control answers it itself.
  virtual void SendOwnerDraw(UINT Msg, LPARAM Struct);

  std::unique_ptr<TControlCanvas> FCanvas;

private:
  int HeightOf(int Index);
  int VisibleItemsFrom(int Top);
  void UpdateScrollBar();
  void Notify(WORD Code);
  void MeasureAll();
  void SetCaret(int Index);
  void SelectSingle(int Index, bool Notify);
  void SelectRange(int From, int To, bool Clear);
  void MouseSelect(int Index, TShiftState Shift, bool ButtonDown);
  void KeyNavigate(WORD Key, TShiftState Shift);
  void PaintItem(HDC DC, int Index, const RECT& R, UINT Action);
  int FindString(const std::string& S, int Start, bool Exact) const;
  int SortedIndexOf(const std::string& S) const;

  std::vector<TListItemData> FItems;
  std::unique_ptr<TListBoxStrings> FItemStrings;
  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  int FCurSel = -1;     // single-selection lists
  int FCaret = -1;      // focused item
  int FAnchor = -1;     // extended selection range start
  int FTopIndex = 0;
  bool FMultiSelect = false;
  bool FExtendedSelect = true;
  bool FSorted = false;
  bool FIntegralHeight = false;
  TBorderStyle FBorderStyle = bsSingle;
  bool FAutoComplete = true;
  int FColumns = 0;
  int FScrollWidth = 0;
  int FTabWidth = 0;
  bool FTracking = false;
  int FUpdateCount = 0;
  std::string FFilter;
  unsigned long long FLastTime = 0;
};

class TListBox : public TCustomListBox {
  LORM_PUBLISHED(TListBox, TCustomListBox)
public:
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox;

// The list of a combo box: a pop-up window (csSimple: a child below the edit) holding the
// combo box's items.
class TComboListBox : public TCustomListBox {
  LORM_PUBLISHED(TComboListBox, TCustomListBox)
public:
  TComboListBox(TComponent* AOwner, TCustomComboBox* Combo);
  void WndProc(TMessage& Message) override;
  bool Simple = false;
  bool IgnoreNextUp = false;  // the release of the press that dropped the list

protected:
  void CreateParams(TCreateParams& Params) override;
  void SendOwnerDraw(UINT Msg, LPARAM Struct) override;

private:
  TCustomComboBox* FCombo;
};

class TCustomComboBox : public TWinControl {
  LORM_PUBLISHED(TCustomComboBox, TWinControl)
public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TStrings* Items() const { return FList->Items(); }
  void SetItems(TStrings* Value) { FList->Items()->Assign(Value); }
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  int ItemIndex();
  void SetItemIndex(int Value);
  int ItemHeight();
  void SetItemHeight(int Value);
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = std::max(1, Value); }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool Value) { FAutoComplete = Value; }
  bool AutoDropDown() const { return FAutoDropDown; }
  void SetAutoDropDown(bool Value) { FAutoDropDown = Value; }
  bool Sorted() const { return FList->Sorted(); }
  void SetSorted(bool Value) { FList->SetSorted(Value); }
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  int DroppedWidth() const { return FDroppedWidth; }
  void SetDroppedWidth(int Value) { FDroppedWidth = Value; }
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  std::string SelText();
  void SetSelText(const std::string& Value);
  void SelectAll();
  void Clear();
  TCanvas* Canvas() const { return FCanvas.get(); }
  // The edit window (csDropDown, csSimple) and the list window.
  HWND EditHandle() const { return FEditHandle; }
  HWND ListHandle() const { return FList->HandleAllocated() ? FList->Handle() : nullptr; }
  TComboListBox* ListBox() const { return FList.get(); }
  // The button area (client coordinates; empty for csSimple).
  TRect ButtonRect();
  bool Focused();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  // The messages of the edit and list windows pass here first; the default hands them to
  // the window's own procedure (ComboProc) after the framework's key and focus handling.
  virtual void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);
  // Framework internals used by the list.
  void ListChoose(int Index);
  void CloseList(bool Accept);
  void NotifyParent(WORD Code);

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  void KeyPress(char32_t& Key) override;
  void Loaded() override;
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void MeasureItem(int Index, int& Height);
  bool IsOwnerDraw() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }

  std::unique_ptr<TControlCanvas> FCanvas;
  HWND FEditHandle = nullptr;
  WNDPROC FDefEditProc = nullptr;

private:
  friend class TComboListBox;
  int FLoadedItemIndex = -1;  // an item index read before the items: set when loading ends
  // Owner drawing of the items and the field, through the parent window like a list
  // box's, as the combo box's (ODT_COMBOBOX, its id and window).
  void SendOwnerDraw(UINT Msg, LPARAM Struct);
  static LRESULT EditSubclassProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  // Keys the combo box handles itself (navigation, drop-down); true when used.
  bool ComboKey(WORD Key, TShiftState Shift);
  void SetCurSel(int Index, bool Notify);
  void UpdateEditText();
  void LayoutEdit();
  void AutoCompleteEdit();
  int FindPrefix(const std::string& Prefix, int Start) const;

  std::unique_ptr<TComboListBox> FList;
  TComboBoxStyle FStyle = csDropDown;
  int FItemHeight = 16;
  int FEditHeight = 0;  // CB_SETITEMHEIGHT(-1): the field's height (0: from the font)
  bool FDroppedDown = false;
  int FDropDownCount = 8;
  int FDroppedWidth = 0;
  bool FAutoComplete = true;
  bool FAutoDropDown = false;
  int FMaxLength = 0;
  int FSelBeforeDrop = -1;
  bool FSettingText = false;
  bool FTypedChar = false;
  bool FPendingChange = false;
  std::string FFilter;
  unsigned long long FLastTime = 0;
};

class TComboBox : public TCustomComboBox {
  LORM_PUBLISHED(TComboBox, TCustomComboBox)
public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};
