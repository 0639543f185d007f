// The standard controls on the headless back end, driven by the robot.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

namespace {

class StdCtrlsTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;

  void SetUp() override {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(100, 100, 400, 300);
    Form->SetColor(clBtnFace);
  }
  void TearDown() override {
    Application->Restart();
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
  }

  template <class T>
  T* Add(int x, int y, int w = 0, int h = 0, TWinControl* parent = nullptr) {
    auto* c = new T(Form);
    c->SetParent(parent ? parent : Form);
    c->SetBounds(x, y, w ? w : c->Width(), h ? h : c->Height());
    return c;
  }
  void ShowForm() {
    Form->Show();
    Scope.Backend().Pump();
  }
  // Clicks into the edit and selects nothing, caret at the end.
  void FocusEnd(TCustomEdit* e) {
    Robot.Click(e->Handle(), 3, 5);
    Robot.PressKey(VK_END);
  }
};

// ---------------------------------------------------------------------------------------
// Typing and selecting

TEST_F(StdCtrlsTest, TypingSelectingByKeysAndWordsAndDeleting) {
  auto* e = Add<TEdit>(10, 10, 200);
  ShowForm();
  FocusEnd(e);
  Robot.Type("Hello brave world");
  EXPECT_EQ(e->Text(), "Hello brave world");
  EXPECT_EQ(e->SelStart(), 17);
  EXPECT_TRUE(e->Modified());

  Robot.PressKey(VK_LEFT, rsCtrl);  // to the start of "world"
  EXPECT_EQ(e->SelStart(), 12);
  Robot.PressKey(VK_LEFT, rsCtrl | rsShift);  // "brave " selected
  EXPECT_EQ(e->SelText(), "brave ");
  Robot.PressKey(VK_BACK);
  EXPECT_EQ(e->Text(), "Hello world");
  Robot.PressKey(VK_RIGHT, rsCtrl);
  EXPECT_EQ(e->SelStart(), 11);

  Robot.PressKey(VK_HOME);
  Robot.PressKey(VK_RIGHT, rsShift);
  Robot.PressKey(VK_RIGHT, rsShift);
  EXPECT_EQ(e->SelText(), "He");
  Robot.PressKey(VK_END, rsShift);  // the anchor stays at 0
  EXPECT_EQ(e->SelText(), "Hello world");
  Robot.PressKey(VK_RIGHT);  // collapses to the end
  EXPECT_EQ(e->SelLength(), 0);
  EXPECT_EQ(e->SelStart(), 11);
  Robot.PressKey(VK_HOME);
  Robot.PressKey(VK_DELETE);
  EXPECT_EQ(e->Text(), "ello world");
}

TEST_F(StdCtrlsTest, MouseDragSelectsAndDoubleClickSelectsAWord) {
  auto* e = Add<TEdit>(10, 10, 200);
  e->SetText("alpha beta gamma");
  ShowForm();
  HWND h = e->Handle();
  int x0 = LOWORD(SendMessage(h, EM_POSFROMCHAR, 6, 0));
  int x1 = LOWORD(SendMessage(h, EM_POSFROMCHAR, 10, 0));
  Robot.Drag(h, POINT{x0, 5}, POINT{x1, 5});
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->SelText(), "beta");
  // Dragging backwards keeps the anchor where the press was.
  Robot.Drag(h, POINT{x1, 5}, POINT{1, 5});
  EXPECT_EQ(e->SelText(), "alpha beta");
  int xg = LOWORD(SendMessage(h, EM_POSFROMCHAR, 12, 0));
  Robot.DoubleClick(h, xg, 5);
  EXPECT_EQ(e->SelText(), "gamma");
}

