// Tests of the mark-up engine: the language's values, layout, hit testing and drawing of
// both variants, and the string utilities. Layout values are computed from measured text
// (never from fixed glyph widths).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/Deahtml.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/image/PngCodec.h"
#include "platform/vcl/Graphics.h"

namespace {

struct TOut {
  std::string hitAnchor, plain, focused, title, controlID, controlValue, controlType;
  int extentX = 0, extentY = 0, links = 0, hitLink = -1;
  TRect hotRect{}, controlRect{};
  bool result = false;
};

struct TCall {
  TRect bounds{0, 0, 400, 200};
  int hitX = -1, hitY = -1, focusedLink = -1, hotLink = 0;
  bool hitTestOnly = false, measureOnly = false, selected = false, hotOnly = false, wrap = true;
  TCustomImageList* images = nullptr;
  THTMLPictureCache* cache = nullptr;
  TPictureContainer* container = nullptr;
  TColor hotBack = clNone, hotText = clNone;
};

class MarkupCanvas : public ::testing::Test {
protected:
  void SetUp() override { Reset(400, 200); }
  void Reset(int w, int h) {
    bmp = std::make_unique<TBitmap>(w, h);
    c = bmp->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(TRect{0, 0, w, h});
    c->Font()->SetName("Tahoma");
    c->Font()->SetSize(8);
    c->Font()->SetColor(clBlack);
  }
  TOut Grid(const std::string& text, const TCall& k = TCall()) {
    TOut o;
    o.controlID = controlID;
    o.result = HTMLDrawEx(c, text, k.bounds, k.images, k.hitX, k.hitY, k.focusedLink, k.hotLink, 1, k.hitTestOnly,
                          k.measureOnly, false, k.selected, true, k.hotOnly, k.wrap, false, 1.0, clBlue, k.hotBack,
                          k.hotText, clGray, o.hitAnchor, o.plain, o.focused, o.title, o.extentX, o.extentY, o.links,
                          o.hitLink, o.hotRect, o.controlRect, o.controlID, o.controlValue, o.controlType, k.cache,
                          k.container, nullptr);
    return o;
  }
  TOut Office(const std::string& text, const TCall& k = TCall(), int lineGap = 0) {
    TOut o;
    o.result = PanelHTMLDrawEx(c, text, k.bounds, k.images, k.hitX, k.hitY, k.focusedLink, k.hotLink, 1,
                               k.hitTestOnly, k.measureOnly, false, k.selected, true, k.hotOnly, k.wrap, 1.0, clBlue,
                               k.hotBack, k.hotText, clGray, o.hitAnchor, o.plain, o.focused, o.extentX, o.extentY,
                               o.links, o.hitLink, o.hotRect, k.cache, k.container, lineGap);
    return o;
  }
  static TCall Measure() {
    TCall k;
    k.measureOnly = true;
    return k;
  }
  int Gh() { return c->TextHeight("gh"); }
  TColor At(int x, int y) { return c->GetPixel(x, y) & 0xFFFFFF; }
  int Ink(const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (At(x, y) != clWhite) ++n;
    return n;
  }
  void Save(const std::string& name) {
    const TByteBuffer png = EncodePng(bmp->ToRawImage());
    const std::string path = ::testing::TempDir() + "deahtml_" + name + ".png";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(png.data(), 1, png.size(), f);
      std::fclose(f);
    }
  }
  std::unique_ptr<TBitmap> bmp;
  TCanvas* c = nullptr;
  std::string controlID;
};

}  // namespace

// ---- the language ----------------------------------------------------------------------------------

TEST(MarkupLanguage, ColourValues) {
  struct Case {
    const char* value;
    TColor color;
  } cases[] = {
      {"clLime", 0x00FF00},      {"#00FF00", 0x00FF00},        {"#FF0000", 0x0000FF},   {"CLRED", 0x0000FF},
      {"clNavy", 0x800000},      {"clnosuchcolour", 0},        {"", 0},                 {"#F", 0},
      {"cl3ddkshadow", TColor(0x80000015u)}, {"clgraytext", TColor(0x80000011u)}, {"clInfoBk", TColor(0x80000018u)},
  };
  for (const Case& k : cases) EXPECT_EQ(HTMLColorValue(k.value), k.color) << k.value;
}

TEST(MarkupLanguage, FontSizes) {
  const int sizes[][2] = {{1, 8}, {2, 10}, {3, 12}, {4, 14}, {5, 16}, {9, 9}, {0, 0}};
  for (const auto& s : sizes) EXPECT_EQ(HTMLFontSize(s[0]), s[1]) << s[0];
}

TEST_F(MarkupCanvas, SizeAttributeQuotedOrNotSetsThePointSize) {
  TFont big;
  big.Assign(c->Font());
  big.SetSize(14);
  c->Font()->Assign(&big);
  const int h14 = Gh();
  c->Font()->SetSize(8);
  for (const char* text : {"<FONT SIZE=4>Xg</FONT>", "<FONT SIZE=\"4\">Xg</FONT>", "<FONT SIZE=\"14\">Xg</FONT>"}) {
    const TOut o = Grid(text, Measure());
    EXPECT_EQ(o.extentY, h14) << text;
  }
  EXPECT_EQ(c->Font()->GetSize(), 8);  // the caller's font comes back
}

