// The two stored forms read into their windows: placement of every control, the spin edit
// settings, the grids' settings and headers, and the about box.
#include "MainWindowFixture.h"

#include "editors/DizSpin.h"
#include "grid/VezIdid.h"
#include "office/ZorOzirazIrezi.h"

namespace {

class StoredForms : public MainWindowTest {};

TEST_F(StoredForms, ControlsSitWhereTheMainWindowPlacesThem) {
  StartProgram();
  struct Case {
    const char* Name;
    const char* Parent;
    int Left, Top, Width, Height;  // -1: placed by the parent (status bar, tool bar)
  };
  const Case cases[] = {
      {"DizDockPanel1", "Form1", 0, 0, -1, 2},
      {"DizOfficeStatusBar1", "Form1", 0, 368, 611, 19},  // along the bottom edge
      {"ZorOzirazIrezi1", "Form1", 0, 2, 609, 365},
      {"RavUvure1", "DizOfficePage1", 14, 18, 263, 81},
      {"DizOfficeImage1", "RavUvure1", 4, 20, 32, 28},
      {"DizOfficeImage2", "RavUvure1", 92, 20, 32, 28},
      {"DizOfficeImage3", "RavUvure1", 180, 20, 32, 28},
      {"SpinOldA", "RavUvure1", 18, 48, 63, 22},
      {"SpinOldB", "RavUvure1", 102, 48, 63, 22},
      {"SpinOldN", "RavUvure1", 186, 48, 63, 22},
      {"RavUvure2", "DizOfficePage1", 15, 232, 262, 81},
      {"SpinNewN", "RavUvure2", 182, 48, 58, 22},
      {"SpinNewB", "RavUvure2", 100, 48, 67, 22},
      {"SpinNewA", "RavUvure2", 18, 48, 65, 22},
      {"Grid1", "DizOfficePage1", 296, 18, 293, 295},
      {"RavUvure3", "DizOfficePage1", 14, 109, 262, 114},
      {"SpinDensityOfMix", "RavUvure3", 28, 26, 83, 22},
      {"DizOfficeCheckBox1", "RavUvure3", 124, 28, 120, 20},
      {"Grid", "DizOfficePage2", 4, 4, 599, 291},
      {"Shape1", "Grid", 238, 32, 29, 1},
      {"Shape2", "Grid", 307, 32, 43, 1},
      {"Shape3", "Grid", 442, 38, 28, 1},
      {"RepairPanel", "DizOfficePage2", 7, 301, 595, 29},
      {"Edit1", "RepairPanel", 6, 5, 131, 21},
      {"Edit2", "RepairPanel", 142, 5, 75, 21},
      {"Spin1", "RepairPanel", 222, 4, 60, 22},
      {"Spin2", "RepairPanel", 288, 4, 87, 22},
      {"Spin3", "RepairPanel", 380, 4, 99, 22},
      {"Spin4", "RepairPanel", 484, 4, 87, 22},
  };
  for (const Case& c : cases) {
    auto* control = dynamic_cast<TControl*>(F->FindComponent(c.Name));
    ASSERT_NE(control, nullptr) << c.Name;
    ASSERT_NE(control->Parent(), nullptr) << c.Name;
    EXPECT_EQ(control->Parent()->Name(), c.Parent) << c.Name;
    EXPECT_EQ(control->Left(), c.Left) << c.Name;
    if (c.Top >= 0) EXPECT_EQ(control->Top(), c.Top) << c.Name;
    if (c.Width >= 0) EXPECT_EQ(control->Width(), c.Width) << c.Name;
    if (c.Height >= 0) EXPECT_EQ(control->Height(), c.Height) << c.Name;
  }
  // Shown, the spin edits of the database page keep the stored height: their edits
  // adjust to 21 from the font when their windows are made, and then keep their minimum.
  F->ZorOzirazIrezi1->SetActivePage(F->DizOfficePage2);
  FScope->Backend().Pump();
  for (TDizSpinEdit* spin : {F->Spin1, F->Spin2, F->Spin3, F->Spin4}) {
    EXPECT_TRUE(spin->HandleAllocated()) << spin->Name();
    EXPECT_EQ(spin->Height(), 22) << spin->Name();
  }
  EXPECT_EQ(F->Edit1->Height(), 21);
  EXPECT_EQ(F->Caption(), "Программа пересчета коэффициентов ЛОРМ");
  EXPECT_EQ(F->Width(), 619);
  EXPECT_EQ(F->Height(), 441);
  EXPECT_EQ(F->Left(), 690);
  EXPECT_EQ(F->Top(), 321);
  EXPECT_EQ(F->Constraints()->MinWidth(), 619);
  EXPECT_EQ(F->Constraints()->MaxHeight(), 441);
  EXPECT_FALSE(F->Icon()->GetEmpty());
  EXPECT_EQ(F->Edit1->Text(), " Нет названия");
  EXPECT_EQ(F->Edit2->Text(), " Нет");
  EXPECT_FALSE(F->TimerMoveRepairPanel->Enabled());
}

TEST_F(StoredForms, SpinEditsHaveTheirRangesAndDecimals) {
  StartProgram();
  struct Case {
    TDizSpinEdit* Spin;
    int Precision;
    double Min, Max, Increment;
    const char* Text;
    bool Enabled;
  };
  const Case cases[] = {
      {F->SpinOldA, 5, 1e-05, 10, 0.001, "0.00010", true},
      {F->SpinOldB, 5, 1e-05, 10, 0.001, "0.00010", true},
      {F->SpinNewA, 5, 1e-05, 10, 0.001, "0.00010", true},
      {F->SpinNewB, 5, 1e-05, 10, 0.001, "0.00010", true},
      {F->SpinOldN, 4, 0.0001, 10, 0.001, "0.0001", true},
      {F->SpinNewN, 4, 0.0001, 10, 0.001, "0.0001", false},
      {F->SpinDensityOfMix, 4, 0.0001, 10, 0.001, "0.0001", true},
      {F->Spin1, 3, 0.001, 200, 0.1, "0.001", true},
      {F->Spin2, 3, 0.001, 1000, 0.01, "0.001", true},
      {F->Spin3, 3, 0.001, 1000, 0.01, "0.001", true},
      {F->Spin4, 3, 0.001, 1000, 0.01, "0.001", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Spin->Precision(), c.Precision) << c.Spin->Name();
    EXPECT_DOUBLE_EQ(c.Spin->MinFloatValue(), c.Min) << c.Spin->Name();
    EXPECT_DOUBLE_EQ(c.Spin->MaxFloatValue(), c.Max) << c.Spin->Name();
    EXPECT_DOUBLE_EQ(c.Spin->IncrementFloat(), c.Increment) << c.Spin->Name();
    EXPECT_EQ(c.Spin->Text(), c.Text) << c.Spin->Name();
    EXPECT_EQ(c.Spin->Enabled(), c.Enabled) << c.Spin->Name();
    EXPECT_TRUE(c.Spin->SpinFlat()) << c.Spin->Name();
  }
  EXPECT_EQ(F->Spin1->MaxValue(), 50);
  EXPECT_TRUE(F->Spin2->IncrementSmart());
  EXPECT_EQ(F->Spin4->MaxValue(), 1000);
  // The value setter clamps to the range and shows the edit's decimals.
  F->SpinNewA->SetFloatValue(12.5);
  EXPECT_EQ(F->SpinNewA->Text(), "10.00000");
  F->SpinNewA->SetFloatValue(1e-7);
  EXPECT_EQ(F->SpinNewA->Text(), "0.00001");
}

TEST_F(StoredForms, GridsShareTheirSettingsButColumnsAndHeaders) {
  StartProgram();
  EXPECT_EQ(F->Grid1->ColCount(), 3);
  EXPECT_EQ(F->Grid->ColCount(), 6);
  const std::vector<int> widths1 = {141, 76, 53}, widths = {141, 79, 65, 93, 114, 85};
  for (int c = 0; c < 3; ++c) EXPECT_EQ(F->Grid1->ColWidths(c), widths1[static_cast<size_t>(c)]) << c;
  for (int c = 0; c < 6; ++c) EXPECT_EQ(F->Grid->ColWidths(c), widths[static_cast<size_t>(c)]) << c;
  for (TDavEvadurAvuz* g : {F->Grid1, F->Grid}) {
    EXPECT_EQ(g->FixedRows(), 1);
    EXPECT_EQ(g->FixedCols(), 2);
    EXPECT_EQ(g->DefaultRowHeight(), 20);
    EXPECT_EQ(g->RowHeights(0), 55);
    EXPECT_EQ(g->RowHeights(1), 20);
    EXPECT_EQ(g->ScrollBars(), ssVertical);
    EXPECT_EQ(g->Look(), glOffice2007);
    EXPECT_EQ(g->FixedFont()->GetName(), "ArnoldBoeD");
    EXPECT_EQ(g->FixedFont()->GetColor(), clNavy);
    EXPECT_TRUE(g->ActiveCellFont()->GetStyle().Contains(fsBold));
    EXPECT_EQ(g->GridLineColor(), 15855083);
    EXPECT_EQ(g->FloatFormat, "%.2f");
    EXPECT_TRUE(g->Navigation()->AllowInsertRow);
    EXPECT_FALSE(g->Navigation()->AllowClipboardRowGrow);
    EXPECT_EQ(g->SortSettings()->Column, 1);
    EXPECT_EQ(g->SortSettings()->BlankPos, blLast);
    EXPECT_TRUE(static_cast<bool>(g->OnSelectCell));
  }
  EXPECT_TRUE(static_cast<bool>(F->Grid1->OnKeyPress));
  EXPECT_FALSE(static_cast<bool>(F->Grid->OnKeyPress));
  EXPECT_TRUE(F->Grid->ActiveRowShow());
  EXPECT_FALSE(F->Grid1->ActiveRowShow());
  ASSERT_EQ(F->Grid->ColumnHeaders()->Count(), 7);
  EXPECT_EQ(F->Grid->ColumnHeaders()->Strings(6), "");
  EXPECT_EQ(F->Grid1->ColumnHeaders()->Strings(2),
            "<FONT face=\"Times New Roman\" size=\"10\" color=\"clBlack\" ><BR><B>Процент</B></FONT>");
}

}  // namespace
