// Message boxes and file dialogs: answered by the responders, and as real modal windows
// driven by the robot on the headless back end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Filer.h"

namespace fs = std::filesystem;

namespace {

class DialogsTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  fs::path Dir;

  void SetUp() override {
    Application->Restart();
    Dir = fs::temp_directory_path() /
          ("lorm_dialogs_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir / "sub");
  }
  void TearDown() override {
    fs::remove_all(Dir);
    Application->Restart();
  }
  void Touch(const fs::path& p) { std::ofstream(p) << "x"; }
  // The modal window on top (a step runs inside its loop).
  template <class T>
  static T* Top() {
    return dynamic_cast<T*>(Screen->ActiveForm());
  }
  // Saves a snapshot when LORM_DIALOGS_PNG_DIR names a folder (for looking at the dialogs).
  static void Snapshot(HWND h, const char* name) {
    if (const char* dir = std::getenv("LORM_DIALOGS_PNG_DIR")) SaveWindowPng(h, (fs::path(dir) / name).string());
  }
  void Step(std::function<void()> f) { Scope.Backend().WhenIdle(std::move(f)); }
};

// ---------------------------------------------------------------------------------------
// Every way to show a box reaches the installed handler.
TEST_F(DialogsTest, EveryMessageBoxReachesTheInstalledHandler) {
  Application->SetTitle("ЛОРМ");
  TMessageBoxRecorder boxes(IDNO);
  EXPECT_EQ(MessageBox(nullptr, "Текст", "Заголовок", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(Application->MessageBox("Сбой", "", MB_OK | MB_ICONSTOP), IDNO);
  EXPECT_EQ(MessageDlg("Удалить?", mtConfirmation, mbOKCancel, 0), mrNo);
  MessageDlg("Повторить?", mtError, mbAbortRetryIgnore, 0);
  MessageDlg("Заменить?", mtWarning, TMsgDlgButtons{mbYes, mbNo, mbHelp}, 0, mbNo);
  MessageDlg("Свой", mtCustom, TMsgDlgButtons{mbOK}, 0);
  ShowMessage("Готово");
  EXPECT_EQ(boxes.Shown(), (std::vector<TRecordedMessageBox>{
                               {"Текст", "Заголовок", MB_YESNO | MB_ICONQUESTION},
                               {"Сбой", "ЛОРМ", MB_OK | MB_ICONSTOP},
                               {"Удалить?", "Подтверждение", MB_OKCANCEL | MB_ICONQUESTION},
                               // Retry is the default of Abort, Retry, Ignore.
                               {"Повторить?", "Ошибка", MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_DEFBUTTON2},
                               {"Заменить?", "Предупреждение", MB_YESNO | MB_ICONWARNING | MB_HELP | MB_DEFBUTTON2},
                               {"Свой", "ЛОРМ", MB_OK},
                               {"Готово", "ЛОРМ", MB_OK},
                           }));
}

TEST_F(DialogsTest, AButtonSetWithoutAnMBTypeIsGivenToTheHandlerAsButtons) {
  std::vector<TMessageBoxButton> seen;
  int flags = 0;
  TMessageBoxHandler previous = SetMessageBoxHandler([&](const std::string&, const std::string&, int f) {
    seen = MessageBoxButtons();
    flags = f;
    return mrYesToAll;
  });
  EXPECT_EQ(MessageDlg("Заменить все?", mtConfirmation, mbYesAllNoAllCancel, 0), mrYesToAll);
  SetMessageBoxHandler(std::move(previous));
  EXPECT_EQ(flags & MB_TYPEMASK, MB_USERBUTTONS);
  EXPECT_EQ(flags & MB_ICONMASK, MB_ICONQUESTION);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0], (TMessageBoxButton{mrYes, "&Да", true, false}));
  EXPECT_EQ(seen[1].Result, mrNo);
  EXPECT_EQ(seen[2], (TMessageBoxButton{mrCancel, "Отмена", false, true}));
  EXPECT_EQ(seen[3].Result, mrNoToAll);
  EXPECT_EQ(seen[4].Result, mrYesToAll);
  // Outside a box there are no buttons; a plain box shows the buttons of its type.
  EXPECT_TRUE(MessageBoxButtons().empty());
}

TEST_F(DialogsTest, MessageDlgChoosesDefaultAndCancelButtons) {
  struct TCase {
    TMsgDlgButtons Buttons;
    int Default, Cancel;
    size_t Count;
  } cases[] = {
      {TMsgDlgButtons{mbYes, mbNo}, mrYes, mrNo, 2},  // Escape answers No
      {mbOKCancel, mrOk, mrCancel, 2},
      {mbAbortRetryIgnore, mrRetry, 0, 3},
      {TMsgDlgButtons{mbRetry, mbCancel}, mrRetry, mrCancel, 2},
      {TMsgDlgButtons{}, mrOk, mrOk, 1},  // an empty set still closes
      {TMsgDlgButtons{mbHelp}, mrOk, mrOk, 2},
  };
  for (const TCase& c : cases) {
    auto b = MessageDlgButtons(c.Buttons);
    EXPECT_EQ(b.size(), c.Count);
    int def = -1, cancel = 0;
    for (const auto& x : b) {
      if (x.Default) def = x.Result;
      if (x.Cancel) cancel = x.Result;
    }
    EXPECT_EQ(def, c.Default);
    EXPECT_EQ(cancel, c.Cancel);
  }
}

// ---------------------------------------------------------------------------------------
// The real box, driven by the robot.
TEST_F(DialogsTest, RealBoxAnswersEnterEscapeTabAndClicks) {
  struct TCase {
    const char* Name;
    int Flags;
    std::function<void(TRobot&, TMessageForm*)> Act;
    int Expected;
  } cases[] = {
      {"enter presses the default", MB_YESNOCANCEL | MB_DEFBUTTON2,
       [](TRobot& r, TMessageForm*) { r.PressKey(VK_RETURN); }, IDNO},
      {"escape cancels", MB_YESNOCANCEL, [](TRobot& r, TMessageForm*) { r.PressKey(VK_ESCAPE); }, IDCANCEL},
      {"escape of a lone OK", MB_OK, [](TRobot& r, TMessageForm*) { r.PressKey(VK_ESCAPE); }, IDOK},
      {"tab then enter", MB_OKCANCEL,
       [](TRobot& r, TMessageForm*) {
         r.PressKey(VK_TAB);
         r.PressKey(VK_RETURN);
       },
       IDCANCEL},
      {"a letter presses its button", MB_ABORTRETRYIGNORE, [](TRobot& r, TMessageForm*) { r.Type("в"); }, IDRETRY},
      {"click", MB_RETRYCANCEL | MB_ICONWARNING,
       [](TRobot& r, TMessageForm* f) { r.Click(f->FindButton("Отмена")->Handle(), 10, 10); }, IDCANCEL},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    bool ran = false;
    Step([&] {
      auto* form = Top<TMessageForm>();
      ASSERT_NE(form, nullptr);
      ran = true;
      c.Act(Robot, form);
    });
    EXPECT_EQ(MessageBox(nullptr, "Сохранить изменения?", "ЛОРМ", UINT(c.Flags)), c.Expected);
    EXPECT_TRUE(ran);
    EXPECT_EQ(Scope.Backend().PendingSteps(), 0u);
  }
}

TEST_F(DialogsTest, RealBoxWithoutCancelIgnoresEscapeAndTheCloseRequest) {
  Step([&] {
    auto* form = Top<TMessageForm>();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->BorderIcons().Contains(biSystemMenu));
    Robot.PressKey(VK_ESCAPE);
  });
  Step([&] {
    auto* form = Top<TMessageForm>();
    ASSERT_NE(form, nullptr);  // still up
    PostMessage(form->Handle(), WM_CLOSE, 0, 0);
  });
  Step([&] {
    auto* form = Top<TMessageForm>();
    ASSERT_NE(form, nullptr);
    Robot.Click(form->FindButton("&Нет")->Handle(), 5, 5);
  });
  EXPECT_EQ(MessageBox(nullptr, "Продолжить?", "ЛОРМ", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(Scope.Backend().PendingSteps(), 0u);
}

TEST_F(DialogsTest, RealBoxShowsIconTextAndButtons) {
  struct TCase {
    int Icon;
    COLORREF Colour;  // a pixel of the icon's body
    int X, Y;
  } cases[] = {
      {MB_ICONSTOP, RGB(224, 32, 32), 8, 4},
      {MB_ICONWARNING, RGB(255, 221, 0), 6, 24},
      {MB_ICONINFORMATION, RGB(255, 255, 255), 5, 10},
      {MB_ICONQUESTION, RGB(255, 255, 255), 5, 10},
  };
  for (const TCase& c : cases) {
    Step([&] {
      auto* form = Top<TMessageForm>();
      ASSERT_NE(form, nullptr);
      ASSERT_NE(form->Icon, nullptr);
      int ix = form->Icon->Left(), iy = form->Icon->Top();
      EXPECT_EQ(WindowPixel(form->Handle(), ix + c.X, iy + c.Y), c.Colour);
      // The text stands right of the icon, the buttons below both, centred.
      EXPECT_GT(form->Message->Left(), ix + 32);
      EXPECT_EQ(form->Message->Caption(), "Файл базы газов повреждён и не может быть прочитан целиком.");
      ASSERT_EQ(form->Buttons.size(), 2u);
      EXPECT_GE(form->Buttons[0]->Top(), iy + 32);
      int left = form->Buttons[0]->Left(), right = form->ClientWidth() - form->Buttons[1]->Left() -
                                                   form->Buttons[1]->Width();
      EXPECT_NEAR(left, right, 1);
      Snapshot(form->Handle(), ("message_box_" + std::to_string(c.Icon) + ".png").c_str());
      Robot.PressKey(VK_RETURN);
    });
    EXPECT_EQ(MessageBox(nullptr, "Файл базы газов повреждён и не может быть прочитан целиком.", "Чтение базы",
                         UINT(MB_OKCANCEL | c.Icon)),
              IDOK);
  }
}

TEST_F(DialogsTest, RealMessageDlgHasItsOwnButtons) {
  Step([&] {
    auto* form = Top<TMessageForm>();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->Buttons.size(), 5u);
    EXPECT_EQ(form->Caption(), "Подтверждение");
    Snapshot(form->Handle(), "message_dlg.png");
    Robot.Click(form->FindButton("Да для &всех")->Handle(), 5, 5);
  });
  EXPECT_EQ(MessageDlg("Заменить все записи?", mtConfirmation, mbYesAllNoAllCancel, 0), mrYesToAll);
  // Escape answers No when there is no Cancel.
  Step([&] { Robot.PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Удалить?", mtWarning, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
}

TEST_F(DialogsTest, RealBoxWithNobodyToAnswerStallsInsteadOfHanging) {
  EXPECT_THROW(MessageBox(nullptr, "Никто не ответит", "ЛОРМ", MB_OK), EMessageLoopStalled);
  EXPECT_EQ(Screen->ActiveForm(), nullptr);  // the box is gone
  // A modal responder answers the real box like any modal form.
  TModalResponder previous = SetModalResponder([](TCustomForm* f) { f->SetModalResult(mrRetry); });
  EXPECT_EQ(MessageBox(nullptr, "Ещё раз?", "ЛОРМ", MB_RETRYCANCEL), IDRETRY);
  SetModalResponder(std::move(previous));
}

// ---------------------------------------------------------------------------------------
// Filters and masks.
TEST(DialogsFilter, ParsesPairsAndMatchesMasks) {
  auto f = ParseFilter("Файл базы данных газов|*.cnv|Все файлы|*.*|Без маски");
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].Description, "Файл базы данных газов");
  EXPECT_EQ(f[0].Mask, "*.cnv");
  EXPECT_EQ(f[1].Mask, "*.*");
  EXPECT_TRUE(ParseFilter("").empty());

  struct TCase {
    const char* Name;
    const char* Mask;
    bool Match;
  } cases[] = {
      {"converting.cnv", "*.cnv", true}, {"BASE.CNV", "*.cnv", true},     {"база.CNV", "*.cnv", true},
      {"a.cnvx", "*.cnv", false},        {"a.cnv.bak", "*.cnv", false},   {"noext", "*.*", true},
      {"a.txt", "*.cnv; *.txt", true},   {"ab.cnv", "?.cnv", false},      {"a.cnv", "?.cnv", true},
      {"README", "*.", true},            {"a.b", "*.", false},            {"Газ.cnv", "г*.cnv", true},
  };
  for (const TCase& c : cases) EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Match) << c.Name << " " << c.Mask;
}

