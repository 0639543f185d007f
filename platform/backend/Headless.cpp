#include "platform/backend/Headless.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace {
THeadlessBackend* gInstalled = nullptr;
}

void THeadlessBackend::Wait(bool hasTimer, unsigned long long nextTimerDue) {
  if (!FSteps.empty()) {
    auto step = std::move(FSteps.front());
    FSteps.pop_front();
    ++FStepDepth;
    struct TLeave {
      int& Depth;
      ~TLeave() { --Depth; }
    } leave{FStepDepth};
    step();
    return;
  }
  if (FAdvanceWhenIdle && hasTimer) {
    FNow = std::max(FNow, nextTimerDue);
    return;
  }
  throw EMessageLoopStalled(
      "A message loop waits for input, but the headless run has nothing scripted for it");
}

void THeadlessBackend::Advance(unsigned long long ms) {
  unsigned long long target = FNow + ms;
  ProcessPendingMessages();
  for (;;) {
    unsigned long long due = 0;
    if (!NextTimerDue(&due) || due > target) break;
    FNow = std::max(FNow, due);
    ProcessPendingMessages();
  }
  FNow = std::max(FNow, target);
  ProcessPendingMessages();
}

void THeadlessBackend::SetScreenSize(int width, int height) {
  FScreen = SIZE{width, height};
  FWorkArea = RECT{0, 0, width, std::max(0, height - 30)};
}

THeadlessBackend& Headless() {
  if (!gInstalled) {
    static THeadlessBackend fallback;
    gInstalled = &fallback;
    SetBackend(gInstalled);
  }
  return *gInstalled;
}

THeadlessScope::THeadlessScope() {
  ResetWindowSystem();
  FPrevious = SetBackend(&FBackend);
  gInstalled = &FBackend;
}

THeadlessScope::~THeadlessScope() {
  ResetWindowSystem();
  SetBackend(FPrevious);
  gInstalled = nullptr;
}

static cairo_surface_t* TopSurface(HWND hwnd, POINT* offset) {
  if (!IsWindow(hwnd)) return nullptr;
  UpdateAllWindows();
  HWND top = GetAncestor(hwnd, GA_ROOT);
  auto* s = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(top));
  if (!s) return nullptr;
  RECT tr, wr;
  GetWindowRect(top, &tr);
  GetWindowRect(hwnd, &wr);
  *offset = POINT{wr.left - tr.left, wr.top - tr.top};
  cairo_surface_flush(s);
  return s;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  POINT off{};
  cairo_surface_t* s = TopSurface(hwnd, &off);
  if (!s) return false;
  RECT wr;
  GetWindowRect(hwnd, &wr);
  int w = std::max(1, int(wr.right - wr.left)), h = std::max(1, int(wr.bottom - wr.top));
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(out);
  cairo_set_source_surface(cr, s, -off.x, -off.y);
  cairo_paint(cr);
  cairo_destroy(cr);
  bool ok = cairo_surface_write_to_png(out, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(out);
  return ok;
}

COLORREF WindowPixel(HWND hwnd, int x, int y) {
  POINT off{};
  cairo_surface_t* s = TopSurface(hwnd, &off);
  if (!s) return CLR_INVALID;
  POINT client{x, y};
  ClientToScreen(hwnd, &client);
  RECT tr;
  GetWindowRect(GetAncestor(hwnd, GA_ROOT), &tr);
  int px = client.x - tr.left, py = client.y - tr.top;
  if (px < 0 || py < 0 || px >= cairo_image_surface_get_width(s) || py >= cairo_image_surface_get_height(s))
    return CLR_INVALID;
  const unsigned char* row = cairo_image_surface_get_data(s) + py * cairo_image_surface_get_stride(s);
  uint32_t v;
  std::memcpy(&v, row + px * 4, 4);
  return RGB(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}
