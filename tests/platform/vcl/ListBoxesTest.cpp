// List boxes and combo boxes driven by the robot on the headless back end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListBoxes.h"

namespace {

class ListsTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;

  void SetUp() override {
    Application->Restart();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 420, 320);
    Form->SetColor(clBtnFace);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Application->Restart();
  }
  TListBox* NewList(std::initializer_list<const char*> items) {
    auto* list = new TListBox(Form);
    list->SetParent(Form);
    list->SetBounds(10, 10, 150, 100);
    for (const char* s : items) list->Items()->Add(s);
    return list;
  }
  TComboBox* NewCombo(TComboBoxStyle style) {
    auto* combo = new TComboBox(Form);
    combo->SetParent(Form);
    combo->SetStyle(style);
    combo->SetBounds(200, 10, 150, 21);
    for (const char* s : {"Alpha", "Beta", "Bravo", "Gamma", "Delta"}) combo->Items()->Add(s);
    return combo;
  }
  // The middle of an item of a list, in its client coordinates.
  static POINT ItemPoint(TCustomListBox* list, int index) {
    TRect r = list->ItemRect(index);
    return POINT{r.Left + 10, (r.Top + r.Bottom) / 2};
  }
};

TEST_F(ListsTest, ListBoxSelectsByMouseAndKeysAndScrollsToTheCaret) {
  TListBox* list = NewList({"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "b0", "b1"});
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  POINT p = ItemPoint(list, 2);
  Robot.Click(list->Handle(), p.x, p.y);
  EXPECT_TRUE(list->Focused());
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
  Robot.PressKey(VK_DOWN);
  EXPECT_EQ(list->ItemIndex(), 3);
  Robot.PressKey(VK_END);
  EXPECT_EQ(list->ItemIndex(), 11);
  EXPECT_GT(list->TopIndex(), 0);
  TRect last = list->ItemRect(11);
  EXPECT_LE(last.Bottom, list->ClientHeight());
  Robot.PressKey(VK_HOME);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_EQ(clicks, 4);
  // Typing searches by the leading letters.
  Robot.Type("b1");
  EXPECT_EQ(list->ItemIndex(), 11);
}

// A focused list with nothing selected shows the focus rectangle round its first item,
// the item height being the font's height (13 for MS Sans Serif 8 pt).
TEST_F(ListsTest, FocusedListWithoutSelectionFramesTheFirstItem) {
  TListBox* list = NewList({"Метан", "Этан"});
  list->Font()->SetName("MS Sans Serif");
  list->Font()->SetHeight(-11);
  Scope.Backend().Pump();
  EXPECT_EQ(list->ItemRect(0).Height(), 13);
  ASSERT_EQ(list->ItemIndex(), -1);
  auto framePixels = [&] {
    TRect r = list->ItemRect(0);
    int n = 0;
    for (int x = r.Left; x < r.Right; ++x) n += WindowPixel(list->Handle(), x, r.Top) != ColorToRGB(clWindow);
    return n;
  };
  EXPECT_EQ(framePixels(), 0);
  list->SetFocus();
  Scope.Backend().Pump();
  EXPECT_GT(framePixels(), list->ItemRect(0).Width() / 3) << "dotted top edge of the focus rectangle";
  EXPECT_EQ(list->ItemIndex(), -1) << "the focus selects nothing";
}

// A dropped list shows the item whose text the combo's edit holds, selected.
TEST_F(ListsTest, DroppedComboPreselectsTheItemMatchingItsText) {
  TComboBox* combo = NewCombo(csDropDown);
  combo->SetText("gamma");
  ASSERT_EQ(combo->ItemIndex(), -1);
  combo->SetDroppedDown(true);
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), "gamma") << "the edit keeps what was typed";
  combo->SetDroppedDown(false);
  combo->SetText("Gam");
  combo->SetDroppedDown(true);
  EXPECT_EQ(combo->ItemIndex(), 3) << "no exact match: the selection stays";
  combo->SetDroppedDown(false);
}

TEST_F(ListsTest, ExtendedMultiSelectTakesShiftRangesAndCtrlToggles) {
  TListBox* list = NewList({"one", "two", "three", "four", "five"});
  list->SetMultiSelect(true);
  POINT p1 = ItemPoint(list, 1), p3 = ItemPoint(list, 3), p2 = ItemPoint(list, 2);
  Robot.Click(list->Handle(), p1.x, p1.y);
  Robot.Click(list->Handle(), p3.x, p3.y, TInputButton::Left, rsShift);
  EXPECT_EQ(list->SelCount(), 3);
  EXPECT_TRUE(list->Selected(1) && list->Selected(2) && list->Selected(3));
  Robot.Click(list->Handle(), p2.x, p2.y, TInputButton::Left, rsCtrl);
  EXPECT_FALSE(list->Selected(2));
  EXPECT_EQ(list->SelCount(), 2);
  int selected[8] = {};
  EXPECT_EQ(SendMessage(list->Handle(), LB_GETSELITEMS, 8, LPARAM(selected)), 2);
  EXPECT_EQ(selected[0], 1);
  EXPECT_EQ(selected[1], 3);
  // A plain click starts over.
  Robot.Click(list->Handle(), p2.x, p2.y);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_TRUE(list->Selected(2));
  EXPECT_THROW(list->Selected(9), EListError);
}

TEST_F(ListsTest, OwnerDrawnVariableItemsAreMeasuredOnceAndDrawnWithTheirState) {
  TListBox* list = NewList({});
  list->SetStyle(lbOwnerDrawVariable);
  std::vector<int> measured;
  list->OnMeasureItem = [&](TWinControl*, int index, int& height) {
    measured.push_back(index);
    height = 10 + index * 5;
  };
  struct TDrawn {
    int Index;
    TRect Rect;
    bool Selected;
  };
  std::vector<TDrawn> drawn;
  list->OnDrawItem = [&](TWinControl* c, int index, TRect r, TOwnerDrawState state) {
    drawn.push_back({index, r, state.Contains(odSelected)});
    static_cast<TListBox*>(c)->Canvas()->FillRect(r);
  };
  list->Items()->Add("x");
  list->Items()->Add("y");
  list->Items()->Add("z");
  EXPECT_EQ(measured, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(SendMessage(list->Handle(), LB_GETITEMHEIGHT, 2, 0), 20);
  list->SetItemIndex(1);
  drawn.clear();
  UpdateAllWindows();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[1].Index, 1);
  EXPECT_TRUE(drawn[1].Selected);
  EXPECT_FALSE(drawn[0].Selected);
  EXPECT_EQ(drawn[1].Rect.Top, 10);
  EXPECT_EQ(drawn[2].Rect.Top, 25);
  EXPECT_EQ(drawn[2].Rect.Height(), 20);
  // A click on the third item hits it by its measured height.
  Robot.Click(list->Handle(), 20, 30);
  EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListsTest, ListMessagesAnswerAsTheSystemList) {
  TListBox* list = NewList({});
  list->SetSorted(true);
  HWND h = list->Handle();
  struct TCase {
    const char* Text;
    LRESULT Index;
  };
  for (TCase c : {TCase{"pear", 0}, TCase{"apple", 0}, TCase{"Zucchini", 2}, TCase{"banana", 1}})
    EXPECT_EQ(SendMessage(h, LB_ADDSTRING, 0, LPARAM(c.Text)), c.Index) << c.Text;
  EXPECT_EQ(SendMessage(h, LB_GETCOUNT, 0, 0), 4);
  char buffer[32] = {};
  EXPECT_EQ(SendMessage(h, LB_GETTEXT, 2, LPARAM(buffer)), 4);
  EXPECT_STREQ(buffer, "pear");
  EXPECT_EQ(SendMessage(h, LB_GETTEXT, 7, LPARAM(buffer)), LB_ERR);
  EXPECT_EQ(SendMessage(h, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("BANANA")), 1);
  EXPECT_EQ(SendMessage(h, LB_FINDSTRING, WPARAM(-1), LPARAM("zu")), 3);
  EXPECT_EQ(SendMessage(h, LB_FINDSTRING, WPARAM(-1), LPARAM("kiwi")), LB_ERR);
  EXPECT_EQ(SendMessage(h, LB_SETCURSEL, 3, 0), 3);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(SendMessage(h, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(list->ItemIndex(), 2);  // the selection follows its item
  TObject marker;
  list->Items()->AddObject("cherry", &marker);
  EXPECT_EQ(list->Items()->Objects(list->Items()->IndexOf("cherry")), &marker);
  EXPECT_EQ(SendMessage(h, LB_GETITEMDATA, WPARAM(list->Items()->IndexOf("cherry")), 0), LRESULT(&marker));
  EXPECT_THROW(list->Items()->Strings(10), EStringListError);
}

// ---- combo boxes ---------------------------------------------------------------------
struct TComboLog {
  std::vector<std::string> Events;
  void Attach(TComboBox* c) {
    c->OnDropDown = [this](TObject*) { Events.push_back("dropdown"); };
    c->OnCloseUp = [this](TObject*) { Events.push_back("closeup"); };
    c->OnSelect = [this, c](TObject*) { Events.push_back("select " + c->Text()); };
    c->OnChange = [this, c](TObject*) { Events.push_back("change " + c->Text()); };
  }
};

TEST_F(ListsTest, ComboDropsByClickAndChoosesAnItemWithTheMouse) {
  TComboBox* combo = NewCombo(csDropDownList);
  TComboLog log;
  log.Attach(combo);
  TRect button = combo->ButtonRect();
  Robot.Click(combo->Handle(), button.Left + 3, 5);
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(combo->ListHandle()));
  EXPECT_TRUE(combo->Focused());
  POINT p = ItemPoint(combo->ListBox(), 3);
  Robot.MoveTo(combo->ListHandle(), p.x, p.y);
  EXPECT_EQ(combo->ItemIndex(), 3);  // hovering highlights
  Robot.Click(combo->ListHandle(), p.x, p.y);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(combo->ListHandle()));
  EXPECT_EQ(combo->ItemIndex(), 3);
  EXPECT_EQ(combo->Text(), "Gamma");
  EXPECT_EQ(log.Events, (std::vector<std::string>{"dropdown", "closeup", "select Gamma"}));
}

