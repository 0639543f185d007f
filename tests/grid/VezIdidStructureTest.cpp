// The string grid's rows and columns: hiding and showing, inserting, removing and moving,
// clearing and merging ranges, with cells, cell objects, sizes and controls kept in step.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "GridTestSupport.h"
#include "platform/rtl/DateUtils.h"
#include "platform/vcl/ExtCtrls.h"

namespace {

class StructureTest : public GridTest {
protected:
  // A grid of Cols x Rows without fixed cells, cell (c, r) holding "c:r".
  void Make(int Cols, int Rows) {
    grid->SetFixedRowsEx(0);
    grid->SetFixedColsEx(0);
    grid->SetColCountEx(Cols);
    grid->SetRowCountEx(Rows);
    FillCoordinates();
  }
  // The texts of a column, top to bottom.
  std::vector<std::string> Column(int ACol) {
    std::vector<std::string> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->GetCellEx(ACol, r));
    return v;
  }
  std::vector<int> RecordIndexes() {
    std::vector<int> v;
    for (TCollectionItem* i : grid->HiddenRowStore()->ItemList()) v.push_back(static_cast<TGridItem*>(i)->Idx);
    return v;
  }
  using Texts = std::vector<std::string>;
};

// ---------------------------------------------------------------------------------------
// Hidden columns.
TEST_F(StructureTest, HidingAndShowingColumnsKeepsOrderAndWidth) {
  Make(5, 3);
  for (int c = 0; c < 5; ++c) grid->SetColWidths(c, 40 + 10 * c);
  grid->HideColumn(3);
  grid->HideColumn(1);
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(grid->TotalColCount(), 5);
  grid->UnHideColumn(3);
  ASSERT_EQ(grid->ColCount(), 4);
  std::vector<int> shown;
  for (int d = 0; d < grid->ColCount(); ++d) shown.push_back(grid->RemapCol(d));
  EXPECT_EQ(shown, (std::vector<int>{0, 2, 3, 4}));
  EXPECT_EQ(grid->ColWidths(2), 70);  // column 3's width came back with it
  EXPECT_EQ(grid->ColWidths(3), 80);
  EXPECT_EQ(grid->GetCellEx(3, 1), "3:1");
  grid->UnHideColumnsAll();
  EXPECT_EQ(grid->ColWidths(1), 50);
}

TEST_F(StructureTest, TheLastVisibleColumnStays) {
  Make(3, 2);
  grid->HideColumns(0, 2);
  EXPECT_EQ(grid->ColCount(), 1);
  EXPECT_EQ(grid->RemapCol(0), 2);
  grid->HideColumn(2);
  EXPECT_EQ(grid->ColCount(), 1);
}

TEST_F(StructureTest, ColumnsBeyond512HideAndMove) {
  Make(600, 2);
  grid->SetColWidths(550, 33);
  grid->HideColumn(550);
  EXPECT_TRUE(grid->IsHiddenColumn(550));
  EXPECT_EQ(grid->ColCount(), 599);
  EXPECT_EQ(grid->RemapCol(550), 551);
  grid->MoveColumn(560, 10);
  EXPECT_EQ(grid->GetCellEx(grid->RemapCol(10), 1), "561:1");
  grid->UnHideColumnsAll();
  EXPECT_EQ(grid->ColCount(), 600);
  // The hidden column moved one place right with the move in front of it, width and all.
  EXPECT_EQ(grid->GetCellEx(551, 1), "550:1");
  EXPECT_EQ(grid->ColWidths(551), 33);
}