TEST_F(MarkupCanvas, EntitiesShowAsCharacters) {
  struct Case {
    const char* text;
    const char* plain;
  } cases[] = {
      {"&lt;b&gt;", "<b>"},
      {"a&amp;b", "a&b"},
      {"&quot;x&quot;", "\"x\""},
      {"&copy; &euro;", "\xC2\xA9 \xE2\x82\xAC"},
      {"a&nbsp;b", "a b"},
      {"<#tag>", "#tag"},
      {"&AMP;amp;", "&"},
      {"&amp;lt;", "<"},
  };
  for (const Case& k : cases) EXPECT_EQ(Grid(k.text, Measure()).plain, k.plain) << k.text;
}

TEST_F(MarkupCanvas, UnknownTagsAndStrayBracketsAreHarmless) {
  struct Case {
    const char* text;
    const char* plain;
  } cases[] = {
      {"a<BIG>b", "ab"},        // starts like no known tag
      {"a<b", "a"},             // '<' without '>' drops the rest
      {"ab<", "ab"},            // '<' among the last two characters
      {"</B>x", "x"},           // a closing tag without opening
      {"<B>bold", "bold"},      // unclosed
      {"x</R>y", "xy"},         // rotation closing tag with none open
  };
  for (const Case& k : cases) EXPECT_EQ(Grid(k.text, Measure()).plain, k.plain) << k.text;
}

// ---- layout ------------------------------------------------------------------------------------------

TEST_F(MarkupCanvas, MeasureOnlyTwoLines) {
  const TOut o = Grid("a<BR>bb", Measure());
  EXPECT_EQ(o.extentY, 2 * Gh());
  EXPECT_EQ(o.extentX, std::max(c->TextWidth("a"), c->TextWidth("bb")));
  EXPECT_EQ(o.plain, "a\rbb");
  EXPECT_FALSE(o.result);
}

TEST_F(MarkupCanvas, EmptyTextIsOneLineHigh) {
  const TOut o = Grid("", TCall());
  EXPECT_EQ(o.extentY, Gh());
  EXPECT_EQ(o.extentX, 0);
  EXPECT_FALSE(o.result);
}

TEST_F(MarkupCanvas, PlainTextHoldsEachPieceOnce) {
  TCall k;  // both passes run
  const TOut o = Grid("one <B>two</B><Z>hid</Z><BR>three", k);
  EXPECT_EQ(o.plain, "one twohid\rthree");
}

TEST_F(MarkupCanvas, TrailingBlankDoesNotCount) {
  EXPECT_EQ(Grid("word ", Measure()).extentX, c->TextWidth("word"));
}

TEST_F(MarkupCanvas, WordWrapKeepsWordsWhole) {
  TCall k = Measure();
  const int w = c->TextWidth("alpha beta ") + 3;  // the counter must stay below the width
  k.bounds = TRect{0, 0, w, 200};
  const TOut wrapped = Grid("alpha beta gamma", k);
  EXPECT_EQ(wrapped.extentY, 2 * Gh());
  k.bounds = TRect{0, 0, 5, 200};
  EXPECT_EQ(Grid("alpha<B>beta</B>", k).extentY, Gh());  // a word split by a tag is not broken there
  k.wrap = false;
  k.bounds = TRect{0, 0, 20, 200};
  EXPECT_EQ(Grid("alpha beta gamma<BR>second", k).extentY, Gh());  // only the first line without word wrap
}

TEST_F(MarkupCanvas, SubscriptAndSuperscriptAddAQuarterLine) {
  const int gh = Gh();
  EXPECT_EQ(Grid("m<SUP>3</SUP>", Measure()).extentY, gh + gh / 4);
  EXPECT_EQ(Grid("H<SUB>2</SUB>O", Measure()).extentY, gh + gh / 4);
}

TEST_F(MarkupCanvas, HitTestFindsTheSecondLink) {
  const std::string text = "<A HREF=\"one\">first</A> and <A href=\"Two\" title=\"Tip\">second</A>";
  TCall k;
  k.hitTestOnly = true;
  k.hitX = 1 + c->TextWidth("first and ") + c->TextWidth("sec") / 2;
  k.hitY = Gh() / 2;
  const TOut o = Grid(text, k);
  EXPECT_TRUE(o.result);
  EXPECT_EQ(o.hitAnchor, "Two");
  EXPECT_EQ(o.hitLink, 2);
  EXPECT_EQ(o.links, 2);
  EXPECT_EQ(o.title, "Tip");
  EXPECT_EQ(o.hotRect.Left, 1 + c->TextWidth("first and "));
  EXPECT_EQ(o.hotRect.Right, 1 + c->TextWidth("first and second"));
  k.hitY = Gh() + 5;  // below the text band
  EXPECT_FALSE(Grid(text, k).result);
  k.hitY = Gh() / 2;
  k.hitX = 1 + c->TextWidth("first a");  // plain text between the links
  const TOut none = Grid(text, k);
  EXPECT_FALSE(none.result);
  EXPECT_EQ(none.hitLink, -1);
}

TEST_F(MarkupCanvas, AlignmentPlacesLines) {
  TCall k;
  k.hitTestOnly = true;
  k.hitY = Gh() / 2;
  const int w = c->TextWidth("link");
  k.hitX = 399 - w / 2;
  EXPECT_TRUE(Grid("<P ALIGN=\"RIGHT\"><A HREF=\"x\">link</A></P>", k).result);
  k.hitX = 200;
  EXPECT_TRUE(Grid("<P align=\"center\"><A HREF=\"x\">link</A>", k).result);
  k.hitX = 1 + w / 2;
  EXPECT_FALSE(Grid("<P ALIGN=\"RIGHT\"><A HREF=\"x\">link</A>", k).result);
}

