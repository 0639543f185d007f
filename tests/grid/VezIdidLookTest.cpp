// The grid's look presets, the resolved cell colours and the focus rectangle.
#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinUser.h"

namespace {

class LookTest : public GridTest {
protected:
  LookTest() {
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCountEx(4);
    grid->SetRowCountEx(8);
    FillCoordinates();
  }
  // A pixel of the cell's background, near its bottom-right corner, away from text and lines.
  COLORREF Pixel(int ACol, int ARow) {
    grid->Repaint();
    TRect r = grid->CellRect(ACol, ARow);
    return WindowPixel(grid->Handle(), r.Right - 4, r.Bottom - 4);
  }
  void Save(const std::string& name) {
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
      grid->Repaint();
      SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / (name + ".png")).string());
    }
  }
};

TEST_F(LookTest, Office2007StyleOnAnXPGridEndsWithTheOfficeColours) {
  ASSERT_EQ(grid->Look(), glXP);
  grid->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(grid->Look(), glOffice2007);
  EXPECT_EQ(grid->SelectionStyle(), ssOffice2007);
  EXPECT_EQ(grid->EditorStyle(), tsOffice2007Luna);
  EXPECT_EQ(grid->ZADGradFrom(), 0xFBF9F6);
  EXPECT_EQ(grid->ZADGradTo(), 0xE8DBD2);
  EXPECT_EQ(grid->ZADGradMirrorFrom(), clNone);
  EXPECT_EQ(grid->SelectionColor(), 0x5EC1F1);
  EXPECT_EQ(grid->SelectionTextColor(), 0x000000);
  EXPECT_EQ(grid->GridLineColor(), 0xF1EDEB);
  EXPECT_EQ(grid->GridFixedLineColor(), 0xD1BBA4);
  EXPECT_EQ(grid->ActiveCellColor(), 0x9DD8F9);
  EXPECT_EQ(grid->ActiveCellColorTo(), 0x5EC1F1);
  EXPECT_EQ(grid->ControlLook()->FixedGradientHoverBorder(), 0xB79F87);
  EXPECT_EQ(grid->ZADGradHover()[4], 0xB79F87);
  EXPECT_EQ(grid->ZADGradDown()[0], 0xE4C19D);
  EXPECT_EQ(grid->SearchFooter()->Color(), 0xFBF9F6);
  // The header is painted from the gradient's first colour down.
  grid->Repaint();
  COLORREF top = WindowPixel(grid->Handle(), grid->CellRect(1, 0).Right - 4, 0);
  EXPECT_NEAR(GetRValue(top), 0xF6, 1);
  EXPECT_NEAR(GetGValue(top), 0xF9, 1);
  EXPECT_NEAR(GetBValue(top), 0xFB, 1);
  Save("look_office2007_after_component_style");
}

TEST_F(LookTest, LookPresetsWriteTheirColours) {
  struct Case {
    TGridLook look;
    TColor selection, selectionText, gradFrom, gradTo, activeCell;
    TGridSelectionStyle style;
  };
  const Case cases[] = {
      {glStandard, clHighlight, clHighlightText, static_cast<TColor>(ColorToRGB(clBtnFace)), clNone, 0x808080, ssDefault},
      {glZAD, 0xEACAB6, 0x000000, 0xFFFFFF, 0xC0C0C0, 0xEACAB6, ssDefault},
      {glVista, 0xEACAB6, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFDF8F1, ssVista},
      {glWin7, 0xEACAB6, 0x000000, 0xFDFCFA, 0xFAF0E6, 0xFCEBDC, ssWin7},
      {glXP, 0xEACAB6, 0x000000, 0xFFFFFF, static_cast<TColor>(ColorToRGB(clBtnFace)), 0xEACAB6, ssDefault},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(TDavEvadurAvuz::GetLookAsString(c.look));
    grid->SetLook(glCustom);
    grid->SetLook(c.look);
    EXPECT_EQ(grid->SelectionColor(), c.selection);
    EXPECT_EQ(grid->SelectionTextColor(), c.selectionText);
    EXPECT_EQ(grid->ZADGradFrom(), c.gradFrom);
    EXPECT_EQ(grid->ZADGradTo(), c.gradTo);
    EXPECT_EQ(grid->ActiveCellColor(), c.activeCell);
    EXPECT_EQ(grid->SelectionStyle(), c.style);
  }
  // The same look again changes nothing, even after an edit.
  grid->SetSelectionColor(0x123456);
  grid->SetLook(glXP);
  EXPECT_EQ(grid->SelectionColor(), 0x123456);
}

