#pragma once
// Controls: TControl (bounds, alignment, visibility, colour, font, text, hints, mouse and
// key events, the framework's CM_* notifications), TWinControl (a window of its own,
// created on demand, children, focus, tab order, dialog keys), TGraphicControl and
// TCustomControl (painted with a canvas), TScrollingWinControl, and the mouse.
//
// Every message reaches a control through the virtual WndProc(TMessage&): an override
// handles what it needs and passes the rest to its base's WndProc.
#include <functional>
#include <memory>
#include <string>
#include <cstdint>
#include <vector>

#include "platform/gdi/Coordinates.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------------------
// Framework notifications (CM_*) and notifications reflected to the control that caused
// them (CN_* = CN_BASE + the window message).
enum : UINT {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0, CM_DEACTIVATE = CM_BASE + 1, CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3, CM_CANCELMODE = CM_BASE + 4, CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6, CM_FOCUSCHANGED = CM_BASE + 7, CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9, CM_HITTEST = CM_BASE + 10, CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12, CM_COLORCHANGED = CM_BASE + 13, CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15, CM_CTL3DCHANGED = CM_BASE + 16, CM_PARENTCTL3DCHANGED = CM_BASE + 17,
  CM_TEXTCHANGED = CM_BASE + 18, CM_MOUSEENTER = CM_BASE + 19, CM_MOUSELEAVE = CM_BASE + 20,
  CM_MENUCHANGED = CM_BASE + 21, CM_APPKEYDOWN = CM_BASE + 22, CM_APPSYSCOMMAND = CM_BASE + 23,
  CM_BUTTONPRESSED = CM_BASE + 24, CM_SHOWINGCHANGED = CM_BASE + 25, CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27, CM_DESIGNHITTEST = CM_BASE + 28, CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30, CM_INVOKEHELP = CM_BASE + 31, CM_WINDOWHOOK = CM_BASE + 32,
  CM_RELEASE = CM_BASE + 33, CM_SHOWHINTCHANGED = CM_BASE + 34, CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_SYSCOLORCHANGE = CM_BASE + 36, CM_WININICHANGE = CM_BASE + 37, CM_FONTCHANGE = CM_BASE + 38,
  CM_TIMECHANGE = CM_BASE + 39, CM_TABSTOPCHANGED = CM_BASE + 40, CM_UIACTIVATE = CM_BASE + 41,
  CM_UIDEACTIVATE = CM_BASE + 42, CM_DOCWINDOWACTIVATE = CM_BASE + 43, CM_CONTROLLISTCHANGE = CM_BASE + 44,
  CM_GETDATALINK = CM_BASE + 45, CM_CHILDKEY = CM_BASE + 46, CM_DRAG = CM_BASE + 47,
  CM_HINTSHOW = CM_BASE + 48, CM_DIALOGHANDLE = CM_BASE + 49, CM_ISTOOLCONTROL = CM_BASE + 50,
  CM_RECREATEWND = CM_BASE + 51, CM_INVALIDATE = CM_BASE + 52, CM_SYSFONTCHANGED = CM_BASE + 53,
  CM_CONTROLCHANGE = CM_BASE + 54, CM_CHANGED = CM_BASE + 55, CM_DOCKCLIENT = CM_BASE + 56,
  CM_UNDOCKCLIENT = CM_BASE + 57, CM_FLOAT = CM_BASE + 58, CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60, CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
  CM_ALLCHILDRENFLIPPED = CM_BASE + 62, CM_ACTIONUPDATE = CM_BASE + 63, CM_ACTIONEXECUTE = CM_BASE + 64,
  CM_HINTSHOWPAUSE = CM_BASE + 65, CM_DOCKNOTIFICATION = CM_BASE + 66, CM_MOUSEWHEEL = CM_BASE + 67,
  CM_ISSHORTCUT = CM_BASE + 68, CM_INVALIDATEDOCKHOST = CM_BASE + 70, CM_SETACTIVECONTROL = CM_BASE + 71,
  CM_POPUPHWNDDESTROY = CM_BASE + 72, CM_CREATEPOPUP = CM_BASE + 73, CM_DESTROYHANDLE = CM_BASE + 74,
  CM_MOUSEACTIVATE = CM_BASE + 75, CM_CONTROLLISTCHANGING = CM_BASE + 76,
  CM_BUFFEREDPRINTCLIENT = CM_BASE + 77, CM_UNTHEMECONTROL = CM_BASE + 78,
  CM_THEMECHANGED = CM_BASE + 79,
};
enum : UINT {
  CN_BASE = 0xBC00,
  CN_CHARTOITEM = CN_BASE + 0x002F, CN_COMMAND = CN_BASE + WM_COMMAND, CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT, CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_VSCROLL = CN_BASE + WM_VSCROLL,
  CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM, CN_NOTIFY = CN_BASE + WM_NOTIFY,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN, CN_KEYUP = CN_BASE + WM_KEYUP, CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN, CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
};

