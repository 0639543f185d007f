// Variants and their conversions, the currency type and the kept command line.
#include <gtest/gtest.h>

#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Variants.h"

namespace {

TEST(Variants, TypeCodes) {
  struct Case { Variant v; TVarType code; } cases[] = {
      {Variant(), varEmpty}, {Null(), varNull}, {Variant(int16_t(1)), varSmallint}, {Variant(1), varInteger},
      {Variant(1.0f), varSingle}, {Variant(1.0), varDouble}, {Variant(Currency(1)), varCurrency},
      {Variant::FromDateTime(1), varDate}, {Variant(std::u16string(u"w")), varOleStr}, {Variant(true), varBoolean},
      {Variant(int8_t(1)), varShortInt}, {Variant(uint8_t(1)), varByte}, {Variant(uint16_t(1)), varWord},
      {Variant(uint32_t(1)), varLongWord}, {Variant("s"), varString},
      {VarArrayOf({Variant(1)}), TVarType(varArray | varVariant)}};
  for (const Case& c : cases) EXPECT_EQ(VarType(c.v), c.code);
}

TEST(Variants, Conversions) {
  EXPECT_EQ(VarAsType(Variant(true), varInteger), Variant(-1));
  EXPECT_EQ(VarAsType(Variant(2.5), varInteger), Variant(2));  // halves to even
  EXPECT_EQ(VarAsType(Variant(3.5), varInteger), Variant(4));
  EXPECT_EQ(VarAsType(Variant("12"), varByte), Variant(uint8_t(12)));
  EXPECT_EQ(VarAsType(Variant(7), varString), Variant("7"));
  EXPECT_EQ(VarAsType(Variant(false), varString), Variant("False"));
  EXPECT_EQ(VarAsType(Variant("True"), varBoolean), Variant(true));
  EXPECT_EQ(VarAsType(Variant("1.5"), varCurrency), Variant(Currency::FromRaw(15000)));
  EXPECT_EQ(VarAsType(Variant(u"5"), varInteger), Variant(5));
  EXPECT_EQ(VarAsType(Variant(5), varVariant), Variant(5));
  EXPECT_THROW(VarAsType(Variant(300), varByte), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(-1), varLongWord), EVariantOverflowError);
  try {
    VarAsType(Variant("abc"), varInteger);
    FAIL();
  } catch (const EVariantTypeCastError& e) {
    EXPECT_EQ(e.Message(), "Could not convert variant of type (String) into type (Integer)");
  }
  EXPECT_THROW(VarAsType(Null(), varInteger), EVariantTypeCastError);
  EXPECT_THROW(VarAsType(Variant(), varShortInt), EVariantTypeCastError);
  EXPECT_THROW(VarAsType(VarArrayOf({}), varInteger), EVariantTypeCastError);
}

TEST(Variants, Arrays) {
  const Variant a = VarArrayOf({Variant(1), Variant("x"), Null()});
  EXPECT_EQ(VarArrayLowBound(a), 0);
  EXPECT_EQ(VarArrayHighBound(a), 2);
  EXPECT_EQ(VarArrayGet(a, 1), Variant("x"));
  EXPECT_TRUE(VarIsNull(VarArrayGet(a, 2)));
  EXPECT_THROW(VarArrayGet(a, 3), EVariantBadIndexError);
  EXPECT_THROW(VarArrayHighBound(Variant(1)), EVariantError);
}

TEST(Currency, TextConversions) {
  struct Case { const char* text; int64_t raw; } cases[] = {
      {"1.5", 15000},           {"-0.0001", -1},       {" 12 ", 120000},    {"0.00005", 0},
      {"0.00015", 2},           {"1.23456", 12346},    {"1E2", 1000000},    {"5.", 50000},
      {"922337203685477.5807", INT64_MAX}, {"-922337203685477.5808", INT64_MIN}, {"000.5", 5000}};
  for (const Case& c : cases) EXPECT_EQ(StrToCurr(c.text).Raw, c.raw) << c.text;
  const char* bad[] = {"", "x", "1.2.3", "922337203685477.5808", "1e", "--1", "1 2"};
  for (const char* text : bad) {
    Currency c;
    EXPECT_FALSE(TryStrToCurr(text, c)) << text;
  }
  EXPECT_THROW(StrToCurr("abc"), EConvertError);
  EXPECT_EQ(CurrToStr(Currency::FromRaw(15000)), "1.5");
  EXPECT_EQ(CurrToStr(Currency::FromRaw(-1)), "-0.0001");
  EXPECT_EQ(CurrToStr(Currency(3)), "3");
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  TFormatSettingsScope scope(fs);
  EXPECT_EQ(StrToCurr("2,25").Raw, 22500);
  Currency c;
  EXPECT_FALSE(TryStrToCurr("2.25", c));
  EXPECT_EQ(CurrToStr(Currency::FromRaw(22500)), "2,25");
  EXPECT_THROW(Currency::FromDouble(1e300), EOverflow);
}

TEST(CommandLine, KeptArgumentsAndText) {
  const char* argv[] = {"prog", "/FILE", "my file.txt", ""};
  SetCommandLine(4, argv);
  EXPECT_EQ(ParamCount(), 3);
  EXPECT_EQ(ParamStr(0), "prog");
  EXPECT_EQ(ParamStr(2), "my file.txt");
  EXPECT_EQ(ParamStr(4), "");
  EXPECT_EQ(ParamStr(-1), "");
  EXPECT_EQ(CmdLine(), "prog /FILE \"my file.txt\" \"\"");
  SetCmdLine("p  ab\"c d\"e \"\" x");
  EXPECT_EQ(ParamCount(), 2);
  EXPECT_EQ(ParamStr(1), "abc de");
  EXPECT_EQ(ParamStr(2), "x");
  EXPECT_EQ(SplitCmdLineText("  "), std::vector<std::string>{});
  EXPECT_EQ(SplitCmdLineText("\"a b"), std::vector<std::string>{"a b"});
  SetCmdLine("");
  EXPECT_EQ(ParamCount(), 0);
}

}  // namespace