TEST_F(LookTest, CustomStyleStillResetsTheSelectionAndSortHeader) {
  grid->SortSettings()->SetHeaderColor(0x112233);
  grid->SetSelectionStyle(ssWin7);
  grid->SetStyle(gsCustom);
  EXPECT_EQ(grid->SelectionColor(), clHighlight);
  EXPECT_EQ(grid->SelectionTextColor(), clHighlightText);
  EXPECT_EQ(grid->SelectionStyle(), ssDefault);
  EXPECT_EQ(grid->SortSettings()->HeaderColor(), clNone);
}

TEST_F(LookTest, ObsidianOnAnOfficeGridKeepsTheHoverColours) {
  grid->SetLook(glOffice2007);
  grid->SetStyle(gsOffice2007Obsidian);
  EXPECT_EQ(grid->ZADGradFrom(), 0xF7F7F7);
  EXPECT_EQ(grid->GridLineColor(), 0xE5D7D0);
  EXPECT_EQ(grid->ControlLook()->FixedGradientHoverBorder(), 0xB79F87);
  EXPECT_EQ(grid->SelectionStyle(), ssOffice2007);
}

TEST_F(LookTest, LookNames) {
  EXPECT_EQ(TDavEvadurAvuz::GetLookAsString(glOffice2007), "glOffice2007");
  EXPECT_EQ(TDavEvadurAvuz::GetLookAsFriendlyString(glXP), "Windows XP");
  EXPECT_EQ(TDavEvadurAvuz::GetLookAsFriendlyString(glVista), "Windows Vista");
}

TEST_F(LookTest, BandsRepeatByTheirLengthsBelowTheFixedRows) {
  grid->Bands()->SetPrimaryColor(0x00FF00);
  grid->Bands()->SetSecondaryColor(0x0000FF);
  grid->Bands()->SetPrimaryLength(2);
  grid->Bands()->SetSecondaryLength(1);
  EXPECT_EQ(grid->BandColor(1, 1, false), clNone);  // off
  grid->Bands()->SetActive(true);
  const TColor P = 0x00FF00, S = 0x0000FF;
  const TColor expected[] = {clNone, P, P, S, P, P, S, P};
  for (int r = 0; r < 8; ++r) EXPECT_EQ(grid->BandColor(1, r, false), expected[r]) << r;
  EXPECT_EQ(grid->BandColor(0, 1, false), clNone);  // fixed column
  EXPECT_EQ(grid->BandColor(1, 1, true), clNone);   // not printed unless asked
  EXPECT_EQ(Pixel(2, 3), ColorToRGB(S));
  EXPECT_EQ(Pixel(2, 4), ColorToRGB(P));
  // A zero period paints no band instead of dividing by zero.
  grid->Bands()->SetPrimaryLength(0);
  grid->Bands()->SetSecondaryLength(0);
  EXPECT_EQ(grid->BandColor(1, 1, false), clNone);
  // Copies keep the lengths.
  TBands copy(nullptr);
  grid->Bands()->SetPrimaryLength(2);
  grid->Bands()->SetSecondaryLength(3);
  copy.Assign(grid->Bands());
  EXPECT_EQ(copy.Period(), 5);
}

