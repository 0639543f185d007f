// Forms with many controls: a full repaint of a form holding 100 controls against cairo
// and pango drawing the same rectangles and texts, and the per-control cost of repaint,
// creation and destruction at 100, 400 and 1,600 controls.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <string>
#include <vector>

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

// A form of `count` tiles, 58 x 40 each, ten to a row. The client area grows to hold them
// all, so every size paints each of its tiles (a form sized by its outer bounds would hide
// the last row under the caption: a tenth of the tiles at 100, a hundredth at 1,600).
TForm* MakeForm(int count) {
  auto* form = new TForm(nullptr);
  int rows = (count + 9) / 10;
  form->SetBounds(0, 0, 640, 10 + rows * 44);
  form->SetClientHeight(10 + rows * 44);
  for (int i = 0; i < count; ++i) {
    auto* tile = new TBenchTile(form);
    tile->SetParent(form);
    tile->SetBounds(5 + (i % 10) * 62, 5 + (i / 10) * 44, 58, 40);
    tile->Text = "Газ " + std::to_string(i);
  }
  return form;
}

void BM_RepaintFormWith100Controls(benchmark::State& state) {
  THeadlessScope scope;
  TForm* form = MakeForm(100);
  form->Show();
  scope.Backend().Pump();
  for (auto _ : state) {
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  delete form;
}
BENCHMARK(BM_RepaintFormWith100Controls)->Unit(benchmark::kMicrosecond);

// The same picture with cairo and pango: the form's background, then per tile a fill, a
// one-pixel frame and its text from a layout made once.
void BM_RepaintFormWith100Controls_Baseline(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 640, 480);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  PangoFontDescription* font = pango_font_description_from_string("Tahoma");
  pango_font_description_set_absolute_size(font, 11 * PANGO_SCALE);
  std::vector<PangoLayout*> layouts;
  for (int i = 0; i < 100; ++i) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, ("Газ " + std::to_string(i)).c_str(), -1);
    layouts.push_back(layout);
  }
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_paint(cr);
    for (int i = 0; i < 100; ++i) {
      double x = 5 + (i % 10) * 62, y = 5 + (i / 10) * 44;
      cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
      cairo_rectangle(cr, x, y, 58, 40);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 0.63, 0.63, 0.63);
      cairo_rectangle(cr, x + 0.5, y + 0.5, 57, 39);
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_rectangle(cr, x, y, 58, 40);
      cairo_clip(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_move_to(cr, x + 4, y + 3);
      pango_cairo_show_layout(cr, layouts[std::size_t(i)]);
      cairo_restore(cr);
    }
    cairo_surface_flush(surface);
  }
  for (PangoLayout* layout : layouts) g_object_unref(layout);
  pango_font_description_free(font);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_RepaintFormWith100Controls_Baseline)->Unit(benchmark::kMicrosecond);

// Per control: a full repaint of a form of n tiles.
void BM_FormRepaintPerControl(benchmark::State& state) {
  THeadlessScope scope;
  int n = int(state.range(0));
  TForm* form = MakeForm(n);
  form->Show();
  scope.Backend().Pump();
  for (auto _ : state)
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  state.SetItemsProcessed(state.iterations() * n);
  delete form;
}
BENCHMARK(BM_FormRepaintPerControl)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

// Per control: making a shown form of n tiles, and freeing it.
void BM_FormCreatePerControl(benchmark::State& state) {
  THeadlessScope scope;
  int n = int(state.range(0));
  for (auto _ : state) {
    TForm* form = MakeForm(n);
    form->Show();
    state.PauseTiming();
    delete form;
    scope.Backend().Pump();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FormCreatePerControl)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

void BM_FormDestroyPerControl(benchmark::State& state) {
  THeadlessScope scope;
  int n = int(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    TForm* form = MakeForm(n);
    form->Show();
    scope.Backend().Pump();
    state.ResumeTiming();
    delete form;
    scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FormDestroyPerControl)->Arg(100)->Arg(400)->Arg(1600)->Unit(benchmark::kMillisecond);

// Per window: pumping the paints of a window of n small children after all of them were
// invalidated. Each fetch of WM_PAINT finds the next window to paint; that must not cost
// a walk of every child. The children are 8 x 8, a hundred to a row, so the back buffer
// stays small and the cost measured is the queue's and the painting path's, not pixels'.
LRESULT PumpChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProc(h, msg, wp, lp);
}

void BM_PumpPaintsPerWindow(benchmark::State& state) {
  THeadlessScope scope;
  WNDCLASS wc{};
  wc.lpfnWndProc = &PumpChildProc;
  wc.lpszClassName = "BenchPumpWnd";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClass(&wc);
  int n = int(state.range(0));
  int rows = (n + 99) / 100;
  HWND parent = CreateWindowEx(0, "BenchPumpWnd", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 810, 10 + rows * 9, nullptr,
                               nullptr, nullptr, nullptr);
  for (int i = 0; i < n; ++i)
    CreateWindowEx(0, "BenchPumpWnd", "", WS_CHILD | WS_VISIBLE, 5 + (i % 100) * 8, 5 + (i / 100) * 9, 8, 8, parent,
                   nullptr, nullptr, nullptr);
  ShowWindow(parent, SW_SHOWNA);
  scope.Backend().Pump();
  for (auto _ : state) {
    RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    scope.Backend().Pump();
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
  DestroyWindow(parent);
}
BENCHMARK(BM_PumpPaintsPerWindow)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace
