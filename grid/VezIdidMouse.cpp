// VezIdid, the mouse state the fixed-cell look follows: the hovered fixed cell, a press on a
// fixed cell or on its drop-down part, the column being moved and a plain press in a
// disjunct selection mode. The state is kept before the grid handles each mouse message, so
// the framework's clicking, selecting, sizing and moving run as before; only the cells whose
// look changes are repainted.
#include <algorithm>

#include "grid/VezIdid.h"

namespace {
constexpr int kDropDownWidth = 16;  // the drop-down part at the right of a fixed cell
}

bool TDavEvadurAvuz::InFixedArea(int ACol, int ARow) {
  return ACol >= 0 && ARow >= 0 && (ACol < GetFixedColsEx() || ARow < GetFixedRowsEx());
}

void TDavEvadurAvuz::RepaintFixedCell(TPoint Cell) {
  if (!HandleAllocated() || Cell.X < 0 || Cell.Y < 0 || Cell.X >= ColCount() || Cell.Y >= RowCount()) return;
  const TRect r = CellRect(Cell.X, Cell.Y);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;  // scrolled out of view
  const int line = std::max(GridLineWidth(), 1);
  RECT rc{r.Left, r.Top, r.Right + line, r.Bottom + line};
  ::InvalidateRect(Handle(), &rc, FALSE);
}

void TDavEvadurAvuz::RepaintColumnHeader(int ACol) {
  for (int r = 0; r < GetFixedRowsEx(); ++r) RepaintFixedCell(TPoint{ACol, r});
}

void TDavEvadurAvuz::SetHoverCell(TPoint Cell) {
  if (Cell == HoverCell) return;
  const TPoint old = HoverCell;
  HoverCell = Cell;
  RepaintFixedCell(old);
  RepaintFixedCell(Cell);
}

void TDavEvadurAvuz::TrackHoverCell(int X, int Y) {
  if (HoverFixedCells == hfNone) return;
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  SetHoverCell(InFixedArea(col, row) ? TPoint{col, row} : TPoint{-1, -1});
}

void TDavEvadurAvuz::MouseStateWndProc(const TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      TrackHoverCell(Message.XPos(), Message.YPos());
      const int moving = GridState() == gsColMoving ? FMoveIndex : -1;
      if (moving != MovingColumn) {
        const int old = MovingColumn;
        MovingColumn = moving;
        RepaintColumnHeader(old);
        RepaintColumnHeader(moving);
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int X = Message.XPos(), Y = Message.YPos();
      TrackHoverCell(X, Y);
      int col = -1, row = -1;
      MouseToCell(X, Y, col, row);
      FixedCellPressed = InFixedArea(col, row);
      FixedDropDownPressed = FixedCellPressed && FControlLook->FixedDropDownButton && HoverFixedCell(col, row) &&
                             X > CellRect(col, row).Right - kDropDownWidth;
      if (FixedCellPressed) RepaintFixedCell(HoverCell);
      const bool ctrl = (Message.WParam & MK_CONTROL) != 0;
      const bool disjunct = col >= 0 && row >= 0 && !ctrl &&
                            ((FMouseActions->DisjunctRowSelect() && row >= FixedRows()) ||
                             (FMouseActions->DisjunctColSelect() && col >= FixedCols()));
      if (disjunct != DisjunctDragActive) {
        DisjunctDragActive = disjunct;
        Invalidate();
      }
      break;
    }
    case WM_LBUTTONUP:
    case WM_CANCELMODE: {
      // The press ends: with the button up or with the capture taken away.
      if (FixedCellPressed || FixedDropDownPressed) {
        FixedCellPressed = FixedDropDownPressed = false;
        RepaintFixedCell(HoverCell);
      }
      if (MovingColumn >= 0) {
        RepaintColumnHeader(MovingColumn);
        MovingColumn = -1;
      }
      if (DisjunctDragActive) {
        DisjunctDragActive = false;
        Invalidate();
      }
      break;
    }
    case CM_MOUSELEAVE:
      if (HoverFixedCells != hfNone) SetHoverCell(TPoint{-1, -1});
      break;
    default: break;
  }
}
