// Find and replace in the string grid: scan orders, the empty-cell text, whole and case
// matches, the end of the scan, ignored columns and replacing without case.
#include <string>

#include "GridTestSupport.h"

namespace {

class FindTest : public GridTest {
protected:
  // 3 x 3 normal cells below one fixed row and beside one fixed column.
  void Load() {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    const char* cells[3][3] = {{"ab", "x", "Ab"}, {"", "AB", "q"}, {"zz", "ab ab", "y"}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) grid->SetCellEx(c + 1, r + 1, cells[r][c]);
  }
};

TEST_F(FindTest, ColumnWiseThenRowWise) {
  Load();
  const TFindParams none;
  // Column by column: (1,1) "ab", then down column 1: (1,3) "zz" no; column 2 (2,2) "AB" without case.
  EXPECT_EQ(grid->Find({-1, -1}, "ab", none), (TPoint{1, 1}));
  EXPECT_EQ(grid->Find({1, 1}, "ab", none), (TPoint{2, 2}));
  EXPECT_EQ(grid->Find({-1, -1}, "ab", TFindParams{fnMatchCase}), (TPoint{1, 1}));
  EXPECT_EQ(grid->Find({1, 1}, "ab", TFindParams{fnMatchCase}), (TPoint{2, 3}));
  // Row by row: after (1,1) comes (3,1) "Ab".
  EXPECT_EQ(grid->Find({1, 1}, "ab", TFindParams{fnDirectionLeftRight}), (TPoint{3, 1}));
  EXPECT_EQ(grid->Find({-1, -1}, "ab", TFindParams{fnBackward, fnDirectionLeftRight}), (TPoint{2, 3}));
}

TEST_F(FindTest, EmptyTextFullMatchAndEnd) {
  Load();
  EXPECT_EQ(grid->Find({-1, -1}, "\"\"", TFindParams{}), (TPoint{1, 2}));
  EXPECT_EQ(grid->Find({-1, -1}, "AB", TFindParams{fnMatchFull, fnMatchCase}), (TPoint{2, 2}));
  EXPECT_EQ(grid->Find({-1, -1}, "AB", TFindParams{fnMatchFull}), (TPoint{1, 1}));
  // From the last cell of the rectangle forward: nothing.
  EXPECT_EQ(grid->Find({3, 3}, "y", TFindParams{}), (TPoint{-1, -1}));
  EXPECT_EQ(grid->Find({-1, -1}, "nowhere", TFindParams{}), (TPoint{-1, -1}));
}

TEST_F(FindTest, IgnoredColumnSkippedOnlyRowWise) {
  Load();
  grid->IgnoredColumns()->Add(2);
  EXPECT_EQ(grid->Find({-1, -1}, "x", TFindParams{fnDirectionLeftRight}), (TPoint{-1, -1}));
  EXPECT_EQ(grid->Find({-1, -1}, "x", TFindParams{}), (TPoint{2, 1}));
}

TEST_F(FindTest, FindFirstNextAndAutoGoto) {
  Load();
  EXPECT_EQ(grid->FindFirst("q", TFindParams{fnAutoGoto}), (TPoint{3, 2}));
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_EQ(grid->FindNext(), (TPoint{-1, -1}));
  EXPECT_EQ(grid->LastFoundCell, (TPoint{-1, -1}));
}

TEST_F(FindTest, ReplaceIgnoresCaseInFoundCells) {
  Load();
  const int n = grid->Replace("a", "Z", TFindParams{fnMatchCase});
  // Cells holding "a": "ab" and "ab ab"; in them every "a" or "A" becomes "Z".
  EXPECT_EQ(n, 2);
  EXPECT_EQ(grid->GetCellEx(1, 1), "Zb");
  EXPECT_EQ(grid->GetCellEx(2, 3), "Zb Zb");
  EXPECT_EQ(grid->GetCellEx(3, 1), "Ab");
}

TEST_F(FindTest, RegularAndCyrillic) {
  Load();
  grid->SetCellEx(3, 3, "Привет");
  EXPECT_EQ(grid->Find({-1, -1}, "прив", TFindParams{}), (TPoint{3, 3}));
  EXPECT_EQ(grid->Find({-1, -1}, "z?", TFindParams{fnMatchRegular}), (TPoint{1, 3}));
  EXPECT_EQ(grid->FindWide({-1, -1}, u"ПРИВЕТ", TFindParams{fnMatchFull}), (TPoint{3, 3}));
}

}  // namespace