// ---------------------------------------------------------------------------------------
// File dialogs answered by the recorder.
TEST_F(DialogsTest, SaveDialogAnsweredByTheRecorderKeepsTheNameAsTyped) {
  TFileDialogRecorder files;
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(dialog.Options() + ofOverwritePrompt);
  files.Answer("base");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "base").string());  // no extension added
  ASSERT_EQ(files.Shown().size(), 1u);
  const TFileDialogRequest& r = files.Shown()[0];
  EXPECT_TRUE(r.Save);
  EXPECT_EQ(r.Title, "Сохранить как");
  EXPECT_EQ(r.Filter, "Файл базы данных газов|*.cnv");
  EXPECT_EQ(r.FilterIndex, 1);
  EXPECT_EQ(r.InitialDir, Dir.string());
  EXPECT_TRUE(r.Options.Contains(ofOverwritePrompt));

  // A default extension goes on a name without one only.
  dialog.SetDefaultExt(".cnv");
  files.Answer("base");
  files.Answer(( Dir / "other.dat").string());
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "base.cnv").string());
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "other.dat").string());

  // Cancel leaves the name alone.
  files.AnswerCancel();
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / "other.dat").string());
}

TEST_F(DialogsTest, OverwritePromptAndMustExistAskAgain) {
  Touch(Dir / "a.cnv");
  TMessageBoxRecorder boxes(IDNO);
  TFileDialogRecorder files;
  TSaveDialog save(nullptr);
  save.SetInitialDir(Dir.string());
  save.SetTitle("Сохранить базу");
  save.SetOptions(TOpenOptions{ofOverwritePrompt});
  files.Answer("a.cnv");  // refused: "No" to replacing
  files.Answer("b.cnv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), (Dir / "b.cnv").string());
  EXPECT_EQ(files.Shown().size(), 2u);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].Caption, "Сохранить базу");
  EXPECT_EQ(boxes.Shown()[0].Flags, MB_YESNO | MB_ICONWARNING);
  EXPECT_NE(boxes.Shown()[0].Text.find((Dir / "a.cnv").string()), std::string::npos);

  // Yes replaces; without the option nobody is asked.
  boxes.SetAnswer(IDYES);
  files.Answer("a.cnv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), (Dir / "a.cnv").string());
  EXPECT_EQ(boxes.Shown().size(), 2u);
  save.SetOptions(TOpenOptions{});
  files.Answer("a.cnv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(boxes.Shown().size(), 2u);

  boxes.Clear();
  TOpenDialog open(nullptr);
  open.SetInitialDir(Dir.string());
  open.SetOptions(TOpenOptions{ofFileMustExist, ofAllowMultiSelect});
  files.AnswerFiles({"missing.cnv"});
  files.AnswerFiles({"a.cnv", (Dir / "sub").string()});  // a folder is not a file
  files.AnswerFiles({"a.cnv"}, 1);
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), (Dir / "a.cnv").string());
  EXPECT_EQ(open.Files()->Count(), 1);
  EXPECT_EQ(boxes.Shown().size(), 2u);
  EXPECT_EQ(files.PendingAnswers(), 0u);
}

