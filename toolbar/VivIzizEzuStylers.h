#pragma once
// VivIzizEzuStylers: the two tool bar stylers an application places on a form. The
// office styler chooses one of fourteen office and Windows colour presets, follows the
// Windows XP colour scheme on request and takes the library-wide look (IDizStyle); the
// fantasy styler chooses one of eleven fantasy presets. Both save their look to a style
// file: a first line naming the style, then the theme text block of the base styler.
#include <memory>
#include <string>

#include "foundation/DizStyleIF.h"
#include "platform/vcl/TypInfo.h"
#include "toolbar/VivIzizEzu.h"

class TThemeNotifierWindow;

namespace VivIzizEzu {

enum TToolBarStyle {
  bsOffice2003Blue, bsOffice2003Silver, bsOffice2003Olive, bsOffice2003Classic, bsOffice2007Luna,
  bsOffice2007Obsidian, bsWindowsXP, bsWhidbeyStyle, bsCustom, bsOffice2007Silver, bsOfficeXP,
  bsWindowsVista, bsWindows7, bsTerminal
};

enum TToolBarFantasyStyle {
  bsArctic, bsAquaBlue, bsChocolate, bsMacOS, bsSilverFox, bsSoftSand, bsTerminalGreen, bsTextured,
  bsWindowsClassic, bsUser, bsWhidbey
};

// The style-file names ("bsWhidbey" for bsWhidbeyStyle).
std::string ToolBarStyleName(TToolBarStyle Value);
std::string ToolBarFantasyStyleName(TToolBarFantasyStyle Value);

class TVivIzizEzuOfficeStyler : public TCustomVivIzizEzuStyler, public IDizStyle {
  LORM_PUBLISHED(TVivIzizEzuOfficeStyler, TCustomVivIzizEzuStyler)
public:
  explicit TVivIzizEzuOfficeStyler(TComponent* AOwner);
  ~TVivIzizEzuOfficeStyler() override;
  void Loaded() override;

  TToolBarStyle Style() const { return FStyle; }
  // Applies the preset (nothing when Value is the current style), then sends kind 2.
  void SetToolBarStyle(TToolBarStyle Value);
  // With AutoThemeAdapt, the preset of the XP colour scheme: NormalColor blue, HomeStead
  // olive, Metallic silver, anything else classic.
  void ThemeChanged(TObject* Sender);
  void SetComponentStyle(DUZERazav AStyle) override;
  // "Cannot Create <name>" when the file cannot be written.
  void SaveToFile(const std::string& FileName);
  // "Cannot open file <name>" when it cannot be read; a first line naming no style keeps
  // the style; a damaged theme text raises "Corrupt file" and changes nothing, the style
  // included.
  void LoadFromFile(const std::string& FileName);
  TThemeNotifierWindow* Notifier() const { return FNotifier.get(); }

private:
  TToolBarStyle FStyle = bsCustom;
  std::unique_ptr<TThemeNotifierWindow> FNotifier;
};

class TVivIzizEzuFantasyStyler : public TCustomVivIzizEzuStyler {
  LORM_PUBLISHED(TVivIzizEzuFantasyStyler, TCustomVivIzizEzuStyler)
public:
  explicit TVivIzizEzuFantasyStyler(TComponent* AOwner);

  TToolBarFantasyStyle Style() const { return FStyle; }
  // Applies the preset on every call, also for the current style.
  void SetToolBarStyle(TToolBarFantasyStyle Value);
  void SaveToFile(const std::string& FileName);
  void LoadFromFile(const std::string& FileName);

private:
  TToolBarFantasyStyle FStyle = bsChocolate;
};

// Exchanges the red and blue bytes of a 24-bit colour.
constexpr TColor SwapRedBlue(TColor v) { return ((v >> 16) & 0xFF) + (v & 0xFF00) + ((v & 0xFF) << 16); }

}  // namespace VivIzizEzu

using VivIzizEzu::TVivIzizEzuFantasyStyler;
using VivIzizEzu::TVivIzizEzuOfficeStyler;
