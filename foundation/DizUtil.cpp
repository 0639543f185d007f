// DizUtil: text and number utilities.
#include "foundation/DizUtil.h"

#include <cstdio>

#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';

bool Holds(const std::string& s, char c) { return s.find(c) != std::string::npos; }

// 1-based position of sub in s, 0 when absent or when sub is empty.
int PosOf(const std::string& sub, const std::string& s) {
  if (sub.empty()) return 0;
  const auto at = s.find(sub);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

char UpperAZ(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAZ(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAZ(std::string s) {
  for (char& c : s) c = UpperAZ(c);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// =========================================================================================
// Line breaks and special characters
// =========================================================================================

std::string CLFToLF(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      r += CR;
      ++i;
    } else {
      r += s[i];
    }
  }
  return r;
}

std::string LFToCLF(const std::string& s) {
  std::string r;
  r.reserve(s.size() + 8);
  for (char c : s) {
    if (c == CR)
      r += "\\n";
    else if (c != LF)
      r += c;
  }
  return r;
}

void LineFeedsToCSV(std::string& s) {
  std::string r = "\"";
  r.reserve(s.size() + 2);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == CR && i + 1 < s.size() && s[i + 1] == LF) {
      r += '\x0B';
      ++i;
    } else {
      r += s[i];
    }
  }
  r += '"';
  s = std::move(r);
}

void LineFeedsToCSVNQ(std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == CR && i + 1 < s.size() && s[i + 1] == LF) continue;  // the LF stays
    r += s[i];
  }
  s = std::move(r);
}

void CSVToLineFeeds(std::string& s) {
  if (!Holds(s, '\x0B')) return;
  std::string r;
  r.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '\x0B')
      r += "\r\n";
    else
      r += c;
  }
  s = std::move(r);
}

void LineFeedsToJava(std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) {
    if (c == CR)
      r += '~';
    else if (c != LF)
      r += c;
  }
  s = std::move(r);
}

void JavaToLineFeeds(std::string& s) {
  std::string r;
  r.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '~')
      r += "\r\n";
    else
      r += c;
  }
  if (r == "^") r.clear();
  s = std::move(r);
}

std::string LineFeedsToXLS(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != CR) r += c;
  return r;
}

std::string CRToLF(const std::string& s) {
  std::string r = s;
  for (char& c : r)
    if (c == CR) c = LF;
  return r;
}

std::string HTMLLineBreaks(const std::string& s) {
  if (!Holds(s, CR)) return s;
  std::string r;
  r.reserve(s.size() + 16);
  for (char c : s) {
    if (c == CR)
      r += "<br>";
    else
      r += c;
  }
  return r;
}

// Cell text encoding of the grid's text cell files, where every cell must fit on one line.
//
// A text that holds no CR, LF or BS (8) is written unchanged. Any other text is written with
//   CR -> TAB (9), LF -> BS (8), NUL -> SOH (1)
// and the bytes that would otherwise be ambiguous escaped with ESC (27):
//   TAB -> ESC 't', BS -> ESC 'b', SOH -> ESC 'a', ESC -> ESC 'e'.
// The reader decodes a text only when it holds a BS, so an encoded text that would hold no
// BS (a lone CR, or only escaped BS characters) gets the empty marker ESC BS at its end.
//
// Files written before escapes existed used only the three substitutions, applied when the
// text held a CR; they decode as before (their BS is always present when they held a pair).
// An ESC of such an old text is taken literally unless one of the five codes above follows.
std::string LfToFile(const std::string& s) {
  if (!Holds(s, CR) && !Holds(s, LF) && !Holds(s, '\x08')) return s;
  std::string r;
  r.reserve(s.size() + 4);
  bool holdsBS = false;
  for (char c : s) {
    switch (c) {
      case CR: r += '\x09'; break;
      case LF: r += '\x08'; holdsBS = true; break;
      case '\0': r += '\x01'; break;
      case '\x09': r += "\x1Bt"; break;
      case '\x08': r += "\x1B" "b"; break;
      case '\x01': r += "\x1B" "a"; break;
      case '\x1B': r += "\x1B" "e"; break;
      default: r += c;
    }
  }
  if (!holdsBS) r += "\x1B\x08";
  return r;
}

std::string FileToLf(const std::string& s, bool multiLine) {
  std::string r;
  if (Holds(s, '\x08')) {
    r.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
      const char c = s[i];
      if (c == '\x1B' && i + 1 < s.size()) {
        const char code = s[i + 1];
        bool known = true;
        switch (code) {
          case 't': r += '\x09'; break;
          case 'b': r += '\x08'; break;
          case 'a': r += '\x01'; break;
          case 'e': r += '\x1B'; break;
          case '\x08': break;  // the marker: nothing
          default: known = false;
        }
        if (known) {
          ++i;
          continue;
        }
      }
      switch (c) {
        case '\x09': r += CR; break;
        case '\x08': r += LF; break;
        case '\x01': r += '\0'; break;
        default: r += c;
      }
    }
  } else {
    r = s;
  }
  if (multiLine) return r;
  return GetNextLine(r, false);
}

