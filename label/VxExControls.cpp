// The control-message layer: the dispatcher, its companion routines, the free-notification
// watcher and the registration of the layer's five base classes and their twins.
#include "label/VxExControls.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/win/StdEdit.h"
#include "platform/win/WinUser.h"

namespace vxlayer {
const TEnumInfo* BiDiModeNames() {
  static const TEnumInfo* names = RegisterEnum(
      "TBiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});
  return names;
}
const TEnumInfo* DragKindNames() {
  static const TEnumInfo* names = RegisterEnum("TDragKind", {"dkDrag", "dkDock"});
  return names;
}
const TEnumInfo* DragModeNames() {
  static const TEnumInfo* names = RegisterEnum("TDragMode", {"dmManual", "dmAutomatic"});
  return names;
}
const TEnumInfo* AboutNames() {
  static const TEnumInfo* names = RegisterEnum("TVXLAboutInfo", {"VXLAbout"});
  return names;
}
}  // namespace vxlayer

// ---- inherited handling -----------------------------------------------------------------

void InheritMessage(TControl* Control, TMessage& Message) {
  if (auto* inherited = dynamic_cast<IVxInheritedHandling*>(Control)) inherited->InheritedWndProc(Message);
  else Control->WndProc(Message);
}

LRESULT InheritMsgEx(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  m.Result = 0;
  InheritMessage(Control, m);
  return m.Result;
}

LRESULT InheritMsg(TControl* Control, UINT Msg) { return InheritMsgEx(Control, Msg, 0, 0); }

LPARAM ShiftStateToKeyData(TShiftState Shift) { return Shift.Contains(ssAlt) ? 0x20000000 : 0; }

// ---- mouse entry and leave --------------------------------------------------------------

namespace {
// The framework's own handling of the entry and leave notifications raises the
// control's OnMouseEnter/OnMouseLeave as well; the layer raises them itself (only for
// the control's own notification), so the event is held back while the message passes.
LRESULT PassMouseNotification(TControl* Instance, UINT Msg, TControl* Control, TNotifyEvent& Event) {
  TNotifyEvent held = std::move(Event);
  Event = nullptr;
  struct Restore {
    TNotifyEvent& Target;
    TNotifyEvent& Held;
    ~Restore() {
      if (!Target) Target = std::move(Held);
    }
  } restore{Event, held};
  return InheritMsgEx(Instance, Msg, 0, LPARAM(Control));
}
}  // namespace

void Control_MouseEnter(TControl* Instance, TControl* Control, bool& MouseOver, TColor& SavedHintColor,
                        TColor HintColor, TNotifyEvent& Event) {
  if (!Control && !MouseOver && !Instance->ComponentState().Contains(csDesigning)) {
    MouseOver = true;
    SavedHintColor = Application->HintColor;
    if (HintColor != clNone) Application->HintColor = HintColor;
    if (Event) Event(Instance);
  }
  PassMouseNotification(Instance, CM_MOUSEENTER, Control, Event);
}

void Control_MouseLeave(TControl* Instance, TControl* Control, bool& MouseOver, TColor& SavedHintColor,
                        TNotifyEvent& Event) {
  if (!Control && MouseOver && !Instance->ComponentState().Contains(csDesigning)) {
    MouseOver = false;
    Application->HintColor = SavedHintColor;
    if (Event) Event(Instance);
  }
  PassMouseNotification(Instance, CM_MOUSELEAVE, Control, Event);
}

void Control_ControlsListChanging(TControl* Instance, TControl* Control, bool Inserting) {
  InheritMsgEx(Instance, Inserting ? CM_CONTROLLISTCHANGE : CM_CONTROLCHANGE, WPARAM(Control), Inserting ? 1 : 0);
}

void Control_ControlsListChanged(TControl* Instance, TControl* Control, bool Inserting) {
  InheritMsgEx(Instance, Inserting ? CM_CONTROLCHANGE : CM_CONTROLLISTCHANGE, WPARAM(Control), Inserting ? 1 : 0);
}

bool DefaultDoPaintBackground(TWinControl* Control, TCanvas* Canvas, LPARAM Param) {
  return InheritMsgEx(Control, WM_ERASEBKGND, WPARAM(Canvas->GetHandle()), Param) != 0;
}

void TCustomEdit_Undo(TWinControl* Control) { InheritMsg(Control, WM_UNDO); }
void TCustomEdit_Copy(TWinControl* Control) { InheritMsg(Control, WM_COPY); }
void TCustomEdit_Cut(TWinControl* Control) { InheritMsg(Control, WM_CUT); }
void TCustomEdit_Paste(TWinControl* Control) { InheritMsg(Control, WM_PASTE); }

// ---- the watcher ------------------------------------------------------------------------

TFreeNotificationHelper::TFreeNotificationHelper(TControl* Control, void** Reference)
    : TComponent(nullptr), FReference(Reference) {
  if (Control && !Control->ComponentState().Contains(csDestroying)) {
    FControl = Control;
    FControl->FreeNotification(this);
  }
}

TFreeNotificationHelper::~TFreeNotificationHelper() {
  if (FControl) FControl->RemoveFreeNotification(this);
}

void TFreeNotificationHelper::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || AComponent != FControl) return;
  FControl->RemoveFreeNotification(this);
  FControl = nullptr;
  if (FReference) *FReference = nullptr;
  FReference = nullptr;
}

