// VxCoreUtils text functions: characters and wide strings, string lists, words under a
// caret, fields, replacing, string functions, number bases, Roman numerals, wildcards
// and XOR coding.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "label/VxCoreUtils.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/TypInfo.h"

using namespace VxCoreUtils;

namespace {

std::unique_ptr<TStringList> Lines(std::initializer_list<const char*> items) {
  auto list = std::make_unique<TStringList>();
  for (const char* s : items) list->Add(s);
  return list;
}

std::vector<std::string> Items(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

TEST(VxCoreUtilsChars, SpacesPadByCodePoints) {
  EXPECT_EQ(Spaces(0), "");
  EXPECT_EQ(Spaces(-3), "");
  EXPECT_EQ(AddSpaces("abc", 2), "abc");
  EXPECT_EQ(AddSpaces("abc", 5), "abc  ");
  EXPECT_EQ(AddSpaces("абв", 5), "абв  ");  // three letters, six bytes
  EXPECT_EQ(AddSpacesW(u"ab", 4), u"ab  ");
  EXPECT_EQ(SpacesW(0), u"");
}

TEST(VxCoreUtilsChars, CharInSetWRefusesUnitsAbove255) {
  const TSysCharSet set{0x41};
  EXPECT_TRUE(CharInSetW(u'A', set));
  EXPECT_FALSE(CharInSetW(char16_t(0x0141), set));
}

TEST(VxCoreUtilsChars, StrPosWAndCaseInsensitiveCompare) {
  const char16_t* text = u"abc";
  EXPECT_EQ(StrPosW(text, u"ab"), text);
  EXPECT_EQ(StrPosW(text, u"bc"), text + 1);
  EXPECT_EQ(StrPosW(u"", u"a"), nullptr);
  EXPECT_EQ(StrPosW(text, nullptr), nullptr);
  EXPECT_EQ(StrPosW(u"abab", u"abc"), nullptr);
  EXPECT_EQ(StrLICompW2(u"ABCx", u"abcy", 3), 0);
  EXPECT_LT(StrLICompW2(u"ABCx", u"abcy", 4), 0);
  EXPECT_EQ(StrLICompW2(u"ПРИВЕТ", u"привет", 6), 0);
  EXPECT_EQ(TrimW(u" \t a b \n"), u"a b");
}

TEST(VxCoreUtilsChars, IntPowerWrapsWithoutOverflow) {
  struct Case { int base, exponent, result; } cases[] = {
      {2, 31, -2147483647 - 1}, {5, -1, 0}, {0, 0, 1}, {2, 32, 0}, {3, 4, 81}, {-2, 3, -8}, {7, 40, -142118463}};
  for (const Case& c : cases) EXPECT_EQ(IntPower(c.base, c.exponent), c.result) << c.base << "^" << c.exponent;
}

TEST(VxCoreUtilsChars, SqlAddWhereInsertsAtTheEndOfTheLastWhere) {
  auto sql = Lines({"select *", "from T", "where A=1", "order by B"});
  SQLAddWhere(sql.get(), "K=2");
  EXPECT_EQ(Items(*sql), (std::vector<std::string>{"select *", "from T", "where A=1", "and K=2", "order by B"}));

  auto upper = Lines({"select *", "WHERE A=1", "x=1", "GROUP by B"});
  SQLAddWhere(upper.get(), "K=2");
  EXPECT_EQ(upper->Get(3), "and K=2");

  // A keyword after spaces does not count: the line goes before the last line.
  auto indented = Lines({"select *", "  where A=1", "order by B"});
  SQLAddWhere(indented.get(), "K=2");
  EXPECT_EQ(indented->Get(2), "and K=2");

  TStringList empty;
  EXPECT_THROW(SQLAddWhere(&empty, "K=2"), Exception);
}

TEST(VxCoreUtilsChars, StringListHelpers) {
  auto list = Lines({"a", "  \t", ".", ""});
  DeleteEmptyLines(list.get());
  EXPECT_EQ(Items(*list), (std::vector<std::string>{"a", "."}));
  EXPECT_EQ(CountOfLines("a\r\nb\nc\r"), 3);
  EXPECT_EQ(CountOfLines("a\n"), 1);

  TStringList target;
  target.SetDelimiter(',');
  SetDelimitedText(&target, "x;y;z", ';');
  EXPECT_EQ(target.Count(), 3);
  EXPECT_EQ(target.Delimiter(), ',');
}

TEST(VxCoreUtilsChars, ClearListFreesItsObjects) {
  static int freed = 0;
  struct TCounted : TObject {
    ~TCounted() override { ++freed; }
  };
  TList list;
  for (int i = 0; i < 3; ++i) list.Add(new TCounted);
  ClearList(&list);
  EXPECT_EQ(freed, 3);
  EXPECT_EQ(list.Count(), 0);
  ClearList(nullptr);
}

TEST(VxCoreUtilsChars, ChangeTopExceptionSwapsWhatARaiseInTheHandlerPropagates) {
  EXPECT_EQ(ChangeTopException(std::make_exception_ptr(Exception("x"))), nullptr);
  try {
    try {
      throw EConvertError("first");
    } catch (...) {
      std::exception_ptr old = ChangeTopException(std::make_exception_ptr(EListError("second")));
      ASSERT_TRUE(old);
      try {
        std::rethrow_exception(old);
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "first");
      }
      ReRaiseException();
    }
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "second");
    return;
  }
  FAIL() << "the replacement was not raised";
}

