// VezIdid, cell graphics: the size and placement of a cell's adornment and its drawing,
// with the check box, radio button and sort mark painters the text layer and printing share.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/SysUtils.h"

namespace {
bool IsCheckKind(TCellType T) {
  return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox;
}

// The number a cell text holds; 0 for an empty or non-numeric text.
double CellNumber(const std::string& S) {
  std::string t = Trim(S);
  if (t.empty()) return 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || !std::isfinite(v)) return 0;
  return v;
}

int Truncated(double V) {
  if (!std::isfinite(V)) return 0;
  return static_cast<int>(std::clamp(std::trunc(V), -2147483648.0, 2147483647.0));
}


// Moves R's Left and Top to the origin of rotated text (the grid's rule, shared with
// printing).
void PlaceRotatedText(TRect& R, TAlignment HA, TVAlignment VA, int Angle, int wc, int hs, int ws, int hc) {
  TDavEvadurAvuz::PlaceRotatedText(R, HA, VA, Angle, wc, hs, ws, hc);
}

// The start point of text S drawn at Angle degrees in R (shrunk by 2) by the alignments.
TPoint CalcTextPos(TCanvas* Canvas, TRect R, int Angle, const std::string& S, TAlignment HA, TVAlignment VA) {
  TSize sz = Canvas->TextExtent(S);
  R = TRect{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  const double a = Angle * M_PI / 180.0;
  const int wc = std::abs(Truncated(std::cos(a) * sz.cx)), hs = std::abs(Truncated(std::sin(a) * sz.cy));
  const int ws = std::abs(Truncated(std::sin(a) * sz.cx)), hc = std::abs(Truncated(std::cos(a) * sz.cy));
  PlaceRotatedText(R, HA, VA, Angle, wc, hs, ws, hc);
  return TPoint{R.Left, R.Top};
}

// One themed part into R; false when no theme data could be opened.
bool DrawThemed(HWND Window, TCanvas* Canvas, const char* ClassName, int Part, int State, const TRect& R) {
  HTHEME theme = OpenThemeData(Window, ClassName);
  if (!theme) return false;
  RECT rc{R.Left, R.Top, R.Right, R.Bottom};
  DrawThemeBackground(theme, Canvas->GetHandle(), Part, State, &rc, nullptr);
  CloseThemeData(theme);
  return true;
}

void FrameControl(TCanvas* Canvas, TRect R, UINT Type, UINT State) {
  RECT rc{R.Left, R.Top, R.Right, R.Bottom};
  DrawFrameControl(Canvas->GetHandle(), &rc, Type, State);
}
}  // namespace

// ---------------------------------------------------------------------------------------
// Size and alignment.
TCellGraphic* TDavEvadurAvuz::GetGraphicDetails(int ACol, int ARow, int& Width, int& Height, bool& BesideText,
                                                TCellHAlign& HAlign, TCellVAlign& VAlign) {
  Width = Height = 0;
  BesideText = true;
  HAlign = haLeft;
  VAlign = vaTop;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return nullptr;
  HAlign = g->CellHAlign;
  VAlign = g->CellVAlign;
  GraphicSize(g, ACol, ARow, Width, Height, BesideText);
  return g;
}

void TDavEvadurAvuz::GraphicSize(TCellGraphic* g, int ACol, int ARow, int& Width, int& Height, bool& BesideText) {
  Width = Height = 0;
  BesideText = true;
  const int check = FControlLook->CheckBoxSize();
  auto size = [&](int W, int H) {
    Width = W;
    Height = H;
  };
  switch (g->CellType) {
    case ctBitmap:
      if (auto* b = dynamic_cast<TBitmap*>(g->CellRef.Object)) size(b->GetWidth(), b->GetHeight());
      break;
    case ctIcon:
      if (auto* i = dynamic_cast<TIcon*>(g->CellRef2.Object)) size(i->GetWidth(), i->GetHeight());
      break;
    case ctImageList:
    case ctDataImage:
      if (FGridImages) size(FGridImages->GetWidth(), FGridImages->GetHeight());
      BesideText = g->CellType == ctImageList;
      break;
    case ctCheckBox: size(check, check); break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      size(check, check);
      BesideText = false;
      break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress: BesideText = false; break;
    case ctImages:
      if (auto* l = dynamic_cast<TIntList*>(g->CellRef.Object); l && FGridImages) {
        const int n = l->Count(), w = FGridImages->GetWidth(), h = FGridImages->GetHeight();
        if (g->CellBoolean)
          size(n * w, h);
        else
          size(w, n * h);
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      const int dc = RemapColInv(ACol);
      int w = dc >= 0 && dc < ColCount() ? ColWidths(dc) : 0;
      int h = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
      g->GetPictureSize(w, h, !GetCellEx(ACol, ARow).empty());
      size(w, h);
      break;
    }
    case ctButton:
    case ctBitButton: size(g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF); break;
    case ctProgressPie: size(20, 20); break;
    case ctInterface:
      if (auto* i = dynamic_cast<ICellGraphic*>(g->CellRef.Object)) size(i->CellWidth(), i->CellHeight());
      break;
    case ctRadioButton: size(FControlLook->RadioSize() + 4, FControlLook->RadioSize() + 4); break;
    case ctShape: {
      const int s = (ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0) - 2 * XYOffset.Y;
      size(s, s);
      break;
    }
    case ctRating:
      size(g->CellAngle * 18, 16);
      BesideText = false;
      break;
    default: break;
  }
}

