// VezIdid, painting: how a cell's colours, font, alignment and word wrap resolve, the cell
// hooks painting asks, and the layers of one cell in the order they are laid down: the
// fixed-cell look, the row indicator, the list-view header, the modified marker, the
// always-visible editor buttons, the text (VezIdidPaintText.cpp), the borders, the look
// edges, the fixed right columns, the tree lines, the graphic, the events and the focus
// rectangle.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdidPaintInternal.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/WinUser.h"

namespace {
bool IsNumberType(TAutoType t) { return t == atNumeric || t == atFloat || t == atScientific; }

bool IsControlCellType(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctRadio || t == ctButton || t == ctRadioButton;
}
}  // namespace

TColor TDavEvadurAvuz::BandColor(int ACol, int ARow, bool Print) const {
  if (!FBands->Active() || (Print && !FBands->Print)) return clNone;
  int fr = GetFixedRowsEx(), fc = GetFixedColsEx();
  if (ACol < fc || ACol >= ColCount() + NumHiddenColumns() - FFixedRightCols) return clNone;
  if (ARow < fr || ARow >= RowCount() - FFixedFooters) return clNone;
  int period = FBands->Period();
  if (period <= 0) return clNone;
  return (ARow - fr) % period < FBands->PrimaryLength() ? FBands->PrimaryColor() : FBands->SecondaryColor();
}

// ---------------------------------------------------------------------------------------
// Cell hooks.

TCellType TDavEvadurAvuz::GetCellType(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return ctEmpty;
  if (ACol < TotalColCount() && ARow < RowCount()) {
    TPoint b = BaseCell(ACol, ARow);
    TObject* o = GetGraphicObjectEx(b.X, b.Y);
    if (o && !dynamic_cast<TCellGraphic*>(o)) return ctEmpty;
  }
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g ? g->CellType : ctEmpty;
}

void TDavEvadurAvuz::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  if (FActiveCellShow) {
    int dcol = RemapColInv(ACol);
    int fc = GetFixedColsEx(), fr = GetFixedRowsEx();
    if ((fc > 0 && dcol == fc - 1 && ARow == Row()) || (fr > 0 && ARow == fr - 1 && dcol == Col())) {
      AFont->Assign(FActiveCellFont.get());
      ABrush->SetColor(FActiveCellColor);
    }
  }
  if (TCellProperties* p = Props(ACol, ARow)) {
    TCellType t = GetCellType(ACol, ARow);
    bool plain = t == ctIcon || t == ctNone || t == ctImageList || t == ctEmpty || t == ctImages || t == ctComment;
    if (plain && p->BrushColor != clNone) ABrush->SetColor(p->BrushColor);
    if (p->FontColor != clNone) AFont->SetColor(p->FontColor);
    if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
    if (p->FontSize > 0) AFont->SetSize(p->FontSize);
    if (!p->FontName.empty()) AFont->SetName(p->FontName);
  }
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TDavEvadurAvuz::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TDavEvadurAvuz::GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TDavEvadurAvuz::GetCellWordWrap(int ACol, int ARow, bool& WordWrap) {
  if (OnGetWordWrap) OnGetWordWrap(this, ACol, ARow, WordWrap);
}

void TDavEvadurAvuz::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
  if (FGrouping->HeaderUnderline && IsNode(ARow) && ACol != 0) {
    Borders = TCellBorders{cbBottom};
    APen->SetColor(FGrouping->HeaderLineColor);
    APen->SetWidth(FGrouping->HeaderLineWidth);
  }
  if (FGrouping->SummaryLine && ACol != 0 && GetCellType(0, ARow) == ctSummary) {
    Borders = TCellBorders{cbTop};
    APen->SetColor(FGrouping->SummaryLineColor);
    APen->SetWidth(FGrouping->SummaryLineWidth);
  }
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

