#pragma once
// The objects behind the flat GDI+ handles, shared by the sources of this folder only.
#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlusTypes.h"

// ---- start-up ---------------------------------------------------------------------------
bool GdipIsStarted();

// ---- matrices -------------------------------------------------------------------------
// GDI+ elements m11 m12 m21 m22 dx dy are cairo's xx yx xy yy x0 y0.
struct GpMatrix {
  cairo_matrix_t m;
};

// ---- paths ------------------------------------------------------------------------------
struct GpPath {
  std::vector<GpPointF> points;
  std::vector<std::uint8_t> types;
  GpFillMode fillMode = FillModeAlternate;
  bool startNewFigure = true;  // the next segment starts a figure

  // Appends a segment start: a new figure starts at p, or the open figure is joined by a
  // line to p (when p is not the current last point).
  void BeginSegment(GpPointF p);
  void AddLineTo(GpPointF p);
  void AddBezierTo(GpPointF c1, GpPointF c2, GpPointF p);
  void CloseFigure();
  // Replays the path into cairo's current path (the caller sets the fill rule).
  void Emit(cairo_t* cr) const;
  // Flattened figures: polygons plus the path point index each vertex stands at
  // (fractional inside a Bézier), for path gradients.
  struct FlatFigure {
    std::vector<GpPointF> pts;
    std::vector<double> index;
    bool closed = false;
  };
  std::vector<FlatFigure> Flatten(double tolerance) const;
};

// Appends an arc of the ellipse in (x, y, w, h) from startAngle sweeping sweepAngle
// (degrees, clockwise on screen) as Béziers, joined to the open figure.
void PathAppendArc(GpPath& path, double x, double y, double w, double h, double startAngle,
                   double sweepAngle);
// Cardinal spline through pts (tension 0 gives straight lines) appended as Béziers.
void PathAppendCurve(GpPath& path, const GpPointF* pts, int count, int offset, int segments,
                     double tension, bool closed);
// Bounds of the path's points, control points included.
GpRectF PathPointBounds(const GpPath& path);

// ---- regions ----------------------------------------------------------------------------
struct GpRegionNode {
  enum Kind { Empty, Infinite, Rect, Path, Combine } kind = Infinite;
  GpRectF rect{};
  GpPath path;
  CombineMode op = CombineModeReplace;
  std::unique_ptr<GpRegionNode> a, b;

  std::unique_ptr<GpRegionNode> Clone() const;
};

struct GpRegion {
  std::unique_ptr<GpRegionNode> root;
  GpRegion();
  GpRegion(const GpRegion& other);
  void SetInfinite();
  void SetEmpty();
  void Combine(std::unique_ptr<GpRegionNode> node, CombineMode mode);
  bool Contains(double x, double y) const;
  bool IsEmptyShape() const;  // an empty leaf, without geometric evaluation
  bool IsInfinite() const;
  GpRectF Bounds() const;
  void Transform(const cairo_matrix_t& m);
  void Translate(double dx, double dy);
  // True when the region is an intersection of rectangles and paths only (cairo can clip
  // with it directly).
  bool IsSimple() const;
  // Intersects cairo's clip with a simple region (current matrix is device space).
  void ClipSimple(cairo_t* cr) const;
  // Paints the region's coverage into an A8 surface covering the device rectangle.
  cairo_surface_t* RenderMask(int x, int y, int w, int h) const;
};

std::unique_ptr<GpRegionNode> RegionRectNode(const GpRectF& r);
std::unique_ptr<GpRegionNode> RegionPathNode(const GpPath& p);

// ---- pens and brushes ---------------------------------------------------------------------
enum GpBrushType : int {
  BrushTypeSolidColor = 0,
  BrushTypeHatchFill = 1,
  BrushTypeTextureFill = 2,
  BrushTypePathGradient = 3,
  BrushTypeLinearGradient = 4,
};
using BrushType = GpBrushType;

struct GpBrush {
  GpBrushType type = BrushTypeSolidColor;
  ARGB color = 0xFF000000;  // solid