std::string GetNextLine(std::string& s, bool multiLine) {
  std::string line;
  const auto cr = s.find(CR);
  if (cr == std::string::npos) {
    line = std::move(s);
    s.clear();
    return line;
  }
  line = s.substr(0, cr);
  size_t cut = cr + 1;
  if (cut < s.size() && s[cut] == LF) ++cut;
  s.erase(0, cut);
  if (!multiLine) s.clear();
  return line;
}

int LinesInText(const std::string& s, bool multiLine) {
  return multiLine ? 1 + NumChar(CR, s) : 1;
}

// =========================================================================================
// Quoting, searching and counting
// =========================================================================================

std::string CSVQuotes(const std::string& s) {
  std::string r;
  r.reserve(s.size() + 4);
  for (char c : s) {
    r += c;
    if (c == '"') r += '"';
  }
  return r;
}

std::string DoubleToSingleChar(char c, const std::string& s) {
  if (!Holds(s, c)) return s;
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != c) {
      r += s[i];
    } else if (i + 1 < s.size() && s[i + 1] == c) {
      r += c;
      ++i;
    }  // a single c is dropped
  }
  return r;
}

int SinglePos(char c, const std::string& s, int& p) {
  const size_t n = s.size();
  size_t i = 0;
  int result = 0;
  while (i < n) {
    if (s[i] != c) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && s[j] == c) ++j;
    if (j == n) {  // a run reaching the end counts whatever its length
      result = static_cast<int>(n);
      break;
    }
    if ((j - i) % 2 == 1) {  // odd run followed by another character: its last c
      result = static_cast<int>(j);
      break;
    }
    i = j;
  }
  p = result;
  return result;
}

int NumSingleChar(char c, const std::string& s) {
  std::string rest = s;
  int count = 0;
  int p = 0;
  while (SinglePos(c, rest, p) > 0) {
    ++count;
    rest.erase(0, static_cast<size_t>(p));
  }
  return count;
}

std::string StringListToText(const TStrings* list) {
  std::string r;
  if (list == nullptr) return r;
  for (int i = 0; i < list->Count(); ++i) r += list->Get(i);
  return r;
}

int NumChar(char c, const std::string& s) {
  int n = 0;
  for (char x : s)
    if (x == c) ++n;
  return n;
}

int NumCharInStr(char c, const std::string& s) { return NumChar(c, s); }

int CharPos(char c, const std::string& s) {
  const auto at = s.find(c);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

int VarCharPos(char c, const std::string& s, int& p) {
  const int r = CharPos(c, s);
  if (r > 0) p = r;
  return r;
}

int VarCharPosNC(char c, const std::string& s, int& p) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (UpperAZ(s[i]) == c) {
      p = static_cast<int>(i) + 1;
      return p;
    }
  }
  return 0;
}

int VarPos(const std::string& sub, const std::string& s, int& p) {
  p = PosOf(sub, s);
  return p;
}

// Every letter of s is upper-cased (Cyrillic and Greek too); the mapping keeps byte
// lengths, so the position found is one in s.
int FIPos(const std::string& sub, const std::string& s) { return PosOf(sub, AnsiUpperCase(s)); }

int StrPosWide(const std::u16string& sub, const std::u16string& s) {
  if (sub.empty() || sub.size() > s.size()) return 0;
  const auto at = s.find(sub);
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

char FirstChar(std::string_view set, const std::string& s, int& p) {
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && set.find(c) != std::string_view::npos) {
      p = static_cast<int>(i) + 1;
      return c;
    }
  }
  p = -1;
  return '\0';
}

std::string GetToken(std::string& s, char separator) {
  const auto at = s.find(separator);
  if (at == std::string::npos) return {};
  std::string token = s.substr(0, at);
  s.erase(0, at + 1);
  return token;
}

// =========================================================================================
// Classification
// =========================================================================================

TTextType TextType(const std::string& s, bool allowHTML) {
  if (s.empty()) return ttText;
  const std::string t = s + ' ';
  if (t[0] == '=') return ttFormula;
  if (t[0] == '|' && t[1] == '\\') {
    // An encoded formula: "|\" 0 '=' 0 ...
    if (t.size() > 4 && t[3] == '=' && t[4] == '\0') return ttFormula;
    return ttUnicode;
  }
  if (t[0] == '{' && t[1] == '\\') return ttRTF;
  if (allowHTML && (t.find("</") != std::string::npos || t.find("<B") != std::string::npos ||
                    t.find("<I") != std::string::npos || t.find("<C") != std::string::npos))
    return ttHTML;
  return ttText;
}

