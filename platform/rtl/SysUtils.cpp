#include "platform/rtl/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "platform/rtl/CodePage.h"

// ===================================================================================
// Integers

namespace {

std::string UnsignedToDec(unsigned long long v) {
  char buf[24];
  int n = std::snprintf(buf, sizeof buf, "%llu", v);
  return std::string(buf, static_cast<std::size_t>(n));
}

std::string SignedToDec(long long v) {
  if (v < 0) return "-" + UnsignedToDec(0ULL - static_cast<unsigned long long>(v));
  return UnsignedToDec(static_cast<unsigned long long>(v));
}

std::string UnsignedToHex(unsigned long long v, int digits) {
  char buf[24];
  int n = std::snprintf(buf, sizeof buf, "%llX", v);
  std::string s(buf, static_cast<std::size_t>(n));
  if (digits > 32) digits = 32;
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), '0');
  return s;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Parses a whole number; `bits` is 32 or 64. Hexadecimal numbers may use the whole
// unsigned range and wrap to negative values, as the framework's do.
bool ParseInteger(const std::string& s, int bits, long long& result) {
  std::size_t i = 0, n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  while (n > i && IsBlank(s[n - 1])) --n;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  const unsigned long long limit =
      hex ? (bits == 32 ? 0xFFFFFFFFULL : ~0ULL)
          : (bits == 32 ? (negative ? 2147483648ULL : 2147483647ULL)
                        : (negative ? 9223372036854775808ULL : 9223372036854775807ULL));
  const unsigned base = hex ? 16 : 10;
  unsigned long long v = 0;
  for (; i < n; ++i) {
    char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
    else if (hex && c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    if (v > (limit - d) / base) return false;
    v = v * base + d;
  }
  if (bits == 32) {
    auto w = static_cast<std::uint32_t>(v);
    if (negative) w = 0U - w;
    result = static_cast<std::int32_t>(w);
  } else {
    if (negative) v = 0ULL - v;
    result = static_cast<long long>(v);
  }
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const std::string& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

} // namespace

std::string IntToStr(int value) { return SignedToDec(value); }
std::string IntToStr(unsigned value) { return UnsignedToDec(value); }
std::string IntToStr(long value) { return SignedToDec(value); }
std::string IntToStr(unsigned long value) { return UnsignedToDec(value); }
std::string IntToStr(long long value) { return SignedToDec(value); }
std::string IntToStr(unsigned long long value) { return UnsignedToDec(value); }

std::string IntToHex(int value, int digits) { return UnsignedToHex(static_cast<std::uint32_t>(value), digits); }
std::string IntToHex(unsigned value, int digits) { return UnsignedToHex(value, digits); }
std::string IntToHex(long value, int digits) { return UnsignedToHex(static_cast<unsigned long>(value), digits); }
std::string IntToHex(unsigned long value, int digits) { return UnsignedToHex(value, digits); }
std::string IntToHex(long long value, int digits) { return UnsignedToHex(static_cast<unsigned long long>(value), digits); }
std::string IntToHex(unsigned long long value, int digits) { return UnsignedToHex(value, digits); }

bool TryStrToInt(const std::string& s, int& value) {
  long long v;
  if (!ParseInteger(s, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(const std::string& s, Int64& value) {
  long long v;
  if (!ParseInteger(s, 64, v)) return false;
  value = v;
  return true;
}

int StrToInt(const std::string& s) {
  int v;
  if (!TryStrToInt(s, v)) RaiseInvalidInteger(s);
  return v;
}

Int64 StrToInt64(const std::string& s) {
  Int64 v;
  if (!TryStrToInt64(s, v)) RaiseInvalidInteger(s);
  return v;
}

int StrToIntDef(const std::string& s, int defaultValue) {
  int v;
  return TryStrToInt(s, v) ? v : defaultValue;
}

Int64 StrToInt64Def(const std::string& s, Int64 defaultValue) {
  Int64 v;
  return TryStrToInt64(s, v) ? v : defaultValue;
}

// ===================================================================================
// Floating-point text

namespace {

// A value as decimal digits: value = 0.Digits × 10^Exponent. Digits carry no trailing
// zeros; empty Digits is zero.
struct TFloatRec {
  bool Negative = false;
  int Exponent = 0;
  std::string Digits;
  bool Special = false;  // NaN or infinity; Digits holds "NAN" / "INF"
};

constexpr int kMaxPrecision = 18;
constexpr int kNoLimit = 100000;

// Rounds to at most `precision` significant digits and at most `decimals` digits after
// the decimal point, halves away from zero.
TFloatRec FloatToDecimal(long double value, int precision, int decimals) {
  TFloatRec r;
  r.Negative = std::signbit(value);
  if (std::isnan(value)) {
    r.Special = true;
    r.Negative = false;
    r.Digits = "NAN";
    return r;
  }
  if (std::isinf(value)) {
    r.Special = true;
    r.Digits = "INF";
    return r;
  }
  long double a = std::fabs(value);
  if (a == 0) {
    r.Negative = false;
    return r;
  }
  // 40 digits after the first: exact enough that rounding them again at 18 digits or
  // fewer gives the correctly rounded result.
  char buf[96];
  std::snprintf(buf, sizeof buf, "%.40Le", a);
  std::string digits;
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  int e = std::atoi(p + 1);
  r.Exponent = e + 1;
  long long keep = std::min<long long>(precision, static_cast<long long>(r.Exponent) + decimals);
  if (keep < 0) {
    r.Negative = false;
    r.Exponent = 0;
    return r;
  }
  auto k = static_cast<std::size_t>(keep);
  bool roundUp = k < digits.size() && digits[k] >= '5';
  digits.resize(std::min(k, digits.size()));
  if (roundUp) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits = "1";  // all nines: 0.999 -> 0.1E+1
      ++r.Exponent;
    } else {
      ++digits[i - 1];
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) {
    r.Negative = false;
    r.Exponent = 0;
  }
  r.Digits = digits;
  return r;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

std::string ExponentText(int exp, int minDigits, bool forceSign) {
  std::string s;
  if (exp < 0) s += '-';
  else if (forceSign) s += '+';
  std::string d = std::to_string(exp < 0 ? -exp : exp);
  if (static_cast<int>(d.size()) < minDigits) d.insert(0, static_cast<std::size_t>(minDigits) - d.size(), '0');
  return s + d;
}

std::string SpecialText(const TFloatRec& r) {
  if (r.Digits == "NAN") return "NAN";
  return r.Negative ? "-INF" : "INF";
}

std::string FormatGeneral(const TFloatRec& r, int precision, int expDigits, char decimal) {
  if (r.Special) return SpecialText(r);
  if (r.Digits.empty()) return "0";
  std::string s = r.Negative ? "-" : "";
  const std::string& d = r.Digits;
  if (r.Exponent > precision || r.Exponent < -3) {
    s += d[0];
    if (d.size() > 1) {
      s += decimal;
      s.append(d, 1, std::string::npos);
    }
    s += 'E';
    s += ExponentText(r.Exponent - 1, expDigits, false);
    return s;
  }
  if (r.Exponent <= 0) {
    s += '0';
    s += decimal;
    s.append(static_cast<std::size_t>(-r.Exponent), '0');
    s += d;
    return s;
  }
  auto ex = static_cast<std::size_t>(r.Exponent);
  if (d.size() <= ex) {
    s += d;
    s.append(ex - d.size(), '0');
  } else {
    s.append(d, 0, ex);
    s += decimal;
    s.append(d, ex, std::string::npos);
  }
  return s;
}

std::string FormatExponent(const TFloatRec& r, int precision, int expDigits, char decimal) {
  if (r.Special) return SpecialText(r);
  std::string d = r.Digits;
  int exp = d.empty() ? 0 : r.Exponent - 1;
  d.resize(static_cast<std::size_t>(precision), '0');
  std::string s = r.Negative ? "-" : "";
  s += d[0];
  if (precision > 1) {
    s += decimal;
    s.append(d, 1, std::string::npos);
  }
  s += 'E';
  s += ExponentText(exp, expDigits, true);
  return s;
}

// Integer digits and exactly `decimals` fraction digits of a rounded value.
void SplitFixed(const TFloatRec& r, int decimals, std::string& intPart, std::string& frac) {
  const std::string& d = r.Digits;
  intPart.clear();
  frac.clear();
  if (r.Exponent > 0) {
    auto ex = static_cast<std::size_t>(r.Exponent);
    intPart = d.substr(0, std::min(ex, d.size()));
    if (intPart.size() < ex) intPart.append(ex - intPart.size(), '0');
    if (d.size() > ex) frac = d.substr(ex);
  } else if (!d.empty()) {
    frac.assign(static_cast<std::size_t>(-r.Exponent), '0');
    frac += d;
  }
  if (intPart.empty()) intPart = "0";
  frac.resize(static_cast<std::size_t>(decimals), '0');
}

std::string GroupThousands(const std::string& intPart, char separator) {
  std::string s;
  std::size_t n = intPart.size();
  for (std::size_t i = 0; i < n; ++i) {
    s += intPart[i];
    std::size_t left = n - i - 1;
    if (left > 0 && left % 3 == 0) s += separator;
  }
  return s;
}

std::string CurrencyText(const std::string& amount, bool negative, const TFormatSettings& fs) {
  const std::string& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
    case 1: return amount + c;
    case 2: return c + " " + amount;
    case 3: return amount + " " + c;
    default: return c + amount;
    }
  }
  switch (fs.NegCurrFormat) {
  case 1: return "-" + c + amount;
  case 2: return c + "-" + amount;
  case 3: return c + amount + "-";
  case 4: return "(" + amount + c + ")";
  case 5: return "-" + amount + c;
  case 6: return amount + "-" + c;
  case 7: return amount + c + "-";
  case 8: return "-" + amount + " " + c;
  case 9: return "-" + c + " " + amount;
  case 10: return amount + " " + c + "-";
  case 11: return c + " " + amount + "-";
  case 12: return c + " -" + amount;
  case 13: return amount + "- " + c;
  case 14: return "(" + c + " " + amount + ")";
  case 15: return "(" + amount + " " + c + ")";
  default: return "(" + c + amount + ")";
  }
}

std::string FloatToText(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& fs) {
  precision = Clamp(precision, 1, kMaxPrecision);
  switch (format) {
  case ffExponent:
    return FormatExponent(FloatToDecimal(value, precision, kNoLimit), precision,
                          Clamp(digits, 0, 4), fs.DecimalSeparator);
  case ffFixed:
  case ffNumber:
  case ffCurrency: {
    digits = Clamp(digits, 0, kMaxPrecision);
    TFloatRec r = FloatToDecimal(value, precision, digits);
    if (r.Special) return SpecialText(r);
    if (r.Exponent > precision)
      return FormatGeneral(FloatToDecimal(value, precision, kNoLimit), precision, 0,
                           fs.DecimalSeparator);
    std::string intPart, frac;
    SplitFixed(r, digits, intPart, frac);
    if (format != ffFixed) intPart = GroupThousands(intPart, fs.ThousandSeparator);
    std::string amount = intPart;
    if (digits > 0) {
      amount += fs.DecimalSeparator;
      amount += frac;
    }
    if (format == ffCurrency) return CurrencyText(amount, r.Negative, fs);
    return r.Negative ? "-" + amount : amount;
  }
  case ffGeneral:
  default:
    return FormatGeneral(FloatToDecimal(value, precision, kNoLimit), precision,
                         Clamp(digits, 0, 4), fs.DecimalSeparator);
  }
}

// Framework-style text to number. Blanks (spaces) may surround the number.
bool TextToFloat(const std::string& s, long double& value) {
  const char decimal = FormatSettings().DecimalSeparator;
  std::size_t i = 0, n = s.size();
  while (i < n && s[i] == ' ') ++i;
  while (n > i && s[n - 1] == ' ') --n;
  std::string c;  // the number in the C locale's notation
  if (i < n && (s[i] == '+' || s[i] == '-')) c += s[i++];
  int mantissaDigits = 0;
  while (i < n && s[i] >= '0' && s[i] <= '9') {
    c += s[i++];
    ++mantissaDigits;
  }
  if (i < n && s[i] == decimal) {
    c += '.';
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      c += s[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) c += s[i++];
    int expDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      c += s[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  if (i != n) return false;
  errno = 0;
  char* end = nullptr;
  long double v = std::strtold(c.c_str(), &end);
  if (end == c.c_str() || *end != '\0') return false;
  if (std::isinf(v)) return false;  // beyond the extended range
  value = v;
  return true;
}

[[noreturn]] void RaiseInvalidFloat(const std::string& s) {
  throw EConvertError("'" + s + "' is not a valid floating point value");
}

} // namespace

bool TryStrToFloat(const std::string& s, Extended& value) { return TextToFloat(s, value); }

bool TryStrToFloat(const std::string& s, double& value) {
  long double v;
  if (!TextToFloat(s, v) || std::fabs(v) > DBL_MAX) return false;
  value = static_cast<double>(v);
  return true;
}

bool TryStrToFloat(const std::string& s, float& value) {
  long double v;
  if (!TextToFloat(s, v) || std::fabs(v) > FLT_MAX) return false;
  value = static_cast<float>(v);
  return true;
}

Extended StrToFloat(const std::string& s) {
  long double v;
  if (!TextToFloat(s, v)) RaiseInvalidFloat(s);
  return v;
}

Extended StrToFloatDef(const std::string& s, Extended defaultValue) {
  long double v;
  return TextToFloat(s, v) ? v : defaultValue;
}

std::string FloatToStr(Extended value) {
  return FloatToText(value, ffGeneral, 15, 0, FormatSettings());
}

std::string FloatToStrF(Extended value, TFloatFormat format, int precision, int digits) {
  return FloatToText(value, format, precision, digits, FormatSettings());
}

// ===================================================================================
// FormatFloat

namespace {

struct TPictureInfo {
  int IntPlaceholders = 0;  // '0' and '#' before the decimal point
  int MinIntDigits = 0;     // from the first '0' before the point
  int MaxDecimals = 0;      // placeholders after the point
  int MinDecimals = 0;      // up to the last '0' after the point
  bool Thousands = false;
  bool Scientific = false;
  int ExpDigits = 0;
};

// Splits the picture into sections at ';' outside quotes.
std::vector<std::string> SplitSections(const std::string& format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

bool IsExponentAt(const std::string& f, std::size_t i) {
  return (f[i] == 'E' || f[i] == 'e') && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-');
}

TPictureInfo AnalysePicture(const std::string& f) {
  TPictureInfo info;
  bool afterPoint = false;
  int firstZero = -1;
  int lastDecimalZero = 0;
  char quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '0' || c == '#') {
      if (!afterPoint) {
        if (c == '0' && firstZero < 0) firstZero = info.IntPlaceholders;
        ++info.IntPlaceholders;
      } else {
        ++info.MaxDecimals;
        if (c == '0') lastDecimalZero = info.MaxDecimals;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint) info.Thousands = true;
    } else if (IsExponentAt(f, i)) {
      info.Scientific = true;
      i += 2;
      while (i < f.size() && f[i] == '0') {
        ++info.ExpDigits;
        ++i;
      }
      break;
    }
  }
  info.MinIntDigits = firstZero < 0 ? 0 : info.IntPlaceholders - firstZero;
  info.MinDecimals = lastDecimalZero;
  return info;
}

// Writes the number into the picture: digits into placeholders, literals as written.
std::string ApplyPicture(const std::string& f, const TPictureInfo& info,
                         const std::string& intDigitsIn, const std::string& fracDigits,
                         int exponent, const TFormatSettings& fs) {
  std::string intDigits = intDigitsIn;
  std::string out;
  const int nInt = static_cast<int>(intDigits.size());
  const int excess = nInt - info.IntPlaceholders;  // digits beyond the placeholders
  int intSeen = 0, fracSeen = 0;
  bool leadingDone = false;
  auto emitIntDigit = [&](int index) {
    out += intDigits[static_cast<std::size_t>(index)];
    int left = nInt - index - 1;
    if (info.Thousands && !info.Scientific && left > 0 && left % 3 == 0) out += fs.ThousandSeparator;
  };
  auto emitLeading = [&] {
    if (leadingDone) return;
    leadingDone = true;
    for (int k = 0; k < excess; ++k) emitIntDigit(k);
  };
  bool afterPoint = false;
  char quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else out += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if ((c == '0' || c == '#') && !afterPoint) {
      emitLeading();
      int index = intSeen - (info.IntPlaceholders - nInt);
      if (index >= 0) emitIntDigit(index);
      ++intSeen;
    } else if ((c == '0' || c == '#') && afterPoint) {
      if (fracSeen < static_cast<int>(fracDigits.size())) out += fracDigits[static_cast<std::size_t>(fracSeen)];
      ++fracSeen;
    } else if (c == '.' && !afterPoint) {
      emitLeading();
      afterPoint = true;
      if (!fracDigits.empty()) out += fs.DecimalSeparator;
    } else if (c == ',') {
      // a thousand-separator marker, not a literal
    } else if (IsExponentAt(f, i)) {
      emitLeading();
      out += c;
      char sign = f[i + 1];
      if (exponent < 0) out += '-';
      else if (sign == '+') out += '+';
      std::string d = std::to_string(exponent < 0 ? -exponent : exponent);
      if (static_cast<int>(d.size()) < info.ExpDigits)
        d.insert(0, static_cast<std::size_t>(info.ExpDigits) - d.size(), '0');
      out += d;
      i += 2;
      while (i < f.size() && (f[i] == '0' || f[i] == '#')) ++i;
      --i;
      afterPoint = true;
    } else {
      out += c;
    }
  }
  emitLeading();
  return out;
}

std::string FormatSection(const std::string& f, long double absValue, bool& isZero,
                          const TFormatSettings& fs) {
  TPictureInfo info = AnalysePicture(f);
  std::string intDigits, frac;
  int exponent = 0;
  if (info.Scientific) {
    int sig = std::max(1, info.IntPlaceholders + info.MaxDecimals);
    TFloatRec r = FloatToDecimal(absValue, std::min(sig, kMaxPrecision), kNoLimit);
    isZero = r.Digits.empty();
    std::string d = r.Digits;
    if (!isZero) exponent = r.Exponent - info.IntPlaceholders;
    d.resize(static_cast<std::size_t>(std::max(sig, info.IntPlaceholders)), '0');
    intDigits = d.substr(0, static_cast<std::size_t>(info.IntPlaceholders));
    frac = d.substr(static_cast<std::size_t>(info.IntPlaceholders));
  } else {
    TFloatRec r = FloatToDecimal(absValue, kMaxPrecision, info.MaxDecimals);
    isZero = r.Digits.empty();
    SplitFixed(r, info.MaxDecimals, intDigits, frac);
    if (intDigits == "0") intDigits.clear();
    if (static_cast<int>(intDigits.size()) < info.MinIntDigits)
      intDigits.insert(0, static_cast<std::size_t>(info.MinIntDigits) - intDigits.size(), '0');
  }
  while (static_cast<int>(frac.size()) > info.MinDecimals && frac.back() == '0') frac.pop_back();
  return ApplyPicture(f, info, intDigits, frac, exponent, fs);
}

} // namespace

std::string FormatFloat(const std::string& format, Extended value) {
  const TFormatSettings& fs = FormatSettings();
  if (std::isnan(value) || std::isinf(value) || format.empty())
    return FloatToText(value, ffGeneral, 15, 0, fs);
  std::vector<std::string> sections = SplitSections(format);
  // Beyond 18 integer digits the picture cannot hold the value exactly.
  if (std::fabs(value) >= 1e18L) return FloatToText(value, ffGeneral, 15, 0, fs);
  const bool negative = value < 0;
  const long double a = std::fabs(value);
  bool isZero = false;
  std::string result;
  bool useNegSection = negative && sections.size() >= 2 && !sections[1].empty();
  const std::string& section = useNegSection ? sections[1] : sections[0];
  result = FormatSection(section, a, isZero, fs);
  if (isZero && sections.size() >= 3 && !sections[2].empty()) {
    bool dummy;
    return FormatSection(sections[2], 0, dummy, fs);
  }
  if (negative && !useNegSection && !isZero) result.insert(0, 1, '-');
  return result;
}

// ===================================================================================
// Format

namespace {

[[noreturn]] void RaiseFormatError(const std::string& format) {
  throw EConvertError("Format '" + format + "' invalid or incompatible with argument");
}

// Pads to `width` characters (code points).
void Pad(std::string& s, int width, bool left) {
  if (width <= 0) return;
  std::size_t len = Utf8Length(s);
  if (len >= static_cast<std::size_t>(width)) return;
  std::size_t fill = static_cast<std::size_t>(width) - len;
  if (left) s.append(fill, ' ');
  else s.insert(0, fill, ' ');
}

// The first `count` code points.
std::string Utf8Prefix(const std::string& s, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t k = 0; k < count && pos < s.size(); ++k) Utf8Next(s, pos);
  return s.substr(0, pos);
}

} // namespace

std::string Format(const std::string& format, std::initializer_list<TVarRec> argList) {
  const TVarRec* args = argList.begin();
  const std::size_t argCount = argList.size();
  const TFormatSettings& fs = FormatSettings();
  std::string out;
  std::size_t next = 0;  // index of the next argument
  const std::size_t n = format.size();
  auto takeInt = [&]() -> long long {
    if (next >= argCount) RaiseFormatError(format);
    const TVarRec& a = args[next++];
    if (a.VType != TVarRec::vtInteger && a.VType != TVarRec::vtInt64) RaiseFormatError(format);
    return a.VInteger;
  };
  for (std::size_t i = 0; i < n; ++i) {
    char c = format[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= n) RaiseFormatError(format);
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    // ["index:"] ["-"] [width] ["." precision] type
    auto readNumber = [&](long long& value) -> bool {
      if (format[i] == '*') {
        value = takeInt();
        ++i;
        return true;
      }
      if (format[i] < '0' || format[i] > '9') return false;
      value = 0;
      while (i < n && format[i] >= '0' && format[i] <= '9') {
        value = value * 10 + (format[i] - '0');
        if (value > 1000000) RaiseFormatError(format);
        ++i;
      }
      return true;
    };
    long long number = 0;
    bool haveNumber = false;
    bool left = false;
    long long width = 0, precision = -1;
    if (readNumber(number)) {
      haveNumber = true;
      if (i < n && format[i] == ':') {
        if (number < 0) RaiseFormatError(format);
        next = static_cast<std::size_t>(number);
        ++i;
        haveNumber = false;
      }
    }
    if (i >= n) RaiseFormatError(format);
    if (!haveNumber) {
      if (format[i] == '-') {
        left = true;
        ++i;
        if (i >= n) RaiseFormatError(format);
      }
      haveNumber = readNumber(number);
      if (i >= n) RaiseFormatError(format);
    }
    if (haveNumber) {
      width = number;
      if (width < -1000000 || width > 1000000) RaiseFormatError(format);
      if (width < 0) {  // a negative "*" width left-justifies
        left = true;
        width = -width;
      }
    }
    if (format[i] == '.') {
      ++i;
      if (i >= n) RaiseFormatError(format);
      if (!readNumber(precision)) precision = 0;
      if (precision < 0) precision = -1;  // a negative "*" precision means none
      if (i >= n) RaiseFormatError(format);
    }
    char type = format[i];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    if (next >= argCount) RaiseFormatError(format);
    const TVarRec& a = args[next++];
    const bool isInt = a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64;
    std::string text;
    switch (type) {
    case 'd':
    case 'u':
    case 'x': {
      if (!isInt) RaiseFormatError(format);
      bool negative = false;
      unsigned long long magnitude;
      if (type == 'd') {
        negative = a.VInteger < 0;
        magnitude = negative ? 0ULL - static_cast<unsigned long long>(a.VInteger)
                             : static_cast<unsigned long long>(a.VInteger);
      } else if (a.VType == TVarRec::vtInteger) {
        magnitude = static_cast<std::uint32_t>(a.VInteger);
      } else {
        magnitude = static_cast<unsigned long long>(a.VInteger);
      }
      text = type == 'x' ? UnsignedToHex(magnitude, 0) : UnsignedToDec(magnitude);
      if (precision > 32) precision = 32;
      if (precision > static_cast<long long>(text.size()))
        text.insert(0, static_cast<std::size_t>(precision) - text.size(), '0');
      if (negative) text.insert(0, 1, '-');
      break;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
      long double v;
      if (a.VType == TVarRec::vtExtended) v = a.VExtended;
      else if (isInt) v = static_cast<long double>(a.VInteger);
      else RaiseFormatError(format);
      int p = static_cast<int>(std::min<long long>(precision, kMaxPrecision));
      switch (type) {
      case 'e': text = FloatToText(v, ffExponent, p < 0 ? 15 : p, 3, fs); break;
      case 'g': text = FloatToText(v, ffGeneral, p < 0 ? 15 : p, 3, fs); break;
      case 'f': text = FloatToText(v, ffFixed, kMaxPrecision, p < 0 ? 2 : p, fs); break;
      case 'n': text = FloatToText(v, ffNumber, kMaxPrecision, p < 0 ? 2 : p, fs); break;
      default: text = FloatToText(v, ffCurrency, kMaxPrecision, p < 0 ? fs.CurrencyDecimals : p, fs); break;
      }
      break;
    }
    case 's': {
      if (a.VType == TVarRec::vtString) text.assign(a.VString.data(), a.VString.size());
      else if (a.VType == TVarRec::vtChar) text.assign(1, a.VChar);
      else RaiseFormatError(format);
      if (precision >= 0) text = Utf8Prefix(text, static_cast<std::size_t>(precision));
      break;
    }
    case 'p': {
      if (a.VType != TVarRec::vtPointer) RaiseFormatError(format);
      text = UnsignedToHex(reinterpret_cast<std::uintptr_t>(a.VPointer), 2 * sizeof(void*));
      break;
    }
    default:
      RaiseFormatError(format);
    }
    Pad(text, static_cast<int>(width), left);
    out += text;
  }
  return out;
}

// ===================================================================================
// Strings

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string TrimLeft(const std::string& s) {
  std::size_t b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  return s.substr(b);
}

std::string TrimRight(const std::string& s) {
  std::size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return s.substr(0, e);
}

std::string UpperCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return r;
}

