#pragma once
// The string grid's option and settings classes: the seven option classes stored as nested
// properties (TCellNode, TSizeWhileTyping, TMouseActions, TColumnSize, TNavigation,
// THTMLSettings, TPrintSettings) and the settings objects painting, printing and
// exchange read (TSortSettings, TFilter with TFilterData, TFloatingFooter, TSearchFooter,
// TGrouping, TControlLook, TBands, TBackGround, TDragDropSettings, TShowModified,
// TBalloonSettings, TDragScrollOptions, TGridProgressAppearance, TFilterDropDown) and the
// hidden-row record TGridItem.
//
// Assign copies every published property from an object of the same class and ignores
// other sources (TPrintSettings raises, TSizeWhileTyping cannot be assigned); it neither
// repaints nor notifies the grid.
#include <functional>
#include <memory>
#include <string>

#include "editors/DizDropDownStrips.h"
#include "grid/BaseGrid.h"
#include "grid/RavIze.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Printers.h"

class TDavEvadurAvuz;

// Copies the published ordinal, float and string properties, and assigns the owned
// object properties, of Source (which must be of Dest's class) to Dest.
void CopyPublishedProps(TPersistent* Dest, TPersistent* Source);

// ---------------------------------------------------------------------------------------
enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TWheelAction { waMoveSelection, waScroll };
enum TAutoSizeRows { arAll, arNormal, arFixed };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAdvanceDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TClipboardPasteAction { paReplace, paInsert };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow };
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal, pbCustom
};
// TPrinterOrientation comes with the printer.
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class TCellNode : public TPersistent {
  LORM_PUBLISHED(TCellNode, TPersistent)
public:
  explicit TCellNode(TDavEvadurAvuz* AGrid);
  ~TCellNode() override;
  void Assign(TPersistent* Source) override;

  TColor Color = 0xC0C0C0;
  bool ExpandOne = false;
  TNodeType NodeType() const { return FNodeType; }
  void SetNodeType(TNodeType Value);
  TColor NodeColor = 0;
  int NodeIndent() const { return FNodeIndent; }
  void SetNodeIndent(int Value);
  TBitmap* ExpandGlyph() const { return FExpandGlyph.get(); }
  void SetExpandGlyph(TBitmap* Value) { FExpandGlyph->Assign(Value); }
  TBitmap* ContractGlyph() const { return FContractGlyph.get(); }
  void SetContractGlyph(TBitmap* Value) { FContractGlyph->Assign(Value); }
  bool ShowTree() const { return FShowTree; }
  void SetShowTree(bool Value);
  bool ShowTreeFull() const { return FShowTreeFull; }
  void SetShowTreeFull(bool Value);
  TColor TreeColor() const { return FTreeColor; }
  void SetTreeColor(TColor Value);

private:
  void Repaint();
  TDavEvadurAvuz* FGrid;
  TNodeType FNodeType = cnXP;
  int FNodeIndent = 12;
  std::unique_ptr<TBitmap> FExpandGlyph;
  std::unique_ptr<TBitmap> FContractGlyph;
  bool FShowTree = true;
  bool FShowTreeFull = true;
  TColor FTreeColor = 0x808080;
};

class TSizeWhileTyping : public TPersistent {
  LORM_PUBLISHED(TSizeWhileTyping, TPersistent)
public:
  TSizeWhileTyping() = default;
  bool Height = false;
  bool Width = false;
};

// One change callback (the grid points it at a hook of its own).
using TOptionsChangeEvent = std::function<void(TObject* Sender)>;

class TMouseActions : public TPersistent {
  LORM_PUBLISHED(TMouseActions, TPersistent)
public:
  explicit TMouseActions(TDavEvadurAvuz* AGrid) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  TOptionsChangeEvent OnChange;

  bool AllColumnSize = false, AllRowSize = false, AllSelect = false, CaretPositioning = false,
       CheckAllCheck = false, ColSelect = false, DirectComboClose = false, DirectComboDrop = false,
       DirectDateClose = false, DirectDateDrop = false, DirectEdit = false, MoveRowOnNodeClick = false,
       NoAutoRangeScroll = false, NodeAllExpandContract = false, NoScrollOnPartialRow = false,
       PreciseCheckBoxCheck = false, RangeSelectAndEdit = false, RowSelect = false,
       RowSelectPersistent = false, SelectOnRightClick = false, SizeFixedCol = false, SizeFixedRow = false,
       DisjunctRowSelectNoCtrl = false;
  bool AutoSizeColOnDblClick = true, PreciseNodeClick = true;
  TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
  int WheelIncrement = 0;

  bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
  void SetDisjunctRowSelect(bool Value);
  bool DisjunctColSelect() const { return FDisjunctColSelect; }
  void SetDisjunctColSelect(bool Value);
  bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
  void SetDisjunctCellSelect(bool Value);
  bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
  void SetEditOnDblClickOnly(bool Value);
  bool HotmailRowSelect() const { return FHotmailRowSelect; }
  void SetHotmailRowSelect(bool Value);
  TWheelAction WheelAction() const { return FWheelAction; }
  void SetWheelAction(TWheelAction Value);

private:
  bool Designing() const;
  void Changed() {
    if (OnChange && !FAssigning) OnChange(this);
  }
  TDavEvadurAvuz* FGrid;
  bool FDisjunctRowSelect = false, FDisjunctColSelect = false, FDisjunctCellSelect = false;
  bool FEditOnDblClickOnly = false, FHotmailRowSelect = false;
  TWheelAction FWheelAction = waMoveSelection;
  bool FAssigning = false;
};

class TColumnSize : public TPersistent {
  LORM_PUBLISHED(TColumnSize, TPersistent)
public:
  explicit TColumnSize(TDavEvadurAvuz* AGrid) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  TAutoSizeRows Rows = arAll;
  bool Save = false;
  std::string Key;
  std::string Section;
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  int StretchColumn = -1;
  bool SynchWithGrid = false;
  bool SynchNormalCellsOnly = false;
  TColumnSizeLocation Location = clRegistry;

private:
  TDavEvadurAvuz* FGrid;
  bool FStretch = false;
  bool FAssigning = false;
};

class TNavigation : public TPersistent {
  LORM_PUBLISHED(TNavigation, TPersistent)
public:
  TNavigation() = default;
  void Assign(TPersistent* Source) override;
  TOptionsChangeEvent OnChange;

  bool AllowInsertRow = false, AllowDeleteRow = false, AlwaysEdit = false, AdvanceOnEnter = false;
  bool AdvanceAutoEdit = true;
  bool AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false;
  bool AllowClipboardShortCuts = false;
  bool AllowCtrlEnter = true;
  bool AllowSmartClipboard = false, AllowRTFClipboard = false, AllowFmtClipboard = false,
       AllowClipboardAlways = false;
  bool AllowClipboardRowGrow = true, AllowClipboardColGrow = true;
  bool AdvanceAuto = false, AppendOnArrowDown = false;
  bool EditSelectAll = true;
  TInsertPosition InsertPosition = pInsertBefore;
  TClipboardPasteAction ClipboardPasteAction = paReplace;
  bool CursorWalkEditor = false;
  bool CursorWalkAlwaysEdit = true;
  bool MoveRowOnSort = false, KeepScrollOnSort = false, MoveScrollOnly = false, ImproveMaskSel = false;
  bool LeftRightRowSelect = true, CopyHTMLTagsToClipboard = true;
  bool KeepHorizScroll = false, LineFeedOnEnter = false;
  THomeEndAction HomeEndKey = heFirstLastColumn;
  bool SkipFixedCells = true;
  bool TabToNextAtEnd = false;
  TAdvanceDirection TabAdvanceDirection = adLeftRight;

  bool AdvanceInsert() const { return FAdvanceInsert; }
  void SetAdvanceInsert(bool Value);
  TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
  void SetAdvanceDirection(TAdvanceDirection Value);

private:
  void Changed() {
    if (OnChange && !FAssigning) OnChange(this);
  }
  bool FAdvanceInsert = false;
  TAdvanceDirection FAdvanceDirection = adLeftRight;
  bool FAssigning = false;
};

class THTMLSettings : public TPersistent {
  LORM_PUBLISHED(THTMLSettings, TPersistent)
public:
  THTMLSettings() = default;
  void Assign(TPersistent* Source) override;
  bool AutoPreview = false;
  int BorderSize = 1;
  int CellSpacing = 0;
  int CellPadding = 0;
  bool ConvertSpecialChars = false;
  bool ExportImages = true;
  std::string FooterFile;
  std::string HeaderFile;
  bool NonBreakingText = false;
  std::string PrefixTag;
  bool SaveColor = true;
  bool SaveFonts = true;
  std::string SuffixTag;
  std::string Summary;
  std::string TableStyle;
  int Width = 100;
  bool XHTML = false;
  // Column widths the HTML export fills and reads.
  TIntList* ColWidths() const { return FColWidths.get(); }

private:
  std::unique_ptr<TIntList> FColWidths = std::make_unique<TIntList>(-1, -1);
};

