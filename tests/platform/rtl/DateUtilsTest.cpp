#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "platform/rtl/DateUtils.h"

namespace {

TFormatSettings Russian() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ' ';
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd/mm/yyyy";
  fs.LongDateFormat = "d mmmm yyyy";
  fs.ShortTimeFormat = "h:nn";
  fs.LongTimeFormat = "h:nn:ss";
  fs.LongMonthNames[0] = "Январь";
  fs.ShortDayNames[1] = "Пн";
  return fs;
}

TFormatSettings English() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.ShortDateFormat = "M/d/yyyy";
  return fs;
}

class DateUtilsTest : public ::testing::Test {
protected:
  TFormatSettingsScope scope{English()};
};

template <class F>
std::string ConvertErrorOf(F f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "<no exception>";
}

TEST_F(DateUtilsTest, EncodeDateKnownDays) {
  struct Case { int y, m, d; double days; } cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1}, {1899, 12, 29, -1}, {1900, 1, 1, 2},
      {1900, 3, 1, 61}, {2000, 2, 29, 36585}, {2024, 1, 1, 45292}, {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(c.days, y, m, d);
    EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{c.y, c.m, c.d})) << c.days;
  }
}

TEST_F(DateUtilsTest, DecodeRoundTripsEveryDayOfFourCenturies) {
  TDateTime start = EncodeDate(1800, 1, 1);
  int py = 1799, pm = 12, pd = 31;
  for (int k = 0; k < 146097; ++k) {
    int y, m, d;
    DecodeDate(start + k, y, m, d);
    bool next = (y == py && m == pm && d == pd + 1) || (y == py && m == pm + 1 && d == 1 && pd == DaysInAMonth(py, pm)) ||
                (y == py + 1 && m == 1 && d == 1 && pm == 12 && pd == 31);
    ASSERT_TRUE(next) << y << "-" << m << "-" << d;
    py = y; pm = m; pd = d;
  }
  EXPECT_EQ(py, 2199);
}

TEST_F(DateUtilsTest, InvalidDatesAndTimesRaise) {
  struct Case { int y, m, d; } dates[] = {{2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                                          {0, 1, 1}, {10000, 1, 1}, {2024, 1, 0}, {1900, 2, 29}};
  for (const Case& c : dates) {
    TDateTime v = -7;
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, v));
    EXPECT_EQ(v, -7);
    EXPECT_EQ(ConvertErrorOf([&] { EncodeDate(c.y, c.m, c.d); }), "Invalid argument to date encode");
  }
  EXPECT_EQ(ConvertErrorOf([] { EncodeTime(24, 0, 0, 0); }), "Invalid argument to time encode");
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
}

TEST_F(DateUtilsTest, TimeRoundTripAndRounding) {
  TDateTime t = EncodeTime(13, 45, 30, 250);
  int h, n, s, z;
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ((std::array<int, 4>{h, n, s, z}), (std::array<int, 4>{13, 45, 30, 250}));
  // A time a hair below midnight rounds to the next day's 00:00, not to 24:00.
  TDateTime almost = EncodeDate(2024, 1, 31) + 0.99999999999;
  DecodeTime(almost, h, n, s, z);
  EXPECT_EQ((std::array<int, 4>{h, n, s, z}), (std::array<int, 4>{0, 0, 0, 0}));
  int y, m, d;
  DecodeDate(almost, y, m, d);
  EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{2024, 2, 1}));
  // Negative date-times: the time runs forwards from the date.
  DecodeDateTime(-1.25, y, m, d, h, n, s, z);
  EXPECT_EQ((std::array<int, 4>{y, m, d, h}), (std::array<int, 4>{1899, 12, 29, 6}));
}

TEST_F(DateUtilsTest, CalendarHelpers) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
  EXPECT_EQ(DayOfWeek(0), 7);                          // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);     // Monday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7) + 0.9), 1);  // Sunday
}

