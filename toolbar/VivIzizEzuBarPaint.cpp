// The tool bar's look: caption band, body, bevel, drag grip, right handle or caption
// option button, rounded corners and border, and the geometry the mouse handling shares.
#include <algorithm>

#include "platform/gdi/Text.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuDraw.h"

namespace VivIzizEzu {

namespace {

void Solid(TCanvas* C, TColor Color, const TRect& R) {
  if (Color == clNone) return;
  C->Pen()->SetColor(Color);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->Rectangle(R);
}

void Frame(TCanvas* C, TColor Color, const TRect& R) {
  if (Color == clNone) return;
  C->Pen()->SetColor(Color);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(R);
}

void Line(TCanvas* C, TColor Color, int X1, int Y1, int X2, int Y2) {
  C->Pen()->SetColor(Color);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

// A caption pair: a gradient when both are set, solid in the first when one is, nothing
// when neither is.
void CaptionFill(TCanvas* C, TColor From, TColor To, const TRect& R) {
  if (From != clNone && To != clNone) DrawGradient(C, From, To, false, R, 80);
  else if (From != clNone || To != clNone) Solid(C, From != clNone ? From : To, R);
}

int DrawTextRect(TCanvas* C, const std::string& Text, TRect& R, UINT Format) {
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  const int h = DrawText(C->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &r, Format);
  R = TRect{r.left, r.top, r.right, r.bottom};
  return h;
}

std::string Narrow(const std::u16string& W) {
  std::string s;
  for (char16_t ch : W) {
    if (ch < 0x80) s += char(ch);
    else if (ch < 0x800) {
      s += char(0xC0 | (ch >> 6));
      s += char(0x80 | (ch & 0x3F));
    } else {
      s += char(0xE0 | (ch >> 12));
      s += char(0x80 | ((ch >> 6) & 0x3F));
      s += char(0x80 | (ch & 0x3F));
    }
  }
  return s;
}

}  // namespace

// A three-pixel ridge between two points, raised (white first) or sunken.
void Draw3DLine(TCanvas* Canvas, TPoint P1, TPoint P2, bool Raised, bool Vertical) {
  const TColor first = Raised ? clWhite : clBtnShadow;
  const TColor second = Raised ? clBtnShadow : clWhite;
  Canvas->Pen()->SetWidth(1);
  if (Vertical) {
    Canvas->Pen()->SetColor(first);
    Canvas->Polyline({{P1.X - 1, P1.Y - 1}, {P2.X - 1, P2.Y}, {P2.X + 1, P2.Y}});
    Canvas->Pen()->SetColor(second);
    Canvas->Polyline({{P2.X + 1, P2.Y}, {P2.X + 1, P1.Y}, {P2.X - 1, P1.Y}});
  } else {
    Canvas->Pen()->SetColor(first);
    Canvas->Polyline({{P1.X - 1, P1.Y + 1}, {P1.X - 1, P1.Y - 1}, {P2.X + 1, P2.Y - 1}});
    Canvas->Pen()->SetColor(second);
    Canvas->Polyline({{P2.X + 1, P2.Y - 1}, {P2.X + 1, P2.Y + 1}, {P1.X, P1.Y + 1}});
  }
}

// ---- geometry ---------------------------------------------------------------------------
TRect TDizCustomToolBar::GetCaptionRect() {
  TRect cr = ClientRect();
  if (FState == tsFloating) {
    cr.Bottom = cr.Top + FCaptionHeight;
    return cr;
  }
  if (!FShowCaption) return TRect{0, 0, 0, 0};
  if (IsHorizontal(FPosition)) {
    if (FCaptionPosition == cpTop) cr.Bottom = cr.Top + FCaptionHeight;
    else cr.Top = cr.Bottom - FCaptionHeight;
  } else {
    if (FCaptionPosition == cpTop) cr.Right = cr.Left + FCaptionHeight;
    else cr.Left = cr.Right - FCaptionHeight;
  }
  return cr;
}

TRect TDizCustomToolBar::GetMyClientRect() {
  TRect r = ClientRect();
  const TRect cr = GetCaptionRect();
  if (FState == tsFloating) {
    r.Top = cr.Bottom;
  } else if (FShowCaption) {
    if (IsHorizontal(FPosition)) {
      if (FCaptionPosition == cpTop) r.Top = cr.Bottom;
      else r.Bottom = cr.Top;
    } else {
      if (FCaptionPosition == cpTop) r.Left = cr.Right;
      else r.Right = cr.Left;
    }
  }
  return r;
}

TRect TDizCustomToolBar::FWCloseBtnRect() {
  if (FState != tsFloating || !FShowClose) return TRect{0, 0, 0, 0};
  const TRect cr = GetCaptionRect();
  return TRect{cr.Right - FCaptionHeight - 1, cr.Top + 1, cr.Right - 1, cr.Bottom - 1};
}

TRect TDizCustomToolBar::FWCustomizedBtnRect() {
  if (FState != tsFloating || !FShowOptionIndicator) return TRect{0, 0, 0, 0};
  if (!FShowClose) {
    const TRect cr = GetCaptionRect();
    return TRect{cr.Right - FCaptionHeight - 1, cr.Top + 1, cr.Right - 1, cr.Bottom - 1};
  }
  const TRect x = FWCloseBtnRect();
  return TRect{x.Left - FCaptionHeight - 2, x.Top, x.Left - 2, x.Bottom};
}

TRect TDizCustomToolBar::GetOptionIndicatorRect() {
  if (!FShowOptionIndicator || FShowRightHandle || FState == tsFloating || !FShowCaption ||
      !IsHorizontal(FPosition))
    return TRect{-1, -1, -1, -1};
  const TRect cr = GetCaptionRect();
  return TRect{cr.Right - FCaptionHeight + 1, cr.Top + 2, cr.Right - 1, cr.Bottom - 1};
}

TRect TDizCustomToolBar::GripRect() const {
  if (Horizontal()) return TRect{1, 1, FDragGripWidth, Height()};
  return TRect{1, 1, Width(), FDragGripWidth};
}

TRect TDizCustomToolBar::RightHandleRect() const {
  const int W = Width(), H = Height();
  TRect r = Horizontal() ? TRect{W - FPopupIndicatorWidth, 0, W + 1, H + 1}
                         : TRect{0, H - FPopupIndicatorWidth, W, H};
  if (!FStylerInForce->RoundEdges()) {
    if (Horizontal()) r = TRect{r.Left - 1, r.Top + 1, r.Right - 2, r.Bottom - 2};
    else r = TRect{r.Left + 1, r.Top, r.Right - 1, r.Bottom - 1};
  }
  return r;
}

void TDizCustomToolBar::SetHover(bool Value) {
  if (FHover == Value) return;
  FHover = Value;
  Invalidate();
}
void TDizCustomToolBar::SetRightHandleHot(bool Value) {
  FRightHandleHot = Value;
  Invalidate();
}
void TDizCustomToolBar::SetRightHandleDown(bool Value) {
  FRightHandleDown = Value;
  Invalidate();
}
void TDizCustomToolBar::SetOptionButtonHot(bool Value) {
  FOptionBtnHot = Value;
  Invalidate();
}
void TDizCustomToolBar::SetOptionButtonDown(bool Value) {
  FOptionBtnDown = Value;
  Invalidate();
}

// ---- paint ------------------------------------------------------------------------------
void TDizCustomToolBar::Paint() {
  if (FUpdateCount > 0) return;
  FInPaint = true;
  TCustomControl::Paint();
  FFirstPaint = false;
  const TRect cr = GetCaptionRect();
  const TRect ir = GetMyClientRect();
  TCanvas* c = Canvas();
  if (FState == tsFloating) {
    // The floating caption.
    TCaptionAppearance* ca = FStylerInForce->CaptionAppearance();
    CaptionFill(c, ca->CaptionColor(), ca->CaptionColorTo(), cr);
    Frame(c, ca->CaptionBorderColor(), cr);
    const std::string text = !Caption().empty() ? Caption() : Narrow(FWideCaption);
    if (!text.empty()) {
      c->SetFont(FParentStyler ? FStylerInForce->CaptionFont() : FCaptionFont.get());
      c->Font()->SetColor(ca->CaptionTextColor());
      c->Brush()->SetStyle(bsClear);
      int x = cr.Right;
      if (FShowOptionIndicator) x = FWCustomizedBtnRect().Left;
      else if (FShowClose) x = FWCloseBtnRect().Left;
      TRect t{cr.Left + 3, cr.Top, x, cr.Bottom};
      DrawTextRect(c, text, t, DT_SINGLELINE | DT_VCENTER);
    }
  } else if (FShowCaption) {
    PaintCaptionBand(cr);
  }
  const TRect F{ir.Left, ir.Top, ir.Right + 1, ir.Bottom + 1};
  TColor border = clNone;
  bool rounded = false;
  TColor body = FStylerInForce->Color()->Color();
  PaintBody(F, border, rounded);
  PaintBevel();
  DrawDragGrip();
  DrawPopupIndicator();
  if (rounded && FStylerInForce->Bevel() == bvNone) PaintCorners(F, body, rounded);
  if (FState != tsFloating) PaintBorder(F, border, rounded);
  DrawMDIButtons();
  CheckAndUpdateRUList();
  FInPaint = false;
}

void TDizCustomToolBar::PaintCaptionBand(const TRect& CR) {
  TCaptionAppearance* own = FStylerInForce->CaptionAppearance();
  TColor col = own->CaptionColor(), colTo = own->CaptionColorTo(), brd = own->CaptionBorderColor(),
         txt = own->CaptionTextColor();
  TCanvas* c = Canvas();
  if (FHover) {
    if (own->CaptionColorHot() != clNone) col = own->CaptionColorHot();
    if (own->CaptionColorHotTo() != clNone) colTo = own->CaptionColorHotTo();
    if (own->CaptionBorderColorHot() != clNone) brd = own->CaptionBorderColorHot();
    if (own->CaptionTextColorHot() != clNone) txt = own->CaptionTextColorHot();
  }
  CaptionFill(c, col, colTo, CR);
  Frame(c, brd, CR);
  const std::string text = !Caption().empty() ? Caption() : Narrow(FWideCaption);
  if (text.empty()) return;
  const TDragGripStyle grip = Page() ? dsNone : FStylerInForce->DragGripStyle();
  TRect t = CR;
  const int lead = grip == dsNone ? 3 : FDragGripWidth + 3;
  const bool h = IsHorizontal(FPosition);
  if (h) t.Left += lead;
  else t.Top += lead;
  if (FShowPopupIndicator && FShowRightHandle && !FFullSize) {
    if (h) t.Right -= FPopupIndicatorWidth + 2;
    else t.Bottom -= FPopupIndicatorWidth + 2;
  }
  c->SetFont(FStylerInForce->CaptionFont());
  c->Font()->SetColor(txt);
  c->Brush()->SetStyle(bsClear);
  const int w = c->TextWidth(text);
  if (h) {
    if (FShowOptionIndicator && !FShowRightHandle) t.Right = GetOptionIndicatorRect().Left;
    UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (FCaptionAlignment == taRightJustify) fmt |= DT_RIGHT;
    else if (FCaptionAlignment == taCenter) fmt |= DT_CENTER;
    DrawTextRect(c, text, t, fmt);
    return;
  }
  TPoint p;
  if (FPosition == daLeft) {
    p = FCaptionAlignment == taLeftJustify    ? TPoint{t.Left, t.Bottom - 2}
        : FCaptionAlignment == taRightJustify ? TPoint{t.Left, t.Top + w + 2}
                                              : TPoint{t.Left, t.Bottom - (t.Bottom - t.Top - w) / 2};
  } else {
    p = FCaptionAlignment == taLeftJustify    ? TPoint{t.Right, t.Top}
        : FCaptionAlignment == taRightJustify ? TPoint{t.Right, t.Bottom - w - 5}
                                              : TPoint{t.Right, t.Top + (t.Bottom - t.Top - w) / 2};
  }
  TFont saved;
  saved.Assign(c->Font());
  c->Font()->SetOrientation(FPosition == daLeft ? -2700 : -900);
  DrawVerticalText(c, text, p);
  c->SetFont(&saved);
}

void TDizCustomToolBar::PaintBody(const TRect& F, TColor& BorderOut, bool& RoundedOut) {
  TCustomVivIzizEzuStyler* s = FStylerInForce;
  const bool pageLike = Page() != nullptr;
  TColor col = pageLike ? s->Color()->Mirror()->Color() : s->Color()->Color();
  TColor colTo = pageLike ? s->Color()->Mirror()->ColorTo() : s->Color()->ColorTo();
  TColor hot = pageLike ? s->ColorHot()->Mirror()->Color() : s->ColorHot()->Color();
  TColor hotTo = pageLike ? s->ColorHot()->Mirror()->ColorTo() : s->ColorHot()->ColorTo();
  TColor mirror = s->Color()->Mirror()->ColorMirror(), mirrorTo = s->Color()->Mirror()->ColorMirrorTo();
  TColor hotMirror = s->ColorHot()->Mirror()->ColorMirror(), hotMirrorTo = s->ColorHot()->Mirror()->ColorMirrorTo();
  TColor border = s->BorderColor(), hotBorder = s->BorderColorHot();
  int steps = s->Color()->Steps(), hotSteps = s->ColorHot()->Steps();
  bool horizontal = s->Color()->Direction() == gdHorizontal;
  if (!IsHorizontal(FPosition) && FState != tsFloating && !FParentStyler) horizontal = !horizontal;
  bool rounded = s->RoundEdges();
  if (FFullSize) {
    steps = 256;
    col = s->DockColor()->Color();
    colTo = s->DockColor()->ColorTo();
    horizontal = s->DockColor()->Direction() == gdHorizontal;
    if (FState == tsFloating) colTo = col;
    else border = clNone;
    rounded = false;
  }
  if (FHover) {
    if (hot != clNone) col = hot;
    if (hotTo != clNone) colTo = hotTo;
    if (border != clNone || hotBorder != clNone) border = hotBorder;
    steps = hotSteps;
    if (hotMirror != clNone) mirror = hotMirror;
    if (hotMirrorTo != clNone) mirrorTo = hotMirrorTo;
  }
  BorderOut = border;
  RoundedOut = rounded;
  if (s->Transparent()) return;
  TCanvas* c = Canvas();
  if (col == clNone) return;
  if (colTo == clNone) {
    Solid(c, col, F);
  } else if (FState != tsFloating || FFloatingRows <= 1) {
    if (pageLike) {
      const int u = FCaptionPosition == cpBottom ? std::max(0, 22 - Top()) : 0;
      DrawVistaGradient(c, F, u, col, colTo, mirror, mirrorTo, clNone, 0);
    } else {
      DrawGradient(c, col, colTo, horizontal, F, steps);
    }
  } else {
    for (int i = 0; i < FFloatingRows; ++i) {
      const TRect band{F.Left, F.Top + i * FDockedThickness, F.Right, F.Top + (i + 1) * FDockedThickness};
      DrawGradient(c, col, colTo, horizontal, band, steps);
    }
  }
  TBitmap* bg = s->BackGround();
  if (bg && !bg->GetEmpty()) {
    const int W = Width(), H = Height(), bw = bg->GetWidth(), bh = bg->GetHeight();
    switch (s->BackGroundDisplay()) {
      case bdTile:
        if (bw > 0 && bh > 0)
          for (int y = 0; y < H - 1; y += bh)
            for (int x = 0; x < W - 1; x += bw) c->Draw(x, y, bg);
        break;
      case bdCenter: c->Draw((W - bw) / 2, (H - bh) / 2, bg); break;
      case bdStretch: c->StretchDraw(TRect{F.Left + 2, F.Top + 2, F.Right - 2, F.Bottom - 2}, bg); break;
    }
  }
}

void TDizCustomToolBar::PaintBevel() {
  if (!FStylerInForce->UseBevel() || FState == tsFloating) return;
  TCanvas* c = Canvas();
  const int W = Width(), H = Height();
  c->Pen()->SetWidth(1);
  switch (FStylerInForce->Bevel()) {
    case bvLowered:
      c->Pen()->SetColor(clBtnShadow);
      c->Polyline({{1, H}, {1, 1}, {W, 1}});
      c->Pen()->SetColor(clWhite);
      c->Polyline({{W - 1, 1}, {W - 1, H - 1}, {1, H - 1}});
      break;
    case bvRaised:
    case bvSpace:
      c->Pen()->SetColor(clWhite);
      c->Polyline({{0, H}, {0, 0}, {W, 0}});
      c->Pen()->SetColor(clBtnShadow);
      c->Polyline({{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
      break;
    default: break;
  }
}

void TDizCustomToolBar::DrawDragGrip() {
  const TDragGripStyle style = FStylerInForce->DragGripStyle();
  if (style == dsNone || Page() || FState == tsFloating) return;
  TCanvas* c = Canvas();
  const TRect g = GripRect();
  TBitmap* img = FStylerInForce->DragGripImage();
  if (img && !img->GetEmpty()) {
    c->StretchDraw(g, img);
    return;
  }
  const bool h = IsHorizontal(FPosition);
  const int L = g.Left, T = g.Top, R = g.Right, B = g.Bottom;
  switch (style) {
    case dsDots: {
      const int count = ((h ? B : R) - 8) / 4;
      for (int i = 0; i < count; ++i) {
        const int x = h ? L + 3 : L + 4 + 4 * i;
        const int y = h ? T + 4 + 4 * i : T + 3;
        Solid(c, clWhite, TRect{x + 1, y + 1, x + 3, y + 3});
        Solid(c, clBtnShadow, TRect{x, y, x + 2, y + 2});
      }
      break;
    }
    case dsSingleLine:
      if (h) Draw3DLine(c, {L + 4, B - 4}, {L + 4, T + 3}, true, true);
      else Draw3DLine(c, {L + 3, T + 4}, {R - 5, T + 4}, true, false);
      break;
    case dsDoubleLine:
      if (h) {
        Draw3DLine(c, {L + 2, B - 4}, {L + 2, T + 3}, true, true);
        Draw3DLine(c, {L + 5, B - 4}, {L + 5, T + 3}, true, true);
      } else {
        Draw3DLine(c, {L + 3, T + 2}, {R - 5, T + 2}, true, false);
        Draw3DLine(c, {L + 3, T + 5}, {R - 5, T + 5}, true, false);
      }
      break;
    case dsFlatDots: {
      const TColor grey = 0xA5A5A5;
      const int count = ((h ? B : R) - 8) / 2;
      for (int i = 0; i < count; ++i) {
        if (h) Line(c, grey, L + 2, T + 4 + 2 * i, L + 5, T + 4 + 2 * i);
        else Line(c, grey, L + 4 + 2 * i, T + 2, L + 4 + 2 * i, T + 5);
      }
      break;
    }
    default: break;
  }
}

void TDizCustomToolBar::DrawPopupIndicator() {
  TCanvas* c = Canvas();
  TCustomVivIzizEzuStyler* s = FStylerInForce;
  if (!(FShowPopupIndicator && FShowRightHandle && FState != tsFloating && !FFullSize)) {
    if (FShowOptionIndicator && !FShowRightHandle && FState != tsFloating && FShowCaption &&
        IsHorizontal(FPosition))
      PaintOptionButton();
    return;
  }
  const TRect R = RightHandleRect();
  const bool h = IsHorizontal(FPosition);
  TColor col, colTo, frame;
  if (FRightHandleDown) {
    col = s->RightHandleColorDown();
    colTo = s->RightHandleColorDownTo();
    frame = s->ButtonAppearance()->BorderDownColor();
  } else if (FRightHandleHot) {
    col = s->RightHandleColorHot();
    colTo = s->RightHandleColorHotTo();
    frame = s->ButtonAppearance()->BorderHotColor();
  } else {
    col = s->RightHandleColor();
    colTo = s->RightHandleColorTo();
    frame = s->ButtonAppearance()->BorderColor();
  }
  TBitmap* img = s->RightHandleImage();
  if (img && !img->GetEmpty()) {
    c->StretchDraw(R, img);
    return;
  }
  const TRect fill = h ? TRect{R.Left + 3, R.Top, R.Right, R.Bottom} : TRect{R.Left, R.Top + 3, R.Right, R.Bottom};
  if (col == clNone || colTo == clNone) Solid(c, col, fill);
  else DrawGradient(c, col, colTo, !h, fill, 16);
  const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  auto seg = [c](TColor color, int x1, int y1, int x2, int y2) { Line(c, color, x1, y1, x2, y2); };
  auto px = [c](int x, int y, TColor color) {
    if (color != clNone) c->SetPixel(x, y, color);
  };
  const bool chevron = CanExpand() > 0;
  if (s->RoundEdges()) {
    const TColor to = colTo == clNone ? col : colTo;
    if (h) {
      if (DockSite()) {
        SetCorner(Rt - 2, T, Left() + Width() - 1, Top(), true);
        SetCorner(Rt - 3, T, Left() + Width() - 2, Top(), true);
        SetCorner(Rt - 2, T + 1, Left() + Width() - 1, Top(), true);
        SetCorner(Rt - 2, B - 2, Left() + Width() - 1, Top() + Height(), true);
        SetCorner(Rt - 3, B - 2, Left() + Width() - 2, Top() + Height(), true);
        SetCorner(Rt - 2, B - 3, Left() + Width() - 1, Top() + Height(), true);
      }
      px(L + 1, B - 2, to);
      px(L + 2, B - 2, to);
      px(L + 2, B - 3, to);
      px(L + 1, T, col);
      px(L + 2, T, col);
      px(L + 2, T + 1, col);
      if (chevron) {
        seg(clBlack, Rt - 6, T + 5, Rt - 6, T + 8);
        seg(clBlack, Rt - 6, T + 6, Rt - 4, T + 6);
        seg(clBlack, Rt - 10, T + 5, Rt - 10, T + 8);
        seg(clBlack, Rt - 10, T + 6, Rt - 8, T + 6);
        seg(clWhite, Rt - 5, T + 7, Rt - 5, T + 9);
        seg(clWhite, Rt - 5, T + 7, Rt - 3, T + 7);
        seg(clWhite, Rt - 9, T + 7, Rt - 9, T + 9);
        seg(clWhite, Rt - 9, T + 7, Rt - 7, T + 7);
      }
      if (FShowOptionIndicator) {
        seg(clBlack, Rt - 9, B - 11, Rt - 4, B - 11);
        seg(clBlack, Rt - 9, B - 8, Rt - 4, B - 8);
        seg(clBlack, Rt - 8, B - 7, Rt - 5, B - 7);
        px(Rt - 7, B - 6, clBlack);
        seg(clWhite, Rt - 8, B - 10, Rt - 3, B - 10);
        seg(clWhite, Rt - 5, B - 7, Rt - 3, B - 7);
        seg(clWhite, Rt - 6, B - 6, Rt - 4, B - 6);
        px(Rt - 6, B - 5, clWhite);
      }
    } else {
      if (DockSite()) {
        SetCorner(L, B - 1, Left() + 1, Top() + Height(), true);
        SetCorner(L + 1, B - 1, Left() + 2, Top() + Height(), true);
        SetCorner(L, B - 2, Left() + 1, Top() + Height(), true);
        SetCorner(Rt - 1, B - 1, Left() + Width() - 1, Top() + Height(), true);
        SetCorner(Rt - 2, B - 1, Left() + Width() - 2, Top() + Height(), true);
        SetCorner(Rt - 1, B - 2, Left() + Width() - 1, Top() + Height(), true);
      }
      px(L, T + 2, col);
      px(L + 1, T + 2, col);
      px(L, T + 1, col);
      px(Rt - 1, T + 2, to);
      px(Rt - 2, T + 2, to);
      px(Rt - 1, T + 1, to);
      if (chevron) {
        seg(clBlack, L + 5, T + 5, L + 8, T + 5);
        seg(clBlack, L + 6, T + 5, L + 6, T + 7);
        seg(clBlack, L + 5, T + 9, L + 8, T + 9);
        seg(clBlack, L + 6, T + 9, L + 6, T + 11);
        seg(clWhite, L + 7, T + 6, L + 9, T + 6);
        seg(clWhite, L + 7, T + 6, L + 7, T + 8);
        seg(clWhite, L + 7, T + 10, L + 9, T + 10);
        seg(clWhite, L + 7, T + 10, L + 7, T + 12);
      }
      if (FShowOptionIndicator) {
        seg(clBlack, Rt - 9, T + 5, Rt - 9, T + 10);
        seg(clBlack, Rt - 6, T + 5, Rt - 6, T + 10);
        seg(clBlack, Rt - 5, T + 6, Rt - 5, T + 9);
        px(Rt - 4, T + 7, clBlack);
        seg(clWhite, Rt - 8, T + 6, Rt - 8, T + 11);
        seg(clWhite, Rt - 5, T + 9, Rt - 5, T + 11);
        seg(clWhite, Rt - 4, T + 8, Rt - 2, T + 8);
        px(Rt - 4, T + 9, clWhite);
      }
    }
    return;
  }
  if (frame != clNone)
    Frame(c, frame, h ? TRect{L + 3, T, Rt - 1, B - 1} : TRect{L, T + 3, Rt, B});
  if (h) {
    if (chevron) {
      seg(clBlack, L + 8, T + 3, L + 11, T + 6);
      seg(clBlack, L + 11, T + 6, L + 7, T + 10);
      seg(clBlack, L + 6, T + 3, L + 9, T + 6);
      seg(clBlack, L + 9, T + 6, L + 5, T + 10);
    }
    if (FShowOptionIndicator) {
      seg(clBlack, Rt - 9, B - 9, Rt - 4, B - 9);
      seg(clBlack, Rt - 9, B - 7, Rt - 4, B - 7);
      seg(clBlack, Rt - 8, B - 6, Rt - 5, B - 6);
      px(Rt - 7, B - 5, clBlack);
    }
  } else {
    if (chevron) {
      seg(clBlack, L + 3, T + 6, L + 5, T + 8);
      seg(clBlack, L + 5, T + 8, L + 8, T + 5);
      seg(clBlack, L + 3, T + 8, L + 5, T + 10);
      seg(clBlack, L + 5, T + 10, L + 8, T + 7);
    }
    if (FShowOptionIndicator) {
      seg(clBlack, Rt - 9, T + 6, Rt - 9, T + 11);
      seg(clBlack, Rt - 6, T + 6, Rt - 6, T + 11);
      seg(clBlack, Rt - 5, T + 7, Rt - 5, T + 10);
      px(Rt - 4, T + 8, clBlack);
    }
  }
}

void TDizCustomToolBar::PaintOptionButton() {
  const TRect O = GetOptionIndicatorRect();
  TGlowButtonAppearance* a = FStylerInForce->GlowButtonAppearance();
  TCanvas* c = Canvas();
  if (FOptionBtnDown) {
    DrawGlowFace(c, O, a->ColorDown(), a->ColorDownTo(), a->ColorMirrorDown(), a->ColorMirrorDownTo(),
                 a->BorderColorDown(), a->GradientDown(), a->GradientMirrorDown(), "", Font(), Enabled(), false,
                 FAntiAlias, false);
  } else if (FOptionBtnHot) {
    DrawGlowFace(c, O, a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(),
                 a->BorderColorHot(), a->GradientHot(), a->GradientMirrorHot(), "", Font(), Enabled(), false,
                 FAntiAlias, false);
  }
}

// Sets one corner pixel of the tool bar to the colour of the surface behind it at
// (SX, SY) of the host; a point outside the host's surface leaves the pixel alone.
void TDizCustomToolBar::SetCorner(int X, int Y, int SX, int SY, bool FromBitmap) {
  TColor color = clNone;
  bool ok = false;
  if (!Parent() || SX < 0 || SY < 0 || SX >= Parent()->ClientWidth() || SY >= Parent()->ClientHeight()) return;
  if (IToolBarDockSite* site = DockSite()) ok = site->DockPixel(SX, SY, FromBitmap, color);
  else if (IToolBarPage* page = Page()) ok = page->PagePixel(SX, SY, color);
  if (ok && color != clNone && X >= 0 && Y >= 0 && X < Width() && Y < Height()) Canvas()->SetPixel(X, Y, color);
}

void TDizCustomToolBar::PaintCorners(TRect F, TColor, bool) {
  if (FState == tsFloating) return;
  const TRect client = ClientRect();
  const bool h = IsHorizontal(FPosition);
  if (FShowCaption) {
    if (h && FCaptionPosition == cpTop) F.Top = client.Top;
    else if (h) F.Bottom = client.Bottom + 1;
    else if (FCaptionPosition == cpTop) F.Left = client.Left;
    else F.Right = client.Right + 1;
  }
  const bool cond = !FShowRightHandle && !FFullSize;
  const int X = Left(), Y = Top(), W = Width(), H = Height();
  const int L = F.Left, T = F.Top, R = F.Right, B = F.Bottom;
  if (DockSite()) {
    SetCorner(L, T, X - 1, Y - 1, false);
    SetCorner(L + 1, T, X + 1, Y - 1, false);
    SetCorner(L, T + 1, X - 1, Y, false);
    if (h) {
      SetCorner(L, B - 2, X - 1, Y + H, false);
      SetCorner(L + 1, B - 2, X - 1, Y + H, false);
      SetCorner(L, B - 3, X - 1, Y + H, false);
      if (cond) {
        SetCorner(R - 2, T, X + W - 1, Y, true);
        SetCorner(R - 3, T, X + W - 2, Y, true);
        SetCorner(R - 2, T + 1, X + W - 1, Y, true);
        SetCorner(R - 2, B - 2, X + W - 1, Y + H, true);
        SetCorner(R - 3, B - 2, X + W - 2, Y + H, true);
        SetCorner(R - 2, B - 3, X + W - 1, Y + H, true);
      }
    } else {
      SetCorner(R - 1, T, X + W, Y, true);
      SetCorner(R - 2, T, X + W - 1, Y, true);
      SetCorner(R - 1, T + 1, X + W, Y + 1, true);
      if (cond) {
        SetCorner(L, B - 2, X + 1, Y + H, true);
        SetCorner(L + 1, B - 2, X + 2, Y + H, true);
        SetCorner(L, B - 3, X + 1, Y + H, true);
        SetCorner(R - 2, B - 2, X + W - 1, Y + H, true);
        SetCorner(R - 3, B - 2, X + W - 2, Y + H, true);
        SetCorner(R - 2, B - 3, X + W - 1, Y + H, true);
      }
    }
  } else if (Page()) {
    SetCorner(L, T, X - 1, Y - 1, false);
    SetCorner(L + 1, T, X + 1, Y - 1, false);
    SetCorner(L, T + 1, X - 1, Y, false);
    if (h) {
      for (auto p : {TPoint{L, B - 2}, TPoint{L + 1, B - 2}, TPoint{L, B - 3}}) SetCorner(p.X, p.Y, X - 1, Y + H, false);
      if (cond) {
        for (auto p : {TPoint{R - 2, T}, TPoint{R - 3, T}, TPoint{R - 2, T + 1}}) SetCorner(p.X, p.Y, X + W + 1, Y, false);
        for (auto p : {TPoint{R - 2, B - 2}, TPoint{R - 3, B - 2}, TPoint{R - 2, B - 3}})
          SetCorner(p.X, p.Y, X + W + 1, Y + H, false);
      }
    } else {
      SetCorner(R - 1, T, X + W, Y, false);
      SetCorner(R - 2, T, X + W - 1, Y, false);
      SetCorner(R - 1, T + 1, X + W, Y + 1, false);
      if (cond) {
        for (auto p : {TPoint{L, B - 2}, TPoint{L + 1, B - 2}, TPoint{L, B - 3}}) SetCorner(p.X, p.Y, X - 1, Y + H, false);
        for (auto p : {TPoint{R - 2, B - 2}, TPoint{R - 3, B - 2}, TPoint{R - 2, B - 3}})
          SetCorner(p.X, p.Y, X + W + 1, Y + H, false);
      }
    }
  }
}

void TDizCustomToolBar::PaintBorder(const TRect& F, TColor Border, bool Rounded) {
  if (Border == clNone) return;
  TCanvas* c = Canvas();
  if (IsWin7()) {
    c->Pen()->SetWidth(3);
    Line(c, 0xFAF1EC, F.Right - 3, F.Top + 5, F.Right - 3, F.Bottom - 5);
    c->Pen()->SetWidth(1);
    Line(c, Border, F.Right - 3, F.Top + 6, F.Right - 3, F.Bottom - 6);
    return;
  }
  c->Pen()->SetColor(Border);
  c->Brush()->SetStyle(bsClear);
  if (Rounded && FStylerInForce->Bevel() == bvNone) c->RoundRect(F.Left, F.Top, F.Right - 1, F.Bottom - 1, 6, 6);
  else c->Rectangle(F);
}

}  // namespace VivIzizEzu
