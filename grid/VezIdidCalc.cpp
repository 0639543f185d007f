// VezIdid, arithmetic over columns and rows (as group summaries and the footer use it),
// the selection as text, automatic numbering and the fitting of column widths and row
// heights to the cells or to the control's width.
#include <algorithm>
#include <cmath>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"

namespace {
enum { kScanStart = 0, kScanRow = 1, kScanDone = 2 };

// Round to nearest, halves to even.
int RoundEven(double V) { return static_cast<int>(std::nearbyint(V)); }
}  // namespace

// ---------------------------------------------------------------------------------------
// Column and row calculations.
template <class Visit>
void TDavEvadurAvuz::ScanColumn(int ACol, int FromRow, int ToRow, Visit&& Fn) {
  const bool realRows =
      FCalcRealRows || (FFloatingFooter->Visible() ? ToRow > RowCount() - 1 : ToRow > RowCount());
  const bool grouped = FGroupColumn >= 0;
  ExportNotification(kScanStart, -1);
  for (int r = FromRow; r <= ToRow; ++r) {
    int drow = r;
    bool hidden = false;
    if (realRows) {
      hidden = IsHiddenRow(r);
      drow = hidden ? -1 : DisplRowIndex(r);
    }
    if (grouped && !hidden && drow >= 0 && (IsNode(drow) || GetCellType(0, drow) == ctSummary)) continue;
    if (!hidden && drow >= 0 && drow < RowCount() && !IsBaseCell(ACol, drow)) continue;
    ExportNotification(kScanRow, r);
    double v;
    try {
      v = realRows ? GetAllFloats(ACol, r) : GetFloats(ACol, r);
    } catch (const EVezIdidError&) {
      continue;
    }
    Fn(v);
  }
  ExportNotification(kScanDone, -1);
}

double TDavEvadurAvuz::ColumnSum(int ACol, int FromRow, int ToRow) {
  double sum = 0;
  ScanColumn(ACol, FromRow, ToRow, [&](double v) { sum += v; });
  return sum;
}

double TDavEvadurAvuz::ColumnAvg(int ACol, int FromRow, int ToRow) {
  const int n = ToRow - FromRow + 1;
  return n <= 0 ? 0 : ColumnSum(ACol, FromRow, ToRow) / n;
}

double TDavEvadurAvuz::ColumnMin(int ACol, int FromRow, int ToRow) {
  double m = GetFloats(ACol, FromRow);
  ScanColumn(ACol, FromRow, ToRow, [&](double v) { m = std::min(m, v); });
  return m;
}

double TDavEvadurAvuz::ColumnMax(int ACol, int FromRow, int ToRow) {
  double m = GetFloats(ACol, FromRow);
  ScanColumn(ACol, FromRow, ToRow, [&](double v) { m = std::max(m, v); });
  return m;
}

double TDavEvadurAvuz::ColumnCustomCalc(int ACol, int FromRow, int ToRow) {
  double res = 0;
  if (OnGroupCalc) OnGroupCalc(this, ACol, FromRow, ToRow, res);
  return res;
}

template <class Visit>
void TDavEvadurAvuz::ScanRow(int ARow, int FromCol, int ToCol, Visit&& Fn) {
  for (int c = FromCol; c <= ToCol; ++c) {
    if (!IsBaseCell(c, ARow)) continue;
    double v;
    try {
      v = GetFloats(c, ARow);
    } catch (const EVezIdidError&) {
      continue;
    }
    Fn(v);
  }
}

double TDavEvadurAvuz::RowSum(int ARow, int FromCol, int ToCol) {
  double sum = 0;
  ScanRow(ARow, FromCol, ToCol, [&](double v) { sum += v; });
  return sum;
}

double TDavEvadurAvuz::RowAvg(int ARow, int FromCol, int ToCol) {
  const int n = ToCol - FromCol + 1;
  return n <= 0 ? 0 : RowSum(ARow, FromCol, ToCol) / n;
}

