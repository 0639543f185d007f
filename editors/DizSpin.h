#pragma once
// DizSpin: the spin edit and its arrow buttons.
//
// TDizSpinEdit is a single-line masked edit with a pair of arrow buttons at its right
// edge. Its text is its value: an integer, a float, a date, a time or a hexadecimal
// number (SpinType). Reading a value parses the current text; writing one clamps it to
// the kind's range (except while the edit is loaded from a stored form) and replaces the
// text. The arrow buttons, the Up/Down and Page keys and Ctrl+Enter step the value;
// typed characters are filtered by the kind; leaving the edit puts the value back into
// its range. An optional caption label stands beside the edit.
//
// TDizSpinButton is the pair of arrow buttons (usable alone); TDizTimerSpeedButton is one
// arrow button that repeats its click while held: 400 ms after the press, then every
// 100 ms.
#include <memory>
#include <string>

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"

using TDateTime = double;

enum TDizSpinType { sptNormal, sptFloat, sptDate, sptTime, sptHex };
enum TTimeBtnState { tbFocusRect, tbAllowTimer };
using TTimeBtnStates = TSet<TTimeBtnState>;
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TLabelPosition {
  lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
  lpLeftBottomLeft, lpTopCenter, lpBottomCenter
};

// Auto-repeat timing of the arrow buttons (milliseconds).
constexpr unsigned DizSpinInitialRepeatPause = 400;
constexpr unsigned DizSpinRepeatPause = 100;

// ---------------------------------------------------------------------------------------
// One arrow button: a speed button that repeats its click while it is held down under
// the mouse capture, and draws a themed spin part or a classic arrow.
class TDizTimerSpeedButton : public TSpeedButton {
  LORM_PUBLISHED(TDizTimerSpeedButton, TSpeedButton)
public:
  explicit TDizTimerSpeedButton(TComponent* AOwner);
  ~TDizTimerSpeedButton() override;
  void WndProc(TMessage& Message) override;

  TTimeBtnStates TimerState() const { return FTimeBtnState; }
  void SetTimerState(TTimeBtnStates Value);
  TButtonDirection ButtonOrientation() const { return FButtonDirection; }
  void SetButtonOrientation(TButtonDirection Value);
  bool IsXPOrLater() const { return FIsWinXP; }
  bool MouseInside() const { return FHasMouse; }
  // The repeat timer (null until the first press).
  TTimer* RepeatClock() const { return FRepeatTimer.get(); }

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void TimerExpired(TObject* Sender);
  void InvalidateParent();
  std::unique_ptr<TTimer> FRepeatTimer;
  TTimeBtnStates FTimeBtnState;
  TButtonDirection FButtonDirection = bdUp;
  bool FIsWinXP = false;
  bool FHasMouse = false;
};

// ---------------------------------------------------------------------------------------
// The pair of arrow buttons.
class TDizSpinButton : public TWinControl {
  LORM_PUBLISHED(TDizSpinButton, TWinControl)
public:
  explicit TDizSpinButton(TComponent* AOwner);
  ~TDizSpinButton() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TDizTimerSpeedButton* UpArrowButton() const { return FUpButton; }
  TDizTimerSpeedButton* DownArrowButton() const { return FDownButton; }
  TDizTimerSpeedButton* ActiveArrowButton() const { return FFocusedButton; }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection Value);
  TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
  void SetUpGlyph(TBitmap* Value);
  TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
  void SetDownGlyph(TBitmap* Value);
  TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
  void SetUpNumGlyphs(TNumGlyphs Value) { FUpButton->SetNumGlyphs(Value); }
  TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
  void SetDownNumGlyphs(TNumGlyphs Value) { FDownButton->SetNumGlyphs(Value); }

  // Makes Btn the button that shows the focus rectangle and answers the space bar.
  void SetFocusBtn(TDizTimerSpeedButton* Btn);

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

protected:
  void Loaded() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

private:
  TDizTimerSpeedButton* CreateButton();
  void BtnClick(TObject* Sender);
  void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  // Lays the buttons out for a pair of W × H (W raised to the direction's minimum).
  void AdjustSize(int& W, int& H);
  TDizTimerSpeedButton* FUpButton = nullptr;
  TDizTimerSpeedButton* FDownButton = nullptr;
  TDizTimerSpeedButton* FFocusedButton = nullptr;
  TWinControl* FFocusControl = nullptr;
  TSpinDirection FDirection = spVertical;
};

