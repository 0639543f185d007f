// Tests of the mark-up pictures (GIF frames and animation steps, loading by address),
// the picture cache and container, how mark-up text reaches them, and TDizImage.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/Deahtml.h"
#include "foundation/DizImage.h"
#include "foundation/PictureContainer.h"
#include "platform/image/PngCodec.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"

namespace {

// A GIF of a 4 × 2 logical screen with one 1 × 1 frame per entry: (left, top, delay, colour index).
TByteBuffer AnimatedGif(std::initializer_list<std::array<int, 4>> frames) {
  TByteBuffer b = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 2, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0};
  for (const auto& f : frames) {
    const std::uint8_t gce[] = {0x21, 0xF9, 4, 0, std::uint8_t(f[2]), 0, 0, 0};
    b.insert(b.end(), std::begin(gce), std::end(gce));
    const std::uint8_t desc[] = {0x2C, std::uint8_t(f[0]), 0, std::uint8_t(f[1]), 0, 1, 0, 1, 0, 0};
    b.insert(b.end(), std::begin(desc), std::end(desc));
    const std::uint8_t data[] = {2, 2, std::uint8_t(f[3] ? 0x4C : 0x44), 0x01, 0};
    b.insert(b.end(), std::begin(data), std::end(data));
  }
  b.push_back(0x3B);
  return b;
}

TByteBuffer Png(int w, int h, std::uint32_t color) { return EncodePng(TRawImage(w, h, color)); }

void Load(TGraphic& g, const TByteBuffer& bytes) {
  TMemoryStream s;
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
  g.LoadFromStream(s);
}

std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

std::string TempFile(const std::string& name, const TByteBuffer& bytes) {
  const std::string path = ::testing::TempDir() + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

}  // namespace

// ---- GIF frames ----------------------------------------------------------------------------------------

TEST(HTMLPicture, GifFramesAndTheirOffsets) {
  THTMLPicture p;
  Load(p, AnimatedGif({{0, 0, 10, 0}, {2, 1, 20, 1}, {3, 0, 30, 0}}));
  EXPECT_TRUE(p.IsGIFFile());
  EXPECT_EQ(p.GetFrameCount(), 3);
  EXPECT_EQ(p.GetFrameTime(1), 10);
  EXPECT_EQ(p.GetFrameTime(3), 30);
  EXPECT_EQ(p.GetFrameTime(4), -1);
  EXPECT_EQ(p.GetWidth(), 1);
  EXPECT_EQ(p.GetMaxWidth(), 4);
  EXPECT_EQ(p.GetMaxHeight(), 2);
  p.SetFrame(2);
  EXPECT_EQ(p.FrameLeft, 2);
  EXPECT_EQ(p.FrameTop, 1);
  EXPECT_EQ(p.ToRawImage().At(0, 0) & 0xFFFFFF, 0u);  // frame 2's own black pixel
  p.SetFrame(3);
  p.FrameNext();
  EXPECT_EQ(p.GetFrame(), 1);
  p.FramePrev();
  EXPECT_EQ(p.GetFrame(), 3);
}

TEST(HTMLPicture, StepFollowsTheFrameDelays) {
  THTMLPicture p;
  Load(p, AnimatedGif({{0, 0, 10, 0}, {0, 0, 20, 1}, {0, 0, 30, 0}}));
  const struct {
    bool changed;
    int frame;
  } steps[] = {// one step is a tenth of a second: frame 2 at 10, 3 at 30, 1 at 60, 2 at 70
               {false, 1}, {false, 1}, {true, 2}, {false, 2}, {true, 3}, {false, 3}, {false, 3}, {true, 1}, {true, 2}};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    EXPECT_EQ(p.Step(), steps[i].changed) << "step " << i;
    EXPECT_EQ(p.GetFrame(), steps[i].frame) << "step " << i;
  }
}

TEST(HTMLPicture, NewBytesStartTheAnimationOver) {
  THTMLPicture p;
  Load(p, AnimatedGif({{0, 0, 10, 0}, {0, 0, 20, 1}}));
  p.SetFrame(2);
  Load(p, Png(3, 2, 0xFF00FF00));
  EXPECT_EQ(p.GetFrame(), 1);
  EXPECT_EQ(p.GetFrameCount(), -1);
  EXPECT_FALSE(p.Step());
  EXPECT_EQ(p.GetWidth(), 3);
}

