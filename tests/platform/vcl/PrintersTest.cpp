#include "platform/vcl/Printers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Graphics.h"
#include "tests/support/PdfTools.h"

namespace fs = std::filesystem;

namespace {

struct PrinterFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("lorm-printers-" + std::to_string(::getpid()));
  TPrinter printer;
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
    printer.FileName = (dir / "out.pdf").string();
  }
  void TearDown() override { if (!std::getenv("LORM_KEEP_PRINTS")) fs::remove_all(dir); }
};

}  // namespace

TEST_F(PrinterFixture, PagesAreWrittenWithTheirTextAndSize) {
  EXPECT_EQ(printer.Printers()->Get(0), "PDF file");
  EXPECT_EQ(printer.PageWidth(), 1240);  // A4 at 150 dpi
  EXPECT_EQ(printer.PageHeight(), 1754);
  EXPECT_EQ(GetDeviceCaps(printer.Handle(), LOGPIXELSX), 150);
  printer.Title = "Расчёт";
  printer.BeginDoc();
  TCanvas* c = printer.Canvas();
  SetMapMode(c->GetHandle(), MM_LOMETRIC);
  c->Font()->SetHeight(-40);
  c->TextOut(200, -200, "Коэффициент K1");
  c->TextOut(200, -300, "Plain K2");
  c->Rectangle(100, -100, 1000, -400);
  printer.NewPage();
  c->TextOut(200, -200, "Second page");
  printer.EndDoc();
  EXPECT_FALSE(printer.Printing());
  ASSERT_TRUE(fs::exists(printer.FileName));
  EXPECT_FALSE(fs::exists(printer.FileName + ".part"));
  EXPECT_EQ(pdftools::Pages(printer.FileName), 2);
  EXPECT_NE(pdftools::Text(printer.FileName, 1).find("Коэффициент K1"), std::string::npos);
  EXPECT_NE(pdftools::Text(printer.FileName, 2).find("Second page"), std::string::npos);
  EXPECT_NE(pdftools::Run("pdfinfo '" + printer.FileName + "'").find("Расчёт"), std::string::npos);
}

TEST_F(PrinterFixture, LandscapeSwapsThePageAndAbortWritesNothing) {
  printer.SetOrientation(poLandscape);
  EXPECT_EQ(printer.PageWidth(), 1754);
  printer.BeginDoc();
  EXPECT_THROW(printer.SetOrientation(poPortrait), EPrinter);
  printer.Canvas()->TextOut(10, 10, "x");
  printer.Abort();
  EXPECT_TRUE(printer.Aborted());
  EXPECT_FALSE(fs::exists(printer.FileName));
  EXPECT_FALSE(fs::exists(printer.FileName + ".part"));
}

TEST_F(PrinterFixture, FaultsAreClearErrors) {
  EXPECT_THROW(printer.EndDoc(), EPrinter);
  EXPECT_THROW(printer.NewPage(), EPrinter);
  printer.FileName.clear();
  EXPECT_THROW(printer.BeginDoc(), EPrinter);
  printer.FileName = "/nonexistent-dir/x.pdf";
  EXPECT_THROW(printer.BeginDoc(), EPrinter);
  EXPECT_FALSE(printer.Printing());
  EXPECT_THROW(printer.SetPrinterIndex(5), EPrinter);
  EXPECT_EQ(DeviceCapabilitiesA("PDF file", "", DC_ORIENTATION, nullptr, nullptr), 90);
}

TEST_F(PrinterFixture, MissingCupsServerListsOnlyThePdfPrinter) {
  const char* old = std::getenv("CUPS_SERVER");
  std::string saved = old ? old : "";
  setenv("CUPS_SERVER", (dir / "no-cupsd.sock").c_str(), 1);
  auto t0 = std::chrono::steady_clock::now();
  printer.Refresh();
  auto took = std::chrono::steady_clock::now() - t0;
  if (old) setenv("CUPS_SERVER", saved.c_str(), 1); else unsetenv("CUPS_SERVER");
  EXPECT_EQ(printer.Printers()->Count(), 1);
  EXPECT_FALSE(printer.CupsError().empty());
  EXPECT_LT(took, std::chrono::seconds(2));
}

// A private CUPS scheduler with one queue writing to a file, reached through CUPS_SERVER.
TEST_F(PrinterFixture, PrivateCupsQueueIsListedAndTakesTheDocument) {
  if (::geteuid() != 0 || !fs::exists("/usr/sbin/cupsd") || !fs::exists("/usr/sbin/lpadmin"))
    GTEST_SKIP() << "needs root, cupsd and lpadmin";
  fs::path c = dir / "cups";
  for (const char* d : {"spool", "cache", "state", "log", "out"}) fs::create_directories(c / d);
  fs::permissions(c / "out", fs::perms::all);
  std::string sock = (c / "cups.sock").string();
  std::ofstream(c / "cupsd.conf") << "Listen " << sock << "\nLogLevel warn\nWebInterface No\nBrowsing Off\n"
                                  << "<Location />\nOrder allow,deny\nAllow all\n</Location>\n";
  std::ofstream(c / "cups-files.conf") << "FileDevice Yes\nRequestRoot " << (c / "spool").string() << "\nCacheDir "
                                       << (c / "cache").string() << "\nStateDir " << (c / "state").string()
                                       << "\nErrorLog " << (c / "log/error_log").string() << "\nServerRoot "
                                       << c.string() << "\n";
  pid_t pid = fork();
  if (pid == 0) {
    execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (c / "cupsd.conf").c_str(), "-s", (c / "cups-files.conf").c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 50 && !fs::exists(sock); ++i) usleep(50000);
  const char* old = std::getenv("CUPS_SERVER");
  std::string saved = old ? old : "";
  setenv("CUPS_SERVER", sock.c_str(), 1);
  std::string added = pdftools::Run("lpadmin -p lorm-test -v file://" + (c / "out/job.pdf").string() + " -E 2>&1");
  printer.Refresh();
  int index = printer.Printers()->IndexOf("lorm-test");
  EXPECT_GT(index, 0) << printer.CupsError() << added << printer.Printers()->GetText();
  if (index > 0) {
    printer.SetPrinterIndex(index);
    printer.Title = "Задание";
    printer.BeginDoc();
    printer.Canvas()->TextOut(50, 50, "Через CUPS");
    EXPECT_NO_THROW(printer.EndDoc());
    EXPECT_NE(pdftools::Run("lpstat -W all -o lorm-test 2>&1").find("lorm-test-"), std::string::npos);
  }
  if (old) setenv("CUPS_SERVER", saved.c_str(), 1); else unsetenv("CUPS_SERVER");
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}
