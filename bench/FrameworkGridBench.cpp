// The framework string grid: its cell store against a vector of strings, a page repaint
// against cairo and pango drawing the same page, and the operations whose cost must not
// grow faster than the grid (per-item cost at three sizes ten times apart).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/gdi/FontMap.h"
#include "platform/gdi/GdiObjects.h"
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

// The same page drawn with cairo and pango, pixel for pixel: the client area's size, the
// grid's colours, its lines (black between fixed cells, silver between the others), the
// fixed cells' bevels, the focus rectangle, and the texts in the grid's font through the
// same pango context (crisp, hinted) at the grid's text origin, each clipped to its cell;
// the layouts are made once and reused. After the run the page is compared with the
// grid's own pixels ("pixels_differ" must stay 0, or the two draw different things).
void GridRepaintBaseline(benchmark::State& state, int rowCount, bool bottom) {
  TShownGrid g(rowCount);
  if (bottom) g.Grid->SetTopRow(rowCount - g.Grid->VisibleRowCount());
  UpdateWindow(g.Grid->Handle());
  TGridDrawInfo info;
  g.Grid->CalcDrawInfo(info);
  const int cols = g.Grid->ColCount(), colStep = g.Grid->DefaultColWidth() + 1;
  const int rowHeight = g.Grid->DefaultRowHeight(), rowStep = rowHeight + 1;
  const int colWidth = colStep - 1;
  const int gridRight = info.Horz.GridBoundary, gridBottom = info.Vert.GridBoundary;
  auto rgb = [](cairo_t* cr, COLORREF c) {
    cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
  };
  const COLORREF fixedColor = ColorToRGB(g.Grid->FixedColor()), color = ColorToRGB(g.Grid->Color());
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF line = ColorToRGB(clSilver), fixedLine = ColorToRGB(clBlack);
  const COLORREF textColor = ColorToRGB(g.Grid->Font()->GetColor());
  LOGFONT lf{};
  GetObject(g.Grid->Font()->GetHandle(), sizeof lf, &lf);
  const ResolvedFont& font = FontMapResolve(FontSpecFromLogFont(lf));
  // The focus rectangle: every other pixel of the focused cell's frame inverted, in the
  // checkerboard of the window's buffer.
  POINT origin{0, 0};
  ClientToScreen(g.Grid->Handle(), &origin);
  RECT frame;
  GetWindowRect(GetAncestor(g.Grid->Handle(), GA_ROOT), &frame);
  const int parity = int((origin.x - frame.left) + (origin.y - frame.top)) & 1;
  TRect focus = g.Grid->CellRect(g.Grid->Col(), g.Grid->Row());
  // Only the part of the grid inside the form's client area is on screen (and painted).
  POINT formOrigin{0, 0};
  ClientToScreen(g.Form->Handle(), &formOrigin);
  const int width = std::min<int>(g.Grid->ClientWidth(), g.Form->ClientWidth() - (origin.x - formOrigin.x));
  const int height = std::min<int>(g.Grid->ClientHeight(), g.Form->ClientHeight() - (origin.y - formOrigin.y));
  // Page rows: the fixed row, then the scrolled rows that start on the page.
  std::vector<int> rows{0};
  const int pageBottom = std::min(height, info.Vert.GridBoundary);
  for (int r = g.Grid->TopRow(), y = rowStep; r < rowCount && y < pageBottom; ++r, y += rowStep) rows.push_back(r);
  std::vector<PangoLayout*> layouts;
  std::vector<int> textTops;
  for (int r : rows)
    for (int c = 0; c < cols; ++c) {
      PangoLayout* layout = FontMapNewLayout(font.request);
      std::string text = g.Grid->Cells(c, r);
      pango_layout_set_text(layout, text.c_str(), -1);
      layouts.push_back(layout);
      textTops.push_back(2 + font.metrics.ascent - pango_layout_get_baseline(layout) / PANGO_SCALE);
    }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  for (auto _ : state) {
    // Lines, then the cells, then the client area beyond them.
    rgb(cr, fixedLine);
    for (int x = colWidth; x < gridRight; x += colStep) cairo_rectangle(cr, x, 0, 1, std::min(rowStep, gridBottom));
    cairo_rectangle(cr, 0, rowHeight, gridRight, 1);
    for (int y = rowStep + rowHeight; y < gridBottom; y += rowStep) cairo_rectangle(cr, 0, y, colWidth, 1);
    cairo_rectangle(cr, colWidth, rowStep, 1, gridBottom - rowStep);
    cairo_fill(cr);
    rgb(cr, line);
    for (int x = colStep + colWidth; x < gridRight; x += colStep)
      cairo_rectangle(cr, x, rowStep, 1, gridBottom - rowStep);
    for (int y = rowStep + rowHeight; y < gridBottom; y += rowStep)
      cairo_rectangle(cr, colStep, y, gridRight - colStep, 1);
    cairo_fill(cr);
    for (std::size_t i = 0; i < rows.size(); ++i)
      for (int c = 0; c < cols; ++c) {
        double x = c * colStep, y = double(i) * rowStep;
        bool fixed = i == 0 || c == 0;
        rgb(cr, fixed ? fixedColor : color);
        cairo_rectangle(cr, x, y, colWidth, rowHeight);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_rectangle(cr, x, y, colWidth, rowHeight);
        cairo_clip(cr);
        rgb(cr, textColor);
        cairo_move_to(cr, x + 2, y + textTops[i * std::size_t(cols) + std::size_t(c)]);
        pango_cairo_show_layout(cr, layouts[i * std::size_t(cols) + std::size_t(c)]);
        cairo_restore(cr);
        if (fixed) {
          rgb(cr, shadow);
          cairo_rectangle(cr, x + colWidth - 1, y, 1, rowHeight);
          cairo_rectangle(cr, x, y + rowHeight - 1, colWidth, 1);
          cairo_fill(cr);
          rgb(cr, light);
          cairo_rectangle(cr, x, y, colWidth, 1);
          cairo_rectangle(cr, x, y, 1, rowHeight);
          cairo_fill(cr);
        }
      }
    rgb(cr, color);
    cairo_rectangle(cr, gridRight, 0, width - gridRight, gridBottom);
    cairo_rectangle(cr, 0, gridBottom, width, height - gridBottom);
    cairo_fill(cr);
    if (focus.Right > focus.Left) {
      cairo_surface_flush(surface);
      unsigned char* data = cairo_image_surface_get_data(surface);
      int stride = cairo_image_surface_get_stride(surface);
      auto invert = [&](int x, int y) {
        if (((x + y + parity) & 1) == 0 && x < width && y < height)
          reinterpret_cast<std::uint32_t*>(data + y * stride)[x] ^= 0xFFFFFFu;
      };
      for (int x = focus.Left; x < focus.Right; ++x) {
        invert(x, focus.Top);
        invert(x, focus.Bottom - 1);
      }
      for (int y = focus.Top + 1; y < focus.Bottom - 1; ++y) {
        invert(focus.Left, y);
        invert(focus.Right - 1, y);
      }
      cairo_surface_mark_dirty(surface);
    }
    cairo_surface_flush(surface);
  }
  int differ = 0;
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface))[x];
      differ += WindowPixel(g.Grid->Handle(), x, y) != RGB(int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF));
    }
  state.counters["pixels_differ"] = differ;
  for (PangoLayout* layout : layouts) g_object_unref(layout);
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

