// The display back end names its windows for the desktop portal as "x11:<hex id>", the
// id the X server knows the window by. Needs an X display and xdotool; skipped without.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/backend/SdlBackend.h"

namespace {

class SdlDesktopTest : public ::testing::Test {
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
    wc.lpszClassName = "SdlDesktopTest";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    if (!Sdl) return;
    ResetWindowSystem();
    Use.reset();
    Sdl.reset();
  }
  std::unique_ptr<TSdlBackend> Sdl;
  std::unique_ptr<TSdlBackendScope> Use;
};

// The ids xdotool finds for windows named exactly Name, one per line.
std::string XdotoolSearch(const std::string& Name) {
  std::string command = "xdotool search --name '^" + Name + "$' 2>/dev/null";
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return std::string();
  std::string out;
  char buf[128];
  while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  ::pclose(p);
  return out;
}

}  // namespace

TEST_F(SdlDesktopTest, TopLevelWindowsAreNamedByTheirXWindow) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
  EXPECT_TRUE(Sdl->OffersDesktopFileChooser());
  const std::string title = "lorm-portal-parent-" + std::to_string(::getpid());
  HWND w = CreateWindowEx(0, "SdlDesktopTest", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 200, 120,
                          nullptr, nullptr, nullptr, nullptr);
  ProcessPendingMessages();
  Sdl->Present();
  std::string id = Sdl->DesktopWindowId(w);
  ASSERT_EQ(id.rfind("x11:", 0), 0u) << id;
  unsigned long xid = std::strtoul(id.c_str() + 4, nullptr, 16);
  std::string found;
  for (int i = 0; i < 50 && found.empty(); ++i) {
    found = XdotoolSearch(title);
    if (found.empty()) Sdl->Sleep(20);
  }
  EXPECT_EQ(std::strtoul(found.c_str(), nullptr, 10), xid) << "xdotool found: " << found;
  EXPECT_EQ(Sdl->DesktopWindowId(nullptr), "");
  DestroyWindow(w);
}
