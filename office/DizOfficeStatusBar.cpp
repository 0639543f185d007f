// DizOfficeStatusBar, part 1: the progress settings, the panels and their collection, and
// the bar itself (construction, styler link, layout, timer, auto-size). Painting and the
// drawing primitives are in DizOfficeStatusBarPaint.cpp, mouse, anchors and hints in
// DizOfficeStatusBarMouse.cpp.
#include "office/DizOfficeStatusBar.h"

#include <algorithm>

#include "foundation/Deahtml.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace DizOfficeStatusBar;

namespace {
const TEnumInfo* PanelStyleNames() {
  static const TEnumInfo* n = RegisterEnum(
      "TDizOfficeStatusPanelStyle", {"psHTML", "psText", "psOwnerDraw", "psTime", "psDate", "psNumLock", "psCapsLock",
                                     "psScrollLock", "psProgress", "psImage", "psImageList", "psAnimation",
                                     "psEllipsText", "psFileEllipsText"});
  return n;
}
const TEnumInfo* AppearanceNames() {
  static const TEnumInfo* n = RegisterEnum("TPanelAppearanceStyle", {"psLight", "psDark"});
  return n;
}
const TEnumInfo* IndicationNames() {
  static const TEnumInfo* n = RegisterEnum("TProgressIndication", {"piPercentage", "piAbsolute", "piNone"});
  return n;
}
const TEnumInfo* AlignmentNames() {
  static const TEnumInfo* n = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return n;
}
// The wall clock as the window system's clock moves it: read once, then advanced by the
// system's tick count, so that clock panels follow the test clock as well as real time.
TDateTime ClockNow() {
  static TDateTime base = Now();
  static DWORD baseTick = GetTickCount();
  const DWORD tick = GetTickCount();
  if (tick < baseTick) {
    base = Now();
    baseTick = tick;
  }
  return base + (tick - baseTick) / 86400000.0;
}

const TEnumInfo* AntiAliasNames() {
  static const TEnumInfo* n = RegisterEnum("TAntiAlias", {"aaNone", "aaClearType", "aaAntiAlias"});
  return n;
}
}  // namespace

// ---- progress settings -------------------------------------------------------------------------

void TProgressStyle::Publish(TClassBuilder<TProgressStyle>& P) {
  using S = TProgressStyle;
  auto color = [&P](const char* n, TColor (S::*g)() const, void (S::*s)(TColor), TColor d) {
    P.Int(n, g, s, d).Consts(ColorConsts());
  };
  color("BackGround", &S::BackGround, &S::SetBackGround, clNone);
  P.Enum("Indication", IndicationNames(), &S::Indication, &S::SetIndication, piPercentage)
      .Int("Min", &S::Min, &S::SetMin, 0)
      .Int("Max", &S::Max, &S::SetMax, 100)
      .Int("Position", &S::Position, &S::SetPosition, 0);
  color("Level0Color", &S::Level0Color, &S::SetLevel0Color, clLime);
  color("Level0ColorTo", &S::Level0ColorTo, &S::SetLevel0ColorTo, 0xE1FFE1);
  color("Level1Color", &S::Level1Color, &S::SetLevel1Color, clYellow);
  color("Level1ColorTo", &S::Level1ColorTo, &S::SetLevel1ColorTo, 0xCAFFFF);
  color("Level2Color", &S::Level2Color, &S::SetLevel2Color, 0x53A9FF);
  color("Level2ColorTo", &S::Level2ColorTo, &S::SetLevel2ColorTo, 0xA8D3FF);
  color("Level3Color", &S::Level3Color, &S::SetLevel3Color, clRed);
  color("Level3ColorTo", &S::Level3ColorTo, &S::SetLevel3ColorTo, 0xCACAFF);
  P.Int("Level1Perc", &S::Level1Perc, &S::SetLevel1Perc, 70).Int("Level2Perc", &S::Level2Perc, &S::SetLevel2Perc, 90);
  color("BorderColor", &S::BorderColor, &S::SetBorderColor, clBlack);
  P.Bool("ShowBorder", &S::ShowBorder, &S::SetShowBorder, false)
      .Bool("Stacked", &S::Stacked, &S::SetStacked, false)
      .Bool("ShowPercentage", &S::ShowPercentage, &S::SetShowPercentage, true)
      .Bool("CompletionSmooth", &S::CompletionSmooth, &S::SetCompletionSmooth, false)
      .Bool("ShowGradient", &S::ShowGradient, &S::SetShowGradient, true)
      .Str("Suffix", &S::Suffix, &S::SetSuffix)
      .Str("Prefix", &S::Prefix, &S::SetPrefix);
}

