#include <cairo.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "ControlsTestSupport.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Grids.h"

namespace {

// Records the grid's events in order.
struct TGridLog {
  std::vector<std::string> Events;
  std::vector<TGridCoord> Selected;
  bool Veto = false;
  void Attach(TStringGrid* g) {
    g->OnSelectCell = [this](TObject*, int c, int r, bool& can) {
      Selected.push_back({c, r});
      Events.push_back("select " + std::to_string(c) + "," + std::to_string(r));
      if (Veto) can = false;
    };
    g->OnClick = [this](TObject*) { Events.push_back("click"); };
  }
};

class Grids : public VclTest {
protected:
  TForm* Form = nullptr;
  TStringGrid* Grid = nullptr;
  TGridLog Log;

  void SetUp() override {
    VclTest::SetUp();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 420, 320);
    Grid = new TStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 360, 220);
    Log.Attach(Grid);
  }
  void ShowAndFocus() {
    Form->Show();
    Grid->SetFocus();
    Pump();
  }
  void Key(int vk, bool shift = false, bool ctrl = false) {
    if (ctrl) InputKey(VK_CONTROL, true);
    Press(vk, shift);
    if (ctrl) InputKey(VK_CONTROL, false);
    Pump();
  }
  POINT CellPoint(int col, int row, int dx = 5, int dy = 5) {
    TRect r = Grid->CellRect(col, row);
    return ScreenOf(Grid, r.Left + dx, r.Top + dy);
  }
  void ClickCell(int col, int row, bool shift = false) {
    POINT p = CellPoint(col, row);
    if (shift) InputKey(VK_SHIFT, true);
    InputMouseMove(p);
    InputMouseButton(TInputButton::Left, true, p);
    InputMouseButton(TInputButton::Left, false, p);
    if (shift) InputKey(VK_SHIFT, false);
    Pump();
  }
  void Drag(POINT from, POINT to) {
    InputMouseMove(from);
    InputMouseButton(TInputButton::Left, true, from);
    Pump();
    InputMouseMove(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    InputMouseMove(to);
    Pump();
    InputMouseButton(TInputButton::Left, false, to);
    Pump();
  }
};

// ---------------------------------------------------------------------------------------
// The refresh the application runs on its two grids: empty to the header row, then add
// rows one by one and fill them. No selection event may come out of it.
TEST_F(Grids, EmptyingToTheHeaderAndRefillingRaisesNoSelectCell) {
  Grid->SetColCount(3);
  Grid->SetFixedCols(2);
  Grid->SetRowCount(2);
  ShowAndFocus();
  Log.Events.clear();

  Grid->SetRowCount(1);
  EXPECT_EQ(Grid->FixedRows(), 0);
  EXPECT_EQ(Grid->Row(), 0);
  EXPECT_EQ(Grid->Col(), 2);
  for (int i = 0; i < 4; ++i) {
    Grid->SetRowCount(Grid->RowCount() + 1);
    Grid->SetCells(0, i + 1, "name" + std::to_string(i));
    Grid->SetCells(2, i + 1, "0");
  }
  EXPECT_TRUE(Log.Events.empty());
  // The library puts its header row back: the current cell moves without an event.
  Grid->SetFixedRows(1);
  EXPECT_TRUE(Log.Events.empty());
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Cells(0, 4), "name3");

  // Setting the row asks OnSelectCell and clicks; the same row again does nothing.
  Grid->SetRow(3);
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"select 2,3", "click"}));
  Log.Events.clear();
  Grid->SetRow(3);
  EXPECT_TRUE(Log.Events.empty());
}

TEST_F(Grids, SelectCellCanRefuseAMove) {
  Grid->SetRowCount(6);
  Log.Veto = true;
  Grid->SetRow(4);
  EXPECT_EQ(Grid->Row(), 1);
  ASSERT_EQ(Log.Selected.size(), 1u);
  EXPECT_EQ(Log.Selected[0], (TGridCoord{1, 4}));
  Log.Veto = false;
  Grid->SetCol(3);
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_THROW(Grid->SetRow(6), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetCol(-1), EInvalidGridOperation);
}

TEST_F(Grids, ShrinkingBelowTheCurrentRowSelectsTheLastRow) {
  Grid->SetRowCount(10);
  Grid->SetRow(8);
  Log.Selected.clear();
  Grid->SetRowCount(5);
  EXPECT_EQ(Grid->Row(), 4);
  ASSERT_EQ(Log.Selected.size(), 1u);
  EXPECT_EQ(Log.Selected[0], (TGridCoord{1, 4}));

  // Refused, the current cell still ends inside the grid.
  Log.Veto = true;
  Grid->SetRowCount(3);
  EXPECT_EQ(Grid->Row(), 2);
  Grid->SetColCount(2);
  EXPECT_EQ(Grid->Col(), 1);
  TGridRect sel = Grid->Selection();
  EXPECT_LE(sel.Right, 1);
  EXPECT_LE(sel.Bottom, 2);
}

TEST_F(Grids, FixedCountsMoveTheCurrentCellWithoutSelectCell) {
  Grid->SetRowCount(8);
  Grid->SetRow(5);
  Grid->SetCol(3);
  Log.Events.clear();
  Grid->SetFixedRows(2);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_EQ(Grid->Col(), 1);
  Grid->SetFixedRows(0);
  EXPECT_EQ(Grid->Row(), 0);
  EXPECT_TRUE(Log.Events.empty());
  EXPECT_THROW(Grid->SetFixedRows(8), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetFixedCols(5), EInvalidGridOperation);
  EXPECT_THROW(Grid->SetFixedCols(-1), EInvalidGridOperation);
  // Lowering a count to the fixed count lowers the fixed count.
  Grid->SetColCount(1);
  EXPECT_EQ(Grid->FixedCols(), 0);
  EXPECT_EQ(Grid->ColCount(), 1);
}

