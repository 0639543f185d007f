#pragma once
// Menus of the framework: shortcuts (TShortCut and their texts), menu items, the main
// menu of a form (its menu bar), pop-up menus and the pop-up list window that receives
// their messages. Items build the window system's menus (platform/win/WinMenu.h); an
// owner-drawn menu measures and draws its items through OnMeasureItem, OnDrawItem and
// OnAdvancedDrawItem with the item's TOwnerDrawState.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/win/WinMenu.h"

class TBasicAction;
class TMenuActionLink;
class TCustomForm;

// ---------------------------------------------------------------------------------------
// Shortcuts: a virtual key in the low byte with scShift, scCtrl and scAlt added.
using TShortCut = WORD;
constexpr TShortCut scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+N", "Shift+Del", "F5", "Alt+Ctrl+Shift+Home" (modifiers in the order Shift,
// Ctrl, Alt put in front: Ctrl+Shift+X reads "Shift+Ctrl+X"); empty for scNone.
std::string ShortCutToText(TShortCut ShortCut);
// The inverse, case-insensitive; 0 for a text that names no key.
TShortCut TextToShortCut(const std::string& Text);
// The shortcut of a key message (WParam: the key) with the modifiers held now.
TShortCut ShortCutFromMessage(const TMessage& Message);
// Captions: "&" marks the accelerator ("&&" is a literal "&"); "-" is a separator line.
std::string StripHotkey(const std::string& Text);
std::string GetHotkey(const std::string& Text);  // the accelerator character (UTF-8), lower case
constexpr const char* cLineCaption = "-";

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TMenuItemAutoFlag { maAutomatic, maManual, maParent };
using TMenuAutoFlag = TMenuItemAutoFlag;
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenuItem;
class TMenu;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenuItem : public TComponent {
  LORM_PUBLISHED(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // Sub-items.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* operator[](int Index) const { return Items(Index); }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);  // frees the item
  void Remove(TMenuItem* Item);  // takes it out without freeing it
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  TMenuItem* Find(const std::string& ACaption) const;  // by caption without "&", case-insensitive
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  // The menu this item belongs to (nullptr when it belongs to none).
  TMenu* GetParentMenu() const;
  TCustomImageList* GetImageList() const;
  bool IsLine() const { return FCaption == cLineCaption; }

  // The window system's side: the command id (unique in the program) and, for an item
  // with sub-items, the handle of its pop-up menu.
  WORD Command() const { return FCommand; }
  HMENU Handle();
  bool HasHandle() const { return FHandle != nullptr; }

  // Properties.
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  BYTE GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(BYTE Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  TMenuItemAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
  void SetAutoHotkeys(TMenuItemAutoFlag Value) { FAutoHotkeys = Value; }
  TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
  void SetAutoLineReduction(TMenuItemAutoFlag Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  bool HasBitmap() const;
  TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TCustomImageList* Value);
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TMenuActionLink* ActionLink() const { return FActionLink.get(); }

  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // Runs the item: AutoCheck, then OnClick, or the action when there is no OnClick.
  virtual void Click();
  // Updates the linked action (its OnUpdate), as before the item is shown or used.
  void InitiateAction();
  // Owner-drawn items: the framework's measure and drawing, then the events.
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  virtual void DrawItem(TCanvas* ACanvas, TRect ARect, bool Selected);
  virtual void AdvancedDrawItem(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel);
  // Whether the item is drawn by its owner.
  bool IsOwnerDraw() const;
  // Stored-form streaming: sub-items are written inside the item.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

  // The menu's window handles must be rebuilt (Rebuild) or only redrawn.
  virtual void MenuChanged(bool Rebuild);
  // Called by the action link.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

  bool IsCaptionStored() const;
  bool IsCheckedStored() const;
  bool IsEnabledStored() const;
  bool IsShortCutStored() const;
  bool IsVisibleStored() const;
  bool IsHintStored() const;
  bool IsImageIndexStored() const;

protected:
  void SetChildOrder(TComponent* Child, int Order) override;

private:
  friend class TMenu;
  void RebuildHandle();  // fills this item's pop-up handle with the visible sub-items
  void DestroyHandles();
  void TurnSiblingsOff();
  bool ComputeVisibleLines(std::vector<TMenuItem*>& Shown) const;
  void DoActionChange(TObject* Sender);

  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> FItems;
  HMENU FHandle = nullptr;
  WORD FCommand = 0;
  std::string FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false;
  bool FRadioItem = false;
  BYTE FGroupIndex = 0;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  TMenuBreak FBreak = mbNone;
  bool FAutoCheck = false;
  TMenuItemAutoFlag FAutoHotkeys = maParent;
  TMenuItemAutoFlag FAutoLineReduction = maParent;
  std::string FHint;
  int FHelpContext = 0;
  int FImageIndex = -1;
  std::unique_ptr<TBitmap> FBitmap;
  TCustomImageList* FSubMenuImages = nullptr;
  std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public TComponent {
  LORM_PUBLISHED(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems.get(); }
  // The window system's menu (a menu bar for TMainMenu, a pop-up menu otherwise).
  virtual HMENU Handle();
  // The window the menu's messages come from (a form for its main menu).
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value);
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
  void SetAutoHotkeys(TMenuAutoFlag Value) { FAutoHotkeys = Value; }
  TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
  void SetAutoLineReduction(TMenuAutoFlag Value);
  TMenuChangeEvent OnChange;

  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // WM_COMMAND of an item: runs it; false when the command is not one of this menu's.
  bool DispatchCommand(WORD ACommand);
  // WM_INITMENUPOPUP of one of its pop-up handles: the parent item's OnClick and the
  // sub-items' actions are updated; false when the handle is not this menu's.
  bool DispatchPopup(HMENU AMenu);
  // A key message with the modifiers held now: runs the item with that shortcut.
  virtual bool IsShortCut(TMessage& Message);
  // WM_MENUCHAR: the item whose caption has that letter (also without "&").
  LRESULT ProcessMenuChar(TMessage& Message);
  // Handles WM_MEASUREITEM and WM_DRAWITEM of its owner-drawn items; false when the item
  // is not this menu's.
  bool MeasureItemMessage(MEASUREITEMSTRUCT& mis);
  bool DrawItemMessage(const DRAWITEMSTRUCT& dis);
  // Rebuilds the window system's menu from the items.
  void UpdateItems();

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The items changed (Source: the item, nullptr: all).
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);

protected:
  void SetChildOrder(TComponent* Child, int Order) override;
  virtual HMENU CreateMenuHandle() = 0;
  void DestroyMenuHandle();

private:
  friend class TMenuItem;
  std::unique_ptr<TMenuItem> FItems;
  HMENU FHandle = nullptr;
  HWND FWindowHandle = nullptr;
  bool FOwnerDraw = false;
  TCustomImageList* FImages = nullptr;
  TMenuAutoFlag FAutoHotkeys = maAutomatic;
  TMenuAutoFlag FAutoLineReduction = maAutomatic;
  int FRebuilding = 0;
};

class TMainMenu : public TMenu {
  LORM_PUBLISHED(TMainMenu, TMenu)
public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  ~TMainMenu() override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
  // Merging another form's menu: its top-level items join this bar; items of this menu
  // whose GroupIndex equals a merged item's are hidden while merged.
  void Merge(TMainMenu* Menu);
  void Unmerge(TMainMenu* Menu);
  bool AutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }

protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }

