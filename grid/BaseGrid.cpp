// BaseGrid: cell properties, the cell store with its text hooks, geometry, merged cells
// and the keyboard and wheel over merged areas. Cell painting is in BaseGridPaint.cpp.
#include "grid/BaseGrid.h"

#include <algorithm>

#include "foundation/DizUtil.h"
#include "platform/rtl/SysUtils.h"

const TEnumInfo* EditorTypeNames = RegisterEnum(
    "TEditorType",
    {"edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox", "edDateEdit",
     "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric", "edPositiveNumeric", "edFloat",
     "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn", "edLowerCase", "edUpperCase", "edFloatSpinEdit",
     "edTimeSpinEdit", "edDateSpinEdit", "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edNone",
     "edUniEdit", "edUniComboEdit", "edUniComboList", "edUniEditBtn", "edUniMemo", "edDateTimeEdit",
     "edValidChars", "edTrackbarDropDown", "edMemoDropDown", "edCalculatorDropDown", "edTimePickerDropDown",
     "edDetailDropDown", "edGridDropDown", "edColorPickerDropDown", "edImagePickerDropDown"});
const TEnumInfo* VAlignmentNames = RegisterEnum("TVAlignment", {"vtaTop", "vtaCenter", "vtaBottom"});

void TBaseGrid::Publish(TClassBuilder<TBaseGrid>& P) {
  const TIntConsts* colors = GetPropInfo(TControl::StaticClass(), "Color")->Consts;
  P.Bool("ActiveRowShow", &TBaseGrid::ActiveRowShow, &TBaseGrid::SetActiveRowShow, false)
      .Int("ActiveRowColor", &TBaseGrid::ActiveRowColor, &TBaseGrid::SetActiveRowColor, clInfoBk).Consts(colors)
      .Bool("DefaultDrawing", &TBaseGrid::DefaultDrawing, &TBaseGrid::SetDefaultDrawing, false)
      .Int("GridLineWidth", &TBaseGrid::GridLineWidth, &TBaseGrid::SetGridLineWidth, 1)
      .Int("GridLineColor", &TBaseGrid::GridLineColor, &TBaseGrid::SetGridLineColor, 0xC0C0C0).Consts(colors)
      .Int("GridFixedLineColor", &TBaseGrid::GridFixedLineColor, &TBaseGrid::SetGridFixedLineColor, 0x808080)
      .Consts(colors)
      .Event("OnGetDisplText", &TBaseGrid::OnGetDisplText)
      .Event("OnGetDisplWideText", &TBaseGrid::OnGetDisplWideText)
      .Component("UndoRedo", &TBaseGrid::UndoRedo, &TBaseGrid::SetUndoRedo);
}

static const bool kBaseGridRegistered = [] {
  RegisterClasses({TVezIdidUndoRedo::StaticClass()});
  return true;
}();


// ---------------------------------------------------------------------------------------
// TCellProperties
TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow)
    : OwnerCol(ACol), OwnerRow(ARow), FOwnerGrid(AOwner) {
  if (AOwner) AOwner->NoteCellPropertiesCreated();
}

TCellProperties::~TCellProperties() = default;

void TCellProperties::Repaint() {
  if (FOwnerGrid) FOwnerGrid->RepaintCell(OwnerCol, OwnerRow);
}
void TCellProperties::SetBrushColor(TColor Value) {
  BrushColor = Value;
  Repaint();
}
void TCellProperties::SetBrushColorTo(TColor Value) {
  BrushColorTo = Value;
  Repaint();
}
void TCellProperties::SetVAlignment(TVAlignment Value) {
  VAlignment = Value;
  Repaint();
}
void TCellProperties::SetWordWrap(bool Value) {
  WordWrap = Value;
  Repaint();
}

void TCellProperties::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCellProperties*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  IsBaseCell = s->IsBaseCell;
  CellSpanX = s->CellSpanX;
  CellSpanY = s->CellSpanY;
  OwnerRow = s->OwnerRow;
  OwnerCol = s->OwnerCol;
  Alignment = s->Alignment;
  BorderColor = s->BorderColor;
  BorderWidth = s->BorderWidth;
  BrushColor = s->BrushColor;
  BrushStyle = s->BrushStyle;
  FontColor = s->FontColor;
  FontStyle = s->FontStyle;
  FontName = s->FontName;
  FontSize = s->FontSize;
  ReadOnly = s->ReadOnly;
  Editor = s->Editor;
  VAlignment = s->VAlignment;
  WordWrap = s->WordWrap;
  NodeLevel = s->NodeLevel;
  Control = s->Control;
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const {
  if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1) return TPoint{ACol - CellSpanX, ARow - CellSpanY};
  return TPoint{ACol, ARow};
}

