#pragma once
// VivIzizEzuCustomizer: the tool bar customizer (TVivIzizEzuCustomizer) and its settings
// objects. The customizer is linked to one tool bar; at every start it records the tool
// bar's designed layout in the INI section "<Name>Org" and applies the section "<Name>"
// (the user's layout) to it; a reset brings the recorded layout back.
//
// INI keys, per section: VIECaption, GlyphPosition, LargeIcon, ToolBarItemCount, and per
// item i: Name<i> (component name), Name<i>.ClassName, .CommandID, .ImageIndex,
// .ForceImageIndex, .Visible, .ShowCaption, .Caption, .Hint.
#include <memory>
#include <string>

#include "menus/DovAvarOrodez.h"
#include "platform/rtl/IniFiles.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"
#include "toolbar/VivIzizEzuBar.h"

namespace VivIzizEzu {

// A command the customizer offers for new buttons.
class TVIECommand : public TCollectionItem {
  LORM_PUBLISHED(TVIECommand, TCollectionItem)
public:
  explicit TVIECommand(TCollection* Collection) : TCollectionItem(Collection) {}
  // From another command: Caption (through its setter) and OnExecute.
  void Assign(TPersistent* Source) override;
  const std::string& Caption() const { return FCaption; }
  // Every blank becomes "_" ("Open file" is kept as "Open_file").
  void SetCaption(const std::string& Value);
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value) { FItemIndex = Value; }
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value) { FAction = Value; }
  std::string DisplayName() const override { return FCaption; }
  TNotifyEvent OnExecute;

private:
  std::string FCaption;
  int FItemIndex = -1;
  TBasicAction* FAction = nullptr;
};

class TVivIzizEzuCustomizer;

class TVIECommands : public TOwnedCollection {
  LORM_CLASS(TVIECommands, TOwnedCollection)
public:
  explicit TVIECommands(TVivIzizEzuCustomizer* Owner);
  TVIECommand* Add() { return static_cast<TVIECommand*>(TCollection::Add()); }
  TVIECommand* Insert(int Index) { return static_cast<TVIECommand*>(TCollection::Insert(Index)); }
  TVIECommand* Items(int Index) const { return static_cast<TVIECommand*>(TCollection::Items(Index)); }
  void SetItems(int Index, TVIECommand* Value) { Items(Index)->Assign(Value); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange(this);
  }
};

// Which button properties the user may edit and the INI file carries.
class TButtonProperties : public TPersistent {
  LORM_PUBLISHED(TButtonProperties, TPersistent)
public:
  void Assign(TPersistent* Source) override;  // all five, without OnChange
  bool Caption() const { return FCaption; }
  void SetCaption(bool V) { Set(FCaption, V); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool V) { Set(FShowCaption, V); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool V) { Set(FVisible, V); }
  bool Hint() const { return FHint; }
  void SetHint(bool V) { Set(FHint, V); }
  bool Glyph() const { return FGlyph; }
  void SetGlyph(bool V) { Set(FGlyph, V); }
  TNotifyEvent OnChange;

private:
  void Set(bool& Field, bool V) {
    if (Field == V) return;
    Field = V;
    if (OnChange) OnChange(this);
  }
  bool FCaption = true, FShowCaption = true, FVisible = false, FHint = true, FGlyph = true;
};

// Which editing operations the dialog offers.
class TCustomizedOptions : public TPersistent {
  LORM_PUBLISHED(TCustomizedOptions, TPersistent)
public:
  void Assign(TPersistent* Source) override;
  bool ReOrder() const { return FReOrder; }
  void SetReOrder(bool V) { Set(FReOrder, V); }
  bool AddButton() const { return FAddButton; }
  void SetAddButton(bool V) { Set(FAddButton, V); }
  bool AddSeparator() const { return FAddSeparator; }
  void SetAddSeparator(bool V) { Set(FAddSeparator, V); }
  bool AddGlowButton() const { return FAddGlowButton; }
  void SetAddGlowButton(bool V) { Set(FAddGlowButton, V); }
  bool Delete() const { return FDelete; }
  void SetDelete(bool V) { Set(FDelete, V); }
  bool DeleteAll() const { return FDeleteAll; }
  void SetDeleteAll(bool V) { Set(FDeleteAll, V); }
  bool EditButton() const { return FEditButton; }
  void SetEditButton(bool V) { Set(FEditButton, V); }
  TNotifyEvent OnChange;

private:
  void Set(bool& Field, bool V) {
    if (Field == V) return;
    Field = V;
    if (OnChange) OnChange(this);
  }
  bool FAddButton = true, FReOrder = true, FDelete = true, FDeleteAll = false, FAddSeparator = true,
       FAddGlowButton = true, FEditButton = true;
};

