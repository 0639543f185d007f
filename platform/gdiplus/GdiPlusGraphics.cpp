// Graphics: a cairo context on a device context's surface, an image or a caller's cairo
// context, with GDI+'s drawing state (smoothing, compositing, pixel offset, world
// transform, clip) applied around every drawing call.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"

GpGraphics::GpGraphics() {
  cairo_matrix_init_identity(&world);
  cairo_matrix_init_identity(&base);
}

GpGraphics::~GpGraphics() {
  if (ownDC) DeleteSurfaceDC(ownDC);
  if (cr) {
    cairo_surface_flush(cairo_get_target(cr));
    cairo_destroy(cr);
  }
  if (hdc) GdiSurfaceChanged(hdc);
  if (image) --image->graphicsCount;
}

cairo_matrix_t GpGraphics::ShapeMatrix() const {
  cairo_matrix_t m = world;
  if (pixelOffset != PixelOffsetModeHalf && pixelOffset != PixelOffsetModeHighQuality) {
    m.x0 += 0.5;
    m.y0 += 0.5;
  }
  cairo_matrix_t r;
  cairo_matrix_multiply(&r, &m, &base);
  return r;
}

Status GraphicsBegin(GpGraphics* g, bool imageSpace, bool& masked, cairo_surface_t*& mask, int& maskX, int& maskY) {
  if (g->busy) return ObjectBusy;
  cairo_t* cr = g->cr;
  cairo_save(cr);
  cairo_set_matrix(cr, &g->base);
  masked = false;
  mask = nullptr;
  if (g->clip) {
    if (g->clip->IsEmptyShape()) {
      cairo_restore(cr);
      return Aborted;
    }
    if (g->clip->IsSimple()) {
      g->clip->ClipSimple(cr);
    } else {
      double x0, y0, x1, y1;
      cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
      maskX = int(std::floor(std::max(x0, -16384.0)));
      maskY = int(std::floor(std::max(y0, -16384.0)));
      const int w = int(std::ceil(std::min(x1, 16384.0))) - maskX;
      const int h = int(std::ceil(std::min(y1, 16384.0))) - maskY;
      if (w <= 0 || h <= 0) {
        cairo_restore(cr);
        return Aborted;
      }
      mask = g->clip->RenderMask(maskX, maskY, w, h);
      if (!mask) {
        cairo_restore(cr);
        return OutOfMemory;
      }
      masked = true;
      cairo_push_group(cr);
    }
  }
  cairo_set_operator(cr, g->compositingMode == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr, g->Antialias() ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  if (imageSpace) {
    cairo_transform(cr, &g->world);
  } else {
    const cairo_matrix_t m = g->ShapeMatrix();
    cairo_set_matrix(cr, &m);
  }
  return Ok;
}

void GraphicsEnd(GpGraphics* g, bool masked, cairo_surface_t* mask, int maskX, int maskY) {
  cairo_t* cr = g->cr;
  if (masked) {
    cairo_pop_group_to_source(cr);
    cairo_set_matrix(cr, &g->base);
    cairo_set_operator(cr, g->compositingMode == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    cairo_mask_surface(cr, mask, maskX, maskY);
    cairo_surface_destroy(mask);
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

namespace {

Status StartGraphics(GpGraphics* g, cairo_t* cr, GpGraphics** out) {
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr);
    delete g;
    return OutOfMemory;
  }
  g->cr = cr;
  cairo_get_matrix(cr, &g->base);
  *out = g;
  return Ok;
}

// Strokes the current path of cr one straight piece at a time, carrying the dash phase
// from piece to piece. Thin dashes are drawn unsmoothed, and one piece at a time every
// straight side of a figure with curved corners keeps its dots on whole pixels.
void StrokeThinDashes(cairo_t* cr) {
  const int count = cairo_get_dash_count(cr);
  std::vector<double> dashes(static_cast<std::size_t>(std::max(count, 0)));
  double phase = 0;
  cairo_get_dash(cr, dashes.data(), &phase);
  cairo_path_t* flat = cairo_copy_path_flat(cr);
  cairo_new_path(cr);
  double run = phase, sx = 0, sy = 0, cx = 0, cy = 0;
  auto piece = [&](double x, double y) {
    const double length = std::hypot(x - cx, y - cy);
    if (length > 0) {
      cairo_set_dash(cr, dashes.data(), count, run);
      cairo_move_to(cr, cx, cy);
      cairo_line_to(cr, x, y);
      cairo_stroke(cr);
    }
    run += length;
    cx = x;
    cy = y;
  };
  for (int i = 0; flat && i < flat->num_data; i += flat->data[i].header.length) {
    const cairo_path_data_t* d = &flat->data[i];
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO:
        run = phase;  // every figure starts the pattern afresh
        sx = cx = d[1].point.x;
        sy = cy = d[1].point.y;
        break;
      case CAIRO_PATH_LINE_TO: piece(d[1].point.x, d[1].point.y); break;
      case CAIRO_PATH_CLOSE_PATH: piece(sx, sy); break;
      default: break;
    }
  }
  if (flat) cairo_path_destroy(flat);
}

Status StrokePath(GpGraphics* g, const GpPen* pen, const GpPath& path) {
  if (!g || !pen) return InvalidParameter;
  if (path.points.empty()) return Ok;
  return GraphicsDraw(g, false, [&](cairo_t* cr) {
    path.Emit(cr);
    if (pen->Apply(cr)) {
      StrokeThinDashes(cr);
      return Ok;
    }
    if (pen->alignment == PenAlignmentInset && pen->width > 1 && path.startNewFigure) {
      // An inset pen lies inside closed figures: clip to the figure and stroke twice as wide.
      cairo_save(cr);
      cairo_set_fill_rule(cr, path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
      cairo_clip_preserve(cr);
      cairo_set_line_width(cr, cairo_get_line_width(cr) * 2);
      cairo_stroke(cr);
      cairo_restore(cr);
    } else {
      cairo_stroke(cr);
    }
    return Ok;
  });
}

Status FillPathWith(GpGraphics* g, const GpBrush* brush, const GpPath& path) {
  if (!g || !brush) return InvalidParameter;
  if (path.points.empty()) return Ok;
  return GraphicsDraw(g, false, [&](cairo_t* cr) {
    path.Emit(cr);
    cairo_set_fill_rule(cr, path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = brush->CreatePattern();
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_fill(cr);
    return Ok;
  });
}

std::vector<GpPointF> ToF(const GpPoint* pts, int count) {
  std::vector<GpPointF> out(std::size_t(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) out[std::size_t(i)] = GpPointF{REAL(pts[i].X), REAL(pts[i].Y)};
  return out;
}

// Turns a region given in world coordinates into device space and combines it into the clip.
Status CombineClip(GpGraphics* g, std::unique_ptr<GpRegionNode> node, CombineMode mode) {
  if (mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  GpRegion r;
  r.root = std::move(node);
  r.Transform(g->world);
  if (!g->clip) {
    g->clip = std::make_unique<GpRegion>();
    g->clip->SetInfinite();
  }
  g->clip->Combine(std::move(r.root), mode);
  if (g->clip->IsInfinite()) g->clip.reset();
  return Ok;
}

}  // namespace

// ---- creation ------------------------------------------------------------------------------------

Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!hdc) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  DCDrawingTarget t;
  if (!GetDCDrawingTarget(hdc, &t)) {
    if (t.clip) DeleteObject(t.clip);
    return Win32Error;
  }
  GpGraphics* g = new (std::nothrow) GpGraphics;
  if (!g) {
    if (t.clip) DeleteObject(t.clip);
    return OutOfMemory;
  }
  cairo_t* cr = cairo_create(t.surface);
  cairo_translate(cr, t.surfaceOrigin.x, t.surfaceOrigin.y);
  if (t.clip) {
    for (const RECT& r : GetRegionRects(t.clip)) cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    DeleteObject(t.clip);
  }
  // Logical to device: (logical - windowOrg) * viewportExt / windowExt + viewportOrg.
  cairo_translate(cr, t.viewportOrg.x, t.viewportOrg.y);
  if (t.windowExt.cx && t.windowExt.cy && t.viewportExt.cx && t.viewportExt.cy)
    cairo_scale(cr, double(t.viewportExt.cx) / t.windowExt.cx, double(t.viewportExt.cy) / t.windowExt.cy);
  cairo_translate(cr, -t.windowOrg.x, -t.windowOrg.y);
  g->hdc = hdc;
  return StartGraphics(g, cr, graphics);
}

Status GdipCreateFromCairo(cairo_t* cr, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpGraphics* g = new (std::nothrow) GpGraphics;
  if (!g) return OutOfMemory;
  return StartGraphics(g, cairo_reference(cr), graphics);
}

Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
  if (!graphics) return InvalidParameter;
  *graphics = nullptr;
  if (!image || !image->Surface()) return InvalidParameter;
  if (image->locked) return WrongState;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  GpGraphics* g = new (std::nothrow) GpGraphics;
  if (!g) return OutOfMemory;
  Status s = StartGraphics(g, cairo_create(image->Surface()), graphics);
  if (s == Ok) {
    g->image = image;
    ++image->graphicsCount;
  }
  return s;
}

Status GdipDeleteGraphics(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  delete graphics;
  return Ok;
}

Status GdipFlush(GpGraphics* graphics, FlushIntention intention) {
  if (!graphics) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  cairo_surface_flush(cairo_get_target(graphics->cr));
  if (graphics->hdc) GdiSurfaceChanged(graphics->hdc);
  return Ok;
}

Status GdipGetDC(GpGraphics* graphics, HDC* hdc) {
  if (!graphics || !hdc) return InvalidParameter;
  *hdc = nullptr;
  if (graphics->busy) return ObjectBusy;
  cairo_surface_t* target = cairo_get_target(graphics->cr);
  cairo_surface_flush(target);
  if (graphics->hdc) {
    GdiSurfaceChanged(graphics->hdc);
    *hdc = graphics->hdc;
  } else {
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) return NotImplemented;
    if (!graphics->ownDC) {
      double x = 0, y = 0;
      cairo_matrix_transform_point(&graphics->base, &x, &y);
      graphics->ownDC = CreateSurfaceDC(target, POINT{LONG(std::lround(x)), LONG(std::lround(y))}, nullptr);
      if (!graphics->ownDC) return Win32Error;
    }
    *hdc = graphics->ownDC;
  }
  graphics->busy = true;
  return Ok;
}

Status GdipReleaseDC(GpGraphics* graphics, HDC hdc) {
  if (!graphics || !hdc) return InvalidParameter;
  if (!graphics->busy || (hdc != graphics->hdc && hdc != graphics->ownDC)) return InvalidParameter;
  graphics->busy = false;
  cairo_surface_mark_dirty(cairo_get_target(graphics->cr));
  return Ok;
}

// ---- state -------------------------------------------------------------------------------------------

#define GRAPHICS_SETTER(Name, Type, field, valid)          \
  Status GdipSet##Name(GpGraphics* graphics, Type value) { \
    if (!graphics || !(valid)) return InvalidParameter;    \
    if (graphics->busy) return ObjectBusy;                 \
    graphics->field = value;                               \
    return Ok;                                             \
  }                                                        \
  Status GdipGet##Name(GpGraphics* graphics, Type* value) {\
    if (!graphics || !value) return InvalidParameter;      \
    if (graphics->busy) return ObjectBusy;                 \
    *value = graphics->field;                              \
    return Ok;                                             \
  }

