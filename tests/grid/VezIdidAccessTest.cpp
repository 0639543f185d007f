// The string grid's counts with a floating footer and the save hook of check-box cells.
#include "GridTestSupport.h"

// ---- the floating footer moves with the end of the grid ----------------------------------

class FooterRowTest : public GridTest {
protected:
  FooterRowTest() {
    grid->SetCellEx(1, 0, "Name");
    grid->SetCellEx(1, 8, "last data");
    grid->SetCellEx(1, 9, "total");
    grid->SetCellEx(2, 9, "42");
    grid->FloatingFooter()->SetVisible(true);
  }
  std::vector<std::string> Column1() {
    std::vector<std::string> v;
    for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->GetCellEx(1, r));
    return v;
  }
};

TEST_F(FooterRowTest, GrowingMovesTheFooterRowToTheNewLastRow) {
  grid->SetRowCountEx(12);
  ASSERT_EQ(grid->RowCount(), 12);
  EXPECT_EQ(grid->GetCellEx(1, 11), "total");
  EXPECT_EQ(grid->GetCellEx(2, 11), "42");
  EXPECT_EQ(grid->GetCellEx(1, 9), "");
  EXPECT_EQ(grid->GetCellEx(2, 9), "");
  EXPECT_EQ(grid->GetCellEx(1, 10), "");
  EXPECT_EQ(grid->GetCellEx(1, 8), "last data");
  EXPECT_EQ(grid->GetCellEx(1, 0), "Name");
}

TEST_F(FooterRowTest, ShrinkingMovesTheFooterUpAndEmptiesTheRowsThatLeft) {
  grid->SetCellEx(1, 7, "kept");
  grid->SetRowCountEx(8);
  EXPECT_EQ(Column1(), (std::vector<std::string>{"Name", "", "", "", "", "", "", "total"}));
  EXPECT_EQ(grid->GetCellEx(2, 7), "42");
  // The rows that left the grid come back empty; the footer moves down again.
  grid->SetRowCountEx(10);
  EXPECT_EQ(Column1(), (std::vector<std::string>{"Name", "", "", "", "", "", "", "", "", "total"}));
}

TEST_F(FooterRowTest, AHeaderRowIsNeitherTakenForTheFooterNorOverwritten) {
  grid->SetRowCountEx(1);
  EXPECT_EQ(grid->GetCellEx(1, 0), "Name");
  grid->SetRowCountEx(3);
  EXPECT_EQ(Column1(), (std::vector<std::string>{"Name", "", ""}));
  grid->SetCellEx(1, 2, "sum");
  grid->SetRowCountEx(4);
  EXPECT_EQ(Column1(), (std::vector<std::string>{"Name", "", "", "sum"}));
}

TEST_F(GridTest, WithoutTheFloatingFooterTheLastRowStays) {
  grid->SetCellEx(1, 9, "total");
  grid->SetRowCountEx(12);
  EXPECT_EQ(grid->GetCellEx(1, 9), "total");
  EXPECT_EQ(grid->GetCellEx(1, 11), "");
}

// ---- SaveCell of check-box cells ----------------------------------------------------------

TEST_F(GridTest, SaveCellOfAnEmptyCheckBoxCellGivesTheCheckTexts) {
  grid->AddCheckBox(1, 1, true, false);
  grid->AddCheckBox(1, 2, false, false);
  grid->AddCheckBox(1, 3, true, false);
  grid->SetCellEx(1, 3, "own text");
  std::vector<std::string> seen;
  grid->OnSaveCell = [&](TObject*, int, int, std::string& value) { seen.push_back(value); };
  struct Case {
    int row;
    std::string saved;
  } cases[] = {{1, "Y"}, {2, "N"}, {3, "own text"}, {4, ""}};
  for (const auto& k : cases) {
    std::string v = "stale";
    grid->SaveCell(1, k.row, v);
    EXPECT_EQ(v, k.saved) << "row " << k.row;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Y", "N", "own text", ""}));
  // The grid's check texts are the ones its events give; toggling the box changes the text.
  grid->OnGetCheckTrue = [](TObject*, int, int, std::string& value) { value = "да"; };
  grid->SetCheckBoxState(1, 2, true);
  std::string v;
  grid->SaveCell(1, 2, v);
  EXPECT_EQ(v, "да");
}
