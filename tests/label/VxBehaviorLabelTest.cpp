// The animated label: the registry, the label's behaviour switching, every behaviour on
// the test clock, the stored form of the main window's labels, and what they look like.
#include <gtest/gtest.h>

#include <filesystem>

#include "label/VxBehaviorLabel.h"
#include "platform/backend/Headless.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

namespace {

class LabelTest : public ::testing::Test {
protected:
  LabelTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 400, 300);
    form->Show();
  }
  ~LabelTest() override { Application->Restart(); }

  TVxBehaviorLabel* NewLabel(const std::string& caption, const std::string& behavior = "") {
    auto* label = new TVxBehaviorLabel(form);
    label->SetParent(form);
    label->SetBounds(100, 100, 60, 17);
    label->SetCaption(caption);
    if (!behavior.empty()) label->SetBehavior(behavior);
    return label;
  }
  // What the label shows now.
  static std::string Shown(TVxBehaviorLabel* label) {
    return label->UseEffectText() ? label->EffectText : label->Caption();
  }
  void Advance(unsigned ms) { scope.Backend().Advance(ms); }

  THeadlessScope scope;
  TForm* form = nullptr;
};

TEST_F(LabelTest, ANewLabelHasTheEmptyBehaviourAndAcceptsRegisteredNamesInAnyCase) {
  TVxBehaviorLabel* label = NewLabel("x");
  EXPECT_EQ(label->Behavior(), "(none)");
  ASSERT_NE(dynamic_cast<TVxLabelNone*>(label->BehaviorOptions()), nullptr);
  EXPECT_FALSE(label->BehaviorOptions()->Active());

  label->SetBehavior("blinking");
  EXPECT_EQ(label->Behavior(), "blinking");
  EXPECT_NE(dynamic_cast<TVxLabelBlink*>(label->BehaviorOptions()), nullptr);

  TVxLabelBehavior* before = label->BehaviorOptions();
  label->SetBehavior("Wobbling");  // not registered: nothing changes
  EXPECT_EQ(label->Behavior(), "blinking");
  EXPECT_EQ(label->BehaviorOptions(), before);
}

TEST_F(LabelTest, TheRegistryKeepsTheFirstClassOfANameAndAlwaysHoldsTheBuiltIns) {
  RegisterLabelBehaviorOptions("BLINKING", BehaviorClassOf<TVxLabelScroll>());
  EXPECT_EQ(GetLabelBehaviorOptionsClass("Blinking")->Class, TVxLabelBlink::StaticClass());
  RegisterLabelBehaviorOptions("MyOwnEffect", BehaviorClassOf<TVxLabelNone>());
  EXPECT_EQ(GetLabelBehaviorOptionsClass("myowneffect")->Class, TVxLabelNone::StaticClass());
  EXPECT_EQ(GetLabelBehaviorOptionsClass("nothing")->Class, TVxLabelBehavior::StaticClass());

  TStringList names;
  GetRegisteredLabelBehaviorOptions(&names);
  for (const char* builtin : {"(none)", "Appearing", "Blinking", "Bouncing", "CodeBreaker", "Scrolling",
                              "Special", "Typing"})
    EXPECT_GE(names.IndexOf(builtin), 0) << builtin;
  for (int i = 1; i < names.Count(); ++i) EXPECT_LT(CompareText(names[i - 1], names[i]), 0);
  GetRegisteredLabelBehaviorOptions(nullptr);  // does nothing

  std::string name;
  GetLabelBehaviorName(BehaviorClassOf<TVxLabelCodeBreaker>(), name);
  EXPECT_EQ(name, "CodeBreaker");
}

TEST_F(LabelTest, ActivatingTwiceStartsOnceAndABehaviourNeedsALabel) {
  TVxBehaviorLabel* label = NewLabel("x");
  int starts = 0, stops = 0;
  label->OnStart = [&](TObject*) { ++starts; };
  label->OnStop = [&](TObject*) { ++stops; };
  label->BehaviorOptions()->SetActive(true);
  label->BehaviorOptions()->SetActive(true);
  EXPECT_EQ(starts, 1);
  label->BehaviorOptions()->SetActive(false);
  EXPECT_EQ(stops, 1);

  try {
    TVxLabelBlink blink(nullptr);
    FAIL() << "no exception";
  } catch (const EVXLException& e) {
    EXPECT_STREQ(e.what(), "Cannot call TVxLabelBlink.Create with ALabel = nil");
  }
}

