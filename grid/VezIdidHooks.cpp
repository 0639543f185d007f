// VezIdid, per-cell hooks that print, hint and edit ask: the hint text, the printed
// borders, the editor kind of a cell's static look, whether a cell is fixed or may be
// edited, and the look a new cell-properties object starts from.
#include "foundation/DizHintInfo.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"

void TDavEvadurAvuz::GetCellHint(int ACol, int ARow, std::string& Hint, std::u16string& WideHint) {
  if (OnGridHint) {
    OnGridHint(this, ARow, ACol, Hint);
    if (auto* info = dynamic_cast<TDizHintInfo*>(FOfficeHint.get())) info->Notes()->SetText(Hint);
  }
  if (OnGridWideHint) {
    OnGridWideHint(this, ARow, ACol, WideHint);
    if (!WideHint.empty()) Hint = EncodeWideStr(WideHint);
  }
  if (OnOfficeHint) OnOfficeHint(this, ACol, ARow, FOfficeHint.get());
}

void TDavEvadurAvuz::GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
  if (OnGetCellPrintBorder) OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TDavEvadurAvuz::GetStaticCellEditor(int ACol, int ARow, TEditorType& AEditor) {
  if (OnGetEditorType) OnGetEditorType(this, ACol, ARow, AEditor);
}

void TDavEvadurAvuz::GetCellFixed(int ACol, int ARow, bool& IsFixedCell) {
  if (!IsFixedCell) {
    IsFixedCell = ACol < GetFixedColsEx() || ARow < GetFixedRowsEx() ||
                  (FixedRowAlways && RowCount() == FRememberedFixedRows) ||
                  (FixedColAlways && ACol < FRememberedFixedCols && ColCount() == FRememberedFixedCols);
  }
  if (!IsFixedCell && OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, IsFixedCell);
}

void TDavEvadurAvuz::DoCanEditCell(int ACol, int ARow, bool& CanEdit) {
  if (OnCanEditCell) OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TDavEvadurAvuz::GetDefaultProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                     TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign,
                                     TVAlignment& VAlign, bool& WW, TCellGradientDirection& GD) {
  TBaseGrid::GetDefaultProps(ACol, ARow, AFont, ABrush, ColorTo, MirrorColor, MirrorColorTo, HAlign, VAlign, WW, GD);
  TGridDrawState state;
  GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, ColorTo, MirrorColor, MirrorColorTo, AFont,
                      HAlign, VAlign, WW, GD);
  const TBackGroundDisplay bd = FBackGround->Display();
  if (IsFixed(ACol, ARow) || FBands->Active() || bd == bdGradientHorz || bd == bdGradientVert ||
      state.Contains(gdSelected)) {
    ABrush->SetColor(clNone);
    ColorTo = clNone;
  }
}
