// The pager's look classes and its drawing routines: colour mixing, stepped gradients, the
// two-part glow fill of tabs and pages, tab outlines and tab captions.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "office/ZorOzirazIrezi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace ZorOzirazIrezi {

namespace {
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
TGPRectF RF(double x, double y, double w, double h) {
  return MakeRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w), static_cast<float>(h));
}
}  // namespace

// ---- look classes ------------------------------------------------------------------------

void TPagerTabSettings::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TPagerTabSettings*>(Source)) {
    SetLeftMargin(s->LeftMargin());
    SetRightMargin(s->RightMargin());
    SetHeight(s->Height());
    SetStartMargin(s->StartMargin());
    SetEndMargin(s->EndMargin());
    SetWidth(s->Width());
    SetWordWrap(s->WordWrap());
    SetImagePosition(s->ImagePosition());
    SetShape(s->Shape());
    SetRounding(s->Rounding());
    SetAlignment(s->Alignment());
    return;
  }
  TPersistent::Assign(Source);
}

void TGradientBackground::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TGradientBackground*>(Source)) {
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FDirection = s->FDirection;
    FSteps = s->FSteps;
  }
  // Any other source is ignored.
}

void TVistaBackground::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TVistaBackground*>(Source)) {
    FSteps = s->FSteps;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FBorderColor = s->FBorderColor;
    SetGradient(s->FGradient);
    SetGradientMirror(s->FGradientMirror);
    return;
  }
  TPersistent::Assign(Source);
}

TCustomTabAppearance::TCustomTabAppearance()
    : FBackGround(std::make_unique<TGradientBackground>()), FFont(std::make_unique<TFont>()) {
  FFont->SetName("Tahoma");
  FFont->SetSize(8);
  FBackGround->OnChange = [this](TObject*) { Changed(); };
  FFont->OnChange = [this](TObject*) {
    if (OnFontChange) OnFontChange(this);
  };
}

TCustomTabAppearance::~TCustomTabAppearance() = default;

void TCustomTabAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCustomTabAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  FBorderColor = s->FBorderColor;
  BorderColorHot = s->BorderColorHot;
  FColor = s->FColor;
  FColorTo = s->FColorTo;
  FColorHot = s->FColorHot;
  FColorHotTo = s->FColorHotTo;
  FColorSelectedTo = s->FColorSelectedTo;
  FBorderColorDisabled = s->FBorderColorDisabled;
  FBorderColorSelected = s->FBorderColorSelected;
  FColorDisabled = s->FColorDisabled;
  FColorDisabledTo = s->FColorDisabledTo;
  FColorSelected = s->FColorSelected;
  FColorMirror = s->FColorMirror;
  FColorMirrorTo = s->FColorMirrorTo;
  FColorMirrorHot = s->FColorMirrorHot;
  FColorMirrorHotTo = s->FColorMirrorHotTo;
  FGradientMirror = s->FGradientMirror;
  FGradientMirrorHot = s->FGradientMirrorHot;
  FGradient = s->FGradient;
  FGradientHot = s->FGradientHot;
  FColorMirrorDisabledTo = s->FColorMirrorDisabledTo;
  FColorMirrorDisabled = s->FColorMirrorDisabled;
  FColorMirrorSelectedTo = s->FColorMirrorSelectedTo;
  FColorMirrorSelected = s->FColorMirrorSelected;
  FGradientSelected = s->FGradientSelected;
  FGradientDisabled = s->FGradientDisabled;
  FGradientMirrorSelected = s->FGradientMirrorSelected;
  FGradientMirrorDisabled = s->FGradientMirrorDisabled;
  FTextColorDisabled = s->FTextColorDisabled;
  FTextColorSelected = s->FTextColorSelected;
  SetTextColor(s->FTextColor);
  SetTextColorHot(s->FTextColorHot);
  FBorderColorSelectedHot = s->FBorderColorSelectedHot;
  FBorderColorDown = s->FBorderColorDown;
  HighLightColorHot = s->HighLightColorHot;
  ShadowColor = s->ShadowColor;
  HighLightColorDown = s->HighLightColorDown;
  HighLightColorSelected = s->HighLightColorSelected;
  HighLightColorSelectedHot = s->HighLightColorSelectedHot;
  HighLightColor = s->HighLightColor;
  FFont->Assign(s->FFont.get());
  FBackGround->Assign(s->FBackGround.get());
}