void TProgressStyle::Changed() {
  if (!FPanel) return;
  TDizOfficeStatusBar* bar = FPanel->Bar();
  if (!bar || !bar->HandleAllocated()) return;
  RECT r = ToRECT(bar->GetPanelRect(FPanel->Index()));
  InvalidateRect(bar->Handle(), &r, FALSE);
}

void TProgressStyle::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TProgressStyle*>(Source);
  if (!s) throw EInvalidCast("Invalid class typecast");
  FBackGround = s->FBackGround;
  FIndication = s->FIndication;
  FMin = s->FMin;
  FMax = s->FMax;
  FPosition = s->FPosition;
  FShowPercentage = s->FShowPercentage;
  FShowGradient = s->FShowGradient;
  FStacked = s->FStacked;
  FShowBorder = s->FShowBorder;
  FBorderColor = s->FBorderColor;
  FCompletionSmooth = s->FCompletionSmooth;
  FLevel0Color = s->FLevel0Color;
  FLevel0ColorTo = s->FLevel0ColorTo;
  FLevel1Color = s->FLevel1Color;
  FLevel1ColorTo = s->FLevel1ColorTo;
  FLevel2Color = s->FLevel2Color;
  FLevel2ColorTo = s->FLevel2ColorTo;
  FLevel3Color = s->FLevel3Color;
  FLevel3ColorTo = s->FLevel3ColorTo;
  FLevel1Perc = s->FLevel1Perc;
  FLevel2Perc = s->FLevel2Perc;
  FPrefix = s->FPrefix;
  FSuffix = s->FSuffix;
}

// ---- panels ----------------------------------------------------------------------------------------

void TDizOfficeStatusPanel::Publish(TClassBuilder<TDizOfficeStatusPanel>& P) {
  using S = TDizOfficeStatusPanel;
  P.Enum("Alignment", AlignmentNames(), &S::Alignment, &S::SetAlignment, taLeftJustify)
      .Bool("Animated", &S::Animated, &S::SetAnimated, false)
      .Component("AnimationImages", &S::AnimationImages, &S::SetAnimationImages)
      .Int("AnimationDelay", &S::AnimationDelay, &S::SetAnimationDelay, 0)
      .Enum("AppearanceStyle", AppearanceNames(), &S::AppearanceStyle, &S::SetAppearanceStyle, psLight)
      .Bool("AutoSize", &S::AutoSize, &S::SetAutoSize, false)
      .Bool("Button", &S::Button, &S::SetButton, false)
      .Str("DateFormat", &S::DateFormat, &S::SetDateFormat)
      .Bool("Enabled", &S::Enabled, &S::SetEnabled, true)
      .Int("HTMLOffsetX", &S::HTMLOffsetX, &S::SetHTMLOffsetX, 2)
      .Int("HTMLOffsetY", &S::HTMLOffsetY, &S::SetHTMLOffsetY, 2)
      .Int("ImageIndex", &S::ImageIndex, &S::SetImageIndex, -1)
      .Int("MinWidth", &S::MinWidth, &S::SetMinWidth, 20)
      .Object("Progress", &S::Progress, &S::SetProgress)
      .Enum("Style", PanelStyleNames(), &S::Style, &S::SetStyle, psHTML)
      .Str("Text", &S::Text, &S::SetText)
      .Str("TimeFormat", &S::TimeFormat, &S::SetTimeFormat)
      .Int("Width", &S::Width, &S::SetWidth, 50)
      .Object("OfficeHint", &S::OfficeHint, &S::SetOfficeHint);
}

