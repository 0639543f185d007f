// The office panel: part objects and settings, collapse (also animated on the test clock),
// caption buttons and sizing zones, caption shading, position persistence, the panel group
// and the styler presets, and a snapshot of the main window's panels.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "office/RavUvure.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace RavUvure;

namespace {

class PanelTest : public ::testing::Test {
protected:
  PanelTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 520, 420);
    form->Show();
    dir = std::filesystem::temp_directory_path() / "lorm-panel";
    std::filesystem::create_directories(dir);
  }
  ~PanelTest() override { Application->Restart(); }

  TRavUvure* NewPanel(int left, int top, int width, int height) {
    auto* p = new TRavUvure(form);
    p->SetParent(form);
    p->SetBounds(left, top, width, height);
    p->Caption()->SetVisible(true);
    return p;
  }
  LRESULT HitTest(TControl* c, int x, int y) {
    const TPoint s = c->ClientToScreen(TPoint{x, y});
    return static_cast<TWinControl*>(c)->Perform(WM_NCHITTEST, 0, MAKELPARAM(WORD(s.X), WORD(s.Y)));
  }

  THeadlessScope scope;
  TForm* form = nullptr;
  std::filesystem::path dir;
};

TEST_F(PanelTest, CaptionValuesAndCopies) {
  TPanelCaption caption;
  for (auto [given, stored] : {std::pair{150, 200}, std::pair{255, 255}, std::pair{300, 255}, std::pair{-4, 200}}) {
    caption.SetShadeLight(given);
    EXPECT_EQ(caption.ShadeLight(), stored) << given;
  }
  TPanelCaption source;
  source.SetColor(clRed);
  source.SetText("source");
  source.SetVisible(true);
  source.SetPosition(cpLeft);
  source.SetTopIndent(5);
  source.SetMinMaxCaption(true);
  caption.SetText("mine");
  caption.Assign(&source);
  EXPECT_EQ(caption.Color(), clRed);
  EXPECT_EQ(caption.Text(), "mine");
  EXPECT_FALSE(caption.Visible());
  EXPECT_EQ(caption.Position(), cpTop);
  EXPECT_EQ(caption.TopIndent(), 0);
  EXPECT_FALSE(caption.MinMaxCaption());

  // A status bar takes only another status bar.
  TPanelStatusBar bar;
  TFont font;
  bar.Assign(&font);
  EXPECT_EQ(bar.Color(), clBtnFace);
}

TEST_F(PanelTest, SettingsNotifyOnceAcrossNestedUpdatesAndCopyEverything) {
  TRavUvureSettings settings;
  int changes = 0;
  settings.OnChange = [&](TObject*) { ++changes; };
  settings.EndUpdate();
  EXPECT_EQ(changes, 0);
  settings.BeginUpdate();
  settings.BeginUpdate();
  settings.Caption()->SetColor(clRed);
  settings.EndUpdate();
  EXPECT_EQ(changes, 0);
  settings.EndUpdate();
  EXPECT_EQ(changes, 1);

  TRavUvureSettings copy;
  settings.Color = 0x123456;
  settings.CollapsSteps = 7;
  settings.Caption()->SetText("caption");
  settings.StatusBar()->SetColor(clAqua);
  copy.Assign(&settings);
  EXPECT_EQ(copy.Color, 0x123456);
  EXPECT_EQ(copy.CollapsSteps, 7);
  EXPECT_EQ(copy.Caption()->Color(), clRed);
  EXPECT_EQ(copy.Caption()->Text(), "caption");
  EXPECT_EQ(copy.StatusBar()->Color(), clAqua);
}

TEST_F(PanelTest, CollapseToTheCaptionAndBack) {
  TRavUvure* panel = NewPanel(10, 10, 200, 120);
  int ends = 0;
  panel->OnEndCollapsExpand = [&](TObject*) { ++ends; };
  panel->SetCollaps(true);
  EXPECT_EQ(panel->Height(), 18);
  EXPECT_EQ(panel->FullHeight(), 120);
  panel->SetCollaps(false);
  EXPECT_EQ(panel->Height(), 120);
  panel->SetCollaps(false);  // the same value still reports
  EXPECT_EQ(ends, 3);

  panel->SetBorderWidth(1);
  panel->SetBorderShadow(true);
  panel->SetCollaps(true);
  EXPECT_EQ(panel->Height(), 23);
}

TEST_F(PanelTest, AnimatedCollapseRunsOnTheTimerAndChildrenKeepTheirVisibility) {
  TRavUvure* panel = NewPanel(10, 10, 200, 120);
  panel->SetCollapsSteps(4);
  panel->SetCollapsDelay(20);
  auto* shown = new TPanel(form);
  shown->SetParent(panel);
  auto* hidden = new TPanel(form);
  hidden->SetParent(panel);
  hidden->SetVisible(false);
  panel->SetCollaps(true);
  EXPECT_TRUE(panel->Collapsing());
  std::vector<int> heights{panel->Height()};
  for (int i = 0; i < 4; ++i) {
    scope.Backend().Advance(20);
    heights.push_back(panel->Height());
    if (i == 1) SaveWindowPng(form->Handle(), (dir / "collapse-step.png").string());
  }
  EXPECT_FALSE(panel->Collapsing());
  EXPECT_EQ(heights.front(), 120);
  EXPECT_EQ(heights[1], 120 - 25);  // (120 - 20) / 4 per step
  EXPECT_EQ(heights.back(), 18);
  panel->SetCollaps(false);
  scope.Backend().Advance(200);
  EXPECT_EQ(panel->Height(), 120);
  EXPECT_TRUE(shown->Visible());
  EXPECT_FALSE(hidden->Visible());
}

TEST_F(PanelTest, CaptionTextLeavesRoomForTheButtons) {
  TRavUvure* panel = NewPanel(10, 10, 200, 80);
  const int right = panel->CaptionTextRect().Right;
  panel->Caption()->SetCloseButton(true);
  panel->Caption()->SetMinMaxButton(true);
  EXPECT_EQ(panel->CaptionTextRect().Right, right - 52);
}

TEST_F(PanelTest, CaptionButtonsCollapseCloseAndFreeAfterTheClick) {
  TRavUvure* panel = NewPanel(10, 10, 200, 100);
  panel->Caption()->SetMinMaxButton(true);
  panel->Caption()->SetMinMaxCaption(true);
  int captionClicks = 0;
  panel->OnCaptionClick = [&](TObject*) { ++captionClicks; };
  TRobot robot;
  // The min/max button toggles once, not twice, and still counts as a caption click.
  robot.Click(form->Handle(), 10 + 200 - 8, 10 + 8);
  EXPECT_TRUE(panel->Collaps());
  EXPECT_EQ(captionClicks, 1);

  TRavUvure* closing = NewPanel(220, 10, 200, 100);
  closing->Caption()->SetCloseButton(true);
  closing->SetFreeOnClose(true);
  int closes = 0, closingCaptionClicks = 0;
  closing->OnClose = [&](TObject*) { ++closes; };
  closing->OnCaptionClick = [&](TObject*) { ++closingCaptionClicks; };
  robot.Click(form->Handle(), 220 + 200 - 8, 10 + 8);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(closingCaptionClicks, 0);
  scope.Backend().Pump();
  bool found = false;
  for (TComponent* c : form->ComponentList()) found = found || c == closing;
  EXPECT_FALSE(found);
}

