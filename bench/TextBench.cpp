// Drawing and measuring short texts, the most frequent operations of every control's paint.
#include <benchmark/benchmark.h>

#include "platform/gdi/Gdi.h"

namespace {
struct TMemorySurface {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HFONT Font = nullptr;

  TMemorySurface(int width, int height) {
    Dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
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
  }
  ~TMemorySurface() {
    DeleteDC(Dc);
    DeleteObject(Bitmap);
    DeleteObject(Font);
  }
};

void BM_MeasureShortText(benchmark::State& state) {
  TMemorySurface surface(64, 64);
  const char* text = "Плотность 1.24";
  for (auto _ : state) {
    SIZE size{};
    GetTextExtentPoint32Utf8(surface.Dc, text, &size);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(BM_MeasureShortText);

void BM_TextOutShortText(benchmark::State& state) {
  TMemorySurface surface(200, 40);
  const std::string text = "Теплоемкость  1.05";
  for (auto _ : state) {
    TextOut(surface.Dc, 4, 4, text.c_str(), static_cast<int>(text.size()));
  }
}
BENCHMARK(BM_TextOutShortText);

void BM_DrawTextCentredInCell(benchmark::State& state) {
  TMemorySurface surface(200, 40);
  std::string text = "Химическая формула";
  for (auto _ : state) {
    RECT cell{0, 0, 140, 20};
    DrawText(surface.Dc, text.c_str(), static_cast<int>(text.size()), &cell,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}
BENCHMARK(BM_DrawTextCentredInCell);
} // namespace
