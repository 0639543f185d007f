// Tests of the styler's theme text block: the golden file of the main window's tool bar
// styler, the value encodings, and damaged blocks.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/DizThemeBinding.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Filer.h"
#include "tests/support/FifoGuard.h"
#include "tests/toolbar/ToolBarTestSupport.h"
#include "toolbar/VivIzizEzuStylers.h"

// The Windows 7 look flag of the GDI+ layer (foundation/DizGDIP.h, which cannot share a
// source file with the window system's headers).
void SetWin7(bool value);

namespace {

using namespace toolbar_test;

std::string ReadFile(const std::string& Name) {
  std::ifstream f(Name, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Saved(TCustomVivIzizEzuStyler& S) {
  std::ostringstream out;
  S.SavePropToFile(out);
  return out.str();
}

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> lines;
  std::istringstream in(Text);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

std::string Join(const std::vector<std::string>& Lines) {
  std::string s;
  for (const auto& l : Lines) s += l + "\r\n";
  return s;
}

const std::string kGolden = std::string(LORM_TEST_DATA_DIR) + "/MainWindowTheme.txt";

class ThemeTest : public ::testing::Test {
protected:
  THeadlessScope Headless;
  TComponent Form{nullptr};
};

TEST_F(ThemeTest, TheMainWindowsStylerWritesTheGoldenBlockAndReadsItBack) {
  // The main window's form stylers hand on Office 2007 Silver, then Office 2007 Luna.
  auto* mainStyler = new TVivIzizEzuOfficeStyler(&Form);
  mainStyler->SetComponentStyle(tsOffice2007Silver);
  mainStyler->SetComponentStyle(tsOffice2007Luna);
  const std::string golden = ReadFile(kGolden);
  ASSERT_EQ(Lines(golden).size(), 303u);
  EXPECT_EQ(Saved(*mainStyler), golden);

  auto* fresh = new TCustomVivIzizEzuStyler(&Form);
  std::istringstream in(golden);
  fresh->LoadPropFromFile(in);
  EXPECT_EQ(Saved(*fresh), golden);
  EXPECT_EQ(fresh->CaptionAppearance()->CaptionBorderColor(), 0xC6B0B1);
  EXPECT_EQ(fresh->DockColor()->Steps(), 128);
}

TEST_F(ThemeTest, EveryStoredValueRoundTrips) {
  TCustomVivIzizEzuStyler source(nullptr);
  // Values unlike any default, in every encoding.
  source.SetAutoThemeAdapt(true);
  source.ButtonAppearance()->SetBorderHotColor(0x0A0B0C);
  source.ButtonAppearance()->SetGradientDirectionChecked(VivIzizEzu::gdHorizontal);
  source.ButtonAppearance()->CaptionFont()->SetStyle({fsBold, fsStrikeOut});
  source.ButtonAppearance()->CaptionFont()->SetName("Odd, \"quoted\" name");
  source.Color()->Mirror()->SetColorMirrorTo(clHighlight);
  source.ColorHot()->SetSteps(17);
  source.Font()->SetSize(13);
  source.SetDragGripStyle(VivIzizEzu::dsDoubleLine);
  source.SetFloatingWindowBorderWidth(-4);
  source.ContainerAppearance()->SetLine3D(false);
  source.GlowButtonAppearance()->SetGradientMirrorDisabled(ggDiagonalBackward);
  source.TabAppearance()->SetHighLightColorHot(0x123456);
  source.GroupAppearance()->TabAppearance()->SetBorderColorHot(0x654321);
  source.GroupAppearance()->ToolBarAppearance()->ColorHot()->SetDirection(VivIzizEzu::gdVertical);
  source.CompactGlowButtonAppearance()->SetColorMirrorCheckedTo(clDefault);
  source.QATAppearance()->SetSteps(3);
  source.DockColor()->SetSteps(16384);  // the most bands a theme may ask for
  source.SetFormBorderColor(0x7F000001);
  const std::string text = Saved(source);
  EXPECT_EQ(Lines(text).size(), 303u);

  TCustomVivIzizEzuStyler target(nullptr);
  std::istringstream in(text);
  target.LoadPropFromFile(in);
  EXPECT_EQ(Saved(target), text);
  EXPECT_EQ(target.ButtonAppearance()->CaptionFont()->GetName(), "Odd, \"quoted\" name");
  EXPECT_EQ(target.ColorHot()->Steps(), 17);
  EXPECT_EQ(target.FloatingWindowBorderWidth(), -4);
  EXPECT_EQ(target.FormBorderColor(), 0x7F000001);
}

TEST_F(ThemeTest, ValuesAreWrittenInTheirEncodings) {
  TCustomVivIzizEzuStyler s(nullptr);
  s.Font()->SetName("Tahoma");
  s.ButtonAppearance()->CaptionFont()->SetName("Segoe UI");
  std::vector<std::string> lines = Lines(Saved(s));
  ASSERT_EQ(lines.size(), 303u);
  EXPECT_EQ(lines[0], "AutoThemeAdapt=False");
  EXPECT_EQ(lines[1], "ButtonAppearance.Color=clNone");
  EXPECT_EQ(lines[7], "ButtonAppearance.ColorHot=$00D2BDB6");
  EXPECT_EQ(lines[22], "ButtonAppearance.CaptionFont.Style=");
  EXPECT_EQ(lines[24], "\"ButtonAppearance.CaptionFont.Name=Segoe UI\"");
  EXPECT_EQ(lines[27], "Color.Direction=gdHorizontal");
  EXPECT_EQ(lines[34], "DockColor.ColorTo=clBtnFace");
  EXPECT_EQ(lines[40], "Font.Name=Tahoma");
  EXPECT_EQ(lines[41], "DragGripStyle=dsDots");
  EXPECT_EQ(lines[43], "RightHandleColorHot=$00D2BDB6");
  EXPECT_EQ(lines[98], "GlowButtonAppearance.Gradient=ggVertical");
  EXPECT_EQ(lines[302], "FormBorderColor=clBlack");
}

TEST_F(ThemeTest, ADamagedBlockRaisesCorruptFileAndChangesNothing) {
  TCustomVivIzizEzuStyler good(nullptr);
  good.SetBorderColor(0x111111);
  good.SetFormBorderColor(0x222222);
  const std::vector<std::string> lines = Lines(Saved(good));
  struct Case {
    const char* What;
    std::function<void(std::vector<std::string>&)> Damage;
  };
  std::vector<Case> cases = {
      {"a wrong key on a colour line", [](auto& l) { l[58] = "BorderColour=$00111111"; }},
      {"an empty colour", [](auto& l) { l[58] = "BorderColor="; }},
      {"a colour that is no number", [](auto& l) { l[58] = "BorderColor=$00GG1111"; }},
      {"an integer that is no number", [](auto& l) { l[49] = "FloatingWindowBorderWidth=two"; }},
      {"a file ending early", [](auto& l) { l.resize(120); }},
      {"an impossible font size", [](auto& l) { l[39] = "Font.Size=2147483647"; }},
      {"an absurd step count", [](auto& l) { l[28] = "Color.Steps=2147483647"; }},
      {"an absurd dock step count", [](auto& l) { l[36] = "DockColor.Steps=16385"; }},
      {"an absurd negative step count", [](auto& l) { l[301] = "QATAppearance.Steps=-2147483648"; }},
      {"a missing line in the middle", [](auto& l) { l.erase(l.begin() + 60); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<std::string> damaged = lines;
    c.Damage(damaged);
    TCustomVivIzizEzuStyler target(nullptr);
    TRecordingControl dock(nullptr, sckDockPanel);
    target.AddControl(&dock);
    const std::string before = Saved(target);
    std::istringstream in(Join(damaged));
    try {
      target.LoadPropFromFile(in);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Corrupt file");
    }
    EXPECT_EQ(Saved(target), before);
    EXPECT_TRUE(dock.Kinds.empty());
    target.RemoveControl(&dock);
  }
}

TEST_F(ThemeTest, LenientLinesTakeTheirFallbacks) {
  TCustomVivIzizEzuStyler source(nullptr);
  source.SetFormBorderColor(0x333333);
  source.SetDragGripStyle(VivIzizEzu::dsFlatDots);
  source.Font()->SetStyle({fsItalic});
  std::vector<std::string> lines = Lines(Saved(source));
  lines[27] = "Color.Direction=GDHORIZONTAL";
  lines[35] = "DockColor.Direction=";
  lines[41] = "DragGripStyle=dsZigZag";
  lines[0] = "autothemeadapt=TRUE";
  lines[38] = "Font.Style=fsBold,fsUnderline,fsNothing";
  lines.pop_back();  // no last line: FormBorderColor becomes black

  TCustomVivIzizEzuStyler target(nullptr);
  target.SetFormBorderColor(0x444444);
  target.Color()->SetDirection(VivIzizEzu::gdVertical);
  target.DockColor()->SetDirection(VivIzizEzu::gdHorizontal);
  TRecordingControl dock(nullptr, sckDockPanel);
  target.AddControl(&dock);
  std::istringstream in(Join(lines));
  target.LoadPropFromFile(in);
  EXPECT_EQ(target.Color()->Direction(), VivIzizEzu::gdHorizontal);
  EXPECT_EQ(target.DockColor()->Direction(), VivIzizEzu::gdVertical);
  EXPECT_EQ(target.DragGripStyle(), VivIzizEzu::dsDots);
  EXPECT_TRUE(target.AutoThemeAdapt());
  EXPECT_EQ(target.Font()->GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(target.FormBorderColor(), clBlack);
  // The values are applied through the setters: the controls hear of them one by one.
  EXPECT_GT(dock.Kinds.size(), 10u);
  target.RemoveControl(&dock);
}

// ---- office and fantasy stylers ------------------------------------------------------------------
using VivIzizEzu::TToolBarStyle;

TEST_F(ThemeTest, OfficeLunaPresetHoldsItsValues) {
  auto* s = new TVivIzizEzuOfficeStyler(&Form);
  EXPECT_EQ(s->Style(), VivIzizEzu::bsCustom);
  TRecordingControl* dock = new TRecordingControl(&Form, sckDockPanel);
  s->AddControl(dock);
  s->SetToolBarStyle(VivIzizEzu::bsOffice2007Luna);
  EXPECT_EQ(dock->Kinds.back(), 2);
  EXPECT_EQ(s->ComponentStyle(), tsOffice2007Luna);
  EXPECT_EQ(s->DockColor()->Steps(), 128);
  EXPECT_EQ(s->DockColor()->Direction(), VivIzizEzu::gdHorizontal);
  EXPECT_EQ(s->BorderColor(), 0xD7C8B7);
  EXPECT_EQ(s->SysButtonColor(), 0xB99A82);
  EXPECT_EQ(s->FloatingWindowBorderWidth(), 1);
  EXPECT_EQ(s->DragGripStyle(), VivIzizEzu::dsNone);
  EXPECT_EQ(s->GlowButtonAppearance()->BorderColorChecked(), 0x45667B);
  EXPECT_EQ(s->CompactGlowButtonAppearance()->ColorHot(), 0xF7F7EF);
  EXPECT_EQ(s->CompactGlowButtonAppearance()->Color(), 0xEEDBC8);
  EXPECT_EQ(s->PagerCaption()->Font()->GetSize(), 10);
  EXPECT_EQ(s->PagerCaption()->TextColorExtended(), 0x797069);

  // Silver does not write the border; Custom resets only the common part.
  s->SetToolBarStyle(VivIzizEzu::bsOffice2003Silver);
  EXPECT_EQ(s->BorderColor(), 0xD7C8B7);
  TColor dockColor = s->DockColor()->Color();
  dock->Kinds.clear();
  s->SetToolBarStyle(VivIzizEzu::bsCustom);
  EXPECT_EQ(s->ComponentStyle(), tsCustom);
  EXPECT_EQ(s->SysButtonColor(), clBlack);
  EXPECT_EQ(s->PagerCaption()->TextColor(), clGray);
  EXPECT_EQ(s->DockColor()->Color(), dockColor);
  EXPECT_EQ(dock->Kinds.back(), 2);
}

TEST_F(ThemeTest, TheLibraryWideStyleMapsOntoPresets) {
  struct Case {
    DUZERazav Given;
    TToolBarStyle Expected;
    DUZERazav Component;
  };
  const std::vector<Case> cases = {
      {tsOffice2003Blue, VivIzizEzu::bsOffice2003Blue, tsOffice2003Blue},
      {tsOffice2003Classic, VivIzizEzu::bsOffice2003Classic, tsCustom},
      {tsOffice2007Obsidian, VivIzizEzu::bsOffice2007Obsidian, tsOffice2007Obsidian},
      {tsWindowsXP, VivIzizEzu::bsWindowsXP, tsWindowsXP},
      {tsWhidbey, VivIzizEzu::bsWhidbeyStyle, tsWhidbey},
      {tsOffice2007Silver, VivIzizEzu::bsOffice2007Silver, tsOffice2007Silver},
      {tsWindowsVista, VivIzizEzu::bsWindowsVista, tsWindowsVista},
      {tsWindows7, VivIzizEzu::bsWindows7, tsWindows7},
      {tsTerminal, VivIzizEzu::bsTerminal, tsTerminal},
  };
  auto* s = new TVivIzizEzuOfficeStyler(&Form);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Given);
    s->SetComponentStyle(c.Given);
    EXPECT_EQ(s->Style(), c.Expected);
    EXPECT_EQ(s->ComponentStyle(), c.Component);
    EXPECT_EQ(s->DockColor()->Steps(), 128);
  }
  const std::string before = Saved(*s);
  s->SetComponentStyle(tsCustom);
  EXPECT_EQ(s->Style(), VivIzizEzu::bsTerminal);
  EXPECT_EQ(Saved(*s), before);
  EXPECT_TRUE(s->Obsidian() == false);
  s->SetComponentStyle(tsOffice2007Obsidian);
  EXPECT_TRUE(s->Obsidian());
}

TEST_F(ThemeTest, Windows7PresetFollowsTheWindows7Look) {
  auto* s = new TVivIzizEzuOfficeStyler(&Form);
  SetWin7(true);
  s->SetToolBarStyle(VivIzizEzu::bsWindows7);
  TColor withLook = s->Color()->Color();
  s->SetToolBarStyle(VivIzizEzu::bsCustom);
  SetWin7(false);
  s->SetToolBarStyle(VivIzizEzu::bsWindows7);
  EXPECT_EQ(withLook, 0xDBC9BA);
  EXPECT_EQ(s->Color()->Color(), 0xFCEBDC);
  EXPECT_EQ(s->BorderColor(), 0xCEA27D);
}

TEST_F(ThemeTest, StyleFilesNameTheStyleFirst) {
  const std::string file = ::testing::TempDir() + "toolbar_style.txt";
  auto* s = new TVivIzizEzuOfficeStyler(&Form);
  s->SetToolBarStyle(VivIzizEzu::bsWhidbeyStyle);
  s->SaveToFile(file);
  EXPECT_EQ(Lines(ReadFile(file)).front(), "bsWhidbey");
  EXPECT_EQ(Lines(ReadFile(file)).size(), 304u);
  auto* back = new TVivIzizEzuOfficeStyler(&Form);
  back->LoadFromFile(file);
  EXPECT_EQ(back->Style(), VivIzizEzu::bsWhidbeyStyle);
  EXPECT_EQ(Saved(*back), Saved(*s));

  // A capitalised name applies its preset; an office name means nothing to the fantasy
  // styler, whose style stays while the block still applies.
  std::vector<std::string> lines = Lines(ReadFile(file));
  lines[0] = "BSOFFICE2007LUNA";
  {
    std::ofstream(file, std::ios::binary) << Join(lines);
  }
  back->LoadFromFile(file);
  EXPECT_EQ(back->Style(), VivIzizEzu::bsOffice2007Luna);
  auto* fantasy = new TVivIzizEzuFantasyStyler(&Form);
  EXPECT_EQ(fantasy->Style(), VivIzizEzu::bsChocolate);
  lines[0] = "bsOffice2003Blue";
  {
    std::ofstream(file, std::ios::binary) << Join(lines);
  }
  fantasy->LoadFromFile(file);
  EXPECT_EQ(fantasy->Style(), VivIzizEzu::bsChocolate);
  EXPECT_EQ(fantasy->DockColor()->Color(), s->DockColor()->Color());

  // A damaged block is found before the first line's preset is applied.
  lines[0] = "bsOffice2007Obsidian";
  lines[60] = "Damaged";
  {
    std::ofstream(file, std::ios::binary) << Join(lines);
  }
  const std::string before = Saved(*back);
  try {
    back->LoadFromFile(file);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Corrupt file");
  }
  EXPECT_EQ(back->Style(), VivIzizEzu::bsOffice2007Luna);
  EXPECT_EQ(Saved(*back), before);

  try {
    s->LoadFromFile(file + ".missing");
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + file + ".missing");
  }
  const std::string bad = ::testing::TempDir() + "no/such/dir/style.txt";
  try {
    s->SaveToFile(bad);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot Create " + bad);
  }
  std::remove(file.c_str());
}

// A FIFO, a device or a folder named as a style file is refused at once with a clear
// error (a reader that opened the FIFO would wait for a writer; one that read /dev/zero
// would never end), and so is a file far larger than a style file.
TEST_F(ThemeTest, StyleFilesThatAreNoRegularFilesAreRefusedWithoutBlocking) {
  char pattern[] = "/tmp/lorm-stylefile-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern, fifo = dir + "/style.fifo", big = dir + "/big.txt";
  ASSERT_TRUE(MakeFifo(fifo));
  {
    auto* s = new TVivIzizEzuOfficeStyler(&Form);
    s->SaveToFile(big);
    ASSERT_EQ(::truncate(big.c_str(), std::int64_t(64) << 20), 0);  // a sparse tail
  }
  const struct {
    std::string path, message;
  } cases[] = {
      {fifo, "Cannot open file " + fifo + ": not a regular file"},
      {"/dev/zero", "Cannot open file /dev/zero: not a regular file"},
      {dir, "Cannot open file " + dir + ": not a regular file"},
      {big, "Cannot open file " + big + ": too large for a style file"},
  };
  auto* office = new TVivIzizEzuOfficeStyler(&Form);
  auto* fantasy = new TVivIzizEzuFantasyStyler(&Form);
  office->SetToolBarStyle(VivIzizEzu::bsOffice2007Luna);
  const std::string officeBefore = Saved(*office), fantasyBefore = Saved(*fantasy);
  for (const auto& c : cases) {
    for (int which = 0; which < 2; ++which) {
      SCOPED_TRACE(c.path + (which ? " fantasy" : " office"));
      std::string message = "(no error)";
      ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] {
        try {
          if (which) fantasy->LoadFromFile(c.path);
          else office->LoadFromFile(c.path);
        } catch (const Exception& e) {
          message = e.Message();
        }
      }));
      EXPECT_EQ(message, c.message);
    }
  }
  EXPECT_EQ(office->Style(), VivIzizEzu::bsOffice2007Luna);
  EXPECT_EQ(Saved(*office), officeBefore);
  EXPECT_EQ(Saved(*fantasy), fantasyBefore);
  ::unlink(fifo.c_str());
  ::unlink(big.c_str());
  ::rmdir(dir.c_str());
}

