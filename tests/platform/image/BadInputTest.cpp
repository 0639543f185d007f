// Damaged pictures: every decoder must either decode or raise EInvalidGraphic, never
// crash or read outside its input (run under AddressSanitizer in CI).
#include "SampleImages.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/GifCodec.h"
#include "platform/image/IconCodec.h"
#include "platform/image/ImageCodecs.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct TSample {
  const char* Name;
  TByteBuffer Bytes;
  std::function<void(TBytesView)> Decode;
};

std::vector<TSample> Samples() {
  const TRawImage small = GradientImage(9, 5, true);
  TIconFile icon;
  icon.Entries.push_back({small});
  TIconFile cursor = icon;
  cursor.Cursor = true;
  TIconEntry pngEntry;
  pngEntry.Image = GradientImage(256, 2, false);
  cursor.Entries.push_back(pngEntry);
  TBmpBuilder rle;
  rle.Width = 5; rle.Height = 3; rle.BitCount = 8; rle.Compression = BmpRle8;
  rle.Palette = {0xFF0000, 0x00FF00};
  rle.Bits = {3, 1, 0, 2, 1, 1, 0, 3, 0, 1, 0, 0, 0, 0, 5, 1, 0, 1};
  TBmpBuilder rle4 = rle;
  rle4.BitCount = 4; rle4.Compression = BmpRle4;
  TBmpBuilder pal;
  pal.Width = 7; pal.Height = 3; pal.BitCount = 4; pal.Palette = {0xFF0000, 0x00FF00, 0x0000FF};
  pal.Bits.assign(12, 0x12);
  TBmpBuilder fields;
  fields.Width = 3; fields.Height = 2; fields.BitCount = 16; fields.Compression = BmpBitFields;
  fields.Masks = {0xF800, 0x07E0, 0x001F};
  fields.Bits.assign(16, 0xA5);
  std::vector<TGifFrameSpec> frames(2);
  frames[0] = {0, 0, 3, 2, {0, 1, 2, 3, 0, 1}, 5, DISPOSE_PREVIOUS, 1};
  frames[1] = {1, 1, 2, 1, {2, 2}, 5, DISPOSE_BACKGROUND};
  auto bmp = [](TBytesView d) { DecodeBmp(d); };
  return {
      {"PNG", EncodePng(small), [](TBytesView d) { DecodePng(d); }},
      {"JPEG", EncodeJpeg(GradientImage(17, 9, false), 75), [](TBytesView d) { DecodeJpeg(d); }},
      {"GIF", MakeGif(3, 2, {0, 0xFF, 0xFF00, 0xFF0000}, frames, 2), [](TBytesView d) { DecodeGif(d); }},
      {"BMP 32", EncodeBmp(small, 32), bmp},
      {"BMP RLE8", rle.Build(), bmp},
      {"BMP RLE4", rle4.Build(), bmp},
      {"BMP 4", pal.Build(), bmp},
      {"BMP 565", fields.Build(), bmp},
      {"ICO", EncodeIcon(icon), [](TBytesView d) { DecodeIcon(d); }},
      {"CUR", EncodeIcon(cursor), [](TBytesView d) { DecodeIcon(d); }},
  };
}

// Runs the decoder on a copy of exactly these bytes, so reading past them is caught.
void Try(const TSample& s, const TByteBuffer& bytes, const std::string& what) {
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size() ? bytes.size() : 1]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  try {
    s.Decode(TBytesView(exact.get(), bytes.size()));
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find("invalid"), std::string::npos) << e.what();
  } catch (const std::exception& e) {
    ADD_FAILURE() << s.Name << " " << what << ": unexpected " << e.what();
  }
}

