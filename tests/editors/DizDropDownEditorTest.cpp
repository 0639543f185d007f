// The drop-down editor on the headless back end: construction, the pop-up's opening,
// placement, closing and remembered size, activation with the owner's caption kept
// active, the value text of each edit type, the typing filter, the clipboard vetoes, the
// pop-up's painting and hit test, the drop button and the strips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editors/DizDropDownEditor.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/StdEdit.h"
#include "platform/win/WinInternal.h"
#include "platform/win/WinResource.h"

using namespace DizDropDown;

namespace {

class DropDownTest : public ::testing::Test {
protected:
  DropDownTest() : locale(Settings()) {
    Application->Restart();
    Application->CreateForm(form);
    form->SetCaption("Main");
    form->SetBounds(100, 100, 420, 300);
    form->Show();
  }
  ~DropDownTest() override { Application->Restart(); }

  static TFormatSettings Settings() {
    TFormatSettings s = DefaultFormatSettings();
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    return s;
  }

  TDizDropDown* NewDropDown(int left = 20, int top = 20) {
    auto* d = new TDizDropDown(form);
    d->SetParent(form);
    d->SetLeft(left);
    d->SetTop(top);
    return d;
  }
  // Types one character through the window, as the keyboard would.
  static void Char(TDizCustomDropDown* d, char32_t ch) { SendMessage(d->Handle(), WM_CHAR, WPARAM(ch), 1); }
  static std::string Shown(TDizCustomDropDown* d) { return GetWindowTextStr(d->Handle()); }
  // A click in the middle of the drop button.
  void PressButton(TDizCustomDropDown* d, TInputButton b = TInputButton::Left) {
    TDropDownEditButton* button = d->DropDownButton();
    robot.MouseDown(button->Handle(), button->Width() / 2, button->Height() / 2, b);
    robot.MouseUp(button->Handle(), button->Width() / 2, button->Height() / 2, b);
  }
  static bool CaptionActive(TCustomForm* f) { return winsys::Valid(f->Handle()) && f->Handle()->NcActive; }

  THeadlessScope scope;
  TFormatSettingsScope locale;
  TForm* form = nullptr;
  TRobot robot;
};

// ---- the values the control starts with and opens with ----------------------------------

TEST_F(DropDownTest, NewControlAndItsEmptyPopup) {
  TDizDropDown* d = NewDropDown();
  EXPECT_EQ(d->Width(), 200);
  EXPECT_EQ(d->Height(), 21);
  EXPECT_EQ(d->GetButtonWidth(), 17);
  EXPECT_EQ(d->DropDownButton()->ButtonWidth(), 17);
  EXPECT_EQ(d->DropDownButton()->Width(), 17);
  EXPECT_EQ(d->Version(), "1.0.3.1");
  EXPECT_EQ(d->RememberedDropDownSize().cx, -1);
  EXPECT_FALSE(d->DroppedDown());
  ASSERT_NE(d->DropDownForm(), nullptr);
  EXPECT_FALSE(d->DropDownForm()->Visible());
  EXPECT_EQ(d->ButtonAppearance()->ColorChecked(), TColor(0xF5D8CA));
  EXPECT_EQ(d->ButtonAppearance()->ColorCheckedTo(), TColor(0xF9BDA0));

  // Without strips and centre control only the border is left: the minimum size holds.
  d->DropDownHeader()->Visible = false;
  d->DropDownFooter()->Visible = false;
  d->ShowDropDown();
  TDropDownForm* f = d->DropDownForm();
  ASSERT_TRUE(d->DroppedDown());
  EXPECT_EQ(f->Width(), 200);
  EXPECT_EQ(f->Height(), 50);
  EXPECT_EQ(f->Header(), nullptr);
  // Right below the control, overlapping its bottom line.
  TPoint p = form->ClientToScreen(TPoint{d->Left(), d->Top()});
  EXPECT_EQ(f->Left(), p.X);
  EXPECT_EQ(f->Top(), p.Y + d->Height() - 1);
  d->HideDropDown(false);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->RememberedDropDownSize().cx, 200);
  EXPECT_EQ(d->RememberedDropDownSize().cy, 50);
}

// A descendant that gives its centre control its size before each opening.
class TPanelDropDown : public TDizDropDown {
public:
  using TDizDropDown::TDizDropDown;

protected:
  void BeforeDropDown() override {
    Control()->SetAlign(alNone);
    Control()->SetBounds(0, 0, 150, 100);
  }
};