TEST_F(ThemeTest, TheStyleSurvivesAStoredForm) {
  for (TToolBarStyle style : {VivIzizEzu::bsOffice2003Blue, VivIzizEzu::bsOffice2007Luna}) {
    SCOPED_TRACE(style);
    TVivIzizEzuOfficeStyler written(nullptr);
    written.SetName("VivIzizEzuOfficeStyler1");
    written.SetToolBarStyle(style);
    written.CaptionAppearance()->SetCaptionBorderColor(0xC6B0B1);
    const std::string text = WriteComponentToText(&written);
    EXPECT_NE(text.find("Style = "), std::string::npos) << text;
    TVivIzizEzuOfficeStyler read(nullptr);
    ReadComponentFromText(text, &read);
    EXPECT_EQ(read.Style(), style);
    EXPECT_EQ(Saved(read), Saved(written));
  }
}

// A visual-styles library that reports the "HomeStead" colour scheme.
HRESULT HomeSteadThemeName(char16_t* file, int maxFile, char16_t* color, int maxColor, char16_t* size, int maxSize) {
  auto put = [](char16_t* buf, int max, const std::u16string& s) {
    if (!buf || max <= 0) return;
    std::size_t n = std::min<std::size_t>(s.size(), std::size_t(max - 1));
    std::copy_n(s.begin(), n, buf);
    buf[n] = 0;
  };
  put(file, maxFile, u"luna.msstyles");
  put(color, maxColor, u"HomeStead");
  put(size, maxSize, u"NormalSize");
  return S_OK;
}

