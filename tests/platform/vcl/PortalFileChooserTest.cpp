// The open and save dialogs asking the desktop's file chooser: a real dbus-daemon of the
// test's own with a stub portal on it; the layer's own dialog when there is no bus or no
// portal; test answerers first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/PortalFileChooser.h"
#include "tests/support/StubPortal.h"

namespace fs = std::filesystem;

namespace {

TEST(PortalFileChooser, FileUrisBecomePathsDecodedByteForByte) {
  struct Case {
    const char* Uri;
    const char* Path;  // nullptr: no local file
  } cases[] = {
      {"file:///home/u/%D0%B3.cnv", "/home/u/г.cnv"},
      {"file:///tmp/a%20b%25.cnv", "/tmp/a b%.cnv"},
      {"file:///tmp/%FF%fe.cnv", "/tmp/\xFF\xFE.cnv"},  // not UTF-8: kept as the bytes
      {"file://localhost/tmp/x.cnv", "/tmp/x.cnv"},
      {"file:///tmp/г.cnv", "/tmp/г.cnv"},
      {"https://example.org/a.cnv", nullptr},
      {"smb://server/share/a.cnv", nullptr},
      {"file://server/share/a.cnv", nullptr},
      {"file:///tmp/%G1.cnv", nullptr},
      {"file:///tmp/%4", nullptr},
      {"file:///tmp/a%", nullptr},
      {"file:///tmp/a%00b", nullptr},
      {"file:///tmp/a%2Fb", nullptr},
      {"file:///tmp/a#b", nullptr},
      {"file:relative.cnv", nullptr},
      {"/tmp/a.cnv", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string> p = PathFromFileUri(c.Uri);
    if (c.Path) {
      ASSERT_TRUE(p.has_value()) << c.Uri;
      EXPECT_EQ(*p, c.Path) << c.Uri;
    } else {
      EXPECT_FALSE(p.has_value()) << c.Uri << " gave " << p.value_or("");
    }
  }
  EXPECT_FALSE(PathFromFileUri(std::string("file:///tmp/a\0b", 15)).has_value());
}

TEST(PortalFileChooser, MasksBecomeGlobPatterns) {
  using V = std::vector<std::string>;
  EXPECT_EQ(PortalFilterPatterns("*.cnv"), V{"*.cnv"});
  EXPECT_EQ(PortalFilterPatterns("*.cnv; *.txt"), (V{"*.cnv", "*.txt"}));
  EXPECT_EQ(PortalFilterPatterns("*.*"), V{"*"});
  EXPECT_EQ(PortalFilterPatterns(" ; ;"), V{});
}

// A form that notes, for a message posted to it, whether it was enabled then.
class TNotingForm : public TForm {
public:
  TNotingForm() : TForm(nullptr) {}
  static constexpr UINT kNote = WM_USER + 77;
  std::vector<bool> EnabledWhenNoted;
  std::function<void()> OnNote;

protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == kNote) {
      EnabledWhenNoted.push_back(IsWindowEnabled(Handle()) != FALSE);
      if (OnNote) OnNote();
    }
    TForm::WndProc(Message);
  }
};

class PortalDialogs : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TPrivateBus Bus;
  std::unique_ptr<TEnvScope> Env;
  fs::path Dir;

  void SetUp() override {
    if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon is not installed";
    Application->Restart();
    Scope.Backend().SetDesktopFileChooser(true);
    Env = std::make_unique<TEnvScope>("DBUS_SESSION_BUS_ADDRESS", Bus.Address().c_str());
    Dir = fs::temp_directory_path() / ("lorm_portal_" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
  }
  void TearDown() override {
    fs::remove_all(Dir);
    Application->Restart();
  }
  // The layer's own dialog came up (a step cancels it); false when it did not.
  static bool OwnDialogAppears(TOpenDialog& Dialog, THeadlessBackend& Backend) {
    bool appeared = false;
    Backend.WhenIdle([&] {
      auto* f = dynamic_cast<TFileDialogForm*>(Screen->ActiveForm());
      appeared = f != nullptr;
      if (f) f->CancelButton->Click();
    });
    bool ok = Dialog.Execute();
    Backend.ClearSteps();
    return appeared && !ok;
  }
};

