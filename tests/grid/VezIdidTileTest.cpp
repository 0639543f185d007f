// The background picture tiled through the cells: each cell shows the part of the picture
// that lies under it when the picture is repeated from the first cell of the chosen area
// over the whole grid, rows scrolled out of sight included.
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
    grid->BackGround()->SetDisplay(bdTile);
    grid->BackGround()->SetBitmap(&picture);
  }

  // The picture pixel expected at (X, Y) inside cell (ACol, ARow) when the tiling starts at
  // column StartCol and row StartRow: the sums run over every column and row before the
  // cell, whether shown or not; the first tile sits one pixel up and left of the cell.
  COLORREF Expected(int ACol, int ARow, int StartCol, int StartRow, int X, int Y) {
    int left = 0, top = 0;
    for (int c = StartCol; c < ACol; ++c) left += grid->ColWidths(c);
    for (int r = StartRow; r < ARow; ++r) top += grid->RowHeights(r);
    TRect cell = grid->CellRect(ACol, ARow);
    return PictureAt((left + X - (cell.Left - 1)) % kW, (top + Y - (cell.Top - 1)) % kH);
  }

  void ExpectTilesInShownCells(int StartCol, int StartRow) {
    grid->Repaint();
    int checked = 0;
    for (int r = grid->TopRow(); r < grid->TopRow() + grid->VisibleRowCount(); ++r)
      for (int c = 1; c < 4; ++c) {
        TRect cell = grid->CellRect(c, r);
        for (int dy : {2, cell.Height() / 2})
          for (int dx : {2, 5, cell.Width() / 2}) {
            const int x = cell.Left + dx, y = cell.Top + dy;
            ASSERT_EQ(WindowPixel(grid->Handle(), x, y), Expected(c, r, StartCol, StartRow, x, y))
                << "cell " << c << "," << r << " at " << x << "," << y;
            ++checked;
          }
      }
    EXPECT_GT(checked, 60);
  }

  TBitmap picture;
};

TEST_F(TileTest, NormalCellsTileFromTheFirstNormalCellWhileScrolled) {
  grid->BackGround()->SetBackGroundCells(bcNormal);
  ExpectTilesInShownCells(1, 1);
  grid->SetTopRow(23);
  ExpectTilesInShownCells(1, 1);
  // Row heights changed between paints are summed anew.
  grid->SetRowHeights(5, 31);
  ExpectTilesInShownCells(1, 1);
}

TEST_F(TileTest, AllCellsTileFromTheGridOrigin) {
  grid->BackGround()->SetBackGroundCells(bcAll);
  grid->SetTopRow(17);
  ExpectTilesInShownCells(0, 0);
}

}  // namespace
