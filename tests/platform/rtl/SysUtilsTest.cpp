#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "platform/rtl/SysUtils.h"

namespace {

// Neutral settings with the given decimal and thousand separators.
TFormatSettings Settings(char decimal, char thousand) {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = decimal;
  fs.ThousandSeparator = thousand;
  return fs;
}

class SysUtilsTest : public ::testing::Test {
protected:
  TFormatSettingsScope scope{Settings('.', ',')};
};

template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "<no exception>";
}

// ---------------------------------------------------------------------------------
// Integers

TEST_F(SysUtilsTest, StrToIntAcceptsBlanksSignsAndHex) {
  struct Case { const char* text; int value; } cases[] = {
      {"0", 0}, {"  42  ", 42}, {"+7", 7}, {"-2147483648", -2147483647 - 1},
      {"2147483647", 2147483647}, {"$1F", 31}, {"0x1f", 31}, {"-$10", -16},
      {"$FFFFFFFF", -1}, {"007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST_F(SysUtilsTest, StrToIntRejectsJunkAndOverflow) {
  for (const char* text : {"", " ", "-", "$", "0x", "1 2", "12a", "2147483648", "-2147483649",
                           "$100000000", "1.0", "1e3", "99999999999999999999999"}) {
    int v = 123;
    EXPECT_FALSE(TryStrToInt(text, v)) << text;
    EXPECT_EQ(v, 123);
    EXPECT_EQ(StrToIntDef(text, -5), -5);
  }
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
}

TEST_F(SysUtilsTest, Int64Conversions) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<Int64>::max());
  EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<Int64>::min());
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFF"), 0xFFFFFFFFFFLL);
  EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToStr(-12), "-12");
  EXPECT_EQ(IntToStr(std::size_t{7}), "7");
}

TEST_F(SysUtilsTest, IntToHexPadsAndShowsTwosComplement) {
  EXPECT_EQ(IntToHex(255, 0), "FF");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{-1}, 0), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0, 0), "0");
}

// ---------------------------------------------------------------------------------
// Floating-point text

TEST_F(SysUtilsTest, FloatToStrGeneralForm) {
  struct Case { long double value; const char* text; } cases[] = {
      {0.0L, "0"},
      {0.1, "0.1"},
      {static_cast<long double>(1.05f), "1.04999995231628"},
      {1.0L / 3.0L, "0.333333333333333"},
      {2.0L / 3.0L, "0.666666666666667"},
      {-2.5L, "-2.5"},
      {100.0L, "100"},
      {123456789012345.0L, "123456789012345"},
      {1e15L, "1E15"},
      {1e20L, "1E20"},
      {1.5e-7L, "1.5E-7"},
      {1.5e-5L, "1.5E-5"},
      {0.0001L, "0.0001"},
      {0.00012345L, "0.00012345"},
      {-1.23456789e-10L, "-1.23456789E-10"},
      {9.9999999999999999e14L, "1E15"},
      {-0.0L, "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << static_cast<double>(c.value);
}

TEST_F(SysUtilsTest, FloatToStrSpecialValues) {
  EXPECT_EQ(FloatToStr(std::numeric_limits<long double>::infinity()), "INF");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<long double>::infinity()), "-INF");
  EXPECT_EQ(FloatToStr(std::numeric_limits<long double>::quiet_NaN()), "NAN");
}

TEST_F(SysUtilsTest, StrToFloatParsesFrameworkSyntax) {
  struct Case { const char* text; long double value; } cases[] = {
      {"0", 0}, {"1.5", 1.5L}, {"  -2.25  ", -2.25L}, {"+3", 3}, {"1.", 1}, {".5", 0.5L},
      {"1e3", 1000}, {"1.5E-2", 0.015L}, {"2E+2", 200},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
  EXPECT_EQ(StrToFloat("0.1"), 0.1L);  // correctly rounded in extended precision
}

TEST_F(SysUtilsTest, StrToFloatRejectsInvalidText) {
  for (const char* text : {"", " ", ".", "-", "1,5", "1 000", "1e", "1e+", "e5", "1.2.3", "abc",
                           "1x", "0x10", "INF", "NAN", "1e99999"}) {
    long double v = 7;
    EXPECT_FALSE(TryStrToFloat(text, v)) << text;
    EXPECT_EQ(v, 7);
    EXPECT_EQ(StrToFloatDef(text, -1), -1);
  }
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat("1,5"); }),
            "'1,5' is not a valid floating point value");
}

