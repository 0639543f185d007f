// One stored form holding every standard control, its main menu and a string grid: it
// loads from its description, paints headless, takes typing through the robot, and is
// saved as a PNG (kept in LORM_SNAPSHOT_DIR when that is set) so a person can look at it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/gdi/UxTheme.h"

namespace {

class TShowcaseForm : public TForm {
  LORM_PUBLISHED(TShowcaseForm, TForm)
public:
  explicit TShowcaseForm(TComponent* AOwner) : TForm(AOwner) {}
  int Recalculations = 0;
  void ActionRecalcExecute(TObject*) { ++Recalculations; }
};
void TShowcaseForm::Publish(TClassBuilder<TShowcaseForm>& P) {
  P.Handler("ActionRecalcExecute", &TShowcaseForm::ActionRecalcExecute);
  P.Uses({TLabel::StaticClass(), TEdit::StaticClass(), TMaskEdit::StaticClass(), TMemo::StaticClass(),
          TGroupBox::StaticClass(), TRadioButton::StaticClass(), TCheckBox::StaticClass(),
          TListBox::StaticClass(), TComboBox::StaticClass(), TTrackBar::StaticClass(),
          TPanel::StaticClass(), TSpeedButton::StaticClass(), TShape::StaticClass(),
          TBevel::StaticClass(), TScrollBar::StaticClass(), TScrollBox::StaticClass(),
          TStringGrid::StaticClass(), TButton::StaticClass(), TMainMenu::StaticClass(),
          TMenuItem::StaticClass(), TActionList::StaticClass(), TAction::StaticClass()});
}

const char* const ShowcaseText = R"(object ShowcaseForm: TShowcaseForm
  Left = 40
  Top = 40
  Caption = 'Все элементы управления'
  ClientHeight = 430
  ClientWidth = 640
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Menu = MainMenu1
  object Label1: TLabel
    Left = 8
    Top = 10
    Width = 100
    Height = 13
    Caption = '&Плотность, кг/м3:'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 120
    Top = 6
    Width = 120
    Height = 21
    TabOrder = 0
    Text = '1.24'
  end
  object MaskEdit1: TMaskEdit
    Left = 250
    Top = 6
    Width = 90
    Height = 21
    EditMask = '!99/99/0000;1;_'
    TabOrder = 1
  end
  object Memo1: TMemo
    Left = 8
    Top = 36
    Width = 232
    Height = 64
    Lines.Strings = (
      'Метан CH4'
      'Азот N2')
    ScrollBars = ssVertical
    TabOrder = 2
  end
  object GroupBox1: TGroupBox
    Left = 250
    Top = 32
    Width = 170
    Height = 68
    Caption = 'Проценты'
    TabOrder = 3
    object RadioButton1: TRadioButton
      Left = 10
      Top = 18
      Width = 150
      Height = 17
      Caption = 'Весовые'
      Checked = True
      TabOrder = 0
    end
    object RadioButton2: TRadioButton
      Left = 10
      Top = 40
      Width = 150
      Height = 17
      Caption = 'Объемные'
      TabOrder = 1
    end
  end
  object CheckBox1: TCheckBox
    Left = 430
    Top = 8
    Width = 150
    Height = 17
    Caption = 'Сохранять отчет'
    Checked = True
    TabOrder = 4
  end
  object ListBox1: TListBox
    Left = 8
    Top = 108
    Width = 140
    Height = 90
    Items.Strings = (
      'Метан'
      'Этан'
      'Пропан'
      'Азот')
    TabOrder = 5
  end
  object ComboBox1: TComboBox
    Left = 160
    Top = 108
    Width = 150
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'ЛОРМ-100'
      'ЛОРМ-200')
    TabOrder = 6
  end
  object TrackBar1: TTrackBar
    Left = 160
    Top = 138
    Width = 150
    Height = 45
    Position = 4
    TabOrder = 7
  end
  object Panel1: TPanel
    Left = 430
    Top = 32
    Width = 200
    Height = 68
    BevelInner = bvLowered
    Caption = 'Панель'
    TabOrder = 8
    object SpeedButton1: TSpeedButton
      Left = 6
      Top = 6
      Width = 60
      Height = 24
      Caption = 'Вкл'
      GroupIndex = 1
      Down = True
    end
    object Shape1: TShape
      Left = 140
      Top = 10
      Width = 50
      Height = 48
      Brush.Color = clYellow
      Pen.Color = clNavy
      Shape = stCircle
    end
  end
  object Bevel1: TBevel
    Left = 8
    Top = 204
    Width = 624
    Height = 2
    Shape = bsTopLine
  end
  object ScrollBar1: TScrollBar
    Left = 320
    Top = 108
    Width = 17
    Height = 90
    Kind = sbVertical
    TabOrder = 9
  end
  object ScrollBox1: TScrollBox
    Left = 350
    Top = 108
    Width = 140
    Height = 90
    TabOrder = 10
    object Panel2: TPanel
      Left = 4
      Top = 4
      Width = 200
      Height = 140
      Caption = 'Прокрутка'
      TabOrder = 0
    end
  end
  object StringGrid1: TStringGrid
    Left = 8
    Top = 212
    Width = 500
    Height = 170
    ColCount = 4
    RowCount = 6
    TabOrder = 11
  end
  object Button1: TButton
    Left = 520
    Top = 320
    Width = 100
    Height = 25
    Action = ActionRecalc
    Default = True
    TabOrder = 12
  end
  object Button2: TButton
    Left = 520
    Top = 352
    Width = 100
    Height = 25
    Cancel = True
    Caption = 'Отмена'
    TabOrder = 13
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&Файл'
      object Recalc1: TMenuItem
        Action = ActionRecalc
      end
    end
    object Help1: TMenuItem
      Caption = '&Помощь'
    end
  end
  object ActionList1: TActionList
    object ActionRecalc: TAction
      Caption = 'Пересчитать'
      ShortCut = 16466
      OnExecute = ActionRecalcExecute
    end
  end