// ---------------------------------------------------------------------------------------
// Check boxes.
void TDavEvadurAvuz::DrawCheck(const TRect& ARect, bool Checked, bool Enabled, TGridControlStyle Style) {
  TCanvas* C = Canvas();
  if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->CheckAlwaysActive) Enabled = true;
  if (Style == csTheme && !(FIsComCtl6 && FIsWinXP)) Style = csClassic;
  const int cs = FControlLook->CheckBoxSize();
  if (Style == csTheme) {
    const int state = Checked ? (Enabled ? CBS_CHECKEDNORMAL : CBS_CHECKEDDISABLED)
                              : (Enabled ? CBS_UNCHECKEDNORMAL : CBS_UNCHECKEDDISABLED);
    if (DrawThemed(Handle(), C, "button", BP_CHECKBOX, state,
                   TRect{ARect.Left, ARect.Top, ARect.Left + cs, ARect.Top + cs}))
      return;
    Style = csClassic;  // no visual style in force
  }
  switch (Style) {
    case csClassic:
    case csFlat: {
      const int x = ARect.Left + (ARect.Width() - cs) / 2, y = ARect.Top + (ARect.Height() - cs) / 2;
      UINT state = DFCS_BUTTONCHECK;
      if (Style == csFlat) state |= DFCS_FLAT;
      if (Checked) state |= DFCS_CHECKED;
      if (!Enabled) state |= DFCS_INACTIVE;
      FrameControl(C, TRect{x, y, x + cs, y + cs}, DFC_BUTTON, state);
      break;
    }
    case csWinXP:
    case csZAD: {
      static const char* const kNames[2][4] = {{"DEACHK05", "DEACHK07", "DEACHK06", "DEACHK08"},
                                               {"DEACHK01", "DEACHK03", "DEACHK02", "DEACHK04"}};
      const int i = (Checked ? 0 : 2) + (Enabled ? 0 : 1);
      DrawBitmapResourceTransp(C, clNone, ARect, kNames[Style == csZAD][i]);
      break;
    }
    case csBorland: {
      const TRect r = ARect;
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
      C->Pen()->SetStyle(psSolid);
      C->Pen()->SetWidth(1);
      C->Pen()->SetColor(clBtnFace);
      C->Rectangle(r);
      C->Pen()->SetColor(clBtnHighlight);
      C->MoveTo(r.Left, r.Bottom - 1);
      C->LineTo(r.Left, r.Top);
      C->LineTo(r.Right - 1, r.Top);
      C->Pen()->SetColor(clBtnShadow);
      C->MoveTo(r.Right - 1, r.Top);
      C->LineTo(r.Right - 1, r.Bottom - 1);
      C->LineTo(r.Left, r.Bottom - 1);
      if (Checked) {
        // A tick two pixels thick from the left third down to the bottom and up to the right.
        C->Pen()->SetColor(Enabled ? FControlLook->Color() : clGray);
        const int w = r.Width(), h = r.Height();
        const int x0 = r.Left + w / 4, y0 = r.Top + h / 2 - 1;
        const int x1 = r.Left + w / 2 - 1, y1 = r.Bottom - h / 4 - 1;
        const int x2 = r.Right - w / 4, y2 = r.Top + h / 4;
        for (int d = 0; d < 2; ++d) {
          C->MoveTo(x0, y0 + d);
          C->LineTo(x1, y1 + d);
          C->LineTo(x2 + 1, y2 + d - 1);
        }
      }
      break;
    }
    case csGlyph: {
      TBitmap* b = Checked ? FControlLook->CheckedGlyph() : FControlLook->UnCheckedGlyph();
      if (b && !b->GetEmpty()) DrawBitmapTransp(C, b, clNone, ARect);
      break;
    }
    default: break;
  }
}

