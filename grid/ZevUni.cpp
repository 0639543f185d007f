// ZevUni, the wide string lists: the abstract list with its derived operations, the 8-bit
// view, the combo box's item list, and the stored form of a list.
#include "grid/ZevUni.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Filer.h"

namespace {

std::string ToUtf8(const std::u16string& S) { return Utf16ToUtf8(S); }
std::u16string ToWide(const std::string& S) { return Utf8ToUtf16(S); }

bool IsLineBreak(char16_t C) {
  return C == 0x0A || C == 0x0B || C == 0x0C || C == 0x0D || C == 0x2028 || C == 0x2029;
}

[[noreturn]] void Abstract() { throw EAbstractError("Abstract Error"); }

}  // namespace

int WideCompareText(const std::u16string& A, const std::u16string& B, LCID Language) {
  (void)Language;  // the layer's linguistic comparison serves every language
  int r = AnsiCompareText(ToUtf8(A), ToUtf8(B));
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

// ---------------------------------------------------------------------------------------
// Wide-text buffers: a 32-bit size field (the whole allocation in bytes) in front of the
// characters, zero-filled.
namespace {
char16_t* AllocWideText(size_t Chars) {
  const size_t bytes = (Chars + 1) * 2 + 4;
  auto* block = static_cast<unsigned char*>(std::calloc(1, bytes));
  if (!block) throw std::bad_alloc();
  const uint32_t size = static_cast<uint32_t>(bytes);
  std::memcpy(block, &size, 4);
  return reinterpret_cast<char16_t*>(block + 4);
}
}  // namespace

void FreeWideText(char16_t* Text) {
  if (Text) std::free(reinterpret_cast<unsigned char*>(Text) - 4);
}

uint32_t WideTextAllocSize(const char16_t* Text) {
  if (!Text) return 0;
  uint32_t size;
  std::memcpy(&size, reinterpret_cast<const unsigned char*>(Text) - 4, 4);
  return size;
}

std::u16string WideQuotedStr(const std::u16string& S) {
  std::u16string r = u"\"";
  for (char16_t c : S) {
    if (c == u'"') r += u'"';
    r += c;
  }
  r += u'"';
  return r;
}

// Reads the quoted item starting at Pos (which holds the opening quote). A missing
// closing quote ends the item at the end of the text with every character kept.
std::u16string WideExtractQuotedStr(const std::u16string& S, size_t& Pos) {
  std::u16string r;
  if (Pos >= S.size() || S[Pos] != u'"') return r;
  size_t i = Pos + 1;
  while (i < S.size()) {
    if (S[i] == u'"') {
      if (i + 1 < S.size() && S[i + 1] == u'"') {
        r += u'"';
        i += 2;
        continue;
      }
      ++i;
      Pos = i;
      return r;
    }
    r += S[i++];
  }
  Pos = i;
  return r;
}

// ---------------------------------------------------------------------------------------
std::string TAnsiStringsForWideStrings::Get(int Index) const { return ToUtf8(FWideStrings->Get(Index)); }
int TAnsiStringsForWideStrings::GetCount() const { return FWideStrings->GetCount(); }
void TAnsiStringsForWideStrings::Clear() { FWideStrings->Clear(); }
void TAnsiStringsForWideStrings::Delete(int Index) { FWideStrings->Delete(Index); }
void TAnsiStringsForWideStrings::Insert(int Index, const std::string& S) { FWideStrings->Insert(Index, ToWide(S)); }

// ---------------------------------------------------------------------------------------
TWideStrings::TWideStrings() : FAnsiStrings(std::make_unique<TAnsiStringsForWideStrings>(this)) {}
TWideStrings::~TWideStrings() = default;

std::u16string TWideStrings::Get(int) const { Abstract(); }
int TWideStrings::GetCount() const { Abstract(); }
void TWideStrings::Clear() { Abstract(); }
void TWideStrings::Delete(int) { Abstract(); }
void TWideStrings::Insert(int, const std::u16string&) { Abstract(); }

int TWideStrings::Add(const std::u16string& S) {
  int i = GetCount();
  Insert(i, S);
  return i;
}

int TWideStrings::AddObject(const std::u16string& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

void TWideStrings::InsertObject(int Index, const std::u16string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TWideStrings::Put(int Index, const std::u16string& S) {
  TObject* o = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, o);
}

void TWideStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    std::u16string s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TWideStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    std::u16string s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TWideStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TWideStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

namespace {
// Runs Body inside BeginUpdate/EndUpdate of List.
template <class L, class F>
void Updating(L* List, F&& Body) {
  List->BeginUpdate();
  try {
    Body();
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}
}  // namespace

void TWideStrings::AddStrings(TStrings* Strings) {
  Updating(this, [&] {
    for (int i = 0, n = Strings->Count(); i < n; ++i) AddObject(ToWide(Strings->Get(i)), Strings->GetObject(i));
  });
}

void TWideStrings::AddStrings(TWideStrings* Strings) {
  Updating(this, [&] {
    for (int i = 0, n = Strings->Count(); i < n; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  });
}

void TWideStrings::Assign(TPersistent* Source) {
  if (auto* w = dynamic_cast<TWideStrings*>(Source)) {
    if (w == this) return;
    Updating(this, [&] {
      Clear();
      AddStrings(w);
    });
    return;
  }
  if (auto* s = dynamic_cast<TStrings*>(Source)) {
    Updating(this, [&] {
      Clear();
      for (int i = 0, n = s->Count(); i < n; ++i) AddObject(ToWide(s->Get(i)), s->GetObject(i));
    });
    return;
  }
  TPersistent::Assign(Source);
}

void TWideStrings::AssignTo(TPersistent* Dest) {
  if (auto* s = dynamic_cast<TStrings*>(Dest)) {
    Updating(s, [&] {
      s->Clear();
      for (int i = 0, n = Count(); i < n; ++i) s->AddObject(ToUtf8(Get(i)), GetObject(i));
    });
    return;
  }
  if (auto* w = dynamic_cast<TWideStrings*>(Dest)) {
    Updating(w, [&] {
      w->Clear();
      w->AddStrings(this);
    });
    return;
  }
  TPersistent::AssignTo(Dest);
}

bool TWideStrings::Equals(TWideStrings* Strings) const {
  if (!Strings) return false;
  const int n = GetCount();
  if (n != Strings->GetCount()) return false;
  for (int i = 0; i < n; ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

int TWideStrings::IndexOf(const std::u16string& S) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (WideCompareText(Get(i), S, FLanguage) == 0) return i;
  return -1;
}

int TWideStrings::IndexOfName(const std::u16string& Name) const {
  for (int i = 0, n = GetCount(); i < n; ++i) {
    std::u16string s = Get(i);
    size_t p = s.find(u'=');
    if (p != std::u16string::npos && WideCompareText(s.substr(0, p), Name, FLanguage) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfObject(TObject* AObject) const {
  for (int i = 0, n = GetCount(); i < n; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

std::u16string TWideStrings::GetName(int Index) const {
  std::u16string s = Get(Index);
  size_t p = s.find(u'=');
  return p == std::u16string::npos ? std::u16string() : s.substr(0, p);
}

std::u16string TWideStrings::GetValue(const std::u16string& Name) const {
  int i = IndexOfName(Name);
  if (i < 0) return {};
  std::u16string s = Get(i);
  return Name.size() + 1 <= s.size() ? s.substr(Name.size() + 1) : std::u16string();
}

void TWideStrings::SetValue(const std::u16string& Name, const std::u16string& Value) {
  int i = IndexOfName(Name);
  if (!Value.empty()) {
    if (i < 0) i = Add(u"");
    Put(i, Name + u"=" + Value);
  } else if (i >= 0) {
    Delete(i);
  }
}

std::u16string TWideStrings::GetTextStr() const {
  std::u16string r;
  for (int i = 0, n = GetCount(); i < n; ++i) {
    r += Get(i);
    r += u"\r\n";
  }
  return r;
}

void TWideStrings::SetTextStr(const std::u16string& Value) {
  Updating(this, [&] {
    Clear();
    size_t end = Value.find(u'\0');
    if (end == std::u16string::npos) end = Value.size();
    size_t i = 0;
    while (i < end) {
      size_t start = i;
      while (i < end && !IsLineBreak(Value[i])) ++i;
      Add(Value.substr(start, i - start));
      if (i < end) {
        if (Value[i] == u'\r' && i + 1 < end && Value[i + 1] == u'\n') ++i;
        ++i;
      }
    }
  });
}

char16_t* TWideStrings::GetText() const {
  std::u16string s = GetTextStr();
  char16_t* p = AllocWideText(s.size());
  if (!s.empty()) std::memcpy(p, s.data(), s.size() * 2);
  return p;
}

void TWideStrings::SetText(const char16_t* Text) {
  std::u16string s;
  if (Text)
    while (*Text) s += *Text++;
  SetTextStr(s);
}

std::u16string TWideStrings::GetCommaText() const {
  const int n = GetCount();
  if (n == 1 && Get(0).empty()) return u"\"\"";
  std::u16string r;
  for (int i = 0; i < n; ++i) {
    std::u16string s = Get(i);
    bool quote = false;
    for (char16_t c : s)
      if (c <= 0x20 || c == u'"' || c == u',') {
        quote = true;
        break;
      }
    r += quote ? WideQuotedStr(s) : s;
    r += u',';
  }
  if (!r.empty()) r.pop_back();
  return r;
}

void TWideStrings::SetCommaText(const std::u16string& Value) {
  Updating(this, [&] {
    Clear();
    const size_t n = Value.size();
    size_t i = 0;
    auto skipBlanks = [&] {
      while (i < n && Value[i] >= 1 && Value[i] <= 0x20) ++i;
    };
    skipBlanks();
    while (i < n && Value[i] != 0) {
      std::u16string item;
      if (Value[i] == u'"') {
        item = WideExtractQuotedStr(Value, i);
      } else {
        size_t start = i;
        while (i < n && Value[i] > 0x20 && Value[i] != u',') ++i;
        item = Value.substr(start, i - start);
      }
      Add(item);
      skipBlanks();
      if (i < n && Value[i] == u',') {
        ++i;
        skipBlanks();
      }
    }
  });
}

void TWideStrings::SetAnsiStrings(TStrings* Value) { FAnsiStrings->Assign(Value); }

void TWideStrings::Error(const std::string& Msg, int Data) const {
  throw EStringListError(Format(Msg, {Data}));
}

// ---------------------------------------------------------------------------------------
// Stored form: a list of strings, each in the shortest of the 8-bit, UTF-8 and UTF-16
// value kinds.
void TWideStrings::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  bool hasData;
  if (auto* ancestor = dynamic_cast<TWideStrings*>(Filer->Ancestor()))
    hasData = !Equals(ancestor);
  else if (Filer->Ancestor())
    hasData = true;
  else
    hasData = GetCount() > 0;
  Filer->DefineProperty(
      "WideStrings", [this](TReader& R) { ReadData(R); }, [this](TWriter& W) { WriteData(W); }, hasData);
}

void TWideStrings::ReadData(TReader& Reader) {
  Updating(this, [&] {
    Clear();
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
      const TFormValue& v = Reader.ReadValue();
      if (v.Kind != TFormValue::vkString) throw EReadError("Invalid property value");
      Add(ToWide(v.Str));
    }
    Reader.ReadListEnd();
  });
}

void TWideStrings::WriteData(TWriter& Writer) {
  Writer.WriteListBegin();
  for (int i = 0, n = GetCount(); i < n; ++i) {
    std::u16string s = Get(i);
    std::string u = ToUtf8(s);
    // UTF-8 (or plain 8-bit text, which the writer keeps as such) when it is shorter than
    // UTF-16; UTF-16 otherwise, as for an empty string or Cyrillic-only text.
    if (u.size() < 2 * s.size()) Writer.WriteString(u);
    else Writer.WriteWideString(s);
  }
  Writer.WriteListEnd();
}

// ---------------------------------------------------------------------------------------
std::u16string TComboBoxStrings::Get(int Index) const {
  TStrings* items = FComboBox->AnsiItems();
  if (Index < 0 || Index >= items->Count()) return {};
  return ToWide(items->Get(Index));
}

int TComboBoxStrings::GetCount() const { return FComboBox->AnsiItems()->Count(); }
TObject* TComboBoxStrings::GetObject(int Index) const { return FComboBox->AnsiItems()->GetObject(Index); }
void TComboBoxStrings::PutObject(int Index, TObject* AObject) { FComboBox->AnsiItems()->PutObject(Index, AObject); }
void TComboBoxStrings::Delete(int Index) { FComboBox->AnsiItems()->Delete(Index); }

void TComboBoxStrings::SetUpdateState(bool Updating) {
  if (Updating) FComboBox->AnsiItems()->BeginUpdate();
  else FComboBox->AnsiItems()->EndUpdate();
}

int TComboBoxStrings::Add(const std::u16string& S) { return FComboBox->AnsiItems()->Add(ToUtf8(S)); }

void TComboBoxStrings::Insert(int Index, const std::u16string& S) {
  FComboBox->AnsiItems()->Insert(Index, ToUtf8(S));
}

void TComboBoxStrings::Clear() {
  std::u16string text = FComboBox->GetWideText();
  FComboBox->AnsiItems()->Clear();
  FComboBox->SetWideText(text);
  FComboBox->Invalidate();
}

int TComboBoxStrings::IndexOf(const std::u16string& S) const {
  // The combo box's own exact-match search: case-insensitive.
  return FComboBox->AnsiItems()->IndexOf(ToUtf8(S));
}