TEST_F(MarkupCanvas, DrawsColouredTextAndRestoresTheCanvas) {
  c->Pen()->SetColor(clGreen);
  c->Brush()->SetColor(clYellow);
  Grid("<FONT COLOR=\"clRed\">REDTEXT</FONT><E>err</E>");
  EXPECT_EQ(c->Pen()->GetColor(), clGreen);
  EXPECT_EQ(c->Brush()->GetColor(), clYellow);
  EXPECT_EQ(c->Font()->GetColor(), clBlack);
  int red = 0;
  for (int x = 0; x < c->TextWidth("REDTEXT"); ++x)
    for (int y = 0; y < Gh(); ++y)
      if ((At(x, y) & 0xFF) > 0xC0 && (At(x, y) & 0xFFFF00) < 0x404000) ++red;
  EXPECT_GT(red, 10);
}

TEST_F(MarkupCanvas, ErrorMarkIsARedZigzagUnderThePiece) {
  Grid("<E>mistake</E>");
  const int w = c->TextWidth("mistake");
  int red = 0;
  for (int x = 2; x < w; ++x)
    for (int y = Gh() - 2; y <= Gh() + 1; ++y)
      if (At(x, y) == clRed) ++red;
  EXPECT_GT(red, w / 2);
}

TEST_F(MarkupCanvas, RotatedFontIsReleased) {
  for (int i = 0; i < 3; ++i) Grid("<ROT a=\"90\">up");  // left open on purpose
  Grid("plain");
  EXPECT_EQ(c->Font()->GetOrientation(), 0);
  EXPECT_GT(Ink(TRect{0, 0, 60, Gh()}), 0);
}

// ---- office variant ---------------------------------------------------------------------------------

TEST_F(MarkupCanvas, OfficeLineGapAddsToEveryLine) {
  const int plain = Office("a<BR>b<BR>c", Measure()).extentY;
  EXPECT_EQ(plain, 3 * Gh());
  EXPECT_EQ(Office("a<BR>b<BR>c", Measure(), 2).extentY, plain + 6);
}

TEST_F(MarkupCanvas, OfficeAccelerators) {
  const int file = Office("File", Measure()).extentX;
  EXPECT_EQ(Office("&File", Measure()).extentX, file);  // the '&' is not shown
  EXPECT_GT(Office("a & &File", Measure()).extentX, Office("a & File", Measure()).extentX);
  // The underline of the accelerator shows below the F.
  Office("&File");
  const int underlinePixels = Ink(TRect{0, Gh() - 2, c->TextWidth("F"), Gh() + 1});
  Reset(400, 200);
  Office("File");
  EXPECT_GT(underlinePixels, Ink(TRect{0, Gh() - 2, c->TextWidth("F"), Gh() + 1}));
  EXPECT_EQ(Office("a&amp;b", Measure()).extentX, Office("a & b", Measure()).extentX - 2 * c->TextWidth(" ") +
                                                      0 * 1);
}

TEST_F(MarkupCanvas, OfficeTrimsLinesAndWidensExtent) {
  EXPECT_EQ(Office("   x", Measure()).extentX, c->TextWidth("x") + 2);
  EXPECT_EQ(Office("x<BR>    y", Measure()).plain, "x\ry");
}

TEST_F(MarkupCanvas, OfficeBodyGradientPaints64Bands) {
  Reset(128, 40);
  TCall k;
  k.bounds = TRect{0, 0, 128, 40};
  Office("<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clBlack\">", k);
  EXPECT_EQ(At(0, 20), clWhite);
  for (int band : {1, 32, 63}) {
    const int v = 255 - int(std::lround(band * 255.0 / 64));
    EXPECT_EQ(At(band * 2 + 1, 20), TColor(v | v << 8 | v << 16)) << band;
  }
  Office("<BODY BGCOLOR=\"clRed\" BGCOLORTO=\"clBlue\" DIR=\"V\">", k);
  EXPECT_EQ(At(64, 0), clRed);
  EXPECT_NE(At(64, 39), clRed);
}

// ---- utilities -----------------------------------------------------------------------------------------

