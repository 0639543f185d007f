// HTML export of the string grid, checked by Python's HTML parser.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "GridTestSupport.h"
#include "platform/win/WinUser.h"

namespace {
class HTMLTest : public GridTest {
protected:
  HTMLTest() {
    grid->SetColCount(3);
    grid->SetRowCount(3);
  }
  std::string Html() {
    std::string s;
    grid->SaveToHTMLString("", s);
    return s;
  }
  std::string TempDir() {
    auto dir = std::filesystem::temp_directory_path() / ("lorm-html-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }
  static int Count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
  }
  // Python's parser reads the file; answers the start tags it saw and what they hold.
  static std::string Parse(const std::string& File) {
    const std::string cmd =
        "python3 -c \"import sys,html.parser\n"
        "class P(html.parser.HTMLParser):\n"
        "  def handle_starttag(s,t,a): print('<'+t, ' '.join(k+'='+str(v) for k,v in a))\n"
        "  def handle_data(s,d): d=d.strip(); d and print('#'+d)\n"
        "p=P(); p.feed(open(sys.argv[1],encoding='utf-8').read()); p.close()\" " + File;
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
  }
};

TEST_F(HTMLTest, HeaderRowsCellsAndClasses) {
  grid->SetCellEx(0, 1, "plain");
  grid->SetCellEx(1, 1, "same");
  grid->SetCellEx(2, 1, "bold");
  grid->GetCellProperties(2, 1)->FontStyle = TFontStyles{fsBold};
  const std::string s = Html();
  EXPECT_EQ(Count(s, "<TR>"), 3);
  EXPECT_EQ(Count(s, "<TD "), 9);
  // The plain body cells share one class; the bold one has its own.
  const size_t plain = s.find(">plain</td>"), same = s.find(">same</td>"), bold = s.find(">bold</td>");
  ASSERT_NE(bold, std::string::npos);
  auto cls = [&](size_t at) { return s.substr(s.rfind("class=", at), 10); };
  EXPECT_EQ(cls(same), cls(s.find(">same</td>")));
  EXPECT_NE(cls(bold), cls(same));
  EXPECT_NE(s.find("font-weight: bold"), std::string::npos);
  EXPECT_NE(s.find("  WIDTH=\"100%\">"), std::string::npos);
  (void)plain;
}

TEST_F(HTMLTest, MergedCellSpansAndDropsCovered) {
  grid->SetCellEx(0, 1, "wide");
  grid->MergeCells(0, 1, 2, 1);
  const std::string s = Html();
  EXPECT_NE(s.find("COLSPAN=\"2\">wide</td>"), std::string::npos) << s;
  EXPECT_EQ(Count(s, "<TD "), 8);
}

TEST_F(HTMLTest, XHTMLAndQuotedLinks) {
  grid->HTMLSettings()->XHTML = true;
  grid->SetURLShow(true);
  grid->SetCellEx(1, 1, "http://example.org/a?b=\"x\"&c");
  const std::string s = Html();
  EXPECT_EQ(s.rfind("<?xml version=", 0), 0u);
  EXPECT_EQ(s.substr(s.size() - 7), "</HTML>");
  EXPECT_NE(s.find("<a href=\"http://example.org/a?b=&quot;x&quot;&amp;c\">example.org/a?b=\"x\"&c</a>"), std::string::npos)
      << s;
}

TEST_F(HTMLTest, FileWithPictureParsesWithCyrillic) {
  grid->SetCellEx(1, 1, "Привет, мир");
  TBitmap bmp;
  bmp.SetSize(16, 16);
  bmp.Canvas()->Brush()->SetColor(clRed);
  bmp.Canvas()->FillRect(TRect{0, 0, 16, 16});
  grid->AddBitmap(2, 1, &bmp, false, haLeft, vaTop);
  grid->GetCellProperties(1, 1)->BrushColor = clYellow;
  const std::string file = TempDir() + "/grid.html";
  grid->SaveToHTML(file);
  EXPECT_TRUE(std::filesystem::exists(TempDir() + "/images/img1.jpg"));
  const std::string parsed = Parse(file);
  EXPECT_NE(parsed.find("#Привет, мир"), std::string::npos) << parsed;
  EXPECT_NE(parsed.find("<img src=file://" + TempDir() + "/images/img1.jpg"), std::string::npos) << parsed;
  EXPECT_EQ(Count(parsed, "<td "), 9);
  EXPECT_NE(parsed.find("background-color: #FFFF00"), std::string::npos);
}

TEST_F(HTMLTest, ClipboardFragment) {
  grid->SetCellEx(1, 1, "frag");
  grid->CopyToClipBoardAsHTML();
  const UINT f = RegisterClipboardFormat("HTML Format");
  ASSERT_TRUE(IsClipboardFormatAvailable(f));
  const std::string text = GetClipboardTextUtf8();
  EXPECT_EQ(text.rfind("Version:", 0), 0u);
  EXPECT_NE(text.find(">frag</td>"), std::string::npos);
}
}  // namespace
