#include "platform/image/BmpCodec.h"

#include "platform/image/ByteReader.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <bit>

namespace {

enum class TDibKind { File, Packed, Icon };

struct TChannel {
  std::uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;
  void Set(std::uint32_t mask) {
    Mask = mask;
    Shift = mask ? std::countr_zero(mask) : 0;
    Bits = mask ? std::popcount(mask >> Shift) : 0;
    if (Bits > 8) {  // keep the top eight bits of a wide channel
      Shift += Bits - 8;
      Bits = 8;
    }
  }
  std::uint8_t Get(std::uint32_t v) const {
    if (!Mask) return 0;
    std::uint32_t c = (v & Mask) >> Shift & ((1u << Bits) - 1);
    // Scale to 0..255 by bit replication.
    std::uint32_t r = 0;
    for (int filled = 0; filled < 8; filled += Bits) r = (r << Bits) | c;
    return std::uint8_t(r >> (((8 + Bits - 1) / Bits) * Bits - 8));
  }
};

std::uint32_t PaletteColor(const std::vector<std::uint32_t>& palette, unsigned index) {
  return index < palette.size() ? palette[index] : 0xFF000000u;
}

void DecodeRle(TByteReader& in, TRawImage& image, const std::vector<std::uint32_t>& palette,
               bool rle4) {
  const int w = image.Width, h = image.Height;
  int x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](unsigned index) {
    if (x < w && y < h) image.At(x, h - 1 - y) = PaletteColor(palette, index);
    ++x;
  };
  for (;;) {
    if (in.Remaining() < 2) {
      if (y >= h) return;  // every row written; the end marker is missing, nothing more
      in.Truncated();
    }
    unsigned count = in.U8(), value = in.U8();
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) put(rle4 ? ((i & 1) ? (value & 15) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      x += in.U8();
      y += in.U8();
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      unsigned bytes = rle4 ? (value + 1) / 2 : value;
      TBytesView run = in.Bytes(bytes);
      for (unsigned i = 0; i < value; ++i)
        put(rle4 ? ((i & 1) ? (run[i / 2] & 15) : (run[i / 2] >> 4)) : run[i]);
      if (bytes & 1) in.Skip(1);
    }
    if (y > h) return;  // past the top: nothing more can show
  }
}

