#pragma once
// VivIzizEzuBar: the tool bar (TDizCustomToolBar, published as TVivIzizEzu) and the items
// it lays out: the common item base, tool bar buttons, separators, menu buttons, the glow
// menu button and the container.
//
// A tool bar is docked (its parent a dock site), floating (its own floating window) or
// fixed (any other parent: a ribbon page or an ordinary panel). It keeps its controls in
// a sequence list of its own, places them and sizes itself to fit, and paints with the
// tool bar styler in force (its assigned ToolBarStyler, the one of its dock site or pager
// with ParentStyler, else its internal styler).
//
// The dock panel, the ribbon page and the floating window are built elsewhere; the tool
// bar knows them through the small host interfaces below, which they implement.
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "foundation/DizHintInfo.h"
#include "foundation/GDIPicture.h"
#include "menus/DovAvarOrodez.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"
#include "toolbar/VivIzizEzu.h"

namespace VivIzizEzu {

// ---- the index-guarding list ------------------------------------------------------------
// A pointer list whose checked accessors raise "Index out of bounds in list read access"
// or "... write access" for an index at or beyond Count, and the framework list's own
// index error for a negative one. The list never owns its items.
class TDbgList : public TList {
  LORM_CLASS(TDbgList, TList)
public:
  void* GetItemsEx(int Index) const;
  void SetItemsEx(int Index, void* Item);
  // Clears the list and appends every item of List in order.
  void AssignList(const TList* List);
};

enum TToolBarState { tsDocked, tsFloating, tsFixed };
enum TDockAlign { daLeft, daTop, daRight, daBottom };
// The sides a tool bar may dock to, and which dock panels it may join.
using TDockableTo = TSet<TDockAlign>;
enum TDockMode { dmAll, dmAllParentDockPanels, dmParentDockPanelOnly };
enum TCaptionPosition { cpTop, cpBottom };
enum TDizButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };
enum TDizToolButtonStyle { tasButton, tasCheck };
enum TDizSeparatorStyle { ssOffice2003, ssBlank };
// The bevel kinds of the styler's Bevel value.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

inline bool IsHorizontal(TDockAlign A) { return A == daTop || A == daBottom; }

class TDizCustomToolBar;
class TDizCustomToolBarControl;
class TDizCustomToolBarButton;
class TVivIzizEzuMenuButton;
class TVivIzizEzuSeparator;
class TVivIzizEzuContainer;
class TFloatingWindow;
class TOptionSelectorWindow;
class TControlSelectorPanel;

enum TPersistenceLocation { plRegistry, plIniFile };

// Whether and where tool bar positions are saved: the registry (Key is a key path) or an
// INI file (Key is the file name), in Section. Nothing is saved or loaded while Enabled
// is off, or while Key or Section is empty.
class TPersistence : public TPersistent {
  LORM_PUBLISHED(TPersistence, TPersistent)
public:
  explicit TPersistence(TComponent* AOwner) : FOwner(AOwner) {}
  // Copies the four values, without raising OnChange.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override { return FOwner; }

  TPersistenceLocation Location() const { return FLocation; }
  void SetLocation(TPersistenceLocation Value);
  const std::string& Key() const { return FKey; }
  void SetKey(const std::string& Value);
  const std::string& Section() const { return FSection; }
  void SetSection(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Enabled, with a key and a section.
  bool Active() const { return FEnabled && !FKey.empty() && !FSection.empty(); }
  TNotifyEvent OnChange;

private:
  void Change();
  TComponent* FOwner;
  TPersistenceLocation FLocation = plRegistry;
  std::string FKey;
  std::string FSection;
  bool FEnabled = false;
};

// ---- hosts a tool bar can stand on --------------------------------------------------------
// A dock site (the dock panel). The panel keeps its tool bars in rows.
class IToolBarDockSite {
public:
  // Takes the tool bar into a row; -1 refuses it.
  virtual int AddToolBar(TDizCustomToolBar* ToolBar) = 0;
  virtual void RemoveToolBar(TDizCustomToolBar* ToolBar) = 0;
  // The styler the panel paints with (nullptr while it is being destroyed).
  virtual TCustomVivIzizEzuStyler* DockStylerInForce() const = 0;
  // The colour of the panel's surface, or of its background bitmap, at a point of the
  // panel's client area; false for a point outside it.
  virtual bool DockPixel(int X, int Y, bool FromBitmap, TColor& Color) const = 0;
  virtual void UpdateToolBarVisibility(TDizCustomToolBar*) {}
  virtual void SetToolBarFullSize(TDizCustomToolBar*, bool) {}
  // Lets the rows correct a docked tool bar's requested bounds (the tool bar's SetBounds
  // asks, unless its AllowBoundChange flag is set).
  virtual void SetToolBarBounds(TDizCustomToolBar*, int&, int&, int&, int&) {}
  // Re-arranges and re-packs every row (the tool bar's Update asks).
  virtual void ArrangeToolBars() {}
  // Re-arranges the row the tool bar stands in (after its controls changed).
  virtual void ArrangeToolBarRow(TDizCustomToolBar*) {}

protected:
  ~IToolBarDockSite() = default;
};

// A ribbon page. Tool bars on it never show a grip and lay small glow buttons out in
// columns of three.
class IToolBarPage {
public:
  // The styler in force of the page's pager; nullptr when the page is on no pager.
  virtual TCustomVivIzizEzuStyler* PagerStylerInForce() const = 0;
  virtual bool OnPager() const = 0;
  // The colour of the page's surface at a point of its client area; false outside it.
  virtual bool PagePixel(int X, int Y, TColor& Color) const = 0;

protected:
  ~IToolBarPage() = default;
};

// The customizer linked to a tool bar: the tool bar's loading records its designed layout
// and applies the user's one; the tool bar's option window reaches the dialog through it.
class IToolBarCustomizer {
public:
  virtual void SaveInitialState() = 0;
  virtual void UpdateVivIzizEzu() = 0;
  virtual void ShowCustomizer() = 0;
  virtual void ResetToolBar() = 0;

protected:
  ~IToolBarCustomizer() = default;
};

// ---- the tool bar -----------------------------------------------------------------------
class TDizCustomToolBar : public TCustomControl, public IVivIzizEzuStylerClient {
  LORM_CLASS(TDizCustomToolBar, TCustomControl)
public:
  explicit TDizCustomToolBar(TComponent* AOwner);
  ~TDizCustomToolBar() override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetParent(TWinControl* AParent) override;
  void WndProc(TMessage& Message) override;
  void Update() override;
  // A docked tool bar's bounds pass through its dock site's rows unless AllowBoundChange.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Styler client.
  TStylerClientKind StylerClientKind() const override { return sckToolBar; }
  void UpdateMe(int Kind) override;
  TCustomVivIzizEzuStyler* ToolBarStyler() const override { return FToolBarStyler; }
  void SetToolBarStyler(TCustomVivIzizEzuStyler* Value) override;
  // The styler painting and layout read; never nullptr.
  TCustomVivIzizEzuStyler* StylerInForce() const { return FStylerInForce; }
  TCustomVivIzizEzuStyler* InternalStyler() const { return FInternalStyler; }
  bool ParentStyler() const { return FParentStyler; }
  void SetParentStyler(bool Value);
  void UpdateAllGlowButtons();
  void UpdateAllContainer();

  // State and hosts.
  TToolBarState ToolBarState() const { return FState; }
  TDockAlign Position() const { return FPosition; }
  // The side of the bar; every item follows it. (The dock panel and dragging set it.)
  void SetPosition(TDockAlign Value);
  bool Horizontal() const { return FState == tsFloating || IsHorizontal(FPosition); }
  int Row() const { return FRow; }
  void SetRow(int Value) { FRow = Value; }
  TWinControl* GetDizDockPanel() const { return FDockPanel; }
  IToolBarDockSite* DockSite() const;
  IToolBarPage* Page() const;
  bool OnPage() const { return Page() != nullptr; }

  // Control list.
  int AddToolBarControl(TControl* Control);
  void InsertToolBarControl(int Index, TControl* Control);
  void MoveToolBarControl(int CurIndex, int NewIndex);
  int IndexOfToolBarControl(TControl* Control) const;
  TControl* GetToolBarControls(int Index) const;
  int GetToolBarControlCount() const { return FSequence->Count(); }
  int AddVivIzizEzuControl(TDizCustomToolBarControl* Control);
  void InsertVivIzizEzuControl(TDizCustomToolBarControl* Control, int Index);
  void RemoveVivIzizEzuControl(TDizCustomToolBarControl* Control);
  // A child arrived or left (from CM_CONTROLCHANGE).
  void InsertControl(TControl* Control);
  void RemoveControl(TControl* Control);
  void AdjustControl(TControl* Control);
  void BuildSequenceControlList();
  void GetSequenceControlList(TDbgList* List, bool VisibleOnly);
  int ControlIndex(int OldIndex, int Left, int Top) const;
  int ReorderControl(int Index, int Left, int Top);
  const TDbgList* HiddenList() const { return FHidden.get(); }
  const TDbgList* RecentlyUsedList() const { return FRUL.get(); }
  const TDbgList* VisibleSnapshot() const { return FVisibleSnapshot.get(); }
  // Overflow bookkeeping (the recently-used lists follow the sequence list).
  void UpdateRULists();
  bool AutoRUL() const { return FAutoRUL; }
  void SetAutoRUL(bool Value) { FAutoRUL = Value; }

