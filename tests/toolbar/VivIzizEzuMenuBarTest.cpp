// Menu-bar mode of the tool bar: buttons made from a main menu, accelerators, the
// keyboard highlight, opening and switching menus with the keys, and where a menu drops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "menus/RadUdire.h"
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

std::vector<std::string>* gLog = nullptr;
TVivIzizEzu* gBar = nullptr;
HHOOK gHook = nullptr;
std::string gPng;

// Notes the highlighted button each time a key is released, and snapshots the screen
// once when F12 comes by while a menu is open.
LRESULT RecordHook(int Code, WPARAM W, LPARAM L) {
  auto* m = reinterpret_cast<MSG*>(L);
  if (Code == HC_ACTION && m && m->message == WM_KEYUP && m->wParam == VK_F12 && !gPng.empty()) SaveScreenPng(gPng);
  if (Code == HC_ACTION && m && m->message == WM_KEYUP && gLog && gBar) {
    TDizCustomToolBarButton* b = gBar->HighlightedButton();
    gLog->push_back(b ? StripHotkey(b->Caption()) : std::string("-"));
  }
  return CallNextHookEx(gHook, Code, W, L);
}

class MenuBarTest : public ::testing::Test {
protected:
  MenuBarTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(40, 40, 500, 300);
    menu = new TVerOvizEzur(form);
    hidden = Item(menu->Items(), "&Hidden");
    hidden->SetVisible(false);
    Item(hidden, "Nothing");
    file = Item(menu->Items(), "&File");
    open = Item(file, "&Open");
    Item(file, "&Save");
    edit = Item(menu->Items(), "&Edit");
    cut = Item(edit, "Cu&t");
    auto* sub = Item(edit, "&More");
    Item(sub, "Deep");
    view = Item(menu->Items(), "&View");
    Item(view, "&Zoom");
    form->Show();
    panel = new TDizDockPanel(form);
    panel->SetParent(form);
    panel->SetDockAlign(daTop);
    bar = new TVivIzizEzu(form);
    bar->SetParent(panel);
    bar->SetMenu(menu);
    gBar = bar;
    gLog = &log;
    gHook = SetWindowsHookEx(WH_GETMESSAGE, &RecordHook, nullptr, GetCurrentThreadId());
    robot.AutoProcess = false;
  }
  ~MenuBarTest() override {
    UnhookWindowsHookEx(gHook);
    gLog = nullptr;
    gBar = nullptr;
    Application->Restart();
  }
  TMenuItem* Item(TMenuItem* Parent, const std::string& Caption) {
    auto* i = new TMenuItem(form);
    i->SetCaption(Caption);
    i->OnClick = [this, Caption](TObject*) { clicks.push_back(StripHotkey(Caption)); };
    Parent->Add(i);
    return i;
  }
  TVivIzizEzuMenuButton* Button(int Index) {
    return dynamic_cast<TVivIzizEzuMenuButton*>(bar->GetToolBarControls(Index));
  }
  THeadlessScope scope;
  TRobot robot;
  TForm* form = nullptr;
  TVerOvizEzur* menu = nullptr;
  TMenuItem *hidden, *file, *open, *edit, *cut, *view;
  TDizDockPanel* panel = nullptr;
  TVivIzizEzu* bar = nullptr;
  std::vector<std::string> log, clicks;
};

TEST_F(MenuBarTest, ButtonsFollowTheMenuAndAcceleratorsFindThem) {
  ASSERT_EQ(bar->GetToolBarControlCount(), 4);
  EXPECT_EQ(Button(1)->Caption(), "&File");
  EXPECT_EQ(Button(1)->MenuItem(), file);
  EXPECT_FALSE(Button(0)->Visible());
  EXPECT_EQ(bar->GetMenuItemCount(), 11);
  EXPECT_EQ(bar->FindButtonFromAccel("e"), Button(2));
  EXPECT_EQ(bar->FindButtonFromAccel("E"), Button(2));
  EXPECT_EQ(bar->FindButtonFromAccel("h"), nullptr);  // hidden
  view->SetEnabled(false);
  bar->UpdateMenu();
  EXPECT_EQ(bar->FindButtonFromAccel("v"), nullptr);  // disabled
  // A new item gets its button by rebuilding the bar.
  Item(menu->Items(), "&Help");
  bar->UpdateMenu();
  EXPECT_EQ(bar->GetToolBarControlCount(), 5);
  bar->SetMenu(nullptr);
  EXPECT_EQ(bar->GetToolBarControlCount(), 0);
}

