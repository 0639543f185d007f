// VezIdid, option and settings classes: reflection, Assign and the setters that repaint
// the grid or call its hooks.
#include "grid/VezIdidOptions.h"

#include "grid/VezIdid.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysUtils.h"

void CopyPublishedProps(TPersistent* Dest, TPersistent* Source) {
  if (!Source || !Dest || Source->ClassType() != Dest->ClassType()) return;
  for (const TPropInfo* p : GetPropList(Dest->ClassType())) {
    switch (p->Kind) {
      case tkInteger: case tkChar: case tkEnumeration: case tkSet: case tkInt64:
        if (p->SetOrd) p->SetOrd(Dest, p->GetOrd(Source));
        break;
      case tkFloat:
        if (p->SetFloat) p->SetFloat(Dest, p->GetFloat(Source));
        break;
      case tkString:
        if (p->SetStr) p->SetStr(Dest, p->GetStr(Source));
        break;
      case tkWString:
        if (p->SetWStr) p->SetWStr(Dest, p->GetWStr(Source));
        break;
      case tkClass:
        if (!p->IsReference) {
          auto* d = dynamic_cast<TPersistent*>(p->GetObj(Dest));
          auto* s = dynamic_cast<TPersistent*>(p->GetObj(Source));
          if (d && s) d->Assign(s);
        } else if (p->SetObj) {
          p->SetObj(Dest, p->GetObj(Source));
        }
        break;
      default: break;
    }
  }
}

// A scope in which the option object does not call back into the grid.
namespace {
// Runs Copy with the settings object cut off from its grid, so that the write operations
// the copy goes through neither repaint nor hand values to the grid nor check against it.
template <class F>
void WithoutGrid(TDavEvadurAvuz*& Grid, F Copy) {
  TDavEvadurAvuz* grid = Grid;
  Grid = nullptr;
  try {
    Copy();
  } catch (...) {
    Grid = grid;
    throw;
  }
  Grid = grid;
}
// The same with an event that must stay silent while copying.
template <class E, class F>
void WithoutEvent(E& Event, F Copy) {
  E saved = std::move(Event);
  Event = nullptr;
  try {
    Copy();
  } catch (...) {
    Event = std::move(saved);
    throw;
  }
  Event = std::move(saved);
}
struct TAssigning {
  explicit TAssigning(bool& Flag) : F(Flag) { F = true; }
  ~TAssigning() { F = false; }
  bool& F;
};
}  // namespace

// ---------------------------------------------------------------------------------------
// Reflection.
static const TEnumInfo* NodeTypeNames = RegisterEnum("TNodeType", {"cnFlat", "cn3D", "cnGlyph", "cnLeaf", "cnXP"});
static const TEnumInfo* FixedCellEditNames =
    RegisterEnum("TGridFixedCellEdit", {"fceNone", "fceDblClick", "fceLeftClick", "fceRightClick"});
static const TEnumInfo* WheelActionNames = RegisterEnum("TWheelAction", {"waMoveSelection", "waScroll"});
static const TEnumInfo* AutoSizeRowsNames = RegisterEnum("TAutoSizeRows", {"arAll", "arNormal", "arFixed"});
static const TEnumInfo* ColumnSizeLocationNames = RegisterEnum("TColumnSizeLocation", {"clRegistry", "clIniFile"});
static const TEnumInfo* AdvanceDirectionNames = RegisterEnum("TAdvanceDirection", {"adLeftRight", "adTopBottom"});
static const TEnumInfo* InsertPositionNames = RegisterEnum("TInsertPosition", {"pInsertBefore", "pInsertAfter"});
static const TEnumInfo* PasteActionNames = RegisterEnum("TClipboardPasteAction", {"paReplace", "paInsert"});
static const TEnumInfo* HomeEndNames = RegisterEnum("THomeEndAction", {"heFirstLastColumn", "heFirstLastRow"});
static const TEnumInfo* PrintPositionNames = RegisterEnum(
    "TPrintPosition", {"ppNone", "ppTopLeft", "ppTopRight", "ppTopCenter", "ppBottomLeft", "ppBottomRight", "ppBottomCenter"});
static const TEnumInfo* PrintBordersNames =
    RegisterEnum("TPrintBorders", {"pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal", "pbAround",
                                   "pbAroundVertical", "pbAroundHorizontal", "pbCustom"});
