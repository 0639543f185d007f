// Pixel drawing of the GDI layer on an 800 x 600 surface against pixman and cairo doing
// the same pixels on a surface of the same size.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pixman.h>

#include <cstdint>

#include "BenchSupport.h"

namespace {
constexpr int kW = 800, kH = 600;

// A 256 x 256 source with varied pixels.
struct TSource {
  bench::TDibSurface Surface{256, 256};
  TSource() {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) Surface.Bits[y * 256 + x] = 0xFF000000u | (x << 16) | (y << 8) | ((x ^ y) & 0xFF);
  }
};

pixman_image_t* Wrap(std::uint32_t* bits, int w, int h) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, bits, w * 4);
}

void BM_BitBlt256(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  TSource src;
  for (auto _ : state) BitBlt(dest.Dc, 100, 80, 256, 256, src.Surface.Dc, 0, 0, SRCCOPY);
  benchmark::DoNotOptimize(dest.Bits[0]);
}
BENCHMARK(BM_BitBlt256);

void BM_BitBlt256_Baseline(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  TSource src;
  pixman_image_t* d = Wrap(dest.Bits, kW, kH);
  pixman_image_t* s = Wrap(src.Surface.Bits, 256, 256);
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 100, 80, 256, 256);
  benchmark::DoNotOptimize(dest.Bits[0]);
  pixman_image_unref(s);
  pixman_image_unref(d);
}
BENCHMARK(BM_BitBlt256_Baseline);

void StretchBench(benchmark::State& state, int w, int h) {
  bench::TDibSurface dest(kW, kH);
  TSource src;
  SetStretchBltMode(dest.Dc, COLORONCOLOR);
  for (auto _ : state) StretchBlt(dest.Dc, 10, 10, w, h, src.Surface.Dc, 0, 0, 256, 256, SRCCOPY);
  benchmark::DoNotOptimize(dest.Bits[0]);
}

void StretchBaseline(benchmark::State& state, int w, int h) {
  bench::TDibSurface dest(kW, kH);
  TSource src;
  pixman_image_t* d = Wrap(dest.Bits, kW, kH);
  pixman_image_t* s = Wrap(src.Surface.Bits, 256, 256);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(256.0 / w), pixman_double_to_fixed(256.0 / h));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 10, 10, w, h);
  benchmark::DoNotOptimize(dest.Bits[0]);
  pixman_image_unref(s);
  pixman_image_unref(d);
}

void BM_StretchBltUp(benchmark::State& state) { StretchBench(state, 512, 384); }
void BM_StretchBltUp_Baseline(benchmark::State& state) { StretchBaseline(state, 512, 384); }
void BM_StretchBltDown(benchmark::State& state) { StretchBench(state, 128, 128); }
void BM_StretchBltDown_Baseline(benchmark::State& state) { StretchBaseline(state, 128, 128); }
BENCHMARK(BM_StretchBltUp);
BENCHMARK(BM_StretchBltUp_Baseline);
BENCHMARK(BM_StretchBltDown);
BENCHMARK(BM_StretchBltDown_Baseline);

// cairo drawing aliased into an image surface of the same size.
struct TCairoSurface {
  cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kW, kH);
  cairo_t* Cr = cairo_create(Surface);
  TCairoSurface() {
    cairo_set_antialias(Cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(Cr, 1);
  }
  ~TCairoSurface() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
  }
};

void BM_Rectangle100(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(20, 40, 60));
  HBRUSH brush = CreateSolidBrush(RGB(200, 210, 220));
  HGDIOBJ oldPen = SelectObject(dest.Dc, pen), oldBrush = SelectObject(dest.Dc, brush);
  for (auto _ : state) Rectangle(dest.Dc, 50, 50, 150, 150);
  SelectObject(dest.Dc, oldPen);
  SelectObject(dest.Dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}
BENCHMARK(BM_Rectangle100);

void BM_Rectangle100_Baseline(benchmark::State& state) {
  TCairoSurface c;
  for (auto _ : state) {
    cairo_set_source_rgb(c.Cr, 200 / 255.0, 210 / 255.0, 220 / 255.0);
    cairo_rectangle(c.Cr, 51, 51, 98, 98);
    cairo_fill(c.Cr);
    cairo_set_source_rgb(c.Cr, 20 / 255.0, 40 / 255.0, 60 / 255.0);
    cairo_rectangle(c.Cr, 50.5, 50.5, 99, 99);
    cairo_stroke(c.Cr);
    cairo_surface_flush(c.Surface);
  }
}
BENCHMARK(BM_Rectangle100_Baseline);

void BM_LineToHorizontal800(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(20, 40, 60));
  HGDIOBJ oldPen = SelectObject(dest.Dc, pen);
  for (auto _ : state) {
    MoveToEx(dest.Dc, 0, 300, nullptr);
    LineTo(dest.Dc, 800, 300);
  }
  SelectObject(dest.Dc, oldPen);
  DeleteObject(pen);
}
BENCHMARK(BM_LineToHorizontal800);

void BM_LineToHorizontal800_Baseline(benchmark::State& state) {
  TCairoSurface c;
  cairo_set_source_rgb(c.Cr, 20 / 255.0, 40 / 255.0, 60 / 255.0);
  for (auto _ : state) {
    cairo_move_to(c.Cr, 0, 300.5);
    cairo_line_to(c.Cr, 800, 300.5);
    cairo_stroke(c.Cr);
    cairo_surface_flush(c.Surface);
  }
}
BENCHMARK(BM_LineToHorizontal800_Baseline);

void BM_FillRect100(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  HBRUSH brush = CreateSolidBrush(RGB(200, 210, 220));
  RECT r{50, 50, 150, 150};
  for (auto _ : state) FillRect(dest.Dc, &r, brush);
  DeleteObject(brush);
}
BENCHMARK(BM_FillRect100);

void BM_FillRect100_Baseline(benchmark::State& state) {
  bench::TDibSurface dest(kW, kH);
  for (auto _ : state) {
    pixman_fill(dest.Bits, kW, 32, 50, 50, 100, 100, 0xFFC8D2DCu);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect100_Baseline);
}  // namespace