TEST_F(LabelTest, BlinkShowsTheCaptionForTheDelayThenAlternates) {
  TVxBehaviorLabel* label = NewLabel("Плотность 1.24", "Blinking");
  auto* blink = static_cast<TVxLabelBlink*>(label->BehaviorOptions());
  blink->SetDelay(200);
  blink->SetInterval(400);
  blink->SetActive(true);
  Advance(199);
  EXPECT_FALSE(label->UseEffectText());
  Advance(1);
  EXPECT_TRUE(label->UseEffectText());
  EXPECT_EQ(Shown(label), "");
  Advance(400);
  EXPECT_FALSE(label->UseEffectText());
  Advance(400);
  EXPECT_TRUE(label->UseEffectText());
  blink->SetActive(false);
  EXPECT_FALSE(label->UseEffectText());

  // Delay 0 becomes 1 ms; Interval 0 switches once and stays.
  blink->SetDelay(0);
  blink->SetInterval(0);
  blink->SetActive(true);
  EXPECT_EQ(blink->Delay(), 1u);
  Advance(10);  // the shortest period a system timer has
  EXPECT_TRUE(label->UseEffectText());
  Advance(5000);
  EXPECT_TRUE(label->UseEffectText());
}

TEST_F(LabelTest, PropertyChangesRestartAnActiveBehaviourSilently) {
  TVxBehaviorLabel* label = NewLabel("x", "Blinking");
  int events = 0;
  label->OnStart = [&](TObject*) { ++events; };
  label->OnStop = [&](TObject*) { ++events; };
  auto* blink = static_cast<TVxLabelBlink*>(label->BehaviorOptions());
  blink->SetDelay(50);  // inactive: stays inactive
  EXPECT_FALSE(blink->Active());
  blink->SetActive(true);
  EXPECT_EQ(events, 1);
  blink->SetDelay(30);
  EXPECT_TRUE(blink->Active());
  EXPECT_EQ(events, 1);
  Advance(30);
  EXPECT_TRUE(label->UseEffectText());
}

TEST_F(LabelTest, BounceClampsItsValuesAndGivesTheBoundsBack) {
  TVxBehaviorLabel* label = NewLabel("bounce", "Bouncing");
  auto* bounce = static_cast<TVxLabelBounce*>(label->BehaviorOptions());
  bounce->SetInterval(0);
  bounce->SetPixels(-5);
  EXPECT_EQ(bounce->Interval(), 20u);
  EXPECT_EQ(bounce->Pixels(), 6);
  const TRect start = label->BoundsRect();
  bounce->SetActive(true);
  Advance(20 * 30);
  EXPECT_NE(label->BoundsRect(), start);
  // Every move keeps the label inside the parent.
  EXPECT_GE(label->Left(), 0);
  EXPECT_LE(label->Left() + label->Width(), form->ClientWidth());
  bounce->SetActive(false);
  EXPECT_EQ(label->BoundsRect(), start);
}

TEST_F(LabelTest, SwitchingAwayFromABounceStopsItSilentlyAndRestoresTheBounds) {
  TVxBehaviorLabel* label = NewLabel("bounce", "Bouncing");
  int stops = 0;
  label->OnStop = [&](TObject*) { ++stops; };
  const TRect start = label->BoundsRect();
  label->BehaviorOptions()->SetActive(true);
  Advance(200);
  label->SetBehavior("Blinking");
  EXPECT_EQ(stops, 0);
  EXPECT_EQ(label->BoundsRect(), start);
  EXPECT_FALSE(label->BehaviorOptions()->Active());
}

TEST_F(LabelTest, AStartThatFailsLeavesTheBehaviourInactive) {
  for (const char* name : {"Bouncing", "Appearing"}) {
    SCOPED_TRACE(name);
    auto* label = new TVxBehaviorLabel(form);  // no parent
    label->SetBehavior(name);
    int starts = 0;
    label->OnStart = [&](TObject*) { ++starts; };
    try {
      label->BehaviorOptions()->SetActive(true);
      FAIL() << "no exception";
    } catch (const EVXLException& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("OwnerLabel.Parent is nil in ") + label->BehaviorOptions()->ClassType()->Name + ".Start");
    }
    EXPECT_FALSE(label->BehaviorOptions()->Active());
    EXPECT_EQ(starts, 0);
  }
}

