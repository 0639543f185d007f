// Pens and brushes: solid colours, linear gradients (cairo linear patterns with the
// brush's blend turned into colour stops) and path gradients (cairo mesh patterns: one
// patch per boundary edge from the centre, so every point gets the centre colour
// blended towards the boundary colour by its distance along the ray from the centre).
#include <algorithm>
#include <cmath>
#include <new>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

bool ValidWrap(GpWrapMode w) { return w >= WrapModeTile && w <= WrapModeClamp; }

double Channel(ARGB c, int shift) { return ((c >> shift) & 0xFF) / 255.0; }

// Colour between a and b, optionally interpolated in linear light (gamma 2.2).
ARGB Mix(ARGB a, ARGB b, double t, bool gamma) {
  if (!gamma) return LerpArgb(a, b, t);
  ARGB out = ARGB(std::lround((Channel(a, 24) + (Channel(b, 24) - Channel(a, 24)) * t) * 255)) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const double la = std::pow(Channel(a, shift), 2.2), lb = std::pow(Channel(b, shift), 2.2);
    out |= ARGB(std::lround(std::pow(la + (lb - la) * t, 1 / 2.2) * 255)) << shift;
  }
  return out;
}

void SetMap(GpBrush& b, double a, double c, double d) {
  // t = a*x + c*y + d; the second pattern axis is perpendicular. A pixel exactly on the
  // start line must not round to just below 0 and wrap to the end colour.
  cairo_matrix_init(&b.lineMap, a, -c, c, a, d + 1e-4, 0);
}

GpBrush* NewLine(ARGB c1, ARGB c2, GpWrapMode wrap) {
  GpBrush* b = new (std::nothrow) GpBrush;
  if (!b) return nullptr;
  b->type = BrushTypeLinearGradient;
  b->lineColors[0] = c1;
  b->lineColors[1] = c2;
  b->wrap = wrap;
  return b;
}

// Gradient across a rectangle at an angle (degrees, clockwise): the colours sit at the
// rectangle's extreme corners along the direction; scalable angles are taken in the
// rectangle's unit square, so 45 degrees runs corner to corner of any rectangle.
void MapAngle(GpBrush& b, const GpRectF& r, double angle, bool scalable) {
  const double rad = angle * kPi / 180;
  const double dx = std::cos(rad), dy = std::sin(rad);
  const double sx = scalable ? r.Width : 1, sy = scalable ? r.Height : 1;
  const double w = r.Width / sx, h = r.Height / sy;  // rectangle size in the mapped space
  const double c[4] = {0, dx * w, dy * h, dx * w + dy * h};
  const double m0 = *std::min_element(c, c + 4), m1 = *std::max_element(c, c + 4);
  const double len = m1 - m0 > 1e-12 ? m1 - m0 : 1;
  // t = (dx * (x - X) / sx + dy * (y - Y) / sy - m0) / len
  const double a = dx / sx / len, cc = dy / sy / len;
  SetMap(b, a, cc, -(a * r.X + cc * r.Y) - m0 / len);
}

bool IsKind(const GpBrush* b, GpBrushType t) { return b && b->type == t; }

}  // namespace

GpBrush::GpBrush() { cairo_matrix_init_identity(&lineMap); }