static const TEnumInfo* PrintPenStyleNames = RegisterEnum(
    "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
static const TEnumInfo* OrientationNames = RegisterEnum("TPrinterOrientation", {"poPortrait", "poLandscape"});
static const TEnumInfo* FitToPageNames = RegisterEnum("TFitToPage", {"fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom"});
static const TEnumInfo* SortDirectionNames = RegisterEnum("TSortDirection", {"sdAscending", "sdDescending"});
static const TEnumInfo* BlankPosNames = RegisterEnum("TSortBlankPosition", {"blFirst", "blLast"});
static const TEnumInfo* FilterCellsNames =
    RegisterEnum("TFilterCells", {"fcVirtual", "fcNormal", "fcStripHTML", "fcCalculated", "fcRow"});
static const TEnumInfo* FilterOperationNames =
    RegisterEnum("TFilterOperation", {"foSHORT", "foNONE", "foAND", "foXOR", "foOR"});
static const TEnumInfo* FooterStyleNames =
    RegisterEnum("TFooterStyle", {"fsFixedLastRow", "fsColumnPreview", "fsCustomPreview"});
static const TEnumInfo* SearchDirectionNames = RegisterEnum("TSearchDirection", {"sdTopBottom", "sdLeftRight"});
static const TEnumInfo* ControlStyleNames =
    RegisterEnum("TControlStyle", {"csClassic", "csFlat", "csWinXP", "csBorland", "csZAD", "csGlyph", "csTheme"});
static const TEnumInfo* BackGroundDisplayNames =
    RegisterEnum("TBackGroundDisplay", {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"});
static const TEnumInfo* BackGroundCellsNames = RegisterEnum("TBackGroundCells", {"bcNormal", "bcFixed", "bcAll"});

static const TIntConsts* Colors() { return ColorConsts(); }

void TCellNode::Publish(TClassBuilder<TCellNode>& P) {
  P.Int("Color", &TCellNode::Color, &TCellNode::Color, 0xC0C0C0).Consts(Colors())
      .Bool("ExpandOne", &TCellNode::ExpandOne, &TCellNode::ExpandOne, false)
      .Enum("NodeType", NodeTypeNames, &TCellNode::NodeType, &TCellNode::SetNodeType, cnXP)
      .Int("NodeColor", &TCellNode::NodeColor, &TCellNode::NodeColor, 0).Consts(Colors())
      .Int("NodeIndent", &TCellNode::NodeIndent, &TCellNode::SetNodeIndent, 12)
      .Object("ExpandGlyph", &TCellNode::ExpandGlyph, &TCellNode::SetExpandGlyph)
      .Object("ContractGlyph", &TCellNode::ContractGlyph, &TCellNode::SetContractGlyph)
      .Bool("ShowTree", &TCellNode::ShowTree, &TCellNode::SetShowTree, true)
      .Bool("ShowTreeFull", &TCellNode::ShowTreeFull, &TCellNode::SetShowTreeFull, true)
      .Int("TreeColor", &TCellNode::TreeColor, &TCellNode::SetTreeColor, 0x808080).Consts(Colors());
}

void TSizeWhileTyping::Publish(TClassBuilder<TSizeWhileTyping>& P) {
  P.Bool("Height", &TSizeWhileTyping::Height, &TSizeWhileTyping::Height, false)
      .Bool("Width", &TSizeWhileTyping::Width, &TSizeWhileTyping::Width, false);
}

#define MA_BOOL(Name, Default) .Bool(#Name, &TMouseActions::Name, &TMouseActions::Name, Default)
void TMouseActions::Publish(TClassBuilder<TMouseActions>& P) {
  P MA_BOOL(AllColumnSize, false) MA_BOOL(AllRowSize, false) MA_BOOL(AllSelect, false)
      MA_BOOL(AutoSizeColOnDblClick, true) MA_BOOL(CaretPositioning, false) MA_BOOL(CheckAllCheck, false)
      MA_BOOL(ColSelect, false) MA_BOOL(DirectComboClose, false) MA_BOOL(DirectComboDrop, false)
      MA_BOOL(DirectDateClose, false) MA_BOOL(DirectDateDrop, false) MA_BOOL(DirectEdit, false)
      .Bool("DisjunctRowSelect", &TMouseActions::DisjunctRowSelect, &TMouseActions::SetDisjunctRowSelect, false)
      MA_BOOL(DisjunctRowSelectNoCtrl, false)
      .Bool("DisjunctColSelect", &TMouseActions::DisjunctColSelect, &TMouseActions::SetDisjunctColSelect, false)
      .Bool("DisjunctCellSelect", &TMouseActions::DisjunctCellSelect, &TMouseActions::SetDisjunctCellSelect, false)
      .Bool("EditOnDblClickOnly", &TMouseActions::EditOnDblClickOnly, &TMouseActions::SetEditOnDblClickOnly, false)
      .Enum("FixedColsEdit", FixedCellEditNames, &TMouseActions::FixedColsEdit, &TMouseActions::FixedColsEdit, fceNone)
      .Enum("FixedRowsEdit", FixedCellEditNames, &TMouseActions::FixedRowsEdit, &TMouseActions::FixedRowsEdit, fceNone)
      .Bool("HotmailRowSelect", &TMouseActions::HotmailRowSelect, &TMouseActions::SetHotmailRowSelect, false)
      MA_BOOL(MoveRowOnNodeClick, false) MA_BOOL(NoAutoRangeScroll, false) MA_BOOL(NodeAllExpandContract, false)
      MA_BOOL(NoScrollOnPartialRow, false) MA_BOOL(PreciseCheckBoxCheck, false) MA_BOOL(PreciseNodeClick, true)
      MA_BOOL(RangeSelectAndEdit, false) MA_BOOL(RowSelect, false) MA_BOOL(RowSelectPersistent, false)
      MA_BOOL(SelectOnRightClick, false) MA_BOOL(SizeFixedCol, false) MA_BOOL(SizeFixedRow, false)
      .Enum("WheelAction", WheelActionNames, &TMouseActions::WheelAction, &TMouseActions::SetWheelAction,
            waMoveSelection)
      .Int("WheelIncrement", &TMouseActions::WheelIncrement, &TMouseActions::WheelIncrement, 0);
}
#undef MA_BOOL

void TColumnSize::Publish(TClassBuilder<TColumnSize>& P) {
  P.Enum("Rows", AutoSizeRowsNames, &TColumnSize::Rows, &TColumnSize::Rows, arAll)
      .Bool("Save", &TColumnSize::Save, &TColumnSize::Save, false)
      .Str("Key", &TColumnSize::Key, &TColumnSize::Key)
      .Str("Section", &TColumnSize::Section, &TColumnSize::Section)
      .Bool("Stretch", &TColumnSize::Stretch, &TColumnSize::SetStretch, false)
      .Int("StretchColumn", &TColumnSize::StretchColumn, &TColumnSize::StretchColumn, -1)
      .Bool("SynchWithGrid", &TColumnSize::SynchWithGrid, &TColumnSize::SynchWithGrid, false)
      .Bool("SynchNormalCellsOnly", &TColumnSize::SynchNormalCellsOnly, &TColumnSize::SynchNormalCellsOnly, false)
      .Enum("Location", ColumnSizeLocationNames, &TColumnSize::Location, &TColumnSize::Location, clRegistry);
}

#define NV_BOOL(Name, Default) .Bool(#Name, &TNavigation::Name, &TNavigation::Name, Default)
void TNavigation::Publish(TClassBuilder<TNavigation>& P) {
  P NV_BOOL(AllowInsertRow, false) NV_BOOL(AllowDeleteRow, false) NV_BOOL(AlwaysEdit, false)
      NV_BOOL(AdvanceOnEnter, false)
      .Bool("AdvanceInsert", &TNavigation::AdvanceInsert, &TNavigation::SetAdvanceInsert, false)
      NV_BOOL(AdvanceAutoEdit, true) NV_BOOL(AutoGotoWhenSorted, false) NV_BOOL(AutoGotoIncremental, false)
      NV_BOOL(AutoComboDropSize, false)
      .Enum("AdvanceDirection", AdvanceDirectionNames, &TNavigation::AdvanceDirection,
            &TNavigation::SetAdvanceDirection, adLeftRight)
      NV_BOOL(AllowClipboardShortCuts, false) NV_BOOL(AllowCtrlEnter, true) NV_BOOL(AllowSmartClipboard, false)
      NV_BOOL(AllowRTFClipboard, false) NV_BOOL(AllowFmtClipboard, false) NV_BOOL(AllowClipboardAlways, false)
      NV_BOOL(AllowClipboardRowGrow, true) NV_BOOL(AllowClipboardColGrow, true) NV_BOOL(AdvanceAuto, false)
      NV_BOOL(AppendOnArrowDown, false) NV_BOOL(EditSelectAll, true)
      .Enum("InsertPosition", InsertPositionNames, &TNavigation::InsertPosition, &TNavigation::InsertPosition,
            pInsertBefore)
      .Enum("ClipboardPasteAction", PasteActionNames, &TNavigation::ClipboardPasteAction,
            &TNavigation::ClipboardPasteAction, paReplace)
      NV_BOOL(CursorWalkEditor, false) NV_BOOL(CursorWalkAlwaysEdit, true) NV_BOOL(MoveRowOnSort, false)
      NV_BOOL(KeepScrollOnSort, false) NV_BOOL(MoveScrollOnly, false) NV_BOOL(ImproveMaskSel, false)
      NV_BOOL(LeftRightRowSelect, true) NV_BOOL(CopyHTMLTagsToClipboard, true) NV_BOOL(KeepHorizScroll, false)
      NV_BOOL(LineFeedOnEnter, false)
      .Enum("HomeEndKey", HomeEndNames, &TNavigation::HomeEndKey, &TNavigation::HomeEndKey, heFirstLastColumn)
      NV_BOOL(SkipFixedCells, true) NV_BOOL(TabToNextAtEnd, false)
      .Enum("TabAdvanceDirection", AdvanceDirectionNames, &TNavigation::TabAdvanceDirection,
            &TNavigation::TabAdvanceDirection, adLeftRight);
}
#undef NV_BOOL

void THTMLSettings::Publish(TClassBuilder<THTMLSettings>& P) {
  P.Bool("AutoPreview", &THTMLSettings::AutoPreview, &THTMLSettings::AutoPreview, false)
      .Int("BorderSize", &THTMLSettings::BorderSize, &THTMLSettings::BorderSize, 1)
      .Int("CellSpacing", &THTMLSettings::CellSpacing, &THTMLSettings::CellSpacing, 0)
      .Int("CellPadding", &THTMLSettings::CellPadding, &THTMLSettings::CellPadding, 0)
      .Bool("ConvertSpecialChars", &THTMLSettings::ConvertSpecialChars, &THTMLSettings::ConvertSpecialChars, false)
      .Bool("ExportImages", &THTMLSettings::ExportImages, &THTMLSettings::ExportImages, true)
      .Str("FooterFile", &THTMLSettings::FooterFile, &THTMLSettings::FooterFile)
      .Str("HeaderFile", &THTMLSettings::HeaderFile, &THTMLSettings::HeaderFile)
      .Bool("NonBreakingText", &THTMLSettings::NonBreakingText, &THTMLSettings::NonBreakingText, false)
      .Str("PrefixTag", &THTMLSettings::PrefixTag, &THTMLSettings::PrefixTag)
      .Bool("SaveColor", &THTMLSettings::SaveColor, &THTMLSettings::SaveColor, true)
      .Bool("SaveFonts", &THTMLSettings::SaveFonts, &THTMLSettings::SaveFonts, true)
      .Str("SuffixTag", &THTMLSettings::SuffixTag, &THTMLSettings::SuffixTag)
      .Str("Summary", &THTMLSettings::Summary, &THTMLSettings::Summary)
      .Str("TableStyle", &THTMLSettings::TableStyle, &THTMLSettings::TableStyle)
      .Int("Width", &THTMLSettings::Width, &THTMLSettings::Width, 100)
      .Bool("XHTML", &THTMLSettings::XHTML, &THTMLSettings::XHTML, false);
}

void TPrintSettings::Publish(TClassBuilder<TPrintSettings>& P) {
  using S = TPrintSettings;
  P.Int("FooterSize", &S::FooterSize, &S::FooterSize, 0)
      .Int("HeaderSize", &S::HeaderSize, &S::HeaderSize, 0)
      .Enum("Time", PrintPositionNames, &S::Time, &S::Time, ppNone)
      .Enum("Date", PrintPositionNames, &S::Date, &S::Date, ppNone)
      .Str("DateFormat", &S::DateFormat, &S::DateFormat, "dd/mm/yyyy")
      .Enum("PageNr", PrintPositionNames, &S::PageNr, &S::PageNr, ppNone)
      .Enum("Title", PrintPositionNames, &S::Title, &S::Title, ppNone)
      .Str("TitleText", &S::TitleText, &S::TitleText)
      .Object("TitleLines", &S::TitleLines, &S::SetTitleLines)
      .Object("Font", &S::Font, &S::SetFont)
      .Object("FixedFont", &S::FixedFont, &S::SetFixedFont)
      .Object("HeaderFont", &S::HeaderFont, &S::SetHeaderFont)
      .Object("FooterFont", &S::FooterFont, &S::SetFooterFont)
      .Enum("Borders", PrintBordersNames, &S::Borders, &S::Borders, pbSingle)
      .Enum("BorderStyle", PrintPenStyleNames, &S::BorderStyle, &S::BorderStyle, psSolid)
      .Int("BorderColor", &S::BorderColor, &S::BorderColor, 0).Consts(Colors())
      .Bool("Centered", &S::Centered, &S::Centered, true)
      .Bool("RepeatFixedRows", &S::RepeatFixedRows, &S::RepeatFixedRows, false)
      .Bool("RepeatFixedCols", &S::RepeatFixedCols, &S::RepeatFixedCols, false)
      .Int("LeftSize", &S::LeftSize, &S::LeftSize, 0)
      .Int("RightSize", &S::RightSize, &S::RightSize, 0)
      .Int("ColumnSpacing", &S::ColumnSpacing, &S::ColumnSpacing, 0)
      .Int("RowSpacing", &S::RowSpacing, &S::RowSpacing, 0)
      .Int("TitleSpacing", &S::TitleSpacing, &S::TitleSpacing, 0)
      .Enum("Orientation", OrientationNames, &S::Orientation, &S::Orientation, poPortrait)
      .Str("PagePrefix", &S::PagePrefix, &S::PagePrefix)
      .Str("PageSuffix", &S::PageSuffix, &S::PageSuffix)
      .Int("PageNumberOffset", &S::PageNumberOffset, &S::PageNumberOffset, 0)
      .Int("MaxPagesOffset", &S::MaxPagesOffset, &S::MaxPagesOffset, 0)
      .Int("FixedWidth", &S::FixedWidth, &S::FixedWidth, 0)
      .Int("FixedHeight", &S::FixedHeight, &S::FixedHeight, 0)
      .Bool("UseFixedHeight", &S::UseFixedHeight, &S::UseFixedHeight, false)
      .Bool("UseFixedWidth", &S::UseFixedWidth, &S::UseFixedWidth, false)
      .Enum("FitToPage", FitToPageNames, &S::FitToPage, &S::FitToPage, fpNever)
      .Str("JobName", &S::JobName, &S::JobName)
      .Str("PageNumSep", &S::PageNumSep, &S::PageNumSep, "/")
      .Bool("NoAutoSize", &S::NoAutoSize, &S::NoAutoSize, false)
      .Bool("NoAutoSizeRow", &S::NoAutoSizeRow, &S::NoAutoSizeRow, false)
      .Bool("PrintGraphics", &S::PrintGraphics, &S::PrintGraphics, false)
      .Bool("UseDisplayFont", &S::UseDisplayFont, &S::UseDisplayFont, true)
      .Bool("UseDefaultOrientation", &S::UseDefaultOrientation, &S::UseDefaultOrientation, false);
}

void TSortSettings::Publish(TClassBuilder<TSortSettings>& P) {
  using S = TSortSettings;
  P.Int("Column", &S::Column, &S::Column, -1)
      .Enum("Direction", SortDirectionNames, &S::Direction, &S::Direction, sdAscending)
      .Bool("AutoFormat", &S::AutoFormat, &S::AutoFormat, true)
      .Bool("IgnoreCase", &S::IgnoreCase, &S::IgnoreCase, false)
      .Bool("IgnoreBlanks", &S::IgnoreBlanks, &S::IgnoreBlanks, false)
      .Enum("BlankPos", BlankPosNames, &S::BlankPos, &S::BlankPos, blFirst)
      .Bool("Full", &S::Full, &S::Full, true)
      .Bool("SingleColumn", &S::SingleColumn, &S::SingleColumn, false)
      .Bool("NormalCellsOnly", &S::NormalCellsOnly, &S::NormalCellsOnly, false)
      .Bool("SortOnVirtualCells", &S::SortOnVirtualCells, &S::SortOnVirtualCells, true)
      .Enum("InitSortDirection", SortDirectionNames, &S::InitSortDirection, &S::InitSortDirection, sdAscending)
      .Bool("UndoSort", &S::UndoSort, &S::UndoSort, false)
      .Bool("Show", &S::Show, &S::Show, false)
      .Int("Row", &S::Row, &S::SetSortRow, 0)
      .Bool("IndexShow", &S::IndexShow, &S::IndexShow, false)
      .Int("IndexColor", &S::IndexColor, &S::IndexColor, 0x00FFFF).Consts(Colors())
      .Bool("FixedCols", &S::FixedCols, &S::FixedCols, false)
      .Object("UpGlyph", &S::UpGlyph, &S::SetUpGlyph)
      .Object("DownGlyph", &S::DownGlyph, &S::SetDownGlyph)
      .Object("IndexUpGlyph", &S::IndexUpGlyph, &S::SetIndexUpGlyph)
      .Object("IndexDownGlyph", &S::IndexDownGlyph, &S::SetIndexDownGlyph)
      .Bool("AutoColumnMerge", &S::AutoColumnMerge, &S::AutoColumnMerge, false)
      .Bool("AutoSortForGrouping", &S::AutoSortForGrouping, &S::AutoSortForGrouping, true)
      .Int("HeaderColor", &S::HeaderColor, &S::SetHeaderColor, clNone).Consts(Colors())
      .Int("HeaderColorTo", &S::HeaderColorTo, &S::SetHeaderColorTo, clNone).Consts(Colors())
      .Int("HeaderMirrorColor", &S::HeaderMirrorColor, &S::SetHeaderMirrorColor, clNone).Consts(Colors())
      .Int("HeaderMirrorColorTo", &S::HeaderMirrorColorTo, &S::SetHeaderMirrorColorTo, clNone).Consts(Colors());
}

void TFilterData::Publish(TClassBuilder<TFilterData>& P) {
  using S = TFilterData;
  P.Int("Column", &S::Column, &S::Column, 0)
      .Str("Condition", &S::Condition, &S::Condition)
      .Bool("CaseSensitive", &S::CaseSensitive, &S::CaseSensitive, true)
      .Enum("Data", FilterCellsNames, &S::Data, &S::Data, fcVirtual)
      .Str("Prefix", &S::Prefix, &S::Prefix)
      .Str("Suffix", &S::Suffix, &S::Suffix)
      .Enum("Operation", FilterOperationNames, &S::Operation, &S::Operation, foSHORT);
}

void TFloatingFooter::Publish(TClassBuilder<TFloatingFooter>& P) {
  using S = TFloatingFooter;
  P.Int("BorderColor", &S::BorderColor, &S::SetBorderColor, clNone).Consts(Colors())
      .Bool("CalculateHiddenRows", &S::CalculateHiddenRows, &S::CalculateHiddenRows, true)
      .Int("Color", &S::Color, &S::SetColor, clBtnFace).Consts(Colors())
      .Int("Column", &S::Column, &S::SetColumn, 0)
      .Str("CustomTemplate", &S::CustomTemplate, &S::SetCustomTemplate)
      .Enum("FooterStyle", FooterStyleNames, &S::FooterStyle, &S::SetFooterStyle, fsFixedLastRow)
      .Int("Height", &S::Height, &S::Height)
      .Bool("ShowHint", &S::ShowHint, &S::SetShowHint, false)
      .Bool("Visible", &S::Visible, &S::SetVisible, false)
      .Event("OnCalcFooter", &S::OnCalcFooter);
}

void TSearchFooter::Publish(TClassBuilder<TSearchFooter>& P) {
  using S = TSearchFooter;
  P.Bool("AutoSearch", &S::AutoSearch, &S::AutoSearch, true)
      .Bool("AutoThemeAdapt", &S::AutoThemeAdapt, &S::SetAutoThemeAdapt, false)
      .Int("Color", &S::Color, &S::SetColor, clBtnFace).Consts(Colors())
      .Int("ColorTo", &S::ColorTo, &S::SetColorTo, clWhite).Consts(Colors())
      .Object("Font", &S::Font, &S::SetFont)
      .Bool("SearchActiveColumnOnly", &S::SearchActiveColumnOnly, &S::SearchActiveColumnOnly, false)
      .Int("SearchColumn", &S::SearchColumn, &S::SearchColumn, -1)
      .Enum("SearchDirection", SearchDirectionNames, &S::SearchDirection, &S::SearchDirection, sdTopBottom)
      .Bool("SearchFixedCells", &S::SearchFixedCells, &S::SearchFixedCells, false)
      .Bool("SearchHiddenRows", &S::SearchHiddenRows, &S::SearchHiddenRows, false)
      .Bool("SearchMatchStart", &S::SearchMatchStart, &S::SearchMatchStart, false)
      .Bool("Visible", &S::Visible, &S::SetVisible, false);
}

void TGrouping::Publish(TClassBuilder<TGrouping>& P) {
  using S = TGrouping;
  P.Bool("AutoSelectGroup", &S::AutoSelectGroup, &S::AutoSelectGroup, false)
      .Bool("Summary", &S::Summary, &S::Summary, false)
      .Bool("MergeHeader", &S::MergeHeader, &S::MergeHeader, false)
      .Bool("MergeSummary", &S::MergeSummary, &S::MergeSummary, false)
      .Int("HeaderColor", &S::HeaderColor, &S::HeaderColor, clNone).Consts(Colors())
      .Int("HeaderColorTo", &S::HeaderColorTo, &S::HeaderColorTo, clNone).Consts(Colors())
      .Int("HeaderTextColor", &S::HeaderTextColor, &S::HeaderTextColor, clNone).Consts(Colors())
      .Bool("HeaderUnderline", &S::HeaderUnderline, &S::HeaderUnderline, false)
      .Int("HeaderLineColor", &S::HeaderLineColor, &S::HeaderLineColor, 0xFF0000).Consts(Colors())
      .Int("HeaderLineWidth", &S::HeaderLineWidth, &S::HeaderLineWidth, 2)
      .Int("SummaryColor", &S::SummaryColor, &S::SummaryColor, clNone).Consts(Colors())
      .Int("SummaryColorTo", &S::SummaryColorTo, &S::SummaryColorTo, clNone).Consts(Colors())
      .Int("SummaryTextColor", &S::SummaryTextColor, &S::SummaryTextColor, clNone).Consts(Colors())
      .Bool("SummaryLine", &S::SummaryLine, &S::SummaryLine, false)
      .Int("SummaryLineColor", &S::SummaryLineColor, &S::SummaryLineColor, 0xFF0000).Consts(Colors())
      .Int("SummaryLineWidth", &S::SummaryLineWidth, &S::SummaryLineWidth, 2)
      .Bool("ShowGroupCount", &S::ShowGroupCount, &S::ShowGroupCount, false)
      .Str("GroupCountFormat", &S::GroupCountFormat, &S::GroupCountFormat);
}

void TControlLook::Publish(TClassBuilder<TControlLook>& P) {
  using S = TControlLook;
  P.Bool("CheckAlwaysActive", &S::CheckAlwaysActive, &S::CheckAlwaysActive, false)
      .Int("CheckBoxSize", &S::CheckBoxSize, &S::SetCheckBoxSize, 15)
      .Int("Color", &S::Color, &S::SetColor, clBlack).Consts(Colors())
      .Int("CommentColor", &S::CommentColor, &S::SetCommentColor, clRed).Consts(Colors())
      .Enum("ControlStyle", ControlStyleNames, &S::ControlStyle, &S::SetControlStyle, csTheme)
      .Bool("DropDownAlwaysVisible", &S::DropDownAlwaysVisible, &S::SetDropDownAlwaysVisible, false)
      .Bool("FixedDropDownButton", &S::FixedDropDownButton, &S::FixedDropDownButton, false)
      .Bool("NoDisabledCheckRadioLook", &S::NoDisabledCheckRadioLook, &S::SetNoDisabledCheckRadioLook, false)
      .Bool("NoDisabledButtonLook", &S::NoDisabledButtonLook, &S::SetNoDisabledButtonLook, false)
      .Int("ProgressMarginX", &S::ProgressMarginX, &S::SetProgressMarginX, 2)
      .Int("ProgressMarginY", &S::ProgressMarginY, &S::SetProgressMarginY, 2)
      .Object("CheckedGlyph", &S::CheckedGlyph, &S::SetCheckedGlyph)
      .Object("UnCheckedGlyph", &S::UnCheckedGlyph, &S::SetUnCheckedGlyph)
      .Object("RadioOnGlyph", &S::RadioOnGlyph, &S::SetRadioOnGlyph)
      .Object("RadioOffGlyph", &S::RadioOffGlyph, &S::SetRadioOffGlyph)
      .Object("DropDownHeader", &S::DropDownHeader, &S::SetDropDownHeader)
      .Object("DropDownFooter", &S::DropDownFooter, &S::SetDropDownFooter)
      .Int("FixedGradientFrom", &S::FixedGradientFrom, &S::SetFixedGradientFrom, clNone).Consts(Colors())
      .Int("FixedGradientTo", &S::FixedGradientTo, &S::SetFixedGradientTo, clNone).Consts(Colors())
      .Int("FixedGradientMirrorFrom", &S::FixedGradientMirrorFrom, &S::SetFixedGradientMirrorFrom, clNone).Consts(Colors())
      .Int("FixedGradientMirrorTo", &S::FixedGradientMirrorTo, &S::SetFixedGradientMirrorTo, clNone).Consts(Colors())
      .Int("FixedGradientHoverFrom", &S::FixedGradientHoverFrom, &S::SetFixedGradientHoverFrom, clNone).Consts(Colors())
      .Int("FixedGradientHoverTo", &S::FixedGradientHoverTo, &S::SetFixedGradientHoverTo, clNone).Consts(Colors())
      .Int("FixedGradientHoverMirrorFrom", &S::FixedGradientHoverMirrorFrom, &S::SetFixedGradientHoverMirrorFrom, clNone).Consts(Colors())
      .Int("FixedGradientHoverMirrorTo", &S::FixedGradientHoverMirrorTo, &S::SetFixedGradientHoverMirrorTo, clNone).Consts(Colors())
      .Int("FixedGradientHoverBorder", &S::FixedGradientHoverBorder, &S::SetFixedGradientHoverBorder, clNone).Consts(Colors())
      .Int("FixedGradientDownFrom", &S::FixedGradientDownFrom, &S::SetFixedGradientDownFrom, clNone).Consts(Colors())
      .Int("FixedGradientDownTo", &S::FixedGradientDownTo, &S::SetFixedGradientDownTo, clNone).Consts(Colors())
      .Int("FixedGradientDownMirrorFrom", &S::FixedGradientDownMirrorFrom, &S::SetFixedGradientDownMirrorFrom, clNone).Consts(Colors())
      .Int("FixedGradientDownMirrorTo", &S::FixedGradientDownMirrorTo, &S::SetFixedGradientDownMirrorTo, clNone).Consts(Colors())
      .Int("FixedGradientDownBorder", &S::FixedGradientDownBorder, &S::SetFixedGradientDownBorder, clNone).Consts(Colors())
      .Bool("FlatButton", &S::FlatButton, &S::SetFlatButton, false)
      .Int("ProgressBorderColor", &S::ProgressBorderColor, &S::ProgressBorderColor, clGray).Consts(Colors())
      .Bool("ProgressXP", &S::ProgressXP, &S::SetProgressXP, false)
      .Bool("RadioAlwaysActive", &S::RadioAlwaysActive, &S::RadioAlwaysActive, false)
      .Int("RadioSize", &S::RadioSize, &S::SetRadioSize, 10)
      .Bool("SpinButtonsAlwaysVisible", &S::SpinButtonsAlwaysVisible, &S::SetSpinButtonsAlwaysVisible, false);
}

void TBands::Publish(TClassBuilder<TBands>& P) {
  P.Bool("Active", &TBands::Active, &TBands::SetActive, false)
      .Int("PrimaryColor", &TBands::PrimaryColor, &TBands::SetPrimaryColor, clInfoBk).Consts(Colors())
      .Int("SecondaryColor", &TBands::SecondaryColor, &TBands::SetSecondaryColor, clWindow).Consts(Colors())
      .Int("PrimaryLength", &TBands::PrimaryLength, &TBands::SetPrimaryLength, 1)
      .Int("SecondaryLength", &TBands::SecondaryLength, &TBands::SetSecondaryLength, 1)
      .Bool("Print", &TBands::Print, &TBands::Print, false);
}

void TBackGround::Publish(TClassBuilder<TBackGround>& P) {
  using S = TBackGround;
  P.Object("Bitmap", &S::Bitmap, &S::SetBitmap)
      .Int("Top", &S::Top, &S::SetTop, 0)
      .Int("Left", &S::Left, &S::SetLeft, 0)
      .Enum("Display", BackGroundDisplayNames, &S::Display, &S::SetDisplay, bdTile)
      .Enum("Cells", BackGroundCellsNames, &S::Cells, &S::SetBackGroundCells, bcNormal)
      .Int("Color", &S::Color, &S::SetColor, clWindow).Consts(Colors())
      .Int("ColorTo", &S::ColorTo, &S::SetColorTo, clBtnFace).Consts(Colors());
}

void TDragDropSettings::Publish(TClassBuilder<TDragDropSettings>& P) {
  using S = TDragDropSettings;
  P.Bool("ShowCells", &S::ShowCells, &S::ShowCells, true)
      .Bool("OleAcceptFiles", &S::OleAcceptFiles, &S::OleAcceptFiles, true)
      .Bool("OleAcceptText", &S::OleAcceptText, &S::OleAcceptText, true)
      .Bool("OleAcceptURLs", &S::OleAcceptURLs, &S::OleAcceptURLs, true)
      .Bool("OleCopyAlways", &S::OleCopyAlways, &S::OleCopyAlways, false)
      .Bool("OleDropTarget", &S::OleDropTarget, &S::OleDropTarget, false)
      .Bool("OleDropSource", &S::OleDropSource, &S::OleDropSource, false)
      .Bool("OleEntireRows", &S::OleEntireRows, &S::OleEntireRows, false)
      .Bool("OleInsertRows", &S::OleInsertRows, &S::OleInsertRows, false)
      .Bool("OleRemoveRows", &S::OleRemoveRows, &S::OleRemoveRows, false)
      .Bool("OleDropRTF", &S::OleDropRTF, &S::OleDropRTF, false)
      .Bool("OleColumnDragDrop", &S::OleColumnDragDrop, &S::OleColumnDragDrop, false);
}

void TShowModified::Publish(TClassBuilder<TShowModified>& P) {
  P.Int("Color", &TShowModified::Color, &TShowModified::SetColor, 0x00FFFF).Consts(Colors())
      .Bool("Enabled", &TShowModified::Enabled, &TShowModified::SetEnabled, false);
}

void TBalloonSettings::Publish(TClassBuilder<TBalloonSettings>& P) {
  using S = TBalloonSettings;
  P.Int("AutoHideDelay", &S::AutoHideDelay, &S::AutoHideDelay, -1)
      .Int("BackgroundColor", &S::BackgroundColor, &S::BackgroundColor, clNone).Consts(Colors())
      .Bool("Enable", &S::Enable, &S::SetEnable, false)
      .Int("InitialDelay", &S::InitialDelay, &S::InitialDelay, -1)
      .Int("ReshowDelay", &S::ReshowDelay, &S::ReshowDelay, -1)
      .Int("TextColor", &S::TextColor, &S::TextColor, clNone).Consts(Colors())
      .Int("Transparency", &S::Transparency, &S::Transparency, 0);
}

void TDragScrollDelays::Publish(TClassBuilder<TDragScrollDelays>& P) {
  P.Int("InitialDelay", &TDragScrollDelays::InitialDelay, &TDragScrollDelays::InitialDelay, 1000)
      .Int("RepeatDelay", &TDragScrollDelays::RepeatDelay, &TDragScrollDelays::RepeatDelay, 250);
}

void TDragScrollMargins::Publish(TClassBuilder<TDragScrollMargins>& P) {
  using S = TDragScrollMargins;
  P.Int("TopMargin", &S::TopMargin, &S::TopMargin, 50)
      .Int("BottomMargin", &S::BottomMargin, &S::BottomMargin, 50)
      .Int("LeftMargin", &S::LeftMargin, &S::LeftMargin, 50)
      .Int("RightMargin", &S::RightMargin, &S::RightMargin, 50);
}

void TDragScrollOptions::Publish(TClassBuilder<TDragScrollOptions>& P) {
  using S = TDragScrollOptions;
  P.Bool("Active", &S::Active, &S::Active, false)
      .Object("Delays", &S::Delays, &S::SetDelays)
      .Object("Margins", &S::Margins, &S::SetMargins);
}

static const TEnumInfo* ProgressStyleNames = RegisterEnum("TProgressStyle", {"psXP", "psClassic"});

void TGridProgressAppearance::Publish(TClassBuilder<TGridProgressAppearance>& P) {
  using S = TGridProgressAppearance;
  P.Int("CompleteColor", &S::CompleteColor, &S::SetCompleteColor, 0x0000FF).Consts(Colors())
      .Int("CompleteFontColor", &S::CompleteFontColor, &S::SetCompleteFontColor, 0xFF0000).Consts(Colors())
      .Int("UnCompleteColor", &S::UnCompleteColor, &S::SetUnCompleteColor, clNone).Consts(Colors())
      .Int("UnCompleteFontColor", &S::UnCompleteFontColor, &S::SetUnCompleteFontColor, clWindowText).Consts(Colors())
      .Int("Level0Color", &S::Level0Color, &S::SetLevel0Color, 0x00FF00).Consts(Colors())
      .Int("Level0ColorTo", &S::Level0ColorTo, &S::SetLevel0ColorTo, 0xE1FFE1).Consts(Colors())
      .Int("Level1Color", &S::Level1Color, &S::SetLevel1Color, 0x00FFFF).Consts(Colors())
      .Int("Level1ColorTo", &S::Level1ColorTo, &S::SetLevel1ColorTo, 0xCAFFFF).Consts(Colors())
      .Int("Level2Color", &S::Level2Color, &S::SetLevel2Color, 0x53A9FF).Consts(Colors())
      .Int("Level2ColorTo", &S::Level2ColorTo, &S::SetLevel2ColorTo, 0xA8D3FF).Consts(Colors())
      .Int("Level3Color", &S::Level3Color, &S::SetLevel3Color, 0x0000FF).Consts(Colors())
      .Int("Level3ColorTo", &S::Level3ColorTo, &S::SetLevel3ColorTo, 0xCACAFF).Consts(Colors())
      .Int("Level1Perc", &S::Level1Perc, &S::SetLevel1Perc, 70)
      .Int("Level2Perc", &S::Level2Perc, &S::SetLevel2Perc, 90)
      .Int("BorderColor", &S::BorderColor, &S::SetBorderColor, 0).Consts(Colors())
      .Bool("ShowBorder", &S::ShowBorder, &S::SetShowBorder, false)
      .Bool("Stacked", &S::Stacked, &S::SetStacked, false)
      .Bool("ShowPercentage", &S::ShowPercentage, &S::SetShowPercentage, true)
      .Bool("CompletionSmooth", &S::CompletionSmooth, &S::SetCompletionSmooth, true)
      .Bool("ShowGradient", &S::ShowGradient, &S::SetShowGradient, true)
      .Int("Steps", &S::Steps, &S::SetSteps, 11);
}
void TFilterDropDown::Publish(TClassBuilder<TFilterDropDown>& P) { (void)P; }

void TGridItem::Publish(TClassBuilder<TGridItem>& P) {
  P.Int("Idx", &TGridItem::Idx, &TGridItem::Idx, 0)
      .Int("Height", &TGridItem::Height, &TGridItem::Height, 0)
      .Int("Level", &TGridItem::Level, &TGridItem::Level, 0);
}

// ---------------------------------------------------------------------------------------
// TCellNode
TCellNode::TCellNode(TDavEvadurAvuz* AGrid)
    : FGrid(AGrid), FExpandGlyph(std::make_unique<TBitmap>()), FContractGlyph(std::make_unique<TBitmap>()) {}
TCellNode::~TCellNode() = default;

void TCellNode::Repaint() {
  if (FGrid) FGrid->Invalidate();
}

void TCellNode::Assign(TPersistent* Source) {
  if (!dynamic_cast<TCellNode*>(Source)) return;
  TDavEvadurAvuz* grid = FGrid;
  FGrid = nullptr;  // no repaint while copying
  CopyPublishedProps(this, Source);
  FGrid = grid;
}

void TCellNode::SetNodeType(TNodeType Value) {
  if (FNodeType == Value) return;
  FNodeType = Value;
  Repaint();
}
void TCellNode::SetNodeIndent(int Value) {
  if (FNodeIndent == Value) return;
  FNodeIndent = Value;
  Repaint();
}
void TCellNode::SetShowTree(bool Value) {
  if (FShowTree == Value) return;
  FShowTree = Value;
  Repaint();
}
void TCellNode::SetShowTreeFull(bool Value) {
  if (FShowTreeFull == Value) return;
  FShowTreeFull = Value;
  Repaint();
}
void TCellNode::SetTreeColor(TColor Value) {
  if (FTreeColor == Value) return;
  FTreeColor = Value;
  Repaint();
}

// ---------------------------------------------------------------------------------------
// TMouseActions
bool TMouseActions::Designing() const { return FGrid && FGrid->ComponentState().Contains(csDesigning); }

void TMouseActions::Assign(TPersistent* Source) {
  if (!dynamic_cast<TMouseActions*>(Source)) return;
  TAssigning guard(FAssigning);
  TDavEvadurAvuz* grid = FGrid;
  FGrid = nullptr;
  // The stored fields are copied directly: Assign neither repaints nor edits the options.
  auto* s = static_cast<TMouseActions*>(Source);
  CopyPublishedProps(this, Source);
  FEditOnDblClickOnly = s->FEditOnDblClickOnly;
  FHotmailRowSelect = s->FHotmailRowSelect;
  FDisjunctRowSelect = s->FDisjunctRowSelect;
  FDisjunctColSelect = s->FDisjunctColSelect;
  FDisjunctCellSelect = s->FDisjunctCellSelect;
  FWheelAction = s->FWheelAction;
  FGrid = grid;
}

void TMouseActions::SetDisjunctRowSelect(bool Value) {
  FDisjunctRowSelect = Value;
  if (Value && Designing()) FDisjunctColSelect = FDisjunctCellSelect = false;
}
void TMouseActions::SetDisjunctColSelect(bool Value) {
  FDisjunctColSelect = Value;
  if (Value && Designing()) FDisjunctRowSelect = FDisjunctCellSelect = false;
}
void TMouseActions::SetDisjunctCellSelect(bool Value) {
  FDisjunctCellSelect = Value;
  if (Value && Designing()) FDisjunctRowSelect = FDisjunctColSelect = false;
}
void TMouseActions::SetEditOnDblClickOnly(bool Value) {
  FEditOnDblClickOnly = Value;
  if (Value && FGrid) {
    TGridOptions o = FGrid->Options();
    o -= goEditing;
    FGrid->SetOptions(o);
  }
}
void TMouseActions::SetHotmailRowSelect(bool Value) {
  FHotmailRowSelect = Value;
  if (FGrid) FGrid->Invalidate();
}
void TMouseActions::SetWheelAction(TWheelAction Value) {
  if (FWheelAction == Value) return;
  FWheelAction = Value;
  Changed();
}

// ---------------------------------------------------------------------------------------
void TColumnSize::Assign(TPersistent* Source) {
  if (!dynamic_cast<TColumnSize*>(Source)) return;
  TAssigning guard(FAssigning);
  CopyPublishedProps(this, Source);
}

void TColumnSize::SetStretch(bool Value) {
  FStretch = Value;
  if (!FAssigning && Value && FGrid && FGrid->Parent()) FGrid->StretchColumn(StretchColumn);
}

void TNavigation::Assign(TPersistent* Source) {
  if (!dynamic_cast<TNavigation*>(Source)) return;
  TAssigning guard(FAssigning);
  CopyPublishedProps(this, Source);
}

void TNavigation::SetAdvanceInsert(bool Value) {
  if (FAdvanceInsert == Value) return;
  FAdvanceInsert = Value;
  Changed();
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
  if (FAdvanceDirection == Value) return;
  FAdvanceDirection = Value;
  Changed();
}

void THTMLSettings::Assign(TPersistent* Source) {
  if (dynamic_cast<THTMLSettings*>(Source)) CopyPublishedProps(this, Source);
}

TPrintSettings::TPrintSettings(TDavEvadurAvuz* AGrid)
    : FGrid(AGrid),
      FFont(std::make_unique<TFont>()),
      FHeaderFont(std::make_unique<TFont>()),
      FFooterFont(std::make_unique<TFont>()),
      FFixedFont(std::make_unique<TFont>()),
      FTitleLines(std::make_unique<TStringList>()) {}

TPrintSettings::~TPrintSettings() = default;

void TPrintSettings::Assign(TPersistent* Source) {
  if (!dynamic_cast<TPrintSettings*>(Source)) throw EInvalidCast("Invalid class typecast");
  CopyPublishedProps(this, Source);
}

// ---------------------------------------------------------------------------------------
// Settings objects.
void TFilterData::Assign(TPersistent* Source) {
  if (dynamic_cast<TFilterData*>(Source)) CopyPublishedProps(this, Source);
  else TCollectionItem::Assign(Source);
}

TFilter::TFilter(TDavEvadurAvuz* AGrid) : TOwnedCollection(AGrid, ItemClassOf<TFilterData>()) {}

TFilterData* TFilter::GetColFilter(int Column) {
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->Column == Column) return GetItem(i);
  TFilterData* d = Add();
  d->Column = Column;
  return d;
}

void TFloatingFooter::SetVisible(bool Value) {
  FVisible = Value;
  if (!FGrid) return;
  if (TFooterPanel* panel = FGrid->FooterPanel()) {
    panel->SetHeight(Value ? Height - 1 : 0);
    panel->SetVisible(Value);
  }
  FGrid->SetFixedFooters(Value && FooterStyle == fsFixedLastRow ? 1 : 0);
  FGrid->FFloatingFooterShown = Value && FooterStyle == fsFixedLastRow;
  FGrid->Invalidate();
}

void TFloatingFooter::SetColor(TColor Value) {
  FColor = Value;
  if (FGrid) FGrid->Invalidate();
}

TSearchFooter::TSearchFooter(TDavEvadurAvuz* AGrid) : FGrid(AGrid), FFont(std::make_unique<TFont>()) {}

void TSearchFooter::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (OnChange) OnChange(this);
}
void TSearchFooter::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  if (FGrid) FGrid->Invalidate();
}
void TSearchFooter::SetColor(TColor Value) {
  FColor = Value;
  if (FGrid) FGrid->Invalidate();
}
void TSearchFooter::SetColorTo(TColor Value) {
  FColorTo = Value;
  if (FGrid) FGrid->Invalidate();
}