TDizOfficeStatusPanel::TDizOfficeStatusPanel(TCollection* Collection)
    : TCollectionItem(Collection), FProgress(std::make_unique<TProgressStyle>(this)),
      FOfficeHint(std::make_unique<TDizHintInfo>()) {
  const TFormatSettings& fs = FormatSettings();
  FTimeFormat = fs.LongTimeFormat;
  FDateFormat = fs.ShortDateFormat;
}

TDizOfficeStatusPanel::~TDizOfficeStatusPanel() {
  if (FAnimationImages) FAnimationImages->RemoveFreeNotification(Bar());
  if (Collection()) Changed(true);
}

TDizOfficeStatusBar* TDizOfficeStatusPanel::Bar() const {
  auto* panels = dynamic_cast<TDizOfficeStatusPanels*>(Collection());
  return panels ? panels->Bar() : nullptr;
}

void TDizOfficeStatusPanel::Change() {
  if (auto* panels = dynamic_cast<TDizOfficeStatusPanels*>(Collection())) panels->Change();
}

std::string TDizOfficeStatusPanel::DisplayName() const {
  return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

void TDizOfficeStatusPanel::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDizOfficeStatusPanel*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetText(s->Text());
  SetWidth(s->Width());
  SetAlignment(s->Alignment());
  SetBevel(s->Bevel());
  SetStyle(s->Style());
  SetDateFormat(s->DateFormat());
  SetTimeFormat(s->TimeFormat());
  FProgress->Assign(s->Progress());
  FOfficeHint->Assign(s->OfficeHint());
  SetAppearanceStyle(s->AppearanceStyle());
  SetAutoSize(s->AutoSize());
  SetMinWidth(s->MinWidth());
}

void TDizOfficeStatusPanel::StepIt() {
  if (FProgress->Position() < FProgress->Max()) FProgress->SetPosition(FProgress->Position() + 1);
}

int TDizOfficeStatusPanel::GetImageIndexes(int Index) const {
  if (Index >= FImageIndexes.Count()) return -1;
  if (Index < 0) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  int value = -1;
  return TryStrToInt(FImageIndexes[Index], value) ? value : -1;
}

void TDizOfficeStatusPanel::SetImageIndexes(int Index, int Value) {
  if (Index < 0) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  while (FImageIndexes.Count() <= Index) FImageIndexes.Add("-1");
  FImageIndexes.Put(Index, std::to_string(Value));
}

void TDizOfficeStatusPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  ItemChanged(false);
  Change();
}
void TDizOfficeStatusPanel::SetStyle(TDizOfficeStatusPanelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  ItemChanged(false);
  Change();
}
void TDizOfficeStatusPanel::SetBevel(TDizOfficeStatusPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  ItemChanged(false);
}
void TDizOfficeStatusPanel::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  ItemChanged(false);
  if (FAutoSize)
    if (TDizOfficeStatusBar* bar = Bar()) bar->AutoSizePanels();
}
// Widths are kept within the coordinate range, like a control's bounds: the bar adds
// its panels' widths up.
void TDizOfficeStatusPanel::SetWidth(int Value) {
  Value = ClampCoordinate(Value);
  if (FWidth == Value) return;
  FWidth = Value;
  ItemChanged(true);
  Change();
}
void TDizOfficeStatusPanel::SetAppearanceStyle(TPanelAppearanceStyle Value) {
  if (FAppearanceStyle == Value) return;
  FAppearanceStyle = Value;
  ItemChanged(true);
  Change();
}
void TDizOfficeStatusPanel::SetButton(bool Value) {
  if (FButton == Value) return;
  FButton = Value;
  ItemChanged(true);
  Change();
}
#define LORM_PANEL_REPAINT(Type, Name)                   \
  void TDizOfficeStatusPanel::Set##Name(Type Value) {    \
    F##Name = Value;                                     \
    ItemChanged(true);                                   \
    Change();                                            \
  }
LORM_PANEL_REPAINT(const std::string&, DateFormat)
LORM_PANEL_REPAINT(const std::string&, TimeFormat)
LORM_PANEL_REPAINT(int, HTMLOffsetX)
LORM_PANEL_REPAINT(int, HTMLOffsetY)
LORM_PANEL_REPAINT(int, ImageIndex)
LORM_PANEL_REPAINT(bool, Enabled)
#undef LORM_PANEL_REPAINT