class TPrintSettings : public TPersistent {
  LORM_PUBLISHED(TPrintSettings, TPersistent)
public:
  explicit TPrintSettings(TDavEvadurAvuz* AGrid);
  ~TPrintSettings() override;
  // Raises EInvalidCast for a source of another class.
  void Assign(TPersistent* Source) override;

  int FooterSize = 0, HeaderSize = 0;
  TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
  std::string DateFormat = "dd/mm/yyyy";
  std::string TitleText;
  TStrings* TitleLines() const { return FTitleLines.get(); }
  void SetTitleLines(TStrings* Value) { FTitleLines->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFont* FixedFont() const { return FFixedFont.get(); }
  void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
  TFont* FooterFont() const { return FFooterFont.get(); }
  void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }
  TPrintBorders Borders = pbSingle;
  TPenStyle BorderStyle = psSolid;
  TColor BorderColor = 0;
  bool Centered = true;
  bool RepeatFixedRows = false, RepeatFixedCols = false;
  int LeftSize = 0, RightSize = 0, ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
  TPrinterOrientation Orientation = poPortrait;
  std::string PagePrefix, PageSuffix;
  int PageNumberOffset = 0, MaxPagesOffset = 0;
  int FixedWidth = 0, FixedHeight = 0;
  bool UseFixedHeight = false, UseFixedWidth = false;
  TFitToPage FitToPage = fpNever;
  std::string JobName;
  std::string PageNumSep = "/";
  bool NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false;
  bool UseDisplayFont = true;
  bool UseDefaultOrientation = false;
  // Fixed rows and columns print with a selection only when set (not stored).
  bool PrintSelectedFixed = false;

private:
  TDavEvadurAvuz* FGrid;
  std::unique_ptr<TFont> FFont, FHeaderFont, FFooterFont, FFixedFont;
  std::unique_ptr<TStringList> FTitleLines;
};

// ---------------------------------------------------------------------------------------
// Settings objects of painting, printing and exchange.
enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };

class TSortSettings : public TPersistent {
  LORM_PUBLISHED(TSortSettings, TPersistent)
public:
  explicit TSortSettings(TDavEvadurAvuz* AGrid);
  ~TSortSettings() override;
  // Copies every setting of another sort settings object directly: nothing repaints and
  // the sort row is taken as it is.
  void Assign(TPersistent* Source) override;
  int Column = -1;
  TSortDirection Direction = sdAscending;
  bool AutoFormat = true, IgnoreCase = false, IgnoreBlanks = false;
  TSortBlankPosition BlankPos = blFirst;
  bool Full = true, SingleColumn = false, NormalCellsOnly = false, SortOnVirtualCells = true;
  TSortDirection InitSortDirection = sdAscending;
  bool UndoSort = false, Show = false;
  bool IndexShow = false, AutoColumnMerge = false, AutoSortForGrouping = true;
  TColor IndexColor = 0x00FFFF;
  bool FixedCols = false;

  // The header row that shows the sort glyph: a write outside 0 .. FixedRows - 1 of the
  // grid raises "Sort row should be smaller than number of fixed rows" and keeps the value.
  int Row() const { return FRow; }
  void SetSortRow(int Value);

  // The sort glyphs: the object keeps its own bitmaps; a write copies the picture.
  TBitmap* UpGlyph() const { return FUpGlyph.get(); }
  void SetUpGlyph(TBitmap* Value) { FUpGlyph->Assign(Value); }
  TBitmap* DownGlyph() const { return FDownGlyph.get(); }
  void SetDownGlyph(TBitmap* Value) { FDownGlyph->Assign(Value); }
  TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
  void SetIndexUpGlyph(TBitmap* Value) { FIndexUpGlyph->Assign(Value); }
  TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
  void SetIndexDownGlyph(TBitmap* Value) { FIndexDownGlyph->Assign(Value); }
  TBitmap* GetUpGlyph() const { return FUpGlyph.get(); }
  TBitmap* GetDownGlyph() const { return FDownGlyph.get(); }