GRAPHICS_SETTER(SmoothingMode, SmoothingMode, smoothing,
                value >= SmoothingModeDefault && value <= SmoothingModeAntiAlias8x8)
GRAPHICS_SETTER(TextRenderingHint, TextRenderingHint, textHint,
                value >= TextRenderingHintSystemDefault && value <= TextRenderingHintClearTypeGridFit)
GRAPHICS_SETTER(CompositingMode, CompositingMode, compositingMode,
                value == CompositingModeSourceOver || value == CompositingModeSourceCopy)
GRAPHICS_SETTER(CompositingQuality, CompositingQuality, compositingQuality,
                value >= CompositingQualityDefault && value <= CompositingQualityAssumeLinear)
GRAPHICS_SETTER(PixelOffsetMode, PixelOffsetMode, pixelOffset,
                value >= PixelOffsetModeDefault && value <= PixelOffsetModeHalf)
#undef GRAPHICS_SETTER

Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode) {
  if (!graphics || mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic)
    return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  // Default and low quality mean bilinear, high quality bicubic.
  if (mode == InterpolationModeDefault || mode == InterpolationModeLowQuality) mode = InterpolationModeBilinear;
  if (mode == InterpolationModeHighQuality) mode = InterpolationModeHighQualityBicubic;
  graphics->interpolation = mode;
  return Ok;
}

Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode) {
  if (!graphics || !mode) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  *mode = graphics->interpolation;
  return Ok;
}