TEST(MarkupUtilities, Strip) {
  struct Case {
    const char* in;
    const char* out;
    const char* panel;
  } cases[] = {
      {"x<BR>y", "x\r\ny", "x\r\ny"},
      {"one <B>two</B> three", "one two three", "one two three"},
      {"a<hr>b", "a\r\nb", "a\r\nb"},
      {"a<B>b<c", "ab<c", "ab<c"},
      {"a > b<I>c</I>", "a > bc", "a > bc"},
      {"v<Z>hidden</Z>w", "vhiddenw", "vw"},
      {"v<z>hidden", "vhidden", "vhidden"},
      {"&amp;", "&amp;", "&amp;"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(HTMLStrip(k.in), k.out) << k.in;
    EXPECT_EQ(PanelHTMLStrip(k.in), k.panel) << k.in;
  }
}

TEST(MarkupUtilities, HiLightAndUnHiLight) {
  EXPECT_EQ(HiLight("x <B>abc</B> y", "abc", "hi", false), "x <hi><B>abc</hi></B> y");
  EXPECT_EQ(HiLight("ab<B>cd</B>", "bc", "hi", true), "a<hi>b<B>c</hi>d</B>");
  EXPECT_EQ(HiLight("Abc abc", "ABC", "e", false), "<e>Abc</e> <e>abc</e>");
  EXPECT_EQ(HiLight("Abc", "ABC", "e", true), "Abc");
  EXPECT_EQ(HiLight("Плотность", "ПЛОТ", "hi", false), "<hi>Плот</hi>ность");
  const std::string marked = HiLight("a < b", "b", "hi", false);
  EXPECT_EQ(marked, "a &lt; <hi>b</hi>");
  EXPECT_EQ(UnHiLight(marked, "hi"), "a < b");
  EXPECT_EQ(UnHiLight("<HI>x</Hi>", "hi"), "x");
}

TEST(MarkupUtilities, FixMarkupAndDecodingAreInverse) {
  const std::string raw = "a&b \"q\" <t> \xC3\xA9 \xC3\x89 *amp; &eacute; \xD0\x99";
  const std::string fixed = FixMarkup(raw);
  EXPECT_EQ(fixed, "a&amp;b &quot;q&quot; &lt;t&gt; &eacute; &Eacute; *amp; &amp;eacute; \xD0\x99");
  EXPECT_EQ(DecodeEntities(fixed), raw);
  EXPECT_EQ(DecodeEntities("&Oslash;&oslash;&laquo;"), "\xC3\x98\xC3\xB8\xC2\xAB");
  EXPECT_EQ(FixNonBreaking("a b c"), "a&nbsp;b&nbsp;c");
}

TEST(MarkupUtilities, ReplaceFirst) {
  std::string s = "one <br> two <BR>";
  EXPECT_TRUE(ReplaceFirstNoCase(s, "<BR>", "|"));
  EXPECT_EQ(s, "one | two <BR>");
  EXPECT_FALSE(ReplaceFirstNoCase(s, "<HR>", "|"));
}

// ---- hostile input ------------------------------------------------------------------------------------

TEST_F(MarkupCanvas, MalformedTextCostsLinearTime) {
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "w<B>x</B> <FONT SIZE=\"99999999\">&amp;amp;<";
  big += std::string(100000, '<');
  for (int i = 0; i < 50000; ++i) big += "<#";
  const auto start = std::chrono::steady_clock::now();
  const TOut o = Grid(big);
  Grid(std::string(200000, 'a'), Measure());
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(o.extentY, 0);
  EXPECT_LT(ms, 20000);
}

// ---- a page to look at -----------------------------------------------------------------------------------

namespace {

// A small picture drawn by code: a blue disc on a transparent square.
TByteBuffer DiscPng(int size, std::uint32_t color) {
  TRawImage img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int dx = 2 * x - size + 1, dy = 2 * y - size + 1;
      if (dx * dx + dy * dy <= size * size) img.At(x, y) = color;
    }
  return EncodePng(img);
}

void LoadBytes(THTMLPicture* p, const TByteBuffer& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  p->LoadFromStream(s);
}

}  // namespace

TEST_F(MarkupCanvas, RendersAPageForALook) {
  Reset(640, 520);
  TPictureContainer container(nullptr);
  TPictureItem* item = container.Items()->Add();
  item->Name = "disc";
  LoadBytes(item->Picture(), DiscPng(20, MakeArgb(255, 40, 90, 220)));
  TImageList images(nullptr);
  TRawImage square(16, 16, MakeArgb(255, 20, 160, 60));
  images.AddRawImage(square);
  TCall k;
  k.container = &container;
  k.images = &images;
  k.hotLink = 2;
  k.hotOnly = true;
  k.hotText = clRed;
  k.bounds = TRect{10, 10, 630, 250};
  Grid("<FONT FACE=\"Arial\" SIZE=\"4\" COLOR=\"clNavy\"><B>Плотность</B>, кг/м<SUP>3</SUP></FONT> "
       "H<SUB>2</SUB>O <I>italic</I> <U>under</U> <S>strike</S><BR>"
       "<FONT SIZE=\"1\">small</FONT> <FONT SIZE=\"5\" BGCOLOR=\"#FFFF00\">big on yellow</FONT> "
       "<FONT COLOR=\"#008000\">green</FONT> <SHADOW>shadowed</SHADOW> <E>errror</E><BR>"
       "<A HREF=\"one\">first link</A> and <A HREF=\"two\">hovered link</A> <HI>highlighted</HI><HR>"
       "<UL><LI>first item<LI>second item<UL><LI>nested item</UL></UL>"
       "Pictures: <IMG SRC=\"disc\"> <IMG SRC=\"disc\" WIDTH=\"32\" HEIGHT=\"32\" ALIGN=\"middle\"> list "
       "<IMG SRC=\"IDX:0\"> icons <IMG SRC=\"SSYS:3\"> <IMG SRC=\"SSYS:1\"> <IMG SRC=\"LSYS:/tmp/\"><BR>"
       "<P ALIGN=\"RIGHT\">right aligned <ROT a=\"20\">rotated</ROT></P>"
       "Controls: <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"text\" WIDTH=\"70\"> "
       "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\"> "
       "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"combo\" WIDTH=\"80\"> "
       "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Press\" WIDTH=\"60\">",
       k);
  TCall o;
  o.bounds = TRect{10, 300, 630, 420};
  o.images = &images;
  Office("<BODY BGCOLOR=\"#FFFFFF\" BGCOLORTO=\"#A0C0F0\"><B>Office</B> variant: &File, &amp; "
         "<A HREF=\"x\">link</A><BR><P BGCOLOR=\"#F0D0A0\" BGCOLORTO=\"#FFFFFF\">paragraph gradient</P>"
         "<OFFSET x=\"30\">offset by 30<BR>still offset</OFFSET>",
         o, 2);
  TCall v;
  v.bounds = TRect{10, 430, 630, 510};
  Office("<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clGray\" DIR=\"V\"><P ALIGN=\"CENTER\">vertical body gradient, "
         "centred</P>",
         v);
  Save("page");
  EXPECT_GT(Ink(TRect{0, 0, 640, 520}), 10000);
}

// ---- form controls ---------------------------------------------------------------------------------------