// ---------------------------------------------------------------------------------------
TEST_F(Grids, CellsBeyondTheCountsAreKept) {
  Grid->SetCells(7, 12, "hidden");
  EXPECT_EQ(Grid->Cells(7, 12), "hidden");
  Grid->SetColCount(9);
  Grid->SetRowCount(13);
  EXPECT_EQ(Grid->Cells(7, 12), "hidden");
  Grid->SetColCount(2);
  Grid->SetRowCount(2);
  Grid->SetColCount(9);
  Grid->SetRowCount(13);
  EXPECT_EQ(Grid->Cells(7, 12), "hidden");
  TStringList dummy;
  Grid->SetObjects(8, 20, &dummy);
  EXPECT_EQ(Grid->Objects(8, 20), &dummy);
  EXPECT_EQ(Grid->Cells(8, 20), "");
  EXPECT_THROW(Grid->SetCells(-1, 0, "x"), EInvalidGridOperation);
}

// The store against a plain map of cells through a long mix of edits, moves, deletions,
// size changes and cells far beyond the grid.
// Drives the string grid through random edits and checks every cell against a plain
// map; with RowHandles the row-handle operations (and far objects) join the edits.
void CheckStoreAgainstAPlainMap(TStringGrid* Grid, bool RowHandles) {
  using TKey = std::pair<int, int>;  // (col, row)
  std::map<TKey, std::string> texts;
  std::map<TKey, TObject*> objects;
  TStringList a, b;
  TObject* pool[] = {&a, &b};
  auto remap = [](auto& m, auto f) {
    std::remove_reference_t<decltype(m)> out;
    for (auto& [k, v] : m) {
      TKey n = f(k);
      if (n.first >= 0) out[n] = v;
    }
    m.swap(out);
  };
  auto adjust = [](int p, int from, int to) {
    if (p == from) return to;
    if (p > from && p <= to) return p - 1;
    if (p < from && p >= to) return p + 1;
    return p;
  };
  Grid->SetColCount(6);
  Grid->SetRowCount(8);
  std::srand(7);
  auto rowMap = [&](auto f) {
    auto g = [&](TKey k) {
      int row = f(k.second);
      return row < 0 ? TKey{-1, -1} : TKey{k.first, row};
    };
    remap(texts, g);
    remap(objects, g);
  };
  for (int step = 0; step < (RowHandles ? 4000 : 1500); ++step) {
    int op = std::rand() % (RowHandles ? 26 : 20), c = std::rand() % 9, r = std::rand() % 12;
    int cols = Grid->ColCount(), rows = Grid->RowCount();
    if (op >= 20) {
      int first = std::min(r, c), last = std::max(r, c);
      if (op == 20 && last < rows) {
        int shift = std::rand() % 7 - 3;
        Grid->MoveRowSlots(first, last, shift, false);
        int n = last - first + 1, k = ((shift % n) + n) % n;
        rowMap([&](int row) { return row >= first && row <= last ? first + (row - first + k) % n : row; });
      } else if (op == 21 && r < rows && c < rows) {
        Grid->ExchangeRows(r, c, false);
        rowMap([&](int row) { return row == r ? c : row == c ? r : row; });
      } else if (op == 22 && last < rows) {
        // Rows first..last take a random order.
        std::vector<int> dest, src;
        for (int i = first; i <= last; ++i) dest.push_back(i);
        src = dest;
        for (size_t i = src.size(); i > 1; --i) std::swap(src[i - 1], src[size_t(std::rand()) % i]);
        Grid->PermuteRowSlots(dest, src, false);
        std::map<int, int> to;
        for (size_t i = 0; i < src.size(); ++i) to[src[i]] = dest[i];
        rowMap([&](int row) { return to.count(row) ? to[row] : row; });
      } else if (op == 23) {
        Grid->ClearRowSlots(first, last + 1);
        rowMap([&](int row) { return row >= first && row <= last + 1 ? -1 : row; });
      } else if (op == 24) {
        TObject* o = pool[step % 2];
        Grid->SetObjects(c, r + 500000, o);  // far below the rows held
        objects[{c, r + 500000}] = o;
      } else if (op == 25) {
        Grid->ClearRowSlots(r + 500000, r + 500001);
        rowMap([&](int row) { return row == r + 500000 || row == r + 500001 ? -1 : row; });
      }
      continue;
    }
    if (op < 9) {
      std::string t = op == 0 ? "" : std::to_string(step) + (op == 1 ? std::string(40, 'x') : "");
      if (op == 2) r += 1000000;  // far below anything held
      Grid->SetCells(c, r, t);
      if (t.empty()) texts.erase({c, r});
      else texts[{c, r}] = t;
    } else if (op < 12) {
      TObject* o = op == 9 ? nullptr : pool[op % 2];
      Grid->SetObjects(c, r, o);
      if (o) objects[{c, r}] = o;
      else objects.erase({c, r});
    } else if (op == 12 && c < cols && r % cols < cols) {
      int to = r % cols;
      Grid->MoveColumn(c, to);
      auto f = [&](TKey k) { return TKey{adjust(k.first, c, to), k.second}; };
      remap(texts, f);
      remap(objects, f);
    } else if (op == 13 && r < rows && c < rows) {
      Grid->MoveRow(r, c);
      auto f = [&](TKey k) { return TKey{k.first, adjust(k.second, r, c)}; };
      remap(texts, f);
      remap(objects, f);
    } else if (op == 14 && r < rows && rows > 2) {
      Grid->DeleteRow(r);
      auto f = [&](TKey k) {
        int n = adjust(k.second, r, rows - 1);
        return n == rows - 1 ? TKey{-1, -1} : TKey{k.first, n};
      };
      remap(texts, f);
      remap(objects, f);
    } else if (op == 15 && c < cols && cols > 2) {
      Grid->DeleteColumn(c);
      auto f = [&](TKey k) {
        int n = adjust(k.first, c, cols - 1);
        return n == cols - 1 ? TKey{-1, -1} : TKey{n, k.second};
      };
      remap(texts, f);
      remap(objects, f);
    } else if (op == 16) {
      Grid->SetRowCount(2 + r);
    } else if (op == 17) {
      Grid->SetColCount(2 + c);
    }
  }
  for (int r = 0; r < 14; ++r)
    for (int c = 0; c < 11; ++c) {
      auto t = texts.find({c, r});
      auto o = objects.find({c, r});
      ASSERT_EQ(Grid->Cells(c, r), t == texts.end() ? "" : t->second) << c << "," << r;
      ASSERT_EQ(Grid->Objects(c, r), o == objects.end() ? nullptr : o->second) << c << "," << r;
    }
  for (auto& [k, t] : texts)
    if (k.second >= 1000000) EXPECT_EQ(Grid->Cells(k.first, k.second), t);
  for (auto& [k, o] : objects) EXPECT_EQ(Grid->Objects(k.first, k.second), o) << k.first << "," << k.second;
  Grid->SetCells(2000000000, 2000000000, "far");
  EXPECT_EQ(Grid->Cells(2000000000, 2000000000), "far") << "a huge index costs one entry, not a dense block";
}