TControlLook::TControlLook(TDavEvadurAvuz* AGrid)
    : FDropDownHeader(std::make_unique<DizDropDown::THeaderAppearance>(AGrid)),
      FDropDownFooter(std::make_unique<DizDropDown::TFooterAppearance>(AGrid)),
      FGrid(AGrid) {
  for (auto& g : FGlyphs) g = std::make_unique<TBitmap>();
}
TControlLook::~TControlLook() = default;

void TControlLook::Assign(TPersistent* Source) {
  if (!dynamic_cast<TControlLook*>(Source)) return;
  WithoutGrid(FGrid, [&] { CopyPublishedProps(this, Source); });
}

void TControlLook::SetGlyph(int Index, TBitmap* Value) {
  FGlyphs[Index]->Assign(Value);
  Repaint();
}
void TControlLook::SetNoDisabledCheckRadioLook(bool Value) {
  FNoDisabledCheckRadioLook = Value;
  Repaint();
}
void TControlLook::SetNoDisabledButtonLook(bool Value) {
  FNoDisabledButtonLook = Value;
  Repaint();
}
void TControlLook::SetProgressMarginX(int Value) {
  FProgressMarginX = Value;
  Repaint();
}
void TControlLook::SetProgressMarginY(int Value) {
  FProgressMarginY = Value;
  Repaint();
}
void TControlLook::SetDropDownAlwaysVisible(bool Value) {
  DropDownAlwaysVisible = Value;
  Repaint();
}
void TControlLook::SetSpinButtonsAlwaysVisible(bool Value) {
  SpinButtonsAlwaysVisible = Value;
  Repaint();
}

