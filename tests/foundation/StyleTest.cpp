// Tests of the style interface, the form styler and the application styler.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/DizAppStyler.h"
#include "foundation/DizStyleIF.h"
#include "foundation/DizThemeBinding.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

// The framework has no frames yet; a frame is recognised by its class name.
class TCustomFrame : public TComponent {
  LORM_CLASS(TCustomFrame, TComponent)
public:
  using TComponent::TComponent;
};

// A component that takes a look and remembers every one it was given.
class TStyledThing : public TComponent, public IDizStyle {
  LORM_PUBLISHED(TStyledThing, TComponent)
public:
  using TComponent::TComponent;
  void SetComponentStyle(DUZERazav AStyle) override { Given.push_back(AStyle); }
  std::vector<DUZERazav> Given;
};
void TStyledThing::Publish(TClassBuilder<TStyledThing>&) {}

class TStyledForm : public TForm {
  LORM_PUBLISHED(TStyledForm, TForm)
public:
  using TForm::TForm;
};
void TStyledForm::Publish(TClassBuilder<TStyledForm>& P) {
  P.Uses({TStyledThing::StaticClass(), TDizFormStyler::StaticClass()});
}

// A visual-styles library that reports the given colour scheme.
std::u16string gScheme = u"NormalColor";
HRESULT SchemeThemeName(char16_t* file, int maxFile, char16_t* color, int maxColor, char16_t* size, int maxSize) {
  auto put = [](char16_t* buf, int max, const std::u16string& s) {
    if (!buf || max <= 0) return;
    std::size_t n = std::min<std::size_t>(s.size(), std::size_t(max - 1));
    std::copy_n(s.begin(), n, buf);
    buf[n] = 0;
  };
  put(file, maxFile, u"luna.msstyles");
  put(color, maxColor, gScheme);
  put(size, maxSize, u"NormalSize");
  return S_OK;
}

class StyleTest : public ::testing::Test {
protected:
  void SetUp() override {
    FSaved = SystemIdentity();
    TLibraryExports e = StandardThemeLibraryExports();
    e["GetCurrentThemeName"] = LibraryProc(&SchemeThemeName);
    SetLibraryExports("uxtheme.dll", e);
    gScheme = u"NormalColor";
  }
  void TearDown() override {
    SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports());
    SetThemeActive(true);
    SystemIdentity() = FSaved;
  }
  TSystemIdentity FSaved;
};

TEST_F(StyleTest, FormStylerHandsItsStyleToEveryStyledComponentOfTheForm) {
  TForm form(nullptr);
  auto* a = new TStyledThing(&form);
  auto* plain = new TComponent(&form);
  auto* styler = new TDizFormStyler(&form);
  auto* b = new TStyledThing(&form);
  (void)plain;
  int changes = 0;
  styler->OnChange = [&](TObject* s) {
    EXPECT_EQ(s, styler);
    ++changes;
  };

  styler->SetStyle(tsOffice2007Luna);
  EXPECT_EQ(a->Given, std::vector<DUZERazav>{tsOffice2007Luna});
  EXPECT_EQ(b->Given, std::vector<DUZERazav>{tsOffice2007Luna});
  EXPECT_EQ(changes, 1);

  styler->SetStyle(tsOffice2007Luna);  // unchanged: nothing at all
  EXPECT_EQ(changes, 1);

  styler->SetStyle(tsCustom);  // raises OnChange, leaves every look alone
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a->Given.size(), 1u);
  EXPECT_EQ(b->Given.size(), 1u);
}

TEST_F(StyleTest, ApplyStyleHandlerMayVetoOneComponent) {
  TForm form(nullptr);
  auto* a = new TStyledThing(&form);
  auto* vetoed = new TStyledThing(&form);
  auto* styler = new TDizFormStyler(&form);
  std::vector<TComponent*> asked;
  styler->OnApplyStyle = [&](TObject*, TComponent* c, bool& allow) {
    asked.push_back(c);
    if (c == vetoed) allow = false;
  };
  styler->SetStyle(tsOffice2003Olive);
  EXPECT_EQ(a->Given, std::vector<DUZERazav>{tsOffice2003Olive});
  EXPECT_TRUE(vetoed->Given.empty());
  EXPECT_EQ(asked, (std::vector<TComponent*>{a, vetoed}));  // only styled components are offered
}

