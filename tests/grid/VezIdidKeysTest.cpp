// The string grid's key-down handling driven through the robot: check boxes, radio
// groups, radio buttons and cell buttons worked with Space and Enter, row-select
// scrolling, the search footer guard, select-all, the disjunct selections following the
// keys, wide cells validated on their wide text, cells growing while typed, and every key
// on the main window's two grids.
#include <string>
#include <vector>

#include "GridTestSupport.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/StdCtrls.h"

namespace {

class KeysGridTest : public GridTest {
protected:
  KeysGridTest() {
    grid->SetColCount(4);
    grid->SetRowCount(5);
    FillCoordinates();
    grid->SetFocus();
    At(1, 1);
  }
  void At(int c, int r) {
    grid->SetRow(r);
    grid->SetCol(c);
  }
  bool Editing() { return grid->GetInplaceEditor() && grid->GetInplaceEditor()->Visible(); }
  TRobot robot;
};

}  // namespace

TEST_F(KeysGridTest, SpaceTogglesACheckBoxOnlyWhereItMayBeEdited) {
  struct Case {
    bool editing, alwaysActive, readOnly, toggles;
  } cases[] = {{true, false, false, true},  {false, false, false, false}, {false, true, false, true},
               {true, false, true, false},  {true, true, true, true}};
  for (const Case& k : cases) {
    grid->SetOptions(k.editing ? grid->Options() + goEditing : grid->Options() - goEditing);
    grid->ControlLook()->CheckAlwaysActive = k.alwaysActive;
    grid->OnCanEditCell = [&](TObject*, int, int, bool& can) {
      if (k.readOnly) can = false;
    };
    grid->SetCells(2, 2, "");
    grid->ClearPropRect(2, 2, 2, 2);
    grid->AddCheckBox(2, 2, false, false);
    std::vector<int> clicks;
    grid->OnCheckBoxClick = [&](TObject*, int c, int r, bool s) { clicks.push_back(c * 100 + r * 10 + s); };
    At(2, 2);
    robot.PressKey(VK_SPACE);
    std::string where = std::to_string(k.editing) + std::to_string(k.alwaysActive) + std::to_string(k.readOnly);
    EXPECT_EQ(grid->IsChecked(2, 2), k.toggles) << where;
    EXPECT_EQ(clicks, k.toggles ? std::vector<int>{221} : std::vector<int>{}) << where;
    // Space on a check box never starts an edit nor types into the cell.
    EXPECT_FALSE(Editing()) << where;
    EXPECT_EQ(grid->Cells(2, 2), "") << where;
  }
}

TEST_F(KeysGridTest, SpaceOnADataCheckBoxFlipsItsTextAndMarksTheRow) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->ShowModified()->SetEnabled(true);
  grid->SetCells(2, 3, "Y");
  grid->AddCheckBox(2, 3, false, true);
  EXPECT_EQ(grid->Cells(2, 3), "Y");  // the text, not the state given, decides
  EXPECT_TRUE(grid->IsChecked(2, 3));
  std::vector<bool> changes;
  grid->OnCheckBoxChange = [&](TObject*, int, int, bool s) { changes.push_back(s); };
  At(2, 3);
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(grid->Cells(2, 3), "N");
  EXPECT_TRUE(grid->GetRowModified(3));
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(grid->Cells(2, 3), "Y");
  EXPECT_EQ(changes, (std::vector<bool>{false, true}));
  // A check box cannot be added past the stored cells.
  EXPECT_THROW(grid->AddCheckBox(grid->ColCount(), 1, true, false), Exception);
}

