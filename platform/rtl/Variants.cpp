// Variant type codes and the conversions between them.
#include "platform/rtl/Variants.h"

#include <cmath>
#include <limits>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsIntType(TVarType t) {
  switch (t) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord:
      return true;
    default:
      return false;
  }
}

bool IsFloatType(TVarType t) { return t == varSingle || t == varDouble || t == varDate; }

[[noreturn]] void RaiseCast(TVarType from, TVarType to) {
  throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                              ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void RaiseOverflow(TVarType from, TVarType to) {
  throw EVariantOverflowError("Overflow while converting variant of type (" + VarTypeAsText(from) +
                              ") into type (" + VarTypeAsText(to) + ")");
}

// The range of a whole-number type.
void IntRange(TVarType t, long double& lo, long double& hi) {
  switch (t) {
    case varSmallint: lo = INT16_MIN; hi = INT16_MAX; break;
    case varShortInt: lo = INT8_MIN; hi = INT8_MAX; break;
    case varByte: lo = 0; hi = UINT8_MAX; break;
    case varWord: lo = 0; hi = UINT16_MAX; break;
    case varLongWord: lo = 0; hi = UINT32_MAX; break;
    default: lo = INT32_MIN; hi = INT32_MAX; break;
  }
}

Variant MakeInt(TVarType t, int64_t v) {
  switch (t) {
    case varSmallint: return Variant(static_cast<int16_t>(v));
    case varShortInt: return Variant(static_cast<int8_t>(v));
    case varByte: return Variant(static_cast<uint8_t>(v));
    case varWord: return Variant(static_cast<uint16_t>(v));
    case varLongWord: return Variant(static_cast<uint32_t>(v));
    default: return Variant(static_cast<int>(v));
  }
}

// The source as a number: integers exactly, floats, currency, Booleans (-1 for true),
// texts read by the locale.
long double AsNumber(const Variant& v, TVarType to) {
  const TVarType t = v.VType();
  if (IsIntType(t)) return static_cast<long double>(v.IntValue());
  if (IsFloatType(t)) return v.FloatValue();
  if (t == varCurrency) return v.CurrValue().ToExtended();
  if (t == varBoolean) return v.BoolValue() ? -1 : 0;
  if (t == varString || t == varOleStr) {
    std::string s = t == varString ? v.StrValue() : Utf16ToUtf8(v.WideValue());
    Extended e;
    if (TryStrToFloat(s, e)) return e;
    Int64 i;
    if (TryStrToInt64(s, i)) return static_cast<long double>(i);
    if (SameText(Trim(s), "True")) return -1;
    if (SameText(Trim(s), "False")) return 0;
  }
  RaiseCast(t, to);
}

std::string AsText(const Variant& v, TVarType to) {
  const TVarType t = v.VType();
  if (t == varString) return v.StrValue();
  if (t == varOleStr) return Utf16ToUtf8(v.WideValue());
  if (IsIntType(t)) return IntToStr(static_cast<long long>(v.IntValue()));
  if (t == varSingle || t == varDouble) return FloatToStr(v.FloatValue());
  if (t == varDate) return DateTimeToStr(v.FloatValue());
  if (t == varCurrency) return CurrToStr(v.CurrValue());
  if (t == varBoolean) return v.BoolValue() ? "True" : "False";
  RaiseCast(t, to);
}

}  // namespace

Variant Variant::ArrayOf(std::vector<Variant> Items) {
  Variant v;
  v.FType = varArray | varVariant;
  v.FItems = std::move(Items);
  return v;
}

bool operator==(const Variant& A, const Variant& B) {
  return A.FType == B.FType && A.FInt == B.FInt &&
         (A.FFloat == B.FFloat || (std::isnan(A.FFloat) && std::isnan(B.FFloat))) &&
         A.FStr == B.FStr && A.FWide == B.FWide && A.FItems == B.FItems;
}

