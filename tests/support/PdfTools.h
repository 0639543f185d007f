#pragma once
// Reading printed documents with poppler's command-line tools (pdftotext, pdfinfo,
// pdftoppm), as a person checking a print would.
#include <cstdio>
#include <string>

namespace pdftools {

inline std::string Run(const std::string& Command) {
  std::string out;
  FILE* p = popen(Command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

// The text of a document (all pages, or page `Page` only), in reading layout.
inline std::string Text(const std::string& Pdf, int Page = 0) {
  std::string range = Page > 0 ? " -f " + std::to_string(Page) + " -l " + std::to_string(Page) : "";
  return Run("pdftotext -layout" + range + " '" + Pdf + "' - 2>&1");
}

inline int Pages(const std::string& Pdf) {
  std::string info = Run("pdfinfo '" + Pdf + "' 2>/dev/null");
  auto at = info.find("Pages:");
  if (at == std::string::npos) return -1;
  return std::stoi(info.substr(at + 6));
}

// Renders every page to Prefix-N.png at Dpi.
inline void ToPng(const std::string& Pdf, const std::string& Prefix, int Dpi = 60) {
  Run("pdftoppm -png -r " + std::to_string(Dpi) + " '" + Pdf + "' '" + Prefix + "' 2>&1");
}

}  // namespace pdftools
