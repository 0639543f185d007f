// VxCoreUtils, part one: characters, wide strings, string lists, small values, the
// exception helpers and published properties by name. The rest of the unit is in the
// other VxCoreUtils*.cpp sources (see VxCoreUtils.h).
#include <cstring>

#include "label/VxCoreUtils.h"
#include "label/VxCoreUtilsInternal.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Component.h"
#include "platform/win/WinUser.h"

namespace VxCoreUtils {

void FillWideChar(char16_t* Buffer, int Count, char16_t Ch) {
  for (int i = 0; i < Count; ++i) Buffer[i] = Ch;
}

void MoveWideChar(const char16_t* Source, char16_t* Dest, int Count) {
  if (Count > 0) std::memmove(Dest, Source, static_cast<std::size_t>(Count) * sizeof(char16_t));
}

std::string Spaces(int N) { return N > 0 ? std::string(N, ' ') : std::string(); }

std::u16string SpacesW(int N) {
  if (N < 1) return {};
  std::u16string s(N, u'\0');
  FillWideChar(s.data(), N, u' ');
  return s;
}

std::string AddSpaces(const std::string& S, int N) {
  const int length = CodePoints(S);
  if (N <= 0 || length >= N) return S;
  return S + Spaces(N - length);
}

std::u16string AddSpacesW(const std::u16string& S, int N) {
  const int length = static_cast<int>(S.size());
  if (N <= 0 || length >= N) return S;
  std::u16string out(N, u'\0');
  MoveWideChar(S.data(), out.data(), length);
  FillWideChar(out.data() + length, N - length, u' ');
  return out;
}

bool HasChar(char Ch, const std::string& S) { return S.find(Ch) != std::string::npos; }
bool HasCharW(char16_t Ch, const std::u16string& S) { return S.find(Ch) != std::u16string::npos; }

bool HasAnyChar(const std::string& Chars, const std::string& S) {
  for (char c : Chars)
    if (HasChar(c, S)) return true;
  return false;
}

int CountOfChar(char Ch, const std::string& S) {
  int n = 0;
  for (char c : S) n += c == Ch;
  return n;
}

bool CharInSet(char Ch, const TSysCharSet& Set) { return Set.Contains(static_cast<unsigned char>(Ch)); }

bool CharInSetW(char16_t Ch, const TSysCharSet& Set) {
  return Ch < 256 && Set.Contains(static_cast<unsigned char>(Ch));
}

bool Cmp(const std::string& S1, const std::string& S2) { return AnsiSameText(S1, S2); }

std::string StringCat(std::string& S1, const std::string& S2) {
  S1 += S2;
  return S1;
}

std::string DefStr(const std::string& S, const std::string& Default) { return S.empty() ? Default : S; }

int StrLenW(const char16_t* Str) {
  if (!Str) return 0;
  int n = 0;
  while (Str[n]) ++n;
  return n;
}

int StrLICompW2(const char16_t* S1, const char16_t* S2, int MaxLength) {
  const int max = MaxLength < 0 ? 0 : MaxLength;
  std::u16string a(S1 ? S1 : u"", std::min(StrLenW(S1), max));
  std::u16string b(S2 ? S2 : u"", std::min(StrLenW(S2), max));
  return AnsiCompareText(Utf16ToUtf8(a), Utf16ToUtf8(b));
}

const char16_t* StrPosW(const char16_t* Str, const char16_t* SubStr) {
  if (!Str || !SubStr || !*Str || !*SubStr) return nullptr;
  for (const char16_t* p = Str; *p; ++p) {
    if (*p != *SubStr) continue;
    const char16_t* a = p + 1;
    const char16_t* b = SubStr + 1;
    while (*b && *a == *b) {
      ++a;
      ++b;
    }
    if (!*b) return p;
  }
  return nullptr;
}

std::u16string TrimLeftW(const std::u16string& S) {
  std::size_t i = 0;
  while (i < S.size() && S[i] <= 32) ++i;
  return S.substr(i);
}

std::u16string TrimRightW(const std::u16string& S) {
  std::size_t n = S.size();
  while (n > 0 && S[n - 1] <= 32) --n;
  return S.substr(0, n);
}

std::u16string TrimW(const std::u16string& S) { return TrimLeftW(TrimRightW(S)); }

void SetDelimitedText(TStrings* List, const std::string& Text, char Delimiter) {
  const char saved = List->Delimiter();
  List->SetDelimiter(Delimiter);
  try {
    List->SetDelimitedText(Text);
  } catch (...) {
    List->SetDelimiter(saved);
    throw;
  }
  List->SetDelimiter(saved);
}

int CountOfLines(const std::string& S) {
  TStringList list;
  list.SetText(S);
  return list.Count();
}

void DeleteEmptyLines(TStrings* List) {
  List->BeginUpdate();
  try {
    for (int i = List->Count() - 1; i >= 0; --i)
      if (Trim(List->Get(i)).empty()) List->Delete(i);
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

namespace {
// The first six bytes of the line equal the keyword without regard to case.
bool StartsWithKeyword(const std::string& Line, const char* Keyword) {
  return Line.size() >= 6 && SameText(Line.substr(0, 6), Keyword);
}
}  // namespace

void SQLAddWhere(TStrings* SQL, const std::string& Condition) {
  const int count = SQL->Count();
  int at = count - 1;
  for (int i = 0; i < count; ++i) {
    if (!StartsWithKeyword(SQL->Get(i), "where ")) continue;
    at = i + 1;
    while (at < count && !StartsWithKeyword(SQL->Get(at), "order ") &&
           !StartsWithKeyword(SQL->Get(at), "group "))
      ++at;
  }
  SQL->Insert(at, "and " + Condition);
}

void ClearList(TList* List) {
  if (!List) return;
  for (int i = 0; i < List->Count(); ++i) delete static_cast<TObject*>(List->Get(i));
  List->Clear();
}

void SwapInt(int& A, int& B) { std::swap(A, B); }

int IntPower(int Base, int Exponent) {
  if (Exponent < 0) return 0;
  // Wraps as 32-bit arithmetic does, computed unsigned so that nothing overflows.
  uint32_t result = 1;
  const uint32_t base = static_cast<uint32_t>(Base);
  for (int i = 0; i < Exponent; ++i) result *= base;
  return static_cast<int32_t>(result);
}

TPointL PointL(int32_t X, int32_t Y) { return {X, Y}; }

TRect TrueInflateRect(const TRect& R, int I) {
  return {R.Left - I, R.Top - I, R.Right + I, R.Bottom + I};
}

bool KeyPressed(int VirtualKey) { return (GetKeyState(VirtualKey) & 0x8000) != 0; }

void Error(const std::string& Message) { throw Exception(Message); }

std::exception_ptr ChangeTopException(std::exception_ptr NewObject) {
  std::exception_ptr current = std::current_exception();
  if (!current || !NewObject) return nullptr;
  std::exception_ptr replaced = ExceptionReplacement(current);
  SetExceptionReplacement(current, NewObject);
  return replaced;
}

void ReRaiseException() {
  std::exception_ptr current = std::current_exception();
  if (!current) throw Exception("No exception is being handled");
  std::rethrow_exception(ExceptionReplacement(current));
}

void SetChildPropOrd(TComponent* Owner, const std::string& Name, int64_t Value) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* child = Owner->Components(i);
    if (const TPropInfo* prop = GetPropInfo(child, Name)) SetOrdProp(child, prop, Value);
  }
}

TTypeKind GetPropType(TObject* Instance, const std::string& Name) {
  const TPropInfo* prop = GetPropInfo(Instance, Name);
  return prop ? prop->Kind : tkUnknown;
}

namespace {
const TPropInfo* FindProp(TObject* Instance, const std::string& Name) {
  const TPropInfo* prop = GetPropInfo(Instance, Name);
  if (!prop) throw Exception(Format("Property \"%s\" does not exist", Name));
  return prop;
}
[[noreturn]] void RaiseInvalidType(const std::string& Name) {
  throw Exception(Format("Property \"%s\" has invalid type", Name));
}
}  // namespace

std::string GetPropStr(TObject* Instance, const std::string& Name) {
  const TPropInfo* prop = FindProp(Instance, Name);
  if (prop->Kind == tkString) return GetStrProp(Instance, prop);
  if (prop->Kind == tkWString) return Utf16ToUtf8(prop->GetWStr(Instance));
  RaiseInvalidType(Name);
}

int64_t GetPropOrd(TObject* Instance, const std::string& Name) {
  const TPropInfo* prop = FindProp(Instance, Name);
  switch (prop->Kind) {
    case tkInteger: case tkChar: case tkEnumeration:
      return GetOrdProp(Instance, prop);
    case tkClass:
      return static_cast<int64_t>(reinterpret_cast<intptr_t>(GetObjectProp(Instance, prop)));
    default:
      RaiseInvalidType(Name);
  }
}

std::any GetPropMethod(TObject* Instance, const std::string& Name) {
  const TPropInfo* prop = FindProp(Instance, Name);
  if (prop->Kind != tkMethod) RaiseInvalidType(Name);
  return prop->GetEvent(Instance);
}

}  // namespace VxCoreUtils
