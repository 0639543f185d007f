#include "ControlsTestSupport.h"

#include "platform/rtl/MessageService.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/win/WinInternal.h"

namespace {

// A dialog: two edits and OK/Cancel buttons.
struct TDialog {
  TForm* Form;
  TTestEdit* First;
  TTestEdit* Second;
  TTestButton* Ok;
  TTestButton* Cancel;
  std::vector<std::string> Log;

  explicit TDialog(TComponent* owner = nullptr) {
    Form = new TForm(owner);
    Form->SetBounds(200, 150, 300, 200);
    Form->SetCaption("Dialog");
    First = new TTestEdit(Form);
    First->SetName("First");
    First->SetParent(Form);
    First->SetBounds(10, 10, 100, 21);
    Second = new TTestEdit(Form);
    Second->SetName("Second");
    Second->SetParent(Form);
    Second->SetBounds(10, 40, 100, 21);
    Ok = new TTestButton(Form);
    Ok->SetName("Ok");
    Ok->SetParent(Form);
    Ok->SetBounds(10, 80, 75, 25);
    Ok->SetDefault(true);
    Cancel = new TTestButton(Form);
    Cancel->SetName("Cancel");
    Cancel->SetParent(Form);
    Cancel->SetBounds(100, 80, 75, 25);
    Cancel->SetCancel(true);
    for (TWinControl* c : {static_cast<TWinControl*>(First), static_cast<TWinControl*>(Second),
                           static_cast<TWinControl*>(Ok), static_cast<TWinControl*>(Cancel)}) {
      std::string n = c->Name();
      c->OnEnter = [this, n](TObject*) { Log.push_back("enter " + n); };
      c->OnExit = [this, n](TObject*) { Log.push_back("exit " + n); };
    }
  }
  ~TDialog() {
    // The form may have freed itself (caFree).
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i) == Form) {
        delete Form;
        break;
      }
  }
  TDialog(const TDialog&) = delete;
  TDialog& operator=(const TDialog&) = delete;
};

class Forms : public VclTest {};

TEST_F(Forms, TabMovesFocusInTabOrderAndShiftTabGoesBack) {
  TDialog d;
  d.Form->Show();
  EXPECT_EQ(d.Form->ActiveControl(), d.First);
  EXPECT_TRUE(d.First->Focused());
  Press(VK_TAB);
  EXPECT_TRUE(d.Second->Focused());
  Press(VK_TAB);
  EXPECT_TRUE(d.Ok->Focused());
  Press(VK_TAB, true);
  EXPECT_TRUE(d.Second->Focused());
  EXPECT_EQ(d.Log, (std::vector<std::string>{"enter First", "exit First", "enter Second", "exit Second", "enter Ok",
                                             "exit Ok", "enter Second"}));
  // Tab order, not position, decides; disabled and non-tab-stop controls are passed over.
  d.Cancel->SetTabOrder(0);
  EXPECT_EQ(d.Cancel->TabOrder(), 0);
  EXPECT_EQ(d.First->TabOrder(), 1);
  d.Ok->SetEnabled(false);
  Press(VK_TAB);  // Second -> (Ok disabled) -> Cancel (first in order, wrapping)
  EXPECT_TRUE(d.Cancel->Focused());
  Press(VK_TAB);
  EXPECT_TRUE(d.First->Focused());
  EXPECT_EQ(Screen->ActiveControl(), d.First);
  EXPECT_EQ(Screen->ActiveForm(), d.Form);
}

TEST_F(Forms, FocusingNoControlGivesTheFocusToTheFormItself) {
  TDialog d;
  d.Form->Show();
  ASSERT_TRUE(d.First->Focused());
  EXPECT_TRUE(d.Form->SetFocusedControl(nullptr));
  EXPECT_EQ(d.Form->ActiveControl(), nullptr);
  Press(VK_TAB);  // the form goes on working
  EXPECT_NE(d.Form->ActiveControl(), nullptr);
}

