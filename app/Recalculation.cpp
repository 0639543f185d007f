#include "app/Recalculation.h"

#include <cmath>

#include "platform/rtl/FloatCheck.h"
#include "platform/rtl/MessageService.h"
#include "platform/rtl/SysUtils.h"

namespace {
// Scale constants of the sums (extended precision): heat capacity per percent, thermal
// conductivity (unit 1e-3 W/(m·K)) per percent, viscosity (unit 1e-6 Pa·s) per percent.
constexpr long double HeatCapacityScale = 0.01L;
constexpr long double ConductivityScale = 1e-5L;
constexpr long double ViscosityScale = 1e-8L;
constexpr float PercentFactor = 100.0f;
constexpr double ExponentA = 0.2;
constexpr double ExponentB = 0.33;

long double Share(IRecalculationView& view, int index) {
  return StrToFloat(view.PercentText(index));
}

// The power function of the runtime: faults instead of silent NaN or infinity.
long double Power(double base, double exponent) {
  return CheckFloatResult(std::pow(base, exponent));
}

// Rounds an extended intermediate to a 32-bit float as a store into a float does; a value
// beyond the float range is an overflow.
float ToSingle(long double value) {
  const float result = static_cast<float>(CheckFloatResult(value));
  return static_cast<float>(CheckFloatResult(result));
}

double ToDouble(long double value) {
  const double result = static_cast<double>(CheckFloatResult(value));
  return static_cast<double>(CheckFloatResult(result));
}
} // namespace

bool RecalculateCoefficients(const TRecordList& records, IRecalculationView& view) {
  const int count = static_cast<int>(records.size());

  bool anyShare = false;
  for (int i = 0; i < count; ++i) {
    if (Share(view, i) != 0) anyShare = true;
  }
  if (!anyShare) {
    ShowMessageBox(RecalculationMessages::NoMixture, RecalculationMessages::Caption,
                   MB_ICONWARNING);
    return false;
  }

  const float densityOfMix = static_cast<float>(view.DensityOfMix());
  const bool volumePercent = view.VolumePercent();

  float sumDensity = 0, sumHeat = 0, sumConductivity = 0, sumViscosity = 0;
  if (!volumePercent) {
    for (int i = 0; i < count; ++i) {
      const TMyRecord& gas = records[i];
      sumHeat = ToSingle(Share(view, i) * (HeatCapacityScale * gas.HeatCapacity()) + sumHeat);
      sumConductivity =
          ToSingle(Share(view, i) * (ConductivityScale * gas.Conductivity()) + sumConductivity);
      sumViscosity =
          ToSingle(Share(view, i) * (ViscosityScale * gas.Viscosity()) + sumViscosity);
    }
  } else {
    for (int i = 0; i < count; ++i) {
      sumDensity = ToSingle(Share(view, i) * records[i].Density() + sumDensity);
    }
    for (int i = 0; i < count; ++i) {
      const TMyRecord& gas = records[i];
      // The weight percent of gas i.
      const float weight = ToSingle(
          FloatDivide(Share(view, i) * gas.Density(), sumDensity) * PercentFactor);
      sumHeat = ToSingle((HeatCapacityScale * gas.HeatCapacity()) * weight + sumHeat);
      sumConductivity =
          ToSingle((ConductivityScale * gas.Conductivity()) * weight + sumConductivity);
      sumViscosity = ToSingle((ViscosityScale * gas.Viscosity()) * weight + sumViscosity);
    }
  }

  using namespace AirReference;
  const long double conductivityRatio = FloatDivide(sumConductivity, Conductivity);
  const double base = ToDouble(
      FloatDivide(static_cast<long double>(sumHeat) * sumViscosity * Conductivity,
                  static_cast<long double>(HeatCapacity) * Viscosity * sumConductivity));

  const long double kA = CheckFloatResult(Power(base, ExponentA) * conductivityRatio);
  view.SetNewA(ToDouble(view.OldA() * kA));

  const double viscosityRatio =
      ToDouble(FloatDivide(static_cast<long double>(densityOfMix) * Viscosity,
                           static_cast<long double>(Density) * sumViscosity));
  const long double kB = CheckFloatResult(Power(viscosityRatio, view.OldN()) *
                                          Power(base, ExponentB) * conductivityRatio);
  view.SetNewB(ToDouble(view.OldB() * kB));

  view.SetNewN(view.OldN());
  return true;
}

double TruncateTo3Decimals(long double value) {
  const double scaled = static_cast<double>(1000.0L * value);
  return std::floor(scaled) * 0.001;
}
