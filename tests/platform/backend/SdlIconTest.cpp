// The display back end shows a window's icon to the window manager and cursors made from
// images as colour cursors. Needs an X display; skipped without one.
#include <gtest/gtest.h>

#include <SDL.h>
#include <dlfcn.h>

#include <memory>
#include <vector>

#include "platform/backend/SdlBackend.h"
#include "platform/image/IconCodec.h"
#include "platform/win/WinResource.h"

// Last: the X headers it brings define macros (None, Status…) that clash with ours.
#include <SDL_syswm.h>

namespace {

// The X calls the checks need, looked up at run time (the tests link no X library).
struct TXCalls {
  void* X11 = dlopen("libX11.so.6", RTLD_NOW);
  void* Fixes = dlopen("libXfixes.so.3", RTLD_NOW);
  using TIntern = unsigned long (*)(Display*, const char*, int);
  using TGetProp = int (*)(Display*, unsigned long, unsigned long, long, long, int, unsigned long, unsigned long*,
                           int*, unsigned long*, unsigned long*, unsigned char**);
  using TFree = int (*)(void*);
  using TSync = int (*)(Display*, int);
  // XFixesCursorImage as the library lays it out.
  struct TCursorImage {
    short x, y;
    unsigned short width, height, xhot, yhot;
    unsigned long serial;
    unsigned long* pixels;
    unsigned long atom;
    const char* name;
  };
  using TGetCursor = TCursorImage* (*)(Display*);
  TIntern Intern = X11 ? reinterpret_cast<TIntern>(dlsym(X11, "XInternAtom")) : nullptr;
  TGetProp GetProp = X11 ? reinterpret_cast<TGetProp>(dlsym(X11, "XGetWindowProperty")) : nullptr;
  TFree Free = X11 ? reinterpret_cast<TFree>(dlsym(X11, "XFree")) : nullptr;
  TSync Sync = X11 ? reinterpret_cast<TSync>(dlsym(X11, "XSync")) : nullptr;
  TGetCursor GetCursor = Fixes ? reinterpret_cast<TGetCursor>(dlsym(Fixes, "XFixesGetCursorImage")) : nullptr;
  ~TXCalls() {
    if (Fixes) dlclose(Fixes);
    if (X11) dlclose(X11);
  }
};

bool X11Of(SDL_Window* w, Display** display, unsigned long* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *window = info.info.x11.window;
  return true;
}

// _NET_WM_ICON: width, height, then ARGB pixels, each a long.
std::vector<unsigned long> NetWmIcon(TXCalls& x, SDL_Window* w) {
  Display* d = nullptr;
  unsigned long win = 0;
  std::vector<unsigned long> out;
  if (!X11Of(w, &d, &win) || !x.Intern || !x.GetProp) return out;
  x.Sync(d, 0);
  unsigned long atom = x.Intern(d, "_NET_WM_ICON", 0), type = 0, count = 0, after = 0;
  int format = 0;
  unsigned char* data = nullptr;
  if (x.GetProp(d, win, atom, 0, 1 << 20, 0, 0 /* AnyPropertyType */, &type, &format, &count, &after, &data) == 0 &&
      data) {
    auto* longs = reinterpret_cast<unsigned long*>(data);
    out.assign(longs, longs + count);
    x.Free(data);
  }
  return out;
}

class SdlIconTest : public ::testing::Test {
protected:
  void SetUp() override {
    try {
      Sdl = std::make_unique<TSdlBackend>();
    } catch (const ESdlError& e) {
      GTEST_SKIP() << "no display: " << e.what();
    }
    Use = std::make_unique<TSdlBackendScope>(*Sdl);
    ResetWindowSystem();
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "SdlIconTest";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    if (!Sdl) return;
    ResetWindowSystem();
    Use.reset();
    Sdl.reset();
  }
  HWND MakeWindow() {
    HWND w = CreateWindowEx(0, "SdlIconTest", "icon", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 120, nullptr,
                            nullptr, nullptr, nullptr);
    ProcessPendingMessages();
    Sdl->Present();
    return w;
  }
  std::unique_ptr<TSdlBackend> Sdl;
  std::unique_ptr<TSdlBackendScope> Use;
};

}  // namespace

