#pragma once
// DizOfficeButtons: the office check box and radio button (windowed, owner-painted, with a
// mark-up caption and a glyph drawn through the theme or from the DIZOFC*/DIZOFR* bitmaps,
// the parent's background painted under them) and the radio and check groups that turn a
// list of item texts into columns of such buttons.
//
// A mouse press on an unfocused button only focuses it; the release toggles it. Anchors of
// the caption are followed on a press of a focused button: links the desktop may open
// (http, https, mailto) go to the desktop's opener, any other anchor to OnAnchorClick.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Deahtml.h"
#include "foundation/PictureContainer.h"
#include "office/DizGroupBox.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

using TAnchorClick = std::function<void(TObject* Sender, const std::string& Anchor)>;

// The state and routines both office buttons share.
namespace dizofficebuttons {
// Windows XP or later by the reported system version.
bool IsWinXPOrLater();
// Every other pixel of the four sides in Color; each line leaves out its end point.
void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R, TColor Color);
// The accelerator letter of a caption ("&F") equals Key (case-insensitive).
bool IsAccel(char32_t Key, const std::string& Caption);
}  // namespace dizofficebuttons

// The base of the two buttons: caption, look settings, anchors and painting helpers.
class TDizOfficeButtonBase : public TCustomControl {
  LORM_PUBLISHED(TDizOfficeButtonBase, TCustomControl)
public:
  explicit TDizOfficeButtonBase(TComponent* AOwner);
  ~TDizOfficeButtonBase() override;
  void WndProc(TMessage& Message) override;

  TLeftRight Alignment() const { return FAlignment; }
  void SetAlignment(TLeftRight Value);
  TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
  void SetButtonVertAlign(TTextLayout Value);
  const std::string& GetCaption() const { return FCaption; }
  // Sets the window's text (creating the window when there is none yet), stores the
  // caption and repaints, also for an unchanged value.
  virtual void SetCaption(const std::string& Value);
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor Value) { FDisabledFontColor = Value; }
  bool Down() const { return FDown; }
  void SetDown(bool Value) { FDown = Value; }
  bool Ellipsis() const { return FEllipsis; }
  void SetEllipsis(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  bool ReturnIsTab() const { return FReturnIsTab; }
  void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  int ShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(int Value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value) { FShowFocus = Value; }
  bool Themed() const { return FThemed; }
  void SetThemed(bool Value);
  TColor URLColor() const { return FURLColor; }
  void SetURLColor(TColor Value);
  uint32_t GetVersionNr() const { return 0x01020400; }
  std::string GetVersion() const;
  void SetVersion(const std::string&) {}

  // The anchor target under the client point, or "".
  std::string IsAnchor(int X, int Y);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Items of a group draw the group's background only on systems that need it.
  bool PaintParent() const { return FPaintParent; }
  void SetPaintParent(bool Value) { FPaintParent = Value; }
  bool HasFocusFlag() const { return FFocusFlag; }
  bool Hot() const { return FHot; }

  TAnchorClick OnAnchorClick;
  TAnchorClick OnAnchorEnter;
  TAnchorClick OnAnchorExit;

protected:
  // One call of the office mark-up engine with the buttons' fixed arguments.
  bool MarkupCall(const std::string& Text, const TRect& R, bool Measure, bool HeightOnly, TColor LinkColor,
                  int HitX, int HitY, std::string& Anchor, int& Width, int& Height);
  // Renders the parent into the control's canvas under the control.
  void DrawParentImage();
  // Draws the caption in R (twice, shifted white then in DisabledFontColor, when disabled)
  // and returns the laid-out size of the last call.
  void DrawCaption(TRect R, int& Width, int& Height);
  // The glyph strip of Width pixels on the glyph's side.
  void InvalidateGlyphStrip(int Width);
  // A press: the first one focuses the button; a focused button follows the anchor under
  // the point, and any press that hits no anchor takes the mouse and shows the button down.
  void Press(TMouseButton Button, TShiftState Shift, int X, int Y);
  // Follows the anchor under the point (focused buttons only); true when there was one.
  bool HandleAnchorPress(int X, int Y);
  void HandleAnchorMove(int X, int Y);
  // Whether the theme draws the glyph.
  bool UseTheme() const;
  virtual TRect CaptionRect() = 0;
  virtual void DrawGlyph() = 0;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

  TLeftRight FAlignment = taLeftJustify;
  TTextLayout FButtonVertAlign = tlTop;
  std::string FCaption;
  TColor FDisabledFontColor = clGray;
  bool FDown = false;
  bool FEllipsis = false;
  TCustomImageList* FImages = nullptr;
  TPictureContainer* FPictureContainer = nullptr;
  bool FReturnIsTab = false;
  TColor FShadowColor = clGray;
  int FShadowOffset = 1;
  bool FShowFocus = true;
  bool FThemed = false;
  TColor FURLColor = clBlue;
  bool FFocusFlag = false;
  bool FHot = false;
  bool FMouseDownMarker = false;
  std::string FLastAnchor;
  TCursor FSavedCursor = crDefault;
  bool FPaintParent = true;
  std::unique_ptr<THTMLPictureCache> FPictureCache;
};