// ---------------------------------------------------------------------------------------
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -22,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = TSet<TAlign>;
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
// Horizontal alignment of a control's text (labels, panels, edits, check boxes).
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
using TAnchors = TSet<TAnchorKind>;
// Border styles of forms; controls use the first two (TBorderStyle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint,
  csParentBackground, csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning,
  csRecreating, csAligning, csGlassPaint, csPrintClient
};
using TControlState = TSet<TControlStateItem>;

class TControl;
class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// The stage of a drag passing over a control.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
// Character input: the Unicode code point of the typed character.
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

TShiftState KeysToShiftState(WORD Keys);          // MK_* flags of mouse messages
TShiftState KeyDataToShiftState(LPARAM KeyData);  // key messages, from the key state
TShiftState KeyboardStateToShiftState();

inline TRect ToTRect(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TPoint ToTPoint(const POINT& p) { return TPoint{p.x, p.y}; }
inline POINT ToPOINT(const TPoint& p) { return POINT{p.X, p.Y}; }

// ---------------------------------------------------------------------------------------
// Size limits of a control (0 = no limit).
class TSizeConstraints : public TPersistent {
  LORM_PUBLISHED(TSizeConstraints, TPersistent)
public:
  explicit TSizeConstraints(TControl* Control) : FControl(Control) {}
  int MaxHeight() const { return FMaxHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MinHeight() const { return FMinHeight; }
  int MinWidth() const { return FMinWidth; }
  void SetMaxHeight(int Value);
  void SetMaxWidth(int Value);
  void SetMinHeight(int Value);
  void SetMinWidth(int Value);
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;
  TNotifyEvent OnChange;

private:
  void Changed();
  TControl* FControl;
  int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// What a control's hint shows (CM_HINTSHOW passes it by pointer in LParam).
class THintWindow;
struct THintInfo {
  TControl* HintControl = nullptr;
  TClass HintWindowClass = nullptr;
  TPoint HintPos;          // screen
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;        // client coordinates of the control
  TPoint CursorPos;        // client coordinates of the control
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  std::string HintStr;
  void* HintData = nullptr;
};

// A canvas drawing on a control: a graphic control draws in its parent's window.
class TControlCanvas : public TCanvas {
  LORM_CLASS(TControlCanvas, TCanvas)
public:
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  void FreeHandle();
  void UpdateTextFlags();

protected:
  void CreateHandle() override;

private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// ---------------------------------------------------------------------------------------
class TControl : public TComponent {
  LORM_PUBLISHED(TControl, TComponent)
public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // The message entry point; overrides handle what they need and call the base.
  virtual void WndProc(TMessage& Message);
  // Replaces the entry point for this control (empty: WndProc); a replacement passes
  // what it does not handle to the previous one.
  std::function<void(TMessage&)> WindowProc;
  // Sends a message straight to the control (WindowProc) and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  void Dispatch(TMessage& Message) {
    if (WindowProc) WindowProc(Message);
    else WndProc(Message);
  }
  // What is left after WndProc: windowed controls pass it to their window procedure.
  virtual void DefaultHandler(TMessage& Message);

  // Parent and position.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Positions and sizes are brought within ±kMaxCoordinate here and in SetBounds.
  void SetLeft(int Value) { SetBounds(ClampCoordinate(Value), FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, ClampCoordinate(Value), FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, ClampCoordinate(Value), FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, ClampCoordinate(Value)); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return TRect{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top); }
  virtual TRect ClientRect();
  int ClientWidth() { return ClientRect().Right; }
  int ClientHeight() { return ClientRect().Bottom; }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  virtual void SetClientSize(int W, int H);
  // The client area's origin in the parent's client coordinates (TWinControl: its window's).
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);
  TPoint ClientToParent(const TPoint& P, TWinControl* AParent = nullptr);
  TPoint ParentToClient(const TPoint& P, TWinControl* AParent = nullptr);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Visible with every parent up to a shown form or window.
  virtual bool Showing() const;

  TColor Color() const { return FColor; }
  virtual void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);

  // Caption and Text are the same string.
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& Value);
  int GetTextLen();
  std::string GetTextBuf();

  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  // The action the control follows (caption, enabled, hint, visible; Click runs it when
  // the control has no OnClick of its own).
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // The linked action changed (CheckDefaults: only properties still at their defaults
  // take the action's values); descendants copy more (checked state, image).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link a control makes to follow an action; descendants return their own kind.
  virtual std::unique_ptr<TControlActionLink> CreateActionLink();
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // Painting.
  virtual void Invalidate();
  void Repaint();
  virtual void Update();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  void SetZOrder(bool TopMost);
  virtual bool IsTransparent() const { return !FControlStyle.Contains(csOpaque); }

  virtual void Click();
  virtual void DblClick();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetName(const std::string& Value) override;

  // Keeps the control's size within its constraints and gives AutoSize a chance.
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight) { return true; }
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  void AdjustSize();
  bool IsControlAt(int X, int Y) { return Perform(CM_HITTEST, 0, MAKELPARAM(WORD(X), WORD(Y))) != 0; }

  bool IsColorStored() const;
  bool IsFontStored() const;
  bool IsShowHintStored() const;

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  // A drag passes over the control; the handler decides whether it may drop here.
  TDragOverEvent OnDragOver;
  // A drag from Source is at (X, Y): Accept becomes OnDragOver's answer (false without one).
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  // Subscriptions to the control's resize, called in subscription order before OnResize:
  // a component that follows its form's size subscribes instead of replacing the form's
  // handler. The id (above 0) ends the subscription.
  int SubscribeResize(TNotifyEvent Handler);
  void UnsubscribeResize(int Id);
  TCanResizeEvent OnCanResize;
  TNotifyEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;

  // Framework internals other units use.
  void SendCancelMode(TControl* Sender);
  void UpdateBoundsRect(const TRect& R);  // the window moved: take its position without echo
  void RequestAlign();
  virtual void AdjustClientRect(TRect& Rect) {}
  TWinControl* GetAlignParent() const { return FParent; }
  bool Floating() const { return false; }
  int FAnchorRules[2] = {0, 0};  // right/bottom distances kept by anchors
  TPoint FOriginalParentSize;

