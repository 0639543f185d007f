// The office check box, radio button, group box, radio and check groups and office image:
// state machines, mouse and keyboard through the robot, theme states, layout values, and
// snapshots in the themed and the classic look.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "office/DizGroupBox.h"
#include "office/DizOfficeButtons.h"
#include "office/DizOfficeImage.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/UxTheme.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

namespace {

std::vector<std::pair<int, int>> gThemeDraws;  // (part, state)

HRESULT RecordingDrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip) {
  gThemeDraws.emplace_back(part, state);
  return DrawThemeBackground(theme, dc, part, state, rect, clip);
}

class OfficeButtonsTest : public ::testing::Test {
protected:
  OfficeButtonsTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 420, 320);
    form->Show();
    SetLinkLauncher([this](const std::vector<std::string>& argv) {
      opened.push_back(argv.back());
      return true;
    });
  }
  ~OfficeButtonsTest() override {
    SetLinkLauncher(nullptr);
    SetLibraryExports("uxtheme.dll", StandardThemeLibraryExports());
    ReloadXPThemeBinding();
    Application->Restart();
  }
  TDizOfficeCheckBox* NewCheckBox(const std::string& caption, int top = 20) {
    auto* box = new TDizOfficeCheckBox(form);
    box->SetParent(form);
    box->SetBounds(20, top, 160, 20);
    box->SetTabStop(true);
    box->SetCaption(caption);
    return box;
  }
  TDizOfficeRadioButton* NewRadio(TWinControl* parent, int top, uint8_t group = 0) {
    auto* radio = new TDizOfficeRadioButton(form);
    radio->SetParent(parent);
    radio->SetBounds(10, top, 120, 20);
    radio->SetGroupIndex(group);
    radio->SetCaption("radio");
    return radio;
  }
  // Robot input at a point of a control, given in the control's client coordinates.
  TPoint OnForm(TControl* c, int x, int y) { return form->ScreenToClient(c->ClientToScreen(TPoint{x, y})); }
  void Click(TControl* c, int x, int y) {
    const TPoint p = OnForm(c, x, y);
    robot.Click(form->Handle(), p.X, p.Y);
  }
  void Down(TControl* c, int x, int y) {
    const TPoint p = OnForm(c, x, y);
    robot.MouseDown(form->Handle(), p.X, p.Y);
  }
  void Up(TControl* c, int x, int y) {
    const TPoint p = OnForm(c, x, y);
    robot.MouseUp(form->Handle(), p.X, p.Y);
  }
  static int FontHeight(TFont* font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->GetHandle());
    TEXTMETRIC tm{};
    GetTextMetrics(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
  }

  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
  std::vector<std::string> opened;
};

TEST_F(OfficeButtonsTest, ACheckBoxStartsWithItsDefaults) {
  TDizOfficeCheckBox box(nullptr);
  EXPECT_EQ(box.Width(), 120);
  EXPECT_EQ(box.Height(), 20);
  EXPECT_EQ(box.URLColor(), clBlue);
  EXPECT_EQ(box.ShadowColor(), clGray);
  EXPECT_EQ(box.DisabledFontColor(), clGray);
  EXPECT_EQ(box.ShadowOffset(), 1);
  EXPECT_TRUE(box.ShowFocus());
  EXPECT_EQ(box.State(), cbUnchecked);
  EXPECT_EQ(box.GetVersionNr(), 0x01020400u);
  EXPECT_EQ(box.GetVersion(), "1.2.4.0");
  box.SetVersion("9.9.9.9");
  EXPECT_EQ(box.GetVersion(), "1.2.4.0");
  TDizOfficeRadioButton radio(nullptr);
  EXPECT_EQ(radio.Width(), 135);
  EXPECT_EQ(radio.Height(), 20);
}

