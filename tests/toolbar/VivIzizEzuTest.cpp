// Tests of the tool bar styler: registration, change kinds, the menu styler link,
// copying, destruction, and the appearance classes it is built from.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/toolbar/ToolBarTestSupport.h"

namespace {

using namespace toolbar_test;
using Kinds = std::vector<int>;

class StylerTest : public ::testing::Test {
protected:
  THeadlessScope Headless;
  std::unique_ptr<TComponent> Form = std::make_unique<TComponent>(nullptr);
  TCustomVivIzizEzuStyler* Styler = new TCustomVivIzizEzuStyler(Form.get());
  TRecordingControl* Dock = new TRecordingControl(Form.get(), sckDockPanel);
};

TEST_F(StylerTest, NothingIsRegisteredByNilAndATwiceAddedControlIsUpdatedTwice) {
  Styler->AddControl(nullptr);
  EXPECT_EQ(Styler->ControlCount(), 0);
  Styler->AddControl(Dock);
  Styler->AddControl(Dock);
  Styler->SetBorderColor(0x123456);
  EXPECT_EQ(Dock->Kinds, (Kinds{2, 2}));
  Styler->RemoveControl(Dock);
  EXPECT_EQ(Styler->ControlCount(), 1);
  Dock->Kinds.clear();
  Styler->SetTransparent(true);
  EXPECT_EQ(Dock->Kinds, (Kinds{2}));
}

TEST_F(StylerTest, EachChangeSendsItsKind) {
  struct Case {
    const char* What;
    std::function<void(TCustomVivIzizEzuStyler*)> Do;
    Kinds Expected;
  };
  TFont font;
  font.SetName("Arial");
  std::vector<Case> cases = {
      {"RoundEdges to its current value", [](auto* s) { s->SetRoundEdges(s->RoundEdges()); }, {2}},
      {"BorderColor to its current value", [](auto* s) { s->SetBorderColor(s->BorderColor()); }, {}},
      {"BorderColorHot", [](auto* s) { s->SetBorderColorHot(0x010203); }, {2}},
      {"RightHandleColorDownTo", [](auto* s) { s->SetRightHandleColorDownTo(0x010203); }, {2}},
      {"FloatingWindowBorderWidth", [](auto* s) { s->SetFloatingWindowBorderWidth(5); }, {2}},
      {"Bevel", [](auto* s) { s->SetBevel(2); }, {2}},
      {"Font", [&](auto* s) { s->SetFont(&font); }, {1}},
      {"CaptionFont", [&](auto* s) { s->SetCaptionFont(&font); }, {2}},
      {"BackGroundDisplay", [](auto* s) { s->SetBackGroundDisplay(VivIzizEzu::bdStretch); }, {1}},
      {"DragGripStyle", [](auto* s) { s->SetDragGripStyle(VivIzizEzu::dsNone); }, {5}},
      {"Color.Color", [](auto* s) { s->Color()->SetColor(s->Color()->Color()); }, {2}},
      {"Color.Mirror.Color", [](auto* s) { s->Color()->Mirror()->SetColor(0x010203); }, {}},
      {"DockColor.Steps", [](auto* s) { s->DockColor()->SetSteps(8); }, {2}},
      {"ColorHot.Color", [](auto* s) { s->ColorHot()->SetColor(0x010203); }, {}},
      {"ButtonAppearance.Color", [](auto* s) { s->ButtonAppearance()->SetColor(0x010203); }, {}},
      {"DragGripImage", [](auto* s) { TBitmap b(2, 2); s->SetDragGripImage(&b); }, {}},
      {"CaptionAppearance", [](auto* s) { s->CaptionAppearance()->SetCaptionColor(0x010203); }, {2}},
      {"ContainerAppearance", [](auto* s) { s->ContainerAppearance()->SetLine3D(false); }, {4}},
      {"RadUdirEtyler none", [](auto* s) { s->SetRadUdirEtyler(nullptr); }, {6}},
      {"GlowButtonAppearance", [](auto* s) { s->GlowButtonAppearance()->SetColor(0x010203); }, {7}},
      {"CompactGlowButtonAppearance", [](auto* s) { s->CompactGlowButtonAppearance()->SetColorTo(1); }, {7}},
      {"TabAppearance", [](auto* s) { s->TabAppearance()->SetTextColor(0x010203); }, {10}},
      {"TabAppearance.BackGround", [](auto* s) { s->TabAppearance()->BackGround()->SetSteps(3); }, {10}},
      {"PageAppearance", [](auto* s) { s->PageAppearance()->SetColor(0x010203); }, {10}},
      {"GroupAppearance.ToolBarAppearance.BorderColor",
       [](auto* s) { s->GroupAppearance()->ToolBarAppearance()->SetBorderColor(1); }, {10}},
      {"GroupAppearance.ToolBarAppearance.Color",
       [](auto* s) { s->GroupAppearance()->ToolBarAppearance()->Color()->SetColor(1); }, {}},
      {"PagerCaption", [](auto* s) { s->PagerCaption()->SetTextColor(0x010203); }, {11}},
      {"SysButtonColor", [](auto* s) { s->SetSysButtonColor(0x010203); }, {11}},
      {"QATAppearance", [](auto* s) { s->QATAppearance()->SetColor(0x010203); }, {12}},
      {"FormBorderColor", [](auto* s) { s->SetFormBorderColor(0x010203); }, {}},
      {"SystemFont", [](auto* s) { s->SetSystemFont(false); }, {}},
      {"UpdateStyle", [](auto* s) { s->UpdateStyle(); }, {2}},
  };
  Styler->AddControl(Dock);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    Dock->Kinds.clear();
    c.Do(Styler);
    EXPECT_EQ(Dock->Kinds, c.Expected);
  }
}

