// RavUvure, part 2: painting the panel (body, frame, bevels, picture, text, caption bar
// with its buttons, status bar, size grip) and the caption shading.
#include <algorithm>
#include <cmath>

#include "foundation/DizThemeBinding.h"
#include "office/RavUvure.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Random.h"

using namespace RavUvure;

namespace {

bool HasBevel(const TCustomPanel* p) { return p->BevelOuter() != bvNone || p->BevelInner() != bvNone; }

// A 3-D frame of Width pixels that shrinks R.
void Frame3DRect(TCanvas* C, TRect& R, TColor TopLeft, TColor BottomRight, int Width) {
  for (int i = 0; i < Width; ++i) {
    C->Pen()->SetColor(TopLeft);
    C->MoveTo(R.Left, R.Bottom - 1);
    C->LineTo(R.Left, R.Top);
    C->LineTo(R.Right - 1, R.Top);
    C->Pen()->SetColor(BottomRight);
    C->LineTo(R.Right - 1, R.Bottom - 1);
    C->LineTo(R.Left - 1, R.Bottom - 1);
    R = TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  }
}

void Bevel(TCanvas* C, TRect& R, TPanelBevel Kind, int Width, TColor BodyColor, TColor BorderColor) {
  if (Kind == bvNone) return;
  if (Kind == bvLowered) Frame3DRect(C, R, clBtnShadow, clBtnHighlight, Width);
  else Frame3DRect(C, R, clBtnHighlight, clBtnShadow, Width);
  if (BorderColor == clNone) Frame3DRect(C, R, BodyColor, BodyColor, 1);
}

}  // namespace

bool TCustomRavUvure::DoVisualStyles() const {
  TThemeBinding& theme = XPThemeBinding();
  return FIsWinXP && theme.IsThemeActive && theme.IsThemeActive() != 0;
}

int TCustomRavUvure::ButtonWidth() const {
  int w = 12;
  if (!FCaption->CloseMinGlyph()->GetEmpty() && !FCaption->CloseMaxGlyph()->GetEmpty())
    w = FCaption->CloseMinGlyph()->GetWidth();
  if (!FCaption->MaxGlyph()->GetEmpty() && !FCaption->MinGlyph()->GetEmpty()) w = FCaption->MaxGlyph()->GetWidth();
  if (FCaption->ShadeType() == stXPCaption && DoVisualStyles()) w = 16;
  return w;
}

