#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Regions.h"

using namespace gdi;

namespace gdi {
void InitDCState(DC* dc);  // GdiObjects.cpp
}

namespace {
cairo_region_t* CopyRegionOrNull(HRGN clip) {
  auto r = GetRegion(clip);
  return r ? cairo_region_copy(r->rgn) : nullptr;
}

void SetClip(DC* dc, cairo_region_t* rgn) {  // takes ownership; null removes
  if (rgn) dc->s.clip = std::make_shared<Region>(rgn);
  else dc->s.clip.reset();
  dc->invalidateClip();
}

// The region currently limiting drawing from the application's side, or the whole target.
cairo_region_t* CurrentClipOrBounds(DC* dc) {
  if (dc->s.clip) return cairo_region_copy(dc->s.clip->rgn);
  RECT b = TargetBounds(dc);
  cairo_rectangle_int_t r{b.left, b.top, b.right - b.left, b.bottom - b.top};
  return cairo_region_create_rectangle(&r);
}

int RegionKind(const cairo_region_t* r) {
  int n = cairo_region_num_rectangles(r);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, HRGN clip) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
  auto dc = std::make_shared<DC>();
  dc->surface = cairo_surface_reference(surface);
  dc->origin = origin;
  dc->baseClip = CopyRegionOrNull(clip);
  InitDCState(dc.get());
  return ToHandle<HDC>(Register(dc));
}

BOOL ResetSurfaceDC(HDC hdc, cairo_surface_t* surface, POINT origin, HRGN clip) {
  DC* dc = GetDC(hdc);
  if (!dc || dc->memory || !surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return FALSE;
  cairo_surface_reference(surface);
  if (dc->surface) cairo_surface_destroy(dc->surface);
  dc->surface = surface;
  dc->origin = origin;
  if (dc->baseClip) cairo_region_destroy(dc->baseClip);
  dc->baseClip = CopyRegionOrNull(clip);
  dc->invalidateClip();
  return TRUE;
}

BOOL SetDCTextSink(HDC hdc, cairo_t* cr, double scale) {
  DC* dc = GetDC(hdc);
  if (!dc || dc->memory || scale <= 0) return FALSE;
  if (cr) cairo_reference(cr);
  if (dc->textSink) cairo_destroy(dc->textSink);
  dc->textSink = cr;
  dc->textSinkScale = scale;
  return TRUE;
}

BOOL DeleteSurfaceDC(HDC hdc) {
  DC* dc = GetDC(hdc);
  if (!dc || dc->memory) return FALSE;
  return Unregister(hdc) ? TRUE : FALSE;
}

BOOL GetDCDrawingTarget(HDC hdc, DCDrawingTarget* target) {
  DC* dc = GetDC(hdc);
  if (!dc || !target) return FALSE;
  target->surface = dc->memory ? (dc->s.bitmap ? dc->s.bitmap->surface : nullptr) : dc->surface;
  if (dc->memory && dc->s.bitmap) dc->s.bitmap->syncIn();
  target->surfaceOrigin = dc->memory ? POINT{0, 0} : dc->origin;
  target->windowOrg = dc->s.windowOrg;
  target->viewportOrg = dc->s.viewportOrg;
  target->windowExt = dc->s.windowExt;
  target->viewportExt = dc->s.viewportExt;
  target->clip = ToHandle<HRGN>(Register(std::make_shared<Region>(cairo_region_copy(EffectiveClip(dc)))));
  return target->surface ? TRUE : FALSE;
}

void GdiSurfaceChanged(HDC hdc) {
  DC* dc = GetDC(hdc);
  if (dc && dc->memory && dc->s.bitmap) dc->s.bitmap->syncOut();
}

HDC CreateCompatibleDC(HDC) {
  auto dc = std::make_shared<DC>();
  dc->memory = true;
  InitDCState(dc.get());
  return ToHandle<HDC>(Register(dc));
}

BOOL DeleteDC(HDC hdc) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  return Unregister(hdc) ? TRUE : FALSE;
}

