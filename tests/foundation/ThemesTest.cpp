// Tests of the visual-styles binding, the shared theme-library access of the tool bar
// family, the theme services and the desktop-composition binding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/DizTBXPVS.h"
#include "foundation/DizThemeBinding.h"
#include "foundation/DizThemes.h"
#include "foundation/Dizdwm.h"
#include "platform/win/WinUser.h"

namespace {

// Counting stand-ins for library functions. This theme does not know "taskband".
int gOpenCalls = 0;
std::vector<std::u16string> gOpenedClasses;
HTHEME CountingOpenThemeData(HWND window, const char16_t* classList) {
  ++gOpenCalls;
  gOpenedClasses.emplace_back(classList ? classList : u"");
  if (gOpenedClasses.back() == u"taskband") return nullptr;
  return ::OpenThemeData(window, classList);
}

int gTextExCalls = 0;
HRESULT FakeDrawThemeTextEx(HTHEME, HDC, int part, int state, const char16_t* text, int count, DWORD, RECT*,
                            const DTTOPTS* options) {
  ++gTextExCalls;
  return (part == 1 && state == 1 && std::u16string(text, count) == u"Caption" && options &&
          options->dwFlags == DTT_COMPOSITED)
             ? S_OK
             : E_INVALIDARG;
}

BOOL gCompositionOn = FALSE;
HRESULT FakeDwmIsCompositionEnabled(BOOL* enabled) {
  *enabled = gCompositionOn;
  return S_OK;
}
MARGINS gExtended;
HRESULT FakeDwmExtendFrame(HWND, const MARGINS* margins) {
  gExtended = *margins;
  return S_OK;
}

class ThemesTest : public ::testing::Test {
protected:
  void SetUp() override {
    FSaved = SystemIdentity();
    gOpenCalls = 0;
    gOpenedClasses.clear();
    gTextExCalls = 0;
    RestartThemeLibrary();
  }
  void TearDown() override {
    FreeThemeServices();
    SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports());
    SetLibraryExports("dwmapi.dll", std::nullopt);
    SetThemeActive(true);
    SystemIdentity() = FSaved;
    RestartThemeLibrary();
    ReloadXPThemeBinding();
    ResetDwmBinding();
  }
  // Installs a visual-styles library and binds everything to it again.
  static void InstallThemeLibrary(std::optional<TLibraryExports> exports) {
    FreeThemeServices();
    SetLibraryExports("uxtheme.dll", std::move(exports));
    RestartThemeLibrary();
    ReloadXPThemeBinding();
  }
  static TLibraryExports Without(std::initializer_list<const char*> names) {
    TLibraryExports e = StandardThemeLibraryExports();
    for (const char* n : names) e.erase(n);
    return e;
  }

  TSystemIdentity FSaved;
};

TEST_F(ThemesTest, BindsWhatThePainterOffersAndLeavesTheRestEmpty) {
  TThemeBinding& b = XPThemeBinding();
  EXPECT_TRUE(b.Loaded());
  EXPECT_NE(b.OpenThemeData, nullptr);
  EXPECT_NE(b.DrawThemeBackground, nullptr);
  EXPECT_NE(b.GetCurrentThemeName, nullptr);
  EXPECT_NE(b.IsThemeBackGroundPartiallyTransparent, nullptr);  // export spelled differently
  EXPECT_NE(b.GetThemePartSize, nullptr);
  EXPECT_EQ(b.GetThemeTextExtent, nullptr);  // the painter has none
  EXPECT_EQ(b.DrawThemeBackgroundEx, nullptr);
  EXPECT_TRUE(b.CanDrawThemed());

  HTHEME theme = b.OpenThemeData(nullptr, u"button");
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(b.CloseThemeData(theme), S_OK);
}

TEST_F(ThemesTest, MissingFunctionMakesItsFeatureUnavailableWithoutStoppingTheProgram) {
  InstallThemeLibrary(Without({"DrawThemeBackground", "OpenThemeData", "GetCurrentThemeName"}));
  TThemeBinding& b = XPThemeBinding();
  EXPECT_TRUE(b.Loaded());
  EXPECT_EQ(b.DrawThemeBackground, nullptr);
  EXPECT_EQ(b.GetCurrentThemeName, nullptr);
  EXPECT_NE(b.CloseThemeData, nullptr);  // the rest stays bound
  EXPECT_FALSE(b.CanDrawThemed());       // controls draw their plain look

  // The tool bar family: themes are active, but no element can be opened.
  EXPECT_TRUE(UseThemes());
  TThemeServices* services = ThemeServices();
  EXPECT_TRUE(services->GetThemesEnabled());
  EXPECT_EQ(services->GetTheme(teToolBar), nullptr);
  services->UpdateThemes();
}

