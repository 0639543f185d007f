// The spin edit on the headless back end: values, formatting and clamping, stepping by
// buttons, keys and the repeat clock, typed-character filtering, leaving, label and looks.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "editors/DizSpin.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "foundation/DizThemeBinding.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class SpinTest : public ::testing::Test {
protected:
  SpinTest() : locale(Settings()) {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 400, 200);
    form->Show();
  }
  ~SpinTest() override { Application->Restart(); }

  static TFormatSettings Settings() {
    TFormatSettings s = DefaultFormatSettings();
    s.ShortDateFormat = "dd.MM.yyyy";
    s.DateSeparator = '.';
    return s;
  }

  TDizSpinEdit* NewEdit(int left = 20, int top = 20, int width = 80) {
    auto* e = new TDizSpinEdit(form);
    e->SetParent(form);
    e->SetBounds(left, top, width, 22);
    return e;
  }
  TDizSpinEdit* NewFloat(int precision, double minimum, double maximum) {
    TDizSpinEdit* e = NewEdit();
    e->SetSpinType(sptFloat);
    e->SetPrecision(precision);
    e->SetMinFloatValue(minimum);
    e->SetMaxFloatValue(maximum);
    return e;
  }
  // A click in the middle of a button of the pair.
  static POINT Middle(TControl* c) { return POINT{c->Left() + c->Width() / 2, c->Top() + c->Height() / 2}; }

  THeadlessScope scope;
  TFormatSettingsScope locale;
  TForm* form = nullptr;
  TRobot robot;
};

// ---- values, formatting and clamping -------------------------------------------------

struct FloatCase {
  int precision;
  double minimum, maximum, written;
  const char* shown;
};

TEST_F(SpinTest, FloatValuesAreClampedAndShownWithTheEditsDecimals) {
  const FloatCase cases[] = {
      // The coefficient edits: 5 decimals, 1e-05 .. 10.
      {5, 1e-05, 10, 0.0001, "0.00010"},
      {5, 1e-05, 10, 12.3, "10.00000"},
      {5, 1e-05, 10, 0, "0.00001"},
      {5, 1e-05, 10, 1e6, "10.00000"},
      {5, 1e-05, 10, 1.234567, "1.23457"},
      {5, 1e-05, 10, -3, "0.00001"},
      // N and the mixture density: 4 decimals, 0.0001 .. 10.
      {4, 0.0001, 10, 0.0001, "0.0001"},
      {4, 0.0001, 10, 1.24, "1.2400"},
      {4, 0.0001, 10, 0.00004, "0.0001"},
      {4, 0.0001, 10, 10.5, "10.0000"},
      // The gas properties: 3 decimals, up to 200 (density) and 1000.
      {3, 0.001, 200, 1.2506, "1.251"},
      {3, 0.001, 200, 250, "200.000"},
      {3, 0.001, 1000, 999.9996, "1000.000"},
      {3, 0.001, 1000, 26.2, "26.200"},
      {3, 0.001, 1000, 0, "0.001"},
      // No range: equal bounds leave the value alone.
      {0, 0, 0, 0, "0"},
      {0, 3, 3, 12.5, "12.5"},
      {2, 0, 0, -7.125, "-7.13"},
  };
  for (const FloatCase& c : cases) {
    SCOPED_TRACE(std::string(c.shown));
    TDizSpinEdit* e = NewFloat(c.precision, c.minimum, c.maximum);
    e->SetFloatValue(c.written);
    EXPECT_EQ(e->Text(), c.shown);
    EXPECT_DOUBLE_EQ(e->GetFloatValue(), std::stod(c.shown));
    delete e;
  }
}

TEST_F(SpinTest, FloatTextUsesTheLocalesDecimalSeparator) {
  TFormatSettings s = Settings();
  s.DecimalSeparator = ',';
  s.ThousandSeparator = ' ';
  TFormatSettingsScope comma(s);
  TDizSpinEdit* e = NewFloat(5, 1e-05, 10);
  e->SetFloatValue(0.0001);
  EXPECT_EQ(e->Text(), "0,00010");
  EXPECT_DOUBLE_EQ(e->GetFloatValue(), 0.0001);
  e->SetText("2.5");  // the point is not this locale's separator
  EXPECT_DOUBLE_EQ(e->GetFloatValue(), 1e-05);
}

TEST_F(SpinTest, NegativePrecisionShowsFourSignificantDigits) {
  TDizSpinEdit* e = NewFloat(-1, 0, 0);
  e->SetFloatValue(123456.0);
  EXPECT_EQ(e->Text(), FloatToStrF(123456.0, ffGeneral, 4, 4));
  EXPECT_NEAR(e->GetFloatValue(), 123500.0, 1e-9);
}

TEST_F(SpinTest, ReadersNeverRaiseAndFallBackToTheMinimum) {
  TDizSpinEdit* e = NewFloat(3, 0.5, 10);
  e->SetMinValue(7);
  struct Case {
    const char* text;
    double floatValue;
    int intValue;
  } cases[] = {
      {"", 0.0, 0}, {"   ", 0.0, 0}, {"1..2", 0.5, 7}, {"-", 0.5, 7}, {"abc", 0.5, 7}, {" 2.25 ", 2.25, 7},
      {"42", 42.0, 42},  // outside the range: returned as typed until written or left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    e->SetText(c.text);
    EXPECT_DOUBLE_EQ(e->GetFloatValue(), c.floatValue);
    EXPECT_EQ(e->GetValue(), c.intValue);
  }
}

