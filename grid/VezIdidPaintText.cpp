// VezIdid, painting: the text layer of a cell (selection colours, formatted and masked
// text, filter button, background picture and gradient, selection rectangle, plain,
// mark-up, rich and wide text, the sort mark) and the per-side border layer. The other
// layers are in VezIdidPaint.cpp.
#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "grid/VezIdidPaintInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/CodePage.h"

namespace {
// The text-format flags of word wrap, horizontal and vertical alignment. They are built
// per call from the painting grid's own settings, so one grid never changes another.
TTextFormat WrapFlags(bool WordWrap, bool Multilinecells) {
  if (WordWrap) return TTextFormat{tfWordBreak, tfEditControl};
  return Multilinecells ? TTextFormat{} : TTextFormat{tfSingleLine};
}
TTextFormat AlignFlags(TAlignment A) {
  if (A == taRightJustify) return TTextFormat{tfRight};
  if (A == taCenter) return TTextFormat{tfCenter};
  return TTextFormat{};
}
TTextFormat VAlignFlags(TVAlignment V) {
  if (V == vtaCenter) return TTextFormat{tfVerticalCenter};
  if (V == vtaBottom) return TTextFormat{tfBottom};
  return TTextFormat{};
}

// One password character per character (not per byte) of a UTF-8 text.
std::string Masked(const std::string& s, char mask) {
  std::string r;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) r += mask;
  return r;
}
}  // namespace