void TCustomRavUvure::Paint() {
  TCustomPanel::Paint();
  const TRect client = ClientRect();
  std::unique_ptr<TBitmap> buffer;
  TCanvas* c = Canvas();
  // A panel larger than any window's buffer paints straight onto its window.
  if (FBuffered && client.Right <= kMaxSurfaceSide && client.Bottom <= kMaxSurfaceSide) {
    buffer = std::make_unique<TBitmap>();
    buffer->SetSize(std::max(1, client.Right), std::max(1, client.Bottom));
    c = buffer->Canvas();
  }
  const int bw = BevelWidth();
  const int ch = FCaption->Height();
  const int shadow = FBorderShadow ? 3 : 0;
  (void)shadow;

  // Body background.
  c->Brush()->SetStyle(bsSolid);
  if (FColorTo == clNone) {
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  } else if (FColorMirror == clNone) {
    DrawGradient(c, Color(), FColorTo, 64, client, FGradientDirection == gdHorizontal);
  } else {
    DrawPanelBackground(c, client, Color(), FColorTo, FColorMirror, FColorMirrorTo, FGradientDirection);
  }

  // Frame and shadow.
  TRect r = client;
  if (FBorderColor != clNone && BorderWidth() > 0) {
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FBorderColor);
    if (FBorderShadow) {
      r.Right -= 2;
      r.Bottom -= 2;
    }
    c->Rectangle(r);
    if (FBorderShadow) {
      c->Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 50));
      c->MoveTo(r.Right, r.Top);
      c->LineTo(r.Right, r.Bottom);
      c->LineTo(r.Left, r.Bottom);
      c->Pen()->SetColor(BlendColor(FBorderColor, clBtnFace, 20));
      c->MoveTo(r.Right + 1, r.Top);
      c->LineTo(r.Right + 1, r.Bottom + 1);
      c->LineTo(r.Left, r.Bottom + 1);
    }
    c->Brush()->SetStyle(bsSolid);
  }
  Bevel(c, r, BevelOuter(), bw, Color(), FBorderColor);
  Bevel(c, r, BevelInner(), bw, Color(), FBorderColor);

  // The body area below (or beside) the caption, clipped while picture and text draw.
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(Color());
  TRect body = client;
  if (FCaption->Visible()) {
    if (FCaption->Position() == cpTop) body.Top += ch - 2 * bw;
    else body.Left += ch - 2 * bw + 2;
  }
  if (FBorderShadow) {
    body.Right -= 2;
    body.Bottom -= 3;
  }
  HDC dc = c->GetHandle();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, body.Left, body.Top, body.Right, body.Bottom);
  if (!FBackground->GetEmpty()) {
    const int pw = FBackground->GetWidth(), ph = FBackground->GetHeight(), h = Height();
    auto draw = [&](int x, int y) { c->Draw(x, y, FBackground.get()); };
    switch (FBackgroundPosition) {
      case RavUvure::bpTopLeft: draw(body.Left, body.Top); break;
      case RavUvure::bpTopRight: draw(std::max(body.Left, body.Right - body.Left - pw - bw), body.Top); break;
      case RavUvure::bpBottomLeft: draw(body.Left, std::max(body.Top, h - ph - bw)); break;
      case RavUvure::bpBottomRight:
        draw(std::max(body.Left, body.Right - body.Left - pw - bw), std::max(body.Top, h - ph - bw));
        break;
      case RavUvure::bpTiled:
        if (pw > 0 && ph > 0)
          for (int y = body.Top; y < h; y += ph)
            for (int x = body.Left; x < Width(); x += pw) draw(x, y);
        break;
      case RavUvure::bpStretched: c->StretchDraw(body, FBackground.get()); break;
      case RavUvure::bpCenter:
        draw(std::max(body.Left, body.Right - body.Left - pw - bw) / 2, std::max(body.Top, h - ph - bw) / 2);
        break;
    }
  }
  body = TRect{body.Left + BorderWidth() + 1, body.Top + BorderWidth() + 1, body.Right - BorderWidth() - 1,
               body.Bottom - BorderWidth() - 1};
  body.Left += FIndent;
  body.Top += FTopIndent;
  if (FStatusBar->Visible()) {
    if (FCaption->Position() == cpTop) body.Bottom -= FStatusBar->Height();
    else body.Right -= FStatusBar->Height();
  }
  c->Font()->Assign(Font());
  std::string anchor, stripped, focus;
  int w = 0, h = 0, links = 0, hit = 0;
  TRect hover;
  if (FTextVAlign != tvaTop) {
    PanelHTMLDrawEx(c, FPanelText, body, FImages, 0, 0, -1, -1, FShadowOffset, true, false, false, false, false,
                    false, !FEllipsis, 1.0, FURLColor, FHoverColor, FHoverFontColor, FShadowColor, anchor, stripped,
                    focus, w, h, links, hit, hover, FPictureCache.get(), FPictureContainer, FLineSpacing);
    if (h < body.Bottom - body.Top) {
      if (FTextVAlign == tvaCenter) body.Top += (body.Bottom - body.Top - h) / 2;
      else body.Top = body.Bottom - h;
    }
  }
  PanelHTMLDrawEx(c, FPanelText, body, FImages, 0, 0, -1, FBodyAnchorIndex, FShadowOffset, false, false, false,
                  false, false, FHover, !FEllipsis, 1.0, FURLColor, FHoverColor, FHoverFontColor, FShadowColor,
                  anchor, stripped, focus, w, h, links, hit, hover, FPictureCache.get(), FPictureContainer,
                  FLineSpacing);
  RestoreDC(dc, saved);
  c->Refresh();

  if (FCaption->Visible()) PaintCaption(c);
  if (FStatusBar->Visible()) PaintStatusBar(c);

  // Size grip.
  if (!FCollaps && FCanSize) {
    TRect g = client;
    if (HasBevel(this)) g = TRect{g.Left + 2 * bw, g.Top + 2 * bw, g.Right - 2 * bw, g.Bottom - 2 * bw};
    if (FBorderShadow) {
      g.Right -= 4;
      g.Bottom -= 4;
    }
    const int x = g.Right, y = g.Bottom;
    c->Pen()->SetColor(TColor(0x808080));
    c->Pen()->SetWidth(2);
    for (int d : {11, 6, 3}) {
      c->MoveTo(x, y - d);
      c->LineTo(x - (d == 11 ? 11 : d == 6 ? 7 : 3), y);
    }
    c->Pen()->SetColor(clWhite);
    c->Pen()->SetWidth(1);
    for (int d : {12, 8, 4}) {
      c->MoveTo(x, y - d);
      c->LineTo(x - d, y);
    }
  }
  if (OnPaint) OnPaint(this, c, client);
  if (buffer) Canvas()->Draw(0, 0, buffer.get());
}

