#pragma once
// The string grid's in-place editor and the editor and helper controls it creates as its
// children: each keeps the grid it was made for. These hold the members the grid's
// construction and data model use; the editing engine gives them their behaviour.
#include <functional>
#include <string>

#include "editors/DizSpin.h"
#include "foundation/DizStyleIF.h"
#include "grid/BaseGrid.h"
#include "grid/HTMLHintWindow.h"
#include "grid/ZevUni.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ListBoxes.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/RichEdit.h"
#include "platform/vcl/StdCtrls.h"

class TDavEvadurAvuz;

// The grid an editor control was made for (its owner).
TDavEvadurAvuz* GridOf(TComponent* AOwner);

#define LORM_GRID_CONTROL(Name, Base)                                  \
  class Name : public Base {                                           \
    LORM_CLASS(Name, Base)                                             \
  public:                                                              \
    explicit Name(TComponent* AOwner) : Base(AOwner), FGrid(GridOf(AOwner)) {} \
    TDavEvadurAvuz* Grid() const { return FGrid; }                     \
    bool IsWinXP = false;                                              \
    bool IsVista = false;                                              \
                                                                       \
  private:                                                             \
    TDavEvadurAvuz* FGrid;                                             \
  }

LORM_GRID_CONTROL(TGridCombo, TComboBox);
LORM_GRID_CONTROL(TGridUniEdit, TZevUniEdit);
LORM_GRID_CONTROL(TGridUniMemo, TZevUniMemo);
LORM_GRID_CONTROL(TGridUniCombo, TDEAUniComboBox);
LORM_GRID_CONTROL(TGridCheckBox, TCheckBox);
LORM_GRID_CONTROL(TGridButton, TButton);

class TGridSpin : public TDizSpinEdit {
  LORM_CLASS(TGridSpin, TDizSpinEdit)
public:
  explicit TGridSpin(TComponent* AOwner) : TDizSpinEdit(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }
  bool IsWinXP = false;

private:
  TDavEvadurAvuz* FGrid;
};

// The edit the grid puts over a cell it lets the user type into directly: it keeps the
// cell, and StopEdit validates and stores the text (VezIdidEditLink.cpp).
class TGridTransEdit : public TEdit {
  LORM_CLASS(TGridTransEdit, TEdit)
public:
  explicit TGridTransEdit(TComponent* AOwner);
  TDavEvadurAvuz* Grid() const { return FGrid; }
  // False when the grid's validation refused the text (the edit keeps the focus).
  bool StopEdit();
  int Row = 0, Col = 0;
  bool IsWinXP = false;
  bool IsVista = false;

protected:
  void DoExit() override;
  void KeyPress(char32_t& Key) override;

private:
  TDavEvadurAvuz* FGrid;
};

// Editors of the form controls inside mark-up cells: Enter ends the edit, Tab moves on
// to the next form control of the cell or to the next cell.
class TControlEdit : public TMaskEdit {
  LORM_CLASS(TControlEdit, TMaskEdit)
public:
  explicit TControlEdit(TComponent* AOwner) : TMaskEdit(AOwner), FGrid(GridOf(AOwner)) {}
  void WndProc(TMessage& Message) override;
  TDavEvadurAvuz* Grid() const { return FGrid; }
  // The identifier of the form control being edited.
  std::string ControlID;
  bool IsWinXP = false;
  bool IsVista = false;

protected:
  void KeyPress(char32_t& Key) override;

private:
  TDavEvadurAvuz* FGrid;
};

class TControlCombo : public TComboBox {
  LORM_CLASS(TControlCombo, TComboBox)
public:
  explicit TControlCombo(TComponent* AOwner) : TComboBox(AOwner), FGrid(GridOf(AOwner)) {}
  void WndProc(TMessage& Message) override;
  TDavEvadurAvuz* Grid() const { return FGrid; }
  std::string ControlID;
  bool IsWinXP = false;
  bool IsVista = false;

protected:
  void KeyPress(char32_t& Key) override;

private:
  TDavEvadurAvuz* FGrid;
};

