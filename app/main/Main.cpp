// The lorm program: the main window on the display (SDL back end), working in the folder
// it is started from.
//
// With LORM_QUIT_AFTER_FIRST_PAINT=1 in the environment the program closes its main
// window (saving the database as on any close) as soon as that window and its children
// have painted for the first time and nothing else is waiting, so that a whole start can
// be timed from outside (bench/LormBench.cpp does, under Xvfb).
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/GasBaseFile.h"
#include "app/Program.h"
#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "platform/backend/SdlBackend.h"
#include "platform/rtl/CommandLine.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

int main(int argc, char** argv) {
  // The command line is kept for ParamStr and CmdLine.
  SetCommandLine(argc, argv);
  // A save that reaches the file-size limit fails and cleans up instead of being killed.
  IgnoreFileSizeSignal();
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
    if (const char* quit = std::getenv("LORM_QUIT_AFTER_FIRST_PAINT"); quit && std::strcmp(quit, "1") == 0)
      Application->OnIdle = [closed = false](TObject*, bool& Done) mutable {
        if (closed) return;
        // Until the main window shows (and while a message box holds it, disabling its
        // owner) the loop keeps coming back here instead of waiting for a message.
        TCustomForm* main = Application->MainForm();
        if (!main || !main->Showing() || !IsWindowEnabled(main->Handle())) {
          Done = false;
          return;
        }
        RedrawWindow(main->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        closed = true;
        PostMessage(main->Handle(), WM_CLOSE, 0, 0);
      };
    const int result = WinMain();
    // The windows go while the display is still there.
    Application->Restart();
    Form1 = nullptr;
    FormAbout = nullptr;
    ResetWindowSystem();
    return result;
  } catch (const std::exception& e) {
    std::cerr << "lorm: " << e.what() << "\n";
    return 1;
  }
}