TEST_F(PortalDialogs, OpenAsksThePortalAndTakesTheChosenFile) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  TNotingForm form;
  form.Show();
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv|Все файлы|*.*");
  dialog.SetFilterIndex(2);
  dialog.SetInitialDir(Dir.string());
  dialog.SetTitle("Загрузить");
  // The answer comes later: the wait runs our queue meanwhile, with the form disabled.
  portal.Answer({0, "{'uris': <['file:///home/u/%D0%B3.cnv']>, 'current_filter': <('Файл базы данных газов', [(uint32 0, '*.cnv')])>}", 150, nullptr});
  PostMessage(form.Handle(), TNotingForm::kNote, 0, 0);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/home/u/г.cnv");
  EXPECT_EQ(dialog.Files()->Count(), 1);
  EXPECT_EQ(dialog.FilterIndex(), 1);
  EXPECT_EQ(form.EnabledWhenNoted, std::vector<bool>{false});
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));

  ASSERT_EQ(portal.CallCount(), 1u);
  TStubPortal::TCall c = portal.Call(0);
  EXPECT_EQ(c.Method, "OpenFile");
  EXPECT_EQ(c.Parent, "");  // headless: no window on a display
  EXPECT_EQ(c.Title, "Загрузить");
  EXPECT_EQ(TStubPortal::Option(c, "filters"),
            "[('Файл базы данных газов', [(0, '*.cnv')]), ('Все файлы', [(0, '*')])]");
  EXPECT_EQ(TStubPortal::Option(c, "current_filter"), "('Все файлы', [(0, '*')])");
  EXPECT_EQ(TStubPortal::BytesOption(c, "current_folder"), Dir.string());
  EXPECT_EQ(TStubPortal::Option(c, "modal"), "true");
  EXPECT_EQ(TStubPortal::Option(c, "multiple"), "false");
  EXPECT_EQ(TStubPortal::Option(c, "current_name"), "");
}

TEST_F(PortalDialogs, SaveGivesTheCurrentNameAndLeavesTheOverwritePromptToTheChooser) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  std::ofstream(Dir / "есть.cnv") << "x";
  std::ofstream(Dir / "base.cnv") << "x";
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetFileName((Dir / "база.cnv").string());
  dialog.SetDefaultExt("cnv");
  dialog.SetOptions(dialog.Options() + ofOverwritePrompt);
  TMessageBoxRecorder boxes(IDYES);
  // The chooser confirmed replacing "есть.cnv": no second question.
  portal.AnswerUris("['file://" + Dir.string() + "/%D0%B5%D1%81%D1%82%D1%8C.cnv']");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "есть.cnv").string());
  EXPECT_TRUE(boxes.Shown().empty());
  // The default extension made "base" another name, which exists: we ask.
  portal.AnswerUris("['file://" + Dir.string() + "/base']");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "base.cnv").string());
  EXPECT_EQ(boxes.Shown().size(), 1u);

  ASSERT_EQ(portal.CallCount(), 2u);
  TStubPortal::TCall c = portal.Call(0);
  EXPECT_EQ(c.Method, "SaveFile");
  EXPECT_EQ(c.Title, "Сохранить как");
  EXPECT_EQ(TStubPortal::Option(c, "current_name"), "'база.cnv'");
  EXPECT_EQ(TStubPortal::BytesOption(c, "current_folder"), Dir.string());
  EXPECT_EQ(TStubPortal::Option(c, "multiple"), "");
  EXPECT_EQ(TStubPortal::Option(portal.Call(1), "current_name"), "'есть.cnv'");
}

TEST_F(PortalDialogs, SeveralFilesWhenMultiSelectIsAllowed) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  TOpenDialog dialog(nullptr);
  dialog.SetOptions(dialog.Options() + ofAllowMultiSelect);
  portal.AnswerUris("['file:///tmp/a.cnv', 'file:///tmp/b%20c.cnv']");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(TStubPortal::Option(portal.Call(0), "multiple"), "true");
  ASSERT_EQ(dialog.Files()->Count(), 2);
  EXPECT_EQ(dialog.Files()->Strings(1), "/tmp/b c.cnv");
  EXPECT_EQ(TStubPortal::Option(portal.Call(0), "filters"), "");  // no filter, none given
}

// Cancels, endings and answers that name no local file: Execute is false and the file
// name stays as it was.
TEST_F(PortalDialogs, CancelsAndUnusableAnswersLeaveTheFileNameAlone) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  struct Case {
    int Response;
    const char* Results;
  } cases[] = {
      {1, "{'uris': <['file:///tmp/x.cnv']>}"},  // the user cancelled
      {2, "{'uris': <['file:///tmp/x.cnv']>}"},  // ended otherwise
      {7, "{'uris': <['file:///tmp/x.cnv']>}"},  // a response the portal does not define
      {0, "{'uris': <['https://example.org/x.cnv']>}"},
      {0, "{'uris': <['file://server/x.cnv']>}"},
      {0, "{'uris': <['file:///tmp/%D0%x.cnv']>}"},
      {0, "{'uris': <['file:///tmp/%00.cnv']>}"},
      {0, "{'uris': <['file:///tmp/ok.cnv', 'ftp://h/x.cnv']>}"},
      {0, "{'uris': <@as []>}"},
      {0, "{'uris': <'file:///tmp/x.cnv'>}"},  // not a list
      {0, "@a{sv} {}"},
  };
  TOpenDialog dialog(nullptr);
  dialog.SetOptions(dialog.Options() + ofAllowMultiSelect);
  dialog.SetFileName("/tmp/before.cnv");
  for (const Case& c : cases) {
    portal.Answer({c.Response, c.Results, 0, nullptr});
    EXPECT_FALSE(dialog.Execute()) << c.Response << " " << c.Results;
    EXPECT_EQ(dialog.FileName(), "/tmp/before.cnv") << c.Results;
  }
  EXPECT_EQ(portal.CallCount(), std::size(cases));
}

