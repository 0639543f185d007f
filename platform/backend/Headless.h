#pragma once
// The headless back end: a virtual screen, a clock that moves only when a test advances
// it, scripted steps that answer nested loops (modal forms, message boxes, drag loops),
// and snapshots of window back buffers. Install it with THeadlessScope in tests.
#include <deque>
#include <functional>
#include <string>

#include "platform/win/Backend.h"

class THeadlessBackend : public TBackend {
public:
  unsigned long long Now() override { return FNow; }
  // A loop waits: the next scripted step runs; with none left the run would hang, so it
  // raises EMessageLoopStalled instead.
  void Wait(bool hasTimer, unsigned long long nextTimerDue) override;
  void Sleep(unsigned long ms) override { FNow += ms; }
  SIZE ScreenSize() override { return FScreen; }
  RECT WorkArea() override { return FWorkArea; }
  void Beep(UINT) override { ++FBeeps; }
  // Off unless a test turns it on (it then provides the session bus and the portal).
  bool OffersDesktopFileChooser() override { return FDesktopFileChooser; }
  void SetDesktopFileChooser(bool on) { FDesktopFileChooser = on; }

  // The virtual clock: moves time forward by ms, firing due timers in order (each at its
  // own due time) and processing the queue after each.
  void Advance(unsigned long long ms);
  // Processes everything pending without moving the clock.
  void Pump() { ProcessPendingMessages(); }

  // Steps run one per wait of a loop that has nothing to do (FIFO).
  void WhenIdle(std::function<void()> step) { FSteps.push_back(std::move(step)); }
  size_t PendingSteps() const { return FSteps.size(); }
  void ClearSteps() { FSteps.clear(); }
  // When set, a wait with no step left but a pending timer moves the clock to that timer
  // instead of raising (for loops that wait on animation or auto-repeat timers).
  void SetAdvanceToTimersWhenIdle(bool on) { FAdvanceWhenIdle = on; }

  // True while a scripted step runs inside a waiting loop: input it makes is left in the
  // queue for that loop instead of being processed by the step itself.
  bool InStep() const { return FStepDepth > 0; }

  void SetScreenSize(int width, int height);
  int Beeps() const { return FBeeps; }

private:
  unsigned long long FNow = 0;
  SIZE FScreen{1280, 1024};
  RECT FWorkArea{0, 0, 1280, 994};
  std::deque<std::function<void()>> FSteps;
  bool FAdvanceWhenIdle = false;
  int FBeeps = 0;
  int FStepDepth = 0;
  bool FDesktopFileChooser = false;
};

// The installed headless back end (installs one on first use).
THeadlessBackend& Headless();

// Installs a fresh headless back end and a clean window system for a test; restores the
// previous back end afterwards.
class THeadlessScope {
public:
  THeadlessScope();
  ~THeadlessScope();
  THeadlessScope(const THeadlessScope&) = delete;
  THeadlessScope& operator=(const THeadlessScope&) = delete;
  THeadlessBackend& Backend() { return FBackend; }

private:
  THeadlessBackend FBackend;
  TBackend* FPrevious;
};

// Snapshots: the top-level back buffer after painting everything pending. For a child
// window, its part of the buffer (window rectangle). A top-level window with a region or
// a layered look shows as on the screen: over what lies beneath it. Returns false when
// the window has no buffer or the file cannot be written.
bool SaveWindowPng(HWND hwnd, const std::string& path);
// The headless screen after painting everything pending: the desktop and every shown
// top-level window, each cut to its region and blended as its layering says.
bool SaveScreenPng(const std::string& path);
COLORREF ScreenPixel(int x, int y);  // CLR_INVALID off the screen
// The colour of a pixel of a window's client area after painting everything pending;
// CLR_INVALID outside the window's buffer.
COLORREF WindowPixel(HWND hwnd, int clientX, int clientY);