TEST_F(DateUtilsTest, IncrementsKeepTimeAndClampDays) {
  TDateTime t = EncodeTime(10, 30, 0, 0);
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31) + t), EncodeDate(2024, 2, 29) + t);
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 11, 15), 3), EncodeDate(2025, 2, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));
  EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29)), EncodeDate(2025, 2, 28));
  EXPECT_EQ(IncDay(EncodeDate(2024, 2, 28), 2), EncodeDate(2024, 3, 1));
  EXPECT_EQ(IncWeek(EncodeDate(2024, 1, 1)), EncodeDate(2024, 1, 8));
  EXPECT_EQ(IncHour(EncodeDate(2024, 1, 1) + EncodeTime(23, 0, 0, 0), 2),
            EncodeDate(2024, 1, 2) + EncodeTime(1, 0, 0, 0));
  EXPECT_EQ(IncMinute(EncodeDate(2024, 1, 1), -1), EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 0, 0));
  // Across day zero, where negative values carry their time forwards.
  EXPECT_DOUBLE_EQ(IncHour(0.25, -12), -1.75);
  EXPECT_DOUBLE_EQ(IncDay(-1.25, 1), 0.25);
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
}

TEST_F(DateUtilsTest, ClockIsPlausible) {
  TDateTime now = Now();
  EXPECT_GE(YearOf(now), 2024);
  EXPECT_EQ(Date(), std::floor(Date()));
  EXPECT_LT(Time(), 1.0);
  EXPECT_NEAR(now, Date() + Time(), 1.0);
}

TEST_F(DateUtilsTest, StrToDateFollowsShortDateOrder) {
  TFormatSettingsScope ru(Russian());
  EXPECT_EQ(StrToDate("31.12.1999"), EncodeDate(1999, 12, 31));
  EXPECT_EQ(StrToDate(" 1.2.2024 "), EncodeDate(2024, 2, 1));
  EXPECT_EQ(StrToDate("01.02.0024"), EncodeDate(24, 2, 1));  // four digits: as written
  EXPECT_EQ(StrToDate("1.2"), EncodeDate(YearOf(Date()), 2, 1));
  TFormatSettings iso = Russian();
  iso.ShortDateFormat = "yyyy/mm/dd";
  iso.DateSeparator = '-';
  TFormatSettingsScope isoScope(iso);
  EXPECT_EQ(StrToDate("2024-02-01"), EncodeDate(2024, 2, 1));
}

TEST_F(DateUtilsTest, TwoDigitYearsUseTheCenturyWindow) {
  const int current = YearOf(Date());
  auto expected = [current](int yy) {
    int base = current - 50;
    int y = base / 100 * 100 + yy;
    return y < base ? y + 100 : y;
  };
  for (int yy : {0, 5, 25, 49, 76, 99}) {
    char text[32];
    std::snprintf(text, sizeof text, "1/2/%02d", yy);
    EXPECT_EQ(StrToDate(text), EncodeDate(expected(yy), 1, 2)) << text;
  }
  EXPECT_EQ(StrToDate("1/2/2024"), EncodeDate(2024, 1, 2));
  EXPECT_EQ(StrToDate("1/2/999"), EncodeDate(999, 1, 2));
}

TEST_F(DateUtilsTest, StrToDateErrors) {
  for (const char* text : {"", "1", "1/", "2/30/2024", "13/1/2024", "1/1/2024x", "a/b/c", "1.1.2024",
                           "1/1/12345", "1/1/2024 10:00"}) {
    TDateTime v = -5;
    EXPECT_FALSE(TryStrToDate(text, v)) << text;
    EXPECT_EQ(v, -5);
  }
  EXPECT_EQ(ConvertErrorOf([] { StrToDate("2/30/2024"); }), "'2/30/2024' is not a valid date");
  EXPECT_EQ(StrToDateDef("junk", 3.0), 3.0);
}

TEST_F(DateUtilsTest, StrToTimeForms) {
  struct Case { const char* text; int h, n, s, z; } cases[] = {
      {"10:30", 10, 30, 0, 0}, {"0:00:01", 0, 0, 1, 0}, {"23:59:59.5", 23, 59, 59, 500},
      {"12:00:00.123", 12, 0, 0, 123}, {"7", 7, 0, 0, 0}, {"12:15 AM", 0, 15, 0, 0},
      {"12:15 pm", 12, 15, 0, 0}, {"1:05 PM", 13, 5, 0, 0}, {" 9:05:07 ", 9, 5, 7, 0},
  };
  for (const Case& c : cases) {
    TDateTime t = 0;
    ASSERT_TRUE(TryStrToTime(c.text, t)) << c.text;
    int h, n, s, z;
    DecodeTime(t, h, n, s, z);
    EXPECT_EQ((std::array<int, 4>{h, n, s, z}), (std::array<int, 4>{c.h, c.n, c.s, c.z})) << c.text;
  }
  for (const char* text : {"", "24:00", "10:60", "10:", "13:00 PM", "0:10 AM", "10:30:00.", "abc", "10-30"}) {
    TDateTime v = -5;
    EXPECT_FALSE(TryStrToTime(text, v)) << text;
  }
  EXPECT_EQ(ConvertErrorOf([] { StrToTime("25:00"); }), "'25:00' is not a valid time");
}

