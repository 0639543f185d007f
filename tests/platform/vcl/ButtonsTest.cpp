// Speed buttons and the track bar driven by the robot.
#include <gtest/gtest.h>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Forms.h"

namespace {

class ButtonsTest : public ::testing::Test {
protected:
  THeadlessScope Scope;
  TRobot Robot;
  TForm* Form = nullptr;
  void SetUp() override {
    Application->Restart();
    Form = new TForm(nullptr);
    Form->SetBounds(100, 100, 400, 200);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    Application->Restart();
  }
  TSpeedButton* NewButton(int left, int group) {
    auto* b = new TSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(left, 10, 30, 24);
    b->SetGroupIndex(group);
    return b;
  }
  void ClickButton(TSpeedButton* b) { Robot.Click(Form->Handle(), b->Left() + 10, b->Top() + 10); }
};

TEST_F(ButtonsTest, GroupKeepsOneButtonDownUnlessAllMayBeUp) {
  TSpeedButton* a = NewButton(10, 1);
  TSpeedButton* b = NewButton(50, 1);
  TSpeedButton* other = NewButton(90, 2);
  int clicks = 0;
  a->OnClick = b->OnClick = [&](TObject*) { ++clicks; };
  other->SetDown(true);
  ClickButton(a);
  EXPECT_TRUE(a->Down());
  ClickButton(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(other->Down());  // another group is left alone
  ClickButton(b);              // the last one down stays down
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 3);
  a->SetAllowAllUp(true);  // the whole group takes it
  EXPECT_TRUE(b->AllowAllUp());
  ClickButton(b);
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(a->Down());
  // A press released outside the button is no click.
  Robot.Drag(Form->Handle(), POINT{a->Left() + 5, 20}, POINT{300, 150});
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(clicks, 4);
}

TEST_F(ButtonsTest, ButtonWithoutGroupNeverStaysDown) {
  TSpeedButton* a = NewButton(10, 0);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  ClickButton(a);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(a->State(), bsUp);
}

TEST_F(ButtonsTest, TrackBarMovesByKeysMouseAndKeepsItsRange) {
  auto* track = new TTrackBar(Form);
  track->SetParent(Form);
  track->SetBounds(10, 60, 200, 45);
  std::vector<int> changes;
  track->OnChange = [&](TObject*) { changes.push_back(track->Position()); };
  track->SetFocus();
  Robot.PressKey(VK_RIGHT);
  Robot.PressKey(VK_NEXT);
  EXPECT_EQ(track->Position(), 3);
  Robot.PressKey(VK_END);
  EXPECT_EQ(track->Position(), 10);
  Robot.PressKey(VK_HOME);
  EXPECT_EQ(changes, (std::vector<int>{1, 3, 10, 0}));
  TRect thumb = track->ThumbRect();
  TRect channel = track->ChannelRect();
  Robot.Drag(track->Handle(), POINT{(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2},
             POINT{channel.Right + 20, (thumb.Top + thumb.Bottom) / 2});
  EXPECT_EQ(track->Position(), 10);
  track->SetMax(5);
  EXPECT_EQ(track->Position(), 5);
  track->SetMin(8);  // above Max: refused
  EXPECT_EQ(track->Min(), 0);
  EXPECT_EQ(SendMessage(track->Handle(), TBM_GETPOS, 0, 0), 5);
}

}  // namespace