TEST_F(LookTest, CellColourShowsOnScreenWhateverThePrintFontSetting) {
  grid->GetCellProperties(2, 3)->BrushColor = 0x00FFFF;
  grid->PrintSettings()->UseDisplayFont = false;
  EXPECT_EQ(Pixel(2, 3), ColorToRGB(0x00FFFF));
}

TEST_F(LookTest, FocusRectangleOnlyOnTheFocusedCurrentCell) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetFocus();
  ASSERT_TRUE(grid->Focused());
  grid->SetSelectionColor(grid->Color());
  grid->SetSelectionTextColor(clBlack);
  grid->SetCellEx(1, 1, "");
  grid->SetCellEx(2, 1, "");
  TRect cur = grid->CellRect(1, 1);
  // The dotted frame lies on the cell's edge; another cell's edge stays plain.
  auto edgeInk = [&](int c) {
    grid->Repaint();
    TRect r = grid->CellRect(c, 1);
    int n = 0;
    for (int x = r.Left + 2; x < r.Right - 4; ++x)
      if (WindowPixel(grid->Handle(), x, r.Top + 1) != WindowPixel(grid->Handle(), x, r.Top + 4)) ++n;
    return n;
  };
  EXPECT_GT(edgeInk(1), 0);
  EXPECT_EQ(edgeInk(2), 0);
  grid->HideFocusRect = true;
  EXPECT_EQ(edgeInk(1), 0);
  grid->HideFocusRect = false;
  grid->SetOptions(grid->Options() + goRowSelect);
  EXPECT_EQ(edgeInk(1), 0);
  (void)cur;
}

TEST_F(LookTest, EveryLookPaints) {
  grid->SetCellEx(1, 0, "<b>Bold</b> <i>head</i>");
  grid->SetCellEx(2, 0, "<font color=\"clRed\">red</font>");
  for (TGridLook l : {glStandard, glSoft, glClassic, glZAD, glXP, glListView, glVista, glWin7, glOffice2007,
                      glCustom}) {
    grid->SetLook(l);
    grid->SetRowEx(2);
    Save("look_" + (l == glCustom ? std::string("glCustom") : TDavEvadurAvuz::GetLookAsString(l)));
    // Fixed and normal cells differ in every look.
    EXPECT_NE(Pixel(1, 0), Pixel(1, 3));
  }
}

}  // namespace

namespace {

TEST_F(LookTest, SortSettingsStrings) {
  TSortSettings* s = grid->SortSettings();
  EXPECT_EQ(s->SaveToString(), "u-1");
  s->Direction = sdDescending;
  s->Column = 2;
  EXPECT_EQ(s->SaveToString(), "d2");
  s->LoadFromString("u3");
  EXPECT_TRUE(s->Show);
  EXPECT_EQ(s->Column, 3);
  EXPECT_EQ(s->Direction, sdAscending);
  s->LoadFromString("dx");  // the number part does not convert: the column stays
  EXPECT_EQ(s->Column, 3);
  EXPECT_EQ(s->Direction, sdDescending);
  for (const char* bad : {"u", "x5", "u3i;u1"}) {
    SCOPED_TRACE(bad);
    if (std::string(bad) == "u3i;u1") {
      // An index-list marker inside a column form is no index mode.
      s->LoadFromString(bad);
      EXPECT_FALSE(s->IndexShow);
      continue;
    }
    try {
      s->LoadFromString(bad);
      ADD_FAILURE();
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Invalid sort settings specifier");
    }
  }
  s->LoadFromString("i;u1;d4");
  EXPECT_TRUE(s->IndexShow);
  EXPECT_EQ(s->SaveToString(), "i;u1;d4");
}

}  // namespace

// ---- following the system's colour scheme ---------------------------------------------------

