// The main window run headless: start-up, the grids, record editing, the key filter, the
// percent mode, the menus and shortcuts, the file dialogs and the recalculation.
#include "MainWindowFixture.h"

#include <cmath>
#include <cstring>

#include "app/GasBaseFile.h"
#include "editors/DizSpin.h"
#include "grid/VezIdid.h"
#include "office/DizOfficeButtons.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

namespace {

using namespace GasBaseMessages;

// The stored bits of a float, to tell "unchanged" from "rounded".
uint32_t Bits(float v) {
  uint32_t b;
  std::memcpy(&b, &v, 4);
  return b;
}

std::vector<std::string> ListNames() {
  std::vector<std::string> names;
  for (const TMyRecord& r : GasRecords()) names.push_back(r.GetName());
  return names;
}

class MainWindow : public MainWindowTest {
protected:
  void StartWith(const TRecordList& records) {
    WriteBase("converting.cnv", records);
    StartProgram();
    FBoxes->Clear();
  }
  void Select(int row) { ClickCell(F->Grid, 2, row); }
  void Shortcut(char key) { FRobot.PressKey(key, rsCtrl); }
};

TEST_F(MainWindow, FirstStartInAnEmptyFolderShowsTwoBoxesAndSavesAnEmptyBase) {
  StartProgram();
  const std::vector<TRecordedMessageBox> expected = {{CannotOpen, ReadCaption, 0x30}, {Empty, ReadCaption, 0x30}};
  EXPECT_EQ(FBoxes->Shown(), expected);
  // The grids keep the state of the stored form: the header row and one empty row.
  for (TDavEvadurAvuz* grid : {F->Grid, F->Grid1}) {
    EXPECT_EQ(Rows(grid), 2);
    EXPECT_EQ(Cell(grid, 0, 1), "");
  }
  EXPECT_EQ(Cell(F->Grid, 0, 0).find("Название") != std::string::npos, true);
  EXPECT_EQ(F->SelectedRow(), 1);
  EXPECT_EQ(F->SelectedCol(), 1);
  EXPECT_EQ(F->DizOfficeCheckBox1->Caption(), "Весовые проценты");
  EXPECT_EQ(Application->Title(), "Пересчет коэффициентов ЛОРМ");
  EXPECT_FALSE(FormAbout->Visible());
  CloseProgram();
  EXPECT_EQ(FileBytes("converting.cnv"), std::string(4, '\0'));
  // Nothing else is left in the folder.
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(FDir)) files.push_back(e.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"converting.cnv"});
}

TEST_F(MainWindow, StartUpShowsTheBaseInBothGridsWithTruncatedValues) {
  StartWith({Gas("Воздух", "-", 1.24f, 1.05f, 26.2f, 17.1f), Gas("Метан", "CH4", 0.717f, 2.22f, 30.6f, 10.3f)});
  ASSERT_EQ(Rows(F->Grid), 3);
  ASSERT_EQ(Rows(F->Grid1), 3);
  const std::vector<std::string> row1 = {"Воздух", "-", "1.24", "1.049", "26.2", "17.1"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(F->Grid, c, 1), row1[static_cast<size_t>(c)]) << c;
  EXPECT_EQ(Cell(F->Grid, 4, 2), "30.6");
  EXPECT_EQ(Cell(F->Grid1, 0, 2), "Метан");
  EXPECT_EQ(Cell(F->Grid1, 1, 2), "CH4");
  EXPECT_EQ(Cell(F->Grid1, 2, 1), "0");
  EXPECT_EQ(Cell(F->Grid1, 2, 2), "0");
  // Selecting the record loads the editor strip, cut to three decimals as well.
  Select(1);
  EXPECT_EQ(F->SelectedRow(), 1);
  EXPECT_EQ(F->Edit1->Text(), "Воздух");
  EXPECT_EQ(F->Spin2->Text(), "1.049");
  EXPECT_EQ(F->Spin1->Text(), "1.240");
  // Selecting in the mixture grid loads the strip too.
  ClickCell(F->Grid1, 2, 2);
  EXPECT_EQ(F->SelectedRow(), 2);
  EXPECT_EQ(F->Edit1->Text(), "Метан");
  EXPECT_EQ(F->Edit2->Text(), "CH4");
}