void TDizOfficeStatusPanel::SetAnimationImages(TCustomImageList* Value) {
  TDizOfficeStatusBar* bar = Bar();
  if (FAnimationImages && bar) FAnimationImages->RemoveFreeNotification(bar);
  FAnimationImages = Value;
  if (FAnimationImages && bar) FAnimationImages->FreeNotification(bar);
  ItemChanged(true);
}
void TDizOfficeStatusPanel::SetAnimated(bool Value) {
  FAnimated = Value;
  ItemChanged(true);
}
void TDizOfficeStatusPanel::SetAnimationDelay(int Value) {
  if (Value >= 0) FAnimationDelay = Value;
}
void TDizOfficeStatusPanel::SetProgress(TProgressStyle* Value) {
  FProgress->Assign(Value);
  ItemChanged(true);
}
void TDizOfficeStatusPanel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (Value)
    if (TDizOfficeStatusBar* bar = Bar()) bar->AutoSizePanels();
}

TDizOfficeStatusPanels::TDizOfficeStatusPanels(TDizOfficeStatusBar* Bar)
    : TOwnedCollection(Bar, ItemClassOf<TDizOfficeStatusPanel>()), FBar(Bar) {}

void TDizOfficeStatusPanels::Update(TCollectionItem* Item) {
  if (!FBar) return;
  // Without a window there is nothing to invalidate (loading many panels must not search
  // the list for each one).
  if (Item && FBar->HandleAllocated()) FBar->UpdatePanel(Item->Index(), false);
  FBar->Invalidate();
}

TDummyHintControl::TDummyHintControl(TComponent* AOwner)
    : TControl(AOwner), FOfficeHint(std::make_unique<TDizHintInfo>()) {}

void TDummyHintControl::Publish(TClassBuilder<TDummyHintControl>& P) {
  P.Object("OfficeHint", &TDummyHintControl::OfficeHint, &TDummyHintControl::SetOfficeHint);
}

// ---- the bar ---------------------------------------------------------------------------------------

void TDizOfficeStatusBar::Publish(TClassBuilder<TDizOfficeStatusBar>& P) {
  using S = TDizOfficeStatusBar;
  P.Bool("AnchorHint", &S::GetAnchorHint, &S::SetAnchorHint, false)
      .Enum("AntiAlias", AntiAliasNames(), &S::AntiAlias, &S::SetAntiAlias, aaClearType)
      .Bool("AutoHint", &S::GetAutoHint, &S::SetAutoHint, false)
      .Component("DisabledImages", &S::DisabledImages, &S::SetDisabledImages)
      .Component("Images", &S::Images, &S::SetImages)
      .Object("Panels", &S::Panels, &S::SetPanels)
      .Component("PictureContainer", &S::PictureContainer, &S::SetPictureContainer)
      .Bool("SimplePanel", &S::SimplePanel, &S::SetSimplePanel, false)
      .Str("SimpleText", &S::SimpleText, &S::SetSimpleText)
      .Bool("SizeGrip", &S::SizeGrip, &S::SetSizeGrip, true)
      .Int("StretchPanel", &S::StretchPanel, &S::SetStretchPanel, -1)
      .Component("Styler", &S::Styler, &S::SetStyler)
      .Int("URLColor", &S::GetURLColor, &S::SetURLColor, clBlue)
      .Consts(ColorConsts())
      .Bool("UseSystemFont", &S::UseSystemFont, &S::SetUseSystemFont, true)
      .Str("Version", &S::GetVersion, &S::SetVersion)
      .Event("OnDrawPanel", &S::OnDrawPanel)
      .Event("OnHint", &S::OnHint)
      .Event("OnPanelClick", &S::OnPanelClick)
      .Event("OnPanelDblClick", &S::OnPanelDblClick)
      .Event("OnPanelRightClick", &S::OnPanelRightClick)
      .Event("OnAnchorClick", &S::OnAnchorClick)
      .Event("OnAnchorEnter", &S::OnAnchorEnter)
      .Event("OnAnchorExit", &S::OnAnchorExit);
}

