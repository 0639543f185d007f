// Tests of TGDIPPicture: the file bytes kept unchanged, the stored "Data" property,
// loading, assigning, notifications and drawing (PNG scaled, BMP at its own size with
// automatic transparency).
#include "foundation/GDIPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/PngCodec.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"
#include "tests/support/FifoGuard.h"

namespace {

// A 4×4 PNG: left half red, right half blue, the bottom-right pixel half transparent.
TByteBuffer SamplePng() {
  TRawImage img(4, 4, MakeArgb(255, 255, 0, 0));
  for (int y = 0; y < 4; ++y)
    for (int x = 2; x < 4; ++x) img.At(x, y) = MakeArgb(255, 0, 0, 255);
  img.At(3, 3) = MakeArgb(128, 0, 0, 255);
  return EncodePng(img);
}

// A 4×4 BMP: lime with a fuchsia bottom-left pixel (the automatic transparent colour).
std::string SampleBmp() {
  TBitmap bmp(4, 4);
  bmp.Canvas()->Brush()->SetColor(clLime);
  bmp.Canvas()->FillRect(TRect{0, 0, 4, 4});
  bmp.Canvas()->SetPixel(0, 3, clFuchsia);
  TMemoryStream s;
  bmp.SaveToStream(s);
  return s.DataString();
}

std::string AsString(const TByteBuffer& b) { return std::string(b.begin(), b.end()); }

std::string TempFile(const std::string& name, const std::string& bytes) {
  const std::string path = ::testing::TempDir() + "gdipicture_" + name;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

// Records the binary property a picture defines and lets the test run its procedures.
class RecordingFiler : public TFiler {
public:
  void DefineProperty(const std::string&, const TReaderProc&, const TWriterProc&, bool) override {}
  void DefineBinaryProperty(const std::string& Name, const TStreamProc& Read, const TStreamProc& Write,
                            bool HasData) override {
    name = Name;
    read = Read;
    write = Write;
    hasData = HasData;
  }
  std::string name;
  TStreamProc read, write;
  bool hasData = false;
};

struct PictureProbe : TGDIPPicture {
  void Define(TFiler* f) { DefineProperties(f); }
};

}  // namespace

TEST(GDIPicture, BytesAreKeptUnchangedAndSizeComesFromDecoding) {
  const std::string png = AsString(SamplePng());
  TGDIPPicture pic;
  EXPECT_TRUE(pic.GetEmpty());
  TStringStream in(png);
  pic.LoadFromStream(in);
  EXPECT_FALSE(pic.GetEmpty());
  EXPECT_EQ(pic.GetWidth(), 4);
  EXPECT_EQ(pic.GetHeight(), 4);
  TMemoryStream out;
  pic.SaveToStream(out);
  EXPECT_EQ(out.DataString(), png);
  pic.SaveToStream(static_cast<TStream*>(nullptr));
  pic.LoadFromStream(static_cast<TStream*>(nullptr));
  EXPECT_EQ(pic.DataStream().DataString(), png);

  const TRawImage raw = pic.ToRawImage();
  ASSERT_EQ(raw.Width, 4);
  EXPECT_EQ(raw.At(0, 0), MakeArgb(255, 255, 0, 0));
  EXPECT_EQ(raw.At(3, 0), MakeArgb(255, 0, 0, 255));
  EXPECT_EQ(ArgbAlpha(raw.At(3, 3)), 128);
}

TEST(GDIPicture, StoredDataPropertyRoundTrip) {
  const std::string png = AsString(SamplePng());
  PictureProbe empty;
  RecordingFiler filer;
  empty.Define(&filer);
  EXPECT_EQ(filer.name, "Data");
  EXPECT_FALSE(filer.hasData);

  PictureProbe source;
  TStringStream in(png);
  source.LoadFromStream(in);
  source.Define(&filer);
  EXPECT_TRUE(filer.hasData);
  TMemoryStream stored;
  filer.write(stored);
  EXPECT_EQ(stored.DataString(), png);

  // Reading the stored form does not compute the size.
  PictureProbe target;
  target.Define(&filer);
  stored.SetPosition(0);
  filer.read(stored);
  EXPECT_FALSE(target.GetEmpty());
  EXPECT_EQ(target.GetWidth(), 0);
  EXPECT_EQ(target.GetHeight(), 0);
  EXPECT_TRUE(target.GetImageSizes());
  EXPECT_EQ(target.GetWidth(), 4);
  EXPECT_EQ(target.DataStream().DataString(), png);
}

TEST(GDIPicture, NotificationOrder) {
  const std::string path = TempFile("order.png", AsString(SamplePng()));
  TGDIPPicture pic;
  std::vector<std::string> log;
  pic.OnChange = [&](TObject*) { log.push_back("change"); };
  pic.OnClear = [&](TObject*) { log.push_back("clear"); };
  pic.LoadFromFile(path);
  EXPECT_EQ(log, (std::vector<std::string>{"clear", "change"}));
  EXPECT_EQ(pic.GetWidth(), 4);
  log.clear();
  pic.Assign(nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"change", "clear"}));
  EXPECT_TRUE(pic.GetEmpty());
  EXPECT_TRUE(pic.DataStream().Data().empty());
  std::remove(path.c_str());
}