TEST_F(OfficeButtonsTest, StateChangesRaiseNoEventAndToggleFollowsItsRules) {
  TDizOfficeCheckBox* box = NewCheckBox("box");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetState(cbGrayed);
  EXPECT_FALSE(box->GetChecked());
  box->Toggle();
  EXPECT_EQ(box->State(), cbChecked);
  box->Toggle();
  EXPECT_EQ(box->State(), cbUnchecked);
  box->SetChecked(true);
  box->SetChecked(true);
  EXPECT_EQ(clicks, 0);
  box->SetReadOnly(true);
  box->Toggle();
  EXPECT_TRUE(box->GetChecked());
}

TEST_F(OfficeButtonsTest, TheFirstClickFocusesAndTogglesAndTheReleaseEdgeCounts) {
  TDizOfficeCheckBox* box = NewCheckBox("box");
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  Click(box, 30, 10);
  EXPECT_TRUE(box->Focused());
  EXPECT_TRUE(box->GetChecked());
  EXPECT_EQ(clicks, 1);

  // A release exactly on the right edge still toggles; one beyond it does not.
  for (auto [x, toggles] : {std::pair{box->Width(), true}, std::pair{box->Width() + 5, false}}) {
    SCOPED_TRACE(x);
    const bool before = box->GetChecked();
    Down(box, 30, 10);
    Up(box, x, 10);
    EXPECT_EQ(box->GetChecked() != before, toggles);
  }

  // Read-only: the click is raised, the state stays.
  box->SetReadOnly(true);
  const bool before = box->GetChecked();
  const int clicksBefore = clicks;
  Click(box, 30, 10);
  EXPECT_EQ(box->GetChecked(), before);
  EXPECT_EQ(clicks, clicksBefore + 1);
}

TEST_F(OfficeButtonsTest, KeysToggleAndMoveTheFocus) {
  TDizOfficeCheckBox* box = NewCheckBox("&Fix");
  TDizOfficeCheckBox* next = NewCheckBox("next", 60);
  int clicks = 0, keyUps = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->OnKeyUp = [&](TObject*, WORD&, TShiftState) { ++keyUps; };
  box->SetFocus();
  robot.PressKey(VK_SPACE);
  EXPECT_TRUE(box->GetChecked());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(keyUps, 0);

  // The accelerator toggles and raises OnClick directly.
  next->SetFocus();
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'f', 0), 1);
  EXPECT_FALSE(box->GetChecked());
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, 'x', 0), 0);

  // Enter moves on like Tab.
  box->SetReturnIsTab(true);
  robot.PressKey(VK_RETURN);
  scope.Backend().Pump();
  EXPECT_TRUE(next->Focused());
}

TEST_F(OfficeButtonsTest, ACaptionCanBeGivenBeforeTheWindowExists) {
  TDizOfficeCheckBox box(nullptr);
  box.SetCaption("Весовые проценты");
  EXPECT_EQ(box.Caption(), "Весовые проценты");
  EXPECT_FALSE(box.HandleAllocated());
}

TEST_F(OfficeButtonsTest, AnchorsOpenThroughTheAllowListOrGoToTheApplication) {
  TDizOfficeCheckBox* box = NewCheckBox("<a href=\"http://example.org\">web</a> <a href=\"note\">note</a>");
  std::vector<std::string> clicked;
  box->OnAnchorClick = [&](TObject*, const std::string& a) { clicked.push_back(a); };
  // The press that focuses the box follows nothing.
  Click(box, 20, 10);
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(clicked.empty());
  Click(box, 20, 10);
  EXPECT_EQ(opened, std::vector<std::string>{"http://example.org"});
  // Find the second anchor by scanning the caption line.
  for (int x = 30; x < 150 && clicked.empty(); x += 2)
    if (box->IsAnchor(x, 10) == "note") Click(box, x, 10);
  EXPECT_EQ(clicked, std::vector<std::string>{"note"});
}

