#include "app/Class_myrecord.h"

#include <cstdint>
#include <cstring>

#include "platform/rtl/CodePage.h"

namespace {
constexpr int GasTextCodePage = 1251;

template <std::size_t N> void StoreText(char (&field)[N], const std::string& utf8) {
  const std::string bytes = Utf8ToCodePage(GasTextCodePage, utf8);
  std::memset(field, 0, N);
  std::memcpy(field, bytes.data(), bytes.size() < N ? bytes.size() : N);
}

template <std::size_t N> std::string LoadText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != 0) ++length;
  return CodePageToUtf8(GasTextCodePage, std::string(field, length));
}

void PutFloat(unsigned char* out, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

float GetFloat(const unsigned char* in) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= std::uint32_t(in[i]) << (8 * i);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

constexpr std::size_t FloatsOffset = TMyRecord::NameSize + TMyRecord::FormulaSize;
} // namespace

void TMyRecord::GetFields(char (&name)[NameSize], char (&formula)[FormulaSize], float& density,
                          float& heatCapacity, float& conductivity, float& viscosity) const {
  std::memcpy(name, FName, NameSize);
  std::memcpy(formula, FFormula, FormulaSize);
  density = FDensity;
  heatCapacity = FHeatCapacity;
  conductivity = FConductivity;
  viscosity = FViscosity;
}

void TMyRecord::SetFields(const std::string& name, const std::string& formula, float density,
                          float heatCapacity, float conductivity, float viscosity) {
  StoreText(FName, name);
  StoreText(FFormula, formula);
  FDensity = density;
  FHeatCapacity = heatCapacity;
  FConductivity = conductivity;
  FViscosity = viscosity;
}

std::string TMyRecord::GetName() const { return LoadText(FName); }
std::string TMyRecord::GetFormula() const { return LoadText(FFormula); }

void TMyRecord::ToImage(unsigned char (&image)[ImageSize]) const {
  std::memcpy(image, FName, NameSize);
  std::memcpy(image + NameSize, FFormula, FormulaSize);
  PutFloat(image + FloatsOffset, FDensity);
  PutFloat(image + FloatsOffset + 4, FHeatCapacity);
  PutFloat(image + FloatsOffset + 8, FConductivity);
  PutFloat(image + FloatsOffset + 12, FViscosity);
}

TMyRecord TMyRecord::FromImage(const unsigned char (&image)[ImageSize]) {
  TMyRecord record;
  std::memcpy(record.FName, image, NameSize);
  std::memcpy(record.FFormula, image + NameSize, FormulaSize);
  record.FDensity = GetFloat(image + FloatsOffset);
  record.FHeatCapacity = GetFloat(image + FloatsOffset + 4);
  record.FConductivity = GetFloat(image + FloatsOffset + 8);
  record.FViscosity = GetFloat(image + FloatsOffset + 12);
  return record;
}
