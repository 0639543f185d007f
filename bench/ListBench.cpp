// String lists and timers: sorting and searching a string list against the same work on a
// plain vector, and timer set/fetch cost per timer at three sizes ten times apart.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/rtl/Classes.h"
#include "platform/win/WinUser.h"

namespace {
std::vector<std::string> ShuffledItems(int n) {
  std::vector<std::string> v;
  v.reserve(std::size_t(n));
  for (int i = 0; i < n; ++i) v.push_back("Item " + std::to_string(1000000 + i));
  std::mt19937 rng(42);
  std::shuffle(v.begin(), v.end(), rng);
  return v;
}

constexpr int kSortItems = 1000000;

void BM_StringListSort1M(benchmark::State& state) {
  std::vector<std::string> items = ShuffledItems(kSortItems);
  TStringList list;
  for (auto _ : state) {
    state.PauseTiming();
    list.Clear();
    list.AddStrings(items);
    state.ResumeTiming();
    list.Sort();
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_StringListSort1M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StringListSort1M_Baseline(benchmark::State& state) {
  std::vector<std::string> items = ShuffledItems(kSortItems);
  std::vector<std::string> v;
  for (auto _ : state) {
    state.PauseTiming();
    v = items;
    state.ResumeTiming();
    std::stable_sort(v.begin(), v.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextAscii(a, b) < 0; });
    benchmark::DoNotOptimize(v.data());
  }
}
BENCHMARK(BM_StringListSort1M_Baseline)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StringListIndexOf(benchmark::State& state) {
  std::vector<std::string> items = ShuffledItems(100000);
  TStringList list;
  list.AddStrings(items);
  std::string last = items.back();
  for (auto _ : state) benchmark::DoNotOptimize(list.IndexOf(last));
}
BENCHMARK(BM_StringListIndexOf)->Unit(benchmark::kMicrosecond);

void BM_StringListIndexOf_Baseline(benchmark::State& state) {
  std::vector<std::string> items = ShuffledItems(100000);
  std::string last = items.back();
  for (auto _ : state) {
    int found = -1;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (SameTextAscii(items[i], last)) {
        found = int(i);
        break;
      }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_StringListIndexOf_Baseline)->Unit(benchmark::kMicrosecond);

// With n timers alive: reset one, move the clock a millisecond, fetch what is due.
void BM_TimerSetAndFetch(benchmark::State& state) {
  THeadlessScope scope;
  int n = int(state.range(0));
  std::vector<UINT_PTR> ids;
  for (int i = 0; i < n; ++i) ids.push_back(SetTimer(nullptr, 0, UINT(10 + i % 997), nullptr));
  std::size_t k = 0;
  for (auto _ : state) {
    SetTimer(nullptr, ids[k], UINT(10 + k % 53), nullptr);
    k = (k + 1) % ids.size();
    Sleep(1);
    MSG msg;
    benchmark::DoNotOptimize(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimerSetAndFetch)->Arg(100)->Arg(1000)->Arg(10000);
}  // namespace
