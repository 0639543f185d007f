#pragma once
// BaseGrid: the base of the string grid. TBaseGrid keeps, beside each cell's text, a
// lazily created TCellProperties in the cell's object slot (owned by the grid), merges
// rectangles of cells into one area, hooks the text shown for a cell, draws its own grid
// lines with separate colours for fixed and normal cells, and paints selected cells and
// the active row in their styles. TEditorType lists the in-place editor kinds.
//
// Indexes: every cell operation here takes the stored column and the displayed row.
// Merged areas: the base (top-left) cell holds the spans (columns - 1, rows - 1); every
// other cell of the area holds its offset from the base cell and IsBaseCell false. Text
// access to any cell of an area goes to its base cell.
#include <climits>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Grids.h"

enum TEditorType {
  edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
  edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
  edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
  edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edUniEdit, edUniComboEdit, edUniComboList,
  edUniEditBtn, edUniMemo, edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown,
  edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
  edImagePickerDropDown
};
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM };

extern const TEnumInfo* EditorTypeNames;
extern const TEnumInfo* VAlignmentNames;


class TBaseGrid;
class TVezIdidUndoRedo;

// The attributes of one cell, kept in its object slot and owned by the grid.
class TCellProperties : public TPersistent {
  LORM_CLASS(TCellProperties, TPersistent)
public:
  TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);
  ~TCellProperties() override;
  // Copies the merge, alignment, border, brush, font, editor and control settings; not
  // the gradient's second colour and direction, nor the cell and graphic objects.
  void Assign(TPersistent* Source) override;
  // The base cell of the merged area the cell (ACol, ARow) belongs to.
  TPoint GetBaseCell(int ACol, int ARow) const;

  TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
  // Setting these repaints the cell.
  void SetBrushColor(TColor Value);
  void SetBrushColorTo(TColor Value);
  void SetVAlignment(TVAlignment Value);
  void SetWordWrap(bool Value);

  int OwnerCol;
  int OwnerRow;
  TObject* CellObject = nullptr;
  TObject* GraphicObject = nullptr;
  TBrushStyle BrushStyle = bsSolid;
  TColor BrushColor = clNone;
  TColor BrushColorTo = clNone;
  int FontSize = 0;
  TColor FontColor = clNone;
  TFontStyles FontStyle;
  int CellSpanY = -1;
  int CellSpanX = -1;
  int BorderWidth = 0;
  TColor BorderColor = 0;
  TAlignment Alignment = taLeftJustify;
  TVAlignment VAlignment = vtaTop;
  int PaintID = 0;
  bool WordWrap = true;
  bool IsBaseCell = true;
  TColumnCalcType CalcType = acNONE;
  TObject* CalcObject = nullptr;
  int NodeLevel = 0;
  TEditorType Editor = edNormal;
  std::string FontName;
  bool ReadOnly = false;
  TCellGradientDirection GradientDirection = GradientVertical;
  TControl* Control = nullptr;

private:
  void Repaint();
  TBaseGrid* FOwnerGrid;
};

// One recorded step of undo and redo: a change of a cell's text, or a marker that starts or
// ends a sequence of changes undone and redone as one (Col and Row -1, texts empty).
class TUndoRedoItem : public TCollectionItem {
  LORM_PUBLISHED(TUndoRedoItem, TCollectionItem)
public:
  explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}
  int Col = 0;
  int Row = 0;
  std::string Value;
  std::string OrigValue;
  bool SequenceStart = false;
  bool SequenceStop = false;
};

// The recorded steps in the order they were recorded. The oldest step leaves in constant
// time, so a full list at its limit takes each new step at the same cost.
class TUndoRedoCollection : public TCollection {
  LORM_CLASS(TUndoRedoCollection, TCollection)
public:
  TUndoRedoCollection();
  ~TUndoRedoCollection() override;
  int Count() const { return static_cast<int>(FSteps.size()); }
  TUndoRedoItem* Items(int Index) const { return FSteps.at(Index).get(); }
  TUndoRedoItem* Add();
  void DeleteFirst();
  // The oldest step becomes the newest (its fields as they were): a full list at its limit
  // reuses the step that leaves instead of freeing one and making another.
  TUndoRedoItem* Recycle();
  void Clear();

private:
  std::deque<std::unique_ptr<TUndoRedoItem>> FSteps;
};

using TVezIdidUndoRedoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const std::string& OrigValue, const std::string& NewValue)>;

// The component that records cell text changes of a grid for undo and redo. Level counts
// the steps, from the start of the list, that are done: the step at Level - 1 is the next
// to undo, the one at Level the next to redo.
class TVezIdidUndoRedo : public TComponent {
  LORM_PUBLISHED(TVezIdidUndoRedo, TComponent)
public:
  explicit TVezIdidUndoRedo(TComponent* AOwner);
  ~TVezIdidUndoRedo() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TBaseGrid* Grid() const { return FGrid; }
  void SetGrid(TBaseGrid* Value);

  virtual void RegisterChange(int ACol, int ARow, const std::string& OldValue, const std::string& NewValue);
  virtual void StartSequence();
  virtual void StopSequence();
  void Undo();
  void Redo();
  bool CanUndo() const { return Level > 0; }
  bool CanRedo() const { return Level < FItems->Count(); }
  void Reset();
  TUndoRedoCollection* Items() const { return FItems.get(); }

  // 0 or less: no limit on the number of recorded changes.
  int MaxLevel = 0;
  int Level = 0;
  TVezIdidUndoRedoEvent OnUndo;
  TVezIdidUndoRedoEvent OnRedo;

private:
  void Replay(TUndoRedoItem* Item, bool Forward);
  TBaseGrid* FGrid = nullptr;
  std::unique_ptr<TUndoRedoCollection> FItems;
};

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::u16string& Value)>;

class TBaseGrid : public TStringGrid {
  LORM_PUBLISHED(TBaseGrid, TStringGrid)
public:
  explicit TBaseGrid(TComponent* AOwner);
  ~TBaseGrid() override;

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Cell text.
  std::string GetCellEx(int ACol, int ARow);
  void SetCellEx(int ACol, int ARow, const std::string& Value);
  std::string GetGridCell(int ACol, int ARow) const { return Cells(ACol, ARow); }
  void SetGridCell(int ACol, int ARow, const std::string& Value) { SetCells(ACol, ARow, Value); }

  // Cell properties and objects.
  TCellProperties* GetCellProperties(int ACol, int ARow);
  bool HasCellProperties(int ACol, int ARow) const { return Props(ACol, ARow) != nullptr; }
  // Frees the cell's properties and keeps Value instead; giving a cell its own object
  // changes nothing.
  void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
  TObject* GetGridObject(int ACol, int ARow) const { return Objects(ACol, ARow); }
  void SetGridObject(int ACol, int ARow, TObject* Value) { SetObjects(ACol, ARow, Value); }
  TObject* GetObjectEx(int ACol, int ARow) const;
  void SetObjectEx(int ACol, int ARow, TObject* Value);
  TObject* GetGraphicObjectEx(int ACol, int ARow) const;
  void SetGraphicObjectEx(int ACol, int ARow, TObject* Value);
  TObject* GetCPGraphicObject(TCellProperties* Props) const { return Props ? Props->GraphicObject : nullptr; }
  void ClearPropCell(int ACol, int ARow);
  void ClearPropRect(int ACol1, int ARow1, int ACol2, int ARow2);
  void ClearPropRow(int ARow);
  void ClearProps();
  void NilCell(int ACol, int ARow);
  void NilRow(int ARow);
  void NilCol(int ACol);
  void CopyRows(int ToRow, int FromRow);
  void CopyCols(int ToCol, int FromCol);
  bool CellPropertiesCreated() const { return FPropsCreated; }
  // Set by every new TCellProperties of this grid: until then no cell has properties.
  void NoteCellPropertiesCreated() { FPropsCreated = true; }

  // Geometry.
  TRect GetCellRect(int ACol, int ARow);
  TRect CellRect(int ACol, int ARow);
  TPoint CellSize(int ACol, int ARow);
  void RepaintCell(int ACol, int ARow);
  int FixedColsWidth();
  int FixedRowsHeight();
  bool IsSelected(int ACol, int ARow);

