// Cell content of the string grid: ColumnSum over 1,000,000 rows against a plain loop
// converting the same texts, RegisterChange on a full undo list at three limits, and
// AutoSizeColumns per cell at 10,000, 100,000 and 1,000,000 rows, each in one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"
#include "platform/rtl/SysUtils.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::string Number(int r) { return IntToStr(r % 997) + "." + IntToStr(r % 10); }

void BM_GridColumnSumAgainstLoop(benchmark::State& state) {
  THeadlessScope scope;
  constexpr int kRows = 1'000'000;
  TDavEvadurAvuz grid(nullptr);
  grid.SetColCountEx(3);
  grid.SetRowCountEx(kRows + 1);
  std::vector<std::string> texts(kRows);
  for (int r = 0; r < kRows; ++r) {
    texts[size_t(r)] = Number(r);
    grid.SetCellEx(1, r + 1, texts[size_t(r)]);
  }
  double gridTime = 0, loopTime = 0, a = 0, b = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    a = grid.ColumnSum(1, 1, kRows);
    gridTime += Seconds(t0);
    t0 = std::chrono::steady_clock::now();
    b = 0;
    for (const std::string& s : texts) {
      Extended v = 0;
      if (TryStrToFloat(Trim(RemoveSeps(s)), v)) b += static_cast<double>(v);
    }
    loopTime += Seconds(t0);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
  }
  if (std::abs(a - b) > 1e-6 * std::abs(b)) state.SkipWithError("sums differ");
  state.counters["ratio_to_loop"] = gridTime / loopTime;
  state.counters["ns_per_row_grid"] = 1e9 * gridTime / double(state.iterations()) / kRows;
  state.counters["ns_per_row_loop"] = 1e9 * loopTime / double(state.iterations()) / kRows;
}
BENCHMARK(BM_GridColumnSumAgainstLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

// Seconds per change registered on an undo list already at its limit.
double RegisterAtLimit(int Limit) {
  constexpr int kChanges = 200'000;
  TVezIdidUndoRedo undo(nullptr);
  undo.MaxLevel = Limit;
  const std::string oldText = "old text", newText = "new text";
  for (int i = 0; i < Limit; ++i) undo.RegisterChange(1, i % 100, oldText, newText);
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < kChanges; ++i) undo.RegisterChange(1, i % 100, oldText, newText);
  const double s = Seconds(t0);
  if (undo.Level != Limit) throw std::runtime_error("limit not kept");
  return s / kChanges;
}

void BM_UndoRegisterChangeAtLimit(benchmark::State& state) {
  const int limits[] = {1'000, 10'000, 100'000};
  double total[3] = {0, 0, 0};
  for (auto _ : state)
    for (int i = 0; i < 3; ++i) total[i] += RegisterAtLimit(limits[i]);
  const double n = double(state.iterations());
  state.counters["ns_per_change_1k"] = 1e9 * total[0] / n;
  state.counters["ns_per_change_10k"] = 1e9 * total[1] / n;
  state.counters["ns_per_change_100k"] = 1e9 * total[2] / n;
  state.counters["ratio_10k_to_1k"] = total[1] / total[0];
  state.counters["ratio_100k_to_1k"] = total[2] / total[0];
}
BENCHMARK(BM_UndoRegisterChangeAtLimit)->Unit(benchmark::kMillisecond)->Iterations(5);

// Seconds per cell of AutoSizeColumns over a Rows x 3 grid.
double AutoSizePerCell(int Rows) {
  std::unique_ptr<TForm> form(new TForm(nullptr));
  form->SetBounds(0, 0, 800, 600);
  auto* owned = new TDavEvadurAvuz(form.get());
  TDavEvadurAvuz& grid = *owned;
  grid.SetParent(form.get());
  grid.SetColCountEx(3);
  grid.SetRowCountEx(Rows);
  for (int r = 1; r < Rows; ++r) {
    grid.SetCellEx(1, r, "gas " + std::to_string(r));
    grid.SetCellEx(2, r, Number(r));
  }
  auto t0 = std::chrono::steady_clock::now();
  grid.AutoSizeColumns(false, 4);
  const double s = Seconds(t0);
  if (grid.ColWidths(1) <= 10) throw std::runtime_error("not sized");
  return s / (2.0 * Rows);
}

void BM_GridAutoSizeColumnsPerCell(benchmark::State& state) {
  THeadlessScope scope;
  const int sizes[] = {10'000, 100'000, 1'000'000};
  double total[3] = {0, 0, 0};
  for (auto _ : state)
    for (int i = 0; i < 3; ++i) total[i] += AutoSizePerCell(sizes[i]);
  const double n = double(state.iterations());
  state.counters["ns_per_cell_10k"] = 1e9 * total[0] / n;
  state.counters["ns_per_cell_100k"] = 1e9 * total[1] / n;
  state.counters["ns_per_cell_1M"] = 1e9 * total[2] / n;
  state.counters["ratio_100k_to_10k"] = total[1] / total[0];
  state.counters["ratio_1M_to_10k"] = total[2] / total[0];
}
BENCHMARK(BM_GridAutoSizeColumnsPerCell)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
