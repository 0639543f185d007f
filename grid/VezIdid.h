#pragma once
// VezIdid: the string grid TDavEvadurAvuz. It is a TBaseGrid that owns its option and
// settings objects and its editor child controls, publishes its whole surface for stored
// forms, keeps hidden rows and columns beside the visible grid and maps between the two.
//
// Indexes: a display index counts the visible rows (columns); a real index counts hidden
// ones too. GetCellEx/SetCellEx take a real column and a display row; GetCellsEx and its
// family a real column and a real row; Row, Col, RowCount, ColCount, the selection and
// painting are display indexes. RemapCol/RemapColInv/RemapRow/RemapRowInv translate.
//
// Sources: VezIdid.cpp (construction, loading, window, Assign), VezIdidAccess.cpp (sizes
// and cell accessors), VezIdidMap.cpp (index mapping and the current row),
// VezIdidPublish.cpp (the published surface), VezIdidOptions.cpp (option classes),
// VezIdidEdit.cpp (editor controls and the selection check), VezIdidPaint.cpp (cell text).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizUtil.h"
#include "grid/BaseGrid.h"
#include "grid/RavIze.h"
#include "grid/VezIdidEdit.h"
#include "grid/VezIdidExchange.h"
#include "grid/VezIdidOptions.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"

LORM_DECLARE_EXCEPTION(EVezIdidError, Exception);

// A new office hint object (kept apart: its unit and the window units do not mix).
std::unique_ptr<TPersistent> NewOfficeHint();

enum TGridLook { glStandard, glSoft, glClassic, glZAD, glXP, glListView, glVista, glWin7, glOffice2007, glCustom };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum TScrollType { ssNormal, ssFlat, ssEncarta };
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;
// How a column compares when sorting (chosen by the column format hook or detected).
enum TSortStyle {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS, ssCustom,
  ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssUnicode, ssAlphaNumeric,
  ssAlphaNumericNoCase
};
enum TDragScrollDirections { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirection = TSet<TDragScrollDirections>;
enum TSearchAction { saFindFirst, saFindNext, saFindPrevious };
enum TFindParameters {
  fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart, fnFindInCurrentRow,
  fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward, fnIncludeHiddenColumns,
  fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells, fnIncludeHiddenRows
};
using TFindParams = TSet<TFindParameters>;
// The grid's colour presets, in the order of DUZERazav.
enum TVezIdidStyle {
  gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
  gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista, gsWindows7,
  gsTerminal
};
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };

class TDavEvadurAvuz;
class TForm;

// Where a custom editor's control lives: in the cell, or in a pop-up form over it.
enum TEditStyle { esInplace, esPopup };

// The base of custom cell editors (edCustom cells, the grid's EditLink): a derived link
// creates its control, moves values between the cell and the control and binds
// EditKeyDown to the control's key-down event so that the leaving keys end the edit
// (VezIdidEditLink.cpp).
class TEditLink : public TComponent {
  LORM_PUBLISHED(TEditLink, TComponent)
public:
  explicit TEditLink(TComponent* AOwner);
  ~TEditLink() override;

  virtual void EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual TWinControl* GetEditControl() { return nullptr; }
  virtual void CreateEditor(TWinControl* AParent) {}
  virtual void DestroyEditor() {}
  virtual void SetFocus(bool Value);
  virtual void SetRect(TRect R);
  virtual void SetVisible(bool Value);
  virtual void SetProperties() {}
  virtual void SetCellProps(TColor AColor, TFont* AFont) {}
  virtual std::string GetEditorValue() { return std::string(); }
  virtual void SetEditorValue(const std::string& S) {}

  void EditExit(TObject* Sender);
  void FormExit(TObject* Sender);
  std::string GetCellValue();
  void SetCellValue(const std::string& S);
  void HideEditor();
  void RestoreWinProc();
  TWinControl* GetParent();

  TDavEvadurAvuz* Grid() const { return FGrid; }
  void SetGrid(TDavEvadurAvuz* Value) { FGrid = Value; }
  // The pop-up form of esPopup, made on the first pop-up edit and owned by the link.
  TForm* PopupForm() const { return FPopupForm; }
  TForm* EnsurePopupForm();
  bool ForcedExit() const { return FForcedExit; }
  int EditCol = 0, EditRow = 0;

  bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false,
       WantKeyReturn = false, WantKeyEscape = false;
  TEditStyle EditStyle = esInplace;
  int PopupWidth = 0, PopupHeight = 0;
  bool AutoPopupWidth = false;
  int PopupLeft = -1, PopupTop = -1;
  int LinkTag = 0;
  // Published accessors.
  bool GetWantKeyLeftRight() const { return WantKeyLeftRight; }
  void SetWantKeyLeftRight(bool V) { WantKeyLeftRight = V; }
  bool GetWantKeyUpDown() const { return WantKeyUpDown; }
  void SetWantKeyUpDown(bool V) { WantKeyUpDown = V; }
  bool GetWantKeyHomeEnd() const { return WantKeyHomeEnd; }
  void SetWantKeyHomeEnd(bool V) { WantKeyHomeEnd = V; }
  bool GetWantKeyPriorNext() const { return WantKeyPriorNext; }
  void SetWantKeyPriorNext(bool V) { WantKeyPriorNext = V; }
  bool GetWantKeyReturn() const { return WantKeyReturn; }
  void SetWantKeyReturn(bool V) { WantKeyReturn = V; }
  bool GetWantKeyEscape() const { return WantKeyEscape; }
  void SetWantKeyEscape(bool V) { WantKeyEscape = V; }
  TEditStyle GetEditStyle() const { return EditStyle; }
  void SetEditStyle(TEditStyle V) { EditStyle = V; }
  int GetPopupWidth() const { return PopupWidth; }
  void SetPopupWidth(int V) { PopupWidth = V; }
  int GetPopupHeight() const { return PopupHeight; }
  void SetPopupHeight(int V) { PopupHeight = V; }
  bool GetAutoPopupWidth() const { return AutoPopupWidth; }
  void SetAutoPopupWidth(bool V) { AutoPopupWidth = V; }
  int GetPopupLeft() const { return PopupLeft; }
  void SetPopupLeft(int V) { PopupLeft = V; }
  int GetPopupTop() const { return PopupTop; }
  void SetPopupTop(int V) { PopupTop = V; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  friend class TDavEvadurAvuz;
  TDavEvadurAvuz* FGrid = nullptr;
  TForm* FPopupForm = nullptr;
  bool FForcedExit = false;
  std::function<void(TMessage&)> FSavedWindowProc;
  TWinControl* FHooked = nullptr;
};

// The one adornment a cell may own, kept in the graphic slot of its cell properties;
// CellType says what it is and which of the other fields mean something.
enum TCellType {
  ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
  ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
  ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
  ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating
};
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };

// The interface of application objects drawn in cells (ctInterface). IsBackground true: the
// object is drawn beneath the cell text, over the whole cell.
class ICellGraphic {
public:
  virtual ~ICellGraphic() = default;
  virtual void Draw(TCanvas* Canvas, TRect& R, int ACol, int ARow, bool Selected, TDavEvadurAvuz* Grid) = 0;
  virtual int CellWidth() = 0;
  virtual int CellHeight() = 0;
  virtual bool IsBackground() = 0;
};

// How a cell picture fills its cell.
enum TStretchMode { noStretch, Stretch, Shrink, StretchWithAspectRatio, ShrinkWithAspectRatio };

// One payload slot of a cell graphic: the object the kind shows (bitmap, icon, picture,
// file picture, integer list, option strings, interfaced object) or a colour, by kind.
struct TCellPayload {
  TObject* Object = nullptr;
  TColor Color = clNone;
};