TEST_F(SpinTest, IntegerRangeWithEqualNonZeroBoundsPinsTheValue) {
  TDizSpinEdit* e = NewEdit();
  e->SetValue(123);
  EXPECT_EQ(e->Text(), "123");
  e->SetMinValue(3);
  e->SetMaxValue(3);
  e->SetValue(123);
  EXPECT_EQ(e->Text(), "3");
  e->SetMinValue(-5);
  e->SetMaxValue(5);
  e->SetValue(-9);
  EXPECT_EQ(e->GetValue(), -5);
}

TEST_F(SpinTest, HexValues) {
  TDizSpinEdit* e = NewEdit();
  e->SetSpinType(sptHex);
  EXPECT_EQ(e->Text(), "0x0");  // "0" loses its two first characters
  e->SetHexValue(255);
  EXPECT_EQ(e->Text(), "0xFF");
  e->SetText("0x1A3");
  EXPECT_EQ(e->GetHexValue(), 419);
  e->SetText("0xzz");
  (void)e->GetHexValue();  // some number, no fault
  e->SetMaxLength(3);
  e->SetHexValue(255);
  EXPECT_EQ(e->Text(), "0xzz");
  EXPECT_EQ(e->RememberedHex(), 255);
  e->SetHexValue(10);
  EXPECT_EQ(e->Text(), "0xA");
}

TEST_F(SpinTest, ChangingTheKindReinterpretsTheText) {
  TDizSpinEdit* e = NewEdit();
  e->SetValue(5);
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  e->SetPrecision(3);
  e->SetSpinType(sptFloat);
  EXPECT_EQ(e->Text(), "5.000");
  EXPECT_EQ(changes, 0);
  e->SetPrecision(1);
  EXPECT_EQ(e->Text(), "5.0");
  e->SetShowSeconds(false);  // not a time edit: ignored
  EXPECT_TRUE(e->ShowSeconds());
}

TEST_F(SpinTest, DateAndTimeValues) {
  TDizSpinEdit* d = NewEdit();
  d->SetSpinType(sptDate);
  d->SetText("0");
  EXPECT_NEAR(d->GetDateValue(), Now(), 1.0 / 24);
  d->SetDateValue(EncodeDate(2024, 3, 5) + 0.25);
  EXPECT_EQ(d->Text(), "05.03.2024");
  EXPECT_DOUBLE_EQ(d->GetDateValue(), EncodeDate(2024, 3, 5) + 0.25);

  TDizSpinEdit* t = NewEdit(20, 60);
  t->SetSpinType(sptTime);
  t->SetTimeValue(2 + EncodeTime(9, 5, 7, 0));
  EXPECT_EQ(t->Text(), "9:05:07");
  t->SetShowSeconds(false);
  EXPECT_EQ(t->Text(), "9:05");
  EXPECT_NEAR(t->GetTimeValue(), 2 + EncodeTime(9, 5, 0, 0), 1e-9);
  t->SetText("25:00");  // not a time of day: reads 0, no fault
  EXPECT_EQ(t->GetTimeValue(), 0);
}

// ---- stepping ------------------------------------------------------------------------

TEST_F(SpinTest, FloatStepsStopAtTheRange) {
  TDizSpinEdit* e = NewFloat(3, 0.001, 1000);
  e->SetIncrementFloat(0.01);
  e->SetText("999.995");
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "1000.000");
  e->SetText("0.005");
  e->DownClick(nullptr);
  EXPECT_EQ(e->Text(), "0.001");
}

TEST_F(SpinTest, SmartStepChangesTheDigitLeftOfTheCaret) {
  TDizSpinEdit* e = NewFloat(3, 0, 0);
  e->SetIncrementSmart(true);
  e->SetIncrementFloat(0.5);
  struct Case {
    const char* text;
    int caret;
    const char* up;
  } cases[] = {
      {"123.456", 1, "223.456"},  // after "1": hundreds
      {"123.456", 2, "133.456"},  // tens
      {"123.456", 4, "124.456"},  // right after the separator: ones
      {"123.456", 5, "123.556"},  // first decimal
      {"123.456", 7, "123.457"},  // at the end: the last decimal
      {"123.456", 0, "123.956"},  // at the start: the plain increment
      {"-5.500", 1, "-5.000"},    // after the sign: the plain increment
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.caret));
    e->SetText(c.text);
    e->SetSelStart(c.caret);
    e->UpClick(nullptr);
    EXPECT_EQ(e->Text(), c.up);
  }
  TDizSpinEdit* i = NewEdit(20, 60);
  i->SetIncrementSmart(true);
  i->SetText("250");
  i->SetSelStart(1);
  i->DownClick(nullptr);
  EXPECT_EQ(i->Text(), "150");
}

