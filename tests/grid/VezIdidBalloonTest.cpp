// The grid's balloon tool tip: shown over the cell the mouse rests on after the delay, with
// the cell's text (or its own balloon, or what OnCellBalloon makes of it), gone when the
// mouse reaches another cell or leaves the grid, and gone with the setting and the grid.
#include <cairo.h>

#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"
#include "platform/gdi/SysColors.h"
#include "platform/win/ToolTip.h"

namespace {

class BalloonTest : public GridTest {
protected:
  BalloonTest() {
    grid->SetBounds(10, 10, 420, 150);
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->HandleNeeded();
    grid->Balloon()->SetEnable(true);
  }

  TPoint Centre(int c, int r) {
    TRect R = grid->CellRect(c, r);
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void Hover(int c, int r) {
    TPoint p = Centre(c, r);
    robot.MoveTo(grid->Handle(), p.X, p.Y);
  }
  void Rest() { scope.Backend().Advance(GetDoubleClickTime()); }
  bool Shown(TBalloonTipInfo* info = nullptr) {
    return grid->BalloonWnd() && GetBalloonTipInfo(grid->BalloonWnd(), info);
  }
  TBalloonTipInfo ShownOver(int c, int r) {
    Hover(c, r);
    Rest();
    TBalloonTipInfo info;
    EXPECT_TRUE(Shown(&info));
    return info;
  }

  // Tool-tip windows on the screen.
  static int CountToolTips() {
    int n = 0;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
          if (GetClassNameStr(h) == TOOLTIPS_CLASS) ++*reinterpret_cast<int*>(p);
          return TRUE;
        },
        LPARAM(&n));
    return n;
  }

  TRobot robot;
};

TEST_F(BalloonTest, RestingOnACellShowsItsTextUntilTheMouseMovesOn) {
  grid->SetCellEx(1, 1, "Метан");
  grid->SetCellEx(2, 1, "Этан");
  grid->Balloon()->TextColor = clNavy;
  grid->Balloon()->BackgroundColor = 0xE0FFFF;
  HWND tip = grid->BalloonWnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(GetClassNameStr(tip), TOOLTIPS_CLASS);
  EXPECT_TRUE(GetWindowLong(tip, GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), form->Handle());

  Hover(1, 1);
  scope.Backend().Advance(GetDoubleClickTime() - 1);
  EXPECT_FALSE(Shown());
  scope.Backend().Advance(1);
  TBalloonTipInfo info;
  ASSERT_TRUE(Shown(&info));
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(info.Text, u"Метан");
  EXPECT_EQ(info.Title, u" ");
  EXPECT_EQ(info.Icon, TTI_INFO);
  EXPECT_EQ(info.TextColor, COLORREF(ColorToRGB(clNavy)));
  EXPECT_EQ(info.BkColor, COLORREF(0xE0FFFF));
  EXPECT_EQ(grid->BalloonCell(), (TPoint{1, 1}));
  // It points into the cell.
  TRect cell = grid->CellRect(1, 1);
  POINT topLeft = TRobot::ScreenPoint(grid->Handle(), POINT{cell.Left, cell.Top});
  EXPECT_GE(info.Stem.x, topLeft.x);
  EXPECT_LT(info.Stem.x, topLeft.x + cell.Width());
  EXPECT_GE(info.Stem.y, topLeft.y);
  EXPECT_LT(info.Stem.y, topLeft.y + cell.Height());
  // The mouse goes through the balloon to the grid.
  EXPECT_EQ(WindowFromPoint(info.Stem), grid->Handle());

  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
    const std::string formPng = (std::filesystem::path(dir) / "balloon_form.png").string();
    const std::string tipPng = (std::filesystem::path(dir) / "balloon_tip.png").string();
    ASSERT_TRUE(SaveWindowPng(form->Handle(), formPng));
    ASSERT_TRUE(SaveWindowPng(tip, tipPng));
    RECT fr, tr;
    GetWindowRect(form->Handle(), &fr);
    GetWindowRect(tip, &tr);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, fr.right - fr.left, fr.bottom - fr.top);
    cairo_t* cr = cairo_create(out);
    for (auto [png, r] : {std::pair{formPng, fr}, std::pair{tipPng, tr}}) {
      cairo_surface_t* img = cairo_image_surface_create_from_png(png.c_str());
      cairo_set_source_surface(cr, img, r.left - fr.left, r.top - fr.top);
      cairo_paint(cr);
      cairo_surface_destroy(img);
    }
    cairo_destroy(cr);
    cairo_surface_write_to_png(out, (std::filesystem::path(dir) / "balloon_over_grid.png").string().c_str());
    cairo_surface_destroy(out);
  }

  // Moving within the cell keeps it; reaching another cell takes it away at once.
  TPoint p = Centre(1, 1);
  robot.MoveTo(grid->Handle(), p.X + 3, p.Y + 1);
  EXPECT_TRUE(Shown());
  Hover(2, 1);
  EXPECT_FALSE(Shown());
  EXPECT_FALSE(IsWindowVisible(tip));
  Rest();
  ASSERT_TRUE(Shown(&info));
  EXPECT_EQ(info.Text, u"Этан");
  EXPECT_EQ(grid->BalloonCell(), (TPoint{2, 1}));

  // Leaving the grid takes it away, and it stays away.
  robot.MoveTo(form->Handle(), 560, 300);
  EXPECT_FALSE(Shown());
  scope.Backend().Advance(3000);
  EXPECT_FALSE(Shown());
  // A cell without text shows nothing.
  Hover(3, 3);
  Rest();
  EXPECT_FALSE(Shown());
}