namespace {
// 5. Refreshing a page with every cell changed, then painting it, in a window of
// `width` x 3/4 `width` pixels; per cell shown (its cost must not grow with the window).
void BM_GridRefreshPage(benchmark::State& state) {
  const int width = int(state.range(0)), height = width * 3 / 4;
  TShownGrid g(1000, false);
  g.Form->SetBounds(0, 0, width + 20, height + 20);
  g.Grid->SetBounds(0, 0, width, height);
  g.Grid->SetColCount(width / 65 + 2);
  g.Scope.Backend().Pump();
  const int cols = g.Grid->VisibleColCount() + g.Grid->FixedCols();
  const int rows = g.Grid->VisibleRowCount() + g.Grid->FixedRows();
  std::vector<std::string> texts[2];
  for (int i = 0; i < cols * rows; ++i) {
    texts[0].push_back("a" + std::to_string(i));
    texts[1].push_back("b" + std::to_string(i));
  }
  int round = 0;
  double setting = 0;  // the time spent setting the cells (the rest is the paint)
  for (auto _ : state) {
    const auto& t = texts[round++ % 2];
    auto start = std::chrono::steady_clock::now();
    for (int r = 0, i = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c, ++i) g.Grid->SetCells(c, r, t[std::size_t(i)]);
    setting += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    UpdateWindow(g.Grid->Handle());
  }
  state.SetItemsProcessed(state.iterations() * cols * rows);
  state.counters["cells"] = cols * rows;
  state.counters["set_us_per_cell"] = setting / double(state.iterations()) / (cols * rows);
}
BENCHMARK(BM_GridRefreshPage)->Arg(800)->Arg(1600)->Unit(benchmark::kMicrosecond);

// 6. Appending a row (its count raised and its five cells set) to a grid on screen of
// `rows` rows, and taking it away again; the cost per append must not grow with the grid.
void BM_GridAppendRowOnScreen(benchmark::State& state) {
  const int rows = int(state.range(0));
  TShownGrid g(rows, false);
  for (auto _ : state) {
    int r = g.Grid->RowCount();
    g.Grid->SetRowCount(r + 1);
    for (int c = 0; c < 5; ++c) g.Grid->SetCells(c, r, "new");
    g.Grid->DeleteRow(r);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridAppendRowOnScreen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// 7. Inserting and removing a row at row 1 of a 100,000 x 10 grid through the row
// handles (the count raised, the rows moved down one, the new row emptied; and back),
// against inserting and erasing at the front of a vector of 100,000 row pointers.
void BM_GridInsertRemoveRowAtTop(benchmark::State& state) {
  auto* grid = new TStringGrid(nullptr);
  grid->SetColCount(kStoreCols);
  grid->SetRowCount(kStoreRows);
  const auto& texts = ShortTexts();
  for (int r = 0, i = 0; r < kStoreRows; ++r)
    for (int c = 0; c < kStoreCols; ++c, ++i) grid->SetCells(c, r, texts[std::size_t(i)]);
  for (auto _ : state) {
    int n = grid->RowCount();
    grid->SetRowCount(n + 1);
    grid->MoveRowSlots(1, n, 1);
    grid->ClearRowSlots(1, 1);
    grid->MoveRowSlots(1, n, -1);
    grid->ClearRowSlots(n, n);
    grid->SetRowCount(n);
  }
  if (grid->Cells(3, 1) != texts[kStoreCols + 3]) state.SkipWithError("the rows did not come back");
  delete grid;
}
BENCHMARK(BM_GridInsertRemoveRowAtTop)->Unit(benchmark::kMicrosecond);

void BM_GridInsertRemoveRowAtTop_Baseline(benchmark::State& state) {
  std::vector<std::unique_ptr<std::vector<std::string>>> rows;
  for (int r = 0; r < kStoreRows; ++r) rows.push_back(std::make_unique<std::vector<std::string>>(kStoreCols));
  for (auto _ : state) {
    rows.insert(rows.begin() + 1, std::make_unique<std::vector<std::string>>(kStoreCols));
    rows.erase(rows.begin() + 1);
  }
  benchmark::DoNotOptimize(rows.data());
}
BENCHMARK(BM_GridInsertRemoveRowAtTop_Baseline)->Unit(benchmark::kMicrosecond);
}  // namespace
