// DovAvarOrodez, drawing routines: colour arithmetic, gradients, outlines, the drop-down
// arrow and pictures through GDI+. The button painter is in DovAvarOrodezPaint.cpp.
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <memory>
#include <new>

#include "menus/DovAvarOrodez.h"
#include "menus/DovAvarOrodezInternal.h"
#include "platform/win/ComStream.h"
#include "platform/win/GlobalMemory.h"

namespace glowdraw {

namespace {
constexpr const char* kNoMemory = "Could not allocate memory for image";

// Halves to even, as the colour arithmetic of the glow button rounds.
int RoundEven(long double v) { return int(std::nearbyintl(v)); }

struct TStreamRelease {
  IStream* Stream = nullptr;
  ~TStreamRelease() {
    if (Stream) Stream->Release();
  }
};

// A stream on a movable memory block holding a copy of the bytes; the block goes with
// the stream.
void OpenStream(const std::vector<std::uint8_t>& bytes, TStreamRelease& stream) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) throw Exception(kNoMemory);
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream.Stream)) || !stream.Stream) {
    GlobalFree(block);
    throw Exception(kNoMemory);
  }
  ULONG written = 0;
  if (FAILED(stream.Stream->Write(bytes.data(), ULONG(bytes.size()), &written)) || written != bytes.size())
    throw Exception(kNoMemory);
  LARGE_INTEGER zero{};
  stream.Stream->Seek(zero, STREAM_SEEK_SET, nullptr);
}

// Draws an image at its own size with the colour of its bottom-left pixel transparent.
void DrawKeyed(TGPGraphics* Graphics, TPoint P, IStream* Stream) {
  std::unique_ptr<TGPBitmap> bitmap(new TGPBitmap(Stream));
  unsigned w = bitmap->GetWidth(), h = bitmap->GetHeight();
  if (w == 0 || h == 0) return;
  ARGB key = 0;
  bitmap->GetPixel(0, int(h) - 1, key);
  std::unique_ptr<TGPImageAttributes> attributes(new TGPImageAttributes());
  attributes->SetColorKey(key, key, ColorAdjustTypeBitmap);
  Graphics->DrawImage(bitmap.get(), MakeRect(float(P.X), float(P.Y), float(w), float(h)), 0, 0, float(w),
                      float(h), UnitPixel, attributes.get());
}

std::vector<std::uint8_t> PictureBytes(TGDIPPicture* Picture) {
  const auto& d = Picture->DataStream().Data();
  return std::vector<std::uint8_t>(d.begin(), d.end());
}

bool IsBmp(const std::vector<std::uint8_t>& bytes) { return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'; }

// Lines of the rounded figure shared by the closed outline and the focus outline.
void AddRoundFigure(TGPGraphicsPath& path, float X, float Y, float W, float H, float R) {
  float r2 = 2 * R;
  path.AddLine(X + R, Y, X + W - r2, Y);
  path.AddArc(X + W - r2, Y, r2, r2, 270, 90);
  path.AddLine(X + W, Y + R, X + W, Y + H - r2);
  path.AddArc(X + W - r2, Y + H - r2, r2, r2, 0, 90);
  path.AddLine(X + W - r2, Y + H, X + R, Y + H);
  path.AddArc(X, Y + H - r2, r2, r2, 90, 90);
  path.AddLine(X, Y + H - r2, X, Y + R);
  path.AddArc(X, Y, r2, r2, 180, 90);
  path.CloseFigure();
}

void Line(TGPGraphics* g, TColor c, float x1, float y1, float x2, float y2) {
  TGPPen pen(ARGBOf(c), 1);
  g->DrawLine(&pen, x1, y1, x2, y2);
}

// The darker right edge of left and middle outlines, 2 pixels shorter at both ends in
// the Windows 7 look.
void DarkRightEdge(TGPGraphics* g, TColor c, float X, float Y, float W, float H) {
  TColor dark = ShadeColor(c, -5);
  if (IsWin7()) Line(g, dark, X + W, Y + 2, X + W, Y + H - 2);
  else Line(g, dark, X + W, Y, X + W, Y + H);
}

// The left edge of middle and right outlines: darker and full height when lit, else the
// light separator with 2 pixels free at both ends.
void LeftEdge(TGPGraphics* g, TColor c, float X, float Y, float H, bool Lit) {
  if (Lit) Line(g, ShadeColor(c, -5), X, Y, X, Y + H);
  else Line(g, ShadeColor(clWhite, -10), X, Y + 2, X, Y + H - 2);
}
}  // namespace

