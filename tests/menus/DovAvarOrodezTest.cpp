// The glow button on the headless back end: its appearance and colour arithmetic, the
// painter's halves, mouse and keyboard behaviour with the fade and repeat clocks, groups,
// size states, key tips, look presets and the data-aware button.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "menus/DovAvarOrodez.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/rtl/MessageService.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"

using namespace glowdraw;

namespace {

class GlowTest : public ::testing::Test {
protected:
  GlowTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(100, 100, 640, 360);
    form->Show();
  }
  ~GlowTest() override { Application->Restart(); }

  template <class T = TDovAvarOrodez>
  T* NewButton(int left = 20, int top = 20, int width = 100, int height = 41) {
    auto* b = new T(form);
    b->SetParent(form);
    b->SetBounds(left, top, width, height);
    return b;
  }
  void Tick(int ms) { scope.Backend().Advance(ms); }

  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};

// ---- appearance ---------------------------------------------------------------------------

TEST(GlowAppearance, ConstructorColoursIncludeTheDerivedStateColours) {
  TGlowButtonAppearance a;
  struct Case {
    const char* name;
    TColor got, want;
  } cases[] = {
      {"BorderColor", a.BorderColor(), 0xC0C0C0},       {"BorderColorHot", a.BorderColorHot(), 0xFF0000},
      {"BorderColorDown", a.BorderColorDown(), 0x800000}, {"ColorHot", a.ColorHot(), 0xF5F0E1},
      {"ColorHotTo", a.ColorHotTo(), 0xF9D2B2},           {"ColorDown", a.ColorDown(), 0xF5D8CA},
      {"ColorChecked", a.ColorChecked(), 0xF5D8CA},       {"ColorDownTo", a.ColorDownTo(), 0xF9BDA0},
      {"ColorCheckedTo", a.ColorCheckedTo(), 0xF9BDA0},   {"ColorMirrorDown", a.ColorMirrorDown(), 0xF5B49C},
      {"ColorMirrorDownTo", a.ColorMirrorDownTo(), 0xFFDFDC},
      {"ColorMirrorCheckedTo", a.ColorMirrorCheckedTo(), 0xFFDFDC},
      {"ColorDisabled", a.ColorDisabled(), 0xF2F2F2},     {"ColorDisabledTo", a.ColorDisabledTo(), 0xF2F2F2},
      {"ColorMirrorDisabled", a.ColorMirrorDisabled(), 0xB6B6B6},
      {"ColorMirrorDisabledTo", a.ColorMirrorDisabledTo(), 0xF2F2F2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
  EXPECT_EQ(a.GradientHot(), ggRadial);
  EXPECT_EQ(a.GradientMirrorChecked(), ggVertical);
  EXPECT_TRUE(a.SystemFont());
}

TEST(GlowAppearance, NotifiesOnlyRealChangesAndKeepsDerivedColours) {
  TGlowButtonAppearance a;
  int changes = 0;
  a.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &a);
    ++changes;
  };
  a.SetColorHot(a.ColorHot());
  a.SetGradient(ggVertical);
  EXPECT_EQ(changes, 0);
  a.SetColorHot(0x123456);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a.ColorDown(), 0xF5D8CA);  // computed once, at construction
  a.Assign(&a);
  EXPECT_EQ(changes, 1);

  TGlowButtonAppearance b;
  b.SetColor(0x010203);
  b.SetGradientDisabled(ggVertical);
  a.Assign(&b);  // ColorHot, Color and GradientDisabled differ
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(a.Color(), 0x010203);
  EXPECT_EQ(a.ColorHot(), 0xF5F0E1);
}

// ---- colour arithmetic ----------------------------------------------------------------------

