// Printing and print preview of the grid: page layout in tenths of a millimetre (y
// upwards, everything printed at negative y), headers, footers and page frames, the
// print and preview entry points and the measuring of cells on paper.
#include <cmath>
#include <limits>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Printers.h"

namespace {

// States handed to ExportNotification while a print runs.
enum { kPrintStart = 0, kPrintNewRow = 1, kPrintDone = 2, kPrintSelRow = 3 };

int RoundEven(double v) { return int(std::nearbyint(v)); }

bool IsTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool IsBottom(TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; }

// Keeps a canvas's mapping mode and puts it back however the caller leaves.
struct MapModeKeeper {
  HDC dc;
  int mode;
  explicit MapModeKeeper(TCanvas* C) : dc(C->GetHandle()), mode(GetMapMode(dc)) {}
  ~MapModeKeeper() { SetMapMode(dc, mode); }
};

}  // namespace

void PrintRuleLine(TCanvas* C, int X0, int Y0, int X1, int Y1);  // VezIdidPrintRow.cpp

// ---------------------------------------------------------------------------------------
// Measuring.

int TDavEvadurAvuz::MapFontHeight(int Size) const {
  return -int(std::trunc(double(Size * 254) / 72.0 * PrintFitScale));
}

int TDavEvadurAvuz::MapFontSize(int Height) { return int(std::trunc(double(Height * 72) / 254.0)); }

void TDavEvadurAvuz::PlaceRotatedText(TRect& R, TAlignment HAlign, TVAlignment VAlign, int Angle, int wc, int hs,
                                      int ws, int hc) {
  int q = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle <= 270 ? 3 : 4;
  int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  switch (HAlign) {
    case taLeftJustify:
      if (q == 2) L = L + wc; else if (q == 3) L = L + hs + wc; else if (q == 4) L = L + hs;
      break;
    case taRightJustify:
      L = q == 1 ? Rt - wc - hs : q == 2 ? Rt - hs : q == 3 ? Rt : Rt - wc;
      break;
    case taCenter:
      L = q == 1 ? L + (Rt - L - hs - wc) / 2
        : q == 2 ? Rt - (Rt - L + hs - wc) / 2
        : q == 3 ? Rt - (Rt - L - hs - wc) / 2
                 : L + (Rt - L + hs - wc) / 2;
      break;
  }
  switch (VAlign) {
    case vtaTop:
      T = q == 1 ? T + ws : q == 2 ? T + ws + hc : q == 3 ? T + hc : T;
      break;
    case vtaCenter: {
      int h = (T - B + hc + ws) / 2;
      T = q == 1 ? T - h + ws : q == 2 ? T - h + ws + hc : q == 3 ? T - h + hc : T - h;
      break;
    }
    case vtaBottom:
      T = q == 1 ? B - hc : q == 2 ? B : q == 3 ? B - ws : B - hc - ws;
      break;
  }
  R.Left = L;
  R.Top = T;
}

int TDavEvadurAvuz::PrinterRotationAngle() {
  std::string device, driver, port;
  Printer()->GetPrinter(device, driver, port);
  int r = DeviceCapabilitiesA(device.c_str(), port.c_str(), DC_ORIENTATION, nullptr, nullptr);
  return r == 90 || r == 270 ? r : 0;
}

void TDavEvadurAvuz::StretchBitmapToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap) {
  StretchGraphicToCanvas(Canvas, R, Bitmap, SRCCOPY);
}

void TDavEvadurAvuz::StretchGraphicToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap, DWORD RasterOp) {
  if (!Bitmap || Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0) return;
  StretchBlt(Canvas->GetHandle(), R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Bitmap->Canvas()->GetHandle(),
             0, 0, Bitmap->GetWidth(), Bitmap->GetHeight(), RasterOp);
}

