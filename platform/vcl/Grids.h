#pragma once
// Grids: the framework grid. TCustomGrid (dimensions, sizes, options, the current cell
// and the selection, painting, keyboard, mouse, sizing and moving, scrolling, the
// in-place editor), TCustomDrawGrid/TDrawGrid (cells painted by OnDrawCell) and
// TStringGrid (a store of a text and an object per cell), and TInplaceEdit, the
// masked edit the grid places over the cell being edited.
//
// Coordinates: a cell is (column, row); rows and columns below FixedRows/FixedCols are
// fixed and never scroll. The current cell and the anchor span the selection, an
// inclusive rectangle of cells.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Mask.h"

LORM_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridScrollDirectionItem { sdLeft, sdRight, sdUp, sdDown };
using TGridScrollDirection = TSet<TGridScrollDirectionItem>;

struct TGridCoord {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// An inclusive rectangle of cells.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  TGridCoord TopLeft() const { return {Left, Top}; }
  TGridCoord BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// The layout of one axis of the grid in the client area.
struct TGridAxisDrawInfo {
  int EffectiveLineWidth = 0;   // the grid line between cells (0 without lines)
  int FixedBoundary = 0;        // end of the fixed cells, lines included
  int GridBoundary = 0;         // end of the last (partly) visible cell, or the extent
  int GridExtent = 0;           // the client size along the axis
  int LastFullVisibleCell = 0;  // the last cell shown whole
  int FullVisBoundary = 0;      // end of LastFullVisibleCell, its line included
  int FixedCellCount = 0;
  int FirstGridCell = 0;        // the first scrollable cell shown (LeftCol, TopRow)
  int GridCellCount = 0;
  const class TCustomGrid* Grid = nullptr;
  bool Horizontal = true;
  int GetExtent(int Index) const;  // the column width or row height (0 when hidden)
};

struct TGridDrawInfo {
  TGridAxisDrawInfo Horz;
  TGridAxisDrawInfo Vert;
};

class TCustomGrid;

class TReader;
class TWriter;

// The in-place editor: a masked edit placed over the current cell. It takes its mask,
// text and length limit from the grid's hooks, writes every change back through the
// grid's SetEditText and hands the navigation keys back to the grid. The form's active
// control stays the grid while the editor has the focus.
class TInplaceEdit : public TCustomMaskEdit {
  LORM_PUBLISHED(TInplaceEdit, TCustomMaskEdit)
public:
  explicit TInplaceEdit(TComponent* AOwner);
  ~TInplaceEdit() override;

  TCustomGrid* Grid() const { return FGrid; }
  void SetGrid(TCustomGrid* Value) { FGrid = Value; }
  // Places the editor over Loc (client coordinates of the grid), shows it and, when the
  // grid has the focus, focuses it. An empty Loc hides it.
  void Move(const TRect& Loc);
  // Follows the cell to Loc without forcing a repaint.
  virtual void UpdateLoc(const TRect& Loc);
  // Takes the mask, the text and the length limit of the grid's current cell.
  virtual void UpdateContents();
  void Deselect();
  void Hide();
  void Invalidate() override;
  void SetFocus() override;
  bool Visible();
  bool PosEqual(const TRect& Rect);
  // The text the editor opened with on its cell (Escape puts it back).
  const std::string& OriginalText() const { return FOriginalText; }
  bool EditCanModify() override;

  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  virtual void BoundsChanged();
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void DblClick() override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void Change() override;

private:
  friend class TCustomGrid;
  void InternalMove(const TRect& Loc, bool Redraw);
  TCustomGrid* FGrid = nullptr;
  std::string FOriginalText;
  int FLoadingText = 0;
};


// ---------------------------------------------------------------------------------------
class TCustomGrid : public TCustomControl {
  LORM_PUBLISHED(TCustomGrid, TCustomControl)
public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  void WndProc(TMessage& Message) override;

  // Dimensions. Lowering a count to or below the fixed count lowers the fixed count
  // first; a current cell outside the new size moves onto the last row or column
  // through SelectCell (and is put there anyway when SelectCell refuses). A count above
  // MaxGridCount, or a size of more than MaxGridCells cells, raises EInvalidGridOperation
  // ("Grid too large for operation") and leaves the grid as it was.
  static constexpr int MaxGridCount = 10'000'000;
  static constexpr long long MaxGridCells = 100'000'000'000LL;
  int ColCount() const { return FColCount; }
  void SetColCount(int Value);
  int RowCount() const { return FRowCount; }
  void SetRowCount(int Value);
  // Changing the fixed counts puts the current cell on the first scrollable cell
  // without SelectCell. A count not below ColCount/RowCount raises
  // EInvalidGridOperation.
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);

