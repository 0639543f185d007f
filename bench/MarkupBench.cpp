// Laying out and drawing a typical grid header caption in mark-up against plain DrawText
// of the same text without tags, on the same canvas. BM_MarkupHeaderRatio times both in
// turn and reports the ratio (markup / plain) as its "ratio" counter.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "foundation/Deahtml.h"
#include "platform/gdi/Gdi.h"
#include "platform/vcl/Graphics.h"

namespace {

const std::string kCaption = "<B>Плотность</B>, кг/м<SUP>3</SUP>";

struct THeaderCanvas {
  TBitmap Bitmap{160, 40};
  TCanvas* Canvas = Bitmap.Canvas();
  std::string Plain = HTMLStrip(kCaption);
  THeaderCanvas() {
    Canvas->Font()->SetName("Tahoma");
    Canvas->Font()->SetSize(8);
  }
  void DrawMarkup() {
    std::string anchor, plain, focused, title, id, value, type;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot{}, ctrl{};
    HTMLDrawEx(Canvas, kCaption, TRect{2, 2, 158, 38}, nullptr, -1, -1, -1, 0, 0, false, false, false, false, true,
               false, false, false, 1.0, clBlue, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links,
               hit, hot, ctrl, id, value, type, nullptr, nullptr, nullptr);
  }
  void DrawPlain() {
    TRect r{2, 2, 158, 38};
    std::string text = Plain;
    Canvas->TextRect(r, text, TTextFormat{tfSingleLine, tfBottom, tfNoPrefix, tfEndEllipsis});
  }
};

void BM_MarkupHeaderCaption(benchmark::State& state) {
  THeaderCanvas h;
  for (auto _ : state) h.DrawMarkup();
}
BENCHMARK(BM_MarkupHeaderCaption);

void BM_PlainHeaderCaption(benchmark::State& state) {
  THeaderCanvas h;
  for (auto _ : state) h.DrawPlain();
}
BENCHMARK(BM_PlainHeaderCaption);

void BM_MarkupHeaderRatio(benchmark::State& state) {
  THeaderCanvas h;
  using clock = std::chrono::steady_clock;
  clock::duration markup{}, plain{};
  for (auto _ : state) {
    auto t0 = clock::now();
    for (int i = 0; i < 20; ++i) h.DrawMarkup();
    auto t1 = clock::now();
    for (int i = 0; i < 20; ++i) h.DrawPlain();
    auto t2 = clock::now();
    markup += t1 - t0;
    plain += t2 - t1;
  }
  state.counters["ratio"] = plain.count() ? double(markup.count()) / double(plain.count()) : 0.0;
}
BENCHMARK(BM_MarkupHeaderRatio);

}  // namespace
