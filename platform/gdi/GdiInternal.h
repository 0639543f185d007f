#pragma once
// Internal state of the GDI layer: the handle table, object records, device context
// state, and the pixel-level helpers the drawing units share. Not for use outside
// platform/gdi.
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/FontMap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiTypes.h"

namespace gdi {

// ---- objects ------------------------------------------------------------------------
enum class Kind : std::uint8_t { Pen = 1, Brush, Font, Bitmap, Region, Palette, DC };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Kind kind;
  bool stock = false;
};

struct Bitmap;

struct Pen : Object {
  Pen() : Object(Kind::Pen) {}
  UINT style = PS_SOLID;  // full style incl. end cap, join and type bits
  int width = 1;
  COLORREF color = 0;
  bool ext = false;
  bool dcPen = false;  // DC_PEN stock pen: colour comes from the DC
  std::vector<DWORD> userStyle;
  UINT basicStyle() const { return style & PS_STYLE_MASK; }
};

struct Brush : Object {
  Brush() : Object(Kind::Brush) {}
  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  bool dcBrush = false;
  int sysColorIndex = -1;  // system colour brush: colour follows the scheme
  // BS_PATTERN: pattern pixels (BGRA words), monochrome patterns take text/bk colours.
  int patWidth = 0, patHeight = 0;
  bool patMono = false;
  std::vector<std::uint32_t> pattern;
};

struct Font : Object {
  Font() : Object(Kind::Font) {}
  LOGFONT lf;
  // Resolved at the first use in a device context without scaling (fonts never change).
  mutable const ResolvedFont* resolved = nullptr;
};

struct Bitmap : Object {
  Bitmap() : Object(Kind::Bitmap) {}
  ~Bitmap() override;
  int width = 0, height = 0;
  int bpp = 32;      // 1 for monochrome DDBs; DIB sections: their format
  bool mono = false;  // pixels are only black and white; blits convert with text/bk colours
  cairo_surface_t* surface = nullptr;  // ARGB32, always present (at least 1x1)
  bool dib = false;
  // DIB section storage (caller-visible bits).
  std::vector<std::uint8_t> dibStorage;  // owned rows (for all DIB sections)
  void* dibBits = nullptr;
  int dibStride = 0;  // bytes per row in the caller's format
  bool topDown = false;
  std::vector<RGBQUAD> colorTable;  // for <= 8 bits
  DWORD masks[3] = {0, 0, 0};       // BI_BITFIELDS for 16/32 bits
  DWORD compression = BI_RGB;
  void* selectedInto = nullptr;  // the DC that has it selected
  SIZE dimension{0, 0};

  bool sharesBits() const { return dib && bpp == 32 && compression == BI_RGB; }
  std::uint32_t* pixels() const { return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)); }
  int stridePixels() const { return cairo_image_surface_get_stride(surface) / 4; }
  // Converts the caller-visible DIB rows into the surface (before GDI reads or draws) and
  // back (after GDI wrote). No-ops for 32-bit sections and plain bitmaps.
  void syncIn();
  void syncOut();
};

struct Region : Object {
  Region() : Object(Kind::Region), rgn(cairo_region_create()) {}
  explicit Region(cairo_region_t* r) : Object(Kind::Region), rgn(r) {}
  ~Region() override { cairo_region_destroy(rgn); }
  cairo_region_t* rgn;
};

struct Palette : Object {
  Palette() : Object(Kind::Palette) {}
  std::vector<PALETTEENTRY> entries;
};

// ---- device contexts ----------------------------------------------------------------
struct DCState {
  std::shared_ptr<Pen> pen;
  HPEN hPen = nullptr;
  std::shared_ptr<Brush> brush;
  HBRUSH hBrush = nullptr;
  std::shared_ptr<Font> font;
  HFONT hFont = nullptr;
  std::shared_ptr<Bitmap> bitmap;  // memory DCs
  HBITMAP hBitmap = nullptr;
  HPALETTE hPalette = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int mapMode = MM_TEXT;
  POINT windowOrg{0, 0}, viewportOrg{0, 0};
  SIZE windowExt{1, 1}, viewportExt{1, 1};
  POINT curPos{0, 0};
  POINT brushOrg{0, 0};
  UINT textAlign = TA_LEFT | TA_TOP;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  int arcDirection = AD_COUNTERCLOCKWISE;
  int charExtra = 0;
  COLORREF dcBrushColor = RGB(255, 255, 255);
  COLORREF dcPenColor = 0;
  std::shared_ptr<Region> clip;  // application clip, device coordinates; null = none
};