TEST_F(SpinTest, DateStepsFollowTheFieldUnderTheCaret) {
  TDizSpinEdit* e = NewEdit();
  e->SetSpinType(sptDate);
  struct Case {
    TDateTime from;
    int caret;
    int sign;
    TDateTime to;
  } cases[] = {
      {EncodeDate(2023, 1, 31), 0, 1, EncodeDate(2023, 2, 1)},    // day
      {EncodeDate(2023, 1, 31), 3, 1, EncodeDate(2023, 2, 28)},   // month: the last day of February
      {EncodeDate(2023, 3, 31), 4, -1, EncodeDate(2023, 2, 28)},
      {EncodeDate(2023, 1, 31), 6, 1, EncodeDate(2024, 1, 31)},   // year
      {EncodeDate(2024, 2, 29), 8, 1, EncodeDate(2025, 2, 28)},   // from 29 February: no fault
      {EncodeDate(2024, 2, 29), 8, -1, EncodeDate(2023, 2, 28)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateToStr(c.from) + " @" + std::to_string(c.caret));
    e->SetDateValue(c.from);
    e->SetSelStart(c.caret);
    if (c.sign > 0) e->UpClick(nullptr);
    else e->DownClick(nullptr);
    EXPECT_EQ(e->Text(), DateToStr(c.to));
  }
}

TEST_F(SpinTest, MonthFirstDatesStepTheMonthFirst) {
  TFormatSettings s = Settings();
  s.ShortDateFormat = "MM/dd/yyyy";
  s.DateSeparator = '/';
  TFormatSettingsScope us(s);
  TDizSpinEdit* e = NewEdit();
  e->SetSpinType(sptDate);
  e->SetDateValue(EncodeDate(2023, 1, 31));
  e->SetSelStart(0);
  e->UpClick(nullptr);
  EXPECT_TRUE(e->MonthFirst());
  EXPECT_EQ(e->Text(), "02/28/2023");
}

TEST_F(SpinTest, TimeStepsFollowTheFieldAndNeverGoBelowZero) {
  TDizSpinEdit* e = NewEdit();
  e->SetSpinType(sptTime);
  e->SetTimeValue(EncodeTime(10, 20, 30, 0));
  e->SetSelStart(7);  // seconds
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "10:20:31");
  e->SetSelStart(4);  // minutes
  e->SetIncrementMinutes(15);
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "10:35:31");
  e->SetSelStart(0);  // hours
  e->DownClick(nullptr);
  EXPECT_EQ(e->Text(), "9:35:31");
  e->SetTimeValue(0);
  e->SetSelStart(6);
  e->DownClick(nullptr);
  EXPECT_EQ(e->Text(), "0:00:00");
}

TEST_F(SpinTest, TimeStepsPastMidnightCarryIntoTheDaysWithoutFault) {
  TDizSpinEdit* e = NewEdit();
  e->SetSpinType(sptTime);
  e->SetTimeValue(EncodeTime(23, 30, 0, 0));
  e->SetSelStart(0);
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "0:30:00");
  EXPECT_NEAR(e->GetTimeValue(), 1 + EncodeTime(0, 30, 0, 0), 1e-9);
  e->SetIncrementHours(24);  // a whole day per step
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "0:30:00");
  EXPECT_NEAR(e->GetTimeValue(), 2 + EncodeTime(0, 30, 0, 0), 1e-9);
  e->SetIncrementHours(0);
  e->SetIncrementMinutes(90);
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "2:00:00");
}

TEST_F(SpinTest, AReadOnlyEditBeepsAndStillReportsTheStep) {
  TDizSpinEdit* e = NewEdit();
  e->SetReadOnly(true);
  int ups = 0;
  e->OnUpClick = [&](TObject* s) {
    EXPECT_EQ(s, e);
    ++ups;
  };
  int beeps = MessageBeepCount();
  e->UpClick(nullptr);
  EXPECT_EQ(e->Text(), "0");
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
}

// ---- keyboard ------------------------------------------------------------------------

// No key steps a read-only edit: page keys, plain arrows and smart arrows without a
// selection all beep once and leave the text alone.
TEST_F(SpinTest, KeysNeverStepAReadOnlyEdit) {
  struct Case {
    bool isFloat;
    bool smart;
    WORD key;
  };
  const Case cases[] = {
      {true, false, VK_PRIOR}, {true, false, VK_NEXT}, {false, false, VK_PRIOR},
      {false, false, VK_NEXT}, {true, true, VK_PRIOR}, {false, true, VK_NEXT},
      {true, true, VK_UP},     {false, true, VK_DOWN}, {true, false, VK_UP},
      {false, false, VK_DOWN},
  };
  int top = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "float " << c.isFloat << " smart " << c.smart << " key " << c.key);
    TDizSpinEdit* e = c.isFloat ? NewFloat(3, -1000, 1000) : NewEdit(20, top);
    if (c.isFloat) {
      e->SetIncrementFloatPage(1);
      e->SetFloatValue(5);
    } else {
      e->SetMinValue(-1000);
      e->SetMaxValue(1000);
      e->SetValue(5);
    }
    e->SetIncrementSmart(c.smart);
    e->SetReadOnly(true);
    e->SetFocus();
    e->SetSelStart(1);
    const std::string before = e->Text();
    const int beeps = MessageBeepCount();
    robot.PressKey(c.key);
    EXPECT_EQ(e->Text(), before);
    EXPECT_FALSE(e->Modified());
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
    delete e;
  }
}

