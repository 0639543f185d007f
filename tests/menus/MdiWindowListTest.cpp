// The main menu of a multiple-document frame lists the children in its window menu when
// the client window is asked to refresh the menu, and activates the one picked.
#include <gtest/gtest.h>

#include "menus/RadUdire.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/WinUser.h"

namespace {

class MdiWindowListTest : public ::testing::Test {
protected:
  MdiWindowListTest() {
    Application->Restart();
    frame = new TForm(nullptr);
    frame->SetFormStyle(fsMDIForm);
    Application->SetMainForm(frame);
    menu = new TVerOvizEzur(frame);
    window = new TMenuItem(menu);
    window->SetCaption("Window");
    menu->Items()->Add(window);
    auto* tile = new TMenuItem(window);
    tile->SetCaption("Tile");
    window->Add(tile);
    frame->SetMenu(menu);
    frame->SetWindowMenu(window);
    frame->SetBounds(20, 20, 600, 400);
    frame->Show();
    RefreshMenu(menu, false, false);
  }
  ~MdiWindowListTest() override {
    for (TForm* c : children) delete c;
    delete frame;
    Application->Restart();
  }
  TForm* Child(const std::string& Caption) {
    auto* c = new TForm(nullptr);
    c->SetFormStyle(fsMDIChild);
    c->SetCaption(Caption);
    c->Show();
    children.push_back(c);
    return c;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> r;
    for (int i = 0; i < window->Count(); ++i) r.push_back(window->Items(i)->Caption());
    return r;
  }
  THeadlessScope scope;
  TForm* frame = nullptr;
  TVerOvizEzur* menu = nullptr;
  TMenuItem* window = nullptr;
  std::vector<TForm*> children;
};

TEST_F(MdiWindowListTest, ChildrenAreListedInCaptionOrderAfterTheMarker) {
  EXPECT_EQ(GetMDIClientWnd(menu), frame->ClientHandle());
  Child("b");
  TForm* a = Child("A");
  TForm* c = Child("c");
  LRESULT r = SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(HMENU(r), menu->Handle());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Tile", "-", "1 A", "2 b", "3 c"}));
  EXPECT_EQ(window->Items(1)->ShortCut(), 0xABCD);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(window->Items(i)->GroupIndex(), 205);
    EXPECT_TRUE(window->Items(i)->RadioItem());
  }
  EXPECT_TRUE(window->Items(4)->Checked());  // "c" was shown last
  EXPECT_FALSE(window->Items(2)->Checked());
  // Picking "1 A" activates it; the next refresh rebuilds after the same marker.
  window->Items(2)->Click();
  EXPECT_EQ(frame->ActiveMDIChild(), a);
  delete c;
  children.pop_back();
  SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Tile", "-", "1 A", "2 b"}));
  EXPECT_TRUE(window->Items(2)->Checked());
}

TEST_F(MdiWindowListTest, AFrameWithoutAWindowMenuAnswersZero) {
  Child("x");
  frame->SetWindowMenu(nullptr);
  EXPECT_EQ(SendMessage(frame->ClientHandle(), WM_MDIREFRESHMENU, 0, 0), 0);
  EXPECT_EQ(window->Count(), 1);
}

}  // namespace
