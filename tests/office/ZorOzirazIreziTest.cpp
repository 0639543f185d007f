// The office pager on the headless back end: look classes and styler, pages and activation,
// geometry, painting, buttons and closing, mouse, keyboard, key tips and the rendered look of
// the main window's pager.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DizThemeBinding.h"
#include "office/ZorOzirazIrezi.h"
#include "office/ZorOzirazIreziStylers.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

using namespace ZorOzirazIrezi;

namespace {

std::filesystem::path PngDir() {
  const char* keep = std::getenv("LORM_KEEP_PNG");
  return keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
}

class PagerTest : public ::testing::Test {
protected:
  PagerTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(50, 50, 640, 420);
    form->Show();
    // The main window's pager: (0, 2), 609 x 365, two pages, no styler of its own.
    pager = new TZorOzirazIrezi(form);
    pager->SetBounds(0, 2, 609, 365);
    pager->SetParent(form);
    page1 = new TDizOfficePage(form);
    page1->SetCaption("Пересчет коэффициентов ");
    page1->SetZorOzirazIrezi(pager);
    page2 = new TDizOfficePage(form);
    page2->SetCaption("База данных газов");
    page2->SetZorOzirazIrezi(pager);
    pager->SetActivePage(page1);
    pager->TabSettings()->SetStartMargin(4);
    scope.Backend().Pump();
  }
  ~PagerTest() override { Application->Restart(); }

  TDizOfficePage* AddPage(const std::string& caption) {
    auto* p = new TDizOfficePage(form);
    p->SetCaption(caption);
    p->SetZorOzirazIrezi(pager);
    return p;
  }
  TPoint TabCentre(int index) {
    TRect r = pager->GetTabRect(index);
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Tick(int ms) { scope.Backend().Advance(ms); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TZorOzirazIrezi* pager = nullptr;
  TDizOfficePage* page1 = nullptr;
  TDizOfficePage* page2 = nullptr;
  TRobot robot;
};

// ---- look classes -----------------------------------------------------------------------------

TEST(PagerLook, SettingsNotifyOnlyRealChangesAndAssignSkipsSpacing) {
  TPagerTabSettings a, b;
  int changes = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.SetHeight(26);
  EXPECT_EQ(changes, 0);
  b.SetSpacing(9);
  b.SetHeight(30);
  b.SetShape(tsLeftRamp);
  a.Assign(&b);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.Height(), 30);
  EXPECT_EQ(a.Shape(), tsLeftRamp);
  EXPECT_EQ(a.Spacing(), 4);
  EXPECT_EQ(a.StartMargin(), 4);
  TVistaBackground other;
  EXPECT_THROW(a.Assign(&other), Exception);
}

TEST(PagerLook, GradientAlwaysNotifiesVistaOnlyOnChange) {
  TGradientBackground g;
  TVistaBackground v;
  int gc = 0, vc = 0;
  g.OnChange = [&](TObject*) { ++gc; };
  v.OnChange = [&](TObject*) { ++vc; };
  g.SetColor(g.Color());
  v.SetColor(v.Color());
  EXPECT_EQ(gc, 1);
  EXPECT_EQ(vc, 0);
  TPagerTabSettings s;
  g.Assign(&s);  // ignored without error
  EXPECT_EQ(g.Color(), clWhite);
  TVistaBackground src;
  src.SetColor(0x123456);
  src.SetGradient(ggRadial);
  v.Assign(&src);  // colours copied silently; the gradient kind through its setter
  EXPECT_EQ(v.Color(), 0x123456);
  EXPECT_EQ(vc, 1);
}

TEST(PagerLook, ScrollerRangeRules) {
  TPagerTabScroller s;
  s.SetMin(10);  // above Max 0: refused
  EXPECT_EQ(s.Min(), 0);
  s.SetMax(10);
  s.SetMin(10);
  s.SetMax(5);  // below Min: refused
  EXPECT_EQ(s.Max(), 10);
  TPagerTabScroller t;
  t.SetPosition(-3);
  EXPECT_EQ(t.Position(), -3);
  EXPECT_FALSE(t.CanGoBack());
  EXPECT_TRUE(t.CanGoForward());
}

TEST(PagerLook, TabAppearancePlainFieldsAndFontNotifySeparately) {
  TTabAppearance a;
  int changes = 0, fonts = 0;
  a.OnChange = [&](TObject*) { ++changes; };
  a.OnFontChange = [&](TObject*) { ++fonts; };
  a.BorderColorHot = 0x010203;
  a.ShadowColor = 0x040506;
  EXPECT_EQ(changes, 0);
  a.Font()->SetSize(12);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(fonts, 1);
  a.BackGround()->SetColor(0x111111);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a.Font()->GetName(), "Tahoma");
}

TEST(PagerLook, DbgListChecksIndexes) {
  TDbgList l;
  int x = 0;
  l.Add(&x);
  EXPECT_EQ(l.GetItemsEx(0), &x);
  try {
    l.GetItemsEx(1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Index out of bounds in list read access");
  }
  try {
    l.SetItemsEx(5, nullptr);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Index out of bounds in list write access");
  }
  EXPECT_THROW(l.GetItemsEx(-1), EListError);
}

TEST(PagerDrawing, BlendColorRules) {
  struct Case {
    TColor a, b;
    int p;
    TColor want;
  } cases[] = {
      {clBtnFace, clBlack, 100, clBtnFace},  // unchanged, not resolved
      {clWhite, clBlack, 50, 0x808080},      // 127.5 rounds to even
      {clWhite, clBlack, 0, clBlack},
      {0x0000FF, 0x000000, 1, 0x000003},     // 2.55 rounds to 3
      {clWhite, TColor(0xE3B28D), 50, TColor(0xF1D8C6)},  // green 216.5 rounds to even
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p);
    EXPECT_EQ(BlendColor(c.a, c.b, c.p), c.want);
  }
}

TEST(PagerDrawing, SteppedGradientBands) {
  TBitmap bmp(10, 101);
  DrawGradient(bmp.Canvas(), 0x000000, 0x0000FF, 4, TRect{0, 0, 10, 101}, false);
  // Bands at 0, 25, 50, 75 (band 100 / 4 = 25), red 0, 64, 128, 191.
  EXPECT_EQ(bmp.Canvas()->GetPixel(5, 10), 0x000000);
  EXPECT_EQ(bmp.Canvas()->GetPixel(5, 30), 0x000040);
  EXPECT_EQ(bmp.Canvas()->GetPixel(5, 60), 0x000080);
  EXPECT_EQ(bmp.Canvas()->GetPixel(5, 90), 0x0000BF);
  DrawGradient(bmp.Canvas(), 0x00FF00, 0x00FF00, 0, TRect{0, 0, 10, 101}, true);
  EXPECT_EQ(bmp.Canvas()->GetPixel(9, 100), 0x00FF00);
}