  // Layout and size.
  void SetControlsPosition(bool Resize);
  void UpdateSize();
  int GetMaxLength();
  int GetSizeAtDock(bool AtDock);
  void GetMaxControlSize(int& W, int& H);
  void GetMaxExternalControlSize(int& W, int& H);
  void GetMaxToolBarButtonSize(int& W, int& H);
  int CanShrink() const;
  int CanExpand() const;
  void AdjustSizeOfAllButtons(bool OnlyMenuButtons);
  int FullLength() const { return FFullLength; }
  int DockedThickness() const { return FDockedThickness; }
  int MinLength() const { return FMinLength; }
  int DragGripWidth() const { return FDragGripWidth; }
  void SetDragGripWidth(int Value);
  int PopupIndicatorWidth() const { return FPopupIndicatorWidth; }
  void SetPopupIndicatorWidth(int Value);
  bool ShowPopupIndicator() const { return FShowPopupIndicator; }
  void SetShowPopupIndicator(bool Value);
  int FloatingRows() const { return FFloatingRows; }
  // The grip inset of the layout: 2 without a grip, else the grip width + 2.
  int GripInset() const;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Properties.
  bool AllowFloating() const { return FAllowFloating; }
  void SetAllowFloating(bool Value);
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value);
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  bool AutoArrangeButtons() const { return FAutoArrangeButtons; }
  void SetAutoArrangeButtons(bool Value);
  bool AutoPositionControls() const { return FAutoPositionControls; }
  void SetAutoPositionControls(bool Value);
  bool AutoSize() const { return FAutoSizeEx; }
  void SetAutoSizeEx(bool Value);
  void SetAutoSize(bool Value) override { SetAutoSizeEx(Value); }
  bool FullSize() const { return FFullSize; }
  void SetFullSize(bool Value);
  void SetCaption(const std::string& Value);
  const std::u16string& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const std::u16string& Value);
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value);
  int CaptionHeight() const { return FCaptionHeight; }
  void SetCaptionHeight(int Value);
  TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
  void SetCaptionPosition(TCaptionPosition Value);
  TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool ShowRightHandle() const { return FShowRightHandle; }
  void SetShowRightHandle(bool Value);
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool Value) { FShowClose = Value; }
  bool ShowOptionIndicator() const { return FShowOptionIndicator; }
  void SetShowOptionIndicator(bool Value);
  bool HideOnEmpty() const { return FHideOnEmpty; }
  void SetHideOnEmpty(bool Value) { FHideOnEmpty = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  void UpdateImagesShade();
  // ---- menu-bar mode (VivIzizEzuMenuBar.cpp) ----
  // A main menu shown as one menu button per top-level item, driven from mouse and keys.
  TComponent* Menu() const { return FMenu; }
  void SetMenu(TComponent* Value);
  void UpdateMenu();
  bool MenuDropped() const { return FMenuDropped; }
  bool InMenuLoop() const { return FInMenuLoop; }
  bool KeyboardMenuMode() const { return FKeyboardMenuMode; }
  bool MenuItemChosen() const { return FMenuItemChosen; }
  virtual bool CheckMenuDropdown(TDizCustomToolBarButton* Button);
  virtual void CancelMenu();
  virtual void ClickButton(TDizCustomToolBarButton* Button, bool ByMouse);
  virtual bool TrackMenu(TDizCustomToolBarButton* Button);
  virtual void InitMenu(TDizCustomToolBarButton* Button);
  TDizCustomToolBarButton* FindButtonFromAccel(const std::string& Key);
  bool SetButtonHot(int Index);
  bool SetButtonHot(TDizCustomToolBarButton* Button);
  void UpdateButtonHot(TDizCustomToolBarButton* Button);
  TDizCustomToolBarButton* HighlightedButton() const { return FHighlightedButton; }
  int GetMenuItemCount() const;
  void ClearTempMenu();
  TPopupMenu* DropDownPopup() const { return FDropDownPopup; }
  // Where a menu W wide and H high drops from Button (screen), by the bar's side: below,
  // or above when it would pass the monitor's bottom; kept W + 52 inside its right edge.
  TPoint MenuDropPoint(TDizCustomToolBarButton* Button, int W, int H, bool RightToLeft);
  // ---- overflow (VivIzizEzuOverflow.cpp) ----
  // Marks a control as just used: to the front of the recently-used list, back from the
  // hidden list, then the overflow is worked out again.
  void UpControlInRUL(TControl* Control);
  void MoveUpInRUList(TControl* Control);
  // At paint: when room appeared, posts a pass of UpdateRULists (never re-parents while
  // painting).
  void CheckAndUpdateRUList();
  void UnHideAllControls();
  // ---- option window (VivIzizEzuOption.cpp) ----
  void OptionIndicatorClick();
  void CapOptionIndicatorClick();
  void InitializeOptionWindow();
  void ShowOptionWindow(int X, int Y, bool UsePoint);
  void HideOptionWindow();
  void OnOptionWindowHide(TObject* Sender);
  TOptionSelectorWindow* OptionWindow() const { return FOptionWindow; }
  TControlSelectorPanel* OptionPanel() const { return FOptionPanel; }
  // ---- dragging, docking and floating (VivIzizEzuFloating.cpp) ----
  bool PtOnDragGrip(int X, int Y);
  bool PtOnPopupIndicator(int X, int Y);
  bool PtOnGripCaption(int X, int Y);
  bool PtOnCloseBtn(int X, int Y);
  bool PtOnCustomizedBtn(int X, int Y);
  // The first visible, enabled tool bar button whose bounds hold the point (edges in).
  TDizCustomToolBarButton* ButtonAtPos(int X, int Y);
  // Runs a whole drag in a loop of its own; returns when it ended.
  void BeginMove(TShiftState Shift, int X, int Y);
  // One step of a drag (client coordinates of the tool bar).
  void Move(TShiftState Shift, int X, int Y);
  void EndMove();
  bool Moving() const { return FMoving; }
  bool AcceptableDockPanel(TWinControl* Panel);
  void Dock(TWinControl* Panel);
  // Floats at (X, Y) on the screen, or at the cursor without UsePoint.
  void SetFloating(int X, int Y, bool UsePoint);
  void CloseBtnClick();
  void SetFloatingRows(int Count);
  int GetMaxFloatingRowCount();
  void GetFloatingSizes(int& AHeight, int& AWidth);
  bool GetFloatingWindowSizes(int Rows, int& AHeight, int& AWidth);
  TFloatingWindow* FloatingWindow() const { return FFloatingWindow; }
  TWinControl* LastDockPanel() const { return FLastDockPanel; }
  // The form the floating window follows: the last dock panel's, else the form that owns
  // or holds the tool bar.
  TCustomForm* FloatingParentForm() const;
  // The dock-target rectangles of the running drag (screen coordinates).
  int DockTargetCount() const { return static_cast<int>(FDockTargets.size()); }
  TWinControl* DockTargetPanel(int Index) const { return FDockTargets.at(size_t(Index)).Panel; }
  TRect DockTargetRect(int Index) const { return FDockTargets.at(size_t(Index)).Rect; }
  // One tick of the floating timer: the window follows its form's visibility.
  void FloatingTimerTick();
  UINT_PTR FloatingTimer() const { return FFloatingTimer; }
  // ---- MDI buttons of a menu bar (VivIzizEzuMdiButtons.cpp) ----
  // The minimize, restore and close buttons of the parent form's maximized MDI child at
  // the bar's far end. Needs FullSize and a Menu; else it falls back to off at run time.
  void SetAutoMDIButtons(bool Value);
  // The first form up the chain from the dock panel (else the last one, else the parent).
  TCustomForm* GetMyParentForm() const;
  TRect GetMDICloseBtnRect();
  TRect GetMDIMaxBtnRect();
  TRect GetMDIMinBtnRect();
  bool PtOnMDIClose(int X, int Y);
  bool PtOnMDIMax(int X, int Y);
  bool PtOnMDIMin(int X, int Y);
  void MDICloseBtnClick();
  void MDIMaxBtnClick();
  void MDIMinBtnClick();
  void DrawMDIButtons();
  bool MDIButtonsVisible() const { return FMDIButtonsVisible; }
  void SetMDIButtonsVisible(bool Value);
  // Hot and pressed looks of close (0), maximize (1) and minimize (2).
  bool MDIButtonHot(int Index) const { return FMDIHot[Index]; }
  bool MDIButtonDown(int Index) const { return FMDIDown[Index]; }

  // ---- position persistence (VivIzizEzuPosition.cpp) ----
  void SavePosition();
  void LoadPosition();
  TPoint GetPosition() const;
  bool PositionLoaded() const { return FPositionLoaded; }
  bool AllowBoundChange() const { return FAllowBoundChange; }
  void SetAllowBoundChange(bool Value) { FAllowBoundChange = Value; }
  bool LoadedFlag() const { return FLoadedFlag; }

  static std::string GetVersion();
  static int GetVersionNr() { return 0x03050300; }
  std::string Version() const { return GetVersion(); }
  void SetVersion(const std::string&) {}

  // The customizer link (the customizer sets it).
  TComponent* Customizer() const { return FCustomizer; }
  void SetCustomizer(TComponent* Value);
  void ShowCustomizer();
  void ResetToolBar();

  // Stored settings of floating, MDI buttons, the option menu and compact mode.
  bool AutoDockOnClose() const { return FAutoDockOnClose; }
  void SetAutoDockOnClose(bool Value) { FAutoDockOnClose = Value; }
  bool AutoMDIButtons() const { return FAutoMDIButtons; }
  bool AutoOptionMenu() const { return FAutoOptionMenu; }
  void SetAutoOptionMenu(bool Value) { FAutoOptionMenu = Value; }
  const std::string& CompactCaption() const { return FCompactCaption; }
  void SetCompactCaption(const std::string& Value) { FCompactCaption = Value; }
  TGDIPPicture* CompactPicture() const { return FCompactPicture.get(); }
  void SetCompactPicture(TGDIPPicture* Value) { FCompactPicture->Assign(Value); }
  int CompactImageIndex() const { return FCompactImageIndex; }
  void SetCompactImageIndex(int Value) { FCompactImageIndex = Value; }
  const std::string& CompactShortCutHint() const { return FCompactShortCutHint; }
  void SetCompactShortCutHint(const std::string& Value) { FCompactShortCutHint = Value; }
  const std::string& HintOptionButton() const { return FHintOptionButton; }
  void SetHintOptionButton(const std::string& Value) { FHintOptionButton = Value; }
  const std::string& HintCloseButton() const { return FHintCloseButton; }
  void SetHintCloseButton(const std::string& Value) { FHintCloseButton = Value; }
  TDockableTo DockableTo() const { return FDockableTo; }
  void SetDockableTo(TDockableTo Value) { FDockableTo = Value; }
  TDockMode DockMode() const { return FDockMode; }
  void SetDockMode(TDockMode Value) { FDockMode = Value; }
  const std::string& TextAutoOptionMenu() const { return FTextAutoOptionMenu; }
  void SetTextAutoOptionMenu(const std::string& Value) { FTextAutoOptionMenu = Value; }
  const std::string& TextOptionMenu() const { return FTextOptionMenu; }
  void SetTextOptionMenu(const std::string& Value) { FTextOptionMenu = Value; }
  TComponent* OptionMenu() const { return FOptionMenu; }
  void SetOptionMenu(TComponent* Value);
  TGDIPPicture* OptionPicture() const { return FOptionPicture.get(); }
  void SetOptionPicture(TGDIPPicture* Value) { FOptionPicture->Assign(Value); }
  TGDIPPicture* OptionDisabledPicture() const { return FOptionDisabledPicture.get(); }
  void SetOptionDisabledPicture(TGDIPPicture* Value) { FOptionDisabledPicture->Assign(Value); }
  bool ParentOptionPicture() const { return FParentOptionPicture; }
  void SetParentOptionPicture(bool Value) { FParentOptionPicture = Value; }
  int ToolBarIndex() const { return FToolBarIndex; }
  void SetToolBarIndex(int Value) { FToolBarIndex = Value; }
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  // Where the tool bar's own position is kept (section "UnDockedVivIzizEzus"); a dock
  // panel hands it its Enabled, Key and Location.
  TPersistence* Persistence() const { return FPersistence.get(); }
  void SetPersistence(TPersistence* Value) { FPersistence->Assign(Value); }

  TNotifyEvent OnUnDocked;
  std::function<void(TObject* Sender, TWinControl* DockPanel)> OnDocked;
  TNotifyEvent OnClose;
  std::function<void(TObject* Sender, TPoint ClientPoint, TPoint ScreenPoint)> OnOptionClick;
  std::function<void(TObject* Sender, bool& Allow)> OnCanFloat;

  // ---- painting (VivIzizEzuBarPaint.cpp) ----
  TRect GetCaptionRect();
  TRect GetMyClientRect();
  TRect FWCloseBtnRect();
  TRect FWCustomizedBtnRect();
  TRect GetOptionIndicatorRect();
  TRect GripRect() const;
  TRect RightHandleRect() const;
  void DrawDragGrip();
  void DrawPopupIndicator();
  // Hover, right-handle and option-button states kept for the mouse handling.
  bool Hover() const { return FHover; }
  void SetHover(bool Value);
  void SetRightHandleHot(bool Value);
  void SetRightHandleDown(bool Value);
  void SetOptionButtonHot(bool Value);
  void SetOptionButtonDown(bool Value);

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  friend class TDizCustomToolBarButton;
  friend class TFloatingWindow;
  friend class TDizDockPanel;
  struct TDockTarget {
    TWinControl* Panel;
    TRect Rect;
  };
  void FillDockTargets();
  void AddDockTargets(TWinControl* Root);
  void MeasureDockTargets();
  void GiveBack(TControl* Control);
  // The hidden list as a set, for lookups in passes over every control.
  std::unordered_set<const void*> HiddenSet() const;
  void CMMouseLeave(TMessage& Message);
  // The MDI buttons' share of the mouse handling; true when the event was theirs.
  bool MDIMouseDown(int X, int Y);
  void MDIMouseMove(int X, int Y);
  bool MDIMouseUp(int X, int Y);
  void MDIMouseLeave();
  TCustomForm* CurrentMDIChild();
  void RULHide(int S, int Avail);
  void RULGiveBack(int S, int Avail);
  int FindGroupSeparator(int Index, bool RequireHiddenGroup);
  void StylerChanged();
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsSmallGlow(TControl* C) const;
  int CaptionInset() const;
  void Park(TControl* C);
  void PlaceControl(TControl* C, int X, int Y);
  bool PopupShown() const { return FShowPopupIndicator; }
  void UpdateSizeHorizontal();
  void UpdateSizeVertical();
  void CMControlChange(TMessage& Message);
  void CMVisibleChanged(TMessage& Message);
  // Painting helpers.
  void PaintCaptionBand(const TRect& CR);
  void PaintBody(const TRect& F, TColor& BorderOut, bool& RoundedOut);
  void PaintBevel();
  void PaintCorners(TRect F, TColor BodyColor, bool Rounded);
  void PaintBorder(const TRect& F, TColor Border, bool Rounded);
  void PaintOptionButton();
  void SetCorner(int X, int Y, int SX, int SY, bool FromBitmap);

  TCustomVivIzizEzuStyler* FInternalStyler = nullptr;
  TCustomVivIzizEzuStyler* FToolBarStyler = nullptr;
  TCustomVivIzizEzuStyler* FStylerInForce = nullptr;
  bool FParentStyler = true;
  TToolBarState FState = tsDocked;
  TToolBarState FPrevState = tsDocked;
  TDockAlign FPosition = daTop;
  int FRow = -1;
  TWinControl* FDockPanel = nullptr;
  TWinControl* FLastDockPanel = nullptr;
  std::unique_ptr<TDbgList> FSequence, FRUL, FHidden, FVisibleSnapshot;
  int FDockedThickness = 26;
  int FMinLength = 60;
  int FFullLength = 0;
  int FDragGripWidth = 7;
  int FPopupIndicatorWidth = 14;
  bool FShowPopupIndicator = true;
  int FFloatingRows = 1;
  int FUpdateCount = 0;
  bool FPositioning = false;
  bool FControlTransfer = false;
  bool FOverflowGuard = false;
  bool FAdjusting = false;
  bool FAllowBoundChange = false;
  bool FLoadedFlag = false;
  bool FFirstPaint = true;
  bool FInPaint = false;
  bool FAutoRUL = true;
  bool FAllowFloating = true;
  bool FLocked = false;
  TAntiAlias FAntiAlias = aaClearType;
  bool FAutoArrangeButtons = true;
  bool FAutoPositionControls = true;
  bool FAutoSizeEx = true;
  bool FFullSize = false;
  std::u16string FWideCaption;
  std::unique_ptr<TFont> FCaptionFont;
  int FCaptionHeight = 16;
  TCaptionPosition FCaptionPosition = cpTop;
  TAlignment FCaptionAlignment = taLeftJustify;
  bool FShowCaption = false;
  bool FShowRightHandle = true;
  bool FShowClose = true;
  bool FShowOptionIndicator = true;
  bool FHideOnEmpty = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TComponent* FMenu = nullptr;
  TComponent* FCustomizer = nullptr;
  bool FAutoDockOnClose = false;
  bool FAutoMDIButtons = false;
  bool FAutoOptionMenu = false;
  std::string FCompactCaption;
  std::unique_ptr<TGDIPPicture> FCompactPicture = std::make_unique<TGDIPPicture>();
  int FCompactImageIndex = -1;
  std::string FCompactShortCutHint;
  std::string FHintOptionButton;
  std::string FHintCloseButton;
  TDockableTo FDockableTo{daLeft, daTop, daRight, daBottom};
  TDockMode FDockMode = dmAll;
  std::string FTextAutoOptionMenu = "Add or Remove Buttons";
  std::string FTextOptionMenu = "Options";
  TComponent* FOptionMenu = nullptr;
  std::unique_ptr<TGDIPPicture> FOptionPicture = std::make_unique<TGDIPPicture>();
  std::unique_ptr<TGDIPPicture> FOptionDisabledPicture = std::make_unique<TGDIPPicture>();
  bool FParentOptionPicture = true;
  int FToolBarIndex = -1;
  std::unique_ptr<TDizHintInfo> FOfficeHint = std::make_unique<TDizHintInfo>();
  std::unique_ptr<TPersistence> FPersistence;
  bool FHover = false;
  bool FRightHandleHot = false, FRightHandleDown = false;
  bool FOptionBtnHot = false, FOptionBtnDown = false;
  TCursor FSavedCursor = crDefault;
  // Dragging and floating.
  bool FMoving = false;
  TPoint FGrab{0, 0};
  std::vector<TDockTarget> FDockTargets;
  TFloatingWindow* FFloatingWindow = nullptr;
  TCustomForm* FParentForm = nullptr;
  bool FPendingShow = false;
  UINT_PTR FFloatingTimer = 0;
  bool FCloseHot = false, FCloseDown = false, FCustomizeHot = false, FCustomizeDown = false;
  bool FPositionLoaded = false;
  bool FRULPosted = false;
  // Menu-bar mode.
  bool MenuBarMessage(TMessage& Message);
  void MenuItemTimerOnTime(TObject* Sender);
  void HighlightNeighbour(bool Forward);
  bool FMenuDropped = false, FInMenuLoop = false, FKeyboardMenuMode = false, FMenuItemChosen = false;
  bool FCancelOnCaptureLoss = false;
  TDizCustomToolBarButton* FHighlightedButton = nullptr;
  TPopupMenu* FDropDownPopup = nullptr;
  TMenuItem* FSourceMenuItem = nullptr;
  TDizCustomToolBarButton* FLastDroppedButton = nullptr;
  TDizCustomToolBarButton* FDisplayedMenuButton = nullptr;
  TDizCustomToolBarButton* FPendingMenuButton = nullptr;
  TTimer* FMenuItemTimer = nullptr;
  friend LRESULT MenuFilterHookProc(int, WPARAM, LPARAM);
  friend LRESULT MenuKeyHookProc(int, WPARAM, LPARAM);
  // MDI buttons.
  bool FMDIButtonsVisible = false;
  bool FMDIHot[3] = {false, false, false};
  bool FMDIDown[3] = {false, false, false};
  TCustomForm* FMDIChild = nullptr;
  // The option window and its content.
  TOptionSelectorWindow* FOptionWindow = nullptr;
  TControlSelectorPanel* FOptionPanel = nullptr;
};