// ---------------------------------------------------------------------------------------
// TBaseGrid
TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner) {
  TCustomGrid::SetGridLineWidth(0);
  TCustomGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
  FDestroyingGrid = true;
  ClearProps();
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TStringGrid::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
}

void TBaseGrid::SetUndoRedo(TVezIdidUndoRedo* Value) {
  FUndoRedo = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->SetGrid(this);
  }
}

std::string TBaseGrid::GetDisplText(int ACol, int ARow, const std::string& Value) {
  std::string s = Value;
  if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, s);
  return s;
}

std::u16string TBaseGrid::GetDisplWideText(int ACol, int ARow, const std::u16string& Value) {
  std::u16string s = Value;
  if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, s);
  return s;
}

std::string TBaseGrid::GetCellEx(int ACol, int ARow) {
  TPoint b{ACol, ARow};
  if (TCellProperties* p = Props(ACol, ARow)) b = p->GetBaseCell(ACol, ARow);
  if (b.Y >= FDisplTextRowLimit) return Cells(b.X, b.Y);
  // The display hook reads the stored text in place and makes the one copy returned.
  std::string s = GetDisplText(b.X, b.Y, CellText(b.X, b.Y));
  if (OnGetDisplWideText) s = EncodeWideStr(GetDisplWideText(b.X, b.Y, DecodeWideStr(s)));
  return s;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const std::string& Value) {
  if (TCellProperties* p = Props(ACol, ARow)) {
    TPoint b = p->GetBaseCell(ACol, ARow);
    SetCells(b.X, b.Y, Value);
    if (Parent()) RepaintCell(b.X, b.Y);
  } else {
    SetCells(ACol, ARow, Value);
  }
  if (FFloatingFooterShown && ARow == RowCount() - 1) FloatFooterUpdate();
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
  if (TCellProperties* p = Props(ACol, ARow)) return p;
  auto* p = new TCellProperties(this, ACol, ARow);
  p->WordWrap = FWordWrapDefault;
  SetObjects(ACol, ARow, p);
  TFont font;
  TBrush brush;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = FWordWrapDefault;
  TCellGradientDirection gd = GradientVertical;
  GetDefaultProps(ACol, ARow, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
  p->CalcType = acNONE;
  p->Alignment = ha;
  p->VAlignment = va;
  p->WordWrap = ww;
  p->FontName = font.GetName();
  p->FontSize = font.GetSize();
  p->FontStyle = font.GetStyle();
  p->FontColor = font.GetColor();
  p->BrushColor = brush.GetColor();
  p->BrushColorTo = colorTo;
  p->GradientDirection = gd;
  return p;
}

void TBaseGrid::GetDefaultProps(int, int, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                                TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW,
                                TCellGradientDirection& GD) {
  AFont->Assign(Font());
  ABrush->SetColor(Color());
  ColorTo = MirrorColor = MirrorColorTo = clNone;
  HAlign = taLeftJustify;
  VAlign = vtaTop;
  WW = FWordWrapDefault;
  GD = GradientVertical;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
  TObject* old = Objects(ACol, ARow);
  if (old == Value) return;
  SetObjects(ACol, ARow, Value);
  delete old;
  if (Value) FPropsCreated = true;  // a properties object made for another grid
}

TObject* TBaseGrid::GetObjectEx(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p ? p->CellObject : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject* Value) { GetCellProperties(ACol, ARow)->CellObject = Value; }

TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p ? p->GraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, TObject* Value) {
  if (FDestroyingGrid || ComponentState().Contains(csDestroying)) return;
  GetCellProperties(ACol, ARow)->GraphicObject = Value;
}

// Only properties objects are the grid's own; anything else put in the slot is left to
// whoever put it there.
void TBaseGrid::FreeProps(int ACol, int ARow) {
  TObject* o = Objects(ACol, ARow);
  if (!o) return;
  SetObjects(ACol, ARow, nullptr);
  if (dynamic_cast<TCellProperties*>(o)) delete o;
}

void TBaseGrid::ClearPropCell(int ACol, int ARow) { FreeProps(ACol, ARow); }