TEST(GlowColours, ShadeAndBlendFollowTheirRules) {
  EXPECT_EQ(ShadeColorRGB(0x0000FF, 20, 20, 20), 0x1414FF);
  EXPECT_EQ(ShadeColorRGB(0x000000, -10, -10, 0), 0x000000);
  EXPECT_EQ(ShadeColorRGB(0xF5F0E1, -10, -10, 0), 0xF5D8CA);  // 225 * 0.9 = 202.5 rounds to even
  EXPECT_EQ(ShadeColor(clWhite, -10), 0xE6E6E6);
  struct Case {
    int percent;
    TColor want;
  } cases[] = {{100, 0x204060}, {150, 0x204060}, {0, 0xA0C0E0}, {-20, 0xA0C0E0}, {50, 0x6080A0}, {25, 0x80A0C0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(BlendColor(0x204060, 0xA0C0E0, c.percent), c.want);
  }
  EXPECT_EQ(BlendColor(clNone, 0x000000, 50), 0x808080);  // clNone counts by its low bytes
}

TEST(GlowColours, SteppedGradientHasAtLeastOneBand) {
  TBitmap bmp(20, 20);
  DrawGradient(bmp.Canvas(), 0x0000FF, 0xFF0000, false, TRect{0, 0, 20, 20}, 0);
  EXPECT_EQ(bmp.Canvas()->GetPixel(10, 19), 0x0000FF);
  DrawGradient(bmp.Canvas(), 0x000000, 0xFF0000, false, TRect{0, 0, 20, 20}, 2);
  EXPECT_EQ(bmp.Canvas()->GetPixel(10, 2), 0x000000);
  EXPECT_EQ(bmp.Canvas()->GetPixel(10, 15), 0x800000);
}

// ---- painting -------------------------------------------------------------------------------

TEST_F(GlowTest, ButtonHalvesMeetAtRowTwentyOfAFortyOnePixelButton) {
  auto* b = NewButton();
  b->SetBorderStyle(bsNone);
  TGlowButtonAppearance* a = b->Appearance();
  a->SetColor(clRed);
  a->SetColorTo(clRed);
  a->SetColorMirror(clBlue);
  a->SetColorMirrorTo(clBlue);
  HWND h = b->Handle();
  EXPECT_EQ(WindowPixel(h, 50, 20), ColorToRGB(clRed));
  EXPECT_EQ(WindowPixel(h, 50, 21), ColorToRGB(clBlue));
  EXPECT_EQ(WindowPixel(h, 50, 40), ColorToRGB(clBlue));

  // The lower half alone starts one row above the middle.
  TBitmap bmp(100, 41);
  bmp.Canvas()->Brush()->SetColor(clLime);
  bmp.Canvas()->FillRect(TRect{0, 0, 100, 41});
  {
    TGPGraphics g(bmp.Canvas()->GetHandle());
    FillGlowGradient(&g, TRect{0, 41 / 2 - 1, 100, 41}, clBlue, clBlue, ggVertical, false);
  }
  EXPECT_EQ(bmp.Canvas()->GetPixel(50, 18), clLime);
  EXPECT_EQ(bmp.Canvas()->GetPixel(50, 19), clBlue);
}

TEST_F(GlowTest, RoundedCornersShowTheParentAndSquareOnesDoNot) {
  form->SetColor(clLime);
  auto* b = NewButton();
  b->Appearance()->SetBorderColor(clBlack);
  HWND h = b->Handle();
  EXPECT_EQ(WindowPixel(h, 0, 0), ColorToRGB(clLime));
  EXPECT_EQ(WindowPixel(h, 99, 40), ColorToRGB(clLime));
  b->SetRounded(false);
  EXPECT_EQ(WindowPixel(h, 0, 0), 0u);
  EXPECT_EQ(WindowPixel(h, 0, 20), 0u);
}

TEST(GlowOutlines, SquareAndRoundedOutlinesAndTheirSeparators) {
  auto draw = [](auto&& paint) {
    auto bmp = std::make_unique<TBitmap>(40, 30);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect{0, 0, 40, 30});
    TGPGraphics g(bmp->Canvas()->GetHandle());
    paint(g);
    return bmp;
  };
  auto square = draw([](TGPGraphics& g) { DrawGlowOutline(&g, clBlack, 0, 0, 39, 29, 0); });
  EXPECT_EQ(square->Canvas()->GetPixel(0, 0), clBlack);
  EXPECT_EQ(square->Canvas()->GetPixel(39, 29), clBlack);
  auto round = draw([](TGPGraphics& g) {
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    DrawGlowOutline(&g, clBlack, 0, 0, 39, 29, 3);
  });
  EXPECT_EQ(round->Canvas()->GetPixel(0, 0), clWhite);  // the corner is cut by the arc
  EXPECT_NE(round->Canvas()->GetPixel(20, 0), clWhite);
  // An unlit right outline leaves 2 pixels free at both ends of its light separator.
  auto right = draw([](TGPGraphics& g) { DrawRightOutline(&g, clBlack, 0, 0, 39, 29, 0, false); });
  EXPECT_EQ(right->Canvas()->GetPixel(0, 1), clWhite);
  EXPECT_EQ(right->Canvas()->GetPixel(0, 15), 0xE6E6E6);
  auto lit = draw([](TGPGraphics& g) { DrawRightOutline(&g, clBlack, 0, 0, 39, 29, 0, true); });
  EXPECT_EQ(lit->Canvas()->GetPixel(0, 1), ShadeColor(clBlack, -5));
  SetWin7(true);
  auto win7 = draw([](TGPGraphics& g) { DrawLeftOutline(&g, clGray, 0, 0, 39, 29, 0); });
  SetWin7(false);
  EXPECT_EQ(win7->Canvas()->GetPixel(39, 1), clWhite);
  EXPECT_EQ(win7->Canvas()->GetPixel(39, 15), ShadeColor(clGray, -5));
}

TEST(GlowPictures, BitmapPicturesKeyTheirBottomLeftColour) {
  TBitmap source(8, 8);
  source.Canvas()->Brush()->SetColor(clFuchsia);
  source.Canvas()->FillRect(TRect{0, 0, 8, 8});
  source.Canvas()->Brush()->SetColor(clBlue);
  source.Canvas()->FillRect(TRect{2, 2, 6, 6});
  TMemoryStream bytes;
  source.SaveToStream(bytes);
  bytes.SetPosition(0);
  TGDIPPicture picture;
  picture.LoadFromStream(bytes);
  ASSERT_FALSE(picture.GetEmpty());

  TBitmap target(20, 20);
  target.Canvas()->Brush()->SetColor(clLime);
  target.Canvas()->FillRect(TRect{0, 0, 20, 20});
  {
    TGPGraphics g(target.Canvas()->GetHandle());
    DrawPictureAt(&g, TPoint{4, 4}, &picture);
  }
  EXPECT_EQ(target.Canvas()->GetPixel(5, 5), clLime);  // magenta is transparent
  EXPECT_EQ(target.Canvas()->GetPixel(8, 8), clBlue);
  EXPECT_NO_THROW(DrawPictureAt(nullptr, TPoint{0, 0}, &picture));
}

TEST(GlowArrow, DownArrowRowsAndHighlight) {
  TBitmap bmp(10, 10);
  bmp.Canvas()->Brush()->SetColor(clSilver);
  bmp.Canvas()->FillRect(TRect{0, 0, 10, 10});
  DrawDropDownArrow(bmp.Canvas(), TPoint{2, 2}, clBlack, true, clWhite);
  TCanvas* c = bmp.Canvas();
  for (int x = 2; x < 7; ++x) EXPECT_EQ(c->GetPixel(x, 2), clBlack);
  EXPECT_EQ(c->GetPixel(7, 2), clSilver);
  EXPECT_EQ(c->GetPixel(3, 3), clBlack);
  EXPECT_EQ(c->GetPixel(2, 3), clWhite);
  EXPECT_EQ(c->GetPixel(4, 4), clBlack);
  EXPECT_EQ(c->GetPixel(4, 5), clWhite);
}

