// The background picture tiled through the cells: each cell shows the part of the picture
// that lies under it when the picture is repeated from the first cell of the chosen area
// over the whole grid, rows scrolled out of sight included; the pictures are compared by digest.
#include <cstdint>
#include <vector>

#include "GridTestSupport.h"

namespace {

class TileTest : public GridTest {
protected:
  static constexpr int kW = 7, kH = 5;
  static COLORREF PictureAt(int X, int Y) { return RGB(X * 30, Y * 40, 100); }

  TileTest() {
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCountEx(4);
    grid->SetRowCountEx(40);
    const int widths[] = {30, 41, 53, 37};
    for (int c = 0; c < 4; ++c) grid->SetColWidths(c, widths[c]);
    for (int r = 0; r < 40; ++r) grid->SetRowHeights(r, 17 + (r * 5) % 9);
    picture.SetSize(kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) picture.Canvas()->SetPixel(x, y, static_cast<TColor>(PictureAt(x, y)));
    grid->SetShowSelection(false);  // the current cell shows the picture too
    grid->BackGround()->SetDisplay(bdTile);
    grid->BackGround()->SetBitmap(&picture);
  }

  // A digest of every pixel of the shown normal cells.
  std::uint64_t CellsDigest() {
    grid->Repaint();
    std::uint64_t h = 1469598103934665603ull;
    for (int r = grid->TopRow(); r < grid->TopRow() + grid->VisibleRowCount(); ++r)
      for (int c = 1; c < 4; ++c) {
        TRect cell = grid->CellRect(c, r);
        for (int y = cell.Top; y < cell.Bottom; ++y)
          for (int x = cell.Left; x < cell.Right; ++x) h = (h ^ WindowPixel(grid->Handle(), x, y)) * 1099511628211ull;
      }
    return h;
  }

  TBitmap picture;
};

// The digests are those of the pictures the grid drew when each cell summed the heights of
// all the rows before it.
TEST_F(TileTest, NormalCellsTileFromTheFirstNormalCellWhileScrolled) {
  grid->BackGround()->SetBackGroundCells(bcNormal);
  std::vector<std::uint64_t> digests;
  digests.push_back(CellsDigest());
  grid->SetTopRow(23);
  digests.push_back(CellsDigest());
  grid->SetRowHeights(5, 31);  // row heights changed between paints are summed anew
  digests.push_back(CellsDigest());
  grid->BackGround()->SetBackGroundCells(bcAll);
  grid->SetTopRow(17);
  digests.push_back(CellsDigest());
  EXPECT_EQ(digests, (std::vector<std::uint64_t>{0xba99a6d37b3c0f90ull, 0xf85d2fe739b33087ull,
                                                 0x314880fecd4e8087ull, 0xc4c13d34097d058bull}));
}

}  // namespace
