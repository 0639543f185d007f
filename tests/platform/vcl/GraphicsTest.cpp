#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Drawing.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/IconCodec.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FifoGuard.h"

namespace {

TBitmap* Filled(TBitmap& b, int w, int h, TColor color) {
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect(TRect{0, 0, w, h});
  return &b;
}

void Fill(TMemoryStream& s, const TByteBuffer& bytes) {
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
}

}  // namespace

// ---- colours ---------------------------------------------------------------------------------
TEST(Colors, SystemColoursResolveThroughTheScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(clBtnFace, TColor(0x80000000u | COLOR_BTNFACE));
  // The other system-colour form some streams carry (high byte 0xFF) resolves too.
  EXPECT_EQ(ColorToRGB(TColor(0xFF00000Fu)), GetSysColor(COLOR_BTNFACE));
}

TEST(Colors, NamesAndNumbersRoundTrip) {
  struct { const char* Text; TColor Color; const char* Written; } cases[] = {
      {"clBtnFace", clBtnFace, "clBtnFace"},   {"CLBTNFACE", clBtnFace, "clBtnFace"},
      {"clRed", clRed, "clRed"},               {"clLtGray", clSilver, "clSilver"},
      {"clNone", clNone, "clNone"},           {"clDefault", clDefault, "clDefault"},
      {"$00FF8040", 0xFF8040, "$00FF8040"},    {"-2147483633", clBtnFace, "clBtnFace"},
      {"255", clRed, "clRed"},                 {"$80000005", clWindow, "clWindow"},
  };
  for (auto& c : cases) {
    EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;
    EXPECT_EQ(ColorToString(c.Color), c.Written) << c.Text;
  }
  for (const char* bad : {"", "clPink", "$", "$1FFFFFFFF", "12a"})
    EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
}

// ---- fonts, pens, brushes -------------------------------------------------------------------
TEST(Font, SizeAndHeightAt96DpiAndTheHandleFollowsChanges) {
  TFont font;
  EXPECT_EQ(font.GetHeight(), -11);
  EXPECT_EQ(font.GetSize(), 8);
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetSize(10);
  EXPECT_EQ(font.GetHeight(), -13);
  font.SetSize(10);  // same value: no event
  EXPECT_EQ(changes, 1);

  HFONT first = font.GetHandle();
  LOGFONT lf;
  ASSERT_TRUE(GetObject(first, sizeof(LOGFONT), &lf));
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  font.SetStyle({fsBold, fsUnderline});
  font.SetName("Arial");
  ASSERT_TRUE(GetObject(font.GetHandle(), sizeof(LOGFONT), &lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfFaceName, "Arial");

  TFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.GetName(), "Arial");
  EXPECT_EQ(copy.GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(copy.GetHeight(), -13);
  TFont fromHandle;
  fromHandle.SetHandle(font.GetHandle());
  EXPECT_EQ(fromHandle.GetStyle(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(fromHandle.GetHeight(), -13);
}

TEST(Brush, AColourMakesAClearBrushSolid) {
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clRed);
  EXPECT_EQ(brush.GetStyle(), bsSolid);
}

// ---- canvas on a bitmap --------------------------------------------------------------------
TEST(Canvas, DrawsWithTheCurrentPenAndBrushAfterTheyChange) {
  TBitmap bitmap;
  Filled(bitmap, 20, 10, clWhite);
  TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(clRed);
  c->Pen()->SetColor(clBlue);
  c->Rectangle(0, 0, 10, 10);
  // Changing the objects after they were selected must take effect on the next call.
  c->Brush()->SetColor(clLime);
  c->Pen()->SetColor(clBlack);
  c->Rectangle(10, 0, 20, 10);
  EXPECT_EQ(c->GetPixel(0, 0), clBlue);
  EXPECT_EQ(c->GetPixel(5, 5), clRed);
  EXPECT_EQ(c->GetPixel(9, 9), clBlue);  // right and bottom edges are inside the outline
  EXPECT_EQ(c->GetPixel(10, 0), clBlack);
  EXPECT_EQ(c->GetPixel(15, 5), clLime);
  EXPECT_EQ(c->GetPixel(25, 5), clNone);  // outside
  c->SetPixel(3, 3, clYellow);
  EXPECT_EQ(c->GetPixel(3, 3), clYellow);
}

TEST(Canvas, ChangeEventsAndLocking) {
  TBitmap bitmap;
  Filled(bitmap, 4, 4, clWhite);
  TCanvas* c = bitmap.Canvas();
  int changing = 0, changed = 0, graphicChanged = 0;
  c->OnChanging = [&](TObject*) { ++changing; };
  c->OnChange = [&](TObject*) { ++changed; };
  bitmap.OnChange = [&](TObject*) { ++graphicChanged; };
  c->FillRect(TRect{0, 0, 2, 2});
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(graphicChanged, 1);
  c->Lock();
  c->Lock();
  EXPECT_EQ(c->LockCount(), 2);
  c->Unlock();
  c->Unlock();
  EXPECT_EQ(c->LockCount(), 0);
}

// ---- bitmaps ---------------------------------------------------------------------------------
TEST(Bitmap, StreamsAsBmpAndKeepsPixelsOnResize) {
  TBitmap a;
  Filled(a, 6, 4, clWhite);
  a.Canvas()->SetPixel(0, 0, clRed);
  a.Canvas()->SetPixel(5, 3, clBlue);
  TMemoryStream stream;
  a.SaveToStream(stream);
  EXPECT_EQ(stream.Data()[0], 'B');
  stream.SetPosition(0);
  TBitmap b;
  b.LoadFromStream(stream);
  EXPECT_EQ(b.GetWidth(), 6);
  EXPECT_EQ(b.GetHeight(), 4);
  EXPECT_EQ(b.GetPixelFormat(), pf24bit);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(5, 3), clBlue);

  b.SetSize(8, 5);  // grows: old pixels stay, new ones are white
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(7, 4), clWhite);

  TMemoryStream junk;
  junk.WriteString("BM not really a bitmap");
  junk.SetPosition(0);
  EXPECT_THROW(b.LoadFromStream(junk), EInvalidGraphic);
}

