#pragma once
// The office pager: a strip of tabs over a stack of pages, painted in an office look taken
// from a pager styler, with close, page-list and scroll glow buttons, keyboard and mouse
// page switching, hover glow and key tips.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizGDIP.h"
#include "foundation/DizHintInfo.h"
#include "foundation/GDIPicture.h"
#include "menus/DovAvarOrodez.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/DragDock.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

class TZorOzirazIrezi;
class TDizOfficePage;

// Enumerations, look classes and drawing helpers of the pager; other units have their own
// classes of the same names.
namespace ZorOzirazIrezi {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TImagePosition { ipLeft, ipTop, ipRight, ipBottom };
enum TDizTabShape { tsRectangle, tsLeftRamp, tsRightRamp, tsLeftRightRamp };
enum TGradientDirection { gdHorizontal, gdVertical };
enum TCloseOnTabPos { cpRight, cpLeft };
using TTabRounding = int;  // 0..8

// Tab geometry settings.
class TPagerTabSettings : public TPersistent {
  LORM_PUBLISHED(TPagerTabSettings, TPersistent)
public:
  TPagerTabSettings() = default;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

#define ZOR_PROP(Type, Name)                          \
  Type Name() const { return F##Name; }               \
  void Set##Name(Type Value) {                        \
    if (F##Name == Value) return;                     \
    F##Name = Value;                                  \
    Changed();                                        \
  }
// Sizes and margins are kept within the coordinate range, like a control's bounds.
#define ZOR_SIZE_PROP(Name)                           \
  int Name() const { return F##Name; }                \
  void Set##Name(int Value) {                         \
    Value = ClampCoordinate(Value);                   \
    if (F##Name == Value) return;                     \
    F##Name = Value;                                  \
    Changed();                                        \
  }
  ZOR_SIZE_PROP(LeftMargin)
  ZOR_SIZE_PROP(RightMargin)
  ZOR_SIZE_PROP(Height)
  ZOR_SIZE_PROP(StartMargin)
  ZOR_SIZE_PROP(EndMargin)
  ZOR_SIZE_PROP(Spacing)
  ZOR_SIZE_PROP(Width)
#undef ZOR_SIZE_PROP
  ZOR_PROP(bool, WordWrap)
  ZOR_PROP(TImagePosition, ImagePosition)
  ZOR_PROP(TTabRounding, Rounding)
  ZOR_PROP(TDizTabShape, Shape)
  ZOR_PROP(TAlignment, Alignment)

protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }

private:
  int FLeftMargin = 4, FRightMargin = 4, FHeight = 26, FStartMargin = 4, FEndMargin = 0, FSpacing = 4, FWidth = 0;
  bool FWordWrap = false;
  TImagePosition FImagePosition = ipLeft;
  TTabRounding FRounding = 1;
  TDizTabShape FShape = tsRectangle;
  TAlignment FAlignment = taLeftJustify;
};

// Scroll state of the tab row.
class TPagerTabScroller {
public:
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  bool Visible() const { return FVisible; }
  void SetMin(int Value) {
    if (Value <= FMax) FMin = Value;
  }
  void SetMax(int Value) {
    if (Value >= FMin) FMax = Value;
  }
  void SetPosition(int Value) { FPosition = Value; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool CanGoBack() const { return FMin < FPosition; }
  bool CanGoForward() const { return FPosition < FMax; }

private:
  int FMin = 0, FMax = 0, FPosition = 0;
  bool FVisible = false;
};

// Two-colour stepped gradient (the tab row's background); its setters always notify.
class TGradientBackground : public TPersistent {
  LORM_PUBLISHED(TGradientBackground, TPersistent)
public:
  TGradientBackground() = default;
  void Assign(TPersistent* Source) override;
  int Steps() const { return FSteps; }
  void SetSteps(int Value) { FSteps = Value; Changed(); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; Changed(); }
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value) { FColorTo = Value; Changed(); }
  TGradientDirection Direction() const { return FDirection; }
  void SetDirection(TGradientDirection Value) { FDirection = Value; Changed(); }
  TNotifyEvent OnChange;

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  int FSteps = 64;
  TColor FColor = clWhite, FColorTo = clBtnFace;
  TGradientDirection FDirection = gdHorizontal;
};

// The page background: an upper and a lower (mirror) gradient with a border.
class TVistaBackground : public TPersistent {
  LORM_PUBLISHED(TVistaBackground, TPersistent)
public:
  TVistaBackground() = default;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;
  ZOR_PROP(int, Steps)
  ZOR_PROP(TColor, Color)
  ZOR_PROP(TColor, ColorTo)
  ZOR_PROP(TColor, ColorMirror)
  ZOR_PROP(TColor, ColorMirrorTo)
  ZOR_PROP(TColor, BorderColor)
  ZOR_PROP(TGDIPGradient, GradientMirror)
  ZOR_PROP(TGDIPGradient, Gradient)

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  int FSteps = 64;
  TColor FColor = clWhite, FColorTo = clWhite, FColorMirror = clSilver, FColorMirrorTo = clWhite, FBorderColor = clGray;
  TGDIPGradient FGradientMirror = ggVertical, FGradient = ggVertical;
};

// Tab colours per state.
class TCustomTabAppearance : public TPersistent {
  LORM_PUBLISHED(TCustomTabAppearance, TPersistent)
public:
  TCustomTabAppearance();
  ~TCustomTabAppearance() override;
  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;
  TNotifyEvent OnFontChange;

