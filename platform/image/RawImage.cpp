#include "platform/image/RawImage.h"

#include "platform/rtl/Exceptions.h"

TRawImage::TRawImage(int width, int height, std::uint32_t fill) {
  if (width > 0 && height > 0) {
    Width = width;
    Height = height;
    Pixels.assign(std::size_t(width) * std::size_t(height), fill);
  }
}

bool TRawImage::HasTransparency() const {
  for (std::uint32_t p : Pixels)
    if (ArgbAlpha(p) != 255) return true;
  return false;
}

static inline std::uint32_t Premultiply(std::uint32_t p) {
  std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto mul = [a](std::uint32_t c) { std::uint32_t t = c * a + 128; return (t + (t >> 8)) >> 8; };
  return (a << 24) | (mul((p >> 16) & 255) << 16) | (mul((p >> 8) & 255) << 8) | mul(p & 255);
}

static inline std::uint32_t Unpremultiply(std::uint32_t p) {
  std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto div = [a](std::uint32_t c) {
    std::uint32_t v = (c * 255 + a / 2) / a;
    return v > 255 ? 255u : v;
  };
  return (a << 24) | (div((p >> 16) & 255) << 16) | (div((p >> 8) & 255) << 8) | div(p & 255);
}

void PremultiplyPixels(std::uint32_t* pixels, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) pixels[i] = Premultiply(pixels[i]);
}

void UnpremultiplyPixels(std::uint32_t* pixels, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) pixels[i] = Unpremultiply(pixels[i]);
}

void CopyToPremultiplied(const TRawImage& image, std::uint8_t* dest, int destStride) {
  for (int y = 0; y < image.Height; ++y) {
    auto* out = reinterpret_cast<std::uint32_t*>(dest + std::size_t(y) * destStride);
    const std::uint32_t* in = image.Row(y);
    for (int x = 0; x < image.Width; ++x) out[x] = Premultiply(in[x]);
  }
}

TRawImage CopyFromPremultiplied(const std::uint8_t* src, int width, int height, int srcStride) {
  TRawImage image(width, height);
  for (int y = 0; y < image.Height; ++y) {
    auto* in = reinterpret_cast<const std::uint32_t*>(src + std::size_t(y) * srcStride);
    std::uint32_t* out = image.Row(y);
    for (int x = 0; x < image.Width; ++x) out[x] = Unpremultiply(in[x]);
  }
  return image;
}

void RaiseInvalidImage(const char* format, const std::string& detail) {
  std::string message = std::string(format) + " image is invalid or truncated";
  if (!detail.empty()) message += " (" + detail + ")";
  throw EInvalidGraphic(message);
}

void CheckImageSize(const char* format, std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) RaiseInvalidImage(format, "empty size");
  if (width > MaxImageSide || height > MaxImageSide ||
      std::uint64_t(width) * std::uint64_t(height) > MaxImagePixels)
    RaiseInvalidImage(format, "size " + std::to_string(width) + "x" + std::to_string(height) +
                                  " is too large");
}
