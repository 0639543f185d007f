// VezIdid, text metrics: the size a cell's text needs (plain, multi-line, mark-up and rich
// text, the latter read as plain text), the text insets and the line counts the exports
// and row sizing use.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"

namespace {

// Destinations whose text is not document text.
bool SkippedDestination(const std::string& Word) {
  static const char* const skipped[] = {"fonttbl", "colortbl", "stylesheet", "info",     "pict",
                                        "header",  "footer",   "listtable",  "rsidtbl", "generator",
                                        "themedata", "latentstyles", "xmlnstbl", "datastore"};
  for (const char* s : skipped)
    if (Word == s) return true;
  return false;
}

// Appends one UTF-16 unit; a high surrogate waits in Pending for its partner.
void AppendUnit(std::string& Out, char16_t& Pending, char16_t C) {
  if (C >= 0xD800 && C < 0xDC00) {
    Pending = C;
    return;
  }
  std::u16string u;
  if (Pending && C >= 0xDC00 && C < 0xE000) u += Pending;
  Pending = 0;
  if (C >= 0xD800 && C < 0xE000 && u.empty()) return;  // a lone surrogate shows nothing
  u += C;
  Out += Utf16ToUtf8(u);
}

}  // namespace

// A minimal reader of rich text: the document's characters with paragraph and line marks
// as line feeds, tabs, the "\'hh" bytes of the Windows-1251 code page and "\uN" characters;
// font, colour and style tables and every formatting word are skipped.
std::string TDavEvadurAvuz::RichToPlainText(const std::string& Rtf) {
  std::string out;
  struct TGroup {
    bool Skip;
    int UnicodeSkip;
  };
  std::vector<TGroup> stack{{false, 1}};
  int pendingSkip = 0;  // characters still to drop after a "\uN"
  char16_t highSurrogate = 0;
  std::string bytes;    // "\'hh" bytes waiting to be converted
  auto flushBytes = [&] {
    if (bytes.empty()) return;
    if (!stack.back().Skip) out += CodePageToUtf8(CP_WIN1251, bytes);
    bytes.clear();
  };
  const std::size_t n = Rtf.size();
  std::size_t i = 0;
  while (i < n) {
    char c = Rtf[i];
    if (c == '{') {
      flushBytes();
      stack.push_back(stack.back());
      ++i;
      continue;
    }
    if (c == '}') {
      flushBytes();
      if (stack.size() > 1) stack.pop_back();
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c != '\\') {
      flushBytes();
      if (pendingSkip > 0) --pendingSkip;
      else if (!stack.back().Skip) out += c;
      ++i;
      continue;
    }
    // A control symbol or word.
    if (i + 1 >= n) break;
    char d = Rtf[i + 1];
    if (d == '\\' || d == '{' || d == '}') {
      flushBytes();
      if (pendingSkip > 0) --pendingSkip;
      else if (!stack.back().Skip) out += d;
      i += 2;
      continue;
    }
    if (d == '\'') {
      if (i + 3 < n) {
        std::string hex = Rtf.substr(i + 2, 2);
        char* end = nullptr;
        long v = std::strtol(hex.c_str(), &end, 16);
        if (end == hex.c_str() + hex.size() && hex.size() == 2) {
          if (pendingSkip > 0) --pendingSkip;
          else bytes += static_cast<char>(v);
        }
      }
      i += 4;
      continue;
    }
    if (d == '*') {
      stack.back().Skip = true;
      i += 2;
      continue;
    }
    if (d == '~') {
      flushBytes();
      if (!stack.back().Skip) out += "\xC2\xA0";
      i += 2;
      continue;
    }
    if (!std::isalpha(static_cast<unsigned char>(d))) {
      i += 2;
      continue;
    }
    flushBytes();
    std::size_t j = i + 1;
    while (j < n && std::isalpha(static_cast<unsigned char>(Rtf[j]))) ++j;
    std::string word = Rtf.substr(i + 1, j - i - 1);
    bool hasNum = false;
    long num = 0;
    std::size_t k = j;
    if (k < n && (Rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(Rtf[k])))) {
      std::size_t s = k;
      ++k;
      while (k < n && std::isdigit(static_cast<unsigned char>(Rtf[k])) && k - s < 10) ++k;
      num = std::strtol(Rtf.substr(s, k - s).c_str(), nullptr, 10);
      hasNum = true;
    }
    if (k < n && Rtf[k] == ' ') ++k;
    i = k;
    if (SkippedDestination(word)) {
      stack.back().Skip = true;
    } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
      if (!stack.back().Skip) out += '\n';
    } else if (word == "tab") {
      if (!stack.back().Skip) out += '\t';
    } else if (word == "uc" && hasNum) {
      stack.back().UnicodeSkip = static_cast<int>(std::clamp(num, 0L, 8L));
    } else if (word == "u" && hasNum) {
      if (!stack.back().Skip)
        AppendUnit(out, highSurrogate, static_cast<char16_t>(static_cast<uint32_t>(num < 0 ? num + 65536 : num) & 0xFFFF));
      pendingSkip = stack.back().UnicodeSkip;
    }
  }
  flushBytes();
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