  // Sizes. Setting a default size gives every column (row) that size.
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int Value);
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int Value);
  int ColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int RowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  bool TabStops(int Index) const;
  void SetTabStops(int Index, bool Value);
  // The width and height of all cells with their lines, up to the client size.
  int GridWidth();
  int GridHeight();

  // The current cell. Setting Col or Row asks SelectCell, moves the cell and the anchor,
  // scrolls it into view and raises OnClick; setting the current value does nothing.
  int Col() const { return FCurrent.X; }
  void SetCol(int Value);
  int Row() const { return FCurrent.Y; }
  void SetRow(int Value);
  // The first scrollable column and row shown.
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value);
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value);
  int VisibleColCount();
  int VisibleRowCount();
  // The selection: the rectangle between the current cell and the anchor.
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  TGridState GridState() const { return FGridState; }

  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);

  // Cell geometry. CellRect is empty for a cell that is not in view.
  TRect CellRect(int ACol, int ARow);
  TGridCoord MouseCoord(int X, int Y);
  void MouseToCell(int X, int Y, int& ACol, int& ARow);
  // The client rectangle of a block of cells, clipped to what is in view.
  TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom);

  // Moves the current cell (SelectCell decides); MoveAnchor moves the anchor with it,
  // Show scrolls it into view. Raises EInvalidGridOperation outside the grid.
  void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
  // Moves a column (row) with its data; the current cell follows its data.
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  // Removes a column (row): it moves to the end and the count drops by one.
  virtual void DeleteColumn(int ACol);
  virtual void DeleteRow(int ARow);

  void InvalidateCell(int ACol, int ARow);
  void InvalidateCol(int ACol);
  void InvalidateRow(int ARow);
  void InvalidateGrid();
  void InvalidateRect(const TGridRect& ARect);

  // Editing.
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
  void ShowEditor();
  void ShowEditorChar(char32_t Ch);
  void HideEditor();
  // Reloads the editor from the current cell (after the cell changed underneath it).
  void InvalidateEditor();
  // Positions, loads or hides the editor as the current state asks.
  void UpdateEdit();

  void DefineProperties(TFiler* Filer) override;
  void ChangeScale(int M, int D) override;
  void Loaded() override;
  // True when the grid is its form's active control (or, without a form, holds the
  // focus itself or through a child).
  bool IsActiveControl();
  void CalcDrawInfo(TGridDrawInfo& DrawInfo);

  // The editor hooks the in-place editor reaches.
  virtual bool CanEditAcceptKey(char32_t Key) { return true; }
  virtual bool CanEditModify() { return FCanEditModify; }
  virtual std::string GetEditText(int ACol, int ARow) { return std::string(); }
  virtual void SetEditText(int ACol, int ARow, const std::string& Value) {}
  virtual std::string GetEditMask(int ACol, int ARow) { return std::string(); }
  virtual int GetEditLimit() { return 0; }
  virtual bool CanEditShow();
  // The key handling the editor passes keys back to.
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);

  // Hooks of descendants.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {}
  virtual bool SelectCell(int ACol, int ARow) { return true; }
  virtual void SizeChanged(int OldColCount, int OldRowCount) {}
  virtual void TopLeftChanged();
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  virtual void ColumnMoved(int FromIndex, int ToIndex) {}
  virtual void RowMoved(int FromIndex, int ToIndex) {}
  virtual TInplaceEdit* CreateEditor();
  virtual bool CanGridAcceptKey(WORD Key, TShiftState Shift) { return true; }
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                               int& SizingOfs, TGridDrawInfo& FixedInfo);
  virtual bool BeginColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual bool BeginRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual bool CheckColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual bool CheckRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual bool EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual bool EndRowDrag(int& Origin, int& Destination, const TPoint& MousePt) { return true; }
  virtual void TimedScroll(TGridScrollDirection Direction);
  // The grid has just set its scroll bars' range, page or position (a descendant that
  // sizes its thumbs its own way sets them again here).
  virtual void ScrollInfoChanged() {}
  virtual void DoExit() override;

  // Internals descendants use.
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
  void MoveAnchor(const TGridCoord& NewAnchor);
  void MoveTopLeft(int ALeft, int ATop);
  void ClampInView(const TGridCoord& Coord);
  void SelectionMoved(const TGridRect& OldSel);
  void CalcFixedInfo(TGridDrawInfo& DrawInfo);
  void CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int UseWidth, int UseHeight);
  TGridCoord CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo);
  void UpdateScrollPos();
  void UpdateScrollRange();
  void ScrollMessage(int Bar, int Code, int Pos);
  void HideEdit();
  void UpdateText();
  void Initialize();
  void ChangeSize(int NewColCount, int NewRowCount);
  // The row heights follow a move of the rows' contents that is not a row move of the
  // grid (no current cell, events or repaint): rows First..Last take the heights of the
  // rows Shift before them, wrapping within the range; row Dest[k] takes the height of
  // row Src[k]. The rows must be below RowCount.
  void ShiftRowHeights(int First, int Last, int Shift);
  void PermuteRowHeights(const std::vector<int>& Dest, const std::vector<int>& Src);

  TGridCoord FAnchor;
  TGridCoord FCurrent;
  TGridCoord FTopLeft;
  TGridState FGridState = gsNormal;
  TInplaceEdit* FInplaceEdit = nullptr;
  int FInplaceCol = -1;
  int FInplaceRow = -1;
  bool FEditorMode = false;
  bool FCanEditModify = true;
  int FSizingIndex = -1;
  int FSizingPos = 0;
  int FSizingOfs = 0;
  int FMoveIndex = -1;
  int FMovePos = -1;
  TPoint FHitTest;
  bool FSizingLineShown = false;
  bool FMoveMarkShown = false;
  void CheckIndex(int Index, int Count) const;