TPoint TDavEvadurAvuz::PrintCellSize(int Col, int Row) {
  TCanvas* C = FPP.Canvas;
  std::string text = HasDataCell(Col, Row) ? std::string() : GetFormattedCell(Col, Row);
  TTextType tt = TextType(text, EnableHTML);
  if (tt == ttFormula) CalcCell(Col, Row, text);
  if (tt == ttRTF || tt == ttHTML) text = tt == ttHTML ? HTMLStrip(text) : text;
  TFont saved;
  saved.Assign(C->Font());
  TFont font1;
  font1.Assign(C->Font());
  font1.SetSize(FPrintSettings->Font()->GetSize());
  TBrush brush;
  TGridDrawState state;
  TColor ct = clNone, mc = clNone, mct = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  bool ww = false;
  TCellGradientDirection gd = GradientVertical;
  GetVisualProperties(Col, Row, state, true, false, false, &brush, ct, mc, mct, &font1, ha, va, ww, gd);
  C->Font()->Assign(&font1);
  C->Font()->SetHeight(MapFontHeight(font1.GetSize()));
  int angle = 0;
  bool rotated = IsRotated(Col, Row, angle);
  if (rotated) C->Font()->SetOrientation(-angle * 10);
  TPoint g{0, 0};
  if (FPrintSettings->PrintGraphics) {
    TPoint gs = GetCellGraphicSize(Col, Row);
    g = TPoint{RoundEven(gs.X * FPP.PixelFactor), RoundEven(gs.Y * FPP.PixelFactor)};
  }
  if (text.empty()) text = "gh";
  TPoint result{0, 0};
  int widest = 0;
  if (ww && FPrintSettings->NoAutoSize && !rotated) {
    int right = IsXMergedCell(Col, Row) ? 65535 : FPrintColWidths[size_t(std::max(0, DisplColIndex(Col)))];
    RECT r{0, 0, right, 50};
    int h = DrawTextUtf8(C->GetHandle(), text, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    result = TPoint{r.right, std::abs(h)};
    widest = result.X;
  } else {
    std::string rest = text;
    int lines = 0;
    while (!rest.empty() || lines == 0) {
      std::string line = GetNextLine(rest, Multilinecells);
      if (URLShow() && !URLFull) StripURLProtocol(line);
      widest = std::max(widest, C->TextWidth(line) + g.X);
      ++lines;
      if (!Multilinecells) break;
    }
    result = TPoint{widest, C->TextHeight("gh") * lines};
  }
  if (rotated) {
    double a = angle * M_PI / 180.0;
    int x = std::abs(RoundEven(std::cos(a) * result.X)) + std::abs(RoundEven(std::sin(a) * result.Y));
    int y = std::abs(RoundEven(std::sin(a) * widest)) + std::abs(RoundEven(std::cos(a) * result.Y));
    result = TPoint{x, y};
  }
  result.Y = std::max(result.Y, g.Y);
  result.X = std::max(result.X, g.X);
  C->Font()->Assign(&saved);
  if (OnCustomCellSize) OnCustomCellSize(this, C, Col, Row, result, true);
  return result;
}

// ---------------------------------------------------------------------------------------
// Layout.

void TDavEvadurAvuz::EnsurePrintColumns(int Count) {
  // The tables grow with the range printed: any column count prints.
  if (Count > int(FPrintColWidths.size())) {
    FPrintColWidths.resize(size_t(Count), 0);
    FPrintColOffsets.resize(size_t(Count), 0);
  }
}

bool TDavEvadurAvuz::PrintPageDrawn() const {
  return (FPP.Method == prPreview || FPP.Method == prPrint) && PrintFromPage <= FPP.Page + 1 &&
         FPP.Page + 1 <= PrintToPage;
}

bool TDavEvadurAvuz::IsPrintRowIncluded(int Row) {
  if (!FPP.SelectedOnly) return true;
  if (Row < GetFixedRowsEx() && FPrintSettings->PrintSelectedFixed) return true;
  if (FMouseActions->DisjunctRowSelect())
    return GetRowSelect(FMouseActions->RowSelectPersistent ? RemapRowInv(Row) : Row);
  TGridRect s = GetSelectionEx();
  return Row >= s.Top && Row <= s.Bottom;
}

bool TDavEvadurAvuz::IsPrintColIncluded(int Col) {
  if (!FPP.SelectedOnly) return true;
  if (Col < GetFixedColsEx() && FPrintSettings->PrintSelectedFixed) return true;
  if (FMouseActions->DisjunctColSelect()) return GetColSelect(Col);
  TGridRect s = GetSelectionEx();
  return Col >= s.Left && Col <= s.Right;
}

void TDavEvadurAvuz::CalcPrintColWidths() {
  TGridRect r = PrintRange;
  for (int c = r.Left; c <= r.Right; ++c) FPrintColWidths[size_t(c)] = 0;
  if (FPrintSettings->NoAutoSize) {
    for (int c = r.Left; c <= r.Right; ++c)
      if (IsPrintColIncluded(c)) FPrintColWidths[size_t(c)] = RoundEven(ColWidths(c) * FPP.PixelFactor);
    return;
  }
  const int fixedRows = GetFixedRowsEx();
  const bool repeat = FPrintSettings->RepeatFixedRows;
  int j = 0;
  while (true) {
    if (j > r.Bottom && !(repeat && j <= fixedRows)) break;
    if (j > r.Bottom && j >= fixedRows) break;
    if (j < r.Top && !(repeat && j < fixedRows)) {
      j = r.Top;
      continue;
    }
    for (int c = r.Left; c <= r.Right; ++c) {
      if (!IsPrintColIncluded(c)) continue;
      int w = FPrintSettings->UseFixedWidth ? FPrintSettings->FixedWidth : PrintCellSize(RemapCol(c), j).X;
      if (w > FPrintColWidths[size_t(c)] && !IsXMergedCell(RemapCol(c), j)) FPrintColWidths[size_t(c)] = w;
    }
    ++j;
  }
}

int TDavEvadurAvuz::PrintRowHeight(int Row) {
  if (Row == FPP.CachedRow) return FPP.CachedHeight;
  if (FPrintSettings->NoAutoSizeRow) {
    if (Row < 0 || Row >= RowCount()) return 0;
    return RoundEven(RowHeights(Row) * FPP.PixelFactor) - 4;
  }
  int value = 0;
  if (FPrintSettings->UseFixedHeight) {
    value = FPrintSettings->FixedHeight;
  } else if (Row >= 0 && Row < RowCount()) {
    double saved = PrintFitScale;
    PrintFitScale = FPP.FitScale;
    int mx = 0, last = 0;
    for (int c = PrintRange.Left; c <= PrintRange.Right; ++c) {
      int rc = RemapCol(c);
      int h = PrintCellSize(rc, Row).Y;
      last = h;
      if (!IsYMergedCell(rc, Row) && h > mx) mx = h;
    }
    PrintFitScale = saved;
    if (mx == 0) mx = last;
    value = mx + mx / 8;
    if (OnPrintSetRowHeight) OnPrintSetRowHeight(this, Row, value);
  }
  FPP.CachedRow = Row;
  FPP.CachedHeight = value;
  return value;
}

void TDavEvadurAvuz::PrintHeaderFooterHeights() {
  TPrintSettings* ps = FPrintSettings.get();
  TPrintPosition pos[4] = {ps->Time, ps->Date, ps->PageNr, ps->Title};
  bool top = false, bottom = false;
  for (TPrintPosition p : pos) {
    top = top || IsTop(p);
    bottom = bottom || IsBottom(p);
  }
  int lines = ps->TitleLines()->Count();
  if (top) {
    FPP.H = FPP.Gap + FPP.HeaderLine + ps->HeaderSize;
    if (lines > 0 && IsTop(ps->Title)) FPP.H += (lines - 1) * FPP.HeaderLine;
  } else {
    FPP.H = ps->HeaderSize;
  }
  if (bottom) {
    FPP.F = 2 * (FPP.Gap + FPP.FooterLine) + ps->FooterSize;
    if (lines > 0 && IsBottom(ps->Title)) FPP.F += (lines - 1) * FPP.FooterLine;
  } else {
    FPP.F = FPP.Gap + FPP.FooterLine + ps->FooterSize;
  }
}

// Opens the next page; FPP.Page is still the page just finished.
void TDavEvadurAvuz::StartNextPage() {
  int next = FPP.Page + 2;
  if (next < PrintFromPage || next > PrintToPage) return;
  if (FPP.Method == prPrint && FPP.Page + 1 >= PrintFromPage && FPP.Canvas == Printer()->Canvas() &&
      Printer()->Printing())
    Printer()->NewPage();
  SetMapMode(FPP.Canvas->GetHandle(), MM_LOMETRIC);
  if ((FPP.Method == prPreview || FPP.Method == prPrint) && OnPrintPage)
    OnPrintPage(this, FPP.Canvas, next, FPP.Width, FPP.Height);
}

int TDavEvadurAvuz::BuildPages(TCanvas* Canvas, TPrintMethod PrintMethod, int MaxPages, bool SelectedOnly) {
  TPrintSettings* ps = FPrintSettings.get();
  FPP = TPrintPass{};
  FPP.Canvas = Canvas;
  FPP.Method = PrintMethod;
  FPP.MaxPages = MaxPages;
  FPP.SelectedOnly = SelectedOnly;
  TGridRect& r = PrintRange;
  if (r.Left < 0 || r.Top < 0 || r.Right < r.Left || r.Bottom < r.Top) return 0;
  EnsurePrintColumns(r.Right + 2);
  HDC dc = Canvas->GetHandle();
  // 1. Resolution.
  SetMapMode(dc, MM_TEXT);
  int targetDpi = GetDeviceCaps(dc, LOGPIXELSX);
  int gridDpi = GetDeviceCaps(this->Canvas()->GetHandle(), LOGPIXELSX);
  FPP.ResolutionRatio = gridDpi > 0 && targetDpi > 0 ? double(targetDpi) / gridDpi : 1.0;
  SetMapMode(dc, MM_LOMETRIC);
  PrintFitScale = 1.0;
  TFont savedFont;
  savedFont.Assign(Canvas->Font());
  // 2. Frame pen.
  Canvas->Pen()->SetColor(clBlack);
  Canvas->Pen()->SetStyle(ps->BorderStyle);
  Canvas->Pen()->SetWidth(ps->Borders == pbDouble ? 10 : 2);
  // 3. Line heights.
  Canvas->Font()->Assign(ps->HeaderFont());
  Canvas->Font()->SetHeight(MapFontHeight(ps->HeaderFont()->GetSize()));
  FPP.HeaderLine = Canvas->TextHeight("gh");
  Canvas->Font()->Assign(ps->FooterFont());
  Canvas->Font()->SetHeight(MapFontHeight(ps->FooterFont()->GetSize()));
  FPP.FooterLine = Canvas->TextHeight("gh");
  Canvas->Font()->Assign(ps->Font());
  FPP.FontSize = ps->Font()->GetSize();
  Canvas->Font()->SetHeight(MapFontHeight(FPP.FontSize));
  FPP.Gap = int(uint16_t(Canvas->TextHeight("gh") / 8));
  // 4. Page extent.
  if (PrintMethod == prPrint) {
    RECT cb{};
    GetClipBox(dc, &cb);
    FPP.Width = cb.right - cb.left;
    FPP.Height = std::min(cb.top, cb.bottom);
  } else if (PrintMethod == prCalcPrint) {
    FPP.Width = PrintPageRect.Right - PrintPageRect.Left;
    FPP.Height = -PrintPageRect.Bottom - PrintPageRect.Top;
  } else {
    POINT pts[2] = {{PrintPageRect.Left, PrintPageRect.Top}, {PrintPageRect.Right, PrintPageRect.Bottom}};
    DPtoLP(dc, pts, 2);
    PrintPageRect = TRect{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
    FPP.Width = PrintPageRect.Right - PrintPageRect.Left;
    FPP.Height = PrintPageRect.Bottom - PrintPageRect.Top;
  }
  FPP.PixelFactor = gridDpi > 0 ? 254.0 / gridDpi : 254.0 / 96;
  // 5. Spacing and scale.
  FPP.Spacing = ps->UseFixedWidth ? 0 : ps->ColumnSpacing + 20;
  FPP.FitScale = 1.0;
  // 6. Column widths.
  CalcPrintColWidths();
  // 7. Fit to page.
  if (ps->FitToPage != fpNever) {
    long long N = (long long)(r.Right - r.Left + 1) * FPP.Spacing, T = 0;
    for (int c = r.Left; c <= r.Right; ++c)
      if (IsPrintColIncluded(c)) T += FPrintColWidths[size_t(c)] + FPP.Spacing;
    double f = 1.0;
    if (T != N) f = double(FPP.Width - ps->RightSize - ps->LeftSize - N) / double(T - N);
    if (ps->FitToPage == fpShrink && f > 1) f = 1;
    if (ps->FitToPage == fpGrow && f < 1) f = 1;
    if (ps->FitToPage == fpCustom && f != 1) {
      bool allow = true;
      if (OnFitToPage) OnFitToPage(this, f, allow);
      if (!allow) f = 1;
    }
    // A factor that is not positive would turn every column inside out.
    if (!(f > 0)) f = 1;
    FPP.FitScale = f;
    if (f != 1)
      for (int c = r.Left; c <= r.Right; ++c)
        FPrintColWidths[size_t(c)] = int(std::trunc(FPrintColWidths[size_t(c)] * f));
  }
  // 8.
  if (OnPrintSetColumnWidth)
    for (int c = r.Left; c <= r.Right; ++c) OnPrintSetColumnWidth(this, c, FPrintColWidths[size_t(c)]);
  // 9.
  const int fixedRows = GetFixedRowsEx(), fixedCols = GetFixedColsEx();
  int exportKind = (fixedRows < r.Top || r.Bottom < GetRowCountEx() - FixedFooters() - 1) ? kPrintSelRow
                                                                                       : kPrintNewRow;
  // 10. Column bands.
  const bool drawing = PrintMethod == prPreview || PrintMethod == prPrint;
  FPP.Page = 0;
  FPP.Band = 0;
  FPP.First = FPP.Last = r.Left;
  int lastBreakRow = -1;
  bool cancelled = false;
  int y = 0;
  while (FPP.Last <= r.Right && !cancelled) {
    ++FPP.Band;
    FPP.PageInBand = 0;
    int start = FPP.Last;
    FPP.RepeatFixedCols = fixedCols >= 1 && ps->RepeatFixedCols && !(FPP.Band == 1 && r.Left <= fixedCols);
    int fixedW = 0;
    if (FPP.RepeatFixedCols)
      for (int c = 0; c < fixedCols; ++c) fixedW += FPrintColWidths[size_t(c)] + FPP.Spacing;
    int x = fixedW;
    const int limit = FPP.Width - ps->RightSize;
    while (x <= limit && FPP.Last <= r.Right) {
      x += FPrintColWidths[size_t(FPP.Last)] + FPP.Spacing;
      if (x <= limit) ++FPP.Last;
    }
    // The column that did not fit opens the next band.
    if (x > limit && FPP.Last > start) --FPP.Last;
    // A single column wider than the page is a band of its own, cut at the margin.
    if (FPP.Last < start) FPP.Last = start;
    if (FPP.Last > r.Right) FPP.Last = r.Right;
    if (FPP.Last < r.Right) FPP.MoreBands = true;
    // Used width of this band.
    x = fixedW;
    for (int c = start; c <= FPP.Last; ++c) x += FPrintColWidths[size_t(c)] + FPP.Spacing;
    FPP.First = start;
    // 4. Offsets.
    int left0 = ps->Centered ? 0 : ps->LeftSize;
    FPrintColOffsets[size_t(FPP.First)] = left0;
    FPrintColOffsets[0] = left0;
    for (int c = FPP.First; c <= FPP.Last; ++c)
      FPrintColOffsets[size_t(c) + 1] =
          FPrintColOffsets[size_t(c)] + (IsPrintColIncluded(c) ? FPrintColWidths[size_t(c)] + FPP.Spacing : 0);
    if (FPP.RepeatFixedCols)
      for (int c = 1; c <= fixedCols; ++c)
        if (c < FPP.First || c == fixedCols)
          FPrintColOffsets[size_t(c)] = FPrintColOffsets[size_t(c) - 1] + FPrintColWidths[size_t(c) - 1] + FPP.Spacing;
    // 5. Centring.
    if (ps->Centered && x < FPP.Width) {
      int shift = (FPP.Width - x) / 2;
      for (int c = FPP.First; c <= FPP.Last + 1; ++c) FPrintColOffsets[size_t(c)] += shift;
      if (FPP.RepeatFixedCols)
        for (int c = 0; c <= fixedCols && c < FPP.First; ++c) FPrintColOffsets[size_t(c)] += shift;
    }
    // 6.
    for (int c = FPP.First; c <= FPP.Last + 1; ++c) FPrintColOffsets[size_t(c)] += fixedW;
    // 7.
    int rowsOnPage = 0;
    PrintHeaderFooterHeights();
    int row = r.Top;
    if (drawing && OnPrintPage && PrintPageDrawn()) OnPrintPage(this, Canvas, FPP.Page + 1, FPP.Width, FPP.Height);
    auto printParts = [&](int Row) {
      int h = 0;
      if (FPP.RepeatFixedCols) h = PrintRow(y, 0, fixedCols - 1, Row);
      h = PrintRow(y, FPP.First, FPP.Last, Row);
      y -= h;
    };
    // 8. Rows.
    while (row <= r.Bottom && !cancelled) {
      ExportNotification(exportKind, row);
      if (rowsOnPage == 0) {
        y = -FPP.H;
        PrintHeaderFooter();
        y -= ps->TitleSpacing;
      }
      if (rowsOnPage == 0 && row > 0 && (FPP.Page > 0 || fixedRows <= r.Top) && ps->RepeatFixedRows &&
          fixedRows > 0) {
        for (int fr = 0; fr < fixedRows; ++fr) printParts(fr);
        ++rowsOnPage;
      }
      if (IsPrintRowIncluded(row)) printParts(row);
      ++row;
      ++rowsOnPage;
      bool newPage = false;
      if (OnPrintNewPage) OnPrintNewPage(this, row, newPage);
      int next = row <= r.Bottom ? PrintRowHeight(row) : 0;
      bool full = y - next < FPP.Height + FPP.F;
      if (drawing && (full || row > r.Bottom || newPage)) {
        if (OnPrintPageDone && PrintPageDrawn())
          OnPrintPageDone(this, Canvas, row, y, FPP.Page + 1, FPP.Width, FPP.Height);
        if (OnPrintCancel) OnPrintCancel(this, FPP.Page + 1, cancelled);
      }
      if (((full && row <= r.Bottom) || newPage) && !cancelled && row <= r.Bottom) {
        PrintPageFrame(FPP.First, FPP.Last, y);
        rowsOnPage = 0;
        lastBreakRow = row;
        StartNextPage();
        // Without a page count the rows stop after the last page wanted.
        if (SkipPageCount && PrintToPage <= FPP.Page + 1) row = r.Bottom + 1;
        ++FPP.Page;
        ++FPP.PageInBand;
        PrintHeaderFooterHeights();
      }
    }
    // 9.
    if (lastBreakRow == -1 || row != lastBreakRow) PrintPageFrame(FPP.First, FPP.Last, y);
    // 10.
    FPP.First = FPP.Last = FPP.Last + 1;
    if (FPP.First <= r.Right && !cancelled) {
      StartNextPage();
      ++FPP.Page;
    }
  }
  Canvas->Font()->Assign(&savedFont);
  PrintFitScale = 1.0;
  return FPP.Page + 1;
}

// ---------------------------------------------------------------------------------------
// Headers, footers and frames.

std::string TDavEvadurAvuz::JoinWithSpace(const std::string& First, const std::string& Second) {
  if (!First.empty() && !Second.empty()) return First + " " + Second;
  return First.empty() ? Second : First;
}

std::string TDavEvadurAvuz::PageNumberText() const {
  TPrintSettings* ps = FPrintSettings.get();
  if (FPP.MoreBands) return std::to_string(FPP.PageInBand + 1) + "-" + std::to_string(FPP.Band);
  // An unknown total (printing without a page count) is never shown.
  if (!ps->PageNumSep.empty() && FPP.MaxPages > 1 && FPP.MaxPages != std::numeric_limits<int>::max())
    return std::to_string(FPP.Page + 1 + ps->PageNumberOffset) + ps->PageNumSep +
           std::to_string(FPP.MaxPages + ps->MaxPagesOffset);
  return std::to_string(FPP.Page + 1 + ps->PageNumberOffset);
}

void TDavEvadurAvuz::PrintHeaderFooter() {
  if (!PrintPageDrawn()) return;
  TPrintSettings* ps = FPrintSettings.get();
  TCanvas* C = FPP.Canvas;
  PrintFitScale = FPP.FitScale;
  std::string slots[7];
  auto add = [&](TPrintPosition p, const std::string& s) {
    if (p == ppNone) return;
    std::string& slot = slots[p];
    if (p == ppTopLeft || p == ppBottomLeft) slot = s + " " + slot;
    else slot = slot + " " + s;
  };
  TDateTime now = Now();
  add(ps->Time, FormatDateTime("hh:nn", now));
  add(ps->Date, FormatDateTime(ps->DateFormat, now));
  if (ps->PageNr != ppNone) {
    std::string s = PageNumberText();
    if (ps->PageNr == ppTopLeft || ps->PageNr == ppBottomLeft)
      slots[ps->PageNr] = ps->PagePrefix + " " + s + " " + ps->PageSuffix + " " + slots[ps->PageNr];
    else
      slots[ps->PageNr] = slots[ps->PageNr] + " " + ps->PagePrefix + " " + s + " " + ps->PageSuffix;
  }
  TStrings* tl = ps->TitleLines();
  if (!ps->TitleText.empty()) {
    add(ps->Title, ps->TitleText);
  } else if (ps->Title != ppNone && tl->Count() > 0) {
    std::string l = tl->Get(0);
    std::string& slot = slots[ps->Title];
    slot = (ps->Title == ppTopLeft || ps->Title == ppBottomLeft) ? JoinWithSpace(l, slot) : JoinWithSpace(slot, l);
  }
  TFont savedFont;
  savedFont.Assign(C->Font());
  TBrushStyle savedBrush = C->Brush()->GetStyle();
  C->Brush()->SetStyle(bsClear);
  auto place = [&](int pos, int y) {
    const std::string& s = slots[pos];
    if (s.empty()) return;
    int w = C->TextWidth(s);
    int x = (pos == ppTopLeft || pos == ppBottomLeft) ? ps->LeftSize
          : (pos == ppTopRight || pos == ppBottomRight) ? FPP.Width - w - 20 - ps->RightSize
                                                        : (FPP.Width - w) / 2;
    C->TextOut(x, y, s);
  };
  auto extraLines = [&](int baseY, int pos) {
    if (tl->Count() <= 1) return;
    int off = 0;
    for (int i = 1; i < tl->Count(); ++i) {
      off += C->TextHeight("gh");
      std::string s = tl->Get(i);
      int w = C->TextWidth(s);
      int x = (pos == ppTopLeft || pos == ppBottomLeft) ? ps->LeftSize
            : (pos == ppTopRight || pos == ppBottomRight) ? FPP.Width - w - 20 - ps->RightSize
                                                          : (FPP.Width - w) / 2;
      C->TextOut(x, baseY - off, s);
    }
  };
  C->Font()->Assign(ps->HeaderFont());
  C->Font()->SetHeight(MapFontHeight(ps->HeaderFont()->GetSize()));
  for (int p : {ppTopLeft, ppTopRight, ppTopCenter}) place(p, -ps->HeaderSize);
  if (IsTop(ps->Title)) extraLines(-ps->HeaderSize, ps->Title);
  C->Font()->Assign(ps->FooterFont());
  C->Font()->SetHeight(MapFontHeight(ps->FooterFont()->GetSize()));
  int fy = FPP.Height + FPP.FooterLine + FPP.Gap + ps->FooterSize;
  for (int p : {ppBottomLeft, ppBottomRight, ppBottomCenter}) place(p, fy);
  if (IsBottom(ps->Title)) extraLines(fy, ps->Title);
  C->Font()->Assign(&savedFont);
  C->Brush()->SetStyle(savedBrush);
}

void TDavEvadurAvuz::PrintPageFrame(int FirstCol, int LastCol, int Y) {
  if (!PrintPageDrawn()) return;
  TPrintSettings* ps = FPrintSettings.get();
  TCanvas* C = FPP.Canvas;
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetStyle(ps->BorderStyle);
  C->Pen()->SetWidth(ps->Borders == pbDouble ? 10 : 2);
  int top = -FPP.H - ps->TitleSpacing, bottom = Y + FPP.Gap / 2;
  int left = FPP.RepeatFixedCols ? FPrintColOffsets[0] : FPrintColOffsets[size_t(FirstCol)];
  int right = FPrintColOffsets[size_t(LastCol) + 1];
  TPrintBorders b = ps->Borders;
  if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
    PrintRuleLine(C, left, top, right, top);
    PrintRuleLine(C, right, top, right, bottom);
    PrintRuleLine(C, left, bottom, right, bottom);
    PrintRuleLine(C, left, top, left, bottom);
  }
  if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
    PrintRuleLine(C, left, bottom, right, bottom);
  }
  if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && FPP.RepeatFixedCols)
    for (int i = 0; i < GetFixedColsEx(); ++i) {
      PrintRuleLine(C, FPrintColOffsets[size_t(i)], top, FPrintColOffsets[size_t(i)], bottom);
    }
}

