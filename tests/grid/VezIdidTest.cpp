// The string grid: construction defaults, counts that keep a header row, the accessors
// across hidden rows, the index maps, the current-row setter and its events, Assign and
// the form's resize subscription.
#include <vector>

#include "GridTestSupport.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinUser.h"

namespace {

TEST_F(GridTest, NewGridHasItsDefaults) {
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->ColCount(), 5);
  EXPECT_EQ(grid->GetFixedRowsEx(), 1);
  EXPECT_EQ(grid->GetFixedColsEx(), 1);
  EXPECT_EQ(grid->DefaultRowHeight(), 22);
  EXPECT_EQ(grid->FixedRowHeight(), 22);
  EXPECT_EQ(grid->Width(), 400);
  EXPECT_EQ(grid->Height(), 250);
  EXPECT_EQ(grid->Look(), glXP);
  EXPECT_EQ(grid->ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(grid->FloatFormat, "%.2f");
  EXPECT_EQ(grid->GetCheckTrue(1, 1), "Y");
  EXPECT_EQ(grid->GetCheckFalse(1, 1), "N");
  EXPECT_EQ(grid->FilterDropDownClear, "(All)");
  EXPECT_EQ(grid->SelectionColor(), TColor(0xEACAB6));
  EXPECT_EQ(grid->ActiveRowColor(), clInfoBk);
  EXPECT_EQ(grid->GridLineColor(), TColor(0xC0C0C0));
  EXPECT_EQ(grid->GridFixedLineColor(), TColor(0x808080));
  EXPECT_FALSE(grid->DefaultDrawing());
  EXPECT_EQ(grid->TCustomGrid::GridLineWidth(), 0);
  EXPECT_EQ(grid->GetVersionString(), "5.0.2.0");
  EXPECT_EQ(grid->GetVersionNr(), 0x05000200u);
  EXPECT_EQ(grid->FixedFont()->GetName(), "Tahoma");
  EXPECT_TRUE(grid->FixedFont()->GetStyle().Contains(fsBold));
  EXPECT_EQ(grid->PrintSettings()->PageNumSep, "/");
  EXPECT_EQ(grid->PrintSettings()->DateFormat, "dd/mm/yyyy");
  EXPECT_EQ(grid->SortSettings()->Column, -1);
  for (int c = 0; c < grid->ColCount(); ++c) EXPECT_FALSE(grid->IsHiddenColumn(c));
  // The editor controls exist, hidden, with the grid as their parent.
  ASSERT_NE(grid->Combo(), nullptr);
  EXPECT_FALSE(grid->Combo()->Visible());
  EXPECT_FALSE(grid->Combo()->Enabled());
  EXPECT_EQ(grid->Combo()->Parent(), grid);
  EXPECT_EQ(grid->ColorDropDown()->Style(), tsWindowsXP);
  EXPECT_GT(grid->ColorDropDown()->ColorCount(), 0);
  EXPECT_EQ(grid->UniEditBtn()->ButtonCaption(), "...");
  EXPECT_EQ(grid->FilterDropList()->Name(), "droplist");
  for (int d = 0; d < 4; ++d) EXPECT_EQ(grid->ArrowWindow(d)->Direction(), d);
}

TEST_F(GridTest, VersionIgnoresWritesAndIsNotStored) {
  SetStrProp(grid, "Version", "1.0");
  EXPECT_EQ(GetStrProp(grid, "Version"), "5.0.2.0");
}

TEST_F(GridTest, GridTimerRunsWhileTheWindowExists) {
  grid->HandleNeeded();
  EXPECT_TRUE(grid->TimerRunning());
  grid->SearchFooter()->SetVisible(true);
  EXPECT_EQ(grid->SearchPanel()->Height(), 32);
  grid->SearchFooter()->SetVisible(false);
  EXPECT_EQ(grid->SearchPanel()->Height(), 0);
}

// ---- counts -------------------------------------------------------------------------

TEST_F(GridTest, EmptyingToTheHeaderRowRaisesNoSelectionEvent) {
  // The application's refresh: header row only, then one row at a time.
  grid->FixedRowAlways = true;
  grid->SetColCountEx(3);
  grid->SetFixedColsEx(2);
  grid->SetRowCountEx(4);
  grid->SetRowEx(3);
  int selects = 0;
  grid->OnSelectCell = [&](TObject*, int, int, bool&) { ++selects; };
  grid->SetRowCountEx(1);
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(grid->GetFixedRowsEx(), 1);
  for (int i = 1; i <= 3; ++i) {
    grid->SetRowCountEx(grid->GetRowCountEx() + 1);
    grid->SetCellEx(0, i, "gas " + std::to_string(i));
  }
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(grid->TCustomGrid::FixedRows(), 1);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->GetCellEx(0, 3), "gas 3");
}

