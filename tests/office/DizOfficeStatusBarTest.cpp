// The office status bar: panels and their defaults, layout, the 100 ms timer, auto-size,
// stylers and presets, drawing primitives, path shortening, the grip hit test, anchors,
// and snapshots of every panel style and of the main window's bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "foundation/DizUtil.h"
#include "office/DizOfficeStatusBar.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace DizOfficeStatusBar;

namespace {

class StatusBarTest : public ::testing::Test {
protected:
  StatusBarTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(100, 100, 627, 200);
    form->Show();
    bar = new TDizOfficeStatusBar(form);
    bar->SetParent(form);
    dir = std::filesystem::temp_directory_path() / "lorm-statusbar";
    std::filesystem::create_directories(dir);
  }
  ~StatusBarTest() override { Application->Restart(); }

  void MainWindowPanels() {
    for (int w : {80, 100, 130, 82}) {
      TDizOfficeStatusPanel* p = bar->Panels()->Add();
      p->SetWidth(w);
    }
  }
  void Tick(int n = 1) { scope.Backend().Advance(100 * n); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TDizOfficeStatusBar* bar = nullptr;
  std::filesystem::path dir;
};

TEST_F(StatusBarTest, ANewPanelHasItsDefaultsAndImageIndexesGrowWithMinusOnes) {
  TDizOfficeStatusPanel* p = bar->Panels()->Add();
  EXPECT_EQ(p->Width(), 50);
  EXPECT_EQ(p->MinWidth(), 20);
  EXPECT_EQ(p->ImageIndex(), -1);
  EXPECT_EQ(p->HTMLOffsetX(), 2);
  EXPECT_EQ(p->HTMLOffsetY(), 2);
  EXPECT_EQ(p->Style(), psHTML);
  EXPECT_TRUE(p->Enabled());
  EXPECT_EQ(p->Progress()->Max(), 100);
  EXPECT_EQ(p->Progress()->Level1Perc(), 70);
  EXPECT_EQ(p->Progress()->Level2Perc(), 90);
  p->SetImageIndexes(3, 7);
  EXPECT_EQ(p->ImageCount(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p->GetImageIndexes(i), -1);
  EXPECT_EQ(p->GetImageIndexes(3), 7);
  EXPECT_EQ(p->GetImageIndexes(5), -1);
  p->Progress()->SetPosition(100);
  p->StepIt();
  EXPECT_EQ(p->Progress()->Position(), 100);
  p->Progress()->SetPosition(41);
  p->StepIt();
  EXPECT_EQ(p->Progress()->Position(), 42);
  EXPECT_EQ(bar->GetVersion(), "1.3.0.0");
}

TEST_F(StatusBarTest, PanelRectanglesFollowTheWidthsAndTheStretchPanel) {
  MainWindowPanels();
  bar->SetAlign(alNone);
  bar->SetBounds(0, 0, 611, 19);
  EXPECT_EQ(bar->Height(), 19);
  EXPECT_EQ(bar->GetPanelRect(3), (TRect{310, 1, 610, 18}));
  EXPECT_EQ(bar->GetPanel(310), 2);
  EXPECT_EQ(bar->GetPanelRect(4), (TRect{-1, -1, -1, -1}));
  bar->SetStretchPanel(1);
  EXPECT_EQ(bar->GetPanelRect(1), (TRect{80, 1, 399, 18}));
  bar->SetStretchPanel(7);  // outside: ignored
  EXPECT_EQ(bar->StretchPanel(), 1);
  bar->Panels()->Clear();
  EXPECT_EQ(bar->GetPanel(10), -1);
}

TEST_F(StatusBarTest, TheTimerCountsElevenTicksAndDrivesBlinkAndAnimation) {
  TDizOfficeStatusPanel* anim = bar->Panels()->Add();
  anim->SetStyle(psAnimation);
  TImageList frames(form);
  frames.SetWidth(8);
  frames.SetHeight(8);
  TBitmap frame;
  frame.SetSize(8, 8);
  for (int i = 0; i < 3; ++i) frames.Add(&frame, nullptr);
  anim->SetAnimationImages(&frames);
  anim->SetAnimationDelay(1);
  std::vector<int> advancedAt;
  for (int tick = 0; tick < 11; ++tick) {
    const int counter = bar->TickCounter();
    const int before = anim->AnimationFrame;
    Tick();
    if (anim->AnimationFrame != before) advancedAt.push_back(counter);
  }
  EXPECT_EQ(bar->TickCounter(), 0);
  EXPECT_EQ(advancedAt, (std::vector<int>{0, 2, 4, 6, 8, 10}));
}

TEST_F(StatusBarTest, ClockAndKeyPanelsFollowTheClockAndTheKeys) {
  TDizOfficeStatusPanel* time = bar->Panels()->Add();
  time->SetStyle(psTime);
  time->SetTimeFormat("hh:nn:ss");
  TDizOfficeStatusPanel* num = bar->Panels()->Add();
  num->SetStyle(psNumLock);
  num->SetAutoSize(true);
  num->SetMinWidth(20);
  Tick();
  const std::string first = time->Text();
  EXPECT_EQ(first.size(), 8u);
  // Auto-size measures "NUM" whatever the key's state.
  const int width = num->Width();
  EXPECT_GE(width, 20);
  TRobot robot;
  const bool wasOn = GetKeyState(VK_NUMLOCK) & 1;
  robot.PressKey(VK_NUMLOCK);
  Tick();
  EXPECT_EQ(num->Text(), wasOn ? "" : "NUM");
  EXPECT_EQ(num->Width(), width);
  robot.PressKey(VK_NUMLOCK);
  Tick();
  EXPECT_EQ(num->Text(), wasOn ? "NUM" : "");
}

TEST_F(StatusBarTest, TheInternalStylerIsTheBarsOwnNamedComponent) {
  auto* internal = dynamic_cast<TCustomDizOfficeStatusBarStyler*>(bar->FindComponent("InternalStyler"));
  ASSERT_NE(internal, nullptr);
  EXPECT_EQ(internal, bar->CurrentStyler());
  EXPECT_EQ(internal->Owner(), bar);
  EXPECT_TRUE(internal->ComponentStyle().Contains(csSubComponent));
  // Two bars on one form each own theirs; a stored form does not write it.
  auto* second = new TDizOfficeStatusBar(form);
  second->SetParent(form);
  EXPECT_NE(second->FindComponent("InternalStyler"), internal);
  bar->SetName("Bar1");
  const std::string written = WriteComponentToText(form);
  EXPECT_EQ(written.find("InternalStyler"), std::string::npos);
  delete second;
  EXPECT_EQ(bar->FindComponent("InternalStyler"), internal);
}

// Auto-size measures the key panel's text in the bar's own font through the canvas
// handle: "NUM" in Tahoma -11 is 22 pixels, one more without smoothing, plus 12; the
// panel's MinWidth when that is larger.
TEST_F(StatusBarTest, AutoSizedKeyPanelIsTheTextWidthInTheBarFontPlusTwelve) {
  bar->Font()->SetName("Tahoma");
  bar->Font()->SetHeight(-11);
  bar->SetAntiAlias(aaNone);
  TDizOfficeStatusPanel* num = bar->Panels()->Add();
  num->SetStyle(psNumLock);
  num->SetMinWidth(20);
  num->SetAutoSize(true);
  bar->Panels()->Add();  // the grip's 16 pixels go to the last panel only
  bar->AutoSizePanels();
  EXPECT_EQ(num->Width(), 35);
  num->SetMinWidth(40);
  bar->AutoSizePanels();
  EXPECT_EQ(num->Width(), 40);
}

TEST_F(StatusBarTest, StylerLinkFallsBackToTheInternalStyler) {
  auto* styler = new TDizOfficeStatusBarOfficeStyler(form);
  EXPECT_EQ(styler->Style(), DizOfficeStatusBar::psOffice2003Blue);
  EXPECT_EQ(styler->PanelAppearanceLight()->Color(), 0xFADDC6);
  EXPECT_EQ(styler->BorderColor(), 0xE4AE88);
  bar->SetStyler(styler);
  EXPECT_EQ(bar->CurrentStyler(), styler);
  EXPECT_TRUE(styler->HasControl(bar));
  bar->SetStyler(nullptr);
  EXPECT_NE(bar->CurrentStyler(), styler);
  EXPECT_FALSE(styler->HasControl(bar));
  bar->SetStyler(styler);
  delete styler;
  EXPECT_EQ(bar->Styler(), nullptr);
  EXPECT_NE(bar->CurrentStyler(), nullptr);
  bar->Repaint();  // paints with the internal styler

  // A styler of another owner is also watched.
  auto* foreign = new TDizOfficeStatusBarOfficeStyler(nullptr);
  bar->SetStyler(foreign);
  delete foreign;
  EXPECT_EQ(bar->Styler(), nullptr);
  bar->Repaint();
}

TEST_F(StatusBarTest, PresetsKeepWhatTheyDoNotSet) {
  TDizOfficeStatusBarOfficeStyler styler(nullptr);
  styler.SetStyle(DizOfficeStatusBar::psOffice2007Luna);
  EXPECT_EQ(styler.PanelAppearanceLight()->TextColor(), 0x612009);
  EXPECT_EQ(styler.PanelAppearanceLight()->ColorHot(), 0xFBFFFF);
  EXPECT_EQ(styler.PanelAppearanceDark()->ColorMirrorTo(), 0xC29574);
  styler.SetStyle(DizOfficeStatusBar::psOffice2003Silver);
  EXPECT_EQ(styler.PanelAppearanceLight()->TextColorHot(), clBlack);
  styler.SetStyle(DizOfficeStatusBar::psOffice2007Obsidian);
  styler.SetStyle(DizOfficeStatusBar::psOffice2003Silver);
  EXPECT_EQ(styler.PanelAppearanceLight()->TextColorHot(), clWhite);
  styler.SetComponentStyle(tsCustom);
  EXPECT_EQ(styler.Style(), DizOfficeStatusBar::psCustom);
  EXPECT_EQ(styler.PanelAppearanceLight()->TextColorHot(), clWhite);
  // With the XP scheme followed, "NormalColor" selects the blue preset.
  styler.AutoThemeAdapt = true;
  styler.ThemeChanged(&styler);
  const int scheme = XPColorSchemeIndex();
  EXPECT_EQ(styler.Style(), scheme == 1   ? DizOfficeStatusBar::psOffice2003Blue
                            : scheme == 2 ? DizOfficeStatusBar::psOffice2003Olive
                            : scheme == 3 ? DizOfficeStatusBar::psOffice2003Silver
                                          : DizOfficeStatusBar::psWindowsXP);
}

TEST_F(StatusBarTest, PrimitivesBlendGaugeAndShortenPaths) {
  EXPECT_EQ(DizOfficeStatusBar::BlendColor(clWhite, clBlack, 50), 0x808080);
  EXPECT_EQ(DizOfficeStatusBar::BlendColor(clBtnFace, clBlack, 100), clBtnFace);
  EXPECT_EQ(GaugePercent(0, 200, 50), 25);
  EXPECT_EQ(GaugePercent(0, 200, 500), 100);
  EXPECT_EQ(GaugePercent(0, 200, -10), 0);
  EXPECT_EQ(GaugePercent(5, 5, 5), 0);

  std::string folder = "\\a\\b\\";
  DropFirstFolder(folder);
  EXPECT_EQ(folder, "\\...\\b\\");
  DropFirstFolder(folder);
  EXPECT_EQ(folder, "\\...\\");
  folder = "a\\b\\";
  DropFirstFolder(folder);
  EXPECT_EQ(folder, "...\\b\\");
  folder = ".config\\x\\";
  DropFirstFolder(folder);
  EXPECT_EQ(folder, "...\\x\\");

  TBitmap canvasHolder;
  canvasHolder.SetSize(10, 10);
  TCanvas* c = canvasHolder.Canvas();
  std::vector<std::string> steps;
  const std::string path = "D:\\work\\notes\\file.txt";
  for (int width = c->TextWidth(path); width >= 0; width -= 2) {
    const std::string fitted = FitPathToWidth(path, c, width);
    if (steps.empty() || steps.back() != fitted) steps.push_back(fitted);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{path, "D:\\...\\notes\\file.txt", "D:\\...\\file.txt", "...\\file.txt",
                                             "file.txt"}));
}

TEST_F(StatusBarTest, AShortenedPathIsDrawnWhole) {
  // From a box just as wide as "...\file.txt" is drawn on, the path is drawn as one of its
  // shortened forms, whole: exactly as that form looks in a box with room to spare.
  const std::string path = "C:\\work\\notes\\file.txt", shortened = "...\\file.txt";
  const UINT pathFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS;
  const UINT plainFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  // Anti-aliased, the bar shortens the path itself (plain GDI text shortens it its own way).
  for (TAntiAlias aa : {aaClearType, aaAntiAlias}) {
    SCOPED_TRACE(int(aa));
    TFont font;
    font.SetName("Tahoma");
    font.SetHeight(-11);
    auto draw = [&](const std::string& text, UINT flags, int width) {
      auto bmp = std::make_unique<TBitmap>(200, 19);
      TCanvas* c = bmp->Canvas();
      c->Brush()->SetColor(clWhite);
      c->FillRect(TRect{0, 0, 200, 19});
      c->Font()->Assign(&font);
      TRect measured;
      DrawPanelText(c, taLeftJustify, flags, TRect{2, 0, 2 + width, 19}, text, &font, true, true, aa, false, measured);
      return bmp;
    };
    auto pixels = [](TBitmap* b) {
      std::vector<TColor> v;
      for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 200; ++x) v.push_back(b->Canvas()->GetPixel(x, y));
      return v;
    };
    // The width the shortened text takes as drawn.
    auto probe = std::make_unique<TBitmap>(10, 10);
    probe->Canvas()->Font()->Assign(&font);
    TRect box;
    DrawPanelText(probe->Canvas(), taLeftJustify, plainFlags, TRect{0, 0, 1000, 19}, shortened, &font, true, false, aa,
                  false, box);
    const int width = box.Right - box.Left + 1;
    // Every way the path may be shortened, drawn whole.
    std::vector<std::vector<TColor>> candidates;
    for (const std::string& text :
         {path, std::string("C:\\...\\notes\\file.txt"), std::string("C:\\...\\file.txt"), shortened})
      candidates.push_back(pixels(draw(text, plainFlags, 1000).get()));
    for (int w = width; w < width + 50; ++w) {
      const auto got = pixels(draw(path, pathFlags, w).get());
      EXPECT_TRUE(std::find(candidates.begin(), candidates.end(), got) != candidates.end()) << "box " << w;
    }
    EXPECT_TRUE(pixels(draw(path, pathFlags, width).get()) == candidates.back());
  }
}

