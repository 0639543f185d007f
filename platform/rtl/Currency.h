#pragma once
// The framework's currency type: a 64-bit fixed-point amount with four decimal places
// (1.5 is held as 15000), exact for every amount of at most 15 integer digits, and its
// text conversions. Conversions read FormatSettings() at each call.
#include <cstdint>
#include <string>

#include "platform/rtl/Exceptions.h"

struct Currency {
  static constexpr int64_t Scale = 10000;
  int64_t Raw = 0;  // the amount times 10,000

  constexpr Currency() = default;
  constexpr Currency(int Value) : Raw(static_cast<int64_t>(Value) * Scale) {}
  static constexpr Currency FromRaw(int64_t Value) { Currency c; c.Raw = Value; return c; }
  // The nearest amount (halves to even, as the framework's floating-point rounding);
  // EOverflow "Floating point overflow" outside the range.
  static Currency FromDouble(long double Value);
  long double ToExtended() const { return static_cast<long double>(Raw) / Scale; }

  friend constexpr bool operator==(Currency, Currency) = default;
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.Raw <=> b.Raw; }
};

// Text to currency: optional blanks, sign, digits with the locale's decimal separator,
// an optional exponent ("E2"), optional blanks; rounded to four decimals.
// Errors raise EConvertError "'<text>' is not a valid floating point value".
Currency StrToCurr(const std::string& S);
bool TryStrToCurr(const std::string& S, Currency& Value);
Currency StrToCurrDef(const std::string& S, Currency Default);
// The general form: up to four decimals, trailing zeros dropped ("1.5", "-0.0001").
std::string CurrToStr(Currency Value);
