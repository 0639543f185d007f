#include <gtest/gtest.h>

#include <string>

#include "platform/vcl/TypInfo.h"

namespace {

enum TShade { shLight, shDark };
enum TPart { ptTop, ptMiddle, ptBottom };
using TParts = TSet<TPart>;
const TEnumInfo* ShadeInfo = RegisterEnum("TShade", {"shLight", "shDark"});
const TEnumInfo* PartInfo = RegisterEnum("TPart", {"ptTop", "ptMiddle", "ptBottom"});

class TBaseButton : public TComponent {
  LORM_PUBLISHED(TBaseButton, TComponent)
public:
  using TComponent::TComponent;
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; ++Sets; }
  int Sets = 0;
  int Width = 75;
  std::u16string Wide;
  TNotifyEvent OnClick;

private:
  bool FTransparent = false;
};
void TBaseButton::Publish(TClassBuilder<TBaseButton>& P) {
  P.Bool("Transparent", &TBaseButton::GetTransparent, &TBaseButton::SetTransparent, false)
   .Int("Width", &TBaseButton::Width, &TBaseButton::Width, 75)
   .WStr("Wide", &TBaseButton::Wide, &TBaseButton::Wide)
   .Event("OnClick", &TBaseButton::OnClick);
}

class TShapeButton : public TBaseButton {
  LORM_PUBLISHED(TShapeButton, TBaseButton)
public:
  explicit TShapeButton(TComponent* AOwner) : TBaseButton(AOwner) { Width = 100; }
  std::string ShortCutHint;
  TShade Shade = shLight;
  TParts Parts{ptTop};
  double Level = 0.5;
  TShapeButton* Buddy = nullptr;
  bool HintStored() const { return ShortCutHint != "-"; }
};
void TShapeButton::Publish(TClassBuilder<TShapeButton>& P) {
  P.Str("ShortCutHint", &TShapeButton::ShortCutHint, &TShapeButton::ShortCutHint).Stored(&TShapeButton::HintStored)
   .Enum("Shade", ShadeInfo, &TShapeButton::Shade, &TShapeButton::Shade, shLight)
   .Set("Parts", PartInfo, &TShapeButton::Parts, &TShapeButton::Parts, TParts{ptTop})
   .Float("Level", &TShapeButton::Level, &TShapeButton::Level, 0.5)
   .Component("Buddy", &TShapeButton::Buddy, &TShapeButton::Buddy)
   .Int("Width", &TShapeButton::Width, &TShapeButton::Width, 100);  // a new default
}