TEST_F(Grids, CellStoreMatchesAPlainMapThroughEveryEdit) { CheckStoreAgainstAPlainMap(Grid, false); }

TEST_F(Grids, RowHandleMovesMatchAPlainMap) { CheckStoreAgainstAPlainMap(Grid, true); }

// Inserting and removing rows through the row handles: objects stay with their rows,
// heights follow (or stay with Heights off), the current cell stays where it is and no
// move event fires; bad ranges and mismatched permutations raise and change nothing.
TEST_F(Grids, RowHandlesCarryTextsObjectsAndHeights) {
  TStringList a, b;
  std::vector<std::string> events;
  Grid->OnRowMoved = [&](TObject*, int f, int t) { events.push_back(std::to_string(f) + ">" + std::to_string(t)); };
  Grid->SetRowCount(6);
  for (int r = 0; r < 6; ++r) Grid->SetCells(2, r, "r" + std::to_string(r));
  Grid->SetObjects(9, 2, &a);  // a hidden column beyond ColCount
  Grid->SetObjects(0, 4, &b);
  Grid->SetRowHeights(2, 40);
  Grid->SetRow(3);
  // Insert two rows at 2.
  Grid->SetRowCount(8);
  Grid->MoveRowSlots(2, 7, 2);
  Grid->ClearRowSlots(2, 3);
  std::vector<std::string> col;
  for (int r = 0; r < 8; ++r) col.push_back(Grid->Cells(2, r));
  EXPECT_EQ(col, (std::vector<std::string>{"r0", "r1", "", "", "r2", "r3", "r4", "r5"}));
  EXPECT_EQ(Grid->Objects(9, 4), &a);
  EXPECT_EQ(Grid->Objects(0, 6), &b);
  EXPECT_EQ(Grid->Objects(9, 2), nullptr);
  EXPECT_EQ(Grid->RowHeights(4), 40);
  EXPECT_EQ(Grid->RowHeights(2), Grid->DefaultRowHeight());
  EXPECT_EQ(Grid->Row(), 3);
  EXPECT_TRUE(events.empty());
  // Remove three rows at 1, heights staying where they are.
  Grid->MoveRowSlots(1, 7, -3, false);
  Grid->ClearRowSlots(5, 7);
  Grid->SetRowCount(5);
  col.clear();
  for (int r = 0; r < 5; ++r) col.push_back(Grid->Cells(2, r));
  EXPECT_EQ(col, (std::vector<std::string>{"r0", "r2", "r3", "r4", "r5"}));
  EXPECT_EQ(Grid->Objects(9, 1), &a);
  EXPECT_EQ(Grid->Objects(0, 3), &b);
  EXPECT_EQ(Grid->RowHeights(4), 40);
  Grid->SetRowCount(8);
  for (int r = 5; r < 8; ++r) EXPECT_EQ(Grid->Cells(2, r), "") << "removed rows stay removed";
  Grid->SetRowHeights(3, 33);
  Grid->ExchangeRows(1, 3);
  EXPECT_EQ(Grid->Cells(2, 1), "r4");
  EXPECT_EQ(Grid->Objects(0, 1), &b);
  EXPECT_EQ(Grid->Objects(9, 3), &a);
  EXPECT_EQ(Grid->RowHeights(1), 33);
  EXPECT_EQ(Grid->RowHeights(3), Grid->DefaultRowHeight());
  EXPECT_EQ(Grid->RowHeights(4), 40);

  EXPECT_THROW(Grid->MoveRowSlots(3, 8, 1), EInvalidGridOperation);
  EXPECT_THROW(Grid->MoveRowSlots(-1, 2, 1), EInvalidGridOperation);
  EXPECT_THROW(Grid->PermuteRowSlots({1, 2}, {1, 3}), EInvalidGridOperation);
  EXPECT_THROW(Grid->PermuteRowSlots({1, 1}, {1, 1}), EInvalidGridOperation);
  EXPECT_THROW(Grid->PermuteRowSlots({1, 2}, {2}), EInvalidGridOperation);
  EXPECT_THROW(Grid->ExchangeRows(1, 8), EInvalidGridOperation);
  EXPECT_EQ(Grid->Cells(2, 1), "r4") << "a refused move changes nothing";
  EXPECT_EQ(Grid->Cells(2, 3), "r2");
  EXPECT_EQ(Grid->RowHeights(1), 33);
}

// Moving and deleting rows keeps each object with its row whatever the grid's width.
TEST_F(Grids, ObjectsFollowTheirRowThroughMovesAndDeletes) {
  std::vector<std::unique_ptr<TStringList>> pool;
  Grid->SetColCount(30);
  Grid->SetRowCount(50);
  for (int r = 0; r < 50; r += 3) {
    pool.push_back(std::make_unique<TStringList>());
    Grid->SetObjects(r % 30, r, pool.back().get());
  }
  Grid->MoveRow(48, 0);  // 48 -> 0, rows 0..47 down one
  Grid->DeleteRow(10);   // was row 9
  EXPECT_EQ(Grid->Objects(18, 0), pool[16].get());
  EXPECT_EQ(Grid->Objects(0, 1), pool[0].get());
  EXPECT_EQ(Grid->Objects(3, 4), pool[1].get());
  EXPECT_EQ(Grid->Objects(9, 9), nullptr) << "row 9 was deleted with its object";
  EXPECT_EQ(Grid->Objects(9, 10), nullptr);
  EXPECT_EQ(Grid->Objects(12, 12), pool[4].get());
  Grid->SetRowCount(50);
  EXPECT_EQ(Grid->Objects(9, 49), nullptr);
}

