// libFuzzer target: any bytes as a style file (a style name line and the theme text) of
// the office and the fantasy tool bar stylers. A damaged file is refused with an
// exception and changes nothing.
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "tests/support/FuzzSupport.h"
#include "tests/toolbar/fuzz/ThemeText.h"
#include "toolbar/VivIzizEzuStylers.h"

using namespace VivIzizEzu;

namespace {
template <class TStyler>
void Load(const std::string& Path) {
  TStyler styler(nullptr);
  const std::string before = ThemeText(styler);
  try {
    styler.LoadFromFile(Path);
  } catch (const Exception&) {
    if (ThemeText(styler) != before) std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  fuzz_support::UseHeadless();
  const std::string path = fuzz_support::WriteFile("style.txt", bytes, size);
  Load<TVivIzizEzuOfficeStyler>(path);
  Load<TVivIzizEzuFantasyStyler>(path);
  return 0;
}