TEST_F(StatusBarTest, TheGripAnswersTheSizingHitTestAndIsDrawn) {
  MainWindowPanels();
  ASSERT_TRUE(bar->HasSizeGrip());
  const TPoint corner = bar->ClientToScreen(TPoint{bar->Width() - 3, bar->Height() - 3});
  EXPECT_EQ(bar->Perform(WM_NCHITTEST, 0, MAKELPARAM(WORD(corner.X), WORD(corner.Y))), HTBOTTOMRIGHT);
  const TPoint middle = bar->ClientToScreen(TPoint{40, 8});
  EXPECT_EQ(bar->Perform(WM_NCHITTEST, 0, MAKELPARAM(WORD(middle.X), WORD(middle.Y))), HTCLIENT);
  // Twelve squares: six dots and their shadows.
  const COLORREF dot = ColorToRGB(
      DizOfficeStatusBar::BlendColor(bar->CurrentStyler()->PanelAppearanceDark()->Color(), clWhite, 50));
  const int l = bar->Width() - 18, b = bar->Height() - 1;
  const TPoint origin = form->ScreenToClient(bar->ClientToScreen(TPoint{0, 0}));
  int dots = 0;
  for (auto [x, y] : {std::pair{l + 5, b - 4}, {l + 9, b - 4}, {l + 13, b - 4}, {l + 13, b - 8}, {l + 13, b - 12},
                      {l + 9, b - 8}})
    if (WindowPixel(form->Handle(), origin.X + x + 1, origin.Y + y + 1) == dot) ++dots;
  EXPECT_EQ(dots, 6);
  form->SetBorderStyle(bsSingle);
  EXPECT_FALSE(bar->HasSizeGrip());
}

