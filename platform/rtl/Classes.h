#pragma once
// The root of the class framework: class records (name and parent, for ClassName and
// InheritsFrom), TPersistent, the pointer list TList and the string lists TStrings and
// TStringList.
//
// Every class that is asked for its class name declares itself with LORM_CLASS:
//
//   class TMyThing : public TPersistent {
//     LORM_CLASS(TMyThing, TPersistent)
//   public:
//     ...
//   };
//
// The macro gives the class a class record (StaticClass) and overrides ClassType; a
// class without it answers with its nearest declared ancestor's record. Published
// properties, factories and event handlers are registered separately (platform/vcl/TypInfo.h).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

// ---------------------------------------------------------------------------------------
// Sets of an enumeration (up to 64 members), the framework's "set of T".
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) { TSet s; s.FBits = bits; return s; }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr TSet operator+(E e) const { return FromBits(FBits | Bit(e)); }
  constexpr TSet operator-(E e) const { return FromBits(FBits & ~Bit(e)); }
  constexpr TSet& operator+=(TSet o) { FBits |= o.FBits; return *this; }
  constexpr TSet& operator-=(TSet o) { FBits &= ~o.FBits; return *this; }
  constexpr TSet& operator*=(TSet o) { FBits &= o.FBits; return *this; }
  constexpr TSet& operator+=(E e) { FBits |= Bit(e); return *this; }
  constexpr TSet& operator-=(E e) { FBits &= ~Bit(e); return *this; }
  constexpr bool operator==(const TSet&) const = default;

private:
  static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};

// ---------------------------------------------------------------------------------------
// Class records.
struct TClassTypeInfo;  // published properties, factory, handlers: platform/vcl/TypInfo.h
struct TMetaClass {
  const char* Name;
  const TMetaClass* Parent;
  // Fills the class's published properties, factory and handlers; set by classes
  // declared with LORM_PUBLISHED (platform/vcl/TypInfo.h) and run on first use.
  void (*Publish)(TClassTypeInfo& Info) = nullptr;
  TClassTypeInfo* TypeInfo = nullptr;  // built by the registry on first use
};
using TClass = const TMetaClass*;

// True when cls is base or derives from it.
bool ClassInheritsFrom(TClass cls, TClass base);
// True when cls or one of its ancestors has the name (compared case-insensitively, as
// class names are identifiers).
bool ClassInheritsFrom(TClass cls, const std::string& baseName);

#define LORM_CLASS(Name, Base)                                                \
public:                                                                       \
  static TClass StaticClass() {                                               \
    static TMetaClass meta{#Name, Base::StaticClass()};                       \
    return &meta;                                                             \
  }                                                                           \
  TClass ClassType() const override { return StaticClass(); }                \
                                                                              \
private:

class TObject {
public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static TClass StaticClass() {
    static TMetaClass meta{"TObject", nullptr};
    return &meta;
  }
  virtual TClass ClassType() const { return StaticClass(); }
  const char* ClassName() const { return ClassType()->Name; }
  TClass ClassParent() const { return ClassType()->Parent; }
  bool InheritsFrom(TClass base) const { return ClassInheritsFrom(ClassType(), base); }
  bool InheritsFrom(const std::string& className) const {
    return ClassInheritsFrom(ClassType(), className);
  }
  bool ClassNameIs(const std::string& name) const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// ---------------------------------------------------------------------------------------
class TFiler;
struct TEventBindings;

class TPersistent : public TObject {
  LORM_CLASS(TPersistent, TObject)
public:
  TPersistent() = default;
  ~TPersistent() override;

  // Copies source into this object; the base asks the source (AssignTo) and raises
  // EConvertError "Cannot assign a <source> to a <this>" when neither knows how.
  virtual void Assign(TPersistent* Source);
  // The owner in the naming sense (a collection's component, an item's collection).
  virtual TPersistent* GetOwner() { return nullptr; }
  // "Form1.Button1.Font" style path used in error messages and the designer.
  virtual std::string GetNamePath();
  // Values stored besides the published properties (binary picture data and the like).
  virtual void DefineProperties(TFiler* Filer) {}

  // Event names bound by the form reader (method names of the root's handlers), kept so
  // that writing the object back names the same handlers.
  const std::string* BoundEventName(const std::string& prop) const;
  void SetBoundEventName(const std::string& prop, const std::string& method);

protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);

private:
  TEventBindings* FEvents = nullptr;
};

// ---------------------------------------------------------------------------------------
// A list of untyped pointers.
class TList : public TObject {
  LORM_CLASS(TList, TObject)
public:
  using TListSortCompare = std::function<int(void* Item1, void* Item2)>;
  TList() = default;
  ~TList() override = default;

  int Count() const { return static_cast<int>(FItems.size()); }
  void SetCount(int NewCount);
  int Capacity() const { return static_cast<int>(FItems.capacity()); }
  void SetCapacity(int NewCapacity);
  void* Get(int Index) const;
  void Put(int Index, void* Item);
  void* operator[](int Index) const { return Get(Index); }
  void* First() const { return Get(0); }
  void* Last() const { return Get(Count() - 1); }

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);   // the index it had, -1 when absent
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  void Sort(const TListSortCompare& Compare);
  void Pack();   // removes the nil entries
  void Clear();
  void Assign(const TList& Source);
  const std::vector<void*>& List() const { return FItems; }

private:
  [[noreturn]] static void Error(int Index);
  std::vector<void*> FItems;
};