TAutoType IsType(const std::string& s) {
  if (s.empty()) return atString;
  const TFormatSettings& fs = FormatSettings();
  const char ds = fs.DecimalSeparator;
  const char ts = fs.ThousandSeparator;
  bool numeric = true, isFloat = true, scientific = true, hasExponent = false;
  int lastThousand = -1;
  int decimals = 0, minuses = 0;
  const int n = static_cast<int>(s.size());
  for (int i = 1; i <= n; ++i) {
    const char c = s[static_cast<size_t>(i - 1)];
    const bool digit = IsDigit(c);
    const bool exponent = (c == 'e' || c == 'E');
    if (!digit && c != '-') numeric = false;
    if (exponent) {
      if (hasExponent) scientific = false;
      hasExponent = true;
    }
    if (c == '-' && i > 1) {
      numeric = false;
      isFloat = false;
    }
    if (exponent && i == 1) scientific = false;
    if ((exponent || c == '+' || c == '-') && i == n) scientific = false;
    if (!digit && c != '-' && c != ts && c != ds) isFloat = false;
    if (!digit && !exponent && c != ts && c != ds && c != '+' && c != '-') scientific = false;
    if (c == ts) {
      scientific = false;
      if (lastThousand > 0 && i - lastThousand < 4) isFloat = false;
      lastThousand = i;
    }
    if (c == ds) ++decimals;
    if (c == '-') ++minuses;
  }
  TAutoType result = atString;
  if (numeric) {
    result = atNumeric;
  } else if (isFloat && !hasExponent) {
    result = atFloat;
  } else if (scientific && hasExponent) {
    result = atScientific;
    if (minuses == 2) minuses = 1;  // a signed mantissa with a signed exponent
  }
  if (minuses > 1 || decimals > 1) result = atString;
  return result;
}

bool CheckNum(char ch) { return IsDigit(ch); }

bool CheckSignedNum(char ch) { return IsDigit(ch) || ch == '-'; }

bool IsURL(const std::string& s) {
  return s.find("://") != std::string::npos || s.find("mailto:") != std::string::npos;
}

void StripURLProtocol(std::string& s) {
  auto at = s.find("://");
  if (at != std::string::npos) {
    s.erase(0, at + 3);
    return;
  }
  at = s.find("mailto:");
  if (at != std::string::npos) s.erase(0, at + 7);
}

bool IsDateStr(const std::string& s) {
  const char sep = FormatSettings().DateSeparator;
  const auto first = s.find(sep);
  if (first == std::string::npos || first == 0) return false;
  const auto second = s.find(sep, first + 1);
  return second != std::string::npos && second > first + 1;
}

// =========================================================================================
// Numbers, dates and other conversions
// =========================================================================================