TEST(PagerForm, MainWindowPagerReadsFromItsStoredForm) {
  THeadlessScope scope;
  Application->Restart();
  const std::string text =
      "object Form1: TForm\n"
      "  Left = 10\n  Top = 10\n  Width = 640\n  Height = 420\n"
      "  object ZorOzirazIrezi1: TZorOzirazIrezi\n"
      "    Left = 0\n    Top = 2\n    Width = 609\n    Height = 365\n"
      "    ActivePage = DizOfficePage1\n"
      "    ButtonSettings.CloseButtonHint = 'Close'\n"
      "    TabOrder = 5\n"
      "    TabSettings.StartMargin = 4\n"
      "    TabReorder = False\n"
      "    ShowShortCutHints = False\n"
      "    NextPictureChanged = False\n"
      "    PrevPictureChanged = False\n"
      "    object DizOfficePage1: TDizOfficePage\n"
      "      Left = 1\n      Top = 26\n      Width = 607\n      Height = 337\n"
      "      Caption = '\xd0\x9f\xd0\xb5\xd1\x80\xd0\xb5\xd1\x81\xd1\x87\xd0\xb5\xd1\x82 '\n"
      "    end\n"
      "    object DizOfficePage2: TDizOfficePage\n"
      "      Left = 1\n      Top = 26\n      Width = 607\n      Height = 337\n"
      "      Caption = 'Gas database'\n"
      "    end\n"
      "  end\n"
      "end\n";
  TForm* form = nullptr;
  Application->CreateForm(form);
  ReadComponentFromText(text, form);
  auto* pager = dynamic_cast<TZorOzirazIrezi*>(form->FindComponent("ZorOzirazIrezi1"));
  ASSERT_NE(pager, nullptr);
  ASSERT_EQ(pager->GetDizOfficePageCount(), 2);
  EXPECT_EQ(pager->ActivePageIndex(), 0);
  EXPECT_EQ(pager->GetDizPages(0)->Name(), "DizOfficePage1");
  EXPECT_EQ(pager->GetDizPages(1)->BoundsRect(), (TRect{1, 26, 608, 363}));
  EXPECT_FALSE(pager->GetDizPages(1)->Visible());
  EXPECT_EQ(pager->TabSettings()->StartMargin(), 4);
  std::string written = WriteComponentToText(form);
  EXPECT_NE(written.find("NextPictureChanged = False"), std::string::npos);
  EXPECT_NE(written.find("StartMargin = 4"), std::string::npos);
  EXPECT_EQ(written.find("Version"), std::string::npos);
  Application->Restart();
}

TEST(PagerPictures, ButtonGlyphsDrawWhiteOnTheirKeyedBackground) {
  TPageButtonSettings s;
  for (TGDIPPicture* p : {s.CloseButtonPicture(), s.PageListButtonPicture(), s.ScrollButtonPrevPicture(),
                          s.ScrollButtonNextPicture(), s.ScrollButtonFirstPicture(), s.ScrollButtonLastPicture(),
                          s.UpPicture(), s.DownPicture(), s.UpFirstPicture(), s.DownLastPicture()}) {
    ASSERT_FALSE(p->GetEmpty());
    TBitmap bmp(20, 20);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect{0, 0, 20, 20});
    bmp.Canvas()->Draw(0, 0, p);
    int white = 0, red = 0;
    for (int y = 0; y < p->GetHeight(); ++y)
      for (int x = 0; x < p->GetWidth(); ++x) {
        white += bmp.Canvas()->GetPixel(x, y) == clWhite;
        red += bmp.Canvas()->GetPixel(x, y) == clRed;
      }
    EXPECT_GT(white, 3);  // the glyph
    EXPECT_GT(red, 3);    // the background is transparent
  }
  EXPECT_EQ(s.ScrollButtonFirstPicture()->GetWidth(), 16);
  EXPECT_EQ(s.UpFirstPicture()->GetHeight(), 16);
}

// ---- styler -----------------------------------------------------------------------------------

TEST_F(PagerTest, InternalStylerHasLunaLookAndStylersAreFreedSafelyBothWays) {
  EXPECT_EQ(pager->CurrentStyler(), pager->InternalStyler());
  EXPECT_EQ(pager->CurrentStyler()->TabAppearance()->BackGround()->Color(), TColor(0xFFDBBF));
  EXPECT_EQ(pager->CurrentStyler()->PageAppearance()->Color(), TColor(0xFAF1E9));
  EXPECT_EQ(pager->Version(), "1.8.2.1");

  auto* styler = new TZorOzirazIreziOfficeStyler(form);
  pager->SetOfficePagerStyler(styler);
  EXPECT_EQ(pager->CurrentStyler(), styler);
  int kinds = 0;
  styler->SetRoundEdges(true);  // same value: still a change of kind 3
  (void)kinds;
  delete styler;  // the pager lets it go
  EXPECT_EQ(pager->ZorOzirazIreziStyler(), nullptr);
  EXPECT_EQ(pager->CurrentStyler(), pager->InternalStyler());

  auto* second = new TZorOzirazIreziOfficeStyler(form);
  auto* other = new TZorOzirazIrezi(form);
  other->SetParent(form);
  other->SetOfficePagerStyler(second);
  EXPECT_EQ(second->ControlCount(), 1);
  delete other;  // the styler forgets the freed pager
  EXPECT_EQ(second->ControlCount(), 0);
  second->TabAppearance()->SetColor(0x010101);  // nobody left to tell; must not crash
}