class TCellGraphic : public TPersistent {
  LORM_PUBLISHED(TCellGraphic, TPersistent)
public:
  TCellGraphic() = default;
  // Copies the kind and every plain field; not the payloads nor the last radio option.
  void Assign(TPersistent* Source) override;
  // Each sets the kind and the fields it names; the others stay as they are.
  void SetBitmap(TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetIcon(TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetPicture(TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding, TCellHAlign HAlign,
                  TCellVAlign VAlign);
  void SetFilePicture(TFilePicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                      TCellHAlign HAlign, TCellVAlign VAlign);
  void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetRadioButton(bool Value, bool Flat, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetButton(int Width, int Height, const std::string& Caption, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetBitButton(int Width, int Height, const std::string& Caption, TBitmap* Glyph, TCellHAlign HAlign,
                    TCellVAlign VAlign);
  void SetImageIdx(int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  void SetDataImage(int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  // A new integer list for the cell, owned by the graphic; OnChange hears its changes.
  void SetMultiImage(int ACol, int ARow, int Dir, TCellHAlign HAlign, TCellVAlign VAlign,
                     std::function<void(TObject*, int, int)> OnChange);
  void SetInterfacedCell(TObject* Object);
  // ctRotated; the angle (taken as 16 bits) is brought into 0 .. 360.
  void SetAngle(int Angle);
  // Frees the payload the graphic owns: the integer list of ctImages and the string list
  // of ctBalloon always, the object of ctBitmap, ctRadio, ctPicture, ctFilePicture and
  // ctBitButton and the icon of ctIcon when CellCreated.
  ~TCellGraphic() override;
  void FreePayload();
  // The size of a ctPicture or ctFilePicture in a cell of the given size, by the stretch
  // mode (CellAngle) less the padding (CellIndex); other kinds leave the values alone.
  void GetPictureSize(int& Width, int& Height, bool HasText);
  TCellType CellType = ctNone;
  // Main payload and second payload (the icon of ctIcon, or a second colour).
  TCellPayload CellRef;
  TCellPayload CellRef2;
  TCellHAlign CellHAlign = haLeft;
  TCellVAlign CellVAlign = vaTop;
  int CellIndex = 0;
  bool CellTransparent = false;
  bool CellCreated = false;
  bool CellBoolean = false;
  int CellAngle = 0;
  double CellValue = 0;
  int CellErrFrom = 0;
  int CellErrLen = 0;
  std::string CellText;
  // The options of a radio group (the caller's list).
  TStrings* CellStrings = nullptr;
  // The option a radio group last moved to.
  int CellVariant = -1;
};

// A component that follows the cell changes of the grids it is registered with.
class TGridChangeNotifier : public TComponent {
  LORM_CLASS(TGridChangeNotifier, TComponent)
public:
  explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
  virtual void CellsChanged(const TRect& R) {
    if (OnCellsChanged) OnCellsChanged(this, R);
  }
  std::function<void(TObject* Sender, const TRect& R)> OnCellsChanged;
};

using TRowChangedEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;

// The icon of a cell balloon (the tool tip's TTI_ values).
enum TBalloonIcon { biNone, biInfo, biWarning, biError };
// Page size and range of an in-cell scroll bar.
struct TScrollProp {
  int PageSize = -1;
  int Range = -1;
};

class TDavEvadurAvuz : public TBaseGrid {
  LORM_PUBLISHED(TDavEvadurAvuz, TBaseGrid)
public:
  explicit TDavEvadurAvuz(TComponent* AOwner);
  ~TDavEvadurAvuz() override;

  // ---- life cycle (VezIdid.cpp) -----------------------------------------------------
  void Assign(TPersistent* Source) override;
  virtual void AssignCells(TPersistent* Source);
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Invalidate() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void UpdateScrollBars(bool Force);
  static TCustomForm* GetParentForm(TControl* Control);
  // The next Invalidate only clears this flag.
  void SuppressNextInvalidate() { FSuppressInvalidate = true; }

  // ---- update bracket and the members other parts call -------------------------------
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  void HideInplaceEdit();
  void ShowInplaceEdit();
  TInplaceEdit* GetInplaceEditor() { return InplaceEditor(); }
  void CellControlsUpdate();
  virtual void CellsChanged(const TRect& R);
  void InitOrigColSizes();
  void BalloonInit();
  void SearchChanged(TObject* Sender);
  void BalloonChange(TObject* Sender);
  void ModifiedChanged(TObject* Sender) {}
  void GridResize(TObject* Sender);
  virtual uint32_t GetVersionNr() { return 0x05000200; }
  std::string GetVersionString();
  std::string Version() { return GetVersionString(); }
  void SetVersion(const std::string&) {}
  virtual void OnMouseActionsChanged(TObject* Sender) {}
  virtual void OnNavigationChanged(TObject* Sender) {}
  // The filter list's choice: the list's item index (VezIdidFilter.cpp).
  virtual void FilterSelect(TObject* Sender);
  virtual void DoColorSelect(TObject* Sender) {}
  virtual void DoImageSelect(TObject* Sender) {}
  void WideEllipsClick(TObject* Sender) {}
  void DatePickerCloseUp(TObject* Sender);
  void DatePickerDropDown(TObject* Sender);
  void DateTimePickerChange(TObject* Sender);
  void RichSelChange(TObject* Sender);

  // ---- painting and exchange members the data model calls -----------------------------
  TGridRect GetSelectionEx() const { return Selection(); }
  void SetSelectionEx(const TGridRect& R);
  TScrollStyle GetScrollBarsEx() const { return ScrollBars(); }
  void SetScrollBarsEx(TScrollStyle Value);
  void UpdateFooter();
  // Flat scroll bars (VezIdidFlatScroll.cpp), through the common controls' entry points
  // looked up by name on every call; each does nothing when its entry is missing, and the
  // bars stay standard ones.
  void FlatInit();
  void FlatDone();
  int FlatSetScrollInfo(int Bar, SCROLLINFO& ScrollInfo, bool Redraw);
  void FlatSetScrollProp(int Index, INT_PTR Value, bool Redraw);
  void FlatShowScrollBar(int Bar, bool Show);
  void FlatUpdate();
  void UpdateType();
  void UpdateWidth();
  void UpdateColor();
  bool FlatActive() const { return FFlatScrollBars; }
  // Whether a scroll style has the bar (SB_HORZ, SB_VERT).
  static bool ScrollStyleHasBar(TScrollStyle Style, int Bar);
  void NCPaintProc();
  // The floating footer's calculations (VezIdidFooter.cpp): -1 means every column.
  virtual void CalcFooter(int ACol);
  virtual void DoCalcFooter(int ACol);
  void FloatFooterUpdate() override;
  // A footer template with each "<#n>" replaced by the text of column n of the current
  // row; a tag whose number does not convert is dropped.
  std::string FooterTemplateText(const std::string& Template);
  // Set while the footer panel paints cells through the grid.
  bool FooterPainting = false;
  void StretchColumn(int Index);
  void SetAutoSizeP(bool Value);
  void SetLook(TGridLook Value);
  void SetEditorsStyle(DUZERazav AStyle);
  DUZERazav EditorsStyle() const { return FEditorsStyle; }
  virtual std::string GetFormattedCell(int ACol, int ARow);
  // The horizontal alignment a cell's text is drawn with (real column), as painting
  // resolves it; the text editor follows it.
  TAlignment GetCellAlignment(int ACol, int ARow);
  virtual void ExportNotification(int AState, int ARow) {}

  // ---- dimensions and cell accessors (VezIdidAccess.cpp) -----------------------------
  int GetRowCountEx() const { return RowCount(); }
  void SetRowCountEx(int Value);
  int GetColCountEx() const { return ColCount(); }
  void SetColCountEx(int Value);
  int GetFixedRowsEx() const;
  void SetFixedRowsEx(int Value);
  int GetFixedColsEx() const;
  void SetFixedColsEx(int Value);
  int GetDefRowHeightEx() const { return DefaultRowHeight(); }
  void SetDefRowHeightEx(int Value);
  int GetFixedColWidth() const { return ColWidths(0); }
  void SetFixedColWidth(int Value);
  int FixedRowHeight() const { return FFixedRowHeight; }
  void SetFixedRowHeight(int Value);
  int FixedFooters() const { return FFixedFooters; }
  void SetFixedFooters(int Value);
  int FixedRightCols() const { return FFixedRightCols; }
  void SetFixedRightCols(int Value);
  bool WordWrap() const { return FWordWrapDefault; }
  void SetWordWrapEx(bool Value);
  bool FixedRowAlways = false;
  bool FixedColAlways = false;
  int GetAllRowCount() const { return RowCount() + NumHiddenRows(); }
  int GetAllColCount() const { return ColCount() + NumHiddenColumns(); }

  std::string GetCellsEx(int ACol, int ARow);
  void SetCellsEx(int ACol, int ARow, const std::string& Value);
  std::string GetGridCellsEx(int ACol, int ARow);
  void SetGridCellsEx(int ACol, int ARow, const std::string& Value);
  std::u16string GetWideCellsEx(int ACol, int ARow) { return DecodeWide(GetCellsEx(ACol, ARow)); }
  void SetWideCellsEx(int ACol, int ARow, const std::u16string& Value);
  TObject* GetObjectsEx(int ACol, int ARow);
  void SetObjectsEx(int ACol, int ARow, TObject* Value);
  TObject* GetAllGraphicsObject(int ACol, int ARow);
  TStrings* HiddenRow(int ARow);
  std::u16string GetWideCells(int ACol, int ARow) { return DecodeWide(GetCellEx(ACol, ARow)); }
  void SetWideCells(int ACol, int ARow, const std::u16string& Value);
  std::string GetStrippedCell(int ACol, int ARow);
  std::string GetOriginalCells(int ACol, int ARow);
  void SetOriginalCells(int ACol, int ARow, const std::string& Value);
  int SortedRowIndex(int ARow);
  int UnSortedRowIndex(int ARow);
  std::string GetUnSortedCell(int ACol, int ARow);
  void SetUnSortedCell(int ACol, int ARow, const std::string& Value);
  int GetAllColWidths(int ACol);
  void SetAllColWidths(int ACol, int W);

  void SetColumnOrder();
  int ColumnPosition(int ACol) const;
  int ColumnAtPosition(int Pos) const;
  void ResetColumnOrder();
  int ColumnByHeader(const std::string& Header);
  TIntList* ColumnOrder() const { return FColumnOrder.get(); }

  virtual std::string GetCurrentCell();
  virtual void SetCurrentCell(const std::string& Value);
  virtual std::string GetCurrentDisplCell();
  virtual void SetEditCell(const std::string& Value);
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  bool EditTextLoading() const { return FEditTextLoading; }
  void EditTextLoaded() { FEditTextLoading = false; }
  // Keeps an automatic-range in-cell scroll bar in step with the cell's text.
  void CellTextChange(int ACol, int ARow) override;

  virtual void CalcCell(int ACol, int ARow, std::string& Value);
  virtual void LoadCell(int ACol, int ARow, const std::string& Value);
  virtual void SaveCell(int ACol, int ARow, std::string& Value);
  virtual std::string GetCheckTrue(int ACol, int ARow);
  virtual std::string GetCheckFalse(int ACol, int ARow);
  bool SaveFormatted = true;
  bool SaveWithHTML = true;
  bool SaveWithRTF = false;

  // ---- index mapping (VezIdidMap.cpp) ------------------------------------------------
  int RemapCol(int ACol) const;
  int RemapColInv(int ACol) const;
  int RemapRow(int ARow) const;
  int RemapRowInv(int ARow) const;
  int RealColIndex(int ACol) const { return RemapCol(ACol); }
  int DisplColIndex(int ACol) override { return RemapColInv(ACol); }
  int DisplRowIndex(int ARow) const { return RemapRow(ARow); }
  int RealRowIndex(int ARow) const { return RemapRowInv(ARow); }
  bool IsHiddenColumn(int ACol) const;
  bool IsHiddenRow(int ARow) const;
  bool IsHiddenRow(int ARow, std::unique_ptr<TIntList>& List) const;
  int GetRealCol() const { return RemapCol(Col()); }
  int GetRealRow() const { return RemapRowInv(Row()); }
  int GetRowEx() const { return Row(); }
  void SetRowEx(int ARow);
  int GetTopRowEx() const { return TopRow(); }
  void SetTopRowEx(int Value) { SetTopRow(Value); }
  bool IsIgnoredColumn(int ACol) const { return FIgnoredColumns->HasValue(ACol); }
  TIntList* IgnoredColumns() const { return FIgnoredColumns.get(); }
  int NumHiddenColumns() const { return FHiddenColCount; }
  int NumHiddenRows() const { return FHiddenRows->Count(); }
  int TotalColCount() const { return ColCount() + FHiddenColCount; }
  int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
  bool GetVisibleCol(int ACol) const;
  void SetVisibleCol(int ACol, bool Value);
  int HiddenColumnWidth(int ACol) const;
  void SetHiddenColumnWidth(int ACol, int Width);
  void SetHiddenColCount(int Value) { FHiddenColCount = Value; }
  TCollection* HiddenRowStore() const { return FHiddenRows.get(); }
  TGridItem* HiddenRowRecord(int ARealRow) const;
  void ScrollInView(int ACol, int ARow);
  void HideSelection();
  void UnHideSelection();
  bool SelectionHidden() const { return FSelectionHidden; }
  bool UpdateEditMode();
  virtual TRect GetUsedCells();
  int GetSaveStartCol();
  int GetSaveStartRow();
  int GetSaveEndCol();
  int GetSaveEndRow();
  int GetSaveColCount();
  int GetSaveRowCount();
  int LastUpdatedRow = -1;
  bool SelectCellSuppressed = false;
  bool ExportFixedCells = true;
  TIntList* SortCrossReference() const { return FSortList.get(); }

  // ---- sorting (VezIdidSort.cpp) -------------------------------------------------------
  // Rows are display rows; a sort column is a store column (a hidden column's cells can be
  // compared too). A sort moves whole rows: texts and cell properties of every column,
  // hidden ones included, row heights, the modified flags (ShowModified.Enabled), the
  // disjunct selection flags (DisjunctRowSelect with MoveRowOnSort) and, with
  // MoveRowOnSort, the current row. The sorts decide the order first and then move every
  // row once; no event handler runs while rows are moving, so one that raises leaves the
  // grid as it was. A sort compares and moves the rows from FixedRows to the last row
  // above the footer rows.
  //
  // 1 when row 1 sorts after row 2 in ACol, -1 before, 0 equal (ascending sense; Dir only
  // steers where blank cells go).
  int Compare(int ACol, int ARow1, int ARow2, TSortDirection Dir);
  // Compare with the settings' direction; ties go on to the columns on the right (Full).
  int CompareLine(int ACol, int ARow1, int ARow2);
  // The comparison by the sort index list from key Index on, each key's direction applied.
  int CompareLineIndexed(int Index, int ARow1, int ARow2);
  // One bubble step: swaps the rows when row 1 sorts after row 2 in Direction, looking at
  // the next columns on ties; true when it swapped.
  bool SortLine(int ACol, int ARow1, int ARow2);
  // Sorts on ACol (nothing with fewer than 2 rows); Sort also sets the direction.
  void SortByColumn(int ACol);
  void Sort(int ACol, TSortDirection Dir);
  // All normal rows by SortSettings.Column and Direction (nothing when Column < 0); the
  // sort index list is emptied.
  virtual void QSort();
  // All normal rows by the sort index list; an empty list raises EVezIdidError "No indexes
  // specified for indexed sort".
  virtual void QSortIndexed();
  // Puts every row back in the order it had before the first sort since the row count
  // last changed; the cross-reference list is the identity afterwards.
  virtual void QUnSort();
  // Rows Left..Right by ACol (by the index list), without update lock or current row.
  void QuickSort(int ACol, int Left, int Right);
  void QuickSortIndexed(int Left, int Right);
  void QuickSortRows(int ACol, int Left, int Right);
  void QuickSortRowsIndexed(int Index, int Left, int Right);
  // Exchanges two rows as a sort does (SingleColumn: only the sort column's cells).
  virtual void SortSwapRows(int ARow1, int ARow2);
  // Exchange two rows (columns) with their cells, sizes and cell controls.
  void SwapRows(int ARow1, int ARow2);
  void SwapColumns(int ACol1, int ACol2);
  // The cross-reference list becomes 0 .. RowCount - 1.
  void InitSortXRef();
  // The style and the prefix and suffix around numbers of a column (OnGetFormat).
  virtual void GetColFormat(int ACol, TSortStyle& AStyle, std::string& aPrefix, std::string& aSuffix);

private:
  struct TSortCell;
  struct TSortCache;
  enum class TSortKind { Column, Indexed };
  int CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Dir, TSortStyle Style, const std::string& Prefix,
                   const std::string& Suffix, TSortCell& C1, TSortCell& C2);
  std::string SortText(int ACol, int ARow);
  int SortImageIndex(int ACol, int ARow);
  // The order of rows Left..Right: entry k is the row that goes to Left + k.
  std::vector<int> SortedOrder(TSortKind Kind, int ACol, int Left, int Right);
  // Moves row Src[k] to row Dest[k] for every k (together a permutation of those rows),
  // as SortSwapRows exchanges them; SortColumn is the one column SingleColumn moves.
  void MoveSortRows(const std::vector<int>& Dest, const std::vector<int>& Src, int SortColumn);
  void SortRowRange(TSortKind Kind, int ACol, int Left, int Right);
  void SortFrame(TSortKind Kind);
  // Valid while a sort runs: the cached texts and formats, the number of columns the tie
  // breaks reach, the current row following its row.
  TSortCache* FSortCache = nullptr;
  int FSortColumns = 0;
  int FSortCurrentRow = -1;

public:

  // ---- hidden rows and columns (VezIdidHide.cpp) -----------------------------------------
  // Columns are real columns; at least one column stays visible. Rows given to the range
  // operations are real rows; HideRowList takes display rows.
  void HideColumn(int ACol) { HideColumns(ACol, ACol); }
  void HideColumns(int FromCol, int ToCol);
  void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
  void UnHideColumns(int FromCol, int ToCol);
  void UnHideColumnsAll();
  void HideRow(int ARow) { HideRows(ARow, ARow); }
  // Records in ascending real index; rows already hidden are left as they are.
  void HideRows(int FromRow, int ToRow);
  // Appends the records; nothing when FromRow is hidden already. Row heights stay at
  // their display positions.
  void HideRowsEx(int FromRow, int ToRow);
  // The listed display rows (repeats and rows outside the grid are skipped) go out at
  // hide level HideLevel, which then rises by one.
  void HideRowList(TIntList* List);
  void UnHideRow(int ARow) { UnHideRows(ARow, ARow); }
  // Nothing unless FromRow is hidden.
  void UnHideRows(int FromRow, int ToRow);
  void UnHideRowsAll();
  // Shows the rows the last HideRowList took out (level HideLevel - 1) and only those;
  // lowering HideLevel is the caller's.
  void UnHideRowList();
  void HideSelectedRows();
  void HideUnSelectedRows();
  int HideLevel = 0;

  // ---- nodes (VezIdidNodes.cpp) ------------------------------------------------------------
  // A node lives in column 0 of its row: a ctNode graphic whose CellBoolean is the state
  // (true contracted), CellIndex the span (0: up to the next node row), CellErrFrom the
  // sub-node count and CellVariant the sub-group column (-1 for AddNode). AddNode,
  // AddSummary, RemoveNode, ExpandNode(Int), ContractNode, InsertNormalRow, InsertChildRow
  // and RemoveChildRow take real rows; the queries and the rest take display rows.
  int NodeCount = 0;
  bool HasNodes() override { return NodeCount > 0; }
  void AddNode(int ARow, int Span);
  void AddSummary(int ARow);
  void RemoveNode(int ARow);
  void RemoveAllNodes();
  bool IsSummary(int ARow);
  bool GetNodeState(int ARow);
  void SetNodeState(int ARow, bool State);
  int GetNodeSpan(int ARow);
  void SetNodeSpan(int ARow, int Value);
  void UpdateNodeSpan(int ARow, int Delta);
  int GetSubNodeCount(int ARow);
  void UpdateSubNodeCount(int ARow, int Delta);
  bool InNodeRect(int ARow, int X);
  void ExpandNode(int ARow);
  void ExpandNodeInt(int ARow);
  void ContractNode(int ARow);
  void ExpandAll();
  void ContractAll();
  int GetParentRow(int ARow);
  void InsertNormalRow(int ARow);
  void RemoveNormalRow(int ARow);
  void InsertChildRow(int ARow, int Offset);
  void RemoveChildRow(int ARow);

  // ---- grouping (VezIdidGroup.cpp) ---------------------------------------------------------
  int GroupColumn() const { return FGroupColumn; }
  void SetGroupColumn(int Value);
  virtual void Group(int ACol);
  virtual void UnGroup();
  void SubGroup(int ACol);
  void SubUnGroup(int ACol);
  // Kinds 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom (OnGroupCalc).
  void GroupCalc(int ACol, int Kind);
  void GroupSum(int ACol) { GroupCalc(ACol, 1); }
  void GroupAvg(int ACol) { GroupCalc(ACol, 2); }
  void GroupMin(int ACol) { GroupCalc(ACol, 3); }
  void GroupMax(int ACol) { GroupCalc(ACol, 4); }
  void GroupCount(int ACol) { GroupCalc(ACol, 5); }
  void GroupCustomCalc(int ACol) { GroupCalc(ACol, 6); }
  int GroupColumnWidth = 0;
  std::string GroupHeaderText, GroupFooterText;

  // ---- filtering (VezIdidFilter.cpp) -------------------------------------------------------
  // Each ApplyFilter hides the failing normal rows as one new hide level.
  virtual bool MatchFilter(int ARow);
  void FilterRow(int ARow);
  void ApplyFilter();
  bool RemoveLastFilter();
  void RemoveAllFilters();
  void NarrowDown(const std::string& AValue, int AColumn);
  void SetFilterActive(bool Value);
  void SetFilterRow(int Value);
  void FilterSelect(TObject* Sender, int ItemIndex);
  virtual void DoFilterDone() {
    if (OnFilterDone) OnFilterDone(this);
  }
  // The column whose filter list is open, -1 when none.
  int FilterDropDownColumn = -1;
  int FixedRowsBeforeFilter = 0;
  std::string LastNarrowDown;

  // ---- find and replace (VezIdidFind.cpp) --------------------------------------------------
  // A search text of two double quotes stands for an empty cell. Find answers (-1, -1) when
  // nothing matches; a start of (-1, -1) begins at the first (backwards: last) cell.
  TPoint Find(TPoint StartCell, const std::string& S, TFindParams FindParams);
  TPoint FindWide(TPoint StartCell, const std::u16string& S, TFindParams FindParams);
  TPoint FindFirst(const std::string& S, TFindParams FindParams);
  TPoint FindNext();
  int Replace(const std::string& OldText, const std::string& NewText, TFindParams FindParams);
  bool MatchCell(int ACol, int ARow, bool Wide);
  TPoint FindInternal(TPoint StartCell, const std::string& S, const std::u16string& W, bool Wide,
                      TFindParams FindParams);
  TPoint LastFoundCell{-1, -1};
  TFindParams LastFindParams;
  std::string LastFindText;
  std::u16string LastFindWide;
  int PresetCol = -1, PresetRow = -1;

  // ---- marking, checking and fills (VezIdidMark.cpp) ---------------------------------------
  // Marks wrap every occurrence of a text in a tag pair ("hi" highlights, "e" errors).
  void MarkCells(const std::string& Text, const std::string& Tag, bool DoCase, int FromCol, int FromRow, int ToCol,
                 int ToRow);
  void UnMarkCells(const std::string& Tag, int FromCol, int FromRow, int ToCol, int ToRow);
  static std::string HilightText(bool DoCase, const std::string& S, const std::string& Text);
  static std::string UnHilightText(const std::string& S);
  static std::string MarkText(bool DoCase, const std::string& S, const std::string& Text);
  static std::string UnMarkText(const std::string& S);
  void HilightInCell(bool DoCase, int ACol, int ARow, const std::string& Text);
  void MarkInCell(bool DoCase, int ACol, int ARow, const std::string& Text);
  void UnHilightInCell(int ACol, int ARow);
  void UnMarkInCell(int ACol, int ARow);
  void HilightInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text);
  void MarkInCol(bool DoFixed, bool DoCase, int ACol, const std::string& Text);
  void UnHilightInCol(bool DoFixed, int ACol);
  void UnMarkInCol(bool DoFixed, int ACol);
  void HilightInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text);
  void MarkInRow(bool DoFixed, bool DoCase, int ARow, const std::string& Text);
  void UnHilightInRow(bool DoFixed, int ARow);
  void UnMarkInRow(bool DoFixed, int ARow);
  void HilightInGrid(bool DoFixed, bool DoCase, const std::string& Text);
  void MarkInGrid(bool DoFixed, bool DoCase, const std::string& Text);
  void UnHilightInGrid(bool DoFixed);
  void UnMarkInGrid(bool DoFixed);
  bool CheckCell(int ACol, int ARow);
  bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
  bool CheckCol(bool DoFixed, int ACol);
  bool CheckRow(bool DoFixed, int ARow);
  bool CheckGrid(bool DoFixed);
  void TextFill(bool DoFixed, const std::string& Value);
  void FormatFill(bool DoFixed, const std::string& Fmt);
  void RandomFill(bool DoFixed, int Max);
  void LinearFill(bool DoFixed);

  // ---- row and column structure (VezIdidStructure.cpp) ------------------------------------
  virtual void InsertRows(int ARow, int ACount, bool MoveControls) { InsertRowsEx(ARow, ACount, MoveControls); }
  void InsertRowsEx(int ARow, int ACount, bool MoveControls);
  // Removing rows ignores a row outside the grid and cuts the count to the rows there
  // are; a merged cell the removal cuts is split first.
  virtual void RemoveRows(int ARow, int ACount);
  virtual void RemoveRowsEx(int ARow, int ACount);
  virtual void RemoveRowsInternal(int ARow, int ACount);
  void IRemoveRows(int ARow, int ACount, bool Adjust);
  void RemoveCheckedRows(int ACol, bool AState);
  void RemoveSelectedRows();
  void RemoveUnSelectedRows();
  void RemoveDuplicates(int ACol, bool CaseSensitive);
  // Display rows; the cells, height and controls go with the row.
  void MoveRow(int FromIndex, int ToIndex);
  virtual void InsertCols(int ACol, int ACount);
  void AddColumn() { InsertCols(TotalColCount(), 1); }
  virtual void RemoveCols(int ACol, int ACount);
  void RemoveSelectedCols();
  void RemoveUnSelectedCols();
  void MergeCols(int ACol1, int ACol2, const std::string& Separator);
  // Display columns; the cells (hidden rows' too), width, flags and controls go along.
  void MoveColumn(int FromIndex, int ToIndex);
  // Set by a move with EnhRowColMove; the next left button press clears it.
  bool MovedDuringPress = false;

  // ---- clearing and merging ranges (VezIdidStructure.cpp) ---------------------------------
  virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void ClearRows(int ARow, int ACount);
  void ClearCols(int ACol, int ACount);
  void ClearNormalRows(int ARow, int ACount);
  void ClearNormalCols(int ACol, int ACount);
  void ClearNormalCells();
  void ClearSelection();
  void Clear();
  void SplitAllCells();
  void SplitColumnCells(int ACol);
  void SplitRowCells(int ARow);
  void MergeColumnCells(int ACol, bool IgnoreSpans);
  void MergeRowCells(int ARow, bool IgnoreSpans);
  bool IsCell(const std::string& AText, int& ACol, int& ARow);
  // While set, clearing a cell leaves its properties object alive (it lives on elsewhere).
  bool DetachCellObjects = false;
  bool SuppressCellsChanged = false;
  // Exports take hidden columns too; ClearRect then takes display columns.
  bool ExportHiddenColumns = false;

  // ---- selection queries (VezIdidSelect.cpp) ----------------------------------------------
  void SelectRows(int ARow, int ACount);
  void UnSelectRows(int ARow, int ACount);
  void SelectCols(int ACol, int ACount);
  void UnSelectCols(int ACol, int ACount);
  int GetRowSelectCount();
  int GetSelectedRowCount();
  int GetSelectedRow(int I);
  int GetColSelectCount();
  int GetSelectedColCount();
  bool GetSelectedCells(int ACol, int ARow);
  void SetSelectedCells(int ACol, int ARow, bool Select);
  // Merges the selection rectangle into the disjunct cells (which it first empties
  // without DisjunctCellSelect) and counts them.
  int GetSelectedCellsCount();
  TGridCoord GetSelectedCell(int I) const;
  void ClearSelectedCells();
  // The cells picked one by one in the disjunct cell mode, in picking order.
  const std::vector<TGridCoord>& DisjunctCells() const { return FDisjunctCells; }
  void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
  void GotoCell(int ACol, int ARow);
  using TCustomGrid::FocusCell;
  void FocusCell(int ACol, int ARow);
  int ModifiedRowCount() const;
  void ClearModifiedRows();

  // ---- cell attributes, dates, controls and view operations (VezIdidCellAttr.cpp) ---------
  // Columns are real columns; a write creates the cell's properties and repaints it.
  TColor Colors(int ACol, int ARow);
  void SetColors(int ACol, int ARow, TColor Value);
  TColor ColorsTo(int ACol, int ARow);
  void SetColorsTo(int ACol, int ARow, TColor Value);
  TCellGradientDirection GradientDir(int ACol, int ARow);
  void SetGradientDir(int ACol, int ARow, TCellGradientDirection Value);
  TColor FontColors(int ACol, int ARow);
  void SetFontColors(int ACol, int ARow, TColor Value);
  TFontStyles FontStyles(int ACol, int ARow);
  void SetFontStyles(int ACol, int ARow, TFontStyles Value);
  std::string FontNames(int ACol, int ARow);
  void SetFontNames(int ACol, int ARow, const std::string& Value);
  int FontSizes(int ACol, int ARow);
  void SetFontSizes(int ACol, int ARow, int Value);
  TAlignment Alignments(int ACol, int ARow);
  void SetAlignments(int ACol, int ARow, TAlignment Value);
  bool ReadOnly(int ACol, int ARow);
  void SetReadOnly(int ACol, int ARow, bool Value);
  bool WordWraps(int ACol, int ARow);
  void SetWordWraps(int ACol, int ARow, bool Value);
  void RowColor(int ARow, TColor Color);
  void RowColorTo(int ARow, TColor Color);
  void RowFontColor(int ARow, TColor Color);
  TDateTime Dates(int ACol, int ARow);
  void SetDates(int ACol, int ARow, TDateTime Value);
  TDateTime Times(int ACol, int ARow);
  void SetTimes(int ACol, int ARow, TDateTime Value);
  bool ShowZeroDates = true;
  TControl* CellControls(int ACol, int ARow);
  void SetCellControls(int ACol, int ARow, TControl* Value);
  int CellControlCount() const { return FCellControlCount; }
  TControlList* ControlList() const { return FControlList.get(); }
  int GetLinesInCell(int ACol, int ARow);
  void SwapCells(TGridCoord Cell1, TGridCoord Cell2);
  void RepaintRow(int ARow);
  void RepaintCol(int ACol);
  void RepaintRect(const TRect& R);
  // Zoom level + Delta outside -10 .. 10 changes nothing.
  void Zoom(int Delta);
  bool Zooming() const { return FZooming; }
  virtual void DoInsertRow(int ARow);
  virtual void DoDeleteRow(int ARow);

  // ---- typed cell values (VezIdidCellAttr.cpp) --------------------------------------------
  void SetInts(int ACol, int ARow, int Value);
  int GetInts(int ACol, int ARow);
  // Raises the format error unless FloatFormat takes exactly one floating value.
  void SetFloats(int ACol, int ARow, double Value);
  double GetFloats(int ACol, int ARow);
  void SetAllFloats(int ACol, int ARow, double Value);
  double GetAllFloats(int ACol, int ARow);
  std::string GetCtrlVal(int ACol, int ARow, const std::string& ID);
  void SetCtrlVal(int ACol, int ARow, const std::string& ID, const std::string& Value);
  std::string GetVersion() { return GetVersionString(); }
  int GetPrintColWidth(int Index) const;
  int GetPrintColOffset(int Index) const;
  void SetPrintColGeometry(int Index, int Width, int Offset);
  virtual void QueryInsertRow(int ARow, bool& CanInsert);

  // ---- column layout persistence (VezIdidColumnState.cpp) ---------------------------------
  std::string ColumnStatesToString();
  // A text that does not describe the grid's columns raises EVezIdidError and changes
  // nothing.
  void StringToColumnStates(const std::string& S);
  void SaveColSizes();
  void LoadColSizes();
  void SaveColPositions();
  void LoadColPositions();

protected:
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                       TGridDrawInfo& FixedInfo) override;

private:
  // One real column: whether it is shown and its width (the saved one when hidden).
  struct TColState {
    bool Visible = true;
    int Width = 0;
  };
  std::vector<TColState> GetColStates();
  void ApplyColStates(const std::vector<TColState>& States);
  // The store's column move without the grid's column-move handling or its event.
  void StoreMoveColumn(int FromCol, int ToCol);
  // Rows First.. take the rows Order names (a permutation of that range): cells of every
  // column; heights too when MoveHeights.
  void PermuteRows(int First, const std::vector<int>& Order, bool MoveHeights);
  void PermuteRowsByOrder(int First, const std::vector<int>& Order, bool MoveHeights);
  void RotateRows(int First, int Last, int Shift, bool MoveHeights);
  void RowsMovedOwners(int First, int Count, const std::function<bool(int)>& moved);
  // Empties the cells of a display row without freeing their objects.
  void NilStoreRow(int ARow);
  // The real indexes of the hidden rows, ascending.
  std::vector<int> HiddenRowIndexes() const;
  // The real rows of Count display rows from ARow on.
  std::vector<int> RealRowsOf(int ARow, int ACount) const;
  // A record for display row D: its cells of every real column, objects included.
  TGridItem* MakeRecord(int D, int Index);
  // Takes the listed display rows (ascending) out of the grid into records, kept in real
  // order in the store when Ordered, else appended.
  void TakeOutRows(const std::vector<int>& Rows, bool Ordered, int Level, bool FromList, bool MoveHeights);
  // Puts the rows of the records Pick chooses back at their real positions and frees the
  // records.
  void PutBackRecords(const std::function<bool(TGridItem*)>& Pick);
  // Removes Count display rows from ARow: FreeObjects frees their properties, Reindex moves
  // the records of hidden rows behind them, MoveHeights lets the heights go with the rows.
  void RemoveRowBlock(int ARow, int ACount, bool FreeObjects, bool Reindex, bool MoveHeights);
  void ReportRowsDeleted(int ARow, int ACount, int OldCount);
  void DropRowFlags(int ARow, int ACount);
  void SplitCutMerges(int ARow, int ACount);
  void ShiftControls(bool Rows, int From, int To);
  std::vector<TGridCoord> FDisjunctCells;
  int FCellControlCount = 0;
  bool FZooming = false;
  bool FInternalMove = false;
  std::vector<int> FPrintColWidths = std::vector<int>(513, 0);
  std::vector<int> FPrintColOffsets = std::vector<int>(513, 0);

public:
  // ---- printing and print preview (VezIdidPrint.cpp, VezIdidPrintRow.cpp) ------------------
  enum TPrintMethod { prPreview, prPrint, prCalcPrint, prCalcPreview };
  void Print();
  void PrintSelection();
  void PrintRect(const TGridRect& GridRect);
  void PrintSelectedRows();
  void PrintSelectedCols();
  void PrintPreview(TCanvas* Canvas, const TRect& DisplayRect);
  void PrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect);
  void PrintPreviewSelection(TCanvas* Canvas, const TRect& DisplayRect);
  void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& DisplayRect);
  void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& DisplayRect);
  void SetPreviewPage(int Value);
  void PrintDraw(TCanvas* Canvas, const TRect& R);
  void PrintDrawRect(TCanvas* Canvas, const TRect& R, const TGridRect& GridRect);
  int BuildPages(TCanvas* Canvas, TPrintMethod PrintMethod, int MaxPages, bool SelectedOnly);
  bool IsPrintRowIncluded(int Row);
  bool IsPrintColIncluded(int Col);
  void CalcPrintColWidths();
  int PrintRowHeight(int Row);
  void StartNextPage();
  int PrintRow(int Y, int FirstCol, int LastCol, int Row);
  void PrintHeaderFooter();
  std::string PageNumberText() const;
  static std::string JoinWithSpace(const std::string& First, const std::string& Second);
  void PrintPageFrame(int FirstCol, int LastCol, int Y);
  int MapFontHeight(int Size) const;
  static int MapFontSize(int Height);
  TPoint PrintCellSize(int Col, int Row);
  static void PlaceRotatedText(TRect& R, TAlignment HAlign, TVAlignment VAlign, int Angle, int wc, int hs, int ws,
                               int hc);
  int PrinterRotationAngle();
  void StretchBitmapToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap);
  void StretchGraphicToCanvas(TCanvas* Canvas, const TRect& R, TBitmap* Bitmap, DWORD RasterOp);
  TGridRect PrintRange;
  TRect PrintPageRect;  // (Left, Top) and (Right, Bottom): the two page corners
  int PrintFromPage = 1, PrintToPage = 1, PrintPageCount = 0;
  double PrintFitScale = 1.0;
  bool SkipPageCount = false;
  bool PrintRotationByDevice = false;

