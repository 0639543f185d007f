#include "platform/vcl/Printers.h"

#include <cairo-pdf.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Graphics.h"

#ifdef LORM_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace {

const char* const kPdfPrinter = "PDF file";

#ifdef LORM_HAVE_CUPS
// A connection to the CUPS server the environment names (CUPS_SERVER, client.conf),
// given up after a few seconds so a missing server never hangs the program.
http_t* ConnectCups(std::string& Error) {
  // The library keeps the server of its first use; the environment may have changed.
  cupsSetServer(std::getenv("CUPS_SERVER"));
  const char* server = cupsServer();
  http_t* http = httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
  if (!http) Error = std::string("CUPS is not reachable at ") + server + ": " + std::strerror(errno);
  return http;
}
#endif

}  // namespace

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()) {}

TPrinter::~TPrinter() {
  if (FPrinting) Abort();
  FreePage();
}

TStrings* TPrinter::Printers() {
  if (!FListed) Refresh();
  return FPrinters.get();
}

void TPrinter::Refresh() {
  FListed = true;
  FCupsError.clear();
  FPrinters->Clear();
  FPrinters->Add(kPdfPrinter);
#ifdef LORM_HAVE_CUPS
  http_t* http = ConnectCups(FCupsError);
  if (!http) return;
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
  ipp_t* response = cupsDoRequest(http, request, "/");
  if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
    // "No printers" is an answer, not a fault.
    if (cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) FCupsError = cupsLastErrorString();
  } else {
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
      const char* name = ippGetName(a);
      if (name && std::strcmp(name, "printer-name") == 0 && ippGetValueTag(a) == IPP_TAG_NAME)
        FPrinters->Add(ippGetString(a, 0, nullptr));
    }
  }
  if (response) ippDelete(response);
  httpClose(http);
#else
  FCupsError = "This program was built without CUPS";
#endif
  if (FPrinterIndex >= FPrinters->Count()) FPrinterIndex = 0;
}

void TPrinter::SetPrinterIndex(int Value) {
  if (FPrinting) throw EPrinter("Printing in progress");
  if (Value == -1) Value = 0;
  if (Value < 0 || Value >= Printers()->Count()) throw EPrinter("Printer selected is not valid");
  FPrinterIndex = Value;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  if (FPrinting) throw EPrinter("Printing in progress");
  if (Value == FOrientation) return;
  FOrientation = Value;
  FreePage();
}

void TPrinter::SetResolution(int Dpi) {
  if (FPrinting) throw EPrinter("Printing in progress");
  if (Dpi < 36 || Dpi > 1200) throw EPrinter("Printer resolution out of range");
  FResolution = Dpi;
  FreePage();
}

void TPrinter::SetPaperSize(int Width, int Height) {
  if (FPrinting) throw EPrinter("Printing in progress");
  if (Width < 100 || Height < 100 || Width > 20000 || Height > 20000) throw EPrinter("Paper size out of range");
  FPaperWidth = Width;
  FPaperHeight = Height;
  FreePage();
}

int TPrinter::PageWidth() const {
  int w = FOrientation == poPortrait ? FPaperWidth : FPaperHeight;
  return int(std::lround(w / 254.0 * FResolution));
}

int TPrinter::PageHeight() const {
  int h = FOrientation == poPortrait ? FPaperHeight : FPaperWidth;
  return int(std::lround(h / 254.0 * FResolution));
}

void TPrinter::FreePage() {
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) DeleteSurfaceDC(FDC);
  FDC = nullptr;
  if (FTextCr) cairo_destroy(FTextCr);
  FTextCr = nullptr;
  if (FTextLayer) cairo_surface_destroy(FTextLayer);
  FTextLayer = nullptr;
  if (FRaster) cairo_surface_destroy(FRaster);
  FRaster = nullptr;
}

HDC TPrinter::Handle() {
  if (!FDC) {
    FRaster = cairo_image_surface_create(CAIRO_FORMAT_RGB24, PageWidth(), PageHeight());
    if (cairo_surface_status(FRaster) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(FRaster);
      FRaster = nullptr;
      throw EPrinter("Out of memory for the printer page");
    }
    FDC = CreateSurfaceDC(FRaster, POINT{0, 0}, nullptr);
    SetDCResolution(FDC, FResolution, FResolution);
    StartPage();
  }
  return FDC;
}

TCanvas* TPrinter::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>();
  ApplyCanvasTarget();
  return FCanvas.get();
}

void TPrinter::ApplyCanvasTarget() {
  HDC dc = Handle();
  if (FCanvas && FCanvas->GetHandle() != dc) {
    FCanvas->SetHandle(dc);
    FCanvas->Font()->PixelsPerInch = FResolution;
  }
}

// A blank page: white pixels and an empty text layer.
void TPrinter::StartPage() {
  cairo_t* cr = cairo_create(FRaster);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_mark_dirty(FRaster);
  if (FTextCr) cairo_destroy(FTextCr);
  if (FTextLayer) cairo_surface_destroy(FTextLayer);
  cairo_rectangle_t extents{0, 0, PageWidth() * 72.0 / FResolution, PageHeight() * 72.0 / FResolution};
  FTextLayer = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
  FTextCr = cairo_create(FTextLayer);
  SetDCTextSink(FDC, FTextCr, 72.0 / FResolution);
}

