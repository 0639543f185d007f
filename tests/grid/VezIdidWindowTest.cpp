// The grid window around the cells (background outside the cells, flat border, sizing
// lines), balloon texts, rich text read as plain text and the text metrics.
#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"
#include "foundation/DizUtil.h"

namespace {

class WindowTest : public GridTest {
protected:
  WindowTest() {
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCountEx(3);
    grid->SetRowCountEx(4);
    for (int c = 0; c < 3; ++c) grid->SetColWidths(c, 64);
    FillCoordinates();
  }
  COLORREF Pixel(int X, int Y) {
    grid->Repaint();
    return WindowPixel(grid->Handle(), X, Y);
  }
  void Save(const std::string& name) {
    if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
      grid->Repaint();
      SaveWindowPng(grid->Handle(), (std::filesystem::path(dir) / (name + ".png")).string());
    }
  }
};

TEST_F(WindowTest, GradientBackgroundFillsOnlyTheAreaOutsideTheCells) {
  const COLORREF plain = Pixel(300, 40);
  grid->BackGround()->SetDisplay(bdGradientHorz);
  grid->BackGround()->SetColor(0x0000FF);
  grid->BackGround()->SetColorTo(0xFF0000);
  const COLORREF left = Pixel(200, 40), right = Pixel(grid->ClientWidth() - 2, 40);
  Save("background_gradient");
  EXPECT_NE(left, plain);
  // The gradient runs over the whole client width, red to blue: past the middle at the
  // last column, bluest at the right edge.
  EXPECT_GT(GetRValue(left), GetRValue(right));
  EXPECT_GT(GetBValue(right), GetBValue(left));
  EXPECT_GT(GetBValue(right), GetRValue(right));
  // Below the last row too; the cells keep their own colours.
  TRect last = grid->CellRect(1, 3);
  EXPECT_NE(Pixel(30, last.Bottom + 20), plain);
  EXPECT_EQ(Pixel(last.Right - 4, last.Bottom - 4), WindowPixel(grid->Handle(), last.Right - 4, last.Bottom - 4));
  // Normal cells without a colour of their own take their slice of the same gradient, so
  // it runs on from one cell into the next.
  TRect cell = grid->CellRect(1, 2), next = grid->CellRect(2, 2);
  const COLORREF end = Pixel(cell.Right - 3, cell.Bottom - 4), start = Pixel(next.Left + 1, next.Bottom - 4);
  EXPECT_NE(end, COLORREF(ColorToRGB(grid->Color())));
  EXPECT_NEAR(GetRValue(end), GetRValue(start), 6);
  EXPECT_NEAR(GetBValue(end), GetBValue(start), 6);
  // A gradient without an end colour paints nothing.
  grid->BackGround()->SetColorTo(clNone);
  EXPECT_EQ(Pixel(300, 40), plain);
}

TEST_F(WindowTest, BackgroundPictureIsTiledRightOfTheColumns) {
  const COLORREF plain = Pixel(300, 40);
  TBitmap bmp;
  bmp.SetSize(8, 8);
  bmp.Canvas()->Brush()->SetColor(0x00FF00);
  bmp.Canvas()->FillRect(TRect{0, 0, 8, 8});
  grid->BackGround()->SetBitmap(&bmp);
  EXPECT_EQ(Pixel(300, 40), COLORREF(0x00FF00));
  grid->BackGround()->SetBackGroundCells(bcFixed);  // nothing is tiled
  EXPECT_EQ(Pixel(300, 40), plain);
  grid->BackGround()->SetDisplay(bdFixed);
  grid->BackGround()->SetLeft(290);
  grid->BackGround()->SetTop(30);
  EXPECT_EQ(Pixel(294, 34), COLORREF(0x00FF00));
  EXPECT_EQ(Pixel(310, 34), plain);
}