// A component with one published property of each kind the lookups meet.
class TPropProbe : public TComponent {
  LORM_PUBLISHED(TPropProbe, TComponent)
public:
  explicit TPropProbe(TComponent* AOwner) : TComponent(AOwner) {}
  int FCount = 0;
  double FRatio = 0;
  std::string FText;
  std::u16string FWide;
  bool FFlag = false;
  TPropProbe* FLink = nullptr;
  std::function<void(TObject*)> FOnChange;
};

void TPropProbe::Publish(TClassBuilder<TPropProbe>& P) {
  P.Int("Count", &TPropProbe::FCount, &TPropProbe::FCount)
      .Float("Ratio", &TPropProbe::FRatio, &TPropProbe::FRatio)
      .Str("Text", &TPropProbe::FText, &TPropProbe::FText)
      .WStr("Wide", &TPropProbe::FWide, &TPropProbe::FWide)
      .Bool("Flag", &TPropProbe::FFlag, &TPropProbe::FFlag)
      .Component("Link", &TPropProbe::FLink, &TPropProbe::FLink)
      .Event("OnChange", &TPropProbe::FOnChange);
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "";
}

TEST(VxCoreUtilsChars, PublishedPropertiesByName) {
  TComponent owner(nullptr);
  auto* a = new TPropProbe(&owner);
  auto* b = new TPropProbe(&owner);
  new TComponent(&owner);  // no such property: skipped
  a->FText = "abc";
  a->FWide = u"жук";
  a->FLink = b;
  a->FFlag = true;
  int calls = 0;
  a->FOnChange = [&](TObject*) { ++calls; };
  SetChildPropOrd(&owner, "Count", 7);
  EXPECT_EQ(a->FCount, 7);
  EXPECT_EQ(b->FCount, 7);
  EXPECT_EQ(GetPropType(a, "Count"), tkInteger);
  EXPECT_EQ(GetPropType(a, "Missing"), tkUnknown);
  EXPECT_EQ(GetPropOrd(a, "Count"), 7);
  EXPECT_EQ(GetPropOrd(a, "Flag"), 1);
  EXPECT_EQ(GetPropOrd(a, "Link"), static_cast<int64_t>(reinterpret_cast<intptr_t>(b)));
  EXPECT_EQ(GetPropStr(a, "Text"), "abc");
  EXPECT_EQ(GetPropStr(a, "Wide"), "жук");
  std::any event = GetPropMethod(a, "OnChange");
  std::any_cast<std::function<void(TObject*)>>(event)(a);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ErrorOf([&] { GetPropOrd(a, "Ratio"); }), "Exception: Property \"Ratio\" has invalid type");
  EXPECT_EQ(ErrorOf([&] { GetPropStr(a, "Count"); }), "Exception: Property \"Count\" has invalid type");
  EXPECT_EQ(ErrorOf([&] { GetPropMethod(a, "Text"); }), "Exception: Property \"Text\" has invalid type");
  EXPECT_EQ(ErrorOf([&] { GetPropStr(a, "nope"); }), "Exception: Property \"nope\" does not exist");
  EXPECT_EQ(ErrorOf([] { Error("plain"); }), "Exception: plain");
}

