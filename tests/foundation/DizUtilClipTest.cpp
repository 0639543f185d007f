// Tests of the "HTML Format" clipboard fragment, addresses made into links, the link opener
// and the layered-window calls.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "platform/win/LayeredWindow.h"

namespace {

// The number after a header label, and the header's line for it.
long HeaderNumber(const std::string& s, const std::string& label) {
  const std::size_t p = s.find(label);
  if (p == std::string::npos) return -1;
  return std::stol(s.substr(p + label.size(), s.find("\r\n", p) - p - label.size()));
}

std::string HeaderDigits(const std::string& s, const std::string& label) {
  const std::size_t p = s.find(label);
  return s.substr(p + label.size(), s.find("\r\n", p) - p - label.size());
}

}  // namespace

TEST(MakeFragment, LayoutOfAnEmptyText) {
  std::string html;
  MakeFragment(html);
  EXPECT_EQ(html,
            "Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000301\r\nStartFragment:00000269\r\n"
            "EndFragment:00000269\r\n"
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
            "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
            "<!--StartFragment--><!--EndFragment--></body></html>");
}

TEST(MakeFragment, OffsetsPointAtTheDocumentAndFragmentInUtf8Bytes) {
  struct Case {
    std::string body;
  } cases[] = {
      {std::string(1000, 'x')},
      {"<b>Калибровка ЛОРМ</b>"},  // Cyrillic: two bytes per letter
      {"<td>Пересчет коэффициентов €</td>"},
  };
  for (const Case& c : cases) {
    std::string html = c.body;
    MakeFragment(html);
    const long startHtml = HeaderNumber(html, "StartHTML:");
    const long endHtml = HeaderNumber(html, "EndHTML:");
    const long startFragment = HeaderNumber(html, "StartFragment:");
    const long endFragment = HeaderNumber(html, "EndFragment:");
    EXPECT_EQ(startHtml, 97);
    EXPECT_EQ(startFragment, 269);
    EXPECT_EQ(endFragment, 269 + long(c.body.size()));
    EXPECT_EQ(endHtml, long(html.size()));
    EXPECT_EQ(html.compare(std::size_t(startHtml), 9, "<!DOCTYPE"), 0);
    EXPECT_EQ(html.substr(std::size_t(startFragment), std::size_t(endFragment - startFragment)), c.body);
    EXPECT_EQ(html.compare(std::size_t(endFragment), 18, "<!--EndFragment-->"), 0);
    EXPECT_EQ(HeaderDigits(html, "EndHTML:").size(), 8u);
  }
  std::string big(1000, 'x');
  MakeFragment(big);
  EXPECT_EQ(HeaderNumber(big, "EndFragment:"), 1269);
  EXPECT_EQ(HeaderNumber(big, "EndHTML:"), 1301);
}

TEST(MakeFragment, InvalidUtf8IsRepairedBeforeCounting) {
  std::string html = "a\xC0z";  // a lone lead byte: not UTF-8
  MakeFragment(html);
  const long start = HeaderNumber(html, "StartFragment:");
  const long end = HeaderNumber(html, "EndFragment:");
  EXPECT_EQ(html.substr(std::size_t(start), std::size_t(end - start)), "a\xEF\xBF\xBDz");
  EXPECT_EQ(HeaderNumber(html, "EndHTML:"), long(html.size()));
}

TEST(MakeHTMLHyperlink, AddressesBecomeAnchors) {
  struct Case {
    const char* text;
    const char* prefix;
    bool found;
    const char* result;
  } cases[] = {
      // A sentence's full stop belongs to the address set.
      {"See www.lorm.ru.", "WWW.", true, "See <a href=\"www.lorm.ru.\">www.lorm.ru.</a>"},
      {"www.lorm.ru", "WWW.", true, "<a href=\"www.lorm.ru\">www.lorm.ru</a>"},
      // The case of the address is kept; the prefix matches in any case.
      {"go Http://Lorm.RU/a, now", "HTTP://", true, "go <a href=\"Http://Lorm.RU/a\">Http://Lorm.RU/a</a>, now"},
      {"http://x.ru/p q", "HTTP://", true, "<a href=\"http://x.ru/p\">http://x.ru/p</a> q"},
      {"http://x.ru/a?b=1", "HTTP://", true, "<a href=\"http://x.ru/a\">http://x.ru/a</a>?b=1"},
      {"http://x.ru/a_b", "HTTP://", true, "<a href=\"http://x.ru/a\">http://x.ru/a</a>_b"},
      {"http://x.ru/#top", "HTTP://", true, "<a href=\"http://x.ru/\">http://x.ru/</a>#top"},
      {"mailto:me@x.ru&", "MAILTO:", true, "<a href=\"mailto:me@x.ru\">mailto:me@x.ru</a>&"},
      {"ftp://x/~u", "FTP://", true, "<a href=\"ftp://x/\">ftp://x/</a>~u"},
      {"адрес http://x.ru/ш", "HTTP://", true, "адрес <a href=\"http://x.ru/\">http://x.ru/</a>ш"},
      {"no address here", "HTTP://", false, "no address here"},
  };
  for (const Case& c : cases) {
    std::string result = "junk";
    EXPECT_EQ(MakeHTMLHyperlink(c.text, c.prefix, result), c.found) << c.text;
    EXPECT_EQ(result, c.result) << c.text;
  }
}

