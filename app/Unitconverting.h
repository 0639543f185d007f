#pragma once
// The main window of the program: a page that recalculates the meter's coefficients for a
// gas mixture and a page that edits the gas database. The window is built from its stored
// form (forms/Unitconverting.dfm); its own code is the handlers below. The record list it
// shows lives for the whole run of the program and is stored in "converting.cnv".
#include <string>

#include "app/Class_myrecord.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

class TDavEvadurAvuz;
class TDizSpinEdit;
class TDizOfficeCheckBox;
class TDizOfficeImage;
class TDizOfficeStatusBar;
class TDizOfficeStatusBarOfficeStyler;
class TZorOzirazIrezi;
class TDizOfficePage;
class TRavUvure;
class TVxBehaviorLabel;
namespace VivIzizEzu {
class TDizDockPanel;
class TVivIzizEzuCustomizer;
class TVivIzizEzu;
class TVivIzizEzuOfficeStyler;
}  // namespace VivIzizEzu
class TVerOvizEzur;
class TRerAvideReva;
class TZedIvadOfficeStyler;
class TDizFormStyler;
class TDovAvarOrodez;

// The gas records of the program, in display and file order. Created empty before the
// main window and kept until the program ends.
TRecordList& GasRecords();

// The database file the main window loads when it is shown and saves when it closes.
inline constexpr const char* DefaultGasBaseFile = "converting.cnv";

namespace MainWindowMessages {
inline constexpr const char* DeleteCaption = "Калибровка";
inline constexpr const char* DeleteError = "Ошибка удаления записи";
inline constexpr const char* VolumePercent = "Обьемные проценты";
inline constexpr const char* WeightPercent = "Весовые проценты";
} // namespace MainWindowMessages

class TForm1 : public TForm {
  LORM_PUBLISHED(TForm1, TForm)
public:
  // Builds the window from its stored form, selects row and column 1 and names the
  // current percent mode in the check box's caption.
  explicit TForm1(TComponent* AOwner);

  // Components of the stored form.
  VivIzizEzu::TDizDockPanel* DizDockPanel1 = nullptr;
  TZorOzirazIrezi* ZorOzirazIrezi1 = nullptr;
  TDizOfficePage* DizOfficePage1 = nullptr;
  TDizOfficePage* DizOfficePage2 = nullptr;
  TDovAvarOrodez* DovAvarOrodez1 = nullptr;
  TDizOfficeStatusBar* DizOfficeStatusBar1 = nullptr;
  TRavUvure* RavUvure1 = nullptr;
  TRavUvure* RavUvure2 = nullptr;
  TRavUvure* RavUvure3 = nullptr;
  TDizOfficeImage* DizOfficeImage1 = nullptr;
  TDizOfficeImage* DizOfficeImage2 = nullptr;
  TDizOfficeImage* DizOfficeImage3 = nullptr;
  TDizOfficeImage* DizOfficeImage4 = nullptr;
  TDizOfficeImage* DizOfficeImage5 = nullptr;
  TDizOfficeImage* DizOfficeImage6 = nullptr;
  TDizSpinEdit* SpinOldA = nullptr;
  TDizSpinEdit* SpinOldB = nullptr;
  TDizSpinEdit* SpinOldN = nullptr;
  TDizSpinEdit* SpinNewA = nullptr;
  TDizSpinEdit* SpinNewB = nullptr;
  TDizSpinEdit* SpinNewN = nullptr;
  TDizSpinEdit* SpinDensityOfMix = nullptr;
  TDavEvadurAvuz* Grid1 = nullptr;
  TDavEvadurAvuz* Grid = nullptr;
  TVxBehaviorLabel* VxBehaviorLabel1 = nullptr;
  TVxBehaviorLabel* VxBehaviorLabel2 = nullptr;
  TVxBehaviorLabel* VxBehaviorLabel3 = nullptr;
  TVxBehaviorLabel* VxBehaviorLabel4 = nullptr;
  TVxBehaviorLabel* VxBehaviorLabel5 = nullptr;
  TDizOfficeCheckBox* DizOfficeCheckBox1 = nullptr;
  TShape* Shape1 = nullptr;
  TShape* Shape2 = nullptr;
  TShape* Shape3 = nullptr;
  VivIzizEzu::TVivIzizEzu* RepairPanel = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TDizSpinEdit* Spin1 = nullptr;
  TDizSpinEdit* Spin2 = nullptr;
  TDizSpinEdit* Spin3 = nullptr;
  TDizSpinEdit* Spin4 = nullptr;
  TVerOvizEzur* VerOvizEzur1 = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* New1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N7 = nullptr;
  TMenuItem* N11 = nullptr;
  TMenuItem* N12 = nullptr;
  TMenuItem* N13 = nullptr;
  TMenuItem* N14 = nullptr;
  TMenuItem* N15 = nullptr;
  TMenuItem* N16 = nullptr;
  TMenuItem* N17 = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* N5 = nullptr;
  TMenuItem* N6 = nullptr;
  TMenuItem* N8 = nullptr;
  TMenuItem* N10 = nullptr;
  TRerAvideReva* RerAvideReva1 = nullptr;
  VivIzizEzu::TVivIzizEzuCustomizer* VivIzizEzuCustomizer1 = nullptr;
  TMenuItem* N18 = nullptr;
  TMenuItem* N19 = nullptr;
  TMenuItem* N20 = nullptr;
  TMenuItem* N21 = nullptr;
  TMenuItem* N22 = nullptr;
  TMenuItem* N23 = nullptr;
  VivIzizEzu::TVivIzizEzuOfficeStyler* VivIzizEzuOfficeStyler1 = nullptr;
  TDizOfficeStatusBarOfficeStyler* DizOfficeStatusBarOfficeStyler1 = nullptr;
  TZedIvadOfficeStyler* ZedIvadOfficeStyler1 = nullptr;
  TDizFormStyler* DizFormStyler1 = nullptr;
  TDizFormStyler* DizFormStyler2 = nullptr;
  TActionList* ActionList = nullptr;
  TAction* ActionNew = nullptr;
  TAction* ActionConfig = nullptr;
  TAction* ActionDelete = nullptr;
  TAction* ActionMoveForward = nullptr;
  TAction* ActionBackward = nullptr;
  TAction* ActionRefresh = nullptr;
  TAction* ActionLoad = nullptr;
  TAction* ActionSave = nullptr;
  TAction* ActionConverting = nullptr;
  TTimer* TimerMoveRepairPanel = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;

