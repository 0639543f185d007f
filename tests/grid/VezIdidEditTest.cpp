// The grid's editing engine and keyboard, driven through the robot: starting and ending
// edits, the order of the edit events, advancing on Enter, validation and its balloon,
// the update lock, the clipboard keys, Tab stepping, the typing filters of the text
// editor, incremental search and the mixture grid's share column.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "GridTestSupport.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win/StdEdit.h"

namespace {

class EditGridTest : public GridTest {
protected:
  EditGridTest() {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetOptions(grid->Options() + goEditing);
    FillCoordinates();
    grid->SetFocus();
    At(1, 1);
  }
  void At(int c, int r) {
    grid->SetRow(r);
    grid->SetCol(c);
  }
  TDizInplaceEdit* Editor() { return dynamic_cast<TDizInplaceEdit*>(grid->GetInplaceEditor()); }
  bool Editing() { return Editor() && Editor()->Visible(); }
  void Pump() { scope.Backend().Pump(); }
  // Watches the messages a control receives before it handles them.
  template <class C>
  void Watch(C* Control, std::function<void(TMessage&)> Seen) {
    Control->WindowProc = [Control, Seen](TMessage& m) {
      Seen(m);
      Control->WndProc(m);
    };
  }
  TRobot robot;
};

}  // namespace

TEST_F(EditGridTest, TypingOpensTheEditorWithTheFirstCharacter) {
  robot.Type("7");
  ASSERT_TRUE(Editing());
  EXPECT_TRUE(grid->EditActive());
  EXPECT_EQ(Editor()->Text(), "7");
  robot.Type("5");
  EXPECT_EQ(grid->Cells(1, 1), "75");
}

TEST_F(EditGridTest, EditEndedByHideInplaceEditReportsInOrder) {
  std::vector<std::string> log;
  grid->OnSetEditText = [&](TObject*, int, int, const std::string& v) { log.push_back("set " + v); };
  grid->OnEditingDone = [&](TObject*) { log.push_back("done"); };
  grid->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool&) {
    log.push_back("validate " + std::to_string(c) + "," + std::to_string(r) + " " + v);
  };
  grid->OnEditCellDone = [&](TObject*, int c, int r) {
    log.push_back("celldone " + std::to_string(c) + "," + std::to_string(r));
  };
  robot.Type("ab");
  log.clear();
  grid->HideInplaceEdit();
  EXPECT_FALSE(Editing());
  EXPECT_FALSE(grid->EditActive());
  // The cell-done report waits for the message loop.
  EXPECT_EQ(log, (std::vector<std::string>{"set ab", "done", "validate 1,1 ab"}));
  Pump();
  EXPECT_EQ(log.back(), "celldone 1,1");
  // Hiding again does nothing.
  log.clear();
  grid->HideInplaceEdit();
  Pump();
  EXPECT_TRUE(log.empty());
}

// Opening the editor ends nothing: the closing events come once, when the edit ends,
// for the cell that was edited; the same holds for the editor's later openings.
TEST_F(EditGridTest, OpeningTheEditorRaisesNoClosingEvents) {
  std::vector<std::string> log;
  grid->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
    log.push_back("set " + std::to_string(c) + "," + std::to_string(r) + " " + v);
  };
  grid->OnEditingDone = [&](TObject*) { log.push_back("done"); };
  grid->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool&) {
    log.push_back("validate " + std::to_string(c) + "," + std::to_string(r) + " " + v);
  };
  grid->OnEditCellDone = [&](TObject*, int c, int r) {
    log.push_back("celldone " + std::to_string(c) + "," + std::to_string(r));
  };
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    int col = 1 + pass;
    At(col, 2);
    robot.PressKey(VK_F2);
    Pump();
    ASSERT_TRUE(Editing());
    EXPECT_TRUE(log.empty()) << log.front();
    Editor()->SetText("");
    log.clear();
    robot.Type("ab");
    Pump();
    EXPECT_TRUE(std::find(log.begin(), log.end(), "done") == log.end());
    log.clear();
    grid->HideInplaceEdit();
    std::string cell = std::to_string(col) + ",2";
    EXPECT_EQ(log, (std::vector<std::string>{"set " + cell + " ab", "done", "validate " + cell + " ab"}));
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"set " + cell + " ab", "done", "validate " + cell + " ab",
                                             "celldone " + cell}));
    log.clear();
  }
  // Typing on the grid opens the editor with the character: still no closing event.
  At(3, 3);
  robot.Type("z");
  Pump();
  ASSERT_TRUE(Editing());
  for (const std::string& e : log) EXPECT_TRUE(e.rfind("set", 0) == 0) << e;
  grid->HideInplaceEdit();
  Pump();
  EXPECT_EQ(log.back(), "celldone 3,3");
  grid->OnSetEditText = nullptr;
  grid->OnEditingDone = nullptr;
  grid->OnCellValidate = nullptr;
  grid->OnEditCellDone = nullptr;
}

