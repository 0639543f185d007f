#include "platform/image/ResourceStream.h"

#include <algorithm>
#include <cstring>

TResourceStream::TResourceStream(const void*, const TResourceId& ResName, const TResourceId& ResType)
    : FData(GetResourceData(ResType, ResName)) {}

int64_t TResourceStream::Read(void* Buffer, int64_t Count) {
  if (Count <= 0 || FPosition >= Size()) return 0;
  int64_t n = std::min(Count, Size() - FPosition);
  std::memcpy(Buffer, FData.data() + FPosition, std::size_t(n));
  FPosition += n;
  return n;
}

int64_t TResourceStream::Write(const void*, int64_t) {
  throw EStreamError("Cannot write to a resource stream");
}

int64_t TResourceStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : Size();
  FPosition = std::max<int64_t>(0, base + Offset);
  return FPosition;
}

void TResourceStream::SetSize(int64_t) { throw EStreamError("Cannot resize a resource stream"); }
