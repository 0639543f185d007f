// A form with a string grid and an entry on the SDL display back end: the grid switches
// the application to mark-up hints, the entry takes the focus, and the application's hint
// window shows a mark-up hint over the grid. The program writes "focus entry yes" or
// "focus entry no" after the hint is up, then "ready", and closes when FILE appears.
//
//   e2e_hint_form --log FILE --quit FILE
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "grid/VezIdid.h"
#include "platform/backend/SdlBackend.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"

int main(int argc, char** argv) {
  std::string logPath, quitPath;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--log") logPath = argv[i + 1];
    else if (a == "--quit") quitPath = argv[i + 1];
  }
  if (logPath.empty() || quitPath.empty()) {
    std::cerr << "usage: e2e_hint_form --log FILE --quit FILE\n";
    return 2;
  }
  std::ofstream log(logPath, std::ios::trunc);
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBounds(40, 40, 480, 320);
    form->SetCaption("Mark-up hint");
    auto* grid = new TDavEvadurAvuz(form);
    grid->SetParent(form);
    grid->SetBounds(8, 40, 460, 240);
    grid->SetColCount(4);
    grid->SetRowCount(6);
    for (int r = 1; r < 6; ++r)
      for (int c = 1; c < 4; ++c) grid->SetCellEx(c, r, std::to_string(r * c));
    auto* entry = new TEdit(form);
    entry->SetParent(form);
    entry->SetBounds(8, 8, 200, 24);
    grid->SetUseHTMLHints(true);
    int idle = 0;
    THintWindow* hint = nullptr;
    Application->OnIdle = [&](TObject*, bool& Done) {
      Done = false;
      ++idle;
      if (idle == 3) entry->SetFocus();
      if (idle == 10) {
        hint = Application->HintWindowClass(form);
        TPoint at = grid->ClientToScreen(TPoint{80, 60});
        hint->ActivateHint(TRect{at.X, at.Y, at.X, at.Y},
                           "<b>Mark-up</b> hint: <font color=\"clRed\">red</font> and <i>italic</i>");
      }
      if (idle == 40) {
        log << "focus entry " << (entry->Focused() ? "yes" : "no") << "\n";
        log << "hint " << (dynamic_cast<THTMLHintWindow*>(hint) ? "markup" : "plain") << " "
            << (hint && hint->Visible() ? "shown" : "hidden") << "\n";
        log << "ready\n";
        log.flush();
      }
      if (idle > 40 && std::filesystem::exists(quitPath)) form->Close();
      std::this_thread::sleep_for(std::chrono::milliseconds(15));
    };
    Application->Run();
    Application->Restart();
    ResetWindowSystem();
  } catch (const std::exception& e) {
    log << "error " << e.what() << "\n";
    return 1;
  }
  log << "exit 0\n";
  return 0;
}
