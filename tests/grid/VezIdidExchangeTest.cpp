// Grid exchange: the binary cell stream, the text cell file and stream, CSV (checked
// against Python's csv module), the ASCII layout and fixed-width columns.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "GridTestSupport.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"

namespace {
class ExchangeTest : public GridTest {
protected:
  ExchangeTest() {
    grid->SetColCount(4);
    grid->SetRowCount(5);
  }
  std::string TempFile(const std::string& Name) {
    auto dir = std::filesystem::temp_directory_path() / ("lorm-exch-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / Name).string();
  }
  static std::string ReadAll(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void WriteAll(const std::string& Path, const std::string& Bytes) {
    std::ofstream(Path, std::ios::binary) << Bytes;
  }
  static std::string Run(const std::string& Command) {
    std::string out;
    FILE* p = ::popen(Command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
  }
};

// ---- binary cell stream -------------------------------------------------------------
TEST_F(ExchangeTest, RectangleReadAtPointKeepsLayout) {
  grid->SetColCount(8);
  grid->SetRowCount(8);
  grid->SetCellEx(2, 3, "a");
  grid->SetCellEx(3, 4, "b");
  TMemoryStream m;
  grid->SaveRectToBinStream(TRect{2, 3, 3, 4}, m);
  EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 4), "TPF0");
  m.SetPosition(0);
  grid->LoadAtPointFromBinStream(TPoint{5, 5}, m);
  EXPECT_EQ(grid->GetCellEx(5, 5), "a");
  EXPECT_EQ(grid->GetCellEx(6, 6), "b");
}

TEST_F(ExchangeTest, RecordsPerCellKind) {
  auto count = [&](auto setup) {
    TDavEvadurAvuz* g = new TDavEvadurAvuz(form);
    g->SetParent(form);
    g->SetCellEx(1, 1, "x");
    setup(g);
    TMemoryStream m;
    g->SaveRectToBinStream(TRect{1, 1, 1, 1}, m);
    const std::string s(static_cast<char*>(m.Memory()), static_cast<size_t>(m.Size()));
    int n = 0;
    for (size_t p = s.find("TPF0"); p != std::string::npos; p = s.find("TPF0", p + 4)) ++n;
    delete g;
    return n - 1;  // less the grid record
  };
  EXPECT_EQ(count([](TDavEvadurAvuz*) {}), 1);
  EXPECT_EQ(count([](TDavEvadurAvuz* g) { g->GetCellProperties(1, 1)->BrushColor = clRed; }), 2);
  EXPECT_EQ(count([](TDavEvadurAvuz* g) { g->AddCheckBox(1, 1, true, false); }), 3);
  TBitmap appOwned;
  EXPECT_EQ(count([&](TDavEvadurAvuz* g) { g->AddBitmap(1, 1, &appOwned, false, haLeft, vaTop); }), 2);
}

TEST_F(ExchangeTest, FullGridRoundTripWithColoursCheckBoxesAndRadios) {
  grid->SetColWidths(1, 77);
  grid->SetRowHeights(2, 33);
  grid->SetCellEx(1, 1, "Привет");
  grid->GetCellProperties(1, 1)->BrushColor = clYellow;
  grid->GetCellProperties(1, 1)->FontStyle = TFontStyles{fsBold};
  grid->AddCheckBox(2, 2, true, false);
  TStrings* radio = grid->CreateRadio(3, 3, 0, 1);
  radio->Add("один");
  radio->Add("два");
  TMemoryStream m;
  grid->SaveToBinStream(m);
  m.SetPosition(0);
  auto* g2 = new TDavEvadurAvuz(form);
  g2->SetParent(form);
  g2->LoadFromBinStream(m);
  EXPECT_EQ(g2->ColCount(), 4);
  EXPECT_EQ(g2->RowCount(), 5);
  EXPECT_EQ(g2->ColWidths(1), 77);
  EXPECT_EQ(g2->RowHeights(2), 33);
  EXPECT_EQ(g2->GetCellEx(1, 1), "Привет");
  EXPECT_EQ(g2->GetCellProperties(1, 1)->BrushColor, clYellow);
  EXPECT_TRUE(g2->GetCellProperties(1, 1)->FontStyle.Contains(fsBold));
  bool state = false;
  EXPECT_TRUE(g2->GetCheckBoxState(2, 2, state));
  EXPECT_TRUE(state);
  TCellGraphic* rg = g2->GetCellGraphic(3, 3);
  ASSERT_TRUE(rg && rg->CellType == ctRadio && rg->CellStrings);
  EXPECT_EQ(rg->CellStrings->Count(), 2);
  EXPECT_EQ(rg->CellStrings->Strings(1), "два");
  EXPECT_EQ(rg->CellIndex, 1);
}

TEST_F(ExchangeTest, FullGridWithoutFixedExchangeHoldsEveryRecord) {
  grid->SetFixedCols(1);
  grid->SetFixedRows(1);
  grid->ExportFixedCells = false;
  grid->SetCellEx(3, 4, "last");
  TMemoryStream m;
  grid->SaveToBinStream(m);
  m.SetPosition(0);
  grid->SetCellEx(3, 4, "");
  grid->LoadFromBinStream(m);
  EXPECT_EQ(grid->ColCount(), 4);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->GetCellEx(3, 4), "last");
}

TEST_F(ExchangeTest, BadGridRecordLeavesGridAndTrailingByteIgnored) {
  grid->SetCellEx(0, 0, "keep");
  TMemoryStream m;
  grid->SaveToBinStream(m);
  m.WriteByte(0);  // one trailing byte
  m.SetPosition(0);
  grid->LoadFromBinStream(m);
  EXPECT_EQ(grid->GetCellEx(0, 0), "keep");
  // Truncated inside the grid record: an error, and nothing cleared.
  TMemoryStream t;
  t.WriteBuffer(m.Memory(), 20);
  t.SetPosition(0);
  EXPECT_THROW(grid->LoadFromBinStream(t), Exception);
  EXPECT_EQ(grid->GetCellEx(0, 0), "keep");
  EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(ExchangeTest, ProgressCountsFromRectangleTop) {
  grid->SetRowCount(20);
  std::vector<int> seen;
  grid->OnFileProgress = [&](TObject*, int16_t p) { seen.push_back(p); };
  TMemoryStream m;
  grid->SaveRectToBinStream(TRect{0, 10, 1, 14}, m);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), 0);
  EXPECT_EQ(seen.back(), 100);
  for (int p : seen) EXPECT_LE(p, 100);
}

