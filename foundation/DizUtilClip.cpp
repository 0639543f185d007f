// DizUtil: the clipboard's "HTML Format" fragment, addresses made into links, opening links
// with the desktop's opener, and the layered-window calls.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "platform/rtl/CodePage.h"

extern char** environ;

// ---- "HTML Format" fragment -------------------------------------------------------------------
namespace {

constexpr std::string_view kDocType = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
constexpr std::string_view kDocStart =
    "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
    "<!--StartFragment-->";
constexpr std::string_view kDocEnd = "<!--EndFragment--></body></html>";

// "Label:00001234\r\n": the value zero-padded to `digits`. Built as a string, so no
// label, digit count or value can be cut short.
std::string Numbered(std::string_view label, std::size_t value, int digits) {
  std::string number = std::to_string(value);
  if (number.size() < std::size_t(digits)) number.insert(0, std::size_t(digits) - number.size(), '0');
  std::string out(label);
  out += number;
  out += "\r\n";
  return out;
}

std::string Header(std::size_t n, int digits) {
  const std::string version = "Version:1.0\r\n";
  // The header's own length is fixed by the digit count, so the offsets follow from it.
  const std::size_t headerLen =
      version.size() + (std::string("StartHTML:").size() + std::string("EndHTML:").size() +
                        std::string("StartFragment:").size() + std::string("EndFragment:").size()) +
      4 * (std::size_t(digits) + 2);
  const std::size_t startFragment = headerLen + kDocType.size() + kDocStart.size();
  return version + Numbered("StartHTML:", headerLen, digits) +
         Numbered("EndHTML:", startFragment + n + kDocEnd.size(), digits) +
         Numbered("StartFragment:", startFragment, digits) + Numbered("EndFragment:", startFragment + n, digits);
}

int DigitCount(std::size_t v) {
  int d = 1;
  while (v >= 10) {
    v /= 10;
    ++d;
  }
  return d;
}

}  // namespace

void MakeFragment(std::string& html) {
  const std::string body = CodePageToUtf8(CP_UTF8, html);  // repairs invalid sequences
  const std::size_t n = body.size();
  // Eight digits as the clipboard format writes them; more only for a text so large that
  // its end offset needs them, keeping every offset exact.
  int digits = 8;
  std::string header = Header(n, digits);
  while (DigitCount(header.size() + kDocType.size() + kDocStart.size() + n + kDocEnd.size()) > digits) {
    ++digits;
    header = Header(n, digits);
  }
  std::string out;
  out.reserve(header.size() + kDocType.size() + kDocStart.size() + n + kDocEnd.size());
  out += header;
  out += kDocType;
  out += kDocStart;
  out += body;
  out += kDocEnd;
  html = std::move(out);
}

// ---- addresses made into links ---------------------------------------------------------------------
namespace {

bool InAddress(char c) {
  return c == '%' || c == '(' || c == ')' || c == '-' || c == '.' || c == '/' || (c >= '0' && c <= '9') ||
         c == ':' || c == '@' || (c >= 'A' && c <= 'Z') || c == '\\' || (c >= 'a' && c <= 'z') || c == '{' ||
         c == '}';
}

std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

std::string AsciiLower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

}  // namespace

bool MakeHTMLHyperlink(const std::string& text, const std::string& prefix, std::string& result) {
  result = text;
  if (prefix.empty()) return false;
  const std::size_t p = AsciiUpper(text).find(prefix);
  if (p == std::string::npos) return false;
  std::size_t end = p + 1;
  while (end < text.size() && InAddress(text[end])) ++end;
  const std::string address = text.substr(p, end - p);
  result = text.substr(0, p) + "<a href=\"" + address + "\">" + address + "</a>" + text.substr(end);
  return true;
}

// ---- opening links ---------------------------------------------------------------------------------
namespace {

bool DefaultLauncher(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  // The opener hands the link to the desktop and ends; reap it without holding anyone up.
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

TLinkLauncher& Launcher() {
  static TLinkLauncher launcher = DefaultLauncher;
  return launcher;
}

// The link as handed to the opener, or empty when it is not to be opened.
std::string OpenableForm(const std::string& link) {
  for (unsigned char c : link)
    if (c < 0x20 || c == 0x7F) return {};
  const std::string lower = AsciiLower(link);
  static const std::string_view kSchemes[] = {"http://", "https://", "ftp://", "file://", "mailto:"};
  for (std::string_view scheme : kSchemes)
    if (lower.size() > scheme.size() && lower.compare(0, scheme.size(), scheme) == 0) return link;
  if (lower.size() > 4 && lower.compare(0, 4, "www.") == 0) return "http://" + link;
  return {};
}

}  // namespace

bool IsOpenableLink(const std::string& link) { return !OpenableForm(link).empty(); }

bool OpenHyperlink(const std::string& link) {
  const std::string target = OpenableForm(link);
  if (target.empty()) return false;
  return Launcher()({"xdg-open", target});
}

TLinkLauncher SetLinkLauncher(TLinkLauncher launcher) {
  TLinkLauncher previous = std::move(Launcher());
  Launcher() = launcher ? std::move(launcher) : TLinkLauncher(DefaultLauncher);
  return previous;
}

// ---- layered windows --------------------------------------------------------------------------------
// The functions are looked up by name in the window system's library at each call; where
// the system has no layered windows they are missing and the call reports that nothing
// was done.
namespace {

using TUpdateLayeredWindow = BOOL (*)(HWND window, HDC dcDst, POINT* ptDst, SIZE* size, HDC dcSrc, POINT* ptSrc,
                                      COLORREF key, BLENDFUNCTION* blend, DWORD flags);
using TSetLayeredWindowAttributes = BOOL (*)(HWND window, COLORREF key, BYTE alpha, DWORD flags);

// Calls the named function of user32 with call(function); false when it is missing.
template <class F, class Call>
bool CallUser32(const char* name, Call call) {
  HLIBMODULE user32 = LoadLibraryModule("user32.dll");
  if (!user32) return false;
  const TLibraryProc proc = GetLibraryProc(user32, name);
  const bool result = proc ? call(LibraryProcAs<F>(proc)) != 0 : false;
  FreeLibraryModule(user32);
  return result;
}

}  // namespace

bool DynaLink_UpdateLayeredWindow(HWND window, HDC dcDst, POINT* ptDst, SIZE* size, HDC dcSrc, POINT* ptSrc,
                                  std::uint32_t colorKey, BLENDFUNCTION* blend, std::uint32_t flags) {
  return CallUser32<TUpdateLayeredWindow>("UpdateLayeredWindow", [&](TUpdateLayeredWindow f) {
    return f(window, dcDst, ptDst, size, dcSrc, ptSrc, colorKey, blend, flags);
  });
}

bool DynaLink_SetLayeredWindowAttributes(HWND window, std::uint32_t colorKey, std::uint32_t alpha,
                                         std::uint32_t flags) {
  return CallUser32<TSetLayeredWindowAttributes>("SetLayeredWindowAttributes", [&](TSetLayeredWindowAttributes f) {
    return f(window, colorKey, BYTE(alpha), flags);
  });
}