// ---- the dispatcher ---------------------------------------------------------------------

namespace {

bool DispatchControlEvents(IVxControlEvents* events, TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR: {
      const int key = LOWORD(m.WParam);
      const std::u16string text(1, char16_t(m.WParam & 0xFFFF));
      m.Result = events->WantKey(key, KeyDataToShiftState(m.LParam), text) ? 1 : 0;
      return true;
    }
    case CM_PARENTFONTCHANGED: events->ParentFontChanged(); return true;
    case CM_PARENTCOLORCHANGED: events->ParentColorChanged(); return true;
    case CM_HITTEST:
      m.Result = events->HitTest(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)) ? 1 : 0;
      return true;
    case CM_VISIBLECHANGED: events->VisibleChanged(); return true;
    case CM_ENABLEDCHANGED: events->EnabledChanged(); return true;
    case CM_COLORCHANGED: events->ColorChanged(); return true;
    case CM_FONTCHANGED: events->FontChanged(); return true;
    case CM_TEXTCHANGED: events->TextChanged(); return true;
    case CM_MOUSEENTER: events->MouseEnter(reinterpret_cast<TControl*>(m.LParam)); return true;
    case CM_MOUSELEAVE: events->MouseLeave(reinterpret_cast<TControl*>(m.LParam)); return true;
    case CM_PARENTSHOWHINTCHANGED: events->ParentShowHintChanged(); return true;
    case CM_HINTSHOW:
      m.Result = events->HintShow(*reinterpret_cast<THintInfo*>(m.LParam)) ? 1 : 0;
      return true;
    default: return false;
  }
}

// Runs the inherited handling, then Operation unless the control was freed meanwhile.
template <class Op>
void InheritThenIfAlive(TControl* control, IVxWinControlEvents* events, TMessage& m, Op operation) {
  void* alive = events;
  TFreeNotificationHelper watcher(control, &alive);
  InheritMessage(control, m);
  if (watcher.IsValid() && alive) operation();
}

void DispatchDlgCode(TControl* control, IVxWinControlEvents* events, TMessage& m) {
  void* alive = events;
  TFreeNotificationHelper watcher(control, &alive);
  InheritMessage(control, m);
  if (!watcher.IsValid() || !alive) return;
  const LRESULT native = m.Result;
  TDlgCodes codes{dcNative};
  if (native & DLGC_WANTARROWS) codes += dcWantArrows;
  if (native & DLGC_WANTTAB) codes += dcWantTab;
  if (native & DLGC_WANTALLKEYS) codes += dcWantAllKeys;
  if (native & DLGC_WANTCHARS) codes += dcWantChars;
  if (native & DLGC_BUTTON) codes += dcButton;
  events->DoGetDlgCode(codes);
  if (codes.Contains(dcNative)) return;
  LRESULT result = 0;
  if (codes.Contains(dcWantAllKeys)) result |= DLGC_WANTALLKEYS;
  if (codes.Contains(dcWantArrows)) result |= DLGC_WANTARROWS;
  if (codes.Contains(dcWantTab)) result |= DLGC_WANTTAB;
  if (codes.Contains(dcWantChars)) result |= DLGC_WANTCHARS;
  if (codes.Contains(dcButton)) result |= DLGC_BUTTON;
  m.Result = result;
}

