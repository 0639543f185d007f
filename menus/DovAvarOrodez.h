#pragma once
// DovAvarOrodez: the glow button family.
//
// TGlowButtonAppearance is the colour set of a glow button: per visual state (normal,
// hot, down, checked, disabled) the gradient of the upper half, the gradient of the
// lower ("mirror") half, the gradient kinds and a border colour. Tool bars and pagers
// keep further instances and copy them into their buttons with Assign.
//
// TDizCustomGlowButton is a windowed button painted through GDI+: a push button, a check
// button (Style bsCheck), a member of a group (GroupIndex) or a split or plain drop-down
// button. Its colours fade between states on a timer (GlowSpeed ms per tick, 20 % per
// tick); it repeats clicks while held (RepeatClick), answers an access key, Enter and Esc
// as default and cancel button, shows a key tip (TShortCutHintWindow) and reports its
// size in three size states to the tool bars that hold it. TDovAvarOrodez publishes it.
//
// TDBDovAvarOrodez performs one navigator action on the data set of a data source and
// enables itself from the data set's state.
//
// Colours are TColor ($00BBGGRR, system colours allowed). Colour arithmetic rounds to
// the nearest integer, halves to even, and clamps channels to 0..255.
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizGDIP.h"
#include "foundation/DizHintInfo.h"
#include "foundation/DizStyleIF.h"
#include "foundation/GDIPicture.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/DB.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Menus.h"

// The gradient kind of a glow-button half.
enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };

enum TDizButtonStyle { bsButton, bsCheck };
// absDropDown exists for compatibility and is never entered.
enum TDizButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };
// Size states of a button in a tool bar, smallest first.
enum TButtonSizeState { bsGlyph, bsLabel, bsLarge };
// Where a button sits in a row of joined buttons: which corners are round.
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };
enum TDropDownPosition { dpRight, dpBottom };
enum TDropDownDirection { ddRight, ddDown };
enum TFocusType { ftBorder, ftHot, ftHotBorder, ftNone };
enum TShortCutHintPos {
  shpLeft, shpTop, shpRight, shpBottom, shpCenter, shpAuto, shpTopLeft, shpTopRight, shpAboveTop,
  shpAboveTopLeft, shpAboveTopRight, shpBottomLeft, shpBottomRight, shpBelowBottom, shpBelowBottomLeft,
  shpBelowBottomRight, shpBelowBottomCenter
};
// The look reported to OnDrawButton (scoped: the grid has its own gsNormal).
enum class TGlowButtonState { gsNormal, gsHot, gsDown };

const TEnumInfo* GDIPGradientInfo();
const TEnumInfo* GlowButtonLayoutInfo();

// Interval of every glow-fade timer, in milliseconds; read when a timer is created.
extern int GlowSpeed;

