#pragma once
// The reflection registry: published properties, enumeration and set names, class
// factories and the handler (method) tables of forms. Form reading and writing, "find a
// control by class name" and property access by name all go through it.
//
// A class with published properties declares itself with LORM_PUBLISHED instead of
// LORM_CLASS and defines Publish in its source file:
//
//   // header
//   class TMyButton : public TCustomControl {
//     LORM_PUBLISHED(TMyButton, TCustomControl)
//   public:
//     explicit TMyButton(TComponent* AOwner);
//     ...
//   };
//
//   // source
//   static const TEnumInfo* StyleNames = RegisterEnum("TButtonStyle", {"bsFlat", "bsRaised"});
//   void TMyButton::Publish(TClassBuilder<TMyButton>& P) {
//     P.Enum("Style", StyleNames, &TMyButton::GetStyle, &TMyButton::SetStyle, bsFlat)
//      .Bool("Flat", &TMyButton::GetFlat, &TMyButton::SetFlat, false)
//      .Str("Caption", &TMyButton::GetCaption, &TMyButton::SetCaption)
//      .Object("Font", &TMyButton::GetFont)
//      .Component("PopupMenu", &TMyButton::GetPopupMenu, &TMyButton::SetPopupMenu)
//      .Event("OnClick", &TMyButton::FOnClick);
//   }
//
// Getters and setters are member functions or data members. Ordinal properties without
// a default are always stored; with one, only when they differ. Strings are stored when
// not empty, floats when not zero (or not their default), events when bound, references
// when set. Publish runs on first use of the class's type information, base class first.
// A form class also lists its component fields (Field, set by the reader from the
// component of that name) and its handlers (Handler, bound to events by method name).
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"

enum TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod,
  tkWString, tkInt64
};
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// Names of an enumeration's values in ordinal order (also the element names of a set).
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  int MinValue = 0;  // ordinal of Names[0]
  bool IsBoolean = false;
  int MaxValue() const { return MinValue + static_cast<int>(Names.size()) - 1; }
};

// Registers an enumeration's names; the pointer stays valid for the program's life.
const TEnumInfo* RegisterEnum(const char* TypeName, std::initializer_list<const char*> Names,
                              int MinValue = 0);
// The Boolean type (False, True).
const TEnumInfo* BooleanInfo();
std::string GetEnumName(const TEnumInfo* Info, int64_t Value);
// The ordinal of Name (case-insensitive), -1 when it is not a name of the type.
int GetEnumValue(const TEnumInfo* Info, const std::string& Name);

// Names for values of an integer type (colours, cursors): stored by name when one fits.
struct TIntConsts {
  std::string TypeName;
  std::vector<std::pair<std::string, int64_t>> Map;
};
const TIntConsts* RegisterIntConsts(const char* TypeName,
                                    std::initializer_list<std::pair<const char*, int64_t>> Map);
bool IdentToInt(const TIntConsts* Consts, const std::string& Ident, int64_t& Value);
bool IntToIdent(const TIntConsts* Consts, int64_t Value, std::string& Ident);

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkUnknown;
  const TEnumInfo* Enum = nullptr;   // enumerations, Booleans and sets
  const TIntConsts* Consts = nullptr; // integers written by name
  TFloatType FloatType = ftExtended;
  bool IsDateTime = false;           // a TDateTime float
  TClass PropClass = nullptr;        // tkClass: the declared class
  bool IsReference = false;          // tkClass: a component reference, not an owned object
  bool ReadOnly = false;
  std::optional<int64_t> Default;    // ordinal default ("nodefault" when empty)
  std::optional<long double> FloatDefault;
  std::string StrDefault;

  std::function<int64_t(TObject*)> GetOrd;   // integers, chars, enums, Booleans, set bits
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<long double(TObject*)> GetFloat;
  std::function<void(TObject*, long double)> SetFloat;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<std::u16string(TObject*)> GetWStr;
  std::function<void(TObject*, const std::u16string&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;
  // Returns false when the object is not of the property's class.
  std::function<bool(TObject*, TObject*)> SetObj;
  std::function<bool(TObject*)> EventAssigned;
  std::function<std::any(TObject*)> GetEvent;
  // Returns false when the value's signature differs from the event's.
  std::function<bool(TObject*, const std::any&)> SetEvent;
  std::function<bool(TObject*)> StoredProc;  // empty: stored by the default rules
};