TEST(PagerStylers, PresetRules) {
  TZorOzirazIreziOfficeStyler s(nullptr);
  EXPECT_EQ(s.Style(), psOffice2003Blue);
  s.SetOfficePagerStyle(psOffice2003Classic);
  EXPECT_EQ(s.BlendFactor(), 80);
  TColor before = s.TabAppearance()->ColorSelected();
  s.SetOfficePagerStyle(psCustom);
  EXPECT_EQ(s.BlendFactor(), 50);
  EXPECT_EQ(s.TabAppearance()->ColorSelected(), before);
  s.SetOfficePagerStyle(psOffice2003Blue);
  s.SetOfficePagerStyle(psWindowsVista);
  EXPECT_EQ(s.TabAppearance()->HighLightColor, TColor(0xFFFABF));
  s.SetComponentStyle(tsWindows7);
  EXPECT_EQ(s.Style(), psWindows7);
  EXPECT_FALSE(s.RoundEdges());
  TZorOzirazIreziFantasyStyler f(nullptr);
  f.SetOfficePagerStyle(psTextured);
  EXPECT_FALSE(f.RoundEdges());
  f.SetOfficePagerStyle(psUser);
  EXPECT_FALSE(f.RoundEdges());
}

// A visual-styles library whose colour scheme the test chooses.
class PagerSchemeTest : public ::testing::Test {
protected:
  PagerSchemeTest() : saved(SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports())) {}
  ~PagerSchemeTest() override { SetLibraryExports("uxtheme.dll", saved); }
  static void Install(bool active, const char16_t* scheme) {
    Active = active;
    Scheme = scheme;
    TLibraryExports e;
    e["IsThemeActive"] = LibraryProc(static_cast<TIsThemeActive>([]() -> BOOL { return Active; }));
    e["GetCurrentThemeName"] = LibraryProc(static_cast<TGetCurrentThemeName>(
        [](char16_t*, int, char16_t* color, int maxColor, char16_t*, int) -> HRESULT {
          std::u16string s(Scheme);
          const size_t n = std::min<size_t>(s.size(), size_t(maxColor - 1));
          s.copy(color, n);
          color[n] = 0;
          return 0;
        }));
    SetLibraryExports("uxtheme.dll", e);
  }
  static inline bool Active = true;
  static inline const char16_t* Scheme = u"";
  std::optional<TLibraryExports> saved;
};

TEST_F(PagerSchemeTest, AnAdaptingOfficeStylerFollowsTheColourScheme) {
  TZorOzirazIreziOfficeStyler s(nullptr);
  s.SetOfficePagerStyle(psOffice2007Luna);
  Install(true, u"HomeStead");
  s.ThemeChanged(&s);
  EXPECT_EQ(s.Style(), psOffice2007Luna);  // AutoThemeAdapt is off
  s.SetAutoThemeAdapt(true);
  struct Case {
    bool active;
    const char16_t* scheme;
    TOfficePagerStyle style;
  } cases[] = {{true, u"NormalColor", psOffice2003Blue}, {true, u"HomeStead", psOffice2003Olive},
               {true, u"Metallic", psOffice2003Silver}, {true, u"Royale", psWindowsXP},
               {true, u"Metallic", psOffice2003Silver}, {false, u"HomeStead", psWindowsXP}};
  for (const Case& c : cases) {
    Install(c.active, c.scheme);
    s.ThemeChanged(&s);
    EXPECT_EQ(s.Style(), c.style);
  }
  // The olive look's colours come with it.
  Install(true, u"HomeStead");
  s.ThemeChanged(&s);
  EXPECT_EQ(s.PageAppearance()->Color(), TColor(0xCFF0EA));
}

// ---- pages, placement, activation --------------------------------------------------------------

TEST_F(PagerTest, MainWindowPagesAndStripGeometry) {
  for (TDizOfficePage* p : {page1, page2}) {
    EXPECT_EQ(p->Left(), 1);
    EXPECT_EQ(p->Top(), 26);
    EXPECT_EQ(p->Width(), 607);
    EXPECT_EQ(p->Height(), 337);
  }
  EXPECT_EQ(pager->GetButtonsRect(), (TRect{602, 4, 605, 30}));
  TRect tabs = pager->GetTabsRect();
  EXPECT_EQ(tabs.Left, 5);
  EXPECT_EQ(tabs.Right, 602);
  TRect t0 = pager->GetTabRect(0), t1 = pager->GetTabRect(1);
  EXPECT_EQ(t0.Left, 5);
  EXPECT_EQ(t0.Top, 4);
  EXPECT_EQ(t0.Bottom, 30);
  EXPECT_EQ(t1.Left, t0.Right + 4);
  EXPECT_TRUE(page1->Visible());
  EXPECT_FALSE(page2->Visible());
  EXPECT_EQ(pager->PTOnTab(t0.Right + 2, 15), -1);  // the spacing between tabs
}

// Left and right tabs measure their captions in the tab font through the canvas handle
// (Tahoma -11), so the main window's two captions fit along the side without the scroller.
TEST_F(PagerTest, SideTabsMeasureTheirCaptionsInTheTabFont) {
  struct Case {
    TTabPosition pos;
    TRect tabs, buttons;
  } cases[] = {{tpLeft, {4, 5, 30, 358}, {4, 358, 30, 361}}, {tpRight, {579, 5, 605, 358}, {579, 358, 605, 361}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos);
    pager->SetTabPosition(c.pos);
    EXPECT_EQ(pager->GetTabsRect(), c.tabs);
    EXPECT_EQ(pager->GetButtonsRect(), c.buttons);
    TRect t0 = pager->GetTabRect(0), t1 = pager->GetTabRect(1);
    EXPECT_EQ(t0.Top, 5);
    EXPECT_GT(t1.Top, t0.Bottom);
    EXPECT_LE(t1.Bottom, c.tabs.Bottom);
  }
}

TEST_F(PagerTest, PageRectangleForEachTabSide) {
  struct Case {
    TTabPosition pos;
    TRect want;
  } cases[] = {{tpTop, {1, 26, 608, 363}},
               {tpBottom, {1, 2, 608, 339}},
               {tpLeft, {26, 2, 608, 363}},
               {tpRight, {1, 2, 583, 363}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pos);
    pager->SetTabPosition(c.pos);
    EXPECT_EQ(pager->GetDizPageRect(), c.want);
    EXPECT_EQ(page1->BoundsRect(), c.want);
  }
}

