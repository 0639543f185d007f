// VivIzizEzu, the theme text block: 303 lines of key=value, one stored property each, in
// a fixed order. The line table below is the whole format; writing and reading walk it.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <istream>
#include <ostream>

#include "platform/rtl/SysUtils.h"
#include "toolbar/VivIzizEzu.h"

namespace VivIzizEzu {
namespace {

using S = TCustomVivIzizEzuStyler;

enum TEncoding { enColor, enInt, enSteps, enFontSize, enBool, enDirection, enGradient, enGrip, enFontStyle, enFontName };

// Font sizes beyond this many points are taken as damage (they would overflow the
// conversion to a font height).
constexpr int kMaxFontSize = 16384;
// Gradient step counts beyond this many are taken as damage too: no screen shows more
// bands than it has pixels.
constexpr int kMaxGradientSteps = 16384;

struct TLineDef {
  std::string Key;
  TEncoding Encoding;
  std::function<int(S&)> Get;             // every encoding but the font name
  std::function<void(S&, int)> Set;
  std::function<TFont*(S&)> Font;         // the font name line
};

// The colour identifiers of the block (exactly these; other values are written in hex).
const std::pair<const char*, uint32_t> kColorIdents[] = {
    {"clBlack", 0x00000000}, {"clMaroon", 0x00000080}, {"clGreen", 0x00008000}, {"clOlive", 0x00008080},
    {"clNavy", 0x00800000}, {"clPurple", 0x00800080}, {"clTeal", 0x00808000}, {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0}, {"clRed", 0x000000FF}, {"clLime", 0x0000FF00}, {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000}, {"clFuchsia", 0x00FF00FF}, {"clAqua", 0x00FFFF00}, {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0}, {"clSkyBlue", 0x00F0CAA6}, {"clCream", 0x00F0FBFF}, {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", 0x8000000A}, {"clActiveCaption", 0x80000002}, {"clAppWorkSpace", 0x8000000C},
    {"clBackground", 0x80000001}, {"clBtnFace", 0x8000000F}, {"clBtnHighlight", 0x80000014},
    {"clBtnShadow", 0x80000010}, {"clBtnText", 0x80000012}, {"clCaptionText", 0x80000009},
    {"clGradientActiveCaption", 0x8000001B}, {"clGradientInactiveCaption", 0x8000001C},
    {"clGrayText", 0x80000011}, {"clHighlight", 0x8000000D}, {"clHighlightText", 0x8000000E},
    {"clHotLight", 0x8000001A}, {"clInactiveBorder", 0x8000000B}, {"clInactiveCaption", 0x80000003},
    {"clInactiveCaptionText", 0x80000013}, {"clInfoBk", 0x80000018}, {"clInfoText", 0x80000017},
    {"clMenu", 0x80000004}, {"clMenuBar", 0x8000001E}, {"clMenuHighlight", 0x8000001D},
    {"clMenuText", 0x80000007}, {"clScrollBar", 0x80000000}, {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016}, {"clWindow", 0x80000005}, {"clWindowFrame", 0x80000006},
    {"clDefault", 0x20000000}, {"clNone", 0x1FFFFFFF}};

const char* const kGradientNames[] = {"ggRadial", "ggVertical", "ggDiagonalForward", "ggDiagonalBackward"};
const char* const kGripNames[] = {"dsDots", "dsSingleLine", "dsDoubleLine", "dsFlatDots", "dsNone"};
const char* const kFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

std::string ColorText(TColor c) {
  for (const auto& [name, value] : kColorIdents)
    if (static_cast<uint32_t>(c) == value) return name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(c));
  return buf;
}

// Decimal, or hexadecimal after "$", with an optional minus; 32 bits.
bool ParseInt(const std::string& s, int& out) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  bool hex = i < s.size() && s[i] == '$';
  if (hex) ++i;
  if (i >= s.size()) return false;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    char ch = s[i];
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (hex && ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else if (hex && ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + d;
    if (v > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return false;
  }
  if (!hex && !neg && v > 0x7FFFFFFFull) return false;
  uint32_t u = static_cast<uint32_t>(v);
  out = static_cast<int>(neg ? 0u - u : u);
  return true;
}

bool ParseColor(const std::string& s, int& out) {
  for (const auto& [name, value] : kColorIdents)
    if (SameTextAscii(s, name)) {
      out = static_cast<int>(value);
      return true;
    }
  return ParseInt(s, out);
}

std::vector<TLineDef> BuildLines() {
  std::vector<TLineDef> L;
  auto add = [&](std::string key, TEncoding e, std::function<int(S&)> g, std::function<void(S&, int)> st) {
    L.push_back({std::move(key), e, std::move(g), std::move(st), nullptr});
  };
  // One line of a property read as Obj->Name() and written as Obj->SetName(value).
#define VIE_LINE(Prefix, Enc, Obj, Name)                                                         \
  add(std::string(Prefix) + (*(Prefix) ? "." : "") + #Name, Enc,                                 \
      [](S& s) { return static_cast<int>((Obj)->Name()); },                                     \
      [](S& s, int v) { (Obj)->Set##Name(static_cast<decltype((Obj)->Name())>(v)); });
  // A font's colour, style, size and (with Named) name.
  auto font = [&](const std::string& prefix, std::function<TFont*(S&)> f, bool named) {
    add(prefix + ".Color", enColor, [f](S& s) { return static_cast<int>(f(s)->GetColor()); },
        [f](S& s, int v) { f(s)->SetColor(v); });
    add(prefix + ".Style", enFontStyle, [f](S& s) { return static_cast<int>(f(s)->GetStyle().Bits()); },
        [f](S& s, int v) { f(s)->SetStyle(TFontStyles::FromBits(static_cast<uint64_t>(v))); });
    add(prefix + ".Size", enFontSize, [f](S& s) { return f(s)->GetSize(); }, [f](S& s, int v) { f(s)->SetSize(v); });
    if (named) L.push_back({prefix + ".Name", enFontName, nullptr, nullptr, f});
  };
  auto gradientBackground = [&](const std::string& prefix, std::function<TGradientBackground*(S&)> o) {
    add(prefix + ".Color", enColor, [o](S& s) { return static_cast<int>(o(s)->Color()); },
        [o](S& s, int v) { o(s)->SetColor(v); });
    add(prefix + ".ColorTo", enColor, [o](S& s) { return static_cast<int>(o(s)->ColorTo()); },
        [o](S& s, int v) { o(s)->SetColorTo(v); });
    add(prefix + ".Direction", enDirection, [o](S& s) { return static_cast<int>(o(s)->Direction()); },
        [o](S& s, int v) { o(s)->SetDirection(static_cast<TGradientDirection>(v)); });
    add(prefix + ".Steps", enSteps, [o](S& s) { return o(s)->Steps(); }, [o](S& s, int v) { o(s)->SetSteps(v); });
  };
  auto mirror = [&](const std::string& prefix, std::function<TMirrorGradient*(S&)> o) {
    add(prefix + ".Color", enColor, [o](S& s) { return static_cast<int>(o(s)->Color()); },
        [o](S& s, int v) { o(s)->SetColor(v); });
    add(prefix + ".ColorTo", enColor, [o](S& s) { return static_cast<int>(o(s)->ColorTo()); },
        [o](S& s, int v) { o(s)->SetColorTo(v); });
    add(prefix + ".ColorMirror", enColor, [o](S& s) { return static_cast<int>(o(s)->ColorMirror()); },
        [o](S& s, int v) { o(s)->SetColorMirror(v); });
    add(prefix + ".ColorMirrorTo", enColor, [o](S& s) { return static_cast<int>(o(s)->ColorMirrorTo()); },
        [o](S& s, int v) { o(s)->SetColorMirrorTo(v); });
  };
  auto captionAppearance = [&](const char* p, TCaptionAppearance* (*o)(S&)) {
    add(std::string(p) + ".CaptionColor", enColor, [o](S& s) { return static_cast<int>(o(s)->CaptionColor()); },
        [o](S& s, int v) { o(s)->SetCaptionColor(v); });
    add(std::string(p) + ".CaptionColorTo", enColor, [o](S& s) { return static_cast<int>(o(s)->CaptionColorTo()); },
        [o](S& s, int v) { o(s)->SetCaptionColorTo(v); });
    add(std::string(p) + ".CaptionTextColor", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionTextColor()); },
        [o](S& s, int v) { o(s)->SetCaptionTextColor(v); });
    add(std::string(p) + ".CaptionBorderColor", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionBorderColor()); },
        [o](S& s, int v) { o(s)->SetCaptionBorderColor(v); });
    add(std::string(p) + ".CaptionColorHot", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionColorHot()); },
        [o](S& s, int v) { o(s)->SetCaptionColorHot(v); });
    add(std::string(p) + ".CaptionColorHotTo", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionColorHotTo()); },
        [o](S& s, int v) { o(s)->SetCaptionColorHotTo(v); });
    add(std::string(p) + ".CaptionTextColorHot", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionTextColorHot()); },
        [o](S& s, int v) { o(s)->SetCaptionTextColorHot(v); });
    add(std::string(p) + ".CaptionBorderColorHot", enColor,
        [o](S& s) { return static_cast<int>(o(s)->CaptionBorderColorHot()); },
        [o](S& s, int v) { o(s)->SetCaptionBorderColorHot(v); });
  };

  // 1
  VIE_LINE("", enBool, &s, AutoThemeAdapt)
  // 2-25: ButtonAppearance
