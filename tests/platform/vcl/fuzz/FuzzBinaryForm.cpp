// libFuzzer target: the binary form reader takes any bytes; bad ones raise EReadError.
// What it reads is written back to a binary form that reads back to the same bytes.
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TStringStream in(std::string("TPF0") + std::string(reinterpret_cast<const char*>(bytes), size));
  TFormObject tree;
  try {
    tree = ReadBinaryForm(in);
  } catch (const EReadError&) {
    return 0;
  }
  (void)FormatTextForm(tree);
  TStringStream out;
  try {
    WriteBinaryForm(out, tree);
  } catch (const EWriteError&) {
    return 0;
  }
  out.SetPosition(0);
  const TFormObject again = ReadBinaryForm(out);
  TStringStream out2;
  WriteBinaryForm(out2, again);
  if (out2.DataString() != out.DataString()) std::abort();
  return 0;
}