class TVivIzizEzu : public TDizCustomToolBar {
  LORM_PUBLISHED(TVivIzizEzu, TDizCustomToolBar)
public:
  using TDizCustomToolBar::TDizCustomToolBar;
};

// ---- items ------------------------------------------------------------------------------
// The common base of the graphic items a tool bar lays out.
class TDizCustomToolBarControl : public TGraphicControl {
  LORM_CLASS(TDizCustomToolBarControl, TGraphicControl)
public:
  explicit TDizCustomToolBarControl(TComponent* AOwner);
  // Leaves its tool bar's lists.
  ~TDizCustomToolBarControl() override;
  TDizCustomToolBar* VivIzizEzu() const { return FVivIzizEzu; }
  // Moves the control onto ToolBar (nullptr: off its tool bar); raises "VivIzizEzu not
  // set" when the tool bar did not take it, after putting the control back where it was.
  virtual void SetVivIzizEzu(TDizCustomToolBar* ToolBar);
  TDockAlign Position() const { return FPosition; }
  void SetPosition(TDockAlign Value);
  // Re-measures the item for its bar (nothing in the base).
  virtual void AdjustSize() {}
  // After a form has been read: an item whose parent is a tool bar joins it.
  void Loaded() override;

protected:
  friend class TDizCustomToolBar;
  friend class TVivIzizEzuContainer;
  TDizCustomToolBar* FVivIzizEzu = nullptr;
  TDockAlign FPosition = daTop;
};