TEST_F(Forms, EnterAndEscapeGoToDefaultAndCancelButtonsUnlessTheControlWantsThem) {
  TDialog d;
  d.Form->Show();
  d.First->SetFocus();
  Press(VK_RETURN);
  EXPECT_EQ(d.Ok->Clicks, 1);
  EXPECT_TRUE(d.First->KeysDown.empty());  // the key was a dialog key
  EXPECT_TRUE(d.First->Typed.empty());     // and gave no character
  Press(VK_ESCAPE);
  EXPECT_EQ(d.Cancel->Clicks, 1);
  // An edit that wants all keys (a multi-line editor) gets Enter itself.
  d.First->WantReturns = true;
  Press(VK_RETURN);
  EXPECT_EQ(d.Ok->Clicks, 1);
  EXPECT_EQ(d.First->KeysDown, std::vector<WORD>{VK_RETURN});
  // A control may also claim a key through CM_WANTSPECIALKEY.
  d.First->WantReturns = false;
  d.Second->SetFocus();
  d.Second->WindowProc = [second = d.Second](TMessage& m) {
    if (m.Msg == CM_WANTSPECIALKEY && m.WParam == VK_ESCAPE) {
      m.Result = 1;
      return;
    }
    second->WndProc(m);
  };
  Press(VK_ESCAPE);
  EXPECT_EQ(d.Cancel->Clicks, 1);
  EXPECT_EQ(d.Second->KeysDown, std::vector<WORD>{VK_ESCAPE});
}

TEST_F(Forms, KeyPreviewLetsTheFormSeeKeysFirst) {
  TDialog d;
  d.Form->SetKeyPreview(true);
  std::vector<WORD> formKeys;
  d.Form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    formKeys.push_back(key);
    if (key == VK_F2) key = 0;  // consumed
  };
  std::u32string formChars;
  d.Form->OnKeyPress = [&](TObject*, char32_t& key) {
    formChars.push_back(key);
    if (key == U'x') key = 0;
  };
  d.Form->Show();
  d.First->SetFocus();
  Press(VK_F2);
  Press(VK_F3);
  Type("axb");
  EXPECT_EQ(formKeys, (std::vector<WORD>{VK_F2, VK_F3, VK_PACKET, VK_PACKET, VK_PACKET}));
  EXPECT_EQ(d.First->KeysDown, (std::vector<WORD>{VK_F3, VK_PACKET, VK_PACKET, VK_PACKET}));
  EXPECT_EQ(formChars, U"axb");
  EXPECT_EQ(d.First->TypedUtf8(), "ab");
}