double TDavEvadurAvuz::RowMin(int ARow, int FromCol, int ToCol) {
  double m = GetFloats(FromCol, ARow);
  ScanRow(ARow, FromCol, ToCol, [&](double v) { m = std::min(m, v); });
  return m;
}

double TDavEvadurAvuz::RowMax(int ARow, int FromCol, int ToCol) {
  double m = GetFloats(FromCol, ARow);
  ScanRow(ARow, FromCol, ToCol, [&](double v) { m = std::max(m, v); });
  return m;
}

// ---------------------------------------------------------------------------------------
// Selection.
void TDavEvadurAvuz::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow) {
  SetSelectionEx(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

std::string TDavEvadurAvuz::SelectedText() {
  TGridRect s = GetSelectionEx();
  int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
  int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
  if (Options().Contains(goRowSelect) && DragDropSettings()->OleEntireRows) {
    left = 0;
    right = ColCount() - 1;
  }
  auto line = [&](int r) {
    std::string out;
    for (int c = left; c <= right; ++c) {
      std::string t = GetCellEx(RemapCol(c), r);
      if (t.find("{\\") != std::string::npos) t = RichToPlainText(t);
      if (c > left) out += '\t';
      out += t;
    }
    return out;
  };
  std::string text;
  bool first = true;
  auto add = [&](int r) {
    if (!first) text += "\r\n";
    first = false;
    text += line(r);
  };
  if (MouseActions()->DisjunctRowSelect()) {
    for (int r = GetFixedRowsEx(); r < RowCount(); ++r) {
      const int key = MouseActions()->RowSelectPersistent ? RealRowIndex(r) : r;
      if (GetRowSelect(key)) add(r);
    }
  } else {
    for (int r = top; r <= bottom; ++r) add(r);
  }
  return text;
}

bool TDavEvadurAvuz::IsSelected(int ACol, int ARow) {
  if (ACol < FixedCols() || ARow < FixedRows()) return false;
  if (MouseActions()->DisjunctRowSelect())
    return GetRowSelect(MouseActions()->RowSelectPersistent ? RealRowIndex(ARow) : ARow);
  if (MouseActions()->DisjunctColSelect()) return ACol < ColCount() && GetColSelect(ACol);
  return TBaseGrid::IsSelected(ACol, ARow);
}

// ---------------------------------------------------------------------------------------
// Automatic numbering.
void TDavEvadurAvuz::AutoNumberCol(int ACol) {
  if (RowCount() == 0) return;
  const int last = RowCount() - FixedFooters() - 1;
  for (int r = FixedRows() + AutoNumOffset; r <= last; ++r) {
    const int row = AutoNumReverse ? FixedRows() + (last - r) : r;
    SetInts(ACol, row, r + AutoNumStart - FixedRows() + 1);
  }
}

void TDavEvadurAvuz::AutoNumberRow(int ARow) {
  if (ColCount() == 0) return;
  const int last = ColCount() - FixedRightCols() - 1;
  for (int c = FixedCols() + AutoNumOffset; c <= last; ++c) {
    const int col = AutoNumReverse ? FixedCols() + (last - c) : c;
    SetInts(col, ARow, c + AutoNumStart - FixedCols() + 1);
  }
}

// ---------------------------------------------------------------------------------------
// Measuring.
void TDavEvadurAvuz::SizeToWidth(int ACol, bool OnlyGrow) {
  if (ACol < 0 || ACol >= ColCount() || RowCount() == 0) return;
  int first = 0, last = RowCount() - 1;
  if (ColumnSize()->Rows == arNormal) {
    first = FixedRows();
    last = RowCount() - FixedFooters() - 1;
  } else if (ColumnSize()->Rows == arFixed) {
    last = FixedRows() - 1;
  }
  const int rc = RemapCol(ACol);
  const bool dropDown = ControlLook()->DropDownAlwaysVisible;
  const bool anyGraphics = CellPropertiesCreated() || MouseActions()->HotmailRowSelect();
  int widest = 0;
  for (int r = first; r <= last; ++r) {
    if (IsXMergedCell(rc, r)) continue;
    const int gw = anyGraphics ? GetCellGraphicSize(rc, r).X : 0;
    int w = gw + GetCellTextSizeInt(rc, ACol, r, false, false).X;
    if (dropDown && HasCombo(rc, r)) w += 16;
    if (anyGraphics) {
      TCellGraphic* g = GetCellGraphic(rc, r);
      if (g && g->CellHAlign == haFull) w = gw - 2 * GridLineWidth() - XOffsetSize() - 2;
    }
    widest = std::max(widest, w);
  }
  int width = XOffsetSize() + widest + 2 * GridLineWidth() + 2;
  if (OnlyGrow && ColWidths(ACol) >= width) return;
  UpdateAutoColSize(ACol, width);
  SetColWidths(ACol, CheckLimits(width, MinColWidth, MaxColWidth));
}

void TDavEvadurAvuz::SizeToHeight(int ARow, bool OnlyGrow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  TCanvas* cv = Canvas();
  int tallest = 0;
  for (int c = 0; c < ColCount(); ++c) {
    const int rc = RemapCol(c);
    if (IsYMergedCell(rc, ARow) && !IsBaseCell(rc, ARow)) continue;
    if (IsIgnoredColumn(rc)) continue;
    const bool fixed = c < FixedCols() || ARow < FixedRows();
    cv->Font()->Assign(fixed ? FixedFont() : Font());
    GetCellColor(rc, ARow, TGridDrawState{}, cv->Brush(), cv->Font());
    if (ZoomLevel != 0) cv->Font()->SetSize(cv->Font()->GetSize() + ZoomLevel);
    const std::string text = GetCellEx(rc, ARow);
    int th = text.empty() ? 0 : GetCellTextSize(rc, ARow, WordWrap(), false).Y;
    TCellGraphic* g = GetCellGraphic(rc, ARow);
    int gh = g ? GetCellGraphicSize(rc, ARow).Y : 0;
    if (g && g->CellVAlign == vaFull) gh = text.empty() ? DefaultRowHeight() : 0;
    if (g && (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox) && gh > 0) th = 0;
    int h = th + gh;
    if (g && (g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox ||
              g->CellType == ctRadioButton))
      h = DefaultRowHeight();
    tallest = std::max(tallest, h);
  }
  int height = YOffsetSize() + tallest + 2 * GridLineWidth() + (XYOffsetOnce ? 2 : 0);
  if (OnlyGrow && RowHeights(ARow) >= height) return;
  SetRowHeights(ARow, CheckLimits(height, MinRowHeight, MaxRowHeight));
}

void TDavEvadurAvuz::AutoSizeCol(int ACol, int Padding) {
  SizeToWidth(ACol, false);
  if (Padding != 0 && ACol >= 0 && ACol < ColCount())
    SetColWidths(ACol, CheckLimits(ColWidths(ACol) + Padding, MinColWidth, MaxColWidth));
}

void TDavEvadurAvuz::AutoSizeRow(int ARow, int Padding) {
  SizeToHeight(ARow, false);
  if (Padding != 0 && ARow >= 0 && ARow < RowCount())
    SetRowHeights(ARow, CheckLimits(RowHeights(ARow) + Padding, MinRowHeight, MaxRowHeight));
}

void TDavEvadurAvuz::AutoSizeColumns(bool DoFixedCols, int Padding) {
  const int first = DoFixedCols ? 0 : FixedCols();
  const int last = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
  for (int c = first; c <= last; ++c) AutoSizeCol(c, Padding);
}

void TDavEvadurAvuz::AutoSizeRows(bool DoFixedRows, int Padding) {
  if (RowCount() == 0) return;
  ExportNotification(kScanStart, -1);
  for (int r = DoFixedRows ? 0 : FixedRows(); r < RowCount(); ++r) {
    ExportNotification(kScanRow, r);
    if (WordWrap()) AutoSizeRow(r, Padding);
    else SizeToLines(r, MaxLinesInRow(r), Padding);
  }
  ExportNotification(kScanDone, -1);
  UpdateScrollBars(true);
}

void TDavEvadurAvuz::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY) {
  BeginUpdate();
  try {
    TCanvas* cv = Canvas();
    for (int c = DoFixedCells ? 0 : FixedCols(); c < ColCount(); ++c) {
      const int rc = RemapCol(c);
      int width = 0;
      for (int r = DoFixedCells ? 0 : FixedRows(); r < RowCount(); ++r) {
        const bool fixed = c < FixedCols() || r < FixedRows();
        cv->Font()->Assign(fixed ? FixedFont() : Font());
        GetCellColor(rc, r, TGridDrawState{}, cv->Brush(), cv->Font());
        TPoint t = GetCellTextSizeInt(rc, c, r, false, false);
        TPoint g = GetCellGraphicSize(rc, r);
        const int w = t.X + g.X + PaddingX + XOffsetSize();
        const int h = t.Y + g.Y + PaddingY + YOffsetSize();
        if (!IsXMergedCell(rc, r)) width = std::max(width, CheckLimits(w, MinColWidth, MaxColWidth));
        if (!IsYMergedCell(rc, r)) {
          const int lh = CheckLimits(h, MinRowHeight, MaxRowHeight);
          if (lh > RowHeights(r)) SetRowHeights(r, lh);
        }
      }
      SetColWidths(c, width);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------------------
// Fitting the columns to the control's width.
void TDavEvadurAvuz::AutoFitColumns(bool DoFixedCols) {
  if (ColCount() == 0) return;
  int s = 0;
  if (ScrollBarAlways == saVert ||
      (ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount()))
    s = GetSystemMetrics(SM_CXVSCROLL);
  const int b = BorderStyle() == bsSingle ? 4 : 0;
  int first, last, W = Width();
  if (DoFixedCols) {
    first = 0;
    last = ColCount() - 1;
  } else {
    first = FixedCols();
    last = ColCount() - FixedRightCols() - 1;
    for (int c = 0; c < FixedCols(); ++c) W -= ColWidths(c);
    for (int c = ColCount() - FixedRightCols(); c < ColCount(); ++c) W -= ColWidths(c);
  }
  int g = 0;
  if (Options().Contains(goVertLine)) g = GridLineWidth() * (ColCount() - FixedCols() - FixedRightCols());
  if (Options().Contains(goFixedVertLine) && DoFixedCols) g += FixedCols() + FixedRightCols();
  if (ColCount() < 2) {
    SetColWidths(0, Width() - s - 5);
    return;
  }
  const int n = last - first + 1;
  if (n <= 0) return;
  const int usable = W - s - b - g;
  long long S = 0;
  for (int c = first; c <= last; ++c) S += ColWidths(c);
  // With every fitted column at width 0 there is nothing to scale: the leftover step
  // below shares the width out.
  if (S > 0) {
    const double f = static_cast<double>(usable) / static_cast<double>(S);
    long long T = 0;
    for (int c = first; c <= last; ++c) T += RoundEven(ColWidths(c) * f);
    for (int c = first; c <= last; ++c)
      SetColWidths(c, RoundEven(static_cast<double>(ColWidths(c)) * static_cast<double>(T) / static_cast<double>(S)));
  }
  long long sum = 0;
  for (int c = first; c <= last; ++c) sum += ColWidths(c);
  int L = static_cast<int>(usable - sum);
  if (n > 1 && n < L) {
    const int share = L / n;
    for (int c = first; c <= last; ++c) SetColWidths(c, ColWidths(c) + share);
    L -= share * n;
  }
  int widest = first;
  for (int c = first; c <= last; ++c)
    if (ColWidths(c) > ColWidths(widest)) widest = c;
  SetColWidths(widest, ColWidths(widest) + L);
}