TEST_F(GlowTest, TransparentButtonShowsItsParentUntilTheMouseComes) {
  form->SetColor(clLime);
  auto* b = NewButton();
  b->SetTransparent(true);
  b->Invalidate();
  HWND h = b->Handle();
  EXPECT_EQ(WindowPixel(h, 50, 10), ColorToRGB(clLime));
  EXPECT_EQ(WindowPixel(h, 50, 0), ColorToRGB(clLime));  // no outline either
  robot.MoveTo(h, 50, 20);
  Tick(200);
  EXPECT_NE(WindowPixel(h, 50, 10), ColorToRGB(clLime));

  // A descendant that draws no background shows the parent, not an unpainted buffer.
  auto* bare = NewButton(150, 20);
  bare->SetNoBackground(true);
  bare->Invalidate();
  EXPECT_EQ(WindowPixel(bare->Handle(), 50, 10), ColorToRGB(clLime));
}

TEST_F(GlowTest, FocusedButtonDrawsItsFocusFrame) {
  auto* b = NewButton();
  b->SetTabStop(true);
  b->SetRounded(false);
  HWND h = b->Handle();
  COLORREF before = WindowPixel(h, 50, 1);
  b->SetFocus();
  EXPECT_TRUE(b->IsFocused());
  EXPECT_EQ(WindowPixel(h, 50, 1), ColorToRGB(TColor(0xE4AD89)));
  EXPECT_NE(before, WindowPixel(h, 50, 1));
}

TEST_F(GlowTest, TinyAndOddlySetButtonsPaintWithoutHarm) {
  auto* images = new TImageList(form);
  TBitmap glyph(16, 16);
  images->AddMasked(&glyph, clFuchsia);
  struct Case {
    int w, h;
    bool dropDown;
    TDropDownPosition pos;
    TButtonLayout layout;
  } cases[] = {{0, 0, false, dpRight, blGlyphLeft},   {1, 1, true, dpRight, blGlyphRight},
               {3, 2, true, dpBottom, blGlyphTop},    {14, 14, true, dpRight, blGlyphBottom},
               {20, 5, true, dpBottom, blGlyphBottomAdjusted}, {60, 30, false, dpRight, blGlyphRightAdjusted},
               {60, 30, true, dpRight, blGlyphTopAdjusted},     {60, 30, false, dpRight, blGlyphLeftAdjusted}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    auto* b = NewButton(20, 20, c.w, c.h);
    b->SetCaption("A\\nlong caption");
    b->Notes()->Add("notes");
    b->SetImages(images);
    b->SetImageIndex(5);  // beyond the list
    b->SetDropDownButton(c.dropDown);
    b->SetDropDownPosition(c.pos);
    b->SetLayout(c.layout);
    b->SetSpacing(-40);
    b->SetFocusType(ftHotBorder);
    b->Repaint();
    b->SetImageIndex(0);
    b->SetNotes(nullptr);
    b->SetAntiAlias(aaNone);
    b->Repaint();
    b->SetMarginHorz(-200);
    b->SetAutoSize(true);
    EXPECT_GE(b->Width(), 0);
    EXPECT_GE(b->Height(), 0);
    delete b;
  }
}

TEST_F(GlowTest, QuickReentryReversesTheFadeFromWhereItIs) {
  GlowSpeed = 50;
  auto* b = NewButton();
  HWND h = b->Handle();
  robot.MoveTo(h, 50, 20);
  Tick(100);  // two ticks of 50 ms
  EXPECT_EQ(b->HotProgress(), 40);
  robot.MoveTo(form->Handle(), 400, 300);
  Tick(50);
  EXPECT_EQ(b->HotProgress(), 80);  // leaving restarts from full
  robot.MoveTo(h, 50, 20);
  Tick(50);
  EXPECT_EQ(b->HotProgress(), 100);
  GlowSpeed = 30;
}

// ---- mouse ------------------------------------------------------------------------------------

TEST_F(GlowTest, SplitButtonOpensItsMenuOnlyOverTheDropDownPart) {
  auto* b = NewButton();
  b->SetDropDownButton(true);
  int dropped = 0, clicks = 0;
  b->OnDropDown = [&](TObject*) { ++dropped; };
  b->OnClick = [&](TObject*) { ++clicks; };
  HWND h = b->Handle();
  robot.MoveTo(h, 88, 20);
  EXPECT_FALSE(b->OverDropDownPart());
  robot.MoveTo(h, 89, 20);
  EXPECT_TRUE(b->OverDropDownPart());
  robot.Click(h, 87, 20);
  EXPECT_EQ(dropped, 1);
  EXPECT_EQ(clicks, 0);
  Tick(1000);  // not a double click
  robot.Click(h, 86, 20);
  EXPECT_EQ(dropped, 1);
  EXPECT_EQ(clicks, 1);

  // With a menu the press pops it up; after it closes nothing stays pressed.
  auto* menu = new TPopupMenu(form);
  b->SetDropDownMenu(menu);
  Tick(1000);
  scope.Backend().WhenIdle([&] {
    EXPECT_TRUE(b->DroppedDown());
    robot.PressKey(VK_ESCAPE);
  });
  robot.MouseDown(h, 95, 20);
  robot.MouseUp(h, 95, 20);
  Tick(300);
  EXPECT_EQ(dropped, 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->DroppedDown());
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(b->ButtonState(), absUp);
}

