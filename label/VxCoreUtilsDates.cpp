// VxCoreUtils: dates: calendar arithmetic, null dates, reading dates by a format (by the
// positions of its fields, else by free scanning), the two-digit year rules, long date
// texts and tolerant checks of date texts.
#include <algorithm>
#include <cmath>

#include "label/VxCoreUtils.h"
#include "label/VxCoreUtilsInternal.h"
#include "platform/rtl/SysUtils.h"

namespace VxCoreUtils {

TDateTime NullDate = 0.0;
TDateTime NullEquivalentDate = 0.0;
uint8_t CenturyOffset = 60;

namespace {

constexpr int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

void Decode(TDateTime Date, int& Y, int& M, int& D) { ::DecodeDate(Date, Y, M, D); }

int CurrentMonth() {
  int y, m, d;
  Decode(::Date(), y, m, d);
  return m;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A two-digit year placed in the window that begins CenturyOffset years ago; -1 (no
// year) is this year; years of 100 and more stay.
int ExpandYear(int Year) {
  if (Year == -1) return CurrentYear();
  if (Year >= 100) return Year;
  const int start = CurrentYear() - CenturyOffset;
  Year += start / 100 * 100;
  if (CenturyOffset > 0 && Year < start) Year += 100;
  return Year;
}

bool ValidParts(int Y, int M, int D) {
  return Y >= 1 && Y <= 9999 && M >= 1 && M <= 12 && D >= 1 && D <= DaysPerMonth(Y, M);
}

// The free scan of a date text: numbers separated by the locale's date separator in the
// order of the format; nothing may be left over.
struct TFreeScan {
  const std::string& S;
  std::size_t P = 0;  // 0-based

  void SkipSpaces() {
    while (P < S.size() && S[P] == ' ') ++P;
  }
  bool Number(int& N) {
    SkipSpaces();
    N = 0;
    bool any = false;
    while (P < S.size() && IsDigit(S[P]) && N < 1000) {
      N = N * 10 + (S[P++] - '0');
      any = true;
    }
    return any;
  }
  bool Separator(char Sep) {
    SkipSpaces();
    if (P < S.size() && S[P] == Sep) {
      ++P;
      return true;
    }
    return false;
  }
};

bool FreeScan(const std::string& S, const std::string& Format, int& Y, int& M, int& D) {
  const TFormatSettings& fs = FormatSettings();
  const TDateOrder order = GetDateOrder(Format);
  TFreeScan sc{S};
  // An era mark leads the locale's format: the date starts at the first digit.
  if (!fs.ShortDateFormat.empty() && fs.ShortDateFormat[0] == 'g')
    while (sc.P < S.size() && !IsDigit(S[sc.P])) ++sc.P;
  int n1, n2, n3;
  if (!sc.Number(n1) || !sc.Separator(fs.DateSeparator) || !sc.Number(n2)) return false;
  if (sc.Separator(fs.DateSeparator)) {
    if (!sc.Number(n3)) return false;
    switch (order) {
      case doMDY: M = n1; D = n2; Y = n3; break;
      case doDMY: D = n1; M = n2; Y = n3; break;
      case doYMD: Y = n1; M = n2; D = n3; break;
    }
    Y = ExpandYear(Y);
  } else {
    Y = CurrentYear();
    if (order == doDMY) { D = n1; M = n2; }
    else { M = n1; D = n2; }
  }
  sc.Separator(fs.DateSeparator);
  sc.SkipSpaces();
  return ValidParts(Y, M, D) && sc.P >= S.size();
}

// One field of S read at the positions that Cnt letters Ch occupy in the format.
int MaskField(const std::string& S, const std::string& Format, char Ch, int Cnt, int Blank, int Default) {
  if (S.size() > Format.size()) return Default;
  const std::size_t last = std::min(Format.size(), S.size());
  const std::string format = UpperCase(Format);
  std::size_t j = format.find(std::string(static_cast<std::size_t>(Cnt), Ch));
  if (j == std::string::npos) return Default;
  std::string text;
  for (; j < last && format[j] == Ch; ++j)
    if (S[j] != ' ' && text.size() < 20) text += S[j];
  if (text.empty()) return Blank;
  if (Cnt > 1) {
    const int month = MonthFromName(text, static_cast<uint8_t>(std::min<std::size_t>(text.size(), 255)));
    return month ? month : -1;
  }
  std::size_t k = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (k == text.size()) return -1;
  for (std::size_t i = k; i < text.size(); ++i)
    if (!IsDigit(text[i])) return -1;
  int value;
  return TryStrToInt(text, value) ? value : -1;
}

bool ScanDate(const std::string& Format, const std::string& S, TDateTime& Value) {
  if (S.empty()) {
    Value = NullDate;
    return true;
  }
  int m = MaskField(S, Format, 'M', 3, -1, 0);
  if (m == 0) m = MaskField(S, Format, 'M', 1, -1, 0);
  const int d = MaskField(S, Format, 'D', 1, -1, 1);
  int y = MaskField(S, Format, 'Y', 1, -1, CurrentYear());
  if (m == -1) m = CurrentMonth();
  y = ExpandYear(y);
  int Y = y, M = m, D = d;
  if (!ValidParts(Y, M, D) && !FreeScan(S, Format, Y, M, D)) return false;
  return TryEncodeDate(Y, M, D, Value);
}

}  // namespace

// --- calendar arithmetic ----------------------------------------------------------------

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysPerMonth(int Year, int Month) {
  if (Month < 1 || Month > 12) return 0;
  return kMonthDays[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

TDateTime FirstDayOfNextMonth() {
  int y, m, d;
  Decode(::Date(), y, m, d);
  return m == 12 ? EncodeDate(y + 1, 1, 1) : EncodeDate(y, m + 1, 1);
}

TDateTime FirstDayOfPrevMonth() {
  int y, m, d;
  Decode(::Date(), y, m, d);
  return m == 1 ? EncodeDate(y - 1, 12, 1) : EncodeDate(y, m - 1, 1);
}

TDateTime LastDayOfPrevMonth() {
  int y, m, d;
  Decode(::Date(), y, m, d);
  return EncodeDate(y, m, 1) - 1;
}

uint16_t ExtractDay(TDateTime Date) {
  int y, m, d;
  Decode(Date, y, m, d);
  return static_cast<uint16_t>(d);
}

uint16_t ExtractMonth(TDateTime Date) {
  int y, m, d;
  Decode(Date, y, m, d);
  return static_cast<uint16_t>(m);
}

int ExtractYear(TDateTime Date) {
  int y, m, d;
  Decode(Date, y, m, d);
  return y;
}

uint16_t CurrentYear() { return static_cast<uint16_t>(ExtractYear(::Date())); }

TDateTime IncDate(TDateTime Date, int Days, int Months, int Years) {
  int y, m, d;
  Decode(Date, y, m, d);
  y += Years + Months / 12;
  m += Months % 12;
  if (m <= 0) {
    m += 12;
    --y;
  } else if (m > 12) {
    m -= 12;
    ++y;
  }
  d = std::min(d, DaysPerMonth(y, m));
  return EncodeDate(y, m, d) + Days + (Date - std::trunc(Date));
}

TDateTime IncDay(TDateTime Date, int Delta) { return Date + Delta; }
TDateTime IncMonth(TDateTime Date, int Delta) { return IncDate(Date, 0, Delta, 0); }
TDateTime IncYear(TDateTime Date, int Delta) { return IncDate(Date, 0, 0, Delta); }

void DateDiff(TDateTime Date1, TDateTime Date2, uint16_t& Days, uint16_t& Months, uint16_t& Years) {
  if (Date1 > Date2) std::swap(Date1, Date2);
  int y1, m1, d1, y2, m2, d2;
  Decode(Date1, y1, m1, d1);
  Decode(Date2, y2, m2, d2);
  Years = static_cast<uint16_t>(y2 - y1);
  Months = 0;
  Days = 0;
  if (m2 < m1) {
    Months = static_cast<uint16_t>(Months + 12);
    Years = static_cast<uint16_t>(Years - 1);
  }
  Months = static_cast<uint16_t>(Months + m2 - m1);
  if (d2 < d1) {
    // Borrowed from the earlier date's month.
    Days = static_cast<uint16_t>(Days + DaysPerMonth(y1, m1));
    if (Months == 0) {
      Years = static_cast<uint16_t>(Years - 1);
      Months = 11;
    } else {
      Months = static_cast<uint16_t>(Months - 1);
    }
  }
  Days = static_cast<uint16_t>(Days + d2 - d1);
}

double MonthsBetween(TDateTime Date1, TDateTime Date2) {
  uint16_t days, months, years;
  DateDiff(Date1, Date2, days, months, years);
  double fraction = 0;
  if (days >= 21) fraction = 1.0;
  else if (days >= 15) fraction = 0.75;
  else if (days >= 7) fraction = 0.5;
  else if (days >= 2) fraction = 0.25;
  return years * 12.0 + months + fraction;
}

bool ValidDate(TDateTime Date) {
  try {
    if (!std::isfinite(Date)) return false;
    int y, m, d;
    Decode(Date, y, m, d);
    return ValidParts(y, m, d);
  } catch (...) {
    return false;
  }
}

int DaysInPeriod(TDateTime Date1, TDateTime Date2) {
  if (!ValidDate(Date1) || !ValidDate(Date2)) return 0;
  return static_cast<int>(std::fabs(std::trunc(Date1) - std::trunc(Date2))) + 1;
}

int DaysBetween(TDateTime Date1, TDateTime Date2) {
  return static_cast<int>(std::trunc(std::fabs(Date1 - Date2)));
}

TDateTime IncTime(TDateTime Time, int Hours, int Minutes, int Seconds, int MSecs) {
  // The milliseconds are summed in 64 bits: a large minute or second count stays exact.
  const int64_t msecs = static_cast<int64_t>(Hours % 24) * 3600000 + static_cast<int64_t>(Minutes) * 60000 +
                        static_cast<int64_t>(Seconds) * 1000 + MSecs;
  TDateTime r = Time + Hours / 24 + static_cast<double>(msecs) / 86400000.0;
  if (r < 0) r += 1.0;
  return r;
}

TDateTime IncHour(TDateTime Time, int Delta) { return IncTime(Time, Delta, 0, 0, 0); }
TDateTime IncMinute(TDateTime Time, int Delta) { return IncTime(Time, 0, Delta, 0, 0); }
TDateTime IncSecond(TDateTime Time, int Delta) { return IncTime(Time, 0, 0, Delta, 0); }
TDateTime IncMSec(TDateTime Time, int Delta) { return IncTime(Time, 0, 0, 0, Delta); }

TDateTime CutTime(TDateTime Date) { return std::trunc(Date); }
TDateTime DateOnly(TDateTime Value) { return CutTime(Value); }
TDateTime TimeOnly(TDateTime Value) { return Value - std::trunc(Value); }

bool DateIsNull(TDateTime Value, TdtKind Kind) {
  switch (Kind) {
    case dtkDateOnly: return Value < 1.0;
    case dtkTimeOnly: return TimeOnly(Value) == NullEquivalentDate;
    default: return Value == NullEquivalentDate;
  }
}

// --- date texts -------------------------------------------------------------------------

TDateOrder GetDateOrder(const std::string& DateFormat) {
  for (char c : DateFormat) {
    switch (static_cast<char>(c & ~0x20)) {
      case 'D': return doDMY;
      case 'E': case 'Y': return doYMD;
      case 'M': return doMDY;
      default: break;
    }
  }
  return doDMY;
}

uint8_t MonthFromName(const std::string& S, uint8_t MaxLen) {
  if (S.empty()) return 0;
  const std::string head = S.substr(0, CodePointBytes(S, MaxLen));
  const TFormatSettings& fs = FormatSettings();
  for (int m = 1; m <= 12; ++m) {
    const std::string& name = fs.LongMonthNames[m - 1];
    if (!name.empty() && AnsiSameText(head, name.substr(0, CodePointBytes(name, MaxLen))))
      return static_cast<uint8_t>(m);
  }
  return 0;
}

TDateTime StrToDateFmt(const std::string& DateFormat, const std::string& S) {
  TDateTime value;
  if (!ScanDate(DateFormat, S, value)) throw EConvertError(Format("'%s' is not a valid date", S));
  return value;
}

TDateTime StrToDateDef(const std::string& S, TDateTime Default) {
  return StrToDateFmtDef(FormatSettings().ShortDateFormat, S, Default);
}

TDateTime StrToDateFmtDef(const std::string& DateFormat, const std::string& S, TDateTime Default) {
  TDateTime value;
  return ScanDate(DateFormat, S, value) ? value : std::trunc(Default);
}

std::string DefDateFormat(bool FourDigitYear) {
  switch (GetDateOrder(FormatSettings().ShortDateFormat)) {
    case doMDY: return FourDigitYear ? "MM/DD/YYYY" : "MM/DD/YY";
    case doDMY: return FourDigitYear ? "DD/MM/YYYY" : "DD/MM/YY";
    default: return FourDigitYear ? "YYYY/MM/DD" : "YY/MM/DD";
  }
}

std::string DefDateMask(char BlankChar, bool FourDigitYear) {
  std::string mask = "!99/99/99;1;";
  if (FourDigitYear)
    mask = GetDateOrder(FormatSettings().ShortDateFormat) == doYMD ? "!9999/99/99;1;" : "!99/99/9999;1;";
  return mask + BlankChar;
}

std::string FormatLongDate(TDateTime Value) {
  std::string text = FormatDateTime("dddddd", Value);
  if (text.size() > 1023) text.resize(1023);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
  return text;
}

std::string FormatLongDateTime(TDateTime Value) {
  if (Value == NullDate) return {};
  return FormatLongDate(Value) + FormatDateTime(" tt", Value);
}

bool IsFourDigitYear() { return UpperCase(FormatSettings().ShortDateFormat).find("YYYY") != std::string::npos; }
bool FourDigitYear() { return IsFourDigitYear(); }

int MakeYear4Digit(int Year, int Pivot) {
  if (Pivot < 0) throw Exception("VxCoreUtils.MakeYear4Digit: Pivot < 0");
  if (Year == 100) Year = 0;
  if (Pivot == 100) Pivot = 0;
  if (Pivot < 100) Pivot += 1900;
  if (Year >= 0 && Year <= 99) {
    Year += Pivot / 100 * 100;
    if (Year < Pivot) Year += 100;
  }
  return Year;
}

std::string PreformatDateString(const std::string& S) {
  const TFormatSettings& fs = FormatSettings();
  std::string out = S;
  for (const auto* names : {&fs.LongMonthNames, &fs.ShortMonthNames})
    for (int m = 1; m <= 12; ++m)
      if (!(*names)[m - 1].empty())
        out = StringReplace(out, (*names)[m - 1], IntToStr(m), rfReplaceAll | rfIgnoreCase);
  return StringReplace(out, "  ", " ", rfReplaceAll);
}

bool StrIsDateTime(const std::string& S) {
  const int length = CodePoints(S);
  if (length < 6 || length > 30) return false;
  int colons = 0, slashes = 0, spaces = 0, digits = 0, letters = 0;
  std::size_t pos = 0;
  while (pos < S.size()) {
    const char32_t c = Utf8Next(S, pos);
    if (c == ':') ++colons;
    else if (c == '/') ++slashes;
    else if (c == ' ') ++spaces;
    else if (c >= '0' && c <= '9') ++digits;
    else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c != 0xFFFD))
      ++letters;
    else return false;
  }
  if (colons + slashes + spaces == 0 || slashes > 2 || colons > 3 || spaces > 6) return false;
  if (digits < 3 || digits > 16 || letters > 10) return false;
  return SafeStrToDateTime(PreformatDateString(S)) != 0.0;
}

TDateTime SafeStrToDateTime(const std::string& S) {
  try {
    return StrToDateTime(PreformatDateString(S));
  } catch (const EConvertError&) {
    return 0.0;
  }
}

TDateTime SafeStrToDate(const std::string& S) {
  try {
    return StrToDate(PreformatDateString(S));
  } catch (const EConvertError&) {
    return 0.0;
  }
}

TDateTime SafeStrToTime(const std::string& S) {
  try {
    return StrToTime(S);
  } catch (const EConvertError&) {
    return 0.0;
  }
}

}  // namespace VxCoreUtils
