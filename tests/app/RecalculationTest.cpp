#include "app/Recalculation.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/MessageService.h"
#include "platform/rtl/SysUtils.h"

namespace {
TMyRecord Gas(float density, float heat, float conductivity, float viscosity) {
  TMyRecord record;
  record.SetFields("gas", "", density, heat, conductivity, viscosity);
  return record;
}

const TMyRecord Air = Gas(1.24f, 1.05f, 26.2f, 17.1f);
const TMyRecord Methane = Gas(0.717f, 2.22f, 30.6f, 10.3f);

// The main window as the recalculation sees it.
class FakeView : public IRecalculationView {
public:
  std::vector<std::string> Percents;
  double Density = 1.24, A = 1, B = 1, N = 0.5;
  bool Volume = false;
  std::optional<double> NewA, NewB, NewN;
  int PercentReads = 0;

  std::string PercentText(int index) override {
    ++PercentReads;
    return Percents.at(static_cast<std::size_t>(index));
  }
  double DensityOfMix() override { return Density; }
  bool VolumePercent() override { return Volume; }
  double OldA() override { return A; }
  double OldB() override { return B; }
  double OldN() override { return N; }
  void SetNewA(double v) override { NewA = v; }
  void SetNewB(double v) override { NewB = v; }
  void SetNewN(double v) override { NewN = v; }
  bool NothingWritten() const { return !NewA && !NewB && !NewN; }
};

class RecalculationTest : public ::testing::Test {
protected:
  TFormatSettingsScope Locale{DefaultFormatSettings()};
  TMessageBoxRecorder Boxes;
};
} // namespace

TEST_F(RecalculationTest, WithoutAnyShareWarnsAndWritesNothing) {
  struct Case { const char* label; TRecordList records; std::vector<std::string> percents; };
  for (const Case& c : {Case{"empty list", {}, {}}, Case{"all zero", {Air, Methane}, {"0", "0.0"}}}) {
    SCOPED_TRACE(c.label);
    Boxes.Clear();
    FakeView view;
    view.Percents = c.percents;
    EXPECT_FALSE(RecalculateCoefficients(c.records, view));
    EXPECT_TRUE(view.NothingWritten());
    EXPECT_EQ(Boxes.Shown(), (std::vector<TRecordedMessageBox>{
                                 {RecalculationMessages::NoMixture, RecalculationMessages::Caption, 0x30}}));
  }
}

TEST_F(RecalculationTest, AirAloneGivesTheOldCoefficientsInBothPercentModes) {
  for (bool volume : {false, true}) {
    SCOPED_TRACE(volume ? "volume" : "weight");
    FakeView view;
    view.Percents = {"100"};
    view.Volume = volume;
    view.A = 2.5;
    view.B = 0.75;
    view.N = 0.4;
    ASSERT_TRUE(RecalculateCoefficients({Air}, view));
    EXPECT_NEAR(*view.NewA, 2.5, 2.5 * 1e-6);
    EXPECT_NEAR(*view.NewB, 0.75, 0.75 * 1e-6);
    EXPECT_EQ(*view.NewN, 0.4);
  }
  EXPECT_TRUE(Boxes.Shown().empty());
}

TEST_F(RecalculationTest, SharesNeedNotAddUpToOneHundred) {
  FakeView view;
  view.Percents = {"0", "10"};
  view.Density = 0.717;
  ASSERT_TRUE(RecalculateCoefficients({Air, Methane}, view));
  EXPECT_TRUE(view.NewA && view.NewB && view.NewN);
}

TEST_F(RecalculationTest, MixtureMatchesTheHandComputedCoefficients) {
  struct Case { bool volume; double kA, kB; };
  for (const Case& c : {Case{false, 1.1148699813088407, 1.1391628501978681},
                        Case{true, 1.0884389384597075, 1.0748636931256954}}) {
    SCOPED_TRACE(c.volume ? "volume" : "weight");
    FakeView view;
    view.Percents = {"50", "50"};
    view.Volume = c.volume;
    view.Density = 1.0;
    view.A = 2;
    view.B = 3;
    view.N = 0.5;
    ASSERT_TRUE(RecalculateCoefficients({Air, Methane}, view));
    EXPECT_NEAR(*view.NewA, 2 * c.kA, 1e-5);
    EXPECT_NEAR(*view.NewB, 3 * c.kB, 1e-5);
    EXPECT_EQ(*view.NewN, 0.5);
  }
}