TEST_F(PagerTest, SwitchOrderAndVeto) {
  std::vector<std::string> log;
  auto* edit = new TEdit(form);
  edit->SetParent(page1);
  edit->SetTabStop(true);
  edit->SetFocus();
  pager->OnChanging = [&](TObject*, int from, int to, bool& allow) {
    log.push_back("changing " + std::to_string(from) + ">" + std::to_string(to));
    allow = to != 0;
  };
  page1->OnHide = [&](TObject*) { log.push_back("hide1"); };
  page2->OnShow = [&](TObject*) {
    log.push_back(std::string("show2 focus=") + (form->ActiveControl() == pager ? "pager" : "other"));
  };
  pager->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(pager->ActivePageIndex())); };
  pager->SetActivePageIndex(1);
  EXPECT_EQ(log, (std::vector<std::string>{"changing 0>1", "hide1", "show2 focus=pager", "change 1"}));
  EXPECT_EQ(form->ActiveControl(), pager);
  log.clear();
  pager->SetActivePageIndex(0);  // vetoed: nothing moves
  EXPECT_EQ(log, (std::vector<std::string>{"changing 1>0"}));
  EXPECT_EQ(pager->ActivePage(), page2);
  EXPECT_TRUE(page2->Visible());
  EXPECT_FALSE(page1->Visible());
}

TEST_F(PagerTest, RemovingPagesKeepsTheRightPageActive) {
  TDizOfficePage* page3 = AddPage("Third");
  TDizOfficePage* page4 = AddPage("Fourth");
  page3->SetTabEnabled(false);
  pager->SetActivePage(page2);
  delete page2;  // the next visible, enabled page (skipping the disabled third) becomes active
  EXPECT_EQ(pager->ActivePage(), page4);
  EXPECT_EQ(pager->ActivePageIndex(), 2);
  EXPECT_TRUE(page4->Visible());
  pager->RemoveDizPage(page1);  // before the active one: the same page stays active
  EXPECT_EQ(pager->ActivePage(), page4);
  EXPECT_EQ(pager->ActivePageIndex(), 1);
  EXPECT_EQ(page1->ZorOzirazIrezi(), nullptr);
  pager->RemoveDizPage(page4);
  pager->RemoveDizPage(page3);
  EXPECT_EQ(pager->ActivePage(), nullptr);
  EXPECT_EQ(pager->GetDizOfficePageCount(), 0);
  delete page1;
}

TEST_F(PagerTest, InvalidParentsAndReorderByParent) {
  auto* other = new TZorOzirazIrezi(form);
  try {
    other->SetParent(pager);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid Parent");
  }
  std::vector<std::pair<int, int>> moves;
  pager->OnTabMoved = [&](TObject*, int a, int b) { moves.emplace_back(a, b); };
  page2->SetParent(page1);  // dropped onto the first page: moves before it, parent stays the pager
  EXPECT_EQ(pager->GetDizPages(0), page2);
  EXPECT_EQ(page2->Parent(), pager);
  EXPECT_EQ(pager->ActivePage(), page1);
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, 0}}));
  other->SetParent(form);
  page1->SetParent(other);  // to another pager
  EXPECT_EQ(page1->ZorOzirazIrezi(), other);
  EXPECT_EQ(pager->GetDizOfficePageCount(), 1);
}

TEST_F(PagerTest, SingleMultipleReselectAndNextPageSteps) {
  int changes = 0;
  pager->OnChange = [&](TObject*) { ++changes; };
  pager->SetActivePageIndex(0);
  EXPECT_EQ(changes, 0);
  pager->SelectNextPage(true);
  EXPECT_EQ(pager->ActivePageIndex(), 1);
  pager->SelectNextPage(true);  // wraps
  EXPECT_EQ(pager->ActivePageIndex(), 0);
  page2->SetTabVisible(false);
  pager->SelectNextPage(false);
  EXPECT_EQ(pager->ActivePageIndex(), 0);
  EXPECT_EQ(pager->GetTabRect(1), (TRect{-1, -1, -1, -1}));
  EXPECT_EQ(pager->FindNextPage(page1, true, true), page1);
  EXPECT_EQ(pager->FindNextPage(page1, true, false), page2);
}

TEST_F(PagerTest, TabColoursByState) {
  TTabAppearance* ta = pager->CurrentStyler()->TabAppearance();
  TDizOfficePage* page3 = AddPage("Third");
  // The hover glow blends the hot colours with the strip background by the glow position.
  TPoint c1 = TabCentre(1);
  robot.MoveTo(pager->Handle(), c1.X, c1.Y);
  Tick(150);
  ASSERT_EQ(pager->HotTabIndex(), 1);
  ASSERT_EQ(page2->HoverPosition(), 60);
  TZorOzirazIrezi::TTabColors hot = pager->GetTabColors(1);
  EXPECT_EQ(hot.Color, BlendColor(ta->ColorHot(), ta->BackGround()->Color(), 60));
  EXPECT_EQ(hot.ColorTo, BlendColor(ta->ColorHotTo(), ta->BackGround()->Color(), 60));  // ColorTo is clNone
  robot.MoveTo(pager->Handle(), 300, 200);
  Tick(600);
  ASSERT_EQ(page2->GlowTimer(), nullptr);
  pager->SetGlow(false);
  using C = TZorOzirazIrezi::TTabColors;
  struct Case {
    const char* name;
    std::function<void()> setUp;
    int tab;
    std::function<void(const C&)> check;
  } cases[] = {
      {"active", [] {}, 0,
       [&](const C& c) {
         EXPECT_EQ(c.Color, ta->ColorSelected());
         EXPECT_EQ(c.ColorMirrorTo, ta->ColorMirrorSelectedTo());
         EXPECT_EQ(c.BorderColor, ta->BorderColorSelected());
         EXPECT_EQ(c.TextColor, ta->TextColorSelected());
         EXPECT_EQ(c.HighLightColor, ta->HighLightColor);
       }},
      {"active and hot", [&] { pager->SetHotTabIndex(0); }, 0,
       [&](const C& c) {
         EXPECT_EQ(c.BorderColor, ta->BorderColorSelectedHot());
         EXPECT_EQ(c.HighLightColor, ta->HighLightColorSelectedHot);
       }},
      {"hot", [&] { pager->SetHotTabIndex(1); }, 1,
       [&](const C& c) {
         EXPECT_EQ(c.Color, ta->ColorHot());
         EXPECT_EQ(c.ColorMirrorTo, ta->ColorMirrorHotTo());
         EXPECT_EQ(c.BorderColor, ta->BorderColorHot);
         EXPECT_EQ(c.Gradient, ggRadial);  // the Luna hot gradient
         EXPECT_EQ(c.TextColor, ta->TextColorHot());
         EXPECT_EQ(c.HighLightColor, ta->HighLightColorHot);
       }},
      {"neither", [] {}, 1,
       [&](const C& c) {
         EXPECT_FALSE(c.Background);
         EXPECT_EQ(c.TextColor, ta->TextColor());
       }},
      {"neither, shown", [&] { pager->SetShowNonSelectedTabs(true); }, 1,
       [&](const C& c) {
         EXPECT_TRUE(c.Background);
         EXPECT_EQ(c.Color, ta->Color());
         EXPECT_EQ(c.BorderColor, ta->BorderColor());
       }},
      {"disabled", [&] { page3->SetTabEnabled(false); }, 2,
       [&](const C& c) {
         EXPECT_FALSE(c.Background);
         EXPECT_EQ(c.TextColor, ta->TextColorDisabled());
       }},
      {"disabled, shown",
       [&] {
         page3->SetTabEnabled(false);
         pager->SetShowNonSelectedTabs(true);
       },
       2,
       [&](const C& c) {
         EXPECT_EQ(c.Color, ta->ColorDisabled());
         EXPECT_EQ(c.ColorTo, ta->ColorDisabledTo());
         EXPECT_EQ(c.TextColor, ta->TextColorDisabled());
       }},
      {"focused active", [&] { pager->SetFocus(); }, 0,
       [&](const C& c) {
         EXPECT_TRUE(c.Focus);
         EXPECT_EQ(c.Color, ta->ColorHot());
         EXPECT_EQ(c.BorderColor, ta->BorderColorSelectedHot());
         EXPECT_EQ(c.TextColor, ta->TextColorHot());
         EXPECT_EQ(c.HighLightColor, ta->HighLightColorSelected);
       }},
  };
  auto* outside = new TEdit(form);
  outside->SetParent(form);
  outside->SetBounds(615, 380, 20, 20);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    outside->SetFocus();
    pager->SetHotTabIndex(-1);
    pager->SetShowNonSelectedTabs(false);
    page3->SetTabEnabled(true);
    c.setUp();
    c.check(pager->GetTabColors(c.tab));
  }
  // Pressing the active tab shows its down border.
  TPoint c0 = TabCentre(0);
  robot.MoveTo(pager->Handle(), 300, 200);
  Tick(500);
  robot.MouseDown(pager->Handle(), c0.X, c0.Y);
  EXPECT_EQ(pager->PressedTabIndex(), 0);
  // The focus colours are applied last: a focused pager shows its active tab in them.
  if (pager->Focused()) {
    EXPECT_EQ(pager->GetTabColors(0).BorderColor, ta->BorderColorSelectedHot());
  }
  outside->SetFocus();
  EXPECT_EQ(pager->GetTabColors(0).BorderColor, ta->BorderColorDown());
  EXPECT_EQ(pager->GetTabColors(0).HighLightColor, ta->HighLightColorDown);
  robot.MouseUp(pager->Handle(), c0.X, c0.Y);
}