Status GdipSetTextContrast(GpGraphics* graphics, unsigned contrast) {
  if (!graphics || contrast > 12) return InvalidParameter;
  graphics->textContrast = int(contrast);
  return Ok;
}

Status GdipGetTextContrast(GpGraphics* graphics, unsigned* contrast) {
  if (!graphics || !contrast) return InvalidParameter;
  *contrast = unsigned(graphics->textContrast);
  return Ok;
}

Status GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit) {
  if (!graphics || !unit) return InvalidParameter;
  *unit = graphics->pageUnit;
  return Ok;
}

Status GdipGetPageScale(GpGraphics* graphics, REAL* scale) {
  if (!graphics || !scale) return InvalidParameter;
  *scale = graphics->pageScale;
  return Ok;
}

Status GdipGetDpiX(GpGraphics* graphics, REAL* dpi) {
  if (!graphics || !dpi) return InvalidParameter;
  *dpi = 96;
  return Ok;
}

Status GdipGetDpiY(GpGraphics* graphics, REAL* dpi) { return GdipGetDpiX(graphics, dpi); }

Status GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state) {
  if (!graphics || !state) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  GpGraphics::Saved s{graphics->nextState++,     graphics->smoothing,     graphics->textHint,
                      graphics->compositingMode, graphics->compositingQuality, graphics->pixelOffset,
                      graphics->interpolation,   graphics->world,
                      graphics->clip ? std::make_unique<GpRegion>(*graphics->clip) : nullptr};
  *state = s.id;
  graphics->saved.push_back(std::move(s));
  return Ok;
}