// --- words and positions ---------------------------------------------------------------

TEST(VxCoreUtilsWords, GetWordOnPos) {
  struct Case { const char* s; int p; const char* word; } cases[] = {
      {"hello world", 3, "hello"}, {"hello world", 6, " "}, {"hello world", 11, "world"},
      {"hello world", 0, ""},      {"hello world", 12, ""}, {"a.b", 2, "."},
      {"привет мир", 3, "привет"}};
  for (const Case& c : cases) EXPECT_EQ(GetWordOnPos(c.s, c.p), c.word) << c.s << " @" << c.p;
  EXPECT_EQ(GetWordOnPosW(u"hello world", 8), u"world");
}

TEST(VxCoreUtilsWords, GetWordOnPos2) {
  struct Case { const char* s; int p; const char* word; int start, end; } cases[] = {
      {"hello world", 3, "hello", 1, 6},
      {"hello world", 6, " ", 7, 6},        // a separator after a word
      {"ab  cd", 4, "cd", 5, 7},            // two separators: one to the right
      {"hello", 6, "hello", 1, 6},          // just after the last word
  };
  for (const Case& c : cases) {
    int start = -9, end = -9;
    EXPECT_EQ(GetWordOnPos2(c.s, c.p, start, end), c.word) << c.s << " @" << c.p;
    EXPECT_EQ(start, c.start) << c.s << " @" << c.p;
    EXPECT_EQ(end, c.end) << c.s << " @" << c.p;
  }
  int start = -9, end = -9;
  EXPECT_EQ(GetWordOnPos2("abc", 0, start, end), "");
  EXPECT_EQ(start, -9);
  EXPECT_EQ(GetWordOnPos2("abc", 50, start, end), "");
}

TEST(VxCoreUtilsWords, GetWordOnPosEx) {
  struct Case { const char* s; int p; const char* word; int start, end; } cases[] = {
      {"hello world", 6, "hello", 1, 6}, {"hello world", 3, "hello", 1, 6},
      {"hello world", 7, "world", 7, 12}, {"a  b", 3, " ", 4, 3}};
  for (const Case& c : cases) {
    int start = -9, end = -9;
    EXPECT_EQ(GetWordOnPosEx(c.s, c.p, start, end), c.word) << c.s << " @" << c.p;
    EXPECT_EQ(start, c.start) << c.s << " @" << c.p;
    EXPECT_EQ(end, c.end) << c.s << " @" << c.p;
  }
}

TEST(VxCoreUtilsWords, GetNextWordPosEx) {
  struct Case { const char* s; int p; const char* word; int start, end; } cases[] = {
      {"hello world", 6, "world", 7, 11}, {"hello world", 2, "hello", 1, 5},
      {"a  b", 2, "", 3, 2}, {"a  b", 3, "b", 4, 4}, {"abc", 3, "abc", 1, 3}};
  for (const Case& c : cases) {
    int start = -9, end = -9;
    EXPECT_EQ(GetNextWordPosEx(c.s, c.p, start, end), c.word) << c.s << " @" << c.p;
    EXPECT_EQ(start, c.start) << c.s << " @" << c.p;
    EXPECT_EQ(end, c.end) << c.s << " @" << c.p;
  }
  int start = 0, end = 0;
  EXPECT_EQ(GetNextWordPosExW(u"hello world", 6, start, end), u"world");
  EXPECT_EQ(start, 7);
  EXPECT_EQ(end, 11);
  EXPECT_EQ(GetNextWordPosEx("abc", 4, start, end), "");
}

