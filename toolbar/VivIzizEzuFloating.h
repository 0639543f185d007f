#pragma once
// VivIzizEzuFloating: the window a floating tool bar lives in (TFloatingWindow): a
// borderless form the tool bar's size plus its border, painted with a wide border
// rectangle, and resized by its edge strips in steps of whole rows of the tool bar.
#include "platform/vcl/Forms.h"
#include "toolbar/VivIzizEzuBar.h"

namespace VivIzizEzu {

enum TResizingClip { rcLeft, rcTop, rcRight, rcBottom };

class TFloatingWindow : public TCustomForm {
  LORM_PUBLISHED(TFloatingWindow, TCustomForm)
public:
  explicit TFloatingWindow(TComponent* AOwner);
  ~TFloatingWindow() override;
  void Loaded() override;
  void WndProc(TMessage& Message) override;

  TDizCustomToolBar* DizCustomToolBar() const { return FToolBar; }
  void SetDizCustomToolBar(TDizCustomToolBar* Value) { FToolBar = Value; }
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  // The tool bar's size plus (BorderWidth + 1) on each side; the tool bar inside at
  // (BorderWidth + 1, BorderWidth + 1).
  void SetWindowSize();
  bool Resizing() const { return FResizing; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  // One row step of the edge resizing; true when FloatingRows changed.
  bool StepRows(int Rows);
  TDizCustomToolBar* FToolBar = nullptr;
  int FBorderWidth = 2;
  TColor FBorderColor = TColor(0x6D6D6D);
  bool FResizing = false;
  TResizingClip FEdge = rcRight;
  int FLastStep = 0;
  int FRefX = 0, FRefY = 0;
  TCursor FSavedCursor = crDefault;
};

}  // namespace VivIzizEzu

using VivIzizEzu::TFloatingWindow;
