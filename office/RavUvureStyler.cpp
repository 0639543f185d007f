// RavUvure, part 5: the panel styler, its presets and its theme notifier window.
#include "foundation/DizAppStyler.h"
#include "office/RavUvure.h"
#include "platform/win/WinUser.h"

using namespace RavUvure;

namespace {

const TEnumInfo* StyleNames() {
  static const TEnumInfo* n = RegisterEnum(
      "TRavUvureStyle", {"psXP", "psFlat", "psZAD", "psClassic", "psOffice2003Blue", "psOffice2003Olive",
                         "psOffice2003Silver", "psOffice2003Classic", "psOffice2007Luna", "psOffice2007Obsidian",
                         "psWhidbey", "psWindowsXP", "psCustom", "psOffice2007Silver", "psWindowsVista", "psWindows7",
                         "psTerminal"});
  return n;
}

constexpr TColor kNoChange = TColor(0x7FFFFFFF);  // a table cell the preset leaves as it is

struct TBodyRow {
  TColor Color, ColorTo, ColorMirror, ColorMirrorTo, FontColor;
  TPanelBevel BevelOuter;
  TColor BorderColor;
  bool BorderShadow;
  TColor CollapsColor;
};
struct TCaptionRow {
  TColor Color, ColorTo, FontColor;
  TGradientDirection Direction;
  TShadeType Shade;
  int Height, Indent;  // -1: unchanged
  int Visible;         // -1 unchanged, 0 hidden, 1 shown
};
struct TStatusRow {
  TColor Color, ColorTo;
  int Direction;  // -1 unchanged
  TColor BorderColor;
  TBorderStyle BorderStyle;
  bool BevelInner;
  TColor FontColor;
};

// Indexed by TRavUvureStyle; psCustom's rows are never used.
const TBodyRow kBody[] = {
    {clWhite, 0xE3F0F2, clNone, clNone, kNoChange, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvNone, 0x808080, false, clBtnFace},
    {clWhite, 0xE4E4E4, clNone, clNone, clWindowText, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvRaised, 0x808080, false, clBtnFace},
    {0xFDEADA, 0xE4AE88, clNone, clNone, clWindowText, bvNone, 0x808080, false, clNone},
    {0xCFF0EA, 0x8CC0B1, clNone, clNone, clWindowText, bvNone, 0x808080, false, clNone},
    {0xECE2E1, 0xB39698, clNone, clNone, clWindowText, bvNone, 0x808080, false, clNone},
    {clWhite, 0xC9D1D5, clNone, clNone, kNoChange, bvNone, 0x808080, true, clBtnFace},
    {0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0x723708, bvNone, 0xFFD2AF, false, clNone},
    {0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x723708, bvNone, 0xFFD2AF, false, clNone},
    {clWhite, 0xE3F0F2, clNone, clNone, kNoChange, bvNone, 0x808080, true, clBtnFace},
    {clBtnFace, clNone, clNone, clNone, clWindowText, bvRaised, 0x808080, false, clBtnFace},
    {},  // psCustom
    {0xF9F5F3, 0xE7DCD5, 0xE7DCD5, 0xFBFAF0, 0x723708, bvNone, 0xFFD2AF, false, clNone},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0x723708, bvNone, 0xFDDE99, false, clNone},
    {0xFDFBFA, 0xFDF3EB, clNone, clNone, 0x723708, bvNone, 0xFFD2AF, false, clNone},
    {clBtnFace, clNone, clNone, clNone, clBlack, bvNone, 0x808080, false, clHighlight},
};
const TCaptionRow kCaption[] = {
    {clHighlight, 0xFF0000, clHighlightText, gdHorizontal, stNormal, 20, 2, -1},
    {clHighlight, clNone, clHighlightText, gdHorizontal, stNormal, 20, 0, -1},
    {clWhite, clNone, clBlack, gdHorizontal, stRMetal, 20, 4, 1},
    {clWhite, clNone, clBlack, gdHorizontal, stNormal, -1, -1, 0},
    {0xD68759, 0x933803, clWhite, gdVertical, stNormal, -1, -1, -1},
    {0xC6EFE7, 0x94BDB5, clBlack, gdVertical, stNormal, -1, -1, -1},
    {0xEFE7E7, 0xAA8888, clBlack, gdVertical, stNormal, -1, -1, -1},
    {clHighlight, 0xFF0000, clHighlightText, gdHorizontal, stNormal, 20, 2, -1},
    {0xFFEFE3, 0xFFD2AF, clBlack, gdVertical, stNormal, -1, -1, -1},
    {0xB8B8B6, 0xA0A09E, clWhite, gdVertical, stNormal, -1, -1, -1},
    {0xF3F7F8, 0xACC3C3, clBlack, gdVertical, stNormal, 20, 2, -1},
    {clWhite, clNone, clHighlightText, gdHorizontal, stNormal, -1, -1, 0},
    {},
    {0xF8F7F6, 0xE8E0DB, clBlack, gdVertical, stNormal, -1, -1, -1},
    {0xFDF8F1, 0xFCEFD5, clBlack, gdVertical, stNormal, -1, -1, -1},
    {0xFCEBDC, 0xFCDBC1, clBlack, gdVertical, stNormal, -1, -1, -1},
    {0xC0C0C0, clNone, clBlack, gdVertical, stNormal, -1, -1, -1},
};
const TStatusRow kStatus[] = {
    {0xE3F0F2, clWhite, -1, 0xC0C0C0, bsSingle, false, clBlack},
    {clBtnFace, clNone, -1, 0xC0C0C0, bsSingle, false, clBlack},
    {0xDEDEDE, 0xA9A9A9, -1, clWhite, bsSingle, false, clBlack},
    {clBtnFace, clNone, -1, clNone, bsNone, true, clBlack},
    {0xE08F65, 0xF9DBC4, -1, clNone, bsSingle, false, clWhite},
    {0x80B0A1, 0xD3E4E3, -1, clNone, bsSingle, false, clBlack},
    {0xBFA8A9, 0xDECFCF, -1, clNone, bsSingle, false, clBlack},
    {0xE3F0F2, clWhite, -1, 0xC0C0C0, bsSingle, false, clBlack},
    {0xF7E3D3, 0xF5D0B3, gdVertical, 0xFFD2AF, bsSingle, false, 0x723708},
    {0xA19F9E, 0x534D4B, gdVertical, clBlack, bsSingle, false, clWhite},
    {0xE3F0F2, clWhite, -1, 0xC0C0C0, bsSingle, false, clBlack},
    {clBtnFace, clNone, -1, clNone, bsNone, true, clBlack},
    {},
    {0xFAEEEB, 0xE5DBD7, gdVertical, clBlack, bsSingle, false, 0x723708},
    {0xFDF8F1, 0xFCEFD5, gdVertical, 0xFDDE99, bsSingle, false, 0x723708},
    {0xFCEBDC, 0xFCDBC1, gdVertical, 0xCEA27D, bsSingle, false, 0x723708},
    {0xC0C0C0, clNone, gdVertical, clBlack, bsSingle, false, clBlack},
};

