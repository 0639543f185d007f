// DizUtil: stateless drawing of cell contents (gradients, selection boxes, gauges,
// progress bars and pies, range indicators, shapes, error underlines, combo and spin
// buttons, transparent bitmaps) on a framework canvas.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "foundation/DizThemeBinding.h"
#include "foundation/DizUtil.h"
#include "platform/gdi/Edges.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Graphics.h"

namespace {

// x taken to the nearest integer, a half going to the even neighbour.
int Nearest(double x) { return int(std::nearbyint(x)); }

int R(COLORREF c) { return int(c & 0xFF); }
int G(COLORREF c) { return int((c >> 8) & 0xFF); }
int B(COLORREF c) { return int((c >> 16) & 0xFF); }
TColor RGBColor(int r, int g, int b) {
  r = std::clamp(r, 0, 255);
  g = std::clamp(g, 0, 255);
  b = std::clamp(b, 0, 255);
  return TColor(r | (g << 8) | (b << 16));
}

// The pen and brush in a colour; "no colour" makes them clear so nothing is drawn.
void SetPenColor(TCanvas* canvas, TColor color) {
  if (color == clNone) {
    canvas->Pen()->SetStyle(psClear);
    return;
  }
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(color);
}

void SetBrushColor(TCanvas* canvas, TColor color) {
  if (color == clNone) {
    canvas->Brush()->SetStyle(bsClear);
    return;
  }
  canvas->Brush()->SetColor(color);  // a colour makes the brush solid again
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void Pixel(TCanvas* canvas, int x, int y, TColor color) {
  if (color != clNone) canvas->SetPixel(x, y, color);
}

// The byte offset of the character with 0-based index n (the text's size past its end).
std::size_t CharOffset(const std::string& text, int n) {
  std::size_t pos = 0;
  for (int i = 0; i < n && pos < text.size(); ++i) Utf8Next(text, pos);
  return pos;
}

// True when the first conversion of a format string takes an integer (d, u or x).
bool IntegerFormat(const std::string& format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 < format.size() && format[i + 1] == '%') {
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    while (j < format.size() && std::string_view("0123456789.:-*").find(format[j]) != std::string_view::npos) ++j;
    if (j >= format.size()) return false;
    const char type = char(format[j] | 0x20);
    return type == 'd' || type == 'u' || type == 'x';
  }
  return false;
}

}  // namespace

// ---- gradients ----------------------------------------------------------------------------------------

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const TRect& r, bool horizontal) {
  if (!canvas || fromColor == clNone) return;
  // Each band is filled as the pen-framed rectangle of the same colour would be: with the
  // brush, so that one-pixel bands are drawn too.
  if (toColor == clNone) {
    SetPenColor(canvas, fromColor);
    SetBrushColor(canvas, fromColor);
    canvas->FillRect(r);
    return;
  }
  if (steps <= 0) steps = 1;
  const COLORREF from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
  const double size = double(horizontal ? r.Right - r.Left : r.Bottom - r.Top) / steps;
  const int band = Nearest(size);
  for (int i = 0; i < steps; ++i) {
    const TColor c = RGBColor(R(from) + Nearest(double(i) * (R(to) - R(from)) / steps),
                              G(from) + Nearest(double(i) * (G(to) - G(from)) / steps),
                              B(from) + Nearest(double(i) * (B(to) - B(from)) / steps));
    SetPenColor(canvas, c);
    SetBrushColor(canvas, c);
    if (horizontal) {
      const int x = r.Left + Nearest(i * size);
      canvas->FillRect(TRect{x, r.Top, x + band + 1, r.Bottom});
    } else {
      const int y = r.Top + Nearest(i * size);
      canvas->FillRect(TRect{r.Left, y, r.Right, y + band + 1});
    }
  }
}

TColor GradientAt(TColor fromColor, TColor toColor, int first, int last, int position) {
  if (toColor == clNone || fromColor == clNone || first == last) return fromColor;
  const COLORREF from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
  const double span = double(last) - double(first);
  return RGBColor(R(from) + Nearest(position * (R(to) - R(from)) / span),
                  G(from) + Nearest(position * (G(to) - G(from)) / span),
                  B(from) + Nearest(position * (B(to) - B(from)) / span));
}

