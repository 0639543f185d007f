// VxCoreUtils dates: calendar arithmetic, null dates, reading dates by a format and
// freely, the two-digit year rules, long date texts and tolerant checks, and the
// Russian "how long ago" wording.
#include <gtest/gtest.h>

#include <cmath>

#include "label/VxCoreUtils.h"
#include "platform/rtl/FormatSettings.h"

using namespace VxCoreUtils;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

void ExpectParts(TDateTime value, int y, int m, int d) {
  int yy, mm, dd;
  DecodeDate(value, yy, mm, dd);
  EXPECT_EQ(yy, y);
  EXPECT_EQ(mm, m);
  EXPECT_EQ(dd, d);
}

TFormatSettings DayMonthYear() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.ShortDateFormat = "dd/mm/yyyy";
  fs.DateSeparator = '/';
  return fs;
}

TEST(VxCoreUtilsDates, IncDateClampsToTheMonthAndKeepsTheTime) {
  EXPECT_EQ(IncDate(D(2001, 1, 31), 0, 1, 0), D(2001, 2, 28));
  EXPECT_EQ(IncDate(D(2000, 2, 29), 0, 0, 3), D(2003, 2, 28));
  EXPECT_EQ(VxCoreUtils::IncMonth(D(2001, 3, 15), -13), D(2000, 2, 15));
  EXPECT_EQ(VxCoreUtils::IncMonth(D(2001, 12, 15), 1), D(2002, 1, 15));
  EXPECT_DOUBLE_EQ(VxCoreUtils::IncMonth(D(2001, 5, 10) + 0.75, 1), D(2001, 6, 10) + 0.75);
  EXPECT_EQ(IncDate(D(2001, 1, 1), 3, 0, 0), D(2001, 1, 4));
  EXPECT_EQ(VxCoreUtils::IncYear(D(2004, 2, 29), 1), D(2005, 2, 28));
  EXPECT_THROW(VxCoreUtils::IncYear(D(9999, 1, 1), 1), EConvertError);
}

TEST(VxCoreUtilsDates, DateDiffAndMonthsBetween) {
  struct Case { TDateTime a, b; int days, months, years; } cases[] = {
      {D(2001, 1, 31), D(2001, 3, 1), 1, 1, 0},
      {D(2001, 3, 1), D(2001, 1, 31), 1, 1, 0},
      {D(2000, 12, 15), D(2001, 1, 10), 26, 0, 0},
      {D(1999, 5, 20), D(2001, 5, 20), 0, 0, 2},
      {D(2000, 6, 30), D(2001, 6, 1), 1, 11, 0}};
  for (const Case& c : cases) {
    uint16_t days = 99, months = 99, years = 99;
    DateDiff(c.a, c.b, days, months, years);
    EXPECT_EQ(days, c.days);
    EXPECT_EQ(months, c.months);
    EXPECT_EQ(years, c.years);
  }
  EXPECT_DOUBLE_EQ(MonthsBetween(D(2001, 1, 1), D(2001, 2, 16)), 1.75);
  EXPECT_DOUBLE_EQ(MonthsBetween(D(2001, 1, 1), D(2001, 1, 2)), 0.0);
  EXPECT_DOUBLE_EQ(MonthsBetween(D(2001, 1, 1), D(2001, 1, 8)), 0.5);
  EXPECT_DOUBLE_EQ(MonthsBetween(D(2001, 1, 1), D(2002, 1, 25)), 13.0);
}

TEST(VxCoreUtilsDates, IncTimeWrapsBeforeDayZeroAndSumsIn64Bits) {
  EXPECT_NEAR(IncTime(0.5, -13, 0, 0, 0), 23.0 / 24, 1e-12);
  EXPECT_NEAR(IncTime(0.5, 25, 0, 0, 0), 1 + 13.0 / 24, 1e-12);
  // 100,000 minutes are 6,000,000,000 ms: beyond 32 bits.
  EXPECT_NEAR(VxCoreUtils::IncMinute(0, 100000), 100000.0 / 1440, 1e-9);
  EXPECT_NEAR(VxCoreUtils::IncSecond(0, 2000000000), 2000000000.0 / 86400, 1e-6);
  EXPECT_NEAR(IncMSec(1, -1), 1 - 1.0 / 86400000, 1e-12);
  EXPECT_NEAR(VxCoreUtils::IncHour(10.25, 48), 12.25, 1e-12);
}