private:
  // The state of one layout pass, read by row, header and frame printing.
  struct TPrintPass {
    TCanvas* Canvas = nullptr;
    TPrintMethod Method = prCalcPrint;
    bool SelectedOnly = false;
    int MaxPages = -1;
    int Width = 0, Height = 0;  // page extent in 0.1 mm (height negative)
    double PixelFactor = 254.0 / 96, ResolutionRatio = 1.0, FitScale = 1.0;
    int Spacing = 0, Gap = 0, HeaderLine = 0, FooterLine = 0, FontSize = 10;
    int Page = 0, PageInBand = 0, Band = 0, First = 0, Last = 0, H = 0, F = 0;
    bool MoreBands = false, RepeatFixedCols = false;
    int CachedRow = -1, CachedHeight = 0;
  };
  TPrintPass FPP;
  void PrintHeaderFooterHeights();
  void PrintCellContent(int Real, int Row, int DisplCol, TRect R, int W, int K, int Returned);
  void PrintCellBorders(int Real, int Row, int DisplCol, int FirstCol, int LastCol, int W, int K, int Y,
                        int Returned);
  void PrivatePrintRect(const TGridRect& GridRect, bool SelectedOnly);
  void PrivatePrintPreviewRect(TCanvas* Canvas, const TRect& DisplayRect, const TGridRect& GridRect,
                               bool SelectedOnly);
  void EnsurePrintColumns(int Count);
  bool PrintPageDrawn() const;

