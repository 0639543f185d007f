// VivIzizEzu, the appearance classes: copying and the system font switch. The styler is
// in VivIzizEzu.cpp, the theme text in VivIzizEzuTheme.cpp.
#include "toolbar/VivIzizEzu.h"

namespace VivIzizEzu {

std::string SystemFontName() { return IsVista() ? "Segoe UI" : "Tahoma"; }

std::unique_ptr<TFont> MakeSystemFont(int Size) {
  auto font = std::make_unique<TFont>();
  font->SetName(SystemFontName());
  if (Size > 0) font->SetSize(Size);
  return font;
}

// Switching a system-font flag on renames the font; switching it off changes nothing.
static void SwitchSystemFont(bool& Flag, bool Value, std::initializer_list<TFont*> Fonts) {
  if (Flag == Value) return;
  Flag = Value;
  if (Value)
    for (TFont* f : Fonts) f->SetName(SystemFontName());
}

// ---- TGradientBackground, TMirrorGradient, TVistaGradientBackground -------------------------
void TGradientBackground::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TGradientBackground*>(Source);
  if (!src) return;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FDirection = src->FDirection;
  FSteps = src->FSteps;
}

void TMirrorGradient::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TMirrorGradient*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorMirror = src->FColorMirror;
  FColorMirrorTo = src->FColorMirrorTo;
}

TVistaGradientBackground::TVistaGradientBackground() : FMirror(std::make_unique<TMirrorGradient>()) {}

void TVistaGradientBackground::Assign(TPersistent* Source) {
  TGradientBackground::Assign(Source);
  if (auto* src = dynamic_cast<TVistaGradientBackground*>(Source)) FMirror->Assign(src->FMirror.get());
}

// ---- TButtonAppearance -----------------------------------------------------------------------
TButtonAppearance::TButtonAppearance() : FCaptionFont(MakeSystemFont()) {}

void TButtonAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TButtonAppearance*>(Source);
  if (!src) return;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorHot = src->FColorHot;
  FColorHotTo = src->FColorHotTo;
  FColorDown = src->FColorDown;
  FColorDownTo = src->FColorDownTo;
  FColorChecked = src->FColorChecked;
  FColorCheckedTo = src->FColorCheckedTo;
  FCaptionTextColor = src->FCaptionTextColor;
  FCaptionTextColorHot = src->FCaptionTextColorHot;
  FCaptionTextColorDown = src->FCaptionTextColorDown;
  FCaptionTextColorChecked = src->FCaptionTextColorChecked;
  FGradientDirection = src->FGradientDirection;
  FBorderColor = src->FBorderColor;
  FBorderHotColor = src->FBorderHotColor;
  FBorderDownColor = src->FBorderDownColor;
  FBorderCheckedColor = src->FBorderCheckedColor;
}

void TButtonAppearance::SetCaptionFont(TFont* Value) {
  FCaptionFont->Assign(Value);
  Changed();
}

void TButtonAppearance::SetSystemFont(bool Value) { SwitchSystemFont(FSystemFont, Value, {FCaptionFont.get()}); }

// ---- TContainerAppearance, TCaptionAppearance --------------------------------------------------
void TContainerAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TContainerAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  SetLineColor(src->FLineColor);
  SetLine3D(src->FLine3D);
}

void TCaptionAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCaptionAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FCaptionColor = src->FCaptionColor;
  FCaptionColorTo = src->FCaptionColorTo;
  FCaptionTextColor = src->FCaptionTextColor;
  FCaptionBorderColor = src->FCaptionBorderColor;
  FCaptionBorderColorHot = src->FCaptionBorderColorHot;
  FCaptionColorHot = src->FCaptionColorHot;
  SetCaptionColorHotTo(src->FCaptionColorHotTo);
  SetCaptionTextColorHot(src->FCaptionTextColorHot);
}

// ---- TVistaBackground, TVistaTextBackground ------------------------------------------------
void TVistaBackground::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TVistaBackground*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FSteps = src->FSteps;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorMirror = src->FColorMirror;
  FColorMirrorTo = src->FColorMirrorTo;
  FBorderColor = src->FBorderColor;
  FShadowColor = src->FShadowColor;
  FHighLightColor = src->FHighLightColor;
  SetGradient(src->FGradient);
  SetGradientMirror(src->FGradientMirror);
}