struct DC : Object {
  DC() : Object(Kind::DC) {}
  ~DC() override;
  bool memory = false;
  cairo_surface_t* surface = nullptr;  // surface DCs (referenced)
  POINT origin{0, 0};
  cairo_region_t* baseClip = nullptr;  // surface DCs: device coordinates; null = whole surface
  int dpiX = 96, dpiY = 96;
  // Page DCs of a printer: text goes as glyphs to this cairo context (device pixels
  // scaled by textSinkScale) instead of into the pixels, so documents keep real text.
  cairo_t* textSink = nullptr;
  double textSinkScale = 1.0;
  DCState s;
  std::vector<DCState> saved;
  // Effective clip cache (device coordinates, already limited to the target bounds).
  cairo_region_t* effective = nullptr;
  void invalidateClip();
};

// ---- handle table ---------------------------------------------------------------------
std::uintptr_t Register(std::shared_ptr<Object> obj);
std::shared_ptr<Object> Lookup(const void* handle);
// The live object a handle names, without taking a reference; null when there is none.
Object* Peek(const void* handle);
bool Unregister(const void* handle);
template <class T>
std::shared_ptr<T> LookupAs(const void* handle, Kind kind) {
  std::shared_ptr<Object> obj = Lookup(handle);
  if (!obj || obj->kind != kind) return nullptr;
  return std::static_pointer_cast<T>(std::move(obj));
}
template <class H>
H ToHandle(std::uintptr_t id) {
  return reinterpret_cast<H>(id);
}
DC* GetDC(HDC dc);  // null when invalid
std::shared_ptr<Region> GetRegion(HRGN rgn);
std::shared_ptr<Bitmap> GetBitmap(HBITMAP bmp);

// ---- targets ------------------------------------------------------------------------
// Pixel access to what a DC draws into, in device coordinates. Construction flushes cairo
// (and converts DIB rows in); destruction marks the surface dirty (and converts back).
class Target {
public:
  explicit Target(DC* dc, bool write = true);
  ~Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  bool valid() const { return data_ != nullptr; }
  std::uint32_t* row(int deviceY) const { return data_ + std::ptrdiff_t(deviceY + oy_) * stride_ + ox_; }
  int stride() const { return stride_; }  // in pixels
  // Device-space bounds of the surface.
  RECT bounds() const { return bounds_; }
  const cairo_region_t* clip() const { return clip_; }  // effective clip (device coords)
  bool mono() const { return mono_; }
  cairo_surface_t* surface() const { return surface_; }
  POINT origin() const { return POINT{ox_, oy_}; }

private:
  DC* dc_;
  cairo_surface_t* surface_ = nullptr;
  std::shared_ptr<Bitmap> bitmap_;
  std::uint32_t* data_ = nullptr;
  int stride_ = 0;
  int ox_ = 0, oy_ = 0;
  RECT bounds_{};
  const cairo_region_t* clip_ = nullptr;
  bool write_;
  bool mono_ = false;
};

// The effective clip of a DC in device coordinates (cached; owned by the DC).
const cairo_region_t* EffectiveClip(DC* dc);
RECT TargetBounds(DC* dc);  // device rectangle of the drawable area

// ---- coordinate mapping -------------------------------------------------------------------
inline LONG SatAdd(LONG a, LONG b) {
  std::int64_t r = std::int64_t(a) + b;
  return LONG(r > INT32_MAX ? INT32_MAX : r < INT32_MIN ? INT32_MIN : r);
}
POINT LogicalToDevice(const DC* dc, POINT p);
POINT DeviceToLogical(const DC* dc, POINT p);
RECT LogicalRectToDevice(const DC* dc, const RECT& r);  // normalised
int LogicalToDeviceLengthX(const DC* dc, int len);
int LogicalToDeviceLengthY(const DC* dc, int len);
bool IsIdentityScale(const DC* dc);

// ---- spans and painting -----------------------------------------------------------------
struct Span {
  int y, x0, x1;  // device coordinates, x1 exclusive
};
using Spans = std::vector<Span>;