TRect TCustomRavUvure::CaptionTextRect() {
  const TRect client = ClientRect();
  const int bw = BevelWidth();
  TRect r = client;
  if (FBorderShadow) {
    r.Left = r.Top = BorderWidth();
    r.Right -= BorderWidth() + 2;
  }
  if (HasBevel(this)) r = TRect{r.Left + bw, r.Top + bw, r.Right - bw, r.Bottom - bw};
  const bool right = FCaption->ButtonPosition() == cbpRight;
  if (FCaption->CloseButton()) {
    // The room the close button takes (a glyph takes its own width, the cross 12, the
    // themed button 14).
    int room = 12;
    if (FCaption->ShadeType() == stXPCaption && DoVisualStyles()) room = 14;
    else if (!FCaption->CloseMinGlyph()->GetEmpty() && !FCaption->CloseMaxGlyph()->GetEmpty())
      room = (FCollaps ? FCaption->CloseMinGlyph() : FCaption->CloseMaxGlyph())->GetWidth();
    if (FCaption->Position() == cpTop) (right ? r.Right : r.Left) += right ? -room : room;
    else (right ? r.Top : r.Bottom) += right ? room : -room;
  }
  const int buttons = (FCaption->CloseButton() ? 1 : 0) + (FCaption->MinMaxButton() ? 1 : 0);
  if (FCaption->Position() == cpTop) {
    if (right) r.Right -= 20 * buttons;
    else r.Left += 20 * buttons;
    r.Bottom = r.Top + FCaption->Height();
    r.Left += FCaption->Indent();
    r.Top += FCaption->TopIndent();
  } else {
    if (right) r.Top += 20 * buttons;
    else r.Bottom -= 20 * buttons;
    r.Right = r.Left + FCaption->Height();
    r.Bottom -= FCaption->Indent();
    r.Left += FCaption->TopIndent();
  }
  return r;
}