// ---------------------------------------------------------------------------------------
// Radio buttons.
void TDavEvadurAvuz::DrawRadio(TCanvas* Canvas, const TRect& ARect, int ACol, int ARow, bool Selected, bool Disabled,
                               TStrings* Captions, bool Horizontal, int Index, int Count, TGridControlStyle Style,
                               double Scale, bool Upward) {
  if (Count <= 0 || !Canvas) return;
  const TBrushStyle savedBrush = Canvas->Brush()->GetStyle();
  Canvas->Brush()->SetStyle(bsClear);
  if (FControlLook->NoDisabledCheckRadioLook() || FControlLook->RadioAlwaysActive) Disabled = false;
  if (Style == csTheme && !FIsWinXP) Style = csClassic;
  HTHEME theme = nullptr;
  if (Style == csTheme) {
    theme = OpenThemeData(Handle(), "button");
    if (!theme) Style = csClassic;
  }
  if (Selected && FShowSelection && FSelectionTextColor != clNone) Canvas->Font()->SetColor(FSelectionTextColor);
  const int d = Upward ? -1 : 1;
  const int rs = FControlLook->RadioSize();
  const int th = Canvas->TextHeight("gh");
  const int rw = ARect.Width(), rh = ARect.Height();
  const bool classic = Style == csClassic || Style == csFlat;
  const bool flat = FControlLook->ControlStyle() == csFlat;
  const std::string cellText = Captions && Index == -1 ? GetCellEx(ACol, ARow) : std::string();
  int q = 0;
  for (int i = 1; i <= Count; ++i) {
    const bool hasCaption = Captions && i - 1 < Captions->Count();
    const std::string caption = hasCaption ? Captions->Strings(i - 1) : std::string();
    // Without captions a group has no text to match: only the index checks an item.
    const bool checked = i == Index + 1 || (Index == -1 && Captions && hasCaption && caption == cellText);
    int x, y;
    TPoint at;
    if (classic) {
      const int s = static_cast<int>(std::nearbyint(Scale * (flat ? rs + 2 : rs)));
      const int srs = static_cast<int>(std::nearbyint(Scale * rs));
      if (Horizontal) {
        x = ARect.Left + 2 + (i - 1) * rs + q;
        y = ARect.Top + (rh - rs) / 2;
        at = TPoint{x + srs, y - 2};
      } else {
        y = ARect.Top + (i - 1) * th * d + 2;
        x = hasCaption ? ARect.Left + 2 : ARect.Left + (rw - srs) / 2;
        at = TPoint{ARect.Left + 2 + static_cast<int>(std::nearbyint(Scale * (rs + 4))), y - 2};
      }
      UINT state = DFCS_BUTTONRADIO;
      if (flat) state |= DFCS_FLAT;
      if (Disabled) state |= DFCS_INACTIVE;
      if (checked) state |= DFCS_CHECKED;
      FrameControl(Canvas, TRect{x, y, x + s, y + s}, DFC_BUTTON, state);
    } else {
      const int h = std::max(16, th);
      if (Horizontal) {
        x = ARect.Left + 2 + (i - 1) * 16 + q;
        y = ARect.Top + (rh - 16) / 2;
      } else {
        x = hasCaption ? ARect.Left + 2 : ARect.Left + (rw - 16) / 2;
        y = ARect.Top + (i - 1) * h * d + 2;
      }
      if (Style == csBorland || Style == csTheme)
        at = Horizontal ? TPoint{x + 16, y - 2} : TPoint{ARect.Left + 20, y - 2};
      else
        at = Horizontal ? TPoint{x + 16, y + 1} : TPoint{ARect.Left + 18, y + 1};
      if (Style == csBorland) {
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(clBtnFace);
        Canvas->Pen()->SetColor(clBtnFace);
        Canvas->Polygon({{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}});
        Canvas->Pen()->SetColor(checked ? clGray : clWhite);
        Canvas->MoveTo(x + 8, y + 14);
        Canvas->LineTo(x + 2, y + 8);
        Canvas->LineTo(x + 8, y + 2);
        Canvas->Pen()->SetColor(checked ? clWhite : clGray);
        Canvas->LineTo(x + 14, y + 8);
        Canvas->LineTo(x + 8, y + 14);
        if (checked) {
          Canvas->Brush()->SetColor(FControlLook->Color());
          Canvas->Pen()->SetColor(FControlLook->Color());
          Canvas->Polygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
        }
        Canvas->Brush()->SetStyle(bsClear);
      } else if (Style == csTheme) {
        const int state = checked ? (Disabled ? RBS_CHECKEDDISABLED : RBS_CHECKEDNORMAL)
                                  : (Disabled ? RBS_UNCHECKEDDISABLED : RBS_UNCHECKEDNORMAL);
        RECT rc{x, y, x + 16, y + 16};
        DrawThemeBackground(theme, Canvas->GetHandle(), BP_RADIOBUTTON, state, &rc, nullptr);
      } else if (Style == csGlyph) {
        TBitmap* b = checked ? FControlLook->RadioOnGlyph() : FControlLook->RadioOffGlyph();
        if (b && !b->GetEmpty()) DrawBitmapTransp(Canvas, b, clNone, TRect{x, y, x + 16, y + 16});
      } else {
        static const char* const kNames[2][4] = {{"DEARAD05", "DEARAD07", "DEARAD06", "DEARAD08"},
                                                 {"DEARAD01", "DEARAD03", "DEARAD02", "DEARAD04"}};
        const int k = (checked ? 0 : 2) + (Disabled ? 1 : 0);
        DrawBitmapResourceTransp(Canvas, clNone, TRect{x, y, x + 16, y + 16}, kNames[Style == csZAD][k]);
      }
    }
    if (hasCaption) {
      Canvas->Brush()->SetStyle(bsClear);
      Canvas->TextOut(at.X, at.Y, caption);
      if (Horizontal) q += Canvas->TextWidth(caption);
    }
  }
  if (theme) CloseThemeData(theme);
  Canvas->Brush()->SetStyle(savedBrush);
}