// How pixels are painted: a colour or a brush pattern, through a binary ROP.
struct Paint {
  enum Type { Solid, Pattern, None } type = None;
  std::uint32_t color = 0;  // 0xAARRGGBB opaque
  const Brush* brush = nullptr;
  std::uint32_t fg = 0, bg = 0;  // hatch/mono pattern colours
  bool opaqueBk = true;          // hatch background painted
  POINT brushOrg{0, 0};          // device coordinates
  int rop2 = R2_COPYPEN;
};

std::uint32_t ToPixel(COLORREF c);   // opaque BGRA word
COLORREF FromPixel(std::uint32_t p);
COLORREF ResolveColor(COLORREF c);  // system colour indexes (0x80000000 | index) resolved
std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst);
std::uint32_t ApplyRop3(DWORD rop, std::uint32_t pat, std::uint32_t src, std::uint32_t dst);

Paint BrushPaint(DC* dc, const Brush* brush);  // Paint::None for a null brush
Paint PenPaint(DC* dc);
COLORREF PenColor(DC* dc);
// Paints spans through the DC's clip.
// The colour a paint gives at device pixel (x, y) (pattern brushes tile from the brush
// origin; hatch gaps take the background colour).
std::uint32_t PaintColorAt(const Paint& paint, int x, int y);
void FillSpans(DC* dc, Target& t, const Spans& spans, const Paint& paint);
void FillDeviceRect(DC* dc, Target& t, RECT r, const Paint& paint);
void PaintDeviceRect(DC* dc, RECT r, const Paint& paint);  // opens its own Target

// ---- rasterising --------------------------------------------------------------------------
// Membership-based shapes in device coordinates.
// `limit` bounds the work: only pixels inside it are produced (callers pass the drawable
// area grown by a margin, so a huge shape costs no more than the visible part).
constexpr RECT kRasterNoLimit{-(1 << 20), -(1 << 20), 1 << 20, 1 << 20};
RECT RasterLimit(DC* dc, int margin);
void EllipseSpans(RECT box, Spans& out, const RECT& limit = kRasterNoLimit);  // pixel centres inside the inscribed ellipse
void RoundRectSpans(RECT box, int ew, int eh, Spans& out, const RECT& limit = kRasterNoLimit);
void PolygonSpans(const std::vector<POINT>& pts, const std::vector<int>& counts, int fillMode, Spans& out,
                  const RECT& limit = kRasterNoLimit);
// The pixels of a one-pixel line in travel order with their step index from `a`
// (Bresenham's choice, ties rounding towards `a`); the end point only with includeEnd.
void LinePixels(POINT a, POINT b, bool includeEnd, const RECT& limit, std::vector<std::pair<int, POINT>>& out);
void LineSpans(POINT a, POINT b, bool includeEnd, Spans& out, const RECT& limit = kRasterNoLimit);
// Outline (pixels of `shape` with a 4-neighbour outside it) and interior split of a filled span set.
void SplitOutline(const Spans& shape, int width, Spans& outline, Spans& interior);
void NormalizeSpans(Spans& spans);  // sort by (y, x0) and merge overlaps
cairo_region_t* SpansToRegion(const Spans& spans);
void RegionToSpans(const cairo_region_t* rgn, Spans& out);

// Draws a (poly)line path with the DC's pen; points in device coordinates; `closed` joins
// the last point to the first; the last point of an open path is left out for thin pens.
void StrokePath(DC* dc, Target& t, const std::vector<POINT>& pts, bool closed);
// Thick outline of a shape given as a cairo path builder in device space (wide pens).
void StrokeCairo(DC* dc, Target& t, void (*build)(cairo_t*, const void*), const void* data, int width,
                 Spans& out);

// Decodes DIB rows (any supported format) into top-down 32-bit pixels; false for bad input.
bool DecodeDib(const BITMAPINFO* info, const void* bits, std::vector<std::uint32_t>& out, int& width, int& height);

// ---- text helpers ---------------------------------------------------------------------------
FontRequest DCFontSpec(DC* dc);  // selected font with its height mapped to device pixels
const ResolvedFont& DCResolvedFont(DC* dc);  // the same, resolved (once per font object)

// Clipping for cairo drawing (text): sets the cairo clip to the DC's effective clip.
void ClipCairo(cairo_t* cr, const Target& t);

// Raw drawing of a frame with solid colours used by edges and theme painting.
void FillSolid(HDC dc, const RECT& r, COLORREF c);

}  // namespace gdi
