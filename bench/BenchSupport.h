#pragma once
// Shared pieces of the benchmarks: a 32-bit memory DC over a DIB section.
//
// Every measured operation has a baseline registered next to it (its name with
// "_Baseline", or the same benchmark at another size); bench/ratios.py turns a run
// with interleaved repetitions into the ratio table:
//   lorm_bench --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
//     --benchmark_format=json > run.json && python3 bench/ratios.py run.json
#include <cstdint>

#include "platform/gdi/Gdi.h"

namespace bench {
struct TDibSurface {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  std::uint32_t* Bits = nullptr;
  int Width = 0, Height = 0;

  TDibSurface(int width, int height, std::uint32_t fill = 0xFFFFFFFFu) : Width(width), Height(height) {
    Dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits);
    Bits = static_cast<std::uint32_t*>(bits);
    Old = SelectObject(Dc, Bitmap);
    for (int i = 0; i < width * height; ++i) Bits[i] = fill;
  }
  ~TDibSurface() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bitmap);
  }
  TDibSurface(const TDibSurface&) = delete;
  TDibSurface& operator=(const TDibSurface&) = delete;
};
}  // namespace bench