TEST(HTMLPicture, DamagedGifsNeverReadPastTheirBytes) {
  const TByteBuffer gif = AnimatedGif({{0, 0, 10, 0}, {2, 1, 20, 1}, {3, 0, 30, 0}});
  for (std::size_t n = 0; n < gif.size(); ++n) {
    THTMLPicture p;
    const TByteBuffer part(gif.begin(), gif.begin() + std::ptrdiff_t(n));
    try {
      Load(p, part);
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Could not load image", 0), 0u) << e.what();
    }
    p.GetFrameCount();
    p.GetFrameTime(3);
  }
  THTMLPicture four;
  try {
    Load(four, {'G', 'I', 'F', '8'});
  } catch (const Exception&) {
  }
  EXPECT_FALSE(four.IsGIFFile());
  EXPECT_EQ(four.GetFrameCount(), -1);
}

TEST(HTMLPicture, LoadingByAddress) {
  const std::string path = TempFile("deahtml_picture.png", Png(5, 4, 0xFF0000FF));
  THTMLPicture file;
  file.LoadFromURL("file://" + path);
  EXPECT_FALSE(file.GetEmpty());
  EXPECT_EQ(file.GetWidth(), 5);
  EXPECT_EQ(file.SourceName, "file://" + path);
  THTMLPicture web;
  web.AsyncDownload = false;
  web.LoadFromURL("http://example.invalid/x.png");
  EXPECT_TRUE(web.GetEmpty());
  EXPECT_EQ(web.SourceName, "http://example.invalid/x.png");
  THTMLPicture missing;
  missing.LoadFromFile(path + ".none");
  EXPECT_TRUE(missing.GetEmpty());
  THTMLPicture bad;
  EXPECT_THROW(Load(bad, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}), Exception);
}

TEST(HTMLPicture, AssignCopiesAndForeignSourcesEmpty) {
  THTMLPicture a, b;
  Load(a, Png(2, 2, 0xFFFF0000));
  a.SetStretched(true);
  a.SourceName = "RES://X";
  b.Assign(&a);
  EXPECT_FALSE(b.GetEmpty());
  EXPECT_TRUE(b.GetStretched());
  EXPECT_EQ(b.SourceName, "RES://X");
  TBitmap bmp(2, 2);
  b.Assign(&bmp);
  EXPECT_TRUE(b.GetEmpty());
  b.Assign(nullptr);
  EXPECT_TRUE(b.GetEmpty());
  EXPECT_EQ(b.DataStream().Data().size(), 0u);
}

// ---- cache and container ----------------------------------------------------------------------------------

TEST(PictureStores, ContainerFindsNamesInAnyCase) {
  TPictureContainer container(nullptr);
  TPictureItem* first = container.Items()->Add();
  first->Name = "Logo";
  TPictureItem* second = container.Items()->Add();
  second->Name = "logo";
  EXPECT_EQ(container.FindPicture("LOGO"), first->Picture());
  EXPECT_EQ(container.FindPicture("logo"), first->Picture());
  EXPECT_EQ(container.FindPicture("none"), nullptr);
  EXPECT_EQ(container.GetVersion(), "1.0.0.0");
}

TEST(PictureStores, CacheKeysAreExactAndReplacedPicturesAreFreed) {
  THTMLPictureCache cache;
  THTMLPicture* p = cache.AddPicture();
  p->SourceName = "RES://A";
  EXPECT_EQ(cache.FindPicture("RES://A"), p);
  EXPECT_EQ(cache.FindPicture("res://A"), nullptr);
  cache.SetPicture(0, new THTMLPicture());  // the old one is freed (the leak checker would tell)
  EXPECT_EQ(cache.FindPicture("RES://A"), nullptr);
  EXPECT_FALSE(cache.Animate());
  cache.ClearPictures();
  EXPECT_EQ(cache.Count(), 0);
}