COLORREF ResolveColor(TColor Color) {
  if (Color < 0) return ColorToRGB(Color) & 0xFFFFFF;
  return COLORREF(Color) & 0xFFFFFF;
}

ARGB ARGBOf(TColor Color) {
  COLORREF c = ResolveColor(Color);
  return MakeColor(255, std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16));
}

TColor ShadeColorRGB(TColor Color, int PercentRed, int PercentGreen, int PercentBlue) {
  COLORREF c = ResolveColor(Color);
  auto shade = [](int channel, int p) {
    if (channel == 0) return std::clamp(p, 0, 255);
    return std::clamp(RoundEven((long double)channel * std::min(100, 100 + p) / 100.0L), 0, 255);
  };
  int r = shade(int(c & 0xFF), PercentRed);
  int g = shade(int((c >> 8) & 0xFF), PercentGreen);
  int b = shade(int((c >> 16) & 0xFF), PercentBlue);
  return TColor(r | (g << 8) | (b << 16));
}

TColor ShadeColor(TColor Color, int Percent) { return ShadeColorRGB(Color, Percent, Percent, Percent); }

TColor BlendColor(TColor Color1, TColor Color2, int Percent) {
  if (Percent >= 100) return Color1;
  if (Percent <= 0) return Color2;
  COLORREF c1 = ResolveColor(Color1), c2 = ResolveColor(Color2);
  long double x = Percent / 100.0L;
  auto mix = [x](int a, int b) { return std::min(255, RoundEven(x * a + (1 - x) * b)); };
  int r = mix(int(c1 & 0xFF), int(c2 & 0xFF));
  int g = mix(int((c1 >> 8) & 0xFF), int((c2 >> 8) & 0xFF));
  int b = mix(int((c1 >> 16) & 0xFF), int((c2 >> 16) & 0xFF));
  return TColor(r | (g << 8) | (b << 16));
}

void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Steps) {
  if (Steps < 1) Steps = 1;
  COLORREF from = ResolveColor(FromColor), to = ResolveColor(ToColor);
  int fr = int(from & 0xFF), fg = int((from >> 8) & 0xFF), fb = int((from >> 16) & 0xFF);
  int dr = int(to & 0xFF) - fr, dg = int((to >> 8) & 0xFF) - fg, db = int((to >> 16) & 0xFF) - fb;
  long double size = Horizontal ? (long double)(R.Right - R.Left) / Steps : (long double)(R.Bottom - R.Top) / Steps;
  for (int i = 0; i < Steps; ++i) {
    int r = fr + RoundEven((long double)i * dr / Steps);
    int g = fg + RoundEven((long double)i * dg / Steps);
    int b = fb + RoundEven((long double)i * db / Steps);
    TColor c = TColor(std::clamp(r, 0, 255) | (std::clamp(g, 0, 255) << 8) | (std::clamp(b, 0, 255) << 16));
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetColor(c);
    Canvas->Brush()->SetStyle(bsSolid);
    int start = RoundEven(i * size);
    if (Horizontal) Canvas->Rectangle(R.Left + start, R.Top, R.Left + start + RoundEven(size) + 1, R.Bottom);
    else Canvas->Rectangle(R.Left, R.Top + start, R.Right, R.Top + start + RoundEven(size) + 1);
  }
}