// ---------------------------------------------------------------------------------------
// Sort marks.
void TDavEvadurAvuz::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y) {
  if (!Canvas) return;
  TSortSettings* ss = FSortSettings.get();
  TPen* pen = Canvas->Pen();
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  if (ss->IndexShow) {
    int pos = -1;
    for (int i = 0; i < FSortIndexes->Count(); ++i)
      if (FSortIndexes->GetSortColumns(i) == ACol) {
        pos = i;
        break;
      }
    if (pos < 0) return;
    const bool descending = !FSortIndexes->GetSortDirections(pos);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(ss->IndexColor);
    pen->SetColor(clBlack);
    TBitmap* glyph = descending ? ss->IndexUpGlyph() : ss->IndexDownGlyph();
    if (glyph && !glyph->GetEmpty())
      DrawBitmapTransp(Canvas, glyph, clNone, TRect{X - 7, Y - 7, X + 9, Y + 9});
    else if (descending)
      Canvas->Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
    else
      Canvas->Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
    TFont saved;
    saved.Assign(Canvas->Font());
    Canvas->Font()->SetName(Font()->GetName());
    Canvas->Font()->SetStyle(TFontStyles{});
    Canvas->Font()->SetSize(6);
    Canvas->Font()->SetColor(clBlack);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->TextOut(X - 2, descending ? Y - 4 : Y - 2, IntToStr(pos + 1));
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Font()->Assign(&saved);
    return;
  }
  const bool descending = ss->Direction == sdDescending;
  TBitmap* glyph = descending ? ss->DownGlyph() : ss->UpGlyph();
  if (ss->DownGlyph() && !ss->DownGlyph()->GetEmpty() && ss->UpGlyph() && !ss->UpGlyph()->GetEmpty()) {
    DrawBitmapTransp(Canvas, glyph, clNone, TRect{X - 4, Y - 4, X + 12, Y + 12});
    return;
  }
  if (descending) {
    pen->SetColor(clGray);
    Canvas->MoveTo(X, Y + 4);
    Canvas->LineTo(X - 4, Y - 4);
    Canvas->LineTo(X + 4, Y - 4);
    pen->SetColor(clWhite);
    Canvas->LineTo(X, Y + 4);
  } else {
    pen->SetColor(clGray);
    Canvas->MoveTo(X - 4, Y + 4);
    Canvas->LineTo(X, Y - 4);
    pen->SetColor(clWhite);
    Canvas->LineTo(X + 4, Y + 4);
    Canvas->LineTo(X - 4, Y + 4);
  }
}

