// libFuzzer target: the text form reader takes any text; bad text raises EReadError.
// What it reads is written back as text that reads to the same tree, and converts to
// the binary form (or is refused with EWriteError) that reads back.
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  TFormObject tree;
  try {
    tree = ParseTextForm(text);
  } catch (const EReadError&) {
    return 0;
  }
  const std::string written = FormatTextForm(tree);
  if (FormatTextForm(ParseTextForm(written)) != written) std::abort();
  TStringStream binary;
  try {
    WriteBinaryForm(binary, tree);
  } catch (const EWriteError&) {
    return 0;
  }
  binary.SetPosition(0);
  if (FormatTextForm(ReadBinaryForm(binary)).empty()) std::abort();
  return 0;
}