TEST_F(SpinTest, ArrowAndPageKeysStep) {
  TDizSpinEdit* e = NewFloat(3, 0.001, 1000);
  e->SetIncrementFloat(0.01);
  e->SetIncrementFloatPage(1);
  e->SetFloatValue(5);
  e->SetFocus();
  robot.PressKey(VK_UP);
  EXPECT_EQ(e->Text(), "5.010");
  robot.PressKey(VK_DOWN);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(e->Text(), "4.990");
  robot.PressKey(VK_PRIOR);
  EXPECT_EQ(e->Text(), "5.990");
  robot.PressKey(VK_NEXT);
  robot.PressKey(VK_NEXT);
  EXPECT_EQ(e->Text(), "3.990");
  EXPECT_TRUE(e->Modified());

  TDizSpinEdit* n = NewEdit(20, 60);
  n->SetFocus();
  robot.PressKey(VK_PRIOR);
  EXPECT_EQ(n->Text(), "10");
  robot.PressKey(VK_RETURN, rsCtrl);  // Ctrl+Enter steps up
  EXPECT_EQ(n->Text(), "11");
}

TEST_F(SpinTest, SmartArrowKeysStepTheDigitAtTheCaret) {
  TDizSpinEdit* e = NewFloat(3, 0.001, 1000);
  e->SetIncrementSmart(true);
  e->SetFloatValue(26.2);
  e->SetFocus();
  e->SetSelStart(2);  // after "26"
  robot.PressKey(VK_UP);
  EXPECT_EQ(e->Text(), "27.200");
  EXPECT_EQ(e->SelStart(), 2);
  e->SetSelStart(6);
  robot.PressKey(VK_DOWN);
  EXPECT_EQ(e->Text(), "27.199");
}

TEST_F(SpinTest, TypedCharactersAreFilteredByTheKind) {
  TDizSpinEdit* f = NewFloat(3, 0, 0);
  f->SetText("");
  f->SetFocus();
  int beeps = MessageBeepCount();
  robot.Type("1a2,5.6789");  // the thousands separator becomes the decimal point
  EXPECT_EQ(f->Text(), "12.567");
  EXPECT_EQ(MessageBeepCount(), beeps + 4);  // 'a', the second point, the fourth and fifth decimals

  TDizSpinEdit* n = NewEdit(20, 60);
  n->SetText("");
  n->SetFocus();
  robot.Type("4.2+x");
  EXPECT_EQ(n->Text(), "42");

  TDizSpinEdit* h = NewEdit(20, 100);
  h->SetSpinType(sptHex);
  h->SetFocus();
  h->SetSelStart(0);
  robot.Type("7");
  EXPECT_EQ(h->Text(), "0x0");
  h->SetSelStart(3);
  robot.Type("fG");
  EXPECT_EQ(h->Text(), "0x0f");
  h->SetSelStart(1);
  robot.PressKey(VK_DELETE);  // the prefix stays
  EXPECT_EQ(h->Text(), "0x0f");
}

TEST_F(SpinTest, TimeEditsTakeOneSeparatorTypedAsPointOrComma) {
  TDizSpinEdit* t = NewEdit();
  t->SetSpinType(sptTime);
  t->SetShowSeconds(false);
  t->SetText("");
  t->SetFocus();
  robot.Type("9,05:");  // ',' is not the decimal separator here: it becomes ':'
  EXPECT_EQ(t->Text(), "9:05");
}

TEST_F(SpinTest, WithoutEditorEnabledOnlyStepsChangeTheText) {
  TDizSpinEdit* e = NewEdit();
  e->SetEditorEnabled(false);
  e->SetFocus();
  robot.Type("7");
  robot.PressKey(VK_DELETE);
  EXPECT_EQ(e->Text(), "0");
  robot.PressKey(VK_UP);
  EXPECT_EQ(e->Text(), "1");
  e->SelectAll();
  e->CopyToClipboard();
  e->PasteFromClipboard();
  e->CutToClipboard();
  EXPECT_EQ(e->Text(), "1");
}

TEST_F(SpinTest, LineBreaksNeverEnterTheOneLineValue) {
  TDizSpinEdit* e = NewEdit();
  e->SetValue(10);
  e->SetFocus();
  e->SetSelStart(1);
  robot.PressKey(VK_RETURN, rsCtrl);  // a step, not a line feed
  EXPECT_EQ(e->Text(), "11");
  SetClipboardTextUtf8("25\r\n30");
  e->SelectAll();
  e->PasteFromClipboard();
  EXPECT_EQ(e->Text(), "25");
}

TEST_F(SpinTest, TheMinusKeyTogglesTheSignOfASignedEdit) {
  TDizSpinEdit* e = NewEdit();
  e->SetSigned(true);
  e->SetValue(12);
  e->SetFocus();
  e->SetSelStart(1);
  robot.Type("-");
  EXPECT_EQ(e->Text(), "-12");
  EXPECT_EQ(e->SelStart(), 2);
  robot.Type("-");
  EXPECT_EQ(e->Text(), "12");
  e->SetSigned(false);
  robot.Type("-");
  EXPECT_EQ(e->Text(), "12");
}