void TDavEvadurAvuz::DrawTextLayer(TCanvas* Canvas, TCellPaint& P) {
  const int ACol = P.Col, ARow = P.Row, rcol = P.RealCol;
  const int fc = GetFixedColsEx(), fr = GetFixedRowsEx();
  const int glw = GridLineWidth();
  TGridDrawState& AState = P.State;
  TBrush* brush = Canvas->Brush();
  TFont* font = Canvas->Font();

  // 1. Selection colours of the text.
  TColor link = FURLColor;
  bool rowSelected = false;
  if (Options().Contains(goRowSelect) && rcol >= fc && rcol < GetColCountEx() - FFixedRightCols && P.SelRow >= 0 &&
      P.SelRow < GetAllRowCount())
    rowSelected = GetRowSelect(P.SelRow);
  if ((AState.Contains(gdSelected) || rowSelected) && !P.Fixed) {
    if (FShowSelection) {
      if (FSelectionColor != clNone) brush->SetColor(FSelectionColor);
      if (FSelectionTextColor != clNone) font->SetColor(FSelectionTextColor);
      link = FSelectionTextColor;
    } else if (!Focused() || HasCheckBox(rcol, ARow)) {
      brush->SetColor(P.UnselBrush);
      font->SetColor(P.UnselFont);
    }
  }

  // 2. The text and its kind.
  std::string text = GetFormattedCell(rcol, ARow);
  TTextType kind = TextType(text, EnableHTML);
  if (kind == ttFormula) {
    CalcCell(rcol, ARow, text);
    kind = TextType(text, EnableHTML);
  }
  int markFrom = 0, markLen = 0;
  if (P.Graphic) {
    markFrom = P.Graphic->CellErrFrom;
    markLen = P.Graphic->CellErrLen;
  }
  if (IsPassword(rcol, ARow)) text = Masked(text, PasswordChar);

  // 3. The text rectangle. A cell scrolled by its own scroll bar draws its text moved up by
  // the position, clipped to the cell.
  TRect TR = P.R;
  if (P.Fixed) {
    TR.Left += glw;
    TR.Top += glw;
  }
  struct TScrollClip {
    TCanvas* Canvas = nullptr;
    int Saved = 0;
    ~TScrollClip() {
      if (!Saved) return;
      RestoreDC(Canvas->GetHandle(), Saved);
      Canvas->Refresh();  // the restored state holds other objects than the canvas thinks
    }
  } scrollClip;
  if (HasScrollBar(rcol, ARow)) {
    const int pos = GetScrollPosition(rcol, ARow);
    if (pos > 0) {
      HDC dc = Canvas->GetHandle();
      scrollClip.Canvas = Canvas;
      scrollClip.Saved = SaveDC(dc);
      IntersectClipRect(dc, P.R.Left, P.R.Top, P.R.Right, P.R.Bottom);
      TR.Top -= pos;
    }
  }

  // 4. The filter button of a filtered column.
  const bool filtered = ARow == FilterDropDownRow && FilterButtonShown(rcol);
  if (filtered) {
    // The filter settings carry no glyph of their own: the built-in one is drawn.
    DrawBitmapResourceTransp(Canvas, FixedColor(), TRect{TR.Right - 16, TR.Top, TR.Right, TR.Bottom}, "DEAFILT");
  }

  const TRect afterFilter = TR;

  // 5. Rows (columns) left out of a disjunct selection show unselected.
  if (ACol >= fc && ARow >= fr && !DisjunctDragActive) {
    bool out = false;
    if (FMouseActions->DisjunctRowSelect())
      out = !(P.SelRow >= 0 && P.SelRow < GetAllRowCount() && GetRowSelect(P.SelRow));
    else if (FMouseActions->DisjunctColSelect())
      out = !(ACol < ColCount() && GetColSelect(ACol));
    if (out) {
      brush->SetColor(Color());
      font->SetColor(Font()->GetColor());
      link = FURLColor;
      GetCellColor(rcol, ARow, AState, brush, font);
      if (ZoomLevel != 0) font->SetSize(font->GetSize() + ZoomLevel);
    }
  }

  // 6. and 7. The background picture or gradient of cells without a colour of their own.
  TCellProperties* props = Props(rcol, ARow);
  const bool ownColor = props && props->BrushColor != clNone;
  const TBackGroundCells which = FBackGround->Cells();
  const bool chosen =
      which == bcAll || (which == bcFixed) == AState.Contains(gdFixed);
  TBitmap* picture = FBackGround->Bitmap();
  if (!picture->GetEmpty() && !ownColor && chosen && (!FShowSelection || !AState.Contains(gdSelected))) {
    TRect A{TR.Left - (glw - 1), TR.Top - (glw - 1), TR.Right, TR.Bottom};
    if (FBackGround->Display() == bdTile) {
      const int bw = picture->GetWidth(), bh = picture->GetHeight();
      const int x0 = int(TileOrigin(FTileLeft, which == bcNormal ? fc : 0, ACol, false) % bw);
      const int y0 = int(TileOrigin(FTileTop, which == bcNormal ? fr : 0, ARow, true) % bh);
      HDC dc = Canvas->GetHandle();
      int saved = SaveDC(dc);
      IntersectClipRect(dc, A.Left, A.Top, A.Right, A.Bottom);
      for (int y = A.Top - 1, sy = y0; y < A.Bottom; y += bh - sy, sy = 0)
        for (int x = A.Left - 1, sx = x0; x < A.Right; x += bw - sx, sx = 0) {
          int w = std::min(bw - sx, A.Right - x), h = std::min(bh - sy, A.Bottom - y);
          Canvas->CopyRect(TRect{x, y, x + w, y + h}, picture->Canvas(), TRect{sx, sy, sx + w, sy + h});
        }
      RestoreDC(dc, saved);
      Canvas->Refresh();
    } else {
      DrawWallPaperFixed(A);
    }
  }
  const TBackGroundDisplay display = FBackGround->Display();
  const TCellType type = GetCellType(rcol, ARow);
  const bool controlCell =
      type == ctCheckBox || type == ctDataCheckBox || type == ctRadio || type == ctButton || type == ctRadioButton;
  if ((display == bdGradientHorz || display == bdGradientVert) && (!ownColor || controlCell) && chosen &&
      (!FShowSelection || (!AState.Contains(gdSelected) && !AState.Contains(gdFocused)) ||
       (AState.Contains(gdFocused) && !Options().Contains(goDrawFocusSelected)))) {
    const bool horz = display == bdGradientHorz;
    const int extent = horz ? ClientWidth() : ClientHeight();
    TColor from = GradientAt(FBackGround->Color(), FBackGround->ColorTo(), 0, extent, horz ? TR.Left : TR.Top);
    TColor to = GradientAt(FBackGround->Color(), FBackGround->ColorTo(), 0, extent, horz ? TR.Right : TR.Bottom);
    TRect g = TR;
    if (horz) --g.Right;
    else --g.Bottom;
    brush->SetColor(to);
    Canvas->Pen()->SetColor(to);
    DrawGradient(Canvas, from, to, 128, g, horz);
  }

  // 8. The selection rectangle and its resizer.
  if (SelectionRectangle) {
    TGridRect s = GetSelectionEx();
    if (ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom) {
      TPen* pen = Canvas->Pen();
      pen->SetColor(clBlack);
      pen->SetWidth(2);
      const int right = ACol == s.Right ? TR.Right - 1 : TR.Right;
      if (ACol == s.Left) {
        Canvas->MoveTo(TR.Left - glw + 1, TR.Bottom);
        Canvas->LineTo(TR.Left - glw + 1, TR.Top - glw);
      }
      if (ACol == s.Right) {
        Canvas->MoveTo(TR.Right - 1, TR.Top - glw);
        Canvas->LineTo(TR.Right - 1, TR.Bottom);
      }
      if (ARow == s.Top) {
        Canvas->MoveTo(TR.Left - glw, TR.Top - glw + 1);
        Canvas->LineTo(right, TR.Top - glw + 1);
      }
      if (ARow == s.Bottom) {
        Canvas->MoveTo(TR.Left - glw, TR.Bottom);
        Canvas->LineTo(right, TR.Bottom);
      }
      if (SelectionResizer && ACol == s.Right && ARow == s.Bottom) {
        TRect cr = CellRect(ACol, ARow);
        brush->SetColor(clBlack);
        Canvas->Rectangle(TRect{TR.Right - 4, TR.Bottom - 4, cr.Right, cr.Bottom});
      }
      pen->SetWidth(1);
    }
  }

  // 9. The text goes beside the graphic, or not at all.
  if (!P.BesideText) return;
  TR.Left += XYOffset.X;
  TR.Top += XYOffset.Y;
  if (!XYOffsetOnce) TR.Right -= XYOffset.X;
  int reserved = 0;
  switch (P.GraphicHAlign) {
    case haBeforeText: TR.Left += P.GraphicWidth; break;
    case haAfterText: TR.Right -= P.GraphicWidth; break;
    case haLeft: reserved = P.GraphicWidth; break;
    default: break;
  }
  if (P.GraphicVAlign == vaAboveText) TR.Top += P.GraphicHeight;
  else if (P.GraphicVAlign == vaUnderText) TR.Bottom -= P.GraphicHeight;
  if (rcol == 0 && HasNodes() && !IsNode(ARow)) TR.Left += NodeIndent(ARow);

  // 10. The text by its kind.
  const bool sortHeader = IsSortHeader(ACol, ARow);
  TSortSettings* ss = FSortSettings.get();
  const bool showMark = sortHeader && (FSortIndexes->Count() == 0 || ss->IndexShow ||
                                       FSortIndexes->GetSortColumns(0) == rcol);
  int markX = -1;
  TRect markRect = TR;
  if (kind == ttHTML) {
    if (filtered) TR.Right -= 18;
    TR.Left -= 1;
    if (sortHeader) TR.Right -= 10;
    std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot, ctl;
    HTMLDrawEx(Canvas, text, TR, FGridImages, 0, 0, -1, -1, 1, false, false, false, false, BlinkPhase, false,
               !EnhTextSize, HTMLButtonPressed, 1.0, link, clNone, clNone, clGray, anchor, plain, focused, title, ex,
               ey, links, hit, hot, ctl, ctlID, ctlValue, ctlType, nullptr,
               dynamic_cast<TPictureContainer*>(FPictureContainer), HandleAllocated() ? Handle() : nullptr);
    P.TextWidth = ex + 2;
    markX = TR.Right + 2;
    markRect = TR;
  } else if (kind == ttRTF) {
    Canvas->Pen()->SetColor(brush->GetColor());
    if (!(AState.Contains(gdSelected) && !AState.Contains(gdFocused) && FSelectionColor == clNone))
      Canvas->FillRect(TR);
    brush->SetStyle(bsClear);
    if (RichEdit(0) && !Designing()) {
      RTFPaint(rcol, ARow, TR, Canvas);
    } else {
      std::string plain = RichToPlainText(text);
      TRect r = TR;
      Canvas->TextRect(r, plain, TTextFormat{tfNoPrefix, tfWordBreak});
    }
    brush->SetStyle(bsSolid);
    font->SetColor(clBlack);
  } else if (kind == ttUnicode) {
    std::u16string wide = DecodeWideStr(text);
    if (sortHeader) {
      TR.Right -= 10;
      markX = TR.Right + 3;
    }
    std::string shown = Utf16ToUtf8(wide);
    TTextFormat fmt = TTextFormat{tfEndEllipsis, tfNoPrefix} + AlignFlags(P.HAlign) + VAlignFlags(P.VAlign);
    fmt += P.WordWrap || Multilinecells ? TTextFormat{tfWordBreak} : TTextFormat{tfSingleLine};
    brush->SetStyle(bsClear);
    TRect r = TR;
    Canvas->TextRect(r, shown, fmt);
    brush->SetStyle(bsSolid);
    markRect = TR;
  } else {
    // Plain text.
    const bool sortedColumn = ss->Show && ss->Column == rcol;
    if (sortedColumn && ARow == ss->Row() && P.HAlign == taCenter) TR.Left += 10;
    if (ARow == 0 && ss->Show && (ss->Column == rcol || FSortIndexes->FindIndex(rcol) >= 0)) {
      if (P.HAlign == taLeftJustify) TR.Right -= 14;
      else TR.Left += 14;
    }
    bool url = false;
    if (FURLShow && IsURL(text)) {
      url = true;
      if (!URLFull) {
        size_t p = text.find("://");
        if (p != std::string::npos) text = text.substr(p + 3);
        else if (text.rfind("mailto:", 0) == 0) text = text.substr(7);
      }
      font->SetStyle(font->GetStyle() + fsUnderline);
      font->SetColor(link);
    }
    TTextFormat fmt{tfEditControl};
    bool wrap = P.WordWrap;
    if (LinesInText(text, Multilinecells) == 1 && !wrap) {
      size_t brk = text.find_first_of("\r\n");
      if (brk != std::string::npos) text = text.substr(0, brk);
      fmt += tfSingleLine;
      if (EnhTextSize) fmt += tfEndEllipsis;
    } else if (wrap && EnhTextSize && !Multilinecells) {
      fmt += tfEndEllipsis;
    }
    fmt += TTextFormat{tfNoPrefix, tfExpandTabs};
    fmt += WrapFlags(wrap, Multilinecells) + AlignFlags(P.HAlign) + VAlignFlags(P.VAlign);
    if (filtered) TR.Right -= 16;
    int width = 0;
    if (P.Graphic) {
      TRect calc = TR;
      std::string t = text;
      Canvas->TextRect(calc, t, fmt + tfCalcRect);
      width = calc.Right - calc.Left;
      P.TextWidth = width + 2;
    } else if (sortHeader) {
      width = Canvas->TextWidth(text);
    }
    brush->SetStyle(bsClear);
    TRect r = TR;
    Canvas->TextRect(r, text, fmt);
    brush->SetStyle(bsSolid);
    if (P.Graphic && P.Graphic->CellType == ctEmpty && markLen > 0)
      DrawErrorLines(this, Canvas, text, TR, 0, markFrom, markLen);
    // The sort mark beside the text.
    TR = afterFilter;
    if (filtered) TR.Right -= 16;
    markRect = TR;
    const int room = std::max(0, std::min(width, TR.Right - TR.Left - 16));
    if (P.HAlign == taLeftJustify) markX = TR.Left + room + reserved + 10;
    else if (P.HAlign == taRightJustify) markX = TR.Right - room - 10;
    else markX = TR.Left + 8;
    if (url) font->SetStyle(font->GetStyle() - fsUnderline);
  }

  // 11. The sort mark.
  if (showMark && markX >= 0) {
    int y = (markRect.Top + markRect.Bottom) / 2;
    if (P.VAlign == vtaTop) y = markRect.Top + 8;
    else if (P.VAlign == vtaBottom) y = markRect.Bottom - 8;
    DrawSortIndicator(Canvas, rcol, markX, y);
  }
}