// ---------------------------------------------------------------------------------------
// Hidden rows.
TEST_F(StructureTest, HideRowsMakesRecordsOnlyForRowsStillShown) {
  Make(2, 10);
  grid->SetRowHeights(5, 30);
  grid->HideRow(6);
  grid->HideRows(5, 7);
  EXPECT_EQ(RecordIndexes(), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(grid->RowCount(), 7);
  EXPECT_EQ(grid->HiddenRow(5)->Get(1), "1:5");
  EXPECT_EQ(grid->HiddenRow(7)->Get(0), "0:7");
  EXPECT_EQ(grid->GetCellEx(0, 5), "0:8");
  // A range whose first row is shown changes nothing.
  grid->UnHideRow(6);
  grid->UnHideRows(4, 7);
  EXPECT_EQ(grid->NumHiddenRows(), 2);
  grid->UnHideRows(5, 7);
  EXPECT_EQ(grid->NumHiddenRows(), 0);
  EXPECT_EQ(Column(1), (Texts{"1:0", "1:1", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7", "1:8", "1:9"}));
  EXPECT_EQ(grid->RowHeights(5), 30);
}

TEST_F(StructureTest, HiddenRowsKeepTheirCellObjects) {
  Make(3, 6);
  grid->AddCheckBox(1, 1, true, false);
  grid->AddCheckBox(2, 4, false, false);
  TCellGraphic* g1 = grid->GetCellGraphic(1, 1);
  TCellGraphic* g4 = grid->GetCellGraphic(2, 4);
  ASSERT_TRUE(g1 && g4);
  auto* list = new TIntList();
  std::unique_ptr<TIntList> owner(list);
  list->Add(1);
  list->Add(4);
  grid->HideRowList(list);
  EXPECT_EQ(grid->HideLevel, 1);
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:2", "0:3", "0:5"}));
  EXPECT_EQ(grid->GetCellGraphic(1, 1), nullptr);  // display row 1 is real row 2 now
  grid->UnHideRowList();
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:1", "0:2", "0:3", "0:4", "0:5"}));
  EXPECT_EQ(grid->GetCellGraphic(1, 1), g1);
  EXPECT_EQ(grid->GetCellGraphic(2, 4), g4);
  EXPECT_TRUE(grid->IsChecked(1, 1));
  EXPECT_EQ(grid->NumHiddenRows(), 0);
}

TEST_F(StructureTest, ListHidesLeaveRangeHidesAlone) {
  Make(2, 8);
  grid->HideRow(2);
  TIntList list;
  list.Add(1);
  list.Add(4);  // display 4 is real 5 while real 2 is hidden
  grid->HideRowList(&list);
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:3", "0:4", "0:6", "0:7"}));
  grid->UnHideRowList();
  grid->HideLevel = 0;
  // Row 2 stays hidden with its record; the list rows came back where they were.
  EXPECT_EQ(RecordIndexes(), (std::vector<int>{2}));
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:1", "0:3", "0:4", "0:5", "0:6", "0:7"}));
  grid->UnHideRowsAll();
  EXPECT_EQ(Column(1), (Texts{"1:0", "1:1", "1:2", "1:3", "1:4", "1:5", "1:6", "1:7"}));
}

TEST_F(StructureTest, HiddenColumnCellsTravelWithHiddenRows) {
  Make(4, 5);
  grid->HideColumn(2);
  grid->HideRows(1, 2);
  EXPECT_EQ(grid->HiddenRow(1)->Get(2), "2:1");
  grid->UnHideRowsAll();
  grid->UnHideColumnsAll();
  EXPECT_EQ(Column(2), (Texts{"2:0", "2:1", "2:2", "2:3", "2:4"}));
}

// ---------------------------------------------------------------------------------------
// Rows in and out.
TEST_F(StructureTest, RemovingTheCurrentMiddleRowKeepsRowWithoutEvents) {
  Make(3, 10);
  grid->SetRow(5);
  int events = 0;
  grid->OnSelectCell = [&](TObject*, int, int, bool&) { ++events; };
  grid->OnRowChanging = [&](TObject*, int, int, bool&) { ++events; };
  grid->RemoveRows(5, 1);
  EXPECT_EQ(grid->Row(), 5);
  EXPECT_EQ(grid->RowCount(), 9);
  EXPECT_EQ(grid->GetCellEx(0, 5), "0:6");
  EXPECT_EQ(events, 0);
  grid->OnSelectCell = nullptr;
  grid->OnRowChanging = nullptr;
  grid->SetRow(8);
  grid->RemoveRows(8, 1);
  EXPECT_EQ(grid->Row(), 7);
}

TEST_F(StructureTest, RemoveRowsCutsToTheGridAndIgnoresRowsOutside) {
  Make(2, 6);
  grid->RemoveRows(6, 1);
  grid->RemoveRows(-1, 1);
  EXPECT_EQ(grid->RowCount(), 6);
  grid->RemoveRows(4, 100);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:1", "0:2", "0:3"}));
  // Growing again shows empty rows, not the removed ones.
  grid->SetRowCountEx(6);
  EXPECT_EQ(grid->GetCellEx(0, 4), "");
}

TEST_F(StructureTest, RemovingRowsThatCutAMergedCellSplitsIt) {
  Make(3, 8);
  grid->MergeCells(1, 2, 1, 4);  // rows 2..5
  grid->RemoveRows(4, 3);        // rows 4..6
  EXPECT_FALSE(grid->IsMergedCell(1, 2));
  EXPECT_FALSE(grid->IsMergedCell(1, 3));
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->GetCellEx(1, 4), "1:7");
}

TEST_F(StructureTest, RemovingRowsRenumbersHiddenRowsBelow) {
  Make(2, 8);
  grid->HideRow(6);
  grid->RemoveRows(1, 2);
  EXPECT_EQ(RecordIndexes(), (std::vector<int>{4}));
  grid->UnHideRowsAll();
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:3", "0:4", "0:5", "0:6", "0:7"}));
}

TEST_F(StructureTest, ControlsFollowInsertedAndMovedRows) {
  Make(3, 8);
  auto* panel = new TPanel(form);
  grid->SetCellControls(1, 5, panel);
  grid->InsertRows(2, 1, true);
  EXPECT_EQ(grid->ControlList()->GetControl(0)->Row, 6);
  EXPECT_EQ(grid->CellControls(1, 6), panel);
  EXPECT_EQ(grid->GetCellEx(0, 2), "");
  EXPECT_EQ(grid->GetCellEx(0, 3), "0:2");
  grid->MoveRow(6, 1);
  EXPECT_EQ(grid->ControlList()->GetControl(0)->Row, 1);
  EXPECT_EQ(grid->GetCellEx(0, 1), "0:5");
  EXPECT_EQ(grid->GetCellEx(0, 2), "0:1");
  // Placing none detaches the control and leaves it alive.
  grid->SetCellControls(1, 1, nullptr);
  EXPECT_EQ(grid->CellControls(1, 1), nullptr);
  EXPECT_EQ(grid->ControlList()->Count(), 0);
  EXPECT_EQ(panel->Parent(), grid);
  // Without the flag the control keeps its row.
  grid->SetCellControls(1, 5, panel);
  grid->InsertRows(0, 1, false);
  EXPECT_EQ(grid->ControlList()->GetControl(0)->Row, 5);
}

TEST_F(StructureTest, RowDeletionReportsEachRowTravellingToTheEnd) {
  Make(3, 8);
  std::vector<std::pair<int, int>> moves;
  grid->OnRowMoved = [&](TObject*, int From, int To) { moves.emplace_back(From, To); };
  using Moves = std::vector<std::pair<int, int>>;
  // Through the framework's row deletion: each row goes to the end of the grid, which is
  // one row shorter each time.
  grid->RemoveRowsInternal(2, 2);
  EXPECT_EQ(moves, (Moves{{2, 7}, {2, 6}}));
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:1", "0:4", "0:5", "0:6", "0:7"}));
  moves.clear();
  grid->HideRows(1, 2);
  EXPECT_EQ(moves, (Moves{{1, 5}, {1, 4}}));
  moves.clear();
  grid->DoDeleteRow(0);
  EXPECT_EQ(moves, (Moves{{0, 3}}));
  // RemoveRows moves the rows below up itself, and showing rows is no deletion.
  moves.clear();
  grid->RemoveRows(0, 1);
  grid->UnHideRowsAll();
  EXPECT_TRUE(moves.empty());
  grid->MoveRow(0, 2);
  EXPECT_EQ(moves, (Moves{{0, 2}}));
}

TEST_F(StructureTest, HidingRowsTakesTheirDisplayRowSelectionAlong) {
  Make(2, 8);
  grid->MouseActions()->SetDisjunctRowSelect(true);
  grid->SetRowSelect(5, true);
  grid->HideRows(1, 2);
  // Row 5 shows at display row 3 now, and is still the selected one.
  EXPECT_TRUE(grid->GetRowSelect(3));
  EXPECT_FALSE(grid->GetRowSelect(5));
  EXPECT_EQ(grid->GetSelectedRow(0), 3);
}

TEST_F(StructureTest, ShowingNothingLeavesTheColumnCount) {
  Make(4, 6);
  grid->HideColumn(2);
  grid->HideRow(3);
  // The first row of the range is not hidden: nothing is shown, the counts stay.
  grid->UnHideRows(2, 4);
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(grid->RowCount(), 5);
  grid->UnHideRows(3, 3);
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(grid->RowCount(), 6);
  EXPECT_EQ(grid->GetCellEx(2, 3), "2:3");
}

TEST_F(StructureTest, CellControlsAreFoundByTheirRealRow) {
  Make(3, 8);
  grid->HideRow(1);
  auto* a = new TPanel(form);
  auto* b = new TPanel(form);
  grid->SetCellControls(2, 3, a);  // display row 3 is real row 4
  ASSERT_EQ(grid->ControlList()->Count(), 1);
  EXPECT_EQ(grid->ControlList()->GetControl(0)->Row, 4);
  grid->SetCellControls(2, 3, b);  // replaces the entry, not a second one
  ASSERT_EQ(grid->ControlList()->Count(), 1);
  EXPECT_EQ(grid->ControlList()->GetControl(0)->Control, b);
  grid->SetCellControls(2, 3, nullptr);
  EXPECT_EQ(grid->ControlList()->Count(), 0);
  EXPECT_EQ(grid->CellControls(2, 3), nullptr);
}

TEST_F(StructureTest, SizingHandlersVetoTheirColumnOrRow) {
  Make(4, 5);
  grid->SetFixedRowsEx(1);
  grid->SetFixedColsEx(1);
  grid->SetOptions(grid->Options() + goColSizing + goRowSizing);
  grid->HandleNeeded();
  TRobot robot;
  std::vector<int> askedCols, askedRows;
  grid->OnColumnSize = [&](TObject*, int ACol, bool& Allow) {
    askedCols.push_back(ACol);
    Allow = ACol != 2;
  };
  grid->OnRowSize = [&](TObject*, int ARow, bool& Allow) {
    askedRows.push_back(ARow);
    Allow = ARow != 3;
  };
  struct Case {
    bool Column;
    int Index;
    bool Sized;
  };
  for (Case k : {Case{true, 1, true}, Case{true, 2, false}, Case{false, 2, true}, Case{false, 3, false}}) {
    SCOPED_TRACE(std::to_string(k.Column) + " " + std::to_string(k.Index));
    askedCols.clear();
    askedRows.clear();
    int before = k.Column ? grid->ColWidths(k.Index) : grid->RowHeights(k.Index);
    // The pointer on the far edge of the column (row), inside the header column (row).
    TRect R = k.Column ? grid->CellRect(k.Index, 0) : grid->CellRect(0, k.Index);
    POINT from = k.Column ? POINT{R.Right, R.Top + 5} : POINT{R.Left + 5, R.Bottom};
    POINT to = k.Column ? POINT{from.x + 20, from.y} : POINT{from.x, from.y + 20};
    robot.Drag(grid->Handle(), from, to);
    int after = k.Column ? grid->ColWidths(k.Index) : grid->RowHeights(k.Index);
    EXPECT_EQ(after != before, k.Sized);
    if (k.Column) EXPECT_NE(std::find(askedCols.begin(), askedCols.end(), k.Index), askedCols.end());
    else EXPECT_NE(std::find(askedRows.begin(), askedRows.end(), k.Index), askedRows.end());
  }
}

TEST_F(StructureTest, RemoveDuplicatesFoldsCaseOnlyWithoutTheFlag) {
  for (bool caseSensitive : {false, true}) {
    Make(1, 4);
    grid->SetFixedRowsEx(1);
    grid->SetCellEx(0, 1, "a");
    grid->SetCellEx(0, 2, "A");
    grid->SetCellEx(0, 3, "b");
    grid->RemoveDuplicates(0, caseSensitive);
    EXPECT_EQ(Column(0), caseSensitive ? Texts({"0:0", "a", "A", "b"}) : Texts({"0:0", "a", "b"}));
  }
}

TEST_F(StructureTest, DeletingTheOnlyNormalRowEmptiesIt) {
  Make(2, 2);
  grid->SetFixedRowsEx(1);
  grid->DoDeleteRow(1);
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->GetCellEx(0, 1), "");
  grid->SetRowCountEx(3);
  grid->SetCellEx(0, 2, "x");
  grid->DoDeleteRow(1);
  EXPECT_EQ(Column(0), (Texts{"0:0", "x"}));
}

// ---------------------------------------------------------------------------------------
// Columns in and out.
TEST_F(StructureTest, InsertAndRemoveColumns) {
  Make(3, 2);
  grid->SetColWidths(1, 50);
  grid->SetColWidths(2, 70);
  grid->InsertCols(1, 2);
  ASSERT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->GetCellEx(1, 0), "");
  EXPECT_EQ(grid->ColWidths(1), grid->DefaultColWidth());
  EXPECT_EQ(grid->GetCellEx(3, 1), "1:1");
  EXPECT_EQ(grid->ColWidths(4), 70);
  grid->RemoveCols(1, 10);
  EXPECT_EQ(grid->ColCount(), 1);
  grid->AddColumn();
  EXPECT_EQ(grid->ColCount(), 2);
  EXPECT_EQ(grid->GetCellEx(1, 0), "");
}

TEST_F(StructureTest, MergeColsJoinsTextsAndDropsTheSecond) {
  Make(4, 3);
  grid->SetCellEx(1, 1, " a");
  grid->SetCellEx(2, 1, "b ");
  grid->MergeCols(1, 2, " - ");
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(grid->GetCellEx(1, 1), "a - b");
  EXPECT_EQ(grid->GetCellEx(2, 1), "3:1");
}

TEST_F(StructureTest, MoveColumnTakesOrderFlagsHiddenRowsAndControls) {
  Make(5, 4);
  grid->SetColumnOrder();
  auto* p1 = new TPanel(form);
  auto* p3 = new TPanel(form);
  grid->SetCellControls(1, 1, p1);
  grid->SetCellControls(3, 2, p3);
  grid->HideRow(3);
  grid->MoveColumn(1, 3);
  EXPECT_EQ(grid->ColumnOrder()->Items(), (std::vector<int>{0, 2, 3, 1, 4}));
  EXPECT_EQ(grid->GetCellEx(3, 0), "1:0");
  EXPECT_EQ(grid->HiddenRow(3)->Get(3), "1:3");
  EXPECT_EQ(grid->ControlList()->GetControl(grid->ControlList()->ControlIndex(3, 1))->Control, p1);
  EXPECT_EQ(grid->ControlList()->GetControl(grid->ControlList()->ControlIndex(2, 2))->Control, p3);
}

// ---------------------------------------------------------------------------------------
// Clearing and merging.
TEST_F(StructureTest, ClearRowsFreesHiddenColumnsObjectsToo) {
  Make(4, 3);
  grid->SetColors(3, 1, clRed);
  grid->HideColumn(3);
  grid->ClearRows(1, 1);
  EXPECT_FALSE(grid->HasCellProperties(3, 1));
  EXPECT_EQ(grid->GetCellEx(3, 1), "");
  EXPECT_EQ(grid->GetCellEx(3, 2), "3:2");
}

TEST_F(StructureTest, DetachedClearsLeaveObjectsAlive) {
  Make(2, 2);
  TCellProperties* p = grid->GetCellProperties(1, 1);
  grid->DetachCellObjects = true;
  grid->ClearRect(1, 1, 1, 1);
  grid->DetachCellObjects = false;
  EXPECT_FALSE(grid->HasCellProperties(1, 1));
  delete p;  // still alive: ours to free
}

TEST_F(StructureTest, MergeColumnCellsMergesRunsOfEqualTexts) {
  Make(2, 6);
  grid->SetFixedRowsEx(1);
  for (int r = 1; r <= 5; ++r) grid->SetCellEx(1, r, r <= 2 ? "x" : "y");
  // Rows without vertical merges are not span-identical: only IgnoreSpans joins them.
  grid->MergeColumnCells(1, false);
  EXPECT_FALSE(grid->IsMergedCell(1, 1));
  grid->MergeColumnCells(1, true);
  EXPECT_EQ(grid->CellSpan(1, 1).Y, 1);
  EXPECT_EQ(grid->CellSpan(1, 3).Y, 2);
  grid->SplitColumnCells(1);
  EXPECT_FALSE(grid->IsMergedCell(1, 3));
}

TEST_F(StructureTest, IsCellFindsTheFirstMatchRowByRow) {
  Make(4, 4);
  grid->SetCellEx(3, 1, "q");
  grid->SetCellEx(0, 2, "q");
  int c = -1, r = -1;
  EXPECT_TRUE(grid->IsCell("q", c, r));
  EXPECT_EQ(c, 3);
  EXPECT_EQ(r, 1);
  EXPECT_FALSE(grid->IsCell("zz", c, r));
}

TEST_F(StructureTest, RowColorNoneTakesTheMergeAlong) {
  Make(4, 3);
  grid->MergeCells(1, 1, 2, 1);
  grid->RowColor(1, clYellow);
  EXPECT_EQ(grid->Colors(2, 1), clYellow);
  grid->RowColor(1, clNone);
  EXPECT_FALSE(grid->IsMergedCell(1, 1));
  EXPECT_FALSE(grid->HasCellProperties(2, 1));
}

// ---------------------------------------------------------------------------------------
// Selection queries.
TEST_F(StructureTest, SelectedCellsCountMergesTheRectangle) {
  Make(6, 6);
  grid->SetSelection(TGridRect{1, 1, 2, 3});
  EXPECT_EQ(grid->GetSelectedCellsCount(), 6);
  EXPECT_EQ(grid->GetSelectedCell(0), (TGridCoord{1, 1}));
  EXPECT_THROW(grid->GetSelectedCell(6), EVezIdidError);
  // Far cells are kept whole, not in 16 bits.
  grid->MouseActions()->SetDisjunctCellSelect(true);
  grid->SetSelectedCells(70000, 3, true);
  EXPECT_TRUE(grid->GetSelectedCells(70000, 3));
  EXPECT_FALSE(grid->GetSelectedCells(70000 - 65536, 4));
}

TEST_F(StructureTest, DisjunctRowsInPickingOrder) {
  Make(2, 8);
  grid->MouseActions()->SetDisjunctRowSelect(true);
  grid->SetRowSelect(5, true);
  grid->SetRowSelect(2, true);
  grid->SetRowSelect(5, true);
  EXPECT_EQ(grid->GetSelectedRowCount(), 2);
  EXPECT_EQ(grid->GetSelectedRow(1), 2);
  EXPECT_EQ(grid->GetSelectedRow(2), -1);
  grid->RemoveSelectedRows();
  EXPECT_EQ(grid->RowCount(), 6);
  EXPECT_EQ(grid->GetSelectedRowCount(), 0);
  EXPECT_EQ(Column(0), (Texts{"0:0", "0:1", "0:3", "0:4", "0:6", "0:7"}));
}

TEST_F(StructureTest, SelectedColumnCountWithAMergedTopLeft) {
  Make(8, 4);
  grid->MergeCells(2, 1, 5, 1);
  grid->SetSelection(TGridRect{2, 1, 4, 1});
  EXPECT_EQ(grid->GetSelectedColCount(), 5);
  grid->SetRowModified(10, true);
  EXPECT_EQ(grid->ModifiedRowCount(), 1);
  EXPECT_FALSE(grid->GetRowModified(9));
}

// ---------------------------------------------------------------------------------------
// Values and view.
TEST_F(StructureTest, TypedValues) {
  Make(2, 2);
  struct Case {
    const char* Text;
    int Value;
  };
  for (Case c : {Case{" 42 ", 42}, Case{"", 0}, Case{"-", 0}, Case{"-7", -7}}) {
    grid->SetCellEx(1, 1, c.Text);
    EXPECT_EQ(grid->GetInts(1, 1), c.Value) << c.Text;
  }
  grid->SetCellEx(1, 1, "4x");
  try {
    grid->GetInts(1, 1);
    ADD_FAILURE();
  } catch (const EVezIdidError& e) {
    EXPECT_EQ(e.Message(), "Cell does not contain integer value");
  }
  EXPECT_EQ(grid->GetCellEx(1, 1), "4x");
  grid->SetFloats(1, 1, 3.14159);
  EXPECT_EQ(grid->GetCellEx(1, 1), "3.14");
  EXPECT_DOUBLE_EQ(grid->GetFloats(1, 1), 3.14);
  for (const char* bad : {"%d", "%.2f %.2f", "%s", "no number"}) {
    grid->FloatFormat = bad;
    EXPECT_THROW(grid->SetFloats(1, 1, 1.5), EConvertError) << bad;
  }
  EXPECT_EQ(grid->GetCellEx(1, 1), "3.14");
  grid->SetCellEx(1, 1, "1.2.3");
  EXPECT_THROW(grid->GetFloats(1, 1), EVezIdidError);
  // The print tables answer every column they hold (513 before any wider print).
  EXPECT_EQ(grid->GetPrintColWidth(512), 0);
  EXPECT_THROW(grid->GetPrintColWidth(513), EVezIdidError);
  EXPECT_THROW(grid->GetPrintColOffset(-1), EVezIdidError);
  EXPECT_EQ(grid->GetVersion(), "5.0.2.0");
}

TEST_F(StructureTest, DatesAndZoom) {
  Make(3, 3);
  grid->SetDates(1, 1, EncodeDate(2024, 3, 5));
  EXPECT_EQ(grid->Dates(1, 1), EncodeDate(2024, 3, 5));
  grid->ShowZeroDates = false;
  grid->SetDates(1, 1, 0);
  EXPECT_EQ(grid->GetCellEx(1, 1), "");
  grid->SetCellEx(1, 1, "abc");
  EXPECT_THROW(grid->Dates(1, 1), EConvertError);
  grid->SetColWidths(0, 0);
  int w = grid->ColWidths(1);
  grid->Zoom(6);
  grid->Zoom(6);
  EXPECT_EQ(grid->ZoomLevel, 6);
  EXPECT_EQ(grid->ColWidths(1), w + 6);
  EXPECT_EQ(grid->ColWidths(0), 0);
}

TEST_F(StructureTest, AttributesReadWithoutCreating) {
  Make(3, 3);
  EXPECT_EQ(grid->Colors(1, 1), clNone);
  EXPECT_FALSE(grid->HasCellProperties(1, 1));
  grid->ReadOnly(1, 1);
  EXPECT_TRUE(grid->HasCellProperties(1, 1));
  grid->SetFontColors(2, 2, clBlue);
  grid->SetAlignments(2, 2, taRightJustify);
  EXPECT_EQ(grid->FontColors(2, 2), clBlue);
  EXPECT_EQ(grid->Alignments(2, 2), taRightJustify);
  grid->SwapCells(TGridCoord{2, 2}, TGridCoord{0, 0});
  EXPECT_EQ(grid->FontColors(0, 0), clBlue);
  EXPECT_EQ(grid->GetCellEx(0, 0), "2:2");
}

// ---------------------------------------------------------------------------------------
// The look: a hidden column, a merged run and coloured rows, before and after a move.
TEST_F(StructureTest, PaintedAfterHidingMergingColouringAndMoving) {
  grid->SetBounds(0, 0, 420, 220);
  grid->SetColCountEx(5);
  grid->SetRowCountEx(7);
  grid->SetFixedRowsEx(1);
  grid->SetFixedColsEx(1);
  for (int c = 0; c < 5; ++c) grid->SetCellEx(c, 0, "Кол " + std::to_string(c));
  for (int r = 1; r < 7; ++r) {
    grid->SetCellEx(0, r, std::to_string(r));
    grid->SetCellEx(1, r, r <= 3 ? "газ" : "вода");
    for (int c = 2; c < 5; ++c) grid->SetCellEx(c, r, std::to_string(c * 10 + r));
  }
  grid->RowColor(2, 0x80FFFF);  // yellow
  grid->RowColor(5, 0xFFC0C0);  // light blue
  grid->MergeColumnCells(1, true);
  grid->HideColumn(3);
  const char* dir = std::getenv("LORM_GRID_PNG_DIR");
  auto shot = [&](const char* name) {
    form->Repaint();
    grid->Repaint();
    if (dir) SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / name).string());
  };
  shot("structure_before_move.png");
  // Display column 3 is real column 4; the yellow row is yellow there.
  TRect cell = grid->CellRect(3, 2);
  EXPECT_EQ(WindowPixel(grid->Handle(), cell.Left + 3, cell.Top + 3), COLORREF(0x80FFFF));
  EXPECT_EQ(grid->ColCount(), 4);
  grid->MoveColumn(3, 1);
  shot("structure_after_move.png");
  EXPECT_EQ(grid->GetCellEx(grid->RemapCol(1), 4), "44");
  cell = grid->CellRect(1, 5);
  EXPECT_EQ(WindowPixel(grid->Handle(), cell.Left + 3, cell.Top + 3), COLORREF(0xFFC0C0));
  // The merged run moved one place right with the hidden column, which stays hidden.
  EXPECT_TRUE(grid->IsMergedCell(2, 1));
  EXPECT_EQ(grid->CellSpan(2, 1).Y, 2);
  grid->UnHideColumnsAll();
  EXPECT_EQ(grid->GetCellEx(4, 3), "33");
}

TEST(GridItems, ItemsAreCopiedAndFiltersKeepWideColumns) {
  TOwnedCollection store(nullptr, ItemClassOf<TGridItem>());
  auto* item = static_cast<TGridItem*>(store.Add());
  EXPECT_EQ(item->Items()->Count(), 0);
  TStringList lines;
  lines.Add("a");
  lines.Add("b");
  lines.Add("c");
  item->SetItems(&lines);
  lines.Put(0, "z");
  EXPECT_EQ(item->Items()->Count(), 3);
  EXPECT_EQ(item->Items()->Get(0), "a");

  TFilter filter(nullptr);
  filter.Add();
  filter.Add()->Condition = "x";
  TFilterData* inserted = filter.Insert(0);
  EXPECT_EQ(inserted->Index(), 2);
  filter.SetItem(0, filter.GetItem(1));
  EXPECT_EQ(filter.GetItem(0)->Condition, "x");
  TFilterData* far = filter.GetColFilter(70000);
  EXPECT_EQ(filter.GetColFilter(70000), far);
  EXPECT_EQ(filter.Count(), 4);
}

}  // namespace