void TCustomRavUvure::PaintCaption(TCanvas* c) {
  const TRect client = ClientRect();
  const int bw = BevelWidth();
  const int ch = FCaption->Height();
  const bool top = FCaption->Position() == cpTop;
  const bool right = FCaption->ButtonPosition() == cbpRight;
  TRect r = client;
  if (FBorderShadow) {
    r.Left = r.Top = BorderWidth();
    r.Right -= BorderWidth() + 2;
  }
  if (HasBevel(this)) r = TRect{r.Left + bw, r.Top + bw, r.Right - bw, r.Bottom - bw};
  const TColor fill = FCollaps ? FCaption->CloseColor() : FCaption->Color();
  c->Brush()->SetColor(fill);
  c->Pen()->SetColor(fill);
  c->Pen()->SetWidth(1);
  const TRect bar = top ? TRect{r.Left, r.Top, r.Right, r.Top + ch - 2 * bw}
                        : TRect{r.Left, r.Top, r.Left + ch - 2 * bw, r.Bottom - (FBorderShadow ? 3 : 0)};
  const bool themed = FCaption->ShadeType() == stXPCaption && DoVisualStyles();
  if (FCaption->ShadeType() == stNormal || (FCaption->ShadeType() == stXPCaption && !themed)) {
    if (FCaption->ColorTo() == clNone) c->Rectangle(bar);
    else DrawGradient(c, FCaption->Color(), FCaption->ColorTo(), 64, bar, FCaption->GradientDirection() == gdHorizontal);
  } else {
    DrawCaptionBkg(c, top ? TRect{r.Left, r.Top, r.Right, r.Top + ch - 2 * bw}
                          : TRect{r.Left, r.Top, r.Left + ch - 2 * bw, r.Bottom});
  }
  HDC dc = c->GetHandle();
  TThemeBinding& theme = XPThemeBinding();
  auto drawThemed = [&](int part, const RECT& box) {
    if (HTHEME h = theme.OpenThemeData ? theme.OpenThemeData(Handle(), u"window") : nullptr) {
      theme.DrawThemeBackground(h, dc, part, 1, &box, nullptr);
      theme.CloseThemeData(h);
    }
  };
  // Close button.
  if (FCaption->CloseButton()) {
    TBitmap* glyph = FCollaps ? FCaption->CloseMinGlyph() : FCaption->CloseMaxGlyph();
    const bool glyphs = !FCaption->CloseMinGlyph()->GetEmpty() && !FCaption->CloseMaxGlyph()->GetEmpty();
    if (themed) {
      RECT box = top ? (right ? RECT{r.Right - 16, r.Top + 4, r.Right - 2, r.Top + 18}
                              : RECT{r.Left + 2, r.Top + 4, r.Left + 16, r.Top + 18})
                     : (right ? RECT{r.Left + 4, r.Top + 2, r.Left + 18, r.Top + 16}
                              : RECT{r.Left + 4, r.Bottom - 16, r.Left + 18, r.Bottom - 2});
      drawThemed(18, box);
      if (top) (right ? r.Right : r.Left) += right ? -14 : 14;
      else (right ? r.Top : r.Bottom) += right ? 14 : -14;
    } else if (!glyphs) {
      const TColor color = FCloseHover && FCaption->CloseButtonHoverColor() != clNone
                               ? FCaption->CloseButtonHoverColor()
                               : FCaption->CloseButtonColor();
      c->Pen()->SetWidth(2);
      c->Pen()->SetColor(color);
      auto stroke = [&](int x1, int y1, int x2, int y2) {
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
      };
      if (top && right) {
        stroke(r.Right - 10, r.Top + 4, r.Right - 4, r.Top + 10);
        stroke(r.Right - 4, r.Top + 4, r.Right - 10, r.Top + 10);
        r.Right -= 12;
      } else if (top || right) {
        stroke(r.Left + 4, r.Top + 4, r.Left + 10, r.Top + 10);
        stroke(r.Left + 10, r.Top + 4, r.Left + 4, r.Top + 10);
        if (top) r.Left += 12;
        else r.Top += 12;
      } else {
        stroke(r.Left + 4, r.Bottom - 4, r.Left + 10, r.Bottom - 10);
        stroke(r.Left + 10, r.Bottom - 4, r.Left + 4, r.Bottom - 10);
        r.Bottom -= 12;
      }
      c->Pen()->SetWidth(1);
    } else {
      glyph->SetTransparent(true);
      const int gw = glyph->GetWidth(), gh = glyph->GetHeight();
      if (top && right) {
        c->Draw(r.Right - gw, r.Top + 2, glyph);
        r.Right -= gw;
      } else if (top) {
        c->Draw(r.Left, r.Top + 2, glyph);
        r.Left += gw;
      } else if (right) {
        c->Draw(r.Left + 2, r.Top, glyph);
        r.Top += gh;
      } else {
        c->Draw(r.Left + 2, r.Bottom - gh, glyph);
        r.Bottom -= gh;
      }
    }
  }
  // Minimise/maximise button.
  if (FCaption->MinMaxButton()) {
    TBitmap* glyph = FCollaps ? FCaption->MaxGlyph() : FCaption->MinGlyph();
    if (themed) {
      RECT box = top ? (right ? RECT{r.Right - 16, r.Top + 4, r.Right - 2, r.Top + 18}
                              : RECT{r.Left + 2, r.Top + 4, r.Left + 16, r.Top + 18})
                     : (right ? RECT{r.Left + 4, r.Top + 2, r.Left + 18, r.Top + 16}
                              : RECT{r.Left + 4, r.Bottom - 16, r.Left + 18, r.Bottom - 2});
      drawThemed(FCollaps ? 17 : 15, box);
    } else if (glyph->GetEmpty()) {
      const TColor color = FMinMaxHover && FCaption->MinMaxButtonHoverColor() != clNone
                               ? FCaption->MinMaxButtonHoverColor()
                               : FCaption->MinMaxButtonColor();
      c->Pen()->SetWidth(1);
      c->Pen()->SetColor(color);
      c->Brush()->SetColor(color);
      std::vector<TPoint> tri;
      const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
      if (FCollaps) {
        if (top && right) tri = {{R - 10, T + 5}, {R - 4, T + 5}, {R - 7, T + 8}};
        else if (top) tri = {{L + 4, T + 5}, {L + 10, T + 5}, {L + 7, T + 8}};
        else if (right) tri = {{L + 5, T + 10}, {L + 5, T + 4}, {L + 8, T + 7}};
        else tri = {{L + 5, B - 4}, {L + 5, B - 10}, {L + 8, B - 7}};
      } else {
        if (top && right) tri = {{R - 10, T + 8}, {R - 4, T + 8}, {R - 7, T + 5}};
        else if (top) tri = {{L + 4, T + 8}, {L + 10, T + 8}, {L + 7, T + 5}};
        else if (right) tri = {{L + 8, T + 10}, {L + 8, T + 4}, {L + 5, T + 7}};
        else tri = {{L + 8, B - 4}, {L + 8, B - 10}, {L + 5, B - 7}};
      }
      c->Polygon(tri);
    } else {
      glyph->SetTransparent(true);
      const int gw = glyph->GetWidth(), gh = glyph->GetHeight();
      if (top && right) c->Draw(r.Right - gw, r.Top + 2, glyph);
      else if (top) c->Draw(r.Left, r.Top + 2, glyph);
      else if (right) c->Draw(r.Left + 2, r.Top, glyph);
      else c->Draw(r.Left + 2, r.Bottom - gh, glyph);
    }
  }
  // Caption text.
  const TRect text = CaptionTextRect();
  c->Font()->Assign(FCaption->Font());
  if (top) {
    std::string anchor, stripped, focus;
    int w = 0, h = 0, links = 0, hit = 0;
    TRect hover;
    PanelHTMLDrawEx(c, FCaption->Text(), text, FImages, 0, 0, -1, FCaptionAnchorIndex, FShadowOffset, false, false,
                    false, false, false, FHover, false, 1.0, FURLColor, FHoverColor, FHoverFontColor, FShadowColor,
                    anchor, stripped, focus, w, h, links, hit, hover, FPictureCache.get(), FPictureContainer,
                    FLineSpacing);
  } else {
    c->Brush()->SetStyle(bsClear);
    TFont rotated;
    rotated.Assign(FCaption->Font());
    rotated.SetOrientation(-2700);
    c->Font()->Assign(&rotated);
    RECT box = ToRECT(text);
    DrawTextUtf8(c->GetHandle(), PanelHTMLStrip(FCaption->Text()), &box, DT_SINGLELINE | DT_BOTTOM);
    c->Brush()->SetStyle(bsSolid);
  }
}

