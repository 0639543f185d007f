#include "platform/vcl/Forms.h"

#include <algorithm>
#include <iostream>

#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/MdiClient.h"
#include "platform/vcl/Menus.h"
#include "platform/image/Resources.h"
#include "platform/win/Backend.h"
#include "platform/win/LayeredWindow.h"
#include "platform/win/WinIcon.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The application and the screen live for the whole program (they are never freed, so
// nothing runs after the window system is gone at exit).
struct TGlobalsInit {
  TGlobalsInit() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
};
TGlobalsInit gGlobalsInit;

TModalResponder& Responder() {
  static TModalResponder r;
  return r;
}

constexpr UINT_PTR kHintTimer = 1;

}  // namespace

TModalResponder SetModalResponder(TModalResponder R) {
  TModalResponder old = std::move(Responder());
  Responder() = std::move(R);
  return old;
}

TCustomForm* GetParentForm(TControl* Control, bool TopForm) {
  TCustomForm* found = nullptr;
  for (TControl* c = Control; c; c = c->Parent()) {
    if (auto* f = dynamic_cast<TCustomForm*>(c)) {
      found = f;
      if (!TopForm) return f;
    }
  }
  return found;
}

TCustomForm* ValidParentForm(TControl* Control, bool TopForm) {
  TCustomForm* f = GetParentForm(Control, TopForm);
  if (!f) throw EInvalidOperation("Control '" + (Control ? Control->Name() : std::string()) + "' has no parent window");
  return f;
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* FormBorderStyleNames() {
  static const TEnumInfo* e = RegisterEnum(
      "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  return e;
}
static const TEnumInfo* BorderIconNames = RegisterEnum("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
static const TEnumInfo* PositionNames =
    RegisterEnum("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
static const TEnumInfo* WindowStateNames = RegisterEnum("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
static const TEnumInfo* FormStyleNames = RegisterEnum("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});

void TCustomForm::Publish(TClassBuilder<TCustomForm>& P) {
  P.Enum("BorderStyle", FormBorderStyleNames(), &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable)
      .Set("BorderIcons", BorderIconNames, &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
           TBorderIcons{biSystemMenu, biMinimize, biMaximize})
      .Enum("Position", PositionNames, &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned)
      .Enum("WindowState", WindowStateNames, &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal)
      .Enum("FormStyle", FormStyleNames, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal)
      .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false)
      .Bool("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend, false)
      .Int("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue, 255)
      .Component("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .Component("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Object("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon)
      .Int("ClientWidth", &TCustomForm::StoredClientWidth, &TCustomForm::SetStoredClientWidth)
      .Stored(false)
      .Int("ClientHeight", &TCustomForm::StoredClientHeight, &TCustomForm::SetStoredClientHeight)
      .Stored(false)
      .Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true)
      .Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetIgnoredInt)
      .Stored(false)
      .Int("TextHeight", &TCustomForm::IgnoredInt, &TCustomForm::SetIgnoredInt)
      .Stored(false)
      .Bool("OldCreateOrder", &TCustomForm::IgnoredBool, &TCustomForm::SetIgnoredBool)
      .Stored(false)
      .Event("OnActivate", &TCustomForm::OnActivate)
      .Event("OnDeactivate", &TCustomForm::OnDeactivate)
      .Event("OnCreate", &TCustomForm::OnCreate)
      .Event("OnDestroy", &TCustomForm::OnDestroy)
      .Event("OnShow", &TCustomForm::OnShow)
      .Event("OnHide", &TCustomForm::OnHide)
      .Event("OnPaint", &TCustomForm::OnPaint)
      .Event("OnClose", &TCustomForm::OnClose)
      .Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
}

void TForm::Publish(TClassBuilder<TForm>& P) { (void)P; }

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  FColor = clBtnFace;
  FParentColor = false;
  FParentFont = false;
  FParentShowHint = false;
  ResetBrushColor();
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
  FIcon = std::make_unique<TIcon>();
  FIcon->OnChange = [this](TObject*) { UpdateIcon(); };
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (FCreateCalled) {
    try {
      DoDestroy();
    } catch (const std::exception&) {
      if (Application) Application->HandleException(this);
    }
  }
  if (!FComponentState.Contains(csDestroying)) Destroying();
  if (Screen) Screen->RemoveForm(this);
  MdiClient::RemoveChild(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  FCanvas->SetControl(nullptr);
  if (FHandle) DestroyHandle();
  if (FSmallIcon) DestroyIcon(FSmallIcon);
  FSmallIcon = nullptr;
  DestroyComponents();
}

void TCustomForm::ResetBrushColor() { FBrush->SetColor(FColor); }

bool TCustomForm::ReadStoredForm() {
  FStoredFormRead = true;
  return LoadStoredForm(this);
}

void TCustomForm::DoCreate() {
  if (FCreateCalled) return;
  FCreateCalled = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  TScrollingWinControl::GetChildren(Proc, Root);
  if (Root != this) return;
  const int count = ComponentCount();
  std::vector<TComponent*> owned;
  for (int i = 0; i < count; ++i) owned.push_back(Components(i));
  for (TComponent* c : owned)
    if (!c->HasParent() && !c->ComponentStyle().Contains(csSubComponent)) Proc(c);
}

void TCustomForm::Loaded() {
  // The stored client size is the client size after loading: set it before the scroll
  // ranges are first computed (a bar shown for a client still too small would stay in the
  // frame's size), and again if the menu bar or a bar changed the frame meanwhile.
  int storedWidth = FClientWidth, storedHeight = FClientHeight;
  FClientWidth = FClientHeight = 0;
  auto applyStored = [&] {
    TRect c = ClientRect();
    int w = storedWidth > 0 ? storedWidth : c.Right, h = storedHeight > 0 ? storedHeight : c.Bottom;
    if (w != c.Right || h != c.Bottom) SetClientSize(w, h);
  };
  if (storedWidth > 0 || storedHeight > 0) applyStored();
  TScrollingWinControl::Loaded();
  if (storedWidth > 0 || storedHeight > 0) applyStored();
  if (FActiveControl && !FActiveControl->CanFocus()) {
    // Kept: it gets the focus when the form is shown, if it can then.
  }
}

int TCustomForm::StoredClientWidth() const { return const_cast<TCustomForm*>(this)->ClientWidth(); }
int TCustomForm::StoredClientHeight() const { return const_cast<TCustomForm*>(this)->ClientHeight(); }
void TCustomForm::SetStoredClientWidth(int Value) {
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csReading)) FClientWidth = Value;
  else SetClientWidth(Value);
}
void TCustomForm::SetStoredClientHeight(int Value) {
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csReading)) FClientHeight = Value;
  else SetClientHeight(Value);
}

void TCustomForm::SetClientSize(int W, int H) { TControl::SetClientSize(W, H); }

void TCustomForm::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.ExStyle = 0;
  bool caption = true;
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      caption = false;
      break;
    case bsSingle: Params.Style |= WS_CAPTION; break;
    case bsSizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (caption && FBorderIcons.Contains(biSystemMenu)) {
    Params.Style |= WS_SYSMENU;
    if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
      if (FBorderIcons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FFormStyle == fsMDIChild) Params.ExStyle |= WS_EX_MDICHILD;
  Params.WndParent = nullptr;
  if (Application && Application->MainForm() && Application->MainForm() != this &&
      Application->MainForm()->HandleAllocated())
    Params.WndParent = Application->MainForm()->Handle();
  else if (Application && Application->MainForm() != this)
    Params.WndParent = Application->Handle();
  Params.WindowClass.style = CS_DBLCLKS;
  Params.Caption = FText;
  // An MDI child is a child window of its frame's client window.
  if (FFormStyle == fsMDIChild)
    if (TCustomForm* frame = MDIFrame()) {
      frame->HandleNeeded();
      if (frame->FClientHandle) {
        Params.WndParent = frame->FClientHandle;
        Params.Style = (Params.Style & ~DWORD(WS_POPUP)) | WS_CHILD;
      }
    }
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  if (FFormStyle == fsMDIForm && !MdiClient::FrameOf(FClientHandle)) {
    FClientHandle = MdiClient::Create(this);
    Realign();
  } else if (FFormStyle == fsMDIChild) {
    if (HWND client = GetParent(FHandle); MdiClient::FrameOf(client)) MdiClient::AddChild(client, this);
  }
  AttachMenu(true);
  UpdateIcon();
  if (FAlphaBlend) SetLayeredAttribs();
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (Value == FAlphaBlend) return;
  FAlphaBlend = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetAlphaBlendValue(int Value) {
  Value = std::clamp(Value, 0, 255);
  if (Value == FAlphaBlendValue) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend) SetLayeredAttribs();
}

// A top-level form's window with AlphaBlend is layered with AlphaBlendValue as its alpha;
// switching AlphaBlend off makes it opaque again. A form placed inside another control
// has no layered look.
void TCustomForm::SetLayeredAttribs() {
  if (!FHandle || (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD)) return;
  LONG_PTR ex = GetWindowLongPtr(FHandle, GWL_EXSTYLE);
  if (FAlphaBlend) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtr(FHandle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(FHandle, 0, BYTE(FAlphaBlendValue), LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtr(FHandle, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
    RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// The window gets the big icon (the icon's own handle) and a small one made from the
// icon's 16×16 image, or its nearest, for the caption.
void TCustomForm::UpdateIcon() {
  if (!FHandle) return;
  TIcon* icon = FIcon && !FIcon->GetEmpty() ? FIcon.get() : nullptr;
  if (!icon && Application && Application->Icon() && !Application->Icon()->GetEmpty()) icon = Application->Icon();
  HICON big = icon ? icon->Handle() : nullptr;
  HICON small = nullptr;
  if (icon) {
    TMemoryStream bytes;
    icon->SaveToStream(bytes);
    if (bytes.Size() > 0)
      small = CreateIconFromResourceEx(static_cast<const BYTE*>(bytes.Memory()), DWORD(bytes.Size()),
                                       !icon->IconFile().Cursor, 0x30000, GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), 0);
  }
  SendMessage(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessage(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (FSmallIcon) DestroyIcon(FSmallIcon);
  FSmallIcon = small;
}

void TCustomForm::PaintWindow(HDC DC) {
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (FHandle) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  if (FHandle)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetMenu(TComponent* Value) {
  if (FMenu == Value) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  if (auto* old = dynamic_cast<TMainMenu*>(FMenu)) old->SetWindowHandle(nullptr);
  FMenu = Value;
  if (Value) Value->FreeNotification(this);
  AttachMenu(false);
}

// The main menu becomes the window's menu bar (the client area shrinks by the bar).
void TCustomForm::AttachMenu(bool KeepClientSize) {
  if (!FHandle) return;
  auto* menu = dynamic_cast<TMainMenu*>(FMenu);
  if (menu && !menu->ComponentState().Contains(csDesigning)) {
    menu->SetWindowHandle(FHandle);
    if (::GetMenu(FHandle) == menu->Handle()) return;
    RECT before;
    ::GetClientRect(FHandle, &before);
    // No scroll range while the bar comes: a scroll bar shown for the moment the client
    // is short by the bar's height would be counted into the growth and stay out.
    if (KeepClientSize) DisableAutoRange();
    ::SetMenu(FHandle, menu->Handle());
    // A window made for a form keeps the form's client size: the bar adds to its height.
    if (KeepClientSize) {
      RECT after;
      ::GetClientRect(FHandle, &after);
      if (after.bottom < before.bottom) SetBounds(FLeft, FTop, FWidth, FHeight + before.bottom - after.bottom);
      EnableAutoRange();
    }
  } else if (::GetMenu(FHandle)) {
    ::SetMenu(FHandle, nullptr);
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TScrollingWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) {
    FMenu = nullptr;
    if (FHandle && !FComponentState.Contains(csDestroying)) ::SetMenu(FHandle, nullptr);
  }
  if (Operation == opRemove && AComponent == FWindowMenu) FWindowMenu = nullptr;
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  if (handled) return true;
  // Ctrl+F4 and Ctrl+F6 of the frame's children, as the frame's client window knows them.
  if (const TCustomForm* frame = FFormStyle == fsMDIForm ? this : MDIFrame();
      frame && frame->FClientHandle && Message.Msg == WM_KEYDOWN &&
      MdiClient::TranslateKey(frame->FClientHandle, WORD(Message.WParam), KeyboardStateToShiftState()))
    return true;
  if (auto* menu = dynamic_cast<TMainMenu*>(FMenu); menu && menu->IsShortCut(Message)) return true;
  for (TCustomActionList* list : FormActionLists(this))
    if (list->IsShortCut(Message)) return true;
  return false;
}

void TCustomForm::UpdateActions() {
  if (FComponentState.Contains(csDesigning) || !Showing()) return;
  for (TCustomActionList* list : FormActionLists(this)) list->UpdateActions();
}

void TCustomForm::SetIcon(TIcon* Value) {
  if (Value) FIcon->Assign(Value);
}

TWindowState TCustomForm::WindowState() const {
  if (FHandle) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    if (FShowing) return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (FHandle && FShowing) {
    static const int cmds[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, cmds[Value]);
  }
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  TRect area = Screen ? Screen->WorkAreaRect() : TRect{0, 0, 1280, 1024};
  TCustomForm* center = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter:
      center = Application ? Application->MainForm() : nullptr;
      if (center == this || (center && !center->Visible())) center = nullptr;
      break;
    case poOwnerFormCenter:
      center = dynamic_cast<TCustomForm*>(Owner());
      if (center == this || (center && !center->Visible())) center = nullptr;
      break;
    default: return;
  }
  int x, y;
  if (center) {
    x = center->Left() + (center->Width() - FWidth) / 2;
    y = center->Top() + (center->Height() - FHeight) / 2;
  } else {
    x = area.Left + (area.Width() - FWidth) / 2;
    y = area.Top + (area.Height() - FHeight) / 2;
  }
  // Keep the caption reachable.
  x = std::max(area.Left, std::min(x, area.Right - FWidth));
  y = std::max(area.Top, std::min(y, area.Bottom - FHeight));
  SetBounds(x, y, FWidth, FHeight);
}

void TCustomForm::SetVisible(bool Value) {
  if (FVisible == Value) return;
  TControl::SetVisible(Value);
  // A child shown in its frame becomes the active one.
  if (Value && FFormStyle == fsMDIChild && FHandle)
    if (HWND client = GetParent(FHandle); MdiClient::FrameOf(client)) SendMessage(client, WM_MDIACTIVATE, WPARAM(FHandle), 0);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle) BringWindowToTop(FHandle);
}

void TCustomForm::UpdateShowingChange() {
  if (FShowing) {
    try {
      DoShow();
    } catch (const std::exception&) {
      if (Application) Application->HandleException(this);
    }
    ApplyPosition();
    static const int cmds[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(FHandle, cmds[FWindowState]);
  } else {
    try {
      DoHide();
    } catch (const std::exception&) {
      if (Application) Application->HandleException(this);
    }
    if (Screen && Screen->FActiveForm == this && FActiveControl) {
      // The focus leaves with the form.
    }
    ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}
void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

bool TCustomForm::CloseQuery() {
  if (FFormStyle == fsMDIForm) {
    for (int i = 0; i < MDIChildCount(); ++i)
      if (!MDIChildren(i)->CloseQuery()) return false;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  switch (action) {
    case caNone: FModalResult = mrNone; break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (HandleAllocated() || FHandle) PostMessage(Handle(), CM_RELEASE, 0, 0);
  else PostMessage(Application ? Application->Handle() : nullptr, CM_RELEASE, 0, LPARAM(this));
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  Application->ModalStarted();
  FFormState += fsModal;
  HWND activeWindow = GetActiveWindow();
  // Every other form is disabled while this one is up.
  std::vector<HWND> disabled;
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* f = Screen->Forms(i);
      if (f != this && f->HandleAllocated() && IsWindowVisible(f->FHandle) && IsWindowEnabled(f->FHandle)) {
        EnableWindow(f->FHandle, FALSE);
        disabled.push_back(f->FHandle);
      }
    }
  auto restore = [&] {
    for (HWND h : disabled) EnableWindow(h, TRUE);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState -= fsModal;
    Application->ModalFinished();
  };
  int result = mrNone;
  try {
    Show();
    SendMessage(Handle(), CM_ACTIVATE, 0, 0);
    FModalResult = mrNone;
    if (Responder()) Responder()(this);
    while (FModalResult == mrNone) {
      if (Application->Terminated()) {
        FModalResult = mrCancel;
        break;
      }
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      else if (FModalResult != mrNone) CloseModal();
    }
    result = FModalResult;
    if (FHandle) SendMessage(FHandle, CM_DEACTIVATE, 0, 0);
    if (GetActiveWindow() != FHandle) activeWindow = nullptr;
    Hide();
  } catch (...) {
    if (FHandle) Hide();
    restore();
    throw;
  }
  restore();
  return result;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  if (Control && (Control == this || GetParentForm(Control) != this ||
                  (!FComponentState.Contains(csLoading) && !FComponentState.Contains(csReading) && !Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (Control) Control->FreeNotification(this);
  if (!FComponentState.Contains(csLoading) && !FComponentState.Contains(csReading)) {
    if (FActive) SetWindowFocus();
    if (Screen && Screen->FActiveForm == this) {
      Screen->FActiveControl = Control;
      if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
    }
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
  if (FHandle && GetActiveWindow() != FHandle) SetActiveWindow(FHandle);
}

void TCustomForm::SetWindowFocus() {
  HWND focus = (FActiveControl && FActiveControl->CanFocus()) ? FActiveControl->Handle() : Handle();
  if (focus) ::SetFocus(focus);
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->Parent();
  if (Control->ContainsControl(FActiveControl)) {
    TWinControl* next = nullptr;
    if (!Removing) next = FindNextControl(Control, true, true, false);
    FActiveControl = nullptr;
    if (next && next != Control && !Control->ContainsControl(next) && next->CanFocus()) SetActiveControl(next);
    else if (FActive && FHandle && GetFocus() && Control->HandleAllocated() &&
             (GetFocus() == Control->Handle() || IsChild(Control->Handle(), GetFocus())))
      ::SetFocus(FHandle);
  }
}

namespace {
int gFocusCount = 0;
bool SendFocusMessage(TWinControl* Control, UINT Msg) {
  int count = gFocusCount;
  Control->Perform(Msg, 0, 0);
  return gFocusCount == count;
}
}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  // No control means the form itself takes the focus.
  if (!Control) Control = this;
  ++gFocusCount;
  if (Control != this) FActiveControl = Control;
  else FActiveControl = nullptr;
  if (Screen) {
    Screen->FActiveControl = Control;
    Screen->FActiveForm = this;
    Screen->BringFormToFront(this);
  }
  if (Control->ControlState().Contains(csFocusing)) return false;
  Control->SetControlState(Control->ControlState() + csFocusing);
  struct TClear {
    TWinControl* C;
    ~TClear() { C->SetControlState(C->ControlState() - csFocusing); }
  } clear{Control};
  if (Screen && Screen->FFocusedForm != this) {
    if (TCustomForm* old = Screen->FFocusedForm) {
      Screen->FFocusedForm = nullptr;
      if (!SendFocusMessage(old, CM_DEACTIVATE)) return false;
    }
    Screen->FFocusedForm = this;
    if (!SendFocusMessage(this, CM_ACTIVATE)) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
      TWinControl* leaving = FFocusedControl;
      FFocusedControl = FFocusedControl->Parent();
      if (!SendFocusMessage(leaving, CM_EXIT)) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* temp = Control;
      while (temp->Parent() != FFocusedControl) temp = temp->Parent();
      FFocusedControl = temp;
      if (!SendFocusMessage(temp, CM_ENTER)) return false;
    }
    for (TWinControl* p = Control->Parent(); p; p = p->Parent())
      if (auto* s = dynamic_cast<TScrollingWinControl*>(p)) s->ScrollInView(Control);
    Perform(CM_FOCUSCHANGED, 0, LPARAM(Control));
  }
  if (Screen) {
    if (Screen->OnActiveControlChange) Screen->OnActiveControlChange(Screen);
  }
  return true;
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (Value) {
    if (!FActiveControl && !FComponentState.Contains(csDesigning))
      FActiveControl = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
  }
}

void TCustomForm::KeyDown(WORD& Key, TShiftState Shift) { TScrollingWinControl::KeyDown(Key, Shift); }

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      if (FFormStyle != fsMDIForm) SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
      return;
    case WM_CLOSE:
      Close();
      return;
    case WM_QUERYENDSESSION:
      Message.Result = CloseQuery() ? 1 : 0;
      return;
    case CM_ACTIVATE:
      FFormState += fsActivated;
      Activate();
      return;
    case CM_DEACTIVATE:
      Deactivate();
      return;
    case CM_RELEASE:
      delete this;
      return;
    case CM_SHOWINGCHANGED:
      UpdateShowingChange();
      return;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_MENUSELECT:
      if (auto* menu = dynamic_cast<TMenu*>(FMenu); menu && DispatchMenuMessage(menu, Message)) return;
      break;
    case WM_SYSCOMMAND:
      // Alt, F10 or Alt and a letter: a control that shows a menu bar of its own (a tool
      // bar in menu mode) may take it before the window's menu bar.
      if ((Message.WParam & 0xFFF0) == SC_KEYMENU) {
        TMessage m = Message;
        m.Result = 0;
        Broadcast(m);
        if (m.Result) {
          Message.Result = m.Result;
          return;
        }
      }
      break;
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        switch (Message.WParam) {
          case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
              SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
              Message.Result = 1;
              return;
            }
            break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
              FActiveControl->Parent()->SelectNext(FActiveControl,
                                                   Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
              Message.Result = 1;
            }
            return;
        }
      }
      break;
    case WM_SETFOCUS:
      // The form itself got the focus: give it to the active control.
      TScrollingWinControl::WndProc(Message);
      if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus() && FActiveControl->HandleAllocated() &&
          GetFocus() == FHandle)
        ::SetFocus(FActiveControl->Handle());
      return;
    default:
      break;
  }
  TScrollingWinControl::WndProc(Message);
}

int TCustomForm::MDIChildCount() const {
  return FFormStyle == fsMDIForm ? MdiClient::ChildCount(FClientHandle) : 0;
}

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  if (FFormStyle == fsMDIForm)
    if (TCustomForm* f = MdiClient::Child(FClientHandle, Index)) return f;
  throw EListError("MDI child index out of bounds");
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  return FFormStyle == fsMDIForm ? MdiClient::ActiveChild(FClientHandle) : nullptr;
}

TCustomForm* TCustomForm::MDIFrame() const {
  if (FFormStyle != fsMDIChild || !Application) return nullptr;
  TCustomForm* main = Application->MainForm();
  return main && main != this && main->FFormStyle == fsMDIForm ? main : nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (FWindowMenu == Value) return;
  if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = Value;
  if (Value) Value->FreeNotification(this);
}

// The client window of a frame takes the room its aligned controls leave.
void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TScrollingWinControl::AlignControls(AControl, Rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, Rect.Left, Rect.Top, std::max(0, Rect.Width()), std::max(0, Rect.Height()),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------
TRect TMonitor::BoundsRect() const {
  SIZE s = CurrentBackend().ScreenSize();
  return TRect{0, 0, s.cx, s.cy};
}
TRect TMonitor::WorkareaRect() const {
  RECT r;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return ToTRect(r);
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  FHintFont = std::make_unique<TFont>();
  FMenuFont = std::make_unique<TFont>();
  FIconFont = std::make_unique<TFont>();
  FMonitor = std::make_unique<TMonitor>();
}

TScreen::~TScreen() = default;

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) {
    FActiveForm = nullptr;
    FActiveControl = nullptr;
  }
  if (FFocusedForm == Form) FFocusedForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
}

void TScreen::BringFormToFront(TCustomForm* Form) {
  auto it = std::find(FForms.begin(), FForms.end(), Form);
  if (it == FForms.end() || it == FForms.begin()) return;
  FForms.erase(it);
  FForms.insert(FForms.begin(), Form);
  if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  POINT p;
  GetCursorPos(&p);
  if (Value != crDefault) ::SetCursor(Cursors(Value));
  else if (HWND h = WindowFromPoint(p)) SendMessage(h, WM_SETCURSOR, WPARAM(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  for (auto& [c, h] : FCursors)
    if (c == Index) return h;
  LPCSTR id = IDC_ARROW;
  switch (Index) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: case crSQLWait: id = IDC_WAIT; break;
    case crNo: case crNoDrop: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    case crHSplit: id = IDC_SIZEWE; break;
    case crVSplit: id = IDC_SIZENS; break;
    default: id = IDC_ARROW; break;
  }
  return LoadCursor(nullptr, id);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  for (auto& e : FCursors)
    if (e.first == Index) {
      e.second = Handle;
      return;
    }
  FCursors.emplace_back(Index, Handle);
}

TStrings* TScreen::Fonts() {
  if (!FFonts) {
    auto list = std::make_unique<TStringList>();
    // The face names the forms use, as the font aliases resolve them.
    for (const char* face : {"Arial", "Courier New", "MS Sans Serif", "Segoe UI", "Tahoma", "Times New Roman", "Verdana"})
      list->Add(face);
    FFonts = std::move(list);
  }
  return FFonts.get();
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
TRect TScreen::WorkAreaRect() const { return FMonitor->WorkareaRect(); }
TMonitor* TScreen::Monitors(int Index) const {
  if (Index != 0) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FMonitor.get();
}

// ---------------------------------------------------------------------------------------
TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FIcon = std::make_unique<TIcon>();
  if (FindResourceData(RT_GROUP_ICON, "MAINICON")) {
    try {
      FIcon->LoadFromResourceName(nullptr, "MAINICON");
    } catch (const std::exception&) {
      // A damaged icon resource leaves the application without an icon.
    }
  }
  FIcon->OnChange = [](TObject*) {
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->UpdateIcon();
  };
}

void TApplication::SetIcon(TIcon* Value) {
  if (Value) FIcon->Assign(Value);
  else FIcon->SetHandle(nullptr);
}

TApplication::~TApplication() {
  if (FHandle && IsWindow(FHandle)) DestroyWindow(FHandle);
}

void TApplication::SetTitle(const std::string& Value) {
  FTitle = Value;
  if (FHandle && IsWindow(FHandle)) SetWindowText(FHandle, Value.c_str());
}

LRESULT TApplication::WndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_TIMER:
      if (WParam == kHintTimer && Application) {
        try {
          Application->HintTimerExpired();
        } catch (const std::exception&) {
          Application->HandleException(Application);
        }
      }
      return 0;
    case CM_RELEASE:
      delete reinterpret_cast<TCustomForm*>(LParam);
      return 0;
    case WM_ACTIVATEAPP:
      if (Application) {
        Application->FActive = WParam != 0;
        if (!WParam) Application->CancelHint();
        auto& e = WParam ? Application->OnActivate : Application->OnDeactivate;
        if (e) e(Application);
      }
      return 0;
    case WM_CLOSE:
      if (Application && Application->MainForm()) Application->MainForm()->Close();
      return 0;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

HWND TApplication::Handle() {
  if (FHandle && IsWindow(FHandle)) return FHandle;
  WNDCLASS wc;
  if (!GetClassInfo(HInstance(), "TApplication", &wc)) {
    wc = WNDCLASS();
    wc.lpfnWndProc = &TApplication::WndProc;
    wc.lpszClassName = "TApplication";
    wc.hInstance = HInstance();
    RegisterClass(&wc);
  }
  FHandle = CreateWindowEx(WS_EX_TOOLWINDOW, "TApplication", FTitle.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS,
                           0, 0, 0, 0, nullptr, nullptr, HInstance(), nullptr);
  if (!FInstalledFilter) {
    FInstalledFilter = true;
    SetMessageFilter([](MSG& m) { return Application && Application->IsPreProcessMessage(m); });
  }
  return FHandle;
}

void TApplication::FinishCreateForm(TCustomForm* Form) {
  try {
    if (!Form->FStoredFormRead) Form->ReadStoredForm();
    Form->DoCreate();
  } catch (...) {
    delete Form;
    throw;
  }
  if (!FMainForm) {
    FMainForm = Form;
    Handle();
  }
}

void TApplication::Run() {
  Handle();
  FRunning = true;
  struct TLeave {
    bool& R;
    ~TLeave() { R = false; }
  } leave{FRunning};
  if (FMainForm && ShowMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  if (FTerminated) return;
  PostQuitMessage(0);
}

bool TApplication::IsPreProcessMessage(MSG& Msg) {
  if (Msg.message == WM_QUIT) return false;
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (handled) return true;
  if (IsHintMsg(Msg)) {
    // The hint went away; the message still goes on.
  }
  if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) UpdateMouseControl();
  return IsKeyMsg(Msg);
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  try {
    HandleOneMessage(Msg);
  } catch (const EMessageLoopStalled&) {
    throw;
  } catch (const std::exception&) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::Idle() {
  UpdateMouseControl();
  bool done = true;
  // Actions follow the state of the program while nothing else happens.
  if (Screen)
    for (int i = 0; i < Screen->FormCount(); ++i) {
      try {
        Screen->Forms(i)->UpdateActions();
      } catch (const std::exception&) {
        HandleException(this);
      }
    }
  if (OnIdle) {
    try {
      OnIdle(this, done);
    } catch (const std::exception&) {
      HandleException(this);
    }
  }
  if (done) WaitMessage();
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    wnd = Msg.hwnd;
    while (wnd && !FindControl(wnd)) wnd = GetAncestor(wnd, GA_PARENT);
    if (!wnd) wnd = Msg.hwnd;
  }
  if (!wnd || !FindControl(wnd)) return false;
  return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsHintMsg(MSG& Msg) {
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()) &&
      FHintWindow->IsHintMsg(Msg)) {
    CancelHint();
    return true;
  }
  return false;
}

void TApplication::HandleException(TObject* Sender) {
  // An exception replaced while it was being handled is reported as its replacement.
  std::exception_ptr p = ExceptionReplacement(std::current_exception());
  if (!p) return;
  try {
    std::rethrow_exception(p);
  } catch (const EAbort&) {
    // Silent.
  } catch (const EMessageLoopStalled&) {
    throw;  // a test with nothing scripted: not an application error
  } catch (const Exception& e) {
    if (OnException) OnException(Sender, e);
    else ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException) OnException(Sender, wrapped);
    else ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  std::string msg = E.Message();
  if (!msg.empty() && msg.back() > '.') msg += ".";
  MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, int Flags) {
  return ShowMessageBox(Text, Caption.empty() ? FTitle : Caption, Flags);
}

void TApplication::BringToFront() {
  if (FMainForm && FMainForm->HandleAllocated()) SetForegroundWindow(FMainForm->Handle());
}

void TApplication::ControlDestroyed(TControl* Control) {
  if (FMainForm == Control) FMainForm = nullptr;
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (FHintControl == Control) {
    FHintControl = nullptr;
    CancelHint();
  }
  if (FHintWindow == Control) FHintWindow = nullptr;
}

void TApplication::UpdateMouseControl() {
  POINT p;
  GetCursorPos(&p);
  TControl* c = GetCaptureControl();
  if (!c) c = FindDragTarget(ToTPoint(p), true);
  if (c == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = c;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (FMouseControl == c && c) c->Perform(CM_MOUSEENTER, 0, 0);
}

// --- hints -------------------------------------------------------------------------------
void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::SetHint(const std::string& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) OnHint(this);
}

void TApplication::StartHintTimer(int Delay, int Kind) {
  StopHintTimer();
  FHintTimerKind = Kind;
  SetTimer(Handle(), kHintTimer, UINT(std::max(Delay, 1)), nullptr);
}

void TApplication::StopHintTimer() {
  if (FHintTimerKind && FHandle) KillTimer(FHandle, kHintTimer);
  FHintTimerKind = 0;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (!FShowHint) return;
  TPoint pt = Control->ClientToScreen(TPoint{Message.XPos(), Message.YPos()});
  TControl* target = FindDragTarget(pt, true);
  if (!target) target = Control;
  if (target != FHintControl) {
    bool wasActive = FHintActive;
    HideHint();
    FHintControl = target;
    bool shows = false;
    for (TControl* c = target; c; c = c->Parent())
      if (!c->Hint().empty()) {
        shows = target->ShowHint();
        break;
      }
    if (shows) StartHintTimer(wasActive ? HintShortPause : HintPause, 1);
    else StopHintTimer();
    return;
  }
  if (FHintActive) {
    TPoint cp = target->ScreenToClient(pt);
    const TRect& r = FHintCursorRect;
    if (cp.X < r.Left || cp.X >= r.Right || cp.Y < r.Top || cp.Y >= r.Bottom) {
      HideHint();
      StartHintTimer(HintShortPause, 1);
    }
  }
}

void TApplication::HintTimerExpired() {
  int kind = FHintTimerKind;
  StopHintTimer();
  if (kind == 1) {
    POINT p;
    GetCursorPos(&p);
    ActivateHint(ToTPoint(p));
  } else if (kind == 2) {
    HideHint();
  }
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  TControl* control = FHintControl;
  if (!control || !FShowHint) return;
  std::string text;
  for (TControl* c = control; c; c = c->Parent())
    if (!c->Hint().empty()) {
      text = c->Hint();
      break;
    }
  // "short|long": the hint shows the part before the bar.
  std::string shortHint = text.substr(0, text.find('|'));
  THintInfo info;
  info.HintControl = control;
  info.HintPos = TPoint{CursorPos.X, CursorPos.Y + 20};
  info.HintMaxWidth = Screen ? Screen->Width() : 1280;
  info.HintColor = HintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HideTimeout = HintHidePause;
  info.HintStr = shortHint;
  bool canShow = control->Perform(CM_HINTSHOW, 0, LPARAM(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) return;
  if (!FHintWindow) {
    FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
  }
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  r = TRect{info.HintPos.X, info.HintPos.Y, info.HintPos.X + r.Width(), info.HintPos.Y + r.Height()};
  FHintCursorRect = info.CursorRect;
  FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
  FHintActive = true;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, 2);
}

void TApplication::HideHint() {
  if (FHintWindow && FHintWindow->HandleAllocated()) ShowWindow(FHintWindow->Handle(), SW_HIDE);
  if (FHintWindow) FHintWindow->SetVisible(false);
  FHintActive = false;
  if (FHintTimerKind == 2) StopHintTimer();
}

void TApplication::CancelHint() {
  HideHint();
  StopHintTimer();
  FHintControl = nullptr;
}

void TApplication::Restart() {
  CancelHint();
  FMainForm = nullptr;
  FTerminated = false;
  FMouseControl = nullptr;
  FModalLevel = 0;
  DestroyComponents();
  FHintWindow = nullptr;
  FHintControl = nullptr;
  FHandle = nullptr;
  OnIdle = nullptr;
  OnMessage = nullptr;
  OnException = nullptr;
  OnShowHint = nullptr;
  OnHint = nullptr;
  OnActivate = nullptr;
  OnDeactivate = nullptr;
  HintWindowClass = nullptr;
  FTitle.clear();
}
