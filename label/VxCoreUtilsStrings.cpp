// VxCoreUtils: string functions: hexadecimal dumps, OEM text, blanks and characters,
// padding, occurrences, locale comparison, cutting at a symbol, case, words and fields by
// delimiter sets, quoting and thousands grouping.
#include <algorithm>
#include <cstring>

#include "label/VxCoreUtils.h"
#include "label/VxCoreUtilsInternal.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace VxCoreUtils {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

bool IsDelim(const std::string& S, int I, const TSysCharSet& Delims) {
  return CharInSet(S[I - 1], Delims);
}

// Position of the N-th word (1-based), 0 when there is none.
int NthWord(int N, const std::string& S, const TSysCharSet& Delims) {
  const int len = static_cast<int>(S.size());
  int i = 1, count = 0;
  while (i <= len) {
    while (i <= len && IsDelim(S, i, Delims)) ++i;
    if (i > len) break;
    if (++count == N) return i;
    while (i <= len && !IsDelim(S, i, Delims)) ++i;
  }
  return 0;
}

std::string WordAt(int Pos, const std::string& S, const TSysCharSet& Delims) {
  int end = Pos;
  while (end <= static_cast<int>(S.size()) && !IsDelim(S, end, Delims)) ++end;
  return S.substr(Pos - 1, end - Pos);
}

// The code point at byte Pos with its case changed by Map.
template <class F>
void MapCodePointAt(std::string& S, std::size_t Pos, F Map) {
  std::size_t next = Pos;
  Utf8Next(S, next);
  const std::string mapped = Map(S.substr(Pos, next - Pos));
  S.replace(Pos, next - Pos, mapped);
}

}  // namespace

