// The rich edit: its document, the rich-text reader and writer (checked against unrtf),
// the character-format and stream messages, the size request, rendering into a DC, and
// typing into it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/RichEdit.h"

namespace {

// "H₂O is bold; m²" with the 2s lowered and raised, and "bold" in bold.
TRichDocument Formula() {
  TRichDocument d;
  d.Clear();
  TRichCharFormat plain, sub, sup, bold;
  sub.Offset = -40;
  sup.Offset = 40;
  bold.Bold = true;
  d.Insert(d.Length(), u"H", plain);
  d.Insert(d.Length(), u"2", sub);
  d.Insert(d.Length(), u"O is ", plain);
  d.Insert(d.Length(), u"bold", bold);
  d.Insert(d.Length(), u"; m", plain);
  d.Insert(d.Length(), u"2", sup);
  d.Insert(d.Length(), u" Пр\r", plain);
  d.Insert(d.Length(), u"right", plain);
  d.SetParagraphAlignment(1, taRightJustify);
  return d;
}

std::string Shell(const std::string& Command) {
  std::string out;
  if (FILE* p = ::popen(Command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

}  // namespace

TEST(RichText, ReaderTakesFormatsCodePagesAndParagraphs) {
  TRichDocument d;
  d.ReadRtf(
      "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fcharset204 Times New Roman;}}"
      "{\\colortbl ;\\red255\\green0\\blue0;}"
      "\\pard\\qc\\f1\\fs24 \\'cc\\b x\\b0\\i y\\i0\\ul z\\ulnone\\cf1 r\\cf0\\dn4 s\\nosupersub\\up6 t\\plain u"
      "\\par\\pard a\\u8364?\\line b\\tab c}");
  EXPECT_EQ(d.Text(), u"Мxyzrstu\ra€\vb\tc");
  EXPECT_EQ(d.ParagraphAlignment(0), taCenter);
  EXPECT_EQ(d.ParagraphAlignment(1), taLeftJustify);
  struct {
    int Pos;
    bool Bold, Italic, Underline;
    TColor Color;
    int Offset, Size;
    const char* Face;
  } cases[] = {
      {0, false, false, false, clBlack, 0, 12, "Times New Roman"},
      {1, true, false, false, clBlack, 0, 12, "Times New Roman"},
      {2, false, true, false, clBlack, 0, 12, "Times New Roman"},
      {3, false, false, true, clBlack, 0, 12, "Times New Roman"},
      {4, false, false, false, TColor(0x0000FF), 0, 12, "Times New Roman"},
      {5, false, false, false, clBlack, -40, 12, "Times New Roman"},
      {6, false, false, false, clBlack, 60, 12, "Times New Roman"},
      {7, false, false, false, clBlack, 0, 10, "Times New Roman"},
  };
  for (const auto& c : cases) {
    const TRichCharFormat& f = d.FormatAt(c.Pos);
    SCOPED_TRACE(c.Pos);
    EXPECT_EQ(f.Bold, c.Bold);
    EXPECT_EQ(f.Italic, c.Italic);
    EXPECT_EQ(f.Underline, c.Underline);
    EXPECT_EQ(f.Color, c.Color);
    EXPECT_EQ(f.Offset, c.Offset);
    EXPECT_EQ(f.Size, c.Size);
    EXPECT_EQ(f.FaceName, c.Face);
  }
}

TEST(RichText, WriterOutputReadsBackUnchanged) {
  const TRichDocument d = Formula();
  TRichDocument back;
  back.ReadRtf(d.WriteRtf());
  EXPECT_EQ(back.Text(), d.Text());
  const auto a = d.Runs(), b = back.Runs();
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].Start, b[i].Start);
    EXPECT_EQ(a[i].Length, b[i].Length);
    EXPECT_TRUE(*a[i].Format == *b[i].Format) << i;
  }
  EXPECT_EQ(back.ParagraphAlignment(1), taRightJustify);
  // A range: its characters only, in their formats.
  TRichDocument part;
  part.ReadRtf(d.WriteRtf(0, 3));
  EXPECT_EQ(part.Text(), u"H2O");
  EXPECT_EQ(part.FormatAt(1).Offset, -40);
  EXPECT_EQ(RtfToPlainText(d.WriteRtf()), "H2O is bold; m2 Пр\nright");
}

