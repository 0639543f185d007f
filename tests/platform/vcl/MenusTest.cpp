// Menus of the framework on the headless back end: shortcuts and their texts, the main
// menu and a pop-up menu driven by the robot, owner-drawn items, stored forms.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"

namespace {

TEST(ShortCuts, TextRoundTrip) {
  struct TCase {
    TShortCut Value;
    const char* Text;
  } cases[] = {
      {16462, "Ctrl+N"},           {16451, "Ctrl+C"},    {16460, "Ctrl+L"}, {16467, "Ctrl+S"},
      {VK_F5, "F5"},               {scShift | VK_DELETE, "Shift+Del"},
      {scAlt | scCtrl | scShift | VK_HOME, "Shift+Ctrl+Alt+Home"}, {scCtrl | VK_F12, "Ctrl+F12"},
      {VK_RETURN, "Enter"},        {scAlt | '1', "Alt+1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Value), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Value) << c.Text;
  }
  EXPECT_EQ(ShortCut('N', TShiftState{ssCtrl}), 16462);
  EXPECT_EQ(TextToShortCut("ctrl+n"), 16462);  // case does not matter
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Hyper+N"), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  WORD key;
  TShiftState shift;
  ShortCutToKey(16462, key, shift);
  EXPECT_EQ(key, 'N');
  EXPECT_EQ(shift, TShiftState{ssCtrl});
  EXPECT_EQ(StripHotkey("&Save && close"), "Save & close");
  EXPECT_EQ(GetHotkey("&&A &Файл"), "ф");
}

class TMenuForm : public TForm {
  LORM_PUBLISHED(TMenuForm, TForm)
public:
  explicit TMenuForm(TComponent* AOwner) : TForm(AOwner) {}
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TActionList* ActionList1 = nullptr;
  TAction* ActionNew = nullptr;
  TAction* ActionDelete = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* New1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* Help1 = nullptr;
  TMenuItem* About1 = nullptr;
  TMenuItem* P1 = nullptr;
  std::vector<std::string> Log;
  bool DeleteAllowed = true;
  void ActionNewExecute(TObject*) { Log.push_back("new"); }
  void ActionDeleteExecute(TObject*) { Log.push_back("delete"); }
  void ActionDeleteUpdate(TObject* Sender) { static_cast<TAction*>(Sender)->SetEnabled(DeleteAllowed); }
  void Exit1Click(TObject*) { Log.push_back("exit"); }
  void About1Click(TObject*) { Log.push_back("about"); }
};

// A focusable control that types into a string and has the form's pop-up menu.
class TTypeBox : public TCustomControl {
  LORM_PUBLISHED(TTypeBox, TCustomControl)
public:
  explicit TTypeBox(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  std::string Value;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN) SetFocus();
    TCustomControl::WndProc(Message);
  }

protected:
  void KeyPress(char32_t& Key) override {
    if (Key >= 32) Value += char(Key);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
  }
};
void TTypeBox::Publish(TClassBuilder<TTypeBox>& P) { (void)P; }
void TMenuForm::Publish(TClassBuilder<TMenuForm>& P) {
  P.Uses({TTypeBox::StaticClass()})
      .Field("MainMenu1", &TMenuForm::MainMenu1)
      .Field("PopupMenu1", &TMenuForm::PopupMenu1)
      .Field("ActionList1", &TMenuForm::ActionList1)
      .Field("ActionNew", &TMenuForm::ActionNew)
      .Field("ActionDelete", &TMenuForm::ActionDelete)
      .Field("File1", &TMenuForm::File1)
      .Field("New1", &TMenuForm::New1)
      .Field("N2", &TMenuForm::N2)
      .Field("Exit1", &TMenuForm::Exit1)
      .Field("Help1", &TMenuForm::Help1)
      .Field("About1", &TMenuForm::About1)
      .Field("P1", &TMenuForm::P1)
      .Handler("ActionNewExecute", &TMenuForm::ActionNewExecute)
      .Handler("ActionDeleteExecute", &TMenuForm::ActionDeleteExecute)
      .Handler("ActionDeleteUpdate", &TMenuForm::ActionDeleteUpdate)
      .Handler("Exit1Click", &TMenuForm::Exit1Click)
      .Handler("About1Click", &TMenuForm::About1Click);
}

const char* kMenuForm = R"(object MenuForm: TMenuForm
  Left = 100
  Top = 80
  Caption = 'Menus'
  ClientHeight = 200
  ClientWidth = 360
  Color = clBtnFace
  Menu = MainMenu1
  object Box: TTypeBox
    Left = 10
    Top = 10
    Width = 200
    Height = 24
    PopupMenu = PopupMenu1
    TabOrder = 0
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object New1: TMenuItem
        Action = ActionNew
      end
      object N2: TMenuItem
        Action = ActionDelete
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        OnClick = Exit1Click
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About'
        OnClick = About1Click
      end
    end
  end
  object PopupMenu1: TPopupMenu
    object P1: TMenuItem
      Action = ActionNew
    end
    object P2: TMenuItem
      Action = ActionDelete
    end
  end
  object ActionList1: TActionList
    object ActionNew: TAction
      Category = 'Record'
      Caption = '&New record'
      ShortCut = 16462
      OnExecute = ActionNewExecute
    end
    object ActionDelete: TAction
      Category = 'Record'
      Caption = '&Delete record'
      ShortCut = 16452
      OnExecute = ActionDeleteExecute
      OnUpdate = ActionDeleteUpdate
    end
  end
end
)";