std::string RemoveSeps(const std::string& s) {
  std::string t = Trim(s);
  if (t.empty()) return {};
  const TFormatSettings& fs = FormatSettings();
  const char ds = fs.DecimalSeparator;
  const char ts = fs.ThousandSeparator;
  bool negative = t.front() == '(' && t.back() == ')';
  size_t start = 0;
  while (t.size() - start >= 2) {
    const char c = t[start];
    if (IsDigit(c) || c == 'E' || c == 'e' || c == ts || c == ds) break;
    if (c == '-') negative = true;
    ++start;
  }
  std::string r;
  if (negative) r += '-';
  for (size_t i = start; i < t.size(); ++i) {
    const char c = t[i];
    if (c == ts) continue;
    if (c == ds)
      r += '.';
    else if (IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e')
      r += c;
    else
      break;
  }
  return r;
}

std::string FixDecimalSeparator(const std::string& s) {
  if (FormatSettings().DecimalSeparator != ',') return s;
  std::string r = s;
  const auto at = r.find(',');
  if (at != std::string::npos) r[at] = '.';
  return r;
}

int CheckLimits(int value, int min, int max) {
  if (min == max) return value;
  if (max > 0 && value > max) return max;
  if (min > 0 && value < min) return min;
  return value;
}

int Max(int a, int b) { return a > b ? a : b; }

int Min(int a, int b) { return a < b ? a : b; }

namespace {

// Reads "a<sep>b<sep>year" with '/', '.' or '-' as separator; false when the text is not of
// that form. Years of one or two digits are completed (0..25 → 20xx, else 19xx); longer
// years are taken as written.
bool SplitShortDate(const std::string& s, int& first, int& second, int& year) {
  char sep = 0;
  for (char candidate : {'/', '.', '-'}) {
    if (Holds(s, candidate)) {
      sep = candidate;
      break;
    }
  }
  if (sep == 0) return false;
  const auto p1 = s.find(sep);
  const auto p2 = s.find(sep, p1 + 1);
  if (p2 == std::string::npos) return false;
  const std::string yearText = s.substr(p2 + 1);
  if (!TryStrToInt(s.substr(0, p1), first) || !TryStrToInt(s.substr(p1 + 1, p2 - p1 - 1), second) ||
      !TryStrToInt(yearText, year))
    return false;
  int digits = 0;
  for (char c : yearText)
    if (IsDigit(c)) ++digits;
  if (year >= 0 && digits <= 2) year += year <= 25 ? 2000 : 1900;
  return true;
}

}  // namespace

TDateTime StrToShortdateUS(const std::string& s) {
  int month = 0, day = 0, year = 0;
  if (!SplitShortDate(s, month, day, year)) return 0;
  return EncodeDate(year, month, day);
}

TDateTime StrToShortDateEU(const std::string& s) {
  int day = 0, month = 0, year = 0;
  if (!SplitShortDate(s, day, month, year)) return 0;
  return EncodeDate(year, month, day);
}

// Years or months alone move along the calendar: a day past the end of the target month
// becomes its last day and months beyond a year carry into the years; the time of day stays.
TDateTime GetNextDate(TDateTime date, uint16_t years, uint16_t months, uint16_t days,
                      TDateTime step) {
  if (days != 0 && years == 0 && months == 0) return date + days;
  if (years != 0 && months == 0 && days == 0) return IncYear(date, years);
  if (months != 0 && years == 0 && days == 0) return IncMonth(date, months);
  return date + step;
}

std::string EncodeWideStr(const std::u16string& s) {
  std::string r = "|\\";
  r.reserve(2 + 2 * s.size());
  for (char16_t u : s) {
    r += static_cast<char>((u >> 8) & 0xFF);
    r += static_cast<char>(u & 0xFF);
  }
  return r;
}

std::u16string DecodeWideStr(const std::string& s) {
  if (s.size() >= 2 && s[0] == '|' && s[1] == '\\') {
    std::u16string r;
    r.reserve((s.size() - 2) / 2);
    for (size_t i = 2; i + 1 < s.size(); i += 2) {
      const auto hi = static_cast<unsigned char>(s[i]);
      const auto lo = static_cast<unsigned char>(s[i + 1]);
      r += static_cast<char16_t>((hi << 8) | lo);
    }
    return r;
  }
  return Utf8ToUtf16(s);
}

bool NameToCell(const std::string& s, TPoint& cell) {
  const std::string u = UpperAZ(s);
  if (u.size() <= 3 || u[0] != 'R') return false;
  const auto c = u.find('C', 1);
  if (c == std::string::npos) return false;
  int row = 0, col = 0;
  if (!TryStrToInt(u.substr(1, c - 1), row) || !TryStrToInt(u.substr(c + 1), col)) return false;
  cell.X = col;
  cell.Y = row;
  return true;
}

std::string HTMLColor(TColor colour) {
  const auto v = static_cast<uint32_t>(colour);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return buf;
}

std::string RectString(const TRect& rect) {
  return "[" + std::to_string(rect.Left) + ":" + std::to_string(rect.Top) + "][" +
         std::to_string(rect.Right) + ":" + std::to_string(rect.Bottom) + "]";
}

std::string ShiftCase(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  const size_t n = s.size();
  bool capital = true;
  for (size_t i = 0; i < n; ++i) {  // i is 0-based; the position is i + 1
    const char c = s[i];
    if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') {
      capital = true;
      r += c;
    } else if (capital) {
      r += UpperAZ(c);
      capital = false;
    } else {
      r += LowerAZ(c);
    }
    if (r == "Mc") capital = true;
    const auto mc = r.find(" Mc");
    if (mc != std::string::npos && i == mc + 2) capital = true;
    if (i + 3 >= n) {  // within the last three positions
      if (r.size() >= 2 && r.compare(r.size() - 2, 2, " I") == 0) capital = true;
      if (r.size() >= 3 && r.compare(r.size() - 3, 3, " II") == 0) capital = true;
    }
  }
  return r;
}

void StringToPassword(std::string& s, char c) {
  std::string r;
  r.reserve(s.size());
  for (char x : s)
    if ((static_cast<unsigned char>(x) & 0xC0) != 0x80) r += c;  // one per UTF-8 character
  s = std::move(r);
}

void StringToOem(std::string& s) { s = Utf8ToCodePage(CP_OEM866, s); }

void OemToString(std::string& s) { s = CodePageToUtf8(CP_OEM866, s); }