cairo_pattern_t* GpBrush::CreatePattern() const {
  switch (type) {
    case BrushTypeLinearGradient: {
      cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 1, 0);
      cairo_pattern_set_matrix(p, &lineMap);
      std::vector<std::pair<double, ARGB>> stops;
      if (!presetColors.empty()) {
        for (std::size_t i = 0; i < presetColors.size(); ++i) stops.emplace_back(presetPositions[i], presetColors[i]);
      } else if (!blendFactors.empty()) {
        for (std::size_t i = 0; i < blendFactors.size(); ++i)
          stops.emplace_back(blendPositions[i], Mix(lineColors[0], lineColors[1], blendFactors[i], gamma));
      } else {
        stops.emplace_back(0, lineColors[0]);
        stops.emplace_back(1, lineColors[1]);
      }
      for (std::size_t i = 0; i < stops.size(); ++i) {
        if (gamma && i > 0) {
          // Intermediate stops follow the gamma curve between two given colours.
          for (int k = 1; k < 8; ++k) {
            const double t = k / 8.0;
            AddStopArgb(p, stops[i - 1].first + (stops[i].first - stops[i - 1].first) * t,
                        Mix(stops[i - 1].second, stops[i].second, t, true));
          }
        }
        AddStopArgb(p, stops[i].first, stops[i].second);
      }
      switch (wrap) {
        case WrapModeTileFlipX:
        case WrapModeTileFlipXY: cairo_pattern_set_extend(p, CAIRO_EXTEND_REFLECT); break;
        case WrapModeClamp: cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD); break;
        default: cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT); break;
      }
      return p;
    }
    case BrushTypePathGradient: {
      cairo_pattern_t* p = cairo_pattern_create_mesh();
      const std::size_t npts = boundary.points.size();
      auto colourAt = [&](double q) {
        if (surround.empty()) return centerColor;
        auto pointColour = [&](std::size_t i) {
          if (npts) i %= npts;
          return surround[std::min(i, surround.size() - 1)];
        };
        const double f = std::floor(q);
        const std::size_t i = std::size_t(std::max(0.0, f));
        return LerpArgb(pointColour(i), pointColour(i + 1), q - f);
      };
      auto corner = [&](int n, ARGB c) {
        cairo_mesh_pattern_set_corner_color_rgba(p, unsigned(n), Channel(c, 16), Channel(c, 8), Channel(c, 0),
                                                 Channel(c, 24));
      };
      const double cx = centerPoint.X, cy = centerPoint.Y;
      const bool focus = focusX > 0 || focusY > 0;
      for (const GpPath::FlatFigure& f : boundary.Flatten(0.2)) {
        const std::size_t m = f.pts.size();
        if (m < 2) continue;
        std::vector<double> vx(m), vy(m);
        std::vector<ARGB> vc(m);
        for (std::size_t j = 0; j < m; ++j) {
          // Push the flattened boundary out by a pixel so the fill's anti-aliased edge
          // never samples outside the mesh.
          const double ex = f.pts[j].X - cx, ey = f.pts[j].Y - cy, d = std::hypot(ex, ey);
          const double k = d > 1e-9 ? 1 + 1 / d : 1;
          vx[j] = cx + ex * k;
          vy[j] = cy + ey * k;
          vc[j] = colourAt(f.index[j]);
        }
        for (std::size_t j = 0; j < m; ++j) {
          const std::size_t n = (j + 1) % m;
          if (vx[j] == vx[n] && vy[j] == vy[n]) continue;
          if (focus) {
            const double ix0 = cx + (vx[j] - cx) * focusX, iy0 = cy + (vy[j] - cy) * focusY;
            const double ix1 = cx + (vx[n] - cx) * focusX, iy1 = cy + (vy[n] - cy) * focusY;
            cairo_mesh_pattern_begin_patch(p);
            cairo_mesh_pattern_move_to(p, cx, cy);
            cairo_mesh_pattern_line_to(p, ix0, iy0);
            cairo_mesh_pattern_line_to(p, ix1, iy1);
            corner(0, centerColor);
            corner(1, centerColor);
            corner(2, centerColor);
            corner(3, centerColor);
            cairo_mesh_pattern_end_patch(p);
            cairo_mesh_pattern_begin_patch(p);
            cairo_mesh_pattern_move_to(p, ix0, iy0);
            cairo_mesh_pattern_line_to(p, vx[j], vy[j]);
            cairo_mesh_pattern_line_to(p, vx[n], vy[n]);
            cairo_mesh_pattern_line_to(p, ix1, iy1);
          } else {
            cairo_mesh_pattern_begin_patch(p);
            cairo_mesh_pattern_move_to(p, cx, cy);
            cairo_mesh_pattern_line_to(p, vx[j], vy[j]);
            cairo_mesh_pattern_line_to(p, vx[n], vy[n]);
          }
          corner(0, centerColor);
          corner(1, vc[j]);
          corner(2, vc[n]);
          corner(3, centerColor);
          cairo_mesh_pattern_end_patch(p);
        }
      }
      return p;
    }
    default: {
      return cairo_pattern_create_rgba(Channel(color, 16), Channel(color, 8), Channel(color, 0), Channel(color, 24));
    }
  }
}

// ---- pens --------------------------------------------------------------------------------------

GpPen::GpPen(const GpPen& o)
    : color(o.color), width(o.width), unit(o.unit), dashStyle(o.dashStyle), dashArray(o.dashArray),
      dashOffset(o.dashOffset), dashCap(o.dashCap), startCap(o.startCap), endCap(o.endCap), lineJoin(o.lineJoin),
      miterLimit(o.miterLimit), alignment(o.alignment), brush(o.brush ? new GpBrush(*o.brush) : nullptr) {}

