#include "platform/vcl/Controls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/PointerMap.h"

namespace {

// The control of each window handle, asked for every message: a flat table.
TPointerMap<HWND, TWinControl*>& ControlsByHandle() {
  static TPointerMap<HWND, TWinControl*> map;
  return map;
}
TControl* gCaptureControl = nullptr;
TWinControl* gCreatingControl = nullptr;

bool InRect(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

HCURSOR CursorHandle(TCursor c) { return Screen ? Screen->Cursors(c) : LoadCursor(nullptr, IDC_ARROW); }

}  // namespace

// ---------------------------------------------------------------------------------------
TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s += ssShift;
  if (Keys & MK_CONTROL) s += ssCtrl;
  if (Keys & MK_LBUTTON) s += ssLeft;
  if (Keys & MK_RBUTTON) s += ssRight;
  if (Keys & MK_MBUTTON) s += ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s += ssAlt;
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s += ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
  if (KeyData & (LPARAM(1) << 29)) s += ssAlt;
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s += ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s += ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) s += ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) s += ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) s += ssMiddle;
  return s;
}

TWinControl* FindControl(HWND Handle) {
  TWinControl* const* found = ControlsByHandle().Find(Handle);
  return found ? *found : nullptr;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  HWND wnd = WindowFromPoint(ToPOINT(Pos));
  while (wnd && !FindControl(wnd)) wnd = GetAncestor(wnd, GA_PARENT);
  TWinControl* w = wnd ? FindControl(wnd) : nullptr;
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled);
  return c ? c : w;
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
  HWND wnd = WindowFromPoint(ToPOINT(Pos));
  while (wnd) {
    if (TWinControl* w = FindControl(wnd)) return w;
    wnd = GetAncestor(wnd, GA_PARENT);
  }
  return nullptr;
}

TControl* GetCaptureControl() {
  TWinControl* w = FindControl(GetCapture());
  if (!w) {
    gCaptureControl = nullptr;
    return nullptr;
  }
  if (gCaptureControl && gCaptureControl->Parent() == w) return gCaptureControl;
  return w;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  gCaptureControl = nullptr;
  if (!Control) return;
  auto* w = dynamic_cast<TWinControl*>(Control);
  if (!w) {
    if (!Control->Parent()) return;
    gCaptureControl = Control;
    w = Control->Parent();
  }
  SetCapture(w->Handle());
}

// ---------------------------------------------------------------------------------------
void TSizeConstraints::Publish(TClassBuilder<TSizeConstraints>& P) {
  P.Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0)
      .Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0)
      .Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0)
      .Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
}

void TSizeConstraints::SetMaxHeight(int Value) {
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Changed();
}
void TSizeConstraints::SetMaxWidth(int Value) {
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Changed();
}
void TSizeConstraints::SetMinHeight(int Value) {
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Changed();
}
void TSizeConstraints::SetMinWidth(int Value) {
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Changed();
}
void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinHeight = s->FMinHeight;
    FMaxHeight = s->FMaxHeight;
    FMinWidth = s->FMinWidth;
    FMaxWidth = s->FMaxWidth;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}
TPersistent* TSizeConstraints::GetOwner() { return FControl; }
void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------
TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::FreeHandle() {
  if (FDeviceContext) {
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
  }
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (!FDeviceContext) {
    if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
      FWindowHandle = w->Handle();
      FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    } else if (FControl->Parent()) {
      FWindowHandle = FControl->Parent()->Handle();
      FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
      if (FDeviceContext) {
        SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
        IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
      }
    }
  }
  if (FDeviceContext) SetHandle(FDeviceContext);
}

void TControlCanvas::UpdateTextFlags() {}

static const TIntConsts* CursorIdents = RegisterIntConsts(
    "TCursor", {{"crDefault", crDefault}, {"crNone", crNone}, {"crArrow", crArrow}, {"crCross", crCross},
                {"crIBeam", crIBeam}, {"crSizeNESW", crSizeNESW}, {"crSizeNS", crSizeNS},
                {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE}, {"crUpArrow", crUpArrow},
                {"crHourGlass", crHourGlass}, {"crDrag", crDrag}, {"crNoDrop", crNoDrop}, {"crHSplit", crHSplit},
                {"crVSplit", crVSplit}, {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait}, {"crNo", crNo},
                {"crAppStart", crAppStart}, {"crHelp", crHelp}, {"crHandPoint", crHandPoint},
                {"crSizeAll", crSizeAll}});