private:
  friend struct TGridAxisDrawInfo;
  friend class TInplaceEdit;
  TRect GridRectToScreenRect(const TGridRect& GridRect, bool IncludeLine);
  void DrawCells(const TGridDrawInfo& Info, int ACol, int ARow, int StartX, int StartY, int StopX,
                 int StopY, TColor Color, TGridDrawState IncludeDrawState, const TGridRect& Sel,
                 const TRect& Clip, bool Focused);
  void DrawLines(const TGridDrawInfo& Info, bool DoHorz, bool DoVert, int Col, int Row,
                 const TRect& Area, TColor Color);
  void InvalidateSizingLine();
  void InvalidateMoveMark();
  TRect SizingLineRect();
  TRect MoveMarkRect();
  int ResizeLine(const TGridAxisDrawInfo& AxisInfo);
  void MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis,
                     int ScrollBar, const TPoint& MousePt);
  void ScrollTimer();
  void DoSetCursor(TMessage& Message);
  void ReadColWidths(TReader& Reader);
  void ReadRowHeights(TReader& Reader);
  void WriteColWidths(TWriter& Writer);
  void WriteRowHeights(TWriter& Writer);
  bool HasCustomColWidths() const;
  bool HasCustomRowHeights() const;
  // The editor follows the current cell's rectangle (after scrolling or sizing).
  void EditorFollowCell();
  void LoadEditor();
  void DetachEditor(TInplaceEdit* Edit);
  bool EditorHasWindow(HWND Wnd) const;
  void HideEditorWindow();

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  TColor FFixedColor = clBtnFace;
  int FDefaultColWidth = 64;
  int FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  // Sums of all column widths and row heights, kept up to date by single changes and
  // recounted after wholesale ones (-1: to be recounted).
  long long FColWidthSum = -1;
  long long FRowHeightSum = -1;
  long long ExtentSum(bool Horizontal);
  std::vector<bool> FTabStops;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle FScrollBars = ssBoth;
  TBorderStyle FBorderStyle = bsSingle;
  bool FDefaultDrawing = true;
  int FWheelAccumulator = 0;
  bool FTimerRunning = false;
  bool FUpdatingScroll = false;
  // Cells invalidated one by one since the last paint, and whether the whole client
  // waits for its paint (single cells then add nothing).
  static constexpr int kMaxPendingRects = 64;
  int FPendingRects = 0;
  bool FWholeInvalid = false;
};

// ---------------------------------------------------------------------------------------
using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// A grid whose cells the application paints (OnDrawCell) and edits through the events.
class TCustomDrawGrid : public TCustomGrid {
  LORM_PUBLISHED(TCustomDrawGrid, TCustomGrid)
public:
  explicit TCustomDrawGrid(TComponent* AOwner);

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

