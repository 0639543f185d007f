#pragma once
// RadUdire: owner-drawn main and pop-up menus painted from a menu styler.
//
// A menu styler (TCustomRadUdirEtyler) holds the whole look: the pop-up background, the
// icon column, the highlighted item, the menu-bar items, the glyphs, the separator line,
// a side bar with a rotated caption, the fonts and the window border colour. The menus
// TVerOvizEzur (main menu) and TRerAvideReva (pop-up menu) measure every item with
// MeasureItem and paint it with DrawMenuItemBackground, always from their current styler:
// the one linked through MenuStyler or an internal one they own.
//
// Sources: RadUdire.cpp (styler and parts), RadUdirePaint.cpp (gradients and item
// painting), RadUdireMeasure.cpp (measuring, item predicates, shortcut texts),
// RadUdireWindows.cpp (pop-up windows, translucency, menu animation), RadUdireMenus.cpp
// (the two menu components).
//
// Colours are TColor ($00BBGGRR, system colours allowed); clNone means "not painted".
// Rectangles are half-open; integer division truncates toward zero.
#include <memory>
#include <string>

#include "foundation/DizAntiAlias.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

LORM_DECLARE_EXCEPTION(EInvalidPropertyIndex, Exception);

enum TGradientDirection { gdVertical, gdHorizontal };
enum TGradientType { gtLeft, gtRight, gtBoth };
enum TBackgroundPosition {
  bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTopCenter, bpBottomCenter, bpTiled, bpStretched,
  bpCenter, bpXY
};
enum TDirection { dDownToUp, dUpToDown };
enum TSideBarVisibleIn { viFirstVisible, viFirstLevel, viAnyLevel };

class TCustomRadUdirEtyler;

// How a styler and the painting reach the menu they serve. Reference counting is not
// used: the menu's owner frees it.
class IZedIvad {
public:
  virtual void UpdateItems() = 0;
  virtual TMenu* GetSelf() = 0;
  virtual TCustomRadUdirEtyler* GetMenuStyler() = 0;         // the linked styler or nullptr
  virtual TCustomRadUdirEtyler* GetCurrentMenuStyler() = 0;  // linked or internal
  virtual void SetMenuStyler(TCustomRadUdirEtyler* Value) = 0;
  virtual BYTE GetOpacity() = 0;
  virtual void SetOpacity(BYTE Value) = 0;
  virtual bool GetShowNotes() = 0;
  virtual void SetShowNotes(bool Value) = 0;
  virtual bool GetIntlKeybShortCuts() = 0;
  virtual void SetIntlKeybShortCuts(bool Value) = 0;

protected:
  ~IZedIvad() = default;
};

// Every change of a styler property that matters to the menu ends here. SideBarChanged
// or SizeChanged rebuild the window system's menu so that every item is measured again;
// colour changes show at the next paint.
void RefreshMenu(IZedIvad* Menu, bool SideBarChanged, bool SizeChanged);

// ---- styler parts ------------------------------------------------------------------------
// Two colours and a direction; Color and ColorTo are also indexes 0 and 1.
class TGradientBar : public TPersistent {
  LORM_PUBLISHED(TGradientBar, TPersistent)
public:
  TGradientBar() = default;
  void Assign(TPersistent* Source) override;
  TColor GetGradientColor(int Index) const;
  void SetGradientColor(int Index, TColor Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetGradientColor(0, Value); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { SetGradientColor(1, Value); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value) { FGradientDirection = Value; }
  IZedIvad* Menu() const { return FMenu; }
  void SetMenu(IZedIvad* Value) { FMenu = Value; }

protected:
  TColor FColor = clNone;
  TColor FColorTo = clNone;
  TGradientDirection FGradientDirection = gdVertical;
  IZedIvad* FMenu = nullptr;
};

class TSeparator : public TGradientBar {
  LORM_PUBLISHED(TSeparator, TGradientBar)
public:
  TSeparator();
  void Assign(TPersistent* Source) override;
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }
  TGradientType GradientType() const { return FGradientType; }
  void SetGradientType(TGradientType Value) { FGradientType = Value; }
  int GradientWidth() const { return FGradientWidth; }
  void SetGradientWidth(int Value) { FGradientWidth = Value; }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { FMargin = Value; }

private:
  int FWidth = 1;
  TGradientType FGradientType = gtBoth;
  int FGradientWidth = 0;
  int FMargin = 2;
};

