#pragma once
// DizWatch: an analogue clock control. It shows a time of day with hour and minute hands
// (and, as a live clock, a second hand), lets the user set the hour by clicking inside the
// dial, the minute by clicking on its rim, AM or PM in a box below the centre, and steps
// the time with keys. Hand moves can be animated. Everything but the hands is drawn once
// into a cached bitmap; a time change redraws only the hands over a copy of it.
#include <memory>
#include <string>

#include "foundation/DizStyleIF.h"
#include "platform/rtl/DateUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"

class TGPGraphics;

enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };

// A stored value with a setter that raises the owner's change notification on a change.
#define DIZ_WATCH_PROP(Type, Name, Init)                   \
public:                                                    \
  Type Name() const { return F##Name; }                    \
  void Set##Name(Type Value) {                             \
    if (F##Name == Value) return;                          \
    F##Name = Value;                                       \
    Changed();                                             \
  }                                                        \
private:                                                   \
  Type F##Name = Init;

class TWatchSettings : public TPersistent {
  LORM_CLASS(TWatchSettings, TPersistent)
public:
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;
  void Changed() { if (OnChange) OnChange(this); }
  DIZ_WATCH_PROP(bool, Auto, false)
  DIZ_WATCH_PROP(bool, Second, true)
  DIZ_WATCH_PROP(int, TimeOffset, 0)
public:
  void SetSeconds(bool Value) { SetSecond(Value); }
};

class TWatchAppearance : public TPersistent {
  LORM_CLASS(TWatchAppearance, TPersistent)
public:
  TWatchAppearance();
  ~TWatchAppearance() override;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;
  void Changed() { if (OnChange) OnChange(this); }
  TFont* HourFont() const { return FHourFont.get(); }
  void SetHourFont(TFont* Value) { FHourFont->Assign(Value); Changed(); }
  TFont* AMPMFont() const { return FAMPMFont.get(); }
  void SetAMPMFont(TFont* Value) { FAMPMFont->Assign(Value); Changed(); }
  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); Changed(); }
  void SetWatchShape(TWatchShape Value) { SetShape(Value); }

  DIZ_WATCH_PROP(int, Size, 0)
  DIZ_WATCH_PROP(TColor, HourPointer, clBlack)
  DIZ_WATCH_PROP(TColor, BackgroundColor, TColor(0xFFFFFF))
  DIZ_WATCH_PROP(TColor, MinutePointerShadow, TColor(0x80000010))
  DIZ_WATCH_PROP(TColor, BackgroundColorTo, clNone)
  DIZ_WATCH_PROP(TColor, HourPointerShadow, TColor(0x80000010))
  DIZ_WATCH_PROP(TColor, SecondPointerShadow, TColor(0x80000010))
  DIZ_WATCH_PROP(TColor, SecondPointer, TColor(0x0000FF))
  DIZ_WATCH_PROP(TColor, BorderColor, clBlack)
  DIZ_WATCH_PROP(TColor, MinutePointer, clBlack)
  DIZ_WATCH_PROP(TAMPMFrame, AMPMFrame, apRect)
  DIZ_WATCH_PROP(TWatchShape, Shape, wsCircle)
  DIZ_WATCH_PROP(TPointerStyle, PointerStyle, psLine)
  DIZ_WATCH_PROP(TWatchBorderStyle, BorderStyle, wbLine)
  DIZ_WATCH_PROP(int, HourPointerSize, 4)
  DIZ_WATCH_PROP(int, SecondPointerSize, 1)
  DIZ_WATCH_PROP(int, MinutePointerSize, 3)
  DIZ_WATCH_PROP(TColor, HourColor, clBlack)
  DIZ_WATCH_PROP(TColor, MinuteColor, TColor(0x808080))
  DIZ_WATCH_PROP(int, CenterPointSize, 4)
  DIZ_WATCH_PROP(TColor, CenterPointColor, clBlack)
  DIZ_WATCH_PROP(TColor, CenterPointBorderColor, clNone)
  DIZ_WATCH_PROP(TWatchGradient, BackgroundGradient, wgVertical)
  DIZ_WATCH_PROP(int, Rounding, 5)
  DIZ_WATCH_PROP(int, HourMarkLength, 0)
  DIZ_WATCH_PROP(int, HourMarkWidth, 1)
  DIZ_WATCH_PROP(int, MinuteMarkLength, 0)
  DIZ_WATCH_PROP(int, MinuteMarkWidth, 1)
  DIZ_WATCH_PROP(int, BorderWidth, 4)
  DIZ_WATCH_PROP(TColor, AMPMColor, clWhite)
  DIZ_WATCH_PROP(TColor, AMPMBorderColor, clBlack)
  DIZ_WATCH_PROP(TColor, CenterPointOuterBorderColor, clNone)
  DIZ_WATCH_PROP(TTickMarks, TickMarks, tmAll)
  DIZ_WATCH_PROP(THourMarkStyle, HourMarkStyle, hmsLine)
