#pragma once
// RavIze: the string grid's helper lists (TIntList with its comma text, TSortIndexList of
// multi-column sort keys, TControlList of controls placed in cells, TFileStringList read
// and written line by line) and the small controls the grid places around its cells
// (TVezIdidButton, TPopupButton, TArrowWindow, TFilePicture).
//
// List indexes are 0-based; an index outside a list raises EListError.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

// ---------------------------------------------------------------------------------------
// A list of integers. Add, Delete and SetInteger raise the change event (with the
// column and row the list was made for); Insert and Clear do not.
using TIntListChangeEvent = std::function<void(TObject* Sender, int Col, int Row)>;

class TIntList : public TObject {
  LORM_CLASS(TIntList, TObject)
public:
  TIntList(int Col = -1, int Row = -1) : FCol(Col), FRow(Row) {}

  int Count() const { return static_cast<int>(FItems.size()); }
  int Add(int Value);
  void Insert(int Index, int Value);
  void Delete(int Index);
  void DeleteValue(int Value);
  bool HasValue(int Value) const;
  int IndexOf(int Value) const;
  int GetInteger(int Index) const;
  void SetInteger(int Index, int Value);
  int operator[](int Index) const { return GetInteger(Index); }
  void Clear() { FItems.clear(); }
  const std::vector<int>& Items() const { return FItems; }

  // "3,-1,12"; reading clears the list and adds each comma-text item (StrToInt; a bad
  // item raises EConvertError and keeps the entries read before it).
  std::string GetStrValue() const;
  void SetStrValue(const std::string& Value);

  TIntListChangeEvent OnChange;

protected:
  void Changed();
  void CheckIndex(int Index) const;
  std::vector<int> FItems;

private:
  int FCol;
  int FRow;
};

// The keys of a multi-column sort: the column in bits 0-30, bit 31 set for descending.
class TSortIndexList : public TIntList {
  LORM_CLASS(TSortIndexList, TIntList)
public:
  TSortIndexList() = default;
  void AddIndex(int ACol, bool Ascending);
  int FindIndex(int ACol) const;
  void ToggleIndex(int ACol);
  int GetSortColumns(int Index) const;
  void SetSortColumns(int Index, int ACol);
  bool GetSortDirections(int Index) const;
  void SetSortDirections(int Index, bool Ascending);
  // "u1;d4": one item per key, "u" ascending, anything else descending.
  std::string SaveToString() const;
  void LoadFromString(const std::string& S);
};

// A control placed over a cell (the control is not owned).
class TControlItem : public TObject {
  LORM_CLASS(TControlItem, TObject)
public:
  TControlItem(int ACol, int ARow, TControl* AControl) : Col(ACol), Row(ARow), Control(AControl) {}
  int Col;
  int Row;
  TControl* Control;
};

class TControlList : public TObject {
  LORM_CLASS(TControlList, TObject)
public:
  TControlList() = default;
  ~TControlList() override;
  int Count() const { return static_cast<int>(FItems.size()); }
  int AddControl(int ACol, int ARow, TControl* AControl);
  int ControlIndex(int ACol, int ARow) const;
  TControlItem* GetControl(int Index) const;
  bool HasHandle(HWND Handle) const;
  void RemoveControl(int Index);

private:
  std::vector<std::unique_ptr<TControlItem>> FItems;
};

// A string list read and written like a text file.
class TFileStringList : public TStringList {
  LORM_CLASS(TFileStringList, TStringList)
public:
  TFileStringList() = default;
  void Reset();
  bool GetEOF() const { return FReadPos >= Count(); }
  void ReadLn(std::string& S);
  void Write(const std::string& S) { FPending += S; }
  void WriteLn(const std::string& S);

private:
  int FReadPos = 0;
  std::string FPending;
};

// ---------------------------------------------------------------------------------------
enum TVezIdidButtonStyle { tasButton, tasCheck };

class TVezIdidButton;

class TVezIdidButtonActionLink : public TControlActionLink {
public:
  explicit TVezIdidButtonActionLink(TVezIdidButton* AClient);
  bool IsCaptionLinked();
  bool IsCheckedLinked();
  bool IsGroupIndexLinked();
  void SetCaption(const std::string& Value);
  void SetChecked(bool Value);
  void SetGroupIndex(int Value);

private:
  TVezIdidButton* FButton;
};

// A graphic speed button with four glyphs, flat and rounded looks, per-state colours,
// check style and button groups.
class TVezIdidButton : public TGraphicControl {
  LORM_PUBLISHED(TVezIdidButton, TGraphicControl)
public:
  explicit TVezIdidButton(TComponent* AOwner);
  ~TVezIdidButton() override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void Click() override;
  // The double-click event fires only while the button is down.
  void DblClick() override;