TEST_F(DropDownTest, StripsAndCentreControlMakeTheHeight) {
  auto* d = new TPanelDropDown(form);
  d->SetParent(form);
  auto* panel = new TPanel(form);
  d->SetControl(panel);
  EXPECT_EQ(panel->Parent(), d->DropDownForm());
  EXPECT_EQ(panel->Align(), alClient);
  d->DropDownHeader()->Visible = false;
  d->ShowDropDown();
  // Border, footer and centre control; as wide as the centre control.
  EXPECT_EQ(d->DropDownForm()->Height(), 2 + 22 + 100);
  EXPECT_EQ(d->DropDownForm()->Width(), 150);
  EXPECT_EQ(d->DropDownForm()->Header(), nullptr);
  EXPECT_NE(d->DropDownForm()->Footer(), nullptr);
  // The centre control fills what the strips leave inside the border.
  EXPECT_EQ(panel->Top(), 1);
  EXPECT_EQ(panel->Height(), 100);
  d->HideDropDown(true);
  // Shown later: the header is made at the first opening that needs it; the size the
  // pop-up had at its close wins over the computed one.
  d->DropDownHeader()->Visible = true;
  d->ShowDropDown();
  EXPECT_NE(d->DropDownForm()->Header(), nullptr);
  EXPECT_EQ(d->DropDownForm()->Height(), 124);
}

TEST_F(DropDownTest, PlacementBelowAboveAndWithinTheWorkArea) {
  RECT work = Headless().WorkArea();
  struct Case {
    TDropPosition pos;
    int top;  // the control's top in the form
    bool above;
  } cases[] = {
      {dpAuto, 20, false},
      {dpAuto, 250, true},  // form at 100 + caption: the pop-up does not fit below
      {dpDown, 20, false},
      {dpUp, 100, true},
  };
  form->SetBounds(100, int(work.bottom) - 330, 420, 300);
  for (const Case& c : cases) {
    TDizDropDown* d = NewDropDown(20, c.top);
    d->DropPosition = c.pos;
    d->DropDownHeight = 120;
    d->ShowDropDown();
    TDropDownForm* f = d->DropDownForm();
    TPoint p = form->ClientToScreen(TPoint{d->Left(), d->Top()});
    if (c.above) EXPECT_EQ(f->Top() + f->Height(), p.Y) << c.top;  // bottom touches the control's top
    else EXPECT_EQ(f->Top(), p.Y + d->Height() - 1) << c.top;
    d->HideDropDown(false);
    delete d;
  }
}

TEST_F(DropDownTest, ATallerRememberedPopupOpeningAboveStillEndsAtTheControl) {
  RECT work = Headless().WorkArea();
  form->SetBounds(100, int(work.bottom) - 330, 420, 300);
  TDizDropDown* d = NewDropDown(20, 250);
  d->DropDownHeight = 100;
  d->ShowDropDown();
  TDropDownForm* f = d->DropDownForm();
  f->SetBounds(f->Left(), f->Top(), 240, 180);  // the user made it taller
  d->HideDropDown(false);
  d->ShowDropDown();
  TPoint p = form->ClientToScreen(TPoint{d->Left(), d->Top()});
  EXPECT_EQ(f->Height(), 180);
  EXPECT_EQ(f->Top() + f->Height(), p.Y);
}

TEST_F(DropDownTest, APopupWiderThanTheRoomToTheRightStaysOnTheScreen) {
  RECT work = Headless().WorkArea();
  form->SetBounds(int(work.right) - 300, 100, 290, 300);
  TDizDropDown* d = NewDropDown(20, 20);
  d->DropDownWidth = 400;
  d->ShowDropDown();
  EXPECT_EQ(d->DropDownForm()->Left() + d->DropDownForm()->Width(), int(work.right));
}

// ---- opening by the button, closing, the 250 ms guard -----------------------------------

