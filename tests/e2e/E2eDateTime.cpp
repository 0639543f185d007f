// A small program for the end-to-end test of the date-time picker on the display: a form
// with one date-and-time picker (the time in its embedded part, digits hopping on) and a
// log of what happens.
//
//   e2e_datetime --log FILE [--at X,Y]
//
// The log tells "at edit X Y" (a point in the date text on the screen) and "ready"; then
// "calendar shown", "day X Y" (the middle of the 15th of the month on the screen),
// "calendar hidden", "value YYYY-MM-DD hh:mm" whenever the value changes, and
// "focus date" / "focus time" when the focus moves between the two parts.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "editors/DizDateTimePicker.h"
#include "platform/backend/SdlBackend.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MonthCalendar.h"
#include "platform/win/WinInternal.h"

using namespace DizDropDown;

namespace {
std::ofstream gLog;
void Log(const std::string& line) {
  gLog << line << '\n';
  gLog.flush();
}

class TE2eDateTimeForm : public TForm {
public:
  explicit TE2eDateTimeForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Date and time");
    SetBounds(60, 60, 360, 260);
    Picker = new TDizDateTimePicker(this);
    Picker->SetParent(this);
    Picker->SetBounds(20, 20, 220, 22);
    Picker->SetAutoTab(true);
    Picker->SetDateTimeEx(EncodeDate(2025, 6, 7) + EncodeTime(8, 30, 0, 0));
    Picker->OnChange = [this](TObject*) { LogValue(); };
  }
  void LogValue() {
    Log("value " + FormatDateTime("yyyy-mm-dd hh:nn", Picker->GetDateTimeEx()));
  }
  TDizDateTimePicker* Picker = nullptr;
};
}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  int left = -1, top = -1;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--log") logPath = argv[i + 1];
    else if (a == "--at") std::sscanf(argv[i + 1], "%d,%d", &left, &top);
  }
  if (logPath.empty()) {
    std::cerr << "usage: e2e_datetime --log FILE [--at X,Y]\n";
    return 2;
  }
  gLog.open(logPath, std::ios::trunc);
  TFormatSettings fs = DefaultFormatSettings();
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.DateSeparator = '.';
  fs.LongTimeFormat = "hh:nn:ss";
  TFormatSettingsScope locale(fs);
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
    TE2eDateTimeForm* form = nullptr;
    Application->CreateForm(form);
    if (left >= 0 && top >= 0) form->SetBounds(left, top, form->Width(), form->Height());
    bool told = false, dropped = false;
    int focus = 0;
    Application->OnIdle = [&](TObject*, bool&) {
      static RECT last{};
      RECT r;
      GetWindowRect(form->Handle(), &r);
      if (!told || r.left != last.left || r.top != last.top) {
        last = r;
        POINT e{12, 10};
        ::ClientToScreen(form->Picker->Handle(), &e);
        Log("at edit " + std::to_string(e.x) + " " + std::to_string(e.y));
        Log("ready");
        told = true;
      }
      if (form->Picker->DroppedDown() != dropped) {
        dropped = form->Picker->DroppedDown();
        if (dropped) {
          TMonthCalendar* c = form->Picker->Calendar();
          TDateTime d = c->VisibleMonth() + 14;
          TRect cell = c->DayRect(d);
          POINT p{(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
          ::ClientToScreen(c->Handle(), &p);
          Log("calendar shown");
          Log("day " + std::to_string(p.x) + " " + std::to_string(p.y));
        } else {
          Log("calendar hidden");
        }
      }
      HWND f = GetFocus();
      int now = f == form->Picker->Handle() ? 1
                : (form->Picker->EmbeddedTimePicker() && f == form->Picker->EmbeddedTimePicker()->Handle()) ? 2
                                                                                                            : 0;
      if (now != focus) {
        focus = now;
        if (now) Log(now == 1 ? "focus date" : "focus time");
      }
    };
    Application->Run();
    Application->Restart();
    ResetWindowSystem();
  } catch (const std::exception& e) {
    Log(std::string("error ") + e.what());
    std::cerr << "e2e_datetime: " << e.what() << "\n";
    return 1;
  }
  Log("exit 0");
  return 0;
}
