// Forms of the framework on the headless back end, driven by the robot.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class TRobotButton : public TCustomControl {
  LORM_PUBLISHED(TRobotButton, TCustomControl)
public:
  explicit TRobotButton(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_RETURN && FDefault) {
      Click();
      Message.Result = 1;
      return;
    }
    TCustomControl::WndProc(Message);
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clNavy);
    Canvas()->FillRect(ClientRect());
  }

private:
  bool FDefault = false;
};
void TRobotButton::Publish(TClassBuilder<TRobotButton>& P) {
  P.Bool("Default", &TRobotButton::Default, &TRobotButton::SetDefault, false);
}

class TRobotEdit : public TCustomControl {
  LORM_PUBLISHED(TRobotEdit, TCustomControl)
public:
  explicit TRobotEdit(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  std::string Value;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_GETDLGCODE) {
      Message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
      return;
    }
    if (Message.Msg == WM_LBUTTONDOWN) SetFocus();
    TCustomControl::WndProc(Message);
  }

protected:
  void KeyPress(char32_t& Key) override {
    if (Key == 8 && !Value.empty()) {
      size_t n = Value.size() - 1;
      while (n > 0 && (static_cast<unsigned char>(Value[n]) & 0xC0) == 0x80) --n;
      Value.resize(n);
    } else if (Key >= 32) {
      Utf8Append(Value, Key);
    }
  }
};
void TRobotEdit::Publish(TClassBuilder<TRobotEdit>& P) { (void)P; }

class TRecalcForm : public TForm {
  LORM_PUBLISHED(TRecalcForm, TForm)
public:
  explicit TRecalcForm(TComponent* AOwner) : TForm(AOwner) {}
  TRobotEdit* Density = nullptr;
  TRobotButton* Recalculate = nullptr;
  std::vector<std::string> Results;
  int Blinks = 0;
  void RecalculateClick(TObject*) { Results.push_back(Density->Value); }
  void FormShow(TObject*) { SetTimer(Handle(), 1, 500, nullptr); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_TIMER && Message.WParam == 1) ++Blinks;
    TForm::WndProc(Message);
  }
};
void TRecalcForm::Publish(TClassBuilder<TRecalcForm>& P) {
  P.Field("Density", &TRecalcForm::Density)
      .Field("Recalculate", &TRecalcForm::Recalculate)
      .Handler("RecalculateClick", &TRecalcForm::RecalculateClick)
      .Handler("FormShow", &TRecalcForm::FormShow);
}

TEST(FormRobot, AStoredFormIsShownClickedAndTypedIntoWithTimersOnTheClock) {
  THeadlessScope scope;
  Application->Restart();
  RegisterStoredForm("TRecalcForm", R"(object RecalcForm: TRecalcForm
  Left = 200
  Top = 150
  Caption = 'Пересчет коэффициентов ЛОРМ'
  ClientHeight = 140
  ClientWidth = 320
  Color = clBtnFace
  OnShow = FormShow
  object Density: TRobotEdit
    Left = 16
    Top = 16
    Width = 140
    Height = 21
    TabOrder = 0
  end
  object Recalculate: TRobotButton
    Left = 16
    Top = 56
    Width = 100
    Height = 25
    Default = True
    TabOrder = 1
    OnClick = RecalculateClick
  end
end
)");
  TRecalcForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  TRobot robot;
  robot.Click(form->Density->Handle(), 5, 5);
  robot.Type("1,2x");
  robot.PressKey(VK_BACK);
  robot.PressKey(VK_RETURN);  // the default button
  robot.Click(form->Recalculate->Handle(), 10, 10);
  EXPECT_EQ(form->Results, (std::vector<std::string>{"1,2", "1,2"}));
  robot.PressKey(VK_TAB);
  EXPECT_TRUE(form->Recalculate->Focused());
  scope.Backend().Advance(1600);
  EXPECT_EQ(form->Blinks, 3);
  EXPECT_EQ(WindowPixel(form->Recalculate->Handle(), 50, 12), ColorToRGB(clNavy));
  EXPECT_EQ(WindowPixel(form->Handle(), 250, 120), ColorToRGB(clBtnFace));
  auto png = std::filesystem::temp_directory_path() / "lorm_form_robot.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  std::filesystem::remove(png);
  Application->Restart();
}

TEST(FormRobot, ARobotAnswersAModalFormFromAStep) {
  THeadlessScope scope;
  Application->Restart();
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(50, 50, 400, 300);
  main->Show();
  auto* dialog = new TForm(main);
  dialog->SetBounds(100, 100, 200, 120);
  auto* ok = new TRobotButton(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(10, 10, 80, 25);
  ok->OnClick = [dialog](TObject*) { dialog->SetModalResult(mrOk); };
  TRobot robot;
  scope.Backend().WhenIdle([&] { robot.Click(ok->Handle(), 5, 5); });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(scope.Backend().PendingSteps(), 0u);
  EXPECT_TRUE(main->Active());
  Application->Restart();
}

}  // namespace