TEST_F(KeysGridTest, RadioGroupsButtonsAndCellButtonsAnswerTheirKeys) {
  grid->SetOptions(grid->Options() + goEditing);
  TStringList options;
  options.Add("one");
  options.Add("two");
  options.Add("three");
  // A group that follows its text: index −1, the text names the option.
  grid->SetCells(1, 1, "two");
  grid->AddRadio(1, 1, 0, -1, &options);
  std::vector<int> radioIdx;
  grid->OnRadioClick = [&](TObject*, int, int, int idx) { radioIdx.push_back(idx); };
  At(1, 1);
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(grid->Cells(1, 1), "three");
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(grid->Cells(1, 1), "one");
  EXPECT_EQ(radioIdx, (std::vector<int>{-1, -1}));
  // Radio buttons of one column are exclusive.
  for (int r = 1; r < 5; ++r) grid->AddRadioButton(3, r, r == 1);
  int radioButtonRow = -1;
  grid->OnRadioButtonClick = [&](TObject*, int, int r) { radioButtonRow = r; };
  At(3, 3);
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(radioButtonRow, 3);
  for (int r = 1; r < 5; ++r) EXPECT_EQ(grid->IsRadioButtonChecked(3, r), r == 3) << r;
  // A cell button answers Enter and Space.
  grid->AddButton(2, 4, 40, 16, "...", haRight, vaCenter);
  int buttonClicks = 0;
  grid->OnButtonClick = [&](TObject*, int c, int r) { buttonClicks += c == 2 && r == 4; };
  At(2, 4);
  robot.PressKey(VK_RETURN);
  robot.PressKey(VK_SPACE);
  EXPECT_EQ(buttonClicks, 2);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->Cells(2, 4), "2:4");
}

TEST_F(KeysGridTest, RowSelectScrollsSidewaysWithoutMovingTheRow) {
  grid->SetColCount(20);
  FillCoordinates();
  grid->SetOptions(grid->Options() + goRowSelect);
  At(1, 2);
  struct Case {
    bool leftRightRowSelect;
    TRobotShift shift;
    int vk, leftColDelta;
  } cases[] = {{false, rsNone, VK_RIGHT, 1}, {false, rsNone, VK_LEFT, -1}, {true, rsCtrl, VK_RIGHT, 1},
               {true, rsCtrl, VK_LEFT, -1}};
  grid->SetLeftCol(3);
  for (const Case& k : cases) {
    grid->Navigation()->LeftRightRowSelect = k.leftRightRowSelect;
    int left = grid->LeftCol();
    robot.PressKey(k.vk, k.shift);
    EXPECT_EQ(grid->LeftCol(), left + k.leftColDelta) << k.vk << k.leftRightRowSelect;
    EXPECT_EQ(grid->Row(), 2);
  }
  // The view stops at the first scrollable column.
  grid->Navigation()->LeftRightRowSelect = false;
  grid->SetLeftCol(grid->FixedCols());
  robot.PressKey(VK_LEFT);
  EXPECT_EQ(grid->LeftCol(), grid->FixedCols());
}

TEST_F(KeysGridTest, SearchFooterKeepsTheLastRowInSightAndTheLockBalanced) {
  grid->SetRowCount(60);
  FillCoordinates();
  grid->SearchFooter()->SetVisible(true);
  grid->SetOptions(grid->Options() + goRowSelect);
  grid->Navigation()->KeepHorizScroll = true;
  At(1, 1);
  int panel = grid->SearchPanel()->Height();
  ASSERT_GT(panel, 0);
  for (int vk : {VK_END, VK_NEXT, VK_DOWN, VK_DOWN, VK_LEFT, VK_RIGHT}) {
    robot.PressKey(vk, vk == VK_END ? rsCtrl : rsNone);
    EXPECT_EQ(grid->UpdateCount(), 0) << vk;
  }
  grid->Navigation()->HomeEndKey = heFirstLastRow;
  robot.PressKey(VK_END);
  EXPECT_EQ(grid->Row(), 59);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 59);
  EXPECT_EQ(grid->UpdateCount(), 0);
  TRect last = grid->CellRect(grid->Col(), 59);
  EXPECT_FALSE(last.Bottom == 0 && last.Top == 0);
  EXPECT_LE(last.Bottom, grid->ClientHeight() - panel + 2);
}

