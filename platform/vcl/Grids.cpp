// The framework grid: construction, dimensions and sizes, the current cell, the
// selection, scrolling, cell geometry, moving rows and columns, the stored sizes, and
// the draw grid and string grid with its cell store.
#include "platform/vcl/Grids.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <climits>

#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/GridsInternal.h"

// ---------------------------------------------------------------------------------------
// Reflection.
static const TEnumInfo* GridOptionNames = RegisterEnum(
    "TGridOption", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                    "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                    "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
static const TEnumInfo* ScrollStyleNames =
    RegisterEnum("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
static const TEnumInfo* GridBorderStyleNames = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle"});

static const TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                              goRangeSelect};

void TCustomGrid::Publish(TClassBuilder<TCustomGrid>& P) {
  P.Enum("BorderStyle", GridBorderStyleNames, &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle, bsSingle)
      .Int("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount, 5)
      .Int("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth, 64)
      .Int("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight, 24)
      .Bool("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing, true)
      .Int("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor, clBtnFace)
      .Consts(GetPropInfo(TControl::StaticClass(), "Color")->Consts)
      .Int("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols, 1)
      .Int("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount, 5)
      .Int("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows, 1)
      .Int("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth, 1)
      .Set("Options", GridOptionNames, &TCustomGrid::Options, &TCustomGrid::SetOptions, kDefaultGridOptions)
      .Enum("ScrollBars", ScrollStyleNames, &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars, ssBoth)
      .Bool("TabStop", &TCustomGrid::TabStop, &TCustomGrid::SetTabStop, true);
}

void TCustomDrawGrid::Publish(TClassBuilder<TCustomDrawGrid>& P) {
  P.Event("OnColumnMoved", &TCustomDrawGrid::OnColumnMoved)
      .Event("OnDrawCell", &TCustomDrawGrid::OnDrawCell)
      .Event("OnGetEditMask", &TCustomDrawGrid::OnGetEditMask)
      .Event("OnGetEditText", &TCustomDrawGrid::OnGetEditText)
      .Event("OnRowMoved", &TCustomDrawGrid::OnRowMoved)
      .Event("OnSelectCell", &TCustomDrawGrid::OnSelectCell)
      .Event("OnSetEditText", &TCustomDrawGrid::OnSetEditText)
      .Event("OnTopLeftChanged", &TCustomDrawGrid::OnTopLeftChanged);
}
void TDrawGrid::Publish(TClassBuilder<TDrawGrid>& P) { (void)P; }
void TStringGrid::Publish(TClassBuilder<TStringGrid>& P) { (void)P; }

// Stored forms create the grids by class name.
static const bool kGridsRegistered = [] {
  RegisterClasses({TDrawGrid::StaticClass(), TStringGrid::StaticClass()});
  return true;
}();

// ---------------------------------------------------------------------------------------
int GridMulDiv(int Number, int Numerator, int Denominator) {
  if (Denominator == 0) return 0;
  long long p = static_cast<long long>(Number) * Numerator;
  long long d = Denominator;
  if (d < 0) {
    p = -p;
    d = -d;
  }
  long long r = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);
  return static_cast<int>(std::clamp<long long>(r, INT_MIN, INT_MAX));
}

[[noreturn]] void GridIndexError() { throw EInvalidGridOperation("Grid index out of range"); }

int TGridAxisDrawInfo::GetExtent(int Index) const {
  int v = Horizontal ? Grid->ColWidths(Index) : Grid->RowHeights(Index);
  return v < 0 ? 0 : v;
}

// ---------------------------------------------------------------------------------------
TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FColWidths.assign(static_cast<size_t>(FColCount), FDefaultColWidth);
  FRowHeights.assign(static_cast<size_t>(FRowCount), FDefaultRowHeight);
  FTabStops.assign(static_cast<size_t>(FColCount), true);
  Initialize();
  SetBounds(FLeft, FTop, FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
}

TCustomGrid::~TCustomGrid() {
  Destroying();
  FEditorMode = false;
  if (FTimerRunning && HandleAllocated()) KillTimer(FHandle, 1);
  FTimerRunning = false;
  if (FInplaceEdit) {
    TInplaceEdit* edit = FInplaceEdit;
    FInplaceEdit = nullptr;
    DetachEditor(edit);
    delete edit;
  }
}

void TCustomGrid::CheckIndex(int Index, int Count) const {
  if (Index < 0 || Index >= Count) GridIndexError();
}

void TCustomGrid::Initialize() {
  FTopLeft = {FFixedCols, FFixedRows};
  FCurrent = FTopLeft;
  FAnchor = FCurrent;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  UpdateScrollRange();
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollRange();
}

// ---------------------------------------------------------------------------------------
// Dimensions.
// Each row and column costs its size at once (and the grids built on this one keep more
// per row or column); cells are kept sparsely, but whole rows and columns are walked.
// Counts beyond what a desktop's memory and patience hold are refused before anything
// changes.
void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount) {
  if (NewColCount > MaxGridCount || NewRowCount > MaxGridCount ||
      static_cast<long long>(NewColCount) * NewRowCount > MaxGridCells)
    throw EInvalidGridOperation("Grid too large for operation");
  int oldColCount = FColCount, oldRowCount = FRowCount;
  FColCount = NewColCount;
  FRowCount = NewRowCount;
  if (FFixedCols > NewColCount) FFixedCols = NewColCount - 1;
  if (FFixedRows > NewRowCount) FFixedRows = NewRowCount - 1;
  // The size totals follow the entries added or dropped, so a row appended costs the
  // same whatever the grid's length.
  auto resize = [](std::vector<int>& sizes, int count, int value, long long& sum) {
    size_t n = static_cast<size_t>(count);
    if (sum >= 0) {
      if (n > sizes.size()) sum += static_cast<long long>(n - sizes.size()) * std::max(value, 0);
      else
        for (size_t i = n; i < sizes.size(); ++i) sum -= std::max(sizes[i], 0);
    }
    sizes.resize(n, value);
  };
  resize(FColWidths, FColCount, FDefaultColWidth, FColWidthSum);
  resize(FRowHeights, FRowCount, FDefaultRowHeight, FRowHeightSum);
  FTabStops.resize(static_cast<size_t>(FColCount), true);

  // A current cell left outside moves onto the last row or column through SelectCell;
  // when SelectCell refuses, it is put there anyway so that it stays inside the grid.
  TGridCoord coord = FCurrent;
  if (coord.Y >= FRowCount) coord.Y = FRowCount - 1;
  if (coord.X >= FColCount) coord.X = FColCount - 1;
  if (coord != FCurrent) {
    TGridCoord before = FCurrent;
    if (FCurrent.X >= 0 && FCurrent.Y >= 0 && coord.X >= 0 && coord.Y >= 0) MoveCurrent(coord.X, coord.Y, true, true);
    if (FCurrent == before) {
      TGridRect oldSel = Selection();
      FCurrent = coord;
      FAnchor = coord;
      if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
      if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
      SelectionMoved(oldSel);
    }
  }
  // The anchor stays inside as well (without a selection event).
  if (FAnchor.X >= FColCount || FAnchor.Y >= FRowCount) {
    TGridRect oldSel = Selection();
    FAnchor.X = std::min(FAnchor.X, FColCount - 1);
    FAnchor.Y = std::min(FAnchor.Y, FRowCount - 1);
    SelectionMoved(oldSel);
  }
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  // The top-left cell stays a scrollable cell inside the grid.
  FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, FColCount - 1));
  FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, FRowCount - 1));
  InvalidateGrid();
  UpdateScrollRange();
  SizeChanged(oldColCount, oldRowCount);
}

void TCustomGrid::SetColCount(int Value) {
  if (Value == FColCount) return;
  if (Value < 1) Value = 1;
  if (Value <= FFixedCols) SetFixedCols(Value - 1);
  ChangeSize(Value, FRowCount);
  if (FOptions.Contains(goRowSelect)) {
    FAnchor.X = FColCount - 1;
    Invalidate();
  }
}

void TCustomGrid::SetRowCount(int Value) {
  if (Value == FRowCount) return;
  if (Value < 1) Value = 1;
  if (Value <= FFixedRows) SetFixedRows(Value - 1);
  ChangeSize(FColCount, Value);
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value == FFixedCols) return;
  if (Value < 0) GridIndexError();
  if (Value >= FColCount) throw EInvalidGridOperation("Fixed column count must be less than column count");
  FFixedCols = Value;
  Initialize();
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value == FFixedRows) return;
  if (Value < 0) GridIndexError();
  if (Value >= FRowCount) throw EInvalidGridOperation("Fixed row count must be less than row count");
  FFixedRows = Value;
  Initialize();
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  InvalidateGrid();
}

// ---------------------------------------------------------------------------------------
// Sizes.
int TCustomGrid::ColWidths(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FColWidths.size())) return FDefaultColWidth;
  return FColWidths[static_cast<size_t>(Index)];
}