TEST_F(GlowTest, SplitButtonDarkensTheHalfTheMouseIsNotOver) {
  // Flat hot colours: every pixel of a half is its colour or that colour 10 % darker.
  auto* b = NewButton();
  b->SetDropDownButton(true);
  TGlowButtonAppearance* a = b->Appearance();
  const TColor upper = 0x60C0F0;
  for (auto set : {&TGlowButtonAppearance::SetColorHot, &TGlowButtonAppearance::SetColorHotTo,
                   &TGlowButtonAppearance::SetColorMirrorHot, &TGlowButtonAppearance::SetColorMirrorHotTo})
    (a->*set)(upper);
  a->SetGradientHot(ggVertical);
  a->SetGradientMirrorHot(ggVertical);
  const TColor dark = ShadeColor(upper, -10);
  HWND h = b->Handle();
  struct Case {
    int x;
    TColor content, part;
  } cases[] = {{89, upper, dark}, {88, dark, upper}, {99, upper, dark}, {20, dark, upper}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    robot.MoveTo(h, c.x, 20);
    Tick(300);
    b->Repaint();
    ASSERT_TRUE(b->Hot());
    EXPECT_EQ(b->OverDropDownPart(), c.x >= 89);
    EXPECT_EQ(WindowPixel(h, 40, 10), ColorToRGB(c.content));
    EXPECT_EQ(WindowPixel(h, 94, 30), ColorToRGB(c.part));
  }
  if (const char* keep = std::getenv("LORM_KEEP_PNG")) {
    robot.MoveTo(h, 95, 20);
    Tick(300);
    b->Repaint();
    EXPECT_TRUE(SaveWindowPng(h, (std::filesystem::path(keep).parent_path() / "lorm_glow_split_part.png").string()));
    robot.MoveTo(h, 40, 20);
    Tick(300);
    b->Repaint();
    EXPECT_TRUE(SaveWindowPng(h, (std::filesystem::path(keep).parent_path() / "lorm_glow_split_content.png").string()));
  }
}

TEST_F(GlowTest, TheFocusFrameIsDottedTwoPixelsInside) {
  auto* b = NewButton();
  b->SetTabStop(true);
  b->SetCaption("");
  b->SetFocus();
  ASSERT_TRUE(b->Focused());
  b->Repaint();
  HWND h = b->Handle();
  // The frame's straight top and left sides: grey dots with the face between them.
  const COLORREF grey = ColorToRGB(TColor(0x808080));
  int dots = 0, gaps = 0;
  for (int x = 8; x < 88; ++x) {
    const bool dot = WindowPixel(h, x, 2) == grey;
    EXPECT_NE(dot, WindowPixel(h, x + 1, 2) == grey) << x;
    (dot ? dots : gaps)++;
  }
  EXPECT_EQ(dots, 40);
  EXPECT_EQ(gaps, 40);
  for (int y = 8; y < 30; ++y) EXPECT_NE(WindowPixel(h, 2, y) == grey, WindowPixel(h, 2, y + 1) == grey) << y;
  if (const char* keep = std::getenv("LORM_KEEP_PNG"))
    EXPECT_TRUE(SaveWindowPng(h, (std::filesystem::path(keep).parent_path() / "lorm_glow_focus.png").string()));
}

TEST_F(GlowTest, HotFadeTakesSixTicksAndLeavingFadesOutFromFull) {
  auto* b = NewButton();
  HWND h = b->Handle();
  robot.MoveTo(h, 50, 20);
  ASSERT_TRUE(b->Hot());
  ASSERT_TRUE(b->GlowTimerRunning());
  int expected[] = {20, 40, 60, 80, 100};
  for (int want : expected) {
    Tick(30);
    EXPECT_EQ(b->HotProgress(), want);
  }
  EXPECT_TRUE(b->GlowTimerRunning());
  Tick(30);  // the sixth tick ends the fade
  EXPECT_EQ(b->HotProgress(), 100);
  EXPECT_FALSE(b->GlowTimerRunning());

  robot.MoveTo(h, 50, 20);
  Tick(60);
  robot.MoveTo(form->Handle(), 400, 300);
  EXPECT_FALSE(b->Hot());
  EXPECT_EQ(b->HotProgress(), 100);
  Tick(30);
  EXPECT_EQ(b->HotProgress(), 80);
  Tick(150);
  EXPECT_EQ(b->HotProgress(), 0);
  EXPECT_FALSE(b->GlowTimerRunning());
}

TEST_F(GlowTest, GroupButtonsReleaseEachOther) {
  auto* first = NewButton(20, 20);
  auto* second = NewButton(130, 20);
  first->SetGroupIndex(1);
  second->SetGroupIndex(1);
  robot.Click(first->Handle(), 50, 20);
  EXPECT_TRUE(first->Down());
  EXPECT_EQ(first->ButtonState(), absExclusive);
  robot.Click(second->Handle(), 50, 20);
  EXPECT_TRUE(second->Down());
  EXPECT_FALSE(first->Down());
  robot.Click(second->Handle(), 50, 20);  // without AllowAllUp a down button stays down
  EXPECT_TRUE(second->Down());
  // Released outside: Down does not change.
  robot.MouseDown(first->Handle(), 50, 20);
  robot.MouseUp(form->Handle(), 400, 300);
  EXPECT_FALSE(first->Down());
  EXPECT_TRUE(second->Down());
  second->SetAllowAllUp(true);
  robot.Click(second->Handle(), 50, 20);
  EXPECT_FALSE(second->Down());
}

TEST_F(GlowTest, RepeatClickFiresAfter400msThenEvery100ms) {
  auto* b = NewButton();
  b->SetRepeatClick(true);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  HWND h = b->Handle();
  robot.MouseDown(h, 50, 20);
  Tick(399);
  EXPECT_EQ(clicks, 0);
  Tick(1);
  EXPECT_EQ(clicks, 1);
  Tick(300);
  EXPECT_EQ(clicks, 4);
  robot.MouseUp(h, 50, 20);  // the release inside clicks once more
  EXPECT_EQ(clicks, 5);
  Tick(1000);
  EXPECT_EQ(clicks, 5);
}

