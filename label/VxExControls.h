#pragma once
// The control-message layer: framework notifications (CM_*) and a few window messages of
// a control become overridable operations. A control of the layer routes every message
// through DispatchMsg, which asks which event interfaces the control implements and calls
// the matching operation instead of the framework's handler. Each operation's default
// hands the very same message to the framework's ordinary handling (InheritMsg), so an
// override that leaves out the inherited call suppresses the framework's reaction.
//
// The layer also gives every control a hint colour that is applied to the application
// while the mouse is over the control.
//
// The classes are built from three mixins over any framework control class:
// TVxExControlImpl (non-windowed), TVxExWinControlImpl (windowed) and TVxExEditImpl
// (windowed edits with clipboard filtering); the concrete classes of this unit and of
// VxExStdCtrls are those mixins over one framework class each.
#include "platform/vcl/DragDock.h"
#include <string>
#include <type_traits>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/TypInfo.h"

// The deny-subclassing query: answers 1 for a control that implements IVxDenySubClassing.
constexpr UINT CM_DENYSUBCLASSING = CM_BASE + 2000;

enum TDlgCode { dcWantAllKeys, dcWantArrows, dcWantTab, dcWantChars, dcButton, dcNative };
using TDlgCodes = TSet<TDlgCode>;

enum TVXLAboutInfo { VXLAbout };

// ---------------------------------------------------------------------------------------
// Event interfaces. A control implements them by deriving from them; the dispatcher
// finds them with dynamic_cast.
class IPerformControl {
public:
  virtual ~IPerformControl() = default;
  virtual LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
};

class IVxControlEvents : public virtual IPerformControl {
public:
  virtual void VisibleChanged() = 0;
  virtual void EnabledChanged() = 0;
  virtual void TextChanged() = 0;
  virtual void FontChanged() = 0;
  virtual void ColorChanged() = 0;
  virtual void ParentFontChanged() = 0;
  virtual void ParentColorChanged() = 0;
  virtual void ParentShowHintChanged() = 0;
  virtual bool WantKey(int Key, TShiftState Shift, const std::u16string& KeyText) = 0;
  virtual bool HintShow(THintInfo& HintInfo) = 0;
  virtual bool HitTest(int X, int Y) = 0;
  // Control: nil when the notification concerns the control itself, else the child.
  virtual void MouseEnter(TControl* Control) = 0;
  virtual void MouseLeave(TControl* Control) = 0;
  virtual void DoFocusChanged(TWinControl* Control) = 0;
  virtual void SetAutoSize(bool Value) = 0;
};

class IVxWinControlEvents : public virtual IPerformControl {
public:
  virtual void DoBoundsChanged() = 0;
  virtual void CursorChanged() = 0;
  virtual void ShowingChanged() = 0;
  virtual void ShowHintChanged() = 0;
  virtual void ControlsListChanging(TControl* Control, bool Inserting) = 0;
  virtual void ControlsListChanged(TControl* Control, bool Inserting) = 0;
  virtual void DoGetDlgCode(TDlgCodes& Code) = 0;
  virtual void DoSetFocus(HWND FocusedWnd) = 0;
  virtual void DoKillFocus(HWND FocusedWnd) = 0;
  virtual bool DoPaintBackground(TCanvas* Canvas, LPARAM Param) = 0;
};

class IVxEditControlEvents : public virtual IPerformControl {
public:
  virtual void DoClipboardPaste() = 0;
  virtual void DoClipboardCopy() = 0;
  virtual void DoClipboardCut() = 0;
  virtual void DoUndo() = 0;
  virtual void DoClearText() = 0;
};

// A marker: a control implementing it answers the deny-subclassing query with 1.
class IVxDenySubClassing {
public:
  virtual ~IVxDenySubClassing() = default;
};

// How InheritMessage reaches the framework handling of a layer control without passing
// through the layer's own dispatcher again.
class IVxInheritedHandling {
public:
  virtual ~IVxInheritedHandling() = default;
  virtual void InheritedWndProc(TMessage& Message) = 0;
};

