// The main window's file dialogs on a desktop with its own file chooser: a real
// dbus-daemon of the test's own with a stub of the XDG desktop portal on it.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "tests/support/StubPortal.h"

namespace {

class DesktopChooser : public MainWindowTest {
protected:
  TPrivateBus Bus;
  std::unique_ptr<TEnvScope> Env;

  void SetUp() override {
    if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    MainWindowTest::SetUp();
    // No test answerer: the dialogs go to the desktop.
    FDialogs.reset();
    FScope->Backend().SetDesktopFileChooser(true);
    Env = std::make_unique<TEnvScope>("DBUS_SESSION_BUS_ADDRESS", Bus.Address().c_str());
    WriteBase("converting.cnv", Gases(1));
    StartProgram();
    FBoxes->Clear();
  }
  void Load() { FRobot.PressKey('L', rsCtrl); }
};

TEST_F(DesktopChooser, TheOpenActionAsksThePortalWithTheGasBaseFilter) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  WriteBase("г.cnv", {Gas("Метан", "CH4", 0.7f, 1, 1, 1)});
  portal.AnswerUris("['file://" + FDir.string() + "/%D0%B3.cnv']");
  Load();
  ASSERT_EQ(portal.CallCount(), 1u);
  TStubPortal::TCall call = portal.Call(0);
  EXPECT_EQ(call.Method, "OpenFile");
  EXPECT_EQ(TStubPortal::Option(call, "filters"), "[('Файл базы данных газов', [(0, '*.cnv')])]");
  EXPECT_EQ(F->OpenDialog1->FileName(), (FDir / "г.cnv").string());
  EXPECT_EQ(GasRecords().front().GetName(), "Метан");
  EXPECT_TRUE(FBoxes->Shown().empty());

  // A file elsewhere: the URI's escapes decoded byte for byte.
  portal.AnswerUris("['file:///home/u/%D0%B3.cnv']");
  Load();
  EXPECT_EQ(F->OpenDialog1->FileName(), "/home/u/г.cnv");

  // Cancelled in the chooser: nothing changes.
  size_t records = GasRecords().size();
  FBoxes->Clear();
  portal.Answer({1, "@a{sv} {}", 0, nullptr});
  Load();
  EXPECT_EQ(F->OpenDialog1->FileName(), "/home/u/г.cnv");
  EXPECT_EQ(GasRecords().size(), records);
  EXPECT_TRUE(FBoxes->Shown().empty());
  EXPECT_EQ(portal.CallCount(), 3u);
}

TEST_F(DesktopChooser, WithoutABusTheProgramsOwnDialogAppears) {
  TEnvScope noBus("DBUS_SESSION_BUS_ADDRESS", nullptr);
  bool own = false;
  FScope->Backend().WhenIdle([&] {
    auto* f = dynamic_cast<TFileDialogForm*>(Screen->ActiveForm());
    own = f != nullptr;
    if (f) {
      EXPECT_EQ(f->FilterCombo->Items()->Strings(0), "Файл базы данных газов");
      f->CancelButton->Click();
    }
  });
  Load();
  EXPECT_TRUE(own);
}

}  // namespace