TEST_F(MainWindow, SelectingARowWithoutARecordSelectsNothing) {
  StartWith(Gases(5));
  Select(2);
  ASSERT_EQ(F->Edit1->Text(), "Газ2");
  for (int row : {0, 6, 7, -1}) {
    bool can = true;
    F->GridSelectCell(F->Grid, 2, row, can);
    EXPECT_TRUE(can);
    EXPECT_EQ(F->SelectedRow(), 2) << row;
    EXPECT_EQ(F->Edit1->Text(), "Газ2") << row;
  }
  // A row the grid's own navigation adds below the records is no record either: the
  // record actions then work on the record selected before.
  Select(5);
  FRobot.PressKey(VK_DOWN);
  EXPECT_EQ(F->SelectedRow(), 5);
  Shortcut('C');
  EXPECT_EQ(GasRecords().size(), 5u);
  EXPECT_EQ(ListNames().back(), "Газ5");
}

TEST_F(MainWindow, NewInsertsBeforeTheSelectedRecordAndResetsTheShares) {
  StartWith(Gases(5));
  Select(3);
  F->Grid1->SetCellEx(2, 1, "40");
  F->Edit1->SetText("Новый");
  F->Edit2->SetText("X");
  F->Spin1->SetText("1.2345");
  F->Spin2->SetText("2.5");
  Shortcut('N');
  ASSERT_EQ(GasRecords().size(), 6u);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ2", "Новый", "Газ3", "Газ4", "Газ5"}));
  const TMyRecord& r = GasRecords()[2];
  EXPECT_EQ(r.GetFormula(), "X");
  EXPECT_FLOAT_EQ(r.Density(), 1.234f);
  EXPECT_FLOAT_EQ(r.HeatCapacity(), 2.5f);
  // The values the strip still shows from Газ3 are taken as stored.
  EXPECT_EQ(Bits(r.Conductivity()), Bits(Gases(5)[2].Conductivity()));
  EXPECT_EQ(Cell(F->Grid, 0, 3), "Новый");
  EXPECT_EQ(Cell(F->Grid1, 0, 3), "Новый");
  for (int row = 1; row <= 6; ++row) EXPECT_EQ(Cell(F->Grid1, 2, row), "0") << row;
  EXPECT_EQ(F->SelectedRow(), 3);
}

TEST_F(MainWindow, NewOnAnEmptyListAppendsAndLongTextsAreCut) {
  StartProgram();
  F->Edit1->SetText(std::string(40, 'n'));
  F->Edit2->SetText("ABCDEFGHIJKL");
  F->ActionNew->Execute();
  ASSERT_EQ(GasRecords().size(), 1u);
  EXPECT_EQ(GasRecords()[0].GetName(), std::string(30, 'n'));
  EXPECT_EQ(GasRecords()[0].GetFormula(), "ABCDEFGHIJ");
  EXPECT_FLOAT_EQ(GasRecords()[0].Density(), 0.001f);
  EXPECT_EQ(Rows(F->Grid), 2);
  EXPECT_EQ(Cell(F->Grid, 1, 1), "ABCDEFGHIJ");
}

TEST_F(MainWindow, ChangeOfAnUntouchedSelectionKeepsTheStoredValues) {
  StartWith({Gas("Воздух", "-", 1.24f, 1.05f, 26.2f, 17.1f), Gas("Азот", "N2", 1.251f, 1.04f, 24.3f, 17.0f)});
  const TRecordList before = GasRecords();
  Select(1);
  Shortcut('C');
  EXPECT_EQ(GasRecords(), before);
  EXPECT_EQ(Cell(F->Grid, 3, 1), "1.049");
  // A value the user types replaces the stored one, cut to three decimals.
  F->Spin2->SetText("1.0567");
  F->Edit1->SetText("Воздух сухой");
  F->ActionConfig->Execute();
  EXPECT_EQ(GasRecords()[0].GetName(), "Воздух сухой");
  EXPECT_FLOAT_EQ(GasRecords()[0].HeatCapacity(), 1.056f);
  EXPECT_EQ(Bits(GasRecords()[0].Density()), Bits(1.24f));
  EXPECT_EQ(GasRecords()[1], before[1]);
}

TEST_F(MainWindow, CtrlCChangesTheRecordEvenWhileAnEditHasTheFocus) {
  StartWith(Gases(2));
  Select(2);
  F->Edit1->SetFocus();
  F->Edit1->SetText("Газ два");
  Shortcut('C');
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ два"}));
  EXPECT_EQ(Cell(F->Grid, 0, 2), "Газ два");
}