TDizOfficeStatusBar::TDizOfficeStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FInternalStyler(std::make_unique<TCustomDizOfficeStatusBarStyler>(this)),
      FPanels(std::make_unique<TDizOfficeStatusPanels>(this)) {
  FInternalStyler->SetName("InternalStyler");
  FInternalStyler->SetSubComponent(true);
  FCurrentStyler = FInternalStyler.get();
  FCurrentStyler->AddControl(this);
  SetColor(clBtnFace);
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
  FPanels->OnChange = [this](TObject*) {
    if (FPanels->UpdateCount() == 0) Invalidate();
  };
  SetParentFont(false);
  SyncToSystemFont();
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csAcceptsControls};
  FHintControl = new TDummyHintControl(this);
  FHintControl->SetVisible(false);
  SetDoubleBuffered(true);
}

TDizOfficeStatusBar::~TDizOfficeStatusBar() {
  if (FStyler) {
    FStyler->RemoveControl(this);
    FStyler->RemoveFreeNotification(this);
  }
  FInternalStyler->RemoveControl(this);
  if (FTimer && HandleAllocated()) KillTimer(Handle(), kTimerId);
  FPanels.reset();
  // The internal styler is one of the bar's components: it leaves the bar's list while the
  // bar is still whole.
  FCurrentStyler = nullptr;
  FInternalStyler.reset();
}

void TDizOfficeStatusBar::CreateWnd() {
  TCustomControl::CreateWnd();
  FTimer = SetTimer(Handle(), kTimerId, 100, nullptr);
}

void TDizOfficeStatusBar::Loaded() {
  TCustomControl::Loaded();
  UpdateStatusBar();
  AutoSizePanels();
}

void TDizOfficeStatusBar::SyncToSystemFont() {
  if (FUseSystemFont) Font()->Assign(Screen->HintFont());
}

void TDizOfficeStatusBar::SetUseSystemFont(bool Value) {
  if (FUseSystemFont == Value) return;
  FUseSystemFont = Value;
  if (Value) {
    SetParentFont(false);
    SyncToSystemFont();
  }
}

// Every referenced component is watched, so a freed one is never painted with.
#define LORM_WATCHED_SETTER(Type, Name)                        \
  void TDizOfficeStatusBar::Set##Name(Type* Value) {           \
    if (F##Name && F##Name != Value) F##Name->RemoveFreeNotification(this); \
    F##Name = Value;                                           \
    if (F##Name) F##Name->FreeNotification(this);              \
    Invalidate();                                              \
  }
LORM_WATCHED_SETTER(TCustomImageList, Images)
LORM_WATCHED_SETTER(TCustomImageList, DisabledImages)
LORM_WATCHED_SETTER(TPictureContainer, PictureContainer)
#undef LORM_WATCHED_SETTER

void TDizOfficeStatusBar::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TDizOfficeStatusBar::SetSimplePanel(bool Value) {
  if (FSimplePanel == Value) return;
  FSimplePanel = Value;
  Invalidate();
}

void TDizOfficeStatusBar::SetSimpleText(const std::string& Value) {
  if (FSimpleText == Value) return;
  FSimpleText = Value;
  Invalidate();
}

void TDizOfficeStatusBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  Invalidate();
}

void TDizOfficeStatusBar::SetStretchPanel(int Value) {
  if (Value < -1 || Value >= FPanels->Count()) return;
  FStretchPanel = Value;
  Invalidate();
}

void TDizOfficeStatusBar::SetStyler(TCustomDizOfficeStatusBarStyler* Value) {
  if (Value && Value == FStyler) return;
  if (FStyler) {
    FStyler->RemoveControl(this);
    FStyler->RemoveFreeNotification(this);
  } else {
    FInternalStyler->RemoveControl(this);
  }
  FStyler = Value;
  FCurrentStyler = FStyler ? FStyler : FInternalStyler.get();
  if (FStyler) FStyler->FreeNotification(this);
  FCurrentStyler->AddControl(this);
  UpdateMe(0);
  Invalidate();
}

void TDizOfficeStatusBar::RemoveStyler() {
  if (FStyler) {
    FStyler->RemoveControl(this);
    FStyler->RemoveFreeNotification(this);
  }
  FStyler = nullptr;
  FCurrentStyler = FInternalStyler.get();
  if (!FCurrentStyler->HasControl(this)) FCurrentStyler->AddControl(this);
  UpdateMe(0);
  Invalidate();
}