// A published component field of a form, set by the reader from the component named so.
struct TFieldInfo {
  std::string Name;
  TClass FieldClass = nullptr;
  std::function<bool(TObject* Instance, TComponent* Value)> Set;  // false: wrong class
  std::function<TComponent*(TObject* Instance)> Get;
};

// A handler of a form: turns the form instance into an event value bound to it.
struct TMethodInfo {
  std::string Name;
  std::function<std::any(TObject* Instance)> Bind;
};

struct TClassTypeInfo {
  TClass Class = nullptr;
  std::function<TComponent*(TComponent* Owner)> CreateComponent;
  std::vector<TPropInfo> Props;  // declared by this class, in order
  std::vector<TFieldInfo> Fields;
  std::vector<TMethodInfo> Methods;
  // Every property of the class and its ancestors, base first (built on demand).
  std::vector<const TPropInfo*> AllProps;
  bool AllPropsBuilt = false;
};

// ---------------------------------------------------------------------------------------
namespace typinfo_detail {
template <class S> struct SetterArg;
template <class C, class R, class P> struct SetterArg<R (C::*)(P)> { using type = std::decay_t<P>; };
template <class C, class R, class P> struct SetterArg<R (C::*)(P) noexcept> { using type = std::decay_t<P>; };
template <class C, class M> struct SetterArg<M C::*> { using type = M; };

template <class T, class G>
decltype(auto) Get(T* o, G g) {
  if constexpr (std::is_member_function_pointer_v<G>) return (o->*g)();
  else return (o->*g);
}

template <class T, class S, class V>
void Set(T* o, S s, V&& v) {
  if constexpr (std::is_member_function_pointer_v<S>) (o->*s)(std::forward<V>(v));
  else o->*s = std::forward<V>(v);
}

template <class V>
int64_t ToOrd(const V& v) {
  if constexpr (requires { v.Bits(); }) return static_cast<int64_t>(v.Bits());
  else return static_cast<int64_t>(v);
}

template <class P>
P FromOrd(int64_t v) {
  if constexpr (requires { P::FromBits(uint64_t(0)); }) return P::FromBits(static_cast<uint64_t>(v));
  else return static_cast<P>(v);
}

template <class X> struct MemberType;
template <class C, class M> struct MemberType<M C::*> { using type = M; };
}  // namespace typinfo_detail

template <class T>
class TClassBuilder {
public:
  explicit TClassBuilder(TClassTypeInfo& Info) : FInfo(Info) {}

  template <class G, class S>
  TClassBuilder& Int(const char* Name, G Get, S Set) { return Ordinal(Name, tkInteger, nullptr, Get, Set, {}); }
  template <class G, class S, class D>
  TClassBuilder& Int(const char* Name, G Get, S Set, D Default) {
    return Ordinal(Name, tkInteger, nullptr, Get, Set, typinfo_detail::ToOrd(Default));
  }
  template <class G, class S>
  TClassBuilder& Int64(const char* Name, G Get, S Set) { return Ordinal(Name, tkInt64, nullptr, Get, Set, {}); }
  template <class G, class S>
  TClassBuilder& Char(const char* Name, G Get, S Set) { return Ordinal(Name, tkChar, nullptr, Get, Set, {}); }
  template <class G, class S, class D>
  TClassBuilder& Char(const char* Name, G Get, S Set, D Default) {
    return Ordinal(Name, tkChar, nullptr, Get, Set, typinfo_detail::ToOrd(Default));
  }
  template <class G, class S>
  TClassBuilder& Bool(const char* Name, G Get, S Set) {
    return Ordinal(Name, tkEnumeration, BooleanInfo(), Get, Set, {});
  }
  template <class G, class S>
  TClassBuilder& Bool(const char* Name, G Get, S Set, bool Default) {
    return Ordinal(Name, tkEnumeration, BooleanInfo(), Get, Set, Default ? 1 : 0);
  }
  template <class G, class S>
  TClassBuilder& Enum(const char* Name, const TEnumInfo* Info, G Get, S Set) {
    return Ordinal(Name, tkEnumeration, Info, Get, Set, {});
  }
  template <class G, class S, class D>
  TClassBuilder& Enum(const char* Name, const TEnumInfo* Info, G Get, S Set, D Default) {
    return Ordinal(Name, tkEnumeration, Info, Get, Set, typinfo_detail::ToOrd(Default));
  }
  // A set property: bit i of the value is the element of ordinal i of Info.
  template <class G, class S>
  TClassBuilder& Set(const char* Name, const TEnumInfo* Info, G Get, S Set) {
    return Ordinal(Name, tkSet, Info, Get, Set, {});
  }
  template <class G, class S, class D>
  TClassBuilder& Set(const char* Name, const TEnumInfo* Info, G Get, S Set, D Default) {
    return Ordinal(Name, tkSet, Info, Get, Set, typinfo_detail::ToOrd(Default));
  }