TEST(VxCoreUtilsDates, PeriodsAndNullDates) {
  EXPECT_EQ(DaysInPeriod(D(2001, 1, 1), D(2001, 1, 1)), 1);
  EXPECT_EQ(DaysInPeriod(D(2001, 1, 1), D(2001, 1, 10) + 0.9), 10);
  EXPECT_EQ(DaysInPeriod(D(2001, 1, 1), 1e9), 0);
  EXPECT_EQ(DaysBetween(0, 1.9), 1);
  EXPECT_FALSE(ValidDate(std::nan("")));
  EXPECT_TRUE(ValidDate(D(2001, 1, 1)));
  EXPECT_DOUBLE_EQ(CutTime(-1.25), -1.0);  // toward zero, not down
  EXPECT_DOUBLE_EQ(TimeOnly(-1.25), -0.25);
  EXPECT_TRUE(DateIsNull(0.5, dtkDateOnly));
  EXPECT_FALSE(DateIsNull(1.0, dtkDateOnly));
  EXPECT_TRUE(DateIsNull(3.0, dtkTimeOnly));
  EXPECT_FALSE(DateIsNull(3.5, dtkDateTime));
  EXPECT_TRUE(VxCoreUtils::IsLeapYear(2000));
  EXPECT_FALSE(VxCoreUtils::IsLeapYear(1900));
  EXPECT_TRUE(VxCoreUtils::IsLeapYear(-4));
  EXPECT_EQ(DaysPerMonth(2004, 2), 29);
  EXPECT_EQ(DaysPerMonth(2004, 13), 0);
}

TEST(VxCoreUtilsDates, NeighbouringMonths) {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  ExpectParts(FirstDayOfNextMonth(), m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1);
  ExpectParts(FirstDayOfPrevMonth(), m == 1 ? y - 1 : y, m == 1 ? 12 : m - 1, 1);
  EXPECT_EQ(LastDayOfPrevMonth(), D(y, m, 1) - 1);
  EXPECT_EQ(CurrentYear(), y);
}

TEST(VxCoreUtilsDates, DateOrderAndYearRules) {
  EXPECT_EQ(GetDateOrder("yyyy-mm-dd"), doYMD);
  EXPECT_EQ(GetDateOrder(""), doDMY);
  EXPECT_EQ(GetDateOrder("-/-"), doDMY);
  EXPECT_EQ(GetDateOrder("MMMM d"), doMDY);
  EXPECT_EQ(GetDateOrder("ee/mm"), doYMD);
  struct Case { int year, pivot, result; } cases[] = {{49, 50, 2049}, {50, 50, 1950}, {100, 50, 2000},
                                                      {1987, 50, 1987}, {5, 100, 1905}, {30, 1960, 2030}};
  for (const Case& c : cases) EXPECT_EQ(MakeYear4Digit(c.year, c.pivot), c.result) << c.year << "/" << c.pivot;
  try {
    MakeYear4Digit(1, -1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "VxCoreUtils.MakeYear4Digit: Pivot < 0");
  }
}

TEST(VxCoreUtilsDates, StrToDateFmtByMaskThenFreeScan) {
  TFormatSettingsScope scope(DayMonthYear());
  const int year = CurrentYear();
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "05/03/2001"), 2001, 3, 5);
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "5/3/01"), 2001, 3, 5);
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "5/3"), year, 3, 5);
  ExpectParts(StrToDateFmt("MM/DD/YYYY", "12/31/1999"), 1999, 12, 31);
  ExpectParts(StrToDateFmt("YYYY/MM/DD", "2001/02/03"), 2001, 2, 3);
  ExpectParts(StrToDateFmt("DD MMM YYYY", "05 Mar 2001"), 2001, 3, 5);
  EXPECT_EQ(StrToDateFmt("DD/MM/YYYY", ""), NullDate);
  const char* bad[] = {"5/3/2001x", "5/3/20011", "31/02/2001", "x", "5//3"};
  for (const char* text : bad) {
    try {
      StrToDateFmt("DD/MM/YYYY", text);
      ADD_FAILURE() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid date");
    }
  }
  EXPECT_EQ(VxCoreUtils::StrToDateDef("31/02/2001", D(2000, 1, 1) + 0.5), D(2000, 1, 1));
  EXPECT_EQ(StrToDateFmtDef("DD/MM/YYYY", "05/03/2001", 0), D(2001, 3, 5));
}

