#pragma once
// What the tool bar unit uses of the menus library: the glow button's colour set
// (TGlowButtonAppearance, with TGDIPGradient and the face position types of the glow
// button unit) and the menu styler family (TCustomRadUdirEtyler, TRadUdirEtyler).
//
// The tool bar styler uses only this of them:
// - TGlowButtonAppearance: a TPersistent with the 25 colours and 10 gradient kinds read
//   as Name() and written as SetName(value) (a setter fires OnChange only when the value
//   differs), OnChange (TNotifyEvent) and Assign (copies every colour and gradient).
// - TCustomRadUdirEtyler: a TComponent whose Assign accepts a TRadUdirEtyler and raises
//   the conversion error for any other source; TRadUdirEtyler(Owner) makes the plain one.
//
// When the menus library provides its headers they are used; until then the small
// classes below stand in for them with the same names, values and behaviour.
#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

#if __has_include("menus/DovAvarOrodez.h")
#include "menus/DovAvarOrodez.h"
#else
#define LORM_TOOLBAR_GLOW_STANDIN 1

enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };
enum TDropDownPosition { dpRight, dpBottom };

// The colour set of a glow button, per state: upper and lower (mirror) gradients, their
// kinds and the border.
class TGlowButtonAppearance : public TPersistent {
  LORM_CLASS(TGlowButtonAppearance, TPersistent)
public:
  TGlowButtonAppearance() = default;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

#define LORM_GLOW_PROP(Type, Name, Initial)        \
public:                                            \
  Type Name() const { return F##Name; }            \
  void Set##Name(Type Value) {                     \
    if (F##Name == Value) return;                  \
    F##Name = Value;                               \
    Changed();                                     \
  }                                                \
private:                                           \
  Type F##Name = Initial;

  LORM_GLOW_PROP(TColor, BorderColor, 0xC0C0C0)
  LORM_GLOW_PROP(TColor, BorderColorHot, 0xFF0000)
  LORM_GLOW_PROP(TColor, BorderColorDown, 0x800000)
  LORM_GLOW_PROP(TColor, BorderColorChecked, 0xFF0000)
  LORM_GLOW_PROP(TColor, BorderColorDisabled, 0x808080)
  LORM_GLOW_PROP(TColor, Color, 0xFFFFFF)
  LORM_GLOW_PROP(TColor, ColorTo, 0xFFFFFF)
  LORM_GLOW_PROP(TColor, ColorChecked, 0xF5D8CA)
  LORM_GLOW_PROP(TColor, ColorCheckedTo, 0xF9BDA0)
  LORM_GLOW_PROP(TColor, ColorDisabled, 0xF2F2F2)
  LORM_GLOW_PROP(TColor, ColorDisabledTo, 0xF2F2F2)
  LORM_GLOW_PROP(TColor, ColorDown, 0xF5D8CA)
  LORM_GLOW_PROP(TColor, ColorDownTo, 0xF9BDA0)
  LORM_GLOW_PROP(TColor, ColorHot, 0xF5F0E1)
  LORM_GLOW_PROP(TColor, ColorHotTo, 0xF9D2B2)
  LORM_GLOW_PROP(TColor, ColorMirror, 0xC0C0C0)
  LORM_GLOW_PROP(TColor, ColorMirrorTo, 0xFFFFFF)
  LORM_GLOW_PROP(TColor, ColorMirrorHot, 0xF5C8AD)
  LORM_GLOW_PROP(TColor, ColorMirrorHotTo, 0xFFF8F4)
  LORM_GLOW_PROP(TColor, ColorMirrorDown, 0xF5B49C)
  LORM_GLOW_PROP(TColor, ColorMirrorDownTo, 0xFFDFDC)
  LORM_GLOW_PROP(TColor, ColorMirrorChecked, 0xF5B49C)
  LORM_GLOW_PROP(TColor, ColorMirrorCheckedTo, 0xFFDFDC)
  LORM_GLOW_PROP(TColor, ColorMirrorDisabled, 0xB6B6B6)
  LORM_GLOW_PROP(TColor, ColorMirrorDisabledTo, 0xF2F2F2)
  LORM_GLOW_PROP(TGDIPGradient, Gradient, ggVertical)
  LORM_GLOW_PROP(TGDIPGradient, GradientMirror, ggVertical)
  LORM_GLOW_PROP(TGDIPGradient, GradientHot, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientMirrorHot, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientDown, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientMirrorDown, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientChecked, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientMirrorChecked, ggVertical)
  LORM_GLOW_PROP(TGDIPGradient, GradientDisabled, ggRadial)
  LORM_GLOW_PROP(TGDIPGradient, GradientMirrorDisabled, ggRadial)
  LORM_GLOW_PROP(bool, SystemFont, true)
#undef LORM_GLOW_PROP

public:
  void Changed() {
    if (OnChange) OnChange(this);
  }
};
#endif

#if __has_include("menus/RadUdire.h")
#include "menus/RadUdire.h"
#else
#define LORM_TOOLBAR_MENU_STANDIN 1

// The menu styler family as far as the tool bar styler links to it.
class TCustomRadUdirEtyler : public TComponent {
  LORM_CLASS(TCustomRadUdirEtyler, TComponent)
public:
  explicit TCustomRadUdirEtyler(TComponent* AOwner) : TComponent(AOwner) {}
  // Only a plain menu styler is accepted; any other source raises "Cannot assign a %s
  // to a %s".
  void Assign(TPersistent* Source) override;
};

class TRadUdirEtyler : public TCustomRadUdirEtyler {
  LORM_CLASS(TRadUdirEtyler, TCustomRadUdirEtyler)
public:
  using TCustomRadUdirEtyler::TCustomRadUdirEtyler;
};
#endif