TEST_F(DialogsTest, OnCanCloseRefusesAndEventsRun) {
  TFileDialogRecorder files;
  TOpenDialog open(nullptr);
  open.SetInitialDir(Dir.string());
  open.SetFileName("old.cnv");
  std::vector<std::string> events;
  open.OnShow = [&](TObject*) { events.push_back("show"); };
  open.OnClose = [&](TObject*) { events.push_back("close"); };
  open.OnCanClose = [&](TObject* s, bool& can) {
    events.push_back("can " + fs::path(static_cast<TOpenDialog*>(s)->FileName()).filename().string());
    can = static_cast<TOpenDialog*>(s)->FileName().find("bad") == std::string::npos;
  };
  files.Answer("bad.cnv");
  files.AnswerCancel();
  EXPECT_FALSE(open.Execute());
  EXPECT_EQ(open.FileName(), "old.cnv");
  EXPECT_EQ(events, (std::vector<std::string>{"show", "can bad.cnv", "close"}));
}

TEST_F(DialogsTest, DialogsAreReadFromAStoredForm) {
  RegisterClass(TForm::StaticClass());
  auto* form = new TForm(nullptr);
  ReadComponentFromText(R"(object Form1: TForm
  object OpenDialog1: TOpenDialog
    Filter = 'Файл базы данных газов|*.cnv'
    FilterIndex = 1
    Options = [ofOverwritePrompt, ofHideReadOnly, ofFileMustExist, ofEnableSizing]
    Title = 'Загрузка'
  end
  object SaveDialog1: TSaveDialog
    Filter = 'Файл базы данных газов|*.cnv'
  end
end
)",
                        form);
  auto* open = dynamic_cast<TOpenDialog*>(form->FindComponent("OpenDialog1"));
  auto* save = dynamic_cast<TSaveDialog*>(form->FindComponent("SaveDialog1"));
  ASSERT_NE(open, nullptr);
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(open->Filter(), "Файл базы данных газов|*.cnv");
  EXPECT_EQ(open->Options(), (TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofFileMustExist, ofEnableSizing}));
  EXPECT_EQ(open->Title(), "Загрузка");
  EXPECT_EQ(save->Options(), (TOpenOptions{ofHideReadOnly, ofEnableSizing}));
  delete form;
}

