#pragma once
// VivIzizEzuOption: the option window of a tool bar and its pop-ups. The option window
// (TOptionSelectorWindow) shows a TControlSelectorPanel: the controls the tool bar had to
// hide, then an "Options" item and an "Add or Remove Buttons" item. Hovering the latter
// opens a small menu (TVIEPopupWindow with a TVIEPopupPanel of TVIEMenuItem rows) whose
// row of the tool bar's caption opens one check item per control; the options item opens
// the tool bar's option menu, or the one-entry TCustomizeOption that starts the customizer.
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "toolbar/VivIzizEzuBar.h"

class TCustomRadUdirEtyler;

namespace VivIzizEzu {

class TCustomizeOption;
class TVIEPopupWindow;

// The gradient panel base of every option pop-up.
class TOptionSelectorPanel : public TCustomPanel {
  LORM_CLASS(TOptionSelectorPanel, TCustomPanel)
public:
  explicit TOptionSelectorPanel(TComponent* AOwner);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; }
  TColor WindowBorderColor() const { return FWindowBorderColor; }
  void SetWindowBorderColor(TColor Value) { FWindowBorderColor = Value; }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
  TDizCustomToolBar* VivIzizEzu() const { return FVivIzizEzu; }
  void SetVivIzizEzu(TDizCustomToolBar* Value) { FVivIzizEzu = Value; }
  int MarginX = 3;
  int MarginY = 3;
  virtual int GetVisibleHeight() { return Height(); }
  virtual void DoHide() {}

protected:
  void Paint() override;
  TComponent* FOwnerRef;
  TColor FColorTo = clNone;
  TColor FWindowBorderColor = TColor(0x808080);
  TGradientDirection FGradientDirection = gdHorizontal;
  TDizCustomToolBar* FVivIzizEzu = nullptr;
};