Status GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state) {
  if (!graphics) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  auto it = std::find_if(graphics->saved.begin(), graphics->saved.end(),
                         [&](const GpGraphics::Saved& s) { return s.id == state; });
  if (it == graphics->saved.end()) return Ok;  // unknown states are ignored, as in GDI+
  graphics->smoothing = it->smoothing;
  graphics->textHint = it->textHint;
  graphics->compositingMode = it->compositingMode;
  graphics->compositingQuality = it->compositingQuality;
  graphics->pixelOffset = it->pixelOffset;
  graphics->interpolation = it->interpolation;
  graphics->world = it->world;
  graphics->clip = std::move(it->clip);
  graphics->saved.erase(it, graphics->saved.end());
  return Ok;
}

// ---- world transform -------------------------------------------------------------------------------

Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix) return InvalidParameter;
  cairo_matrix_t m = matrix->m;
  if (cairo_matrix_invert(&m) != CAIRO_STATUS_SUCCESS) return InvalidParameter;
  graphics->world = matrix->m;
  return Ok;
}

Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
  if (!graphics || !matrix) return InvalidParameter;
  matrix->m = graphics->world;
  return Ok;
}

Status GdipResetWorldTransform(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  cairo_matrix_init_identity(&graphics->world);
  return Ok;
}

Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order) {
  if (!graphics || !matrix) return InvalidParameter;
  GpMatrix m{graphics->world};
  Status s = GdipMultiplyMatrix(&m, const_cast<GpMatrix*>(matrix), order);
  if (s == Ok) return GdipSetWorldTransform(graphics, &m);
  return s;
}

Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order) {
  if (!graphics) return InvalidParameter;
  GpMatrix m{graphics->world};
  Status s = GdipTranslateMatrix(&m, dx, dy, order);
  if (s == Ok) graphics->world = m.m;
  return s;
}

Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order) {
  if (!graphics) return InvalidParameter;
  GpMatrix m{graphics->world};
  Status s = GdipScaleMatrix(&m, sx, sy, order);
  if (s == Ok) return GdipSetWorldTransform(graphics, &m);
  return s;
}

Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order) {
  if (!graphics) return InvalidParameter;
  GpMatrix m{graphics->world};
  Status s = GdipRotateMatrix(&m, angle, order);
  if (s == Ok) graphics->world = m.m;
  return s;
}