  // No sort column any more: clears the grid's sort index list and repaints the sort row.
  void Remove();

  // ---- sort header colours --------------------------------------------------------------
  TColor HeaderColor() const { return FHeaderColor; }
  void SetHeaderColor(TColor Value) { SetHeader(FHeaderColor, Value); }
  TColor HeaderColorTo() const { return FHeaderColorTo; }
  void SetHeaderColorTo(TColor Value) { SetHeader(FHeaderColorTo, Value); }
  TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
  void SetHeaderMirrorColor(TColor Value) { SetHeader(FHeaderMirrorColor, Value); }
  TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
  void SetHeaderMirrorColorTo(TColor Value) { SetHeader(FHeaderMirrorColorTo, Value); }
  // The current sort as text: "u<column>" ascending, "d<column>" descending ("u-1": no
  // sort column), or "i;" and the grid's sort index list when the index is shown.
  std::string SaveToString() const;
  // Restores a sort from such a text (empty: nothing); the sort is shown. The text must
  // start with "i;", "u" or "d"; anything else, a lone letter included, raises "Invalid
  // sort settings specifier". A number part that does not convert leaves the column.
  void LoadFromString(const std::string& Text);
  // Clears the four header colours without repainting (the style presets' reset).
  void ClearHeaderColors() { FHeaderColor = FHeaderColorTo = FHeaderMirrorColor = FHeaderMirrorColorTo = clNone; }

private:
  void SetHeader(TColor& Field, TColor Value);
  TDavEvadurAvuz* FGrid;
  int FRow = 0;
  std::unique_ptr<TBitmap> FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
  TColor FHeaderColor = clNone, FHeaderColorTo = clNone, FHeaderMirrorColor = clNone, FHeaderMirrorColorTo = clNone;
};

enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };

class TFilterData : public TCollectionItem {
  LORM_PUBLISHED(TFilterData, TCollectionItem)
public:
  explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  int Column = 0;
  std::string Condition;
  bool CaseSensitive = true;
  TFilterCells Data = fcVirtual;
  std::string Prefix;
  std::string Suffix;
  TFilterOperation Operation = foSHORT;
};

class TFilter : public TOwnedCollection {
  LORM_CLASS(TFilter, TOwnedCollection)
public:
  explicit TFilter(TDavEvadurAvuz* AGrid);
  TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
  // The first condition of Column, added when there is none.
  TFilterData* GetColFilter(int Column);
  TFilterData* GetItem(int Index) const { return static_cast<TFilterData*>(Items(Index)); }
  // Appends a new condition (the index is not used) and returns it.
  TFilterData* Insert(int Index) { return Add(); }
  // Copies the condition into the item at Index.
  void SetItem(int Index, TFilterData* Value) { GetItem(Index)->Assign(Value); }
};

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview };

using TCalcFooterEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;

