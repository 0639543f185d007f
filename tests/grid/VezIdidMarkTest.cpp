// Marking texts in cells, the cell checkers and the range fills.
#include <string>

#include "GridTestSupport.h"
#include "grid/Deacheck.h"

namespace {

class MarkTest : public GridTest {
protected:
  void Load(int Cols, int Rows) {
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
  }
};

TEST_F(MarkTest, HilightWithAndWithoutCase) {
  Load(3, 3);
  grid->SetCellEx(1, 1, "Ab ab");
  grid->HilightInCell(false, 1, 1, "ab");
  EXPECT_EQ(grid->GetCellEx(1, 1), "<hi>Ab</hi> <hi>ab</hi>");
  grid->UnHilightInCell(1, 1);
  EXPECT_EQ(grid->GetCellEx(1, 1), "Ab ab");
  grid->HilightInCell(true, 1, 1, "ab");
  EXPECT_EQ(grid->GetCellEx(1, 1), "Ab <hi>ab</hi>");
}

TEST_F(MarkTest, UnHilightLeavesErrorMarks) {
  Load(3, 3);
  grid->SetCellEx(1, 1, "x y");
  grid->MarkInCell(true, 1, 1, "x");
  grid->HilightInCell(true, 1, 1, "y");
  grid->UnHilightInCell(1, 1);
  EXPECT_EQ(grid->GetCellEx(1, 1), "<e>x</e> y");
}

TEST_F(MarkTest, CheckersCorrectAndReport) {
  Load(3, 3);
  grid->SetCellEx(1, 1, "this is. a test! ok?  no");
  grid->SetCellEx(2, 2, "Fine.");
  EXPECT_TRUE(grid->CheckGrid(false)) << "without a checker nothing changes";
  TDavEvadurAvuzCheck base(form);
  grid->SetCellChecker(&base);
  base.UseCorrect = true;
  EXPECT_TRUE(grid->CheckGrid(false));
  TCapitalCheck capital(form);
  capital.UseCorrect = true;
  grid->SetCellChecker(&capital);
  EXPECT_FALSE(grid->CheckGrid(false));
  EXPECT_EQ(grid->GetCellEx(1, 1), "This is. A test! Ok?  no");
  EXPECT_EQ(grid->GetCellEx(2, 2), "Fine.");
  EXPECT_EQ(capital.Correct(0, 0, "привет. мир"), "Привет. Мир");
  grid->SetCellChecker(nullptr);
}

TEST(CellCheck, TextTools) {
  EXPECT_EQ(TDavEvadurAvuzCheck::ReplaceOnce("a-a", "a", "b"), "b-a");
  EXPECT_EQ(TDavEvadurAvuzCheck::ReplaceOnce("xyz", "a", "b"), "xyz");
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("Hello <b>world</b>", "world", "span", false),
            "Hello <span><b>world</span></b>");
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("world", "WORLD", "e", false), "<e>world</e>");
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("world", "WORLD", "e", true), "world");
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("a < b", "b", "e", true), "a < <e>b</e>");
  // After a line break the marks still enclose the found text.
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("ab<BR>cd", "cd", "e", true), "ab<BR><e>cd</e>");
  EXPECT_EQ(TDavEvadurAvuzCheck::HiLight("Мир", "мир", "e", false), "<e>Мир</e>");
}

TEST_F(MarkTest, Fills) {
  Load(3, 2);
  grid->LinearFill(true);
  EXPECT_EQ(grid->GetCellEx(0, 0), "0:0");
  EXPECT_EQ(grid->GetCellEx(2, 0), "2:0");
  EXPECT_EQ(grid->GetCellEx(1, 1), "1:1");
  grid->FormatFill(false, "c%d r%d");
  EXPECT_EQ(grid->GetCellEx(2, 1), "c2 r1");
  EXPECT_EQ(grid->GetCellEx(0, 1), "0:1");
  grid->RandomFill(false, 1);
  EXPECT_EQ(grid->GetCellEx(1, 1), "0");
  grid->TextFill(false, "t");
  EXPECT_EQ(grid->GetCellEx(2, 1), "t");
}

}  // namespace
