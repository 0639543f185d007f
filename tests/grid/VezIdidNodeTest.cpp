// Grid nodes and grouping: contracting and expanding spans, nested nodes, parent rows,
// child rows, grouping by a column with and without summaries, and ungrouping.
#include <string>
#include <vector>

#include "GridTestSupport.h"

namespace {

class NodeTest : public GridTest {
protected:
  // One fixed row, rows 1..N-1 holding "r<real row>" in column 1.
  void Load(int Rows, int Cols = 3) {
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    for (int r = 0; r < Rows; ++r) grid->SetCellEx(1, r, "r" + std::to_string(r));
  }
  std::vector<std::string> Col(int C) {
    std::vector<std::string> out;
    for (int r = 1; r < grid->RowCount(); ++r) out.push_back(grid->GetCellEx(C, r));
    return out;
  }
  using V = std::vector<std::string>;
};

TEST_F(NodeTest, ContractHidesSpanAndExpandRestoresWithHeights) {
  Load(8);
  grid->SetRowHeights(3, 31);
  grid->SetRowHeights(4, 42);
  grid->AddNode(2, 3);
  EXPECT_EQ(grid->NodeCount, 1);
  EXPECT_TRUE(grid->HasNodes());
  EXPECT_EQ(grid->GetNodeSpan(2), 3);
  grid->ContractNode(2);
  EXPECT_TRUE(grid->GetNodeState(2));
  EXPECT_EQ(Col(1), (V{"r1", "r2", "r5", "r6", "r7"}));
  EXPECT_FALSE(grid->SelectCellSuppressed);
  grid->ExpandNode(2);
  EXPECT_FALSE(grid->GetNodeState(2));
  EXPECT_EQ(Col(1), (V{"r1", "r2", "r3", "r4", "r5", "r6", "r7"}));
  EXPECT_EQ(grid->RowHeights(3), 31);
  EXPECT_EQ(grid->RowHeights(4), 42);
}

TEST_F(NodeTest, SpanZeroCoversUpToNextNode) {
  Load(8);
  grid->AddNode(1, 0);
  grid->AddNode(4, 2);
  grid->ContractNode(1);
  EXPECT_EQ(Col(1), (V{"r1", "r4", "r5", "r6", "r7"}));
  grid->ExpandNode(1);
  grid->ContractAll();  // ends on the span-0 node too
  EXPECT_EQ(Col(1), (V{"r1", "r4", "r6", "r7"}));
  grid->ExpandAll();
  EXPECT_EQ(grid->RowCount(), 8);
}

TEST_F(NodeTest, NestedNodesAndParentRows) {
  Load(9);
  grid->AddNode(1, 6);  // rows 1..6
  grid->AddNode(3, 3);  // rows 3..5 nested
  EXPECT_EQ(grid->GetNodeLevel(1), 1);
  EXPECT_EQ(grid->GetNodeLevel(3), 2);
  EXPECT_EQ(grid->GetParentRow(1), 1);
  EXPECT_EQ(grid->GetParentRow(2), 1);
  EXPECT_EQ(grid->GetParentRow(4), 3);
  EXPECT_EQ(grid->GetParentRow(6), 1);
  EXPECT_EQ(grid->GetParentRow(7), -1);
  grid->ContractNode(3);
  grid->ContractNode(1);
  EXPECT_EQ(Col(1), (V{"r1", "r7", "r8"}));
  EXPECT_FALSE(grid->GetNodeState(3)) << "the nested node comes back expanded with its parent";
  grid->ExpandNode(1);
  EXPECT_EQ(Col(1), (V{"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}));
}

TEST_F(NodeTest, ExpandOneContractsTheOthers) {
  Load(8);
  grid->CellNode()->ExpandOne = true;
  grid->AddNode(1, 3);
  grid->AddNode(4, 3);
  grid->ContractNode(1);
  grid->ExpandNode(1);
  EXPECT_FALSE(grid->GetNodeState(1));
  EXPECT_TRUE(grid->GetNodeState(4));
  EXPECT_EQ(Col(1), (V{"r1", "r2", "r3", "r4", "r7"}));
}

TEST_F(NodeTest, ContractOnPlainRowKeepsSelectionEvents) {
  Load(5);
  grid->ContractNode(2);
  EXPECT_FALSE(grid->SelectCellSuppressed);
  EXPECT_FALSE(grid->GetNodeState(2));
}

TEST_F(NodeTest, InsertChildRowAtNodeMovesHeaderTexts) {
  Load(7);
  grid->SetCellEx(2, 2, "x");
  grid->AddNode(2, 3);
  grid->InsertChildRow(2, 0);
  EXPECT_TRUE(grid->IsNode(2));
  EXPECT_EQ(grid->GetNodeSpan(2), 4);
  EXPECT_EQ(grid->GetCellEx(1, 2), "");
  EXPECT_EQ(grid->GetCellEx(1, 3), "r2");
  EXPECT_EQ(grid->GetCellEx(2, 3), "x");
}

TEST_F(NodeTest, InsertChildRowKeepsHiddenRowsAboveInPlace) {
  Load(10);
  grid->AddNode(1, 3);  // rows 1..3
  grid->AddNode(5, 3);  // rows 5..7
  grid->ContractNode(1);  // real rows 2, 3 hidden
  grid->InsertChildRow(6, 0);  // display row 4 now; inside the second node
  grid->ExpandAll();
  EXPECT_EQ(Col(1), (V{"r1", "r2", "r3", "r4", "r5", "", "r6", "r7", "r8", "r9"}));
}

TEST_F(NodeTest, RemoveAllNodesShowsEveryRow) {
  Load(8);
  grid->AddNode(1, 3);
  grid->AddNode(4, 3);
  grid->ContractAll();
  grid->RemoveAllNodes();
  EXPECT_EQ(grid->NodeCount, 0);
  EXPECT_EQ(grid->RowCount(), 8);
  EXPECT_FALSE(grid->IsNode(1));
}

TEST_F(NodeTest, InNodeRectWithoutPreciseClickIsWholeRow) {
  Load(5);
  grid->AddNode(1, 2);
  grid->MouseActions()->PreciseNodeClick = false;
  EXPECT_TRUE(grid->InNodeRect(1, 500));
  grid->MouseActions()->PreciseNodeClick = true;
  EXPECT_FALSE(grid->InNodeRect(1, 500));
}

class GroupTest : public NodeTest {
protected:
  // Columns: 0 empty, 1 item, 2 group value.
  void LoadGroups(const V& Values) {
    grid->SetColCount(4);
    grid->SetRowCount(int(Values.size()) + 1);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetCellEx(2, 0, "grp");
    grid->SetColWidths(2, 77);
    for (size_t i = 0; i < Values.size(); ++i) {
      grid->SetCellEx(1, int(i) + 1, "i" + std::to_string(i));
      grid->SetCellEx(2, int(i) + 1, Values[i]);
      grid->SetCellEx(3, int(i) + 1, std::to_string(i + 1));
    }
  }
};

TEST_F(GroupTest, GroupMakesHeadersWithSpans) {
  LoadGroups({"A", "A", "B"});
  grid->Group(2);
  EXPECT_EQ(grid->GroupColumn(), 2);
  EXPECT_EQ(grid->ColCount(), 3);
  EXPECT_EQ(Col(1), (V{"A", "i0", "i1", "B", "i2"}));
  EXPECT_TRUE(grid->IsNode(1));
  EXPECT_TRUE(grid->IsNode(4));
  EXPECT_EQ(grid->GetNodeSpan(1), 3);
  EXPECT_EQ(grid->GetNodeSpan(4), 2);
}

TEST_F(GroupTest, SummaryRowsFollowEachGroup) {
  LoadGroups({"A", "A", "B"});
  grid->Grouping()->Summary = true;
  grid->Group(2);
  EXPECT_EQ(Col(1), (V{"A", "i0", "i1", "", "B", "i2", ""}));
  EXPECT_TRUE(grid->IsSummary(4));
  EXPECT_TRUE(grid->IsSummary(7));
  EXPECT_EQ(grid->GetNodeSpan(1), 3);
  grid->GroupSum(2);  // column 2 is the former column 3
  EXPECT_EQ(grid->GetCellEx(2, 4), "3.00");
  EXPECT_EQ(grid->GetCellEx(2, 7), "3.00");
  grid->GroupCount(1);
  EXPECT_EQ(grid->GetCellEx(1, 4), "2");
}

TEST_F(GroupTest, UnGroupRestoresColumnIndexAndWidth) {
  LoadGroups({"A", "B", "A"});
  grid->Grouping()->Summary = true;
  grid->Group(2);
  grid->UnGroup();
  EXPECT_EQ(grid->GroupColumn(), -1);
  EXPECT_EQ(grid->ColCount(), 4);
  EXPECT_EQ(grid->ColWidths(2), 77);
  EXPECT_EQ(grid->GetCellEx(2, 0), "grp");
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->NodeCount, 0);
  // Sorted for grouping: A, A, B.
  EXPECT_EQ(Col(2), (V{"A", "A", "B"}));
}

TEST_F(GroupTest, SetGroupColumnZeroDoesNothing) {
  LoadGroups({"A", "B"});
  grid->SetGroupColumn(0);
  EXPECT_EQ(grid->GroupColumn(), -1);
  EXPECT_EQ(grid->RowCount(), 3);
  grid->SetGroupColumn(2);
  EXPECT_EQ(grid->GroupColumn(), 2);
  grid->SetGroupColumn(-1);
  EXPECT_EQ(grid->GroupColumn(), -1);
}

TEST_F(GroupTest, ContractedGroupIsNotCalculated) {
  LoadGroups({"A", "A", "B"});
  grid->Group(2);
  grid->ContractNode(grid->RealRowIndex(1));
  grid->GroupSum(2);
  EXPECT_EQ(grid->GetCellEx(2, 1), "");
  EXPECT_EQ(grid->GetCellEx(2, 2), "3.00");  // header B is now display row 2
}

TEST_F(GroupTest, SubGroupThenSubUnGroupRestoresValues) {
  grid->SetColCount(4);
  grid->SetRowCount(5);
  grid->SetFixedRows(1);
  const V g{"A", "A", "A", "B"}, s{"x", "x", "y", "x"};
  for (int i = 0; i < 4; ++i) {
    grid->SetCellEx(1, i + 1, s[size_t(i)]);
    grid->SetCellEx(2, i + 1, "i" + std::to_string(i));
    grid->SetCellEx(3, i + 1, g[size_t(i)]);
  }
  grid->SortSettings()->AutoSortForGrouping = false;
  grid->Group(3);
  const int rowsGrouped = grid->RowCount();
  grid->SubGroup(1);
  EXPECT_GT(grid->RowCount(), rowsGrouped);
  grid->SubUnGroup(1);
  EXPECT_EQ(grid->RowCount(), rowsGrouped);
  EXPECT_EQ(Col(1), (V{"A", "x", "x", "y", "B", "x"}));
  EXPECT_TRUE(grid->IsNode(1));
  EXPECT_EQ(grid->GetNodeSpan(1), 4);
}

}  // namespace
