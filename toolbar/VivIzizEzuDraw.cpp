// VivIzizEzu, the drawing primitives: colour arithmetic, banded gradients, GDI+ shapes,
// one-line captions, pictures with a colour key, caption-button glyphs. The composite
// button faces are in VivIzizEzuFaces.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/ComStream.h"
#include "platform/win/GlobalMemory.h"
#include "toolbar/VivIzizEzuInternal.h"

namespace VivIzizEzu {

namespace {
struct TRgb {
  int R, G, B;
};
TRgb Channels(TColor c) {
  COLORREF rgb = ColorToRGB(c);
  return {int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF)};
}
TColor Pack(int r, int g, int b) {
  auto clamp = [](int v) { return std::clamp(v, 0, 255); };
  return TColor(clamp(r) | (clamp(g) << 8) | (clamp(b) << 16));
}
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
}  // namespace

// ---- colour arithmetic ---------------------------------------------------------------------
ARGB ColorToARGB(TColor Color) {
  TRgb c = Channels(Color);
  return 0xFF000000u | (ARGB(c.R) << 16) | (ARGB(c.G) << 8) | ARGB(c.B);
}

TColor BlendColor(TColor C1, TColor C2, int Percent) {
  if (Percent >= 100) return C1;
  if (Percent <= 0) return C2;
  TRgb a = Channels(C1), b = Channels(C2);
  double f = Percent / 100.0;
  auto mix = [f](int x, int y) { return std::min(255, RoundEven(f * x + (1 - f) * y)); };
  return Pack(mix(a.R, b.R), mix(a.G, b.G), mix(a.B, b.B));
}

TColor DarkenColorPercent(TColor Color, int Percent) {
  // Out-of-range percentages would spill one channel into the next; they are clamped.
  Percent = std::clamp(Percent, 0, 100);
  TRgb c = Channels(Color);
  auto dark = [Percent](int x) { return RoundEven(x * (100 - Percent) / 100.0); };
  return Pack(dark(c.R), dark(c.G), dark(c.B));
}

TColor ChangeColorPercent(TColor Color, int Percent) {
  TRgb c = Channels(Color);
  auto change = [Percent](int x) {
    if (x == 0) return std::max(0, Percent);
    return RoundEven(std::min(100, 100 + Percent) / 100.0 * x);
  };
  return Pack(change(c.R), change(c.G), change(c.B));
}

int GetCornerRadius() { return IsWin7() ? 0 : 3; }

// ---- canvas routines ------------------------------------------------------------------------
void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Bands) {
  if (!Canvas) return;
  if (Bands <= 0) Bands = 1;
  TRgb f = Channels(FromColor), t = Channels(ToColor);
  const double span = Horizontal ? double(R.Right) - 1 - R.Left : double(R.Bottom) - 1 - R.Top;
  const double s = span / double(Bands);
  auto position = [s](int i) { return RoundEven(i * s); };
  auto draw = [&](int i) {
    TColor c = Pack(f.R + RoundEven(double(i) * (t.R - f.R) / Bands), f.G + RoundEven(double(i) * (t.G - f.G) / Bands),
                    f.B + RoundEven(double(i) * (t.B - f.B) / Bands));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    int p = position(i), w = RoundEven(s) + 1;
    if (Horizontal) Canvas->Rectangle(R.Left + p, R.Top, R.Left + p + w, R.Bottom);
    else Canvas->Rectangle(R.Left, R.Top + p, R.Right, R.Top + p + w);
  };
  if (Bands <= 2 * (std::abs(span) + 2)) {
    for (int i = 0; i < Bands; ++i) draw(i);
    return;
  }
  // Far more bands than pixels (a step count from a file or form may be anything up to
  // 2^31 - 1): the bands are then one pixel wide (|s| < 0.5), and what each pixel shows is
  // the last band drawn there. Only those bands are drawn, in band order, which gives the
  // very pixels, and the pen and brush, of drawing every band.
  std::vector<int> shown;
  const int first = position(0), last = position(Bands - 1);
  for (int x = std::min(first, last); x <= std::max(first, last); ++x) {
    // The positions run monotonically with the band number: find the last band that
    // begins at or before x (at or after x when they run backwards).
    int lo = 0, hi = Bands - 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (s >= 0 ? position(mid) <= x : position(mid) >= x) lo = mid;
      else hi = mid - 1;
    }
    if (position(lo) == x) shown.push_back(lo);
  }
  std::sort(shown.begin(), shown.end());
  for (int i : shown) draw(i);
}