// The modern looks draw a one-pixel grey-blue line inside the window edge; the standard
// look and Flat keep the framework's border.
TEST_F(WindowTest, FlatBorderOfTheModernLooks) {
  grid->SetBorderStyle(bsSingle);
  POINT origin{0, 0};
  ClientToScreen(grid->Handle(), &origin);
  RECT wr{};
  GetWindowRect(grid->Handle(), &wr);
  const int dx = wr.left - origin.x, dy = wr.top - origin.y;  // window edge in client coordinates
  auto inner = [&] {
    grid->Repaint();
    RedrawWindow(grid->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    return WindowPixel(grid->Handle(), dx + 1, dy + 20);
  };
  const COLORREF line = grid->IsWinXP() ? 0xB99D7F : 0x808080;
  grid->SetLook(glXP);
  EXPECT_EQ(inner(), COLORREF(ColorToRGB(static_cast<TColor>(line))));
  grid->SetLook(glStandard);
  EXPECT_NE(inner(), COLORREF(ColorToRGB(static_cast<TColor>(line))));
  grid->SetLook(glXP);
  grid->Flat = true;
  EXPECT_NE(inner(), COLORREF(ColorToRGB(static_cast<TColor>(line))));
}

TEST_F(WindowTest, SizingLineDrawnTwiceLeavesTheCanvasAsItWas) {
  const int x = 100;
  const COLORREF before = Pixel(x, 0);
  grid->DrawSizingLine(x);
  EXPECT_NE(WindowPixel(grid->Handle(), x, 0), before);
  grid->DrawSizingLine(x);
  EXPECT_EQ(WindowPixel(grid->Handle(), x, 0), before);
  const COLORREF rowBefore = Pixel(0, 50);
  grid->DrawSizingLineR(50);
  EXPECT_NE(WindowPixel(grid->Handle(), 0, 50), rowBefore);
  grid->DrawSizingLineR(50);
  EXPECT_EQ(WindowPixel(grid->Handle(), 0, 50), rowBefore);
}

TEST_F(WindowTest, BalloonTexts) {
  grid->EnableHTML = true;
  struct {
    std::string Cell, Text;
  } cases[] = {
      {std::string(2000, 'a'), std::string(1021, 'a') + "..."},
      {std::string(1024, 'b'), std::string(1024, 'b')},
      {"\r\n\tone\ttwo", "one two"},
      {"<b>bold</b> text", "bold text"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par World}", "Hello\nWorld"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Cell.substr(0, 20));
    grid->SetCellEx(1, 1, c.Cell);
    std::string title;
    int icon = 0;
    EXPECT_EQ(grid->BalloonText(1, 1, title, icon), c.Text);
    EXPECT_EQ(title, " ");
    EXPECT_EQ(icon, 1);
  }
  grid->OnCellBalloon = [](TObject*, int, int, std::string& ATitle, std::string& AText, int& AIcon) {
    ATitle = std::string(150, 'T');
    AText = "changed";
    AIcon = 3;
  };
  std::string title;
  int icon = 0;
  EXPECT_EQ(grid->BalloonText(1, 1, title, icon), "changed");
  EXPECT_EQ(title, std::string(97, 'T') + "...");
  EXPECT_EQ(icon, 3);
}

TEST(RichText, ReadAsPlainText) {
  struct {
    const char* Rtf;
    const char* Text;
  } cases[] = {
      {"{\\rtf1 plain}", "plain"},
      {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
       "\\f0\\fs20 \\'cc\\'e5\\'f2\\'e0\\'ed\\par}",
       "Метан"},
      {"{\\rtf1 \\u1055?\\u1088?}", "Пр"},
      {"{\\rtf1\\uc0 \\u1055\\u1088}", "Пр"},
      {"{\\rtf1 a\\tab b\\line c}", "a\tb\nc"},
      {"{\\rtf1 \\{x\\} \\\\}", "{x} \\"},
      {"{\\rtf1 {\\*\\generator Writer;}shown}", "shown"},
      {"{\\rtf1 \\b bold\\b0  text}", "bold text"},
      {"{\\rtf1 \\u-10179?\\u-8704?}", "\xF0\x9F\x98\x80"},
      {"{\\rtf1 broken \\'", "broken "},
      {"{\\rtf1 \\u", ""},
      {"}}}{", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    EXPECT_EQ(TDavEvadurAvuz::RichToPlainText(c.Rtf), c.Text);
  }
}

TEST_F(WindowTest, TextInsetsAndLineCounts) {
  grid->XYOffset = TPoint{2, 3};
  EXPECT_EQ(grid->XOffsetSize(), 4);
  EXPECT_EQ(grid->YOffsetSize(), 6);
  grid->XYOffsetOnce = true;
  EXPECT_EQ(grid->XOffsetSize(), 2);
  EXPECT_EQ(grid->YOffsetSize(), 3);

  grid->SetCellEx(0, 2, "one");
  grid->SetCellEx(1, 2, "two");
  grid->SetCellEx(2, 2, "a\r\nb\r\nc");
  grid->Multilinecells = true;
  EXPECT_EQ(grid->MaxLinesInRow(2), 3);
  EXPECT_EQ(grid->MaxLinesInGrid(), 3);
  grid->Multilinecells = false;
  EXPECT_EQ(grid->MaxLinesInRow(2), 1);
  EXPECT_EQ(grid->MaxLinesInGrid(), 1);
  grid->SetCellEx(1, 3, "longest line");
  EXPECT_EQ(grid->MaxCharsInCol(1), 12);
}

TEST_F(WindowTest, CellTextSizeCountsLinesAndTheButton) {
  grid->Multilinecells = true;
  grid->SetCellEx(1, 1, "first\r\nsecond line\r\nthird");
  TPoint size = grid->GetCellTextSize(1, 1, false, false);
  grid->Canvas()->Font()->Assign(grid->Font());
  int gh = grid->Canvas()->TextHeight("gh");
  EXPECT_EQ(size.Y, 3 * gh);
  EXPECT_EQ(size.X, grid->Canvas()->TextWidth("second line"));
  // Wrapped text in a narrow column grows taller when a button takes 17 pixels.
  grid->SetColWidths(2, 60);
  grid->SetCellEx(2, 1, "some words to wrap across lines");
  TPoint wide = grid->GetCellTextSize(2, 1, true, false);
  TPoint narrow = grid->GetCellTextSize(2, 1, true, true);
  EXPECT_GT(narrow.Y, wide.Y);
}

}  // namespace

namespace {

// Appearance setters: a write of the value already set repaints nothing (the active-cell
// colour is the exception), the URL colour repaints only while URLs show.
TEST_F(WindowTest, SettersRepaintOnlyWhenTheyShouldTable) {
  auto repaints = [&](const std::function<void()>& Write) {
    grid->Repaint();
    ValidateRect(grid->Handle(), nullptr);
    Write();
    return GetUpdateRect(grid->Handle(), nullptr, FALSE) != FALSE;
  };
  const TColor sel = grid->SelectionColor();
  EXPECT_FALSE(repaints([&] { grid->SetSelectionColor(sel); }));
  EXPECT_TRUE(repaints([&] { grid->SetSelectionColor(0x123456); }));
  EXPECT_FALSE(repaints([&] { grid->SetShowSelection(grid->ShowSelection()); }));
  const TColor active = grid->ActiveCellColor();
  EXPECT_TRUE(repaints([&] { grid->SetActiveCellColor(active); }));
  grid->SetURLShow(false);
  EXPECT_FALSE(repaints([&] { grid->SetURLColor(0x00FF00); }));
  EXPECT_EQ(grid->URLColor(), TColor(0x00FF00));
  grid->SetURLShow(true);
  EXPECT_TRUE(repaints([&] { grid->SetURLColor(0x0000FF); }));
  TBackGround bg(nullptr);
  bg.SetDisplay(bdGradientVert);
  EXPECT_TRUE(repaints([&] { grid->SetBackGround(&bg); }));
  EXPECT_EQ(grid->BackGround()->Display(), bdGradientVert);
  EXPECT_TRUE(repaints([&] { grid->SetXYOffset(TPoint{4, 4}); }));
  EXPECT_FALSE(repaints([&] { grid->UpdateXYOffset(1, 1); }));
  EXPECT_EQ(grid->XYOffset, (TPoint{1, 1}));
}

TEST_F(WindowTest, ArrowColourGoesToAllFourArrows) {
  grid->SetArrowColor(0x3366CC);
  EXPECT_EQ(grid->GetArrowColor(), TColor(0x3366CC));
  for (int d = 0; d < 4; ++d)
    if (grid->ArrowWindow(d)) EXPECT_EQ(grid->ArrowWindow(d)->Color(), TColor(0x3366CC)) << d;
}

}  // namespace

namespace {

// A handler's side borders are drawn in its pens; cells it leaves alone keep their look.
TEST_F(WindowTest, CellSideBordersFromTheHandlerTable) {
  grid->OnGetCellBorder = [](TObject*, int ARow, int ACol, TPen* APen, TCellBorders& Borders) {
    if (ARow == 2 && ACol == 1) {
      APen->SetColor(0x0000FF);
      Borders = TCellBorders{cbRight, cbBottom, cbLeft};
    }
  };
  grid->OnGetCellBorderProp = [](TObject*, int, int, TPen* L, TPen*, TPen*, TPen*) { L->SetColor(0x00FF00); };
  TRect r = grid->CellRect(1, 2);
  const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
  struct {
    int X, Y;
    COLORREF Colour;
  } cases[] = {
      // The cell rectangle holds its right and bottom grid lines; the borders lie just
      // inside them, the left one on the cell's first pixel past the fixed-look edge.
      {r.Right - 2, midY, 0x0000FF},   // right side
      {midX, r.Bottom - 2, 0x0000FF},  // bottom side
      {r.Left + 1, midY, 0x00FF00},    // left side in its own pen
  };
  grid->Repaint();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    EXPECT_EQ(WindowPixel(grid->Handle(), c.X, c.Y), c.Colour);
  }
  TRect other = grid->CellRect(2, 2);
  EXPECT_NE(WindowPixel(grid->Handle(), other.Right - 1, (other.Top + other.Bottom) / 2), COLORREF(0x0000FF));
}

// The grid wants characters whenever it is not edited, and for its jump to a row by the
// typed letters, on top of the standard grid's answer.
TEST_F(WindowTest, DialogCodeWantsCharactersUnlessOnlyEditingWouldTakeThem) {
  struct Case {
    bool editing, autoGoto, tabs, rowSelect;
    LRESULT code;
  } cases[] = {
      {false, false, false, false, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {true, false, false, false, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {true, true, false, false, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {false, false, true, false, DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS},
      {false, false, true, true, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {true, false, true, true, DLGC_WANTARROWS},
      {true, true, true, true, DLGC_WANTARROWS | DLGC_WANTCHARS},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.editing) + std::to_string(k.autoGoto) + std::to_string(k.tabs) +
                 std::to_string(k.rowSelect));
    TGridOptions o = grid->Options() - goEditing - goTabs - goRowSelect;
    if (k.editing) o += goEditing;
    if (k.tabs) o += goTabs;
    if (k.rowSelect) o += goRowSelect;
    grid->SetOptions(o);
    grid->Navigation()->AutoGotoWhenSorted = k.autoGoto;
    EXPECT_EQ(SendMessage(grid->Handle(), WM_GETDLGCODE, 0, 0), k.code);
  }
}

}  // namespace