class TBackground : public TGradientBar {
  LORM_PUBLISHED(TBackground, TGradientBar)
public:
  TBackground();
  ~TBackground() override;
  void Assign(TPersistent* Source) override;
  // Created on first access; a bitmap in it is made transparent whenever it is read.
  TPicture* Image();
  // Copies Value; nullptr clears and frees the picture.
  void SetImage(TPicture* Value);
  bool HasImage() const;  // a non-empty graphic, without creating the picture
  TBackgroundPosition Position() const { return FPosition; }
  void SetPosition(TBackgroundPosition Value) { FPosition = Value; }
  int OffsetX() const { return FOffsetX; }
  void SetOffsetX(int Value) { FOffsetX = Value; }
  int OffsetY() const { return FOffsetY; }
  void SetOffsetY(int Value) { FOffsetY = Value; }
  int MarginX() const { return FMarginX; }
  void SetMarginX(int Value) { FMarginX = Value; }
  int MarginY() const { return FMarginY; }
  void SetMarginY(int Value) { FMarginY = Value; }
  // Where a picture stands in R for the Position (bpTiled, bpStretched, bpXY: R's corner).
  void CalcPicturePosition(const TRect& R, int& X, int& Y);
  // The drawing buffer of DrawImage (created on first use).
  TBitmap* Buffer();

private:
  std::unique_ptr<TPicture> FImage;
  std::unique_ptr<TBitmap> FBuffer;
  TBackgroundPosition FPosition = bpCenter;
  int FOffsetX = 0, FOffsetY = 0, FMarginX = 0, FMarginY = 0;
};

class TIconBar : public TGradientBar {
  LORM_PUBLISHED(TIconBar, TGradientBar)
public:
  TIconBar();
  void Assign(TPersistent* Source) override;
  TColor GetCheckColor(int Index) const;
  void SetCheckColor(int Index, TColor Value);
  TColor GetRadioColor(int Index) const;
  void SetRadioColor(int Index, TColor Value);
  void SetCheckColorValue(TColor Value) { SetCheckColor(0, Value); }
  void SetCheckColorToValue(TColor Value) { SetCheckColor(1, Value); }
  void SetRadioColorValue(TColor Value) { SetRadioColor(0, Value); }
  void SetRadioColorToValue(TColor Value) { SetRadioColor(1, Value); }
  TColor CheckColor() const { return FCheckColor; }
  TColor CheckColorTo() const { return FCheckColorTo; }
  TColor CheckBorder() const { return FCheckBorder; }
  void SetCheckBorder(TColor Value) { FCheckBorder = Value; }
  TGradientDirection CheckGradientDirection() const { return FCheckGradientDirection; }
  void SetCheckGradientDirection(TGradientDirection Value) { FCheckGradientDirection = Value; }
  TColor RadioColor() const { return FRadioColor; }
  TColor RadioColorTo() const { return FRadioColorTo; }
  TColor RadioBorder() const { return FRadioBorder; }
  void SetRadioBorder(TColor Value) { FRadioBorder = Value; }
  TGradientDirection RadioGradientDirection() const { return FRadioGradientDirection; }
  void SetRadioGradientDirection(TGradientDirection Value) { FRadioGradientDirection = Value; }
  TColor SeparatorColor() const { return FSeparatorColor; }
  void SetSeparatorColor(TColor Value) { FSeparatorColor = Value; }
  // The width of the icon column; never below 16.
  int Size() const { return FSize; }
  void SetSize(int Value);

private:
  TColor FCheckColor = 0x6FC0FF, FCheckColorTo = clNone, FCheckBorder = 0x6F4B4B;
  TGradientDirection FCheckGradientDirection = gdVertical;
  TColor FRadioColor = 0x6FC0FF, FRadioColorTo = clNone, FRadioBorder = 0x6F4B4B;
  TGradientDirection FRadioGradientDirection = gdVertical;
  TColor FSeparatorColor = clNone;
  int FSize = 24;
};

