#pragma once
// DizItemSelector: the grid of captioned cells that the list-like drop-downs show in their
// pop-up (image picker, detail list, colour list). The host TDizCustomItemSelector scrolls
// vertically and owns the items, options and look; its only child, the panel
// TCustomItemSelector, sizes itself to the cells, paints them and hit-tests the mouse. A
// hot cell follows the mouse, a selected cell the clicks and the navigation operations,
// and a prefix lookup selects by caption.
#include <functional>
#include <memory>
#include <string>

#include "editors/DizDropDownEditor.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

namespace DizDropDown {

class TSelectorItem : public TCollectionItem {
  LORM_CLASS(TSelectorItem, TCollectionItem)
public:
  explicit TSelectorItem(TCollection* Collection);
  ~TSelectorItem() override;
  void Assign(TPersistent* Source) override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TPicture* Image() const { return FImage.get(); }
  void SetImage(TPicture* Value) { FImage->Assign(Value); }
  // Whether the picture holds a graphic that is not empty.
  bool HasPicture() const;
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  // The cell in panel coordinates, written by the layout.
  TRect ItemRect;
  // The caption's measured size and the font it was measured in (empty: not measured),
  // so that a layout measures only new or changed captions.
  std::string MeasuredFor;
  TSize MeasuredSize{0, 0};

private:
  std::string FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  TColor FColor = clNone;
  std::unique_ptr<TPicture> FImage;
  std::string FHint;
};

class TSelectorItems : public TCollection {
  LORM_CLASS(TSelectorItems, TCollection)
public:
  explicit TSelectorItems(TPersistent* AOwner);
  TPersistent* GetOwner() override { return FOwner; }
  TSelectorItem* Add() { return static_cast<TSelectorItem*>(TCollection::Add()); }
  TSelectorItem* Insert(int Index) { return static_cast<TSelectorItem*>(TCollection::Insert(Index)); }
  TSelectorItem* Items(int Index) const { return static_cast<TSelectorItem*>(TCollection::Items(Index)); }
  void Change() {
    if (OnChange) OnChange(this);
  }
  TNotifyEvent OnChange;

protected:
  // A caption, colour or image index changed: the panel re-lays out.
  void Update(TCollectionItem* Item) override {
    if (Item) Change();
  }

private:
  TPersistent* FOwner;
};

// The hot and selected cell colours of an item list. Colours are plain fields.
class TItemAppearance : public TPersistent {
  LORM_CLASS(TItemAppearance, TPersistent)
public:
  explicit TItemAppearance(TPersistent* AOwner);
  ~TItemAppearance() override;
  TPersistent* GetOwner() override { return FOwner; }
  // Copies the twelve cell colours and the font, then takes the source's preset (which
  // reloads it over the copied colours when this one's differed), then the text colours.
  void Assign(TPersistent* Source) override;
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TSelectionColorStyle ColorStyle() const { return FColorStyle; }
  // Loads the preset of a named style; scCustom keeps the colours. Unchanged: nothing.
  void SetColorStyle(TSelectionColorStyle Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TNotifyEvent OnChange;

  TColor ColorMirrorHotTo = clNone, BorderColor = clNone, ColorMirrorHot = clNone, ColorSelectedTo = clNone,
         ColorSelected = clNone, EdgeColor = clNone, ColorHotTo = clNone, BorderColorBottom = clNone,
         ColorHot = clNone, BorderColorTop = clNone, ColorMirrorSelectedTo = clNone, ColorMirrorSelected = clNone;
  TColor ColorSelectedText = 0, ColorHotText = 0;

private:
  TPersistent* FOwner;
  TSelectionColorStyle FColorStyle = scCustom;
  std::unique_ptr<TFont> FFont;
};

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

using TDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, int Index)>;
using TItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;

class TCustomItemSelector;

class TDizCustomItemSelector : public TScrollingWinControl {
  LORM_CLASS(TDizCustomItemSelector, TScrollingWinControl)
public:
  explicit TDizCustomItemSelector(TComponent* AOwner);
  ~TDizCustomItemSelector() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TCustomItemSelector* Panel() const { return FPanel; }
  TSelectorItems* Items() const { return FItems.get(); }
  void SetItems(TSelectorItems* Value) { FItems->Assign(Value); }
  TSelectorType SelectorType() const { return FSelectorType; }
  void SetSelectorType(TSelectorType Value);
  TItemLayout ItemLayout() const { return FItemLayout; }
  void SetItemLayout(TItemLayout Value) { FItemLayout = Value; }
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  int ColorBoxWidth() const { return FColorBoxWidth; }
  void SetColorBoxWidth(int Value);
  int ColorBoxHeight() const { return FColorBoxHeight; }
  void SetColorBoxHeight(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TItemAppearance* ItemAppearance() const { return FItemAppearance.get(); }
  void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }

  int GetItemIndex() const;
  void SetItemIndex(int Index);
  int GetItemHot() const;
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  bool LookupItem(const std::string& Text);
  void ScrollItemInView(int Index);
  // Whole cells the visible height shows, times the columns; 0 without laid-out cells.
  int GetVisibleItemCount();
  TSize GetItemPanelSize() const;
  void UpdateSelectorPanel();

  TNotifyEvent OnItemSelect;
  TDrawItemEvent OnDrawItem;
  TItemSizeEvent OnItemSize;

private:
  std::unique_ptr<TSelectorItems> FItems;
  TSelectorType FSelectorType = stImage;
  TItemLayout FItemLayout = ilCaptionRight;
  int FColumns = 1;
  int FColorBoxWidth = 14, FColorBoxHeight = 14;
  TCustomImageList* FImages = nullptr;
  TCustomItemSelector* FPanel = nullptr;
  std::unique_ptr<TItemAppearance> FItemAppearance;
};

class TCustomItemSelector : public TCustomControl {
  LORM_CLASS(TCustomItemSelector, TCustomControl)
public:
  // Raises "Invalid parent" unless AOwner is an item selector host.
  explicit TCustomItemSelector(TComponent* AOwner);
  ~TCustomItemSelector() override;
  void WndProc(TMessage& Message) override;

  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Index);
  int ItemHot() const { return FItemHot; }
  void SetItemHot(int Index);
  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void HotNext();
  void HotPrevious();
  bool LookupItem(const std::string& Text);
  TRect GetItemRect(int Index) const;
  int ItemAtPos(int X, int Y) const;
  int OffSetX = 2, OffSetY = 2;
  int ItemOffSetX() const { return FItemOffSetX; }
  void SetItemOffSetX(int Value);
  int ItemOffSetY() const { return FItemOffSetY; }
  void SetItemOffSetY(int Value);
  int CaptionGap() const { return FCaptionGap; }
  void SetCaptionGap(int Value);
  TDizCustomItemSelector* Host() const { return FHost; }
  // The number of cells the last painting drew (those meeting the update region).
  int PaintedCells() const { return FPaintedCells; }

  virtual void DrawItem(int Index, TCanvas* Canvas);
  virtual TRect GetInnerRect();
  virtual TSize GetItemSize();
  virtual void InvalidateItem(int Index);
  virtual void UpdateRectAndSize();

  TNotifyEvent OnSelect;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

private:
  bool Usable(int Index) const;
  void DrawNow(int Index);
  int Count() const;
  int FItemIndex = -1, FItemHot = -1;
  int FItemOffSetX = 4, FItemOffSetY = 4;
  int FCaptionGap = 4;
  TDizCustomItemSelector* FHost = nullptr;
  int FPaintedCells = 0;
};

}  // namespace DizDropDown
