// Images read from and written to COM streams: the stream is read whole from its start
// (or from where it stands when it cannot seek), in whatever pieces it hands out; stream
// failures, full streams and bad arguments come back as status codes.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "GdiPlusTestSupport.h"
#include "platform/image/PngCodec.h"
#include "platform/win/ComStream.h"
#include "tests/support/FifoGuard.h"

namespace {

// A stream over a string that can refuse to seek, hand out short reads, fail reading
// after some bytes, or fill up.
class TestStream final : public IStream {
public:
  explicit TestStream(std::string bytes = {}) : Data(std::move(bytes)) {}
  std::string Data;
  std::size_t Pos = 0;
  bool Seekable = true;
  ULONG MaxChunk = ~0u;
  std::size_t FailReadAt = std::string::npos;  // a read reaching this offset fails
  std::size_t Capacity = std::string::npos;    // writes stop here
  int Reads = 0;

  HRESULT QueryInterface(REFIID, void** p) override {
    if (p) *p = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT Read(void* pv, ULONG cb, ULONG* got) override {
    ++Reads;
    *got = 0;
    if (Pos >= Data.size()) return S_FALSE;
    const std::size_t n = std::min<std::size_t>({cb, MaxChunk, Data.size() - Pos});
    if (FailReadAt != std::string::npos && Pos + n > FailReadAt) return STG_E_READFAULT;
    std::memcpy(pv, Data.data() + Pos, n);
    Pos += n;
    *got = ULONG(n);
    return n < cb ? S_FALSE : S_OK;
  }
  HRESULT Write(const void* pv, ULONG cb, ULONG* put) override {
    const std::size_t room = Capacity == std::string::npos ? cb : (Pos < Capacity ? Capacity - Pos : 0);
    const std::size_t n = std::min<std::size_t>(cb, room);
    if (Pos + n > Data.size()) Data.resize(Pos + n);
    std::memcpy(Data.data() + Pos, pv, n);
    Pos += n;
    if (put) *put = ULONG(n);
    return n == 0 && cb > 0 ? STG_E_MEDIUMFULL : S_OK;
  }
  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* now) override {
    if (!Seekable) return STG_E_INVALIDFUNCTION;
    const std::int64_t base = origin == STREAM_SEEK_SET ? 0 : origin == STREAM_SEEK_CUR ? std::int64_t(Pos)
                                                                                      : std::int64_t(Data.size());
    if (base + move.QuadPart < 0) return STG_E_INVALIDFUNCTION;
    Pos = std::size_t(base + move.QuadPart);
    if (now) now->QuadPart = Pos;
    return S_OK;
  }
  HRESULT SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT Stat(STATSTG* st, DWORD) override {
    if (!Seekable) return E_NOTIMPL;
    *st = STATSTG{};
    st->cbSize.QuadPart = Data.size();
    return S_OK;
  }
  HRESULT Clone(IStream**) override { return E_NOTIMPL; }
};

// 3×2 pixels: red, green, blue on top; a half-transparent white pixel at (0, 1).
std::string SamplePng() {
  TRawImage raw(3, 2, 0xFF000000);
  raw.At(0, 0) = 0xFFFF0000;
  raw.At(1, 0) = 0xFF00FF00;
  raw.At(2, 0) = 0xFF0000FF;
  raw.At(0, 1) = 0x80FFFFFF;
  const TByteBuffer png = EncodePng(raw);
  return std::string(png.begin(), png.end());
}

ARGB PixelOf(GpImage* image, int x, int y) {
  ARGB c = 0;
  EXPECT_EQ(GdipBitmapGetPixel(image, x, y, &c), Ok);
  return c;
}

TEST(GdiPlusStreams, AnImageIsReadFromTheStartOfAStreamLeftAtItsEnd) {
  TestStream s;
  const std::string png = SamplePng();
  s.Write(png.data(), ULONG(png.size()), nullptr);  // written, not rewound
  GpImage* image = nullptr;
  ASSERT_EQ(GdipLoadImageFromStream(&s, &image), Ok);
  unsigned w = 0, h = 0;
  GdipGetImageWidth(image, &w);
  GdipGetImageHeight(image, &h);
  EXPECT_EQ(w, 3u);
  EXPECT_EQ(h, 2u);
  GUID format;
  GdipGetImageRawFormat(image, &format);
  EXPECT_TRUE(format == ImageFormatPNG);
  EXPECT_EQ(PixelOf(image, 2, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelOf(image, 0, 1) >> 24, 0x80u);
  // A second image from the same stream, as a bitmap.
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromStream(&s, &bitmap), Ok);
  EXPECT_EQ(PixelOf(bitmap, 1, 0), 0xFF00FF00u);
  GdipDisposeImage(bitmap);
  GdipDisposeImage(image);
}

TEST(GdiPlusStreams, AStreamThatCannotSeekIsReadFromWhereItStandsInAnyPieces) {
  TestStream s("junk" + SamplePng());
  s.Pos = 4;
  s.Seekable = false;
  s.MaxChunk = 3;
  GpImage* image = nullptr;
  ASSERT_EQ(GdipLoadImageFromStreamICM(&s, &image), Ok);
  EXPECT_GT(s.Reads, 10);
  EXPECT_EQ(PixelOf(image, 0, 0), 0xFFFF0000u);
  GdipDisposeImage(image);
}

TEST(GdiPlusStreams, FailuresComeBackAsStatusWithoutAnImage) {
  const std::string png = SamplePng();
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t failAt;
    Status expected;
  };
  const Case cases[] = {
      {"read error", png, 10, Win32Error},
      {"empty stream", "", std::string::npos, UnknownImageFormat},
      {"not an image", "hello, world", std::string::npos, UnknownImageFormat},
      {"damaged PNG", png.substr(0, png.size() / 2), std::string::npos, GenericError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestStream s(c.bytes);
    s.FailReadAt = c.failAt;
    GpImage* image = reinterpret_cast<GpImage*>(1);
    EXPECT_EQ(GdipLoadImageFromStream(&s, &image), c.expected);
    EXPECT_EQ(image, nullptr);
  }
  GpImage* image = reinterpret_cast<GpImage*>(1);
  EXPECT_EQ(GdipLoadImageFromStream(nullptr, &image), InvalidParameter);
  EXPECT_EQ(image, nullptr);
  TestStream s(png);
  EXPECT_EQ(GdipCreateBitmapFromStreamICM(&s, nullptr), InvalidParameter);
}

TEST(GdiPlusStreams, SavingWritesAtTheStreamsPositionAndReportsAFullStream) {
  GpBitmap* bitmap = nullptr;
  ASSERT_EQ(GdipCreateBitmapFromScan0(5, 4, 0, PixelFormat32bppARGB, nullptr, &bitmap), Ok);
  ASSERT_EQ(GdipBitmapSetPixel(bitmap, 4, 3, 0xFF336699), Ok);
  TestStream s("head");
  s.Pos = 4;
  ASSERT_EQ(GdipSaveImageToStream(bitmap, &s, &EncoderClsidPNG, nullptr), Ok);
  EXPECT_EQ(s.Data.substr(0, 4), "head");
  EXPECT_EQ(s.Data.substr(5, 3), "PNG");
  EXPECT_EQ(s.Pos, s.Data.size());
  const std::string saved = s.Data.substr(4);
  GpImage* back = nullptr;
  ASSERT_EQ(GdipLoadImageFromMemory(saved.data(), saved.size(), &back), Ok);
  EXPECT_EQ(PixelOf(back, 4, 3), 0xFF336699u);
  EXPECT_EQ(PixelOf(back, 0, 0), 0u);
  GdipDisposeImage(back);

  TestStream full;
  full.Capacity = 20;
  EXPECT_EQ(GdipSaveImageToStream(bitmap, &full, &EncoderClsidBMP, nullptr), Win32Error);
  const CLSID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  TestStream other;
  EXPECT_EQ(GdipSaveImageToStream(bitmap, &other, &unknown, nullptr), UnknownImageFormat);
  EXPECT_TRUE(other.Data.empty());
  EXPECT_EQ(GdipSaveImageToStream(bitmap, nullptr, &EncoderClsidPNG, nullptr), InvalidParameter);
  EXPECT_EQ(GdipSaveImageToStream(nullptr, &other, &EncoderClsidPNG, nullptr), InvalidParameter);
  EXPECT_EQ(GdipSaveImageToStream(bitmap, &other, nullptr, nullptr), InvalidParameter);
  GdipDisposeImage(bitmap);
}

}  // namespace

// A folder, a FIFO or an endless device named as an image file: a failure status, no
// image, no exception and no hang.
TEST(GdiPlusStreams, OddFilesComeBackAsStatusWithoutBlocking) {
  char pattern[] = "/tmp/lorm-gdipfile-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string dir = pattern, fifo = dir + "/image.png";
  ASSERT_TRUE(MakeFifo(fifo));
  struct Case {
    std::string path;
    Status expected;
  };
  const std::string big = dir + "/big.png";  // sparse, one byte beyond the 1 GiB cap
  std::ofstream(big).close();
  std::filesystem::resize_file(big, (std::uintmax_t(1) << 30) + 1);
  const Case cases[] = {{dir, Win32Error}, {fifo, Win32Error}, {"/dev/zero", Win32Error},
                        {dir + "/missing.png", FileNotFound}, {big, OutOfMemory}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::u16string name(c.path.begin(), c.path.end());
    GpImage* image = reinterpret_cast<GpImage*>(1);
    Status status = Ok;
    ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] { status = GdipLoadImageFromFile(name.c_str(), &image); }));
    EXPECT_EQ(status, c.expected);
    EXPECT_EQ(image, nullptr);
  }
  std::filesystem::remove_all(dir);
}