TEST_F(MenuBarTest, AltHighlightsTheFirstVisibleButtonAndTheArrowsWrap) {
  robot.PressKey(VK_LEFT);    // from the first to the last
  robot.PressKey(VK_RIGHT);   // back to the first
  robot.PressKey(VK_RIGHT);
  robot.PressKey(VK_RIGHT);
  robot.PressKey(VK_RIGHT);   // wraps
  robot.PressKey(VK_ESCAPE);  // leaves the mode
  EXPECT_FALSE(bar->TrackMenu(nullptr));
  EXPECT_EQ(log, (std::vector<std::string>{"View", "File", "Edit", "View", "File"}));
  EXPECT_FALSE(bar->InMenuLoop());
  EXPECT_FALSE(bar->KeyboardMenuMode());
  EXPECT_EQ(bar->HighlightedButton(), nullptr);
}

TEST_F(MenuBarTest, RightInAnOpenMenuOpensTheNextAndEnterRunsTheItem) {
  robot.PressKey(VK_DOWN);    // File opens, its first item highlighted
  robot.PressKey(VK_RIGHT);   // "Open" has no sub-items: Edit opens
  edit->OnClick = [&](TObject*) {
    clicks.push_back("Edit");
    robot.PressKey(VK_RETURN);  // "Cut", typed once the menu is there
  };
  EXPECT_TRUE(bar->TrackMenu(nullptr));
  Application->ProcessMessages();  // the chosen command and the closed notice
  EXPECT_EQ(clicks, (std::vector<std::string>{"File", "Edit", "Cut"}));
  // The lent items are back in their menu.
  EXPECT_EQ(file->Count(), 2);
  EXPECT_EQ(edit->Count(), 2);
  EXPECT_EQ(bar->DropDownPopup(), nullptr);
  // A later run that chooses nothing reports nothing.
  robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(bar->TrackMenu(nullptr));
}

TEST_F(MenuBarTest, EscapeInAnOpenMenuKeepsTheHighlightASecondLeaves) {
  robot.PressKey(VK_DOWN);
  robot.PressKey(VK_ESCAPE);  // closes the menu
  robot.PressKey(VK_SHIFT);   // any key: note the state
  robot.PressKey(VK_ESCAPE);  // leaves
  EXPECT_FALSE(bar->TrackMenu(nullptr));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "File");  // still highlighted after the menu closed
  EXPECT_EQ(clicks, std::vector<std::string>{"File"});
  EXPECT_EQ(bar->HighlightedButton(), nullptr);
}

TEST_F(MenuBarTest, WhereTheMenuDrops) {
  TVivIzizEzuMenuButton* b = Button(1);
  const TRect screen = Screen->Monitors(0)->BoundsRect();
  const TPoint below = b->Parent()->ClientToScreen(TPoint{b->Left(), b->Top() + b->Height()});
  EXPECT_EQ(bar->MenuDropPoint(b, 100, 80, false), below);
  // Near the screen's bottom it opens above; near its right edge it moves left.
  panel->SetDockAlign(daBottom);
  form->SetBounds(screen.Right - 150, screen.Bottom - 120, 140, 110);
  bar->SetPosition(daTop);
  const TPoint p = b->Parent()->ClientToScreen(TPoint{b->Left(), b->Top() + b->Height()});
  const TPoint q = bar->MenuDropPoint(b, 100, 200, false);
  EXPECT_EQ(q.Y, p.Y - b->Height() - 200 - 4);
  EXPECT_EQ(q.X, screen.Right - 100 - 52);
}

TEST_F(MenuBarTest, AButtonWithNeitherItemNorMenuOnlyPostsTheClosedNotice) {
  auto* plain = new TVivIzizEzuMenuButton(form);
  plain->SetCaption("Plain");
  plain->SetParent(bar);
  EXPECT_FALSE(bar->CheckMenuDropdown(plain));
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, bar->Handle(), WM_USER + 0x1000, WM_USER + 0x1000, PM_REMOVE));
  EXPECT_FALSE(bar->MenuDropped());
}

TEST_F(MenuBarTest, RendersAnOpenMenuToPng) {
  const char* keep = std::getenv("LORM_KEEP_PNG");
  const std::filesystem::path dir =
      keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
  gPng = (dir / "lorm_menu_bar.png").string();
  std::filesystem::remove(gPng);
  edit->OnClick = [&](TObject*) {
    robot.PressKey(VK_F12);  // the snapshot, once the menu is open
    robot.PressKey(VK_ESCAPE);
    robot.PressKey(VK_ESCAPE);
  };
  robot.PressKey(VK_RIGHT);
  robot.PressKey(VK_DOWN);
  bar->TrackMenu(nullptr);
  Application->ProcessMessages();
  EXPECT_TRUE(std::filesystem::exists(gPng));
}

}  // namespace
