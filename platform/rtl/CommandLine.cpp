// The kept command line: the argument vector and its text.
#include "platform/rtl/CommandLine.h"

#include <fstream>
#include <iterator>

namespace {

struct TCommandLine {
  bool Set = false;
  std::vector<std::string> Params;
  std::string Text;
};

TCommandLine& Kept() {
  static TCommandLine line;
  return line;
}

std::string QuoteBack(const std::vector<std::string>& params) {
  std::string text;
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (i) text += ' ';
    const std::string& p = params[i];
    if (p.empty() || p.find_first_of(" \t\"") != std::string::npos) text += '"' + p + '"';
    else text += p;
  }
  return text;
}

// The arguments the system started the process with, when main handed none over.
const TCommandLine& Current() {
  TCommandLine& line = Kept();
  if (!line.Set) {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> params;
    std::size_t from = 0;
    while (from < raw.size()) {
      std::size_t end = raw.find('\0', from);
      if (end == std::string::npos) end = raw.size();
      params.push_back(raw.substr(from, end - from));
      from = end + 1;
    }
    line.Params = params;
    line.Text = QuoteBack(params);
    line.Set = true;
  }
  return line;
}

}  // namespace

void SetCommandLine(int argc, const char* const* argv) {
  TCommandLine& line = Kept();
  line.Params.clear();
  for (int i = 0; i < argc && argv && argv[i]; ++i) line.Params.emplace_back(argv[i]);
  line.Text = QuoteBack(line.Params);
  line.Set = true;
}

void SetCmdLine(const std::string& Text) {
  TCommandLine& line = Kept();
  line.Text = Text;
  line.Params = SplitCmdLineText(Text);
  line.Set = true;
}

std::string CmdLine() { return Current().Text; }

int ParamCount() {
  const auto& params = Current().Params;
  return params.empty() ? 0 : static_cast<int>(params.size()) - 1;
}

std::string ParamStr(int Index) {
  const auto& params = Current().Params;
  if (Index < 0 || Index >= static_cast<int>(params.size())) return {};
  return params[Index];
}

std::vector<std::string> SplitCmdLineText(const std::string& Text) {
  std::vector<std::string> params;
  std::size_t i = 0, n = Text.size();
  auto code = [&](std::size_t k) { return static_cast<unsigned char>(Text[k]); };
  while (true) {
    // Blanks and controls between parameters, and empty quoted pairs where one begins.
    while (i < n) {
      if (code(i) >= 1 && code(i) <= 32) ++i;
      else if (Text[i] == '"' && i + 1 < n && Text[i + 1] == '"') i += 2;
      else break;
    }
    std::string param;
    while (i < n && code(i) > 32) {
      if (Text[i] == '"') {
        ++i;
        while (i < n && Text[i] != '"') param += Text[i++];
        if (i < n) ++i;
      } else {
        param += Text[i++];
      }
    }
    if (param.empty()) break;
    params.push_back(std::move(param));
  }
  return params;
}