// ---------------------------------------------------------------------------------------
class TGlowButtonAppearance : public TPersistent {
  LORM_PUBLISHED(TGlowButtonAppearance, TPersistent)
public:
  TGlowButtonAppearance();
  // Copies every property from another appearance through the setters (each change
  // notifies once); other sources go to TPersistent::Assign.
  void Assign(TPersistent* Source) override;

#define LORM_GLOW_COLOR(Name)                                   \
  TColor Name() const { return F##Name; }                       \
  void Set##Name(TColor Value) { SetValue(F##Name, Value); }
  LORM_GLOW_COLOR(BorderColor)
  LORM_GLOW_COLOR(BorderColorHot)
  LORM_GLOW_COLOR(BorderColorDown)
  LORM_GLOW_COLOR(BorderColorChecked)
  LORM_GLOW_COLOR(BorderColorDisabled)
  LORM_GLOW_COLOR(Color)
  LORM_GLOW_COLOR(ColorTo)
  LORM_GLOW_COLOR(ColorChecked)
  LORM_GLOW_COLOR(ColorCheckedTo)
  LORM_GLOW_COLOR(ColorDisabled)
  LORM_GLOW_COLOR(ColorDisabledTo)
  LORM_GLOW_COLOR(ColorDown)
  LORM_GLOW_COLOR(ColorDownTo)
  LORM_GLOW_COLOR(ColorHot)
  LORM_GLOW_COLOR(ColorHotTo)
  LORM_GLOW_COLOR(ColorMirror)
  LORM_GLOW_COLOR(ColorMirrorTo)
  LORM_GLOW_COLOR(ColorMirrorHot)
  LORM_GLOW_COLOR(ColorMirrorHotTo)
  LORM_GLOW_COLOR(ColorMirrorDown)
  LORM_GLOW_COLOR(ColorMirrorDownTo)
  LORM_GLOW_COLOR(ColorMirrorChecked)
  LORM_GLOW_COLOR(ColorMirrorCheckedTo)
  LORM_GLOW_COLOR(ColorMirrorDisabled)
  LORM_GLOW_COLOR(ColorMirrorDisabledTo)
#undef LORM_GLOW_COLOR
#define LORM_GLOW_GRADIENT(Name)                                \
  TGDIPGradient Name() const { return F##Name; }                \
  void Set##Name(TGDIPGradient Value) { SetValue(F##Name, Value); }
  LORM_GLOW_GRADIENT(Gradient)
  LORM_GLOW_GRADIENT(GradientMirror)
  LORM_GLOW_GRADIENT(GradientHot)
  LORM_GLOW_GRADIENT(GradientMirrorHot)
  LORM_GLOW_GRADIENT(GradientDown)
  LORM_GLOW_GRADIENT(GradientMirrorDown)
  LORM_GLOW_GRADIENT(GradientChecked)
  LORM_GLOW_GRADIENT(GradientMirrorChecked)
  LORM_GLOW_GRADIENT(GradientDisabled)
  LORM_GLOW_GRADIENT(GradientMirrorDisabled)
#undef LORM_GLOW_GRADIENT
  bool SystemFont() const { return FSystemFont; }
  void SetSystemFont(bool Value) { SetValue(FSystemFont, Value); }

  // Called (with the appearance as sender) after each property that really changed.
  TNotifyEvent OnChange;

protected:
  virtual void Changed();

private:
  template <class T>
  void SetValue(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TColor FBorderColor = 0, FBorderColorHot = 0, FBorderColorDown = 0, FBorderColorChecked = 0,
         FBorderColorDisabled = 0;
  TColor FColor = 0, FColorTo = 0, FColorChecked = 0, FColorCheckedTo = 0, FColorDisabled = 0,
         FColorDisabledTo = 0, FColorDown = 0, FColorDownTo = 0, FColorHot = 0, FColorHotTo = 0;
  TColor FColorMirror = 0, FColorMirrorTo = 0, FColorMirrorHot = 0, FColorMirrorHotTo = 0, FColorMirrorDown = 0,
         FColorMirrorDownTo = 0, FColorMirrorChecked = 0, FColorMirrorCheckedTo = 0, FColorMirrorDisabled = 0,
         FColorMirrorDisabledTo = 0;
  TGDIPGradient FGradient = ggVertical, FGradientMirror = ggVertical, FGradientHot = ggRadial,
                FGradientMirrorHot = ggRadial, FGradientDown = ggRadial, FGradientMirrorDown = ggRadial,
                FGradientChecked = ggRadial, FGradientMirrorChecked = ggVertical, FGradientDisabled = ggRadial,
                FGradientMirrorDisabled = ggRadial;
  bool FSystemFont = true;
};

// ---------------------------------------------------------------------------------------
// Drawing routines of the glow button and its key tips. They create the GDI+ objects they
// need and free them before returning. Rectangles are (Left, Top, Right, Bottom); outlines
// take (X, Y, W, H, R) with R the corner radius.
namespace glowdraw {
// Per channel (system colours resolved first): round(c * min(100, 100 + p) / 100) for a
// non-zero channel, max(0, p) for a zero one.
TColor ShadeColorRGB(TColor Color, int PercentRed, int PercentGreen, int PercentBlue);
TColor ShadeColor(TColor Color, int Percent);
// Color1 at Percent >= 100, Color2 at Percent <= 0, else the per-channel mix.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
// A stepped GDI gradient of Steps bands (at least one).
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Steps);
// Fills one half of a button: Color1 is the "to" colour of an upper half (ColorTo) and
// the mirror colour of a lower half (ColorMirror).
void FillGlowGradient(TGPGraphics* Graphics, const TRect& R, TColor Color1, TColor Color2, TGDIPGradient Kind,
                      bool UpperHalf);
void DrawGlowOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R);
void DrawLeftOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R);
void DrawMiddleOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R, bool Lit);
void DrawRightOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R, bool Lit);
void DrawFocusOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R);
// The 5 × 3 arrow with highlight pixels, pointing down or right.
void DrawDropDownArrow(TCanvas* Canvas, TPoint P, TColor Color, bool PointsDown, TColor Highlight);
// Bitmap pictures keep their bottom-left colour as transparent; other formats draw
// through GDI+. Raise "Could not allocate memory for image" when the image memory
// cannot be had.
void DrawPictureStretched(TGPGraphics* Graphics, TCanvas* Canvas, const TRect& R, TGDIPPicture* Picture);
void DrawPictureAt(TGPGraphics* Graphics, TPoint P, TGDIPPicture* Picture);
void DrawImageListImage(TGPGraphics* Graphics, TPoint P, TCustomImageList* Images, bool Enabled, int Index);
}  // namespace glowdraw