TEST(GDIPicture, FailedFileLoadLeavesAnEmptyPictureQuietly) {
  TGDIPPicture pic;
  TStringStream in(AsString(SamplePng()));
  pic.LoadFromStream(in);
  int events = 0;
  pic.OnChange = [&](TObject*) { ++events; };
  pic.OnClear = [&](TObject*) { ++events; };
  EXPECT_NO_THROW(pic.LoadFromFile(::testing::TempDir() + "gdipicture_missing.png"));
  EXPECT_TRUE(pic.GetEmpty());
  EXPECT_EQ(events, 0);
}

TEST(GDIPicture, AssignFromPicturesAndBitmaps) {
  TGDIPPicture source;
  TStringStream in(AsString(SamplePng()));
  source.LoadFromStream(in);

  TGDIPPicture copy;
  copy.Assign(&source);
  EXPECT_FALSE(copy.GetEmpty());
  EXPECT_EQ(copy.GetWidth(), 4);
  EXPECT_EQ(copy.DataStream().DataString(), source.DataStream().DataString());

  TGDIPPicture none;
  copy.Assign(&none);  // a picture with no bytes
  EXPECT_TRUE(copy.GetEmpty());

  TBitmap bmp(3, 2);
  copy.Assign(&bmp);
  EXPECT_FALSE(copy.GetEmpty());
  EXPECT_EQ(copy.GetWidth(), 3);
  EXPECT_EQ(copy.GetHeight(), 2);
  EXPECT_EQ(copy.DataStream().DataString().substr(0, 2), "BM");

  TPicture holder;
  holder.SetGraphic(&bmp);
  copy.Assign(&holder);
  EXPECT_FALSE(copy.GetEmpty());
  EXPECT_EQ(copy.GetWidth(), 3);
  TPicture blank;
  copy.Assign(&blank);
  EXPECT_TRUE(copy.GetEmpty());

  // A source it cannot take: an error, and the picture is kept.
  copy.Assign(&source);
  TStringList other;
  EXPECT_THROW(copy.Assign(&other), EConvertError);
  EXPECT_FALSE(copy.GetEmpty());
  EXPECT_EQ(copy.DataStream().DataString(), source.DataStream().DataString());
}

