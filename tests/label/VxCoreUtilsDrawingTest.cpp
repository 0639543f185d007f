// VxCoreUtils drawing: multi-line text, zoom frame, bumps, item mark-up, fitting,
// smoothing, the blit overloads, RLE coding and icons on the clipboard.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "label/VxCoreUtils.h"
#include "platform/backend/Headless.h"
#include "platform/gdi/Gdi.h"
#include "platform/image/IconCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinIcon.h"
#include "platform/win/WinUser.h"

using namespace VxCoreUtils;
namespace fs = std::filesystem;

namespace {

class Drawing : public ::testing::Test {
protected:
  Drawing() : bmp(120, 60) {
    bmp.SetPixelFormat(pf32bit);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect{0, 0, 120, 60});
  }
  TCanvas* C() { return bmp.Canvas(); }
  TColor Px(int X, int Y) { return C()->GetPixel(X, Y) & 0xFFFFFF; }
  // Saves the bitmap as a PNG for a person to look at.
  void SavePng(TBitmap& B, const std::string& Name) {
    const fs::path dir = fs::temp_directory_path() / "lorm-label";
    fs::create_directories(dir);
    const TByteBuffer png = EncodePng(B.ToRawImage());
    std::ofstream((dir / Name).string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  }
  THeadlessScope scope;
  TBitmap bmp;
};

std::string Bytes(TMemoryStream& S) {
  return std::string(static_cast<const char*>(S.Memory()), static_cast<std::size_t>(S.Size()));
}

std::string Compress(const std::string& In) {
  TMemoryStream a, b;
  a.Write(In.data(), static_cast<int64_t>(In.size()));
  RleCompressTo(a, b);
  return Bytes(b);
}

std::string Expand(const std::string& In) {
  TMemoryStream a, b;
  a.Write(In.data(), static_cast<int64_t>(In.size()));
  RleDecompressTo(a, b);
  return Bytes(b);
}

// A two-image icon file: 16 x 16 red and 32 x 32 blue.
std::unique_ptr<TIcon> MakeIcon() {
  TIconFile file;
  for (auto [size, colour] : {std::pair{16, 0xFFFF0000u}, std::pair{32, 0xFF0000FFu}}) {
    TIconEntry e;
    e.Image.Width = e.Image.Height = size;
    e.Image.Pixels.assign(static_cast<std::size_t>(size * size), colour);
    file.Entries.push_back(e);
  }
  const TByteBuffer bytes = EncodeIcon(file);
  auto icon = std::make_unique<TIcon>();
  icon->LoadFromBytes(TBytesView(bytes.data(), bytes.size()));
  return icon;
}

}  // namespace

// --- item mark-up --------------------------------------------------------------------------

TEST(VxCoreUtilsMarkup, PlainTextWithoutCanvas) {
  EXPECT_EQ(ItemHtPlain("<b>bold</b> <c:Red>red\r\nnext"), "bold rednext");
  EXPECT_EQ(ItemHtPlain("a<x>b<"), "a<x>b<");
  EXPECT_EQ(ItemHtPlain("<B>A</B><I>i</I><U>u</U>"), "Aiu");
  EXPECT_EQ(ItemHtPlain("<c:>x"), "x");
  EXPECT_EQ(ItemHtPlain("<c:Blue"), "");
  EXPECT_EQ(ItemHtPlain("a\rb\nc"), "a\rb\nc");
}

TEST_F(Drawing, ItemMarkupColoursWidthAndRestore) {
  C()->Font()->SetColor(clBlack);
  C()->Font()->SetStyle({});
  EXPECT_EQ(ItemHtWidth(C(), TRect{10, 0, 100, 20}, 0, "ab\r\nc", false), C()->TextWidth("c") + 4);

  struct Case {
    const char* Text;
    TColor Expected;
  } cases[] = {{"<c:Red>x", clRed}, {"<c:$0000FF>x", TColor(0xFF)}, {"<c:Nothing>x", clBlack},
               {"<c:123>x", clBlack}, {"<c:>x", clBlack}};
  for (const Case& c : cases) {
    // The colour in force is seen by the ink of a wide glyph drawn with it.
    bmp.Canvas()->Brush()->SetColor(clWhite);
    ItemHtDraw(C(), TRect{0, 0, 120, 30}, 0, std::string(c.Text) + "\xE2\x96\x88\xE2\x96\x88", false);
    EXPECT_EQ(Px(2 + C()->TextWidth("x") + 3, 8), c.Expected & 0xFFFFFF) << c.Text;
    EXPECT_EQ(C()->Font()->GetColor(), clBlack);  // restored
  }
  ItemHtDraw(C(), TRect{0, 0, 120, 30}, 0, "<b>left bold", false);
  EXPECT_FALSE(C()->Font()->GetStyle().Contains(fsBold));

  // Selected: colour tags change nothing unless the selection is ignored.
  C()->Brush()->SetColor(clHighlight);
  C()->Font()->SetColor(clHighlightText);
  ItemHtDraw(C(), TRect{0, 0, 120, 30}, 1, "<c:Red>\xE2\x96\x88\xE2\x96\x88", false);
  EXPECT_EQ(Px(6, 8), ColorToRGB(clHighlightText) & 0xFFFFFF);
  ItemHtDraw(C(), TRect{0, 0, 120, 30}, 1, "<c:Red>\xE2\x96\x88\xE2\x96\x88", true);
  EXPECT_EQ(Px(6, 8), clRed);
  EXPECT_EQ(Px(100, 25), ColorToRGB(clWindow) & 0xFFFFFF);

  ItemHtDraw(C(), TRect{0, 0, 120, 60}, 0, "<b>Bold</b> and <c:Red>red\r\n<i>italic</i> <u>under</u>", true);
  SavePng(bmp, "itemht-draw.png");
}

