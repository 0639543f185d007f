#include "platform/rtl/DateUtils.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/rtl/SysUtils.h"

namespace {

constexpr int D1 = 365;
constexpr int D4 = D1 * 4 + 1;
constexpr int D100 = D4 * 25 - 1;
constexpr int D400 = D100 * 4 + 1;

[[noreturn]] void RaiseDateEncode() { throw EConvertError("Invalid argument to date encode"); }
[[noreturn]] void RaiseTimeEncode() { throw EConvertError("Invalid argument to time encode"); }

// Days since 0001-01-01 (that day being 1) and milliseconds of the day. The time is
// rounded to the millisecond; a time that rounds up to 24:00 moves to the next day.
struct TTimeStamp {
  long long Date;
  int Time;
};

TTimeStamp ToTimeStamp(TDateTime value) {
  if (!std::isfinite(value) || std::fabs(value) > 1e7) return {0, 0};  // outside the calendar
  double whole = std::trunc(value);
  double frac = std::fabs(value - whole);
  auto ms = static_cast<long long>(std::llround(frac * MSecsPerDay));
  TTimeStamp ts{static_cast<long long>(whole) + DateDelta, static_cast<int>(ms)};
  if (ts.Time >= MSecsPerDay) {
    ts.Time -= MSecsPerDay;
    ++ts.Date;
  }
  return ts;
}

// A date-time as a point on a straight time line (negative dates carry their time of
// day forwards, so they do not run linearly) and back.
double ToLinear(TDateTime value) {
  double whole = std::trunc(value);
  return value >= 0 ? value : whole + (whole - value);
}

TDateTime FromLinear(double x) {
  double day = std::floor(x);
  double t = x - day;
  return day >= 0 ? day + t : day - t;
}

TDateTime CombineDateTime(TDateTime date, TDateTime time) {
  double t = std::fabs(time - std::trunc(time));
  return date >= 0 ? date + t : date - t;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int CurrentYear() {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
}

} // namespace

const int MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                              {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  const int* days = MonthDays[IsLeapYear(year) ? 1 : 0];
  if (day < 1 || day > days[month - 1]) return false;
  for (int i = 0; i < month - 1; ++i) day += days[i];
  long long y = year - 1;
  date = static_cast<double>(y * 365 + y / 4 - y / 100 + y / 400 + day - DateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) RaiseDateEncode();
  return d;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  long long t = ToTimeStamp(date).Date;
  if (t <= 0 || t > 3652059) {  // outside 0001-01-01 .. 9999-12-31
    year = month = day = 0;
    return;
  }
  --t;
  long long y = 1;
  y += (t / D400) * 400;
  t %= D400;
  long long i = t / D100, d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  y += i * 100;
  y += (d / D4) * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  y += i;
  year = static_cast<int>(y);
  const int* days = MonthDays[IsLeapYear(year) ? 1 : 0];
  int m = 0;
  while (d >= days[m]) {
    d -= days[m];
    ++m;
  }
  month = m + 1;
  day = static_cast<int>(d) + 1;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 ||
      msec >= 1000)
    return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) RaiseTimeEncode();
  return t;
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
  int ms = ToTimeStamp(time).Time;
  hour = ms / 3600000;
  ms %= 3600000;
  min = ms / 60000;
  ms %= 60000;
  sec = ms / 1000;
  msec = ms % 1000;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
  return CombineDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

int DayOfWeek(TDateTime date) {
  long long d = ToTimeStamp(date).Date;
  long long r = d % 7;
  if (r < 0) r += 7;
  return static_cast<int>(r) + 1;
}

int YearOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return y;
}

int MonthOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return m;
}

int DayOf(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return d;
}

TDateTime DateOf(TDateTime value) {
  return static_cast<double>(ToTimeStamp(value).Date - DateDelta);
}

TDateTime TimeOf(TDateTime value) {
  return ToTimeStamp(value).Time / static_cast<double>(MSecsPerDay);
}

namespace {
TDateTime LocalNow(bool withDate, bool withTime) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  time_t secs = ts.tv_sec;
  localtime_r(&secs, &tm);
  TDateTime d = withDate ? EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) : 0;
  TDateTime t = withTime ? EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec,
                                      static_cast<int>(ts.tv_nsec / 1000000))
                         : 0;
  return d + t;
}
} // namespace

TDateTime Date() { return LocalNow(true, false); }
TDateTime Time() { return LocalNow(false, true); }
TDateTime Now() { return LocalNow(true, true); }