// The borderless pop-up form of the option pop-ups: it hides itself 1 ms after losing
// activation (never inside the activation message) unless a child pop-up is open.
class TOptionSelectorWindow : public TCustomForm {
  LORM_CLASS(TOptionSelectorWindow, TCustomForm)
public:
  explicit TOptionSelectorWindow(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TDizCustomToolBar* VivIzizEzu() const { return FVivIzizEzu; }
  void SetVivIzizEzu(TDizCustomToolBar* Value) { FVivIzizEzu = Value; }
  TOptionSelectorPanel* OptionsPanel() const { return FOptionsPanel; }
  void SetOptionsPanel(TOptionSelectorPanel* Value) { FOptionsPanel = Value; }
  // Height GetVisibleHeight, width the panel's.
  void SetWindowSize();
  HWND GetParentWnd();
  bool HideOnDeActivate = true;
  TTimer* HideTimer() const { return FHideTimer; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void DoHide() override;

private:
  void HideTimerOnTime(TObject* Sender);
  TDizCustomToolBar* FVivIzizEzu = nullptr;
  TOptionSelectorPanel* FOptionsPanel = nullptr;
  TTimer* FHideTimer = nullptr;
};

// One of the two items of the content panel.
struct TSelectorItem {
  int Height = 20;
  int Width = 30;
  std::string Caption;
  TRect Rect{0, 0, 0, 0};
};

// A row of the add/remove pop-ups; the children are owned.
class TVIEMenuItem {
public:
  explicit TVIEMenuItem(TVIEMenuItem* Parent = nullptr) : ParentItem(Parent) {}
  TVIEMenuItem* Add();
  void Clear() { FItems.clear(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TVIEMenuItem* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
  bool HasChildren() const { return !FItems.empty(); }
  bool Enabled = true;
  bool Visible = true;
  TRect Rect{0, 0, 0, 0};
  TVIEMenuItem* ParentItem;
  int Height = 0, Width = 0;
  std::string Caption;
  bool Checked = false;
  bool AutoCheck = false;
  TControl* Control = nullptr;  // the control a check item stands for (not owned)

private:
  std::vector<std::unique_ptr<TVIEMenuItem>> FItems;
};

class TVIECustomPopupPanel : public TCustomPanel {
  LORM_CLASS(TVIECustomPopupPanel, TCustomPanel)
public:
  explicit TVIECustomPopupPanel(TComponent* AOwner);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; }
  TColor WindowBorderColor() const { return FWindowBorderColor; }
  int MarginX = 2;
  int MarginY = 2;
  virtual int GetVisibleHeight() { return Height(); }

protected:
  void Paint() override;
  TColor FColorTo = clNone;
  TColor FWindowBorderColor = TColor(0x808080);
  TGradientDirection FGradientDirection = gdHorizontal;
};

class TVIEPopupPanel : public TVIECustomPopupPanel {
  LORM_CLASS(TVIEPopupPanel, TVIECustomPopupPanel)
public:
  explicit TVIEPopupPanel(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  TVIEMenuItem* Items() const { return FItems; }
  void SetItems(TVIEMenuItem* Value);
  TCustomRadUdirEtyler* RadUdirEtyler() const { return FRadUdirEtyler; }
  void SetRadUdirEtyler(TCustomRadUdirEtyler* Value) { FRadUdirEtyler = Value; }
  int ItemHeight = 24;
  int HotItem = -1;
  int PopupItem = -1;
  bool ShowImageBar = false;
  bool ShowIconBar = false;
  int ImageBarSize = 20;
  TColor ImageBarColor = TColor(0x808080);
  TColor ImageBarColorTo = clNone;
  void ArrangeItems();
  void SetHotItem(int Index);
  int IndexOfItemAt(int X, int Y) const;
  void InvalidateItem(int Index);
  void DrawAllItems();
  void DrawItem(int Index);
  void ShowItemPopup();
  void HideItemPopup();
  void ToggleCheck(int Index);
  void ItemClick(int Index);
  void BeforeHide();
  TVIEPopupWindow* ItemPopup() const { return FItemPopup; }

protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  void OnItemPopupHide(TObject* Sender);
  void OnItemPopupDeActivateHide(TObject* Sender);
  TVIEMenuItem* FItems = nullptr;
  TCustomRadUdirEtyler* FRadUdirEtyler = nullptr;
  TVIEPopupWindow* FItemPopup = nullptr;
};

class TVIEPopupWindow : public TCustomForm {
  LORM_CLASS(TVIEPopupWindow, TCustomForm)
public:
  explicit TVIEPopupWindow(TComponent* AOwner);
  ~TVIEPopupWindow() override;
  void WndProc(TMessage& Message) override;
  TDizCustomToolBar* VivIzizEzu() const { return FVivIzizEzu; }
  void SetVivIzizEzu(TDizCustomToolBar* Value) { FVivIzizEzu = Value; }
  TVIEPopupPanel* PopupPanel() const { return FPanel; }
  TVIEMenuItem* RootItem() const { return FRoot.get(); }
  void CreateItems();
  void SetWindowSize();
  void HidePopup();
  HWND GetParentWnd();
  bool HideOnDeActivate = true;
  TNotifyEvent OnDeActivateHide;

private:
  void HideTimerOnTime(TObject* Sender);
  TDizCustomToolBar* FVivIzizEzu = nullptr;
  TVIEPopupPanel* FPanel = nullptr;
  std::unique_ptr<TVIEMenuItem> FRoot;
  TTimer* FHideTimer = nullptr;
};

// The content of the option window: the hidden controls in rows, a separator line, the
// options item and the add/remove item.
class TControlSelectorPanel : public TOptionSelectorPanel {
  LORM_CLASS(TControlSelectorPanel, TOptionSelectorPanel)
public:
  explicit TControlSelectorPanel(TComponent* AOwner);
  ~TControlSelectorPanel() override;
  void WndProc(TMessage& Message) override;

  int AddControl(TControl* Control);
  TVivIzizEzuSeparator* AddCopySeparator(TVivIzizEzuSeparator* Separator);
  void RemoveListedControl(TControl* Control);
  void ClearControls() {
    FControls.clear();
    FListed.clear();
  }
  int ControlListCount() const { return static_cast<int>(FControls.size()); }
  TControl* ListedControl(int Index) const { return FControls.at(size_t(Index)); }
  void ArrangeControls();
  void ReSetButtonSize();
  bool IsEmpty() const;
  void DoHide() override;
  bool GetShowOptionsBtn() const { return FOptionsMenu || FCustomizer; }
  bool ShowAddAndRemoveBtn() const { return FShowAddAndRemoveBtn; }
  void SetShowAddAndRemoveBtn(bool Value) { FShowAddAndRemoveBtn = Value; }
  TComponent* OptionsMenu() const { return FOptionsMenu; }
  void SetOptionsMenu(TComponent* Value) { FOptionsMenu = Value; }
  TComponent* Customizer() const { return FCustomizer; }
  void SetCustomizer(TComponent* Value) { FCustomizer = Value; }
  const std::string& GetTextAutoOptionMenu() const { return FAddRemove.Caption; }
  void SetTextAutoOptionMenu(const std::string& Text);
  const std::string& GetTextOptionMenu() const { return FOptions.Caption; }
  void SetTextOptionMenu(const std::string& Text);
  const TSelectorItem& AddRemoveItem() const { return FAddRemove; }
  const TSelectorItem& OptionsItem() const { return FOptions; }
  bool AddRemoveHot() const { return FAddRemoveHot; }
  bool AddRemoveDown() const { return FAddRemoveDown; }
  void ShowAddAndRemovePopup();
  void HideAddAndRemovePopup();
  void ShowOptionsBtnPopup();
  void HideOptionsBtnPopup() {}
  TVIEPopupWindow* AddAndRemovePopup() const { return FAddRemovePopup; }
  TOptionSelectorWindow* CustomizeWindow() const { return FCustomizeWindow; }
  TColor ItemColorDown = TColor(0x808080);
  TColor ItemColorHot = TColor(0xD2BDB6);
  TColor ItemColorDownTo = clNone;
  TColor ItemColorHotTo = clNone;
  TColor ItemTextColorHot = clWhite;
  TColor ItemTextColor = clBlack;
  TColor ItemTextColorDown = clBlack;
  int SeparatorSize = 8;

protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

private:
  void PaintItem(const TSelectorItem& Item, bool Hot, bool Down, bool AddRemove);
  void OnAddAndRemoveWindowHide(TObject* Sender);
  void OnAARWindowDeActivateHide(TObject* Sender);
  void OnCustomizeOptionWindowHide(TObject* Sender);
  void TimerOnTime(TObject* Sender);
  std::vector<TControl*> FControls;
  std::unordered_set<const TControl*> FListed;
  std::vector<TVivIzizEzuSeparator*> FSeparators;
  TSelectorItem FAddRemove, FOptions;
  bool FAddRemoveHot = false, FAddRemoveDown = false;
  bool FOptionsHot = false, FOptionsDown = false;
  bool FShowAddAndRemoveBtn = true;
  TComponent* FOptionsMenu = nullptr;
  TComponent* FCustomizer = nullptr;
  TTimer* FWatchTimer = nullptr;
  bool FInternalHiding = false;
  TVIEPopupWindow* FAddRemovePopup = nullptr;
  TCustomizeOption* FCustomizeOption = nullptr;
  TOptionSelectorWindow* FCustomizeWindow = nullptr;
};

// The one entry of the options pop-up that starts the customizer.
class TCustomizeOption : public TOptionSelectorPanel {
  LORM_CLASS(TCustomizeOption, TOptionSelectorPanel)
public:
  explicit TCustomizeOption(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) { FText = Value; }
  void UpDateSize();
  TRect GetCustomizeBtnRect() const;
  bool Hot() const { return FHot; }
  bool Down() const { return FDown; }

protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  std::string FText = "Customize";
  bool FHot = false, FDown = false;
};

}  // namespace VivIzizEzu

using VivIzizEzu::TControlSelectorPanel;
using VivIzizEzu::TCustomizeOption;
using VivIzizEzu::TOptionSelectorPanel;
using VivIzizEzu::TOptionSelectorWindow;
using VivIzizEzu::TSelectorItem;
using VivIzizEzu::TVIECustomPopupPanel;
using VivIzizEzu::TVIEMenuItem;
using VivIzizEzu::TVIEPopupPanel;
using VivIzizEzu::TVIEPopupWindow;