TVistaTextBackground::TVistaTextBackground() : FFont(MakeSystemFont(8)) {}

void TVistaTextBackground::Assign(TPersistent* Source) {
  TVistaBackground::Assign(Source);
  auto* src = dynamic_cast<TVistaTextBackground*>(Source);
  if (!src) return;
  SetTextColor(src->FTextColor);
  SetTextColorExtended(src->FTextColorExtended);
  FFont->Assign(src->FFont.get());
}

void TVistaTextBackground::SetSystemFont(bool Value) { SwitchSystemFont(FSystemFont, Value, {FFont.get()}); }

// ---- TQATAppearance, TToolBarAppearance -------------------------------------------------------
void TQATAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TQATAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FBorderColor = src->FBorderColor;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FFullSizeBorderColor = src->FFullSizeBorderColor;
  FFullSizeColor = src->FFullSizeColor;
  SetFullSizeColorTo(src->FFullSizeColorTo);
}

TToolBarAppearance::TToolBarAppearance()
    : FColor(std::make_unique<TGradientBackground>()), FColorHot(std::make_unique<TGradientBackground>()) {
  FColorHot->SetColor(clNone);
  FColorHot->SetColorTo(clNone);
}

void TToolBarAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TToolBarAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FColor->Assign(src->FColor.get());
  FColorHot->Assign(src->FColorHot.get());
  FBorderColor = src->FBorderColor;
  FBorderColorHot = src->FBorderColorHot;
}

// ---- TCustomTabAppearance ------------------------------------------------------------------
TCustomTabAppearance::TCustomTabAppearance()
    : FBackGround(std::make_unique<TGradientBackground>()), FFont(MakeSystemFont(8)) {
  FBackGround->OnChange = [this](TObject*) { Changed(); };
}

void TCustomTabAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomTabAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FBorderColor = src->FBorderColor;
  FBorderColorHot = src->FBorderColorHot;
  FBorderColorSelectedHot = src->FBorderColorSelectedHot;
  FBorderColorDown = src->FBorderColorDown;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorHot = src->FColorHot;
  FColorHotTo = src->FColorHotTo;
  FColorSelectedTo = src->FColorSelectedTo;
  FBorderColorDisabled = src->FBorderColorDisabled;
  FBorderColorSelected = src->FBorderColorSelected;
  FColorDisabled = src->FColorDisabled;
  FColorDisabledTo = src->FColorDisabledTo;
  FColorSelected = src->FColorSelected;
  FColorMirror = src->FColorMirror;
  FColorMirrorTo = src->FColorMirrorTo;
  FColorMirrorHot = src->FColorMirrorHot;
  FColorMirrorHotTo = src->FColorMirrorHotTo;
  FGradientMirror = src->FGradientMirror;
  FGradientMirrorHot = src->FGradientMirrorHot;
  FGradient = src->FGradient;
  FGradientHot = src->FGradientHot;
  FColorMirrorDisabledTo = src->FColorMirrorDisabledTo;
  FColorMirrorDisabled = src->FColorMirrorDisabled;
  FColorMirrorSelectedTo = src->FColorMirrorSelectedTo;
  FColorMirrorSelected = src->FColorMirrorSelected;
  FGradientSelected = src->FGradientSelected;
  FGradientDisabled = src->FGradientDisabled;
  FGradientMirrorSelected = src->FGradientMirrorSelected;
  FGradientMirrorDisabled = src->FGradientMirrorDisabled;
  FTextColorDisabled = src->FTextColorDisabled;
  FTextColorSelected = src->FTextColorSelected;
  FShadowColor = src->FShadowColor;
  FHighLightColor = src->FHighLightColor;
  FHighLightColorHot = src->FHighLightColorHot;
  FHighLightColorDown = src->FHighLightColorDown;
  FHighLightColorSelected = src->FHighLightColorSelected;
  FHighLightColorSelectedHot = src->FHighLightColorSelectedHot;
  FFont->Assign(src->FFont.get());
  SetTextColor(src->FTextColor);
  SetTextColorHot(src->FTextColorHot);
  FBackGround->Assign(src->FBackGround.get());
}

void TCustomTabAppearance::SetSystemFont(bool Value) { SwitchSystemFont(FSystemFont, Value, {FFont.get()}); }

