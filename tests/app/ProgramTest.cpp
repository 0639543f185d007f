// The program's entry run headless: the title, the main window with the hidden about box,
// the message loop until the main window closes, and the result.
#include "MainWindowFixture.h"

#include <functional>

#include "app/Program.h"
#include "platform/rtl/Exceptions.h"

namespace {

class Program : public MainWindowTest {};

TEST_F(Program, RunsUntilTheMainWindowClosesAndReturnsZero) {
  WriteBase("converting.cnv", Gases(3));
  bool checked = false;
  FScope->Backend().WhenIdle([&] {
    ASSERT_NE(Form1, nullptr);
    ASSERT_NE(FormAbout, nullptr);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_TRUE(Form1->Visible());
    EXPECT_FALSE(FormAbout->Visible());
    EXPECT_EQ(Application->Title(), "Пересчет коэффициентов ЛОРМ");
    EXPECT_EQ(GasRecords().size(), 3u);
    checked = true;
    Form1->N12->Click();  // one more record, saved at the close
    Form1->N7->Click();
  });
  EXPECT_EQ(WinMain(), 0);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(FBoxes->Shown().empty());
  EXPECT_EQ(FileBytes("converting.cnv").size(), 4u + 4 * 56);
}

TEST_F(Program, AnExceptionThatEscapesIsShownAndTheResultIsStillZero) {
  struct Case {
    std::function<void()> Raise;
    std::string Text;
  };
  const Case cases[] = {
      {[] { throw EConvertError("'x' is not a valid floating point value"); },
       "'x' is not a valid floating point value."},
      {[] { throw 42; }, ""},
  };
  for (const Case& c : cases) {
    FBoxes->Clear();
    FScope->Backend().WhenIdle(c.Raise);
    EXPECT_EQ(WinMain(), 0);
    ASSERT_FALSE(FBoxes->Shown().empty());
    EXPECT_EQ(FBoxes->Shown().back().Text, c.Text);
    EXPECT_EQ(FBoxes->Shown().back().Flags & MB_ICONMASK, MB_ICONSTOP);
    Application->Restart();
    Form1 = nullptr;
    FormAbout = nullptr;
    GasRecords().clear();
  }
}

}  // namespace
