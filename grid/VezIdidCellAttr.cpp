// VezIdid, cell attributes and values: per-cell colours, fonts and alignment, row colours,
// dates and times, controls placed over cells, repaints, zoom, the row insert and delete
// hooks of navigation, cells read and written as numbers, and small grid queries.
#include <algorithm>
#include <cctype>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"

// ---------------------------------------------------------------------------------------
// Attributes of single cells (real column). A read of a cell without properties gives the
// default and creates nothing, except ReadOnly and WordWraps.
namespace {
template <class T, class Get>
T ReadProp(TBaseGrid* Grid, int ACol, int ARow, T Default, Get G) {
  if (!Grid->HasCellProperties(ACol, ARow)) return Default;
  return G(Grid->GetCellProperties(ACol, ARow));
}
}  // namespace

#define LORM_CELL_ATTR(Type, Name, Field, Default)                                       \
  Type TDavEvadurAvuz::Name(int ACol, int ARow) {                                        \
    return ReadProp<Type>(this, ACol, ARow, Default, [](TCellProperties* p) { return p->Field; }); \
  }                                                                                      \
  void TDavEvadurAvuz::Set##Name(int ACol, int ARow, Type Value) {                       \
    GetCellProperties(ACol, ARow)->Field = Value;                                        \
    if (FUpdateCount == 0) RepaintCell(DisplColIndex(ACol), ARow);                       \
  }

LORM_CELL_ATTR(TCellGradientDirection, GradientDir, GradientDirection, GradientVertical)
LORM_CELL_ATTR(TColor, FontColors, FontColor, clNone)
LORM_CELL_ATTR(TFontStyles, FontStyles, FontStyle, TFontStyles())
LORM_CELL_ATTR(int, FontSizes, FontSize, 0)
LORM_CELL_ATTR(TAlignment, Alignments, Alignment, taLeftJustify)
#undef LORM_CELL_ATTR

TColor TDavEvadurAvuz::Colors(int ACol, int ARow) {
  return ReadProp<TColor>(this, ACol, ARow, clNone, [](TCellProperties* p) { return p->BrushColor; });
}