class MenusTest : public ::testing::Test {
protected:
  void SetUp() override {
    Application->Restart();
    RegisterStoredForm("TMenuForm", kMenuForm);
    Application->CreateForm(Form);
    Form->Show();
    Box = static_cast<TTypeBox*>(Form->FindComponent("Box"));
  }
  void TearDown() override { Application->Restart(); }
  void Pump() { Headless().Pump(); }
  // The application's idle time (actions are updated), then back.
  void Idle() {
    Pump();
    Scope.Backend().WhenIdle([] {});
    Application->HandleMessage();
  }
  // The screen rectangle of a main-menu bar item.
  RECT BarItem(int index) {
    RECT r{};
    EXPECT_TRUE(GetMenuItemRect(Form->Handle(), Form->MainMenu1->Handle(), UINT(index), &r));
    return r;
  }
  static POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  THeadlessScope Scope;
  TRobot Robot;
  TMenuForm* Form = nullptr;
  TTypeBox* Box = nullptr;
};

TEST_F(MenusTest, AStoredFormWithMenusAndActionsLoads) {
  ASSERT_NE(Form->MainMenu1, nullptr);
  EXPECT_EQ(Form->Menu(), Form->MainMenu1);
  EXPECT_EQ(GetMenu(Form->Handle()), Form->MainMenu1->Handle());
  EXPECT_EQ(Form->MainMenu1->Items()->Count(), 2);
  EXPECT_EQ(Form->File1->Count(), 3);
  EXPECT_EQ(Form->New1->Parent(), Form->File1);
  EXPECT_EQ(Form->New1->Caption(), "&New record");  // from its action
  EXPECT_EQ(Form->New1->ShortCut(), 16462);
  EXPECT_EQ(Form->N2->Caption(), "-");              // its own caption wins
  EXPECT_TRUE(Form->N2->IsLine());
  EXPECT_EQ(Form->N2->ShortCut(), 16452);
  EXPECT_EQ(Form->P1->Caption(), "&New record");
  EXPECT_EQ(Form->ActionList1->ActionCount(), 2);
  EXPECT_EQ(Form->ActionNew->ActionList(), Form->ActionList1);
  // The window system's menu: the item's text carries its shortcut.
  HMENU file = GetSubMenu(Form->MainMenu1->Handle(), 0);
  char text[64];
  GetMenuString(file, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&New record\tCtrl+N");
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  // The client area is below the menu bar.
  RECT wr, cr;
  GetWindowRect(Form->Handle(), &wr);
  POINT origin{0, 0};
  ClientToScreen(Form->Handle(), &origin);
  GetClientRect(Form->Handle(), &cr);
  EXPECT_EQ(cr.bottom, 200);
  EXPECT_GE(origin.y - wr.top, GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

TEST_F(MenusTest, ShortcutsReachActionsFromAnyFocusedControl) {
  Robot.Click(Box->Handle(), 5, 5);
  ASSERT_TRUE(Box->Focused());
  Robot.PressKey('N', rsCtrl);
  Robot.Type("ab");
  Robot.PressKey('D', rsCtrl);
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"new", "delete"}));
  EXPECT_EQ(Box->Value, "ab");  // the shortcuts did not reach the control as characters
  // A disabled action lets the key go on.
  Form->DeleteAllowed = false;
  Idle();  // OnUpdate disables the action and its items
  EXPECT_FALSE(Form->ActionDelete->Enabled());
  EXPECT_FALSE(Form->N2->Enabled());
  Robot.PressKey('D', rsCtrl);
  EXPECT_EQ(Form->Log.size(), 2u);
}