TEST(Bitmap, ScanLineRowsAreTopDownInThePixelFormat) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  Filled(b, 3, 2, clBlack);
  auto* row = static_cast<std::uint8_t*>(b.ScanLine(1));
  row[0] = 0xFF;  // blue byte of the bottom-left pixel
  row[5] = 0xFF;  // red byte of the second pixel
  EXPECT_EQ(b.Canvas()->GetPixel(0, 1), clBlue);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clBlack);
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  TBitmap b;
  Filled(b, 4, 4, clLime);
  b.Canvas()->SetPixel(0, 3, clFuchsia);
  EXPECT_EQ(b.GetTransparentMode(), tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clFuchsia);
  b.SetTransparentColor(clLime);
  EXPECT_EQ(b.GetTransparentMode(), tmFixed);
  EXPECT_EQ(b.GetTransparentColor(), clLime);

  // Drawn transparently, the lime pixels leave the destination as it was.
  b.SetTransparent(true);
  TBitmap dest;
  Filled(dest, 6, 6, clNavy);
  dest.Canvas()->Draw(1, 1, &b);
  EXPECT_EQ(dest.Canvas()->GetPixel(2, 2), clNavy);
  EXPECT_EQ(dest.Canvas()->GetPixel(1, 4), clFuchsia);
  b.SetTransparentMode(tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clFuchsia);
}

TEST(Bitmap, LoadsFromANamedResource) {
  TRawImage image(2, 2, 0xFF00FF00);
  TByteBuffer bmp = EncodeBmp(image);
  RegisterResource(RT_RCDATA, "GfxTestGreen", bmp);
  TBitmap b;
  b.LoadFromResourceName(nullptr, "GFXTESTGREEN");
  EXPECT_EQ(b.GetWidth(), 2);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1), clLime);
  UnregisterResource(RT_RCDATA, "GfxTestGreen");
  EXPECT_THROW(b.LoadFromResourceName(nullptr, "GfxTestGreen"), EResNotFound);
}

// ---- pictures --------------------------------------------------------------------------------
TEST(Picture, LoadsEachFormatIntoItsGraphicClass) {
  TRawImage image(4, 3, 0xFFFF0000);
  TIconFile icon;
  icon.Entries.push_back({image});
  struct { TByteBuffer Bytes; const char* ClassName; } cases[] = {
      {EncodeBmp(image), "TBitmap"},
      {EncodePng(image), "TPngImage"},
      {EncodeJpeg(image), "TJPEGImage"},
      {EncodeIcon(icon), "TIcon"},
  };
  for (auto& c : cases) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TMemoryStream s;
    Fill(s, c.Bytes);
    picture.LoadFromStream(s);
    ASSERT_NE(picture.GetGraphic(), nullptr);
    EXPECT_STREQ(picture.GetGraphic()->ClassName(), c.ClassName);
    EXPECT_EQ(picture.GetWidth(), 4);
    EXPECT_EQ(picture.GetHeight(), 3);
    EXPECT_GE(changes, 1);
    // Any picture can be taken as a bitmap by assigning it.
    TBitmap b;
    b.Assign(picture.GetGraphic());
    EXPECT_EQ(b.GetWidth(), 4);
    TColor pixel = b.Canvas()->GetPixel(1, 1);
    EXPECT_NEAR(pixel & 0xFF, 255, 3) << c.ClassName;         // red
    EXPECT_NEAR((pixel >> 16) & 0xFF, 0, 3) << c.ClassName;   // no blue
  }
  TMemoryStream junk;
  junk.WriteString("not a picture");
  junk.SetPosition(0);
  TPicture picture;
  EXPECT_THROW(picture.LoadFromStream(junk), EInvalidGraphic);
}