TEST_F(KeysGridTest, SelectAllTakesEveryNormalCellOnlyWithRowOrRangeSelection) {
  grid->SetOptions(grid->Options() - goRangeSelect - goRowSelect);
  TGridRect before = grid->Selection();
  robot.PressKey('A', rsCtrl);
  EXPECT_TRUE(grid->Selection() == before);
  grid->SetOptions(grid->Options() + goRangeSelect);
  std::vector<int> changed;
  grid->OnSelectionChanged = [&](TObject*, int l, int t, int r, int b) {
    changed = {l, t, r, b};
  };
  robot.PressKey('A', rsCtrl);
  TGridRect all{1, 1, 3, 4};
  EXPECT_TRUE(grid->Selection() == all);
  EXPECT_EQ(changed, (std::vector<int>{1, 1, 3, 4}));
  // With disjunct rows every normal row is marked.
  grid->MouseActions()->SetDisjunctRowSelect(true);
  robot.PressKey('A', rsCtrl);
  for (int r = 1; r < 5; ++r) EXPECT_TRUE(grid->GetRowSelect(r)) << r;
}

TEST_F(KeysGridTest, DisjunctSelectionsFollowTheKeys) {
  grid->SetOptions(grid->Options() + goRangeSelect);
  grid->MouseActions()->SetDisjunctRowSelect(true);
  grid->MouseActions()->SetDisjunctColSelect(true);
  auto marked = [&] {
    std::string rows;
    for (int r = 0; r < grid->RowCount(); ++r) rows += grid->GetRowSelect(r) ? '1' : '0';
    return rows;
  };
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(marked(), "00100");
  EXPECT_TRUE(grid->GetColSelect(1));
  robot.PressKey(VK_DOWN, rsShift);
  EXPECT_EQ(marked(), "00110");
  robot.PressKey(VK_SPACE);
  EXPECT_FALSE(grid->GetRowSelect(grid->Row()));
  robot.PressKey(VK_RIGHT);
  EXPECT_EQ(marked(), "00010");
  EXPECT_FALSE(grid->GetColSelect(1));
  EXPECT_TRUE(grid->GetColSelect(2));
  EXPECT_THROW(grid->GetRowSelect(grid->RowCount()), EVezIdidError);
  EXPECT_THROW(grid->SetColSelect(-1, true), EVezIdidError);
}

TEST_F(KeysGridTest, WideCellIsValidatedOnItsWideText) {
  grid->SetOptions(grid->Options() + goEditing);
  std::vector<std::u16string> wide;
  int plain = 0;
  bool accept = true;
  grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { ++plain; };
  grid->OnCellValidateWide = [&](TObject*, int c, int r, std::u16string& v, bool& valid) {
    EXPECT_EQ(c * 10 + r, 11);
    wide.push_back(v);
    valid = accept;
  };
  auto editWide = [&](const std::u16string& from, const std::u16string& to) {
    At(1, 1);
    grid->SetWideCells(1, 1, from);
    grid->InitValidate(1, 1);
    grid->SetWideCells(1, 1, to);
    grid->SetValidatePending(true);
    robot.PressKey(VK_DOWN);
  };
  // Accepted: the move goes on.
  editWide(u"añb", u"añbc");
  EXPECT_EQ(wide, (std::vector<std::u16string>{u"añbc"}));
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->GetWideCells(1, 1), u"añbc");
  // Refused: the cell gets its old text back and stays current.
  accept = false;
  editWide(u"xy", u"xyz");
  EXPECT_EQ(wide.back(), u"xyz");
  EXPECT_EQ(grid->GetWideCells(1, 1), u"xy");
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(plain, 0);
}