// Puts the page into the document: the pixels as an image, the text over them.
void TPrinter::FinishPage() {
  double w = PageWidth() * 72.0 / FResolution, h = PageHeight() * 72.0 / FResolution;
  cairo_pdf_surface_set_size(FPdf, w, h);
  cairo_surface_flush(FRaster);
  cairo_t* cr = cairo_create(FPdf);
  cairo_save(cr);
  cairo_scale(cr, 72.0 / FResolution, 72.0 / FResolution);
  cairo_set_source_surface(cr, FRaster, 0, 0);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_flush(FTextLayer);
  cairo_set_source_surface(cr, FTextLayer, 0, 0);
  cairo_paint(cr);
  cairo_show_page(cr);
  cairo_destroy(cr);
}

void TPrinter::BeginDoc() {
  if (FPrinting) throw EPrinter("Printing in progress");
  Printers();
  bool toFile = FPrinterIndex == 0;
  if (toFile) {
    if (FileName.empty()) throw EPrinter("No file name for the PDF printer");
    FPdfPath = FileName + ".part";
  } else {
    char tmpl[] = "/tmp/lorm-print-XXXXXX";
    int fd = mkstemp(tmpl);
    if (fd < 0) throw EPrinter("Cannot create the print file");
    close(fd);
    FPdfPath = tmpl;
  }
  Handle();
  FPdf = cairo_pdf_surface_create(FPdfPath.c_str(), PageWidth() * 72.0 / FResolution,
                                  PageHeight() * 72.0 / FResolution);
  if (cairo_surface_status(FPdf) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(FPdf);
    FPdf = nullptr;
    std::remove(FPdfPath.c_str());
    throw EPrinter("Cannot write the printed document: " + (toFile ? FileName : FPdfPath));
  }
  if (!Title.empty()) cairo_pdf_surface_set_metadata(FPdf, CAIRO_PDF_METADATA_TITLE, Title.c_str());
  FPrinting = true;
  FAborted = false;
  FPageNumber = 1;
  StartPage();
  ApplyCanvasTarget();
}

void TPrinter::NewPage() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  FinishPage();
  StartPage();
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  FinishPage();
  cairo_surface_finish(FPdf);
  bool ok = cairo_surface_status(FPdf) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(FPdf);
  FPdf = nullptr;
  FPrinting = false;
  FPageNumber = 0;
  StartPage();
  std::string path = FPdfPath;
  FPdfPath.clear();
  if (!ok) {
    std::remove(path.c_str());
    throw EPrinter("Cannot write the printed document: " + (FPrinterIndex == 0 ? FileName : path));
  }
  if (FPrinterIndex == 0) {
    if (std::rename(path.c_str(), FileName.c_str()) != 0) {
      std::remove(path.c_str());
      throw EPrinter("Cannot write the printed document: " + FileName);
    }
    return;
  }
  std::string queue = FPrinters->Get(FPrinterIndex);
  try {
    SendToCups(queue, path);
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
  std::remove(path.c_str());
}

void TPrinter::Abort() {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
  cairo_surface_finish(FPdf);
  cairo_surface_destroy(FPdf);
  FPdf = nullptr;
  std::remove(FPdfPath.c_str());
  FPdfPath.clear();
  FPrinting = false;
  FAborted = true;
  FPageNumber = 0;
  StartPage();
}

void TPrinter::SendToCups(const std::string& Queue, const std::string& Path) {
#ifdef LORM_HAVE_CUPS
  std::ifstream in(Path, std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  http_t* http = ConnectCups(error);
  if (!http) throw EPrinter(error);
  std::string jobTitle = Title.empty() ? std::string("Document") : Title;
  int job = cupsCreateJob(http, Queue.c_str(), jobTitle.c_str(), 0, nullptr);
  if (job <= 0) {
    std::string msg = cupsLastErrorString();
    httpClose(http);
    throw EPrinter("Printing on " + Queue + " failed: " + msg);
  }
  bool ok = cupsStartDocument(http, Queue.c_str(), job, jobTitle.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE &&
            cupsWriteRequestData(http, data.data(), data.size()) == HTTP_STATUS_CONTINUE;
  ipp_status_t status = cupsFinishDocument(http, Queue.c_str());
  std::string msg = cupsLastErrorString();
  httpClose(http);
  if (!ok || status > IPP_STATUS_OK_CONFLICTING) throw EPrinter("Printing on " + Queue + " failed: " + msg);
#else
  (void)Path;
  throw EPrinter("Printing on " + Queue + " failed: this program was built without CUPS");
#endif
}

void TPrinter::GetPrinter(std::string& Device, std::string& Driver, std::string& Port) {
  Device = Printers()->Get(FPrinterIndex);
  Driver = FPrinterIndex == 0 ? "PDF" : "CUPS";
  Port = FPrinterIndex == 0 ? FileName : Device;
}

namespace {
std::unique_ptr<TPrinter>& PrinterSlot() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}
}  // namespace

TPrinter* Printer() {
  auto& p = PrinterSlot();
  if (!p) p = std::make_unique<TPrinter>();
  return p.get();
}

TPrinter* SetPrinter(TPrinter* NewPrinter) {
  PrinterSlot().reset(NewPrinter);
  return Printer();
}

int DeviceCapabilitiesA(const char* Device, const char* /*Port*/, WORD Capability, char* /*Output*/,
                        const void* /*DevMode*/) {
  if (!Device) return -1;
  if (Capability == DC_ORIENTATION) return 90;
  return -1;
}
