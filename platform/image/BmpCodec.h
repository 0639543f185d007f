#pragma once
// Windows bitmaps, our own reader and writer. Reads 1, 4, 8 (palette), 16 (555 or
// bit fields such as 565), 24 and 32 bits (BmpRgb or bit fields, with alpha), bottom-up
// and top-down, RLE8 and RLE4, with the core (OS/2 1.x), info, V4 and V5 headers.
// Writes 24- or 32-bit BmpRgb bottom-up. A 32-bit BmpRgb picture whose alpha bytes
// are all zero is taken as opaque (the usual meaning of an unused fourth byte).
#include "platform/image/RawImage.h"

// Compression values of the bitmap header (BI_RGB, BI_RLE8, ... in the Windows headers).
enum : std::uint32_t { BmpRgb = 0, BmpRle8 = 1, BmpRle4 = 2, BmpBitFields = 3, BmpJpeg = 4, BmpPng = 5, BmpAlphaBitFields = 6 };

// What the file said besides the pixels.
struct TBmpInfo {
  int BitCount = 0;
  std::uint32_t Compression = BmpRgb;
  bool TopDown = false;
  std::vector<std::uint32_t> Palette;  // 0xFFRRGGBB entries for 1..8 bits
  bool HasAlpha = false;               // 32-bit picture with meaningful alpha
};

// A .bmp file (starts with "BM").
TRawImage DecodeBmp(TBytesView data, TBmpInfo* info = nullptr);
// A packed DIB: header, colour table and bits with no file header, as stored in bitmap
// resources and on the clipboard.
TRawImage DecodeDib(TBytesView dib, TBmpInfo* info = nullptr);
// An icon or cursor image: a packed DIB whose header height counts the colour bits and
// the 1-bit AND mask; mask bits set become transparent (32-bit images with alpha use the
// alpha instead).
TRawImage DecodeIconDib(TBytesView dib, TBmpInfo* info = nullptr);

// A .bmp file of the picture at 24 bits (alpha dropped) or 32 bits (alpha kept).
TByteBuffer EncodeBmp(const TRawImage& image, int bitsPerPixel = 24);
// The same as a packed DIB without the file header.
TByteBuffer EncodeDib(const TRawImage& image, int bitsPerPixel = 24);
// A 32-bit icon image with its AND mask (set where alpha is below 128).
TByteBuffer EncodeIconDib(const TRawImage& image);
