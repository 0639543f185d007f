#include "SampleImages.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/IconCodec.h"
#include "platform/image/ImageCodecs.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int MaxChannelDifference(const TRawImage& a, const TRawImage& b) {
  int worst = 0;
  for (std::size_t i = 0; i < a.Pixels.size(); ++i)
    for (int shift = 0; shift < 32; shift += 8)
      worst = std::max(worst, std::abs(int((a.Pixels[i] >> shift) & 255) - int((b.Pixels[i] >> shift) & 255)));
  return worst;
}

}  // namespace

TEST(PngCodec, RoundTripKeepsEveryPixelWithAndWithoutAlpha) {
  for (bool alpha : {false, true}) {
    TRawImage image = GradientImage(13, 7, alpha);
    TByteBuffer png = EncodePng(image);
    EXPECT_EQ(DetectImageFormat(png), TImageFormat::Png);
    TRawImage back = DecodePng(png);
    ASSERT_EQ(back.Width, 13);
    ASSERT_EQ(back.Height, 7);
    EXPECT_EQ(back.Pixels, image.Pixels) << "alpha " << alpha;
  }
}

TEST(PngCodec, EmptyImageCannotBeSaved) {
  EXPECT_THROW(EncodePng(TRawImage()), EInvalidGraphicOperation);
}

TEST(JpegCodec, RoundTripWithinToleranceAndQualityMatters) {
  TRawImage image(32, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) image.At(x, y) = x < 16 ? MakeArgb(255, 200, 40, 40) : MakeArgb(255, 30, 90, 220);
  TByteBuffer high = EncodeJpeg(image, 95);
  TByteBuffer low = EncodeJpeg(image, 10);
  EXPECT_EQ(DetectImageFormat(high), TImageFormat::Jpeg);
  EXPECT_LT(low.size(), high.size());
  TRawImage back = DecodeJpeg(high);
  ASSERT_EQ(back.Width, 32);
  ASSERT_EQ(back.Height, 16);
  // Away from the colour edge the colours survive closely; everything is opaque.
  EXPECT_LE(MaxChannelDifference(TRawImage(image), back), 60);
  for (int y : {0, 8, 15}) {
    EXPECT_NEAR(ArgbRed(back.At(3, y)), 200, 8);
    EXPECT_NEAR(ArgbBlue(back.At(28, y)), 220, 8);
    EXPECT_EQ(ArgbAlpha(back.At(20, y)), 255);
  }
}

TEST(BmpCodec, EncodedBitmapsRoundTrip) {
  TRawImage opaque = GradientImage(5, 3, false);  // odd width exercises row padding
  TRawImage back24 = DecodeBmp(EncodeBmp(opaque, 24));
  EXPECT_EQ(back24.Pixels, opaque.Pixels);
  TRawImage translucent = GradientImage(5, 3, true);
  TBmpInfo info;
  TRawImage back32 = DecodeBmp(EncodeBmp(translucent, 32), &info);
  EXPECT_EQ(back32.Pixels, translucent.Pixels);
  EXPECT_EQ(info.BitCount, 32);
  EXPECT_TRUE(info.HasAlpha);
  // The packed form (no file header) reads the same.
  EXPECT_EQ(DecodeDib(EncodeDib(opaque, 24)).Pixels, opaque.Pixels);
  EXPECT_THROW(EncodeBmp(opaque, 8), EInvalidGraphicOperation);
}

TEST(BmpCodec, ThirtyTwoBitsWithZeroAlphaAreOpaque) {
  TBmpBuilder b;
  b.Width = 2;
  b.Height = 1;
  b.BitCount = 32;
  b.Bits = {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0};
  TRawImage image = DecodeBmp(b.Build());
  EXPECT_EQ(image.At(0, 0), 0xFF302010u);
  EXPECT_EQ(image.At(1, 0), 0xFF605040u);
}

// Every depth the reader knows, each a 3×2 picture, bottom-up unless the height is
// negative; the expected colours read top-left to bottom-right.
struct TBmpCase {
  const char* Name;
  TBmpBuilder Builder;
  std::vector<std::uint32_t> Expected;
};

class BmpDepths : public testing::TestWithParam<int> {};