TEST_F(BalloonTest, TextsAreCutAndBalloonCellsSpeakForThemselves) {
  grid->SetCellEx(1, 1, std::string(2000, 'a'));
  EXPECT_EQ(ShownOver(1, 1).Text, std::u16string(1021, u'a') + u"...");

  grid->SetWideCells(3, 1, u"Пропан");
  ASSERT_TRUE(grid->IsWideCell(3, 1));
  EXPECT_EQ(ShownOver(3, 1).Text, u"Пропан");

  grid->SetCellEx(2, 2, "plain");
  grid->AddBalloon(2, 2, "Внимание", "Своя подсказка", biWarning);
  TBalloonTipInfo info = ShownOver(2, 2);
  EXPECT_EQ(info.Title, u"Внимание");
  EXPECT_EQ(info.Text, u"Своя подсказка");
  EXPECT_EQ(info.Icon, TTI_WARNING);

  // The event sees the balloon's own values and has the last word.
  std::string seenTitle;
  grid->OnCellBalloon = [&](TObject*, int ACol, int ARow, std::string& ATitle, std::string& AText, int& AIcon) {
    seenTitle = ATitle;
    EXPECT_EQ(ACol, 2);
    EXPECT_EQ(ARow, 2);
    AText = std::string(1500, 'x');
    AIcon = 7;  // no such icon: none shown
  };
  Hover(1, 2);
  info = ShownOver(2, 2);
  EXPECT_EQ(seenTitle, "Внимание");
  EXPECT_EQ(info.Text, std::u16string(1021, u'x') + u"...");
  EXPECT_EQ(info.Icon, 7);

  // The stored balloon itself.
  std::string title = "untouched", text = "untouched";
  int icon = -1;
  EXPECT_FALSE(grid->IsBalloon(1, 1, title, text, icon));
  EXPECT_EQ(title, "untouched");
  EXPECT_EQ(icon, -1);
  grid->AddBalloon(3, 1, "", "only text", biNone);
  ASSERT_TRUE(grid->IsBalloon(3, 1, title, text, icon));
  EXPECT_EQ(title, "");
  EXPECT_EQ(text, "only text");
  EXPECT_EQ(icon, biNone);
  EXPECT_TRUE(grid->HasBalloon(3, 1));
  EXPECT_FALSE(grid->RemoveScrollBar(3, 1));
  EXPECT_TRUE(grid->RemoveBalloon(3, 1));
  EXPECT_FALSE(grid->HasBalloon(3, 1));
}

TEST_F(BalloonTest, AHiddenColumnIsSkippedToTheRealCell) {
  grid->SetCellEx(1, 1, "hidden");
  grid->SetCellEx(2, 1, "shown");
  grid->AddBalloon(2, 2, "Real", "balloon of column 2", biInfo);
  int col = -1;
  grid->OnCellBalloon = [&](TObject*, int ACol, int, std::string&, std::string&, int&) { col = ACol; };
  // Column 1 hidden: displayed column 1 is real column 2.
  grid->SetVisibleCol(1, false);
  grid->SetHiddenColCount(1);
  ASSERT_EQ(grid->RealColIndex(1), 2);
  EXPECT_EQ(ShownOver(1, 1).Text, u"shown");
  EXPECT_EQ(col, 2);
  Hover(2, 1);
  EXPECT_EQ(ShownOver(1, 2).Text, u"balloon of column 2");
}

