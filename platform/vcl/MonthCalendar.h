#pragma once
// The month calendar: one month as a grid of days under a title with arrows to the
// previous and next month, a row of the locale's day names starting on the locale's
// first weekday, and a line naming today. Used on its own or as the pop-up of the
// date-time picker (the pop-up neither activates nor takes the focus; its owner feeds it
// keys and it keeps the mouse captured while shown).
#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/DateUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

// Calendar styles, read from the window style at each paint.
enum : DWORD { MCS_DAYSTATE = 0x1, MCS_MULTISELECT = 0x2, MCS_WEEKNUMBERS = 0x4, MCS_NOTODAYCIRCLE = 0x8, MCS_NOTODAY = 0x10 };
// Calendar messages. MCM_GETMINREQRECT fills the RECT at LParam with the smallest size
// that shows a whole month.
enum : UINT { MCM_FIRST = 0x1000, MCM_GETCURSEL = MCM_FIRST + 1, MCM_SETCURSEL = MCM_FIRST + 2,
              MCM_GETMINREQRECT = MCM_FIRST + 9, MCM_SETTODAY = MCM_FIRST + 12, MCM_GETTODAY = MCM_FIRST + 13 };

// The locale's first day of the week, 0 = Sunday … 6 = Saturday.
int LocaleFirstWeekday();

class TMonthCalendar : public TCustomControl {
  LORM_CLASS(TMonthCalendar, TCustomControl)
public:
  explicit TMonthCalendar(TComponent* AOwner, bool Popup = false);
  void WndProc(TMessage& Message) override;

  TDateTime Date() const { return FDate; }
  void SetDate(TDateTime Value);
  // The month on show (its first day).
  TDateTime VisibleMonth() const { return FMonth; }
  void SetVisibleMonth(TDateTime Value);
  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value) { FMinDate = Value; Invalidate(); }
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value) { FMaxDate = Value; Invalidate(); }
  // 0 = Sunday … 6 = Saturday; -1: the locale's.
  int FirstDayOfWeek() const { return FFirstDay; }
  void SetFirstDayOfWeek(int Value) { FFirstDay = Value; Invalidate(); }
  int FirstWeekday() const { return FFirstDay < 0 ? LocaleFirstWeekday() : FFirstDay; }
  bool WeekNumbers() const { return HasStyle(MCS_WEEKNUMBERS); }
  void SetWeekNumbers(bool Value) { SetStyleBit(MCS_WEEKNUMBERS, Value); }
  bool ShowToday() const { return !HasStyle(MCS_NOTODAY); }
  void SetShowToday(bool Value) { SetStyleBit(MCS_NOTODAY, !Value); }
  bool ShowTodayCircle() const { return !HasStyle(MCS_NOTODAYCIRCLE); }
  void SetShowTodayCircle(bool Value) { SetStyleBit(MCS_NOTODAYCIRCLE, !Value); }
  // Today as the calendar shows it (0: the clock's date).
  void SetToday(TDateTime Value) { FToday = Value; Invalidate(); }
  TDateTime Today() const;

  // The smallest client size that shows a month with the present styles.
  TSize MinRequiredSize();
  // Layout, client coordinates: the arrows, the day cell of a date on show, today's line.
  TRect PrevArrowRect();
  TRect NextArrowRect();
  TRect DayRect(TDateTime Day);
  TRect TodayRect();
  // The date of the cell at a point; false outside the grid of days.
  bool DateAtPos(int X, int Y, TDateTime& Day);
  // The first date of the grid (the week holding the 1st of the month).
  TDateTime GridStart();
  // Keys as the calendar handles them: true when used.
  bool HandleKey(WORD Key);

  // A day picked by a click, by Enter or by the today line.
  std::function<void(TDateTime)> OnSelect;
  // Esc, or a click outside the pop-up.
  std::function<void()> OnCancel;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool HasStyle(DWORD Bit) const;
  void SetStyleBit(DWORD Bit, bool On);
  void Metrics();
  TDateTime Clamp(TDateTime Value) const;
  void MoveTo(TDateTime Value);
  bool FPopup;
  DWORD FStyle = 0;
  TDateTime FDate = 0, FMonth = 0, FMinDate = 0, FMaxDate = 0, FToday = 0;
  int FFirstDay = -1;
  std::unique_ptr<TBitmap> FMeasure;  // measures before the window exists
  int FCellW = 24, FCellH = 16, FTitleH = 26, FMargin = 6;
};
