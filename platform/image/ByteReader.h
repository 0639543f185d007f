#pragma once
// A bounds-checked little-endian reader over a byte span for the codecs we parse
// ourselves (BMP, ICO, CUR). Reading past the end raises EInvalidGraphic naming the
// format, so a truncated or lying header can never read outside the buffer.
#include "platform/image/RawImage.h"

class TByteReader {
public:
  TByteReader(TBytesView data, const char* format) : FData(data), FFormat(format) {}

  std::size_t Size() const { return FData.size(); }
  std::size_t Pos() const { return FPos; }
  std::size_t Remaining() const { return FData.size() - FPos; }
  void Seek(std::size_t pos) {
    if (pos > FData.size()) Truncated();
    FPos = pos;
  }
  void Skip(std::size_t n) {
    if (n > Remaining()) Truncated();
    FPos += n;
  }
  std::uint8_t U8() {
    if (Remaining() < 1) Truncated();
    return FData[FPos++];
  }
  std::uint16_t U16() {
    if (Remaining() < 2) Truncated();
    std::uint16_t v = std::uint16_t(FData[FPos] | (FData[FPos + 1] << 8));
    FPos += 2;
    return v;
  }
  std::uint32_t U32() {
    if (Remaining() < 4) Truncated();
    std::uint32_t v = std::uint32_t(FData[FPos]) | (std::uint32_t(FData[FPos + 1]) << 8) |
                      (std::uint32_t(FData[FPos + 2]) << 16) | (std::uint32_t(FData[FPos + 3]) << 24);
    FPos += 4;
    return v;
  }
  std::int32_t I32() { return std::int32_t(U32()); }
  // A view of the next n bytes (raises when fewer remain); advances past them.
  TBytesView Bytes(std::size_t n) {
    if (n > Remaining()) Truncated();
    TBytesView v = FData.subspan(FPos, n);
    FPos += n;
    return v;
  }
  [[noreturn]] void Truncated() const { RaiseInvalidImage(FFormat, "unexpected end of data"); }
  [[noreturn]] void Invalid(const std::string& detail) const { RaiseInvalidImage(FFormat, detail); }

private:
  TBytesView FData;
  std::size_t FPos = 0;
  const char* FFormat;
};

// Appends little-endian values to a byte buffer (the encoders).
inline void PutU16(TByteBuffer& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
inline void PutU32(TByteBuffer& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