TEST_F(SdlIconTest, WindowIconBecomesTheDesktopIcon) {
  TXCalls x;
  if (!x.GetProp) GTEST_SKIP() << "no X library";
  HWND w = MakeWindow();
  SDL_Window* sw = Sdl->WindowOf(w);
  ASSERT_NE(sw, nullptr);
  if (!NetWmIcon(x, sw).empty()) GTEST_SKIP() << "the window has an icon already";
  TRawImage pic(32, 32, 0xFFFF0000u);
  pic.At(0, 0) = 0x8000FF00u;
  HICON big = CreateIconFromImage(pic);
  SendMessage(w, WM_SETICON, ICON_BIG, LPARAM(big));
  std::vector<unsigned long> icon = NetWmIcon(x, sw);
  ASSERT_GE(icon.size(), 2u + 32 * 32);
  EXPECT_EQ(icon[0], 32u);
  EXPECT_EQ(icon[1], 32u);
  EXPECT_EQ(icon[2] & 0xFFFFFFFFu, 0x8000FF00u);
  EXPECT_EQ(icon[2 + 33] & 0xFFFFFFFFu, 0xFFFF0000u);

  // A small icon alone is used when there is no big one.
  HICON small = CreateIconFromImage(TRawImage(16, 16, 0xFF0000FFu));
  SendMessage(w, WM_SETICON, ICON_BIG, 0);
  SendMessage(w, WM_SETICON, ICON_SMALL, LPARAM(small));
  icon = NetWmIcon(x, sw);
  ASSERT_GE(icon.size(), 2u + 16 * 16);
  EXPECT_EQ(icon[0], 16u);
  EXPECT_EQ(icon[2 + 20] & 0xFFFFFFFFu, 0xFF0000FFu);
  DestroyWindow(w);
  DestroyIcon(big);
  DestroyIcon(small);
}

TEST_F(SdlIconTest, ResourceCursorsShowAsColourCursorsWithTheirHotSpot) {
  TIconFile file;
  file.Cursor = true;
  TIconEntry e;
  e.Image = TRawImage(32, 32, 0);
  for (int i = 0; i < 32; ++i) e.Image.At(i, i) = e.Image.At(i, 31 - i) = 0xFF00FF00u;  // a green X
  e.HotSpotX = 16;
  e.HotSpotY = 15;
  file.Entries.push_back(e);
  TByteBuffer bytes = EncodeIcon(file);
  RegisterResource(RT_GROUP_CURSOR, 8001, bytes);
  HCURSOR cross = LoadCursor(GetModuleHandle(nullptr), MAKEINTRESOURCE(8001));
  UnregisterResource(RT_GROUP_CURSOR, 8001);
  ASSERT_NE(cross, nullptr);

  HWND w = MakeWindow();
  SDL_WarpMouseInWindow(Sdl->WindowOf(w), 100, 80);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  SDL_Cursor* arrow = SDL_GetCursor();
  SetCursor(cross);
  SDL_Cursor* custom = SDL_GetCursor();
  EXPECT_NE(custom, arrow);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(SDL_GetCursor(), arrow);
  SetCursor(cross);
  EXPECT_EQ(SDL_GetCursor(), custom);  // made once

  TXCalls x;
  Display* d = nullptr;
  unsigned long win = 0;
  if (x.GetCursor && X11Of(Sdl->WindowOf(w), &d, &win)) {
    x.Sync(d, 0);
    if (TXCalls::TCursorImage* img = x.GetCursor(d)) {
      EXPECT_EQ(img->width, 32);
      EXPECT_EQ(img->xhot, 16);
      EXPECT_EQ(img->yhot, 15);
      EXPECT_EQ(img->pixels[5 * 32 + 5] & 0xFFFFFFFFu, 0xFF00FF00u);
      EXPECT_EQ(img->pixels[5 * 32 + 6] & 0xFF000000u, 0u);
      x.Free(img);
    }
  }
  DestroyWindow(w);
}