protected:
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Resize();
  virtual std::string GetText() const { return FText; }
  virtual void SetTextValue(const std::string& Value);  // stores the text (windowed: the window's)
  virtual void Changed();
  virtual void ChangeScale(int M, int D) {}
  virtual void VisibleChanging() {}
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void UpdateAnchorRules();
  virtual void SetParentBackground(bool Value);

  friend class TWinControl;
  friend class TCustomForm;
  friend class TScrollingWinControl;
  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  std::string FText;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TComponent* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  TCursor FCursor = crDefault;
  int FHelpContext = 0;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  bool FMouseInControl = false;

private:
  std::vector<std::pair<int, TNotifyEvent>> FResizeSubscribers;
  int FNextResizeSubscription = 0;
  void FontChanged(TObject* Sender);
  void ConstraintsChanged(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  bool CheckNewSize(int& NewWidth, int& NewHeight);
};

// ---------------------------------------------------------------------------------------
// The parameters of a control's window (CreateParams fills them).
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  std::string WinClassName;
};

class TWinControl : public TControl {
  LORM_PUBLISHED(TWinControl, TControl)
public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // The window procedure every control window has; finds the control and runs its
  // WindowProc (an exception escaping it goes to the application's HandleException).
  static LRESULT StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  // The window, created on first use.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Parent window for a control without a parent control (an embedded or pop-up window).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  void DestroyHandle();
  void RecreateWnd();