TEST_F(StdCtrlsTest, ClipboardCutCopyPasteAndUndo) {
  auto* e = Add<TEdit>(10, 10, 200);
  ShowForm();
  FocusEnd(e);
  Robot.Type("one two");
  Robot.PressKey(VK_LEFT, rsCtrl | rsShift);
  Robot.PressKey('C', rsCtrl);
  EXPECT_EQ(GetClipboardTextUtf8(), "two");
  Robot.PressKey(VK_END);
  Robot.PressKey('V', rsCtrl);
  EXPECT_EQ(e->Text(), "one twotwo");
  Robot.PressKey('Z', rsCtrl);
  EXPECT_EQ(e->Text(), "one two");
  Robot.PressKey('Z', rsCtrl);  // undoing the undo brings the paste back
  EXPECT_EQ(e->Text(), "one twotwo");
  Robot.PressKey(VK_HOME);
  Robot.PressKey(VK_RIGHT, rsCtrl | rsShift);
  Robot.PressKey('X', rsCtrl);
  EXPECT_EQ(e->Text(), "twotwo");
  EXPECT_EQ(GetClipboardTextUtf8(), "one ");
  // The messages the components send do the same.
  SendMessage(e->Handle(), EM_SETSEL, 0, 3);
  SendMessage(e->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(e->Text(), "two");
  EXPECT_TRUE(e->CanUndo());
  SendMessage(e->Handle(), EM_UNDO, 0, 0);
  EXPECT_EQ(e->Text(), "twotwo");
  // A single-line edit pastes the first line of a multi-line clipboard.
  SetClipboardTextUtf8("first\r\nsecond");
  e->SelectAll();
  e->PasteFromClipboard();
  EXPECT_EQ(e->Text(), "first");
}

TEST_F(StdCtrlsTest, MaxLengthReadOnlyPasswordAndCharCase) {
  auto* limited = Add<TEdit>(10, 10);
  limited->SetMaxLength(5);
  auto* ro = Add<TEdit>(10, 40);
  ro->SetText("fixed");
  ro->SetReadOnly(true);
  auto* pw = Add<TEdit>(10, 70);
  pw->SetPasswordChar(U'*');
  auto* upper = Add<TEdit>(10, 100);
  upper->SetCharCase(ecUpperCase);
  ShowForm();

  FocusEnd(limited);
  Robot.Type("abcdefg");
  EXPECT_EQ(limited->Text(), "abcde");
  SetClipboardTextUtf8("XYZ");
  limited->SetSelStart(2);
  limited->SetSelLength(1);
  Robot.PressKey('V', rsCtrl);  // one character replaced, two fit
  EXPECT_EQ(limited->Text(), "abXde");

  FocusEnd(ro);
  int beeps = Scope.Backend().Beeps();
  Robot.Type("x");
  Robot.PressKey(VK_BACK);
  Robot.PressKey(VK_DELETE);
  EXPECT_EQ(ro->Text(), "fixed");
  EXPECT_GT(Scope.Backend().Beeps(), beeps);
  ro->SelectAll();
  Robot.PressKey('C', rsCtrl);
  EXPECT_EQ(GetClipboardTextUtf8(), "fixed");  // copying from a read-only edit works

  FocusEnd(pw);
  Robot.Type("secret");
  EXPECT_EQ(pw->Text(), "secret");
  pw->SelectAll();
  Robot.PressKey('C', rsCtrl);
  EXPECT_EQ(GetClipboardTextUtf8(), "fixed");  // a password is never copied out
  EXPECT_EQ(SendMessage(pw->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');

  FocusEnd(upper);
  Robot.Type("abc");
  Robot.Type("ёж");
  EXPECT_EQ(upper->Text(), "ABCЁЖ");
}

TEST_F(StdCtrlsTest, OnChangeFiresForTypingAndForTextSetByTheProgram) {
  auto* e = Add<TEdit>(10, 10);
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  FocusEnd(e);
  Robot.Type("abc");
  EXPECT_EQ(changes, 3);
  e->SetText("new");
  EXPECT_EQ(changes, 4);
  EXPECT_FALSE(e->Modified());
  e->SetText("new");  // unchanged text: no event
  EXPECT_EQ(changes, 4);
}

TEST_F(StdCtrlsTest, AutoSelectOnTabButNotOnClick) {
  auto* a = Add<TEdit>(10, 10);
  auto* b = Add<TEdit>(10, 40);
  a->SetText("first");
  b->SetText("second");
  ShowForm();
  Robot.Click(a->Handle(), 3, 5);
  EXPECT_EQ(a->SelLength(), 0);
  Robot.PressKey(VK_TAB);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(b->SelText(), "second");
}

TEST_F(StdCtrlsTest, EditMessagesPositionsAndRect) {
  auto* e = Add<TEdit>(10, 10, 200);
  e->SetText("abcdef");
  ShowForm();
  HWND h = e->Handle();
  LRESULT p0 = SendMessage(h, EM_POSFROMCHAR, 0, 0);
  LRESULT p3 = SendMessage(h, EM_POSFROMCHAR, 3, 0);
  EXPECT_LT(SHORT(LOWORD(p0)), SHORT(LOWORD(p3)));
  EXPECT_EQ(SendMessage(h, EM_POSFROMCHAR, 6, 0), -1);  // past the last character
  LRESULT c = SendMessage(h, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(p3) + 1, 3));
  EXPECT_EQ(LOWORD(c), 3);
  SendMessage(h, EM_SETSEL, 1, 4);
  DWORD a = 0, b = 0;
  LRESULT sel = SendMessage(h, EM_GETSEL, WPARAM(&a), LPARAM(&b));
  EXPECT_EQ(a, 1u);
  EXPECT_EQ(b, 4u);
  EXPECT_EQ(sel, MAKELONG(1, 4));
  SendMessage(h, EM_REPLACESEL, TRUE, LPARAM("XY"));
  EXPECT_EQ(e->Text(), "aXYef");
  RECT r{5, 2, 100, 15};
  SendMessage(h, EM_SETRECTNP, 0, LPARAM(&r));
  RECT got{};
  SendMessage(h, EM_GETRECT, 0, LPARAM(&got));
  EXPECT_EQ(got.left, 5);
  EXPECT_EQ(got.right, 100);
  EXPECT_EQ(SHORT(LOWORD(SendMessage(h, EM_POSFROMCHAR, 0, 0))), 5);
  SendMessage(h, EM_SETREADONLY, TRUE, 0);
  EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & ES_READONLY);
  SendMessage(h, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessage(h, EM_GETLIMITTEXT, 0, 0), 3);
  std::u16string title = u"Ошибка", text = u"Только цифры";
  EDITBALLOONTIP tip;
  tip.pszTitle = title.c_str();
  tip.pszText = text.c_str();
  tip.ttiIcon = TTI_ERROR;
  EXPECT_TRUE(SendMessage(h, EM_SHOWBALLOONTIP, 0, LPARAM(&tip)));
  TEditBalloon shown;
  ASSERT_TRUE(GetEditBalloonTip(h, &shown));
  EXPECT_EQ(shown.Text, text);
  EXPECT_EQ(shown.Icon, TTI_ERROR);
  SendMessage(h, EM_HIDEBALLOONTIP, 0, 0);
  EXPECT_FALSE(GetEditBalloonTip(h, nullptr));
}

TEST_F(StdCtrlsTest, EditStateSurvivesRecreatingTheWindow) {
  auto* e = Add<TEdit>(10, 10, 200);
  ShowForm();
  FocusEnd(e);
  Robot.Type("keep me");
  e->SetSelStart(2);
  e->SetSelLength(3);
  e->SetBorderStyle(bsNone);  // recreates the window
  EXPECT_EQ(e->Text(), "keep me");
  EXPECT_TRUE(e->Modified());
  EXPECT_EQ(e->SelText(), "ep ");
}

// ---------------------------------------------------------------------------------------
// Memo

TEST_F(StdCtrlsTest, MemoLinesEnterAndVerticalMoves) {
  auto* m = Add<TMemo>(10, 10, 200, 100);
  m->Lines()->Add("first");
  m->Lines()->Add("second line");
  EXPECT_EQ(m->Text(), "first\r\nsecond line");
  EXPECT_EQ(m->Lines()->Count(), 2);
  ShowForm();
  Robot.Click(m->Handle(), 3, 3);
  Robot.PressKey(VK_END, rsCtrl);
  Robot.PressKey(VK_RETURN);
  Robot.Type("third");
  EXPECT_EQ(m->Lines()->Count(), 3);
  EXPECT_EQ(m->Lines()->Strings(2), "third");
  EXPECT_EQ(m->CaretPos(), (TPoint{5, 2}));
  Robot.PressKey(VK_UP);
  EXPECT_EQ(m->CaretPos().Y, 1);
  Robot.PressKey(VK_UP);
  Robot.PressKey(VK_END);
  EXPECT_EQ(m->CaretPos(), (TPoint{5, 0}));
  Robot.PressKey(VK_DOWN, rsShift);
  EXPECT_EQ(m->SelText().substr(0, 4), "\r\nse");
  EXPECT_EQ(m->CaretPos().Y, 1);
  m->Lines()->Delete(1);
  EXPECT_EQ(m->Text(), "first\r\nthird");
  m->Lines()->SetText("a\r\nb\r\n");
  EXPECT_EQ(m->Lines()->Count(), 2);
}

TEST_F(StdCtrlsTest, MemoWordWrapAndScrolling) {
  auto* m = Add<TMemo>(10, 10, 120, 60);
  m->SetScrollBars(ssVertical);
  std::string text;
  for (int i = 0; i < 30; ++i) text += "word ";
  m->SetText(text);
  ShowForm();
  HWND h = m->Handle();
  int lines = int(SendMessage(h, EM_GETLINECOUNT, 0, 0));
  EXPECT_GT(lines, 5);  // wrapped
  EXPECT_EQ(m->Lines()->Count(), 1);  // one logical line
  Robot.Click(h, 3, 3);
  Robot.PressKey(VK_END, rsCtrl);
  EXPECT_GT(SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // scrolled to the caret
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(h, SB_VERT, &si);
  EXPECT_EQ(si.nPos, SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0));
  SendMessage(h, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  // Without WantReturns, Enter reaches the form's default button.
  auto* ok = Add<TButton>(250, 10);
  ok->SetDefault(true);
  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  m->SetWantReturns(false);
  std::string before = m->Text();
  Robot.PressKey(VK_RETURN);
  EXPECT_EQ(m->Text(), before);
  EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------------------------------
// Buttons

TEST_F(StdCtrlsTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
  auto* e = Add<TEdit>(10, 10);
  auto* ok = Add<TButton>(10, 50);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = Add<TButton>(100, 50);
  cancel->SetCaption("Отмена");
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  auto* other = Add<TButton>(190, 50);
  std::vector<std::string> clicks;
  ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
  cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
  other->OnClick = [&](TObject*) { clicks.push_back("other"); };
  ShowForm();
  Robot.Click(e->Handle(), 3, 3);
  Robot.PressKey(VK_RETURN);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  Robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  Robot.PressKey(VK_RETURN, rsShift);  // not a plain Enter: nothing
  // A focused button takes Enter itself; the default button gets it back after.
  other->SetFocus();
  EXPECT_FALSE(ok->Active());
  Robot.PressKey(VK_RETURN);
  Robot.PressKey(VK_SPACE);
  e->SetFocus();
  EXPECT_TRUE(ok->Active());
  Robot.PressKey(VK_RETURN);
  EXPECT_EQ(clicks, (std::vector<std::string>{"ok", "cancel", "other", "other", "ok"}));
  EXPECT_EQ(SendMessage(ok->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
}

TEST_F(StdCtrlsTest, ButtonClickNeedsTheReleaseOnTheButton) {
  auto* b = Add<TButton>(10, 10);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  Robot.Click(b->Handle(), 10, 10);
  EXPECT_EQ(clicks, 1);
  Robot.Drag(b->Handle(), POINT{10, 10}, POINT{200, 10});  // released outside
  EXPECT_EQ(clicks, 1);
  b->SetEnabled(false);
  Robot.Click(b->Handle(), 10, 10);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdCtrlsTest, CheckBoxStatesAndToggle) {
  auto* c = Add<TCheckBox>(10, 10);
  c->SetCaption("&Проверка");
  int clicks = 0;
  c->OnClick = [&](TObject*) { ++clicks; };
  ShowForm();
  Robot.Click(c->Handle(), 5, 8);
  EXPECT_EQ(c->State(), cbChecked);
  EXPECT_TRUE(c->Checked());
  Robot.PressKey(VK_SPACE);
  EXPECT_EQ(c->State(), cbUnchecked);
  c->SetAllowGrayed(true);
  struct Step { TCheckBoxState after; };
  for (TCheckBoxState expected : {cbGrayed, cbChecked, cbUnchecked}) {
    Robot.Click(c->Handle(), 5, 8);
    EXPECT_EQ(c->State(), expected);
  }
  EXPECT_EQ(clicks, 5);
  c->SetCheckedValue(true);  // the program changes it: OnClick too, as the framework does
  EXPECT_EQ(clicks, 6);
  EXPECT_EQ(SendMessage(c->Handle(), BM_GETCHECK, 0, 0), LRESULT(BST_CHECKED));
}

// The dotted focus rectangle shows on the focused check box or radio button only: it goes
// when the focus moves on.
TEST_F(StdCtrlsTest, FocusRectangleLeavesWithTheFocus) {
  auto* c1 = Add<TCheckBox>(10, 10, 120, 17);
  auto* r1 = Add<TRadioButton>(10, 40, 120, 17);
  auto* edit = Add<TEdit>(10, 70);
  c1->SetCaption("Сохранять");
  r1->SetCaption("Весовые");
  r1->SetCheckedValue(true);
  ShowForm();
  auto marked = [&](TWinControl* c) {
    int n = 0;
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) n += WindowPixel(c->Handle(), x, y) != ColorToRGB(clBtnFace);
    return n;
  };
  edit->SetFocus();
  Scope.Backend().Pump();
  for (TWinControl* c : {static_cast<TWinControl*>(c1), static_cast<TWinControl*>(r1)}) {
    int unfocused = marked(c);
    c->SetFocus();
    Scope.Backend().Pump();
    ASSERT_TRUE(c->Focused());
    EXPECT_GT(marked(c), unfocused) << "focus rectangle drawn";
    edit->SetFocus();
    Scope.Backend().Pump();
    EXPECT_EQ(marked(c), unfocused) << "focus rectangle gone";
  }
}

TEST_F(StdCtrlsTest, RadioButtonsAreExclusiveWithinTheirParent) {
  auto* r1 = Add<TRadioButton>(10, 10);
  auto* r2 = Add<TRadioButton>(10, 30);
  auto* group = Add<TGroupBox>(150, 10, 150, 100);
  group->SetCaption("Группа");
  auto* g1 = Add<TRadioButton>(10, 20, 0, 0, group);
  auto* g2 = Add<TRadioButton>(10, 40, 0, 0, group);
  g1->SetCheckedValue(true);
  ShowForm();
  Robot.Click(r1->Handle(), 5, 8);
  EXPECT_TRUE(r1->Checked());
  Robot.Click(r2->Handle(), 5, 8);
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(g1->Checked());  // another parent: untouched
  g2->SetCheckedValue(true);
  EXPECT_FALSE(g1->Checked());
  EXPECT_TRUE(r2->Checked());
  // Arrow keys move between the radio buttons of a parent and check them.
  r2->SetFocus();
  Robot.PressKey(VK_UP);
  EXPECT_TRUE(r1->Focused());
  EXPECT_TRUE(r1->Checked());
  EXPECT_FALSE(r2->Checked());
}

// A group of radio buttons is one tab stop: Tab reaches the checked button only, in both
// directions; the arrows move within the group.
TEST_F(StdCtrlsTest, RadioGroupIsOneTabStop) {
  auto* before = Add<TEdit>(10, 10);
  auto* group = Add<TGroupBox>(10, 40, 150, 100);
  auto* g1 = Add<TRadioButton>(10, 20, 0, 0, group);
  auto* g2 = Add<TRadioButton>(10, 40, 0, 0, group);
  auto* g3 = Add<TRadioButton>(10, 60, 0, 0, group);
  auto* after = Add<TEdit>(10, 150);
  g2->SetCheckedValue(true);
  ShowForm();
  before->SetFocus();
  Robot.PressKey(VK_TAB);
  EXPECT_TRUE(g2->Focused());
  Robot.PressKey(VK_TAB);
  EXPECT_TRUE(after->Focused());
  Robot.PressKey(VK_TAB, rsShift);
  EXPECT_TRUE(g2->Focused());
  Robot.PressKey(VK_DOWN);
  EXPECT_TRUE(g3->Focused());
  EXPECT_TRUE(g3->Checked());
  Robot.PressKey(VK_TAB, rsShift);
  EXPECT_TRUE(before->Focused()) << "the group was left in one step";
  Robot.PressKey(VK_TAB);
  EXPECT_TRUE(g3->Focused()) << "the newly checked button is the group's stop";
  EXPECT_FALSE(g1->TabStop());
}

// Accelerators are underlined only once Alt has been pressed in the window, in labels and
// button captions alike.
TEST_F(StdCtrlsTest, AcceleratorsShowOnceAltIsPressed) {
  auto* label = Add<TLabel>(10, 10);
  label->SetCaption("&Плотность");
  auto* check = Add<TCheckBox>(10, 40, 150, 17);
  check->SetCaption("&Сохранять");
  auto* edit = Add<TEdit>(10, 70);
  ShowForm();
  edit->SetFocus();
  Scope.Backend().Pump();
  auto dark = [&](HWND h, int w, int ht) {
    int n = 0;
    for (int y = 0; y < ht; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF c = WindowPixel(h, x, y);
        n += GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
      }
    return n;
  };
  HWND formWnd = Form->Handle();
  auto labelDark = [&] {
    int n = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
      for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
        COLORREF c = WindowPixel(formWnd, x, y);
        n += GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
      }
    return n;
  };
  int labelBefore = labelDark(), checkBefore = dark(check->Handle(), check->Width(), check->Height());
  Robot.PressKey(VK_MENU);
  Scope.Backend().Pump();
  EXPECT_GT(labelDark(), labelBefore) << "the label's П is underlined";
  EXPECT_GT(dark(check->Handle(), check->Width(), check->Height()), checkBefore) << "the check box's С too";
}

TEST_F(StdCtrlsTest, LabelAutoSizeAndAcceleratorFocusesItsControl) {
  auto* l = Add<TLabel>(10, 10);
  auto* e = Add<TEdit>(100, 10);
  auto* other = Add<TEdit>(100, 40);
  l->SetCaption("&Density:");
  l->SetFocusControl(e);
  int narrow = l->Width();
  l->SetCaption("&Density of the gas, kg/m3:");
  EXPECT_GT(l->Width(), narrow);
  EXPECT_GT(l->Height(), 8);
  ShowForm();
  other->SetFocus();
  Robot.PressKey('D', rsAlt);
  EXPECT_TRUE(e->Focused());
  delete e;  // the label forgets a freed control
  EXPECT_EQ(l->FocusControl(), nullptr);
}

// ---------------------------------------------------------------------------------------
// Scroll bar

TEST_F(StdCtrlsTest, ScrollBarArrowsPagesThumbAndEndScroll) {
  auto* sb = Add<TScrollBar>(10, 10, 200, 17);
  sb->SetParams(0, 0, 100);
  sb->SetSmallChange(2);
  sb->SetLargeChange(10);
  std::vector<std::pair<TScrollCode, int>> events;
  sb->OnScroll = [&](TObject*, TScrollCode code, int& pos) { events.emplace_back(code, pos); };
  int changes = 0;
  sb->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  HWND h = sb->Handle();
  TRect right = sb->ArrowRect(true);
  Robot.Click(h, right.Left + 3, 8);
  EXPECT_EQ(sb->Position(), 2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], std::make_pair(scLineDown, 2));
  EXPECT_EQ(events[1].first, scEndScroll);
  events.clear();
  TRect thumb = sb->ThumbRect();
  Robot.Click(h, thumb.Right + 20, 8);  // the track right of the thumb
  EXPECT_EQ(sb->Position(), 12);
  events.clear();
  thumb = sb->ThumbRect();
  Robot.Drag(h, POINT{thumb.Left + 2, 8}, POINT{sb->ArrowRect(true).Left + 5, 8});
  EXPECT_EQ(sb->Position(), 100);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 3].first, scTrack);
  EXPECT_EQ(events[events.size() - 2], std::make_pair(scPosition, 100));
  EXPECT_EQ(events.back().first, scEndScroll);
  // Keys: Home to the start; a handler may change the position it is given.
  sb->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
    if (code == scLineUp) pos = 50;
  };
  Robot.PressKey(VK_HOME);
  EXPECT_EQ(sb->Position(), 0);
  Robot.PressKey(VK_LEFT);
  EXPECT_EQ(sb->Position(), 50);
  EXPECT_GT(changes, 3);
  EXPECT_THROW(sb->SetParams(0, 10, 5), EInvalidOperation);
  sb->SetPageSize(20);
  sb->SetPosition(100);
  Robot.PressKey(VK_END);
  EXPECT_EQ(sb->Position(), 81);  // the last page starts at Max - PageSize + 1
}

