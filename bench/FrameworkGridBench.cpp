// The framework string grid: its cell store against a vector of strings, a page repaint
// against cairo and pango drawing the same page, and the operations whose cost must not
// grow faster than the grid (per-item cost at three sizes ten times apart).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"

namespace {
constexpr int kStoreCols = 10, kStoreRows = 100000;  // one million cells

const std::vector<std::string>& ShortTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> v;
    v.reserve(std::size_t(kStoreCols) * kStoreRows);
    for (int i = 0; i < kStoreCols * kStoreRows; ++i) v.push_back(std::to_string(i % 9973 * 7));
    return v;
  }();
  return texts;
}

std::size_t HeapInUse() {
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;  // small blocks and mapped ones
}

// Filling a fresh store with a million short texts (making and freeing the store is not
// measured).
void BM_GridSetCells1M(benchmark::State& state) {
  const auto& texts = ShortTexts();
  for (auto _ : state) {
    state.PauseTiming();
    std::size_t before = HeapInUse();
    auto* grid = new TStringGrid(nullptr);
    grid->SetColCount(kStoreCols);
    grid->SetRowCount(kStoreRows);
    state.ResumeTiming();
    for (int r = 0, i = 0; r < kStoreRows; ++r)
      for (int c = 0; c < kStoreCols; ++c, ++i) grid->SetCells(c, r, texts[std::size_t(i)]);
    state.PauseTiming();
    state.counters["bytes_per_cell"] = double(HeapInUse() - before) / double(texts.size());
    delete grid;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridSetCells1M)->Unit(benchmark::kMillisecond);

void BM_GridSetCells1M_Baseline(benchmark::State& state) {
  const auto& texts = ShortTexts();
  for (auto _ : state) {
    state.PauseTiming();
    std::size_t before = HeapInUse();
    auto* cells = new std::vector<std::string>();
    state.ResumeTiming();
    cells->resize(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) (*cells)[i] = texts[i];
    state.PauseTiming();
    state.counters["bytes_per_cell"] = double(HeapInUse() - before) / double(texts.size());
    delete cells;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GridSetCells1M_Baseline)->Unit(benchmark::kMillisecond);

void BM_GridGetCells1M(benchmark::State& state) {
  const auto& texts = ShortTexts();
  auto* grid = new TStringGrid(nullptr);
  grid->SetColCount(kStoreCols);
  grid->SetRowCount(kStoreRows);
  for (int r = 0, i = 0; r < kStoreRows; ++r)
    for (int c = 0; c < kStoreCols; ++c, ++i) grid->SetCells(c, r, texts[std::size_t(i)]);
  for (auto _ : state) {
    std::size_t total = 0;
    for (int r = 0; r < kStoreRows; ++r)
      for (int c = 0; c < kStoreCols; ++c) total += grid->Cells(c, r).size();
    benchmark::DoNotOptimize(total);
  }
  delete grid;
}
BENCHMARK(BM_GridGetCells1M)->Unit(benchmark::kMillisecond);

void BM_GridGetCells1M_Baseline(benchmark::State& state) {
  std::vector<std::string> cells = ShortTexts();
  for (auto _ : state) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      std::string s = cells[i];
      total += s.size();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_GridGetCells1M_Baseline)->Unit(benchmark::kMillisecond);

// A shown string grid on a form: 5 columns, `rows` rows, cells filled.
struct TShownGrid {
  THeadlessScope Scope;
  TForm* Form = new TForm(nullptr);
  TStringGrid* Grid = nullptr;
  explicit TShownGrid(int rows, bool fill = true) {
    Form->SetBounds(0, 0, 520, 420);
    Grid = new TStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 500, 400);
    Grid->SetOptions(Grid->Options() + goRangeSelect);
    Grid->SetRowCount(rows);
    if (fill)
      for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 5; ++c) Grid->SetCells(c, r, "Ячейка " + std::to_string(r) + ":" + std::to_string(c));
    Form->Show();
    Scope.Backend().Pump();
  }
  ~TShownGrid() { delete Form; }
};