void DrawVistaGradient(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor mirrorColor,
                       TColor mirrorColorTo, bool vertical, TColor borderColor, bool sidesOnly, bool fill) {
  if (!canvas) return;
  if (fill && color != clNone) {
    if (mirrorColor == clNone && colorTo == clNone) {
      SetBrushColor(canvas, color);
      canvas->FillRect(TRect{r.Left, r.Top, r.Right, r.Bottom + 1});
    } else if (mirrorColor == clNone) {
      DrawGradient(canvas, color, colorTo, 128, r, !vertical);
    } else {
      TRect first = r, second = r;
      if (vertical) {
        first.Bottom = r.Top + (r.Bottom - r.Top) / 2;
        second.Top = first.Bottom;
      } else {
        first.Right = r.Left + (r.Right - r.Left) / 2;
        second.Left = first.Right;
      }
      DrawGradient(canvas, color, colorTo, 128, first, !vertical);
      DrawGradient(canvas, mirrorColor, mirrorColorTo, 128, second, !vertical);
    }
  }
  if (borderColor == clNone) return;
  if (sidesOnly) {
    SetPenColor(canvas, borderColor);
    canvas->Pen()->SetWidth(1);
    Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
    Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
  } else {
    SetBrushColor(canvas, borderColor);
    canvas->FrameRect(r);
  }
}

void DrawSelectionGradient(TCanvas* canvas, TColor upperFrom, TColor upperTo, TColor lowerFrom, TColor lowerTo,
                           TColor innerUpperLine, TColor innerLowerLine, TColor outerBorder, TColor cornerBlend,
                           TColor corner, const TRect& rect, TGradientPart part) {
  if (!canvas) return;
  TRect r = rect;
  r.Bottom -= 2;
  r.Right -= 1;
  const int h = r.Bottom - r.Top;
  const bool leftSide = part == gpFull || part == gpLeft;
  const bool rightSide = part == gpFull || part == gpRight;
  canvas->Pen()->SetWidth(1);

  if (innerUpperLine != clNone) {
    SetPenColor(canvas, innerUpperLine);
    Line(canvas, r.Left, r.Top + 1, r.Right, r.Top + 1);
    if (leftSide) Line(canvas, r.Left + 1, r.Top + 1, r.Left + 1, r.Top + h / 2);
    if (rightSide) Line(canvas, r.Right - 2, r.Top + 1, r.Right - 2, r.Top + h / 2);
  }
  if (innerLowerLine != clNone) {
    SetPenColor(canvas, innerLowerLine);
    Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
    if (leftSide) Line(canvas, r.Left + 1, r.Top + h / 2, r.Left + 1, r.Bottom - 1);
    if (rightSide) Line(canvas, r.Right - 2, r.Top + h / 2, r.Right - 2, r.Bottom - 1);
  }

  const int leftInset = (part == gpRight || part == gpMiddle) ? 0 : 2;
  const int rightInset = (part == gpLeft || part == gpMiddle) ? 0 : 2;
  if (outerBorder != clNone) {
    SetPenColor(canvas, outerBorder);
    Line(canvas, r.Left + leftInset, r.Top, r.Right - rightInset, r.Top);
    Line(canvas, r.Left + leftInset, r.Bottom, r.Right - rightInset, r.Bottom);
    if (rightSide) Line(canvas, r.Right - 1, r.Top + 2, r.Right - 1, r.Bottom - 1);
    if (leftSide) Line(canvas, r.Left, r.Top + 2, r.Left, r.Bottom - 1);
  }

  auto corners = [&](int inner, int outer) {
    Pixel(canvas, inner, r.Top, cornerBlend);
    Pixel(canvas, inner, r.Top + 1, cornerBlend);
    Pixel(canvas, outer, r.Top + 1, cornerBlend);
    Pixel(canvas, inner, r.Bottom, cornerBlend);
    Pixel(canvas, inner, r.Bottom - 1, cornerBlend);
    Pixel(canvas, outer, r.Bottom - 1, cornerBlend);
    Pixel(canvas, outer, r.Top, corner);
    Pixel(canvas, outer, r.Bottom, corner);
  };
  if (leftSide) corners(r.Left + 1, r.Left);
  if (rightSide) corners(r.Right - 2, r.Right - 1);

  const TRect inner{r.Left + leftInset, r.Top + 2, r.Right - rightInset, r.Bottom - 2};
  if (upperTo == clNone) {
    if (upperFrom != clNone) {
      SetBrushColor(canvas, upperFrom);
      canvas->FillRect(inner);
    }
  } else if (lowerFrom == clNone) {
    DrawGradient(canvas, upperFrom, upperTo, 16, inner, false);
  } else {
    const int middle = inner.Top + (inner.Bottom - inner.Top) / 2;
    DrawGradient(canvas, upperFrom, upperTo, 16, TRect{inner.Left, inner.Top, inner.Right, middle}, false);
    DrawGradient(canvas, lowerFrom, lowerTo, 16, TRect{inner.Left, middle, inner.Right, inner.Bottom}, false);
  }
}