  template <class G, class S>
  TClassBuilder& Float(const char* Name, G Get, S Set) { return FloatProp(Name, Get, Set, {}, false); }
  template <class G, class S>
  TClassBuilder& Float(const char* Name, G Get, S Set, long double Default) {
    return FloatProp(Name, Get, Set, Default, false);
  }
  template <class G, class S>
  TClassBuilder& DateTime(const char* Name, G Get, S Set) { return FloatProp(Name, Get, Set, {}, true); }

  template <class G, class S>
  TClassBuilder& Str(const char* Name, G Get, S Set, const char* Default = "") {
    TPropInfo& p = Add(Name, tkString);
    p.StrDefault = Default;
    p.GetStr = [Get](TObject* o) -> std::string { return typinfo_detail::Get(Self(o), Get); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [Set](TObject* o, const std::string& v) { typinfo_detail::Set(Self(o), Set, v); };
    else p.ReadOnly = true;
    return *this;
  }
  template <class G, class S>
  TClassBuilder& WStr(const char* Name, G Get, S Set) {
    TPropInfo& p = Add(Name, tkWString);
    p.GetWStr = [Get](TObject* o) -> std::u16string { return typinfo_detail::Get(Self(o), Get); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetWStr = [Set](TObject* o, const std::u16string& v) { typinfo_detail::Set(Self(o), Set, v); };
    else p.ReadOnly = true;
    return *this;
  }

  // An owned sub-object (font, appearance, collection, string list): its properties are
  // stored with the owner's; the setter (optional) is used by SetObjectProp.
  template <class G>
  TClassBuilder& Object(const char* Name, G Get) { return Object(Name, Get, nullptr); }
  template <class G, class S>
  TClassBuilder& Object(const char* Name, G Get, S Set) {
    using R = std::remove_cvref_t<decltype(typinfo_detail::Get(std::declval<T*>(), Get))>;
    using O = std::remove_pointer_t<R>;
    TPropInfo& p = Add(Name, tkClass);
    p.PropClass = O::StaticClass();
    p.GetObj = [Get](TObject* o) -> TObject* { return typinfo_detail::Get(Self(o), Get); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.SetObj = [Set](TObject* o, TObject* v) {
        O* value = v ? dynamic_cast<O*>(v) : nullptr;
        if (v && !value) return false;
        typinfo_detail::Set(Self(o), Set, value);
        return true;
      };
    } else {
      p.ReadOnly = true;
    }
    return *this;
  }
  // A reference to another component (stored by name, fixed up after reading).
  template <class G, class S>
  TClassBuilder& Component(const char* Name, G Get, S Set) {
    using R = std::remove_cvref_t<decltype(typinfo_detail::Get(std::declval<T*>(), Get))>;
    using O = std::remove_pointer_t<R>;
    TPropInfo& p = Add(Name, tkClass);
    p.IsReference = true;
    p.PropClass = O::StaticClass();
    p.GetObj = [Get](TObject* o) -> TObject* { return typinfo_detail::Get(Self(o), Get); };
    p.SetObj = [Set](TObject* o, TObject* v) {
      O* value = v ? dynamic_cast<O*>(v) : nullptr;
      if (v && !value) return false;
      typinfo_detail::Set(Self(o), Set, value);
      return true;
    };
    return *this;
  }

  // An event held in a data member of std::function type.
  template <class F>
  TClassBuilder& Event(const char* Name, F Field) { return Event(Name, Field, Field); }
  template <class G, class S>
  TClassBuilder& Event(const char* Name, G Get, S Set) {
    using E = std::remove_cvref_t<decltype(typinfo_detail::Get(std::declval<T*>(), Get))>;
    TPropInfo& p = Add(Name, tkMethod);
    p.EventAssigned = [Get](TObject* o) { return static_cast<bool>(typinfo_detail::Get(Self(o), Get)); };
    p.GetEvent = [Get](TObject* o) -> std::any {
      E e = typinfo_detail::Get(Self(o), Get);
      if (!e) return {};
      return std::any(std::move(e));
    };
    p.SetEvent = [Set](TObject* o, const std::any& v) {
      if (!v.has_value()) {
        typinfo_detail::Set(Self(o), Set, E());
        return true;
      }
      const E* e = std::any_cast<E>(&v);
      if (!e) return false;
      typinfo_detail::Set(Self(o), Set, *e);
      return true;
    };
    return *this;
  }

  // When the last added property is stored (instead of the default rules).
  TClassBuilder& Stored(bool (T::*Pred)() const) {
    Last().StoredProc = [Pred](TObject* o) { return (Self(o)->*Pred)(); };
    return *this;
  }
  // Names for the last added integer property's values.
  TClassBuilder& Consts(const TIntConsts* Map) {
    Last().Consts = Map;
    return *this;
  }
  TClassBuilder& Stored(bool Value) {
    Last().StoredProc = [Value](TObject*) { return Value; };
    return *this;
  }

  // A form's component field.
  template <class C>
  TClassBuilder& Field(const char* Name, C* T::*Member) {
    RegisterClass(C::StaticClass());
    TFieldInfo f;
    f.Name = Name;
    f.FieldClass = C::StaticClass();
    f.Set = [Member](TObject* o, TComponent* v) {
      C* value = v ? dynamic_cast<C*>(v) : nullptr;
      if (v && !value) return false;
      Self(o)->*Member = value;
      return true;
    };
    f.Get = [Member](TObject* o) -> TComponent* { return Self(o)->*Member; };
    FInfo.Fields.push_back(std::move(f));
    return *this;
  }

  // A form's handler, bound to events by its name.
  template <class R, class... A>
  TClassBuilder& Handler(const char* Name, R (T::*Method)(A...)) {
    TMethodInfo m;
    m.Name = Name;
    m.Bind = [Method](TObject* o) -> std::any {
      T* self = Self(o);
      return std::any(std::function<R(A...)>(
          [self, Method](A... args) -> R { return (self->*Method)(std::forward<A>(args)...); }));
    };
    FInfo.Methods.push_back(std::move(m));
    return *this;
  }

  // Registers classes named in the class's stored form without a field of their own.
  TClassBuilder& Uses(std::initializer_list<TClass> Classes) {
    for (TClass c : Classes) RegisterClass(c);
    return *this;
  }

private:
  static T* Self(TObject* o) { return static_cast<T*>(o); }

  TPropInfo& Add(const char* Name, TTypeKind Kind) {
    TPropInfo p;
    p.Name = Name;
    p.Kind = Kind;
    FInfo.Props.push_back(std::move(p));
    return FInfo.Props.back();
  }
  TPropInfo& Last() {
    if (FInfo.Props.empty()) throw EPropertyError("Stored without a property");
    return FInfo.Props.back();
  }

  template <class G, class S>
  TClassBuilder& Ordinal(const char* Name, TTypeKind Kind, const TEnumInfo* Info, G Get, S Set,
                         std::optional<int64_t> Default) {
    TPropInfo& p = Add(Name, Kind);
    p.Enum = Info;
    p.Default = Default;
    p.GetOrd = [Get](TObject* o) { return typinfo_detail::ToOrd(typinfo_detail::Get(Self(o), Get)); };
    if constexpr (!std::is_null_pointer_v<S>) {
      using P = typename typinfo_detail::SetterArg<S>::type;
      p.SetOrd = [Set](TObject* o, int64_t v) {
        typinfo_detail::Set(Self(o), Set, typinfo_detail::FromOrd<P>(v));
      };
    } else {
      p.ReadOnly = true;
    }
    return *this;
  }

  template <class G, class S>
  TClassBuilder& FloatProp(const char* Name, G Get, S Set, std::optional<long double> Default,
                           bool IsDate) {
    using R = std::remove_cvref_t<decltype(typinfo_detail::Get(std::declval<T*>(), Get))>;
    TPropInfo& p = Add(Name, tkFloat);
    p.FloatType = std::is_same_v<R, float> ? ftSingle : std::is_same_v<R, double> ? ftDouble : ftExtended;
    p.IsDateTime = IsDate;
    p.FloatDefault = Default;
    p.GetFloat = [Get](TObject* o) { return static_cast<long double>(typinfo_detail::Get(Self(o), Get)); };
    if constexpr (!std::is_null_pointer_v<S>) {
      using P = typename typinfo_detail::SetterArg<S>::type;
      p.SetFloat = [Set](TObject* o, long double v) { typinfo_detail::Set(Self(o), Set, static_cast<P>(v)); };
    } else {
      p.ReadOnly = true;
    }
    return *this;
  }

  static void RegisterClass(TClass Class);
  TClassTypeInfo& FInfo;
};

// ---------------------------------------------------------------------------------------
template <class T>
void PublishClassThunk(TClassTypeInfo& Info) {
  if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                std::is_constructible_v<T, TComponent*>)
    Info.CreateComponent = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
  TClassBuilder<T> builder(Info);
  T::Publish(builder);
}

#define LORM_PUBLISHED(Name, Base)                                            \
public:                                                                       \
  static TClass StaticClass() {                                               \
    static TMetaClass meta{#Name, Base::StaticClass(), &PublishClassThunk<Name>}; \
    return &meta;                                                             \
  }                                                                           \
  TClass ClassType() const override { return StaticClass(); }                \
  static void Publish(TClassBuilder<Name>& P);                                \
                                                                              \
private:

// ---------------------------------------------------------------------------------------
// Classes by name.
void RegisterClass(TClass Class);
void RegisterClasses(std::initializer_list<TClass> Classes);
void UnRegisterClass(TClass Class);
TClass GetClass(const std::string& ClassName);   // nullptr when not registered
TClass FindClass(const std::string& ClassName);  // EClassNotFound "Class %s not found"
// Creates a component of a registered component class (EClassNotFound when it has no
// factory).
TComponent* CreateComponentOfClass(TClass Class, TComponent* Owner);

template <class T>
void TClassBuilder<T>::RegisterClass(TClass Class) {
  ::RegisterClass(Class);
}

// The class's type information, built on first use (nullptr only for a null class).
const TClassTypeInfo* GetTypeInfo(TClass Class);

// Properties.
const std::vector<const TPropInfo*>& GetPropList(TClass Class);
const TPropInfo* GetPropInfo(TClass Class, const std::string& PropName);
const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& PropName);
bool IsPublishedProp(const TObject* Instance, const std::string& PropName);
bool IsPublishedProp(TClass Class, const std::string& PropName);
// Whether the property would be written: its stored rule, and a value other than its default.
bool IsStoredProp(TObject* Instance, const TPropInfo* Prop);
bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop);