TRawImage Decode(TBytesView data, TDibKind kind, TBmpInfo* infoOut) {
  TByteReader in(data, kind == TDibKind::Icon ? "Icon" : "Bitmap");
  std::size_t dibStart = 0;
  std::uint32_t bitsOffset = 0;
  if (kind == TDibKind::File) {
    if (in.U8() != 'B' || in.U8() != 'M') in.Invalid("bad signature");
    in.Skip(8);
    bitsOffset = in.U32();
    dibStart = 14;
  }
  const std::uint32_t headerSize = in.U32();
  std::int64_t width, height;
  int bitCount;
  std::uint32_t compression = BmpRgb, colorsUsed = 0;
  bool core = headerSize == 12;
  if (core) {
    width = in.U16();
    height = std::int16_t(in.U16());
    in.U16();
    bitCount = in.U16();
  } else if (headerSize >= 40 && headerSize <= 4096) {
    width = in.I32();
    height = in.I32();
    in.U16();  // planes
    bitCount = in.U16();
    compression = in.U32();
    in.Skip(12);  // image size, resolution
    colorsUsed = in.U32();
    in.U32();
  } else {
    in.Invalid("unknown header size " + std::to_string(headerSize));
  }

  TChannel red, green, blue, alpha;
  std::size_t afterHeader = dibStart + headerSize;
  if (compression == BmpBitFields || compression == BmpAlphaBitFields) {
    if (bitCount != 16 && bitCount != 32) in.Invalid("bit fields need 16 or 32 bits");
    if (headerSize >= 52) {
      in.Seek(dibStart + 40);
    } else {
      in.Seek(afterHeader);
      afterHeader += compression == BmpAlphaBitFields ? 16 : 12;
    }
    red.Set(in.U32());
    green.Set(in.U32());
    blue.Set(in.U32());
    if (headerSize >= 56 || compression == BmpAlphaBitFields) alpha.Set(in.U32());
    compression = BmpBitFields;
  } else if (bitCount == 16) {
    red.Set(0x7C00);
    green.Set(0x03E0);
    blue.Set(0x001F);
  }
  if (compression == BmpJpeg || compression == BmpPng) in.Invalid("embedded JPEG/PNG bitmaps are not supported");
  if (compression > BmpBitFields) in.Invalid("unknown compression " + std::to_string(compression));
  if ((compression == BmpRle8 && bitCount != 8) || (compression == BmpRle4 && bitCount != 4))
    in.Invalid("compression does not match the bit count");
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: in.Invalid("unsupported bit count " + std::to_string(bitCount));
  }

  const bool topDown = height < 0;
  if (topDown) {
    if (compression == BmpRle8 || compression == BmpRle4) in.Invalid("top-down RLE bitmap");
    height = -height;
  }
  std::int64_t pixelHeight = height;
  if (kind == TDibKind::Icon) pixelHeight = height / 2;
  CheckImageSize(kind == TDibKind::Icon ? "Icon" : "Bitmap", width, pixelHeight);

  // Colour table.
  std::vector<std::uint32_t> palette;
  if (bitCount <= 8) {
    std::uint32_t entries = 1u << bitCount;
    if (colorsUsed > 0 && colorsUsed < entries) entries = colorsUsed;
    in.Seek(afterHeader);
    palette.reserve(entries);
    for (std::uint32_t i = 0; i < entries; ++i) {
      std::uint8_t b = in.U8(), g = in.U8(), r = in.U8();
      if (!core) in.U8();
      palette.push_back(MakeArgb(255, r, g, b));
    }
    // A larger table than the bit count can address is skipped over.
    if (colorsUsed > entries && colorsUsed <= 65536) in.Skip(std::size_t(colorsUsed - entries) * (core ? 3 : 4));
  } else if (colorsUsed > 0 && colorsUsed <= 65536) {
    in.Seek(afterHeader);
    in.Skip(std::size_t(colorsUsed) * 4);  // optional table of a true-colour packed DIB
  } else {
    in.Seek(afterHeader);
  }
  std::size_t bitsStart = in.Pos();
  if (kind == TDibKind::File && bitsOffset >= bitsStart && bitsOffset < data.size()) bitsStart = bitsOffset;
  in.Seek(bitsStart);

  const int w = int(width), h = int(pixelHeight);
  const bool rle = compression == BmpRle8 || compression == BmpRle4;
  const std::size_t stride = ((std::size_t(w) * bitCount + 31) / 32) * 4;
  // Uncompressed pixels must all be there before the image is allocated: a header alone
  // does not cost the memory of the picture it announces.
  if (!rle && in.Remaining() < stride * std::size_t(h)) in.Bytes(stride * std::size_t(h));
  TRawImage image(w, h);
  bool hasAlpha = false;
  if (rle) {
    DecodeRle(in, image, palette, compression == BmpRle4);
  } else {
    TBytesView bits = in.Bytes(stride * std::size_t(h));
    bool anyAlpha = false;
    for (int row = 0; row < h; ++row) {
      const std::uint8_t* src = bits.data() + stride * std::size_t(row);
      std::uint32_t* dst = image.Row(topDown ? row : h - 1 - row);
      switch (bitCount) {
        case 1:
          for (int x = 0; x < w; ++x) dst[x] = PaletteColor(palette, (src[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          for (int x = 0; x < w; ++x) dst[x] = PaletteColor(palette, (x & 1) ? (src[x >> 1] & 15) : (src[x >> 1] >> 4));
          break;
        case 8:
          for (int x = 0; x < w; ++x) dst[x] = PaletteColor(palette, src[x]);
          break;
        case 16:
          for (int x = 0; x < w; ++x) {
            std::uint32_t v = src[2 * x] | (src[2 * x + 1] << 8);
            dst[x] = MakeArgb(alpha.Mask ? alpha.Get(v) : 255, red.Get(v), green.Get(v), blue.Get(v));
          }
          break;
        case 24:
          for (int x = 0; x < w; ++x) dst[x] = MakeArgb(255, src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        case 32:
          for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src + 4 * x;
            std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                              (std::uint32_t(p[3]) << 24);
            if (compression == BmpBitFields)
              dst[x] = MakeArgb(alpha.Mask ? alpha.Get(v) : 255, red.Get(v), green.Get(v), blue.Get(v));
            else
              dst[x] = v;
            if (ArgbAlpha(v) != 0) anyAlpha = true;
          }
          break;
      }
    }
    if (bitCount == 32) {
      if (compression == BmpRgb) {
        hasAlpha = anyAlpha;
        if (!anyAlpha)
          for (std::uint32_t& p : image.Pixels) p |= 0xFF000000u;
      } else {
        hasAlpha = alpha.Mask != 0;
      }
    }
    if (bitCount == 16) hasAlpha = alpha.Mask != 0;

    if (kind == TDibKind::Icon) {
      // The AND mask follows the colour bits: 1 bit per pixel, rows bottom-up.
      const std::size_t maskStride = ((std::size_t(w) + 31) / 32) * 4;
      if (hasAlpha && in.Remaining() < maskStride * std::size_t(h)) {
        // A 32-bit icon with alpha needs no mask; some writers leave it out.
      } else {
        TBytesView mask = in.Bytes(maskStride * std::size_t(h));
        if (!hasAlpha) {
          for (int row = 0; row < h; ++row) {
            const std::uint8_t* src = mask.data() + maskStride * std::size_t(row);
            std::uint32_t* dst = image.Row(topDown ? row : h - 1 - row);
            for (int x = 0; x < w; ++x)
              if ((src[x >> 3] >> (7 - (x & 7))) & 1) dst[x] = 0;
          }
        }
      }
    }
  }
  if (kind == TDibKind::Icon && (compression == BmpRle8 || compression == BmpRle4))
    in.Invalid("compressed icon image");

  if (infoOut) {
    infoOut->BitCount = bitCount;
    infoOut->Compression = compression;
    infoOut->TopDown = topDown;
    infoOut->Palette = std::move(palette);
    infoOut->HasAlpha = hasAlpha;
  }
  return image;
}

void WriteInfoHeader(TByteBuffer& out, int width, int height, int bitCount, std::uint32_t imageSize) {
  PutU32(out, 40);
  PutU32(out, std::uint32_t(width));
  PutU32(out, std::uint32_t(height));
  PutU16(out, 1);
  PutU16(out, std::uint32_t(bitCount));
  PutU32(out, BmpRgb);
  PutU32(out, imageSize);
  PutU32(out, 3780);  // 96 DPI in pixels per metre
  PutU32(out, 3780);
  PutU32(out, 0);
  PutU32(out, 0);
}

void WriteBits(TByteBuffer& out, const TRawImage& image, int bitCount) {
  const std::size_t stride = ((std::size_t(image.Width) * bitCount + 31) / 32) * 4;
  for (int row = image.Height - 1; row >= 0; --row) {
    const std::uint32_t* src = image.Row(row);
    std::size_t start = out.size();
    for (int x = 0; x < image.Width; ++x) {
      std::uint32_t p = src[x];
      out.push_back(ArgbBlue(p));
      out.push_back(ArgbGreen(p));
      out.push_back(ArgbRed(p));
      if (bitCount == 32) out.push_back(ArgbAlpha(p));
    }
    out.resize(start + stride, 0);
  }
}

void CheckEncodable(const TRawImage& image, int bitsPerPixel) {
  if (image.Empty()) throw EInvalidGraphicOperation("Cannot save an empty image as a bitmap");
  if (bitsPerPixel != 24 && bitsPerPixel != 32)
    throw EInvalidGraphicOperation("Bitmaps are written with 24 or 32 bits per pixel");
}

}  // namespace

TRawImage DecodeBmp(TBytesView data, TBmpInfo* info) { return Decode(data, TDibKind::File, info); }
TRawImage DecodeDib(TBytesView dib, TBmpInfo* info) { return Decode(dib, TDibKind::Packed, info); }
TRawImage DecodeIconDib(TBytesView dib, TBmpInfo* info) { return Decode(dib, TDibKind::Icon, info); }

TByteBuffer EncodeDib(const TRawImage& image, int bitsPerPixel) {
  CheckEncodable(image, bitsPerPixel);
  const std::size_t stride = ((std::size_t(image.Width) * bitsPerPixel + 31) / 32) * 4;
  TByteBuffer out;
  out.reserve(40 + stride * std::size_t(image.Height));
  WriteInfoHeader(out, image.Width, image.Height, bitsPerPixel, std::uint32_t(stride * std::size_t(image.Height)));
  WriteBits(out, image, bitsPerPixel);
  return out;
}

TByteBuffer EncodeBmp(const TRawImage& image, int bitsPerPixel) {
  TByteBuffer dib = EncodeDib(image, bitsPerPixel);
  TByteBuffer out;
  out.reserve(14 + dib.size());
  out.push_back('B');
  out.push_back('M');
  PutU32(out, std::uint32_t(14 + dib.size()));
  PutU32(out, 0);
  PutU32(out, 14 + 40);
  out.insert(out.end(), dib.begin(), dib.end());
  return out;
}

TByteBuffer EncodeIconDib(const TRawImage& image) {
  CheckEncodable(image, 32);
  const std::size_t stride = std::size_t(image.Width) * 4;
  const std::size_t maskStride = ((std::size_t(image.Width) + 31) / 32) * 4;
  TByteBuffer out;
  WriteInfoHeader(out, image.Width, image.Height * 2, 32,
                  std::uint32_t((stride + maskStride) * std::size_t(image.Height)));
  WriteBits(out, image, 32);
  for (int row = image.Height - 1; row >= 0; --row) {
    std::size_t start = out.size();
    out.resize(start + maskStride, 0);
    const std::uint32_t* src = image.Row(row);
    for (int x = 0; x < image.Width; ++x)
      if (ArgbAlpha(src[x]) < 128) out[start + std::size_t(x >> 3)] |= std::uint8_t(0x80 >> (x & 7));
  }
  return out;
}
