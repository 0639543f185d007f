#include "app/Program.h"

#include <exception>

#include "app/Unitabout.h"
#include "app/Unitconverting.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"

int WinMain() {
  try {
    Application->Initialize();
    Application->SetTitle(ProgramTitle);
    Application->CreateForm(Form1);
    Application->CreateForm(FormAbout);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  } catch (...) {
    // Anything that is not one of the framework's exceptions is shown as one without text.
    Application->ShowException(Exception(""));
  }
  return 0;
}