bool DispatchWinControlEvents(TControl* control, IVxWinControlEvents* events, TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      events->DoBoundsChanged();
      InheritMessage(control, m);
      return true;
    case WM_SETFOCUS:
      InheritThenIfAlive(control, events, m, [&] { events->DoSetFocus(reinterpret_cast<HWND>(m.WParam)); });
      return true;
    case WM_KILLFOCUS:
      InheritThenIfAlive(control, events, m, [&] { events->DoKillFocus(reinterpret_cast<HWND>(m.WParam)); });
      return true;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      const int saved = SaveDC(dc);
      TCanvas canvas;
      canvas.SetHandle(dc);
      struct Cleanup {
        TCanvas& Canvas;
        HDC Dc;
        int Saved;
        ~Cleanup() {
          Canvas.SetHandle(nullptr);
          RestoreDC(Dc, Saved);
        }
      } cleanup{canvas, dc, saved};
      m.Result = events->DoPaintBackground(&canvas, m.LParam) ? 1 : 0;
      return true;
    }
    case WM_GETDLGCODE: DispatchDlgCode(control, events, m); return true;
    case WM_PRINT:
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      const int saved = SaveDC(dc);
      struct Cleanup {
        HDC Dc;
        int Saved;
        ~Cleanup() { RestoreDC(Dc, Saved); }
      } cleanup{dc, saved};
      InheritMessage(control, m);
      return true;
    }
    case CM_CURSORCHANGED: events->CursorChanged(); return true;
    case CM_SHOWINGCHANGED: events->ShowingChanged(); return true;
    case CM_SHOWHINTCHANGED: events->ShowHintChanged(); return true;
    case CM_CONTROLLISTCHANGE:
      if (m.LParam != 0) events->ControlsListChanging(reinterpret_cast<TControl*>(m.WParam), true);
      else events->ControlsListChanged(reinterpret_cast<TControl*>(m.WParam), false);
      return true;
    case CM_CONTROLCHANGE:
      if (m.LParam == 0) events->ControlsListChanging(reinterpret_cast<TControl*>(m.WParam), false);
      else events->ControlsListChanged(reinterpret_cast<TControl*>(m.WParam), true);
      return true;
    default: return false;
  }
}

bool DispatchEditEvents(IVxEditControlEvents* events, TMessage& m) {
  switch (m.Msg) {
    case WM_CUT: events->DoClipboardCut(); break;
    case WM_COPY: events->DoClipboardCopy(); break;
    case WM_PASTE: events->DoClipboardPaste(); break;
    case WM_CLEAR: events->DoClearText(); break;
    case WM_UNDO:
    case EM_UNDO: events->DoUndo(); break;
    default: return false;
  }
  m.Result = 1;
  return true;
}

}  // namespace

void DispatchMsg(TControl* Control, TMessage& Message) {
  if (Message.Msg == CM_DENYSUBCLASSING)
    Message.Result = dynamic_cast<IVxDenySubClassing*>(Control) ? 1 : 0;
  if (auto* events = dynamic_cast<IVxControlEvents*>(Control))
    if (DispatchControlEvents(events, Message)) return;
  if (auto* events = dynamic_cast<IVxWinControlEvents*>(Control))
    if (DispatchWinControlEvents(Control, events, Message)) return;
  if (auto* events = dynamic_cast<IVxEditControlEvents*>(Control))
    if (DispatchEditEvents(events, Message)) return;
  InheritMessage(Control, Message);
}

// ---- registration -----------------------------------------------------------------------

void TVxExControl::Publish(TClassBuilder<TVxExControl>& P) { PublishVxLayer(P); }
void TVxExGraphicControl::Publish(TClassBuilder<TVxExGraphicControl>& P) { PublishVxLayer(P); }
void TVxExWinControl::Publish(TClassBuilder<TVxExWinControl>& P) { PublishVxLayer(P); }
void TVxExCustomControl::Publish(TClassBuilder<TVxExCustomControl>& P) { PublishVxLayer(P); }
void TVxExHintWindow::Publish(TClassBuilder<TVxExHintWindow>& P) { PublishVxLayer(P); }
void TVxExPubControl::Publish(TClassBuilder<TVxExPubControl>& P) { PublishVxPubTwin(P); }
void TVxExPubGraphicControl::Publish(TClassBuilder<TVxExPubGraphicControl>& P) { PublishVxPubTwin(P); }
void TVxExPubWinControl::Publish(TClassBuilder<TVxExPubWinControl>& P) { PublishVxPubTwin(P); }
void TVxExPubCustomControl::Publish(TClassBuilder<TVxExPubCustomControl>& P) { PublishVxPubTwin(P); }
void TVxExPubHintWindow::Publish(TClassBuilder<TVxExPubHintWindow>& P) { PublishVxPubTwin(P); }
