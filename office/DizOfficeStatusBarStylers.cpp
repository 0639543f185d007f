// DizOfficeStatusBarStylers: the appearance class, the styler base, the office styler with
// its presets and theme notifier, and the fantasy styler.
#include "office/DizOfficeStatusBarStylers.h"

#include "foundation/DizThemeBinding.h"
#include "office/DizOfficeStatusBar.h"
#include "platform/win/WinUser.h"

using namespace DizOfficeStatusBar;

namespace DizOfficeStatusBar {

void TVistaBackground::Publish(TClassBuilder<TVistaBackground>& P) {
  using V = TVistaBackground;
  auto color = [&P](const char* name, TColor (V::*get)() const, void (V::*set)(TColor), TColor def) {
    P.Int(name, get, set, def).Consts(ColorConsts());
  };
  color("BorderColor", &V::BorderColor, &V::SetBorderColor, clNone);
  color("BorderColorHot", &V::BorderColorHot, &V::SetBorderColorHot, clGray);
  color("BorderColorDown", &V::BorderColorDown, &V::SetBorderColorDown, clGray);
  color("Color", &V::Color, &V::SetColor, clWhite);
  color("ColorTo", &V::ColorTo, &V::SetColorTo, clWhite);
  color("ColorHot", &V::ColorHot, &V::SetColorHot, clWhite);
  color("ColorHotTo", &V::ColorHotTo, &V::SetColorHotTo, clWhite);
  color("ColorDown", &V::ColorDown, &V::SetColorDown, clWhite);
  color("ColorDownTo", &V::ColorDownTo, &V::SetColorDownTo, clWhite);
  color("ColorMirror", &V::ColorMirror, &V::SetColorMirror, clSilver);
  color("ColorMirrorTo", &V::ColorMirrorTo, &V::SetColorMirrorTo, clWhite);
  color("ColorMirrorHot", &V::ColorMirrorHot, &V::SetColorMirrorHot, clSilver);
  color("ColorMirrorHotTo", &V::ColorMirrorHotTo, &V::SetColorMirrorHotTo, clWhite);
  color("ColorMirrorDown", &V::ColorMirrorDown, &V::SetColorMirrorDown, clSilver);
  color("ColorMirrorDownTo", &V::ColorMirrorDownTo, &V::SetColorMirrorDownTo, clWhite);
  P.Int("Steps", &V::Steps, &V::SetSteps, 64);
  color("TextColor", &V::TextColor, &V::SetTextColor, clBlack);
  color("TextColorHot", &V::TextColorHot, &V::SetTextColorHot, clBlack);
  color("TextColorDown", &V::TextColorDown, &V::SetTextColorDown, clBlack);
  P.Set("TextStyle", RegisterEnum("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}), &V::TextStyle,
        &V::SetTextStyle, TFontStyles());
}

void TVistaBackground::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TVistaBackground*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FSteps = s->FSteps;
  FBorderColor = s->FBorderColor;
  FBorderColorHot = s->FBorderColorHot;
  FBorderColorDown = s->FBorderColorDown;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FColorHot = s->FColorHot;
  FColorHotTo = s->FColorHotTo;
  FColorDown = s->FColorDown;
  FColorDownTo = s->FColorDownTo;
  FColorMirror = s->FColorMirror;
  FColorMirrorTo = s->FColorMirrorTo;
  FColorMirrorHot = s->FColorMirrorHot;
  FColorMirrorHotTo = s->FColorMirrorHotTo;
  FColorMirrorDown = s->FColorMirrorDown;
  FColorMirrorDownTo = s->FColorMirrorDownTo;
  FTextColor = s->FTextColor;
  FTextColorHot = s->FTextColorHot;
  FTextColorDown = s->FTextColorDown;
  SetTextStyle(s->FTextStyle);
}

void* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw Exception("Index out of bounds in list read access");
  if (Index < 0) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[Index];
}

void TDbgList::SetItemsEx(int Index, void* Item) {
  if (Index >= Count()) throw Exception("Index out of bounds in list write access");
  if (Index < 0) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems[Index] = Item;
}

bool TDbgList::Remove(void* Item) {
  for (auto it = FItems.begin(); it != FItems.end(); ++it)
    if (*it == Item) {
      FItems.erase(it);
      return true;
    }
  return false;
}

