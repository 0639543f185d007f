// VezIdid, the published surface: reflection of every property and event, the column and
// row header lists, the lookup list, the fixed font and the merged-columns list.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"

static const TEnumInfo* GridLookNames = RegisterEnum(
    "TGridLook", {"glStandard", "glSoft", "glClassic", "glZAD", "glXP", "glListView", "glVista", "glWin7",
                  "glOffice2007", "glCustom"});
static const TEnumInfo* ScrollBarAlwaysNames = RegisterEnum("TScrollBarAlways", {"saNone", "saVert", "saHorz", "saBoth"});
static const TEnumInfo* ScrollTypeNames = RegisterEnum("TScrollType", {"ssNormal", "ssFlat", "ssEncarta"});
static const TEnumInfo* ScrollHintNames =
    RegisterEnum("TScrollHintType", {"shNone", "shVertical", "shHorizontal", "shBoth"});
static const TEnumInfo* IntelliPanNames = RegisterEnum("TIntelliPan", {"ipVertical", "ipHorizontal", "ipBoth", "ipNone"});
static const TEnumInfo* InvalidEntryIconNames =
    RegisterEnum("TInvalidEntryIcon", {"ieNone", "ieInfo", "ieWarning", "ieError"});
static const TEnumInfo* HoverFixedCellsNames =
    RegisterEnum("THoverFixedCells", {"hfNone", "hfAll", "hfFixedRows", "hfFixedColumns"});