namespace {

class ThemeAdaptTest : public LookTest {
protected:
  ThemeAdaptTest() : saved(SystemIdentity()) {
    SystemIdentity().MajorVersion = 5;  // Windows XP
    SystemIdentity().MinorVersion = 1;
  }
  ~ThemeAdaptTest() override { SystemIdentity() = saved; }
  TSystemIdentity saved;
};

TEST_F(ThemeAdaptTest, AdaptingFollowsTheXPColourScheme) {
  struct Case {
    const char* scheme;
    bool active;
    TColor from, to, active1, active2, footer, footerTo;
  } cases[] = {
      {"NormalColor", true, 0xFCE1CB, 0xE0A57D, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D},
      {"HomeStead", true, 0xCFF0EA, 0x8CC0B1, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1},
      {"Metallic", true, 0xECE2E1, 0xB39698, 0x94E6FB, 0x1595EE, 0xECE2E1, 0xB39698},
      {"Royale", true, 0xFFFFFF, clBtnFace, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},
      {"metallic", true, 0xFFFFFF, clBtnFace, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},
      {"NormalColor", false, 0xFFFFFF, clBtnFace, 0xFFFFFF, 0xFFD9B3, 0xFFFFFF, 0xFFD9B3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scheme) + (c.active ? "" : ", themes off"));
    SystemIdentity().ThemesActive = c.active;
    SystemIdentity().ThemeColorScheme = c.scheme;
    grid->SetLook(glStandard);
    grid->SetAutoThemeAdapt(true);
    EXPECT_TRUE(grid->AutoThemeAdapt());
    EXPECT_TRUE(grid->SearchFooter()->AutoThemeAdapt());
    EXPECT_EQ(ColorToRGB(grid->ZADGradFrom()), ColorToRGB(c.from));
    EXPECT_EQ(ColorToRGB(grid->ZADGradTo()), ColorToRGB(c.to));
    EXPECT_EQ(grid->ZADGradMirrorFrom(), clNone);
    EXPECT_EQ(grid->ActiveCellColor(), c.active1);
    EXPECT_EQ(grid->ActiveCellColorTo(), c.active2);
    EXPECT_EQ(grid->SearchFooter()->Color(), c.footer);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), c.footerTo);
    grid->SetAutoThemeAdapt(false);
  }
}

TEST_F(ThemeAdaptTest, SwitchingAdaptingOffKeepsTheColoursAndVistaTakesAero) {
  SystemIdentity().ThemeColorScheme = "HomeStead";
  grid->SetAutoThemeAdapt(true);
  SystemIdentity().ThemeColorScheme = "Metallic";
  grid->SetAutoThemeAdapt(false);
  EXPECT_FALSE(grid->SearchFooter()->AutoThemeAdapt());
  EXPECT_EQ(grid->ZADGradFrom(), TColor(0xCFF0EA));
  // The fixed cells show the scheme's gradient.
  EXPECT_EQ(ColorToRGB(grid->ControlLook()->FixedGradientFrom()), TColor(0xCFF0EA));

  SystemIdentity().MajorVersion = 6;  // Windows 7: the scheme name is not asked
  grid->SetAutoThemeAdapt(true);
  EXPECT_EQ(grid->ZADGradFrom(), TColor(0xFFFFFF));
  EXPECT_EQ(grid->ZADGradMirrorFrom(), TColor(0xFAF8F7));
  EXPECT_EQ(grid->ZADGradMirrorTo(), TColor(0xF4F2F1));
  EXPECT_EQ(grid->ActiveCellColor(), TColor(0x94E6FB));
}

// The published property goes through the setter: a grid read from a form adapts.
TEST_F(ThemeAdaptTest, APublishedAutoThemeAdaptAdapts) {
  SystemIdentity().ThemeColorScheme = "HomeStead";
  SetOrdProp(grid, "AutoThemeAdapt", 1);
  EXPECT_TRUE(grid->AutoThemeAdapt());
  EXPECT_EQ(grid->ZADGradFrom(), TColor(0xCFF0EA));
}

}  // namespace