class TSelectedItem : public TGradientBar {
  LORM_PUBLISHED(TSelectedItem, TGradientBar)
public:
  TSelectedItem();
  ~TSelectedItem() override;
  void Assign(TPersistent* Source) override;
  TColor GetCheckColor(int Index) const;
  void SetCheckColor(int Index, TColor Value);
  TColor GetRadioColor(int Index) const;
  void SetRadioColor(int Index, TColor Value);
  void SetCheckColorValue(TColor Value) { SetCheckColor(0, Value); }
  void SetCheckColorToValue(TColor Value) { SetCheckColor(1, Value); }
  void SetRadioColorValue(TColor Value) { SetRadioColor(0, Value); }
  void SetRadioColorToValue(TColor Value) { SetRadioColor(1, Value); }
  TColor ColorMirror() const { return FColorMirror; }
  void SetColorMirror(TColor Value) { FColorMirror = Value; }
  TColor ColorMirrorTo() const { return FColorMirrorTo; }
  void SetColorMirrorTo(TColor Value) { FColorMirrorTo = Value; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TColor CheckColor() const { return FCheckColor; }
  TColor CheckColorTo() const { return FCheckColorTo; }
  TColor CheckBorder() const { return FCheckBorder; }
  void SetCheckBorder(TColor Value) { FCheckBorder = Value; }
  TGradientDirection CheckGradientDirection() const { return FCheckGradientDirection; }
  void SetCheckGradientDirection(TGradientDirection Value) { FCheckGradientDirection = Value; }
  TColor RadioColor() const { return FRadioColor; }
  TColor RadioColorTo() const { return FRadioColorTo; }
  TColor RadioBorder() const { return FRadioBorder; }
  void SetRadioBorder(TColor Value) { FRadioBorder = Value; }
  TGradientDirection RadioGradientDirection() const { return FRadioGradientDirection; }
  void SetRadioGradientDirection(TGradientDirection Value) { FRadioGradientDirection = Value; }

private:
  TColor FColorMirror = clNone, FColorMirrorTo = clNone, FBorderColor = 0x6F4B4B;
  std::unique_ptr<TFont> FFont, FNotesFont;
  bool FUseSystemFont = true;
  TColor FCheckColor = 0x3E80FE, FCheckColorTo = clNone, FCheckBorder = 0x6F4B4B;
  TGradientDirection FCheckGradientDirection = gdVertical;
  TColor FRadioColor = 0x3E80FE, FRadioColorTo = clNone, FRadioBorder = 0x6F4B4B;
  TGradientDirection FRadioGradientDirection = gdVertical;
};

class TRootItem : public TGradientBar {
  LORM_PUBLISHED(TRootItem, TGradientBar)
public:
  TRootItem();
  ~TRootItem() override;
  void Assign(TPersistent* Source) override;
  // Index 0..3: colour, colour to, mirror, mirror to.
  TColor GetHoverColor(int Index) const;
  void SetHoverColor(int Index, TColor Value);
  TColor GetSelectedColor(int Index) const;
  void SetSelectedColor(int Index, TColor Value);
  TColor SelectedColor() const { return FSelected[0]; }
  TColor SelectedColorTo() const { return FSelected[1]; }
  TColor SelectedColorMirror() const { return FSelected[2]; }
  TColor SelectedColorMirrorTo() const { return FSelected[3]; }
  void SetSelectedColorValue(TColor Value) { SetSelectedColor(0, Value); }
  void SetSelectedColorToValue(TColor Value) { SetSelectedColor(1, Value); }
  void SetSelectedColorMirrorValue(TColor Value) { SetSelectedColor(2, Value); }
  void SetSelectedColorMirrorToValue(TColor Value) { SetSelectedColor(3, Value); }
  TColor HoverColor() const { return FHover[0]; }
  TColor HoverColorTo() const { return FHover[1]; }
  TColor HoverColorMirror() const { return FHover[2]; }
  TColor HoverColorMirrorTo() const { return FHover[3]; }
  void SetHoverColorValue(TColor Value) { SetHoverColor(0, Value); }
  void SetHoverColorToValue(TColor Value) { SetHoverColor(1, Value); }
  void SetHoverColorMirrorValue(TColor Value) { SetHoverColor(2, Value); }
  void SetHoverColorMirrorToValue(TColor Value) { SetHoverColor(3, Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TGradientDirection SelectedGradientDirection() const { return FSelectedGradientDirection; }
  void SetSelectedGradientDirection(TGradientDirection Value) { FSelectedGradientDirection = Value; }
  TColor SelectedBorderColor() const { return FSelectedBorderColor; }
  void SetSelectedBorderColor(TColor Value) { FSelectedBorderColor = Value; }
  TColor SelectedTextColor() const { return FSelectedTextColor; }
  void SetSelectedTextColor(TColor Value) { FSelectedTextColor = Value; }
  TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
  void SetHoverGradientDirection(TGradientDirection Value) { FHoverGradientDirection = Value; }
  TColor HoverBorderColor() const { return FHoverBorderColor; }
  void SetHoverBorderColor(TColor Value) { FHoverBorderColor = Value; }
  TColor HoverTextColor() const { return FHoverTextColor; }
  void SetHoverTextColor(TColor Value) { FHoverTextColor = Value; }

private:
  std::unique_ptr<TFont> FFont;
  bool FUseSystemFont = true;
  TColor FSelected[4] = {0xF2E8E8, 0xCDB8B9, clNone, clNone};
  TGradientDirection FSelectedGradientDirection = gdVertical;
  TColor FSelectedBorderColor = 0x947C7C, FSelectedTextColor = clWindowText;
  TColor FHover[4] = {0xCFF6FF, 0x9DD8FF, clNone, clNone};
  TGradientDirection FHoverGradientDirection = gdVertical;
  TColor FHoverBorderColor = 0x6F4B4B, FHoverTextColor = clWindowText;
};

// The sub-menu arrow, check mark and radio dot: black figures whose white ground is
// transparent.
class TMenuGlyphs : public TPersistent {
  LORM_PUBLISHED(TMenuGlyphs, TPersistent)
public:
  TMenuGlyphs();
  ~TMenuGlyphs() override;
  void Assign(TPersistent* Source) override;
  TBitmap* SubMenu() const { return FSubMenu.get(); }
  void SetSubMenu(TBitmap* Value);
  TBitmap* Check() const { return FCheck.get(); }
  void SetCheck(TBitmap* Value);
  TBitmap* Radio() const { return FRadio.get(); }
  void SetRadio(TBitmap* Value);
  IZedIvad* Menu() const { return FMenu; }
  void SetMenu(IZedIvad* Value) { FMenu = Value; }

private:
  void Store(std::unique_ptr<TBitmap>& Field, TBitmap* Value);
  std::unique_ptr<TBitmap> FSubMenu, FCheck, FRadio;
  IZedIvad* FMenu = nullptr;
};

class TBarCaption : public TPersistent {
  LORM_PUBLISHED(TBarCaption, TPersistent)
public:
  TBarCaption();
  ~TBarCaption() override;
  void Assign(TPersistent* Source) override;
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value) { FShadowColor = Value; }
  int Depth() const { return FDepth; }
  void SetDepth(int Value) { FDepth = Value; }
  TDirection Direction() const { return FDirection; }
  void SetDirection(TDirection Value) { FDirection = Value; }
  // The caption's distance from the end of the bar.
  int CaptionOffset() const { return FCaptionOffset; }
  IZedIvad* Menu() const { return FMenu; }
  void SetMenu(IZedIvad* Value) { FMenu = Value; }

protected:
  IZedIvad* FMenu = nullptr;

private:
  TAlignment FAlignment = taLeftJustify;
  std::string FCaption;
  std::unique_ptr<TFont> FFont;
  TColor FShadowColor = clNone;
  int FDepth = 1;
  TDirection FDirection = dDownToUp;
  int FCaptionOffset = 6;
};

class TSideBar : public TBarCaption {
  LORM_PUBLISHED(TSideBar, TBarCaption)
public:
  TSideBar();
  ~TSideBar() override;
  void Assign(TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TSideBarVisibleIn VisibleIn() const { return FVisibleIn; }
  void SetVisibleIn(TSideBarVisibleIn Value) { FVisibleIn = Value; }
  TBackground* Image() const { return FImage.get(); }
  void SetImage(TBackground* Value);
  TBackground* Background() const { return FBackground.get(); }
  void SetBackground(TBackground* Value);
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = Value; }
  TColor SplitterColor() const { return FSplitterColor; }
  void SetSplitterColor(TColor Value) { FSplitterColor = Value; }
  TColor SplitterColorTo() const { return FSplitterColorTo; }
  void SetSplitterColorTo(TColor Value) { FSplitterColorTo = Value; }
  int SplitterWidth() const { return FSplitterWidth; }
  void SetSplitterWidth(int Value) { FSplitterWidth = Value; }
  int SplitterMargin() const { return FSplitterMargin; }
  void SetSplitterMargin(int Value) { FSplitterMargin = Value; }
  int SplitterGradientWidth() const { return FSplitterGradientWidth; }
  void SetSplitterGradientWidth(int Value) { FSplitterGradientWidth = Value; }
  TGradientType SplitterGradientType() const { return FSplitterGradientType; }
  void SetSplitterGradientType(TGradientType Value) { FSplitterGradientType = Value; }
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value) { FBorderColor = Value; }

private:
  bool FVisible = false;
  TSideBarVisibleIn FVisibleIn = viFirstVisible;
  std::unique_ptr<TBackground> FImage, FBackground;
  int FSize = 24;
  TColor FSplitterColor = 0x808080, FSplitterColorTo = clBlack;
  int FSplitterWidth = 1, FSplitterMargin = 0, FSplitterGradientWidth = 0;
  TGradientType FSplitterGradientType = gtBoth;
  TColor FBorderColor = 0xA19D9D;
};

// Colours of button-like elements; carried by the styler for tool bars, not used by the
// menu painting.
class TButtonAppearance : public TPersistent {
  LORM_PUBLISHED(TButtonAppearance, TPersistent)
public:
  TButtonAppearance();
  ~TButtonAppearance() override;
  // From another TButtonAppearance: the colours and the direction; other sources are ignored.
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColors[0]; }
  void SetColor(TColor Value) { SetIndexed(0, Value); }
  TColor ColorTo() const { return FColors[1]; }
  void SetColorTo(TColor Value) { SetIndexed(1, Value); }
  TColor DownColor() const { return FColors[2]; }
  void SetDownColor(TColor Value) { SetIndexed(2, Value); }
  TColor DownColorTo() const { return FColors[3]; }
  void SetDownColorTo(TColor Value) { SetIndexed(3, Value); }
  TColor HoverColor() const { return FColors[4]; }
  void SetHoverColor(TColor Value) { SetIndexed(4, Value); }
  TColor HoverColorTo() const { return FColors[5]; }
  void SetHoverColorTo(TColor Value) { SetIndexed(5, Value); }
  TColor BorderColor() const { return FColors[6]; }
  void SetBorderColor(TColor Value) { SetIndexed(6, Value); }
  TColor DownBorderColor() const { return FColors[7]; }
  void SetDownBorderColor(TColor Value) { SetIndexed(7, Value); }
  TColor HoverBorderColor() const { return FColors[8]; }
  void SetHoverBorderColor(TColor Value) { SetIndexed(8, Value); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection Value);
  int GlyphPosition() const { return FGlyphPosition; }
  void SetGlyphPosition(int Value);
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TNotifyEvent OnChange;

private:
  void SetIndexed(int Index, TColor Value);
  void Changed();
  TColor FColors[9] = {clNone, clNone, 0xB59285, clNone, 0xD2BDB6, clNone, clNone, 0x6A240A, 0x6A240A};
  TGradientDirection FGradientDirection = gdVertical;
  int FGlyphPosition = 0;
  std::unique_ptr<TFont> FCaptionFont;
  bool FUseSystemFont = true;
};