// The per-button override of where image and caption stand.
class TVivIzizEzuButtonDrawPosition : public TPersistent {
  LORM_PUBLISHED(TVivIzizEzuButtonDrawPosition, TPersistent)
public:
  void Assign(TPersistent* Source) override;  // the five values, without OnChange
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V) { SetValue(FEnabled, V); }
  int TextX() const { return FTextX; }
  void SetTextX(int V) { SetValue(FTextX, V); }
  int TextY() const { return FTextY; }
  void SetTextY(int V) { SetValue(FTextY, V); }
  int ImageX() const { return FImageX; }
  void SetImageX(int V) { SetValue(FImageX, V); }
  int ImageY() const { return FImageY; }
  void SetImageY(int V) { SetValue(FImageY, V); }
  TNotifyEvent OnChange;

private:
  template <class T>
  void SetValue(T& Field, T V) {
    if (Field == V) return;
    Field = V;
    if (OnChange) OnChange(this);
  }
  bool FEnabled = false;
  int FTextX = 0, FTextY = 0, FImageX = 0, FImageY = 0;
};

class TDizCustomToolBarButton : public TDizCustomToolBarControl {
  LORM_CLASS(TDizCustomToolBarButton, TDizCustomToolBarControl)
public:
  explicit TDizCustomToolBarButton(TComponent* AOwner);
  ~TDizCustomToolBarButton() override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetParent(TWinControl* AParent) override;
  void WndProc(TMessage& Message) override;
  void Click() override;
  void AdjustSize() override;

