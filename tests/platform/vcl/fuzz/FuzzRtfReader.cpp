// libFuzzer target: any rich text reads without a fault, and what the writer makes of the
// document reads back to the same characters and formats.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/vcl/RichText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string rtf(reinterpret_cast<const char*>(bytes), size);
  TRichDocument doc;
  doc.ReadRtf(rtf);
  TRichDocument back;
  back.ReadRtf(doc.WriteRtf());
  if (back.Text() != doc.Text()) std::abort();
  const auto a = doc.Runs(), b = back.Runs();
  if (a.size() != b.size()) std::abort();
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].Start != b[i].Start || a[i].Length != b[i].Length || !(*a[i].Format == *b[i].Format)) std::abort();
  return 0;
}