bool GpPen::Apply(cairo_t* cr) const {
  double w = width * UnitToPixels(unit);
  if (w <= 0) {
    // A zero-width pen draws one device pixel wide whatever the transform.
    double ux = 1, uy = 0;
    cairo_device_to_user_distance(cr, &ux, &uy);
    w = std::hypot(ux, uy);
  }
  cairo_set_line_width(cr, w);
  auto capOf = [](GpLineCap c) {
    switch (c) {
      case LineCapRound:
      case LineCapRoundAnchor: return CAIRO_LINE_CAP_ROUND;
      case LineCapSquare:
      case LineCapSquareAnchor: return CAIRO_LINE_CAP_SQUARE;
      default: return CAIRO_LINE_CAP_BUTT;
    }
  };
  // cairo has one cap for both ends: the rounder of the two wins.
  const cairo_line_cap_t a = capOf(startCap), b = capOf(endCap);
  cairo_set_line_cap(cr, a == CAIRO_LINE_CAP_ROUND || b == CAIRO_LINE_CAP_ROUND     ? CAIRO_LINE_CAP_ROUND
                         : a == CAIRO_LINE_CAP_SQUARE || b == CAIRO_LINE_CAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                                                    : CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, lineJoin == LineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                          : lineJoin == LineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                      : CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(cr, std::max(1.0f, miterLimit));
  bool thinDashes = false;
  std::vector<double> dashes;
  switch (dashStyle) {
    case DashStyleDash: dashes = {3, 1}; break;
    case DashStyleDot: dashes = {1, 1}; break;
    case DashStyleDashDot: dashes = {3, 1, 1, 1}; break;
    case DashStyleDashDotDot: dashes = {3, 1, 1, 1, 1, 1}; break;
    case DashStyleCustom: dashes.assign(dashArray.begin(), dashArray.end()); break;
    default: break;
  }
  if (!dashes.empty()) {
    const bool capped = dashCap != DashCapFlat;
    for (std::size_t i = 0; i < dashes.size(); ++i) {
      dashes[i] *= w;
      // Round dash caps grow each dash by the pen width; keep the period.
      if (capped) dashes[i] += (i % 2 == 0) ? -w : w;
      dashes[i] = std::max(dashes[i], 0.0);
    }
    if (capped) cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // A dashed line at most one device pixel wide is drawn without smoothing: smoothed, its
    // one-pixel dots would straddle pixel boundaries and melt into an even grey line. Its
    // dashes start a quarter pixel early, so that a line from a whole coordinate has each
    // dash end between two pixel centres rather than on one.
    double ax = w, ay = 0, bx = 0, by = w;
    cairo_user_to_device_distance(cr, &ax, &ay);
    cairo_user_to_device_distance(cr, &bx, &by);
    const double device = std::max(std::hypot(ax, ay), std::hypot(bx, by));
    double phase = dashOffset * w;
    if (device > 0 && device <= 1.0 + 1e-6) {
      cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
      phase += 0.25 * w / device;
      thinDashes = true;
    }
    cairo_set_dash(cr, dashes.data(), int(dashes.size()), phase);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
  if (brush) {
    cairo_pattern_t* p = brush->CreatePattern();
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
  } else {
    SetSourceArgb(cr, color);
  }
  return thinDashes;
}

Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
  if (!pen) return InvalidParameter;
  *pen = nullptr;
  if (!ValidFloat(width) || width < 0 || unit < UnitWorld || unit > UnitMillimeter || unit == UnitDisplay)
    return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpPen* p = new (std::nothrow) GpPen;
  if (!p) return OutOfMemory;
  p->color = color;
  p->width = width;
  p->unit = unit;
  *pen = p;
  return Ok;
}

Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen) {
  if (!pen) return InvalidParameter;
  *pen = nullptr;
  if (!brush) return InvalidParameter;
  Status s = GdipCreatePen1(brush->type == BrushTypeSolidColor ? brush->color : 0xFF000000, width, unit, pen);
  if (s != Ok) return s;
  if (brush->type != BrushTypeSolidColor) {
    (*pen)->brush.reset(new (std::nothrow) GpBrush(*brush));
    if (!(*pen)->brush) {
      delete *pen;
      *pen = nullptr;
      return OutOfMemory;
    }
  }
  return Ok;
}