public:

  // ---- header lists and property operations (VezIdidPublish.cpp) -----------------------
  TStrings* ColumnHeaders() const { return FColumnHeaders.get(); }
  void SetColumnHeaders(TStrings* Value);
  void ClearColumnHeaders();
  void ShowColumnHeaders();
  virtual void UpdateColHeaders() {}
  TStrings* RowHeaders() const { return FRowHeaders.get(); }
  void SetRowHeaders(TStrings* Value);
  void ClearRowHeaders();
  void ShowRowHeaders();
  TStrings* LookupItems() const { return FLookupItems.get(); }
  void SetLookupItems(TStrings* Value);
  TFont* FixedFont() const { return FFixedFont.get(); }
  void SetFixedFont(TFont* Value);
  TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
  void SetActiveCellFont(TFont* Value) {
    FActiveCellFont->Assign(Value);
    Invalidate();
  }
  TBitmap* RowIndicator() const { return FRowIndicator.get(); }
  void SetRowIndicator(TBitmap* Value) {
    FRowIndicator->Assign(Value);
    InvalidateCell(0, Row());
  }
  TIntList* MergedColumns() const { return FMergedColumns.get(); }

  // ---- the owned settings objects ------------------------------------------------------
  TBalloonSettings* Balloon() const { return FBalloon.get(); }
  TBands* Bands() const { return FBands.get(); }
  TBackGround* BackGround() const { return FBackGround.get(); }
  TCellNode* CellNode() const { return FCellNode.get(); }
  TColumnSize* ColumnSize() const { return FColumnSize.get(); }
  TControlLook* ControlLook() const { return FControlLook.get(); }
  TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
  TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
  TFilter* Filter() const { return FFilter.get(); }
  TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
  TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
  TGrouping* Grouping() const { return FGrouping.get(); }
  THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
  TMouseActions* MouseActions() const { return FMouseActions.get(); }
  TNavigation* Navigation() const { return FNavigation.get(); }
  // The office hint (a TDizHintInfo).
  TPersistent* OfficeHint() const { return FOfficeHint.get(); }
  TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
  TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
  TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
  TShowModified* ShowModified() const { return FShowModified.get(); }
  TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
  TSortSettings* SortSettings() const { return FSortSettings.get(); }
  void SetBalloon(TBalloonSettings* V) { FBalloon->Assign(V); }
  void SetBands(TBands* V) { FBands->Assign(V); }
  void SetBackGround(TBackGround* V) {
    FBackGround->Assign(V);
    Invalidate();
  }
  void SetCellNode(TCellNode* V) { FCellNode->Assign(V); }
  void SetColumnSize(TColumnSize* V) { FColumnSize->Assign(V); }
  void SetControlLook(TControlLook* V) { FControlLook->Assign(V); }
  void SetDragDropSettings(TDragDropSettings* V) { FDragDropSettings->Assign(V); }
  void SetDragScrollOptions(TDragScrollOptions* V) { FDragScrollOptions->Assign(V); }
  void SetFilter(TFilter* V) { FFilter->Assign(V); }
  void SetFilterDropDown(TFilterDropDown* V) { FFilterDropDown->Assign(V); }
  void SetFloatingFooter(TFloatingFooter* V) { FFloatingFooter->Assign(V); }
  void SetGrouping(TGrouping* V) { FGrouping->Assign(V); }
  void SetHTMLSettings(THTMLSettings* V) { FHTMLSettings->Assign(V); }
  void SetMouseActions(TMouseActions* V) { FMouseActions->Assign(V); }
  void SetNavigation(TNavigation* V) { FNavigation->Assign(V); }
  void SetOfficeHint(TPersistent* V) { FOfficeHint->Assign(V); }
  void SetPrintSettings(TPrintSettings* V) { FPrintSettings->Assign(V); }
  void SetProgressAppearance(TGridProgressAppearance* V) { FProgressAppearance->Assign(V); }
  void SetSearchFooter(TSearchFooter* V) { FSearchFooter->Assign(V); }
  void SetShowModified(TShowModified* V) { FShowModified->Assign(V); }
  void SetSortSettings(TSortSettings* V) { FSortSettings->Assign(V); }

  // References to other components.
  TComponent* CellChecker() const { return FCellChecker; }
  void SetCellChecker(TComponent* Value);
  TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
  void SetFixedDropDownMenu(TPopupMenu* Value);
  TCustomImageList* GridImages() const { return FGridImages; }
  void SetGridImages(TCustomImageList* Value);
  TComponent* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TComponent* Value);

  // ---- plain published properties -------------------------------------------------------
  bool AutoSize() const { return FAutoSizeCols; }
  bool SizeWithForm = false;
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool Value);
  bool ActiveCellShow() const { return FActiveCellShow; }
  void SetActiveCellShow(bool Value);
  TColor ActiveCellColor() const { return FActiveCellColor; }
  void SetActiveCellColor(TColor Value);
  TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
  void SetActiveCellColorTo(TColor Value);
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value);
  TColor SelectionColorTo() const { return FSelectionColorTo; }
  void SetSelectionColorTo(TColor Value);
  TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
  void SetSelectionMirrorColor(TColor Value);
  TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
  void SetSelectionMirrorColorTo(TColor Value);
  TColor SelectionTextColor() const { return FSelectionTextColor; }
  void SetSelectionTextColor(TColor Value);
  bool SelectionRectangle = false, SelectionResizer = false, SelectionRTFKeep = false;
  bool ShowSelection() const { return FShowSelection; }
  void SetShowSelection(bool Value);
  bool HideFocusRect = false;
  bool EnableHTML = true, EditWithTags = false, AnchorHint = false;
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor Value);
  bool URLShow() const { return FURLShow; }
  void SetURLShow(bool Value);
  bool URLShowInText() const { return FURLShowInText; }
  void SetURLShowInText(bool Value);
  bool URLFull = false, URLEdit = false;
  TVAlignment VAlignment = vtaTop;
  bool Multilinecells = false, AutoNumAlign = false, EnhTextSize = false;
  std::string FloatFormat = "%.2f";
  bool ExcelStyleDecimalSeparator = false, OemConvert = false;
  TColor HintColor = clInfoBk;
  bool HintShowCells = false, HintShowLargeText = false, HintShowSizing = false, HTMLHint = false;
  TScrollBarAlways ScrollBarAlways = saNone;
  TColor ScrollColor() const { return FScrollColor; }
  void SetScrollColor(TColor Value);
  bool ScrollProportional = false, ScrollSynch = false;
  TScrollType ScrollType() const { return FScrollType; }
  void SetScrollType(TScrollType Value);
  int ScrollWidth() const { return FScrollWidth; }
  void SetScrollWidth(int Value);
  TScrollHintType ScrollHints = shNone;
  bool EnableWheel = true;
  TIntelliPan IntelliPan = ipVertical;
  bool IntelliZoom = true;
  TEditorType DefaultEditor = edNormal;
  bool Lookup = false, LookupCaseSensitive = false, LookupHistory = false;
  int MaxEditLength = 0, MaxComboLength = 0;
  std::string ValidChars;
  std::string InvalidEntryTitle, InvalidEntryText;
  TInvalidEntryIcon InvalidEntryIcon = ieWarning;
  bool FilterActive = false, FilterDropDownAuto = false;
  std::string FilterDropDownClear = "(All)";
  int FilterDropDownRow = 0;
  bool AutoFilterUpdate = true;
  TGridLook Look() const { return FLook; }
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  bool Flat = false, FixedAsButtons = false, Hovering = false;
  THoverFixedCells HoverFixedCells = hfNone;
  bool EnableBlink = false, EnhRowColMove = true, ShowDesignHelper = true;
  TCursor GridCursor() const { return Cursor(); }
  void SetGridCursor(TCursor Value) { SetCursor(Value); }

  // Internal state other parts read.
  std::string EditMask;
  char PasswordChar = '*';
  TPoint XYOffset{2, 2};
  int MinColWidth = 0, MaxColWidth = 0, MinRowHeight = 0, MaxRowHeight = 0;
  bool IsWinXP() const { return FIsWinXP; }
  bool IsWin7() const { return FIsWin7; }
  bool IsVistaSystem() const { return FIsVista; }
  bool IsComCtl6() const { return FIsComCtl6; }
  int WheelMessage() const { return FWheelMsg; }
  int WheelScrollLines() const { return FWheelScrollLines; }
  bool GridLoaded() const { return FGridLoaded; }
  int MaxRowCountEver() const { return FMaxRowCount; }
  int MaxColCountEver() const { return FMaxColCount; }
  int RememberedFixedRows() const { return FRememberedFixedRows; }
  int RememberedFixedCols() const { return FRememberedFixedCols; }
  bool TimerRunning() const { return FTimerRunning; }
  TIntList* OrigColSizes() const { return FOrigColSizes.get(); }

  // The child controls the grid creates (none while designing).
  TArrowWindow* ArrowWindow(int Direction) const { return FArrows[Direction]; }
  TGridCombo* Combo() const { return FCombo; }
  TGridSpin* Spin() const { return FSpin; }
  TGridColorDropDown* ColorDropDown() const { return FColorDropDown; }
  TGridImageDropDown* ImageDropDown() const { return FImageDropDown; }
  TGridTrackbarDropDown* TrackbarDropDown() const { return FTrackbarDropDown; }
  TGridCalculatorDropDown* CalculatorDropDown() const { return FCalculatorDropDown; }
  TGridMemoDropDown* MemoDropDown() const { return FMemoDropDown; }
  TGridUniEditBtn* UniEditBtn() const { return FUniEditBtn; }
  TGridEditBtn* EditBtn() const { return FEditBtn; }
  TGridDatePicker* DatePicker() const { return FDatePicker; }
  TPopupButton* PopupButton() const { return FPopupButton; }
  TDropList* FilterDropList() const { return FFilterList; }
  TFooterPanel* FooterPanel() const { return FFooterPanel; }
  TSearchPanel* SearchPanel() const { return FSearchPanel; }
  TScrollBar* CellScrollBar(int Index) const { return Index == 0 ? FScrollBar1 : FScrollBar2; }
  TDizRichEdit* RichEdit(int Index) const { return Index == 0 ? FRichEdit1 : FRichEdit2; }

  // Published events (the control's OnResize is the grid's own).
  std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState, const TRect& ARect, bool Printing)> OnCustomCellDraw;
  std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)> OnCustomCellSize;
  std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)> OnGetCellColor;
  std::function<void(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD)> OnGetCellGradient;
  std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush, TFont* AFont)> OnGetCellPrintColor;
  std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)> OnGetCellBorder;
  std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)> OnGetCellPrintBorder;
  std::function<void(TObject* Sender, int ARow, int ACol, TPen* LeftPen, TPen* TopPen, TPen* RightPen, TPen* BottomPen)> OnGetCellBorderProp;
  std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)> OnGetAlignment;
  std::function<void(TObject* Sender, int ACol, int ARow, bool& WordWrap)> OnGetWordWrap;
  std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, std::string& aPrefix, std::string& aSuffix)> OnGetFormat;
  std::function<void(TObject* Sender, int ACol, int ARow, bool& IsFloat, std::string& FloatFormat)> OnGetFloatFormat;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)> OnGetCheckTrue;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)> OnGetCheckFalse;
  std::function<void(TObject* Sender, int AColumn, TCanvas* Canvas, const TRect& ARect)> OnFooterPaint;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)> OnFooterCalc;
  std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnGroupCalc;
  std::function<void(TObject* Sender, int ARow, int ACol, std::string& hintstr)> OnGridHint;
  std::function<void(TObject* Sender, int ARow, int ACol, std::u16string& hintstr)> OnGridWideHint;
  std::function<void(TObject* Sender, int ACol, int ARow, TPersistent* OfficeHint)> OnOfficeHint;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& ATitle, std::string& AText, int& AIcon)> OnCellBalloon;
  std::function<void(TObject* Sender, int ARow, std::string& hintstr)> OnScrollHint;
  std::function<void(TObject* Sender, int ARow, int ACol, std::string& Anchor)> OnAnchorHint;
  std::function<void(TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)> OnAutoAdvance;
  std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
  std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
  std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)> OnCellChanging;
  std::function<void(TObject* Sender, int OldRow, int NewRow)> OnRowUpdate;
  std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)> OnRowDisjunctSelect;
  std::function<void(TObject* Sender, int ARow)> OnRowDisjunctSelected;
  std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
  std::function<void(TObject* Sender, const TGridRect& OrigSelection, const TGridRect& NewSelection)> OnSelectionResize;
  std::function<void(TObject* Sender, const TGridRect& OrigSelection, const TGridRect& NewSelection)> OnSelectionResized;
  std::function<void(TObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)> OnScrollCell;
  std::function<void(TObject* Sender, int TopRow, int LeftCol, TDragScrollDirection& DragScrollDir, bool& CanScroll)> OnDragScroll;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnClickCell;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnRightClickCell;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnDblClickCell;
  std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)> OnCanClickCell;
  std::function<void(TObject* Sender, int ACol)> OnClickSort;
  std::function<void(TObject* Sender, int ACol, bool& DoSort)> OnCanSort;
  std::function<void(TObject* Sender, int ACol, int ARow, TPopupMenu*& AMenu, bool& KeepFixedCellHighlighted)> OnFixedDropDownClick;
  std::function<void(TObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownHeaderButtonClick;
  std::function<void(TObject* Sender, int ACol, int ARow, int ButtonIndex)> OnDropDownFooterButtonClick;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor, bool& AutoHandle)> OnAnchorClick;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor)> OnAnchorEnter;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& Anchor)> OnAnchorExit;
  std::function<void(TObject* Sender, bool& CanAdd)> OnCanAddRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoAddRow;
  std::function<void(TObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoInsertRow;
  std::function<void(TObject* Sender, int ACol)> OnAutoInsertCol;
  std::function<void(TObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoDeleteRow;
  std::function<void(TObject* Sender, int ARow, int ARowreal)> OnExpandNode;
  std::function<void(TObject* Sender, int ARow, int ARowreal)> OnContractNode;
  std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeExpandNode;
  std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeContractNode;
  std::function<void(TObject* Sender, const std::string& str1, const std::string& str2, int& Res)> OnCustomCompare;
  std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)> OnRawCompare;
  std::function<void(TObject* Sender, int ARow, bool& AcceptRow)> OnCustomFilter;
  std::function<void(TObject* Sender, int Column, TStrings* Filter)> OnGetColumnFilter;
  std::function<void(TObject* Sender, int Column, int ItemIndex, const std::string& FriendlyName, std::string& FilterCondition)> OnFilterSelect;
  std::function<void(TObject* Sender)> OnFilterDone;
  std::function<void(TObject* Sender, int16_t progress)> OnFilterProgress;
  std::function<void(TObject* Sender, const std::string& Value, bool& DefaultSearch)> OnSearchEditChange;
  std::function<void(TObject* Sender, const std::string& Value, int ACol, int ARow, TSearchAction SearchAction)> OnSearchFooterAction;
  std::function<void(TObject* Sender)> OnSearchFooterClose;
  std::function<void(TObject* Sender)> OnCreatedSearchFooter;
  std::function<void(TObject* Sender)> OnCreatedFloatingFooter;
  std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)> OnCanEditCell;
  std::function<void(TObject* Sender, int ARow, int ACol, bool& IsFixed)> OnIsFixedCell;
  std::function<void(TObject* Sender, int ARow, int ACol, bool& IsPassword)> OnIsPasswordCell;
  std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)> OnGetEditorType;
  std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGetEditorProp;
  std::function<void(TObject* Sender, int ACol, int ARow, bool& HasComboBox)> OnHasComboBox;
  std::function<void(TObject* Sender, int ACol, int ARow, bool& HasSpinEdit)> OnHasSpinEdit;
  std::function<void(TObject* Sender)> OnEditingDone;
  std::function<void(TObject* Sender, int ACol, int ARow)> OnEditCellDone;
  std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)> OnEditChange;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value, bool& Valid)> OnCellValidate;
  std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Valid)> OnCellValidateWide;
  std::function<void(TObject* Sender, int ACol, int ARow, const std::u16string& Value)> OnSetEditWideText;
  std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value)> OnGetEditWideText;
  std::function<void(TObject* Sender, const std::string& Value, TDateTime& ADate)> OnCustomStrToDate;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& S)> OnEllipsClick;
  std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& S)> OnWideEllipsClick;
  std::function<void(TObject* Sender, int ACol, int ARow)> OnButtonClick;
  std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
  std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;
  std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxMouseUp;
  std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)> OnRadioClick;
  std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)> OnRadioMouseUp;
  std::function<void(TObject* Sender, int ACol, int ARow)> OnRadioButtonClick;
  std::function<void(TObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)> OnRatingChange;
  std::function<void(TObject* Sender, int ACol, int ARow, TColor& Color, std::string& Value)> OnColorSelected;
  std::function<void(TObject* Sender, int ACol, int ARow, TColor Color, const std::string& Value)> OnColorSelect;
  std::function<void(TObject* Sender, int ACol, int ARow, int& Index)> OnImageSelected;
  std::function<void(TObject* Sender, int ACol, int ARow, int Index)> OnImageSelect;
  std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection)> OnComboChange;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnComboCloseUp;
  std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const std::string& ASelection, TObject* AObject)> OnComboObjectChange;
  std::function<void(TObject* Sender, int ACol, int ARow, int AValue, bool UpDown)> OnSpinClick;
  std::function<void(TObject* Sender, int ACol, int ARow, double AValue, bool UpDown)> OnFloatSpinClick;
  std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnTimeSpinClick;
  std::function<void(TObject* Sender, int ACol, int ARow, TDateTime AValue, bool UpDown)> OnDateSpinClick;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnDatePickerCloseUp;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnDatePickerDropDown;
  std::function<void(TObject* Sender, int ACol, int ARow, TDateTime ADateTime)> OnDateTimeChange;
  std::function<void(TObject* Sender)> OnRichEditSelectionChange;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& CtrlID, const std::string& CtrlType, const std::string& CtrlVal)> OnControlClick;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& CtrlID, const std::string& CtrlType, const std::string& CtrlVal)> OnControlEditDone;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& CtrlID, const std::string& CtrlType, const std::string& CtrlVal, TStrings* Values, bool& Edit, int& DropCount)> OnControlComboList;
  std::function<void(TObject* Sender, int ARow, int ACol, int ItemIndex, const std::string& CtrlID, const std::string& CtrlValue)> OnControlComboSelect;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardPaste;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardCopy;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardCut;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value, bool& Allow)> OnClipboardBeforePasteCell;
  std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value, bool& Allow)> OnClipboardBeforePasteWideCell;
  std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)> OnClipboardAfterPasteCell;
  std::function<void(TObject* Sender, int ACol, int ARow, const std::u16string& Value)> OnClipboardAfterPasteWideCell;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& data, bool& Allow)> OnOleDrop;
  std::function<void(TObject* Sender, const TGridRect& ARect)> OnOleDropped;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& data, bool& Allow)> OnOleDrag;
  std::function<void(TObject* Sender, int ARow, int ACol, bool& Allow)> OnOleDragOver;
  std::function<void(TObject* Sender, int ARow, int ACol)> OnOleDragStart;
  std::function<void(TObject* Sender, int OLEEffect)> OnOleDragStop;
  std::function<void(TObject* Sender, int ARow, int ACol, int DropCol)> OnOleDropCol;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& FileName, bool& Allow)> OnOleDropFile;
  std::function<void(TObject* Sender, int ARow, int ACol, const std::string& URL, bool& Allow)> OnOleDropURL;
  std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
  std::function<void(TObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
  std::function<void(TObject* Sender, TCanvas* Canvas, int PageNr, int PageXSize, int PageYSize)> OnPrintPage;
  std::function<void(TObject* Sender, TCanvas* Canvas, int LastRow, int LastRowOffset, int LastPage, int PageXSize, int PageYSize)> OnPrintPageDone;
  std::function<void(TObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
  std::function<void(TObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
  std::function<void(TObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
  std::function<void(TObject* Sender, double& ScaleFactor, bool& Allow)> OnFitToPage;
  std::function<void(TObject* Sender, int ACol, bool& Allow)> OnColumnSize;
  std::function<void(TObject* Sender, int ACol, int ColumnSize)> OnColumnSizing;
  std::function<void(TObject* Sender, int ACol, bool& Allow)> OnColumnMove;
  std::function<void(TObject* Sender, int ACol, bool& Allow)> OnColumnMoving;
  std::function<void(TObject* Sender, int ARow, bool& Allow)> OnRowSize;
  std::function<void(TObject* Sender, int ARow, int RowSize)> OnRowSizing;
  std::function<void(TObject* Sender, int ARow, bool& Allow)> OnRowMove;
  std::function<void(TObject* Sender, int ARow, bool& Allow)> OnRowMoving;
  std::function<void(TObject* Sender, int ACol)> OnEndColumnSize;
  std::function<void(TObject* Sender, int ACol, int& AWidth)> OnUpdateColumnSize;
  std::function<void(TObject* Sender, int ARow)> OnEndRowSize;
  std::function<void(TObject* Sender, const TRect& R)> OnCellsChanged;
  std::function<void(TObject* Sender, int16_t progress)> OnFileProgress;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)> OnSaveCell;
  std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)> OnLoadCell;

  // ==== editing engine: dispatch, read-back, validation, entry rules, advance, update
  // lock, timer and focus (VezIdidEditEngine.cpp), keyboard, Tab stepping and row append
  // (VezIdidKeys.cpp); the text in-place editor is in VezIdidInplace.cpp. =======
public:
  bool CanEditShow() override;
  int GetEditLimit() override { return MaxEditLength; }
  void ShowCellEdit();
  void HideCellEdit();
  void HideEditControl(int ACol, int ARow);
  virtual void UpdateEditingCell(int ACol, int ARow, const std::string& Value);
  void DoneEditing(int ACol, int ARow);
  void DoneInplaceEdit(WORD Key, TShiftState Shift);
  virtual void RestoreCache();
  bool IsEditable(int ACol, int ARow);
  bool IsPassword(int ACol, int ARow);
  virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
  virtual void GetCellReadOnly(int ACol, int ARow, bool& CanEdit);
  // True for the kinds the text in-place editor edits.
  static bool IsTextEditorKind(TEditorType Kind);
  virtual void InitValidate(int ACol, int ARow);
  virtual bool ValidateCell(const std::string& Value);
  virtual bool ValidateCellWide(const std::u16string& Value);
  virtual void UpdateCell(int ACol, int ARow) { CalcFooter(ACol); }
  virtual void CellsLoaded() { CalcFooter(-1); }
  void RegisterNotifier(TGridChangeNotifier* Notifier);
  void UnRegisterNotifier(TGridChangeNotifier* Notifier);
  void Select() { SelectCell(Col(), Row()); }
  void AdvanceEdit(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Recursive, bool Edit);
  bool ShouldHandleTab();
  virtual void TabToNextRowAtEnd();
  int FixedColsVis();
  int NumFixedRightVis();
  void TabEdit(bool Shift);
  void AppendLastRow();
  bool IsOnLastRow();
  virtual void QueryAddRow(bool& CanAdd);
  void AddRow();
  // The first normal row whose text in the sort column starts with Text; -1 when none.
  int Search(const std::string& Text);
  void StartUpdate() { ++FUpdateCount; }
  void ResetUpdate() { FUpdateCount = 0; }
  bool GetLockFlag() const { return FUpdateCount != 0; }
  void SetLockFlag(bool Value) { Value ? BeginUpdate() : EndUpdate(); }
  void KeyPress(char32_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  virtual void EditKeyDown(WORD& Key, TShiftState Shift) {}
  virtual void Edit_WMKeyDown(TMessage& Msg) {}
  virtual void EditProgress(const std::string& Text, TPoint Pos, int Caret) {}
  virtual void SetCellSelectMode(bool Value) {}
  void CopySelectionToClipboard();
  void CutSelectionToClipboard();
  void PasteSelectionFromClipboard();
  void Click() override;
  // The message number of "GridEditDone".
  static UINT GridEditDoneMessage();

  // The custom editor of edCustom cells and the control editors the engine shows itself
  // (VezIdidEditLink.cpp): true when StartControlEdit put one on screen.
  TEditLink* EditLink() const { return FEditLink; }
  void SetEditLink(TEditLink* Value);
  bool StartControlEdit(TEditorType Kind);
  void EndControlEdit(int ACol, int ARow);
  // Opens the editor of the current cell again (after a refused value).
  void ShowEditControl();
  // Moves the edit of a mark-up cell on from the form control ControlID; with no further
  // form control known here the grid takes the focus.
  virtual void AdvanceHTMLEdit(int ACol, int ARow, const std::string& ControlID);

  // Edit-engine state (read by the in-place editor and by tests).
  bool EditActive() const { return FEditActive; }
  TEditorType ActiveEditorType() const { return FActiveEditorType; }
  bool ValidatePending() const { return FValidatePending; }
  void SetValidatePending(bool Value) { FValidatePending = Value; }
  bool ValidatingCell() const { return FValidatingCell; }
  void SetValidatingCell(bool Value) { FValidatingCell = Value; }
  bool EditChangeSuppressed() const { return FEditChangeSuppressed; }
  void SetEditChangeSuppressed(bool Value) { FEditChangeSuppressed = Value; }
  const std::string& EditCacheText() const { return FEditCacheText; }
  char32_t PendingEditChar() const { return FPendingEditChar; }
  void SetPendingEditChar(char32_t Value) { FPendingEditChar = Value; }
  std::string ValidateOrigText;
  std::u16string ValidateOrigWideText;
  std::string ValidateNewText;
  bool EntryValid() const { return FEntryValid; }
  void SetEntryValid(bool Value) { FEntryValid = Value; }
  bool IgnoreGridFocus = false;
  bool CaretOnClick = false;
  // The characters edValidChars takes when ValidChars is empty.
  std::vector<bool> AllowedCharSet = std::vector<bool>(256, false);
  const std::string& SearchText() const { return FSearchText; }
  int TimerTicks() const { return FTimerTicks; }
  // Set while an edit of the text in-place editor has not been reported done.
  bool TextEditPending() const { return FTextEditPending; }
  // Ends an edit of the text in-place editor when its window goes (focus loss or hiding).
  void TextEditorClosed(int ACol, int ARow);

protected:
  bool EditWndProc(TMessage& Message);
  void DoEnter() override;
  void DoExit() override;

private:
  friend class TDizInplaceEdit;
  void WMChar(TMessage& Message);
  void WMKeyDown(TMessage& Message);
  void WMTimer(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void ShowInvalidBalloon();
  bool CanTabTo(int ACol, int ARow);
  int FirstTabCol(int ARow);
  int LastTabCol(int ARow);
  // Whether a data cell other than the current one passes CanTabTo.
  bool HasOtherTabCell();
  bool TabStep(bool Shift);
  bool FEditActive = false;
  TEditorType FActiveEditorType = edNormal;
  TControl* FActiveEditControl = nullptr;
  TEditLink* FEditLink = nullptr;
  TEditorType FControlEditorKind = edNone;
  char32_t FPendingEditChar = 0;
  bool FValidatePending = false;
  bool FControlEditorShown = false;
  bool FDoneEditingPending = false;
  std::string FEditCacheText;
  bool FEditChangeSuppressed = false;
  bool FTextEditorUsed = false;
  bool FValidatingCell = false;
  bool FEntryValid = true;
  bool FHidingEditor = false;
  bool FFinishingEdit = false;
  bool FTextEditPending = false;
  int FValidateCol = -1, FValidateRow = -1;
  int FAdvanceOriginCol = -1, FAdvanceOriginRow = -1;
  bool FCellChangingSuppressed = false;
  std::string FSearchText;
  int FSearchTicks = 0;
  int FTimerTicks = 0;
  int FTabGuardCol = -1, FTabGuardRow = -1;
  int FTabDepth = 0;
  bool FEditingEnabled = false;
  TGridRect FKeySavedSelection;
  // ==== static-edit cells and the disjunct selections (VezIdidStatic.cpp) ==================
public:
  // Cells are a real column and a display row; the graphic is the base cell's.
  virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
  void AddCheckBox(int ACol, int ARow, bool State, bool Data);
  bool HasCheckBox(int ACol, int ARow);
  bool GetCheckBoxState(int ACol, int ARow, bool& State);
  bool SetCheckBoxState(int ACol, int ARow, bool State);
  bool IsChecked(int ACol, int ARow);
  virtual bool ToggleCheck(int ACol, int ARow, bool FromUser);
  virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
  void AddRadioButton(int ACol, int ARow, bool State);
  bool HasRadioButton(int ACol, int ARow);
  bool IsRadioButtonChecked(int ACol, int ARow);
  bool SetRadioButtonState(int ACol, int ARow, bool State);
  void SetRadioButtonColumnIndex(int ACol, int ARow);
  virtual bool ToggleRadioButton(int ACol, int ARow, bool FromUser);
  void AddRadio(int ACol, int ARow, int Dir, int Index, TStrings* Options);
  bool IsRadio(int ACol, int ARow);
  bool GetRadioIdx(int ACol, int ARow, int& Index);
  void ToggleRadio(int ACol, int ARow, bool FromUser);
  void AddButton(int ACol, int ARow, int Width, int Height, const std::string& Caption, TCellHAlign HAlign,
                 TCellVAlign VAlign);
  bool HasButton(int ACol, int ARow);
  // Check boxes, radio groups, radio buttons and cell buttons: used in place, no editor.
  virtual bool HasStaticEdit(int ACol, int ARow);
  // A wide-text cell (its stored text starts with the wide marker).
  bool IsWideCell(int ACol, int ARow);

  bool GetRowSelect(int ARow);
  void SetRowSelect(int ARow, bool Select);
  void ClearRowSelect();
  void SelectToRowSelect(bool All);
  bool GetColSelect(int ACol);
  void SetColSelect(int ACol, bool Select);
  void ClearColSelect();
  void SelectToColSelect(bool All);
  // Fitting a column (display index) or a row to the texts of its cells.
  void SizeToWidth(int ACol, bool OnlyGrow);
  void AutoSizeRow(int ARow, int Padding);
  void SizeToLines(int ARow, int Lines, int Padding);

  void SetRowModified(int ARow, bool Modified);
  bool GetRowModified(int ARow) const;
  void InvalidateGridRect(const TGridRect& R);
  void UpdateActiveCells(int OldCol, int OldRow, int NewRow, int NewCol);
  // Cell painting asks for cell borders only while the application draws them.
  bool HasCustomCellBorder() override { return static_cast<bool>(OnGetCellBorder); }
  virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);

private:
  void NewGraphic(int ACol, int ARow, TCellGraphic*& G);
  // The text of a cell as measured: wide text decoded, mark-up stripped.
  std::string MeasuredText(int ACol, int ARow);
  // Scrolls until the last row shows above the search footer.
  void ScrollLastRowAboveFooter();
  std::vector<bool> FRowFlags, FColFlags;

  // ==== end of the editing engine =========================================================

public:
  // ---- look and style presets (VezIdidLook.cpp) ------------------------------------------
  void SetStyle(TVezIdidStyle Value);
  // The library-wide look: the editor style, the colour preset of the same ordinal and,
  // outside design, the drop-down editors' look.
  void SetComponentStyle(DUZERazav AStyle);
  void SetTheme(TXPColorScheme Value);
  void ThemeAdapt();
  static std::string GetLookAsString(TGridLook Value);
  static std::string GetLookAsFriendlyString(TGridLook Value);
  DUZERazav EditorStyle() const { return FEditorStyle; }
  // The fixed-cell gradient painting uses (From, To, MirrorFrom, MirrorTo), and the hover
  // and pressed sets (From, To, MirrorFrom, MirrorTo, Border).
  TColor ZADGradFrom() const { return FZADGrad[0]; }
  TColor ZADGradTo() const { return FZADGrad[1]; }
  TColor ZADGradMirrorFrom() const { return FZADGrad[2]; }
  TColor ZADGradMirrorTo() const { return FZADGrad[3]; }
  void SetZADGradFrom(TColor Value) { SetZADGrad(0, Value); }
  void SetZADGradTo(TColor Value) { SetZADGrad(1, Value); }
  void SetZADGradMirrorFrom(TColor Value) { SetZADGrad(2, Value); }
  void SetZADGradMirrorTo(TColor Value) { SetZADGrad(3, Value); }
  TColor* ZADGradHover() { return FZADGradHover; }
  TColor* ZADGradDown() { return FZADGradDown; }

  // ---- scroll bars, stretching and hit tests (VezIdidScroll.cpp) ---------------------------
  // Proportional thumbs (ScrollProportional): the bars' range and page follow the share of
  // the scrollable width (height) in view, in pixels.
  void UpdateHScroller();
  void UpdateVScroller();
  // The flat bars take the window's scroll information (VezIdidFlatScroll.cpp).
  void UpdateHScrollBar();
  void UpdateVScrollBar();
  // The scroll hint window while a thumb is dragged (nullptr before the first one).
  THintWindow* ScrollHintWindow() const { return FScrollHint.get(); }
  bool ScrollHintShowing() const { return FScrollHintShowing; }
  // Drag scrolling: a drag near an edge scrolls the grid on the grid's own timer.
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragTimerProc(TObject* Sender);
  TTimer* DragScrollTimer() const { return FDragScrollTimer.get(); }
  TDragScrollDirection DragScrollDirection() const { return FDragScrollDirection; }

  // ---- window painting, border, sizing lines and balloon text (VezIdidWindow.cpp) ----
  void Paint() override;
  // The client area outside the cells: background gradient or picture.
  void PaintBackground();
  // The background picture at (BackGround.Left, BackGround.Top), clipped to R.
  void DrawWallPaperFixed(const TRect& R);
  // The background picture repeated from R's top-left (less one pixel) over R.
  void DrawWallPaperTile(const TRect& R);
  // Where a cell's tile of the background picture starts: the sum of the row heights
  // (column widths) from Start up to Index. The sum runs on while a paint pass goes down
  // the rows (along a row's cells), so a cell costs a step rather than a sum over all the
  // rows above it; a pass going back, or a new pass, starts it over.
  struct TTileRun {
    int Pass = 0, Start = 0, Index = -1;
    long long Offset = 0;
  };
  long long TileOrigin(TTileRun& Run, int Start, int Index, bool Rows);
  TTileRun FTileTop, FTileLeft;
  // The dotted XOR line that follows a column (row) border while it is dragged; drawn
  // twice at the same place it is gone.
  void DrawSizingLine(int X);
  void DrawSizingLineR(int Y);
  // The balloon tooltip of a cell (displayed column): its text as plain text (tabs as
  // blanks, leading line breaks and tabs skipped, at most 1024 characters), the title (at
  // most 100 characters) and icon, as the cell's own balloon and then OnCellBalloon leave
  // them.
  std::string BalloonText(int ACol, int ARow, std::string& Title, int& Icon);

  // ---- text measuring and rich-text cells (VezIdidText.cpp) ------------------------------
  // The size in pixels the text of cell (real column ACol, ARow) needs, as painting lays
  // it out; Wrapped measures within the cell width, ReserveButton keeps 17 px for a button.
  TPoint GetCellTextSize(int ACol, int ARow, bool Wrapped, bool ReserveButton);
  TPoint GetCellTextSizeInt(int ARealCol, int ADisplCol, int ARow, bool Wrapped, bool ReserveButton);
  // The plain text of a rich-text (RTF) cell text.
  static std::string RichToPlainText(const std::string& Rtf);
  // Rich-text cells through a rich edit (VezIdidRich.cpp): the cell's shown text loaded as
  // rich text (an empty text clears the edit); the edit's content as rich text; and that
  // stored into the cell. RTFPaint renders the cell's rich text into ARect of any canvas.
  void CellToRich(int ACol, int ARow, TRichEdit* RichEdit);
  std::string RichToString(TRichEdit* RichEdit);
  void RichToCell(int ACol, int ARow, TRichEdit* RichEdit);
  void RTFPaint(int ACol, int ARow, TRect ARect, TCanvas* Canvas);
  // Word wrap of the renderer while it measures a rich-text cell.
  bool RichEditWordWrap = false;
  // The text inset counted once (XYOffsetOnce) or on both sides.
  int XOffsetSize() const { return XYOffsetOnce ? XYOffset.X : 2 * XYOffset.X; }
  int YOffsetSize() const { return XYOffsetOnce ? XYOffset.Y : 2 * XYOffset.Y; }
  bool XYOffsetOnce = false;
  int MaxLinesInGrid();
  int MaxLinesInRow(int ARow);
  int MaxCharsInCol(int ACol);

protected:
  void ScrollInfoChanged() override;
  // After a width changed: once a stretch has completed, the stretched column takes up
  // the client width left over again.
  void ColWidthsChanged() override;
  bool WindowWndProc(TMessage& Message);
  // The side borders of one cell (OnGetCellBorder, OnGetCellBorderProp).
  void DrawCellBorders(TCanvas* Canvas, int ACol, int ARow, const TRect& R);

public:
  // The colour of the four arrow windows (the first one's when read).
  TColor GetArrowColor() const;
  void SetArrowColor(TColor Value);
  // The text insets: the setter repaints, UpdateXYOffset only stores.
  void SetXYOffset(const TPoint& Value) {
    XYOffset = Value;
    Invalidate();
  }
  void UpdateXYOffset(int X, int Y) { XYOffset = TPoint{X, Y}; }

protected:
  // WM_HSCROLL and WM_VSCROLL: the hint, thumb synchronisation and the standard scrolling.
  bool ScrollWndProc(TMessage& Message);

private:
  void ShowScrollHint(bool Horizontal, int Pos);
  void StopDragScroll();
  std::unique_ptr<THintWindow> FScrollHint;
  bool FScrollHintShowing = false;
  bool FUpdatingScroller = false;
  std::unique_ptr<TTimer> FDragScrollTimer;
  std::unique_ptr<TTimer> FStoppedDragTimer;  // stopped from its own tick: freed later
  TDragScrollDirection FDragScrollDirection;

public:
  // The proportional thumb: r is the visible share of the scrollable width; false when all
  // fits (r >= 0.9999, or nothing to scroll), else nMax and nPage of the bar.
  static bool ProportionalThumb(double r, int& nMax, int& nPage);
  // The text the scroll hint shows for thumb position Pos (0..127) over Count rows
  // (columns) of which Visible are visible and Fixed fixed: "Row : n" or "Col : n".
  static std::string ScrollHintText(bool Rows, int Pos, int Count, int Visible, int Fixed);
  // A thumb position (0..127) of a bar whose page covers Visible of Count items, taken back
  // to the position range the bar reports; clamped, and 0 when the page covers all.
  static int ThumbPosition(int Pos, int Visible, int Count);
  // Whether a client point lies within 3 pixels of a sizable column or row border.
  bool InSizeZone(int X, int Y);
  // The cell under a screen point, as MouseToCell gives it (-1 outside every cell).
  void ScreenToCell(TPoint Pt, int& ACol, int& ARow);
  void StretchRightColumn() { StretchColumn(ColCount() - 1); }

  // The list of sort keys (columns with their directions) of an indexed sort.
  TSortIndexList* SortIndexList() const { return FSortIndexes.get(); }

  // ---- cell painting (VezIdidPaint.cpp) ---------------------------------------------------
  // The band colour of a displayed row, or clNone outside the banded area or when off.
  TColor BandColor(int ACol, int ARow, bool Print) const;
  // Both alignments of a cell (real column): left and VAlignment to start, numbers to the
  // right with AutoNumAlign, else the cell's own alignment; GetCellAlign has the last word.
  void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
  // The font alone (displayed column ACol, real column ARealCol), as text measuring needs it.
  void GetFontProperties(int ACol, int ARealCol, int ARow, TGridDrawState& AState, TFont* AFont, TBrush* ABrush,
                         bool Print);
  // The kind of a cell's graphic (real column); ctEmpty without one.
  virtual TCellType GetCellType(int ACol, int ARow);
  // The hooks cell painting asks (real column, display row); each ends with its event.
  virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
  virtual void GetCellWordWrap(int ACol, int ARow, bool& WordWrap);
  virtual void GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
  // Whether the cell shows a combo button (spin buttons) while it is not edited.
  virtual bool HasCombo(int ACol, int ARow);
  virtual bool HasSpinEdit(int ACol, int ARow);
  // Rebuilds the filter value list of a column; true when it holds any entry.
  virtual bool GetFilter(int ACol);
  // Whether painting shows the column's filter button: what GetFilter answers, without
  // building the automatic list when no handler can change it.
  bool FilterButtonShown(int ACol);
  TStrings* FilterValues() const { return FFilterValues.get(); }
  // Whether HoverFixedCells covers the fixed cell (displayed column).
  bool HoverFixedCell(int ACol, int ARow);
  // Node rows (display rows): the level of a node row (-1 for other rows) and how the tree
  // line leaves the row (0 node row, 1 ends, 2 goes on below).
  bool IsNode(int ARow);
  int GetNodeLevel(int ARow);
  int GetNodeSpanType(int ARow);
  // Whether (displayed column, row) is the sort row of a column that shows the sort mark.
  bool IsSortHeader(int ACol, int ARow);

protected:
  // The working state of one cell's paint that the layers share (VezIdidPaintInternal.h).
  struct TCellPaint;
  // The text layer of a cell: colours, backgrounds, the text and the sort mark.
  void DrawTextLayer(TCanvas* Canvas, TCellPaint& P);
  // The tree lines of a node grid in column 0.
  void DrawTreeLines(TCanvas* Canvas, int ARow, TRect& R);

public:
  // Mouse state the fixed-cell look follows; the mouse handling keeps it.
  TPoint HoverCell{-1, -1};     // the fixed cell under the mouse
  int MovingColumn = -1;        // the column being dragged, below 0 when none
  bool FixedCellPressed = false;      // the left button is down on a fixed cell
  bool FixedDropDownPressed = false;  // ... on the drop-down part of a fixed cell
  bool DisjunctDragActive = false;    // a plain left press in a disjunct row or column mode
  bool BlinkPhase = false;            // the blink timer's phase for mark-up text
  bool HTMLButtonPressed = false;     // an in-cell mark-up button is held down
  // The zoom steps added to every painted cell's font size (-10 .. +10).
  int ZoomLevel = 0;

  // ---- cell graphics (VezIdidGraphic.cpp) -------------------------------------------------
  // The graphic of a cell (real column) with its size, its alignment and whether it stands
  // beside the text; nullptr, 0 × 0, true, haLeft and vaTop without one.
  TCellGraphic* GetGraphicDetails(int ACol, int ARow, int& Width, int& Height, bool& BesideText,
                                  TCellHAlign& HAlign, TCellVAlign& VAlign);
  // A check box on the grid's canvas.
  void DrawCheck(const TRect& ARect, bool Checked, bool Enabled, TGridControlStyle Style);
  // A group of Count radio buttons with optional captions; Scale serves printing.
  void DrawRadio(TCanvas* Canvas, const TRect& ARect, int ACol, int ARow, bool Selected, bool Disabled,
                 TStrings* Captions, bool Horizontal, int Index, int Count, TGridControlStyle Style, double Scale,
                 bool Upward);
  // The sort mark of a column, centred near (X, Y).
  void DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y);
  // The graphic layer of one cell (displayed column ACol): R is the working rectangle, G the
  // graphic from GetGraphicDetails, VA and HA the text's alignments and TextWidth the width
  // the text layer took.
  void DrawGraphicLayer(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState, TCellGraphic* G,
                        TVAlignment VA, TAlignment HA, int TextWidth);

  // ---- cell adornments the graphic layer draws (VezIdidAdorn.cpp) ----------------------
  // Each Add replaces the cell's graphic (freeing what it owned) without repainting; the
  // objects passed in stay the caller's. Cells are a real column and a stored row.
  void AddBitmap(int ACol, int ARow, TBitmap* ABitmap, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
  void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign HAlign, TCellVAlign VAlign);
  // The image-list kinds do nothing without GridImages.
  void AddImageIdx(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  void AddDataImage(int ACol, int ARow, int Index, TCellHAlign HAlign, TCellVAlign VAlign);
  // Dir 0 puts the images side by side; the list belongs to the graphic.
  void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign HAlign, TCellVAlign VAlign);
  TIntList* GetCellImages(int ACol, int ARow);
  void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode, int Padding,
                  TCellHAlign HAlign, TCellVAlign VAlign);
  void AddFilePicture(int ACol, int ARow, TFilePicture* APicture, bool Transparent, TStretchMode StretchMode,
                      int Padding, TCellHAlign HAlign, TCellVAlign VAlign);
  void AddRotated(int ACol, int ARow, int Angle, const std::string& Text);
  void AddProgress(int ACol, int ARow, TColor BarColor, TColor BackgroundColor);
  void AddProgressEx(int ACol, int ARow, TColor BarColor, TColor BarTextColor, TColor BackgroundColor,
                     TColor BackgroundTextColor);
  void AddProgressFormatted(int ACol, int ARow, TColor BarColor, TColor BarTextColor, TColor BackgroundColor,
                            TColor BackgroundTextColor, const std::string& Format, int Min, int Max);
  void AddDizProgress(int ACol, int ARow, int Min, int Max);
  void AddProgressPie(int ACol, int ARow, TColor AColor, int Value);
  void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
  void AddComment(int ACol, int ARow, const std::string& Comment);
  void AddColorComment(int ACol, int ARow, const std::string& Comment, TColor AColor);
  void AddBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption, TBitmap* Glyph,
                    TCellHAlign HAlign, TCellVAlign VAlign);
  // Object must implement ICellGraphic to be drawn.
  void AddInterfacedCell(int ACol, int ARow, TObject* Object);
  void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign HAlign,
                TCellVAlign VAlign);
  void AddRating(int ACol, int ARow, int Scale, TColor AColor, TColor EmptyColor);

  // ---- calculations, selection text, numbering and auto-sizing (VezIdidCalc.cpp) -------
  // Column calculations take display rows, or real rows (hidden ones counted) when ToRow
  // lies beyond the displayed rows; node and summary rows count only in an ungrouped grid.
  // Cells that are no number are skipped; Min and Max raise for a first cell that is none.
  double ColumnSum(int ACol, int FromRow, int ToRow);
  double ColumnAvg(int ACol, int FromRow, int ToRow);
  double ColumnMin(int ACol, int FromRow, int ToRow);
  double ColumnMax(int ACol, int FromRow, int ToRow);
  double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
  double RowSum(int ARow, int FromCol, int ToCol);
  double RowAvg(int ARow, int FromCol, int ToCol);
  double RowMin(int ARow, int FromCol, int ToCol);
  double RowMax(int ARow, int FromCol, int ToCol);
  void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
  // The selected cells, TAB between cells and CR LF between rows.
  std::string SelectedText();
  bool IsSelected(int ACol, int ARow);
  void AutoNumberCol(int ACol);
  void AutoNumberRow(int ARow);
  int AutoNumStart = 0, AutoNumOffset = 0;
  bool AutoNumReverse = false;
  void SizeToHeight(int ARow, bool OnlyGrow);
  void AutoSizeCol(int ACol, int Padding);
  void AutoSizeColumns(bool DoFixedCols, int Padding);
  void AutoSizeRows(bool DoFixedRows, int Padding);
  void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
  // Scales the columns so that they fill the control's width.
  void AutoFitColumns(bool DoFixedCols);
  virtual void UpdateAutoColSize(int ACol, int& AWidth) {}