  // Linear gradient.
  GpPointF lineStart{}, lineEnd{};  // for gradients from points
  GpRectF lineRect{};               // the brush rectangle
  ARGB lineColors[2] = {0, 0};
  cairo_matrix_t lineMap{};         // user space -> (t, s): t runs 0..1 along the gradient
  GpWrapMode wrap = WrapModeTile;
  std::vector<float> blendFactors, blendPositions;  // empty: straight blend
  std::vector<ARGB> presetColors;
  std::vector<float> presetPositions;
  bool gamma = false;

  // Path gradient.
  GpPath boundary;
  ARGB centerColor = 0xFFFFFFFF;
  GpPointF centerPoint{};
  std::vector<ARGB> surround{0xFFFFFFFF};
  float focusX = 0, focusY = 0;
  GpWrapMode pathWrap = WrapModeClamp;

  GpBrush();
  // A cairo source for this brush in the current user space of cr.
  cairo_pattern_t* CreatePattern() const;
};

struct GpPen {
  ARGB color = 0xFF000000;
  REAL width = 1;
  GpUnit unit = UnitWorld;
  GpDashStyle dashStyle = DashStyleSolid;
  std::vector<REAL> dashArray;  // custom pattern in widths
  REAL dashOffset = 0;
  GpDashCap dashCap = DashCapFlat;
  GpLineCap startCap = LineCapFlat, endCap = LineCapFlat;
  GpLineJoin lineJoin = LineJoinMiter;
  REAL miterLimit = 10;
  GpPenAlignment alignment = PenAlignmentCenter;
  std::unique_ptr<GpBrush> brush;  // null: solid colour

  GpPen() = default;
  GpPen(const GpPen& other);
  // Sets cr's line width, caps, join, dashes and source for this pen. True for a dashed
  // pen at most one device pixel wide, which is drawn unsmoothed, a segment at a time.
  bool Apply(cairo_t* cr) const;
};

// ---- images ---------------------------------------------------------------------------------
struct GpImage {
  // The frames as premultiplied ARGB32 cairo surfaces (one for still pictures).
  std::vector<cairo_surface_t*> frames;
  std::vector<int> delays;  // GIF delays in milliseconds
  int activeFrame = 0;
  PixelFormat format = PixelFormat32bppARGB;
  GUID rawFormat = ImageFormatMemoryBMP;
  REAL dpiX = 96, dpiY = 96;
  bool locked = false;
  int graphicsCount = 0;  // graphics drawing on the image
  // Lock state.
  std::vector<std::uint8_t> lockBuffer;
  GpRect lockRect{};
  int lockMode = 0;
  PixelFormat lockFormat = 0;

  GpImage() = default;
  GpImage(const GpImage&) = delete;
  ~GpImage();
  cairo_surface_t* Surface() const { return frames.empty() ? nullptr : frames[activeFrame]; }
  int Width() const;
  int Height() const;
};

struct GpImageAttributes {
  struct Key {
    bool enabled = false;
    ARGB low = 0, high = 0;
  };
  Key keys[ColorAdjustTypeCount];
  // The colour key that applies to bitmaps: the bitmap's own setting, else the default.
  const Key* BitmapKey() const;
};

// ---- text ------------------------------------------------------------------------------------
struct GpFontFamily {
  std::string name;  // as asked for (UTF-8); fontconfig aliases resolve it when drawing
};

struct GpFont {
  std::string family;
  REAL emSize = 0;  // in `unit`
  int style = FontStyleRegular;
  GpUnit unit = UnitPoint;
  REAL PixelSize() const;
};

struct GpFontCollection {};

struct GpStringFormat {
  int flags = 0;
  int language = 0;
  StringAlignment align = StringAlignmentNear;
  StringAlignment lineAlign = StringAlignmentNear;
  StringTrimming trimming = StringTrimmingCharacter;
  HotkeyPrefix hotkey = HotkeyPrefixNone;
  bool typographic = false;  // no padding around the text
};