// ---------------------------------------------------------------------------------------
// The real file dialog, driven by the robot.
static POINT ItemPoint(TCustomListBox* list, int index) {
  TRect r = list->ItemRect(index);
  return POINT{r.Left + 30, (r.Top + r.Bottom) / 2};
}

static std::vector<std::string> Names(TFileDialogForm* f) {
  std::vector<std::string> n;
  for (const auto& e : f->Entries()) n.push_back(e.Name);
  return n;
}

TEST_F(DialogsTest, RealFileDialogFiltersNavigatesAndTakesATypedName) {
  Touch(Dir / "b.cnv");
  Touch(Dir / "a.CNV");
  Touch(Dir / "notes.txt");
  Touch(Dir / "sub" / "c.cnv");
  fs::create_directories(Dir / "Zeta");
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv|Все файлы|*.*");
  dialog.SetInitialDir(Dir.string());
  std::vector<std::string> first, inSub, all;
  std::string folder;
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    first = Names(f);
    Snapshot(f->Handle(), "file_dialog.png");
    // Another filter shows every file.
    f->FilterCombo->SetItemIndex(1);
    f->FilterCombo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
    all = Names(f);
    f->FilterCombo->SetItemIndex(0);
    f->FilterCombo->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
    POINT p = ItemPoint(f->FileList, 0);  // "sub"
    Robot.DoubleClick(f->FileList->Handle(), p.x, p.y);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    folder = f->Folder();
    inSub = Names(f);
    EXPECT_EQ(f->PathEdit->Text(), folder);
    Robot.Click(f->NameEdit->Handle(), 5, 5);
    Robot.Type("новая база");
    Robot.PressKey(VK_RETURN);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(first, (std::vector<std::string>{"sub", "Zeta", "a.CNV", "b.cnv"}));
  EXPECT_EQ(all, (std::vector<std::string>{"sub", "Zeta", "a.CNV", "b.cnv", "notes.txt"}));
  EXPECT_EQ(folder, (Dir / "sub").string());
  EXPECT_EQ(inSub, (std::vector<std::string>{"c.cnv"}));
  EXPECT_EQ(dialog.FileName(), (Dir / "sub" / "новая база").string());
  EXPECT_EQ(Scope.Backend().PendingSteps(), 0u);
}