TEST_F(RecalculationTest, SingleGasGivesTheSameResultInWeightAndVolumePercent) {
  FakeView weight, volume;
  weight.Percents = volume.Percents = {"100"};
  volume.Volume = true;
  ASSERT_TRUE(RecalculateCoefficients({Methane}, weight));
  ASSERT_TRUE(RecalculateCoefficients({Methane}, volume));
  EXPECT_NEAR(*weight.NewA, *volume.NewA, 1e-6);
  EXPECT_NEAR(*weight.NewB, *volume.NewB, 1e-6);
}

TEST_F(RecalculationTest, PercentsFollowTheLocaleDecimalSeparator) {
  TFormatSettings german = DefaultFormatSettings();
  german.DecimalSeparator = ',';
  TFormatSettingsScope scope(german);
  FakeView view;
  view.Percents = {"99,5"};
  ASSERT_TRUE(RecalculateCoefficients({Air}, view));
  FakeView dotted;
  dotted.Percents = {"99.5"};
  EXPECT_THROW(RecalculateCoefficients({Air}, dotted), EConvertError);
  EXPECT_TRUE(dotted.NothingWritten());
}

TEST_F(RecalculationTest, TextThatIsNotANumberRaisesBeforeAnythingIsWritten) {
  for (const char* text : {"", "abc", "1,2,3"}) {
    SCOPED_TRACE(text);
    FakeView view;
    view.Percents = {"50", text};
    EXPECT_THROW(RecalculateCoefficients({Air, Methane}, view), EConvertError);
    EXPECT_TRUE(view.NothingWritten());
  }
}

TEST_F(RecalculationTest, ZeroConductivityFaultsBeforeAnyResultIsWritten) {
  FakeView view;
  view.Percents = {"100"};
  EXPECT_THROW(RecalculateCoefficients({Gas(1.24f, 1.05f, 0, 17.1f)}, view), EZeroDivide);
  EXPECT_TRUE(view.NothingWritten());
}

TEST_F(RecalculationTest, ZeroViscosityFaultsInTheSecondStepAndLeavesTheNewAWritten) {
  FakeView view;
  view.Percents = {"100"};
  EXPECT_THROW(RecalculateCoefficients({Gas(1.24f, 1.05f, 26.2f, 0)}, view), EZeroDivide);
  EXPECT_TRUE(view.NewA.has_value());
  EXPECT_FALSE(view.NewB.has_value());
  EXPECT_FALSE(view.NewN.has_value());
}

TEST_F(RecalculationTest, VolumePercentWithoutAnyDensityIsAFloatingPointFault) {
  FakeView view;
  view.Percents = {"100"};
  view.Volume = true;
  EXPECT_THROW(RecalculateCoefficients({Gas(0, 1.05f, 26.2f, 17.1f)}, view), EMathError);
  EXPECT_TRUE(view.NothingWritten());
}

TEST_F(RecalculationTest, NegativeSharesGivingANegativeBaseAreAnInvalidOperation) {
  FakeView view;
  // base = (S_c·S_μ·λ)/(c·μ·S_λ) stays positive for one gas, so use two gases whose
  // conductivity sum goes negative while heat capacity stays positive.
  view.Percents = {"100", "-90"};
  EXPECT_THROW(RecalculateCoefficients({Gas(1, 1, 1, 10), Gas(1, 0.1f, 30, 1)}, view), EInvalidOp);
}

TEST(TruncateTo3Decimals, ShowsThe32BitValueCutToThreeDecimals) {
  TFormatSettingsScope scope(DefaultFormatSettings());
  struct Case { float stored; const char* shown; };
  for (const Case& c : {Case{1.05f, "1.049"}, Case{1.24f, "1.24"}, Case{1.234f, "1.233"},
                        Case{26.2f, "26.2"}, Case{0.0f, "0"}, Case{17.1f, "17.1"},
                        Case{1000.0f, "1000"}, Case{0.0005f, "0"}}) {
    SCOPED_TRACE(c.stored);
    EXPECT_EQ(FloatToStr(TruncateTo3Decimals(c.stored)), c.shown);
  }
}
