// The base grid: lazily created cell properties, text through merged areas, the merge
// queries, splitting, the keyboard over merged areas and the painting of a merged area.
#include "GridTestSupport.h"
#include "platform/vcl/Graphics.h"

namespace {

TPoint Pt(int X, int Y) { return TPoint{X, Y}; }

using BaseGridTest = GridTest;

TEST_F(BaseGridTest, CellPropertiesAreCreatedOnFirstUseWithTheGridsDefaults) {
  grid->Font()->SetName("Arial");
  grid->Font()->SetSize(10);
  EXPECT_FALSE(grid->HasCellProperties(2, 2));
  EXPECT_EQ(grid->GetObjectEx(2, 2), nullptr);
  EXPECT_FALSE(grid->HasCellProperties(2, 2));  // reading creates nothing
  TCellProperties* p = grid->GetCellProperties(2, 2);
  EXPECT_EQ(p->FontName, "Arial");
  EXPECT_EQ(p->FontSize, 10);
  EXPECT_EQ(p->CellSpanX, -1);
  EXPECT_TRUE(p->IsBaseCell);
  EXPECT_EQ(p->Editor, edNormal);
  EXPECT_EQ(grid->GetCellProperties(2, 2), p);
  grid->SetObjectEx(3, 3, form);
  EXPECT_EQ(grid->GetCellEx(3, 3), "");
  EXPECT_EQ(grid->GetObjectEx(3, 3), form);
}

TEST_F(BaseGridTest, GivingACellItsOwnPropertiesKeepsThem) {
  TCellProperties* p = grid->GetCellProperties(1, 1);
  p->SetBrushColor(clRed);
  grid->SetCellProperties(1, 1, p);
  ASSERT_TRUE(grid->HasCellProperties(1, 1));
  EXPECT_EQ(grid->GetCellProperties(1, 1)->BrushColor, clRed);
  auto* other = new TCellProperties(grid, 1, 1);
  grid->SetCellProperties(1, 1, other);  // the old one is freed
  EXPECT_EQ(grid->GetCellProperties(1, 1), other);
}

TEST_F(BaseGridTest, AssignCopiesTheSettingsButNotTheObjects) {
  TCellProperties a(grid, 1, 1), b(grid, 2, 2);
  a.BrushColor = clRed;
  a.BrushColorTo = clBlue;
  a.FontName = "Tahoma";
  a.CellObject = grid;
  a.Editor = edComboList;
  b.Assign(&a);
  EXPECT_EQ(b.BrushColor, clRed);
  EXPECT_EQ(b.BrushColorTo, clNone);
  EXPECT_EQ(b.FontName, "Tahoma");
  EXPECT_EQ(b.Editor, edComboList);
  EXPECT_EQ(b.CellObject, nullptr);
  EXPECT_EQ(b.OwnerCol, 1);
}

struct MergeCase {
  int col, row;
  TPoint base, span, ext;
  bool merged, nonBase;
};

TEST_F(BaseGridTest, MergedAreaAnswersEveryQuery) {
  grid->SetCellEx(1, 1, "base");
  grid->SetCellEx(2, 3, "hidden");
  grid->MergeCells(1, 1, 2, 3);
  EXPECT_EQ(grid->MergeCount(), 1);
  const MergeCase cases[] = {
      {1, 1, {1, 1}, {1, 2}, {1, 2}, true, false},
      {2, 3, {1, 1}, {1, 2}, {0, 0}, true, true},
      {2, 1, {1, 1}, {1, 2}, {0, 2}, true, true},
      {1, 2, {1, 1}, {1, 2}, {1, 1}, true, true},
      {3, 3, {3, 3}, {0, 0}, {0, 0}, false, false},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row));
    EXPECT_EQ(grid->BaseCell(c.col, c.row), c.base);
    EXPECT_EQ(grid->CellSpan(c.col, c.row), c.span);
    EXPECT_EQ(grid->CellExt(c.col, c.row), c.ext);
    EXPECT_EQ(grid->IsMergedCell(c.col, c.row), c.merged);
    EXPECT_EQ(grid->IsMergedNonBaseCell(c.col, c.row), c.nonBase);
  }
  TCellProperties* p = grid->GetCellProperties(2, 3);
  EXPECT_FALSE(p->IsBaseCell);
  EXPECT_EQ(p->CellSpanX, 1);
  EXPECT_EQ(p->CellSpanY, 2);
  EXPECT_EQ(grid->FullCell(2, 2), (TGridRect{1, 1, 2, 3}));
  EXPECT_TRUE(grid->IsXMergedCell(2, 3));
  EXPECT_TRUE(grid->IsYMergedCell(1, 1));
  // Every text access goes to the base cell.
  EXPECT_EQ(grid->GetCellEx(2, 3), "base");
  grid->SetCellEx(2, 2, "changed");
  EXPECT_EQ(grid->GetGridCell(1, 1), "changed");
  EXPECT_EQ(grid->GetGridCell(2, 3), "hidden");
  int bc = 0, br = 0;
  EXPECT_FALSE(grid->IsBaseCellEx(2, 3, bc, br));
  EXPECT_EQ(Pt(bc, br), Pt(1, 1));
  // The area's rectangle covers its cells.
  TRect r = grid->CellRect(2, 3);
  TRect b = grid->GetCellRect(1, 1);
  EXPECT_EQ(r.Left, b.Left);
  EXPECT_EQ(r.Right - r.Left, grid->ColWidths(1) + grid->ColWidths(2));
  EXPECT_EQ(r.Bottom - r.Top, 3 * grid->DefaultRowHeight());
  EXPECT_EQ(grid->CellSize(1, 1), Pt(r.Right - r.Left, r.Bottom - r.Top));
}

