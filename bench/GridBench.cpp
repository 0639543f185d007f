// The string grid's cell store: setting then reading every cell of a 1000 x 1000 grid
// against a std::vector<std::string> holding the same texts, the memory a filled short
// cell takes, and reading one cell of a small and of a large grid.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <string>
#include <vector>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"

namespace {

constexpr int kSide = 1000;

// Short texts as the grids hold them (each fits a string without a heap block).
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (int i = 0; i < 997; ++i) t.push_back("gas " + std::to_string(i * 7));
    return t;
  }();
  return texts;
}

long Faults() { rusage u{}; getrusage(RUSAGE_SELF, &u); return u.ru_minflt + u.ru_majflt; }
size_t HeapInUse() { return mallinfo2().uordblks; }

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

size_t FillAndRead(TDavEvadurAvuz& grid) {
  const auto& texts = Texts();
  size_t k = 0, sum = 0;
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) grid.SetCellEx(c, r, texts[k++ % texts.size()]);
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) sum += grid.GetCellEx(c, r).size();
  return sum;
}

size_t FillAndRead(TStringGrid& grid) {
  const auto& texts = Texts();
  size_t k = 0, sum = 0;
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) grid.SetCells(c, r, texts[k++ % texts.size()]);
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) sum += grid.Cells(c, r).size();
  return sum;
}

size_t FillAndRead(std::vector<std::string>& cells) {
  const auto& texts = Texts();
  size_t k = 0, sum = 0;
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) cells[static_cast<size_t>(r) * kSide + c] = texts[k++ % texts.size()];
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) sum += cells[static_cast<size_t>(r) * kSide + c].size();
  return sum;
}

// Sets then reads the million cells of a grid and of a vector in the same run; reports
// the grid's time as a multiple of the vector's and the heap each takes per cell. The
// framework grid's own store, filled the same way, shows what the grid adds to it.
void BM_GridMillionCellsAgainstVector(benchmark::State& state) {
  THeadlessScope scope;
  // Large blocks stay with the process once freed: otherwise whichever side allocates
  // after the small blocks of a grid's construction have split the freed space gets its
  // 32 MB fresh from the system and pays a page fault per 4 KB (the faults counters show
  // it), which measures the allocator's layout rather than setting and reading cells.
  mallopt(M_MMAP_THRESHOLD, 512 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  double gridTime = 0, vectorTime = 0, storeTime = 0;
  double gridBytes = 0, vectorBytes = 0;
  {
    // An untimed fill of two grids at once brings the heap to the size the timed ones
    // need (a grid is made before the framework store is filled and freed), so that no
    // timed fill pays for growing it.
    TStringGrid warm(nullptr), warm2(nullptr);
    for (TStringGrid* g : {&warm, &warm2}) {
      g->SetColCount(kSide);
      g->SetRowCount(kSide);
      benchmark::DoNotOptimize(FillAndRead(*g));
    }
  }
  for (auto _ : state) {
    auto* grid = new TDavEvadurAvuz(nullptr);
    grid->SetColCountEx(kSide);
    grid->SetRowCountEx(kSide);
    {
      TStringGrid store(nullptr);
      store.SetColCount(kSide);
      store.SetRowCount(kSide);
      long f0 = Faults();
      auto t0 = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(FillAndRead(store));
      storeTime += Seconds(t0);
      state.counters["store_faults"] = double(Faults() - f0);
    }
    size_t empty = HeapInUse();
    long f1 = Faults();
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(FillAndRead(*grid));
    gridTime += Seconds(t0);
    state.counters["grid_faults"] = double(Faults() - f1);
    gridBytes = static_cast<double>(HeapInUse() - empty) / (kSide * kSide);
    delete grid;

    // The vector makes its cells inside the timing, as the grid's store does on the first
    // text of each block of rows: both pay for the fresh memory they touch.
    empty = HeapInUse();
    long f2 = Faults();
    t0 = std::chrono::steady_clock::now();
    std::vector<std::string> cells(static_cast<size_t>(kSide) * kSide);
    benchmark::DoNotOptimize(FillAndRead(cells));
    vectorTime += Seconds(t0);
    state.counters["vector_faults"] = double(Faults() - f2);
    vectorBytes = static_cast<double>(HeapInUse() - empty) / (kSide * kSide);
  }
  state.counters["grid_ms"] = 1000 * gridTime / static_cast<double>(state.iterations());
  state.counters["vector_ms"] = 1000 * vectorTime / static_cast<double>(state.iterations());
  state.counters["time_ratio"] = gridTime / vectorTime;
  state.counters["store_ms"] = 1000 * storeTime / static_cast<double>(state.iterations());
  state.counters["grid_to_store"] = gridTime / storeTime;
  state.counters["grid_bytes_per_cell"] = gridBytes;
  state.counters["vector_bytes_per_cell"] = vectorBytes;
  state.counters["bytes_beyond_text"] = gridBytes - vectorBytes + sizeof(std::string);
}
BENCHMARK(BM_GridMillionCellsAgainstVector)->Unit(benchmark::kMillisecond)->Iterations(2);

// Reads cells of a filled 10 x 10 grid and of a filled 1000 x 1000 grid in the same run.
void BM_GridCellReadSmallAgainstLarge(benchmark::State& state) {
  THeadlessScope scope;
  TDavEvadurAvuz small(nullptr), large(nullptr);
  small.SetColCountEx(10);
  small.SetRowCountEx(10);
  large.SetColCountEx(kSide);
  large.SetRowCountEx(kSide);
  const auto& texts = Texts();
  for (int r = 0; r < 10; ++r)
    for (int c = 0; c < 10; ++c) small.SetCellEx(c, r, texts[static_cast<size_t>(r * 10 + c)]);
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) large.SetCellEx(c, r, texts[static_cast<size_t>(r * kSide + c) % texts.size()]);
  // The same pseudo-random walk over each grid's cells.
  constexpr int kReads = 200000;
  auto readAll = [](TDavEvadurAvuz& grid, int side) {
    size_t sum = 0;
    uint32_t x = 12345;
    for (int i = 0; i < kReads; ++i) {
      x = x * 1664525u + 1013904223u;
      int c = static_cast<int>((x >> 8) % static_cast<uint32_t>(side));
      int r = static_cast<int>((x >> 20) % static_cast<uint32_t>(side));
      sum += grid.GetCellEx(c, r).size();
    }
    return sum;
  };
  double smallTime = 0, largeTime = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(readAll(small, 10));
    smallTime += Seconds(t0);
    t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(readAll(large, kSide));
    largeTime += Seconds(t0);
  }
  state.counters["small_ns_per_read"] = 1e9 * smallTime / (kReads * static_cast<double>(state.iterations()));
  state.counters["large_ns_per_read"] = 1e9 * largeTime / (kReads * static_cast<double>(state.iterations()));
  state.counters["large_to_small"] = largeTime / smallTime;
}
BENCHMARK(BM_GridCellReadSmallAgainstLarge)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
