#pragma once
// RavUvure: the office panel. A container with a caption bar whose text is mark-up, caption
// buttons (close, minimise/maximise), an optional status bar at its foot, collapse and
// expand (animated on a timer), moving by the caption and sizing by its edges, a gradient
// or mirrored body and a shaded caption; the panel group that stacks panels in columns;
// and the panel styler that pushes one of its presets onto the panels that name it.
//
// The unit's enumerations live in namespace RavUvure: other units have types of the same
// names with other values (TGradientDirection lists gdVertical first here).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Deahtml.h"
#include "foundation/DizImage.h"
#include "foundation/DizStyleIF.h"
#include "foundation/PictureContainer.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

namespace RavUvure {
enum TCaptionPosition { cpTop, cpLeft };
enum TCaptionButtonPosition { cbpRight, cbpLeft };
enum TCaptionShape { csRectangle, csRounded, csSemiRounded };
enum TGradientDirection { gdVertical, gdHorizontal };
enum TTextVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };
enum TPanelPositionLocation { clRegistry, clInifile };
enum TShadeType {
  stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump, stLMetal, stRMetal,
  stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap, stBitmapRStretch, stBitmapLStretch
};
enum TGroupStyle { gsVertical, gsHorizontal };
enum TRavUvureStyle {
  psXP, psFlat, psZAD, psClassic, psOffice2003Blue, psOffice2003Olive, psOffice2003Silver, psOffice2003Classic,
  psOffice2007Luna, psOffice2007Obsidian, psWhidbey, psWindowsXP, psCustom, psOffice2007Silver, psWindowsVista,
  psWindows7, psTerminal
};

// The unit's colour helpers. DrawGradient paints at most 32 bands; BlendColor mixes
// Percent of Color1 with the rest of Color2 (100 returns Color1 as it is).
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal);
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
void DrawPanelBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TGradientDirection Direction);
}  // namespace RavUvure

using TAnchorEvent = std::function<void(TObject* Sender, const std::string& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, std::string& Anchor)>;
using TPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect)>;

// ---------------------------------------------------------------------------------------
class TPanelCaption : public TPersistent {
  LORM_PUBLISHED(TPanelCaption, TPersistent)
public:
  TPanelCaption();
  ~TPanelCaption() override;
  // Copies the look (not Text, Visible, Position, TopIndent or MinMaxCaption).
  void Assign(TPersistent* Source) override;

