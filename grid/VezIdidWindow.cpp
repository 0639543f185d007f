// VezIdid, the window around the cells: the paint pass with the edited cell's frame, the
// background gradient or picture right of and below the cells, the flat one-pixel border
// of the modern looks, the dotted sizing lines and the balloon text of a cell, which the
// balloon tool tip asks for (WM_NOTIFY).
#include <algorithm>

#include "editors/DizDropDown.h"
#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/ToolTip.h"

void TDavEvadurAvuz::Paint() {
  TCanvas* C = Canvas();
  FTileTop.Index = FTileLeft.Index = -1;  // row heights and column widths may have changed
  C->Pen()->SetStyle(psSolid);
  TBaseGrid::Paint();
  if (EditorMode() && InplaceEditor() && InplaceEditor()->Visible()) {
    bool noLines =
        GridLineWidth() < 1 || (!Options().Contains(goHorzLine) && !Options().Contains(goVertLine));
    C->Pen()->SetColor(noLines ? Color() : GridLineColor());
    C->Rectangle(CellRect(Col(), Row()));
  }
  C->Pen()->SetColor(clBlack);
  if (!FBackGround->Bitmap()->GetEmpty() || FBackGround->ColorTo() != clNone) PaintBackground();
}

void TDavEvadurAvuz::PaintBackground() {
  if (ColCount() == 0 || RowCount() == 0) return;
  const TBackGroundDisplay display = FBackGround->Display();
  const bool gradient = display == bdGradientHorz || display == bdGradientVert;
  const bool picture = !FBackGround->Bitmap()->GetEmpty();
  if (gradient && !picture && FBackGround->ColorTo() == clNone) return;
  if (!gradient && !picture) return;
  const TRect client = ClientRect();
  const int lw = std::max(GridLineWidth(), 0);
  // The empty area: right of the last column and below the last row, where visible.
  TRect lastCol = CellRect(ColCount() - 1, TopRow());
  TRect lastRow = CellRect(LeftCol(), RowCount() - 1);
  bool colShown = lastCol.Right > lastCol.Left && lastCol.Right + lw < client.Right;
  bool rowShown = lastRow.Bottom > lastRow.Top && lastRow.Bottom + lw < client.Bottom;
  if (!colShown && !rowShown) return;
  HRGN area = CreateRectRgn(0, 0, 0, 0);
  if (colShown) {
    HRGN r = CreateRectRgn(lastCol.Right + lw, client.Top, client.Right, client.Bottom);
    CombineRgn(area, area, r, RGN_OR);
    DeleteObject(r);
  }
  if (rowShown) {
    HRGN r = CreateRectRgn(client.Left, lastRow.Bottom + lw, client.Right, client.Bottom);
    CombineRgn(area, area, r, RGN_OR);
    DeleteObject(r);
  }
  TRect draw = client;
  if (FSearchFooter->Visible()) draw.Bottom -= 32;
  if (FFloatingFooter->Visible() && FFooterPanel) draw.Bottom -= FFooterPanel->Height();
  TCanvas* C = Canvas();
  HDC dc = C->GetHandle();
  int saved = SaveDC(dc);
  ExtSelectClipRgn(dc, area, RGN_AND);
  if (!picture) {
    DizDropDown::DrawGradient(C, FBackGround->Color(), FBackGround->ColorTo(), 128, draw, display == bdGradientHorz);
  } else if (display != bdTile) {
    DrawWallPaperFixed(draw);
  } else if (FBackGround->Cells() != bcFixed) {
    TRect r = draw;
    if (FBackGround->Cells() == bcNormal) {
      TRect first = CellRect(GetFixedColsEx(), GetFixedRowsEx());
      r.Left = first.Left;
      r.Top = first.Top;
    }
    r.Left += XYOffset.X;
    r.Top += XYOffset.Y;
    DrawWallPaperTile(r);
  }
  RestoreDC(dc, saved);
  DeleteObject(area);
}

