// libFuzzer target: the decoder must either decode or raise EInvalidGraphic.
#include "platform/image/JpegCodec.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TBytesView data(bytes, size);
  try {
    (void)DecodeJpeg(data);
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