namespace {

struct TPaint {
  std::unique_ptr<TBitmap> bmp = std::make_unique<TBitmap>(200, 40);
  TPaint() {
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect{0, 0, 200, 40});
  }
  int Draw(const std::string& text, THTMLPictureCache* cache, TPictureContainer* container = nullptr) {
    std::string a, plain, focused, title, id, value, type;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot{}, ctrl{};
    HTMLDrawEx(bmp->Canvas(), text, TRect{0, 0, 200, 40}, nullptr, -1, -1, -1, 0, 0, false, false, false, false,
               true, false, true, false, 1.0, clBlue, clNone, clNone, clGray, a, plain, focused, title, ex, ey, links,
               hit, hot, ctrl, id, value, type, cache, container, nullptr);
    return ex;
  }
};

}  // namespace

TEST(PictureStores, MarkupNeverReadsFilesOrFetches) {
  const std::string path = TempFile("deahtml_secret.png", Png(12, 12, 0xFF000000));
  THTMLPictureCache cache;
  TPaint paint;
  EXPECT_EQ(paint.Draw("<IMG SRC=\"FILE://" + path + "\">", &cache), 0);
  EXPECT_EQ(cache.Count(), 0);
  EXPECT_EQ(paint.Draw("<img src=\"http://example.invalid/a.png\">", &cache), 0);
  ASSERT_EQ(cache.Count(), 1);
  EXPECT_TRUE(cache.GetPicture(0)->GetEmpty());
  // A file the program registers is shown (the grid variant reads SRC upper-cased).
  THTMLPicture* registered = cache.AddPicture();
  registered->LoadFromURL("FILE://" + path);
  registered->SourceName = "FILE://" + AsciiUpper(path);
  EXPECT_EQ(paint.Draw("<IMG SRC=\"FILE://" + path + "\">", &cache), 12);
}

TEST(PictureStores, MarkupLoadsResourcesOncePerAddress) {
  const TByteBuffer png = Png(7, 3, 0xFF00FF00);
  RegisterResource(RT_RCDATA, "DEAHTMLTESTPIC", TBytesView(png.data(), png.size()));
  THTMLPictureCache cache;
  TPaint paint;
  EXPECT_EQ(paint.Draw("<IMG SRC=\"res://DeahtmlTestPic\"><IMG SRC=\"RES://DEAHTMLTESTPIC\">", &cache), 14);
  EXPECT_EQ(cache.Count(), 1);
  UnregisterResource(RT_RCDATA, "DEAHTMLTESTPIC");
}

TEST(PictureStores, MarkupPicturesInTheCacheAreBounded) {
  THTMLPictureCache cache;
  cache.AddPicture()->SourceName = "mine";
  TPaint paint;
  std::string text;
  for (int i = 0; i < THTMLPictureCache::kMarkupPictureLimit + 40; ++i)
    text += "<IMG SRC=\"http://h.invalid/" + std::to_string(i) + "\">";
  paint.Draw(text, &cache);
  EXPECT_EQ(cache.Count(), THTMLPictureCache::kMarkupPictureLimit + 1);
  EXPECT_NE(cache.FindPicture("mine"), nullptr);
}

// ---- TDizImage -------------------------------------------------------------------------------------------

TEST(DizImage, SizeFromHimetricAndBytesKept) {
  TBitmap bmp(96, 48);
  TMemoryStream file;
  bmp.SaveToStream(file);
  const TByteBuffer bytes(file.Data().begin(), file.Data().end());
  TDizImage image;
  Load(image, bytes);
  EXPECT_EQ(image.GetWidth(), 96);
  EXPECT_EQ(image.GetHeight(), 48);
  image.SetWidth(500);
  EXPECT_EQ(image.GetWidth(), 96);
  TMemoryStream out;
  image.SaveToStream(out);
  EXPECT_EQ(out.Data(), bytes);
  for (int side : {1, 3, 37}) {
    TDizImage small;
    Load(small, Png(side, side, 0xFF808080));
    EXPECT_EQ(small.GetWidth(), side);
  }
}