// ---------------------------------------------------------------------------------------
// A key tip: a small pop-up with a gradient background showing an access key.
class TShortCutHintWindow : public THintWindow {
  LORM_PUBLISHED(TShortCutHintWindow, THintWindow)
public:
  explicit TShortCutHintWindow(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  // Color (the control's colour) is the top of the background gradient.
  void SetColor(TColor Value) override;
  TColor ColorTo() const { return FColorTo; }
  void SetColorTo(TColor Value);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

private:
  TColor FColorTo = clWhite;
};

class TDizCustomGlowButton;
using TGlowButtonDrawEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect, TGlowButtonState State)>;
using TSetButtonSizeEvent = std::function<void(TObject* Sender, int& W, int& H)>;
using TOnGetShortCutHintPos =
    std::function<void(TObject* Sender, TButtonSizeState ButtonSizeState, TShortCutHintPos& ShortCutHintPosition)>;
using TContainerKeyDownEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

// The link to an action: keeps the button's Down, GroupIndex and image in step.
class TDovAvarOrodezActionLink : public TControlActionLink {
  LORM_CLASS(TDovAvarOrodezActionLink, TControlActionLink)
public:
  explicit TDovAvarOrodezActionLink(TDizCustomGlowButton* AClient);
  bool IsCheckedLinked() const override;
  bool IsGroupIndexLinked() const override;
  bool IsImageIndexLinked() const override;
  void SetChecked(bool Value) override;
  void SetGroupIndex(int Value) override;
  void SetImageIndex(int Value) override;

private:
  TDizCustomGlowButton* FClient;
  int FImageIndex = -1;
};

// ---------------------------------------------------------------------------------------
class TDizCustomGlowButton : public TCustomControl, public IDizStyle {
  LORM_PUBLISHED(TDizCustomGlowButton, TCustomControl)
public:
  explicit TDizCustomGlowButton(TComponent* AOwner);
  ~TDizCustomGlowButton() override;
  void WndProc(TMessage& Message) override;
  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Click() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void SetComponentStyle(DUZERazav AStyle) override;

  // Clicks as a key tip or Enter/Esc do: drop-down buttons open their menu.
  void InternalClick();
  void DoDropDown();
  // The size the button would take in that size state (tool bars fit rows with it).
  TPoint GetButtonSize(TButtonSizeState SizeState);
  void ShowShortCutHint();
  void HideShortCutHint();
  TShortCutHintWindow* ShortCutHintWindow() const { return FShortCutHint.get(); }