// ---- gauge -----------------------------------------------------------------------------------------

namespace {

// One part of a gauge bar, solid or as two mirrored gradient halves across the bar.
void FillGaugePart(TCanvas* canvas, const TRect& part, TColor color, TColor colorTo, const TGaugeSettings& s) {
  if (part.Right <= part.Left || part.Bottom <= part.Top) return;
  if (!s.ShowGradient) {
    if (color == clNone) return;
    SetBrushColor(canvas, color);
    canvas->FillRect(part);
    return;
  }
  TRect first = part, second = part;
  const bool horizontal = s.Orientation == goHorizontal;
  if (horizontal) {
    first.Bottom = part.Top + (part.Bottom - part.Top) / 2;
    second.Top = first.Bottom;
  } else {
    first.Right = part.Left + (part.Right - part.Left) / 2;
    second.Left = first.Right;
  }
  // Across the bar: top to bottom for a horizontal gauge, left to right for a vertical one.
  DrawGradient(canvas, colorTo, color, s.Steps, first, !horizontal);
  DrawGradient(canvas, color, colorTo, s.Steps, second, !horizontal);
}

}  // namespace

void DrawGauge(TCanvas* canvas, const TRect& r, int position, const TGaugeSettings& s) {
  if (!canvas) return;
  const bool horizontal = s.Orientation == goHorizontal;
  const TColor frame = s.ShowBorder ? s.BorderColor : s.BackgroundColor;
  SetBrushColor(canvas, s.BackgroundColor);
  SetPenColor(canvas, frame);
  canvas->Pen()->SetWidth(1);
  canvas->Rectangle(r);
  const int len = (horizontal ? r.Right - r.Left : r.Bottom - r.Top) - 2;
  // The bar never runs beyond the gauge; the text still shows the value given.
  const int p = std::min(position, 100);

  // A part from offset `from` (pixels along the bar from its start) of length n.
  auto along = [&](int from, int n, int inset) {
    if (horizontal) return TRect{r.Left + inset + from, r.Top + inset, r.Left + inset + from + n, r.Bottom - inset};
    return TRect{r.Left + inset, r.Bottom - inset - from - n, r.Right - inset, r.Bottom - inset - from};
  };

  if (p > 0 && len > 0) {
    if (s.Stacked) {
      // Parts laid end to end from the start of the bar (the bottom when vertical).
      const int l1 = Nearest(std::min(p, s.Level1Perc) / 100.0 * len);
      FillGaugePart(canvas, along(0, l1, 1), s.Level0Color, s.Level0ColorTo, s);
      if (p >= s.Level1Perc) {
        const int l2 = Nearest(len * double(std::min(p, s.Level2Perc) - s.Level1Perc) / 100.0);
        FillGaugePart(canvas, along(l1, l2, 1), s.Level1Color, s.Level1ColorTo, s);
        if (p >= s.Level2Perc) {
          const int l3 = p == 100 ? len - l1 - l2 : Nearest(len * double(p - s.Level2Perc) / 100.0);
          FillGaugePart(canvas, along(l1 + l2, l3, 1), s.Level3Color, s.Level3ColorTo, s);
        }
      }
    } else {
      TColor color = s.Level2Color, colorTo = s.Level2ColorTo;
      if (p < s.Level1Perc) {
        color = s.Level0Color;
        colorTo = s.Level0ColorTo;
      } else if (p < s.Level2Perc) {
        color = s.Level1Color;
        colorTo = s.Level1ColorTo;
      } else if (p > 99) {
        color = s.Level3Color;
        colorTo = s.Level3ColorTo;
      }
      if (s.CompletionSmooth) {
        const int l = Nearest(p / 100.0 * len);
        FillGaugePart(canvas, along(0, l, 1), color, colorTo, s);
      } else {
        const int m = Nearest(double(p) * len / 100.0);
        if (m < 10) {
          if (m > 1) FillGaugePart(canvas, along(0, m - 1, 2), color, colorTo, s);
        } else {
          const int blocks = m / 9;
          for (int k = 0; k < blocks; ++k) FillGaugePart(canvas, along(9 * k, 7, 2), color, colorTo, s);
          if (m % 9 > 2) FillGaugePart(canvas, along(9 * blocks, m % 9 - 1, 2), color, colorTo, s);
        }
      }
    }
  }

  if (s.ShowPercentage) {
    const std::string text = IntToStr(position) + "%";
    if (s.Font) canvas->Font()->Assign(s.Font);
    canvas->Brush()->SetStyle(bsClear);
    const TSize extent = canvas->TextExtent(text);
    if (horizontal) {
      canvas->TextOut(r.Left + (r.Right - r.Left - extent.cx) / 2, r.Top + (r.Bottom - r.Top - extent.cy) / 2,
                      text);
    } else {
      TFont rotated;
      rotated.Assign(canvas->Font());
      rotated.SetOrientation(900);
      canvas->Font()->Assign(&rotated);
      canvas->TextOut((r.Left + r.Right) / 2 - extent.cy / 2, (r.Top + r.Bottom) / 2 + extent.cx / 2, text);
    }
  }

  canvas->Brush()->SetStyle(bsClear);
  SetPenColor(canvas, frame);
  canvas->Rectangle(r);
}