std::string LowerCase(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

int CompareStr(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    int d = static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]);
    if (d != 0) return d;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareText(const std::string& a, const std::string& b) {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return x - y;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }
bool SameStr(const std::string& a, const std::string& b) { return a == b; }

namespace {

// Simple case mappings of Latin, Greek and Cyrillic letters whose two forms have the
// same UTF-8 length (so positions in upper- and lower-cased text correspond).
char32_t ToUpperCp(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c <= 0x12F || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && (c & 1))
      return c - 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && !(c & 1)) return c - 1;
    return c;
  }
  if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 0x20;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) &&
      (c & 1))
    return c - 1;
  if (c >= 0x4C1 && c <= 0x4CE && !(c & 1)) return c - 1;
  if (c == 0x4CF) return 0x4C0;
  return c;
}

char32_t ToLowerCp(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c <= 0x12F || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && !(c & 1))
      return c + 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && (c & 1)) return c + 1;
    return c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) &&
      !(c & 1))
    return c + 1;
  if (c >= 0x4C1 && c <= 0x4CE && (c & 1)) return c + 1;
  if (c == 0x4C0) return 0x4CF;
  return c;
}

template <class F>
std::string MapCase(const std::string& s, F map) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) {
    std::size_t start = pos;
    char32_t c = Utf8Next(s, pos);
    if (c == 0xFFFD && pos - start == 1 && static_cast<unsigned char>(s[start]) >= 0x80) {
      out += s[start];  // keep an invalid byte as it is
      continue;
    }
    Utf8Append(out, map(c));
  }
  return out;
}