  std::string GetEditMask(int ACol, int ARow) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void TopLeftChanged() override;
};

class TDrawGrid : public TCustomDrawGrid {
  LORM_PUBLISHED(TDrawGrid, TCustomDrawGrid)
public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
};

// ---------------------------------------------------------------------------------------
class TStringGrid;

// A row or a column of a string grid seen as a string list of ColCount (RowCount)
// entries. Assigning copies as many entries as both have; rows cannot be inserted or
// deleted through it.
class TStringGridStrings : public TStrings {
  LORM_CLASS(TStringGridStrings, TStrings)
public:
  TStringGridStrings(TStringGrid* Grid, bool IsCol, int Index) : FGrid(Grid), FIsCol(IsCol), FIndex(Index) {}
  std::string Get(int Index) const override;
  int GetCount() const override;
  TObject* GetObject(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const std::string& S) override;
  void Assign(TPersistent* Source) override;

protected:
  void SetUpdateState(bool Updating) override;

private:
  void CheckItem(int Index) const;
  int CellCol(int Index) const { return FIsCol ? FIndex : Index; }
  int CellRow(int Index) const { return FIsCol ? Index : FIndex; }
  TStringGrid* FGrid;
  bool FIsCol;
  int FIndex;
};

// A grid that keeps a text and an object for each cell. The store keeps cells outside
// ColCount/RowCount, so shrinking and growing the grid loses nothing. Texts are held in
// dense rows, objects in a side table. Objects are not owned.
class TStringGrid : public TDrawGrid {
  LORM_PUBLISHED(TStringGrid, TDrawGrid)
public:
  explicit TStringGrid(TComponent* AOwner);
  ~TStringGrid() override;

  std::string Cells(int ACol, int ARow) const {
    const std::string* text = FindText(ACol, ARow);
    return text ? *text : std::string();
  }
  // The text of a cell without a copy: valid until the cell or the store changes.
  const std::string& CellText(int ACol, int ARow) const {
    static const std::string kEmpty;
    const std::string* text = FindText(ACol, ARow);
    return text ? *text : kEmpty;
  }
  void SetCells(int ACol, int ARow, const std::string& Value) {
    // The common case stays inline: a text for a cell the dense rows already hold.
    // Everything else (empty texts, growing, far cells, bad indices) is outlined.
    if (size_t(ARow) < FRowSlot.size() && size_t(ACol) < size_t(FStride) && !Value.empty() && FFar.empty()) {
      std::string& slot = RowCells(ARow)[ACol];
      FDenseTexts += size_t(slot.empty());
      slot = Value;
      if (FUpdating <= 0 && (HandleAllocated() || (ACol == FCurrent.X && ARow == FCurrent.Y))) CellChanged(ACol, ARow);
      return;
    }
    SetCellsSlow(ACol, ARow, Value);
  }
  TObject* Objects(int ACol, int ARow) const;
  void SetObjects(int ACol, int ARow, TObject* Value);
  TStrings* Rows(int Index);
  void SetRows(int Index, TStrings* Value);
  TStrings* Cols(int Index);
  void SetCols(int Index, TStrings* Value);

  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  // Removing a row or column clears the cells it leaves behind the count.
  void DeleteColumn(int ACol) override;
  void DeleteRow(int ARow) override;

