// libFuzzer target: the decoder must either decode or raise EInvalidGraphic.
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TBytesView data(bytes, size);
  try {
    (void)DecodePng(data);
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
