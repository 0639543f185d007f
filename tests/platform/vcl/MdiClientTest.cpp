// Tests of the multiple-document frame: the client window in the frame's free area, its
// children in activation order, maximizing, the next child, and Ctrl+F4 / Ctrl+F6.
#include <gtest/gtest.h>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MdiClient.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

class MdiClientTest : public ::testing::Test {
protected:
  MdiClientTest() {
    Application->Restart();
    frame = new TForm(nullptr);
    frame->SetFormStyle(fsMDIForm);
    Application->SetMainForm(frame);
    frame->SetBounds(20, 20, 600, 400);
    frame->Show();
  }
  ~MdiClientTest() override {
    for (TForm* c : children) delete c;
    delete frame;
    Application->Restart();
  }
  TForm* Child(const std::string& Caption) {
    auto* c = new TForm(nullptr);
    c->SetFormStyle(fsMDIChild);
    c->SetCaption(Caption);
    c->SetBounds(10, 10, 200, 150);
    c->Show();
    children.push_back(c);
    return c;
  }
  HWND Active(BOOL* Maximized = nullptr) {
    return HWND(SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, LPARAM(Maximized)));
  }
  THeadlessScope scope;
  TForm* frame = nullptr;
  std::vector<TForm*> children;
  TRobot robot;
};

TEST_F(MdiClientTest, TheClientFillsWhatTheAlignedControlsLeaveAndHoldsTheChildren) {
  auto* top = new TPanel(frame);
  top->SetParent(frame);
  top->SetAlign(alTop);
  top->SetHeight(30);
  HWND client = frame->ClientHandle();
  ASSERT_NE(client, nullptr);
  char name[32]{};
  GetClassName(client, name, sizeof name);
  EXPECT_STREQ(name, "MDICLIENT");
  RECT r, fr;
  GetWindowRect(client, &r);
  GetClientRect(frame->Handle(), &fr);
  POINT origin{0, 30};
  ClientToScreen(frame->Handle(), &origin);
  EXPECT_EQ(r.top, origin.y);
  EXPECT_EQ(r.bottom - r.top, fr.bottom - 30);

  TForm* a = Child("a");
  TForm* b = Child("b");
  EXPECT_EQ(GetParent(a->Handle()), client);
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), b);  // the last shown is active
  EXPECT_EQ(frame->MDIChildren(0), b);
  EXPECT_EQ(frame->MDIChildren(1), a);
  EXPECT_THROW(frame->MDIChildren(2), EListError);
  delete b;
  children.pop_back();
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
}

TEST_F(MdiClientTest, MaximizeRestoreAndTheMaximizedFlag) {
  TForm* a = Child("a");
  TForm* b = Child("b");
  BOOL maximized = TRUE;
  EXPECT_EQ(Active(&maximized), b->Handle());
  EXPECT_FALSE(maximized);
  SendMessage(frame->ClientHandle(), WM_MDIMAXIMIZE, WPARAM(b->Handle()), 0);
  EXPECT_EQ(Active(&maximized), b->Handle());
  EXPECT_TRUE(maximized);
  EXPECT_EQ(b->WindowState(), wsMaximized);
  RECT cr, br;
  GetClientRect(frame->ClientHandle(), &cr);
  GetWindowRect(b->Handle(), &br);
  EXPECT_EQ(br.right - br.left, cr.right);
  // Activating another child hands the maximized state over.
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(a->Handle()), 0);
  EXPECT_EQ(Active(&maximized), a->Handle());
  EXPECT_TRUE(maximized);
  EXPECT_EQ(b->WindowState(), wsNormal);
  SendMessage(frame->ClientHandle(), WM_MDIRESTORE, WPARAM(a->Handle()), 0);
  Active(&maximized);
  EXPECT_FALSE(maximized);
  // A window that is not a child is ignored.
  SendMessage(frame->ClientHandle(), WM_MDIACTIVATE, WPARAM(frame->Handle()), 0);
  EXPECT_EQ(Active(), a->Handle());
}

TEST_F(MdiClientTest, NextAndPreviousCycleThroughTheChildren) {
  TForm* a = Child("a");
  TForm* b = Child("b");
  TForm* c = Child("c");  // order now c, b, a
  SendMessage(frame->ClientHandle(), WM_MDINEXT, 0, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), b);
  SendMessage(frame->ClientHandle(), WM_MDINEXT, 0, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  SendMessage(frame->ClientHandle(), WM_MDINEXT, 0, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), c);
  SendMessage(frame->ClientHandle(), WM_MDINEXT, 0, 1);
  EXPECT_EQ(frame->ActiveMDIChild(), a);
}

TEST_F(MdiClientTest, CtrlF6MovesOnAndCtrlF4ClosesTheActiveChild) {
  TForm* a = Child("a");
  TForm* b = Child("b");
  TMessage m{WM_KEYDOWN, VK_F6, 0, 0};
  robot.KeyDown(VK_CONTROL);
  EXPECT_TRUE(b->IsShortCut(m));
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  m.WParam = VK_F4;
  EXPECT_TRUE(frame->IsShortCut(m));
  robot.KeyUp(VK_CONTROL);
  // A child closes to a minimized window, as its default close action says.
  EXPECT_EQ(a->WindowState(), wsMinimized);
  m.WParam = VK_F6;
  EXPECT_FALSE(frame->IsShortCut(m));  // no Ctrl held
}

}  // namespace