TEST_F(Forms, ShowAndCloseRunTheirEventsAndCloseActions) {
  TDialog d;
  std::vector<std::string> log;
  d.Form->OnShow = [&](TObject*) { log.push_back("show"); };
  d.Form->OnActivate = [&](TObject*) { log.push_back("activate"); };
  d.Form->OnHide = [&](TObject*) { log.push_back("hide"); };
  bool allow = false;
  d.Form->OnCloseQuery = [&](TObject*, bool& can) {
    log.push_back("closequery");
    can = allow;
  };
  TCloseAction action = caHide;
  d.Form->OnClose = [&](TObject*, TCloseAction& a) {
    log.push_back("close");
    a = action;
  };
  d.Form->Show();
  EXPECT_TRUE(d.Form->Active());
  d.Form->Close();
  EXPECT_TRUE(d.Form->Visible());
  allow = true;
  action = caNone;
  d.Form->Close();
  EXPECT_TRUE(d.Form->Visible());
  action = caHide;
  d.Form->Close();
  EXPECT_FALSE(d.Form->Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "activate", "closequery", "closequery", "close", "closequery",
                                           "close", "hide"}));
  // caFree: the form goes once the message is handled.
  TForm* f = d.Form;
  bool destroyed = false;
  f->OnDestroy = [&](TObject*) { destroyed = true; };
  f->DoCreate();
  f->Show();
  action = caFree;
  f->Close();
  EXPECT_FALSE(destroyed);
  Pump();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(Forms, ShowModalRunsANestedLoopUntilModalResult) {
  TForm* main = new TForm(nullptr);
  main->SetBounds(50, 50, 500, 400);
  main->Show();
  TDialog d;
  int result = -1;
  bool ownerEnabledDuringModal = true;
  // The responder answers the dialog the way a user would: type, then press Enter.
  auto old = SetModalResponder([&](TCustomForm* form) {
    EXPECT_EQ(form, d.Form);
    Backend.Steps.push_back([&] {
      ownerEnabledDuringModal = IsWindowEnabled(main->Handle());
      for (char32_t c : std::u32string(U"42")) InputChar(c);
    });
    Backend.Steps.push_back([&] {
      InputKey(VK_RETURN, true);
      InputKey(VK_RETURN, false);
    });
  });
  d.Ok->OnClick = [&](TObject*) { d.Form->SetModalResult(mrOk); };
  result = d.Form->ShowModal();
  SetModalResponder(old);
  EXPECT_EQ(result, mrOk);
  EXPECT_FALSE(ownerEnabledDuringModal);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(d.Form->Visible());
  EXPECT_EQ(d.First->TypedUtf8(), "42");
  EXPECT_EQ(GetActiveWindow(), main->Handle());
  EXPECT_THROW(({
                 main->Show();
                 main->ShowModal();
               }),
               EInvalidOperation);
  delete main;
}

TEST_F(Forms, ModalLoopWithNothingToAnswerItRaisesInsteadOfHanging) {
  TDialog d;
  EXPECT_THROW(d.Form->ShowModal(), EMessageLoopStalled);
  EXPECT_FALSE(d.Form->Visible());
  EXPECT_EQ(Application->ModalLevel(), 0);
}

TEST_F(Forms, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  TMessageBoxRecorder boxes;
  Application->SetTitle("Пересчет");
  TDialog d;
  d.Ok->OnClick = [](TObject*) { throw EConvertError("'abc' is not a valid floating point value"); };
  d.Form->Show();
  Click(d.Ok);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].Text, "'abc' is not a valid floating point value.");
  EXPECT_EQ(boxes.Shown()[0].Caption, "Пересчет");
  Click(d.Cancel);
  EXPECT_EQ(d.Cancel->Clicks, 1);
  std::string handled;
  Application->OnException = [&](TObject*, const Exception& e) { handled = e.Message(); };
  Click(d.Ok);
  EXPECT_EQ(handled, "'abc' is not a valid floating point value");
  EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(Forms, PositionCentersOnTheScreenOrTheMainForm) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(100, 100, 600, 400);
  main->Show();
  auto* screenCentered = new TForm(nullptr);
  screenCentered->SetBounds(0, 0, 200, 100);
  screenCentered->SetPosition(poScreenCenter);
  screenCentered->Show();
  TRect wa = Screen->WorkAreaRect();
  EXPECT_EQ(screenCentered->Left(), (wa.Width() - 200) / 2);
  EXPECT_EQ(screenCentered->Top(), (wa.Height() - 100) / 2);
  auto* mainCentered = new TForm(nullptr);
  mainCentered->SetBounds(0, 0, 200, 100);
  mainCentered->SetPosition(poMainFormCenter);
  mainCentered->Show();
  EXPECT_EQ(mainCentered->Left(), 100 + 200);
  EXPECT_EQ(mainCentered->Top(), 100 + 150);
  delete screenCentered;
  delete mainCentered;
}

TEST_F(Forms, RunEndsWhenTheMainFormCloses) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  EXPECT_EQ(Application->MainForm(), main);
  TForm* second = nullptr;
  Application->CreateForm(second);
  EXPECT_EQ(Application->MainForm(), main);
  int idles = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    ++idles;
    done = true;
  };
  Backend.Steps.push_back([&] { PostMessage(main->Handle(), WM_CLOSE, 0, 0); });
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_GE(idles, 1);
}