TEST_F(ThemeTest, FollowingTheXPSchemeOverridesTheStoredStyle) {
  TLibraryExports e = StandardThemeLibraryExports();
  e["GetCurrentThemeName"] = LibraryProc(&HomeSteadThemeName);
  SetLibraryExports("uxtheme.dll", e);
  TVivIzizEzuOfficeStyler written(nullptr);
  written.SetName("VivIzizEzuOfficeStyler1");
  written.SetToolBarStyle(VivIzizEzu::bsOffice2007Luna);
  const std::string plain = WriteComponentToText(&written);
  written.SetAutoThemeAdapt(true);
  const std::string adapting = WriteComponentToText(&written);

  TVivIzizEzuOfficeStyler kept(nullptr), adapted(nullptr);
  ReadComponentFromText(plain, &kept);
  ReadComponentFromText(adapting, &adapted);
  SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports());
  EXPECT_EQ(kept.Style(), VivIzizEzu::bsOffice2007Luna);
  EXPECT_EQ(adapted.Style(), VivIzizEzu::bsOffice2003Olive);
}

TEST_F(ThemeTest, FantasyPresetsApplyEveryTime) {
  auto* s = new TVivIzizEzuFantasyStyler(&Form);
  EXPECT_EQ(s->Color()->Color(), 0xD7EDED);
  s->SetToolBarStyle(VivIzizEzu::bsMacOS);
  EXPECT_EQ(s->DragGripStyle(), VivIzizEzu::dsDoubleLine);
  s->Color()->SetColor(clRed);
  s->SetToolBarStyle(VivIzizEzu::bsMacOS);
  EXPECT_EQ(s->Color()->Color(), clWhite);
  const std::string before = Saved(*s);
  s->SetToolBarStyle(VivIzizEzu::bsUser);
  EXPECT_EQ(s->Style(), VivIzizEzu::bsUser);
  EXPECT_EQ(Saved(*s), before);
}

}  // namespace
