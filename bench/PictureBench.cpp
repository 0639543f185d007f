// Pictures loaded through TPicture (format detection, the graphic class, the pixels in
// place) against a plain decode of the same bytes.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "platform/image/BmpCodec.h"
#include "platform/image/GifCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"

namespace {
TRawImage Pattern(int w, int h) {
  TRawImage image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = MakeArgb(255, std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y));
  return image;
}

int WriteToVector(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

// A 512 x 512 GIF with a full colour table.
const std::vector<std::uint8_t>& GifBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) colours[i] = GifColorType{GifByteType(i), GifByteType(255 - i), GifByteType(i * 7)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, 512, 512, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, 512, 512, false, nullptr);
    std::vector<GifPixelType> line(512);
    for (int y = 0; y < 512; ++y) {
      for (int x = 0; x < 512; ++x) line[std::size_t(x)] = GifPixelType((x / 8 + y / 8) % 256);
      EGifPutLine(gif, line.data(), 512);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
  }();
  return bytes;
}

void LoadPicture(benchmark::State& state, const TByteBuffer& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  for (auto _ : state) {
    stream.SetPosition(0);
    TPicture picture;
    picture.LoadFromStream(stream);
    benchmark::DoNotOptimize(picture.GetGraphic());
  }
}

const TByteBuffer& BmpBytes() {
  static const TByteBuffer bytes = EncodeBmp(Pattern(512, 512), 24);
  return bytes;
}
const TByteBuffer& PngBytes() {
  static const TByteBuffer bytes = EncodePng(Pattern(512, 512));
  return bytes;
}

// A full-HD bitmap (1,920 x 1,080, 24 bits): the small one above fits in the caches, this
// one does not.
const TByteBuffer& BmpHdBytes() {
  static const TByteBuffer bytes = EncodeBmp(Pattern(1920, 1080), 24);
  return bytes;
}

void BM_PictureBmp(benchmark::State& state) { LoadPicture(state, BmpBytes()); }
void BM_PictureBmpFullHd(benchmark::State& state) { LoadPicture(state, BmpHdBytes()); }
void BM_PictureBmpFullHd_Baseline(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DecodeBmp(BmpHdBytes()).Pixels.data());
}
void BM_PictureBmp_Baseline(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DecodeBmp(BmpBytes()).Pixels.data());
}
void BM_PicturePng(benchmark::State& state) { LoadPicture(state, PngBytes()); }
void BM_PicturePng_Baseline(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DecodePng(PngBytes()).Pixels.data());
}
void BM_PictureGif(benchmark::State& state) {
  const auto& b = GifBytes();
  LoadPicture(state, TByteBuffer(b.begin(), b.end()));
}

struct TReadState {
  const std::vector<std::uint8_t>* Data;
  std::size_t Pos = 0;
};
int ReadFromVector(GifFileType* gif, GifByteType* out, int length) {
  auto* in = static_cast<TReadState*>(gif->UserData);
  std::size_t n = std::min<std::size_t>(std::size_t(length), in->Data->size() - in->Pos);
  std::memcpy(out, in->Data->data() + in->Pos, n);
  in->Pos += n;
  return int(n);
}

// giflib reading the file whole, and the first frame's pixels through its colour table.
void BM_PictureGif_Baseline(benchmark::State& state) {
  for (auto _ : state) {
    TReadState in{&GifBytes()};
    int error = 0;
    GifFileType* gif = DGifOpen(&in, ReadFromVector, &error);
    DGifSlurp(gif);
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    std::vector<std::uint32_t> pixels(std::size_t(gif->SWidth) * std::size_t(gif->SHeight));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const GifColorType& c = map->Colors[frame.RasterBits[i]];
      pixels[i] = MakeArgb(255, c.Red, c.Green, c.Blue);
    }
    benchmark::DoNotOptimize(pixels.data());
    DGifCloseFile(gif, &error);
  }
}
BENCHMARK(BM_PictureBmp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureBmp_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureBmpFullHd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureBmpFullHd_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PicturePng)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PicturePng_Baseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureGif)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureGif_Baseline)->Unit(benchmark::kMicrosecond);
}  // namespace
