#pragma once
// DizOfficeStatusBar: the office-look status bar. Its panels (an owned collection) show
// mark-up, text, the time or date, key states, a progress gauge, images or an animation;
// a 100 ms window timer (identifier 111) keeps clock, key-state, blinking and animation
// panels current; the colours come from a status-bar styler (the bar's own internal one
// when none is named). The unit's drawing primitives (gradients, the panel background,
// the gauge, single-line text with end or path ellipsis) are in namespace
// DizOfficeStatusBar.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DizGDIP.h"
#include "foundation/DizHintInfo.h"
#include "foundation/PictureContainer.h"
#include "office/DizOfficeStatusBarStylers.h"
#include "platform/rtl/Classes.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

class TDizOfficeStatusBar;
class TDizOfficeStatusPanel;

namespace DizOfficeStatusBar {
enum TDizOfficeStatusPanelStyle {
  psHTML, psText, psOwnerDraw, psTime, psDate, psNumLock, psCapsLock, psScrollLock, psProgress, psImage, psImageList,
  psAnimation, psEllipsText, psFileEllipsText
};
enum TDizOfficeStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TPanelAppearanceStyle { psLight, psDark };
enum TProgressIndication { piPercentage, piAbsolute, piNone };
enum TGaugeOrientation { goHorizontal, goVertical };

struct TGaugeSettings {
  TColor Level0Color = clLime, Level0ColorTo = 0xE1FFE1, Level1Color = clYellow, Level1ColorTo = 0xCAFFFF;
  TColor Level2Color = 0x53A9FF, Level2ColorTo = 0xA8D3FF, Level3Color = clRed, Level3ColorTo = 0xCACAFF;
  int Level1Perc = 70, Level2Perc = 90;
  TColor BorderColor = clBlack;
  bool ShowBorder = false, Stacked = false, ShowPercentage = true;
  TFont* Font = nullptr;
  bool CompletionSmooth = false, ShowGradient = true;
  int Steps = 11;
  int Position = 0;
  TColor BackGround = clNone;
  TGaugeOrientation Orientation = goHorizontal;
  bool ValueIsPercentage = true;
  std::string Suffix, Prefix, Text;
};

void DrawRectangle(TCanvas* Canvas, const TRect& R, TColor Color);
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal);
// Percent of Color1 with the rest of Color2; 100 or more gives Color1, 0 or less Color2.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
void DrawTwoPartGradient(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor);
void DivideInSegment(TCanvas* Canvas, const TRect& R, int Position, const TGaugeSettings& Settings,
                     const TRect& GaugeRect, TBitmap* Bitmap);
// The percentage a gauge shows for Position within Min..Max (Position is kept inside the
// range; an empty range shows 0).
int GaugePercent(int Min, int Max, int Position);
// Value is the percentage; it is limited to 0..100.
void DrawGauge(TCanvas* Canvas, TRect R, int Value, const TGaugeSettings& Settings);
void DrawPanelText(TCanvas* Canvas, TAlignment Alignment, UINT Format, const TRect& DrawRect, std::string Text,
                   TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias, bool Ellipsis, TRect& TextRect);
// Shortens Path from the left ("...\") until its canvas width fits MaxWidth.
std::string FitPathToWidth(const std::string& Path, TCanvas* Canvas, int MaxWidth);
// The same with the width measured by Width, as the text will be drawn.
std::string FitPathToWidth(const std::string& Path, const std::function<double(const std::string&)>& Width,
                           double MaxWidth);
void DropFirstFolder(std::string& Folder);
bool IsVectorFont(TCanvas* Canvas);
}  // namespace DizOfficeStatusBar

