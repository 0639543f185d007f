// The tool-tip control: a tooltips_class32 window made by its user, with tools registered
// by TTM_ADDTOOL, watching the tool window's mouse (TTF_SUBCLASS) and showing the tool's
// text when the mouse rests on it; the tool window keeps its own procedure throughout and
// gets it back when the control goes.
#include <gtest/gtest.h>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/ToolTip.h"

namespace {

class ToolTipControlTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  TPanel* Panel = nullptr;
  HWND Tip = nullptr;
  int Moves = 0;

  void SetUp() override {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(100, 100, 400, 300);
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(20, 20, 300, 200);
    Panel->OnMouseMove = [this](TObject*, TShiftState, int, int) { ++Moves; };
    Form->Show();
    Scope.Backend().Pump();
    RegisterToolTipClass();
    Tip = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Panel->Handle(), nullptr, HInstance(), nullptr);
    ASSERT_NE(Tip, nullptr);
  }
  void TearDown() override {
    if (IsWindow(Tip)) DestroyWindow(Tip);
    Application->Restart();
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
  }
  void AddTool(RECT r, const char* text) {
    TOOLINFO ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = Panel->Handle();
    ti.uId = 7;
    ti.rect = r;
    ti.lpszText = const_cast<char*>(text);
    EXPECT_TRUE(SendMessage(Tip, TTM_ADDTOOL, 0, LPARAM(&ti)));
  }
  bool Shown(TBalloonTipInfo* info = nullptr) { return GetBalloonTipInfo(Tip, info); }
};

TEST_F(ToolTipControlTest, ShowsTheToolTextAfterTheRestOnlyOverTheTool) {
  // A pop-up that never activates, whatever style it was made with.
  EXPECT_TRUE(GetWindowLong(Tip, GWL_STYLE) & WS_POPUP);
  EXPECT_FALSE(GetWindowLong(Tip, GWL_STYLE) & WS_CAPTION);
  EXPECT_FALSE(IsWindowVisible(Tip));

  const LONG_PTR own = GetWindowLongPtr(Panel->Handle(), GWLP_WNDPROC);
  AddTool(RECT{0, 0, 100, 100}, "Плотность");
  SendMessage(Tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELONG(300, 0));
  SendMessage(Tip, TTM_SETTITLE, TTI_WARNING, LPARAM("Заголовок"));
  SendMessage(Tip, TTM_SETTIPBKCOLOR, RGB(200, 255, 200), 0);
  EXPECT_NE(GetWindowLongPtr(Panel->Handle(), GWLP_WNDPROC), own);

  Robot.MoveTo(Panel->Handle(), 150, 150);  // outside the tool's rectangle
  Scope.Backend().Advance(1000);
  EXPECT_FALSE(Shown());

  Robot.MoveTo(Panel->Handle(), 50, 50);
  Scope.Backend().Advance(200);
  Robot.MoveTo(Panel->Handle(), 51, 50);  // moving starts the rest again
  Scope.Backend().Advance(200);
  EXPECT_FALSE(Shown());
  Scope.Backend().Advance(100);
  TBalloonTipInfo info;
  ASSERT_TRUE(Shown(&info));
  EXPECT_EQ(info.Text, u"Плотность");
  EXPECT_EQ(info.Title, u"Заголовок");
  EXPECT_EQ(info.Icon, TTI_WARNING);
  EXPECT_EQ(info.BkColor, RGB(200, 255, 200));
  EXPECT_EQ(info.Stem, TRobot::ScreenPoint(Panel->Handle(), POINT{51, 50}));
  EXPECT_EQ(GetWindowLongPtr(Tip, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);

  SendMessage(Tip, TTM_POP, 0, 0);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindowVisible(Tip));
  Robot.MoveTo(Panel->Handle(), 52, 50);
  Scope.Backend().Advance(300);
  EXPECT_TRUE(Shown());
  Robot.MoveTo(Panel->Handle(), 150, 50);  // off the tool, still on its window
  EXPECT_FALSE(Shown());
  Robot.MoveTo(Panel->Handle(), 50, 50);
  Scope.Backend().Advance(300);
  EXPECT_TRUE(Shown());
  Robot.MoveTo(Form->Handle(), 380, 280);  // off the window
  EXPECT_FALSE(Shown());
  Robot.MoveTo(Panel->Handle(), 50, 50);
  Scope.Backend().Advance(300);
  Robot.Click(Panel->Handle(), 50, 50);  // a press
  EXPECT_FALSE(Shown());

  // The panel heard its own messages all along and gets its procedure back.
  EXPECT_GE(Moves, 8);  // each move over the panel
  DestroyWindow(Tip);
  EXPECT_EQ(GetWindowLongPtr(Panel->Handle(), GWLP_WNDPROC), own);
  Robot.MoveTo(Panel->Handle(), 60, 60);
  Scope.Backend().Advance(1000);
}

TEST_F(ToolTipControlTest, AToolWindowThatGoesTakesItsToolsAlong) {
  AddTool(RECT{0, 0, 300, 200}, "x");
  Robot.MoveTo(Panel->Handle(), 50, 50);
  Scope.Backend().Advance(GetDoubleClickTime());
  ASSERT_TRUE(Shown());
  delete Panel;
  Panel = nullptr;
  EXPECT_FALSE(Shown());
  Scope.Backend().Advance(GetDoubleClickTime() * 20);
  EXPECT_TRUE(IsWindow(Tip));
}

}  // namespace