  // Children: all controls in z-order (graphic and windowed), windowed ones, tab order.
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
  const std::vector<TControl*>& ControlList() const { return FControls; }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  TControl* FindChildControl(const std::string& ControlName) const;
  // The windowed child control whose window has this id (owner-draw records).
  TWinControl* FindChildByCtlID(UINT CtlID) const;
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value) override;
  TBrush* Brush() const { return FBrush.get(); }
  bool Showing() const override { return FShowing; }
  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  void Update() override;
  void SetParent(TWinControl* AParent) override;
  void SetColor(TColor Value) override;

  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void ScaleBy(int M, int D) { ChangeScale(M, D); }
  void PaintTo(HDC DC, int X, int Y);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  // Key handling in the order the framework runs it; true when the key was consumed.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  bool DoKeyUp(TMessage& Message);

  void PaintControls(HDC DC, TControl* First);
  void PaintHandler(TMessage& Message);
  // Framework internal: the window moved or changed size.
  void UpdateBounds();
  void UpdateShowing();
  void UpdateControlState();

protected:
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateSubClass(TCreateParams& Params, const char* ControlClassName) {}
  virtual void PaintWindow(HDC DC);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void DoEnter();
  virtual void DoExit();
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void SetTextValue(const std::string& Value) override;
  virtual std::string GetText() const override;
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Resize() override;
  bool IsControlMouseMsg(TMessage& Message);
  virtual void ControlsAligned() {}

  friend class TControl;
  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;     // z-order, bottom first (graphic and windowed)
  std::vector<TWinControl*> FTabList;   // tab order
  bool FTabStop = false;
  bool FDoubleBuffered = false;
  bool FShowing = false;
  int FAlignLevel = 0;
  std::unique_ptr<TBrush> FBrush;

private:
  void AlignControlsNow(TControl* AControl);
  void DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect, std::vector<TControl*>& Done);
  void RemoveFocus(bool Removing);
  void ResetBrush();
  void CreateChildHandles();
  HWND PrecedingWindow(TWinControl* Control) const;
  void ChildListChanged() { ++FChildVersion; }
  // How a child takes part in alignment: 1 aligned, 2 anchored to the right or bottom
  // edge, 0 neither. The counts let alignment skip passes that have nothing to move.
  static int AlignRole(const TControl* c);
  void CountAlignRole(const TControl* c, int delta);
  // Notes that a child's place, size, visibility or alignment changed.
  void ChildGeometryChanged(TControl* c) {
    if (FGeometryChange == TGeometryChange::None) {
      FGeometryChange = TGeometryChange::One;
      FGeometryChanged = c;
    } else if (FGeometryChange == TGeometryChange::One && FGeometryChanged != c) {
      FGeometryChange = TGeometryChange::Many;
    }
  }
  int FAlignedChildren = 0;
  int FAnchoredChildren = 0;
  void ChildHandleCreated(TWinControl* Child) {
    ++FChildVersion;
    FLastChildHandled = Child;
  }

  // What the last z-order lookup learnt: no windowed child at FNoWindowFrom or after has a
  // window. It holds while FChildVersion equals FNoWindowVersion, or when the only change
  // since is FLastChildHandled getting its window. Creating the children's windows in list
  // order so costs a constant per child instead of a walk to the end of the list.
  std::uint64_t FChildVersion = 0;
  TWinControl* FLastChildHandled = nullptr;
  mutable std::uint64_t FNoWindowVersion = ~std::uint64_t(0);
  mutable std::size_t FNoWindowFrom = 0;

