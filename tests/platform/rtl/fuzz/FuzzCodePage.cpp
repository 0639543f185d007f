// libFuzzer target: text of any bytes converted between UTF-8, UTF-16 and the supported
// code pages; conversions never fail and never read or write outside their text.
#include <cstdlib>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::u16string wide = Utf8ToUtf16(text);
  const std::string utf8 = Utf16ToUtf8(wide);
  // Once repaired, text survives UTF-16 unchanged.
  if (Utf16ToUtf8(Utf8ToUtf16(utf8)) != utf8) std::abort();
  // Any bytes read as UTF-16 units.
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i + 1 < size; i += 2) units[i / 2] = char16_t(bytes[i] | bytes[i + 1] << 8);
  (void)Utf16ToUtf8(units);
  (void)Utf8Length(text);
  for (int cp : {1251, 1252, 866, 20866, 65001}) {
    if (!IsCodePageSupported(cp)) continue;
    const std::string decoded = CodePageToUtf8(cp, text);
    (void)Utf8ToCodePage(cp, decoded);
    (void)Utf8ToCodePage(cp, text);
  }
  // Case mappings keep byte lengths.
  if (AnsiUpperCase(text).size() != size || FoldCase(text).size() != size) std::abort();
  (void)AnsiCompareText(text, utf8);
  return 0;
}