TDateTime IncMonth(TDateTime date, int months) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  long long total = static_cast<long long>(y) * 12 + (m - 1) + months;
  long long ny = total / 12;
  int nm = static_cast<int>(total % 12) + 1;
  if (ny < 1 || ny > 9999) RaiseDateEncode();
  int maxDay = DaysInAMonth(static_cast<int>(ny), nm);
  if (d > maxDay) d = maxDay;
  return CombineDateTime(EncodeDate(static_cast<int>(ny), nm, d), date);
}

TDateTime IncYear(TDateTime value, int years) { return IncMonth(value, years * 12); }
TDateTime IncWeek(TDateTime value, int weeks) { return IncDay(value, weeks * 7); }

TDateTime IncDay(TDateTime value, int days) { return FromLinear(ToLinear(value) + days); }

TDateTime IncMilliSecond(TDateTime value, std::int64_t msecs) {
  double lin = ToLinear(value);
  double day = std::floor(lin);
  // Whole days and milliseconds separately, so the time of day stays exact.
  long long ms = std::llround((lin - day) * MSecsPerDay) + msecs;
  long long carry = ms >= 0 ? ms / MSecsPerDay : -((-ms + MSecsPerDay - 1) / MSecsPerDay);
  ms -= carry * MSecsPerDay;
  return FromLinear(day + static_cast<double>(carry) + static_cast<double>(ms) / MSecsPerDay);
}

TDateTime IncHour(TDateTime value, std::int64_t hours) { return IncMilliSecond(value, hours * 3600000); }
TDateTime IncMinute(TDateTime value, std::int64_t minutes) { return IncMilliSecond(value, minutes * 60000); }
TDateTime IncSecond(TDateTime value, std::int64_t seconds) { return IncMilliSecond(value, seconds * 1000); }

// ===================================================================================
// Text to date and time

namespace {

struct TScanner {
  const std::string& S;
  std::size_t Pos = 0;

  void SkipBlanks() {
    while (Pos < S.size() && IsBlank(S[Pos])) ++Pos;
  }
  bool AtEnd() {
    SkipBlanks();
    return Pos >= S.size();
  }
  bool Char(char c) {
    SkipBlanks();
    if (Pos < S.size() && S[Pos] == c) {
      ++Pos;
      return true;
    }
    return false;
  }
  // Up to `maxDigits` digits; `length` receives how many were read.
  bool Number(int& value, int& length, int maxDigits = 4) {
    SkipBlanks();
    value = 0;
    length = 0;
    while (Pos < S.size() && IsDigit(S[Pos])) {
      if (length == maxDigits) return false;
      value = value * 10 + (S[Pos] - '0');
      ++length;
      ++Pos;
    }
    return length > 0;
  }
  // A case-insensitive word at the current position.
  bool Word(const std::string& w) {
    SkipBlanks();
    if (w.empty() || Pos + w.size() > S.size()) return false;
    if (FoldCase(S.substr(Pos, w.size())) != FoldCase(w)) return false;
    Pos += w.size();
    return true;
  }
};

enum TDateOrder { doMDY, doDMY, doYMD };

TDateOrder DateOrder(const std::string& shortDateFormat) {
  char quote = 0;
  for (char c : shortDateFormat) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') quote = c;
    else if (c == 'd' || c == 'D') return doDMY;
    else if (c == 'm' || c == 'M') return doMDY;
    else if (c == 'y' || c == 'Y') return doYMD;
  }
  return doMDY;
}

bool ScanDate(TScanner& sc, TDateTime& date, const TFormatSettings& fs) {
  int n1, n2, n3, l1, l2, l3 = 0;
  if (!sc.Number(n1, l1) || !sc.Char(fs.DateSeparator) || !sc.Number(n2, l2)) return false;
  int y, m, d, yLen;
  TDateOrder order = DateOrder(fs.ShortDateFormat);
  if (sc.Char(fs.DateSeparator)) {
    if (!sc.Number(n3, l3)) return false;
    switch (order) {
    case doMDY: y = n3; yLen = l3; m = n1; d = n2; break;
    case doDMY: y = n3; yLen = l3; m = n2; d = n1; break;
    default: y = n1; yLen = l1; m = n2; d = n3; break;
    }
  } else {
    y = CurrentYear();
    yLen = 4;
    if (order == doDMY) { d = n1; m = n2; }
    else { m = n1; d = n2; }
  }
  if (yLen <= 2) {
    // One- and two-digit years fall within the century window around this year.
    int base = CurrentYear() - fs.TwoDigitYearCenturyWindow;
    y += base / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
  }
  return TryEncodeDate(y, m, d, date);
}