// Filling a large grid row by row grows its rows ahead in batches: every cell set reads
// back, the rows grown ahead hold nothing, and a deleted row stays deleted.
TEST_F(Grids, ARowByRowFillKeepsEveryCellAndNothingMore) {
  Grid->SetColCount(3);
  Grid->SetRowCount(5000);
  for (int r = 0; r < 4000; ++r) Grid->SetCells(r % 3, r, "r" + std::to_string(r));
  for (int r = 0; r < 5000; ++r)
    for (int c = 0; c < 3; ++c)
      ASSERT_EQ(Grid->Cells(c, r), r < 4000 && c == r % 3 ? "r" + std::to_string(r) : "") << c << "," << r;
  Grid->DeleteRow(10);
  EXPECT_EQ(Grid->Cells(11 % 3, 10), "r11");
  EXPECT_EQ(Grid->Cells(0, 3998), "r3999");
  Grid->SetRowCount(5000);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(Grid->Cells(c, 4999), "") << "the deleted row stays deleted";
  Grid->MoveRow(3998, 0);
  EXPECT_EQ(Grid->Cells(0, 0), "r3999");
  EXPECT_EQ(Grid->Cells(0, 1), "r0");
  Grid->SetCells(1, 4999, "last");
  Grid->SetCells(2, 9000, "beyond");  // beyond the count, near the rows held
  EXPECT_EQ(Grid->Cells(1, 4999), "last");
  EXPECT_EQ(Grid->Cells(2, 9000), "beyond");
  EXPECT_EQ(Grid->Cells(2, 8999), "");
}

TEST_F(Grids, AHugeSparseGridKeepsItsFewCellsWithoutADenseBlock) {
  Grid->SetColCount(200000);
  Grid->SetRowCount(300000);
  Grid->SetCells(1, 1, "a");
  Grid->SetCells(199999, 299999, "z");
  Grid->SetCells(150000, 2, "m");
  Grid->MoveColumn(150000, 0);
  Grid->MoveRow(299999, 0);
  EXPECT_EQ(Grid->Cells(0, 3), "m");
  EXPECT_EQ(Grid->Cells(2, 2), "a");
  EXPECT_EQ(Grid->Cells(199999, 0), "z");
  Grid->DeleteRow(0);
  Grid->SetRowCount(300000);
  EXPECT_EQ(Grid->Cells(199999, 299999), "") << "a deleted row stays deleted";
  EXPECT_EQ(Grid->Cells(0, 2), "m");
}

TEST_F(Grids, RowsAndColsAreStringListsOfTheGridSize) {
  Grid->SetCells(4, 2, "keep");
  Grid->SetCells(6, 2, "beyond");
  TStringList src;
  for (const char* s : {"a", "b", "c", "d", "e", "f", "g"}) src.Add(s);
  Grid->SetRows(1, &src);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(Grid->Cells(c, 1), src[c]);
  EXPECT_EQ(Grid->Cells(5, 1), "");  // only ColCount cells are copied

  TStringList shorter;
  shorter.Add("x");
  shorter.Add("y");
  Grid->Rows(2)->Assign(&shorter);
  EXPECT_EQ(Grid->Cells(0, 2), "x");
  EXPECT_EQ(Grid->Cells(1, 2), "y");
  EXPECT_EQ(Grid->Cells(4, 2), "keep");
  EXPECT_EQ(Grid->Cells(6, 2), "beyond");

  TStrings* col = Grid->Cols(0);
  EXPECT_EQ(col->Count(), 5);
  EXPECT_EQ(col->Strings(1), "a");
  col->SetStrings(3, "z");
  EXPECT_EQ(Grid->Cells(0, 3), "z");
  EXPECT_THROW(col->Insert(0, "q"), EInvalidGridOperation);
  EXPECT_THROW(col->Delete(0), EInvalidGridOperation);
  EXPECT_THROW(col->Strings(5), EInvalidGridOperation);
  Grid->Rows(1)->Clear();
  EXPECT_EQ(Grid->Cells(2, 1), "");
}

TEST_F(Grids, MovingAndDeletingCarryTheData) {
  Grid->SetRowCount(4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 5; ++c) Grid->SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
  std::vector<std::string> moved;
  Grid->OnColumnMoved = [&](TObject*, int f, int t) { moved.push_back("col " + std::to_string(f) + ">" + std::to_string(t)); };
  Grid->OnRowMoved = [&](TObject*, int f, int t) { moved.push_back("row " + std::to_string(f) + ">" + std::to_string(t)); };
  Grid->SetColWidths(1, 30);
  Grid->SetCol(1);
  Grid->MoveColumn(1, 3);
  EXPECT_EQ(Grid->Cells(3, 0), "1:0");
  EXPECT_EQ(Grid->Cells(1, 2), "2:2");
  EXPECT_EQ(Grid->ColWidths(3), 30);
  EXPECT_EQ(Grid->Col(), 3);  // the current cell follows its data
  Grid->MoveRow(3, 1);
  EXPECT_EQ(Grid->Cells(0, 1), "0:3");
  EXPECT_EQ(Grid->Cells(0, 2), "0:1");
  EXPECT_EQ(moved, (std::vector<std::string>{"col 1>3", "row 3>1"}));

  Grid->DeleteRow(1);
  EXPECT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(Grid->Cells(0, 1), "0:1");
  // The deleted row does not come back when the grid grows again.
  Grid->SetRowCount(4);
  EXPECT_EQ(Grid->Cells(0, 3), "");
  Grid->DeleteColumn(0);
  EXPECT_EQ(Grid->ColCount(), 4);
  EXPECT_EQ(Grid->Cells(0, 0), "2:0");
  EXPECT_THROW(Grid->MoveRow(0, 9), EInvalidGridOperation);
}