// ---------------------------------------------------------------------------------------
// Free routines.
void DispatchMsg(TControl* Control, TMessage& Message);
// The control's ordinary framework handling of the message (never the layer's dispatcher).
void InheritMessage(TControl* Control, TMessage& Message);
LRESULT InheritMsgEx(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT InheritMsg(TControl* Control, UINT Msg);
// 0x20000000 (the Alt context bit of a key message) when Shift holds Alt, else 0.
LPARAM ShiftStateToKeyData(TShiftState Shift);
void Control_MouseEnter(TControl* Instance, TControl* Control, bool& MouseOver, TColor& SavedHintColor,
                        TColor HintColor, TNotifyEvent& Event);
void Control_MouseLeave(TControl* Instance, TControl* Control, bool& MouseOver, TColor& SavedHintColor,
                        TNotifyEvent& Event);
void Control_ControlsListChanging(TControl* Instance, TControl* Control, bool Inserting);
void Control_ControlsListChanged(TControl* Instance, TControl* Control, bool Inserting);
bool DefaultDoPaintBackground(TWinControl* Control, TCanvas* Canvas, LPARAM Param);
void TCustomEdit_Undo(TWinControl* Control);
void TCustomEdit_Copy(TWinControl* Control);
void TCustomEdit_Cut(TWinControl* Control);
void TCustomEdit_Paste(TWinControl* Control);

// Watches a control for the length of one dispatched message: when the control is freed
// meanwhile, the watched reference is cleared and IsValid turns false.
class TFreeNotificationHelper : public TComponent {
  LORM_CLASS(TFreeNotificationHelper, TComponent)
public:
  TFreeNotificationHelper(TControl* Control, void** Reference);
  ~TFreeNotificationHelper() override;
  bool IsValid() const { return FReference != nullptr; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TControl* FControl = nullptr;
  void** FReference = nullptr;
};

// ---------------------------------------------------------------------------------------
// Values the published twins of the layer's classes carry for the framework; the layer
// keeps them so that stored forms naming them load.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// TDragKind (dkDrag, dkDock) and TDragMode (dmManual, dmAutomatic) are the framework's.
using TDockEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

namespace vxlayer {
const TEnumInfo* BiDiModeNames();
const TEnumInfo* DragKindNames();
const TEnumInfo* DragModeNames();
const TEnumInfo* AboutNames();
}  // namespace vxlayer

// The state and operations the layer adds to a non-windowed framework control.
template <class Base>
class TVxExControlImpl : public Base, public IVxControlEvents, public IVxInheritedHandling {
public:
  explicit TVxExControlImpl(TComponent* AOwner) : Base(AOwner) { FHintColor = Application->HintColor; }

  void WndProc(TMessage& Message) override { DispatchMsg(this, Message); }
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) override {
    return TControl::Perform(Msg, WParam, LParam);
  }
  void InheritedWndProc(TMessage& Message) override {
    if (Message.Msg == CM_FOCUSCHANGED) {
      // The layer's own handler of the focus notification: the framework's handling
      // first, then the overridable operation.
      if constexpr (std::is_base_of_v<TWinControl, Base>) Base::WndProc(Message);
      else this->DefaultHandler(Message);
      DoFocusChanged(reinterpret_cast<TWinControl*>(Message.LParam));
      return;
    }
    Base::WndProc(Message);
  }

  // clNone leaves the application's hint colour alone.
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  bool MouseOver() const { return FMouseOver; }
  TNotifyEvent OnParentColorChange;
  TVXLAboutInfo AboutVXL() const { return VXLAbout; }
  void SetAboutVXL(TVXLAboutInfo) {}

  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value) { FParentBiDiMode = Value; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  TDragKind DragKind() const { return FDragKind; }
  void SetDragKind(TDragKind Value) { FDragKind = Value; }
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TDockEvent OnEndDock;
  TDockEvent OnStartDock;

  // Overridable notifications; each default passes the message on.
  void VisibleChanged() override { InheritMsg(this, CM_VISIBLECHANGED); }
  void EnabledChanged() override { InheritMsg(this, CM_ENABLEDCHANGED); }
  void TextChanged() override { InheritMsg(this, CM_TEXTCHANGED); }
  void FontChanged() override { InheritMsg(this, CM_FONTCHANGED); }
  void ColorChanged() override { InheritMsg(this, CM_COLORCHANGED); }
  void ParentFontChanged() override { InheritMsg(this, CM_PARENTFONTCHANGED); }
  void ParentColorChanged() override {
    InheritMsg(this, CM_PARENTCOLORCHANGED);
    if (OnParentColorChange) OnParentColorChange(this);
  }
  void ParentShowHintChanged() override { InheritMsg(this, CM_PARENTSHOWHINTCHANGED); }
  bool WantKey(int Key, TShiftState Shift, const std::u16string&) override {
    return InheritMsgEx(this, CM_DIALOGCHAR, WORD(Key), ShiftStateToKeyData(Shift)) != 0;
  }
  bool HintShow(THintInfo& HintInfo) override {
    return InheritMsgEx(this, CM_HINTSHOW, 0, LPARAM(&HintInfo)) != 0;
  }
  bool HitTest(int X, int Y) override {
    return InheritMsgEx(this, CM_HITTEST, 0, MAKELPARAM(WORD(X), WORD(Y))) != 0;
  }
  void MouseEnter(TControl* Control) override {
    Control_MouseEnter(this, Control, FMouseOver, FSavedHintColor, FHintColor, this->OnMouseEnter);
  }
  void MouseLeave(TControl* Control) override {
    Control_MouseLeave(this, Control, FMouseOver, FSavedHintColor, this->OnMouseLeave);
  }
  void DoFocusChanged(TWinControl*) override {}
  void SetAutoSize(bool Value) override { Base::SetAutoSize(Value); }

protected:
  TColor FHintColor = clNone;
  TColor FSavedHintColor = clNone;
  bool FMouseOver = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TCursor FDragCursor = crDrag;
  TDragKind FDragKind = dkDrag;
  TDragMode FDragMode = dmManual;
};

// The windowed operations on top.
template <class Base>
class TVxExWinControlImpl : public TVxExControlImpl<Base>, public IVxWinControlEvents {
public:
  explicit TVxExWinControlImpl(TComponent* AOwner) : TVxExControlImpl<Base>(AOwner) {}
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) override {
    return TControl::Perform(Msg, WParam, LParam);
  }

  void CursorChanged() override { InheritMsg(this, CM_CURSORCHANGED); }
  void ShowingChanged() override { InheritMsg(this, CM_SHOWINGCHANGED); }
  void ShowHintChanged() override { InheritMsg(this, CM_SHOWHINTCHANGED); }
  void ControlsListChanging(TControl* Control, bool Inserting) override {
    Control_ControlsListChanging(this, Control, Inserting);
  }
  void ControlsListChanged(TControl* Control, bool Inserting) override {
    Control_ControlsListChanged(this, Control, Inserting);
  }
  void DoBoundsChanged() override {}
  void DoSetFocus(HWND) override {}
  void DoKillFocus(HWND) override {}
  void DoGetDlgCode(TDlgCodes&) override {}
  bool DoPaintBackground(TCanvas* Canvas, LPARAM Param) override {
    return DefaultDoPaintBackground(this, Canvas, Param);
  }
};

