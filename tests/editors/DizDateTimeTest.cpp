// The date-time picker and month calendar of the platform, the flat date-time picker with
// its embedded time part, the analogue clock and the time picker drop-down.
#include <gtest/gtest.h>

#include <filesystem>

#include "editors/DizDateTimePicker.h"
#include "editors/DizTimePickerDropDown.h"
#include "editors/DizWatch.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace DizDropDown;

namespace {

class DateTimeTest : public ::testing::Test {
protected:
  DateTimeTest() : locale(Settings()) {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 420, 300);
    form->Show();
  }
  ~DateTimeTest() override { Application->Restart(); }
  static TFormatSettings Settings() {
    TFormatSettings s = DefaultFormatSettings();
    s.ShortDateFormat = "dd.MM.yyyy";
    s.DateSeparator = '.';
    s.LongTimeFormat = "hh:nn:ss";
    return s;
  }
  static void Key(TWinControl* c, WORD key) { SendMessage(c->Handle(), WM_KEYDOWN, key, 0); }
  static void Char(TWinControl* c, char32_t ch) { SendMessage(c->Handle(), WM_CHAR, WPARAM(ch), 1); }
  static void Save(HWND h, const std::string& name) {
    std::filesystem::create_directories("pictures");
    SaveWindowPng(h, "pictures/" + name + ".png");
  }
  THeadlessScope scope;
  TFormatSettingsScope locale;
  TForm* form = nullptr;
  TRobot robot;
};

TEST_F(DateTimeTest, SetDateTimeExDropsMillisecondsAndTheTimePartKeepsTheDate) {
  auto* p = new TDizDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 200, 21);
  TDateTime v = EncodeDate(2025, 6, 7) + EncodeTime(13, 45, 12, 500);
  p->SetDateTimeEx(v);
  TDateTime want = EncodeDate(2025, 6, 7) + EncodeTime(13, 45, 12, 0);
  EXPECT_DOUBLE_EQ(p->DateTime(), want);
  EXPECT_DOUBLE_EQ(p->EmbeddedTimePicker()->DateTime(), want);
  EXPECT_DOUBLE_EQ(p->GetDateTimeEx(), want);
  TObject* sender = nullptr;
  p->OnChange = [&](TObject* s) { sender = s; };
  TCustomDateTimePicker* t = p->EmbeddedTimePicker();
  t->SetFocus();
  Key(t, VK_UP);  // hours up
  EXPECT_EQ(sender, p);
  EXPECT_DOUBLE_EQ(p->GetDateTimeEx(), EncodeDate(2025, 6, 7) + EncodeTime(14, 45, 12, 0));
  // Embedded width: text width + 31, placed left of the drop button.
  p->Canvas()->Font()->Assign(p->Font());
  int pw = p->Canvas()->TextWidth(t->ShownText()) + 31;
  EXPECT_EQ(t->Width(), pw);
  EXPECT_TRUE(t->Visible());
  Save(p->Handle(), "picker-datetime");
  p->SetKind(dkTime);
  EXPECT_FALSE(t->Visible());
  EXPECT_EQ(p->Version(), "1.0.2.1");
}

TEST_F(DateTimeTest, EmbeddedPlacementPerSystem) {
  auto* p = new TDizDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 200, 24);
  p->SetDateTimeEx(EncodeDate(2025, 6, 7));
  TSystemIdentity saved = SystemIdentity();
  struct Case { DWORD major; bool themed; int left, top, height; } cases[] = {
      {6, true, 200 - 34, 1, 24 - 2}, {6, false, 200 - 23, -2, 24}, {5, true, 200 - 21, -2, 24}};
  for (const Case& k : cases) {
    SystemIdentity().MajorVersion = k.major;
    p->SetThemedControls(k.themed);
    p->UpdateTimePicker();
    TCustomDateTimePicker* t = p->EmbeddedTimePicker();
    EXPECT_EQ(t->Left(), k.left - t->Width()) << k.major << k.themed;
    EXPECT_EQ(t->Top(), k.top);
    EXPECT_EQ(t->Height(), k.height);
  }
  SystemIdentity() = saved;
}

