// The keyboard and the messages of the framework grid: navigation keys after OnKeyDown,
// Tab with goTabs, F2 and Enter for the editor, typed characters opening the editor,
// focus, scroll bar messages, the scroll timer and the sizing cursor.
#include <algorithm>

#include "platform/vcl/Grids.h"
#include "platform/vcl/GridsInternal.h"

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  if (!CanGridAcceptKey(Key, Shift)) Key = 0;
  if (Key == 0) return;
  // A grid whose cell was parked outside (or an empty one) navigates from the first cell.
  if (FColCount <= FFixedCols || FRowCount <= FFixedRows) {
    if (Key == VK_F2) SetEditorMode(true);
    return;
  }
  TGridDrawInfo d;
  CalcDrawInfo(d);
  int pageWidth = std::max(1, d.Horz.LastFullVisibleCell - FTopLeft.X);
  int pageHeight = std::max(1, d.Vert.LastFullVisibleCell - FTopLeft.Y);
  TGridCoord newTopLeft = FTopLeft;
  TGridCoord newCurrent = FCurrent;
  bool rowSelect = FOptions.Contains(goRowSelect);
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_UP: --newTopLeft.Y; break;
      case VK_DOWN: ++newTopLeft.Y; break;
      case VK_LEFT:
        if (!rowSelect) {
          newCurrent.X -= pageWidth;
          newTopLeft.X -= pageWidth;
        }
        break;
      case VK_RIGHT:
        if (!rowSelect) {
          newCurrent.X += pageWidth;
          newTopLeft.X += pageWidth;
        }
        break;
      case VK_PRIOR: newCurrent.Y = FTopLeft.Y; break;
      case VK_NEXT: newCurrent.Y = d.Vert.LastFullVisibleCell; break;
      case VK_HOME:
        newCurrent.X = FFixedCols;
        newCurrent.Y = FFixedRows;
        break;
      case VK_END:
        newCurrent.X = FColCount - 1;
        newCurrent.Y = FRowCount - 1;
        break;
    }
  } else {
    switch (Key) {
      case VK_UP: --newCurrent.Y; break;
      case VK_DOWN: ++newCurrent.Y; break;
      case VK_LEFT:
        if (rowSelect) --newCurrent.Y;
        else --newCurrent.X;
        break;
      case VK_RIGHT:
        if (rowSelect) ++newCurrent.Y;
        else ++newCurrent.X;
        break;
      case VK_NEXT:
        newCurrent.Y += pageHeight;
        newTopLeft.Y += pageHeight;
        break;
      case VK_PRIOR:
        newCurrent.Y -= pageHeight;
        newTopLeft.Y -= pageHeight;
        break;
      case VK_HOME:
        if (rowSelect) newCurrent.Y = FFixedRows;
        else newCurrent.X = FFixedCols;
        break;
      case VK_END:
        if (rowSelect) newCurrent.Y = FRowCount - 1;
        else newCurrent.X = FColCount - 1;
        break;
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) {
          // The next (Shift: previous) column that is a tab stop, wrapping to the next
          // row and from the last row to the first.
          bool back = Shift.Contains(ssShift);
          int start = std::clamp(newCurrent.X, FFixedCols, FColCount - 1);
          newCurrent.X = start;
          newCurrent.Y = std::clamp(newCurrent.Y, FFixedRows, FRowCount - 1);
          int guard = (FColCount - FFixedCols) * 2 + 2;
          do {
            if (back) {
              if (--newCurrent.X < FFixedCols) {
                newCurrent.X = FColCount - 1;
                if (--newCurrent.Y < FFixedRows) newCurrent.Y = FRowCount - 1;
              }
            } else {
              if (++newCurrent.X >= FColCount) {
                newCurrent.X = FFixedCols;
                if (++newCurrent.Y >= FRowCount) newCurrent.Y = FFixedRows;
              }
            }
          } while (!TabStops(newCurrent.X) && newCurrent.X != start && --guard > 0);
          // Tab never extends a range.
          Shift -= ssShift;
        }
        break;
      case VK_F2: SetEditorMode(true); break;
    }
  }
  TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, d);
  newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTopLeft.X));
  newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTopLeft.Y));
  if (newTopLeft != FTopLeft) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  newCurrent.X = std::clamp(newCurrent.X, FFixedCols, FColCount - 1);
  newCurrent.Y = std::clamp(newCurrent.Y, FFixedRows, FRowCount - 1);
  if (newCurrent != FCurrent) FocusCell(newCurrent.X, newCurrent.Y, !Shift.Contains(ssShift));
}

void TCustomGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (!FOptions.Contains(goAlwaysShowEditor) && Key == U'\r') {
    if (FEditorMode) HideEditor();
    else ShowEditor();
    Key = 0;
  }
}

void TCustomGrid::KeyUp(WORD& Key, TShiftState Shift) { TCustomControl::KeyUp(Key, Shift); }

void TCustomGrid::DoExit() {
  TCustomControl::DoExit();
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
}

void TCustomGrid::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      if (FOptions.Contains(goRowSelect)) return;
      if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
      return;
    case WM_CHAR: {
      char32_t ch = static_cast<char32_t>(Message.WParam);
      if (FOptions.Contains(goEditing) && (ch == 8 || ch >= 32) && ch != 127) {
        ShowEditorChar(ch);
        return;
      }
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        ScrollMessage(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam),
                      static_cast<SHORT>(HIWORD(Message.WParam)));
        Message.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      UpdateScrollRange();
      if (FEditorMode && FInplaceEdit) EditorFollowCell();
      return;
    case WM_TIMER:
      if (Message.WParam == kGridScrollTimer) {
        ScrollTimer();
        Message.Result = 0;
        return;
      }
      break;
    case WM_SETCURSOR: DoSetCursor(Message); return;
    case WM_SETFOCUS:
      TCustomControl::WndProc(Message);
      if (!FInplaceEdit || !EditorHasWindow(reinterpret_cast<HWND>(Message.WParam))) {
        InvalidateRect(Selection());
        UpdateEdit();
      }
      return;
    case WM_KILLFOCUS:
      TCustomControl::WndProc(Message);
      InvalidateRect(Selection());
      if (FInplaceEdit && !EditorHasWindow(reinterpret_cast<HWND>(Message.WParam))) HideEditorWindow();
      return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      TCustomControl::WndProc(Message);
      if (FGridState != gsNormal) {
        if (FTimerRunning && HandleAllocated()) KillTimer(FHandle, kGridScrollTimer);
        FTimerRunning = false;
        if (FSizingLineShown) InvalidateSizingLine();
        if (FMoveMarkShown) InvalidateMoveMark();
        FSizingLineShown = FMoveMarkShown = false;
        FGridState = gsNormal;
      }
      return;
    case CM_FONTCHANGED:
      TCustomControl::WndProc(Message);
      if (FInplaceEdit) InvalidateEditor();
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}
