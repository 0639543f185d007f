// A full repaint of a form holding 100 controls, each painting a bevel and a caption.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"

namespace {
class TBenchTile : public TCustomControl {
public:
  explicit TBenchTile(TComponent* AOwner) : TCustomControl(AOwner) {}
  std::string Text;

protected:
  void Paint() override {
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(r);
    Canvas()->Pen()->SetColor(clBtnShadow);
    Canvas()->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    Canvas()->TextOut(4, 3, Text);
  }
};

void BM_RepaintFormWith100Controls(benchmark::State& state) {
  THeadlessScope scope;
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 640, 480);
  for (int i = 0; i < 100; ++i) {
    auto* tile = new TBenchTile(form);
    tile->SetParent(form);
    tile->SetBounds(5 + (i % 10) * 62, 5 + (i / 10) * 44, 58, 40);
    tile->Text = "Газ " + std::to_string(i);
  }
  form->Show();
  scope.Backend().Pump();
  for (auto _ : state) {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  delete form;
}
BENCHMARK(BM_RepaintFormWith100Controls)->Unit(benchmark::kMillisecond);
} // namespace