TEST_F(OfficeButtonsTest, ThemedGlyphsUseTheStateTable) {
  TLibraryExports exports = StandardThemeLibraryExports();
  exports["DrawThemeBackground"] = LibraryProc(&RecordingDrawThemeBackground);
  SetLibraryExports("uxtheme.dll", exports);
  ReloadXPThemeBinding();
  TDizOfficeCheckBox* box = NewCheckBox("themed");
  box->SetThemed(true);
  struct Row {
    TCheckBoxState state;
    int disabled, down, hot, normal;
  };
  for (Row row : {Row{cbUnchecked, 4, 3, 3, 1}, Row{cbChecked, 8, 7, 7, 5}, Row{cbGrayed, 12, 11, 10, 9}}) {
    SCOPED_TRACE(row.state);
    box->SetState(row.state);
    auto stateFor = [&](bool enabled, bool down, bool hot) {
      box->SetEnabled(enabled);
      box->SetDown(down);
      box->Perform(hot ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
      gThemeDraws.clear();
      box->Repaint();
      scope.Backend().Pump();
      return gThemeDraws.empty() ? -1 : gThemeDraws.back().second;
    };
    EXPECT_EQ(stateFor(false, false, false), row.disabled);
    EXPECT_EQ(stateFor(true, true, false), row.down);
    EXPECT_EQ(stateFor(true, false, true), row.hot);
    EXPECT_EQ(stateFor(true, false, false), row.normal);
    EXPECT_EQ(gThemeDraws.back().first, 3);
  }
  // Without themes the bitmaps are drawn.
  SetThemeActive(false);
  gThemeDraws.clear();
  box->Repaint();
  EXPECT_TRUE(gThemeDraws.empty());
  SetThemeActive(true);
}

TEST_F(OfficeButtonsTest, RadioButtonsExcludeEachOtherWithinTheirParentAndIndex) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(200, 10, 180, 120);
  TDizOfficeRadioButton* a = NewRadio(panel, 10);
  TDizOfficeRadioButton* b = NewRadio(panel, 35);
  TDizOfficeRadioButton* other = NewRadio(panel, 60, 1);
  TDizOfficeRadioButton* elsewhere = NewRadio(form, 200);
  other->SetChecked(true);
  elsewhere->SetChecked(true);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(elsewhere->Checked());
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(a->TabStop());
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetChecked(false);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(a->Checked());
}

TEST_F(OfficeButtonsTest, EveryRadioClickRaisesOneOnClick) {
  TDizOfficeRadioButton* a = NewRadio(form, 10);
  TDizOfficeRadioButton* b = NewRadio(form, 40);
  int clicksA = 0, clicksB = 0;
  a->OnClick = [&](TObject*) { ++clicksA; };
  b->OnClick = [&](TObject*) { ++clicksB; };
  Click(a, 30, 10);  // unfocused, unchecked
  EXPECT_TRUE(a->Checked());
  EXPECT_EQ(clicksA, 1);
  Click(a, 30, 10);  // focused, checked
  EXPECT_EQ(clicksA, 2);
  // Focused but unchecked: one event, not two.
  b->SetFocus();
  EXPECT_EQ(clicksB, 1);  // focusing selects
  b->SetChecked(false);
  a->SetChecked(true);
  clicksB = 0;
  Click(b, 30, 10);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicksB, 1);
  // A release outside still clicks.
  Down(b, 30, 10);
  Up(b, 330, 10);
  EXPECT_EQ(clicksB, 2);
}

TEST_F(OfficeButtonsTest, GroupItemsAreLaidOutInColumns) {
  auto* group = new TDizOfficeRadioGroup(form);
  group->SetParent(form);
  group->SetBounds(10, 10, 310, 100);
  group->SetCaption("Group");
  group->SetColumns(3);
  for (int i = 0; i < 7; ++i) group->Items()->Add("item " + std::to_string(i));
  const int th = FontHeight(group->Font());
  const int rows = 3, w = 100, free = 100 - th - 5, h = free / rows, top = th + 1 + (free % rows) / 2;
  TDizGroupButton* item4 = group->ItemAt(4);
  EXPECT_EQ(item4->BoundsRect(), (TRect{108, h + top, 208, 2 * h + top}));
  if (th == 13) EXPECT_EQ(item4->BoundsRect(), (TRect{108, 41, 208, 68}));
  group->SetCaption("");
  group->ArrangeButtons();
  EXPECT_EQ(group->ItemAt(0)->Top(), top - th / 2);
  group->SetColumns(40);
  EXPECT_EQ(group->Columns(), 16);
}