  ZOR_PROP(TColor, BorderColor)
  ZOR_PROP(TColor, Color)
  ZOR_PROP(TColor, ColorTo)
  ZOR_PROP(TColor, ColorHot)
  ZOR_PROP(TColor, ColorHotTo)
  ZOR_PROP(TColor, ColorSelectedTo)
  ZOR_PROP(TColor, BorderColorDisabled)
  ZOR_PROP(TColor, BorderColorSelected)
  ZOR_PROP(TColor, ColorDisabled)
  ZOR_PROP(TColor, ColorDisabledTo)
  ZOR_PROP(TColor, ColorSelected)
  ZOR_PROP(TColor, ColorMirror)
  ZOR_PROP(TColor, ColorMirrorTo)
  ZOR_PROP(TColor, ColorMirrorHot)
  ZOR_PROP(TColor, ColorMirrorHotTo)
  ZOR_PROP(TGDIPGradient, GradientMirror)
  ZOR_PROP(TGDIPGradient, GradientMirrorHot)
  ZOR_PROP(TGDIPGradient, Gradient)
  ZOR_PROP(TGDIPGradient, GradientHot)
  ZOR_PROP(TColor, ColorMirrorDisabledTo)
  ZOR_PROP(TColor, ColorMirrorDisabled)
  ZOR_PROP(TColor, ColorMirrorSelectedTo)
  ZOR_PROP(TColor, ColorMirrorSelected)
  ZOR_PROP(TGDIPGradient, GradientSelected)
  ZOR_PROP(TGDIPGradient, GradientDisabled)
  ZOR_PROP(TGDIPGradient, GradientMirrorSelected)
  ZOR_PROP(TGDIPGradient, GradientMirrorDisabled)
  ZOR_PROP(TColor, TextColorDisabled)
  ZOR_PROP(TColor, TextColorSelected)
  ZOR_PROP(TColor, TextColor)
  ZOR_PROP(TColor, TextColorHot)
  ZOR_PROP(TColor, BorderColorSelectedHot)
  ZOR_PROP(TColor, BorderColorDown)

  // Plain fields: changing them notifies nobody; the pager shows them at its next paint.
  TColor BorderColorHot = clBlue;
  TColor HighLightColorHot = 0x00FDF4ED;
  TColor ShadowColor = 0x00E8C7AE;
  TColor HighLightColorDown = 0x00FFFBD0;
  TColor HighLightColorSelected = 0x0063CCF8;
  TColor HighLightColorSelectedHot = 0x00BDFFFF;
  TColor HighLightColor = 0x00FFFABF;