// ---- clip --------------------------------------------------------------------------------------------

Status GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* source, CombineMode mode) {
  if (!graphics || !source || mode < CombineModeReplace || mode > CombineModeComplement) return InvalidParameter;
  std::unique_ptr<GpRegionNode> node;
  if (source->clip) {
    node = source->clip->root->Clone();
  } else {
    node = std::make_unique<GpRegionNode>();
    node->kind = GpRegionNode::Infinite;
  }
  if (!graphics->clip) {
    graphics->clip = std::make_unique<GpRegion>();
    graphics->clip->SetInfinite();
  }
  graphics->clip->Combine(std::move(node), mode);
  if (graphics->clip->IsInfinite()) graphics->clip.reset();
  return Ok;
}

Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode) {
  if (!graphics || !ValidFloat(x) || !ValidFloat(y) || !ValidFloat(width) || !ValidFloat(height))
    return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  // A rectangle with a negative size is normalised.
  GpRectF r{width < 0 ? x + width : x, height < 0 ? y + height : y, std::fabs(width), std::fabs(height)};
  return CombineClip(graphics, RegionRectNode(r), mode);
}

Status GdipSetClipRectI(GpGraphics* graphics, int x, int y, int width, int height, CombineMode mode) {
  return GdipSetClipRect(graphics, REAL(x), REAL(y), REAL(width), REAL(height), mode);
}

Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode) {
  if (!graphics || !path) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  return CombineClip(graphics, RegionPathNode(*path), mode);
}

Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode) {
  if (!graphics || !region) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  return CombineClip(graphics, region->root->Clone(), mode);
}

Status GdipResetClip(GpGraphics* graphics) {
  if (!graphics) return InvalidParameter;
  if (graphics->busy) return ObjectBusy;
  graphics->clip.reset();
  return Ok;
}

Status GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy) {
  if (!graphics || !ValidFloat(dx) || !ValidFloat(dy)) return InvalidParameter;
  if (graphics->clip) {
    // The offset is in world units.
    double x = dx, y = dy;
    cairo_matrix_transform_distance(&graphics->world, &x, &y);
    graphics->clip->Translate(x, y);
  }
  return Ok;
}

Status GdipTranslateClipI(GpGraphics* graphics, int dx, int dy) { return GdipTranslateClip(graphics, REAL(dx), REAL(dy)); }

Status GdipGetClip(GpGraphics* graphics, GpRegion* region) {
  if (!graphics || !region) return InvalidParameter;
  if (!graphics->clip) {
    region->SetInfinite();
    return Ok;
  }
  GpRegion r(*graphics->clip);
  cairo_matrix_t inv = graphics->world;
  if (cairo_matrix_invert(&inv) == CAIRO_STATUS_SUCCESS) r.Transform(inv);
  region->root = std::move(r.root);
  return Ok;
}

Status GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect) {
  if (!graphics || !rect) return InvalidParameter;
  GpRegion r;
  GdipGetClip(graphics, &r);
  *rect = r.Bounds();
  return Ok;
}

