// VezIdid, sorting: comparing cells by sort style, ordering rows by a column or by the
// sort index list, moving rows with everything attached and putting them back in their
// original order. The rest of TDavEvadurAvuz is in VezIdid.cpp and its siblings.
//
// A sort works in two steps: it first decides the order (a quicksort over row numbers,
// comparing the rows where they stand, with the texts and the values derived from them
// read once per cell), then moves every row that changes place once.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numeric>
#include <unordered_map>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

// What the comparisons derive from one cell, worked out when first needed.
struct TDavEvadurAvuz::TSortCell {
  std::string Text;
  bool Loaded = false;         // Text has been read
  int8_t IsNumber = -1;        // IsType gives a number; -1: not known yet
  int8_t IsCheckBox = -1;      // the cell holds a check box; -1: not known yet
  int8_t DateShape = -1;       // as row 1 of ssAutomatic: 1 when the text starts like a date
  int8_t HasDateSeparator = -1;  // as row 2 of ssAutomatic
  int8_t NumberState[2] = {-1, -1};  // numeric, financial: 1 converted, 0 failed, -1 not known
  double Number[2] = {0, 0};
  // The rarer derived values, apart so that a cell fills one cache line.
  struct TMore {
    bool DateKnown[3] = {false, false, false};  // ssDate, ssShortDateEU, ssShortDateUS
    double Date[3] = {0, 0, 0};
    bool StrippedKnown = false;
    std::string Stripped;
  };
  std::unique_ptr<TMore> More;
  TMore& GetMore() {
    if (!More) More = std::make_unique<TMore>();
    return *More;
  }
};

// The columns a sort has compared so far: the format each asked for and its cells.
struct TDavEvadurAvuz::TSortCache {
  struct TColumn {
    TSortStyle Style = ssAutomatic;
    std::string Prefix, Suffix;
    std::vector<TSortCell> Cells;
  };
  std::unordered_map<int, TColumn> Columns;
  // The column asked for last (most comparisons ask for the same one again).
  int LastKey = 0;
  TColumn* Last = nullptr;
};