  TBitmap* Background() const { return FBackground.get(); }
  void SetBackground(TBitmap* Value);
  RavUvure::TCaptionButtonPosition ButtonPosition() const { return FButtonPosition; }
  void SetButtonPosition(RavUvure::TCaptionButtonPosition Value) { FButtonPosition = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  TColor CloseColor() const { return FCloseColor; }
  void SetCloseColor(TColor Value);
  bool CloseButton() const { return FCloseButton; }
  void SetCloseButton(bool Value);
  TColor CloseButtonColor() const { return FCloseButtonColor; }
  void SetCloseButtonColor(TColor Value);
  TColor CloseButtonHoverColor() const { return FCloseButtonHoverColor; }
  void SetCloseButtonHoverColor(TColor Value) { FCloseButtonHoverColor = Value; }
  TBitmap* CloseMinGlyph() const { return FCloseMinGlyph.get(); }
  void SetCloseMinGlyph(TBitmap* Value);
  TBitmap* CloseMaxGlyph() const { return FCloseMaxGlyph.get(); }
  void SetCloseMaxGlyph(TBitmap* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  RavUvure::TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(RavUvure::TGradientDirection Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  void SetHeightQuiet(int Value) { FHeight = Value; }
  int Indent() const { return FIndent; }
  void SetIndent(int Value);
  TBitmap* MaxGlyph() const { return FMaxGlyph.get(); }
  void SetMaxGlyph(TBitmap* Value) { FMaxGlyph->Assign(Value); }
  TBitmap* MinGlyph() const { return FMinGlyph.get(); }
  void SetMinGlyph(TBitmap* Value) { FMinGlyph->Assign(Value); }
  bool MinMaxButton() const { return FMinMaxButton; }
  void SetMinMaxButton(bool Value);
  TColor MinMaxButtonColor() const { return FMinMaxButtonColor; }
  void SetMinMaxButtonColor(TColor Value);
  TColor MinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
  void SetMinMaxButtonHoverColor(TColor Value) { FMinMaxButtonHoverColor = Value; }
  bool MinMaxCaption() const { return FMinMaxCaption; }
  void SetMinMaxCaption(bool Value) { FMinMaxCaption = Value; }
  RavUvure::TCaptionPosition Position() const { return FPosition; }
  void SetPosition(RavUvure::TCaptionPosition Value);
  // At least 200 and at most 255.
  int ShadeLight() const { return FShadeLight; }
  void SetShadeLight(int Value);
  uint8_t ShadeGrain() const { return FShadeGrain; }
  void SetShadeGrain(uint8_t Value);
  RavUvure::TShadeType ShadeType() const { return FShadeType; }
  void SetShadeType(RavUvure::TShadeType Value);
  RavUvure::TCaptionShape Shape() const { return FShape; }
  void SetShape(RavUvure::TCaptionShape Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  int TopIndent() const { return FTopIndent; }
  void SetTopIndent(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  TNotifyEvent OnChange, OnStateChange, OnShadeChange, OnPositionChange;

private:
  void Changed();
  void ShadeChanged();
  std::unique_ptr<TBitmap> FBackground, FCloseMinGlyph, FCloseMaxGlyph, FMaxGlyph, FMinGlyph;
  std::unique_ptr<TFont> FFont;
  RavUvure::TCaptionButtonPosition FButtonPosition = RavUvure::cbpRight;
  TColor FColor = clHighlight;
  TColor FColorTo = clNone;
  TColor FCloseColor = clBtnFace;
  bool FCloseButton = false;
  TColor FCloseButtonColor = clWhite;
  TColor FCloseButtonHoverColor = clNone;
  bool FFlat = false;
  RavUvure::TGradientDirection FGradientDirection = RavUvure::gdHorizontal;
  int FHeight = 20;
  int FIndent = 0;
  bool FMinMaxButton = false;
  TColor FMinMaxButtonColor = clWhite;
  TColor FMinMaxButtonHoverColor = clNone;
  bool FMinMaxCaption = false;
  RavUvure::TCaptionPosition FPosition = RavUvure::cpTop;
  int FShadeLight = 200;
  uint8_t FShadeGrain = 32;
  RavUvure::TShadeType FShadeType = RavUvure::stNormal;
  RavUvure::TCaptionShape FShape = RavUvure::csRectangle;
  std::string FText;
  int FTopIndent = 0;
  bool FVisible = false;
};

class TPanelStatusBar : public TPersistent {
  LORM_PUBLISHED(TPanelStatusBar, TPersistent)
public:
  TPanelStatusBar();
  ~TPanelStatusBar() override;
  // Copies Color, ColorTo, GradientDirection, BorderStyle, BorderColor and Font from
  // another status bar; any other source is ignored.
  void Assign(TPersistent* Source) override;

  bool BevelInner() const { return FBevelInner; }
  void SetBevelInner(bool Value);
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  RavUvure::TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(RavUvure::TGradientDirection Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The owner's repaint.
  std::function<void()> OnChanged;

private:
  void Changed();
  bool FBevelInner = false;
  TColor FBorderColor = clBlack;
  TBorderStyle FBorderStyle = bsNone;
  int FImageIndex = -1;
  std::unique_ptr<TFont> FFont;
  std::string FText;
  TColor FColor = clBtnFace;
  TColor FColorTo = clNone;
  RavUvure::TGradientDirection FGradientDirection = RavUvure::gdHorizontal;
  int FHeight = 18;
  bool FVisible = false;
};

class TCustomRavUvure;

class TAutoSize : public TPersistent {
  LORM_PUBLISHED(TAutoSize, TPersistent)
public:
  explicit TAutoSize(TCustomRavUvure* AOwner = nullptr) : FOwner(AOwner) {}
  void Assign(TPersistent* Source) override;
  bool Enabled() const { return FEnabled; }
  // True sizes the owner to its text at once.
  void SetEnabled(bool Value);
  bool Height() const { return FHeight; }
  void SetHeight(bool Value) { FHeight = Value; }
  bool Width() const { return FWidth; }
  void SetWidth(bool Value) { FWidth = Value; }

private:
  TCustomRavUvure* FOwner;
  bool FEnabled = false;
  bool FHeight = true;
  bool FWidth = true;
};

class TPanelPosition : public TPersistent {
  LORM_PUBLISHED(TPanelPosition, TPersistent)
public:
  void Assign(TPersistent* Source) override;
  bool Save = false;
  std::string Key;
  std::string Section;
  RavUvure::TPanelPositionLocation Location = RavUvure::clRegistry;

private:
  bool GetSave() const { return Save; }
  void SetSave(bool Value) { Save = Value; }
  std::string GetKey() const { return Key; }
  void SetKey(const std::string& Value) { Key = Value; }
  std::string GetSection() const { return Section; }
  void SetSection(const std::string& Value) { Section = Value; }
  RavUvure::TPanelPositionLocation GetLocation() const { return Location; }
  void SetLocation(RavUvure::TPanelPositionLocation Value) { Location = Value; }
};

// ---------------------------------------------------------------------------------------
// A detached copy of a panel's look and behaviour, copied onto panels by a styler or a group.
class TRavUvureSettings : public TPersistent {
  LORM_PUBLISHED(TRavUvureSettings, TPersistent)
public:
  TRavUvureSettings();
  ~TRavUvureSettings() override;
  // Copies every setting of another settings record (one OnChange).
  void Assign(TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Changed();

  bool AnchorHint = false;
  bool AutoHideChildren = true;
  TPanelBevel BevelInner = bvNone;
  TPanelBevel BevelOuter = bvNone;
  int BevelWidth = 1;
  TColor BorderColor = clBlack;
  bool BorderShadow = false;
  TBorderStyle BorderStyle = bsSingle;
  int BorderWidth = 0;
  bool CanMove = false;
  bool CanSize = false;
  bool Collaps = false;
  TColor CollapsColor = clBtnFace;
  int CollapsDelay = 0;
  int CollapsSteps = 0;
  TColor Color = clBtnFace;
  TColor ColorTo = clNone;
  TColor ColorMirror = clNone;
  TColor ColorMirrorTo = clNone;
  TCursor Cursor = crDefault;
  bool FixedTop = false, FixedLeft = false, FixedHeight = false, FixedWidth = false;
  int Height = 120;
  std::string Hint;
  bool Hover = false;
  TColor HoverColor = clNone;
  TColor HoverFontColor = clNone;
  int Indent = 0;
  int TopIndent = 0;
  TColor ShadowColor = clBlack;
  int ShadowOffset = 0;
  bool ShowHint = false;
  bool ShowMoveCursor = false;
  std::string Text;
  RavUvure::TTextVAlignment TextVAlign = RavUvure::tvaTop;
  TColor URLColor = clBlue;
  int Width = 0;

  TPanelCaption* Caption() const { return FCaption.get(); }
  void SetCaption(TPanelCaption* Value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value);
  TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
  void SetStatusBar(TPanelStatusBar* Value);
  TNotifyEvent OnChange;

private:
  std::unique_ptr<TPanelCaption> FCaption;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPanelStatusBar> FStatusBar;
  int FUpdateCount = 0;
};

class TRavUvureStyler;

// ---------------------------------------------------------------------------------------
class TCustomRavUvure : public TCustomPanel {
  LORM_PUBLISHED(TCustomRavUvure, TCustomPanel)
public:
  explicit TCustomRavUvure(TComponent* AOwner);
  ~TCustomRavUvure() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Part objects and look.
  TPanelCaption* Caption() const { return FCaption.get(); }
  void SetCaptionObject(TPanelCaption* Value) { FCaption->Assign(Value); }
  TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
  void SetStatusBarObject(TPanelStatusBar* Value) { FStatusBar->Assign(Value); }
  TPanelPosition* Position() const { return FPosition.get(); }
  void SetPositionObject(TPanelPosition* Value) { FPosition->Assign(Value); }
  TAutoSize* AutoSizeSettings() const { return FAutoSize.get(); }
  void SetAutoSizeSettings(TAutoSize* Value);
  TDizImage* Background() const { return FBackground.get(); }
  void SetBackground(TDizImage* Value);

#define LORM_PANEL_VALUE(Type, Name, Init) \
  Type Name() const { return F##Name; }    \
  void Set##Name(Type Value);              \
                                           \
protected:                                 \
  Type F##Name = Init;                     \
                                           \
public:
  LORM_PANEL_VALUE(bool, AnchorHint, false)
  LORM_PANEL_VALUE(bool, AutoHideChildren, true)
  LORM_PANEL_VALUE(RavUvure::TBackGroundPosition, BackgroundPosition, RavUvure::bpTopLeft)
  LORM_PANEL_VALUE(TColor, BorderColor, clBlack)
  LORM_PANEL_VALUE(bool, BorderShadow, false)
  LORM_PANEL_VALUE(bool, Buffered, true)
  LORM_PANEL_VALUE(bool, CanMove, false)
  LORM_PANEL_VALUE(bool, CanSize, false)
  LORM_PANEL_VALUE(TColor, CollapsColor, TColor(0x808080))
  LORM_PANEL_VALUE(int, CollapsDelay, 20)
  LORM_PANEL_VALUE(int, CollapsSteps, 0)
  LORM_PANEL_VALUE(TColor, ColorTo, clNone)
  LORM_PANEL_VALUE(TColor, ColorMirror, clNone)
  LORM_PANEL_VALUE(TColor, ColorMirrorTo, clNone)
  LORM_PANEL_VALUE(bool, Ellipsis, false)
  LORM_PANEL_VALUE(bool, FixedTop, false)
  LORM_PANEL_VALUE(bool, FixedLeft, false)
  LORM_PANEL_VALUE(bool, FixedHeight, false)
  LORM_PANEL_VALUE(bool, FixedWidth, false)
  LORM_PANEL_VALUE(bool, FreeOnClose, false)
  LORM_PANEL_VALUE(RavUvure::TGradientDirection, GradientDirection, RavUvure::gdVertical)
  LORM_PANEL_VALUE(bool, Hover, false)
  LORM_PANEL_VALUE(TColor, HoverColor, clNone)
  LORM_PANEL_VALUE(TColor, HoverFontColor, clNone)
  LORM_PANEL_VALUE(int, Indent, 0)
  LORM_PANEL_VALUE(int, TopIndent, 0)
  LORM_PANEL_VALUE(int, LineSpacing, 0)
  LORM_PANEL_VALUE(TColor, ShadowColor, TColor(0x808080))
  LORM_PANEL_VALUE(int, ShadowOffset, 2)
  LORM_PANEL_VALUE(bool, ShowMoveCursor, false)
  LORM_PANEL_VALUE(RavUvure::TTextVAlignment, TextVAlign, RavUvure::tvaTop)
  LORM_PANEL_VALUE(TColor, URLColor, clBlue)
#undef LORM_PANEL_VALUE

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  TRavUvureStyler* Styler() const { return FStyler; }
  virtual void SetStyler(TRavUvureStyler* Value);
  const std::string& Text() const { return FPanelText; }
  void SetText(const std::string& Value);
  bool Collaps() const { return FCollaps; }
  // Collapses to the caption or expands again; with CollapsSteps the change is animated
  // on a timer, one step every CollapsDelay milliseconds.
  void SetCollaps(bool Value);
  bool Collapsing() const { return FInCollapse; }
  int FullHeight() const { return FFullHeight; }
  void SetFullHeight(int Value) { FFullHeight = Value; }
  std::string GetVersion() const { return "1.9.0.3"; }
  void SetVersion(const std::string&) {}
  uint32_t GetVersionNr() const { return 0x01090003; }
  std::string GetRawText() const { return PanelHTMLStrip(FPanelText); }
  int Index = 0;

  // Behaviour and persistence.
  std::string IsAnchor(int X, int Y, TRect& AnchorRect);
  void DoAutoSize();
  void ShowHideChildren(bool Show);
  void Synchronize();
  void BeginUpdate();
  void EndUpdate();
  virtual void AssignStyle(TRavUvureSettings* Settings);
  void AssignSettings(TRavUvureSettings* Settings);
  void SavePosition();
  void LoadPosition();
  // The caption bar's rendered shade and the rectangle the caption text takes.
  virtual void ShadeHeader();
  TBitmap* ShadeBitmap() const { return FShadeBitmap.get(); }
  TRect CaptionTextRect();
  void DrawCaptionBkg(TCanvas* ACanvas, const TRect& R);
  bool DoVisualStyles() const;

  TAnchorEvent OnAnchorClick, OnAnchorEnter, OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TNotifyEvent OnCaptionClick, OnCaptionDBlClick, OnClose, OnEndMoveSize, OnMinimize, OnMaximize,
      OnEndCollapsExpand;
  TPaintEvent OnPaint;

protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  void DefineProperties(TFiler* Filer) override;
  virtual void StateChange() {}
  int ButtonWidth() const;
  TRect CloseZone() const;
  TRect MinMaxZone() const;
  TRect CaptionStrip() const;
  void WMNCHitTest(TMessage& Message);
  void CollapseStep();
  void FinishCollapse();
  void PaintCaption(TCanvas* C);
  void PaintStatusBar(TCanvas* C);
  void PaintBody(TCanvas* C);

  std::unique_ptr<TPanelCaption> FCaption;
  std::unique_ptr<TPanelStatusBar> FStatusBar;
  std::unique_ptr<TPanelPosition> FPosition;
  std::unique_ptr<TAutoSize> FAutoSize;
  std::unique_ptr<TDizImage> FBackground;
  std::unique_ptr<THTMLPictureCache> FPictureCache;
  std::unique_ptr<TBitmap> FShadeBitmap;
  TCustomImageList* FImages = nullptr;
  TPictureContainer* FPictureContainer = nullptr;
  TRavUvureStyler* FStyler = nullptr;
  std::string FPanelText;
  bool FCollaps = false;
  bool FInCollapse = false;
  int FFullHeight = 0;
  TColor FSavedColor = clBtnFace;
  TCursor FSavedCursor = crDefault;
  bool FIsWinXP = false;
  bool FMovingByCaption = false;
  bool FCloseHover = false, FMinMaxHover = false;
  std::string FLastAnchor;
  int FBodyAnchorIndex = -1, FCaptionAnchorIndex = -1;
  TRect FBodyAnchorRect, FCaptionAnchorRect;
  std::vector<TControl*> FHiddenChildren;
  TPoint FMoveOrigin;
  int FMoveWidth = 0, FMoveHeight = 0;
  int FLastBoundsWidth = -1, FLastBoundsHeight = -1;
  // The running animation: steps left, the step size and the target.
  UINT_PTR FCollapseTimer = 0;
  int FStepsLeft = 0, FStep = 0;
  bool FTargetCollaps = false;
};

class TRavUvure : public TCustomRavUvure {
  LORM_PUBLISHED(TRavUvure, TCustomRavUvure)
public:
  explicit TRavUvure(TComponent* AOwner) : TCustomRavUvure(AOwner) {}
};

// ---------------------------------------------------------------------------------------
// Stacks its panels in columns (gsVertical) or a row (gsHorizontal), with a scroll bar
// when they do not fit.
class TRavUvureGroup : public TRavUvure {
  LORM_PUBLISHED(TRavUvureGroup, TRavUvure)
public:
  explicit TRavUvureGroup(TComponent* AOwner);
  ~TRavUvureGroup() override;
  void WndProc(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  TRavUvureSettings* DefaultPanel() const { return FDefaultPanel.get(); }
  void SetDefaultPanel(TRavUvureSettings* Value) { FDefaultPanel->Assign(Value); }
  RavUvure::TGroupStyle GroupStyle() const { return FGroupStyle; }
  void SetGroupStyle(RavUvure::TGroupStyle Value);
  int HorzPadding() const { return FHorzPadding; }
  void SetHorzPadding(int Value);
  int VertPadding() const { return FVertPadding; }
  void SetVertPadding(int Value);
  bool ScrollSmooth = false;

  TCustomRavUvure* Panels(int Index) const { return FPanels.at(Index); }
  void SetPanel(int Index, TCustomRavUvure* Panel) { FPanels.at(Index)->Assign(Panel); }
  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  void InitPanels();
  TCustomRavUvure* AddPanel();
  TCustomRavUvure* AppendPanel();
  TCustomRavUvure* InsertPanel(int Index);
  void RemovePanel(int Index);
  void MovePanel(int FromIndex, int ToIndex);
  void Clear();
  void OpenAllPanels();
  void CloseAllPanels();
  void SavePanelPositions();
  void LoadPanelPositions();
  void BeginGroupUpdate();
  void EndGroupUpdate();
  void UpdateGroup();
  void ChildPanelChanged(TCustomRavUvure* Panel);
  void ArrangeControls();
  void UpdateScrollbar();
  TScrollBar* ScrollBar() const { return FScrollBar; }
  // The height (gsVertical) or width (gsHorizontal) the arranged panels take.
  int ContentExtent();

protected:
  void StateChange() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;

private:
  std::vector<TCustomRavUvure*> ChildPanels() const;
  void ArrangeVertical();
  void ArrangeHorizontal();
  TCustomRavUvure* NewPanel(int Index);
  void WatchPanel(TCustomRavUvure* Panel);
  bool GetScrollSmooth() const { return ScrollSmooth; }
  void SetScrollSmooth(bool Value) { ScrollSmooth = Value; }

  int FColumns = 1;
  std::unique_ptr<TRavUvureSettings> FDefaultPanel;
  RavUvure::TGroupStyle FGroupStyle = RavUvure::gsVertical;
  int FHorzPadding = 8;
  int FVertPadding = 8;
  TScrollBar* FScrollBar = nullptr;
  std::vector<TCustomRavUvure*> FPanels;
  int FUpdateCount = 0;
  bool FArranging = false;
  bool FSortByIndex = false;
  int FLastWidth = -1, FLastHeight = -1;
  int FExtent = 0;
};

// ---------------------------------------------------------------------------------------
class TRavUvureStyler : public TComponent, public IDizStyle {
  LORM_PUBLISHED(TRavUvureStyler, TComponent)
public:
  explicit TRavUvureStyler(TComponent* AOwner);
  ~TRavUvureStyler() override;
  void Assign(TPersistent* Source) override;
  void Loaded() override;

  bool AutoThemeAdapt = false;
  std::string Comments;
  TRavUvureSettings* Settings() const { return FSettings.get(); }
  void SetSettings(TRavUvureSettings* Value) { FSettings->Assign(Value); }
  RavUvure::TRavUvureStyle Style() const { return FStyle; }
  // Fills the settings with the preset (psCustom leaves them alone) and pushes them to
  // the panels. While the owner loads, only the value is kept: the stored settings stand.
  void SetStyle(RavUvure::TRavUvureStyle Value);
  void SetComponentStyle(DUZERazav AStyle) override;
  // Pushes the settings onto every panel of the owner whose Styler is this styler.
  void Changed(TObject* Sender);
  // The Windows XP colour scheme selects a preset (AutoThemeAdapt only).
  void ThemeChanged(TObject* Sender);

private:
  bool GetAutoThemeAdapt() const { return AutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { AutoThemeAdapt = Value; }
  std::string GetComments() const { return Comments; }
  void SetComments(const std::string& Value) { Comments = Value; }
  void ApplyPreset(RavUvure::TRavUvureStyle Value);
  std::unique_ptr<TRavUvureSettings> FSettings;
  RavUvure::TRavUvureStyle FStyle = RavUvure::psXP;
  HWND FNotifier = nullptr;
};