TEST_F(DateTimeTest, AutoTabPostsRightOnADayAndFocusesTheTimeOnTheYear) {
  auto* p = new TDizDateTimePicker(form);
  p->SetParent(form);
  p->SetDateTimeEx(EncodeDate(2025, 6, 7) + EncodeTime(9, 0, 0, 0));
  p->SetAutoTab(true);
  p->SetFocus();
  // Each key is handled before the next comes, as when typed.
  for (char c : std::string("12")) {
    Char(p, char32_t(c));
    Application->ProcessMessages();
  }
  EXPECT_EQ(p->SelectedKind(), TDateTimePicker::fkMonth);  // day 12, then on to the month
  Key(p, VK_RIGHT);
  for (char c : std::string("2031")) {
    Char(p, char32_t(c));
    Application->ProcessMessages();
  }
  EXPECT_EQ(YearOf(p->GetDateTimeEx()), 2031);
  EXPECT_EQ(GetFocus(), p->EmbeddedTimePicker()->Handle());
}

TEST_F(DateTimeTest, FlatOutlineColours) {
  auto* p = new TCustomDateTimePicker(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 150, 21);
  form->SetColor(TColor(0x123456));
  EXPECT_EQ(p->OutlineColor(), form->Brush()->GetColor());
  p->SetBorderStyle(bsSingle);
  p->SetThemedControls(true);
  EXPECT_EQ(p->OutlineColor(), TColor(0xB99D7F));
  EXPECT_EQ(WindowPixel(p->Handle(), 0, 5), COLORREF(0xB99D7F));
}

// ---- the clock ------------------------------------------------------------------------

TEST_F(DateTimeTest, ClockGeometryAndClicks) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  w->SetAnimation(false);
  EXPECT_EQ(w->GetWatchRect(), (TRect{10, 10, 170, 170}));
  TPoint c = w->GetCenterPoint();
  struct Case { int x, y; bool am; int hour; } cases[] = {
      {c.X, c.Y, true, 5}, {c.X, c.Y, false, 17}, {c.X, c.Y - 30, true, 0},
      {c.X, c.Y - 30, false, 12}, {c.X, c.Y + 50, true, 6}, {c.X, c.Y + 50, false, 18}};
  for (const Case& k : cases) {
    w->SetTime(EncodeTime(k.am ? 3 : 15, 0, 0, 0));
    w->SetTime(EncodeTime(k.am ? 3 : 15, 0, 0, 0));
    robot.MouseDown(w->Handle(), k.x, k.y);
    robot.MouseUp(w->Handle(), k.x, k.y);
    int h, m, s, ms;
    DecodeTime(w->Time(), h, m, s, ms);
    EXPECT_EQ(h, k.hour) << k.x << "," << k.y << " am " << k.am;
  }
}

TEST_F(DateTimeTest, ClockKeysAndOneChangePerChange) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  w->SetAnimation(false);
  int changes = 0;
  w->OnChange = [&](TObject*) { ++changes; };
  w->SetTime(EncodeTime(10, 59, 0, 0));
  w->HandleKey(VK_RIGHT);
  EXPECT_DOUBLE_EQ(w->Time(), EncodeTime(11, 0, 0, 0));
  w->SetTime(0);
  w->HandleKey(VK_LEFT);
  EXPECT_DOUBLE_EQ(w->Time(), EncodeTime(23, 59, 0, 0));
  EXPECT_EQ(changes, 2);
  robot.MouseDown(w->Handle(), 90, 130);  // a click on the dial without animation
  robot.MouseUp(w->Handle(), 90, 130);
  EXPECT_EQ(changes, 3);
  EXPECT_THROW(w->SetMinute(60), Exception);
  try {
    w->SetMinute(60);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid time");
  }
}

TEST_F(DateTimeTest, AnimatedMoveRaisesChangeOnceAtTheTarget) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  int changes = 0;
  w->OnChange = [&](TObject*) { ++changes; };
  w->SetHour(9);
  EXPECT_TRUE(w->Animating());
  Headless().Advance(200);
  int h, m, s, ms;
  DecodeTime(w->Time(), h, m, s, ms);
  EXPECT_EQ(h, 9);
  EXPECT_FALSE(w->Animating());
  EXPECT_EQ(changes, 1);
}