// ---------------------------------------------------------------------------------------
// The graphic layer of a cell.
void TDavEvadurAvuz::DrawGraphicLayer(TCanvas* Canvas, int ACol, int ARow, TRect R, TGridDrawState AState,
                                      TCellGraphic* G, TVAlignment VA, TAlignment HA, int TextWidth) {
  if (!G || !Canvas) return;
  const int rcol = RemapCol(ACol) < 0 ? ACol : RemapCol(ACol);
  const TRect cell = R;  // the rectangle as received
  const TCellType kind = G->CellType;
  int W = 0, H = 0;
  bool beside = true;
  GraphicSize(G, rcol, ARow, W, H, beside);
  TCellHAlign cha = G->CellHAlign;
  TCellVAlign cva = G->CellVAlign;
  if (kind == ctNode && rcol == 0) {
    TCellProperties* p = Props(0, ARow);
    W = (p ? p->NodeLevel : 0) * 12 + 4;
  }

  // 1. The inset, except for the kinds that fill the cell themselves.
  if (kind != ctNode && kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress) {
    R = TRect{R.Left + XYOffset.X - 1, R.Top + XYOffset.Y - 1, R.Right - (XYOffset.X - 1),
              R.Bottom - (XYOffset.Y - 1)};
  }
  int TW = TextWidth > 0 ? TextWidth + 2 : 0;
  const int rw = R.Width(), rh = R.Height();

  // 2. Horizontal placement.
  TRect GR = R;
  auto startAt = [&](int Left) {
    GR.Left = Left;
    GR.Right = Left + W;
  };
  auto clampLeft = [&] {
    if (GR.Left < R.Left) GR.Left = R.Left + 1;  // the right edge stays
  };
  switch (cha) {
    case haLeft: startAt(R.Left + 1); break;
    case haRight: startAt(R.Right - 1 - W); break;
    case haCenter: startAt(W < rw ? R.Left + (rw - W) / 2 : R.Left + 1); break;
    case haBeforeText:
      if (HA == taRightJustify)
        startAt(R.Right - TW - W);
      else if (HA == taCenter)
        startAt(R.Left + (rw - TW - W) / 2);
      else
        startAt(R.Left + 1);
      clampLeft();
      break;
    case haAfterText:
      if (HA == taRightJustify)
        startAt(R.Right - 1 - W);
      else if (HA == taCenter)
        startAt(R.Left + TW + (rw - TW - W) / 2);
      else
        startAt(R.Left + TW);
      clampLeft();
      break;
    case haFull: break;
  }

  // 3. Vertical placement; check boxes and radio buttons follow a cell's own text alignment.
  const bool control = IsCheckKind(kind) || kind == ctRadioButton;
  if (control && VA != VAlignment) cva = VA == vtaCenter ? vaCenter : VA == vtaBottom ? vaBottom : vaTop;
  switch (cva) {
    case vaTop:
    case vaAboveText: GR.Top = R.Top + 1; break;
    case vaBottom: GR.Top = R.Bottom - 1 - H; break;
    case vaCenter: GR.Top = H < rh ? R.Top + (rh - H) / 2 : R.Top + 1; break;
    case vaUnderText: GR.Top = R.Bottom - H; break;
    case vaFull: break;
  }
  if (cva != vaFull) GR.Bottom = GR.Top + H;

  // 4. Check boxes and radio buttons by the text alignment: beside their text, left of it.
  if (control) {
    const bool ownText = kind == ctCheckBox || kind == ctRadioButton;
    if (HA == taRightJustify) {
      GR.Right = (ownText ? R.Right - TW : R.Right) - 1;
      GR.Left = GR.Right - W;
    } else if (HA == taCenter) {
      if (ownText && TW > 0)
        startAt(R.Left + std::max(0, rw - W) / 2 - W);
      else
        startAt(R.Left + std::max(0, rw - W) / 2);
    } else {
      startAt(R.Left + 1);
    }
    if (GR.Left < R.Left) startAt(R.Left + 1);  // the box keeps its size
  }

  bool editable = true;
  GetCellReadOnly(rcol, ARow, editable);
  const TGridControlStyle style = FControlLook->ControlStyle();
  const bool selected =
      FShowSelection &&
      ((AState.Contains(gdSelected) && !FMouseActions->DisjunctRowSelect()) ||
       (FMouseActions->DisjunctRowSelect() && Options().Contains(goRowSelect) && ACol >= FixedCols() &&
        GetRowSelect(ARow)));
  const double value = kind == ctProgress || kind == ctRangeIndicator || kind == ctXPProgress || kind == ctRating ||
                               kind == ctDataImage
                           ? CellNumber(GetCellEx(rcol, ARow))
                           : 0;

  switch (kind) {
    case ctBitmap: {
      auto* b = dynamic_cast<TBitmap*>(G->CellRef.Object);
      if (!b || b->GetEmpty()) break;
      if (G->CellTransparent) {
        // The bitmap's background colour becomes the cell's (or the selection's) colour.
        TBitmap tmp;
        tmp.SetSize(b->GetWidth(), b->GetHeight());
        tmp.Canvas()->Brush()->SetColor(selected ? FSelectionColor : Canvas->Brush()->GetColor());
        const TRect full{0, 0, b->GetWidth(), b->GetHeight()};
        tmp.Canvas()->FillRect(full);
        tmp.Canvas()->BrushCopy(full, b, full, b->Canvas()->GetPixel(0, 0));
        Canvas->Draw(GR.Left, GR.Top, &tmp);
      } else {
        Canvas->Draw(GR.Left, GR.Top, b);
      }
      break;
    }
    case ctIcon:
      if (auto* i = dynamic_cast<TIcon*>(G->CellRef2.Object)) Canvas->Draw(GR.Left, GR.Top, i);
      break;
    case ctImageList:
      if (FGridImages && G->CellIndex >= 0 && G->CellIndex < FGridImages->Count())
        FGridImages->Draw(Canvas, GR.Left, GR.Top, G->CellIndex, true);
      break;
    case ctDataImage: {
      const int idx = Truncated(value) + G->CellIndex;
      if (FGridImages && idx >= 0 && idx < FGridImages->Count()) FGridImages->Draw(Canvas, GR.Left, GR.Top, idx, true);
      break;
    }
    case ctImages: {
      auto* l = dynamic_cast<TIntList*>(G->CellRef.Object);
      if (!FGridImages || !l) break;
      int x = GR.Left, y = GR.Top;
      for (int k = 0; k < l->Count(); ++k) {
        const int idx = l->GetInteger(k);
        if (idx >= 0 && idx < FGridImages->Count()) FGridImages->Draw(Canvas, x, y, idx, true);
        if (G->CellBoolean)
          x += FGridImages->GetWidth();
        else
          y += FGridImages->GetHeight();
      }
      break;
    }
    case ctPicture: {
      auto* p = dynamic_cast<TPicture*>(G->CellRef.Object);
      if (!p || !p->GetGraphic()) break;
      if (G->CellAngle != noStretch)
        Canvas->StretchDraw(GR, p->GetGraphic());
      else
        Canvas->Draw(GR.Left, GR.Top, p->GetGraphic());
      break;
    }
    case ctFilePicture:
      if (auto* p = dynamic_cast<TFilePicture*>(G->CellRef.Object)) p->DrawPicture(Canvas, GR);
      break;
    case ctCheckBox:
    case ctRowCheckBox: DrawCheck(GR, G->CellBoolean, editable, style); break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      DrawCheck(GR, GetCellEx(rcol, ARow) == GetCheckTrue(rcol, ARow), editable, style);
      break;
    case ctRadioButton: {
      const int rs = FControlLook->RadioSize();
      GR.Left += XYOffset.X;
      GR.Right = GR.Left + rs;
      GR.Bottom = GR.Top + rs;
      DrawRadio(Canvas, GR, rcol, ARow, false, !editable, nullptr, false, G->CellBoolean ? 0 : -1, 1, style, 1.0,
                false);
      break;
    }
    case ctRadio: {
      TStrings* options = G->CellStrings ? G->CellStrings : dynamic_cast<TStrings*>(G->CellRef.Object);
      const int count = options ? options->Count() : 0;
      DrawRadio(Canvas, R, rcol, ARow, AState.Contains(gdSelected), !editable, options, G->CellBoolean, G->CellIndex,
                count, style, 1.0, false);
      break;
    }
    case ctRotated: {
      GR = R;
      const std::string text = GetFormattedCell(rcol, ARow);
      const TPoint at = CalcTextPos(Canvas, GR, G->CellAngle, text, HA, VA);
      TFont* f = Canvas->Font();
      const int savedOrientation = f->GetOrientation();
      f->SetOrientation(G->CellAngle * 10);
      const TBrushStyle savedBrush = Canvas->Brush()->GetStyle();
      Canvas->Brush()->SetStyle(bsClear);
      const TRect clip{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
      Canvas->TextRect(clip, at.X, at.Y, text);
      Canvas->Brush()->SetStyle(savedBrush);
      f->SetOrientation(savedOrientation);
      if (FSortSettings->Show && FSortSettings->Column == rcol && ARow == FSortSettings->Row())
        DrawSortIndicator(Canvas, rcol, GR.Right - 10, GR.Top + 8);
      break;
    }
    case ctNode: DrawNodeButton(Canvas, ACol, ARow, R, G, selected); break;
    case ctProgress: {
      const double v = std::clamp(value, 0.0, 100.0);
      HTHEME theme = nullptr;
      if ((style == csWinXP || style == csTheme) && FIsWinXP && FControlLook->ProgressXP())
        theme = OpenThemeData(Handle(), "Progress");
      if (theme) {
        TRect b{R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                R.Right - FControlLook->ProgressMarginX(), R.Bottom - FControlLook->ProgressMarginY()};
        RECT rc{b.Left, b.Top, b.Right, b.Bottom};
        DrawThemeBackground(theme, Canvas->GetHandle(), PP_BAR, 0, &rc, nullptr);
        b = TRect{b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2};
        RECT chunk{b.Left, b.Top, b.Left + static_cast<int>(std::nearbyint(b.Width() * v / 100.0)), b.Bottom};
        if (chunk.right > chunk.left) DrawThemeBackground(theme, Canvas->GetHandle(), PP_CHUNK, 1, &chunk, nullptr);
        CloseThemeData(theme);
        break;
      }
      const TRect b{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
      const TColor bar = G->CellRef.Color, back = G->CellRef2.Color;
      const TColor barText = G->CellBoolean ? TColor(G->CellIndex) : TColor(ColorToRGB(bar) ^ 0xFFFFFF);
      const TColor backText = G->CellBoolean ? TColor(G->CellAngle) : TColor(ColorToRGB(back) ^ 0xFFFFFF);
      DrawProgressLin(Canvas, b, bar, barText, back, backText, value, FControlLook->ProgressMarginX(),
                      FControlLook->ProgressMarginY(), G->CellErrFrom, G->CellErrLen, G->CellText,
                      FControlLook->ProgressBorderColor, false);
      break;
    }
    case ctProgressPie:
      DrawProgressPie(Canvas, TRect{GR.Left, GR.Top, GR.Left + 20, GR.Top + 20}, G->CellRef.Color, G->CellAngle,
                      false);
      break;
    case ctRangeIndicator: {
      const TRect b{R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                    R.Right - FControlLook->ProgressMarginX(), R.Bottom - FControlLook->ProgressMarginY()};
      DrawRangeIndicator(Canvas, b, Truncated(value), G->CellIndex, G->CellBoolean, G->CellRef.Color,
                         G->CellRef2.Color);
      break;
    }
    case ctXPProgress: {
      TGridProgressAppearance* pa = FProgressAppearance.get();
      const TRect b{R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                    R.Right - FControlLook->ProgressMarginX() - 1, R.Bottom - FControlLook->ProgressMarginY() - 1};
      TGaugeSettings s;
      s.Level0Color = pa->Level0Color();
      s.Level0ColorTo = pa->Level0ColorTo();
      s.Level1Color = pa->Level1Color();
      s.Level1ColorTo = pa->Level1ColorTo();
      s.Level2Color = pa->Level2Color();
      s.Level2ColorTo = pa->Level2ColorTo();
      s.Level3Color = pa->Level3Color();
      s.Level3ColorTo = pa->Level3ColorTo();
      s.Level1Perc = pa->Level1Perc();
      s.Level2Perc = pa->Level2Perc();
      s.ShowBorder = pa->ShowBorder();
      s.BorderColor = pa->BorderColor();
      s.Stacked = pa->Stacked();
      s.ShowPercentage = pa->ShowPercentage();
      s.CompletionSmooth = pa->CompletionSmooth();
      s.ShowGradient = pa->ShowGradient();
      s.Steps = pa->Steps();
      s.BackgroundColor = pa->UnCompleteColor() != clNone ? pa->UnCompleteColor() : Canvas->Brush()->GetColor();
      // A copy of the grid's font in the complete colour: the grid's own font keeps its colour.
      TFont gaugeFont;
      gaugeFont.Assign(Font());
      gaugeFont.SetColor(pa->CompleteFontColor());
      s.Font = &gaugeFont;
      // An empty range (minimum = maximum) has nothing done.
      const int span = G->CellErrLen - G->CellErrFrom;
      const int pos = span != 0 ? Truncated(std::nearbyint(std::abs(Truncated(value) - G->CellErrFrom) /
                                                           static_cast<double>(span) * 100.0))
                                : 0;
      DrawGauge(Canvas, b, pos, s);
      break;
    }
    case ctComment: {
      if (FControlLook->CommentColor() == clNone) break;
      const TColor c = TColor(G->CellAngle) != clNone ? TColor(G->CellAngle) : FControlLook->CommentColor();
      Canvas->Brush()->SetStyle(bsSolid);
      Canvas->Brush()->SetColor(c);
      Canvas->Pen()->SetStyle(psSolid);
      Canvas->Pen()->SetWidth(1);
      Canvas->Pen()->SetColor(c);
      Canvas->Polygon({{cell.Right - 7, cell.Top}, {cell.Right - 2, cell.Top}, {cell.Right - 2, cell.Top + 5}});
      Canvas->Brush()->SetColor(Color());
      break;
    }
    case ctButton:
    case ctBitButton: DrawCellButton(Canvas, cell, GR, G, editable); break;
    case ctInterface:
      if (auto* i = dynamic_cast<ICellGraphic*>(G->CellRef.Object)) {
        TRect r{R.Left - 1, R.Top - 1, R.Right, R.Bottom};
        i->Draw(Canvas, r, rcol, ARow, AState.Contains(gdSelected), this);
      }
      break;
    case ctShape:
      DrawShape(Canvas, GR.Left, GR.Top, GR.Width() - 1, GR.Height() - 1, static_cast<TCellShape>(G->CellAngle & 0xFF),
                TColor(G->CellIndex), G->CellRef.Color);
      break;
    case ctRating: {
      const double halves = Truncated(value * 2) / 2.0;
      const TColor full = TColor(G->CellIndex), empty = G->CellRef.Color;
      for (int n = 1; n <= G->CellAngle; ++n) {
        const int x = GR.Left + (n - 1) * 18;
        if (n <= halves) {
          DrawShape(Canvas, x, GR.Top, 16, 16, csStar, full, full);
        } else {
          DrawShape(Canvas, x, GR.Top, 16, 16, csStar, empty, empty);
          if (n - 1 < halves) DrawShape(Canvas, x, GR.Top, 16, 16, csHalfStar, full, full);
        }
      }
      break;
    }
    default: break;
  }
}

// A button in a cell: its offset in the cell is kept in CellValue for the mouse handling.
void TDavEvadurAvuz::DrawCellButton(TCanvas* Canvas, const TRect& Cell, TRect GR, TCellGraphic* G, bool Editable) {
  G->CellValue = (GR.Left - Cell.Left) + 65536.0 * (GR.Top - Cell.Top);
  const bool enabled = FControlLook->NoDisabledButtonLook() ? true : Editable;
  const bool pressed = G->CellBoolean;
  if (FIsWinXP) {
    if (IsThemeActive()) {
      const int state = !enabled ? PBS_DISABLED : pressed ? PBS_PRESSED : PBS_NORMAL;
      DrawThemed(Handle(), Canvas, "button", BP_PUSHBUTTON, state, GR);
    }
  } else {
    UINT state = DFCS_BUTTONPUSH;
    if (FControlLook->FlatButton()) state |= DFCS_FLAT;
    if (pressed) state |= DFCS_PUSHED;
    FrameControl(Canvas, GR, DFC_BUTTON, state);
  }
  const int inset = pressed ? 3 : 2;
  GR = TRect{GR.Left + inset, GR.Top + inset, GR.Right - inset, GR.Bottom - inset};
  if (G->CellType == ctBitButton) {
    auto* b = dynamic_cast<TBitmap*>(G->CellRef.Object);
    if (b && !b->GetEmpty()) {
      DrawBitmapTransp(Canvas, b, clNone, TRect{GR.Left + 1, GR.Top + 1, GR.Left + 1 + b->GetWidth(),
                                                GR.Top + 1 + b->GetHeight()});
      GR.Left += 1 + b->GetWidth() + 2;
    }
  }
  std::string caption = G->CellText;
  if (caption.empty()) return;
  TTextFormat fmt{tfCenter, tfVerticalCenter, tfEndEllipsis};
  fmt += caption.find('\r') != std::string::npos ? tfWordBreak : tfSingleLine;
  TRect tr{GR.Left + 1, GR.Top, GR.Right + 1, GR.Bottom};
  const TBrushStyle savedBrush = Canvas->Brush()->GetStyle();
  const TColor savedColor = Canvas->Brush()->GetColor();
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextRect(tr, caption, fmt);
  Canvas->Brush()->SetStyle(savedBrush);
  Canvas->Brush()->SetColor(savedColor);
}

// The node button of a ctNode cell with the short tree lines beside it.
void TDavEvadurAvuz::DrawNodeButton(TCanvas* Canvas, int ACol, int ARow, TRect R, TCellGraphic* G, bool Selected) {
  TCellNode* cn = FCellNode.get();
  const TRect cellRect = R;
  const int indent = cn->NodeIndent();
  const bool collapsed = G->CellBoolean;
  // The indent of a row: its node level (column 0's properties) times the node indent.
  auto indentOf = [&](int Row) {
    if (HasNodes()) return NodeIndent(Row);
    TCellProperties* p = Row >= 0 && Row < RowCount() ? Props(0, Row) : nullptr;
    return p ? p->NodeLevel * indent : 0;
  };
  R.Left = indentOf(ARow) - indent;
  if (cn->ShowTree() && ARow >= FixedRows()) {
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(cn->TreeColor());
    const int x = R.Left + indent / 2 + 2;
    const int here = indentOf(ARow);
    const int next = ARow + 1 < RowCount() ? indentOf(ARow + 1) : 0;
    if (next > 0 && !(collapsed && next < here)) {
      Canvas->MoveTo(x, R.Top + R.Height() / 2);
      Canvas->LineTo(x, R.Bottom);
    }
    if (ARow > 0 && indentOf(ARow - 1) >= here) {
      Canvas->MoveTo(x, R.Top);
      Canvas->LineTo(x, R.Top + 6);
    }
  }
  if (ACol < FixedCols() && !Flat && (FLook == glSoft || FLook == glZAD || FLook == glXP || FLook == glListView))
    ++R.Left;
  R.Left = indentOf(ARow) - indent / 2 - 4;
  TColor back = Canvas->Brush()->GetColor();
  if (back == clNone) back = FixedCols() == 0 ? Color() : FixedColor();
  if (Selected) back = FSelectionColor;
  const int mid = R.Top + R.Height() / 2;
  TBitmap* expand = cn->ExpandGlyph();
  TBitmap* contract = cn->ContractGlyph();
  switch (cn->NodeType()) {
    case cnLeaf:
      DrawBitmapResourceTransp(Canvas, back, TRect{R.Left, mid - 6, R.Left + 12, mid + 6},
                               collapsed ? "DEALEAFCLOSE" : "DEALEAFOPEN");
      return;
    case cnXP:
      DrawBitmapResourceTransp(Canvas, back, TRect{R.Left + 4, mid - 5, R.Left + 14, mid + 5},
                               collapsed ? "XPNODEC" : "XPNODEO");
      return;
    case cnGlyph:
      if (expand && contract && !expand->GetEmpty() && !contract->GetEmpty()) {
        TBitmap* b = collapsed ? contract : expand;
        const int y = mid - b->GetHeight() / 2;
        DrawBitmapTransp(Canvas, b, back, TRect{R.Left, y, R.Left + b->GetWidth(), y + b->GetHeight()});
        return;
      }
      break;
    case cn3D: {
      Canvas->Brush()->SetStyle(bsSolid);
      const TRect& c = cellRect;
      Canvas->Brush()->SetColor(cn->Color);
      Canvas->FillRect(c);
      Canvas->Pen()->SetColor(clWhite);
      Canvas->MoveTo(c.Left, c.Bottom - 1);
      Canvas->LineTo(c.Left, c.Top);
      Canvas->LineTo(c.Right - 1, c.Top);
      Canvas->Pen()->SetColor(clGray);
      Canvas->LineTo(c.Right - 1, c.Bottom - 1);
      Canvas->LineTo(c.Left, c.Bottom - 1);
      break;
    }
    default: break;
  }
  // The plain box: 8 x 8 from R.left + 4, vertically centred.
  const int x = R.Left + 4, y = mid - 4;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(cn->Color);
  if (cn->NodeType() == cnFlat) {
    Canvas->Pen()->SetColor(cn->NodeColor);
    Canvas->Rectangle(x, y, x + 9, y + 9);
    Canvas->MoveTo(x + 1, y + 3);
    Canvas->LineTo(x + 6, y + 3);
    if (collapsed) {
      Canvas->MoveTo(x + 3, y + 1);
      Canvas->LineTo(x + 3, y + 6);
    }
  } else {
    Canvas->FillRect(TRect{x, y, x + 8, y + 8});
    RECT rc{x, y, x + 8, y + 8};
    DrawEdge(Canvas->GetHandle(), &rc, collapsed ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_SOFT);
  }
}