TEST_F(EditGridTest, EnterOnTheLastCellWrapsOrAppends) {
  struct Case {
    bool insert;
    bool allowAdd;
    int rows, col, row, added;
  } cases[] = {{false, true, 4, 1, 1, -1}, {true, true, 5, 1, 4, 4}, {true, false, 4, 1, 3, -1}};
  for (const Case& k : cases) {
    grid->SetRowCount(4);
    grid->Navigation()->AdvanceOnEnter = true;
    grid->Navigation()->SetAdvanceInsert(k.insert);
    int added = -1;
    grid->OnAutoAddRow = [&](TObject*, int r) { added = r; };
    grid->OnCanAddRow = [&](TObject*, bool& can) { can = k.allowAdd; };
    At(3, 3);
    robot.Type("x");
    robot.PressKey(VK_RETURN);
    EXPECT_EQ(grid->Cells(3, 3), "x") << k.insert;
    EXPECT_EQ(grid->RowCount(), k.rows) << k.insert;
    EXPECT_EQ(grid->Col(), k.col) << k.insert;
    EXPECT_EQ(grid->Row(), k.row) << k.insert;
    EXPECT_EQ(added, k.added) << k.insert;
    grid->HideInplaceEdit();
  }
}

TEST_F(EditGridTest, TopBottomAdvanceMovesDownThenToTheNextColumn) {
  grid->Navigation()->AdvanceOnEnter = true;
  grid->Navigation()->SetAdvanceDirection(adTopBottom);
  At(1, 2);
  robot.Type("1");
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_EQ(grid->Col(), 1);
  robot.Type("2");
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Cells(1, 3), "2");
}

TEST_F(EditGridTest, AdvanceWithNoEditableCellStaysPut) {
  grid->Navigation()->AdvanceOnEnter = true;
  grid->OnCanEditCell = [&](TObject*, int, int, bool& can) { can = false; };
  At(2, 2);
  grid->AdvanceEdit(2, 2, true, false, true, false, false);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 2);
  // A read-only cell on the way is skipped.
  grid->OnCanEditCell = [&](TObject*, int r, int c, bool& can) { can = !(r == 2 && c == 3); };
  grid->AdvanceEdit(2, 2, true, false, true, false, false);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 3);
}