std::vector<TBmpCase> BmpCases() {
  const std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF, K = 0xFF000000;
  std::vector<TBmpCase> cases;
  TBmpBuilder b;
  // 1 bit: rows padded to 4 bytes; bottom row first.
  b = {};
  b.Width = 3; b.Height = 2; b.BitCount = 1; b.Palette = {0x000000, 0xFFFFFF};
  b.Bits = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};
  cases.push_back({"1 bit", b, {W, K, W, K, W, K}});
  // 4 bits with a 3-entry table.
  b = {};
  b.Width = 3; b.Height = 2; b.BitCount = 4; b.Palette = {0xFF0000, 0x00FF00, 0x0000FF};
  b.Bits = {0x21, 0x00, 0, 0, 0x01, 0x20, 0, 0};
  cases.push_back({"4 bits", b, {R, G, B, B, G, R}});
  // 8 bits, top-down.
  b = {};
  b.Width = 3; b.Height = -2; b.BitCount = 8; b.Palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  b.Bits = {0, 1, 2, 0, 3, 3, 0, 0};
  cases.push_back({"8 bits top-down", b, {R, G, B, W, W, R}});
  // 16 bits 5-5-5 (BmpRgb).
  b = {};
  b.Width = 3; b.Height = 2; b.BitCount = 16;
  b.Bits = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0, 0xFF, 0x7F, 0, 0, 0x00, 0x7C, 0, 0};
  cases.push_back({"16 bits 555", b, {W, K, R, R, G, B}});
  // 16 bits 5-6-5 through bit fields.
  b = {};
  b.Width = 3; b.Height = 2; b.BitCount = 16; b.Compression = BmpBitFields;
  b.Masks = {0xF800, 0x07E0, 0x001F};
  b.Bits = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0, 0xFF, 0xFF, 0x00, 0x00, 0x1F, 0x00, 0, 0};
  cases.push_back({"16 bits 565", b, {W, K, B, R, G, B}});
  // 24 bits with row padding.
  b = {};
  b.Width = 3; b.Height = 2; b.BitCount = 24;
  b.Bits = {0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,  255, 255, 255, 0, 0, 0, 0, 0, 255, 0, 0, 0};
  cases.push_back({"24 bits", b, {W, K, R, R, G, B}});
  // 32 bits through bit fields with an alpha mask.
  b = {};
  b.Width = 1; b.Height = 1; b.BitCount = 32; b.Compression = BmpAlphaBitFields;
  b.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  b.Bits = {0x33, 0x22, 0x11, 0x80};
  cases.push_back({"32 bits bit fields", b, {0x80112233}});
  // RLE8: encoded run, absolute run, end of line, delta, end of bitmap.
  b = {};
  b.Width = 4; b.Height = 2; b.BitCount = 8; b.Compression = BmpRle8;
  b.Palette = {0xFF0000, 0x00FF00, 0x0000FF};
  b.Bits = {2, 1, 0, 0,  0, 3, 2, 0, 1, 0,  0, 1};
  cases.push_back({"RLE8", b, {B, R, G, 0, G, G, 0, 0}});
  // RLE4: nibbles alternate within a run; delta skips pixels (left transparent).
  b = {};
  b.Width = 4; b.Height = 2; b.BitCount = 4; b.Compression = BmpRle4;
  b.Palette = {0xFF0000, 0x00FF00, 0x0000FF};
  b.Bits = {4, 0x12, 0, 0,  0, 2, 1, 0,  0, 3, 0x21, 0x00,  0, 1};
  cases.push_back({"RLE4", b, {0, B, G, R, G, B, G, B}});
  return cases;
}

