#pragma once
// The flat GDI+ interface drawn with cairo and pango. Every function answers a Status and
// never crashes on a bad argument: null objects or out pointers, negative sizes and NaN
// coordinates answer InvalidParameter; objects of the wrong kind answer InvalidParameter;
// a graphics between GdipGetDC and GdipReleaseDC answers ObjectBusy.
//
// Coordinates are in pixels (world units = device pixels unless a world transform is
// set). As in GDI+, pixel centres lie on integer coordinates: a one-pixel line at y = 5
// covers row 5, an anti-aliased fill of (0, 0, 10, 10) has half-covered edge pixels.
#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "platform/gdiplus/GdiPlusTypes.h"

struct IStream;

// ---- start-up and memory --------------------------------------------------------------
Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(std::uintptr_t token);
// Memory for the object layer; null before GdiplusStartup.
void* GdipAlloc(std::size_t size);
void GdipFree(void* ptr);

// ---- graphics -------------------------------------------------------------------------------
Status GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
// A graphics drawing on a cairo context (its current matrix and clip are the device
// space). The context is referenced, not copied.
Status GdipCreateFromCairo(cairo_t* cr, GpGraphics** graphics);
Status GdipDeleteGraphics(GpGraphics* graphics);
Status GdipFlush(GpGraphics* graphics, FlushIntention intention);
Status GdipGetDC(GpGraphics* graphics, HDC* hdc);
Status GdipReleaseDC(GpGraphics* graphics, HDC hdc);
Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);
Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint);
Status GdipSetTextContrast(GpGraphics* graphics, unsigned contrast);
Status GdipGetTextContrast(GpGraphics* graphics, unsigned* contrast);
Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode);
Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode);
Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
Status GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode);
Status GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* mode);
Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode);
Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode);
Status GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit);
Status GdipGetPageScale(GpGraphics* graphics, REAL* scale);
Status GdipGetDpiX(GpGraphics* graphics, REAL* dpi);
Status GdipGetDpiY(GpGraphics* graphics, REAL* dpi);
Status GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state);
Status GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state);

// World transform.
Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipResetWorldTransform(GpGraphics* graphics);
Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, MatrixOrder order);
Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, MatrixOrder order);

// Clip (kept in device space: later transforms do not move it).
Status GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* source, CombineMode mode);
Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
Status GdipSetClipRectI(GpGraphics* graphics, int x, int y, int width, int height, CombineMode mode);
Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
Status GdipResetClip(GpGraphics* graphics);
Status GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy);
Status GdipTranslateClipI(GpGraphics* graphics, int dx, int dy);
Status GdipGetClip(GpGraphics* graphics, GpRegion* region);
Status GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect);
Status GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect);
Status GdipIsClipEmpty(GpGraphics* graphics, BOOL* result);
Status GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result);
Status GdipIsVisiblePointI(GpGraphics* graphics, int x, int y, BOOL* result);

// Drawing.
Status GdipGraphicsClear(GpGraphics* graphics, ARGB color);
Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2);
Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count);
Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count);
Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle);
Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count);
Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height);
Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, int count);
Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height);
Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle);
Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count);
Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count);
Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count);
Status GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count);
Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count, REAL tension);
Status GdipDrawCurve2I(GpGraphics* graphics, GpPen* pen, const GpPoint* points, int count, REAL tension);
Status GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count);
Status GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, int count, REAL tension);
Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);

Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height);
Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, int count);
Status GdipFillRectanglesI(GpGraphics* graphics, GpBrush* brush, const GpRect* rects, int count);
Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height);
Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle);
Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count, GpFillMode fillMode);
Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, int count, GpFillMode fillMode);
Status GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count);
Status GdipFillPolygon2I(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, int count);
Status GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count);
Status GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, int count, REAL tension, GpFillMode fillMode);
Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region);

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, int x, int y);
Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, int x, int y, int width, int height);
Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth, REAL dstheight,
                             REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                             const GpImageAttributes* attributes, DrawImageAbort callback, void* callbackData);
Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, int dstx, int dsty, int dstwidth, int dstheight,
                              int srcx, int srcy, int srcwidth, int srcheight, GpUnit srcUnit,
                              const GpImageAttributes* attributes, DrawImageAbort callback, void* callbackData);

// Text: `length` is in UTF-16 units, -1 for a zero-terminated string; a terminating zero
// inside the length ends the text. A null format means the default format; a null font
// or brush answers InvalidParameter, as in GDI+. Text is drawn without the half-pixel
// shift of shapes, and clipped to the layout rectangle unless the format says NoClip.
Status GdipDrawString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* format, const GpBrush* brush);
Status GdipMeasureString(GpGraphics* graphics, const char16_t* text, int length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* format, GpRectF* boundingBox,
                         int* codepointsFitted, int* linesFilled);