  virtual void DrawButton(TCanvas* Canvas);
  virtual void DrawGlyphAndCaption(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap, TColor TextColor);
  virtual bool IsMenuButton() const { return false; }
  virtual TMenuItem* ButtonMenuItem() const { return nullptr; }
  void GenerateShade();
  void DoDropDown();
  void OnDropDownHide();
  int GetIndex() const;
  void InvalidateMe() { Invalidate(); }

  // Properties.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TButtonAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TButtonAppearance* Value) { FAppearance->Assign(Value); Invalidate(); }
  TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
  void SetGlyphPosition(TGlyphPosition Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value);
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  bool DropDownSplit() const { return FDropDownSplit; }
  void SetDropDownSplit(bool Value) { FDropDownSplit = Value; }
  TVivIzizEzuButtonDrawPosition* DrawPosition() const { return FDrawPosition.get(); }
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBitmap* GlyphHot() const { return FGlyphHot.get(); }
  void SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
  TBitmap* GlyphDown() const { return FGlyphDown.get(); }
  void SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
  TBitmap* GlyphChecked() const { return FGlyphChecked.get(); }
  void SetGlyphChecked(TBitmap* Value) { FGlyphChecked->Assign(Value); }
  TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
  void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TPicture* Picture() const { return FPicture.get(); }
  TPicture* PictureDisabled() const { return FPictureDisabled.get(); }
  bool ParentStyler() const { return FParentStyler; }
  void SetParentStyler(bool Value);
  bool Shaded() const { return FShaded; }
  void SetShaded(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TDizToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TDizToolButtonStyle Value) { FStyle = Value; }
  bool Hot() const { return FHot; }
  void SetHot(bool Value);
  TDizButtonState State() const { return FState; }
  void SetState(TDizButtonState Value) { FState = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { FFlat = Value; }
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  bool ForceImageIndex() const { return FForceImageIndex; }
  void SetForceImageIndex(bool Value) { FForceImageIndex = Value; }
  int InnerOffset() const { return FInnerOffset; }
  void SetInnerOffset(int Value) { FInnerOffset = Value; }
  int DropDownWidth() const { return 12; }
  TBitmap* Shade() const { return FShade.get(); }
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  void SetPictureDisabled(TPicture* Value) { FPictureDisabled->Assign(Value); }
  void SetDrawPosition(TVivIzizEzuButtonDrawPosition* Value) { FDrawPosition->Assign(Value); Invalidate(); }
  // An action's group and image follow into the button.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  std::unique_ptr<TControlActionLink> CreateActionLink() override;
  int CommandID = -1;
  bool MadeByCustomizer = false;
  std::string Version() const { return TDizCustomToolBar::GetVersion(); }
  void SetVersion(const std::string&) {}
  static int GetVersionNr() { return 0x03050300; }
  TNotifyEvent OnDropDown;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void ButtonDown() {}
  void PopupBtnDown();
  void UpdateExclusive();
  void UpdateTracking();
  // The styler in force of the button's tool bar, nullptr off a tool bar.
  TCustomVivIzizEzuStyler* Styler() const;
  // The image list and index the button draws (bar images, action images).
  void ImageSource(TCustomImageList*& List, int& Index) const;
  bool InsideClient(int X, int Y);
  void LeaveHot();
  void UnHotTimerOnTime(TObject* Sender);
  void GlyphChanged(TObject* Sender);
  void DrawArrow(TCanvas* Canvas, const TRect& D, TColor Color);

  std::unique_ptr<TButtonAppearance> FAppearance;
  std::unique_ptr<TVivIzizEzuButtonDrawPosition> FDrawPosition;
  std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphChecked, FGlyphDisabled, FShade;
  std::unique_ptr<TPicture> FPicture, FPictureDisabled;
  std::unique_ptr<TDizHintInfo> FOfficeHint = std::make_unique<TDizHintInfo>();
  TTimer* FUnHotTimer = nullptr;
  bool FAllowAllUp = false;
  TGlyphPosition FGlyphPosition = gpLeft;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FInitialDown = false;
  bool FDropDownButton = false;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FDropDownSplit = true;
  int FImageIndex = -1;
  bool FParentStyler = true;
  bool FShaded = true;
  bool FShowCaption = false;
  TDizToolButtonStyle FStyle = tasButton;
  bool FHot = false;
  TDizButtonState FState = absUp;
  bool FTransparent = true;
  int FSpacing = 4;
  bool FFlat = true;
  bool FGrouped = true;
  bool FForceImageIndex = false;
  int FInnerOffset = 4;
  bool FMouseInside = false;
  bool FPressedInside = false;
  bool FTracking = false;
  bool FMenuOpen = false;
  bool FShadeFromGlyph = false;
  bool FMenuClosedByClick = false, FDisplayingMenu = false, FClickedInternally = false;
  friend class TDizCustomToolBar;
};

// The action link of tool bar buttons: its client is the button.
class TVivIzizEzuButtonActionLink : public TControlActionLink {
  LORM_CLASS(TVivIzizEzuButtonActionLink, TControlActionLink)
public:
  explicit TVivIzizEzuButtonActionLink(TDizCustomToolBarButton* AClient);
  TDizCustomToolBarButton* Client() const { return FClient; }

private:
  TDizCustomToolBarButton* FClient;
};

class TVivIzizEzuButton : public TDizCustomToolBarButton {
  LORM_PUBLISHED(TVivIzizEzuButton, TDizCustomToolBarButton)
public:
  using TDizCustomToolBarButton::TDizCustomToolBarButton;
};

class TVivIzizEzuSeparator : public TDizCustomToolBarControl {
  LORM_PUBLISHED(TVivIzizEzuSeparator, TDizCustomToolBarControl)
public:
  explicit TVivIzizEzuSeparator(TComponent* AOwner);
  void Assign(TPersistent* Source) override;
  void AdjustSize() override;
  TDizSeparatorStyle SeparatorStyle() const { return FSeparatorStyle; }
  void SetSeparatorStyle(TDizSeparatorStyle Value);
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value);
  bool AutoSize() const { return FAutoSizeOn; }
  void SetAutoSize(bool Value) override;

protected:
  void Paint() override;

private:
  TDizSeparatorStyle FSeparatorStyle = ssOffice2003;
  TColor FLineColor = clBtnShadow;
  bool FAutoSizeOn = true;
};

