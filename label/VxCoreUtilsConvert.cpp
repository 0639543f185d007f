// VxCoreUtils: conversions: number texts with US and locale separators, tolerant
// number parsing, Booleans, variants with defaults, Cyrillic code pages, the Russian
// "how long ago" wording, global memory blocks, pointer arithmetic, command lines and
// dialog units.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "label/VxCoreUtils.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/OSError.h"
#include "platform/win/WinUser.h"

namespace VxCoreUtils {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Signs, digits and the decimal separator of S, in their order.
std::string NumberChars(const std::string& S) {
  const char sep = FormatSettings().DecimalSeparator;
  std::string kept;
  for (char c : S)
    if (c == '+' || c == '-' || IsDigit(c) || c == sep) kept += c;
  return kept;
}

// The form of a counted Russian noun: one, few (2-4) or many. Eleven to fourteen take
// the many-form whatever their last digit.
const char* RussianForm(long long N, const char* One, const char* Few, const char* Many) {
  const long long lastTwo = N % 100;
  if (lastTwo >= 11 && lastTwo <= 14) return Many;
  switch (N % 10) {
    case 1: return One;
    case 2: case 3: case 4: return Few;
    default: return Many;
  }
}

}  // namespace

// --- number texts -----------------------------------------------------------------------

std::string USToLocalFloatStr(const std::string& S) {
  const TFormatSettings& fs = FormatSettings();
  if (fs.DecimalSeparator == '.' && fs.ThousandSeparator == ',') return S;
  std::string out = S;
  for (char& c : out) {
    if (c == ',') c = fs.ThousandSeparator;
    else if (c == '.') c = fs.DecimalSeparator;
  }
  return out;
}

Extended StrToFloatUS(const std::string& S) {
  Extended value;
  if (TryStrToFloat(USToLocalFloatStr(S), value)) return value;
  return StrToFloat(S);
}

Extended StrToFloatUSDef(const std::string& S, Extended Default) {
  return StrToFloatDef(USToLocalFloatStr(S), Default);
}

std::string CurrencyToStr(Currency Value) {
  return FloatToStrF(Value.ToExtended(), ffCurrency, 18, FormatSettings().CurrencyDecimals);
}

bool StrToBool(const std::string& S) { return S == "1" || Cmp(S, "True") || Cmp(S, "yes"); }

bool CharIsMoney(char Ch) {
  return IsDigit(Ch) || Ch == ' ' || Ch == '$' || Ch == '-' ||
         FormatSettings().CurrencyString.find(Ch) != std::string::npos;
}

bool StrIsInteger(const std::string& S) {
  if (S.empty()) return false;
  for (char c : S)
    if (!IsDigit(c)) return false;
  return true;
}

bool StrIsFloatMoney(const std::string& S) {
  const char sep = FormatSettings().DecimalSeparator;
  int separators = 0;
  for (char c : S) {
    if (c == sep) {
      if (++separators > 1) return false;
    } else if (!CharIsMoney(c)) {
      return false;
    }
  }
  return true;
}

Currency StrToCurrDef(const std::string& S, Currency Def) {
  const std::string kept = NumberChars(S);
  Currency value;
  if (kept.empty() || !TryStrToCurr(kept, value)) return Def;
  return value;
}

Extended StrToFloatDef(const std::string& S, Extended Def) {
  std::string kept = NumberChars(S);
  if (kept.empty()) return Def;
  if (kept.back() == '-') kept += '0';
  if (kept.back() == FormatSettings().DecimalSeparator) kept += '0';
  Extended value;
  return TryStrToFloat(kept, value) ? value : Def;
}

Extended IntToExtended(int I) { return I; }

std::string TextToValText(const std::string& S) {
  const TFormatSettings& fs = FormatSettings();
  const char dec = fs.DecimalSeparator, thousand = fs.ThousandSeparator;
  std::string text = DelRSpace(S);
  if (dec != thousand) text = DelChars(text, thousand);
  if (dec != '.' && thousand != '.') text = ReplaceStr(text, ".", std::string(1, dec));
  if (dec != ',' && thousand != ',') text = ReplaceStr(text, ",", std::string(1, dec));
  std::string kept;
  for (char c : text)
    if (IsDigit(c) || c == '+' || c == '-' || c == dec || c == thousand) kept += c;
  if (kept.empty()) return "0";
  if (kept == "-") return "-0";
  return kept;
}

