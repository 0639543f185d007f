// The header and footer strip appearance: defaults, Assign and AssignColors.
#include <gtest/gtest.h>

#include "editors/DizDropDownStrips.h"

using namespace DizDropDown;

namespace {

template <class A>
void Fill(A& a) {
  a.Visible = false;
  a.Height = 30;
  a.BorderWidth = 3;
  a.ImageIndex = 4;
  a.Caption = "<b>Газ</b>";
  a.ColorTo = 0x112233;
  a.Color = 0x445566;
  a.BorderColor = 0x778899;
  a.GradientDirection = gdHorizontal;
  a.ButtonAlignment = baLeft;
  a.Font()->SetName("Courier New");
  auto* b = a.Buttons()->Add();
  b->SetCaption("OK");
  b->SerHeight(18);
}

TEST(StripAppearance, Defaults) {
  THeaderAppearance h(nullptr);
  TFooterAppearance f(nullptr);
  EXPECT_TRUE(h.Visible);
  EXPECT_EQ(h.Height, 22);
  EXPECT_EQ(h.BorderWidth, 1);
  EXPECT_EQ(h.ImageIndex, -1);
  EXPECT_EQ(h.ColorTo, TColor(0xFFFFFF));
  EXPECT_EQ(h.Color, TColor(0xC0C0C0));
  EXPECT_EQ(h.BorderColor, TColor(0));
  EXPECT_EQ(h.GradientDirection, gdVertical);
  EXPECT_EQ(h.ButtonAlignment, baRight);
  EXPECT_EQ(h.Font()->GetName(), "Tahoma");
  EXPECT_TRUE(f.SizeGrip);
}

TEST(StripAppearance, AssignCopiesEverythingFromItsOwnClassOnly) {
  THeaderAppearance src(nullptr), dst(nullptr);
  Fill(src);
  int changes = 0;
  dst.OnChange = [&](TObject*) { ++changes; };
  dst.Assign(&src);
  EXPECT_FALSE(dst.Visible);
  EXPECT_EQ(dst.Height, 30);
  EXPECT_EQ(dst.BorderWidth, 3);
  EXPECT_EQ(dst.ImageIndex, 4);
  EXPECT_EQ(dst.Caption, "<b>Газ</b>");
  EXPECT_EQ(dst.Color, TColor(0x445566));
  EXPECT_EQ(dst.GradientDirection, gdHorizontal);
  EXPECT_EQ(dst.ButtonAlignment, baLeft);
  EXPECT_EQ(dst.Font()->GetName(), "Courier New");
  ASSERT_EQ(dst.Buttons()->Count(), 1);
  EXPECT_EQ(dst.Buttons()->Items(0)->Caption(), "OK");
  EXPECT_EQ(dst.Buttons()->Items(0)->Height(), 18);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(static_cast<bool>(dst.OnChange));

  TFooterAppearance foot(nullptr), foot2(nullptr);
  Fill(foot);
  foot.SizeGrip = false;
  foot.Buttons()->Items(0)->SetModalResult(1);
  foot2.Assign(&foot);
  EXPECT_FALSE(foot2.SizeGrip);
  EXPECT_EQ(foot2.Buttons()->Items(0)->ModalResult(), 1);
  // Another class changes nothing.
  THeaderAppearance untouched(nullptr);
  untouched.Assign(&foot);
  EXPECT_EQ(untouched.Height, 22);
  EXPECT_EQ(untouched.Buttons()->Count(), 0);
}

TEST(StripAppearance, AssignColorsTakesOnlyTheColours) {
  THeaderAppearance src(nullptr), dst(nullptr);
  Fill(src);
  dst.AssignColors(&src);
  EXPECT_EQ(dst.ColorTo, TColor(0x112233));
  EXPECT_EQ(dst.Color, TColor(0x445566));
  EXPECT_EQ(dst.BorderColor, TColor(0x778899));
  EXPECT_EQ(dst.GradientDirection, gdHorizontal);
  EXPECT_EQ(dst.Font()->GetName(), "Courier New");
  EXPECT_TRUE(dst.Visible);
  EXPECT_EQ(dst.Height, 22);
  EXPECT_EQ(dst.Caption, "");
  EXPECT_EQ(dst.Buttons()->Count(), 0);
  EXPECT_EQ(dst.ButtonAlignment, baRight);
}

}  // namespace