TEST_F(StyleTest, FramesAreWalkedFromAFrameButNotFromAForm) {
  TForm form(nullptr);
  auto* onForm = new TStyledThing(&form);
  auto* frame = new TCustomFrame(&form);
  auto* inFrame = new TStyledThing(frame);
  auto* nested = new TCustomFrame(frame);
  auto* inNested = new TStyledThing(nested);

  auto* formStyler = new TDizFormStyler(&form);
  formStyler->SetStyle(tsWindows7);
  EXPECT_EQ(onForm->Given.size(), 1u);
  EXPECT_TRUE(inFrame->Given.empty());
  EXPECT_TRUE(inNested->Given.empty());

  auto* frameStyler = new TDizFormStyler(frame);
  frameStyler->SetStyle(tsTerminal);
  EXPECT_EQ(inFrame->Given, std::vector<DUZERazav>{tsTerminal});
  EXPECT_EQ(inNested->Given, std::vector<DUZERazav>{tsTerminal});
  EXPECT_EQ(onForm->Given.size(), 1u);

  // An owner that is neither a form nor a frame gets nothing handed.
  TComponent other(nullptr);
  auto* loose = new TStyledThing(&other);
  auto* looseStyler = new TDizFormStyler(&other);
  looseStyler->SetStyle(tsWindowsXP);
  EXPECT_TRUE(loose->Given.empty());
}

TEST_F(StyleTest, XPColorSchemeGivesTheMatchingOfficeLook) {
  struct Case {
    std::u16string scheme;
    DUZERazav style;
  } cases[] = {{u"NormalColor", tsOffice2003Blue},   {u"HomeStead", tsOffice2003Olive},
               {u"Metallic", tsOffice2003Silver},    {u"Royale", tsOffice2003Classic},
               {u"metallic", tsOffice2003Classic},   {u"", tsOffice2003Classic}};
  for (const Case& c : cases) {
    gScheme = c.scheme;
    EXPECT_EQ(XPColorSchemeStyle(), c.style);
    TForm form(nullptr);
    auto* thing = new TStyledThing(&form);
    auto* styler = new TDizFormStyler(&form);
    styler->SetStyle(tsWhidbey);
    styler->SetAutoThemeAdapt(true);
    EXPECT_EQ(styler->Style(), c.style);
    EXPECT_EQ(thing->Given.back(), c.style);
  }
}

TEST_F(StyleTest, WithoutAnActiveThemeTheSchemeIsClassic) {
  gScheme = u"HomeStead";
  SetThemeActive(false);
  EXPECT_EQ(XPColorSchemeStyle(), tsOffice2003Classic);
  SetThemeActive(true);

  SystemIdentity().MajorVersion = 5;  // Windows 2000
  SystemIdentity().MinorVersion = 0;
  EXPECT_EQ(XPColorSchemeStyle(), tsOffice2003Classic);
  SystemIdentity().MinorVersion = 1;  // Windows XP
  EXPECT_EQ(XPColorSchemeStyle(), tsOffice2003Olive);

  TLibraryExports noName = StandardThemeLibraryExports();
  noName.erase("GetCurrentThemeName");
  SetLibraryExports("uxtheme.dll", noName);
  EXPECT_EQ(XPColorSchemeStyle(), tsOffice2003Classic);
  SetLibraryExports("uxtheme.dll", std::nullopt);
  EXPECT_EQ(XPColorSchemeStyle(), tsOffice2003Classic);
  EXPECT_EQ(LibraryLoadCount("uxtheme.dll"), LibraryLoadCount("UXTHEME.DLL"));
}