private:
  void Rebuild();
  bool FAutoMerge = false;
  std::vector<TMainMenu*> FMerged;
};

class TPopupMenu : public TMenu {
  LORM_PUBLISHED(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point and tracks it; a chosen item runs when its
  // command arrives (the window system posts it).
  virtual void Popup(int X, int Y);
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  TPoint PopupPoint() const { return FPopupPoint; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TTrackButton FTrackButton = tbRightButton;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint{-1, -1};
  int FHelpContext = 0;
};

// The hidden window that owns every pop-up menu the framework shows: it receives their
// WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR, WM_MEASUREITEM and
// WM_DRAWITEM and hands them to the pop-up menu they belong to.
class TPopupList {
public:
  HWND Window();
  void Add(TPopupMenu* Menu);
  void Remove(TPopupMenu* Menu);
  const std::vector<TPopupMenu*>& Menus() const { return FMenus; }

private:
  static LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  std::vector<TPopupMenu*> FMenus;
  HWND FWindow = nullptr;
};
TPopupList* PopupList();

// The form's menu messages (WM_COMMAND from a menu, WM_INITMENUPOPUP, WM_MENUCHAR,
// WM_MEASUREITEM/WM_DRAWITEM of menu items, WM_MENUSELECT) for its main menu; true when
// the message was handled.
bool DispatchMenuMessage(TMenu* Menu, TMessage& Message);