TEST_F(KeysGridTest, CellsGrowWhileTyped) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->SetColWidths(1, 30);
  robot.Type("a fairly long text");
  EXPECT_EQ(grid->ColWidths(1), 30);
  grid->HideInplaceEdit();
  grid->SizeWhileTyping()->Width = true;
  At(2, 2);
  grid->SetColWidths(2, 30);
  robot.Type("a fairly long text");
  int grown = grid->ColWidths(2);
  EXPECT_GT(grown, 60);
  // It only grows.
  robot.PressKey(VK_BACK);
  EXPECT_EQ(grid->ColWidths(2), grown);
  grid->HideInplaceEdit();
  // With word wrap the row grows to the wrapped lines.
  grid->SizeWhileTyping()->Width = false;
  grid->SizeWhileTyping()->Height = true;
  grid->SetWordWrapEx(true);
  int rowSized = -1;
  grid->OnEndRowSize = [&](TObject*, int r) { rowSized = r; };
  At(3, 3);
  grid->SetColWidths(3, 60);
  int h = grid->RowHeights(3);
  robot.Type("many words that need several lines here");
  EXPECT_GT(grid->RowHeights(3), h);
  EXPECT_EQ(rowSized, 3);
}

// The main window's grids: every key, plain and with modifiers, leaves the fixed cells
// alone, never hangs and leaves no update lock behind.
TEST_F(GridTest, MainWindowGridsTakeEveryKey) {
  for (bool mixture : {true, false}) {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(50, 50, 600, 400);
    form->Show();
    grid = new TDavEvadurAvuz(form);
    grid->SetParent(form);
    grid->SetBounds(4, 4, 590, 290);
    grid->SetColCount(mixture ? 3 : 6);
    grid->SetRowCount(mixture ? 6 : 30);
    grid->SetFixedRowsEx(1);
    grid->SetFixedColsEx(2);
    grid->FixedRowAlways = true;
    grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
    grid->Navigation()->AllowInsertRow = !mixture;
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->SetAdvanceInsert(true);
    grid->Navigation()->AutoGotoWhenSorted = true;
    grid->Navigation()->AutoGotoIncremental = true;
    grid->Navigation()->AdvanceAuto = true;
    if (mixture) {
      grid->OnKeyPress = [](TObject*, char32_t& k) {
        if (!(k == 8 || k == ',' || k == '.' || (k >= '0' && k <= '9'))) k = 0;
      };
    } else {
      // Nothing of the database grid is edited by hand.
      grid->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
    }
    FillCoordinates();
    auto fixedTexts = [&] {
      std::string s;
      for (int c = 0; c < grid->ColCount(); ++c) s += grid->Cells(c, 0) + "|";
      return s;
    };
    const std::string header = fixedTexts();
    grid->SetFocus();
    grid->SetCol(2);
    grid->SetRow(1);
    TRobot robot;
    const int keys[] = {VK_DOWN, VK_UP, VK_RIGHT, VK_LEFT, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, VK_TAB,
                        VK_RETURN, VK_F2, VK_SPACE, VK_DELETE, 'C', 'V', 'X', 'A', 'F', VK_ESCAPE, VK_BACK};
    for (TRobotShift shift : {rsNone, rsShift, rsCtrl}) {
      for (int vk : keys) {
        robot.PressKey(vk, shift);
        if (grid->GetInplaceEditor() && grid->GetInplaceEditor()->Visible()) robot.PressKey(VK_ESCAPE);
        std::string where = std::to_string(mixture) + " " + std::to_string(vk) + " " + std::to_string(shift);
        EXPECT_EQ(grid->UpdateCount(), 0) << where;
        EXPECT_GE(grid->Col(), grid->FixedCols()) << where;
        EXPECT_GE(grid->Row(), grid->FixedRows()) << where;
        EXPECT_LT(grid->Row(), grid->RowCount()) << where;
        EXPECT_EQ(fixedTexts(), header) << where;
      }
    }
    // The database grid keeps every text.
    if (!mixture)
      for (int r = 1; r < grid->RowCount(); ++r)
        for (int c = 0; c < grid->ColCount(); ++c)
          EXPECT_EQ(grid->Cells(c, r), std::to_string(c) + ":" + std::to_string(r)) << c << "," << r;
  }
}

