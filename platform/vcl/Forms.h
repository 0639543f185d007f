#pragma once
// Forms, the application object and the screen: TCustomForm/TForm (border, position,
// window state, activation, focus and dialog keys, closing, modal showing), TApplication
// (forms, the message loop, idle, exceptions, hints, message boxes) and TScreen (forms,
// active form and control, cursors, fonts, monitors).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10, mrClose = 11;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
// A key reached the form as a possible shortcut (before its menu and action lists).
using TShortCutEvent = std::function<void(TMessage& Msg, bool& Handled)>;

class TMenuItem;

class TCustomForm : public TScrollingWinControl {
  LORM_PUBLISHED(TCustomForm, TScrollingWinControl)
public:
  // A form without reading a stored form (the framework's CreateNew); a form class with
  // a stored form reads it with LoadStoredForm(this) at the end of its constructor, or
  // is made by TApplication::CreateForm, which does that.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  void WndProc(TMessage& Message) override;
  void Loaded() override;
  // Stored children: the controls placed on the form, then the form's own components
  // that have no parent (menus, action lists, dialogs, stylers), in creation order.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  // Showing and closing.
  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  bool CloseQuery();
  // Shows the form modally: the other forms are disabled and a nested loop runs until
  // ModalResult is set (or the application terminates: mrCancel). Returns ModalResult.
  virtual int ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // Frees the form once the current message has been handled.
  void Release();
  void SetVisible(bool Value) override;
  bool Active() const { return FActive; }

  // Appearance.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  // AlphaBlend makes the form's window layered, AlphaBlendValue (0 to 255) its opacity.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  int AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(int Value);
  TComponent* Menu() const { return FMenu; }
  void SetMenu(TComponent* Value);
  // A key message with the modifiers held now, from any control of the form: OnShortCut,
  // then the main menu's items, then the form's action lists run the shortcut; true
  // when one of them took it.
  virtual bool IsShortCut(TMessage& Message);
  TShortCutEvent OnShortCut;
  // Brings the actions of the form's action lists up to date (OnUpdate); the application
  // calls it when idle.
  virtual void UpdateActions();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  int PixelsPerInch() const { return 96; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  void SetClientSize(int W, int H) override;
  TCanvas* Canvas() const { return FCanvas.get(); }
  TFormState FormState() const { return FFormState; }

  // Focus.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  // The focus moved to Control (WM_SETFOCUS): CM_EXIT/CM_ENTER along the parent chains,
  // CM_FOCUSCHANGED; false when a handler moved the focus elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  TWinControl* FocusedControl() const { return FFocusedControl; }
  bool CanFocus() override { return Showing() && Enabled(); }
  void SetFocus() override;

  // MDI: an fsMDIForm holds its fsMDIChild forms in its client window (MdiClient.h),
  // made with the frame's window; WindowMenu is the menu item that lists the children.
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int Index) const;
  TCustomForm* ActiveMDIChild() const;
  HWND ClientHandle() const { return FClientHandle; }
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* Value);
  // The frame an fsMDIChild form lives in (the main form when it is an fsMDIForm).
  TCustomForm* MDIFrame() const;

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // Reads the form's stored form (by its class name) once; false when it has none. A form
  // class calls it at the end of its constructor, or TApplication::CreateForm does.
  bool ReadStoredForm();
  // Runs OnCreate once (TApplication::CreateForm does it after reading the stored form).
  void DoCreate();

  // Stored properties of the form's stream.
  int StoredClientWidth() const;
  int StoredClientHeight() const;
  void SetStoredClientWidth(int Value);
  void SetStoredClientHeight(int Value);
  int IgnoredInt() const { return 0; }
  void SetIgnoredInt(int) {}
  bool IgnoredBool() const { return false; }
  void SetIgnoredBool(bool) {}

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void Paint();
  virtual void Activate();
  virtual void Deactivate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void DoDestroy();
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  HWND FClientHandle = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  void SetLayeredAttribs();
  void SetActive(bool Value);
  void AttachMenu(bool KeepClientSize);
  void ResetBrushColor();
  void SetWindowFocus();
  void ApplyPosition();
  void CloseModal();
  void UpdateShowingChange();
  friend class TApplication;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  bool FAlphaBlend = false;
  int FAlphaBlendValue = 255;
  TComponent* FMenu = nullptr;
  std::unique_ptr<TIcon> FIcon;
  HICON FSmallIcon = nullptr;  // the caption's 16×16 icon given to the window (owned)
  void UpdateIcon();           // the form's icon, else the application's, to the window
  bool FScaled = true;
  std::unique_ptr<TControlCanvas> FCanvas;
  TFormState FFormState;
  bool FKeyPreview = false;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TModalResult FModalResult = mrNone;
  bool FActive = false;
  bool FPositioned = false;
  bool FCreateCalled = false;
  bool FStoredFormRead = false;
  int FClientWidth = 0, FClientHeight = 0;  // stored client size applied after loading
};

class TForm : public TCustomForm {
  LORM_PUBLISHED(TForm, TCustomForm)
public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control is on (nullptr when it is on none).
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);
// As GetParentForm, raising "Control '%s' has no parent window" when there is none.
TCustomForm* ValidParentForm(TControl* Control, bool TopForm = true);