int TDbgList::IndexOf(void* Item) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i] == Item) return i;
  return -1;
}

int XPColorSchemeIndex() {
  OSVERSIONINFO info;
  GetVersionEx(&info);
  if (!(info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0))) return 0;
  TThemeBinding& theme = XPThemeBinding();
  if (!theme.IsThemeActive || !theme.GetCurrentThemeName || !theme.IsThemeActive()) return 0;
  char16_t file[256] = {}, color[256] = {}, size[256] = {};
  if (theme.GetCurrentThemeName(file, 255, color, 255, size, 255) != 0) return 0;
  const std::u16string scheme(color);
  if (scheme == u"NormalColor") return 1;
  if (scheme == u"HomeStead") return 2;
  if (scheme == u"Metallic") return 3;
  return 0;
}

}  // namespace DizOfficeStatusBar

// ---- the styler base ------------------------------------------------------------------------------

void TCustomDizOfficeStatusBarStyler::Publish(TClassBuilder<TCustomDizOfficeStatusBarStyler>& P) {
  using S = TCustomDizOfficeStatusBarStyler;
  P.Int("BorderColor", &S::BorderColor, &S::SetBorderColor, 0x00825A3B)
      .Consts(ColorConsts())
      .Object("PanelAppearanceLight", &S::PanelAppearanceLight, &S::SetPanelAppearanceLight)
      .Object("PanelAppearanceDark", &S::PanelAppearanceDark, &S::SetPanelAppearanceDark);
}

TCustomDizOfficeStatusBarStyler::TCustomDizOfficeStatusBarStyler(TComponent* AOwner)
    : TComponent(AOwner), FLight(std::make_unique<TVistaBackground>()), FDark(std::make_unique<TVistaBackground>()) {
  FLight->OnChange = [this](TObject*) { Change(1); };
  FDark->OnChange = [this](TObject*) { Change(1); };
}

TCustomDizOfficeStatusBarStyler::~TCustomDizOfficeStatusBarStyler() {
  // Bars still registered fall back to their internal stylers.
  const std::vector<TControl*> bars = [this] {
    std::vector<TControl*> v;
    for (int i = 0; i < FControls.Count(); ++i) v.push_back(static_cast<TControl*>(FControls.GetItemsEx(i)));
    return v;
  }();
  FLight->OnChange = nullptr;
  FDark->OnChange = nullptr;
  for (TControl* c : bars)
    if (auto* bar = dynamic_cast<TDizOfficeStatusBar*>(c)) bar->StylerDestroyed(this);
}

void TCustomDizOfficeStatusBarStyler::AddControl(TControl* Control) {
  if (!Control) return;
  FControls.Add(Control);
}

void TCustomDizOfficeStatusBarStyler::RemoveControl(TControl* Control) { FControls.Remove(Control); }

bool TCustomDizOfficeStatusBarStyler::HasControl(TControl* Control) const { return FControls.IndexOf(Control) >= 0; }

void TCustomDizOfficeStatusBarStyler::Change(int AChange) {
  // A bar may register or leave while being told; work on a snapshot.
  std::vector<TControl*> bars;
  for (int i = 0; i < FControls.Count(); ++i) bars.push_back(static_cast<TControl*>(FControls.GetItemsEx(i)));
  for (TControl* c : bars)
    if (FControls.IndexOf(c) >= 0)
      if (auto* bar = dynamic_cast<TDizOfficeStatusBar*>(c)) bar->UpdateMe(AChange);
}

void TCustomDizOfficeStatusBarStyler::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  Change(1);
}

void TCustomDizOfficeStatusBarStyler::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomDizOfficeStatusBarStyler*>(Source);
  if (!s) {
    TComponent::Assign(Source);
    return;
  }
  AutoThemeAdapt = s->AutoThemeAdapt;
  FLight->Assign(s->PanelAppearanceLight());
  FDark->Assign(s->PanelAppearanceDark());
  SetBorderColor(s->BorderColor());
}

void TCustomDizOfficeStatusBarStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && !ComponentState().Contains(csDestroying))
    while (FControls.Remove(AComponent)) {
    }
}

// ---- the office styler -----------------------------------------------------------------------------

