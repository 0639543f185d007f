// Filter expressions: the matching language of the grid's filters and wildcard find.
// Everything here is pure; number and date tests read the locale settings at each call.
#include <charconv>
#include <cstring>
#include <string_view>
#include <vector>

#include "foundation/DizUtil.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr size_t kMaxOperand = 255;

// A whole-string number after the locale's separators are normalised: leading spaces, an
// optional sign, digits with an optional '.' part, an optional exponent.
bool ParseNumber(std::string_view s, double& v) {
  const TFormatSettings& fs = FormatSettings();
  std::string t;
  t.reserve(s.size());
  for (char c : s) {
    if (c == fs.ThousandSeparator && c != fs.DecimalSeparator) continue;
    t += c == fs.DecimalSeparator ? '.' : c;
  }
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  if (i == t.size()) return false;
  bool neg = false;
  if (t[i] == '+' || t[i] == '-') neg = t[i++] == '-';
  const size_t start = i;
  size_t digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    size_t k = i + 1;
    if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
    size_t ed = 0;
    while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k, ++ed;
    if (ed == 0) return false;
    i = k;
  }
  if (i != t.size()) return false;
  const char* b = t.data() + start;
  double x = 0;
  auto r = std::from_chars(b, t.data() + t.size(), x);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
  v = neg ? -x : x;
  return true;
}

bool ParseInt(std::string_view s, int& v) {
  std::string t = Trim(std::string(s));
  if (t.empty() || t.size() > 9) return false;
  size_t i = 0;
  bool neg = false;
  if (t[0] == '+' || t[0] == '-') neg = t[i++] == '-';
  if (i == t.size()) return false;
  int x = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    x = x * 10 + (t[i] - '0');
  }
  v = neg ? -x : x;
  return true;
}

// A date in the locale's short date order, with an optional time after a blank.
bool ParseDate(std::string_view s, double& v) {
  const TFormatSettings& fs = FormatSettings();
  const size_t a = s.find(fs.DateSeparator);
  if (a == std::string_view::npos) return false;
  const size_t b = s.find(fs.DateSeparator, a + 1);
  if (b == std::string_view::npos) return false;
  std::string rest = Trim(std::string(s.substr(b + 1)));
  std::string timePart;
  if (size_t sp = rest.find(' '); sp != std::string::npos) {
    timePart = Trim(rest.substr(sp + 1));
    rest = rest.substr(0, sp);
  }
  int f[3];
  if (!ParseInt(s.substr(0, a), f[0]) || !ParseInt(s.substr(a + 1, b - a - 1), f[1]) || !ParseInt(rest, f[2]))
    return false;
  // Field order: the order in which D, M and Y first appear in the short date format.
  const std::string fmt = UpperCase(fs.ShortDateFormat);
  struct Pos { size_t at; char key; } order[3] = {{fmt.find('D'), 'D'}, {fmt.find('M'), 'M'}, {fmt.find('Y'), 'Y'}};
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j)
      if (order[j].at < order[i].at) std::swap(order[i], order[j]);
  int day = 0, month = 0, year = 0;
  for (int i = 0; i < 3; ++i) {
    if (order[i].key == 'D') day = f[i];
    else if (order[i].key == 'M') month = f[i];
    else year = f[i];
  }
  if (day > 31 || month > 12) return false;
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  double time = 0;
  if (!timePart.empty()) {
    const size_t c1 = timePart.find(fs.TimeSeparator);
    if (c1 == std::string::npos) return false;
    const size_t c2 = timePart.find(fs.TimeSeparator, c1 + 1);
    int h = 0, m = 0, sec = 0;
    if (!ParseInt(timePart.substr(0, c1), h)) return false;
    if (!ParseInt(timePart.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1), m)) return false;
    if (c2 != std::string::npos && !ParseInt(timePart.substr(c2 + 1), sec)) return false;
    if (h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59) return false;
    TDateTime t = 0;
    if (!TryEncodeTime(h, m, sec, 0, t)) return false;
    time = t;
  }
  v = date + time;
  return true;
}