TEST(MarkupControls, Accessors) {
  const std::string s = "Name: <CONTROL TYPE=\"edit\" ID=\"n\" VALUE=\"Jos&eacute; &lt;1&gt;\" WIDTH=\"80\" "
                        "MAXLEN=\"12x\"> <control id=\"c\" type=\"CHECK\" value=\"true\" width=\"16\"> "
                        "<CONTROL TYPE=\"COMBO\" ID=\"k\" WIDTH=\"60\" PROP=\"a,b\">";
  EXPECT_TRUE(HasHTMLControl(s));
  EXPECT_FALSE(HasHTMLControl("<B>x</B>"));
  EXPECT_EQ(GetNextControlID(s, ""), "n");
  EXPECT_EQ(GetNextControlID(s, "n"), "k");
  EXPECT_EQ(GetNextControlID(s, "k"), "");
  std::string value = "kept";
  EXPECT_TRUE(GetControlValue(s, "n", value));
  EXPECT_EQ(value, "Jos\xC3\xA9 <1>");
  value = "kept";
  EXPECT_FALSE(GetControlValue(s, "N", value));  // IDs compare exactly
  EXPECT_EQ(value, "kept");
  EXPECT_EQ(GetControlProp(s, "k"), "a,b");
  EXPECT_EQ(GetControlMaxLen(s, "n"), 12);
  EXPECT_EQ(GetControlMaxLen(s, "zz"), 0);
  EXPECT_EQ(ClearRadioControls(s), s);
}

TEST(MarkupControls, SetControlValueNormalisesTheTag) {
  std::string s = "a <CONTROL TYPE=\"check\" WIDTH=\"16\" VALUE=\"TRUE\" ID=\"c\" MAXLEN=\"3\"> b";
  EXPECT_TRUE(SetControlValue(s, "c", "<&\xC3\xA9>"));
  EXPECT_EQ(s, "a <CONTROL ID=\"c\" VALUE=\"&lt;&amp;&eacute;&gt;\" WIDTH=\"16\" TYPE=\"CHECK\" MAXLEN=\"3\"> b");
  std::string value;
  EXPECT_TRUE(GetControlValue(s, "c", value));
  EXPECT_EQ(value, "<&\xC3\xA9>");
  const std::string before = s;
  EXPECT_FALSE(SetControlValue(s, "none", "x"));
  EXPECT_EQ(s, before);
  const std::string radios = "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"16\">"
                             "<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"16\">";
  EXPECT_EQ(ClearRadioControls(radios), "<CONTROL ID=\"r1\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">"
                                        "<CONTROL ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"16\" TYPE=\"RADIO\">");
}

TEST_F(MarkupCanvas, ControlsAreHitAndLocated) {
  const std::string text = "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"val\" WIDTH=\"50\"> "
                           "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\">";
  TCall k;
  k.hitTestOnly = true;
  k.hitX = 10;
  k.hitY = 5;
  TOut o = Grid(text, k);
  EXPECT_TRUE(o.result);
  EXPECT_EQ(o.hitAnchor, "ctrl");
  EXPECT_EQ(o.controlRect, (TRect{1, 0, 51, Gh() + 10}));
  EXPECT_EQ(o.controlID, "e");
  EXPECT_EQ(o.controlValue, "val");
  EXPECT_EQ(o.controlType, "EDIT");
  k.hitX = k.hitY = -1;
  controlID = "b";
  o = Grid(text, k);
  EXPECT_TRUE(o.result);
  const int x = 1 + 50 + c->TextWidth(" ");
  EXPECT_EQ(o.controlRect, (TRect{x, 0, x + 40, 25}));
  EXPECT_EQ(o.controlType, "BUTTON");
  controlID.clear();
  EXPECT_EQ(Grid("<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"50\">", Measure()).extentY, 23);
}

TEST_F(MarkupCanvas, ControlsWithoutAWholeWidthTakeNoRoom) {
  for (const char* text : {"<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"5x\">ab", "<CONTROL TYPE=\"EDIT\" ID=\"e\">ab",
                           "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=50>ab"}) {
    TCall k;
    k.hitTestOnly = true;
    k.hitX = 1;
    k.hitY = 1;
    const TOut o = Grid(text, k);
    EXPECT_FALSE(o.result) << text;
    EXPECT_EQ(Grid(text, Measure()).extentX, c->TextWidth("ab")) << text;
  }
}