bool SetsShade(TRavUvureStyle s) {
  switch (s) {
    case psZAD: case psClassic: case psOffice2003Blue: case psOffice2003Olive: case psOffice2003Silver:
    case psOffice2007Luna: case psOffice2007Obsidian: case psWindowsXP: case psOffice2007Silver:
    case psWindowsVista: case psWindows7: case psTerminal:
      return true;
    default: return false;
  }
}

// The hidden window that hears of theme changes for its styler.
LRESULT NotifierProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_THEMECHANGED) {
    if (auto* styler = reinterpret_cast<TRavUvureStyler*>(GetWindowLongPtr(Window, GWLP_USERDATA)))
      styler->ThemeChanged(styler);
    return 0;
  }
  return DefWindowProc(Window, Msg, WParam, LParam);
}

const char* NotifierClass() {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = &NotifierProc;
    wc.lpszClassName = "TRavUvureThemeNotifier";
    RegisterClass(&wc);
    return "TRavUvureThemeNotifier";
  }();
  return name;
}

}  // namespace

void TRavUvureStyler::Publish(TClassBuilder<TRavUvureStyler>& P) {
  using S = TRavUvureStyler;
  P.Bool("AutoThemeAdapt", &S::GetAutoThemeAdapt, &S::SetAutoThemeAdapt, false)
      .Object("Settings", &S::Settings, &S::SetSettings)
      .Str("Comments", &S::GetComments, &S::SetComments)
      .Enum("Style", StyleNames(), &S::Style, &S::SetStyle, psXP);
}