// ---------------------------------------------------------------------------------------
class TCustomDizOfficeCheckBox;

// The action link of the check box: caption and checked state always go to the box.
class TDizOfficeCheckBoxActionLink : public TControlActionLink {
  LORM_CLASS(TDizOfficeCheckBoxActionLink, TControlActionLink)
public:
  explicit TDizOfficeCheckBoxActionLink(TCustomDizOfficeCheckBox* AClient);
  void SetChecked(bool Value) override;
  void SetCaption(const std::string& Value) override;

private:
  TCustomDizOfficeCheckBox* FBox;
};

class TCustomDizOfficeCheckBox : public TDizOfficeButtonBase {
  LORM_PUBLISHED(TCustomDizOfficeCheckBox, TDizOfficeButtonBase)
public:
  explicit TCustomDizOfficeCheckBox(TComponent* AOwner);

  virtual void SetChecked(bool Value);
  virtual bool GetChecked() const { return FState == cbChecked; }
  // Unless read-only: checked becomes unchecked, unchecked and grayed become checked.
  virtual void Toggle();
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;
  TRect CaptionRect() override;
  void DrawGlyph() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  std::unique_ptr<TControlActionLink> CreateActionLink() override;

  TCheckBoxState FState = cbUnchecked;
  bool FReadOnly = false;
};

class TDizOfficeCheckBox : public TCustomDizOfficeCheckBox {
  LORM_PUBLISHED(TDizOfficeCheckBox, TCustomDizOfficeCheckBox)
public:
  explicit TDizOfficeCheckBox(TComponent* AOwner) : TCustomDizOfficeCheckBox(AOwner) {}
};

// ---------------------------------------------------------------------------------------
class TCustomDizOfficeRadioButton : public TDizOfficeButtonBase {
  LORM_PUBLISHED(TCustomDizOfficeRadioButton, TDizOfficeButtonBase)
public:
  explicit TCustomDizOfficeRadioButton(TComponent* AOwner);

  bool Checked() const { return FChecked; }
  // TabStop follows the value; checking turns the siblings of the same GroupIndex off and
  // raises OnClick (unless a mouse press is focusing the button).
  void SetChecked(bool Value);
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t Value) { FGroupIndex = Value; }
  // Raises OnClick unless loading.
  virtual void DoClick();
  void Click() override {}
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;
  TRect CaptionRect() override;
  void DrawGlyph() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void DoEnter() override;
  void DoExit() override;
  void TurnSiblingsOff();

  bool FChecked = false;
  uint8_t FGroupIndex = 0;
  bool FFocusingByMouse = false;
};

