#pragma once
// DizButton: the small owner-drawn push button of the pop-up's header and footer strips.
// It paints over its parent's background, fills a face per state (normal, hot, pressed,
// held down, disabled) from a shared TDizButtonAppearance, tracks the pointer with a short
// leave timer, can toggle (tasCheck) or belong to a group of exclusive buttons, and with a
// modal result closes its drop-down's pop-up.
#include <string>

#include "editors/DizDropDownStrips.h"
#include "platform/vcl/Controls.h"

class TTimer;
class TCustomImageList;

namespace DizDropDown {

class TDizCustomDropDown;

enum TDizButtonStyle { tasButton, tasCheck };
enum TDizButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

class TDizButton : public TCustomControl {
  LORM_CLASS(TDizButton, TCustomControl)
public:
  explicit TDizButton(TComponent* AOwner);
  ~TDizButton() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Click() override;

  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TDizButtonStyle Style() const { return FStyle; }
  void SetStyle(TDizButtonStyle Value) { FStyle = Value; }
  TDizButtonState State() const { return FState; }
  void SetState(TDizButtonState Value) { FState = Value; }
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  bool Hot() const { return false; }
  void SetHot(bool) {}
  TDizButtonAppearance* Appearance() const { return FAppearance; }
  void SetAppearance(TDizButtonAppearance* Value) { FAppearance = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  TDizCustomDropDown* DizDropDown() const { return FDropDown; }
  void SetDizDropDown(TDizCustomDropDown* Value) { FDropDown = Value; }
  bool MouseInControl() const { return FMouseInControl; }
  // Sizes the button to its one-line caption and image: 8 wider and 4 higher.
  void SetAutoSizeEx();

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

protected:
  void Paint() override;
  virtual void DrawButton(TCanvas* ACanvas);
  virtual void ButtonDown() {}
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

private:
  void UpdateExclusive();
  void Entered();
  void Exited();
  void CheckHover();
  void LeaveTimerTick(TObject* Sender);
  bool Inside(int X, int Y) { return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight(); }
  void PaintParentBackground();

  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FMouseInControl = false;
  TDizButtonStyle FStyle = tasButton;
  TDizButtonState FState = absUp;
  bool FMousePressed = false;
  bool FGrouped = true;
  bool FDragging = false;
  TTimer* FLeaveTimer = nullptr;
  bool FDownWhileLoading = false;
  bool FInternalClick = false;
  TDizButtonAppearance* FAppearance = nullptr;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  int FModalResult = 0;
  TDizCustomDropDown* FDropDown = nullptr;
};

}  // namespace DizDropDown
