// The office pager and status bar at 10x and 100x sizes; bench/ratios.py compares the cost
// per item (page, panel) at each size with the smallest.
#include <benchmark/benchmark.h>

#include <string>

#include "office/DizOfficeStatusBar.h"
#include "office/ZorOzirazIrezi.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

using namespace ZorOzirazIrezi;

namespace {

struct TPagerForm {
  THeadlessScope Scope;
  TForm* Form = nullptr;
  TZorOzirazIrezi* Pager = nullptr;
  TPagerForm() {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(0, 0, 800, 420);
    Form->Show();
    Pager = new TZorOzirazIrezi(Form);
    Pager->SetBounds(0, 2, 780, 365);
    Pager->SetParent(Form);
  }
  ~TPagerForm() { Application->Restart(); }
  void AddPages(int count) {
    for (int i = 0; i < count; ++i) {
      auto* page = new TDizOfficePage(Form);
      page->SetCaption("Страница " + std::to_string(i + 1));
      page->SetZorOzirazIrezi(Pager);
    }
  }
};

// Building a pager of n pages on a shown form, per page.
void BM_PagerAddPages(benchmark::State& state) {
  const int n = int(state.range(0));
  for (auto _ : state) {
    TPagerForm f;
    f.AddPages(n);
    f.Scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PagerAddPages)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Activating every page of an n-page pager in turn, with the paint that follows, per page.
void BM_PagerActivatePages(benchmark::State& state) {
  const int n = int(state.range(0));
  TPagerForm f;
  f.AddPages(n);
  f.Scope.Backend().Pump();
  for (auto _ : state) {
    for (int i = 0; i < n; ++i) {
      f.Pager->SetActivePageIndex(i);
      f.Scope.Backend().Pump();
    }
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PagerActivatePages)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// Repainting the pager with every page's tab invalidated, n times, per page (a repaint with
// n pages done once for each page: the work of a repaint should not grow with the count).
void BM_PagerRepaint(benchmark::State& state) {
  const int n = int(state.range(0));
  TPagerForm f;
  f.AddPages(n);
  f.Scope.Backend().Pump();
  for (auto _ : state) {
    RedrawWindow(f.Pager->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PagerRepaint)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

std::string StatusBarText(int panels) {
  std::string text = "object Bar: TDizOfficeStatusBar\n  Left = 0\n  Top = 380\n  Width = 780\n  Height = 22\n"
                     "  Panels = <\n";
  for (int i = 0; i < panels; ++i)
    text += "    item\n      Style = psText\n      Text = 'Панель " + std::to_string(i + 1) + "'\n      Width = 60\n    end\n";
  text += "  >\nend\n";
  return text;
}

struct TStatusForm {
  THeadlessScope Scope;
  TForm* Form = nullptr;
  TStatusForm() {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(0, 0, 800, 420);
    Form->Show();
  }
  ~TStatusForm() { Application->Restart(); }
  TDizOfficeStatusBar* Load(const std::string& text) {
    auto* bar = new TDizOfficeStatusBar(Form);
    ReadComponentFromText(text, bar);
    bar->SetParent(Form);
    return bar;
  }
};

// Loading a status bar of n panels from its stored form and showing it, per panel.
void BM_StatusBarLoadPanels(benchmark::State& state) {
  const int n = int(state.range(0));
  const std::string text = StatusBarText(n);
  for (auto _ : state) {
    TStatusForm f;
    f.Load(text);
    f.Scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_StatusBarLoadPanels)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Repainting a 780-pixel status bar holding n panels of 60 pixels (13 show at every size), per
// repaint: the work should not grow with the panels out of sight.
void BM_StatusBarRepaint(benchmark::State& state) {
  const int n = int(state.range(0));
  TStatusForm f;
  TDizOfficeStatusBar* bar = f.Load(StatusBarText(n));
  f.Scope.Backend().Pump();
  for (auto _ : state) RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StatusBarRepaint)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