void DrawVistaGradient(TCanvas* Canvas, const TRect& R, int UpperHeight, TColor Color, TColor ColorTo,
                       TColor Mirror, TColor MirrorTo, TColor Border, int Radius) {
  if (!Canvas) return;
  DrawGradient(Canvas, Color, ColorTo, false, {R.Left, R.Top, R.Right, R.Top + UpperHeight + 1}, 40);
  DrawGradient(Canvas, Mirror, MirrorTo, false, {R.Left, R.Top + UpperHeight, R.Right, R.Bottom}, 40);
  if (Border == clNone) return;
  TGPGraphics g(Canvas->GetHandle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPPen pen(ColorToARGB(Border));
  if (Radius > 0) DrawGDIPRoundRect(&g, &pen, R.Left, R.Top, R.Width() - 1, R.Height() - 1, Radius);
  else DrawGDIPPenRect(&g, &pen, R.Left, R.Top, R.Width() - 1, R.Height() - 1);
}

namespace {
// The stripped caption and the byte range of its hot key (Length 0: none). "&&" is a
// literal "&"; the last marked character wins.
struct THotKey {
  std::string Text;
  size_t Start = 0, Length = 0;
};
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  return 4;
}
THotKey ScanHotKey(const std::string& s) {
  THotKey h;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '&' && i + 1 < s.size()) {
      if (s[i + 1] == '&') {
        h.Text += '&';
        i += 2;
        continue;
      }
      h.Start = h.Text.size();
      h.Length = std::min(Utf8Length(static_cast<unsigned char>(s[i + 1])), s.size() - i - 1);
      ++i;
      continue;
    }
    if (s[i] == '&') {  // a trailing single marker is dropped
      ++i;
      continue;
    }
    h.Text += s[i++];
  }
  return h;
}
}  // namespace

void DrawVerticalText(TCanvas* Canvas, const std::string& Text, TPoint P) {
  if (!Canvas) return;
  THotKey h = ScanHotKey(Text);
  int before = 0, keyWidth = 0, height = 0;
  if (h.Length) {
    before = Canvas->TextWidth(h.Text.substr(0, h.Start));
    keyWidth = Canvas->TextWidth(h.Text.substr(h.Start, h.Length));
    height = Canvas->TextHeight(h.Text);
  }
  int oldOrientation = Canvas->Font()->GetOrientation();
  Canvas->Font()->SetOrientation(2700);
  Canvas->TextOut(P.X, P.Y, h.Text);
  Canvas->Font()->SetOrientation(oldOrientation);
  if (!h.Length) return;
  Canvas->Pen()->SetColor(Canvas->Font()->GetColor());
  int x = P.X - height + 1, y1 = P.Y + before;
  Canvas->MoveTo(x, y1);
  Canvas->LineTo(x, y1 + keyWidth);
}

void CenterRect(TRect& R, int W, int H) {
  R.Right = (R.Left + R.Right + W) / 2;
  R.Bottom = (R.Top + R.Bottom + H) / 2;
  R.Left = R.Right - W;
  R.Top = R.Bottom - H;
}

namespace {
void Line(TCanvas* C, int x1, int y1, int x2, int y2) {
  C->MoveTo(x1, y1);
  C->LineTo(x2, y2);
}
}  // namespace

void DrawCloseGlyph(TCanvas* Canvas, const TRect& R, TColor Color, int Size) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(Color);
  int x0 = R.Left + (R.Width() - Size) / 3, y0 = R.Top + (R.Height() - Size) / 3, s = Size;
  Line(Canvas, x0, y0 + s, x0 + s + 1, y0);
  Line(Canvas, x0 + 1, y0 + s, x0 + s, y0);
  Line(Canvas, x0, y0 + 1, x0 + s + 1, y0 + s + 1);
  Line(Canvas, x0 + 1, y0 + 1, x0 + s, y0 + s + 1);
}