TEST_F(GridTest, FixedRowsAskedBeyondTheRowsAreAppliedWhenTheGridGrows) {
  grid->FixedRowAlways = true;
  grid->SetRowCountEx(3);
  grid->SetFixedRowsEx(5);
  EXPECT_EQ(grid->TCustomGrid::FixedRows(), 2);
  EXPECT_EQ(grid->RememberedFixedRows(), 5);
  grid->SetRowCountEx(7);
  EXPECT_EQ(grid->TCustomGrid::FixedRows(), 5);
}

TEST_F(GridTest, GrowingTheGridNeverBringsBackRemovedCells) {
  FillCoordinates();
  grid->GetCellProperties(3, 8)->SetBrushColor(clRed);
  grid->SetObjectEx(2, 7, grid);
  grid->SetRowCountEx(3);
  grid->SetColCountEx(2);
  grid->SetRowCountEx(10);
  grid->SetColCountEx(5);
  EXPECT_EQ(grid->GetCellEx(3, 8), "");
  EXPECT_EQ(grid->GetCellEx(4, 1), "");
  EXPECT_FALSE(grid->HasCellProperties(3, 8));
  EXPECT_EQ(grid->GetObjectEx(2, 7), nullptr);
  EXPECT_EQ(grid->GetCellEx(1, 2), "1:2");
}

// ---- accessors across hidden rows -----------------------------------------------------

class HiddenRowsTest : public GridTest {
protected:
  // Hides real row Real, keeping Texts as its cells (the records of the hiding operations).
  TGridItem* Hide(int Real, std::vector<std::string> Texts) {
    auto* item = static_cast<TGridItem*>(grid->HiddenRowStore()->Add());
    item->Idx = Real;
    for (auto& t : Texts) item->Items()->Add(t);
    return item;
  }
};

TEST_F(HiddenRowsTest, MapsCountHiddenRows) {
  for (int r : {0, 2, 5}) EXPECT_EQ(grid->RemapRow(r), r);
  EXPECT_EQ(grid->RemapRowInv(4), 4);
  Hide(3, {});
  Hide(4, {});
  EXPECT_EQ(grid->RemapRow(5), 3);
  EXPECT_EQ(grid->RemapRow(4), 3);
  EXPECT_EQ(grid->RemapRowInv(3), 5);
  EXPECT_EQ(grid->RemapRowInv(2), 2);
  for (int d = 0; d < grid->RowCount(); ++d) EXPECT_EQ(grid->RemapRow(grid->RemapRowInv(d)), d);
  std::unique_ptr<TIntList> cache;
  EXPECT_TRUE(grid->IsHiddenRow(4, cache));
  EXPECT_FALSE(grid->IsHiddenRow(5, cache));
  EXPECT_EQ(grid->TotalRowCount(), 12);
}

TEST_F(HiddenRowsTest, HiddenRowTextsAreReadAndWrittenInTheirRecord) {
  TGridItem* item = Hide(3, {"a", "b"});
  grid->SetCellEx(1, 3, "shown");  // display row 3 is real row 4
  EXPECT_EQ(grid->GetCellsEx(1, 4), "shown");
  EXPECT_EQ(grid->GetCellsEx(1, 3), "b");
  EXPECT_EQ(grid->GetCellsEx(4, 3), "");  // past the kept texts
  grid->SetCellsEx(4, 3, "x");
  ASSERT_EQ(item->Items()->Count(), 5);
  EXPECT_EQ(item->Items()->Get(2), "");
  EXPECT_EQ(item->Items()->Get(3), "");
  EXPECT_EQ(item->Items()->Get(4), "x");
  grid->SetObjectsEx(0, 3, grid);
  EXPECT_NE(dynamic_cast<TCellProperties*>(item->Items()->Objects(0)), nullptr);
  EXPECT_EQ(grid->GetObjectsEx(0, 3), grid);
  EXPECT_EQ(grid->HiddenRow(3), item->Items());
  EXPECT_EQ(grid->HiddenRow(4), nullptr);
}

