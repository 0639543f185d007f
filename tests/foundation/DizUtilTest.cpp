// Tests of the text and number utilities of DizUtil.
#include "foundation/DizUtil.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

namespace {

TFormatSettings English() { return DefaultFormatSettings(); }

TFormatSettings German() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.DateSeparator = '.';
  return fs;
}

// Every test runs with the neutral English settings unless it switches them itself.
class DizUtilTest : public ::testing::Test {
protected:
  TFormatSettingsScope FScope{English()};
};

using StrFn = std::function<std::string(std::string)>;

template <void (*F)(std::string&)>
std::string InPlace(std::string s) {
  F(s);
  return s;
}

struct StrCase {
  const char* Name;
  StrFn Fn;
  std::string In;
  std::string Out;
};

// ---------------------------------------------------------------------------------------
// Line breaks and special characters

TEST_F(DizUtilTest, LineBreakConversions) {
  const StrCase cases[] = {
      {"CLFToLF", CLFToLF, "a\\nb\\n", "a\rb\r"},
      {"CLFToLF lone backslash", CLFToLF, "a\\b\\", "a\\b\\"},
      {"LFToCLF", LFToCLF, "a\r\nb\r\n", "a\\nb\\n"},
      {"LFToCLF lone LF dropped", LFToCLF, "a\nb", "ab"},
      {"LineFeedsToCSV plain", InPlace<LineFeedsToCSV>, "a", "\"a\""},
      {"LineFeedsToCSV pair", InPlace<LineFeedsToCSV>, "a\r\nb", "\"a\x0B" "b\""},
      {"LineFeedsToCSV lone CR kept", InPlace<LineFeedsToCSV>, "a\rb", "\"a\rb\""},
      {"LineFeedsToCSV empty", InPlace<LineFeedsToCSV>, "", "\"\""},
      {"LineFeedsToCSVNQ", InPlace<LineFeedsToCSVNQ>, "a\r\nb\rc", "a\nb\rc"},
      {"CSVToLineFeeds", InPlace<CSVToLineFeeds>, "a\x0B" "b", "a\r\nb"},
      {"CSVToLineFeeds none", InPlace<CSVToLineFeeds>, "a\"b", "a\"b"},
      {"LineFeedsToJava", InPlace<LineFeedsToJava>, "a\r\nb\n", "a~b"},
      {"JavaToLineFeeds", InPlace<JavaToLineFeeds>, "a~b", "a\r\nb"},
      {"JavaToLineFeeds caret", InPlace<JavaToLineFeeds>, "^", ""},
      {"JavaToLineFeeds caret inside", InPlace<JavaToLineFeeds>, "^^", "^^"},
      {"LineFeedsToXLS", LineFeedsToXLS, "a\r\nb\r", "a\nb"},
      {"CRToLF", CRToLF, "a\r\nb\r", "a\n\nb\n"},
      {"HTMLLineBreaks", HTMLLineBreaks, "a\r\nb", "a<br>\nb"},
      {"HTMLLineBreaks no CR", HTMLLineBreaks, "a\nb", "a\nb"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Fn(c.In), c.Out) << c.Name;
}

TEST_F(DizUtilTest, GetNextLineSplitsAtCrAndOneLf) {
  std::string s = "one\r\n\ntwo\rthree";
  EXPECT_EQ(GetNextLine(s, true), "one");
  EXPECT_EQ(s, "\ntwo\rthree");  // only one LF after the CR is taken
  EXPECT_EQ(GetNextLine(s, true), "\ntwo");
  EXPECT_EQ(s, "three");
  EXPECT_EQ(GetNextLine(s, true), "three");
  EXPECT_EQ(s, "");

  s = "one\r\ntwo";
  EXPECT_EQ(GetNextLine(s, false), "one");
  EXPECT_EQ(s, "");

  EXPECT_EQ(LinesInText("a\r\nb\r\nc", true), 3);
  EXPECT_EQ(LinesInText("a\r\nb\r\nc", false), 1);
  EXPECT_EQ(LinesInText("", true), 1);
}

// The old writer's form: CR -> 9, LF -> 8, NUL -> 1, applied only to texts with a CR.
TEST_F(DizUtilTest, FileToLfReadsTheOldForm) {
  EXPECT_EQ(FileToLf("a\x09\x08" "b\x09\x08\x01" "c", true), std::string("a\r\nb\r\n\0c", 8));
  EXPECT_EQ(FileToLf("a\x09\x08" "b", false), "a");
  // Without character 8 nothing is decoded.
  EXPECT_EQ(FileToLf("a\x09" "b\x01", true), "a\x09" "b\x01");
  // An ESC that no code follows stays.
  EXPECT_EQ(FileToLf("\x1B" "x\x09\x08", true), "\x1Bx\r\n");
  EXPECT_EQ(FileToLf("", false), "");
}

TEST_F(DizUtilTest, LfToFileKeepsCommonTextsAsBefore) {
  EXPECT_EQ(LfToFile("plain\ttext\x01"), "plain\ttext\x01");  // no line break: unchanged
  EXPECT_EQ(LfToFile(std::string("a\r\nb\0", 5)), "a\x09\x08" "b\x01");  // the old form
}

TEST_F(DizUtilTest, LfToFileAndFileToLfAreInverses) {
  using namespace std::string_literals;
  const std::string texts[] = {
      ""s,
      "plain"s,
      "a\r\nb"s,
      "tab\tand\r\npair"s,
      "lone\rCR"s,
      "\r"s,
      "lone\nLF"s,
      "nul\0and\r\n"s,
      "nul\0only"s,
      "bs\x08only"s,
      "bs\x08\r\nand pair"s,
      "soh\x01\r"s,
      "esc\x1B" "b\r\n\x1B\x08\x1B"s,
      "\t\x08\x01\x1B\r\n\0"s,
      "\x1B"s,
      "\x09\x08"s,
  };
  for (const auto& t : texts) {
    const std::string encoded = LfToFile(t);
    EXPECT_EQ(encoded.find('\r'), std::string::npos);
    EXPECT_EQ(encoded.find('\n'), std::string::npos);
    EXPECT_EQ(FileToLf(encoded, true), t) << "text of size " << t.size();
  }
  // With multiLine off only the first line comes back.
  EXPECT_EQ(FileToLf(LfToFile("a\tb\rc"), false), "a\tb");
}

// ---------------------------------------------------------------------------------------
// Quoting, searching and counting

TEST_F(DizUtilTest, Quoting) {
  EXPECT_EQ(CSVQuotes("a\"b\"\""), "a\"\"b\"\"\"\"");
  EXPECT_EQ(DoubleToSingleChar('"', "a\"\"b\""), "a\"b");
  EXPECT_EQ(DoubleToSingleChar('"', "\"\"\""), "\"");
  EXPECT_EQ(DoubleToSingleChar('"', "abc"), "abc");
}

TEST_F(DizUtilTest, SinglePosAndNumSingleChar) {
  struct Case {
    std::string S;
    int Pos;
    int Count;
  } cases[] = {
      {"", 0, 0},
      {"abc", 0, 0},
      {"a\"b", 2, 1},
      {"a\"\"b", 0, 0},         // an even run inside is no single
      {"a\"\"\"b", 4, 1},       // odd run: its last character
      {"ab\"", 3, 1},           // the last character
      {"ab\"\"", 4, 1},         // a run at the end counts whatever its length
      {"\"a\"\"b\"c", 1, 2},
      {"a\"\"b\"c\"", 5, 2},
  };
  for (const auto& c : cases) {
    int p = -7;
    EXPECT_EQ(SinglePos('"', c.S, p), c.Pos) << c.S;
    EXPECT_EQ(p, c.Pos) << c.S;
    EXPECT_EQ(NumSingleChar('"', c.S), c.Count) << c.S;
  }
}

TEST_F(DizUtilTest, Positions) {
  EXPECT_EQ(NumChar('a', "banana"), 3);
  EXPECT_EQ(NumCharInStr('x', "banana"), 0);
  EXPECT_EQ(CharPos('n', "banana"), 3);
  EXPECT_EQ(CharPos('x', "banana"), 0);

  int p = 42;
  EXPECT_EQ(VarCharPos('x', "banana", p), 0);
  EXPECT_EQ(p, 42);  // left alone when absent
  EXPECT_EQ(VarCharPos('n', "banana", p), 3);
  EXPECT_EQ(p, 3);

  p = 42;
  EXPECT_EQ(VarCharPosNC('N', "baNana", p), 3);
  EXPECT_EQ(p, 3);
  p = 42;
  EXPECT_EQ(VarCharPosNC('X', "banana", p), 0);
  EXPECT_EQ(p, 42);

  p = 42;
  EXPECT_EQ(VarPos("na", "banana", p), 3);
  EXPECT_EQ(p, 3);
  EXPECT_EQ(VarPos("xy", "banana", p), 0);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(VarPos("", "banana", p), 0);

  EXPECT_EQ(FIPos("NAN", "baNanA"), 3);
  EXPECT_EQ(FIPos("", "banana"), 0);
  EXPECT_EQ(FIPos("nan", "banana"), 0);  // sub is given upper-case
  EXPECT_EQ(FIPos("ПРИВЕТ", "привет мир"), 1);
  EXPECT_EQ(FIPos("МИР", "привет Мир"), 14);  // a byte position
  EXPECT_EQ(FIPos("ЁЖ", "ёж"), 1);
  EXPECT_EQ(FIPos("ΟΔΟΣ", "οδος"), 1);  // final sigma

  EXPECT_EQ(StrPosWide(u"на", u"банан"), 3);
  EXPECT_EQ(StrPosWide(u"", u"банан"), 0);
  EXPECT_EQ(StrPosWide(u"бананы", u"банан"), 0);
  EXPECT_EQ(StrPosWide(u"x", u"банан"), 0);
}

TEST_F(DizUtilTest, FirstCharSkipsQuotedText) {
  int p = 0;
  EXPECT_EQ(FirstChar("+-", "\"a+b\"-c+d", p), '-');
  EXPECT_EQ(p, 6);
  EXPECT_EQ(FirstChar("+-", "\"a+b-c", p), '\0');  // unterminated quote hides the rest
  EXPECT_EQ(p, -1);
  EXPECT_EQ(FirstChar("*", "", p), '\0');
  EXPECT_EQ(p, -1);
}

TEST_F(DizUtilTest, GetToken) {
  std::string s = "a,b,,c";
  EXPECT_EQ(GetToken(s, ','), "a");
  EXPECT_EQ(s, "b,,c");
  EXPECT_EQ(GetToken(s, ','), "b");
  EXPECT_EQ(GetToken(s, ','), "");
  EXPECT_EQ(s, "c");
  EXPECT_EQ(GetToken(s, ','), "");  // absent: empty answer, s unchanged
  EXPECT_EQ(s, "c");
}

TEST_F(DizUtilTest, StringListToTextJoinsLines) {
  TStringList list;
  EXPECT_EQ(StringListToText(&list), "");
  list.Add("ab");
  list.Add("");
  list.Add("c d");
  EXPECT_EQ(StringListToText(&list), "abc d");
  EXPECT_EQ(StringListToText(nullptr), "");
}

// ---------------------------------------------------------------------------------------
// Classification

TEST_F(DizUtilTest, TextType) {
  using namespace std::string_literals;
  struct Case {
    std::string S;
    bool AllowHTML;
    TTextType Type;
  } cases[] = {
      {"", true, ttText},
      {"plain", true, ttText},
      {"=A1+1", true, ttFormula},
      {"|\\\0A"s, true, ttUnicode},
      {"|\\\0=\0A"s, true, ttFormula},  // an encoded formula
      {"|\\\0="s, true, ttUnicode},     // '=' alone: the appended blank is no 0
      {"{\\rtf1}", true, ttRTF},
      {"a <B>bold</B>", true, ttHTML},
      {"a <B>bold</B>", false, ttText},
      {"<i>lower</i>", true, ttHTML},  // "</"
      {"<b>", true, ttText},           // case as written
      {"http://x.org", true, ttText},  // URLs are never classified here
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextType(c.S, c.AllowHTML), c.Type) << c.S << " html " << c.AllowHTML;
}

TEST_F(DizUtilTest, IsTypeEnglish) {
  struct Case {
    const char* S;
    TAutoType Type;
  } cases[] = {
      {"", atString},        {"12", atNumeric},       {"-12", atNumeric},
      {"-", atNumeric},      {"1,234.5", atFloat},    {"1,234,567.25", atFloat},
      {"0.5", atFloat},      {"1,23,4", atString},    {"1.2.3", atString},
      {"1e5", atScientific}, {"-1e-5", atScientific}, {"1E+5", atScientific},
      {"5-", atString},      {"e5", atString},        {"1e", atString},
      {"1e5e3", atString},   {"1,000e3", atString},   {"--1", atString},
      {"abc", atString},     {"12 ", atString},
  };
  for (const auto& c : cases) EXPECT_EQ(IsType(c.S), c.Type) << c.S;
}

TEST_F(DizUtilTest, IsTypeFollowsTheLocale) {
  TFormatSettingsScope scope(German());
  EXPECT_EQ(IsType("1.234,5"), atFloat);
  EXPECT_EQ(IsType("12,5"), atFloat);
  EXPECT_EQ(IsType("1,2,3"), atString);
  EXPECT_EQ(IsType("1.2.3"), atString);
}

TEST_F(DizUtilTest, SmallPredicates) {
  EXPECT_TRUE(CheckNum('0'));
  EXPECT_TRUE(CheckNum('9'));
  EXPECT_FALSE(CheckNum('-'));
  EXPECT_TRUE(CheckSignedNum('-'));
  EXPECT_FALSE(CheckSignedNum('+'));

  EXPECT_TRUE(IsURL("see http://x.org"));
  EXPECT_TRUE(IsURL("mailto:a@b.c"));
  EXPECT_FALSE(IsURL("www.x.org"));

  std::string s = "http://x.org/mailto:y";
  StripURLProtocol(s);
  EXPECT_EQ(s, "x.org/mailto:y");
  s = "write mailto:a@b.c";
  StripURLProtocol(s);
  EXPECT_EQ(s, "a@b.c");
  s = "www.x.org";
  StripURLProtocol(s);
  EXPECT_EQ(s, "www.x.org");

  EXPECT_TRUE(IsDateStr("1/2/3"));
  EXPECT_FALSE(IsDateStr("/1/2"));
  EXPECT_FALSE(IsDateStr("1//2"));
  EXPECT_FALSE(IsDateStr("1/2"));
  EXPECT_FALSE(IsDateStr("1.2.3"));
  TFormatSettingsScope scope(German());
  EXPECT_TRUE(IsDateStr("1.2.3"));
}

// ---------------------------------------------------------------------------------------
// Numbers and conversions

TEST_F(DizUtilTest, RemoveSepsEnglish) {
  struct Case {
    const char* S;
    const char* Out;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"$ -12", "-12"},
      {" 1,234.50 ", "1234.50"},
      {"(1,234)", "-1234"},
      {"(-5)", "-5"},
      {"USD 3.5e2 total", "3.5e2"},
      {"12abc34", "12"},
      {"-", "-"},
      {"+7", "7"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveSeps(c.S), c.Out) << c.S;
}

TEST_F(DizUtilTest, RemoveSepsGerman) {
  TFormatSettingsScope scope(German());
  EXPECT_EQ(RemoveSeps("(12,50 EUR)"), "-12.50");
  EXPECT_EQ(RemoveSeps("1.234.567,8"), "1234567.8");
  EXPECT_EQ(FixDecimalSeparator("1,5,6"), "1.5,6");
}

TEST_F(DizUtilTest, FixDecimalSeparatorEnglishUnchanged) {
  EXPECT_EQ(FixDecimalSeparator("1,5"), "1,5");
}

TEST_F(DizUtilTest, CheckLimitsAndMinMax) {
  struct Case {
    int Value, Min, Max, Out;
  } cases[] = {
      {5, 0, 0, 5}, {5, 10, 20, 10}, {25, 10, 20, 20}, {5, 0, 3, 3},
      {15, 10, 20, 15}, {5, 7, 7, 5}, {-5, -10, -1, -5},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckLimits(c.Value, c.Min, c.Max), c.Out) << c.Value << " " << c.Min << " " << c.Max;
  EXPECT_EQ(Max(-3, 2), 2);
  EXPECT_EQ(Min(-3, 2), -3);
}

TEST_F(DizUtilTest, ShortDates) {
  struct Case {
    const char* S;
    bool US;
    int Y, M, D;  // Y = 0: the answer is 0
  } cases[] = {
      {"12/31/99", true, 1999, 12, 31},
      {"1-2-3", true, 2003, 1, 2},
      {"1-2-3", false, 2003, 2, 1},
      {"31.12.25", false, 2025, 12, 31},
      {"31.12.26", false, 1926, 12, 31},
      {"2/29/2024", true, 2024, 2, 29},  // four-digit year taken as written
      {"29.2.2024", false, 2024, 2, 29},
      {"1/1/100", true, 100, 1, 1},
      {"1/1/0", true, 2000, 1, 1},
      {"12/31", true, 0, 0, 0},
      {"12 31 99", true, 0, 0, 0},
      {"a/1/99", true, 0, 0, 0},
      {"1/1/99x", true, 0, 0, 0},
      {"", true, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const TDateTime got = c.US ? StrToShortdateUS(c.S) : StrToShortDateEU(c.S);
    const TDateTime want = c.Y == 0 ? 0.0 : EncodeDate(c.Y, c.M, c.D);
    EXPECT_EQ(got, want) << c.S << (c.US ? " US" : " EU");
  }
  EXPECT_THROW(StrToShortdateUS("13/1/99"), EConvertError);
  EXPECT_THROW(StrToShortDateEU("30.2.99"), EConvertError);
  EXPECT_THROW(StrToShortDateEU("1.1.-5"), EConvertError);
}

TEST_F(DizUtilTest, GetNextDate) {
  struct Case {
    TDateTime From;
    uint16_t Years, Months, Days;
    TDateTime Step;
    TDateTime Want;
  } cases[] = {
      {EncodeDate(2024, 1, 31), 0, 0, 3, 7, EncodeDate(2024, 2, 3)},
      {EncodeDate(2024, 1, 31), 0, 0, 0, 7, EncodeDate(2024, 2, 7)},
      {EncodeDate(2024, 1, 31), 1, 1, 0, 7, EncodeDate(2024, 2, 7)},
      {EncodeDate(2024, 1, 31), 0, 1, 1, 7, EncodeDate(2024, 2, 7)},
      {EncodeDate(2023, 5, 15), 2, 0, 0, 0, EncodeDate(2025, 5, 15)},
      {EncodeDate(2024, 2, 29), 1, 0, 0, 0, EncodeDate(2025, 2, 28)},
      {EncodeDate(2024, 3, 15), 0, 2, 0, 0, EncodeDate(2024, 5, 15)},
      {EncodeDate(2024, 11, 15), 0, 3, 0, 0, EncodeDate(2025, 2, 15)},
      {EncodeDate(2024, 1, 31), 0, 1, 0, 0, EncodeDate(2024, 2, 29)},
      {EncodeDate(2023, 1, 31), 0, 1, 0, 0, EncodeDate(2023, 2, 28)},
      {EncodeDate(2024, 3, 31), 0, 1, 0, 0, EncodeDate(2024, 4, 30)},
      {EncodeDate(2024, 3, 15), 0, 14, 0, 0, EncodeDate(2025, 5, 15)},
      {EncodeDate(2024, 12, 1), 0, 12, 0, 0, EncodeDate(2025, 12, 1)},
      {EncodeDate(2024, 3, 15) + 0.25, 0, 1, 0, 0, EncodeDate(2024, 4, 15) + 0.25},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(GetNextDate(c.From, c.Years, c.Months, c.Days, c.Step), c.Want)
        << c.From << " y" << c.Years << " m" << c.Months << " d" << c.Days;
  EXPECT_THROW(GetNextDate(EncodeDate(9999, 6, 1), 1, 0, 0, 0), EConvertError);
}

TEST_F(DizUtilTest, WideStrings) {
  EXPECT_EQ(EncodeWideStr(u"A"), std::string("|\\\0A", 4));
  EXPECT_EQ(EncodeWideStr(u""), "|\\");
  EXPECT_EQ(DecodeWideStr(std::string("|\\\0A", 4)), u"A");
  const std::u16string texts[] = {u"", u"Газ №1", u"\U0001F600 emoji", std::u16string(u"\0x\xFFFF", 3)};
  for (const auto& t : texts) EXPECT_EQ(DecodeWideStr(EncodeWideStr(t)), t);
  EXPECT_EQ(DecodeWideStr(std::string("|\\\x04\x10\x04", 5)), u"А");  // odd last byte ignored
  EXPECT_EQ(DecodeWideStr("Газ"), u"Газ");
  EXPECT_EQ(DecodeWideStr("|"), u"|");
}

TEST_F(DizUtilTest, NameToCell) {
  struct Case {
    const char* S;
    bool Ok;
    int X, Y;
  } cases[] = {
      {"R2C3", true, 3, 2},     {"r10c2", true, 2, 10}, {"R1C", false, 0, 0},
      {"RC12", false, 0, 0},    {"R12", false, 0, 0},   {"X2C3", false, 0, 0},
      {"R2C3x", false, 0, 0},   {"RaC3", false, 0, 0},  {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    TPoint cell{-1, -1};
    EXPECT_EQ(NameToCell(c.S, cell), c.Ok) << c.S;
    if (c.Ok)
      EXPECT_EQ(cell, (TPoint{c.X, c.Y})) << c.S;
    else
      EXPECT_EQ(cell, (TPoint{-1, -1})) << c.S;
  }
}

TEST_F(DizUtilTest, ColourAndRectText) {
  EXPECT_EQ(HTMLColor(0x0000FF), "FF0000");
  EXPECT_EQ(HTMLColor(0x00FF8000), "0080FF");
  EXPECT_EQ(HTMLColor(static_cast<TColor>(0x8000000F)), "0F0000");  // system colours not resolved
  EXPECT_EQ(RectString(TRect{1, -2, 30, 400}), "[1:-2][30:400]");
}

TEST_F(DizUtilTest, ShiftCase) {
  struct Case {
    const char* S;
    const char* Out;
  } cases[] = {
      {"", ""},
      {"jOHN mcdonald iii", "John McDonald III"},
      {"mcdonald", "McDonald"},
      {"henry ii", "Henry II"},
      {"louis i", "Louis I"},
      {"o'neil-smith,jr.x", "O'Neil-Smith,Jr.X"},
      {"ab  cd", "Ab  Cd"},
      {"мир peace", "мир Peace"},  // letters beyond A-Z stay as they are
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftCase(c.S), c.Out) << c.S;
}

TEST_F(DizUtilTest, StringToPasswordMasksEachCharacter) {
  std::string s = "пароль1";
  StringToPassword(s, '*');
  EXPECT_EQ(s, "*******");
  s.clear();
  StringToPassword(s, '*');
  EXPECT_EQ(s, "");
}

TEST_F(DizUtilTest, OemConversion) {
  std::string s = "Газ A";
  StringToOem(s);
  EXPECT_EQ(s, "\x83\xA0\xA7 A");  // CP866
  OemToString(s);
  EXPECT_EQ(s, "Газ A");
}

}  // namespace