void FillGlowGradient(TGPGraphics* Graphics, const TRect& R, TColor Color1, TColor Color2, TGDIPGradient Kind,
                      bool UpperHalf) {
  int W = R.Right - R.Left, H = R.Bottom - R.Top;
  int hw = W / 2, hh = H / 2;
  // The solid fill and the gradient cover (Left, Top) with the coordinates as size; the
  // surplus beyond the half is clipped or painted over by the next fill.
  {
    TGPSolidBrush solid(ARGBOf(UpperHalf ? Color2 : Color1));
    Graphics->FillRectangle(&solid, float(R.Left), float(R.Top), float(R.Right), float(R.Bottom));
  }
  if (Kind == ggRadial) {
    TGPGraphicsPath path;
    if (UpperHalf) path.AddEllipse(float(R.Left), float(R.Top - hh + 2), float(R.Right), float(R.Bottom));
    else path.AddEllipse(float(R.Left), float(R.Top), float(R.Right), float(R.Bottom));
    TGPPathGradientBrush brush(&path);
    brush.SetCenterPoint(MakePoint(R.Left + hw, UpperHalf ? R.Top : R.Bottom));
    brush.SetCenterColor(ARGBOf(UpperHalf ? Color1 : Color2));
    ARGB surround = ARGBOf(UpperHalf ? Color2 : Color1);
    int count = 1;
    brush.SetSurroundColors(&surround, count);
    Graphics->FillRectangle(&brush, float(R.Left), float(R.Top), float(R.Right), float(R.Bottom));
    return;
  }
  LinearGradientMode mode = Kind == ggVertical            ? LinearGradientModeVertical
                            : Kind == ggDiagonalForward ? LinearGradientModeForwardDiagonal
                                                        : LinearGradientModeBackwardDiagonal;
  TGPLinearGradientBrush brush(MakeRect(float(R.Left), float(R.Top), float(W), float(H)), ARGBOf(Color2),
                               ARGBOf(Color1), mode);
  Graphics->FillRectangle(&brush, float(R.Left), float(R.Top), float(R.Right), float(R.Bottom));
}

void DrawGlowOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R) {
  TGPPen pen(ARGBOf(Color), 1);
  if (R == 0) {
    Graphics->DrawRectangle(&pen, float(X), float(Y), float(W), float(H));
    return;
  }
  TGPGraphicsPath path;
  AddRoundFigure(path, float(X), float(Y), float(W), float(H), float(R));
  Graphics->DrawPath(&pen, &path);
}

void DrawFocusOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R) {
  TGPPen pen(ARGBOf(Color), 1);
  pen.SetDashStyle(DashStyleDot);
  TGPGraphicsPath path;
  AddRoundFigure(path, float(X), float(Y), float(W), float(H), float(R));
  Graphics->DrawPath(&pen, &path);
}

void DrawLeftOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R) {
  float x = float(X), y = float(Y), w = float(W), h = float(H), r = float(R), r2 = 2 * r;
  {
    TGPPen pen(ARGBOf(Color), 1);
    TGPGraphicsPath path;
    path.AddLine(x + w, y + h, x + r, y + h);
    if (R > 0) path.AddArc(x, y + h - r2, r2, r2, 90, 90);
    path.AddLine(x, y + h - r2, x, y + r);
    if (R > 0) path.AddArc(x, y, r2, r2, 180, 90);
    path.AddLine(x + r, y, x + w, y);
    Graphics->DrawPath(&pen, &path);
  }
  DarkRightEdge(Graphics, Color, x, y, w, h);
}

void DrawRightOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int R, bool Lit) {
  float x = float(X), y = float(Y), w = float(W), h = float(H), r = float(R), r2 = 2 * r;
  {
    TGPPen pen(ARGBOf(Color), 1);
    TGPGraphicsPath path;
    path.AddLine(x, y, x + w - r2, y);
    if (R > 0) path.AddArc(x + w - r2, y, r2, r2, 270, 90);
    path.AddLine(x + w, y + r, x + w, y + h - r2);
    if (R > 0) path.AddArc(x + w - r2, y + h - r2, r2, r2, 0, 90);
    path.AddLine(x + w, y + h, x, y + h);
    Graphics->DrawPath(&pen, &path);
  }
  LeftEdge(Graphics, Color, x, y, h, Lit);
}

