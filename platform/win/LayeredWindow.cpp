// Layered windows and the screen they are composed on.
#include "platform/win/LayeredWindow.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/Coordinates.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

RECT WholeWindow(HWND h) { return MakeRect(0, 0, RectWidth(h->Rect), RectHeight(h->Rect)); }

// The window's look changed as a whole: a back end shows it again.
void LookChanged(HWND h) {
  if (!h->Parent && (h->Style & WS_VISIBLE)) CurrentBackend().TopLevelPainted(h, WholeWindow(h));
}

bool Refuse() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

// The layered look of a window, when its style is layered and it was given one.
const TLayered* LookOf(HWND h) {
  return Valid(h) && !h->Parent && (h->ExStyle & WS_EX_LAYERED) ? h->Layered.get() : nullptr;
}

bool CanLayer(HWND h) { return Valid(h) && !h->Parent && (h->ExStyle & WS_EX_LAYERED); }

// Pixels of the colour `key` become transparent, every other pixel opaque.
void KeyOut(cairo_surface_t* s, COLORREF key) {
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const std::uint32_t rgb = (std::uint32_t(GetRValue(key)) << 16) | (std::uint32_t(GetGValue(key)) << 8) | GetBValue(key);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + std::ptrdiff_t(y) * stride);
    for (int x = 0; x < w; ++x)
      if ((row[x] & 0xFFFFFF) == rgb) row[x] = 0;
  }
  cairo_surface_mark_dirty(s);
}

}  // namespace

winsys::TLayered::~TLayered() {
  if (Content) cairo_surface_destroy(reinterpret_cast<cairo_surface_t*>(Content));
}

void winsys::LayeredStyleChanged(HWND h, DWORD oldExStyle) {
  if (((oldExStyle ^ h->ExStyle) & WS_EX_LAYERED) == 0) return;
  // Taking the style away ends the window's layered look; setting it again starts afresh.
  if (!(h->ExStyle & WS_EX_LAYERED)) h->Layered.reset();
  LookChanged(h);
}

BOOL SetLayeredWindowAttributes(HWND h, COLORREF key, BYTE alpha, DWORD flags) {
  if (!CanLayer(h) || (flags & ~DWORD(LWA_COLORKEY | LWA_ALPHA)) || (h->Layered && h->Layered->ByUpdate))
    return Refuse();
  if (!h->Layered) h->Layered = std::make_unique<TLayered>();
  TLayered& l = *h->Layered;
  l.ByAttributes = true;
  l.Key = key;
  l.Alpha = alpha;
  l.Flags = flags;
  LookChanged(h);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND h, COLORREF* key, BYTE* alpha, DWORD* flags) {
  const TLayered* l = LookOf(h);
  if (!l || !l->ByAttributes) return Refuse();
  if (key) *key = l->Key;
  if (alpha) *alpha = l->Alpha;
  if (flags) *flags = l->Flags;
  return TRUE;
}

BOOL UpdateLayeredWindow(HWND h, HDC, POINT* position, SIZE* size, HDC source, POINT* sourcePoint, COLORREF key,
                         BLENDFUNCTION* blend, DWORD flags) {
  if (!CanLayer(h) || (h->Layered && h->Layered->ByAttributes)) return Refuse();
  if ((flags & ~DWORD(ULW_COLORKEY | ULW_ALPHA | ULW_OPAQUE)) || ((flags & ULW_ALPHA) && !blend)) return Refuse();
  if (size && (size->cx <= 0 || size->cy <= 0 || size->cx > kMaxSurfaceSide || size->cy > kMaxSurfaceSide))
    return Refuse();
  SIZE extent = size ? *size : SIZE{RectWidth(h->Rect), RectHeight(h->Rect)};
  cairo_surface_t* picture = nullptr;
  if (source) {
    DCDrawingTarget from;
    if (!GetDCDrawingTarget(source, &from) || !from.surface || extent.cx <= 0 || extent.cy <= 0) return Refuse();
    if (from.clip) DeleteObject(from.clip);
    POINT at = sourcePoint ? *sourcePoint : WinPoint(0, 0);
    LPtoDP(source, &at, 1);
    picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, extent.cx, extent.cy);
    cairo_surface_flush(from.surface);
    cairo_t* cr = cairo_create(picture);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, from.surface, -(from.surfaceOrigin.x + at.x), -(from.surfaceOrigin.y + at.y));
    cairo_paint(cr);
    cairo_destroy(cr);
  }
  if (!h->Layered) h->Layered = std::make_unique<TLayered>();
  TLayered& l = *h->Layered;
  l.ByUpdate = true;
  if (picture) {
    if (l.Content) cairo_surface_destroy(reinterpret_cast<cairo_surface_t*>(l.Content));
    l.Content = reinterpret_cast<_cairo_surface*>(picture);
  }
  l.UpdateKey = key;
  l.Blend = blend ? *blend : BLENDFUNCTION{};
  l.UpdateFlags = flags;
  RECT r = h->Rect;
  POINT to = position ? *position : WinPoint(r.left, r.top);
  if (to.x != r.left || to.y != r.top || extent.cx != RectWidth(r) || extent.cy != RectHeight(r))
    SetWindowPos(h, nullptr, to.x, to.y, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (Valid(h)) LookChanged(h);
  return TRUE;
}

