// The MDI buttons of a menu bar: their rectangles, glyphs, mouse handling and the watch on
// the frame's window procedure, on a frame form with maximized children.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"

namespace {

using namespace VivIzizEzu;

class MdiButtonsTest : public ::testing::Test {
protected:
  MdiButtonsTest() {
    Application->Restart();
    frame = new TForm(nullptr);
    frame->SetFormStyle(fsMDIForm);
    Application->SetMainForm(frame);
    frame->SetBounds(20, 20, 640, 400);
    menu = new TMainMenu(frame);
    frame->Show();
    bar = new TVivIzizEzu(frame);
    bar->SetParent(frame);
    bar->SetAutoSizeEx(false);
    bar->SetShowOptionIndicator(false);
    bar->SetFullSize(true);
    bar->SetMenu(menu);
    bar->SetBounds(0, 0, 600, 24);
  }
  ~MdiButtonsTest() override {
    bar->SetAutoMDIButtons(false);
    delete child;
    delete frame;
    Application->Restart();
  }
  void MaximizedChild(TBorderIcons Icons = {biSystemMenu, biMinimize, biMaximize}) {
    child = new TForm(nullptr);
    child->SetFormStyle(fsMDIChild);
    child->SetBorderIcons(Icons);
    child->SetCaption("Doc");
    child->Show();
    child->SetWindowState(wsMaximized);
  }
  THeadlessScope scope;
  TRobot robot;
  TForm* frame = nullptr;
  TForm* child = nullptr;
  TMainMenu* menu = nullptr;
  TVivIzizEzu* bar = nullptr;
};

TEST_F(MdiButtonsTest, RectanglesAtTheEndOfAHorizontalBar) {
  // No child: every rectangle is empty.
  EXPECT_EQ(bar->GetMDICloseBtnRect(), TRect{});
  MaximizedChild();
  EXPECT_EQ(bar->GetMDICloseBtnRect(), (TRect{579, 3, 597, 21}));
  EXPECT_EQ(bar->GetMDIMaxBtnRect(), (TRect{560, 3, 578, 21}));
  EXPECT_EQ(bar->GetMDIMinBtnRect(), (TRect{541, 3, 559, 21}));
  // A bar that is not FullSize leaves room for its option indicator.
  bar->SetFullSize(false);
  bar->SetShowOptionIndicator(true);
  EXPECT_EQ(bar->GetMDICloseBtnRect().Left, 579 - bar->PopupIndicatorWidth());
  // A vertical bar stacks them from its bottom.
  bar->SetShowOptionIndicator(false);
  bar->SetPosition(daLeft);
  const int h = bar->Height();
  EXPECT_EQ(bar->GetMDICloseBtnRect(), (TRect{(bar->Width() - 18) / 2, h - 21, (bar->Width() - 18) / 2 + 18, h - 3}));
  EXPECT_EQ(bar->GetMDIMinBtnRect().Bottom, h - 41);
  // Without a system menu there are no buttons.
  child->SetBorderIcons({biMinimize});
  EXPECT_EQ(bar->GetMDICloseBtnRect(), TRect{});
}

TEST_F(MdiButtonsTest, SwitchingOnNeedsFullSizeAndAMenuAndWatchesTheFrame) {
  bar->SetFullSize(false);
  bar->SetAutoMDIButtons(true);
  EXPECT_FALSE(bar->AutoMDIButtons());
  bar->SetFullSize(true);
  // The frame's own user data is left alone.
  SetWindowLongPtr(frame->Handle(), GWL_USERDATA, 1234);
  bar->SetAutoMDIButtons(true);
  EXPECT_TRUE(bar->AutoMDIButtons());
  EXPECT_EQ(GetWindowLongPtr(frame->Handle(), GWL_USERDATA), 1234);
  MaximizedChild();
  bar->Repaint();
  EXPECT_TRUE(bar->MDIButtonsVisible());
  // Restoring the child hides them at the repaint the frame's move brings.
  child->SetWindowState(wsNormal);
  SetWindowPos(frame->Handle(), nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Application->ProcessMessages();
  bar->Repaint();
  EXPECT_FALSE(bar->MDIButtonsVisible());
  bar->SetAutoMDIButtons(false);
  EXPECT_EQ(GetWindowLongPtr(frame->Handle(), GWL_USERDATA), 1234);
  // The frame still works after its procedure came back.
  EXPECT_EQ(SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0), LRESULT(child->Handle()));
}

TEST_F(MdiButtonsTest, WithoutAMaximizeBoxTheRestoreGlyphIsGreyAndInert) {
  bar->SetAutoMDIButtons(true);
  MaximizedChild({biSystemMenu, biMinimize});
  bar->Repaint();
  TBitmap shot(bar->Width(), bar->Height());
  bar->PaintTo(shot.Canvas()->GetHandle(), 0, 0);
  shot.Canvas()->Refresh();
  const TRect mx = bar->GetMDIMaxBtnRect(), cl = bar->GetMDICloseBtnRect();
  const int x = mx.Left + 5, y = mx.Top + 5;  // the front window's top line
  EXPECT_EQ(shot.Canvas()->GetPixel(x + 2, y + 3), TColor(0x808080));
  EXPECT_EQ(shot.Canvas()->GetPixel(cl.Left + 5, cl.Top + 5 + 1), clBlack);  // the cross
  robot.Click(bar->Handle(), mx.Left + 9, mx.Top + 9);
  EXPECT_EQ(child->WindowState(), wsMaximized);
  EXPECT_FALSE(bar->PtOnMDIMax(mx.Left + 9, mx.Top + 9));
}

TEST_F(MdiButtonsTest, CloseActsOnlyOnReleaseOverItRestoreWherever) {
  bar->SetAutoMDIButtons(true);
  MaximizedChild();
  bar->Repaint();
  const TRect cl = bar->GetMDICloseBtnRect(), mx = bar->GetMDIMaxBtnRect();
  robot.MouseDown(bar->Handle(), cl.Left + 9, cl.Top + 9);
  EXPECT_TRUE(bar->MDIButtonDown(0));
  robot.MoveTo(bar->Handle(), 100, 10);
  robot.MouseUp(bar->Handle(), 100, 10);
  EXPECT_FALSE(bar->MDIButtonDown(0));
  EXPECT_EQ(child->WindowState(), wsMaximized);  // not closed
  robot.MouseDown(bar->Handle(), mx.Left + 9, mx.Top + 9);
  robot.MoveTo(bar->Handle(), 100, 10);
  robot.MouseUp(bar->Handle(), 100, 10);
  EXPECT_EQ(child->WindowState(), wsNormal);  // restored on release elsewhere
  child->SetWindowState(wsMaximized);
  bar->Repaint();
  robot.Click(bar->Handle(), cl.Left + 9, cl.Top + 9);
  EXPECT_EQ(child->WindowState(), wsMinimized);  // an MDI child closes to minimized
}

TEST_F(MdiButtonsTest, RendersTheButtonsToPng) {
  delete bar;
  auto* panel = new TDizDockPanel(frame);
  panel->SetParent(frame);
  panel->SetDockAlign(daTop);
  bar = new TVivIzizEzu(frame);
  bar->SetParent(panel);
  bar->SetMenu(menu);
  auto* b = new TVivIzizEzuMenuButton(frame);
  b->SetCaption("&File");
  b->SetShowCaption(true);
  b->SetParent(bar);
  bar->SetFullSize(true);
  bar->SetAutoMDIButtons(true);
  MaximizedChild();
  bar->Repaint();
  const TRect mn = bar->GetMDIMinBtnRect();
  robot.MoveTo(bar->Handle(), mn.Left + 5, mn.Top + 5);
  EXPECT_TRUE(bar->MDIButtonHot(2));
  frame->Repaint();
  const char* keep = std::getenv("LORM_KEEP_PNG");
  const std::filesystem::path dir =
      keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
  EXPECT_TRUE(SaveWindowPng(frame->Handle(), (dir / "lorm_mdi_buttons.png").string()));
}

}  // namespace
