#include "platform/rtl/Classes.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <map>
#include <typeinfo>

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string FormatIndexMessage(const char* fmt, int index) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, index);
  return buf;
}

// Decodes one UTF-8 sequence at s[i]; invalid bytes decode as themselves.
char32_t DecodeUtf8(const std::string& s, size_t& i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) { ++i; return c; }
  char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
  for (int k = 1; k < len; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) { ++i; return c; }
    cp = (cp << 6) | (d & 0x3F);
  }
  i += len;
  return cp;
}

bool IsUpper(char32_t c) { return FoldCaseCp(c) != c; }

// Compares as the system's linguistic comparison does: case-insensitively first; when
// equal apart from case and case matters, lower case sorts before upper case.
int CompareLinguistic(const std::string& a, const std::string& b, bool caseSensitive) {
  // Identical leading bytes decide nothing: skip them, then step back to the start of the
  // character they end in (a byte that is not a continuation byte always starts one).
  size_t n = std::min(a.size(), b.size());
  size_t i = size_t(std::mismatch(a.data(), a.data() + n, b.data()).first - a.data());
  auto continues = [](const std::string& s, size_t k) {
    return k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80;
  };
  while (i > 0 && (continues(a, i) || continues(b, i))) --i;
  size_t j = i;
  int tie = 0;
  while (i < a.size() && j < b.size()) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
    if ((x | y) < 0x80) {
      // Both ASCII: the same comparison without decoding.
      unsigned char fx = x >= 'A' && x <= 'Z' ? x + 32 : x, fy = y >= 'A' && y <= 'Z' ? y + 32 : y;
      if (fx != fy) return fx < fy ? -1 : 1;
      if (tie == 0 && x != y) tie = fx != x ? 1 : -1;
      ++i;
      ++j;
      continue;
    }
    char32_t ca = DecodeUtf8(a, i), cb = DecodeUtf8(b, j);
    char32_t fa = FoldCaseCp(ca), fb = FoldCaseCp(cb);
    if (fa != fb) return fa < fb ? -1 : 1;
    if (tie == 0 && ca != cb) tie = IsUpper(ca) ? 1 : -1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return caseSensitive ? tie : 0;
}

// Equality as CompareLinguistic(a, b, caseSensitive) == 0 answers it, without decoding
// in the usual cases: 1 when equal, 0 when not, -1 when a non-ASCII byte where the texts
// part leaves it to the full comparison. Leading bytes are compared eight at a time.
inline int SameLinguisticQuick(const std::string& a, const std::string& b, bool caseSensitive) {
  const size_t na = a.size(), nb = b.size(), n = std::min(na, nb);
  const unsigned char* p = reinterpret_cast<const unsigned char*>(a.data());
  const unsigned char* q = reinterpret_cast<const unsigned char*>(b.data());
  size_t i = 0;
  while (i + 8 <= n) {
    uint64_t x, y;
    std::memcpy(&x, p + i, 8);
    std::memcpy(&y, q + i, 8);
    if (uint64_t d = x ^ y) {
      int bit = std::endian::native == std::endian::little ? std::countr_zero(d) : std::countl_zero(d);
      i += size_t(bit) / 8;  // the first differing byte
      break;
    }
    i += 8;
  }
  while (i < n && p[i] == q[i]) ++i;
  if (i == n) {
    if (na == nb) return 1;
    // One is a prefix of the other: different unless the longer one goes on with a byte
    // that may continue a character of the common part.
    return (na > nb ? p[n] : q[n]) < 0x80 ? 0 : -1;
  }
  // Both bytes ASCII: neither continues a character, so the comparison starts here and
  // goes on in step while the bytes stay ASCII.
  if ((p[i] | q[i]) >= 0x80) return -1;
  if (caseSensitive) return 0;  // equal letters apart from case already decide
  for (; i < n; ++i) {
    unsigned char x = p[i], y = q[i];
    if ((x | y) >= 0x80) return -1;
    if (x != y) {
      unsigned char fx = x >= 'A' && x <= 'Z' ? x + 32 : x, fy = y >= 'A' && y <= 'Z' ? y + 32 : y;
      if (fx != fy) return 0;
    }
  }
  return na == nb ? 1 : 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------
bool ClassInheritsFrom(TClass cls, TClass base) {
  for (; cls; cls = cls->Parent)
    if (cls == base) return true;
  return false;
}

bool ClassInheritsFrom(TClass cls, const std::string& baseName) {
  for (; cls; cls = cls->Parent)
    if (SameTextAscii(cls->Name, baseName)) return true;
  return false;
}

bool TObject::ClassNameIs(const std::string& name) const {
  return SameTextAscii(ClassName(), name);
}

bool SameTextAscii(const std::string& A, const std::string& B) {
  return CompareTextAscii(A, B) == 0;
}

int CompareTextAscii(const std::string& A, const std::string& B) {
  size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char a = static_cast<unsigned char>(A[i]), b = static_cast<unsigned char>(B[i]);
    if (a >= 'A' && a <= 'Z') a += 32;
    if (b >= 'A' && b <= 'Z') b += 32;
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

// ---------------------------------------------------------------------------------------
struct TEventBindings {
  std::map<std::string, std::string> Names;
};

TPersistent::~TPersistent() { delete FEvents; }

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  std::string sourceName = Source ? Source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

std::string TPersistent::GetNamePath() { return ClassName(); }

const std::string* TPersistent::BoundEventName(const std::string& prop) const {
  if (!FEvents) return nullptr;
  auto it = FEvents->Names.find(prop);
  return it == FEvents->Names.end() ? nullptr : &it->second;
}

void TPersistent::SetBoundEventName(const std::string& prop, const std::string& method) {
  if (method.empty()) {
    if (FEvents) FEvents->Names.erase(prop);
    return;
  }
  if (!FEvents) FEvents = new TEventBindings;
  FEvents->Names[prop] = method;
}

// ---------------------------------------------------------------------------------------
void TList::Error(int Index) {
  throw EListError(FormatIndexMessage("List index out of bounds (%d)", Index));
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError(FormatIndexMessage("List count out of bounds (%d)", NewCount));
  FItems.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count())
    throw EListError(FormatIndexMessage("List capacity out of bounds (%d)", NewCapacity));
  FItems.reserve(static_cast<size_t>(NewCapacity));
}

void* TList::Get(int Index) const {
  if (Index < 0 || Index >= Count()) Error(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TList::Put(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) Error(Index);
  FItems[static_cast<size_t>(Index)] = Item;
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(Index);
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) Error(Index);
  FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  int i = IndexOf(Item);
  if (i < 0) return nullptr;
  Delete(i);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) Error(NewIndex);
  void* item = Get(CurIndex);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, item);
}