int TCustomGrid::RowHeights(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FRowHeights.size())) return FDefaultRowHeight;
  return FRowHeights[static_cast<size_t>(Index)];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
  CheckIndex(Index, FColCount);
  Value = std::clamp(Value, 0, kMaxCoordinate);
  int& width = FColWidths[static_cast<size_t>(Index)];
  if (width == Value) return;
  if (FColWidthSum >= 0) FColWidthSum += Value - std::max(width, 0);
  width = Value;
  InvalidateGrid();
  ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  CheckIndex(Index, FRowCount);
  Value = std::clamp(Value, 0, kMaxCoordinate);
  int& height = FRowHeights[static_cast<size_t>(Index)];
  if (height == Value) return;
  if (FRowHeightSum >= 0) FRowHeightSum += Value - std::max(height, 0);
  height = Value;
  InvalidateGrid();
  RowHeightsChanged();
}

// Sizes are kept within the coordinate range, like the bounds of a control.
void TCustomGrid::SetDefaultColWidth(int Value) {
  Value = std::clamp(Value, 0, kMaxCoordinate);
  FDefaultColWidth = Value;
  FColWidths.assign(static_cast<size_t>(FColCount), Value);
  FColWidthSum = -1;
  ColWidthsChanged();
  InvalidateGrid();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  Value = std::clamp(Value, 0, kMaxCoordinate);
  FDefaultRowHeight = Value;
  FRowHeights.assign(static_cast<size_t>(FRowCount), Value);
  FRowHeightSum = -1;
  RowHeightsChanged();
  InvalidateGrid();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::clamp(Value, 0, kMaxCoordinate);
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  ColWidthsChanged();
  RowHeightsChanged();
  InvalidateGrid();
}

bool TCustomGrid::TabStops(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(FTabStops.size())) return true;
  return FTabStops[static_cast<size_t>(Index)];
}

void TCustomGrid::SetTabStops(int Index, bool Value) {
  CheckIndex(Index, FColCount);
  FTabStops[static_cast<size_t>(Index)] = Value;
}

void TCustomGrid::ColWidthsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

void TCustomGrid::RowHeightsChanged() {
  UpdateScrollRange();
  UpdateEdit();
}

long long TCustomGrid::ExtentSum(bool Horizontal) {
  long long& sum = Horizontal ? FColWidthSum : FRowHeightSum;
  if (sum < 0) {
    sum = 0;
    for (int v : Horizontal ? FColWidths : FRowHeights) sum += std::max(v, 0);
  }
  return sum;
}

int TCustomGrid::GridWidth() {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Horz.GridBoundary;
}

int TCustomGrid::GridHeight() {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Vert.GridBoundary;
}

bool TCustomGrid::HasCustomColWidths() const {
  return std::any_of(FColWidths.begin(), FColWidths.end(), [this](int w) { return w != FDefaultColWidth; });
}
bool TCustomGrid::HasCustomRowHeights() const {
  return std::any_of(FRowHeights.begin(), FRowHeights.end(), [this](int h) { return h != FDefaultRowHeight; });
}

void TCustomGrid::ReadColWidths(TReader& Reader) {
  Reader.ReadListBegin();
  for (int i = 0; !Reader.EndOfList(); ++i) {
    int w = static_cast<int>(Reader.ReadInteger());
    if (i < FColCount) SetColWidths(i, w);
  }
  Reader.ReadListEnd();
}

void TCustomGrid::ReadRowHeights(TReader& Reader) {
  Reader.ReadListBegin();
  for (int i = 0; !Reader.EndOfList(); ++i) {
    int h = static_cast<int>(Reader.ReadInteger());
    if (i < FRowCount) SetRowHeights(i, h);
  }
  Reader.ReadListEnd();
}

void TCustomGrid::WriteColWidths(TWriter& Writer) {
  Writer.WriteListBegin();
  for (int i = 0; i < FColCount; ++i) Writer.WriteInteger(ColWidths(i));
  Writer.WriteListEnd();
}

void TCustomGrid::WriteRowHeights(TWriter& Writer) {
  Writer.WriteListBegin();
  for (int i = 0; i < FRowCount; ++i) Writer.WriteInteger(RowHeights(i));
  Writer.WriteListEnd();
}

void TCustomGrid::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  Filer->DefineProperty(
      "ColWidths", [this](TReader& r) { ReadColWidths(r); }, [this](TWriter& w) { WriteColWidths(w); },
      HasCustomColWidths());
  Filer->DefineProperty(
      "RowHeights", [this](TReader& r) { ReadRowHeights(r); }, [this](TWriter& w) { WriteRowHeights(w); },
      HasCustomRowHeights());
}

void TCustomGrid::ChangeScale(int M, int D) {
  TCustomControl::ChangeScale(M, D);
  if (M == D || D == 0) return;
  for (int& w : FColWidths) w = GridMulDiv(w, M, D);
  for (int& h : FRowHeights) h = GridMulDiv(h, M, D);
  FColWidthSum = FRowHeightSum = -1;
  FDefaultColWidth = GridMulDiv(FDefaultColWidth, M, D);
  ColWidthsChanged();
  RowHeightsChanged();
  InvalidateGrid();
}

// ---------------------------------------------------------------------------------------
// Options and appearance.
void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value == FOptions) return;
  if (Value.Contains(goRowSelect)) Value -= goAlwaysShowEditor;
  FOptions = Value;
  if (!FEditorMode) {
    if (Value.Contains(goAlwaysShowEditor)) ShowEditor();
    else HideEditor();
  }
  if (Value.Contains(goRowSelect) && FCurrent.X >= 0 && FCurrent.Y >= 0 && FCurrent.X < FColCount &&
      FCurrent.Y < FRowCount)
    MoveCurrent(FCurrent.X, FCurrent.Y, true, false);
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  InvalidateGrid();
}

