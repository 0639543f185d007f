#pragma once
// Standard controls: labels, edits and memos (windows of the "EDIT" class), push buttons,
// check boxes, radio buttons, group boxes and scroll bars, drawn by the layer in the
// classic look (themed parts for buttons and check boxes when themes are active).
#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/StdEdit.h"

// Button styles, messages and notifications.
enum : DWORD {
  BS_PUSHBUTTON = 0x0000, BS_DEFPUSHBUTTON = 0x0001, BS_CHECKBOX = 0x0002, BS_AUTOCHECKBOX = 0x0003,
  BS_RADIOBUTTON = 0x0004, BS_3STATE = 0x0005, BS_AUTO3STATE = 0x0006, BS_GROUPBOX = 0x0007,
  BS_USERBUTTON = 0x0008, BS_AUTORADIOBUTTON = 0x0009, BS_OWNERDRAW = 0x000B, BS_TYPEMASK = 0x000F,
  BS_LEFTTEXT = 0x0020, BS_MULTILINE = 0x2000, BS_NOTIFY = 0x4000, BS_FLAT = 0x8000,
};
enum : UINT {
  BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1, BM_GETSTATE = 0x00F2, BM_SETSTATE = 0x00F3,
  BM_SETSTYLE = 0x00F4, BM_CLICK = 0x00F5,
};
enum : WPARAM { BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4, BST_FOCUS = 8 };
enum : WORD { BN_CLICKED = 0, BN_DOUBLECLICKED = 5, BN_SETFOCUS = 6, BN_KILLFOCUS = 7 };
// Scroll bar control styles and messages.
enum : DWORD { SBS_HORZ = 0x0000, SBS_VERT = 0x0001 };
enum : UINT {
  SBM_SETPOS = 0x00E0, SBM_GETPOS = 0x00E1, SBM_SETRANGE = 0x00E2, SBM_GETRANGE = 0x00E3,
  SBM_SETSCROLLINFO = 0x00E9, SBM_GETSCROLLINFO = 0x00EA,
};