static const TEnumInfo* AlignNames =
    RegisterEnum("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
static const TEnumInfo* AnchorNames = RegisterEnum("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});

void TControl::Publish(TClassBuilder<TControl>& P) {
  P.Int("Left", &TControl::Left, &TControl::SetLeft)
      .Int("Top", &TControl::Top, &TControl::SetTop)
      .Int("Width", &TControl::Width, &TControl::SetWidth)
      .Int("Height", &TControl::Height, &TControl::SetHeight)
      .Enum("Align", AlignNames, &TControl::Align, &TControl::SetAlign, alNone)
      .Set("Anchors", AnchorNames, &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop})
      .Object("Constraints", &TControl::Constraints, &TControl::SetConstraints)
      .Bool("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize, false)
      .Str("Caption", &TControl::Caption, &TControl::SetCaption)
      .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
      .Int("Color", &TControl::Color, &TControl::SetColor)
      .Consts(ColorConsts())
      .Stored(&TControl::IsColorStored)
      .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
      .Object("Font", &TControl::Font, &TControl::SetFont)
      .Stored(&TControl::IsFontStored)
      .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
      .Str("Hint", &TControl::Hint, &TControl::SetHint)
      .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Stored(&TControl::IsShowHintStored)
      .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
      .Component("Action", &TControl::Action, &TControl::SetAction)
      .Component("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
      .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
      .Consts(CursorIdents)
      .Int("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext, 0)
      .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
      .Event("OnClick", &TControl::OnClick)
      .Event("OnDblClick", &TControl::OnDblClick)
      .Event("OnMouseDown", &TControl::OnMouseDown)
      .Event("OnMouseMove", &TControl::OnMouseMove)
      .Event("OnMouseUp", &TControl::OnMouseUp)
      .Event("OnMouseEnter", &TControl::OnMouseEnter)
      .Event("OnMouseLeave", &TControl::OnMouseLeave)
      .Event("OnResize", &TControl::OnResize)
      .Event("OnCanResize", &TControl::OnCanResize)
      .Event("OnContextPopup", &TControl::OnContextPopup);
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  // Here the object is a plain TControl: its Notification adds only the action and pop-up
  // menu references, which ask for their owner's notifications when set.
  static const bool declared = (DeclarePlainNotification(this), true);
  (void)declared;
  FFont = std::make_unique<TFont>();
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
  FConstraints = std::make_unique<TSizeConstraints>(this);
  FConstraints->OnChange = [this](TObject* s) { ConstraintsChanged(s); };
}

TControl::~TControl() {
  if (Application) Application->ControlDestroyed(this);
  if (gCaptureControl == this) gCaptureControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
  FParent = nullptr;
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  Dispatch(m);
  return m.Result;
}

bool TControl::IsColorStored() const { return !FParentColor; }
bool TControl::IsFontStored() const { return !FParentFont; }
bool TControl::IsShowHintStored() const { return !FParentShowHint; }

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      int size = int(Message.WParam);
      if (!buffer || size <= 0) {
        Message.Result = 0;
        return;
      }
      int n = std::min<int>(int(FText.size()), size - 1);
      std::copy(FText.begin(), FText.begin() + n, buffer);
      buffer[n] = 0;
      Message.Result = n;
      return;
    }
    case WM_GETTEXTLENGTH: Message.Result = LRESULT(FText.size()); return;
    case WM_SETTEXT:
      FText = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
      Message.Result = 1;
      return;
    default: return;
  }
}

void TControl::SendCancelMode(TControl* Sender) {
  for (TControl* c = this; c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) {
      f->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
      return;
    }
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TShiftState s = KeysToShiftState(Message.Keys()) + Shift;
  MouseDown(Button, s, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
}

void TControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
    if (!FControlStyle.Contains(csDoubleClicks) &&
        (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK)) {
      Message.Msg = msg = msg - (WM_LBUTTONDBLCLK - WM_LBUTTONDOWN);
    }
    switch (msg) {
      case WM_MOUSEMOVE:
        if (Application) Application->HintMouseMessage(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: FControlState += csLButtonDown; break;
      case WM_LBUTTONUP: FControlState -= csLButtonDown; break;
    }
  }
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SendCancelMode(this);
      DefaultHandler(Message);
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (msg == WM_LBUTTONDOWN) {
        if (FControlStyle.Contains(csClickEvents)) FControlState += csClicked;
        DoMouseDown(Message, mbLeft, {});
      } else {
        if (FControlStyle.Contains(csClickEvents)) DblClick();
        DoMouseDown(Message, mbLeft, {ssDouble});
      }
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      SendCancelMode(this);
      DefaultHandler(Message);
      DoMouseDown(Message, mbRight, msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      SendCancelMode(this);
      DefaultHandler(Message);
      DoMouseDown(Message, mbMiddle, msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      return;
    case WM_LBUTTONUP: {
      DefaultHandler(Message);
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
      if (FControlState.Contains(csClicked)) {
        FControlState -= csClicked;
        if (InRect(ClientRect(), Message.XPos(), Message.YPos())) Click();
      }
      DoMouseUp(Message, mbLeft);
      return;
    }
    case WM_RBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbRight);
      return;
    case WM_MBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbMiddle);
      return;
    case WM_MOUSEMOVE:
      DefaultHandler(Message);
      if (!FControlStyle.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(Message.Keys()), Message.XPos(), Message.YPos());
      return;
    case WM_CONTEXTMENU: {
      TPoint pt{Message.XPos(), Message.YPos()};
      if (pt.X != -1 || pt.Y != -1) pt = ScreenToClient(pt);
      bool handled = false;
      DoContextPopup(pt, handled);
      if (handled) {
        Message.Result = 1;
        return;
      }
      // The control's pop-up menu shows at the mouse (from the keyboard: at the control).
      if (auto* popup = dynamic_cast<TPopupMenu*>(FPopupMenu); popup && popup->AutoPopup()) {
        SendCancelMode(nullptr);
        popup->SetPopupComponent(this);
        TPoint at{Message.XPos(), Message.YPos()};
        if (at.X == -1 && at.Y == -1) at = ClientToScreen(TPoint{0, 0});
        popup->Popup(at.X, at.Y);
        Message.Result = 1;
        return;
      }
      DefaultHandler(Message);
      return;
    }
    case WM_CANCELMODE:
      if (MouseCapture()) SetMouseCapture(false);
      DefaultHandler(Message);
      return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      return;
    case CM_PARENTFONTCHANGED:
      if (FParentFont) {
        TFont* source = Message.WParam ? reinterpret_cast<TFont*>(Message.LParam) : (FParent ? FParent->Font() : nullptr);
        if (source) {
          FFont->Assign(source);
          FParentFont = true;
        }
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (FParentColor) {
        TColor c = Message.WParam ? TColor(Message.LParam) : (FParent ? FParent->Color() : FColor);
        SetColor(c);
        FParentColor = true;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (FParentShowHint && FParent) {
        SetShowHint(FParent->ShowHint());
        FParentShowHint = true;
      }
      return;
    case CM_HITTEST: Message.Result = HTCLIENT; return;
    case CM_MOUSEENTER:
      FMouseInControl = true;
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_HINTSHOW: Message.Result = 0; return;
    case CM_VISIBLECHANGED:
    case CM_TEXTCHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_CANCELMODE:
      return;
    case CM_MOUSEWHEEL: {
      TPoint pt{Message.XPos(), Message.YPos()};
      Message.Result = DoMouseWheel(KeysToShiftState(LOWORD(Message.WParam)), SHORT(HIWORD(Message.WParam)), pt) ? 1 : 0;
      return;
    }
    default: DefaultHandler(Message); return;
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
  else if (FActionLink && FActionLink->Action() && !FComponentState.Contains(csDesigning)) FActionLink->Execute(this);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
  return std::make_unique<TControlActionLink>(this);
}

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    FControlStyle -= csActionClient;
    return;
  }
  if (!FActionLink) FActionLink = CreateActionLink();
  FActionLink->SetAction(Value);
  FControlStyle += csActionClient;
  NeedOwnerNotifications();
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(a->Caption());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
  if (!CheckDefaults || FHelpContext == 0) SetHelpContext(a->HelpContext());
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TControl::Resize() {
  auto subscribers = FResizeSubscribers;  // a subscriber may end its subscription
  for (auto& [id, handler] : subscribers)
    if (handler) handler(this);
  if (OnResize) OnResize(this);
}

int TControl::SubscribeResize(TNotifyEvent Handler) {
  FResizeSubscribers.emplace_back(++FNextResizeSubscription, std::move(Handler));
  return FNextResizeSubscription;
}

void TControl::UnsubscribeResize(int Id) {
  std::erase_if(FResizeSubscribers, [Id](const auto& s) { return s.first == Id; });
}
void TControl::Changed() { Perform(CM_CHANGED, 0, LPARAM(this)); }
bool TControl::DoMouseWheel(TShiftState, int, TPoint) { return false; }
void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}
void TControl::SetParentBackground(bool Value) {
  if (Value) FControlStyle += csParentBackground;
  else FControlStyle -= csParentBackground;
  Invalidate();
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }
void TControl::SetParentComponent(TComponent* Value) {
  if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  int w = NewWidth, h = NewHeight;
  if (!CanResize(w, h)) return false;
  int minW = FConstraints->MinWidth(), minH = FConstraints->MinHeight();
  int maxW = FConstraints->MaxWidth(), maxH = FConstraints->MaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && w > maxW) w = maxW;
  if (minW > 0 && w < minW) w = minW;
  if (maxH > 0 && h > maxH) h = maxH;
  if (minH > 0 && h < minH) h = minH;
  NewWidth = std::max(0, w);
  NewHeight = std::max(0, h);
  return true;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool resize = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, resize);
  return resize;
}

