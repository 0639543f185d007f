// libFuzzer target: any rich-text cell content reads as plain text without a fault, and
// the plain text never grows past a small multiple of what it came from.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/VezIdid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string rtf(reinterpret_cast<const char*>(bytes), size);
  const std::string plain = TDavEvadurAvuz::RichToPlainText(rtf);
  // The widest expansions are "\~" (two bytes for two) and "\'hh" (three at most for four).
  if (plain.size() > 2 * size + 4) std::abort();
  return 0;
}