// ---------------------------------------------------------------------------------------
// Layout.
void TCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo) {
  auto fixed = [this](TGridAxisDrawInfo& a, bool horz, int lineWidth, int fixedCount, int first, int count) {
    a.Grid = this;
    a.Horizontal = horz;
    a.EffectiveLineWidth = lineWidth;
    a.FixedCellCount = fixedCount;
    a.FirstGridCell = first;
    a.GridCellCount = count;
    a.FixedBoundary = 0;
    for (int i = 0; i < fixedCount; ++i) a.FixedBoundary += a.GetExtent(i) + lineWidth;
  };
  fixed(DrawInfo.Horz, true, FOptions.Contains(goVertLine) ? FGridLineWidth : 0, FFixedCols, FTopLeft.X, FColCount);
  fixed(DrawInfo.Vert, false, FOptions.Contains(goHorzLine) ? FGridLineWidth : 0, FFixedRows, FTopLeft.Y, FRowCount);
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight) {
  CalcFixedInfo(DrawInfo);
  auto axis = [](TGridAxisDrawInfo& a, int extent) {
    a.GridExtent = extent;
    a.GridBoundary = a.FixedBoundary;
    a.FullVisBoundary = a.FixedBoundary;
    a.LastFullVisibleCell = a.FirstGridCell;
    for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
      a.GridBoundary += a.GetExtent(i) + a.EffectiveLineWidth;
      if (a.GridBoundary > extent + a.EffectiveLineWidth) {
        a.GridBoundary = extent;
        break;
      }
      a.LastFullVisibleCell = i;
      a.FullVisBoundary = a.GridBoundary;
    }
  };
  axis(DrawInfo.Horz, UseWidth);
  axis(DrawInfo.Vert, UseHeight);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) {
  TRect r = ClientRect();
  CalcDrawInfoXY(DrawInfo, r.Right - r.Left, r.Bottom - r.Top);
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo) {
  auto maxCell = [](const TGridAxisDrawInfo& a, int start) {
    int result = start;
    int line = a.GridExtent + a.EffectiveLineWidth;
    for (int i = start; i >= a.FixedCellCount; --i) {
      line -= a.GetExtent(i) + a.EffectiveLineWidth;
      if (line < a.FixedBoundary) break;
      result = i;
    }
    return result;
  };
  return {maxCell(DrawInfo.Horz, Coord.X), maxCell(DrawInfo.Vert, Coord.Y)};
}

int TCustomGrid::VisibleColCount() {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Horz.LastFullVisibleCell - FTopLeft.X + 1;
}

int TCustomGrid::VisibleRowCount() {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  return d.Vert.LastFullVisibleCell - FTopLeft.Y + 1;
}

// The screen position of the cells from First to Last along an axis: the start of the
// first and the end of the last cell in view; false when none of them is in view. The
// walk along the axis stops at the end of the view, so its cost does not grow with the
// number of cells.
static bool AxisSpan(const TGridAxisDrawInfo& a, int First, int Last, bool IncludeLine, int& Start, int& End) {
  First = std::max(First, 0);
  Last = std::min(Last, a.GridCellCount - 1);
  // Scrollable cells scrolled out at the start are not in view.
  if (First >= a.FixedCellCount && First < a.FirstGridCell) First = a.FirstGridCell;
  if (Last >= a.FixedCellCount && Last < a.FirstGridCell) Last = a.FixedCellCount - 1;
  if (First > Last) return false;
  auto step = [&a](int cell) { return a.GetExtent(cell) + a.EffectiveLineWidth; };
  // The start of First, or false once the walk passes the end of the view.
  int s = 0;
  if (First >= a.FixedCellCount) {
    s = a.FixedBoundary;
    for (int i = a.FirstGridCell; i < First && s < a.GridExtent; ++i) s += step(i);
  } else {
    for (int i = 0; i < First && s < a.GridExtent; ++i) s += step(i);
  }
  if (s >= a.GridExtent) return false;
  // The last cell up to Last that starts in view, and its start.
  int last = First, lastStart = s;
  if (Last >= a.FixedCellCount && a.FixedBoundary < a.GridExtent) {
    // A scrollable cell starts in view: walk from the first scrollable cell shown.
    int i = First >= a.FixedCellCount ? First : a.FirstGridCell;
    int p = First >= a.FixedCellCount ? s : a.FixedBoundary;
    while (i < Last && p + step(i) < a.GridExtent) p += step(i++);
    last = i;
    lastStart = p;
  } else {
    // Only fixed cells can start in view: walk them from First.
    int end = std::min(Last, a.FixedCellCount - 1);
    while (last < end && lastStart + step(last) < a.GridExtent) lastStart += step(last++);
  }
  int e = lastStart + a.GetExtent(last);
  if (e > a.GridExtent) e = a.GridExtent;
  if (IncludeLine) e += a.EffectiveLineWidth;
  Start = s;
  End = e;
  return true;
}

TRect TCustomGrid::GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine) {
  TRect r;
  if (GridRect.Left > GridRect.Right || GridRect.Top > GridRect.Bottom) return r;
  TGridDrawInfo d;
  CalcDrawInfo(d);
  int l, rt, t, b;
  if (!AxisSpan(d.Horz, GridRect.Left, GridRect.Right, IncludeLine, l, rt)) return r;
  if (!AxisSpan(d.Vert, GridRect.Top, GridRect.Bottom, IncludeLine, t, b)) return r;
  return TRect{l, t, rt, b};
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom) {
  return GridRectToScreenRect(TGridRect{std::min(ALeft, ARight), std::min(ATop, ABottom), std::max(ALeft, ARight),
                                        std::max(ATop, ABottom)},
                              false);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) { return BoxRect(ACol, ARow, ACol, ARow); }

TGridCoord TCustomGrid::MouseCoord(int X, int Y) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  auto calc = [](const TGridAxisDrawInfo& a, int n) {
    if (n < 0) return -1;
    int start, stop, line;
    if (n < a.FixedBoundary) {
      start = 0;
      stop = a.FixedCellCount - 1;
      line = 0;
    } else {
      start = a.FirstGridCell;
      stop = a.GridCellCount - 1;
      line = a.FixedBoundary;
    }
    for (int i = start; i <= stop; ++i) {
      line += a.GetExtent(i) + a.EffectiveLineWidth;
      if (n < line) return i;
    }
    return -1;
  };
  TGridCoord c{calc(d.Horz, X), calc(d.Vert, Y)};
  if (c.X < 0) c.Y = -1;
  else if (c.Y < 0) c.X = -1;
  return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) {
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

// ---------------------------------------------------------------------------------------
// The current cell, the anchor and the selection.
TGridRect TCustomGrid::Selection() const {
  return TGridRect{std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y), std::max(FCurrent.X, FAnchor.X),
                   std::max(FCurrent.Y, FAnchor.Y)};
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  TGridRect oldSel = Selection();
  FAnchor = Value.TopLeft();
  FCurrent = Value.BottomRight();
  SelectionMoved(oldSel);
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
  if (!HandleAllocated()) return;
  TGridRect sel = Selection();
  if (sel == OldSel) return;
  InvalidateRect(OldSel);
  InvalidateRect(sel);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) GridIndexError();
  if (!SelectCell(ACol, ARow)) return;
  TGridRect oldSel = Selection();
  TGridCoord oldCurrent = FCurrent;
  FCurrent = {ACol, ARow};
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  }
  if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
  if (Show) ClampInView(FCurrent);
  SelectionMoved(oldSel);
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(ACol, ARow);
}