TEST_F(GlowTest, RightAndMiddlePressesLeaveTheButtonUp) {
  auto* b = NewButton();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  HWND h = b->Handle();
  for (TInputButton button : {TInputButton::Right, TInputButton::Middle}) {
    robot.MouseDown(h, 50, 20, button);
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(b->ButtonState(), absUp);
    robot.MouseUp(h, 50, 20, button);
    Tick(300);
    EXPECT_EQ(b->ButtonState(), absUp);
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(b->DownProgress(), 0);
  }
  // A right press during a left press does not keep the button down after the release.
  robot.MouseDown(h, 50, 20);
  robot.MouseDown(h, 50, 20, TInputButton::Right);
  robot.MouseUp(h, 50, 20, TInputButton::Right);
  robot.MouseUp(h, 50, 20);
  Tick(300);
  EXPECT_EQ(b->ButtonState(), absUp);
  EXPECT_FALSE(b->Pressed());
  EXPECT_EQ(clicks, 1);
}

TEST_F(GlowTest, CheckButtonTogglesAndAReleaseOutsideUndoesTheToggle) {
  auto* b = NewButton();
  b->SetStyle(bsCheck);
  HWND h = b->Handle();
  robot.Click(h, 50, 20);
  EXPECT_TRUE(b->Down());
  robot.Click(h, 50, 20);
  EXPECT_FALSE(b->Down());
  for (bool start : {false, true}) {
    b->SetDown(start);
    robot.MouseDown(h, 50, 20);
    robot.MouseUp(form->Handle(), 400, 300);
    EXPECT_EQ(b->Down(), start);
  }
}

// ---- keyboard -----------------------------------------------------------------------------

TEST_F(GlowTest, SpaceAndEnterClickOnceAndSetTheModalResult) {
  auto* b = NewButton();
  b->SetTabStop(true);
  b->SetDefault(true);
  b->SetModalResult(mrOk);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetFocus();
  for (int key : {VK_SPACE, VK_RETURN}) {
    SCOPED_TRACE(key);
    clicks = 0;
    form->SetModalResult(mrNone);
    robot.PressKey(key);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(b->ButtonState(), absUp);
  }
}