TEST(PictureStores, ItemsAssignOnlyFromItems) {
  TPictureContainer a(nullptr), b(nullptr);
  TPictureItem* item = a.Items()->Add();
  item->Name = "n";
  item->Tag = 7;
  Load(*item->Picture(), Png(2, 2, 0xFFFFFFFF));
  b.SetItems(a.Items());
  ASSERT_EQ(b.Items()->Count(), 1);
  EXPECT_EQ(b.Items()->GetItem(0)->Tag, 7);
  EXPECT_FALSE(b.FindPicture("N")->GetEmpty());
  TBitmap bmp;
  EXPECT_THROW(item->Assign(&bmp), EInvalidCast);
}

TEST(DizImage, FailedDecodesLeaveItEmpty) {
  const TByteBuffer junk = {'j', 'u', 'n', 'k', 0, 1, 2, 3};
  TDizImage image;
  Load(image, Png(2, 2, 0xFFFFFFFF));
  try {
    Load(image, junk);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
  }
  EXPECT_TRUE(image.GetEmpty());
  EXPECT_EQ(image.DataStream().Data().size(), 0u);
  TDizImage quiet;
  quiet.LoadFromFile(TempFile("deahtml_junk.bin", junk));
  EXPECT_TRUE(quiet.GetEmpty());
  TDizImage other;
  Load(other, Png(2, 2, 0xFFFFFFFF));
  TBitmap bmp(2, 2);
  other.Assign(&bmp);
  EXPECT_TRUE(other.GetEmpty());
  EXPECT_EQ(other.DataStream().Data().size(), 0u);
}

// ---- the image control ------------------------------------------------------------------------------------

namespace {

class TPaintableImage : public THTMLImage {
public:
  using THTMLImage::THTMLImage;
  void PaintOn(TCanvas* target) {
    Canvas()->SetHandle(target->GetHandle());
    Paint();
    Canvas()->SetHandle(nullptr);
  }
};

}  // namespace

TEST(HTMLImage, PicturePositions) {
  struct Case {
    TPicturePosition position;
    int pictureSide;
    TPoint inside, outside;
  } cases[] = {
      {bpTopLeft, 10, {0, 0}, {12, 12}},          {bpBottomRight, 10, {39, 39}, {28, 28}},
      {bpCenter, 10, {20, 20}, {10, 10}},         {bpCenter, 60, {0, 0}, {-1, -1}},  // larger: at (0, 0)
      {bpTiled, 10, {35, 5}, {-1, -1}},           {bpStretched, 10, {39, 0}, {-1, -1}},
  };
  for (const Case& k : cases) {
    TBitmap target(40, 40);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect{0, 0, 40, 40});
    TPaintableImage image(nullptr);
    image.SetBounds(0, 0, 40, 40);
    THTMLPicture picture;
    Load(picture, Png(k.pictureSide, k.pictureSide, 0xFFFF0000));
    image.SetHTMLPicture(&picture);
    image.SetPicturePosition(k.position);
    image.PaintOn(target.Canvas());
    EXPECT_EQ(target.Canvas()->GetPixel(k.inside.X, k.inside.Y) & 0xFFFFFF, TColor(clRed)) << int(k.position);
    if (k.outside.X >= 0)
      EXPECT_EQ(target.Canvas()->GetPixel(k.outside.X, k.outside.Y) & 0xFFFFFF, TColor(clWhite)) << int(k.position);
  }
}

// ---- stored form ------------------------------------------------------------------------------------------

namespace {

class DataFiler : public TFiler {
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

struct PictureProbe : THTMLPicture {
  void Define(TFiler* f) { DefineProperties(f); }
};

}  // namespace

TEST(HTMLPicture, StoredDataIsTheFileBytes) {
  const TByteBuffer gif = AnimatedGif({{0, 0, 10, 0}, {1, 1, 20, 1}});
  PictureProbe empty;
  DataFiler filer;
  empty.Define(&filer);
  EXPECT_EQ(filer.name, "Data");
  EXPECT_FALSE(filer.hasData);
  PictureProbe source;
  Load(source, gif);
  source.Define(&filer);
  EXPECT_TRUE(filer.hasData);
  TMemoryStream stored;
  filer.write(stored);
  EXPECT_EQ(stored.Data(), gif);
  PictureProbe copy;
  copy.Define(&filer);
  stored.SetPosition(0);
  filer.read(stored);
  EXPECT_FALSE(copy.GetEmpty());
  EXPECT_EQ(copy.GetFrameCount(), 2);
}
