// Sorting the string grid: 100,000 rows of three columns sorted on a column of texts and
// on a column of numbers (the style detected from the cells), each against
// std::stable_sort of the same strings in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"

namespace {

constexpr int kRows = 100000;

double Seconds(std::chrono::steady_clock::time_point From) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - From).count();
}

// Column 0: gas names with many repeats, column 1: numbers, column 2: a serial number.
void Fill(TDavEvadurAvuz& Grid) {
  std::mt19937 random(2026);
  Grid.SetColCountEx(3);
  Grid.SetRowCountEx(kRows + 1);
  for (int r = 1; r <= kRows; ++r) {
    Grid.SetCellEx(0, r, "gas " + std::to_string(random() % 5000));
    Grid.SetCellEx(1, r, std::to_string(random() % 1000000) + "." + std::to_string(random() % 100));
    Grid.SetCellEx(2, r, std::to_string(r));
  }
}

void SortAgainstStableSort(benchmark::State& State, int Column) {
  THeadlessScope scope;
  TDavEvadurAvuz grid(nullptr);
  Fill(grid);
  std::vector<std::string> keys;
  for (int r = 1; r <= kRows; ++r) keys.push_back(grid.GetCellEx(Column, r));
  double gridTime = 0, stdTime = 0;
  for (auto _ : State) {
    auto t0 = std::chrono::steady_clock::now();
    grid.Sort(Column, sdAscending);
    gridTime += Seconds(t0);
    State.PauseTiming();
    grid.QUnSort();
    std::vector<std::string> copy = keys;
    State.ResumeTiming();
    t0 = std::chrono::steady_clock::now();
    std::stable_sort(copy.begin(), copy.end());
    stdTime += Seconds(t0);
    benchmark::DoNotOptimize(copy.data());
  }
  double n = static_cast<double>(State.iterations());
  State.counters["grid_ms"] = 1000 * gridTime / n;
  State.counters["stable_sort_ms"] = 1000 * stdTime / n;
  State.counters["time_ratio"] = gridTime / stdTime;
}

void BM_GridSortTextAgainstStableSort(benchmark::State& State) { SortAgainstStableSort(State, 0); }
void BM_GridSortNumbersAgainstStableSort(benchmark::State& State) { SortAgainstStableSort(State, 1); }
BENCHMARK(BM_GridSortTextAgainstStableSort)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridSortNumbersAgainstStableSort)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