// ---- matrices --------------------------------------------------------------------------------
Status GdipCreateMatrix(GpMatrix** matrix);
Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
Status GdipDeleteMatrix(GpMatrix* matrix);
Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements /* 6 */);
Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* other, MatrixOrder order);
Status GdipTranslateMatrix(GpMatrix* matrix, REAL dx, REAL dy, MatrixOrder order);
Status GdipScaleMatrix(GpMatrix* matrix, REAL sx, REAL sy, MatrixOrder order);
Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
Status GdipInvertMatrix(GpMatrix* matrix);
Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, int count);

// ---- pens ---------------------------------------------------------------------------------------
Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
Status GdipClonePen(GpPen* pen, GpPen** clone);
Status GdipDeletePen(GpPen* pen);
Status GdipSetPenWidth(GpPen* pen, REAL width);
Status GdipGetPenWidth(GpPen* pen, REAL* width);
Status GdipSetPenColor(GpPen* pen, ARGB color);
Status GdipGetPenColor(GpPen* pen, ARGB* color);
Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
Status GdipSetPenDashStyle(GpPen* pen, GpDashStyle style);
Status GdipGetPenDashStyle(GpPen* pen, GpDashStyle* style);
Status GdipSetPenDashArray(GpPen* pen, const REAL* dashes, int count);
Status GdipGetPenDashCount(GpPen* pen, int* count);
Status GdipGetPenDashArray(GpPen* pen, REAL* dashes, int count);
Status GdipSetPenDashOffset(GpPen* pen, REAL offset);
Status GdipGetPenDashOffset(GpPen* pen, REAL* offset);
Status GdipSetPenDashCap197819(GpPen* pen, GpDashCap cap);
Status GdipGetPenDashCap197819(GpPen* pen, GpDashCap* cap);
Status GdipSetPenStartCap(GpPen* pen, GpLineCap cap);
Status GdipGetPenStartCap(GpPen* pen, GpLineCap* cap);
Status GdipSetPenEndCap(GpPen* pen, GpLineCap cap);
Status GdipGetPenEndCap(GpPen* pen, GpLineCap* cap);
Status GdipSetPenLineCap197819(GpPen* pen, GpLineCap start, GpLineCap end, GpDashCap dash);
Status GdipSetPenLineJoin(GpPen* pen, GpLineJoin join);
Status GdipGetPenLineJoin(GpPen* pen, GpLineJoin* join);
Status GdipSetPenMiterLimit(GpPen* pen, REAL limit);
Status GdipGetPenMiterLimit(GpPen* pen, REAL* limit);
Status GdipSetPenMode(GpPen* pen, GpPenAlignment alignment);
Status GdipGetPenMode(GpPen* pen, GpPenAlignment* alignment);
Status GdipGetPenUnit(GpPen* pen, GpUnit* unit);

// ---- brushes -----------------------------------------------------------------------------------
Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
Status GdipCloneBrush(GpBrush* brush, GpBrush** clone);
Status GdipDeleteBrush(GpBrush* brush);
Status GdipGetBrushType(GpBrush* brush, int* type);  // 0 solid, 1 hatch, 2 texture, 3 path, 4 linear

Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2, GpWrapMode wrap,
                           GpLineGradient** brush);
Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2, GpWrapMode wrap,
                            GpLineGradient** brush);
Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   GpWrapMode wrap, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    GpWrapMode wrap, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                            BOOL isAngleScalable, GpWrapMode wrap, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, GpWrapMode wrap, GpLineGradient** brush);
Status GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2);
Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors /* 2 */);
Status GdipGetLineRect(GpLineGradient* brush, GpRectF* rect);
Status GdipGetLineRectI(GpLineGradient* brush, GpRect* rect);
Status GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrap);
Status GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrap);
Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGamma);
Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGamma);
Status GdipSetLineBlend(GpLineGradient* brush, const REAL* factors, const REAL* positions, int count);
Status GdipGetLineBlendCount(GpLineGradient* brush, int* count);
Status GdipGetLineBlend(GpLineGradient* brush, REAL* factors, REAL* positions, int count);
Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, int count);
Status GdipGetLinePresetBlendCount(GpLineGradient* brush, int* count);
Status GdipGetLinePresetBlend(GpLineGradient* brush, ARGB* colors, REAL* positions, int count);
Status GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale);
Status GdipSetLineSigmaBlend(GpLineGradient* brush, REAL focus, REAL scale);