TEST_F(MainWindow, ChangeAndDeleteWithoutRecordsDoNothing) {
  StartProgram();
  FBoxes->Clear();
  Shortcut('C');
  Shortcut('D');
  F->ActionMoveForward->Execute();
  F->ActionBackward->Execute();
  EXPECT_TRUE(GasRecords().empty());
  EXPECT_TRUE(FBoxes->Shown().empty());
  EXPECT_EQ(Rows(F->Grid), 2);
  // After the last record is deleted, Change still finds no record.
  F->ActionNew->Execute();
  F->ActionDelete->Execute();
  F->ActionConfig->Execute();
  EXPECT_TRUE(GasRecords().empty());
  EXPECT_EQ(Rows(F->Grid), 1);
}

TEST_F(MainWindow, DeleteLowersASelectionBeyondTheList) {
  StartWith(Gases(6));
  Select(6);
  Shortcut('D');
  EXPECT_EQ(GasRecords().size(), 5u);
  EXPECT_EQ(F->SelectedRow(), 6);
  Shortcut('D');  // selected row 6 in a list of 5
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ2", "Газ3", "Газ4"}));
  EXPECT_EQ(F->SelectedRow(), 5);
  EXPECT_EQ(Rows(F->Grid), 5);
  EXPECT_TRUE(FBoxes->Shown().empty());
}

TEST_F(MainWindow, MovesCarryTheSelectedRecordAndStopAtTheEnds) {
  StartWith(Gases(4));
  Select(3);
  F->ActionMoveForward->Execute();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ3", "Газ2", "Газ4"}));
  EXPECT_EQ(F->SelectedRow(), 2);
  EXPECT_EQ(F->Grid->GetRowEx(), 2);
  F->ActionMoveForward->Execute();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ3", "Газ1", "Газ2", "Газ4"}));
  EXPECT_EQ(F->SelectedRow(), 1);
  F->ActionMoveForward->Execute();  // first record: nothing moves
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ3", "Газ1", "Газ2", "Газ4"}));
  EXPECT_EQ(Rows(F->Grid), 5);
  for (int i = 0; i < 3; ++i) F->ActionBackward->Execute();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ2", "Газ4", "Газ3"}));
  EXPECT_EQ(F->SelectedRow(), 4);
  F->ActionBackward->Execute();  // last record: nothing moves
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ2", "Газ4", "Газ3"}));
  EXPECT_EQ(F->Edit1->Text(), "Газ3");
  // Selected in the mixture grid: the record still follows.
  ClickCell(F->Grid1, 2, 2);
  F->ActionMoveForward->Execute();
  F->ActionMoveForward->Execute();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ2", "Газ1", "Газ4", "Газ3"}));
}

TEST_F(MainWindow, TheMixtureGridTakesOnlyDigitsSeparatorsAndBackspace) {
  struct Case {
    char32_t Key;
    bool Passes;
  };
  const Case cases[] = {{U'0', true}, {U'5', true}, {U'9', true}, {U',', true}, {U'.', true}, {8, true},
                        {U'a', false}, {U'-', false}, {U' ', false}, {U'Ж', false}, {U'e', false}, {13, false}};
  StartWith(Gases(2));
  for (const Case& c : cases) {
    char32_t key = c.Key;
    F->Grid1KeyPress(F->Grid1, key);
    EXPECT_EQ(key, c.Passes ? c.Key : 0) << unsigned(c.Key);
  }
  // Typed into a share cell.
  ClickCell(F->Grid1, 2, 1);
  FRobot.Type("1a2,-5 x");
  FRobot.PressKey(VK_RETURN);
  EXPECT_EQ(Cell(F->Grid1, 2, 1), "12,5");
}

TEST_F(MainWindow, TheCheckBoxCaptionNamesThePercentMode) {
  StartWith(Gases(1));
  EXPECT_EQ(F->DizOfficeCheckBox1->Caption(), "Весовые проценты");
  for (const char* expected : {"Обьемные проценты", "Весовые проценты", "Обьемные проценты"}) {
    FRobot.Click(F->DizOfficeCheckBox1->Handle(), 8, 10);
    EXPECT_EQ(F->DizOfficeCheckBox1->Caption(), expected);
  }
  EXPECT_TRUE(F->DizOfficeCheckBox1->GetChecked());
}