// ---------------------------------------------------------------------------------------
// Entry points.

void TDavEvadurAvuz::Print() { PrivatePrintRect(TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, false); }
void TDavEvadurAvuz::PrintSelection() { PrivatePrintRect(GetSelectionEx(), false); }
void TDavEvadurAvuz::PrintRect(const TGridRect& GridRect) { PrivatePrintRect(GridRect, false); }
void TDavEvadurAvuz::PrintSelectedRows() {
  PrivatePrintRect(TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, true);
}
void TDavEvadurAvuz::PrintSelectedCols() {
  PrivatePrintRect(TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, true);
}

void TDavEvadurAvuz::PrivatePrintRect(const TGridRect& GridRect, bool SelectedOnly) {
  TPrintSettings* ps = FPrintSettings.get();
  ExportNotification(kPrintStart, -1);
  PrintRange = GridRect;
  TPrinter* P = Printer();
  if (!ps->UseDefaultOrientation) P->SetOrientation(ps->Orientation);
  HDC pdc = P->Handle();
  PrintPageRect = TRect{0, 0, RoundEven(254.0 / GetDeviceCaps(pdc, LOGPIXELSX) * P->PageWidth()),
                        RoundEven(254.0 / GetDeviceCaps(pdc, LOGPIXELSY) * P->PageHeight())};
  P->Title = ps->JobName;
  P->BeginDoc();
  TCanvas* C = P->Canvas();
  int mode = GetMapMode(C->GetHandle());
  int pages = std::numeric_limits<int>::max();
  try {
    if (!SkipPageCount) {
      SetMapMode(C->GetHandle(), MM_LOMETRIC);
      pages = BuildPages(C, prCalcPrint, -1, SelectedOnly);
    }
  } catch (...) {
    SetMapMode(C->GetHandle(), mode);
    P->Abort();
    throw;
  }
  PrintFromPage = 1;
  PrintToPage = pages;
  PrintPageCount = pages;
  if (OnPrintStart) {
    P->Abort();
    OnPrintStart(this, pages, PrintFromPage, PrintToPage);
    if (PrintFromPage == 0 || PrintToPage == 0 || PrintToPage < PrintFromPage) return;
    P->BeginDoc();
    C = P->Canvas();
  }
  PrintPageCount = PrintToPage;
  try {
    BuildPages(C, prPrint, pages, SelectedOnly);
  } catch (...) {
    SetMapMode(C->GetHandle(), mode);
    P->EndDoc();
    throw;
  }
  SetMapMode(C->GetHandle(), mode);
  P->EndDoc();
  ExportNotification(kPrintDone, -1);
}