void TControlLook::Repaint() {
  if (FGrid) FGrid->Invalidate();
}
void TControlLook::SetControlStyle(TGridControlStyle Value) {
  FControlStyle = Value;
  Repaint();
}
void TControlLook::SetCheckBoxSize(int Value) {
  FCheckBoxSize = Value;
  Repaint();
}
void TControlLook::SetColor(TColor Value) {
  FColor = Value;
  Repaint();
}
void TControlLook::SetCommentColor(TColor Value) {
  FCommentColor = Value;
  Repaint();
}
void TControlLook::SetFlatButton(bool Value) {
  FFlatButton = Value;
  Repaint();
}
void TControlLook::SetProgressXP(bool Value) {
  FProgressXP = Value;
  Repaint();
}
void TControlLook::SetRadioSize(int Value) {
  FRadioSize = Value;
  Repaint();
}
// A fixed-gradient colour other than clNone also becomes the grid's copy (as RGB), which
// is what painting reads; clNone leaves the copy as it is.
void TControlLook::SetFixedGradientFrom(TColor Value) {
  FFixedGradientFrom = Value;
  if (FGrid && Value != clNone) FGrid->SetZADGradFrom(static_cast<TColor>(ColorToRGB(Value)));
}
void TControlLook::SetFixedGradientTo(TColor Value) {
  FFixedGradientTo = Value;
  if (FGrid && Value != clNone) FGrid->SetZADGradTo(static_cast<TColor>(ColorToRGB(Value)));
}
void TControlLook::SetFixedGradientMirrorFrom(TColor Value) {
  FMirrorFrom = Value;
  if (FGrid && Value != clNone) FGrid->SetZADGradMirrorFrom(static_cast<TColor>(ColorToRGB(Value)));
}
void TControlLook::SetFixedGradientMirrorTo(TColor Value) {
  FMirrorTo = Value;
  if (FGrid && Value != clNone) FGrid->SetZADGradMirrorTo(static_cast<TColor>(ColorToRGB(Value)));
}
void TControlLook::SetHoverDown(TColor* Set, int Index, TColor Value) {
  Set[Index] = Value;
  if (!FGrid || Value == clNone) return;
  TColor* copy = Set == FHover ? FGrid->ZADGradHover() : FGrid->ZADGradDown();
  copy[Index] = static_cast<TColor>(ColorToRGB(Value));
}

