#pragma once
// Dates and times. A TDateTime is the number of days since 1899-12-30 00:00; its
// fraction is the time of day. Negative values count days before 1899-12-30 with the
// time still added forwards (-1.25 is 1899-12-29 06:00). Years run from 1 to 9999.
// Text conversions read FormatSettings() at each call.
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;
constexpr int DateDelta = 693594;  // days from 0001-01-01 to 1899-12-31

bool IsLeapYear(int year);
// Days of the month (1..12) in the year; 0 for an invalid month.
int DaysInAMonth(int year, int month);
// Days of each month, [leap][month - 1].
extern const int MonthDays[2][12];

// EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec);
// 1 = Sunday … 7 = Saturday.
int DayOfWeek(TDateTime date);

int YearOf(TDateTime value);
int MonthOf(TDateTime value);
int DayOf(TDateTime value);
TDateTime DateOf(TDateTime value);  // the date with time 00:00
TDateTime TimeOf(TDateTime value);  // the time of day alone

// The local clock.
TDateTime Date();
TDateTime Time();
TDateTime Now();

// Calendar arithmetic; the time of day is kept. A day past the end of the target
// month becomes its last day (31 January + 1 month = 28/29 February).
TDateTime IncMonth(TDateTime date, int months = 1);
TDateTime IncYear(TDateTime value, int years = 1);
TDateTime IncWeek(TDateTime value, int weeks = 1);
TDateTime IncDay(TDateTime value, int days = 1);
TDateTime IncHour(TDateTime value, std::int64_t hours = 1);
TDateTime IncMinute(TDateTime value, std::int64_t minutes = 1);
TDateTime IncSecond(TDateTime value, std::int64_t seconds = 1);
TDateTime IncMilliSecond(TDateTime value, std::int64_t msecs = 1);

// Numeric dates in the order of ShortDateFormat (day, month, year by its first letter)
// separated by DateSeparator; a missing year is the current one; one- and two-digit
// years are placed within TwoDigitYearCenturyWindow years of the current year, longer
// years are taken as written. Blanks around the text are allowed.
// EConvertError "'<text>' is not a valid date".
TDateTime StrToDate(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& value);
TDateTime StrToDateDef(const std::string& s, TDateTime defaultValue);
// h[:n[:s[.zzz]]] with TimeSeparator and an optional AM/PM marker.
// EConvertError "'<text>' is not a valid time".
TDateTime StrToTime(const std::string& s);
bool TryStrToTime(const std::string& s, TDateTime& value);
// A date, optionally followed by blanks and a time.
// EConvertError "'<text>' is not a valid date and time".
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDateTime(const std::string& s, TDateTime& value);

std::string DateToStr(TDateTime date);          // ShortDateFormat
std::string TimeToStr(TDateTime time);          // LongTimeFormat
std::string DateTimeToStr(TDateTime value);     // "c": date, and the time when not 00:00

// Format letters (case-insensitive): c, d, dd, ddd, dddd, ddddd (short date), dddddd
// (long date), m, mm, mmm, mmmm (minutes when following an hour), yy, yyyy, h, hh, n,
// nn, s, ss, z, zzz, t (short time), tt (long time), am/pm, a/p, ampm (12-hour clock),
// '/' the date separator, ':' the time separator, text in '...' or "..." as is.
// A value outside the calendar raises EConvertError "'<value>' is not a valid date and time".
std::string FormatDateTime(const std::string& format, TDateTime value);