TEST_F(EditGridTest, RefusedEntryReopensTheEditorWithABalloon) {
  grid->InvalidEntryTitle = "Ошибка";
  grid->InvalidEntryText = "Bad value";
  grid->InvalidEntryIcon = ieWarning;
  grid->Navigation()->AdvanceOnEnter = true;
  for (bool changeText : {false, true}) {
    grid->SetCells(1, 1, "old");
    At(2, 2);
    At(1, 1);
    grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool& valid) {
      valid = false;
      if (changeText) v = "fixed";
    };
    robot.Type("99");
    ASSERT_TRUE(Editing());
    DWORD cb = 0;
    int icon = -1;
    std::u16string title, text;
    Watch(Editor(), [&](TMessage& m) {
      if (m.Msg == EM_SHOWBALLOONTIP) {
        auto* tip = reinterpret_cast<EDITBALLOONTIP*>(m.LParam);
        cb = tip->cbStruct;
        icon = tip->ttiIcon;
        title = tip->pszTitle;
        text = tip->pszText;
      }
    });
    robot.PressKey(VK_RETURN);
    Editor()->WindowProc = nullptr;
    std::string expect = changeText ? "fixed" : "old";
    EXPECT_EQ(grid->Row(), 1) << changeText;
    EXPECT_EQ(grid->Col(), 1) << changeText;
    EXPECT_EQ(grid->Cells(1, 1), expect) << changeText;
    EXPECT_TRUE(Editing()) << changeText;
    EXPECT_EQ(Editor()->Text(), expect) << changeText;
    EXPECT_FALSE(grid->EntryValid());
    EXPECT_EQ(cb, 16u);
    EXPECT_EQ(icon, 2);
    EXPECT_EQ(title, u"Ошибка");
    EXPECT_EQ(text, u"Bad value");
    grid->OnCellValidate = nullptr;
    grid->HideInplaceEdit();
  }
}

TEST_F(EditGridTest, NoBalloonWithoutInvalidEntryTexts) {
  grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool& valid) { valid = false; };
  robot.Type("9");
  int balloons = 0;
  Watch(Editor(), [&](TMessage& m) {
    if (m.Msg == EM_SHOWBALLOONTIP) ++balloons;
  });
  robot.PressKey(VK_RETURN);
  Editor()->WindowProc = nullptr;
  EXPECT_EQ(balloons, 0);
  EXPECT_EQ(grid->Cells(1, 1), "1:1");
}

TEST_F(EditGridTest, ValidationCleansUpAfterAnException) {
  grid->OnCellValidate = [&](TObject*, int, int, std::string&, bool&) { throw Exception("boom"); };
  robot.Type("5");
  EXPECT_THROW(grid->HideInplaceEdit(), Exception);
  EXPECT_FALSE(grid->ValidatingCell());
  grid->OnCellValidate = nullptr;
  At(2, 2);
  robot.Type("6");
  EXPECT_TRUE(Editing());
  grid->SetValidatePending(true);
  grid->OnCellValidateWide = [&](TObject*, int, int, std::u16string&, bool&) { throw Exception("wide"); };
  EXPECT_THROW(grid->ValidateCellWide(u"zz"), Exception);
  EXPECT_FALSE(grid->ValidatingCell());
}

TEST_F(EditGridTest, CellsChangedReachesTheEventThenEachNotifierOnce) {
  std::vector<std::string> order;
  grid->OnCellsChanged = [&](TObject*, const TRect& r) {
    order.push_back("event " + std::to_string(r.Left) + "," + std::to_string(r.Top));
  };
  TGridChangeNotifier a(nullptr), b(nullptr);
  a.OnCellsChanged = [&](TObject*, const TRect&) { order.push_back("a"); };
  b.OnCellsChanged = [&](TObject*, const TRect&) { order.push_back("b"); };
  grid->RegisterNotifier(&a);
  grid->RegisterNotifier(&b);
  grid->RegisterNotifier(&a);
  robot.Type("new");
  grid->HideInplaceEdit();
  EXPECT_EQ(order, (std::vector<std::string>{"event 1,1", "a", "b"}));
  // An unchanged cell reports nothing.
  order.clear();
  robot.Type("new");
  grid->HideInplaceEdit();
  EXPECT_TRUE(order.empty());
  grid->UnRegisterNotifier(&a);
  grid->UnRegisterNotifier(&a);
  grid->UnRegisterNotifier(&b);
}