void TCustomRavUvure::PaintStatusBar(TCanvas* c) {
  const int w = Width(), h = Height(), sh = FStatusBar->Height();
  const bool top = FCaption->Position() == cpTop;
  TRect r = top ? TRect{1, h - sh - 1, w - 1, h - 1} : TRect{w - sh - 1, 1, w - 1, h - 1};
  if (FStatusBar->Color() != clNone) {
    if (FStatusBar->ColorTo() != clNone) {
      DrawGradient(c, FStatusBar->Color(), FStatusBar->ColorTo(), 40, r, FStatusBar->GradientDirection() == gdHorizontal);
    } else {
      c->Brush()->SetColor(FStatusBar->Color());
      c->Pen()->SetColor(FStatusBar->Color());
      c->Rectangle(r);
    }
  }
  if (FStatusBar->ImageIndex() >= 0 && FImages) {
    if (top) {
      FImages->Draw(c, r.Left + 1, r.Top + 2, FStatusBar->ImageIndex());
      r.Left += FImages->GetWidth() + 2;
    } else {
      const int ih = FImages->GetHeight();
      FImages->Draw(c, r.Left + 2, (FCollaps || !FCanSize) ? r.Bottom - ih - 1 : r.Bottom - ih - 12,
                    FStatusBar->ImageIndex());
      r.Bottom -= ih + 2;
    }
  }
  c->Font()->Assign(FStatusBar->Font());
  if (top) {
    r.Left += 2;
    std::string anchor, stripped, focus;
    int tw = 0, th = 0, links = 0, hit = 0;
    TRect hover;
    PanelHTMLDrawEx(c, FStatusBar->Text(), r, FImages, 0, 0, -1, -1, FShadowOffset, false, false, false, false, false,
                    false, false, 1.0, FURLColor, FHoverColor, FHoverFontColor, FShadowColor, anchor, stripped, focus,
                    tw, th, links, hit, hover, FPictureCache.get(), FPictureContainer, FLineSpacing);
    r.Left -= 2;
  } else {
    TFont rotated;
    rotated.Assign(FStatusBar->Font());
    rotated.SetOrientation(-2700);
    c->Font()->Assign(&rotated);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(r.Left + 2, (FCollaps || !FCanSize) ? r.Bottom - 2 : r.Bottom - 16, PanelHTMLStrip(FStatusBar->Text()));
    c->Brush()->SetStyle(bsSolid);
  }
  if (FStatusBar->BorderStyle() == bsSingle && FStatusBar->BorderColor() != clNone) {
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FStatusBar->BorderColor());
    c->Brush()->SetStyle(bsClear);
    if (top) c->Rectangle(0, r.Top, r.Right + 1, r.Bottom + 1);
    else c->Rectangle(r.Left, r.Top, r.Right + 1, h);
    c->Brush()->SetStyle(bsSolid);
  }
  if (FStatusBar->BevelInner()) {
    c->Pen()->SetWidth(1);
    if (top) {
      c->Pen()->SetColor(TColor(0x808080));
      c->MoveTo(0, r.Bottom - 1);
      c->LineTo(0, r.Top);
      c->LineTo(r.Right, r.Top);
      c->Pen()->SetColor(clWhite);
      c->MoveTo(0, r.Bottom - 1);
      c->LineTo(r.Right - 1, r.Bottom - 1);
      c->LineTo(r.Right - 1, r.Top);
    } else {
      c->Pen()->SetColor(TColor(0x808080));
      c->MoveTo(r.Left, h);
      c->LineTo(r.Left, r.Top);
      c->LineTo(r.Right - 1, r.Top);
      c->Pen()->SetColor(clWhite);
      c->MoveTo(r.Left, h);
      c->LineTo(r.Right - 1, h);
      c->LineTo(r.Right - 1, r.Top);
    }
  }
}