// The floating footer: a strip at the bottom of the grid that shows the last row (with
// per-column calculations kept in that row's cell properties), one column of the current
// row, or a mark-up template filled from the current row.
class TFloatingFooter : public TPersistent {
  LORM_PUBLISHED(TFloatingFooter, TPersistent)
public:
  explicit TFloatingFooter(TDavEvadurAvuz* AGrid) : FGrid(AGrid) {}
  // Copies the style, colour, column, template, hidden-row counting and hint switch, and
  // Visible through its setter; a source of another class is ignored.
  void Assign(TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TFooterStyle FooterStyle = fsFixedLastRow;
  void SetFooterStyle(TFooterStyle Value);
  // The panel is one pixel lower than this.
  int Height = 22;
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  bool CalculateHiddenRows = true;
  int Column() const { return FColumn; }
  void SetColumn(int Value);
  const std::string& CustomTemplate() const { return FCustomTemplate; }
  void SetCustomTemplate(const std::string& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool EnableCalculation = true;
  // The calculation of a column, kept in the cell properties of its last-row cell.
  TColumnCalcType ColumnCalc(int ACol) const;
  void SetColumnCalc(int ACol, TColumnCalcType Value);
  TCalcFooterEvent OnCalcFooter;
  // Repaints the panel.
  void Invalidate();

private:
  TDavEvadurAvuz* FGrid;
  bool FVisible = false;
  TColor FColor = clBtnFace;
  TColor FBorderColor = clNone;
  int FColumn = 0;
  std::string FCustomTemplate;
  bool FShowHint = false;
};

enum TSearchDirection { sdTopBottom, sdLeftRight };

class TSearchFooter : public TPersistent {
  LORM_PUBLISHED(TSearchFooter, TPersistent)
public:
  explicit TSearchFooter(TDavEvadurAvuz* AGrid);
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
  TNotifyEvent OnChange;
  bool AutoSearch = true, SearchActiveColumnOnly = false, SearchMatchStart = false, SearchFixedCells = false,
       SearchHiddenRows = false;
  TSearchDirection SearchDirection = sdTopBottom;
  int SearchColumn = -1;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  // The text the last find looked for.
  std::string LastSearch;

private:
  TDavEvadurAvuz* FGrid;
  bool FVisible = false;
  bool FAutoThemeAdapt = false;
  TColor FColor = clBtnFace;
  TColor FColorTo = clWhite;
  std::unique_ptr<TFont> FFont;
};

class TGrouping : public TPersistent {
  LORM_PUBLISHED(TGrouping, TPersistent)
public:
  TGrouping() = default;
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
  bool AutoSelectGroup = false;
  bool Summary = false, MergeHeader = false, MergeSummary = false;
  TColor HeaderColor = clNone, HeaderColorTo = clNone, HeaderTextColor = clNone, SummaryColor = clNone,
         SummaryColorTo = clNone, SummaryTextColor = clNone;
  bool HeaderUnderline = false;
  TColor HeaderLineColor = 0xFF0000;
  int HeaderLineWidth = 2;
  bool SummaryLine = false;
  TColor SummaryLineColor = 0xFF0000;
  int SummaryLineWidth = 2;
  bool ShowGroupCount = false;
  std::string GroupCountFormat;
};

// The look of the controls drawn in cells.
enum TGridControlStyle { csClassic, csFlat, csWinXP, csBorland, csZAD, csGlyph, csTheme };

class TControlLook : public TPersistent {
  LORM_PUBLISHED(TControlLook, TPersistent)
public:
  explicit TControlLook(TDavEvadurAvuz* AGrid);
  ~TControlLook() override;
  // Copies every setting directly: nothing repaints and the grid's own gradient colours
  // stay as they are until a write operation runs.
  void Assign(TPersistent* Source) override;
  TGridControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TGridControlStyle Value);
  bool DropDownAlwaysVisible = false;
  bool SpinButtonsAlwaysVisible = false;
  // Check boxes (radio buttons) react to the user also in cells that cannot be edited.
  bool CheckAlwaysActive = false, RadioAlwaysActive = false;
  TColor ProgressBorderColor = clGray;
  int CheckBoxSize() const { return FCheckBoxSize; }
  void SetCheckBoxSize(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor CommentColor() const { return FCommentColor; }
  void SetCommentColor(TColor Value);
  bool FlatButton() const { return FFlatButton; }
  void SetFlatButton(bool Value);
  bool ProgressXP() const { return FProgressXP; }
  void SetProgressXP(bool Value);
  int RadioSize() const { return FRadioSize; }
  void SetRadioSize(int Value);
  bool FixedDropDownButton = false;
  bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
  void SetNoDisabledCheckRadioLook(bool Value);
  bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
  void SetNoDisabledButtonLook(bool Value);
  int ProgressMarginX() const { return FProgressMarginX; }
  void SetProgressMarginX(int Value);
  int ProgressMarginY() const { return FProgressMarginY; }
  void SetProgressMarginY(int Value);
  // The pictures of in-cell check boxes and radio buttons: a write copies the picture.
  TBitmap* CheckedGlyph() const { return FGlyphs[0].get(); }
  void SetCheckedGlyph(TBitmap* Value) { SetGlyph(0, Value); }
  TBitmap* UnCheckedGlyph() const { return FGlyphs[1].get(); }
  void SetUnCheckedGlyph(TBitmap* Value) { SetGlyph(1, Value); }
  TBitmap* RadioOnGlyph() const { return FGlyphs[2].get(); }
  void SetRadioOnGlyph(TBitmap* Value) { SetGlyph(2, Value); }
  TBitmap* RadioOffGlyph() const { return FGlyphs[3].get(); }
  void SetRadioOffGlyph(TBitmap* Value) { SetGlyph(3, Value); }
  void SetDropDownAlwaysVisible(bool Value);
  void SetSpinButtonsAlwaysVisible(bool Value);
  // The header and footer strips of the grid's in-place drop-downs: a write copies.
  DizDropDown::THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
  void SetDropDownHeader(DizDropDown::THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
  DizDropDown::TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
  void SetDropDownFooter(DizDropDown::TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
  TColor FixedGradientFrom() const { return FFixedGradientFrom; }
  void SetFixedGradientFrom(TColor Value);
  TColor FixedGradientTo() const { return FFixedGradientTo; }
  void SetFixedGradientTo(TColor Value);

  // ---- the rest of the fixed-cell gradient colours -------------------------------------
  // Each keeps its own value; a value other than clNone also goes to the grid's copy.
  TColor FixedGradientMirrorFrom() const { return FMirrorFrom; }
  void SetFixedGradientMirrorFrom(TColor Value);
  TColor FixedGradientMirrorTo() const { return FMirrorTo; }
  void SetFixedGradientMirrorTo(TColor Value);
  TColor FixedGradientHoverFrom() const { return FHover[0]; }
  void SetFixedGradientHoverFrom(TColor Value) { SetHoverDown(FHover, 0, Value); }
  TColor FixedGradientHoverTo() const { return FHover[1]; }
  void SetFixedGradientHoverTo(TColor Value) { SetHoverDown(FHover, 1, Value); }
  TColor FixedGradientHoverMirrorFrom() const { return FHover[2]; }
  void SetFixedGradientHoverMirrorFrom(TColor Value) { SetHoverDown(FHover, 2, Value); }
  TColor FixedGradientHoverMirrorTo() const { return FHover[3]; }
  void SetFixedGradientHoverMirrorTo(TColor Value) { SetHoverDown(FHover, 3, Value); }
  TColor FixedGradientHoverBorder() const { return FHover[4]; }
  void SetFixedGradientHoverBorder(TColor Value) { SetHoverDown(FHover, 4, Value); }
  TColor FixedGradientDownFrom() const { return FDown[0]; }
  void SetFixedGradientDownFrom(TColor Value) { SetHoverDown(FDown, 0, Value); }
  TColor FixedGradientDownTo() const { return FDown[1]; }
  void SetFixedGradientDownTo(TColor Value) { SetHoverDown(FDown, 1, Value); }
  TColor FixedGradientDownMirrorFrom() const { return FDown[2]; }
  void SetFixedGradientDownMirrorFrom(TColor Value) { SetHoverDown(FDown, 2, Value); }
  TColor FixedGradientDownMirrorTo() const { return FDown[3]; }
  void SetFixedGradientDownMirrorTo(TColor Value) { SetHoverDown(FDown, 3, Value); }
  TColor FixedGradientDownBorder() const { return FDown[4]; }
  void SetFixedGradientDownBorder(TColor Value) { SetHoverDown(FDown, 4, Value); }

private:
  void SetGlyph(int Index, TBitmap* Value);
  std::unique_ptr<TBitmap> FGlyphs[4];
  std::unique_ptr<DizDropDown::THeaderAppearance> FDropDownHeader;
  std::unique_ptr<DizDropDown::TFooterAppearance> FDropDownFooter;
  bool FNoDisabledCheckRadioLook = false, FNoDisabledButtonLook = false;
  int FProgressMarginX = 2, FProgressMarginY = 2;
  void SetHoverDown(TColor* Set, int Index, TColor Value);
  TColor FMirrorFrom = clNone, FMirrorTo = clNone;
  TColor FHover[5] = {clNone, clNone, clNone, clNone, clNone};
  TColor FDown[5] = {clNone, clNone, clNone, clNone, clNone};

  void Repaint();
  TDavEvadurAvuz* FGrid;
  TGridControlStyle FControlStyle = csTheme;
  int FCheckBoxSize = 15;
  TColor FColor = clBlack;
  TColor FCommentColor = clRed;
  bool FFlatButton = false;
  bool FProgressXP = false;
  int FRadioSize = 10;
  TColor FFixedGradientFrom = clNone;
  TColor FFixedGradientTo = clNone;
};

class TBands : public TPersistent {
  LORM_PUBLISHED(TBands, TPersistent)
public:
  explicit TBands(TDavEvadurAvuz* AGrid) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TColor PrimaryColor() const { return FPrimaryColor; }
  void SetPrimaryColor(TColor Value);
  TColor SecondaryColor() const { return FSecondaryColor; }
  void SetSecondaryColor(TColor Value);
  int PrimaryLength() const { return FPrimaryLength; }
  void SetPrimaryLength(int Value);
  int SecondaryLength() const { return FSecondaryLength; }
  void SetSecondaryLength(int Value);
  // Rows per colour cycle.
  int Period() const { return FPrimaryLength + FSecondaryLength; }
  bool Print = false;

private:
  TDavEvadurAvuz* FGrid;
  int FPrimaryLength = 1, FSecondaryLength = 1;
  bool FActive = false;
  TColor FPrimaryColor = clInfoBk;
  TColor FSecondaryColor = clWindow;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

class TBackGround : public TPersistent {
  LORM_PUBLISHED(TBackGround, TPersistent)
public:
  explicit TBackGround(TDavEvadurAvuz* AGrid);
  ~TBackGround() override;
  // Copies the picture, its place and the colours of another background directly.
  void Assign(TPersistent* Source) override;
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value);
  int Top() const { return FTop; }
  void SetTop(int Value);
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  TBackGroundDisplay Display() const { return FDisplay; }
  void SetDisplay(TBackGroundDisplay Value);
  TBackGroundCells Cells() const { return FCells; }
  void SetBackGroundCells(TBackGroundCells Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);

private:
  void Repaint();
  TDavEvadurAvuz* FGrid;
  int FTop = 0, FLeft = 0;
  TBackGroundDisplay FDisplay = bdTile;
  TBackGroundCells FCells = bcNormal;
  TColor FColor = clWindow;
  TColor FColorTo = clBtnFace;
  std::unique_ptr<TBitmap> FBitmap;
};

class TDragDropSettings : public TPersistent {
  LORM_PUBLISHED(TDragDropSettings, TPersistent)
public:
  explicit TDragDropSettings(TDavEvadurAvuz* AGrid) : FGrid(AGrid) {}
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
  bool ShowCells = true, OleAcceptText = true, OleAcceptFiles = true, OleAcceptURLs = true, OleCopyAlways = false,
       OleDropTarget = false, OleDropSource = false, OleEntireRows = false, OleInsertRows = false,
       OleRemoveRows = false, OleDropRTF = false, OleColumnDragDrop = false;

private:
  TDavEvadurAvuz* FGrid;
};

class TShowModified : public TPersistent {
  LORM_PUBLISHED(TShowModified, TPersistent)
public:
  TShowModified() = default;
  void Assign(TPersistent* Source) override;
  // Raised by every write of Color (also of the value it has).
  TNotifyEvent OnChange;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

private:
  bool FEnabled = false;
  TColor FColor = 0x00FFFF;
};

class TBalloonSettings : public TPersistent {
  LORM_PUBLISHED(TBalloonSettings, TPersistent)
public:
  TBalloonSettings() = default;
  void Assign(TPersistent* Source) override;
  // Raised by every write of Enable (also of the value it has).
  TNotifyEvent OnEnableChange;
  bool Enable() const { return FEnable; }
  void SetEnable(bool Value);
  TColor BackgroundColor = clNone;
  TColor TextColor = clNone;
  uint8_t Transparency = 0;
  // Tooltip delays in milliseconds; -1 keeps the system's own.
  int AutoHideDelay = -1, InitialDelay = -1, ReshowDelay = -1;
  // Set by the grid while its balloon tooltip window exists.
  bool Initialized = false;

private:
  bool FEnable = false;
};

class TDragScrollDelays : public TPersistent {
  LORM_PUBLISHED(TDragScrollDelays, TPersistent)
public:
  TDragScrollDelays() = default;
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
  int InitialDelay = 1000;
  int RepeatDelay = 250;
};

class TDragScrollMargins : public TPersistent {
  LORM_PUBLISHED(TDragScrollMargins, TPersistent)
public:
  TDragScrollMargins() = default;
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
  int TopMargin = 50, BottomMargin = 50, LeftMargin = 50, RightMargin = 50;
};

class TDragScrollOptions : public TPersistent {
  LORM_PUBLISHED(TDragScrollOptions, TPersistent)
public:
  TDragScrollOptions();
  ~TDragScrollOptions() override;
  void Assign(TPersistent* Source) override;
  bool Active = false;
  TDragScrollDelays* Delays() const { return FDelays.get(); }
  void SetDelays(TDragScrollDelays* Value) { FDelays->Assign(Value); }
  TDragScrollMargins* Margins() const { return FMargins.get(); }
  void SetMargins(TDragScrollMargins* Value) { FMargins->Assign(Value); }

private:
  std::unique_ptr<TDragScrollDelays> FDelays;
  std::unique_ptr<TDragScrollMargins> FMargins;
};

// The grid's progress bar look; its own namespace keeps these names apart from the status
// bar's progress settings.
namespace VezIdid {
enum TProgressStyle { psXP, psClassic };
}

// The look of in-cell progress bars. A write that changes a value raises OnChange; Assign
// copies everything and raises OnChange once.
class TGridProgressAppearance : public TPersistent {
  LORM_PUBLISHED(TGridProgressAppearance, TPersistent)
public:
  TGridProgressAppearance() = default;
  void Assign(TPersistent* Source) override;
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TNotifyEvent OnChange;

#define LORM_PROGRESS_PROP(Type, Name, Default)   \
  Type Name() const { return F##Name; }            \
  void Set##Name(Type Value) {                     \
    if (F##Name == Value) return;                  \
    F##Name = Value;                               \
    Changed();                                     \
  }                                                \
                                                   \
 private:                                          \
  Type F##Name = Default;                          \
                                                   \
 public:
  LORM_PROGRESS_PROP(TColor, CompleteColor, 0x0000FF)
  LORM_PROGRESS_PROP(TColor, CompleteFontColor, 0xFF0000)
  LORM_PROGRESS_PROP(TColor, UnCompleteColor, clNone)
  LORM_PROGRESS_PROP(TColor, UnCompleteFontColor, clWindowText)
  LORM_PROGRESS_PROP(TColor, Level0Color, 0x00FF00)
  LORM_PROGRESS_PROP(TColor, Level0ColorTo, 0xE1FFE1)
  LORM_PROGRESS_PROP(TColor, Level1Color, 0x00FFFF)
  LORM_PROGRESS_PROP(TColor, Level1ColorTo, 0xCAFFFF)
  LORM_PROGRESS_PROP(TColor, Level2Color, 0x53A9FF)
  LORM_PROGRESS_PROP(TColor, Level2ColorTo, 0xA8D3FF)
  LORM_PROGRESS_PROP(TColor, Level3Color, 0x0000FF)
  LORM_PROGRESS_PROP(TColor, Level3ColorTo, 0xCACAFF)
  LORM_PROGRESS_PROP(int, Level1Perc, 70)
  LORM_PROGRESS_PROP(int, Level2Perc, 90)
  LORM_PROGRESS_PROP(TColor, BorderColor, 0)
  LORM_PROGRESS_PROP(bool, ShowBorder, false)
  LORM_PROGRESS_PROP(bool, Stacked, false)
  LORM_PROGRESS_PROP(bool, ShowPercentage, true)
  LORM_PROGRESS_PROP(bool, CompletionSmooth, true)
  LORM_PROGRESS_PROP(bool, ShowGradient, true)
  LORM_PROGRESS_PROP(int, Steps, 11)
  LORM_PROGRESS_PROP(VezIdid::TProgressStyle, Style, VezIdid::psXP)
#undef LORM_PROGRESS_PROP
};

class TFilterDropDown : public TPersistent {
  LORM_PUBLISHED(TFilterDropDown, TPersistent)
public:
  TFilterDropDown() = default;
  void Assign(TPersistent* Source) override { CopyPublishedProps(this, Source); }
};

// The record of one hidden row: its real index, height, hide level and cells (one text
// per real column, with the cell's properties object attached).
class TGridItem : public TCollectionItem {
  LORM_PUBLISHED(TGridItem, TCollectionItem)
public:
  explicit TGridItem(TCollection* Collection);
  ~TGridItem() override;
  int Idx = 0;
  int Height = 0;
  int Level = 0;
  // Made by a list hide (a range hide leaves Level 0 too).
  bool FromList = false;
  TStringList* Items() const { return FItems.get(); }
  // Copies the lines (with their objects); the caller keeps its list.
  void SetItems(TStrings* Value) {
    if (Value) FItems->Assign(Value);
    else FItems->Clear();
  }

private:
  std::unique_ptr<TStringList> FItems;
};