TEST_F(BaseGridTest, SplittingDissolvesTheWholeArea) {
  grid->MergeCells(1, 1, 2, 3);
  grid->SplitCells(2, 3);
  EXPECT_EQ(grid->MergeCount(), 0);
  for (int c = 1; c <= 2; ++c)
    for (int r = 1; r <= 3; ++r) {
      EXPECT_EQ(grid->CellSpan(c, r), Pt(0, 0));
      EXPECT_EQ(grid->BaseCell(c, r), Pt(c, r));
      EXPECT_TRUE(grid->IsBaseCell(c, r));
    }
}

TEST_F(BaseGridTest, SplittingACellThatIsNotMergedChangesNothing) {
  grid->MergeCells(1, 1, 2, 2);
  grid->SplitCells(3, 3);
  grid->GetCellProperties(4, 4);
  grid->SplitCells(4, 4);
  EXPECT_EQ(grid->MergeCount(), 1);
  EXPECT_TRUE(grid->IsMergedCell(2, 2));
  EXPECT_FALSE(grid->HasCellProperties(3, 3));
}

TEST_F(BaseGridTest, MergingOverAnAreaSplitsItFirst) {
  grid->MergeCells(1, 1, 2, 2);
  grid->MergeCells(2, 2, 2, 2);  // overlaps the first area's last cell
  // The first area is gone: its other cells are their own base cells again.
  EXPECT_EQ(grid->BaseCell(2, 1), Pt(2, 1));
  EXPECT_EQ(grid->BaseCell(1, 2), Pt(1, 2));
  EXPECT_FALSE(grid->IsMergedCell(1, 1));
  EXPECT_EQ(grid->BaseCell(3, 3), Pt(2, 2));
  EXPECT_EQ(grid->CellSpan(2, 2), Pt(1, 1));
  EXPECT_EQ(grid->MergeCount(), 1);
}

TEST_F(BaseGridTest, RowAndColumnSpanQueries) {
  EXPECT_EQ(grid->MinRowSpan(2), grid->RowCount());
  EXPECT_EQ(grid->MaxRowSpan(2), 0);
  EXPECT_FALSE(grid->RowSpanIdentical(1, 2));
  EXPECT_FALSE(grid->ColSpanIdentical(1, 2));
  grid->MergeCells(1, 1, 1, 3);
  grid->MergeCells(3, 1, 1, 2);
  EXPECT_EQ(grid->MinRowSpan(1), 1);
  EXPECT_EQ(grid->MaxRowSpan(1), 2);
  EXPECT_TRUE(grid->RowSpanIdentical(1, 2));
  grid->MergeCells(1, 5, 2, 1);
  EXPECT_TRUE(grid->ColSpanIdentical(1, 2));
}

struct KeyCase {
  const char* name;
  int key;
  TGridCoord from, to;
};

TEST_F(BaseGridTest, KeysLeaveMergedAreasAndStayInTheGrid) {
  grid->SetFixedColsEx(0);
  grid->SetFixedRowsEx(0);
  grid->HandleNeeded();
  const KeyCase cases[] = {
      {"right from the base leaves a 3-column area", VK_RIGHT, {1, 1}, {4, 1}},
      {"down from the base leaves the area", VK_DOWN, {1, 1}, {1, 3}},
      {"up from inside the area", VK_UP, {2, 2}, {2, 0}},
      {"left from inside the area", VK_LEFT, {3, 2}, {0, 2}},
      {"down in an area reaching the last row", VK_DOWN, {0, 8}, {0, 9}},
  };
  grid->MergeCells(1, 1, 3, 2);
  grid->MergeCells(0, 8, 1, 2);
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetSelection(TGridRect{c.from.X, c.from.Y, c.from.X, c.from.Y});
    WORD key = static_cast<WORD>(c.key);
    grid->KeyDown(key, TShiftState{});
    EXPECT_EQ(grid->Col(), grid->BaseCell(c.to.X, c.to.Y).X);
    EXPECT_EQ(grid->Row(), grid->BaseCell(c.to.X, c.to.Y).Y);
    EXPECT_GE(grid->Col(), 0);
    EXPECT_LT(grid->Row(), grid->RowCount());
  }
}