// ---------------------------------------------------------------------------------------
class TDizSpinEdit : public TCustomMaskEdit {
  LORM_PUBLISHED(TDizSpinEdit, TCustomMaskEdit)
public:
  explicit TDizSpinEdit(TComponent* AOwner);
  ~TDizSpinEdit() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetParent(TWinControl* AParent) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {}

  // Version: four bytes, most significant first.
  virtual int GetVersionNr() const;
  std::string Version() const;
  void SetVersion(const std::string&) {}

  // ---- values --------------------------------------------------------------------------
  TDizSpinType SpinType() const { return FSpinType; }
  void SetSpinType(TDizSpinType Value);
  int GetValue();
  void SetValue(int Value);
  double GetFloatValue();
  void SetFloatValue(double Value);
  TDateTime GetDateValue();
  void SetDateValue(TDateTime Value);
  TDateTime GetTimeValue();
  void SetTimeValue(TDateTime Value);
  int GetHexValue();
  void SetHexValue(int Value);
  int Value() { return GetValue(); }
  double FloatValue() { return GetFloatValue(); }
  TDateTime DateValue() { return GetDateValue(); }
  TDateTime TimeValue() { return GetTimeValue(); }
  int HexValue() { return GetHexValue(); }

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value) { FMinValue = Value; }
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value) { FMaxValue = Value; }
  double MinFloatValue() const { return FMinFloatValue; }
  void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
  double MaxFloatValue() const { return FMaxFloatValue; }
  void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
  TDateTime MinDateValue() const { return FMinDateValue; }
  void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
  TDateTime MaxDateValue() const { return FMaxDateValue; }
  void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  bool AllowNullValue() const { return FAllowNullValue; }
  void SetAllowNullValue(bool Value) { FAllowNullValue = Value; }
  bool ShowSeconds() const { return FShowSeconds; }
  void SetShowSeconds(bool Value);
  bool Signed() const { return FSigned; }
  void SetSigned(bool Value) { FSigned = Value; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  TDateTime RememberedDate() const { return FRememberedDate; }
  TDateTime RememberedTime() const { return FRememberedTime; }
  int RememberedHex() const { return FRememberedHex; }
  bool RewritingText() const { return FRewritingText; }

  // The checks: the value clamped into the kind's range (unchanged while loading, and
  // when the range is empty).
  int CheckValue(int Value) const;
  double CheckFloatValue(double Value) const;
  TDateTime CheckDateValue(TDateTime Value) const;

  // ---- stepping ------------------------------------------------------------------------
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  int IncrementPage() const { return FIncrementPage; }
  void SetIncrementPage(int Value) { FIncrementPage = Value; }
  double IncrementFloat() const { return FIncrementFloat; }
  void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
  double IncrementFloatPage() const { return FIncrementFloatPage; }
  void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
  bool IncrementSmart() const { return FIncrementSmart; }
  void SetIncrementSmart(bool Value) { FIncrementSmart = Value; }
  int IncrementHours() const { return FIncrementHours; }
  void SetIncrementHours(int Value) { FIncrementHours = Value; }
  int IncrementMinutes() const { return FIncrementMinutes; }
  void SetIncrementMinutes(int Value) { FIncrementMinutes = Value; }
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
  bool AutoFocus() const { return FAutoFocus; }
  void SetAutoFocus(bool Value) { FAutoFocus = Value; }
  bool MonthFirst() const { return FMonthFirst; }

  // One step up or down (the arrow buttons, the arrow keys); raise OnUpClick/OnDownClick.
  virtual void UpClick(TObject* Sender);
  virtual void DownClick(TObject* Sender);
  // One step of the digit left of the caret.
  void IncSmart();
  void DecSmart();
  // Whether Key may be typed now; may change Key (a thousands separator becomes the
  // decimal separator in a float edit, ',' and '.' the time separator in a time edit).
  virtual bool IsValidChar(char32_t& Key);

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;

  // ---- layout, label and looks ---------------------------------------------------------
  TDizSpinButton* SpinButtonPair() const { return FButton; }
  TSpinDirection Direction() const { return FDirection; }
  void SetDirection(TSpinDirection Value);
  bool SpinFlat() const { return FSpinFlat; }
  void SetSpinFlat(bool Value);
  bool SpinTransparent() const { return FSpinTransparent; }
  void SetSpinTransparent(bool Value);
  TEditAlign EditAlign() const { return FEditAlign; }
  void SetEditAign(TEditAlign Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TColor FlatLineColor() const { return FFlatLineColor; }
  void SetFlatLineColor(TColor Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor Value) { FFocusColor = Value; }
  TColor FocusBorderColor() const { return FFocusBorderColor; }
  void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
  bool FocusLabel() const { return FFocusLabel; }
  void SetFocusLabel(bool Value) { FFocusLabel = Value; }
  std::string GetLabelCaption() const;
  void SetLabelCaption(const std::string& Value);
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition Value);
  int LabelMargin() const { return FLabelMargin; }
  void SetLabelMargin(int Value);
  bool LabelTransparent() const { return FLabelTransparent; }
  void SetLabelTransparent(bool Value);
  TFont* LabelFont() const { return FLabelFont.get(); }
  void SetLabelFont(TFont* Value) { FLabelFont->Assign(Value); }
  bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
  void SetLabelAlwaysEnabled(bool Value);
  TLabel* LabelControl() const { return FLabel; }
  TColor UnfocusedColor() const { return FNormalColor; }
  bool Enabled() const override { return TCustomMaskEdit::Enabled(); }
  void SetEnabled(bool Value) override;
  void SetVisible(bool Value) override;
  void SetColor(TColor Value) override;
  // The smallest height that shows the font.
  int GetMinHeight();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

private:
  // Value helpers.
  void SetTextNoEvents(const std::string& Value);
  std::string TimeFormat() const;
  bool Loading() const { return FComponentState.Contains(csLoading); }
  void GetSel(int& Start, int& Length);
  void SetSel(int Start, int Length);
  void StepDate(int Sign, int CaretPos);
  void StepTime(int Sign, int CaretPos);
  void SmartStep(int Sign);
  void PlainStep(int Sign);
  bool StepRefused();
  void UpdateMonthFirst();
  // Message handlers.
  void WMChar(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void CMExit(TMessage& Message);
  void AfterSetFocus();
  void AfterKillFocus();
  void ApplyEmptyRule();
  // Layout and painting.
  void SetEditRect();
  void PlaceButtons();
  void ForceRelayout();
  void UpdateLabel();
  void LabelFontChanged(TObject* Sender);
  void PaintOverlay();
  void PaintFocusFrame(HDC WindowDC);
  void PaintParentBackground(HDC DC);
  void ApplyFlat();
  // Stored-form rules: each value is written only for the kind that shows it.
  bool IsValueStored() const { return FSpinType == sptNormal; }
  bool IsFloatValueStored() const { return FSpinType == sptFloat; }
  bool IsDateValueStored() const { return FSpinType == sptDate; }
  bool IsTimeValueStored() const { return FSpinType == sptTime; }
  bool IsHexValueStored() const { return FSpinType == sptHex; }

  TDizSpinButton* FButton = nullptr;
  TLabel* FLabel = nullptr;
  std::unique_ptr<TFont> FLabelFont;

  TDizSpinType FSpinType = sptNormal;
  int FMinValue = 0, FMaxValue = 0;
  double FMinFloatValue = 0, FMaxFloatValue = 0;
  TDateTime FMinDateValue = 0, FMaxDateValue = 0;
  int FPrecision = 0;
  bool FAllowNullValue = true;
  bool FShowSeconds = true;
  bool FSigned = false;
  bool FEditorEnabled = true;
  TDateTime FRememberedDate = 0;
  TDateTime FRememberedTime = 0;
  int FRememberedHex = 0;
  bool FRewritingText = false;

  int FIncrement = 1;
  int FIncrementPage = 10;
  double FIncrementFloat = 0.1;
  double FIncrementFloatPage = 1.0;
  bool FIncrementSmart = false;
  int FIncrementHours = 1;
  int FIncrementMinutes = 1;
  bool FReturnIsTab = false;
  bool FAutoFocus = false;
  bool FMonthFirst = false;

  TSpinDirection FDirection = spVertical;
  bool FSpinFlat = false;
  bool FSpinTransparent = false;
  TEditAlign FEditAlign = eaLeft;
  bool FFlat = false;
  TColor FFlatLineColor = clBlack;
  bool FTransparent = false;
  TColor FFocusColor = clWindow;
  TColor FFocusBorderColor = clNone;
  bool FFocusLabel = false;
  TLabelPosition FLabelPosition = lpLeftTop;
  int FLabelMargin = 4;
  bool FLabelTransparent = false;
  bool FLabelAlwaysEnabled = false;
  TColor FNormalColor = clWindow;
  bool FResizing = false;
  bool FApplyingFocusColor = false;
};

// The spin edit with its edit mask published.
class TDizMaskSpinEdit : public TDizSpinEdit {
  LORM_PUBLISHED(TDizMaskSpinEdit, TDizSpinEdit)
public:
  explicit TDizMaskSpinEdit(TComponent* AOwner) : TDizSpinEdit(AOwner) {}
};