bool ScanAmPm(TScanner& sc, int& baseHour, const TFormatSettings& fs) {
  baseHour = -1;
  if (sc.Word(fs.TimeAMString) || sc.Word("AM")) baseHour = 0;
  else if (sc.Word(fs.TimePMString) || sc.Word("PM")) baseHour = 12;
  else if (sc.Word("A")) baseHour = 0;
  else if (sc.Word("P")) baseHour = 12;
  return baseHour >= 0;
}

bool ScanTime(TScanner& sc, TDateTime& time, const TFormatSettings& fs) {
  int baseHour = -1;
  ScanAmPm(sc, baseHour, fs);
  int hour, min = 0, sec = 0, msec = 0, len;
  if (!sc.Number(hour, len, 2)) return false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(min, len, 2)) return false;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(sec, len, 2)) return false;
      if (sc.Pos < sc.S.size() && sc.S[sc.Pos] == fs.DecimalSeparator) {
        ++sc.Pos;
        // The fraction of a second: ".5" is 500 ms; digits past the third are dropped.
        int digits = 0;
        while (sc.Pos < sc.S.size() && IsDigit(sc.S[sc.Pos])) {
          if (digits < 3) msec = msec * 10 + (sc.S[sc.Pos] - '0');
          ++digits;
          ++sc.Pos;
        }
        if (digits == 0) return false;
        for (int k = digits; k < 3; ++k) msec *= 10;
      }
    }
  }
  if (baseHour < 0) ScanAmPm(sc, baseHour, fs);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    if (hour == 12) hour = 0;
    hour += baseHour;
  }
  return TryEncodeTime(hour, min, sec, msec, time);
}

} // namespace