// The text of an edit cannot be changed: raised by the framework's edits when a change is
// refused (masked edits use EDBEditError from Mask.h).
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TTextLayout { tlTop, tlCenter, tlBottom };
using TLeftRight = TAlignment;  // taLeftJustify or taRightJustify
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollCode {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// ---------------------------------------------------------------------------------------
// A caption drawn on the parent: alignment, vertical layout, word wrap, auto size,
// transparency, "&" accelerators that focus FocusControl.
class TCustomLabel : public TGraphicControl {
  LORM_PUBLISHED(TCustomLabel, TGraphicControl)
public:
  explicit TCustomLabel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool Transparent() const;
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The label's size follows its text (AutoSize).
  void AdjustBounds();

protected:
  void Paint() override;
  void Loaded() override;
  // Draws the caption with DrawText flags (DT_CALCRECT measures into Rect).
  virtual void DoDrawText(TRect& Rect, UINT Flags);
  virtual std::string GetLabelText() const { return Caption(); }

  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
  LORM_PUBLISHED(TLabel, TCustomLabel)
public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// A single-line editor (the "EDIT" window class). Text, selection and the other edit
// state live in the window once it exists and in the control before that.
class TCustomEdit : public TWinControl {
  LORM_PUBLISHED(TCustomEdit, TWinControl)
public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;
  void WndProc(TMessage& Message) override;

  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  int MaxLength() const { return FMaxLength; }
  virtual void SetMaxLength(int Value);
  bool OEMConvert() const { return FOEMConvert; }
  void SetOEMConvert(bool Value);
  char32_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Modified();
  void SetModified(bool Value);
  bool CanUndo();

  // Selection in characters (UTF-16 code units); SelText as UTF-8.
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  std::string SelText();
  void SetSelText(const std::string& Value);
  std::u16string WideText();

  void Clear();
  void ClearSelection();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void Undo();
  void ClearUndo();
  void SelectAll();
  int GetSelTextBuf(char* Buffer, int BufSize);
  void SetSelTextBuf(const char* Buffer);

  void SetAutoSize(bool Value) override;
  TNotifyEvent OnChange;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();
  virtual void DoSetMaxLength(int Value);
  void SetTextValue(const std::string& Value) override;
  // AutoSize: the height that fits the font and the border.
  void AdjustHeight();
  void UpdateHeight();
  // Sends the control's font to the window.
  void SendFont();

  TBorderStyle FBorderStyle = bsSingle;
  bool FCtl3D = true;
  bool FAutoSelect = true;
  TEditCharCase FCharCase = ecNormal;
  bool FHideSelection = true;
  int FMaxLength = 0;
  bool FOEMConvert = false;
  char32_t FPasswordChar = 0;
  bool FReadOnly = false;
  TAlignment FAlignment = taLeftJustify;
  bool FModified = false;  // kept while the window does not exist
  bool FCreating = false;
  int FSavedSelStart = 0, FSavedSelLength = 0;

private:
  void SetEditStyle(DWORD Bit, bool On);
};

class TEdit : public TCustomEdit {
  LORM_PUBLISHED(TEdit, TCustomEdit)
public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// A multi-line editor: Lines as a string list bound to the window's text, word wrap,
// scroll bars, Enter and Tab as text when wanted.
class TCustomMemo;
class TMemoStrings : public TStrings {
  LORM_CLASS(TMemoStrings, TStrings)
public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  std::string Get(int Index) const override;
  int GetCount() const override;
  void Put(int Index, const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  std::string GetText() const override;
  void SetText(const std::string& Value) override;

protected:
  void SetUpdateState(bool Updating) override;

private:
  std::vector<std::string> Split() const;
  void Join(const std::vector<std::string>& Lines);
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  LORM_PUBLISHED(TCustomMemo, TCustomEdit)
public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  void WndProc(TMessage& Message) override;

  TStrings* Lines() const { return FLines.get(); }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // The caret as (column, line) of the logical lines.
  TPoint CaretPos();
  void SetCaretPos(const TPoint& Value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char32_t& Key) override;

private:
  std::unique_ptr<TMemoStrings> FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
};

class TMemo : public TCustomMemo {
  LORM_PUBLISHED(TMemo, TCustomMemo)
public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// Base of push buttons, check boxes and radio buttons: a windowed control with a caption,
// focus, an action and a checked state for the kinds that have one.
class TButtonControl : public TWinControl {
  LORM_PUBLISHED(TButtonControl, TWinControl)
public:
  explicit TButtonControl(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

protected:
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool Value) {}
  void CreateParams(TCreateParams& Params) override;
  // The caption with its focus rectangle and "&" accelerator drawn in R.
  void DrawCaption(HDC DC, TRect R, UINT Flags, bool Focus);
  // True while the button is shown pressed (mouse or space held on it).
  bool FPressed = false;
  bool FClicksDisabled = false;
  bool FCtl3D = true;
  bool FWordWrap = false;
  bool FSpaceDown = false;
  bool FHot = false;
  // Mouse and space handling common to all buttons; Toggle runs on release.
  virtual void ButtonReleased() { Click(); }
  bool HandleButtonMessage(TMessage& Message);
  void PaintBackground(HDC DC);
  virtual void PaintButton(HDC DC) {}
  void PaintWindow(HDC DC) override;
};

// A push button: Default (Enter anywhere on the form clicks it), Cancel (Escape),
// ModalResult (set on the parent form when clicked).
class TCustomButton : public TButtonControl {
  LORM_PUBLISHED(TCustomButton, TButtonControl)
public:
  explicit TCustomButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Click() override;
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  // The button that acts on Enter now: the focused button, else the default one.
  bool Active() const { return FActive; }

protected:
  void PaintButton(HDC DC) override;
  void SetButtonStyle(bool ADefault);

private:
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

class TButton : public TCustomButton {
  LORM_PUBLISHED(TButton, TCustomButton)
public:
  explicit TButton(TComponent* AOwner) : TCustomButton(AOwner) {}
};

// A check box: checked, unchecked or (AllowGrayed) grayed; a click cycles the states.
class TCustomCheckBox : public TButtonControl {
  LORM_PUBLISHED(TCustomCheckBox, TButtonControl)
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return GetChecked(); }
  void SetCheckedValue(bool Value) { SetChecked(Value); }
  // Next state: unchecked → grayed (when allowed) or checked; checked → unchecked;
  // grayed → checked.
  virtual void Toggle();

protected:
  bool GetChecked() const override { return FState == cbChecked; }
  void SetChecked(bool Value) override;
  void ButtonReleased() override;
  void PaintButton(HDC DC) override;

private:
  TLeftRight FAlignment = taRightJustify;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
  LORM_PUBLISHED(TCheckBox, TCustomCheckBox)
public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// A radio button: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TButtonControl {
  LORM_PUBLISHED(TRadioButton, TButtonControl)
public:
  explicit TRadioButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  bool Checked() const { return FChecked; }
  void SetCheckedValue(bool Value) { SetChecked(Value); }

protected:
  bool GetChecked() const override { return FChecked; }
  void SetChecked(bool Value) override;
  void ButtonReleased() override;
  void PaintButton(HDC DC) override;

private:
  TLeftRight FAlignment = taRightJustify;
  bool FChecked = false;
};

// ---------------------------------------------------------------------------------------
// A framed group of controls with a caption in its top edge.
class TCustomGroupBox : public TCustomControl {
  LORM_PUBLISHED(TCustomGroupBox, TCustomControl)
public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void AdjustClientRect(TRect& Rect) override;
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  bool FCtl3D = true;
};

class TGroupBox : public TCustomGroupBox {
  LORM_PUBLISHED(TGroupBox, TCustomGroupBox)
public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// A stand-alone scroll bar: arrows, track and thumb; OnScroll for every step and
// scEndScroll when the user lets go, OnChange when Position changes.
class TScrollBar : public TWinControl {
  LORM_PUBLISHED(TScrollBar, TWinControl)
public:
  explicit TScrollBar(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value) { FCtl3D = Value; }
  // Sets position and range together; EInvalidOperation when Max < Min or the page is
  // larger than the range.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

  // Geometry (client coordinates): the two arrows, the thumb (empty when there is no
  // room for one).
  TRect ArrowRect(bool Second);
  TRect ThumbRect();

protected:
  void CreateParams(TCreateParams& Params) override;
  void PaintWindow(HDC DC) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  void DoScroll(UINT Code, int ThumbPos);

private:
  int TrackLength();
  int ThumbLength();
  int PosFromThumb(int ThumbStart);
  void Track(TPoint P);
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPageSize = 0, FPosition = 0;
  int FSmallChange = 1, FLargeChange = 1;
  bool FCtl3D = true;
  // Mouse tracking: what is pressed and where the thumb was grabbed.
  enum TPart { spNone, spArrow1, spArrow2, spPageUp, spPageDown, spThumb } FPressedPart = spNone;
  int FGrab = 0;
  int FTrackPos = 0;
};

// ---------------------------------------------------------------------------------------
// A windowed static text: the caption drawn in its own window, with an optional border.
enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TCustomStaticText : public TCustomControl {
  LORM_PUBLISHED(TCustomStaticText, TCustomControl)
public:
  explicit TCustomStaticText(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  // The control's size follows its caption (AutoSize).
  void AdjustBounds();

protected:
  void Paint() override;

private:
  TAlignment FAlignment = taLeftJustify;
  TStaticBorderStyle FBorderStyle = sbsNone;
  bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
  LORM_PUBLISHED(TStaticText, TCustomStaticText)
public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};