void TList::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= Count()) Error(Index1);
  if (Index2 < 0 || Index2 >= Count()) Error(Index2);
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Clear() {
  FItems.clear();
  FItems.shrink_to_fit();
}

void TList::Assign(const TList& Source) { FItems = Source.FItems; }

// ---------------------------------------------------------------------------------------
void TStrings::Error(const char* Fmt, int Index) const {
  throw EStringListError(FormatIndexMessage(Fmt, Index));
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* obj = GetObject(Index);
  BeginUpdate();
  try {
    Delete(Index);
    InsertObject(Index, S, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::Add(const std::string& S) {
  int i = GetCount();
  Insert(i, S);
  return i;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return CompareLinguistic(S1, S2, false);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0, n = GetCount(); i < n; ++i) {
    std::string s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    std::string s1 = Get(Index1), s2 = Get(Index2);
    TObject* o1 = GetObject(Index1);
    TObject* o2 = GetObject(Index2);
    Put(Index1, s2);
    PutObject(Index1, o2);
    Put(Index2, s1);
    PutObject(Index2, o1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    std::string s = Get(CurIndex);
    TObject* obj = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::GetText() const {
  std::string out;
  for (int i = 0, n = GetCount(); i < n; ++i) {
    out += Get(i);
    out += FLineBreak;
  }
  return out;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0, n = Value.size();
    while (i < n) {
      size_t start = i;
      while (i < n && Value[i] != '\r' && Value[i] != '\n') ++i;
      Add(Value.substr(start, i - start));
      if (i < n && Value[i] == '\r') ++i;
      if (i < n && Value[i] == '\n') ++i;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::AddStrings(TStrings* Strings) {
  BeginUpdate();
  try {
    for (int i = 0, n = Strings->GetCount(); i < n; ++i)
      AddObject(Strings->Get(i), Strings->GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::AddStrings(const std::vector<std::string>& Strings) {
  BeginUpdate();
  try {
    for (const auto& s : Strings) Add(s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      FLineBreak = src->FLineBreak;
      FDelimiter = src->FDelimiter;
      FQuoteChar = src->FQuoteChar;
      FNameValueSeparator = src->FNameValueSeparator;
      FStrictDelimiter = src->FStrictDelimiter;
      AddStrings(src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(TStrings* Strings) const {
  int n = GetCount();
  if (n != Strings->GetCount()) return false;
  for (int i = 0; i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

std::string TStrings::QuotedItem(const std::string& S) const {
  bool quote = S.empty() && false;
  for (unsigned char c : S) {
    if (c == static_cast<unsigned char>(FDelimiter) || c == static_cast<unsigned char>(FQuoteChar) ||
        (!FStrictDelimiter && c <= ' ') || (FStrictDelimiter && c < ' ' && c != 0)) {
      quote = true;
      break;
    }
  }
  if (!quote) return S;
  std::string out(1, FQuoteChar);
  for (char c : S) {
    out += c;
    if (c == FQuoteChar) out += c;
  }
  out += FQuoteChar;
  return out;
}

std::string TStrings::DelimitedText() const {
  int n = GetCount();
  if (n == 1 && Get(0).empty()) return std::string(2, FQuoteChar);
  std::string out;
  for (int i = 0; i < n; ++i) {
    if (i) out += FDelimiter;
    out += QuotedItem(Get(i));
  }
  return out;
}

void TStrings::SetDelimitedText(const std::string& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0, n = Value.size();
    auto skipBlanks = [&] {
      if (!FStrictDelimiter)
        while (i < n && static_cast<unsigned char>(Value[i]) <= ' ' && Value[i] != FDelimiter) ++i;
    };
    skipBlanks();
    while (i < n) {
      std::string item;
      if (Value[i] == FQuoteChar) {
        ++i;
        while (i < n) {
          if (Value[i] == FQuoteChar) {
            if (i + 1 < n && Value[i + 1] == FQuoteChar) {
              item += FQuoteChar;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += Value[i++];
        }
        // Text after the closing quote up to the separator belongs to the item.
        while (i < n && Value[i] != FDelimiter &&
               (FStrictDelimiter || static_cast<unsigned char>(Value[i]) > ' '))
          item += Value[i++];
      } else {
        while (i < n && Value[i] != FDelimiter &&
               (FStrictDelimiter || static_cast<unsigned char>(Value[i]) > ' '))
          item += Value[i++];
      }
      Add(item);
      skipBlanks();
      if (i < n && Value[i] == FDelimiter) {
        ++i;
        skipBlanks();
        if (i >= n) Add("");  // a trailing separator ends with an empty item
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  TStrings* self = const_cast<TStrings*>(this);
  char d = FDelimiter, q = FQuoteChar;
  bool strict = FStrictDelimiter;
  self->FDelimiter = ',';
  self->FQuoteChar = '"';
  self->FStrictDelimiter = false;
  std::string out = DelimitedText();
  self->FDelimiter = d;
  self->FQuoteChar = q;
  self->FStrictDelimiter = strict;
  return out;
}

void TStrings::SetCommaText(const std::string& Value) {
  char d = FDelimiter, q = FQuoteChar;
  bool strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(Value);
  } catch (...) {
    FDelimiter = d; FQuoteChar = q; FStrictDelimiter = strict;
    throw;
  }
  FDelimiter = d;
  FQuoteChar = q;
  FStrictDelimiter = strict;
}

std::string TStrings::Names(int Index) const {
  std::string s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = Name + FNameValueSeparator + Value;
  if (i < 0) Add(line);
  else Put(i, line);
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const std::string& Value) {
  if (Value.empty() && Index >= 0) {
    Delete(Index);
    return;
  }
  if (Index < 0) {
    Add(FNameValueSeparator + Value);
    return;
  }
  Put(Index, Names(Index) + FNameValueSeparator + Value);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromStream(TStream& Stream) {
  int64_t size = Stream.Size() - Stream.Position();
  std::string data(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (size > 0) Stream.ReadBuffer(data.data(), size);
  if (data.size() >= 3 && data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  SetText(data);
}

void TStrings::SaveToStream(TStream& Stream) const {
  std::string text = GetText();
  Stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  CheckLoadableSize(stream);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

std::vector<std::string> TStrings::ToVector() const {
  std::vector<std::string> out;
  for (int i = 0, n = GetCount(); i < n; ++i) out.push_back(Get(i));
  return out;
}

// ---------------------------------------------------------------------------------------
TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& item : FList) delete item.FObject;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error("List index out of bounds (%d)", Index);
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else Changed();
}

void TStringList::Put(int Index, const std::string& S) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  auto& item = FList[static_cast<size_t>(Index)];
  if (FOwnsObjects && item.FObject != AObject) delete item.FObject;
  item.FObject = AObject;
  Changed();
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > GetCount()) Error("List index out of bounds (%d)", Index);
  InsertItem(Index, S, AObject);
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* obj = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (auto& item : old) delete item.FObject;
  Changed();
}

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index;
  if (!FSorted) {
    index = GetCount();
  } else if (Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return CompareLinguistic(S1, S2, FCaseSensitive);
}

bool TStringList::Find(const std::string& S, int& Index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(FList[static_cast<size_t>(mid)].FString, S);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  Index = lo;
  return found;
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) {
    if (typeid(*this) != typeid(TStringList)) {
      // A descendant may compare its own way.
      for (size_t i = 0; i < FList.size(); ++i)
        if (CompareStrings(FList[i].FString, S) == 0) return static_cast<int>(i);
      return -1;
    }
    for (size_t i = 0; i < FList.size(); ++i) {
      const std::string& item = FList[i].FString;
      int same = SameLinguisticQuick(item, S, FCaseSensitive);
      if (same == 1 || (same < 0 && CompareLinguistic(item, S, FCaseSensitive) == 0)) return static_cast<int>(i);
    }
    return -1;
  }
  int i;
  return Find(S, i) ? i : -1;
}

void TStringList::ExchangeItems(int Index1, int Index2) {
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  ExchangeItems(Index1, Index2);
  Changed();
}

void TStringList::Sort() {
  if (GetCount() < 2) return;
  Changing();
  std::stable_sort(FList.begin(), FList.end(), [this](const TStringItem& a, const TStringItem& b) {
    return CompareStrings(a.FString, b.FString) < 0;
  });
  Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (GetCount() < 2) return;
  Changing();
  // The comparer addresses items by index, so sort a permutation and apply it.
  std::vector<int> order(FList.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
