// The clock's drawing: the cached dial (background, ticks, numbers, AM/PM box), the hands
// over it, and the AM/PM slide.
#include <array>
#include <chrono>
#include <cmath>
#include <thread>

#include "editors/DizDropDown.h"
#include "editors/DizWatch.h"
#include "foundation/DizGDIP.h"
#include "platform/gdi/Gdi.h"

namespace {
constexpr double kDeg = M_PI / 180.0;
constexpr int kRound = 8;  // corner radius of the rounded dial

void AddRoundRect(TGPGraphicsPath& p, float x, float y, float w, float h, float r) {
  p.AddLine(x + r, y, x + w - 2 * r, y);
  p.AddArc(x + w - 2 * r, y, 2 * r, 2 * r, 270, 90);
  p.AddLine(x + w, y + r, x + w, y + h - 2 * r);
  p.AddArc(x + w - 2 * r, y + h - 2 * r, 2 * r, 2 * r, 0, 90);
  p.AddLine(x + w - 2 * r, y + h, x + r, y + h);
  p.AddArc(x, y + h - 2 * r, 2 * r, 2 * r, 90, 90);
  p.AddLine(x, y + h - 2 * r, x, y + r);
  p.AddArc(x, y, 2 * r, 2 * r, 180, 90);
  p.CloseFigure();
}
}  // namespace

void TDizWatch::Paint() { UpdateCache(); }