// Random damage to a stream never crashes, reads out of bounds or hangs.
TEST_F(ExchangeTest, DamagedStreamsFailCleanly) {
  grid->SetCellEx(1, 1, "abc");
  grid->AddCheckBox(2, 2, true, false);
  grid->GetCellProperties(3, 3)->FontName = "Arial";
  TMemoryStream m;
  grid->SaveToBinStream(m);
  const std::string good(static_cast<char*>(m.Memory()), static_cast<size_t>(m.Size()));
  std::mt19937 rng(42);
  auto* g = new TDavEvadurAvuz(form);
  g->SetParent(form);
  for (int i = 0; i < 120; ++i) {
    std::string bad = good;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) bad[rng() % bad.size()] = static_cast<char>(rng());
    if (i % 3 == 0) bad.resize(rng() % bad.size());
    TStringStream s(bad);
    g->SetColCount(2);
    g->SetRowCount(2);
    try {
      g->LoadFromBinStream(s);
    } catch (const Exception&) {
    }
    EXPECT_LE(g->RowCount() * static_cast<int64_t>(g->ColCount()), static_cast<int64_t>(bad.size()) * 4 + 25);
  }
}

// ---- text cell file and stream --------------------------------------------------------
TEST_F(ExchangeTest, TextFileEncodesLineBreaks) {
  grid->Multilinecells = true;
  grid->SetCellEx(1, 1, "a\r\nb");
  grid->SetCellEx(2, 1, "t\tx");
  const std::string f = TempFile("cells.txt");
  grid->SaveToFile(f);
  const std::string bytes = ReadAll(f);
  EXPECT_NE(bytes.find("1,1,a\t\bb\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("2,1,t\tx\r\n"), std::string::npos) << "a TAB without CR is written as it is";
  grid->Clear();
  grid->LoadFromFile(f);
  EXPECT_EQ(grid->GetCellEx(1, 1), "a\r\nb");
  EXPECT_EQ(grid->GetCellEx(2, 1), "t\tx");
  grid->Multilinecells = false;
  grid->LoadFromFile(f);
  EXPECT_EQ(grid->GetCellEx(1, 1), "a");
}

TEST_F(ExchangeTest, TextFileSizeLineWithFixedCellsOff) {
  const std::string f = TempFile("size.txt");
  WriteAll(f, "3,4\r\ncw 1,50\r\n1,2,hello, world\r\n");
  grid->SetFixedCols(1);
  grid->SetFixedRows(1);
  grid->ExportFixedCells = false;
  grid->LoadFromFile(f);
  EXPECT_EQ(grid->ColCount(), 4);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->ColWidths(1), 50);
  EXPECT_EQ(grid->GetCellEx(1, 2), "hello, world");
}

TEST_F(ExchangeTest, TextFileWithoutDataKeepsGrid) {
  const std::string f = TempFile("empty.txt");
  for (const char* bytes : {"", "0,5\r\n", "abc\r\n"}) {
    WriteAll(f, bytes);
    grid->SetCellEx(0, 0, "keep");
    try {
      grid->LoadFromFile(f);
      FAIL() << bytes;
    } catch (const EVezIdidError& e) {
      EXPECT_EQ(std::string(e.what()), "File contains no data or corrupt file " + f);
    }
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->GetCellEx(0, 0), "keep");
  }
}

