#include "platform/vcl/TypInfo.h"

#include <map>
#include <memory>

namespace {

std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

std::map<std::string, TClass>& ClassMap() {
  static std::map<std::string, TClass> map;
  return map;
}

std::vector<std::unique_ptr<TEnumInfo>>& EnumStore() {
  static std::vector<std::unique_ptr<TEnumInfo>> store;
  return store;
}

[[noreturn]] void UnknownProperty(const std::string& name) {
  throw EPropertyError("Unknown property: " + name);
}

[[noreturn]] void InvalidType(const std::string& name) {
  throw EPropertyError("Invalid property type: " + name);
}

const TPropInfo* Require(TObject* Instance, const std::string& PropName) {
  const TPropInfo* p = GetPropInfo(Instance, PropName);
  if (!p) UnknownProperty(PropName);
  return p;
}

bool IsOrdinal(TTypeKind k) {
  return k == tkInteger || k == tkChar || k == tkEnumeration || k == tkSet || k == tkInt64;
}

}  // namespace

// ---------------------------------------------------------------------------------------
const TEnumInfo* RegisterEnum(const char* TypeName, std::initializer_list<const char*> Names,
                              int MinValue) {
  auto info = std::make_unique<TEnumInfo>();
  info->TypeName = TypeName;
  for (const char* n : Names) info->Names.emplace_back(n);
  info->MinValue = MinValue;
  EnumStore().push_back(std::move(info));
  return EnumStore().back().get();
}

const TIntConsts* RegisterIntConsts(const char* TypeName,
                                    std::initializer_list<std::pair<const char*, int64_t>> Map) {
  static std::vector<std::unique_ptr<TIntConsts>> store;
  auto consts = std::make_unique<TIntConsts>();
  consts->TypeName = TypeName;
  for (const auto& [name, value] : Map) consts->Map.emplace_back(name, value);
  store.push_back(std::move(consts));
  return store.back().get();
}

bool IdentToInt(const TIntConsts* Consts, const std::string& Ident, int64_t& Value) {
  if (!Consts) return false;
  for (const auto& [name, value] : Consts->Map)
    if (SameTextAscii(name, Ident)) {
      Value = value;
      return true;
    }
  return false;
}

bool IntToIdent(const TIntConsts* Consts, int64_t Value, std::string& Ident) {
  if (!Consts) return false;
  for (const auto& [name, value] : Consts->Map)
    if (value == Value) {
      Ident = name;
      return true;
    }
  return false;
}

const TEnumInfo* BooleanInfo() {
  static const TEnumInfo info{"Boolean", {"False", "True"}, 0, true};
  return &info;
}

std::string GetEnumName(const TEnumInfo* Info, int64_t Value) {
  if (!Info || Value < Info->MinValue || Value > Info->MaxValue()) return std::to_string(Value);
  return Info->Names[static_cast<size_t>(Value - Info->MinValue)];
}

int GetEnumValue(const TEnumInfo* Info, const std::string& Name) {
  if (!Info) return -1;
  for (size_t i = 0; i < Info->Names.size(); ++i)
    if (SameTextAscii(Info->Names[i], Name)) return Info->MinValue + static_cast<int>(i);
  return -1;
}

// ---------------------------------------------------------------------------------------
void RegisterClass(TClass Class) {
  if (!Class) return;
  ClassMap()[UpperAscii(Class->Name)] = Class;
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
}

void UnRegisterClass(TClass Class) {
  if (!Class) return;
  auto it = ClassMap().find(UpperAscii(Class->Name));
  if (it != ClassMap().end() && it->second == Class) ClassMap().erase(it);
}

TClass GetClass(const std::string& ClassName) {
  auto it = ClassMap().find(UpperAscii(ClassName));
  return it == ClassMap().end() ? nullptr : it->second;
}