Status GdipCreatePathGradient(const GpPointF* points, int count, GpWrapMode wrap, GpPathGradient** brush);
Status GdipCreatePathGradientI(const GpPoint* points, int count, GpWrapMode wrap, GpPathGradient** brush);
Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush);
Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color);
Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color);
Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point);
Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);
Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point);
Status GdipGetPathGradientPointCount(GpPathGradient* brush, int* count);
Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, int* count);
Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, int* count);
Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, int* count);
Status GdipGetPathGradientRect(GpPathGradient* brush, GpRectF* rect);
Status GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrap);
Status GdipGetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode* wrap);
Status GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale);
Status GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale);

// ---- paths -----------------------------------------------------------------------------------
Status GdipCreatePath(GpFillMode fillMode, GpPath** path);
Status GdipCreatePath2(const GpPointF* points, const std::uint8_t* types, int count, GpFillMode fillMode, GpPath** path);
Status GdipClonePath(GpPath* path, GpPath** clone);
Status GdipDeletePath(GpPath* path);
Status GdipResetPath(GpPath* path);
Status GdipGetPointCount(GpPath* path, int* count);
Status GdipGetPathPoints(GpPath* path, GpPointF* points, int count);
Status GdipGetPathTypes(GpPath* path, std::uint8_t* types, int count);
Status GdipGetPathLastPoint(GpPath* path, GpPointF* point);
Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode);
Status GdipSetPathFillMode(GpPath* path, GpFillMode fillMode);
Status GdipStartPathFigure(GpPath* path);
Status GdipClosePathFigure(GpPath* path);
Status GdipClosePathFigures(GpPath* path);
Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipAddPathLineI(GpPath* path, int x1, int y1, int x2, int y2);
Status GdipAddPathLine2(GpPath* path, const GpPointF* points, int count);
Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, int count);
Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathArcI(GpPath* path, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
Status GdipAddPathBezierI(GpPath* path, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, int count);
Status GdipAddPathBeziersI(GpPath* path, const GpPoint* points, int count);
Status GdipAddPathCurve(GpPath* path, const GpPointF* points, int count);
Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, int count);
Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, int count, REAL tension);
Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, int count, REAL tension);
Status GdipAddPathCurve3(GpPath* path, const GpPointF* points, int count, int offset, int numberOfSegments, REAL tension);
Status GdipAddPathCurve3I(GpPath* path, const GpPoint* points, int count, int offset, int numberOfSegments, REAL tension);
Status GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, int count);
Status GdipAddPathClosedCurveI(GpPath* path, const GpPoint* points, int count);
Status GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, int count, REAL tension);
Status GdipAddPathClosedCurve2I(GpPath* path, const GpPoint* points, int count, REAL tension);
Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathRectangleI(GpPath* path, int x, int y, int width, int height);
Status GdipAddPathRectangles(GpPath* path, const GpRectF* rects, int count);
Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathEllipseI(GpPath* path, int x, int y, int width, int height);
Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPieI(GpPath* path, int x, int y, int width, int height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, int count);
Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, int count);
Status GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect);
Status GdipTransformPath(GpPath* path, GpMatrix* matrix);
Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen);
Status GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen);
Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
Status GdipIsVisiblePathPointI(GpPath* path, int x, int y, GpGraphics* graphics, BOOL* result);
Status GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics, BOOL* result);

// ---- regions -----------------------------------------------------------------------------------
Status GdipCreateRegion(GpRegion** region);
Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region);
Status GdipCreateRegionPath(GpPath* path, GpRegion** region);
Status GdipCloneRegion(GpRegion* region, GpRegion** clone);
Status GdipDeleteRegion(GpRegion* region);
Status GdipSetInfinite(GpRegion* region);
Status GdipSetEmpty(GpRegion* region);
Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode);
Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode);
Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode);
Status GdipCombineRegionRegion(GpRegion* region, GpRegion* other, CombineMode mode);
Status GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy);
Status GdipTranslateRegionI(GpRegion* region, int dx, int dy);
Status GdipTransformRegion(GpRegion* region, GpMatrix* matrix);
Status GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect);
Status GdipGetRegionBoundsI(GpRegion* region, GpGraphics* graphics, GpRect* rect);
Status GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
Status GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
Status GdipIsVisibleRegionPointI(GpRegion* region, int x, int y, GpGraphics* graphics, BOOL* result);