TEST_F(ExchangeTest, TextStreamStopsAtForeignLineAndLoneCR) {
  grid->SetCellEx(1, 1, "x");
  grid->SetCellEx(2, 3, "y");
  TMemoryStream m;
  grid->SaveToStream(m);
  m.WriteString("FOREIGN\r\n");
  m.SetPosition(0);
  auto* g = new TDavEvadurAvuz(form);
  g->SetParent(form);
  g->LoadFromStream(m);
  EXPECT_EQ(g->GetCellEx(1, 1), "x");
  EXPECT_EQ(g->GetCellEx(2, 3), "y");
  std::string rest(9, '\0');
  m.ReadBuffer(rest.data(), 9);
  EXPECT_EQ(rest, "FOREIGN\r\n");
  // A CR without LF ends a line without eating the next byte.
  TStringStream s("2,2\r0,0,a\r1,1,b\r");
  g->LoadFromStream(s);
  EXPECT_EQ(g->GetCellEx(0, 0), "a");
  EXPECT_EQ(g->GetCellEx(1, 1), "b");
  TStringStream bad("x,2\r\n");
  EXPECT_THROW(g->LoadFromStream(bad), EConvertError);
}

// ---- CSV ---------------------------------------------------------------------------
TEST_F(ExchangeTest, CSVQuotingReadByPython) {
  grid->Multilinecells = false;
  grid->SetCellEx(0, 0, "a,b");
  grid->SetCellEx(1, 0, "say \"hi\"");
  grid->SetCellEx(2, 0, "Привет");
  grid->SetCellEx(3, 0, "line1\r\nline2");
  grid->SetCellEx(0, 1, "");
  const std::string f = TempFile("out.csv");
  grid->SaveToCSV(f);
  const std::string py = Run("python3 -c \"import csv,sys,json; print(json.dumps(list(csv.reader(open(sys.argv[1], "
                             "newline='', encoding='utf-8')))[:2], ensure_ascii=False))\" " + f);
  EXPECT_NE(py.find("[\"a,b\", \"say \\\"hi\\\"\", \"Привет\", \"line1\\u000bline2\"]"), std::string::npos) << py;
  auto* g = new TDavEvadurAvuz(form);
  g->SetParent(form);
  g->LoadFromCSV(f);
  EXPECT_EQ(g->GetCellEx(0, 0), "a,b");
  EXPECT_EQ(g->GetCellEx(1, 0), "say \"hi\"");
  EXPECT_EQ(g->GetCellEx(2, 0), "Привет");
  EXPECT_EQ(g->GetCellEx(3, 0), "line1\r\nline2");
}

