// The mouse in the framework grid: selecting cells and ranges, sizing columns and rows
// on the lines of the fixed cells, moving columns and rows by their fixed cells, the
// scroll timer while the mouse is beyond an edge, the sizing cursors and the wheel.
#include <algorithm>

#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/GridsInternal.h"

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                  TGridDrawInfo& FixedInfo) {
  auto axisState = [&](const TGridAxisDrawInfo& a, int pos, TGridState newState) {
    int line = a.FixedBoundary;
    int range = a.EffectiveLineWidth;
    int back = 0;
    if (range < 7) {
      range = 7;
      back = (range - a.EffectiveLineWidth) / 2;
    }
    for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
      line += a.GetExtent(i);
      if (line > a.GridBoundary) break;
      if (pos >= line - back && pos <= line - back + range) {
        State = newState;
        SizingPos = line;
        SizingOfs = line - pos;
        Index = i;
        return;
      }
      line += a.EffectiveLineWidth;
    }
    if (a.GridBoundary < a.GridExtent && pos >= a.GridExtent - back && pos <= a.GridExtent) {
      State = newState;
      SizingPos = a.GridExtent;
      SizingOfs = a.GridExtent - pos;
      Index = a.LastFullVisibleCell + 1;
    }
  };
  State = gsNormal;
  Index = -1;
  if (!FOptions.Contains(goColSizing) && !FOptions.Contains(goRowSizing)) return;
  TRect client = ClientRect();
  FixedInfo.Horz.GridExtent = client.Right;
  FixedInfo.Vert.GridExtent = client.Bottom;
  if (X > FixedInfo.Horz.FixedBoundary && FOptions.Contains(goColSizing)) {
    if (Y >= FixedInfo.Vert.FixedBoundary) return;
    axisState(FixedInfo.Horz, X, gsColSizing);
  } else if (Y > FixedInfo.Vert.FixedBoundary && FOptions.Contains(goRowSizing)) {
    if (X >= FixedInfo.Horz.FixedBoundary) return;
    axisState(FixedInfo.Vert, Y, gsRowSizing);
  }
}

int TCustomGrid::ResizeLine(const TGridAxisDrawInfo& AxisInfo) {
  int start = AxisInfo.FixedBoundary;
  for (int i = AxisInfo.FirstGridCell; i < FSizingIndex; ++i) start += AxisInfo.GetExtent(i) + AxisInfo.EffectiveLineWidth;
  return FSizingPos - start;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool designing = FComponentState.Contains(csDesigning);
  if (!designing && (CanFocus() || !GetParentForm(this))) {
    SetFocus();
    if (!IsActiveControl()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    DblClick();
  } else if (Button == mbLeft) {
    TGridDrawInfo d;
    CalcDrawInfo(d);
    CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, d);
    if (FGridState != gsNormal) {
      FSizingLineShown = true;
      InvalidateSizingLine();
      return;
    }
    TGridCoord cell = MouseCoord(X, Y);
    bool colMove = FOptions.Contains(goColMoving) && cell.X >= FFixedCols && cell.Y >= 0 && cell.Y < FFixedRows;
    bool rowMove = FOptions.Contains(goRowMoving) && cell.Y >= FFixedRows && cell.X >= 0 && cell.X < FFixedCols;
    if (!designing && (colMove || rowMove)) {
      FMoveIndex = colMove ? cell.X : cell.Y;
      FMovePos = FMoveIndex;
      bool begin = colMove ? BeginColumnDrag(FMoveIndex, FMovePos, TPoint{X, Y})
                           : BeginRowDrag(FMoveIndex, FMovePos, TPoint{X, Y});
      if (begin) {
        FGridState = colMove ? gsColMoving : gsRowMoving;
        FMoveMarkShown = true;
        InvalidateMoveMark();
        if (HandleAllocated()) {
          SetTimer(FHandle, kGridScrollTimer, kGridScrollInterval, nullptr);
          FTimerRunning = true;
        }
        return;
      }
      FMoveIndex = FMovePos = -1;
    } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
      if (FOptions.Contains(goEditing)) {
        if (cell.X == FCurrent.X && cell.Y == FCurrent.Y) {
          ShowEditor();
        } else {
          MoveCurrent(cell.X, cell.Y, true, true);
          UpdateEdit();
        }
        Click();
      } else {
        FGridState = gsSelecting;
        if (HandleAllocated()) {
          SetTimer(FHandle, kGridScrollTimer, kGridScrollInterval, nullptr);
          FTimerRunning = true;
        }
        if (Shift.Contains(ssShift)) MoveAnchor(cell);
        else MoveCurrent(cell.X, cell.Y, true, true);
      }
    }
  }
  try {
    TCustomControl::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    if (FEditorMode) InvalidateEditor();
    throw;
  }
}