namespace {

LRESULT NotifierProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_THEMECHANGED) {
    if (auto* styler = reinterpret_cast<TDizOfficeStatusBarOfficeStyler*>(GetWindowLongPtr(Window, GWLP_USERDATA)))
      styler->ThemeChanged(styler);
  }
  return DefWindowProc(Window, Msg, WParam, LParam);
}

const char* NotifierClass() {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = &NotifierProc;
    wc.lpszClassName = "TDizStatusBarThemeNotifier";
    RegisterClass(&wc);
    return "TDizStatusBarThemeNotifier";
  }();
  return name;
}

constexpr TColor U = TColor(0x7FFFFFFF);  // a cell the preset leaves unchanged

struct TBase {
  TColor Bar, LColor, LColorTo, LMirror, LMirrorTo, LBorder, DColor, DColorTo, DMirror, DMirrorTo;
};
struct TTexts {
  TColor L, LHot, LDown, D, DHot, DDown, DBorder;
};
struct THotDown {
  TColor Hot, HotTo, MirrorHot, MirrorHotTo, BorderHot, Down, DownTo, MirrorDown, MirrorDownTo, BorderDown;
};

// Indexed by TOfficeStatusBarStyle (psCustom's rows are never read).
const TBase kBase[] = {
    {0xE4AE88, 0xFADDC6, 0xE2A982, 0xE2A982, 0xE2A982, 0xE3B28D, 0xD38355, 0x9C430F, 0x9C430F, 0x9C430F},
    {0xB39698, 0xF7F3F3, 0xE6D8D8, 0xE6D8D8, 0xE6D8D8, clNone, 0xE6D8D8, 0xB79B9D, 0xB79B9D, 0xB79B9D},
    {0x8CC0B1, 0xCFF0EA, 0x90C3B5, 0x90C3B5, 0x90C3B5, clNone, 0x81BFAE, 0x4D846E, 0x4D846E, 0x4D846E},
    {0xC9D1D5, clWhite, 0xC9D1D5, clNone, clNone, clNone, clGray, clGray, clNone, clNone},
    {0xB07D56, 0xF9E6D7, 0xF8DCC7, 0xF5D0B3, 0xF7E0CD, clNone, 0xF8DCC5, 0xF5B687, 0xEAB690, 0xC29574},
    {0x414141, 0x414141, 0x30302F, 0x30302F, 0x4C4C4C, clNone, 0xA19F9E, 0x635F5E, 0x635F5E, 0x534D4B},
    {clSilver, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clNone, clWhite, clBtnFace, clBtnFace, clBtnFace},
    {0xA8C0C0, 0xF5F9FA, 0xA8C0C0, clNone, clNone, clNone, 0xEBEEEF, 0x7E9898, clNone, clNone},
    {},
    {0x766A61, 0xEBE8E7, 0xC7BBB5, 0xB7B0AA, 0xCEC9C7, clNone, 0xEBE8E7, 0xC7BBB6, 0xBAB4AE, 0xAFABA5},
    {0xFCF2DA, clWhite, clWhite, clNone, clNone, clNone, 0xFBEDD3, 0xFBEDD3, clNone, clNone},
    {0xCEA27D, clWhite, clWhite, clNone, clNone, clNone, 0xFCDBC1, 0xFCDBC1, clNone, clNone},
    {clGray, clBtnFace, clBtnFace, clBtnFace, clBtnFace, clGray, clSilver, clSilver, clSilver, clSilver},
};
const TTexts kTexts[] = {
    {clBlack, clBlack, clBlack, clWhite, clWhite, clWhite, clNone},
    {clBlack, U, U, clWhite, clWhite, clWhite, clNone},
    {clBlack, clBlack, clBlack, clWhite, U, U, clNone},
    {clBlack, clBlack, clBlack, clWhite, clWhite, clWhite, clNone},
    {0x612009, clBlack, clBlack, 0x612009, 0x612009, 0x612009, clNone},
    {clWhite, clWhite, clWhite, clWhite, clWhite, clWhite, clNone},
    {clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clNone},
    {clBlack, clBlack, clBlack, clBlack, U, U, clNone},
    {},
    {0x2A2623, clBlack, clBlack, 0x2A2623, 0x612009, 0x612009, clNone},
    {clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clNone},
    {clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clNone},
    {clBlack, clBlack, clBlack, clBlack, clBlack, clBlack, clGray},
};
const THotDown kLuna2007 = {0xFBFFFF, 0xC0F0FF, 0x6BD8FF, 0xA0E6FC, 0x99CEDB,
                            0x77B4F7, 0x459AF9, 0x1982F8, 0x03AEFF, 0x45667B};