BYTE LayeredWindowOpacity(HWND h) {
  const TLayered* l = LookOf(h);
  if (!l) return 255;
  if (l->ByAttributes) return (l->Flags & LWA_ALPHA) ? l->Alpha : 255;
  if (l->ByUpdate && (l->UpdateFlags & ULW_ALPHA) && !(l->UpdateFlags & ULW_OPAQUE)) return l->Blend.SourceConstantAlpha;
  return 255;
}

_cairo_surface* GetLayeredWindowContent(HWND h) {
  const TLayered* l = LookOf(h);
  return l && l->ByUpdate ? l->Content : nullptr;
}

_cairo_surface* CreateWindowScreenImage(HWND h) {
  if (!Valid(h) || h->Parent || !(h->Style & WS_VISIBLE) || (h->Style & WS_MINIMIZE)) return nullptr;
  const TLayered* l = LookOf(h);
  auto* picture = reinterpret_cast<cairo_surface_t*>(GetLayeredWindowContent(h));
  if (!picture) {
    EnsureSurface(h);
    picture = reinterpret_cast<cairo_surface_t*>(h->Surface);
  }
  if (!picture) return nullptr;
  cairo_surface_flush(picture);
  int w = std::clamp(RectWidth(h->Rect), 1, kMaxSurfaceSide), ht = std::clamp(RectHeight(h->Rect), 1, kMaxSurfaceSide);
  // The pixels: with per-pixel alpha as the picture has it, otherwise opaque (the back
  // buffer's alpha channel means nothing).
  bool perPixel = l && l->ByUpdate && (l->UpdateFlags & ULW_ALPHA) && !(l->UpdateFlags & ULW_OPAQUE) &&
                  (l->Blend.AlphaFormat & AC_SRC_ALPHA);
  cairo_surface_t* pixels = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, ht);
  cairo_surface_t* view = picture;
  if (!perPixel && cairo_image_surface_get_format(picture) == CAIRO_FORMAT_ARGB32)
    view = cairo_image_surface_create_for_data(cairo_image_surface_get_data(picture), CAIRO_FORMAT_RGB24,
                                               cairo_image_surface_get_width(picture),
                                               cairo_image_surface_get_height(picture),
                                               cairo_image_surface_get_stride(picture));
  cairo_t* cr = cairo_create(pixels);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, view, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  if (view != picture) cairo_surface_destroy(view);
  if (l && l->ByAttributes && (l->Flags & LWA_COLORKEY)) KeyOut(pixels, l->Key);
  if (l && l->ByUpdate && (l->UpdateFlags & ULW_COLORKEY) && !(l->UpdateFlags & ULW_OPAQUE)) KeyOut(pixels, l->UpdateKey);
  // The region and the constant alpha.
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, ht);
  cr = cairo_create(out);
  if (h->Shape) {
    for (const RECT& r : h->Shape->Rects()) cairo_rectangle(cr, r.left, r.top, RectWidth(r), RectHeight(r));
    cairo_clip(cr);
  }
  cairo_set_source_surface(cr, pixels, 0, 0);
  cairo_paint_with_alpha(cr, LayeredWindowOpacity(h) / 255.0);
  cairo_destroy(cr);
  cairo_surface_destroy(pixels);
  return reinterpret_cast<_cairo_surface*>(out);
}

void ComposeScreen(_cairo_surface* target, POINT origin, HWND upTo) {
  auto* s = reinterpret_cast<cairo_surface_t*>(target);
  if (!s) return;
  cairo_t* cr = cairo_create(s);
  COLORREF desktop = GetSysColor(COLOR_DESKTOP);
  cairo_set_source_rgb(cr, GetRValue(desktop) / 255.0, GetGValue(desktop) / 255.0, GetBValue(desktop) / 255.0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  std::vector<HWND> tops = S().TopLevels;  // topmost first
  std::size_t last = tops.size();
  if (upTo) {
    HWND top = Valid(upTo) ? TopLevelOf(upTo) : nullptr;
    auto it = std::find(tops.begin(), tops.end(), top);
    last = it == tops.end() ? 0 : std::size_t(it - tops.begin()) + 1;
  }
  for (std::size_t i = std::min(last, tops.size()); i-- > 0;) {
    HWND t = tops[i];
    if (!Valid(t)) continue;
    auto* image = reinterpret_cast<cairo_surface_t*>(CreateWindowScreenImage(t));
    if (!image) continue;
    cairo_set_source_surface(cr, image, t->Rect.left - origin.x, t->Rect.top - origin.y);
    cairo_paint(cr);
    cairo_surface_destroy(image);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
}
