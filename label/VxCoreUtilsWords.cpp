// VxCoreUtils: words under a caret, line and column of a position, fields at a
// separator, replacing and joining. One algorithm serves the byte (UTF-8) and the wide
// forms; bytes of multi-byte characters are never separators, so words keep them whole.
#include <algorithm>
#include <cstring>

#include "label/VxCoreUtils.h"
#include "label/VxCoreUtilsInternal.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"

namespace VxCoreUtils {

const TSysCharSet Separators{0,   10,  13,  32,  34,  35,  37,  39,  40,  41,  42,  43,  44,
                             45,  46,  47,  58,  59,  60,  61,  62,  91,  92,  93,  123, 125};

namespace {

// Character I (1-based) of the text; 0, a separator, before the first and past the last.
template <class S>
auto At(const S& Text, int I) -> typename S::value_type {
  if (I < 1 || I > static_cast<int>(Text.size())) return 0;
  return Text[I - 1];
}

bool IsSep(char C) { return CharInSet(C, Separators); }
bool IsSep(char16_t C) { return CharInSetW(C, Separators); }

template <class S>
bool SepAt(const S& Text, int I) { return IsSep(At(Text, I)); }

template <class S>
S Chars(const S& Text, int From, int To) {  // From..To inclusive, clipped to the text
  const int len = static_cast<int>(Text.size());
  if (From < 1) From = 1;
  if (To > len) To = len;
  if (To < From) return S();
  return Text.substr(From - 1, To - From + 1);
}

// Start of the word around I: one after the nearest separator at or before I.
template <class S>
int ScanLeft(const S& Text, int I) {
  while (I >= 1 && !SepAt(Text, I)) --I;
  return I + 1;
}

// End of the word from I on: the nearest separator at or after I (or length + 1).
template <class S>
int ScanRight(const S& Text, int I) {
  const int len = static_cast<int>(Text.size());
  while (I <= len && !SepAt(Text, I)) ++I;
  return I;
}

template <class S>
void XYByPos(const S& Text, int Pos, int& X, int& Y) {
  if (Pos < 0 || Pos > static_cast<int>(Text.size())) {
    X = Y = -1;
    return;
  }
  Y = 0;
  int after = 0;
  for (int i = 1; i <= Pos; ++i)
    if (Text[i - 1] == 10) {
      ++Y;
      after = i + 1;
    }
  X = Pos - after;
}

template <class S>
void EndPosCaret(const S& Text, int CaretX, int CaretY, int& X, int& Y) {
  XYByPos(Text, static_cast<int>(Text.size()), X, Y);
  if (Y == 0) X = X + CaretX - 1;
  Y += CaretY;
}

template <class S>
S WordOnPos(const S& Text, int P) {
  if (P < 1 || P > static_cast<int>(Text.size())) return S();
  const int start = ScanLeft(Text, P);
  const int end = ScanRight(Text, P);
  if (end > start) return Chars(Text, start, end - 1);
  return Chars(Text, P, P);
}

template <class S>
S WordOnPos2(const S& Text, int P, int& WordStart, int& WordEnd) {
  if (P < 1) return S();
  const int len = static_cast<int>(Text.size());
  // A caret just after the last word takes that word.
  if (P == len + 1 && len > 0 && !SepAt(Text, len)) {
    WordStart = ScanLeft(Text, len);
    WordEnd = len + 1;
    return Chars(Text, WordStart, len);
  }
  if (SepAt(Text, P) && SepAt(Text, P - 1)) ++P;
  WordStart = ScanLeft(Text, P);
  WordEnd = ScanRight(Text, P);
  if (WordEnd > WordStart) return Chars(Text, WordStart, WordEnd - 1);
  return Chars(Text, P, P);
}

template <class S>
S WordOnPosEx(const S& Text, int P, int& WordStart, int& WordEnd) {
  if (P < 1 || P > static_cast<int>(Text.size())) return S();
  int start = P;
  if (P > 1 && SepAt(Text, P)) start = SepAt(Text, P - 1) ? P + 1 : P - 1;
  WordStart = ScanLeft(Text, start);
  WordEnd = ScanRight(Text, P);
  if (WordEnd > WordStart) return Chars(Text, WordStart, WordEnd - 1);
  return Chars(Text, P, P);
}

template <class S>
S NextWordPosEx(const S& Text, int Start, int& WordStart, int& WordEnd) {
  const int len = static_cast<int>(Text.size());
  if (Start < 1 || Start > len) return S();
  int p = Start;
  if (SepAt(Text, p) && SepAt(Text, p - 1)) ++p;
  WordStart = ScanLeft(Text, p);
  WordEnd = ScanRight(Text, WordStart);
  if (WordEnd > len) WordEnd = len;
  else --WordEnd;
  return Chars(Text, WordStart, WordEnd);
}

bool SameStart(const std::string& Text, std::size_t At, const std::string& Sep) {
  // ASCII text compares byte by byte with its letters folded; other text by the locale.
  if (Text.size() - At < Sep.size()) return false;
  bool ascii = true;
  for (std::size_t i = 0; i < Sep.size(); ++i) {
    unsigned char a = static_cast<unsigned char>(Text[At + i]), b = static_cast<unsigned char>(Sep[i]);
    if (a >= 0x80 || b >= 0x80) {
      ascii = false;
      break;
    }
    if (a >= 'a' && a <= 'z') a -= 32;
    if (b >= 'a' && b <= 'z') b -= 32;
    if (a != b) return false;
  }
  return ascii || AnsiSameText(Text.substr(At, Sep.size()), Sep);
}

bool SameStart(const std::u16string& Text, std::size_t At, const std::u16string& Sep) {
  return StrLICompW2(Text.c_str() + At, Sep.c_str(), static_cast<int>(Sep.size())) == 0;
}

template <class S>
S Field(const S& Text, int Index, const S& Sep) {
  if (Index < 0 || Text.empty() || Sep.empty()) return S();
  if (Index == 0 && Sep.size() == 1 && Text[0] == Sep[0]) return S();
  std::size_t start = 0;
  for (int i = 0; i < Index; ++i) {
    std::size_t at = Text.find(Sep, start);
    if (at == S::npos) return S();
    start = at + Sep.size();
    if (start >= Text.size()) return S();
  }
  std::size_t end = Text.find(Sep, start + 1);
  if (end == S::npos) end = Text.size();
  if (SameStart(Text, start, Sep)) return S();
  return Text.substr(start, end - start);
}

}  // namespace

int GetLineByPos(const std::string& S, int Pos) {
  if (Pos > static_cast<int>(S.size())) return -1;
  int lines = 0;
  for (int i = 1; i <= Pos; ++i) lines += S[i - 1] == '\r';
  return lines;
}

void GetXYByPos(const std::string& S, int Pos, int& X, int& Y) { XYByPos(S, Pos, X, Y); }
void GetXYByPosW(const std::u16string& S, int Pos, int& X, int& Y) { XYByPos(S, Pos, X, Y); }

void GetEndPosCaret(const std::string& Text, int CaretX, int CaretY, int& X, int& Y) {
  EndPosCaret(Text, CaretX, CaretY, X, Y);
}
void GetEndPosCaretW(const std::u16string& Text, int CaretX, int CaretY, int& X, int& Y) {
  EndPosCaret(Text, CaretX, CaretY, X, Y);
}

std::string GetWordOnPos(const std::string& S, int P) { return WordOnPos(S, P); }
std::u16string GetWordOnPosW(const std::u16string& S, int P) { return WordOnPos(S, P); }

std::string GetWordOnPos2(const std::string& S, int P, int& WordStart, int& WordEnd) {
  return WordOnPos2(S, P, WordStart, WordEnd);
}
std::u16string GetWordOnPos2W(const std::u16string& S, int P, int& WordStart, int& WordEnd) {
  return WordOnPos2(S, P, WordStart, WordEnd);
}

std::string GetWordOnPosEx(const std::string& S, int P, int& WordStart, int& WordEnd) {
  return WordOnPosEx(S, P, WordStart, WordEnd);
}
std::u16string GetWordOnPosExW(const std::u16string& S, int P, int& WordStart, int& WordEnd) {
  return WordOnPosEx(S, P, WordStart, WordEnd);
}

std::string GetNextWordPosEx(const std::string& Text, int Start, int& WordStart, int& WordEnd) {
  return NextWordPosEx(Text, Start, WordStart, WordEnd);
}
std::u16string GetNextWordPosExW(const std::u16string& Text, int Start, int& WordStart, int& WordEnd) {
  return NextWordPosEx(Text, Start, WordStart, WordEnd);
}

std::string SubWord(const char* P, const char*& P2) {
  const char* q = P;
  while (!IsSep(*q)) ++q;  // the terminator is a separator
  P2 = q;
  return std::string(P, q);
}

std::string SubStr(const std::string& S, int Index, const std::string& Separator) {
  // A one-byte ASCII separator (the common case) is found by a plain scan; the result is
  // the same as the general walk's, the start check folding letters as SameStart does.
  if (Separator.size() == 1 && static_cast<unsigned char>(Separator[0]) < 0x80 && Index >= 0 && !S.empty()) {
    const char c = Separator[0];
    const auto folded = [](char x) { return x >= 'a' && x <= 'z' ? static_cast<char>(x - 32) : x; };
    const char* p = S.data();
    const std::size_t n = S.size();
    if (Index == 0 && p[0] == c) return {};
    std::size_t start = 0;
    for (int i = 0; i < Index; ++i) {
      while (start < n && p[start] != c) ++start;
      if (start == n) return {};
      if (++start >= n) return {};
    }
    if (folded(p[start]) == folded(c)) return {};
    std::size_t end = start + 1;
    while (end < n && p[end] != c) ++end;
    return std::string(p + start, std::min(end, n) - start);
  }
  return Field(S, Index, Separator);
}
std::u16string SubStrW(const std::u16string& S, int Index, const std::u16string& Separator) {
  return Field(S, Index, Separator);
}

std::string SubStrEnd(const std::string& S, int Index, const std::string& Separator) {
  int count = 0;
  if (!Separator.empty())
    for (std::size_t at = S.find(Separator); at != std::string::npos; at = S.find(Separator, at + Separator.size()))
      ++count;
  return SubStr(S, count - Index, Separator);
}

std::string ReplaceString(const std::string& S, const std::string& Pattern, const std::string& Replacement) {
  // One byte for one byte: a copy with the bytes swapped in place.
  if (Pattern.size() == 1 && Replacement.size() == 1) {
    std::string out = S;
    const char from = Pattern[0], to = Replacement[0];
    for (char& ch : out)
      if (ch == from) ch = to;
    return out;
  }
  return StringReplace(S, Pattern, Replacement, rfReplaceAll);
}

std::u16string ReplaceStringW(const std::u16string& S, const std::u16string& Pattern,
                              const std::u16string& Replacement) {
  if (Pattern.empty()) return S;
  std::u16string out;
  std::size_t from = 0;
  for (std::size_t at = S.find(Pattern); at != std::u16string::npos; at = S.find(Pattern, from)) {
    out.append(S, from, at - from);
    out += Replacement;
    from = at + Pattern.size();
  }
  out.append(S, from, std::u16string::npos);
  return out;
}

std::string ReplaceStrings(const std::string& S, int Start, int Count, TStrings* Words,
                           TStrings* Phrases, int& NewCaret) {
  NewCaret = Start;
  int wordStart = Start;
  std::string word;
  if (Count == 0) {
    if (Start < 1) return S;
    if (Start == 1) Start = 2;
    wordStart = ScanLeft(S, Start - 1);
    const int wordEnd = ScanRight(S, Start);
    word = Chars(S, wordStart, wordEnd - 1);
    if (word.empty()) {
      wordStart = Start;
      word = Chars(S, Start, Start);
    }
  } else {
    word = Copy(S, Start, Count);
  }
  if (word.empty()) return S;
  const int index = Words->IndexOf(word);
  if (index < 0 || index >= Phrases->Count()) return S;
  const std::string phrase = Phrases->Get(index);
  NewCaret = wordStart + static_cast<int>(phrase.size());
  return Copy(S, 1, wordStart - 1) + phrase + Copy(S, wordStart + static_cast<int>(word.size()));
}

std::string ReplaceAllStrings(const std::string& S, TStrings* Words, TStrings* Phrases) {
  std::string out = S;
  for (int i = 0; i < Words->Count(); ++i) {
    const std::string word = Words->Get(i);
    if (!word.empty() && out.find(word) != std::string::npos) out = ReplaceString(out, word, Phrases->Get(i));
  }
  return out;
}

std::string ConcatSep(const std::string& S, const std::string& S2, const std::string& Separator) {
  return S.empty() ? S2 : S + Separator + S2;
}

std::string ConcatLeftSep(const std::string& S, const std::string& S2, const std::string& Separator) {
  return S.empty() ? S2 : S2 + Separator + S;
}

std::string MinimizeString(const std::string& S, int MaxLength) {
  if (CodePoints(S) <= MaxLength) return S;
  if (MaxLength > 2) return S.substr(0, CodePointBytes(S, MaxLength - 3)) + "...";
  return S.substr(0, CodePointBytes(S, MaxLength));
}

}  // namespace VxCoreUtils
