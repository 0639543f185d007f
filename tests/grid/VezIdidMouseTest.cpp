// The mouse state behind the fixed-cell look: the hovered header cell follows the mouse
// and goes when the mouse leaves the grid, a press on a header shows the down set until the
// button is released, the drop-down part of a header takes its own press, a column being
// moved and a plain press in a disjunct selection mode are noted.
#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"

namespace {

constexpr TColor kHover = 0x40C0F0;   // solid hover set
constexpr TColor kDown = 0x2060D0;    // solid down set
constexpr TColor kBorder = 0x000080;  // border of both sets

class MouseTest : public GridTest {
protected:
  MouseTest() {
    grid->SetBounds(10, 10, 420, 200);
    grid->SetColCount(5);
    grid->SetRowCount(6);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetLook(glXP);
    grid->HoverFixedCells = hfAll;
    TControlLook* cl = grid->ControlLook();
    cl->SetFixedGradientHoverFrom(kHover);
    cl->SetFixedGradientHoverTo(kHover);
    cl->SetFixedGradientHoverMirrorFrom(kHover);
    cl->SetFixedGradientHoverMirrorTo(kHover);
    cl->SetFixedGradientHoverBorder(kBorder);
    cl->SetFixedGradientDownFrom(kDown);
    cl->SetFixedGradientDownTo(kDown);
    cl->SetFixedGradientDownMirrorFrom(kDown);
    cl->SetFixedGradientDownMirrorTo(kDown);
    cl->SetFixedGradientDownBorder(kBorder);
    FillCoordinates();
    grid->HandleNeeded();
    grid->Repaint();
  }

  TPoint Centre(int c, int r) {
    TRect R = grid->CellRect(c, r);
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void MoveOver(int c, int r) {
    TPoint p = Centre(c, r);
    robot.MoveTo(grid->Handle(), p.X, p.Y);
  }
  // The colour of the cell's face near its right edge, away from its text and frame, after
  // the pending repaint.
  TColor Face(int c, int r, int FromRight = 6) {
    grid->Update();
    TRect R = grid->CellRect(c, r);
    return TColor(WindowPixel(grid->Handle(), R.Right - FromRight, R.Top + 5));
  }
  TColor FaceLeft(int c, int r) {
    grid->Update();
    TRect R = grid->CellRect(c, r);
    return TColor(WindowPixel(grid->Handle(), R.Left + 3, R.Bottom - 4));
  }
  void Save(const std::string& name) {
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
      grid->Update();
      SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / (name + ".png")).string());
    }
  }

  TRobot robot;
};

TEST_F(MouseTest, HoverFollowsTheMouseOverFixedCellsAndLeavesWithIt) {
  const TColor plain = Face(2, 0);
  ASSERT_NE(plain, kHover);
  MoveOver(2, 0);
  EXPECT_EQ(grid->HoverCell, (TPoint{2, 0}));
  EXPECT_EQ(Face(2, 0), kHover);
  EXPECT_EQ(Face(3, 0), plain);

  MoveOver(3, 0);
  EXPECT_EQ(grid->HoverCell, (TPoint{3, 0}));
  EXPECT_EQ(Face(3, 0), kHover);
  EXPECT_EQ(Face(2, 0), plain);

  MoveOver(0, 4);  // a fixed column cell
  EXPECT_EQ(grid->HoverCell, (TPoint{0, 4}));
  EXPECT_EQ(Face(0, 4), kHover);
  EXPECT_EQ(Face(3, 0), plain);

  MoveOver(2, 0);
  robot.MoveTo(form->Handle(), 500, 300);  // off the grid, onto the form
  EXPECT_EQ(grid->HoverCell, (TPoint{-1, -1}));
  EXPECT_EQ(Face(2, 0), plain);
}

TEST_F(MouseTest, DataCellsNeverBecomeTheHoverCell) {
  MoveOver(2, 0);
  const TPoint data[] = {{1, 1}, {4, 5}, {2, 3}};
  for (TPoint c : data) {
    MoveOver(c.X, c.Y);
    EXPECT_EQ(grid->HoverCell, (TPoint{-1, -1})) << c.X << "," << c.Y;
    robot.Click(grid->Handle(), Centre(c.X, c.Y).X, Centre(c.X, c.Y).Y);
    EXPECT_EQ(grid->HoverCell, (TPoint{-1, -1})) << c.X << "," << c.Y;
  }
  // Without hover tracking no cell is ever hovered, fixed or not.
  grid->HoverFixedCells = hfNone;
  MoveOver(3, 0);
  EXPECT_EQ(grid->HoverCell, (TPoint{-1, -1}));
}