namespace {
void SmallFrame(TCanvas* C, const TRect& R) {
  Line(C, R.Right - 8, R.Top, R.Right - 8, R.Top + 7);
  Line(C, R.Right - 9, R.Top, R.Right - 9, R.Top + 7);
  C->Polyline({{R.Right - 9, R.Top}, {R.Right - 13, R.Top}, {R.Right - 13, R.Top + 6}, {R.Right - 9, R.Top + 6}});
}
}  // namespace

void DrawMaximizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(Color);
  if (!Large) return SmallFrame(Canvas, R);
  int x0 = R.Left + (R.Width() - 8) / 3, y0 = R.Top + (R.Height() - 8) / 3;
  Line(Canvas, x0, y0 + 1, x0 + 9, y0 + 1);
  Line(Canvas, x0, y0 + 2, x0 + 9, y0 + 2);
  Canvas->Polyline({{x0, y0 + 2}, {x0, y0 + 8}, {x0 + 8, y0 + 8}, {x0 + 8, y0 + 2}});
}

void DrawRestoreGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(Color);
  if (!Large) {
    Line(Canvas, R.Right - 5, R.Top + 2, R.Right - 5, R.Top + 8);
    Line(Canvas, R.Right - 6, R.Top + 2, R.Right - 6, R.Top + 8);
    Line(Canvas, R.Right - 5, R.Top + 8, R.Right - 11, R.Top + 8);
    return SmallFrame(Canvas, R);
  }
  int x0 = R.Left + (R.Width() - 8) / 3, y0 = R.Top + (R.Height() - 8) / 3;
  Line(Canvas, x0 + 2, y0, x0 + 8, y0);
  Line(Canvas, x0 + 2, y0 + 1, x0 + 8, y0 + 1);
  Line(Canvas, x0 + 8, y0, x0 + 8, y0 + 6);
  Line(Canvas, x0, y0 + 3, x0 + 7, y0 + 3);
  Line(Canvas, x0, y0 + 4, x0 + 7, y0 + 4);
  Canvas->Polyline({{x0, y0 + 4}, {x0, y0 + 8}, {x0 + 6, y0 + 8}, {x0 + 6, y0 + 4}});
}

void DrawMinimizeGlyph(TCanvas* Canvas, const TRect& R, TColor Color, bool Large) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(Color);
  if (!Large) {
    Line(Canvas, R.Left, R.Top, R.Left, R.Top + 6);
    Line(Canvas, R.Left + 1, R.Top, R.Left + 1, R.Top + 6);
    return;
  }
  int x0 = R.Left + (R.Width() - 6) / 3, y0 = R.Top + R.Height() / 2;
  Line(Canvas, x0, y0, x0 + 6, y0);
  Line(Canvas, x0, y0 + 1, x0 + 6, y0 + 1);
}

// ---- GDI+ shapes ------------------------------------------------------------------------------
TSurface::TSurface(TGPGraphics* Given, TCanvas* Canvas) : G(Given) {
  if (G || !Canvas) return;
  FOwn = std::make_unique<TGPGraphics>(Canvas->GetHandle());
  FOwn->SetSmoothingMode(SmoothingModeAntiAlias);
  G = FOwn.get();
}
TSurface::~TSurface() = default;

void DrawGDIPLine(TGPGraphics* G, TGPPen* Pen, int X, int Y, int DX, int DY) {
  if (!G) return;
  TGPGraphicsPath path;
  path.AddLine(float(X), float(Y), float(X + DX), float(Y + DY));
  path.CloseFigure();
  G->DrawPath(Pen, &path);
}

void DrawGDIPArc(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H, float Start, float Sweep, bool Close) {
  if (!G) return;
  TGPGraphicsPath path;
  path.AddArc(float(X), float(Y), float(W), float(H), Start, Sweep);
  if (Close) path.CloseFigure();
  G->DrawPath(Pen, &path);
}