TEST_F(BaseGridTest, LeftOverAWideAreaStaysInsideTheGrid) {
  grid->SetFixedColsEx(0);
  grid->MergeCells(1, 2, 4, 1);
  // A non-base current cell (placed without the selection check) whose span exceeds its base column.
  grid->SetSelection(TGridRect{3, 2, 3, 2});
  WORD key = VK_LEFT;
  grid->KeyDown(key, TShiftState{});
  EXPECT_GE(grid->Col(), 0);
  EXPECT_LT(grid->Col(), grid->ColCount());
}

TEST_F(BaseGridTest, MergedAreaIsPaintedOnceFromItsBaseCell) {
  grid->SetCellEx(1, 1, "");
  grid->MergeCells(1, 1, 2, 2);
  grid->GetCellProperties(1, 1)->SetBrushColor(clRed);
  grid->SetRowEx(5);  // the area is not the current cell
  grid->HandleNeeded();
  grid->Invalidate();
  // Every pixel of the area shows the base cell's colour, the cell beside it does not.
  TRect r = grid->CellRect(1, 1);
  for (TPoint p : {Pt(r.Left + 3, r.Top + 3), Pt(r.Right - 4, r.Bottom - 4)})
    EXPECT_EQ(WindowPixel(grid->Handle(), p.X, p.Y), ColorToRGB(clRed));
  EXPECT_NE(WindowPixel(grid->Handle(), r.Right + 5, r.Top + 5), ColorToRGB(clRed));
  EXPECT_GT(grid->PaintPass(), 1);
}

TEST_F(BaseGridTest, GridLinesOfNormalAndFixedCells) {
  grid->SetGridLineColor(clRed);
  grid->SetGridFixedLineColor(clBlue);
  grid->HandleNeeded();
  TRect normal = grid->CellRect(2, 2);
  EXPECT_EQ(WindowPixel(grid->Handle(), normal.Right - 1, normal.Top + 5), ColorToRGB(clRed));
  TRect fixed = grid->CellRect(2, 0);
  EXPECT_EQ(WindowPixel(grid->Handle(), fixed.Right - 1, fixed.Top + 5), ColorToRGB(clBlue));
  grid->SetGridLineWidth(0);
  EXPECT_NE(WindowPixel(grid->Handle(), normal.Right - 1, normal.Top + 5), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixel(grid->Handle(), fixed.Right - 1, fixed.Top + 5), ColorToRGB(clBlue));
}

TEST_F(BaseGridTest, ActiveRowIsPaintedInItsColour) {
  grid->SetActiveRowShow(true);
  grid->SetActiveRowColor(clLime);
  grid->SetRowEx(3);
  grid->HandleNeeded();
  TRect other = grid->CellRect(3, 3);
  EXPECT_EQ(WindowPixel(grid->Handle(), other.Left + 5, other.Top + 5), ColorToRGB(clLime));
  TRect below = grid->CellRect(3, 4);
  EXPECT_NE(WindowPixel(grid->Handle(), below.Left + 5, below.Top + 5), ColorToRGB(clLime));
}

}  // namespace

namespace {

TEST_F(BaseGridTest, FloatingFooterCoversTheLastRow) {
  grid->SetCellEx(2, 9, "total");
  grid->GetCellProperties(2, 9)->SetBrushColor(clRed);
  grid->FloatingFooter()->SetVisible(true);
  EXPECT_EQ(grid->FixedFooters(), 1);
  grid->SetBounds(0, 0, 400, 300);
  grid->HandleNeeded();
  TRect last = grid->CellRect(2, 9);
  ASSERT_LT(last.Top, last.Bottom);
  EXPECT_EQ(WindowPixel(grid->Handle(), last.Left + 4, last.Top + 4), ColorToRGB(grid->Color()));
  grid->FloatingFooter()->SetVisible(false);
  EXPECT_EQ(grid->FixedFooters(), 0);
  EXPECT_EQ(WindowPixel(grid->Handle(), last.Left + 4, last.Top + 4), ColorToRGB(clRed));
}

TEST_F(BaseGridTest, CellsOfAMergedAreaAreSelectedWithTheCurrentCell) {
  grid->MergeCells(2, 2, 2, 2);
  grid->SetSelection(TGridRect{2, 2, 2, 2});
  EXPECT_TRUE(grid->IsSelected(3, 3));
  EXPECT_FALSE(grid->IsSelected(4, 3));
}

}  // namespace
