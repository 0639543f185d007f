// VezIdid, text metrics: the size a cell's text needs (plain, multi-line, mark-up and rich
// text, the latter read as plain text), the text insets and the line counts the exports
// and row sizing use.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"
#include "platform/vcl/RichText.h"


// The document characters of rich text, paragraph and line marks as line feeds.
std::string TDavEvadurAvuz::RichToPlainText(const std::string& Rtf) { return RtfToPlainText(Rtf); }

TPoint TDavEvadurAvuz::GetCellTextSize(int ACol, int ARow, bool Wrapped, bool ReserveButton) {
  return GetCellTextSizeInt(ACol, RemapColInv(ACol), ARow, Wrapped, ReserveButton);
}

TPoint TDavEvadurAvuz::GetCellTextSizeInt(int ARealCol, int ADisplCol, int ARow, bool Wrapped, bool ReserveButton) {
  std::string s = GetFormattedCell(ARealCol, ARow);
  TTextType type = TextType(s, EnableHTML);
  TCanvas* C = Canvas();
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = VAlignment;
  bool ww = FWordWrapDefault;
  TCellGradientDirection gd = GradientVertical;
  int dcol = ADisplCol < 0 ? ARealCol : ADisplCol;
  GetVisualProperties(dcol, ARow, state, false, false, false, C->Brush(), colorTo, mirror, mirrorTo, C->Font(), ha,
                      va, ww, gd);
  // The cell's own size, less the text insets.
  int w = dcol >= 0 && dcol < ColCount() ? ColWidths(dcol) : DefaultColWidth();
  int h = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
  TRect R{XYOffset.X, XYOffset.Y, w - (XYOffsetOnce ? 0 : XYOffset.X), h - (XYOffsetOnce ? 0 : XYOffset.Y)};
  if (ReserveButton) R.Right -= 17;
  if (R.Right < R.Left) R.Right = R.Left;

  if (type == ttHTML) {
    TRect hr = R;
    if (!Wrapped) hr.Right = 65535;
    hr.Bottom = 65535;
    std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot, ctl;
    HTMLDrawEx(C, s, hr, FGridImages, 0, 0, -1, -1, 1, false, true, false, true, true, false, !EnhTextSize, false,
               1.0, FURLColor, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl,
               ctlID, ctlValue, ctlType, nullptr, nullptr, HandleAllocated() ? Handle() : nullptr);
    return TPoint{ex + 2, ey + 2};
  }
  TDizRichEdit* rich = type == ttRTF && !Designing() ? RichEdit(0) : nullptr;
  if (rich) {
    // The renderer holds the cell; its first characters' font measures the plain text.
    rich->Clear();
    rich->SetBounds(0, 0, 0, 0);
    CellToRich(ARealCol, ARow, rich);
    C->Font()->SetName(rich->SelAttributes()->Name());
    C->Font()->SetSize(rich->SelAttributes()->Size());
    C->Font()->SetStyle(rich->SelAttributes()->Style());
    s = rich->Document().PlainText("\n");
  } else if (type == ttRTF) {
    s = RichToPlainText(s);
  }

  TPoint size;
  if (Wrapped) {
    TRect calc{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
    if (calc.Right < calc.Left) calc.Right = calc.Left;
    std::string t = s;
    C->TextRect(calc, t, TTextFormat{tfEditControl, tfNoPrefix, tfCalcRect, tfWordBreak});
    size = TPoint{calc.Right - calc.Left, calc.Bottom - calc.Top};
  } else {
    std::string rest = s;
    int widest = 0, lines = 0;
    do {
      std::string line = GetNextLine(rest, Multilinecells);
      widest = std::max(widest, C->TextWidth(line));
      ++lines;
    } while (!rest.empty());
    size = TPoint{widest, lines * C->TextHeight("gh")};
  }
  if (rich) {
    // The size the renderer asks for at the cell's width.
    rich->SetBounds(0, 0, R.Right - R.Left, R.Bottom - R.Top);
    rich->SetWordWrap(true);
    rich->SetWordWrap(false);
    rich->SetWordWrap(RichEditWordWrap);
    rich->Lines()->Add("");
    rich->Lines()->Delete(rich->Lines()->Count() - 1);
    size = TPoint{XOffsetSize() + rich->ReqWidth(), YOffsetSize() + rich->ReqHeight()};
  } else if (type == ttRTF) {
    size = TPoint{XOffsetSize() + size.X, YOffsetSize() + size.Y};
  }
  return size;
}

int TDavEvadurAvuz::MaxLinesInGrid() {
  if (!Multilinecells || RowCount() == 0 || ColCount() == 0) return 1;
  int most = 1;
  for (int r = 0; r < RowCount(); ++r) most = std::max(most, MaxLinesInRow(r));
  return most;
}

int TDavEvadurAvuz::MaxLinesInRow(int ARow) {
  if (!Multilinecells || ColCount() == 0) return 1;
  int most = 1;
  for (int c = 0; c < GetColCountEx(); ++c) {
    int real = RemapCol(c);
    if (real < 0) real = c;
    most = std::max(most, LinesInText(GetCellEx(real, ARow), true));
  }
  return most;
}

int TDavEvadurAvuz::MaxCharsInCol(int ACol) {
  int most = 0;
  for (int r = 0; r < RowCount(); ++r) {
    std::string rest;
    SaveCell(ACol, r, rest);
    do {
      std::string line = GetNextLine(rest, Multilinecells);
      most = std::max(most, static_cast<int>(Utf8Length(line)));
    } while (!rest.empty());
  }
  return most;
}