void AddRoundRectPath(TGPGraphicsPath& path, int X, int Y, int W, int H, int R) {
  float x = X, y = Y, w = W, h = H, r = R;
  path.AddLine(x + r, y, x + w - 2 * r, y);
  path.AddArc(x + w - 2 * r, y, 2 * r, 2 * r, 270, 90);
  path.AddLine(x + w, y + r, x + w, y + h - 2 * r);
  path.AddArc(x + w - 2 * r, y + h - 2 * r, 2 * r, 2 * r, 0, 90);
  path.AddLine(x + w - 2 * r, y + h, x + r, y + h);
  path.AddArc(x, y + h - 2 * r, 2 * r, 2 * r, 90, 90);
  path.AddLine(x, y + h - 2 * r, x, y + r);
  path.AddArc(x, y, 2 * r, 2 * r, 180, 90);
  path.CloseFigure();
}

void DrawGDIPRoundRect(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H, int R) {
  if (!G) return;
  TGPGraphicsPath path;
  AddRoundRectPath(path, X, Y, W, H, R);
  G->DrawPath(Pen, &path);
}

void DrawGDIPPenRect(TGPGraphics* G, TGPPen* Pen, int X, int Y, int W, int H) {
  if (!G) return;
  TGPGraphicsPath path;
  path.AddLine(float(X), float(Y), float(X + W), float(Y));
  path.AddLine(float(X + W), float(Y), float(X + W), float(Y + H));
  path.AddLine(float(X + W), float(Y + H), float(X), float(Y + H));
  path.CloseFigure();
  G->DrawPath(Pen, &path);
}

void DrawGDIPRectangle(TGPGraphics* G, TCanvas* Canvas, TColor Color, const TRect& R) {
  TSurface s(G, Canvas);
  if (!s.G) return;
  TGPPen pen(ColorToARGB(Color));
  DrawGDIPPenRect(s.G, &pen, R.Left, R.Top, R.Width(), R.Height());
}

void DrawGDIPDropDownArrow(TGPGraphics* G, TCanvas* Canvas, TColor Color, TPoint P) {
  TSurface s(G, Canvas);
  if (!s.G) return;
  TGPPen pen(ColorToARGB(Color));
  TGPGraphicsPath path;
  float x = P.X, y = P.Y;
  path.AddLine(x, y, x + 5, y);
  path.AddLine(x + 1, y + 1, x + 4, y + 1);
  path.AddLine(x + 2, y + 2, x + 2, y + 2);
  path.CloseFigure();
  s.G->DrawPath(&pen, &path);
}

void DrawGDIPGradient(TGPGraphics* G, TCanvas* Canvas, TColor From, TColor To, const TRect& R) {
  TSurface s(G, Canvas);
  if (!s.G) return;
  TGPRectF box = MakeRect(float(R.Left), float(R.Top), float(R.Width()), float(R.Height()));
  TGPSolidBrush solid(ColorToARGB(From));
  s.G->FillRectangle(&solid, box);
  TGPLinearGradientBrush brush(box, ColorToARGB(From), ColorToARGB(To), LinearGradientModeVertical);
  s.G->FillRectangle(&brush, box);
}

// ---- text ----------------------------------------------------------------------------------------
HDC TextHandle(TCanvas* Canvas, bool Transparent) {
  Canvas->TextExtent("");  // selects the canvas font into the device context
  HDC dc = Canvas->GetHandle();
  if (Transparent) SetBkMode(dc, TRANSPARENT);
  return dc;
}

std::unique_ptr<TGPFontFamily> MakeFamily(const std::string& Name) {
  auto family = std::make_unique<TGPFontFamily>(Utf8ToUtf16(Name));
  if (!family->GetNativeFamily()) family = std::make_unique<TGPFontFamily>(u"Arial");
  return family;
}

bool IsVectorScreenFont(TCanvas* Canvas) {
  if (!Canvas) return false;
  Canvas->TextExtent("W");  // selects the canvas font
  TEXTMETRIC tm;
  if (!GetTextMetrics(Canvas->GetHandle(), &tm)) return false;
  if (!(tm.tmPitchAndFamily & TMPF_VECTOR) || (tm.tmPitchAndFamily & 8 /* TMPF_DEVICE */)) return false;
  return ScreenHasFont(Canvas->Font()->GetName());
}

int FontStyleBits(TFont* Font, bool StrikeOut) {
  TFontStyles st = Font->GetStyle();
  int bits = 0;
  if (st.Contains(fsBold)) bits |= 1;
  if (st.Contains(fsItalic)) bits |= 2;
  if (st.Contains(fsUnderline)) bits |= 4;
  if (StrikeOut && st.Contains(fsStrikeOut)) bits |= 8;
  return bits;
}