TEST(VxCoreUtilsWords, LinesAndColumns) {
  int x = 0, y = 0;
  GetXYByPos("abc", 2, x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 0);
  GetXYByPos("ab\ncd", 5, x, y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 1);
  GetXYByPos("ab", 3, x, y);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  GetXYByPosW(u"ab\ncd", 5, x, y);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(GetLineByPos("a\nb\nc", 5), 0);
  EXPECT_EQ(GetLineByPos("a\r\nb", 4), 1);
  EXPECT_EQ(GetLineByPos("ab", 3), -1);
  GetEndPosCaret("xy", 5, 2, x, y);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 2);
  const char* text = "ab;cd";
  const char* stop = nullptr;
  EXPECT_EQ(SubWord(text, stop), "ab");
  EXPECT_EQ(stop, text + 2);
}

TEST(VxCoreUtilsWords, FieldsAtASeparator) {
  struct Case { const char* s; int index; const char* sep; const char* field; } cases[] = {
      {"a;b;c", 0, ";", "a"}, {"a;b;c", 1, ";", "b"}, {"a;b;c", 2, ";", "c"}, {"a;b;c", 3, ";", ""},
      {"a;;c", 1, ";", ""},   {"a;;c", 2, ";", "c"},  {";a", 0, ";", ""},     {"a;b", -1, ";", ""},
      {"a;b", 0, "", ""},     {"a::b::c", 2, "::", "c"}, {"a;b;", 2, ";", ""}};
  for (const Case& c : cases) EXPECT_EQ(SubStr(c.s, c.index, c.sep), c.field) << c.s << " #" << c.index;
  EXPECT_EQ(SubStrW(u"a;b;c", 1, u";"), u"b");
  EXPECT_EQ(SubStrEnd("a;b;c", 0, ";"), "c");
  EXPECT_EQ(SubStrEnd("a;b;c", 2, ";"), "a");
}