Status GdipClonePen(GpPen* pen, GpPen** clone) {
  if (!pen || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpPen(*pen);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeletePen(GpPen* pen) {
  if (!pen) return InvalidParameter;
  delete pen;
  return Ok;
}

Status GdipSetPenWidth(GpPen* pen, REAL width) {
  if (!pen || !ValidFloat(width) || width < 0) return InvalidParameter;
  pen->width = width;
  return Ok;
}

Status GdipGetPenWidth(GpPen* pen, REAL* width) {
  if (!pen || !width) return InvalidParameter;
  *width = pen->width;
  return Ok;
}

Status GdipSetPenColor(GpPen* pen, ARGB color) {
  if (!pen) return InvalidParameter;
  pen->color = color;
  pen->brush.reset();
  return Ok;
}

Status GdipGetPenColor(GpPen* pen, ARGB* color) {
  if (!pen || !color) return InvalidParameter;
  *color = pen->color;
  return Ok;
}

Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
  if (!pen || !brush) return InvalidParameter;
  if (brush->type == BrushTypeSolidColor) {
    pen->color = brush->color;
    pen->brush.reset();
    return Ok;
  }
  GpBrush* b = new (std::nothrow) GpBrush(*brush);
  if (!b) return OutOfMemory;
  pen->brush.reset(b);
  return Ok;
}

Status GdipSetPenDashStyle(GpPen* pen, GpDashStyle style) {
  if (!pen || style < DashStyleSolid || style > DashStyleCustom) return InvalidParameter;
  pen->dashStyle = style;
  if (style == DashStyleCustom && pen->dashArray.empty()) pen->dashArray = {1, 1};
  return Ok;
}

Status GdipGetPenDashStyle(GpPen* pen, GpDashStyle* style) {
  if (!pen || !style) return InvalidParameter;
  *style = pen->dashStyle;
  return Ok;
}

Status GdipSetPenDashArray(GpPen* pen, const REAL* dashes, int count) {
  if (!pen || !dashes || count <= 0) return InvalidParameter;
  double sum = 0;
  for (int i = 0; i < count; ++i) {
    if (!ValidFloat(dashes[i]) || dashes[i] < 0) return InvalidParameter;
    sum += dashes[i];
  }
  if (sum <= 0) return InvalidParameter;
  pen->dashArray.assign(dashes, dashes + count);
  if (count % 2) pen->dashArray.insert(pen->dashArray.end(), dashes, dashes + count);  // odd: repeat
  pen->dashStyle = DashStyleCustom;
  return Ok;
}

Status GdipGetPenDashCount(GpPen* pen, int* count) {
  if (!pen || !count) return InvalidParameter;
  switch (pen->dashStyle) {
    case DashStyleDash:
    case DashStyleDot: *count = 2; break;
    case DashStyleDashDot: *count = 4; break;
    case DashStyleDashDotDot: *count = 6; break;
    case DashStyleCustom: *count = int(pen->dashArray.size()); break;
    default: *count = 0; break;
  }
  return Ok;
}

Status GdipGetPenDashArray(GpPen* pen, REAL* dashes, int count) {
  if (!pen || !dashes || count <= 0) return InvalidParameter;
  std::vector<REAL> d;
  switch (pen->dashStyle) {
    case DashStyleDash: d = {3, 1}; break;
    case DashStyleDot: d = {1, 1}; break;
    case DashStyleDashDot: d = {3, 1, 1, 1}; break;
    case DashStyleDashDotDot: d = {3, 1, 1, 1, 1, 1}; break;
    case DashStyleCustom: d = pen->dashArray; break;
    default: break;
  }
  if (std::size_t(count) < d.size()) return InsufficientBuffer;
  std::copy(d.begin(), d.end(), dashes);
  return Ok;
}

Status GdipSetPenDashOffset(GpPen* pen, REAL offset) {
  if (!pen || !ValidFloat(offset)) return InvalidParameter;
  pen->dashOffset = offset;
  return Ok;
}

Status GdipGetPenDashOffset(GpPen* pen, REAL* offset) {
  if (!pen || !offset) return InvalidParameter;
  *offset = pen->dashOffset;
  return Ok;
}

static bool ValidDashCap(GpDashCap c) { return c == DashCapFlat || c == DashCapRound || c == DashCapTriangle; }
static bool ValidLineCap(GpLineCap c) {
  return (c >= LineCapFlat && c <= LineCapTriangle) || (c >= LineCapNoAnchor && c <= LineCapArrowAnchor) ||
         c == LineCapCustom;
}

Status GdipSetPenDashCap197819(GpPen* pen, GpDashCap cap) {
  if (!pen || !ValidDashCap(cap)) return InvalidParameter;
  pen->dashCap = cap;
  return Ok;
}

Status GdipGetPenDashCap197819(GpPen* pen, GpDashCap* cap) {
  if (!pen || !cap) return InvalidParameter;
  *cap = pen->dashCap;
  return Ok;
}

Status GdipSetPenStartCap(GpPen* pen, GpLineCap cap) {
  if (!pen || !ValidLineCap(cap)) return InvalidParameter;
  pen->startCap = cap;
  return Ok;
}

Status GdipGetPenStartCap(GpPen* pen, GpLineCap* cap) {
  if (!pen || !cap) return InvalidParameter;
  *cap = pen->startCap;
  return Ok;
}

Status GdipSetPenEndCap(GpPen* pen, GpLineCap cap) {
  if (!pen || !ValidLineCap(cap)) return InvalidParameter;
  pen->endCap = cap;
  return Ok;
}

Status GdipGetPenEndCap(GpPen* pen, GpLineCap* cap) {
  if (!pen || !cap) return InvalidParameter;
  *cap = pen->endCap;
  return Ok;
}

Status GdipSetPenLineCap197819(GpPen* pen, GpLineCap start, GpLineCap end, GpDashCap dash) {
  if (!pen || !ValidLineCap(start) || !ValidLineCap(end) || !ValidDashCap(dash)) return InvalidParameter;
  pen->startCap = start;
  pen->endCap = end;
  pen->dashCap = dash;
  return Ok;
}

Status GdipSetPenLineJoin(GpPen* pen, GpLineJoin join) {
  if (!pen || join < LineJoinMiter || join > LineJoinMiterClipped) return InvalidParameter;
  pen->lineJoin = join;
  return Ok;
}

Status GdipGetPenLineJoin(GpPen* pen, GpLineJoin* join) {
  if (!pen || !join) return InvalidParameter;
  *join = pen->lineJoin;
  return Ok;
}

Status GdipSetPenMiterLimit(GpPen* pen, REAL limit) {
  if (!pen || !ValidFloat(limit)) return InvalidParameter;
  pen->miterLimit = std::max(1.0f, limit);
  return Ok;
}

Status GdipGetPenMiterLimit(GpPen* pen, REAL* limit) {
  if (!pen || !limit) return InvalidParameter;
  *limit = pen->miterLimit;
  return Ok;
}

Status GdipSetPenMode(GpPen* pen, GpPenAlignment alignment) {
  if (!pen || (alignment != PenAlignmentCenter && alignment != PenAlignmentInset)) return InvalidParameter;
  pen->alignment = alignment;
  return Ok;
}

Status GdipGetPenMode(GpPen* pen, GpPenAlignment* alignment) {
  if (!pen || !alignment) return InvalidParameter;
  *alignment = pen->alignment;
  return Ok;
}

Status GdipGetPenUnit(GpPen* pen, GpUnit* unit) {
  if (!pen || !unit) return InvalidParameter;
  *unit = pen->unit;
  return Ok;
}

// ---- solid brushes --------------------------------------------------------------------------------

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpBrush* b = new (std::nothrow) GpBrush;
  if (!b) return OutOfMemory;
  b->color = color;
  *brush = b;
  return Ok;
}

Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
  if (!IsKind(brush, BrushTypeSolidColor)) return InvalidParameter;
  brush->color = color;
  return Ok;
}

Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
  if (!IsKind(brush, BrushTypeSolidColor) || !color) return InvalidParameter;
  *color = brush->color;
  return Ok;
}