// ---- progress -------------------------------------------------------------------------------------

void DrawProgressLin(TCanvas* canvas, const TRect& rect, TColor fillColor, TColor fillTextColor, TColor restColor,
                     TColor restTextColor, double value, int marginX, int marginY, double minimum,
                     double maximum, const std::string& format, TColor borderColor, bool upwardText) {
  if (!canvas) return;
  const TColor remembered = canvas->Brush()->GetColor();
  SetBrushColor(canvas, fillColor);
  SetPenColor(canvas, fillColor);
  canvas->Font()->SetColor(fillTextColor);

  std::string text;
  double percentage = 0;
  if (!format.empty()) {
    if (IntegerFormat(format))
      text = Format(format, Nearest(value));
    else
      text = Format(format, value);
    // Equal bounds: nothing of the range is done, the bar stays empty.
    percentage = maximum != minimum ? (value - minimum) * 100.0 / (maximum - minimum) : 0.0;
  } else {
    text = IntToStr(Nearest(value)) + "%";
    percentage = value;
  }
  const int perc = std::isfinite(percentage) ? std::clamp(Nearest(std::clamp(percentage, -1.0, 101.0)), 0, 100) : 0;

  TRect r{rect.Left + marginX, rect.Top + marginY, rect.Right - marginX, rect.Bottom - marginY};
  const int fillRight = r.Left + Nearest((r.Right - r.Left) * perc / 100.0);
  const TSize extent = canvas->TextExtent(text);
  const int x = r.Left + (r.Right - r.Left - extent.cx) / 2;
  const int y = upwardText ? r.Top + (r.Bottom - r.Top + extent.cy) / 2 : r.Top + (r.Bottom - r.Top - extent.cy) / 2;

  canvas->TextRect(TRect{r.Left, r.Top, fillRight, r.Bottom}, x, y, text);
  SetBrushColor(canvas, restColor);
  SetPenColor(canvas, restColor);
  canvas->Font()->SetColor(restTextColor);
  canvas->TextRect(TRect{fillRight, r.Top, r.Right, r.Bottom}, x, y, text);

  r = TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
  if (borderColor != clNone) {
    SetBrushColor(canvas, borderColor);
    canvas->FrameRect(r);
  }
  r = TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
  if (remembered != clNone) {
    SetBrushColor(canvas, remembered);
    canvas->FrameRect(r);
  }
}