TClass FindClass(const std::string& ClassName) {
  TClass c = GetClass(ClassName);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

TComponent* CreateComponentOfClass(TClass Class, TComponent* Owner) {
  const TClassTypeInfo* info = GetTypeInfo(Class);
  if (!info || !info->CreateComponent)
    throw EClassNotFound(std::string("Class ") + (Class ? Class->Name : "nil") +
                         " cannot be created");
  return info->CreateComponent(Owner);
}

const TClassTypeInfo* GetTypeInfo(TClass Class) {
  if (!Class) return nullptr;
  if (Class->TypeInfo) return Class->TypeInfo;
  if (Class->Parent) GetTypeInfo(Class->Parent);
  auto* meta = const_cast<TMetaClass*>(Class);
  auto* info = new TClassTypeInfo;  // lives as long as the class record
  info->Class = Class;
  meta->TypeInfo = info;
  if (Class->Publish) {
    RegisterClass(Class);
    Class->Publish(*info);
  }
  return info;
}

const std::vector<const TPropInfo*>& GetPropList(TClass Class) {
  static const std::vector<const TPropInfo*> empty;
  const TClassTypeInfo* cinfo = GetTypeInfo(Class);
  if (!cinfo) return empty;
  auto* info = const_cast<TClassTypeInfo*>(cinfo);
  if (!info->AllPropsBuilt) {
    std::vector<const TPropInfo*> all;
    if (Class->Parent) all = GetPropList(Class->Parent);
    for (const TPropInfo& p : info->Props) {
      bool replaced = false;
      for (auto& q : all)
        if (SameTextAscii(q->Name, p.Name)) {
          q = &p;  // a descendant republishes the property (another default, say)
          replaced = true;
          break;
        }
      if (!replaced) all.push_back(&p);
    }
    info->AllProps = std::move(all);
    info->AllPropsBuilt = true;
  }
  return info->AllProps;
}

const TPropInfo* GetPropInfo(TClass Class, const std::string& PropName) {
  for (const TPropInfo* p : GetPropList(Class))
    if (SameTextAscii(p->Name, PropName)) return p;
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName) {
  return Instance ? GetPropInfo(Instance->ClassType(), PropName) : nullptr;
}

bool IsPublishedProp(const TObject* Instance, const std::string& PropName) {
  return GetPropInfo(Instance, PropName) != nullptr;
}

bool IsPublishedProp(TClass Class, const std::string& PropName) {
  return GetPropInfo(Class, PropName) != nullptr;
}

bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind) {
    case tkInteger: case tkChar: case tkEnumeration: case tkSet: case tkInt64:
      return Prop->Default && Prop->GetOrd(Instance) == *Prop->Default;
    case tkFloat:
      return Prop->GetFloat(Instance) == Prop->FloatDefault.value_or(0.0L);
    case tkString:
      return Prop->GetStr(Instance) == Prop->StrDefault;
    case tkWString:
      return Prop->GetWStr(Instance).empty();
    case tkClass:
      return Prop->IsReference ? Prop->GetObj(Instance) == nullptr : false;
    case tkMethod:
      return !Prop->EventAssigned(Instance);
    default:
      return true;
  }
}

bool IsStoredProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->StoredProc && !Prop->StoredProc(Instance)) return false;
  return !IsDefaultPropValue(Instance, Prop);
}

// ---------------------------------------------------------------------------------------
int64_t GetOrdProp(TObject* Instance, const TPropInfo* Prop) {
  if (!IsOrdinal(Prop->Kind)) InvalidType(Prop->Name);
  return Prop->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* Prop, int64_t Value) {
  if (!IsOrdinal(Prop->Kind)) InvalidType(Prop->Name);
  if (!Prop->SetOrd) throw EPropertyError("Property " + Prop->Name + " is read-only");
  Prop->SetOrd(Instance, Value);
}

int64_t GetOrdProp(TObject* Instance, const std::string& PropName) {
  return GetOrdProp(Instance, Require(Instance, PropName));
}

void SetOrdProp(TObject* Instance, const std::string& PropName, int64_t Value) {
  SetOrdProp(Instance, Require(Instance, PropName), Value);
}

namespace {
std::string U16ToU8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0x800) { out += static_cast<char>(0xC0 | (c >> 6)); out += static_cast<char>(0x80 | (c & 0x3F)); }
    else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string U8ToU16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    char32_t cp = c;
    if (len > 1 && i + len <= s.size()) {
      cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
      for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
      i += len;
    } else {
      ++i;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}
}  // namespace

std::string GetStrProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->Kind == tkString) return Prop->GetStr(Instance);
  if (Prop->Kind == tkWString) return U16ToU8(Prop->GetWStr(Instance));
  InvalidType(Prop->Name);
}

void SetStrProp(TObject* Instance, const TPropInfo* Prop, const std::string& Value) {
  if (Prop->Kind != tkString && Prop->Kind != tkWString) InvalidType(Prop->Name);
  if (Prop->ReadOnly) throw EPropertyError("Property " + Prop->Name + " is read-only");
  if (Prop->Kind == tkString) Prop->SetStr(Instance, Value);
  else Prop->SetWStr(Instance, U8ToU16(Value));
}

std::string GetStrProp(TObject* Instance, const std::string& PropName) {
  return GetStrProp(Instance, Require(Instance, PropName));
}

void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
  SetStrProp(Instance, Require(Instance, PropName), Value);
}

std::u16string GetWideStrProp(TObject* Instance, const std::string& PropName) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind == tkWString) return p->GetWStr(Instance);
  return U8ToU16(GetStrProp(Instance, p));
}

void SetWideStrProp(TObject* Instance, const std::string& PropName, const std::u16string& Value) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind == tkWString && p->SetWStr) p->SetWStr(Instance, Value);
  else SetStrProp(Instance, p, U16ToU8(Value));
}

long double GetFloatProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->Kind != tkFloat) InvalidType(Prop->Name);
  return Prop->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* Prop, long double Value) {
  if (Prop->Kind != tkFloat) InvalidType(Prop->Name);
  if (!Prop->SetFloat) throw EPropertyError("Property " + Prop->Name + " is read-only");
  Prop->SetFloat(Instance, Value);
}

long double GetFloatProp(TObject* Instance, const std::string& PropName) {
  return GetFloatProp(Instance, Require(Instance, PropName));
}

void SetFloatProp(TObject* Instance, const std::string& PropName, long double Value) {
  SetFloatProp(Instance, Require(Instance, PropName), Value);
}

