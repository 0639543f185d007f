#include "platform/rtl/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstring>

namespace {

const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};
const char* const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};

// A one-byte separator from a locale string; multi-byte ones (a narrow no-break space
// as thousand separator) become a blank, an empty one the fallback.
char SingleByte(const char* s, char fallback) {
  if (s == nullptr || *s == '\0') return fallback;
  unsigned char c = static_cast<unsigned char>(*s);
  if (c < 0x80 && s[1] == '\0') return static_cast<char>(c);
  return ' ';
}

// Expands the composite strftime conversions the locales use in their formats.
std::string ExpandStrftime(const std::string& f) {
  std::string out;
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '%' && i + 1 < f.size()) {
      char c = f[i + 1];
      const char* e = nullptr;
      switch (c) {
      case 'T': e = "%H:%M:%S"; break;
      case 'R': e = "%H:%M"; break;
      case 'D': e = "%m/%d/%y"; break;
      case 'F': e = "%Y-%m-%d"; break;
      case 'r': e = "%I:%M:%S %p"; break;
      }
      if (e != nullptr) {
        out += e;
        ++i;
        continue;
      }
    }
    out += f[i];
  }
  return out;
}

// Translates a strftime date or time format into the framework's format letters.
// Returns the separator found between the numeric fields through `separator`.
std::string TranslateFormat(const std::string& source, char& separator, bool& twelveHour) {
  std::string f = ExpandStrftime(source);
  std::string out;
  separator = '\0';
  twelveHour = false;
  bool afterField = false;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (c == '%' && i + 1 < f.size()) {
      char k = f[++i];
      while ((k == '-' || k == '_' || k == '0' || k == 'E' || k == 'O') && i + 1 < f.size())
        k = f[++i];
      const char* e = nullptr;
      switch (k) {
      case 'd': e = "dd"; break;
      case 'e': e = "d"; break;
      case 'm': e = "mm"; break;
      case 'b': case 'h': e = "mmm"; break;
      case 'B': e = "mmmm"; break;
      case 'y': e = "yyyy"; break;  // dates shown with two digits would lose the century
      case 'Y': e = "yyyy"; break;
      case 'a': e = "ddd"; break;
      case 'A': e = "dddd"; break;
      case 'H': e = "hh"; break;
      case 'k': e = "h"; break;
      case 'I': e = "hh"; twelveHour = true; break;
      case 'l': e = "h"; twelveHour = true; break;
      case 'M': e = "nn"; break;
      case 'S': e = "ss"; break;
      case 'p': case 'P': e = "AMPM"; twelveHour = true; break;
      case '%': e = "%"; break;
      default: break;  // dropped
      }
      if (e != nullptr) out += e;
      afterField = true;
      continue;
    }
    if (afterField && separator == '\0' && c > ' ' && static_cast<unsigned char>(c) < 0x80 &&
        !std::isalnum(static_cast<unsigned char>(c)))
      separator = c;
    afterField = false;
    // Literal text: letters would be taken as format letters, so quote them.
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
      out += '"';
      out += c;
      out += '"';
    } else {
      out += c;
    }
  }
  return out;
}

std::string Capitalise(const char* s) {
  std::string r = s ? s : "";
  // Locales give Cyrillic month names in lower case; the framework shows them capitalised.
  if (r.size() >= 2) {
    unsigned char b0 = static_cast<unsigned char>(r[0]), b1 = static_cast<unsigned char>(r[1]);
    if (b0 == 0xD0 && b1 >= 0xB0 && b1 <= 0xBF) {
      r[1] = static_cast<char>(b1 - 0x20);  // а..п -> А..П
    } else if (b0 == 0xD1 && b1 >= 0x80 && b1 <= 0x8F) {
      r[0] = static_cast<char>(0xD0);
      r[1] = static_cast<char>(b1 + 0x20);  // р..я -> Р..Я
    } else if (b0 == 0xD1 && b1 == 0x91) {
      r[0] = static_cast<char>(0xD0);
      r[1] = static_cast<char>(0x81);  // ё -> Ё
    }
  }
  if (!r.empty() && r[0] >= 'a' && r[0] <= 'z') r[0] = static_cast<char>(r[0] - 32);
  return r;
}

// Replaces every run of the separator between date fields with '/', the framework's
// placeholder for DateSeparator; likewise ':' for the time separator.
std::string UsePlaceholder(const std::string& f, char separator, char placeholder) {
  if (separator == '\0' || separator == placeholder) return f;
  std::string out = f;
  bool quoted = false;
  for (char& c : out) {
    if (c == '"') quoted = !quoted;
    else if (!quoted && c == separator) c = placeholder;
  }
  return out;
}

} // namespace