TEST_F(DropDownTest, ThePopupTakesTheFocusWhileTheMainCaptionStaysActive) {
  TDizDropDown* d = NewDropDown();
  d->SetFocus();
  PressButton(d);
  TDropDownForm* f = d->DropDownForm();
  ASSERT_TRUE(f->Visible());
  EXPECT_EQ(GetActiveWindow(), f->Handle());
  EXPECT_TRUE(GetFocus() == f->Handle() || IsChild(f->Handle(), GetFocus()));
  EXPECT_TRUE(CaptionActive(form));
  // Losing the activation to the main window closes it as cancelled.
  bool cancelled = false;
  int ups = 0;
  d->OnDropUp = [&](TObject*, bool c) {
    ++ups;
    cancelled = c;
  };
  robot.Click(form->Handle(), 300, 200);
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(DropDownTest, AnotherProgramTakingTheFocusClosesThePopup) {
  TDizDropDown* d = NewDropDown();
  d->ShowDropDown();
  ASSERT_TRUE(d->DropDownForm()->Visible());
  InputAppActivation(false);
  Headless().Pump();
  EXPECT_FALSE(d->DropDownForm()->Visible());
  EXPECT_FALSE(d->DroppedDown());
}

TEST_F(DropDownTest, APressWithin250msOfTheCloseDoesNotReopen) {
  TDizDropDown* d = NewDropDown();
  TDropDownForm* f = d->DropDownForm();
  Headless().Advance(1000);
  PressButton(d);
  ASSERT_TRUE(f->Visible());
  // The press on the drop button deactivates the pop-up, which closes; the same press
  // does not open it again.
  PressButton(d);
  EXPECT_FALSE(f->Visible());
  unsigned closed = f->LastCloseTick;
  EXPECT_EQ(closed, unsigned(GetTickCount()));
  Headless().Advance(250);
  PressButton(d);
  EXPECT_FALSE(f->Visible());
  Headless().Advance(1);
  PressButton(d);
  EXPECT_TRUE(f->Visible());
}

TEST_F(DropDownTest, RightPressDoesNotOpenAndReadOnlyNeverOpens) {
  TDizDropDown* d = NewDropDown();
  Headless().Advance(1000);
  PressButton(d, TInputButton::Right);
  EXPECT_FALSE(d->DropDownForm()->Visible());
  d->SetReadOnly(true);
  PressButton(d);
  EXPECT_FALSE(d->DropDownForm()->Visible());
  d->ShowDropDown();
  EXPECT_FALSE(d->DropDownForm()->Visible());
}

TEST_F(DropDownTest, EscRestoresTheTextEnterKeepsIt) {
  TDizDropDown* d = NewDropDown();
  d->SetText("alpha");
  bool cancelled = false;
  int ups = 0;
  d->OnDropUp = [&](TObject*, bool c) {
    ++ups;
    cancelled = c;
  };
  d->SetFocus();
  robot.PressKey(VK_F4);
  ASSERT_TRUE(d->DroppedDown());
  EXPECT_EQ(d->TextAtDropDown(), "alpha");
  d->SetText("beta");
  robot.PressKey(VK_ESCAPE);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->Text(), "alpha");
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(d->Focused());

  robot.PressKey(VK_DOWN, rsAlt);
  ASSERT_TRUE(d->DroppedDown());
  d->SetText("gamma");
  robot.PressKey(VK_RETURN);
  EXPECT_FALSE(d->DroppedDown());
  EXPECT_EQ(d->Text(), "gamma");
  EXPECT_EQ(ups, 2);
  EXPECT_FALSE(cancelled);
}

TEST_F(DropDownTest, AllowFalseShowsNothingAndRaisesNoDropUp) {
  TDizDropDown* d = NewDropDown();
  int ups = 0;
  d->OnDropDown = [](TObject*, bool& allow) { allow = false; };
  d->OnDropUp = [&](TObject*, bool) { ++ups; };
  d->ShowDropDown();
  EXPECT_FALSE(d->DropDownForm()->Visible());
  EXPECT_FALSE(d->DroppedDown());
  d->HideDropDown(true);
  EXPECT_EQ(ups, 0);
}

// ---- value text ------------------------------------------------------------------------------

struct TextCase {
  TDropDownEditType type;
  int precision;
  const char* set;  // SetText, or nullptr for the number
  double number;
  enum { Text, Float, Int } how;
  const char* shown;
  double reads;
};

TEST_F(DropDownTest, ValueTextOfTheEditTypes) {
  const TextCase cases[] = {
      {etFloat, 2, "3", 0, TextCase::Text, "3.00", 3},
      {etFloat, 2, "", 0, TextCase::Text, "0.00", 0},
      {etFloat, 2, "Error", 0, TextCase::Text, "Error", 0},
      {etMoney, 2, nullptr, 1234567.5, TextCase::Float, "1,234,567.50", 1234567.5},
      {etMoney, 2, "12.", 0, TextCase::Text, "12.00", 12},
      {etHex, 0, nullptr, 255, TextCase::Int, "FF", 255},
      {etHex, 0, "1f", 0, TextCase::Text, "1F", 31},
      {etHex, 0, "ab", 0, TextCase::Text, "AB", 171},
      {etNumeric, 0, nullptr, 1234, TextCase::Float, "1,234", 1234},
      {etNumeric, 0, "", 0, TextCase::Text, "0", 0},
      {etString, 0, "x", 0, TextCase::Text, "x", 0},
  };
  for (const TextCase& c : cases) {
    TDizDropDown* d = NewDropDown();
    d->SetEditType(c.type);
    d->SetPrecision(c.precision);
    if (c.how == TextCase::Text) d->SetText(c.set);
    else if (c.how == TextCase::Float) d->SetFloat(c.number);
    else d->SetInt(int(c.number));
    EXPECT_EQ(d->Text(), c.shown) << c.shown;
    EXPECT_DOUBLE_EQ(double(d->GetFloat()), c.reads) << c.shown;
    delete d;
  }
}

TEST_F(DropDownTest, HexReadsAsInteger) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etHex);
  d->SetTextDirect("1f");
  EXPECT_EQ(d->GetInt(), 31);
  EXPECT_EQ(d->GetFloat(), 31);
  EXPECT_EQ(HexToInt("FFFFFFFF"), -1);
}

