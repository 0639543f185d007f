// The currency type's conversions: exact decimal arithmetic on the digits of the text,
// so no amount passes through binary floating point.
#include "platform/rtl/Currency.h"

#include <cmath>
#include <cstdlib>

#include "platform/rtl/FormatSettings.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void RaiseInvalid(const std::string& s) {
  throw EConvertError("'" + s + "' is not a valid floating point value");
}

}  // namespace

Currency Currency::FromDouble(long double Value) {
  long double scaled = Value * Scale;
  // 2^63 and beyond do not fit.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775807.0L)
    throw EOverflow("Floating point overflow");
  return FromRaw(static_cast<int64_t>(std::nearbyint(scaled)));
}

bool TryStrToCurr(const std::string& S, Currency& Value) {
  const char sep = FormatSettings().DecimalSeparator;
  std::size_t i = 0, n = S.size();
  while (i < n && IsBlank(S[i])) ++i;
  bool negative = false;
  if (i < n && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  // The significant digits with the position of the decimal point among them.
  std::string digits;
  long pointAt = 0;
  bool point = false, any = false;
  for (; i < n; ++i) {
    if (IsDigit(S[i])) {
      any = true;
      if (!(digits.empty() && S[i] == '0')) digits += S[i];
      else if (point) --pointAt;  // a leading zero after the point shifts the digits
    } else if (S[i] == sep && !point) {
      point = true;
      pointAt = static_cast<long>(digits.size());
    } else {
      break;
    }
  }
  if (!any) return false;
  int exponent = 0;
  if (i < n && (S[i] == 'e' || S[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < n && (S[i] == '+' || S[i] == '-')) expNegative = S[i++] == '-';
    if (i >= n || !IsDigit(S[i])) return false;
    for (; i < n && IsDigit(S[i]); ++i)
      if (exponent < 10000) exponent = exponent * 10 + (S[i] - '0');
    if (expNegative) exponent = -exponent;
  }
  while (i < n && IsBlank(S[i])) ++i;
  if (i != n) return false;
  // Digits before the decimal point, counting the exponent.
  long intDigits = (point ? pointAt : static_cast<long>(digits.size())) + exponent;
  if (digits.empty()) {
    Value = Currency();
    return true;
  }
  if (intDigits > 15) return false;
  // The amount times 10,000: the first intDigits + 4 digits, then rounding by the rest.
  long keep = intDigits + 4;
  unsigned long long raw = 0;
  for (long k = 0; k < keep; ++k) {
    int d = (k >= 0 && k < static_cast<long>(digits.size())) ? digits[k] - '0' : 0;
    raw = raw * 10 + d;
  }
  // Below half of the last place when even the first digit lies past it.
  if (keep >= 0 && keep < static_cast<long>(digits.size())) {
    int next = digits[keep] - '0';
    bool beyond = digits.find_first_not_of('0', keep + 1) != std::string::npos;
    if (next > 5 || (next == 5 && (beyond || (raw & 1)))) ++raw;
  }
  const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
  if (raw > limit) return false;
  Value = Currency::FromRaw(negative ? static_cast<int64_t>(0 - raw) : static_cast<int64_t>(raw));
  return true;
}

Currency StrToCurr(const std::string& S) {
  Currency c;
  if (!TryStrToCurr(S, c)) RaiseInvalid(S);
  return c;
}

Currency StrToCurrDef(const std::string& S, Currency Default) {
  Currency c;
  return TryStrToCurr(S, c) ? c : Default;
}

std::string CurrToStr(Currency Value) {
  unsigned long long magnitude = Value.Raw < 0 ? 0 - static_cast<unsigned long long>(Value.Raw)
                                               : static_cast<unsigned long long>(Value.Raw);
  std::string out = Value.Raw < 0 ? "-" : "";
  out += std::to_string(magnitude / Currency::Scale);
  unsigned frac = static_cast<unsigned>(magnitude % Currency::Scale);
  if (frac) {
    std::string f = std::to_string(frac + Currency::Scale).substr(1);
    while (!f.empty() && f.back() == '0') f.pop_back();
    out += FormatSettings().DecimalSeparator;
    out += f;
  }
  return out;
}