// ---------------------------------------------------------------------------------------
class TProgressStyle : public TPersistent {
  LORM_PUBLISHED(TProgressStyle, TPersistent)
public:
  explicit TProgressStyle(TDizOfficeStatusPanel* APanel = nullptr) : FPanel(APanel) {}
  // Copies every setting (without a repaint); another class raises EInvalidCast.
  void Assign(TPersistent* Source) override;

#define LORM_PROGRESS_VALUE(Type, Name, Init) \
  Type Name() const { return F##Name; }       \
  void Set##Name(Type Value) {                \
    F##Name = Value;                          \
    Changed();                                \
  }                                           \
                                              \
private:                                      \
  Type F##Name = Init;                        \
                                              \
public:
  LORM_PROGRESS_VALUE(TColor, BackGround, clNone)
  LORM_PROGRESS_VALUE(DizOfficeStatusBar::TProgressIndication, Indication, DizOfficeStatusBar::piPercentage)
  LORM_PROGRESS_VALUE(int, Min, 0)
  LORM_PROGRESS_VALUE(int, Max, 100)
  LORM_PROGRESS_VALUE(int, Position, 0)
  LORM_PROGRESS_VALUE(TColor, Level0Color, clLime)
  LORM_PROGRESS_VALUE(TColor, Level0ColorTo, TColor(0xE1FFE1))
  LORM_PROGRESS_VALUE(TColor, Level1Color, clYellow)
  LORM_PROGRESS_VALUE(TColor, Level1ColorTo, TColor(0xCAFFFF))
  LORM_PROGRESS_VALUE(TColor, Level2Color, TColor(0x53A9FF))
  LORM_PROGRESS_VALUE(TColor, Level2ColorTo, TColor(0xA8D3FF))
  LORM_PROGRESS_VALUE(TColor, Level3Color, clRed)
  LORM_PROGRESS_VALUE(TColor, Level3ColorTo, TColor(0xCACAFF))
  LORM_PROGRESS_VALUE(int, Level1Perc, 70)
  LORM_PROGRESS_VALUE(int, Level2Perc, 90)
  LORM_PROGRESS_VALUE(TColor, BorderColor, clBlack)
  LORM_PROGRESS_VALUE(bool, ShowBorder, false)
  LORM_PROGRESS_VALUE(bool, Stacked, false)
  LORM_PROGRESS_VALUE(bool, ShowPercentage, true)
  LORM_PROGRESS_VALUE(bool, CompletionSmooth, false)
  LORM_PROGRESS_VALUE(bool, ShowGradient, true)
  LORM_PROGRESS_VALUE(std::string, Suffix, "")
  LORM_PROGRESS_VALUE(std::string, Prefix, "")
#undef LORM_PROGRESS_VALUE

private:
  void Changed();
  TDizOfficeStatusPanel* FPanel;
};

class TDizOfficeStatusPanel : public TCollectionItem {
  LORM_PUBLISHED(TDizOfficeStatusPanel, TCollectionItem)
public:
  explicit TDizOfficeStatusPanel(TCollection* Collection);
  ~TDizOfficeStatusPanel() override;
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;