  TGradientBackground* BackGround() const { return FBackGround.get(); }
  void SetBackGround(TGradientBackground* Value) { FBackGround->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

protected:
  void Changed() {
    if (OnChange) OnChange(this);
  }

private:
  TColor FBorderColor = clBtnFace, FColor = clBtnFace, FColorTo = clWhite, FColorHot = clYellow, FColorHotTo = clNone,
         FColorSelectedTo = clBtnFace, FBorderColorDisabled = clNone, FBorderColorSelected = clBtnFace,
         FColorDisabled = clNone, FColorDisabledTo = clNone, FColorSelected = clWhite, FColorMirror = clWhite,
         FColorMirrorTo = clWhite, FColorMirrorHot = clNone, FColorMirrorHotTo = clNone;
  TGDIPGradient FGradientMirror = ggVertical, FGradientMirrorHot = ggVertical, FGradient = ggVertical,
                FGradientHot = ggVertical;
  TColor FColorMirrorDisabledTo = clNone, FColorMirrorDisabled = clNone, FColorMirrorSelectedTo = clWhite,
         FColorMirrorSelected = clWhite;
  TGDIPGradient FGradientSelected = ggVertical, FGradientDisabled = ggVertical, FGradientMirrorSelected = ggVertical,
                FGradientMirrorDisabled = ggVertical;
  TColor FTextColorDisabled = clWhite, FTextColorSelected = clBlue, FTextColor = clBlue, FTextColorHot = clBlue;
  TColor FBorderColorSelectedHot = clNone, FBorderColorDown = clNone;
  std::unique_ptr<TGradientBackground> FBackGround;
  std::unique_ptr<TFont> FFont;
};
#undef ZOR_PROP

class TTabAppearance : public TCustomTabAppearance {
  LORM_PUBLISHED(TTabAppearance, TCustomTabAppearance)
public:
  TTabAppearance() = default;
};

// A list of references with range-checked access.
class TDbgList {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void Add(void* Item) { FItems.push_back(Item); }
  int IndexOf(void* Item) const;
  void Delete(int Index);
  void Remove(void* Item);
  void* GetItemsEx(int Index) const;
  void SetItemsEx(int Index, void* Value);

private:
  std::vector<void*> FItems;
};

// Component states.
inline bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }
inline bool IsDestroying(const TComponent* C) { return C->ComponentState().Contains(csDestroying); }
inline bool IsLoading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }

// Colour and drawing routines of the pager.
ARGB ColorToARGB(TColor Color);
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal);
int GetFileVersion(const std::string& FileName);
void DrawRoundRect(TGPGraphics* Graphics, TGPPen* Pen, int X, int Y, int Width, int Height, int Radius);
void DrawRect(TGPGraphics* Graphics, TGPPen* Pen, int X, int Y, int Width, int Height);
int CanvasTextWidthW(TCanvas* Canvas, const std::u16string& Text);

// The two-part glow background of pages and square-style tabs.
void DrawVistaBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient,
                         TGDIPGradient GradientMirror, bool RoundEdges, bool Extend, TTabPosition TabPosition);
// The outline of a shaped tab (caller frees).
TGPGraphicsPath* CreateTabPath(const TRect& R, TDizTabShape Shape, int Rounding, bool Rotate, TTabPosition TabPosition);
void DrawVistaTab(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  bool Enabled, TDizTabShape Shape, bool Focused, int Rounding, bool Rotate, TTabPosition TabPosition);
// Measures (RealDraw off) or draws a caption; TextRect receives the occupied rectangle.
void DrawVistaText(TCanvas* Canvas, TAlignment Alignment, const TRect& R, const std::string& Caption,
                   const std::u16string& WideCaption, TFont* Font, bool Enabled, bool RealDraw, TAntiAlias AntiAlias,
                   TTabPosition TabPosition, bool Ellipsis, bool WordWrap, TRect& TextRect);
// Shortens a caption from its end until it fits (GDI measuring on the canvas).
std::string TrimCaption(TCanvas* Canvas, const std::string& Text, const TRect& R, bool Ellipsis,
                        TTabPosition TabPosition, bool WordWrap);

}  // namespace ZorOzirazIrezi

// The pager styler base: owns the tab, page and glow-button appearances and tells every
// pager it serves about their changes.
class TCustomZorOzirazIreziStyler : public TComponent {
  LORM_PUBLISHED(TCustomZorOzirazIreziStyler, TComponent)
public:
  explicit TCustomZorOzirazIreziStyler(TComponent* AOwner);
  ~TCustomZorOzirazIreziStyler() override;
  void Assign(TPersistent* Source) override;

  void AddControl(TControl* Control);
  void RemoveControl(TControl* Control);
  int ControlCount() const { return FControls.Count(); }
  virtual void Change(int Kind);

