#pragma once
// Text and number conversions of the runtime library: integers and floating-point
// values to and from text with the locale's separators, Format, FormatFloat, and the
// small string helpers (trimming, case, comparison, search and replace, quoting).
// Every conversion reads FormatSettings() at each call and keeps no state.
// Strings are UTF-8; positions are 1-based, 0 meaning "not found".
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

using Extended = long double;
using Single = float;
using Int64 = std::int64_t;

// ---------------------------------------------------------------------------------
// Integers

std::string IntToStr(int value);
std::string IntToStr(unsigned value);
std::string IntToStr(long value);
std::string IntToStr(unsigned long value);
std::string IntToStr(long long value);
std::string IntToStr(unsigned long long value);

// Upper-case hexadecimal with at least `digits` digits. Negative 32-bit values show
// their 32-bit two's complement, negative 64-bit values their 64-bit one.
std::string IntToHex(int value, int digits);
std::string IntToHex(unsigned value, int digits);
std::string IntToHex(long value, int digits);
std::string IntToHex(unsigned long value, int digits);
std::string IntToHex(long long value, int digits);
std::string IntToHex(unsigned long long value, int digits);

// Decimal or hexadecimal ("$1F", "0x1F") whole numbers with an optional sign and
// surrounding blanks. Errors raise EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& s);
Int64 StrToInt64(const std::string& s);
int StrToIntDef(const std::string& s, int defaultValue);
Int64 StrToInt64Def(const std::string& s, Int64 defaultValue);
bool TryStrToInt(const std::string& s, int& value);
bool TryStrToInt64(const std::string& s, Int64& value);

// ---------------------------------------------------------------------------------
// Floating-point values

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Text to number: optional blanks, sign, digits with the locale's decimal separator,
// an optional exponent ("E-5"), optional blanks. No thousand separators.
// Errors raise EConvertError "'<text>' is not a valid floating point value".
Extended StrToFloat(const std::string& s);
Extended StrToFloatDef(const std::string& s, Extended defaultValue);
bool TryStrToFloat(const std::string& s, Extended& value);
bool TryStrToFloat(const std::string& s, double& value);  // false outside double range
bool TryStrToFloat(const std::string& s, float& value);   // false outside float range

// General form with 15 significant digits: "0.1", "1.04999995231628", "1E20", "1.5E-7".
std::string FloatToStr(Extended value);

// ffGeneral: `precision` significant digits, shortest form, fixed unless the exponent
//   is below -4 or not below the precision; `digits` = minimum exponent digits.
// ffExponent: "-d.ddddE+dddd" with `precision` digits and at least `digits` exponent digits.
// ffFixed: `digits` decimals; ffNumber: same with thousand separators; ffCurrency: with
//   the locale's currency string and formats. Values with more than `precision`
//   integer digits fall back to the general form.
std::string FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);

// Picture formats: up to three sections "positive;negative;zero", placeholders '0' and
// '#', '.' decimal point, ',' thousand separators, "E+00"/"E-00" scientific, quoted
// literals ('...' or "..."). An empty format gives the general form.
std::string FormatFloat(const std::string& format, Extended value);

// ---------------------------------------------------------------------------------
// Format

