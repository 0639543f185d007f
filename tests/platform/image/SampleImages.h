#pragma once
// Small pictures made by the tests themselves, and a builder for hand-made bitmaps.
#include "platform/image/ByteReader.h"
#include "platform/image/RawImage.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

// A w×h picture with a distinct colour per pixel; alpha varies when `alpha` is set.
inline TRawImage GradientImage(int w, int h, bool alpha) {
  TRawImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.At(x, y) = MakeArgb(alpha ? std::uint8_t(255 - (x * 37 + y * 11) % 256) : 255,
                                std::uint8_t(x * 255 / std::max(1, w - 1)),
                                std::uint8_t(y * 255 / std::max(1, h - 1)), std::uint8_t((x * 7 + y * 13) % 256));
  return image;
}

// Writes a .bmp file around the given header fields, colour table and pixel bytes.
struct TBmpBuilder {
  std::int32_t Width = 0, Height = 0;
  int BitCount = 24;
  std::uint32_t Compression = 0;
  std::vector<std::uint32_t> Masks;    // written after a 40-byte header
  std::vector<std::uint32_t> Palette;  // 0x00RRGGBB
  TByteBuffer Bits;

  TByteBuffer Build() const {
    TByteBuffer dib;
    PutU32(dib, 40);
    PutU32(dib, std::uint32_t(Width));
    PutU32(dib, std::uint32_t(Height));
    PutU16(dib, 1);
    PutU16(dib, std::uint32_t(BitCount));
    PutU32(dib, Compression);
    PutU32(dib, std::uint32_t(Bits.size()));
    PutU32(dib, 0);
    PutU32(dib, 0);
    PutU32(dib, std::uint32_t(Palette.size()));
    PutU32(dib, 0);
    for (std::uint32_t m : Masks) PutU32(dib, m);
    for (std::uint32_t c : Palette) PutU32(dib, c);
    TByteBuffer out{'B', 'M'};
    PutU32(out, std::uint32_t(14 + dib.size() + Bits.size()));
    PutU32(out, 0);
    PutU32(out, std::uint32_t(14 + dib.size()));
    out.insert(out.end(), dib.begin(), dib.end());
    out.insert(out.end(), Bits.begin(), Bits.end());
    return out;
  }
};

// One frame for MakeGif: indices into a palette, placed at (Left, Top).
struct TGifFrameSpec {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<std::uint8_t> Indices;
  int DelayCs = 0;
  int Disposal = DISPOSAL_UNSPECIFIED;
  int Transparent = NO_TRANSPARENT_COLOR;
  bool Interlace = false;
};

// Encodes a GIF89a with giflib's encoder.
inline TByteBuffer MakeGif(int width, int height, const std::vector<std::uint32_t>& palette,
                           const std::vector<TGifFrameSpec>& frames, int loopCount = -1) {
  TByteBuffer out;
  auto write = [](GifFileType* gif, const GifByteType* data, int len) {
    auto* buffer = static_cast<TByteBuffer*>(gif->UserData);
    buffer->insert(buffer->end(), data, data + len);
    return len;
  };
  int error = 0;
  GifFileType* gif = EGifOpen(&out, write, &error);
  std::vector<GifColorType> colors(palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i)
    colors[i] = {GifByteType(palette[i] >> 16), GifByteType(palette[i] >> 8), GifByteType(palette[i])};
  ColorMapObject* map = GifMakeMapObject(int(palette.size()), colors.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map);
  if (loopCount >= 0) {
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    const GifByteType loop[3] = {1, GifByteType(loopCount & 0xFF), GifByteType(loopCount >> 8)};
    EGifPutExtensionBlock(gif, 3, loop);
    EGifPutExtensionTrailer(gif);
  }
  for (const TGifFrameSpec& f : frames) {
    GraphicsControlBlock gcb{f.Disposal, false, f.DelayCs, f.Transparent};
    GifByteType ext[4];
    std::size_t len = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext);
    EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, nullptr);
    std::vector<GifPixelType> rows(f.Indices.begin(), f.Indices.end());
    if (f.Interlace) {
      static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < f.Height; y += step[pass]) EGifPutLine(gif, &rows[std::size_t(y * f.Width)], f.Width);
    } else {
      EGifPutLine(gif, rows.data(), int(rows.size()));
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}