TEST_F(StylerTest, WithoutALinkedMenuStylerTheInternalOneIsCurrent) {
  TCustomRadUdirEtyler* internal = Styler->CurrentMenuStyler();
  ASSERT_NE(internal, nullptr);
  EXPECT_EQ(internal->Name(), "InternalMenuStyler");
  EXPECT_EQ(internal->Owner(), Styler);
  auto* menus = new TRadUdirEtyler(Form.get());
  Styler->SetRadUdirEtyler(menus);
  EXPECT_EQ(Styler->CurrentMenuStyler(), menus);
  Styler->SetRadUdirEtyler(nullptr);
  EXPECT_EQ(Styler->CurrentMenuStyler(), internal);
}

TEST_F(StylerTest, DestroyingALinkedMenuStylerOfAnotherOwnerDropsTheLink) {
  auto otherForm = std::make_unique<TComponent>(nullptr);
  auto* menus = new TRadUdirEtyler(otherForm.get());
  Styler->SetRadUdirEtyler(menus);
  Styler->AddControl(Dock);
  otherForm.reset();
  EXPECT_EQ(Styler->RadUdirEtyler(), nullptr);
  EXPECT_EQ(Styler->CurrentMenuStyler(), Styler->InternalMenuStyler());
  EXPECT_EQ(Dock->Kinds, (Kinds{6}));
}

TEST_F(StylerTest, DestroyingTheStylerLeavesItsControlsOnTheirOwn) {
  auto* bar = new TRecordingControl(Form.get(), sckToolBar);
  auto otherForm = std::make_unique<TComponent>(nullptr);
  auto* foreign = new TRecordingControl(otherForm.get(), sckDockPanel);
  Dock->SetToolBarStyler(Styler);
  bar->SetToolBarStyler(Styler);
  foreign->SetToolBarStyler(Styler);
  foreign->SetToolBarStyler(Styler);
  delete Styler;
  for (TRecordingControl* c : {Dock, bar, foreign}) {
    EXPECT_TRUE(c->LostStyler);
    EXPECT_EQ(c->ToolBarStyler(), nullptr);
  }
}

TEST_F(StylerTest, AFreedControlIsForgotten) {
  auto otherForm = std::make_unique<TComponent>(nullptr);
  auto* foreign = new TRecordingControl(otherForm.get(), sckToolBar);
  Styler->AddControl(foreign);
  Styler->AddControl(Dock);
  otherForm.reset();
  EXPECT_EQ(Styler->ControlCount(), 1);
  Styler->UpdateStyle();
  EXPECT_EQ(Dock->Kinds, (Kinds{2}));
  EXPECT_THROW(Styler->Controls(1), EListError);
}