enum TVxClipboardCommand { ccCopy, ccCut, ccPaste, ccUndo };
using TVxClipboardCommands = TSet<TVxClipboardCommand>;

// Edits: clipboard and undo requests pass only when their command is allowed.
template <class Base>
class TVxExEditImpl : public TVxExWinControlImpl<Base>, public IVxEditControlEvents {
public:
  explicit TVxExEditImpl(TComponent* AOwner) : TVxExWinControlImpl<Base>(AOwner) {}
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) override {
    return TControl::Perform(Msg, WParam, LParam);
  }

  TVxClipboardCommands ClipboardCommands() const { return FClipboardCommands; }
  virtual void SetClipboardCommands(TVxClipboardCommands Value) { FClipboardCommands = Value; }

  void DoUndo() override {
    if (FClipboardCommands.Contains(ccUndo)) TCustomEdit_Undo(this);
  }
  void DoClearText() override {
    if (FClipboardCommands.Contains(ccCut)) InheritMsg(this, WM_CLEAR);
  }
  void DoClipboardPaste() override {
    if (FClipboardCommands.Contains(ccPaste)) TCustomEdit_Paste(this);
  }
  void DoClipboardCopy() override {
    if (FClipboardCommands.Contains(ccCopy)) TCustomEdit_Copy(this);
  }
  void DoClipboardCut() override {
    if (FClipboardCommands.Contains(ccCut)) TCustomEdit_Cut(this);
  }

