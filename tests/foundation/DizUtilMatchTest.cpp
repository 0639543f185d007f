// Filter expressions: operators left to right, groups, comparisons by number, date and
// text, wildcards, case folding, and the inputs that must end without reading too far.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "foundation/DizUtil.h"
#include "platform/rtl/FormatSettings.h"

namespace {

struct Case {
  const char* Expr;
  const char* Text;
  bool Expect;
};

TEST(FilterExpression, TableOfCases) {
  const Case cases[] = {
      {"a|b&c", "c", false},  // (a or b) and c: "c" is neither a nor b
      {"a|b&c", "a", false},
      {"a&b|c", "c", true},   // (a and b) or c
      {"(a|b)&c", "a", false},
      {"c&(a|b)", "a", false},
      {"(a|b)|c", "b", true},
      {"x(a)", "x", true},
      {"x(a)", "a", false},
      {"=abc", "abc", true},
      {"=", "", true},
      {"=", "x", false},
      {"a b", "ab", true},
      {">5", "7", true},
      {">5", "3", false},
      {">5", "abc", true},
      {"\">5&<10\"", "7", true},
      {"\">5&<10\"", "10", false},
      {"*.txt", "a.txt", true},
      {"*.txt", ".txt", true},
      {"a*a", "a", false},
      {"a*a", "aba", true},
      {"?", "", false},
      {"?b", "ab", true},
      {"!abc", "abc", false},
      {"!abc", "abd", true},
      {"\\*", "*", true},
      {"\\*", "a", false},
      {">=\"a b\"", "a b", true},
      {">\"a b\"", "a c", true},
      {">\"a b\"", "a a", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchStrEx(c.Expr, c.Text, true), c.Expect) << c.Expr << " / " << c.Text;
}

TEST(FilterExpression, QuotedBlankKeptOnlyAfterGreater) {
  // After '>' the operand is "a b": "a c" is greater. After '<' it is cut to "a":
  // "a c" is not less than "a", while "<" with the full operand would hold for "a a".
  EXPECT_TRUE(Matches(">\"a b\"", "a c"));
  EXPECT_FALSE(Matches("<\"a b\"", "a a"));
  EXPECT_TRUE(Matches("<\"a b\"", "\x20"));
}

TEST(FilterExpression, LocaleNumbersAndDates) {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.DateSeparator = '.';
  fs.ShortDateFormat = "dd.MM.yyyy";
  TFormatSettingsScope scope(fs);
  EXPECT_TRUE(MatchStrEx(">=10", "1.234,5", true));
  EXPECT_FALSE(MatchStrEx(">=10", "9,5", true));
  EXPECT_TRUE(MatchStrEx("<01.02.2024", "31.01.2024", true));
  EXPECT_FALSE(MatchStrEx("<01.02.2024", "02.02.2024", true));
  EXPECT_TRUE(MatchStrEx("<01.02.2024 10:00", "01.02.2024 09:59", true));
}

TEST(FilterExpression, CaseFoldingCoversCyrillic) {
  EXPECT_TRUE(MatchStrEx("ABC", "abc", false));
  EXPECT_FALSE(MatchStrEx("ABC", "abc", true));
  EXPECT_TRUE(MatchStrEx("*ПРИВЕТ*", "скажи привет", false));
  EXPECT_TRUE(MatchStrEx("ёж", "ЁЖ", false));
}

TEST(FilterExpression, ManyStarsEndAtOnce) {
  const std::string text(10000, 'a');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Matches("*a*a*a*a*b", text));
  EXPECT_TRUE(Matches("*a*a*a*a*", text));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_LT(ms.count(), 1000);
}

TEST(FilterExpression, MalformedInputEnds) {
  // An unclosed group is evaluated as a group up to the end.
  EXPECT_TRUE(MatchStrEx("(a|b", "b", true));
  EXPECT_FALSE(MatchStrEx("(a|b", "c", true));
  EXPECT_TRUE(MatchStrEx("((", "", true));
  // A lone escape at the end stands for itself and reads nothing beyond.
  EXPECT_TRUE(Matches("a\\", "a\\"));
  EXPECT_FALSE(Matches("a\\", "a"));
  // A comparison with no operand compares against the empty text.
  EXPECT_TRUE(MatchStrEx(">", "x", true));
  EXPECT_FALSE(MatchStrEx("<", "x", true));
}

}  // namespace