// ---- buttons ----------------------------------------------------------------------------------

TEST_F(PagerTest, ScrollButtonCountsAndButtonRectangles) {
  for (int i = 0; i < 12; ++i) AddPage("A rather long tab caption " + std::to_string(i));
  ASSERT_TRUE(pager->TabScroller()->Visible());
  struct Case {
    bool first, last;
    int count;
  } cases[] = {{true, true, 4}, {true, false, 3}, {false, true, 3}, {false, false, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    pager->ButtonSettings()->SetFirstButton(c.first);
    pager->ButtonSettings()->SetLastButton(c.last);
    TRect br = pager->GetButtonsRect();
    EXPECT_EQ(br.Right - br.Left, 3 + 20 * c.count);
    ASSERT_NE(pager->ScrollNextButton(), nullptr);
    EXPECT_EQ(pager->ScrollNextButton()->Width(), 18);
  }
  pager->ButtonSettings()->SetCloseButton(true);
  TRect close = pager->GetCloseButtonRect(-1);
  EXPECT_EQ(close.Right - close.Left, 18);
  EXPECT_EQ(close.Bottom - close.Top, 18);
  ASSERT_NE(pager->PagerCloseButton(), nullptr);
  EXPECT_EQ(pager->PagerCloseButton()->BoundsRect(), close);
  // Scrolling moves the first shown tab.
  TRect before = pager->GetTabRect(0);
  pager->ScrollRightBtnClick();
  EXPECT_EQ(pager->GetTabRect(0), (TRect{-1, -1, -1, -1}));
  EXPECT_NE(before.Left, -1);
}

TEST_F(PagerTest, CloseOnTabWithVetoThenFreeOnCloseAfterTheClickReturns) {
  pager->ButtonSettings()->SetCloseButton(true);
  pager->SetCloseOnTab(true);
  pager->SetFreeOnClose(true);
  TDovAvarOrodez* btn = page1->CloseButton();
  ASSERT_NE(btn, nullptr);
  EXPECT_EQ(btn->Width(), 18);
  EXPECT_EQ(page2->CloseButton()->Width(), 0);  // only the active tab shows its button
  bool allow = false;
  std::vector<int> closed;
  int asked = 0;
  pager->OnClosePage = [&](TObject*, int index, bool& a) {
    ++asked;
    EXPECT_EQ(index, 0);
    a = allow;
  };
  pager->OnClosedPage = [&](TObject*, int index) { closed.push_back(index); };
  TRect r = btn->BoundsRect();
  robot.Click(pager->Handle(), r.Left + 9, r.Top + 9);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(pager->GetDizOfficePageCount(), 2);
  EXPECT_TRUE(closed.empty());

  allow = true;
  Tick(1000);  // not a double click
  int pendingWhenClosed = -1;
  pager->OnClosedPage = [&](TObject*, int index) {
    closed.push_back(index);
    pendingWhenClosed = pager->PendingButtonFrees();
  };
  bool hidden = false;
  page1->OnHide = [&](TObject*) { hidden = true; };
  robot.Click(pager->Handle(), r.Left + 9, r.Top + 9);
  EXPECT_EQ(closed, (std::vector<int>{0}));
  EXPECT_EQ(pendingWhenClosed, 1);  // the clicked button outlived its own click
  EXPECT_EQ(pager->GetDizOfficePageCount(), 1);
  EXPECT_EQ(pager->ActivePage(), page2);
  scope.Backend().Pump();
  EXPECT_EQ(pager->PendingButtonFrees(), 0);
  EXPECT_TRUE(hidden);
}

TEST_F(PagerTest, DeferredFreeOfAButtonWhosePageIsGoneIsHarmless) {
  pager->ButtonSettings()->SetCloseButton(true);
  pager->SetCloseOnTab(true);
  ASSERT_NE(page2->CloseButton(), nullptr);
  delete page2;  // its close button waits for the posted free
  EXPECT_EQ(pager->PendingButtonFrees(), 1);
  // A stray message with an unknown id frees nothing.
  pager->Perform(ZorOzirazIreziDestroyCloseBtnMessage(), 9999, 0);
  EXPECT_EQ(pager->PendingButtonFrees(), 1);
  scope.Backend().Pump();
  EXPECT_EQ(pager->PendingButtonFrees(), 0);
}

TEST_F(PagerTest, ClosingTheLastPageWithoutFreeHidesItsTab) {
  pager->ButtonSettings()->SetCloseButton(true);
  page2->SetTabVisible(false);
  EXPECT_TRUE(pager->CloseActivePage() == false || pager->ActivePage() == nullptr);
  EXPECT_FALSE(page1->TabVisible());
  EXPECT_FALSE(page1->Visible());
}

// ---- mouse, keyboard, key tips -----------------------------------------------------------------

TEST_F(PagerTest, RobotClicksSwitchPagesButNotWithTheMiddleButton) {
  TPoint c1 = TabCentre(1);
  robot.Click(pager->Handle(), c1.X, c1.Y, TInputButton::Middle);
  EXPECT_EQ(pager->ActivePage(), page1);
  robot.Click(pager->Handle(), c1.X, c1.Y);
  EXPECT_EQ(pager->ActivePage(), page2);
  EXPECT_TRUE(page2->Visible());
  EXPECT_EQ(page2->GlowState(), 1);  // click glow
  Tick(400);
  EXPECT_EQ(page2->GlowState(), 2);
  EXPECT_EQ(page2->GlowTimer(), nullptr);
  // Pressing the active tab shows it pressed until the button is released.
  robot.MouseDown(pager->Handle(), c1.X, c1.Y);
  EXPECT_EQ(pager->PressedTabIndex(), 1);
  robot.MouseUp(pager->Handle(), c1.X, c1.Y);
  EXPECT_EQ(pager->PressedTabIndex(), -1);
}

TEST_F(PagerTest, HoverGlowStepsOnTheTestClock) {
  TPoint c1 = TabCentre(1);
  robot.MoveTo(pager->Handle(), c1.X, c1.Y);
  EXPECT_EQ(pager->HotTabIndex(), 1);
  ASSERT_NE(page2->GlowTimer(), nullptr);
  EXPECT_EQ(page2->GlowTimer()->Interval(), 50u);
  std::vector<int> steps;
  for (int i = 0; i < 7; ++i) {
    Tick(50);
    steps.push_back(page2->HoverPosition());
  }
  EXPECT_EQ(steps, (std::vector<int>{20, 40, 60, 80, 100, 120, 120}));  // parked while the cursor rests
  robot.MoveTo(pager->Handle(), 300, 200);  // onto the page: the glow fades out
  EXPECT_EQ(pager->HotTabIndex(), -1);
  EXPECT_EQ(page2->GlowStep(), -20);
  Tick(50);
  EXPECT_EQ(page2->HoverPosition(), 100);
  Tick(400);
  EXPECT_EQ(page2->GlowState(), 2);
  EXPECT_EQ(page2->GlowTimer(), nullptr);
  EXPECT_EQ(page2->HoverPosition(), -20);
}

TEST_F(PagerTest, DialogCodeArrowsAndCtrlTabCycle) {
  EXPECT_EQ(pager->Perform(WM_GETDLGCODE, 0, 0), 0x81);
  AddPage("Third");
  auto* edit = new TEdit(form);
  edit->SetParent(page1);
  edit->SetFocus();
  robot.PressKey(VK_TAB, rsCtrl);
  EXPECT_EQ(pager->ActivePageIndex(), 1);
  robot.PressKey(VK_TAB, rsCtrl);
  EXPECT_EQ(pager->ActivePageIndex(), 2);
  robot.PressKey(VK_TAB, rsCtrl);
  EXPECT_EQ(pager->ActivePageIndex(), 0);
  robot.PressKey(VK_TAB, TRobotShift(rsCtrl | rsShift));
  EXPECT_EQ(pager->ActivePageIndex(), 2);
  pager->SetFocus();
  robot.PressKey(VK_LEFT);
  EXPECT_EQ(pager->ActivePageIndex(), 1);
  robot.PressKey(VK_RIGHT);
  EXPECT_EQ(pager->ActivePageIndex(), 2);
}

TEST_F(PagerTest, KeyTipsTypingAndTheFormHookChain) {
  pager->SetShowShortCutHints(true);
  page1->SetShortCutHint("RA");
  page2->SetShortCutHint("RB");
  TDizOfficePage* page3 = AddPage("Third");
  page3->SetShortCutHint("X");
  // Another hook on the form, installed before and removed while the pager's hook is live.
  int outside = 0;
  auto previous = form->WindowProc;
  form->WindowProc = [&, previous](TMessage& m) {
    ++outside;
    if (previous) previous(m);
    else form->WndProc(m);
  };
  pager->SetFocus();
  ASSERT_TRUE(pager->ShortCutHintMode());
  EXPECT_TRUE(pager->ParentFormHooked());
  ASSERT_NE(page1->ShortCutHintWindow(), nullptr);
  EXPECT_TRUE(page1->ShortCutHintWindow()->Visible());
  int beeps = scope.Backend().Beeps();
  robot.Type("r");
  EXPECT_TRUE(pager->ShortCutHintMode());
  EXPECT_EQ(page3->ShortCutHintWindow(), nullptr);  // "X" does not begin with "R"
  EXPECT_NE(page1->ShortCutHintWindow(), nullptr);
  robot.Type("b");
  EXPECT_EQ(pager->ActivePage(), page2);
  EXPECT_FALSE(pager->ShortCutHintMode());
  EXPECT_FALSE(pager->ParentFormHooked());
  EXPECT_EQ(scope.Backend().Beeps(), beeps);
  // The other hook still runs after the pager's hook left.
  int before = outside;
  form->Perform(WM_NULL, 0, 0);
  EXPECT_EQ(outside, before + 1);
  // Typing what starts no key tip beeps.
  pager->HideShortCutHintOfAllPages();
  pager->ShowShortCutHintOfAllPages();
  robot.Type("q");
  EXPECT_EQ(scope.Backend().Beeps(), beeps + 1);
  EXPECT_FALSE(pager->ShortCutHintMode());
  // A form move ends key-tip mode and unhooks.
  pager->ShowShortCutHintOfAllPages();
  form->Perform(WM_SIZE, 0, 0);
  EXPECT_FALSE(pager->ShortCutHintMode());
  EXPECT_FALSE(pager->ParentFormHooked());
  form->WindowProc = previous;
}

TEST_F(PagerTest, MnemonicSelectsThePage) {
  page2->SetCaption("&Database");
  pager->SetFocus();
  robot.PressKey('D', rsAlt);
  EXPECT_EQ(pager->ActivePage(), page2);
}

TEST_F(PagerTest, DraggingATabOntoAnotherMovesTheActivePage) {
  TDizOfficePage* page3 = AddPage("Third");
  std::vector<std::pair<int, int>> moves;
  pager->OnTabMoved = [&](TObject*, int a, int b) { moves.emplace_back(a, b); };
  TPoint c0 = TabCentre(0), c2 = TabCentre(2);
  robot.Drag(pager->Handle(), POINT{c0.X, c0.Y}, POINT{c2.X, c2.Y});
  EXPECT_TRUE(moves.empty());  // reordering is off
  pager->SetTabReorder(true);
  robot.Drag(pager->Handle(), POINT{c0.X, c0.Y}, POINT{c2.X, c2.Y});
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));
  EXPECT_EQ(pager->GetDizPages(2), page1);
  EXPECT_EQ(pager->ActivePage(), page1);
  EXPECT_EQ(pager->GetDizPages(1), page3);
}