bool TDavEvadurAvuz::HasCombo(int ACol, int ARow) {
  bool answer = false;
  if (OnHasComboBox) {
    OnHasComboBox(this, ACol, ARow, answer);
    return answer;
  }
  if (!FControlLook->DropDownAlwaysVisible) return false;
  TEditorType kind = DefaultEditor;
  GetCellEditor(ACol, ARow, kind);
  return kind == edComboEdit || kind == edComboList || kind == edUniComboEdit || kind == edUniComboList;
}

bool TDavEvadurAvuz::HasSpinEdit(int ACol, int ARow) {
  if (ACol < GetFixedColsEx() || ARow < GetFixedRowsEx()) return false;
  bool answer = false;
  if (OnHasSpinEdit) {
    OnHasSpinEdit(this, ACol, ARow, answer);
    return answer;
  }
  if (!FControlLook->SpinButtonsAlwaysVisible) return false;
  TEditorType kind = DefaultEditor;
  GetStaticCellEditor(ACol, ARow, kind);
  return kind == edSpinEdit || kind == edFloatSpinEdit || kind == edTimeSpinEdit || kind == edDateSpinEdit;
}

bool TDavEvadurAvuz::GetFilter(int ACol) {
  TStringList* list = FFilterValues.get();
  list->Clear();
  if (FilterDropDownAuto && ACol >= GetFixedColsEx()) {
    list->SetSorted(true);
    for (int r = GetFixedRowsEx(); r < GetAllRowCount(); ++r) {
      std::string s = Trim(GetCellsEx(ACol, r));
      if (s.find(' ') != std::string::npos) s = s + "=\"" + s + "\"";
      list->Add(s);
    }
    list->SetSorted(false);
    if (!FilterDropDownClear.empty()) list->Insert(0, FilterDropDownClear);
  }
  if (OnGetColumnFilter) OnGetColumnFilter(this, ACol, list);
  return list->Count() > 0;
}

// Painting asks once per cell of the filter row whether a column shows its filter button.
// Without a handler to consult, the automatic list is non-empty exactly when there is a row
// to list or a clear entry, so the list (a walk over every row) is only built when the
// handler may change it.
bool TDavEvadurAvuz::FilterButtonShown(int ACol) {
  if (OnGetColumnFilter || !FilterDropDownAuto) return GetFilter(ACol);
  if (ACol < GetFixedColsEx()) return false;
  return GetAllRowCount() > GetFixedRowsEx() || !FilterDropDownClear.empty();
}

bool TDavEvadurAvuz::HoverFixedCell(int ACol, int ARow) {
  bool fixedRow = ARow < GetFixedRowsEx(), fixedCol = ACol < GetFixedColsEx();
  switch (HoverFixedCells) {
    case hfAll: return fixedRow || fixedCol;
    case hfFixedRows: return fixedRow;
    case hfFixedColumns: return fixedCol;
    default: return false;
  }
}

bool TDavEvadurAvuz::IsNode(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }

int TDavEvadurAvuz::GetNodeLevel(int ARow) {
  if (!IsNode(ARow)) return -1;
  TCellProperties* p = Props(0, ARow);
  return p ? p->NodeLevel : 0;
}

int TDavEvadurAvuz::GetNodeSpanType(int ARow) {
  if (IsNode(ARow)) return 0;
  if (ARow >= RowCount() - FFixedFooters - 1) return 1;
  TCellProperties* next = Props(0, ARow + 1);
  TCellProperties* self = Props(0, ARow);
  int level = self ? self->NodeLevel : 0;
  return next && next->NodeLevel >= level ? 2 : 1;
}

bool TDavEvadurAvuz::IsSortHeader(int ACol, int ARow) {
  TSortSettings* ss = FSortSettings.get();
  if (!ss->Show || RowCount() <= 2 || GetFixedRowsEx() < 1 || ARow != ss->Row()) return false;
  if (IsFixed(ACol, ARow) && ARow >= GetFixedRowsEx() && !ss->FixedCols) return false;
  if (ACol < GetFixedColsEx() && !ss->FixedCols) return false;
  int rcol = RemapCol(ACol);
  if (rcol < 0) rcol = ACol;
  return (ss->Column != -1 && ss->Column == rcol) || FSortIndexes->FindIndex(rcol) >= 0;
}