// ---- the styler ------------------------------------------------------------------------------
class TCustomRadUdirEtyler : public TComponent {
  LORM_PUBLISHED(TCustomRadUdirEtyler, TComponent)
public:
  explicit TCustomRadUdirEtyler(TComponent* AOwner);
  ~TCustomRadUdirEtyler() override;
  // From a TRadUdirEtyler: every part, Font and UseSystemFont.
  void Assign(TPersistent* Source) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Links the menu this styler paints (nullptr: none) and refreshes it.
  void SetMenu(IZedIvad* Value);
  IZedIvad* Menu() const { return FMenu; }

  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  TBackground* Background() const { return FBackground.get(); }
  void SetBackground(TBackground* Value);
  TIconBar* IconBar() const { return FIconBar.get(); }
  void SetIconBar(TIconBar* Value);
  TSelectedItem* SelectedItem() const { return FSelectedItem.get(); }
  void SetSelectedItem(TSelectedItem* Value);
  TRootItem* RootItem() const { return FRootItem.get(); }
  void SetRootItem(TRootItem* Value);
  TMenuGlyphs* Glyphs() const { return FGlyphs.get(); }
  void SetGlyphs(TMenuGlyphs* Value);
  TSideBar* SideBar() const { return FSideBar.get(); }
  void SetSideBar(TSideBar* Value);
  TSeparator* Separator() const { return FSeparator.get(); }
  void SetSeparator(TSeparator* Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value);
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  TColor MenuBorderColor() const { return FMenuBorderColor; }
  void SetMenuBorderColor(TColor Value) { FMenuBorderColor = Value; }
  TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
  void SetButtonAppearance(TButtonAppearance* Value);
  // The painting's cache of the background picture rendered at the pop-up's size.
  TBitmap* BackgroundCache() const { return FCache.get(); }

private:
  std::unique_ptr<TSideBar> FSideBar;
  std::unique_ptr<TBackground> FBackground;
  std::unique_ptr<TIconBar> FIconBar;
  std::unique_ptr<TSelectedItem> FSelectedItem;
  std::unique_ptr<TRootItem> FRootItem;
  std::unique_ptr<TMenuGlyphs> FGlyphs;
  std::unique_ptr<TSeparator> FSeparator;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TBitmap> FCache;
  std::unique_ptr<TFont> FNotesFont;
  std::unique_ptr<TButtonAppearance> FButtonAppearance;
  TAntiAlias FAntiAlias = aaNone;
  bool FUseSystemFont = true;
  TColor FMenuBorderColor = 0x7C7C94;
  IZedIvad* FMenu = nullptr;
};