class TDizOfficeRadioButton : public TCustomDizOfficeRadioButton {
  LORM_PUBLISHED(TDizOfficeRadioButton, TCustomDizOfficeRadioButton)
public:
  explicit TDizOfficeRadioButton(TComponent* AOwner) : TCustomDizOfficeRadioButton(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// The radio group and the check group.
using TEnabledEvent = std::function<void(TObject* Sender, int ItemIndex, bool& Enabled)>;
class TCustomDizOfficeRadioGroup;
class TCustomDizOfficeCheckGroup;

// One item of a radio group.
class TDizGroupButton : public TDizOfficeRadioButton {
  LORM_PUBLISHED(TDizGroupButton, TDizOfficeRadioButton)
public:
  // Made by its group with the group as owner: joins the group's items.
  explicit TDizGroupButton(TComponent* AOwner);
  ~TDizGroupButton() override;

protected:
  void KeyPress(char32_t& Key) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

private:
  TCustomDizOfficeRadioGroup* FGroup = nullptr;
};

// One item of a check group.
class TGroupCheck : public TDizOfficeCheckBox {
  LORM_PUBLISHED(TGroupCheck, TDizOfficeCheckBox)
public:
  // Made by its group with the group as owner: joins the group's items.
  explicit TGroupCheck(TComponent* AOwner);
  ~TGroupCheck() override;

protected:
  void KeyPress(char32_t& Key) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

private:
  TCustomDizOfficeCheckGroup* FGroup = nullptr;
};

// What both groups share: items, columns, the look handed to every item.
template <class Item>
class TDizOfficeGroupBase : public TDizGroupBox {
public:
  explicit TDizOfficeGroupBase(TComponent* AOwner);
  ~TDizOfficeGroupBase() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout ButtonVertAlign() const { return FButtonVertAlign; }
  void SetButtonVertAlign(TTextLayout Value);
  // The caption's image list is handed to the items too.
  void SetImages(TCustomImageList* Value) override;
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  bool Ellipsis() const { return FEllipsis; }
  TColor ShadowColor() const { return FShadowColor; }
  int ShadowOffset() const { return FShadowOffset; }
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value);
  bool Themed() const { return FThemed; }
  void SetThemed(bool Value);
  TColor DisabledFontColor() const { return FDisabledFontColor; }
  void SetDisabledFontColor(TColor Value) { FDisabledFontColor = Value; }
  uint32_t GetVersionNr() const { return 0x01020400; }
  std::string GetVersion() const { return "1.2.4.0"; }
  void SetVersion(const std::string&) {}
  TEnabledEvent OnIsEnabled;

  int ItemCount() const { return static_cast<int>(FButtons.size()); }
  Item* ItemAt(int Index) const { return FButtons[Index]; }
  virtual bool CanModify() { return true; }
  void PushKey(char32_t& Key) { TWinControl::KeyPress(Key); }
  void PushKeyDown(WORD& Key, TShiftState Shift) { TWinControl::KeyDown(Key, Shift); }
  void ArrangeButtons();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {}
  void WndProc(TMessage& Message) override;

  // Items register themselves here.
  void AddButton(Item* Button) { FButtons.push_back(Button); }
  void RemoveButton(Item* Button);
  // Runs a stored-state read with the group idle, then builds the items.
  void BeginReading() { FReading = true; }
  void EndReading();

protected:
  virtual void UpdateButtons();
  void SetButtonCount(int Count);
  virtual void ItemsChange(TObject* Sender);
  virtual bool ArrangeNeedsWindow() const = 0;
  virtual bool ItemEnabled(Item* Button) const = 0;
  virtual void ButtonClick(TObject* Sender) = 0;
  virtual Item* NewButton() = 0;
  void SetEllipsisValue(bool Value, bool OnlyWhenChanged);
  void SetShadowColorValue(TColor Value, bool OnlyWhenChanged);
  void SetShadowOffsetValue(int Value, bool OnlyWhenChanged);

  std::vector<Item*> FButtons;
  std::unique_ptr<TStringList> FItems;
  bool FReading = false;
  int FColumns = 1;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FButtonVertAlign = tlTop;
  TPictureContainer* FPictureContainer = nullptr;
  bool FEllipsis = false;
  TColor FShadowColor = clSilver;
  int FShadowOffset = 1;
  bool FShowFocus = true;
  bool FThemed = false;
  TColor FDisabledFontColor = clGray;
};

class TCustomDizOfficeRadioGroup : public TDizOfficeGroupBase<TDizGroupButton> {
  LORM_PUBLISHED(TCustomDizOfficeRadioGroup, TDizOfficeGroupBase<TDizGroupButton>)
public:
  explicit TCustomDizOfficeRadioGroup(TComponent* AOwner);
  ~TCustomDizOfficeRadioGroup() override;
  int ItemIndex() const { return FItemIndex; }
  // Clamped to -1 .. count - 1 (stored as given while the stored state is read).
  void SetItemIndex(int Value);
  void SetEllipsis(bool Value) { SetEllipsisValue(Value, false); }
  void SetShadowColor(TColor Value) { SetShadowColorValue(Value, false); }
  void SetShadowOffset(int Value) { SetShadowOffsetValue(Value, false); }
  void ButtonClick(TObject* Sender) override;

protected:
  void UpdateButtons() override;
  void ItemsChange(TObject* Sender) override;
  bool ArrangeNeedsWindow() const override { return true; }
  bool ItemEnabled(TDizGroupButton* Button) const override;
  TDizGroupButton* NewButton() override;

private:
  int FItemIndex = -1;
  bool FUpdating = false;
};

class TDizOfficeRadioGroup : public TCustomDizOfficeRadioGroup {
  LORM_PUBLISHED(TDizOfficeRadioGroup, TCustomDizOfficeRadioGroup)
public:
  explicit TDizOfficeRadioGroup(TComponent* AOwner) : TCustomDizOfficeRadioGroup(AOwner) {}
};

class TCustomDizOfficeCheckGroup : public TDizOfficeGroupBase<TGroupCheck> {
  LORM_PUBLISHED(TCustomDizOfficeCheckGroup, TDizOfficeGroupBase<TGroupCheck>)
public:
  explicit TCustomDizOfficeCheckGroup(TComponent* AOwner);
  ~TCustomDizOfficeCheckGroup() override;
  // Exception "Invalid checkbox index" outside the items.
  virtual bool GetChecked(int Index) const;
  // Outside the items: ignored. Raises no event.
  virtual void SetChecked(int Index, bool Value);
  bool GetReadOnly(int Index) const;
  void SetReadOnly(int Index, bool Value);
  // One bit per item (the first 32 items), always in step with the items.
  uint32_t GetValue() const;
  void SetValue(uint32_t Value);
  void SetEllipsis(bool Value) { SetEllipsisValue(Value, true); }
  void SetShadowColor(TColor Value) { SetShadowColorValue(Value, true); }
  void SetShadowOffset(int Value) { SetShadowOffsetValue(Value, true); }
  void ButtonClick(TObject* Sender) override;
  void CheckFocus(TObject* Sender);
  void Loaded() override;

protected:
  void DoEnter() override;
  bool ArrangeNeedsWindow() const override { return false; }
  bool ItemEnabled(TGroupCheck* Button) const override;
  TGroupCheck* NewButton() override;
  void UpdateValue();

private:
  uint32_t FValue = 0;
  int FFocusIndex = 0;
};

class TDizOfficeCheckGroup : public TCustomDizOfficeCheckGroup {
  LORM_PUBLISHED(TDizOfficeCheckGroup, TCustomDizOfficeCheckGroup)
public:
  explicit TDizOfficeCheckGroup(TComponent* AOwner) : TCustomDizOfficeCheckGroup(AOwner) {}
};
