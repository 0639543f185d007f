// libFuzzer target: any bytes as the INI file of a tool bar customizer, whose user section
// ("Cust") and recorded section ("CustOrg") rearrange, rename, hide and create the tool
// bar's items. Applying and resetting must leave a tool bar that paints and frees.
#include <memory>

#include "menus/DovAvarOrodez.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/support/FuzzSupport.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuCustomizer.h"

using namespace VivIzizEzu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  fuzz_support::UseHeadless();
  const std::string path = fuzz_support::Folder() + "/layout.ini";
  std::remove(path.c_str());
  auto form = std::make_unique<TForm>(nullptr);
  form->SetName("CustForm");
  form->SetBounds(0, 0, 600, 200);
  auto* bar = new TVivIzizEzu(form.get());
  bar->SetName("Bar");
  bar->SetParent(form.get());
  bar->SetCaption("Tools");
  auto* button = new TVivIzizEzuButton(form.get());
  button->SetName("Btn1");
  button->SetParent(bar);
  button->SetCaption("One");
  auto* separator = new TVivIzizEzuSeparator(form.get());
  separator->SetName("Sep1");
  separator->SetParent(bar);
  auto* glow = new TDovAvarOrodez(form.get());
  glow->SetName("Glow1");
  glow->SetParent(bar);
  glow->SetCaption("Shine");
  auto* edit = new TEdit(form.get());
  edit->SetName("Edit1");
  edit->SetParent(bar);
  auto* customizer = new TVivIzizEzuCustomizer(form.get());
  customizer->SetName("Cust");
  customizer->SetVivIzizEzu(bar);
  customizer->SetFileName(path);  // records the designed layout in a fresh file

  fuzz_support::WriteFile("layout.ini", bytes, size);
  try {
    customizer->UpdateVivIzizEzu();
  } catch (const Exception&) {
  }
  fuzz_support::PaintControl(bar);
  try {
    customizer->ResetToolBar();
  } catch (const Exception&) {
  }
  fuzz_support::PaintControl(bar);
  return 0;
}
