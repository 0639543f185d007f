// The theme in force: the colour scheme it answers and the change handler of the window
// system.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/UxTheme.h"

namespace {

class GdiThemeState : public ::testing::Test {
protected:
  int Changes = 0;
  void SetUp() override {
    SetThemeChangeHandler([this] { ++Changes; });
  }
  void TearDown() override {
    SetThemeChangeHandler(nullptr);
    SetThemeActive(true);
    SetThemeColorScheme("NormalColor");
  }
  static std::u16string Scheme(int size = 64) {
    char16_t buffer[64] = {};
    if (GetCurrentThemeName(nullptr, 0, buffer, size, nullptr, 0) != S_OK) return u"(failed)";
    return buffer;
  }
};

TEST_F(GdiThemeState, CurrentThemeNameAnswersTheSchemeInForce) {
  EXPECT_EQ(Scheme(), u"NormalColor");
  SetThemeColorScheme("Metallic");
  EXPECT_EQ(Scheme(), u"Metallic");
  EXPECT_EQ(GetThemeColorScheme(), "Metallic");
  EXPECT_EQ(Scheme(4), u"Met");  // truncated to the buffer
  SetThemeColorScheme("Синяя");  // text beyond ASCII keeps its characters
  EXPECT_EQ(Scheme(), u"Синяя");
  SetThemeActive(false);
  EXPECT_EQ(Scheme(), u"(failed)");
  EXPECT_EQ(GetThemeColorScheme(), "Синяя");  // kept for when themes come back
}

TEST_F(GdiThemeState, HandlerHearsOfEveryRealChangeOnly) {
  struct Step {
    const char* What;
    void (*Do)();
    int Changes;  // total after the step
  } steps[] = {
      {"same scheme", [] { SetThemeColorScheme("NormalColor"); }, 0},
      {"new scheme", [] { SetThemeColorScheme("HomeStead"); }, 1},
      {"same again", [] { SetThemeColorScheme("HomeStead"); }, 1},
      {"still on", [] { SetThemeActive(true); }, 1},
      {"off", [] { SetThemeActive(false); }, 2},
      {"off by EnableTheming", [] { EnableTheming(FALSE); }, 2},
      {"on by EnableTheming", [] { EnableTheming(TRUE); }, 3},
  };
  for (const Step& s : steps) {
    s.Do();
    EXPECT_EQ(Changes, s.Changes) << s.What;
  }
  EXPECT_TRUE(IsThemeActive());
}

}  // namespace
