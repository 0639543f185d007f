#pragma once
// A read-only stream over an embedded resource (see Resources.h).
#include "platform/image/Resources.h"
#include "platform/rtl/Streams.h"

class TResourceStream : public TStream {
  LORM_CLASS(TResourceStream, TStream)
public:
  // The module instance is accepted for the familiar call shape; this program has one
  // module. A missing resource raises EResNotFound "Resource NAME not found".
  TResourceStream(const void* Instance, const TResourceId& ResName, const TResourceId& ResType);
  int64_t Read(void* Buffer, int64_t Count) override;
  // Writing raises EStreamError: resources are read-only.
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  const std::uint8_t* Memory() const { return FData.data(); }
  TBytesView Bytes() const { return FData; }

private:
  TBytesView FData;
  int64_t FPosition = 0;
};
