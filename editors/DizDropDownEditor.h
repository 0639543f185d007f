#pragma once
// DizDropDown, the drop-down editor: a masked edit holding a typed value between a prefix
// and a suffix, with a drop button at its right edge that opens a borderless pop-up form
// below or above it. The pop-up stacks an optional header strip, the centre control a
// descendant supplies and an optional footer strip with a size grip. The pop-up takes the
// focus while the owner window keeps its active caption, and closes on Enter, Esc, F4 or
// when it loses activation; the size the user gives it is kept for the next opening.
//
// Descendants override the virtual operations of TDizCustomDropDown (BeforeDropDown,
// UpdateDropDownSize, SetCenterControl, …); the grid's in-place editors call the key and
// value operations directly.
#include <memory>
#include <string>

#include "editors/DizDropDown.h"
#include "editors/DizDropDownStrips.h"
#include "foundation/DizStyleIF.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Mask.h"

class TCustomImageList;

namespace DizDropDown {

enum TDropDownEditType {
  etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
  etAlphaNumeric, etValidChars
};
enum TDropPosition { dpAuto, dpDown, dpUp };
enum TAutoType { atNumeric, atFloat, atString, atDate, atTime, atHex };
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TDropDownButtonStyle { bsButton, bsDropDown };

class TDizCustomDropDown;
class TDropDownForm;
class TItemAppearance;

using TDropDownEvent = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUpEvent = std::function<void(TObject* Sender, bool Cancelled)>;
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject* Sender, std::string& Text)>;
using TClipboardEvent = std::function<void(TObject* Sender, const std::string& value, bool& allow)>;

// Text classification of the typing and paste rules.
TAutoType TextAutoType(const std::string& S);
std::string StripThousandSeparators(const std::string& S);
int HexDigitValue(char32_t Ch);
int HexToInt(const std::string& S);
bool IsRangeSeparator(char32_t Ch);
// The most significant double word of a library's file version; -1 when it has none.
int GetFileVersion(const std::string& FileName);

// ---------------------------------------------------------------------------------------
// The header and footer strips of the pop-up.
class TDizHeader : public TCustomControl {
  LORM_CLASS(TDizHeader, TCustomControl)
public:
  explicit TDizHeader(TComponent* AOwner);
  ~TDizHeader() override;
  void WndProc(TMessage& Message) override;
  void SetDizDropDown(TDizCustomDropDown* DropDown);
  TDizCustomDropDown* DizDropDown() const { return FDropDown; }
  void Initialize();
  THeaderAppearance* Appearance() const { return FAppearance.get(); }
  TCustomImageList* Images() const { return FImages; }
  THeaderButtons* Buttons() const;
  // The area the buttons may take and the part of it they cover ((-1, -1, -1, -1): none).
  virtual TRect GetButtonsRect();
  int GetMaxButtonHeight() { return GetButtonsRect().Height(); }
  TRect GetButtonsCoveredRect();
  virtual void CreateButtons();
  virtual void DestroyButtons();
  virtual void ArrangeButtons();
  virtual void UpdateButtons();
  void AppearanceChanged(TObject* Sender);
  // A strip button's click: the drop-down's header (footer) button event with its index.
  void OnButtonClick(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TDrawBackGroundEvent OnDrawBackGround;
  TGetTextEvent OnGetText;

protected:
  void Paint() override;
  // The strip's copy of the look: the header's or the footer's appearance.
  virtual TStripAppearance* Look() const { return FAppearance.get(); }
  void PaintStrip(bool Footer);
  TDizCustomDropDown* FDropDown = nullptr;
  TCustomImageList* FImages = nullptr;
  TDbgList FButtonList;

private:
  std::unique_ptr<THeaderAppearance> FAppearance;
};

class TDizFooter : public TDizHeader {
  LORM_CLASS(TDizFooter, TDizHeader)
public:
  explicit TDizFooter(TComponent* AOwner);
  ~TDizFooter() override;
  void WndProc(TMessage& Message) override;
  void SetDizDropDown(TDizCustomDropDown* DropDown);
  TFooterAppearance* Appearance() const { return FFooterAppearance.get(); }
  TFooterButtons* Buttons() const;
  TRect GetButtonsRect() override;
  bool HasSizeGrip() const;
  // Six 2×2 dots in the bottom-right corner of R, white with a dark dot above-left of each.
  void DrawSizeGrip(const TRect& R);
  // The corner that starts the sizing of the pop-up (strip coordinates).
  bool InGripZone(int X, int Y) const { return X > Width() - 12 && Y > Height() - 15; }

protected:
  void Paint() override;
  TStripAppearance* Look() const override { return FFooterAppearance.get(); }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void RestoreCursor();
  std::unique_ptr<TFooterAppearance> FFooterAppearance;
  TCursor FSavedCursor = 0;
};

// ---------------------------------------------------------------------------------------
// The pop-up window.
class TDropDownForm : public TForm {
  LORM_CLASS(TDropDownForm, TForm)
public:
  explicit TDropDownForm(TComponent* AOwner);
  TDropDownForm(TComponent* AOwner, int Dummy);
  ~TDropDownForm() override;
  void WndProc(TMessage& Message) override;
  void SetDizDropDown(TDizCustomDropDown* Value) { FDropDown = Value; }
  TDizCustomDropDown* DizDropDown() const { return FDropDown; }
  void InitializeAndUpdate();
  void DrawBackGround(TCanvas* ACanvas);
  HWND GetParentWnd();
  void UpdateSize() {}
  void AdjustClientRect(TRect& Rect) override;
  TDizHeader* Header() const { return FHeader; }
  TDizFooter* Footer() const { return FFooter; }