void DrawProgressPie(TCanvas* canvas, const TRect& r, TColor color, int percentage, bool outerStart) {
  if (!canvas) return;
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(clGray);
  canvas->Pen()->SetWidth(1);
  canvas->Ellipse(r);
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  const int cx = r.Left + w / 2, cy = r.Top + h / 2;
  const double angle = percentage / 100.0 * 2.0 * M_PI;
  canvas->MoveTo(cx, r.Top);
  canvas->LineTo(cx, cy);
  canvas->LineTo(cx + Nearest((w + 1) * 0.5 * std::sin(angle)), cy - Nearest((h + 1) * 0.5 * std::cos(angle)));
  // At 0 % the two radii coincide and a fill would flood the whole disc: nothing is done.
  if (percentage <= 0 || color == clNone) return;
  SetBrushColor(canvas, color);
  canvas->FloodFill(cx + 2, outerStart ? r.Top - 2 : r.Top + 2, clGray, fsBorder);
}

void DrawRangeIndicator(TCanvas* canvas, const TRect& rect, int value, int range, bool showValue,
                        TColor negativeColor, TColor positiveColor) {
  if (!canvas) return;
  const TRect r{rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2};
  const int half = (r.Right - r.Left) / 2;
  const int middle = r.Left + half;
  const long long limit = std::llabs(static_cast<long long>(range));
  if (limit > 0) {
    const long long v = std::clamp(static_cast<long long>(value), -limit, limit);
    const int w = Nearest(double(v) * half / double(limit));
    const TColor c = v < 0 ? negativeColor : positiveColor;
    if (c != clNone && w != 0) {
      SetPenColor(canvas, c);
      SetBrushColor(canvas, c);
      if (w < 0)
        canvas->Rectangle(middle + w, r.Top, middle, r.Bottom);
      else
        canvas->Rectangle(middle, r.Top, middle + w, r.Bottom);
    }
  }
  if (showValue) {
    canvas->Brush()->SetStyle(bsClear);
    TRect tr = r;
    std::string text = IntToStr(value);
    canvas->TextRect(tr, text, TTextFormat{tfCenter, tfSingleLine, tfTop});
  }
}

// ---- shapes --------------------------------------------------------------------------------------------