void TControl::ConstrainedResize(int&, int&, int&, int&) {}

// Bounds beyond the coordinate range (stored forms, saved positions) are brought into
// it first, so that the sums made of them below and in the layout stay inside int.
static void ClampBounds(int& ALeft, int& ATop, int& AWidth, int& AHeight) {
  ALeft = ClampCoordinate(ALeft);
  ATop = ClampCoordinate(ATop);
  AWidth = ClampCoordinate(AWidth);
  AHeight = ClampCoordinate(AHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  ClampBounds(ALeft, ATop, AWidth, AHeight);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FParent && FVisible && FParent->HandleAllocated()) {
    RECT old = ToRECT(BoundsRect());
    InvalidateRect(FParent->Handle(), &old, !FControlStyle.Contains(csOpaque));
  }
  bool sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FParent) FParent->ChildGeometryChanged(this);
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (sized && !FComponentState.Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Right - R.Left;
  FHeight = R.Bottom - R.Top;
  if (FParent) FParent->ChildGeometryChanged(this);
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent || FComponentState.Contains(csLoading) || FParent->FControlState.Contains(csAligning)) return;
  TRect pr = FParent->ClientRect();
  FAnchorRules[0] = pr.Right - (FLeft + FWidth);
  FAnchorRules[1] = pr.Bottom - (FTop + FHeight);
  FOriginalParentSize = TPoint{pr.Right, pr.Bottom};
}

