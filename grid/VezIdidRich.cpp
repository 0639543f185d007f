// VezIdid, rich-text cells: the grid's rich edit (renderer and cell editor), moving cell
// texts into and out of it, and rendering a cell's rich text into any canvas.
#include <algorithm>
#include <cmath>

#include "grid/VezIdid.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

TDizRichEdit::TDizRichEdit(TComponent* AOwner) : TRichEdit(AOwner), FGrid(dynamic_cast<TDavEvadurAvuz*>(AOwner)) {
  if (!FGrid) throw EInvalidCast("Invalid class typecast");
}

void TDizRichEdit::SelFormat(int Offset) {
  CHARFORMAT2 c;
  c.dwMask = CFM_OFFSET;
  c.yOffset = Offset;
  Perform(EM_SETCHARFORMAT, SCF_SELECTION, LPARAM(&c));
}

int TDizRichEdit::SelOffset() {
  CHARFORMAT2 c;
  Perform(EM_GETCHARFORMAT, SCF_SELECTION, LPARAM(&c));
  return c.yOffset;
}

void TDizRichEdit::WndProc(TMessage& Message) {
  if (Message.Msg == WM_KILLFOCUS) {
    if (FGrid->IgnoreGridFocus) return;
    HWND to = reinterpret_cast<HWND>(Message.WParam);
    if (to && FGrid->HandleAllocated() && to == FGrid->Handle()) FGrid->HideInplaceEdit();
  }
  TRichEdit::WndProc(Message);
}

void TDizRichEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TRichEdit::KeyDown(Key, Shift);
  if ((Key == VK_UP || Key == VK_DOWN) && !FGrid->WordWrap() && !FGrid->Multilinecells) {
    const WORD k = Key;
    Key = 0;
    if (FGrid->CanFocus()) FGrid->SetFocus();
    FGrid->Perform(WM_KEYDOWN, k, 0);
  }
}

void TDizRichEdit::RequestSize(const TRect& Rect) {
  TRichEdit::RequestSize(Rect);
  if (ComponentState().Contains(csDesigning)) return;
  if (this == FGrid->RichEdit(0)) {
    FReqWidth = Rect.Right - Rect.Left;
    FReqHeight = Rect.Bottom - Rect.Top;
    return;
  }
  if (this != FGrid->RichEdit(1) || !FGrid->SizeWhileTyping()->Height || FLocked) return;
  const int h = Rect.Bottom - Rect.Top;
  const int row = FGrid->Row();
  if (row < 0 || row >= FGrid->RowCount()) return;
  const TRect cell = FGrid->CellRect(FGrid->Col(), row);
  if (FGrid->RowHeights(row) < h && cell.Top + h < FGrid->Height()) {
    SetBounds(Left(), Top(), Width(), h + 4);
    FGrid->SetRowHeights(row, h + 5);
    if (FGrid->OnEndRowSize) FGrid->OnEndRowSize(FGrid, row);
  }
}

// ---------------------------------------------------------------------------------------
void TDavEvadurAvuz::CellToRich(int ACol, int ARow, TRichEdit* RichEdit) {
  const std::string text = GetCellEx(ACol, ARow);
  if (text.empty()) {
    RichEdit->Clear();
    return;
  }
  TMemoryStream ms;
  ms.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  ms.SetPosition(0);
  RichEdit->Lines()->LoadFromStream(ms);
}

std::string TDavEvadurAvuz::RichToString(TRichEdit* RichEdit) {
  TMemoryStream ms;
  RichEdit->Lines()->SaveToStream(ms);
  std::string s(static_cast<size_t>(ms.Size()), '\0');
  ms.SetPosition(0);
  if (!s.empty()) ms.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  return s;
}

void TDavEvadurAvuz::RichToCell(int ACol, int ARow, TRichEdit* RichEdit) { SetCellEx(ACol, ARow, RichToString(RichEdit)); }

void TDavEvadurAvuz::RTFPaint(int ACol, int ARow, TRect ARect, TCanvas* Canvas) {
  if (Designing()) return;
  TDizRichEdit* re = RichEdit(0);
  if (!re) return;
  CellToRich(ACol, ARow, re);
  const int selRow = MouseActions()->RowSelectPersistent ? RemapRowInv(ARow) : ARow;
  const int dcol = RemapColInv(ACol);
  const bool focusedCell = ARow == GetRowEx() && dcol == Col() && Focused() && !Options().Contains(goDrawFocusSelected);
  const TGridRect sel = GetSelectionEx();
  const bool inSel = dcol >= sel.Left && dcol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
  bool selected = inSel && !focusedCell && !MouseActions()->DisjunctRowSelect();
  if (MouseActions()->DisjunctRowSelect() && GetRowSelect(selRow)) selected = true;
  if (MouseActions()->DisjunctColSelect() && GetColSelect(ACol)) selected = true;
  HDC dc = Canvas->GetHandle();
  if (selected && !SelectionRTFKeep && GetMapMode(dc) == MM_TEXT && SelectionTextColor() != clNone) {
    re->SetSelStart(0);
    re->SetSelLength(65535);
    re->SelAttributes()->SetColor(SelectionTextColor());
  }
  // The rectangle in device units (a printer's mapping mode is left for MM_TEXT while
  // rendering); the insets scaled from 96 pixels per inch.
  const int mode = GetMapMode(dc);
  POINT pts[2] = {{ARect.Left, ARect.Top}, {ARect.Right, ARect.Bottom}};
  POINT org{};
  if (mode != MM_TEXT) {
    LPtoDP(dc, pts, 2);
    if (pts[0].y > pts[1].y) std::swap(pts[0].y, pts[1].y);
    SetMapMode(dc, MM_TEXT);
    SetViewportOrgEx(dc, 0, 0, &org);
  }
  const int ppx = std::max(1, GetDeviceCaps(dc, LOGPIXELSX)), ppy = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
  const double ox = XYOffset.X * ppx / 96.0, oy = XYOffset.Y * ppy / 96.0;
  const double left = pts[0].x, top = pts[0].y, width = pts[1].x - pts[0].x, height = pts[1].y - pts[0].y;
  FORMATRANGE fr;
  fr.hdc = dc;
  fr.hdcTarget = dc;
  fr.rc.left = static_cast<LONG>(std::lround((left + ox) / ppx * 1440));
  fr.rc.top = static_cast<LONG>(std::lround((top + oy) / ppy * 1440));
  fr.rc.right = fr.rc.left + static_cast<LONG>(std::lround((width - 2 * ox) / ppx * 1440));
  fr.rc.bottom = fr.rc.top + static_cast<LONG>(std::lround((height - 2 * oy) / ppy * 1440));
  fr.rcPage = fr.rc;
  fr.chrg = CHARRANGE{0, -1};
  re->Perform(EM_FORMATRANGE, 1, LPARAM(&fr));
  re->Perform(EM_FORMATRANGE, 0, 0);
  if (mode != MM_TEXT) {
    SetMapMode(dc, mode);
    SetViewportOrgEx(dc, org.x, org.y, nullptr);
  }
}
