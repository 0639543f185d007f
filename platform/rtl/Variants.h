#pragma once
// The framework's variants: a value that carries its type code, and the conversions
// between the types. Codes: varEmpty 0 (unassigned), varNull 1, varSmallint 2 (16-bit),
// varInteger 3 (32-bit), varSingle 4, varDouble 5, varCurrency 6, varDate 7 (TDateTime),
// varOleStr 8 (wide text), varBoolean 11, varVariant 12, varShortInt 16 (8-bit),
// varByte 17, varWord 18, varLongWord 19, varString 256 (text); an array of variants is
// varArray | varVariant. Text conversions read FormatSettings() at each call.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"

using TVarType = uint16_t;
enum : TVarType {
  varEmpty = 0, varNull = 1, varSmallint = 2, varInteger = 3, varSingle = 4, varDouble = 5,
  varCurrency = 6, varDate = 7, varOleStr = 8, varBoolean = 11, varVariant = 12,
  varShortInt = 16, varByte = 17, varWord = 18, varLongWord = 19, varString = 256,
  varTypeMask = 0x0FFF, varArray = 0x2000
};

LORM_DECLARE_EXCEPTION(EVariantError, Exception);
// "Could not convert variant of type (<from>) into type (<to>)"
LORM_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
// "Overflow while converting variant of type (<from>) into type (<to>)"
LORM_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
// "Variant or safe array index out of bounds"
LORM_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);

class Variant {
public:
  Variant() = default;  // varEmpty
  Variant(int Value) : FType(varInteger), FInt(Value) {}
  Variant(int16_t Value) : FType(varSmallint), FInt(Value) {}
  Variant(int8_t Value) : FType(varShortInt), FInt(Value) {}
  Variant(uint8_t Value) : FType(varByte), FInt(Value) {}
  Variant(uint16_t Value) : FType(varWord), FInt(Value) {}
  Variant(uint32_t Value) : FType(varLongWord), FInt(Value) {}
  Variant(float Value) : FType(varSingle), FFloat(Value) {}
  Variant(double Value) : FType(varDouble), FFloat(Value) {}
  Variant(bool Value) : FType(varBoolean), FInt(Value ? 1 : 0) {}
  Variant(Currency Value) : FType(varCurrency), FInt(Value.Raw) {}
  Variant(const char* Value) : FType(varString), FStr(Value ? Value : "") {}
  Variant(std::string Value) : FType(varString), FStr(std::move(Value)) {}
  Variant(std::u16string Value) : FType(varOleStr), FWide(std::move(Value)) {}
  // Wide literals are wide texts (a pointer would otherwise become a Boolean).
  Variant(const char16_t* Value) : FType(varOleStr), FWide(Value ? Value : u"") {}

  static Variant Null() { Variant v; v.FType = varNull; return v; }
  static Variant FromDateTime(double Value) { Variant v; v.FType = varDate; v.FFloat = Value; return v; }
  static Variant ArrayOf(std::vector<Variant> Items);

  TVarType VType() const { return FType; }
  // The stored value as it is held: integers and Booleans (1 for true), floats and
  // dates, currency, texts and array items. No conversion: see VarAsType.
  int64_t IntValue() const { return FInt; }
  double FloatValue() const { return FFloat; }
  bool BoolValue() const { return FInt != 0; }
  Currency CurrValue() const { return Currency::FromRaw(FInt); }
  const std::string& StrValue() const { return FStr; }
  const std::u16string& WideValue() const { return FWide; }
  const std::vector<Variant>& Items() const { return FItems; }

  // Same type code and same value (arrays item by item).
  friend bool operator==(const Variant& A, const Variant& B);

private:
  TVarType FType = varEmpty;
  int64_t FInt = 0;
  double FFloat = 0;
  std::string FStr;
  std::u16string FWide;
  std::vector<Variant> FItems;
};

inline Variant Null() { return Variant::Null(); }
inline Variant Unassigned() { return Variant(); }

TVarType VarType(const Variant& V);
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsArray(const Variant& V);
// The name of a type code as conversion errors give it ("Integer", "OleStr", "String").
std::string VarTypeAsText(TVarType VarType);

// The value converted to the type. Empty and Null convert only to themselves and to
// varVariant; Booleans give -1 for true as integers and "True"/"False" as text; texts
// are read as numbers, Booleans or dates by the locale; a whole-number target takes the
// rounded value and raises EVariantOverflowError outside its range; an impossible
// conversion raises EVariantTypeCastError.
Variant VarAsType(const Variant& V, TVarType VarType);

// A one-dimensional array of variants, indexes from 0.
Variant VarArrayOf(std::vector<Variant> Values);
int VarArrayLowBound(const Variant& V);
int VarArrayHighBound(const Variant& V);
Variant VarArrayGet(const Variant& V, int Index);