TEST(VxCoreUtilsWords, ReplacingNeverSearchesInsertedText) {
  EXPECT_EQ(ReplaceString("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceString("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceStringW(u"aaa", u"a", u"aa"), u"aaaaaa");
  EXPECT_EQ(ReplaceStr("aaa", "aa", "a"), "aa");

  auto words = Lines({"teh", "adn"});
  auto phrases = Lines({"the", "and"});
  int caret = 0;
  EXPECT_EQ(ReplaceStrings("see teh cat", 8, 0, words.get(), phrases.get(), caret), "see the cat");
  EXPECT_EQ(caret, 8);
  EXPECT_EQ(ReplaceStrings("teh", 1, 0, words.get(), phrases.get(), caret), "the");
  EXPECT_EQ(ReplaceStrings("xadny", 2, 3, words.get(), phrases.get(), caret), "xandy");
  EXPECT_EQ(caret, 5);
  EXPECT_EQ(ReplaceStrings("none", 3, 0, words.get(), phrases.get(), caret), "none");
  EXPECT_EQ(ReplaceAllStrings("teh adn teh", words.get(), phrases.get()), "the and the");
  auto shortPhrases = Lines({"the"});
  EXPECT_THROW(ReplaceAllStrings("adn", words.get(), shortPhrases.get()), Exception);
}

TEST(VxCoreUtilsWords, JoiningAndShortening) {
  EXPECT_EQ(ConcatSep("", "x", ";"), "x");
  EXPECT_EQ(ConcatSep("a", "x", ";"), "a;x");
  EXPECT_EQ(ConcatLeftSep("a", "x", ";"), "x;a");
  EXPECT_EQ(MinimizeString("abcdefgh", 5), "ab...");
  EXPECT_EQ(MinimizeString("abcdefgh", 2), "ab");
  EXPECT_EQ(MinimizeString("abcdefgh", 8), "abcdefgh");
  EXPECT_EQ(MinimizeString("абвгдежз", 5), "аб...");
}

// --- string functions ------------------------------------------------------------------

TEST(VxCoreUtilsStrings, HexadecimalBuffers) {
  unsigned char buffer[4] = {};
  EXPECT_EQ(BinStrToBuf("ABC", buffer, 4), 2);
  EXPECT_EQ(buffer[0], 0x0A);
  EXPECT_EQ(buffer[1], 0xBC);
  EXPECT_EQ(BufToBinStr(buffer, 2), "0ABC");
  EXPECT_EQ(BufToBinStr(buffer, 0), "");
  EXPECT_EQ(BinStrToBuf("a1b2c3", buffer, 2), 2);
  EXPECT_THROW(BinStrToBuf("zz", buffer, 4), EConvertError);
}

TEST(VxCoreUtilsStrings, OccurrencesAndCutting) {
  EXPECT_EQ(NPos("aa", "aaa", 2), 2);
  EXPECT_EQ(NPos("aa", "aaa", 3), 0);
  EXPECT_EQ(NPos("", "aaa", 1), 0);
  EXPECT_EQ(NPos("b", "abcb", 0), 0);
  std::string s = "abc; def";
  EXPECT_EQ(Copy2SymbDel(s, ';'), "abc");
  EXPECT_EQ(s, "; def");
  s = "abc  def";
  EXPECT_EQ(Copy2SymbDel(s, ' '), "abc");
  EXPECT_EQ(s, "def");
  EXPECT_EQ(StrDelete("ab", "aABb"), "");
  EXPECT_EQ(StrDelete("", "abc"), "abc");
  EXPECT_EQ(FindNotBlankCharPos("   "), 4);
  EXPECT_EQ(FindNotBlankCharPosW(u"  x"), 3);
}

TEST(VxCoreUtilsStrings, PaddingNeverShortens) {
  EXPECT_EQ(VxCoreUtils::LeftStr("abcdef", 3), "abcdef");
  EXPECT_EQ(VxCoreUtils::LeftStr("ab", 4), "ab  ");
  EXPECT_EQ(VxCoreUtils::RightStr("ab", 4), "  ab");
  EXPECT_EQ(AddChar('0', "7", 3), "007");
  EXPECT_EQ(AddCharR('.', "ё", 3), "ё..");
  EXPECT_EQ(CenterStr("ab", 6), "  ab  ");
  EXPECT_EQ(CenterStr("abc", 6), "  abc ");
  EXPECT_EQ(CenterStr("abc", 2), "abc");
  EXPECT_EQ(MakeStr('x', 3), "xxx");
  EXPECT_EQ(MakeStr(u'ж', 2), u"жж");
  EXPECT_EQ(Tab2Space("a\tb", 2), "a  b");
  EXPECT_EQ(DelSpace1("a   b  c"), "a b c");
  EXPECT_EQ(DelRSpace("  a b \t "), "a b \t");
}

TEST(VxCoreUtilsStrings, WordsAndFields) {
  const TSysCharSet comma{','};
  EXPECT_EQ(ExtractDelimited(2, "a,,b", comma), "");
  EXPECT_EQ(ExtractDelimited(3, "a,,b", comma), "b");
  EXPECT_EQ(ExtractDelimited(4, "a,,b", comma), "");
  EXPECT_EQ(ExtractWord(2, "a,,b", comma), "b");
  EXPECT_EQ(WordCount(",a,,b,", comma), 2);
  EXPECT_EQ(WordPosition(2, ",a,,b,", comma), 5);
  EXPECT_EQ(WordPosition(0, "a", comma), 0);
  int pos = 0;
  EXPECT_EQ(ExtractWordPos(3, "a,b", comma, pos), "");
  EXPECT_EQ(pos, 0);
  pos = 1;
  EXPECT_EQ(ExtractSubstr("ab;cd", pos, TSysCharSet{';'}), "ab");
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(ExtractSubstr("ab;cd", pos, TSysCharSet{';'}), "cd");
  EXPECT_EQ(pos, 6);
  EXPECT_TRUE(IsWordPresent("b", "a b c", TSysCharSet{' '}));
  EXPECT_FALSE(IsWordPresent("B", "a b c", TSysCharSet{' '}));
  EXPECT_EQ(AnsiProperCase("hELLO wORLD", TSysCharSet{' '}), "Hello World");
  EXPECT_EQ(AnsiProperCase("пРИВЕТ мИР", TSysCharSet{' '}), "Привет Мир");
}

TEST(VxCoreUtilsStrings, CaseAndComparison) {
  EXPECT_EQ(AnsiChangeCase("aBc Жж1"), "AbC жЖ1");
  EXPECT_EQ(WideChangeCase(u"aB"), u"Ab");
  EXPECT_EQ(AnsiUpperFirstChar("hELLO"), "Hello");
  EXPECT_EQ(AnsiUpperFirstChar(""), "");
  EXPECT_EQ(CompStr("a", "b"), -1);
  EXPECT_EQ(CompStr("b", "a"), 1);
  EXPECT_EQ(CompStr("a", "a"), 0);
  EXPECT_EQ(CompText("ABC", "abc"), 0);
  EXPECT_TRUE(StringStartsWith("abc", ""));
  EXPECT_TRUE(StringStartsWith("Hello", "HE"));
  EXPECT_FALSE(StringEndsWith("abc", ""));
  EXPECT_FALSE(StringEndsWith("bc", "abc"));
  EXPECT_TRUE(StringEndsWith("readme.TXT", ".txt"));
  // Not from the middle of a character: the second byte of "ж" is no start.
  EXPECT_FALSE(StringEndsWith("ж", std::string("ж").substr(1)));
}

TEST(VxCoreUtilsStrings, NumbersAsTextAndSmallConversions) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"1234", "1,234"}, {"123", "123"}, {"-1234", "-1,234"}, {"123.45", "123,.45"}, {"1234567", "1,234,567"}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(Numb2USA(c.in), c.out) << c.in;
  EXPECT_EQ(DropT("TForm"), "Form");
  EXPECT_EQ(DropT("T"), "T");
  EXPECT_EQ(DropT(""), "");
  EXPECT_EQ(GetChangedText("abcd", 1, 2, 'x'), "axd");
  EXPECT_EQ(GetChangedText("abcd", 4, 0, '\0'), "abcd");
  EXPECT_EQ(QuotedString("It's", '\''), "'It''s'");
  EXPECT_EQ(ExtractQuotedString("'It''s'", '\''), "It's");
  EXPECT_EQ(ExtractQuotedString("plain", '\''), "plain");
  EXPECT_TRUE(IsEmptyStr("  \t", TSysCharSet{' ', '\t'}));
  EXPECT_TRUE(IsEmptyStr("", TSysCharSet{}));
  char* copy = StrPAlloc("abc");
  EXPECT_STREQ(copy, "abc");
  StrPFree(copy);
  EXPECT_EQ(OemToAnsiStr(StrToOem("Привет")), "Привет");
  EXPECT_EQ(StrToOem("А"), "\x80");
}