TEST_F(Forms, HintShowsAfterThePauseAndHidesAfterTheHidePause) {
  TDialog d;
  d.Ok->SetHint("Пересчитать|Пересчитать коэффициенты");
  d.Ok->SetShowHint(true);
  std::string shown;
  d.Ok->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_HINTSHOW) shown = reinterpret_cast<THintInfo*>(m.LParam)->HintStr;
    d.Ok->WndProc(m);
  };
  d.Form->Show();
  MoveTo(d.Ok, 5, 5);
  Backend.Advance(Application->HintPause - 10);
  EXPECT_EQ(shown, "");
  Backend.Advance(20);
  EXPECT_EQ(shown, "Пересчитать");
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
  EXPECT_EQ(Application->HintWindow()->Caption(), "Пересчитать");
  // The hint window never takes activation from the form.
  EXPECT_EQ(GetActiveWindow(), d.Form->Handle());
  Backend.Advance(Application->HintHidePause + 10);
  EXPECT_FALSE(IsWindowVisible(Application->HintWindow()->Handle()));
  // A key cancels a shown hint.
  MoveTo(d.Form, 250, 150);
  MoveTo(d.Ok, 6, 6);
  Backend.Advance(Application->HintPause + 10);
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
  Press(VK_SHIFT);
  EXPECT_FALSE(IsWindowVisible(Application->HintWindow()->Handle()));
}

// A form class with a stored form, its fields and a handler.
class TStoredForm : public TForm {
  LORM_PUBLISHED(TStoredForm, TForm)
public:
  explicit TStoredForm(TComponent* AOwner) : TForm(AOwner) {}
  TTestEdit* Edit1 = nullptr;
  TTestButton* Button1 = nullptr;
  int Recalculations = 0;
  int Ticks = 0;
  void Button1Click(TObject*) { ++Recalculations; }
};

void TStoredForm::Publish(TClassBuilder<TStoredForm>& P) {
  P.Field("Edit1", &TStoredForm::Edit1)
      .Field("Button1", &TStoredForm::Button1)
      .Handler("Button1Click", &TStoredForm::Button1Click);
}

TEST_F(Forms, AStoredFormLoadsIsShownAndIsDrivenByInput) {
  RegisterStoredForm("TStoredForm", R"(object StoredForm: TStoredForm
  Left = 120
  Top = 90
  BorderStyle = bsDialog
  Caption = 'Пересчет'
  ClientHeight = 120
  ClientWidth = 240
  Position = poDesigned
  object Edit1: TTestEdit
    Left = 10
    Top = 10
    Width = 150
    Height = 21
    TabOrder = 0
  end
  object Button1: TTestButton
    Left = 10
    Top = 50
    Width = 90
    Height = 25
    Caption = 'Пересчитать'
    Default = True
    TabOrder = 1
    OnClick = Button1Click
  end
end
)");
  TStoredForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form->Edit1, nullptr);
  ASSERT_NE(form->Button1, nullptr);
  EXPECT_EQ(form->Button1->Parent(), form);
  EXPECT_EQ(form->Caption(), "Пересчет");
  EXPECT_EQ(form->ClientWidth(), 240);
  EXPECT_EQ(form->ClientHeight(), 120);
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  form->Show();
  // A timer drives the form while the clock moves.
  SetTimer(form->Handle(), 9, 100, nullptr);
  form->WindowProc = [form](TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == 9) ++form->Ticks;
    form->WndProc(m);
  };
  Click(form->Edit1);
  Type("1,05");
  Press(VK_RETURN);
  EXPECT_EQ(form->Edit1->TypedUtf8(), "1,05");
  EXPECT_EQ(form->Recalculations, 1);
  Click(form->Button1);
  EXPECT_EQ(form->Recalculations, 2);
  Backend.Advance(350);
  EXPECT_EQ(form->Ticks, 3);
}