TEST(RichText, UnrtfReadsWhatTheWriterWrites) {
  if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "no unrtf";
  const auto file = std::filesystem::temp_directory_path() / "lorm_rich_writer.rtf";
  {
    std::ofstream f(file, std::ios::binary);
    f << Formula().WriteRtf();
  }
  const std::string html = Shell("unrtf --html '" + file.string() + "' 2>/dev/null");
  std::filesystem::remove(file);
  EXPECT_NE(html.find("H"), std::string::npos) << html;
  EXPECT_NE(html.find("<sub>2</sub>"), std::string::npos) << html;
  EXPECT_NE(html.find("<sup>2</sup>"), std::string::npos) << html;
  EXPECT_NE(html.find("<b>bold</b>"), std::string::npos) << html;
  EXPECT_NE(html.find("&#1055;&#1088;"), std::string::npos) << html;
  EXPECT_NE(html.find("right"), std::string::npos) << html;
}

TEST(RichText, BrokenInputReadsWhatItCan) {
  struct {
    const char* Rtf;
    const char* Text;
  } cases[] = {
      {"{\\rtf1 \\b open", "open"},
      {"{\\rtf1 \\'zz ok}", " ok"},
      {"{\\rtf1 {\\fonttbl{\\f0 A;}x}y}", "y"},
      {"", ""},
      {"\\", ""},
      {"{\\rtf1 \\fs-5 \\up99999 a}", "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(RtfToPlainText(c.Rtf), c.Text) << c.Rtf;
  TRichDocument d;
  d.ReadRtf("{\\rtf1 \\fs-5 \\up99999 a}");
  EXPECT_EQ(d.FormatAt(0).Size, 10);
  EXPECT_EQ(d.FormatAt(0).Offset, 32000);
}

// ---------------------------------------------------------------------------------------
namespace {
class RichEditTest : public ::testing::Test {
protected:
  RichEditTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(30, 30, 420, 300);
    form->Show();
    edit = new TRichEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 10, 300, 120);
  }
  ~RichEditTest() override { Application->Restart(); }
  THeadlessScope scope;
  TForm* form = nullptr;
  TRichEdit* edit = nullptr;
  TRobot robot;
};
}  // namespace

TEST_F(RichEditTest, CharacterFormatOfTheSelection) {
  edit->Lines()->SetText("H2O");
  edit->SetSelStart(1);
  edit->SetSelLength(1);
  CHARFORMAT2 cf;
  cf.dwMask = CFM_OFFSET;
  cf.yOffset = -40;
  edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
  CHARFORMAT2 got;
  edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&got));
  EXPECT_EQ(got.yOffset, -40);
  EXPECT_TRUE(got.dwMask & CFM_OFFSET);
  // Mixed offsets leave the offset out of the mask.
  edit->SelectAll();
  edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&got));
  EXPECT_FALSE(got.dwMask & CFM_OFFSET);
  edit->SelAttributes()->SetStyle(TFontStyles{fsBold});
  edit->SelAttributes()->SetColor(TColor(0x00FF00));
  EXPECT_TRUE(edit->SelAttributes()->Style().Contains(fsBold));
  EXPECT_EQ(edit->Document().FormatAt(1).Offset, -40);
  EXPECT_EQ(edit->Document().FormatAt(2).Color, TColor(0x00FF00));
}