protected:
  // Which children changed since the last look (see TScrollingWinControl's auto range):
  // none, exactly FGeometryChanged, or several.
  enum class TGeometryChange : std::uint8_t { None, One, Many };
  TGeometryChange FGeometryChange = TGeometryChange::Many;
  TControl* FGeometryChanged = nullptr;
};

// A control drawn in its parent's window, with a canvas on the parent's DC.
class TGraphicControl : public TControl {
  LORM_PUBLISHED(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }
  void WndProc(TMessage& Message) override;

protected:
  virtual void Paint() {}

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A windowed control that paints itself on its canvas in Paint.
class TCustomControl : public TWinControl {
  LORM_PUBLISHED(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  void PaintWindow(HDC DC) override;
  virtual void Paint() {}

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A scroll bar of a scrolling control.
enum TScrollBarKind { sbHorizontal, sbVertical };
class TScrollingWinControl;
class TControlScrollBar : public TPersistent {
  LORM_PUBLISHED(TControlScrollBar, TPersistent)
public:
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : FControl(Control), FKind(Kind) {}
  TScrollBarKind Kind() const { return FKind; }
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Range() const { return FRange; }
  void SetRange(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool IsScrollBarVisible() const;
  int ScrollPos() const { return FVisible ? FPosition : 0; }
  void Assign(TPersistent* Source) override;
  void ScrollMessage(UINT Code, int ThumbPos);
  void Update();

private:
  int ControlSize() const;
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FIncrement = 8;
  int FPosition = 0;
  int FRange = 0;
  bool FVisible = true;
};

// A windowed control whose content can be larger than itself: scroll bars move the
// children; AutoScroll sizes the range to the children.
class TScrollingWinControl : public TWinControl {
  LORM_PUBLISHED(TScrollingWinControl, TWinControl)
public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  void WndProc(TMessage& Message) override;
  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  void ScrollInView(TControl* AControl);
  void DisableAutoRange() { ++FAutoRangeCount; }
  void EnableAutoRange();
  void UpdateScrollBars();
  // The children moved by the scroll bars' position changes.
  void ScrollContent(int DeltaX, int DeltaY);

protected:
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  void CalcAutoRange();
  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = true;
  int FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
  // The last auto range, the children that reach it and the scroll positions it was taken at.
  int FRangeRight = 0, FRangeBottom = 0;
  TControl* FRangeRightBy = nullptr;
  TControl* FRangeBottomBy = nullptr;
  int FRangeAtX = 0, FRangeAtY = 0;
};

// ---------------------------------------------------------------------------------------
// The mouse: cursor position, capture, wheel.
class TMouse {
public:
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& Value);
  HWND Capture() const { return GetCapture(); }
  void SetCapture(HWND Value);
  bool MousePresent() const { return true; }
  bool WheelPresent() const { return true; }
  int WheelScrollLines() const;
  bool DragImmediate = true;
  int DragThreshold = 5;
};
TMouse* Mouse();

// The windowed control of a window (nullptr when the window is not a control's).
TWinControl* FindControl(HWND Handle);
// The control (windowed or not) under a screen point.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
TWinControl* FindVCLWindow(const TPoint& Pos);
// The control that has the mouse captured (a graphic control through its parent).
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

// The hint window: a borderless, topmost pop-up that shows a control's hint text.
class THintWindow : public TCustomControl {
  LORM_PUBLISHED(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);
  // Shows the hint at Rect (screen coordinates) with AHint as its text.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  virtual void ActivateHintData(TRect Rect, const std::string& AHint, void* AData) { ActivateHint(Rect, AHint); }
  // The rectangle (at 0, 0) the text needs within MaxWidth.
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData);
  void ReleaseHandle() { DestroyHandle(); }
  bool IsHintMsg(const MSG& Msg) const;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};
using THintWindowClass = THintWindow* (*)(TComponent* Owner);