// ---- fonts and string formats ------------------------------------------------------------------
// Family names are found through fontconfig and the face-name aliases of the text
// renderer; an unknown name answers FontFamilyNotFound. Font collections are not kept:
// a collection argument is ignored (installed fonts).
Status GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection* collection, GpFontFamily** family);
Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone);
Status GdipDeleteFontFamily(GpFontFamily* family);
Status GdipGetFamilyName(const GpFontFamily* family, char16_t* name /* 32 units */, std::uint16_t language);
Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family);
Status GdipGetGenericFontFamilySerif(GpFontFamily** family);
Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family);
Status GdipIsStyleAvailable(const GpFontFamily* family, int style, BOOL* available);
Status GdipCreateFont(const GpFontFamily* family, REAL emSize, int style, int unit, GpFont** font);
Status GdipCreateFontFromDC(HDC hdc, GpFont** font);
Status GdipCloneFont(GpFont* font, GpFont** clone);
Status GdipDeleteFont(GpFont* font);
Status GdipGetFamily(GpFont* font, GpFontFamily** family);
Status GdipGetFontStyle(GpFont* font, int* style);
Status GdipGetFontSize(GpFont* font, REAL* size);
Status GdipGetFontUnit(GpFont* font, GpUnit* unit);
// Line spacing of the font in pixels (the graphics is optional).
Status GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height);

Status GdipCreateStringFormat(int formatAttributes, std::uint16_t language, GpStringFormat** format);
Status GdipStringFormatGetGenericDefault(GpStringFormat** format);
Status GdipStringFormatGetGenericTypographic(GpStringFormat** format);
Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone);
Status GdipDeleteStringFormat(GpStringFormat* format);
Status GdipSetStringFormatFlags(GpStringFormat* format, int flags);
Status GdipGetStringFormatFlags(const GpStringFormat* format, int* flags);
Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming);
Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, int hotkeyPrefix);
Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, int* hotkeyPrefix);

// ---- images ------------------------------------------------------------------------------------
// Decoders: PNG, JPEG, GIF (all frames), BMP, ICO. File names are UTF-16.
Status GdipLoadImageFromFile(const char16_t* filename, GpImage** image);
Status GdipLoadImageFromFileICM(const char16_t* filename, GpImage** image);
Status GdipCreateBitmapFromFile(const char16_t* filename, GpBitmap** bitmap);
Status GdipCreateBitmapFromFileICM(const char16_t* filename, GpBitmap** bitmap);
// An image from encoded file bytes in memory (the bytes are copied).
Status GdipLoadImageFromMemory(const void* data, std::size_t size, GpImage** image);
// Streams (platform/win/ComStream.h): the stream holds one encoded image from its start;
// it is read whole (from where it stands when it cannot seek) and not kept.
Status GdipLoadImageFromStream(IStream* stream, GpImage** image);
Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromScan0(int width, int height, int stride, PixelFormat format, std::uint8_t* scan0,
                                 GpBitmap** bitmap);
Status GdipCloneImage(GpImage* image, GpImage** clone);
Status GdipDisposeImage(GpImage* image);
Status GdipSaveImageToFile(GpImage* image, const char16_t* filename, const CLSID* encoder,
                           const EncoderParameters* params);
// Writes the encoded image at the stream's position (which ends after it).
Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* encoder, const EncoderParameters* params);
Status GdipGetImageWidth(GpImage* image, unsigned* width);
Status GdipGetImageHeight(GpImage* image, unsigned* height);
Status GdipGetImageDimension(GpImage* image, REAL* width, REAL* height);
Status GdipGetImageBounds(GpImage* image, GpRectF* rect, GpUnit* unit);
Status GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution);
Status GdipGetImageVerticalResolution(GpImage* image, REAL* resolution);
Status GdipBitmapSetResolution(GpBitmap* bitmap, REAL xdpi, REAL ydpi);
Status GdipGetImageRawFormat(GpImage* image, GUID* format);
Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
Status GdipGetImageType(GpImage* image, ImageType* type);
Status GdipImageRotateFlip(GpImage* image, RotateFlipType type);
Status GdipImageGetFrameDimensionsCount(GpImage* image, unsigned* count);
Status GdipImageGetFrameDimensionsList(GpImage* image, GUID* dimensions, unsigned count);
Status GdipImageGetFrameCount(GpImage* image, const GUID* dimension, unsigned* count);
Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimension, unsigned index);
Status GdipBitmapGetPixel(GpBitmap* bitmap, int x, int y, ARGB* color);
Status GdipBitmapSetPixel(GpBitmap* bitmap, int x, int y, ARGB color);
Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, unsigned flags, PixelFormat format,
                          BitmapData* lockedData);
Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedData);

Status GdipCreateImageAttributes(GpImageAttributes** attributes);
Status GdipCloneImageAttributes(const GpImageAttributes* attributes, GpImageAttributes** clone);
Status GdipDisposeImageAttributes(GpImageAttributes* attributes);
Status GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, BOOL enableFlag,
                                       ARGB colorLow, ARGB colorHigh);