// An edit with a button (caption "..." by default) whose click the grid handles.
class TGridEditBtn : public TEdit {
  LORM_CLASS(TGridEditBtn, TEdit)
public:
  explicit TGridEditBtn(TComponent* AOwner) : TEdit(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }
  const std::string& ButtonCaption() const { return FButtonCaption; }
  void SetButtonCaption(const std::string& Value) { FButtonCaption = Value; }
  bool IsWinXP = false;
  TNotifyEvent OnClickBtn;

private:
  TDavEvadurAvuz* FGrid;
  std::string FButtonCaption;
};

class TGridUnitEditBtn : public TGridEditBtn {
  LORM_CLASS(TGridUnitEditBtn, TGridEditBtn)
public:
  using TGridEditBtn::TGridEditBtn;
};

class TGridUniEditBtn : public TZevUniEditBtn {
  LORM_CLASS(TGridUniEditBtn, TZevUniEditBtn)
public:
  explicit TGridUniEditBtn(TComponent* AOwner) : TZevUniEditBtn(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }

private:
  TDavEvadurAvuz* FGrid;
};

// The drop-down editors: an edit part that can be read-only and a style of the library.
class TGridDropDown : public TCustomControl, public IDizStyle {
  LORM_CLASS(TGridDropDown, TCustomControl)
public:
  explicit TGridDropDown(TComponent* AOwner) : TCustomControl(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
  void SetComponentStyle(DUZERazav AStyle) override { FStyle = AStyle; }
  DUZERazav Style() const { return FStyle; }

private:
  TDavEvadurAvuz* FGrid;
  bool FEditorEnabled = true;
  DUZERazav FStyle = tsCustom;
};

#define LORM_GRID_DROPDOWN(Name)                                      \
  class Name : public TGridDropDown {                                 \
    LORM_CLASS(Name, TGridDropDown)                                   \
  public:                                                             \
    using TGridDropDown::TGridDropDown;                               \
  }

LORM_GRID_DROPDOWN(TGridTrackbarDropDown);
LORM_GRID_DROPDOWN(TGridMemoDropDown);
LORM_GRID_DROPDOWN(TGridCalculatorDropDown);
LORM_GRID_DROPDOWN(TGridTimepickerDropDown);
LORM_GRID_DROPDOWN(TGridDetailPickerDropDown);
LORM_GRID_DROPDOWN(TGridGridDropDown);

class TGridColorDropDown : public TGridDropDown {
  LORM_CLASS(TGridColorDropDown, TGridDropDown)
public:
  using TGridDropDown::TGridDropDown;
  // Fills the picker with the standard named colours.
  void AddDefaultColors();
  int ColorCount() const { return static_cast<int>(FColors.size()); }
  TColor SelectedColor = clBlack;
  std::string GetSelectedColorText() const;
  TNotifyEvent OnSelect;

private:
  std::vector<std::pair<std::string, TColor>> FColors;
};

class TGridImageDropDown : public TGridDropDown {
  LORM_CLASS(TGridImageDropDown, TGridDropDown)
public:
  using TGridDropDown::TGridDropDown;
  int ItemIndex = -1;
  TNotifyEvent OnSelect;
};

class TGridDatePicker : public TCustomControl {
  LORM_CLASS(TGridDatePicker, TCustomControl)
public:
  explicit TGridDatePicker(TComponent* AOwner) : TCustomControl(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnChange;

private:
  TDavEvadurAvuz* FGrid;
};

class TGridDateTimePicker : public TGridDatePicker {
  LORM_CLASS(TGridDateTimePicker, TGridDatePicker)
public:
  using TGridDatePicker::TGridDatePicker;
};

// A rich edit bound to its grid: the grid's renderer (converting, measuring and painting
// rich-text cells) and its rich-text cell editor. It records the size its content asks
// for, grows the current row while the user types (unless locked), hands Up and Down
// back to the grid and formats the selection as sub- or superscript.
class TDizRichEdit : public TRichEdit {
  LORM_CLASS(TDizRichEdit, TRichEdit)
public:
  // The owner must be a string grid (EInvalidCast otherwise).
  explicit TDizRichEdit(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TDavEvadurAvuz* Grid() const { return FGrid; }
  int ReqWidth() const { return FReqWidth; }
  int ReqHeight() const { return FReqHeight; }
  void Lock() { FLocked = true; }
  void Unlock() { FLocked = false; }
  bool Locked() const { return FLocked; }
  void ReCreate() { RecreateWnd(); }
  // The vertical offset of the selected characters, in twips.
  void SelFormat(int Offset);
  void SelNormal() { SelFormat(0); }
  void SelSubscript() { SelFormat(-40); }
  void SelSuperscript() { SelFormat(40); }
  bool IsSelNormal() { return SelOffset() == 0; }
  bool IsSelSubscript() { return SelOffset() == -40; }
  bool IsSelSuperscript() { return SelOffset() == 40; }

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void RequestSize(const TRect& Rect) override;

private:
  int SelOffset();
  TDavEvadurAvuz* FGrid;
  int FReqWidth = 0, FReqHeight = 0;
  bool FLocked = false;
};

// The filter drop list; its select callback goes to the grid.
class TDropList : public TListBox {
  LORM_CLASS(TDropList, TListBox)
public:
  explicit TDropList(TComponent* AOwner) : TListBox(AOwner) {}
  TNotifyEvent OnSelect;
};

// The floating footer's strip at the bottom of the grid: paints the grid's last row, one
// column of the current row or a mark-up template of it (VezIdidFooter.cpp), and turns a
// hint request or a click on it into the grid's events.
class TFooterPanel : public TPanel {
  LORM_CLASS(TFooterPanel, TPanel)
public:
  explicit TFooterPanel(TComponent* AOwner) : TPanel(AOwner), FGrid(GridOf(AOwner)) {}
  TDavEvadurAvuz* Grid() const { return FGrid; }
  bool IsWinXP = false;
  bool IsVista = false;
  // The column under a client x: fixed columns, then the columns from LeftCol; -1 when none.
  int ColumnAt(int X);
  // The column whose hint was last shown, -1 when none.
  int LastHintColumn() const { return FLastHintCol; }
  void WndProc(TMessage& Message) override;

protected:
  void CreateWnd() override;
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  int PaintLastRow();
  int PaintColumnPreview();
  int PaintCustomPreview();
  TRect FooterArea();
  TDavEvadurAvuz* FGrid;
  int FLastHintCol = -1;
};

class TSearchPanel : public TPanel {
  LORM_CLASS(TSearchPanel, TPanel)
public:
  explicit TSearchPanel(TComponent* AOwner) : TPanel(AOwner) {}
  TNotifyEvent OnEditChange, OnBackward, OnForward, OnExit, OnHighlight;
};


// The grid's text in-place editor: filters typed and pasted text by the cell's editor
// kind, validates the value on Enter and Tab, and reports the end of the edit when its
// window loses the focus or goes.
class TDizInplaceEdit : public TInplaceEdit {
  LORM_CLASS(TDizInplaceEdit, TInplaceEdit)
public:
  explicit TDizInplaceEdit(TComponent* AOwner);
  // Both store the value and re-create the editor's window.
  void SetVAlign(bool Value);
  void SetWordWrap(bool Value);
  bool VAlign() const { return FVAlign; }
  bool WordWrap() const { return FWordWrap; }
  // The maximum text length (0 or less: unlimited), taken from the grid's edit limit.
  int LengthLimit = 0;
  int CaretAtKeyDown = 0;
  int CaretAtKeyMessage = 0;
  bool LookupEnabled = true;
  int EditCol = -1, EditRow = -1;
  bool AltBackspaceDown = false;
  TDavEvadurAvuz* GridOwner() const { return FOwnerGrid; }

  void WndProc(TMessage& Message) override;
  void UpdateContents() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void BoundsChanged() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void Change() override;

private:
  void WMChar(TMessage& Message);
  // False when the key-down ends here.
  bool WMKeyDownSteps(TMessage& Message);
  void WMPaste();
  void WMKillFocus(TMessage& Message);
  void WMSetFocus(TMessage& Message);
  void DoChange();
  // The text after a failed validation: the value the validation left, selected whole
  // or with the caret at its end.
  void ShowRefused(const std::string& SavedOrig);
  int SelStartNow();
  TDavEvadurAvuz* FOwnerGrid;
  bool FVAlign = false;
  bool FWordWrap = false;
  bool FMovedVertically = false;
  bool FPasswordWindow = false;
  bool FSwallowEnterChar = false;
};
