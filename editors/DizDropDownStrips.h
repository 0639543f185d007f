#pragma once
// DizDropDown, the appearance of the pop-up's header and footer strips: colours, border,
// caption, image and the strips' button collections. The drop-down editors and the grid's
// in-cell control look each own one header and one footer appearance and copy them with
// Assign; writing a value notifies nobody.
#include <memory>
#include <string>

#include "editors/DizDropDown.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Graphics.h"

namespace DizDropDown {

enum TButtonAlignment { baLeft, baRight };

class THeaderButton : public TCollectionItem {
  LORM_PUBLISHED(THeaderButton, TCollectionItem)
public:
  explicit THeaderButton(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  int Height() const { return FHeight; }
  void SerHeight(int Value) { FHeight = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }

private:
  std::string FCaption;
  int FImageIndex = -1;
  bool FEnabled = true;
  int FHeight = 0, FWidth = 0;
};

class TFooterButton : public THeaderButton {
  LORM_PUBLISHED(TFooterButton, THeaderButton)
public:
  explicit TFooterButton(TCollection* Collection) : THeaderButton(Collection) {}
  void Assign(TPersistent* Source) override;
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }

private:
  int FModalResult = 0;
};

class THeaderButtons : public TOwnedCollection {
  LORM_CLASS(THeaderButtons, TOwnedCollection)
public:
  explicit THeaderButtons(TPersistent* AOwner) : TOwnedCollection(AOwner, ItemClassOf<THeaderButton>()) {}
  THeaderButton* Add() { return static_cast<THeaderButton*>(TCollection::Add()); }
  THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(TCollection::Insert(Index)); }
  THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(TCollection::Items(Index)); }
};

class TFooterButtons : public TCollection {
  LORM_CLASS(TFooterButtons, TCollection)
public:
  explicit TFooterButtons(TPersistent* AOwner) : TCollection(ItemClassOf<TFooterButton>()), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }
  TFooterButton* Add() { return static_cast<TFooterButton*>(TCollection::Add()); }
  TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(TCollection::Insert(Index)); }
  TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(TCollection::Items(Index)); }

private:
  TPersistent* FOwner;
};

// The settings both strips share.
class TStripAppearance : public TPersistent {
  LORM_CLASS(TStripAppearance, TPersistent)
public:
  explicit TStripAppearance(TPersistent* AOwner);
  ~TStripAppearance() override;
  TPersistent* GetOwner() override { return FOwner; }
  // Copies only the colours, the font and the gradient direction of the same class.
  void AssignColors(TPersistent* Source);
  // Raises OnChange; the appearance never calls it itself.
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TNotifyEvent OnChange;

  bool Visible = true;
  int Height = 22;
  int BorderWidth = 1;
  int ImageIndex = -1;
  std::string Caption;
  TColor ColorTo = 0xFFFFFF;
  TColor Color = 0xC0C0C0;
  TColor BorderColor = 0x000000;
  TGradientDirection GradientDirection = gdVertical;
  TButtonAlignment ButtonAlignment = baRight;
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

protected:
  // Copies the plain values of Source (of the same class as this).
  void CopyValues(const TStripAppearance* Source);

private:
  TPersistent* FOwner;
  std::unique_ptr<TFont> FFont;
};

class THeaderAppearance : public TStripAppearance {
  LORM_PUBLISHED(THeaderAppearance, TStripAppearance)
public:
  explicit THeaderAppearance(TPersistent* AOwner);
  ~THeaderAppearance() override;
  // From a header appearance: every published value, the font and the buttons; any
  // other source changes nothing.
  void Assign(TPersistent* Source) override;
  THeaderButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(THeaderButtons* Value) { FButtons->Assign(Value); }

private:
  std::unique_ptr<THeaderButtons> FButtons;
};

class TFooterAppearance : public TStripAppearance {
  LORM_PUBLISHED(TFooterAppearance, TStripAppearance)
public:
  explicit TFooterAppearance(TPersistent* AOwner);
  ~TFooterAppearance() override;
  void Assign(TPersistent* Source) override;
  bool SizeGrip = true;
  TFooterButtons* Buttons() const { return FButtons.get(); }
  void SetButtons(TFooterButtons* Value) { FButtons->Assign(Value); }

private:
  std::unique_ptr<TFooterButtons> FButtons;
};

// The colours of the small push buttons of the pop-up's strips, per state; a drop-down
// editor owns one and all buttons of its pop-up share it. Every setter stores a changed
// value and raises OnChange.
class TDizButtonAppearance : public TPersistent {
  LORM_PUBLISHED(TDizButtonAppearance, TPersistent)
public:
  TDizButtonAppearance();
  ~TDizButtonAppearance() override;
  // From another button appearance: every colour and the gradient through the setters,
  // the font by Assign; other sources go to the inherited Assign.
  void Assign(TPersistent* Source) override;
  void Changed() {
    if (OnChange) OnChange(this);
  }
  TNotifyEvent OnChange;

#define LORM_BUTTON_COLOR(Name)                     \
  TColor Name() const { return F##Name; }           \
  void Set##Name(TColor Value) {                    \
    if (F##Name == Value) return;                   \
    F##Name = Value;                                \
    Changed();                                      \
  }
  LORM_BUTTON_COLOR(BorderColor)
  LORM_BUTTON_COLOR(BorderColorHot)
  LORM_BUTTON_COLOR(BorderColorDown)
  LORM_BUTTON_COLOR(BorderColorDisabled)
  LORM_BUTTON_COLOR(BorderColorChecked)
  LORM_BUTTON_COLOR(Color)
  LORM_BUTTON_COLOR(ColorTo)
  LORM_BUTTON_COLOR(ColorDown)
  LORM_BUTTON_COLOR(ColorDownTo)
  LORM_BUTTON_COLOR(ColorHot)
  LORM_BUTTON_COLOR(ColorHotTo)
  LORM_BUTTON_COLOR(ColorCheckedTo)
  LORM_BUTTON_COLOR(ColorDisabled)
  LORM_BUTTON_COLOR(ColorDisabledTo)
  LORM_BUTTON_COLOR(ColorChecked)
#undef LORM_BUTTON_COLOR
  TGradientDirection Gradient() const { return FGradient; }
  void SetGradient(TGradientDirection Value) {
    if (FGradient == Value) return;
    FGradient = Value;
    Changed();
  }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }

private:
  TColor FBorderColor = clNone;
  TColor FBorderColorHot = 0x808080;
  TColor FBorderColorDown = 0x800000;
  TColor FBorderColorDisabled = 0x808080;
  TColor FBorderColorChecked = 0xFF0000;
  TColor FColor = clNone, FColorTo = clNone;
  TColor FColorDown = 0xF5D8CA, FColorDownTo = 0xF9BDA0;
  TColor FColorHot = 0xF5F0E1, FColorHotTo = 0xF9D2B2;
  TColor FColorCheckedTo = 0xF9BDA0;
  TColor FColorDisabled = 0xF2F2F2, FColorDisabledTo = clNone;
  TColor FColorChecked = 0xF5D8CA;
  TGradientDirection FGradient = gdVertical;
  std::unique_ptr<TFont> FFont;
};

}  // namespace DizDropDown
