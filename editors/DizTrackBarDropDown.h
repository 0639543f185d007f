#pragma once
// DizTrackBarDropDown: a drop-down editor for an integer whose pop-up holds a horizontal
// track bar. Up and Down step the value by Frequency, and dragging the mouse sideways over
// the closed edit changes it by one per PageSize pixels.
#include "editors/DizDropDownEditor.h"

class TTrackBar;

namespace DizDropDown {

class TDizTrackBarDropDown : public TDizCustomDropDown {
  LORM_CLASS(TDizTrackBarDropDown, TDizCustomDropDown)
public:
  explicit TDizTrackBarDropDown(TComponent* AOwner);
  ~TDizTrackBarDropDown() override;
  void WndProc(TMessage& Message) override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int Value);
  TTrackBar* TrackBar() const { return FTrackBar; }

  TNotifyEvent OnTrackChange;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void Change() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void OnTrackBarChange(TObject* Sender);
  TTrackBar* FTrackBar = nullptr;
  int FMin = 0, FMax = 10, FPosition = 0, FPageSize = 2, FFrequency = 1;
  bool FDragging = false;
  int FLastX = 0;
};

}  // namespace DizDropDown