int SaveDC(HDC hdc) {
  DC* dc = GetDC(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->s);
  return int(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  int n = int(dc->saved.size());
  int level = savedDC < 0 ? n + 1 + savedDC : savedDC;
  if (level < 1 || level > n) return FALSE;
  DCState restored = dc->saved[std::size_t(level - 1)];
  dc->saved.resize(std::size_t(level - 1));
  if (dc->memory && restored.bitmap != dc->s.bitmap) {
    if (restored.bitmap && restored.bitmap->selectedInto && restored.bitmap->selectedInto != dc) {
      // The saved bitmap went to another DC meanwhile; keep the current one.
      restored.bitmap = dc->s.bitmap;
      restored.hBitmap = dc->s.hBitmap;
    } else {
      if (dc->s.bitmap && dc->s.bitmap->selectedInto == dc) dc->s.bitmap->selectedInto = nullptr;
      if (restored.bitmap && !restored.bitmap->stock) restored.bitmap->selectedInto = dc;
    }
  }
  dc->s = std::move(restored);
  dc->invalidateClip();
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  DC* dc = GetDC(hdc);
  if (!dc) return 0;
  RECT b = TargetBounds(dc);
  int w = b.right - b.left, h = b.bottom - b.top;
  switch (index) {
    case TECHNOLOGY: return dc->dpiX == 96 ? DT_RASDISPLAY : DT_RASPRINTER;
    case HORZRES: return w;
    case VERTRES: return h;
    case HORZSIZE: return int(std::lround(w * 25.4 / dc->dpiX));
    case VERTSIZE: return int(std::lround(h * 25.4 / dc->dpiY));
    case BITSPIXEL: return dc->memory && dc->s.bitmap && dc->s.bitmap->mono ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0x0001 | 0x0008 | 0x0800 | 0x0200;  // BITBLT, BITMAP64, STRETCHBLT, DI_BITMAP
    case LOGPIXELSX: return dc->dpiX;
    case LOGPIXELSY: return dc->dpiY;
    case PHYSICALWIDTH: return w;
    case PHYSICALHEIGHT: return h;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    default: return 0;
  }
}

BOOL SetDCResolution(HDC hdc, int dpiX, int dpiY) {
  DC* dc = GetDC(hdc);
  if (!dc || dpiX <= 0 || dpiY <= 0) return FALSE;
  dc->dpiX = dpiX;
  dc->dpiY = dpiY;
  if (dc->s.mapMode != MM_TEXT && dc->s.mapMode != MM_ISOTROPIC && dc->s.mapMode != MM_ANISOTROPIC)
    SetMapMode(hdc, dc->s.mapMode);
  return TRUE;
}

BOOL GdiFlush() { return TRUE; }

// ---- coordinates ---------------------------------------------------------------------------
int SetMapMode(HDC hdc, int mode) {
  DC* dc = GetDC(hdc);
  if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  int old = dc->s.mapMode;
  DCState& s = dc->s;
  s.mapMode = mode;
  auto metric = [&](int perInch) {  // logical units per inch; y grows upwards
    s.windowExt = SIZE{perInch, perInch};
    s.viewportExt = SIZE{dc->dpiX, -dc->dpiY};
  };
  switch (mode) {
    case MM_TEXT:
      s.windowExt = SIZE{1, 1};
      s.viewportExt = SIZE{1, 1};
      break;
    case MM_LOMETRIC: metric(254); break;
    case MM_HIMETRIC: metric(2540); break;
    case MM_LOENGLISH: metric(100); break;
    case MM_HIENGLISH: metric(1000); break;
    case MM_TWIPS: metric(1440); break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: break;  // the current extents stay until set
  }
  return old;
}

int GetMapMode(HDC hdc) {
  DC* dc = GetDC(hdc);
  return dc ? dc->s.mapMode : 0;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.windowOrg;
  dc->s.windowOrg = POINT{x, y};
  return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, POINT* pt) {
  DC* dc = GetDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->s.windowOrg;
  return TRUE;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.viewportOrg;
  dc->s.viewportOrg = POINT{x, y};
  return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, POINT* pt) {
  DC* dc = GetDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->s.viewportOrg;
  return TRUE;
}

BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.windowOrg;
  dc->s.windowOrg.x += dx;
  dc->s.windowOrg.y += dy;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.viewportOrg;
  dc->s.viewportOrg.x += dx;
  dc->s.viewportOrg.y += dy;
  return TRUE;
}