bool TryStrToDate(const std::string& s, TDateTime& value) {
  TScanner sc{s};
  TDateTime d;
  if (!ScanDate(sc, d, FormatSettings()) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

TDateTime StrToDate(const std::string& s) {
  TDateTime d;
  if (!TryStrToDate(s, d)) throw EConvertError("'" + s + "' is not a valid date");
  return d;
}

TDateTime StrToDateDef(const std::string& s, TDateTime defaultValue) {
  TDateTime d;
  return TryStrToDate(s, d) ? d : defaultValue;
}

bool TryStrToTime(const std::string& s, TDateTime& value) {
  TScanner sc{s};
  TDateTime t;
  if (!ScanTime(sc, t, FormatSettings()) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

TDateTime StrToTime(const std::string& s) {
  TDateTime t;
  if (!TryStrToTime(s, t)) throw EConvertError("'" + s + "' is not a valid time");
  return t;
}

bool TryStrToDateTime(const std::string& s, TDateTime& value) {
  const TFormatSettings& fs = FormatSettings();
  TScanner sc{s};
  TDateTime d, t = 0;
  if (ScanDate(sc, d, fs)) {
    if (sc.AtEnd() || (ScanTime(sc, t, fs) && sc.AtEnd())) {
      value = CombineDateTime(d, t);
      return true;
    }
  }
  return TryStrToTime(s, value);  // a time alone
}

TDateTime StrToDateTime(const std::string& s) {
  TDateTime v;
  if (!TryStrToDateTime(s, v)) throw EConvertError("'" + s + "' is not a valid date and time");
  return v;
}

// ===================================================================================
// Date and time to text

namespace {

void AppendNumber(std::string& out, int value, int minDigits) {
  std::string d = std::to_string(value);
  if (static_cast<int>(d.size()) < minDigits) out.append(static_cast<std::size_t>(minDigits) - d.size(), '0');
  out += d;
}

bool StartsWithNoCase(const std::string& f, std::size_t i, const char* w) {
  for (std::size_t k = 0; w[k] != '\0'; ++k) {
    if (i + k >= f.size()) return false;
    char a = f[i + k];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (a != w[k]) return false;
  }
  return true;
}

// Whether an am/pm marker follows position i (outside quotes): the hour is then
// shown on the 12-hour clock.
bool Has12HourMarker(const std::string& f, std::size_t i) {
  char quote = 0;
  for (; i < f.size(); ++i) {
    char c = f[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
               StartsWithNoCase(f, i, "ampm")) {
      return true;
    }
  }
  return false;
}

struct TDateParts {
  int Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
  bool HasTime;
};

void AppendFormatted(std::string& out, const std::string& f, const TDateParts& p,
                     const TFormatSettings& fs, int depth) {
  if (depth > 2) return;  // a settings format that refers to itself
  char prevToken = 0;
  bool use12 = false;
  bool use12Known = false;
  std::size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    auto count = [&]() {
      std::size_t j = i;
      while (j < f.size() && (f[j] == c || f[j] == static_cast<char>(u) ||
                              f[j] == static_cast<char>(u + 32)))
        ++j;
      return static_cast<int>(j - i);
    };
    switch (u) {
    case '\'':
    case '"': {
      std::size_t j = i + 1;
      while (j < f.size() && f[j] != c) out += f[j++];
      i = j < f.size() ? j + 1 : j;
      continue;
    }
    case '/': out += fs.DateSeparator; ++i; continue;
    case ':': out += fs.TimeSeparator; ++i; continue;
    case 'C': {
      int n = count();
      AppendFormatted(out, fs.ShortDateFormat, p, fs, depth + 1);
      if (p.HasTime) {
        out += ' ';
        AppendFormatted(out, fs.LongTimeFormat, p, fs, depth + 1);
      }
      i += static_cast<std::size_t>(n);
      prevToken = 'C';
      continue;
    }
    case 'D': {
      int n = count();
      if (n <= 2) AppendNumber(out, p.Day, n);
      else if (n == 3) out += fs.ShortDayNames[static_cast<std::size_t>(p.DayOfWeek - 1)];
      else if (n == 4) out += fs.LongDayNames[static_cast<std::size_t>(p.DayOfWeek - 1)];
      else if (n == 5) AppendFormatted(out, fs.ShortDateFormat, p, fs, depth + 1);
      else AppendFormatted(out, fs.LongDateFormat, p, fs, depth + 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'D';
      continue;
    }
    case 'M': {
      int n = count();
      if (n <= 2 && prevToken == 'H') AppendNumber(out, p.Min, n);
      else if (n <= 2) AppendNumber(out, p.Month, n);
      else if (n == 3) out += fs.ShortMonthNames[static_cast<std::size_t>(p.Month - 1)];
      else out += fs.LongMonthNames[static_cast<std::size_t>(p.Month - 1)];
      i += static_cast<std::size_t>(n);
      prevToken = 'M';
      continue;
    }
    case 'Y': {
      int n = count();
      if (n <= 2) AppendNumber(out, p.Year % 100, 2);
      else AppendNumber(out, p.Year, 4);
      i += static_cast<std::size_t>(n);
      prevToken = 'Y';
      continue;
    }
    case 'H': {
      int n = count();
      if (!use12Known) {
        use12 = Has12HourMarker(f, i);
        use12Known = true;
      }
      int h = p.Hour;
      if (use12) {
        h %= 12;
        if (h == 0) h = 12;
      }
      AppendNumber(out, h, n >= 2 ? 2 : 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'H';
      continue;
    }
    case 'N': {
      int n = count();
      AppendNumber(out, p.Min, n >= 2 ? 2 : 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'N';
      continue;
    }
    case 'S': {
      int n = count();
      AppendNumber(out, p.Sec, n >= 2 ? 2 : 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'S';
      continue;
    }
    case 'Z': {
      int n = count();
      AppendNumber(out, p.MSec, n >= 3 ? 3 : 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'Z';
      continue;
    }
    case 'T': {
      int n = count();
      AppendFormatted(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
      i += static_cast<std::size_t>(n);
      prevToken = 'T';
      continue;
    }
    case 'A': {
      const bool pm = p.Hour >= 12;
      if (StartsWithNoCase(f, i, "am/pm")) {
        // The marker in the case of the format's own letters.
        bool upper = f[i] == 'A';
        out += upper ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
        i += 5;
      } else if (StartsWithNoCase(f, i, "a/p")) {
        bool upper = f[i] == 'A';
        out += upper ? (pm ? 'P' : 'A') : (pm ? 'p' : 'a');
        i += 3;
      } else if (StartsWithNoCase(f, i, "ampm")) {
        out += pm ? fs.TimePMString : fs.TimeAMString;
        i += 4;
      } else {
        out += c;
        ++i;
      }
      continue;
    }
    default:
      out += c;
      ++i;
      continue;
    }
  }
}

} // namespace

std::string FormatDateTime(const std::string& format, TDateTime value) {
  TDateParts p{};
  DecodeDate(value, p.Year, p.Month, p.Day);
  DecodeTime(value, p.Hour, p.Min, p.Sec, p.MSec);
  if (p.Month == 0) {  // outside 0001-01-01 .. 9999-12-31
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    throw EConvertError(std::string("'") + text + "' is not a valid date and time");
  }
  p.DayOfWeek = DayOfWeek(value);
  p.HasTime = p.Hour != 0 || p.Min != 0 || p.Sec != 0 || p.MSec != 0;
  std::string out;
  AppendFormatted(out, format.empty() ? std::string("c") : format, p, FormatSettings(), 0);
  return out;
}

std::string DateToStr(TDateTime date) { return FormatDateTime("ddddd", date); }
std::string TimeToStr(TDateTime time) { return FormatDateTime("tt", time); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }
