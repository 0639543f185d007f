// Paths: figures of lines and Béziers as GDI+ keeps them (points plus point types),
// arcs converted to Béziers, cardinal splines, and the path functions of the flat API.
#include <algorithm>
#include <cmath>
#include <new>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

bool SamePoint(GpPointF a, GpPointF b) { return a.X == b.X && a.Y == b.Y; }

GpPointF P(double x, double y) { return GpPointF{REAL(x), REAL(y)}; }

template <class T> bool ValidPoints(const T* pts, int count) {
  for (int i = 0; i < count; ++i)
    if (!ValidFloat(pts[i].X) || !ValidFloat(pts[i].Y)) return false;
  return true;
}

std::vector<GpPointF> ToF(const GpPoint* pts, int count) {
  std::vector<GpPointF> out(std::size_t(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) out[std::size_t(i)] = P(pts[i].X, pts[i].Y);
  return out;
}

bool ValidRect(double x, double y, double w, double h) {
  return ValidFloat(x) && ValidFloat(y) && ValidFloat(w) && ValidFloat(h) && w >= 0 && h >= 0;
}

}  // namespace

// ---- GpPath ----------------------------------------------------------------------------

void GpPath::BeginSegment(GpPointF p) {
  if (startNewFigure || points.empty()) {
    points.push_back(p);
    types.push_back(PathPointTypeStart);
    startNewFigure = false;
  } else if (!SamePoint(points.back(), p)) {
    points.push_back(p);
    types.push_back(PathPointTypeLine);
  }
}

void GpPath::AddLineTo(GpPointF p) {
  points.push_back(p);
  types.push_back(PathPointTypeLine);
}

void GpPath::AddBezierTo(GpPointF c1, GpPointF c2, GpPointF p) {
  points.push_back(c1);
  points.push_back(c2);
  points.push_back(p);
  types.insert(types.end(), 3, std::uint8_t(PathPointTypeBezier));
}

void GpPath::CloseFigure() {
  if (!points.empty() && !startNewFigure) {
    types.back() |= PathPointTypeCloseSubpath;
  }
  startNewFigure = true;
}

void GpPath::Emit(cairo_t* cr) const {
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int t = types[i] & PathPointTypePathTypeMask;
    if (t == PathPointTypeStart) {
      cairo_move_to(cr, points[i].X, points[i].Y);
    } else if (t == PathPointTypeBezier && i + 2 < n) {
      cairo_curve_to(cr, points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X,
                     points[i + 2].Y);
      i += 2;
    } else {
      cairo_line_to(cr, points[i].X, points[i].Y);
    }
    if (types[i] & PathPointTypeCloseSubpath) cairo_close_path(cr);
  }
}

std::vector<GpPath::FlatFigure> GpPath::Flatten(double tolerance) const {
  std::vector<FlatFigure> figures;
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int t = types[i] & PathPointTypePathTypeMask;
    if (t == PathPointTypeStart || figures.empty() || figures.back().closed) {
      figures.emplace_back();
      figures.back().pts.push_back(points[i]);
      figures.back().index.push_back(double(i));
    } else if (t == PathPointTypeBezier && i + 2 < n) {
      FlatFigure& f = figures.back();
      const GpPointF p0 = f.pts.back(), c1 = points[i], c2 = points[i + 1], p3 = points[i + 2];
      const double len = std::hypot(c1.X - p0.X, c1.Y - p0.Y) + std::hypot(c2.X - c1.X, c2.Y - c1.Y) +
                         std::hypot(p3.X - c2.X, p3.Y - c2.Y);
      int steps = int(std::ceil(std::sqrt(len / std::max(tolerance, 0.01)) * 1.5));
      steps = std::clamp(steps, 1, 256);
      for (int s = 1; s <= steps; ++s) {
        const double u = double(s) / steps, v = 1 - u;
        const double x = v * v * v * p0.X + 3 * v * v * u * c1.X + 3 * v * u * u * c2.X + u * u * u * p3.X;
        const double y = v * v * v * p0.Y + 3 * v * v * u * c1.Y + 3 * v * u * u * c2.Y + u * u * u * p3.Y;
        f.pts.push_back(P(x, y));
        f.index.push_back(double(i) - 1 + 3 * u);
      }
      i += 2;
    } else {
      figures.back().pts.push_back(points[i]);
      figures.back().index.push_back(double(i));
    }
    if (types[i] & PathPointTypeCloseSubpath) figures.back().closed = true;
  }
  return figures;
}

void PathAppendArc(GpPath& path, double x, double y, double w, double h, double startAngle, double sweepAngle) {
  sweepAngle = std::clamp(sweepAngle, -360.0, 360.0);
  const double rx = w / 2, ry = h / 2, cx = x + rx, cy = y + ry;
  // GDI+ angles are geometric (towards the point on the ellipse); convert to the
  // parameter of the ellipse.
  auto param = [&](double deg) {
    const double a = deg * kPi / 180;
    if (rx == 0 || ry == 0) return a;
    return std::atan2(rx * std::sin(a), ry * std::cos(a));
  };
  const double t0 = param(startAngle);
  const double sweep = sweepAngle * kPi / 180;
  double d = param(startAngle + sweepAngle) - t0;
  d += 2 * kPi * std::round((sweep - d) / (2 * kPi));
  if (std::fabs(sweepAngle) >= 360) d = sweep;
  const int segments = std::max(1, int(std::ceil(std::fabs(d) / (kPi / 2) - 1e-9)));
  const double step = d / segments;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  double a = t0;
  path.BeginSegment(P(cx + rx * std::cos(a), cy + ry * std::sin(a)));
  for (int s = 0; s < segments; ++s) {
    const double b = a + step;
    const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    path.AddBezierTo(P(cx + rx * (ca - k * sa), cy + ry * (sa + k * ca)),
                     P(cx + rx * (cb + k * sb), cy + ry * (sb - k * cb)), P(cx + rx * cb, cy + ry * sb));
    a = b;
  }
}

void PathAppendCurve(GpPath& path, const GpPointF* pts, int count, int offset, int segments, double tension,
                     bool closed) {
  const double f = tension / 3;
  auto at = [&](int i) {
    if (closed) return pts[((i % count) + count) % count];
    return pts[std::clamp(i, 0, count - 1)];
  };
  if (closed) {
    offset = 0;
    segments = count;
    path.startNewFigure = true;
  }
  path.BeginSegment(at(offset));
  for (int i = offset; i < offset + segments; ++i) {
    const GpPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
    path.AddBezierTo(P(p1.X + f * (p2.X - p0.X), p1.Y + f * (p2.Y - p0.Y)),
                     P(p2.X - f * (p3.X - p1.X), p2.Y - f * (p3.Y - p1.Y)), p2);
  }
  if (closed) path.CloseFigure();
}

GpRectF PathPointBounds(const GpPath& path) {
  if (path.points.empty()) return {};
  double x0 = path.points[0].X, y0 = path.points[0].Y, x1 = x0, y1 = y0;
  for (const GpPointF& p : path.points) {
    x0 = std::min(x0, double(p.X));
    y0 = std::min(y0, double(p.Y));
    x1 = std::max(x1, double(p.X));
    y1 = std::max(y1, double(p.Y));
  }
  return GpRectF{REAL(x0), REAL(y0), REAL(x1 - x0), REAL(y1 - y0)};
}

// ---- flat API ---------------------------------------------------------------------------

Status GdipCreatePath(GpFillMode fillMode, GpPath** path) {
  if (!path) return InvalidParameter;
  *path = nullptr;
  if (fillMode != FillModeAlternate && fillMode != FillModeWinding) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpPath* p = new (std::nothrow) GpPath;
  if (!p) return OutOfMemory;
  p->fillMode = fillMode;
  *path = p;
  return Ok;
}

Status GdipCreatePath2(const GpPointF* points, const std::uint8_t* types, int count, GpFillMode fillMode,
                       GpPath** path) {
  if (!path) return InvalidParameter;
  *path = nullptr;
  if (count < 0 || (count > 0 && (!points || !types)) || !ValidPoints(points, count)) return InvalidParameter;
  Status s = GdipCreatePath(fillMode, path);
  if (s != Ok) return s;
  (*path)->points.assign(points, points + count);
  (*path)->types.assign(types, types + count);
  if (count > 0) {
    (*path)->types[0] = std::uint8_t(((*path)->types[0] & ~PathPointTypePathTypeMask) | PathPointTypeStart);
    (*path)->startNewFigure = ((*path)->types.back() & PathPointTypeCloseSubpath) != 0;
  }
  return Ok;
}

Status GdipClonePath(GpPath* path, GpPath** clone) {
  if (!path || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpPath(*path);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDeletePath(GpPath* path) {
  if (!path) return InvalidParameter;
  delete path;
  return Ok;
}

Status GdipResetPath(GpPath* path) {
  if (!path) return InvalidParameter;
  path->points.clear();
  path->types.clear();
  path->startNewFigure = true;
  path->fillMode = FillModeAlternate;
  return Ok;
}

Status GdipGetPointCount(GpPath* path, int* count) {
  if (!path || !count) return InvalidParameter;
  *count = int(path->points.size());
  return Ok;
}

Status GdipGetPathPoints(GpPath* path, GpPointF* points, int count) {
  if (!path || !points || count <= 0) return InvalidParameter;
  if (std::size_t(count) < path->points.size()) return InsufficientBuffer;
  std::copy(path->points.begin(), path->points.end(), points);
  return Ok;
}

Status GdipGetPathTypes(GpPath* path, std::uint8_t* types, int count) {
  if (!path || !types || count <= 0) return InvalidParameter;
  if (std::size_t(count) < path->types.size()) return InsufficientBuffer;
  std::copy(path->types.begin(), path->types.end(), types);
  return Ok;
}

Status GdipGetPathLastPoint(GpPath* path, GpPointF* point) {
  if (!path || !point) return InvalidParameter;
  if (path->points.empty()) return GenericError;
  *point = path->points.back();
  return Ok;
}

Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode) {
  if (!path || !fillMode) return InvalidParameter;
  *fillMode = path->fillMode;
  return Ok;
}

Status GdipSetPathFillMode(GpPath* path, GpFillMode fillMode) {
  if (!path || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  path->fillMode = fillMode;
  return Ok;
}

Status GdipStartPathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  path->startNewFigure = true;
  return Ok;
}

Status GdipClosePathFigure(GpPath* path) {
  if (!path) return InvalidParameter;
  path->CloseFigure();
  return Ok;
}

Status GdipClosePathFigures(GpPath* path) {
  if (!path) return InvalidParameter;
  for (std::size_t i = 0; i < path->types.size(); ++i) {
    const bool last = i + 1 == path->types.size() ||
                      (path->types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart;
    if (last) path->types[i] |= PathPointTypeCloseSubpath;
  }
  path->startNewFigure = true;
  return Ok;
}

Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
  if (!path || !ValidFloat(x1) || !ValidFloat(y1) || !ValidFloat(x2) || !ValidFloat(y2)) return InvalidParameter;
  path->BeginSegment(P(x1, y1));
  path->AddLineTo(P(x2, y2));
  return Ok;
}

Status GdipAddPathLineI(GpPath* path, int x1, int y1, int x2, int y2) {
  return GdipAddPathLine(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

Status GdipAddPathLine2(GpPath* path, const GpPointF* points, int count) {
  if (!path || !points || count <= 0 || !ValidPoints(points, count)) return InvalidParameter;
  path->BeginSegment(points[0]);
  for (int i = 1; i < count; ++i) path->AddLineTo(points[i]);
  return Ok;
}

Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, int count) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipAddPathLine2(path, f.data(), count);
}

Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!path || !ValidRect(x, y, width, height) || !ValidFloat(startAngle) || !ValidFloat(sweepAngle))
    return InvalidParameter;
  PathAppendArc(*path, x, y, width, height, startAngle, sweepAngle);
  return Ok;
}

Status GdipAddPathArcI(GpPath* path, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle) {
  return GdipAddPathArc(path, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
  const GpPointF pts[4] = {P(x1, y1), P(x2, y2), P(x3, y3), P(x4, y4)};
  return GdipAddPathBeziers(path, pts, 4);
}

Status GdipAddPathBezierI(GpPath* path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  return GdipAddPathBezier(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2), REAL(x3), REAL(y3), REAL(x4), REAL(y4));
}

Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, int count) {
  if (!path || !points || count < 4 || (count - 1) % 3 != 0 || !ValidPoints(points, count)) return InvalidParameter;
  path->BeginSegment(points[0]);
  for (int i = 1; i + 2 < count; i += 3) path->AddBezierTo(points[i], points[i + 1], points[i + 2]);
  return Ok;
}

Status GdipAddPathBeziersI(GpPath* path, const GpPoint* points, int count) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipAddPathBeziers(path, f.data(), count);
}

Status GdipAddPathCurve3(GpPath* path, const GpPointF* points, int count, int offset, int numberOfSegments,
                         REAL tension) {
  if (!path || !points || count < 2 || !ValidPoints(points, count) || !ValidFloat(tension) || tension < 0 ||
      offset < 0 || numberOfSegments < 1 || offset + numberOfSegments > count - 1)
    return InvalidParameter;
  PathAppendCurve(*path, points, count, offset, numberOfSegments, tension, false);
  return Ok;
}

Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, int count, REAL tension) {
  return GdipAddPathCurve3(path, points, count, 0, count - 1, tension);
}

Status GdipAddPathCurve(GpPath* path, const GpPointF* points, int count) {
  return GdipAddPathCurve2(path, points, count, 0.5f);
}

Status GdipAddPathCurve3I(GpPath* path, const GpPoint* points, int count, int offset, int numberOfSegments,
                          REAL tension) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipAddPathCurve3(path, f.data(), count, offset, numberOfSegments, tension);
}

Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, int count, REAL tension) {
  return GdipAddPathCurve3I(path, points, count, 0, count - 1, tension);
}

Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, int count) {
  return GdipAddPathCurve2I(path, points, count, 0.5f);
}

Status GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, int count, REAL tension) {
  if (!path || !points || count < 3 || !ValidPoints(points, count) || !ValidFloat(tension) || tension < 0)
    return InvalidParameter;
  PathAppendCurve(*path, points, count, 0, count, tension, true);
  return Ok;
}

Status GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, int count) {
  return GdipAddPathClosedCurve2(path, points, count, 0.5f);
}

Status GdipAddPathClosedCurve2I(GpPath* path, const GpPoint* points, int count, REAL tension) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipAddPathClosedCurve2(path, f.data(), count, tension);
}

Status GdipAddPathClosedCurveI(GpPath* path, const GpPoint* points, int count) {
  return GdipAddPathClosedCurve2I(path, points, count, 0.5f);
}

Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path || !ValidRect(x, y, width, height)) return InvalidParameter;
  if (width == 0 || height == 0) return Ok;  // an empty rectangle adds nothing
  path->startNewFigure = true;
  path->BeginSegment(P(x, y));
  path->AddLineTo(P(double(x) + width, y));
  path->AddLineTo(P(double(x) + width, double(y) + height));
  path->AddLineTo(P(x, double(y) + height));
  path->CloseFigure();
  return Ok;
}

Status GdipAddPathRectangleI(GpPath* path, int x, int y, int width, int height) {
  return GdipAddPathRectangle(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipAddPathRectangles(GpPath* path, const GpRectF* rects, int count) {
  if (!path || !rects || count <= 0) return InvalidParameter;
  for (int i = 0; i < count; ++i)
    if (!ValidRect(rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height)) return InvalidParameter;
  for (int i = 0; i < count; ++i) GdipAddPathRectangle(path, rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
  return Ok;
}

Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
  if (!path || !ValidRect(x, y, width, height)) return InvalidParameter;
  path->startNewFigure = true;
  PathAppendArc(*path, x, y, width, height, 0, 360);
  path->CloseFigure();
  return Ok;
}

Status GdipAddPathEllipseI(GpPath* path, int x, int y, int width, int height) {
  return GdipAddPathEllipse(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
  if (!path || !ValidRect(x, y, width, height) || !ValidFloat(startAngle) || !ValidFloat(sweepAngle))
    return InvalidParameter;
  path->startNewFigure = true;
  path->BeginSegment(P(double(x) + width / 2.0, double(y) + height / 2.0));
  if (sweepAngle != 0) PathAppendArc(*path, x, y, width, height, startAngle, sweepAngle);
  path->CloseFigure();
  return Ok;
}

Status GdipAddPathPieI(GpPath* path, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle) {
  return GdipAddPathPie(path, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, int count) {
  if (!path || !points || count < 3 || !ValidPoints(points, count)) return InvalidParameter;
  path->startNewFigure = true;
  path->BeginSegment(points[0]);
  int last = count - 1;
  if (SamePoint(points[last], points[0])) --last;  // closing is implied
  for (int i = 1; i <= last; ++i) path->AddLineTo(points[i]);
  path->CloseFigure();
  return Ok;
}

Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, int count) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipAddPathPolygon(path, f.data(), count);
}

Status GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect) {
  if (!path || !addingPath) return InvalidParameter;
  if (addingPath->points.empty()) return Ok;
  const GpPath src = *addingPath;  // the path may be added to itself
  std::size_t i = 0;
  if (connect && !path->startNewFigure && !path->points.empty()) {
    path->AddLineTo(src.points[0]);
    path->types.back() = std::uint8_t(PathPointTypeLine | (src.types[0] & PathPointTypeCloseSubpath));
    i = 1;
  }
  for (; i < src.points.size(); ++i) {
    path->points.push_back(src.points[i]);
    path->types.push_back(src.types[i]);
  }
  path->startNewFigure = src.startNewFigure;
  return Ok;
}

Status GdipTransformPath(GpPath* path, GpMatrix* matrix) {
  if (!path) return InvalidParameter;
  if (!matrix) return Ok;
  for (GpPointF& p : path->points) {
    double x = p.X, y = p.Y;
    cairo_matrix_transform_point(&matrix->m, &x, &y);
    p = P(x, y);
  }
  return Ok;
}

namespace {

cairo_t* Scratch() {
  static thread_local cairo_t* cr = [] {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* c = cairo_create(s);
    cairo_surface_destroy(s);
    return c;
  }();
  cairo_identity_matrix(cr);
  cairo_new_path(cr);
  return cr;
}

void SetPenStroke(cairo_t* cr, const GpPen* pen) {
  cairo_set_line_width(cr, pen->width > 0 ? pen->width : 1);
  cairo_set_line_join(cr, pen->lineJoin == LineJoinRound   ? CAIRO_LINE_JOIN_ROUND
                          : pen->lineJoin == LineJoinBevel ? CAIRO_LINE_JOIN_BEVEL
                                                           : CAIRO_LINE_JOIN_MITER);
  cairo_set_miter_limit(cr, pen->miterLimit);
}

}  // namespace

Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen) {
  if (!path || !bounds) return InvalidParameter;
  *bounds = GpRectF{};
  if (path->points.empty()) return Ok;
  GpPath copy = *path;
  if (matrix) GdipTransformPath(&copy, const_cast<GpMatrix*>(matrix));
  cairo_t* cr = Scratch();
  copy.Emit(cr);
  double x0, y0, x1, y1;
  if (pen) {
    SetPenStroke(cr, pen);
    cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
  } else {
    cairo_path_extents(cr, &x0, &y0, &x1, &y1);
  }
  cairo_new_path(cr);
  *bounds = GpRectF{REAL(x0), REAL(y0), REAL(x1 - x0), REAL(y1 - y0)};
  return Ok;
}

Status GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen) {
  if (!bounds) return InvalidParameter;
  GpRectF r;
  Status s = GdipGetPathWorldBounds(path, &r, matrix, pen);
  if (s != Ok) return s;
  const int x = int(std::floor(r.X)), y = int(std::floor(r.Y));
  *bounds = GpRect{x, y, int(std::ceil(r.X + r.Width)) - x, int(std::ceil(r.Y + r.Height)) - y};
  return Ok;
}

Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
  if (!path || !result || !ValidFloat(x) || !ValidFloat(y)) return InvalidParameter;
  cairo_t* cr = Scratch();
  path->Emit(cr);
  cairo_set_fill_rule(cr, path->fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
  *result = cairo_in_fill(cr, x, y) ? 1 : 0;
  cairo_new_path(cr);
  return Ok;
}

Status GdipIsVisiblePathPointI(GpPath* path, int x, int y, GpGraphics* graphics, BOOL* result) {
  return GdipIsVisiblePathPoint(path, REAL(x), REAL(y), graphics, result);
}

Status GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics, BOOL* result) {
  if (!path || !pen || !result || !ValidFloat(x) || !ValidFloat(y)) return InvalidParameter;
  cairo_t* cr = Scratch();
  path->Emit(cr);
  SetPenStroke(cr, pen);
  *result = cairo_in_stroke(cr, x, y) ? 1 : 0;
  cairo_new_path(cr);
  return Ok;
}