TEST_F(KeysGridTest, InsertOnAGridShowingOnlyItsHeaderAddsTheFirstRow) {
  for (TInsertPosition pos : {pInsertBefore, pInsertAfter}) {
    grid->FixedRowAlways = true;
    grid->SetRowCountEx(1);
    grid->SetCells(1, 0, "header");
    grid->Navigation()->AllowInsertRow = true;
    grid->Navigation()->InsertPosition = pos;
    grid->SetFocus();
    robot.PressKey(VK_INSERT);
    EXPECT_EQ(grid->RowCount(), 2) << pos;
    EXPECT_EQ(grid->Cells(1, 0), "header") << pos;
    EXPECT_EQ(grid->Cells(1, 1), "") << pos;
    EXPECT_EQ(grid->Row(), 1) << pos;
  }
}

TEST_F(KeysGridTest, CaretWalksOutOfTheEditorIntoTheNextCell) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->Navigation()->CursorWalkEditor = true;
  grid->Navigation()->AdvanceOnEnter = true;
  // Right at the end of the text: the edit advances to the next cell.
  At(1, 1);
  robot.Type("ab");
  robot.PressKey(VK_RIGHT);
  EXPECT_EQ(grid->Cells(1, 1), "ab");
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 1);
  // Left with the caret at the start: validated, then back one cell.
  std::vector<std::string> validated;
  grid->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool&) {
    validated.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
  };
  At(3, 2);
  robot.Type("x");
  robot.PressKey(VK_HOME);
  robot.PressKey(VK_LEFT);
  EXPECT_EQ(validated, (std::vector<std::string>{"3,2=x"}));
  EXPECT_EQ(grid->Col(), 2);
  // Shift+Right at the end writes and validates the text, and the editor closes.
  grid->HideInplaceEdit();
  validated.clear();
  At(1, 3);
  robot.Type("q");
  robot.PressKey(VK_RIGHT, rsShift);
  EXPECT_EQ(validated, (std::vector<std::string>{"1,3=q"}));
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->Col(), 1);
}

TEST_F(KeysGridTest, UpAndDownValidateBeforeLeavingTheEditor) {
  grid->SetOptions(grid->Options() + goEditing);
  bool accept = false;
  grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool& valid) { valid = accept; };
  grid->MouseActions()->SetDisjunctRowSelect(true);
  At(1, 2);
  robot.Type("bad");
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_TRUE(Editing());
  EXPECT_EQ(grid->Cells(1, 2), "1:2");
  accept = true;
  robot.Type("good");
  robot.PressKey(VK_UP);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Cells(1, 2), "good");
  // The disjunct row selection moves along.
  EXPECT_TRUE(grid->GetRowSelect(1));
  EXPECT_FALSE(grid->GetRowSelect(2));
}

TEST_F(KeysGridTest, FilledMaskAdvancesByItself) {
  grid->SetOptions(grid->Options() + goEditing);
  grid->Navigation()->AdvanceOnEnter = true;
  grid->OnGetEditMask = [](TObject*, int, int, std::string& mask) { mask = "999;1;_"; };
  for (bool autoAdvance : {false, true}) {
    grid->Navigation()->AdvanceAuto = autoAdvance;
    At(1, 1);
    robot.Type("12");
    EXPECT_EQ(grid->Col(), 1) << autoAdvance;
    robot.Type("3");
    EXPECT_EQ(grid->Cells(1, 1), "123") << autoAdvance;
    EXPECT_EQ(grid->Col(), autoAdvance ? 2 : 1) << autoAdvance;
    grid->HideInplaceEdit();
  }
}

TEST_F(KeysGridTest, FixedLastRowFooterIsNeverEntered) {
  grid->SetRowCount(40);
  FillCoordinates();
  grid->FloatingFooter()->SetVisible(true);
  At(1, 37);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 38);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->Row(), 38);
  // The row above the footer shows above it.
  EXPECT_LE(grid->CellRect(1, 38).Bottom, grid->ClientHeight() - grid->FloatingFooter()->Height + 2);
  robot.PressKey(VK_NEXT);
  EXPECT_EQ(grid->Row(), 38);
}