// The cell text against an operand: numbers, else dates, else bytes (at most 255).
int CompareSides(std::string_view text, std::string_view operand) {
  double dt = 0, dop = 0;
  const bool textDate = ParseDate(text, dt), opDate = ParseDate(operand, dop);
  double nt = 0, nop = 0;
  const bool textNum = !textDate && !text.empty() && ParseNumber(text, nt);
  const bool opNum = !opDate && !operand.empty() && ParseNumber(operand, nop);
  if (textNum && opNum) return nt < nop ? -1 : (nt > nop ? 1 : 0);
  if (textDate && opDate) return dt < dop ? -1 : (dt > dop ? 1 : 0);
  const std::string_view a = text.substr(0, std::min(text.size(), kMaxOperand));
  const std::string_view b = operand.substr(0, std::min(operand.size(), kMaxOperand));
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The operand after a comparison operator at From. A quoted blank is kept only after '>'.
std::string ReadOperand(std::string_view term, size_t from, bool keepQuotedBlank) {
  size_t i = from;
  while (i < term.size() && term[i] == ' ') ++i;
  int quotes = 0;
  while (i < term.size() && term[i] == '"') ++quotes, ++i;
  std::string op;
  while (i < term.size()) {
    const char c = term[i];
    if (c == '"') {
      ++quotes;
    } else if (c == ' ') {
      if (!(keepQuotedBlank && quotes % 2 == 1 && !op.empty() && op.back() != ' ')) break;
    } else if ((c == '&' || c == '|') && quotes % 2 == 0) {
      break;
    }
    op += c;
    ++i;
  }
  if (!op.empty() && op.back() == '"') op.pop_back();
  if (op.size() > kMaxOperand) op.resize(kMaxOperand);
  return op;
}

// One term against the text, both from given offsets. The results of '*' are kept per
// pattern position as "some suffix from here on matches", so each (position, suffix) pair
// is decided once however many stars the pattern holds.
class TermMatcher {
public:
  TermMatcher(std::string_view term, std::string_view text) : FTerm(term), FText(text) {}

  bool Match(size_t p, size_t t) {
    const std::string_view sub = FTerm.substr(p);
    const bool hasGt = sub.find('>') != std::string_view::npos;
    const bool hasLt = sub.find('<') != std::string_view::npos;
    const bool hasNot = sub.find('!') != std::string_view::npos;
    if (hasGt || hasLt || hasNot) {
      const std::string_view text = FText.substr(t);
      bool gRes = true, lRes = true;
      if (hasGt) {
        size_t at = sub.find('>');
        const bool eq = at + 1 < sub.size() && sub[at + 1] == '=';
        const int c = CompareSides(text, ReadOperand(sub, at + 1 + (eq ? 1 : 0), true));
        gRes = eq ? c >= 0 : c > 0;
      }
      if (hasLt) {
        size_t at = sub.find('<');
        const bool eq = at + 1 < sub.size() && sub[at + 1] == '=';
        const int c = CompareSides(text, ReadOperand(sub, at + 1 + (eq ? 1 : 0), false));
        lRes = eq ? c <= 0 : c < 0;
      }
      const bool gPresent = hasGt || hasNot, lPresent = hasLt || hasNot;
      if (sub.find('^') != std::string_view::npos && (gPresent || lPresent)) return lRes || gRes;
      if (sub.find('&') != std::string_view::npos && gPresent && lPresent) return lRes && gRes;
      if (hasGt && gRes) return true;
      if (hasLt && lRes) return true;
    }
    return Wildcard(p, t);
  }

private:
  bool Wildcard(size_t i, size_t j) {
    bool invert = false, result = false;
    const size_t n = FTerm.size(), m = FText.size();
    for (;;) {
      if (i >= n) {
        result = j == m;
        break;
      }
      const char c = FTerm[i];
      if (c == '*') {
        while (i < n && FTerm[i] == '*') ++i;
        result = AnySuffix(i, j);
        break;
      }
      if (c == '"') { ++i; continue; }
      if (c == '!') { invert = !invert; ++i; continue; }
      if (c == '?') {
        if (j >= m) break;
        ++i, ++j;
        continue;
      }
      char want = c;
      // An escape takes the next character literally; a lone one at the end stands for itself.
      if (c == '\\' && i + 1 < n) want = FTerm[++i];
      if (j >= m || FText[j] != want) break;
      ++i, ++j;
    }
    return result != invert;
  }

  bool AnySuffix(size_t p, size_t from) {
    Star* s = nullptr;
    for (Star& k : FStars)
      if (k.Pos == p) s = &k;
    if (!s) {
      FStars.push_back(Star{p, FText.size() + 1, {}});
      s = &FStars.back();
      s->Any.assign(FText.size() + 2, 0);
    }
    const size_t pos = s->Pos;
    for (size_t k = s->Low; k-- > from;) {
      const bool here = Match(pos, k);
      // Match may have grown FStars: find the entry again.
      for (Star& st : FStars)
        if (st.Pos == pos) s = &st;
      s->Any[k] = here || s->Any[k + 1];
      s->Low = k;
    }
    return s->Any[from] != 0;
  }

  struct Star {
    size_t Pos;
    size_t Low;  // Any[k] is known for k >= Low
    std::vector<char> Any;
  };
  std::string_view FTerm, FText;
  std::vector<Star> FStars;
};

}  // namespace

bool Matches(const std::string& term, const std::string& text) {
  TermMatcher m(term, text);
  return m.Match(0, 0);
}

bool MatchStr(const std::string& term, const std::string& text, bool caseSensitive) {
  if (caseSensitive) return Matches(term, text);
  return Matches(AnsiUpperCase(term), AnsiUpperCase(text));
}

bool MatchStrEx(const std::string& expression, const std::string& text, bool caseSensitive) {
  const std::string trimmed = Trim(expression);
  std::string rest;
  rest.reserve(trimmed.size());
  int quotes = 0;
  for (char c : trimmed) {
    if (c == '"') ++quotes;
    if (c == ' ' && quotes % 2 == 0) continue;
    rest += c;
  }
  if (!rest.empty() && rest[0] == '=') rest.erase(0, 1);

  bool result = true;
  char pending = 0;
  auto combine = [&](bool r) {
    switch (pending) {
      case 0: result = r; break;
      case '&': result = result && r; break;
      case '(': break;
      default: result = result || r; break;
    }
  };
  for (;;) {
    size_t at = std::string::npos;
    int q = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
      const char c = rest[i];
      if (c == '"') ++q;
      if (q % 2 == 0 && std::strchr("&(;^|", c) && c != 0) {
        at = i;
        break;
      }
    }
    if (at == std::string::npos) break;
    if (rest[0] == '(') {
      int open = 0, close = 0;
      size_t end = std::string::npos;
      for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '(') ++open;
        else if (rest[i] == ')' && ++close == open) {
          end = i;
          break;
        }
      }
      if (end == std::string::npos) {
        // No closing parenthesis: the rest is one group.
        combine(MatchStrEx(rest.substr(1), text, caseSensitive));
        return result;
      }
      combine(MatchStrEx(rest.substr(1, end - 1), text, caseSensitive));
      rest.erase(0, end + 1);
      pending = '(';
    } else {
      combine(MatchStr(rest.substr(0, at), text, caseSensitive));
      pending = rest[at];
      rest.erase(0, at + 1);
    }
  }
  combine(MatchStr(rest, text, caseSensitive));
  return result;
}