TRect TControl::ClientRect() { return TRect{0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
void TControl::SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
void TControl::SetClientSize(int W, int H) {
  TRect c = ClientRect();
  SetBounds(FLeft, FTop, ClampCoordinate(static_cast<long long>(FWidth) - c.Right + ClampCoordinate(W)),
            ClampCoordinate(static_cast<long long>(FHeight) - c.Bottom + ClampCoordinate(H)));
}

TPoint TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  TPoint p = FParent->ClientOrigin();
  return TPoint{p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& P) {
  TPoint o = ClientOrigin();
  return TPoint{P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& P) {
  TPoint o = ClientOrigin();
  return TPoint{P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToParent(const TPoint& P, TWinControl* AParent) {
  if (!AParent) AParent = FParent;
  TPoint r = P;
  for (TControl* c = this; c && c != AParent; c = c->Parent()) {
    r.X += c->Left();
    r.Y += c->Top();
    if (!c->Parent()) throw EInvalidOperation("The control is not a child of that parent");
  }
  return r;
}

TPoint TControl::ParentToClient(const TPoint& P, TWinControl* AParent) {
  TPoint o = ClientToParent(TPoint{0, 0}, AParent);
  return TPoint{P.X - o.X, P.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign old = FAlign;
  if (FParent) FParent->CountAlignRole(this, -1);
  FAlign = Value;
  FAnchors = TAnchors{akLeft, akTop};
  if (Value == alTop || Value == alBottom || Value == alClient) FAnchors += akRight;
  if (Value == alLeft || Value == alRight || Value == alClient) FAnchors += akBottom;
  if (Value == alBottom) FAnchors = TAnchors{akLeft, akRight, akBottom};
  if (Value == alRight) FAnchors = TAnchors{akRight, akTop, akBottom};
  if (!FComponentState.Contains(csLoading) && old != alNone && Value == alNone) {
    // Keeps its aligned place.
  }
  if (FParent) {
    FParent->CountAlignRole(this, 1);
    FParent->ChildGeometryChanged(this);
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  if (FParent) FParent->CountAlignRole(this, -1);
  FAnchors = Value;
  if (FParent) FParent->CountAlignRole(this, 1);
  UpdateAnchorRules();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::AdjustSize() {
  if (!FComponentState.Contains(csLoading)) SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControlsNow(this);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  if (FParent) FParent->ChildGeometryChanged(this);
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetColor(TColor Value) {
  if (FColor == Value) {
    FParentColor = false;
    return;
  }
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && Value && !FComponentState.Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && Value && !FComponentState.Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::ConstraintsChanged(TObject*) {
  if (!FComponentState.Contains(csLoading)) {
    int w = FWidth, h = FHeight;
    FWidth = -1;  // force SetBounds to apply the new limits
    SetBounds(FLeft, FTop, w, h);
  }
}

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  SetTextValue(Value);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetTextValue(const std::string& Value) { Perform(WM_SETTEXT, 0, LPARAM(Value.c_str())); }

int TControl::GetTextLen() { return int(Perform(WM_GETTEXTLENGTH, 0, 0)); }
std::string TControl::GetTextBuf() { return GetText(); }

void TControl::SetShowHint(bool Value) {
  if (FShowHint != Value) {
    FShowHint = Value;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
  }
  FParentShowHint = false;
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && Value && !FComponentState.Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) {
    NeedOwnerNotifications();
    Value->FreeNotification(this);
  }
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  if (Value) SetCaptureControl(this);
  else SetCaptureControl(nullptr);
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
  RECT r = ToRECT(BoundsRect());
  InvalidateRect(FParent->Handle(), &r, !FControlStyle.Contains(csOpaque));
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost) list.push_back(this);
  else list.insert(list.begin(), this);
  FParent->ChildListChanged();
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->FHandle)
    SetWindowPos(w->FHandle, FParent->PrecedingWindow(w), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (FParentShowHint) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetName(const std::string& Value) {
  std::string old = Name();
  bool changeText = FControlStyle.Contains(csSetCaption) && !FComponentState.Contains(csLoading) &&
                    !FComponentState.Contains(csReading) && GetText() == old && Owner() &&
                    Owner()->ComponentState().Contains(csDesigning);
  TComponent::SetName(Value);
  if (changeText) SetText(Value);
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* BorderStyleNames =
    RegisterEnum("TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});

void TWinControl::Publish(TClassBuilder<TWinControl>& P) {
  P.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false)
      .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered, false)
      .Bool("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground)
      .Event("OnEnter", &TWinControl::OnEnter)
      .Event("OnExit", &TWinControl::OnExit)
      .Event("OnKeyDown", &TWinControl::OnKeyDown)
      .Event("OnKeyPress", &TWinControl::OnKeyPress)
      .Event("OnKeyUp", &TWinControl::OnKeyUp)
      .Event("OnMouseWheel", &TWinControl::OnMouseWheel)
      .Event("OnMouseWheelDown", &TWinControl::OnMouseWheelDown)
      .Event("OnMouseWheelUp", &TWinControl::OnMouseWheelUp);
  (void)BorderStyleNames;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FBrush = std::make_unique<TBrush>();
  FBrush->SetColor(FColor);
}

TWinControl::~TWinControl() {
  Destroying();
  if (FParent) RemoveFocus(true);
  if (FHandle) DestroyWindowHandle();
  // The parent frees its child controls.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    delete c;
  }
  // Leave the parent while still a windowed control (its tab list holds this one).
  if (FParent) FParent->RemoveControl(this);
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (!FHandle) return;
  // The window's z-order follows the control list: later controls are above.
  if (FParent) SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CreateChildHandles();
  UpdateBounds();
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return HWND_TOP;
  std::size_t next = std::size_t(it - FControls.begin()) + 1;
  // Past `end` no windowed child has a window.
  std::size_t end = FControls.size();
  bool known = FNoWindowVersion == FChildVersion ||
               (FNoWindowVersion + 1 == FChildVersion && FLastChildHandled == Control);
  if (known) end = std::max(std::min(end, FNoWindowFrom), next);
  for (std::size_t i = next; i < end; ++i)
    if (auto* w = dynamic_cast<TWinControl*>(FControls[i]); w && w->FHandle) return w->FHandle;
  FNoWindowFrom = next;
  FNoWindowVersion = FChildVersion;
  return HWND_TOP;
}

void TWinControl::CreateChildHandles() {
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (!w->HandleAllocated()) w->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) Params.Style |= WS_CLIPCHILDREN;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent) Params.WndParent = FParent->FHandle;  // made first by HandleNeeded
  else Params.WndParent = FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &TWinControl::StdWndProc;
  Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = HInstance();
  Params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD) && !(FParentWindow)) {
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  }
  FDefWndProc = params.WindowClass.lpfnWndProc;
  WNDCLASS existing;
  bool registered = GetClassInfo(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing) &&
                    existing.lpfnWndProc == &TWinControl::StdWndProc;
  if (!registered) {
    UnregisterClass(params.WinClassName.c_str(), params.WindowClass.hInstance);
    WNDCLASS wc = params.WindowClass;
    wc.lpfnWndProc = &TWinControl::StdWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClass(&wc)) throw EOutOfResources("Error creating window class");
  }
  // The default procedure the control passes unhandled messages to.
  FDefWndProc = params.WindowClass.lpfnWndProc == &TWinControl::StdWndProc ? &DefWindowProc
                                                                            : params.WindowClass.lpfnWndProc;
  CreateWindowHandle(params);
  if (!FHandle) throw EOutOfResources("Error creating window");
  // A child window without an id takes its handle as id, so that records naming only
  // the id (WM_MEASUREITEM) lead the parent to the control.
  if ((GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtr(FHandle, GWLP_ID) == 0)
    SetWindowLongPtr(FHandle, GWLP_ID, LONG_PTR(FHandle));
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl* saved = gCreatingControl;
  gCreatingControl = this;
  HWND h = nullptr;
  try {
    h = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                       Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                       Params.WindowClass.hInstance, Params.Param);
  } catch (...) {
    gCreatingControl = saved;
    throw;
  }
  gCreatingControl = saved;
  if (h && FHandle != h) {
    FHandle = h;
    if (FParent) FParent->ChildHandleCreated(this);
  }
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  FControlState += csDestroyingHandle;
  DestroyWindowHandle();
  FControlState -= csDestroyingHandle;
}

void TWinControl::DestroyWindowHandle() {
  HWND h = FHandle;
  if (!h) return;
  FControlState += csDestroyingHandle;
  ::DestroyWindow(h);
  FControlState -= csDestroyingHandle;
  ControlsByHandle().Erase(h);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  FControlState += csRecreating;
  DestroyHandle();
  UpdateControlState();
  FControlState -= csRecreating;
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && FParentWindow && Value) {
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
  }
  FParentWindow = Value;
  UpdateControlState();
}

LRESULT TWinControl::StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = FindControl(Wnd);
  if (!control && gCreatingControl) {
    control = gCreatingControl;
    control->FHandle = Wnd;
    ControlsByHandle()[Wnd] = control;
    if (control->FParent) control->FParent->ChildHandleCreated(control);
  }
  if (!control) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  try {
    control->Dispatch(m);
  } catch (const std::exception&) {
    if (Application) Application->HandleException(control);
    else throw;
  }
  if (Msg == WM_NCDESTROY) {
    ControlsByHandle().Erase(Wnd);
    if (control->FHandle == Wnd) {
      control->FHandle = nullptr;
      control->FShowing = false;
    }
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle) {
    if (Message.Msg == WM_CONTEXTMENU && FParent) {
      Message.Result = FParent->Perform(Message.Msg, Message.WParam, Message.LParam);
      if (Message.Result) return;
    }
    Message.Result = CallWindowProc(FDefWndProc ? FDefWndProc : &DefWindowProc, FHandle, Message.Msg,
                                    Message.WParam, Message.LParam);
    return;
  }
  TControl::DefaultHandler(Message);
}

void TWinControl::SetTextValue(const std::string& Value) {
  if (FHandle) SetWindowText(FHandle, Value.c_str());
  else FText = Value;
}

std::string TWinControl::GetText() const {
  if (FHandle) return GetWindowTextStr(FHandle);
  return FText;
}

// Mouse messages for a graphic child go to it, in its coordinates.
bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture && capture != this) {
    if (capture->Parent() == this) control = capture;
  } else if (!capture) {
    control = ControlAtPos(TPoint{Message.XPos(), Message.YPos()}, false);
  }
  if (!control || dynamic_cast<TWinControl*>(control)) return false;
  TPoint p{Message.XPos() - control->Left(), Message.YPos() - control->Top()};
  Message.Result = control->Perform(Message.Msg, Message.WParam, MAKELPARAM(WORD(p.X), WORD(p.Y)));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  switch (msg) {
    case WM_SETFOCUS: {
      DefaultHandler(Message);
      if (!FControlState.Contains(csDestroyingHandle)) {
        TCustomForm* form = GetParentForm(this);
        if (form && !form->SetFocusedControl(this)) return;
      }
      return;
    }
    case WM_KILLFOCUS:
      DefaultHandler(Message);
      return;
    case WM_SETCURSOR: {
      // The cursor of the control under the mouse, or the screen's.
      if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
          POINT pt;
          GetCursorPos(&pt);
          TControl* c = ControlAtPos(ScreenToClient(ToTPoint(pt)), false);
          cursor = (c && c->Cursor() != crDefault) ? c->Cursor() : FCursor;
        }
        if (cursor != crDefault) {
          ::SetCursor(CursorHandle(cursor));
          Message.Result = 1;
          return;
        }
      }
      DefaultHandler(Message);
      return;
    }
    case WM_PAINT:
      PaintHandler(Message);
      return;
    case WM_ERASEBKGND: {
      if (FControlStyle.Contains(csOpaque) && !FDoubleBuffered) {
        Message.Result = 1;
        return;
      }
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      RECT r;
      GetClientRect(FHandle, &r);
      FillRect(dc, &r, FBrush->GetHandle());
      Message.Result = 1;
      return;
    }
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      TMessage erase;
      erase.Msg = WM_ERASEBKGND;
      erase.WParam = WPARAM(dc);
      Dispatch(erase);
      TMessage paint;
      paint.Msg = WM_PAINT;
      paint.WParam = WPARAM(dc);
      PaintHandler(paint);
      return;
    }
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(Message);
      UpdateBounds();
      return;
    case WM_SIZE:
      UpdateBounds();
      DefaultHandler(Message);
      Realign();
      if (!FComponentState.Contains(csLoading)) Resize();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) DefaultHandler(Message);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) DefaultHandler(Message);
      return;
    case WM_CHAR:
      if (!DoKeyPress(Message)) DefaultHandler(Message);
      return;
    case WM_SYSCHAR: {
      // Alt + a letter: a control with that accelerator takes it.
      TCustomForm* form = GetParentForm(this);
      if (form && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
      DefaultHandler(Message);
      return;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      Message.Result = 1;
      // Shortcuts first: the pop-up menus of the control and its parents, then the form
      // (its main menu and action lists), wherever the focus is.
      for (TControl* c = this; c; c = c->Parent())
        if (auto* popup = dynamic_cast<TPopupMenu*>(c->PopupMenu()); popup && popup->IsShortCut(Message)) return;
      if (TCustomForm* form = GetParentForm(this); form && form->IsShortCut(Message)) return;
      if (Perform(CM_CHILDKEY, Message.WParam, LPARAM(this)) != 0) return;
      UINT mask = 0;
      switch (Message.WParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
      }
      if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 &&
          (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
      }
      Message.Result = 0;
      return;
    }
    case CN_CHAR:
    case CN_SYSCHAR:
      Message.Result = 0;
      return;
    case CM_CHILDKEY:
      if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(Message);
      return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_FOCUSCHANGED: {
      Broadcast(Message);
      return;
    }
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      // The system's colours or theme changed: every control of the window hears of it.
      Perform(Message.Msg == WM_SYSCOLORCHANGE ? CM_SYSCOLORCHANGE : CM_THEMECHANGED, 0, 0);
      DefaultHandler(Message);
      return;
    case CM_SYSCOLORCHANGE:
    case CM_THEMECHANGED:
      Broadcast(Message);
      return;
    case CM_COLORCHANGED:
      ResetBrush();
      NotifyControls(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      NotifyControls(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      return;
    case CM_ENABLEDCHANGED:
      if (!FEnabled && FParent) RemoveFocus(false);
      if (FHandle) EnableWindow(FHandle, FEnabled ? TRUE : FALSE);
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (!FVisible && FParent) RemoveFocus(false);
      UpdateControlState();
      return;
    case CM_SHOWINGCHANGED:
      if (FHandle) {
        if (FShowing) SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
      }
      return;
    case CM_TEXTCHANGED:
      return;
    case CM_CURSORCHANGED: {
      POINT pt;
      GetCursorPos(&pt);
      if (FHandle && WindowFromPoint(pt) == FHandle) ::SetCursor(CursorHandle(FCursor == crDefault ? crArrow : FCursor));
      return;
    }
    case CM_INVALIDATE:
      if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
      return;
    case CM_RECREATEWND:
      RecreateWnd();
      return;
    case WM_MOUSEWHEEL: {
      TPoint pt{Message.XPos(), Message.YPos()};
      Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
      if (Message.Result == 0 && FParent) Message.Result = FParent->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
      if (Message.Result == 0) DefaultHandler(Message);
      (void)pt;
      return;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Scroll bars of a child window tell their control (CN_*).
      if (Message.LParam) {
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam))) {
          Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
          return;
        }
      }
      DefaultHandler(Message);
      return;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // A child window asks for its colours: its control answers (CN_CTLCOLOR*), else
      // the system's colours.
      if (Message.LParam)
        if (TWinControl* c = FindControl(reinterpret_cast<HWND>(Message.LParam)); c && c != this) {
          Message.Result = c->Perform(CN_BASE + msg, Message.WParam, Message.LParam);
          if (Message.Result) return;
        }
      DefaultHandler(Message);
      return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
      // Notifications and owner drawing of a child window go back to its control (CN_*):
      // found by the window (WM_COMMAND, the item's hwndItem) or by the id (WM_MEASUREITEM).
      // Menu items are the menu's.
      TWinControl* c = nullptr;
      if (msg == WM_COMMAND) {
        if (HWND from = reinterpret_cast<HWND>(Message.LParam)) c = FindControl(from);
      } else if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        if (dis && dis->CtlType != ODT_MENU && dis->hwndItem) c = FindControl(dis->hwndItem);
      } else if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
        if (mis && mis->CtlType != ODT_MENU) c = FindChildByCtlID(mis->CtlID);
      }
      if (c && c != this) {
        Message.Result = c->Perform(CN_BASE + msg, Message.WParam, Message.LParam);
        return;
      }
      DefaultHandler(Message);
      return;
    }
    default:
      break;
  }
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL) {
    if (IsControlMouseMsg(Message)) {
      // Windowed controls take the focus on click even when a graphic child got it.
      return;
    }
  }
  TControl::WndProc(Message);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyDown(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyUp(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    char32_t ch = char32_t(Message.WParam);
    KeyPress(ch);
    Message.WParam = WPARAM(ch);
    if (ch == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}
void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (!handled) {
    if (WheelDelta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    else if (WheelDelta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  }
  return handled;
}

void TWinControl::Resize() { TControl::Resize(); }

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps;
  bool own = dc == nullptr;
  if (own) {
    dc = BeginPaint(FHandle, &ps);
    if (!dc) return;
  }
  if (FDoubleBuffered && own) {
    RECT r;
    GetClientRect(FHandle, &r);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, std::max<int>(1, r.right), std::max<int>(1, r.bottom));
    HGDIOBJ old = SelectObject(mem, bmp);
    TMessage erase;
    erase.Msg = WM_ERASEBKGND;
    erase.WParam = WPARAM(mem);
    bool wasOpaque = FControlStyle.Contains(csOpaque);
    FControlStyle -= csOpaque;
    Dispatch(erase);
    if (wasOpaque) FControlStyle += csOpaque;
    PaintWindow(mem);
    PaintControls(mem, nullptr);
    BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
  } else {
    int saved = SaveDC(dc);
    // Graphic children that cover the window opaquely are left out of the window's own
    // painting; the others paint over it. (Every windowed child is in the tab list, so
    // when the two lists are as long, there is no graphic child to look for.)
    if (FControls.size() != FTabList.size())
      for (TControl* c : FControls)
        if (!dynamic_cast<TWinControl*>(c) && c->Visible() && c->ControlStyle().Contains(csOpaque))
          ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
    PaintWindow(dc);
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
  }
  if (own) EndPaint(FHandle, &ps);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage m;
  m.Msg = WM_PAINT;
  m.WParam = WPARAM(DC);
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  if (FControls.size() == FTabList.size()) return;  // windowed children only: they paint themselves
  auto it = FControls.begin();
  if (First) it = std::find(FControls.begin(), FControls.end(), First);
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT clip;
    GetClipBox(DC, &clip);
    RECT bounds = ToRECT(c->BoundsRect());
    if (bounds.right <= clip.left || bounds.left >= clip.right || bounds.bottom <= clip.top || bounds.top >= clip.bottom)
      continue;
    int saved = SaveDC(DC);
    POINT old;
    OffsetViewportOrgEx(DC, c->Left(), c->Top(), &old);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  HandleNeeded();
  int saved = SaveDC(DC);
  OffsetViewportOrgEx(DC, X, Y, nullptr);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  TMessage print;
  print.Msg = WM_PRINTCLIENT;
  print.WParam = WPARAM(DC);
  Dispatch(print);
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (w->Visible()) w->PaintTo(DC, w->Left(), w->Top());
  RestoreDC(DC, saved);
}

void TWinControl::ResetBrush() { FBrush->SetColor(FColor); }

void TWinControl::SetColor(TColor Value) {
  TControl::SetColor(Value);
  ResetBrush();
}

TRect TWinControl::ClientRect() {
  if (FHandle) {
    RECT r;
    ::GetClientRect(FHandle, &r);
    return ToTRect(r);
  }
  TCreateParams params;
  TWinControl* self = this;
  // Without a window: the bounds less the frame the window will have.
  try {
    self->CreateParams(params);
  } catch (...) {
    return TRect{0, 0, FWidth, FHeight};
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  int w = FWidth - (frame.right - frame.left), h = FHeight - (frame.bottom - frame.top);
  if (params.Style & WS_VSCROLL) w -= GetSystemMetrics(SM_CXVSCROLL);
  if (params.Style & WS_HSCROLL) h -= GetSystemMetrics(SM_CYHSCROLL);
  return TRect{0, 0, std::max(0, w), std::max(0, h)};
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return ToTPoint(p);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  ClampBounds(ALeft, ATop, AWidth, AHeight);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle && !IsIconic(FHandle)) {
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // Whatever the window ended with is the control's bounds.
    UpdateBounds();
    RequestAlign();
    return;
  }
  bool sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FParent) FParent->ChildGeometryChanged(this);
  UpdateAnchorRules();
  RequestAlign();
  if (sized && !FComponentState.Contains(csLoading)) {
    Realign();
    Resize();
  }
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  HWND parent = GetAncestor(FHandle, GA_PARENT);
  if (parent && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD)) MapWindowPoints(nullptr, parent, &r, 1);
  TRect nr = ToTRect(r);
  if (nr == BoundsRect()) return;
  bool sized = nr.Width() != FWidth || nr.Height() != FHeight;
  UpdateBoundsRect(nr);
  if (sized) RequestAlign();
}

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    if (FHandle && AParent->HandleAllocated()) {
      ::SetParent(FHandle, AParent->Handle());
      UpdateControlState();
    } else if (FHandle) {
      DestroyHandle();
    } else {
      UpdateControlState();
    }
  } else if (FHandle && !FParentWindow) {
    DestroyHandle();
  }
}

