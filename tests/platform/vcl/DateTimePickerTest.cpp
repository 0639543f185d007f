// The platform's date-time picker and month calendar: fields, keys, the drop-down
// calendar and its size.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/DateTimePicker.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MonthCalendar.h"

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

TEST_F(DateTimeTest, MonthUpClampsTheDayAndWindowTextIsTheShownText) {
  auto* p = new TDateTimePicker(form);
  p->SetParent(form);
  p->SetDate(EncodeDate(2024, 1, 31));
  EXPECT_EQ(GetWindowTextStr(p->Handle()), "31.01.2024");
  p->SetFocus();
  Key(p, VK_RIGHT);  // day → month
  Key(p, VK_UP);
  EXPECT_EQ(p->Date(), EncodeDate(2024, 2, 29));
  EXPECT_EQ(GetWindowTextStr(p->Handle()), "29.02.2024");
  Key(p, VK_LEFT);
  Key(p, VK_DOWN);  // day 29 down: 28; then wrap from 1 down to the month's last
  EXPECT_EQ(p->Date(), EncodeDate(2024, 2, 28));
  // Typed digits: "0" "5" make day 5.
  Char(p, '0');
  Char(p, '5');
  EXPECT_EQ(p->Date(), EncodeDate(2024, 2, 5));
}

TEST_F(DateTimeTest, WeekNumbersWidenTheCalendar) {
  auto* c = new TMonthCalendar(form);
  c->SetParent(form);
  RECT plain{}, weeks{};
  SendMessage(c->Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&plain));
  SetWindowLong(c->Handle(), GWL_STYLE, GetWindowLong(c->Handle(), GWL_STYLE) | LONG(MCS_WEEKNUMBERS));
  SendMessage(c->Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&weeks));
  EXPECT_GT(weeks.right, plain.right);
  EXPECT_EQ(weeks.bottom, plain.bottom);
}

TEST_F(DateTimeTest, F4OpensTheCalendarAndADayClickPicksIt) {
  auto* p = new TDateTimePicker(form);
  p->SetParent(form);
  p->SetDateTime(EncodeDate(2024, 3, 10) + EncodeTime(8, 30, 0, 0));
  int changes = 0, closes = 0;
  p->OnChange = [&](TObject*) { ++changes; };
  p->OnCloseUp = [&](TObject*) { ++closes; };
  p->SetFocus();
  Key(p, VK_F4);
  ASSERT_TRUE(p->DroppedDown());
  HWND cal = reinterpret_cast<HWND>(SendMessage(p->Handle(), DTM_GETMONTHCAL, 0, 0));
  ASSERT_NE(cal, nullptr);
  EXPECT_EQ(GetFocus(), p->Handle());  // the focus stays in the field
  Save(cal, "calendar-open");
  TRect r = p->Calendar()->DayRect(EncodeDate(2024, 3, 21));
  robot.MouseDown(cal, r.Left + 5, r.Top + 5);
  robot.MouseUp(cal, r.Left + 5, r.Top + 5);
  EXPECT_FALSE(p->DroppedDown());
  EXPECT_EQ(p->DateTime(), EncodeDate(2024, 3, 21) + EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(closes, 1);
}

TEST_F(DateTimeTest, CheckboxRangeUpDownAndEscape) {
  auto* p = new TDateTimePicker(form);
  p->SetParent(form);
  p->SetShowCheckbox(true);
  p->SetDate(EncodeDate(2024, 5, 10));
  p->SetMinDate(EncodeDate(2024, 5, 1));
  p->SetMaxDate(EncodeDate(2024, 5, 20));
  int changes = 0;
  p->OnChange = [&](TObject*) { ++changes; };
  p->SetFocus();
  Key(p, VK_SPACE);  // the check box off: the value is "none"
  EXPECT_FALSE(p->Checked());
  EXPECT_EQ(changes, 1);
  Key(p, VK_UP);  // a step checks it again
  EXPECT_TRUE(p->Checked());
  EXPECT_EQ(p->Date(), EncodeDate(2024, 5, 11));
  for (int i = 0; i < 15; ++i) Key(p, VK_UP);
  EXPECT_EQ(p->Date(), EncodeDate(2024, 5, 20));  // held at MaxDate
  // Up-down mode: the upper arrow steps up.
  p->SetDateMode(dmUpDown);
  TRect b{p->Width() - 17, 2, p->Width() - 2, p->Height() - 2};
  robot.MouseDown(p->Handle(), b.Left + 5, b.Bottom - 3);
  robot.MouseUp(p->Handle(), b.Left + 5, b.Bottom - 3);
  EXPECT_EQ(p->Date(), EncodeDate(2024, 5, 19));
  // Escape closes the calendar and keeps the date.
  p->SetDateMode(dmComboBox);
  Key(p, VK_F4);
  ASSERT_TRUE(p->DroppedDown());
  Key(p, VK_RIGHT);
  Key(p, VK_ESCAPE);
  EXPECT_FALSE(p->DroppedDown());
  EXPECT_EQ(p->Date(), EncodeDate(2024, 5, 19));
  Save(p->Handle(), "picker-checkbox");
}

TEST_F(DateTimeTest, TimeKindUsesTheLocaleTimeForm) {
  TFormatSettings s = FormatSettings();
  s.LongTimeFormat = "h:mm:ss AMPM";
  TFormatSettingsScope twelve(s);
  auto* p = new TDateTimePicker(form);
  p->SetParent(form);
  p->SetKind(dtkTime);
  p->SetTime(EncodeTime(13, 5, 9, 0));
  EXPECT_EQ(p->ShownText(), "1:05:09 PM");
  p->SetFormat("HH'h'mm");
  EXPECT_EQ(p->ShownText(), "13h05");
}

}  // namespace