TEST_F(StatusBarTest, AnchorsOpenThroughTheAllowListAndButtonPanelsTrackTheMouse) {
  std::vector<std::string> opened, clicked;
  SetLinkLauncher([&](const std::vector<std::string>& argv) {
    opened.push_back(argv.back());
    return true;
  });
  MainWindowPanels();
  bar->Panels()->Items(0)->SetText("<a href=\"mailto:a@b.c\">mail</a>");
  bar->Panels()->Items(1)->SetText("<a href=\"note\">note</a>");
  bar->Panels()->Items(2)->SetButton(true);
  bar->OnAnchorClick = [&](TObject*, const std::string& a) { clicked.push_back(a); };
  std::vector<int> rightClicks;
  bar->OnPanelRightClick = [&](TObject*, int p) { rightClicks.push_back(p); };
  TRobot robot;
  const TPoint origin = form->ScreenToClient(bar->ClientToScreen(TPoint{0, 0}));
  auto find = [&](int panel) {
    const TRect r = bar->GetPanelRect(panel);
    for (int x = r.Left; x < r.Right; ++x)
      if (!bar->IsAnchor(x, 9).empty()) return x;
    return -1;
  };
  const int mailX = find(0), noteX = find(1);
  ASSERT_GE(mailX, 0);
  ASSERT_GE(noteX, 0);
  robot.Click(form->Handle(), origin.X + mailX, origin.Y + 9);
  robot.Click(form->Handle(), origin.X + noteX, origin.Y + 9);
  EXPECT_EQ(opened, std::vector<std::string>{"mailto:a@b.c"});
  EXPECT_EQ(clicked, std::vector<std::string>{"note"});
  robot.MoveTo(form->Handle(), origin.X + 200, origin.Y + 9);
  EXPECT_EQ(bar->HotPanel(), 2);
  robot.MoveTo(form->Handle(), origin.X + 20, origin.Y + 9);
  EXPECT_EQ(bar->HotPanel(), -1);
  SetLinkLauncher(nullptr);
}