// The texts and switches of the customizer's dialogs; the switches EditCaption,
// EditGlyphPosition and LargeIcon also decide which tool bar keys the INI file carries.
class TDialogSettings : public TPersistent {
  LORM_PUBLISHED(TDialogSettings, TPersistent)
public:
  // Every property but Customize.
  void Assign(TPersistent* Source) override;
#define VIE_DLG_TEXT(Name, Default)                                     \
  const std::string& Name() const { return F##Name; }                   \
  void Set##Name(const std::string& V) { F##Name = V; }                 \
                                                                        \
private:                                                                \
  std::string F##Name = Default;                                        \
                                                                        \
public:
#define VIE_DLG_FLAG(Name, Default)                                     \
  bool Name() const { return F##Name; }                                 \
  void Set##Name(bool V) { F##Name = V; }                               \
                                                                        \
private:                                                                \
  bool F##Name = Default;                                               \
                                                                        \
public:
  VIE_DLG_TEXT(ToolBarLabel, "ToolBar Items:")
  VIE_DLG_TEXT(CommandLabel, "Commands")
  VIE_DLG_TEXT(CaptionLabel, "Caption")
  VIE_DLG_TEXT(GlyphPosLabel, "Glyph Position")
  VIE_DLG_TEXT(LargeIconCheck, "Large Icon")
  VIE_DLG_TEXT(TopHint, "Move to Top")
  VIE_DLG_TEXT(UpHint, "Move Up")
  VIE_DLG_TEXT(DownHint, "Move Down")
  VIE_DLG_TEXT(BottomHint, "Move to Bottom")
  VIE_DLG_TEXT(AddHint, "Add Item")
  VIE_DLG_TEXT(AddSeparatorHint, "Add Separator")
  VIE_DLG_TEXT(DeleteHint, "Delete Item")
  VIE_DLG_TEXT(DeleteAllHint, "Delete All")
  VIE_DLG_TEXT(EditHint, "Edit Item")
  VIE_DLG_TEXT(Caption, "Customizer")
  VIE_DLG_TEXT(ButtonEditCaption, "Customize Button")
  VIE_DLG_TEXT(ButtonEditCaptionLabel, "Caption")
  VIE_DLG_TEXT(ButtonEditHintLabel, "Hint")
  VIE_DLG_TEXT(ButtonEditIconLabel, "Icon")
  VIE_DLG_TEXT(ButtonEditCaptionCheck, "Show Caption")
  VIE_DLG_TEXT(ButtonEditVisibleCheck, "Visible")
  VIE_DLG_TEXT(OKButtonCaption, "&Ok")
  VIE_DLG_TEXT(OKButtonHint, "")
  VIE_DLG_TEXT(CancelButtonCaption, "&Cancel")
  VIE_DLG_TEXT(CancelButtonHint, "")
  VIE_DLG_TEXT(ResetButtonCaption, "&Reset")
  VIE_DLG_TEXT(ResetButtonHint, "")
  VIE_DLG_TEXT(AddGlowButtonHint, "Insert GlowButton")
  VIE_DLG_TEXT(GlyphPositionLeftCaption, "Left")
  VIE_DLG_TEXT(GlyphPositionTopCaption, "Top")
  VIE_DLG_TEXT(GlyphPositionRightCaption, "Right")
  VIE_DLG_TEXT(GlyphPositionBottomCaption, "Bottom")
  VIE_DLG_TEXT(GlyphEditNoneIconCaption, "None")
  VIE_DLG_FLAG(EditGlyph, true)
  VIE_DLG_FLAG(EditGlyphVisible, true)
  VIE_DLG_FLAG(EditCaption, true)
  VIE_DLG_FLAG(EditGlyphPosition, true)
  VIE_DLG_FLAG(LargeIcon, false)
  VIE_DLG_TEXT(Customize, "Customize")
#undef VIE_DLG_TEXT
#undef VIE_DLG_FLAG
  TNotifyEvent OnChange;
};

using TCustomizerCanShowEvent = std::function<void(TObject* Sender, int& X, int& Y, bool& CanShow)>;

class TVivIzizEzuCustomizer : public TComponent, public IToolBarCustomizer {
  LORM_PUBLISHED(TVivIzizEzuCustomizer, TComponent)
public:
  explicit TVivIzizEzuCustomizer(TComponent* AOwner);
  ~TVivIzizEzuCustomizer() override;

  void Notification(TComponent* AComponent, TOperation Operation) override;

  // The four main operations; all do nothing without a linked tool bar, and the INI ones
  // also without EnablePersistence, a file name, or at design time.
  void UpdateVivIzizEzu() override;
  // The dialogs are not part of this build: without a dialog there is nothing to show.
  void ShowCustomizer() override;
  void ResetToolBar() override;
  void SaveInitialState() override;
  void InitializeWindow() {}

  // The first control of the tool bar's item list with this name (case-insensitive).
  TControl* GetCtrl(const std::string& Name) const;
  // The INI file's path as the system sees it: "\" separates folders like "/".
  std::string IniPath() const;
  // Controls taken off the tool bar by UpdateVivIzizEzu (held, never owned).
  const TDbgList* RemovedItems() const { return FRemovedItems.get(); }

  TVivIzizEzu* VivIzizEzu() const { return FVivIzizEzu; }
  void SetVivIzizEzu(TVivIzizEzu* Value);
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TVIECommands* Commands() const { return FCommands.get(); }
  void SetCommands(TVIECommands* Value) { FCommands->Assign(Value); }
  bool EnablePersistence() const { return FEnablePersistence; }
  void SetEnablePersistence(bool Value) { FEnablePersistence = Value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value);
  TButtonProperties* ButtonProperties() const { return FButtonProperties.get(); }
  void SetButtonProperties(TButtonProperties* Value) { FButtonProperties->Assign(Value); }
  TDialogSettings* DialogSettings() const { return FDialogSettings.get(); }
  void SetDialogSettings(TDialogSettings* Value) { FDialogSettings->Assign(Value); }
  TCustomizedOptions* Options() const { return FOptions.get(); }
  void SetOptions(TCustomizedOptions* Value) { FOptions->Assign(Value); }

  TNotifyEvent OnBeforeDisplay;
  TNotifyEvent OnAfterPost;
  TCustomizerCanShowEvent OnCanShow;

private:
  bool CanUseIni() const;
  // Runs Writer on a copy of the INI file and puts the copy in place only when every
  // write succeeded, so a failed save leaves the previous file whole.
  void WriteIni(const std::function<void(TCustomIniFile&)>& Writer);
  // A name from the INI file that may become a new control's component name.
  bool UsableName(const std::string& Name) const;
  void Park(TControl* C);
  void ApplyGlyphPosition(TControl* C, int G);
  void SetGlowImageIndex(TDizCustomGlowButton* G, int Index);

  TVivIzizEzu* FVivIzizEzu = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  std::unique_ptr<TVIECommands> FCommands;
  bool FEnablePersistence = true;
  std::string FFileName = ".\\untitled.ini";
  std::unique_ptr<TButtonProperties> FButtonProperties;
  std::unique_ptr<TDialogSettings> FDialogSettings;
  std::unique_ptr<TCustomizedOptions> FOptions;
  std::unique_ptr<TDbgList> FRemovedItems;
};

}  // namespace VivIzizEzu

using VivIzizEzu::TButtonProperties;
using VivIzizEzu::TCustomizedOptions;
using VivIzizEzu::TDialogSettings;
using VivIzizEzu::TVIECommand;
using VivIzizEzu::TVIECommands;
using VivIzizEzu::TVivIzizEzuCustomizer;