// Tiny files that announce huge contents: decoding raises and never takes memory the
// file does not justify. Each decode runs in a child process whose peak memory is read.
TByteBuffer ReadDataFile(const char* name) {
  std::ifstream in(std::string(LORM_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  return TByteBuffer(std::istreambuf_iterator<char>(in), {});
}

// Runs work in a child process; its peak resident memory in MiB beyond the parent's at
// the fork, and whether work raised EInvalidGraphic. Nothing is decoded in this process,
// so its own peak never hides the child's.
struct TChildRun {
  long PeakGrowthMb = 0;
  bool Raised = false;
};
TChildRun RunInChild(const std::function<void()>& work) {
  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  const pid_t child = ::fork();
  if (child == 0) {
    int code = 2;
    try {
      work();
    } catch (const EInvalidGraphic&) {
      code = 1;
    } catch (...) {
    }
    ::_exit(code);
  }
  int status = 0;
  rusage used{};
  ::wait4(child, &status, 0, &used);
  return {(used.ru_maxrss - self.ru_maxrss) / 1024, WIFEXITED(status) && WEXITSTATUS(status) == 1};
}

TEST(BadInput, TinyFilesAnnouncingHugeContentsCostLittleMemory) {
  struct Case {
    const char* file;
    std::function<void(TBytesView)> decode;
  };
  const Case cases[] = {
      {"text-chunk-2gib.png", [](TBytesView d) { DecodePng(d); }},  // 44 bytes, a 2 GiB text chunk
      {"frame-32768.gif", [](TBytesView d) { DecodeGif(d); }},      // 35 bytes, a 32768² frame
      {"screen-header-only.gif", [](TBytesView d) { DecodeGif(d); }},  // 13 bytes, a 48 Mpx screen
      {"core-header-only.bmp", [](TBytesView d) { DecodeDib(d); }},    // 13 bytes, a 41 Mpx bitmap
  };
  for (const Case& c : cases) {
    const TByteBuffer bytes = ReadDataFile(c.file);
    ASSERT_LT(bytes.size(), 64u) << c.file;
    const TChildRun run = RunInChild([&] { c.decode(bytes); });
    EXPECT_TRUE(run.Raised) << c.file;
    EXPECT_LT(run.PeakGrowthMb, 64) << c.file;
  }
}

}  // namespace

TEST(BadInput, SamplesDecodeIntact) {
  for (const TSample& s : Samples()) EXPECT_NO_THROW(s.Decode(s.Bytes)) << s.Name;
}

TEST(BadInput, TruncatedPicturesRaise) {
  for (const TSample& s : Samples()) {
    // Every length for small files, a spread of lengths for larger ones.
    const std::size_t step = std::max<std::size_t>(1, s.Bytes.size() / 300);
    for (std::size_t len = 0; len < s.Bytes.size(); len += step) {
      TByteBuffer cut(s.Bytes.begin(), s.Bytes.begin() + std::ptrdiff_t(len));
      bool raised = false;
      try {
        s.Decode(cut);
      } catch (const EInvalidGraphic&) {
        raised = true;
      }
      // A cut inside the data must not pass as a whole picture; only trailing bytes
      // the format does not need (end markers, padding) may go.
      if (!raised && len + 16 < s.Bytes.size()) ADD_FAILURE() << s.Name << " cut at " << len << " decoded";
      Try(s, cut, "cut at " + std::to_string(len));
    }
  }
}

TEST(BadInput, BitFlippedPicturesNeverCrash) {
  std::mt19937 random(1234);
  for (const TSample& s : Samples()) {
    for (int round = 0; round < 150; ++round) {
      TByteBuffer bytes = s.Bytes;
      int flips = 1 + int(random() % 4);
      for (int i = 0; i < flips; ++i) {
        // Favour the headers, where lying sizes and offsets live.
        std::size_t limit = (round % 2) ? std::min<std::size_t>(bytes.size(), 64) : bytes.size();
        bytes[random() % limit] ^= std::uint8_t(1u << (random() % 8));
      }
      Try(s, bytes, "round " + std::to_string(round));
    }
  }
}

TEST(BadInput, LyingHeadersAreRejectedBeforeAllocating) {
  TBmpBuilder b;
  b.Width = 100000;
  b.Height = 100000;
  b.BitCount = 24;
  EXPECT_THROW(DecodeBmp(b.Build()), EInvalidGraphic);
  b.Width = 4;
  b.Height = 4;  // claims 4×4 but carries no bits
  EXPECT_THROW(DecodeBmp(b.Build()), EInvalidGraphic);
  // An icon directory pointing past the end of the file.
  TByteBuffer ico = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0};
  EXPECT_THROW(DecodeIcon(ico), EInvalidGraphic);
}