TEST_F(MainWindow, ActionsCarryTheirCaptionsAndShortcuts) {
  StartProgram();
  struct Case {
    TAction* Action;
    const char* Caption;
    const char* Category;
    int ShortCut;
  };
  const Case cases[] = {
      {F->ActionNew, "Добавить новую запись", "Record", 16462},
      {F->ActionConfig, "Изменить запись", "Record", 16451},
      {F->ActionDelete, "Удалить запись", "Record", 16452},
      {F->ActionMoveForward, "Передвинуть вверх", "Sorting", 0},
      {F->ActionBackward, "Передвинуть вниз", "Sorting", 0},
      {F->ActionRefresh, "ActionRefresh", "Record", 0},
      {F->ActionLoad, "Загрузить базу газов", "", 16460},
      {F->ActionSave, "Сохранить базу газов", "", 16467},
      {F->ActionConverting, "Пересчитать", "", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Action->Caption(), c.Caption);
    EXPECT_EQ(c.Action->Category(), c.Category);
    EXPECT_EQ(c.Action->ShortCut(), c.ShortCut) << c.Caption;
  }
  EXPECT_EQ(F->ActionNew->ImageIndex(), 10);
}

TEST_F(MainWindow, FileDialogsLoadInFrontAndSaveUnderTheTypedName) {
  StartWith({Gas("c", "", 1, 1, 1, 1), Gas("d", "", 2, 2, 2, 2)});
  WriteBase("other.cnv", {Gas("a", "", 3, 3, 3, 3), Gas("b", "", 4, 4, 4, 4)});
  FDialogs->Answer("other.cnv");
  Shortcut('L');
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(GridNames(F->Grid1), ListNames());
  FDialogs->AnswerCancel();
  Shortcut('L');
  EXPECT_EQ(GasRecords().size(), 4u);
  FDialogs->Answer("copy");
  Shortcut('S');
  ASSERT_EQ(FDialogs->Shown().size(), 3u);
  for (const TFileDialogRequest& r : FDialogs->Shown()) {
    EXPECT_EQ(r.Filter, "Файл базы данных газов|*.cnv");
    EXPECT_EQ(r.DefaultExt, "");
  }
  EXPECT_FALSE(FDialogs->Shown()[0].Save);
  EXPECT_TRUE(FDialogs->Shown()[2].Save);
  EXPECT_EQ(FileBytes("copy").size(), 4u + 4 * 56);
  EXPECT_TRUE(FBoxes->Shown().empty());
}

TEST_F(MainWindow, MenusAreBoundAsStored) {
  StartWith(Gases(3));
  struct Case {
    TMenuItem* Item;
    TAction* Action;
    const char* Caption;
    bool Enabled;
  };
  const Case cases[] = {
      {F->New1, F->ActionLoad, "Загрузить базу газов", true},
      {F->N1, F->ActionSave, "Сохранить базу газов", true},
      {F->N2, F->ActionDelete, "-", true},
      {F->N7, nullptr, "Выход", true},
      {F->N12, F->ActionNew, "Добавить новую запись", true},
      {F->N13, F->ActionConfig, "Изменить запись", true},
      {F->N14, F->ActionDelete, "Удалить запись", true},
      {F->N15, nullptr, "-", true},
      {F->N16, F->ActionMoveForward, "Передвинуть вверх", true},
      {F->N17, F->ActionBackward, "Передвинуть вниз", true},
      {F->N4, nullptr, "Считать из прибора", false},
      {F->N5, F->ActionConverting, "Пересчитать", true},
      {F->N6, nullptr, "Записать в прибор", false},
      {F->N10, nullptr, "О программе", true},
      {F->N18, F->ActionNew, "Добавить новую запись", true},
      {F->N19, F->ActionConfig, "Изменить запись", true},
      {F->N20, F->ActionDelete, "Удалить запись", true},
      {F->N21, nullptr, "-", true},
      {F->N22, F->ActionMoveForward, "Передвинуть вверх", true},
      {F->N23, F->ActionBackward, "Передвинуть вниз", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.Item->Action(), c.Action) << c.Caption;
    EXPECT_EQ(c.Item->Caption(), c.Caption);
    EXPECT_EQ(c.Item->Enabled(), c.Enabled) << c.Caption;
  }
  const std::vector<std::pair<TMenuItem*, const char*>> tops = {
      {F->File1, "Файл"}, {F->N11, "База газов"}, {F->N3, "Коэффициенты"}, {F->N8, "Помощь"}};
  for (const auto& [item, caption] : tops) EXPECT_EQ(item->Caption(), caption);
  ASSERT_NE(F->Menu(), nullptr);
  EXPECT_EQ(F->Menu()->Name(), "VerOvizEzur1");
  for (TDavEvadurAvuz* grid : {F->Grid, F->Grid1}) {
    ASSERT_NE(grid->PopupMenu(), nullptr);
    EXPECT_EQ(grid->PopupMenu()->Name(), "RerAvideReva1");
  }
  // The device items do nothing.
  Select(2);
  const TRecordList before = GasRecords();
  F->N4->Click();
  F->N6->Click();
  EXPECT_EQ(GasRecords(), before);
  // Menu items run their actions.
  F->N16->Click();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ2", "Газ1", "Газ3"}));
  F->N20->Click();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"Газ1", "Газ3"}));
}

