#pragma once
// Recalculation of the ЛОРМ meter's coefficients A, B and N for a gas mixture: the
// body of the main window's action "Пересчитать". The mixture's heat capacity, thermal
// conductivity and viscosity are averaged from the gases' properties, compared with the
// values of air, and A and B are scaled by power laws of those ratios; N is carried over.
#include <string>

#include "app/Class_myrecord.h"

// What the recalculation reads from and writes to the main window. Every value is read
// when it is used (a percent text is read and converted again at each use).
class IRecalculationView {
public:
  virtual ~IRecalculationView() = default;
  // Text of the percent cell of gas `index` (mixture grid, column 2, row index + 1).
  virtual std::string PercentText(int index) = 0;
  virtual double DensityOfMix() = 0;   // mixture density spin edit
  virtual bool VolumePercent() = 0;    // the percent-mode check box is ticked
  virtual double OldA() = 0;
  virtual double OldB() = 0;
  virtual double OldN() = 0;
  virtual void SetNewA(double value) = 0;
  virtual void SetNewB(double value) = 0;
  virtual void SetNewN(double value) = 0;
};

// Reference values of air, as 32-bit floats (shown to the user by the main window).
namespace AirReference {
inline constexpr float Conductivity = 0.0262f; // W/(m·K)
inline constexpr float HeatCapacity = 1.05f;   // kJ/(kg·K)
inline constexpr float Viscosity = 1.71e-5f;   // Pa·s
inline constexpr float Density = 1.24f;        // kg/m³
} // namespace AirReference

namespace RecalculationMessages {
inline constexpr const char* Caption = "Пересчет коэффициентов ";
inline constexpr const char* NoMixture =
    "Перед началом расчета введите процентный состав газовой смеси.";
} // namespace RecalculationMessages

// Runs the recalculation. Without any non-zero share it shows the warning and returns
// false, writing nothing. A percent text that is not a number raises EConvertError before
// anything is written; floating-point faults raise EZeroDivide, EInvalidOp or EOverflow
// (a fault while B is computed leaves the new A written).
bool RecalculateCoefficients(const TRecordList& records, IRecalculationView& view);

// The three-decimal truncation used wherever a record value is shown or taken from a
// spin edit: floor(1000 · v) · 0.001, so a stored 1.05 (1.0499999523 as a float) gives
// 1.049 while 1.24 gives 1.24.
double TruncateTo3Decimals(long double value);