TEST_F(DialogsTest, RealFileDialogGoesUpTakesAPathAndCancels) {
  Touch(Dir / "sub" / "c.cnv");
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir((Dir / "sub").string());
  dialog.SetFileName("keep.cnv");
  std::string afterUp, afterPath, afterBack;
  int folderChanges = 0;
  dialog.OnFolderChange = [&](TObject*) { ++folderChanges; };
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->NameEdit->Text(), "keep.cnv");
    Robot.Click(f->UpButton->Handle(), 5, 5);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    afterUp = f->Folder();
    // Enter in the path field goes where it says.
    Robot.Click(f->PathEdit->Handle(), 5, 5);
    f->PathEdit->SetText((Dir / "sub").string());
    Robot.PressKey(VK_RETURN);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    afterPath = f->Folder();
    // Backspace in the list goes up too.
    Robot.Click(f->FileList->Handle(), 5, 5);
    Robot.PressKey(VK_BACK);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    afterBack = f->Folder();
    Robot.PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(afterUp, Dir.string());
  EXPECT_EQ(afterPath, (Dir / "sub").string());
  EXPECT_EQ(afterBack, Dir.string());
  EXPECT_EQ(folderChanges, 3);
  EXPECT_EQ(dialog.FileName(), "keep.cnv");
}

