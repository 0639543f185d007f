#pragma once
// A decoded picture in memory, independent of any device.
//
// Pixel layout: rows top-down, no padding (stride = Width * 4 bytes), each pixel one
// 32-bit value 0xAARRGGBB with *straight* (not premultiplied) alpha. On a little-endian
// host the bytes of a row are B, G, R, A — exactly a top-down 32-bit Windows DIB row — so
// DIB sections and GDI+ bitmaps can wrap the buffer without copying. cairo's
// CAIRO_FORMAT_ARGB32 uses the same word layout but premultiplied alpha; convert with
// PremultiplyPixels / UnpremultiplyPixels.
#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "pixel words are laid out for little-endian hosts");

using TBytesView = std::span<const std::uint8_t>;
using TByteBuffer = std::vector<std::uint8_t>;

// Pixel helpers for the 0xAARRGGBB word.
constexpr std::uint32_t MakeArgb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
}
constexpr std::uint8_t ArgbAlpha(std::uint32_t p) { return std::uint8_t(p >> 24); }
constexpr std::uint8_t ArgbRed(std::uint32_t p) { return std::uint8_t(p >> 16); }
constexpr std::uint8_t ArgbGreen(std::uint32_t p) { return std::uint8_t(p >> 8); }
constexpr std::uint8_t ArgbBlue(std::uint32_t p) { return std::uint8_t(p); }

// Largest picture the decoders accept (pixels); larger headers are reported as invalid
// instead of attempting a huge allocation.
constexpr std::uint64_t MaxImagePixels = std::uint64_t(1) << 26;  // 64 Mpx, 256 MiB
constexpr int MaxImageSide = 32768;

struct TRawImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // Width * Height words, rows top-down

  TRawImage() = default;
  // A picture of the given size filled with one colour (default: fully transparent).
  TRawImage(int width, int height, std::uint32_t fill = 0);

  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::uint32_t* Row(int y) { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
  const std::uint32_t* Row(int y) const { return Pixels.data() + std::size_t(y) * std::size_t(Width); }
  std::uint32_t& At(int x, int y) { return Row(y)[x]; }
  std::uint32_t At(int x, int y) const { return Row(y)[x]; }
  // True when some pixel is not fully opaque.
  bool HasTransparency() const;
};

// Converts between straight and premultiplied alpha in place (same word layout).
void PremultiplyPixels(std::uint32_t* pixels, std::size_t count);
void UnpremultiplyPixels(std::uint32_t* pixels, std::size_t count);
// Copies a straight-alpha picture into a premultiplied buffer with the given stride in
// bytes (e.g. a cairo image surface), and back.
void CopyToPremultiplied(const TRawImage& image, std::uint8_t* dest, int destStride);
TRawImage CopyFromPremultiplied(const std::uint8_t* src, int width, int height, int srcStride);

// How a frame of an animation leaves the canvas before the next frame is drawn.
enum class TFrameDisposal { Unspecified, None, Background, Previous };

// One frame of an animated picture. Image is the whole canvas as it looks while this
// frame shows (previous frames composed according to their disposal); Left/Top/
// FrameWidth/FrameHeight is the rectangle the frame itself covers.
struct TImageFrame {
  TRawImage Image;
  int DelayMs = 0;
  TFrameDisposal Disposal = TFrameDisposal::Unspecified;
  int TransparentIndex = -1;  // -1: none
  int Left = 0, Top = 0, FrameWidth = 0, FrameHeight = 0;
};

// A picture with one or more frames (GIF); single-image formats give one frame.
struct TAnimatedImage {
  int Width = 0;
  int Height = 0;
  // Animation loop count from the NETSCAPE2.0 extension: 0 loops forever, n > 0 plays
  // n further times; -1 when the file has no loop extension (play once).
  int LoopCount = -1;
  std::vector<TImageFrame> Frames;
};

// Raises EInvalidGraphic with "<format> image is invalid or truncated" (plus detail).
[[noreturn]] void RaiseInvalidImage(const char* format, const std::string& detail = {});
// Checks decoder-reported dimensions against the limits above; raises when they fail.
void CheckImageSize(const char* format, std::int64_t width, std::int64_t height);