namespace {
void AdjustIsotropic(DC* dc) {
  DCState& s = dc->s;
  if (s.mapMode != MM_ISOTROPIC || s.windowExt.cx == 0 || s.windowExt.cy == 0) return;
  double sx = std::abs(double(s.viewportExt.cx) / s.windowExt.cx);
  double sy = std::abs(double(s.viewportExt.cy) / s.windowExt.cy);
  if (sx < sy) s.viewportExt.cy = LONG(std::lround(s.viewportExt.cy * sx / sy));
  else if (sy < sx) s.viewportExt.cx = LONG(std::lround(s.viewportExt.cx * sy / sx));
}
}  // namespace

BOOL SetWindowExtEx(HDC hdc, int x, int y, SIZE* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.windowExt;
  if (dc->s.mapMode != MM_ISOTROPIC && dc->s.mapMode != MM_ANISOTROPIC) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  dc->s.windowExt = SIZE{x, y};
  AdjustIsotropic(dc);
  return TRUE;
}

BOOL GetWindowExtEx(HDC hdc, SIZE* size) {
  DC* dc = GetDC(hdc);
  if (!dc || !size) return FALSE;
  *size = dc->s.windowExt;
  return TRUE;
}

BOOL SetViewportExtEx(HDC hdc, int x, int y, SIZE* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.viewportExt;
  if (dc->s.mapMode != MM_ISOTROPIC && dc->s.mapMode != MM_ANISOTROPIC) return TRUE;
  if (x == 0 || y == 0) return FALSE;
  dc->s.viewportExt = SIZE{x, y};
  AdjustIsotropic(dc);
  return TRUE;
}

BOOL GetViewportExtEx(HDC hdc, SIZE* size) {
  DC* dc = GetDC(hdc);
  if (!dc || !size) return FALSE;
  *size = dc->s.viewportExt;
  return TRUE;
}

BOOL LPtoDP(HDC hdc, POINT* points, int count) {
  DC* dc = GetDC(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = LogicalToDevice(dc, points[i]);
  return TRUE;
}

BOOL DPtoLP(HDC hdc, POINT* points, int count) {
  DC* dc = GetDC(hdc);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = DeviceToLogical(dc, points[i]);
  return TRUE;
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->s.brushOrg;
  dc->s.brushOrg = POINT{x, y};
  return TRUE;
}

BOOL GetBrushOrgEx(HDC hdc, POINT* pt) {
  DC* dc = GetDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->s.brushOrg;
  return TRUE;
}

BOOL GetDCOrgEx(HDC hdc, POINT* pt) {
  DC* dc = GetDC(hdc);
  if (!dc || !pt) return FALSE;
  *pt = dc->memory ? POINT{0, 0} : dc->origin;
  return TRUE;
}

// ---- attributes -------------------------------------------------------------------------------
// A DC attribute with its setter and getter; the setter refuses a value outside `valid`
// and answers `bad`, as GDI does.
#define LORM_DC_ATTR(SetName, GetName, Type, field, bad, valid) \
  Type SetName(HDC hdc, Type value) {                            \
    DC* dc = GetDC(hdc);                                         \
    if (!dc || !(valid)) return bad;                             \
    Type old = dc->s.field;                                      \
    dc->s.field = value;                                         \
    return old;                                                  \
  }                                                              \
  Type GetName(HDC hdc) {                                        \
    DC* dc = GetDC(hdc);                                         \
    return dc ? dc->s.field : bad;                               \
  }

LORM_DC_ATTR(SetTextColor, GetTextColor, COLORREF, textColor, CLR_INVALID, true)
LORM_DC_ATTR(SetBkColor, GetBkColor, COLORREF, bkColor, CLR_INVALID, true)
LORM_DC_ATTR(SetTextAlign, GetTextAlign, UINT, textAlign, UINT(-1), true)
LORM_DC_ATTR(SetTextCharacterExtra, GetTextCharacterExtra, int, charExtra, 0x80000000, true)
LORM_DC_ATTR(SetBkMode, GetBkMode, int, bkMode, 0, value == OPAQUE || value == TRANSPARENT)
LORM_DC_ATTR(SetROP2, GetROP2, int, rop2, 0, value >= R2_BLACK && value <= R2_WHITE)
LORM_DC_ATTR(SetPolyFillMode, GetPolyFillMode, int, polyFillMode, 0, value == ALTERNATE || value == WINDING)
LORM_DC_ATTR(SetStretchBltMode, GetStretchBltMode, int, stretchMode, 0,
             value >= BLACKONWHITE && value <= HALFTONE)
LORM_DC_ATTR(SetArcDirection, GetArcDirection, int, arcDirection, 0,
             value == AD_COUNTERCLOCKWISE || value == AD_CLOCKWISE)
#undef LORM_DC_ATTR
COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
  DC* dc = GetDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.dcBrushColor;
  dc->s.dcBrushColor = color;
  return old;
}
COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
  DC* dc = GetDC(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.dcPenColor;
  dc->s.dcPenColor = color;
  return old;
}