// Value access; the name forms raise EPropertyError "Unknown property: %s" for a name
// the class does not publish and "Invalid property type: %s" for a kind mismatch.
int64_t GetOrdProp(TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, int64_t Value);
int64_t GetOrdProp(TObject* Instance, const std::string& PropName);
void SetOrdProp(TObject* Instance, const std::string& PropName, int64_t Value);
std::string GetStrProp(TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const std::string& Value);
std::string GetStrProp(TObject* Instance, const std::string& PropName);
void SetStrProp(TObject* Instance, const std::string& PropName, const std::string& Value);
std::u16string GetWideStrProp(TObject* Instance, const std::string& PropName);
void SetWideStrProp(TObject* Instance, const std::string& PropName, const std::u16string& Value);
long double GetFloatProp(TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, long double Value);
long double GetFloatProp(TObject* Instance, const std::string& PropName);
void SetFloatProp(TObject* Instance, const std::string& PropName, long double Value);
std::string GetEnumProp(TObject* Instance, const std::string& PropName);
void SetEnumProp(TObject* Instance, const std::string& PropName, const std::string& Value);
// Set values as comma-separated element names ("akLeft,akTop"), optionally in brackets.
std::string GetSetProp(TObject* Instance, const std::string& PropName, bool Brackets = false);
void SetSetProp(TObject* Instance, const std::string& PropName, const std::string& Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop);
TObject* GetObjectProp(TObject* Instance, const std::string& PropName);
void SetObjectProp(TObject* Instance, const std::string& PropName, TObject* Value);
// Events: the held value (an empty std::any when unassigned) and assignment.
std::any GetMethodProp(TObject* Instance, const std::string& PropName);
void SetMethodProp(TObject* Instance, const std::string& PropName, const std::any& Value);
// Binds the event to Root's handler named Method (registered with Handler); raises
// EPropertyError when Root has no such handler or its signature differs.
void BindMethodProp(TPersistent* Instance, const std::string& PropName, TObject* Root,
                    const std::string& Method);
// Root's handler by name, bound to Root; empty when there is none.
std::any FindMethod(TObject* Root, const std::string& Method);
bool HasMethod(TClass Class, const std::string& Method);

// The form field of Root named Name, if its class publishes one.
const TFieldInfo* FindFieldInfo(TClass Class, const std::string& Name);
// Clears Owner's published field that refers to Component (it is being removed).
void ClearFieldReference(TComponent* Owner, TComponent* Component);