TSortSettings::TSortSettings(TDavEvadurAvuz* AGrid)
    : FGrid(AGrid),
      FUpGlyph(std::make_unique<TBitmap>()),
      FDownGlyph(std::make_unique<TBitmap>()),
      FIndexUpGlyph(std::make_unique<TBitmap>()),
      FIndexDownGlyph(std::make_unique<TBitmap>()) {}
TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(TPersistent* Source) {
  if (!dynamic_cast<TSortSettings*>(Source)) return;
  WithoutGrid(FGrid, [&] { CopyPublishedProps(this, Source); });
}

void TSortSettings::SetSortRow(int Value) {
  if (FGrid && (Value < 0 || Value >= FGrid->FixedRows()))
    throw Exception("Sort row should be smaller than number of fixed rows");
  FRow = Value;
}

void TSortSettings::Remove() {
  Column = -1;
  if (!FGrid) return;
  FGrid->SortIndexList()->Clear();
  if (FGrid->FixedRows() > 0) FGrid->InvalidateRow(FGrid->FixedRows() - 1);
}

std::string TSortSettings::SaveToString() const {
  if (IndexShow) return "i;" + (FGrid ? FGrid->SortIndexList()->SaveToString() : std::string());
  return (Direction == sdAscending ? "u" : "d") + std::to_string(Column);
}