TEST_F(MouseTest, PressOnAHeaderShowsTheDownSetUntilRelease) {
  MoveOver(2, 0);
  TPoint p = Centre(2, 0);
  robot.MouseDown(grid->Handle(), p.X, p.Y);
  EXPECT_TRUE(grid->FixedCellPressed);
  EXPECT_FALSE(grid->FixedDropDownPressed);
  EXPECT_EQ(Face(2, 0), kDown);
  Save("header_pressed");
  robot.MouseUp(grid->Handle(), p.X, p.Y);
  EXPECT_FALSE(grid->FixedCellPressed);
  EXPECT_EQ(Face(2, 0), kHover);
  Save("header_hovered");

  // A press on a data cell is no fixed-cell press.
  TPoint d = Centre(2, 2);
  robot.MouseDown(grid->Handle(), d.X, d.Y);
  EXPECT_FALSE(grid->FixedCellPressed);
  robot.MouseUp(grid->Handle(), d.X, d.Y);
}

TEST_F(MouseTest, DropDownPartOfAHeaderTakesItsOwnPress) {
  grid->ControlLook()->FixedDropDownButton = true;
  grid->Repaint();
  TRect R = grid->CellRect(2, 0);
  const int y = (R.Top + R.Bottom) / 2;
  struct Case {
    int X;
    bool DropDown;
  } cases[] = {{R.Right - 8, true}, {R.Right - 15, true}, {R.Right - 17, false}, {R.Left + 10, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.X - R.Left);
    robot.MoveTo(grid->Handle(), c.X, y);
    robot.MouseDown(grid->Handle(), c.X, y);
    EXPECT_TRUE(grid->FixedCellPressed);
    EXPECT_EQ(grid->FixedDropDownPressed, c.DropDown);
    // The pressed part takes the down set, the other part the hover set.
    EXPECT_EQ(Face(2, 0, 4), c.DropDown ? kDown : kHover);
    EXPECT_EQ(FaceLeft(2, 0), c.DropDown ? kHover : kDown);
    if (c.DropDown) Save("header_dropdown_pressed");
    robot.MouseUp(grid->Handle(), c.X, y);
    EXPECT_FALSE(grid->FixedDropDownPressed);
    EXPECT_FALSE(grid->FixedCellPressed);
    EXPECT_EQ(Face(2, 0, 4), kHover);
    EXPECT_EQ(FaceLeft(2, 0), kHover);
  }
  // Without the drop-down button the right part is no drop-down part.
  grid->ControlLook()->FixedDropDownButton = false;
  robot.MouseDown(grid->Handle(), R.Right - 8, y);
  EXPECT_FALSE(grid->FixedDropDownPressed);
  robot.MouseUp(grid->Handle(), R.Right - 8, y);
}

TEST_F(MouseTest, MovedColumnShowsItsHeaderPressedWhileDragged) {
  grid->SetOptions(grid->Options() + goColMoving);
  TPoint from = Centre(2, 0), to = Centre(3, 0);
  robot.MouseDown(grid->Handle(), from.X, from.Y);
  robot.MoveTo(grid->Handle(), to.X, to.Y);
  EXPECT_EQ(grid->MovingColumn, 2);
  EXPECT_EQ(Face(2, 0), kDown);
  EXPECT_NE(Face(3, 0), kDown);  // the mouse is over 3, the moved column is 2
  robot.MouseUp(grid->Handle(), to.X, to.Y);
  EXPECT_EQ(grid->MovingColumn, -1);
  EXPECT_EQ(grid->Cells(3, 1), "2:1");  // the framework moved the column as before
}

TEST_F(MouseTest, PlainPressInDisjunctModeIsNotedUntilRelease) {
  struct Case {
    bool Rows, Cols;
    TRobotShift Shift;
    TPoint Cell;
    bool Active;
  } cases[] = {
      {true, false, rsNone, {2, 2}, true},  {false, true, rsNone, {2, 2}, true},
      {true, false, rsCtrl, {2, 2}, false}, {false, false, rsNone, {2, 2}, false},
      {true, false, rsNone, {2, 0}, false},  // a header press selects no row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Rows << c.Cols << c.Shift << " " << c.Cell.X << "," << c.Cell.Y);
    grid->MouseActions()->SetDisjunctRowSelect(c.Rows);
    grid->MouseActions()->SetDisjunctColSelect(c.Cols);
    TPoint p = Centre(c.Cell.X, c.Cell.Y);
    robot.MouseDown(grid->Handle(), p.X, p.Y, TInputButton::Left, c.Shift);
    EXPECT_EQ(grid->DisjunctDragActive, c.Active);
    robot.MouseUp(grid->Handle(), p.X, p.Y, TInputButton::Left, c.Shift);
    EXPECT_FALSE(grid->DisjunctDragActive);
  }
}

}  // namespace