private:
  template <class Visit>
  void ScanColumn(int ACol, int FromRow, int ToRow, Visit&& Fn);
  template <class Visit>
  void ScanRow(int ARow, int FromCol, int ToCol, Visit&& Fn);
  // Set while the footer sums real rows whatever the range.
  bool FCalcRealRows = false;

public:
  // ---- per-cell hooks of hints, printing and editing (VezIdidHooks.cpp) -------------------
  virtual void GetCellHint(int ACol, int ARow, std::string& Hint, std::u16string& WideHint);
  virtual void GetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
  // The editor kind of a cell's look while it is not edited (the spin buttons).
  virtual void GetStaticCellEditor(int ACol, int ARow, TEditorType& AEditor);
  virtual void GetCellFixed(int ACol, int ARow, bool& IsFixedCell);
  virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
  void GetDefaultProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                       TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WW,
                       TCellGradientDirection& GD) override;

  // ---- mark-up hints (VezIdidFooter.cpp) -------------------------------------------------
  // On: the application shows its hints in a THTMLHintWindow; off: in the plain one.
  bool UseHTMLHints() const { return FUseHTMLHints; }
  void SetUseHTMLHints(bool Value);
  THTMLHintWindow* HTMLHintWindow() const { return FHintWindow; }

private:
  bool FUseHTMLHints = false;

