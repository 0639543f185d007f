#pragma once
// RadUdirEtylers: menu stylers that fill every colour from a named preset. The office
// styler offers the office and Windows looks, follows the Windows colour scheme when
// AutoThemeAdapt is on and takes the library-wide look (IDizStyle); the fantasy styler
// offers decorative looks. Assigning Style applies its preset again, even the same one;
// the custom value of each style changes nothing. Properties changed after a preset are
// stored after Style, so they win when a form is loaded.
#include "foundation/DizStyleIF.h"
#include "menus/RadUdire.h"
#include "menus/ZedIvadUtil.h"

enum TOfficeStyle {
  osOffice2003Blue, osOffice2003Silver, osOffice2003Olive, osOfficeXP, osOffice2007Luna, osOffice2007Obsidian,
  osCustom, osOffice2007Silver, osVista, osWhidbey, osWindows7, osTerminal
};

enum TFantasyStyle {
  fsArctic, fsAquaBlue, fsChocolate, fsMacOS, fsSilverFox, fsSoftSand, fsTerminalGreen, fsTextured,
  fsWindowsClassic, fsWhidbey, fsCustom
};

class TZedIvadOfficeStyler : public TCustomRadUdirEtyler, public IDizStyle {
  LORM_PUBLISHED(TZedIvadOfficeStyler, TCustomRadUdirEtyler)
public:
  explicit TZedIvadOfficeStyler(TComponent* AOwner);
  void Loaded() override;
  void SetComponentStyle(DUZERazav AStyle) override;
  // With AutoThemeAdapt: the preset of the Windows colour scheme (blue, olive, silver;
  // Office XP for any other scheme or the classic look).
  void ThemeChanged(TObject* Sender);
  TOfficeStyle Style() const { return FStyle; }
  void SetStyle(TOfficeStyle Value);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
  TNotifierWindow* Notifier() const { return FNotifier; }

private:
  TOfficeStyle FStyle = osOffice2003Blue;
  bool FAutoThemeAdapt = false;
  TNotifierWindow* FNotifier = nullptr;  // owned as a component
};

class TZedIvadFantasyStyler : public TCustomRadUdirEtyler {
  LORM_PUBLISHED(TZedIvadFantasyStyler, TCustomRadUdirEtyler)
public:
  explicit TZedIvadFantasyStyler(TComponent* AOwner);
  TFantasyStyle Style() const { return FStyle; }
  void SetStyle(TFantasyStyle Value);

private:
  TFantasyStyle FStyle = fsCustom;
};