// ---- caption shading ----------------------------------------------------------------------------

void TCustomRavUvure::ShadeHeader() {
  const bool top = FCaption->Position() == cpTop;
  int w = top ? Width() : FCaption->Height();
  int h = top ? FCaption->Height() : Height();
  Randomize();
  if (w <= 0) w = top ? 100 : 20;
  if (h <= 0) h = top ? 20 : 100;
  // A panel wider than any window's buffer is shaded as far as a window shows.
  w = std::min(w, kMaxSurfaceSide);
  h = std::min(h, kMaxSurfaceSide);
  TBitmap& bmp = *FShadeBitmap;
  bmp.SetSize(w, h);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, w, h});
  const COLORREF base = ColorToRGB(FCaption->Color());
  const int R = GetRValue(base), G = GetGValue(base), B = GetBValue(base);
  const int L = FCaption->ShadeLight() & 0xFF;
  // Intensity v in 0..255 scales the caption colour; values outside are clamped.
  auto shade = [&](int v) {
    v = std::clamp(v, 0, 255);
    return TColor(RGB(R * v / 255, G * v / 255, B * v / 255));
  };
  auto put = [&](int x, int y, int v) {
    if (x >= 0 && x < w && y >= 0 && y < h) c->SetPixel(x, y, shade(v));
  };
  auto blue = [&](int x, int y) { return int(GetBValue(ColorToRGB(c->GetPixel(x, y)))); };
  auto cube = [](int t) { return t * t * t / 128 / 128; };
  switch (FCaption->ShadeType()) {
    case stNormal:
    case stXPCaption:
    case stBitmap:
    case stBitmapRStretch:
    case stBitmapLStretch:
      c->Brush()->SetColor(FCaption->Color());
      c->FillRect(TRect{0, 0, w, h});
      break;
    case stNoise:
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x, y, L - (Random(FCaption->ShadeGrain()) + 128) / 2);
      break;
    case stDiagShade:
    case stLMetal:
    case stRMetal: {
      int factor = 129;
      if (FCaption->ShadeType() != stDiagShade) {
        factor = 120;
        for (int i = 0; i < 251; ++i) {
          const int x0 = Random(w), y0 = Random(h), length = Random(std::min(w, h) / 2);
          const int v = L - Random(40);
          const bool left = FCaption->ShadeType() == stLMetal;
          for (int k = 0; k < length; ++k) {
            // (x0 ± k, y0 + k) and (x0 ∓ k, y0 - k), going left or up only while above 0.
            const int xa = left ? x0 + k : x0 - k, ya = y0 + k;
            const int xb = left ? x0 - k : x0 + k, yb = y0 - k;
            if (xa < w && ya < h && (left || xa > 0)) put(xa, ya, v);
            if (xb < w && yb < h && yb > 0 && (!left || xb > 0)) put(xb, yb, v);
          }
        }
      }
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int t = (L - blue(x, y)) + factor * x / w + factor * y / h;
          put(x, y, L - t / 2);
        }
      break;
    }
    case stHShade:
    case stHShadeInv:
      for (int x = 0; x < w; ++x) {
        const int v = L - ((w - x) * 239 / w + 8) / 2;
        const int column = FCaption->ShadeType() == stHShade ? x : w - x;
        for (int y = 0; y < h; ++y) put(column, y, v);
      }
      break;
    case stVShade:
    case stVShadeInv:
      for (int y = 0; y < h; ++y) {
        const int v = L - (239 * y / h + 8) / 4;
        const int row = FCaption->ShadeType() == stVShade ? y : h - y;
        for (int x = 0; x < w; ++x) put(x, row, v);
      }
      break;
    case stHBump:
      for (int x = 0; x < w; ++x) {
        const int t = (w - x) * 255 / w - 127;
        const int v = L - (cube(t) * 120 / 128 + 128) / 2;
        for (int y = 0; y < h; ++y) put(x, y, v);
      }
      break;
    case stVBump:
      for (int y = 0; y < h; ++y) {
        const int t = y * 255 / h - 127;
        const int v = L - (cube(t) * 120 / 128 + 128) / 2;
        for (int x = 0; x < w; ++x) put(x, y, v);
      }
      break;
    case stSoftBump:
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int ty = y * 255 / h - 127, tx = (w - x) * 255 / w - 127;
          const int n = std::clamp((cube(ty) + cube(tx)) * 120 / 128 + 128, 8, 247);
          put(x, y, L - n / 2);
        }
      break;
    case stHardBump: {
      for (int y = 0; y < h; ++y) {
        const int t = y * 255 / h - 127;
        const int v = L - (cube(t) * 112 / 128 + 128) / 2;
        for (int x = 0; x < w; ++x) put(x, y, v);
      }
      // Rounded ends need room: a caption under 2 pixels high or 6 wide keeps the bump.
      const int m = std::min(16, w / 6);
      const int q = h * h / 4;
      if (m > 0 && q > 0)
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const int dy = y - h / 2, dx = x - w / 2;
            const int e = dy * dy * m / q + (w / 2 - m);
            if (dx > e) put(x, y, L - ((w - x) * 128 / m + 8) / 2);
            else if (dx + e < 0) put(x, y, L - (247 - x * 128 / m) / 2);
          }
      break;
    }
    case stIRadial:
    case stORadial: {
      const int cx = w / 2, cy = h / 2;
      // The distance from the centre to a corner of the quarter: never zero.
      const double dmax = std::max(1.0, std::sqrt(double(cx) * cx + double(cy) * cy));
      for (int x = 0; x <= cx; ++x)
        for (int y = 0; y <= cy; ++y) {
          const double d = std::nearbyint(std::sqrt(double(x - cx) * (x - cx) + double(y - cy) * (y - cy)));
          const int v = FCaption->ShadeType() == stIRadial ? int(std::nearbyint((dmax - d) / dmax * L))
                                                            : int(std::nearbyint(d / dmax * L));
          put(x, y, v);
          put(w - x, h - y, v);
          put(w - x, y, v);
          put(x, h - y, v);
        }
      break;
    }
  }
}