#define BA s.ButtonAppearance()
  VIE_LINE("ButtonAppearance", enColor, BA, Color)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorTo)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorChecked)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorCheckedTo)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorDown)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorDownTo)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorHot)
  VIE_LINE("ButtonAppearance", enColor, BA, ColorHotTo)
  VIE_LINE("ButtonAppearance", enColor, BA, CaptionTextColor)
  VIE_LINE("ButtonAppearance", enColor, BA, CaptionTextColorHot)
  VIE_LINE("ButtonAppearance", enColor, BA, CaptionTextColorDown)
  VIE_LINE("ButtonAppearance", enColor, BA, CaptionTextColorChecked)
  VIE_LINE("ButtonAppearance", enDirection, BA, GradientDirection)
  VIE_LINE("ButtonAppearance", enDirection, BA, GradientDirectionHot)
  VIE_LINE("ButtonAppearance", enDirection, BA, GradientDirectionDown)
  VIE_LINE("ButtonAppearance", enDirection, BA, GradientDirectionChecked)
  VIE_LINE("ButtonAppearance", enColor, BA, BorderColor)
  VIE_LINE("ButtonAppearance", enColor, BA, BorderDownColor)
  VIE_LINE("ButtonAppearance", enColor, BA, BorderHotColor)
  VIE_LINE("ButtonAppearance", enColor, BA, BorderCheckedColor)
