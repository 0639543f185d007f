// libFuzzer target: any bytes as the INI file from which an office panel reads back its
// place, size and collapsed state. The panel must still paint and free.
#include <memory>

#include "office/RavUvure.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"
#include "tests/support/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  fuzz_support::UseHeadless();
  const std::string path = fuzz_support::WriteFile("panel.ini", bytes, size);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 400, 300);
  auto* panel = new TRavUvure(form.get());
  panel->SetName("Panel1");
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 200, 120);
  panel->Position()->Location = RavUvure::clInifile;
  panel->Position()->Key = path;
  panel->Position()->Section = "Panel1";
  try {
    panel->LoadPosition();
  } catch (const Exception&) {
  }
  fuzz_support::PaintControl(form.get());
  return 0;
}