  unsigned LastCloseTick = 0;
  // Whether the pop-up has closed by losing its activation (LastCloseTick is set).
  bool ClosedByDeactivation() const { return FDeactivated; }
  bool Shadow = true;
  bool SizeGripArea = false;
  bool CancelOnDeactivate = true;
  TNotifyEvent OnSizing;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  TDizCustomDropDown* FDropDown = nullptr;
  TDizHeader* FHeader = nullptr;
  TDizFooter* FFooter = nullptr;
  bool FDeactivated = false;
};

// ---------------------------------------------------------------------------------------
// The drop button: a windowed container forced to ButtonWidth holding one speed button.
class TDizDropDownSpeedButton : public TSpeedButton {
  LORM_CLASS(TDizDropDownSpeedButton, TSpeedButton)
public:
  explicit TDizDropDownSpeedButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TDropDownButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TDropDownButtonStyle Value);
  bool Etched() const { return FEtched; }
  void SetEtched(bool Value);
  bool Focused() const { return FFocused; }
  void SetFocused(bool Value);
  bool Hot() const { return FHot; }
  bool DoVisualStyles() const;
  void SetUp() { FUp = true; }
  // The theme state (1 normal, 2 hot, 3 pressed, 4 disabled) of the last themed painting;
  // 0 before one.
  int PaintedThemeState() const { return FPaintedState; }

protected:
  void Paint() override;
  void PaintDropDown();
  void PaintButton();

private:
  bool Pressed() const;
  int ThemeState() const;
  TDropDownButtonStyle FButtonStyle = bsButton;
  bool FEtched = false;
  bool FFocused = false;
  bool FHot = false;
  bool FThemesPossible = false;
  bool FUp = false;
  int FPaintedState = 0;
};

class TDropDownEditButton : public TWinControl {
  LORM_CLASS(TDropDownEditButton, TWinControl)
public:
  explicit TDropDownEditButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Setup() { FButton->SetUp(); }
  TDizDropDownSpeedButton* Button() const { return FButton; }
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  TBitmap* Glyph() const { return FButton->Glyph(); }
  void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
  std::string ButtonCaption() const { return FButton->Caption(); }
  void SetButtonCaption(const std::string& Value) { FButton->SetCaption(Value); }
  TNumGlyphs NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(TNumGlyphs Value) { FButton->SetNumGlyphs(Value); }
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TNotifyEvent OnClick;

protected:
  void CreateButton();

private:
  void BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ApplyBounds();
  TDizDropDownSpeedButton* FButton = nullptr;
  int FButtonWidth = 16;
  TWinControl* FFocusControl = nullptr;
};

// ---------------------------------------------------------------------------------------
class TDizCustomDropDown : public TCustomMaskEdit, public IDizStyle {
  LORM_CLASS(TDizCustomDropDown, TCustomMaskEdit)
public:
  // Looks: the pop-up, strip and strip-button colours of a library-wide style, the hot and
  // selected colours of an item list, and the selection colour preset.
  void SetComponentStyle(DUZERazav AStyle) override;
  DUZERazav GetComponentStyle() const { return FComponentStyle; }
  void SetAppearanceStyle(TItemAppearance* Appearance, DUZERazav AStyle);
  virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
  // Part: which part of a wider selection R is (a TGradientPart of the drawing utilities).
  virtual void DrawSelectionBackground(TCanvas* Canvas, const TRect& R, TColor Color, int Part);
  virtual void DrawGradientBackground(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                                      TGradientDirection Direction);
  // The wheel over the edit: HandleMouseWheelDown (towards the user) or HandleMouseWheelUp.
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;


