#pragma once
// Theme services of the tool bar family: one shared object that answers whether themed
// drawing is possible, keeps one theme handle per kind of element (opened on demand) and
// turns an edit-text drawing choice into the part and state the theme library expects.
// It reaches the theme library only through DizTBXPVS.
#include <cstdint>

#include "foundation/DizTBXPVS.h"
#include "platform/rtl/Classes.h"

enum TThemedElement {
  teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress,
  teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar, teToolTip,
  teTrackBar, teTrayNotify, teTreeview, teWindow
};
constexpr int ThemedElementCount = teWindow + 1;

enum TThemedEdit {
  teEditDontCare, teEditRoot, teEditTextNormal, teEditTextHot, teEditTextSelected, teEditTextDisabled,
  teEditTextFocused, teEditTextReadOnly, teEditTextAssist, teEditCaret
};

struct TThemedElementDetails {
  TThemedElement Element = teButton;
  std::int32_t Part = 0;
  std::int32_t State = 0;
};

// The theme class name of an element ("button", "toolbar", …).
const char16_t* ThemedElementClassName(TThemedElement Element);

class TThemeServices : public TObject {
  LORM_CLASS(TThemeServices, TObject)
public:
  // Takes a reference on the theme library, reads the common controls version and
  // whether themes are in use.
  TThemeServices();
  // Closes every cached handle and releases the theme library reference.
  ~TThemeServices() override;

  // The theme library is there, themes are in use and the common controls are 6.0 or later.
  bool GetThemesEnabled() const { return FThemesAvailable && FUseThemes && FNewComCtrls; }
  bool ThemesAvailable() const { return FThemesAvailable; }
  bool UseThemes() const { return FUseThemes; }
  bool NewComCtrls() const { return FNewComCtrls; }

  // The element's cached handle, opened on demand while themes are in use; 0 when they
  // are not or the theme does not know the class (tried again on the next request).
  HTHEME GetTheme(TThemedElement Element);
  TThemedElementDetails GetElementDetails(TThemedEdit Detail) const;

  // Re-reads whether themes are in use (closing the cached handles first if they were).
  void UpdateThemes();
  // UpdateThemes, then the theme change event.
  void ApplyThemeChange();
  void UnloadThemeData();

  TNotifyEvent OnThemeChange;

protected:
  virtual void DoOnThemeChange();

private:
  bool FNewComCtrls = false;
  bool FThemesAvailable = false;
  bool FUseThemes = false;
  HTHEME FThemeData[ThemedElementCount] = {};
};

// Makes the shared object; replace it to have the shared object be of a descendant.
using TThemeServicesClass = TThemeServices* (*)();
extern TThemeServicesClass ThemeServicesClass;

// The shared object, created on the first call from ThemeServicesClass.
TThemeServices* ThemeServices();
// Frees the shared object (at program end; tests use it to start again).
void FreeThemeServices();
