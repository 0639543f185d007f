#include "foundation/DizThemes.h"

#include <memory>

namespace {

const char16_t* const ElementClassNames[ThemedElementCount] = {
    u"button",  u"clock",     u"combobox",   u"edit",   u"explorerbar", u"header",   u"listview", u"menu",
    u"page",    u"progress",  u"rebar",      u"scrollbar", u"spin",     u"startpanel", u"status", u"tab",
    u"taskband", u"taskbar",  u"toolbar",    u"tooltip", u"trackbar",   u"traynotify", u"treeview", u"window"};

TThemeServices* NewThemeServices() { return new TThemeServices(); }

struct TSharedServices {
  std::unique_ptr<TThemeServices> Object;
};

TSharedServices& Shared() {
  // The theme library module is started first so that it outlives the shared object.
  TBThemeBinding();
  static TSharedServices shared;
  return shared;
}

}  // namespace

TThemeServicesClass ThemeServicesClass = &NewThemeServices;

const char16_t* ThemedElementClassName(TThemedElement Element) {
  int i = static_cast<int>(Element);
  return i >= 0 && i < ThemedElementCount ? ElementClassNames[i] : u"";
}

TThemeServices::TThemeServices() {
  FThemesAvailable = InitThemeLibrary();
  FNewComCtrls = GetFileVersion("comctl32.dll") >= 0x00060000;
  UpdateThemes();
}

TThemeServices::~TThemeServices() {
  UnloadThemeData();
  FreeThemeLibrary();
}

HTHEME TThemeServices::GetTheme(TThemedElement Element) {
  int i = static_cast<int>(Element);
  if (i < 0 || i >= ThemedElementCount) return nullptr;
  if (FUseThemes && !FThemeData[i]) {
    TOpenThemeData open = TBThemeBinding().OpenThemeData;
    if (open) FThemeData[i] = open(nullptr, ElementClassNames[i]);
  }
  return FThemeData[i];
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedEdit Detail) const {
  TThemedElementDetails d;
  d.Element = teEdit;
  TThemedEdit base;
  if (Detail >= teEditTextNormal && Detail <= teEditTextAssist) {
    d.Part = 1;
    base = teEditTextNormal;
  } else if (Detail == teEditCaret) {
    d.Part = 2;
    base = teEditCaret;
  } else {
    d.Part = 0;
    base = teEditDontCare;
  }
  d.State = static_cast<int>(Detail) - static_cast<int>(base) + 1;
  return d;
}

void TThemeServices::UpdateThemes() {
  if (FUseThemes) UnloadThemeData();
  FUseThemes = ::UseThemes();
}

void TThemeServices::ApplyThemeChange() {
  UpdateThemes();
  DoOnThemeChange();
}

void TThemeServices::DoOnThemeChange() {
  if (OnThemeChange) OnThemeChange(this);
}

void TThemeServices::UnloadThemeData() {
  TCloseThemeData close = TBThemeBinding().CloseThemeData;
  for (HTHEME& h : FThemeData) {
    if (!h) continue;
    if (close) close(h);
    h = nullptr;
  }
}

TThemeServices* ThemeServices() {
  TSharedServices& s = Shared();
  if (!s.Object) s.Object.reset(ThemeServicesClass ? ThemeServicesClass() : NewThemeServices());
  return s.Object.get();
}

void FreeThemeServices() { Shared().Object.reset(); }