TEST_F(MarkupCanvas, CheckBoxValueIsReadInAnyCase) {
  auto draw = [&](const char* value) {
    Reset(400, 200);
    Grid(std::string("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"") + value + "\" WIDTH=\"16\">");
    return bmp->ToRawImage();
  };
  const TRawImage lower = draw("true"), upper = draw("TRUE"), off = draw("no");
  EXPECT_EQ(lower.Pixels, upper.Pixels);
  EXPECT_NE(lower.Pixels, off.Pixels);
}

// ---- random mark-up (the fuzz target's checks, replayed with a fixed seed) --------------------------------

TEST_F(MarkupCanvas, RandomMarkupDrawsWithoutFaults) {
  static const char* const kParts[] = {
      "<B>", "</B>", "<I>", "</I>", "<U>", "</U>", "<S>", "</S>", "<BR>", "<HR>", "<FONT SIZE=\"9999\">",
      "<FONT FACE=\"Arial\" COLOR=\"#12\">", "</FONT>", "<A HREF=\"x\">", "</A>", "<P ALIGN=\"RIGHT\" BGCOLOR=\"clRed\">",
      "<P BGCOLOR=\"#00FF00\" BGCOLORTO=\"clBlue\">", "</P>", "<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"\">", "<BLINK>",
      "<HI>", "</HI>", "<E>", "</E>", "<SUB>", "<SUP>", "</SUB>", "<SHADOW>", "</SHADOW>", "<Z>", "</Z>", "<UL>",
      "</UL>", "<LI>", "</LI>", "<INDENT x=\"40\">", "<IMG SRC=\"IDX:3\">", "<IMG SRC=\"SSYS:7\" ALIGN=\"TOP\">",
      "<IMG SRC=\"res://NONE\" WIDTH=\"9\" HEIGHT=\"9\">", "<IMG SRC=\"http://a.invalid/b\" WRAP>", "<ROT a=\"45\">",
      "</ROT>", "<OFFSET x=\"300\">", "</OFFSET>", "<CONTROL TYPE=\"COMBO\" ID=\"c\" WIDTH=\"30\">",
      "<CONTROL TYPE=\"BUTTON\" WIDTH=\"x\">", "&amp;", "&lt;", "&nbsp;", "&", "<", ">", "<#", " ", "word",
      "Плотность", "\r\n", "\t", "&euro;", "<a", "\"", "é"};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  THTMLPictureCache cache;
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int n = int(next() % 24);
    for (int i = 0; i < n; ++i) text += kParts[next() % std::size(kParts)];
    TCall k;
    k.cache = &cache;
    k.wrap = next() & 1;
    k.measureOnly = (next() % 4) == 0;
    k.hitTestOnly = (next() % 4) == 0;
    k.hitX = int(next() % 400);
    k.hitY = int(next() % 100);
    k.bounds = TRect{0, 0, int(next() % 300) - 10, int(next() % 120)};
    const TOut g = Grid(text, k);
    const TOut o = Office(text, k, 2);
    EXPECT_GT(g.extentY, 0);
    EXPECT_GT(o.extentY, 0);
    EXPECT_EQ(c->Font()->GetSize(), 8) << text;
    EXPECT_EQ(DecodeEntities(FixMarkup(text)), text);
    (void)HTMLStrip(text);
    (void)PanelHTMLStrip(text);
    (void)HiLight(text, "wo", "hi", false);
  }
  EXPECT_LE(cache.Count(), THTMLPictureCache::kMarkupPictureLimit);
}

// ---- states the caller passes -----------------------------------------------------------------------------

TEST_F(MarkupCanvas, CallerStatesChangeColours) {
  struct Case {
    const char* text;
    bool selected, blinkOn, hotOnly;
    int hotLink;
    TColor expected;  // the colour of the text's pixels
  } cases[] = {
      {"<FONT COLOR=\"clRed\">HHHH</FONT>", false, true, false, 0, clRed},
      {"<FONT COLOR=\"clRed\">HHHH</FONT>", true, true, false, 0, clBlack},  // selected: COLOR not applied
      {"<A HREF=\"a\">HHHH</A>", false, true, true, 0, clBlue},            // the link colour
      {"<A HREF=\"a\">HHHH</A>", false, true, true, 1, clLime},            // the hot link's hover colour
      {"<A HREF=\"a\">HHHH</A>", false, true, false, 0, clLime},           // every link styled
      {"<BLINK>HHHH</BLINK>", false, false, false, 0, clWhite},            // vanishes into the background
  };
  for (const Case& k : cases) {
    Reset(400, 200);
    TOut o;
    std::string title, id, value, type;
    TRect ctrl{};
    HTMLDrawEx(c, k.text, TRect{0, 0, 400, 200}, nullptr, -1, -1, -1, k.hotLink, 0, false, false, false, k.selected,
               k.blinkOn, k.hotOnly, true, false, 1.0, clBlue, clNone, clLime, clGray, o.hitAnchor, o.plain,
               o.focused, title, o.extentX, o.extentY, o.links, o.hitLink, o.hotRect, ctrl, id, value, type, nullptr,
               nullptr, nullptr);
    // The darkest pixel of the text is its own colour (the rest is blended with white).
    TColor darkest = clWhite;
    auto luma = [](TColor p) { return (p & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + ((p >> 16) & 0xFF); };
    for (int y = 0; y < Gh(); ++y)
      for (int x = 0; x < c->TextWidth("HHHH"); ++x)
        if (luma(At(x, y)) < luma(darkest)) darkest = At(x, y);
    auto near = [](TColor a, TColor b) {
      for (int shift : {0, 8, 16})
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 0x50) return false;
      return true;
    };
    EXPECT_TRUE(near(darkest, k.expected)) << k.text << " selected " << k.selected << " hot " << k.hotLink << " got "
                                           << std::hex << darkest;
  }
}

TEST_F(MarkupCanvas, HighlightUsesTheSystemColours) {
  Grid("<HI>XXXX</HI>");
  EXPECT_EQ(At(1, 1), ColorToRGB(clHighlight));
  EXPECT_EQ(c->Brush()->GetColor(), clWhite);
}

TEST_F(MarkupCanvas, UnclosedRotationLeavesNoRotatedFontSelected) {
  Grid("<ROT a=\"90\">up");
  LOGFONT lf{};
  HGDIOBJ font = GetCurrentObject(c->GetHandle(), OBJ_FONT);
  ASSERT_NE(GetObjectType(font), 0u);
  GetObject(font, sizeof(lf), &lf);
  EXPECT_EQ(lf.lfEscapement, 0);
}

// ---- printing bitmaps and system icons --------------------------------------------------------------------