TEST_F(DropDownTest, MoneyValueEndingWithTheSeparatorAndWithoutGrouping) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etMoney);
  d->SetTextDirect("12.");
  EXPECT_EQ(d->GetFloat(), 12);
  d->SetTextDirect("1234567");
  d->SetAutoThousandSeparator(false);
  EXPECT_EQ(d->Text(), "1234567");
  d->SetAutoThousandSeparator(true);
  EXPECT_EQ(d->Text(), "1,234,567");
}

TEST_F(DropDownTest, PrefixAndSuffixAroundTheValue) {
  TDizDropDown* d = NewDropDown();
  d->SetPrefix("$");
  d->SetSuffix("kg");
  d->SetText("12");
  EXPECT_EQ(Shown(d), "$12kg");
  EXPECT_EQ(d->GetText(), "12");
  d->SetPrefix("EUR");
  EXPECT_EQ(Shown(d), "EUR12kg");
  EXPECT_EQ(d->Text(), "12");
}

TEST_F(DropDownTest, OnlyASuffixThatIsThereIsStripped) {
  TDizDropDown* d = NewDropDown();
  d->SetSuffix("kg");
  // A text that does not end with the suffix keeps all its characters.
  d->SetTextDirect("12345");
  EXPECT_EQ(d->GetText(), "12345");
  d->SetTextDirect("12kg");
  EXPECT_EQ(d->GetText(), "12");
  d->SetTextDirect("k");
  EXPECT_EQ(d->GetText(), "k");
}

TEST_F(DropDownTest, TextAutoTypeClassifies) {
  struct {
    const char* text;
    TAutoType type;
  } cases[] = {{"12", atNumeric}, {"1.5", atFloat}, {"1,234", atFloat}, {"1F", atHex},
               {"--1", atString}, {"", atString},   {",12", atString}, {"1,2,345", atString},
               {"1.2.3", atString}};
  for (auto& c : cases) EXPECT_EQ(TextAutoType(c.text), c.type) << c.text;
}

TEST_F(DropDownTest, SetPrecisionOnlyForTextFloatAndMoney) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etNumeric);
  d->SetPrecision(3);
  EXPECT_EQ(d->Precision(), 0);
  d->SetEditType(etFloat);
  d->SetText("2.5");
  d->SetPrecision(3);
  EXPECT_EQ(d->Text(), "2.500");
}

TEST_F(DropDownTest, LeavingNormalisesTheValue) {
  TDizDropDown* a = NewDropDown(20, 20);
  TDizDropDown* b = NewDropDown(20, 60);
  a->SetEditType(etNumeric);
  a->SetFocus();
  a->SetTextDirect("");
  b->SetFocus();
  EXPECT_EQ(a->Text(), "0");
  a->AllowEmpty = true;
  a->SetFocus();
  a->SetTextDirect("");
  b->SetFocus();
  EXPECT_EQ(a->Text(), "");
  b->SetEditType(etFloat);
  b->SetPrecision(2);
  b->SetFocus();
  b->SetTextDirect("7.5");
  a->SetFocus();
  EXPECT_EQ(b->Text(), "7.50");
}

// ---- typing ----------------------------------------------------------------------------------

TEST_F(DropDownTest, FloatTypingOverwritesAFullFraction) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etFloat);
  d->SetPrecision(2);
  d->SetText("1.25");
  d->SetFocus();
  d->SetSelStart(3);  // after 2
  d->SetSelLength(0);
  robot.Type("9");
  EXPECT_EQ(d->Text(), "1.29");
  EXPECT_TRUE(d->GetModified());
  robot.Type("9");  // at the end: nothing more
  EXPECT_EQ(d->Text(), "1.29");
  d->SetSelStart(0);
  robot.Type(".");  // the separator moves the caret after the existing one
  EXPECT_EQ(d->SelStart(), 2);
  EXPECT_EQ(d->Text(), "1.29");
}

TEST_F(DropDownTest, FloatTypingOnAnEmptyValueAndWithoutPrecision) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etFloat);
  d->SetPrecision(2);
  d->SetFocus();
  d->SetTextDirect("");
  Char(d, U'.');
  EXPECT_EQ(d->Text(), "0.");
  EXPECT_EQ(d->SelStart(), 2);
  d->SetPrecision(0);
  d->SetTextDirect("");
  Char(d, U'.');
  EXPECT_EQ(d->Text(), "");
}

TEST_F(DropDownTest, MoneyTypingGroupsThousands) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etMoney);
  d->SetFocus();
  d->SetTextDirect("");
  for (char32_t c : std::u32string(U"1234")) Char(d, c);
  EXPECT_EQ(d->Text(), "1,234");
  EXPECT_EQ(d->SelStart(), 5);
  Char(d, U',');
  EXPECT_EQ(d->Text(), "1,234");
}