  // Looks 0 to 6 (colours, border, rounding); any other number changes nothing.
  void SetLook(int Look);
  void ThemeAdapt();
  void GenerateShade();
  // Places the glyph and the caption in Client (moved by Offset): centred across the
  // layout axis; along it Margin from the edge and Spacing between them, -1 centring.
  // DT_RIGHT in BiDiFlags swaps left and right.
  void CalcButtonLayout(TCanvas* Canvas, const TRect& Client, TPoint Offset, const std::string& Caption,
                        TButtonLayout Layout, int Margin, int Spacing, TPoint& GlyphPos, TRect& TextBounds,
                        UINT BiDiFlags);

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value);
  bool AutoXPStyle() const { return FAutoXPStyle; }
  void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; Invalidate(); }
  TColor BorderDownColor() const { return FBorderDownColor; }
  void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
  TColor BorderHotColor() const { return FBorderHotColor; }
  void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; Invalidate(); }
  TColor ColorDown() const { return FColorDown; }
  void SetColorDown(TColor Value) { FColorDown = Value; }
  TColor ColorDownTo() const { return FColorDownTo; }
  void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
  TColor ColorHot() const { return FColorHot; }
  void SetColorHot(TColor Value) { FColorHot = Value; }
  TColor ColorHotTo() const { return FColorHotTo; }
  void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
  TColor ColorChecked() const { return FColorChecked; }
  void SetColorChecked(TColor Value) { FColorChecked = Value; Invalidate(); }
  TColor ColorCheckedTo() const { return FColorCheckedTo; }
  void SetColorCheckedTo(TColor Value) { FColorCheckedTo = Value; Invalidate(); }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value) { FDropDownButton = Value; Invalidate(); }
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TBitmap* GlyphHot() const { return FGlyphHot.get(); }
  void SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
  TBitmap* GlyphDown() const { return FGlyphDown.get(); }
  void SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
  TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
  void SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }
  TBitmap* Shade() const { return FShade.get(); }
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value) { FRounded = Value; Invalidate(); }
  bool Shaded() const { return FShaded; }
  void SetShaded(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TVezIdidButtonStyle Style() const { return FStyle; }
  void SetStyle(TVezIdidButtonStyle Value) { FStyle = Value; Invalidate(); }
  TButtonState State() const { return FState; }
  bool MouseInside() const { return FMouseIn; }

  TNotifyEvent OnDropDown;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  friend class TVezIdidButtonActionLink;
  void UpdateExclusive();
  void ButtonPressed(int Group, TVezIdidButton* Sender);
  void DrawFace(TCanvas* C, TRect& R);
  bool InsideClient(int X, int Y);

  std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FShade;
  bool FAllowAllUp = false;
  bool FAutoThemeAdapt = false;
  bool FAutoXPStyle = false;
  TColor FBorderColor = clNone;
  TColor FBorderDownColor = clNone;
  TColor FBorderHotColor = clNone;
  TColor FColorTo = clNone;
  TColor FColorDown = clNone;
  TColor FColorDownTo = clNone;
  TColor FColorHot = clNone;
  TColor FColorHotTo = clNone;
  TColor FColorChecked = clGray;
  TColor FColorCheckedTo = clNone;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FDropDownButton = false;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FFlat = true;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  bool FRounded = false;
  bool FShaded = true;
  bool FShowCaption = true;
  int FSpacing = 4;
  TVezIdidButtonStyle FStyle = tasButton;
  TButtonState FState = bsUp;
  bool FDragging = false;
  bool FMouseIn = false;
  bool FTransparent = true;
  bool FCommonControls6 = false;
};

// The borderless, always-on-top window that shows the cell or header being dragged.
class TPopupButton : public TCustomControl {
  LORM_PUBLISHED(TPopupButton, TCustomControl)
public:
  explicit TPopupButton(TComponent* AOwner);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value) { FFlat = Value; Invalidate(); }
  TColor GradFrom() const { return FGradFrom; }
  void SetGradFrom(TColor Value) { FGradFrom = Value; Invalidate(); }
  TColor GradTo() const { return FGradTo; }
  void SetGradTo(TColor Value) { FGradTo = Value; Invalidate(); }
  TColor GradMirrorFrom() const { return FGradMirrorFrom; }
  void SetGradMirrorFrom(TColor Value) { FGradMirrorFrom = Value; Invalidate(); }
  TColor GradMirrorTo() const { return FGradMirrorTo; }
  void SetGradMirrorTo(TColor Value) { FGradMirrorTo = Value; Invalidate(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value) { FImages = Value; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;

private:
  bool FFlat = false;
  TColor FGradFrom = clNone;
  TColor FGradTo = clNone;
  TColor FGradMirrorFrom = 0;
  TColor FGradMirrorTo = 0;
  TCustomImageList* FImages = nullptr;
};

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A small arrow-shaped window marking the drop position of a row or column move.
class TArrowWindow : public TPanel {
  LORM_PUBLISHED(TArrowWindow, TPanel)
public:
  TArrowWindow(TComponent* AOwner, TArrowDirection Direction);
  explicit TArrowWindow(TComponent* AOwner) : TArrowWindow(AOwner, arrUp) {}
  TArrowDirection Direction() const { return FDirection; }
  // The seven points of the window's shape, from its top-left corner.
  const std::vector<TPoint>& Shape() const { return FShape; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;

private:
  TArrowDirection FDirection;
  std::vector<TPoint> FShape;
};

// A cell picture that is only a file name. The file is read once when the name is set;
// drawing stretches the loaded picture and draws nothing when it could not be loaded.
class TFilePicture : public TPersistent {
  LORM_PUBLISHED(TFilePicture, TPersistent)
public:
  TFilePicture();
  ~TFilePicture() override;
  void Assign(TPersistent* Source) override;
  void DrawPicture(TCanvas* Canvas, const TRect& R);
  const std::string& Filename() const { return FFileName; }
  void SetFileName(const std::string& Value);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Loaded() const { return FPicture != nullptr; }

private:
  std::string FFileName;
  int FWidth = 0;
  int FHeight = 0;
  std::shared_ptr<TPicture> FPicture;
};

// The most significant 32 bits of a file's version, or -1.
int GetVersionOfFile(const std::string& FileName);
