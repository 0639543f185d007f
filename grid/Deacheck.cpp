// Cell text checkers: the base checker's text tools and the sentence capitaliser.
#include "grid/Deacheck.h"

#include "platform/rtl/SysUtils.h"

namespace {
bool IsLineBreakTag(const std::string& S, size_t at) {
  if (at + 4 > S.size()) return false;
  const std::string t = UpperCase(S.substr(at, 4));
  return t == "<BR>" || t == "<HR>";
}

// The visible text of mark-up: a line-break tag stands for CR LF, other tags drop out; a
// '<' without a closing '>' ends the tag removal.
std::string Visible(const std::string& S) {
  std::string v;
  size_t i = 0;
  while (i < S.size()) {
    if (S[i] == '<') {
      if (IsLineBreakTag(S, i)) {
        v += "\r\n";
        i += 4;
        continue;
      }
      const size_t close = S.find('>', i);
      if (close == std::string::npos) {
        v.append(S, i, std::string::npos);
        break;
      }
      i = close + 1;
      continue;
    }
    v += S[i++];
  }
  return v;
}

// The position in S before which N - 1 visible characters lie (1-based N). A line-break
// tag counts as the two characters it stands for in the visible text, so positions after
// it line up with the visible text the search ran on.
size_t PointOf(const std::string& S, size_t N) {
  size_t seen = 0, i = 0;
  while (i < S.size()) {
    if (S[i] == '<') {
      if (IsLineBreakTag(S, i)) {
        if (seen + 1 >= N) return i;
        seen += 2;
        i += 4;
        continue;
      }
      const size_t close = S.find('>', i);
      if (close != std::string::npos) {
        if (seen + 1 >= N) return i;
        i = close + 1;
        continue;
      }
    }
    if (seen + 1 >= N) return i;
    ++seen;
    ++i;
  }
  return S.size();
}

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}
}  // namespace

std::string TDavEvadurAvuzCheck::ReplaceOnce(const std::string& S, const std::string& Old, const std::string& New) {
  if (Old.empty()) return S;
  const size_t p = S.find(Old);
  if (p == std::string::npos) return S;
  return S.substr(0, p) + New + S.substr(p + Old.size());
}

std::string TDavEvadurAvuzCheck::HiLight(const std::string& S, const std::string& H, const std::string& Tag,
                                         bool DoCase) {
  if (H.empty()) return S;
  std::string v = Visible(S);
  std::string h = H;
  if (!DoCase) {
    // Locale upper-casing folds Cyrillic too; byte offsets must stay, so a text whose
    // length it would change is folded in a-z only.
    std::string uv = AnsiUpperCase(v), uh = AnsiUpperCase(h);
    if (uv.size() == v.size() && uh.size() == h.size()) v = uv, h = uh;
    else v = UpperAscii(v), h = UpperAscii(h);
  }
  std::string out = S;
  const std::string open = "<" + Tag + ">", close = "</" + Tag + ">";
  size_t offset = 0;
  for (size_t q; (q = v.find(h, offset)) != std::string::npos;) {
    offset = q + h.size();
    out.insert(PointOf(out, q + 1), open);
    out.insert(PointOf(out, q + 1 + h.size()), close);
  }
  return out;
}

std::string TCapitalCheck::Correct(int, int, const std::string& S) {
  // Walks whole UTF-8 characters, so that a Cyrillic sentence start is capitalised too.
  std::string out;
  out.reserve(S.size());
  std::string prev2 = ".", prev1 = " ";
  size_t i = 0;
  while (i < S.size()) {
    const unsigned char lead = static_cast<unsigned char>(S[i]);
    size_t len = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 1;
    if (i + len > S.size()) len = 1;
    const std::string ch = S.substr(i, len);
    if (prev1 == " " && (prev2 == "." || prev2 == "!" || prev2 == "?")) out += AnsiUpperCase(ch);
    else out += ch;
    prev2 = prev1;
    prev1 = ch;
    i += len;
  }
  return out;
}