TEST_F(ExchangeTest, CSVWrittenByPythonLoads) {
  const std::string f = TempFile("py.csv");
  Run("python3 -c \"import csv,sys; w=csv.writer(open(sys.argv[1],'w',newline='',encoding='utf-8')); "
      "w.writerow(['x,1','q\\\"q','Ёж']); w.writerow(['multi\\nline','','end'])\" " + f);
  grid->LoadFromCSV(f);
  EXPECT_EQ(grid->GetCellEx(0, 0), "x,1");
  EXPECT_EQ(grid->GetCellEx(1, 0), "q\"q");
  EXPECT_EQ(grid->GetCellEx(2, 0), "Ёж");
  EXPECT_EQ(grid->GetCellEx(0, 1), "multi\r\nline");
  EXPECT_EQ(grid->GetCellEx(2, 1), "end");
  EXPECT_EQ(grid->RowCount(), 2);
}

TEST_F(ExchangeTest, CSVDelimiterDetection) {
  struct Case {
    const char* text;
    int col;
    const char* value;
  } cases[] = {
      {"a;b;c\r\nd;e;f\r\n", 2, "c"},
      {"a,b;c\r\n", 1, "b;c"},
      {"x,\"\"\"y\"\"\",z\r\n", 1, "\"y\""},
  };
  const std::string f = TempFile("det.csv");
  for (const Case& c : cases) {
    WriteAll(f, c.text);
    grid->LoadFromCSV(f);
    EXPECT_EQ(grid->GetCellEx(c.col, 0), c.value) << c.text;
    EXPECT_EQ(grid->CSVDelimiter, '\0');
  }
  grid->CSVDelimiter = ';';
  WriteAll(f, "a,b;c\r\n");
  grid->LoadFromCSV(f);
  EXPECT_EQ(grid->GetCellEx(0, 0), "a,b");
  EXPECT_EQ(grid->CSVDelimiter, ';');
}

TEST_F(ExchangeTest, CSVEmptyLastFieldEmptiesCellAndMaxRows) {
  const std::string f = TempFile("last.csv");
  grid->SetCellEx(2, 0, "old");
  WriteAll(f, "a,b,\r\nc,d,e\r\nf,g,h\r\n");
  grid->LoadFromCSV(f, 2);
  EXPECT_EQ(grid->GetCellEx(2, 0), "");
  EXPECT_EQ(grid->GetCellEx(2, 1), "e");
  EXPECT_EQ(grid->RowCount(), 2);
  WriteAll(f, "");
  EXPECT_THROW(grid->LoadFromCSV(f), Exception);
}

TEST_F(ExchangeTest, CSVJavaModeAndAlwaysQuote) {
  grid->SetColCount(2);
  grid->SetRowCount(1);
  grid->Multilinecells = true;
  grid->SetCellEx(0, 0, "");
  grid->SetCellEx(1, 0, "a\r\nb");
  const std::string f = TempFile("java.csv");
  grid->CSVJavaMode = true;
  grid->SaveToCSV(f);
  EXPECT_EQ(ReadAll(f), "^,a~b\r\n");
  grid->SetCellEx(1, 0, "");
  grid->LoadFromCSV(f);
  EXPECT_EQ(grid->GetCellEx(1, 0), "a\r\nb");
  grid->CSVJavaMode = false;
  grid->CSVAlwaysQuote = true;
  grid->SetCellEx(0, 0, "x");
  grid->SaveToCSV(f);
  EXPECT_EQ(ReadAll(f), "\"x\",\"a\nb\"\r\n");
  grid->LoadFromCSV(f);
  EXPECT_EQ(grid->GetCellEx(1, 0), "a\r\nb");
}