  virtual int GetVersionNr() const;
  std::string Version() const;
  void SetVersion(const std::string&) {}

  // ---- properties ----
  TGlowButtonAppearance* Appearance() const { return FAppearance.get(); }
  void SetAppearance(TGlowButtonAppearance* Value);
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  bool AutoSize() const { return FAutoSizeOn; }
  void SetAutoSize(bool Value) override;
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* HotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TGDIPPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TGDIPPicture* Value) { FPicture->Assign(Value); }
  TGDIPPicture* DisabledPicture() const { return FDisabledPicture.get(); }
  void SetDisabledPicture(TGDIPPicture* Value);
  TGDIPPicture* HotPicture() const { return FHotPicture.get(); }
  void SetHotPicture(TGDIPPicture* Value) { FHotPicture->Assign(Value); }
  TFocusType FocusType() const { return FFocusType; }
  void SetFocusType(TFocusType Value) { FFocusType = Value; }
  int MarginVert() const { return FMarginVert; }
  void SetMarginVert(int Value);
  int MarginHorz() const { return FMarginHorz; }
  void SetMarginHorz(int Value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  TStrings* Notes() const { return FNotes.get(); }
  void SetNotes(TStrings* Value);
  TFont* NotesFont() const { return FNotesFont.get(); }
  void SetNotesFont(TFont* Value);
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  TButtonPosition Position() const { return FPosition; }
  void SetPosition(TButtonPosition Value);
  int InitRepeatPause() const { return FInitRepeatPause; }
  void SetInitRepeatPause(int Value) { FInitRepeatPause = Value; }
  int RepeatPause() const { return FRepeatPause; }
  void SetRepeatPause(int Value) { FRepeatPause = Value; }
  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool Value) { FRepeatClick = Value; }
  bool Rounded() const { return FRounded; }
  void SetRounded(bool Value);
  const std::string& ShortCutHint() const { return FShortCutHintText; }
  void SetShortCutHint(const std::string& Value) { FShortCutHintText = Value; }
  TShortCutHintPos ShortCutHintPos() const { return FShortCutHintPos; }
  void SetShortCutHintPos(TShortCutHintPos Value) { FShortCutHintPos = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // The tool bar customizer's command bound to the button (-1: none) and whether the
  // customizer made the button.
  int CommandID() const { return FCommandID; }
  void SetCommandID(int Value) { FCommandID = Value; }
  bool MadeByCustomizer() const { return FMadeByCustomizer; }
  void SetMadeByCustomizer(bool Value) { FMadeByCustomizer = Value; }
  bool ShowDisabled() const { return FShowDisabled; }
  void SetShowDisabled(bool Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  StringTrimming Trimming() const { return FTrimming; }
  void SetTrimming(StringTrimming Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  TDizButtonStyle Style() const { return FStyle; }
  void SetStyle(TDizButtonStyle Value) { FStyle = Value; }
  TButtonSizeState MaxButtonSizeState() const { return FMaxButtonSizeState; }
  void SetMaxButtonSizeState(TButtonSizeState Value);
  TButtonSizeState MinButtonSizeState() const { return FMinButtonSizeState; }
  void SetMinButtonSizeState(TButtonSizeState Value);
  bool DropDownButton() const { return FDropDownButton; }
  void SetDropDownButton(bool Value);
  TDropDownPosition DropDownPosition() const { return FDropDownPosition; }
  void SetDropDownPosition(TDropDownPosition Value);
  TDropDownDirection DropDownDirection() const { return FDropDownDirection; }
  void SetDropDownDirection(TDropDownDirection Value);
  bool DropDownSplit() const { return FDropDownSplit; }
  void SetDropDownSplit(bool Value) { FDropDownSplit = Value; }
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);

  const std::u16string& WideCaption() const { return FWideCaption; }
  void SetWideCaption(const std::u16string& Value);
  TButtonSizeState ButtonSizeState() const { return FButtonSizeState; }
  void SetButtonSizeState(TButtonSizeState Value);
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value) { FDroppedDown = Value; }

  TNotifyEvent OnDropDown;
  TGlowButtonDrawEvent OnDrawButton;
  // Hooks of a containing tool bar.
  TContainerKeyDownEvent OnContainerKeyDown;
  TNotifyEvent OnContainerClick;
  TSetButtonSizeEvent OnSetButtonSize;
  TOnGetShortCutHintPos OnGetShortCutHintPos;

  // ---- run-time state (read by tests and containers) ----
  TDizButtonState ButtonState() const { return FState; }
  bool MouseInside() const { return FMouseInside; }
  bool Hot() const { return FHot; }
  bool Pressed() const { return FPressed; }
  bool Tracking() const { return FTracking; }
  bool OverDropDownPart() const { return FOverDropDownPart; }
  bool IsFocused() const { return FFocused; }
  bool DefaultActive() const { return FDefaultActive; }
  int HotProgress() const { return FHotProgress; }
  int DownProgress() const { return FDownProgress; }
  // True while a glow fade runs.
  bool GlowTimerRunning() const { return FGlowTimer && FGlowTimer->Enabled(); }
  TTimer* RepeatTimer() const { return FRepeatTimer.get(); }
  // Descendants that draw no background and no outline set this.
  bool NoBackground() const { return FNoBackground; }
  void SetNoBackground(bool Value) { FNoBackground = Value; }

  bool IsFontStored() const { return !ParentFont(); }

  // The content painter: draws (or with MeasureOnly only measures) the button's content
  // into R and answers the content size.
  struct TDrawParams {
    TColor Color = clWhite, ColorTo = clWhite, ColorMirror = clWhite, ColorMirrorTo = clWhite, BorderColor = clGray;
    TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
    std::string Caption;
    std::u16string WideCaption;
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    bool ImagesEnabled = true;
    TButtonLayout Layout = blGlyphLeft;
    bool DropDownButton = false;
    bool Lit = false;
    bool Enabled = true;
    bool FocusFrame = false;
    TDropDownPosition DropDownPosition = dpRight;
    TGDIPPicture* Picture = nullptr;
    int ForcedWidth = 0, ForcedHeight = 0;
    TAntiAlias AntiAlias = aaClearType;
    TBitmap* ToolImage = nullptr;
    int DropDownPartState = 0;  // 0 none, 1 live, 2 the mouse is over it
    bool NoBackground = false;
    bool MouseInside = false;
    TButtonPosition Position = bpStandalone;
    bool DropDownSplit = true;
    bool Border = true;
    bool WordWrap = true;
    bool MeasureOnly = false;
    bool Rounded = true;
    bool ArrowDown = true;
    int Spacing = 2;
    StringTrimming Trimming = StringTrimmingNone;
    TStrings* Notes = nullptr;
    TFont* NotesFont = nullptr;
    bool Down = false;
    TFont* Font = nullptr;
  };
  TPoint DrawGlowButton(TCanvas* Canvas, const TRect& R, const TDrawParams& P);

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoEnter() override;
  void DoExit() override;

  virtual void TimerExpired(TObject* Sender);
  virtual void DrawGlyphCaption() {}
  virtual void GetToolImage(TBitmap* Bitmap) {}
  virtual bool IsMenuButton() const { return false; }
  virtual bool CanDrawBorder() const { return FBorderStyle == bsSingle; }
  virtual bool CanDrawFocused() const { return FFocused && (FFocusType == ftBorder || FFocusType == ftHotBorder); }
  bool ActionHasImages() const;
  void PerformResize();
  void UpdateExclusive();
  void UpdateTracking();
  void PopupBtnDown();
  // The internal glyph list (only the data-aware button fills it).
  TCustomImageList* GlyphList() const { return FGlyphList.get(); }
  TCustomImageList* EnsureGlyphList();

  TDizButtonState FState = absUp;

private:
  friend class TDovAvarOrodezActionLink;
  void HandleMouseEnter(TMessage& Message);
  void HandleMouseLeave(TMessage& Message);
  void HandleLButtonUp(TMessage& Message);
  void HandleDialogChar(TMessage& Message);
  void HandleDialogKey(TMessage& Message);
  void HandleButtonPressed(TMessage& Message);
  void EnsureGlowTimer();
  void GlowTimerTick(TObject* Sender);
  void AppearanceChanged(TObject* Sender);
  void PictureChanged(TObject* Sender);
  void ImageListChange(TObject* Sender);
  void PopupMenuAt();
  void PaintParentBackground(HDC DC, HRGN Clip);
  bool InsideClient(int X, int Y);
  void RefreshShortCutHintColors();
  void FillDrawParams(TDrawParams& P, bool Hot, bool ForSize);

  std::unique_ptr<TGlowButtonAppearance> FAppearance;
  TAntiAlias FAntiAlias = aaClearType;
  bool FAutoSizeOn = false;
  TBorderStyle FBorderStyle = bsSingle;
  bool FCancel = false, FDefault = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  std::unique_ptr<TChangeLink> FImagesLink, FDisabledImagesLink, FHotImagesLink;
  int FImageIndex = -1;
  std::unique_ptr<TGDIPPicture> FPicture, FDisabledPicture, FHotPicture;
  TFocusType FFocusType = ftBorder;
  int FMarginVert = 1, FMarginHorz = 1;
  int FModalResult = 0;
  std::unique_ptr<TStringList> FNotes;
  std::unique_ptr<TFont> FNotesFont;
  std::unique_ptr<TDizHintInfo> FOfficeHint;
  TButtonPosition FPosition = bpStandalone;
  int FInitRepeatPause = 400, FRepeatPause = 100;
  bool FRepeatClick = false;
  bool FRounded = true;
  std::string FShortCutHintText;
  TShortCutHintPos FShortCutHintPos = shpTop;
  int FCommandID = -1;
  bool FMadeByCustomizer = false;
  bool FShowCaption = true;
  bool FShowDisabled = true;
  int FSpacing = 2;
  bool FTransparent = false;
  StringTrimming FTrimming = StringTrimmingNone;
  bool FWordWrap = true;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FLoadedDown = false;
  int FGroupIndex = 0;
  TButtonLayout FLayout = blGlyphLeft;
  TDizButtonStyle FStyle = bsButton;
  TButtonSizeState FMaxButtonSizeState = bsLarge, FMinButtonSizeState = bsGlyph;
  bool FDropDownButton = false;
  TDropDownPosition FDropDownPosition = dpRight;
  TDropDownDirection FDropDownDirection = ddDown;
  bool FDropDownSplit = true;
  TPopupMenu* FDropDownMenu = nullptr;
  std::u16string FWideCaption;
  TButtonSizeState FButtonSizeState = bsLarge;
  TButtonLayout FLargeLayout = blGlyphLeft;
  TDropDownPosition FLargeDropDownPosition = dpRight;
  bool FDroppedDown = false;

  bool FMouseInside = false, FHot = false, FTracking = false, FPressed = false, FResumePressed = false;
  bool FLeftButtonHeld = false, FPressPending = false, FOverDropDownPart = false, FFocused = false;
  bool FDefaultActive = false;
  bool FPainting = false;
  bool FResizeRequest = true, FMeasureRequest = false;
  bool FCheckedLinked = false, FGroupLinked = false;
  bool FNoBackground = false;
  enum TFadeKind { fkIdle, fkHot, fkDown };
  std::unique_ptr<TTimer> FGlowTimer;
  int FHotProgress = 0, FDownProgress = 0, FFadeStep = 20;
  TFadeKind FFadeKind = fkIdle;
  std::unique_ptr<TTimer> FRepeatTimer;
  std::unique_ptr<TShortCutHintWindow> FShortCutHint;
  std::unique_ptr<TCustomImageList> FGlyphList;
};

