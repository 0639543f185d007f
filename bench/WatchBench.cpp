// The analogue clock of the time drop-down, 170 × 170: redrawing only the hands over the
// cached dial (what every time change and every live-clock tick does) against a full
// paint of the same clock, side by side in one run; the counter "ratio" is hands ÷ full.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "editors/DizWatch.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void BM_WatchRepaintTimeVsFullPaint(benchmark::State& state) {
  THeadlessScope scope;
  Application->Restart();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(0, 0, 240, 240);
  form->Show();
  auto* watch = new TDizWatch(form);
  watch->SetParent(form);
  watch->SetBounds(0, 0, 170, 170);
  watch->SetTime(EncodeTime(10, 10, 0, 0));
  watch->Repaint();
  constexpr int kBatch = 20;
  std::vector<double> hands, full;
  for (auto _ : state) {
    for (int rep = 0; rep < 7; ++rep) {
      auto t0 = Clock::now();
      for (int i = 0; i < kBatch; ++i) watch->RepaintTime();
      auto t1 = Clock::now();
      for (int i = 0; i < kBatch; ++i) watch->UpdateCache();
      auto t2 = Clock::now();
      hands.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count() / kBatch);
      full.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count() / kBatch);
    }
  }
  double a = Median(hands), b = Median(full);
  state.counters["hands_us"] = a;
  state.counters["full_us"] = b;
  state.counters["ratio"] = a / b;
  Application->Restart();
}
BENCHMARK(BM_WatchRepaintTimeVsFullPaint)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