TEST_F(EditGridTest, NestedUpdateLockRepaintsOnceAtTheEnd) {
  Pump();
  int paints = 0;
  grid->OnDrawCell = nullptr;
  Watch(grid, [&](TMessage& m) {
    if (m.Msg == WM_PAINT) ++paints;
  });
  grid->BeginUpdate();
  grid->BeginUpdate();
  grid->SetCells(1, 1, "a");
  grid->EndUpdate();
  Pump();
  EXPECT_EQ(grid->UpdateCount(), 1);
  int before = paints;
  grid->EndUpdate();
  EXPECT_EQ(grid->UpdateCount(), 0);
  Pump();
  EXPECT_EQ(paints, before + 1);
  grid->EndUpdate();
  EXPECT_EQ(grid->UpdateCount(), 0);
  // The lock counts on a hidden grid as well.
  grid->SetVisible(false);
  grid->BeginUpdate();
  grid->SetVisible(true);
  grid->EndUpdate();
  EXPECT_EQ(grid->UpdateCount(), 0);
  grid->StartUpdate();
  grid->ResetUpdate();
  EXPECT_FALSE(grid->GetLockFlag());
  grid->WindowProc = nullptr;
}

TEST_F(EditGridTest, ClipboardKeysAreGatedByTheirEvents) {
  grid->Navigation()->AllowClipboardShortCuts = true;
  struct Case {
    int vk;
    TRobotShift shift;
    const char* event;
  } cases[] = {{'X', rsCtrl, "cut"},       {'V', rsCtrl, "paste"},         {'C', rsCtrl, "copy"},
               {VK_INSERT, rsCtrl, "copy"}, {VK_INSERT, rsShift, "paste"}, {VK_DELETE, rsShift, "cut"}};
  for (const Case& k : cases) {
    for (bool allow : {false, true}) {
      FillCoordinates();
      At(2, 2);
      SetClipboardTextUtf8("clip");
      std::string fired;
      grid->OnClipboardCut = [&](TObject*, bool& a) { fired += "cut"; a = allow; };
      grid->OnClipboardCopy = [&](TObject*, bool& a) { fired += "copy"; a = allow; };
      grid->OnClipboardPaste = [&](TObject*, bool& a) { fired += "paste"; a = allow; };
      robot.PressKey(k.vk, k.shift);
      EXPECT_EQ(fired, k.event) << k.vk;
      std::string cell = grid->Cells(2, 2), clip = GetClipboardTextUtf8();
      std::string event = k.event;
      if (!allow) {
        EXPECT_EQ(cell, "2:2") << k.vk;
        EXPECT_EQ(clip, "clip") << k.vk;
      } else if (event == "cut") {
        EXPECT_EQ(cell, "") << k.vk;
        EXPECT_EQ(clip, "2:2") << k.vk;  // one cell: no line end
      } else if (event == "copy") {
        EXPECT_EQ(clip, "2:2") << k.vk;
      } else {
        EXPECT_EQ(cell, "clip") << k.vk;
      }
      EXPECT_FALSE(Editing()) << k.vk;
    }
  }
}

TEST_F(EditGridTest, TabWrapsAppendsAndNeverLandsOnAFixedColumn) {
  grid->SetOptions(grid->Options() + goTabs);
  grid->Navigation()->AdvanceAutoEdit = false;
  At(3, 1);
  robot.PressKey(VK_TAB);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 2);
  robot.PressKey(VK_TAB, rsShift);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 1);
  // Backwards from the first cell wraps to the last row.
  At(1, 1);
  robot.PressKey(VK_TAB, rsShift);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 3);
  // At the end: wrap, or append a row with AdvanceInsert.
  robot.PressKey(VK_TAB);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 1);
  grid->Navigation()->SetAdvanceInsert(true);
  int added = -1;
  grid->OnAutoAddRow = [&](TObject*, int r) { added = r; };
  At(3, 3);
  robot.PressKey(VK_TAB);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(added, 4);
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(grid->Col(), 1);
}