TEST_F(MarkupCanvas, PrintBitmapStretchesIntoTheRectangle) {
  TBitmap b(2, 1);
  b.Canvas()->SetPixel(0, 0, clRed);
  b.Canvas()->SetPixel(1, 0, clBlue);
  PrintBitmap(c, TRect{10, 10, 30, 20}, &b);
  EXPECT_EQ(At(12, 12), clRed);
  EXPECT_EQ(At(27, 18), clBlue);
  EXPECT_EQ(At(31, 15), clWhite);
}

TEST_F(MarkupCanvas, SystemIconsByIndexAndPath) {
  struct Case {
    const char* source;
    bool large;
    int size;
  } cases[] = {{"", false, 16}, {"3", false, 16}, {"3", true, 32}, {"/tmp", true, 32}, {"x/none.txt", false, 16}};
  for (const Case& k : cases) {
    Reset(64, 64);
    TSize size{};
    DrawSystemIcon(c, 4, 4, size, 1.0, false, true, k.large, k.source);
    EXPECT_EQ(size, (TSize{k.size, k.size})) << k.source;
    EXPECT_GT(Ink(TRect{4, 4, 4 + k.size, 4 + k.size}), 0) << k.source;
    EXPECT_EQ(Ink(TRect{4 + k.size, 0, 64, 64}), 0) << k.source;
  }
  Reset(64, 64);
  TSize size{};
  DrawSystemIcon(c, 0, 0, size, 1.0, false, true, false, "9999");  // no such icon: nothing drawn
  EXPECT_EQ(Ink(TRect{0, 0, 64, 64}), 0);
  DrawSystemIcon(c, 0, 0, size, 2.0, true, true, false, "3");  // printed twice the size
  EXPECT_GT(Ink(TRect{16, 16, 32, 32}), 0);
  EXPECT_EQ(Ink(TRect{33, 0, 64, 64}), 0);
}

// ---- office variant: offsets, wrapped pictures, focus ----------------------------------------------------

TEST_F(MarkupCanvas, OfficeOffsetIndentsUntilClosed) {
  const int gh = Gh();
  Office("<OFFSET x=\"20\">a<BR>b</OFFSET><BR>c");
  EXPECT_EQ(Ink(TRect{0, 0, 20, gh}), 0);
  EXPECT_GT(Ink(TRect{20, 0, 30, gh}), 0);
  EXPECT_EQ(Ink(TRect{0, gh, 20, 2 * gh}), 0);
  EXPECT_GT(Ink(TRect{20, gh, 30, 2 * gh}), 0);
  EXPECT_GT(Ink(TRect{0, 2 * gh, 10, 3 * gh}), 0);
}

TEST_F(MarkupCanvas, OfficeWrappedPictureLetsTextRunBeside) {
  TPictureContainer container(nullptr);
  TPictureItem* item = container.Items()->Add();
  item->Name = "disc";
  LoadBytes(item->Picture(), DiscPng(30, MakeArgb(255, 200, 0, 0)));
  TCall k = Measure();
  k.container = &container;
  EXPECT_EQ(Office("<IMG SRC=\"disc\">text<BR>more", k).extentY, 30 + Gh());
  EXPECT_EQ(Office("<IMG SRC=\"disc\" WRAP>text<BR>more", k).extentY, 2 * Gh());
  EXPECT_EQ(Grid("<IMG SRC=\"disc\" WRAP>text<BR>more", k).extentY, 30 + Gh());  // the grid has no WRAP
}

TEST_F(MarkupCanvas, FocusedLinkIsReportedAndFramed) {
  const std::string text = "<A HREF=\"one\">first</A> <A HREF=\"two\">second</A>";
  TCall k;
  k.focusedLink = 1;
  const TOut o = Grid(text, k);
  EXPECT_EQ(o.focused, "two");
  const int left = 1 + c->TextWidth("first ");
  EXPECT_GT(Ink(TRect{left - 1, 0, left, Gh()}), 2);  // the dotted frame's left side
  EXPECT_EQ(Office(text, k).focused, "two");
}

TEST_F(MarkupCanvas, HugeSizesDrawSomethingSensible) {
  TPictureContainer container(nullptr);
  TPictureItem* item = container.Items()->Add();
  item->Name = "disc";
  LoadBytes(item->Picture(), DiscPng(8, MakeArgb(255, 0, 0, 200)));
  TCall k;
  k.container = &container;
  for (const char* text : {"<IMG SRC=\"disc\" WIDTH=\"99999999\" HEIGHT=\"99999999\">x",
                           "<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"99999999\">x", "<OFFSET x=\"99999999\">x",
                           "<INDENT x=\"99999999\">x", "<P INDENT=\"99999999\">x", "<FONT SIZE=\"99999999\">x",
                           "<UL><UL><UL><UL><UL><UL><UL><UL><UL><UL><LI>deep"}) {
    const TOut g = Grid(text, k);
    const TOut o = Office(text, k);
    EXPECT_GT(g.extentY, 0) << text;
    EXPECT_GT(o.extentY, 0) << text;
  }
}

TEST_F(MarkupCanvas, OfficeKeepsPenAndBrushAroundMarksAndGradients) {
  for (const char* text : {"<E>wrong</E> text", "<P BGCOLOR=\"clRed\" BGCOLORTO=\"clBlue\">band</P>",
                           "<BODY BGCOLOR=\"clRed\">x", "a<HR>b"}) {
    c->Pen()->SetColor(clGreen);
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(clYellow);
    Office(text);
    EXPECT_EQ(c->Pen()->GetColor(), clGreen) << text;
    EXPECT_EQ(c->Brush()->GetColor(), clYellow) << text;
    EXPECT_EQ(c->Brush()->GetStyle(), bsSolid) << text;
  }
}