int TDbgList::IndexOf(void* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TDbgList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems.erase(FItems.begin() + Index);
}

void TDbgList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
}

void* TDbgList::GetItemsEx(int Index) const {
  if (Index >= Count()) throw Exception("Index out of bounds in list read access");
  if (Index < 0) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

void TDbgList::SetItemsEx(int Index, void* Value) {
  if (Index >= Count()) throw Exception("Index out of bounds in list write access");
  if (Index < 0) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  FItems[static_cast<size_t>(Index)] = Value;
}

// ---- colours ---------------------------------------------------------------------------

ARGB ColorToARGB(TColor Color) {
  COLORREF c = ColorToRGB(Color);
  return MakeColor(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  COLORREF c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  double f = Percent / 100.0;
  auto mix = [f](int a, int b) { return std::clamp(RoundEven(f * a + (1 - f) * b), 0, 255); };
  int r = mix(GetRValue(c1), GetRValue(c2));
  int g = mix(GetGValue(c1), GetGValue(c2));
  int b = mix(GetBValue(c1), GetBValue(c2));
  return TColor(r | (g << 8) | (b << 16));
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R, bool Horizontal) {
  TRect r = R;
  if (Horizontal) --r.Right;
  else --r.Bottom;
  if (Steps <= 0) Steps = 1;
  Steps = std::min(Steps, 65535);
  COLORREF f = ColorToRGB(FromColor), t = ColorToRGB(ToColor);
  double sr = (int(GetRValue(t)) - int(GetRValue(f))) / double(Steps);
  double sg = (int(GetGValue(t)) - int(GetGValue(f))) / double(Steps);
  double sb = (int(GetBValue(t)) - int(GetBValue(f))) / double(Steps);
  double band = (Horizontal ? r.Right - r.Left : r.Bottom - r.Top) / double(Steps);
  for (int i = 0; i < Steps; ++i) {
    int cr = std::clamp(GetRValue(f) + RoundEven(i * sr), 0, 255);
    int cg = std::clamp(GetGValue(f) + RoundEven(i * sg), 0, 255);
    int cb = std::clamp(GetBValue(f) + RoundEven(i * sb), 0, 255);
    TColor c = TColor(cr | (cg << 8) | (cb << 16));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    int offset = RoundEven(i * band);
    if (Horizontal)
      Canvas->Rectangle(r.Left + offset, r.Top, r.Left + offset + RoundEven(band) + 1, r.Bottom);
    else
      Canvas->Rectangle(r.Left, r.Top + offset, r.Right, r.Top + offset + RoundEven(band) + 1);
  }
}

int GetFileVersion(const std::string& FileName) {
  // No module here carries a version resource.
  (void)FileName;
  return -1;
}

void DrawRoundRect(TGPGraphics* Graphics, TGPPen* Pen, int X, int Y, int Width, int Height, int Radius) {
  TGPGraphicsPath path;
  float R = float(Radius), D = 2.0f * Radius;
  float x = float(X), y = float(Y), w = float(Width), h = float(Height);
  path.AddLine(x + R, y, x + w - D, y);
  path.AddArc(x + w - D, y, D, D, 270, 90);
  path.AddLine(x + w, y + R, x + w, y + h - D);
  path.AddArc(x + w - D, y + h - D, D, D, 0, 90);
  path.AddLine(x + w - D, y + h, x + R, y + h);
  path.AddArc(x, y + h - D, D, D, 90, 90);
  path.AddLine(x, y + h - D, x, y + R);
  path.AddArc(x, y, D, D, 180, 90);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

void DrawRect(TGPGraphics* Graphics, TGPPen* Pen, int X, int Y, int Width, int Height) {
  TGPGraphicsPath path;
  float x = float(X), y = float(Y), w = float(Width), h = float(Height);
  path.AddLine(x, y, x + w, y);
  path.AddLine(x + w, y, x + w, y + h);
  path.AddLine(x + w, y + h, x, y + h);
  path.AddLine(x, y + h, x, y);
  path.CloseFigure();
  Graphics->DrawPath(Pen, &path);
}

int CanvasTextWidthW(TCanvas* Canvas, const std::u16string& Text) {
  SIZE sz{0, 0};
  if (Text.empty()) return 0;
  GetTextExtentPoint32W(Canvas->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &sz);
  return sz.cx;
}

// ---- two-part glow fill --------------------------------------------------------------------

namespace {

struct TPart {
  TGPRectF Solid, Ellipse;
  TGPPointF Centre;
  TGPRectF RadialFill, LinearVert, LinearDiag, LinearFill;
  TColor Start, End;       // solid start colour and radial centre colour
  TColor First, Second;    // linear colours in order
  TGDIPGradient Kind;
};

void PaintPart(TGPGraphics* G, const TPart& P, TTabPosition Pos) {
  TGPSolidBrush solid(ColorToARGB(P.Start));
  G->FillRectangle(&solid, P.Solid);
  TGPGraphicsPath path;
  path.AddEllipse(P.Ellipse);
  if (P.Kind == ggRadial) {
    TGPPathGradientBrush brush(&path);
    brush.SetCenterPoint(P.Centre);
    brush.SetCenterColor(ColorToARGB(P.End));
    ARGB surround = ColorToARGB(P.Start);
    int count = 1;
    brush.SetSurroundColors(&surround, count);
    G->FillRectangle(&brush, P.RadialFill);
  } else {
    LinearGradientMode mode = LinearGradientModeVertical;
    if (P.Kind == ggDiagonalForward) mode = LinearGradientModeForwardDiagonal;
    else if (P.Kind == ggDiagonalBackward) mode = LinearGradientModeBackwardDiagonal;
    else if (Pos == tpLeft || Pos == tpRight) mode = LinearGradientModeHorizontal;
    TGPLinearGradientBrush brush(P.Kind == ggVertical ? P.LinearVert : P.LinearDiag, ColorToARGB(P.First),
                                 ColorToARGB(P.Second), mode);
    G->FillRectangle(&brush, P.LinearFill);
  }
}

// The fill shared by page backgrounds and tabs. OuterFillFromEdge: the outer linear fill of a
// top tab starts at the left edge (a background without border).
void GlowFill(TGPGraphics* G, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror, TColor ColorMirrorTo,
              TGDIPGradient Gradient, TGDIPGradient GradientMirror, bool Extend, bool OuterFillFromEdge,
              TTabPosition Pos) {
  const double L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
  const int Wi = R.Right - R.Left, Hi = R.Bottom - R.Top;
  const double W = Wi, H = Hi, W2 = Wi / 2, H2 = Hi / 2;
  TPart first{}, second{};
  auto pt = [](double x, double y) { return TGPPointF{float(x), float(y)}; };
  switch (Pos) {
    case tpTop:
      first = {RF(L, T + H2, W, H2), RF(L, T + H2, W, H), pt(L + W2, B), RF(L + 1, T + H2, W - 1, H2 + 1),
               RF(L, T + H2, W, H2), RF(L, T + H2, W, H2), RF(L + 1, T + H2 + 1, W - 1, Extend ? H2 + 1 : H2 - 1),
               ColorMirror, ColorMirrorTo, ColorMirror, ColorMirrorTo, GradientMirror};
      second = {RF(L, T, W, H2), RF(L, T - H2, W, H), pt(L + W2, T), RF(L + 1, T + 1, W - 1, H - H2 - 1),
                RF(L, T, W, H2 + 1), RF(L, T, W, H),
                OuterFillFromEdge ? RF(L, T + 1, W, H2) : RF(L + 1, T + 1, W - 1, H2), Color, ColorTo, Color, ColorTo,
                Gradient};
      break;
    case tpBottom:
      first = {RF(L, T, W, H2), RF(L, T, W, H2), pt(L + W2, T), RF(L + 1, T, W - 1, H2 + 1), RF(L, T, W, H2),
               RF(L, T, W, H2), RF(L + 1, T + 1, W - 1, H2 + 1), ColorMirror, ColorMirrorTo, ColorMirrorTo,
               ColorMirror, GradientMirror};
      second = {RF(L, T + H2, W, H2), RF(L, B - H2, W, H), pt(L + W2, B), RF(L + 1, T + H2 + 1, W - 1, H2 - 1),
                RF(L, T + H2 - 1, W, H2), RF(L, T + H2, W, H), RF(L + 1, T + H2, W - 1, H2 - 1), Color, ColorTo,
                ColorTo, Color, Gradient};
      break;
    case tpLeft:
      first = {RF(L + W2, T, W2, H), RF(L + W2, T, W, H), pt(Rt, T + H2), RF(L + W2, T, W2 + 1, H - 1),
               RF(L + W2, T, W2, H), RF(L + W2, T, W2, H), RF(L + W2 + 1, T, W2 + 1, H - 1), ColorMirror,
               ColorMirrorTo, ColorMirror, ColorMirrorTo, GradientMirror};
      second = {RF(L, T, W2, H), RF(L - W2, T, W, H), pt(L, T + H2), RF(L + 1, T + 1, W2 - 1, H - 1),
                RF(L, T, W2, H), RF(L, T, W, H), RF(L + 1, T + 1, W2 - 1, H - 1), Color, ColorTo, Color, ColorTo,
                Gradient};
      break;
    case tpRight:
      first = {RF(Rt - W2, T, W2, H), RF(Rt - W2, T, W, H), pt(Rt, T + H2), RF(Rt - W2 + 1, T + 1, W2 - 1, H - 1),
               RF(Rt - W2, T, W2, H), RF(Rt - W2, T, W, H), RF(Rt - W2, T + 1, W2, H - 1), Color, ColorTo, ColorTo,
               Color, Gradient};
      second = {RF(L, T, W2, H), RF(L - W2, T, W, H), pt(L, T + H2), RF(L, T, W2 + 1, H - 1), RF(L, T, W2 + 2, H),
                RF(L, T, W2, H), RF(L, T, W2 + 2, H - 1), ColorMirror, ColorMirrorTo, ColorMirrorTo, ColorMirror,
                GradientMirror};
      break;
  }
  PaintPart(G, first, Pos);
  PaintPart(G, second, Pos);
}

}  // namespace

void DrawVistaBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                         TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient,
                         TGDIPGradient GradientMirror, bool RoundEdges, bool Extend, TTabPosition TabPosition) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  TGPGraphics g(Canvas->GetHandle());
  GlowFill(&g, R, Color, ColorTo, ColorMirror, ColorMirrorTo, Gradient, GradientMirror, Extend, BorderColor == clNone,
           TabPosition);
  if (BorderColor != clNone) {
    TGPPen pen(ColorToARGB(BorderColor), 1.0f);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    int W = R.Right - R.Left, H = R.Bottom - R.Top;
    if (RoundEdges) DrawRoundRect(&g, &pen, R.Left, R.Top, W - 1, H - 1, 3);
    else DrawRect(&g, &pen, R.Left, R.Top, W - 1, H - 1);
  }
  Canvas->Brush()->SetStyle(bsClear);
}

// ---- tab outline -------------------------------------------------------------------------

TGPGraphicsPath* CreateTabPath(const TRect& Rc, TDizTabShape Shape, int Rounding, bool Rotate,
                               TTabPosition TabPosition) {
  auto* path = new TGPGraphicsPath(FillModeAlternate);
  const int L = Rc.Left, T = Rc.Top, R = Rc.Right, B = Rc.Bottom, W = R - L, H = B - T;
  const int r = Rounding, c = 3 * r, h = r / 2;
  int p = r + H / 3;
  if ((TabPosition == tpLeft || TabPosition == tpRight) && Rotate) p = r + W / 3;
  auto line = [&](int x1, int y1, int x2, int y2) { path->AddLine(float(x1), float(y1), float(x2), float(y2)); };
  auto curve = [&](int x1, int y1, int x2, int y2, int x3, int y3) {
    TGPPoint pts[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    path->AddCurve(pts, 3, 0.8f);
  };
  auto bez = [&](int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    path->AddBezier(TGPPoint{x1, y1}, TGPPoint{x2, y2}, TGPPoint{x3, y3}, TGPPoint{x4, y4});
  };
  switch (Shape) {
    case tsRectangle:
      switch (TabPosition) {
        case tpTop:
          line(L, B, L, T + c); curve(L, T + c, L + r, T + r, L + c, T); line(L + c, T, R - c, T);
          curve(R - c, T, R - r, T + r, R, T + c); line(R, T + c, R, B); break;
        case tpBottom:
          line(L, T, L, B - c); curve(L, B - c, L + r, B - r, L + c, B); line(L + c, B, R - c, B);
          curve(R - c, B, R - r, B - r, R, B - c); line(R, B - c, R, T); break;
        case tpLeft:
          line(R, T, L + c, T); curve(L + c, T, L + r, T + r, L, T + c); line(L, T + c, L, B - c);
          curve(L, B - c, L + r, B - r, L + c, B); line(L + c, B, R, B); break;
        case tpRight:
          line(L, T, R - c, T); curve(R - c, T, R - r, T + r, R, T + c); line(R, T + c, R, B - c);
          curve(R, B - c, R - r, B - r, R - c, B); line(R - c, B, L, B); break;
      }
      break;
    case tsLeftRamp:
      switch (TabPosition) {
        case tpTop:
          bez(L, B, L + c, B - r, L - r + p, T + r, L + 2 * r + p, T); line(L + 2 * r + p, T, R - 3 * h, T);
          curve(R - 3 * h, T, R - h, T + h, R, T + 3 * h); line(R, T + 3 * h, R, B); break;
        case tpBottom:
          bez(L + 2 * r + p, B, L - r + p, B - r, L + c, T + r, L, T); line(L, T, R, T); line(R, T, R, B - 3 * h);
          curve(R, B - 3 * h, R - h, B - h, R - 3 * h, B); break;
        case tpLeft:
          line(R, T, L + 3 * h, T); curve(L + 3 * h, T, L + h, T + h, L, T + 3 * h);
          line(L, T + 3 * h, L, B - 2 * r - p); bez(L, B - 2 * r - p, L + r, B + r - p, R - r, B - c, R, B); break;
        case tpRight:
          bez(L, T, L + r, T + c, R - r, T - r + p, R, T + 2 * r + p); line(R, T + 2 * r + p, R, B - 3 * h);
          curve(R, B - 3 * h, R - h, B - h, R - 3 * h, B); line(R - 3 * h, B, L, B); break;
      }
      break;
    case tsRightRamp:
      switch (TabPosition) {
        case tpTop:
          line(L, B, L, T + 3 * h); curve(L, T + 3 * h, L + h, T + h, L + 3 * h, T);
          line(L + 3 * h, T, R - 2 * r - p, T); bez(R - 2 * r - p, T, R + r - p, T + r, R - c, B - r, R, B);
          line(L, B, R, B); break;
        case tpBottom:
          line(L, T, L, B - 3 * h); curve(L, B - 3 * h, L + h, B - h, L + 3 * h, B);
          line(L + 3 * h, B, R - 2 * r - p, B); bez(R - 2 * r - p, B, R + r - p, B - r, R - c, T + r, R, T);
          line(L, T, R, T); break;
        case tpLeft:
          bez(R, T, R - r, T + c, L + r, T - r + p, L, T + 2 * r + p); line(L, T + 2 * r + p, L, B - 3 * h);
          curve(L, B - 3 * h, L + h, B - h, L + 3 * h, B); line(L + 3 * h, B, R, B); break;
        case tpRight:
          line(L, T, R - 3 * h, T); curve(R - 3 * h, T, R - h, T + h, R, T + 3 * h);
          line(R, T + 3 * h, R, B - 2 * r - p); bez(R, B - 2 * r - p, R - r, B + r - p, L + r, B - c, L, B); break;
      }
      break;
    case tsLeftRightRamp:
      switch (TabPosition) {
        case tpTop:
          bez(L, B, L + c, B - r, L - r + p, T + r, L + 2 * r + p, T); line(L + 2 * r + p, T, R - 2 * r - p, T);
          bez(R - 2 * r - p, T, R + r - p, T + r, R - c, B - r, R, B); break;
        case tpBottom:
          bez(L + 2 * r + p, B, L - r + p, B - r, L + c, T + r, L, T); line(L, T, R, T);
          bez(R, T, R - c, T + r, R + r - p, B - r, R - 2 * r - p, B); line(R - 2 * r - p, B, L + 2 * r + p, B); break;
        case tpLeft:
          bez(R, T, R - r, T + c, L + r, T - r + p, L, T + 2 * r + p); line(L, T + 2 * r + p, L, B - 2 * r - p);
          bez(L, B - 2 * r - p, L + r, B + r - p, R - r, B - c, R, B); break;
        case tpRight:
          bez(L, T, L + r, T + c, R - r, T - r + p, R, T + 2 * r + p); line(R, T + 2 * r + p, R, B - 2 * r - p);
          bez(R, B - 2 * r - p, R - r, B + r - p, L + r, B - c, L, B); break;
      }
      break;
  }
  path->CloseFigure();
  return path;
}

void DrawVistaTab(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor ColorMirror,
                  TColor ColorMirrorTo, TColor BorderColor, TGDIPGradient Gradient, TGDIPGradient GradientMirror,
                  bool /*Enabled*/, TDizTabShape Shape, bool Focused, int Rounding, bool Rotate,
                  TTabPosition TabPosition) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  TGPGraphics g(Canvas->GetHandle());
  std::unique_ptr<TGPGraphicsPath> path(CreateTabPath(R, Shape, Rounding, Rotate, TabPosition));
  TTabPosition fillPos = TabPosition;
  if ((TabPosition == tpLeft || TabPosition == tpRight) && !Rotate) fillPos = tpTop;
  TGPRegion region(path.get());
  g.SetClip(&region, CombineModeReplace);
  GlowFill(&g, R, Color, ColorTo, ColorMirror, ColorMirrorTo, Gradient, GradientMirror, Rotate, false, fillPos);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  if (BorderColor != clNone) {
    g.ResetClip();
    TGPPen pen(ColorToARGB(BorderColor), 1.6f);
    g.DrawPath(&pen, path.get());
  }
  if (Focused) {
    int W = R.Right - R.Left, H = R.Bottom - R.Top;
    TGPPen ring(ColorToARGB(TColor(0xE4AD89)), 1.0f);
    DrawRoundRect(&g, &ring, R.Left + 1, R.Top + 1, W - 3, H - 3, 3);
    TGPPen dots(ColorToARGB(clGray), 1.0f);
    dots.SetDashStyle(DashStyleDot);
    DrawRoundRect(&g, &dots, R.Left + 2, R.Top + 2, W - 5, H - 5, 3);
  }
}

// ---- captions ----------------------------------------------------------------------------

std::string TrimCaption(TCanvas* Canvas, const std::string& Text, const TRect& R, bool Ellipsis,
                        TTabPosition TabPosition, bool WordWrap) {
  if (WordWrap) return Text;
  int width = (TabPosition == tpLeft || TabPosition == tpRight) ? R.Bottom - R.Top : R.Right - R.Left;
  const std::string suffix = Ellipsis ? "..." : "";
  auto measure = [&](const std::string& s) {
    RECT rc{0, 0, 1000, 100};
    DrawTextUtf8(Canvas->GetHandle(), s, &rc, DT_CALCRECT | DT_SINGLELINE);
    return int(rc.right);
  };
  if (measure(Text) < width) return Text;
  std::string caption = Text;
  for (size_t guard = 0; guard <= Text.size() + 1; ++guard) {
    if (caption.empty() || measure(caption + suffix) < width) break;
    // Drop the last UTF-8 character.
    size_t n = caption.size() - 1;
    while (n > 0 && (static_cast<unsigned char>(caption[n]) & 0xC0) == 0x80) --n;
    caption.erase(n);
  }
  return caption + suffix;
}

void DrawVistaText(TCanvas* Canvas, TAlignment Alignment, const TRect& R, const std::string& Caption,
                   const std::u16string& WideCaption, TFont* Font, bool Enabled, bool RealDraw, TAntiAlias AntiAlias,
                   TTabPosition TabPosition, bool Ellipsis, bool WordWrap, TRect& TextRect) {
  if (Caption.empty() && WideCaption.empty()) return;
  std::u16string text = Caption.empty() ? WideCaption : Utf8ToUtf16(Caption);
  std::string text8 = Caption.empty() ? Utf16ToUtf8(WideCaption) : Caption;
  TGPRectF LR = RF(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  try {
    if (AntiAlias != aaNone) {
      TGPGraphics g(Canvas->GetHandle());
      std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(Utf8ToUtf16(Font->GetName())));
      if (!family->GetNativeFamily()) family.reset(new TGPFontFamily(u"Arial"));
      int style = 0;
      if (Font->GetStyle().Contains(fsBold)) style |= 1;
      if (Font->GetStyle().Contains(fsItalic)) style |= 2;
      if (Font->GetStyle().Contains(fsUnderline)) style |= 4;
      TGPFont font(family.get(), float(Font->GetSize()), style, UnitPoint);
      g.SetSmoothingMode(SmoothingModeAntiAlias);
      TGPStringFormat format(RealDraw && TabPosition == tpRight ? StringFormatFlagsDirectionVertical : 0, 0);
      TGPSolidBrush brush(ColorToARGB(Enabled ? Font->GetColor() : TColor(0x808080)));
      format.SetAlignment(Alignment == taLeftJustify ? StringAlignmentNear
                          : Alignment == taRightJustify ? StringAlignmentFar
                                                        : StringAlignmentCenter);
      format.SetLineAlignment(StringAlignmentCenter);
      format.SetHotkeyPrefix(HotkeyPrefixShow);
      g.SetTextRenderingHint(AntiAlias == aaClearType ? TextRenderingHintClearTypeGridFit
                                                      : TextRenderingHintAntiAlias);
      if (RealDraw && Ellipsis) {
        // Shorten with GDI+ measuring: narrower than the width minus 2.
        int width = (TabPosition == tpLeft || TabPosition == tpRight) ? R.Bottom - R.Top : R.Right - R.Left;
        width -= 2;
        TGPRectF box = RF(R.Left, R.Top, 1000, R.Bottom - R.Top), out{};
        auto measure = [&](const std::u16string& s) {
          g.MeasureString(s, -1, &font, box, &format, out);
          return out.Width;
        };
        if (!(width > measure(text))) {
          std::u16string c = text;
          for (size_t i = 0; i <= text.size() + 1; ++i) {
            if (c.empty() || width > measure(c + u"...")) break;
            c.pop_back();
          }
          text = c + u"...";
        }
      }
      TGPRectF box{};
      g.MeasureString(text, -1, &font, LR, &format, box);
      TextRect = TRect{RoundEven(box.X), RoundEven(box.Y), RoundEven(box.X + box.Width), RoundEven(box.Y + box.Height)};
      if (RealDraw) g.DrawString(text, -1, &font, LR, &format, &brush);
    } else {
      if (RealDraw && Ellipsis) text8 = TrimCaption(Canvas, text8, R, true, TabPosition, WordWrap);
      RECT rc{RoundEven(LR.X), RoundEven(LR.Y), RoundEven(LR.X) + 65535, RoundEven(LR.Y)};
      DrawTextUtf8(Canvas->GetHandle(), text8, &rc, DT_CALCRECT | (Ellipsis ? DT_END_ELLIPSIS : DT_WORDBREAK));
      TextRect = TRect{int(rc.left), int(rc.top), int(rc.right), int(rc.bottom)};
      if (RealDraw) {
        Canvas->Brush()->SetStyle(bsClear);
        int x = RoundEven(LR.X) + 3, y = RoundEven(LR.Y);
        RECT dr{x, y, x + RoundEven(LR.Width), y + RoundEven(LR.Height)};
        UINT fmt = DT_VCENTER | DT_SINGLELINE |
                   (Alignment == taLeftJustify ? DT_LEFT : Alignment == taRightJustify ? DT_RIGHT : DT_CENTER);
        DrawTextUtf8(Canvas->GetHandle(), text8, &dr, fmt);
      }
    }
  } catch (...) {
    // A caption that cannot be measured or drawn is left out.
  }
}

}  // namespace ZorOzirazIrezi