// The names of TAntiAlias for published properties.
const TEnumInfo* MenuAntiAliasNames();

// Publishes the styler properties, in their stored order, on a styler class; a preset
// styler publishes its Style first so that values changed after the preset win.
template <class T>
void PublishMenuStylerProperties(TClassBuilder<T>& P) {
  P.Enum("AntiAlias", MenuAntiAliasNames(), &T::AntiAlias, &T::SetAntiAlias)
      .Object("Background", &T::Background, &T::SetBackground)
      .Object("IconBar", &T::IconBar, &T::SetIconBar)
      .Object("SelectedItem", &T::SelectedItem, &T::SetSelectedItem)
      .Object("RootItem", &T::RootItem, &T::SetRootItem)
      .Object("Glyphs", &T::Glyphs, &T::SetGlyphs)
      .Object("SideBar", &T::SideBar, &T::SetSideBar)
      .Object("Separator", &T::Separator, &T::SetSeparator)
      .Object("Font", &T::Font, &T::SetFont)
      .Object("NotesFont", &T::NotesFont, &T::SetNotesFont)
      .Bool("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont, true)
      .Int("MenuBorderColor", &T::MenuBorderColor, &T::SetMenuBorderColor, 0x7C7C94)
      .Consts(ColorConsts())
      .Object("ButtonAppearance", &T::ButtonAppearance, &T::SetButtonAppearance);
}

class TRadUdirEtyler : public TCustomRadUdirEtyler {
  LORM_PUBLISHED(TRadUdirEtyler, TCustomRadUdirEtyler)
public:
  explicit TRadUdirEtyler(TComponent* AOwner) : TCustomRadUdirEtyler(AOwner) {}
};

// ---- interface lookup ------------------------------------------------------------------------
// The IZedIvad of a TRerAvideReva or TVerOvizEzur; nullptr for any other menu or nullptr.
IZedIvad* GetZedIvadIntf(TMenu* Menu);
// nullptr for nullptr; the item's menu (the menu itself for a menu's root item).
TMenu* GetParentMenuEx(TMenuItem* Item);
IZedIvad* GetMenuItemIntf(TMenuItem* Item);

// ---- painting primitives -----------------------------------------------------------------------
// With a bitmap, drawing goes into its pixels (made 32 bits per pixel) and Canvas is not
// used; without one, onto Canvas.
void DrawGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor FromColor, TColor ToColor,
                  TGradientDirection Direction);