TEST_F(PortalDialogs, APortalThatLeavesOrABusThatGoesAwayCancels) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  TOpenDialog dialog(nullptr);
  dialog.SetFileName("/tmp/before.cnv");
  portal.Answer({-1, "", 50, [&portal] { portal.Leave(); }});
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(portal.CallCount(), 1u);

  TStubPortal second(Bus.Address());
  ASSERT_TRUE(second.Ready());
  second.Answer({-1, "", 50, [this] { Bus.Stop(); }});
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(second.CallCount(), 1u);
  EXPECT_EQ(dialog.FileName(), "/tmp/before.cnv");
  // With the bus gone the layer's own dialog stands in.
  EXPECT_TRUE(OwnDialogAppears(dialog, Scope.Backend()));
}

// The application ends while the chooser is up: the request is closed and the dialog
// cancels; the quit is left for the outer loop.
TEST_F(PortalDialogs, QuittingClosesTheRequest) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  TNotingForm form;
  form.Show();
  TOpenDialog dialog(nullptr);
  dialog.SetFileName("/tmp/before.cnv");
  portal.Answer({-1, "", 0, nullptr});
  // Handled inside the wait, on the bus's side of it (the thread's main context while
  // the dialog waits): once the portal has the call, the application quits.
  struct TWatch {
    TStubPortal* Portal;
    int Looks = 0;
  } watch{&portal};
  form.OnNote = [&watch] {
    GSource* tick = g_timeout_source_new(10);
    g_source_set_callback(
        tick,
        [](gpointer w) -> gboolean {
          auto* watch = static_cast<TWatch*>(w);
          if (watch->Portal->CallCount() == 0 && ++watch->Looks < 500) return G_SOURCE_CONTINUE;
          PostQuitMessage(0);
          return G_SOURCE_REMOVE;
        },
        &watch, nullptr);
    g_source_attach(tick, g_main_context_get_thread_default());
    g_source_unref(tick);
  };
  PostMessage(form.Handle(), TNotingForm::kNote, 0, 0);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "/tmp/before.cnv");
  EXPECT_TRUE(Application->Terminated());
  for (int i = 0; i < 200 && portal.CallCount() < 2; ++i) g_usleep(10000);
  ASSERT_EQ(portal.CallCount(), 2u);
  EXPECT_EQ(portal.Call(1).Method, "Close");
}

TEST_F(PortalDialogs, TheOwnDialogWithoutABusOrAPortal) {
  TOpenDialog open(nullptr);
  TSaveDialog save(nullptr);
  // A bus with no portal on it.
  EXPECT_TRUE(OwnDialogAppears(open, Scope.Backend()));
  // A portal without SaveFile.
  {
    TStubPortal portal(Bus.Address(), {"OpenFile"});
    ASSERT_TRUE(portal.Ready());
    EXPECT_TRUE(OwnDialogAppears(save, Scope.Backend()));
    EXPECT_EQ(portal.CallCount(), 0u);
  }
  // No bus at all, or an address where none listens.
  for (const char* address : {static_cast<const char*>(nullptr), "", "unix:path=/nonexistent/lorm-bus"}) {
    TEnvScope env("DBUS_SESSION_BUS_ADDRESS", address);
    EXPECT_TRUE(OwnDialogAppears(open, Scope.Backend())) << (address ? address : "(unset)");
  }
}

TEST_F(PortalDialogs, AnswerersAndTheHeadlessDefaultNeverAskThePortal) {
  TStubPortal portal(Bus.Address());
  ASSERT_TRUE(portal.Ready());
  TOpenDialog dialog(nullptr);
  {
    TFileDialogRecorder recorder;
    recorder.Answer("/tmp/answered.cnv");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), "/tmp/answered.cnv");
  }
  Scope.Backend().SetDesktopFileChooser(false);
  EXPECT_TRUE(OwnDialogAppears(dialog, Scope.Backend()));
  EXPECT_EQ(portal.CallCount(), 0u);
}

}  // namespace