TEST_F(DialogsTest, RealFileDialogAsksBeforeOverwritingThroughARealBox) {
  Touch(Dir / "a.cnv");
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(dialog.Options() + ofOverwritePrompt);
  std::string question;
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    POINT p = ItemPoint(f->FileList, 1);  // "a.cnv" after "sub"
    Robot.Click(f->FileList->Handle(), p.x, p.y);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->NameEdit->Text(), "a.cnv");
    Robot.PressKey(VK_RETURN);  // the list has a file selected: the name is taken
  });
  Step([&] {
    auto* box = Top<TMessageForm>();
    ASSERT_NE(box, nullptr);
    question = box->Message->Caption();
    Snapshot(box->Handle(), "overwrite_prompt.png");
    Robot.Click(box->FindButton("&Нет")->Handle(), 5, 5);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);  // still open after "No"
    f->NameEdit->SetText("b");
    Robot.Click(f->OkButton->Handle(), 5, 5);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(question, (Dir / "a.cnv").string() + " уже существует.\nВы хотите заменить его?");
  EXPECT_EQ(dialog.FileName(), (Dir / "b").string());
  EXPECT_EQ(Scope.Backend().PendingSteps(), 0u);
}

TEST_F(DialogsTest, RealFileDialogSelectsSeveralFiles) {
  Touch(Dir / "a.cnv");
  Touch(Dir / "b.cnv");
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(dialog.Options() + ofAllowMultiSelect + ofFileMustExist);
  std::string typed;
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    POINT a = ItemPoint(f->FileList, 1), b = ItemPoint(f->FileList, 2);
    Robot.Click(f->FileList->Handle(), a.x, a.y);
    Robot.Click(f->FileList->Handle(), b.x, b.y, TInputButton::Left, rsShift);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    typed = f->NameEdit->Text();
    Robot.Click(f->OkButton->Handle(), 5, 5);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(typed, "\"a.cnv\" \"b.cnv\"");
  ASSERT_EQ(dialog.Files()->Count(), 2);
  EXPECT_EQ(dialog.Files()->Get(0), (Dir / "a.cnv").string());
  EXPECT_EQ(dialog.Files()->Get(1), (Dir / "b.cnv").string());
  EXPECT_EQ(dialog.FileName(), (Dir / "a.cnv").string());
}