TVarType VarType(const Variant& V) { return V.VType(); }
bool VarIsEmpty(const Variant& V) { return V.VType() == varEmpty; }
bool VarIsNull(const Variant& V) { return V.VType() == varNull; }
bool VarIsArray(const Variant& V) { return (V.VType() & varArray) != 0; }

std::string VarTypeAsText(TVarType VarType) {
  std::string name;
  switch (VarType & varTypeMask) {
    case varEmpty: name = "Empty"; break;
    case varNull: name = "Null"; break;
    case varSmallint: name = "Smallint"; break;
    case varInteger: name = "Integer"; break;
    case varSingle: name = "Single"; break;
    case varDouble: name = "Double"; break;
    case varCurrency: name = "Currency"; break;
    case varDate: name = "Date"; break;
    case varOleStr: name = "OleStr"; break;
    case varBoolean: name = "Boolean"; break;
    case varVariant: name = "Variant"; break;
    case varShortInt: name = "ShortInt"; break;
    case varByte: name = "Byte"; break;
    case varWord: name = "Word"; break;
    case varLongWord: name = "LongWord"; break;
    case varString: name = "String"; break;
    default: name = "$" + IntToHex(static_cast<int>(VarType & varTypeMask), 4); break;
  }
  if (VarType & varArray) name = "Array " + name;
  return name;
}

Variant VarAsType(const Variant& V, TVarType To) {
  const TVarType from = V.VType();
  if (from == To || To == varVariant) return V;
  if (from == varEmpty || from == varNull || (from & varArray) || (To & varArray)) RaiseCast(from, To);
  if (IsIntType(To)) {
    long double x = AsNumber(V, To);
    if (!std::isfinite(x)) RaiseOverflow(from, To);
    x = std::nearbyint(x);  // halves to even, as the framework rounds
    long double lo, hi;
    IntRange(To, lo, hi);
    if (x < lo || x > hi) RaiseOverflow(from, To);
    return MakeInt(To, static_cast<int64_t>(x));
  }
  switch (To) {
    case varSingle: {
      long double x = AsNumber(V, To);
      if (std::isfinite(x) && std::fabs(x) > std::numeric_limits<float>::max()) RaiseOverflow(from, To);
      return Variant(static_cast<float>(x));
    }
    case varDouble:
      return Variant(static_cast<double>(AsNumber(V, To)));
    case varDate: {
      if (from == varString || from == varOleStr) {
        TDateTime d;
        if (TryStrToDateTime(AsText(V, To), d)) return Variant::FromDateTime(d);
        RaiseCast(from, To);
      }
      return Variant::FromDateTime(static_cast<double>(AsNumber(V, To)));
    }
    case varCurrency: {
      if (from == varString || from == varOleStr) {
        Currency c;
        if (TryStrToCurr(AsText(V, To), c)) return Variant(c);
        RaiseCast(from, To);
      }
      if (from == varCurrency) return V;
      try {
        return Variant(Currency::FromDouble(AsNumber(V, To)));
      } catch (const EOverflow&) {
        RaiseOverflow(from, To);
      }
    }
    case varBoolean:
      return Variant(AsNumber(V, To) != 0);
    case varString:
      return Variant(AsText(V, To));
    case varOleStr:
      return Variant(Utf8ToUtf16(AsText(V, To)));
    default:
      RaiseCast(from, To);
  }
}

Variant VarArrayOf(std::vector<Variant> Values) { return Variant::ArrayOf(std::move(Values)); }

int VarArrayLowBound(const Variant& V) {
  if (!VarIsArray(V)) throw EVariantError("Variant is not an array");
  return 0;
}

int VarArrayHighBound(const Variant& V) {
  if (!VarIsArray(V)) throw EVariantError("Variant is not an array");
  return static_cast<int>(V.Items().size()) - 1;
}

Variant VarArrayGet(const Variant& V, int Index) {
  if (!VarIsArray(V)) throw EVariantError("Variant is not an array");
  if (Index < 0 || Index >= static_cast<int>(V.Items().size()))
    throw EVariantBadIndexError("Variant or safe array index out of bounds");
  return V.Items()[Index];
}