// ---- ASCII and fixed width -------------------------------------------------------------
TEST_F(ExchangeTest, ASCIILayoutAlignsAndContinues) {
  grid->SetColCount(3);
  grid->SetRowCount(2);
  grid->Multilinecells = true;
  grid->SetCellEx(0, 0, "name");
  grid->SetCellEx(1, 0, "5");
  grid->SetCellEx(1, 1, "125");
  grid->SetCellEx(2, 0, "top\r\nnext");
  grid->GetCellProperties(1, 0)->Alignment = taRightJustify;
  grid->GetCellProperties(1, 1)->Alignment = taRightJustify;
  const std::string f = TempFile("a.txt");
  grid->SaveToASCII(f);
  EXPECT_EQ(ReadAll(f), "name   5 top  \r\n"
                        "         next\r\n"
                        "     125      \r\n");
}

TEST_F(ExchangeTest, ASCIIManyColumns) {
  grid->SetColCount(600);
  grid->SetRowCount(1);
  grid->SetCellEx(599, 0, "z");
  const std::string f = TempFile("wide.txt");
  grid->SaveToASCII(f);
  EXPECT_EQ(ReadAll(f), std::string(599, ' ') + "z \r\n");
}

TEST_F(ExchangeTest, FixedWidthWriteAndRead) {
  grid->SetColCount(2);
  grid->SetRowCount(1);
  grid->SetCellEx(0, 0, "abcdef");
  grid->SetCellEx(1, 0, "Ёж");
  TIntList widths(-1, -1);
  widths.Add(3);
  const std::string f = TempFile("fixed.txt");
  grid->SaveToFixed(f, &widths);
  EXPECT_EQ(widths.Count(), 2);
  EXPECT_EQ(ReadAll(f), "abcЁж \r\n");
  WriteAll(f, " ab  cd x\r\nefgh\r\nlast\r\n");
  TIntList pos(-1, -1);
  for (int p : {9, 1, 5}) pos.Add(p);
  grid->LoadFromFixed(f, &pos, true, 0);
  EXPECT_EQ(pos.Items(), (std::vector<int>{1, 5, 9}));
  EXPECT_EQ(grid->ColCount(), grid->FixedCols() + 2);
  EXPECT_EQ(grid->GetCellEx(0, 0), "ab");
  EXPECT_EQ(grid->GetCellEx(1, 0), "cd");
  grid->LoadFromFixed(f, &pos, false, -1);
  EXPECT_EQ(grid->GetCellEx(0, 0), " ab ");
  EXPECT_EQ(grid->GetCellEx(0, 2), "last");
  TIntList one(-1, -1);
  one.Add(1);
  grid->SetCellEx(0, 0, "keep");
  grid->LoadFromFixed(f, &one, true, -1);
  EXPECT_EQ(grid->GetCellEx(0, 0), "keep");
  EXPECT_THROW(grid->LoadFromFixed(TempFile("missing.txt"), &pos, true, -1), EVezIdidError);
}
}  // namespace

namespace {
TEST_F(ExchangeTest, CSVInsertKeepsFloatingFooterLast) {
  grid->SetColCount(2);
  grid->SetRowCount(3);
  grid->FloatingFooter()->SetVisible(true);
  grid->SetCellEx(0, 1, "body");
  grid->SetCellEx(0, 2, "footer");
  const std::string f = TempFile("ins.csv");
  WriteAll(f, "n1,x\r\nn2,y\r\n");
  grid->InsertFromCSV(f);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_EQ(grid->GetCellEx(0, 1), "body");
  EXPECT_EQ(grid->GetCellEx(0, 2), "n1");
  EXPECT_EQ(grid->GetCellEx(1, 3), "y");
  EXPECT_EQ(grid->GetCellEx(0, 4), "footer");
}
}  // namespace