TEST_F(EditGridTest, TabInAGridWithoutEditableCellsEndsAfterOnePass) {
  grid->SetOptions(grid->Options() + goTabs);
  grid->OnCanEditCell = [&](TObject*, int, int, bool& can) { can = false; };
  At(2, 2);
  robot.PressKey(VK_TAB);
  EXPECT_GE(grid->Col(), grid->FixedCols());
  EXPECT_FALSE(Editing());
}

// With nothing to go to, Tab and Shift+Tab leave the current cell where it was, in both
// directions of travel; one other editable cell is still found from anywhere.
TEST_F(EditGridTest, TabWithNoEditableCellToGoToStaysPut) {
  grid->SetOptions(grid->Options() + goTabs);
  grid->Navigation()->AdvanceAutoEdit = false;
  struct Case {
    const char* name;
    TAdvanceDirection dir;
    bool shift;
    bool fixedByEvent;  // every cell fixed through OnIsFixedCell, else read-only
    int col, row;
  } cases[] = {
      {"fixed, forward", adLeftRight, false, true, 1, 1},
      {"fixed, backward", adLeftRight, true, true, 1, 1},
      {"fixed, down", adTopBottom, false, true, 1, 1},
      {"fixed, up", adTopBottom, true, true, 2, 3},
      {"read-only, forward", adLeftRight, false, false, 3, 3},
      {"read-only, backward", adLeftRight, true, false, 2, 2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    grid->Navigation()->TabAdvanceDirection = k.dir;
    grid->OnIsFixedCell = nullptr;
    grid->OnCanEditCell = nullptr;
    At(k.col, k.row);
    if (k.fixedByEvent) grid->OnIsFixedCell = [](TObject*, int, int, bool& fixed) { fixed = true; };
    else grid->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
    robot.PressKey(VK_TAB, k.shift ? rsShift : rsNone);
    EXPECT_EQ(grid->Col(), k.col);
    EXPECT_EQ(grid->Row(), k.row);
    EXPECT_FALSE(Editing());
  }
  grid->Navigation()->TabAdvanceDirection = adLeftRight;
  grid->OnIsFixedCell = nullptr;
  grid->OnCanEditCell = nullptr;
  // A cell that cannot be edited is stepped over.
  At(1, 3);
  grid->OnCanEditCell = [](TObject*, int r, int c, bool& can) { can = !(r == 3 && c == 2); };
  robot.PressKey(VK_TAB);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->Row(), 3);
  // Shift+Tab in the first column of a row with nothing to edit stays in that row.
  grid->OnCanEditCell = nullptr;
  At(1, 2);
  grid->OnCanEditCell = [](TObject*, int r, int, bool& can) { can = r != 2; };
  robot.PressKey(VK_TAB, rsShift);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(grid->Row(), 2);
}

// The text editor is right-aligned exactly where the cell's text is drawn right-aligned:
// numbers under AutoNumAlign, and whatever GetCellAlign (OnGetAlignment) decides last.
TEST_F(EditGridTest, EditorAlignmentFollowsTheCellsDrawnAlignment) {
  struct Case {
    const char* text;
    bool autoNum;
    int eventAlign;  // -1: no OnGetAlignment
    bool right;
  } cases[] = {
      {"12.5", true, -1, true},   {"abc", true, -1, false},  {"12.5", false, -1, false},
      {"abc", false, taRightJustify, true}, {"12.5", true, taLeftJustify, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.text) + (k.autoNum ? " auto" : "") + " " + std::to_string(k.eventAlign));
    grid->HideInplaceEdit();
    grid->AutoNumAlign = k.autoNum;
    grid->OnGetAlignment = nullptr;
    if (k.eventAlign >= 0)
      grid->OnGetAlignment = [&](TObject*, int, int, TAlignment& a, TVAlignment&) { a = TAlignment(k.eventAlign); };
    grid->SetCells(2, 2, k.text);
    At(2, 2);
    grid->ShowInplaceEdit();
    Pump();
    ASSERT_TRUE(Editing());
    EXPECT_EQ(Editor()->VAlign(), k.right);
    EXPECT_EQ((GetWindowLong(Editor()->Handle(), GWL_STYLE) & ES_RIGHT) != 0, k.right);
    EXPECT_EQ(Editor()->Text(), k.text);
    EXPECT_EQ(GetFocus(), Editor()->Handle());
    // The text is drawn at the side the style says: its first dark column lies in the
    // right half of the editor exactly when it is right-aligned.
    Editor()->SetSelStart(0);
    Editor()->SetSelLength(0);
    Editor()->Repaint();
    TRect cr = Editor()->ClientRect();
    int firstInk = -1;
    for (int x = 0; x < cr.Right && firstInk < 0; ++x)
      for (int y = 0; y < cr.Bottom; ++y) {
        COLORREF px = WindowPixel(Editor()->Handle(), x, y);
        if (px != CLR_INVALID && GetRValue(px) < 128 && GetGValue(px) < 128 && GetBValue(px) < 128) {
          firstInk = x;
          break;
        }
      }
    ASSERT_GE(firstInk, 0);
    EXPECT_EQ(firstInk > cr.Right / 2, k.right) << firstInk << " of " << cr.Right;
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR"); dir && k.right && k.autoNum)
      SaveWindowPng(form->Handle(), std::string(dir) + "/editor_right_aligned.png");
  }
}