TEST_F(DropDownTest, NumericSignAndRangeTyping) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etNumeric);
  d->SetFocus();
  d->SetText("12");
  d->SetSelStart(1);
  Char(d, U'-');
  EXPECT_EQ(d->Text(), "12");  // not signed
  d->Signed = true;
  Char(d, U'-');
  EXPECT_EQ(d->Text(), "-12");
  Char(d, U'-');
  EXPECT_EQ(d->Text(), "12");
  Char(d, U'a');
  EXPECT_EQ(d->Text(), "12");

  d->SetEditType(etRange);
  d->SetTextDirect("");
  for (char32_t c : std::u32string(U"1-5;;7")) Char(d, c);
  EXPECT_EQ(d->Text(), "1-5;7");
  d->SetSelStart(0);
  Char(d, U';');
  EXPECT_EQ(d->Text(), "1-5;7");
}

TEST_F(DropDownTest, LengthLimitStopsTheIntegerPartOnly) {
  TDizDropDown* d = NewDropDown();
  d->SetEditType(etFloat);
  d->SetPrecision(2);
  d->LengthLimit = 3;
  d->Signed = true;
  d->SetFocus();
  d->SetTextDirect("123.4");
  d->SetSelStart(3);
  Char(d, U'9');
  EXPECT_EQ(d->Text(), "123.4");
  d->SetSelStart(5);
  Char(d, U'5');
  EXPECT_EQ(d->Text(), "123.45");
  d->SetSelStart(0);
  Char(d, U'-');
  EXPECT_EQ(d->Text(), "-123.45");
}

TEST_F(DropDownTest, CaretStaysOutOfPrefixAndSuffix) {
  TDizDropDown* d = NewDropDown();
  d->SetPrefix("$");
  d->SetSuffix("kg");
  d->SetText("12");
  d->SetFocus();
  robot.PressKey(VK_HOME);
  EXPECT_EQ(d->SelStart(), 1);
  robot.PressKey(VK_LEFT);
  EXPECT_EQ(d->SelStart(), 1);
  robot.PressKey(VK_BACK);
  EXPECT_EQ(Shown(d), "$12kg");
  robot.PressKey(VK_END);
  EXPECT_EQ(d->SelStart(), 3);
  robot.PressKey(VK_RIGHT);
  EXPECT_EQ(d->SelStart(), 3);
  robot.PressKey(VK_DELETE);
  EXPECT_EQ(Shown(d), "$12kg");
}

TEST_F(DropDownTest, EnterRaisesKeyPressAndNeverBreaksTheLine) {
  TDizDropDown* d = NewDropDown();
  d->SetText("ab");
  int enters = 0;
  d->OnKeyPress = [&](TObject*, char32_t& k) {
    if (k == 13) ++enters;
  };
  d->SetFocus();
  robot.PressKey(VK_RETURN);
  EXPECT_GE(enters, 1);
  EXPECT_EQ(Shown(d), "ab");
}

// ---- clipboard -------------------------------------------------------------------------------