// Cell rectangles of blocks against positions summed cell by cell: fixed cells first,
// then the scrollable cells from the top-left one; cells scrolled out are not in view.
TEST_F(Grids, BoxRectsMatchSummedPositionsForAnyBlock) {
  ShowAndFocus();
  Grid->SetColCount(30);
  Grid->SetRowCount(60);
  Grid->SetFixedCols(2);
  Grid->SetFixedRows(2);
  for (int r = 0; r < 60; ++r) Grid->SetRowHeights(r, r % 7 == 3 ? 0 : 10 + r % 5);
  for (int c = 0; c < 30; ++c) Grid->SetColWidths(c, c % 5 == 1 ? 0 : 30 + c % 4);
  Grid->SetOptions(Grid->Options() - goVertLine);  // no vertical lines: width 0 between columns
  TRect client = Grid->ClientRect();
  struct TAxis {
    int fixed, first, count, extent, line;
    std::vector<int> ext;
    // Start of a cell in view, or -1 for a scrolled-out one.
    int start(int i) const {
      if (i >= fixed && i < first) return -1;
      int p = 0;
      for (int j = 0; j < std::min(i, fixed); ++j) p += ext[j] + line;
      for (int j = first; j < i; ++j) p += ext[j] + line;
      return p;
    }
    bool span(int lo, int hi, int& s, int& e) const {
      int f = -1, l = -1;
      for (int i = std::max(lo, 0); i <= std::min(hi, count - 1); ++i) {
        int p = start(i);
        if (p < 0) continue;
        if (f < 0) f = i;
        if (p < extent) l = i;
      }
      if (f < 0 || start(f) >= extent) return false;
      s = start(f);
      e = std::min(start(l) + ext[l], extent);
      return true;
    }
  };
  for (int top : {2, 9, 40}) {
    Grid->SetTopRow(top);
    Grid->SetLeftCol(top % 20);
    TAxis h{2, Grid->LeftCol(), 30, client.Right - client.Left, 0, {}}, v{2, Grid->TopRow(), 60, client.Bottom - client.Top, 1, {}};
    for (int c = 0; c < 30; ++c) h.ext.push_back(Grid->ColWidths(c));
    for (int r = 0; r < 60; ++r) v.ext.push_back(Grid->RowHeights(r));
    const int picks[] = {-3, 0, 1, 2, 3, 8, 9, 10, 17, 25, 39, 40, 41, 59, 70};
    for (int a : picks)
      for (int b : picks) {
        if (a > b) continue;
        TRect got = Grid->BoxRect(0, a, 3, b);
        int hs = 0, he = 0, vs = 0, ve = 0;
        bool in = h.span(0, 3, hs, he) && v.span(a, b, vs, ve);
        TRect want = in ? TRect{hs, vs, he, ve} : TRect{};
        ASSERT_EQ(got, want) << "rows " << a << ".." << b << " top " << top;
        got = Grid->BoxRect(a % 30, 1, b % 30 < a % 30 ? 29 : b % 30, 5);
        in = h.span(a % 30, b % 30 < a % 30 ? 29 : b % 30, hs, he) && v.span(1, 5, vs, ve);
        want = in ? TRect{hs, vs, he, ve} : TRect{};
        ASSERT_EQ(got, want) << "cols " << a % 30 << " top " << top;
      }
  }
}

// ---------------------------------------------------------------------------------------
TEST_F(Grids, SizesAndGeometry) {
  ShowAndFocus();
  Grid->SetDefaultColWidth(50);
  Grid->SetDefaultRowHeight(20);
  Grid->SetColWidths(2, 80);
  EXPECT_EQ(Grid->ColWidths(2), 80);
  // Cell rectangles: fixed column 0 at 0, lines 1 pixel wide.
  EXPECT_EQ(Grid->CellRect(0, 0), (TRect{0, 0, 50, 20}));
  EXPECT_EQ(Grid->CellRect(2, 1), (TRect{102, 21, 182, 41}));
  int c = -2, r = -2;
  Grid->MouseToCell(110, 30, c, r);
  EXPECT_EQ(c, 2);
  EXPECT_EQ(r, 1);
  Grid->MouseToCell(101, 30, c, r);  // on the line: the cell before it
  EXPECT_EQ(c, 1);
  EXPECT_EQ(Grid->MouseCoord(-3, 5), (TGridCoord{-1, -1}));
  // Setting the default resets every width.
  Grid->SetDefaultColWidth(40);
  EXPECT_EQ(Grid->ColWidths(2), 40);
  EXPECT_THROW(Grid->SetColWidths(5, 10), EInvalidGridOperation);

  // Out of view: scrolled off or beyond the client area.
  Grid->SetRowCount(40);
  Grid->SetTopRow(10);
  EXPECT_EQ(Grid->CellRect(1, 5), TRect{});
  EXPECT_EQ(Grid->CellRect(1, 39), TRect{});
  EXPECT_EQ(Grid->CellRect(1, 10).Top, 21);
  EXPECT_EQ(Grid->CellRect(0, 0).Top, 0);  // fixed cells stay
  EXPECT_EQ(Grid->MouseCoord(5, 25), (TGridCoord{0, 10}));
}

TEST_F(Grids, KeyboardNavigation) {
  Grid->SetRowCount(30);
  Grid->SetColCount(8);
  Grid->SetOptions(Grid->Options() + goTabs);
  ShowAndFocus();
  struct TCase {
    int Vk;
    bool Shift, Ctrl;
    TGridCoord Expected;
  };
  const TCase cases[] = {
      {VK_DOWN, false, false, {1, 2}},   {VK_RIGHT, false, false, {2, 2}}, {VK_END, false, false, {7, 2}},
      {VK_HOME, false, false, {1, 2}},   {VK_END, false, true, {7, 29}},   {VK_HOME, false, true, {1, 1}},
      {VK_UP, false, false, {1, 1}},     {VK_LEFT, false, false, {1, 1}},  {VK_TAB, false, false, {2, 1}},
      {VK_TAB, true, false, {1, 1}},     {VK_TAB, true, false, {7, 29}},   {VK_TAB, false, false, {1, 1}},
  };
  for (const TCase& k : cases) {
    Key(k.Vk, k.Shift, k.Ctrl);
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), k.Expected) << "key " << k.Vk;
  }
  // Page Down moves by a page and keeps the current cell in view.
  Key(VK_NEXT);
  int page = Grid->Row() - 1;
  EXPECT_GT(page, 3);
  EXPECT_GE(Grid->Row(), Grid->TopRow());
  EXPECT_LT(Grid->Row(), Grid->TopRow() + Grid->VisibleRowCount());
  Key(VK_PRIOR);
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(Grids, OnKeyDownRunsFirstAndCanSwallowTheKey) {
  ShowAndFocus();
  std::vector<WORD> seen;
  Grid->OnKeyDown = [&](TObject*, WORD& k, TShiftState) {
    seen.push_back(k);
    if (k == VK_RIGHT) k = 0;
  };
  Key(VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 1);
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_EQ(seen, (std::vector<WORD>{VK_RIGHT, VK_DOWN}));
}