TEST_F(DialogsTest, RealOpenDialogShowsTheReadOnlyBoxUnlessHidden) {
  Touch(Dir / "a.cnv");
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(TOpenOptions{ofFileMustExist});
  dialog.SetFileName("a.cnv");
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->ReadOnlyCheck, nullptr);
    Snapshot(f->Handle(), "open_dialog_read_only.png");
    Robot.Click(f->ReadOnlyCheck->Handle(), 3, 8);
    Robot.Click(f->OkButton->Handle(), 5, 5);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(dialog.Options().Contains(ofReadOnly));
  EXPECT_EQ(dialog.FileName(), (Dir / "a.cnv").string());
}

}  // namespace

namespace {

// HOME for one test.
class THomeScope {
public:
  explicit THomeScope(const char* value) {
    if (const char* old = std::getenv("HOME")) FOld = old, FHad = true;
    if (value) setenv("HOME", value, 1);
    else unsetenv("HOME");
  }
  ~THomeScope() {
    if (FHad) setenv("HOME", FOld.c_str(), 1);
    else unsetenv("HOME");
  }

private:
  std::string FOld;
  bool FHad = false;
};

std::vector<std::string> PlaceFolders() {
  std::vector<std::string> out;
  for (const auto& p : TFileDialogForm::Places()) out.push_back(p.Caption + "=" + p.Folder);
  return out;
}

}  // namespace

// The bar of places shows the places that exist.
TEST_F(DialogsTest, PlacesAreTheDesktopHomeAndRootThatExist) {
  std::string home = Dir.string();
  {
    THomeScope h(home.c_str());
    EXPECT_EQ(PlaceFolders(), (std::vector<std::string>{"Домашняя папка=" + home, "Компьютер=/"}));
    fs::create_directories(Dir / "Рабочий стол");
    EXPECT_EQ(PlaceFolders(), (std::vector<std::string>{"Рабочий стол=" + (Dir / "Рабочий стол").string(),
                                                         "Домашняя папка=" + home, "Компьютер=/"}));
  }
  {
    THomeScope h((Dir / "missing").c_str());
    EXPECT_EQ(PlaceFolders(), (std::vector<std::string>{"Компьютер=/"}));
  }
  {
    THomeScope h(nullptr);
    EXPECT_EQ(PlaceFolders(), (std::vector<std::string>{"Компьютер=/"}));
  }
}

// A click on a place opens it; the name typed stays.
TEST_F(DialogsTest, RealFileDialogOpensAPlaceClicked) {
  fs::create_directories(Dir / "Desktop");
  Touch(Dir / "Desktop" / "d.cnv");
  THomeScope h(Dir.string().c_str());
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir((Dir / "sub").string());
  int folderChanges = 0;
  dialog.OnFolderChange = [&](TObject*) { ++folderChanges; };
  std::vector<std::string> onDesktop;
  std::string atHome, atRoot;
  auto clickPlace = [this](TFileDialogForm* f, size_t i) {
    ASSERT_LT(i, f->PlaceButtons.size());
    TSpeedButton* b = f->PlaceButtons[i];
    Robot.Click(f->PlacesBar->Handle(), b->Left() + b->Width() / 2, b->Top() + 10);
  };
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    Snapshot(f->Handle(), "file_dialog_places.png");
    Robot.Click(f->NameEdit->Handle(), 5, 5);
    Robot.Type("итог");
    clickPlace(f, 0);  // the desktop
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    onDesktop = Names(f);
    Snapshot(f->Handle(), "file_dialog_place_hot.png");  // the pointer rests on the desktop
    clickPlace(f, 2);  // the root
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    atRoot = f->Folder();
    clickPlace(f, 1);  // home
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    atHome = f->Folder();
    Robot.Click(f->OkButton->Handle(), 5, 5);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(onDesktop, std::vector<std::string>{"d.cnv"});
  EXPECT_EQ(atRoot, "/");
  EXPECT_EQ(atHome, Dir.string());
  EXPECT_EQ(folderChanges, 3);
  EXPECT_EQ(dialog.FileName(), (Dir / "итог").string());
}