TEST_F(EditGridTest, NumericCellTakesMinusOnlyAtTheStart) {
  grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& e) { e = edNumeric; };
  grid->SetCells(1, 1, "12");
  int beeps = MessageBeepCount();
  robot.PressKey(VK_F2);
  ASSERT_TRUE(Editing());
  robot.PressKey(VK_HOME);
  robot.Type("-");
  EXPECT_EQ(Editor()->Text(), "-12");
  robot.Type("-a");
  EXPECT_EQ(Editor()->Text(), "-12");
  EXPECT_EQ(MessageBeepCount(), beeps + 2);
  robot.PressKey(VK_END);
  robot.Type("-");
  EXPECT_EQ(Editor()->Text(), "-12");
  EXPECT_EQ(MessageBeepCount(), beeps + 3);
}

TEST_F(EditGridTest, FloatCellFollowsTheLocaleSeparators) {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ' ';
  TFormatSettingsScope locale(fs);
  grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& e) { e = edFloat; };
  grid->SetCells(1, 1, "");
  int beeps = MessageBeepCount();
  robot.Type("1,5,");
  EXPECT_EQ(Editor()->Text(), "1,5");
  robot.Type(" x.");
  EXPECT_EQ(Editor()->Text(), "1,5.");
  EXPECT_EQ(MessageBeepCount(), beeps);
}

TEST_F(EditGridTest, TypingFiltersByEditorKind) {
  struct Case {
    TEditorType kind;
    const char* typed;
    const char* result;
  } cases[] = {{edPositiveNumeric, "1-2a", "12"}, {edUpperCase, "abC", "ABC"}, {edCapital, "ab", "AB"},
               {edLowerCase, "AbC", "abc"},      {edValidChars, "abcx", "ab"}, {edNormal, "a-1", "a-1"}};
  grid->ValidChars = "ab";
  for (const Case& k : cases) {
    grid->SetCells(1, 1, "");
    At(1, 1);
    grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& e) { e = k.kind; };
    robot.Type(k.typed);
    ASSERT_TRUE(Editing()) << k.kind;
    EXPECT_EQ(Editor()->Text(), k.result) << k.kind;
    grid->HideInplaceEdit();
  }
}