TEST_F(Grids, TabWithoutGoTabsLeavesTheGrid) {
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 250, 100, 20);
  other->SetTabOrder(1);
  ShowAndFocus();
  Key(VK_TAB);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Form->ActiveControl(), other);
}

TEST_F(Grids, ShiftArrowsAndShiftClickSelectARange) {
  Grid->SetRowCount(10);
  ShowAndFocus();
  Key(VK_DOWN, true);
  Key(VK_RIGHT, true);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 2}));
  ClickCell(3, 4);
  EXPECT_EQ(Grid->Selection(), (TGridRect{3, 4, 3, 4}));
  ClickCell(1, 2, true);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 3, 4}));
  EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{3, 4}));
  // Dragging selects from the press to the release.
  Drag(CellPoint(2, 1), CellPoint(4, 3));
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 4, 3}));
  EXPECT_EQ(Grid->GridState(), gsNormal);
  // Without goRangeSelect a shift-click just moves.
  Grid->SetOptions(Grid->Options() - goRangeSelect);
  ClickCell(1, 1);
  ClickCell(2, 2, true);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));
}

TEST_F(Grids, MouseSizesAndMovesColumns) {
  Grid->SetOptions(Grid->Options() + goColSizing + goColMoving + goRowSizing);
  for (int c = 0; c < 5; ++c) Grid->SetCells(c, 1, "c" + std::to_string(c));
  ShowAndFocus();
  // Drag the line after column 1 (at x 129) 20 pixels to the right.
  TRect c1 = Grid->CellRect(1, 0);
  Drag(ScreenOf(Grid, c1.Right, 5), ScreenOf(Grid, c1.Right + 20, 5));
  EXPECT_EQ(Grid->ColWidths(1), 84);
  // Drag the header of column 1 onto column 3.
  std::vector<std::pair<int, int>> moves;
  Grid->OnColumnMoved = [&](TObject*, int f, int t) { moves.push_back({f, t}); };
  Drag(CellPoint(1, 0, 20, 5), CellPoint(3, 0, 20, 5));
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0], (std::pair<int, int>{1, 3}));
  EXPECT_EQ(Grid->Cells(3, 1), "c1");
  EXPECT_EQ(Grid->ColWidths(3), 84);
  // Row sizing on the fixed column.
  TRect r1 = Grid->CellRect(0, 1);
  Drag(ScreenOf(Grid, 5, r1.Bottom), ScreenOf(Grid, 5, r1.Bottom + 10));
  EXPECT_EQ(Grid->RowHeights(1), 34);
  EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(Grids, ScrollingKeepsTheCurrentCellInView) {
  Grid->SetRowCount(100);
  ShowAndFocus();
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(Grid->Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax - int(si.nPage) + 1, 127);  // positions 0..127, thumb in proportion
  EXPECT_GT(si.nPage, 0u);
  EXPECT_TRUE(GetWindowLong(Grid->Handle(), GWL_STYLE) & WS_VSCROLL);

  Grid->SetRow(50);
  EXPECT_LE(Grid->TopRow(), 50);
  EXPECT_GE(Grid->TopRow() + Grid->VisibleRowCount() - 1, 50);
  EXPECT_GT(GetScrollPos(Grid->Handle(), SB_VERT), 0);
  int top = Grid->TopRow();
  Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Grid->TopRow(), top + 1);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 127), 0);
  EXPECT_EQ(Grid->TopRow() + Grid->VisibleRowCount(), 100);
  Grid->Perform(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Grid->TopRow(), 1);
  // Dragging the thumb scrolls along only with goThumbTracking.
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 64), 0);
  EXPECT_EQ(Grid->TopRow(), 1);
  Grid->SetOptions(Grid->Options() + goThumbTracking);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 64), 0);
  EXPECT_GT(Grid->TopRow(), 30);
  Grid->Perform(WM_VSCROLL, SB_TOP, 0);
  // The wheel moves the current row.
  int row = Grid->Row();
  Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Grid->Row(), row + 1);
  Grid->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(2 * WHEEL_DELTA)), 0);
  EXPECT_EQ(Grid->Row(), row - 1);
  // All rows fitting hides the bar.
  Grid->SetRowCount(3);
  EXPECT_FALSE(GetWindowLong(Grid->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(Grids, SelectingBeyondTheEdgeScrollsOnTheTimer) {
  Grid->SetRowCount(60);
  ShowAndFocus();
  POINT start = CellPoint(1, 2);
  InputMouseMove(start);
  InputMouseButton(TInputButton::Left, true, start);
  Pump();
  POINT below = ScreenOf(Grid, 30, Grid->ClientHeight() + 15);
  InputMouseMove(below);
  Pump();
  Backend.Advance(600);
  EXPECT_GT(Grid->TopRow(), 1);
  EXPECT_GT(Grid->Selection().Bottom, Grid->VisibleRowCount());
  InputMouseButton(TInputButton::Left, false, below);
  Pump();
  EXPECT_EQ(Grid->GridState(), gsNormal);
  int top = Grid->TopRow();
  Backend.Advance(600);
  EXPECT_EQ(Grid->TopRow(), top);
}

TEST_F(Grids, SizingLinesShowTheSplitCursorAndScaleFollowsTheDpi) {
  Grid->SetOptions(Grid->Options() + goColSizing);
  ShowAndFocus();
  TRect c1 = Grid->CellRect(1, 0);
  MoveTo(Grid, c1.Right, 5);
  EXPECT_EQ(GetCursor(), Screen->Cursors(crHSplit));
  MoveTo(Grid, c1.Right - 20, 5);
  EXPECT_NE(GetCursor(), Screen->Cursors(crHSplit));
  MoveTo(Grid, c1.Right, c1.Bottom + 10);  // only on the fixed rows
  EXPECT_NE(GetCursor(), Screen->Cursors(crHSplit));

  Grid->SetColWidths(2, 100);
  Grid->ScaleBy(3, 2);
  EXPECT_EQ(Grid->ColWidths(2), 150);
  EXPECT_EQ(Grid->ColWidths(1), 96);
  EXPECT_EQ(Grid->DefaultColWidth(), 96);
}

TEST_F(Grids, SelectionIsTheRectangleOfCurrentCellAndAnchor) {
  Grid->SetRowCount(8);
  Grid->SetSelection(TGridRect{1, 2, 3, 4});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 3, 4}));
  EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{3, 4}));
  EXPECT_TRUE(Log.Events.empty());  // no selection event
  // Row selection spans the scrollable columns of the current row.
  Grid->SetOptions(Grid->Options() + goRowSelect);
  Grid->SetRow(5);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 5, 4, 5}));
  EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(Grids, DrawGridCellsArePaintedByOnDrawCell) {
  auto* dg = new TDrawGrid(Form);
  dg->SetParent(Form);
  dg->SetBounds(10, 10, 300, 150);
  dg->SetDefaultDrawing(false);
  std::map<std::pair<int, int>, TGridDrawState> states;
  dg->OnDrawCell = [&](TObject*, int c, int r, TRect rect, TGridDrawState st) {
    states[{c, r}] = st;
    dg->Canvas()->Brush()->SetColor(st.Contains(gdFixed) ? clRed : clLime);
    dg->Canvas()->FillRect(rect);
  };
  Form->Show();
  dg->SetFocus();
  Pump();
  EXPECT_EQ(Pixel(dg, 5, 5), ColorToRGB(clRed));
  TRect cell = dg->CellRect(2, 2);
  EXPECT_EQ(Pixel(dg, cell.Left + 3, cell.Top + 3), ColorToRGB(clLime));
  EXPECT_TRUE(states[std::make_pair(0, 0)].Contains(gdFixed));
  EXPECT_EQ(states[std::make_pair(1, 1)], (TGridDrawState{gdFocused, gdSelected}));
  EXPECT_TRUE(states[std::make_pair(2, 2)].Empty());
  // Scrolled out of view, a cell is not painted.
  dg->SetRowCount(40);
  dg->SetTopRow(20);
  states.clear();
  UpdateAllWindows();
  EXPECT_EQ(states.count(std::make_pair(1, 2)), 0u);
  EXPECT_EQ(states.count(std::make_pair(1, 20)), 1u);
}