TEST_F(DropDownTest, PastesFollowTheTypeRules) {
  struct {
    TDropDownEditType type;
    int precision;
    const char* before;
    const char* pasted;
    const char* after;
  } cases[] = {
      {etNumeric, 0, "", "12a", ""},
      {etNumeric, 0, "", "123", "123"},
      {etFloat, 0, "", "1.5", ""},
      {etFloat, 2, "", "1.5", "1.50"},
      {etAlphaNumeric, 0, "", "ab-1", ""},
      {etHex, 0, "", "1fz", ""},
      {etHex, 0, "", "1f", "1F"},
      {etRange, 0, "", "1-5;7", "1-5;7"},
      {etRange, 0, "", ";1", ""},
      {etRange, 0, "", "1;;2", ""},
      {etUppercase, 0, "", "abc", "ABC"},
  };
  for (auto& c : cases) {
    TDizDropDown* d = NewDropDown();
    d->SetEditType(c.type);
    d->SetPrecision(c.precision);
    d->SetTextDirect(c.before);
    d->SetFocus();
    d->SetSelStart(0);
    d->SetSelLength(100);
    SetClipboardTextUtf8(c.pasted);
    SendMessage(d->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(d->Text(), c.after) << c.pasted;
    delete d;
  }
}

TEST_F(DropDownTest, ClipboardVetoes) {
  TDizDropDown* d = NewDropDown();
  d->SetText("hello");
  d->SetFocus();
  SetClipboardTextUtf8("before");
  std::string seen;
  d->OnClipboardCut = [&](TObject*, const std::string& v, bool& allow) {
    seen = v;
    allow = false;
  };
  d->SetSelStart(1);
  d->SetSelLength(3);
  SendMessage(d->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(seen, "ell");
  EXPECT_EQ(d->Text(), "hello");
  EXPECT_EQ(GetClipboardTextUtf8(), "before");
  d->OnClipboardCut = nullptr;
  d->OnClipboardCopy = [&](TObject*, const std::string&, bool& allow) { allow = false; };
  SendMessage(d->Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(GetClipboardTextUtf8(), "before");
  d->OnClipboardCopy = nullptr;
  d->OnClipboardPaste = [&](TObject*, const std::string& v, bool& allow) {
    seen = v;
    allow = false;
  };
  SendMessage(d->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(seen, "hbeforeo");
  EXPECT_EQ(d->Text(), "hello");
  d->OnClipboardPaste = nullptr;
  SendMessage(d->Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(GetClipboardTextUtf8(), "ell");
}

// ---- pop-up painting and hit test ---------------------------------------------------------------

TEST_F(DropDownTest, BorderAndGradientOfThePopup) {
  TDizDropDown* d = NewDropDown();
  d->DropDownHeader()->Visible = false;
  d->DropDownFooter()->Visible = false;
  d->DropDownBorderWidth = 3;
  d->DropDownBorderColor = 0x0000FF;
  d->DropDownColor = 0x00FF00;
  d->DropDownColorTo = 0xFF0000;
  d->DropDownWidth = 120;
  d->DropDownHeight = 60;
  d->ShowDropDown();
  HWND f = d->DropDownForm()->Handle();
  // The border's rectangle starts one pixel in (width 3 div 2), the pen centred on it;
  // the gradient fills inside 3 pixels, green at its left end, blue at its right.
  for (int x : {0, 1, 2}) EXPECT_EQ(WindowPixel(f, x, 30), COLORREF(0x0000FF)) << x;
  EXPECT_EQ(WindowPixel(f, 3, 30), COLORREF(0x00FF00));
  EXPECT_EQ(WindowPixel(f, 60, 3), WindowPixel(f, 60, 30));
  EXPECT_GT(GetBValue(WindowPixel(f, 116, 30)), 240);
  for (int x : {118, 119}) EXPECT_EQ(WindowPixel(f, x, 30), COLORREF(0x0000FF)) << x;
  for (int y : {0, 2, 58, 59}) EXPECT_EQ(WindowPixel(f, 60, y), COLORREF(0x0000FF)) << y;
  d->HideDropDown(false);
  d->DropDownColor = clNone;
  d->DropDownColorTo = clNone;
  d->ShowDropDown();
  EXPECT_EQ(WindowPixel(f, 0, 30), COLORREF(0x0000FF));
}

TEST_F(DropDownTest, HitTestAnswersTheGripCornerOnly) {
  TDizDropDown* d = NewDropDown();
  d->DropDownWidth = 120;
  d->DropDownHeight = 80;
  d->ShowDropDown();
  TDropDownForm* f = d->DropDownForm();
  auto hit = [&](int x, int y) {
    POINT s = TRobot::ScreenPoint(f->Handle(), POINT{x, y});
    return SendMessage(f->Handle(), WM_NCHITTEST, 0, MAKELPARAM(WORD(s.x), WORD(s.y)));
  };
  EXPECT_EQ(hit(115, 75), 0);
  f->SizeGripArea = true;
  EXPECT_EQ(hit(115, 75), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(111, 71), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(110, 75), 0);
  EXPECT_EQ(hit(115, 70), 0);
  EXPECT_EQ(hit(10, 10), 0);
  EXPECT_EQ(SendMessage(f->Handle(), WM_GETDLGCODE, 0, 0), 5);
}

// ---- drop button -----------------------------------------------------------------------------------

TEST_F(DropDownTest, ButtonWidthIsForcedOnContainerAndButton) {
  TDizDropDown* d = NewDropDown();
  d->SetButtonWidth(25);
  EXPECT_EQ(d->GetButtonWidth(), 25);
  // At the right edge of the edit, inside its border.
  EXPECT_EQ(d->DropDownButton()->Left(), d->Width() - 25 - 4);
  EXPECT_EQ(d->DropDownButton()->Width(), 25);
  EXPECT_EQ(d->DropDownButton()->Button()->Width(), 25);
  d->DropDownButton()->SetBounds(0, 0, 60, 19);
  EXPECT_EQ(d->DropDownButton()->Width(), 25);
  EXPECT_EQ(d->DropDownButton()->Button()->Width(), 25);
}

TEST_F(DropDownTest, ReadOnlyOrDisabledPaintsTheButtonDisabled) {
  TDizDropDown* d = NewDropDown();
  UpdateWindow(form->Handle());
  SaveWindowPng(form->Handle(), (std::filesystem::temp_directory_path() / "lorm_dd_ro0.png").string());
  EXPECT_EQ(d->DropDownButton()->Button()->PaintedThemeState(), 1);
  d->SetReadOnly(true);
  d->DropDownButton()->Button()->Invalidate();
  SaveWindowPng(form->Handle(), (std::filesystem::temp_directory_path() / "lorm_dd_ro.png").string());
  EXPECT_EQ(d->DropDownButton()->Button()->PaintedThemeState(), 4);
  EXPECT_FALSE(d->DropDownButton()->Button()->Enabled());
  d->SetReadOnly(false);
  d->SetEnabled(false);
  d->DropDownButton()->Button()->Invalidate();
  SaveWindowPng(form->Handle(), (std::filesystem::temp_directory_path() / "lorm_dd_ro.png").string());
  EXPECT_EQ(d->DropDownButton()->Button()->PaintedThemeState(), 4);
  std::filesystem::remove(std::filesystem::temp_directory_path() / "lorm_dd_ro.png");
  std::filesystem::remove(std::filesystem::temp_directory_path() / "lorm_dd_ro0.png");
}

TEST_F(DropDownTest, TheSystemComboArrowBitmap) {
  HBITMAP b = LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_COMBO));
  ASSERT_NE(b, nullptr);
  TBitmap bmp;
  bmp.SetHandle(b);
  EXPECT_EQ(bmp.GetWidth(), 7);
  EXPECT_EQ(bmp.GetHeight(), 4);
  EXPECT_EQ(bmp.Canvas()->GetPixel(3, 3), TColor(0));
  EXPECT_EQ(ColorToRGB(bmp.Canvas()->GetPixel(0, 3)), ColorToRGB(clBtnFace));
}

// ---- strips ----------------------------------------------------------------------------------------

TEST_F(DropDownTest, HeaderBorderOnlyWhereThePopupDoesNotFrameIt) {
  TDizDropDown* d = NewDropDown();
  THeaderAppearance* a = d->DropDownHeader();
  a->Color = 0xFFFFFF;
  a->ColorTo = clNone;
  a->BorderColor = 0x0000FF;
  a->BorderWidth = 3;
  d->DropDownFooter()->Visible = false;
  d->DropDownBorderWidth = 0;
  d->ShowDropDown();
  TDizHeader* h = d->DropDownForm()->Header();
  ASSERT_NE(h, nullptr);
  HWND hw = h->Handle();
  int w = h->Width(), ht = h->Height();
  const COLORREF red = 0x0000FF, light = 0xCCCCFF, white = 0xFFFFFF;
  // Without a pop-up border the strip draws its own on every side, then the light
  // highlight frame above its bottom line.
  EXPECT_EQ(WindowPixel(hw, w / 2, ht - 2), red);
  EXPECT_EQ(WindowPixel(hw, 1, ht / 2), red);
  EXPECT_EQ(WindowPixel(hw, w / 2, 1), red);
  EXPECT_EQ(WindowPixel(hw, 0, ht / 2), light);
  EXPECT_EQ(WindowPixel(hw, w / 2, ht - 4), light);
  d->HideDropDown(false);
  // Framed by the pop-up's 1-pixel border: only its bottom line.
  d->DropDownBorderWidth = 1;
  d->ShowDropDown();
  EXPECT_EQ(WindowPixel(hw, w / 2, ht - 2), red);
  EXPECT_EQ(WindowPixel(hw, 1, ht / 2), white);
  EXPECT_EQ(WindowPixel(hw, w / 2, 1), white);
  d->HideDropDown(false);
  // BorderWidth 0: no border at all, whatever the colour.
  a->BorderWidth = 0;
  d->DropDownBorderWidth = 0;
  d->ShowDropDown();
  for (POINT p : {POINT{w / 2, ht - 1}, POINT{0, ht / 2}, POINT{w / 2, 0}, POINT{1, 1}})
    EXPECT_EQ(WindowPixel(hw, p.x, p.y), white) << p.x << "," << p.y;
}

TEST_F(DropDownTest, FooterGripCursorAndSizing) {
  TDizDropDown* d = NewDropDown();
  d->DropDownWidth = 200;
  d->DropDownHeight = 100;
  d->ShowDropDown();
  TDropDownForm* f = d->DropDownForm();
  TDizFooter* foot = f->Footer();
  ASSERT_NE(foot, nullptr);
  ASSERT_TRUE(foot->HasSizeGrip());
  EXPECT_EQ(foot->GetButtonsRect().Right, foot->Width() - 2 - 12);
  HWND fw = foot->Handle();
  robot.MoveTo(fw, 20, 10);
  robot.MoveTo(fw, foot->Width() - 5, foot->Height() - 5);
  EXPECT_EQ(Screen->Cursor(), crSizeNWSE);
  robot.MoveTo(fw, 20, 10);
  EXPECT_NE(Screen->Cursor(), crSizeNWSE);
  // A drag from the grip sizes the pop-up in the window system's loop.
  int sizings = 0;
  f->OnSizing = [&](TObject*) { ++sizings; };
  POINT from{foot->Width() - 5, foot->Height() - 5};
  robot.Drag(fw, from, POINT{from.x + 40, from.y + 30});
  EXPECT_EQ(f->Width(), 240);
  EXPECT_EQ(f->Height(), 130);
  EXPECT_GT(sizings, 0);
  // Kept for the next opening.
  d->HideDropDown(false);
  d->ShowDropDown();
  EXPECT_EQ(f->Width(), 240);
  EXPECT_EQ(f->Height(), 130);
}

TEST_F(DropDownTest, EscapeDuringAGripDragRestoresTheSize) {
  TDizDropDown* d = NewDropDown();
  d->DropDownHeight = 100;
  d->ShowDropDown();
  TDropDownForm* f = d->DropDownForm();
  TDizFooter* foot = f->Footer();
  HWND fw = foot->Handle();
  POINT from{foot->Width() - 5, foot->Height() - 5};
  robot.AutoProcess = false;
  robot.MouseDown(fw, from.x, from.y);
  robot.MoveTo(fw, from.x + 30, from.y + 30);
  robot.PressKey(VK_ESCAPE);
  robot.MouseUp(fw, from.x + 30, from.y + 30);
  robot.AutoProcess = true;
  Headless().Pump();
  EXPECT_EQ(f->Width(), 200);
  EXPECT_EQ(f->Height(), 100);
}

TEST_F(DropDownTest, NoGripWhenNotSizeable) {
  TDizDropDown* d = NewDropDown();
  d->DropDownSizeable = false;
  d->ShowDropDown();
  TDizFooter* foot = d->DropDownForm()->Footer();
  EXPECT_FALSE(foot->HasSizeGrip());
  EXPECT_EQ(foot->GetButtonsRect().Right, foot->Width() - 2);
  TCursor before = Screen->Cursor();
  robot.MoveTo(foot->Handle(), foot->Width() - 3, foot->Height() - 3);
  EXPECT_EQ(Screen->Cursor(), before);
}

TEST_F(DropDownTest, DrawEventsReplaceStripPaintingAndTextEventsChangeCaptions) {
  TDizDropDown* d = NewDropDown();
  int drawn = 0;
  d->OnDrawHeader = [&](TObject*, TCanvas* c, TRect r) {
    ++drawn;
    c->Brush()->SetColor(0x00FFFF);
    c->FillRect(r);
  };
  d->ShowDropDown();
  TDizHeader* h = d->DropDownForm()->Header();
  EXPECT_EQ(WindowPixel(h->Handle(), 5, 5), COLORREF(0x00FFFF));
  EXPECT_GT(drawn, 0);
}

// ---- pictures ----------------------------------------------------------------------------------------

// Writes the picture where LORM_KEEP_PNG points (a folder), else to a temporary file that
// is removed again.
void KeepPng(HWND h, const std::string& name, bool screen = false) {
  const char* keep = std::getenv("LORM_KEEP_PNG");
  auto path = (keep ? std::filesystem::path(keep) : std::filesystem::temp_directory_path()) / name;
  EXPECT_TRUE(screen ? SaveScreenPng(path.string()) : SaveWindowPng(h, path.string()));
  if (!keep) std::filesystem::remove(path);
}

TEST_F(DropDownTest, PicturesOfEachEditTypeAndAnOpenPopup) {
  form->SetBounds(40, 40, 520, 560);
  const std::pair<TDropDownEditType, const char*> types[] = {
      {etString, "Метан"}, {etNumeric, "1234"}, {etFloat, "3.14159"}, {etUppercase, "ABC"},
      {etMixedCase, "Abc Def"}, {etLowerCase, "abc"}, {etPassword, "secret"}, {etMoney, "1234567.5"},
      {etRange, "1-5;7"}, {etHex, "ff"}, {etAlphaNumeric, "ab12"}, {etValidChars, "xyz"}};
  int y = 10;
  TDizDropDown* last = nullptr;
  for (auto& [type, text] : types) {
    TDizDropDown* d = NewDropDown(10, y);
    d->SetEditType(type);
    if (type == etFloat || type == etMoney) d->SetPrecision(2);
    if (type == etMoney) d->SetPrefix("$");
    if (type == etFloat) d->SetSuffix(" kg");
    d->SetText(text);
    y += 28;
    last = d;
  }
  last->DropDownHeader()->Caption = "<b>Header</b> caption";
  last->DropDownFooter()->Caption = "Footer <i>text</i>";
  last->DropDownColor = 0xFFF4E8;
  last->DropDownColorTo = 0xE0C8A8;
  last->DropDownWidth = 240;
  last->DropDownHeight = 140;
  last->ShowDropDown();
  KeepPng(form->Handle(), "lorm_dropdown_types.png");
  KeepPng(nullptr, "lorm_dropdown_open.png", true);
}

}  // namespace
