// libFuzzer target: any text as a stored form, read into a form with every component
// class of the libraries registered. Bad text raises an exception; whatever was read must
// paint and free, in any order of owners and parents.
//
// Seeds: with LORM_FUZZ_FORM_SEEDS set to a folder, the target first writes there one
// stored form per component class (the class's defaults on a form); pass that folder,
// and forms/ for the program's own forms, as the corpus.
#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "tests/app/fuzz/FuzzFormClasses.h"
#include "tests/support/FuzzSupport.h"

namespace {

const std::vector<TClass>& ComponentClasses() {
  static const std::vector<TClass> classes = [] {
    std::vector<TClass> all;
    AddFoundationClasses(all);
    AddOfficeClasses(all);
    AddToolBarClasses(all);
    AddMenusClasses(all);
    AddEditorsClasses(all);
    return all;
  }();
  return classes;
}

void WriteSeeds(const std::string& Folder) {
  for (TClass c : ComponentClasses()) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("Form1");
    form->SetBounds(0, 0, 400, 300);
    try {
      TComponent* component = CreateComponentOfClass(c, form.get());
      component->SetName("Item1");
      if (auto* control = dynamic_cast<TControl*>(component)) control->SetParent(form.get());
      std::ofstream(Folder + "/" + c->Name + ".txt", std::ios::binary) << WriteComponentToText(form.get());
    } catch (const std::exception&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::UseHeadless();
  for (TClass c : ComponentClasses()) RegisterClass(c);
  if (const char* seeds = std::getenv("LORM_FUZZ_FORM_SEEDS")) WriteSeeds(seeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  auto form = std::make_unique<TForm>(nullptr);
  try {
    ReadComponentFromText(text, form.get());
  } catch (const std::exception&) {
    return 0;
  }
  try {
    fuzz_support::PaintControl(form.get());
  } catch (const Exception&) {
  }
  return 0;
}
