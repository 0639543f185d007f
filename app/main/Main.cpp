// The lorm program: the main window on the display (SDL back end), working in the folder
// it is started from.
#include <iostream>

#include "app/GasBaseFile.h"
#include "app/Program.h"
#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "platform/backend/SdlBackend.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

int main() {
  // A save that reaches the file-size limit fails and cleans up instead of being killed.
  IgnoreFileSizeSignal();
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
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
