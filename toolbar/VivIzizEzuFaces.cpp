// VivIzizEzu, the glow and vista button faces: two halves with a solid fill and a GDI+
// gradient each, a border, a focus frame, a picture, a caption and a drop-down strip.
#include <algorithm>
#include <cmath>

#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "toolbar/VivIzizEzuInternal.h"

namespace VivIzizEzu {

namespace {

constexpr int kStrip = 14;                 // the drop-down strip's width or height
constexpr TColor kFocusColor = 0xE4AD89;   // the solid focus frame
constexpr TColor kFocusDotColor = 0x808080;  // the dotted focus frame

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

LinearGradientMode ModeOf(TGDIPGradient Kind) {
  switch (Kind) {
    case ggDiagonalForward: return LinearGradientModeForwardDiagonal;
    case ggDiagonalBackward: return LinearGradientModeBackwardDiagonal;
    default: return LinearGradientModeVertical;
  }
}

void FillSolid(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect(R);
}

// A path gradient brush over an ellipse, from CenterColor at Center to Surround.
std::unique_ptr<TGPPathGradientBrush> RadialBrush(const TGPGraphicsPath& Path, float CX, float CY, TColor CenterColor,
                                                  TColor Surround) {
  auto brush = std::make_unique<TGPPathGradientBrush>(&Path);
  brush->SetCenterPoint(MakePoint(CX, CY));
  brush->SetCenterColor(ColorToARGB(CenterColor));
  ARGB surround = ColorToARGB(Surround);
  int count = 1;
  brush->SetSurroundColors(&surround, count);
  return brush;
}

void DrawFocusFrames(TGPGraphics& G, int X, int Y, int W, int H, int R) {
  TGPPen solid(ColorToARGB(kFocusColor));
  DrawGDIPRoundRect(&G, &solid, X + 1, Y + 1, W - 3, H - 3, R);
  TGPPen dotted(ColorToARGB(kFocusDotColor));
  dotted.SetDashStyle(DashStyleDot);
  DrawGDIPRoundRect(&G, &dotted, X + 2, Y + 2, W - 5, H - 5, R);
}

// The glow face's arrow: two lines and a pixel (LineTo leaves out its end point).
void DrawDropDownArrow(TCanvas* Canvas, int X, int Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->MoveTo(X, Y);
  Canvas->LineTo(X + 5, Y);
  Canvas->MoveTo(X + 1, Y + 1);
  Canvas->LineTo(X + 4, Y + 1);
  Canvas->SetPixel(X + 2, Y + 2, Color);
}

TRect StripRect(const TRect& R, TDropDownPosition Pos) {
  return Pos == dpBottom ? TRect{R.Left, R.Bottom - kStrip, R.Right, R.Bottom}
                         : TRect{R.Right - kStrip, R.Top, R.Right, R.Bottom};
}

TRect ContentRect(const TRect& R, bool DropDown, TDropDownPosition Pos) {
  if (!DropDown) return R;
  return Pos == dpBottom ? TRect{R.Left, R.Top, R.Right, R.Bottom - kStrip}
                         : TRect{R.Left, R.Top, R.Right - kStrip, R.Bottom};
}

}  // namespace

// ---- glow face --------------------------------------------------------------------------------
void DrawGlowFace(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  const std::string& Caption, TFont* Font, bool Enabled, bool Focus, TAntiAlias AntiAlias,
                  bool RoundEdges) {
  DrawGlowFaceEx(Canvas, R, Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor, Gradient, GradientMirror, Caption,
                 Font, nullptr, -1, true, gpLeft, false, false, Enabled, Focus, dpRight, nullptr, AntiAlias,
                 RoundEdges);
}

void DrawGlowFaceEx(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                    TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                    const std::string& Caption, TFont* Font, TCustomImageList* Images, int ImageIndex,
                    bool ImageEnabled, TGlyphPosition Position, bool DropDown, bool DropDownSeparator,
                    bool Enabled, bool Focus, TDropDownPosition DropDownPos, TGDIPPicture* Picture,
                    TAntiAlias AntiAlias, bool RoundEdges) {
  if (!Canvas) return;
  const int L = R.Left, T = R.Top, W = R.Width(), H = R.Height(), W2 = W / 2;
  int H2 = H / 2;
  const TRect strip = StripRect(R, DropDownPos);
  const TRect content = ContentRect(R, DropDown, DropDownPos);

  // Lower half. Its gradient stops at the face's bottom edge: for an even height the
  // band would otherwise run one or two rows past it, over whatever lies below.
  FillSolid(Canvas, {L, T + H2, R.Right, R.Bottom}, ColorMirror);
  {
    TGPGraphics g(Canvas->GetHandle());
    TGPGraphicsPath path;
    path.AddEllipse(float(L), float(T + H2), float(W), float(H));
    if (GradientMirror == ggRadial) {
      auto brush = RadialBrush(path, float(L + W2), float(R.Bottom), ColorMirrorTo, ColorMirror);
      g.FillRectangle(brush.get(), float(L + 1), float(T + H2), float(W - 1), float(std::min(H2 + 1, H - H2)));
    } else {
      TGPLinearGradientBrush brush(MakeRect(float(L), float(T + H2), float(W), float(H2)), ColorToARGB(ColorMirror),
                                   ColorToARGB(ColorMirrorTo), ModeOf(GradientMirror));
      g.FillRectangle(&brush, float(L + 1), float(T + H2 + 1), float(W - 1), float(std::min(H2 + 1, H - H2 - 1)));
    }
  }

  // Upper half; its surface also draws the border, the focus frame and the caption.
  FillSolid(Canvas, {L, T, R.Right, T + H2}, Color);
  TGPGraphics g(Canvas->GetHandle());
  {
    TGPGraphicsPath path;
    path.AddEllipse(float(L), float(T - H2), float(W), float(H));
    std::unique_ptr<TGPBrush> brush;
    if (Gradient == ggRadial) brush = RadialBrush(path, float(L + W2), float(T), ColorTo, Color);
    else {
      TGPRectF box = Gradient == ggVertical ? MakeRect(float(L), float(T), float(W), float(H2))
                                            : MakeRect(float(L), float(T), float(W), float(H));
      brush = std::make_unique<TGPLinearGradientBrush>(box, ColorToARGB(Color), ColorToARGB(ColorTo), ModeOf(Gradient));
    }
    if (H % 2 == 1) ++H2;
    g.FillRectangle(brush.get(), float(L + 1), float(T + 1), float(W - 1), float(H - H2 - 1));
  }

  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (BorderColor != clNone) {
    TGPPen pen(ColorToARGB(BorderColor));
    if (RoundEdges) DrawGDIPRoundRect(&g, &pen, L, T, W - 1, H - 1, 3);
    else DrawGDIPPenRect(&g, &pen, L, T, W - 1, H - 1);
  }
  if (Focus) DrawFocusFrames(g, L, T, W, H, 3);

  int pw = 0, ph = 0;
  if (Picture && !Picture->GetEmpty()) {
    Picture->GetImageSizes();
    pw = Picture->GetWidth();
    ph = Picture->GetHeight();
  } else if (ImageIndex >= 0 && Images) {
    pw = Images->GetWidth();
    ph = Images->GetHeight();
  }

  int px = 0, py = 0;
  const int CW0 = content.Width(), CH0 = content.Height();
  if (!Caption.empty() && Font) {
    auto family = MakeFamily(Font->GetName());
    TGPFont font(family.get(), float(Font->GetSize()), FontStyleBits(Font, false), UnitPoint);
    TGPRectF box = MakeRect(float(L), float(T), float(CW0), float(CH0));
    TGPStringFormat format(0, 0);
    format.SetAlignment(StringAlignmentCenter);
    format.SetLineAlignment(StringAlignmentCenter);
    format.SetHotkeyPrefix(HotkeyPrefixShow);
    TGPSolidBrush brush(ColorToARGB(Enabled ? Font->GetColor() : clGray));
    if (AntiAlias != aaNone) g.SetTextRenderingHint(HintOf(AntiAlias));
    // The measured box; its top is not needed by the layout.
    double bx, bw, bh;
    if (AntiAlias != aaNone) {
      TGPRectF m{};
      g.MeasureString(Utf8ToUtf16(Caption), -1, &font, box, &format, m);
      bx = m.X, bw = m.Width, bh = m.Height;
    } else {
      RECT calc{L, T, L + 2, T};
      int h = DrawTextUtf8(TextHandle(Canvas, false), Caption, &calc, DT_CALCRECT | DT_WORDBREAK);
      // DrawText answers the text height; it is taken as the height whatever the box's top.
      bx = calc.left, bw = calc.right - calc.left, bh = h;
    }
    if (pw > 0) {
      switch (Position) {
        case gpLeft:
          box.X = float(L + 2 + pw);
          box.Width = float(CW0 - 2 - pw);
          px = std::max(2, RoundEven(bx - pw / 2));
          py = T + std::max(0, (CH0 - ph) / 2);
          break;
        case gpTop:
          box.Y = float(T + ph);
          box.Height = float(CH0 - 2 - ph);
          px = L + std::max(0, (CW0 - pw) / 2);
          py = std::max(2, RoundEven(box.Y) - ph + std::max(0, RoundEven(box.Height - bh) / 2));
          break;
        case gpRight:
          box.X = 2;
          box.Width = float(CW0 - 4 - pw);
          px = std::min(CW0 - pw - 2, RoundEven(bw) + 4 + std::max(0, RoundEven(box.Width - bw) / 2));
          py = T + std::max(0, (CH0 - ph) / 2);
          break;
        case gpBottom:
          box.Y = 2;
          box.Height = float(CH0 - 2 - ph);
          px = L + std::max(0, (CW0 - pw) / 2);
          py = std::min(CH0 - ph - 2, std::max(0, RoundEven(box.Height - bh) / 2) + RoundEven(bh + 2));
          break;
      }
    }
    if (AntiAlias != aaNone) {
      g.DrawString(Caption, -1, &font, box, &format, &brush);
    } else {
      Canvas->Brush()->SetStyle(bsClear);
      RECT r{RoundEven(box.X), RoundEven(box.Y), RoundEven(box.X + box.Width), RoundEven(box.Y + box.Height)};
      DrawTextUtf8(TextHandle(Canvas, true), Caption, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
  }

  int CW = Caption.empty() ? W : CW0, CH = Caption.empty() ? H : CH0;
  if (DropDown) (DropDownPos == dpBottom ? CH : CW) -= 8;
  int cx = L + std::max(0, (CW - pw) / 2), cy = T + std::max(0, (CH - ph) / 2);
  TPoint at = Caption.empty() ? TPoint{cx, cy} : TPoint{px, py};
  if (Picture && !Picture->GetEmpty()) Canvas->Draw(at.X, at.Y, Picture);
  else if (ImageIndex != -1 && Images) Images->Draw(Canvas, at.X, at.Y, ImageIndex, ImageEnabled);

  Canvas->Brush()->SetStyle(bsClear);
  if (DropDown) {
    if (DropDownSeparator) {
      Canvas->Pen()->SetColor(BorderColor);
      if (DropDownPos == dpRight) {
        Canvas->MoveTo(strip.Left, strip.Top);
        Canvas->LineTo(strip.Left, strip.Bottom);
      } else {
        Canvas->MoveTo(strip.Left, strip.Top);
        Canvas->LineTo(strip.Right, strip.Top);
      }
    }
    int ax = strip.Left + (strip.Width() - 5) / 2, ay = strip.Top + (strip.Height() - 3) / 2 + 1;
    DrawDropDownArrow(Canvas, ax, ay, Enabled ? clBlack : clGray);
  }
}

// ---- vista face ---------------------------------------------------------------------------------
namespace {

void DrawVistaHalf(TGPGraphics& G, const TRect& R, TColor C1, TColor C2, TGDIPGradient Kind, bool Upper) {
  const int W = R.Width(), H = R.Height(), W2 = W / 2, H2 = H / 2;
  TGPRectF box = MakeRect(float(R.Left), float(R.Top), float(W), float(H));
  TGPSolidBrush solid(ColorToARGB(Upper ? C1 : C2));
  G.FillRectangle(&solid, box);
  TGPGraphicsPath path;
  // The ellipse takes the half's right and bottom coordinates as its size.
  path.AddEllipse(float(R.Left), float(Upper ? R.Top - H2 + 2 : R.Top), float(R.Right), float(R.Bottom));
  if (Kind == ggRadial) {
    auto brush = Upper ? RadialBrush(path, float(R.Left + W2), float(R.Top), C2, C1)
                       : RadialBrush(path, float(R.Left + W2), float(R.Bottom), C1, C2);
    G.FillRectangle(brush.get(), box);
  } else {
    TGPLinearGradientBrush brush(box, ColorToARGB(C1), ColorToARGB(C2), ModeOf(Kind));
    G.FillRectangle(&brush, box);
  }
}

struct TFaceColors {
  TColor Color, ColorTo, Mirror, MirrorTo;
  TFaceColors Darkened() const {
    return {ChangeColorPercent(Color, -10), ChangeColorPercent(ColorTo, -10), ChangeColorPercent(Mirror, -10),
            ChangeColorPercent(MirrorTo, -10)};
  }
};

// The lower half from Y1 to B and the upper half from 0 to Y2 of the columns X0..X1.
void DrawHalves(TGPGraphics& G, int X0, int X1, int LowerTop, int Bottom, int UpperBottom, const TFaceColors& C,
                TGDIPGradient Upper, TGDIPGradient Lower) {
  DrawVistaHalf(G, {X0, LowerTop, X1, Bottom}, C.MirrorTo, C.Mirror, Lower, false);
  DrawVistaHalf(G, {X0, 0, X1, UpperBottom}, C.Color, C.ColorTo, Upper, true);
}

void PenLine(TGPGraphics& G, TColor Color, float X1, float Y1, float X2, float Y2) {
  TGPPen pen(ColorToARGB(Color));
  TGPGraphicsPath path;
  path.AddLine(X1, Y1, X2, Y2);
  G.DrawPath(&pen, &path);
}

// The left edge of a middle or right button: the darker border when hot, else a light
// line shortened by two pixels at each end.
void DrawInnerLeftEdge(TGPGraphics& G, TColor Border, float H, bool Hot) {
  if (Hot) PenLine(G, ChangeColorPercent(Border, -5), 0, 0, 0, H);
  else PenLine(G, ChangeColorPercent(clWhite, -10), 0, 2, 0, H - 2);
}

void DrawVistaBorder(TGPGraphics& G, const TVistaFaceParams& P, int W, int H, int R) {
  const float w = float(W - 1), h = float(H - 1), r = float(R), d = float(2 * R);
  TGPPen pen(ColorToARGB(P.BorderColor));
  TColor darker = ChangeColorPercent(P.BorderColor, -5);
  switch (P.Position) {
    case bpStandalone: DrawGDIPRoundRect(&G, &pen, 0, 0, W - 1, H - 1, R); break;
    case bpLeft: {
      TGPGraphicsPath path;
      path.AddLine(w, h, r, h);
      if (R > 0) path.AddArc(0, h - d, d, d, 90, 90);
      path.AddLine(0, h - r, 0, r);
      if (R > 0) path.AddArc(0, 0, d, d, 180, 90);
      path.AddLine(r, 0, w, 0);
      G.DrawPath(&pen, &path);
      PenLine(G, darker, w, 0, w, h);
      break;
    }
    case bpMiddle:
      PenLine(G, P.BorderColor, -1, 0, w, 0);
      PenLine(G, P.BorderColor, -1, h, w, h);
      PenLine(G, darker, w, 0, w, h);
      DrawInnerLeftEdge(G, P.BorderColor, h, P.Hot);
      break;
    case bpRight: {
      TGPGraphicsPath path;
      path.AddLine(0, 0, w - r, 0);
      if (R > 0) path.AddArc(w - d, 0, d, d, 270, 90);
      path.AddLine(w, r, w, h - r);
      if (R > 0) path.AddArc(w - d, h - d, d, d, 0, 90);
      path.AddLine(w - r, h, 0, h);
      G.DrawPath(&pen, &path);
      DrawInnerLeftEdge(G, P.BorderColor, h, P.Hot);
      break;
    }
  }
}

// The vista arrow: down (or pointing right) in Color with highlight pixels.
void DrawVistaDropDownArrow(TCanvas* Canvas, int X, int Y, TColor Color, bool Down, TColor Highlight) {
  Canvas->Pen()->SetColor(Color);
  if (Down) {
    Canvas->MoveTo(X, Y); Canvas->LineTo(X + 5, Y);
    Canvas->MoveTo(X + 1, Y + 1); Canvas->LineTo(X + 4, Y + 1);
    Canvas->SetPixel(X + 2, Y + 2, Color);
    for (TPoint p : {TPoint{X, Y + 1}, TPoint{X + 4, Y + 1}, TPoint{X + 1, Y + 2}, TPoint{X + 3, Y + 2},
                     TPoint{X + 2, Y + 3}})
      Canvas->SetPixel(p.X, p.Y, Highlight);
  } else {
    Canvas->MoveTo(X, Y); Canvas->LineTo(X, Y + 5);
    Canvas->MoveTo(X + 1, Y + 1); Canvas->LineTo(X + 1, Y + 4);
    Canvas->SetPixel(X + 2, Y + 2, Color);
    for (TPoint p : {TPoint{X + 2, Y + 1}, TPoint{X + 1, Y + 4}, TPoint{X + 3, Y + 2}})
      Canvas->SetPixel(p.X, p.Y, Highlight);
  }
}

}  // namespace

TSize DrawVistaButtonFace(TCanvas* Canvas, const TRect& R, const TVistaFaceParams& P) {
  if (!Canvas) return {};
  const int W = R.Width(), H = R.Height(), H2 = H / 2;
  const int radius = P.Rounded ? 3 : 0;
  const TDropDownPosition ddPos = P.DropDownBottom ? dpBottom : dpRight;
  const TRect face{0, 0, W, H};
  const TRect strip = StripRect(face, ddPos);
  const TRect content = ContentRect(face, P.DropDown, ddPos);
  TGPGraphics g(Canvas->GetHandle());

  if (!P.Transparent) {
    const TFaceColors colors{P.Color, P.ColorTo, P.ColorMirror, P.ColorMirrorTo};
    const bool split = P.DropDown && P.DropDownSplit && P.SplitSeparator;
    if (!split) {
      DrawHalves(g, 0, W, H2 - 1, H, H - H2, colors, P.Gradient, P.GradientMirror);
    } else {
      const TFaceColors main = P.State == 2 ? colors : colors.Darkened();
      const TFaceColors stripColors = P.State == 2 ? colors.Darkened() : colors;
      const TGDIPGradient stripUpper = P.State == 2 ? P.Gradient : ggRadial;
      if (ddPos == dpRight) {
        DrawHalves(g, 0, W - 12, H2 - 1, H, H - H2, main, P.Gradient, P.GradientMirror);
        DrawHalves(g, W - 12, W, H2 - 1, H, H - H2, stripColors, stripUpper, P.GradientMirror);
      } else {
        const int o = H - 12;
        DrawVistaHalf(g, {0, o / 2 - 1, W, H - 12}, main.MirrorTo, main.Mirror, P.GradientMirror, false);
        DrawVistaHalf(g, {0, 0, W, H - o / 2 - 12}, main.Color, main.ColorTo, P.Gradient, true);
        DrawVistaHalf(g, {0, H - 12, W, H}, stripColors.Color, stripColors.ColorTo, stripUpper, true);
      }
    }
  }

  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (!P.Transparent && P.Border && P.BorderColor != clNone) DrawVistaBorder(g, P, W, H, radius);
  if (P.Focus) DrawFocusFrames(g, 0, 0, W, H, radius);

  // Picture size: the glyph when it is larger than a pixel each way, else the picture,
  // else the image list's.
  int pw = 0, ph = 0;
  enum { picNone, picGlyph, picPicture, picList } source = picNone;
  if (P.Glyph && !P.Glyph->GetEmpty() && P.Glyph->GetWidth() > 1 && P.Glyph->GetHeight() > 1) {
    pw = P.Glyph->GetWidth(), ph = P.Glyph->GetHeight(), source = picGlyph;
  } else if (P.Picture && !P.Picture->GetEmpty()) {
    P.Picture->GetImageSizes();
    pw = P.Picture->GetWidth(), ph = P.Picture->GetHeight(), source = picPicture;
  } else if (P.ImageIndex >= 0 && P.Images) {
    pw = P.Images->GetWidth(), ph = P.Images->GetHeight(), source = picList;
  }
  const int pwx = pw > 0 ? pw + P.Spacing : 0;  // the picture width with the spacing
  TSize result{pwx, ph};
  const bool hasCaption = !P.Caption.empty() || !P.WideCaption.empty();
  int CW = content.Width(), CH = content.Height();
  int px = 0, py = 0;

  if (hasCaption && P.Font) {
    Canvas->Font()->SetName(P.Font->GetName());
    const bool G = P.AntiAlias != aaNone && IsVectorScreenFont(Canvas);
    const std::u16string text = !P.Caption.empty() ? Utf8ToUtf16(P.Caption) : P.WideCaption;
    TGPRectF box = P.MeasureOnly ? MakeRect(0.0f, 0.0f, 4096.0f, 4096.0f) : MakeRect(0.0f, 0.0f, float(CW), float(CH));
    TGPStringFormat format(P.WordWrap ? 0 : StringFormatFlagsNoWrap, 0);
    format.SetAlignment(P.Layout == 4 ? StringAlignmentNear : P.Layout == 5 ? StringAlignmentFar : StringAlignmentCenter);
    format.SetLineAlignment(P.Layout == 6 ? StringAlignmentNear : P.Layout == 7 ? StringAlignmentFar : StringAlignmentCenter);
    format.SetHotkeyPrefix(HotkeyPrefixShow);
    format.SetTrimming(P.Trimming);
    if (G) g.SetTextRenderingHint(HintOf(P.AntiAlias));
    auto family = MakeFamily(P.Font->GetName());
    TGPFont font(family.get(), float(P.Font->GetSize()), FontStyleBits(P.Font, false), UnitPoint);
    TGPSolidBrush brush(ColorToARGB(P.Enabled ? P.Font->GetColor() : clGray));

    // The measured box; its top is not needed by the layout.
    double bx, bw, bh;
    if (G) {
      TGPRectF m{};
      g.MeasureString(text, -1, &font, box, &format, m);
      bx = m.X, bw = m.Width, bh = m.Height;
    } else {
      Canvas->Font()->Assign(P.Font);
      RECT calc{RoundEven(box.X), RoundEven(box.Y), RoundEven(box.X) + 2, RoundEven(box.Y)};
      bh = DrawTextW(TextHandle(Canvas, false), text.c_str(), -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
      bw = calc.right - calc.left;
      bx = P.Layout == 0 ? (CW - bw - pwx) / 2 : box.X;
    }
    result = {RoundEven(bw) + pwx + P.Spacing, std::max(RoundEven(bh) + P.Spacing, ph + P.Spacing)};
    if (P.MeasureOnly) return result;

    switch (P.Layout) {
      case 0:
        box.X = float(G ? pwx + 2 : bx + pwx);
        box.Width = float(CW - pwx - 2);
        px = std::max(2, G ? RoundEven(bx - pwx / 2) : RoundEven(bx));
        py = std::max(0, (CH - ph) / 2);
        break;
      case 1:
        box.Y = float(ph);
        box.Height = float(CH - ph - 2);
        px = std::max(0, (CW - pwx) / 2);
        py = std::max(2, RoundEven(box.Y) + std::max(0, RoundEven(box.Height - bh) / 2) - ph - (G ? 0 : 4));
        break;
      case 2:
        box.X = 2;
        box.Width = float(CW - pwx - 4);
        px = std::min(CW - pwx - 2, std::max(0, RoundEven(box.Width - bw) / 2) + RoundEven(bw) + 4);
        py = std::max(0, (CH - ph) / 2);
        break;
      case 3:
        box.Y = 2;
        box.Height = float(CH - ph - 2);
        px = std::max(0, (CW - pwx) / 2);
        py = std::min(CH - ph - 2, std::max(0, RoundEven(box.Height - bh) / 2) + RoundEven(G ? bh + 2 : bh + 5));
        break;
      case 4:
        box.X = float(pwx + 2);
        box.Width = float(CW - pwx - 2);
        px = std::max(2, RoundEven(bx - pwx / 2));
        py = std::max(0, (CH - ph) / 2);
        break;
      case 5:
        box.X = 2;
        box.Width = float(CW - pwx - 4);
        px = CW - pwx - 2;
        py = std::max(0, (CH - ph) / 2);
        break;
      case 6:
        box.Y = float(ph);
        box.Height = float(CH - ph - 2);
        px = std::max(0, (CW - pwx) / 2);
        py = std::max(2, RoundEven(box.Y) - ph);
        break;
      case 7:
        box.Y = 2;
        box.Height = float(CH - ph - (G ? 2 : 4));
        px = std::max(0, (CW - pwx) / 2);
        py = G ? std::min(CH - ph - 2, std::max(0, CH / 2) + RoundEven(bh + 2)) : CH - ph - 2;
        break;
      default: break;
    }
    if (P.PictureBehindText) {
      box = MakeRect(0.0f, 0.0f, float(W), float(H));
      if (P.ShowPicture && source == picGlyph) Canvas->Draw(px, py, P.Glyph);
    }
    if (P.DrawCaption) {
      if (G) {
        g.DrawString(text, -1, &font, box, &format, &brush);
      } else {
        static const UINT formats[] = {0x24, 0x25, 0x25, 0x25, 0x24, 0x26, 0x21, 0x29};
        Canvas->Brush()->SetStyle(bsClear);
        RECT r{RoundEven(box.X), RoundEven(box.Y), RoundEven(box.X + box.Width), RoundEven(box.Y + box.Height)};
        if (P.Layout == 4) r.left += 2;
        DrawTextUtf8(TextHandle(Canvas, true), P.Caption, &r, formats[std::clamp(P.Layout, 0, 7)]);
      }
    }
  } else if (P.MeasureOnly) {
    return result;
  }

  if (P.DropDown) (ddPos == dpBottom ? CH : CW) -= 8;
  TPoint at = hasCaption ? TPoint{px, py}
                         : TPoint{std::max(0, (CW - pwx) / 2), std::max(0, (CH - ph) / 2)};
  if (!(P.ShowPicture && P.PictureBehindText)) {
    if (P.ShowPicture && source == picGlyph) Canvas->Draw(at.X, at.Y, P.Glyph);
    else if (source == picPicture) Canvas->Draw(at.X, at.Y, P.Picture);
    else if (source == picList) P.Images->Draw(Canvas, at.X, at.Y, P.ImageIndex, P.ImageEnabled);
  }
  Canvas->Brush()->SetStyle(bsClear);
  if (P.DropDown) {
    if (P.DropDownSplit && P.SplitSeparator) {
      Canvas->Pen()->SetColor(P.BorderColor);
      if (ddPos == dpRight) {
        Canvas->MoveTo(strip.Left, strip.Top);
        Canvas->LineTo(strip.Left, strip.Bottom);
      } else {
        Canvas->MoveTo(strip.Left, strip.Top);
        Canvas->LineTo(strip.Right, strip.Top);
      }
    }
    int ax = strip.Left + (strip.Width() - 5) / 2, ay = strip.Top + (strip.Height() - 3) / 2 + 1;
    DrawVistaDropDownArrow(Canvas, ax, ay, P.Enabled ? clBlack : clGray, P.ArrowDown, clWhite);
  }
  return result;
}

}  // namespace VivIzizEzu