// A modal form is up: a test responder may answer it (set ModalResult, drive the robot or
// queue steps of the headless back end). Returns the previous responder.
using TModalResponder = std::function<void(TCustomForm* Form)>;
TModalResponder SetModalResponder(TModalResponder Responder);

// ---------------------------------------------------------------------------------------
// A monitor of the screen.
class TMonitor {
public:
  int MonitorNum() const { return 0; }
  bool Primary() const { return true; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }
};

class TScreen : public TComponent {
  LORM_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }
  int CustomFormCount() const { return FormCount(); }
  TCustomForm* CustomForms(int Index) const { return Forms(Index); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TCustomForm* ActiveCustomForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  // The application-wide cursor (crDefault: each control's own).
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Handle);

  TStrings* Fonts();
  int Width() const;
  int Height() const;
  int DesktopWidth() const { return Width(); }
  int DesktopHeight() const { return Height(); }
  TRect DesktopRect() const { return TRect{0, 0, Width(), Height()}; }
  TRect WorkAreaRect() const;
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  int PixelsPerInch() const { return 96; }
  int MonitorCount() const { return 1; }
  TMonitor* Monitors(int Index) const;
  TMonitor* MonitorFromPoint(const TPoint& P) const { return Monitors(0); }
  TMonitor* MonitorFromWindow(HWND H) const { return Monitors(0); }
  TMonitor* MonitorFromRect(const TRect& R) const { return Monitors(0); }
  TFont* HintFont() const { return FHintFont.get(); }
  TFont* MenuFont() const { return FMenuFont.get(); }
  TFont* IconFont() const { return FIconFont.get(); }

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

private:
  friend class TCustomForm;
  friend class TApplication;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void BringFormToFront(TCustomForm* Form);
  std::vector<TCustomForm*> FForms;  // most recently focused first
  TCustomForm* FActiveForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::vector<std::pair<TCursor, HCURSOR>> FCursors;
  std::unique_ptr<TStrings> FFonts;
  std::unique_ptr<TFont> FHintFont, FMenuFont, FIconFont;
  std::unique_ptr<TMonitor> FMonitor;
};

// ---------------------------------------------------------------------------------------
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
  LORM_CLASS(TApplication, TComponent)
public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize() {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value);
  std::string ExeName() const { return FExeName; }
  void SetExeName(const std::string& Value) { FExeName = Value; }
  // The application's icon: the icon resource MAINICON when the program has one. Forms
  // without an icon of their own show it.
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);

  // Creates a form owned by the application; the first becomes the main form. The form
  // reads its stored form when it has one and did not read it in its constructor.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    FinishCreateForm(form);
  }
  TCustomForm* MainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* Form) { FMainForm = Form; }
  bool ShowMainForm = true;

  // Shows the main form and runs the message loop until the main form closes or
  // Terminate is called.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message, or idles and waits when there is none.
  void HandleMessage();
  // The key and dialog handling the loop applies before a message is dispatched.
  bool IsPreProcessMessage(MSG& Msg);

  // An exception escaped an event handler: OnException, or ShowException.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  int MessageBox(const std::string& Text, const std::string& Caption, int Flags);

  // The application's hidden window (owner of forms, timers of the hint).
  HWND Handle();
  bool Active() const { return FActive; }

  // Hints.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  int HintShortCuts = 1;
  TColor HintColor = clInfoBk;
  THintWindowClass HintWindowClass = nullptr;
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  void CancelHint();
  void ActivateHint(const TPoint& CursorPos);
  void HideHint();
  void HintMouseMessage(TControl* Control, TMessage& Message);
  THintWindow* HintWindow() const { return FHintWindow; }

  // Bookkeeping of modal forms and the control under the mouse.
  void ModalStarted() { ++FModalLevel; }
  void ModalFinished() { --FModalLevel; }
  int ModalLevel() const { return FModalLevel; }
  void ControlDestroyed(TControl* Control);
  void BringToFront();
  // The control under the mouse changed: CM_MOUSELEAVE and CM_MOUSEENTER.
  void UpdateMouseControl();

  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

  // Back to the start (tests): forms owned by the application freed, no main form, not
  // terminated, no hint.
  void Restart();

private:
  friend class TCustomForm;
  void FinishCreateForm(TCustomForm* Form);
  bool ProcessMessage(MSG& Msg);
  void Idle();
  bool IsKeyMsg(MSG& Msg);
  bool IsHintMsg(MSG& Msg);
  static LRESULT WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void HintTimerExpired();
  void StartHintTimer(int Delay, int Kind);
  void StopHintTimer();
  std::string FTitle;
  std::unique_ptr<TIcon> FIcon;
  std::string FExeName = "lorm";
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FRunning = false;
  HWND FHandle = nullptr;
  bool FActive = false;
  bool FShowHint = true;
  std::string FHint;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TControl* FMouseControl = nullptr;
  TRect FHintCursorRect;
  int FHintTimerKind = 0;  // 0 none, 1 show, 2 hide
  bool FHintActive = false;
  int FModalLevel = 0;
  bool FInstalledFilter = false;
};

extern TApplication* Application;
extern TScreen* Screen;