// Alphabetical sort key of a lower-case code point: 'ё' right after 'е'.
long long CollationKey(char32_t lower) {
  if (lower == 0x451) return 0x435LL * 4 + 2;
  return static_cast<long long>(lower) * 4;
}

int AnsiCompare(const std::string& a, const std::string& b, bool caseSensitive) {
  std::size_t pa = 0, pb = 0;
  int caseOrder = 0;  // first case difference: lower-case sorts first
  while (pa < a.size() && pb < b.size()) {
    char32_t ca = Utf8Next(a, pa), cb = Utf8Next(b, pb);
    long long ka = CollationKey(FoldCaseCp(ca)), kb = CollationKey(FoldCaseCp(cb));
    if (ka != kb) return ka < kb ? -1 : 1;
    if (caseOrder == 0 && ca != cb) caseOrder = (ca == ToLowerCp(ca)) ? -1 : 1;
  }
  if (pa < a.size()) return 1;
  if (pb < b.size()) return -1;
  return caseSensitive ? caseOrder : 0;
}

} // namespace

char32_t FoldCaseCp(char32_t c) { return ToLowerCp(ToUpperCp(c)); }
std::string FoldCase(const std::string& s) { return MapCase(s, FoldCaseCp); }

std::string AnsiUpperCase(const std::string& s) { return MapCase(s, ToUpperCp); }
std::string AnsiLowerCase(const std::string& s) { return MapCase(s, ToLowerCp); }
int AnsiCompareText(const std::string& a, const std::string& b) { return AnsiCompare(a, b, false); }
int AnsiCompareStr(const std::string& a, const std::string& b) { return AnsiCompare(a, b, true); }
bool AnsiSameText(const std::string& a, const std::string& b) { return AnsiCompare(a, b, false) == 0; }
bool AnsiSameStr(const std::string& a, const std::string& b) { return a == b; }

