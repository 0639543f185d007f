#pragma once
// DizImagePickerDropDown: picks one image from a list of image items. The closed control
// shows the chosen picture (or list image) centred in the edit area; the pop-up shows every
// item as a cell of an item selector. The keys, the wheel and typed captions move the
// selection.
#include <memory>
#include <string>

#include "editors/DizDropDownEditor.h"
#include "editors/DizItemSelector.h"

class TTimer;

namespace DizDropDown {

class TImageItem : public TCollectionItem {
  LORM_CLASS(TImageItem, TCollectionItem)
public:
  explicit TImageItem(TCollection* Collection);
  ~TImageItem() override;
  void Assign(TPersistent* Source) override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TPicture* Image() const { return FImage.get(); }
  void SetImage(TPicture* Value) { FImage->Assign(Value); }
  std::string Hint;

private:
  std::string FCaption;
  int FImageIndex = -1;
  std::unique_ptr<TPicture> FImage;
};

class TImageItems : public TCollection {
  LORM_CLASS(TImageItems, TCollection)
public:
  explicit TImageItems(TPersistent* AOwner);
  TPersistent* GetOwner() override { return FOwner; }
  TImageItem* Add() { return static_cast<TImageItem*>(TCollection::Add()); }
  TImageItem* Insert(int Index) { return static_cast<TImageItem*>(TCollection::Insert(Index)); }
  TImageItem* Items(int Index) const { return static_cast<TImageItem*>(TCollection::Items(Index)); }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem*) override {
    if (OnChange) OnChange(this);
  }

private:
  TPersistent* FOwner;
};

using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TDizImagePickerDropDown : public TDizCustomDropDown {
  LORM_CLASS(TDizImagePickerDropDown, TDizCustomDropDown)
public:
  explicit TDizImagePickerDropDown(TComponent* AOwner);
  ~TDizImagePickerDropDown() override;
  void WndProc(TMessage& Message) override;
  void SetComponentStyle(DUZERazav AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  TImageItems* Items() const { return FItems.get(); }
  void SetItems(TImageItems* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value) { FColumns = Value; }
  TItemLayout Layout() const { return FLayout; }
  void SetLayout(TItemLayout Value) { FLayout = Value; }
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
  int GetImageIndex() const;
  void SetImageIndex(int Value);
  // One item per file matching Mask (a folder and a wildcard name); with WithCaptions the
  // file name becomes the caption. A file that cannot be read gives an empty picture.
  void AddImagesFromFolder(const std::string& Mask, bool WithCaptions);
  void AddImagesFromImageList();
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  TDizCustomItemSelector* Selector() const { return FSelector; }
  // The typed text the lookup searches for (cleared 500 ms after the last key).
  const std::string& LookupText() const { return FLookup; }

  TNotifyEvent OnSelect;
  TOnDrawSelectedItem OnDrawSelectedImage;
  TDrawItemEvent OnDrawItem;

protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;

private:
  void SetSelectorProperties();
  void SelectorSelect(TObject* Sender);
  void SelectInSelector(int Index);
  void PaintImage();
  void KeyDownMessage(WORD Key, bool HandledEnter);
  void TypedChar(char32_t Ch);
  std::unique_ptr<TImageItems> FItems;
  std::unique_ptr<TItemAppearance> FItemAppearance;
  int FItemIndex = -1;
  int FColumns = 1;
  TItemLayout FLayout = ilCaptionRight;
  TDizCustomItemSelector* FSelector = nullptr;
  int FIndexAtOpening = -1;
  bool FInternalSelect = false;
  std::string FLookup;
  TTimer* FTimer = nullptr;
};

}  // namespace DizDropDown