TEST_F(MainWindow, ExitClosesAndSaves) {
  StartWith(Gases(2));
  F->N12->Click();
  F->N7->Click();
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(FileBytes("converting.cnv").size(), 4u + 3 * 56);
}

TEST_F(MainWindow, TheAboutBoxIsShownModally) {
  StartProgram();
  bool modal = false;
  TModalResponder previous = SetModalResponder([&](TCustomForm* form) {
    modal = form == FormAbout && form->FormState().Contains(fsModal) && form->Visible();
    EXPECT_EQ(form->Caption(), "О программе ...");
    EXPECT_FALSE(F->Enabled() && IsWindowEnabled(F->Handle()));
    form->SetModalResult(mrOk);
  });
  F->N10->Click();
  SetModalResponder(previous);
  EXPECT_TRUE(modal);
  EXPECT_FALSE(FormAbout->Visible());
  EXPECT_EQ(FormAbout->Position(), poMainFormCenter);
  EXPECT_EQ(FormAbout->Label5->Caption(), "Версия 1.1");
  EXPECT_EQ(FormAbout->Label2->Caption().rfind("ЛОРМ", 0), 0u);
}

// ---- recalculation ----------------------------------------------------------------------------
class Recalculation : public MainWindow {
protected:
  void TypeShare(int row, const std::string& text) {
    ClickCell(F->Grid1, 2, row);
    FRobot.Type(text);
    FRobot.PressKey(VK_TAB);
  }
  void SetOld(double a, double b, double n, double density) {
    F->SpinOldA->SetFloatValue(a);
    F->SpinOldB->SetFloatValue(b);
    F->SpinOldN->SetFloatValue(n);
    F->SpinDensityOfMix->SetFloatValue(density);
  }
  std::vector<std::string> Results() {
    return {F->SpinNewA->Text(), F->SpinNewB->Text(), F->SpinNewN->Text()};
  }
};