TEST_F(GlowTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(20, 200, 100, 22);
  auto* ok = NewButton(20, 20);
  auto* cancel = NewButton(130, 20);
  ok->SetDefault(true);  // takes effect when the window is made
  cancel->SetCancel(true);
  int oks = 0, cancels = 0;
  ok->OnClick = [&](TObject*) { ++oks; };
  cancel->OnClick = [&](TObject*) { ++cancels; };
  edit->SetFocus();
  EXPECT_TRUE(ok->DefaultActive());
  robot.PressKey(VK_RETURN);
  EXPECT_EQ(oks, 1);
  robot.PressKey(VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(oks, 1);
}

TEST_F(GlowTest, AltAccessKeyClicksOrOpensTheDropDown) {
  auto* b = NewButton();
  b->SetCaption("&Go");
  int clicks = 0, dropped = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->OnDropDown = [&](TObject*) { ++dropped; };
  b->HandleNeeded();
  robot.PressKey('G', rsAlt);
  EXPECT_EQ(clicks, 1);
  auto* menu = new TPopupMenu(form);
  b->SetDropDownMenu(menu);
  scope.Backend().WhenIdle([&] { robot.PressKey(VK_ESCAPE); });
  robot.PressKey('G', rsAlt);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(dropped, 1);
}

// ---- size states ----------------------------------------------------------------------------

TEST_F(GlowTest, SizeStateLimitsMoveTheCurrentState) {
  auto* b = NewButton();
  b->SetMaxButtonSizeState(bsLabel);
  EXPECT_EQ(b->ButtonSizeState(), bsLabel);
  b->SetButtonSizeState(bsGlyph);
  b->SetMinButtonSizeState(bsLabel);
  EXPECT_EQ(b->ButtonSizeState(), bsLabel);
  auto* large = NewButton(130, 20);
  large->SetMinButtonSizeState(bsLabel);
  EXPECT_EQ(large->ButtonSizeState(), bsLarge);
}

TEST_F(GlowTest, SmallSizeStatesMeasureA16PixelGlyphAndNoCaption) {
  auto* images = new TImageList(form);
  images->SetWidth(32);
  images->SetHeight(32);
  TBitmap glyph(32, 32);
  images->AddMasked(&glyph, clFuchsia);
  auto* b = NewButton();
  b->SetCaption("Пересчитать");
  b->SetImages(images);
  b->SetImageIndex(0);
  b->SetAutoSize(true);
  // 16 + 2 (spacing) content, then 3 * 2 + 2 * 1 + 2 and 2 * 2 + 2 * 1 around it.
  EXPECT_EQ(b->GetButtonSize(bsGlyph).X, 16 + 10);
  EXPECT_EQ(b->GetButtonSize(bsGlyph).Y, 16 + 6);
  TPoint label = b->GetButtonSize(bsLabel);
  EXPECT_GT(label.X, 16 + 10 + 20);
  TPoint large = b->GetButtonSize(bsLarge);
  EXPECT_GE(large.Y, 32 + 6);
}

TEST_F(GlowTest, BackslashNBreaksTheCaptionOnlyInTheLargeState) {
  auto* b = NewButton();
  b->SetAutoSize(true);
  b->SetCaption("Гость\\nвход");
  TPoint large = b->GetButtonSize(bsLarge);
  TPoint label = b->GetButtonSize(bsLabel);
  EXPECT_GT(large.Y, label.Y);
  EXPECT_LT(large.X, label.X);
}

TEST_F(GlowTest, NotesPutTheGlyphBesideTheText) {
  auto* images = new TImageList(form);
  TBitmap glyph(16, 16);
  images->AddMasked(&glyph, clFuchsia);
  auto* b = NewButton();
  b->SetImages(images);
  b->SetImageIndex(0);
  b->SetCaption("Gas");
  b->SetLayout(blGlyphTop);
  TPoint top = b->GetButtonSize(bsLarge);
  b->Notes()->Add("x");
  TPoint withNotes = b->GetButtonSize(bsLarge);
  EXPECT_GE(withNotes.X, top.X + 16);  // the glyph moved beside the caption
  EXPECT_LT(withNotes.Y, top.Y + 16);
}

TEST_F(GlowTest, StoredFormSetsAppearanceAndButtonProperties) {
  const std::string text =
      "object Form1: TForm\n"
      "  object Glow1: TDovAvarOrodez\n"
      "    Caption = 'Пересчитать'\n"
      "    Rounded = False\n"
      "    ShortCutHint = 'P'\n"
      "    ShortCutHintPos = shpBelowBottom\n"
      "    Appearance.Color = 15653832\n"
      "    Appearance.GradientHot = ggVertical\n"
      "    Layout = blGlyphTopAdjusted\n"
      "    DropDownButton = True\n"
      "    DropDownPosition = dpBottom\n"
      "  end\n"
      "end\n";
  TForm loaded(nullptr);
  ReadComponentFromText(text, &loaded);
  auto* b = dynamic_cast<TDovAvarOrodez*>(loaded.FindComponent("Glow1"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Caption(), "Пересчитать");
  EXPECT_FALSE(b->Rounded());
  EXPECT_EQ(b->ShortCutHintPos(), shpBelowBottom);
  EXPECT_EQ(b->Appearance()->Color(), 0xEEDBC8);
  EXPECT_EQ(b->Appearance()->GradientHot(), ggVertical);
  EXPECT_EQ(b->Layout(), blGlyphTopAdjusted);
  EXPECT_EQ(b->DropDownPosition(), dpBottom);
  std::string written = WriteComponentToText(&loaded);
  EXPECT_NE(written.find("Appearance.ColorHot = "), std::string::npos);  // always stored
  EXPECT_EQ(written.find("Appearance.ColorTo"), std::string::npos);      // at its default
  EXPECT_EQ(written.find("Version"), std::string::npos);
  EXPECT_EQ(b->Version(), "1.9.1.1");
}

TEST_F(GlowTest, CustomizerCommandAndOriginAreStoredWithTheButton) {
  TDovAvarOrodez fresh(nullptr);
  EXPECT_EQ(fresh.CommandID(), -1);
  EXPECT_FALSE(fresh.MadeByCustomizer());
  TForm loaded(nullptr);
  ReadComponentFromText(
      "object Form1: TForm\n"
      "  object Glow1: TDovAvarOrodez\n"
      "    CommandID = 4\n"
      "    MadeByCustomizer = True\n"
      "  end\n"
      "  object Glow2: TDovAvarOrodez\n"
      "  end\n"
      "end\n",
      &loaded);
  auto* made = dynamic_cast<TDovAvarOrodez*>(loaded.FindComponent("Glow1"));
  auto* plain = dynamic_cast<TDovAvarOrodez*>(loaded.FindComponent("Glow2"));
  ASSERT_NE(made, nullptr);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(made->CommandID(), 4);
  EXPECT_TRUE(made->MadeByCustomizer());
  const std::string written = WriteComponentToText(&loaded);
  EXPECT_NE(written.find("CommandID = 4"), std::string::npos);
  EXPECT_NE(written.find("MadeByCustomizer = True"), std::string::npos);
  // At their defaults neither is written.
  const auto second = written.find("Glow2");
  ASSERT_NE(second, std::string::npos);
  EXPECT_EQ(written.find("CommandID", second), std::string::npos);
  EXPECT_EQ(written.find("MadeByCustomizer", second), std::string::npos);
}

TEST_F(GlowTest, LinkedActionKeepsDownAndGroupInStep) {
  auto* list = new TActionList(form);
  auto* action = new TAction(form);
  action->SetActionList(list);
  action->SetGroupIndex(3);
  auto* b = NewButton();
  b->SetAction(action);
  EXPECT_EQ(b->GroupIndex(), 3);
  action->SetChecked(true);
  EXPECT_TRUE(b->Down());
  action->SetChecked(false);
  EXPECT_TRUE(b->Down());  // a down group button needs AllowAllUp to go up
  b->SetAllowAllUp(true);
  action->SetChecked(true);
  action->SetChecked(false);
  EXPECT_FALSE(b->Down());
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  robot.Click(b->Handle(), 50, 20);
  EXPECT_EQ(executed, 1);
}

// ---- key tips ----------------------------------------------------------------------------------

TEST_F(GlowTest, KeyTipsArePlacedByPosition) {
  auto* b = NewButton(40, 60, 100, 41);
  b->SetShortCutHint("K");
  b->HideShortCutHint();
  EXPECT_EQ(b->ShortCutHintWindow(), nullptr);

  b->SetShortCutHintPos(shpAuto);
  b->ShowShortCutHint();
  TShortCutHintWindow* tip = b->ShortCutHintWindow();
  ASSERT_NE(tip, nullptr);
  TPoint o = b->ClientToScreen(TPoint{0, 0});
  int hw = tip->Width(), hh = tip->Height();
  EXPECT_EQ(tip->Left(), o.X + (100 - hw) / 2);
  EXPECT_EQ(tip->Top(), o.Y - hh / 2);
  EXPECT_TRUE(tip->Visible());

  b->OnGetShortCutHintPos = [](TObject*, TButtonSizeState, TShortCutHintPos& pos) { pos = shpBelowBottomRight; };
  b->ShowShortCutHint();
  EXPECT_EQ(tip->Left(), o.X + 100 - hw + 1);
  EXPECT_EQ(tip->Top(), o.Y + 41);

  EXPECT_EQ(tip->ColorTo(), b->Appearance()->Color());
  b->Appearance()->SetColor(0x00FF00);
  EXPECT_EQ(tip->Color(), clWhite);
  EXPECT_EQ(tip->ColorTo(), 0x00FF00);
  b->HideShortCutHint();
  EXPECT_FALSE(tip->Visible());
  EXPECT_FALSE(IsWindowVisible(tip->Handle()));
}

TEST_F(GlowTest, TheKeyTipBelongsToItsButtonAndHidesFromTheScreen) {
  auto* b = NewButton(40, 60, 100, 41);
  b->SetShortCutHint("K");
  b->ShowShortCutHint();
  TShortCutHintWindow* tip = b->ShortCutHintWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->Owner(), b);
  EXPECT_EQ(tip->Parent(), b);
  // A pop-up created over a child window is owned by that window's top-level window.
  EXPECT_EQ(GetWindow(tip->Handle(), GW_OWNER), form->Handle());
  EXPECT_TRUE(IsWindowVisible(tip->Handle()));
  // Still a pop-up placed in screen coordinates.
  RECT r{};
  GetWindowRect(tip->Handle(), &r);
  const TPoint o = b->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(r.left, o.X + (100 - tip->Width()) / 2);
  EXPECT_EQ(r.top, o.Y - tip->Height() / 2);
  b->HideShortCutHint();
  EXPECT_FALSE(IsWindowVisible(tip->Handle()));
  b->ShowShortCutHint();
  EXPECT_TRUE(IsWindowVisible(tip->Handle()));
  delete b;  // the tip goes with its button
}

// ---- looks ---------------------------------------------------------------------------------------

TEST_F(GlowTest, LookPresetsWriteTheirColours) {
  auto* b = NewButton();
  TGlowButtonAppearance* a = b->Appearance();
  b->SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(a->Color(), 0xEEDBC8);
  EXPECT_EQ(a->ColorTo(), 0xF6DDC9);
  EXPECT_EQ(a->ColorMirror(), 0xEDD4C0);
  EXPECT_EQ(a->ColorMirrorTo(), 0xF7E1D0);
  EXPECT_EQ(a->BorderColor(), 0xE0B99B);
  EXPECT_EQ(a->BorderColorChecked(), 0x45667B);
  EXPECT_EQ(a->ColorHot(), 0xEBFDFF);
  EXPECT_EQ(a->ColorMirrorDown(), 0x0E72F1);
  EXPECT_EQ(a->GradientHot(), ggVertical);
  EXPECT_EQ(a->ColorDisabled(), 0xF2F2F2);  // disabled colours are never touched

  b->SetComponentStyle(tsOffice2003Blue);
  EXPECT_EQ(a->BorderColorChecked(), 0x45667B);

  TGlowButtonAppearance before;
  before.Assign(a);
  int changes = 0;
  auto previous = a->OnChange;
  a->OnChange = [&](TObject* s) {
    ++changes;
    previous(s);
  };
  b->SetComponentStyle(tsCustom);
  EXPECT_EQ(changes, 0);

  a->SetGradient(ggDiagonalForward);
  b->SetComponentStyle(tsTerminal);
  EXPECT_EQ(a->Color(), clBtnFace);
  EXPECT_EQ(a->ColorDown(), clHighlight);
  EXPECT_EQ(a->BorderColor(), before.BorderColor());
  EXPECT_EQ(a->Gradient(), ggDiagonalForward);
}

// ---- data-aware button ---------------------------------------------------------------------------

class DBGlowTest : public GlowTest {
protected:
  DBGlowTest() {
    data = new TDataSet(form);
    for (const char* name : {"Air", "Methane", "Propane"}) data->AppendRecord({{"Name", name}});
    source = new TDataSource(form);
    source->SetDataSet(data);
    data->Open();
  }
  TDBDovAvarOrodez* NewDB(TDBGlowButtonType type) {
    auto* b = NewButton<TDBDovAvarOrodez>();
    b->SetDBButtonType(type);
    b->SetDataSource(source);
    return b;
  }
  TDataSet* data = nullptr;
  TDataSource* source = nullptr;
};

TEST_F(DBGlowTest, NavigatorButtonsFollowTheDataSetState) {
  auto* prior = NewDB(dbPrior);
  auto* next = NewDB(dbNext);
  auto* post = NewDB(dbPost);
  EXPECT_FALSE(prior->Enabled());
  EXPECT_TRUE(next->Enabled());
  EXPECT_FALSE(post->Enabled());
  data->Next();
  EXPECT_TRUE(prior->Enabled());
  data->Edit();
  EXPECT_TRUE(post->Enabled());
  EXPECT_FALSE(prior->Enabled());
  data->Post();
  data->Close();
  EXPECT_FALSE(next->Enabled());
}

TEST_F(DBGlowTest, ClickPerformsTheActionAndEventsCanVetoOrSwallow) {
  auto* next = NewDB(dbNext);
  robot.Click(next->Handle(), 50, 20);
  EXPECT_EQ(data->RecNo(), 2);
  next->OnBeforeAction = [](TObject*, bool& doIt) { doIt = false; };
  robot.Click(next->Handle(), 50, 20);
  EXPECT_EQ(data->RecNo(), 2);

  // A custom button acts on nothing; OnAfterAction only when OnBeforeAction asks.
  auto* custom = NewDB(dbCustom);
  int after = 0;
  custom->OnAfterAction = [&](TObject*, bool& show) {
    EXPECT_FALSE(show);
    ++after;
  };
  custom->Click();
  EXPECT_EQ(after, 0);
  custom->OnBeforeAction = [](TObject*, bool& doIt) { doIt = true; };
  custom->Click();
  EXPECT_EQ(after, 1);
  EXPECT_EQ(data->RecNo(), 2);

  // A failing action propagates unless OnAfterAction clears ShowException.
  auto* post = NewDB(dbPost);
  post->SetAutoDisable(false);
  EXPECT_THROW(post->Click(), EDatabaseError);
  post->OnAfterAction = [](TObject*, bool& show) { show = false; };
  EXPECT_NO_THROW(post->Click());
}

TEST_F(DBGlowTest, DeleteAsksOnlyWithConfirmAction) {
  TMessageBoxRecorder boxes(IDCANCEL);
  auto* del = NewDB(dbDelete);
  EXPECT_EQ(del->ConfirmActionString(), "Delete record?");
  EXPECT_EQ(del->DisableControl(), (TDBBDisableControls{drReadonly, drEditing, drEmpty}));
  del->Click();
  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(data->RecordCount(), 2);
  del->SetConfirmAction(true);
  del->Click();
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].Text, "Delete record?");
  EXPECT_EQ(data->RecordCount(), 2);
  boxes.SetAnswer(IDOK);
  del->Click();
  EXPECT_EQ(data->RecordCount(), 1);
}