// ---- column maps ------------------------------------------------------------------------

TEST_F(GridTest, HidingAColumnShiftsTheColumnMaps) {
  // Real column 2 of 5 hidden: four columns are shown.
  grid->SetColCountEx(4);
  grid->SetVisibleCol(2, false);
  grid->SetHiddenColCount(1);
  EXPECT_EQ(grid->TotalColCount(), 5);
  EXPECT_EQ(grid->RemapCol(2), 3);
  EXPECT_EQ(grid->RemapCol(1), 1);
  EXPECT_EQ(grid->RemapColInv(3), 2);
  EXPECT_EQ(grid->RemapColInv(2), 2);
  EXPECT_TRUE(grid->IsHiddenColumn(2));
  // A display index past the visible columns names no column.
  EXPECT_EQ(grid->RemapCol(4), -1);
  EXPECT_EQ(grid->RemapCol(-1), -1);
  for (int d = 0; d < 4; ++d) EXPECT_EQ(grid->RemapColInv(grid->RemapCol(d)), d);
}

TEST_F(GridTest, ColumnFlagsFollowTheColumnCount) {
  grid->SetColCountEx(700);
  grid->SetVisibleCol(600, false);
  grid->SetHiddenColCount(1);
  grid->SetColCountEx(699);
  EXPECT_TRUE(grid->IsHiddenColumn(600));
  EXPECT_EQ(grid->RemapCol(600), 601);
  EXPECT_EQ(grid->RemapColInv(650), 649);
  grid->SetHiddenColumnWidth(600, 70000);
  EXPECT_EQ(grid->GetAllColWidths(600), 70000);
}

// ---- the current row --------------------------------------------------------------------

TEST_F(GridTest, SetRowExRaisesTheSelectionEventsInOrder) {
  std::vector<std::string> log;
  grid->OnRowChanging = [&](TObject*, int o, int n, bool&) { log.push_back("RowChanging " + std::to_string(o) + ">" + std::to_string(n)); };
  grid->OnCellChanging = [&](TObject*, int, int, int, int, bool&) { log.push_back("CellChanging"); };
  grid->OnColChanging = [&](TObject*, int, int, bool&) { log.push_back("ColChanging"); };
  grid->OnSelectCell = [&](TObject*, int c, int r, bool&) { log.push_back("SelectCell " + std::to_string(c) + "," + std::to_string(r)); };
  grid->OnRowUpdate = [&](TObject*, int o, int n) { log.push_back("RowUpdate " + std::to_string(o) + ">" + std::to_string(n)); };
  grid->SetRowEx(4);
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(log, (std::vector<std::string>{"RowChanging 1>4", "CellChanging", "SelectCell 1,4", "RowUpdate -1>4"}));
  log.clear();
  grid->SetRowEx(4);  // the current row, already reported
  EXPECT_TRUE(log.empty());
}

TEST_F(GridTest, AVetoedRowChangeLeavesTheRow) {
  grid->SetRowEx(2);
  grid->OnRowChanging = [](TObject*, int, int, bool& allow) { allow = false; };
  int selects = 0, updates = 0;
  grid->OnSelectCell = [&](TObject*, int, int, bool&) { ++selects; };
  grid->OnRowUpdate = [&](TObject*, int, int) { ++updates; };
  grid->SetRowEx(5);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(selects, 0);
  EXPECT_EQ(updates, 0);
  // A row change the check did not report is reported by the setter.
  grid->LastUpdatedRow = 7;
  grid->SetRowEx(2);
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(grid->LastUpdatedRow, 2);
}

TEST_F(GridTest, SetRowExOutsideTheGridRaisesBeforeAnyEvent) {
  int events = 0;
  grid->OnRowChanging = [&](TObject*, int, int, bool&) { ++events; };
  EXPECT_THROW(grid->SetRowEx(10), EInvalidGridOperation);
  EXPECT_THROW(grid->SetRowEx(-1), EInvalidGridOperation);
  EXPECT_EQ(events, 0);
}