TEST_F(MenusTest, TheMainMenuOpensAndRunsByKeys) {
  // Alt+F opens "File" with its first item selected; Down skips the separator to "Exit".
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_DOWN); });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_RETURN); });
  Robot.PressKey('F', rsAlt);
  Pump();
  EXPECT_EQ(Form->Log, std::vector<std::string>{"exit"});
  // Alt alone, Right to "Help", Down opens it, Enter runs "About".
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_RIGHT); });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_DOWN); });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_RETURN); });
  Robot.PressKey(VK_MENU);
  Pump();
  EXPECT_EQ(Form->Log, (std::vector<std::string>{"exit", "about"}));
  EXPECT_EQ(GetMenuLoopOwner(), nullptr);
}

TEST_F(MenusTest, TheMainMenuOpensAndRunsByMouse) {
  RECT file = BarItem(0);
  Scope.Backend().WhenIdle([&] {
    HMENU sub = Form->File1->Handle();
    RECT item{};
    ASSERT_TRUE(GetMenuItemRect(nullptr, sub, 0, &item));
    Robot.Click(nullptr, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  });
  Robot.Click(nullptr, Center(file).x, Center(file).y);
  Pump();
  EXPECT_EQ(Form->Log, std::vector<std::string>{"new"});
}

TEST_F(MenusTest, APopupMenuShowsOnRightClickAndRunsItsItem) {
  bool popped = false;
  Form->PopupMenu1->OnPopup = [&](TObject*) { popped = true; };
  Scope.Backend().WhenIdle([&] {
    HWND w = GetMenuWindow(Form->PopupMenu1->Handle());
    ASSERT_NE(w, nullptr);
    RECT wr;
    GetWindowRect(w, &wr);
    POINT box{30, 12};
    ClientToScreen(Box->Handle(), &box);
    EXPECT_EQ(wr.left, box.x);  // at the mouse
    Robot.PressKey(VK_DOWN);
  });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_DOWN); });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_RETURN); });
  Robot.Click(Box->Handle(), 30, 12, TInputButton::Right);
  Pump();
  EXPECT_TRUE(popped);
  EXPECT_EQ(Form->PopupMenu1->PopupComponent(), Box);
  EXPECT_EQ(Form->Log, std::vector<std::string>{"delete"});
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStates) {
  std::vector<std::pair<std::string, TOwnerDrawState>> drawn;
  int measured = 0;
  TMenuItem* items[] = {Form->P1, static_cast<TMenuItem*>(Form->FindComponent("P2"))};
  for (TMenuItem* i : items) {
    i->OnMeasureItem = [&](TObject*, TCanvas*, int& w, int& h) {
      ++measured;
      w = 150;
      h = 24;
    };
    i->OnAdvancedDrawItem = [&, i](TObject*, TCanvas* c, TRect r, TOwnerDrawState s) {
      drawn.push_back({i->Caption(), s});
      EXPECT_EQ(r.Height(), 24);
      c->Brush()->SetColor(s.Contains(odSelected) ? clNavy : clWhite);
      c->FillRect(r);
    };
  }
  Form->PopupMenu1->SetOwnerDraw(true);
  Form->ActionDelete->SetEnabled(false);
  Form->DeleteAllowed = false;
  Form->ActionNew->SetChecked(true);
  Scope.Backend().WhenIdle([&] {
    EXPECT_EQ(measured, 2);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_TRUE(drawn[0].second.Contains(odChecked));
    EXPECT_FALSE(drawn[0].second.Contains(odSelected));
    EXPECT_TRUE(drawn[1].second.Contains(odGrayed));
    EXPECT_TRUE(drawn[1].second.Contains(odDisabled));
    drawn.clear();
    RECT item{};
    GetMenuItemRect(nullptr, Form->PopupMenu1->Handle(), 0, &item);
    Robot.MoveTo(nullptr, item.left + 20, item.top + 5);  // hover selects
  });
  Scope.Backend().WhenIdle([&] {
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().first, "&New record");
    EXPECT_TRUE(drawn.back().second.Contains(odSelected));
    Robot.PressKey(VK_ESCAPE);
  });
  Form->PopupMenu1->Popup(400, 300);
  Pump();
  EXPECT_TRUE(Form->Log.empty());
}

