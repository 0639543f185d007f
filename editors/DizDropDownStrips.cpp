// DizDropDown, header and footer strip appearance: reflection and copying.
#include "editors/DizDropDownStrips.h"

#include "platform/vcl/TypInfo.h"

namespace DizDropDown {

static const TEnumInfo* GradientDirectionNames = RegisterEnum("TGradientDirection", {"gdHorizontal", "gdVertical"});
static const TEnumInfo* ButtonAlignmentNames = RegisterEnum("TButtonAlignment", {"baLeft", "baRight"});

void THeaderButton::Publish(TClassBuilder<THeaderButton>& P) {
  using S = THeaderButton;
  P.Str("Caption", &S::Caption, &S::SetCaption)
      .Int("ImageIndex", &S::ImageIndex, &S::SetImageIndex, -1)
      .Bool("Enabled", &S::Enabled, &S::SetEnabled, true)
      .Int("Height", &S::Height, &S::SerHeight, 0)
      .Int("Width", &S::Width, &S::SetWidth, 0);
}

void TFooterButton::Publish(TClassBuilder<TFooterButton>& P) {
  P.Int("ModalResult", &TFooterButton::ModalResult, &TFooterButton::SetModalResult, 0);
}

void THeaderButton::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<THeaderButton*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetCaption(s->Caption());
  SetImageIndex(s->ImageIndex());
  SetEnabled(s->Enabled());
  SerHeight(s->Height());
  SetWidth(s->Width());
}

void TFooterButton::Assign(TPersistent* Source) {
  THeaderButton::Assign(Source);
  if (auto* s = dynamic_cast<TFooterButton*>(Source)) SetModalResult(s->ModalResult());
}

TStripAppearance::TStripAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {}
TStripAppearance::~TStripAppearance() = default;

void TStripAppearance::CopyValues(const TStripAppearance* S) {
  Visible = S->Visible;
  Height = S->Height;
  BorderWidth = S->BorderWidth;
  ImageIndex = S->ImageIndex;
  Caption = S->Caption;
  ColorTo = S->ColorTo;
  Color = S->Color;
  BorderColor = S->BorderColor;
  GradientDirection = S->GradientDirection;
  ButtonAlignment = S->ButtonAlignment;
  FFont->Assign(S->FFont.get());
}

void TStripAppearance::AssignColors(TPersistent* Source) {
  auto* s = dynamic_cast<TStripAppearance*>(Source);
  if (!s || s->ClassType() != ClassType()) return;
  ColorTo = s->ColorTo;
  Color = s->Color;
  BorderColor = s->BorderColor;
  FFont->Assign(s->FFont.get());
  GradientDirection = s->GradientDirection;
}

#define LORM_STRIP_PROPS(S)                                                                  \
  P.Bool("Visible", &S::Visible, &S::Visible, true)                                          \
      .Int("Height", &S::Height, &S::Height, 22)                                             \
      .Int("BorderWidth", &S::BorderWidth, &S::BorderWidth, 1)                               \
      .Int("ImageIndex", &S::ImageIndex, &S::ImageIndex, -1)                                 \
      .Str("Caption", &S::Caption, &S::Caption)                                              \
      .Int("ColorTo", &S::ColorTo, &S::ColorTo, 0xFFFFFF).Consts(ColorConsts())              \
      .Int("Color", &S::Color, &S::Color, 0xC0C0C0).Consts(ColorConsts())                    \
      .Int("BorderColor", &S::BorderColor, &S::BorderColor, 0).Consts(ColorConsts())         \
      .Object("Font", &S::Font, &S::SetFont)                                                 \
      .Object("Buttons", &S::Buttons, &S::SetButtons)                                        \
      .Enum("GradientDirection", GradientDirectionNames, &S::GradientDirection, &S::GradientDirection, gdVertical) \
      .Enum("ButtonAlignment", ButtonAlignmentNames, &S::ButtonAlignment, &S::ButtonAlignment, baRight)

void THeaderAppearance::Publish(TClassBuilder<THeaderAppearance>& P) { LORM_STRIP_PROPS(THeaderAppearance); }

