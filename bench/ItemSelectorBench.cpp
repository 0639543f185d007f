// The drop-downs' item selector at 100, 1,000 and 10,000 items: the per-item cost of the
// layout and of a lookup that runs to the last item, and the cost of repainting the
// visible cells, which should not grow with the item count.
#include <benchmark/benchmark.h>

#include <string>

#include "editors/DizItemSelector.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"

using namespace DizDropDown;

namespace {

struct TSelectorForm {
  TForm* Form;
  TDizCustomItemSelector* Selector;
};

TSelectorForm MakeSelector(int count) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 400, 300);
  auto* s = new TDizCustomItemSelector(form);
  s->SetParent(form);
  s->SetBounds(0, 0, 300, 200);
  s->SetColumns(2);
  s->Items()->BeginUpdate();
  for (int i = 0; i < count; ++i) s->Items()->Add()->SetCaption("<b>Газ</b> " + std::to_string(100000 + i));
  s->Items()->EndUpdate();
  s->UpdateSelectorPanel();
  return {form, s};
}

void BM_SelectorLayout(benchmark::State& state) {
  THeadlessScope scope;
  TSelectorForm f = MakeSelector(int(state.range(0)));
  f.Form->Show();
  for (auto _ : state) f.Selector->UpdateSelectorPanel();
  state.SetItemsProcessed(state.iterations() * state.range(0));
  delete f.Form;
}
BENCHMARK(BM_SelectorLayout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SelectorLookupLast(benchmark::State& state) {
  THeadlessScope scope;
  int n = int(state.range(0));
  TSelectorForm f = MakeSelector(n);
  std::string last = "ГАЗ " + std::to_string(100000 + n - 1);
  for (auto _ : state) benchmark::DoNotOptimize(f.Selector->LookupItem(last));
  state.SetItemsProcessed(state.iterations() * n);
  delete f.Form;
}
BENCHMARK(BM_SelectorLookupLast)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_SelectorRepaint(benchmark::State& state) {
  THeadlessScope scope;
  TSelectorForm f = MakeSelector(int(state.range(0)));
  f.Form->Show();
  scope.Backend().Pump();
  f.Selector->SetItemIndex(int(state.range(0)) / 2);  // somewhere in the middle
  scope.Backend().Pump();
  for (auto _ : state)
    RedrawWindow(f.Selector->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  state.counters["cells"] = f.Selector->Panel()->PaintedCells();
  delete f.Form;
}
BENCHMARK(BM_SelectorRepaint)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