namespace {

int Sign(int Value) { return (Value > 0) - (Value < 0); }
int CompareValues(double A, double B) { return A > B ? 1 : (A == B ? 0 : -1); }

// Bytes compared with the letters a-z taken as capitals; equal texts then by their bytes.
int CompareNoCase(const std::string& A, const std::string& B) {
  auto upper = [](char C) { return static_cast<unsigned char>(C >= 'a' && C <= 'z' ? C - 32 : C); };
  size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char a = upper(A[i]), b = upper(B[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (A.size() != B.size()) return A.size() < B.size() ? -1 : 1;
  return Sign(A.compare(B));
}

// A number as the run-time library's Val reads it: leading blanks, a sign, digits with one
// '.', an exponent, nothing after. A text that does not read is not converted and keeps
// the digits read before the fault as a whole number (the decimal point not applied).
bool ValFloat(const std::string& S, double& Value) {
  size_t i = S.find_first_not_of(' ');
  if (i == std::string::npos) i = S.size();
  size_t start = i;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) ++i;
  double digits = 0;
  int count = 0;
  auto readDigits = [&] {
    while (i < S.size() && S[i] >= '0' && S[i] <= '9') {
      digits = digits * 10 + (S[i++] - '0');
      ++count;
    }
  };
  readDigits();
  if (i < S.size() && S[i] == '.') {
    ++i;
    readDigits();
  }
  bool ok = count > 0;
  if (ok && i < S.size() && (S[i] == 'e' || S[i] == 'E')) {
    ++i;
    if (i < S.size() && (S[i] == '+' || S[i] == '-')) ++i;
    size_t exponent = i;
    while (i < S.size() && S[i] >= '0' && S[i] <= '9') ++i;
    ok = i > exponent;
  }
  if (!ok || i != S.size()) {
    Value = digits;
    return false;
  }
  const char* first = S.data() + start;
  if (*first == '+') ++first;
  auto [end, error] = std::from_chars(first, S.data() + S.size(), Value);
  if (error == std::errc::result_out_of_range)
    Value = (*first == '-' ? -1 : 1) * HUGE_VAL;
  return true;
}

// The number in a cell text for ssNumeric (Financial false) and ssFinancial.
bool SortNumber(const std::string& Text, const std::string& Prefix, const std::string& Suffix, bool Financial,
                double& Value) {
  std::string s = Text;
  if (!Prefix.empty()) {
    size_t p = s.find(Prefix);
    if (p != std::string::npos) s.erase(p, Prefix.size());
  }
  if (!Suffix.empty()) {
    size_t p = s.find(Suffix);
    if (p != std::string::npos) s.erase(p, Suffix.size());
  }
  const TFormatSettings& fs = FormatSettings();
  if (Financial) s.erase(std::remove(s.begin(), s.end(), fs.ThousandSeparator), s.end());
  if (fs.DecimalSeparator != '.') {
    size_t p = s.find(fs.DecimalSeparator);
    if (p != std::string::npos) s[p] = '.';
  }
  if (ValFloat(s, Value)) return true;
  if (!Text.empty()) return false;
  Value = 0;  // an empty cell counts as 0
  return true;
}

// Whether a text starts like a date: a date separator at the second or third character,
// between two digits.
bool DateShaped(const std::string& T) {
  size_t p = T.find(FormatSettings().DateSeparator);
  if (p == std::string::npos || p < 1 || p > 2 || p + 1 >= T.size()) return false;
  auto digit = [](char C) { return C >= '0' && C <= '9'; };
  return digit(T[p - 1]) && digit(T[p + 1]);
}

double SortDate(const std::string& Text, TSortStyle Style) {
  if (Text.empty()) return 0;
  try {
    switch (Style) {
      case ssShortDateEU: return StrToShortDateEU(Text);
      case ssShortDateUS: return StrToShortdateUS(Text);
      default: return StrToDateTime(Text);
    }
  } catch (const Exception&) {
    return 0;
  }
}

// The quicksort of row numbers that decides a sort's order. Cmp(a, b) answers as
// CompareLine does; a row goes behind another when Cmp(row, other) equals SortSign. Rows
// that compare equal are left where the partitioning meets them. A range that partitions
// badly again and again is finished by a merge sort, so no input costs more than
// n log n comparisons.
template <class TCmp>
class TRowOrder {
public:
  TRowOrder(std::vector<int>& Order, TCmp& Cmp, int SortSign, bool SwapEqual)
      : FOrder(Order), FCmp(Cmp), FSign(SortSign), FSwapEqual(SwapEqual) {}

  void Sort() {
    int n = static_cast<int>(FOrder.size());
    int depth = 16;
    for (int k = n; k > 1; k >>= 1) depth += 2;
    Partition(0, n - 1, depth);
  }

private:
  void Partition(int L, int R, int Depth) {
    auto& p = FOrder;
    while (L < R) {
      if (Depth-- == 0) {
        MergeSort(L, R);
        return;
      }
      int pivot = p[size_t((L + R) / 2)];
      int i = L, j = R;
      do {
        while (i < R && FCmp(pivot, p[size_t(i)]) == FSign) ++i;
        while (j > L && FCmp(p[size_t(j)], pivot) == FSign) --j;
        if (i <= j) {
          if (i != j && (FSwapEqual || FCmp(p[size_t(i)], p[size_t(j)]) != 0)) std::swap(p[size_t(i)], p[size_t(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      // The smaller side recurses, the larger one loops: the stack stays shallow.
      if (j - L < R - i) {
        if (L < j) Partition(L, j, Depth);
        L = i;
      } else {
        if (i < R) Partition(i, R, Depth);
        R = j;
      }
    }
  }

  // Stable, and safe with comparisons that do not order consistently.
  void MergeSort(int L, int R) {
    std::vector<int> buffer(size_t(R - L + 1));
    for (int width = 1; width <= R - L; width *= 2) {
      for (int lo = L; lo <= R - width; lo += 2 * width) {
        int mid = lo + width, hi = std::min(lo + 2 * width - 1, R);
        int a = lo, b = mid, k = 0;
        while (a < mid && b <= hi)
          buffer[size_t(k++)] = FCmp(FOrder[size_t(a)], FOrder[size_t(b)]) == FSign ? FOrder[size_t(b++)]
                                                                                    : FOrder[size_t(a++)];
        while (a < mid) buffer[size_t(k++)] = FOrder[size_t(a++)];
        while (b <= hi) buffer[size_t(k++)] = FOrder[size_t(b++)];
        std::copy(buffer.begin(), buffer.begin() + k, FOrder.begin() + lo);
      }
    }
  }

  std::vector<int>& FOrder;
  TCmp& FCmp;
  int FSign;
  bool FSwapEqual;
};

// Moves the texts and cell objects of columns FirstCol..LastCol from row Src[k] to row
// Dest[k]; cell properties learn their new row.
void MoveCells(TStringGrid& Grid, const std::vector<int>& Dest, const std::vector<int>& Src, int FirstCol,
               int LastCol) {
  size_t n = Dest.size();
  std::vector<std::string> texts(n);
  std::vector<TObject*> objects(n);
  // One repaint for the whole move instead of one per cell.
  TStrings* batch = Grid.Rows(0);
  batch->BeginUpdate();
  try {
    for (int c = FirstCol; c <= LastCol; ++c) {
      for (size_t k = 0; k < n; ++k) {
        texts[k] = Grid.Cells(c, Src[k]);
        objects[k] = Grid.Objects(c, Src[k]);
      }
      for (size_t k = 0; k < n; ++k) {
        Grid.SetCells(c, Dest[k], texts[k]);
        Grid.SetObjects(c, Dest[k], objects[k]);
        if (auto* props = dynamic_cast<TCellProperties*>(objects[k])) props->OwnerRow = Dest[k];
      }
    }
  } catch (...) {
    batch->EndUpdate();
    throw;
  }
  batch->EndUpdate();
}

// Moves whole rows from Src[k] to Dest[k] (a permutation of rows inside the grid) by
// their handles in the store: texts, objects and heights go without copying a cell; the
// first column stays in place when KeepFirstColumn is set. Cell properties learn their
// new row (in the Columns real columns). False (nothing done) when some row lies outside
// the grid.
bool MoveWholeRows(TBaseGrid& Grid, const std::vector<int>& Dest, const std::vector<int>& Src, int Columns,
                   bool KeepFirstColumn) {
  auto inside = [&Grid](const std::vector<int>& Rows) {
    return std::all_of(Rows.begin(), Rows.end(), [&Grid](int R) { return R >= 0 && R < Grid.RowCount(); });
  };
  if (!inside(Dest) || !inside(Src)) return false;
  Grid.PermuteRowSlots(Dest, Src, true);
  // The first column goes back: row Src[k] takes it from row Dest[k].
  if (KeepFirstColumn) MoveCells(Grid, Src, Dest, 0, 0);
  if (Grid.CellPropertiesCreated())
    for (int r : Dest)
      for (int c = 0; c < Columns; ++c)
        if (auto* props = dynamic_cast<TCellProperties*>(Grid.Objects(c, r))) props->OwnerRow = r;
  return true;
}

void MoveRowHeights(TCustomGrid& Grid, const std::vector<int>& Dest, const std::vector<int>& Src) {
  std::vector<int> heights(Dest.size());
  for (size_t k = 0; k < Dest.size(); ++k) heights[k] = Grid.RowHeights(Src[k]);
  for (size_t k = 0; k < Dest.size(); ++k)
    if (Grid.RowHeights(Dest[k]) != heights[k]) Grid.SetRowHeights(Dest[k], heights[k]);
}

// The rows that change place when rows Left.. take the order Order.
void MovesOf(const std::vector<int>& Order, int Left, std::vector<int>& Dest, std::vector<int>& Src) {
  for (size_t k = 0; k < Order.size(); ++k)
    if (Order[k] != Left + int(k)) {
      Dest.push_back(Left + int(k));
      Src.push_back(Order[k]);
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Comparisons.
void TDavEvadurAvuz::GetColFormat(int ACol, TSortStyle& AStyle, std::string& aPrefix, std::string& aSuffix) {
  if (OnGetFormat) OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

std::string TDavEvadurAvuz::SortText(int ACol, int ARow) {
  if (SortSettings()->SortOnVirtualCells) return GetCellEx(ACol, ARow);
  TPoint b = BaseCell(ACol, ARow);
  return GetGridCell(b.X, b.Y);
}

int TDavEvadurAvuz::SortImageIndex(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  // Bitmap and icon cells keep no picture object here to tell apart: they sort as cells
  // without an image.
  return g && g->CellType == ctImageList ? g->CellIndex : -1;
}

int TDavEvadurAvuz::Compare(int ACol, int ARow1, int ARow2, TSortDirection Dir) {
  TSortSettings* s = SortSettings();
  TSortStyle start = s->AutoFormat ? ssAutomatic : (s->IgnoreCase ? ssAlphaNoCase : ssAlphabetic);
  if (FSortCache && ARow1 >= 0 && ARow2 >= 0 && ARow1 < RowCount() && ARow2 < RowCount()) {
    if (!FSortCache->Last || FSortCache->LastKey != ACol) {
      auto found = FSortCache->Columns.find(ACol);
      if (found == FSortCache->Columns.end()) {
        TSortCache::TColumn column;
        column.Style = start;
        GetColFormat(ACol, column.Style, column.Prefix, column.Suffix);
        column.Cells.resize(size_t(RowCount()));
        found = FSortCache->Columns.emplace(ACol, std::move(column)).first;
      }
      FSortCache->LastKey = ACol;
      FSortCache->Last = &found->second;
    }
    TSortCache::TColumn& column = *FSortCache->Last;
    auto cell = [&](int ARow) -> TSortCell& {
      TSortCell& c = column.Cells[size_t(ARow)];
      if (!c.Loaded) {
        c.Text = SortText(ACol, ARow);
        c.Loaded = true;
      }
      return c;
    };
    TSortCell& c1 = cell(ARow1);
    TSortCell& c2 = cell(ARow2);
    return CompareCells(ACol, ARow1, ARow2, Dir, column.Style, column.Prefix, column.Suffix, c1, c2);
  }
  TSortStyle style = start;
  std::string prefix, suffix;
  GetColFormat(ACol, style, prefix, suffix);
  TSortCell c1, c2;
  c1.Text = SortText(ACol, ARow1);
  c2.Text = SortText(ACol, ARow2);
  return CompareCells(ACol, ARow1, ARow2, Dir, style, prefix, suffix, c1, c2);
}

int TDavEvadurAvuz::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Dir, TSortStyle Style,
                                 const std::string& Prefix, const std::string& Suffix, TSortCell& C1,
                                 TSortCell& C2) {
  TSortSettings* s = SortSettings();
  const std::string& t1 = C1.Text;
  const std::string& t2 = C2.Text;
  auto isNumber = [](TSortCell& C) {
    if (C.IsNumber < 0) {
      TAutoType t = IsType(C.Text);
      C.IsNumber = t == atNumeric || t == atFloat || t == atScientific;
    }
    return C.IsNumber == 1;
  };
  TSortStyle style = Style;
  if (style == ssAutomatic) {
    if (C1.IsCheckBox < 0) {
      TCellGraphic* g = GetCellGraphic(ACol, ARow1);
      TCellType t = g ? g->CellType : ctNone;
      C1.IsCheckBox = t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
    }
    if (C1.IsCheckBox) {
      style = ssCheckBox;
    } else if (isNumber(C1)) {
      style = ssNumeric;
    } else {
      style = s->IgnoreCase ? ssAlphaNoCase : ssAlphabetic;
      if (C1.DateShape < 0) C1.DateShape = DateShaped(t1);
      if (C1.DateShape) {
        if (C2.HasDateSeparator < 0) C2.HasDateSeparator = t2.find(FormatSettings().DateSeparator) != std::string::npos;
        if (C2.HasDateSeparator) style = ssDate;
      }
    }
  } else if (style == ssAlphaNumeric || style == ssAlphaNumericNoCase) {
    bool numbers = isNumber(C1) && isNumber(C2);
    style = numbers ? ssNumeric : (style == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
  }

  int result = 1;
  switch (style) {
    case ssAlphabetic:
    case ssAlphaCase: result = Sign(t1.compare(t2)); break;
    case ssAlphaNoCase: result = CompareNoCase(t1, t2); break;
    case ssAnsiAlphaCase: result = Sign(AnsiCompareStr(t1, t2)); break;
    case ssAnsiAlphaNoCase: result = Sign(AnsiCompareText(t1, t2)); break;
    case ssNumeric:
    case ssFinancial: {
      size_t f = style == ssFinancial;
      for (TSortCell* c : {&C1, &C2})
        if (c->NumberState[f] < 0) c->NumberState[f] = SortNumber(c->Text, Prefix, Suffix, f == 1, c->Number[f]);
      result = C1.NumberState[f] == 0 && C2.NumberState[f] == 0 ? 0 : CompareValues(C1.Number[f], C2.Number[f]);
      break;
    }
    case ssDate:
    case ssShortDateEU:
    case ssShortDateUS: {
      size_t d = style == ssDate ? 0 : (style == ssShortDateEU ? 1 : 2);
      for (TSortCell* c : {&C1, &C2})
        if (!c->GetMore().DateKnown[d]) {
          c->More->Date[d] = SortDate(c->Text, style);
          c->More->DateKnown[d] = true;
        }
      result = CompareValues(C1.More->Date[d], C2.More->Date[d]);
      break;
    }
    case ssCustom:
      result = 0;
      if (OnCustomCompare) {
        result = 1;
        OnCustomCompare(this, t1, t2, result);
        result = Sign(result);
      }
      break;
    case ssRaw:
      result = 0;
      if (OnRawCompare) {
        result = 1;
        OnRawCompare(this, ACol, ARow1, ARow2, result);
        result = Sign(result);
      }
      break;
    case ssHTML:
      for (TSortCell* c : {&C1, &C2})
        if (!c->GetMore().StrippedKnown) {
          c->More->Stripped = DecodeEntities(HTMLStrip(c->Text));
          c->More->StrippedKnown = true;
        }
      result = Sign(C1.More->Stripped.compare(C2.More->Stripped));
      break;
    case ssImages: {
      int a = SortImageIndex(ACol, ARow1), b = SortImageIndex(ACol, ARow2);
      result = a > b ? 1 : (a == b ? 0 : -1);
      break;
    }
    case ssCheckBox: {
      bool a = false, b = false;
      GetCheckBoxState(ACol, ARow1, a);
      GetCheckBoxState(ACol, ARow2, b);
      result = a == b ? 0 : (a ? 1 : -1);
      break;
    }
    case ssUnicode:
      result = Sign(AnsiCompareText(Utf16ToUtf8(DecodeWideStr(t1)), Utf16ToUtf8(DecodeWideStr(t2))));
      break;
    default: break;
  }

  // Blank cells go to the chosen end whichever way the rows are sorted.
  if (s->IgnoreBlanks && t1.empty() != t2.empty()) {
    int blankSide = (s->BlankPos == blFirst ? -1 : 1) * (Dir == sdAscending ? 1 : -1);
    result = t1.empty() ? blankSide : -blankSide;
  }
  return result;
}

int TDavEvadurAvuz::CompareLine(int ACol, int ARow1, int ARow2) {
  TSortSettings* s = SortSettings();
  int columns = FSortColumns > 0 ? FSortColumns : ColCount();
  for (;;) {
    int result = IsIgnoredColumn(ACol) ? 0 : Compare(ACol, ARow1, ARow2, s->Direction);
    if (result != 0 || !s->Full || ACol > columns - 2) return result;
    ++ACol;
  }
}

int TDavEvadurAvuz::CompareLineIndexed(int Index, int ARow1, int ARow2) {
  TSortSettings* s = SortSettings();
  for (;;) {
    int column = FSortIndexes->GetSortColumns(Index);
    bool ascending = FSortIndexes->GetSortDirections(Index);
    int result = IsIgnoredColumn(column) ? 0 : Compare(column, ARow1, ARow2, ascending ? sdAscending : sdDescending);
    if (result == 0 && s->Full && Index < FSortIndexes->Count() - 1) {
      ++Index;
      continue;
    }
    return ascending ? result : -result;
  }
}

bool TDavEvadurAvuz::SortLine(int ACol, int ARow1, int ARow2) {
  int sign = SortSettings()->Direction == sdAscending ? 1 : -1;
  for (;;) {
    int c = Compare(ACol, ARow1, ARow2, SortSettings()->Direction);
    if (c == sign) {
      SortSwapRows(ARow1, ARow2);
      return true;
    }
    if (c != 0 || ACol >= TotalColCount() - 1) return false;
    ++ACol;
  }
}

// ---------------------------------------------------------------------------------------
// Ordering and moving rows.
void TDavEvadurAvuz::InitSortXRef() {
  FSortList->Clear();
  for (int r = 0; r < RowCount(); ++r) FSortList->Add(r);
}

std::vector<int> TDavEvadurAvuz::SortedOrder(TSortKind Kind, int Key, int Left, int Right) {
  std::vector<int> order(static_cast<size_t>(Right - Left + 1));
  std::iota(order.begin(), order.end(), Left);
  // A handler may sort again while this order is decided: each sort keeps its own cache.
  TSortCache cache;
  TSortCache* outerCache = FSortCache;
  int outerColumns = FSortColumns;
  FSortCache = &cache;
  FSortColumns = TotalColCount();
  try {
    if (Kind == TSortKind::Column) {
      auto cmp = [this, Key](int A, int B) { return CompareLine(Key, A, B); };
      int sign = SortSettings()->Direction == sdAscending ? 1 : -1;
      TRowOrder<decltype(cmp)>(order, cmp, sign, false).Sort();
    } else {
      // The keys carry their directions: the order is ascending in their sense.
      auto cmp = [this, Key](int A, int B) { return CompareLineIndexed(Key, A, B); };
      TRowOrder<decltype(cmp)>(order, cmp, 1, true).Sort();
    }
  } catch (...) {
    FSortCache = outerCache;
    FSortColumns = outerColumns;
    throw;
  }
  FSortCache = outerCache;
  FSortColumns = outerColumns;
  return order;
}

void TDavEvadurAvuz::SortRowRange(TSortKind Kind, int Key, int Left, int Right) {
  Left = std::max(Left, 0);
  Right = std::min(Right, RowCount() - 1);
  if (Right <= Left) return;
  if (Kind == TSortKind::Indexed && FSortIndexes->Count() == 0)
    throw EVezIdidError("No indexes specified for indexed sort");
  std::vector<int> order = SortedOrder(Kind, Key, Left, Right);
  std::vector<int> dest, src;
  MovesOf(order, Left, dest, src);
  // An indexed sort's column, for SingleColumn, is that of its first key.
  int column = Kind == TSortKind::Column ? Key : FSortIndexes->GetSortColumns(0);
  MoveSortRows(dest, src, column);
}

void TDavEvadurAvuz::MoveSortRows(const std::vector<int>& Dest, const std::vector<int>& Src, int SortColumn) {
  if (Dest.empty()) return;
  auto inside = [](const std::vector<int>& Rows, int Count) {
    return std::all_of(Rows.begin(), Rows.end(), [Count](int R) { return R >= 0 && R < Count; });
  };
  if (inside(Dest, FSortList->Count()) && inside(Src, FSortList->Count())) {
    std::vector<int> entries(Dest.size());
    for (size_t k = 0; k < Dest.size(); ++k) entries[k] = FSortList->GetInteger(Src[k]);
    for (size_t k = 0; k < Dest.size(); ++k) FSortList->SetInteger(Dest[k], entries[k]);
  }
  TSortSettings* s = SortSettings();
  if (s->SingleColumn && SortColumn >= 0) {
    MoveCells(*this, Dest, Src, SortColumn, SortColumn);
    return;
  }
  bool keepFirstColumn = s->NormalCellsOnly && FixedCols() > 0;
  if (!MoveWholeRows(*this, Dest, Src, TotalColCount(), keepFirstColumn)) {
    MoveCells(*this, Dest, Src, keepFirstColumn ? 1 : 0, TotalColCount() - 1);
    MoveRowHeights(*this, Dest, Src);
  }

  if (MouseActions()->DisjunctRowSelect() && Navigation()->MoveRowOnSort) {
    // The flags are kept by real row.
    std::vector<int> real;
    if (NumHiddenRows() > 0) {
      std::vector<bool> hidden(size_t(TotalRowCount()), false);
      for (int i = 0; i < FHiddenRows->Count(); ++i) {
        int idx = static_cast<TGridItem*>(FHiddenRows->Items(i))->Idx;
        if (idx >= 0 && idx < TotalRowCount()) hidden[size_t(idx)] = true;
      }
      for (int r = 0; r < TotalRowCount(); ++r)
        if (!hidden[size_t(r)]) real.push_back(r);
    }
    auto realRow = [&](int ARow) { return ARow < int(real.size()) ? real[size_t(ARow)] : ARow; };
    std::unordered_map<int, int> moved;
    int reach = 0;
    for (size_t k = 0; k < Dest.size(); ++k) {
      moved[realRow(Src[k])] = realRow(Dest[k]);
      reach = std::max({reach, realRow(Src[k]) + 1, realRow(Dest[k]) + 1});
    }
    if (int(FRowFlags.size()) < reach) FRowFlags.resize(size_t(reach), false);
    std::vector<bool> flags = FRowFlags;
    for (auto [from, to] : moved) FRowFlags[size_t(to)] = flags[size_t(from)];
    for (int i = 0; i < FSelectedRows->Count(); ++i) {
      auto found = moved.find(FSelectedRows->GetInteger(i));
      if (found != moved.end()) FSelectedRows->SetInteger(i, found->second);
    }
  }

  if (ShowModified()->Enabled() && FModifiedRows->Count() > 0) {
    int reach = *std::max_element(Dest.begin(), Dest.end()) + 1;
    while (FModifiedRows->Count() < reach) FModifiedRows->Add(0);
    std::vector<int> flags(Dest.size());
    for (size_t k = 0; k < Dest.size(); ++k) flags[k] = GetRowModified(Src[k]) ? 1 : 0;
    for (size_t k = 0; k < Dest.size(); ++k) FModifiedRows->SetInteger(Dest[k], flags[k]);
  }

  for (size_t k = 0; k < Dest.size(); ++k)
    if (Src[k] == FSortCurrentRow) {
      FSortCurrentRow = Dest[k];
      break;
    }
}

void TDavEvadurAvuz::SortSwapRows(int ARow1, int ARow2) {
  if (ARow1 == ARow2) return;
  if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
    throw EVezIdidError("Invalid row accessed");
  MoveSortRows({ARow1, ARow2}, {ARow2, ARow1}, SortSettings()->Column);
}

// ---------------------------------------------------------------------------------------
// The sort entry points.
void TDavEvadurAvuz::SortFrame(TSortKind Kind) {
  TSortSettings* s = SortSettings();
  bool indexed = Kind == TSortKind::Indexed;
  if (indexed && FSortIndexes->Count() == 0) throw EVezIdidError("No indexes specified for indexed sort");
  if (!indexed && s->Column < 0) return;
  if (FSortList->Count() != RowCount()) InitSortXRef();
  if (!indexed) FSortIndexes->Clear();
  int topRow = TopRow();
  BeginUpdate();
  try {
    int oldRow = Row();
    FSortCurrentRow = oldRow;
    SortRowRange(Kind, indexed ? 0 : s->Column, FixedRows(), RowCount() - FixedFooters() - 1);
    bool moveRow = Navigation()->MoveRowOnSort;
    // A plain sort leaves the current row alone under the disjunct row selection, which
    // the row setter would rebuild from the selection.
    if (moveRow && (indexed || !MouseActions()->DisjunctRowSelect())) {
      if (FSortCurrentRow != Row() && FSortCurrentRow >= 0 && FSortCurrentRow < RowCount()) {
        TGridOptions options = Options(), withoutEditor = options;
        withoutEditor -= goAlwaysShowEditor;
        bool editorShown = options.Contains(goAlwaysShowEditor);
        if (editorShown) SetOptions(withoutEditor);
        try {
          SetRow(FSortCurrentRow);
        } catch (...) {
          if (editorShown) SetOptions(options);
          throw;
        }
        if (editorShown) SetOptions(options);
      }
      LastUpdatedRow = -1;
    }
    if (!indexed && OnRowUpdate && !moveRow) OnRowUpdate(this, oldRow, Row());
  } catch (...) {
    if (Navigation()->KeepScrollOnSort) SetTopRow(topRow);
    EndUpdate();
    throw;
  }
  if (Navigation()->KeepScrollOnSort) SetTopRow(topRow);
  EndUpdate();
  if (!indexed && SearchFooter()->Visible() && FSearchPanel && FSearchPanel->Visible()) FSearchPanel->Invalidate();
}

void TDavEvadurAvuz::QSort() { SortFrame(TSortKind::Column); }

void TDavEvadurAvuz::QSortIndexed() { SortFrame(TSortKind::Indexed); }

void TDavEvadurAvuz::SortByColumn(int ACol) {
  if (RowCount() < 2) return;
  SortSettings()->Column = ACol;
  QSort();
}

void TDavEvadurAvuz::Sort(int ACol, TSortDirection Dir) {
  SortSettings()->Column = ACol;
  SortSettings()->Direction = Dir;
  QSort();
}

void TDavEvadurAvuz::QuickSort(int ACol, int Left, int Right) {
  if (ACol < 0) return;
  if (FSortList->Count() != RowCount()) InitSortXRef();
  SortRowRange(TSortKind::Column, ACol, Left, Right);
}

void TDavEvadurAvuz::QuickSortIndexed(int Left, int Right) {
  if (FSortList->Count() != RowCount()) InitSortXRef();
  SortRowRange(TSortKind::Indexed, 0, Left, Right);
}

void TDavEvadurAvuz::QuickSortRows(int ACol, int Left, int Right) {
  if (ACol >= 0) SortRowRange(TSortKind::Column, ACol, Left, Right);
}

void TDavEvadurAvuz::QuickSortRowsIndexed(int Index, int Left, int Right) {
  SortRowRange(TSortKind::Indexed, Index, Left, Right);
}

void TDavEvadurAvuz::QUnSort() {
  int n = RowCount();
  // A record made for another row count no longer says where the rows came from.
  if (FSortList->Count() != n) {
    InitSortXRef();
    return;
  }
  FUnSortList->Clear();
  for (int v : FSortList->Items()) FUnSortList->Add(v);
  BeginUpdate();
  try {
    const std::vector<int>& from = FUnSortList->Items();
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int A, int B) { return from[size_t(A)] < from[size_t(B)]; });
    std::vector<int> dest, src;
    MovesOf(order, 0, dest, src);
    MoveSortRows(dest, src, SortSettings()->Column);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---------------------------------------------------------------------------------------
// Exchanging rows and columns outside sorting.
void TDavEvadurAvuz::SwapRows(int ARow1, int ARow2) {
  if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
    throw EVezIdidError("Invalid row accessed");
  if (ARow1 == ARow2) return;
  MoveWholeRows(*this, {ARow1, ARow2}, {ARow2, ARow1}, TotalColCount(), false);
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->GetControl(i);
    if (item->Row == ARow1) item->Row = ARow2;
    else if (item->Row == ARow2) item->Row = ARow1;
  }
  CellControlsUpdate();
}

void TDavEvadurAvuz::SwapColumns(int ACol1, int ACol2) {
  if (ACol1 < 0 || ACol2 < 0 || ACol1 >= TotalColCount() || ACol2 >= TotalColCount())
    throw EVezIdidError("Invalid column accessed");
  if (ACol1 == ACol2) return;
  TStrings* batch = Rows(0);
  batch->BeginUpdate();
  try {
    for (int r = 0; r < RowCount(); ++r) {
      std::string text = Cells(ACol1, r);
      TObject* object = Objects(ACol1, r);
      SetCells(ACol1, r, Cells(ACol2, r));
      SetObjects(ACol1, r, Objects(ACol2, r));
      SetCells(ACol2, r, text);
      SetObjects(ACol2, r, object);
      for (int c : {ACol1, ACol2})
        if (auto* props = dynamic_cast<TCellProperties*>(Objects(c, r))) props->OwnerCol = c;
    }
  } catch (...) {
    batch->EndUpdate();
    throw;
  }
  batch->EndUpdate();
  if (ACol1 < ColCount() && ACol2 < ColCount()) {
    int width = ColWidths(ACol1);
    SetColWidths(ACol1, ColWidths(ACol2));
    SetColWidths(ACol2, width);
  }
  int& column = SortSettings()->Column;
  if (column == ACol1) column = ACol2;
  else if (column == ACol2) column = ACol1;
  for (int i = 0; i < FControlList->Count(); ++i) {
    TControlItem* item = FControlList->GetControl(i);
    if (item->Col == ACol1) item->Col = ACol2;
    else if (item->Col == ACol2) item->Col = ACol1;
  }
  CellControlsUpdate();
}