TEST_F(PagerTest, KeyTipPlacementAroundTheTab) {
  page2->SetShortCutHint("B");
  TRect t = pager->GetTabRect(1);
  TPoint o = pager->ClientToScreen(TPoint{t.Left, t.Top});
  const int W = t.Right - t.Left, H = t.Bottom - t.Top;
  for (TShortCutHintPos pos : {shpLeft, shpTop, shpRight, shpBottom, shpCenter}) {
    SCOPED_TRACE(static_cast<int>(pos));
    page2->HideShortCutHint();
    page2->SetShortCutHintPos(pos);
    page2->ShowShortCutHint();
    TShortCutHintWindow* w = page2->ShortCutHintWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->Caption(), "B");
    const int ww = w->Width(), wh = w->Height();
    int x = w->Left(), y = w->Top();
    switch (pos) {
      case shpLeft: EXPECT_EQ(x, o.X - ww / 2); EXPECT_EQ(y, o.Y + (H - wh) / 2); break;
      case shpTop: EXPECT_EQ(x, o.X + (W - ww) / 2); EXPECT_EQ(y, o.Y - wh / 2); break;
      case shpRight: EXPECT_EQ(x, o.X + W - ww / 2); EXPECT_EQ(y, o.Y + (H - wh) / 2); break;
      case shpBottom: EXPECT_EQ(x, o.X + (W - ww) / 2); EXPECT_EQ(y, o.Y + H - wh / 2); break;
      default: EXPECT_EQ(x, 0); EXPECT_EQ(y, 0); break;  // a new window stays where it was made
    }
  }
  page2->HideShortCutHint();
  EXPECT_EQ(page2->ShortCutHintWindow(), nullptr);
}

