// Typing into the string grid's text editor: a keystroke on the robot to the painted
// cell, in a grid of 100,000 rows against one of 10 rows, both on a shown form.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "grid/VezIdid.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Forms.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Seconds per keystroke: each types one digit into the open editor, the message queue
// runs and the grid and editor paint what changed.
double TypingTime(THeadlessScope& scope, int rows, int keystrokes) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(20, 20, 500, 400);
  form->Show();
  auto* grid = new TDavEvadurAvuz(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, 480, 380);
  grid->SetColCount(4);
  grid->SetRowCount(rows);
  grid->SetOptions(grid->Options() + goEditing);
  for (int r = 1; r < rows; ++r) grid->SetCells(1, r, std::to_string(r));
  grid->SetFocus();
  grid->SetRow(rows / 2);
  grid->SetCol(2);
  scope.Backend().Pump();
  TRobot robot;
  robot.Type("1");
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < keystrokes; ++i) {
    robot.PressKey(i % 8 == 7 ? VK_BACK : '0' + i % 10);
    UpdateWindow(form->Handle());
  }
  double t = Seconds(start) / keystrokes;
  grid->HideInplaceEdit();
  Application->Restart();
  return t;
}

void BM_GridTypingLargeAgainstSmall(benchmark::State& state) {
  THeadlessScope scope;
  double large = 0, small = 0;
  TypingTime(scope, 10, 50);  // warms the font and paint caches for both runs
  for (auto _ : state) {
    small += TypingTime(scope, 10, 200);
    large += TypingTime(scope, 100000, 200);
  }
  double n = static_cast<double>(state.iterations());
  state.counters["small_us_per_key"] = 1e6 * small / n;
  state.counters["large_us_per_key"] = 1e6 * large / n;
  state.counters["time_ratio"] = large / small;
}
BENCHMARK(BM_GridTypingLargeAgainstSmall)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