void TBaseGrid::ClearPropRect(int ACol1, int ARow1, int ACol2, int ARow2) {
  if (!FPropsCreated) return;
  for (int r = ARow1; r <= ARow2; ++r)
    for (int c = ACol1; c <= ACol2; ++c) {
      TCellProperties* p = Props(c, r);
      if (!p) continue;
      if (p->GraphicObject && std::string(p->GraphicObject->ClassName()) == "TCellGraphic") {
        delete p->GraphicObject;
        p->GraphicObject = nullptr;
      }
      FreeProps(c, r);
    }
}

void TBaseGrid::ClearPropRow(int ARow) { ClearPropRect(0, ARow, ColCount() - 1, ARow); }

void TBaseGrid::ClearProps() { ClearPropRect(0, 0, ColCount() - 1, RowCount() - 1); }

void TBaseGrid::NilCell(int ACol, int ARow) {
  SetCellEx(ACol, ARow, "");
  SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::NilRow(int ARow) {
  for (int c = 0; c < ColCount(); ++c) {
    SetObjects(c, ARow, nullptr);
    SetCellEx(c, ARow, "");
  }
}

void TBaseGrid::NilCol(int ACol) {
  for (int r = 0; r < RowCount(); ++r) {
    SetObjects(ACol, r, nullptr);
    SetCellEx(ACol, r, "");
  }
}

void TBaseGrid::CopyRows(int ToRow, int FromRow) {
  for (int c = 0; c < ColCount(); ++c) {
    SetCellEx(c, ToRow, GetCellEx(c, FromRow));
    SetObjects(c, ToRow, Objects(c, FromRow));
  }
}

void TBaseGrid::CopyCols(int ToCol, int FromCol) { SetCols(ToCol, Cols(FromCol)); }

// ---------------------------------------------------------------------------------------
// Published setters.
void TBaseGrid::SetActiveRowShow(bool Value) {
  if (FActiveRowShow == Value) return;
  FActiveRowShow = Value;
  Invalidate();
}
void TBaseGrid::SetActiveRowColor(TColor Value) {
  if (FActiveRowColor == Value) return;
  FActiveRowColor = Value;
  Invalidate();
}
void TBaseGrid::SetGridLineWidth(int Value) {
  FOwnGridLineWidth = Value;
  Invalidate();
}
void TBaseGrid::SetGridLineColor(TColor Value) {
  FGridLineColor = Value;
  Invalidate();
}
void TBaseGrid::SetGridFixedLineColor(TColor Value) {
  FGridFixedLineColor = Value;
  Invalidate();
}
void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) {
  FSelectionStyle = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------------------
// Geometry.
TRect TBaseGrid::GetCellRect(int ACol, int ARow) {
  auto axis = [](int Index, int Fixed, int First, auto Extent) {
    int pos = 0;
    if (Index < Fixed) {
      for (int i = 0; i < Index; ++i) pos += Extent(i);
    } else {
      for (int i = 0; i < Fixed; ++i) pos += Extent(i);
      if (Index >= First)
        for (int i = First; i < Index; ++i) pos += Extent(i);
      else
        for (int i = Index; i < First; ++i) pos -= Extent(i);
    }
    return pos;
  };
  int x = axis(ACol, FixedCols(), LeftCol(), [this](int i) { return ColWidths(i); });
  int y = axis(ARow, FixedRows(), TopRow(), [this](int i) { return RowHeights(i); });
  return TRect{x, y, x + ColWidths(ACol), y + RowHeights(ARow)};
}

TRect TBaseGrid::CellRect(int ACol, int ARow) {
  if (IsMergedCell(ACol, ARow)) {
    TPoint b = BaseCell(ACol, ARow);
    TPoint s = CellSpan(ACol, ARow);
    TRect r1 = GetCellRect(b.X, b.Y);
    TRect r2 = GetCellRect(b.X + s.X, b.Y + s.Y);
    return TRect{r1.Left, r1.Top, r2.Right, r2.Bottom};
  }
  TCellProperties* p = Props(ACol, ARow);
  if (p && p->Control) return GetCellRect(ACol, ARow);
  TRect r = TCustomGrid::CellRect(ACol, ARow);
  r.Right = r.Left + ColWidths(ACol);
  r.Bottom = r.Top + RowHeights(ARow);
  return r;
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) {
  TRect r = CellRect(ACol, ARow);
  if (IsMergedCell(ACol, ARow)) return TPoint{r.Right - r.Left, r.Bottom - r.Top};
  return TPoint{ColWidths(ACol), RowHeights(ARow)};
}

void TBaseGrid::RepaintCell(int ACol, int ARow) {
  if (!HandleAllocated()) return;
  TRect r = CellRect(ACol, ARow);
  RECT rc{r.Left, r.Top, r.Right, r.Bottom};
  ::InvalidateRect(Handle(), &rc, FALSE);
}

int TBaseGrid::FixedColsWidth() {
  int w = 0;
  for (int i = 0; i < FixedCols(); ++i) w += ColWidths(i);
  return w;
}

int TBaseGrid::FixedRowsHeight() {
  int h = 0;
  for (int i = 0; i < FixedRows(); ++i) h += RowHeights(i);
  return h;
}

bool TBaseGrid::IsSelected(int ACol, int ARow) {
  TGridRect s = Selection();
  if (ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom) return true;
  if (!IsMergedCell(ACol, ARow)) return false;
  TGridRect area = FullCell(ACol, ARow);
  return Col() >= area.Left && Col() <= area.Right && Row() >= area.Top && Row() <= area.Bottom;
}

bool TBaseGrid::SelectCell(int ACol, int ARow) {
  RepaintCell(Col(), Row());
  bool ok = TStringGrid::SelectCell(ACol, ARow);
  RepaintCell(ACol, ARow);
  return ok;
}

void TBaseGrid::ChangeScale(int M, int D) {
  TStringGrid::ChangeScale(M, D);
  if (M != D && D != 0) SetDefaultRowHeight(static_cast<int>((static_cast<long long>(DefaultRowHeight()) * M + D / 2) / D));
}

// ---------------------------------------------------------------------------------------
// Merged cells.
TPoint TBaseGrid::BaseCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p ? p->GetBaseCell(ACol, ARow) : TPoint{ACol, ARow};
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return !p || p->IsBaseCell;
}