// A BMP file: a 40-byte header, `tableSize` palette entries and rows of `bits` per pixel,
// bottom-up unless the height is negative; index(x, y) (y from the top) picks each pixel's
// value (an index, or a 0xRRGGBB colour at 24 bits).
TByteBuffer MakeBmp(int width, int height, int bits, int tableSize, std::uint32_t (*index)(int, int)) {
  int rows = std::abs(height), stride = ((width * bits + 31) / 32) * 4;
  std::uint32_t offset = 54 + 4 * std::uint32_t(tableSize);
  TByteBuffer b(offset + std::size_t(stride) * rows, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, std::uint32_t(b.size()));
  put32(10, offset);
  put32(14, 40);
  put32(18, std::uint32_t(width));
  put32(22, std::uint32_t(height));
  b[26] = 1;
  b[28] = std::uint8_t(bits);
  put32(46, std::uint32_t(tableSize));
  for (int i = 0; i < tableSize; ++i) put32(54 + 4 * std::size_t(i), std::uint32_t(i * 37 % 256) << 16 | std::uint32_t(i * 91 % 256) << 8 | std::uint32_t(i * 13 % 256));
  for (int y = 0; y < rows; ++y) {
    std::uint8_t* row = b.data() + offset + std::size_t(height > 0 ? rows - 1 - y : y) * stride;
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = index(x, y);
      if (bits == 24) {
        row[x * 3] = std::uint8_t(v);
        row[x * 3 + 1] = std::uint8_t(v >> 8);
        row[x * 3 + 2] = std::uint8_t(v >> 16);
      } else {
        int shift = 8 - bits - (x * bits) % 8;
        row[x * bits / 8] |= std::uint8_t(v << shift);
      }
    }
  }
  return b;
}

TEST(Picture, BitmapFilesLoadTheSamePixelsTheDecoderReads) {
  struct Case {
    const char* name;
    int width, height, bits, table;
    std::uint32_t (*index)(int, int);
  } cases[] = {
      {"24 bits, odd width, bottom-up", 13, 7, 24, 0, [](int x, int y) { return std::uint32_t(x * 19 << 16 | y * 31 << 8 | (x ^ y)); }},
      {"24 bits, top-down", 5, -4, 24, 0, [](int x, int y) { return std::uint32_t(0x102030 * (x + 1) + y); }},
      {"8 bits", 9, 6, 8, 256, [](int x, int y) { return std::uint32_t((x * 7 + y * 29) % 256); }},
      {"4 bits, top-down", 11, -5, 4, 16, [](int x, int y) { return std::uint32_t((x + 3 * y) % 16); }},
      {"1 bit", 19, 3, 1, 2, [](int x, int y) { return std::uint32_t((x + y) % 2); }},
      {"8 bits with a short table", 6, 4, 8, 10, [](int x, int y) { return std::uint32_t((x + y) % 12); }},
  };
  for (const Case& c : cases) {
    TByteBuffer bytes = MakeBmp(c.width, c.height, c.bits, c.table, c.index);
    TRawImage want = DecodeBmp(bytes);
    TPicture picture;
    TMemoryStream s;
    Fill(s, bytes);
    picture.LoadFromStream(s);
    ASSERT_STREQ(picture.GetGraphic()->ClassName(), "TBitmap") << c.name;
    TRawImage got = picture.GetGraphic()->ToRawImage();
    ASSERT_EQ(got.Width, want.Width) << c.name;
    ASSERT_EQ(got.Height, want.Height) << c.name;
    EXPECT_EQ(got.Pixels, want.Pixels) << c.name;
    // Saved again, it reads back the same.
    TMemoryStream out;
    picture.GetGraphic()->SaveToStream(out);
    out.SetPosition(0);
    TPicture again;
    again.LoadFromStream(out);
    EXPECT_EQ(again.GetGraphic()->ToRawImage().Pixels, want.Pixels) << c.name;
  }
  // A file cut short in its rows is refused, as the decoder refuses it.
  TByteBuffer cut = MakeBmp(8, 8, 24, 0, [](int, int) { return 0x808080u; });
  cut.resize(cut.size() - 10);
  TMemoryStream s;
  Fill(s, cut);
  TPicture picture;
  EXPECT_THROW(picture.LoadFromStream(s), EInvalidGraphic);
}