// ---------------------------------------------------------------------------------------
// Resolution of a cell's look.

void TDavEvadurAvuz::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  HAlign = taLeftJustify;
  VAlign = VAlignment;
  if (AutoNumAlign) {
    std::string s = GetCellEx(ACol, ARow);
    bool formula = (!s.empty() && s[0] == '=') || (s.size() > 3 && s[0] == '|' && s[1] == '\\' && s[3] == '=');
    if (formula) CalcCell(ACol, ARow, s);
    if (IsNumberType(IsType(Trim(s)))) HAlign = taRightJustify;
  } else if (TCellProperties* p = Props(ACol, ARow)) {
    HAlign = p->Alignment;
  }
  GetCellAlign(ACol, ARow, HAlign, VAlign);
}

std::string TDavEvadurAvuz::GetFormattedCell(int ACol, int ARow) {
  std::string s = GetCellEx(ACol, ARow);
  if (!OnGetFloatFormat || !IsNumberType(IsType(s))) return s;
  bool isFloat = true;
  std::string format = FloatFormat;
  OnGetFloatFormat(this, ACol, ARow, isFloat, format);
  if (!isFloat) return s;
  // A format that does not fit the value leaves the text as it is.
  try {
    if (format.find('d') != std::string::npos) {
      int v = 0;
      double d = 0;
      if (!TryStrToInt(Trim(s), v)) {
        if (!TryStrToFloat(Trim(s), d)) return s;
        v = static_cast<int>(d);
      }
      return Format(format, {v});
    }
    double d = 0;
    if (!TryStrToFloat(Trim(s), d)) return s;
    return Format(format, {d});
  } catch (const Exception&) {
    return s;
  }
}

void TDavEvadurAvuz::GetFontProperties(int ACol, int ARealCol, int ARow, TGridDrawState& AState, TFont* AFont,
                                       TBrush* ABrush, bool) {
  bool fixedRC = ACol < GetFixedColsEx() || ARow < GetFixedRowsEx();
  AFont->Assign(fixedRC ? FFixedFont.get() : Font());
  if (TCellProperties* p = Props(ARealCol, ARow)) {
    if (p->FontColor != clNone) AFont->SetColor(p->FontColor);
    if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
    if (p->FontSize > 0) AFont->SetSize(p->FontSize);
    if (!p->FontName.empty()) AFont->SetName(p->FontName);
  }
  if (IsFixed(ACol, ARow) || fixedRC) AFont->Assign(FFixedFont.get());
  GetCellColor(ARealCol, ARow, AState, ABrush, AFont);
}