class TDovAvarOrodez : public TDizCustomGlowButton {
  LORM_PUBLISHED(TDovAvarOrodez, TDizCustomGlowButton)
public:
  using TDizCustomGlowButton::TDizCustomGlowButton;
};

// Makes the framework's PaintControls callable from other units.
class TWinCtrl : public TWinControl {
  LORM_CLASS(TWinCtrl, TWinControl)
public:
  using TWinControl::TWinControl;
  void PaintCtrls(HDC DC, TControl* First) { PaintControls(DC, First); }
};

// ---------------------------------------------------------------------------------------
// The data-aware glow button.
enum TDBGlowButtonType {
  dbCustom, dbFirst, dbPrior, dbNext, dbLast, dbInsert, dbAppend, dbDelete, dbEdit, dbPost, dbCancel, dbRefresh
};
enum TDBBDisableControl { drBOF, drEOF, drReadonly, drNotEditing, drEditing, drEmpty, drEvent };
using TDBBDisableControls = TSet<TDBBDisableControl>;
using TBeforeActionEvent = std::function<void(TObject* Sender, bool& DoAction)>;
using TAfterActionEvent = std::function<void(TObject* Sender, bool& ShowException)>;
using TGetConfirmEvent =
    std::function<void(TObject* Sender, std::string& Question, TMsgDlgButtons& Buttons, int& HelpCtx)>;