TEST_F(Drawing, MultiLineText) {
  const int h = C()->TextHeight("A");
  EXPECT_EQ(RATextCalcHeight(C(), TRect{0, 0, 50, 50}, "a\r\nb\nc"), 3 * h);
  EXPECT_EQ(Px(3, 3), clWhite);  // measuring draws nothing
  EXPECT_EQ(RATextOut(C(), TRect{0, 0, 50, 50}, TRect{0, 0, 50, 50}, ""), 0);
  C()->Font()->SetColor(clBlack);
  RATextOut(C(), TRect{0, 0, 120, 60}, TRect{0, 0, 120, h}, "\xE2\x96\x88\xE2\x96\x88\r\n\xE2\x96\x88\xE2\x96\x88");
  RATextOut(C(), TRect{60, 0, 120, 60}, TRect{0, 0, 120, 60}, "one\r\ntwo\nthree");
  SavePng(bmp, "ratextout.png");
  EXPECT_EQ(Px(4, h / 2), clBlack);
  EXPECT_EQ(Px(4, h + h / 2), clWhite);  // the second line lies outside the clip
}

TEST_F(Drawing, RoughedBumpsAndCinema) {
  TBitmap small(8, 8);
  small.SetPixelFormat(pf32bit);
  small.Canvas()->Brush()->SetColor(clBtnFace);
  small.Canvas()->FillRect(TRect{0, 0, 8, 8});
  Roughed(small.Canvas(), TRect{0, 0, 8, 8}, false);
  const TColor hi = ColorToRGB(clBtnHighlight) & 0xFFFFFF;
  // 3 x 3 bumps: columns 0, 4, 8 (the last outside), column 0 moved down by 2.
  EXPECT_EQ(small.Canvas()->GetPixel(0, 2) & 0xFFFFFF, hi);
  EXPECT_EQ(small.Canvas()->GetPixel(4, 0) & 0xFFFFFF, hi);
  EXPECT_EQ(small.Canvas()->GetPixel(4, 4) & 0xFFFFFF, hi);
  EXPECT_EQ(small.Canvas()->GetPixel(0, 0) & 0xFFFFFF, ColorToRGB(clBtnFace) & 0xFFFFFF);
  EXPECT_EQ(small.Canvas()->Pen()->GetWidth(), 1);

  TBitmap big(64, 64);
  big.Canvas()->Brush()->SetColor(clBtnFace);
  big.Canvas()->FillRect(TRect{0, 0, 64, 64});
  Roughed(big.Canvas(), TRect{0, 0, 64, 64}, true);
  SavePng(big, "roughed.png");

  const TRawImage before = bmp.ToRawImage();
  C()->Pen()->SetColor(clRed);
  Cinema(C(), TRect{10, 10, 30, 30}, TRect{50, 20, 110, 50});
  EXPECT_EQ(bmp.ToRawImage().Pixels, before.Pixels);
  EXPECT_EQ(C()->Pen()->GetColor(), clRed);
  EXPECT_EQ(C()->Pen()->GetMode(), pmCopy);
}

// --- fitting, rectangles, smoothing, blits ---------------------------------------------------