void TDavEvadurAvuz::SetColors(int ACol, int ARow, TColor Value) {
  GetCellProperties(ACol, ARow)->SetBrushColor(Value);
  if (FUpdateCount == 0) RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TDavEvadurAvuz::ColorsTo(int ACol, int ARow) {
  return ReadProp<TColor>(this, ACol, ARow, clNone, [](TCellProperties* p) { return p->BrushColorTo; });
}

void TDavEvadurAvuz::SetColorsTo(int ACol, int ARow, TColor Value) {
  GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
  RepaintCell(DisplColIndex(ACol), ARow);
}

std::string TDavEvadurAvuz::FontNames(int ACol, int ARow) {
  return ReadProp<std::string>(this, ACol, ARow, std::string(), [](TCellProperties* p) { return p->FontName; });
}

void TDavEvadurAvuz::SetFontNames(int ACol, int ARow, const std::string& Value) {
  GetCellProperties(ACol, ARow)->FontName = Value;
  RepaintCell(DisplColIndex(ACol), ARow);
}

bool TDavEvadurAvuz::ReadOnly(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->ReadOnly; }
void TDavEvadurAvuz::SetReadOnly(int ACol, int ARow, bool Value) { GetCellProperties(ACol, ARow)->ReadOnly = Value; }
bool TDavEvadurAvuz::WordWraps(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->WordWrap; }
void TDavEvadurAvuz::SetWordWraps(int ACol, int ARow, bool Value) {
  GetCellProperties(ACol, ARow)->SetWordWrap(Value);
}

// ---------------------------------------------------------------------------------------
// Row attributes: every column from the first normal one to the last real one.
void TDavEvadurAvuz::RowColor(int ARow, TColor Color) {
  for (int c = GetFixedColsEx(); c < GetAllColCount(); ++c) {
    if (Color == clNone) {
      // The cell's properties go, with every attribute, merge and object they held.
      if (HasCellProperties(c, ARow)) {
        if (IsMergedCell(c, ARow)) SplitCells(c, ARow);
        ClearPropRect(c, ARow, c, ARow);
      }
    } else {
      GetCellProperties(c, ARow)->BrushColor = Color;
    }
  }
  RepaintRow(ARow);
}

void TDavEvadurAvuz::RowColorTo(int ARow, TColor Color) {
  for (int c = GetFixedColsEx(); c < GetAllColCount(); ++c) {
    if (Color == clNone) {
      if (HasCellProperties(c, ARow)) {
        if (IsMergedCell(c, ARow)) SplitCells(c, ARow);
        ClearPropRect(c, ARow, c, ARow);
      }
    } else {
      GetCellProperties(c, ARow)->BrushColorTo = Color;
    }
  }
  RepaintRow(ARow);
}

void TDavEvadurAvuz::RowFontColor(int ARow, TColor Color) {
  for (int c = GetFixedColsEx(); c < GetAllColCount(); ++c) {
    if (Color == clNone) {
      if (HasCellProperties(c, ARow) && Colors(c, ARow) == clNone) {
        if (IsMergedCell(c, ARow)) SplitCells(c, ARow);
        ClearPropRect(c, ARow, c, ARow);
      }
    } else {
      GetCellProperties(c, ARow)->FontColor = Color;
    }
  }
  RepaintRow(ARow);
}

// ---------------------------------------------------------------------------------------
// Dates and times in the locale's formats.
TDateTime TDavEvadurAvuz::Dates(int ACol, int ARow) { return StrToDate(GetCellEx(ACol, ARow)); }

void TDavEvadurAvuz::SetDates(int ACol, int ARow, TDateTime Value) {
  SetCellEx(ACol, ARow, !ShowZeroDates && Value <= 0 ? std::string() : DateToStr(Value));
}

TDateTime TDavEvadurAvuz::Times(int ACol, int ARow) { return StrToTime(GetCellEx(ACol, ARow)); }
void TDavEvadurAvuz::SetTimes(int ACol, int ARow, TDateTime Value) { SetCellEx(ACol, ARow, TimeToStr(Value)); }

// ---------------------------------------------------------------------------------------
// Controls over cells. The control list keeps the real row, and is searched by it too.
TControl* TDavEvadurAvuz::CellControls(int ACol, int ARow) {
  if (!HasCellProperties(ACol, ARow)) return nullptr;
  return GetCellProperties(ACol, ARow)->Control;
}

void TDavEvadurAvuz::SetCellControls(int ACol, int ARow, TControl* Value) {
  int real = RealRowIndex(ARow);
  int idx = FControlList->ControlIndex(ACol, real);
  bool had = CellControls(ACol, ARow) != nullptr;
  if (Value) {
    if (idx >= 0) FControlList->RemoveControl(idx);
    if (!had) ++FCellControlCount;
    FControlList->AddControl(ACol, real, Value);
    GetCellProperties(ACol, ARow)->Control = Value;
    Value->SetParent(this);
    TRect r = CellRect(DisplColIndex(ACol), ARow);
    Value->SetBounds(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
    return;
  }
  if (had) {
    if (idx >= 0) FControlList->RemoveControl(idx);
    if (FCellControlCount > 0) --FCellControlCount;
  }
  GetCellProperties(ACol, ARow)->Control = nullptr;
}

int TDavEvadurAvuz::GetLinesInCell(int ACol, int ARow) { return LinesInText(GetCellEx(ACol, ARow), Multilinecells); }

void TDavEvadurAvuz::SwapCells(TGridCoord Cell1, TGridCoord Cell2) {
  std::string t1 = GetGridCell(Cell1.X, Cell1.Y), t2 = GetGridCell(Cell2.X, Cell2.Y);
  TObject* o1 = GetGridObject(Cell1.X, Cell1.Y);
  TObject* o2 = GetGridObject(Cell2.X, Cell2.Y);
  SetGridCell(Cell1.X, Cell1.Y, t2);
  SetGridCell(Cell2.X, Cell2.Y, t1);
  SetGridObject(Cell1.X, Cell1.Y, o2);
  SetGridObject(Cell2.X, Cell2.Y, o1);
  if (auto* p = dynamic_cast<TCellProperties*>(o2)) {
    p->OwnerCol = Cell1.X;
    p->OwnerRow = Cell1.Y;
  }
  if (auto* p = dynamic_cast<TCellProperties*>(o1)) {
    p->OwnerCol = Cell2.X;
    p->OwnerRow = Cell2.Y;
  }
}

// ---------------------------------------------------------------------------------------
// Repaints.
void TDavEvadurAvuz::RepaintRow(int ARow) {
  if (!HandleAllocated() || ARow < 0 || ARow >= RowCount()) return;
  TRect a = CellRect(0, ARow);
  TRect b = CellRect(std::min(LeftCol() + VisibleColCount(), ColCount() - 1), ARow);
  RECT r{a.Left, a.Top, std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  if (a.Bottom <= a.Top && b.Bottom <= b.Top) return;
  ::InvalidateRect(Handle(), &r, FALSE);
}

void TDavEvadurAvuz::RepaintCol(int ACol) {
  if (!HandleAllocated() || ACol < 0 || ACol >= ColCount()) return;
  TRect a = CellRect(ACol, GetTopRowEx());
  TRect b = CellRect(ACol, std::min(GetTopRowEx() + VisibleRowCount(), RowCount() - 1));
  RECT r{a.Left, a.Top, std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  ::InvalidateRect(Handle(), &r, FALSE);
}

void TDavEvadurAvuz::RepaintRect(const TRect& R) {
  if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0 || !HandleAllocated()) return;
  TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
  if (a.Right <= a.Left || b.Right <= b.Left) {
    Invalidate();
    return;
  }
  RECT r{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  ::InvalidateRect(Handle(), &r, TRUE);
}

void TDavEvadurAvuz::Zoom(int Delta) {
  int level = ZoomLevel + Delta;
  if (level < -10 || level > 10) return;
  FZooming = true;
  ZoomLevel = level;
  for (int c = 0; c < ColCount(); ++c)
    if (ColWidths(c) > 0 && ColWidths(c) + Delta > 0) SetColWidths(c, ColWidths(c) + Delta);
  for (int r = 0; r < RowCount(); ++r)
    if (RowHeights(r) > 0 && RowHeights(r) + Delta > 0) SetRowHeights(r, RowHeights(r) + Delta);
  FZooming = false;
  if (ScrollProportional) {
    UpdateHScroller();
    UpdateVScroller();
  }
}

// ---------------------------------------------------------------------------------------
// Navigation's row hooks (the grid has no nodes).
void TDavEvadurAvuz::DoInsertRow(int ARow) {
  InsertRows(ARow, 1, true);
  if (OnAutoInsertRow) OnAutoInsertRow(this, ARow);
}

void TDavEvadurAvuz::DoDeleteRow(int ARow) {
  if (RowCount() - TCustomGrid::FixedRows() - FFixedFooters != 1 || FixedRowAlways) RemoveRowsInternal(ARow, 1);
  else ClearRows(ARow, 1);
  if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TDavEvadurAvuz::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                     TGridDrawInfo& FixedInfo) {
  TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
  // The column left of the pointer in a header row, and the row above it in a fixed
  // column, may refuse to be sized.
  int c = -1, r = -1;
  if (OnColumnSize) {
    MouseToCell(X - 6, Y, c, r);
    if (r >= 0 && r < TCustomGrid::FixedRows() && c >= 0) {
      bool allow = true;
      OnColumnSize(this, c, allow);
      if (!allow) State = gsNormal;
    }
  }
  if (OnRowSize) {
    MouseToCell(X, Y - 6, c, r);
    if (c >= 0 && c < TCustomGrid::FixedCols() && r >= 0) {
      bool allow = true;
      OnRowSize(this, r, allow);
      if (!allow) State = gsNormal;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Cells as numbers.
void TDavEvadurAvuz::SetInts(int ACol, int ARow, int Value) {
  SetCellEx(ACol, ARow, std::to_string(Value));
  if (FHiddenColCount > 0) RepaintCell(RemapColInv(ACol), ARow);
}

int TDavEvadurAvuz::GetInts(int ACol, int ARow) {
  std::string s = Trim(GetCellEx(ACol, ARow));
  if (s.empty() || s == "-") return 0;
  int v = 0;
  if (!TryStrToInt(s, v)) throw EVezIdidError("Cell does not contain integer value");
  return v;
}

namespace {
// Whether a format takes exactly one floating value: one conversion, of a float type.
bool TakesOneFloat(const std::string& F) {
  int conversions = 0;
  for (size_t i = 0; i < F.size(); ++i) {
    if (F[i] != '%') continue;
    if (i + 1 < F.size() && F[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < F.size() && (std::isdigit(static_cast<unsigned char>(F[j])) || F[j] == '-' || F[j] == '.' || F[j] == ':'))
      ++j;
    if (j >= F.size()) return false;
    char t = static_cast<char>(std::tolower(static_cast<unsigned char>(F[j])));
    if (t != 'f' && t != 'e' && t != 'g' && t != 'n' && t != 'm') return false;
    ++conversions;
    i = j;
  }
  return conversions == 1;
}

double CellFloat(const std::string& Text) {
  std::string s = RemoveSeps(Text);
  if (Trim(s).empty() || Trim(s) == "-") return 0;
  Extended v = 0;
  if (!TryStrToFloat(Trim(s), v)) throw EVezIdidError("Cell does not contain a float value");
  return static_cast<double>(v);
}
}  // namespace

static std::string FormatFloatCell(const std::string& Fmt, double Value) {
  if (!TakesOneFloat(Fmt)) throw EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
  return Format(Fmt, Value);
}

void TDavEvadurAvuz::SetFloats(int ACol, int ARow, double Value) { SetCellEx(ACol, ARow, FormatFloatCell(FloatFormat, Value)); }
double TDavEvadurAvuz::GetFloats(int ACol, int ARow) { return CellFloat(GetCellEx(ACol, ARow)); }
void TDavEvadurAvuz::SetAllFloats(int ACol, int ARow, double Value) {
  SetCellsEx(ACol, ARow, FormatFloatCell(FloatFormat, Value));
}
double TDavEvadurAvuz::GetAllFloats(int ACol, int ARow) { return CellFloat(GetCellsEx(ACol, ARow)); }

std::string TDavEvadurAvuz::GetCtrlVal(int ACol, int ARow, const std::string& ID) {
  std::string v;
  if (!GetControlValue(GetCellEx(ACol, ARow), ID, v)) return std::string();
  return v;
}

void TDavEvadurAvuz::SetCtrlVal(int ACol, int ARow, const std::string& ID, const std::string& Value) {
  std::string s = GetCellEx(ACol, ARow);
  if (SetControlValue(s, ID, Value)) SetCellEx(ACol, ARow, s);
}

int TDavEvadurAvuz::GetPrintColWidth(int Index) const {
  if (Index < 0 || size_t(Index) >= FPrintColWidths.size()) throw EVezIdidError("Columns is not in valid range");
  return FPrintColWidths[size_t(Index)];
}

int TDavEvadurAvuz::GetPrintColOffset(int Index) const {
  if (Index < 0 || size_t(Index) >= FPrintColOffsets.size()) throw EVezIdidError("Columns is not in valid range");
  return FPrintColOffsets[size_t(Index)];
}

void TDavEvadurAvuz::SetPrintColGeometry(int Index, int Width, int Offset) {
  if (Index < 0) return;
  EnsurePrintColumns(Index + 1);
  FPrintColWidths[size_t(Index)] = Width;
  FPrintColOffsets[size_t(Index)] = Offset;
}

void TDavEvadurAvuz::QueryInsertRow(int ARow, bool& CanInsert) {
  if (OnCanInsertRow) OnCanInsertRow(this, ARow, CanInsert);
}