void TDavEvadurAvuz::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD) {
  const int fc = GetFixedColsEx(), fr = GetFixedRowsEx();
  const bool fixedRC = ACol < fc || ARow < fr;
  // 1. The font of fixed or normal cells; paper may have fonts of its own.
  if (Print && !FPrintSettings->UseDisplayFont) AFont->Assign(fixedRC ? FPrintSettings->FixedFont() : FPrintSettings->Font());
  else AFont->Assign(fixedRC ? FFixedFont.get() : Font());
  // 2. The real column, and the row the row selection is kept by.
  int rcol = Remap ? RemapCol(ACol) : ACol;
  if (rcol < 0) rcol = ACol;
  int selRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent ? RemapRowInv(ARow) : ARow;
  // 3. Nothing set yet.
  TColor brush = clNone;
  AColorTo = AMirrorColor = AMirrorColorTo = clNone;
  bool ownColor = false, controlCell = false, coloredControl = false;
  // 4. The cell's own properties. On screen they always apply; the print-font switch only
  // decides for paper.
  TCellProperties* p = Props(rcol, ARow);
  if (p && (!Print || FPrintSettings->UseDisplayFont)) {
    TCellType t = GetCellType(rcol, ARow);
    if (t == ctNone || t == ctRotated || t == ctEmpty) {
      if (p->BrushColor != clNone) {
        brush = p->BrushColor;
        ownColor = true;
      }
    } else if (IsControlCellType(t)) {
      controlCell = true;
      brush = p->BrushColor;
      coloredControl = brush != clNone;
    } else {
      brush = p->BrushColor;
    }
    if (p->FontColor != clNone) AFont->SetColor(p->FontColor);
    if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
    if (p->FontSize > 0) AFont->SetSize(p->FontSize);
    if (!p->FontName.empty()) AFont->SetName(p->FontName);
    WW = p->WordWrap;
    AColorTo = p->BrushColorTo;
    GD = p->GradientDirection;
  }
  // 5. Selected cells fill top to bottom.
  if (AState.Contains(gdSelected)) GD = GradientVertical;
  // 6. The grid's colour, the bands and the colour of fixed parts.
  if (brush == clNone || (controlCell && !coloredControl)) {
    if (brush == clNone) brush = Color();
    TColor band = BandColor(ACol, ARow, Print);
    if (band != clNone) brush = band;
    if (fixedRC || DisplColIndex(ACol) >= GetColCountEx() - FFixedRightCols || ARow >= RowCount() - FFixedFooters)
      brush = FixedColor();
  }
  // 7. Fixed cells that do not own their colour.
  const bool fixed = fixedRC || IsFixed(ACol, ARow);
  if (fixed && !ownColor) {
    if (!Print) {
      brush = FixedColor();
      AFont->Assign(FFixedFont.get());
      AState += gdFixed;
    }
    if (FLook >= glZAD) {
      brush = FZADGrad[0];
      AColorTo = FZADGrad[1];
      AMirrorColor = FZADGrad[2];
      AMirrorColorTo = FZADGrad[3];
    }
  }
  // 8. The application's gradient.
  if (OnGetCellGradient) OnGetCellGradient(this, ARow, rcol, brush, AColorTo, AMirrorColor, AMirrorColorTo, GD);
  ABrush->SetColor(brush);
  // 9. The hooks; what they leave is the cell's unselected look.
  if (Print) GetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
  else GetCellColor(rcol, ARow, AState, ABrush, AFont);
  const TColor unselBrush = ABrush->GetColor(), unselFont = AFont->GetColor();
  // 10. Selection.
  if (FShowSelection) {
    auto mark = [&] {
      ABrush->SetColor(FSelectionColor);
      AColorTo = FSelectionColorTo;
      AMirrorColor = FSelectionMirrorColor;
      AMirrorColorTo = FSelectionMirrorColorTo;
      if (FSelectionTextColor != clNone) AFont->SetColor(FSelectionTextColor);
    };
    const bool disjunctRows = FMouseActions->DisjunctRowSelect(), disjunctCols = FMouseActions->DisjunctColSelect();
    if (!Print && Select && !fixed && ACol >= fc && ARow >= fr) {
      if (disjunctRows) {
        bool in = selRow >= 0 && selRow < GetAllRowCount() && GetRowSelect(selRow);
        if ((in && (!DisjunctDragActive || ARow != Row())) ||
            (DisjunctDragActive && !in && AState.Contains(gdSelected))) {
          mark();
          AState = TGridDrawState{gdSelected};
        }
      }
      if (disjunctCols) {
        bool in = ACol < ColCount() && GetColSelect(ACol);
        if ((in && (!DisjunctDragActive || ACol != Col())) ||
            (DisjunctDragActive && !in && AState.Contains(gdSelected))) {
          mark();
          AState = TGridDrawState{gdSelected};
        }
      }
      if (!disjunctRows && !disjunctCols && IsSelected(ACol, ARow)) {
        mark();
        AState += gdSelected;
      }
    }
    if (DisjunctDragActive && AState.Contains(gdSelected)) mark();
    if (FMouseActions->DisjunctCellSelect()) {
      if (std::find(FDisjunctCells.begin(), FDisjunctCells.end(), TGridCoord{ACol, ARow}) != FDisjunctCells.end()) {
        mark();
        AState += gdSelected;
      } else if (ACol == Col() && ARow == GetRowEx()) {
        AState -= gdSelected;
        ABrush->SetColor(unselBrush);
        AFont->SetColor(unselFont);
      }
    }
  }
  // 11. Word wrap and alignment.
  GetCellWordWrap(rcol, ARow, WW);
  GetCellAlignment(rcol, ARow, HA, VA);
}