void TCustomGrid::MoveAnchor(const TGridCoord& NewAnchor) {
  if (!FOptions.Contains(goRangeSelect)) {
    MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
    return;
  }
  TGridRect oldSel = Selection();
  FAnchor = NewAnchor;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  ClampInView(NewAnchor);
  SelectionMoved(oldSel);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
  MoveCurrent(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) { MoveCurrent(ACol, ARow, MoveAnchor, Show); }

void TCustomGrid::SetCol(int Value) {
  if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value) {
  if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

// ---------------------------------------------------------------------------------------
// Scrolling.
void TCustomGrid::ClampInView(const TGridCoord& Coord) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  if (d.Horz.GridExtent <= 0 || d.Vert.GridExtent <= 0) return;
  bool scrollX = Coord.X >= FFixedCols && Coord.X < FColCount &&
                 (Coord.X < FTopLeft.X || Coord.X > d.Horz.LastFullVisibleCell);
  bool scrollY = Coord.Y >= FFixedRows && Coord.Y < FRowCount &&
                 (Coord.Y < FTopLeft.Y || Coord.Y > d.Vert.LastFullVisibleCell);
  if (!scrollX && !scrollY) return;
  TGridCoord maxTopLeft = CalcMaxTopLeft(Coord, d);
  TGridCoord n = FTopLeft;
  if (scrollX) n.X = Coord.X < FTopLeft.X ? Coord.X : maxTopLeft.X;
  if (scrollY) n.Y = Coord.Y < FTopLeft.Y ? Coord.Y : maxTopLeft.Y;
  MoveTopLeft(n.X, n.Y);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, FColCount - 1));
  ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, FRowCount - 1));
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  FTopLeft = {ALeft, ATop};
  UpdateScrollPos();
  InvalidateGrid();
  TopLeftChanged();
}

void TCustomGrid::SetLeftCol(int Value) {
  if (Value != FTopLeft.X) MoveTopLeft(Value, FTopLeft.Y);
}

void TCustomGrid::SetTopRow(int Value) {
  if (Value != FTopLeft.Y) MoveTopLeft(FTopLeft.X, Value);
}

void TCustomGrid::TopLeftChanged() {
  if (FEditorMode && FInplaceEdit) EditorFollowCell();
}

namespace {
// Thumb sizes in proportion to the share in view, on a position scale of 0..127.
void SetAxisScroll(HWND h, int bar, bool scrollable, double share, int pos) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (scrollable) {
    share = std::clamp(share, 0.0, 0.99);
    int nMax = std::min(32767, static_cast<int>((share + 127.0) / (1.0 - share)));
    si.nMin = 0;
    si.nMax = std::max(nMax, 127);
    si.nPage = static_cast<UINT>(si.nMax - 126);
    si.nPos = pos;
  }
  SCROLLINFO old;
  old.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  GetScrollInfo(h, bar, &old);
  if (old.nMin == si.nMin && old.nMax == si.nMax && old.nPage == si.nPage && old.nPos == si.nPos) return;
  SetScrollInfo(h, bar, &si, TRUE);
}
}  // namespace

void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated() || FUpdatingScroll) return;
  FUpdatingScroll = true;
  struct TReset {
    bool& F;
    ~TReset() { F = false; }
  } reset{FUpdatingScroll};
  // Showing or hiding a bar changes the client area; settle in a few rounds.
  for (int round = 0; round < 3; ++round) {
    TRect before = ClientRect();
    TGridDrawInfo d;
    CalcDrawInfo(d);
    TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, d);
    if (FTopLeft.X > maxTopLeft.X || FTopLeft.Y > maxTopLeft.Y) {
      FTopLeft.X = std::max(FFixedCols, std::min(FTopLeft.X, maxTopLeft.X));
      FTopLeft.Y = std::max(FFixedRows, std::min(FTopLeft.Y, maxTopLeft.Y));
      InvalidateGrid();
      TopLeftChanged();
      CalcDrawInfo(d);
    }
    // The scrollable cells' extent with their lines: all sizes (kept summed) less the
    // fixed cells'.
    auto total = [this](const TGridAxisDrawInfo& a) {
      long long t = ExtentSum(a.Horizontal);
      for (int i = 0; i < a.FixedCellCount; ++i) t -= a.GetExtent(i);
      return t + static_cast<long long>(a.EffectiveLineWidth) * (a.GridCellCount - a.FixedCellCount);
    };
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
      long long t = total(d.Horz);
      bool can = maxTopLeft.X > FFixedCols;
      double share = t > 0 ? double(d.Horz.GridExtent - d.Horz.FixedBoundary) / t : 1.0;
      SetAxisScroll(FHandle, SB_HORZ, can, share,
                    can ? GridMulDiv(FTopLeft.X - FFixedCols, 127, maxTopLeft.X - FFixedCols) : 0);
    }
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
      long long t = total(d.Vert);
      bool can = maxTopLeft.Y > FFixedRows;
      double share = t > 0 ? double(d.Vert.GridExtent - d.Vert.FixedBoundary) / t : 1.0;
      SetAxisScroll(FHandle, SB_VERT, can, share,
                    can ? GridMulDiv(FTopLeft.Y - FFixedRows, 127, maxTopLeft.Y - FFixedRows) : 0);
    }
    if (ClientRect() == before) break;
  }
  ScrollInfoChanged();
}

void TCustomGrid::UpdateScrollPos() {
  if (!HandleAllocated() || FScrollBars == ssNone) return;
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, d);
  auto set = [this](int bar, int value) {
    if (GetScrollPos(FHandle, bar) != value) SetScrollPos(FHandle, bar, value, TRUE);
  };
  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && maxTopLeft.X > FFixedCols)
    set(SB_HORZ, GridMulDiv(FTopLeft.X - FFixedCols, 127, maxTopLeft.X - FFixedCols));
  if ((FScrollBars == ssVertical || FScrollBars == ssBoth) && maxTopLeft.Y > FFixedRows)
    set(SB_VERT, GridMulDiv(FTopLeft.Y - FFixedRows, 127, maxTopLeft.Y - FFixedRows));
  ScrollInfoChanged();
}