TEST_F(StatusBarTest, EveryPanelStyleAndTheMainWindowBarLookRight) {
  auto* styler = new TDizOfficeStatusBarOfficeStyler(form);
  styler->SetStyle(DizOfficeStatusBar::psOffice2007Luna);
  bar->SetStyler(styler);
  MainWindowPanels();
  EXPECT_TRUE(SaveWindowPng(form->Handle(), (dir / "main-window-bar.png").string()));
  bar->Panels()->Clear();
  struct P {
    TDizOfficeStatusPanelStyle style;
    const char* text;
    int width;
  };
  for (P p : {P{psHTML, "<b>HTML</b> <font color=\"clRed\">red</font>", 90}, P{psText, "Text", 50},
              P{psTime, "", 70}, P{psDate, "", 80}, P{psProgress, "", 100}, P{psEllipsText, "A long text to cut", 60},
              P{psFileEllipsText, "C:\\work\\notes\\file.txt", 90}, P{psCapsLock, "", 40}}) {
    TDizOfficeStatusPanel* panel = bar->Panels()->Add();
    panel->SetStyle(p.style);
    panel->SetText(p.text);
    panel->SetWidth(p.width);
    if (p.style == psProgress) panel->Progress()->SetPosition(75);
  }
  bar->Panels()->Items(1)->SetButton(true);
  Tick();
  EXPECT_TRUE(SaveWindowPng(form->Handle(), (dir / "every-panel-style.png").string()));
  bar->Panels()->Items(2)->SetTimeFormat("hh:nn:ss");
  Tick();
  const std::string time = bar->Panels()->Items(2)->Text();
  Tick(10);
  EXPECT_NE(bar->Panels()->Items(2)->Text(), time);
}

}  // namespace