using TGetEnabledEvent = std::function<void(TObject* Sender, bool& Enabled)>;

class TDBGlowButtonDataLink : public TDataLink {
  LORM_CLASS(TDBGlowButtonDataLink, TDataLink)
public:
  TNotifyEvent OnEditingChanged;
  TNotifyEvent OnDataSetChanged;
  TNotifyEvent OnActiveChanged;

protected:
  void ActiveChanged() override;
  void DataSetChanged() override;
  void EditingChanged() override;
};

class TDBDovAvarOrodez : public TDizCustomGlowButton {
  LORM_PUBLISHED(TDBDovAvarOrodez, TDizCustomGlowButton)
public:
  explicit TDBDovAvarOrodez(TComponent* AOwner);
  ~TDBDovAvarOrodez() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Click() override;

  bool AutoDisable() const { return FAutoDisable; }
  void SetAutoDisable(bool Value) { FAutoDisable = Value; }
  bool ConfirmAction() const { return FConfirmAction; }
  void SetConfirmAction(bool Value) { FConfirmAction = Value; }
  const std::string& ConfirmActionString() const { return FConfirmActionString; }
  void SetConfirmActionString(const std::string& Value);
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  TDBGlowButtonType DBButtonType() const { return FDBButtonType; }
  void SetDBButtonType(TDBGlowButtonType Value);
  TDBBDisableControls DisableControl() const { return FDisableControl; }
  void SetDisableControl(TDBBDisableControls Value) { FDisableControl = Value; }
  // The reasons that hold for the data set now.
  TDBBDisableControls CalcDisableReasons();

  TBeforeActionEvent OnBeforeAction;
  TAfterActionEvent OnAfterAction;
  TGetConfirmEvent OnGetConfirm;
  TGetEnabledEvent OnGetEnabled;
  TNotifyEvent OnEnabledChanged;

  virtual void DoBeforeAction(bool& DoIt);
  virtual void DoGetQuestion(std::string& Question, TMsgDlgButtons& Buttons, int& HelpCtx);
  virtual bool DoConfirmAction();
  virtual void DoAction();
  virtual void UpdateEnabled();
  virtual void LoadGlyph();

private:
  void LinkChanged(TObject* Sender) { UpdateEnabled(); }
  bool FAutoDisable = true;
  bool FConfirmAction = false;
  std::string FConfirmActionString;
  TDBGlowButtonType FDBButtonType = dbCustom;
  TDBBDisableControls FDisableControl;
  std::unique_ptr<TDBGlowButtonDataLink> FDataLink;
  bool FUpdating = false;
};