TEST_F(StylerTest, RegistrationsChangedDuringABroadcastSkipNobodyAndCrashNothing) {
  auto otherForm = std::make_unique<TComponent>(nullptr);
  auto* second = new TRecordingControl(otherForm.get(), sckPager);
  auto* third = new TRecordingControl(Form.get(), sckToolBar);
  auto* late = new TRecordingControl(Form.get(), sckDockPanel);
  Styler->AddControl(Dock);
  Styler->AddControl(second);
  Styler->AddControl(third);
  // The first control frees the second and registers a new one while being updated.
  Dock->OnUpdate = [&](int) {
    if (!otherForm) return;
    otherForm.reset();
    Styler->AddControl(late);
  };
  Styler->UpdateStyle();
  EXPECT_EQ(Dock->Kinds, (Kinds{2}));
  EXPECT_EQ(third->Kinds, (Kinds{2}));
  EXPECT_TRUE(late->Kinds.empty());
  Styler->SetTransparent(true);
  EXPECT_EQ(late->Kinds, (Kinds{2}));
  // A control that unregisters the next one is not followed by a call to it.
  third->Kinds.clear();
  Dock->OnUpdate = [&](int) { Styler->RemoveControl(third); };
  Styler->UpdateStyle();
  EXPECT_TRUE(third->Kinds.empty());
}

TEST_F(StylerTest, ACompactToolBarsCloneIsUpdatedFirstAndOtherEntriesArePassedOver) {
  auto* bar = new TRecordingControl(Form.get(), sckToolBar);
  auto* clone = new TRecordingControl(Form.get(), sckToolBar);
  std::vector<std::string> order;
  bar->Compact = clone;
  bar->OnUpdate = [&](int) { order.push_back("bar"); };
  clone->OnUpdate = [&](int) { order.push_back("clone"); };
  Styler->AddControl(new TCustomControl(Form.get()));  // registered, not a styler client
  Styler->AddControl(bar);
  Styler->SetSysButtonColor(clRed);
  EXPECT_EQ(order, (std::vector<std::string>{"clone", "bar"}));
  EXPECT_EQ(clone->Kinds, (Kinds{11}));
}

TEST_F(StylerTest, ReleaseAllControlsDetachesDockPanelsAndPagersOnly) {
  auto* bar = new TRecordingControl(Form.get(), sckToolBar);
  auto* pager = new TRecordingControl(Form.get(), sckPager);
  Dock->SetToolBarStyler(Styler);
  bar->SetToolBarStyler(Styler);
  pager->SetToolBarStyler(Styler);
  Styler->ReleaseAllControls();
  EXPECT_EQ(Dock->ToolBarStyler(), nullptr);
  EXPECT_EQ(pager->ToolBarStyler(), nullptr);
  EXPECT_EQ(bar->ToolBarStyler(), Styler);
  EXPECT_EQ(Styler->ControlCount(), 1);
}

// A menu styler that counts what is assigned into it.
class TCountingMenuStyler : public TRadUdirEtyler {
  LORM_CLASS(TCountingMenuStyler, TRadUdirEtyler)
public:
  using TRadUdirEtyler::TRadUdirEtyler;
  void Assign(TPersistent* Source) override {
    ++Assigned;
    TRadUdirEtyler::Assign(Source);
  }
  int Assigned = 0;
};

// A menu styler of another kind (as the office menu styler is).
class TOtherMenuStyler : public TCustomRadUdirEtyler {
  LORM_CLASS(TOtherMenuStyler, TCustomRadUdirEtyler)
public:
  using TCustomRadUdirEtyler::TCustomRadUdirEtyler;
};