Status GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
  if (!brush || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpBrush(*brush);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeleteBrush(GpBrush* brush) {
  if (!brush) return InvalidParameter;
  delete brush;
  return Ok;
}

Status GdipGetBrushType(GpBrush* brush, int* type) {
  if (!brush || !type) return InvalidParameter;
  *type = brush->type;
  return Ok;
}

// ---- linear gradients ----------------------------------------------------------------------------

Status GdipCreateLineBrush(const GpPointF* p1, const GpPointF* p2, ARGB color1, ARGB color2, GpWrapMode wrap,
                           GpLineGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!p1 || !p2 || !ValidWrap(wrap) || !ValidFloat(p1->X) || !ValidFloat(p1->Y) || !ValidFloat(p2->X) ||
      !ValidFloat(p2->Y))
    return InvalidParameter;
  const double dx = double(p2->X) - p1->X, dy = double(p2->Y) - p1->Y, len2 = dx * dx + dy * dy;
  if (len2 <= 0) return OutOfMemory;  // GDI+ answers OutOfMemory for coincident points
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpBrush* b = NewLine(color1, color2, wrap);
  if (!b) return OutOfMemory;
  b->lineStart = *p1;
  b->lineEnd = *p2;
  b->lineRect = GpRectF{std::min(p1->X, p2->X), std::min(p1->Y, p2->Y), REAL(std::fabs(dx)), REAL(std::fabs(dy))};
  SetMap(*b, dx / len2, dy / len2, -(dx * p1->X + dy * p1->Y) / len2);
  *brush = b;
  return Ok;
}