bool TBaseGrid::IsBaseCellEx(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
  TPoint b = BaseCell(ACol, ARow);
  BaseCol = b.X;
  BaseRow = b.Y;
  return IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p && (p->CellSpanX >= 1 || p->CellSpanY >= 1) && !p->IsBaseCell;
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  if (!p) return false;
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = Props(b.X, b.Y);
  return bp && bp->CellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  if (!p) return false;
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = Props(b.X, b.Y);
  return bp && bp->CellSpanY > 0;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return TPoint{0, 0};
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = Props(b.X, b.Y);
  if (!bp || bp->CellSpanX < 0 || bp->CellSpanY < 0) return TPoint{0, 0};
  return TPoint{bp->CellSpanX, bp->CellSpanY};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const {
  TPoint s = CellSpan(ACol, ARow);
  if (s.X == 0 && s.Y == 0) return TPoint{0, 0};
  TPoint b = BaseCell(ACol, ARow);
  return TPoint{b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TGridRect TBaseGrid::FullCell(int ACol, int ARow) const {
  TPoint b = BaseCell(ACol, ARow);
  TPoint s = CellSpan(ACol, ARow);
  return TGridRect{b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

void TBaseGrid::MergeCells(int ACol, int ARow, int NCols, int NRows) {
  if (NCols < 1 || NRows < 1) return;
  // Areas that overlap the rectangle are split first, so that no cell keeps an offset
  // into an area that no longer exists.
  for (int c = ACol; c < ACol + NCols; ++c)
    for (int r = ARow; r < ARow + NRows; ++r)
      if (IsMergedCell(c, r)) SplitCells(c, r);
  ++FMergeCount;
  for (int c = ACol; c < ACol + NCols; ++c)
    for (int r = ARow; r < ARow + NRows; ++r) {
      TCellProperties* p = GetCellProperties(c, r);
      p->IsBaseCell = c == ACol && r == ARow;
      if (p->IsBaseCell) {
        p->CellSpanX = NCols - 1;
        p->CellSpanY = NRows - 1;
      } else {
        p->CellSpanX = c - ACol;
        p->CellSpanY = r - ARow;
      }
    }
  for (int c = ACol; c < ACol + NCols; ++c)
    for (int r = ARow; r < ARow + NRows; ++r) RepaintCell(c, r);
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
  TCellProperties* p = Props(ACol, ARow);
  if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return;  // not merged: nothing to split
  TPoint b = p->GetBaseCell(ACol, ARow);
  TCellProperties* bp = Props(b.X, b.Y);
  if (!bp || bp->CellSpanX < 0 || bp->CellSpanY < 0) return;
  int sx = bp->CellSpanX, sy = bp->CellSpanY;
  for (int c = b.X; c <= b.X + sx; ++c)
    for (int r = b.Y; r <= b.Y + sy; ++r)
      if (TCellProperties* q = Props(c, r)) {
        q->IsBaseCell = true;
        q->CellSpanX = -1;
        q->CellSpanY = -1;
      }
  for (int c = b.X; c <= b.X + sx; ++c)
    for (int r = b.Y; r <= b.Y + sy; ++r) RepaintCell(c, r);
  if (FMergeCount > 0) --FMergeCount;
}

int TBaseGrid::MinRowSpan(int ARow) const {
  int best = -1;
  for (int c = 0; c < ColCount(); ++c) {
    int s = CellSpan(c, ARow).Y;
    if (s > 0 && (best < 0 || s < best)) best = s;
  }
  return best < 0 ? RowCount() : best;
}

int TBaseGrid::MaxRowSpan(int ARow) const {
  int best = 0;
  for (int c = 0; c < ColCount(); ++c) best = std::max(best, CellSpan(c, ARow).Y);
  return best;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const {
  bool any = false;
  for (int c = 0; c < ColCount(); ++c) {
    if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
      any = true;
      if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
    }
  }
  return any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const {
  bool any = false;
  for (int r = 0; r < RowCount(); ++r) {
    int s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
    if (s1 > 0 && s2 > 0) {
      any = true;
      if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
    } else if (s1 != s2) {
      return false;
    }
  }
  return any;
}

void TBaseGrid::SelectBaseCell() {
  if (!Props(Col(), Row())) return;
  TPoint b = BaseCell(Col(), Row());
  if (b.X != Col()) SetCol(b.X);
  if (b.Y != Row()) SetRow(b.Y);
}

void TBaseGrid::RepaintFixedMergedCols() {
  if (FixedRows() <= 0) return;
  int last = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
  for (int r = 0; r < FixedRows(); ++r)
    for (int c = LeftCol(); c <= last; ++c)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::RepaintFixedMergedRows() {
  if (FixedCols() <= 0) return;
  int last = std::min(RowCount() - 1, TopRow() + VisibleRowCount());
  for (int c = 0; c < FixedCols(); ++c)
    for (int r = TopRow(); r <= last; ++r)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
}

void TBaseGrid::TopLeftChanged() {
  TStringGrid::TopLeftChanged();
  RepaintFixedMergedRows();
  RepaintFixedMergedCols();
}

// Keys over merged areas: the current cell is put at the area's edge first, so that the
// framework's one step leaves the area. The cell never leaves the grid.
void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_NEXT && FFloatingFooterShown && RowCount() > 1 &&
      RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1) {
    FCurrent.Y = std::max(FixedRows(), RowCount() - 2);
    FAnchor = FCurrent;
  }
  if (TCellProperties* p = Props(Col(), Row())) {
    TPoint b = p->GetBaseCell(Col(), Row());
    TCellProperties* bp = Props(b.X, b.Y);
    TPoint s = bp ? TPoint{std::max(0, bp->CellSpanX), std::max(0, bp->CellSpanY)} : TPoint{0, 0};
    TGridCoord to = FCurrent;
    switch (Key) {
      case VK_LEFT:
        if (b.X < Col() && Col() > FixedCols() && b.X > 0) to.X = std::max(FixedCols(), b.X - s.X);
        break;
      case VK_UP:
        if (b.Y < Row() && Row() > FixedRows() && b.Y > 0) to.Y = std::max(FixedRows(), b.Y - 1);
        break;
      case VK_RIGHT:
        if (b.X + s.X >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && b.X + s.X < ColCount())
          to.X = b.X + s.X;
        break;
      case VK_DOWN:
        if (b.Y + s.Y >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
          to.Y = std::min(RowCount() - 1, b.Y + s.Y);
        break;
      default: break;
    }
    if (!(to == FCurrent)) {
      FCurrent = to;
      FAnchor = to;
    }
  }
  TStringGrid::KeyDown(Key, Shift);
  SelectBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool r = TStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (FFloatingFooterShown && VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1)
    SetTopRow(TopRow() + 1);
  SelectBaseCell();
  return r;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool r = TStringGrid::DoMouseWheelUp(Shift, MousePos);
  SelectBaseCell();
  return r;
}
