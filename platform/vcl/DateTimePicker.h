#pragma once
// The date-time picker: a one-line field showing a date or a time in a format of fields
// (day, month, year, hours, minutes, seconds, AM/PM and literal text). Left and Right
// move between the fields, Up and Down and typed digits change the selected one (with
// wrap-around and the day clamped to the month), an optional check box switches the
// value off, and in the combo-box mode F4 or Alt+Down opens a month calendar below the
// field while the focus stays in it. Each change of the value, the opening and the
// closing of the calendar reach the control as CN_NOTIFY (DTN_DATETIMECHANGE,
// DTN_DROPDOWN, DTN_CLOSEUP) before the events run, so descendants can see them first.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/DateUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/win/ToolTip.h"

class TMonthCalendar;

enum : UINT { DTM_FIRST = 0x1000, DTM_GETSYSTEMTIME = DTM_FIRST + 1, DTM_GETMONTHCAL = DTM_FIRST + 8 };
enum : DWORD { DTS_UPDOWN = 0x1, DTS_SHOWNONE = 0x2, DTS_TIMEFORMAT = 0x9 };
enum : int { DTN_FIRST = -740, DTN_DATETIMECHANGE = DTN_FIRST + 1, DTN_DROPDOWN = DTN_FIRST + 6, DTN_CLOSEUP = DTN_FIRST + 7 };
enum : DWORD { GDT_VALID = 0, GDT_NONE = 1 };

// The DTN_DATETIMECHANGE record: GDT_NONE when the check box was cleared.
struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags;
  TDateTime Value;
};

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TCustomControl {
  LORM_CLASS(TDateTimePicker, TCustomControl)
public:
  // What a field shows and edits.
  enum TFieldKind { fkLiteral, fkDay, fkDayName, fkMonth, fkYear, fkHour12, fkHour24, fkMinute, fkSecond, fkAmPm };
  struct TField {
    TFieldKind Kind = fkLiteral;
    int Width = 0;         // letters of the format (dd: 2, MMMM: 4, yyyy: 4, …)
    std::string Literal;   // the text of a literal
    int Start = 0, Length = 0;  // place in the shown text (bytes)
  };

  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;
  void WndProc(TMessage& Message) override;

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  TDTDateMode DateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode Value);
  // The whole value; the date part (whole days) and the time of day.
  TDateTime DateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  TDateTime Date() const { return DateOf(FDateTime); }
  void SetDate(TDateTime Value);
  TDateTime Time() const { return TimeOf(FDateTime); }
  void SetTime(TDateTime Value);
  // The custom format; empty: the locale's short date or long time form.
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& Value);
  // 0: no bound.
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  bool ShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }

  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value);
  TMonthCalendar* Calendar() const { return FCalendar; }

  // The fields of the shown text and the selected one.
  const std::vector<TField>& Fields();
  int SelectedField() const { return FSelected; }
  void SelectField(int Index);
  // The field kind under the selection (fkLiteral when none).
  TFieldKind SelectedKind();
  // Steps the selected field by Delta as Up (+1) and Down (-1) do.
  void StepField(int Delta);
  std::string ShownText();
  // The format in use: the custom one, else the locale's form in picker letters.
  std::string EffectiveFormat() const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnUserInput;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DoExit() override;
  void DoEnter() override;
  // The value changed (through DTN_DATETIMECHANGE): raises OnChange.
  virtual void Change();
  // Sends a notification to the control as CN_NOTIFY.
  LRESULT Notify(int Code);
  // The area of the text and of the button part.
  TRect TextRect();
  TRect ButtonRect();
  TRect CheckboxRect();

private:
  void Parse();
  void UpdateText();
  // Sets the value as the user did: clamps to the range and notifies.
  void UserSet(TDateTime Value);
  TDateTime WithField(TFieldKind Kind, int Value) const;
  int FieldValue(TFieldKind Kind) const;
  std::string FieldText(const TField& F) const;
  void TypeDigit(int Digit);
  // Takes the digits typed into the selected field so far.
  void CommitTyped();
  void Move(int Delta);
  void CalendarSelect(TDateTime Day);
  void CloseCalendar(bool Accept);
  TDateTime Clamp(TDateTime Value) const;

  TDateTimeKind FKind = dtkDate;
  TDTDateMode FDateMode = dmComboBox;
  TDateTime FDateTime = 0;
  std::string FFormat;
  TDateTime FMinDate = 0, FMaxDate = 0;
  bool FShowCheckbox = false, FChecked = true;
  bool FCtl3D = true, FParentCtl3D = true;
  bool FDroppedDown = false;
  TMonthCalendar* FCalendar = nullptr;
  std::vector<TField> FFields;
  std::string FParsedFormat;
  bool FParsed = false;
  int FSelected = -1;
  int FTyped = 0, FTypedDigits = 0;  // digits typed into the selected field so far
};