TEST_F(DBGlowTest, EventReasonAndGlyphs) {
  auto* next = NewDB(dbNext);
  next->SetDisableControl(next->DisableControl() + drEvent);
  next->OnGetEnabled = [](TObject*, bool& enabled) { enabled = false; };
  data->First();
  EXPECT_FALSE(next->Enabled());
  // The built-in glyph is loaded into the internal list unless Images is set.
  EXPECT_EQ(next->ImageIndex(), 0);
  auto* images = new TImageList(form);
  auto* withList = NewButton<TDBDovAvarOrodez>();
  withList->SetImages(images);
  withList->SetDBButtonType(dbFirst);
  EXPECT_EQ(withList->ImageIndex(), -1);

  // A navigator row with its built-in glyphs, enabled and disabled.
  int x = 10;
  for (TDBGlowButtonType type : {dbFirst, dbPrior, dbNext, dbLast, dbInsert, dbDelete, dbEdit, dbPost, dbCancel,
                                 dbRefresh}) {
    auto* b = NewDB(type);
    b->SetBounds(x, 100, 40, 30);
    b->SetCaption("");
    x += 44;
  }
  if (const char* keep = std::getenv("LORM_KEEP_PNG")) {
    EXPECT_TRUE(SaveWindowPng(form->Handle(), (std::filesystem::path(keep).parent_path() / "lorm_glow_db.png").string()));
  }
}