TEST_F(LabelTest, ScrollRotatesThePaddedTextOneCharacterPerTick) {
  TVxBehaviorLabel* label = NewLabel("abc", "Scrolling");
  label->SetAutoSize(false);
  label->SetWidth(40);
  auto* scroll = static_cast<TVxLabelScroll*>(label->BehaviorOptions());
  scroll->SetPadding(true);
  const std::string padded = label->EffectText;
  ASSERT_GT(padded.size(), 3u);
  EXPECT_EQ(padded.substr(0, 3), "abc");
  EXPECT_EQ(padded.find_first_not_of(' ', 3), std::string::npos);
  scroll->SetActive(true);
  Advance(50);
  EXPECT_EQ(Shown(label), " abc" + padded.substr(3, padded.size() - 4));
  scroll->SetDirection(sdRightToLeft);  // restarts with the text rebuilt
  Advance(50);
  EXPECT_EQ(Shown(label), padded.substr(1) + "a");

  // A label too narrow for one space still gets its effect text at once.
  label->SetWidth(0);
  scroll->SetPadding(true);
  EXPECT_EQ(label->EffectText, "abc");
}

TEST_F(LabelTest, AppearSlidesInFromTheRightAndStopsAtItsPlace) {
  TVxBehaviorLabel* label = NewLabel("appear", "Appearing");
  label->SetAutoSize(false);
  label->SetBounds(100, 50, 60, 17);
  auto* appear = static_cast<TVxLabelAppear*>(label->BehaviorOptions());
  appear->Pixels = 50;
  appear->SetActive(true);
  Advance(100);  // the first tick: at the parent's right edge, then one step
  const int cw = form->ClientWidth();
  EXPECT_EQ(label->Left(), cw - 50);
  EXPECT_EQ(label->Width(), std::max(0, cw - label->Left() - 2) < 60 ? cw - label->Left() - 2 : 60);
  for (int i = 0; i < 20 && appear->Active(); ++i) Advance(20);
  EXPECT_FALSE(appear->Active());
  EXPECT_EQ(label->BoundsRect(), (TRect{100, 50, 160, 67}));
}

TEST_F(LabelTest, TypingShowsOneCharacterPerTickAndEndsWithTheCaption) {
  TVxBehaviorLabel* label = NewLabel("ab", "Typing");
  auto* typing = static_cast<TVxLabelTyping*>(label->BehaviorOptions());
  typing->SetMakeErrors(false);
  typing->SetInterval(100);
  typing->SetActive(true);
  EXPECT_EQ(Shown(label), "");
  Advance(100);
  EXPECT_EQ(Shown(label), "a");
  Advance(199);
  EXPECT_EQ(Shown(label), "a");
  Advance(1);
  EXPECT_EQ(Shown(label), "ab");
  EXPECT_TRUE(typing->Active());
  Advance(200);
  EXPECT_FALSE(typing->Active());
  EXPECT_EQ(Shown(label), "ab");

  // An empty caption ends at the first tick.
  label->SetCaption("");
  typing->SetActive(true);
  Advance(100);
  EXPECT_FALSE(typing->Active());
}

TEST_F(LabelTest, SpecialCountsUpToEveryCharacterIncludingTheLast) {
  TVxBehaviorLabel* label = NewLabel("ab", "Special");
  auto* special = static_cast<TVxLabelSpecial*>(label->BehaviorOptions());
  special->SetInterval(10);
  special->SetActive(true);
  std::vector<std::string> shown;
  for (int i = 0; i < 200 && special->Active(); ++i) {
    Advance(10);
    shown.push_back(Shown(label));
  }
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown.front(), "a ");
  EXPECT_EQ(shown[1], "a!");
  // The counter climbs to the last character itself before the caption comes back.
  EXPECT_EQ(shown[shown.size() - 2], "ab");
  EXPECT_EQ(shown.size(), size_t(98 - 32 + 2));
  EXPECT_EQ(shown.back(), "ab");
  EXPECT_FALSE(label->UseEffectText());

  // A one-character caption ends at the first tick.
  label->SetCaption("z");
  special->SetActive(true);
  Advance(10);
  EXPECT_FALSE(special->Active());
  EXPECT_EQ(Shown(label), "z");
}

TEST_F(LabelTest, CodeBreakerDecodesIntoTheCaptionAndNeverDestroysIt) {
  TVxBehaviorLabel* label = NewLabel("secret", "CodeBreaker");
  auto* breaker = static_cast<TVxLabelCodeBreaker*>(label->BehaviorOptions());
  breaker->DecodedText = "abc";
  RandSeed = 12345;
  breaker->SetActive(true);
  for (int i = 0; i < 10000 && breaker->Active(); ++i) Advance(10);
  EXPECT_FALSE(breaker->Active());
  EXPECT_EQ(label->Caption(), "abc");
  EXPECT_EQ(Shown(label), "abc");

  // Stopped half-way, the caption is what it was.
  label->SetCaption("secret");
  breaker->DecodedText = "zzzzzz";
  breaker->SetActive(true);
  Advance(30);
  EXPECT_NE(label->EffectText, "secret");
  breaker->SetActive(false);
  EXPECT_EQ(label->Caption(), "secret");
  EXPECT_EQ(Shown(label), "secret");

  // Switching the behaviour away keeps the caption too.
  breaker->SetActive(true);
  Advance(30);
  label->SetBehavior("Blinking");
  EXPECT_EQ(label->Caption(), "secret");
}