int BooleanToInteger(bool B) { return B ? 1 : 0; }

bool StringToBoolean(const std::string& S) {
  static const char* const kWords[] = {"True", "t", "y", "yes", "1"};
  for (const char* word : kWords)
    if (AnsiSameText(S, word)) return true;
  return false;
}

bool OSCheck(bool Value) {
  if (!Value) RaiseLastOSError();
  return true;
}

// --- variants ---------------------------------------------------------------------------

bool VarIsInt(const Variant& V) {
  switch (V.VType()) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord:
      return true;
    default:
      return false;
  }
}

Variant Var2Type(const Variant& V, TVarType VarType) {
  const Variant copy = V;
  Variant result;
  if (copy.VType() >= varSmallint) {
    result = VarAsType(copy, VarType);
  } else {
    switch (VarType) {
      case varSmallint: case varInteger: case varByte: result = Variant(0); break;
      case varSingle: case varDouble: case varCurrency: case varDate: result = Variant(0.0); break;
      case varOleStr: case varString: result = Variant(std::string()); break;
      case varBoolean: result = Variant(false); break;
      case varVariant: result = Null(); break;
      default: result = VarAsType(copy, VarType); break;
    }
  }
  // True as an integer is 1 here, not the framework's -1.
  if (VarType == varInteger && V.VType() == varBoolean) result = Variant(V.BoolValue() ? 1 : 0);
  return result;
}

int VarToInt(const Variant& V) { return static_cast<int>(Var2Type(V, varInteger).IntValue()); }
double VarToFloat(const Variant& V) { return Var2Type(V, varDouble).FloatValue(); }

Variant iif(bool Condition, const Variant& WhenTrue, const Variant& WhenFalse) {
  return Condition ? WhenTrue : WhenFalse;
}

Variant MakeVariant(std::initializer_list<Variant> Values) {
  if (Values.size() == 0) return Null();
  if (Values.size() == 1) return *Values.begin();
  return VarArrayOf(std::vector<Variant>(Values));
}

// --- code pages -------------------------------------------------------------------------

void Dos2Win(std::string& S) {
  for (char& c : S) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80 && b <= 0xAF) c = static_cast<char>(b + 0x40);
    else if (b >= 0xE0 && b <= 0xEF) c = static_cast<char>(b + 0x10);
  }
}

void Win2Dos(std::string& S) {
  for (char& c : S) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0xC0 && b <= 0xEF) c = static_cast<char>(b - 0x40);
    else if (b >= 0xF0) c = static_cast<char>(b - 0x10);
  }
}

std::string Dos2WinRes(const std::string& S) {
  std::string out = S;
  Dos2Win(out);
  return out;
}

std::string Win2DosRes(const std::string& S) {
  std::string out = S;
  Win2Dos(out);
  return out;
}

