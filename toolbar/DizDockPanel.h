#pragma once
// DizDockPanel: the dock site of the tool bars (TDizDockPanel), the rows it keeps them in
// (TRowCollection, TRowCollectionItem) and the persistence settings of dock panels and
// tool bars (TPersistence).
//
// A dock panel is aligned to one edge of its form. Tool bars dock into it through their
// own SetParent; the panel keeps them in rows, sizes itself to the rows, paints the dock
// background of its styler and passes every bounds request of a docked tool bar to the
// rows, which push, shrink and grow neighbours and move tool bars between rows.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/IniFiles.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "toolbar/VivIzizEzu.h"
#include "toolbar/VivIzizEzuBar.h"

namespace VivIzizEzu {

class TDizDockPanel;
class TRowCollection;

// One row of a dock panel: its tool bars in order from the row's start to its end.
class TRowCollectionItem : public TObject {
  LORM_CLASS(TRowCollectionItem, TObject)
public:
  explicit TRowCollectionItem(TRowCollection* Collection) : FCollection(Collection) {}

  TRowCollection* Collection() const { return FCollection; }
  int Index() const;
  int ToolBarCount() const { return static_cast<int>(FToolBars.size()); }
  TDizCustomToolBar* ToolBars(int Index) const;
  int IndexOf(const TDizCustomToolBar* ToolBar) const;

  // Appends and places the tool bar; its index in the row, or -1 when it is already in
  // the row or the row does not allow it.
  int AddToolBar(TDizCustomToolBar* ToolBar);
  // Takes the tool bar out (a tool bar not in the row is ignored), re-arranges the row
  // and, with DeleteIfEmpty, lets the collection delete the row when it became empty.
  void RemoveToolBar(TDizCustomToolBar* ToolBar, bool DeleteIfEmpty);
  // False when the row's first tool bar is full-size; a full-size tool bar only goes
  // into an empty row.
  bool IsAllowed(TDizCustomToolBar* ToolBar) const;
  // The row's thickness: the thickest tool bar in it, at least 26.
  int GetHeight() const;
  // The free length between two tool bars (nullptr: the row's end) beyond the spacing;
  // negative for an overlap.
  int GetSpace(TDizCustomToolBar* A, TDizCustomToolBar* B) const;
  // Resolves overlaps and free room of the row.
  void ArrangeToolBars();
  // A position or length request along a horizontal (vertical) row; the values the tool
  // bar is to take come back. Raises "Invalid ToolBar Index" for a tool bar not in it.
  void SetToolBarLeftAndWidth(TDizCustomToolBar* ToolBar, int& ALeft, int& AWidth);
  void SetToolBarTopAndHeight(TDizCustomToolBar* ToolBar, int& ATop, int& AHeight);
  TRect GetRowRect() const { return FRowRect; }
  void SetRowRect(const TRect& Value) { FRowRect = Value; }

private:
  friend class TRowCollection;
  friend class TDizDockPanel;
  // The along-the-row view of a tool bar.
  bool Horz() const;
  int Pos(TDizCustomToolBar* T) const;
  int Len(TDizCustomToolBar* T) const;
  int RowStart() const;
  int RowEnd() const;
  TDizCustomToolBar* At(int I) const { return I >= 0 && I < ToolBarCount() ? FToolBars[static_cast<size_t>(I)] : nullptr; }
  int Space(int A, int B) const { return GetSpace(At(A), At(B)); }
  void SetPosLen(TDizCustomToolBar* T, int P, int L);
  void Shift(int From, int To, int By);
  void Grow(int J, int By, bool AtStart);
  void Shrink(int J, int By, bool AtStart);
  void SetFullLength(TDizCustomToolBar* T);
  void RemoveOverlap(int K, int& O);
  void AlongRow(TDizCustomToolBar* ToolBar, int& P, int& L);

  TRowCollection* FCollection;
  std::vector<TDizCustomToolBar*> FToolBars;
  TRect FRowRect{0, 0, 0, 0};
};

// The rows of a dock panel.
class TRowCollection : public TObject {
  LORM_CLASS(TRowCollection, TObject)
public:
  explicit TRowCollection(TDizDockPanel* Owner) : FOwner(Owner) {}
  ~TRowCollection() override;

  TDizDockPanel* GetOwner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  TRowCollectionItem* GetItem(int Index) const;
  TRowCollectionItem* Items(int Index) const { return GetItem(Index); }
  int IndexOf(const TRowCollectionItem* Row) const;
  int RowGap() const { return 1; }
  int Spacing() const { return 2; }

  // A new row at the end (or at Index), then the rows are laid out again.
  TRowCollectionItem* Add();
  TRowCollectionItem* Insert(int Index);
  // The first row holding the tool bar, or -1.
  int IsToolBarAlreadyAdded(const TDizCustomToolBar* ToolBar) const;
  // Raises "Invalid Row Index" for an index outside the rows.
  void MoveToolBarToRow(TDizCustomToolBar* ToolBar, int Index);
  // Deletes an empty row when rows may change.
  void DeleteMeIfEmpty(TRowCollectionItem* Row);
  void SetRowsPosition();
  void SetParentSize();
  void ReArrangeAllToolBars();
  void SetToolBarFullSize(TDizCustomToolBar* ToolBar);
  // Requests across the rows of a horizontal (vertical) panel.
  void SetToolBarTopAndHeight(TDizCustomToolBar* ToolBar, int& ATop, int& AHeight);
  void SetToolBarLeftAndWidth(TDizCustomToolBar* ToolBar, int& ALeft, int& AWidth);
  void UpdateToolBarVisibility(TDizCustomToolBar* ToolBar);
  // Rows are created and deleted only while this holds.
  bool RowsMayChange() const;
  bool Horizontal() const;
  // Removes every row (the tool bars stay where they are).
  void Clear();

private:
  void Delete(int Index);
  void AcrossRows(TDizCustomToolBar* ToolBar, int& T, int& H);
  TDizDockPanel* FOwner;
  std::vector<std::unique_ptr<TRowCollectionItem>> FItems;
  bool FLaying = false;
};

class TDizDockPanel : public TCustomControl, public IToolBarDockSite, public IVivIzizEzuStylerClient {
  LORM_PUBLISHED(TDizDockPanel, TCustomControl)
public:
  explicit TDizDockPanel(TComponent* AOwner);
  ~TDizDockPanel() override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Raises "Invalid Parent" for a dock panel or a tool bar.
  void SetParent(TWinControl* AParent) override;
  void WndProc(TMessage& Message) override;

