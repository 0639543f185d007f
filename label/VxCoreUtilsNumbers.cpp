// VxCoreUtils: numbers in other bases, Roman numerals, binary digit groups, wildcard
// matching, XOR coding and a switch's value on the command line.
#include <string_view>

#include "label/VxCoreUtils.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/SysUtils.h"

namespace VxCoreUtils {

namespace {

int RomanValue(char c) {
  switch (c) {
    case 'C': return 100;
    case 'D': return 500;
    case 'I': return 1;
    case 'L': return 50;
    case 'M': return 1000;
    case 'V': return 5;
    case 'X': return 10;
    default: return 0;
  }
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Position (1-based) of Part in S, "?" matching any byte; 0 when none.
// Short texts are searched by plain loops: a library search costs more than it saves.
std::size_t FindChar(std::string_view S, char C, std::size_t From = 0) {
  if (S.size() > 64) return S.find(C, From);
  for (std::size_t k = From; k < S.size(); ++k)
    if (S[k] == C) return k;
  return std::string_view::npos;
}

std::size_t FindText(std::string_view S, std::string_view Part) {
  if (S.size() > 64) return S.find(Part);
  if (Part.size() > S.size()) return std::string_view::npos;
  for (std::size_t k = 0; k + Part.size() <= S.size(); ++k) {
    std::size_t i = 0;
    while (i < Part.size() && Part[i] == S[k + i]) ++i;
    if (i == Part.size()) return k;
  }
  return std::string_view::npos;
}

int FindPartIn(std::string_view Part, std::string_view S) {
  if (FindChar(Part, '?') == std::string_view::npos) {
    if (Part.empty()) return 0;
    const std::size_t at = FindText(S, Part);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
  }
  if (Part.size() > S.size()) return 0;
  for (std::size_t k = 0; k + Part.size() <= S.size(); ++k) {
    std::size_t i = 0;
    while (i < Part.size() && (Part[i] == '?' || Part[i] == S[k + i])) ++i;
    if (i == Part.size()) return static_cast<int>(k) + 1;
  }
  return 0;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Dec2Hex(int32_t N, uint8_t A) { return IntToHex(static_cast<uint32_t>(N), A); }
std::string D2H(int32_t N, uint8_t A) { return Dec2Hex(N, A); }

int32_t Hex2Dec(const std::string& S) {
  const std::string text = S.find('$') == std::string::npos ? "$" + S : S;
  return StrToIntDef(text, 0);
}

int32_t H2D(const std::string& S) { return Hex2Dec(S); }

std::string Dec2Numb(int32_t N, uint8_t A, uint8_t B) {
  // A base below 2 has no digits to write (and would divide by zero or never end).
  if (B < 2) return {};
  uint32_t n = static_cast<uint32_t>(N);
  std::string digits;
  do {
    const uint32_t v = n % B;
    digits.insert(digits.begin(), static_cast<char>(v < 10 ? '0' + v : v + 55));
    n /= B;
  } while (n);
  return AddChar('0', digits, A);
}

int32_t Numb2Dec(const std::string& S, uint8_t B) {
  // Unsigned arithmetic: the sum wraps at 32 bits as the result type does.
  uint32_t sum = 0, power = 1;
  for (std::size_t i = S.size(); i-- > 0;) {
    const int code = static_cast<unsigned char>(Upper(S[i]));
    const int digit = code <= 64 ? code - 48 : code - 55;
    sum += static_cast<uint32_t>(digit) * power;
    power *= B;
  }
  return static_cast<int32_t>(sum);
}

int32_t RomanToInt(const std::string& S) {
  std::size_t i = 0;
  const bool negative = !S.empty() && S[0] == '-';
  if (negative) i = 1;
  int32_t sum = 0;
  while (i < S.size()) {
    const int value = RomanValue(Upper(S[i]));
    if (!value) return 0;
    const int next = i + 1 < S.size() ? RomanValue(Upper(S[i + 1])) : 0;
    if (next > value) {
      sum += next - value;
      i += 2;
    } else {
      sum += value;
      ++i;
    }
  }
  return negative ? -sum : sum;
}

std::string IntToRoman(int32_t Value) {
  std::string out;
  if (Value < 1) return out;
  out.append(static_cast<std::size_t>(Value / 1000), 'M');
  Value %= 1000;
  // Hundreds, tens and units follow the same pattern with their own letters.
  const char* letters[3] = {"CDM", "XLC", "IVX"};
  int unit = 100;
  for (const char* l : letters) {
    const int digit = Value / unit;
    Value %= unit;
    if (digit == 9) { out += l[0]; out += l[2]; }
    else if (digit >= 5) { out += l[1]; out.append(digit - 5, l[0]); }
    else if (digit == 4) { out += l[0]; out += l[1]; }
    else out.append(digit, l[0]);
    unit /= 10;
  }
  return out;
}

std::string IntToBin(int32_t Value, int32_t Digits, int32_t Spaces) {
  std::string out;
  if (Digits > 32) Digits = 32;
  const uint32_t v = static_cast<uint32_t>(Value);
  for (int n = Digits; n >= 1; --n) {
    // No groups below one digit: nothing to divide by.
    if (Spaces >= 1 && n % Spaces == 0) out += ' ';
    out += (v >> (n - 1)) & 1 ? '1' : '0';
  }
  return out;
}

int FindPart(const std::string& Part, const std::string& S) { return FindPartIn(Part, S); }

bool IsWild(const std::string& S, const std::string& Pattern, bool IgnoreCase) {
  if (Pattern == S) return true;
  std::string collapsed;
  std::string_view pattern = Pattern;
  bool doubled = false;
  for (std::size_t k = 0; k + 1 < pattern.size() && !doubled; ++k) doubled = pattern[k] == '*' && pattern[k + 1] == '*';
  if (doubled) {
    collapsed = Pattern;
    for (std::size_t at; (at = collapsed.find("**")) != std::string::npos;) collapsed.erase(at, 1);
    pattern = collapsed;
  }
  if (pattern == "*") return true;
  std::string upperInput, upperPattern;
  std::string_view input = S;
  if (IgnoreCase) {
    upperInput = AnsiUpperCase(S);
    upperPattern = AnsiUpperCase(std::string(pattern));
    input = upperInput;
    pattern = upperPattern;
  }
  if (input.empty() || pattern.empty()) return false;
  const std::size_t lenS = input.size(), lenP = pattern.size();
  std::size_t i = 0, j = 0;  // 0-based
  while (i < lenS && j < lenP) {
    if (input[i] == pattern[j] || pattern[j] == '?') {
      ++i;
      ++j;
    } else if (pattern[j] == '*') {
      std::string_view chunk = pattern.substr(j + 1);
      const std::size_t star = FindChar(chunk, '*');
      if (star == std::string_view::npos) {
        // The final chunk must match the end of the input.
        if (chunk.empty()) return true;
        if (lenS < chunk.size()) return false;
        std::string_view tail = input.substr(lenS - chunk.size());
        for (std::size_t k = chunk.size(); k-- > 0;)
          if (chunk[k] != '?' && chunk[k] != tail[k]) return false;
        return true;
      }
      chunk = chunk.substr(0, star);
      j += chunk.size() + 1;
      const int found = FindPartIn(chunk, input.substr(i));
      if (!found) return false;
      i += static_cast<std::size_t>(found) - 1 + chunk.size();
    } else {
      return false;
    }
  }
  if (i < lenS) return false;
  if (j < lenP && pattern.back() != '*') return false;
  return true;
}

std::string XorString(const std::string& Key, const std::string& S) {
  std::string out = S;
  if (Key.empty()) return out;
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char>(out[i] ^ Key[i % Key.size()]);
  return out;
}

std::string XorEncode(const std::string& Key, const std::string& S) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(S.size() * 2);
  for (std::size_t i = 0; i < S.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(S[i]);
    if (!Key.empty()) b ^= static_cast<unsigned char>(Key[i % Key.size()]);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string XorDecode(const std::string& Key, const std::string& S) {
  std::string out;
  out.reserve(S.size() / 2);
  for (std::size_t i = 0; i < S.size() / 2; ++i) {
    const int hi = HexValue(S[2 * i]), lo = HexValue(S[2 * i + 1]);
    unsigned char b = hi < 0 || lo < 0 ? 32 : static_cast<unsigned char>(hi * 16 + lo);
    if (!Key.empty()) b ^= static_cast<unsigned char>(Key[i % Key.size()]);
    out += static_cast<char>(b);
  }
  return out;
}

std::string GetCmdLineArg(const std::string& Switch, const TSysCharSet& Chars) {
  const int count = ParamCount();
  for (int i = 1; i <= count; ++i) {
    const std::string param = ParamStr(i);
    if (param.empty()) continue;
    const bool qualifies = Chars.Empty() || (CharInSet(param[0], Chars) && param.size() > 1);
    if (qualifies && AnsiSameText(param.substr(1), Switch) && i < count) return ParamStr(i + 1);
  }
  return {};
}

}  // namespace VxCoreUtils