void GridRepaint(benchmark::State& state, int rows, bool bottom) {
  TShownGrid g(rows);
  if (bottom) g.Grid->SetTopRow(rows - g.Grid->VisibleRowCount());
  g.Scope.Backend().Pump();
  for (auto _ : state)
    RedrawWindow(g.Grid->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// The same page drawn with cairo and pango: cell backgrounds, grid lines, the fixed
// cells' bevels and the page's texts (the fixed row's and those of the rows in view) from
// layouts made once and reused.
void GridRepaintBaseline(benchmark::State& state, int rowCount, bool bottom) {
  TShownGrid g(rowCount);
  if (bottom) g.Grid->SetTopRow(rowCount - g.Grid->VisibleRowCount());
  TGridDrawInfo info;
  g.Grid->CalcDrawInfo(info);
  // The fixed row, the rows shown whole and the part of one more when there is one.
  int cols = 5, visibleRows = std::min(info.Vert.LastFullVisibleCell + 2, rowCount) - g.Grid->TopRow() + 1;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 500, 400);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  PangoFontDescription* font = pango_font_description_from_string("Tahoma");
  pango_font_description_set_absolute_size(font, 11 * PANGO_SCALE);
  std::vector<PangoLayout*> layouts;
  for (int r = 0; r < visibleRows; ++r)
    for (int c = 0; c < cols; ++c) {
      PangoLayout* layout = pango_cairo_create_layout(cr);
      pango_layout_set_font_description(layout, font);
      std::string text = g.Grid->Cells(c, r == 0 ? 0 : g.Grid->TopRow() + r - 1);
      pango_layout_set_text(layout, text.c_str(), -1);
      layouts.push_back(layout);
    }
  for (auto _ : state) {
    for (int r = 0; r < visibleRows; ++r)
      for (int c = 0; c < cols; ++c) {
        double x = c * 65, y = r * 25;
        bool fixed = r == 0 || c == 0;
        cairo_set_source_rgb(cr, fixed ? 0.94 : 1, fixed ? 0.94 : 1, fixed ? 0.94 : 1);
        cairo_rectangle(cr, x, y, 64, 24);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.75, 0.75, 0.75);
        cairo_rectangle(cr, x + 64, y, 1, 25);
        cairo_rectangle(cr, x, y + 24, 65, 1);
        cairo_fill(cr);
        if (fixed) {
          cairo_set_source_rgb(cr, 1, 1, 1);
          cairo_rectangle(cr, x, y, 64, 1);
          cairo_rectangle(cr, x, y, 1, 24);
          cairo_fill(cr);
        }
        cairo_save(cr);
        cairo_rectangle(cr, x, y, 64, 24);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, x + 2, y + 2);
        pango_cairo_show_layout(cr, layouts[std::size_t(r * cols + c)]);
        cairo_restore(cr);
      }
    cairo_surface_flush(surface);
  }
  for (PangoLayout* layout : layouts) g_object_unref(layout);
  pango_font_description_free(font);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void BM_GridRepaint1kTop(benchmark::State& state) { GridRepaint(state, 1000, false); }
void BM_GridRepaint1kTop_Baseline(benchmark::State& state) { GridRepaintBaseline(state, 1000, false); }
void BM_GridRepaint1kBottom(benchmark::State& state) { GridRepaint(state, 1000, true); }
void BM_GridRepaint1kBottom_Baseline(benchmark::State& state) { GridRepaintBaseline(state, 1000, true); }
void BM_GridRepaint1MTop(benchmark::State& state) { GridRepaint(state, 1000000, false); }
void BM_GridRepaint1MTop_Baseline(benchmark::State& state) { GridRepaintBaseline(state, 1000000, false); }
void BM_GridRepaint1MBottom(benchmark::State& state) { GridRepaint(state, 1000000, true); }
void BM_GridRepaint1MBottom_Baseline(benchmark::State& state) { GridRepaintBaseline(state, 1000000, true); }
BENCHMARK(BM_GridRepaint1kTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1kTop_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1kBottom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1kBottom_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1MTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1MTop_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1MBottom)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GridRepaint1MBottom_Baseline)->Unit(benchmark::kMicrosecond);

// 1. Filling every row of a grid on screen (one cell per row).
void BM_GridFillOnScreen(benchmark::State& state) {
  int rows = int(state.range(0));
  TShownGrid g(rows, false);
  std::string text = "12.5";
  for (auto _ : state)
    for (int r = 1; r < rows; ++r) g.Grid->SetCells(1, r, text);
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GridFillOnScreen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// 2. Extending the selection to the last row and back to the first (Shift+Ctrl+End,
// Shift+Ctrl+Home), by rows and across the columns of a row-select grid.
void SelectionBench(benchmark::State& state, bool rowSelect) {
  int rows = int(state.range(0));
  TShownGrid g(rows, false);
  if (rowSelect) {
    g.Grid->SetColCount(rows);
    g.Grid->SetRowCount(3);
    g.Grid->SetOptions(g.Grid->Options() + goRowSelect);
  }
  g.Grid->SetFocus();
  for (auto _ : state) {
    WORD key = VK_END;
    g.Grid->KeyDown(key, TShiftState{ssShift, ssCtrl});
    key = VK_HOME;
    g.Grid->KeyDown(key, TShiftState{ssShift, ssCtrl});
  }
  state.counters["selection_moved"] = g.Grid->Selection().Bottom > 0 || g.Grid->Selection().Right > 0;
  state.SetItemsProcessed(state.iterations() * rows);
}
void BM_GridExtendSelection(benchmark::State& state) { SelectionBench(state, false); }
BENCHMARK(BM_GridExtendSelection)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
void BM_GridExtendRowSelection(benchmark::State& state) { SelectionBench(state, true); }
BENCHMARK(BM_GridExtendRowSelection)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// 3. Deleting a row near the top and inserting one back (moved up from the end).
void BM_GridDeleteInsertRow(benchmark::State& state) {
  int rows = int(state.range(0));
  TShownGrid g(rows, false);
  for (int r = 0; r < rows; r += 7) g.Grid->SetCells(1, r, "x");
  for (auto _ : state) {
    g.Grid->DeleteRow(2);
    g.Grid->SetRowCount(rows);
    g.Grid->MoveRow(rows - 1, 2);
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_GridDeleteInsertRow)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// 4. Changing row heights on a visible grid (cost per change).
void BM_GridRowHeightChange(benchmark::State& state) {
  int rows = int(state.range(0));
  TShownGrid g(rows, false);
  int k = 0;
  for (auto _ : state) {
    g.Grid->SetRowHeights(1 + k % 50, 20 + k / 50 % 2 * 5);
    ++k;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridRowHeightChange)->Arg(10000)->Arg(100000)->Arg(1000000);
}  // namespace