TPoint TDavEvadurAvuz::GetCellTextSize(int ACol, int ARow, bool Wrapped, bool ReserveButton) {
  return GetCellTextSizeInt(ACol, RemapColInv(ACol), ARow, Wrapped, ReserveButton);
}

TPoint TDavEvadurAvuz::GetCellTextSizeInt(int ARealCol, int ADisplCol, int ARow, bool Wrapped, bool ReserveButton) {
  std::string s = GetFormattedCell(ARealCol, ARow);
  TTextType type = TextType(s, EnableHTML);
  TCanvas* C = Canvas();
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  bool ww = FWordWrapDefault;
  TCellGradientDirection gd = GradientVertical;
  int dcol = ADisplCol < 0 ? ARealCol : ADisplCol;
  GetVisualProperties(dcol, ARow, state, false, false, false, C->Brush(), colorTo, mirror, mirrorTo, C->Font(), ha,
                      va, ww, gd);
  // The cell's own size, less the text insets.
  int w = dcol >= 0 && dcol < ColCount() ? ColWidths(dcol) : DefaultColWidth();
  int h = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
  TRect R{XYOffset.X, XYOffset.Y, w - (XYOffsetOnce ? 0 : XYOffset.X), h - (XYOffsetOnce ? 0 : XYOffset.Y)};
  if (ReserveButton) R.Right -= 17;
  if (R.Right < R.Left) R.Right = R.Left;

  if (type == ttHTML) {
    TRect hr = R;
    if (!Wrapped) hr.Right = 65535;
    hr.Bottom = 65535;
    std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot, ctl;
    HTMLDrawEx(C, s, hr, FGridImages, 0, 0, -1, -1, 1, false, true, false, true, true, false, !EnhTextSize, false,
               1.0, FURLColor, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl,
               ctlID, ctlValue, ctlType, nullptr, nullptr, HandleAllocated() ? Handle() : nullptr);
    return TPoint{ex + 2, ey + 2};
  }
  if (type == ttRTF) s = RichToPlainText(s);

  TPoint size;
  if (Wrapped) {
    TRect calc{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    if (calc.Right < calc.Left) calc.Right = calc.Left;
    std::string t = s;
    C->TextRect(calc, t, TTextFormat{tfEditControl, tfNoPrefix, tfCalcRect, tfWordBreak});
    size = TPoint{calc.Right - calc.Left, calc.Bottom - calc.Top};
  } else {
    std::string rest = s;
    int widest = 0, lines = 0;
    do {
      std::string line = GetNextLine(rest, Multilinecells);
      widest = std::max(widest, C->TextWidth(line));
      ++lines;
    } while (!rest.empty());
    size = TPoint{widest, lines * C->TextHeight("gh")};
  }
  if (type == ttRTF) size = TPoint{XOffsetSize() + size.X, YOffsetSize() + size.Y};
  return size;
}

int TDavEvadurAvuz::MaxLinesInGrid() {
  if (!Multilinecells || RowCount() == 0 || ColCount() == 0) return 1;
  int most = 1;
  for (int r = 0; r < RowCount(); ++r) most = std::max(most, MaxLinesInRow(r));
  return most;
}

int TDavEvadurAvuz::MaxLinesInRow(int ARow) {
  if (!Multilinecells || ColCount() == 0) return 1;
  int most = 1;
  for (int c = 0; c < GetColCountEx(); ++c) {
    int real = RemapCol(c);
    if (real < 0) real = c;
    most = std::max(most, LinesInText(GetCellEx(real, ARow), true));
  }
  return most;
}

int TDavEvadurAvuz::MaxCharsInCol(int ACol) {
  int most = 0;
  for (int r = 0; r < RowCount(); ++r) {
    std::string rest;
    SaveCell(ACol, r, rest);
    do {
      std::string line = GetNextLine(rest, Multilinecells);
      most = std::max(most, static_cast<int>(Utf8Length(line)));
    } while (!rest.empty());
  }
  return most;
}
