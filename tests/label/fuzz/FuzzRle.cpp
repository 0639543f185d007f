// libFuzzer target: run-length expansion of any bytes stays in bounds, and compressing
// any bytes expands back to them.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "label/VxCoreUtils.h"
#include "platform/rtl/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream in, out;
  in.Write(data, static_cast<int64_t>(size));
  VxCoreUtils::RleDecompressTo(in, out);

  TMemoryStream packed, back;
  VxCoreUtils::RleCompressTo(in, packed);
  VxCoreUtils::RleDecompressTo(packed, back);
  if (back.Size() != static_cast<int64_t>(size) || (size && std::memcmp(back.Memory(), data, size) != 0))
    std::abort();
  return 0;
}
