#pragma once
// Extra controls of the framework: shapes, images, bevels, panels, the timer component
// and the scroll box.
#include <memory>
#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

// Draws Width nested one-pixel frames inside Rect: top and left in TopColor, bottom and
// right in BottomColor. Rect comes back shrunk by Width on every side.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------------------------------
enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A geometric shape drawn with its pen and brush inside the control's bounds.
class TShape : public TGraphicControl {
  LORM_PUBLISHED(TShape, TGraphicControl)
public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  // Pen or brush changed: repaint.
  void StyleChanged(TObject* Sender);

protected:
  void Paint() override;

private:
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TPen> FPen;
  TShapeType FShape = stRectangle;
};

// ---------------------------------------------------------------------------------------
// A picture shown in the control: at its own size from the top-left corner, centred,
// stretched or scaled proportionally.
class TImage : public TGraphicControl {
  LORM_PUBLISHED(TImage, TGraphicControl)
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // A canvas on the picture's bitmap; an empty picture becomes a bitmap of the control's
  // size. Raises EInvalidOperation for other kinds of graphic (icons, PNG, JPEG, GIF).
  TCanvas* Canvas();
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool IncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool Value) { FIncrementalDisplay = Value; }
  void SetAutoSize(bool Value) override;
  // Where the picture is drawn, in client coordinates.
  TRect DestRect();
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;

protected:
  void Paint() override;

private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
  bool FIncrementalDisplay = false;
  bool FDrawing = false;
};

// ---------------------------------------------------------------------------------------
enum TBevelStyle { bsLowered, bsRaised };
enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };

// A beveled box, frame or line.
class TBevel : public TGraphicControl {
  LORM_PUBLISHED(TBevel, TGraphicControl)
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

protected:
  void Paint() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------------------
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;
using TBevelWidth = int;
using TBorderWidth = int;
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

// A container with an outer and an inner bevel, an optional sunken border and a caption
// drawn in the middle.
class TCustomPanel : public TCustomControl {
  LORM_PUBLISHED(TCustomPanel, TCustomControl)
public:
  explicit TCustomPanel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment Value);
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  TBevelWidth BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(TBevelWidth Value);
  TBorderWidth BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(TBorderWidth Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool Value) { FFullRepaint = Value; }
  bool Locked() const { return FLocked; }
  void SetLocked(bool Value) { FLocked = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  TAlignment FAlignment = taCenter;
  TVerticalAlignment FVerticalAlignment = taVerticalCenter;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  TBevelWidth FBevelWidth = 1;
  TBorderWidth FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
  bool FFullRepaint = true;
  bool FLocked = false;
  bool FShowCaption = true;
};

class TPanel : public TCustomPanel {
  LORM_PUBLISHED(TPanel, TCustomPanel)
public:
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// Fires OnTimer every Interval milliseconds while Enabled, on the window system's timers
// (the headless back end's clock in tests). An Interval of 0, no OnTimer or a disabled
// timer holds no system timer.
class TTimer : public TComponent {
  LORM_PUBLISHED(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Value);
  // True while a system timer is running for this component.
  bool Active() const { return FTimerId != 0; }
  void Loaded() override;

protected:
  virtual void Timer();

private:
  static void TimerProc(HWND, UINT, UINT_PTR Id, DWORD);
  void UpdateTimer();
  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  UINT_PTR FTimerId = 0;
};

// ---------------------------------------------------------------------------------------
// A scrolling container with a sunken border.
class TScrollBox : public TScrollingWinControl {
  LORM_PUBLISHED(TScrollBox, TScrollingWinControl)
public:
  explicit TScrollBox(TComponent* AOwner);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  TBorderStyle FBorderStyle = bsSingle;
};