const THotDown kBlue2003 = {0xD4FBFF, 0x63C4F7, 0x63C4F7, 0x63C4F7, clGray,
                            0x8CE1FA, 0x1D9AEF, 0x1D9AEF, 0x1D9AEF, 0x9C430F};
THotDown HotDownLight(TOfficeStatusBarStyle s) {
  using namespace DizOfficeStatusBar;
  THotDown h = kBlue2003;
  switch (s) {
    case psOffice2003Blue: return h;
    case psOffice2003Silver: h.BorderDown = 0xB79B9D; return h;
    case psOffice2003Olive: h.BorderDown = 0x4D846E; return h;
    case psOffice2003Classic:
      return {0xD2BDB6, 0xD2BDB6, 0xD2BDB6, 0xD2BDB6, clGray, 0xE2B598, 0xE2B598, clNone, clNone, clBlack};
    case psOffice2007Luna:
    case psOffice2007Obsidian:
    case psOffice2007Silver: return kLuna2007;
    case psWindowsXP: return {0xEFD3C6, 0xEFD3C6, clNone, clNone, clGray, 0xB59284, 0xB59284, clNone, clNone, clBlack};
    case psWhidbey: h.BorderDown = clBlack; return h;
    case psWindowsVista:
      return {0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0xFEDF9A, 0xFEF9F0, 0xFDF0D7, 0xFDF0D7, 0xFEF9F0, clHighlight};
    case psWindows7:
      return {0xFDFBFA, 0xFDF3EB, 0xFDF3EB, 0xFDFBFA, 0xE3B28D, 0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC, clHighlight};
    case psTerminal:
      return {clGray, clGray, clGray, clGray, clSilver, clHighlight, clHighlight, clHighlight, clHighlight, clGray};
    default: return h;
  }
}
THotDown HotDownDark(TOfficeStatusBarStyle s) {
  if (s == DizOfficeStatusBar::psOffice2003Classic)
    return {0xD2BDB6, 0xD2BDB6, clNone, clNone, clGray, 0xE2B598, 0xE2B598, clNone, clNone, clBlack};
  return HotDownLight(s);
}

void ApplyHotDown(TVistaBackground* v, const THotDown& h) {
  v->SetColorHot(h.Hot);
  v->SetColorHotTo(h.HotTo);
  v->SetColorMirrorHot(h.MirrorHot);
  v->SetColorMirrorHotTo(h.MirrorHotTo);
  v->SetBorderColorHot(h.BorderHot);
  v->SetColorDown(h.Down);
  v->SetColorDownTo(h.DownTo);
  v->SetColorMirrorDown(h.MirrorDown);
  v->SetColorMirrorDownTo(h.MirrorDownTo);
  v->SetBorderColorDown(h.BorderDown);
}

void SetIfChanged(TVistaBackground* v, void (TVistaBackground::*set)(TColor), TColor value) {
  if (value != U) (v->*set)(value);
}

}  // namespace

void TDizOfficeStatusBarOfficeStyler::Publish(TClassBuilder<TDizOfficeStatusBarOfficeStyler>& P) {
  static const TEnumInfo* names = RegisterEnum(
      "TOfficeStatusBarStyle", {"psOffice2003Blue", "psOffice2003Silver", "psOffice2003Olive", "psOffice2003Classic",
                                "psOffice2007Luna", "psOffice2007Obsidian", "psWindowsXP", "psWhidbey", "psCustom",
                                "psOffice2007Silver", "psWindowsVista", "psWindows7", "psTerminal"});
  using S = TDizOfficeStatusBarOfficeStyler;
  P.Bool("AutoThemeAdapt", &S::GetAutoThemeAdapt, &S::SetAutoThemeAdapt, false)
      .Enum("Style", names, &S::Style, &S::SetStyle, DizOfficeStatusBar::psOffice2003Blue);
}

