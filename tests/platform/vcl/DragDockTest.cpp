// Tests of the framework's drag and dock: the drag threshold of automatic drags, drops on
// the control that accepts, docking into and out of dock sites with their messages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Robot.h"
#include "platform/vcl/DragDock.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListBoxes.h"

namespace {

class DragDockTest : public ::testing::Test {
protected:
  DragDockTest() {
    Application->Restart();
    Application->CreateForm(form);
    form->SetBounds(50, 50, 500, 300);
    form->Show();
  }
  ~DragDockTest() override { Application->Restart(); }
  THeadlessScope scope;
  TForm* form = nullptr;
  TRobot robot;
};

TEST_F(DragDockTest, AnAutomaticListBoxStartsNoDragWithinFivePixels) {
  auto* source = new TListBox(form);
  source->SetParent(form);
  source->SetBounds(10, 10, 120, 120);
  source->Items()->Add("one");
  auto* target = new TListBox(form);
  target->SetParent(form);
  target->SetBounds(200, 10, 120, 120);
  SetDragMode(source, dmAutomatic);
  int started = 0, dropped = 0, ended = 0;
  TObject* endTarget = nullptr;
  DragEvents(source).OnStartDrag = [&](TObject*) { ++started; };
  DragEvents(source).OnEndDrag = [&](TObject*, TObject* t, int, int) {
    ++ended;
    endTarget = t;
  };
  target->OnDragOver = [&](TObject*, TObject* s, int, int, TDragState, bool& accept) { accept = s == source; };
  DragEvents(target).OnDragDrop = [&](TObject*, TObject* s, int, int) { dropped += s == source; };
  struct Case {
    int dx;
    int starts;
  } cases[] = {{5, 0}, {-5, 0}, {6, 1}};
  for (const Case& c : cases) {
    started = 0;
    Headless().Advance(1000);  // no double click of two presses
    robot.Drag(source->Handle(), POINT{50, 50}, POINT{50 + c.dx, 50}, 1);
    EXPECT_EQ(started, c.starts) << c.dx;
    EXPECT_FALSE(Dragging(source));
    EXPECT_FALSE(DragPending(source));
  }
  // Dragged onto the other list box, which accepts: dropped there.
  ended = 0;
  const TPoint to = source->ScreenToClient(target->ClientToScreen(TPoint{20, 20}));
  Headless().Advance(1000);
  robot.Drag(source->Handle(), POINT{50, 50}, POINT{to.X, to.Y}, 4);
  EXPECT_EQ(dropped, 1);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(endTarget, target);
  EXPECT_EQ(GetCapture(), nullptr);
}

// A dock site that records its messages.
class TSite : public TPanel {
public:
  using TPanel::TPanel;
  void WndProc(TMessage& M) override {
    if (M.Msg == CM_DOCKCLIENT) ++docks;
    if (M.Msg == CM_UNDOCKCLIENT) ++undocks;
    if (M.Msg == CM_DOCKNOTIFICATION) notes.push_back(reinterpret_cast<TMessage*>(M.LParam)->Msg);
    TPanel::WndProc(M);
  }
  int docks = 0, undocks = 0;
  std::vector<UINT> notes;
};

TEST_F(DragDockTest, ManualDockMovesAClientBetweenSitesAndFloatsIt) {
  auto* a = new TSite(form);
  a->SetParent(form);
  a->SetBounds(0, 0, 200, 200);
  auto* b = new TSite(form);
  b->SetParent(form);
  b->SetBounds(250, 0, 200, 200);
  SetDockSite(a, true);
  SetDockSite(b, true);
  auto* client = new TPanel(form);
  client->SetParent(form);
  client->SetBounds(10, 220, 50, 30);
  ASSERT_TRUE(ManualDock(client, a));
  EXPECT_EQ(client->Parent(), a);
  EXPECT_EQ(HostDockSite(client), a);
  EXPECT_EQ(DockClientCount(a), 1);
  EXPECT_EQ(a->docks, 1);
  client->SetCaption("x");
  ASSERT_FALSE(a->notes.empty());
  EXPECT_EQ(a->notes.back(), UINT(WM_SETTEXT));
  ASSERT_TRUE(ManualDock(client, b));
  EXPECT_EQ(a->undocks, 1);
  EXPECT_EQ(DockClientCount(a), 0);
  EXPECT_EQ(HostDockSite(client), b);
  ASSERT_TRUE(ManualDock(client, nullptr));
  EXPECT_EQ(b->undocks, 1);
  EXPECT_EQ(HostDockSite(client), nullptr);
  auto* host = dynamic_cast<TCustomForm*>(client->Parent());
  ASSERT_TRUE(host);
  EXPECT_TRUE(host->Visible());
}

TEST_F(DragDockTest, ADockDragShowsTheFrameAndDocksOnRelease) {
  auto* site = new TSite(form);
  site->SetParent(form);
  site->SetBounds(250, 0, 200, 200);
  SetDockSite(site, true);
  auto* client = new TPanel(form);
  client->SetParent(form);
  client->SetBounds(10, 10, 80, 40);
  SetDragMode(client, dmAutomatic);
  SetDragKind(client, dkDock);
  const TPoint from = client->ClientToScreen(TPoint{20, 20});
  const TPoint to = site->ClientToScreen(TPoint{50, 50});
  bool frame = false;
  Headless().WhenIdle([&] {
    frame = DockFrameWindow() != nullptr;
    robot.AutoProcess = false;
    robot.MouseUp(nullptr, to.X, to.Y);
    robot.AutoProcess = true;
  });
  robot.MouseDown(nullptr, from.X, from.Y);
  robot.MoveTo(nullptr, to.X, to.Y);
  Headless().Pump();
  EXPECT_TRUE(frame || HostDockSite(client) == site);
  EXPECT_EQ(HostDockSite(client), site);
  EXPECT_EQ(DockFrameWindow(), nullptr);
}

}  // namespace