TEST_F(GridTest, FixedCellsAreRefused) {
  grid->SetRowEx(3);
  int asked = 0;
  grid->OnSelectCell = [&](TObject*, int, int, bool&) { ++asked; };
  grid->SetCol(0);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(asked, 0);
}

TEST_F(GridTest, UnHideSelectionOutsideTheGridSelectsTheFirstNormalCell) {
  grid->SetSelection(TGridRect{2, 7, 3, 8});
  grid->HideSelection();
  EXPECT_TRUE(grid->SelectionHidden());
  grid->SetRowCountEx(5);
  grid->UnHideSelection();
  EXPECT_FALSE(grid->SelectionHidden());
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(GridTest, UsedCellsAndExportRanges) {
  EXPECT_EQ(grid->GetUsedCells(), (TRect{0, 0, 0, 0}));
  grid->SetCellEx(3, 2, "x");
  grid->SetCellEx(1, 6, "y");
  EXPECT_EQ(grid->GetUsedCells(), (TRect{1, 2, 3, 6}));
  grid->SetFixedFooters(1);
  grid->SetFixedRightCols(1);
  struct Case {
    bool fixedCells;
    int startCol, startRow, endCol, endRow, cols, rows;
  } cases[] = {{true, 0, 0, 4, 9, 5, 10}, {false, 1, 1, 3, 8, 3, 8}};
  for (const Case& c : cases) {
    grid->ExportFixedCells = c.fixedCells;
    EXPECT_EQ(grid->GetSaveStartCol(), c.startCol);
    EXPECT_EQ(grid->GetSaveStartRow(), c.startRow);
    EXPECT_EQ(grid->GetSaveEndCol(), c.endCol);
    EXPECT_EQ(grid->GetSaveEndRow(), c.endRow);
    EXPECT_EQ(grid->GetSaveColCount(), c.cols);
    EXPECT_EQ(grid->GetSaveRowCount(), c.rows);
  }
}

// ---- cell accessors ----------------------------------------------------------------------

TEST_F(GridTest, HeadersAndColumnOrder) {
  grid->SetCellEx(0, 0, "X");
  grid->SetCellEx(1, 0, "Y");
  grid->SetCellEx(2, 0, "Z");
  TStringList headers;
  headers.Add("A");
  headers.Add("Line1\\nLine2");
  grid->SetColumnHeaders(&headers);
  EXPECT_EQ(grid->GetCellEx(0, 0), "A");
  EXPECT_EQ(grid->GetCellEx(1, 0), "Line1\rLine2");
  EXPECT_EQ(grid->GetCellEx(2, 0), "");
  EXPECT_EQ(grid->ColumnByHeader("A"), 0);
  EXPECT_EQ(grid->ColumnByHeader("a"), -1);
  EXPECT_EQ(grid->ColumnPosition(3), 3);  // no order recorded yet
  grid->SetColumnOrder();
  EXPECT_EQ(grid->ColumnOrder()->GetStrValue(), "0,1,2,3,4");
  EXPECT_EQ(grid->ColumnAtPosition(2), 2);
}

TEST_F(GridTest, DisplayTextHooksAndStrippedText) {
  grid->SetCellEx(1, 1, "<B>bold</B> &amp; plain");
  EXPECT_EQ(grid->GetStrippedCell(1, 1), "bold & plain");
  grid->OnGetDisplText = [](TObject*, int c, int r, std::string& v) { v = "[" + v + "]"; };
  EXPECT_EQ(grid->GetCellEx(2, 2), "[]");
  EXPECT_EQ(grid->GetGridCell(2, 2), "");
  // Rows at and beyond the limit the row count sets keep their stored text.
  grid->SetGridCell(1, 12, "beyond");
  EXPECT_EQ(grid->GetCellEx(1, 12), "beyond");
  grid->OnGetDisplText = nullptr;
  grid->SetWideCells(2, 2, u"Ω");
  EXPECT_EQ(grid->GetWideCells(2, 2), u"Ω");
}

TEST_F(GridTest, EditorTextIsTheBaseCellsTextWithoutMarkup) {
  grid->SetCellEx(1, 1, "<i>x</i>");
  grid->MergeCells(1, 1, 2, 2);
  EXPECT_EQ(grid->GetEditText(2, 2), "x");
  EXPECT_TRUE(grid->EditTextLoading());
  grid->EditWithTags = true;
  EXPECT_EQ(grid->GetEditText(2, 2), "<i>x</i>");
  grid->SetEditText(2, 2, "typed");
  EXPECT_EQ(grid->GetGridCell(1, 1), "typed");
}

TEST_F(GridTest, SaveAndLoadCellHooks) {
  grid->SetCellEx(1, 1, "<b>a</b>");
  std::string v;
  grid->SaveCell(1, 1, v);
  EXPECT_EQ(v, "<b>a</b>");
  grid->SaveWithHTML = false;
  grid->SaveCell(1, 1, v);
  EXPECT_EQ(v, "a");
  grid->OnLoadCell = [](TObject*, int, int, std::string& value) { value += "!"; };
  grid->LoadCell(2, 2, "in");
  EXPECT_EQ(grid->GetGridCell(2, 2), "in!");
  grid->CalcCell(2, 2, v);
  EXPECT_EQ(v, "in!");
}

// ---- life cycle ---------------------------------------------------------------------------

TEST_F(GridTest, AssignCopiesStructureAndCellsFromAnotherGridOnly) {
  auto* source = new TDavEvadurAvuz(form);
  source->SetColCountEx(7);
  for (int c = 0; c < 7; ++c) source->SetColWidths(c, 30 + c);
  source->SetCellEx(6, 3, "far");
  source->Navigation()->AllowInsertRow = true;
  grid->Assign(source);
  EXPECT_EQ(grid->ColCount(), 7);
  for (int c = 0; c < 7; ++c) EXPECT_EQ(grid->ColWidths(c), 30 + c);
  EXPECT_EQ(grid->GetCellEx(6, 3), "far");
  EXPECT_TRUE(grid->Navigation()->AllowInsertRow);
  grid->Assign(form);
  EXPECT_EQ(grid->ColCount(), 7);
}

TEST_F(GridTest, IntegralHeightKeepsWholeRowsInTheClientArea) {
  grid->SetIntegralHeight(true);
  grid->SetBounds(0, 0, 400, 100);
  EXPECT_EQ(grid->Height(), 92);  // 4 rows of 22 inside the 2-pixel frame
  grid->SetBounds(0, 0, 400, 113);
  EXPECT_EQ(grid->Height(), 92);  // never taller than asked
  grid->SetBounds(0, 0, 400, 114);
  EXPECT_EQ(grid->Height(), 114);
}

TEST_F(GridTest, FormKeepsItsResizeHandlerWhateverOrderGridsAreFreed) {
  std::vector<std::string> log;
  form->OnResize = [&](TObject*) { log.push_back("form"); };
  grid->SizeWithForm = true;
  auto* second = new TDavEvadurAvuz(form);
  second->SetParent(form);
  second->OnResize = [&](TObject*) { log.push_back("second"); };
  int before = grid->Height();
  form->SetBounds(50, 50, 600, 420);
  EXPECT_EQ(grid->Height(), before + 20);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "form");  // after the grids followed the form
  delete grid;
  grid = nullptr;
  log.clear();
  form->SetBounds(50, 50, 620, 420);
  EXPECT_EQ(log, std::vector<std::string>{"form"});
  delete second;
  log.clear();
  form->SetBounds(50, 50, 640, 420);
  EXPECT_EQ(log, std::vector<std::string>{"form"});
  // The form's handler's exceptions are not swallowed: they reach the application.
  std::string shown;
  Application->OnException = [&](TObject*, const Exception& e) { shown = e.what(); };
  form->OnResize = [](TObject*) { throw Exception("resize failed"); };
  try {
    form->SetBounds(50, 50, 660, 420);
  } catch (const Exception& e) {
    shown = e.what();
  }
  EXPECT_EQ(shown, "resize failed");
}

TEST_F(GridTest, LoadedMovesAlwaysShowEditorIntoNavigation) {
  auto* g = new TDavEvadurAvuz(form);
  g->SetOptions(g->Options() + goAlwaysShowEditor + goEditing);
  g->Loaded();
  EXPECT_TRUE(g->Navigation()->AlwaysEdit);
  EXPECT_FALSE(g->Options().Contains(goAlwaysShowEditor));
  EXPECT_EQ(g->ColumnOrder()->Count(), g->ColCount());
  EXPECT_EQ(g->MinColWidth, 10);
  EXPECT_EQ(g->MinRowHeight, 22);
}

}  // namespace
