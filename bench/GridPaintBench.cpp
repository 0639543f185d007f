// Repainting the string grid in an 800 x 600 window: the cost by row count (1,000,
// 100,000 and 1,000,000 rows; only the visible rows are painted, so it must not grow),
// and one full repaint against raw cairo + pango drawing the same cell rectangles, lines
// and texts (counter "ratio" = grid time / raw time, both measured in the same run).
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <chrono>
#include <memory>
#include <string>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"

namespace {

constexpr int kCols = 8;

struct TGridWindow {
  THeadlessScope scope;
  TForm* form = nullptr;
  TDavEvadurAvuz* grid = nullptr;
  explicit TGridWindow(int Rows) {
    form = new TForm(nullptr);
    form->SetBounds(0, 0, 800, 600);
    grid = new TDavEvadurAvuz(form);
    grid->SetParent(form);
    grid->SetAlign(alClient);
    grid->SetColCountEx(kCols);
    grid->SetRowCountEx(Rows);
    // Only what can be seen needs text: painting never reads rows out of view.
    for (int r = 0; r < std::min(Rows, 40); ++r)
      for (int c = 0; c < kCols; ++c) grid->SetCellEx(c, r, "Газ " + std::to_string(r * kCols + c));
    form->Show();
    scope.Backend().Pump();
  }
  ~TGridWindow() { delete form; }
  void Repaint() { RedrawWindow(grid->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
};

void BM_GridRepaintByRows(benchmark::State& state) {
  TGridWindow w(static_cast<int>(state.range(0)));
  for (auto _ : state) w.Repaint();
}
BENCHMARK(BM_GridRepaintByRows)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same cells drawn straight with cairo and pango: background, two lines, the text.
void RawPaint(cairo_t* cr, PangoLayout* layout, TDavEvadurAvuz* g) {
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  for (int r = 0; r < g->RowCount(); ++r) {
    TRect rr = g->CellRect(0, r);
    if (rr.Bottom <= rr.Top) break;
    for (int c = 0; c < g->ColCount(); ++c) {
      TRect cell = g->CellRect(c, r);
      if (cell.Right <= cell.Left) continue;
      bool fixed = r < g->FixedRows() || c < g->FixedCols();
      if (fixed) cairo_set_source_rgb(cr, 0.92, 0.92, 0.92);
      else cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_rectangle(cr, cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
      cairo_set_line_width(cr, 1);
      cairo_move_to(cr, cell.Left, cell.Bottom - 0.5);
      cairo_line_to(cr, cell.Right, cell.Bottom - 0.5);
      cairo_move_to(cr, cell.Right - 0.5, cell.Top);
      cairo_line_to(cr, cell.Right - 0.5, cell.Bottom);
      cairo_stroke(cr);
      std::string s = g->GetCellEx(c, r);
      if (s.empty()) continue;
      cairo_save(cr);
      cairo_rectangle(cr, cell.Left, cell.Top, cell.Right - cell.Left, cell.Bottom - cell.Top);
      cairo_clip(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      pango_layout_set_text(layout, s.c_str(), static_cast<int>(s.size()));
      cairo_move_to(cr, cell.Left + 2, cell.Top + 2);
      pango_cairo_show_layout(cr, layout);
      cairo_restore(cr);
    }
  }
}

void BM_GridRepaintAgainstRawCairo(benchmark::State& state) {
  TGridWindow w(1000);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("Sans 8");
  pango_layout_set_font_description(layout, font);
  double gridTime = 0, rawTime = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    w.Repaint();
    auto t1 = std::chrono::steady_clock::now();
    RawPaint(cr, layout, w.grid);
    cairo_surface_flush(surface);
    auto t2 = std::chrono::steady_clock::now();
    gridTime += std::chrono::duration<double>(t1 - t0).count();
    rawTime += std::chrono::duration<double>(t2 - t1).count();
  }
  state.counters["ratio"] = rawTime > 0 ? gridTime / rawTime : 0;
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}
BENCHMARK(BM_GridRepaintAgainstRawCairo)->Unit(benchmark::kMillisecond);

}  // namespace