TEST_F(PanelTest, SizingZonesFollowTheFixedSides) {
  TRavUvure* panel = NewPanel(10, 10, 200, 100);
  panel->SetCanSize(true);
  EXPECT_EQ(HitTest(panel, 199, 99), HTBOTTOMRIGHT);
  panel->SetFixedWidth(true);
  EXPECT_EQ(HitTest(panel, 199, 99), HTBOTTOM);
  EXPECT_EQ(HitTest(panel, 199, 50), HTCLIENT);
  panel->SetFixedHeight(true);
  EXPECT_EQ(HitTest(panel, 199, 99), HTCLIENT);
  panel->SetFixedHeight(false);
  panel->SetFixedWidth(false);
  panel->SetCollaps(true);
  EXPECT_EQ(HitTest(panel, 199, panel->Height() - 1), HTCLIENT);
}

// Sizing by the border and moving by the caption run the window system's loops; the
// panel's handlers keep the fixed sides and learn the new full height.
TEST_F(PanelTest, DraggingABorderOrTheCaptionSizesOrMovesThePanel) {
  struct TCase {
    const char* name;
    bool fixedWidth, fixedLeft;
    POINT from, by;
    TRect bounds;  // expected Left, Top, Width, Height
    bool sizing;
  };
  const TCase cases[] = {
      {"bottom edge, fixed width", true, false, {100, 98}, {0, 30}, {10, 10, 200, 130}, true},
      {"bottom-right corner", false, false, {198, 98}, {20, 10}, {10, 10, 220, 110}, true},
      {"caption, fixed left", false, true, {60, 8}, {30, 20}, {10, 30, 200, 100}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TRavUvure* panel = NewPanel(10, 10, 200, 100);
    panel->SetCanSize(true);
    panel->SetCanMove(true);
    panel->SetFixedWidth(c.fixedWidth);
    panel->SetFixedLeft(c.fixedLeft);
    int ends = 0;
    panel->OnEndMoveSize = [&](TObject*) { ++ends; };
    std::vector<std::string> seen;
    panel->WindowProc = [&](TMessage& m) {
      if (m.Msg == WM_ENTERSIZEMOVE) seen.push_back("enter");
      if (m.Msg == WM_EXITSIZEMOVE) seen.push_back("exit");
      if (m.Msg == WM_SIZING || m.Msg == WM_MOVING) {
        const std::string what = m.Msg == WM_SIZING ? "sizing " + std::to_string(m.WParam) : "moving";
        if (seen.empty() || seen.back() != what) seen.push_back(what);
      }
      panel->WndProc(m);
    };
    TRobot robot;
    robot.Drag(panel->Handle(), c.from, POINT{c.from.x + c.by.x, c.from.y + c.by.y});
    EXPECT_EQ(panel->Left(), c.bounds.Left);
    EXPECT_EQ(panel->Top(), c.bounds.Top);
    EXPECT_EQ(panel->Width(), c.bounds.Right);
    EXPECT_EQ(panel->Height(), c.bounds.Bottom);
    EXPECT_EQ(ends, 1);
    const std::string middle = !c.sizing ? "moving" : c.fixedWidth ? "sizing 6" : "sizing 8";
    EXPECT_EQ(seen, (std::vector<std::string>{"enter", middle, "exit"}));
    if (c.sizing) EXPECT_EQ(panel->FullHeight(), c.bounds.Bottom);
    panel->WindowProc = nullptr;
    delete panel;
  }
}

// Escape during a drag puts the panel back; the loop still ends once.
TEST_F(PanelTest, EscapeDuringSizingRestoresTheBounds) {
  TRavUvure* panel = NewPanel(10, 10, 200, 100);
  panel->SetCanSize(true);
  int ends = 0;
  panel->OnEndMoveSize = [&](TObject*) { ++ends; };
  TRobot robot;
  robot.AutoProcess = false;
  const POINT a = TRobot::ScreenPoint(panel->Handle(), POINT{198, 98});
  InputMouseMove(a);
  InputMouseButton(TInputButton::Left, true, a);
  InputMouseMove(POINT{a.x + 40, a.y + 40});
  InputKey(VK_ESCAPE, true);
  InputKey(VK_ESCAPE, false);
  InputMouseButton(TInputButton::Left, false, POINT{a.x + 40, a.y + 40});
  ProcessPendingMessages();
  EXPECT_EQ(panel->Width(), 200);
  EXPECT_EQ(panel->Height(), 100);
  EXPECT_EQ(ends, 1);
}

TEST_F(PanelTest, VerticalShadeIntensities) {
  TRavUvure* panel = NewPanel(10, 10, 200, 100);
  panel->Caption()->SetColor(clWhite);
  panel->Caption()->SetShadeLight(255);
  panel->Caption()->SetShadeType(stVShade);
  TCanvas* c = panel->ShadeBitmap()->Canvas();
  EXPECT_EQ(panel->ShadeBitmap()->GetHeight(), 20);
  EXPECT_EQ(GetRValue(ColorToRGB(c->GetPixel(5, 0))), 253);
  EXPECT_EQ(GetRValue(ColorToRGB(c->GetPixel(5, 10))), 224);
  // Tiny captions shade without dividing by zero.
  panel->Caption()->SetHeight(1);
  for (TShadeType t : {stHardBump, stIRadial, stORadial, stSoftBump, stLMetal}) panel->Caption()->SetShadeType(t);
  panel->SetWidth(3);
  panel->Caption()->SetShadeType(stHardBump);
}

TEST_F(PanelTest, PositionIsSavedInOrderAndLoadedBack) {
  const std::string ini = (dir / "positions.ini").string();
  std::filesystem::remove(ini);
  TRavUvure* panel = NewPanel(12, 34, 200, 120);
  panel->Position()->Key = ini;
  panel->Position()->Section = "Panel1";
  panel->Position()->Location = clInifile;
  panel->SetCollaps(true);
  panel->SavePosition();
  std::ifstream in(ini);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "[Panel1]\nTop=34\nLeft=12\nHeight=18\nFullHeight=120\nWidth=200\nCollaps=1\n\n");

  TRavUvure* other = NewPanel(0, 0, 150, 90);
  other->Position()->Assign(panel->Position());
  other->LoadPosition();
  EXPECT_TRUE(other->Collaps());
  EXPECT_EQ(other->BoundsRect(), (TRect{12, 34, 212, 52}));
  other->SetCollaps(false);
  EXPECT_EQ(other->Height(), 120);

  TIniFile(ini).WriteInteger("Panel1", "Collaps", 2);
  TRavUvure* third = NewPanel(0, 0, 150, 90);
  third->Position()->Assign(panel->Position());
  third->LoadPosition();
  EXPECT_FALSE(third->Collaps());

  // No key: nothing is read or written.
  TRavUvure* none = NewPanel(0, 0, 150, 90);
  none->Position()->Section = "X";
  none->SavePosition();
  none->LoadPosition();
  EXPECT_EQ(none->Top(), 0);
}