class TVivIzizEzuMenuButton : public TDizCustomToolBarButton {
  LORM_PUBLISHED(TVivIzizEzuMenuButton, TDizCustomToolBarButton)
public:
  explicit TVivIzizEzuMenuButton(TComponent* AOwner);
  void DrawButton(TCanvas* Canvas) override;
  bool IsMenuButton() const override { return true; }
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The menu item the button shows (caption, checked state as Down, enabled state, hint,
  // image index and visibility are copied from it).
  TMenuItem* MenuItem() const { return FMenuItem; }
  void SetMenuItem(TMenuItem* Value);
  TMenuItem* ButtonMenuItem() const override { return FMenuItem; }
  bool MadeForMenu = false;  // made by the tool bar for its Menu
  int MergedTag = 0;         // 1: made for a merged child menu

private:
  TMenuItem* FMenuItem = nullptr;
};

class TDizGlowMenuButton : public TDizCustomGlowButton {
  LORM_PUBLISHED(TDizGlowMenuButton, TDizCustomGlowButton)
public:
  explicit TDizGlowMenuButton(TComponent* AOwner);
  bool IsMenuButton() const override { return true; }
};

class TVivIzizEzuContainer : public TCustomControl {
  LORM_PUBLISHED(TVivIzizEzuContainer, TCustomControl)
public:
  explicit TVivIzizEzuContainer(TComponent* AOwner);
  ~TVivIzizEzuContainer() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  TDizCustomToolBar* VivIzizEzu() const { return FVivIzizEzu; }
  void SetVivIzizEzu(TDizCustomToolBar* ToolBar);
  void UpdateAllGlowButtons();
  TGradientBackground* GradientColor() const { return FColor.get(); }
  void SetGradientColor(TGradientBackground* Value);
  TColor LineColor() const { return FLineColor; }
  void SetLineColor(TColor Value);
  bool Line3D() const { return FLine3D; }
  void SetLine3D(bool Value);
  bool ParentStyler() const { return FParentStyler; }
  void SetParentStyler(bool Value);
  int Margins() const { return FMargins; }
  void SetMargins(int Value);
  void SetCaption(const std::string& Value);
  void ForceMargins();

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  void ColorChanged(TObject* Sender);
  TDizCustomToolBar* FVivIzizEzu = nullptr;
  std::unique_ptr<TGradientBackground> FColor;
  TColor FLineColor = clBtnShadow;
  bool FLine3D = true;
  bool FParentStyler = true;
  int FMargins = 0;
  bool FForcing = false;
  bool FPaintingParent = false;
};

}  // namespace VivIzizEzu

using VivIzizEzu::TDbgList;
using VivIzizEzu::TPersistence;
using VivIzizEzu::TDizCustomToolBar;
using VivIzizEzu::TVivIzizEzu;
using VivIzizEzu::TDizCustomToolBarControl;
using VivIzizEzu::TDizCustomToolBarButton;
using VivIzizEzu::TVivIzizEzuButton;
using VivIzizEzu::TVivIzizEzuButtonActionLink;
using VivIzizEzu::TVivIzizEzuSeparator;
using VivIzizEzu::TVivIzizEzuMenuButton;
using VivIzizEzu::TDizGlowMenuButton;
using VivIzizEzu::TVivIzizEzuContainer;