TextRenderingHint HintOf(TAntiAlias AntiAlias) {
  return AntiAlias == aaClearType ? TextRenderingHintClearTypeGridFit : TextRenderingHintAntiAlias;
}

TRect DrawGDIPText(TCanvas* Canvas, int Alignment, UINT Format, const TRect& R, const std::string& Text,
                   const std::u16string& WideText, TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias,
                   bool Ellipsis, bool Wrap) {
  // A caption given only as wide text is drawn too.
  std::string text = Text.empty() ? Utf16ToUtf8(WideText) : Text;
  if (text.empty() || !Canvas || !Font) return {};
  Canvas->Font()->SetName(Font->GetName());
  if (AntiAlias == aaNone || !IsVectorScreenFont(Canvas)) {
    RECT calc{0, 0, 1000, 100};
    DrawTextUtf8(TextHandle(Canvas, false), text, &calc, DT_CALCRECT | DT_SINGLELINE);
    if (Draw) {
      RECT r{R.Left, R.Top, R.Right, R.Bottom};
      DrawTextUtf8(TextHandle(Canvas, Canvas->Brush()->GetStyle() == bsClear), text, &r, Format);
    }
    return {calc.left, calc.top, calc.right, calc.bottom};
  }
  TGPGraphics g(Canvas->GetHandle());
  auto family = MakeFamily(Font->GetName());
  TGPFont font(family.get(), float(Font->GetSize()), FontStyleBits(Font, true), UnitPoint);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPRectF box = MakeRect(float(R.Left), float(R.Top), float(R.Width()), float(R.Height()));
  TGPStringFormat format(0, 0);
  format.SetAlignment(Alignment == 1 ? StringAlignmentFar
                      : Alignment == 2     ? StringAlignmentCenter
                                                  : StringAlignmentNear);
  format.SetLineAlignment(StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  TGPSolidBrush brush(ColorToARGB(Enabled ? Font->GetColor() : clGray));
  g.SetTextRenderingHint(HintOf(AntiAlias));
  auto measure = [&](const std::string& s, const TGPRectF& in) {
    TGPRectF out{};
    g.MeasureString(Utf8ToUtf16(s), -1, &font, in, &format, out);
    return out;
  };
  TGPRectF wide = MakeRect(box.X, box.Y, 1000.0f, box.Height);
  TGPRectF m = measure(text, (!Draw || (!Ellipsis && Wrap)) ? box : wide);
  TRect result{RoundEven(m.X), RoundEven(m.Y), RoundEven(m.X + m.Width), RoundEven(m.Y + m.Height)};
  if (Draw) {
    std::string shown = text;
    if (m.Width > box.Width && (Ellipsis || !Wrap)) {
      std::string suffix = Ellipsis ? "..." : "";
      size_t rounds = shown.size() + 1;
      while (rounds-- > 0 && !shown.empty() && measure(shown + suffix, wide).Width > box.Width) {
        shown.pop_back();
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80) shown.pop_back();
      }
      shown += suffix;
    }
    g.DrawString(shown, -1, &font, box, &format, &brush);
  }
  return result;
}