TEST_F(Drawing, RectanglesAndFitting) {
  const TRect r{0, 0, 10, 10};
  EXPECT_TRUE(PtInRectInclusive(r, TPoint{10, 10}));
  EXPECT_FALSE(PtInRectExclusive(r, TPoint{0, 5}));
  EXPECT_TRUE(PtInRectExclusive(r, TPoint{1, 1}));
  EXPECT_EQ(RectWidth(TRect{3, 4, 10, 20}), 7);
  EXPECT_EQ(RectHeight(TRect{3, 4, 10, 20}), 16);
  EXPECT_EQ(MinimizeText("abc", C(), 200), "abc");
  EXPECT_EQ(MinimizeText("abcdefghij", C(), C()->TextWidth("...")), "...");
  const std::string cut = MinimizeText("abcdefghijklmnop", C(), C()->TextWidth("abcdefg..."));
  EXPECT_LE(C()->TextWidth(cut), C()->TextWidth("abcdefg..."));
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  const std::string path = "/home/user/documents/very/long/folder/name/file.txt";
  const std::string m = MinimizeFileName(path, C(), 120);
  EXPECT_LE(C()->TextWidth(m), 120);
  EXPECT_NE(m.find("file.txt"), std::string::npos);
  EXPECT_EQ(MinimizeFileName("a.txt", C(), 200), "a.txt");
}

TEST_F(Drawing, AntiAliasAveragesFourNeighbours) {
  TBitmap b(3, 3);
  b.SetPixelFormat(pf24bit);
  const TColor cols[9] = {clBlack, TColor(0x0000FF), clBlack, TColor(0x00FF00), clWhite,
                          TColor(0xFF0000),       clBlack, TColor(0x102030), clBlack};
  for (int i = 0; i < 9; ++i) b.Canvas()->SetPixel(i % 3, i / 3, cols[i]);
  AntiAlias(&b);
  // (0x0000FF + 0x00FF00 + 0xFF0000 + 0x102030) per channel, divided by 4 and truncated.
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1) & 0xFFFFFF, TColor((0x10 + 0xFF) / 4 << 16 | (0x20 + 0xFF) / 4 << 8 | (0x30 + 0xFF) / 4));
  EXPECT_EQ(b.Canvas()->GetPixel(0, 1) & 0xFFFFFF, 0x00FF00);
  EXPECT_EQ(b.GetPixelFormat(), pf24bit);

  TBitmap thin(2, 5);
  thin.Canvas()->SetPixel(0, 2, clRed);
  AntiAlias(&thin);
  EXPECT_EQ(thin.Canvas()->GetPixel(0, 2) & 0xFFFFFF, clRed);

  TBitmap stripes(60, 40);
  stripes.SetPixelFormat(pf24bit);
  for (int x = 0; x < 60; x += 6) {
    stripes.Canvas()->Brush()->SetColor(x % 12 ? clNavy : clYellow);
    stripes.Canvas()->FillRect(TRect{x, 0, x + 6, 40});
  }
  SavePng(stripes, "antialias-before.png");
  AntiAlias(&stripes);
  SavePng(stripes, "antialias-after.png");
}

TEST_F(Drawing, BlitsAndTextOverloads) {
  TBitmap src(10, 10);
  src.Canvas()->Brush()->SetColor(clWhite);
  src.Canvas()->FillRect(TRect{0, 0, 10, 10});
  C()->Brush()->SetColor(clLime);
  C()->FillRect(TRect{0, 0, 40, 40});
  EXPECT_TRUE(BitBlt(C()->GetHandle(), 0, 0, 10, 10, src.Canvas()->GetHandle(), 0, 0, roBlack, false));
  EXPECT_EQ(Px(5, 5), clBlack);
  EXPECT_EQ(Px(15, 5), clLime);
  BitBlt(C()->GetHandle(), 10, 0, 10, 10, src.Canvas()->GetHandle(), 0, 0, RasterOp(2), false);  // XOR white
  EXPECT_EQ(Px(15, 5), 0xFF00FF);
  BitBlt(C(), 20, 0, 10, 10, src.Canvas(), 0, 0, RasterOpCode(0), true);
  EXPECT_EQ(Px(25, 5), clWhite);
  EXPECT_EQ(RasterOpCode(6), 0u);
  EXPECT_EQ(RasterOpCode(16), 0u);
  EXPECT_EQ(RasterOpCode(15), 0x001100A6u);

  std::string text = "C:\\a\\very\\long\\path\\name.txt";
  const std::string copy = text;
  TRect r{0, 0, 60, 20};
  EXPECT_GT(DrawText(C(), text, -1, r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING), 0);
  EXPECT_EQ(text, copy);
  TRect rc{0, 0, 200, 0};
  EXPECT_GT(DrawText(C(), std::u16string(u"ab"), -1, rc, DT_CALCRECT | DT_SINGLELINE), 0);
  EXPECT_GT(rc.Right, 0);
  EXPECT_TRUE(IsTrueType("DejaVu Sans") || !IsTrueType("DejaVu Sans"));
}

