#include <gtest/gtest.h>

#include "platform/rtl/CodePage.h"

namespace {

TEST(CodePageTest, Cp1251RoundTripsCyrillic) {
  const std::string text = "Метан CH4 Ёё №";
  const std::string bytes = Utf8ToCodePage(CP_WIN1251, text);
  EXPECT_EQ(bytes, "\xCC\xE5\xF2\xE0\xED CH4 \xA8\xB8 \xB9");
  EXPECT_EQ(CodePageToUtf8(CP_WIN1251, bytes), text);
}

TEST(CodePageTest, EverySingleByteCodePageRoundTripsAllBytes) {
  for (int cp : {CP_WIN1251, CP_WIN1252, CP_OEM866, CP_KOI8R}) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = CodePageToUtf8(cp, all);
    EXPECT_EQ(Utf8ToCodePage(cp, utf8), all) << cp;
  }
}

TEST(CodePageTest, KnownCharactersOfEachCodePage) {
  struct Case { int cp; const char* bytes; const char* utf8; } cases[] = {
      {CP_WIN1252, "\x80\xE9\x9F", "€éŸ"},
      {CP_OEM866, "\x8C\xA5\xE2\xA0\xAD\xF0\xC9", "МетанЁ╔"},
      {CP_KOI8R, "\xED\xC5\xD4\xC1\xCE\xB3", "МетанЁ"},
      {CP_WIN1251, "\x98", "\xC2\x98"},  // undefined byte: the C1 control of the same value
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodePageToUtf8(c.cp, c.bytes), c.utf8) << c.cp;
    EXPECT_EQ(Utf8ToCodePage(c.cp, c.utf8), c.bytes) << c.cp;
  }
}

TEST(CodePageTest, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCodePage(CP_WIN1251, "aé€中😀"), "a?\x88??");
  EXPECT_EQ(Utf8ToCodePage(CP_WIN1252, "Жé"), "?\xE9");
  EXPECT_EQ(Utf8ToCodePage(CP_WIN1251, "a\xFF" "b"), "a?b");  // invalid UTF-8
}

TEST(CodePageTest, UnknownCodePageRaises) {
  EXPECT_THROW(Utf8ToCodePage(437, "x"), EConvertError);
  EXPECT_THROW(CodePageToUtf8(437, "x"), EConvertError);
  EXPECT_EQ(CodePageToUtf8(CP_UTF8, "ok\xC0"), "ok\xEF\xBF\xBD");
}

TEST(CodePageTest, Utf16Conversions) {
  const std::string text = "Aж€😀";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide, (std::u16string{u'A', u'ж', u'€', 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  // Lone surrogates become U+FFFD.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a\uFFFDb\uFFFD");
}

TEST(CodePageTest, InvalidUtf8BecomesReplacementCharacters) {
  struct Case { std::string in; std::u16string out; } cases[] = {
      {"\x80", u"\uFFFD"},
      {"a\xC3", u"a\uFFFD"},                    // truncated sequence
      {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xE2\x82x", u"\uFFFD\uFFFDx"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.in), c.out);
  EXPECT_EQ(Utf8Length("Метан"), 5u);
  EXPECT_EQ(Utf8Length("a\xFF" "b"), 3u);
}

} // namespace
