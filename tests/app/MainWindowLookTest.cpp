// Pictures of the main window and the about box as the user sees them, saved under the
// build folder for a look, with a few pixel checks of the layout.
#include "MainWindowFixture.h"

#include "editors/DizSpin.h"
#include "grid/VezIdid.h"
#include "office/DizOfficeButtons.h"
#include "office/ZorOzirazIrezi.h"

namespace {

class MainWindowLook : public MainWindowTest {
protected:
  std::string SnapshotPath(const std::string& name) {
    std::filesystem::create_directories(FOldDir / "snapshots");
    return (FOldDir / "snapshots" / name).string();
  }
};

TEST_F(MainWindowLook, BothPagesWithFiveGasesAndARecalculation) {
  TRecordList gases = {Gas("Метан", "CH4", 0.717f, 2.22f, 30.6f, 10.3f),
                       Gas("Этан", "C2H6", 1.356f, 1.75f, 18.6f, 8.6f),
                       Gas("Азот", "N2", 1.251f, 1.04f, 24.3f, 17.0f),
                       Gas("Диоксид углерода", "CO2", 1.977f, 0.84f, 14.7f, 14.0f),
                       Gas("Пропан", "C3H8", 2.019f, 1.67f, 15.1f, 7.5f)};
  WriteBase("converting.cnv", gases);
  StartProgram();
  ASSERT_EQ(Rows(F->Grid), 6);
  for (int row = 1; row <= 5; ++row) F->Grid1->SetCellEx(2, row, row == 1 ? "80" : "5");
  F->SpinOldA->SetFloatValue(1.2);
  F->SpinOldB->SetFloatValue(0.8);
  F->SpinOldN->SetFloatValue(0.5);
  F->SpinDensityOfMix->SetFloatValue(0.85);
  F->ActionConvertingExecute(nullptr);
  EXPECT_TRUE(SaveWindowPng(F->Handle(), SnapshotPath("main-recalculation.png")));
  F->ZorOzirazIrezi1->SetActivePage(F->DizOfficePage2);
  FScope->Backend().Pump();
  EXPECT_TRUE(SaveWindowPng(F->Handle(), SnapshotPath("main-database.png")));
  // Percent by volume: the check box's caption stays on one line in its 120 pixels.
  F->ZorOzirazIrezi1->SetActivePage(F->DizOfficePage1);
  FScope->Backend().Pump();
  FRobot.Click(F->DizOfficeCheckBox1->Handle(), 6, 10);
  FScope->Backend().Pump();
  ASSERT_TRUE(F->DizOfficeCheckBox1->GetChecked());
  EXPECT_EQ(F->DizOfficeCheckBox1->Caption(), "Обьемные проценты");
  // "проценты" is drawn on the first line, right of "Обьемные" (which ends near x = 64).
  F->DizOfficeCheckBox1->Repaint();
  int darkRight = 0;
  for (int y = 4; y < 17; ++y)
    for (int x = 70; x < F->DizOfficeCheckBox1->Width(); ++x) {
      const TColor c = WindowPixel(F->DizOfficeCheckBox1->Handle(), x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) darkRight = std::max(darkRight, x);
    }
  EXPECT_GT(darkRight, 100);
  EXPECT_LT(darkRight, F->DizOfficeCheckBox1->Width());
  EXPECT_TRUE(SaveWindowPng(F->Handle(), SnapshotPath("main-recalculation-checked.png")));
  F->ZorOzirazIrezi1->SetActivePage(F->DizOfficePage2);
  FScope->Backend().Pump();
  EXPECT_TRUE(SaveWindowPng(F->Handle(), SnapshotPath("main-database-checked.png")));
  bool shown = false;
  TModalResponder previous = SetModalResponder([&](TCustomForm* form) {
    shown = form == FormAbout;
    EXPECT_TRUE(SaveWindowPng(form->Handle(), SnapshotPath("about.png")));
    form->SetModalResult(mrOk);
  });
  F->N10Click(nullptr);
  SetModalResponder(previous);
  EXPECT_TRUE(shown);
}

}  // namespace

namespace {

// The density header is "Плотность" in bold Times New Roman 10 over its units in navy:
// the name fits its 65-pixel column on the first line, so the unit lines below are drawn.
TEST_F(MainWindowLook, DensityHeaderShowsItsUnitsUnderTheName) {
  StartProgram();
  F->ZorOzirazIrezi1->SetActivePage(F->DizOfficePage2);
  FScope->Backend().Pump();
  F->Grid->Repaint();
  const TRect cell = F->Grid->CellRect(2, 0);
  int navy = 0, firstNavyRow = -1;
  for (int y = cell.Top; y < cell.Bottom; ++y)
    for (int x = cell.Left; x < cell.Right; ++x)
      if (WindowPixel(F->Grid->Handle(), x, y) == RGB(0, 0, 128)) {
        ++navy;
        if (firstNavyRow < 0) firstNavyRow = y - cell.Top;
      }
  EXPECT_GT(navy, 20);
  EXPECT_GT(firstNavyRow, 12);  // below the name's line
}

}  // namespace