// ---- TGroupAppearance --------------------------------------------------------------------------
TGroupAppearance::TGroupAppearance()
    : FCaptionAppearance(std::make_unique<TCaptionAppearance>()),
      FPageAppearance(std::make_unique<TVistaPageBackground>()),
      FToolBarAppearance(std::make_unique<TToolBarAppearance>()),
      FTabAppearance(std::make_unique<TCustomTabAppearance>()),
      FFont(MakeSystemFont(8)) {
  auto relay = [this](TObject*) { Changed(); };
  FCaptionAppearance->OnChange = relay;
  FPageAppearance->OnChange = relay;
  FToolBarAppearance->OnChange = relay;
  FTabAppearance->OnChange = relay;
}

void TGroupAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TGroupAppearance*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FCaptionAppearance->Assign(src->FCaptionAppearance.get());
  FPageAppearance->Assign(src->FPageAppearance.get());
  FTabAppearance->Assign(src->FTabAppearance.get());
  FToolBarAppearance->Assign(src->FToolBarAppearance.get());
  FSteps = src->FSteps;
  FColor = src->FColor;
  FColorTo = src->FColorTo;
  FColorMirror = src->FColorMirror;
  FColorMirrorTo = src->FColorMirrorTo;
  FBorderColor = src->FBorderColor;
  FTextColor = src->FTextColor;
  FFont->Assign(src->FFont.get());
  SetGradient(src->FGradient);
  SetGradientMirror(src->FGradientMirror);
}

void TGroupAppearance::SetSystemFont(bool Value) { SwitchSystemFont(FSystemFont, Value, {FFont.get()}); }

}  // namespace VivIzizEzu

// ---- stand-ins for the menus library ------------------------------------------------------------
#ifdef LORM_TOOLBAR_GLOW_STANDIN
void TGlowButtonAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGlowButtonAppearance*>(Source);
  if (!s) return TPersistent::Assign(Source);
  SetColor(s->Color()); SetColorTo(s->ColorTo()); SetColorMirror(s->ColorMirror());
  SetColorMirrorTo(s->ColorMirrorTo()); SetColorHot(s->ColorHot()); SetColorHotTo(s->ColorHotTo());
  SetColorMirrorHot(s->ColorMirrorHot()); SetColorMirrorHotTo(s->ColorMirrorHotTo());
  SetColorDown(s->ColorDown()); SetColorDownTo(s->ColorDownTo()); SetColorMirrorDown(s->ColorMirrorDown());
  SetColorMirrorDownTo(s->ColorMirrorDownTo()); SetColorChecked(s->ColorChecked());
  SetColorCheckedTo(s->ColorCheckedTo()); SetColorMirrorChecked(s->ColorMirrorChecked());
  SetColorMirrorCheckedTo(s->ColorMirrorCheckedTo()); SetColorDisabled(s->ColorDisabled());
  SetColorDisabledTo(s->ColorDisabledTo()); SetColorMirrorDisabled(s->ColorMirrorDisabled());
  SetColorMirrorDisabledTo(s->ColorMirrorDisabledTo()); SetBorderColor(s->BorderColor());
  SetBorderColorHot(s->BorderColorHot()); SetBorderColorDown(s->BorderColorDown());
  SetBorderColorChecked(s->BorderColorChecked()); SetBorderColorDisabled(s->BorderColorDisabled());
  SetGradient(s->Gradient()); SetGradientMirror(s->GradientMirror()); SetGradientHot(s->GradientHot());
  SetGradientMirrorHot(s->GradientMirrorHot()); SetGradientDown(s->GradientDown());
  SetGradientMirrorDown(s->GradientMirrorDown()); SetGradientChecked(s->GradientChecked());
  SetGradientMirrorChecked(s->GradientMirrorChecked()); SetGradientDisabled(s->GradientDisabled());
  SetGradientMirrorDisabled(s->GradientMirrorDisabled()); SetSystemFont(s->SystemFont());
}
#endif

#ifdef LORM_TOOLBAR_MENU_STANDIN
void TCustomRadUdirEtyler::Assign(TPersistent* Source) {
  if (dynamic_cast<TRadUdirEtyler*>(Source)) return;  // the stand-in holds no values of its own
  TPersistent::Assign(Source);
}
#endif