void TCustomRavUvure::DrawCaptionBkg(TCanvas* ACanvas, const TRect& Rect) {
  TRect r = Rect;
  HDC dc = ACanvas->GetHandle();
  const TShadeType type = FCaption->ShadeType();
  if (type == stXPCaption) {
    if (DoVisualStyles()) {
      TThemeBinding& theme = XPThemeBinding();
      if (HTHEME h = theme.OpenThemeData(Handle(), u"window")) {
        RECT box{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
        theme.DrawThemeBackground(h, dc, 1, 1, &box, nullptr);
        theme.CloseThemeData(h);
      }
    }
    return;
  }
  if (type == stBitmap || type == stBitmapRStretch || type == stBitmapLStretch) {
    TBitmap* bg = FCaption->Background();
    if (bg->GetEmpty()) return;
    const int bw = bg->GetWidth(), bh = bg->GetHeight();
    const bool top = FCaption->Position() == cpTop;
    if (type == stBitmapLStretch && top) {
      const int extra = std::max(0, Width() - bw);
      ACanvas->Draw(r.Left + extra, r.Top, bg);
      ACanvas->CopyRect(TRect{0, r.Top, extra, r.Bottom}, bg->Canvas(), TRect{0, 0, 2, bh});
    } else if (type == stBitmapLStretch) {
      const int extra = std::max(0, Height() - bh);
      ACanvas->Draw(r.Left, r.Top, bg);
      ACanvas->CopyRect(TRect{0, r.Bottom - extra, r.Right, r.Bottom}, bg->Canvas(), TRect{0, bh - 3, bw, bh});
    } else if (type == stBitmapRStretch && top) {
      ACanvas->Draw(r.Left, r.Top, bg);
      ACanvas->CopyRect(TRect{bw, r.Top, r.Right, r.Bottom}, bg->Canvas(), TRect{bw - 3, 0, bw, bh});
    } else if (type == stBitmapRStretch) {
      ACanvas->Draw(r.Left, r.Bottom - bh, bg);
      ACanvas->CopyRect(TRect{r.Left, r.Top, r.Right, r.Bottom - bh}, bg->Canvas(), TRect{0, 0, bw, 3});
    } else {
      ACanvas->CopyRect(r, bg->Canvas(), TRect{0, 0, bw, bh});
    }
    return;
  }
  const TColor dark = TColor(0x808080), light = clWhite;
  const int saved = SaveDC(dc);
  HRGN clip = nullptr;
  ACanvas->Brush()->SetStyle(bsClear);
  switch (FCaption->Shape()) {
    case csRectangle:
      if (!FCaption->Flat()) {
        ACanvas->Pen()->SetColor(dark);
        ACanvas->MoveTo(r.Left, r.Bottom - 1);
        ACanvas->LineTo(r.Right - 1, r.Bottom - 1);
        ACanvas->LineTo(r.Right - 1, r.Top);
        ACanvas->Pen()->SetColor(light);
        ACanvas->LineTo(r.Left, r.Top);
        ACanvas->LineTo(r.Left, r.Bottom - 1);
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
      }
      clip = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
      break;
    case csRounded:
    case csSemiRounded: {
      const int half = (r.Bottom - r.Top) / 2;
      const int s2 = SaveDC(dc);
      IntersectClipRect(dc, r.Left, r.Top + half, r.Right, r.Bottom);
      ACanvas->Pen()->SetColor(dark);
      ACanvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
      RestoreDC(dc, s2);
      const int s3 = SaveDC(dc);
      IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom - half);
      ACanvas->Pen()->SetColor(light);
      ACanvas->RoundRect(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
      RestoreDC(dc, s3);
      ACanvas->Refresh();
      if (FCaption->Shape() == csRounded) {
        ACanvas->Pen()->SetColor(dark);
        ACanvas->MoveTo(r.Left + 16, r.Bottom - 1);
        ACanvas->LineTo(r.Right - 16, r.Bottom - 1);
        r.Top += 1;
        clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
      } else {
        ACanvas->Pen()->SetColor(light);
        ACanvas->MoveTo(r.Left + (r.Right - r.Left) / 2, r.Top);
        ACanvas->LineTo(r.Left, r.Top);
        ACanvas->LineTo(r.Left, r.Bottom - 1);
        ACanvas->Pen()->SetColor(dark);
        ACanvas->LineTo(r.Right - 16, r.Bottom - 1);
        r.Top += 1;
        r.Left += 1;
        clip = CreateRoundRectRgn(r.Left, r.Top, r.Right, r.Bottom, 32, 32);
        HRGN square = CreateRectRgn(r.Left, r.Top, r.Right - (r.Right - r.Left) / 2, r.Bottom - 1);
        CombineRgn(clip, clip, square, RGN_OR);
        DeleteObject(square);
      }
      break;
    }
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  if (clip) {
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
  }
  ACanvas->Draw(r.Left, r.Top, FShadeBitmap.get());
  RestoreDC(dc, saved);
  ACanvas->Refresh();
}