void TDizOfficeStatusBar::StylerDestroyed(TCustomDizOfficeStatusBarStyler* Styler) {
  if (Styler != FStyler) return;
  FStyler = nullptr;
  FCurrentStyler = FInternalStyler.get();
  if (!FCurrentStyler->HasControl(this)) FCurrentStyler->AddControl(this);
  Invalidate();
}

void TDizOfficeStatusBar::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == FPictureContainer) FPictureContainer = nullptr;
    if (!ComponentState().Contains(csDestroying)) {
      if (AComponent == FImages) FImages = nullptr;
      if (AComponent == FDisabledImages) FDisabledImages = nullptr;
      if (AComponent == FStyler) {
        FStyler = nullptr;
        FCurrentStyler = FInternalStyler.get();
        if (!FCurrentStyler->HasControl(this)) FCurrentStyler->AddControl(this);
        Invalidate();
      }
      if (FPanels)
        for (int i = 0; i < FPanels->Count(); ++i)
          if (FPanels->Items(i)->AnimationImages() == AComponent) FPanels->Items(i)->SetAnimationImages(nullptr);
    }
  }
  TCustomControl::Notification(AComponent, Operation);
}

// ---- layout -------------------------------------------------------------------------------------------

int TDizOfficeStatusBar::PanelFixedSize() {
  int sum = 0;
  for (int i = 0; i < FPanels->Count(); ++i)
    if (i != FStretchPanel) sum += FPanels->Items(i)->Width();
  return sum;
}

TRect TDizOfficeStatusBar::GetPanelRect(int Index) {
  if (Index < 0 || Index >= FPanels->Count()) return TRect{-1, -1, -1, -1};
  int x = 0;
  const int fixed = PanelFixedSize();
  for (int i = 0; i < FPanels->Count(); ++i) {
    int right;
    if (i == FStretchPanel) right = std::max(Width() - fixed + x, x);
    else if (i == FPanels->Count() - 1) right = std::max(Width() - 1, x);
    else right = x + FPanels->Items(i)->Width();
    if (i == Index) return TRect{x, 1, right, Height() - 1};
    x = right;
  }
  return TRect{-1, -1, -1, -1};
}

std::vector<TRect> TDizOfficeStatusBar::PanelRects() {
  // GetPanelRect of every panel in one pass.
  std::vector<TRect> rects;
  rects.reserve(static_cast<size_t>(FPanels->Count()));
  int x = 0;
  const int fixed = PanelFixedSize();
  for (int i = 0; i < FPanels->Count(); ++i) {
    int right;
    if (i == FStretchPanel) right = std::max(Width() - fixed + x, x);
    else if (i == FPanels->Count() - 1) right = std::max(Width() - 1, x);
    else right = x + FPanels->Items(i)->Width();
    rects.push_back(TRect{x, 1, right, Height() - 1});
    x = right;
  }
  return rects;
}

int TDizOfficeStatusBar::GetPanel(int X) {
  const std::vector<TRect> rects = PanelRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Left <= X && X <= rects[i].Right) return static_cast<int>(i);
  return -1;
}

int TDizOfficeStatusBar::OnPanelBorder(int X) {
  const std::vector<TRect> rects = PanelRects();
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Right - 2 < X && X < rects[i].Right + 2) return static_cast<int>(i);
  return -1;
}

int TDizOfficeStatusBar::IndexOfPanel(TDizOfficeStatusPanel* Panel) const {
  if (!Panel) return -1;
  // While the panels are painted in order, the one being drawn is known.
  if (FPaintIndex >= 0 && FPaintIndex < FPanels->Count() && FPanels->Items(FPaintIndex) == Panel) return FPaintIndex;
  for (int i = 0; i < FPanels->Count(); ++i)
    if (FPanels->Items(i) == Panel) return i;
  return -1;
}

bool TDizOfficeStatusBar::ParentCanSize() {
  auto* form = dynamic_cast<TCustomForm*>(Parent());
  if (!form) return false;
  for (int i = 0; i < form->ControlCount(); ++i)
    if (std::string(form->Controls(i)->ClassType()->Name) == "TVivIzizEzuPager") return true;
  return form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin;
}