void TDavEvadurAvuz::DrawWallPaperFixed(const TRect& R) {
  TBitmap* bmp = FBackGround->Bitmap();
  if (bmp->GetEmpty()) return;
  TRect pic{FBackGround->Left(), FBackGround->Top(), FBackGround->Left() + bmp->GetWidth(),
            FBackGround->Top() + bmp->GetHeight()};
  TRect hit{std::max(pic.Left, R.Left), std::max(pic.Top, R.Top), std::min(pic.Right, R.Right),
            std::min(pic.Bottom, R.Bottom)};
  if (hit.Right <= hit.Left || hit.Bottom <= hit.Top) return;
  HDC dc = Canvas()->GetHandle();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, hit.Left, hit.Top, hit.Right, hit.Bottom);
  SetBkMode(dc, TRANSPARENT);
  Canvas()->Draw(pic.Left, pic.Top, bmp);
  RestoreDC(dc, saved);
}

long long TDavEvadurAvuz::TileOrigin(TTileRun& Run, int Start, int Index, bool Rows) {
  if (Run.Pass != PaintPass() || Run.Start != Start || Run.Index < Start || Run.Index > Index) {
    Run.Pass = PaintPass();
    Run.Start = Start;
    Run.Index = Start;
    Run.Offset = 0;
  }
  for (; Run.Index < Index; ++Run.Index) Run.Offset += Rows ? RowHeights(Run.Index) : ColWidths(Run.Index);
  return Run.Offset;
}

void TDavEvadurAvuz::DrawWallPaperTile(const TRect& R) {
  TBitmap* bmp = FBackGround->Bitmap();
  const int w = bmp->GetWidth(), h = bmp->GetHeight();
  if (bmp->GetEmpty() || w <= 0 || h <= 0 || R.Right <= R.Left || R.Bottom <= R.Top) return;
  HDC dc = Canvas()->GetHandle();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, R.Left - 1, R.Top - 1, R.Right, R.Bottom);
  SetBkMode(dc, TRANSPARENT);
  for (int y = R.Top - 1; y < R.Bottom; y += h)
    for (int x = R.Left - 1; x < R.Right; x += w) Canvas()->Draw(x, y, bmp);
  RestoreDC(dc, saved);
}

// The flat border of the modern looks: a grey-blue line one pixel in, and the parent's
// colour on the outermost pixel, over the framework's sunken edge.
void TDavEvadurAvuz::NCPaintProc() {
  if (!HandleAllocated()) return;
  const bool modern = FLook == glSoft || (FLook >= glZAD && FLook <= glOffice2007);
  if (!modern || BorderStyle() == bsNone || Flat) return;
  HDC dc = GetWindowDC(Handle());
  if (!dc) return;
  const int w = Width(), h = Height();
  HPEN inner = CreatePen(PS_SOLID, 1, FIsWinXP ? 0xB99D7F : 0x808080);
  HGDIOBJ old = SelectObject(dc, inner);
  MoveToEx(dc, 1, h, nullptr);
  LineTo(dc, 1, 1);
  LineTo(dc, w - 2, 1);
  LineTo(dc, w - 2, h - 2);
  LineTo(dc, 1, h - 2);
  if (Parent()) {
    HPEN outer = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(Parent()->Brush()->GetColor())));
    SelectObject(dc, outer);
    MoveToEx(dc, 0, h, nullptr);
    LineTo(dc, 0, 0);
    LineTo(dc, w - 1, 0);
    LineTo(dc, w - 1, h - 1);
    LineTo(dc, 0, h - 1);
    SelectObject(dc, inner);
    DeleteObject(outer);
  }
  SelectObject(dc, old);
  DeleteObject(inner);
  ReleaseDC(Handle(), dc);
}

bool TDavEvadurAvuz::WindowWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      TBaseGrid::WndProc(Message);
      if (FUpdateCount == 0) {
        NCPaintProc();
        Message.Result = 0;
      }
      return true;
    case WM_NOTIFY: return WMNotify(Message);
    case WM_GETDLGCODE:
      // Characters are the grid's own also when they do not start an edit: the jump to a
      // row by its first letters, and a grid that is not edited keeps its letters from
      // the dialog's accelerators.
      TBaseGrid::WndProc(Message);
      if (Navigation()->AutoGotoWhenSorted || !Options().Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
      return true;
    case WM_MOUSEMOVE:
      CellMouseMove(Message.XPos(), Message.YPos());
      return false;
    case WM_DESTROY:
      BalloonDone();
      return false;
    default: return false;
  }
}