public:
  // ---- look file and print settings (VezIdidSettings.cpp) --------------------------------
  // The look file: name=value lines of colours, fonts and look options; a file that cannot
  // be made or opened raises "Cannot Create " / "Cannot open file " and the file name.
  void SaveVisualProps(const std::string& FileName);
  void LoadVisualProps(const std::string& FileName);
  int VisualPropsLineCount();
  // The print settings in one section of an INI file (the file's other entries are kept).
  void SavePrintSettings(const std::string& FileName, const std::string& Section);
  void LoadPrintSettings(const std::string& FileName, const std::string& Section);

  // ---- the rest of the adornment families (VezIdidAdornments.cpp) ---------------------
  // Create makes the payload itself and the graphic owns it; Remove takes the graphic off
  // only a cell of its own kind (true when it did).
  TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign HAlign, TCellVAlign VAlign);
  TBitmap* GetBitmap(int ACol, int ARow);
  bool RemoveBitmap(int ACol, int ARow);
  TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                          TCellHAlign HAlign, TCellVAlign VAlign);
  TPicture* GetPicture(int ACol, int ARow);
  bool RemovePicture(int ACol, int ARow);
  TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign HAlign, TCellVAlign VAlign);
  TFilePicture* GetFilePicture(int ACol, int ARow);
  bool RemoveFilePicture(int ACol, int ARow);
  TIcon* CreateIcon(int ACol, int ARow, TCellHAlign HAlign, TCellVAlign VAlign);
  bool RemoveIcon(int ACol, int ARow);
  bool GetImageIdx(int ACol, int ARow, int& Index);
  void SetImageIdx(int ACol, int ARow, int Index);
  bool RemoveImageIdx(int ACol, int ARow);
  bool HasDataImage(int ACol, int ARow);
  bool RemoveDataImage(int ACol, int ARow);
  bool RemoveMultiImage(int ACol, int ARow);
  TObject* GetInterfacedCell(int ACol, int ARow);
  bool RemoveInterfacedCell(int ACol, int ARow);
  bool RemoveProgress(int ACol, int ARow);
  bool RemoveDizProgress(int ACol, int ARow);
  void SetProgressPie(int ACol, int ARow, int Value);
  bool RemoveProgressPie(int ACol, int ARow);
  bool RemoveRangeIndicator(int ACol, int ARow);
  bool IsComment(int ACol, int ARow, std::string& Comment);
  std::string GetComment(int ACol, int ARow);
  void SetComment(int ACol, int ARow, const std::string& Comment);
  bool RemoveComment(int ACol, int ARow);
  void RemoveAllComments();
  void AddMarker(int ACol, int ARow, int ErrFrom, int ErrLen);
  void GetMarker(int ACol, int ARow, int& ErrFrom, int& ErrLen);
  void RemoveMarker(int ACol, int ARow);
  void RemoveAllMarkers();
  void SetShapeColor(int ACol, int ARow, TColor Color);
  TColor GetShapeColor(int ACol, int ARow);
  bool RemoveShape(int ACol, int ARow);
  bool HasRating(int ACol, int ARow);
  bool RemoveRating(int ACol, int ARow);
  virtual bool DoRatingChange(int ACol, int ARow, double& NewRate);
  TBitmap* CreateBitButton(int ACol, int ARow, int Width, int Height, const std::string& Caption,
                           TCellHAlign HAlign, TCellVAlign VAlign);
  // Display column.
  void SetButtonText(int ACol, int ARow, const std::string& Caption);
  std::string GetButtonText(int ACol, int ARow);
  void PushButton(int ACol, int ARow, bool Down);
  // The button's rectangle in the cell where painting last drew it (display column).
  TRect ButtonRect(int ACol, int ARow);
  bool RemoveButton(int ACol, int ARow);
  void AddCheckBoxColumn(int ACol, bool State, bool Data);
  bool RemoveCheckBox(int ACol, int ARow);
  void RemoveCheckBoxColumn(int ACol);
  bool HasDataCheckBox(int ACol, int ARow);
  // With events, display row.
  bool SetCheckBoxStateInt(int ACol, int ARow, bool State);
  void CheckAll(int ACol);
  void UnCheckAll(int ACol);
  bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheck(ACol, ARow, false); }
  bool IsInCheckBox(int ACol, int ARow, int X, int Y);
  void AddRadioButtonColumn(int ACol);
  bool RemoveRadioButton(int ACol, int ARow);
  void RemoveRadioButtonColumn(int ACol);
  int GetRadioButtonColumnIndex(int ACol);
  bool HasDataCell(int ACol, int ARow);
  // A radio group with an empty option list of its own, for the caller to fill.
  TStrings* CreateRadio(int ACol, int ARow, int Dir, int Index);
  bool SetRadioIdx(int ACol, int ARow, int Index);
  TStrings* GetRadioStrings(int ACol, int ARow);
  bool RemoveRadio(int ACol, int ARow);
  void SetRotated(int ACol, int ARow, int Angle);
  bool IsRotated(int ACol, int ARow, int& Angle);
  bool RemoveRotated(int ACol, int ARow);
  // A fresh graphic (ctNone) for the cell; the cell's own one goes first with what it owns.
  TCellGraphic* CreateCellGraphic(int ACol, int ARow);
  // Detaches the cell's graphic and frees it (never the shared row check box).
  bool FreeCellGraphic(int ACol, int ARow);
  bool RemoveCellGraphic(int ACol, int ARow, TCellType Type);
  // The size the cell's graphic needs on screen and on the printed page.
  virtual TPoint GetCellGraphicSize(int ACol, int ARow);
  virtual void GetPrintGraphicSize(int ACol, int ARow, int& Width, int& Height, double Scale);
  // The sort key of an image cell: the image index, the identity of a bitmap or icon; -1.
  intptr_t GetCellImageIdx(int ACol, int ARow);
  std::string GetDisplText(int ACol, int ARow, const std::string& Value) override;
  // The one check box every cell of column 0 shows under HotmailRowSelect.
  TCellGraphic* RowCheckBoxGraphic() const { return FRowCheckBox.get(); }

