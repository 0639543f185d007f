#include "app/Class_myrecord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
struct TextCase {
  const char* label;
  std::string text;
  std::size_t storedBytes; // bytes before the zero padding, within a 30-byte field
  std::string readBack;
};
} // namespace

TEST(TMyRecord, NameFieldStoresUpTo30BytesOfWindows1251) {
  const std::string latin35(35, 'x');
  const std::string cyrillic31 = [] {
    std::string s;
    for (int i = 0; i < 31; ++i) s += "ж";
    return s;
  }();
  const TextCase cases[] = {
      {"short", "abc", 3, "abc"},
      {"exactly 30", std::string(30, 'n'), 30, std::string(30, 'n')},
      {"longer than 30", latin35, 30, std::string(30, 'x')},
      {"cyrillic counts one byte a letter", cyrillic31, 30, cyrillic31.substr(0, 60)},
      {"empty", "", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    TMyRecord record;
    record.SetFields(c.text, "f", 1, 2, 3, 4);
    char name[30], formula[10];
    float d, h, k, v;
    record.GetFields(name, formula, d, h, k, v);
    for (std::size_t i = 0; i < 30; ++i) {
      if (i < c.storedBytes) EXPECT_NE(name[i], 0) << i;
      else EXPECT_EQ(name[i], 0) << i;
    }
    EXPECT_EQ(record.GetName(), c.readBack);
  }
}

TEST(TMyRecord, FormulaFieldIsTenBytesAndCyrillicIsStoredIn1251) {
  TMyRecord record;
  record.SetFields("Метан", "CH4CH4CH4CH4", 0.717f, 2.22f, 30.6f, 10.3f);
  char name[30], formula[10];
  float d, h, k, v;
  record.GetFields(name, formula, d, h, k, v);
  EXPECT_EQ(std::string(formula, 10), "CH4CH4CH4C");
  EXPECT_EQ(record.GetFormula(), "CH4CH4CH4C");
  EXPECT_EQ(static_cast<unsigned char>(name[0]), 0xCC); // 'М' in Windows-1251
  EXPECT_EQ(name[5], 0);
  EXPECT_EQ(record.GetName(), "Метан");
  EXPECT_EQ(d, 0.717f);
  EXPECT_EQ(v, 10.3f);
}

TEST(TMyRecord, ImageIsLittleEndianAndRoundTripsBitForBit) {
  TMyRecord record;
  record.SetFields("Gas", "X", 1.0f, -2.5f, 0.1f, 1e-30f);
  unsigned char image[56];
  record.ToImage(image);
  EXPECT_EQ(image[0], 'G');
  // 1.0f is 0x3F800000, stored low byte first at offset 40.
  EXPECT_EQ(image[40], 0x00);
  EXPECT_EQ(image[43], 0x3F);
  const TMyRecord back = TMyRecord::FromImage(image);
  unsigned char again[56];
  back.ToImage(again);
  EXPECT_EQ(std::memcmp(image, again, 56), 0);
}