TEST_F(StylerTest, AssignCopiesTheListedValuesOnly) {
  TCustomVivIzizEzuStyler source(nullptr);
  source.Color()->SetColor(0x111111);
  source.Color()->Mirror()->SetColorMirror(0x222222);
  source.DockColor()->SetSteps(7);
  source.SetDragGripStyle(VivIzizEzu::dsFlatDots);
  source.SetFloatingWindowBorderWidth(9);
  source.CaptionAppearance()->SetCaptionColor(0x333333);
  source.SetFormBorderColor(0x444444);
  source.ButtonAppearance()->SetColorHot(0x555555);
  source.Font()->SetSize(14);
  source.SetRoundEdges(false);
  source.SetBorderColor(0x666666);
  source.ColorHot()->SetColor(0x777777);
  source.GlowButtonAppearance()->SetColor(0x888888);
  Styler->Assign(&source);
  EXPECT_EQ(Styler->Color()->Color(), 0x111111);
  EXPECT_EQ(Styler->Color()->Mirror()->ColorMirror(), 0x222222);
  EXPECT_EQ(Styler->DockColor()->Steps(), 7);
  EXPECT_EQ(Styler->DragGripStyle(), VivIzizEzu::dsFlatDots);
  EXPECT_EQ(Styler->FloatingWindowBorderWidth(), 9);
  EXPECT_EQ(Styler->CaptionAppearance()->CaptionColor(), 0x333333);
  EXPECT_EQ(Styler->FormBorderColor(), 0x444444);
  EXPECT_EQ(Styler->ButtonAppearance()->ColorHot(), 0x555555);
  EXPECT_EQ(Styler->Font()->GetSize(), 14);
  EXPECT_TRUE(Styler->RoundEdges());
  EXPECT_EQ(Styler->BorderColor(), clNone);
  EXPECT_EQ(Styler->ColorHot()->Color(), clNone);
  EXPECT_NE(Styler->GlowButtonAppearance()->Color(), 0x888888);

  TPersistent other;
  try {
    Styler->Assign(&other);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("Cannot assign a"), std::string::npos);
  }
}

TEST_F(StylerTest, AssignWritesOnlyIntoTheMenuStylerTheStylerOwns) {
  TCustomVivIzizEzuStyler source(nullptr);
  auto* sourceMenus = new TRadUdirEtyler(Form.get());
  source.SetRadUdirEtyler(sourceMenus);
  auto* linked = new TCountingMenuStyler(Form.get());
  Styler->SetRadUdirEtyler(linked);
  source.Color()->SetColor(0x101010);
  Styler->Assign(&source);
  EXPECT_EQ(linked->Assigned, 0);
  EXPECT_EQ(Styler->Color()->Color(), 0x101010);

  // Into the internal menu styler only a plain menu styler can be copied.
  TCustomVivIzizEzuStyler plain(nullptr);
  auto* office = new TOtherMenuStyler(Form.get());
  source.SetRadUdirEtyler(office);
  EXPECT_THROW(plain.Assign(&source), EConvertError);
}

TEST_F(StylerTest, SwitchingSystemFontOnRenamesBothFonts) {
  std::string systemName = IsVista() ? "Segoe UI" : "Tahoma";
  EXPECT_EQ(Styler->Font()->GetName(), systemName);
  Styler->SetSystemFont(false);
  Styler->Font()->SetName("Arial");
  Styler->CaptionFont()->SetName("Arial");
  Styler->SetSystemFont(false);
  EXPECT_EQ(Styler->Font()->GetName(), "Arial");
  Styler->SetSystemFont(true);
  EXPECT_EQ(Styler->Font()->GetName(), systemName);
  EXPECT_EQ(Styler->CaptionFont()->GetName(), systemName);
}

// ---- focus routines ----------------------------------------------------------------------------
class FocusTest : public ::testing::Test {
protected:
  FocusTest() {
    Application->Restart();
    Application->CreateForm(Form);
    Form->SetBounds(100, 100, 300, 200);
    Pager = new TCustomControl(Form);
    Pager->SetParent(Form);
    Pager->SetBounds(0, 0, 300, 120);
    Inner = new TEdit(Form);
    Inner->SetParent(Pager);
    Outside = new TEdit(Form);
    Outside->SetParent(Form);
    Outside->SetBounds(0, 150, 100, 22);
    Form->Show();
  }
  ~FocusTest() override { Application->Restart(); }
  THeadlessScope Headless;
  TForm* Form = nullptr;
  TCustomControl* Pager = nullptr;
  TEdit* Inner = nullptr;
  TEdit* Outside = nullptr;
};