void TCustomGrid::ScrollMessage(int Bar, int Code, int Pos) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, d);
  bool horz = Bar == SB_HORZ;
  int fixed = horz ? FFixedCols : FFixedRows;
  int maxPos = std::max(fixed, horz ? maxTopLeft.X : maxTopLeft.Y);
  int cur = horz ? FTopLeft.X : FTopLeft.Y;
  const TGridAxisDrawInfo& a = horz ? d.Horz : d.Vert;
  int page = std::max(1, a.LastFullVisibleCell - a.FirstGridCell + 1);
  int n = cur;
  switch (Code) {
    case SB_LINEUP: n = cur - 1; break;
    case SB_LINEDOWN: n = cur + 1; break;
    case SB_PAGEUP: n = cur - page; break;
    case SB_PAGEDOWN: n = cur + page; break;
    case SB_THUMBTRACK:
      if (!FOptions.Contains(goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION: n = fixed + GridMulDiv(std::clamp(Pos, 0, 127), maxPos - fixed, 127); break;
    case SB_TOP: n = fixed; break;
    case SB_BOTTOM: n = maxPos; break;
    default: return;
  }
  n = std::clamp(n, fixed, maxPos);
  if (horz) MoveTopLeft(n, FTopLeft.Y);
  else MoveTopLeft(FTopLeft.X, n);
  // A thumb dropped between two steps goes back to the position of the row shown.
  UpdateScrollPos();
}

void TCustomGrid::TimedScroll(TGridScrollDirection Direction) {
  TGridCoord n = FAnchor;
  if (Direction.Contains(sdLeft) && FAnchor.X > FFixedCols) --n.X;
  if (Direction.Contains(sdRight) && FAnchor.X < FColCount - 1) ++n.X;
  if (Direction.Contains(sdUp) && FAnchor.Y > FFixedRows) --n.Y;
  if (Direction.Contains(sdDown) && FAnchor.Y < FRowCount - 1) ++n.Y;
  if (n != FAnchor) MoveAnchor(n);
}

// ---------------------------------------------------------------------------------------
// Repainting.
void TCustomGrid::InvalidateRect(const TGridRect& ARect) {
  if (!HandleAllocated()) return;
  if (FWholeInvalid) {
    // Nothing to add while the whole client still waits for its paint.
    RECT update, client;
    GetClientRect(FHandle, &client);
    if (GetUpdateRect(FHandle, &update, FALSE) && update.left <= client.left && update.top <= client.top &&
        update.right >= client.right && update.bottom >= client.bottom)
      return;
    FWholeInvalid = false;
    FPendingRects = 0;
  }
  // Past a page's worth of single cells, the whole grid is repainted: adding every cell
  // of a page one by one would cost more than painting it.
  if (++FPendingRects > kMaxPendingRects) {
    InvalidateGrid();
    return;
  }
  TRect r = GridRectToScreenRect(ARect, true);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  RECT rc = ToRECT(r);
  ::InvalidateRect(FHandle, &rc, FALSE);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateRect(TGridRect{ACol, ARow, ACol, ARow}); }

void TCustomGrid::InvalidateCol(int ACol) {
  if (!HandleAllocated()) return;
  InvalidateRect(TGridRect{ACol, 0, ACol, FRowCount - 1});
}

void TCustomGrid::InvalidateRow(int ARow) {
  if (!HandleAllocated()) return;
  InvalidateRect(TGridRect{0, ARow, FColCount - 1, ARow});
}

void TCustomGrid::InvalidateGrid() {
  Invalidate();
  FWholeInvalid = HandleAllocated();
}

// ---------------------------------------------------------------------------------------
// Moving and removing rows and columns.
static void MoveAdjust(int& CellPos, int FromIndex, int ToIndex) {
  if (CellPos == FromIndex) CellPos = ToIndex;
  else if (CellPos > FromIndex && CellPos <= ToIndex) --CellPos;
  else if (CellPos < FromIndex && CellPos >= ToIndex) ++CellPos;
}

template <class V>
static void MoveItem(std::vector<V>& v, int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  auto from = v.begin() + FromIndex;
  auto to = v.begin() + ToIndex;
  if (FromIndex < ToIndex) std::rotate(from, from + 1, to + 1);
  else std::rotate(to, from, from + 1);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  CheckIndex(FromIndex, FColCount);
  CheckIndex(ToIndex, FColCount);
  MoveItem(FColWidths, FromIndex, ToIndex);
  {
    std::vector<char> stops(FTabStops.begin(), FTabStops.end());
    MoveItem(stops, FromIndex, ToIndex);
    FTabStops.assign(stops.begin(), stops.end());
  }
  MoveAdjust(FCurrent.X, FromIndex, ToIndex);
  MoveAdjust(FAnchor.X, FromIndex, ToIndex);
  MoveAdjust(FInplaceCol, FromIndex, ToIndex);
  InvalidateGrid();
  ColumnMoved(FromIndex, ToIndex);
  ColWidthsChanged();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex == ToIndex) return;
  CheckIndex(FromIndex, FRowCount);
  CheckIndex(ToIndex, FRowCount);
  MoveItem(FRowHeights, FromIndex, ToIndex);
  MoveAdjust(FCurrent.Y, FromIndex, ToIndex);
  MoveAdjust(FAnchor.Y, FromIndex, ToIndex);
  MoveAdjust(FInplaceRow, FromIndex, ToIndex);
  InvalidateGrid();
  RowMoved(FromIndex, ToIndex);
  RowHeightsChanged();
}

void TCustomGrid::DeleteColumn(int ACol) {
  CheckIndex(ACol, FColCount);
  MoveColumn(ACol, FColCount - 1);
  SetColCount(FColCount - 1);
}

void TCustomGrid::DeleteRow(int ARow) {
  CheckIndex(ARow, FRowCount);
  MoveRow(ARow, FRowCount - 1);
  SetRowCount(FRowCount - 1);
}

// Rotates v[First..Last] so that entry R takes entry R - Shift (wrapping in the range).
template <class V>
static void RotateRange(std::vector<V>& v, int First, int Last, int Shift) {
  long long n = (long long)Last - First + 1;
  long long k = ((Shift % n) + n) % n;
  if (k == 0) return;
  auto b = v.begin() + First, e = v.begin() + Last + 1;
  if constexpr (std::is_trivially_copyable_v<V>) {
    // A turn by a few entries (a row inserted or removed) is one block move: std::rotate
    // walks the cycles one entry at a time.
    constexpr long long kFew = 64;
    V few[kFew];
    V* p = &*b;
    if (k <= kFew) {
      std::memcpy(few, p + (n - k), size_t(k) * sizeof(V));
      std::memmove(p + k, p, size_t(n - k) * sizeof(V));
      std::memcpy(p, few, size_t(k) * sizeof(V));
      return;
    }
    if (n - k <= kFew) {
      std::memcpy(few, p, size_t(n - k) * sizeof(V));
      std::memmove(p, p + (n - k), size_t(k) * sizeof(V));
      std::memcpy(p + k, few, size_t(n - k) * sizeof(V));
      return;
    }
  }
  std::rotate(b, e - std::ptrdiff_t(k), e);
}

// Entry Dest[k] takes entry Src[k] (the caller has checked the rows).
template <class V>
static void PermuteEntries(std::vector<V>& v, const std::vector<int>& Dest, const std::vector<int>& Src) {
  std::vector<V> taken(Src.size());
  for (size_t k = 0; k < Src.size(); ++k) taken[k] = std::move(v[size_t(Src[k])]);
  for (size_t k = 0; k < Dest.size(); ++k) v[size_t(Dest[k])] = std::move(taken[k]);
}

void TCustomGrid::ShiftRowHeights(int First, int Last, int Shift) {
  CheckIndex(First, FRowCount);
  CheckIndex(Last, FRowCount);
  if (First >= Last) return;
  RotateRange(FRowHeights, First, Last, Shift);  // the sum stays
  RowHeightsChanged();
}

void TCustomGrid::PermuteRowHeights(const std::vector<int>& Dest, const std::vector<int>& Src) {
  if (Dest.size() != Src.size()) GridIndexError();
  for (size_t k = 0; k < Dest.size(); ++k) {
    CheckIndex(Dest[k], FRowCount);
    CheckIndex(Src[k], FRowCount);
  }
  PermuteEntries(FRowHeights, Dest, Src);
  FRowHeightSum = -1;  // a move that is not a permutation changes the sum
  RowHeightsChanged();
}