TFormatSettings DefaultFormatSettings() {
  TFormatSettings s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ListSeparator = ',';
  s.CurrencyString = "$";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 0;
  s.CurrencyDecimals = 2;
  s.ShortDateFormat = "M/d/yyyy";
  s.LongDateFormat = "dddd, MMMM d, yyyy";
  s.ShortTimeFormat = "h:mm AMPM";
  s.LongTimeFormat = "h:mm:ss AMPM";
  s.TimeAMString = "AM";
  s.TimePMString = "PM";
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = kShortMonths[i];
    s.LongMonthNames[i] = kLongMonths[i];
  }
  for (int i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = kShortDays[i];
    s.LongDayNames[i] = kLongDays[i];
  }
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings FormatSettingsFromLocale() {
  TFormatSettings s = DefaultFormatSettings();
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return s;
  const char* name = nullptr;
#ifdef _NL_LOCALE_NAME
  name = nl_langinfo_l(_NL_LOCALE_NAME(LC_NUMERIC), loc);
#endif
  if (name != nullptr && (std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
                          std::strncmp(name, "C.", 2) == 0)) {
    freelocale(loc);
    return s;  // the neutral locale: keep the framework's neutral settings
  }

  s.DecimalSeparator = SingleByte(nl_langinfo_l(RADIXCHAR, loc), '.');
  s.ThousandSeparator = SingleByte(nl_langinfo_l(THOUSEP, loc), ' ');
  if (s.ThousandSeparator == s.DecimalSeparator)
    s.ThousandSeparator = s.DecimalSeparator == ',' ? ' ' : ',';
  s.ListSeparator = s.DecimalSeparator == ',' ? ';' : ',';

  bool twelve = false;
  char dateSep = '\0';
  std::string d = TranslateFormat(nl_langinfo_l(D_FMT, loc), dateSep, twelve);
  if (!d.empty() && dateSep != '\0') {
    s.DateSeparator = dateSep;
    s.ShortDateFormat = UsePlaceholder(d, dateSep, '/');
    // The long date in the order of the short one, with the month's name.
    const std::size_t dayAt = d.find('d'), monthAt = d.find('m'), yearAt = d.find('y');
    if (yearAt < dayAt && yearAt < monthAt) s.LongDateFormat = "yyyy mmmm d";
    else if (dayAt < monthAt) s.LongDateFormat = "d mmmm yyyy";
  }
  char timeSep = '\0';
  std::string t = TranslateFormat(nl_langinfo_l(T_FMT, loc), timeSep, twelve);
  if (!t.empty()) {
    if (timeSep != '\0') s.TimeSeparator = timeSep;
    s.LongTimeFormat = UsePlaceholder(t, timeSep, ':');
    s.ShortTimeFormat = twelve ? "h:nn AMPM" : "hh:nn";
  }
  // CRNCYSTR: the symbol after '-' goes before the amount, after '+' behind it.
  const char* currency = nl_langinfo_l(CRNCYSTR, loc);
  if (currency != nullptr && (currency[0] == '-' || currency[0] == '+') && currency[1] != '\0') {
    s.CurrencyString = currency + 1;
    s.CurrencyFormat = currency[0] == '-' ? 0 : 3;
    s.NegCurrFormat = currency[0] == '-' ? 1 : 8;
  }
  const char* am = nl_langinfo_l(AM_STR, loc);
  const char* pm = nl_langinfo_l(PM_STR, loc);
  s.TimeAMString = am ? am : "";
  s.TimePMString = pm ? pm : "";
  if (s.TimeAMString.empty()) s.TimeAMString = "AM";
  if (s.TimePMString.empty()) s.TimePMString = "PM";

  for (int i = 0; i < 12; ++i) {
    const char* shortName = nullptr;
#if defined(ALTMON_1) && defined(__GLIBC__)
    shortName = nl_langinfo_l(static_cast<nl_item>(_NL_ABALTMON_1 + i), loc);
#endif
    if (shortName == nullptr || *shortName == '\0')
      shortName = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), loc);
    s.ShortMonthNames[i] = Capitalise(shortName);
#ifdef ALTMON_1
    // The stand-alone (nominative) month name where the language has one.
    const char* alt = nl_langinfo_l(static_cast<nl_item>(ALTMON_1 + i), loc);
    if (alt != nullptr && *alt != '\0')
      s.LongMonthNames[i] = Capitalise(alt);
    else
#endif
      s.LongMonthNames[i] = Capitalise(nl_langinfo_l(static_cast<nl_item>(MON_1 + i), loc));
  }
  for (int i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = Capitalise(nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), loc));
    s.LongDayNames[i] = Capitalise(nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), loc));
  }
  freelocale(loc);
  return s;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = FormatSettingsFromLocale();
  return settings;
}