TEST_F(SpinTest, ReturnIsTabMovesOnWithoutABeep) {
  TDizSpinEdit* a = NewEdit();
  TDizSpinEdit* b = NewEdit(20, 60);
  a->SetReturnIsTab(true);
  a->SetFocus();
  int beeps = MessageBeepCount();
  robot.PressKey(VK_RETURN);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(MessageBeepCount(), beeps);
}

// ---- leaving the edit ------------------------------------------------------------------

TEST_F(SpinTest, LeavingPutsTheValueBackIntoItsRange) {
  TDizSpinEdit* e = NewFloat(3, 0.001, 200);
  TDizSpinEdit* other = NewEdit(20, 60);
  e->SetFocus();
  e->SelectAll();
  robot.Type("500");
  EXPECT_EQ(e->Text(), "500");
  other->SetFocus();
  EXPECT_EQ(e->Text(), "200.000");
}

TEST_F(SpinTest, AnEmptiedEditThatMayNotBeEmptyShowsItsMinimum) {
  TDizSpinEdit* e = NewFloat(5, 1e-05, 10);
  e->SetAllowNullValue(false);
  TDizSpinEdit* other = NewEdit(20, 60);
  e->SetFocus();
  e->SetText("");
  other->SetFocus();
  EXPECT_EQ(e->Text(), "0.00001");
}

// ---- buttons and the repeat clock --------------------------------------------------------

TEST_F(SpinTest, AHeldButtonRepeatsAfter400msThenEvery100ms) {
  TDizSpinEdit* e = NewEdit();
  HWND pair = e->SpinButtonPair()->Handle();
  POINT up = Middle(e->SpinButtonPair()->UpArrowButton());
  int steps = 0;
  e->OnUpClick = [&](TObject*) { ++steps; };
  robot.MouseDown(pair, up.x, up.y);
  EXPECT_TRUE(e->Focused());
  scope.Backend().Advance(399);
  EXPECT_EQ(steps, 0);
  scope.Backend().Advance(1);
  EXPECT_EQ(steps, 1);
  scope.Backend().Advance(600);  // 1000 ms held
  EXPECT_EQ(steps, 7);
  robot.MouseUp(pair, up.x, up.y);  // released over the button: one more
  EXPECT_EQ(steps, 8);
  EXPECT_EQ(e->Text(), "8");
  scope.Backend().Advance(1000);
  EXPECT_EQ(steps, 8);
}

TEST_F(SpinTest, DraggingOffPausesAndReleasingOutsideStops) {
  TDizSpinEdit* e = NewEdit();
  TDizSpinButton* p = e->SpinButtonPair();
  HWND pair = p->Handle();
  POINT down = Middle(p->DownArrowButton());
  robot.MouseDown(pair, down.x, down.y);
  scope.Backend().Advance(500);  // 400 and 500
  EXPECT_EQ(e->Text(), "-2");
  robot.MoveTo(pair, down.x + 40, down.y);
  scope.Backend().Advance(300);
  EXPECT_EQ(e->Text(), "-2");
  robot.MoveTo(pair, down.x, down.y);
  scope.Backend().Advance(100);
  EXPECT_EQ(e->Text(), "-3");
  robot.MouseUp(pair, down.x + 40, down.y);
  scope.Backend().Advance(500);
  EXPECT_EQ(e->Text(), "-3");
}

TEST_F(SpinTest, AShortClickStepsOnceOnRelease) {
  TDizSpinEdit* e = NewFloat(5, 1e-05, 10);
  e->SetIncrementFloat(0.001);
  e->SetFloatValue(0.0001);
  TDizSpinButton* p = e->SpinButtonPair();
  POINT up = Middle(p->UpArrowButton());
  robot.Click(p->Handle(), up.x, up.y);
  EXPECT_EQ(e->Text(), "0.00110");
  POINT down = Middle(p->DownArrowButton());
  robot.Click(p->Handle(), down.x, down.y);
  robot.Click(p->Handle(), down.x, down.y);
  EXPECT_EQ(e->Text(), "0.00001");
}

TEST_F(SpinTest, ButtonPairLayoutAndGlyphs) {
  auto* p = new TDizSpinButton(form);
  p->SetParent(form);
  p->SetBounds(0, 0, 10, 20);
  EXPECT_EQ(p->Width(), 15);
  EXPECT_EQ(p->UpArrowButton()->Height(), 11);
  EXPECT_EQ(p->DownArrowButton()->Top(), 11);
  p->SetDirection(spHorizontal);
  p->SetBounds(0, 0, 10, 20);
  EXPECT_EQ(p->Width(), 20);
  EXPECT_EQ(p->UpArrowButton()->ButtonOrientation(), bdRight);
  EXPECT_EQ(p->DownArrowButton()->Left(), 0);
  EXPECT_EQ(p->UpArrowButton()->Left(), 11);
  EXPECT_FALSE(p->UpGlyph()->GetEmpty());
  p->SetUpNumGlyphs(2);
  TBitmap custom(4, 4);
  p->SetDownGlyph(&custom);
  EXPECT_EQ(p->DownGlyph()->GetWidth(), 4);
  p->SetDownGlyph(nullptr);  // back to the default arrow
  EXPECT_EQ(p->DownGlyph()->GetWidth(), 9);
  EXPECT_EQ(p->UpNumGlyphs(), 2);
}

