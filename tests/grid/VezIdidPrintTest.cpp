// Printing and print preview of the grid: layout values, page numbers, page choice and
// the printed document read back with poppler's tools.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/gdi/DeviceContext.h"
#include "platform/image/PngCodec.h"
#include "platform/vcl/Printers.h"
#include "grid/VezIdidPreview.h"
#include "tests/grid/GridTestSupport.h"
#include "tests/support/PdfTools.h"

namespace fs = std::filesystem;

namespace {

class PrintTest : public GridTest {
protected:
  PrintTest() {
    dir = fs::temp_directory_path() / ("lorm-gridprint-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    printer = SetPrinter(new TPrinter());
    printer->FileName = Pdf();
  }
  ~PrintTest() override {
    if (!std::getenv("LORM_KEEP_PRINTS")) fs::remove_all(dir);
    SetPrinter(nullptr);
  }
  std::string Pdf() const { return (dir / "grid.pdf").string(); }
  // A grid of Rows x Cols with "r<row>c<col>" texts and a Cyrillic heading.
  void Fill(int Cols, int Rows) {
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
      for (int c = 0; c < Cols; ++c) grid->SetCellEx(c, r, "r" + std::to_string(r) + "c" + std::to_string(c));
  }
  // Previews page Page onto a white bitmap of the page's on-screen size.
  std::unique_ptr<TBitmap> Preview(int Page, int W = 400, int H = 566) {
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(W, H);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect{0, 0, W, H});
    grid->SetPreviewPage(Page);
    grid->PrintPreview(bmp->Canvas(), TRect{0, 0, W, H});
    return bmp;
  }
  void SavePng(TBitmap* B, const std::string& Name) {
    if (!std::getenv("LORM_KEEP_PRINTS")) return;
    TByteBuffer png = EncodePng(B->ToRawImage());
    std::ofstream((dir / Name).string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  }
  fs::path dir;
  TPrinter* printer = nullptr;
};

}  // namespace

TEST_F(PrintTest, FontMappingFollowsTheFitScale) {
  EXPECT_EQ(grid->MapFontHeight(10), -35);
  grid->PrintFitScale = 0.5;
  EXPECT_EQ(grid->MapFontHeight(10), -17);
  grid->PrintFitScale = 1.0;
  EXPECT_EQ(TDavEvadurAvuz::MapFontSize(35), 9);
}

TEST_F(PrintTest, RotatedTextPlacement) {
  struct Case { TAlignment h; TVAlignment v; int angle, wc, hs, ws, hc; TPoint want; };
  const Case cases[] = {
      {taLeftJustify, vtaTop, 0, 50, 0, 0, 10, {10, 20}},
      {taRightJustify, vtaTop, 0, 50, 0, 0, 10, {60, 20}},
      {taLeftJustify, vtaBottom, 0, 50, 0, 0, 10, {10, 70}},
      {taCenter, vtaTop, 90, 0, 10, 50, 0, {55, 70}},
  };
  for (const Case& c : cases) {
    TRect r{10, 20, 110, 80};
    TDavEvadurAvuz::PlaceRotatedText(r, c.h, c.v, c.angle, c.wc, c.hs, c.ws, c.hc);
    EXPECT_EQ(TPoint(r.Left, r.Top), c.want) << c.angle << " " << int(c.h) << " " << int(c.v);
  }
}

TEST_F(PrintTest, PrintedCellsHeadersAndCyrillicReachThePdf) {
  Fill(4, 6);
  grid->SetCellEx(1, 1, "Коэффициент");
  grid->PrintSettings()->TitleText = "Отчёт";
  grid->PrintSettings()->Title = ppTopCenter;
  grid->PrintSettings()->PageNr = ppBottomCenter;
  grid->PrintSettings()->JobName = "Калибровка";
  grid->Print();
  ASSERT_TRUE(fs::exists(Pdf()));
  EXPECT_EQ(pdftools::Pages(Pdf()), 1);
  std::string text = pdftools::Text(Pdf());
  for (const char* want : {"r0c0", "r5c3", "Коэффициент", "Отчёт"}) EXPECT_NE(text.find(want), std::string::npos) << want;
  // One page: the number stands alone.
  EXPECT_NE(text.find(" 1\n"), std::string::npos) << text;
  if (std::getenv("LORM_KEEP_PRINTS")) pdftools::ToPng(Pdf(), (dir / "page").string(), 60);
}

TEST_F(PrintTest, PageNumbersWithSeparatorAndTotal) {
  Fill(3, 150);
  grid->PrintSettings()->PageNr = ppBottomCenter;
  grid->PrintSettings()->PageNumSep = "/";
  grid->Print();
  int pages = pdftools::Pages(Pdf());
  ASSERT_GE(pages, 2);
  for (int p = 1; p <= pages; ++p) {
    std::string want = std::to_string(p) + "/" + std::to_string(pages);
    EXPECT_NE(pdftools::Text(Pdf(), p).find(want), std::string::npos) << want;
  }
  EXPECT_EQ(grid->PrintPageCount, pages);
}

TEST_F(PrintTest, PrintStartChoosesThePages) {
  Fill(3, 150);
  int counted = 0;
  grid->OnPrintStart = [&](TObject*, int N, int& From, int& To) {
    counted = N;
    From = 2;
    To = 3;
  };
  grid->Print();
  ASSERT_GE(counted, 3);
  EXPECT_EQ(pdftools::Pages(Pdf()), 2);
  // The first sheet carries page 2: its first rows follow those of page 1.
  EXPECT_EQ(pdftools::Text(Pdf(), 1).find("r0c0"), std::string::npos);
  // A handler that cancels prints nothing.
  fs::remove(Pdf());
  grid->OnPrintStart = [](TObject*, int, int& From, int& To) { From = 3; To = 2; };
  grid->Print();
  EXPECT_FALSE(fs::exists(Pdf()));
}

TEST_F(PrintTest, NewPageEventForcesBreaksAndPageEventsComeOncePerPage) {
  Fill(2, 4);
  grid->OnPrintNewPage = [](TObject*, int, bool& NewPage) { NewPage = true; };
  int pageEvents = 0, doneEvents = 0;
  grid->OnPrintPage = [&](TObject*, TCanvas*, int, int, int) { ++pageEvents; };
  grid->OnPrintPageDone = [&](TObject*, TCanvas*, int, int, int, int, int) { ++doneEvents; };
  grid->Print();
  EXPECT_EQ(pdftools::Pages(Pdf()), 4);
  EXPECT_EQ(pageEvents, 4);
  EXPECT_EQ(doneEvents, 4);
}

TEST_F(PrintTest, AllRowsOnOnePageGiveOnePagePerBand) {
  Fill(30, 3);
  for (int c = 0; c < 30; ++c) grid->SetCellEx(c, 0, "a long heading of column " + std::to_string(c));
  grid->PrintSettings()->PageNr = ppBottomRight;
  int done = 0;
  grid->OnPrintPageDone = [&](TObject*, TCanvas*, int, int, int, int, int) { ++done; };
  grid->Print();
  int pages = pdftools::Pages(Pdf());
  ASSERT_GE(pages, 2);
  EXPECT_EQ(done, pages);
  // Several bands number pages within their band.
  EXPECT_NE(pdftools::Text(Pdf(), 2).find("1-2"), std::string::npos);
}

TEST_F(PrintTest, TwoBandsOfTwoPagesAreNumberedByBand) {
  Fill(8, 80);
  for (int c = 0; c < 8; ++c) grid->SetCellEx(c, 0, "a long heading of column " + std::to_string(c));
  grid->PrintSettings()->PageNr = ppBottomRight;
  grid->Print();
  int pages = pdftools::Pages(Pdf());
  ASSERT_GE(pages, 4);
  EXPECT_NE(pdftools::Text(Pdf(), 1).find("1-1"), std::string::npos);
  EXPECT_NE(pdftools::Text(Pdf(), 2).find("2-1"), std::string::npos);
}

TEST_F(PrintTest, FitModesAndFixedRowHeights) {
  Fill(3, 3);
  std::vector<int> widths;
  grid->OnPrintSetColumnWidth = [&](TObject*, int, int& W) { widths.push_back(W); };
  auto run = [&](TFitToPage mode) {
    widths.clear();
    grid->PrintSettings()->FitToPage = mode;
    grid->PrintDraw(Preview(1)->Canvas(), TRect{0, 0, 400, 566});
    return widths;
  };
  auto natural = run(fpNever);
  auto shrink = run(fpShrink);
  auto grow = run(fpGrow);
  EXPECT_EQ(shrink, natural);  // a narrow grid is not enlarged
  ASSERT_EQ(grow.size(), natural.size());
  EXPECT_GT(grow[0], natural[0]);
  bool asked = false;
  grid->OnFitToPage = [&](TObject*, double&, bool& Allow) { asked = true; Allow = false; };
  EXPECT_EQ(run(fpCustom), natural);
  EXPECT_TRUE(asked);
  // Margins wider than the page give a negative factor: it is not applied.
  grid->PrintSettings()->LeftSize = 5000;
  EXPECT_EQ(run(fpAlways), natural);
  grid->PrintSettings()->LeftSize = 0;
  // Row heights from the screen: no event.
  grid->PrintSettings()->FitToPage = fpNever;
  grid->PrintSettings()->NoAutoSizeRow = true;
  grid->SetRowHeights(1, 40);
  bool rowEvent = false;
  grid->OnPrintSetRowHeight = [&](TObject*, int, int&) { rowEvent = true; };
  Preview(1);
  EXPECT_EQ(grid->PrintRowHeight(1), int(std::nearbyint(40 * 254.0 / 96)) - 4);
  EXPECT_FALSE(rowEvent);
}

TEST_F(PrintTest, PreviewTwiceDrawsTheSamePage) {
  Fill(4, 150);
  grid->PrintSettings()->PageNr = ppBottomCenter;
  grid->PrintSettings()->Borders = pbAround;
  grid->SetCellEx(0, 2, "Многострочный");
  grid->MergeCells(1, 3, 2, 1);
  auto a = Preview(2);
  auto b = Preview(2);
  TRawImage ra = a->ToRawImage(), rb = b->ToRawImage();
  EXPECT_EQ(ra.Pixels, rb.Pixels);
  SavePng(a.get(), "preview-2.png");
  auto c = Preview(1);
  EXPECT_NE(c->ToRawImage().Pixels, ra.Pixels);
  SavePng(c.get(), "preview-1.png");
}

TEST_F(PrintTest, RowOutsideTheChosenPagesDrawsNothingButKeepsItsHeight) {
  Fill(3, 4);
  auto bmp = Preview(1);
  TRawImage before = bmp->ToRawImage();
  grid->SetPreviewPage(5);
  int h = grid->PrintRow(-300, 0, 2, 1);
  EXPECT_GT(h, 0);
  EXPECT_EQ(bmp->ToRawImage().Pixels, before.Pixels);
}

TEST_F(PrintTest, WideRangesBeyondFiveHundredColumnsPrint) {
  grid->SetColCount(600);
  grid->SetRowCount(2);
  grid->SetCellEx(599, 1, "last");
  for (int c = 0; c < 600; ++c) grid->SetColWidths(c, 8);
  grid->PrintSettings()->NoAutoSize = true;
  Preview(1);
  EXPECT_GE(grid->GetPrintColWidth(599), 0);
  EXPECT_GT(grid->PrintPageCount, 1);
}

TEST_F(PrintTest, PreviewFormStepsThroughThePages) {
  Fill(4, 150);
  grid->PrintSettings()->PageNr = ppBottomCenter;
  auto* pv = new TVezIdidPreviewForm(form, grid, 400, 566);
  pv->Show();
  pv->Update();
  EXPECT_EQ(pv->Page(), 1);
  ASSERT_GT(grid->PrintPageCount, 2);
  pv->NextButton()->Click();
  pv->Update();
  EXPECT_EQ(pv->Page(), 2);
  pv->PrevButton()->Click();
  pv->PrevButton()->Click();
  EXPECT_EQ(pv->Page(), 1);
  pv->SetPage(1000);
  EXPECT_EQ(pv->Page(), grid->PrintPageCount);
  pv->SetPage(2);
  pv->Update();
  if (std::getenv("LORM_KEEP_PRINTS")) SaveWindowPng(pv->Handle(), (dir / "preview-form.png").string());
  // The form shows what the grid's preview draws for that page.
  auto page = Preview(2);
  TRawImage want = page->ToRawImage();
  EXPECT_NE(want.Pixels, Preview(1)->ToRawImage().Pixels);
}

TEST_F(PrintTest, WithoutPageCountTheTotalIsNeverPrinted) {
  Fill(3, 150);
  grid->SkipPageCount = true;
  grid->PrintSettings()->PageNr = ppBottomCenter;
  int announced = 0;
  grid->OnPrintStart = [&](TObject*, int N, int& From, int& To) {
    announced = N;
    From = 1;
    To = 2;
  };
  grid->Print();
  EXPECT_EQ(announced, 2147483647);
  EXPECT_EQ(pdftools::Pages(Pdf()), 2);
  std::string text = pdftools::Text(Pdf());
  EXPECT_EQ(text.find("2147483647"), std::string::npos);
  EXPECT_NE(pdftools::Text(Pdf(), 2).find(" 2\n"), std::string::npos);
}