// A file whose name is not UTF-8 (any bytes but "/" are allowed) is listed and, picked from
// the list, handed back byte for byte so that the program can open it.
TEST_F(DialogsTest, RealFileDialogKeepsANameThatIsNotUtf8) {
  const std::string odd = "\xff\xfe-\xc3.cnv";
  Touch(Dir / odd);
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  dialog.SetOptions(dialog.Options() + ofFileMustExist);
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(Names(f), (std::vector<std::string>{"sub", odd}));
    Snapshot(f->Handle(), "file_dialog_odd_name.png");
    POINT p = ItemPoint(f->FileList, 1);
    Robot.DoubleClick(f->FileList->Handle(), p.x, p.y);
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / odd).string());
  // Clicked into the name field, then OK.
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    POINT p = ItemPoint(f->FileList, 1);
    Robot.Click(f->FileList->Handle(), p.x, p.y);
    Robot.Click(f->OkButton->Handle(), 5, 5);
  });
  dialog.SetFileName("");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), (Dir / odd).string());
}

// The list's size and date columns.
TEST(DialogsFileColumns, SizeAndModifiedTexts) {
  struct TCase {
    bool Folder;
    std::uintmax_t Size;
    const char* Text;
  };
  for (const TCase& c : {TCase{false, 0, "0 КБ"}, TCase{false, 1, "1 КБ"}, TCase{false, 1024, "1 КБ"},
                         TCase{false, 1025, "2 КБ"}, TCase{false, 999u * 1024, "999 КБ"},
                         TCase{false, 1000u * 1024, "1 000 КБ"}, TCase{false, std::uintmax_t(12345678) * 1024, "12 345 678 КБ"},
                         TCase{true, 4096, ""}}) {
    TFileDialogForm::TEntry e;
    e.Folder = c.Folder;
    e.Size = c.Size;
    EXPECT_EQ(TFileDialogForm::SizeText(e), c.Text) << c.Size;
  }
  std::string oldTz = std::getenv("TZ") ? std::getenv("TZ") : "";
  bool hadTz = std::getenv("TZ") != nullptr;
  setenv("TZ", "UTC", 1);
  tzset();
  TFileDialogForm::TEntry e;
  EXPECT_EQ(TFileDialogForm::ModifiedText(e), "");  // unknown
  e.Modified = 0;
  EXPECT_EQ(TFileDialogForm::ModifiedText(e), "01.01.1970 00:00");
  e.Modified = 1796671380;  // 2026-12-07 19:23 UTC
  EXPECT_EQ(TFileDialogForm::ModifiedText(e), "07.12.2026 19:23");
  if (hadTz) setenv("TZ", oldTz.c_str(), 1);
  else unsetenv("TZ");
  tzset();
}

// The list shows each file's size and time; a name with "&" is shown as it is.
TEST_F(DialogsTest, RealFileDialogListsSizesAndTimes) {
  std::ofstream(Dir / "R&D.cnv") << std::string(3000, 'x');
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("Файл базы данных газов|*.cnv");
  dialog.SetInitialDir(Dir.string());
  std::vector<TFileDialogForm::TEntry> entries;
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    entries = f->Entries();
    POINT p = ItemPoint(f->FileList, 1);
    Robot.Click(f->FileList->Handle(), p.x, p.y);
  });
  Step([&] {
    auto* f = Top<TFileDialogForm>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->NameEdit->Text(), "R&D.cnv");
    Snapshot(f->Handle(), "file_dialog_columns.png");
    Robot.PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(dialog.Execute());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries[0].Folder);
  EXPECT_EQ(entries[1].Name, "R&D.cnv");
  EXPECT_EQ(entries[1].Size, 3000u);
  EXPECT_EQ(TFileDialogForm::SizeText(entries[1]), "3 КБ");
  EXPECT_GT(entries[1].Modified, 0);
  EXPECT_FALSE(TFileDialogForm::ModifiedText(entries[1]).empty());
}