// ---------------------------------------------------------------------------------------
// The layers of one cell.

void TDavEvadurAvuz::DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCellPaint P;
  P.Col = ACol;
  P.Row = ARow;
  P.RealCol = RemapCol(ACol) < 0 ? ACol : RemapCol(ACol);
  P.R = ARect;
  P.State = AState;
  P.Fixed = IsFixed(ACol, ARow) || ACol < GetFixedColsEx() || ARow < GetFixedRowsEx();
  P.SelRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent ? RemapRowInv(ARow) : ARow;
  TRect& R = P.R;
  const int rcol = P.RealCol;
  const bool fixed = P.Fixed;

  // 3. The in-cell scroll bar takes its width off the right edge.
  DrawCellScrollBar(Canvas, rcol, ARow, R);
  // 4. The unselected look and the cell graphic.
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TCellGradientDirection gd = GradientVertical;
  P.WordWrap = FWordWrapDefault;
  GetVisualProperties(ACol, ARow, P.State, false, false, true, Canvas->Brush(), colorTo, mirror, mirrorTo,
                      Canvas->Font(), P.HAlign, P.VAlign, P.WordWrap, gd);
  P.Graphic = GetGraphicDetails(rcol, ARow, P.GraphicWidth, P.GraphicHeight, P.BesideText, P.GraphicHAlign,
                                P.GraphicVAlign);
  if (rcol == 0 && IsNode(ARow)) P.GraphicWidth = GetNodeLevel(ARow) * 12 + 4;
  // 5. Selected without focus and no selection colour: the system highlight.
  if (P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && FSelectionColor == clNone)
    Canvas->Brush()->SetColor(clHighlight);
  if (ZoomLevel != 0) Canvas->Font()->SetSize(Canvas->Font()->GetSize() + ZoomLevel);
  P.UnselBrush = Canvas->Brush()->GetColor();
  P.UnselFont = Canvas->Font()->GetColor();

  // 6. The fixed-cell look of the gradient looks.
  const bool gradientLook =
      FLook == glZAD || FLook == glXP || FLook == glVista || FLook == glWin7 || FLook == glOffice2007;
  if (fixed && gradientLook && !Flat) {
    const bool moving = MovingColumn >= 0;
    const bool hovered = HoverFixedCell(ACol, ARow) &&
                         ((HoverCell.X == ACol && HoverCell.Y == ARow && !moving) || (moving && MovingColumn == ACol)) &&
                         !Designing();
    const int fcLast = GetFixedColsEx() - 1, frLast = GetFixedRowsEx() - 1;
    if (hovered) {
      R.Bottom += 1;
      const TColor* hv = FZADGradHover;
      const TColor* dn = FZADGradDown;
      const bool pressed = FixedCellPressed || moving;
      const bool button = FControlLook->FixedDropDownButton;
      auto paint = [&](const TRect& r, const TColor* set) {
        DrawVistaGradient(Canvas, r, set[0], set[1], set[2], set[3], true, set[4], false, true);
      };
      if (!pressed) {
        paint(R, hv);
      } else if (!button) {
        paint(R, dn);
      } else {
        TRect left = R, right = R;
        left.Right = R.Right - 16;
        right.Left = R.Right - 16;
        paint(left, FixedDropDownPressed ? hv : dn);
        paint(right, FixedDropDownPressed ? dn : hv);
      }
      if (button) {
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(pressed ? dn[4] : hv[4]);
        Canvas->MoveTo(R.Right - 16, R.Top);
        Canvas->LineTo(R.Right - 16, R.Bottom);
        DrawTriangle(Canvas, R.Right - 8, R.Top + 8, clBlack);
        R.Right -= 16;
      }
    } else if (FActiveCellShow && ((fcLast >= 0 && ACol == fcLast && ARow == GetRowEx()) ||
                                   (frLast >= 0 && ARow == frLast && ACol == Col()))) {
      DrawVistaGradient(Canvas, R, FActiveCellColor, FActiveCellColorTo, clNone, clNone, true, clNone, false, true);
    } else if (FSortSettings->Column != -1 && FSortSettings->Column == rcol && FSortSettings->HeaderColor() != clNone &&
               ARow == frLast && (ACol >= GetFixedColsEx() || FSortSettings->FixedCols)) {
      DrawVistaGradient(Canvas, R, FSortSettings->HeaderColor(), FSortSettings->HeaderColorTo(),
                        FSortSettings->HeaderMirrorColor(), FSortSettings->HeaderMirrorColorTo(), true, clWhite, true,
                        true);
    } else {
      DrawVistaGradient(Canvas, R, Canvas->Brush()->GetColor(), colorTo, mirror, mirrorTo, true,
                        FLook == glVista ? clWhite : clNone, true, true);
    }
    Canvas->Brush()->SetColor(P.UnselBrush);
  }

  // 7. The row indicator in column 0 of the current row.
  TBitmap* indicator = FRowIndicator.get();
  const bool showIndicator = rcol == 0 && ARow == Row() && GetFixedColsEx() > 0 && !indicator->GetEmpty();
  if (showIndicator) {
    int w = indicator->GetWidth(), h = indicator->GetHeight();
    int y = R.Top;
    if (VAlignment == vtaCenter) y = R.Top + (R.Bottom - R.Top - h) / 2;
    else if (VAlignment == vtaBottom) y = R.Bottom - h;
    DrawBitmapTransp(Canvas, indicator, clNone, TRect{R.Left + 2, y, R.Left + 2 + w, y + h});
    R.Left += w + 2;
  }

  // 8. The list-view header: themed header items.
  if (fixed && FLook == glListView && !Flat) {
    if (FIsWinXP) {
      R.Bottom += 1;
      POINT pt{-1, -1};
      if (HandleAllocated() && GetCursorPos(&pt)) ::ScreenToClient(Handle(), &pt);
      const bool inside = pt.x >= R.Left && pt.x < R.Right && pt.y >= R.Top && pt.y < R.Bottom;
      int part = HP_HEADERITEMRIGHT, state = HIS_NORMAL;
      if (inside && FixedCellPressed) part = HP_HEADERITEM, state = HIS_PRESSED;
      else if (inside) part = HP_HEADERITEM, state = HIS_HOT;
      HTHEME theme = OpenThemeData(HandleAllocated() ? Handle() : nullptr, "header");
      RECT rc{R.Left, R.Top, R.Right, R.Bottom};
      if (theme) {
        DrawThemeBackground(theme, Canvas->GetHandle(), part, state, &rc, nullptr);
        CloseThemeData(theme);
      }
      Canvas->Pen()->SetWidth(1);
      Canvas->Pen()->SetColor(clWhite);
      Canvas->MoveTo(R.Left, R.Top);
      Canvas->LineTo(R.Right, R.Top);
    } else {
      Canvas->Brush()->SetColor(clBtnFace);
      Canvas->Pen()->SetColor(clWhite);
      Canvas->Rectangle(R);
      Canvas->Brush()->SetColor(P.UnselBrush);
    }
  }

  // 9. The modified marker of a row.
  if (ACol == 0 && GetRowModified(ARow) && FShowModified->Enabled()) {
    Canvas->Brush()->SetColor(FShowModified->Color());
    Canvas->FillRect(TRect{R.Right - 4, R.Top, R.Right, R.Bottom});
    Canvas->Brush()->SetColor(P.UnselBrush);
  }

  // 10. Editor buttons that show without editing.
  if (!IsFixed(ACol, ARow)) {
    if (FControlLook->DropDownAlwaysVisible && HasCombo(RealColIndex(ACol), ARow)) {
      DrawComboButton(Canvas, HandleAllocated() ? Handle() : nullptr,
                      TRect{R.Left - 2, R.Top - 1, R.Right + 1, R.Bottom}, FIsWinXP && FIsComCtl6);
      R.Right -= 16;
    }
    if (FControlLook->SpinButtonsAlwaysVisible && HasSpinEdit(rcol, ARow)) {
      DrawSpinButtons(Canvas, HandleAllocated() ? Handle() : nullptr, R, FIsWinXP);
      R.Right -= 16;
    }
  }

  // 11. The text; the right edge and the colours come back afterwards. An interfaced graphic
  // that asks to lie beneath the text is drawn first.
  ICellGraphic* background = nullptr;
  if (P.Graphic && P.Graphic->CellType == ctInterface) {
    auto* i = dynamic_cast<ICellGraphic*>(P.Graphic->CellRef.Object);
    if (i && i->IsBackground()) background = i;
  }
  if (background) {
    TRect r{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    background->Draw(Canvas, r, rcol, ARow, P.State.Contains(gdSelected), this);
  }
  {
    const int right = R.Right;
    DrawTextLayer(Canvas, P);
    R.Right = right;
    Canvas->Brush()->SetColor(P.UnselBrush);
    Canvas->Font()->SetColor(P.UnselFont);
  }

  // 12. Borders; the row indicator gives back its width.
  DrawCellBorders(Canvas, ACol, ARow, R);
  if (showIndicator) R.Left -= indicator->GetWidth();

  // 13. The look edges of fixed cells.
  if (fixed && !Flat) {
    TPen* pen = Canvas->Pen();
    pen->SetWidth(1);
    const TColor dark = DarkenColor(ColorToRGB(FixedColor()));
    auto topLeftAndBottom = [&] {
      pen->SetColor(dark);
      Canvas->MoveTo(R.Left, R.Bottom - 1);
      Canvas->LineTo(R.Right - 1, R.Bottom - 1);
      pen->SetColor(clWhite);
      Canvas->MoveTo(R.Right, R.Top + 1);
      Canvas->LineTo(R.Left + 1, R.Top + 1);
      Canvas->LineTo(R.Left + 1, R.Bottom - 1);
    };
    if (FLook == glClassic) {
      R.Top += 1;
      R.Left += 1;
      R.Bottom += 1;
      RECT rc{R.Left, R.Top, R.Right, R.Bottom};
      DrawEdge(Canvas->GetHandle(), &rc, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
      rc = RECT{R.Left, R.Top, R.Right, R.Bottom};
      DrawEdge(Canvas->GetHandle(), &rc, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
      pen->SetColor(clBlack);
      Canvas->MoveTo(R.Right - 1, R.Top);
      Canvas->LineTo(R.Right - 1, R.Bottom);
      Canvas->MoveTo(R.Left, R.Bottom - 1);
      Canvas->LineTo(R.Right, R.Bottom - 1);
    } else if (FLook == glZAD || FLook == glXP) {
      R.Bottom += 1;
      if (Options().Contains(goFixedHorzLine)) topLeftAndBottom();
    } else if (FLook == glSoft) {
      R.Right += 1;
      R.Bottom += 1;
      if (Options().Contains(goFixedHorzLine)) topLeftAndBottom();
      if (Options().Contains(goFixedVertLine)) {
        pen->SetColor(dark);
        Canvas->MoveTo(R.Right - 2, R.Top);
        Canvas->LineTo(R.Right - 2, R.Bottom - 1);
        pen->SetColor(clWhite);
        Canvas->MoveTo(R.Right - 1, R.Top);
        Canvas->LineTo(R.Right - 1, R.Bottom - 1);
      }
    }
  }

  // 14. Fixed right columns in the flat look: gray lines just outside the cell.
  if (Flat && FLook != glClassic && FFixedRightCols > 0 && rcol >= GetAllColCount() - FFixedRightCols) {
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(clGray);
    if (Options().Contains(goFixedHorzLine)) {
      Canvas->MoveTo(R.Left - 1, R.Top - 1);
      Canvas->LineTo(R.Right + 1, R.Top - 1);
      Canvas->MoveTo(R.Left - 1, R.Bottom);
      Canvas->LineTo(R.Right + 1, R.Bottom);
    }
    if (Options().Contains(goFixedVertLine)) {
      Canvas->MoveTo(R.Left - 1, R.Top - 1);
      Canvas->LineTo(R.Left - 1, R.Bottom + 1);
      Canvas->MoveTo(R.Right, R.Top - 1);
      Canvas->LineTo(R.Right, R.Bottom + 1);
    }
  }

  // 15. Tree lines.
  if (HasNodes() && rcol == 0 && ARow >= GetFixedRowsEx() && FCellNode->ShowTree()) DrawTreeLines(Canvas, ARow, R);

  // 16. The cell graphic.
  if (!background) DrawGraphicLayer(Canvas, ACol, ARow, R, P.State, P.Graphic, P.VAlign, P.HAlign, P.TextWidth);

  // 17. The application's drawing.
  if (OnDrawCell) {
    TRect inner{R.Left + 1, R.Top + 1, R.Right - GridLineWidth(), R.Bottom - GridLineWidth()};
    OnDrawCell(this, rcol, ARow, inner, P.State);
  }
  if (OnCustomCellDraw) OnCustomCellDraw(this, Canvas, rcol, ARow, P.State, R, false);

  // 18. The focus rectangle: the focused grid's current, non-fixed cell, without row select.
  if (!HideFocusRect && Focused() && !Options().Contains(goRowSelect)) {
    TPoint b = IsMergedCell(rcol, ARow) ? BaseCell(rcol, ARow) : TPoint{rcol, ARow};
    if (RemapColInv(b.X) == Col() && b.Y == Row() && !IsFixed(Col(), Row())) {
      int g = GridLineWidth() - 1;
      TRect f{R.Left - g, R.Top - g, R.Right + g - 1, R.Bottom + g - 1};
      Canvas->DrawFocusRect(f);
    }
  }
}

void TDavEvadurAvuz::DrawTreeLines(TCanvas* Canvas, int ARow, TRect& R) {
  TPen* pen = Canvas->Pen();
  pen->SetColor(FCellNode->TreeColor());
  pen->SetWidth(1);
  const int indent = FCellNode->NodeIndent();
  const int nodeIndent = NodeIndent(ARow);
  R.Left = nodeIndent;
  const int x = nodeIndent - indent + 2 + indent / 2;
  const int mid = R.Top + (R.Bottom - R.Top) / 2;
  TCellProperties* p = Props(0, ARow);
  const int level = p ? p->NodeLevel : 0;
  if (level > 0) {
    Canvas->MoveTo(x, mid);
    Canvas->LineTo(FCellNode->ShowTreeFull() ? R.Right : nodeIndent + 4, mid);
  }
  switch (GetNodeSpanType(ARow)) {
    case 1:
      Canvas->MoveTo(x, R.Top);
      Canvas->LineTo(x, mid);
      break;
    case 2:
      Canvas->MoveTo(x, R.Top);
      Canvas->LineTo(x, R.Bottom + 4);
      break;
    default: break;
  }
  const bool last = ARow >= RowCount() - 1;
  TCellProperties* next = last ? nullptr : Props(0, ARow + 1);
  const int nextLevel = next ? next->NodeLevel : 0;
  for (int i = 1; i <= level; ++i) {
    const int xi = x - i * indent;
    Canvas->MoveTo(xi, R.Top);
    Canvas->LineTo(xi, mid);
    if (!last && nextLevel != 0) {
      Canvas->LineTo(xi, R.Bottom + 4);
    } else if (i < level) {
      Canvas->LineTo(x - (i - 1) * indent, mid);
    }
  }
  pen->SetStyle(psSolid);
}