// ---- label, looks, layout ----------------------------------------------------------------

TEST_F(SpinTest, LabelPlacement) {
  TDizSpinEdit* e = NewEdit(150, 60, 80);
  e->LabelFont()->SetHeight(-30);
  e->SetLabelPosition(lpLeftCenter);
  e->SetLabelCaption("Плотность");
  TLabel* l = e->LabelControl();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Parent(), form);
  EXPECT_GT(l->Height(), e->Height());
  EXPECT_EQ(l->Top(), e->Top() + (e->Height() - l->Height()) / 2);
  EXPECT_EQ(l->Left() + l->Width() + 4, e->Left());
  e->SetLabelPosition(lpLeftTopLeft);
  e->SetLabelMargin(80);
  EXPECT_EQ(l->Left(), 70);
  EXPECT_EQ(l->Top(), 60);
  e->SetLabelPosition(lpTopCenter);
  EXPECT_EQ(l->Top(), 60 - l->Height() - 80);
  e->SetLeft(200);
  EXPECT_EQ(l->Left(), 200 + (80 - l->Width()) / 2);

  e->SetEnabled(false);
  EXPECT_FALSE(l->Enabled());
  e->SetLabelAlwaysEnabled(true);
  EXPECT_TRUE(l->Enabled());
  e->SetVisible(false);
  EXPECT_FALSE(l->Visible());
}

TEST_F(SpinTest, FocusColourWhileFocused) {
  TDizSpinEdit* e = NewEdit();
  TDizSpinEdit* other = NewEdit(20, 60);
  e->SetColor(clWhite);
  e->SetFocusColor(clScrollBar);
  e->SetFocus();
  EXPECT_EQ(e->Color(), clScrollBar);
  other->SetFocus();
  EXPECT_EQ(e->Color(), clWhite);
}

TEST_F(SpinTest, ATransparentEditShowsItsParentThrough) {
  form->SetColor(clMoneyGreen);
  TDizSpinEdit* e = NewEdit();
  e->SetText("7");
  e->SetTransparent(true);
  EXPECT_EQ(WindowPixel(e->Handle(), 40, 10), ColorToRGB(clMoneyGreen));
  e->SetTransparent(false);
  EXPECT_EQ(WindowPixel(e->Handle(), 40, 10), ColorToRGB(clWindow));
}

TEST_F(SpinTest, MinimumHeightAndVersion) {
  TDizSpinEdit* e = NewEdit();
  e->SetHeight(5);
  EXPECT_EQ(e->Height(), e->GetMinHeight());
  EXPECT_GT(e->Height(), 5);
  e->SetVersion("9.9.9.9");
  EXPECT_EQ(e->Version(), "1.4.5.0");
  EXPECT_EQ(e->GetVersionNr(), 0x01040500);
}

// ---- the application's seven kinds of spin edit, from a stored form ------------------------

class TSpinForm : public TForm {
  LORM_PUBLISHED(TSpinForm, TForm)
public:
  explicit TSpinForm(TComponent* AOwner) : TForm(AOwner) {}
  TDizSpinEdit* SpinOldA = nullptr;
  TDizSpinEdit* SpinOldN = nullptr;
  TDizSpinEdit* SpinNewN = nullptr;
  TDizSpinEdit* SpinDensityOfMix = nullptr;
  TDizSpinEdit* Spin1 = nullptr;
  TDizSpinEdit* Spin2 = nullptr;
  TDizSpinEdit* Spin3 = nullptr;
  int Changes = 0;
  void SpinChange(TObject*) { ++Changes; }
};
void TSpinForm::Publish(TClassBuilder<TSpinForm>& P) {
  P.Field("SpinOldA", &TSpinForm::SpinOldA)
      .Field("SpinOldN", &TSpinForm::SpinOldN)
      .Field("SpinNewN", &TSpinForm::SpinNewN)
      .Field("SpinDensityOfMix", &TSpinForm::SpinDensityOfMix)
      .Field("Spin1", &TSpinForm::Spin1)
      .Field("Spin2", &TSpinForm::Spin2)
      .Field("Spin3", &TSpinForm::Spin3)
      .Handler("SpinChange", &TSpinForm::SpinChange);
}