  explicit TDizCustomDropDown(TComponent* AOwner);
  ~TDizCustomDropDown() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Pop-up.
  void ShowDropDown() { DoShowDropDown(); }
  void HideDropDown(bool Cancelled) { DoHideDropDown(Cancelled); }
  TDropDownForm* DropDownForm() const { return FDropDownForm; }
  TDropDownEditButton* DropDownButton() const { return FButton; }
  bool DroppedDown() const { return FDroppedDown; }
  // The pop-up's size remembered at the last close ((-1, -1) before the first).
  TSize RememberedDropDownSize() const { return TSize{FDropDownSizeW, FDropDownSizeH}; }
  const std::string& TextAtDropDown() const { return FTextAtDropDown; }
  const std::string& TextAtFocus() const { return FTextAtFocus; }

  // Value text.
  std::string GetText() const override;
  virtual void SetText(const std::string& Value);
  void SetTextDirect(const std::string& Value);
  std::string Text() const { return GetText(); }
  const std::string& Prefix() const { return FPrefix; }
  void SetPrefix(const std::string& Value);
  const std::string& Suffix() const { return FSuffix; }
  void SetSuffix(const std::string& Value);
  TDropDownEditType EditType() const { return FEditType; }
  void SetEditType(TDropDownEditType Value);
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  long double GetFloat();
  void SetFloat(double Value);
  int GetInt();
  void SetInt(int Value);
  long double EStrToFloat(const std::string& S) const;
  void AutoSeparators();
  bool AutoThousandSeparator() const { return FAutoThousandSeparator; }
  void SetAutoThousandSeparator(bool Value);
  bool GetModified() const { return FModified; }
  void SetModified(bool Value);
  void SelectAll();
  void SelectAfterDecimal();
  void SelectBeforeDecimal();
  virtual void UpdateLookup() {}
  bool CanUndoValue() const { return FCanUndo; }
  void SetCanUndo(bool Value);