std::string BufToBinStr(const void* Buffer, int Size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  if (Size <= 0) return out;
  const auto* bytes = static_cast<const unsigned char*>(Buffer);
  out.reserve(static_cast<std::size_t>(Size) * 2);
  for (int i = 0; i < Size; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

int BinStrToBuf(const std::string& Value, void* Buffer, int Size) {
  const std::string text = Value.size() % 2 ? "0" + Value : Value;
  const int count = std::max(0, std::min(Size, static_cast<int>(text.size() / 2)));
  auto* bytes = static_cast<unsigned char*>(Buffer);
  for (int i = 0; i < count; ++i) {
    const int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0)
      throw EConvertError("'$" + text.substr(2 * i, 2) + "' is not a valid integer value");
    bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
  }
  return count;
}

std::string StrToOem(const std::string& S) { return Utf8ToCodePage(CP_OEM866, S); }
std::string OemToAnsiStr(const std::string& S) { return CodePageToUtf8(CP_OEM866, S); }

bool IsEmptyStr(const std::string& S, const TSysCharSet& Chars) {
  for (char c : S)
    if (!CharInSet(c, Chars)) return false;
  return true;
}

std::string ReplaceStr(const std::string& S, const std::string& Find, const std::string& Replace) {
  return StringReplace(S, Find, Replace, rfReplaceAll);
}

std::string DelChars(const std::string& S, char Ch) {
  std::string out;
  out.reserve(S.size());
  for (char c : S)
    if (c != Ch) out += c;
  return out;
}

std::string DelSpace(const std::string& S) { return DelChars(S, ' '); }

std::string DelBSpace(const std::string& S) {
  const std::size_t i = S.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : S.substr(i);
}

std::string DelESpace(const std::string& S) {
  const std::size_t i = S.find_last_not_of(' ');
  return i == std::string::npos ? std::string() : S.substr(0, i + 1);
}

std::string DelRSpace(const std::string& S) { return DelBSpace(DelESpace(S)); }

std::string DelSpace1(const std::string& S) {
  std::string out;
  out.reserve(S.size());
  for (char c : S)
    if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
  return out;
}

std::string Tab2Space(const std::string& S, uint8_t Count) {
  std::string out;
  for (char c : S) {
    if (c == '\t') out.append(Count, ' ');
    else out += c;
  }
  return out;
}

std::string MakeStr(char Ch, int N) { return N > 0 ? std::string(N, Ch) : std::string(); }

std::u16string MakeStr(char16_t Ch, int N) {
  if (N < 1) return {};
  std::u16string s(N, u'\0');
  FillWideChar(s.data(), N, Ch);
  return s;
}

std::string MS(char Ch, int N) { return MakeStr(Ch, N); }

std::string AddChar(char Ch, const std::string& S, int N) {
  const int length = CodePoints(S);
  return length >= N ? S : std::string(N - length, Ch) + S;
}

std::string AddCharR(char Ch, const std::string& S, int N) {
  const int length = CodePoints(S);
  return length >= N ? S : S + std::string(N - length, Ch);
}

std::string LeftStr(const std::string& S, int N) { return AddCharR(' ', S, N); }
std::string RightStr(const std::string& S, int N) { return AddChar(' ', S, N); }

std::string CenterStr(const std::string& S, int Len) {
  const int length = CodePoints(S);
  if (length >= Len) return S;
  return AddCharR(' ', Spaces(Len / 2 - length / 2) + S, Len);
}

int NPos(const std::string& Sub, const std::string& S, int N) {
  if (N < 1 || Sub.empty()) return 0;
  std::size_t from = 0, at = std::string::npos;
  for (int i = 0; i < N; ++i) {
    at = S.find(Sub, from);
    if (at == std::string::npos) return 0;
    from = at + 1;
  }
  return static_cast<int>(at) + 1;
}

int CompStr(const std::string& S1, const std::string& S2) { return Sign(AnsiCompareStr(S1, S2)); }
int CompText(const std::string& S1, const std::string& S2) { return Sign(AnsiCompareText(S1, S2)); }

std::string Copy2Symb(const std::string& S, char Ch) {
  const std::size_t at = S.find(Ch);
  return at == std::string::npos ? S : S.substr(0, at);
}

std::string Copy2SymbDel(std::string& S, char Ch) {
  std::string head = Copy2Symb(S, Ch);
  S = DelBSpace(S.substr(head.size()));
  return head;
}

std::string Copy2Space(const std::string& S) { return Copy2Symb(S, ' '); }
std::string Copy2SpaceDel(std::string& S) { return Copy2SymbDel(S, ' '); }

int FindNotBlankCharPos(const std::string& S) {
  const std::size_t i = S.find_first_not_of(' ');
  return i == std::string::npos ? static_cast<int>(S.size()) + 1 : static_cast<int>(i) + 1;
}

int FindNotBlankCharPosW(const std::u16string& S) {
  const std::size_t i = S.find_first_not_of(u' ');
  return i == std::u16string::npos ? static_cast<int>(S.size()) + 1 : static_cast<int>(i) + 1;
}

bool StringStartsWith(const std::string& S, const std::string& SubText) {
  if (SubText.size() > S.size()) return false;
  return AnsiSameText(S.substr(0, SubText.size()), SubText);
}

bool StringEndsWith(const std::string& S, const std::string& SubText) {
  if (SubText.empty() || SubText.size() > S.size()) return false;
  const std::size_t at = S.size() - SubText.size();
  // Not from the middle of a character.
  if ((static_cast<unsigned char>(S[at]) & 0xC0) == 0x80) return false;
  return AnsiSameText(S.substr(at), SubText);
}

std::string StrDelete(const std::string& Sub, const std::string& S) {
  if (Sub.empty()) return S;
  const std::string sub = AnsiLowerCase(Sub);
  std::string out = S;
  // The lower-case forms keep byte lengths, so a position found in them is one in out.
  for (std::size_t at = AnsiLowerCase(out).find(sub); at != std::string::npos;
       at = AnsiLowerCase(out).find(sub))
    out.erase(at, Sub.size());
  return out;
}

std::string AnsiProperCase(const std::string& S, const TSysCharSet& Delims) {
  std::string out = AnsiLowerCase(S);
  const int len = static_cast<int>(out.size());
  int i = 1;
  while (i <= len) {
    while (i <= len && IsDelim(out, i, Delims)) ++i;
    if (i <= len) MapCodePointAt(out, i - 1, AnsiUpperCase);
    while (i <= len && !IsDelim(out, i, Delims)) ++i;
  }
  return out;
}

std::string AnsiChangeCase(const std::string& S) {
  std::string out;
  out.reserve(S.size());
  std::size_t pos = 0;
  while (pos < S.size()) {
    const std::size_t from = pos;
    Utf8Next(S, pos);
    const std::string c = S.substr(from, pos - from);
    const std::string upper = AnsiUpperCase(c);
    out += upper == c ? AnsiLowerCase(c) : upper;
  }
  return out;
}

std::u16string WideChangeCase(const std::u16string& S) { return Utf8ToUtf16(AnsiChangeCase(Utf16ToUtf8(S))); }

std::string AnsiUpperFirstChar(const std::string& S) {
  std::string out = AnsiLowerCase(S);
  if (!out.empty()) MapCodePointAt(out, 0, AnsiUpperCase);
  return out;
}

int WordCount(const std::string& S, const TSysCharSet& Delims) {
  const int len = static_cast<int>(S.size());
  int count = 0, i = 1;
  while (i <= len) {
    while (i <= len && IsDelim(S, i, Delims)) ++i;
    if (i <= len) ++count;
    while (i <= len && !IsDelim(S, i, Delims)) ++i;
  }
  return count;
}

int WordPosition(int N, const std::string& S, const TSysCharSet& Delims) {
  return N < 1 ? 0 : NthWord(N, S, Delims);
}

std::string ExtractWord(int N, const std::string& S, const TSysCharSet& Delims) {
  const int pos = WordPosition(N, S, Delims);
  return pos ? WordAt(pos, S, Delims) : std::string();
}

std::string ExtractWordPos(int N, const std::string& S, const TSysCharSet& Delims, int& Pos) {
  Pos = WordPosition(N, S, Delims);
  return Pos ? WordAt(Pos, S, Delims) : std::string();
}

std::string ExtractDelimited(int N, const std::string& S, const TSysCharSet& Delims) {
  std::string out;
  if (N < 1) return out;
  int field = 0;
  for (std::size_t i = 0; i < S.size() && field != N; ++i) {
    if (CharInSet(S[i], Delims)) ++field;
    else if (field == N - 1) out += S[i];
  }
  return out;
}

std::string ExtractSubstr(const std::string& S, int& Pos, const TSysCharSet& Delims) {
  const int len = static_cast<int>(S.size());
  const int from = std::max(Pos, 1);
  int i = from;
  while (i <= len && !IsDelim(S, i, Delims)) ++i;
  std::string out = i > from ? S.substr(from - 1, i - from) : std::string();
  Pos = i <= len ? i + 1 : len + 1;
  return out;
}

bool IsWordPresent(const std::string& W, const std::string& S, const TSysCharSet& Delims) {
  const int count = WordCount(S, Delims);
  for (int i = 1; i <= count; ++i)
    if (ExtractWord(i, S, Delims) == W) return true;
  return false;
}

std::string QuotedString(const std::string& S, char Quote) { return AnsiQuotedStr(S, Quote); }

std::string ExtractQuotedString(const std::string& S, char Quote) {
  if (S.empty() || S[0] != Quote) return S;
  return AnsiDequotedStr(S, Quote);
}

std::string Numb2USA(const std::string& S) {
  std::string out = S;
  int commas = 0;
  for (int l = static_cast<int>(S.size()); l >= 1; --l) {
    if ((static_cast<int>(out.size()) - l - commas + 1) % 3 == 0 && l != 1) {
      out.insert(static_cast<std::size_t>(l - 1), 1, ',');
      ++commas;
    }
  }
  return out;
}

std::string GetChangedText(const std::string& Text, int Start, int Count, char Key) {
  std::string out = Text;
  const std::size_t at = static_cast<std::size_t>(std::clamp(Start, 0, static_cast<int>(out.size())));
  if (Count > 0) out.erase(at, static_cast<std::size_t>(Count));
  if (Key != 0) out.insert(at, 1, Key);
  return out;
}

char* StrPAlloc(const std::string& S) {
  char* p = new char[S.size() + 1];
  std::memcpy(p, S.c_str(), S.size() + 1);
  return p;
}

void StrPFree(char* P) { delete[] P; }

char* StringToPChar(std::string& S) { return S.data(); }

std::string DropT(const std::string& S) {
  if (S.size() > 1 && (S[0] == 'T' || S[0] == 't')) return S.substr(1);
  return S;
}

}  // namespace VxCoreUtils