void TCustomGrid::MoveAndScroll(int Mouse, int CellHit, TGridDrawInfo& DrawInfo, TGridAxisDrawInfo& Axis,
                                int ScrollBar, const TPoint& MousePt) {
  if (CellHit == FMovePos) return;
  if (FMovePos == Axis.FixedCellCount && Mouse < Axis.FixedBoundary) return;
  if (FMovePos == Axis.GridCellCount - 1 && Mouse > Axis.GridBoundary) return;
  InvalidateMoveMark();
  if (Mouse < Axis.FixedBoundary) {
    if (FMovePos > Axis.FixedCellCount) {
      ScrollMessage(ScrollBar, SB_LINEUP, 0);
      CalcDrawInfo(DrawInfo);
    }
    CellHit = Axis.FirstGridCell;
  } else if (Mouse >= Axis.FullVisBoundary) {
    if (FMovePos == Axis.LastFullVisibleCell && FMovePos < Axis.GridCellCount - 1) {
      ScrollMessage(ScrollBar, SB_LINEDOWN, 0);
      CalcDrawInfo(DrawInfo);
    }
    CellHit = Axis.LastFullVisibleCell;
  } else if (CellHit < 0) {
    CellHit = FMovePos;
  }
  if ((FGridState == gsColMoving && CheckColumnDrag(FMoveIndex, CellHit, MousePt)) ||
      (FGridState == gsRowMoving && CheckRowDrag(FMoveIndex, CellHit, MousePt)))
    FMovePos = CellHit;
  InvalidateMoveMark();
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TGridDrawInfo d;
  CalcDrawInfo(d);
  switch (FGridState) {
    case gsSelecting: {
      TGridCoord cell = MouseCoord(X, Y);
      if (cell.X >= FFixedCols && cell.Y >= FFixedRows && cell.X <= d.Horz.LastFullVisibleCell + 1 &&
          cell.Y <= d.Vert.LastFullVisibleCell + 1 && (cell.X != FAnchor.X || cell.Y != FAnchor.Y))
        MoveAnchor(cell);
      break;
    }
    case gsColMoving: {
      TGridCoord cell = MouseCoord(X, Y);
      int hit = cell.X >= 0 ? cell.X : -1;
      MoveAndScroll(X, hit, d, d.Horz, SB_HORZ, TPoint{X, Y});
      break;
    }
    case gsRowMoving: {
      TGridCoord cell = MouseCoord(X, Y);
      int hit = cell.Y >= 0 ? cell.Y : -1;
      MoveAndScroll(Y, hit, d, d.Vert, SB_VERT, TPoint{X, Y});
      break;
    }
    case gsRowSizing:
    case gsColSizing:
      InvalidateSizingLine();
      FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
      InvalidateSizingLine();
      break;
    default: break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  struct TNormal {
    TCustomGrid* G;
    ~TNormal() {
      G->FGridState = gsNormal;
      G->FSizingLineShown = false;
      G->FMoveMarkShown = false;
    }
  } normal{this};
  auto stopTimer = [this] {
    if (FTimerRunning && HandleAllocated()) KillTimer(FHandle, kGridScrollTimer);
    FTimerRunning = false;
  };
  switch (FGridState) {
    case gsSelecting:
      MouseMove(Shift, X, Y);
      stopTimer();
      UpdateEdit();
      Click();
      break;
    case gsRowSizing:
    case gsColSizing: {
      InvalidateSizingLine();
      FSizingLineShown = false;
      TGridDrawInfo d;
      CalcDrawInfo(d);
      if (FGridState == gsColSizing) {
        int size = ResizeLine(d.Horz);
        if (size > 1 && FSizingIndex >= 0 && FSizingIndex < FColCount) SetColWidths(FSizingIndex, size);
      } else {
        int size = ResizeLine(d.Vert);
        if (size > 1 && FSizingIndex >= 0 && FSizingIndex < FRowCount) SetRowHeights(FSizingIndex, size);
      }
      break;
    }
    case gsColMoving:
      InvalidateMoveMark();
      FMoveMarkShown = false;
      stopTimer();
      if (EndColumnDrag(FMoveIndex, FMovePos, TPoint{X, Y}) && FMoveIndex != FMovePos) MoveColumn(FMoveIndex, FMovePos);
      UpdateEdit();
      break;
    case gsRowMoving:
      InvalidateMoveMark();
      FMoveMarkShown = false;
      stopTimer();
      if (EndRowDrag(FMoveIndex, FMovePos, TPoint{X, Y}) && FMoveIndex != FMovePos) MoveRow(FMoveIndex, FMovePos);
      UpdateEdit();
      break;
    default: UpdateEdit(); break;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// While selecting beyond an edge the selection grows and the grid scrolls; while moving
// a column or row the grid scrolls towards the mouse.
void TCustomGrid::ScrollTimer() {
  if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
  POINT screen;
  GetCursorPos(&screen);
  TPoint p = ScreenToClient(ToTPoint(screen));
  TGridDrawInfo d;
  CalcDrawInfo(d);
  TGridCoord hit = MouseCoord(p.X, p.Y);
  switch (FGridState) {
    case gsColMoving: MoveAndScroll(p.X, hit.X, d, d.Horz, SB_HORZ, p); break;
    case gsRowMoving: MoveAndScroll(p.Y, hit.Y, d, d.Vert, SB_VERT, p); break;
    default: {
      TGridScrollDirection dir;
      if (p.X < d.Horz.FixedBoundary) dir += sdLeft;
      else if (p.X > d.Horz.FullVisBoundary) dir += sdRight;
      if (p.Y < d.Vert.FixedBoundary) dir += sdUp;
      else if (p.Y > d.Vert.FullVisBoundary) dir += sdDown;
      if (!dir.Empty()) TimedScroll(dir);
    }
  }
}

void TCustomGrid::DoSetCursor(TMessage& Message) {
  if (FGridState == gsNormal && !FComponentState.Contains(csDesigning) &&
      reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    POINT screen;
    GetCursorPos(&screen);
    TPoint p = ScreenToClient(ToTPoint(screen));
    TGridDrawInfo d;
    CalcDrawInfo(d);
    TGridState state;
    int index, pos, ofs;
    CalcSizingState(p.X, p.Y, state, index, pos, ofs, d);
    if (state != gsNormal && Screen) {
      ::SetCursor(Screen->Cursors(state == gsRowSizing ? crVSplit : crHSplit));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
// The wheel: each notch moves the current row by one unless an event handles it.
bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  FWheelAccumulator += WheelDelta;
  while (FWheelAccumulator >= WHEEL_DELTA || FWheelAccumulator <= -WHEEL_DELTA) {
    bool down = FWheelAccumulator < 0;
    FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
    handled = (down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos)) || handled;
  }
  return handled;
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  if (!handled) {
    if (FCurrent.Y < FRowCount - 1) SetRow(FCurrent.Y + 1);
    handled = true;
  }
  return handled;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  if (!handled) {
    if (FCurrent.Y > FFixedRows) SetRow(FCurrent.Y - 1);
    handled = true;
  }
  return handled;
}