TEST_F(EditGridTest, LengthLimitAndPasteFollowTheTypingRules) {
  grid->MaxEditLength = 5;
  grid->SetCells(1, 1, "");
  robot.Type("123456");
  EXPECT_EQ(Editor()->Text(), "12345");
  robot.PressKey(VK_BACK);
  EXPECT_EQ(Editor()->Text(), "1234");
  grid->HideInplaceEdit();
  grid->MaxEditLength = 0;
  struct Case {
    TEditorType kind;
    const char* clip;
    const char* result;
  } cases[] = {{edNumeric, "12\r\n", "12"}, {edNumeric, "1a", ""},       {edPositiveNumeric, "-5", ""},
               {edCapital, "ab", "AB"},     {edFloat, "1.5", "1.5"},     {edValidChars, "xy", ""}};
  grid->ValidChars.clear();
  grid->AllowedCharSet.assign(256, false);
  for (const Case& k : cases) {
    grid->SetCells(1, 1, "");
    At(1, 1);
    grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& e) { e = k.kind; };
    robot.PressKey(VK_F2);
    ASSERT_TRUE(Editing());
    SetClipboardTextUtf8(k.clip);
    SendMessage(Editor()->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(Editor()->Text(), k.result) << k.clip;
    EXPECT_EQ(grid->Cells(1, 1), k.result) << k.clip;
    grid->HideInplaceEdit();
  }
}

TEST_F(EditGridTest, KindsWithoutAnEditorOnScreenStayOutOfEditMode) {
  for (TEditorType kind : {edComboEdit, edSpinEdit, edDateEdit, edEditBtn, edNone}) {
    grid->OnGetEditorType = [&](TObject*, int, int, TEditorType& e) { e = kind; };
    robot.Type("1");
    EXPECT_FALSE(Editing()) << kind;
    EXPECT_FALSE(grid->EditActive()) << kind;
    EXPECT_EQ(grid->Cells(1, 1), "1:1") << kind;
  }
}

TEST_F(EditGridTest, IncrementalSearchResetsAfterTwoSeconds) {
  grid->SetOptions(grid->Options() - goEditing);
  grid->Navigation()->AutoGotoWhenSorted = true;
  grid->Navigation()->AutoGotoIncremental = true;
  grid->SortSettings()->Column = 1;
  grid->SetRowCount(5);
  const char* names[] = {"", "Azot", "Argon", "Abc", "Bor"};
  for (int r = 1; r < 5; ++r) grid->SetCells(1, r, names[r]);
  At(1, 1);
  robot.Type("a");
  EXPECT_EQ(grid->Row(), 1);
  robot.Type("b");
  EXPECT_EQ(grid->SearchText(), "ab");
  EXPECT_EQ(grid->Row(), 3);
  scope.Backend().Advance(2100);
  EXPECT_EQ(grid->SearchText(), "");
  robot.Type("b");
  EXPECT_EQ(grid->Row(), 4);
  // Arrow keys forget the typed text at once.
  robot.PressKey(VK_UP);
  EXPECT_EQ(grid->SearchText(), "");
}

TEST_F(EditGridTest, KeypadDecimalTypesTheLocaleSeparator) {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  TFormatSettingsScope locale(fs);
  grid->ExcelStyleDecimalSeparator = true;
  grid->SetCells(1, 1, "");
  robot.Type("1");
  PostMessage(Editor()->Handle(), WM_CHAR, '.', 1 << 22);
  PostMessage(Editor()->Handle(), WM_CHAR, '.', 0);
  Pump();
  EXPECT_EQ(Editor()->Text(), "1,.");
}

// The mixture grid: the share column is the only one edited; Enter goes down it.
TEST_F(GridTest, MixtureGridTakesSharesDownItsColumn) {
  grid->SetColCount(3);
  grid->SetRowCount(4);
  grid->SetFixedRowsEx(1);
  grid->SetFixedColsEx(2);
  grid->FixedRowAlways = true;
  grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
  grid->Navigation()->AllowInsertRow = true;
  grid->Navigation()->AdvanceOnEnter = true;
  grid->Navigation()->SetAdvanceInsert(true);
  grid->Navigation()->AutoGotoWhenSorted = true;
  grid->Navigation()->AutoGotoIncremental = true;
  grid->Navigation()->AdvanceAuto = true;
  grid->OnKeyPress = [](TObject*, char32_t& k) {
    if (!(k == 8 || k == ',' || k == '.' || (k >= '0' && k <= '9'))) k = 0;
  };
  const char* gases[] = {"", "Метан", "Этан", "Азот"};
  for (int r = 1; r < 4; ++r) {
    grid->SetCells(0, r, gases[r]);
    grid->SetCells(2, r, "0");
  }
  grid->SetFocus();
  grid->SetCol(2);
  grid->SetRow(1);
  TRobot robot;
  robot.Type("9x5,5");
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(grid->Cells(2, 1), "95,5");
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 2);
  robot.Type("3");
  robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(grid->Cells(2, 2), "0");
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Cells(0, 2), "Этан");
}