Status GdipCreateLineBrushI(const GpPoint* p1, const GpPoint* p2, ARGB color1, ARGB color2, GpWrapMode wrap,
                            GpLineGradient** brush) {
  if (!p1 || !p2) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  const GpPointF a{REAL(p1->X), REAL(p1->Y)}, b{REAL(p2->X), REAL(p2->Y)};
  return GdipCreateLineBrush(&a, &b, color1, color2, wrap, brush);
}

Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                            BOOL isAngleScalable, GpWrapMode wrap, GpLineGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!rect || !ValidWrap(wrap) || !ValidFloat(rect->X) || !ValidFloat(rect->Y) || !ValidFloat(rect->Width) ||
      !ValidFloat(rect->Height) || !ValidFloat(angle) || rect->Width < 0 || rect->Height < 0)
    return InvalidParameter;
  if (rect->Width == 0 || rect->Height == 0) return OutOfMemory;  // as GDI+ answers an empty rectangle
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpBrush* b = NewLine(color1, color2, wrap);
  if (!b) return OutOfMemory;
  b->lineRect = *rect;
  MapAngle(*b, *rect, angle, isAngleScalable != 0);
  *brush = b;
  return Ok;
}

Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, GpWrapMode wrap, GpLineGradient** brush) {
  if (!rect) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  const GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateLineBrushFromRectWithAngle(&r, color1, color2, angle, isAngleScalable, wrap, brush);
}

Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   GpWrapMode wrap, GpLineGradient** brush) {
  static const REAL angles[4] = {0, 90, 45, 135};
  if (mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  return GdipCreateLineBrushFromRectWithAngle(rect, color1, color2, angles[mode], 1, wrap, brush);
}

Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    GpWrapMode wrap, GpLineGradient** brush) {
  if (!rect) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  const GpRectF r{REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)};
  return GdipCreateLineBrushFromRect(&r, color1, color2, mode, wrap, brush);
}

Status GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2) {
  if (!IsKind(brush, BrushTypeLinearGradient)) return InvalidParameter;
  brush->lineColors[0] = color1;
  brush->lineColors[1] = color2;
  return Ok;
}

Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !colors) return InvalidParameter;
  colors[0] = brush->lineColors[0];
  colors[1] = brush->lineColors[1];
  return Ok;
}

Status GdipGetLineRect(GpLineGradient* brush, GpRectF* rect) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !rect) return InvalidParameter;
  *rect = brush->lineRect;
  return Ok;
}

Status GdipGetLineRectI(GpLineGradient* brush, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF r;
  Status s = GdipGetLineRect(brush, &r);
  if (s == Ok)
    *rect = GpRect{int(std::lround(r.X)), int(std::lround(r.Y)), int(std::lround(r.Width)), int(std::lround(r.Height))};
  return s;
}

Status GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrap) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !ValidWrap(wrap)) return InvalidParameter;
  brush->wrap = wrap;
  return Ok;
}

Status GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrap) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !wrap) return InvalidParameter;
  *wrap = brush->wrap;
  return Ok;
}

Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGamma) {
  if (!IsKind(brush, BrushTypeLinearGradient)) return InvalidParameter;
  brush->gamma = useGamma != 0;
  return Ok;
}

Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGamma) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !useGamma) return InvalidParameter;
  *useGamma = brush->gamma ? 1 : 0;
  return Ok;
}

// Positions must rise from 0 to 1.
static bool ValidPositions(const REAL* positions, int count) {
  if (count < 2 || positions[0] != 0 || positions[count - 1] != 1) return false;
  for (int i = 0; i < count; ++i)
    if (!ValidFloat(positions[i]) || (i > 0 && positions[i] < positions[i - 1])) return false;
  return true;
}

Status GdipSetLineBlend(GpLineGradient* brush, const REAL* factors, const REAL* positions, int count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !factors || !positions || count <= 0) return InvalidParameter;
  if (count == 1) {
    // One factor: a constant blend over the whole gradient.
    if (!ValidFloat(factors[0])) return InvalidParameter;
    brush->blendFactors = {factors[0], factors[0]};
    brush->blendPositions = {0, 1};
  } else {
    if (!ValidPositions(positions, count)) return InvalidParameter;
    for (int i = 0; i < count; ++i)
      if (!ValidFloat(factors[i])) return InvalidParameter;
    brush->blendFactors.assign(factors, factors + count);
    brush->blendPositions.assign(positions, positions + count);
  }
  brush->presetColors.clear();
  brush->presetPositions.clear();
  return Ok;
}

Status GdipGetLineBlendCount(GpLineGradient* brush, int* count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !count) return InvalidParameter;
  *count = brush->blendFactors.empty() ? 1 : int(brush->blendFactors.size());
  return Ok;
}

