// The lorm program: start-up of the main window to its first paint and its closing, against
// a plain form shown and closed; and a 10,000-record gas database loaded (with both grids
// refreshed) and saved, against reading and writing the same bytes raw.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "platform/backend/Headless.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/Forms.h"

namespace {

// A folder of its own holding a .cnv file of `count` records; removed when done.
class TBaseFolder {
public:
  explicit TBaseFolder(int count) {
    FOld = std::filesystem::current_path();
    FDir = std::filesystem::temp_directory_path() / ("lorm_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(FDir);
    std::filesystem::current_path(FDir);
    std::ofstream out("converting.cnv", std::ios::binary);
    const int32_t n = count;
    out.write(reinterpret_cast<const char*>(&n), 4);
    for (int i = 0; i < count; ++i) {
      TMyRecord r;
      r.SetFields("Газ " + std::to_string(i), "F" + std::to_string(i % 100), 0.5f + i % 7, 1.0f + i % 5,
                  20.0f + i % 11, 10.0f + i % 13);
      unsigned char image[TMyRecord::ImageSize];
      r.ToImage(image);
      out.write(reinterpret_cast<const char*>(image), sizeof image);
    }
  }
  ~TBaseFolder() {
    std::filesystem::current_path(FOld);
    std::filesystem::remove_all(FDir);
  }

private:
  std::filesystem::path FOld, FDir;
};

void CloseAll() {
  Application->Restart();
  Form1 = nullptr;
  FormAbout = nullptr;
  GasRecords().clear();
}

void BM_LormStartToFirstPaintAndClose(benchmark::State& state) {
  TBaseFolder folder(5);
  TMessageBoxRecorder boxes;
  for (auto _ : state) {
    THeadlessScope scope;
    Application->CreateForm(Form1);
    Application->CreateForm(FormAbout);
    Form1->Show();
    scope.Backend().Pump();  // the first paint
    Form1->Close();          // saves the database
    CloseAll();
  }
}
BENCHMARK(BM_LormStartToFirstPaintAndClose)->Unit(benchmark::kMillisecond);

// A plain form of the main window's size, shown, painted and closed.
void BM_LormStartToFirstPaintAndClose_Baseline(benchmark::State& state) {
  for (auto _ : state) {
    THeadlessScope scope;
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBounds(690, 321, 619, 441);
    form->Show();
    scope.Backend().Pump();
    form->Close();
    Application->Restart();
  }
}
BENCHMARK(BM_LormStartToFirstPaintAndClose_Baseline)->Unit(benchmark::kMillisecond);

void BM_LormLoadRefreshSave10000(benchmark::State& state) {
  TBaseFolder folder(10000);
  TMessageBoxRecorder boxes;
  THeadlessScope scope;
  Application->CreateForm(Form1);
  Form1->Show();
  scope.Backend().Pump();
  for (auto _ : state) {
    GasRecords().clear();
    Form1->LoadGasBase("converting.cnv");  // reads and refreshes both grids
    Form1->SaveGasBase("copy.cnv");
    scope.Backend().Pump();  // the grids repaint
  }
  if (GasRecords().size() != 10000) state.SkipWithError("the base did not load whole");
  CloseAll();
}
BENCHMARK(BM_LormLoadRefreshSave10000)->Unit(benchmark::kMillisecond);

// The same bytes read and written with no records, grids or checks.
void BM_LormLoadRefreshSave10000_Baseline(benchmark::State& state) {
  TBaseFolder folder(10000);
  for (auto _ : state) {
    std::ifstream in("converting.cnv", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::ofstream out("copy.cnv", std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_LormLoadRefreshSave10000_Baseline)->Unit(benchmark::kMillisecond);

}  // namespace