TDizOfficeStatusBarOfficeStyler::TDizOfficeStatusBarOfficeStyler(TComponent* AOwner)
    : TCustomDizOfficeStatusBarStyler(AOwner) {
  FNotifier = CreateWindowEx(0, NotifierClass(), "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (FNotifier) SetWindowLongPtr(FNotifier, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetStyle(DizOfficeStatusBar::psWindowsXP);
  SetStyle(DizOfficeStatusBar::psOffice2003Blue);
}

TDizOfficeStatusBarOfficeStyler::~TDizOfficeStatusBarOfficeStyler() {
  if (FNotifier) {
    SetWindowLongPtr(FNotifier, GWLP_USERDATA, 0);
    DestroyWindow(FNotifier);
  }
}

void TDizOfficeStatusBarOfficeStyler::Loaded() {
  TCustomDizOfficeStatusBarStyler::Loaded();
  if (!ComponentState().Contains(csDesigning)) ThemeChanged(this);
}

void TDizOfficeStatusBarOfficeStyler::ThemeChanged(TObject*) {
  if (!AutoThemeAdapt) return;
  switch (XPColorSchemeIndex()) {
    case 1: SetStyle(DizOfficeStatusBar::psOffice2003Blue); break;
    case 2: SetStyle(DizOfficeStatusBar::psOffice2003Olive); break;
    case 3: SetStyle(DizOfficeStatusBar::psOffice2003Silver); break;
    default: SetStyle(DizOfficeStatusBar::psWindowsXP); break;
  }
}

void TDizOfficeStatusBarOfficeStyler::SetStyle(TOfficeStatusBarStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  FBlendFactor = 50;
  ApplyPreset(Value);
  Change(1);
}

void TDizOfficeStatusBarOfficeStyler::ApplyPreset(TOfficeStatusBarStyle Value) {
  if (Value == DizOfficeStatusBar::psCustom || Value < 0 || Value > DizOfficeStatusBar::psTerminal) return;
  const TBase& b = kBase[Value];
  const TTexts& t = kTexts[Value];
  TVistaBackground* l = FLight.get();
  TVistaBackground* d = FDark.get();
  SetBorderColor(b.Bar);
  l->SetColor(b.LColor);
  l->SetColorTo(b.LColorTo);
  l->SetColorMirror(b.LMirror);
  l->SetColorMirrorTo(b.LMirrorTo);
  l->SetBorderColor(b.LBorder);
  d->SetColor(b.DColor);
  d->SetColorTo(b.DColorTo);
  d->SetColorMirror(b.DMirror);
  d->SetColorMirrorTo(b.DMirrorTo);
  d->SetBorderColor(t.DBorder);
  SetIfChanged(l, &TVistaBackground::SetTextColor, t.L);
  SetIfChanged(l, &TVistaBackground::SetTextColorHot, t.LHot);
  SetIfChanged(l, &TVistaBackground::SetTextColorDown, t.LDown);
  SetIfChanged(d, &TVistaBackground::SetTextColor, t.D);
  SetIfChanged(d, &TVistaBackground::SetTextColorHot, t.DHot);
  SetIfChanged(d, &TVistaBackground::SetTextColorDown, t.DDown);
  ApplyHotDown(l, HotDownLight(Value));
  ApplyHotDown(d, HotDownDark(Value));
}

void TDizOfficeStatusBarFantasyStyler::Publish(TClassBuilder<TDizOfficeStatusBarFantasyStyler>& P) {
  static const TEnumInfo* names =
      RegisterEnum("TOfficeStatusBarFantasyStyle", {"psArctic", "psAquaBlue", "psChocolate", "psMacOS", "psSilverFox",
                                                    "psSoftSand", "psTerminalGreen", "psTextured", "psWindowsClassic",
                                                    "psUser"});
  using S = TDizOfficeStatusBarFantasyStyler;
  P.Bool("AutoThemeAdapt", &S::GetAutoThemeAdapt, &S::SetAutoThemeAdapt, false)
      .Enum("Style", names, &S::Style, &S::SetStyle, DizOfficeStatusBar::psChocolate);
}

TDizOfficeStatusBarFantasyStyler::TDizOfficeStatusBarFantasyStyler(TComponent* AOwner)
    : TCustomDizOfficeStatusBarStyler(AOwner) {
  SetStyle(DizOfficeStatusBar::psChocolate);
}