const char* kSpinForm = R"(object SpinForm: TSpinForm
  Left = 100
  Top = 100
  Caption = 'Spin edits'
  ClientHeight = 120
  ClientWidth = 420
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  object SpinOldA: TDizSpinEdit
    Left = 18
    Top = 16
    Width = 63
    Height = 22
    Color = clWhite
    TabOrder = 0
    Text = '0.00010'
    Precision = 5
    SpinType = sptFloat
    FloatValue = 0.0001
    MaxFloatValue = 10
    MinFloatValue = 1e-05
    IncrementFloat = 0.001
    IncrementFloatPage = 1
    SpinFlat = True
    OnChange = SpinChange
  end
  object SpinOldN: TDizSpinEdit
    Left = 102
    Top = 16
    Width = 58
    Height = 22
    Color = clWhite
    TabOrder = 1
    Precision = 4
    SpinType = sptFloat
    FloatValue = 25
    MaxFloatValue = 10
    MinFloatValue = 0.0001
    IncrementFloat = 0.001
    IncrementFloatPage = 1
    SpinFlat = True
    SpinTransparent = True
    FocusColor = clScrollBar
  end
  object SpinNewN: TDizSpinEdit
    Left = 182
    Top = 16
    Width = 58
    Height = 22
    Color = clBtnFace
    Enabled = False
    TabOrder = 2
    Precision = 4
    SpinType = sptFloat
    FloatValue = 0.0001
    MaxFloatValue = 10
    MinFloatValue = 0.0001
    IncrementFloat = 0.001
    IncrementFloatPage = 1
    SpinFlat = True
    SpinTransparent = True
    FocusColor = clScrollBar
  end
  object SpinDensityOfMix: TDizSpinEdit
    Left = 262
    Top = 16
    Width = 83
    Height = 22
    Color = clWhite
    TabOrder = 3
    Precision = 4
    SpinType = sptFloat
    FloatValue = 1.24
    MaxFloatValue = 10
    MinFloatValue = 0.0001
    IncrementFloat = 0.001
    IncrementFloatPage = 1
    SpinFlat = True
  end
  object Spin1: TDizSpinEdit
    Left = 18
    Top = 70
    Width = 60
    Height = 22
    Color = clWhite
    TabOrder = 4
    Precision = 3
    SpinType = sptFloat
    FloatValue = 0.001
    MaxValue = 50
    MaxFloatValue = 200
    MinFloatValue = 0.001
    IncrementFloat = 0.1
    IncrementFloatPage = 1
    SpinFlat = True
  end
  object Spin2: TDizSpinEdit
    Left = 84
    Top = 70
    Width = 87
    Height = 22
    Color = clWhite
    TabOrder = 5
    Precision = 3
    SpinType = sptFloat
    FloatValue = 1.05
    MaxValue = 1000
    MaxFloatValue = 1000
    MinFloatValue = 0.001
    IncrementFloat = 0.01
    IncrementFloatPage = 1
    IncrementSmart = True
    SpinFlat = True
  end
  object Spin3: TDizSpinEdit
    Left = 176
    Top = 70
    Width = 99
    Height = 22
    Color = clWhite
    TabOrder = 6
    Precision = 3
    SpinType = sptFloat
    FloatValue = 26.2
    MaxValue = 1000
    MaxFloatValue = 1000
    MinFloatValue = 0.001
    IncrementFloat = 0.01
    IncrementFloatPage = 1
    IncrementSmart = True
    SpinFlat = True
  end
end
)";

TEST(SpinForm, TheApplicationsSpinEditsLoadClampAndRender) {
  THeadlessScope scope;
  TFormatSettingsScope locale(DefaultFormatSettings());
  Application->Restart();
  RegisterStoredForm("TSpinForm", kSpinForm);
  TSpinForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  EXPECT_EQ(form->Changes, 0);  // loading raises no change event
  EXPECT_EQ(form->SpinOldA->Text(), "0.00010");
  EXPECT_EQ(form->SpinOldN->Text(), "10.0000");  // clamped once the range was read
  EXPECT_EQ(form->SpinNewN->Text(), "0.0001");
  EXPECT_EQ(form->SpinDensityOfMix->Text(), "1.2400");
  EXPECT_EQ(form->Spin1->Text(), "0.001");
  EXPECT_EQ(form->Spin2->Text(), "1.050");
  EXPECT_EQ(form->Spin3->Text(), "26.200");
  EXPECT_FALSE(form->SpinNewN->Enabled());
  EXPECT_FALSE(form->SpinNewN->SpinButtonPair()->UpArrowButton()->Enabled());
  EXPECT_TRUE(form->SpinOldN->SpinButtonPair()->UpArrowButton()->Transparent());
  EXPECT_TRUE(form->SpinOldA->SpinButtonPair()->UpArrowButton()->Flat());
  EXPECT_EQ(form->SpinOldA->UnfocusedColor(), clWhite);

  // What the recalculation writes and reads back.
  form->SpinOldA->SetFloatValue(12.0);
  EXPECT_EQ(form->SpinOldA->GetFloatValue(), 10.0);
  form->SpinOldA->SetFloatValue(0.123456);
  EXPECT_EQ(form->SpinOldA->GetFloatValue(), 0.12346);
  EXPECT_EQ(form->Changes, 2);

  // The buttons sit inside the edit at its right edge, the text stays left of them.
  TDizSpinButton* pair = form->SpinDensityOfMix->SpinButtonPair();
  EXPECT_EQ(pair->Left() + pair->Width(), form->SpinDensityOfMix->ClientWidth());
  RECT r{};
  SendMessage(form->SpinDensityOfMix->Handle(), EM_GETRECT, 0, LPARAM(&r));
  EXPECT_LE(r.right, pair->Left());

  EXPECT_EQ(WindowPixel(form->SpinOldA->Handle(), 30, 16), ColorToRGB(clWhite));
  EXPECT_EQ(WindowPixel(form->SpinNewN->Handle(), 30, 16), ColorToRGB(clBtnFace));

  const char* keep = std::getenv("LORM_KEEP_PNG");
  auto png = keep ? std::filesystem::path(keep) : std::filesystem::temp_directory_path() / "lorm_spin_form.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (!keep) std::filesystem::remove(png);
  Application->Restart();
}

