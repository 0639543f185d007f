// Hiding every other row of a string grid with HideRowList and showing them again with
// UnHideRowList, at 10,000, 100,000 and 1,000,000 rows in the same run: the cost per row
// at the larger sizes as a multiple of the cost per row at the smallest.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"

namespace {

constexpr int kCols = 4;

// Seconds for one hide and show of every other row of a Rows x kCols grid.
double HideShowEveryOther(int Rows) {
  TDavEvadurAvuz grid(nullptr);
  grid.SetColCountEx(kCols);
  grid.SetRowCountEx(Rows);
  for (int r = 0; r < Rows; ++r)
    for (int c = 0; c < kCols; ++c) grid.SetCellEx(c, r, "gas " + std::to_string(r * kCols + c));
  TIntList list;
  for (int r = 1; r < Rows; r += 2) list.Add(r);
  // An untimed round brings the heap to the size the records need, so that the timed one
  // pays for the work rather than for the system handing out fresh pages.
  grid.HideRowList(&list);
  grid.UnHideRowList();
  grid.HideLevel = 0;
  auto t0 = std::chrono::steady_clock::now();
  grid.HideRowList(&list);
  grid.UnHideRowList();
  double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (grid.RowCount() != Rows || grid.GetCellEx(0, Rows - 1) != "gas " + std::to_string((Rows - 1) * kCols))
    throw std::runtime_error("rows not restored");
  return s;
}

void BM_GridHideRowListPerRow(benchmark::State& state) {
  THeadlessScope scope;
  const int sizes[] = {10'000, 100'000, 1'000'000};
  double total[3] = {0, 0, 0};
  for (auto _ : state)
    for (int i = 0; i < 3; ++i) total[i] += HideShowEveryOther(sizes[i]);
  double n = static_cast<double>(state.iterations());
  double perRow[3];
  for (int i = 0; i < 3; ++i) perRow[i] = 1e9 * total[i] / n / sizes[i];
  state.counters["ns_per_row_10k"] = perRow[0];
  state.counters["ns_per_row_100k"] = perRow[1];
  state.counters["ns_per_row_1M"] = perRow[2];
  state.counters["ratio_100k_to_10k"] = perRow[1] / perRow[0];
  state.counters["ratio_1M_to_10k"] = perRow[2] / perRow[0];
}
BENCHMARK(BM_GridHideRowListPerRow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

namespace {

// InsertRows and RemoveRows at row 1 of a 100,000 x 10 grid against inserting and erasing
// at the front of a std::vector of 100,000 row pointers, in the same run.
void BM_GridInsertRemoveRowAgainstVector(benchmark::State& state) {
  THeadlessScope scope;
  constexpr int kRows = 100'000, kGridCols = 10, kRounds = 50;
  TDavEvadurAvuz grid(nullptr);
  grid.SetColCountEx(kGridCols);
  grid.SetRowCountEx(kRows);
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kGridCols; ++c) grid.SetCellEx(c, r, "gas " + std::to_string(r));
  std::vector<std::string*> rows(kRows);
  std::vector<std::string> texts(kRows);
  for (int r = 0; r < kRows; ++r) rows[size_t(r)] = &texts[size_t(r)];
  // One untimed pair on each side: the first row beyond the store's rows grows its block
  // (by doubling, once for many rows to come) and the vector its capacity; the timed pairs
  // measure the steady cost of a row in and out.
  grid.InsertRows(1, 1, false);
  grid.RemoveRows(1, 1);
  rows.insert(rows.begin() + 1, nullptr);
  rows.erase(rows.begin() + 1);
  double gridTime = 0, vectorTime = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
      grid.InsertRows(1, 1, false);
      grid.RemoveRows(1, 1);
    }
    gridTime += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i) {
      rows.insert(rows.begin() + 1, nullptr);
      benchmark::DoNotOptimize(rows.data());
      rows.erase(rows.begin() + 1);
      benchmark::DoNotOptimize(rows.data());
    }
    vectorTime += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  if (grid.GetCellEx(0, 1) != "gas 1") throw std::runtime_error("rows moved wrongly");
  double n = static_cast<double>(state.iterations()) * kRounds;
  state.counters["grid_us_per_pair"] = 1e6 * gridTime / n;
  state.counters["vector_us_per_pair"] = 1e6 * vectorTime / n;
  state.counters["time_ratio"] = gridTime / vectorTime;
}
BENCHMARK(BM_GridInsertRemoveRowAgainstVector)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