TEST(MakeHTMLHyperlink, GridPrefixOrderLinksTheHttpAddressOnly) {
  const std::string text = "www.a.ru and HTTP://b.ru";
  std::string result;
  for (const char* prefix : {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FTP://"})
    if (MakeHTMLHyperlink(text, prefix, result)) break;
  EXPECT_EQ(result, "www.a.ru and <a href=\"HTTP://b.ru\">HTTP://b.ru</a>");
}

// ---- link opener ------------------------------------------------------------------------------------
namespace {

class LinkOpener : public ::testing::Test {
protected:
  void SetUp() override {
    FPrevious = SetLinkLauncher([this](const std::vector<std::string>& argv) {
      calls.push_back(argv);
      return launched;
    });
  }
  void TearDown() override { SetLinkLauncher(FPrevious); }
  std::vector<std::vector<std::string>> calls;
  bool launched = true;

private:
  TLinkLauncher FPrevious;
};

}  // namespace

TEST_F(LinkOpener, OnlyAllowedSchemesReachTheOpenerAsOneArgument) {
  struct Case {
    std::string link;
    bool opened;
    std::string argument;
  } cases[] = {
      {"http://lorm.ru/a b;rm -rf ~", true, "http://lorm.ru/a b;rm -rf ~"},
      {"HTTPS://lorm.ru/$(id)", true, "HTTPS://lorm.ru/$(id)"},
      {"ftp://files.lorm.ru/x", true, "ftp://files.lorm.ru/x"},
      {"mailto:info@lorm.ru", true, "mailto:info@lorm.ru"},
      {"file:///home/u/Отчет.pdf", true, "file:///home/u/Отчет.pdf"},
      {"www.lorm.ru", true, "http://www.lorm.ru"},
      {"nntp://news.lorm.ru", false, ""},
      {"javascript:alert(1)", false, ""},
      {"--help", false, ""},
      {"/usr/bin/xterm", false, ""},
      {"calc.exe", false, ""},
      {"http://", false, ""},
      {"http://x.ru/\nfile:///etc/passwd", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    calls.clear();
    EXPECT_EQ(IsOpenableLink(c.link), c.opened) << c.link;
    EXPECT_EQ(OpenHyperlink(c.link), c.opened) << c.link;
    if (c.opened) {
      ASSERT_EQ(calls.size(), 1u) << c.link;
      EXPECT_EQ(calls[0], (std::vector<std::string>{"xdg-open", c.argument}));
    } else {
      EXPECT_TRUE(calls.empty()) << c.link;
    }
  }
}

TEST_F(LinkOpener, AFailedStartIsReported) {
  launched = false;
  EXPECT_FALSE(OpenHyperlink("http://lorm.ru"));
  EXPECT_EQ(calls.size(), 1u);
}

TEST(LinkLauncher, DefaultStartsTheProgramWithoutAShell) {
  // Restore the default and start a harmless program by name: "true" runs, a missing one
  // is reported as not started.
  TLinkLauncher previous = SetLinkLauncher(nullptr);
  TLinkLauncher def = SetLinkLauncher(previous);
  ASSERT_TRUE(def);
  EXPECT_TRUE(def({"true", "http://x; exit 1"}));
  EXPECT_FALSE(def({"no-such-program-lorm-4711", "http://x"}));
  EXPECT_FALSE(def({}));
}

// ---- layered windows ---------------------------------------------------------------------------------
namespace {

struct LayeredCalls {
  HWND window = nullptr;
  COLORREF key = 0;
  int alpha = -1;
  DWORD flags = 0;
  POINT* ptDst = nullptr;
  BLENDFUNCTION* blend = nullptr;
  BOOL answer = TRUE;
};
LayeredCalls gLayered;

BOOL FakeSetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  gLayered.window = window;
  gLayered.key = key;
  gLayered.alpha = alpha;
  gLayered.flags = flags;
  return gLayered.answer;
}

BOOL FakeUpdateLayeredWindow(HWND window, HDC, POINT* ptDst, SIZE*, HDC, POINT*, COLORREF key,
                             BLENDFUNCTION* blend, DWORD flags) {
  gLayered.window = window;
  gLayered.ptDst = ptDst;
  gLayered.key = key;
  gLayered.blend = blend;
  gLayered.flags = flags;
  return gLayered.answer;
}

// Installs a window-system library for the test and restores what was there.
class LayeredWindows : public ::testing::Test {
protected:
  void Install(std::optional<TLibraryExports> exports) {
    std::optional<TLibraryExports> previous = SetLibraryExports("user32.dll", std::move(exports));
    if (!FInstalled) FPrevious = std::move(previous);  // the state before the test
    FInstalled = true;
  }
  void TearDown() override {
    if (FInstalled) SetLibraryExports("user32.dll", FPrevious);
    gLayered = LayeredCalls{};
  }

private:
  std::optional<TLibraryExports> FPrevious;
  bool FInstalled = false;
};

}  // namespace

TEST_F(LayeredWindows, MissingFunctionsReportFailure) {
  Install(std::nullopt);  // no window-system library at all
  EXPECT_FALSE(DynaLink_SetLayeredWindowAttributes(nullptr, 0, 200, 2));
  EXPECT_FALSE(DynaLink_UpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 2));
  Install(TLibraryExports{});  // the library without the functions
  EXPECT_FALSE(DynaLink_SetLayeredWindowAttributes(nullptr, 0, 200, 2));
  EXPECT_FALSE(DynaLink_UpdateLayeredWindow(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 2));
  EXPECT_EQ(LibraryLoadCount("user32.dll"), 0);
}

// The window system's own calls stand behind the names: the answer is the call's.
TEST_F(LayeredWindows, TheSystemsCallsAnswerForThemselves) {
  ResetWindowSystem();
  ASSERT_EQ(LibraryLoadCount("user32.dll"), 0);
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "LayeredProbe";
  ASSERT_NE(RegisterClass(&wc), 0);
  HWND w = CreateWindowEx(0, "LayeredProbe", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(DynaLink_SetLayeredWindowAttributes(w, 0, 128, 2));  // not layered yet
  SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_LAYERED);
  EXPECT_TRUE(DynaLink_SetLayeredWindowAttributes(w, 0, 0x180, 2));
  BYTE alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(w, nullptr, &alpha, nullptr));
  EXPECT_EQ(alpha, 0x80);
  // Set up by attributes, the window refuses a picture.
  EXPECT_FALSE(DynaLink_UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 4));
  DestroyWindow(w);
  EXPECT_EQ(LibraryLoadCount("user32.dll"), 0);
  ResetWindowSystem();
}

