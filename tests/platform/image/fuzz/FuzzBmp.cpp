// libFuzzer target: each bitmap reader must either decode or raise EInvalidGraphic.
#include "platform/image/BmpCodec.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  TBytesView data(bytes, size);
  for (auto decode : {&DecodeBmp, &DecodeDib, &DecodeIconDib}) {
    try {
      (void)decode(data, nullptr);
    } catch (const EInvalidGraphic&) {
    }
  }
  return 0;
}
