// Text output and measuring against plain pango doing the same work with a reused layout,
// measured side by side in one run: seven interleaved repetitions, the median of each
// side, reported as the counter "ratio" (project ÷ baseline) with both times per call.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Runs `batch` calls of each side, seven times interleaved, and reports the medians.
template <class Project, class Baseline>
void CompareSideBySide(benchmark::State& state, int batch, Project project, Baseline baseline) {
  std::vector<double> ours, theirs;
  for (auto _ : state) {
    for (int rep = 0; rep < 7; ++rep) {
      auto t0 = Clock::now();
      for (int i = 0; i < batch; ++i) project();
      auto t1 = Clock::now();
      for (int i = 0; i < batch; ++i) baseline();
      auto t2 = Clock::now();
      ours.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count() / batch);
      theirs.push_back(std::chrono::duration<double, std::nano>(t2 - t1).count() / batch);
    }
  }
  double a = Median(ours), b = Median(theirs);
  state.counters["ns"] = a;
  state.counters["baseline_ns"] = b;
  state.counters["ratio"] = a / b;
}

constexpr int kWidth = 800, kHeight = 600;

// A DIB section selected into a memory DC with Tahoma 8 pt, and a plain cairo surface
// with a pango layout in the family that face renders with, at the same size and with
// the same glyph options (hinted, bi-level), so both sides paint the same pixels.
struct TextFixture {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HFONT Font = nullptr;
  cairo_surface_t* Surface = nullptr;
  PangoContext* Context = nullptr;
  PangoFontDescription* Desc = nullptr;

  TextFixture() {
    Dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits);
    SelectObject(Dc, Bitmap);
    LOGFONT lf{};
    lf.lfHeight = -11;
    lf.lfFaceName = "Tahoma";
    Font = CreateFontIndirect(&lf);
    SelectObject(Dc, Font);
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, RGB(0, 0, 0));

    Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    Context = pango_font_map_create_context(pango_context_get_font_map(FontMapContext()));
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(Context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(Context, 96.0);
    Desc = pango_font_description_new();
    pango_font_description_set_family(Desc, "Tahoma");  // the same font map and aliases
    pango_font_description_set_absolute_size(Desc, 11.0 * PANGO_SCALE);
  }
  ~TextFixture() {
    DeleteDC(Dc);
    DeleteObject(Bitmap);
    DeleteObject(Font);
    pango_font_description_free(Desc);
    g_object_unref(Context);
    cairo_surface_destroy(Surface);
  }
  PangoLayout* NewLayout(const std::string& text) const {
    PangoLayout* layout = pango_layout_new(Context);
    pango_layout_set_font_description(layout, Desc);
    pango_layout_set_text(layout, text.data(), int(text.size()));
    return layout;
  }
};

void BM_TextOutVsPango(benchmark::State& state) {
  TextFixture f;
  const std::string text = "Теплоемкость  1.05";
  PangoLayout* layout = f.NewLayout(text);
  CompareSideBySide(
      state, 2000, [&] { TextOut(f.Dc, 40, 40, text.c_str(), int(text.size())); },
      [&] {
        cairo_t* cr = cairo_create(f.Surface);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 40, 40);
        pango_cairo_show_layout(cr, layout);
        cairo_destroy(cr);
      });
  g_object_unref(layout);
}
BENCHMARK(BM_TextOutVsPango)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_DrawTextEndEllipsisVsPango(benchmark::State& state) {
  TextFixture f;
  const std::string text = "Химическая формула природного газа";
  const RECT cell{40, 40, 140, 58};
  PangoLayout* layout = f.NewLayout(text);
  pango_layout_set_width(layout, (cell.right - cell.left) * PANGO_SCALE);
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  CompareSideBySide(
      state, 2000,
      [&] {
        RECT r = cell;
        DrawText(f.Dc, text.c_str(), int(text.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      },
      [&] {
        cairo_t* cr = cairo_create(f.Surface);
        cairo_rectangle(cr, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, cell.left, cell.top + 2);
        pango_cairo_show_layout(cr, layout);
        cairo_destroy(cr);
      });
  g_object_unref(layout);
}
BENCHMARK(BM_DrawTextEndEllipsisVsPango)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TextExtentSameTextVsPango(benchmark::State& state) {
  TextFixture f;
  const std::string text = "Плотность 1.24";
  PangoLayout* layout = f.NewLayout(text);
  CompareSideBySide(
      state, 200000,
      [&] {
        SIZE size{};
        GetTextExtentPoint32(f.Dc, text.c_str(), int(text.size()), &size);
        benchmark::DoNotOptimize(size);
      },
      [&] {
        int w = 0, h = 0;
        pango_layout_get_pixel_size(layout, &w, &h);
        benchmark::DoNotOptimize(w);
      });
  g_object_unref(layout);
}
BENCHMARK(BM_TextExtentSameTextVsPango)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
