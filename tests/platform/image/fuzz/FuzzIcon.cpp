// libFuzzer target: the decoder must either decode or raise EInvalidGraphic.
#include "platform/image/IconCodec.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TBytesView data(bytes, size);
  try {
    (void)DecodeIcon(data);
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