TEST_F(StyleTest, ThemeChangeMessageReappliesTheScheme) {
  TForm form(nullptr);
  auto* thing = new TStyledThing(&form);
  auto* styler = new TDizFormStyler(&form);
  auto* app = new TDizAppStyler(&form);
  ASSERT_NE(styler->Notifier(), nullptr);
  ASSERT_NE(styler->Notifier()->Handle(), nullptr);
  styler->SetAutoThemeAdapt(true);
  app->SetAutoThemeAdapt(true);
  EXPECT_EQ(thing->Given.back(), tsOffice2003Blue);

  gScheme = u"Metallic";
  SendMessage(HWND_BROADCAST, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(styler->Style(), tsOffice2003Silver);
  EXPECT_EQ(app->Style(), tsOffice2003Silver);
  EXPECT_EQ(thing->Given.back(), tsOffice2003Silver);

  // Without AutoThemeAdapt a theme change is ignored.
  styler->SetAutoThemeAdapt(false);
  gScheme = u"HomeStead";
  SendMessage(HWND_BROADCAST, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(styler->Style(), tsOffice2003Silver);
}

TEST_F(StyleTest, ApplicationStylerDrivesItsFormStylers) {
  TForm form1(nullptr), form2(nullptr);
  auto* t1 = new TStyledThing(&form1);
  auto* t2 = new TStyledThing(&form2);
  auto* s1 = new TDizFormStyler(&form1);
  auto* s2 = new TDizFormStyler(&form2);
  auto* app = new TDizAppStyler(nullptr);
  app->SetStyle(tsOffice2007Obsidian);

  s1->SetAppStyle(app);  // takes the application's look at once
  s2->SetAppStyle(app);
  s2->SetAppStyle(app);  // registered once
  EXPECT_EQ(app->FormStylers(), (std::vector<TDizFormStyler*>{s1, s2}));
  EXPECT_EQ(t1->Given.back(), tsOffice2007Obsidian);

  int appChanges = 0;
  app->OnChange = [&](TObject*) { ++appChanges; };
  app->SetStyle(tsOffice2007Silver);
  EXPECT_EQ(s1->Style(), tsOffice2007Silver);
  EXPECT_EQ(s2->Style(), tsOffice2007Silver);
  EXPECT_EQ(t2->Given.back(), tsOffice2007Silver);
  EXPECT_EQ(appChanges, 1);

  // A freed form styler leaves the list; a freed application styler leaves no links.
  delete s2;
  EXPECT_EQ(app->FormStylers(), std::vector<TDizFormStyler*>{s1});
  delete app;
  EXPECT_EQ(s1->AppStyle(), nullptr);
  s1->SetStyle(tsWindowsVista);  // no dangling application styler is touched
  EXPECT_EQ(t1->Given.back(), tsWindowsVista);
}

TEST_F(StyleTest, LinkingToAnotherApplicationStylerMovesTheRegistration) {
  TForm form(nullptr);
  auto* styler = new TDizFormStyler(&form);
  TDizAppStyler first(nullptr), second(nullptr);
  styler->SetAppStyle(&first);
  styler->SetAppStyle(&second);
  EXPECT_TRUE(first.FormStylers().empty());
  EXPECT_EQ(second.FormStylers(), std::vector<TDizFormStyler*>{styler});
  styler->SetAppStyle(nullptr);
  EXPECT_TRUE(second.FormStylers().empty());
}

TEST_F(StyleTest, AssignCopiesFromTheSameKindOnly) {
  TForm form(nullptr);
  auto* source = new TDizFormStyler(&form);
  auto* dest = new TDizFormStyler(&form);
  source->SetStyle(tsOffice2007Luna);
  dest->Assign(source);
  EXPECT_EQ(dest->Style(), tsOffice2007Luna);
  EXPECT_FALSE(dest->AutoThemeAdapt());

  TDizAppStyler app(nullptr);
  app.SetStyle(tsTerminal);
  EXPECT_NO_THROW(dest->Assign(&app));
  EXPECT_EQ(dest->Style(), tsOffice2007Luna);

  TDizAppStyler app2(nullptr);
  app2.Assign(&app);
  EXPECT_EQ(app2.Style(), tsTerminal);
  EXPECT_NO_THROW(app2.Assign(dest));
  EXPECT_EQ(app2.Style(), tsTerminal);
}

TEST_F(StyleTest, StyleListOffersTenLooksByName) {
  TDizFormStyler styler(nullptr);
  std::unique_ptr<TStringList> styles(styler.GetStyles());
  ASSERT_EQ(styles->Count(), 10);
  EXPECT_EQ(styles->Strings(3), "Office 2007 Blue");
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(styles->Objects(3)), tsOffice2007Luna);
  for (int i = 0; i < styles->Count(); ++i) {
    auto v = static_cast<DUZERazav>(reinterpret_cast<std::intptr_t>(styles->Objects(i)));
    EXPECT_NE(v, tsOffice2003Classic);
    EXPECT_NE(v, tsWhidbey);
    EXPECT_NE(v, tsCustom);
  }
}

TEST_F(StyleTest, VersionIsFixed) {
  TDizFormStyler styler(nullptr);
  EXPECT_EQ(styler.GetVersion(), "1.2.2.0");
  EXPECT_EQ(styler.GetVersionNr(), 0x01020200);
  SetStrProp(&styler, "Version", "9.9");
  EXPECT_EQ(GetStrProp(&styler, "Version"), "1.2.2.0");
}

TEST_F(StyleTest, LoadedFormShowsTheLookOfTheLastStyler) {
  // Two stylers on a window, as the main window has them: nothing is applied while the
  // form loads, then each applies its look in creation order.
  const std::string text =
      "object Form1: TStyledForm\n"
      "  object Thing1: TStyledThing\n"
      "  end\n"
      "  object Styler1: TDizFormStyler\n"
      "    Style = tsOffice2007Silver\n"
      "  end\n"
      "  object Styler2: TDizFormStyler\n"
      "    Style = tsOffice2007Luna\n"
      "  end\n"
      "end\n";
  TStyledForm form(nullptr);
  ReadComponentFromText(text, &form);
  auto* thing = dynamic_cast<TStyledThing*>(form.FindComponent("Thing1"));
  ASSERT_NE(thing, nullptr);
  EXPECT_EQ(thing->Given, (std::vector<DUZERazav>{tsOffice2007Silver, tsOffice2007Luna}));
  // The form writes its own properties too; its components follow them unchanged.
  std::string written = WriteComponentToText(&form);
  std::erase(written, '\r');
  const std::string components = text.substr(text.find("  object Thing1"));
  ASSERT_NE(written.find("  object Thing1"), std::string::npos);
  EXPECT_EQ(written.substr(written.find("  object Thing1")), components);
}

TEST_F(StyleTest, LoadedFormStylerLinkedToAnApplicationStylerShowsItsLook) {
  // The form styler's stored look is the application styler's own: the components
  // still get it once the form has loaded.
  const std::string text =
      "object Form1: TStyledForm\n"
      "  object Thing1: TStyledThing\n"
      "  end\n"
      "  object App1: TDizAppStyler\n"
      "    Style = tsOffice2007Obsidian\n"
      "  end\n"
      "  object Styler1: TDizFormStyler\n"
      "    Style = tsOffice2007Obsidian\n"
      "    AppStyle = App1\n"
      "  end\n"
      "end\n";
  RegisterClass(TDizAppStyler::StaticClass());
  TStyledForm form(nullptr);
  ReadComponentFromText(text, &form);
  auto* thing = dynamic_cast<TStyledThing*>(form.FindComponent("Thing1"));
  auto* app = dynamic_cast<TDizAppStyler*>(form.FindComponent("App1"));
  auto* styler = dynamic_cast<TDizFormStyler*>(form.FindComponent("Styler1"));
  ASSERT_TRUE(thing && app && styler);
  EXPECT_EQ(styler->AppStyle(), app);
  EXPECT_EQ(app->FormStylers(), std::vector<TDizFormStyler*>{styler});
  EXPECT_EQ(thing->Given, std::vector<DUZERazav>{tsOffice2007Obsidian});
  app->SetStyle(tsTerminal);
  EXPECT_EQ(thing->Given.back(), tsTerminal);
}

TEST_F(StyleTest, IsVistaFollowsTheSystemVersion) {
  EXPECT_TRUE(IsVista());
  SystemIdentity().MajorVersion = 5;
  EXPECT_FALSE(IsVista());
}

}  // namespace
