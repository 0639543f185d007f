#include "platform/image/IconCodec.h"

#include "platform/image/BmpCodec.h"
#include "platform/image/ByteReader.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

#include <cstdlib>
#include <cstring>

const TIconEntry& TIconFile::Best(int width, int height) const {
  if (Entries.empty()) throw EInvalidGraphic("Icon image is invalid or truncated (no images)");
  const TIconEntry* best = &Entries.front();
  auto score = [&](const TIconEntry& e) -> std::int64_t {
    if (width <= 0 || height <= 0) return -std::int64_t(e.Image.Width) * e.Image.Height;
    return std::abs(e.Image.Width - width) + std::abs(e.Image.Height - height);
  };
  for (const TIconEntry& e : Entries) {
    std::int64_t a = score(e), b = score(*best);
    if (a < b || (a == b && e.BitCount > best->BitCount)) best = &e;
  }
  return *best;
}

TIconFile DecodeIcon(TBytesView data) {
  TByteReader in(data, "Icon");
  if (in.U16() != 0) in.Invalid("bad signature");
  const std::uint16_t type = in.U16();
  if (type != 1 && type != 2) in.Invalid("bad signature");
  const std::uint16_t count = in.U16();
  if (count == 0) in.Invalid("no images");
  TIconFile icon;
  icon.Cursor = type == 2;
  struct TDirEntry { std::uint16_t Plane, Bits; std::uint32_t Size, Offset; };
  std::vector<TDirEntry> dir;
  for (unsigned i = 0; i < count; ++i) {
    in.Skip(4);  // width, height, colour count, reserved: the image's own header decides
    TDirEntry e;
    e.Plane = in.U16();
    e.Bits = in.U16();
    e.Size = in.U32();
    e.Offset = in.U32();
    dir.push_back(e);
  }
  std::uint64_t total = 0;
  for (const TDirEntry& e : dir) {
    if (e.Offset > data.size() || e.Size > data.size() - e.Offset) in.Truncated();
    TBytesView bytes = data.subspan(e.Offset, e.Size);
    TIconEntry entry;
    static const std::uint8_t pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= 8 && std::memcmp(bytes.data(), pngSignature, 8) == 0) {
      entry.Image = DecodePng(bytes);
      entry.Png = true;
      entry.BitCount = 32;
    } else {
      TBmpInfo info;
      entry.Image = DecodeIconDib(bytes, &info);
      entry.BitCount = info.BitCount;
    }
    if (icon.Cursor) {
      entry.HotSpotX = e.Plane;
      entry.HotSpotY = e.Bits;
    }
    total += entry.Image.Pixels.size();
    if (total > MaxImagePixels) in.Invalid("images too large");
    icon.Entries.push_back(std::move(entry));
  }
  return icon;
}

TByteBuffer EncodeIcon(const TIconFile& icon) {
  if (icon.Entries.empty()) throw EInvalidGraphicOperation("Cannot save an empty icon");
  if (icon.Entries.size() > 0xFFFF) throw EInvalidGraphicOperation("Too many icon images");
  std::vector<TByteBuffer> images;
  for (const TIconEntry& e : icon.Entries) {
    if (e.Image.Empty() || e.Image.Width > 256 || e.Image.Height > 256)
      throw EInvalidGraphicOperation("Icon images are 1 to 256 pixels a side");
    images.push_back(e.Image.Width >= 256 || e.Image.Height >= 256 ? EncodePng(e.Image) : EncodeIconDib(e.Image));
  }
  TByteBuffer out;
  PutU16(out, 0);
  PutU16(out, icon.Cursor ? 2 : 1);
  PutU16(out, std::uint32_t(images.size()));
  std::uint32_t offset = std::uint32_t(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const TIconEntry& e = icon.Entries[i];
    out.push_back(std::uint8_t(e.Image.Width >= 256 ? 0 : e.Image.Width));
    out.push_back(std::uint8_t(e.Image.Height >= 256 ? 0 : e.Image.Height));
    out.push_back(0);
    out.push_back(0);
    PutU16(out, icon.Cursor ? std::uint32_t(e.HotSpotX) : 1);
    PutU16(out, icon.Cursor ? std::uint32_t(e.HotSpotY) : 32);
    PutU32(out, std::uint32_t(images[i].size()));
    PutU32(out, offset);
    offset += std::uint32_t(images[i].size());
  }
  for (const TByteBuffer& b : images) out.insert(out.end(), b.begin(), b.end());
  return out;
}