void TDavEvadurAvuz::PrintPreview(TCanvas* Canvas, const TRect& DisplayRect) {
  PrivatePrintPreviewRect(Canvas, DisplayRect, TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, false);
}
void TDavEvadurAvuz::PrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect) {
  PrivatePrintPreviewRect(Canvas, DisplayRect, GridRect, false);
}
void TDavEvadurAvuz::PrintPreviewSelection(TCanvas* Canvas, const TRect& DisplayRect) {
  PrivatePrintPreviewRect(Canvas, DisplayRect, GetSelectionEx(), false);
}
void TDavEvadurAvuz::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& DisplayRect) {
  PrivatePrintPreviewRect(Canvas, DisplayRect, TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, true);
}
void TDavEvadurAvuz::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& DisplayRect) {
  PrivatePrintPreviewRect(Canvas, DisplayRect, TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1}, true);
}

void TDavEvadurAvuz::SetPreviewPage(int Value) {
  PrintFromPage = Value;
  PrintToPage = Value;
}

void TDavEvadurAvuz::PrivatePrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect,
                                             bool SelectedOnly) {
  ExportNotification(kPrintStart, -1);
  struct Done {
    TDavEvadurAvuz* g;
    ~Done() { g->ExportNotification(kPrintDone, -1); }
  } done{this};
  PrintRange = GridRect;
  MapModeKeeper keep(Canvas);
  SetMapMode(Canvas->GetHandle(), MM_LOMETRIC);
  PrintPageRect = DisplayRect;
  int pages = 1;
  // The page chosen for the preview survives the counting pass.
  int from0 = PrintFromPage, to0 = PrintToPage;
  if (!SkipPageCount) {
    pages = BuildPages(Canvas, prCalcPreview, -1, SelectedOnly);
    PrintPageCount = pages;
  }
  PrintFromPage = from0;
  PrintToPage = to0;
  int from = 1, to = pages;
  if (OnPrintStart) OnPrintStart(this, pages, from, to);
  if (from > 0 && to > 0 && to >= from) {
    PrintPageRect = DisplayRect;
    BuildPages(Canvas, prPreview, pages, SelectedOnly);
  }
}

void TDavEvadurAvuz::PrintDraw(TCanvas* Canvas, const TRect& R) {
  PrintDrawRect(Canvas, R, TGridRect{0, 0, GetColCountEx() - 1, GetRowCountEx() - 1});
}

void TDavEvadurAvuz::PrintDrawRect(TCanvas* Canvas, const TRect& R, const TGridRect& GridRect) {
  PrintRange = GridRect;
  PrintPageRect = R;
  PrintFromPage = PrintToPage = PrintPageCount = 1;
  MapModeKeeper keep(Canvas);
  SetMapMode(Canvas->GetHandle(), MM_LOMETRIC);
  BuildPages(Canvas, prPrint, 1, false);
}