void DrawMiddleOutline(TGPGraphics* Graphics, TColor Color, int X, int Y, int W, int H, int, bool Lit) {
  float x = float(X), y = float(Y), w = float(W), h = float(H);
  Line(Graphics, Color, x - 1, y + h, x + w, y + h);
  Line(Graphics, Color, x - 1, y, x + w, y);
  DarkRightEdge(Graphics, Color, x, y, w, h);
  LeftEdge(Graphics, Color, x, y, h, Lit);
}

void DrawDropDownArrow(TCanvas* Canvas, TPoint P, TColor Color, bool PointsDown, TColor Highlight) {
  int x = P.X, y = P.Y;
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetWidth(1);
  if (PointsDown) {
    Canvas->MoveTo(x, y);
    Canvas->LineTo(x + 5, y);
    Canvas->MoveTo(x + 1, y + 1);
    Canvas->LineTo(x + 4, y + 1);
    Canvas->SetPixel(x + 2, y + 2, Color);
    for (TPoint h : {TPoint{x, y + 1}, TPoint{x + 4, y + 1}, TPoint{x + 1, y + 2}, TPoint{x + 3, y + 2},
                     TPoint{x + 2, y + 3}})
      Canvas->SetPixel(h.X, h.Y, Highlight);
  } else {
    Canvas->MoveTo(x, y);
    Canvas->LineTo(x, y + 5);
    Canvas->MoveTo(x + 1, y + 1);
    Canvas->LineTo(x + 1, y + 4);
    Canvas->SetPixel(x + 2, y + 2, Color);
    for (TPoint h : {TPoint{x + 2, y + 1}, TPoint{x + 1, y + 4}, TPoint{x + 3, y + 2}})
      Canvas->SetPixel(h.X, h.Y, Highlight);
  }
}

void DrawPictureStretched(TGPGraphics* Graphics, TCanvas* Canvas, const TRect& R, TGDIPPicture* Picture) {
  if (!Picture || Picture->GetEmpty()) return;
  std::vector<std::uint8_t> bytes = PictureBytes(Picture);
  if (bytes.empty()) return;
  if (IsBmp(bytes)) {
    // Bitmaps go through the framework with automatic transparency.
    TBitmap bitmap;
    TMemoryStream ms;
    ms.WriteBuffer(bytes.data(), bytes.size());
    ms.SetPosition(0);
    bitmap.LoadFromStream(ms);
    bitmap.SetTransparent(true);
    Canvas->StretchDraw(R, &bitmap);
    return;
  }
  if (!Graphics) return;
  TStreamRelease stream;
  OpenStream(bytes, stream);
  std::unique_ptr<TGPImage> image(new TGPImage(stream.Stream));
  Graphics->DrawImageRect(image.get(), R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

void DrawPictureAt(TGPGraphics* Graphics, TPoint P, TGDIPPicture* Picture) {
  if (!Graphics || !Picture || Picture->GetEmpty()) return;
  std::vector<std::uint8_t> bytes = PictureBytes(Picture);
  if (bytes.empty()) return;
  TStreamRelease stream;
  OpenStream(bytes, stream);
  if (IsBmp(bytes)) {
    DrawKeyed(Graphics, P, stream.Stream);
    return;
  }
  std::unique_ptr<TGPImage> image(new TGPImage(stream.Stream));
  Graphics->DrawImageRect(image.get(), P.X, P.Y, int(image->GetWidth()), int(image->GetHeight()));
}

void DrawImageListImage(TGPGraphics* Graphics, TPoint P, TCustomImageList* Images, bool Enabled, int Index) {
  if (!Graphics || !Images || Index < 0 || Index >= Images->Count()) return;
  TBitmap bitmap(Images->GetWidth(), Images->GetHeight());
  bitmap.Canvas()->Brush()->SetColor(clFuchsia);
  bitmap.Canvas()->FillRect(TRect{0, 0, Images->GetWidth(), Images->GetHeight()});
  Images->Draw(bitmap.Canvas(), 0, 0, Index, Enabled);
  TMemoryStream ms;
  bitmap.SaveToStream(ms);
  const auto& d = ms.Data();
  std::vector<std::uint8_t> bytes(d.begin(), d.end());
  TStreamRelease stream;
  OpenStream(bytes, stream);
  DrawKeyed(Graphics, P, stream.Stream);
}

}  // namespace glowdraw