TEST_F(ListsTest, ComboOpensByKeysAndClosesOnEscapeEnterAndClickOutside) {
  TComboBox* combo = NewCombo(csDropDownList);
  combo->SetItemIndex(1);
  combo->SetFocus();
  TComboLog log;
  log.Attach(combo);
  Robot.PressKey(VK_F4);
  EXPECT_TRUE(combo->DroppedDown());
  // Hovering without a click, then Escape: the selection stays.
  POINT p = ItemPoint(combo->ListBox(), 4);
  Robot.MoveTo(combo->ListHandle(), p.x, p.y);
  Robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 1);
  Robot.PressKey(VK_DOWN, rsAlt);
  EXPECT_TRUE(combo->DroppedDown());
  Robot.PressKey(VK_DOWN);
  EXPECT_EQ(combo->ItemIndex(), 2);
  Robot.PressKey(VK_RETURN);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->Text(), "Bravo");
  Robot.PressKey(VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  Robot.Click(Form->Handle(), 30, 250);  // outside: closes, nothing chosen
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"dropdown", "closeup", "dropdown", "select Bravo", "closeup",
                                                  "dropdown", "closeup"}));
  // Closed, the arrows step through the items.
  Robot.PressKey(VK_UP);
  EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST_F(ListsTest, DropDownListSelectsByTypedLetters) {
  TComboBox* combo = NewCombo(csDropDownList);
  combo->SetFocus();
  Robot.Type("b");
  EXPECT_EQ(combo->Text(), "Beta");
  Scope.Backend().Advance(1000);
  Robot.Type("b");
  EXPECT_EQ(combo->Text(), "Bravo");
  Scope.Backend().Advance(1000);
  Robot.Type("d");
  EXPECT_EQ(combo->ItemIndex(), 4);
  combo->SetText("Gamma");
  EXPECT_EQ(combo->ItemIndex(), 3);
}

TEST_F(ListsTest, DropDownComboEditsTextAndCompletesFromItsItems) {
  TComboBox* combo = NewCombo(csDropDown);
  std::vector<std::string> changes;
  combo->OnChange = [&](TObject*) { changes.push_back(combo->Text()); };
  ASSERT_NE(combo->EditHandle(), nullptr);
  Robot.Click(combo->EditHandle(), 5, 5);
  EXPECT_TRUE(combo->Focused());
  EXPECT_EQ(Form->ActiveControl(), combo);
  Robot.Type("ga");
  EXPECT_EQ(combo->Text(), "Gamma");
  EXPECT_EQ(combo->SelText(), "mma");
  EXPECT_EQ(combo->ItemIndex(), 3);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), "Gamma");
  Robot.PressKey(VK_BACK);  // removes the completion
  EXPECT_EQ(combo->Text(), "Ga");
  // CB_ messages the grid editors send.
  HWND h = combo->Handle();
  EXPECT_EQ(SendMessage(h, CB_GETCOUNT, 0, 0), 5);
  char buffer[256] = {};
  EXPECT_EQ(SendMessage(h, CB_GETLBTEXT, 1, LPARAM(buffer)), 4);
  EXPECT_STREQ(buffer, "Beta");
  SendMessage(h, CB_SETDROPPEDWIDTH, 300, 0);
  EXPECT_EQ(SendMessage(h, CB_GETDROPPEDWIDTH, 0, 0), 300);
  EXPECT_EQ(SendMessage(h, CB_SETCURSEL, 4, 0), 4);
  EXPECT_EQ(combo->Text(), "Delta");
  SendMessage(h, CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
  EXPECT_EQ(combo->SelText(), "el");
  Robot.PressKey(VK_F4);
  ASSERT_TRUE(combo->DroppedDown());
  RECT lr;
  GetWindowRect(combo->ListHandle(), &lr);
  EXPECT_EQ(lr.right - lr.left, 300);
  Robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
}

}  // namespace