TEST_F(LayeredWindows, PresentFunctionsGetTheArgumentsAndAnswer) {
  Install(TLibraryExports{{"SetLayeredWindowAttributes", LibraryProc(&FakeSetLayeredWindowAttributes)},
                          {"UpdateLayeredWindow", LibraryProc(&FakeUpdateLayeredWindow)}});
  HWND window = reinterpret_cast<HWND>(std::uintptr_t(0x1234));
  EXPECT_TRUE(DynaLink_SetLayeredWindowAttributes(window, 0x00FF00FF, 0x1C8, 3));
  EXPECT_EQ(gLayered.window, window);
  EXPECT_EQ(gLayered.key, 0x00FF00FFu);
  EXPECT_EQ(gLayered.alpha, 0xC8);  // the low eight bits
  EXPECT_EQ(gLayered.flags, 3u);

  POINT dst;
  BLENDFUNCTION blend;
  EXPECT_TRUE(DynaLink_UpdateLayeredWindow(window, nullptr, &dst, nullptr, nullptr, nullptr, 7, &blend, 2));
  EXPECT_EQ(gLayered.ptDst, &dst);
  EXPECT_EQ(gLayered.blend, &blend);
  EXPECT_EQ(gLayered.key, 7u);
  EXPECT_EQ(gLayered.flags, 2u);

  gLayered.answer = FALSE;
  EXPECT_FALSE(DynaLink_SetLayeredWindowAttributes(window, 0, 255, 2));
  EXPECT_FALSE(DynaLink_UpdateLayeredWindow(window, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 2));
  EXPECT_EQ(LibraryLoadCount("user32.dll"), 0);
}