TEST_F(ThemesTest, WithoutTheLibraryEverythingTakesThePlainPath) {
  InstallThemeLibrary(std::nullopt);
  TThemeBinding& b = XPThemeBinding();
  EXPECT_FALSE(b.Loaded());
  EXPECT_EQ(b.OpenThemeData, nullptr);
  EXPECT_FALSE(b.CanDrawThemed());
  EXPECT_FALSE(UseThemes());
  EXPECT_EQ(ThemeLibraryRefCount(), 0);
  DTTOPTS options;
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawThemeTextEx(nullptr, nullptr, 1, 1, u"x", 1, 0, &r, options), E_NOTIMPL);

  // References are counted even though nothing loads, and never go below zero.
  EXPECT_FALSE(InitThemeLibrary());
  EXPECT_FALSE(InitThemeLibrary());
  EXPECT_EQ(ThemeLibraryRefCount(), 2);
  FreeThemeLibrary();
  FreeThemeLibrary();
  EXPECT_EQ(ThemeLibraryRefCount(), 0);
  FreeThemeLibrary();
  EXPECT_EQ(ThemeLibraryRefCount(), 0);

  TThemeServices* services = ThemeServices();
  EXPECT_FALSE(services->ThemesAvailable());
  EXPECT_FALSE(services->GetThemesEnabled());
  for (int e = teButton; e <= teWindow; ++e) EXPECT_EQ(services->GetTheme(TThemedElement(e)), nullptr);
}

TEST_F(ThemesTest, BalancedInitAndFreeKeepTheStartUpReferenceAndTheFunctions) {
  EXPECT_EQ(ThemeLibraryRefCount(), 1);  // the start-up load
  EXPECT_TRUE(InitThemeLibrary());
  EXPECT_EQ(ThemeLibraryRefCount(), 2);
  FreeThemeLibrary();
  EXPECT_EQ(ThemeLibraryRefCount(), 1);
  TThemeBinding& b = TBThemeBinding();
  EXPECT_NE(b.OpenThemeData, nullptr);
  EXPECT_NE(b.CloseThemeData, nullptr);
  EXPECT_NE(b.IsAppThemed, nullptr);
  EXPECT_NE(b.IsThemeActive, nullptr);
  EXPECT_NE(b.GetThemeSysFont, nullptr);
}

TEST_F(ThemesTest, ShutdownReleasesEveryReferenceAndUnloadsTheStartUpLibraryOnce) {
  InitThemeLibrary();
  InitThemeLibrary();
  ASSERT_EQ(ThemeLibraryRefCount(), 3);
  const int loads = LibraryLoadCount("uxtheme.dll");
  ShutdownThemeLibrary();
  EXPECT_EQ(ThemeLibraryRefCount(), 0);
  EXPECT_FALSE(TBThemeBinding().Loaded());
  // Only the start-up load is undone; the services' load stays until the program ends.
  EXPECT_EQ(LibraryLoadCount("uxtheme.dll"), loads - 1);
  EXPECT_FALSE(UseThemes());
}

TEST_F(ThemesTest, ThemesSwitchedOffGiveTheClassicPath) {
  SetThemeActive(false);
  EXPECT_FALSE(UseThemes());
  EXPECT_FALSE(XPThemeBinding().CanDrawThemed());
  TThemeServices* services = ThemeServices();
  EXPECT_TRUE(services->ThemesAvailable());
  EXPECT_FALSE(services->GetThemesEnabled());
  for (int e = teButton; e <= teWindow; ++e) EXPECT_EQ(services->GetTheme(TThemedElement(e)), nullptr);

  // Switched on again, a theme change makes the services draw themed.
  SetThemeActive(true);
  int changes = 0;
  services->OnThemeChange = [&](TObject* sender) {
    EXPECT_EQ(sender, services);
    ++changes;
  };
  services->ApplyThemeChange();
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(services->GetThemesEnabled());
  EXPECT_NE(services->GetTheme(teButton), nullptr);
}

TEST_F(ThemesTest, DrawThemeTextExUsesTheLibraryFunctionOnceItAppears) {
  DTTOPTS options;
  options.dwFlags = DTT_COMPOSITED;
  RECT r{0, 0, 80, 20};
  EXPECT_EQ(DrawThemeTextEx(nullptr, nullptr, 1, 1, u"Caption", 7, 0, &r, options), E_NOTIMPL);

  // A missing export is looked for again on the next call.
  TLibraryExports e = StandardThemeLibraryExports();
  e["DrawThemeTextEx"] = LibraryProc(&FakeDrawThemeTextEx);
  SetLibraryExports("uxtheme.dll", e);
  EXPECT_EQ(DrawThemeTextEx(nullptr, nullptr, 1, 1, u"Caption", 7, 0, &r, options), S_OK);
  EXPECT_EQ(gTextExCalls, 1);
}

TEST_F(ThemesTest, FileVersionOfTheCommonControls) {
  EXPECT_EQ(GetFileVersion("COMCTL32.DLL"), 0x00060000);
  SystemIdentity().CommonControlsMajor = 5;
  SystemIdentity().CommonControlsMinor = 82;
  EXPECT_EQ(GetFileVersion("comctl32.dll"), 0x00050052);
  EXPECT_EQ(GetFileVersion("readme.txt"), -1);
  EXPECT_EQ(GetFileVersion(""), -1);
}

