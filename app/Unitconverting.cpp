#include "app/Unitconverting.h"

#include <utility>

#include "app/GasBaseFile.h"
#include "app/Recalculation.h"
#include "app/Unitabout.h"
#include "editors/DizSpin.h"
#include "foundation/DizAppStyler.h"
#include "grid/VezIdid.h"
#include "label/VxBehaviorLabel.h"
#include "menus/DovAvarOrodez.h"
#include "office/DizOfficeButtons.h"
#include "office/DizOfficeImage.h"
#include "office/DizOfficeStatusBar.h"
#include "office/DizOfficeStatusBarStylers.h"
#include "office/RavUvure.h"
#include "office/ZorOzirazIrezi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/MessageService.h"
#include "platform/rtl/SysUtils.h"

TForm1* Form1 = nullptr;

TRecordList& GasRecords() {
  static TRecordList records;
  return records;
}

namespace {

// A number typed by the user: either "," or "." marks the decimals, whatever the
// locale's separator is; surrounding blanks are ignored.
bool ReadUserNumber(const std::string& text, long double& value) {
  std::string s = Trim(text);
  const char separator = FormatSettings().DecimalSeparator;
  for (char& c : s) {
    if (c == ',' || c == '.') c = separator;
  }
  Extended v = 0;
  if (!TryStrToFloat(s, v)) return false;
  value = v;
  return true;
}

// The window as the recalculation sees it. The shares are read from the mixture grid (an
// empty share counts as 0, a share that is no number names its gas); the results are held
// back and written only once A, B and N are all computed.
class TMainWindowRecalculation : public IRecalculationView {
public:
  explicit TMainWindowRecalculation(TForm1& form) : FForm(form) {}

  std::string PercentText(int index) override {
    const std::string text = FForm.Grid1->GetCellEx(2, index + 1);
    if (Trim(text).empty()) return "0";
    long double value = 0;
    if (!ReadUserNumber(text, value)) {
      const auto& records = GasRecords();
      const std::string name = index >= 0 && index < static_cast<int>(records.size())
                                   ? Trim(records[static_cast<size_t>(index)].GetName())
                                   : std::string();
      throw EConvertError("Процент газа \"" + name + "\" (строка " + std::to_string(index + 1) +
                          ") не является числом: '" + text + "'");
    }
    return FloatToStr(value);
  }

  double DensityOfMix() override {
    const std::string text = FForm.SpinDensityOfMix->Text();
    if (Trim(text).empty()) return 0;
    long double value = 0;
    if (!ReadUserNumber(text, value)) {
      throw EConvertError("Плотность газовой смеси не является числом: '" + text + "'");
    }
    return static_cast<double>(value);
  }

  bool VolumePercent() override { return FForm.DizOfficeCheckBox1->GetChecked(); }
  double OldA() override { return FForm.SpinOldA->GetFloatValue(); }
  double OldB() override { return FForm.SpinOldB->GetFloatValue(); }
  double OldN() override { return FForm.SpinOldN->GetFloatValue(); }
  void SetNewA(double value) override { FNewA = value; }
  void SetNewB(double value) override { FNewB = value; }
  void SetNewN(double value) override { FNewN = value; }

  void WriteResults() {
    FForm.SpinNewA->SetFloatValue(FNewA);
    FForm.SpinNewB->SetFloatValue(FNewB);
    FForm.SpinNewN->SetFloatValue(FNewN);
  }

private:
  TForm1& FForm;
  double FNewA = 0, FNewB = 0, FNewN = 0;
};

}  // namespace