  // Settings.
  bool EditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  int GetButtonWidth() const { return FDropDownButtonWidth; }
  void SetButtonWidth(int Value);
  const std::string& DropDownButtonHint() const { return FButtonHint; }
  void SetButtonHint(const std::string& Value);
  TBitmap* DropDownButtonGlyph() const { return FGlyph.get(); }
  void SetButtonGlyph(TBitmap* Value);
  std::string GetButtonCaption() const;
  void SetButtonCaption(const std::string& Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool Etched() const { return FEtched; }
  void SetEtched(bool Value);
  void SetDropDownEnabled(bool Value) { FDropDownEnabled = Value; }
  bool DropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownColor(TColor Value) { DropDownColor = Value; }
  void SetSelectionColor(TColor Value) { SelectionColor = Value; }
  void SetSelectionColorTo(TColor Value) { SelectionColorTo = Value; }
  TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
  THeaderAppearance* DropDownHeader() const { return FDropDownHeader.get(); }
  void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
  TFooterAppearance* DropDownFooter() const { return FDropDownFooter.get(); }
  void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
  TDizButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TDizButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
  virtual int GetVersionNr() const { return 0x01000301; }
  std::string Version() const;
  void SetVersion(const std::string&) {}
  TRect GetEditRect() const { return FEditRect; }
  int GetMinHeight();
  TPoint PosFromChar(int Index);
  int CharFromPos(TPoint Pt);

  // Published values of the pop-up (plain fields, read at each opening).
  TColor DropDownColor = 0xFFFFFF;
  TColor DropDownColorTo = clNone;
  TColor DropDownBorderColor = 0x000000;
  int DropDownBorderWidth = 1;
  bool DropDownShadow = true;
  int DropDownWidth = 0;
  int DropDownHeight = 0;
  TDropPosition DropPosition = dpAuto;
  bool DropDownSizeable = true;
  TGradientDirection DropDownGradient = gdHorizontal;
  TWinControl* DropDownFocusControl = nullptr;
  TColor SelectionColor = 0xD7FFFD;  // the scOffice2007 preset
  TColor SelectionColorTo = 0x58D4FC;

  // Value rules (plain fields).
  bool Signed = false;
  bool ReturnIsTab = false;
  int LengthLimit = 0;
  bool AllowEmpty = false;
  bool ExcelStyleDecimalSeparator = false;
  std::string ValidChars;
  bool DialogKeyForwarding = true;
  bool FocusHighlight = true;

  TDropDownEvent OnDropDown;
  TDropUpEvent OnDropUp;
  TDropDownButtonItemClick OnDropDownHeaderButtonClick;
  TDropDownButtonItemClick OnDropDownFooterButtonClick;
  TDrawBackGroundEvent OnDrawHeader;
  TDrawBackGroundEvent OnDrawFooter;
  TGetTextEvent OnGetHeaderText;
  TGetTextEvent OnGetFooterText;
  TClipboardEvent OnClipboardCopy;
  TClipboardEvent OnClipboardCut;
  TClipboardEvent OnClipboardPaste;

  // Keys of the pop-up form and of its centre control, passed on to the edit.
  virtual void OnDropDownFormKeyPress(TObject* Sender, char32_t& Key);
  virtual void OnDropDownFormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual void OnDropDownFormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual void OnDropDownControlKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual void OnDropDownControlKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual void OnDropDownControlKeyPress(TObject* Sender, char32_t& Key);
  virtual void OnHideDropDown(TObject* Sender);
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;

protected:
  friend class TDropDownForm;
  virtual void CreateDropDownForm();
  virtual void CreateDropDownButton();
  virtual void UpdateDropDownButton();
  virtual void BeforeDropDown() {}
  virtual void AfterDropDown();
  virtual void DoShowDropDown();
  virtual void SetCenterControl();
  virtual void UpdateDropDownSize();
  virtual void DoHideDropDown(bool Cancelled);
  virtual void OnDestroyDropDownForm(TObject* Sender) {}
  virtual void OnDropDownFormMouseWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
  virtual void OnDropDownFormMouseWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
  virtual void OnDropDownSizing(TObject* Sender) {}
  virtual void HandleMouseWheelDown() {}
  virtual void HandleMouseWheelUp() {}
  virtual void DrawBackGround();
  virtual void SetEditRect();
  virtual void ResizeControl();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DoEnter() override;
  void SetTextValue(const std::string& Value) override;
  // The edit's whole text (prefix, value and suffix).
  std::string EditWindowText() const { return TCustomMaskEdit::GetText(); }

  // Typing filter, keys and clipboard.
  void WMKeyDown(TMessage& Message);
  void WMChar(TMessage& Message);
  void CMWantSpecialKey(TMessage& Message);
  void WMCut(TMessage& Message);
  void WMCopy(TMessage& Message);
  void WMPaste(TMessage& Message);
  bool AllowMin(char32_t Ch) const;
  int DecimalPos();
  int FixedLength(const std::string& S) const;
  bool FractionFull(const std::string& V, int P);
  bool SeparatorTooClose(const std::string& V, int P);

  void DropButtonClick(TObject* Sender);
  void BorderUpdate();
  void KillFocusNormalise();

  TDropDownForm* FDropDownForm = nullptr;
  TDropDownEditButton* FButton = nullptr;
  bool FDroppedDown = false;
  std::string FTextAtFocus, FTextAtDropDown;
  int FDropDownSizeW = -1, FDropDownSizeH = -1;
  TRect FEditRect;
  bool FMouseInControl = false;
  bool FSkipNextChange = false;
  bool FCutInProgress = false;
  bool FClickInSelection = false;
  bool FModified = false;
  bool FEditorEnabled = true;
  TDropDownEditType FEditType = etString;
  int FPrecision = 0;
  std::string FPrefix, FSuffix;
  bool FAutoThousandSeparator = true;
  bool FCanUndo = true;

private:
  void GlyphChanged(TObject* Sender);
  void WMSetFocus(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMLButtonDown(TMessage& Message);
  void WMLButtonUp(TMessage& Message);
  void TypeChar(TMessage& Message, char32_t Ch);
  void SyncModified();
  void SetEditTextKeep(const std::string& Full, int Caret);
  void ToggleSign();

  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<THeaderAppearance> FDropDownHeader;
  std::unique_ptr<TFooterAppearance> FDropDownFooter;
  std::unique_ptr<TDizButtonAppearance> FButtonAppearance;
  TCustomImageList* FImages = nullptr;
  TControl* FControl = nullptr;
  int FDropDownButtonWidth = 17;
  std::string FButtonHint;
  bool FFlat = false;
  bool FEtched = false;
  bool FDropDownEnabled = false;
  TSelectionColorStyle FSelectionColorStyle = scOffice2007;
  DUZERazav FComponentStyle = tsCustom;
  bool FInKeyDownMessage = false;
};

class TDizDropDown : public TDizCustomDropDown {
  LORM_CLASS(TDizDropDown, TDizCustomDropDown)
public:
  explicit TDizDropDown(TComponent* AOwner) : TDizCustomDropDown(AOwner) {}
};

}  // namespace DizDropDown
