// libFuzzer target: any bytes as the INI file from which a dock panel reads back where
// its tool bars stood (rows, places, sizes, visibility). The panel must still paint and
// free with its tool bars.
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"
#include "tests/support/FuzzSupport.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"

using namespace VivIzizEzu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  fuzz_support::UseHeadless();
  const std::string path = fuzz_support::WriteFile("dock.ini", bytes, size);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 600, 200);
  auto* dock = new TDizDockPanel(form.get());
  dock->SetName("Dock");
  dock->SetParent(form.get());
  for (const char* name : {"Bar1", "Bar2", "Bar3"}) {
    auto* bar = new TVivIzizEzu(form.get());
    bar->SetName(name);
    bar->SetParent(dock);
    auto* button = new TVivIzizEzuButton(form.get());
    button->SetParent(bar);
    button->SetCaption(name);
  }
  dock->Persistence()->SetLocation(plIniFile);
  dock->Persistence()->SetKey(path);
  dock->Persistence()->SetSection("Dock");
  dock->Persistence()->SetEnabled(true);
  try {
    dock->LoadToolBarsPosition();
  } catch (const Exception&) {
  }
  fuzz_support::PaintControl(dock);
  return 0;
}