TEST_F(FocusTest, FocusIsInsideThePagerOnlyBelowIt) {
  Inner->SetFocus();
  EXPECT_TRUE(VivIzizEzu::IsFocusInsidePager(Pager));
  Outside->SetFocus();
  EXPECT_FALSE(VivIzizEzu::IsFocusInsidePager(Pager));
  Pager->SetFocus();  // the climb starts at the focused window's parent
  EXPECT_FALSE(VivIzizEzu::IsFocusInsidePager(Pager));
  Inner->SetFocus();
  Pager->SetEnabled(false);
  EXPECT_FALSE(VivIzizEzu::IsFocusInsidePager(Pager));
  EXPECT_FALSE(VivIzizEzu::IsFocusInsidePager(nullptr));
}

TEST_F(FocusTest, UnfocusableControlsLeaveTheList) {
  Outside->SetEnabled(false);
  auto* hint = new THintWindow(Form);
  TList list;
  for (TControl* c : std::initializer_list<TControl*>{Inner, hint, Outside, Pager}) list.Add(c);
  VivIzizEzu::RemoveUnfocusableControls(&list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Get(0), static_cast<void*>(static_cast<TControl*>(Inner)));
  EXPECT_EQ(list.Get(1), static_cast<void*>(static_cast<TControl*>(Pager)));
  VivIzizEzu::RemoveUnfocusableControls(nullptr);
}

// ---- appearance classes ----------------------------------------------------------------------
struct FireCounter {
  int Count = 0;
  TNotifyEvent Handler() {
    return [this](TObject*) { ++Count; };
  }
};