void DrawShape(TCanvas* canvas, int x, int y, int w, int h, TCellShape shape, TColor fillColor, TColor lineColor) {
  if (!canvas || shape < csRectangle || shape > csHalfStar) return;
  SetBrushColor(canvas, fillColor);
  SetPenColor(canvas, lineColor);
  if (shape == csCircle || shape == csSquare || shape == csRoundSquare) w = h = std::min(w, h);
  auto poly = [&](std::initializer_list<TPoint> pts) { canvas->Polygon(std::vector<TPoint>(pts)); };
  auto star = [&](int k) {
    const double a = k * 36.0 * M_PI / 180.0;
    const double rx = k % 2 == 0 ? double(w / 2) : double(w / 2) / 3.0;
    const double ry = k % 2 == 0 ? double(h / 2) : double(h / 2) / 3.0;
    return TPoint{x + w / 2 + Nearest(std::sin(a) * rx), y + h / 2 - Nearest(std::cos(a) * ry)};
  };
  switch (shape) {
    case csRectangle:
    case csSquare:
      canvas->Rectangle(x + 1, y + 1, x + w - 1, y + h - 1);
      break;
    case csCircle:
    case csEllips:
      canvas->Ellipse(x, y, x + w, y + h);
      break;
    case csTriangleLeft:
      poly({{x + w, y}, {x + w, y + h}, {x, y + h / 2}});
      break;
    case csTriangleRight:
      poly({{x, y}, {x, y + h}, {x + w, y + h / 2}});
      break;
    case csTriangleUp:
      poly({{x, y + h}, {x + w, y + h}, {x + w / 2, y}});
      break;
    case csTriangleDown:
      poly({{x, y}, {x + w, y}, {x + w / 2, y + h}});
      break;
    case csDiamond: {
      const int a = w / 2, b = h / 2;
      poly({{x, y + b}, {x + a, y}, {x + 2 * a, y + b}, {x + a, y + 2 * b}});
      break;
    }
    case csLineVert:
      canvas->Rectangle(x + w / 2, y, x + w / 2 + 1, y + h);
      break;
    case csLineHorz:
      canvas->Rectangle(x, y + h / 2, x + w, y + h / 2 + 1);
      break;
    case csRoundRect:
    case csRoundSquare:
      canvas->RoundRect(x, y, x + w, y + h, 10, 10);
      break;
    case csStar: {
      std::vector<TPoint> pts;
      for (int k = 0; k < 10; ++k) pts.push_back(star(k));
      canvas->Polygon(pts);
      break;
    }
    case csHalfStar:
      canvas->Polygon({star(0), star(5), star(6), star(7), star(8), star(9)});
      break;
    case csArrowUp:
      w -= w % 2;
      poly({{x, y + h / 2}, {x + w / 2, y}, {x + w, y + h / 2}, {x + (w / 4) * 3, y + h / 2},
            {x + (w / 4) * 3, y + h}, {x + w / 4, y + h}, {x + w / 4, y + h / 2}});
      break;
    case csArrowDown:
      w -= w % 2;
      poly({{x, y + h / 2}, {x + w / 2, y + h}, {x + w, y + h / 2}, {x + (w / 4) * 3, y + h / 2},
            {x + (w / 4) * 3, y}, {x + w / 4, y}, {x + w / 4, y + h / 2}});
      break;
    case csArrowLeft:
      h -= h % 2;
      poly({{x, y + h / 2}, {x + w / 2, y}, {x + w / 2, y + h / 4}, {x + w, y + h / 4},
            {x + w, y + (h / 4) * 3}, {x + w / 2, y + (h / 4) * 3}, {x + w / 2, y + h}});
      break;
    case csArrowRight:
      h -= h % 2;
      poly({{x + w, y + h / 2}, {x + w / 2, y}, {x + w / 2, y + h / 4}, {x, y + h / 4},
            {x, y + (h / 4) * 3}, {x + w / 2, y + (h / 4) * 3}, {x + w / 2, y + h}});
      break;
  }
}

void DrawTriangle(TCanvas* canvas, int x, int y, TColor color) {
  if (!canvas || color == clNone) return;
  SetBrushColor(canvas, color);
  SetPenColor(canvas, color);
  canvas->Polygon({{x - 3, y}, {x + 3, y}, {x, y + 3}});
}

// ---- error underline -----------------------------------------------------------------------------------