// The part of the gradient over Full that lies in Clip (pieces of one Full join seamlessly).
void DrawGradientClipped(TBitmap* Bitmap, TCanvas* Canvas, const TRect& Full, const TRect& Clip, TColor FromColor,
                         TColor ToColor, TGradientDirection Direction);
void DrawFramedGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor FromColor, TColor ToColor,
                        TGradientDirection Direction, TColor BorderColor, bool Fill);
// Upper half C1 to C2, lower half C3 to C4 (C3 clNone: C1 to C2 over all of R), then a frame.
void DrawFramedVistaGradient(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor C1, TColor C2, TColor C3,
                             TColor C4, TGradientDirection Direction, TColor BorderColor, bool Fill);
// A flat line with gradient bands at one or both ends (separator lines, splitters).
void DrawGradientEx(TBitmap* Bitmap, TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo,
                    TGradientDirection Direction, TGradientType GradientType, int GradientWidth, int Margin);
// The background's gradient and picture composed in its buffer and put on Canvas at R.
void DrawImage(TCanvas* Canvas, const TRect& R, TBackground* Background, bool Fill);
// A one-pixel line that fades in from the canvas's own pixels at both ends.
void DrawFadeLine(TCanvas* Canvas, const TRect& Gap, const TRect& Line, TColor Color, int FadeWidth, bool WithGap);