TEST(Picture, AssignCopiesTheGraphicAndBitmapReplacesOtherKinds) {
  TPicture a, b;
  TMemoryStream s;
  Fill(s, EncodePng(TRawImage(5, 5, 0x80FFFFFF)));
  a.LoadFromStream(s);
  b.Assign(&a);
  ASSERT_NE(b.GetGraphic(), a.GetGraphic());
  EXPECT_STREQ(b.GetGraphic()->ClassName(), "TPngImage");
  EXPECT_TRUE(b.GetGraphic()->GetTransparent());
  TBitmap* bitmap = b.Bitmap();
  EXPECT_TRUE(bitmap->GetEmpty());
  EXPECT_STREQ(a.GetGraphic()->ClassName(), "TPngImage");
}

TEST(Picture, FileWithUnknownContentNamesItsExtension) {
  std::string path = std::filesystem::temp_directory_path() / "gfx_graphics_test.xyz";
  {
    TFileStream f(path, fmCreate);
    f.WriteString("hello");
  }
  TPicture picture;
  try {
    picture.LoadFromFile(path);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(std::string(e.what()).find(".xyz"), std::string::npos) << e.what();
  }
  std::filesystem::remove(path);
}

// ---- image lists ------------------------------------------------------------------------------
TEST(ImageList, AddMaskedCutsAStripAndNotifiesLinks) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TChangeLink link;
  int linkChanges = 0;
  link.OnChange = [&](TObject*) { ++linkChanges; };
  list.RegisterChanges(&link);

  TBitmap strip;
  Filled(strip, 12, 4, clFuchsia);
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(TRect{1, 1, 3, 3});
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(TRect{5, 1, 7, 3});
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(linkChanges, 1);
  EXPECT_EQ(ArgbAlpha(list.Image(0).At(0, 0)), 0);     // the mask colour is transparent
  EXPECT_EQ(list.Image(1).At(1, 1), 0xFF0000FFu);      // blue in the second image

  TBitmap out;
  list.GetBitmap(1, &out);
  EXPECT_EQ(out.GetWidth(), 4);
  EXPECT_EQ(out.Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(out.Canvas()->GetPixel(2, 2), clBlue);

  list.UnRegisterChanges(&link);
  list.Delete(0);
  EXPECT_EQ(linkChanges, 1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Delete(5), EInvalidOperation);
}