void TForm1::Publish(TClassBuilder<TForm1>& P) {
  P.Field("ZorOzirazIrezi1", &TForm1::ZorOzirazIrezi1)
      .Field("DizOfficePage1", &TForm1::DizOfficePage1)
      .Field("DizOfficePage2", &TForm1::DizOfficePage2)
      .Field("DovAvarOrodez1", &TForm1::DovAvarOrodez1)
      .Field("DizOfficeStatusBar1", &TForm1::DizOfficeStatusBar1)
      .Field("RavUvure1", &TForm1::RavUvure1)
      .Field("RavUvure2", &TForm1::RavUvure2)
      .Field("RavUvure3", &TForm1::RavUvure3)
      .Field("DizOfficeImage1", &TForm1::DizOfficeImage1)
      .Field("DizOfficeImage2", &TForm1::DizOfficeImage2)
      .Field("DizOfficeImage3", &TForm1::DizOfficeImage3)
      .Field("DizOfficeImage4", &TForm1::DizOfficeImage4)
      .Field("DizOfficeImage5", &TForm1::DizOfficeImage5)
      .Field("DizOfficeImage6", &TForm1::DizOfficeImage6)
      .Field("SpinOldA", &TForm1::SpinOldA)
      .Field("SpinOldB", &TForm1::SpinOldB)
      .Field("SpinOldN", &TForm1::SpinOldN)
      .Field("SpinNewA", &TForm1::SpinNewA)
      .Field("SpinNewB", &TForm1::SpinNewB)
      .Field("SpinNewN", &TForm1::SpinNewN)
      .Field("SpinDensityOfMix", &TForm1::SpinDensityOfMix)
      .Field("Grid1", &TForm1::Grid1)
      .Field("Grid", &TForm1::Grid)
      .Field("VxBehaviorLabel1", &TForm1::VxBehaviorLabel1)
      .Field("VxBehaviorLabel2", &TForm1::VxBehaviorLabel2)
      .Field("VxBehaviorLabel3", &TForm1::VxBehaviorLabel3)
      .Field("VxBehaviorLabel4", &TForm1::VxBehaviorLabel4)
      .Field("VxBehaviorLabel5", &TForm1::VxBehaviorLabel5)
      .Field("DizOfficeCheckBox1", &TForm1::DizOfficeCheckBox1)
      .Field("Shape1", &TForm1::Shape1)
      .Field("Shape2", &TForm1::Shape2)
      .Field("Shape3", &TForm1::Shape3)
      .Field("Edit1", &TForm1::Edit1)
      .Field("Edit2", &TForm1::Edit2)
      .Field("Spin1", &TForm1::Spin1)
      .Field("Spin2", &TForm1::Spin2)
      .Field("Spin3", &TForm1::Spin3)
      .Field("Spin4", &TForm1::Spin4)
      .Field("File1", &TForm1::File1)
      .Field("New1", &TForm1::New1)
      .Field("N1", &TForm1::N1)
      .Field("N2", &TForm1::N2)
      .Field("N7", &TForm1::N7)
      .Field("N11", &TForm1::N11)
      .Field("N12", &TForm1::N12)
      .Field("N13", &TForm1::N13)
      .Field("N14", &TForm1::N14)
      .Field("N15", &TForm1::N15)
      .Field("N16", &TForm1::N16)
      .Field("N17", &TForm1::N17)
      .Field("N3", &TForm1::N3)
      .Field("N4", &TForm1::N4)
      .Field("N5", &TForm1::N5)
      .Field("N6", &TForm1::N6)
      .Field("N8", &TForm1::N8)
      .Field("N10", &TForm1::N10)
      .Field("N18", &TForm1::N18)
      .Field("N19", &TForm1::N19)
      .Field("N20", &TForm1::N20)
      .Field("N21", &TForm1::N21)
      .Field("N22", &TForm1::N22)
      .Field("N23", &TForm1::N23)
      .Field("DizOfficeStatusBarOfficeStyler1", &TForm1::DizOfficeStatusBarOfficeStyler1)
      .Field("DizFormStyler1", &TForm1::DizFormStyler1)
      .Field("DizFormStyler2", &TForm1::DizFormStyler2)
      .Field("ActionList", &TForm1::ActionList)
      .Field("ActionNew", &TForm1::ActionNew)
      .Field("ActionConfig", &TForm1::ActionConfig)
      .Field("ActionDelete", &TForm1::ActionDelete)
      .Field("ActionMoveForward", &TForm1::ActionMoveForward)
      .Field("ActionBackward", &TForm1::ActionBackward)
      .Field("ActionRefresh", &TForm1::ActionRefresh)
      .Field("ActionLoad", &TForm1::ActionLoad)
      .Field("ActionSave", &TForm1::ActionSave)
      .Field("ActionConverting", &TForm1::ActionConverting)
      .Field("TimerMoveRepairPanel", &TForm1::TimerMoveRepairPanel)
      .Field("OpenDialog1", &TForm1::OpenDialog1)
      .Field("SaveDialog1", &TForm1::SaveDialog1)
      .Handler("FormShow", &TForm1::FormShow)
      .Handler("FormClose", &TForm1::FormClose)
      .Handler("ActionRefreshExecute", &TForm1::ActionRefreshExecute)
      .Handler("ActionNewExecute", &TForm1::ActionNewExecute)
      .Handler("ActionConfigExecute", &TForm1::ActionConfigExecute)
      .Handler("ActionDeleteExecute", &TForm1::ActionDeleteExecute)
      .Handler("ActionMoveForwardExecute", &TForm1::ActionMoveForwardExecute)
      .Handler("ActionBackwardExecute", &TForm1::ActionBackwardExecute)
      .Handler("ActionLoadExecute", &TForm1::ActionLoadExecute)
      .Handler("ActionSaveExecute", &TForm1::ActionSaveExecute)
      .Handler("ActionConvertingExecute", &TForm1::ActionConvertingExecute)
      .Handler("GridSelectCell", &TForm1::GridSelectCell)
      .Handler("Grid1KeyPress", &TForm1::Grid1KeyPress)
      .Handler("DizOfficeCheckBox1Click", &TForm1::DizOfficeCheckBox1Click)
      .Handler("N10Click", &TForm1::N10Click)
      .Handler("N7Click", &TForm1::N7Click);
  PublishMenus(P);
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  ReadStoredForm();
  FSelectedCol = 1;
  FSelectedRow = 1;
  DizOfficeCheckBox1Click(DizOfficeCheckBox1);
}