Status GdipGetLineBlend(GpLineGradient* brush, REAL* factors, REAL* positions, int count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !factors || !positions || count <= 0) return InvalidParameter;
  if (brush->blendFactors.empty()) {
    factors[0] = 1;
    positions[0] = 0;
    return Ok;
  }
  if (std::size_t(count) < brush->blendFactors.size()) return InsufficientBuffer;
  std::copy(brush->blendFactors.begin(), brush->blendFactors.end(), factors);
  std::copy(brush->blendPositions.begin(), brush->blendPositions.end(), positions);
  return Ok;
}

Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, int count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !colors || !positions || !ValidPositions(positions, count))
    return InvalidParameter;
  brush->presetColors.assign(colors, colors + count);
  brush->presetPositions.assign(positions, positions + count);
  brush->blendFactors.clear();
  brush->blendPositions.clear();
  return Ok;
}

Status GdipGetLinePresetBlendCount(GpLineGradient* brush, int* count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !count) return InvalidParameter;
  *count = int(brush->presetColors.size());
  return Ok;
}

Status GdipGetLinePresetBlend(GpLineGradient* brush, ARGB* colors, REAL* positions, int count) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !colors || !positions || count < 2) return InvalidParameter;
  if (brush->presetColors.empty()) return GenericError;
  if (std::size_t(count) < brush->presetColors.size()) return InsufficientBuffer;
  std::copy(brush->presetColors.begin(), brush->presetColors.end(), colors);
  std::copy(brush->presetPositions.begin(), brush->presetPositions.end(), positions);
  return Ok;
}

Status GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !ValidFloat(focus) || !ValidFloat(scale) || focus < 0 ||
      focus > 1 || scale < 0 || scale > 1)
    return InvalidParameter;
  // Rises from the start colour to `scale` at `focus`, back to the start colour at the end.
  std::vector<REAL> f, p;
  if (focus > 0) {
    f.push_back(0);
    p.push_back(0);
  }
  f.push_back(scale);
  p.push_back(focus);
  if (focus < 1) {
    f.push_back(0);
    p.push_back(1);
  }
  if (p.size() == 1) {
    f = {scale, scale};
    p = {0, 1};
  }
  return GdipSetLineBlend(brush, f.data(), p.data(), int(f.size()));
}

Status GdipSetLineSigmaBlend(GpLineGradient* brush, REAL focus, REAL scale) {
  if (!IsKind(brush, BrushTypeLinearGradient) || !ValidFloat(focus) || !ValidFloat(scale) || focus < 0 ||
      focus > 1 || scale < 0 || scale > 1)
    return InvalidParameter;
  // A bell curve (normal distribution shape) peaking at `focus` with height `scale`.
  constexpr int n = 33;
  REAL f[n], p[n];
  for (int i = 0; i < n; ++i) {
    const double x = double(i) / (n - 1);
    const double side = x <= focus ? (focus > 0 ? x / focus : 1) : (focus < 1 ? (1 - x) / (1 - focus) : 1);
    const double g = (std::erf((side - 0.5) * 4) + 1) / 2;  // 0 at the ends, 1 at the focus
    const double lo = (std::erf(-2) + 1) / 2, hi = (std::erf(2) + 1) / 2;
    f[i] = REAL(scale * (g - lo) / (hi - lo));
    p[i] = REAL(x);
  }
  return GdipSetLineBlend(brush, f, p, n);
}

// ---- path gradients ------------------------------------------------------------------------------

namespace {

// The centroid of the boundary's flattened area (the average of its points when flat).
GpPointF Centroid(const GpPath& path) {
  double a = 0, cx = 0, cy = 0, sx = 0, sy = 0;
  std::size_t n = 0;
  for (const GpPath::FlatFigure& f : path.Flatten(0.5)) {
    for (std::size_t i = 0; i < f.pts.size(); ++i) {
      const GpPointF p = f.pts[i], q = f.pts[(i + 1) % f.pts.size()];
      const double cross = double(p.X) * q.Y - double(q.X) * p.Y;
      a += cross;
      cx += (double(p.X) + q.X) * cross;
      cy += (double(p.Y) + q.Y) * cross;
      sx += p.X;
      sy += p.Y;
      ++n;
    }
  }
  if (std::fabs(a) > 1e-9) return GpPointF{REAL(cx / (3 * a)), REAL(cy / (3 * a))};
  if (n) return GpPointF{REAL(sx / n), REAL(sy / n)};
  return GpPointF{};
}

Status NewPathGradient(const GpPath& path, GpWrapMode wrap, GpPathGradient** brush) {
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpBrush* b = new (std::nothrow) GpBrush;
  if (!b) return OutOfMemory;
  b->type = BrushTypePathGradient;
  b->boundary = path;
  b->boundary.CloseFigure();
  b->centerPoint = Centroid(path);
  b->pathWrap = wrap;
  *brush = b;
  return Ok;
}

}  // namespace