TEST(ToolBarAppearance, ButtonAppearanceAssignCopiesItsSeventeenValuesSilently) {
  VivIzizEzu::TButtonAppearance source, target;
  source.SetColor(1); source.SetColorTo(2); source.SetColorHot(3); source.SetColorHotTo(4);
  source.SetColorDown(5); source.SetColorDownTo(6); source.SetColorChecked(7); source.SetColorCheckedTo(8);
  source.SetCaptionTextColor(9); source.SetCaptionTextColorHot(10); source.SetCaptionTextColorDown(11);
  source.SetCaptionTextColorChecked(12); source.SetGradientDirection(VivIzizEzu::gdHorizontal);
  source.SetBorderColor(13); source.SetBorderHotColor(14); source.SetBorderDownColor(15);
  source.SetBorderCheckedColor(16);
  source.SetGlyphPosition(VivIzizEzu::gpBottom);
  source.SetGradientDirectionHot(VivIzizEzu::gdHorizontal);
  source.CaptionFont()->SetName("Courier New");
  FireCounter fired;
  target.OnChange = fired.Handler();
  target.Assign(&source);
  EXPECT_EQ(fired.Count, 0);
  std::vector<TColor> got = {target.Color(), target.ColorTo(), target.ColorHot(), target.ColorHotTo(),
                             target.ColorDown(), target.ColorDownTo(), target.ColorChecked(),
                             target.ColorCheckedTo(), target.CaptionTextColor(), target.CaptionTextColorHot(),
                             target.CaptionTextColorDown(), target.CaptionTextColorChecked(),
                             target.BorderColor(), target.BorderHotColor(), target.BorderDownColor(),
                             target.BorderCheckedColor()};
  EXPECT_EQ(got, (std::vector<TColor>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
  EXPECT_EQ(target.GradientDirection(), VivIzizEzu::gdHorizontal);
  EXPECT_EQ(target.GlyphPosition(), VivIzizEzu::gpLeft);
  EXPECT_EQ(target.GradientDirectionHot(), VivIzizEzu::gdVertical);
  EXPECT_NE(target.CaptionFont()->GetName(), "Courier New");
  TPersistent unrelated;
  EXPECT_NO_THROW(target.Assign(&unrelated));
}

TEST(ToolBarAppearance, SetterSortsFireAsDeclared) {
  struct Case {
    const char* What;
    std::function<int()> Fires;  // the number of change events of the action
    int Expected;
  };
  auto count = [](auto& object, auto action) {
    FireCounter f;
    object.OnChange = f.Handler();
    action(object);
    return f.Count;
  };
  VivIzizEzu::TGradientBackground gradient;
  VivIzizEzu::TMirrorGradient mirror;
  VivIzizEzu::TButtonAppearance button;
  VivIzizEzu::TTabAppearance tab;
  VivIzizEzu::TVistaBackground vista;
  VivIzizEzu::TGroupAppearance group;
  VivIzizEzu::TVistaTextBackground text;
  TFont font;
  std::vector<Case> cases = {
      {"gradient colour unchanged", [&] { return count(gradient, [](auto& o) { o.SetColor(o.Color()); }); }, 1},
      {"mirror colour unchanged", [&] { return count(mirror, [](auto& o) { o.SetColor(o.Color()); }); }, 0},
      {"mirror colour changed", [&] { return count(mirror, [](auto& o) { o.SetColor(1); }); }, 1},
      {"button BorderDownColor", [&] { return count(button, [](auto& o) { o.SetBorderDownColor(1); }); }, 0},
      {"button BorderHotColor", [&] { return count(button, [](auto& o) { o.SetBorderHotColor(1); }); }, 0},
      {"button CaptionFont", [&] { return count(button, [&](auto& o) { o.SetCaptionFont(o.CaptionFont()); }); }, 1},
      {"tab BorderColorHot", [&] { return count(tab, [](auto& o) { o.SetBorderColorHot(1); }); }, 0},
      {"tab HighLightColorDown", [&] { return count(tab, [](auto& o) { o.SetHighLightColorDown(1); }); }, 0},
      {"tab font", [&] { return count(tab, [&](auto& o) { o.SetFont(&font); o.Font()->SetSize(20); }); }, 0},
      {"vista ShadowColor", [&] { return count(vista, [](auto& o) { o.SetShadowColor(1); }); }, 0},
      {"group font", [&] { return count(group, [&](auto& o) { o.SetFont(&font); }); }, 0},
      {"text background font", [&] { return count(text, [&](auto& o) { o.SetFont(&font); }); }, 0},
      {"group tool bar colour object",
       [&] { return count(group, [](auto& o) { o.ToolBarAppearance()->ColorHot()->SetColor(1); }); }, 0},
      {"group tool bar border", [&] { return count(group, [](auto& o) { o.ToolBarAppearance()->SetBorderColor(1); }); },
       1},
      {"group caption inside", [&] { return count(group, [](auto& o) { o.CaptionAppearance()->SetCaptionColor(1); }); },
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(c.Fires(), c.Expected);
  }
}

TEST(ToolBarAppearance, AssignFiresOnlyForTheValuesItSetsThroughSetters) {
  VivIzizEzu::TTabAppearance source, target;
  FireCounter fired;
  target.OnChange = fired.Handler();
  source.SetColor(0x010101);
  source.SetShadowColor(0x020202);
  target.Assign(&source);
  EXPECT_EQ(fired.Count, 0);
  EXPECT_EQ(target.Color(), 0x010101);
  EXPECT_EQ(target.ShadowColor(), 0x020202);
  source.SetTextColor(0x030303);
  target.Assign(&source);
  EXPECT_EQ(fired.Count, 1);

  VivIzizEzu::TQATAppearance q1, q2;
  q1.SetSteps(9);
  q1.SetColor(0x040404);
  q2.Assign(&q1);
  EXPECT_EQ(q2.Steps(), 64);
  EXPECT_EQ(q2.Color(), 0x040404);

  VivIzizEzu::TContainerAppearance c1, c2;
  FireCounter containerFired;
  c2.OnChange = containerFired.Handler();
  c1.SetLine3D(false);
  c1.SetLineColor(clRed);
  c2.Assign(&c1);
  EXPECT_EQ(containerFired.Count, 2);

  TPersistent unrelated;
  EXPECT_THROW(q2.Assign(&unrelated), EConvertError);
  VivIzizEzu::TGradientBackground g;
  EXPECT_NO_THROW(g.Assign(&unrelated));
}

TEST(ToolBarAppearance, SystemFontRenamesOnlyWhenSwitchedOn) {
  VivIzizEzu::TGroupAppearance group;
  FireCounter fired;
  group.OnChange = fired.Handler();
  group.Font()->SetName("Arial");
  group.SetSystemFont(false);
  EXPECT_EQ(group.Font()->GetName(), "Arial");
  group.SetSystemFont(true);
  EXPECT_EQ(group.Font()->GetName(), IsVista() ? "Segoe UI" : "Tahoma");
  EXPECT_EQ(fired.Count, 0);
}

}  // namespace