TEST_F(SpinTest, ClassicArrowsFlatLookLabelAndFocusFrameRender) {
  // Without the visual-styles library the arrows are the bitmaps and frame controls.
  SetThemeActive(false);
  ReloadXPThemeBinding();
  form->SetColor(clBtnFace);
  TDizSpinEdit* classic = NewEdit(90, 20, 80);
  classic->SetLabelCaption("Классика");
  TDizSpinEdit* flat = NewEdit(90, 60, 80);
  flat->SetFlat(true);
  flat->SetFlatLineColor(clNavy);
  flat->SetSpinFlat(true);
  flat->SetLabelCaption("Плоский");
  flat->SetLabelPosition(lpLeftCenter);
  TDizSpinEdit* horizontal = NewEdit(260, 20, 90);
  horizontal->SetDirection(spHorizontal);
  TDizSpinEdit* framed = NewEdit(260, 60, 90);
  framed->SetFocusBorderColor(clRed);
  framed->SetFocus();
  EXPECT_EQ(flat->BorderStyle(), bsNone);
  EXPECT_EQ(WindowPixel(flat->Handle(), 10, flat->ClientHeight() - 1), ColorToRGB(clNavy));
  TDizSpinButton* pair = horizontal->SpinButtonPair();
  EXPECT_EQ(pair->Width(), 20);
  EXPECT_EQ(horizontal->ClientWidth() - pair->Left(), 20);
  // The up arrow's black pixels show in the classic button.
  TDizTimerSpeedButton* up = classic->SpinButtonPair()->UpArrowButton();
  TPoint p = up->ClientToParent(TPoint{up->Width() / 2, up->Height() / 2});
  bool dark = false;
  for (int dy = -3; dy <= 3; ++dy)
    dark = dark || WindowPixel(classic->SpinButtonPair()->Handle(), p.X, p.Y + dy) == 0;
  EXPECT_TRUE(dark);
  const char* keep = std::getenv("LORM_KEEP_PNG2");
  auto png = keep ? std::filesystem::path(keep) : std::filesystem::temp_directory_path() / "lorm_spin_looks.png";
  EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
  if (!keep) std::filesystem::remove(png);
  SetThemeActive(true);
  ReloadXPThemeBinding();
}

class TKindsForm : public TForm {
  LORM_PUBLISHED(TKindsForm, TForm)
public:
  explicit TKindsForm(TComponent* AOwner) : TForm(AOwner) {}
  TDizSpinEdit* DateEdit = nullptr;
  TDizSpinEdit* TimeEdit = nullptr;
  TDizSpinEdit* HexEdit = nullptr;
  TDizSpinEdit* IntEdit = nullptr;
  int Changes = 0;
  void KindChange(TObject*) { ++Changes; }
};
void TKindsForm::Publish(TClassBuilder<TKindsForm>& P) {
  P.Field("DateEdit", &TKindsForm::DateEdit)
      .Field("TimeEdit", &TKindsForm::TimeEdit)
      .Field("HexEdit", &TKindsForm::HexEdit)
      .Field("IntEdit", &TKindsForm::IntEdit)
      .Handler("KindChange", &TKindsForm::KindChange);
}

TEST(SpinForm, DateTimeAndHexEditsTakeTheirTextWhenLoadingCompletes) {
  THeadlessScope scope;
  TFormatSettingsScope locale(DefaultFormatSettings());
  Application->Restart();
  // 45000 is 15 March 2023; the range ends on 1 March 2023 (44986).
  RegisterStoredForm("TKindsForm", R"(object KindsForm: TKindsForm
  ClientHeight = 100
  ClientWidth = 300
  object DateEdit: TDizSpinEdit
    Left = 8
    Top = 8
    SpinType = sptDate
    DateValue = 45000.75
    MinDateValue = 44900
    MaxDateValue = 44986
    OnChange = KindChange
  end
  object TimeEdit: TDizSpinEdit
    Left = 8
    Top = 40
    SpinType = sptTime
    TimeValue = 1.5
    ShowSeconds = False
    OnChange = KindChange
  end
  object HexEdit: TDizSpinEdit
    Left = 150
    Top = 8
    SpinType = sptHex
    HexValue = 255
    OnChange = KindChange
  end
  object IntEdit: TDizSpinEdit
    Left = 150
    Top = 40
    Value = 70
    MinValue = 1
    MaxValue = 50
    Version = '0.0.0.1'
    OnChange = KindChange
  end
end
)");
  TKindsForm* form = nullptr;
  Application->CreateForm(form);
  EXPECT_EQ(form->DateEdit->Text(), DateToStr(44986));
  EXPECT_EQ(form->DateEdit->RememberedDate(), 44986);
  EXPECT_EQ(form->TimeEdit->Text(), "12:00");
  EXPECT_NEAR(form->TimeEdit->GetTimeValue(), 1.5, 1e-9);
  EXPECT_EQ(form->HexEdit->Text(), "0xFF");
  EXPECT_EQ(form->IntEdit->Text(), "50");
  EXPECT_EQ(form->IntEdit->Version(), "1.4.5.0");
  EXPECT_EQ(form->Changes, 0);
  Application->Restart();
}

}  // namespace
