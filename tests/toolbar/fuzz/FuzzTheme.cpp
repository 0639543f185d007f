// libFuzzer target: any bytes as the theme text of a tool bar styler. A damaged text is
// refused with "Corrupt file" and changes nothing; one that loads saves to a text that
// loads to the same values; either way a dock panel with a tool bar and a button paints.
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"
#include "tests/support/FuzzSupport.h"
#include "tests/toolbar/fuzz/ThemeText.h"
#include "toolbar/DizDockPanel.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuStylers.h"

using namespace VivIzizEzu;

namespace {

struct TScene {
  TScene() {
    fuzz_support::UseHeadless();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Styler = new TVivIzizEzuOfficeStyler(Form);
    Dock = new TDizDockPanel(Form);
    Dock->SetParent(Form);
    Dock->SetToolBarStyler(Styler);
    Bar = new TVivIzizEzu(Form);
    Bar->SetParent(Dock);
    auto* button = new TVivIzizEzuButton(Form);
    button->SetParent(Bar);
    button->SetCaption("One");
  }
  TForm* Form;
  TVivIzizEzuOfficeStyler* Styler;
  TDizDockPanel* Dock;
  TVivIzizEzu* Bar;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static TScene& scene = *new TScene;  // lives to the end of the run, like the window system
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::string before = ThemeText(*scene.Styler);
  try {
    std::istringstream in(text);
    scene.Styler->LoadPropFromFile(in);
  } catch (const Exception& e) {
    if (e.Message() != "Corrupt file" || ThemeText(*scene.Styler) != before) std::abort();
    return 0;
  }
  const std::string saved = ThemeText(*scene.Styler);
  TCustomVivIzizEzuStyler again(nullptr);
  std::istringstream in(saved);
  again.LoadPropFromFile(in);
  if (ThemeText(again) != saved) std::abort();
  fuzz_support::PaintControl(scene.Dock);
  return 0;
}