// ---- the database file ------------------------------------------------------------------
bool TForm1::LoadGasBase(const std::string& FileName) {
  return ::LoadGasBase(FileName, GasRecords(), [this] { ActionRefreshExecute(this); });
}

bool TForm1::SaveGasBase(const std::string& FileName) { return ::SaveGasBase(FileName, GasRecords()); }

void TForm1::FormShow(TObject*) { LoadGasBase(DefaultGasBaseFile); }

void TForm1::FormClose(TObject*, TCloseAction&) { SaveGasBase(DefaultGasBaseFile); }

void TForm1::ActionLoadExecute(TObject*) {
  if (OpenDialog1->Execute()) LoadGasBase(OpenDialog1->FileName());
}

void TForm1::ActionSaveExecute(TObject*) {
  if (SaveDialog1->Execute()) SaveGasBase(SaveDialog1->FileName());
}

// ---- the grids ------------------------------------------------------------------------------
void TForm1::ActionRefreshExecute(TObject*) {
  Grid->SetRowCountEx(1);
  Grid1->SetRowCountEx(1);
  const TRecordList& records = GasRecords();
  for (size_t i = 0; i < records.size(); ++i) {
    const TMyRecord& r = records[i];
    const int row = static_cast<int>(i) + 1;
    Grid->SetRowCountEx(Grid->GetRowCountEx() + 1);
    Grid->SetCellEx(0, row, r.GetName());
    Grid->SetCellEx(1, row, r.GetFormula());
    Grid->SetCellEx(2, row, FloatToStr(TruncateTo3Decimals(r.Density())));
    Grid->SetCellEx(3, row, FloatToStr(TruncateTo3Decimals(r.HeatCapacity())));
    Grid->SetCellEx(4, row, FloatToStr(TruncateTo3Decimals(r.Conductivity())));
    Grid->SetCellEx(5, row, FloatToStr(TruncateTo3Decimals(r.Viscosity())));
    Grid1->SetRowCountEx(Grid1->GetRowCountEx() + 1);
    Grid1->SetCellEx(0, row, r.GetName());
    Grid1->SetCellEx(1, row, r.GetFormula());
    Grid1->SetCellEx(2, row, "0");
  }
}

bool TForm1::NamesRecord(int Row) const {
  return Row >= 1 && Row <= static_cast<int>(GasRecords().size());
}

void TForm1::GridSelectCell(TObject*, int ACol, int ARow, bool&) {
  // Rows without a record (the header, the empty row shown before the first refresh, rows
  // the grid's own navigation adds) select nothing.
  if (!NamesRecord(ARow)) return;
  FSelectedCol = ACol;
  FSelectedRow = ARow;
  LoadEditorStrip(GasRecords()[static_cast<size_t>(ARow - 1)]);
}

void TForm1::Grid1KeyPress(TObject*, char32_t& Key) {
  const bool passes = Key == 8 || Key == U',' || Key == U'.' || (Key >= U'0' && Key <= U'9');
  if (!passes) Key = 0;
}

void TForm1::DizOfficeCheckBox1Click(TObject*) {
  DizOfficeCheckBox1->SetCaption(DizOfficeCheckBox1->GetChecked() ? MainWindowMessages::VolumePercent
                                                                   : MainWindowMessages::WeightPercent);
}

// ---- the editor strip -------------------------------------------------------------------
TDizSpinEdit* TForm1::StripSpin(int Index) const {
  switch (Index) {
    case 0: return Spin1;
    case 1: return Spin2;
    case 2: return Spin3;
    default: return Spin4;
  }
}