TEST_F(StdCtrlsTest, ScrollBarArrowRepeatsWhileHeld) {
  auto* sb = Add<TScrollBar>(10, 10, 200, 17);
  ShowForm();
  HWND h = sb->Handle();
  TRect right = sb->ArrowRect(true);
  Robot.MouseDown(h, right.Left + 3, 8);
  EXPECT_EQ(sb->Position(), 1);
  Scope.Backend().Advance(449);  // the first repeat after 350 ms, then every 50 ms
  EXPECT_EQ(sb->Position(), 3);
  Robot.MouseUp(h, right.Left + 3, 8);
  Scope.Backend().Advance(500);
  EXPECT_EQ(sb->Position(), 3);
}

// ---------------------------------------------------------------------------------------
// Stored forms and the look

TEST_F(StdCtrlsTest, StoredFormCreatesTheControlsWithTheirProperties) {
  std::string text = R"(object Panel: TForm
  object Label1: TLabel
    Left = 8
    Top = 8
    Caption = '&Name'
    FocusControl = Edit1
  end
  object Edit1: TEdit
    Left = 8
    Top = 24
    MaxLength = 10
    CharCase = ecUpperCase
    Text = 'abc'
  end
  object Memo1: TMemo
    Left = 8
    Top = 60
    Lines.Strings = (
      'one'
      'two')
    ScrollBars = ssVertical
  end
  object Check1: TCheckBox
    Left = 8
    Top = 160
    AllowGrayed = True
    State = cbGrayed
  end
  object Ok: TButton
    Left = 200
    Top = 8
    Default = True
    ModalResult = mrOk
  end
  object Bar: TScrollBar
    Left = 200
    Top = 60
    Kind = sbVertical
    Max = 50
    Position = 20
  end
end
)";
  ReadComponentFromText(text, Form);
  auto* label = dynamic_cast<TLabel*>(Form->FindComponent("Label1"));
  auto* edit = dynamic_cast<TEdit*>(Form->FindComponent("Edit1"));
  auto* memo = dynamic_cast<TMemo*>(Form->FindComponent("Memo1"));
  auto* check = dynamic_cast<TCheckBox*>(Form->FindComponent("Check1"));
  auto* ok = dynamic_cast<TButton*>(Form->FindComponent("Ok"));
  auto* bar = dynamic_cast<TScrollBar*>(Form->FindComponent("Bar"));
  ASSERT_TRUE(label && edit && memo && check && ok && bar);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(edit->MaxLength(), 10);
  EXPECT_EQ(edit->Text(), "ABC");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(check->State(), cbGrayed);
  EXPECT_TRUE(ok->Default());
  EXPECT_EQ(ok->ModalResult(), mrOk);
  EXPECT_EQ(bar->Kind(), sbVertical);
  EXPECT_EQ(bar->Position(), 20);
  std::string written = WriteComponentToText(Form);
  EXPECT_NE(written.find("ModalResult = mrOk"), std::string::npos);
  EXPECT_NE(written.find("State = cbGrayed"), std::string::npos);
  EXPECT_NE(written.find("'two'"), std::string::npos);
}

