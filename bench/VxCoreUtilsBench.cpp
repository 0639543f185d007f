// The text functions of VxCoreUtils over 1,000,000 short texts, each against a plain
// std::string::find scan of the same texts (the "_Baseline" benchmarks): wildcard
// matching, replacing, fields at a separator and the N-th occurrence.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "label/VxCoreUtils.h"
#include "platform/rtl/Streams.h"

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

// --- file masks and run-length coding ------------------------------------------------------

namespace {

// 1,000,000 file names with paths and mixed extensions.
const std::vector<std::string>& FileNames() {
  static const std::vector<std::string> names = [] {
    static const char* const ext[] = {".txt", ".doc", ".TXT", ".cnv", ".ini"};
    std::vector<std::string> v;
    v.reserve(kTexts);
    for (int i = 0; i < kTexts; ++i) v.push_back("/home/u/d" + std::to_string(i % 97) + "/file" + std::to_string(i) + ext[i % 5]);
    return v;
  }();
  return names;
}

void BM_VxFileEquMasks(benchmark::State& state) {
  const auto& names = FileNames();
  for (auto _ : state) {
    int matches = 0;
    for (const std::string& n : names) matches += VxCoreUtils::FileEquMasks(n, "*.txt;*.doc");
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxFileEquMasks)->Unit(benchmark::kMillisecond);

// The baseline: a case-folded suffix test for each extension.
void BM_VxFileEquMasks_Baseline(benchmark::State& state) {
  const auto& names = FileNames();
  auto ends = [](const std::string& s, const char* e) {
    const std::size_t n = std::strlen(e);
    if (s.size() < n) return false;
    for (std::size_t k = 0; k < n; ++k)
      if (std::toupper(static_cast<unsigned char>(s[s.size() - n + k])) != std::toupper(static_cast<unsigned char>(e[k])))
        return false;
    return true;
  };
  for (auto _ : state) {
    int matches = 0;
    for (const std::string& n : names) matches += ends(n, ".txt") || ends(n, ".doc");
    benchmark::DoNotOptimize(matches);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_VxFileEquMasks_Baseline)->Unit(benchmark::kMillisecond);

constexpr std::size_t kRleBytes = 64u << 20;

// 64 MB of runs of 1 to 70 equal bytes.
const std::string& RleInput() {
  static const std::string data = [] {
    std::string d;
    d.reserve(kRleBytes);
    uint32_t seed = 1;
    while (d.size() < kRleBytes) {
      seed = seed * 1103515245 + 12345;
      d.append(std::min<std::size_t>((seed >> 16) % 70 + 1, kRleBytes - d.size()), static_cast<char>(seed >> 8));
    }
    return d;
  }();
  return data;
}

void BM_VxRleCompress(benchmark::State& state) {
  TMemoryStream in;
  in.Write(RleInput().data(), static_cast<int64_t>(RleInput().size()));
  for (auto _ : state) {
    TMemoryStream out;
    VxCoreUtils::RleCompressTo(in, out);
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRleBytes));
}
BENCHMARK(BM_VxRleCompress)->Unit(benchmark::kMillisecond);

// The baseline: the same run coding from one byte vector into another.
void BM_VxRleCompress_Baseline(benchmark::State& state) {
  const std::string& in = RleInput();
  for (auto _ : state) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < in.size();) {
      const auto c = static_cast<uint8_t>(in[i]);
      std::size_t run = 1;
      while (run < 48 && i + run < in.size() && static_cast<uint8_t>(in[i + run]) == c) ++run;
      if (run == 1 && c < 0xC0) {
        out.push_back(c);
      } else {
        out.push_back(static_cast<uint8_t>(0xC0 + run));
        out.push_back(c);
      }
      i += run;
    }
    benchmark::DoNotOptimize(out.size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRleBytes));
}
BENCHMARK(BM_VxRleCompress_Baseline)->Unit(benchmark::kMillisecond);

void BM_VxRleDecompress(benchmark::State& state) {
  TMemoryStream raw, packed;
  raw.Write(RleInput().data(), static_cast<int64_t>(RleInput().size()));
  VxCoreUtils::RleCompressTo(raw, packed);
  for (auto _ : state) {
    TMemoryStream out;
    VxCoreUtils::RleDecompressTo(packed, out);
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRleBytes));
}
BENCHMARK(BM_VxRleDecompress)->Unit(benchmark::kMillisecond);

void BM_VxRleDecompress_Baseline(benchmark::State& state) {
  TMemoryStream raw, packedStream;
  raw.Write(RleInput().data(), static_cast<int64_t>(RleInput().size()));
  VxCoreUtils::RleCompressTo(raw, packedStream);
  const auto* p = static_cast<const uint8_t*>(packedStream.Memory());
  const std::vector<uint8_t> packed(p, p + packedStream.Size());
  for (auto _ : state) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < packed.size();) {
      if (packed[i] < 0xC0) {
        out.push_back(packed[i++]);
      } else if (i + 1 < packed.size()) {
        out.insert(out.end(), packed[i] - 0xC0u, packed[i + 1]);
        i += 2;
      } else {
        ++i;
      }
    }
    benchmark::DoNotOptimize(out.size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kRleBytes));
}
BENCHMARK(BM_VxRleDecompress_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
