#pragma once
// DizOfficeStatusBarStylers: the colours an office status bar paints with. A styler holds
// the bar's border colour and two panel appearances (light and dark, each with normal, hot
// and down colours) and asks every registered bar to repaint when a colour changes. The
// office styler adds thirteen presets (in DUZERazav order) and can follow the Windows XP
// colour scheme; the fantasy styler only records a style name.
//
// The unit's TVistaBackground and TDbgList are classes of their own (namespace
// DizOfficeStatusBar): the pager and the tool bars have classes of the same names.
#include <memory>
#include <vector>

#include "foundation/DizStyleIF.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

class TDizOfficeStatusBar;

namespace DizOfficeStatusBar {

// A panel appearance: normal, hot and down colour pairs of both gradient halves, borders
// and text colours.
class TVistaBackground : public TPersistent {
  LORM_PUBLISHED(TVistaBackground, TPersistent)
public:
  TVistaBackground() = default;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

#define LORM_VISTA_COLOR(Name, Init)          \
  TColor Name() const { return F##Name; }     \
  void Set##Name(TColor Value) {              \
    if (F##Name == Value) return;             \
    F##Name = Value;                          \
    Changed();                                \
  }                                           \
                                              \
private:                                      \
  TColor F##Name = Init;                      \
                                              \
public:
  LORM_VISTA_COLOR(BorderColor, clNone)
  LORM_VISTA_COLOR(BorderColorHot, clGray)
  LORM_VISTA_COLOR(BorderColorDown, clGray)
  LORM_VISTA_COLOR(Color, clWhite)
  LORM_VISTA_COLOR(ColorTo, clWhite)
  LORM_VISTA_COLOR(ColorHot, clWhite)
  LORM_VISTA_COLOR(ColorHotTo, clWhite)
  LORM_VISTA_COLOR(ColorDown, clWhite)
  LORM_VISTA_COLOR(ColorDownTo, clWhite)
  LORM_VISTA_COLOR(ColorMirror, clSilver)
  LORM_VISTA_COLOR(ColorMirrorTo, clWhite)
  LORM_VISTA_COLOR(ColorMirrorHot, clSilver)
  LORM_VISTA_COLOR(ColorMirrorHotTo, clWhite)
  LORM_VISTA_COLOR(ColorMirrorDown, clSilver)
  LORM_VISTA_COLOR(ColorMirrorDownTo, clWhite)
  LORM_VISTA_COLOR(TextColor, clBlack)
  LORM_VISTA_COLOR(TextColorHot, clBlack)
  LORM_VISTA_COLOR(TextColorDown, clBlack)
#undef LORM_VISTA_COLOR

  int Steps() const { return FSteps; }
  void SetSteps(int Value) {
    if (FSteps == Value) return;
    FSteps = Value;
    Changed();
  }
  TFontStyles TextStyle() const { return FTextStyle; }
  void SetTextStyle(TFontStyles Value) {
    FTextStyle = Value;
    Changed();
  }

private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  int FSteps = 64;
  TFontStyles FTextStyle;
};

// A pointer list whose item access checks the upper bound.
class TDbgList {
public:
  void* GetItemsEx(int Index) const;
  void SetItemsEx(int Index, void* Item);
  int Count() const { return static_cast<int>(FItems.size()); }
  void Add(void* Item) { FItems.push_back(Item); }
  // Removes the first entry of Item; answers whether there was one.
  bool Remove(void* Item);
  int IndexOf(void* Item) const;

private:
  std::vector<void*> FItems;
};

// 1 NormalColor, 2 HomeStead, 3 Metallic, 0 anything else (or no active theme).
int XPColorSchemeIndex();

enum TOfficeStatusBarStyle {
  psOffice2003Blue, psOffice2003Silver, psOffice2003Olive, psOffice2003Classic, psOffice2007Luna,
  psOffice2007Obsidian, psWindowsXP, psWhidbey, psCustom, psOffice2007Silver, psWindowsVista, psWindows7, psTerminal
};
enum TOfficeStatusBarFantasyStyle {
  psArctic, psAquaBlue, psChocolate, psMacOS, psSilverFox, psSoftSand, psTerminalGreen, psTextured,
  psWindowsClassic, psUser
};

}  // namespace DizOfficeStatusBar

using DizOfficeStatusBar::TOfficeStatusBarStyle;
using DizOfficeStatusBar::TOfficeStatusBarFantasyStyle;

class TCustomDizOfficeStatusBarStyler : public TComponent {
  LORM_PUBLISHED(TCustomDizOfficeStatusBarStyler, TComponent)
public:
  explicit TCustomDizOfficeStatusBarStyler(TComponent* AOwner);
  ~TCustomDizOfficeStatusBarStyler() override;
  void Assign(TPersistent* Source) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // A bar registered twice is listed twice; removal takes its first entry.
  void AddControl(TControl* Control);
  void RemoveControl(TControl* Control);
  bool HasControl(TControl* Control) const;
  // Asks every registered bar to repaint (UpdateMe with the change kind).
  void Change(int AChange);

  bool AutoThemeAdapt = false;
  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  DizOfficeStatusBar::TVistaBackground* PanelAppearanceLight() const { return FLight.get(); }
  void SetPanelAppearanceLight(DizOfficeStatusBar::TVistaBackground* Value) { FLight->Assign(Value); }
  DizOfficeStatusBar::TVistaBackground* PanelAppearanceDark() const { return FDark.get(); }
  void SetPanelAppearanceDark(DizOfficeStatusBar::TVistaBackground* Value) { FDark->Assign(Value); }
  int BlendFactor() const { return FBlendFactor; }

protected:
  bool GetAutoThemeAdapt() const { return AutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { AutoThemeAdapt = Value; }
  DizOfficeStatusBar::TDbgList FControls;
  int FBlendFactor = 50;
  std::unique_ptr<DizOfficeStatusBar::TVistaBackground> FLight, FDark;
  TColor FBorderColor = TColor(0x00825A3B);
};

class TDizOfficeStatusBarOfficeStyler : public TCustomDizOfficeStatusBarStyler, public IDizStyle {
  LORM_PUBLISHED(TDizOfficeStatusBarOfficeStyler, TCustomDizOfficeStatusBarStyler)
public:
  explicit TDizOfficeStatusBarOfficeStyler(TComponent* AOwner);
  ~TDizOfficeStatusBarOfficeStyler() override;
  void Loaded() override;
  TOfficeStatusBarStyle Style() const { return FStyle; }
  // Applies the preset of a new style (psCustom none) and repaints the bars once.
  void SetStyle(TOfficeStatusBarStyle Value);
  void SetComponentStyle(DUZERazav AStyle) override { SetStyle(TOfficeStatusBarStyle(AStyle)); }
  void ThemeChanged(TObject* Sender);

private:
  void ApplyPreset(TOfficeStatusBarStyle Value);
  TOfficeStatusBarStyle FStyle = DizOfficeStatusBar::psCustom;
  HWND FNotifier = nullptr;
};

class TDizOfficeStatusBarFantasyStyler : public TCustomDizOfficeStatusBarStyler {
  LORM_PUBLISHED(TDizOfficeStatusBarFantasyStyler, TCustomDizOfficeStatusBarStyler)
public:
  explicit TDizOfficeStatusBarFantasyStyler(TComponent* AOwner);
  TOfficeStatusBarFantasyStyle Style() const { return FStyle; }
  void SetStyle(TOfficeStatusBarFantasyStyle Value) {
    FStyle = Value;
    FBlendFactor = 50;
  }

private:
  TOfficeStatusBarFantasyStyle FStyle = DizOfficeStatusBar::psChocolate;
};