public:
  // The look of a library-wide style (tsCustom changes only the font colours).
  void ApplyStyle(DUZERazav Style);

private:
  friend class TDizWatch;
  void PictureChanged(TObject*) { Changed(); }
  std::unique_ptr<TFont> FHourFont, FAMPMFont;
  std::unique_ptr<TPicture> FPicture;
};

class TDizWatch : public TCustomControl, public IDizStyle {
  LORM_CLASS(TDizWatch, TCustomControl)
public:
  explicit TDizWatch(TComponent* AOwner);
  ~TDizWatch() override;
  void WndProc(TMessage& Message) override;

  TWatchAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TWatchAppearance* Value) { FAppearance->Assign(Value); }
  TWatchSettings* Settings() const { return FSettings.get(); }
  void SetSettings(TWatchSettings* Value) { FSettings->Assign(Value); }
  TDateTime Time() const { return FTime; }
  void SetTime(TDateTime Value);
  void SetTimeDirect(TDateTime Value);
  TDateTime GetDisplayTime() const;
  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  int AnimationFactor() const { return FAnimationFactor; }
  void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
  bool ShowAMPM() const { return FShowAMPM; }
  void SetShowAMPM(bool Value);
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value);
  bool AM() const { return FAM; }
  void SetAM(bool Value);
  void SetHour(int H);
  void SetMinute(int M);
  void HandleKey(WORD Key);
  int GetXYToMinute(int X, int Y);
  int GetXYToHour(int X, int Y);
  bool Animating() const { return FAnimTimer->Enabled(); }
  TTimer* ClockTimer() const { return FClockTimer.get(); }
  TTimer* AnimationTimer() const { return FAnimTimer.get(); }

  // Geometry.
  TRect GetWatchRect();
  TPoint GetCenterPoint();
  double GetRadius();
  TRect GetInnerRect();
  int GetWatchBorderWidth() const { return FAppearance->BorderWidth(); }
  TRect GetAMPMRect();

  void SetComponentStyle(DUZERazav Style) override { FAppearance->ApplyStyle(Style); }
  void InvalidateWatch() { Invalidate(); }
  // Redraws only the hands over the cached dial.
  void RepaintTime();
  // Rebuilds the cached dial and paints the control.
  void UpdateCache();
  TBitmap* Cache() const { return FCache.get(); }

  TNotifyEvent OnChange;

protected:
  void Paint() override;
  void Resize() override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

  // Drawing (DizWatchPaint.cpp).
  void DrawBackground(TGPGraphics* Graphics, TCanvas* Canvas, const TRect& R);
  void DrawTickMarks(TGPGraphics* Graphics);
  void DrawNumbers(TCanvas* Canvas);
  void DrawNeedles(TGPGraphics* Graphics);
  void DrawAMPM(TCanvas* Canvas);
  void SlideAMPM(bool ToAM);

private:
  void AppearanceChanged(TObject*) { Invalidate(); }
  void SettingsChanged(TObject*);
  void ClockTick(TObject*) { RepaintTime(); }
  void AnimTick(TObject*);
  void RaiseChange() { if (OnChange) OnChange(this); }
  std::unique_ptr<TWatchAppearance> FAppearance;
  std::unique_ptr<TWatchSettings> FSettings;
  TDateTime FTime = 0;
  std::unique_ptr<TBitmap> FCache;
  std::unique_ptr<TBitmap> FFrame;  // the cache with the hands, moved to the screen in one copy
  std::unique_ptr<TTimer> FClockTimer, FAnimTimer;
  bool FAnimation = true;
  int FAnimationFactor = 10;
  int FHourTarget = -1, FMinuteTarget = -1, FMinuteStart = 0;
  bool FHourAnimating = false, FInternalChange = false;
  bool FAM = true, FShowAMPM = true, FShowNumbers = true, FInternalSet = false;
};
