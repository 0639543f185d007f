// Filtering the string grid: conditions and their operations, prefix and suffix, whole-row
// search, stacked levels, the narrow-down of a typed text and the filter list's choice.
#include <string>
#include <vector>

#include "GridTestSupport.h"
#include "grid/VezIdidEdit.h"

namespace {

class FilterTest : public GridTest {
protected:
  using V = std::vector<std::string>;
  // One fixed row; column 1 and 2 hold the given texts.
  void Load(const V& A, const V& B = {}) {
    grid->SetColCount(3);
    grid->SetRowCount(int(A.size()) + 1);
    grid->SetFixedRows(1);
    for (size_t i = 0; i < A.size(); ++i) {
      grid->SetCellEx(1, int(i) + 1, A[i]);
      if (i < B.size()) grid->SetCellEx(2, int(i) + 1, B[i]);
    }
  }
  V Col(int C) {
    V out;
    for (int r = 1; r < grid->RowCount(); ++r) out.push_back(grid->GetCellEx(C, r));
    return out;
  }
  TFilterData* Add(int Column, const std::string& Condition, TFilterOperation Op = foSHORT) {
    TFilterData* f = grid->Filter()->Add();
    f->Column = Column;
    f->Condition = Condition;
    f->Operation = Op;
    return f;
  }
};

TEST_F(FilterTest, EmptyCollectionAddsAnEmptyLevel) {
  Load({"a", "b"});
  grid->ApplyFilter();
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->HideLevel, 1);
  EXPECT_FALSE(grid->RemoveLastFilter());
  EXPECT_EQ(grid->HideLevel, 0);
  EXPECT_FALSE(grid->RemoveLastFilter());
}

TEST_F(FilterTest, OperationsCombineConditions) {
  Load({"a1", "a2", "b1", "b2"}, {"x", "y", "x", "y"});
  Add(1, "a*");
  Add(2, "x", foAND);
  grid->ApplyFilter();
  EXPECT_EQ(Col(1), (V{"a1"}));
  grid->RemoveAllFilters();
  EXPECT_EQ(Col(1), (V{"a1", "a2", "b1", "b2"}));
  grid->Filter()->Clear();
  Add(1, "a*", foNONE);
  Add(2, "x", foOR);
  grid->ApplyFilter();
  EXPECT_EQ(Col(1), (V{"a1", "a2", "b1"}));
}

TEST_F(FilterTest, ShortCircuitSkipsLaterItems) {
  Load({"a", "b"});
  int calls = 0;
  grid->OnCustomFilter = [&](TObject*, int, bool&) { ++calls; };
  Add(1, "a");
  TFilterData* f = Add(2, "zzz", foOR);
  f->Data = fcRow;
  grid->ApplyFilter();
  // Row "b" fails the first item; fcRow with "zzz" would fail too, but foSHORT stops.
  EXPECT_EQ(Col(1), (V{"a"}));
  EXPECT_EQ(calls, 2);
}

TEST_F(FilterTest, PrefixAndSuffixAreCut) {
  Load({"$ 12 USD", "$ 12 USD USD", "$ 9 USD"});
  TFilterData* f = Add(1, "12");
  f->Prefix = "$ ";
  f->Suffix = " USD";
  grid->ApplyFilter();
  // The second text's suffix also occurs earlier, so it stays and the text is not 12.
  EXPECT_EQ(Col(1), (V{"$ 12 USD"}));
}

TEST_F(FilterTest, RowConditionIgnoresCase) {
  Load({"q", "r"}, {"xAB", "xy"});
  TFilterData* f = Add(0, "ab");
  f->Data = fcRow;
  grid->ApplyFilter();
  EXPECT_EQ(Col(1), (V{"q"}));
}

TEST_F(FilterTest, NarrowDownStacksAndPops) {
  Load({"abc", "abd", "axe", "b"});
  grid->NarrowDown("a", -1);
  const V first = Col(1);
  EXPECT_EQ(first, (V{"abc", "abd", "axe"}));
  grid->NarrowDown("ab", -1);
  EXPECT_EQ(Col(1), (V{"abc", "abd"}));
  grid->NarrowDown("a", -1);
  EXPECT_EQ(Col(1), first);
  grid->NarrowDown("", -1);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->HideLevel, 0);
}

TEST_F(FilterTest, FilterActiveAppliesAndRestores) {
  Load({"a", "b", "a"});
  Add(1, "a");
  grid->SetFilterActive(true);
  EXPECT_EQ(Col(1), (V{"a", "a"}));
  grid->SetFilterActive(false);
  EXPECT_EQ(Col(1), (V{"a", "b", "a"}));
}

TEST_F(FilterTest, FilterRowIgnoresTooHighValue) {
  Load({"a"});
  grid->SetFilterRow(5);
  EXPECT_EQ(grid->FilterDropDownRow, 0);
}

TEST_F(FilterTest, ListChoiceFiltersAndClearEntryShowsAll) {
  Load({"a", "b", "a"});
  grid->FilterDropDownAuto = true;
  grid->GetFilter(1);
  TDropList* list = grid->FilterDropList();
  list->SetBounds(0, 0, 120, 120);
  list->Items()->Assign(grid->FilterValues());
  bool done = false;
  grid->OnFilterDone = [&](TObject*) { done = true; };
  grid->FilterDropDownColumn = 1;
  // Entries: "(All)", "a", "b".
  grid->FilterSelect(grid, 2);
  EXPECT_EQ(Col(1), (V{"b"}));
  EXPECT_TRUE(done);
  EXPECT_EQ(grid->FilterDropDownColumn, -1);
  grid->FilterDropDownColumn = 1;
  grid->FilterSelect(grid, 0);
  EXPECT_EQ(Col(1), (V{"a", "b", "a"}));
  EXPECT_EQ(grid->Filter()->GetColFilter(1)->Condition, "");
}

TEST_F(FilterTest, NodesAndFiltersShareHideLevels) {
  Load({"a", "b", "c", "a"});
  grid->AddNode(1, 2);
  grid->ContractAll();
  Add(1, "!c");
  grid->ApplyFilter();
  EXPECT_EQ(Col(1), (V{"a", "a"}));
  grid->RemoveLastFilter();
  EXPECT_EQ(Col(1), (V{"a", "c", "a"}));
}

}  // namespace
