// A form with a unicode edit and a unicode combo box on the SDL display back end, for the
// end-to-end test of typing Cyrillic through a real keyboard layout:
//
//   e2e_uni_form --log FILE
//
// The log starts with "at edit X Y" and "at combo X Y" (screen points inside the two
// controls), then "ready"; every change of either text is logged as "edit text …" or
// "combo text …" (UTF-8). The form closes on the window manager's close request or on
// Escape.
#include <fstream>
#include <iostream>
#include <string>

#include "grid/ZevUni.h"
#include "platform/backend/SdlBackend.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/Forms.h"

namespace {

std::ofstream gLog;

void Log(const std::string& line) {
  gLog << line << '\n';
  gLog.flush();
}

class TUniForm : public TForm {
public:
  explicit TUniForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Юникод");
    SetBounds(100, 80, 360, 200);
    SetKeyPreview(true);
    Edit = new TZevUniEdit(this);
    Edit->SetParent(this);
    Edit->SetBounds(20, 20, 300, 24);
    Edit->OnChange = [this](TObject*) { Log("edit text " + Utf16ToUtf8(Edit->GetWideText())); };
    Combo = new TDEAUniComboBox(this);
    Combo->SetParent(this);
    Combo->SetBounds(20, 70, 300, 24);
    Combo->Items()->Add(u"Метан");
    Combo->OnChange = [this](TObject*) { Log("combo text " + Utf16ToUtf8(Combo->GetWideText())); };
    OnKeyDown = [this](TObject*, WORD& Key, TShiftState) {
      if (Key == VK_ESCAPE) Close();
    };
    OnClose = [](TObject*, TCloseAction&) { Log("form close"); };
  }
  TZevUniEdit* Edit;
  TDEAUniComboBox* Combo;
};

}  // namespace

int main(int argc, char** argv) {
  std::string logPath;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::string(argv[i]) == "--log") logPath = argv[i + 1];
  if (logPath.empty()) {
    std::cerr << "usage: e2e_uni_form --log FILE\n";
    return 2;
  }
  gLog.open(logPath, std::ios::trunc);
  try {
    TSdlBackend display;
    TSdlBackendScope use(display);
    TUniForm* form = nullptr;
    Application->CreateForm(form);
    bool told = false;
    Application->OnIdle = [&](TObject*, bool&) {
      if (told) return;
      told = true;
      TPoint e = form->Edit->ClientToScreen(TPoint{10, 10});
      TPoint c = form->Combo->ClientToScreen(TPoint{10, 10});
      Log("at edit " + std::to_string(e.X) + " " + std::to_string(e.Y));
      Log("at combo " + std::to_string(c.X) + " " + std::to_string(c.Y));
      Log("ready");
    };
    Application->Run();
    Application->Restart();
    ResetWindowSystem();
  } catch (const std::exception& e) {
    Log(std::string("error ") + e.what());
    return 1;
  }
  Log("exit 0");
  return 0;
}
