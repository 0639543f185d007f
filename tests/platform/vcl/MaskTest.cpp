// Edit masks and the masked edit.
#include <gtest/gtest.h>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"

namespace {

TEST(EditMask, MaskCharactersAcceptWhatTheyShould) {
  struct Case {
    const char* mask;
    char32_t ch;
    bool accepted;
  };
  const Case cases[] = {
      {"L", U'a', true},  {"L", U'Ж', true},  {"L", U'5', false}, {"l", U'z', true},
      {"A", U'7', true},  {"A", U'-', false}, {"a", U'я', true},  {"C", U'-', true},
      {"c", U' ', true},  {"0", U'5', true},  {"0", U'x', false}, {"9", U'+', false},
      {"#", U'+', true},  {"#", U'-', true},  {"#", U'3', true},  {"#", U'a', false},
  };
  for (const Case& c : cases) {
    TParsedMask m = ParseEditMask(c.mask);
    ASSERT_EQ(m.Positions.size(), 1u) << c.mask;
    EXPECT_EQ(m.Positions[0].Accepts(c.ch), c.accepted) << c.mask << " " << uint32_t(c.ch);
  }
}

TEST(EditMask, FieldsLiteralsAndCase) {
  {
  TFormatSettingsScope scope([] {
    TFormatSettings fs = DefaultFormatSettings();
    fs.DateSeparator = '.';
    return fs;
  }());
  TParsedMask m = ParseEditMask(R"(!>L<l\09/99;0;*)");
  EXPECT_TRUE(m.LeadingBlanks);
  EXPECT_FALSE(m.SaveLiterals);
  EXPECT_EQ(m.Blank, U'*');
  ASSERT_EQ(m.Positions.size(), 7u);
  EXPECT_EQ(m.Positions[0].Case, 1);
  EXPECT_EQ(m.Positions[1].Case, 2);
  EXPECT_TRUE(m.Positions[2].Literal);  // "\0" is the character 0
  EXPECT_EQ(m.Positions[2].Char, U'0');
  EXPECT_EQ(m.Positions[4].Char, U'.');  // the date separator of the locale
  EXPECT_TRUE(m.Positions[0].Required());
  EXPECT_FALSE(m.Positions[1].Required());
  }
  EXPECT_EQ(MaskGetMaskBlank("000"), U'_');
  EXPECT_TRUE(MaskGetMaskSave("000"));
  EXPECT_EQ(FormatMaskText("!99/99/0000;1;_", "12/03/2024"), "12/03/2024");
  EXPECT_EQ(FormatMaskText("!99/99/0000;0;_", "12032024"), "12/03/2024");
  EXPECT_EQ(FormatMaskText("!999;0;_", "7"), "__7");  // '!': missing characters lead
  EXPECT_EQ(FormatMaskText("999;0;_", "7"), "7__");
  EXPECT_EQ(FormatMaskText("(000)", "(1x3)"), "(1_3)");  // a refused character stays blank
}

class MaskEditTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  TMaskEdit* Edit = nullptr;
  TEdit* Other = nullptr;
  std::vector<std::string> Errors;

  void SetUp() override {
    Application->Restart();
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
    Application->CreateForm(Form);
    Form->SetBounds(100, 100, 300, 200);
    Edit = new TMaskEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 120, 21);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 50, 120, 21);
  }
  void TearDown() override {
    Application->OnException = nullptr;
    Application->Restart();
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
  }
  void Show() {
    Form->Show();
    Scope.Backend().Pump();
  }
};