// A form with a main menu and a control reaching its right and bottom edges comes up with
// the stored client size: the menu bar added during loading leaves no scroll bar behind.
class TMenuForm : public TForm {
  LORM_PUBLISHED(TMenuForm, TForm)
public:
  explicit TMenuForm(TComponent* AOwner) : TForm(AOwner) {}
};
void TMenuForm::Publish(TClassBuilder<TMenuForm>& P) {
  P.Uses({TPanel::StaticClass(), TMainMenu::StaticClass(), TMenuItem::StaticClass(), TComboBox::StaticClass()});
}

TEST_F(Forms, StoredClientSizeHoldsWithAMenuAndControlsAtTheEdges) {
  RegisterStoredForm("TMenuForm", R"(object MenuForm: TMenuForm
  Left = 40
  Top = 40
  Caption = 'Меню'
  ClientHeight = 200
  ClientWidth = 300
  Menu = MainMenu1
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 200
  end
  object ComboBox1: TComboBox
    Left = 10
    Top = 10
    Width = 120
    Height = 21
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      'ЛОРМ-100'
      'ЛОРМ-200')
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&Файл'
    end
  end
end
)");
  TMenuForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  Pump();
  EXPECT_EQ(form->ClientWidth(), 300);
  EXPECT_EQ(form->ClientHeight(), 200);
  EXPECT_EQ(GetWindowLong(form->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
  // An item index stored before the items still selects its item.
  auto* combo = dynamic_cast<TComboBox*>(form->FindComponent("ComboBox1"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "ЛОРМ-200");
}

}  // namespace

// A form's back buffer goes with the form, even while another window's canvas holds a
// device context (canvases keep theirs until they are freed): resizing and freeing the
// form leaves no buffer of it behind.
TEST_F(Forms, AFreedFormLeavesNoBackBufferWhileOtherCanvasesHoldTheirs) {
  auto* keeper = new TForm(nullptr);
  keeper->SetBounds(600, 100, 200, 150);
  keeper->Show();
  Pump();
  EXPECT_GT(keeper->Canvas()->TextWidth("held"), 0);  // the canvas keeps its device context
  const int before = winsys::LiveWindowSurfaces();

  for (int round = 0; round < 3; ++round) {
    auto* form = new TForm(nullptr);
    form->SetBounds(50, 50, 500, 400);
    for (int i = 0; i < 60; ++i) {
      TControl* c = nullptr;
      switch (i % 4) {
        case 0: c = new TButton(form); break;
        case 1: c = new TEdit(form); break;
        case 2: c = new TPanel(form); break;
        default: c = new TLabel(form); break;
      }
      c->SetParent(form);
      c->SetBounds(10 + (i % 6) * 80, 10 + (i / 6) * 36, 72, 30);
      c->SetCaption("C" + std::to_string(i));
    }
    form->Show();
    Pump();
    form->SetBounds(40, 40, 640, 480);  // a new buffer replaces the old one
    EXPECT_GT(form->Canvas()->TextWidth("measured"), 0);
    form->Repaint();
    Pump();
    EXPECT_EQ(winsys::LiveWindowSurfaces(), before + 1);
    delete form;
    Pump();
    EXPECT_EQ(winsys::LiveWindowSurfaces(), before) << "round " << round;
  }
  delete keeper;
  EXPECT_EQ(winsys::LiveWindowSurfaces(), before - 1);
}

namespace {
TEST_F(Forms, HandleExceptionReportsTheReplacementOfTheExceptionInFlight) {
  std::string handled;
  Application->OnException = [&](TObject*, const Exception& e) { handled = e.Message(); };
  try {
    throw EConvertError("first");
  } catch (...) {
    SetExceptionReplacement(std::current_exception(), std::make_exception_ptr(Exception("second")));
    Application->HandleException(Application);
  }
  EXPECT_EQ(handled, "second");
  // The record belongs to that exception only: a later one reports itself.
  try {
    throw EConvertError("third");
  } catch (...) {
    Application->HandleException(Application);
  }
  EXPECT_EQ(handled, "third");
}
}  // namespace
