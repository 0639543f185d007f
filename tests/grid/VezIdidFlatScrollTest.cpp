// The grid's flat scroll bars: the scroll type, width and colour reach the window's flat
// bars, which lay out and paint by them; without the common controls' entry points the
// grid keeps standard bars.
#include <cstdlib>
#include <filesystem>

#include "GridTestSupport.h"
#include "foundation/DizThemeBinding.h"
#include "platform/win/FlatScrollBar.h"

namespace {

class FlatScrollTest : public GridTest {
protected:
  FlatScrollTest() {
    grid->SetBounds(10, 10, 300, 240);
    grid->SetColCountEx(12);
    grid->SetRowCountEx(60);
    grid->SetScrollBarsEx(ssBoth);
  }
  int Prop(UINT index) {
    int value = -1;
    EXPECT_TRUE(FlatSB_GetScrollProp(grid->Handle(), index, &value)) << index;
    return value;
  }
  // Red pixels in a row of the grid's window through the vertical bar, a few pixels above
  // its lower arrow (the thumb stands at the top; flat bars or not).
  int RedAcrossTheVerticalBar() {
    RECT c;
    GetClientRect(grid->Handle(), &c);
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    FlatSB_GetScrollProp(grid->Handle(), WSB_PROP_CYVSCROLL, &arrow);
    const int y = c.bottom - arrow - 4;
    int red = 0;
    for (int x = c.right - 4; x < c.right + 40; ++x)
      if (WindowPixel(grid->Handle(), x, y) == RGB(255, 0, 0)) ++red;
    return red;
  }
};

TEST_F(FlatScrollTest, ScrollTypeSetsBothBarsStyles) {
  struct {
    TScrollType Type;
    int Style;
  } cases[] = {{ssFlat, FSB_FLAT_MODE}, {ssEncarta, FSB_ENCARTA_MODE}, {ssFlat, FSB_FLAT_MODE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Style);
    grid->SetScrollType(c.Type);
    ASSERT_TRUE(grid->FlatActive());
    EXPECT_EQ(Prop(WSB_PROP_VSTYLE), c.Style);
    EXPECT_EQ(Prop(WSB_PROP_HSTYLE), c.Style);
  }
  grid->SetScrollType(ssNormal);
  EXPECT_FALSE(grid->FlatActive());
  int value = 0;
  EXPECT_FALSE(FlatSB_GetScrollProp(grid->Handle(), WSB_PROP_VSTYLE, &value)) << "the flat bars are off";
}

// The width goes to the vertical bar's width and the horizontal bar's height, and the
// bars take it on the screen; the colour paints the tracks.
TEST_F(FlatScrollTest, WidthAndColourShapeAndPaintTheBars) {
  grid->SetScrollType(ssFlat);
  grid->SetScrollColor(clRed);
  EXPECT_EQ(Prop(WSB_PROP_VBKGCOLOR), int(RGB(255, 0, 0)));
  EXPECT_EQ(Prop(WSB_PROP_HBKGCOLOR), int(RGB(255, 0, 0)));
  for (int width : {17, 24, 9, 17}) {
    SCOPED_TRACE(width);
    grid->SetScrollWidth(width);
    EXPECT_EQ(Prop(WSB_PROP_CXVSCROLL), width);
    EXPECT_EQ(Prop(WSB_PROP_CYHSCROLL), width);
    EXPECT_EQ(RedAcrossTheVerticalBar(), width);
    RECT w, c;
    GetWindowRect(grid->Handle(), &w);
    GetClientRect(grid->Handle(), &c);
    // The bars take exactly their width out of the window, besides the border.
    const int border = (w.right - w.left) - c.right - width;
    EXPECT_EQ((w.bottom - w.top) - c.bottom - width, border);
    EXPECT_GE(border, 0);
    EXPECT_LE(border, 4);
  }
  if (const char* dir = std::getenv("LORM_GRID_PNG_DIR")) {
    FillCoordinates();
    SaveWindowPng(form->Handle(), (std::filesystem::path(dir) / "flat_scroll_bars.png").string());
  }
}

// With no colour set the track keeps the system's; clNone hands no colour over.
TEST_F(FlatScrollTest, NoColourLeavesTheSystemTrack) {
  grid->SetScrollType(ssEncarta);
  grid->SetScrollColor(clNone);
  EXPECT_EQ(Prop(WSB_PROP_VBKGCOLOR), int(CLR_DEFAULT));
  EXPECT_EQ(RedAcrossTheVerticalBar(), 0);
}

// Without the common controls' flat scroll bar entries the flat types fall back to the
// standard bars silently.
TEST_F(FlatScrollTest, WithoutTheEntryPointsTheBarsStayStandard) {
  auto previous = SetLibraryExports("comctl32.dll", std::nullopt);
  struct TRestore {
    std::optional<TLibraryExports> Exports;
    ~TRestore() { SetLibraryExports("comctl32.dll", Exports); }
  } restore{previous};
  grid->SetScrollType(ssFlat);
  grid->SetScrollColor(clRed);
  grid->SetScrollWidth(30);
  EXPECT_FALSE(grid->FlatActive());
  int value = 0;
  EXPECT_FALSE(FlatSB_GetScrollProp(grid->Handle(), WSB_PROP_CXVSCROLL, &value));
  EXPECT_EQ(RedAcrossTheVerticalBar(), 0);
}

}  // namespace