void TDizWatch::UpdateCache() {
  if (!HandleAllocated()) return;
  TRect client = ClientRect();
  FCache->SetWidth(std::max(1, client.Width()));
  FCache->SetHeight(std::max(1, client.Height()));
  TCanvas* cache = FCache->Canvas();
  // The erased background: the parent's colour under the dial.
  cache->Brush()->SetStyle(bsSolid);
  cache->Brush()->SetColor(Color());
  cache->FillRect(client);
  {
    TGPGraphics g(cache->GetHandle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    DrawBackground(&g, cache, client);
    DrawTickMarks(&g);
  }
  DrawNumbers(cache);
  DrawAMPM(cache);
  Canvas()->CopyRect(client, cache, client);
  TGPGraphics g(Canvas()->GetHandle());
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  DrawNeedles(&g);
}

void TDizWatch::RepaintTime() {
  if (!HandleAllocated() || !Showing()) return;
  TRect client = ClientRect();
  // The frame bitmap is kept between redraws: the live clock redraws ten times a second.
  if (!FFrame) FFrame = std::make_unique<TBitmap>();
  if (FFrame->GetWidth() != client.Width() || FFrame->GetHeight() != client.Height()) {
    FFrame->SetWidth(client.Width());
    FFrame->SetHeight(client.Height());
  }
  FFrame->Canvas()->CopyRect(client, FCache->Canvas(), client);
  {
    TGPGraphics g(FFrame->Canvas()->GetHandle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    DrawNeedles(&g);
  }
  Canvas()->CopyRect(client, FFrame->Canvas(), client);
}

void TDizWatch::DrawBackground(TGPGraphics* Graphics, TCanvas* Canvas, const TRect& R) {
  if (!Graphics) return;
  const TWatchAppearance& a = *FAppearance;
  TColor from = a.BackgroundColor();
  TColor to = a.BackgroundColorTo() == clNone ? from : a.BackgroundColorTo();
  float rw = float(R.Width()), rh = float(R.Height());
  TPoint c = GetCenterPoint();
  float radius = float(GetRadius());
  TGPRectF circle{float(c.X) - radius, float(c.Y) - radius, 2 * radius, 2 * radius};
  TGPRectF whole{float(R.Left), float(R.Top), rw, rh};
  TGraphic* picture = a.Picture()->GetGraphic();
  if (picture && !picture->GetEmpty()) {
    // Stretched over the client with the colour of its top-left pixel left out.
    TBitmap bmp;
    bmp.Assign(picture);
    bmp.SetTransparentColor(TColor(bmp.Canvas()->GetPixel(0, 0)));
    bmp.SetTransparent(true);
    Canvas->StretchDraw(R, &bmp);
  } else if (a.BackgroundGradient() == wgRadial) {
    TGPGraphicsPath path;
    if (a.Shape() == wsCircle) path.AddEllipse(circle);
    else if (a.Shape() == wsRect) path.AddPolygon(std::array<TGPPointF, 4>{TGPPointF{whole.X, whole.Y}, TGPPointF{whole.X + rw, whole.Y}, TGPPointF{whole.X + rw, whole.Y + rh}, TGPPointF{whole.X, whole.Y + rh}}.data(), 4);
    else AddRoundRect(path, whole.X, whole.Y, rw, rh, kRound);
    TGPPathGradientBrush brush(&path);
    brush.SetCenterColor(ColorToARGB(from));
    brush.SetCenterPoint(TGPPointF{float(c.X), float(c.Y)});
    ARGB surround = ColorToARGB(to);
    int n = 1;
    brush.SetSurroundColors(&surround, n);
    if (a.Shape() == wsCircle) Graphics->FillEllipse(&brush, circle);
    else Graphics->FillPath(&brush, &path);
  } else {
    LinearGradientMode mode = a.BackgroundGradient() == wgVertical ? LinearGradientModeVertical
                              : a.BackgroundGradient() == wgDiagonalForward ? LinearGradientModeForwardDiagonal
                                                                            : LinearGradientModeBackwardDiagonal;
    TGPLinearGradientBrush brush(whole, ColorToARGB(from), ColorToARGB(to), mode);
    if (a.Shape() == wsCircle) Graphics->FillEllipse(&brush, circle);
    else if (a.Shape() == wsRect) Graphics->FillRectangle(&brush, whole);
    else {
      TGPGraphicsPath path;
      AddRoundRect(path, whole.X, whole.Y, rw, rh, kRound);
      Graphics->FillPath(&brush, &path);
    }
  }
  if (a.BorderStyle() == wbNone || a.BorderWidth() < 1) return;
  TGPPen pen(ColorToARGB(a.BorderColor()), float(a.BorderWidth()));
  if (a.Shape() == wsCircle) Graphics->DrawEllipse(&pen, circle);
  else if (a.Shape() == wsRect) Graphics->DrawRectangle(&pen, whole.X, whole.Y, rw - 1, rh - 1);
  else {
    TGPGraphicsPath path;
    AddRoundRect(path, whole.X, whole.Y, rw - 1, rh - 1, kRound);
    Graphics->DrawPath(&pen, &path);
  }
}

void TDizWatch::DrawTickMarks(TGPGraphics* Graphics) {
  const TWatchAppearance& a = *FAppearance;
  if (!Graphics || a.TickMarks() == tmNone) return;
  TPoint c = GetCenterPoint();
  double r0 = GetRadius() - a.BorderWidth() / 2;
  auto line = [&](TGPPen& pen, double deg, double r1, double dx, double dy) {
    double ca = std::cos(deg * kDeg), sa = std::sin(deg * kDeg);
    Graphics->DrawLine(&pen, float(c.X + ca * r1 + dx), float(c.Y + sa * r1 + dy), float(c.X + ca * r0 + dx),
                       float(c.Y + sa * r0 + dy));
  };
  double hourInner = a.HourMarkLength() > 0 ? r0 - a.HourMarkLength() : r0 * 0.9;
  TGPPen hourPen(ColorToARGB(a.HourColor()), float(a.HourMarkWidth()));
  for (int q = 0; q < 4; ++q) {
    double deg = q * 90;
    if (a.HourMarkStyle() == hmsQuartDblLine) {
      bool horizontal = q % 2 == 0;  // 0 and 180 degrees: shifted vertically
      line(hourPen, deg, hourInner, horizontal ? 0 : -2, horizontal ? -2 : 0);
      line(hourPen, deg, hourInner, horizontal ? 0 : 2, horizontal ? 2 : 0);
    } else {
      line(hourPen, deg, hourInner, 0, 0);
    }
  }
  if (a.TickMarks() == tmAll || a.TickMarks() == tmHours)
    for (int i = 0; i < 12; ++i)
      if (i % 3 != 0) line(hourPen, 30 * i, hourInner, 0, 0);
  if (a.TickMarks() == tmAll) {
    double inner = a.MinuteMarkLength() > 0 ? r0 - a.MinuteMarkLength() : r0 * 0.95;
    TGPPen pen(ColorToARGB(a.MinuteColor()), float(a.MinuteMarkWidth()));
    for (int i = 0; i < 60; ++i)
      if (i % 5 != 0) line(pen, 6 * i, inner, 0, 0);
  }
}

void TDizWatch::DrawNumbers(TCanvas* Canvas) {
  const TWatchAppearance& a = *FAppearance;
  if (!Canvas || !FShowNumbers || a.TickMarks() == tmNone || a.TickMarks() == tmHours) return;
  TPoint c = GetCenterPoint();
  double r1 = GetRadius() - a.BorderWidth() / 2;
  int l = a.HourMarkLength() > 0 ? a.HourMarkLength() : int(std::nearbyint(r1 - r1 * 0.9)) + 2;
  double q = (r1 - (l + 2)) - l;
  Canvas->Font()->Assign(a.HourFont());
  this->Canvas()->Font()->Assign(a.HourFont());
  Canvas->Brush()->SetStyle(bsClear);
  for (int i = 1; i <= 12; ++i) {
    if (a.TickMarks() == tmQuartHours && i % 3 != 0) continue;
    std::string text = std::to_string(i);
    TSize s = DizDropDown::GetTextSize(this->Canvas(), text);
    int corr = i == 10 ? int(std::nearbyint(s.cy * 0.2)) : i == 11 ? int(std::nearbyint(s.cy * 0.15)) : 0;
    double reach = q - corr + l / 2;
    int x = c.X + 1 + int(std::nearbyint(std::sin(30 * i * kDeg) * reach));
    int y = c.Y + 1 - int(std::nearbyint(std::cos(30 * i * kDeg) * reach));
    Canvas->TextOut(x - s.cx / 2 - 1, y - s.cy / 2 - 1, text);
  }
}

void TDizWatch::DrawNeedles(TGPGraphics* Graphics) {
  if (!Graphics) return;
  const TWatchAppearance& a = *FAppearance;
  TDateTime t = GetDisplayTime();
  int hh, m, s, ms;
  DecodeTime(t, hh, m, s, ms);
  if (FSettings->Auto()) FAM = hh < 12;
  int h = hh % 12;
  TPoint c = GetCenterPoint();
  double radius = GetRadius();
  auto at = [&](double deg, double k, float dx = 0, float dy = 0) {
    return TGPPointF{float(c.X + std::sin(deg * kDeg) * k * radius) + dx, float(c.Y - std::cos(deg * kDeg) * k * radius) + dy};
  };
  double hourDeg = 30 * h + m / 12.0 * 6, minuteDeg = 6.0 * m, secondDeg = 6.0 * s;
  // Short lines and arrows have no look of their own: they draw as lines.
  TPointerStyle style = a.PointerStyle() == psPointer ? psPointer : psLine;
  auto hand = [&](double deg, double len, double shadowLen, TColor color, TColor shadow, int size, float sdx) {
    if (style == psLine) {
      if (shadow != clNone) {
        TGPPen pen(MakeColor(80, shadow), float(size));
        TGPPointF p1 = at(deg + 180, 0.1, sdx, 3), p2 = at(deg, shadowLen, sdx, 3);
        Graphics->DrawLine(&pen, p1.X, p1.Y, p2.X, p2.Y);
      }
      TGPPen pen(ColorToARGB(color), float(size));
      TGPPointF p1 = at(deg + 180, 0.1), p2 = at(deg, len);
      Graphics->DrawLine(&pen, p1.X, p1.Y, p2.X, p2.Y);
      return;
    }
    auto polygon = [&](float dx, float dy, ARGB fill) {
      TGPPointF pts[4] = {at(deg + 180, 0.1, dx, dy), at(deg - 90, 0.05, dx, dy), at(deg, len, dx, dy), at(deg + 90, 0.05, dx, dy)};
      TGPGraphicsPath path;
      path.AddPolygon(pts, 4);
      TGPSolidBrush brush(fill);
      Graphics->FillPath(&brush, &path);
    };
    if (shadow != clNone) polygon(1, 3, MakeColor(80, shadow));
    polygon(0, 0, ColorToARGB(color));
  };
  hand(hourDeg, 0.5, 0.46, a.HourPointer(), a.HourPointerShadow(), a.HourPointerSize(), -1);
  hand(minuteDeg, 0.7, 0.65, a.MinutePointer(), a.MinutePointerShadow(), a.MinutePointerSize(), 0);
  if (FSettings->Auto() && FSettings->Second()) {
    TGPPen pen(ColorToARGB(a.SecondPointer()), float(a.SecondPointerSize()));
    TGPPointF p1 = at(secondDeg + 180, 0.2), p2 = at(secondDeg, 0.9);
    Graphics->DrawLine(&pen, p1.X, p1.Y, p2.X, p2.Y);
  }
  int d = a.CenterPointSize();
  if (d <= 0) return;
  float half = d / 2.0f;
  TGPRectF dot{c.X - half, c.Y - half, float(d), float(d)};
  if (a.CenterPointColor() != clNone) {
    TGPSolidBrush brush(ColorToARGB(a.CenterPointColor()));
    Graphics->FillEllipse(&brush, dot);
  }
  int o = 0;
  if (a.CenterPointOuterBorderColor() != clNone) {
    o = int(std::nearbyint(d * 0.2));
    TGPPen pen(ColorToARGB(a.CenterPointOuterBorderColor()), float(o));
    Graphics->DrawEllipse(&pen, dot);
  }
  if (a.CenterPointBorderColor() != clNone) {
    float di = float(d - o);
    TGPPen pen(ColorToARGB(a.CenterPointBorderColor()), float(std::nearbyint(d * 0.1)));
    Graphics->DrawEllipse(&pen, TGPRectF{c.X - di / 2, c.Y - di / 2, di, di});
  }
}

void TDizWatch::DrawAMPM(TCanvas* Canvas) {
  if (!Canvas || !FShowAMPM) return;
  const TWatchAppearance& a = *FAppearance;
  TRect b = GetAMPMRect();
  if (a.AMPMColor() != clNone || a.AMPMBorderColor() != clNone) {
    Canvas->Brush()->SetStyle(a.AMPMColor() == clNone ? bsClear : bsSolid);
    if (a.AMPMColor() != clNone) Canvas->Brush()->SetColor(a.AMPMColor());
    Canvas->Pen()->SetStyle(a.AMPMBorderColor() == clNone ? psClear : psSolid);
    if (a.AMPMBorderColor() != clNone) Canvas->Pen()->SetColor(a.AMPMBorderColor());
    if (a.AMPMFrame() == apRect) Canvas->Rectangle(b);
    else Canvas->RoundRect(b.Left, b.Top, b.Right, b.Bottom, 5, 5);
    Canvas->Pen()->SetStyle(psSolid);
  }
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Font()->Assign(a.AMPMFont());
  std::string text = FAM ? "AM" : "PM";
  TSize s = Canvas->TextExtent(text);
  Canvas->TextOut(b.Left + (b.Width() - s.cx) / 2, b.Top, text);
}

void TDizWatch::SlideAMPM(bool ToAM) {
  const TWatchAppearance& a = *FAppearance;
  TRect b = GetAMPMRect();
  TRect inner{b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1};
  int n = inner.Height();
  if (n <= 0 || inner.Width() <= 0) return;
  TBitmap strip;
  strip.SetWidth(inner.Width());
  strip.SetHeight(2 * n);
  TCanvas* sc = strip.Canvas();
  sc->Brush()->SetColor(a.AMPMColor());
  sc->FillRect(TRect{0, 0, inner.Width(), 2 * n});
  sc->Font()->Assign(a.AMPMFont());
  sc->Brush()->SetStyle(bsClear);
  for (int half = 0; half < 2; ++half) {
    std::string text = half == 0 ? "AM" : "PM";
    TSize s = sc->TextExtent(text);
    sc->TextOut((inner.Width() - s.cx) / 2, half * n + (n - s.cy) / 2, text);
  }
  int row = ToAM ? n : 0;
  TRect client = ClientRect();
  for (int i = 0; i < n; ++i) {
    TBitmap frame;
    frame.SetWidth(client.Width());
    frame.SetHeight(client.Height());
    TCanvas* fc = frame.Canvas();
    fc->CopyRect(client, FCache->Canvas(), client);
    fc->CopyRect(inner, sc, TRect{0, row, inner.Width(), row + n});
    fc->Brush()->SetStyle(bsClear);
    fc->Pen()->SetColor(a.AMPMBorderColor());
    if (a.AMPMFrame() == apRect) fc->Rectangle(b);
    else fc->RoundRect(b.Left, b.Top, b.Right, b.Bottom, 5, 5);
    {
      TGPGraphics g(fc->GetHandle());
      g.SetSmoothingMode(SmoothingModeAntiAlias);
      DrawNeedles(&g);
    }
    Canvas()->CopyRect(client, fc, client);
    row += ToAM ? -1 : 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