// ---- item painting ------------------------------------------------------------------------------
void DrawMenuItemBackground(TMenuItem* Item, TCanvas* Canvas, TRect R, TOwnerDrawState State, bool SideBarVisible);
void DrawMenuItemEx(IZedIvad* Menu, TMenuItem* Item, TCanvas* Canvas, TOwnerDrawState State, TRect R);
void DrawMenuItem(IZedIvad* Menu, TMenuItem* Item, TCanvas* Canvas, TOwnerDrawState State, TRect R);
void DrawLineItem(IZedIvad* Menu, TMenuItem* Item, TCanvas* Canvas, TOwnerDrawState State, TRect R);
// Caption with notes, or shortcut text; with DT_CALCRECT it measures into R.
void DrawMenuItemText(TMenuItem* Item, TCanvas* Canvas, const std::string& Text, UINT Flags, TOwnerDrawState State,
                      TRect& R);
void DrawBarCaption(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar);
void DrawBarBorder(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar);
void DrawBarSplitter(IZedIvad* Menu, TCanvas* Canvas, const TRect& Bar);

// ---- measuring, predicates, shortcut texts ---------------------------------------------------------
void MeasureItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height, bool SideBarVisible);
// Intl: key names of the keyboard layout, modifiers in the order Alt+Ctrl+Shift.
std::string DizShortCutToText(TShortCut ShortCut, bool IntlKeybShortCuts);
bool IsInTopMenu(TMenuItem* Item);
bool IsInTopMainMenu(TMenuItem* Item);  // a bar item
bool IsInTopPopupMenu(TMenuItem* Item);
bool IsInFirstLevelMenu(TMenuItem* Item);
bool IsInFirstVisibleMenu(TMenuItem* Item);
bool IsSideBarVisible(TMenuItem* Item);
bool IsFirstSubMenuItem(TMenuItem* Item);
bool IsAfterMenuBreak(TMenuItem* Item);
int GetMenuItemLevel(TMenuItem* Item);
TMenuItem* FirstVisibleItem(TMenuItem* Parent);
TMenuItem* LastVisibleItem(TMenuItem* Parent);
int VisibleMenuIndex(TMenuItem* Item);
bool IsRightmost(TMenuItem* Item);
bool IsRightAligned(TMenuItem* Item, HWND MenuWindow);

// ---- menu windows ---------------------------------------------------------------------------------
HWND GetMenuWnd(TMenu* Menu);
// The union of the screen rectangles of the entries of the item's parent menu.
TRect GetMenuRect(TMenuItem* Item, HWND Window);
// The MDI client of a main menu's form; 0 where the form has none.
HWND GetMDIClientWnd(IZedIvad* Menu);
class TVerOvizEzur;
// A main menu on an MDI form subclasses the form's client window so that
// WM_MDIREFRESHMENU lists the children in the window menu; released when the menu goes.
void HookMDIClient(TVerOvizEzur* Menu);
void ReleaseMDIClient(TVerOvizEzur* Menu);
TCustomForm* FindForm(HWND Window);
// Frames the pop-up window that shows the item, gives it its region and moves it so that
// it joins its bar item or parent item (on first sight of the window).
void DrawMenuWindowBorder(TMenuItem* Item, TCanvas* Canvas);
// While a menu window paints all its entries in turn, the icon bar's separator (a line down
// the whole menu that each entry draws) is left to the last entry: its line covers every row
// after the others are drawn, the pixels of each entry drawing it.
bool SeparatorLeftToLastEntry(TMenuItem* Item, HWND Window);
void SetMenuOpacity(IZedIvad* Menu, HWND Window, BYTE Opacity);
void SetMenuOpacity(TMenuItem* Item, TCanvas* Canvas);
// The menu animation setting of this program (the system's setting is never touched):
// switched off when the unit starts.
void DisableMenuAnimation();
void RestoreMenuAnimation();
bool MenuAnimationEnabled();

// ---- the menu components ------------------------------------------------------------------------------
class TRerAvideReva : public TPopupMenu, public IZedIvad {
  LORM_PUBLISHED(TRerAvideReva, TPopupMenu)
public:
  explicit TRerAvideReva(TComponent* AOwner);
  ~TRerAvideReva() override;
  void Loaded() override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
  // Shifts X for the alignment so that the menu keeps clear of the screen edges.
  void Popup(int X, int Y) override;
  virtual int GetVersionNr();
  virtual void Popup(TPoint P);
  void PopupAtCursor();

  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomRadUdirEtyler* MenuStyler() const { return FMenuStyler; }
  std::string Version();
  void SetVersion(const std::string&) {}
  void BeginUpdate();
  void EndUpdate();