void TSortSettings::LoadFromString(const std::string& Text) {
  if (Text.empty()) return;
  bool wasShown = Show;
  Show = true;
  if (!wasShown && FGrid) FGrid->Invalidate();
  // Only the three written forms are read: "i;" starts an index list, "u" or "d" a column.
  if (Text.size() < 2 || (Text.compare(0, 2, "i;") != 0 && Text[0] != 'u' && Text[0] != 'd'))
    throw Exception("Invalid sort settings specifier");
  if (Text.compare(0, 2, "i;") == 0) {
    IndexShow = true;
    if (FGrid) {
      FGrid->SortIndexList()->LoadFromString(Text.substr(2));
      FGrid->QSortIndexed();
    }
  } else {
    IndexShow = false;
    Direction = Text[0] == 'u' ? sdAscending : sdDescending;
    int col = 0;
    if (!TryStrToInt(Text.substr(1), col)) return;  // no column: nothing to sort
    Column = col;
    if (FGrid) FGrid->QSort();
  }
  if (FGrid) FGrid->Invalidate();
}

void TSortSettings::SetHeader(TColor& Field, TColor Value) {
  if (Field == Value) return;
  Field = Value;
  if (FGrid && FGrid->FixedRows() > 0) FGrid->InvalidateRow(FGrid->FixedRows() - 1);
}