TEST(PagerDrawing, GlowBackgroundBorderAndFill) {
  TBitmap bmp(40, 30);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clBlack);
  c->FillRect(TRect{0, 0, 40, 30});
  c->Brush()->SetStyle(bsSolid);
  // Square border on the last column and row (width and height less one).
  DrawVistaBackground(c, TRect{0, 0, 40, 30}, 0x0000FF, 0x0000FF, 0x00FF00, 0x00FF00, 0xFF0000, ggVertical,
                      ggVertical, false, true, tpTop);
  EXPECT_EQ(c->Brush()->GetStyle(), bsClear);
  EXPECT_EQ(c->GetPixel(20, 0), 0xFF0000);
  EXPECT_EQ(c->GetPixel(39, 15), 0xFF0000);
  EXPECT_EQ(c->GetPixel(20, 29), 0xFF0000);
  EXPECT_EQ(c->GetPixel(20, 5), 0x0000FF);   // upper half
  EXPECT_EQ(c->GetPixel(20, 22), 0x00FF00);  // lower half
  // A tab with rounding 0 fills its corners; with rounding 8 the corner keeps the background.
  TBitmap tab(60, 24);
  tab.Canvas()->Brush()->SetColor(clBlack);
  tab.Canvas()->FillRect(TRect{0, 0, 60, 24});
  DrawVistaTab(tab.Canvas(), TRect{0, 0, 60, 24}, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, clNone, ggVertical,
               ggVertical, true, tsRectangle, false, 0, true, tpTop);
  EXPECT_EQ(tab.Canvas()->GetPixel(1, 1), 0x0000FF);
  tab.Canvas()->FillRect(TRect{0, 0, 60, 24});
  DrawVistaTab(tab.Canvas(), TRect{0, 0, 60, 24}, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, clNone, ggVertical,
               ggVertical, true, tsRectangle, false, 8, true, tpTop);
  EXPECT_EQ(tab.Canvas()->GetPixel(1, 1), 0x000000);
  EXPECT_EQ(tab.Canvas()->GetPixel(30, 12), 0x0000FF);
}

// ---- the look -----------------------------------------------------------------------------------