bool TDizOfficeStatusBar::HasSizeGrip() {
  if (!FSizeGrip || !ParentCanSize()) return false;
  auto* form = dynamic_cast<TCustomForm*>(Parent());
  return !(form && form->HandleAllocated() && IsZoomed(form->Handle()));
}

void TDizOfficeStatusBar::InvalidatePanel(int Index) {
  if (!HandleAllocated()) return;
  if (Index < 0 || Index >= FPanels->Count()) {
    Invalidate();
    return;
  }
  RECT r = ToRECT(GetPanelRect(Index));
  InvalidateRect(Handle(), &r, TRUE);
}

void TDizOfficeStatusBar::UpdatePanel(int Index, bool Repaint) {
  if (!HandleAllocated() || Repaint) return;
  if (FSimplePanel) Invalidate();
  else InvalidatePanel(Index);
}

// ---- timer and auto-size ----------------------------------------------------------------------------

void TDizOfficeStatusBar::UpdateStatusBar() {
  if (ComponentState().Contains(csDestroying)) return;
  for (int i = 0; i < FPanels->Count(); ++i) {
    TDizOfficeStatusPanel* p = FPanels->Items(i);
    switch (p->Style()) {
      case psHTML:
        if (UpperCase(p->Text()).find("<BLINK") != std::string::npos && (FTickCounter == 5 || FTickCounter == 10)) {
          const std::string text = p->Text();
          p->SetText("");
          p->SetText(text);
        }
        break;
      case psTime: p->SetText(FormatDateTime(p->TimeFormat(), ClockNow())); break;
      case psDate: p->SetText(FormatDateTime(p->DateFormat(), ClockNow())); break;
      case psNumLock: p->SetText((GetKeyState(VK_NUMLOCK) & 1) ? "NUM" : ""); break;
      case psCapsLock: p->SetText((GetKeyState(VK_CAPITAL) & 1) ? "CAP" : ""); break;
      case psScrollLock: p->SetText((GetKeyState(VK_SCROLL) & 1) ? "SCRL" : ""); break;
      case psAnimation:
        if (p->AnimationImages() && FTickCounter % (p->AnimationDelay() + 1) == 0) {
          const int count = p->AnimationImages()->Count();
          p->AnimationFrame = p->AnimationFrame >= count - 1 ? 0 : p->AnimationFrame + 1;
          const std::string text = p->Text();
          p->SetText("*");
          p->SetText(text);
        }
        break;
      default: break;
    }
  }
}

void TDizOfficeStatusBar::AutoSizePanels() {
  if (!FPanels) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  for (int i = 0; i < FPanels->Count(); ++i) {
    TDizOfficeStatusPanel* p = FPanels->Items(i);
    if (!p->AutoSize()) continue;
    bool sized = false;
    std::string text;
    int imageWidth = 0;
    switch (p->Style()) {
      case psHTML: {
        std::string anchor;
        int w = 0;
        MarkupCall(p->Text(), TRect{0, 0, 1000, 100}, 1, 0, 0, anchor, w);
        p->SetWidth(std::max(w + 10, p->MinWidth()));
        sized = true;
        break;
      }
      case psText:
      case psTime:
      case psDate: text = p->Text(); break;
      case psNumLock: text = "NUM"; break;
      case psCapsLock: text = "CAP"; break;
      case psScrollLock: text = "SCRL"; break;
      case psImage:
        text = p->Text();
        if (FImages && p->ImageIndex() >= 0) imageWidth = FImages->GetWidth();
        break;
      default: continue;
    }
    if (!sized && !text.empty()) {
      TRect measured;
      DrawPanelText(c, p->Alignment(), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                    TRect{0, 0, 1000, 100}, text, c->Font(), true, false, FAntiAlias, true, measured);
      p->SetWidth(std::max(measured.Right - measured.Left + imageWidth + 12, p->MinWidth()));
      sized = true;
    }
    if (sized && FSizeGrip && i == FPanels->Count() - 1) p->SetWidth(p->Width() + 16);
  }
}