TEST_F(SysUtilsTest, TryStrToFloatNarrowTypesCheckRange) {
  double d = 0;
  float f = 0;
  EXPECT_TRUE(TryStrToFloat("1e300", d));
  EXPECT_EQ(d, 1e300);
  EXPECT_FALSE(TryStrToFloat("1e400", d));
  EXPECT_FALSE(TryStrToFloat("1e39", f));
  EXPECT_TRUE(TryStrToFloat("1.05", f));
  EXPECT_EQ(f, 1.05f);
}

TEST_F(SysUtilsTest, CommaDecimalLocale) {
  TFormatSettingsScope german(Settings(',', '.'));
  EXPECT_EQ(StrToFloat("1,5"), 1.5L);
  EXPECT_THROW(StrToFloat("1.5"), EConvertError);
  EXPECT_EQ(FloatToStr(-0.25L), "-0,25");
  EXPECT_EQ(FloatToStr(1.5e-7L), "1,5E-7");
  EXPECT_EQ(FloatToStrF(1234567.891L, ffNumber, 15, 2), "1.234.567,89");
  EXPECT_EQ(Format("%.3f", {2.5}), "2,500");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5L), "1.234,50");
}

TEST_F(SysUtilsTest, FloatToStrFFormats) {
  struct Case { long double value; TFloatFormat format; int precision, digits; const char* text; } cases[] = {
      {1.5L, ffFixed, 15, 2, "1.50"},
      {2.675L, ffFixed, 15, 2, "2.67"},  // the extended 2.675 lies just below the half
      {0.125L, ffFixed, 15, 2, "0.13"},  // an exact half rounds away from zero
      {-0.125L, ffFixed, 15, 2, "-0.13"},
      {0.5L, ffFixed, 15, 0, "1"},       // halves round away from zero
      {-0.5L, ffFixed, 15, 0, "-1"},
      {-0.001L, ffFixed, 15, 2, "0.00"},
      {1e20L, ffFixed, 15, 2, "1E20"},   // more integer digits than the precision
      {1234567.891L, ffNumber, 15, 2, "1,234,567.89"},
      {-999.5L, ffNumber, 15, 0, "-1,000"},
      {1234.5L, ffExponent, 4, 2, "1.235E+03"},
      {0.00012L, ffExponent, 3, 0, "1.20E-4"},
      {0.0L, ffExponent, 3, 2, "0.00E+00"},
      {1234.5678L, ffGeneral, 4, 4, "1235"},
      {12345.678L, ffGeneral, 4, 4, "1.235E0004"},
      {0.000012L, ffGeneral, 4, 0, "1.2E-5"},
      {3.0L, ffGeneral, 4, 4, "3"},
      {1234.5L, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5L, ffCurrency, 15, 2, "($1,234.50)"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.text)
        << static_cast<double>(c.value) << " format " << c.format;
}

TEST_F(SysUtilsTest, FormatFloatPictures) {
  struct Case { const char* format; long double value; const char* text; } cases[] = {
      {"0.00", 3.14159L, "3.14"},
      {"0.00", -3.14159L, "-3.14"},
      {"#.##", 0.5L, ".5"},
      {"#.##", 1.0L, "1"},
      {"0.###", 2.1L, "2.1"},
      {"000", 7.0L, "007"},
      {"#", 0.0L, ""},
      {"0", 1234567.0L, "1234567"},
      {"#,##0", 1234567.0L, "1,234,567"},
      {"#,##0.00", -1234.567L, "-1,234.57"},
      {"0.00", -0.001L, "0.00"},
      {"0.0;(0.0)", -2.25L, "(2.3)"},
      {"0.0;(0.0);'zero'", 0.0L, "zero"},
      {"0.0;(0.0);'zero'", 0.01L, "zero"},
      {"0.0;;'zero'", -1.0L, "-1.0"},
      {"'Value: '0.0' kg'", 12.34L, "Value: 12.3 kg"},
      {"\"#\"0", 5.0L, "#5"},
      {"0.00E+00", 1234.5L, "1.23E+03"},
      {"0.00E-00", 1234.5L, "1.23E03"},
      {"0.00E+00", 0.00012345L, "1.23E-04"},
      {"00.0E+0", 1234.0L, "12.3E+2"},
      {"", 0.1L, "0.1"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloat(c.format, c.value), c.text) << c.format << " " << static_cast<double>(c.value);
}

// ---------------------------------------------------------------------------------
// Format

TEST_F(SysUtilsTest, FormatConversions) {
  int x = 0;
  struct Case { std::string actual; const char* expected; } cases[] = {
      {Format("%d", 42), "42"},
      {Format("%5d|%-5d|", 42, 42), "   42|42   |"},
      {Format("%.8d", -5), "-00000005"},
      {Format("%s%.8d", "StartHTML:", 97), "StartHTML:00000097"},
      {Format("%u", -1), "4294967295"},
      {Format("%x", 255), "FF"},
      {Format("%.4x", 255), "00FF"},
      {Format("%s%.8x", "$", 0x00D2BDB6), "$00D2BDB6"},
      {Format("%x", -1), "FFFFFFFF"},
      {Format("%d", Int64{-9000000000}), "-9000000000"},
      {Format("%s", std::string("text")), "text"},
      {Format("%.2s", "abc"), "ab"},
      {Format("%.1s", "Метан"), "М"},
      {Format("%6s|", "Газ"), "   Газ|"},
      {Format("%s", 'c'), "c"},
      {Format("%f", 1.0), "1.00"},
      {Format("%.2f", 2.675), "2.67"},  // the double 2.675 lies below the half
      {Format("%.0f", 2.5), "3"},
      {Format("%e", 1234.5), "1.23450000000000E+003"},
      {Format("%.3e", -0.00012345), "-1.23E-004"},
      {Format("%g", 0.5), "0.5"},
      {Format("%g", 20.0), "20"},
      {Format("%g", 1e20), "1E020"},
      {Format("%n", 1234567.891), "1,234,567.89"},
      {Format("%.0n", 1234567.0), "1,234,567"},
      {Format("%m", 12.5), "$12.50"},
      {Format("%f", Int64{12}), "12.00"},
      {Format("%%%d%%", 5), "%5%"},
      {Format("%1:s %0:s %s", "a", "b"), "b a b"},
      {Format("%*d|%-*d|", 4, 7, 3, 8), "   7|8  |"},
      {Format("%.*f", 3, 1.0), "1.000"},
      {Format("%*d|", -4, 7), "7   |"},
      {Format("%*d|", 0, 7), "7|"},
      {Format("%.*s|", -1, "abc"), "abc|"},
      {Format("%D %S %F", 1, "s", 1.5), "1 s 1.50"},
      {Format("Red: %d,  Green: %d,  Blue: %d", 1, 2, 3), "Red: 1,  Green: 2,  Blue: 3"},
      {Format("no args"), "no args"},
      {Format("%p", static_cast<const void*>(&x)).size() == 2 * sizeof(void*) ? "ok" : "bad", "ok"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST_F(SysUtilsTest, FormatErrors) {
  const char* message = "Format '%d' invalid or incompatible with argument";
  EXPECT_EQ(MessageOf<EConvertError>([] { Format("%d", 1.5); }), message);
  EXPECT_EQ(MessageOf<EConvertError>([] { Format("%d", "x"); }), message);
  EXPECT_EQ(MessageOf<EConvertError>([] { Format("%d", {}); }), message);
  for (const char* f : {"%", "%5", "%.", "%q", "%s %s", "%2:s", "%-", "%1.2"})
    EXPECT_THROW(Format(f, "a"), EConvertError) << f;
  EXPECT_THROW(Format("%s", 5), EConvertError);
  EXPECT_THROW(Format("%f", "x"), EConvertError);
  EXPECT_THROW(Format("%*d", "x", 5), EConvertError);
  EXPECT_THROW(Format("%*d", 2000000000, 5), EConvertError);  // no giant padding
  // The most negative widths cannot be negated: refused like any other bad width.
  for (Int64 width : {Int64{LLONG_MIN}, Int64{LLONG_MIN + 1}, Int64{-2000000000}})
    EXPECT_THROW(Format("%*d", width, 1), EConvertError) << width;
}

// ---------------------------------------------------------------------------------
// Strings

TEST_F(SysUtilsTest, TrimRemovesControlsAndBlanksOnly) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a \n"), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xD0\xA0"), "\xD0\xA0");  // UTF-8 bytes are not blanks
}

TEST_F(SysUtilsTest, CaseFunctions) {
  EXPECT_EQ(UpperCase("abc Метан"), "ABC Метан");
  EXPECT_EQ(LowerCase("ABC МЕТАН"), "abc МЕТАН");
  EXPECT_EQ(AnsiUpperCase("метан ёж äöü straße"), "МЕТАН ЁЖ ÄÖÜ STRAßE");
  EXPECT_EQ(AnsiLowerCase("МЕТАН ЁЖ ÄÖÜ ΣΑΣ Ї"), "метан ёж äöü σασ ї");
  EXPECT_EQ(AnsiUpperCase("ÿ ł ı"), "Ÿ Ł ı");  // ı has no same-length capital
  std::string invalid = "a\xFF\xD0z";
  EXPECT_EQ(AnsiUpperCase(invalid), "A\xFF\xD0Z");
}

TEST_F(SysUtilsTest, Comparisons) {
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Метан", "МЕТАН"));  // ASCII only
  EXPECT_TRUE(AnsiSameText("Метан", "МЕТАН"));
  EXPECT_TRUE(AnsiSameText("ΟΔΟΣ", "οδος"));  // final sigma
  EXPECT_EQ(StringReplace("Газ ГАЗ газ", "газ", "x", rfReplaceAll | rfIgnoreCase), "x x x");
  EXPECT_EQ(AnsiCompareText("ёлка", "ЁЛКА"), 0);
  EXPECT_LT(AnsiCompareText("ель", "ёлка"), 0);   // ё sorts after е
  EXPECT_LT(AnsiCompareText("ёлка", "жук"), 0);   // and before ж
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
  EXPECT_LT(AnsiCompareStr("apple", "Banana"), 0);  // alphabetical, not by code
  EXPECT_LT(AnsiCompareStr("a", "A"), 0);           // lower case first
  EXPECT_GT(AnsiCompareStr("Метан", "метан"), 0);
  EXPECT_LT(AnsiCompareText("abc", "abcd"), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);
}

TEST_F(SysUtilsTest, StringReplaceFlags) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", 0), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
  EXPECT_EQ(StringReplace("Abc abc", "ABC", "x", rfReplaceAll), "Abc abc");
  EXPECT_EQ(StringReplace("Abc abc", "ABC", "x", rfReplaceAll | rfIgnoreCase), "x x");
  EXPECT_EQ(StringReplace("Метан МЕТАН", "метан", "газ", rfReplaceAll | rfIgnoreCase), "газ газ");
  EXPECT_EQ(StringReplace("aaa", "a", "aa", rfReplaceAll), "aaaaaa");
  EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
}

TEST_F(SysUtilsTest, PosAndCopyAreOneBasedAndClamped) {
  EXPECT_EQ(Pos("c", "abcabc"), 3);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(PosEx("c", "abcabc", 4), 6);
  EXPECT_EQ(PosEx("c", "abcabc", 7), 0);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
  EXPECT_EQ(Copy("abcdef", 3), "cdef");
}

TEST_F(SysUtilsTest, Quoting) {
  EXPECT_EQ(QuotedStr("O'Brien"), "'O''Brien'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  struct Case { const char* in; const char* out; } cases[] = {
      {"'O''Brien'", "O'Brien"}, {"''", ""}, {"abc", "abc"}, {"'abc", "'abc"},
      {"'ab'cd", "ab"}, {"", ""}, {"'", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(AnsiDequotedStr(c.in, '\''), c.out) << c.in;
  EXPECT_EQ(AnsiDequotedStr(QuotedStr("it's 'x'"), '\''), "it's 'x'");
}

// One folding for every case-insensitive match: letters of either case fold together,
// byte lengths are kept and invalid bytes pass through.
TEST_F(SysUtilsTest, FoldCaseMatchesLettersOfEveryCase) {
  struct Case {
    const char* a;
    const char* b;
  };
  const Case same[] = {{"ПРИВЕТ мир", "привет МИР"}, {"Ёлка", "ёЛКА"}, {"ΟΔΟΣ", "οδος"},
                       {"σς", "ΣΣ"}, {"ÄÖÜ", "äöü"}, {"Łódź", "łÓDŹ"}, {"Ϊ", "ϊ"},
                       {"abcXYZ", "ABCxyz"}};
  for (const Case& c : same) {
    EXPECT_EQ(FoldCase(c.a), FoldCase(c.b)) << c.a;
    EXPECT_EQ(FoldCase(c.a).size(), std::string(c.a).size()) << c.a;
  }
  EXPECT_NE(FoldCase("е"), FoldCase("ё"));
  const std::string invalid = "A\xFF\xD0Z\xC0\x80";
  EXPECT_EQ(FoldCase(invalid), "a\xFF\xD0z\xC0\x80");
}

} // namespace
