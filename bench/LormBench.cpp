// The lorm program: start-up of the main window to its first paint and its closing, against
// a plain form shown and closed; and a 10,000-record gas database loaded (with both grids
// refreshed) and saved, against reading and writing the same bytes raw; and the program as
// a whole process (its binary started under an Xvfb of the benchmark's own, closing after
// its first paint) with databases of 100 and 10,000 records.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// With a database of state.range(0) records (the first refresh of the grids fills them).
void BM_LormStartToFirstPaintAndClose(benchmark::State& state) {
  TBaseFolder folder(int(state.range(0)));
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
BENCHMARK(BM_LormStartToFirstPaintAndClose)->Arg(5)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

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

// An Xvfb of the benchmark's own, started on first use and stopped at exit; Display() is
// empty when it cannot start.
class TXvfb {
public:
  static TXvfb& Get() {
    static TXvfb x;
    return x;
  }
  const std::string& Display() const { return FDisplay; }
  ~TXvfb() {
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
  }

private:
  TXvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    FPid = fork();
    if (FPid == 0) {
      close(fds[0]);
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1400x900x24", "-nolisten", "tcp", "-noreset",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (FPid > 0 && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) FDisplay = ":" + number;
  }
  pid_t FPid = -1;
  std::string FDisplay;
};

// Starts the program in the current folder on the Xvfb, closing after its first paint;
// false when it did not end well.
bool RunProgramOnce(const std::string& display) {
  pid_t pid = fork();
  if (pid == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("LORM_QUIT_AFTER_FIRST_PAINT", "1", 1);
    std::string registry = std::filesystem::current_path() / "registry";
    std::filesystem::create_directories(registry);
    setenv("LORM_REGISTRY_DIR", registry.c_str(), 1);
    execl(LORM_PROGRAM, LORM_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) return false;
  // A program that does not close within a minute (a box waiting for an answer) is stopped.
  int status = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    usleep(2000);
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The whole process with a database of state.range(0) records: start, first paint of the
// main window, close (which saves the database again).
void BM_LormProcessStartAndClose(benchmark::State& state) {
  const std::string& display = TXvfb::Get().Display();
  if (display.empty()) {
    state.SkipWithError("Xvfb did not start");
    return;
  }
  const int count = int(state.range(0));
  TBaseFolder folder(count);
  const auto size = std::filesystem::file_size("converting.cnv");
  for (auto _ : state)
    if (!RunProgramOnce(display)) {
      state.SkipWithError("the program did not start and close cleanly");
      return;
    }
  if (std::filesystem::file_size("converting.cnv") != size) state.SkipWithError("the database did not come back whole");
  state.counters["records"] = count;
}
BENCHMARK(BM_LormProcessStartAndClose)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The file's read time, the allowance the start with a large database may add.
void BM_LormProcessStartAndClose_FileRead(benchmark::State& state) {
  TBaseFolder folder(int(state.range(0)));
  for (auto _ : state) {
    std::ifstream in("converting.cnv", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_LormProcessStartAndClose_FileRead)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
