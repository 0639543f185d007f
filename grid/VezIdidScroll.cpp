// VezIdid, scrolling: proportional thumbs, the scroll hint text, column stretching and the
// sizing hit test. Every division here is guarded: a grid with no width or a page as large
// as the bar's range scrolls nothing instead of failing.
#include <algorithm>
#include <cmath>

#include "grid/VezIdid.h"

bool TDavEvadurAvuz::ProportionalThumb(double r, int& nMax, int& nPage) {
  if (!(r < 0.9999) || r <= 0.0) return false;
  float rf = static_cast<float>(r);
  float m = (rf + 127.0f) / (1.0f - rf);
  nMax = static_cast<int>(m);
  nPage = nMax - 126;
  return true;
}

std::string TDavEvadurAvuz::ScrollHintText(bool Rows, int Pos, int Count, int Visible, int Fixed) {
  int span = std::max(Count - Visible - Fixed, 0);
  long long n = static_cast<long long>(std::clamp(Pos, 0, 127)) * span;
  int v = static_cast<int>((n + 63) / 127) + Fixed;  // MulDiv rounds half up
  return std::string(Rows ? "Row : " : "Col : ") + std::to_string(v);
}

int TDavEvadurAvuz::ThumbPosition(int Pos, int Visible, int Count) {
  if (Count <= 0) return 0;
  int page = static_cast<int>(std::lround(static_cast<double>(Visible) * 128.0 / Count));
  if (page >= 128) return 0;
  int p = static_cast<int>(std::lround(static_cast<double>(Pos) * 127.0 / (128 - page)));
  return std::clamp(p, 0, 127);
}

void TDavEvadurAvuz::StretchColumn(int Index) {
  if (Loading() || FDestroyingGrid) return;
  if (Index == -1) Index = ColCount() - 1;
  if (Index >= ColCount() || Index < 0) throw Exception("Stretch column index out of range");
  if (ColCount() == 0 || !FColumnSize->Stretch() || FStretching) return;
  FStretching = true;
  if (ColCount() == 1) {
    SetColWidths(Index, ClientWidth());
  } else {
    int sum = 0;
    for (int c = 0; c < ColCount(); ++c)
      if (c != Index) sum += ColWidths(c);
    if (sum < ClientWidth()) SetColWidths(Index, ClientWidth() - sum - 1);
    else if (LeftCol() == GetFixedColsEx()) SetColWidths(Index, DefaultColWidth());
  }
  FStretching = false;
}

bool TDavEvadurAvuz::InSizeZone(int X, int Y) {
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (col < 0 || row < 0) return false;
  TRect r = CellRect(col, row);
  bool result = false;
  if (row <= FixedRows() && Options().Contains(goColSizing)) result = X - r.Left < 4 || r.Right - X < 4;
  if (col <= FixedCols() && Options().Contains(goRowSizing)) result = Y - r.Top < 4 || r.Bottom - Y < 4;
  return result;
}