TEST_F(StdCtrlsTest, AClassicFormRendersWithItsControls) {
  Form->SetCaption("Пересчет коэффициентов");
  Form->SetBounds(100, 100, 420, 330);
  auto* l = Add<TLabel>(12, 14);
  l->SetCaption("&Плотность, кг/м3:");
  auto* e = Add<TEdit>(130, 10, 150);
  e->SetText("0,6682");
  l->SetFocusControl(e);
  auto* ro = Add<TEdit>(130, 38, 150);
  ro->SetText("только чтение");
  ro->SetReadOnly(true);
  auto* m = Add<TMemo>(12, 70, 180, 80);
  m->SetScrollBars(ssVertical);
  m->Lines()->Add("Строка первая");
  m->Lines()->Add("Вторая строка текста");
  auto* g = Add<TGroupBox>(205, 65, 190, 85);
  g->SetCaption("Режим");
  auto* r1 = Add<TRadioButton>(10, 20, 150, 17, g);
  r1->SetCaption("Стандартный");
  r1->SetCheckedValue(true);
  auto* r2 = Add<TRadioButton>(10, 42, 150, 17, g);
  r2->SetCaption("Расширенный");
  auto* c1 = Add<TCheckBox>(12, 160, 180);
  c1->SetCaption("Сохранять отчет");
  c1->SetCheckedValue(true);
  auto* c2 = Add<TCheckBox>(12, 180, 180);
  c2->SetCaption("Недоступно");
  c2->SetEnabled(false);
  auto* sb = Add<TScrollBar>(12, 205, 380, 17);
  sb->SetParams(30, 0, 100);
  sb->SetPageSize(20);
  auto* ok = Add<TButton>(236, 250);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  auto* cancel = Add<TButton>(318, 250);
  cancel->SetCaption("Отмена");
  cancel->SetCancel(true);
  ShowForm();
  e->SetFocus();
  e->SetSelStart(2);
  e->SetSelLength(2);
  Scope.Backend().Pump();
  // The sunken edit shows white inside a dark edge; the button face is grey.
  EXPECT_EQ(WindowPixel(e->Handle(), e->ClientWidth() - 3, 3), ColorToRGB(clWindow));
  EXPECT_EQ(WindowPixel(Form->Handle(), 5, 240), ColorToRGB(clBtnFace));
  const char* dir = std::getenv("LORM_TEST_PNG_DIR");
  auto png = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) / "lorm_stdctrls.png";
  EXPECT_TRUE(SaveWindowPng(Form->Handle(), png.string()));
  if (!dir) std::filesystem::remove(png);
}

}  // namespace