#undef BA
  font("ButtonAppearance.CaptionFont", [](S& s) { return s.ButtonAppearance()->CaptionFont(); }, true);
  // 26-41
  gradientBackground("Color", [](S& s) -> TGradientBackground* { return s.Color(); });
  mirror("Color.Mirror", [](S& s) { return s.Color()->Mirror(); });
  gradientBackground("DockColor", [](S& s) { return s.DockColor(); });
  font("Font", [](S& s) { return s.Font(); }, true);
  // 42-60
  VIE_LINE("", enGrip, &s, DragGripStyle)
  VIE_LINE("", enColor, &s, RightHandleColor)
  VIE_LINE("", enColor, &s, RightHandleColorHot)
  VIE_LINE("", enColor, &s, RightHandleColorTo)
  VIE_LINE("", enColor, &s, RightHandleColorHotTo)
  VIE_LINE("", enColor, &s, RightHandleColorDown)
  VIE_LINE("", enColor, &s, RightHandleColorDownTo)
  VIE_LINE("", enColor, &s, FloatingWindowBorderColor)
  VIE_LINE("", enInt, &s, FloatingWindowBorderWidth)
  captionAppearance("CaptionAppearance", [](S& s) { return s.CaptionAppearance(); });
  VIE_LINE("", enColor, &s, BorderColor)
  VIE_LINE("", enColor, &s, BorderColorHot)
  // 61-73
  gradientBackground("ColorHot", [](S& s) -> TGradientBackground* { return s.ColorHot(); });
  mirror("ColorHot.Mirror", [](S& s) { return s.ColorHot()->Mirror(); });
  font("CaptionFont", [](S& s) { return s.CaptionFont(); }, false);
  VIE_LINE("ContainerAppearance", enColor, s.ContainerAppearance(), LineColor)
  VIE_LINE("ContainerAppearance", enBool, s.ContainerAppearance(), Line3D)
  // 74-108 and 261-295: the glow button appearances
  auto glow = [&](const char* P, TGlowButtonAppearance* (*G)(S&)) {
#define VIE_GLOW(Enc, Name)                                                          \
  add(std::string(P) + "." #Name, Enc, [G](S& s) { return static_cast<int>(G(s)->Name()); }, \
      [G](S& s, int v) { G(s)->Set##Name(static_cast<decltype(G(s)->Name())>(v)); });
    VIE_GLOW(enColor, BorderColor) VIE_GLOW(enColor, BorderColorHot) VIE_GLOW(enColor, BorderColorDown)
    VIE_GLOW(enColor, BorderColorChecked) VIE_GLOW(enColor, BorderColorDisabled) VIE_GLOW(enColor, Color)
    VIE_GLOW(enColor, ColorTo) VIE_GLOW(enColor, ColorChecked) VIE_GLOW(enColor, ColorCheckedTo)
    VIE_GLOW(enColor, ColorDisabled) VIE_GLOW(enColor, ColorDisabledTo) VIE_GLOW(enColor, ColorDown)
    VIE_GLOW(enColor, ColorDownTo) VIE_GLOW(enColor, ColorHot) VIE_GLOW(enColor, ColorHotTo)
    VIE_GLOW(enColor, ColorMirror) VIE_GLOW(enColor, ColorMirrorTo) VIE_GLOW(enColor, ColorMirrorHot)
    VIE_GLOW(enColor, ColorMirrorHotTo) VIE_GLOW(enColor, ColorMirrorDown) VIE_GLOW(enColor, ColorMirrorDownTo)
    VIE_GLOW(enColor, ColorMirrorChecked) VIE_GLOW(enColor, ColorMirrorCheckedTo)
    VIE_GLOW(enColor, ColorMirrorDisabled) VIE_GLOW(enColor, ColorMirrorDisabledTo)
    VIE_GLOW(enGradient, Gradient) VIE_GLOW(enGradient, GradientMirror) VIE_GLOW(enGradient, GradientHot)
    VIE_GLOW(enGradient, GradientMirrorHot) VIE_GLOW(enGradient, GradientDown)
    VIE_GLOW(enGradient, GradientMirrorDown) VIE_GLOW(enGradient, GradientChecked)
    VIE_GLOW(enGradient, GradientMirrorChecked) VIE_GLOW(enGradient, GradientDisabled)
    VIE_GLOW(enGradient, GradientMirrorDisabled)
#undef VIE_GLOW
  };
  glow("GlowButtonAppearance", [](S& s) { return s.GlowButtonAppearance(); });
  // 109-121: PagerCaption
#define PC s.PagerCaption()
  VIE_LINE("PagerCaption", enColor, PC, BorderColor)
  VIE_LINE("PagerCaption", enColor, PC, Color)
  VIE_LINE("PagerCaption", enColor, PC, ColorTo)
  VIE_LINE("PagerCaption", enColor, PC, ColorMirror)
  VIE_LINE("PagerCaption", enColor, PC, ColorMirrorTo)
  VIE_LINE("PagerCaption", enGradient, PC, Gradient)
  VIE_LINE("PagerCaption", enGradient, PC, GradientMirror)
  VIE_LINE("PagerCaption", enSteps, PC, Steps)
  VIE_LINE("PagerCaption", enColor, PC, TextColor)
#undef PC
  font("PagerCaption.Font", [](S& s) { return s.PagerCaption()->Font(); }, true);
  // 122-169 and 207-250: the tab appearances
  auto tabs = [&](const std::string& P, TCustomTabAppearance* (*T)(S&), bool withBackGround) {
    if (withBackGround)
      gradientBackground(P + ".BackGround", [T](S& s) { return T(s)->BackGround(); });
#define VIE_TAB(Enc, Name)                                                           \
  add(P + "." #Name, Enc, [T](S& s) { return static_cast<int>(T(s)->Name()); },    \
      [T](S& s, int v) { T(s)->Set##Name(static_cast<decltype(T(s)->Name())>(v)); });
    VIE_TAB(enColor, BorderColor) VIE_TAB(enColor, BorderColorHot) VIE_TAB(enColor, BorderColorSelected)
    VIE_TAB(enColor, BorderColorSelectedHot) VIE_TAB(enColor, BorderColorDown)
    VIE_TAB(enColor, BorderColorDisabled) VIE_TAB(enColor, Color) VIE_TAB(enColor, ColorTo)
    VIE_TAB(enColor, ColorSelected) VIE_TAB(enColor, ColorSelectedTo) VIE_TAB(enColor, ColorDisabled)
    VIE_TAB(enColor, ColorDisabledTo) VIE_TAB(enColor, ColorHot) VIE_TAB(enColor, ColorHotTo)
    VIE_TAB(enColor, ColorMirror) VIE_TAB(enColor, ColorMirrorTo) VIE_TAB(enColor, ColorMirrorHot)
    VIE_TAB(enColor, ColorMirrorHotTo) VIE_TAB(enColor, ColorMirrorSelected)
    VIE_TAB(enColor, ColorMirrorSelectedTo) VIE_TAB(enColor, ColorMirrorDisabled)
    VIE_TAB(enColor, ColorMirrorDisabledTo)
    font(P + ".Font", [T](S& s) { return T(s)->Font(); }, true);
    VIE_TAB(enGradient, Gradient) VIE_TAB(enGradient, GradientMirror) VIE_TAB(enGradient, GradientHot)
    VIE_TAB(enGradient, GradientMirrorHot) VIE_TAB(enGradient, GradientSelected)
    VIE_TAB(enGradient, GradientMirrorSelected) VIE_TAB(enGradient, GradientDisabled)
    VIE_TAB(enGradient, GradientMirrorDisabled)
    VIE_TAB(enColor, TextColor) VIE_TAB(enColor, TextColorHot) VIE_TAB(enColor, TextColorSelected)
    VIE_TAB(enColor, TextColorDisabled) VIE_TAB(enColor, ShadowColor) VIE_TAB(enColor, HighLightColor)
    VIE_TAB(enColor, HighLightColorHot) VIE_TAB(enColor, HighLightColorSelected)
    VIE_TAB(enColor, HighLightColorSelectedHot) VIE_TAB(enColor, HighLightColorDown)
#undef VIE_TAB
  };
  tabs("TabAppearance", [](S& s) -> TCustomTabAppearance* { return s.TabAppearance(); }, true);
  // 170-178: PageAppearance
#define PA s.PageAppearance()
  VIE_LINE("PageAppearance", enColor, PA, BorderColor)
  VIE_LINE("PageAppearance", enColor, PA, Color)
  VIE_LINE("PageAppearance", enColor, PA, ColorTo)
  VIE_LINE("PageAppearance", enColor, PA, ColorMirror)
  VIE_LINE("PageAppearance", enColor, PA, ColorMirrorTo)
  VIE_LINE("PageAppearance", enColor, PA, ShadowColor)
  VIE_LINE("PageAppearance", enGradient, PA, Gradient)
  VIE_LINE("PageAppearance", enGradient, PA, GradientMirror)
  VIE_LINE("PageAppearance", enSteps, PA, Steps)
#undef PA
  // 179-260: GroupAppearance
#define GA s.GroupAppearance()
  VIE_LINE("GroupAppearance", enColor, GA, BorderColor)
  VIE_LINE("GroupAppearance", enColor, GA, Color)
  VIE_LINE("GroupAppearance", enColor, GA, ColorTo)
  VIE_LINE("GroupAppearance", enColor, GA, ColorMirror)
  VIE_LINE("GroupAppearance", enColor, GA, ColorMirrorTo)
  font("GroupAppearance.Font", [](S& s) { return s.GroupAppearance()->Font(); }, true);
  VIE_LINE("GroupAppearance", enGradient, GA, Gradient)
  VIE_LINE("GroupAppearance", enGradient, GA, GradientMirror)
  VIE_LINE("GroupAppearance", enColor, GA, TextColor)
  captionAppearance("GroupAppearance.CaptionAppearance", [](S& s) { return s.GroupAppearance()->CaptionAppearance(); });
#define GP s.GroupAppearance()->PageAppearance()
  VIE_LINE("GroupAppearance.PageAppearance", enColor, GP, BorderColor)
  VIE_LINE("GroupAppearance.PageAppearance", enColor, GP, Color)
  VIE_LINE("GroupAppearance.PageAppearance", enColor, GP, ColorTo)
  VIE_LINE("GroupAppearance.PageAppearance", enColor, GP, ColorMirror)
  VIE_LINE("GroupAppearance.PageAppearance", enColor, GP, ColorMirrorTo)
  VIE_LINE("GroupAppearance.PageAppearance", enGradient, GP, Gradient)
  VIE_LINE("GroupAppearance.PageAppearance", enGradient, GP, GradientMirror)
  VIE_LINE("GroupAppearance.PageAppearance", enSteps, GP, Steps)
#undef GP
  tabs("GroupAppearance.TabAppearance", [](S& s) { return s.GroupAppearance()->TabAppearance(); }, false);
  VIE_LINE("GroupAppearance.ToolBarAppearance", enColor, GA->ToolBarAppearance(), BorderColor)
  VIE_LINE("GroupAppearance.ToolBarAppearance", enColor, GA->ToolBarAppearance(), BorderColorHot)
  gradientBackground("GroupAppearance.ToolBarAppearance.Color",
                     [](S& s) { return s.GroupAppearance()->ToolBarAppearance()->Color(); });
  gradientBackground("GroupAppearance.ToolBarAppearance.ColorHot",
                     [](S& s) { return s.GroupAppearance()->ToolBarAppearance()->ColorHot(); });
#undef GA
  // 261-295
  glow("CompactGlowButtonAppearance", [](S& s) { return s.CompactGlowButtonAppearance(); });
  // 296-303
#define QA s.QATAppearance()
  VIE_LINE("QATAppearance", enColor, QA, BorderColor)
  VIE_LINE("QATAppearance", enColor, QA, Color)
  VIE_LINE("QATAppearance", enColor, QA, ColorTo)
  VIE_LINE("QATAppearance", enColor, QA, FullSizeBorderColor)
  VIE_LINE("QATAppearance", enColor, QA, FullSizeColor)
  VIE_LINE("QATAppearance", enColor, QA, FullSizeColorTo)
  VIE_LINE("QATAppearance", enSteps, QA, Steps)
#undef QA
  VIE_LINE("", enColor, &s, FormBorderColor)
#undef VIE_LINE
  return L;
}

const std::vector<TLineDef>& Lines() {
  static const std::vector<TLineDef> lines = BuildLines();
  return lines;
}

// A line taken apart as a comma text: the value after the first "=" of the first item
// named Key (ignoring case); empty when there is none. Found tells whether it was there.
std::string LookUp(const std::string& Line, const std::string& Key, bool& Found, bool& AnyItem) {
  TStringList items;
  items.SetCommaText(Line);
  AnyItem = items.Count() > 0;
  Found = false;
  for (int i = 0; i < items.Count(); ++i) {
    std::string item = items[i];
    size_t eq = item.find('=');
    if (eq == std::string::npos || !SameTextAscii(item.substr(0, eq), Key)) continue;
    Found = true;
    return item.substr(eq + 1);
  }
  return {};
}

// One checked value, ready to apply.
struct TParsed {
  bool Apply = true;
  int Value = 0;
  std::string Text;
};

}  // namespace

void TCustomVivIzizEzuStyler::SavePropToFile(std::ostream& F) {
  for (const TLineDef& d : Lines()) {
    std::string value;
    bool commaText = false;
    switch (d.Encoding) {
      case enColor: value = ColorText(d.Get(*this)); break;
      case enInt:
      case enSteps:
      case enFontSize: value = std::to_string(d.Get(*this)); break;
      case enBool: value = d.Get(*this) ? "True" : "False"; commaText = true; break;
      case enDirection: value = d.Get(*this) == gdHorizontal ? "gdHorizontal" : "gdVertical"; break;
      case enGradient: value = kGradientNames[d.Get(*this) & 3]; break;
      case enGrip: value = kGripNames[d.Get(*this)]; break;
      case enFontStyle: {
        TFontStyles st = TFontStyles::FromBits(static_cast<uint64_t>(d.Get(*this)));
        for (int i = 0; i < 4; ++i)
          if (st.Contains(static_cast<TFontStyle>(i))) value += (value.empty() ? "" : ",") + std::string(kFontStyleNames[i]);
        break;
      }
      case enFontName: value = d.Font(*this)->GetName(); commaText = true; break;
    }
    std::string line = d.Key + "=" + value;
    if (commaText) {
      TStringList one;
      one.Add(line);
      line = one.CommaText();
    }
    F << line << "\r\n";
    if (!F) throw EInOutError("I/O error writing the theme text");
  }
}

void TCustomVivIzizEzuStyler::LoadPropFromFile(std::istream& F) {
  const auto& lines = Lines();
  std::vector<TParsed> parsed(lines.size());
  // Every line is read and checked first, so a damaged block changes nothing.
  try {
    for (size_t n = 0; n < lines.size(); ++n) {
      const TLineDef& d = lines[n];
      std::string raw;
      if (F.good()) std::getline(F, raw);
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      TParsed& p = parsed[n];
      bool found = false, anyItem = false;
      if (d.Encoding == enFontStyle) {
        size_t eq = raw.find('=');
        TStringList items;
        items.SetCommaText(eq == std::string::npos ? std::string() : raw.substr(eq + 1));
        TFontStyles st;
        for (int i = 0; i < items.Count(); ++i)
          for (int k = 0; k < 4; ++k)
            if (SameTextAscii(items[i], kFontStyleNames[k])) st.Include(static_cast<TFontStyle>(k));
        p.Value = static_cast<int>(st.Bits());
        continue;
      }
      std::string value = LookUp(raw, d.Key, found, anyItem);
      switch (d.Encoding) {
        case enColor:
          if (n + 1 == lines.size() && !anyItem) {  // a missing last line: black
            p.Value = clBlack;
            break;
          }
          if (!ParseColor(value, p.Value)) throw Exception("bad colour");
          break;
        case enInt:
          if (!ParseInt(value, p.Value)) throw Exception("bad integer");
          break;
        case enSteps:
          if (!ParseInt(value, p.Value) || p.Value < -kMaxGradientSteps || p.Value > kMaxGradientSteps)
            throw Exception("bad step count");
          break;
        case enFontSize:
          if (!ParseInt(value, p.Value) || p.Value < -kMaxFontSize || p.Value > kMaxFontSize)
            throw Exception("bad font size");
          break;
        case enBool: p.Value = SameTextAscii(value, "True"); break;
        case enDirection: p.Value = SameTextAscii(value, "gdHorizontal") ? gdHorizontal : gdVertical; break;
        case enGradient:
        case enGrip: {
          p.Apply = false;
          const char* const* names = d.Encoding == enGradient ? kGradientNames : kGripNames;
          int count = d.Encoding == enGradient ? 4 : 5;
          for (int k = 0; k < count && !p.Apply; ++k)
            if (SameTextAscii(value, names[k])) {
              p.Apply = true;
              p.Value = k;
            }
          break;
        }
        case enFontName: p.Text = value; break;
        case enFontStyle: break;
      }
    }
  } catch (const std::exception&) {
    throw Exception("Corrupt file");
  }
  for (size_t n = 0; n < lines.size(); ++n) {
    const TLineDef& d = lines[n];
    const TParsed& p = parsed[n];
    if (!p.Apply) continue;
    if (d.Encoding == enFontName) d.Font(*this)->SetName(p.Text);
    else d.Set(*this, p.Value);
  }
}

}  // namespace VivIzizEzu