// ---- clipping ----------------------------------------------------------------------------------
int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  DC* dc = GetDC(hdc);
  if (!dc) return ERROR;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    SetClip(dc, nullptr);
    return RegionKind(EffectiveClip(dc));
  }
  auto r = GetRegion(rgn);
  if (!r) return ERROR;
  cairo_region_t* result;
  switch (mode) {
    case RGN_COPY: result = cairo_region_copy(r->rgn); break;
    case RGN_AND:
      result = CurrentClipOrBounds(dc);
      cairo_region_intersect(result, r->rgn);
      break;
    case RGN_OR:
      result = CurrentClipOrBounds(dc);
      cairo_region_union(result, r->rgn);
      break;
    case RGN_XOR:
      result = CurrentClipOrBounds(dc);
      cairo_region_xor(result, r->rgn);
      break;
    case RGN_DIFF:
      result = CurrentClipOrBounds(dc);
      cairo_region_subtract(result, r->rgn);
      break;
    default: return ERROR;
  }
  SetClip(dc, result);
  return RegionKind(EffectiveClip(dc));
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DC* dc = GetDC(hdc);
  if (!dc) return ERROR;
  RECT d = LogicalRectToDevice(dc, RECT{left, top, right, bottom});
  cairo_region_t* result = CurrentClipOrBounds(dc);
  cairo_rectangle_int_t r{d.left, d.top, d.right - d.left, d.bottom - d.top};
  cairo_region_intersect_rectangle(result, &r);
  SetClip(dc, result);
  return RegionKind(EffectiveClip(dc));
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DC* dc = GetDC(hdc);
  if (!dc) return ERROR;
  RECT d = LogicalRectToDevice(dc, RECT{left, top, right, bottom});
  cairo_region_t* result = CurrentClipOrBounds(dc);
  cairo_rectangle_int_t r{d.left, d.top, d.right - d.left, d.bottom - d.top};
  cairo_region_subtract_rectangle(result, &r);
  SetClip(dc, result);
  return RegionKind(EffectiveClip(dc));
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  DC* dc = GetDC(hdc);
  if (!dc) return ERROR;
  if (dc->s.clip) {
    cairo_region_t* moved = cairo_region_copy(dc->s.clip->rgn);
    POINT a = LogicalToDevice(dc, POINT{0, 0}), b = LogicalToDevice(dc, POINT{dx, dy});
    cairo_region_translate(moved, b.x - a.x, b.y - a.y);
    SetClip(dc, moved);
  }
  return RegionKind(EffectiveClip(dc));
}

int GetClipBox(HDC hdc, RECT* rect) {
  DC* dc = GetDC(hdc);
  if (!dc || !rect) return ERROR;
  const cairo_region_t* clip = EffectiveClip(dc);
  cairo_rectangle_int_t e;
  cairo_region_get_extents(clip, &e);
  POINT a = DeviceToLogical(dc, POINT{e.x, e.y});
  POINT b = DeviceToLogical(dc, POINT{e.x + e.width, e.y + e.height});
  *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return RegionKind(clip);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  DC* dc = GetDC(hdc);
  auto r = GetRegion(rgn);
  if (!dc || !r) return -1;
  if (!dc->s.clip) return 0;
  cairo_region_destroy(r->rgn);
  r->rgn = cairo_region_copy(dc->s.clip->rgn);
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DC* dc = GetDC(hdc);
  if (!dc) return FALSE;
  POINT p = LogicalToDevice(dc, POINT{x, y});
  return cairo_region_contains_point(EffectiveClip(dc), p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  DC* dc = GetDC(hdc);
  if (!dc || !rect) return FALSE;
  RECT d = LogicalRectToDevice(dc, *rect);
  cairo_rectangle_int_t r{d.left, d.top, d.right - d.left, d.bottom - d.top};
  return cairo_region_contains_rectangle(EffectiveClip(dc), &r) != CAIRO_REGION_OVERLAP_OUT ? TRUE : FALSE;
}
