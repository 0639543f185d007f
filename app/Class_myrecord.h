#pragma once
// One gas of the database: name, chemical formula and four physical properties.
// The record is a plain 56-byte value and is at once the element of the record list and
// the record image of the .cnv gas database file.
#include <cstddef>
#include <string>
#include <vector>

class TMyRecord {
public:
  static constexpr std::size_t NameSize = 30;
  static constexpr std::size_t FormulaSize = 10;
  static constexpr std::size_t ImageSize = 56;

  // Copies the raw fields out of the record: the 30 name bytes and 10 formula bytes as
  // they are stored (Windows-1251, zero-padded, unterminated when full) and the floats.
  void GetFields(char (&name)[NameSize], char (&formula)[FormulaSize], float& density,
                 float& heatCapacity, float& conductivity, float& viscosity) const;

  // Fills the record. The texts are UTF-8; they are stored in Windows-1251, cut to the
  // field's width in that encoding and zero-padded when shorter.
  void SetFields(const std::string& name, const std::string& formula, float density,
                 float heatCapacity, float conductivity, float viscosity);

  // The text fields read up to their first zero byte (or whole), converted to UTF-8.
  std::string GetName() const;
  std::string GetFormula() const;

  float Density() const { return FDensity; }
  float HeatCapacity() const { return FHeatCapacity; }
  float Conductivity() const { return FConductivity; }
  float Viscosity() const { return FViscosity; }

  // The 56-byte little-endian file image of the record, and back.
  void ToImage(unsigned char (&image)[ImageSize]) const;
  static TMyRecord FromImage(const unsigned char (&image)[ImageSize]);

  bool operator==(const TMyRecord&) const = default;

private:
  char FName[NameSize] = {};
  char FFormula[FormulaSize] = {};
  float FDensity = 0;
  float FHeatCapacity = 0;
  float FConductivity = 0;
  float FViscosity = 0;
};

static_assert(sizeof(TMyRecord) == TMyRecord::ImageSize, "TMyRecord must stay a 56-byte value");

// The ordered record list: list order is display order and file order.
using TRecordList = std::vector<TMyRecord>;
