// Panels, shapes, bevels, images, timers and the scroll box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListBoxes.h"

namespace {

class ExtTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  void SetUp() override {
    Application->Restart();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 420, 320);
    Form->SetColor(clBtnFace);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Application->Restart();
  }
};

TEST_F(ExtTest, TimerFiresOnTheClockOnlyWhileEnabled) {
  TTimer timer(nullptr);
  int fired = 0;
  timer.SetInterval(300);
  timer.SetOnTimer([&](TObject*) { ++fired; });
  EXPECT_TRUE(timer.Active());
  Scope.Backend().Advance(1000);
  EXPECT_EQ(fired, 3);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Active());
  Scope.Backend().Advance(1000);
  EXPECT_EQ(fired, 3);
  timer.SetEnabled(true);
  timer.SetInterval(0);  // no interval: no timer
  Scope.Backend().Advance(1000);
  EXPECT_EQ(fired, 3);
  // A handler that disables its own timer fires once.
  timer.SetInterval(100);
  timer.SetOnTimer([&](TObject* s) {
    ++fired;
    static_cast<TTimer*>(s)->SetEnabled(false);
  });
  Scope.Backend().Advance(1000);
  EXPECT_EQ(fired, 4);
}

TEST_F(ExtTest, PanelDrawsItsBevelsAndKeepsChildrenInside) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 200, 100);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  auto* child = new TPanel(Form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  child->SetBevelOuter(bvNone);
  child->SetColor(clWhite);
  HWND h = panel->Handle();
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(WindowPixel(h, 0, 50), light);    // raised outer bevel
  EXPECT_EQ(WindowPixel(h, 199, 50), shadow);
  EXPECT_EQ(WindowPixel(h, 2, 50), shadow);   // lowered inner bevel
  EXPECT_EQ(WindowPixel(h, 197, 50), light);
  // The client area is inside both bevels.
  EXPECT_EQ(child->BoundsRect(), (TRect{4, 4, 196, 96}));
  EXPECT_EQ(WindowPixel(h, 100, 50), RGB(255, 255, 255));
}

