// A docked tool bar of n controls narrowed to its minimum (the overflow hides nearly all of
// them), its option window built and shown with them, then widened back to its full length
// (every control comes back), per control; bench/ratios.py compares the sizes.
#include <benchmark/benchmark.h>

#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuOption.h"

namespace {

class TBenchBox : public TGraphicControl {
public:
  explicit TBenchBox(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 4, 22); }
};

void BM_ToolBarOverflow(benchmark::State& state) {
  const int n = int(state.range(0));
  THeadlessScope scope;
  Application->Restart();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(0, 0, 4 * n + 300, 120);
  form->Show();
  auto* panel = new TDizDockPanel(form);
  panel->SetParent(form);
  // A neighbour in the row lets the bar be shorter than its full length.
  auto* other = new TVivIzizEzu(form);
  other->SetParent(form);
  other->SetAutoSizeEx(false);
  other->Constraints()->SetMinWidth(0);
  other->Constraints()->SetMaxWidth(0);
  other->SetBounds(0, 0, 60, 26);
  other->SetParent(panel);
  auto* bar = new TVivIzizEzu(form);
  bar->SetParent(panel);
  bar->SetAutoOptionMenu(true);
  bar->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    auto* b = new TBenchBox(form);
    b->SetLeft(1000 + i);
    b->SetParent(bar);
  }
  bar->EndUpdate();
  other->SetBounds(4 * n + 100, 1, other->Width(), other->Height());
  bar->SetBounds(3, 1, bar->Width(), bar->Height());
  const int full = bar->Width();
  for (auto _ : state) {
    bar->SetWidth(60);
    bar->ShowOptionWindow(0, 0, true);
    bar->HideOptionWindow();
    bar->SetWidth(full);
    benchmark::DoNotOptimize(bar->HiddenList()->Count());
  }
  if (bar->HiddenList()->Count() != 0) state.SkipWithError("controls stayed hidden");
  state.SetItemsProcessed(state.iterations() * n);
  Application->Restart();
}
BENCHMARK(BM_ToolBarOverflow)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