std::string GetEnumProp(TObject* Instance, const std::string& PropName) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkEnumeration) InvalidType(PropName);
  return GetEnumName(p->Enum, p->GetOrd(Instance));
}

void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkEnumeration) InvalidType(PropName);
  int v = GetEnumValue(p->Enum, Value);
  if (v < 0) throw EPropertyError("Invalid property element: " + Value);
  SetOrdProp(Instance, p, v);
}

std::string GetSetProp(TObject* Instance, const std::string& PropName, bool Brackets) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkSet) InvalidType(PropName);
  uint64_t bits = static_cast<uint64_t>(p->GetOrd(Instance));
  std::string out;
  for (int i = 0; i < 64; ++i)
    if (bits & (uint64_t(1) << i)) {
      if (!out.empty()) out += ',';
      out += GetEnumName(p->Enum, i);
    }
  return Brackets ? "[" + out + "]" : out;
}

void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkSet) InvalidType(PropName);
  uint64_t bits = 0;
  std::string item;
  auto flush = [&] {
    size_t a = item.find_first_not_of(" \t[");
    size_t b = item.find_last_not_of(" \t]");
    if (a != std::string::npos && b != std::string::npos && a <= b) {
      std::string name = item.substr(a, b - a + 1);
      int v = GetEnumValue(p->Enum, name);
      if (v < 0 || v > 63) throw EPropertyError("Invalid property element: " + name);
      bits |= uint64_t(1) << v;
    }
    item.clear();
  };
  for (char c : Value) {
    if (c == ',') flush();
    else item += c;
  }
  flush();
  SetOrdProp(Instance, p, static_cast<int64_t>(bits));
}

TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop) {
  if (Prop->Kind != tkClass) InvalidType(Prop->Name);
  return Prop->GetObj(Instance);
}

TObject* GetObjectProp(TObject* Instance, const std::string& PropName) {
  return GetObjectProp(Instance, Require(Instance, PropName));
}

void SetObjectProp(TObject* Instance, const std::string& PropName, TObject* Value) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkClass) InvalidType(PropName);
  if (!p->SetObj) throw EPropertyError("Property " + PropName + " is read-only");
  if (!p->SetObj(Instance, Value)) throw EPropertyError("Invalid property value");
}

std::any GetMethodProp(TObject* Instance, const std::string& PropName) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkMethod) InvalidType(PropName);
  return p->GetEvent(Instance);
}

void SetMethodProp(TObject* Instance, const std::string& PropName, const std::any& Value) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkMethod) InvalidType(PropName);
  if (!p->SetEvent(Instance, Value))
    throw EPropertyError("Incompatible handler for " + PropName);
  if (auto* persistent = dynamic_cast<TPersistent*>(Instance))
    persistent->SetBoundEventName(p->Name, "");
}

namespace {
const TMethodInfo* FindMethodInfo(TClass Class, const std::string& Method) {
  for (TClass c = Class; c; c = c->Parent) {
    const TClassTypeInfo* info = GetTypeInfo(c);
    for (const TMethodInfo& m : info->Methods)
      if (SameTextAscii(m.Name, Method)) return &m;
  }
  return nullptr;
}
}  // namespace

bool HasMethod(TClass Class, const std::string& Method) {
  return FindMethodInfo(Class, Method) != nullptr;
}

std::any FindMethod(TObject* Root, const std::string& Method) {
  if (!Root) return {};
  const TMethodInfo* m = FindMethodInfo(Root->ClassType(), Method);
  return m ? m->Bind(Root) : std::any();
}

void BindMethodProp(TPersistent* Instance, const std::string& PropName, TObject* Root,
                    const std::string& Method) {
  const TPropInfo* p = Require(Instance, PropName);
  if (p->Kind != tkMethod) InvalidType(PropName);
  const TMethodInfo* m = Root ? FindMethodInfo(Root->ClassType(), Method) : nullptr;
  if (!m)
    throw EPropertyError("Method " + Method + " not found in " +
                         (Root ? std::string(Root->ClassName()) : std::string("nil")));
  if (!p->SetEvent(Instance, m->Bind(Root)))
    throw EPropertyError("Method " + Method + " does not match the type of event " + p->Name);
  Instance->SetBoundEventName(p->Name, m->Name);
}

const TFieldInfo* FindFieldInfo(TClass Class, const std::string& Name) {
  for (TClass c = Class; c; c = c->Parent) {
    const TClassTypeInfo* info = GetTypeInfo(c);
    for (const TFieldInfo& f : info->Fields)
      if (SameTextAscii(f.Name, Name)) return &f;
  }
  return nullptr;
}

void ClearFieldReference(TComponent* Owner, TComponent* Component) {
  if (!Owner || !Component || Component->Name().empty()) return;
  // Only classes whose type information is in use can have fields set by the reader.
  if (!Owner->ClassType()->TypeInfo) return;
  const TFieldInfo* f = FindFieldInfo(Owner->ClassType(), Component->Name());
  if (f && f->Get(Owner) == Component) f->Set(Owner, nullptr);
}