TEST(VxCoreUtilsDates, CenturyOffsetWindow) {
  TFormatSettingsScope scope(DayMonthYear());
  const int year = CurrentYear();
  const uint8_t saved = CenturyOffset;
  CenturyOffset = 0;
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "1/1/5"), year / 100 * 100 + 5, 1, 1);
  CenturyOffset = 60;
  // The window starts 60 years ago: 64 to 99 fall in the last century in 2024 to 2063.
  const int start = year - 60;
  const int expanded = start / 100 * 100 + 99;
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "1/1/99"), expanded < start ? expanded + 100 : expanded, 1, 1);
  ExpectParts(StrToDateFmt("DD/MM/YYYY", "1/1/1"), start / 100 * 100 + 1 < start ? start / 100 * 100 + 101 : start / 100 * 100 + 1, 1, 1);
  CenturyOffset = saved;
}

TEST(VxCoreUtilsDates, FormatsAndMasks) {
  TFormatSettingsScope scope(DayMonthYear());
  EXPECT_EQ(DefDateMask('_', true), "!99/99/9999;1;_");
  EXPECT_EQ(DefDateMask('_', false), "!99/99/99;1;_");
  EXPECT_EQ(DefDateFormat(true), "DD/MM/YYYY");
  EXPECT_EQ(DefDateFormat(false), "DD/MM/YY");
  EXPECT_TRUE(IsFourDigitYear());
  FormatSettings().ShortDateFormat = "yy.mm.dd";
  EXPECT_EQ(DefDateMask(' ', true), "!9999/99/99;1; ");
  EXPECT_FALSE(FourDigitYear());
  EXPECT_EQ(FormatLongDate(D(2001, 3, 5)), "Monday, March 5, 2001");
  EXPECT_EQ(FormatLongDateTime(NullDate), "");
  EXPECT_EQ(FormatLongDateTime(D(2001, 3, 5) + 0.5), "Monday, March 5, 2001 12:00:00 PM");
}

TEST(VxCoreUtilsDates, MonthNamesAndTolerantChecks) {
  TFormatSettingsScope scope(DayMonthYear());
  EXPECT_EQ(MonthFromName("mar", 3), 3);
  EXPECT_EQ(MonthFromName("Ju", 2), 6);
  EXPECT_EQ(MonthFromName("", 3), 0);
  EXPECT_EQ(MonthFromName("xyz", 3), 0);
  EXPECT_EQ(PreformatDateString("1  January   2001"), "1 1  2001");
  EXPECT_EQ(PreformatDateString("5 feb 2001"), "5 2 2001");
  EXPECT_FALSE(StrIsDateTime("01.02.2003"));
  EXPECT_FALSE(StrIsDateTime("12:30"));
  EXPECT_TRUE(StrIsDateTime("05/03/2001 12:30"));
  EXPECT_TRUE(StrIsDateTime("5/March/2001"));
  EXPECT_FALSE(StrIsDateTime("5 March 2001"));  // the framework reads "5 3 2001" as no date
  EXPECT_DOUBLE_EQ(SafeStrToDate("5/mar/2001"), D(2001, 3, 5));
  EXPECT_EQ(SafeStrToDateTime("nonsense"), 0.0);
  EXPECT_NEAR(SafeStrToTime("12:30"), 12.5 / 24, 1e-9);
  EXPECT_EQ(SafeStrToTime("99:99"), 0.0);
}

TEST(VxCoreUtilsDates, LastDateRussianWording) {
  const TDateTime today = Date();
  struct Case { TDateTime date; const char* text; } cases[] = {
      {today, "сегодня"},
      {today - 1, "вчера"},
      {today - 2, "позавчера"},
      {today - 3, "3 дня назад"},
      {today - 5, "5 дней назад"},
      {today - 10, "неделю назад"},
      {today - 15, "2 недели назад"},
      {today - 16, "1 месяц назад"},
      {today - 45, "2 месяца назад"},
      {today - 75, "2 месяца назад"},
      {today - 150, "5 месяцев назад"},
      {today - 400, "1 год назад"},
      {today - 365 * 3, "3 года назад"},
      {today - 365 * 21, "21 год назад"},
      {today + 0.5, "в будущем"},
      {today + 3, "в будущем"},
      // Mended: by calendar day, and eleven to fourteen take the many-form.
      {today - 0.5, "вчера"},
      {today - 1.5, "позавчера"},
      {today - 2.75, "3 дня назад"},
      {today - 365 * 11, "11 лет назад"},
      {today - 365 * 12, "12 лет назад"},
      {today - 365 * 14, "14 лет назад"},
      {today - 365 * 112, "112 лет назад"},
  };
  for (const Case& c : cases) EXPECT_EQ(LastDateRUS(c.date), c.text) << today - c.date;
}

}  // namespace