void TFooterAppearance::Publish(TClassBuilder<TFooterAppearance>& P) {
  LORM_STRIP_PROPS(TFooterAppearance);
  P.Bool("SizeGrip", &TFooterAppearance::SizeGrip, &TFooterAppearance::SizeGrip, true);
}
#undef LORM_STRIP_PROPS

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : TStripAppearance(AOwner), FButtons(std::make_unique<THeaderButtons>(AOwner)) {
  Font()->SetName("Tahoma");
}
THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<THeaderAppearance*>(Source);
  if (!s) return;
  CopyValues(s);
  FButtons->Assign(s->FButtons.get());
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : TStripAppearance(AOwner), FButtons(std::make_unique<TFooterButtons>(AOwner)) {}
TFooterAppearance::~TFooterAppearance() = default;

void TFooterAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFooterAppearance*>(Source);
  if (!s) return;
  CopyValues(s);
  SizeGrip = s->SizeGrip;
  FButtons->Assign(s->FButtons.get());
}

TDizButtonAppearance::TDizButtonAppearance() : FFont(std::make_unique<TFont>()) {
  FFont->SetName("Tahoma");
  // The held-down face: the hot face with red and green lowered by a tenth.
  FColorChecked = BrightnessColor(FColorHot, -10, -10, 0);
  FColorCheckedTo = BrightnessColor(FColorHotTo, -10, -10, 0);
}
TDizButtonAppearance::~TDizButtonAppearance() = default;

void TDizButtonAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TDizButtonAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  SetBorderColor(s->BorderColor());
  SetBorderColorHot(s->BorderColorHot());
  SetBorderColorDown(s->BorderColorDown());
  SetBorderColorDisabled(s->BorderColorDisabled());
  SetBorderColorChecked(s->BorderColorChecked());
  SetColor(s->Color());
  SetColorTo(s->ColorTo());
  SetColorDown(s->ColorDown());
  SetColorDownTo(s->ColorDownTo());
  SetColorHot(s->ColorHot());
  SetColorHotTo(s->ColorHotTo());
  SetColorCheckedTo(s->ColorCheckedTo());
  SetColorDisabled(s->ColorDisabled());
  SetColorDisabledTo(s->ColorDisabledTo());
  SetColorChecked(s->ColorChecked());
  SetGradient(s->Gradient());
  FFont->Assign(s->FFont.get());
}

void TDizButtonAppearance::Publish(TClassBuilder<TDizButtonAppearance>& P) {
  using S = TDizButtonAppearance;
  P.Int("BorderColor", &S::BorderColor, &S::SetBorderColor, clNone).Consts(ColorConsts())
      .Int("BorderColorHot", &S::BorderColorHot, &S::SetBorderColorHot, 0x808080).Consts(ColorConsts())
      .Int("BorderColorDown", &S::BorderColorDown, &S::SetBorderColorDown, 0x800000).Consts(ColorConsts())
      .Int("BorderColorDisabled", &S::BorderColorDisabled, &S::SetBorderColorDisabled, 0x808080).Consts(ColorConsts())
      .Int("Color", &S::Color, &S::SetColor, clNone).Consts(ColorConsts())
      .Int("ColorTo", &S::ColorTo, &S::SetColorTo, clNone).Consts(ColorConsts())
      .Int("ColorDown", &S::ColorDown, &S::SetColorDown, 0xF5D8CA).Consts(ColorConsts())
      .Int("ColorDownTo", &S::ColorDownTo, &S::SetColorDownTo, 0xF9BDA0).Consts(ColorConsts())
      .Int("ColorHot", &S::ColorHot, &S::SetColorHot, 0xF5F0E1).Consts(ColorConsts())
      .Int("ColorHotTo", &S::ColorHotTo, &S::SetColorHotTo, 0xF9D2B2).Consts(ColorConsts())
      .Int("ColorDisabled", &S::ColorDisabled, &S::SetColorDisabled, 0xF2F2F2).Consts(ColorConsts())
      .Int("ColorDisabledTo", &S::ColorDisabledTo, &S::SetColorDisabledTo, clNone).Consts(ColorConsts())
      .Enum("Gradient", GradientDirectionNames, &S::Gradient, &S::SetGradient, gdVertical)
      .Object("Font", &S::Font, &S::SetFont);
}

}  // namespace DizDropDown