TEST_F(Recalculation, ATwoGasMixtureTypedByTheUserGivesTheHandComputedCoefficients) {
  const TRecordList gases = {Gas("Метан", "CH4", 0.717f, 2.22f, 30.6f, 10.3f),
                             Gas("Азот", "N2", 1.251f, 1.04f, 24.3f, 17.0f)};
  StartWith(gases);
  TypeShare(1, "70,5");
  TypeShare(2, "29.5");
  ASSERT_EQ(Cell(F->Grid1, 2, 1), "70,5");
  SetOld(1.2, 0.8, 0.5, 0.85);
  F->N5->Click();
  // By hand, weight percent: the mixture's heat capacity, conductivity and viscosity.
  const double c = 0.705 * 2.22 + 0.295 * 1.04;                  // kJ/(kg·K)
  const double l = (0.705 * 30.6 + 0.295 * 24.3) * 1e-3;         // W/(m·K)
  const double m = (0.705 * 10.3 + 0.295 * 17.0) * 1e-6;         // Pa·s
  const double base = (c * m * 0.0262) / (1.05 * 1.71e-5 * l);
  const double a = 1.2 * std::pow(base, 0.2) * (l / 0.0262);
  const double b = 0.8 * std::pow((0.85 * 1.71e-5) / (1.24 * m), 0.5) * std::pow(base, 0.33) * (l / 0.0262);
  EXPECT_NEAR(StrToFloat(F->SpinNewA->Text()), a, 2e-5);
  EXPECT_NEAR(StrToFloat(F->SpinNewB->Text()), b, 2e-5);
  EXPECT_EQ(F->SpinNewN->Text(), "0.5000");
  EXPECT_EQ(F->SpinNewA->Text().size(), std::string("1.00000").size());
  EXPECT_TRUE(FBoxes->Shown().empty());

  // The same mixture given by volume: the weight shares follow from the densities.
  FRobot.Click(F->DizOfficeCheckBox1->Handle(), 8, 10);
  F->ActionConverting->Execute();
  const double w1 = 70.5 * 0.717 / (70.5 * 0.717 + 29.5 * 1.251), w2 = 1 - w1;
  const double cv = w1 * 2.22 + w2 * 1.04, lv = (w1 * 30.6 + w2 * 24.3) * 1e-3, mv = (w1 * 10.3 + w2 * 17.0) * 1e-6;
  const double basev = (cv * mv * 0.0262) / (1.05 * 1.71e-5 * lv);
  EXPECT_NEAR(StrToFloat(F->SpinNewA->Text()), 1.2 * std::pow(basev, 0.2) * (lv / 0.0262), 2e-5);
  EXPECT_NEAR(StrToFloat(F->SpinNewB->Text()),
              0.8 * std::pow((0.85 * 1.71e-5) / (1.24 * mv), 0.5) * std::pow(basev, 0.33) * (lv / 0.0262), 2e-5);
}

TEST_F(Recalculation, WithoutSharesOnlyTheWarningIsShown) {
  StartWith(Gases(2));
  const auto before = Results();
  F->ActionConverting->Execute();
  const std::vector<TRecordedMessageBox> expected = {
      {"Перед началом расчета введите процентный состав газовой смеси.", "Пересчет коэффициентов ", 0x30}};
  EXPECT_EQ(FBoxes->Shown(), expected);
  EXPECT_EQ(Results(), before);
}

TEST_F(Recalculation, AnEmptyShareCountsAsZero) {
  StartWith({Gas("Воздух", "", 1.24f, 1.05f, 26.2f, 17.1f), Gas("Метан", "CH4", 0.717f, 2.22f, 30.6f, 10.3f)});
  F->Grid1->SetCellEx(2, 1, "100");
  F->Grid1->SetCellEx(2, 2, "");
  SetOld(1.5, 0.7, 0.25, 1.24);
  F->ActionConverting->Execute();
  EXPECT_TRUE(FBoxes->Shown().empty());
  // Air against air: the coefficients stay.
  EXPECT_EQ(Results(), (std::vector<std::string>{"1.50000", "0.70000", "0.2500"}));
}

TEST_F(Recalculation, BadInputNamesItsSourceAndWritesNothing) {
  struct Case {
    const char* Share;
    const char* Density;
    const char* Expected;  // part of the message
  };
  const Case cases[] = {
      {"1,2,3", "1", "Метан"},
      {"abc", "1", "Метан"},
      {"50", "1,2,3", "Плотность"},
      {"50", "x", "Плотность"},
  };
  StartWith({Gas("Воздух", "", 1.24f, 1.05f, 26.2f, 17.1f), Gas("Метан", "CH4", 0.717f, 2.22f, 30.6f, 10.3f)});
  for (const Case& c : cases) {
    F->Grid1->SetCellEx(2, 1, "50");
    F->Grid1->SetCellEx(2, 2, c.Share);
    F->SpinDensityOfMix->SetText(c.Density);
    const auto before = Results();
    try {
      F->ActionConverting->Execute();
      ADD_FAILURE() << "no error for " << c.Share << " / " << c.Density;
    } catch (const EConvertError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Expected), std::string::npos) << e.what();
    }
    EXPECT_EQ(Results(), before);
  }
}

TEST_F(Recalculation, AFaultWritesNoneOfTheResults) {
  // No conductivity and no viscosity: the ratios divide by zero.
  StartWith({Gas("Пустой", "", 1.0f, 1.0f, 0.0f, 0.0f)});
  F->Grid1->SetCellEx(2, 1, "100");
  SetOld(1, 1, 0.5, 1);
  const auto before = Results();
  EXPECT_THROW(F->ActionConverting->Execute(), EMathError);
  EXPECT_EQ(Results(), before);
}

}  // namespace