TEST(ImageList, DisabledDrawingIsTheGreyEmbossedShape) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap image;
  Filled(image, 4, 4, clWhite);
  image.Canvas()->Brush()->SetColor(clRed);
  image.Canvas()->FillRect(TRect{1, 1, 3, 3});
  list.AddMasked(&image, clWhite);

  TBitmap dest;
  Filled(dest, 6, 6, clBtnFace);
  list.Draw(dest.Canvas(), 0, 0, 0, true);
  EXPECT_EQ(dest.Canvas()->GetPixel(1, 1), clRed);
  EXPECT_EQ(TColor(dest.Canvas()->GetPixel(0, 0)), TColor(ColorToRGB(clBtnFace)));  // masked: untouched

  Filled(dest, 6, 6, clBtnFace);
  list.Draw(dest.Canvas(), 0, 0, 0, false);
  EXPECT_EQ(TColor(dest.Canvas()->GetPixel(1, 1)), TColor(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(TColor(dest.Canvas()->GetPixel(3, 3)), TColor(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(TColor(dest.Canvas()->GetPixel(0, 0)), TColor(ColorToRGB(clBtnFace)));
}

TEST(ImageList, ChangeLinkOutlivingTheListIsSafe) {
  TChangeLink link;
  {
    TImageList list(nullptr);
    list.RegisterChanges(&link);
    EXPECT_EQ(link.Sender, &list);
  }
  EXPECT_EQ(link.Sender, nullptr);
}

// Paints a small scene and writes it as PNG for a person to look at.
TEST(Canvas, RendersASceneToPng) {
  TBitmap b;
  Filled(b, 120, 80, clBtnFace);
  TCanvas* c = b.Canvas();
  c->Pen()->SetColor(clNavy);
  c->Brush()->SetColor(clYellow);
  c->Ellipse(10, 10, 60, 50);
  c->Brush()->SetStyle(bsDiagCross);
  c->Brush()->SetColor(clGreen);
  c->Rectangle(65, 10, 110, 50);
  c->Pen()->SetWidth(3);
  c->Pen()->SetColor(clRed);
  c->MoveTo(10, 70);
  c->LineTo(110, 60);
  c->Polyline({{10, 55}, {30, 65}, {50, 55}});
  TImageList list(nullptr);
  TBitmap glyph;
  Filled(glyph, 16, 16, clFuchsia);
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->Ellipse(2, 2, 14, 14);
  list.AddMasked(&glyph, clFuchsia);
  list.Draw(c, 70, 55, 0, true);
  list.Draw(c, 92, 55, 0, false);
  TByteBuffer png = EncodePng(b.ToRawImage());
  std::string path = std::filesystem::temp_directory_path() / "gfx_canvas_scene.png";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(png.data(), 1, png.size(), f);
  std::fclose(f);
  EXPECT_EQ(c->GetPixel(35, 30), clYellow);
  EXPECT_EQ(c->GetPixel(77, 62), clBlue);
}

TEST(Canvas, TextMeasuresAndLaysOutWithTheCanvasFont) {
  TBitmap b;
  Filled(b, 200, 40, clWhite);
  TCanvas* c = b.Canvas();
  const int normal = c->TextWidth("Calibration");
  EXPECT_GT(normal, 0);
  EXPECT_GT(c->TextHeight("gh"), 0);
  c->Font()->SetSize(16);
  EXPECT_GT(c->TextWidth("Calibration"), normal);  // the new font is selected

  TRect r{0, 0, 60, 0};
  std::string text = "one two three four five";
  c->TextRect(r, text, TTextFormat{tfCalcRect, tfWordBreak});
  EXPECT_LE(r.Width(), 60);
  EXPECT_GT(r.Height(), c->TextHeight("one"));  // wrapped onto several lines

  c->Font()->SetColor(clBlack);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(2, 2, "Ж");
  bool inked = false;
  for (int y = 2; y < 30 && !inked; ++y)
    for (int x = 2; x < 30 && !inked; ++x) inked = c->GetPixel(x, y) != clWhite;
  EXPECT_TRUE(inked);
  EXPECT_GT(c->GetPenPos().X, 2);  // TextOut moves the pen past the text
}

// Code that measures or draws on Canvas->Handle itself (GetTextMetrics, DrawText, GDI
// lines) finds the canvas's font, pen and brush in it, including ones changed since the
// last drawing call.
TEST(Canvas, HandleHoldsTheCurrentFontPenAndBrush) {
  TBitmap b;
  Filled(b, 40, 20, clWhite);
  TCanvas* c = b.Canvas();
  c->Font()->SetHeight(-20);
  c->TextWidth("x");  // a larger font is selected now; the next one must replace it
  c->Font()->SetName("MS Sans Serif");
  c->Font()->SetHeight(-11);
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clLime);
  HDC dc = c->GetHandle();
  TEXTMETRIC tm{};
  ASSERT_TRUE(GetTextMetrics(dc, &tm));
  EXPECT_EQ(tm.tmHeight, 13);
  EXPECT_EQ(c->TextHeight("Ay"), tm.tmHeight);
  RECT r{0, 0, 1000, 100};
  DrawText(dc, "Calibration", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(r.right, c->TextWidth("Calibration"));
  Rectangle(dc, 0, 0, 10, 10);
  EXPECT_EQ(c->GetPixel(0, 0), clRed);
  EXPECT_EQ(c->GetPixel(5, 5), clLime);
  // A change after the handle was read is taken the next time it is read.
  c->Font()->SetHeight(-13);
  ASSERT_TRUE(GetTextMetrics(c->GetHandle(), &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  EXPECT_EQ(c->TextHeight("Ay"), 16);
}

// A canvas that has no device context gives no handle and draws nothing.
TEST(Canvas, WithoutADeviceContextTheHandleIsNull) {
  TCanvas c;
  EXPECT_EQ(c.GetHandle(), nullptr);
}

TEST(Picture, AFifoNamedAsAPictureIsRefusedWithoutBlocking) {
  char pattern[] = "/tmp/lorm-picture-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  const std::string fifo = std::string(pattern) + "/image.png";
  ASSERT_TRUE(MakeFifo(fifo));
  bool refused = false;
  ASSERT_TRUE(ReturnsWithoutBlocking(fifo, [&] {
    try {
      TPicture().LoadFromFile(fifo);
    } catch (const EFOpenError&) {
      refused = true;
    }
  }));
  EXPECT_TRUE(refused);
  std::filesystem::remove_all(pattern);
}