TEST_F(DateTimeTest, ClockPictures) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  w->SetTime(EncodeTime(10, 10, 0, 0));
  // Every preset, each with line and pointer hands, for a person to look at.
  for (int style = tsOffice2003Blue; style <= tsTerminal; ++style)
    for (TPointerStyle pointer : {psLine, psPointer}) {
      w->SetComponentStyle(DUZERazav(style));
      w->Appearance()->SetPointerStyle(pointer);
      w->Invalidate();
      Save(w->Handle(), "clock-" + std::to_string(style) + (pointer == psLine ? "-line" : "-pointer"));
    }
  EXPECT_EQ(w->Appearance()->AMPMColor(), TColor(0x8000000F));  // the last, tsTerminal
}

TEST_F(DateTimeTest, LiveClockIgnoresClicksAndKeys) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  w->SetAnimation(false);
  w->Settings()->SetAuto(true);
  EXPECT_TRUE(w->ClockTimer()->Enabled());
  TDateTime t = w->Time();
  int changes = 0;
  w->OnChange = [&](TObject*) { ++changes; };
  w->HandleKey(VK_HOME);
  robot.MouseDown(w->Handle(), 90, 40);
  robot.MouseUp(w->Handle(), 90, 40);
  EXPECT_EQ(w->Time(), t);
  EXPECT_EQ(changes, 0);
  w->Settings()->SetAuto(false);
  EXPECT_FALSE(w->ClockTimer()->Enabled());
}

TEST_F(DateTimeTest, HourTicksOnlyDrawNoNumbers) {
  auto* w = new TDizWatch(form);
  w->SetParent(form);
  w->SetShowAMPM(false);
  w->SetTime(EncodeTime(6, 0, 0, 0));  // hands straight down: the 3 stays clear
  auto darkNearThree = [&] {
    w->Repaint();
    TPoint c = w->GetCenterPoint();
    int dark = 0;
    for (int y = c.Y - 6; y <= c.Y + 6; ++y)
      for (int x = c.X + 50; x <= c.X + 62; ++x)
        if ((WindowPixel(w->Handle(), x, y) & 0xFF) < 0x80) ++dark;
    return dark;
  };
  EXPECT_GT(darkNearThree(), 3);
  w->Appearance()->SetTickMarks(tmHours);
  EXPECT_EQ(darkNearThree(), 0);
}

// ---- the time picker drop-down --------------------------------------------------------

TEST_F(DateTimeTest, TimeDropDownMaskStepsAndTyping) {
  auto* d = new TDizTimePickerDropDown(form);
  d->SetParent(form);
  EXPECT_EQ(d->EditMask(), "!90:00:00;1; ");
  int timeChanges = 0;
  d->OnTimeChange = [&](TObject*) { ++timeChanges; };
  d->SetFocus();
  d->SetSelStart(0);
  Key(d, VK_UP);
  EXPECT_DOUBLE_EQ(d->Time(), EncodeTime(23, 0, 0, 0));
  d->SetTime(EncodeTime(23, 10, 59, 0));
  d->SetSelStart(7);
  Key(d, VK_DOWN);
  EXPECT_DOUBLE_EQ(d->Time(), EncodeTime(23, 10, 0, 0));
  EXPECT_EQ(timeChanges, 2);
  d->SetText("07:10:00");
  EXPECT_DOUBLE_EQ(d->Time(), EncodeTime(7, 10, 0, 0));
  EXPECT_EQ(timeChanges, 2);
  // An hour out of range typed in is refused; the time stays.
  d->SetText("27:10:00");
  EXPECT_DOUBLE_EQ(d->Time(), EncodeTime(7, 10, 0, 0));
  d->SetShowSeconds(false);
  EXPECT_EQ(d->EditMask(), "!90:00;1; ");
  EXPECT_EQ(GetWindowTextStr(d->Handle()), "07:10");
  EXPECT_DOUBLE_EQ(d->Time(), EncodeTime(7, 10, 0, 0));
  d->ShowDropDown();
  Save(d->DropDownForm()->Handle(), "time-dropdown");
  EXPECT_EQ(d->Watch()->GetWatchRect().Width(), d->Panel()->Width() - 20);
  EXPECT_EQ(d->DropDownForm()->Width(), 170) << d->Panel()->Width();
  d->HideDropDown(false);
}

}  // namespace