TEST_F(MaskEditTest, TypingFillsPositionsAndSkipsLiterals) {
  Edit->SetEditMask("!99/99/0000;1;_");
  EXPECT_EQ(Edit->EditText(), "__/__/____");
  EXPECT_EQ(Edit->Text(), "  /  /    ");
  Show();
  Robot.Click(Edit->Handle(), 2, 5);
  Robot.PressKey(VK_HOME);
  int beeps = Scope.Backend().Beeps();
  Robot.Type("12a0");  // the letter is refused with a beep
  EXPECT_GT(Scope.Backend().Beeps(), beeps);
  Robot.Type("3/2024");  // a typed literal moves past it
  EXPECT_EQ(Edit->EditText(), "12/03/2024");
  EXPECT_EQ(Edit->Text(), "12/03/2024");
  EXPECT_TRUE(Edit->Modified());
  // Backspace blanks the character before the cursor, skipping literals.
  Robot.PressKey(VK_HOME);
  Robot.PressKey(VK_RIGHT);
  Robot.PressKey(VK_RIGHT);  // over the "/" onto the "0" of the month
  Robot.PressKey(VK_BACK);
  EXPECT_EQ(Edit->EditText(), "1_/03/2024");
  Robot.Type("9");
  EXPECT_EQ(Edit->EditText(), "19/03/2024");
}

TEST_F(MaskEditTest, TextWithoutSavedLiteralsAndSettingText) {
  Edit->SetEditMask("000-00;0;_");
  Edit->SetText("12345");
  EXPECT_EQ(Edit->EditText(), "123-45");
  EXPECT_EQ(Edit->Text(), "12345");
  Edit->SetEditText("9x8-7");
  EXPECT_EQ(Edit->EditText(), "9_8-7_");
  EXPECT_EQ(Edit->Text(), "9 87 ");
  // Removing the mask keeps the value as plain text.
  Edit->SetEditMask("");
  EXPECT_EQ(Edit->Text(), "9 87 ");
}

TEST_F(MaskEditTest, LeavingWithAnIncompleteValueRaisesAndKeepsTheFocus) {
  Edit->SetEditMask("!99/99/0000;1;_");
  Show();
  Robot.Click(Edit->Handle(), 2, 5);
  Robot.PressKey(VK_HOME);
  Robot.Type("1203");
  Robot.PressKey(VK_TAB);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], "Invalid input value. Use escape key to abandon changes");
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelStart(), 6);  // the first empty required position
  // Escape abandons the changes; leaving is then allowed.
  Robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(Edit->EditText(), "__/__/____");
  EXPECT_FALSE(Edit->Modified());
  Robot.PressKey(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Errors.size(), 1u);
  // An untouched empty mask is not an error.
  Edit->SetFocus();
  Robot.PressKey(VK_TAB);
  EXPECT_EQ(Errors.size(), 1u);
}

TEST_F(MaskEditTest, CutAndPasteGoThroughTheMask) {
  Edit->SetEditMask("(000) 000-00;1;_");
  Show();
  Robot.Click(Edit->Handle(), 2, 5);
  SetClipboardTextUtf8("8a12");
  Robot.PressKey(VK_HOME);
  Robot.PressKey('V', rsCtrl);  // stops at the refused letter
  EXPECT_EQ(Edit->EditText(), "(8__) ___-__");
  SetClipboardTextUtf8("(495) 123-45");
  Edit->SelectAll();
  Robot.PressKey('V', rsCtrl);
  EXPECT_EQ(Edit->EditText(), "(495) 123-45");
  SendMessage(Edit->Handle(), EM_SETSEL, 1, 4);
  Robot.PressKey('X', rsCtrl);
  EXPECT_EQ(GetClipboardTextUtf8(), "495");
  EXPECT_EQ(Edit->EditText(), "(___) 123-45");  // literals stay, positions blank
  Robot.PressKey('Z', rsCtrl);
  EXPECT_EQ(Edit->EditText(), "(495) 123-45");
}

TEST_F(MaskEditTest, EscapeReachesTheEditOnlyWhileItIsModified) {
  Edit->SetEditMask("000;1;_");
  auto* cancel = new TButton(Form);
  cancel->SetParent(Form);
  cancel->SetBounds(150, 10, 75, 25);
  cancel->SetCancel(true);
  int cancels = 0;
  cancel->OnClick = [&](TObject*) { ++cancels; };
  Show();
  Robot.Click(Edit->Handle(), 2, 5);
  Robot.PressKey(VK_HOME);
  Robot.Type("12");
  Robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(cancels, 0);
  EXPECT_EQ(Edit->EditText(), "___");
  Robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
}

}  // namespace