// --- RLE ---------------------------------------------------------------------------------

TEST(VxCoreUtilsRle, RunsAcrossBlocks) {
  const std::string packed = Compress(std::string(1024, 'A'));
  std::string expected;
  for (int i = 0; i < 21; ++i) expected += "\xF0" "A";
  expected += "\xD0" "A";
  EXPECT_EQ(packed, expected);
  EXPECT_EQ(packed.size(), 44u);
  EXPECT_EQ(Expand(packed), std::string(1024, 'A'));

  struct Case {
    std::string In, Out;
  } cases[] = {{"\xC5", "\xC1\xC5"}, {"\xC5\xC5", "\xC2\xC5"}, {"A", "A"}, {"", ""}, {"AAB", "\xC2" "AB"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Compress(c.In), c.Out);
    EXPECT_EQ(Expand(c.Out), c.In);
  }
  EXPECT_EQ(Expand(std::string("\xC0" "A", 2)), "");
  EXPECT_EQ(Expand("AB\xC3"), "AB");  // a control byte at the end stands for nothing
  EXPECT_EQ(Expand(""), "");
}

TEST(VxCoreUtilsRle, RoundTripsInPlaceAndSurvivesAnyInput) {
  std::string data;
  uint32_t seed = 12345;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245 + 12345;
    const int run = (seed >> 16) % 70 + 1;
    data.append(static_cast<std::size_t>(run), static_cast<char>((seed >> 8) & 0xFF));
  }
  TMemoryStream s;
  s.Write(data.data(), static_cast<int64_t>(data.size()));
  RleCompress(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_LT(s.Size(), static_cast<int64_t>(data.size()));
  RleDecompress(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(Bytes(s), data);

  // Control bytes at block edges and hostile pairs: only complete items expand.
  std::string hostile(1023, 'x');
  hostile += "\xFF" "Z";
  EXPECT_EQ(Expand(hostile), std::string(1023, 'x') + std::string(63, 'Z'));
  std::string controls(3000, '\xFF');
  EXPECT_EQ(Expand(controls).size(), 1500u * 63);
}

// --- clipboard and icons ----------------------------------------------------------------------

TEST_F(Drawing, MemoryStreamsOnTheClipboard) {
  const UINT fmt = RegisterClipboardFormat("Lorm Test Format");
  TMemoryStream a;
  a.Write("hello", 5);
  MemStreamToClipBoard(a, fmt);
  EXPECT_EQ(a.Position(), 5);
  TMemoryStream b;
  b.Write("xy", 2);
  ClipBoardToMemStream(b, fmt);
  EXPECT_EQ(b.Position(), 0);
  EXPECT_EQ(Bytes(b).substr(0, 7), "xyhello");
  TMemoryStream c;
  c.Write("keep", 4);
  ClipBoardToMemStream(c, RegisterClipboardFormat("Lorm Absent"));
  EXPECT_EQ(Bytes(c), "keep");
  EXPECT_EQ(c.Position(), 4);
  EXPECT_EQ(CF_ICON(), CF_ICON());
  char name[64] = {};
  GetClipboardFormatName(CF_ICON(), name, sizeof name);
  EXPECT_STRCASEEQ(name, "Kelvane Icon");
}

TEST_F(Drawing, IconsThroughTheClipboard) {
  auto icon = MakeIcon();
  HICON h = CreateRealSizeIcon(icon.get());
  int w = 0, hh = 0;
  GetIconSize(h, w, hh);
  EXPECT_EQ(w, 16);  // the first entry whose colour word matches the display
  EXPECT_EQ(hh, 16);
  DestroyIcon(h);
  DrawRealSizeIcon(C(), icon.get(), 5, 5);
  EXPECT_EQ(Px(10, 10), 0x0000FF);  // red as 0x00BBGGRR
  EXPECT_EQ(Px(25, 10), clWhite);

  CopyIconToClipboard(icon.get(), clYellow);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  std::unique_ptr<TIcon> back(CreateIconFromClipboard());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->IconFile().Entries.size(), 2u);

  // A truncated icon on the clipboard raises instead of reading past its end.
  TMemoryStream full;
  icon->SaveToStream(full);
  TMemoryStream cut;
  cut.Write(full.Memory(), 40);
  MemStreamToClipBoard(cut, CF_ICON());
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_ICON()));
  try {
    std::unique_ptr<TIcon> got(CreateIconFromClipboard());
    ADD_FAILURE() << "no error; entries " << (got ? got->IconFile().Entries.size() : 99);
  } catch (const Exception& e) {
    EXPECT_FALSE(std::string(e.Message()).empty());
  }
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(CreateIconFromClipboard(), nullptr);
}