// The per-side borders of a cell: GetCellBorder picks the sides and the pen,
// OnGetCellBorderProp may give each side a pen of its own. They are drawn over the grid
// lines, half a pen width inside the cell.
void TDavEvadurAvuz::DrawCellBorders(TCanvas* Canvas, int ACol, int ARow, const TRect& R) {
  int rcol = RemapCol(ACol) < 0 ? ACol : RemapCol(ACol);
  TPen saved;
  saved.Assign(Canvas->Pen());
  TCellBorders borders;
  GetCellBorder(rcol, ARow, Canvas->Pen(), borders);
  if (!borders.Empty()) {
    TPen left, top, right, bottom;
    for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(Canvas->Pen());
    if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, rcol, &left, &top, &right, &bottom);
    const TRect TR{R.Left, R.Top, R.Right + 1, R.Bottom + 1};
    const int p = Canvas->Pen()->GetWidth();
    const int h = Options().Contains(goVertLine) ? (p + 1) / 2 : 0;
    const int v = Options().Contains(goHorzLine) ? (p + 1) / 2 : 0;
    const TRect B{TR.Left + h, TR.Top + v, TR.Right - h, TR.Bottom - v};
    const int lw = GridLineWidth();
    if (borders.Contains(cbLeft)) {
      Canvas->Pen()->Assign(&left);
      Canvas->MoveTo(B.Left - h, B.Top - v);
      Canvas->LineTo(B.Left - h, B.Bottom);
    }
    if (borders.Contains(cbRight)) {
      Canvas->Pen()->Assign(&right);
      Canvas->MoveTo(B.Right - 1, B.Top);
      Canvas->LineTo(B.Right - 1, B.Bottom);
    }
    if (borders.Contains(cbTop)) {
      Canvas->Pen()->Assign(&top);
      const int y = lw == 0 ? B.Top + 1 : B.Top - lw;
      Canvas->MoveTo(B.Left, y);
      Canvas->LineTo(B.Right, y);
    }
    if (borders.Contains(cbBottom)) {
      Canvas->Pen()->Assign(&bottom);
      Canvas->MoveTo(B.Left - lw - 1, B.Bottom - 1);
      Canvas->LineTo(B.Right, B.Bottom - 1);
    }
  }
  Canvas->Pen()->Assign(&saved);
}