// Saved positions are read back into the coordinate range, whatever the store holds; the
// panel then collapses, expands, paints and is arranged without overflow.
TEST_F(PanelTest, PositionsBeyondTheCoordinateRangeLoadClamped) {
  const std::string ini = (dir / "extreme.ini").string();
  const int far = 1000000;
  struct Case {
    long long top, left, height, fullHeight, width;
    TRect bounds;
    int fullAfter;
  } cases[] = {
      {2147483647, 2147483647, 2147483647, 2147483647, 2147483647, TRect{far, far, 2 * far, 2 * far}, far},
      {-2147483648LL, -2147483648LL, -2147483648LL, -2147483648LL, -2147483648LL, TRect{-far, -far, -far, -far}, 0},
      {-2147483648LL, 2147483647, 2147483647, -2147483648LL, -2147483648LL, TRect{far, -far, far, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.top);
    std::filesystem::remove(ini);
    {
      TIniFile store(ini);
      store.WriteInteger("P", "Top", int(c.top));
      store.WriteInteger("P", "Left", int(c.left));
      store.WriteInteger("P", "Height", int(c.height));
      store.WriteInteger("P", "FullHeight", int(c.fullHeight));
      store.WriteInteger("P", "Width", int(c.width));
      store.WriteInteger("P", "Collaps", 1);
    }
    TRavUvure* panel = NewPanel(10, 10, 200, 120);
    panel->Position()->Key = ini;
    panel->Position()->Section = "P";
    panel->Position()->Location = clInifile;
    panel->LoadPosition();
    EXPECT_TRUE(panel->Collaps());
    EXPECT_EQ(panel->Left(), c.bounds.Left);
    EXPECT_EQ(panel->Top(), c.bounds.Top);
    EXPECT_EQ(panel->Width(), c.bounds.Width());
    EXPECT_EQ(panel->FullHeight(), c.fullAfter);
    panel->SetCollaps(false);
    form->Repaint();
    panel->SavePosition();
    TIniFile store(ini);
    EXPECT_EQ(store.ReadInteger("P", "Left", 0), c.bounds.Left);
    EXPECT_EQ(store.ReadInteger("P", "Top", 0), c.bounds.Top);
    delete panel;
  }

  // A group loads its panels' positions the same way and arranges them.
  auto* group = new TRavUvureGroup(form);
  group->SetParent(form);
  group->SetBounds(0, 0, 300, 300);
  TCustomRavUvure* a = group->AddPanel();
  TCustomRavUvure* b = group->AddPanel();
  a->SetName("A");
  b->SetName("B");
  std::filesystem::remove(ini);
  {
    TIniFile store(ini);
    for (const char* section : {"A", "B"})
      for (const char* key : {"Top", "Left", "Height", "FullHeight", "Width"})
        store.WriteInteger(section, key, section[0] == 'A' ? 2147483647 : int(-2147483648LL));
  }
  group->Position()->Key = ini;
  group->Position()->Section = "Group";
  group->Position()->Location = clInifile;
  group->LoadPanelPositions();
  group->UpdateGroup();
  form->Repaint();
  EXPECT_LE(group->ContentExtent(), 4 * far);
  delete group;
}

TEST_F(PanelTest, GroupStacksPanelsInColumnsAndKeepsTheListOrder) {
  auto* group = new TRavUvureGroup(form);
  group->SetParent(form);
  group->SetBounds(0, 0, 400, 400);
  group->SetColumns(2);
  std::vector<TCustomRavUvure*> panels;
  for (int h : {50, 80, 60, 40}) {
    TCustomRavUvure* p = group->AddPanel();
    p->SetHeight(h);
    panels.push_back(p);
  }
  group->MovePanel(0, 0);  // arranges by list order
  EXPECT_EQ(panels[0]->Top(), 8);
  EXPECT_EQ(panels[1]->Top(), 8);
  EXPECT_EQ(panels[2]->Top(), 96);
  EXPECT_EQ(panels[3]->Top(), 96);
  EXPECT_EQ(group->ContentExtent(), 8 + (80 + 8) + (40 + 8));  // each row advances by its last panel
  group->MovePanel(3, 0);
  EXPECT_EQ(group->Panels(0), panels[3]);
  EXPECT_EQ(panels[3]->Top(), 8);
  EXPECT_LT(panels[3]->Left(), panels[0]->Left());
  group->SetColumns(0);
  EXPECT_EQ(group->Columns(), 2);
  group->RemovePanel(-1);
  group->RemovePanel(group->PanelCount());
  EXPECT_EQ(group->PanelCount(), 4);

  // Shrinking below the content shows a 16-pixel scroll bar.
  group->SetColumns(1);
  group->SetHeight(100);
  group->UpdateScrollbar();
  EXPECT_TRUE(group->ScrollBar()->Visible());
  EXPECT_EQ(group->ScrollBar()->Width(), 16);
  EXPECT_EQ(group->ScrollBar()->PageSize(), 100);
}

TEST_F(PanelTest, Office2007LunaPresetReachesThePanelsButNotTheirOwnValues) {
  auto* styler = new TRavUvureStyler(form);
  TRavUvure* panel = NewPanel(10, 10, 200, 100);
  panel->Caption()->SetCloseButton(true);
  panel->SetText("body");
  panel->SetStyler(styler);
  styler->SetStyle(psOffice2007Luna);
  TRavUvureSettings* s = styler->Settings();
  EXPECT_EQ(s->Color, 0xFAF1E9);
  EXPECT_EQ(s->ColorTo, 0xEDD8C7);
  EXPECT_EQ(s->ColorMirror, 0xEDD8C7);
  EXPECT_EQ(s->ColorMirrorTo, 0xFFF2E7);
  EXPECT_EQ(s->BorderColor, 0xFFD2AF);
  EXPECT_EQ(s->Caption()->Color(), 0xFFEFE3);
  EXPECT_EQ(s->Caption()->ColorTo(), 0xFFD2AF);
  EXPECT_EQ(s->Caption()->ShadeLight(), 255);
  EXPECT_EQ(s->StatusBar()->Color(), 0xF7E3D3);
  EXPECT_EQ(s->StatusBar()->Font()->GetColor(), 0x723708);
  EXPECT_EQ(panel->Color(), 0xFAF1E9);
  EXPECT_EQ(panel->Caption()->ColorTo(), 0xFFD2AF);
  EXPECT_TRUE(panel->Caption()->CloseButton());
  EXPECT_EQ(panel->Text(), "body");
  styler->SetComponentStyle(tsCustom);
  EXPECT_EQ(styler->Style(), psOffice2007Luna);
  styler->SetComponentStyle(tsOffice2003Olive);
  EXPECT_EQ(styler->Style(), psOffice2003Olive);
}

TEST_F(PanelTest, StoredSettingsSurviveTheStoredStyleAndCaptionColoursRoundTrip) {
  RegisterClasses({TRavUvure::StaticClass(), TRavUvureStyler::StaticClass()});
  const std::string text =
      "object Form2: TForm\n"
      "  object Styler1: TRavUvureStyler\n"
      "    Settings.Color = 255\n"
      "    Style = psOffice2007Luna\n"
      "  end\n"
      "  object Panel1: TRavUvure\n"
      "    Left = 0\n    Top = 0\n    Width = 100\n    Height = 60\n"
      "  end\n"
      "end\n";
  TForm stored(nullptr);
  ReadComponentFromText(text, &stored);
  auto* styler = dynamic_cast<TRavUvureStyler*>(stored.FindComponent("Styler1"));
  auto* panel = dynamic_cast<TRavUvure*>(stored.FindComponent("Panel1"));
  ASSERT_TRUE(styler && panel);
  EXPECT_EQ(styler->Style(), psOffice2007Luna);
  EXPECT_EQ(styler->Settings()->Color, 255);
  // A panel written with the caption's own colours reads them back.
  EXPECT_EQ(panel->Caption()->Color(), clHighlight);
  EXPECT_EQ(panel->Caption()->ColorTo(), clNone);
  TForm copy(nullptr);
  ReadComponentFromText(WriteComponentToText(&stored), &copy);
  auto* panel2 = dynamic_cast<TRavUvure*>(copy.FindComponent("Panel1"));
  ASSERT_NE(panel2, nullptr);
  EXPECT_EQ(panel2->Caption()->Color(), clHighlight);
  EXPECT_EQ(panel2->Caption()->ColorTo(), clNone);
}

TEST_F(PanelTest, TheMainWindowPanelsLookRightInOffice2007Luna) {
  auto* styler = new TRavUvureStyler(form);
  styler->SetStyle(psOffice2007Luna);
  struct P {
    int left, top, width, height;
    const char* caption;
  };
  for (P p : {P{14, 18, 263, 81, "Начальные коэффициенты"}, P{14, 109, 262, 114, "Текущая плотность"},
              P{15, 232, 262, 81, "Пересчитанные коэффициенты"}}) {
    TRavUvure* panel = NewPanel(p.left, p.top, p.width, p.height);
    panel->SetStyler(styler);
    panel->Caption()->SetText(std::string("    <FONT face=\"Arial CYR\"></FONT><FONT size=\"12\"></FONT><B>") +
                              p.caption + "</B>");
    panel->Caption()->SetFont(form->Font());
  }
  EXPECT_TRUE(SaveWindowPng(form->Handle(), (dir / "main-window-panels.png").string()));
}

}  // namespace

