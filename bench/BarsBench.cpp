// Menus, tool bars and dock panels at 10x and 100x sizes; bench/ratios.py compares the cost
// per item (menu item, tool bar, button) at each size with the smallest.
#include <benchmark/benchmark.h>

#include <string>

#include "menus/RadUdirEtylers.h"
#include "menus/RadUdire.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuStylers.h"

namespace {

struct TBenchForm {
  THeadlessScope Scope;
  TForm* Form = nullptr;
  explicit TBenchForm(int width = 800, int height = 600) {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(0, 0, width, height);
    Form->Show();
    Scope.Backend().Pump();
  }
  ~TBenchForm() { Application->Restart(); }
};

// A styled pop-up menu of n items opened (measured, laid out and painted) and closed, per item.
void BM_MenuDropDown(benchmark::State& state) {
  const int n = int(state.range(0));
  TBenchForm f;
  auto* styler = new TZedIvadOfficeStyler(f.Form);
  styler->SetStyle(osOffice2007Luna);
  auto* popup = new TRerAvideReva(f.Form);
  popup->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    auto* item = new TMenuItem(f.Form);
    item->SetCaption("Пункт меню " + std::to_string(i + 1));
    if (i % 7 == 0) item->SetShortCut(16460);
    popup->Items()->Add(item);
  }
  popup->EndUpdate();
  popup->SetMenuStyler(styler);
  TRobot robot;
  for (auto _ : state) {
    f.Scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
    popup->Popup(100, 10);
    f.Scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_MenuDropDown)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A dock panel holding n tool bars of three buttons each, built, laid out and painted, per bar.
void BM_DockPanelToolBars(benchmark::State& state) {
  const int n = int(state.range(0));
  for (auto _ : state) {
    TBenchForm f(800, 600);
    auto* styler = new VivIzizEzu::TVivIzizEzuOfficeStyler(f.Form);
    auto* panel = new TDizDockPanel(f.Form);
    panel->SetParent(f.Form);
    panel->SetDockAlign(VivIzizEzu::daTop);
    panel->SetToolBarStyler(styler);
    for (int i = 0; i < n; ++i) {
      auto* bar = new VivIzizEzu::TVivIzizEzu(f.Form);
      bar->SetParent(panel);
      for (int k = 0; k < 3; ++k) {
        auto* b = new VivIzizEzu::TVivIzizEzuButton(f.Form);
        b->SetCaption("Кн");
        b->SetShowCaption(true);
        b->SetParent(bar);
      }
    }
    f.Scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_DockPanelToolBars)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// One tool bar of n captioned buttons, built, laid out and painted, per button.
void BM_ToolBarButtons(benchmark::State& state) {
  const int n = int(state.range(0));
  for (auto _ : state) {
    TBenchForm f(1000, 400);
    auto* bar = new VivIzizEzu::TVivIzizEzu(f.Form);
    bar->SetParent(f.Form);
    for (int k = 0; k < n; ++k) {
      auto* b = new VivIzizEzu::TVivIzizEzuButton(f.Form);
      b->SetCaption("Кнопка");
      b->SetShowCaption(true);
      b->SetParent(bar);
    }
    f.Scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ToolBarButtons)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