// ---------------------------------------------------------------------------------------
class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// The abstract list of strings with an object per string.
class TStrings : public TPersistent {
  LORM_CLASS(TStrings, TPersistent)
public:
  TStrings() = default;
  ~TStrings() override = default;

  // The list proper; descendants implement Get, GetCount, Insert, Delete and Clear.
  virtual std::string Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual void Put(int Index, const std::string& S);
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  virtual int IndexOf(const std::string& S) const;
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  virtual std::string GetText() const;
  virtual void SetText(const std::string& Value);

  int Count() const { return GetCount(); }
  std::string Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  std::string operator[](int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }
  std::string Text() const { return GetText(); }

  void Append(const std::string& S) { Add(S); }
  void AddStrings(TStrings* Strings);
  void AddStrings(const std::vector<std::string>& Strings);
  void Assign(TPersistent* Source) override;
  bool Equals(TStrings* Strings) const;
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(TObject* AObject) const;

  // Text with every line ended by LineBreak ("\r\n" unless set); SetText accepts CR LF,
  // LF and CR line ends.
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& Value) { FLineBreak = Value; }

  // Delimited text: items separated by Delimiter; an item holding the delimiter, the
  // quote character, a blank or a control character is quoted with QuoteChar (doubled
  // inside). Without StrictDelimiter blanks separate items too when reading.
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);
  std::string DelimitedText() const;
  void SetDelimitedText(const std::string& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Name=Value pairs.
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
  std::string Names(int Index) const;
  std::string Values(const std::string& Name) const;
  void SetValues(const std::string& Name, const std::string& Value);  // "" removes
  std::string ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const std::string& Value);

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Files and streams hold UTF-8 text (a byte-order mark is skipped when reading).
  virtual void LoadFromStream(TStream& Stream);
  virtual void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

  std::vector<std::string> ToVector() const;

protected:
  virtual void SetUpdateState(bool Updating) {}
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
  [[noreturn]] void Error(const char* Fmt, int Index) const;
  std::string QuotedItem(const std::string& S) const;

private:
  std::string FLineBreak = "\r\n";
  char FDelimiter = ',';
  char FQuoteChar = '"';
  char FNameValueSeparator = '=';
  bool FStrictDelimiter = false;
  int FUpdateCount = 0;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
  LORM_CLASS(TStringList, TStrings)
public:
  TStringList() = default;
  ~TStringList() override;

  std::string Get(int Index) const override;
  int GetCount() const override { return static_cast<int>(FList.size()); }
  // Room for Capacity lines without growing (a list filled to a known size).
  void SetCapacity(int Capacity) {
    if (Capacity > 0) FList.reserve(static_cast<size_t>(Capacity));
  }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  int IndexOf(const std::string& S) const override;
  void Exchange(int Index1, int Index2) override;

  // Binary search in a sorted list: true when found; Index is where S is or would go.
  virtual bool Find(const std::string& S, int& Index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // When set, the list deletes its objects when strings are removed or it is freed.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& S1, const std::string& S2) const override;
  virtual void InsertItem(int Index, const std::string& S, TObject* AObject);

private:
  struct TStringItem {
    std::string FString;
    TObject* FObject = nullptr;
  };
  void ExchangeItems(int Index1, int Index2);
  void CheckIndex(int Index) const;
  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

// Helpers shared by the string list and the form streams.
bool SameTextAscii(const std::string& A, const std::string& B);
int CompareTextAscii(const std::string& A, const std::string& B);