TEST(GDIPicture, LoadFromUrlResourcesAndFiles) {
  const std::string png = AsString(SamplePng());
  const TByteBuffer bytes = SamplePng();
  RegisterResource(RT_RCDATA, "GDIPICTEST", TBytesView(bytes));
  RegisterResource(RT_RCDATA, 4711, TBytesView(bytes));

  TGDIPPicture pic;
  pic.LoadFromURL("http://example.invalid/a.png");
  EXPECT_TRUE(pic.GetEmpty());
  pic.LoadFromURL("res://");
  EXPECT_TRUE(pic.GetEmpty());
  pic.LoadFromURL("res://GDIPICTEST");
  EXPECT_FALSE(pic.GetEmpty());
  EXPECT_EQ(pic.GetWidth(), 4);
  pic.LoadFromURL("http://example.invalid/b.png");  // a web address leaves it as it was
  EXPECT_FALSE(pic.GetEmpty());

  TGDIPPicture byName;
  byName.LoadFromResourceName(nullptr, "NO_SUCH_PICTURE");
  EXPECT_TRUE(byName.GetEmpty());
  TGDIPPicture byId;
  byId.LoadFromResourceID(nullptr, 4711);
  EXPECT_EQ(byId.DataStream().DataString(), png);
  EXPECT_THROW(byId.LoadFromResourceID(nullptr, 4712), EResNotFound);

  const std::string path = TempFile("url.png", png);
  TGDIPPicture fromFile;
  fromFile.LoadFromURL("FILE://" + path);
  EXPECT_EQ(fromFile.DataStream().DataString(), png);
  std::remove(path.c_str());
  UnregisterResource(RT_RCDATA, "GDIPICTEST");
  UnregisterResource(RT_RCDATA, 4711);
}

TEST(GDIPicture, DrawsPngScaledAndBmpAtItsOwnSizeWithTransparency) {
  TBitmap target(60, 30);
  TCanvas* c = target.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, 60, 30});

  TGDIPPicture png;
  TStringStream in(AsString(SamplePng()));
  png.LoadFromStream(in);
  c->StretchDraw(TRect{2, 2, 10, 10}, &png);  // twice the picture's size

  TGDIPPicture bmp;
  TStringStream bin(SampleBmp());
  bmp.LoadFromStream(bin);
  EXPECT_EQ(bmp.GetWidth(), 4);
  c->StretchDraw(TRect{20, 2, 40, 22}, &bmp);  // drawn unscaled at the top-left

  const TByteBuffer shot = EncodePng(target.ToRawImage());
  TempFile("draw.png", AsString(shot));

  auto at = [&](int x, int y) { return c->GetPixel(x, y) & 0xFFFFFF; };
  EXPECT_EQ(at(3, 3), clRed);
  EXPECT_EQ(at(4, 8), clRed);    // scaled: the left half covers 2..5
  EXPECT_EQ(at(8, 3), clBlue);   // the right half 6..9
  EXPECT_EQ(at(11, 5), clWhite);
  EXPECT_EQ(at(21, 2), clLime);
  EXPECT_EQ(at(23, 5), clLime);
  EXPECT_EQ(at(20, 5), clWhite);  // the bottom-left colour is transparent
  EXPECT_EQ(at(24, 2), clWhite);  // not stretched
  EXPECT_EQ(at(30, 10), clWhite);

  // Straight onto a GDI+ surface at its own size.
  TGPBitmap surface(10, 10);
  TGPGraphics g(&surface);
  png.DrawImage(&g, 3, 3);
  ARGB px = 0;
  ASSERT_EQ(surface.GetPixel(3, 3, px), Ok);
  EXPECT_EQ(px, 0xFFFF0000u);
  ASSERT_EQ(surface.GetPixel(6, 3, px), Ok);
  EXPECT_EQ(px, 0xFF0000FFu);
  ASSERT_EQ(surface.GetPixel(7, 3, px), Ok);
  EXPECT_EQ(GetAlpha(px), 0);
  TGDIPPicture empty;
  empty.DrawImage(&g, 0, 0);  // nothing, no failure
  EXPECT_EQ(g.GetLastStatus(), Ok);
}

TEST(GDIPicture, AFifoNamedAsAPictureLeavesItEmptyWithoutBlocking) {
  char pattern[] = "/tmp/lorm-gdipicture-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string fifo = std::string(pattern) + "/image.png";
  ASSERT_TRUE(MakeFifo(fifo));
  TGDIPPicture pic;
  ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] { pic.LoadFromFile(fifo); }));
  EXPECT_TRUE(pic.GetEmpty());
  std::remove(fifo.c_str());
  ::rmdir(pattern);
}