// ---------------------------------------------------------------------------------------
TEST_F(Grids, StoredFormRoundTrip) {
  Grid->SetName("Grid1");
  Grid->SetColCount(3);
  Grid->SetFixedCols(2);
  Grid->SetRowCount(2);
  Grid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
  Grid->SetColWidths(0, 141);
  Grid->SetColWidths(1, 76);
  Grid->SetRowHeights(0, 55);
  Grid->SetScrollBars(ssVertical);
  std::string text = WriteComponentToText(Grid);
  EXPECT_NE(text.find("Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("ColWidths = ("), std::string::npos) << text;

  auto copyOwner = std::make_unique<TForm>(nullptr);
  auto* copy = new TStringGrid(copyOwner.get());
  ReadComponentFromText(text, copy);
  EXPECT_EQ(copy->ColCount(), 3);
  EXPECT_EQ(copy->FixedCols(), 2);
  EXPECT_EQ(copy->RowCount(), 2);
  EXPECT_EQ(copy->Options(), Grid->Options());
  EXPECT_EQ(copy->ColWidths(0), 141);
  EXPECT_EQ(copy->ColWidths(1), 76);
  EXPECT_EQ(copy->ColWidths(2), 64);
  EXPECT_EQ(copy->RowHeights(0), 55);
  EXPECT_EQ(copy->ScrollBars(), ssVertical);
}

// Counts no desktop can hold are refused before anything changes, set directly or read
// from a stored form.
TEST_F(Grids, CountsTooLargeToHoldAreRefusedAndLeaveTheGridAsItWas) {
  Grid->SetCells(2, 3, "kept");
  Grid->SetColWidths(1, 40);
  const int big = 2147483647;
  struct Case {
    int cols, rows;
  } cases[] = {{5, big}, {big, 5}, {big, big}, {5, TCustomGrid::MaxGridCount + 1},
               {200000, TCustomGrid::MaxGridCount}};  // each count allowed, the cells not
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.cols) + " x " + std::to_string(c.rows));
    EXPECT_THROW(
        {
          Grid->SetColCount(c.cols);
          Grid->SetRowCount(c.rows);
        },
        EInvalidGridOperation);
    Grid->SetColCount(5);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->Cells(2, 3), "kept");
    EXPECT_EQ(Grid->ColWidths(1), 40);
    EXPECT_EQ(Grid->Row(), 1);
  }
  try {
    Grid->SetRowCount(big);
  } catch (const EInvalidGridOperation& e) {
    EXPECT_EQ(e.Message(), "Grid too large for operation");
  }
  Grid->SetRowCount(1000);  // ordinary sizes still grow
  EXPECT_EQ(Grid->RowCount(), 1000);

  for (const char* prop : {"RowCount", "ColCount"}) {
    auto owner = std::make_unique<TForm>(nullptr);
    auto* copy = new TStringGrid(owner.get());
    const std::string text = std::string("object Grid1: TStringGrid\n  ") + prop + " = 2147483647\nend\n";
    try {
      ReadComponentFromText(text, copy);
      ADD_FAILURE() << prop << " read";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find("Grid1." + std::string(prop) + ": Grid too large for operation"), std::string::npos)
          << e.Message();
    }
    EXPECT_EQ(copy->RowCount(), 5);
    EXPECT_EQ(copy->ColCount(), 5);
  }
}

TEST_F(Grids, PaintsTheClassicLook) {
  Grid->SetColCount(4);
  Grid->SetRowCount(6);
  for (int c = 0; c < 4; ++c) Grid->SetCells(c, 0, "Head " + std::to_string(c));
  for (int r = 1; r < 6; ++r) {
    Grid->SetCells(0, r, "Row " + std::to_string(r));
    for (int c = 1; c < 4; ++c) Grid->SetCells(c, r, std::to_string(r * 10 + c));
  }
  Grid->SetColWidths(0, 80);
  ShowAndFocus();
  Grid->SetSelection(TGridRect{2, 2, 3, 3});
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 250, 100, 20);
  other->SetFocus();
  Pump();
  // Fixed cells in the button face, scrollable cells in the window colour, the selection
  // highlighted when the grid is not focused, silver lines between scrollable cells.
  TRect fixed = Grid->CellRect(1, 0), cell = Grid->CellRect(1, 1), sel = Grid->CellRect(2, 2);
  EXPECT_EQ(Pixel(Grid, fixed.Right - 3, fixed.Bottom - 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(Grid, cell.Right - 3, cell.Bottom - 3), ColorToRGB(clWindow));
  EXPECT_EQ(Pixel(Grid, sel.Right - 3, sel.Bottom - 3), ColorToRGB(clHighlight));
  EXPECT_EQ(Pixel(Grid, cell.Right, cell.Bottom - 3), ColorToRGB(clSilver));
  EXPECT_EQ(Pixel(Grid, fixed.Right, fixed.Bottom - 5), ColorToRGB(clBlack));
  if (const char* dir = std::getenv("LORM_TEST_PNG_DIR")) {
    UpdateAllWindows();
    auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(Form->Handle()));
    cairo_surface_write_to_png(s, (std::string(dir) + "/grid.png").c_str());
  }
}

