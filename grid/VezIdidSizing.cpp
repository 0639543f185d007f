// VezIdid, fitting a column or a row to its cells' texts: the measuring that sizing while
// typing uses (a column grows to its widest text, a row to its tallest cell or to a
// number of text lines).
#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"

namespace {
int Limit(int Value, int Min, int Max) {
  if (Min > 0 && Value < Min) Value = Min;
  if (Max > 0 && Value > Max) Value = Max;
  return Value;
}

std::vector<std::string> SplitLines(const std::string& S) {
  std::vector<std::string> lines;
  size_t pos = 0;
  for (;;) {
    size_t eol = S.find('\n', pos);
    std::string line = S.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    if (eol == std::string::npos) break;
    pos = eol + 1;
  }
  return lines;
}

// The number of lines a text takes in Width pixels, broken at blanks (a word wider than
// the width takes a line of its own).
int WrappedLines(TCanvas* C, const std::string& Text, int Width) {
  int total = 0;
  for (const std::string& para : SplitLines(Text)) {
    int lines = 1;
    std::string line;
    size_t pos = 0;
    while (pos <= para.size()) {
      size_t sp = para.find(' ', pos);
      std::string word = para.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
      std::string next = line.empty() ? word : line + " " + word;
      if (!line.empty() && C->TextWidth(next) > Width) {
        ++lines;
        line = word;
      } else {
        line = next;
      }
      if (sp == std::string::npos) break;
      pos = sp + 1;
    }
    total += lines;
  }
  return std::max(1, total);
}
}  // namespace

std::string TDavEvadurAvuz::MeasuredText(int ACol, int ARow) {
  std::string t = GetCellEx(RemapCol(ACol), ARow);
  if (t.size() >= 2 && t[0] == '|' && t[1] == '\\') t = Utf16ToUtf8(DecodeWide(t));
  if (EnableHTML && TextType(t, true) == ttHTML) t = HTMLStrip(t);
  return t;
}

void TDavEvadurAvuz::SizeToLines(int ARow, int Lines, int Padding) {
  if (ARow < 0 || ARow >= RowCount()) return;
  TCanvas* cv = Canvas();
  cv->Font()->Assign(Font());
  int h = cv->TextHeight("gh");
  SetRowHeights(ARow, Limit(Padding + Lines * (h + h / 8), MinRowHeight, MaxRowHeight));
}