std::string Win2Koi(const std::string& S) {
  // The 66 Cyrillic letters, small then capital, mapped from their Windows-1251 bytes
  // to their KOI8-R bytes by the runtime library's code pages.
  static const auto kMap = [] {
    std::array<unsigned char, 256> map{};
    for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
    static const char* const kLetters[] = {
        "абвгдеёжзийклмнопрстуфхчцшщьыъэюя", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЧЦШЩЬЫЪЭЮЯ"};
    for (const char* letters : kLetters) {
      const std::string win = Utf8ToCodePage(CP_WIN1251, letters);
      const std::string koi = Utf8ToCodePage(CP_KOI8R, letters);
      for (std::size_t i = 0; i < win.size(); ++i)
        map[static_cast<unsigned char>(win[i])] = static_cast<unsigned char>(koi[i]);
    }
    return map;
  }();
  std::string out = S;
  for (char& c : out) c = static_cast<char>(kMap[static_cast<unsigned char>(c)]);
  return out;
}

// --- date wording -----------------------------------------------------------------------

std::string LastDateRUS(TDateTime D) {
  const TDateTime today = Date();
  if (D == today) return "сегодня";
  if (D > today) return "в будущем";
  // Earlier dates count by their calendar day, so yesterday at noon is yesterday.
  const long long days = static_cast<long long>(today - std::trunc(D));
  if (days == 1) return "вчера";
  if (days == 2) return "позавчера";
  const long long years = std::llrint(days / 365.0);  // halves to even
  const long long months = std::llrint(days / 30.0);
  if (years > 0) return std::to_string(years) + " " + RussianForm(years, "год", "года", "лет") + " назад";
  if (months > 0)
    return std::to_string(months) + " " + RussianForm(months, "месяц", "месяца", "месяцев") + " назад";
  if (days > 13) return "2 недели назад";
  if (days > 6) return "неделю назад";
  if (days > 0) return std::to_string(days) + " " + RussianForm(days, "день", "дня", "дней") + " назад";
  return {};
}

// --- memory -----------------------------------------------------------------------------

void* AllocMemo(int Size) {
  if (Size <= 0) return nullptr;
  HGLOBAL h = GlobalAlloc(HeapAllocFlags | GMEM_ZEROINIT, static_cast<size_t>(Size));
  return h ? GlobalLock(h) : nullptr;
}

void* ReallocMemo(void* Block, int Size) {
  if (!Block) return AllocMemo(Size);
  HGLOBAL h = GlobalHandle(Block);
  if (!h) return nullptr;
  GlobalUnlock(h);
  HGLOBAL resized = GlobalReAlloc(h, static_cast<size_t>(std::max(Size, 0)), HeapAllocFlags | GMEM_ZEROINIT);
  if (!resized) {
    // The block stays as it was, locked at its old address.
    GlobalLock(h);
    return nullptr;
  }
  return GlobalLock(resized);
}

void FreeMemo(void*& Block) {
  if (!Block) return;
  if (HGLOBAL h = GlobalHandle(Block)) {
    GlobalUnlock(h);
    GlobalFree(h);
  }
  Block = nullptr;
}

int GetMemoSize(void* Block) {
  HGLOBAL h = GlobalHandle(Block);
  return h ? static_cast<int>(GlobalSize(h)) : 0;
}

bool CompareMem(const void* Block1, const void* Block2, uint32_t Size) {
  return Size == 0 || std::memcmp(Block1, Block2, Size) == 0;
}

void HugeInc(void*& P, int Count) { P = static_cast<char*>(P) + Count; }
void HugeDec(void*& P, int Count) { P = static_cast<char*>(P) - Count; }
void* HugeOffset(void* P, int Count) { return static_cast<char*>(P) + Count; }

void HMemCpy(void* Dst, const void* Src, int Count) {
  if (Count > 0) std::memmove(Dst, Src, static_cast<std::size_t>(Count));
}

void HugeMove(void* Base, int Dst, int Src, int Size) {
  if (Size <= 0) return;
  // Elements are pointers: eight bytes here, not four.
  auto* items = static_cast<void**>(Base);
  std::memmove(items + Dst, items + Src, static_cast<std::size_t>(Size) * sizeof(void*));
}

// --- command line -----------------------------------------------------------------------

void SplitCommandLine(const std::string& CmdLine, std::string& Prog, std::string& Params) {
  Prog.clear();
  Params.clear();
  const std::vector<std::string> params = SplitCmdLineText(CmdLine);
  if (params.empty()) return;
  Prog = params[0];
  for (std::size_t i = 1; i < params.size(); ++i) {
    if (i > 1) Params += ' ';
    if (params[i].find(' ') != std::string::npos) Params += '"' + params[i] + '"';
    else Params += params[i];
  }
}

// --- dialog units -----------------------------------------------------------------------

namespace {
uint16_t BaseX() { return static_cast<uint16_t>(GetDialogBaseUnits() & 0xFFFF); }
uint16_t BaseY() { return static_cast<uint16_t>((GetDialogBaseUnits() >> 16) & 0xFFFF); }
}  // namespace

uint16_t DialogUnitsToPixelsX(uint16_t Units) { return static_cast<uint16_t>(Units * BaseX() / 4); }
uint16_t DialogUnitsToPixelsY(uint16_t Units) { return static_cast<uint16_t>(Units * BaseY() / 8); }

uint16_t PixelsToDialogUnitsX(uint16_t Units) {
  const uint16_t base = BaseX();
  return base ? static_cast<uint16_t>(Units * 4 / base) : 0;
}

uint16_t PixelsToDialogUnitsY(uint16_t Units) {
  const uint16_t base = BaseY();
  return base ? static_cast<uint16_t>(Units * 8 / base) : 0;
}

}  // namespace VxCoreUtils