TEST_P(BmpDepths, DecodesEveryDepth) {
  const TBmpCase c = BmpCases()[std::size_t(GetParam())];
  TBmpInfo info;
  TRawImage image = DecodeBmp(c.Builder.Build(), &info);
  ASSERT_EQ(image.Pixels.size(), c.Expected.size()) << c.Name;
  for (std::size_t i = 0; i < c.Expected.size(); ++i)
    EXPECT_EQ(image.Pixels[i], c.Expected[i]) << c.Name << " pixel " << i;
  EXPECT_EQ(info.BitCount, c.Builder.BitCount) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(AllDepths, BmpDepths, testing::Range(0, int(BmpCases().size())));

TEST(IconCodec, IconAndCursorRoundTripWithHotSpotAndPngEntry) {
  TIconFile icon;
  icon.Cursor = true;
  TIconEntry small;
  small.Image = GradientImage(16, 16, true);
  // Only full and empty alpha survives an AND mask; the 32-bit alpha keeps the rest.
  small.HotSpotX = 3;
  small.HotSpotY = 14;
  TIconEntry large;
  large.Image = GradientImage(256, 256, false);
  icon.Entries = {small, large};
  TByteBuffer bytes = EncodeIcon(icon);
  EXPECT_EQ(DetectImageFormat(bytes), TImageFormat::Cur);
  TIconFile back = DecodeIcon(bytes);
  ASSERT_TRUE(back.Cursor);
  ASSERT_EQ(back.Entries.size(), 2u);
  EXPECT_EQ(back.Entries[0].Image.Pixels, small.Image.Pixels);
  EXPECT_EQ(back.Entries[0].HotSpotX, 3);
  EXPECT_EQ(back.Entries[0].HotSpotY, 14);
  EXPECT_FALSE(back.Entries[0].Png);
  EXPECT_TRUE(back.Entries[1].Png);
  EXPECT_EQ(back.Entries[1].Image.Pixels, large.Image.Pixels);
  EXPECT_EQ(&back.Best(), &back.Entries[1]);
  EXPECT_EQ(&back.Best(20, 20), &back.Entries[0]);

  icon.Cursor = false;
  EXPECT_EQ(DetectImageFormat(EncodeIcon(icon)), TImageFormat::Ico);
}

TEST(IconCodec, FourBitIconUsesItsAndMask) {
  // 2×2, 4 bits: colour rows then the AND mask (1 = transparent), both bottom-up.
  TByteBuffer dib;
  PutU32(dib, 40); PutU32(dib, 2); PutU32(dib, 4); PutU16(dib, 1); PutU16(dib, 4);
  for (int i = 0; i < 6; ++i) PutU32(dib, 0);
  for (int i = 0; i < 16; ++i) PutU32(dib, i == 1 ? 0x00FF0000 : (i == 2 ? 0x000000FF : 0));
  const std::uint8_t colour[] = {0x12, 0, 0, 0, 0x21, 0, 0, 0};
  const std::uint8_t mask[] = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
  dib.insert(dib.end(), std::begin(colour), std::end(colour));
  dib.insert(dib.end(), std::begin(mask), std::end(mask));
  TByteBuffer file;
  PutU16(file, 0); PutU16(file, 1); PutU16(file, 1);
  file.insert(file.end(), {2, 2, 16, 0});
  PutU16(file, 1); PutU16(file, 4); PutU32(file, std::uint32_t(dib.size())); PutU32(file, 22);
  file.insert(file.end(), dib.begin(), dib.end());
  TIconFile icon = DecodeIcon(file);
  ASSERT_EQ(icon.Entries.size(), 1u);
  const TRawImage& image = icon.Entries[0].Image;
  EXPECT_EQ(icon.Entries[0].BitCount, 4);
  EXPECT_EQ(image.At(0, 0), 0u);           // masked out
  EXPECT_EQ(image.At(1, 0), 0xFFFF0000u);
  EXPECT_EQ(image.At(0, 1), 0xFFFF0000u);
  EXPECT_EQ(image.At(1, 1), 0u);
}

TEST(ImageCodecs, DetectsFormatsBySignature) {
  const TRawImage image = GradientImage(4, 4, false);
  TIconFile icon;
  icon.Entries.push_back({image});
  struct { TByteBuffer Bytes; TImageFormat Format; } cases[] = {
      {EncodePng(image), TImageFormat::Png},
      {EncodeJpeg(image), TImageFormat::Jpeg},
      {EncodeBmp(image), TImageFormat::Bmp},
      {EncodeIcon(icon), TImageFormat::Ico},
      {MakeGif(1, 1, {0, 0xFFFFFF}, {{0, 0, 1, 1, {1}}}), TImageFormat::Gif},
      {{'B'}, TImageFormat::Unknown},
      {{0, 0, 1, 0, 0, 0}, TImageFormat::Unknown},  // an icon directory with no images
      {{}, TImageFormat::Unknown},
  };
  for (auto& c : cases) {
    EXPECT_EQ(DetectImageFormat(c.Bytes), c.Format);
    if (c.Format != TImageFormat::Unknown) {
      TRawImage decoded = DecodeImage(c.Bytes);
      EXPECT_FALSE(decoded.Empty());
    } else {
      EXPECT_THROW(DecodeImage(c.Bytes), EInvalidGraphic);
    }
  }
  EXPECT_EQ(ImageFormatFromExtension(".JPEG"), TImageFormat::Jpeg);
  EXPECT_EQ(ImageFormatFromExtension("cur"), TImageFormat::Cur);
  EXPECT_EQ(ImageFormatFromExtension("txt"), TImageFormat::Unknown);
}

TEST(RawImage, PremultiplyRoundTripIsCloseAndKeepsExtremes) {
  std::uint32_t p[] = {0x80FF8000, 0xFF123456, 0x00FFFFFF, 0x01FFFFFF};
  PremultiplyPixels(p, 4);
  EXPECT_EQ(p[0], 0x80804000u);
  EXPECT_EQ(p[1], 0xFF123456u);
  EXPECT_EQ(p[2], 0u);
  UnpremultiplyPixels(p, 4);
  EXPECT_EQ(p[0], 0x80FF8000u);
  EXPECT_EQ(p[1], 0xFF123456u);
  EXPECT_EQ(p[3], 0x01FFFFFFu);
}