TRect DrawGDIPWideText(TCanvas* Canvas, int Alignment, const TRect& R, const std::string& Text,
                       const std::u16string& WideText, TFont* Font, bool Enabled, bool Draw, TAntiAlias AntiAlias) {
  std::u16string text = Text.empty() ? WideText : Utf8ToUtf16(Text);
  if (text.empty() || !Canvas || !Font) return {};
  TGPRectF box = MakeRect(float(R.Left), float(R.Top), float(R.Width()), float(R.Height()));
  TRect result;
  if (AntiAlias == aaNone) {
    RECT calc{R.Left, R.Top, R.Left + 2, R.Top};
    int h = DrawTextW(TextHandle(Canvas, false), text.c_str(), -1, &calc, DT_CALCRECT | DT_WORDBREAK);
    result = {calc.left, calc.top, calc.right, calc.top + h};
    if (Draw) {
      Canvas->Brush()->SetStyle(bsClear);
      RECT r{R.Left, R.Top, R.Right, R.Bottom};
      UINT align = Alignment == 1 ? DT_RIGHT : Alignment == 2 ? DT_CENTER : DT_LEFT;
      DrawTextW(TextHandle(Canvas, true), text.c_str(), -1, &r, DT_VCENTER | DT_SINGLELINE | align);
    }
    return result;
  }
  TGPGraphics g(Canvas->GetHandle());
  auto family = MakeFamily(Font->GetName());
  TGPFont font(family.get(), float(Font->GetSize()), FontStyleBits(Font, false), UnitPoint);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  TGPStringFormat format(0, 0);
  if (Alignment == 1) format.SetAlignment(StringAlignmentFar);
  else if (Alignment == 2) format.SetAlignment(StringAlignmentCenter);
  else if (Alignment == 0) format.SetAlignment(StringAlignmentNear);
  format.SetLineAlignment(StringAlignmentCenter);
  format.SetHotkeyPrefix(HotkeyPrefixShow);
  format.SetTrimming(StringTrimmingNone);
  g.SetTextRenderingHint(HintOf(AntiAlias));
  TGPRectF m{};
  g.MeasureString(text, -1, &font, box, &format, m);
  result = {RoundEven(m.X), RoundEven(m.Y), RoundEven(m.X + m.Width), RoundEven(m.Y + m.Height)};
  if (Draw) {
    TGPSolidBrush brush(ColorToARGB(Enabled ? Font->GetColor() : clGray));
    g.DrawString(text, -1, &font, box, &format, &brush);
  }
  return result;
}

// ---- pictures -------------------------------------------------------------------------------------
namespace {
// Draws encoded image bytes through GDI+, keyed on the colour of the pixel at KeyPixel
// (or without a key when KeyPixel.X < 0).
void DrawImageBytes(TGPGraphics* G, TCanvas* Canvas, TPoint P, TMemoryStream& Bytes, bool KeyBottomLeft,
                    bool KeyTopLeft) {
  TSurface s(G, Canvas);
  if (!s.G) return;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<size_t>(Bytes.Size()));
  if (!block) throw Exception("Could not allocate memory for image");
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
    GlobalFree(block);
    throw Exception("Could not allocate memory for image");
  }
  ULONG written = 0;
  stream->Write(Bytes.Memory(), static_cast<ULONG>(Bytes.Size()), &written);
  TGPImage image(stream);
  unsigned w = image.GetWidth(), h = image.GetHeight();
  bool keyed = KeyBottomLeft || (KeyTopLeft && image.GetFormat() != ifPNG);
  if (keyed && w && h) {
    TGPBitmap bitmap(stream);
    ARGB key = 0;
    bitmap.GetPixel(0, KeyBottomLeft ? int(h) - 1 : 0, key);
    key |= 0xFF000000u;
    TGPImageAttributes attributes;
    attributes.SetColorKey(key, key);
    s.G->DrawImage(&image, MakeRect(float(P.X), float(P.Y), float(w), float(h)), 0, 0, float(w), float(h),
                   UnitPixel, &attributes);
  } else {
    s.G->DrawImage(&image, P.X, P.Y);
  }
  stream->Release();
}
}  // namespace

void DrawGDIPImageListImage(TGPGraphics* G, TCanvas* Canvas, TPoint P, TCustomImageList* List, int Index,
                            bool Enabled) {
  if (!List || Index < 0 || Index >= List->Count() || (!G && !Canvas)) return;
  TBitmap bitmap(List->GetWidth(), List->GetHeight());
  List->Draw(bitmap.Canvas(), 0, 0, Index, Enabled);
  TMemoryStream bytes;
  bitmap.SaveToStream(bytes);
  DrawImageBytes(G, Canvas, P, bytes, true, false);
}

void DrawGDIPGraphic(TGPGraphics* G, TCanvas* Canvas, TPoint P, bool Transparent, TGraphic* Graphic) {
  if (!Graphic || Graphic->GetEmpty() || (!G && !Canvas)) return;
  TMemoryStream bytes;
  Graphic->SaveToStream(bytes);
  DrawImageBytes(G, Canvas, P, bytes, false, Transparent);
}

}  // namespace VivIzizEzu