TEST_F(DateUtilsTest, StrToDateTime) {
  EXPECT_EQ(StrToDateTime("1/2/2024 10:30"), EncodeDate(2024, 1, 2) + EncodeTime(10, 30, 0, 0));
  EXPECT_EQ(StrToDateTime("1/2/2024"), EncodeDate(2024, 1, 2));
  EXPECT_EQ(StrToDateTime("10:30"), EncodeTime(10, 30, 0, 0));
  EXPECT_EQ(ConvertErrorOf([] { StrToDateTime("1/2/2024 x"); }),
            "'1/2/2024 x' is not a valid date and time");
}

TEST_F(DateUtilsTest, FormatDateTimeLetters) {
  TFormatSettingsScope ru(Russian());
  TDateTime v = EncodeDate(2024, 1, 8) + EncodeTime(14, 5, 9, 7);
  struct Case { const char* format; const char* text; } cases[] = {
      {"d.m.yy", "8.1.24"},
      {"dd/mm/yyyy", "08.01.2024"},
      {"ddd dddd", "Пн Monday"},
      {"mmm mmmm", "Jan Январь"},
      {"h:n:s.z", "14:5:9.7"},
      {"hh:nn:ss.zzz", "14:05:09.007"},
      {"hh:mm", "14:05"},              // m after an hour is the minute
      {"h:mm am/pm", "2:05 pm"},
      {"h:mm AM/PM", "2:05 PM"},
      {"h a/p", "2 p"},
      {"h ampm", "2 PM"},
      {"ddddd", "08.01.2024"},
      {"dddddd", "8 Январь 2024"},
      {"t", "14:05"},
      {"tt", "14:05:09"},
      {"c", "08.01.2024 14:05:09"},
      {"'Дата:' dd \"mm\"", "Дата: 08 mm"},
      {"yyyy-mm-dd", "2024-01-08"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, v), c.text) << c.format;
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(0, 30, 0, 0)), "12:30 am");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(12, 30, 0, 0)), "12:30 pm");
}

TEST_F(DateUtilsTest, DateAndTimeToStrRoundTrip) {
  TFormatSettingsScope ru(Russian());
  TDateTime d = EncodeDate(2024, 3, 5);
  EXPECT_EQ(DateToStr(d), "05.03.2024");
  EXPECT_EQ(StrToDate(DateToStr(d)), d);
  EXPECT_EQ(TimeToStr(EncodeTime(9, 5, 0, 0)), "9:05:00");
  EXPECT_EQ(DateTimeToStr(d), "05.03.2024");  // no time shown at midnight
  EXPECT_EQ(DateTimeToStr(d + EncodeTime(9, 5, 0, 0)), "05.03.2024 9:05:00");
  EXPECT_EQ(StrToDateTime(DateTimeToStr(d + EncodeTime(9, 5, 0, 0))), d + EncodeTime(9, 5, 0, 0));
}

TEST_F(DateUtilsTest, ValuesOutsideTheCalendarAreNotShown) {
  EXPECT_EQ(DateToStr(EncodeDate(1, 1, 1)), "1/1/0001");
  EXPECT_EQ(ConvertErrorOf([] { DateToStr(-700000); }), "'-700000' is not a valid date and time");
  EXPECT_THROW(DateTimeToStr(1e300), EConvertError);
  EXPECT_THROW(DateTimeToStr(std::nan("")), EConvertError);
  int y, m, d;
  DecodeDate(1e300, y, m, d);
  EXPECT_EQ((std::array<int, 3>{y, m, d}), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(DateUtilsTest, SelfReferringSettingsDoNotRecurseForever) {
  TFormatSettings fs = English();
  fs.ShortDateFormat = "c";
  fs.LongTimeFormat = "tt";
  TFormatSettingsScope scope2(fs);
  EXPECT_NO_THROW(FormatDateTime("c", EncodeDate(2024, 1, 1) + 0.5));
}

} // namespace