  TDizOfficeStatusBar* Bar() const;
  // One step of the gauge, stopping at Max.
  void StepIt();
  int GetImageIndexes(int Index) const;
  void SetImageIndexes(int Index, int Value);
  void ClearImageIndexes() { FImageIndexes.Clear(); }
  int ImageCount() const { return FImageIndexes.Count(); }
  int AnimationFrame = 0;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Animated() const { return FAnimated; }
  void SetAnimated(bool Value);
  TCustomImageList* AnimationImages() const { return FAnimationImages; }
  void SetAnimationImages(TCustomImageList* Value);
  int AnimationDelay() const { return FAnimationDelay; }
  void SetAnimationDelay(int Value);
  DizOfficeStatusBar::TPanelAppearanceStyle AppearanceStyle() const { return FAppearanceStyle; }
  void SetAppearanceStyle(DizOfficeStatusBar::TPanelAppearanceStyle Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool Button() const { return FButton; }
  void SetButton(bool Value);
  const std::string& DateFormat() const { return FDateFormat; }
  void SetDateFormat(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int HTMLOffsetX() const { return FHTMLOffsetX; }
  void SetHTMLOffsetX(int Value);
  int HTMLOffsetY() const { return FHTMLOffsetY; }
  void SetHTMLOffsetY(int Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { FMinWidth = ClampCoordinate(Value); }
  TProgressStyle* Progress() const { return FProgress.get(); }
  void SetProgress(TProgressStyle* Value);
  DizOfficeStatusBar::TDizOfficeStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(DizOfficeStatusBar::TDizOfficeStatusPanelStyle Value);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  const std::string& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const std::string& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  DizOfficeStatusBar::TDizOfficeStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(DizOfficeStatusBar::TDizOfficeStatusPanelBevel Value);

private:
  void Change();
  void ItemChanged(bool AllItems) { Changed(AllItems); }
  TAlignment FAlignment = taLeftJustify;
  bool FAnimated = false;
  TCustomImageList* FAnimationImages = nullptr;
  int FAnimationDelay = 0;
  DizOfficeStatusBar::TPanelAppearanceStyle FAppearanceStyle = DizOfficeStatusBar::psLight;
  bool FAutoSize = false;
  bool FButton = false;
  std::string FDateFormat;
  bool FEnabled = true;
  int FHTMLOffsetX = 2, FHTMLOffsetY = 2;
  int FImageIndex = -1;
  int FMinWidth = 20;
  std::unique_ptr<TProgressStyle> FProgress;
  DizOfficeStatusBar::TDizOfficeStatusPanelStyle FStyle = DizOfficeStatusBar::psHTML;
  std::string FText;
  std::string FTimeFormat;
  int FWidth = 50;
  std::unique_ptr<TDizHintInfo> FOfficeHint;
  DizOfficeStatusBar::TDizOfficeStatusPanelBevel FBevel = DizOfficeStatusBar::pbNone;
  TStringList FImageIndexes;
};

class TDizOfficeStatusPanels : public TOwnedCollection {
  LORM_CLASS(TDizOfficeStatusPanels, TOwnedCollection)
public:
  explicit TDizOfficeStatusPanels(TDizOfficeStatusBar* Bar);
  TDizOfficeStatusPanel* Add() { return static_cast<TDizOfficeStatusPanel*>(TCollection::Add()); }
  TDizOfficeStatusPanel* Items(int Index) const { return static_cast<TDizOfficeStatusPanel*>(TCollection::Items(Index)); }
  void SetItem(int Index, TDizOfficeStatusPanel* Value) { Items(Index)->Assign(Value); }
  TDizOfficeStatusBar* Bar() const { return FBar; }
  void Change() {
    if (OnChange) OnChange(this);
  }
  TNotifyEvent OnChange;

protected:
  void Update(TCollectionItem* Item) override;

private:
  TDizOfficeStatusBar* FBar;
};

// The hidden control that carries a panel's office hint to the hint machinery.
class TDummyHintControl : public TControl {
  LORM_PUBLISHED(TDummyHintControl, TControl)
public:
  explicit TDummyHintControl(TComponent* AOwner);
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }

private:
  std::unique_ptr<TDizHintInfo> FOfficeHint;
};

using TDrawPanelEvent = std::function<void(TDizOfficeStatusBar* StatusBar, TDizOfficeStatusPanel* Panel, const TRect& Rect)>;
using TPanelClick = std::function<void(TObject* Sender, int PanelIndex)>;
using TStatusAnchorClick = std::function<void(TObject* Sender, const std::string& Anchor)>;

// ---------------------------------------------------------------------------------------
class TDizOfficeStatusBar : public TCustomControl {
  LORM_PUBLISHED(TDizOfficeStatusBar, TCustomControl)
public:
  static constexpr UINT_PTR kTimerId = 111;

  explicit TDizOfficeStatusBar(TComponent* AOwner);
  ~TDizOfficeStatusBar() override;
  void WndProc(TMessage& Message) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Layout (client pixels).
  TRect GetPanelRect(int Index);
  TRect GetSimplePanelRect() { return TRect{1, 1, Width() - 1, Height() - 1}; }
  int PanelFixedSize();
  int GetPanel(int X);
  int OnPanelBorder(int X);
  int IndexOfPanel(TDizOfficeStatusPanel* Panel) const;
  bool HasSizeGrip();
  virtual bool ParentCanSize();

  void InvalidatePanel(int Index);
  void UpdatePanel(int Index, bool Repaint);
  void UpdateMe(int Change) { Invalidate(); }
  virtual void UpdateStatusBar();
  void AutoSizePanels();
  void RemoveStyler();
  // The styler is being destroyed: the internal styler takes over.
  void StylerDestroyed(TCustomDizOfficeStatusBarStyler* Styler);
  TCustomDizOfficeStatusBarStyler* CurrentStyler() const { return FCurrentStyler; }
  int TickCounter() const { return FTickCounter; }
  int HotPanel() const { return FHotPanel; }
  int DownPanel() const { return FDownPanel; }
  std::string IsAnchor(int X, int Y);
  std::string GetVersion() const { return "1.3.0.0"; }
  void SetVersion(const std::string&) {}
  uint32_t GetVersionNr() const { return 0x01030000; }

  bool AnchorHint = false;
  bool AutoHint = false;
  TAntiAlias AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(TAntiAlias Value);
  TCustomImageList* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TDizOfficeStatusPanels* Panels() const { return FPanels.get(); }
  void SetPanels(TDizOfficeStatusPanels* Value) { FPanels->Assign(Value); }
  TPictureContainer* PictureContainer() const { return FPictureContainer; }
  void SetPictureContainer(TPictureContainer* Value);
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool Value);
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  int StretchPanel() const { return FStretchPanel; }
  void SetStretchPanel(int Value);
  TCustomDizOfficeStatusBarStyler* Styler() const { return FStyler; }
  void SetStyler(TCustomDizOfficeStatusBarStyler* Value);
  TColor URLColor = clBlue;
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);