void TBands::Assign(TPersistent* Source) {
  if (!dynamic_cast<TBands*>(Source)) return;
  WithoutGrid(FGrid, [&] { CopyPublishedProps(this, Source); });
}

void TBands::SetPrimaryLength(int Value) {
  FPrimaryLength = std::max(Value, 0);
  if (FActive && FGrid) FGrid->Invalidate();
}
void TBands::SetSecondaryLength(int Value) {
  FSecondaryLength = std::max(Value, 0);
  if (FActive && FGrid) FGrid->Invalidate();
}

void TBands::SetActive(bool Value) {
  FActive = Value;
  if (FGrid) FGrid->Invalidate();
}
void TBands::SetPrimaryColor(TColor Value) {
  FPrimaryColor = Value;
  if (FActive && FGrid) FGrid->Invalidate();
}
void TBands::SetSecondaryColor(TColor Value) {
  FSecondaryColor = Value;
  if (FActive && FGrid) FGrid->Invalidate();
}

TBackGround::TBackGround(TDavEvadurAvuz* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}
TBackGround::~TBackGround() = default;

void TBackGround::Assign(TPersistent* Source) {
  if (!dynamic_cast<TBackGround*>(Source)) return;
  WithoutGrid(FGrid, [&] { CopyPublishedProps(this, Source); });
}