TEST_F(RichEditTest, LinesLoadAndSaveRichTextOrPlainText) {
  const std::string rtf = Formula().WriteRtf();
  TMemoryStream in;
  in.WriteBuffer(rtf.data(), static_cast<int64_t>(rtf.size()));
  in.SetPosition(0);
  edit->Lines()->LoadFromStream(in);
  EXPECT_EQ(edit->Lines()->Count(), 2);
  EXPECT_EQ(edit->Lines()->Get(0), "H2O is bold; m2 Пр");
  EXPECT_EQ(edit->Document().FormatAt(1).Offset, -40);
  TMemoryStream out;
  edit->Lines()->SaveToStream(out);
  std::string saved(static_cast<size_t>(out.Size()), '\0');
  out.SetPosition(0);
  out.ReadBuffer(saved.data(), static_cast<int64_t>(saved.size()));
  EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u);
  edit->SetPlainText(true);
  TMemoryStream plain;
  edit->Lines()->SaveToStream(plain);
  EXPECT_EQ(plain.Size(), static_cast<int64_t>(std::string("H2O is bold; m2 Пр\r\nright\r\n").size()));
  // Streaming through EM_STREAMOUT and EM_STREAMIN.
  std::string streamed;
  EDITSTREAM es;
  es.pfnCallback = [&](DWORD_PTR, BYTE* Buf, LONG N, LONG* Done) {
    streamed.append(reinterpret_cast<const char*>(Buf), static_cast<size_t>(N));
    *Done = N;
    return DWORD(0);
  };
  edit->Perform(EM_STREAMOUT, SF_RTF, LPARAM(&es));
  EXPECT_EQ(streamed, edit->GetRtf());
  edit->Clear();
  size_t pos = 0;
  es.pfnCallback = [&](DWORD_PTR, BYTE* Buf, LONG N, LONG* Done) {
    const size_t n = std::min<size_t>(static_cast<size_t>(N), streamed.size() - pos);
    std::copy(streamed.begin() + static_cast<long>(pos), streamed.begin() + static_cast<long>(pos + n), Buf);
    pos += n;
    *Done = static_cast<LONG>(n);
    return DWORD(0);
  };
  edit->Perform(EM_STREAMIN, SF_RTF, LPARAM(&es));
  EXPECT_EQ(edit->Document().Text(), Formula().Text());
}

TEST_F(RichEditTest, RequestsTheSizeItsContentNeeds) {
  TRect asked{};
  int requests = 0;
  edit->OnResizeRequest = [&](TObject*, const TRect& R) {
    asked = R;
    ++requests;
  };
  edit->SetWordWrap(false);
  edit->Lines()->SetText("one");
  const int oneLine = asked.Bottom - asked.Top, narrow = asked.Right - asked.Left;
  EXPECT_GT(oneLine, 0);
  edit->Lines()->Add("a longer second line");
  EXPECT_GT(asked.Bottom - asked.Top, oneLine);
  EXPECT_GT(asked.Right - asked.Left, narrow);
  const int before = requests;
  edit->Perform(EM_REQUESTRESIZE, 0, 0);
  EXPECT_EQ(requests, before + 1);
  // With word wrap the width is the control's.
  edit->SetWordWrap(true);
  edit->Perform(EM_REQUESTRESIZE, 0, 0);
  EXPECT_EQ(asked.Right - asked.Left, edit->Width());
}

TEST_F(RichEditTest, FormatRangeDrawsIntoAnyRectangleInTwips) {
  edit->Lines()->SetText("WWWW");
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(GetDC(nullptr), 200, 60);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, 200, 60};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  FORMATRANGE fr;
  fr.hdc = fr.hdcTarget = dc;
  fr.rc = RECT{100 * 15, 10 * 15, 190 * 15, 50 * 15};  // pixels 100..190, 10..50
  fr.rcPage = fr.rc;
  fr.chrg = CHARRANGE{0, -1};
  EXPECT_EQ(edit->Perform(EM_FORMATRANGE, 1, LPARAM(&fr)), 4);
  edit->Perform(EM_FORMATRANGE, 0, 0);
  auto inkIn = [&](int x0, int x1) {
    for (int y = 0; y < 60; ++y)
      for (int x = x0; x < x1; ++x)
        if ((GetPixel(dc, x, y) & 0xFFFFFF) != 0xFFFFFF) return true;
    return false;
  };
  EXPECT_FALSE(inkIn(0, 100));
  EXPECT_TRUE(inkIn(100, 190));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST_F(RichEditTest, TypingCaretAndSelection) {
  edit->SetFocus();
  robot.Type("abc");
  EXPECT_EQ(edit->Lines()->Text(), "abc\r\n");
  robot.PressKey(VK_LEFT);
  robot.PressKey(VK_LEFT, rsShift);
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 1);
  CHARFORMAT2 cf;
  cf.dwMask = CFM_BOLD;
  cf.dwEffects = CFE_BOLD;
  edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&cf));
  robot.PressKey(VK_END);
  robot.Type("Дx");
  robot.PressKey(VK_BACK);
  robot.PressKey(VK_RETURN);
  robot.Type("2");
  EXPECT_EQ(edit->Document().Text(), u"abcД\r2");
  EXPECT_TRUE(edit->Document().FormatAt(1).Bold);
  EXPECT_FALSE(edit->Document().FormatAt(2).Bold);
  robot.PressKey(VK_UP);
  EXPECT_EQ(edit->SelStart(), 1);
}
