// The text functions of VxCoreUtils over 1,000,000 short texts, each against a plain
// std::string::find scan of the same texts (the "_Baseline" benchmarks): wildcard
// matching, replacing, fields at a separator and the N-th occurrence.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "label/VxCoreUtils.h"

namespace {

constexpr int kTexts = 1000000;

// Short texts like "rec123456;789.txt": a name, a field separator and an extension.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> v;
    v.reserve(kTexts);
    for (int i = 0; i < kTexts; ++i)
      v.push_back("rec" + std::to_string(i) + ";" + std::to_string(i * 7 % 1000) + (i % 3 ? ".txt" : ".doc"));
    return v;
  }();
  return texts;
}

// The baseline: one find of a short needle in every text.
void FindScan(benchmark::State& state, const char* needle) {
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t sum = 0;
    for (const std::string& t : texts) sum += t.find(needle);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}

void BM_VxIsWild(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    int matches = 0;
    for (const std::string& t : texts) matches += VxCoreUtils::IsWild(t, "rec*9;*.txt", false);
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxIsWild)->Unit(benchmark::kMillisecond);
void BM_VxIsWild_Baseline(benchmark::State& state) { FindScan(state, ".txt"); }
BENCHMARK(BM_VxIsWild_Baseline)->Unit(benchmark::kMillisecond);

void BM_VxReplaceString(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t length = 0;
    for (const std::string& t : texts) length += VxCoreUtils::ReplaceString(t, ";", ",").size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxReplaceString)->Unit(benchmark::kMillisecond);
void BM_VxReplaceString_Baseline(benchmark::State& state) { FindScan(state, ";"); }
BENCHMARK(BM_VxReplaceString_Baseline)->Unit(benchmark::kMillisecond);

void BM_VxSubStr(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t length = 0;
    for (const std::string& t : texts) length += VxCoreUtils::SubStr(t, 1, ";").size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxSubStr)->Unit(benchmark::kMillisecond);
void BM_VxSubStr_Baseline(benchmark::State& state) { FindScan(state, ";"); }
BENCHMARK(BM_VxSubStr_Baseline)->Unit(benchmark::kMillisecond);

void BM_VxNPos(benchmark::State& state) {
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t sum = 0;
    for (const std::string& t : texts) sum += VxCoreUtils::NPos("1", t, 2);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxNPos)->Unit(benchmark::kMillisecond);
void BM_VxNPos_Baseline(benchmark::State& state) { FindScan(state, "1"); }
BENCHMARK(BM_VxNPos_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