// --- number bases, Roman numerals, wildcards, XOR coding -------------------------------

TEST(VxCoreUtilsNumbers, Bases) {
  EXPECT_EQ(Dec2Numb(255, 4, 16), "00FF");
  EXPECT_EQ(Dec2Numb(0, 0, 16), "0");
  EXPECT_EQ(Dec2Numb(-1, 0, 16), "FFFFFFFF");
  EXPECT_EQ(Dec2Numb(35, 0, 36), "Z");
  EXPECT_EQ(Dec2Numb(5, 0, 2), "101");
  // A base below 2 writes nothing instead of dividing by zero or never ending.
  EXPECT_EQ(Dec2Numb(5, 3, 0), "");
  EXPECT_EQ(Dec2Numb(5, 3, 1), "");
  EXPECT_EQ(Numb2Dec("ff", 16), 255);
  EXPECT_EQ(Numb2Dec("FFFFFFFF", 16), -1);
  EXPECT_EQ(Numb2Dec("zzzzzzzzzz", 36), -1190133761);  // 36^10 - 1 wrapped at 32 bits
  EXPECT_EQ(Dec2Hex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(Dec2Hex(10, 4), "000A");
  EXPECT_EQ(Hex2Dec("ff"), 255);
  EXPECT_EQ(Hex2Dec("$FF"), 255);
  EXPECT_EQ(Hex2Dec("xyz"), 0);
  EXPECT_EQ(Hex2Dec("1$F"), 0);
}

TEST(VxCoreUtilsNumbers, RomanNumerals) {
  struct Case { const char* roman; int value; } toInt[] = {
      {"mcmxcix", 1999}, {"-XL", -40}, {"ABC", 0}, {"", 0}, {"IIV", 5}, {"IM", 999}, {"MMMM", 4000}, {"-", 0}};
  for (const Case& c : toInt) EXPECT_EQ(RomanToInt(c.roman), c.value) << c.roman;
  struct Back { int value; const char* roman; } toRoman[] = {
      {1999, "MCMXCIX"}, {4, "IV"}, {0, ""}, {-5, ""}, {3888, "MMMDCCCLXXXVIII"}, {444, "CDXLIV"}, {9, "IX"}};
  for (const Back& c : toRoman) EXPECT_EQ(IntToRoman(c.value), c.roman) << c.value;
}

TEST(VxCoreUtilsNumbers, BinaryDigitGroups) {
  EXPECT_EQ(IntToBin(5, 8, 4), " 0000 0101");
  EXPECT_EQ(IntToBin(5, 6, 4), "00 0101");
  EXPECT_EQ(IntToBin(5, 0, 4), "");
  EXPECT_EQ(IntToBin(-1, 40, 8).size(), 36u);
  // Groups below one digit: no spaces rather than a division by zero.
  EXPECT_EQ(IntToBin(5, 4, 0), "0101");
  EXPECT_EQ(IntToBin(5, 4, -2), "0101");
}

TEST(VxCoreUtilsNumbers, Wildcards) {
  struct Case { const char* s; const char* pattern; bool ignoreCase; bool match; } cases[] = {
      {"readme.txt", "*.TXT", false, false}, {"readme.txt", "*.TXT", true, true},
      {"readme.txt", "r??dme.*", false, true}, {"readme.txt", "*me*x*", false, true},
      {"abc", "a*b*b*c", false, false},      {"ab", "ab?*", false, true},
      {"b", "*zb", false, false},            {"abc", "abc", false, true},
      {"abc", "**", false, true},            {"", "a", false, false},
      {"abc", "a?", false, false},           {"a*c", "a*c", false, true},
      {"abcd", "a**d", false, true},         {"привет", "при*", false, true},
      {"ПРИВЕТ", "*вет", true, true}};
  for (const Case& c : cases)
    EXPECT_EQ(IsWild(c.s, c.pattern, c.ignoreCase), c.match) << c.s << " ~ " << c.pattern;
  EXPECT_EQ(FindPart("c?e", "abcde"), 3);
  EXPECT_EQ(FindPart("cd", "abcde"), 3);
  EXPECT_EQ(FindPart("", "abc"), 0);
  EXPECT_EQ(FindPart("??????", "abc"), 0);
}

TEST(VxCoreUtilsNumbers, XorCoding) {
  EXPECT_EQ(XorEncode("", "AZ"), "415a");
  const std::string keys[] = {"k", "key", "a much longer key than the text"};
  for (const std::string& key : keys) {
    const std::string text = "Secret text, ёж";
    const std::string encoded = XorEncode(key, text);
    EXPECT_EQ(encoded.size(), text.size() * 2);
    EXPECT_EQ(XorDecode(key, encoded), text);
    EXPECT_EQ(XorString(key, XorString(key, text)), text);
  }
  EXPECT_EQ(XorEncode("k", "a"), XorEncode("", std::string(1, 'a' ^ 'k')));
  EXPECT_EQ(XorDecode("", "4g4"), " ");  // not hexadecimal: a space; a last odd digit ignored
  EXPECT_EQ(XorString("", "abc"), "abc");
}

}  // namespace