protected:
  TVxClipboardCommands FClipboardCommands{ccCopy, ccCut, ccPaste, ccUndo};
};

// Publishes what every class of the layer adds (AboutVXL, never stored, and the events).
template <class T>
void PublishVxLayer(TClassBuilder<T>& P) {
  P.Enum("AboutVXL", vxlayer::AboutNames(), &T::AboutVXL, &T::SetAboutVXL).Stored(false)
      .Event("OnParentColorChange", &T::OnParentColorChange);
}
// Publishes what the published twins add to their class.
template <class T>
void PublishVxPubTwin(TClassBuilder<T>& P) {
  P.Enum("BiDiMode", vxlayer::BiDiModeNames(), &T::BiDiMode, &T::SetBiDiMode, bdLeftToRight)
      .Int("DragCursor", &T::DragCursor, &T::SetDragCursor, crDrag)
      .Enum("DragKind", vxlayer::DragKindNames(), &T::DragKind, &T::SetDragKind, dkDrag)
      .Enum("DragMode", vxlayer::DragModeNames(), &T::DragMode, &T::SetDragMode, dmManual)
      .Bool("ParentBiDiMode", &T::ParentBiDiMode, &T::SetParentBiDiMode, true)
      .Event("OnEndDock", &T::OnEndDock)
      .Event("OnStartDock", &T::OnStartDock);
}

// ---------------------------------------------------------------------------------------
// The five base classes of the layer and their published twins.
#define LORM_VX_CLASS(Name, Impl)                          \
  class Name : public Impl {                               \
    LORM_PUBLISHED(Name, Impl)                             \
  public:                                                  \
    explicit Name(TComponent* AOwner) : Impl(AOwner) {}    \
  };
#define LORM_VX_TWIN(Name, Base)                           \
  class Name : public Base {                               \
    LORM_PUBLISHED(Name, Base)                             \
  public:                                                  \
    explicit Name(TComponent* AOwner) : Base(AOwner) {}    \
  };

LORM_VX_CLASS(TVxExControl, TVxExControlImpl<TControl>)
LORM_VX_CLASS(TVxExGraphicControl, TVxExControlImpl<TGraphicControl>)
LORM_VX_CLASS(TVxExWinControl, TVxExWinControlImpl<TWinControl>)
LORM_VX_CLASS(TVxExCustomControl, TVxExWinControlImpl<TCustomControl>)
LORM_VX_CLASS(TVxExHintWindow, TVxExWinControlImpl<THintWindow>)
LORM_VX_TWIN(TVxExPubControl, TVxExControl)
LORM_VX_TWIN(TVxExPubGraphicControl, TVxExGraphicControl)
LORM_VX_TWIN(TVxExPubWinControl, TVxExWinControl)
LORM_VX_TWIN(TVxExPubCustomControl, TVxExCustomControl)
LORM_VX_TWIN(TVxExPubHintWindow, TVxExHintWindow)