  // Handlers bound by the stored form.
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ActionRefreshExecute(TObject* Sender);
  void ActionNewExecute(TObject* Sender);
  void ActionConfigExecute(TObject* Sender);
  void ActionDeleteExecute(TObject* Sender);
  void ActionMoveForwardExecute(TObject* Sender);
  void ActionBackwardExecute(TObject* Sender);
  void ActionLoadExecute(TObject* Sender);
  void ActionSaveExecute(TObject* Sender);
  void ActionConvertingExecute(TObject* Sender);
  void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
  void Grid1KeyPress(TObject* Sender, char32_t& Key);
  void DizOfficeCheckBox1Click(TObject* Sender);
  void N10Click(TObject* Sender);
  void N7Click(TObject* Sender);

  // Reads a .cnv file in front of the records and refreshes the grids; writes the list.
  bool LoadGasBase(const std::string& FileName);
  bool SaveGasBase(const std::string& FileName);
  // Swaps record `Index` with its upper (Direction 1) or lower (Direction 0) neighbour;
  // the selected row follows the moved record. Nothing moves at the list's ends or for
  // an index that names no record.
  void MoveRecord(int Index, int Direction);

  // The row chosen last in either grid (record SelectedRow() - 1); 1 at start.
  int SelectedRow() const { return FSelectedRow; }
  int SelectedCol() const { return FSelectedCol; }

private:
  // The menus' and the tool bar's components are published from their own source: their
  // headers and the office ones cannot share one translation unit.
  static void PublishMenus(TClassBuilder<TForm1>& P);

  // What the editor strip showed when a record was selected: a spin edit whose text is
  // still the one shown gives the record's stored value instead of its rounded text.
  struct TShownValue {
    bool Valid = false;
    std::string Text;
    float Stored = 0;
  };
  bool NamesRecord(int Row) const;
  void LoadEditorStrip(const TMyRecord& Record);
  float StripValue(int Index, bool RoundFirst);
  TMyRecord RecordFromStrip(bool RoundDensityFirst);
  TDizSpinEdit* StripSpin(int Index) const;

  int FSelectedRow = 1;
  int FSelectedCol = 1;
  TShownValue FShown[4];
};

extern TForm1* Form1;
