#pragma once
// Pager stylers with named looks: the office styler (13 looks, can follow the system's
// colour scheme) and the fantasy styler (looks that set only the corner rounding).
#include "foundation/DizStyleIF.h"
#include "office/ZorOzirazIrezi.h"

enum TOfficePagerStyle {
  psOffice2003Blue, psOffice2003Silver, psOffice2003Olive, psOffice2003Classic, psOffice2007Luna,
  psOffice2007Obsidian, psWindowsXP, psWhidbey, psCustom, psOffice2007Silver, psWindowsVista, psWindows7, psTerminal
};
enum TOfficePagerFantasyStyle {
  psArctic, psAquaBlue, psChocolate, psMacOS, psSilverFox, psSoftSand, psTerminalGreen, psTextured,
  psWindowsClassic, psUser
};

class TZorOzirazIreziOfficeStyler : public TCustomZorOzirazIreziStyler, public IDizStyle {
  LORM_PUBLISHED(TZorOzirazIreziOfficeStyler, TCustomZorOzirazIreziStyler)
public:
  explicit TZorOzirazIreziOfficeStyler(TComponent* AOwner);
  void Loaded() override;
  void SetComponentStyle(DUZERazav AStyle) override;
  TOfficePagerStyle Style() const { return FStyle; }
  void SetOfficePagerStyle(TOfficePagerStyle Value);
  void ThemeChanged(TObject* Sender);

private:
  TOfficePagerStyle FStyle = psOffice2003Blue;
};

class TZorOzirazIreziFantasyStyler : public TCustomZorOzirazIreziStyler {
  LORM_PUBLISHED(TZorOzirazIreziFantasyStyler, TCustomZorOzirazIreziStyler)
public:
  explicit TZorOzirazIreziFantasyStyler(TComponent* AOwner);
  TOfficePagerFantasyStyle Style() const { return FStyle; }
  void SetOfficePagerStyle(TOfficePagerFantasyStyle Value);

private:
  TOfficePagerFantasyStyle FStyle = psChocolate;
};