TRavUvureStyler::TRavUvureStyler(TComponent* AOwner)
    : TComponent(AOwner), FSettings(std::make_unique<TRavUvureSettings>()) {
  FNotifier = CreateWindowEx(0, NotifierClass(), "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (FNotifier) SetWindowLongPtr(FNotifier, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  FSettings->OnChange = [this](TObject* Sender) { Changed(Sender); };
  SetStyle(psXP);
}

TRavUvureStyler::~TRavUvureStyler() {
  if (FNotifier) {
    SetWindowLongPtr(FNotifier, GWLP_USERDATA, 0);
    DestroyWindow(FNotifier);
  }
  FSettings->OnChange = nullptr;
}

void TRavUvureStyler::SetStyle(TRavUvureStyle Value) {
  FStyle = Value;
  // A form stores the settings before the style: the stored settings are what the form
  // holds, so a style read while loading does not overwrite them.
  if (ComponentState().Contains(csLoading)) return;
  FSettings->BeginUpdate();
  ApplyPreset(Value);
  FSettings->EndUpdate();
}

void TRavUvureStyler::ApplyPreset(TRavUvureStyle Value) {
  if (Value == psCustom || Value < psXP || Value > psTerminal) return;
  TRavUvureSettings& s = *FSettings;
  const TBodyRow& body = kBody[Value];
  const TCaptionRow& cap = kCaption[Value];
  const TStatusRow& status = kStatus[Value];
  s.BevelInner = bvNone;
  s.BorderStyle = bsNone;
  if (SetsShade(Value)) {
    s.Caption()->SetShadeGrain(32);
    s.Caption()->SetShadeLight(255);
  }
  s.Color = body.Color;
  s.ColorTo = body.ColorTo;
  s.ColorMirror = body.ColorMirror;
  s.ColorMirrorTo = body.ColorMirrorTo;
  if (body.FontColor != kNoChange) s.Font()->SetColor(body.FontColor);
  s.BevelOuter = body.BevelOuter;
  s.BorderColor = body.BorderColor;
  s.BorderShadow = body.BorderShadow;
  s.CollapsColor = body.CollapsColor;
  TPanelCaption* c = s.Caption();
  c->SetColor(cap.Color);
  c->SetColorTo(cap.ColorTo);
  c->Font()->SetColor(cap.FontColor);
  c->SetGradientDirection(cap.Direction);
  c->SetShadeType(cap.Shade);
  if (cap.Height >= 0) {
    if (Value == psFlat) c->SetHeight(cap.Height);
    else c->SetHeightQuiet(cap.Height);
  }
  if (cap.Indent >= 0) c->SetIndent(cap.Indent);
  if (cap.Visible >= 0) c->SetVisible(cap.Visible == 1);
  TPanelStatusBar* sb = s.StatusBar();
  sb->SetColor(status.Color);
  sb->SetColorTo(status.ColorTo);
  if (status.Direction >= 0) sb->SetGradientDirection(TGradientDirection(status.Direction));
  sb->SetBorderColor(status.BorderColor);
  sb->SetBorderStyle(status.BorderStyle);
  sb->SetBevelInner(status.BevelInner);
  sb->Font()->SetColor(status.FontColor);
}

void TRavUvureStyler::SetComponentStyle(DUZERazav AStyle) {
  static const TRavUvureStyle map[] = {psOffice2003Blue,    psOffice2003Silver, psOffice2003Olive, psOffice2003Classic,
                                       psOffice2007Luna,    psOffice2007Obsidian, psWindowsXP,     psWhidbey,
                                       psCustom,            psOffice2007Silver, psWindowsVista,    psWindows7,
                                       psTerminal};
  if (AStyle == tsCustom || AStyle < 0 || AStyle > tsTerminal) return;
  SetStyle(map[AStyle]);
}

void TRavUvureStyler::Changed(TObject*) {
  if (ComponentState().Contains(csLoading) || !Owner()) return;
  for (TComponent* c : Owner()->ComponentList())
    if (auto* panel = dynamic_cast<TCustomRavUvure*>(c); panel && panel->Styler() == this)
      panel->AssignStyle(FSettings.get());
}

void TRavUvureStyler::ThemeChanged(TObject*) {
  if (!AutoThemeAdapt) return;
  switch (XPColorSchemeStyle()) {
    case tsOffice2003Blue: SetStyle(psOffice2003Blue); break;
    case tsOffice2003Olive: SetStyle(psOffice2003Olive); break;
    case tsOffice2003Silver: SetStyle(psOffice2003Silver); break;
    default: SetStyle(psXP); break;
  }
}

void TRavUvureStyler::Loaded() {
  TComponent::Loaded();
  if (!ComponentState().Contains(csDesigning)) ThemeChanged(this);
  Changed(this);
}

void TRavUvureStyler::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TRavUvureStyler*>(Source);
  if (!s) return;
  AutoThemeAdapt = s->AutoThemeAdapt;
  FSettings->Assign(s->Settings());
  Comments = s->Comments;
  SetStyle(s->Style());
}