TEST_F(MenusTest, RadioItemsOfAGroupAndItemChanges) {
  auto* a = new TMenuItem(Form);
  auto* b = new TMenuItem(Form);
  a->SetCaption("A");
  b->SetCaption("B");
  a->SetRadioItem(true);
  b->SetRadioItem(true);
  a->SetGroupIndex(3);
  b->SetGroupIndex(3);
  Form->Help1->Add(a);
  Form->Help1->Add(b);
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(b->MenuIndex(), 2);
  b->SetMenuIndex(0);
  EXPECT_EQ(Form->Help1->Items(0), b);
  HMENU help = Form->Help1->Handle();
  EXPECT_EQ(GetMenuItemCount(help), 3);
  EXPECT_EQ(GetMenuState(help, 0, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
  b->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(help), 2);
  EXPECT_THROW(Form->Help1->Items(7), EMenuError);
  EXPECT_THROW(Form->Help1->Add(a), EMenuError);  // already in a menu
  delete a;                                      // freeing an item takes it out
  EXPECT_EQ(Form->Help1->Count(), 2);
  EXPECT_EQ(Form->MainMenu1->FindItem(b->Command(), fkCommand), b);
}

TEST_F(MenusTest, RenderFormWithMenuBarAndPopup) {
  auto dir = std::filesystem::temp_directory_path();
  auto formPng = (dir / "lorm_menu_form.png").string();
  auto popupPng = (dir / "lorm_menu_popup.png").string();
  Scope.Backend().WhenIdle([&] {
    Robot.PressKey(VK_DOWN);
  });
  Scope.Backend().WhenIdle([&] {
    EXPECT_TRUE(SaveWindowPng(Form->Handle(), formPng));
    EXPECT_TRUE(SaveWindowPng(GetMenuWindow(Form->File1->Handle()), popupPng));
    Robot.PressKey(VK_ESCAPE);
  });
  Scope.Backend().WhenIdle([&] { Robot.PressKey(VK_ESCAPE); });
  Robot.PressKey('F', rsAlt);
  Pump();
  // The bar shows the captions on the menu colour.
  RECT file = BarItem(0);
  RECT wr;
  GetWindowRect(Form->Handle(), &wr);
  EXPECT_TRUE(std::filesystem::exists(popupPng));
  if (!getenv("LORM_KEEP_PNG")) {
    std::filesystem::remove(formPng);
    std::filesystem::remove(popupPng);
  }
  (void)file;
}

}  // namespace