// One argument of Format. Built implicitly from the usual value types.
struct TVarRec {
  enum TKind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer };
  TKind VType;
  Int64 VInteger = 0;          // vtInteger (32-bit value), vtInt64
  Extended VExtended = 0;      // vtExtended
  std::string_view VString;    // vtString, vtChar (one byte)
  const void* VPointer = nullptr;
  char VChar = 0;

  TVarRec(int v) : VType(vtInteger), VInteger(v) {}
  TVarRec(unsigned v) : VType(vtInt64), VInteger(v) {}
  TVarRec(long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(unsigned long v) : VType(vtInt64), VInteger(static_cast<Int64>(v)) {}
  TVarRec(long long v) : VType(vtInt64), VInteger(v) {}
  TVarRec(unsigned long long v) : VType(vtInt64), VInteger(static_cast<Int64>(v)) {}
  TVarRec(float v) : VType(vtExtended), VExtended(v) {}
  TVarRec(double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(long double v) : VType(vtExtended), VExtended(v) {}
  TVarRec(char v) : VType(vtChar), VChar(v) {}
  TVarRec(const char* v) : VType(vtString), VString(v ? v : "") {}
  TVarRec(const std::string& v) : VType(vtString), VString(v) {}
  TVarRec(std::string_view v) : VType(vtString), VString(v) {}
  TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
  TVarRec(std::nullptr_t) : VType(vtPointer) {}
};

// The framework's Format: "%" ["<index>:"] ["-"] [<width>] ["." <precision>] <type>,
// where index, width and precision may be "*" (taken from the arguments).
//   d decimal (precision = minimum digits), u unsigned, x hexadecimal,
//   s string (precision = maximum characters), f fixed (precision decimals, default 2),
//   e scientific (precision digits, default 15), g general (default 15),
//   n fixed with thousand separators, m currency, p pointer, %% a percent sign.
// Width pads with blanks on the left, or on the right after "-".
// Errors raise EConvertError "Format '<format>' invalid or incompatible with argument".
std::string Format(const std::string& format, std::initializer_list<TVarRec> args);

template <class... Args>
inline std::string Format(const std::string& format, const Args&... args) {
  return Format(format, std::initializer_list<TVarRec>{TVarRec(args)...});
}

// ---------------------------------------------------------------------------------
// Strings

// Remove characters up to ' ' (controls and blanks) at either or both ends.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// ASCII letters only.
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
int CompareStr(const std::string& a, const std::string& b);   // ordinal
int CompareText(const std::string& a, const std::string& b);  // ASCII case-insensitive
bool SameText(const std::string& a, const std::string& b);
bool SameStr(const std::string& a, const std::string& b);

// Unicode letters (Latin, Greek, Cyrillic) in UTF-8 text. The case mappings keep the
// byte length of the text. Comparisons are alphabetical: letters of either case
// together, and for the case-sensitive one a lower-case letter before its capital.
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);
int AnsiCompareText(const std::string& a, const std::string& b);
int AnsiCompareStr(const std::string& a, const std::string& b);
bool AnsiSameText(const std::string& a, const std::string& b);
bool AnsiSameStr(const std::string& a, const std::string& b);

// The one case folding of case-insensitive matching (search, filter, sort, comparison):
// every letter of Latin, Greek and Cyrillic text maps to one form whatever its case
// ('Ё' and 'ё', 'Σ', 'σ' and 'ς' alike). The folded text keeps the byte length of the
// original, so a position found in folded text is the same position in the original;
// bytes that are not valid UTF-8 stay as they are.
char32_t FoldCaseCp(char32_t c);
std::string FoldCase(const std::string& s);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;  // rfReplaceAll | rfIgnoreCase
std::string StringReplace(const std::string& s, const std::string& oldPattern,
                          const std::string& newPattern, TReplaceFlags flags);

// 1-based byte positions.
int Pos(const std::string& sub, const std::string& s);
int PosEx(const std::string& sub, const std::string& s, int offset);
// `count` bytes from 1-based `index`; an index below 1 counts from 1, everything past
// the end is cut off, a negative count gives an empty text.
std::string Copy(const std::string& s, int index, int count);
std::string Copy(const std::string& s, int index);  // to the end

// "O'Brien" -> "'O''Brien'".
std::string QuotedStr(const std::string& s);
std::string AnsiQuotedStr(const std::string& s, char quote);
// Removes the quotes of a quoted text and undoubles inner quotes ("'It''s'" -> "It's");
// text after the closing quote is dropped. A text that does not start and end with the
// quote and is not properly closed is returned unchanged.
std::string AnsiDequotedStr(const std::string& s, char quote);