// Small and odd grids with every navigation option on: no key crashes, hangs or leaves
// the update lock taken.
TEST_F(KeysGridTest, EveryKeyOnSmallGridsWithEveryOption) {
  struct Case {
    int cols, rows;
    bool headerOnly, rowSelect, footers;
  } cases[] = {{2, 2, false, false, false}, {3, 1, true, false, true}, {5, 3, false, true, true},
               {2, 6, false, true, false}};
  const int keys[] = {VK_DOWN, VK_UP,   VK_RIGHT, VK_LEFT, VK_NEXT,   VK_PRIOR, VK_HOME, VK_END,
                      VK_TAB,  VK_RETURN, VK_F2,  VK_SPACE, VK_DELETE, VK_INSERT, 'A',     'F'};
  for (const Case& k : cases) {
    grid->SetColCount(k.cols);
    grid->FixedRowAlways = k.headerOnly;
    grid->SetRowCountEx(k.rows);
    TGridOptions o = grid->Options() + goEditing + goTabs + goRangeSelect;
    grid->SetOptions(k.rowSelect ? o + goRowSelect : o - goRowSelect);
    grid->SearchFooter()->SetVisible(k.footers);
    grid->FloatingFooter()->SetVisible(k.footers && k.rows > 2);
    grid->MouseActions()->SetDisjunctRowSelect(true);
    grid->MouseActions()->SetDisjunctColSelect(true);
    grid->Navigation()->AllowDeleteRow = true;
    grid->Navigation()->AllowInsertRow = true;
    grid->Navigation()->AppendOnArrowDown = true;
    grid->Navigation()->KeepHorizScroll = true;
    grid->Navigation()->MoveScrollOnly = false;
    grid->Navigation()->HomeEndKey = heFirstLastRow;
    grid->SetFocus();
    for (TRobotShift shift : {rsNone, rsShift, rsCtrl}) {
      for (int vk : keys) {
        robot.PressKey(vk, shift);
        if (Editing()) robot.PressKey(VK_ESCAPE);
        std::string where = std::to_string(k.cols) + "x" + std::to_string(k.rows) + " " + std::to_string(vk) +
                            " " + std::to_string(shift);
        EXPECT_EQ(grid->UpdateCount(), 0) << where;
        EXPECT_LT(grid->Row(), std::max(1, grid->RowCount())) << where;
        EXPECT_LT(grid->Col(), grid->ColCount()) << where;
      }
    }
    grid->SearchFooter()->SetVisible(false);
    grid->FloatingFooter()->SetVisible(false);
  }
}

TEST_F(KeysGridTest, CtrlFMovesIntoTheSearchFooterOnlyWhenItShows) {
  auto* edit = new TEdit(form);
  edit->SetParent(grid->SearchPanel());
  int keyDowns = 0;
  grid->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { keyDowns += k == 'F'; };
  robot.PressKey('F', rsCtrl);
  EXPECT_TRUE(grid->Focused());
  grid->SearchFooter()->SetVisible(true);
  robot.PressKey('F', rsCtrl);
  EXPECT_TRUE(edit->Focused());
  // The key goes on to the grid's own handling.
  EXPECT_EQ(keyDowns, 2);
}

TEST_F(KeysGridTest, ChangedValueMarksItsRowModified) {
  grid->SetOptions(grid->Options() + goEditing);
  At(1, 2);
  robot.Type("7");
  robot.PressKey(VK_RETURN);
  EXPECT_TRUE(grid->GetRowModified(2));
  // A value typed back to what it was marks nothing.
  At(2, 3);
  robot.Type("2:3");
  robot.PressKey(VK_RETURN);
  EXPECT_FALSE(grid->GetRowModified(3));
  EXPECT_FALSE(grid->GetRowModified(1));
}
