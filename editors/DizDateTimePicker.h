#pragma once
// DizDateTimePicker: the date-time picker with a flat one-pixel outline (the parent's
// colour, the themed colour or a colour of its own) and automatic advance to the next
// field while digits are typed (AutoTab); and its descendant that edits a date and a time
// together, the time in a second picker embedded at its right.
#include <memory>

#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace DizDropDown {

// The registered message that runs ShiftFocus after the control took a digit.
UINT DTPShiftFocusMessage();

class TCustomDateTimePicker : public TDateTimePicker {
  LORM_CLASS(TCustomDateTimePicker, TDateTimePicker)
public:
  explicit TCustomDateTimePicker(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  virtual void ShiftFocus();
  bool AutoTab() const { return FAutoTab; }
  virtual void SetAutoTab(bool Value) { FAutoTab = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  virtual void SetBorderStyle(TBorderStyle Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  bool ThemedControls() const { return FThemedControls; }
  void SetThemedControls(bool Value) { FThemedControls = Value; Invalidate(); }
  // The colour of the flat outline (when Ctl3D is off).
  TColor OutlineColor() const;

protected:
  void Paint() override;
  void KeyPress(char32_t& Key) override;
  // Saves what a digit may change (the time here; the date in the descendant).
  virtual void SaveBeforeDigit();
  TBorderStyle FBorderStyle = bsNone;
  TColor FBorderColor = clBlack;
  bool FThemedControls = false;
  bool FAutoTab = false;
  WORD FSavedHour = 0, FSavedMinute = 0, FSavedSecond = 0, FSavedMSec = 0;
};

enum TDizDateTimeKind { dkDate, dkTime, dkDateTime };

class TDizDateTimePicker : public TCustomDateTimePicker {
  LORM_CLASS(TDizDateTimePicker, TCustomDateTimePicker)
public:
  explicit TDizDateTimePicker(TComponent* AOwner);
  ~TDizDateTimePicker() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;

  TDizDateTimeKind Kind() const { return FDizKind; }
  void SetKind(TDizDateTimeKind Value);
  TDateTime GetDateTimeEx();
  virtual void SetDateTimeEx(TDateTime Value);
  TDateTime GetTimeEx();
  void SetTimeEx(TDateTime Value);
  std::string GetFormatEx() const { return Format(); }
  void SetFormatEx(const std::string& Value) { SetFormat(Value); }
  const std::string& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const std::string& Value);
  void ShiftFocus() override;
  void SetAutoTab(bool Value) override;
  void SetBorderStyle(TBorderStyle Value) override;
  TCustomDateTimePicker* EmbeddedTimePicker() const { return FTimePicker; }
  TTimer* RefocusTimer() const { return FRefocusTimer.get(); }
  void UpdateTimePicker();
  int GetVersionNr() const { return 0x01000201; }
  std::string Version() const { return "1.0.2.1"; }
  void SetVersion(const std::string&) {}
  TNotifyEvent OnTimeChange;

protected:
  void CreateWnd() override;
  void Resize() override;
  void SaveBeforeDigit() override;
  virtual void TimePickerChanged(TObject* Sender);
  virtual void TimePickerClicked(TObject* Sender);
  virtual void TimePickerKeyPress(TObject* Sender, char32_t& Key) {}

private:
  void CreateTimePicker();
  TDizDateTimeKind FDizKind = dkDateTime;
  TCustomDateTimePicker* FTimePicker = nullptr;
  std::unique_ptr<TTimer> FRefocusTimer;
  std::string FTimeFormat;
  WORD FSavedYear = 0, FSavedMonth = 0, FSavedDay = 0;
};

}  // namespace DizDropDown