TEST_F(ExtTest, ShapesAndBevelsPaintTheirLines) {
  auto* line = new TShape(Form);
  line->SetParent(Form);
  line->SetBounds(20, 200, 40, 1);
  line->Brush()->SetStyle(bsClear);
  line->Pen()->SetColor(clNavy);
  auto* bevel = new TBevel(Form);
  bevel->SetParent(Form);
  bevel->SetBounds(100, 200, 50, 2);
  bevel->SetShape(bsTopLine);
  HWND h = Form->Handle();
  EXPECT_EQ(WindowPixel(h, 30, 200), RGB(0, 0, 128));
  EXPECT_EQ(WindowPixel(h, 30, 201), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(h, 120, 200), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(WindowPixel(h, 120, 201), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ExtTest, ImagePlacesItsPicture) {
  TImage image(nullptr);
  image.SetBounds(0, 0, 100, 50);
  image.Picture()->Bitmap()->SetSize(40, 20);
  struct TCase {
    bool Stretch, Proportional, Center;
    TRect Expected;
  };
  for (TCase c : {TCase{false, false, false, {0, 0, 40, 20}}, TCase{false, false, true, {30, 15, 70, 35}},
                  TCase{true, false, false, {0, 0, 100, 50}}, TCase{true, true, true, {0, 0, 100, 50}}}) {
    image.SetStretch(c.Stretch);
    image.SetProportional(c.Proportional);
    image.SetCenter(c.Center);
    EXPECT_EQ(image.DestRect(), c.Expected) << c.Stretch << c.Proportional << c.Center;
  }
  image.Picture()->Bitmap()->SetSize(200, 50);  // wider than the control: scaled down
  image.SetStretch(false);
  image.SetCenter(false);
  EXPECT_EQ(image.DestRect(), (TRect{0, 0, 100, 25}));
}

class TListsDemoForm : public TForm {
  LORM_PUBLISHED(TListsDemoForm, TForm)
public:
  explicit TListsDemoForm(TComponent* AOwner) : TForm(AOwner) {}
};
void TListsDemoForm::Publish(TClassBuilder<TListsDemoForm>& P) { (void)P; }

// A form with every control of these units, read from a stored form and rendered.
TEST_F(ExtTest, StoredFormWithTheControlsReadsAndRenders) {
  RegisterStoredForm("TListsDemoForm", R"(object ListsDemoForm: TListsDemoForm
  Left = 100
  Top = 100
  Caption = 'Списки и панели'
  ClientHeight = 300
  ClientWidth = 460
  Color = clBtnFace
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 460
    Height = 34
    Align = alTop
    BevelInner = bvLowered
    Caption = 'Коэффициенты'
    object SpeedButton1: TSpeedButton
      Left = 6
      Top = 5
      Width = 60
      Height = 24
      Caption = 'Один'
      GroupIndex = 1
      Down = True
    end
    object SpeedButton2: TSpeedButton
      Left = 68
      Top = 5
      Width = 60
      Height = 24
      Caption = 'Два'
      GroupIndex = 1
      Flat = True
    end
  end
  object ListBox1: TListBox
    Left = 8
    Top = 44
    Width = 140
    Height = 110
    Items.Strings = (
      'Метан'
      'Этан'
      'Пропан'
      'Бутан'
      'Азот'
      'Диоксид углерода'
      'Кислород'
      'Водород')
    TabOrder = 0
  end
  object ComboBox1: TComboBox
    Left = 160
    Top = 44
    Width = 150
    Height = 21
    Style = csDropDownList
    Items.Strings = (
      'ЛОРМ-100'
      'ЛОРМ-200')
    TabOrder = 1
  end
  object ComboBox2: TComboBox
    Left = 160
    Top = 74
    Width = 150
    Height = 21
    Text = 'ГОСТ 8.586'
    TabOrder = 2
  end
  object TrackBar1: TTrackBar
    Left = 160
    Top = 104
    Width = 150
    Height = 45
    Position = 3
    TabOrder = 3
  end
  object Bevel1: TBevel
    Left = 8
    Top = 164
    Width = 440
    Height = 2
    Shape = bsTopLine
  end
  object Shape1: TShape
    Left = 330
    Top = 44
    Width = 60
    Height = 40
    Brush.Color = 65535
    Shape = stRoundRect
  end
  object ScrollBox1: TScrollBox
    Left = 8
    Top = 176
    Width = 200
    Height = 110
    TabOrder = 4
    object Panel2: TPanel
      Left = 10
      Top = 10
      Width = 250
      Height = 150
      BevelOuter = bvLowered
      Caption = 'Прокрутка'
    end
  end
  object Timer1: TTimer
    Interval = 250
  end
end
)");
  TListsDemoForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  form->Show();
  auto* list = dynamic_cast<TListBox*>(form->FindComponent("ListBox1"));
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent("ComboBox1"));
  auto* b1 = dynamic_cast<TSpeedButton*>(form->FindComponent("SpeedButton1"));
  auto* track = dynamic_cast<TTrackBar*>(form->FindComponent("TrackBar1"));
  ASSERT_TRUE(list && combo && b1 && track);
  EXPECT_EQ(list->Items()->Count(), 8);
  EXPECT_TRUE(b1->Down());
  EXPECT_EQ(track->Position(), 3);
  list->SetItemIndex(2);
  combo->SetItemIndex(1);
  if (const char* dir = std::getenv("LORM_SNAPSHOT_DIR")) {
    EXPECT_TRUE(SaveWindowPng(form->Handle(), std::string(dir) + "/lists_form.png"));
  } else {
    auto png = std::filesystem::temp_directory_path() / "lorm_lists_form.png";
    EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
    std::filesystem::remove(png);
  }
  delete form;
}

}  // namespace