end
)";

class ShowcaseTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  void SetUp() override { Application->Restart(); }
  void TearDown() override { Application->Restart(); }
};

TEST_F(ShowcaseTest, EveryControlLoadsPaintsAndTakesInput) {
  RegisterStoredForm("TShowcaseForm", ShowcaseText);
  TShowcaseForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  form->Show();
  Scope.Backend().Pump();

  auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Edit1"));
  auto* grid = dynamic_cast<TStringGrid*>(form->FindComponent("StringGrid1"));
  auto* mask = dynamic_cast<TMaskEdit*>(form->FindComponent("MaskEdit1"));
  ASSERT_TRUE(edit && grid && mask);
  const char* headers[] = {"Газ", "Формула", "Плотность", "Процент"};
  for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, headers[c]);
  grid->SetCells(0, 1, "Метан");
  grid->SetCells(1, 1, "CH4");
  grid->SetCells(2, 1, "0.717");

  // Typing into the edit and the masked edit.
  Robot.Click(edit->Handle(), 5, 5);
  Robot.PressKey(VK_END);
  Robot.Type("5");
  EXPECT_EQ(edit->Text(), "1.245");
  Robot.Click(mask->Handle(), 2, 5);
  Robot.Type("31a12x2026");
  EXPECT_EQ(mask->Text(), "31/12/2026");

  // The action's shortcut reaches it from the focused edit; Enter presses the default
  // button, which runs the same action.
  Robot.PressKey('R', rsCtrl);
  EXPECT_EQ(form->Recalculations, 1);
  Robot.Click(edit->Handle(), 5, 5);
  Robot.PressKey(VK_RETURN);
  EXPECT_EQ(form->Recalculations, 2);

  EXPECT_EQ(WindowPixel(edit->Handle(), edit->ClientWidth() - 3, 3), ColorToRGB(clWindow));
  EXPECT_EQ(WindowPixel(form->Handle(), 630, 420), ColorToRGB(clBtnFace));

  const char* dir = std::getenv("LORM_SNAPSHOT_DIR");
  auto png = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
             "lorm_showcase.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (!dir) std::filesystem::remove(png);
  delete form;
}

} // namespace

namespace {

// The same form with themes switched off: everything classic, nothing of Luna left (the
// face is the classic grey and the caption the classic gradient's dark blue).
TEST_F(ShowcaseTest, ClassicLookWhenThemesAreOff) {
  SetThemeActive(false);
  RegisterStoredForm("TShowcaseForm", ShowcaseText);
  TShowcaseForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  form->Show();
  Scope.Backend().Pump();
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
  EXPECT_EQ(WindowPixel(form->Handle(), 630, 420), RGB(212, 208, 200));
  const char* dir = std::getenv("LORM_SNAPSHOT_DIR");
  auto png = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
             "lorm_showcase_classic.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (!dir) std::filesystem::remove(png);
  delete form;
  SetThemeActive(true);
}

} // namespace