private:
  std::unique_ptr<TCellGraphic> FRowCheckBox = std::make_unique<TCellGraphic>();

public:

private:
  // The cell's graphic, fresh: a graphic it had is emptied (its owned payload freed).
  TCellGraphic* FreshGraphic(int ACol, int ARow, TCellType Kind);
  // Pieces of the graphic layer (VezIdidGraphic.cpp): a cell button placed at GR inside
  // Cell, and the node button of a ctNode cell.
  void DrawCellButton(TCanvas* Canvas, const TRect& Cell, TRect GR, TCellGraphic* G, bool Editable);
  void DrawNodeButton(TCanvas* Canvas, int ACol, int ARow, TRect R, TCellGraphic* G, bool Selected);
  // The size of graphic G in cell (real column ACol, ARow) and whether it stands beside text.
  void GraphicSize(TCellGraphic* G, int ACol, int ARow, int& Width, int& Height, bool& BesideText);

public:
  // ---- in-cell scroll bar (VezIdidCellScroll.cpp) ----------------------------------------
  // Paints the scroll bar of a ctScrollbar cell (real column) at the right edge of R and
  // takes its width off R; leaves R alone for other cells.
  void DrawCellScrollBar(TCanvas* Canvas, int ACol, int ARow, TRect& R);
  // The ctScrollbar adornment (real column): position 0, page 0, range 100; with AutoRange
  // the page follows the row height and the range the height of the cell's text.
  void AddScrollBar(int ACol, int ARow, bool AutoRange);
  bool RemoveScrollBar(int ACol, int ARow);
  bool HasScrollBar(int ACol, int ARow);
  bool HasAutoRangeScrollBar(int ACol, int ARow);
  // The position, -1 for a cell without scroll bar.
  int GetScrollPosition(int ACol, int ARow);
  // Stores the position, kept within 0 and the last position the page allows, and
  // repaints the cell.
  void SetScrollPosition(int ACol, int ARow, int Position);
  // (-1, -1) for a cell without scroll bar.
  TScrollProp GetScrollProp(int ACol, int ARow);
  void SetScrollProp(int ACol, int ARow, const TScrollProp& Prop);
  // The cell (displayed column, row) the shown scroll bar control serves; (-1, -1) before
  // the mouse found one.
  TPoint ScrollBarCell() const { return FScrollBarCell; }

  // ---- hover and press of fixed cells (VezIdidMouse.cpp) ----------------------------------
private:
  // Keeps HoverCell, FixedCellPressed, FixedDropDownPressed, MovingColumn and
  // DisjunctDragActive current for a mouse message before the grid handles it, and repaints
  // the cells whose look changes. Never consumes the message.
  void MouseStateWndProc(const TMessage& Message);
  // The fixed cell under (X, Y) becomes HoverCell ((-1, -1) over other cells).
  void TrackHoverCell(int X, int Y);
  void SetHoverCell(TPoint Cell);
  // Whether the cell lies in the fixed rows or fixed columns.
  bool InFixedArea(int ACol, int ARow);
  // Invalidates a fixed cell together with the grid lines right of and below it, which its
  // hover look may cover.
  void RepaintFixedCell(TPoint Cell);
  // Invalidates the fixed-row cells of a display column.
  void RepaintColumnHeader(int ACol);