TEST_F(EditGridTest, EnterOnAReadOnlyCellOnlyReportsTheKey) {
  grid->OnCanEditCell = [&](TObject*, int r, int c, bool& can) { can = !(r == 1 && c == 1); };
  int keyDowns = 0;
  grid->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
    if (k == VK_RETURN) ++keyDowns;
  };
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(keyDowns, 1);
  EXPECT_FALSE(Editing());
  EXPECT_EQ(grid->Row(), 1);
  // A focus guard left over from a pop-up is dropped when the next edit starts.
  grid->IgnoreGridFocus = true;
  At(2, 1);
  robot.Type("4");
  EXPECT_TRUE(Editing());
  EXPECT_FALSE(grid->IgnoreGridFocus);
}

TEST_F(EditGridTest, DownOnTheLastRowAppendsOnlyWhenAsked) {
  At(2, 3);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->RowCount(), 4);
  grid->Navigation()->AppendOnArrowDown = true;
  grid->SetCells(2, 4, "stale");
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(grid->Cells(2, 4), "");
}

TEST_F(EditGridTest, CellEntryRules) {
  // A refused change keeps the cell; a merged area is entered at its base cell.
  grid->OnCellChanging = [&](TObject*, int, int, int nr, int, bool& allow) { allow = nr != 3; };
  At(1, 3);
  EXPECT_EQ(grid->Row(), 1);
  grid->OnCellChanging = nullptr;
  // A row change is reported once, with the row reported before.
  std::vector<int> updates;
  grid->OnRowUpdate = [&](TObject*, int old, int r) { updates.push_back(old * 10 + r); };
  At(1, 3);
  grid->SetCol(2);
  EXPECT_EQ(updates, (std::vector<int>{13}));
  grid->SetOptions(grid->Options() - goRangeSelect);
  grid->MergeCells(2, 2, 2, 2);
  At(1, 2);
  grid->SetCol(3);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 2);
}

TEST_F(EditGridTest, EscapeRestoresTheCell) {
  robot.Type("zz");
  EXPECT_EQ(grid->Cells(1, 1), "zz");
  robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(Editing());
  EXPECT_FALSE(grid->EditActive());
  EXPECT_EQ(grid->Cells(1, 1), "1:1");
}

TEST_F(EditGridTest, InsertAddsARowBeforeOrAfterTheCurrentOne) {
  struct Case {
    TInsertPosition pos;
    int atRow, emptyRow, rowAfter;
  } cases[] = {{pInsertBefore, 2, 2, 2}, {pInsertAfter, 2, 3, 3}, {pInsertAfter, 3, 4, 3}};
  grid->Navigation()->AllowInsertRow = true;
  for (const Case& k : cases) {
    grid->SetRowCount(4);
    FillCoordinates();
    grid->Navigation()->InsertPosition = k.pos;
    At(1, k.atRow);
    robot.PressKey(VK_INSERT);
    EXPECT_EQ(grid->RowCount(), 5) << k.pos << k.atRow;
    EXPECT_EQ(grid->Cells(1, k.emptyRow), "") << k.pos << k.atRow;
    EXPECT_EQ(grid->Row(), k.rowAfter) << k.pos << k.atRow;
  }
  grid->OnCanInsertRow = [&](TObject*, int, bool& can) { can = false; };
  robot.PressKey(VK_INSERT);
  EXPECT_EQ(grid->RowCount(), 5);
}
