#pragma once
// The printer: documents of pages drawn through a canvas in the printer's resolution.
// Printers are "PDF file" (writes the document to FileName) and every CUPS queue (the
// same PDF handed to the queue as application/pdf). A page keeps fills, lines and
// pictures as an image of the page and its text as real text, so readers of the document
// find the words.
#include <cairo.h>

#include <memory>
#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Exceptions.h"

class TCanvas;
class TStrings;
class TStringList;

enum TPrinterOrientation { poPortrait, poLandscape };

// Raised for printer faults: no printer, a document that cannot be written or sent.
class EPrinter : public Exception {
public:
  using Exception::Exception;
};

class TPrinter {
public:
  TPrinter();
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // Printer names: "PDF file" first, then the CUPS queues found when the list is read
  // (a CUPS that does not answer adds none; CupsError tells why).
  TStrings* Printers();
  void Refresh();  // reads the CUPS queues again
  const std::string& CupsError() const { return FCupsError; }
  int PrinterIndex() const { return FPrinterIndex; }
  void SetPrinterIndex(int Value);  // -1 selects the default printer ("PDF file")

  TPrinterOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TPrinterOrientation Value);
  // The document file of the "PDF file" printer.
  std::string FileName;
  // The spooler job name (the PDF's title).
  std::string Title;
  // Printer resolution in dots per inch (both axes); the page canvas draws at it.
  int Resolution() const { return FResolution; }
  void SetResolution(int Dpi);
  // Paper in 0.1 mm, portrait (A4 by default); orientation swaps the sides.
  void SetPaperSize(int Width, int Height);

  // Page size in device pixels for the current orientation.
  int PageWidth() const;
  int PageHeight() const;
  // A device context of the printer's page (valid between BeginDoc and EndDoc, and an
  // information context otherwise) answering GetDeviceCaps with the printer resolution.
  HDC Handle();
  TCanvas* Canvas();

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void Abort();  // drops the open document: nothing is written or sent
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAborted; }
  int PageNumber() const { return FPageNumber; }

  // Device, driver and port of the selected printer.
  void GetPrinter(std::string& Device, std::string& Driver, std::string& Port);

private:
  void StartPage();
  void FinishPage();
  void FreePage();
  void ApplyCanvasTarget();
  void SendToCups(const std::string& Queue, const std::string& Path);

  std::unique_ptr<TStringList> FPrinters;
  bool FListed = false;
  std::string FCupsError;
  int FPrinterIndex = 0;
  TPrinterOrientation FOrientation = poPortrait;
  int FResolution = 150;
  int FPaperWidth = 2100, FPaperHeight = 2970;
  bool FPrinting = false, FAborted = false;
  int FPageNumber = 0;
  std::unique_ptr<TCanvas> FCanvas;
  HDC FDC = nullptr;
  cairo_surface_t* FRaster = nullptr;  // the page's pixels
  cairo_surface_t* FTextLayer = nullptr;  // the page's text (a recording)
  cairo_t* FTextCr = nullptr;
  cairo_surface_t* FPdf = nullptr;
  std::string FPdfPath;  // where the document is written
};

// The application's printer.
TPrinter* Printer();
// Replaces the application's printer (the old one is freed); returns the new one.
TPrinter* SetPrinter(TPrinter* NewPrinter);

// Device capabilities of a printer; DC_ORIENTATION answers 90 (landscape is portrait
// turned by 90 degrees) for every printer here, -1 for an unknown device.
constexpr WORD DC_ORIENTATION = 17;
int DeviceCapabilitiesA(const char* Device, const char* Port, WORD Capability, char* Output, const void* DevMode);