void DrawErrorLines(TWinControl*, TCanvas* canvas, const std::string& text, const TRect& r, int offset, int first,
                    int count) {
  if (!canvas) return;
  const int length = int(Utf8Length(text));
  // The left edge of character n as a single-line edit lays the text out from (0, 0).
  auto posOf = [&](int n) { return TPoint{canvas->TextWidth(text.substr(0, CharOffset(text, n))), 0}; };
  TPoint start, end;
  if (first >= 0 && first < length) {
    start = posOf(first);
  } else {
    start = posOf(length);
    start.X += 4;
  }
  if (first + count >= 0 && first + count < length) {
    end = posOf(std::max(first + count - 1, 0));
  } else {
    end = posOf(std::max(length - 1, 0));
    end.X += 4;
    end.Y = start.Y;
  }
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->SetWidth(2);
  canvas->MoveTo(r.Left + start.X, r.Top + start.Y + offset + 3);
  int x = start.X;
  int step = 0;
  auto zig = [&] {
    canvas->LineTo(r.Left + x + 3, r.Top + end.Y + offset + step);
    x += 3;
    step = step == 0 ? 3 : 0;
  };
  while (end.X >= x) zig();
  zig();
}

// ---- buttons ---------------------------------------------------------------------------------------------

namespace {

// A part in its normal state through the shared theme binding; false when themed parts
// cannot be drawn (the plain look is drawn instead).
bool DrawThemed(HWND window, HDC dc, const char16_t* themeClass, int part, const RECT& rc) {
  const TThemeBinding& themes = XPThemeBinding();
  if (!themes.CanDrawThemed()) return false;
  HTHEME theme = themes.OpenThemeData(window, themeClass);
  if (!theme) return false;
  themes.DrawThemeBackground(theme, dc, part, 1, &rc, nullptr);
  themes.CloseThemeData(theme);
  return true;
}

}  // namespace

void DrawComboButton(TCanvas* canvas, HWND window, const TRect& r, bool themed, bool) {
  if (!canvas) return;
  RECT rc{r.Right - 17 - 2, r.Top + 1, r.Right - 2, r.Bottom - 1};
  HDC dc = canvas->GetHandle();
  if (themed && DrawThemed(window, dc, u"combobox", 1, rc)) return;
  DrawFrameControl(dc, &rc, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
}

void DrawSpinButtons(TCanvas* canvas, HWND window, const TRect& r, bool themed, bool) {
  if (!canvas) return;
  const TRect b{r.Right - 15 - 1, r.Top - 1, r.Right - 1, r.Bottom - 1};
  const int middle = b.Top + (b.Bottom - b.Top) / 2;
  RECT up{b.Left, b.Top, b.Right, middle};
  HDC dc = canvas->GetHandle();
  if (themed) {
    RECT down{b.Left, middle, b.Right, b.Bottom};
    if (DrawThemed(window, dc, u"spin", 1, up) && DrawThemed(window, dc, u"spin", 2, down)) return;
  }
  RECT down{b.Left, middle + 1, b.Right, b.Bottom};
  DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | DFCS_FLAT);
  DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT);
}

// ---- transparent bitmaps ----------------------------------------------------------------------------------

void DrawBitmapTransp(TCanvas* canvas, TBitmap* bitmap, TColor backgroundColor, const TRect& r) {
  if (!canvas || !bitmap || bitmap->GetEmpty()) return;
  const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  const TColor key = bitmap->Canvas()->GetPixel(0, 0);
  auto temp = std::make_unique<TBitmap>(w, h);
  if (backgroundColor == clNone) {
    // No background colour: the key colour's pixels are left as they are on the canvas.
    temp->Assign(bitmap);
    temp->SetTransparentColor(key);
    temp->SetTransparent(true);
  } else {
    temp->Canvas()->Brush()->SetColor(backgroundColor);
    temp->Canvas()->BrushCopy(TRect{0, 0, w, h}, bitmap, TRect{0, 0, w, h}, key);
  }
  canvas->Draw(r.Left, r.Top, temp.get());
}

void DrawBitmapResourceTransp(TCanvas* canvas, TColor backgroundColor, const TRect& r,
                              const std::string& resourceName) {
  if (!canvas) return;
  TBitmap bitmap;
  bitmap.LoadFromResourceName(nullptr, resourceName);
  DrawBitmapTransp(canvas, &bitmap, backgroundColor, r);
}

TColor DarkenColor(TColor color) {
  if (color == clNone) return clNone;
  return TColor((ColorToRGB(color) >> 1) & 0x7F7F7F);
}