// ---------------------------------------------------------------------------------------
bool TCustomGrid::IsActiveControl() {
  if (TCustomForm* form = GetParentForm(this)) return form->ActiveControl() == this;
  if (!HandleAllocated()) return false;
  for (HWND h = GetFocus(); h && IsWindow(h); h = GetParent(h))
    if (h == FHandle) return true;
  return false;
}

// =======================================================================================
// The draw grid.
TCustomDrawGrid::TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

std::string TCustomDrawGrid::GetEditMask(int ACol, int ARow) {
  std::string mask;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow) {
  std::string text;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// =======================================================================================
// The string grid.
TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

// Cells this far beyond the grid's size and the rows held so far are kept in the sparse
// store, so a stray huge index costs one entry instead of a dense block.
constexpr int kDenseRowSlack = 65536;
constexpr int kDenseColSlack = 1024;

const std::string* TStringGrid::FindFar(int ACol, int ARow) const {
  auto it = FFar.find({ARow, ACol});
  return it == FFar.end() ? nullptr : &it->second;
}

// Adds rows at the end of the store, each in a new block of FStride cells. The block
// grows geometrically, so a fill row by row moves each text a bounded number of times;
// within the grid's row count the first growth takes up to a million cells at once, and
// the row count caps a growth only while it still grows the block by half.
void TStringGrid::AddRows(size_t Count) {
  size_t rows = FRowSlot.size() + Count;
  size_t cells = rows * size_t(FStride);
  if (cells > FCells.capacity()) {
    size_t capacity = FCells.capacity();
    size_t target = std::max(cells, capacity * 2);
    size_t declared = size_t(std::max(RowCount(), 0)) * size_t(FStride);
    if (cells <= declared) {
      size_t capped = std::min(std::max(target, size_t(1) << 20), declared);
      if (capped >= capacity + capacity / 2) target = capped;
    }
    FCells.reserve(target);
  }
  FCells.resize(cells);
  size_t first = FRowSlot.size();
  FRowSlot.resize(rows);
  for (size_t r = first; r < rows; ++r) FRowSlot[r] = int(r);
  // Objects of rows that had no handle move under their row's handle.
  if (!FFarObjects.empty())
    for (auto it = FFarObjects.begin(); it != FFarObjects.end();) {
      int r = KeyRow(it->first);
      if (size_t(r) < rows) {
        FObjects[CellKey(KeyCol(it->first), FRowSlot[size_t(r)])] = it->second;
        it = FFarObjects.erase(it);
      } else {
        ++it;
      }
    }
}

// Gives every row Stride cells (more than before), keeping their texts.
void TStringGrid::Restride(int Stride) {
  std::vector<std::string> cells;
  cells.reserve(FRowSlot.size() * size_t(Stride));
  cells.resize(FRowSlot.size() * size_t(Stride));
  for (size_t slot = 0; slot < FRowSlot.size(); ++slot)
    for (int c = 0; c < FStride; ++c)
      cells[slot * size_t(Stride) + size_t(c)] = std::move(FCells[slot * size_t(FStride) + size_t(c)]);
  FCells.swap(cells);
  FStride = Stride;
}

bool TStringGrid::EnsureRowSlot(int ARow) {
  if (ARow < 0) return false;
  if (size_t(ARow) < FRowSlot.size()) return true;
  if (std::int64_t(ARow) >= std::max<std::int64_t>(RowCount(), std::int64_t(FRowSlot.size())) + kDenseRowSlack)
    return false;
  size_t rows = size_t(ARow) + 1;
  if (!DenseAffordable(rows * size_t(FStride))) return false;  // too sparse for a dense block
  // Inside the grid's row count the rows grow in batches (doubling), so a fill row by
  // row does not add rows one at a time; the batch stays within the affordable block.
  size_t declared = size_t(std::max(RowCount(), 0));
  if (rows < declared) {
    size_t affordable = FStride > 0 ? DenseLimit() / size_t(FStride) : declared;
    rows = std::max(rows, std::min({declared, std::max<size_t>(FRowSlot.size() * 2, 64), affordable}));
  }
  AddRows(rows - FRowSlot.size());
  return true;
}

std::string* TStringGrid::DenseSlot(int ACol, int ARow) {
  if (std::int64_t(ARow) >= std::max<std::int64_t>(RowCount(), std::int64_t(FRowSlot.size())) + kDenseRowSlack)
    return nullptr;
  int stride = FStride;
  if (ACol >= FStride) {
    if (std::int64_t(ACol) >= std::max<std::int64_t>(ColCount(), FStride) + kDenseColSlack) return nullptr;
    // Rows take the grid's width; beyond it, they double.
    stride = ACol < ColCount() ? ColCount() : std::max(ACol + 1, FStride * 2);
  }
  size_t rows = std::max(FRowSlot.size(), size_t(ARow) + 1);
  if (!DenseAffordable(rows * size_t(stride))) return nullptr;  // too sparse for a dense block
  if (stride != FStride) Restride(stride);
  if (!EnsureRowSlot(ARow)) return nullptr;
  return RowCells(ARow) + ACol;
}

TObject* TStringGrid::Objects(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0) return nullptr;
  if (!FObjects.empty() && size_t(ARow) < FRowSlot.size()) {
    auto it = FObjects.find(CellKey(ACol, FRowSlot[size_t(ARow)]));
    if (it != FObjects.end()) return it->second;
  }
  if (FFarObjects.empty()) return nullptr;
  auto it = FFarObjects.find(CellKey(ACol, ARow));
  return it == FFarObjects.end() ? nullptr : it->second;
}