// ---- the look of every state -------------------------------------------------------------------

TEST_F(GlowTest, StripOfStatesAndSizesRendersToPng) {
  form->SetBounds(0, 0, 800, 330);
  form->SetColor(clWhite);
  auto* images = new TImageList(form);
  TBitmap glyph(16, 16);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(TRect{0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(TColor(0x2060C0));
  glyph.Canvas()->Ellipse(2, 2, 14, 14);
  images->AddMasked(&glyph, clFuchsia);

  const TButtonSizeState sizes[] = {bsLarge, bsLabel, bsGlyph};
  const char* captions[] = {"Normal", "Hot", "Down", "Checked", "Disabled", "Drop-down", "Key tip"};
  std::vector<TDovAvarOrodez*> hot, down;
  TShortCutHintWindow* tip = nullptr;
  int y = 10;
  for (TButtonSizeState size : sizes) {
    int x = 10;
    for (int look = 0; look < 7; ++look) {
      auto* b = NewButton(x, y, 100, 41);
      b->SetComponentStyle(tsOffice2007Luna);
      b->SetCaption(captions[look]);
      b->SetImages(images);
      b->SetImageIndex(0);
      b->SetLayout(blGlyphTop);
      b->SetAutoSize(true);
      if (look == 5) {
        b->SetDropDownButton(true);
        b->SetDropDownPosition(dpBottom);
      }
      b->SetButtonSizeState(size);
      switch (look) {
        case 1: hot.push_back(b); break;
        case 2: down.push_back(b); break;
        case 3:
          b->SetStyle(bsCheck);
          b->SetDown(true);
          break;
        case 4: b->SetEnabled(false); break;
        case 6:
          b->SetShortCutHint("K");
          b->SetShortCutHintPos(shpBottom);
          b->ShowShortCutHint();
          tip = b->ShortCutHintWindow();
          break;
      }
      x += 110;
    }
    y += 100;
  }
  ASSERT_NE(tip, nullptr);
  const char* keep = std::getenv("LORM_KEEP_PNG");
  std::filesystem::path dir = keep ? std::filesystem::path(keep).parent_path() : std::filesystem::temp_directory_path();
  for (size_t row = 0; row < hot.size(); ++row) {
    // The mouse shows one state at a time: hot, then pressed.
    robot.MoveTo(hot[row]->Handle(), 20, 10);
    Tick(200);
    EXPECT_TRUE(hot[row]->Hot());
    auto png = dir / ("lorm_glow_strip_hot" + std::to_string(row) + ".png");
    EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
    robot.MouseDown(down[row]->Handle(), 20, 10);
    Tick(200);
    EXPECT_EQ(down[row]->ButtonState(), absDown);
    png = dir / ("lorm_glow_strip_down" + std::to_string(row) + ".png");
    EXPECT_TRUE(SaveWindowPng(form->Handle(), png.string()));
    robot.MouseUp(down[row]->Handle(), 20, 10);
  }
  auto tipPng = dir / "lorm_glow_tip.png";
  EXPECT_TRUE(SaveWindowPng(tip->Handle(), tipPng.string()));
  if (!keep) {
    for (size_t row = 0; row < hot.size(); ++row) {
      std::filesystem::remove(dir / ("lorm_glow_strip_hot" + std::to_string(row) + ".png"));
      std::filesystem::remove(dir / ("lorm_glow_strip_down" + std::to_string(row) + ".png"));
    }
    std::filesystem::remove(tipPng);
  }
}

}  // namespace
