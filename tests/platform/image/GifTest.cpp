#include "SampleImages.h"
#include "platform/image/GifCodec.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

const std::uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, Clear = 0;
const std::vector<std::uint32_t> Palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

std::vector<std::uint32_t> Row(const TRawImage& image, int y) {
  return {image.Row(y), image.Row(y) + image.Width};
}

}  // namespace

// A 4×2 screen and four frames exercising each disposal:
//   1. red 4×2 background, kept (do not dispose)
//   2. green 2×1 at (1,0), index 3 transparent in its right pixel, restore previous
//   3. blue 1×1 at (3,1), restore to background (transparent)
//   4. a 1×1 green at (0,0), no disposal given
TEST(GifCodec, ComposesEveryFrameWithDelaysAndDisposal) {
  std::vector<TGifFrameSpec> frames(4);
  frames[0] = {0, 0, 4, 2, std::vector<std::uint8_t>(8, 0), 10, DISPOSE_DO_NOT};
  frames[1] = {1, 0, 2, 1, {1, 3}, 25, DISPOSE_PREVIOUS, 3};
  frames[2] = {3, 1, 1, 1, {2}, 0, DISPOSE_BACKGROUND};
  frames[3] = {0, 0, 1, 1, {1}, 100, DISPOSAL_UNSPECIFIED};
  TAnimatedImage gif = DecodeGif(MakeGif(4, 2, Palette, frames, 0));
  EXPECT_EQ(gif.Width, 4);
  EXPECT_EQ(gif.Height, 2);
  EXPECT_EQ(gif.LoopCount, 0);
  ASSERT_EQ(gif.Frames.size(), 4u);

  const std::vector<int> delays = {100, 250, 0, 1000};
  const std::vector<TFrameDisposal> disposals = {TFrameDisposal::None, TFrameDisposal::Previous,
                                                 TFrameDisposal::Background, TFrameDisposal::Unspecified};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(gif.Frames[i].DelayMs, delays[i]) << i;
    EXPECT_EQ(gif.Frames[i].Disposal, disposals[i]) << i;
  }
  EXPECT_EQ(gif.Frames[1].TransparentIndex, 3);
  EXPECT_EQ(gif.Frames[0].TransparentIndex, -1);
  EXPECT_EQ(gif.Frames[2].Left, 3);
  EXPECT_EQ(gif.Frames[2].Top, 1);

  using V = std::vector<std::uint32_t>;
  EXPECT_EQ(Row(gif.Frames[0].Image, 0), (V{Red, Red, Red, Red}));
  EXPECT_EQ(Row(gif.Frames[1].Image, 0), (V{Red, Green, Red, Red}));  // transparent pixel shows red
  EXPECT_EQ(Row(gif.Frames[2].Image, 0), (V{Red, Red, Red, Red}));    // frame 2 was undone
  EXPECT_EQ(Row(gif.Frames[2].Image, 1), (V{Red, Red, Red, Blue}));
  EXPECT_EQ(Row(gif.Frames[3].Image, 0), (V{Green, Red, Red, Red}));
  EXPECT_EQ(Row(gif.Frames[3].Image, 1), (V{Red, Red, Red, Clear}));  // blue cleared to background
}

TEST(GifCodec, InterlacedFrameAndNoLoopExtension) {
  TGifFrameSpec f{0, 0, 1, 10, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}, 0, DISPOSAL_UNSPECIFIED};
  f.Interlace = true;
  TAnimatedImage gif = DecodeGif(MakeGif(1, 10, Palette, {f}));
  EXPECT_EQ(gif.LoopCount, -1);
  ASSERT_EQ(gif.Frames.size(), 1u);
  for (int y = 0; y < 10; ++y) {
    std::uint32_t rgb = Palette[f.Indices[std::size_t(y)]];
    EXPECT_EQ(gif.Frames[0].Image.At(0, y), 0xFF000000u | rgb) << y;
  }
  EXPECT_EQ(DecodeGifFirstFrame(MakeGif(1, 10, Palette, {f})).At(0, 3), 0xFFFFFFFFu);
}

TEST(GifCodec, FrameOutsideTheScreenIsClipped) {
  TGifFrameSpec f{1, 1, 3, 3, std::vector<std::uint8_t>(9, 2), 0, DISPOSAL_UNSPECIFIED};
  // A frame wholly off the screen, cleared afterwards, changes nothing.
  TGifFrameSpec off{5, 0, 2, 1, {0, 0}, 0, DISPOSE_BACKGROUND};
  TAnimatedImage gif = DecodeGif(MakeGif(2, 2, Palette, {f, off, f}));
  ASSERT_EQ(gif.Frames.size(), 3u);
  EXPECT_EQ(gif.Frames[0].Image.At(0, 0), Clear);
  EXPECT_EQ(gif.Frames[0].Image.At(1, 1), Blue);
  EXPECT_EQ(gif.Frames[2].Image.Pixels, gif.Frames[0].Image.Pixels);
}