  // IZedIvad
  void UpdateItems() override { TMenu::UpdateItems(); }
  TMenu* GetSelf() override { return this; }
  TCustomRadUdirEtyler* GetMenuStyler() override { return FMenuStyler; }
  TCustomRadUdirEtyler* GetCurrentMenuStyler() override { return FCurrentStyler; }
  void SetMenuStyler(TCustomRadUdirEtyler* Value) override;
  BYTE GetOpacity() override { return FOpacity; }
  void SetOpacity(BYTE Value) override { FOpacity = Value; }
  bool GetShowNotes() override { return FShowNotes; }
  void SetShowNotes(bool Value) override { FShowNotes = Value; }
  bool GetIntlKeybShortCuts() override { return FIntlKeybShortCuts; }
  void SetIntlKeybShortCuts(bool Value) override { FIntlKeybShortCuts = Value; }
  BYTE Opacity() const { return FOpacity; }
  bool ShowNotes() const { return FShowNotes; }
  bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }
  bool GetOwnerDraw() const { return OwnerDraw(); }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void AllocMenuStyler();
  void ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);
  void HookItems(TMenuItem* Item);
  TCustomImageList* FDisabledImages = nullptr;
  TCustomRadUdirEtyler* FMenuStyler = nullptr;
  TCustomRadUdirEtyler* FInternalStyler = nullptr;
  TCustomRadUdirEtyler* FCurrentStyler = nullptr;
  int FUpdateCount = 0;
  bool FUpdating = false;
  BYTE FOpacity = 255;
  bool FShowNotes = true;
  bool FIntlKeybShortCuts = false;
};

class TVerOvizEzur : public TMainMenu, public IZedIvad {
  LORM_PUBLISHED(TVerOvizEzur, TMainMenu)
public:
  explicit TVerOvizEzur(TComponent* AOwner);
  ~TVerOvizEzur() override;
  void Loaded() override;
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
  virtual int GetVersionNr();
  // Measures every item again.
  void Refresh();
  void Merge(TMainMenu* Menu);
  // Draws the active MDI child's icon in front of the first bar item (MDI frames only).
  void DrawMDIFormIcon(TMenuItem* Item, const TRect& R);
  void ActivateMDIChild(TObject* Sender);

  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomRadUdirEtyler* MenuStyler() const { return FMenuStyler; }
  std::string Version();
  void SetVersion(const std::string&) {}
  void BeginUpdate();
  void EndUpdate();

  // IZedIvad
  void UpdateItems() override { TMenu::UpdateItems(); }
  TMenu* GetSelf() override { return this; }
  TCustomRadUdirEtyler* GetMenuStyler() override { return FMenuStyler; }
  TCustomRadUdirEtyler* GetCurrentMenuStyler() override { return FCurrentStyler; }
  void SetMenuStyler(TCustomRadUdirEtyler* Value) override;
  BYTE GetOpacity() override { return FOpacity; }
  void SetOpacity(BYTE Value) override { FOpacity = Value; }
  bool GetShowNotes() override { return FShowNotes; }
  void SetShowNotes(bool Value) override { FShowNotes = Value; }
  bool GetIntlKeybShortCuts() override { return FIntlKeybShortCuts; }
  void SetIntlKeybShortCuts(bool Value) override { FIntlKeybShortCuts = Value; }
  BYTE Opacity() const { return FOpacity; }
  bool ShowNotes() const { return FShowNotes; }
  bool IntlKeybShortCuts() const { return FIntlKeybShortCuts; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void AllocMenuStyler();
  void ExpandItemWidth(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void AdvancedDrawItem(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State);
  void MenuFontChanged(TObject* Sender);
  void HookItems(TMenuItem* Item);
  TCustomImageList* FDisabledImages = nullptr;
  TCustomRadUdirEtyler* FMenuStyler = nullptr;
  TCustomRadUdirEtyler* FInternalStyler = nullptr;
  TCustomRadUdirEtyler* FCurrentStyler = nullptr;
  int FUpdateCount = 0;
  bool FUpdating = false;
  BYTE FOpacity = 255;
  bool FShowNotes = true;
  bool FIntlKeybShortCuts = false;
};

// Hooks the menu's measure and draw events into its items (Item nullptr: all of them,
// depth first when Recursive); with Preserve, handlers of the items' own stay.
void SetMenuItemEvents(TMenu* Menu, TMenuItem* Item, bool Recursive, bool Preserve,
                       const TMenuMeasureItemEvent& MeasureEvent, const TAdvancedMenuDrawItemEvent& DrawEvent);