void TWinControl::InsertControl(TControl* AControl) {
  Perform(CM_CONTROLLISTCHANGING, WPARAM(AControl), 1);
  FControls.push_back(AControl);
  ChildListChanged();
  CountAlignRole(AControl, 1);
  ChildGeometryChanged(AControl);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(w);
  AControl->FParent = this;
  if (!AControl->FComponentState.Contains(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
      if (w->HandleAllocated() && w->ControlState().Contains(csDocking)) {
        // A window kept across docking moves under this parent, or stays top-level
        // until this parent has a window of its own.
        ::SetParent(w->Handle(), FHandle);
        SetWindowPos(w->Handle(), nullptr, w->Left(), w->Top(), w->Width(), w->Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (FHandle) {
        w->UpdateControlState();
        if (!w->HandleAllocated() && w->Visible()) w->HandleNeeded();
      }
    } else {
      AControl->Invalidate();
    }
    AControl->UpdateAnchorRules();
    AlignControlsNow(AControl);
  }
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 1);
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 1);
}

namespace {
// Children mostly leave last first (a parent frees them from the top): look from the end.
template <class T>
auto FindFromEnd(std::vector<T*>& list, const void* item) {
  auto it = std::find(list.rbegin(), list.rend(), item);
  return it == list.rend() ? list.end() : std::next(it).base();
}
}  // namespace

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = FindFromEnd(FControls, AControl);
  if (it == FControls.end()) return;
  Perform(CM_CONTROLLISTCHANGING, WPARAM(AControl), 0);
  Perform(CM_CONTROLCHANGE, WPARAM(AControl), 0);
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    w->RemoveFocus(true);
    // A control being docked keeps its window (and the capture of a drag) across the
    // change of parent: the new parent takes the window over.
    if (w->HandleAllocated() && !FComponentState.Contains(csDestroying) &&
        !w->ControlState().Contains(csDocking))
      w->DestroyHandle();
    auto tab = FindFromEnd(FTabList, w);
    if (tab != FTabList.end()) FTabList.erase(tab);
  } else {
    if (gCaptureControl == AControl) gCaptureControl = nullptr;
    AControl->Invalidate();
  }
  it = FindFromEnd(FControls, AControl);
  if (it != FControls.end()) {
    FControls.erase(it);
    CountAlignRole(AControl, -1);
  }
  ChildListChanged();
  FGeometryChange = TGeometryChange::Many;
  AControl->FParent = nullptr;
  if (!FComponentState.Contains(csDestroying)) Realign();
  Perform(CM_CONTROLLISTCHANGE, WPARAM(AControl), 0);
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    bool win = dynamic_cast<TWinControl*>(c) != nullptr;
    if (win && !AllowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !AllowDisabled)) continue;
    if (!InRect(c->BoundsRect(), Pos.X, Pos.Y)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(WORD(Pos.X - c->Left()), WORD(Pos.Y - c->Top()))) == 0) continue;
    return c;
  }
  return nullptr;
}