std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool all = (flags & rfReplaceAll) != 0;
  // The case-sensitive search reads the text itself; only the case-insensitive one needs
  // folded copies.
  std::string foldedHay, foldedNeedle;
  std::string_view hay = s, needle = oldPattern;
  if (flags & rfIgnoreCase) {
    foldedHay = FoldCase(s);
    foldedNeedle = FoldCase(oldPattern);
    // The case mapping keeps byte lengths, so positions in `hay` are positions in `s`.
    hay = foldedHay;
    needle = foldedNeedle;
  }
  std::size_t at = hay.find(needle);
  if (at == std::string_view::npos) return s;
  std::string out;
  out.reserve(s.size() + (newPattern.size() > needle.size() ? newPattern.size() - needle.size() : 0));
  std::size_t from = 0;
  while (at != std::string_view::npos) {
    out.append(s, from, at - from);
    out += newPattern;
    from = at + needle.size();
    if (!all) break;
    at = hay.find(needle, from);
  }
  out.append(s, from, std::string::npos);
  return out;
}

int Pos(const std::string& sub, const std::string& s) { return PosEx(sub, s, 1); }

int PosEx(const std::string& sub, const std::string& s, int offset) {
  if (sub.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
  std::size_t at = s.find(sub, static_cast<std::size_t>(offset - 1));
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Copy(const std::string& s, int index, int count) {
  if (count <= 0) return std::string();
  if (index < 1) index = 1;
  auto start = static_cast<std::size_t>(index - 1);
  if (start >= s.size()) return std::string();
  return s.substr(start, static_cast<std::size_t>(count));
}

std::string Copy(const std::string& s, int index) {
  return Copy(s, index, std::numeric_limits<int>::max());
}

std::string QuotedStr(const std::string& s) { return AnsiQuotedStr(s, '\''); }

std::string AnsiQuotedStr(const std::string& s, char quote) {
  std::string r;
  r.reserve(s.size() + 2);
  r += quote;
  for (char c : s) {
    r += c;
    if (c == quote) r += quote;
  }
  r += quote;
  return r;
}

std::string AnsiDequotedStr(const std::string& s, char quote) {
  if (s.empty() || s[0] != quote) return s;
  std::string r;
  std::size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r += quote;
        i += 2;
        continue;
      }
      ++i;  // the closing quote; what follows it is dropped
      break;
    }
    r += s[i++];
  }
  const bool consumed = i >= s.size();
  if ((r.empty() || consumed) && s.back() != quote) return s;
  return r;
}