  TDrawPanelEvent OnDrawPanel;
  TNotifyEvent OnHint;
  TPanelClick OnPanelClick, OnPanelDblClick, OnPanelRightClick;
  TStatusAnchorClick OnAnchorClick, OnAnchorEnter, OnAnchorExit;

protected:
  void Paint() override;
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void DrawPanel(TDizOfficeStatusPanel* Panel, const TRect& R);
  virtual bool DoHint();
  void DrawAllPanels();
  void DrawPanelBackGround(TDizOfficeStatusPanel* Panel, const TRect& R);
  void DrawSimplePanel();
  void DrawSizeGrip(const TRect& R);
  void DrawFrameCorners();
  // The mark-up engine with the bar's fixed arguments; Mode 0 draws, 1 measures, 2 hit-tests.
  bool MarkupCall(const std::string& Text, const TRect& R, int Mode, int X, int Y, std::string& Anchor, int& Width);
  void SyncToSystemFont();
  // GetPanelRect of every panel, in one pass.
  std::vector<TRect> PanelRects();
  // The panel being painted (-1 outside DrawAllPanels).
  int FPaintIndex = -1;
  void UpdateState(int& Index, int P, int Y);

private:
  bool GetAnchorHint() const { return AnchorHint; }
  void SetAnchorHint(bool Value) { AnchorHint = Value; }
  bool GetAutoHint() const { return AutoHint; }
  void SetAutoHint(bool Value) { AutoHint = Value; }
  TColor GetURLColor() const { return URLColor; }
  void SetURLColor(TColor Value) { URLColor = Value; }

  std::unique_ptr<TCustomDizOfficeStatusBarStyler> FInternalStyler;
  TCustomDizOfficeStatusBarStyler* FStyler = nullptr;
  TCustomDizOfficeStatusBarStyler* FCurrentStyler = nullptr;
  std::unique_ptr<TDizOfficeStatusPanels> FPanels;
  TDummyHintControl* FHintControl = nullptr;
  TAntiAlias FAntiAlias = aaClearType;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
  TPictureContainer* FPictureContainer = nullptr;
  bool FSimplePanel = false;
  std::string FSimpleText;
  bool FSizeGrip = true;
  int FStretchPanel = -1;
  bool FUseSystemFont = true;
  UINT_PTR FTimer = 0;
  int FTickCounter = 0;
  int FHotPanel = -1, FDownPanel = -1, FLastHintPanel = -1;
  std::string FLastAnchor;
};