TControl* TWinControl::FindChildControl(const std::string& ControlName) const {
  for (TControl* c : FControls)
    if (SameTextAscii(c->Name(), ControlName)) return c;
  return nullptr;
}

TWinControl* TWinControl::FindChildByCtlID(UINT CtlID) const {
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated())
      if (UINT(GetWindowLongPtr(w->FHandle, GWLP_ID)) == CtlID) return w;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  std::vector<TControl*> copy = FControls;
  for (TControl* c : copy) {
    if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    c->Dispatch(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m;
  m.Msg = Msg;
  Broadcast(m);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  int start = -1;
  if (CurControl) {
    auto it = std::find(list.begin(), list.end(), CurControl);
    if (it != list.end()) start = int(it - list.begin());
  }
  if (start < 0) start = GoForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c == CurControl) break;
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this)) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (next) next->SetFocus();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TControl* c : FControls)
    if (c->Owner() == Root) Proc(c);
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  const auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  int n = int(list.size());
  if (Value < 0 || Value > n) Value = n;
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG style = GetWindowLong(FHandle, GWL_STYLE);
    SetWindowLong(FHandle, GWL_STYLE, Value ? (style | LONG(WS_TABSTOP)) : (style & ~LONG(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return FVisible && Enabled();
  for (TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return form->Visible() && form->Enabled();
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form) {
    form->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(Handle());
  } else {
    ValidParentForm(this);
  }
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, Removing);
}

void TWinControl::SetParentBackground(bool Value) { TControl::SetParentBackground(Value); }

void TWinControl::DisableAlign() { ++FAlignLevel; }
void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && !FComponentState.Contains(csDestroying)) Realign();
}
void TWinControl::Realign() { AlignControlsNow(nullptr); }