bool TDavEvadurAvuz::WMNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!hdr) return false;
  if (hdr->code == TTN_SHOW || hdr->code == TTN_POP) {
    Message.Result = 0;
    return true;
  }
  if (hdr->code != TTN_NEEDTEXT || !FBalloon->Enable()) return false;
  // The cell under the mouse gives the text.
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint at = ScreenToClient(TPoint{cursor.x, cursor.y});
  int col = -1, row = -1;
  MouseToCell(at.X, at.Y, col, row);
  std::string title = " ";
  int icon = TTI_INFO;
  std::string text = col >= 0 && row >= 0 ? BalloonText(col, row, title, icon) : std::string();
  FBalloonCell = TPoint{col, row};
  FBalloonBuffer = std::move(text);
  reinterpret_cast<NMTTDISPINFO*>(hdr)->lpszText = FBalloonBuffer.data();
  if (HWND tip = FBalloonTip.Wnd) {
    if (FBalloon->TextColor != clNone)
      SendMessage(tip, TTM_SETTIPTEXTCOLOR, WPARAM(ColorToRGB(FBalloon->TextColor)), 0);
    if (FBalloon->BackgroundColor != clNone)
      SendMessage(tip, TTM_SETTIPBKCOLOR, WPARAM(ColorToRGB(FBalloon->BackgroundColor)), 0);
    SendMessage(tip, TTM_SETTITLE, WPARAM(icon), LPARAM(title.c_str()));
  }
  Message.Result = 0;
  return true;
}

namespace {
// Draws a one-pixel dotted XOR line on the canvas, keeping its pen. The pen is white: XOR
// with white inverts what lies under it (a black line on the white cells), where XOR with
// black would leave every pixel as it was and the line would never show.
void XorLine(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  TPen saved;
  saved.Assign(C->Pen());
  C->Pen()->SetColor(clWhite);
  C->Pen()->SetStyle(psDot);
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetWidth(1);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
  C->Pen()->Assign(&saved);
}
}  // namespace

void TDavEvadurAvuz::DrawSizingLine(int X) {
  int bottom = Height();
  if (RowCount() > 0) bottom = std::max(bottom, static_cast<int>(CellRect(0, RowCount() - 1).Bottom));
  XorLine(Canvas(), X, 0, X, bottom);
}

void TDavEvadurAvuz::DrawSizingLineR(int Y) {
  int right = Width();
  if (ColCount() > 0) right = std::max(right, static_cast<int>(CellRect(ColCount() - 1, 0).Right));
  XorLine(Canvas(), 0, Y, right, Y);
}

namespace {
// At most Max code points of S; longer texts keep Max - 3 of them and end in "...".
std::string CutText(const std::string& S, std::size_t Max) {
  if (Utf8Length(S) <= Max) return S;
  std::size_t keep = Max - 3, i = 0, n = 0;
  while (i < S.size() && n < keep) {
    unsigned char c = static_cast<unsigned char>(S[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++n;
  }
  return S.substr(0, std::min(i, S.size())) + "...";
}
}  // namespace

std::string TDavEvadurAvuz::BalloonText(int ACol, int ARow, std::string& Title, int& Icon) {
  int real = RealColIndex(ACol);
  if (real < 0) real = ACol;
  std::string s = GetCellEx(real, ARow);
  switch (TextType(s, EnableHTML)) {
    case ttHTML: s = HTMLStrip(s); break;
    case ttRTF: s = RichToPlainText(s); break;
    case ttUnicode: s = Utf16ToUtf8(DecodeWide(s)); break;
    default: break;
  }
  std::size_t start = s.find_first_not_of("\r\n\t");
  s = start == std::string::npos ? std::string() : s.substr(start);
  std::replace(s.begin(), s.end(), '\t', ' ');
  s = CutText(s, 1024);
  Icon = 1;
  Title = " ";
  IsBalloon(real, ARow, Title, s, Icon);
  if (OnCellBalloon) OnCellBalloon(this, real, ARow, Title, s, Icon);
  // A balloon's own text or the event's is held to the same length.
  s = CutText(s, 1024);
  Title = CutText(Title, 100);
  return s;
}

TColor TDavEvadurAvuz::GetArrowColor() const { return FArrows[0] ? FArrows[0]->Color() : clNone; }

void TDavEvadurAvuz::SetArrowColor(TColor Value) {
  for (TArrowWindow* a : FArrows)
    if (a) a->SetColor(Value);
}
