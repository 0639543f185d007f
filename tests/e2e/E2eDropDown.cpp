// A small program for the end-to-end test of the drop-down editor on the display: a form
// with one drop-down editor (a float with two decimals) whose pop-up has a header, a
// footer with its size grip and a coloured centre, and a log of what happens.
//
//   e2e_dropdown --log FILE [--at X,Y]
//
// The log tells "at edit X Y" (the edit's client origin on the screen), "at button X Y"
// (the middle of the drop button), "at caption X Y" (a point of the form's caption) and
// "ready"; then "popup shown X Y W H", "popup hidden", "dropup cancelled=0|1",
// "caption active=0|1" whenever the form's caption changes, and "text VALUE" whenever
// the value changes.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "editors/DizDropDownEditor.h"
#include "platform/backend/SdlBackend.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinInternal.h"

using namespace DizDropDown;

namespace {

std::ofstream gLog;

void Log(const std::string& line) {
  gLog << line << '\n';
  gLog.flush();
}

class TE2eDropDownForm : public TForm {
public:
  explicit TE2eDropDownForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Drop-down");
    SetBounds(60, 60, 360, 240);
    Edit = new TDizDropDown(this);
    Edit->SetParent(this);
    Edit->SetBounds(20, 20, 200, 21);
    Edit->SetEditType(etFloat);
    Edit->SetPrecision(2);
    Edit->SetText("1.25");
    Edit->DropDownHeader()->Caption = "<b>Value</b>";
    Edit->DropDownFooter()->Caption = "Drag the grip";
    Edit->DropDownColor = 0xFFF0E0;
    Edit->DropDownColorTo = 0xE0C090;
    Edit->DropDownHeight = 120;
    Edit->OnDropUp = [](TObject*, bool cancelled) { Log(std::string("dropup cancelled=") + (cancelled ? "1" : "0")); };
    Edit->OnChange = [this](TObject*) { Log("text " + Edit->Text()); };
  }
  TDizDropDown* Edit = nullptr;
};

void LogGeometry(TE2eDropDownForm* form) {
  POINT e{0, 0};
  ::ClientToScreen(form->Edit->Handle(), &e);
  TDropDownEditButton* b = form->Edit->DropDownButton();
  POINT c{b->Width() / 2, b->Height() / 2};
  ::ClientToScreen(b->Handle(), &c);
  RECT r;
  GetWindowRect(form->Handle(), &r);
  Log("at edit " + std::to_string(e.x) + " " + std::to_string(e.y));
  Log("at button " + std::to_string(c.x) + " " + std::to_string(c.y));
  Log("at caption " + std::to_string(r.left + 120) + " " + std::to_string(r.top + 10));
  Log("ready");
}

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
    std::cerr << "usage: e2e_dropdown --log FILE [--at X,Y]\n";
    return 2;
  }
  gLog.open(logPath, std::ios::trunc);
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = '.';
  fs.ThousandSeparator = ',';
  TFormatSettingsScope locale(fs);
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
    TE2eDropDownForm* form = nullptr;
    Application->CreateForm(form);
    if (left >= 0 && top >= 0) form->SetBounds(left, top, form->Width(), form->Height());
    bool told = false, shown = false, active = false;
    Application->OnIdle = [&](TObject*, bool&) {
      // The window manager may still move the form after it shows: the places are told
      // again whenever it moves.
      static RECT last{};
      RECT r;
      GetWindowRect(form->Handle(), &r);
      if (!told || r.left != last.left || r.top != last.top) {
        last = r;
        LogGeometry(form);
        if (!told) form->Edit->SetFocus();
        told = true;
      }
      TDropDownForm* f = form->Edit->DropDownForm();
      if (f && f->Visible() != shown) {
        shown = f->Visible();
        if (shown)
          Log("popup shown " + std::to_string(f->Left()) + " " + std::to_string(f->Top()) + " " +
              std::to_string(f->Width()) + " " + std::to_string(f->Height()));
        else Log("popup hidden");
      }
      bool now = form->HandleAllocated() && form->Handle()->NcActive;
      if (now != active) {
        active = now;
        Log(std::string("caption active=") + (active ? "1" : "0"));
      }
    };
    Application->Run();
    Application->Restart();
    ResetWindowSystem();
  } catch (const std::exception& e) {
    Log(std::string("error ") + e.what());
    std::cerr << "e2e_dropdown: " << e.what() << "\n";
    return 1;
  }
  Log("exit 0");
  return 0;
}