void TWinControl::AlignControlsNow(TControl* AControl) {
  if (FAlignLevel > 0 || FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying) ||
      FControlState.Contains(csAligning)) {
    if (FAlignLevel > 0 || FComponentState.Contains(csLoading)) FControlState += csAlignmentNeeded;
    return;
  }
  FControlState += csAligning;
  FControlState -= csAlignmentNeeded;
  struct TLeave {
    TWinControl* W;
    ~TLeave() { W->FControlState -= csAligning; }
  } leave{this};
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  AlignControls(AControl, rect);
  ControlsAligned();
}

void TWinControl::DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect, std::vector<TControl*>& Done) {
  std::vector<TControl*> list;
  for (TControl* c : FControls)
    if (c->Align() == AAlign && c->Visible()) list.push_back(c);
  // The control being moved takes its new place among its siblings.
  auto key = [AAlign](TControl* c) {
    switch (AAlign) {
      case alTop: return c->Top();
      case alBottom: return -(c->Top() + c->Height());
      case alLeft: return c->Left();
      case alRight: return -(c->Left() + c->Width());
      default: return 0;
    }
  };
  std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
    int ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a == AControl && b != AControl;
  });
  for (TControl* c : list) {
    int l = Rect.Left, t = Rect.Top, w = Rect.Width(), h = Rect.Height();
    switch (AAlign) {
      case alTop: h = c->Height(); break;
      case alBottom: h = c->Height(); t = Rect.Bottom - h; break;
      case alLeft: w = c->Width(); break;
      case alRight: w = c->Width(); l = Rect.Right - w; break;
      default: break;
    }
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    // Constraints may have changed the size; the rest of the rectangle follows the result.
    switch (AAlign) {
      case alTop: Rect.Top += c->Height(); break;
      case alBottom: Rect.Bottom -= c->Height(); break;
      case alLeft: Rect.Left += c->Width(); break;
      case alRight: Rect.Right -= c->Width(); break;
      default: break;
    }
    Done.push_back(c);
  }
}

int TWinControl::AlignRole(const TControl* c) {
  if (c->FAlign != alNone) return 1;
  return c->FAnchors.Contains(akRight) || c->FAnchors.Contains(akBottom) ? 2 : 0;
}

void TWinControl::CountAlignRole(const TControl* c, int delta) {
  switch (AlignRole(c)) {
    case 1: FAlignedChildren += delta; break;
    case 2: FAnchoredChildren += delta; break;
    default: break;
  }
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  std::vector<TControl*> done;
  if (FAlignedChildren > 0)
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, AControl, Rect, done);
  if (FAnchoredChildren == 0) return;
  // Anchored controls keep their distances to the right and bottom edges.
  TRect client = ClientRect();
  for (TControl* c : FControls) {
    if (c->Align() != alNone || !c->Visible()) continue;
    TAnchors a = c->Anchors();
    if (!(a.Contains(akRight) || a.Contains(akBottom))) continue;
    if (c->FOriginalParentSize.X == 0 && c->FOriginalParentSize.Y == 0) continue;
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft)) w = client.Right - c->FAnchorRules[0] - l;
      else l = client.Right - c->FAnchorRules[0] - w;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop)) h = client.Bottom - c->FAnchorRules[1] - t;
      else t = client.Bottom - c->FAnchorRules[1] - h;
    }
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
  }
}

void TWinControl::UpdateShowing() {
  bool show = FVisible && !FControlState.Contains(csReadingState);
  if (show) {
    if (!FHandle) CreateHandle();
    for (TControl* c : std::vector<TControl*>(FControls))
      if (auto* w = dynamic_cast<TWinControl*>(c)) w->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* top = this;
  while (top->FParent) {
    top = top->FParent;
    if (!top->Showing()) return;
  }
  if (dynamic_cast<TCustomForm*>(top) || top->FParentWindow) UpdateShowing();
}


// ---------------------------------------------------------------------------------------
void TGraphicControl::Publish(TClassBuilder<TGraphicControl>& P) { (void)P; }

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas->SetControl(nullptr); }

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam) {
    FCanvas->Lock();
    FCanvas->SetHandle(reinterpret_cast<HDC>(Message.WParam));
    try {
      Paint();
    } catch (...) {
      FCanvas->SetHandle(nullptr);
      FCanvas->Unlock();
      throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    return;
  }
  TControl::WndProc(Message);
}

void TCustomControl::Publish(TClassBuilder<TCustomControl>& P) { (void)P; }

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
  FCanvas->SetControl(nullptr);
}