void TBackGround::SetBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  Repaint();
}

void TBackGround::Repaint() {
  if (FGrid) FGrid->Invalidate();
}
void TBackGround::SetTop(int Value) {
  FTop = Value;
  Repaint();
}
void TBackGround::SetLeft(int Value) {
  FLeft = Value;
  Repaint();
}
void TBackGround::SetDisplay(TBackGroundDisplay Value) {
  FDisplay = Value;
  Repaint();
}
void TBackGround::SetBackGroundCells(TBackGroundCells Value) {
  FCells = Value;
  Repaint();
}
void TBackGround::SetColor(TColor Value) {
  FColor = Value;
  Repaint();
}
void TBackGround::SetColorTo(TColor Value) {
  FColorTo = Value;
  Repaint();
}

void TShowModified::Assign(TPersistent* Source) {
  if (!dynamic_cast<TShowModified*>(Source)) return;
  WithoutEvent(OnChange, [&] { CopyPublishedProps(this, Source); });
}

void TShowModified::SetColor(TColor Value) {
  FColor = Value;
  if (OnChange) OnChange(this);
}

void TBalloonSettings::Assign(TPersistent* Source) {
  if (!dynamic_cast<TBalloonSettings*>(Source)) return;
  WithoutEvent(OnEnableChange, [&] { CopyPublishedProps(this, Source); });
}

void TBalloonSettings::SetEnable(bool Value) {
  FEnable = Value;
  if (OnEnableChange) OnEnableChange(this);
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>()) {}
TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(TPersistent* Source) {
  if (dynamic_cast<TDragScrollOptions*>(Source)) CopyPublishedProps(this, Source);
}

void TGridProgressAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TGridProgressAppearance*>(Source);
  if (!src) return;
  WithoutEvent(OnChange, [&] {
    CopyPublishedProps(this, Source);
    SetStyle(src->Style());
  });
  Changed();
}

TGridItem::TGridItem(TCollection* Collection) : TCollectionItem(Collection), FItems(std::make_unique<TStringList>()) {}

TGridItem::~TGridItem() = default;