void TStringGrid::SetCellsSlow(int ACol, int ARow, const std::string& Value) {
  if (ACol < 0 || ARow < 0) GridIndexError();
  if (!FFar.empty()) FFar.erase({ARow, ACol});
  if (size_t(ARow) < FRowSlot.size() && ACol < FStride) {
    std::string& slot = RowCells(ARow)[ACol];
    FDenseTexts += size_t(!Value.empty()) - size_t(!slot.empty());
    if (Value.empty()) std::string().swap(slot);
    else slot = Value;
  } else if (Value.empty()) {
  } else if (std::string* slot = DenseSlot(ACol, ARow)) {
    *slot = Value;
    ++FDenseTexts;
  } else {
    FFar[{ARow, ACol}] = Value;
  }
  CellChanged(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value) {
  if (ACol < 0 || ARow < 0) GridIndexError();
  if (Value) FMaxObjectCol = std::max(FMaxObjectCol, ACol);
  if (size_t(ARow) < FRowSlot.size() || (Value && EnsureRowSlot(ARow))) {
    std::uint64_t key = CellKey(ACol, FRowSlot[size_t(ARow)]);
    if (Value) FObjects[key] = Value;
    else FObjects.erase(key);
  } else if (Value) {
    FFarObjects[CellKey(ACol, ARow)] = Value;
  } else {
    FFarObjects.erase(CellKey(ACol, ARow));
  }
  CellChanged(ACol, ARow);
}

void TStringGrid::CellChanged(int ACol, int ARow) {
  if (FUpdating > 0) return;
  if (!HandleAllocated() && (ACol != FCurrent.X || ARow != FCurrent.Y)) return;  // nothing to repaint or reload
  InvalidateCell(ACol, ARow);
  if (FEditUpdate == 0 && ACol == FCurrent.X && ARow == FCurrent.Y) InvalidateEditor();
}

void TStringGrid::EndStringsUpdate() {
  if (--FUpdating == 0) {
    InvalidateGrid();
    if (FEditUpdate == 0) InvalidateEditor();
  }
}

TStrings* TStringGrid::Rows(int Index) {
  if (Index < 0) GridIndexError();
  auto& p = FRowStrings[Index];
  if (!p) p = std::make_unique<TStringGridStrings>(this, false, Index);
  return p.get();
}

TStrings* TStringGrid::Cols(int Index) {
  if (Index < 0) GridIndexError();
  auto& p = FColStrings[Index];
  if (!p) p = std::make_unique<TStringGridStrings>(this, true, Index);
  return p.get();
}

void TStringGrid::SetRows(int Index, TStrings* Value) { Rows(Index)->Assign(Value); }
void TStringGrid::SetCols(int Index, TStrings* Value) { Cols(Index)->Assign(Value); }

std::string TStringGrid::GetEditText(int ACol, int ARow) {
  std::string text = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TStringGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  ++FEditUpdate;
  try {
    if (Value != Cells(ACol, ARow)) SetCells(ACol, ARow, Value);
  } catch (...) {
    --FEditUpdate;
    throw;
  }
  --FEditUpdate;
  TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::MoveColumnsToFar(int FromCol) {
  for (size_t r = 0; r < FRowSlot.size(); ++r) {
    std::string* row = RowCells(int(r));
    for (int c = FromCol; c < FStride; ++c)
      if (!row[c].empty()) {
        FFar[{int(r), c}] = std::move(row[c]);
        std::string().swap(row[c]);
        --FDenseTexts;
      }
  }
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
  int reach = std::max(FromIndex, ToIndex) + 1;
  if (FStride > std::min(FromIndex, ToIndex) && FStride < reach) {
    // The rows must reach the moved range; when that would be out of proportion to the
    // texts held, the texts from the range on go to the sparse store instead.
    if (DenseAffordable(FRowSlot.size() * size_t(reach))) Restride(reach);
    else MoveColumnsToFar(std::min(FromIndex, ToIndex));
  }
  if (FStride >= reach) {
    for (size_t slot = 0; slot < FRowSlot.size(); ++slot) {
      auto row = FCells.begin() + std::ptrdiff_t(slot * size_t(FStride));
      if (FromIndex < ToIndex) std::rotate(row + FromIndex, row + FromIndex + 1, row + ToIndex + 1);
      else std::rotate(row + ToIndex, row + FromIndex, row + FromIndex + 1);
    }
  }
  if (!FFar.empty()) {
    std::map<std::pair<int, int>, std::string> moved;
    for (auto& [key, text] : FFar) {
      int c = key.second;
      MoveAdjust(c, FromIndex, ToIndex);
      moved.emplace(std::make_pair(key.first, c), std::move(text));
    }
    FFar.swap(moved);
  }
  // Objects are keyed by column: they are re-keyed (both maps, by handle and by row).
  for (auto* objects : {&FObjects, &FFarObjects}) {
    if (objects->empty()) continue;
    std::unordered_map<std::uint64_t, TObject*> moved;
    moved.reserve(objects->size());
    for (auto [key, object] : *objects) {
      int c = KeyCol(key);
      MoveAdjust(c, FromIndex, ToIndex);
      moved.emplace(CellKey(c, KeyRow(key)), object);
    }
    objects->swap(moved);
    FMaxObjectCol = std::max({FMaxObjectCol, FromIndex, ToIndex});
  }
  InvalidateGrid();
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

// The far texts and objects of rows First..Last move to the row Map gives (a one-to-one
// mapping of the range onto itself).
template <class TMap>
void TStringGrid::RemapFarRows(int First, int Last, TMap Map) {
  if (!FFar.empty()) {
    std::vector<std::pair<std::pair<int, int>, std::string>> moved;
    for (auto it = FFar.lower_bound({First, INT_MIN}); it != FFar.end() && it->first.first <= Last;) {
      moved.emplace_back(std::make_pair(Map(it->first.first), it->first.second), std::move(it->second));
      it = FFar.erase(it);
    }
    for (auto& [key, text] : moved) FFar[key] = std::move(text);
  }
  if (!FFarObjects.empty()) {
    std::vector<std::pair<std::uint64_t, TObject*>> moved;
    for (auto it = FFarObjects.begin(); it != FFarObjects.end();) {
      int r = KeyRow(it->first);
      if (r >= First && r <= Last) {
        moved.emplace_back(CellKey(KeyCol(it->first), Map(r)), it->second);
        it = FFarObjects.erase(it);
      } else {
        ++it;
      }
    }
    for (auto [key, object] : moved) FFarObjects[key] = object;
  }
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
  int first = std::min(FromIndex, ToIndex), last = std::max(FromIndex, ToIndex);
  if (FRowSlot.size() > size_t(first)) {
    if (FRowSlot.size() <= size_t(last)) AddRows(size_t(last) + 1 - FRowSlot.size());
    MoveItem(FRowSlot, FromIndex, ToIndex);
  }
  RemapFarRows(first, last, [FromIndex, ToIndex](int r) {
    MoveAdjust(r, FromIndex, ToIndex);
    return r;
  });
  InvalidateGrid();
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::ReorderRows(int First, const std::vector<int>& Order) {
  int n = int(Order.size());
  if (n == 0) return;
  if (First < 0) GridIndexError();
  // Where each row of the range goes; a list that is not a permutation of the range is
  // refused before anything moves.
  std::vector<int> target(size_t(n), -1);
  for (int k = 0; k < n; ++k) {
    int from = Order[size_t(k)] - First;
    if (from < 0 || from >= n || target[size_t(from)] >= 0) GridIndexError();
    target[size_t(from)] = First + k;
  }
  if (FRowSlot.size() > size_t(First)) {
    if (FRowSlot.size() < size_t(First + n)) AddRows(size_t(First + n) - FRowSlot.size());
    std::vector<int> slots(FRowSlot.begin() + First, FRowSlot.begin() + First + n);
    for (int k = 0; k < n; ++k) FRowSlot[size_t(First + k)] = slots[size_t(Order[size_t(k)] - First)];
  }
  // Objects are kept under their row slot and follow it; cells beyond the dense store are
  // keyed by row and are re-keyed.
  RemapFarRows(First, First + n - 1, [&](int r) { return target[size_t(r - First)]; });
  if (FUpdating == 0) InvalidateGrid();
}

// The rows First..Last took other handles: repaint, and reload the editor when its
// cell's content moved.
void TStringGrid::RowSlotsMoved(int First, int Last) {
  if (FUpdating > 0) return;
  InvalidateGrid();
  if (FEditUpdate == 0 && FCurrent.Y >= First && FCurrent.Y <= Last) InvalidateEditor();
}

void TStringGrid::MoveRowSlots(int First, int Last, int Shift, bool Heights) {
  if (First < 0 || Last < First || Last >= RowCount()) GridIndexError();
  int n = Last - First + 1;
  int k = ((Shift % n) + n) % n;
  if (k == 0) return;
  if (FRowSlot.size() > size_t(First)) {
    if (FRowSlot.size() <= size_t(Last)) AddRows(size_t(Last) + 1 - FRowSlot.size());
    RotateRange(FRowSlot, First, Last, k);
  }
  RemapFarRows(First, Last, [First, n, k](int r) { return First + (r - First + k) % n; });
  if (Heights) ShiftRowHeights(First, Last, k);
  RowSlotsMoved(First, Last);
}

void TStringGrid::PermuteRowSlots(const std::vector<int>& Dest, const std::vector<int>& Src, bool Heights) {
  if (Dest.size() != Src.size()) throw EInvalidGridOperation("Rows to move do not match");
  if (Dest.empty()) return;
  for (size_t k = 0; k < Dest.size(); ++k) {
    CheckIndex(Dest[k], RowCount());
    CheckIndex(Src[k], RowCount());
  }
  std::vector<int> dest(Dest), src(Src);
  std::sort(dest.begin(), dest.end());
  std::sort(src.begin(), src.end());
  if (dest != src || std::adjacent_find(dest.begin(), dest.end()) != dest.end())
    throw EInvalidGridOperation("Rows to move do not match");
  int first = dest.front(), last = dest.back();
  if (FRowSlot.size() > size_t(first)) {
    if (FRowSlot.size() <= size_t(last)) AddRows(size_t(last) + 1 - FRowSlot.size());
    PermuteEntries(FRowSlot, Dest, Src);
  }
  if (!FFar.empty() || !FFarObjects.empty()) {
    std::unordered_map<int, int> to;
    for (size_t k = 0; k < Src.size(); ++k) to[Src[k]] = Dest[k];
    RemapFarRows(first, last, [&to](int r) {
      auto it = to.find(r);
      return it == to.end() ? r : it->second;
    });
  }
  if (Heights) PermuteRowHeights(Dest, Src);
  RowSlotsMoved(first, last);
}

void TStringGrid::ExchangeRows(int ARow1, int ARow2, bool Heights) {
  CheckIndex(ARow1, RowCount());
  CheckIndex(ARow2, RowCount());
  if (ARow1 != ARow2) PermuteRowSlots({ARow1, ARow2}, {ARow2, ARow1}, Heights);
}

void TStringGrid::ClearRowSlots(int First, int Last) {
  if (First < 0) GridIndexError();
  if (Last < First) return;
  for (int r = First; r <= Last && size_t(r) < FRowSlot.size(); ++r) {
    std::string* row = RowCells(r);
    for (int c = 0; c < FStride; ++c)
      if (!row[c].empty()) {
        --FDenseTexts;
        std::string().swap(row[c]);
      }
  }
  if (!FFar.empty())
    FFar.erase(FFar.lower_bound({First, INT_MIN}), FFar.upper_bound({Last, INT_MAX}));
  size_t rows = size_t(Last) - size_t(First) + 1;
  if (FObjects.size() + FFarObjects.size() > 0) {
    if (rows * (size_t(FMaxObjectCol) + 1) <= FObjects.size() + FFarObjects.size()) {
      // Fewer cells than objects: look each cell up.
      for (int r = First; r <= Last; ++r)
        for (int c = 0; c <= FMaxObjectCol; ++c) {
          if (size_t(r) < FRowSlot.size()) FObjects.erase(CellKey(c, FRowSlot[size_t(r)]));
          else FFarObjects.erase(CellKey(c, r));
        }
    } else {
      // Fewer objects than cells: walk the objects.
      std::vector<char> cleared(FRowSlot.size(), 0);
      for (int r = First; r <= Last && size_t(r) < FRowSlot.size(); ++r) cleared[size_t(FRowSlot[size_t(r)])] = 1;
      std::erase_if(FObjects, [&cleared](const auto& e) { return cleared[size_t(KeyRow(e.first))] != 0; });
      std::erase_if(FFarObjects, [First, Last](const auto& e) {
        return KeyRow(e.first) >= First && KeyRow(e.first) <= Last;
      });
    }
  }
  if (FUpdating > 0) return;
  InvalidateGrid();
  if (FEditUpdate == 0 && FCurrent.Y >= First && FCurrent.Y <= Last) InvalidateEditor();
}

void TStringGrid::DeleteColumn(int ACol) {
  CheckIndex(ACol, ColCount());
  int last = ColCount() - 1;
  MoveColumn(ACol, last);
  // The removed column's cells go with it instead of waiting behind the count.
  if (last < FStride)
    for (size_t slot = 0; slot < FRowSlot.size(); ++slot) {
      std::string& text = FCells[slot * size_t(FStride) + size_t(last)];
      FDenseTexts -= size_t(!text.empty());
      std::string().swap(text);
    }
  std::erase_if(FFar, [last](const auto& e) { return e.first.second == last; });
  for (auto* objects : {&FObjects, &FFarObjects})
    std::erase_if(*objects, [last](const auto& e) { return KeyCol(e.first) == last; });
  SetColCount(ColCount() - 1);
}

void TStringGrid::DeleteRow(int ARow) {
  CheckIndex(ARow, RowCount());
  int last = RowCount() - 1;
  MoveRow(ARow, last);
  ClearRowSlots(last, last);
  SetRowCount(RowCount() - 1);
}

// ---------------------------------------------------------------------------------------
void TStringGridStrings::CheckItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) GridIndexError();
}

int TStringGridStrings::GetCount() const { return FIsCol ? FGrid->RowCount() : FGrid->ColCount(); }

std::string TStringGridStrings::Get(int Index) const {
  CheckItem(Index);
  return FGrid->Cells(CellCol(Index), CellRow(Index));
}

TObject* TStringGridStrings::GetObject(int Index) const {
  CheckItem(Index);
  return FGrid->Objects(CellCol(Index), CellRow(Index));
}

void TStringGridStrings::Put(int Index, const std::string& S) {
  CheckItem(Index);
  FGrid->SetCells(CellCol(Index), CellRow(Index), S);
}

void TStringGridStrings::PutObject(int Index, TObject* AObject) {
  CheckItem(Index);
  FGrid->SetObjects(CellCol(Index), CellRow(Index), AObject);
}

void TStringGridStrings::Insert(int, const std::string&) {
  throw EInvalidGridOperation("Cannot insert or delete rows from grid");
}

void TStringGridStrings::Delete(int) { throw EInvalidGridOperation("Cannot insert or delete rows from grid"); }

void TStringGridStrings::Clear() {
  FGrid->BeginStringsUpdate();
  try {
    for (int i = 0; i < GetCount(); ++i) {
      FGrid->SetCells(CellCol(i), CellRow(i), std::string());
      FGrid->SetObjects(CellCol(i), CellRow(i), nullptr);
    }
  } catch (...) {
    FGrid->EndStringsUpdate();
    throw;
  }
  FGrid->EndStringsUpdate();
}

// Adding puts the text in the first empty entry; -1 when the row (column) is full.
int TStringGridStrings::Add(const std::string& S) {
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i).empty()) {
      Put(i, S.empty() ? std::string(" ") : S);
      return i;
    }
  return -1;
}

void TStringGridStrings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStrings*>(Source);
  if (!src) {
    TStrings::Assign(Source);
    return;
  }
  int n = std::min(GetCount(), src->Count());
  FGrid->BeginStringsUpdate();
  try {
    for (int i = 0; i < n; ++i) {
      Put(i, src->Strings(i));
      PutObject(i, src->Objects(i));
    }
  } catch (...) {
    FGrid->EndStringsUpdate();
    throw;
  }
  FGrid->EndStringsUpdate();
}

void TStringGridStrings::SetUpdateState(bool Updating) {
  if (Updating) FGrid->BeginStringsUpdate();
  else FGrid->EndStringsUpdate();
}