// ---- graphics --------------------------------------------------------------------------------
struct GpGraphics {
  cairo_t* cr = nullptr;        // own reference
  cairo_matrix_t base{};        // device space of the target (origin of the DC)
  HDC hdc = nullptr;        // the device context drawn on
  HDC ownDC = nullptr;      // a DC made for GdipGetDC on an image or cairo target
  GpImage* image = nullptr;
  int width = 0, height = 0;    // target size, for masks; 0 = unknown (use clip extents)

  SmoothingMode smoothing = SmoothingModeNone;
  TextRenderingHint textHint = TextRenderingHintSystemDefault;
  CompositingMode compositingMode = CompositingModeSourceOver;
  CompositingQuality compositingQuality = CompositingQualityDefault;
  PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
  InterpolationMode interpolation = InterpolationModeBilinear;
  GpUnit pageUnit = UnitDisplay;
  REAL pageScale = 1;
  cairo_matrix_t world;
  std::unique_ptr<GpRegion> clip;  // device space; null = infinite
  bool busy = false;               // between GdipGetDC and GdipReleaseDC
  int textContrast = 4;

  struct Saved {
    GraphicsState id;
    SmoothingMode smoothing;
    TextRenderingHint textHint;
    CompositingMode compositingMode;
    CompositingQuality compositingQuality;
    PixelOffsetMode pixelOffset;
    InterpolationMode interpolation;
    cairo_matrix_t world;
    std::unique_ptr<GpRegion> clip;
  };
  std::vector<Saved> saved;
  GraphicsState nextState = 1;

  GpGraphics();
  ~GpGraphics();
  // Device space plus the half-pixel shift that puts GDI+ pixel centres on integers.
  cairo_matrix_t ShapeMatrix() const;
  bool Antialias() const {
    return smoothing == SmoothingModeAntiAlias || smoothing == SmoothingModeAntiAlias8x8 ||
           smoothing == SmoothingModeHighQuality;
  }
};

// Runs draw with cr prepared for drawing (clip, operator, antialias, matrix = shape matrix
// or, with imageSpace, the world matrix without the half-pixel shift).
template <class F> Status GraphicsDraw(GpGraphics* g, bool imageSpace, F&& draw);
Status GraphicsBegin(GpGraphics* g, bool imageSpace, bool& masked, cairo_surface_t*& mask,
                     int& maskX, int& maskY);
void GraphicsEnd(GpGraphics* g, bool masked, cairo_surface_t* mask, int maskX, int maskY);

template <class F> Status GraphicsDraw(GpGraphics* g, bool imageSpace, F&& draw) {
  bool masked = false;
  cairo_surface_t* mask = nullptr;
  int mx = 0, my = 0;
  Status s = GraphicsBegin(g, imageSpace, masked, mask, mx, my);
  if (s != Ok) return s == Aborted ? Ok : s;  // Aborted here: nothing visible to draw
  s = draw(g->cr);
  GraphicsEnd(g, masked, mask, mx, my);
  return s;
}

// ---- helpers --------------------------------------------------------------------------------
inline void SetSourceArgb(cairo_t* cr, ARGB c) {
  cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                        ((c >> 24) & 0xFF) / 255.0);
}
inline void AddStopArgb(cairo_pattern_t* p, double offset, ARGB c) {
  cairo_pattern_add_color_stop_rgba(p, offset, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                    (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}
ARGB LerpArgb(ARGB a, ARGB b, double t);
bool ValidFloat(double v);
// Pixels per unit at 96 DPI (world, display and pixel units are pixels).
inline double UnitToPixels(GpUnit u) {
  switch (u) {
    case UnitPoint: return 96.0 / 72.0;
    case UnitInch: return 96.0;
    case UnitDocument: return 96.0 / 300.0;
    case UnitMillimeter: return 96.0 / 25.4;
    default: return 1.0;
  }
}
std::string Utf16ToUtf8(const char16_t* text, int length);
cairo_surface_t* NewImageSurface(int w, int h);  // cleared ARGB32, null on failure