TEST_F(PagerTest, EveryTabSideAndShapeRenders) {
  pager->ButtonSettings()->SetCloseButton(true);
  pager->ButtonSettings()->SetPageListButton(true);
  page2->SetShowCheckBox(true);
  struct Case {
    TTabPosition pos;
    TDizTabShape shape;
    int rounding;
    const char* file;
  } cases[] = {{tpTop, tsLeftRightRamp, 3, "top_ramp"},
               {tpBottom, tsRectangle, 1, "bottom"},
               {tpLeft, tsRectangle, 2, "left"},
               {tpRight, tsLeftRamp, 2, "right_ramp"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    pager->SetTabPosition(c.pos);
    pager->TabSettings()->SetShape(c.shape);
    pager->TabSettings()->SetRounding(c.rounding);
    scope.Backend().Pump();
    TRect t = pager->GetTabRect(0);
    EXPECT_GT(t.Right - t.Left, 0);
    EXPECT_GT(t.Bottom - t.Top, 0);
    ASSERT_NE(pager->PagerCloseButton(), nullptr);
    EXPECT_EQ(pager->PagerCloseButton()->BoundsRect(), pager->GetCloseButtonRect(-1));
    EXPECT_TRUE(pager->PagerCloseButton()->Enabled());
    EXPECT_FALSE(pager->PagerCloseButton()->Picture()->GetEmpty());
    EXPECT_TRUE(SaveWindowPng(form->Handle(), (PngDir() / (std::string("lorm_pager_") + c.file + ".png")).string()));
  }
}


TEST_F(PagerTest, MainWindowPagerRendersWithActiveHotAndGlowingTabs) {
  TDizOfficePage* page3 = AddPage("Справка");
  (void)page3;
  auto* label = new TLabel(form);
  label->SetParent(page1);
  label->SetBounds(20, 20, 200, 20);
  label->SetCaption("Начальные коэффициенты");
  scope.Backend().Pump();
  // Active tab 0; tab 2 glowing (fading out), tab 1 hot.
  TPoint c2 = TabCentre(2), c1 = TabCentre(1);
  robot.MoveTo(pager->Handle(), c2.X, c2.Y);
  Tick(250);
  robot.MoveTo(pager->Handle(), c1.X, c1.Y);
  Tick(100);
  EXPECT_EQ(pager->HotTabIndex(), 1);
  EXPECT_NE(pager->GetDizPages(2)->GlowState(), 2);
  auto png = PngDir() / "lorm_pager_main.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  // The strip shows the Luna strip colour, the active tab its selected colours.
  EXPECT_EQ(WindowPixel(pager->Handle(), 604, 15), COLORREF(0xFFDBBF));
  TRect a = pager->GetTabRect(0);
  COLORREF activeTop = WindowPixel(pager->Handle(), (a.Left + a.Right) / 2, a.Top + 6);
  EXPECT_NE(activeTop, COLORREF(0xFFDBBF));
  // A click switches, and the new active tab paints.
  robot.Click(pager->Handle(), c1.X, c1.Y);
  Tick(400);
  EXPECT_TRUE(SaveWindowPng(form->Handle(), (PngDir() / "lorm_pager_second.png").string()));
  EXPECT_TRUE(page2->Visible());
}

}  // namespace

// The tab keeps its caption's size between changes: a caption set through the window's
// text, through the property, or back to what it was is measured again.
TEST_F(PagerTest, TabFollowsCaptionChangesThroughTheWindowAndTheProperty) {
  const int first = pager->GetTabRect(0).Right - pager->GetTabRect(0).Left;
  page1->SetCaption(page1->Caption() + " and a much longer caption");
  const int longer = pager->GetTabRect(0).Right - pager->GetTabRect(0).Left;
  EXPECT_GT(longer, first);
  SetWindowText(page1->Handle(), "x");
  const int shorter = pager->GetTabRect(0).Right - pager->GetTabRect(0).Left;
  EXPECT_LT(shorter, first);
  EXPECT_EQ(pager->GetTabRect(1).Left - pager->GetTabRect(0).Right,
            pager->TabSettings()->Spacing());  // the next tab follows the shorter one
  page1->SetCaption("x and a much longer caption");
  EXPECT_GT(pager->GetTabRect(0).Right - pager->GetTabRect(0).Left, shorter);
}

// ---- docking --------------------------------------------------------------------------
namespace {

// A client whose docking fails.
class TRefusingPanel : public TPanel {
public:
  using TPanel::TPanel;
  void SetParent(TWinControl* AParent) override {
    if (dynamic_cast<TDizOfficePage*>(AParent)) throw Exception("refused");
    TPanel::SetParent(AParent);
  }
};

TEST_F(PagerTest, DockedFormGetsAPageAndUndockingFreesIt) {
  pager->SetDockSite(true);
  auto* report = new TForm(form);
  report->SetCaption("Отчёт");
  report->SetBounds(10, 10, 200, 100);
  report->Show();
  ASSERT_TRUE(ManualDock(report, pager));
  ASSERT_EQ(pager->GetDizOfficePageCount(), 3);
  TDizOfficePage* page = pager->GetDizPages(2);
  EXPECT_EQ(page->Caption(), "Отчёт");
  EXPECT_EQ(report->Parent(), page);
  EXPECT_EQ(report->Align(), alClient);
  EXPECT_EQ(pager->GetPageFromDockClient(report), page);
  EXPECT_EQ(pager->ActivePageIndex(), 2);
  // The form's new caption follows onto the tab.
  report->SetCaption("Отчёт за май");
  EXPECT_EQ(page->Caption(), "Отчёт за май");
  // Undocking frees the page and activates the next one.
  ASSERT_TRUE(ManualDock(report, nullptr));
  EXPECT_EQ(pager->GetDizOfficePageCount(), 2);
  EXPECT_EQ(report->Parent(), nullptr);
  EXPECT_EQ(report->Align(), alNone);
  EXPECT_EQ(pager->ActivePageIndex(), 0);
}

TEST_F(PagerTest, AFailingDockLeavesNoPage) {
  pager->SetDockSite(true);
  auto* client = new TRefusingPanel(form);
  client->SetParent(form);
  EXPECT_THROW(ManualDock(client, pager), Exception);
  EXPECT_EQ(pager->GetDizOfficePageCount(), 2);
  EXPECT_EQ(client->Parent(), form);
  EXPECT_EQ(HostDockSite(client), nullptr);
}

TEST_F(PagerTest, AClientsTextUpToItsFirstLineBreakBecomesTheCaption) {
  pager->SetDockSite(true);
  auto* client = new TPanel(form);
  client->SetParent(form);
  ASSERT_TRUE(ManualDock(client, pager));
  TDizOfficePage* page = pager->GetDizPages(2);
  struct Case {
    const char* text;
    const char* caption;
  } cases[] = {{"a\r\nb", "a"}, {"one\ntwo", "one"}, {"plain", "plain"}};
  for (const Case& c : cases) {
    client->Perform(WM_SETTEXT, 0, LPARAM(c.text));
    EXPECT_EQ(page->Caption(), c.caption);
  }
  client->SetVisible(false);
  EXPECT_FALSE(page->TabVisible());
  client->SetVisible(true);
  EXPECT_TRUE(page->TabVisible());
  // A double click on its tab floats it.
  const TPoint p = TabCentre(2);
  robot.DoubleClick(pager->Handle(), p.X, p.Y);
  EXPECT_EQ(HostDockSite(client), nullptr);
  EXPECT_EQ(pager->GetDizOfficePageCount(), 2);
}

}  // namespace