TEST_F(LabelTest, CodeBreakerWithNothingToDoEndsAtOnceWithBothEvents) {
  TVxBehaviorLabel* label = NewLabel("", "CodeBreaker");
  int starts = 0, stops = 0;
  label->OnStart = [&](TObject*) { ++starts; };
  label->OnStop = [&](TObject*) { ++stops; };
  label->BehaviorOptions()->SetActive(true);
  EXPECT_FALSE(label->BehaviorOptions()->Active());
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(label->Caption(), "");
}

TEST_F(LabelTest, AssigningABehaviourObjectOnlyTakesItsClass) {
  TVxBehaviorLabel* label = NewLabel("x");
  TVxBehaviorLabel* other = NewLabel("y", "Scrolling");
  auto* given = static_cast<TVxLabelScroll*>(other->BehaviorOptions());
  given->SetInterval(500);
  label->SetBehaviorOptions(given);
  EXPECT_EQ(label->Behavior(), "Scrolling");
  auto* own = dynamic_cast<TVxLabelScroll*>(label->BehaviorOptions());
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, given);
  EXPECT_EQ(own->Interval(), 50u);
  EXPECT_FALSE(own->Active());
  label->SetBehaviorOptions(nullptr);  // nothing changes
  EXPECT_EQ(label->Behavior(), "Scrolling");
}

// The main window's air reference labels, as they are stored.
const char* const kAirLabels =
    "object Form1: TForm\n"
    "  Left = 100\n"
    "  Top = 100\n"
    "  Width = 260\n"
    "  Height = 150\n"
    "  object VxBehaviorLabel1: TVxBehaviorLabel\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Behavior = 'Blinking'\n"
    "    BehaviorOptions.Active = True\n"
    "    BehaviorOptions.Delay = 200\n"
    "    Caption = 'Параметры воздушной смеси:'\n"
    "    Font.Name = 'Tahoma'\n"
    "    Font.Style = [fsBold]\n"
    "    ParentFont = False\n"
    "    Transparent = True\n"
    "  end\n"
    "  object VxBehaviorLabel2: TVxBehaviorLabel\n"
    "    Left = 8\n"
    "    Top = 28\n"
    "    Behavior = 'Blinking'\n"
    "    BehaviorOptions.Active = True\n"
    "    BehaviorOptions.Delay = 200\n"
    "    Caption = 'Плотность 1.24'\n"
    "    Transparent = True\n"
    "  end\n"
    "end\n";

TEST_F(LabelTest, StoredLabelsShowTheirCaptionsSteadilyUntilRestarted) {
  RegisterClass(TVxBehaviorLabel::StaticClass());
  TForm stored(nullptr);
  ReadComponentFromText(kAirLabels, &stored);
  stored.Show();
  auto* title = dynamic_cast<TVxBehaviorLabel*>(stored.FindComponent("VxBehaviorLabel1"));
  auto* density = dynamic_cast<TVxBehaviorLabel*>(stored.FindComponent("VxBehaviorLabel2"));
  ASSERT_TRUE(title && density);
  EXPECT_EQ(density->Behavior(), "Blinking");
  auto* blink = dynamic_cast<TVxLabelBlink*>(density->BehaviorOptions());
  ASSERT_NE(blink, nullptr);
  EXPECT_TRUE(blink->Active());
  EXPECT_EQ(blink->Delay(), 200u);
  Advance(2000);
  EXPECT_FALSE(density->UseEffectText());  // started while loading: no timer

  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lorm-label";
  std::filesystem::create_directories(dir);
  EXPECT_TRUE(SaveWindowPng(stored.Handle(), (dir / "air-labels-steady.png").string()));
  const COLORREF inkSteady = WindowPixel(stored.Handle(), 12, 34);

  blink->SetActive(false);
  blink->SetActive(true);
  Advance(200);
  EXPECT_TRUE(density->UseEffectText());
  EXPECT_TRUE(SaveWindowPng(stored.Handle(), (dir / "air-labels-blink.png").string()));
  (void)inkSteady;
  Advance(400);
  EXPECT_FALSE(density->UseEffectText());

  // Written back, the label stores its behaviour and options.
  const std::string written = WriteComponentToText(&stored);
  EXPECT_NE(written.find("Behavior = 'Blinking'"), std::string::npos);
  EXPECT_NE(written.find("BehaviorOptions.Delay = 200"), std::string::npos);
}

}  // namespace