TEST_F(OfficeButtonsTest, RadioGroupIndexIsClampedAndClicksSelect) {
  auto* group = new TDizOfficeRadioGroup(form);
  group->SetParent(form);
  group->SetBounds(10, 10, 200, 100);
  for (const char* s : {"a", "b", "c"}) group->Items()->Add(s);
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  group->SetItemIndex(10);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_TRUE(group->ItemAt(2)->Checked());
  EXPECT_EQ(clicks, 1);
  group->SetItemIndex(-5);
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_FALSE(group->ItemAt(2)->Checked());
  EXPECT_EQ(clicks, 1);
  Click(group->ItemAt(0), 30, 5);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(OfficeButtonsTest, CheckGroupValueFollowsItsItems) {
  auto* group = new TDizOfficeCheckGroup(form);
  group->SetParent(form);
  group->SetBounds(10, 10, 200, 100);
  for (const char* s : {"a", "b", "c"}) group->Items()->Add(s);
  std::vector<uint32_t> seen;
  group->OnClick = [&](TObject*) { seen.push_back(group->GetValue()); };
  Click(group->ItemAt(0), 30, 5);
  Click(group->ItemAt(2), 30, 5);
  EXPECT_EQ(group->GetValue(), 5u);
  EXPECT_EQ(seen, (std::vector<uint32_t>{1, 5}));  // the handler reads the new value
  group->SetValue(2);
  EXPECT_FALSE(group->GetChecked(0));
  EXPECT_TRUE(group->GetChecked(1));
  EXPECT_EQ(seen.size(), 2u);
  try {
    group->GetChecked(3);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Invalid checkbox index");
  }
  EXPECT_THROW(group->GetReadOnly(-1), Exception);
  group->SetChecked(7, true);  // ignored
  group->SetReadOnly(1, true);
  EXPECT_TRUE(group->GetReadOnly(1));
}

TEST_F(OfficeButtonsTest, GroupBoxGeometry) {
  auto* box = new TDizGroupBox(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 200, 120);
  struct Case {
    DizGroupBox::TBorderStyle style;
    bool ctl3d;
    int width;
  };
  for (Case c : {Case{DizGroupBox::bsNone, false, 1}, Case{DizGroupBox::bsSingle, false, 1},
                 Case{DizGroupBox::bsSingle, true, 2}, Case{DizGroupBox::bsDouble, false, 2},
                 Case{DizGroupBox::bsDouble, true, 4}}) {
    box->SetBorderStyle(c.style);
    box->SetCtl3D(c.ctl3d);
    EXPECT_EQ(box->GetBorderWidth(), c.width);
  }
  box->SetBorderStyle(DizGroupBox::bsSingle);
  box->SetCtl3D(false);
  // No caption at the top: the frame moves down by half the caption height (1 pixel).
  EXPECT_EQ(box->GetBorderRect().Top, 1);
  box->SetCaptionPosition(DizGroupBox::cpBottomLeft);
  EXPECT_EQ(box->GetBorderRect().Bottom, 120);
  box->SetCaptionPosition(DizGroupBox::cpTopLeft);
  box->SetCaption("Caption");
  const TRect cr = box->GetCaptionRect();
  EXPECT_EQ(cr.Left, 8);
  EXPECT_EQ(cr.Top, 0);
  TRect area{0, 0, 200, 120};
  box->AdjustClientRect(area);
  const int h = cr.Bottom - cr.Top;
  EXPECT_EQ(area, (TRect{2, h + 1, 198, 118}));
}

TEST_F(OfficeButtonsTest, OfficeImageCentresItsPicture) {
  TBitmap bitmap;
  bitmap.SetSize(32, 32);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect{0, 0, 32, 32});
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  bitmap.Canvas()->FillRect(TRect{0, 0, 32, 2});
  // A bitmap's bottom-left colour is its transparent colour.
  bitmap.Canvas()->SetPixel(0, 31, clLime);
  auto* image = new TDizOfficeImage(form);
  image->SetParent(form);
  image->SetBounds(40, 40, 32, 28);
  EXPECT_EQ(image->GetVersion(), "1.0.2.0");
  // Without a picture: a dotted blue frame.
  EXPECT_EQ(WindowPixel(form->Handle(), 40, 40), COLORREF(0xFF0000));
  image->Picture()->Assign(&bitmap);
  EXPECT_EQ(WindowPixel(form->Handle(), 45, 40), COLORREF(0x0000FF));  // row 2 of the picture: centred at y = -2
  image->SetCenter(false);
  EXPECT_EQ(WindowPixel(form->Handle(), 45, 40), COLORREF(0xFF0000));
}