  // Row handles. The store keeps each row as one handle holding all its cells' texts and
  // objects, in every column (hidden ones beyond ColCount included). The operations below
  // move handles: no text is copied and no object re-keyed, so their cost grows with the
  // rows moved, not with the cells. They raise no events and move no current cell; the
  // grid is repainted once and the editor reloaded when its cell's content moved. With
  // Heights the row heights move with the rows; without, every row keeps its height.
  //
  // Rows First..Last take the handles of the rows Shift places before them: row R takes
  // row R - Shift, and the rows pushed past one end of the range come back at the other.
  // Inserting n rows at R: MoveRowSlots(R, RowCount() - 1, n) after raising RowCount by
  // n, then ClearRowSlots(R, R + n - 1). Removing n rows at R: MoveRowSlots(R,
  // RowCount() - 1, -n), ClearRowSlots(RowCount() - n, RowCount() - 1), then lowering
  // RowCount by n. Raises EInvalidGridOperation ("Grid index out of range") unless
  // 0 <= First <= Last < RowCount.
  void MoveRowSlots(int First, int Last, int Shift, bool Heights = true);
  // Row Dest[k] takes the handle of row Src[k]. Dest and Src name the same rows, each
  // once (a permutation), all below RowCount; otherwise EInvalidGridOperation and
  // nothing changes.
  void PermuteRowSlots(const std::vector<int>& Dest, const std::vector<int>& Src, bool Heights = true);
  // Rows ARow1 and ARow2 exchange their handles.
  void ExchangeRows(int ARow1, int ARow2, bool Heights = true);
  // Empties rows First..Last (texts and objects; the objects are not freed). Rows at or
  // beyond RowCount may be named: the store keeps cells there.
  void ClearRowSlots(int First, int Last);

protected:
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  // Rows First .. First + Order.size() - 1 take the rows Order names (a permutation of that
  // range): the row slots move and the objects and far texts are re-keyed, every column
  // included; no text is copied. Sizes, the current cell and events stay the caller's.
  void ReorderRows(int First, const std::vector<int>& Order);

private:
  friend class TStringGridStrings;
  // The text of a cell, null when it has none (no copy).
  const std::string* FindText(int ACol, int ARow) const {
    // A negative index wraps past the sizes.
    if (size_t(ARow) < FRowSlot.size() && size_t(ACol) < size_t(FStride)) {
      const std::string& text = FCells[size_t(FRowSlot[size_t(ARow)]) * size_t(FStride) + size_t(ACol)];
      if (!text.empty()) return &text;
    }
    return FFar.empty() ? nullptr : FindFar(ACol, ARow);
  }
  const std::string* FindFar(int ACol, int ARow) const;
  [[gnu::noinline]] void SetCellsSlow(int ACol, int ARow, const std::string& Value);
  std::string* RowCells(int ARow) { return FCells.data() + size_t(FRowSlot[size_t(ARow)]) * size_t(FStride); }
  void AddRows(size_t Count);
  void Restride(int Stride);
  // The slot of a cell in the dense store (grown as needed), or null for a cell too far
  // beyond the grid's size and the rows held so far; such cells go to FFar.
  std::string* DenseSlot(int ACol, int ARow);
  // Gives rows up to ARow their handles (growing by doubling); false for a row too far
  // beyond the grid's size and the rows held so far, or when the dense block would be
  // out of proportion to what the store holds.
  bool EnsureRowSlot(int ARow);
  static std::uint64_t CellKey(int ACol, int ARow) {
    return (std::uint64_t(std::uint32_t(ARow)) << 32) | std::uint32_t(ACol);
  }
  static int KeyCol(std::uint64_t Key) { return int(std::uint32_t(Key)); }
  static int KeyRow(std::uint64_t Key) { return int(Key >> 32); }
  // The row handles of the far texts and objects between First and Last follow Map.
  template <class TMap>
  void RemapFarRows(int First, int Last, TMap Map);
  void RowSlotsMoved(int First, int Last);
  // The cell changed: repaint it and reload the editor when it edits that cell.
  [[gnu::noinline]] void CellChanged(int ACol, int ARow);
  void BeginStringsUpdate() { ++FUpdating; }
  void EndStringsUpdate();
  // The texts: the cells of row r are FStride strings from FCells[FRowSlot[r] * FStride]
  // on (one block for the whole store); moving rows moves only their slot numbers.
  std::vector<std::string> FCells;
  std::vector<int> FRowSlot;
  int FStride = 0;
  size_t FDenseTexts = 0;  // non-empty texts in FCells
  // The most cells a dense block may have while it stays in proportion to the texts held.
  size_t DenseLimit() const { return std::max<size_t>(size_t(1) << 18, 64 * (FDenseTexts + FObjects.size() + 1)); }
  bool DenseAffordable(size_t Cells) const { return Cells <= DenseLimit(); }
  void MoveColumnsToFar(int FromCol);
  // Objects of the rows that have a handle, keyed by CellKey(column, handle), so they
  // follow their row when rows move; objects of rows without a handle (far beyond the
  // rows held) by CellKey(column, row).
  std::unordered_map<std::uint64_t, TObject*> FObjects;
  std::unordered_map<std::uint64_t, TObject*> FFarObjects;
  int FMaxObjectCol = -1;  // no object was ever set beyond this column
  std::map<std::pair<int, int>, std::string> FFar;         // (row, column) -> text
  std::map<int, std::unique_ptr<TStringGridStrings>> FRowStrings;
  std::map<int, std::unique_ptr<TStringGridStrings>> FColStrings;
  int FUpdating = 0;
  int FEditUpdate = 0;
};