static const TEnumInfo* GridScrollStyleNames =
    RegisterEnum("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});


void TDavEvadurAvuz::Publish(TClassBuilder<TDavEvadurAvuz>& P) {
  using G = TDavEvadurAvuz;
  const TIntConsts* colors = ColorConsts();
  P  // Owned settings objects.
      .Object("Balloon", &G::Balloon, &G::SetBalloon)
      .Object("Bands", &G::Bands, &G::SetBands)
      .Object("BackGround", &G::BackGround, &G::SetBackGround)
      .Object("CellNode", &G::CellNode, &G::SetCellNode)
      .Object("ColumnSize", &G::ColumnSize, &G::SetColumnSize)
      .Object("ControlLook", &G::ControlLook, &G::SetControlLook)
      .Object("DragDropSettings", &G::DragDropSettings, &G::SetDragDropSettings)
      .Object("DragScrollOptions", &G::DragScrollOptions, &G::SetDragScrollOptions)
      .Object("Filter", &G::Filter, &G::SetFilter)
      .Object("FilterDropDown", &G::FilterDropDown, &G::SetFilterDropDown)
      .Object("FloatingFooter", &G::FloatingFooter, &G::SetFloatingFooter)
      .Object("Grouping", &G::Grouping, &G::SetGrouping)
      .Object("HTMLSettings", &G::HTMLSettings, &G::SetHTMLSettings)
      .Object("MouseActions", &G::MouseActions, &G::SetMouseActions)
      .Object("Navigation", &G::Navigation, &G::SetNavigation)
      .Object("OfficeHint", &G::OfficeHint, &G::SetOfficeHint)
      .Object("PrintSettings", &G::PrintSettings, &G::SetPrintSettings)
      .Object("ProgressAppearance", &G::ProgressAppearance, &G::SetProgressAppearance)
      .Object("SearchFooter", &G::SearchFooter, &G::SetSearchFooter)
      .Object("ShowModified", &G::ShowModified, &G::SetShowModified)
      .Object("SizeWhileTyping", &G::SizeWhileTyping)
      .Object("SortSettings", &G::SortSettings, &G::SetSortSettings)
      // Owned fonts, lists and pictures.
      .Object("ActiveCellFont", &G::ActiveCellFont, &G::SetActiveCellFont)
      .Object("FixedFont", &G::FixedFont, &G::SetFixedFont)
      .Object("ColumnHeaders", &G::ColumnHeaders, &G::SetColumnHeaders)
      .Object("RowHeaders", &G::RowHeaders, &G::SetRowHeaders)
      .Object("LookupItems", &G::LookupItems, &G::SetLookupItems)
      .Object("RowIndicator", &G::RowIndicator, &G::SetRowIndicator)
      // References.
      .Component("CellChecker", &G::CellChecker, &G::SetCellChecker)
      .Component("FixedDropDownMenu", &G::FixedDropDownMenu, &G::SetFixedDropDownMenu)
      .Component("GridImages", &G::GridImages, &G::SetGridImages)
      .Component("PictureContainer", &G::PictureContainer, &G::SetPictureContainer)
      // Structure and sizes.
      .Int("ColCount", &G::GetColCountEx, &G::SetColCountEx, 5)
      .Int("RowCount", &G::GetRowCountEx, &G::SetRowCountEx, 10)
      .Int("FixedCols", &G::GetFixedColsEx, &G::SetFixedColsEx, 1)
      .Int("FixedRows", &G::GetFixedRowsEx, &G::SetFixedRowsEx, 1)
      .Int("FixedColWidth", &G::GetFixedColWidth, &G::SetFixedColWidth, 64)
      .Int("FixedRowHeight", &G::FixedRowHeight, &G::SetFixedRowHeight, 21)
      .Int("DefaultRowHeight", &G::GetDefRowHeightEx, &G::SetDefRowHeightEx, 22)
      .Int("FixedFooters", &G::FixedFooters, &G::SetFixedFooters, 0)
      .Int("FixedRightCols", &G::FixedRightCols, &G::SetFixedRightCols, 0)
      .Bool("FixedRowAlways", &G::FixedRowAlways, &G::FixedRowAlways, false)
      .Bool("FixedColAlways", &G::FixedColAlways, &G::FixedColAlways, false)
      .Bool("AutoSize", &G::AutoSize, &G::SetAutoSizeP, false)
      .Bool("SizeWithForm", &G::SizeWithForm, &G::SizeWithForm, false)
      .Bool("IntegralHeight", &G::IntegralHeight, &G::SetIntegralHeight, false)
      // Selection and active cell.
      .Bool("ActiveCellShow", &G::ActiveCellShow, &G::SetActiveCellShow, false)
      .Int("ActiveCellColor", &G::ActiveCellColor, &G::SetActiveCellColor, 0x808080).Consts(colors)
      .Int("ActiveCellColorTo", &G::ActiveCellColorTo, &G::SetActiveCellColorTo, clNone).Consts(colors)
      .Int("SelectionColor", &G::SelectionColor, &G::SetSelectionColor, 0xEACAB6).Consts(colors)
      .Int("SelectionColorTo", &G::SelectionColorTo, &G::SetSelectionColorTo, clNone).Consts(colors)
      .Int("SelectionMirrorColor", &G::SelectionMirrorColor, &G::SetSelectionMirrorColor, clNone).Consts(colors)
      .Int("SelectionMirrorColorTo", &G::SelectionMirrorColorTo, &G::SetSelectionMirrorColorTo, clNone)
      .Consts(colors)
      .Int("SelectionTextColor", &G::SelectionTextColor, &G::SetSelectionTextColor, 0).Consts(colors)
      .Bool("SelectionRectangle", &G::SelectionRectangle, &G::SelectionRectangle, false)
      .Bool("SelectionResizer", &G::SelectionResizer, &G::SelectionResizer, false)
      .Bool("SelectionRTFKeep", &G::SelectionRTFKeep, &G::SelectionRTFKeep, false)
      .Bool("ShowSelection", &G::ShowSelection, &G::SetShowSelection, true)
      .Bool("HideFocusRect", &G::HideFocusRect, &G::HideFocusRect, false)
      // Text, mark-up and links.
      .Bool("EnableHTML", &G::EnableHTML, &G::EnableHTML, true)
      .Bool("EditWithTags", &G::EditWithTags, &G::EditWithTags, false)
      .Bool("AnchorHint", &G::AnchorHint, &G::AnchorHint, false)
      .Int("URLColor", &G::URLColor, &G::SetURLColor, 0xFF0000).Consts(colors)
      .Bool("URLShow", &G::URLShow, &G::SetURLShow, false)
      .Bool("URLShowInText", &G::URLShowInText, &G::SetURLShowInText, false)
      .Bool("URLFull", &G::URLFull, &G::URLFull, false)
      .Bool("URLEdit", &G::URLEdit, &G::URLEdit, false)
      .Enum("VAlignment", VAlignmentNames, &G::VAlignment, &G::VAlignment, vtaTop)
      .Bool("WordWrap", &G::WordWrap, &G::SetWordWrapEx, true)
      .Bool("Multilinecells", &G::Multilinecells, &G::Multilinecells, false)
      .Bool("AutoNumAlign", &G::AutoNumAlign, &G::AutoNumAlign, false)
      .Bool("EnhTextSize", &G::EnhTextSize, &G::EnhTextSize, false)
      .Str("FloatFormat", &G::FloatFormat, &G::FloatFormat)
      .Bool("ExcelStyleDecimalSeparator", &G::ExcelStyleDecimalSeparator, &G::ExcelStyleDecimalSeparator, false)
      .Bool("OemConvert", &G::OemConvert, &G::OemConvert, false)
      // Hints.
      .Int("HintColor", &G::HintColor, &G::HintColor, clInfoBk).Consts(colors)
      .Bool("HintShowCells", &G::HintShowCells, &G::HintShowCells, false)
      .Bool("HintShowLargeText", &G::HintShowLargeText, &G::HintShowLargeText, false)
      .Bool("HintShowSizing", &G::HintShowSizing, &G::HintShowSizing, false)
      .Bool("HTMLHint", &G::HTMLHint, &G::HTMLHint, false)
      // Scrolling and wheel.
      .Enum("ScrollBars", GridScrollStyleNames, &G::GetScrollBarsEx, &G::SetScrollBarsEx, ssBoth)
      .Enum("ScrollBarAlways", ScrollBarAlwaysNames, &G::ScrollBarAlways, &G::ScrollBarAlways, saNone)
      .Int("ScrollColor", &G::ScrollColor, &G::SetScrollColor, clNone).Consts(colors)
      .Bool("ScrollProportional", &G::ScrollProportional, &G::ScrollProportional, false)
      .Bool("ScrollSynch", &G::ScrollSynch, &G::ScrollSynch, false)
      .Enum("ScrollType", ScrollTypeNames, &G::ScrollType, &G::SetScrollType, ssNormal)
      .Int("ScrollWidth", &G::ScrollWidth, &G::SetScrollWidth, 17)
      .Enum("ScrollHints", ScrollHintNames, &G::ScrollHints, &G::ScrollHints, shNone)
      .Bool("EnableWheel", &G::EnableWheel, &G::EnableWheel, true)
      .Enum("IntelliPan", IntelliPanNames, &G::IntelliPan, &G::IntelliPan, ipVertical)
      .Bool("IntelliZoom", &G::IntelliZoom, &G::IntelliZoom, true)
      // Editing.
      .Enum("DefaultEditor", EditorTypeNames, &G::DefaultEditor, &G::DefaultEditor, edNormal)
      .Bool("Lookup", &G::Lookup, &G::Lookup, false)
      .Bool("LookupCaseSensitive", &G::LookupCaseSensitive, &G::LookupCaseSensitive, false)
      .Bool("LookupHistory", &G::LookupHistory, &G::LookupHistory, false)
      .Int("MaxEditLength", &G::MaxEditLength, &G::MaxEditLength, 0)
      .Int("MaxComboLength", &G::MaxComboLength, &G::MaxComboLength, 0)
      .Str("ValidChars", &G::ValidChars, &G::ValidChars)
      .Str("InvalidEntryTitle", &G::InvalidEntryTitle, &G::InvalidEntryTitle)
      .Str("InvalidEntryText", &G::InvalidEntryText, &G::InvalidEntryText)
      .Enum("InvalidEntryIcon", InvalidEntryIconNames, &G::InvalidEntryIcon, &G::InvalidEntryIcon, ieWarning)
      // Filtering.
      .Bool("FilterActive", &G::FilterActive, &G::FilterActive, false)
      .Bool("FilterDropDownAuto", &G::FilterDropDownAuto, &G::FilterDropDownAuto, false)
      .Str("FilterDropDownClear", &G::FilterDropDownClear, &G::FilterDropDownClear)
      .Int("FilterDropDownRow", &G::FilterDropDownRow, &G::FilterDropDownRow, 0)
      .Bool("AutoFilterUpdate", &G::AutoFilterUpdate, &G::AutoFilterUpdate, true)
      // Look and behaviour.
      .Enum("Look", GridLookNames, &G::Look, &G::SetLook, glXP)
      .Bool("AutoThemeAdapt", &G::AutoThemeAdapt, &G::SetAutoThemeAdapt, false)
      .Bool("Flat", &G::Flat, &G::Flat, false)
      .Bool("FixedAsButtons", &G::FixedAsButtons, &G::FixedAsButtons, false)
      .Bool("Hovering", &G::Hovering, &G::Hovering, false)
      .Enum("HoverFixedCells", HoverFixedCellsNames, &G::HoverFixedCells, &G::HoverFixedCells, hfNone)
      .Bool("EnableBlink", &G::EnableBlink, &G::EnableBlink, false)
      .Bool("EnhRowColMove", &G::EnhRowColMove, &G::EnhRowColMove, true)
      .Bool("ShowDesignHelper", &G::ShowDesignHelper, &G::ShowDesignHelper, true)
      .Int("Cursor", &G::GridCursor, &G::SetGridCursor, crDefault)
      .Consts(GetPropInfo(TControl::StaticClass(), "Cursor")->Consts)
      .Str("Version", &G::Version, &G::SetVersion)
      .Stored(false)
      // Events.
      .Event("OnResize", &G::OnResize)
      .Event("OnCustomCellDraw", &G::OnCustomCellDraw)
      .Event("OnCustomCellSize", &G::OnCustomCellSize)
      .Event("OnGetCellColor", &G::OnGetCellColor)
      .Event("OnGetCellGradient", &G::OnGetCellGradient)
      .Event("OnGetCellPrintColor", &G::OnGetCellPrintColor)
      .Event("OnGetCellBorder", &G::OnGetCellBorder)
      .Event("OnGetCellPrintBorder", &G::OnGetCellPrintBorder)
      .Event("OnGetCellBorderProp", &G::OnGetCellBorderProp)
      .Event("OnGetAlignment", &G::OnGetAlignment)
      .Event("OnGetWordWrap", &G::OnGetWordWrap)
      .Event("OnGetFormat", &G::OnGetFormat)
      .Event("OnGetFloatFormat", &G::OnGetFloatFormat)
      .Event("OnGetCheckTrue", &G::OnGetCheckTrue)
      .Event("OnGetCheckFalse", &G::OnGetCheckFalse)
      .Event("OnFooterPaint", &G::OnFooterPaint)
      .Event("OnFooterCalc", &G::OnFooterCalc)
      .Event("OnGroupCalc", &G::OnGroupCalc)
      .Event("OnGridHint", &G::OnGridHint)
      .Event("OnGridWideHint", &G::OnGridWideHint)
      .Event("OnOfficeHint", &G::OnOfficeHint)
      .Event("OnCellBalloon", &G::OnCellBalloon)
      .Event("OnScrollHint", &G::OnScrollHint)
      .Event("OnAnchorHint", &G::OnAnchorHint)
      .Event("OnAutoAdvance", &G::OnAutoAdvance)
      .Event("OnRowChanging", &G::OnRowChanging)
      .Event("OnColChanging", &G::OnColChanging)
      .Event("OnCellChanging", &G::OnCellChanging)
      .Event("OnRowUpdate", &G::OnRowUpdate)
      .Event("OnRowDisjunctSelect", &G::OnRowDisjunctSelect)
      .Event("OnRowDisjunctSelected", &G::OnRowDisjunctSelected)
      .Event("OnSelectionChanged", &G::OnSelectionChanged)
      .Event("OnSelectionResize", &G::OnSelectionResize)
      .Event("OnSelectionResized", &G::OnSelectionResized)
      .Event("OnScrollCell", &G::OnScrollCell)
      .Event("OnDragScroll", &G::OnDragScroll)
      .Event("OnClickCell", &G::OnClickCell)
      .Event("OnRightClickCell", &G::OnRightClickCell)
      .Event("OnDblClickCell", &G::OnDblClickCell)
      .Event("OnCanClickCell", &G::OnCanClickCell)
      .Event("OnClickSort", &G::OnClickSort)
      .Event("OnCanSort", &G::OnCanSort)
      .Event("OnFixedDropDownClick", &G::OnFixedDropDownClick)
      .Event("OnDropDownHeaderButtonClick", &G::OnDropDownHeaderButtonClick)
      .Event("OnDropDownFooterButtonClick", &G::OnDropDownFooterButtonClick)
      .Event("OnAnchorClick", &G::OnAnchorClick)
      .Event("OnAnchorEnter", &G::OnAnchorEnter)
      .Event("OnAnchorExit", &G::OnAnchorExit)
      .Event("OnCanAddRow", &G::OnCanAddRow)
      .Event("OnAutoAddRow", &G::OnAutoAddRow)
      .Event("OnCanInsertRow", &G::OnCanInsertRow)
      .Event("OnAutoInsertRow", &G::OnAutoInsertRow)
      .Event("OnAutoInsertCol", &G::OnAutoInsertCol)
      .Event("OnCanDeleteRow", &G::OnCanDeleteRow)
      .Event("OnAutoDeleteRow", &G::OnAutoDeleteRow)
      .Event("OnExpandNode", &G::OnExpandNode)
      .Event("OnContractNode", &G::OnContractNode)
      .Event("OnBeforeExpandNode", &G::OnBeforeExpandNode)
      .Event("OnBeforeContractNode", &G::OnBeforeContractNode)
      .Event("OnCustomCompare", &G::OnCustomCompare)
      .Event("OnRawCompare", &G::OnRawCompare)
      .Event("OnCustomFilter", &G::OnCustomFilter)
      .Event("OnGetColumnFilter", &G::OnGetColumnFilter)
      .Event("OnFilterSelect", &G::OnFilterSelect)
      .Event("OnFilterDone", &G::OnFilterDone)
      .Event("OnFilterProgress", &G::OnFilterProgress)
      .Event("OnSearchEditChange", &G::OnSearchEditChange)
      .Event("OnSearchFooterAction", &G::OnSearchFooterAction)
      .Event("OnSearchFooterClose", &G::OnSearchFooterClose)
      .Event("OnCreatedSearchFooter", &G::OnCreatedSearchFooter)
      .Event("OnCreatedFloatingFooter", &G::OnCreatedFloatingFooter)
      .Event("OnCanEditCell", &G::OnCanEditCell)
      .Event("OnIsFixedCell", &G::OnIsFixedCell)
      .Event("OnIsPasswordCell", &G::OnIsPasswordCell)
      .Event("OnGetEditorType", &G::OnGetEditorType)
      .Event("OnGetEditorProp", &G::OnGetEditorProp)
      .Event("OnHasComboBox", &G::OnHasComboBox)
      .Event("OnHasSpinEdit", &G::OnHasSpinEdit)
      .Event("OnEditingDone", &G::OnEditingDone)
      .Event("OnEditCellDone", &G::OnEditCellDone)
      .Event("OnEditChange", &G::OnEditChange)
      .Event("OnCellValidate", &G::OnCellValidate)
      .Event("OnCellValidateWide", &G::OnCellValidateWide)
      .Event("OnSetEditWideText", &G::OnSetEditWideText)
      .Event("OnGetEditWideText", &G::OnGetEditWideText)
      .Event("OnCustomStrToDate", &G::OnCustomStrToDate)
      .Event("OnEllipsClick", &G::OnEllipsClick)
      .Event("OnWideEllipsClick", &G::OnWideEllipsClick)
      .Event("OnButtonClick", &G::OnButtonClick)
      .Event("OnCheckBoxChange", &G::OnCheckBoxChange)
      .Event("OnCheckBoxClick", &G::OnCheckBoxClick)
      .Event("OnCheckBoxMouseUp", &G::OnCheckBoxMouseUp)
      .Event("OnRadioClick", &G::OnRadioClick)
      .Event("OnRadioMouseUp", &G::OnRadioMouseUp)
      .Event("OnRadioButtonClick", &G::OnRadioButtonClick)
      .Event("OnRatingChange", &G::OnRatingChange)
      .Event("OnColorSelected", &G::OnColorSelected)
      .Event("OnColorSelect", &G::OnColorSelect)
      .Event("OnImageSelected", &G::OnImageSelected)
      .Event("OnImageSelect", &G::OnImageSelect)
      .Event("OnComboChange", &G::OnComboChange)
      .Event("OnComboCloseUp", &G::OnComboCloseUp)
      .Event("OnComboObjectChange", &G::OnComboObjectChange)
      .Event("OnSpinClick", &G::OnSpinClick)
      .Event("OnFloatSpinClick", &G::OnFloatSpinClick)
      .Event("OnTimeSpinClick", &G::OnTimeSpinClick)
      .Event("OnDateSpinClick", &G::OnDateSpinClick)
      .Event("OnDatePickerCloseUp", &G::OnDatePickerCloseUp)
      .Event("OnDatePickerDropDown", &G::OnDatePickerDropDown)
      .Event("OnDateTimeChange", &G::OnDateTimeChange)
      .Event("OnRichEditSelectionChange", &G::OnRichEditSelectionChange)
      .Event("OnControlClick", &G::OnControlClick)
      .Event("OnControlEditDone", &G::OnControlEditDone)
      .Event("OnControlComboList", &G::OnControlComboList)
      .Event("OnControlComboSelect", &G::OnControlComboSelect)
      .Event("OnClipboardPaste", &G::OnClipboardPaste)
      .Event("OnClipboardCopy", &G::OnClipboardCopy)
      .Event("OnClipboardCut", &G::OnClipboardCut)
      .Event("OnClipboardBeforePasteCell", &G::OnClipboardBeforePasteCell)
      .Event("OnClipboardBeforePasteWideCell", &G::OnClipboardBeforePasteWideCell)
      .Event("OnClipboardAfterPasteCell", &G::OnClipboardAfterPasteCell)
      .Event("OnClipboardAfterPasteWideCell", &G::OnClipboardAfterPasteWideCell)
      .Event("OnOleDrop", &G::OnOleDrop)
      .Event("OnOleDropped", &G::OnOleDropped)
      .Event("OnOleDrag", &G::OnOleDrag)
      .Event("OnOleDragOver", &G::OnOleDragOver)
      .Event("OnOleDragStart", &G::OnOleDragStart)
      .Event("OnOleDragStop", &G::OnOleDragStop)
      .Event("OnOleDropCol", &G::OnOleDropCol)
      .Event("OnOleDropFile", &G::OnOleDropFile)
      .Event("OnOleDropURL", &G::OnOleDropURL)
      .Event("OnPrintStart", &G::OnPrintStart)
      .Event("OnPrintCancel", &G::OnPrintCancel)
      .Event("OnPrintPage", &G::OnPrintPage)
      .Event("OnPrintPageDone", &G::OnPrintPageDone)
      .Event("OnPrintNewPage", &G::OnPrintNewPage)
      .Event("OnPrintSetColumnWidth", &G::OnPrintSetColumnWidth)
      .Event("OnPrintSetRowHeight", &G::OnPrintSetRowHeight)
      .Event("OnFitToPage", &G::OnFitToPage)
      .Event("OnColumnSize", &G::OnColumnSize)
      .Event("OnColumnSizing", &G::OnColumnSizing)
      .Event("OnColumnMove", &G::OnColumnMove)
      .Event("OnColumnMoving", &G::OnColumnMoving)
      .Event("OnRowSize", &G::OnRowSize)
      .Event("OnRowSizing", &G::OnRowSizing)
      .Event("OnRowMove", &G::OnRowMove)
      .Event("OnRowMoving", &G::OnRowMoving)
      .Event("OnEndColumnSize", &G::OnEndColumnSize)
      .Event("OnUpdateColumnSize", &G::OnUpdateColumnSize)
      .Event("OnEndRowSize", &G::OnEndRowSize)
      .Event("OnCellsChanged", &G::OnCellsChanged)
      .Event("OnFileProgress", &G::OnFileProgress)
      .Event("OnSaveCell", &G::OnSaveCell)
      .Event("OnLoadCell", &G::OnLoadCell)
      ;
}

static const bool kVezIdidRegistered = [] {
  RegisterClasses({TDavEvadurAvuz::StaticClass(), TBaseGrid::StaticClass()});
  return true;
}();

// ---------------------------------------------------------------------------------------
// Header lists.
void TDavEvadurAvuz::SetColumnHeaders(TStrings* Value) {
  auto change = FColumnHeaders->OnChange;
  FColumnHeaders->OnChange = nullptr;
  FColumnHeaders->Assign(Value);
  FColumnHeaders->OnChange = change;
  if (TCustomGrid::FixedRows() > 0) ClearColumnHeaders();
  ShowColumnHeaders();
}

void TDavEvadurAvuz::ClearColumnHeaders() {
  for (int c = 0; c < ColCount(); ++c) SetCellEx(c, 0, "");
}

void TDavEvadurAvuz::ShowColumnHeaders() {
  if (TCustomGrid::FixedRows() <= 0) return;
  int n = std::min(FColumnHeaders->Count(), TotalColCount());
  for (int i = 0; i < n; ++i) SetCellEx(i, 0, CLFToLF(FColumnHeaders->Get(i)));
}

void TDavEvadurAvuz::ColHeaderChanged(TObject*) {
  UpdateColHeaders();
  ShowColumnHeaders();
}

void TDavEvadurAvuz::SetRowHeaders(TStrings* Value) {
  auto change = FRowHeaders->OnChange;
  FRowHeaders->OnChange = nullptr;
  FRowHeaders->Assign(Value);
  FRowHeaders->OnChange = change;
  if (Designing() && TCustomGrid::FixedCols() > 0) ClearRowHeaders();
  ShowRowHeaders();
}

void TDavEvadurAvuz::ClearRowHeaders() {
  for (int r = 0; r < RowCount(); ++r) SetCellEx(0, r, "");
}

void TDavEvadurAvuz::ShowRowHeaders() {
  if (TCustomGrid::FixedCols() <= 0) return;
  int n = std::min(FRowHeaders->Count(), RowCount());
  for (int i = 0; i < n; ++i) SetCellEx(0, i, CLFToLF(FRowHeaders->Get(i)));
}

void TDavEvadurAvuz::RowHeaderChanged(TObject*) { ShowRowHeaders(); }

void TDavEvadurAvuz::SetLookupItems(TStrings* Value) {
  if (Value) FLookupItems->Assign(Value);
}

void TDavEvadurAvuz::SetFixedFont(TFont* Value) {
  FFixedFont->Assign(Value);
  Invalidate();
}

// Columns named by the merged-columns list have their equal neighbouring cells merged;
// every change splits all such merges first.
void TDavEvadurAvuz::MergedColumnsChanged(TObject*, int, int) {
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r)
      if (IsMergedCell(c, r) && BaseCell(c, r).Y != r) SplitCells(c, r);
  for (int i = 0; i < FMergedColumns->Count(); ++i) {
    int c = FMergedColumns->GetInteger(i);
    if (c < 0 || c >= ColCount()) continue;
    int r = TCustomGrid::FixedRows();
    while (r < RowCount()) {
      int end = r;
      while (end + 1 < RowCount() && GetCellEx(c, end + 1) == GetCellEx(c, r)) ++end;
      if (end > r) MergeCells(c, r, 1, end - r + 1);
      r = end + 1;
    }
  }
}