  // Dock site.
  int AddToolBar(TDizCustomToolBar* ToolBar) override;
  void RemoveToolBar(TDizCustomToolBar* ToolBar) override;
  TCustomVivIzizEzuStyler* DockStylerInForce() const override;
  bool DockPixel(int X, int Y, bool FromBitmap, TColor& Color) const override;
  void UpdateToolBarVisibility(TDizCustomToolBar* ToolBar) override;
  void SetToolBarFullSize(TDizCustomToolBar* ToolBar, bool) override;
  void SetToolBarBounds(TDizCustomToolBar* ToolBar, int& ALeft, int& ATop, int& AWidth, int& AHeight) override;
  void ArrangeToolBars() override;
  void ArrangeToolBarRow(TDizCustomToolBar* ToolBar) override;
  int IsAllowedInAnyRow(TDizCustomToolBar* ToolBar) const;

  int GetVivIzizEzuCount() const { return FToolBars->Count(); }
  TDizCustomToolBar* GetVivIzizEzus(int Index) const {
    return static_cast<TDizCustomToolBar*>(FToolBars->GetItemsEx(Index));
  }
  int GetRowCount() const { return FRows->Count(); }
  TRowCollection* Rows() const { return FRows.get(); }
  const TDbgList* HiddenToolBars() const { return FHidden.get(); }
  TDockAlign GetAlign() const { return FAlign; }
  TBitmap* GetMyImage() const { return FImage.get(); }
  int RowMargin() const { return 1; }
  int EndMargin() const { return 0; }
  // Loaded has run, or the panel was made in code (never loaded from a stored form).
  bool PropertiesLoaded() const { return FPropertiesLoaded || (!IsLoading() && !FInLoaded); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }

  // Styler client.
  TStylerClientKind StylerClientKind() const override { return sckDockPanel; }
  void UpdateMe(int Kind) override;
  TCustomVivIzizEzuStyler* ToolBarStyler() const override { return FToolBarStyler; }
  void SetToolBarStyler(TCustomVivIzizEzuStyler* Value) override;
  TCustomVivIzizEzuStyler* StylerInForce() const { return FStylerInForce; }
  TCustomVivIzizEzuStyler* InternalStyler() const { return FInternalStyler; }

  // Published properties.
  TDockAlign DockAlign() const { return FAlign; }
  void SetDockAlign(TDockAlign Value);
  int MinimumSize() const { return FMinimumSize; }
  void SetMinimumSize(int Value);
  bool LockHeight() const { return FLockHeight; }
  void SetLockHeight(bool Value) { FLockHeight = Value; }
  TPersistence* Persistence() const { return FPersistence.get(); }
  void SetPersistence(TPersistence* Value) { FPersistence->Assign(Value); }
  TComponent* GetPopupMenuEx() const { return PopupMenu(); }
  void SetPopupMenuEx(TComponent* Menu);
  bool UseRunTimeHeight() const { return FUseRunTimeHeight; }
  void SetUseRunTimeHeight(bool Value);
  static std::string GetVersion() { return TDizCustomToolBar::GetVersion(); }
  static int GetVersionNr() { return TDizCustomToolBar::GetVersionNr(); }
  std::string Version() const { return GetVersion(); }
  void SetVersion(const std::string&) {}

  // Position persistence of the docked tool bars.
  void SaveToolBarsPosition();
  void LoadToolBarsPosition();
  void OnPersistenceChange(TObject* Sender);

protected:
  void Paint() override;

private:
  void CopyPersistence(TDizCustomToolBar* ToolBar);
  std::unique_ptr<TCustomIniFile> OpenStore() const;

  TCustomVivIzizEzuStyler* FInternalStyler = nullptr;
  TCustomVivIzizEzuStyler* FToolBarStyler = nullptr;
  TCustomVivIzizEzuStyler* FStylerInForce = nullptr;
  std::unique_ptr<TRowCollection> FRows;
  std::unique_ptr<TDbgList> FToolBars;
  std::unique_ptr<TDbgList> FHidden;
  std::unique_ptr<TBitmap> FImage;
  std::unique_ptr<TPersistence> FPersistence;
  TDockAlign FAlign = daTop;
  int FMinimumSize = 3;
  bool FLockHeight = false;
  bool FUseRunTimeHeight = false;
  bool FPropertiesLoaded = false;
  bool FInLoaded = false;
};

}  // namespace VivIzizEzu

using VivIzizEzu::TDizDockPanel;
using VivIzizEzu::TPersistence;
using VivIzizEzu::TRowCollection;
using VivIzizEzu::TRowCollectionItem;
