#include "platform/backend/Headless.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/win/LayeredWindow.h"

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

static bool WritePng(cairo_surface_t* s, const std::string& path) {
  bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

// The screen's area from `origin`, of `size`, with the windows up to `upTo` (nullptr: all).
static cairo_surface_t* ScreenPart(POINT origin, SIZE size, HWND upTo) {
  UpdateAllWindows();
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, int(size.cx)), std::max(1, int(size.cy)));
  ComposeScreen(reinterpret_cast<_cairo_surface*>(out), origin, upTo);
  return out;
}

// A top-level window whose look depends on what lies beneath it.
static bool SeeThrough(HWND hwnd) {
  if (GetAncestor(hwnd, GA_ROOT) != hwnd) return false;
  if (GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) return true;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  bool shaped = GetWindowRgn(hwnd, region) != ERROR;
  DeleteObject(region);
  return shaped;
}

bool SaveScreenPng(const std::string& path) {
  return WritePng(ScreenPart(POINT{0, 0}, CurrentBackend().ScreenSize(), nullptr), path);
}

COLORREF ScreenPixel(int x, int y) {
  SIZE screen = CurrentBackend().ScreenSize();
  if (x < 0 || y < 0 || x >= screen.cx || y >= screen.cy) return CLR_INVALID;
  cairo_surface_t* s = ScreenPart(POINT{x, y}, SIZE{1, 1}, nullptr);
  uint32_t v;
  std::memcpy(&v, cairo_image_surface_get_data(s), 4);
  cairo_surface_destroy(s);
  return RGB(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
  if (IsWindow(hwnd) && IsWindowVisible(hwnd) && SeeThrough(hwnd)) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    return WritePng(ScreenPart(POINT{wr.left, wr.top}, SIZE{wr.right - wr.left, wr.bottom - wr.top}, hwnd), path);
  }
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
  return WritePng(out, path);
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
