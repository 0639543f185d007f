// GDI+ images made from and saved to COM streams through the object layer, as the
// components use them: an image and a bitmap built over one stream on global memory, a
// stream over a framework stream, saving into a stream, and a GDI+ picture whose bytes
// travel through such streams.
#include <gtest/gtest.h>

#include <string>

#include "foundation/DizGDIP.h"
#include "foundation/GDIPicture.h"
#include "platform/image/PngCodec.h"
#include "platform/win/ComStream.h"

namespace {

struct StreamRef {
  IStream* p = nullptr;
  ~StreamRef() {
    if (p) p->Release();
  }
};

struct ImageProbe : TGPImage {
  using TGPImage::TGPImage;
  Status Last() const { return FLastStatus; }
};

// 6×4: the left half red, the right half blue, the bottom-left pixel green.
TByteBuffer SamplePng() {
  TRawImage img(6, 4, MakeArgb(255, 255, 0, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 3; x < 6; ++x) img.At(x, y) = MakeArgb(255, 0, 0, 255);
  img.At(0, 3) = MakeArgb(255, 0, 255, 0);
  return EncodePng(img);
}

// A stream on a new global memory block holding the bytes, left at their end as a writer
// leaves it.
void WriteToHGlobalStream(const TByteBuffer& bytes, StreamRef& s) {
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  ULONG written = 0;
  ASSERT_EQ(s.p->Write(bytes.data(), ULONG(bytes.size()), &written), S_OK);
  ASSERT_EQ(written, bytes.size());
}

TEST(StreamImage, ImageAndBitmapFromOneStreamOnGlobalMemory) {
  StreamRef s;
  WriteToHGlobalStream(SamplePng(), s);
  TGPImage image(s.p);
  ASSERT_NE(image.GetNativeImage(), nullptr);
  EXPECT_EQ(image.GetFormat(), ifPNG);
  EXPECT_EQ(int(image.GetFormat()), 6);
  EXPECT_EQ(image.GetWidth(), 6u);
  EXPECT_EQ(image.GetHeight(), 4u);
  // The bottom-left pixel as a colour key, the way bitmap pictures are drawn.
  std::unique_ptr<TGPBitmap> bitmap(TGPBitmap::FromStream(s.p, true));
  ARGB key = 0;
  ASSERT_EQ(bitmap->GetPixel(0, int(bitmap->GetHeight()) - 1, key), Ok);
  EXPECT_EQ(key, 0xFF00FF00u);
  ARGB right = 0;
  ASSERT_EQ(bitmap->GetPixel(5, 0, right), Ok);
  EXPECT_EQ(right, 0xFF0000FFu);
}

TEST(StreamImage, BmpThroughAnAdapterOverAFrameworkStream) {
  TBitmap source(3, 2);
  source.Canvas()->Brush()->SetColor(clYellow);
  source.Canvas()->FillRect(TRect{0, 0, 3, 2});
  auto* memory = new TMemoryStream;
  source.SaveToStream(*memory);
  StreamRef s;
  s.p = new TStreamAdapter(memory, soOwned);
  TGPBitmap bitmap(s.p);
  EXPECT_EQ(bitmap.GetFormat(), ifBMP);
  EXPECT_EQ(int(bitmap.GetFormat()), 2);
  ARGB c = 0;
  ASSERT_EQ(bitmap.GetPixel(2, 1, c), Ok);
  EXPECT_EQ(c, 0xFFFFFF00u);
}

TEST(StreamImage, AFailedStreamLeavesNoImageAndKeepsTheStatus) {
  TMemoryStream junk;
  junk.WriteString("not a picture at all");
  StreamRef s;
  s.p = new TStreamAdapter(&junk);
  ImageProbe image(s.p);
  EXPECT_EQ(image.GetNativeImage(), nullptr);
  EXPECT_EQ(image.Last(), UnknownImageFormat);
  EXPECT_EQ(image.GetWidth(), 0u);
  EXPECT_EQ(image.GetFormat(), ifUndefined);
  ImageProbe none(static_cast<IStream*>(nullptr));
  EXPECT_EQ(none.Last(), InvalidParameter);
}

TEST(StreamImage, SavedIntoAStreamAndBackIntoAPicture) {
  TGPBitmap bitmap(8, 5);
  TGPGraphics g(&bitmap);
  TGPSolidBrush green(0xFF00A000);
  g.FillRectangle(&green, 0, 0, 8, 5);
  ASSERT_EQ(bitmap.SetPixel(7, 4, 0xFFFF8000), Ok);

  // Into global memory: the block holds the encoded file.
  StreamRef s;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &s.p), S_OK);
  ASSERT_EQ(bitmap.Save(s.p, EncoderClsidPNG), Ok);
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(s.p, &block), S_OK);
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  const std::string file(reinterpret_cast<const char*>(bytes), GlobalSize(block));
  GlobalUnlock(block);
  EXPECT_EQ(file.substr(1, 3), "PNG");

  // Into a framework stream, then loaded by a picture, which decodes its own copy.
  TMemoryStream memory;
  StreamRef adapter;
  adapter.p = new TStreamAdapter(&memory);
  ASSERT_EQ(bitmap.Save(adapter.p, EncoderClsidPNG), Ok);
  EXPECT_EQ(memory.DataString(), file);
  memory.SetPosition(0);
  TGDIPPicture picture;
  picture.LoadFromStream(memory);
  EXPECT_EQ(picture.GetWidth(), 8);
  EXPECT_EQ(picture.GetHeight(), 5);
  TGPBitmap target(10, 10);
  TGPGraphics tg(&target);
  picture.DrawImage(&tg, 1, 1);
  ARGB c = 0;
  ASSERT_EQ(target.GetPixel(8, 5, c), Ok);
  EXPECT_EQ(c, 0xFFFF8000u);
  ASSERT_EQ(target.GetPixel(1, 1, c), Ok);
  EXPECT_EQ(c, 0xFF00A000u);

  // An unknown encoder or no image: the status says so.
  const CLSID unknown = {9, 9, 9, {9, 9, 9, 9, 9, 9, 9, 9}};
  EXPECT_EQ(bitmap.Save(s.p, unknown), UnknownImageFormat);
  TGPImage empty(static_cast<IStream*>(nullptr));
  EXPECT_EQ(empty.Save(s.p, EncoderClsidPNG), InvalidParameter);
}

}  // namespace