// ---------------------------------------------------------------------------------------
// Editing through the in-place editor.
class GridEditing : public Grids {
protected:
  std::vector<std::string> SetTexts;
  void SetUp() override {
    Grids::SetUp();
    Grid->SetOptions(Grid->Options() + goEditing);
    Grid->SetRowCount(6);
    Grid->SetCells(1, 1, "old");
    Grid->SetCells(1, 2, "below");
    Grid->OnSetEditText = [this](TObject*, int c, int r, const std::string& v) {
      SetTexts.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
    };
    ShowAndFocus();
  }
  TInplaceEdit* Editor() { return Grid->InplaceEditor(); }
  bool EditorShown() { return Editor() && Editor()->Visible(); }
};

TEST_F(GridEditing, F2EditsAndEnterCommits) {
  EXPECT_FALSE(Grid->EditorMode());
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(Editor()->Text(), "old");
  EXPECT_EQ(GetFocus(), Editor()->Handle());
  EXPECT_EQ(Form->ActiveControl(), Grid);  // the grid stays the active control
  // Over the cell, inside its lines.
  TRect cell = Grid->CellRect(1, 1);
  EXPECT_EQ(Editor()->BoundsRect(), cell);
  Key(VK_END);
  Type("er");
  EXPECT_EQ(Grid->Cells(1, 1), "older");  // written as it is typed
  EXPECT_FALSE(SetTexts.empty());
  EXPECT_EQ(SetTexts.back(), "1,1=older");
  if (const char* dir = std::getenv("LORM_TEST_PNG_DIR")) {
    UpdateAllWindows();
    auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(Form->Handle()));
    cairo_surface_write_to_png(s, (std::string(dir) + "/grid-edit.png").c_str());
  }
  Key(VK_RETURN);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(Grid->Cells(1, 1), "older");
  EXPECT_EQ(GetFocus(), Grid->Handle());
  // Enter again opens the editor.
  Key(VK_RETURN);
  EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditing, EscapeGivesTheCellItsTextBack) {
  Key(VK_F2);
  Key(VK_END);
  Type("xyz");
  EXPECT_EQ(Grid->Cells(1, 1), "oldxyz");
  Key(VK_ESCAPE);
  EXPECT_EQ(Grid->Cells(1, 1), "old");
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_FALSE(EditorShown());
}

TEST_F(GridEditing, TypingOpensTheEditorThroughTheKeyFilter) {
  // The application's filter: digits, separators and backspace pass, others are dropped.
  Grid->OnKeyPress = [](TObject*, char32_t& k) {
    if (!(k == 8 || k == ',' || k == '.' || (k >= '0' && k <= '9'))) k = 0;
  };
  Type("4a,5");
  ASSERT_TRUE(EditorShown());
  EXPECT_EQ(Grid->Cells(1, 1), "4,5");  // the first character replaced the selected text
  // Arrows up and down leave the editor for the next row, the text stays.
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(Grid->Cells(1, 1), "4,5");
  EXPECT_EQ(Grid->Cells(1, 2), "below");
}

TEST_F(GridEditing, HooksGiveTheTextAndMask) {
  Grid->OnGetEditText = [](TObject*, int c, int r, std::string& v) {
    if (r == 1) v = "[" + v + "]";
  };
  Grid->OnGetEditMask = [](TObject*, int c, int r, std::string& m) {
    if (r == 2) m = "00;1;_";
  };
  Key(VK_F2);
  EXPECT_EQ(Editor()->Text(), "[old]");
  Key(VK_RETURN);
  EXPECT_EQ(Grid->Cells(1, 1), "[old]");
  Grid->SetCells(1, 2, "");
  Grid->SetRow(2);
  Type("7x8");  // opens the editor with the cell's mask; the letter does not fit it
  ASSERT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->EditMask(), "00;1;_");
  EXPECT_EQ(Grid->Cells(1, 2), "78");
}

TEST_F(GridEditing, ClickingTheCurrentCellEditsAndLeavingHidesTheEditor) {
  ClickCell(1, 1);
  EXPECT_TRUE(EditorShown());
  ClickCell(2, 3);  // another cell: the editor closes, the current cell moves
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{2, 3}));
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  Type("q");
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 250, 100, 20);
  other->SetFocus();
  Pump();
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_FALSE(EditorShown());
  EXPECT_EQ(Grid->Cells(2, 3), "q");
}

TEST_F(GridEditing, TheEditorFollowsScrollingAndSetCells) {
  Grid->SetRowCount(60);
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  Grid->SetCells(1, 1, "changed");  // the cell under the editor changes: it reloads
  EXPECT_EQ(Editor()->Text(), "changed");
  Grid->SetTopRow(20);  // scrolled out of view: hidden
  EXPECT_FALSE(EditorShown());
  EXPECT_TRUE(Grid->EditorMode());
  Grid->SetTopRow(1);
  EXPECT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->BoundsRect(), Grid->CellRect(1, 1));
}

TEST_F(GridEditing, AlwaysShowEditorKeepsItOpenWhileMoving) {
  Grid->SetOptions(Grid->Options() + goAlwaysShowEditor);
  EXPECT_TRUE(EditorShown());
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->Text(), "below");
  // With the option set, Left at the start of the text moves to the previous column.
  Grid->SetCol(2);
  Key(VK_HOME);
  Key(VK_LEFT);
  EXPECT_EQ(Grid->Col(), 1);
  // goRowSelect turns the option off.
  Grid->SetOptions(Grid->Options() + goRowSelect);
  EXPECT_FALSE(Grid->Options().Contains(goAlwaysShowEditor));
}

}  // namespace