TEST_F(BalloonTest, TheSettingMakesAndRemovesOneWindowWithItsDelays) {
  HWND first = grid->BalloonWnd();
  ASSERT_TRUE(IsWindow(first));
  EXPECT_EQ(SendMessage(first, TTM_GETDELAYTIME, TTDT_INITIAL, 0), LRESULT(GetDoubleClickTime()));
  EXPECT_EQ(SendMessage(first, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), LRESULT(GetDoubleClickTime() * 10));

  grid->Balloon()->SetEnable(false);
  EXPECT_EQ(grid->BalloonWnd(), nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(grid->Balloon()->Initialized);
  grid->SetCellEx(1, 1, "x");
  Hover(1, 1);
  Rest();
  EXPECT_FALSE(Shown());

  grid->Balloon()->InitialDelay = 200;
  grid->Balloon()->AutoHideDelay = 1000;
  grid->Balloon()->Transparency = 55;
  grid->Balloon()->SetEnable(true);
  HWND second = grid->BalloonWnd();
  ASSERT_TRUE(IsWindow(second));
  EXPECT_TRUE(grid->Balloon()->Initialized);
  EXPECT_EQ(SendMessage(second, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 200);
  EXPECT_EQ(SendMessage(second, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 1000);
  EXPECT_EQ(SendMessage(second, TTM_GETDELAYTIME, TTDT_RESHOW, 0), LRESULT(GetDoubleClickTime() / 5));
  EXPECT_TRUE(GetWindowLong(second, GWL_EXSTYLE) & WS_EX_LAYERED);
  // Enabling again keeps the one window.
  grid->Balloon()->SetEnable(true);
  EXPECT_EQ(grid->BalloonWnd(), second);
  EXPECT_EQ(CountToolTips(), 1);

  Hover(2, 1);
  Hover(1, 1);
  scope.Backend().Advance(200);
  EXPECT_TRUE(Shown());
  scope.Backend().Advance(1000);  // the auto-hide delay
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(IsWindow(second));
}

TEST_F(BalloonTest, EnabledBeforeTheGridHasAWindow) {
  auto* other = new TDavEvadurAvuz(form);
  other->Balloon()->SetEnable(true);
  EXPECT_EQ(other->BalloonWnd(), nullptr);
  EXPECT_FALSE(other->Balloon()->Initialized);
  other->SetParent(form);
  other->SetBounds(10, 180, 300, 100);
  other->HandleNeeded();
  ASSERT_NE(other->BalloonWnd(), nullptr);
  other->SetCellEx(1, 1, "later");
  TRect r = other->CellRect(1, 1);
  robot.MoveTo(other->Handle(), r.Left + 5, r.Top + 5);
  Rest();
  TBalloonTipInfo info;
  ASSERT_TRUE(GetBalloonTipInfo(other->BalloonWnd(), &info));
  EXPECT_EQ(info.Text, u"later");
}

TEST_F(BalloonTest, WhileLoadingTheSettingWaitsForTheEnd) {
  grid->Balloon()->SetEnable(false);
  grid->SetLoading(true);
  grid->Balloon()->SetEnable(true);
  EXPECT_EQ(grid->BalloonWnd(), nullptr);
  grid->Loaded();
  EXPECT_NE(grid->BalloonWnd(), nullptr);
  EXPECT_EQ(CountToolTips(), 1);
}

TEST_F(BalloonTest, SwitchedOffWhileItsTextIsAskedFor) {
  grid->SetCellEx(1, 1, "x");
  grid->OnCellBalloon = [this](TObject*, int, int, std::string&, std::string&, int&) {
    grid->Balloon()->SetEnable(false);
  };
  Hover(1, 1);
  Rest();
  EXPECT_EQ(grid->BalloonWnd(), nullptr);
  EXPECT_EQ(CountToolTips(), 0);
  Hover(2, 1);
  scope.Backend().Advance(3000);
}

TEST_F(BalloonTest, GridFreedWhileTheBalloonShows) {
  grid->SetCellEx(1, 1, "going");
  ShownOver(1, 1);
  HWND tip = grid->BalloonWnd();
  delete grid;
  grid = nullptr;
  EXPECT_FALSE(IsWindow(tip));
  robot.MoveTo(form->Handle(), 100, 60);
  robot.Click(form->Handle(), 120, 70);
  scope.Backend().Advance(6000);
}

TEST_F(BalloonTest, TheGridWindowRecreatedGetsANewToolTip) {
  HWND first = grid->BalloonWnd();
  grid->RecreateWnd();
  grid->HandleNeeded();
  ASSERT_NE(grid->BalloonWnd(), nullptr);
  EXPECT_NE(grid->BalloonWnd(), first);
  EXPECT_FALSE(IsWindow(first));
  grid->SetCellEx(1, 1, "again");
  EXPECT_EQ(ShownOver(1, 1).Text, u"again");
}

}  // namespace