TEST(TypInfoTest, ClassNamesAndInheritance) {
  TShapeButton b(nullptr);
  EXPECT_STREQ(b.ClassName(), "TShapeButton");
  EXPECT_TRUE(b.InheritsFrom("TBASEBUTTON"));
  EXPECT_TRUE(b.InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(b.InheritsFrom("TStrings"));
  EXPECT_EQ(b.ClassParent(), TBaseButton::StaticClass());
  TComponent* asBase = &b;
  EXPECT_TRUE(asBase->ClassNameIs("tshapebutton"));
}

TEST(TypInfoTest, PropertiesByName) {
  TShapeButton b(nullptr);
  ASSERT_TRUE(IsPublishedProp(&b, "transparent"));  // names are case-insensitive
  EXPECT_FALSE(IsPublishedProp(&b, "Opaque"));
  SetOrdProp(&b, "Transparent", 1);
  EXPECT_TRUE(b.GetTransparent());
  EXPECT_EQ(b.Sets, 1);  // through the setter
  SetStrProp(&b, "ShortCutHint", "F");
  EXPECT_EQ(GetStrProp(&b, "ShortCutHint"), "F");
  SetEnumProp(&b, "Shade", "shDark");
  EXPECT_EQ(b.Shade, shDark);
  EXPECT_EQ(GetEnumProp(&b, "Shade"), "shDark");
  SetSetProp(&b, "Parts", "[ptMiddle, ptBottom]");
  EXPECT_EQ(b.Parts, (TParts{ptMiddle, ptBottom}));
  EXPECT_EQ(GetSetProp(&b, "Parts", true), "[ptMiddle,ptBottom]");
  SetFloatProp(&b, "Level", 0.25L);
  EXPECT_EQ(b.Level, 0.25);
  SetStrProp(&b, "Wide", "Ширина");
  EXPECT_EQ(b.Wide, u"Ширина");
  EXPECT_EQ(GetStrProp(&b, "Wide"), "Ширина");
  TShapeButton other(nullptr);
  SetObjectProp(&b, "Buddy", &other);
  EXPECT_EQ(GetObjectProp(&b, "Buddy"), &other);
  TComponent plain(nullptr);
  EXPECT_THROW(SetObjectProp(&b, "Buddy", &plain), EPropertyError);  // wrong class
}

TEST(TypInfoTest, AccessErrors) {
  TShapeButton b(nullptr);
  EXPECT_THROW(GetOrdProp(&b, "Nope"), EPropertyError);
  EXPECT_THROW(GetStrProp(&b, "Width"), EPropertyError);
  EXPECT_THROW(SetEnumProp(&b, "Shade", "shPurple"), EPropertyError);
  EXPECT_THROW(SetSetProp(&b, "Parts", "ptTop,ptSide"), EPropertyError);
}

TEST(TypInfoTest, PropertyOrderDefaultsAndStored) {
  const auto& props = GetPropList(TShapeButton::StaticClass());
  std::string names;
  for (const TPropInfo* p : props) names += p->Name + " ";
  // Base properties first; a republished property keeps its place with the new default.
  EXPECT_EQ(names, "Transparent Width Wide OnClick ShortCutHint Shade Parts Level Buddy ");
  TShapeButton b(nullptr);
  const TPropInfo* width = GetPropInfo(&b, "Width");
  EXPECT_TRUE(IsDefaultPropValue(&b, width));
  b.Width = 75;
  EXPECT_TRUE(IsStoredProp(&b, width));
  const TPropInfo* hint = GetPropInfo(&b, "ShortCutHint");
  b.ShortCutHint = "-";
  EXPECT_FALSE(IsStoredProp(&b, hint));
  b.ShortCutHint = "A";
  EXPECT_TRUE(IsStoredProp(&b, hint));
  EXPECT_TRUE(IsDefaultPropValue(&b, GetPropInfo(&b, "Level")));
}

TEST(TypInfoTest, ClassesByNameAndFactories) {
  EXPECT_EQ(GetClass("TNeverRegistered"), nullptr);
  EXPECT_THROW(FindClass("TNeverRegistered"), EClassNotFound);
  RegisterClass(TShapeButton::StaticClass());
  TClass cls = FindClass("tshapebutton");
  EXPECT_EQ(cls, TShapeButton::StaticClass());
  TComponent owner(nullptr);
  TComponent* c = CreateComponentOfClass(cls, &owner);
  EXPECT_EQ(c->Owner(), &owner);
  EXPECT_EQ(static_cast<TShapeButton*>(c)->Width, 100);
  UnRegisterClass(cls);
  EXPECT_EQ(GetClass("TShapeButton"), nullptr);
}

class THandlerForm : public TComponent {
  LORM_PUBLISHED(THandlerForm, TComponent)
public:
  using TComponent::TComponent;
  int Clicks = 0;
  void ButtonClick(TObject*) { ++Clicks; }
};
void THandlerForm::Publish(TClassBuilder<THandlerForm>& P) { P.Handler("ButtonClick", &THandlerForm::ButtonClick); }

TEST(TypInfoTest, EventsBindByMethodName) {
  THandlerForm form(nullptr);
  TBaseButton button(&form);
  BindMethodProp(&button, "OnClick", &form, "buttonclick");
  ASSERT_TRUE(button.OnClick);
  button.OnClick(&button);
  EXPECT_EQ(form.Clicks, 1);
  ASSERT_NE(button.BoundEventName("OnClick"), nullptr);
  EXPECT_EQ(*button.BoundEventName("OnClick"), "ButtonClick");
  EXPECT_THROW(BindMethodProp(&button, "OnClick", &form, "Missing"), EPropertyError);

  // Copying an event through the registry; clearing forgets the bound name.
  TBaseButton other(&form);
  SetMethodProp(&other, "OnClick", GetMethodProp(&button, "OnClick"));
  other.OnClick(&other);
  EXPECT_EQ(form.Clicks, 2);
  SetMethodProp(&button, "OnClick", std::any());
  EXPECT_FALSE(button.OnClick);
  EXPECT_EQ(button.BoundEventName("OnClick"), nullptr);
  EXPECT_THROW(SetMethodProp(&button, "OnClick", std::any(42)), EPropertyError);
}

}  // namespace