TEST_F(OfficeButtonsTest, TheShowcaseLooksRightThemedAndClassic) {
  RegisterClasses({TDizOfficeCheckBox::StaticClass(), TDizOfficeRadioGroup::StaticClass(),
                   TDizOfficeCheckGroup::StaticClass()});
  const std::string text =
      "object Showcase: TForm\n"
      "  Left = 50\n  Top = 50\n  Width = 420\n  Height = 300\n  Color = clWhite\n"
      "  object DizOfficeCheckBox1: TDizOfficeCheckBox\n"
      "    Left = 124\n    Top = 28\n    Width = 120\n    Height = 20\n"
      "    Caption = 'Объемные проценты'\n    TabStop = True\n  end\n"
      "  object Radio1: TDizOfficeRadioGroup\n"
      "    Left = 8\n    Top = 60\n    Width = 190\n    Height = 100\n    Caption = 'Режим'\n"
      "    ItemIndex = 1\n    Items.Strings = (\n      'Весовые'\n      '<b>Объемные</b>'\n      'Мольные')\n  end\n"
      "  object Radio2: TDizOfficeRadioGroup\n"
      "    Left = 208\n    Top = 60\n    Width = 190\n    Height = 100\n    Caption = 'Две колонки'\n"
      "    Columns = 2\n    Items.Strings = (\n      'a'\n      'b'\n      'c'\n      'd')\n  end\n"
      "  object Check1: TDizOfficeCheckGroup\n"
      "    Left = 8\n    Top = 170\n    Width = 390\n    Height = 80\n    Caption = 'Газы'\n"
      "    Columns = 3\n    Items.Strings = (\n      'CH<sub>4</sub>'\n      'N<sub>2</sub>'\n"
      "      'CO<sub>2</sub>'\n      '<font color=\"clRed\">H<sub>2</sub>S</font>')\n  end\n"
      "end\n";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lorm-office";
  std::filesystem::create_directories(dir);
  for (bool themed : {true, false}) {
    SCOPED_TRACE(themed);
    SetThemeActive(themed);
    ReloadXPThemeBinding();
    auto* showcase = new TForm(form);
    ReadComponentFromText(text, showcase);
    auto* box = dynamic_cast<TDizOfficeCheckBox*>(showcase->FindComponent("DizOfficeCheckBox1"));
    auto* radio = dynamic_cast<TDizOfficeRadioGroup*>(showcase->FindComponent("Radio1"));
    auto* check = dynamic_cast<TDizOfficeCheckGroup*>(showcase->FindComponent("Check1"));
    ASSERT_TRUE(box && radio && check);
    box->SetThemed(themed);
    showcase->Show();
    EXPECT_EQ(radio->ItemIndex(), 1);
    EXPECT_TRUE(radio->ItemAt(1)->Checked());
    check->SetChecked(0, true);
    Click(box, 40, 10);
    EXPECT_TRUE(box->GetChecked());
    EXPECT_TRUE(SaveWindowPng(showcase->Handle(),
                              (dir / (themed ? "showcase-themed.png" : "showcase-classic.png")).string()));
    delete showcase;
  }
  SetThemeActive(true);
}

}  // namespace
