#pragma once
// Common controls of the framework: the track bar.
#include "platform/vcl/Controls.h"

// Track bar messages and notification codes.
enum : UINT {
  TBM_GETPOS = WM_USER, TBM_GETRANGEMIN = WM_USER + 1, TBM_GETRANGEMAX = WM_USER + 2,
  TBM_GETTIC = WM_USER + 3, TBM_SETTIC = WM_USER + 4, TBM_SETPOS = WM_USER + 5,
  TBM_SETRANGE = WM_USER + 6, TBM_SETRANGEMIN = WM_USER + 7, TBM_SETRANGEMAX = WM_USER + 8,
  TBM_CLEARTICS = WM_USER + 9, TBM_SETSEL = WM_USER + 10, TBM_SETSELSTART = WM_USER + 11,
  TBM_SETSELEND = WM_USER + 12, TBM_GETSELSTART = WM_USER + 17, TBM_GETSELEND = WM_USER + 18,
  TBM_CLEARSEL = WM_USER + 19, TBM_SETTICFREQ = WM_USER + 20, TBM_SETPAGESIZE = WM_USER + 21,
  TBM_GETPAGESIZE = WM_USER + 22, TBM_SETLINESIZE = WM_USER + 23, TBM_GETLINESIZE = WM_USER + 24,
  TBM_GETTHUMBRECT = WM_USER + 25, TBM_GETCHANNELRECT = WM_USER + 26, TBM_SETTHUMBLENGTH = WM_USER + 27,
  TBM_GETTHUMBLENGTH = WM_USER + 28,
};
enum : int {
  TB_LINEUP = 0, TB_LINEDOWN = 1, TB_PAGEUP = 2, TB_PAGEDOWN = 3, TB_THUMBPOSITION = 4,
  TB_THUMBTRACK = 5, TB_TOP = 6, TB_BOTTOM = 7, TB_ENDTRACK = 8,
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

// A slider: a thumb moved along a channel between Min and Max by the mouse (drag, or a
// click beside the thumb for a page), the keys (arrows by LineSize, Page Up/Down by
// PageSize, Home/End) and the wheel. Each move tells the parent WM_HSCROLL or WM_VSCROLL
// (the parent reflects it back as CN_*) and raises OnChange.
class TTrackBar : public TWinControl {
  LORM_PUBLISHED(TTrackBar, TWinControl)
public:
  explicit TTrackBar(TComponent* AOwner);
  ~TTrackBar() override;
  void WndProc(TMessage& Message) override;

  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation Value);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  void SetRange(int AMin, int AMax);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int Value);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int Value) { FLineSize = Value; }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value) { FPageSize = Value; }
  int SelStart() const { return FSelStart; }
  void SetSelStart(int Value);
  int SelEnd() const { return FSelEnd; }
  void SetSelEnd(int Value);
  int ThumbLength() const { return FThumbLength; }
  void SetThumbLength(int Value);
  bool SliderVisible() const { return FSliderVisible; }
  void SetSliderVisible(bool Value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark Value);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle Value);
  // Manual ticks (TickStyle tsManual).
  void SetTick(int Value);

  // The channel and the thumb, in client coordinates.
  TRect ChannelRect();
  TRect ThumbRect();
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  void Changed() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
  // Moves the thumb as the user did: notifies the parent with Code and raises OnChange.
  void UserMove(int NewPosition, int Code);
  int PositionFromPoint(int X, int Y);
  int TickPixel(int Value);
  void SetBoundsOfRange();
  TTrackBarOrientation FOrientation = trHorizontal;
  int FMin = 0, FMax = 10, FPosition = 0;
  int FFrequency = 1, FLineSize = 1, FPageSize = 2;
  int FSelStart = 0, FSelEnd = 0;
  int FThumbLength = 20;
  bool FSliderVisible = true;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
  std::vector<int> FTicks;
  bool FTracking = false;
  int FTrackOffset = 0;
  bool FPaging = false;
};