public:
  // ---- balloon tool tip (VezIdidBalloon.cpp) ----------------------------------------------
  // The grid's balloon-style tool-tip window: made when Balloon.Enable is on and the grid
  // has a window, gone when it is switched off, with the window and with the grid.
  HWND BalloonWnd() const { return FBalloonTip.Wnd; }
  void BalloonDone();
  // The cell (displayed column, row) whose balloon text was last given; (-1, -1) when none.
  TPoint BalloonCell() const { return FBalloonCell; }
  // A balloon of its own for a cell (real column): title, text and icon.
  void AddBalloon(int ACol, int ARow, const std::string& Title, const std::string& Text, TBalloonIcon Icon);
  bool RemoveBalloon(int ACol, int ARow);
  bool HasBalloon(int ACol, int ARow);
  // For a balloon cell: true with its title, text and icon; otherwise false and the
  // arguments are left alone.
  bool IsBalloon(int ACol, int ARow, std::string& Title, std::string& Text, int& Icon);

private:
  // The mouse moved to (X, Y): the scroll bar control follows scroll bar cells and the
  // balloon goes when the mouse reaches another cell.
  void CellMouseMove(int X, int Y);
  void CellScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  // Puts the position and range of a scroll bar cell on a scroll bar control.
  void LoadCellScrollBar(TScrollBar* Bar, int ACol, int ARow);
  void CreateToolTip();
  void AddToolTip(int IconType, const std::string& Text, const std::string& Title);
  // WM_NOTIFY: the balloon's text request; false for notifications left to the framework.
  bool WMNotify(TMessage& Message);
  // The tool-tip window, destroyed with the grid at the latest.
  struct TBalloonWindow {
    HWND Wnd = nullptr;
    TBalloonWindow() = default;
    TBalloonWindow(const TBalloonWindow&) = delete;
    TBalloonWindow& operator=(const TBalloonWindow&) = delete;
    ~TBalloonWindow() { Destroy(); }
    void Destroy();
  };
  TBalloonWindow FBalloonTip;
  TPoint FBalloonCell{-1, -1};
  std::string FBalloonBuffer;
  TPoint FScrollBarCell{-1, -1};

public:

protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void Resize() override;
  TInplaceEdit* CreateEditor() override;
  bool SelectCell(int ACol, int ARow) override;
  std::string GetEditMask(int ACol, int ARow) override;
  bool IsFixed(int ACol, int ARow) override;
  void DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override;
  void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                           TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                           TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                           TCellGradientDirection& GD) override;

private:
  friend class TFloatingFooter;
  friend class TFooterPanel;
  bool FFooterCalculating = false;
  void CreateChildControls();
  void FreeChildControls();
  void ColHeaderChanged(TObject* Sender);
  void RowHeaderChanged(TObject* Sender);
  void FixedFontChanged(TObject* Sender) { Invalidate(); }
  void MergedColumnsChanged(TObject* Sender, int, int);
  void SetupWheel();
  static std::u16string DecodeWide(const std::string& S);
  // Empties the cells of rows (columns) from First on, freeing their properties: cells
  // that leave the grid are gone for good.
  void DropRows(int First, int Last);
  void DropCols(int First, int Last);
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Loading() const { return ComponentState().Contains(csLoading); }

  // Owned sub-objects.
  TFooterPanel* FFooterPanel = nullptr;
  TSearchPanel* FSearchPanel = nullptr;
  std::unique_ptr<TSearchFooter> FSearchFooter;
  std::unique_ptr<TFloatingFooter> FFloatingFooter;
  std::unique_ptr<TPrintSettings> FPrintSettings;
  std::unique_ptr<THTMLSettings> FHTMLSettings;
  std::unique_ptr<TSortSettings> FSortSettings;
  std::unique_ptr<TDragDropSettings> FDragDropSettings;
  std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
  std::unique_ptr<TControlLook> FControlLook;
  std::unique_ptr<TNavigation> FNavigation;
  std::unique_ptr<TColumnSize> FColumnSize;
  std::unique_ptr<TCellNode> FCellNode;
  std::unique_ptr<TBands> FBands;
  std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
  std::unique_ptr<TMouseActions> FMouseActions;
  std::unique_ptr<TGrouping> FGrouping;
  std::unique_ptr<TStringList> FColumnHeaders;
  std::unique_ptr<TIntList> FOrigColSizes;
  std::unique_ptr<TFont> FFixedFont;
  std::unique_ptr<TFont> FActiveCellFont;
  std::unique_ptr<TStringList> FRowHeaders;
  std::unique_ptr<TStringList> FSortRows;
  std::unique_ptr<TStringList> FLookupItems;
  std::unique_ptr<TStringList> FRowSelect, FColSelect;
  std::unique_ptr<TSortIndexList> FSortIndexes;
  std::unique_ptr<TIntList> FSortList, FUnSortList, FMergedColumns, FSelectedRows,
      FModifiedRows;
  std::unique_ptr<TBitmap> FRowIndicator;
  std::unique_ptr<TBackGround> FBackGround;
  THTMLHintWindow* FHintWindow = nullptr;
  std::unique_ptr<TControlList> FControlList;
  std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
  std::unique_ptr<TOwnedCollection> FHiddenRows;
  std::unique_ptr<TFilter> FFilter;
  std::unique_ptr<TBalloonSettings> FBalloon;
  std::unique_ptr<TShowModified> FShowModified;
  std::unique_ptr<TList> FNotifiers;
  std::unique_ptr<TIntList> FColumnOrder;
  std::unique_ptr<TPersistent> FOfficeHint;
  std::unique_ptr<TIntList> FIgnoredColumns;
  std::unique_ptr<TFilterDropDown> FFilterDropDown;
  TDropList* FFilterList = nullptr;
  std::unique_ptr<TStringList> FFilterValues;

  // Child controls.
  TDizRichEdit* FRichEdit1 = nullptr;
  TDizRichEdit* FRichEdit2 = nullptr;
  TArrowWindow* FArrows[4] = {nullptr, nullptr, nullptr, nullptr};
  TGridCombo* FCombo = nullptr;
  TGridTrackbarDropDown* FTrackbarDropDown = nullptr;
  TGridMemoDropDown* FMemoDropDown = nullptr;
  TGridCalculatorDropDown* FCalculatorDropDown = nullptr;
  TGridTimepickerDropDown* FTimepickerDropDown = nullptr;
  TGridDetailPickerDropDown* FDetailPickerDropDown = nullptr;
  TGridGridDropDown* FGridDropDown = nullptr;
  TGridColorDropDown* FColorDropDown = nullptr;
  TGridImageDropDown* FImageDropDown = nullptr;
  TGridSpin* FSpin = nullptr;
  TGridTransEdit* FTransEdit = nullptr;
  TGridUniEdit* FUniEdit = nullptr;
  TGridUniMemo* FUniMemo = nullptr;
  TGridUniEditBtn* FUniEditBtn = nullptr;
  TGridUniCombo* FUniCombo = nullptr;
  TGridDatePicker* FDatePicker = nullptr;
  TGridDateTimePicker* FDateTimePicker = nullptr;
  TGridCheckBox* FCheckBox = nullptr;
  TGridEditBtn* FEditBtn = nullptr;
  TGridUnitEditBtn* FUnitEditBtn = nullptr;
  TGridButton* FButton = nullptr;
  TPopupButton* FPopupButton = nullptr;
  TControlEdit* FControlEdit = nullptr;
  TControlCombo* FControlCombo = nullptr;
  TScrollBar* FScrollBar1 = nullptr;
  TScrollBar* FScrollBar2 = nullptr;
  DUZERazav FEditorsStyle = tsWindowsXP;

  // References.
  TComponent* FCellChecker = nullptr;
  TPopupMenu* FFixedDropDownMenu = nullptr;
  TCustomImageList* FGridImages = nullptr;
  TComponent* FPictureContainer = nullptr;

  // Sizes and accessors.
  int FRememberedFixedRows = 1;
  int FRememberedFixedCols = 1;
  int FMaxRowCount = 0;
  int FMaxColCount = 0;
  int FGroupColumn = -1;
  int FUpdateCount = 0;
  bool FEditTextLoading = false;
  int FFixedRowHeight = 21;
  int FFixedFooters = 0;
  int FFixedRightCols = 0;
  bool FFooterUpdating = false;
  bool FAutoThemeAdapt = false;

  // Hidden columns: one flag and one saved width per real column, as many as there are.
  std::vector<bool> FVisibleColumns;
  std::vector<int> FHiddenColumnWidths;
  int FHiddenColCount = 0;
  TGridRect FSavedSelection;
  bool FSelectionHidden = false;

  // Look and state.
  bool FAutoSizeCols = false;
  bool FIntegralHeight = false;
  bool FActiveCellShow = false;
  TColor FActiveCellColor = 0x808080;
  TColor FActiveCellColorTo = clNone;
  TColor FSelectionColor = 0xEACAB6;
  TColor FSelectionColorTo = clNone;
  TColor FSelectionMirrorColor = clNone;
  TColor FSelectionMirrorColorTo = clNone;
  TColor FSelectionTextColor = 0;
  TColor FURLColor = 0xFF0000;
  bool FURLShow = false;
  bool FURLShowInText = false;
  TColor FScrollColor = clNone;
  TScrollType FScrollType = ssNormal;
  int FScrollWidth = 17;
  TGridLook FLook = glXP;
  bool FSuppressInvalidate = false;
  bool FFlatScrollBars = false;  // FlatActive: the flat scroll bars were initialised
  bool FIsWinXP = false, FIsWin7 = false, FIsVista = false, FIsComCtl6 = false;
  int FWheelMsg = 0;
  int FWheelScrollLines = 0;
  bool FGridLoaded = false;
  TCursor FLoadedCursor = crDefault;
  bool FTimerRunning = false;
  int FSavedLeftCol = 0, FSavedTopRow = 0;
  int FOrigGridWidth = 0;

  // Scrolling. FReStretch: a stretch has completed, so later width changes stretch again.
  bool FStretching = false;
  bool FReStretch = false;

  // Look presets.
  void SetZADGrad(int Index, TColor Value);
  DUZERazav FEditorStyle = tsWindowsXP;
  TColor FZADGrad[4] = {0xFFFFFF, clBtnFace, clNone, clNone};
  TColor FZADGradHover[5] = {clNone, clNone, clNone, clNone, clNone};
  TColor FZADGradDown[5] = {clNone, clNone, clNone, clNone, clNone};

  // The owner form's resize subscription and the form size it was last seen at.
  TCustomForm* FHookedForm = nullptr;
  int FResizeSubscription = 0;
  int FFormWidth = 0, FFormHeight = 0;
  // ==== exchange: binary cell stream (VezIdidStream.cpp), text cell file and stream
  // (VezIdidFiles.cpp), CSV, ASCII and fixed width (VezIdidCSV.cpp), clipboard copy,
  // cut and paste (VezIdidClipboard.cpp), HTML (VezIdidHTML.cpp), scaling. ==========
public:
  // ExportFixedCells is the exchange of the fixed cells; with ExchangeHiddenColumns the
  // hidden columns are written at their real indexes too.
  bool ExchangeHiddenColumns = false;
  char CSVDelimiter = '\0';  // #0: write "," and detect on reading
  bool CSVAlwaysQuote = false, QuoteEmptyCells = true, CSVJavaMode = false, CSVReadFirstLine = true;
  bool CopyLineBreaksAsCSV = false;
  TPoint ClipboardOrigin{0, 0};
  TClipOperation LastClipOperation = coCopy;
  bool WholeGridPaste = false;
  // Node cells in column 0 below the fixed rows, counted after a binary load.
  int LoadedNodeCellCount = 0;
  virtual void ImportNotification(int AState, int ARow) {}

  // Binary cell stream: records of the platform's binary form, one per grid, cell,
  // property set, graphic and graphic payload.
  void SaveRectToBinStream(const TRect& R, TStream& Stream);
  void SaveToBinStream(TStream& Stream);
  void SaveToBinFile(const std::string& FileName);
  void LoadAtPointFromBinStream(TPoint P, TStream& Stream);
  void LoadFromBinStream(TStream& Stream);
  void LoadFromBinFile(const std::string& FileName);
  void CopyBinFunc(const TRect& R);
  // The clipboard format of the grid's cells ("TDavEvadurAvuz Cells").
  static UINT GridCellsFormat();

  // Text cell file (absolute coordinates) and text cell stream (relative ones).
  void SaveToFile(const std::string& FileName);
  void LoadFromFile(const std::string& FileName);
  void SaveToStream(TStream& Stream);
  void LoadFromStream(TStream& Stream);

  // CSV, ASCII and fixed width.
  void SaveToCSV(const std::string& FileName) { OutputToCSV(FileName, false); }
  void AppendToCSV(const std::string& FileName) { OutputToCSV(FileName, true); }
  void OutputToCSV(const std::string& FileName, bool Append);
  void LoadFromCSV(const std::string& FileName, int MaxRows = -1) { InputFromCSV(FileName, false, MaxRows); }
  void InsertFromCSV(const std::string& FileName, int MaxRows = -1) { InputFromCSV(FileName, true, MaxRows); }
  void InputFromCSV(const std::string& FileName, bool Insert, int MaxRows);
  void SaveToASCII(const std::string& FileName) { SaveToASCIIInt(FileName, false); }
  void AppendToASCII(const std::string& FileName) { SaveToASCIIInt(FileName, true); }
  void SaveToASCIIInt(const std::string& FileName, bool Append);
  void SaveToFixed(const std::string& FileName, TIntList* Widths);
  void LoadFromFixed(const std::string& FileName, TIntList* Positions, bool Trim, int MaxLines);

  // Clipboard.
  void CopyFunc(const TRect& R, bool Disjunct);
  void CopyToClipBoard();
  void CutToClipboard();
  void CopyRTFFunc(int ACol, int ARow);
  void CopyToClipBoardAsHTML();
  void CorrectSelection();
  void PasteFromClipboard();
  int PasteFunc(int ACol, int ARow, int& Rows, int& Cols);
  int PasteText(int ACol, int ARow, const std::string& Text, int& Rows, int& Cols);
  static void PasteSize(const std::string& Text, TPoint& Size);
  virtual void PasteInCell(int ACol, int ARow, const std::string& Value);
  virtual void PasteNotify(TPoint Source, const TRect& Target, TClipOperation Operation);
  virtual void PasteStart() {}
  virtual void PasteDone() {}
  virtual bool DoAllowFmtPaste();
  virtual void CellSelect(int ACol, int ARow) {}

  // HTML.
  void SaveToHTMLString(const std::string& ImageFolder, std::string& Out);
  void OutputToHTML(const std::string& FileName, bool Append);
  void SaveToHTML(const std::string& FileName, bool Preview = false);
  void AppendToHTML(const std::string& FileName) { OutputToHTML(FileName, true); }

  // Scaling: the base grid's, then the fixed and active-cell fonts.
  void ChangeScale(int M, int D) override;
  // Whether the common controls are 4.70 or later (always so here).
  static bool HasComCtl470();

private:
  void RaiseProgress(int Value, int& Last);
  std::string ClipCellText(int ACol, int ARow);
  static void ReadGridCellsHead(TStream& Stream, int& Cols, int& Rows, int64_t& ID);
  void SmartFill(int N, int Rows, int Cols);
};

extern TCursor GridLinkCursor;