TEST_F(MarkupCanvas, PicturesInsideLinksAreHitAndShowTheirAlternative) {
  TImageList images(nullptr);
  images.AddRawImage(TRawImage(16, 16, MakeArgb(255, 0, 255, 0)));
  images.AddRawImage(TRawImage(16, 16, MakeArgb(255, 255, 0, 0)));
  const std::string text = "<A HREF=\"pic\"><IMG SRC=\"IDX:0\" ALT=\"IDX:1\"></A> <IMG SRC=\"IDX:0\">";
  TCall k;
  k.images = &images;
  k.hitTestOnly = true;
  k.hitX = 9;
  k.hitY = 8;
  const TOut hit = Grid(text, k);
  EXPECT_TRUE(hit.result);
  EXPECT_EQ(hit.hitAnchor, "pic");
  k.hitX = 1 + 16 + c->TextWidth(" ") + 8;  // the second picture is outside the link
  EXPECT_FALSE(Grid(text, k).result);
  k.hitTestOnly = false;
  k.hitX = 9;
  Grid(text, k);
  EXPECT_EQ(At(9, 8), clRed);  // the mouse rests on it: the ALT picture
  k.hitX = k.hitY = -1;
  Grid(text, k);
  EXPECT_EQ(At(9, 8), clLime);
  k.measureOnly = true;
  EXPECT_EQ(Grid(text, k).extentY, 16);
  k = TCall();
  k.images = &images;
  Reset(400, 200);
  std::string a, plain, f, t, id, v, ty;
  int ex = 0, ey = 0, n = 0, h = 0;
  TRect hot{}, ctrl{};
  HTMLDrawEx(c, "<IMG SRC=\"IDX:1\">", TRect{0, 0, 400, 200}, &images, -1, -1, -1, 0, 0, false, false, true, false,
             true, false, true, false, 2.0, clBlue, clNone, clNone, clGray, a, plain, f, t, ex, ey, n, h, hot, ctrl, id,
             v, ty, nullptr, nullptr, nullptr);
  EXPECT_EQ(At(30, 30), clRed);  // printed at twice the size
  EXPECT_EQ(At(34, 34), clWhite);
}

TEST_F(MarkupCanvas, LinkStylingContinuesOnTheNextLine) {
  const int gh = Gh();
  auto lineTwo = [&](bool hotOnly) {
    Reset(400, 200);
    TCall k;
    k.hotOnly = hotOnly;  // with hover styling off every link is underlined
    k.bounds = TRect{0, 0, c->TextWidth("alpha ") + 4, 200};
    Grid("<A HREF=\"x\">alpha beta</A> after", k);
    std::vector<TColor> row;
    for (int y = gh; y < 2 * gh; ++y)
      for (int x = 0; x < c->TextWidth("beta"); ++x) row.push_back(At(x, y));
    return row;
  };
  EXPECT_NE(lineTwo(false), lineTwo(true));
}

TEST_F(MarkupCanvas, ListsAndTagsKnownByTheirFirstLetters) {
  const int gh = Gh();
  EXPECT_EQ(Grid("<UL><LI>a<LI>b</UL>", Measure()).extentY, 3 * gh);  // the list's break, then one item a line
  EXPECT_EQ(Grid("<LI>a", Measure()).extentX, c->TextWidth("a"));   // level 0: the bullet stands left of the pen
  EXPECT_EQ(Grid("<UL><LI>a", Measure()).extentX, 12 + c->TextWidth("a"));
  TCall k;
  k.wrap = true;
  Grid("<BLUE>HHHH</BLUE>", k);  // BLINK while the blink phase is on: drawn
  EXPECT_GT(Ink(TRect{0, 0, 40, gh}), 0);
  Reset(400, 200);
  std::string a, plain, f, t, id, v, ty;
  int ex = 0, ey = 0, n = 0, h = 0;
  TRect hot{}, ctrl{};
  HTMLDrawEx(c, "<BLUE>HHHH</BLUE>", TRect{0, 0, 400, 200}, nullptr, -1, -1, -1, 0, 0, false, false, false, false,
             false, false, true, false, 1.0, clBlue, clNone, clNone, clGray, a, plain, f, t, ex, ey, n, h, hot, ctrl,
             id, v, ty, nullptr, nullptr, nullptr);
  EXPECT_EQ(Ink(TRect{0, 0, 40, gh}), 0);  // off phase: the text takes the background colour
  Reset(100, 40);
  TCall body;
  body.bounds = TRect{0, 0, 100, 40};
  Grid("<BOLD BGCOLOR=\"clRed\">", body);  // acts as BODY
  EXPECT_EQ(At(50, 20), clRed);
}

TEST_F(MarkupCanvas, RendersNarrowHeadersForALook) {
  Reset(300, 80);
  const std::string caption = "<FONT FACE=\"Tahoma\" SIZE=\"2\" COLOR=\"clNavy\"><B>Плотность</B>, кг/м<SUP>3</SUP></FONT>";
  TCall k;
  k.wrap = false;
  k.bounds = TRect{4, 4, 70, 40};  // cut with an ellipsis
  const TOut cut = Grid(caption, k);
  k.wrap = true;
  k.bounds = TRect{100, 4, 170, 60};  // wrapped at the blank
  const TOut wrapped = Grid(caption, k);
  k.bounds = TRect{200, 4, 296, 40};
  Grid("<P ALIGN=\"CENTER\">" + caption + "</P>", k);
  Save("headers");
  EXPECT_EQ(cut.extentY, Grid(caption, Measure()).extentY);
  EXPECT_GT(wrapped.extentY, cut.extentY);
  EXPECT_EQ(Ink(TRect{70, 0, 100, 80}), 0);  // nothing past the cut
}