Status GdipCreatePathGradient(const GpPointF* points, int count, GpWrapMode wrap, GpPathGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!points || count < 2 || !ValidWrap(wrap)) return InvalidParameter;
  GpPath path;
  path.BeginSegment(points[0]);
  for (int i = 1; i < count; ++i) {
    if (!ValidFloat(points[i].X) || !ValidFloat(points[i].Y)) return InvalidParameter;
    path.AddLineTo(points[i]);
  }
  path.CloseFigure();
  return NewPathGradient(path, wrap, brush);
}

Status GdipCreatePathGradientI(const GpPoint* points, int count, GpWrapMode wrap, GpPathGradient** brush) {
  if (!points || count <= 0) {
    if (brush) *brush = nullptr;
    return InvalidParameter;
  }
  std::vector<GpPointF> f(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) f[std::size_t(i)] = GpPointF{REAL(points[i].X), REAL(points[i].Y)};
  return GdipCreatePathGradient(f.data(), count, wrap, brush);
}

Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush) {
  if (!brush) return InvalidParameter;
  *brush = nullptr;
  if (!path) return InvalidParameter;
  if (path->points.size() < 2) return OutOfMemory;  // GDI+ cannot make a gradient of no area
  return NewPathGradient(*path, WrapModeClamp, brush);
}

Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color) {
  if (!IsKind(brush, BrushTypePathGradient)) return InvalidParameter;
  brush->centerColor = color;
  return Ok;
}

Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color) {
  if (!IsKind(brush, BrushTypePathGradient) || !color) return InvalidParameter;
  *color = brush->centerColor;
  return Ok;
}

Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point) {
  if (!IsKind(brush, BrushTypePathGradient) || !point || !ValidFloat(point->X) || !ValidFloat(point->Y))
    return InvalidParameter;
  brush->centerPoint = *point;
  return Ok;
}

Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point) {
  if (!point) return InvalidParameter;
  const GpPointF p{REAL(point->X), REAL(point->Y)};
  return GdipSetPathGradientCenterPoint(brush, &p);
}

Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point) {
  if (!IsKind(brush, BrushTypePathGradient) || !point) return InvalidParameter;
  *point = brush->centerPoint;
  return Ok;
}

Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point) {
  if (!point) return InvalidParameter;
  GpPointF p;
  Status s = GdipGetPathGradientCenterPoint(brush, &p);
  if (s == Ok) *point = GpPoint{int(std::lround(p.X)), int(std::lround(p.Y))};
  return s;
}

Status GdipGetPathGradientPointCount(GpPathGradient* brush, int* count) {
  if (!IsKind(brush, BrushTypePathGradient) || !count) return InvalidParameter;
  *count = int(brush->boundary.points.size());
  return Ok;
}

Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, int* count) {
  if (!IsKind(brush, BrushTypePathGradient) || !count) return InvalidParameter;
  *count = int(brush->surround.size());
  return Ok;
}

Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, int* count) {
  if (!IsKind(brush, BrushTypePathGradient) || !colors || !count) return InvalidParameter;
  if (*count <= 0 || std::size_t(*count) > brush->boundary.points.size()) return InvalidParameter;
  brush->surround.assign(colors, colors + *count);
  return Ok;
}

Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, int* count) {
  if (!IsKind(brush, BrushTypePathGradient) || !colors || !count) return InvalidParameter;
  if (*count < int(brush->surround.size())) return InsufficientBuffer;
  std::copy(brush->surround.begin(), brush->surround.end(), colors);
  *count = int(brush->surround.size());
  return Ok;
}

Status GdipGetPathGradientRect(GpPathGradient* brush, GpRectF* rect) {
  if (!IsKind(brush, BrushTypePathGradient) || !rect) return InvalidParameter;
  GpPath copy = brush->boundary;
  return GdipGetPathWorldBounds(&copy, rect, nullptr, nullptr);
}

Status GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrap) {
  if (!IsKind(brush, BrushTypePathGradient) || !ValidWrap(wrap)) return InvalidParameter;
  brush->pathWrap = wrap;
  return Ok;
}

Status GdipGetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode* wrap) {
  if (!IsKind(brush, BrushTypePathGradient) || !wrap) return InvalidParameter;
  *wrap = brush->pathWrap;
  return Ok;
}

Status GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale) {
  if (!IsKind(brush, BrushTypePathGradient) || !ValidFloat(xScale) || !ValidFloat(yScale)) return InvalidParameter;
  brush->focusX = std::clamp(xScale, 0.0f, 1.0f);
  brush->focusY = std::clamp(yScale, 0.0f, 1.0f);
  return Ok;
}

Status GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale) {
  if (!IsKind(brush, BrushTypePathGradient) || !xScale || !yScale) return InvalidParameter;
  *xScale = brush->focusX;
  *yScale = brush->focusY;
  return Ok;
}