void TCustomControl::PaintWindow(HDC DC) {
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

// ---------------------------------------------------------------------------------------
void TControlScrollBar::Publish(TClassBuilder<TControlScrollBar>& P) {
  P.Int("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement, 8)
      .Int("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition, 0)
      .Int("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, 0)
      .Bool("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible, true);
}

int TControlScrollBar::ControlSize() const {
  TRect r = FControl->ClientRect();
  return FKind == sbHorizontal ? r.Right : r.Bottom;
}

// Decided on the client without the bars, as the system does: a bar shown only because
// the other one took room goes when that one goes.
bool TControlScrollBar::IsScrollBarVisible() const {
  if (!FVisible) return false;
  TRect r = FControl->ClientRect();
  int w = r.Right, h = r.Bottom;
  if (FControl->HandleAllocated()) {
    LONG style = GetWindowLong(FControl->Handle(), GWL_STYLE);
    if (style & WS_VSCROLL) w += GetSystemMetrics(SM_CXVSCROLL);
    if (style & WS_HSCROLL) h += GetSystemMetrics(SM_CYHSCROLL);
  }
  const TControlScrollBar* horz = FControl->HorzScrollBar();
  const TControlScrollBar* vert = FControl->VertScrollBar();
  int rx = horz->FVisible ? horz->FRange : 0, ry = vert->FVisible ? vert->FRange : 0;
  bool needH = rx > w, needV = ry > h;
  if (needH) needV = ry > h - GetSystemMetrics(SM_CYHSCROLL);
  if (needV) needH = rx > w - GetSystemMetrics(SM_CXVSCROLL);
  return FKind == sbHorizontal ? needH : needV;
}

void TControlScrollBar::SetPosition(int Value) {
  int maxPos = std::max(0, FRange - ControlSize());
  Value = std::clamp(Value, 0, maxPos);
  if (Value == FPosition) return;
  int delta = FPosition - Value;
  FPosition = Value;
  if (FKind == sbHorizontal) FControl->ScrollContent(delta, 0);
  else FControl->ScrollContent(0, delta);
  Update();
}

void TControlScrollBar::SetRange(int Value) {
  FRange = std::max(0, Value);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
  FVisible = Value;
  FControl->UpdateScrollBars();
}

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TControlScrollBar*>(Source)) {
    FIncrement = s->FIncrement;
    FVisible = s->FVisible;
    SetRange(s->FRange);
    SetPosition(s->FPosition);
    return;
  }
  TPersistent::Assign(Source);
}

void TControlScrollBar::Update() {
  if (!FControl->HandleAllocated()) return;
  int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = 0;
  bool visible = IsScrollBarVisible();
  si.nMax = visible ? FRange - 1 : 0;
  si.nPage = visible ? UINT(ControlSize() + 1) : 0;
  si.nPos = FPosition;
  SetScrollInfo(FControl->Handle(), bar, &si, TRUE);
}

void TControlScrollBar::ScrollMessage(UINT Code, int ThumbPos) {
  int page = std::max(1, ControlSize() * 9 / 10);
  switch (Code) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetPosition(ThumbPos); break;
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(FRange); break;
    default: break;
  }
}

void TScrollingWinControl::Publish(TClassBuilder<TScrollingWinControl>& P) {
  P.Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll, true)
      .Object("HorzScrollBar", &TScrollingWinControl::HorzScrollBar)
      .Object("VertScrollBar", &TScrollingWinControl::VertScrollBar);
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  FHorzScrollBar = std::make_unique<TControlScrollBar>(this, sbHorizontal);
  FVertScrollBar = std::make_unique<TControlScrollBar>(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) CalcAutoRange();
  else {
    FHorzScrollBar->SetRange(0);
    FVertScrollBar->SetRange(0);
  }
}

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount > 0 && --FAutoRangeCount == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (!FAutoScroll || FAutoRangeCount > 0 || FComponentState.Contains(csLoading)) return;
  int atX = FHorzScrollBar->Position(), atY = FVertScrollBar->Position();
  // The range is the farthest right and bottom edge of the visible unaligned children.
  // When one child alone changed since the last look, only it is looked at again, unless
  // it was the one reaching the old edge and has drawn back.
  bool full = FGeometryChange == TGeometryChange::Many || atX != FRangeAtX || atY != FRangeAtY;
  if (!full && FGeometryChange == TGeometryChange::One) {
    TControl* c = FGeometryChanged;
    bool counts = c->FParent == this && c->Visible() && c->Align() == alNone;
    int right = c->Left() + c->Width() + atX, bottom = c->Top() + c->Height() + atY;
    if (c == FRangeRightBy) full = !counts || right < FRangeRight;
    if (c == FRangeBottomBy) full = full || !counts || bottom < FRangeBottom;
    if (!full && counts) {
      if (right > FRangeRight) {
        FRangeRight = right;
        FRangeRightBy = c;
      }
      if (bottom > FRangeBottom) {
        FRangeBottom = bottom;
        FRangeBottomBy = c;
      }
    }
  }
  if (full) {
    FRangeRight = FRangeBottom = 0;
    FRangeRightBy = FRangeBottomBy = nullptr;
    for (TControl* c : FControls) {
      if (!c->Visible() || c->Align() != alNone) continue;
      int right = c->Left() + c->Width() + atX, bottom = c->Top() + c->Height() + atY;
      if (right > FRangeRight) {
        FRangeRight = right;
        FRangeRightBy = c;
      }
      if (bottom > FRangeBottom) {
        FRangeBottom = bottom;
        FRangeBottomBy = c;
      }
    }
  }
  FGeometryChange = TGeometryChange::None;
  FRangeAtX = atX;
  FRangeAtY = atY;
  FHorzScrollBar->SetRange(FRangeRight);
  FVertScrollBar->SetRange(FRangeBottom);
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  FHorzScrollBar->Update();
  FVertScrollBar->Update();
  FUpdatingScrollBars = false;
}

void TScrollingWinControl::ScrollContent(int DeltaX, int DeltaY) {
  DisableAlign();
  for (TControl* c : FControls) {
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated()) {
      w->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
    } else {
      c->FLeft += DeltaX;
      c->FTop += DeltaY;
      FGeometryChange = TGeometryChange::Many;
    }
  }
  FControlState -= csAlignmentNeeded;
  --FAlignLevel;
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || !ContainsControl(AControl)) return;
  TRect r = AControl->BoundsRect();
  TRect c = ClientRect();
  if (r.Left < 0) FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.Left);
  else if (r.Right > c.Right) FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + std::min(r.Left, r.Right - c.Right));
  if (r.Top < 0) FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.Top);
  else if (r.Bottom > c.Bottom) FVertScrollBar->SetPosition(FVertScrollBar->Position() + std::min(r.Top, r.Bottom - c.Bottom));
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  CalcAutoRange();
}

void TScrollingWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
      if (!Message.LParam) {
        FHorzScrollBar->ScrollMessage(LOWORD(Message.WParam), SHORT(HIWORD(Message.WParam)));
        return;
      }
      break;
    case WM_VSCROLL:
      if (!Message.LParam) {
        FVertScrollBar->ScrollMessage(LOWORD(Message.WParam), SHORT(HIWORD(Message.WParam)));
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(Message);
      CalcAutoRange();
      UpdateScrollBars();
      return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
void THintWindow::Publish(TClassBuilder<THintWindow>& P) { (void)P; }

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  FColor = clInfoBk;
  FParentColor = false;
  FBrush->SetColor(clInfoBk);
  FFont->SetColor(clInfoText);
  FParentFont = false;
  FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = Application ? Application->Handle() : nullptr;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
  TRect r{0, 0, MaxWidth > 0 ? MaxWidth : 300, 0};
  std::string text = AHint;
  Canvas()->Font()->Assign(Screen ? Screen->HintFont() : Font());
  Canvas()->TextRect(r, text, TTextFormat{tfCalcRect, tfLeft, tfWordBreak, tfNoPrefix});
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  HWND h = Handle();
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  SetWindowPos(h, HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FVisible = true;
  Invalidate();
}

bool THintWindow::IsHintMsg(const MSG& Msg) const {
  return (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) || Msg.message == WM_LBUTTONDOWN ||
         Msg.message == WM_RBUTTONDOWN || Msg.message == WM_MBUTTONDOWN || Msg.message == WM_NCLBUTTONDOWN ||
         Msg.message == WM_ACTIVATE || Msg.message == WM_ACTIVATEAPP;
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.Left += 2;
  r.Top += 1;
  TCanvas* c = Canvas();
  c->Font()->Assign(Screen ? Screen->HintFont() : Font());
  c->Font()->SetColor(clInfoText);
  c->Brush()->SetStyle(bsClear);
  std::string text = Caption();
  c->TextRect(r, text, TTextFormat{tfLeft, tfWordBreak, tfNoPrefix});
}

// ---------------------------------------------------------------------------------------
TPoint TMouse::CursorPos() const {
  POINT p;
  GetCursorPos(&p);
  return ToTPoint(p);
}
void TMouse::SetCursorPos(const TPoint& Value) { ::SetCursorPos(Value.X, Value.Y); }
void TMouse::SetCapture(HWND Value) {
  if (Value) ::SetCapture(Value);
  else ReleaseCapture();
}
int TMouse::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return int(lines);
}
TMouse* Mouse() {
  static TMouse mouse;
  return &mouse;
}