void TForm1::LoadEditorStrip(const TMyRecord& Record) {
  Edit1->SetText(Record.GetName());
  Edit2->SetText(Record.GetFormula());
  const float values[4] = {Record.Density(), Record.HeatCapacity(), Record.Conductivity(),
                           Record.Viscosity()};
  for (int k = 0; k < 4; ++k) {
    TDizSpinEdit* spin = StripSpin(k);
    spin->SetFloatValue(TruncateTo3Decimals(values[k]));
    FShown[k].Valid = true;
    FShown[k].Text = spin->Text();
    FShown[k].Stored = values[k];
  }
}

float TForm1::StripValue(int Index, bool RoundFirst) {
  TDizSpinEdit* spin = StripSpin(Index);
  // The text still shows the selected record's value, cut to three decimals for display:
  // that record's stored value is meant, not the cut one.
  if (FShown[Index].Valid && spin->Text() == FShown[Index].Text) return FShown[Index].Stored;
  double value = spin->GetFloatValue();
  if (RoundFirst) value = static_cast<float>(value);
  return static_cast<float>(TruncateTo3Decimals(value));
}

TMyRecord TForm1::RecordFromStrip(bool RoundDensityFirst) {
  TMyRecord record;
  record.SetFields(Edit1->Text(), Edit2->Text(), StripValue(0, RoundDensityFirst), StripValue(1, false),
                   StripValue(2, false), StripValue(3, false));
  return record;
}

// ---- record editing ---------------------------------------------------------------------------
void TForm1::ActionNewExecute(TObject*) {
  TRecordList& records = GasRecords();
  const TMyRecord record = RecordFromStrip(true);
  // Before the selected record; a selection past the list appends.
  int index = FSelectedRow - 1;
  if (index < 0) index = 0;
  if (index > static_cast<int>(records.size())) index = static_cast<int>(records.size());
  records.insert(records.begin() + index, record);
  ActionRefreshExecute(this);
}

void TForm1::ActionConfigExecute(TObject*) {
  if (!NamesRecord(FSelectedRow)) return;
  GasRecords()[static_cast<size_t>(FSelectedRow - 1)] = RecordFromStrip(false);
  ActionRefreshExecute(this);
}

void TForm1::ActionDeleteExecute(TObject*) {
  TRecordList& records = GasRecords();
  if (records.empty()) return;
  const int size = static_cast<int>(records.size());
  if (FSelectedRow > size) FSelectedRow = size;
  if (FSelectedRow < 1) FSelectedRow = 1;
  try {
    records.erase(records.begin() + (FSelectedRow - 1));
  } catch (...) {
    ShowMessageBox(MainWindowMessages::DeleteError, MainWindowMessages::DeleteCaption, MB_OK | MB_ICONSTOP);
  }
  ActionRefreshExecute(this);
}

void TForm1::MoveRecord(int Index, int Direction) {
  TRecordList& records = GasRecords();
  const int size = static_cast<int>(records.size());
  int newRow = 0;
  if (Direction == 1) {
    if (Index <= 0 || Index >= size) return;
    std::swap(records[static_cast<size_t>(Index)], records[static_cast<size_t>(Index - 1)]);
    newRow = Index;
  } else {
    if (Index < 0 || Index >= size - 1) return;
    std::swap(records[static_cast<size_t>(Index)], records[static_cast<size_t>(Index + 1)]);
    newRow = Index + 2;
  }
  FSelectedRow = newRow;
  if (newRow < Grid->GetRowCountEx()) Grid->SetRowEx(newRow);
}

void TForm1::ActionMoveForwardExecute(TObject*) {
  if (!NamesRecord(FSelectedRow)) return;
  MoveRecord(FSelectedRow - 1, 1);
  ActionRefreshExecute(this);
  if (NamesRecord(FSelectedRow)) Grid->SetRowEx(FSelectedRow);
}

void TForm1::ActionBackwardExecute(TObject*) {
  if (!NamesRecord(FSelectedRow)) return;
  MoveRecord(FSelectedRow - 1, 0);
  ActionRefreshExecute(this);
  if (NamesRecord(FSelectedRow)) Grid->SetRowEx(FSelectedRow);
}

// ---- recalculation, about box, exit -------------------------------------------------------------
void TForm1::ActionConvertingExecute(TObject*) {
  TMainWindowRecalculation view(*this);
  if (RecalculateCoefficients(GasRecords(), view)) view.WriteResults();
}

void TForm1::N10Click(TObject*) {
  if (!FormAbout) Application->CreateForm(FormAbout);
  FormAbout->ShowModal();
}

void TForm1::N7Click(TObject*) { Close(); }