  ZorOzirazIrezi::TTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(ZorOzirazIrezi::TTabAppearance* Value) { FTabAppearance->Assign(Value); }
  ZorOzirazIrezi::TVistaBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(ZorOzirazIrezi::TVistaBackground* Value) { FPageAppearance->Assign(Value); }
  TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
  void SetGlowButtonAppearance(TGlowButtonAppearance* Value) { FGlowButtonAppearance->Assign(Value); }
  bool RoundEdges() const { return FRoundEdges; }
  void SetRoundEdges(bool Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
  int BlendFactor() const { return FBlendFactor; }
  void SetBlendFactor(int Value) { FBlendFactor = Value; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  ZorOzirazIrezi::TDbgList FControls;
  std::unique_ptr<ZorOzirazIrezi::TTabAppearance> FTabAppearance;
  std::unique_ptr<ZorOzirazIrezi::TVistaBackground> FPageAppearance;
  bool FRoundEdges = true;
  bool FAutoThemeAdapt = false;
  std::unique_ptr<TGlowButtonAppearance> FGlowButtonAppearance;
  int FBlendFactor = 50;
};

// Which buttons the pager shows, with their pictures and hints.
class TPageButtonSettings : public TPersistent {
  LORM_PUBLISHED(TPageButtonSettings, TPersistent)
public:
  TPageButtonSettings();
  ~TPageButtonSettings() override;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

#define ZOR_BOOL(Name)                               \
  bool Name() const { return F##Name; }              \
  void Set##Name(bool Value) {                       \
    if (F##Name == Value) return;                    \
    F##Name = Value;                                 \
    Changed();                                       \
  }
  ZOR_BOOL(CloseButton)
  ZOR_BOOL(PageListButton)
  ZOR_BOOL(FirstButton)
  ZOR_BOOL(LastButton)
  ZOR_BOOL(ScrollButtonsAlways)
#undef ZOR_BOOL
#define ZOR_PIC(Name)                                                 \
  TGDIPPicture* Name() const { return F##Name.get(); }                \
  void Set##Name(TGDIPPicture* Value) {                               \
    F##Name->Assign(Value);                                           \
    Changed();                                                        \
  }
  ZOR_PIC(CloseButtonPicture)
  ZOR_PIC(PageListButtonPicture)
  ZOR_PIC(ScrollButtonPrevPicture)
  ZOR_PIC(ScrollButtonNextPicture)
  ZOR_PIC(ScrollButtonFirstPicture)
  ZOR_PIC(ScrollButtonLastPicture)
#undef ZOR_PIC
  TGDIPPicture* UpPicture() const { return FUp.get(); }
  TGDIPPicture* DownPicture() const { return FDown.get(); }
  TGDIPPicture* UpFirstPicture() const { return FUpFirst.get(); }
  TGDIPPicture* DownLastPicture() const { return FDownLast.get(); }
  bool NextPictureChanged() const { return FNextChanged; }
  bool PrevPictureChanged() const { return FPrevChanged; }
  bool FirstPictureChanged() const { return FFirstChanged; }
  bool LastPictureChanged() const { return FLastChanged; }

  std::string CloseButtonHint = "Close";
  std::string PageListButtonHint = "Page List";
  std::string ScrollButtonPrevHint = "Previous";
  std::string ScrollButtonNextHint = "Next";
  std::string ScrollButtonFirstHint = "First";
  std::string ScrollButtonLastHint = "Last";

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  void OnPictureChanged(TObject* Sender);
  bool FCloseButton = false, FPageListButton = false, FFirstButton = false, FLastButton = false,
       FScrollButtonsAlways = false;
  std::unique_ptr<TGDIPPicture> FCloseButtonPicture, FPageListButtonPicture, FScrollButtonPrevPicture,
      FScrollButtonNextPicture, FScrollButtonFirstPicture, FScrollButtonLastPicture, FUp, FDown, FUpFirst, FDownLast;
  bool FNextChanged = false, FPrevChanged = false, FFirstChanged = false, FLastChanged = false;
};

// One page of the pager: a container of controls that also describes its tab.
class TDizOfficePage : public TCustomControl {
  LORM_PUBLISHED(TDizOfficePage, TCustomControl)
public:
  explicit TDizOfficePage(TComponent* AOwner);
  ~TDizOfficePage() override;
  void WndProc(TMessage& Message) override;
  void SetParent(TWinControl* AParent) override;

  TZorOzirazIrezi* ZorOzirazIrezi() const { return FPager; }
  void SetZorOzirazIrezi(TZorOzirazIrezi* Value);

  // Caption is the inherited text.
  void SetCaption(const std::string& Value);
  const std::u16string& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const std::u16string& Value);
  TGDIPPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TGDIPPicture* Value);
  TGDIPPicture* DisabledPicture() const { return FDisabledPicture.get(); }
  void SetDisabledPicture(TGDIPPicture* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  const std::string& TabHint() const { return FTabHint; }
  void SetTabHint(const std::string& Value) { FTabHint = Value; }
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  bool TabEnabled() const { return FTabEnabled; }
  void SetTabEnabled(bool Value);
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool Value);
  bool ShowCheckBox() const { return FShowCheckBox; }
  void SetShowCheckBox(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  ZorOzirazIrezi::TTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
  void SetTabAppearance(ZorOzirazIrezi::TTabAppearance* Value) { FTabAppearance->Assign(Value); }
  bool UseTabAppearance() const { return FUseTabAppearance; }
  void SetUseTabAppearance(bool Value);
  ZorOzirazIrezi::TVistaBackground* PageAppearance() const { return FPageAppearance.get(); }
  void SetPageAppearance(ZorOzirazIrezi::TVistaBackground* Value) { FPageAppearance->Assign(Value); }
  bool UsePageAppearance() const { return FUsePageAppearance; }
  void SetUsePageAppearance(bool Value);
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  const std::string& ShortCutHint() const { return FShortCutHint; }
  void SetShortCutHint(const std::string& Value) { FShortCutHint = Value; }
  TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
  void SetShortCutHintPos(TShortCutHintPos Value) { FShortCutHintPos = Value; }
  int PageIndex() const;
  void SetPageIndex(int Value);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

  void ShowShortCutHint();
  void HideShortCutHint();
  TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHintWin; }
  TDovAvarOrodez* CloseButton() const { return FCloseButton; }
  void SelectFirstControl();

  // Glow animation state (read by the pager's painting).
  TTimer* GlowTimer() const { return FTimer; }
  int GlowStep() const { return FStepHover; }
  int HoverPosition() const { return FHoverPosition; }
  int ClickPosition() const { return FClickPosition; }
  int GlowState() const { return FGlowState; }
  void TimerProc(TObject* Sender);

protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;

private:
  friend class TZorOzirazIrezi;
  void PictureChanged(TObject* Sender);
  void OnTabAppearanceChanged(TObject* Sender);
  void OnTabAppearanceFontChanged(TObject* Sender);
  void OnPageAppearanceChanged(TObject* Sender);
  void FreeGlowTimer();
  void ButtonsAndScroller(bool OnlyActive);

  TZorOzirazIrezi* FPager = nullptr;
  TTimer* FTimer = nullptr;
  int FStepHover = 0;
  int FHoverPosition = 0, FClickPosition = 0;
  int FGlowState = 2;
  bool FInSetParent = false;
  TShortCutHintWindow* FShortCutHintWin = nullptr;
  TDovAvarOrodez* FCloseButton = nullptr;

  std::u16string FWideCaption;
  std::unique_ptr<TGDIPPicture> FPicture, FDisabledPicture;
  int FImageIndex = -1;
  std::string FTabHint;
  bool FTabVisible = true, FTabEnabled = true, FShowClose = true, FShowCheckBox = false, FChecked = false;
  std::unique_ptr<ZorOzirazIrezi::TTabAppearance> FTabAppearance;
  bool FUseTabAppearance = false;
  std::unique_ptr<ZorOzirazIrezi::TVistaBackground> FPageAppearance;
  bool FUsePageAppearance = false;
  std::unique_ptr<TDizHintInfo> FOfficeHint;
  std::string FShortCutHint;
  TShortCutHintPos FShortCutHintPos = shpTop;
  // The size of the caption on the tab, kept with what it was measured for: the pager lays
  // every tab out on each repaint, scroll and page added, and measuring text is its dearest
  // step.
  struct TTabTextSize {
    // Caption holds the window's text while CaptionKnown: a change of the text (WM_SETTEXT,
    // CM_TEXTCHANGED) clears it, so laying the tabs out does not ask every window for its text.
    bool CaptionKnown = false;
    bool Valid = false, Horizontal = false, WordWrap = false;
    TAntiAlias AntiAlias = aaNone;
    std::string Caption;
    std::u16string WideCaption;
    std::string FontName;
    int FontHeight = 0, FontOrientation = 0, FontPixelsPerInch = 0;
    TFontStyles FontStyle;
    TFontCharset FontCharset = 0;
    TFontPitch FontPitch = fpDefault;
    int Width = 0, Height = 0;
  };
  TTabTextSize FTabTextSize;
  // The caption as the tab shows it (the window's text, fetched once per change).
  const std::string& TabCaption();
};

using TTabChangingEvent = std::function<void(TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;
using TOnClosePage = std::function<void(TObject* Sender, int PageIndex, bool& Allow)>;
using TOnClosedPage = std::function<void(TObject* Sender, int PageIndex)>;
using TOnPageListClick = std::function<void(TObject* Sender, int X, int Y)>;
using TTabMovedEvent = std::function<void(TObject* Sender, int FromPos, int ToPos)>;
using TDrawTabEvent = std::function<void(TObject* Sender, int TabIndex, TRect TabRect)>;
using TTabClickEvent = std::function<void(TObject* Sender, int PageIndex)>;

// The office pager.
class TZorOzirazIrezi : public TCustomControl, public IDockSiteHooks {
  LORM_PUBLISHED(TZorOzirazIrezi, TCustomControl)
public:
  // ---- docking (ZorOzirazIreziDock.cpp): a control docked onto the pager gets a page ----
  void DoAddDockClient(TControl* Client, const TRect& ARect) override;
  void DoRemoveDockClient(TControl* Client) override;
  void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  TControl* GetDockClientFromMousePos(TPoint P);
  TDizOfficePage* GetPageFromDockClient(TControl* Control);
  bool DockSite() const { return ::DockSite(this); }
  void SetDockSite(bool Value) { ::SetDockSite(this, Value); }
  // The pager's dock messages and the mouse that starts and ends docking; true when
  // the message was handled here.
  bool DockMessage(TMessage& Message);

  using TTabPosition = ZorOzirazIrezi::TTabPosition;
  explicit TZorOzirazIrezi(TComponent* AOwner);
  ~TZorOzirazIrezi() override;
  void WndProc(TMessage& Message) override;
  void SetParent(TWinControl* AParent) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Init() { FPropertiesLoaded = true; }
  void DefineProperties(TFiler* Filer) override;
  bool GetNextPictureChanged() const { return FButtonSettings->NextPictureChanged(); }
  bool GetPrevPictureChanged() const { return FButtonSettings->PrevPictureChanged(); }
  void SetNextPictureChanged(bool) {}
  void SetPrevPictureChanged(bool) {}

  int GetVersionNr() const;
  std::string Version() const;
  void SetVersion(const std::string&) {}

  // Pages.
  int GetDizOfficePageCount() const { return static_cast<int>(FPages.size()); }
  TDizOfficePage* GetDizPages(int Index) const;
  int IndexOfPage(const TDizOfficePage* Page) const;
  int AddDizPage(TDizOfficePage* Page);
  int AddDizPage(const std::string& Caption);
  void RemoveDizPage(TDizOfficePage* Page);
  void MoveDizPage(int CurIndex, int NewIndex);
  TDizOfficePage* FindNextPage(TDizOfficePage* CurPage, bool GoForward, bool CheckTabVisible) const;
  TRect GetDizPageRect();
  void SetPagePosition(TDizOfficePage* Page);
  void SetAllPagesPosition();

  // Activation.
  int ActivePageIndex() const { return FActivePageIndex; }
  TDizOfficePage* ActivePage() const;
  void SetActivePage(TDizOfficePage* Page);
  void SetActivePageIndex(int Index);
  void ChangeActivePage(int Index);
  void SelectNextPage(bool GoForward);

  // Styler link.
  TCustomZorOzirazIreziStyler* ZorOzirazIreziStyler() const { return FOfficePagerStyler; }
  void SetOfficePagerStyler(TCustomZorOzirazIreziStyler* Value);
  TCustomZorOzirazIreziStyler* CurrentStyler() const { return FCurrentStyler; }
  TCustomZorOzirazIreziStyler* InternalStyler() const { return FInternalStyler; }
  void UpdateMe(int Kind);

  // Layout.
  ZorOzirazIrezi::TPagerTabSettings* TabSettings() const { return FTabSettings.get(); }
  void SetTabSettings(ZorOzirazIrezi::TPagerTabSettings* Value) { FTabSettings->Assign(Value); }
  ZorOzirazIrezi::TPagerTabScroller* TabScroller() { return &FTabScroller; }
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition Value);
  bool RotateTabLeftRight() const { return FRotateTabLeftRight; }
  void SetRotateTabLeftRight(bool Value);
  int PageMargin() const { return FPageMargin; }
  void SetPageMargin(int Value);
  bool UseOldDrawing() const;
  int GetLeftRoundingOffset() const;
  int GetRightRoundingOffset() const;
  TRect GetTabsArea();
  TRect GetButtonsRect();
  TRect GetTabsRect();
  TRect GetTabRect(int StartIndex, int PageIndex, bool ConsiderTabScroller);
  TRect GetTabRect(int PageIndex) { return GetTabRect(0, PageIndex, true); }
  TSize GetTextSize(int PageIndex);
  TSize GetTabImageSize(int PageIndex);
  TRect GetCheckBoxRect(int PageIndex);
  TRect GetCloseButtonRect(int PageIndex);
  void GetCloseBtnImageAndTextRect(int PageIndex, TRect& CloseRect, TPoint& ImagePos, TRect& TextRect);
  TRect GetPageListRect();
  TRect GetTabScrollerRect();
  TRect GetTabScrollerFirstRect();
  TRect GetTabScrollerLeftRect();
  TRect GetTabScrollerRightRect();
  TRect GetTabScrollerLastRect();
  bool PtOnTabScrollLeftBtn(int X, int Y);
  bool PtOnTabScrollRightBtn(int X, int Y);
  int PTOnTab(int X, int Y);
  int IndexOfTabAt(int X, int Y) { return PTOnTab(X, Y); }
  bool PTOnCheckBox(int PageIndex, int X, int Y);
  bool CanShowTab(int Index) const;
  int GetVisibleTabCount() const;
  void InvalidateTab(int Index);
  void UpdateTabScroller();
  bool TabsUnderButtons() const { return FTabsUnderButtons; }

  // Buttons.
  TPageButtonSettings* ButtonSettings() const { return FButtonSettings.get(); }
  void SetButtonSettings(TPageButtonSettings* Value);
  bool CloseOnTab() const { return FCloseOnTab; }
  void SetCloseOnTab(bool Value);
  ZorOzirazIrezi::TCloseOnTabPos CloseOnTabPosition() const { return FCloseOnTabPosition; }
  void SetCloseOnTabPosition(ZorOzirazIrezi::TCloseOnTabPos Value);
  bool ShowCloseOnNonSelectedTabs() const { return FShowCloseOnNonSelectedTabs; }
  void SetShowCloseOnNonSelectedTabs(bool Value);
  TPopupMenu* PageListMenu() const { return FPageListMenu; }
  void SetPageListMenu(TPopupMenu* Value);
  bool FreeOnClose() const { return FFreeOnClose; }
  void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
  void InitializeAndUpdateButtons();
  bool CanShowCloseButton() const;
  bool AnyButtonVisible() const;
  bool CloseActivePage();
  void OnCloseButtonClick(TObject* Sender);
  void OnPageListButtonClick(TObject* Sender);
  void OnPageListMenuClick(TObject* Sender);
  void ScrollFirstBtnClick();
  void ScrollLeftBtnClick();
  void ScrollRightBtnClick();
  void ScrollLastBtnClick();
  TDovAvarOrodez* PagerCloseButton() const { return FCloseButton; }
  TDovAvarOrodez* PageListButton() const { return FPageListButton; }
  TDovAvarOrodez* ScrollPrevButton() const { return FTabScrollerLeftButton; }
  TDovAvarOrodez* ScrollNextButton() const { return FTabScrollerRightButton; }
  TDovAvarOrodez* ScrollFirstButton() const { return FTabScrollerFirstButton; }
  TDovAvarOrodez* ScrollLastButton() const { return FTabScrollerLastButton; }
  int PendingButtonFrees() const { return static_cast<int>(FPendingFree.size()); }

  // Look.
  bool ShowNonSelectedTabs() const { return FShowNonSelectedTabs; }
  void SetShowNonSelectedTabs(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool Glow() const { return FGlow; }
  void SetGlow(bool Value) { FGlow = Value; }
  bool IsActivePageNeighbour(int Index) const;
  // The colours a tab is painted with in its current state (hover and click glow included).
  struct TTabColors {
    TColor Color = clNone, ColorTo = clNone, ColorMirror = clNone, ColorMirrorTo = clNone, BorderColor = clNone;
    TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
    TColor TextColor = clNone, HighLightColor = clNone;
    bool Background = true, Focus = false;
  };
  TTabColors GetTabColors(int Index);

  // Input.
  bool ShowTabHint() const { return FShowTabHint; }
  void SetShowTabHint(bool Value) { FShowTabHint = Value; }
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  bool ShowShortCutHints() const { return FShowShortCutHints; }
  void SetShowShortCutHints(bool Value) { FShowShortCutHints = Value; }
  bool TabReorder() const { return FTabReorder; }
  void SetTabReorder(bool Value) { FTabReorder = Value; }
  int HotTabIndex() const { return FHotPageIndex; }
  void SetHotTabIndex(int Value) { FHotPageIndex = Value; }
  int PressedTabIndex() const { return FDownPageIndex; }
  bool TabDragging() const { return FTabDragging; }
  bool ShortCutHintMode() const { return FShowShortCutHint; }
  bool ParentFormHooked() const { return FHookedForm != nullptr; }
  void ShowShortCutHintOfAllPages();
  void HideShortCutHintOfAllPages();
  TShortCutHintWindow* CreateShortCutHintWin();
  void DestroyShortCutHintWin(TShortCutHintWindow* W);
  void SelectNextControlOfParent();

  // Events.
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;
  TOnClosePage OnClosePage;
  TOnClosedPage OnClosedPage;
  TOnPageListClick OnPageListClick;
  TTabMovedEvent OnTabMoved;
  TDrawTabEvent OnDrawTab;
  TTabClickEvent OnTabClick, OnTabDblClick, OnTabRightClick, OnTabCheckBoxClick;
  TNotifyEvent OnFirstClick, OnPrevClick, OnNextClick, OnLastClick;

protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  friend class TDizOfficePage;
  void DrawAllTabs();
  void DrawTab(int Index);
  void DrawTabScrollButtons();
  void OnTabSettingsChanged(TObject* Sender);
  void OnButtonSettingChanged(TObject* Sender);
  int ComputeFirstFitCount();
  // The length of a page's tab along the strip (its caption measured once per change).
  int TabLength(int PageIndex);
  // The strip the tabs are laid out in (to the far edge when they run under the buttons).
  TRect TabStrip();
  // GetTabRect(i) of every page, laid out in one pass.
  std::vector<TRect> AllTabRects();
  // Every tab's rectangle while a paint draws them all (empty otherwise).
  std::vector<TRect> FPaintTabRects;
  // Where the pages were placed last, and how many there were.
  TRect FPlacedPageRect{-1, -1, -1, -1};
  size_t FPlacedPages = size_t(-1);
  TDovAvarOrodez* NewButton(const TNotifyEvent& Click);
  void SetUpButton(TDovAvarOrodez* Button, const TRect& R, TGDIPPicture* Picture, const std::string& Hint);
  void FreeButton(TDovAvarOrodez*& Button);
  void DeferFree(TDovAvarOrodez* Button);
  void StartGlow(TDizOfficePage* Page, int Step, int State);
  bool HandleKeyDown(WORD Key);
  void KeyTipTyping(char32_t Ch);
  void HookParentForm();
  void UnhookParentForm();
  void OnParentFormMessage(TMessage& Message);
  void HandleMouseLeave();
  void HandleDialogChar(TMessage& Message);

  bool FIsComCtl6 = false;
  TCustomZorOzirazIreziStyler* FInternalStyler = nullptr;
  TCustomZorOzirazIreziStyler* FOfficePagerStyler = nullptr;
  TCustomZorOzirazIreziStyler* FCurrentStyler = nullptr;
  int FPageMargin = 1;
  std::vector<TDizOfficePage*> FPages;
  bool FPropertiesLoaded = false;
  std::unique_ptr<ZorOzirazIrezi::TPagerTabSettings> FTabSettings;
  ZorOzirazIrezi::TPagerTabScroller FTabScroller;
  int FActivePageIndex = -1, FHotPageIndex = -1, FDownPageIndex = -1, FOldHotPageIndex = -1, FHintPageIndex = -1;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  std::unique_ptr<TDizHintInfo> FOfficeHint;
  TTabPosition FTabPosition = ZorOzirazIrezi::tpTop;
  TAntiAlias FAntiAlias = aaClearType;
  std::unique_ptr<TPageButtonSettings> FButtonSettings;
  TPopupMenu* FPageListMenu = nullptr;
  bool FRotateTabLeftRight = true;
  bool FCloseOnTab = false;
  TDovAvarOrodez* FPageListButton = nullptr;
  TDovAvarOrodez* FTabScrollerLeftButton = nullptr;
  TDovAvarOrodez* FTabScrollerRightButton = nullptr;
  TDovAvarOrodez* FTabScrollerFirstButton = nullptr;
  TDovAvarOrodez* FTabScrollerLastButton = nullptr;
  TDovAvarOrodez* FCloseButton = nullptr;
  int FTabOffSet = 4;
  bool FTabsUnderButtons = false;
  bool FFreeOnClose = false;
  std::vector<TShortCutHintWindow*> FShortCutHintWinList;
  TCustomForm* FHookedForm = nullptr;
  bool FShowShortCutHint = false;
  std::string FShortCutChars;
  bool FShowShortCutHints = false, FTabReorder = false;
  bool FClosing = false;
  std::unique_ptr<TBitmap> FButtonsBkg;
  ZorOzirazIrezi::TCloseOnTabPos FCloseOnTabPosition = ZorOzirazIrezi::cpRight;
  bool FGlow = true, FTransparent = false, FShowCloseOnNonSelectedTabs = false;
  bool FShowNonSelectedTabs = false;
  bool FShowTabHint = false;
  // Close buttons waiting for their deferred free, by id.
  std::map<WPARAM, TDovAvarOrodez*> FPendingFree;
  TDizOfficePage* FDockPage = nullptr;    // made for a client docking now
  TDizOfficePage* FPageToFree = nullptr;  // left by a client undocking now
  // Tab reordering by dragging with the left button.
  bool FTabDragPending = false, FTabDragging = false;
  TPoint FTabDragStart{0, 0};
  WPARAM FNextFreeId = 1;
};

// The registered message that frees a close button after its click has returned.
UINT ZorOzirazIreziDestroyCloseBtnMessage();