Status GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect) {
  if (!rect) return InvalidParameter;
  GpRectF r;
  Status s = GdipGetClipBounds(graphics, &r);
  if (s == Ok) {
    const int x = int(std::floor(r.X)), y = int(std::floor(r.Y));
    *rect = GpRect{x, y, int(std::ceil(double(r.X) + r.Width)) - x, int(std::ceil(double(r.Y) + r.Height)) - y};
  }
  return s;
}

Status GdipIsClipEmpty(GpGraphics* graphics, BOOL* result) {
  if (!graphics || !result) return InvalidParameter;
  if (!graphics->clip) {
    *result = 0;
    return Ok;
  }
  return GdipIsEmptyRegion(graphics->clip.get(), graphics, result);
}

Status GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result) {
  if (!graphics || !result || !ValidFloat(x) || !ValidFloat(y)) return InvalidParameter;
  double dx = x, dy = y;
  cairo_matrix_transform_point(&graphics->world, &dx, &dy);
  bool in = !graphics->clip || graphics->clip->Contains(dx, dy);
  if (in) {
    // Also inside what the target itself shows (its clip, in device space).
    cairo_save(graphics->cr);
    cairo_set_matrix(graphics->cr, &graphics->base);
    in = cairo_in_clip(graphics->cr, dx + 0.5, dy + 0.5);
    cairo_restore(graphics->cr);
  }
  *result = in ? 1 : 0;
  return Ok;
}

Status GdipIsVisiblePointI(GpGraphics* graphics, int x, int y, BOOL* result) {
  return GdipIsVisiblePoint(graphics, REAL(x), REAL(y), result);
}

// ---- drawing -------------------------------------------------------------------------------------------

Status GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
  if (!graphics) return InvalidParameter;
  const CompositingMode keep = graphics->compositingMode;
  graphics->compositingMode = CompositingModeSourceCopy;  // clearing replaces the pixels
  Status s = GraphicsDraw(graphics, true, [&](cairo_t* cr) {
    SetSourceArgb(cr, color);
    cairo_paint(cr);
    return Ok;
  });
  graphics->compositingMode = keep;
  return s;
}

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  const GpPointF pts[2] = {{x1, y1}, {x2, y2}};
  return GdipDrawLines(graphics, pen, pts, 2);
}

Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2) {
  return GdipDrawLine(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count) {
  if (!graphics || !pen || !points || count < 2) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathLine2(&path, points, count);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count) {
  if (!points || count < 2) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipDrawLines(graphics, pen, f.data(), count);
}

Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathArc(&path, x, y, width, height, startAngle, sweepAngle);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, REAL startAngle,
                    REAL sweepAngle) {
  return GdipDrawArc(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                      REAL x4, REAL y4) {
  const GpPointF pts[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
  return GdipDrawBeziers(graphics, pen, pts, 4);
}

Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4,
                       int y4) {
  return GdipDrawBezier(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2), REAL(x3), REAL(y3), REAL(x4), REAL(y4));
}

Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathBeziers(&path, points, count);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathRectangle(&path, x, y, width, height);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height) {
  return GdipDrawRectangle(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, int count) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathRectangles(&path, rects, count);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathEllipse(&path, x, y, width, height);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height) {
  return GdipDrawEllipse(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathPie(&path, x, y, width, height, startAngle, sweepAngle);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, REAL startAngle,
                    REAL sweepAngle) {
  return GdipDrawPie(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathPolygon(&path, points, count);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipDrawPolygon(graphics, pen, f.data(), count);
}

Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count, REAL tension) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathCurve2(&path, points, count, tension);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count) {
  return GdipDrawCurve2(graphics, pen, points, count, 0.5f);
}

Status GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count, REAL tension) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipDrawCurve2(graphics, pen, f.data(), count, tension);
}

Status GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count) {
  return GdipDrawCurve2I(graphics, pen, points, count, 0.5f);
}

Status GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count, REAL tension) {
  if (!graphics || !pen) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathClosedCurve2(&path, points, count, tension);
  return s == Ok ? StrokePath(graphics, pen, path) : s;
}

Status GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count) {
  return GdipDrawClosedCurve2(graphics, pen, points, count, 0.5f);
}

Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
  if (!graphics || !pen || !path) return InvalidParameter;
  return StrokePath(graphics, pen, *path);
}

Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  if (!graphics || !brush) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathRectangle(&path, x, y, width, height);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height) {
  return GdipFillRectangle(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, int count) {
  if (!graphics || !brush) return InvalidParameter;
  GpPath path;
  path.fillMode = FillModeWinding;
  Status s = GdipAddPathRectangles(&path, rects, count);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillRectanglesI(GpGraphics* graphics, GpBrush* brush, const GpRect* rects, int count) {
  if (!rects || count <= 0) return InvalidParameter;
  std::vector<GpRectF> f(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    f[std::size_t(i)] = GpRectF{REAL(rects[i].X), REAL(rects[i].Y), REAL(rects[i].Width), REAL(rects[i].Height)};
  return GdipFillRectangles(graphics, brush, f.data(), count);
}

Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
  if (!graphics || !brush) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathEllipse(&path, x, y, width, height);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height) {
  return GdipFillEllipse(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle) {
  if (!graphics || !brush) return InvalidParameter;
  GpPath path;
  Status s = GdipAddPathPie(&path, x, y, width, height, startAngle, sweepAngle);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height, REAL startAngle,
                    REAL sweepAngle) {
  return GdipFillPie(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count, GpFillMode fillMode) {
  if (!graphics || !brush || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  GpPath path;
  path.fillMode = fillMode;
  Status s = GdipAddPathPolygon(&path, points, count);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, int count, GpFillMode fillMode) {
  if (!points || count <= 0) return InvalidParameter;
  std::vector<GpPointF> f = ToF(points, count);
  return GdipFillPolygon(graphics, brush, f.data(), count, fillMode);
}

Status GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count) {
  return GdipFillPolygon(graphics, brush, points, count, FillModeAlternate);
}

Status GdipFillPolygon2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, int count) {
  return GdipFillPolygonI(graphics, brush, points, count, FillModeAlternate);
}

Status GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count, REAL tension,
                            GpFillMode fillMode) {
  if (!graphics || !brush || (fillMode != FillModeAlternate && fillMode != FillModeWinding)) return InvalidParameter;
  GpPath path;
  path.fillMode = fillMode;
  Status s = GdipAddPathClosedCurve2(&path, points, count, tension);
  return s == Ok ? FillPathWith(graphics, brush, path) : s;
}

Status GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count) {
  return GdipFillClosedCurve2(graphics, brush, points, count, 0.5f, FillModeAlternate);
}

Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
  if (!graphics || !brush || !path) return InvalidParameter;
  return FillPathWith(graphics, brush, *path);
}

Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region) {
  if (!graphics || !brush || !region) return InvalidParameter;
  if (region->IsEmptyShape()) return Ok;
  GpRegion r(*region);
  r.Transform(graphics->world);
  return GraphicsDraw(graphics, false, [&](cairo_t* cr) {
    cairo_pattern_t* p = brush->CreatePattern();
    cairo_set_source(cr, p);  // locked to world space
    cairo_pattern_destroy(p);
    cairo_set_matrix(cr, &graphics->base);
    if (r.IsSimple()) {
      r.ClipSimple(cr);
      cairo_paint(cr);
      return Ok;
    }
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    const int x = int(std::floor(std::max(x0, -16384.0))), y = int(std::floor(std::max(y0, -16384.0)));
    const int w = int(std::ceil(std::min(x1, 16384.0))) - x, h = int(std::ceil(std::min(y1, 16384.0))) - y;
    if (w <= 0 || h <= 0) return Ok;
    cairo_surface_t* m = r.RenderMask(x, y, w, h);
    if (!m) return OutOfMemory;
    cairo_mask_surface(cr, m, x, y);
    cairo_surface_destroy(m);
    return Ok;
  });
}