namespace {

// A group and two panels as a stored form holds them: the form owns all three.
const char* const kGroupForm = R"(object GroupForm: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 400
  object Group1: TRavUvureGroup
    Left = 0
    Top = 0
    Width = 300
    Height = 300
    object Panel1: TRavUvure
      Left = 8
      Top = 8
      Width = 200
      Height = 60
    end
    object Panel2: TRavUvure
      Left = 8
      Top = 80
      Width = 200
      Height = 60
    end
  end
end
)";

}  // namespace

// Whoever frees the panels and the group, in whatever order, each is freed once and the
// group's list holds only live panels (the sanitizer reports a panel freed twice).
TEST_F(PanelTest, GroupForgetsPanelsFreedBeforeItInAnyOrder) {
  enum Order { FormOnly, PanelsFirst, GroupFirst, SecondPanelFirst };
  RegisterClasses({TRavUvure::StaticClass(), TRavUvureGroup::StaticClass()});
  for (Order order : {FormOnly, PanelsFirst, GroupFirst, SecondPanelFirst}) {
    SCOPED_TRACE(order);
    auto* stored = new TForm(form);
    ReadComponentFromText(kGroupForm, stored);
    auto* group = dynamic_cast<TRavUvureGroup*>(stored->FindComponent("Group1"));
    auto* panel1 = dynamic_cast<TCustomRavUvure*>(stored->FindComponent("Panel1"));
    auto* panel2 = dynamic_cast<TCustomRavUvure*>(stored->FindComponent("Panel2"));
    ASSERT_TRUE(group && panel1 && panel2);
    ASSERT_EQ(group->PanelCount(), 2);
    stored->Show();
    switch (order) {
      case FormOnly: break;
      case PanelsFirst:
        delete panel1;
        ASSERT_EQ(group->PanelCount(), 1);
        EXPECT_EQ(group->Panels(0), panel2);
        EXPECT_EQ(panel2->Index, 0);
        delete panel2;
        EXPECT_EQ(group->PanelCount(), 0);
        delete group;
        break;
      case GroupFirst:
        delete group;  // frees its panels
        EXPECT_EQ(stored->FindComponent("Panel1"), nullptr);
        EXPECT_EQ(stored->FindComponent("Panel2"), nullptr);
        EXPECT_EQ(stored->ComponentCount(), 0);
        break;
      case SecondPanelFirst:
        delete panel2;
        ASSERT_EQ(group->PanelCount(), 1);
        EXPECT_EQ(group->Panels(0), panel1);
        break;
    }
    delete stored;
  }

  // Panels the group made and owns leave its list when freed directly.
  auto* group = new TRavUvureGroup(form);
  group->SetParent(form);
  group->SetBounds(0, 0, 300, 300);
  TCustomRavUvure* first = group->AddPanel();
  TCustomRavUvure* second = group->AddPanel();
  delete first;
  ASSERT_EQ(group->PanelCount(), 1);
  EXPECT_EQ(group->Panels(0), second);
  group->RemovePanel(0);
  EXPECT_EQ(group->PanelCount(), 0);
  delete group;
}