TEST_F(ThemesTest, ThemeServicesAreSharedAndTakeOneReference) {
  TThemeServices* first = ThemeServices();
  EXPECT_EQ(ThemeServices(), first);
  EXPECT_EQ(ThemeLibraryRefCount(), 2);  // start-up + the services
  EXPECT_TRUE(first->GetThemesEnabled());
  FreeThemeServices();
  EXPECT_EQ(ThemeLibraryRefCount(), 1);
}

TEST_F(ThemesTest, OldCommonControlsDisableThemedDrawingThoughThemesAreInUse) {
  SystemIdentity().CommonControlsMajor = 5;
  SystemIdentity().CommonControlsMinor = 82;
  TThemeServices* services = ThemeServices();
  EXPECT_TRUE(services->UseThemes());
  EXPECT_FALSE(services->NewComCtrls());
  EXPECT_FALSE(services->GetThemesEnabled());
}

TEST_F(ThemesTest, ElementHandlesAreOpenedOnceAndAgainAfterAnUpdate) {
  TLibraryExports e = StandardThemeLibraryExports();
  e["OpenThemeData"] = LibraryProc(&CountingOpenThemeData);
  InstallThemeLibrary(e);
  TThemeServices* services = ThemeServices();
  HTHEME toolbar = services->GetTheme(teToolBar);
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(services->GetTheme(teToolBar), toolbar);
  EXPECT_EQ(gOpenCalls, 1);
  EXPECT_EQ(gOpenedClasses.back(), u"toolbar");
  services->UpdateThemes();
  EXPECT_NE(services->GetTheme(teToolBar), nullptr);
  EXPECT_EQ(gOpenCalls, 2);
  // A class the theme does not know gives no handle and is tried again.
  EXPECT_EQ(services->GetTheme(teTaskBand), nullptr);
  EXPECT_EQ(services->GetTheme(teTaskBand), nullptr);
  EXPECT_EQ(gOpenCalls, 4);
  EXPECT_EQ(gOpenedClasses.back(), u"taskband");
}

TEST_F(ThemesTest, EditDetailsGivePartAndState) {
  struct Case {
    TThemedEdit edit;
    int part, state;
  } cases[] = {{teEditDontCare, 0, 1},     {teEditRoot, 0, 2},         {teEditTextNormal, 1, 1},
               {teEditTextHot, 1, 2},      {teEditTextSelected, 1, 3}, {teEditTextDisabled, 1, 4},
               {teEditTextFocused, 1, 5},  {teEditTextReadOnly, 1, 6}, {teEditTextAssist, 1, 7},
               {teEditCaret, 2, 1}};
  TThemeServices* services = ThemeServices();
  for (const Case& c : cases) {
    TThemedElementDetails d = services->GetElementDetails(c.edit);
    EXPECT_EQ(d.Element, teEdit);
    EXPECT_EQ(d.Part, c.part) << c.edit;
    EXPECT_EQ(d.State, c.state) << c.edit;
  }
}

TEST_F(ThemesTest, CompositionIsOffWithoutTheLibrary) {
  BOOL flag = 7;
  EXPECT_EQ(DwmIsCompositionEnabled(flag), E_NOTIMPL);
  EXPECT_EQ(flag, 7);  // not written
  LRESULT result = 5;
  EXPECT_EQ(DwmDefWindowProc(nullptr, 0, 0, 0, result), FALSE);
  EXPECT_EQ(result, 5);
  EXPECT_EQ(DwmExtendFrameIntoClientArea(nullptr, MARGINS{}), E_NOTIMPL);
  EXPECT_FALSE(DwmCompositionEnabled());
}

TEST_F(ThemesTest, CompositionFollowsTheLibraryOnVistaAndLater) {
  SetLibraryExports("dwmapi.dll", TLibraryExports{{"DwmIsCompositionEnabled", LibraryProc(&FakeDwmIsCompositionEnabled)},
                                                  {"DwmExtendFrameIntoClientArea", LibraryProc(&FakeDwmExtendFrame)}});
  gCompositionOn = TRUE;
  EXPECT_TRUE(DwmCompositionEnabled());
  gCompositionOn = FALSE;
  EXPECT_FALSE(DwmCompositionEnabled());

  MARGINS m{1, 2, 30, 4};
  EXPECT_EQ(DwmExtendFrameIntoClientArea(nullptr, m), S_OK);
  EXPECT_EQ(gExtended.cyTopHeight, 30);
  LRESULT result = 5;
  EXPECT_EQ(DwmDefWindowProc(nullptr, 0, 0, 0, result), FALSE);  // not exported
}

TEST_F(ThemesTest, CompositionOnWindowsXPDoesNotTouchTheLibrary) {
  SetLibraryExports("dwmapi.dll", TLibraryExports{{"DwmIsCompositionEnabled", LibraryProc(&FakeDwmIsCompositionEnabled)}});
  gCompositionOn = TRUE;
  SystemIdentity().MajorVersion = 5;
  SystemIdentity().MinorVersion = 1;
  EXPECT_FALSE(DwmCompositionEnabled());
  EXPECT_EQ(LibraryLoadCount("dwmapi.dll"), 0);
}

}  // namespace