  // Merged cells.
  virtual void MergeCells(int ACol, int ARow, int NCols, int NRows);
  virtual void SplitCells(int ACol, int ARow);
  TPoint BaseCell(int ACol, int ARow) const;
  bool IsBaseCell(int ACol, int ARow) const;
  bool IsBaseCellEx(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
  bool IsMergedCell(int ACol, int ARow) const;
  bool IsMergedNonBaseCell(int ACol, int ARow) const;
  bool IsXMergedCell(int ACol, int ARow) const;
  bool IsYMergedCell(int ACol, int ARow) const;
  TPoint CellSpan(int ACol, int ARow) const;
  TPoint CellExt(int ACol, int ARow) const;
  TGridRect FullCell(int ACol, int ARow) const;
  int MinRowSpan(int ARow) const;
  int MaxRowSpan(int ARow) const;
  bool RowSpanIdentical(int ARow1, int ARow2) const;
  bool ColSpanIdentical(int ACol1, int ACol2) const;
  void SelectBaseCell();
  void RepaintFixedMergedCols();
  void RepaintFixedMergedRows();
  int MergeCount() const { return FMergeCount; }

  // Published.
  bool ActiveRowShow() const { return FActiveRowShow; }
  void SetActiveRowShow(bool Value);
  TColor ActiveRowColor() const { return FActiveRowColor; }
  void SetActiveRowColor(TColor Value);
  bool DefaultDrawing() const { return FOwnDefaultDrawing; }
  void SetDefaultDrawing(bool Value) { FOwnDefaultDrawing = Value; }
  int GridLineWidth() const { return FOwnGridLineWidth; }
  void SetGridLineWidth(int Value);
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value);
  TColor GridFixedLineColor() const { return FGridFixedLineColor; }
  void SetGridFixedLineColor(TColor Value);
  TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
  void SetSelectionStyle(TGridSelectionStyle Value);
  TVezIdidUndoRedo* UndoRedo() const { return FUndoRedo; }
  void SetUndoRedo(TVezIdidUndoRedo* Value);
  TGetDisplTextEvent OnGetDisplText;
  TGetDisplWideTextEvent OnGetDisplWideText;

  // The defaults of new cell properties and the look of a cell.
  virtual void GetDefaultProps(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                               TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign,
                               TVAlignment& VAlign, bool& WW, TCellGradientDirection& GD);
  virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                   bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                   TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                   bool& WW, TCellGradientDirection& GD) {}

  int DisplTextRowLimit() const { return FDisplTextRowLimit; }
  int PaintPass() const { return FPaintID; }

protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void TopLeftChanged() override;
  void ChangeScale(int M, int D) override;

public:
  void KeyDown(WORD& Key, TShiftState Shift) override;

  // Hooks of the string grid.
  virtual bool IsFixed(int ACol, int ARow) { return false; }
  virtual int NodeIndent(int ARow) { return 0; }
  virtual bool HasNodes() { return false; }
  virtual void DrawGridCell(TCanvas* Canvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
  virtual void FloatFooterUpdate() {}
  virtual std::string GetDisplText(int ACol, int ARow, const std::string& Value);
  virtual std::u16string GetDisplWideText(int ACol, int ARow, const std::u16string& Value);
  virtual void CellTextChange(int ACol, int ARow) {}
  virtual bool HasCustomCellBorder() { return false; }
  virtual int DisplColIndex(int ACol) { return ACol; }

protected:
  TCellProperties* Props(int ACol, int ARow) const {
    return FPropsCreated ? dynamic_cast<TCellProperties*>(Objects(ACol, ARow)) : nullptr;
  }
  void FreeProps(int ACol, int ARow);

  int FDisplTextRowLimit = INT_MAX;
  bool FShowSelection = true;
  bool FWordWrapDefault = true;
  bool FFloatingFooterShown = false;
  bool FDestroyingGrid = false;

private:
  bool FActiveRowShow = false;
  TColor FActiveRowColor = clInfoBk;
  bool FOwnDefaultDrawing = false;
  int FOwnGridLineWidth = 1;
  TColor FGridLineColor = 0xC0C0C0;
  TColor FGridFixedLineColor = 0x808080;
  TGridSelectionStyle FSelectionStyle = ssDefault;
  TVezIdidUndoRedo* FUndoRedo = nullptr;
  int FPaintID = 1;
  int FMergeCount = 0;
  bool FPropsCreated = false;
};
