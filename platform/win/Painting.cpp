// Window painting: update regions, WM_PAINT/WM_ERASEBKGND/WM_NCPAINT, window device
// contexts over the top-level back buffers, and the classic non-client look.
#include <cairo.h>

#include <algorithm>
#include <map>

#include "platform/gdi/Coordinates.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/WinIcon.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

struct TDCInfo {
  HWND Wnd = nullptr;
  RECT Bounds{};  // area of the top-level surface the DC may touch (window coordinates of the top level)
};

std::map<HDC, TDCInfo>& DCs() {
  static std::map<HDC, TDCInfo> dcs;
  return dcs;
}
cairo_surface_t*& ScreenSurface() {
  static cairo_surface_t* surface = nullptr;
  return surface;
}

// The top-level back buffers alive: made by EnsureSurface, gone when the last reference
// (the window's or a device context's) is dropped.
int gLiveSurfaces = 0;
cairo_user_data_key_t gSurfaceKey;
void SurfaceGone(void*) { --gLiveSurfaces; }

RECT ScreenWindowRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

// Visible area of a window in screen coordinates (window or client part).
TRectSet VisibleOnScreen(HWND h, bool clientOnly, bool clipChildren) {
  RECT start = ScreenWindowRect(h);
  if (clientOnly) {
    POINT o = ClientOriginOnScreen(h);
    start = MakeRect(o.x, o.y, o.x + RectWidth(h->Client), o.y + RectHeight(h->Client));
  }
  TRectSet area(start);
  ClipToShape(h, area);
  // Ancestors' client areas and regions, and siblings above (WS_CLIPSIBLINGS) along the chain.
  for (HWND w = h; w && w->Parent; w = w->Parent) {
    HWND p = w->Parent;
    POINT po = ClientOriginOnScreen(p);
    area.Intersect(MakeRect(po.x, po.y, po.x + RectWidth(p->Client), po.y + RectHeight(p->Client)));
    ClipToShape(p, area);
    if (w->Style & WS_CLIPSIBLINGS) {
      // The area lies within w, so only siblings above w that overlap it (compared in the
      // parent's coordinates, found through the parent's grid when it has many children)
      // can take from it; a sibling with a region takes only what its region covers.
      std::vector<HWND> near;
      ChildrenNear(p, w->Rect, near);
      std::vector<RECT> above;
      for (HWND sib : near)
        if (sib != w && sib->ZKey < w->ZKey && (sib->Style & WS_VISIBLE) && !RectEmpty(RectIntersect(sib->Rect, w->Rect))) {
          if (sib->Shape) area.Subtract(CoveredArea(sib, po));
          else above.push_back(RectOffset(sib->Rect, po.x, po.y));
        }
      area.Subtract(above);
    }
  }
  if (clipChildren && !h->Children.empty()) {
    // Children show only inside the client area: the frame (border, scroll bars) under a
    // child that reaches beyond the client stays the window's own. All of them go in one cut.
    POINT co = ClientOriginOnScreen(h);
    RECT client = MakeRect(co.x, co.y, co.x + RectWidth(h->Client), co.y + RectHeight(h->Client));
    std::vector<RECT> kids;
    kids.reserve(h->Children.size());
    for (HWND c : h->Children) {
      if (!(c->Style & WS_VISIBLE)) continue;
      if (c->Shape) {
        TRectSet covered = CoveredArea(c, co);
        covered.Intersect(client);
        area.Subtract(covered);
      } else {
        kids.push_back(RectIntersect(RectOffset(c->Rect, co.x, co.y), client));
      }
    }
    area.Subtract(kids);
  }
  return area;
}

// A DC for a window: origin at its client (or window) origin, clipped to `screenClip`.
HDC MakeWindowDC(HWND h, bool client, const TRectSet& screenClip) {
  HWND top = TopLevelOf(h);
  EnsureSurface(top);
  if (!top->Surface) return nullptr;
  POINT topOrigin = WindowOriginOnScreen(top);
  POINT o = client ? ClientOriginOnScreen(h) : WindowOriginOnScreen(h);
  POINT origin{o.x - topOrigin.x, o.y - topOrigin.y};
  TRectSet clip = screenClip;
  clip.Offset(-o.x, -o.y);  // device coordinates of the DC
  HRGN rgn = RegionFromSet(clip);
  HDC dc = CreateSurfaceDC(reinterpret_cast<cairo_surface_t*>(top->Surface), origin, rgn);
  DeleteObject(rgn);
  if (dc) {
    RECT bounds = screenClip.Empty() ? RECT{} : RectOffset(screenClip.Bounds(), -topOrigin.x, -topOrigin.y);
    DCs()[dc] = TDCInfo{h, bounds};
  }
  return dc;
}

void ReleaseWindowDC(HDC dc) {
  auto it = DCs().find(dc);
  if (it == DCs().end()) return;
  HWND h = it->second.Wnd;
  RECT bounds = it->second.Bounds;
  DCs().erase(it);
  DeleteSurfaceDC(dc);
  if (h && Valid(h) && !RectEmpty(bounds)) CurrentBackend().TopLevelPainted(TopLevelOf(h), bounds);
}

bool NeedsPaint(HWND h) { return !h->Update.Empty() || h->NcPaintNeeded || h->InternalPaint; }

bool Suppressed(HWND h) { return !(h->Style & WS_VISIBLE) || h->RedrawOff || (h->Style & WS_MINIMIZE); }

bool PaintSuppressed(HWND h) {
  for (HWND w = h; w; w = w->Parent)
    if (Suppressed(w)) return true;
  return false;
}

// The first window needing paint in h's subtree, looking only where painting is pending.
bool FindPending(HWND h, HWND filter, bool inFilter, HWND* out) {
  if (!h->PaintPending || Suppressed(h)) return false;
  inFilter = inFilter || h == filter;
  if (inFilter && NeedsPaint(h)) {
    *out = h;
    return true;
  }
  for (const auto& [key, c] : h->PendingKids.Entries())
    if (FindPending(c, filter, inFilter, out)) return true;
  return false;
}

void InvalidateTree(HWND h, TRectSet area /*client coords*/, UINT flags) {
  if (!Valid(h)) return;
  RECT client = MakeRect(0, 0, RectWidth(h->Client), RectHeight(h->Client));
  TRectSet own = area;
  own.Intersect(client);
  if (flags & RDW_INVALIDATE) {
    h->Update.Add(own);
    if ((flags & RDW_ERASE) && !own.Empty()) h->EraseNeeded = true;
    if (flags & RDW_FRAME) h->NcPaintNeeded = true;
  }
  if (flags & RDW_VALIDATE) {
    h->Update.Subtract(area);
    if (h->Update.Empty() && (flags & RDW_NOERASE)) h->EraseNeeded = false;
    if (flags & RDW_NOFRAME) h->NcPaintNeeded = false;
    if (h->Update.Empty()) h->EraseNeeded = false;
  }
  if (flags & RDW_INTERNALPAINT) h->InternalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) h->InternalPaint = false;
  PaintStateChanged(h);
  bool children = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(h->Style & WS_CLIPCHILDREN));
  if (!children || h->Children.empty()) return;
  // Children clear of the area's bounds are skipped before any region is copied; with
  // many children, only those near the area are looked at.
  RECT bounds = area.Bounds();
  bool single = area.Rects().size() == 1;
  std::vector<HWND> near;
  ChildrenNear(h, bounds, near);
  for (HWND c : near) {
    const RECT& r = c->Rect;
    if (!(c->Style & WS_VISIBLE) || r.left >= bounds.right || r.right <= bounds.left || r.top >= bounds.bottom ||
        r.bottom <= bounds.top)
      continue;
    TRectSet part;
    if (single) {
      part.Add(RectIntersect(bounds, c->Rect));
    } else {
      part = area;
      part.Intersect(c->Rect);
    }
    if (part.Empty()) continue;
    RECT cr = ClientRectInParent(c);
    bool touchesFrame = false;
    for (const RECT& r : part.Rects())
      if (r.left < cr.left || r.top < cr.top || r.right > cr.right || r.bottom > cr.bottom) touchesFrame = true;
    part.Offset(-cr.left, -cr.top);
    UINT childFlags = flags & ~RDW_FRAME;
    if (touchesFrame && (flags & RDW_INVALIDATE)) childFlags |= RDW_FRAME;
    InvalidateTree(c, part, childFlags);
  }
}

// Asks the processor to fetch, for writing, the part of the back buffer a small window
// covers. Painting many small windows one after another writes places of a large buffer
// that have long left the caches; fetched a window ahead, they are there when its painting
// starts instead of each write waiting for memory. Larger windows are left alone: their
// painting streams through memory anyway.
void PrefetchWindowPixels(HWND h) {
  constexpr long kMaxBytes = 64 * 1024;
  if (!(h->Style & WS_VISIBLE)) return;
  HWND top = TopLevelOf(h);
  auto* s = reinterpret_cast<cairo_surface_t*>(top->Surface);
  if (!s || h == top) return;
  POINT o = WindowOriginOnScreen(h), to = WindowOriginOnScreen(top);
  RECT r = RectIntersect(RectOffset(MakeRect(0, 0, RectWidth(h->Rect), RectHeight(h->Rect)), o.x - to.x, o.y - to.y),
                         MakeRect(0, 0, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s)));
  if (RectEmpty(r) || long(RectWidth(r)) * RectHeight(r) * 4 > kMaxBytes) return;
  unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  if (!data) return;
  for (int y = r.top; y < r.bottom; ++y) {
    unsigned char* row = data + std::ptrdiff_t(y) * stride;
    for (int x = r.left * 4; x < r.right * 4; x += 64) __builtin_prefetch(row + x, 1, 3);
    __builtin_prefetch(row + r.right * 4 - 1, 1, 3);
  }
}

void PaintNow(HWND h, bool children) {
  // Nothing pending here or below: the walk would paint nothing.
  if (!Valid(h) || !h->PaintPending || PaintSuppressed(h)) return;
  if (NeedsPaint(h)) {
    unsigned long long before = h->PaintCount;
    SendMessage(h, WM_PAINT, 0, 0);
    if (Valid(h) && h->PaintCount == before) {
      h->Update.Clear();
      h->EraseNeeded = h->NcPaintNeeded = h->InternalPaint = false;
      PaintStateChanged(h);
    }
  }
  if (!children || !Valid(h)) return;
  std::vector<HWND> kids = h->Children;
  for (std::size_t i = 0; i < kids.size(); ++i) {
    // While this child paints, the next one's pixels are brought towards the processor.
    if (i + 1 < kids.size() && Valid(kids[i + 1]) && kids[i + 1]->PaintPending) PrefetchWindowPixels(kids[i + 1]);
    PaintNow(kids[i], true);
  }
}

void FillRectColor(HDC dc, RECT r, int sysColor) { FillRect(dc, &r, GetSysColorBrush(sysColor)); }

// The parent's background under a child (transparent and themed controls): the parent
// erases and prints its client area into the child's DC, moved by the child's position
// and clipped to the rectangle (child client coordinates; null: the whole child).
HRESULT PaintParentBackground(HWND child, HDC dc, const RECT* rect) {
  if (!dc) return E_INVALIDARG;
  RECT area{};
  if (rect) area = *rect;
  else if (Valid(child)) area = MakeRect(0, 0, RectWidth(child->Client), RectHeight(child->Client));
  else GetClipBox(dc, &area);
  HWND parent = Valid(child) ? child->Parent : nullptr;
  if (!parent) {
    FillRectColor(dc, area, COLOR_BTNFACE);
    return S_OK;
  }
  POINT offset{0, 0};
  MapWindowPoints(child, parent, &offset, 1);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  OffsetViewportOrgEx(dc, -offset.x, -offset.y, nullptr);
  SendMessage(parent, WM_ERASEBKGND, WPARAM(dc), 0);
  if (Valid(parent)) SendMessage(parent, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
  return S_OK;
}

// The classic scroll bar track: a checker of the face and highlight colours.
void FillScrollTrack(HDC dc, const RECT& r) {
  // A scroll bar colour of its own (not the face's) paints the track plainly.
  if (GetSysColor(COLOR_SCROLLBAR) != GetSysColor(COLOR_BTNFACE)) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_SCROLLBAR));
    return;
  }
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH brush = CreatePatternBrush(pattern);
  COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &r, brush);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  DeleteObject(brush);
  DeleteObject(pattern);
}

void DrawScrollBar(HWND h, HDC dc, int bar, const RECT& r) {
  if (RectEmpty(r) || DrawFlatScrollBar(h, dc, bar, r)) return;
  const TScrollBarState& sb = h->Scroll[bar];
  bool vert = bar == SB_VERT;
  int arrow = std::min(ScrollArrowLength(h, bar), (vert ? RectHeight(r) : RectWidth(r)) / 2);
  RECT a1 = vert ? MakeRect(r.left, r.top, r.right, r.top + arrow) : MakeRect(r.left, r.top, r.left + arrow, r.bottom);
  RECT a2 = vert ? MakeRect(r.left, r.bottom - arrow, r.right, r.bottom) : MakeRect(r.right - arrow, r.top, r.right, r.bottom);
  bool disabled = sb.Max <= sb.Min || (h->Style & WS_DISABLED);
  if (HTHEME theme = OpenThemeData(h, "scrollbar")) {
    RECT track = vert ? MakeRect(r.left, a1.bottom, r.right, a2.top) : MakeRect(a1.right, r.top, a2.left, r.bottom);
    DrawThemeBackground(theme, dc, vert ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ, SCRBS_NORMAL, &track, nullptr);
    int base = disabled ? ABS_UPDISABLED : ABS_UPNORMAL;
    DrawThemeBackground(theme, dc, SBP_ARROWBTN, base + (vert ? 0 : 8), &a1, nullptr);
    DrawThemeBackground(theme, dc, SBP_ARROWBTN, base + (vert ? 4 : 12), &a2, nullptr);
    RECT thumb;
    if (!disabled && ScrollThumbRect(h, bar, &thumb))
      DrawThemeBackground(theme, dc, vert ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, SCRBS_NORMAL, &thumb, nullptr);
    CloseThemeData(theme);
    return;
  }
  FillScrollTrack(dc, r);
  DrawFrameControl(dc, &a1, DFC_SCROLL, (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (disabled ? DFCS_INACTIVE : 0));
  DrawFrameControl(dc, &a2, DFC_SCROLL, (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | (disabled ? DFCS_INACTIVE : 0));
  if (disabled) return;
  RECT thumb;
  if (ScrollThumbRect(h, bar, &thumb)) {
    FillRectColor(dc, thumb, COLOR_BTNFACE);
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
  }
}

}  // namespace

namespace winsys {

// The set as a region handle: the set's own region is copied into a new empty one, so
// a set of many rectangles costs one copy rather than a handle per rectangle.
HRGN RegionFromSet(const TRectSet& set) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  // The handle was made here and nobody else holds it: its area is filled in directly.
  if (auto* area = const_cast<cairo_region_t*>(GetRegionCairo(rgn))) set.UnionInto(area);
  return rgn;
}

TRectSet SetFromRegion(HRGN rgn) {
  TRectSet set;
  for (const RECT& r : GetRegionRects(rgn)) set.Add(r);
  return set;
}

TRectSet VisibleClientArea(HWND h, bool clipChildren) {
  TRectSet s = VisibleOnScreen(h, true, clipChildren);
  POINT o = ClientOriginOnScreen(h);
  s.Offset(-o.x, -o.y);
  return s;
}

TRectSet VisibleWindowArea(HWND h, bool clipChildren) {
  TRectSet s = VisibleOnScreen(h, false, clipChildren);
  POINT o = WindowOriginOnScreen(h);
  s.Offset(-o.x, -o.y);
  return s;
}

// A back buffer is at most kMaxSurfaceSide on a side: a window sized beyond it (a
// hostile stored form) draws into the part that fits instead of asking for gigabytes.
// Device contexts hold their own reference to the surface they draw on, so a window's
// surface is let go of at once when replaced or freed: one still drawn on by a device
// context lives until that context is deleted, and no later.
void EnsureSurface(HWND h) {
  if (h->Parent) return;
  int w = std::clamp(RectWidth(h->Rect), 1, kMaxSurfaceSide), ht = std::clamp(RectHeight(h->Rect), 1, kMaxSurfaceSide);
  auto* old = reinterpret_cast<cairo_surface_t*>(h->Surface);
  if (old && cairo_image_surface_get_width(old) == w && cairo_image_surface_get_height(old) == ht) return;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, ht);
  // (cairo takes null user data for "remove": the count itself is the data.)
  if (cairo_surface_set_user_data(s, &gSurfaceKey, &gLiveSurfaces, SurfaceGone) == CAIRO_STATUS_SUCCESS)
    ++gLiveSurfaces;
  cairo_t* cr = cairo_create(s);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  cairo_set_source_rgb(cr, GetRValue(face) / 255.0, GetGValue(face) / 255.0, GetBValue(face) / 255.0);
  cairo_paint(cr);
  if (old) {
    cairo_set_source_surface(cr, old, 0, 0);
    cairo_paint(cr);
  }
  cairo_destroy(cr);
  h->Surface = reinterpret_cast<_cairo_surface*>(s);
  if (old) cairo_surface_destroy(old);
}

void FreeSurface(HWND h) {
  auto* s = reinterpret_cast<cairo_surface_t*>(h->Surface);
  h->Surface = nullptr;
  if (s) cairo_surface_destroy(s);
}

int LiveWindowSurfaces() { return gLiveSurfaces; }

void InvalidateParentArea(HWND h, const RECT& rectInParent) {
  if (!h->Parent) return;
  TRectSet area(rectInParent);
  InvalidateTree(h->Parent, area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void InvalidateFrame(HWND h) {
  h->NcPaintNeeded = true;
  PaintStateChanged(h);
}

void PaintStateChanged(HWND h) {
  while (h) {
    bool pending = NeedsPaint(h) || !h->PendingKids.Empty();
    if (pending == h->PaintPending) return;
    h->PaintPending = pending;
    HWND p = h->Parent;
    if (!p || !h->Attached) return;
    if (pending) p->PendingKids.Insert(h);
    else p->PendingKids.Erase(h);
    h = p;
  }
}

void InstallGdiHooks() {
  SetThemeParentBackgroundPainter(&PaintParentBackground);
  SetThemeChangeHandler(&NotifyThemeChange);
}

bool FindPaintWindow(HWND filter, HWND* out) {
  if (filter) {
    // Only the filter's subtree, reached through visible ancestors.
    if (!Valid(filter) || (filter->Parent && PaintSuppressed(filter->Parent))) return false;
    return FindPending(filter, filter, true, out);
  }
  for (HWND t : S().TopLevels)
    if (FindPending(t, nullptr, true, out)) return true;
  return false;
}

void ResetPainting() {
  for (auto& [dc, info] : DCs()) DeleteSurfaceDC(dc);
  DCs().clear();
}

// The icon a caption shows: the window's small or big icon, else its class's; none for
// tool windows, dialog frames and windows without a system menu.
static HICON CaptionIcon(HWND h) {
  if (!(h->Style & WS_SYSMENU) || (h->ExStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME))) return nullptr;
  for (HICON icon : {h->IconSmall, h->IconBig, h->Class ? h->Class->IconSm : nullptr, h->Class ? h->Class->Icon : nullptr})
    if (icon && IsIconHandle(icon)) return icon;
  return nullptr;
}

// Luna's frame and caption: the caption's blue band covers the top frame, the frame's
// other sides are blue bands with a dark outer line.
void DrawLunaFrame(HWND h, HDC dc, HTHEME theme, const RECT& wr, int frame, int captionBottom) {
  bool active = h->NcActive;
  RECT cap = MakeRect(wr.left, wr.top, wr.right, captionBottom);
  DrawThemeBackground(theme, dc, (h->ExStyle & WS_EX_TOOLWINDOW) ? WP_SMALLCAPTION : WP_CAPTION,
                      active ? CS_ACTIVE : CS_INACTIVE, &cap, nullptr);
  int state = active ? FS_ACTIVE : FS_INACTIVE;
  RECT left = MakeRect(wr.left, captionBottom, wr.left + frame, wr.bottom);
  RECT right = MakeRect(wr.right - frame, captionBottom, wr.right, wr.bottom);
  RECT bottom = MakeRect(wr.left + frame, wr.bottom - frame, wr.right - frame, wr.bottom);
  DrawThemeBackground(theme, dc, WP_FRAMELEFT, state, &left, nullptr);
  DrawThemeBackground(theme, dc, WP_FRAMERIGHT, state, &right, nullptr);
  DrawThemeBackground(theme, dc, WP_FRAMEBOTTOM, state, &bottom, nullptr);
}

void DrawNonClient(HWND h, HDC dc) {
  RECT wr = MakeRect(0, 0, RectWidth(h->Rect), RectHeight(h->Rect));
  DWORD s = h->Style;
  RECT r = wr;
  HTHEME windowTheme = nullptr;
  bool maximised = (s & WS_MAXIMIZE) && !h->Parent && !(s & WS_CHILD);  // no frame shown
  bool framed = !maximised && ((s & (WS_THICKFRAME | WS_DLGFRAME)) || (h->ExStyle & WS_EX_DLGMODALFRAME));
  bool luna = (s & WS_CAPTION) == WS_CAPTION && IsThemeActive();
  if ((framed || maximised) && luna) windowTheme = OpenThemeData(h, "window");
  if (windowTheme) {
    int f = maximised ? 0 : (s & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
    int ch = GetSystemMetrics((h->ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    DrawLunaFrame(h, dc, windowTheme, wr, f, f + ch);
    r = MakeRect(r.left + f, r.top + f, r.right - f, r.bottom - f);
  } else if (framed) {
    RECT edge = r;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_ADJUST);
    int f = (s & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : GetSystemMetrics(SM_CXDLGFRAME);
    RECT inner = MakeRect(r.left + f, r.top + f, r.right - f, r.bottom - f);
    // The rest of the frame in the border colour.
    for (RECT band : {MakeRect(edge.left, edge.top, edge.right, inner.top), MakeRect(edge.left, inner.bottom, edge.right, edge.bottom),
                      MakeRect(edge.left, inner.top, inner.left, inner.bottom), MakeRect(inner.right, inner.top, edge.right, inner.bottom)})
      if (!RectEmpty(band)) FillRectColor(dc, band, COLOR_BTNFACE);
    r = inner;
  } else if ((s & WS_BORDER) && !maximised) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    r = MakeRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  }
  if ((s & WS_CAPTION) == WS_CAPTION) {
    int ch = GetSystemMetrics((h->ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    RECT cap = MakeRect(r.left, r.top, r.right, r.top + ch);
    bool active = h->NcActive;
    if (!windowTheme) {
    COLORREF c1 = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF c2 = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX v[2];
    v[0].x = cap.left;
    v[0].y = cap.top;
    v[0].Red = WORD(GetRValue(c1) << 8);
    v[0].Green = WORD(GetGValue(c1) << 8);
    v[0].Blue = WORD(GetBValue(c1) << 8);
    v[1].x = cap.right;
    v[1].y = cap.bottom - 1;
    v[1].Red = WORD(GetRValue(c2) << 8);
    v[1].Green = WORD(GetGValue(c2) << 8);
    v[1].Blue = WORD(GetBValue(c2) << 8);
    GRADIENT_RECT gr{0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
    RECT line = MakeRect(cap.left, cap.bottom - 1, cap.right, cap.bottom);
    FillRectColor(dc, line, COLOR_BTNFACE);
    }
    RECT text = MakeRect(cap.left + 4, cap.top, cap.right - 4, cap.bottom - 1);
    if (HICON icon = CaptionIcon(h)) {
      // The small icon at the left of the caption; the title follows it.
      int iw = GetSystemMetrics(SM_CXSMICON), ih = GetSystemMetrics(SM_CYSMICON);
      int iy = cap.top + std::max(0, (RectHeight(cap) - 1 - ih) / 2);
      DrawIconEx(dc, cap.left + 2, iy, icon, iw, ih, 0, nullptr, DI_NORMAL);
      text.left = cap.left + 2 + iw + 3;
    }
    if (s & WS_SYSMENU) {
      RECT closeBtn = CaptionButtonRect(h, HTCLOSE);
      RECT minBtn = CaptionButtonRect(h, HTMINBUTTON);
      text.right = (!RectEmpty(minBtn) ? minBtn.left : closeBtn.left) - 2;
      struct {
        int ht;
        UINT kind;
      } buttons[] = {{HTCLOSE, DFCS_CAPTIONCLOSE},
                     {HTMAXBUTTON, UINT((s & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX)},
                     {HTMINBUTTON, DFCS_CAPTIONMIN}};
      for (auto& b : buttons) {
        RECT br = CaptionButtonRect(h, b.ht);
        if (RectEmpty(br)) continue;
        bool inactive = (b.ht == HTMAXBUTTON && !(s & WS_MAXIMIZEBOX)) || (b.ht == HTMINBUTTON && !(s & WS_MINIMIZEBOX));
        bool pushed = h->NcPressed == b.ht;
        if (windowTheme) {
          int part = b.ht == HTCLOSE ? WP_CLOSEBUTTON : b.ht == HTMINBUTTON ? WP_MINBUTTON
                     : (s & WS_MAXIMIZE)                 ? WP_RESTOREBUTTON
                                                         : WP_MAXBUTTON;
          DrawThemeBackground(windowTheme, dc, part, inactive ? CBS_DISABLED : pushed ? CBS_PUSHED : CBS_NORMAL, &br,
                              nullptr);
          continue;
        }
        UINT state = b.kind;
        if (inactive) state |= DFCS_INACTIVE;
        if (pushed) state |= DFCS_PUSHED;
        DrawFrameControl(dc, &br, DFC_CAPTION, state);
      }
    }
    LOGFONT lf;
    lf.lfHeight = windowTheme && !(h->ExStyle & WS_EX_TOOLWINDOW) ? -13 : -11;
    lf.lfWeight = FW_BOLD;
    lf.lfFaceName = windowTheme && !(h->ExStyle & WS_EX_TOOLWINDOW) ? "Trebuchet MS" : "Tahoma";
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (windowTheme && active) {
      // Luna's caption text has a dark shadow one pixel down and right.
      RECT shadow = RectOffset(text, 1, 1);
      SetTextColor(dc, RGB(10, 24, 131));
      DrawTextUtf8(dc, h->Text, &shadow, format);
    }
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextUtf8(dc, h->Text, &text, format);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    r.top = cap.bottom;
  }
  if (h->Menu && !(s & WS_CHILD)) {
    int mh = GetSystemMetrics(SM_CYMENU);
    PaintMenuBar(h, dc, MakeRect(r.left, r.top, r.right, r.top + mh - 1));
    FillRectColor(dc, MakeRect(r.left, r.top + mh - 1, r.right, r.top + mh), COLOR_MENU);
    r.top += mh;
  }
  if ((h->ExStyle & WS_EX_CLIENTEDGE) && IsThemeActive()) {
    // Luna's sunken border: one line of the edit border colour, one of the background.
    RECT e = r;
    HBRUSH border = CreateSolidBrush(RGB(127, 157, 185));
    FrameRect(dc, &e, border);
    DeleteObject(border);
    e = MakeRect(e.left + 1, e.top + 1, e.right - 1, e.bottom - 1);
    FrameRect(dc, &e, h->Class->Background ? h->Class->Background : GetSysColorBrush(COLOR_WINDOW));
  } else if (h->ExStyle & WS_EX_CLIENTEDGE) {
    RECT e = r;
    DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
  } else if (h->ExStyle & WS_EX_STATICEDGE) {
    RECT e = r;
    DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
  }
  if (s & WS_VSCROLL) DrawScrollBar(h, dc, SB_VERT, ScrollBarRect(h, SB_VERT));
  if (s & WS_HSCROLL) DrawScrollBar(h, dc, SB_HORZ, ScrollBarRect(h, SB_HORZ));
  if ((s & WS_VSCROLL) && (s & WS_HSCROLL)) {
    RECT v = ScrollBarRect(h, SB_VERT), hz = ScrollBarRect(h, SB_HORZ);
    FillRectColor(dc, MakeRect(v.left, hz.top, v.right, hz.bottom), COLOR_BTNFACE);
  }
  if (windowTheme) CloseThemeData(windowTheme);
}

}  // namespace winsys

// --- public API ------------------------------------------------------------------------------
BOOL RedrawWindow(HWND h, const RECT* rect, HRGN region, UINT flags) {
  if (!h) {
    std::vector<HWND> tops = S().TopLevels;
    for (HWND t : tops) RedrawWindow(t, nullptr, nullptr, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  if (!Valid(h)) return FALSE;
  TRectSet area;
  if (region) area = SetFromRegion(region);
  else if (rect) area.Add(*rect);
  else area.Add(MakeRect(0, 0, RectWidth(h->Client), RectHeight(h->Client)));
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT)) {
    if ((flags & RDW_FRAME) && (flags & RDW_INVALIDATE) && !rect && !region) {
      // The whole window: the frame and the whole client.
    }
    InvalidateTree(h, area, flags);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) PaintNow(h, flags & RDW_ALLCHILDREN);
  return TRUE;
}

BOOL InvalidateRect(HWND h, const RECT* rect, BOOL erase) {
  if (h && !Valid(h)) return FALSE;
  return RedrawWindow(h, rect, nullptr, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

BOOL InvalidateRgn(HWND h, HRGN region, BOOL erase) {
  if (h && !Valid(h)) return FALSE;
  if (!region) return InvalidateRect(h, nullptr, erase);
  return RedrawWindow(h, nullptr, region, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : 0u));
}

BOOL ValidateRect(HWND h, const RECT* rect) {
  if (!Valid(h)) return FALSE;
  return RedrawWindow(h, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND h, HRGN region) {
  if (!Valid(h)) return FALSE;
  return RedrawWindow(h, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND h, RECT* rect, BOOL erase) {
  if (!Valid(h)) return FALSE;
  RECT b = h->Update.Bounds();
  if (rect) *rect = b;
  if (erase && h->EraseNeeded && !h->Update.Empty()) {
    // The erase happens now, in a DC clipped to the update region.
    TRectSet clip = h->Update;
    POINT o = ClientOriginOnScreen(h);
    clip.Offset(o.x, o.y);
    clip.Intersect(VisibleOnScreen(h, true, h->Style & WS_CLIPCHILDREN));
    HDC dc = MakeWindowDC(h, true, clip);
    h->EraseNeeded = false;
    if (dc) {
      SendMessage(h, WM_ERASEBKGND, WPARAM(dc), 0);
      ReleaseWindowDC(dc);
    }
  }
  return RectEmpty(b) ? FALSE : TRUE;
}

int GetUpdateRgn(HWND h, HRGN region, BOOL erase) {
  if (!Valid(h) || !region) return ERROR;
  GetUpdateRect(h, nullptr, erase);
  HRGN r = RegionFromSet(h->Update);
  int kind = CombineRgn(region, r, nullptr, RGN_COPY);
  DeleteObject(r);
  return kind;
}

BOOL UpdateWindow(HWND h) {
  if (!Valid(h)) return FALSE;
  PaintNow(h, false);
  return TRUE;
}

void UpdateAllWindows() {
  std::vector<HWND> tops = S().TopLevels;
  for (HWND t : tops) PaintNow(t, true);
}

HDC BeginPaint(HWND h, PAINTSTRUCT* ps) {
  if (!Valid(h) || !ps) return nullptr;
  ++h->PaintCount;
  if (h->NcPaintNeeded) {
    h->NcPaintNeeded = false;
    SendMessage(h, WM_NCPAINT, 1, 0);
    if (!Valid(h)) return nullptr;
  }
  TRectSet update = std::move(h->Update);
  h->Update.Clear();
  h->InternalPaint = false;
  PaintStateChanged(h);
  bool erase = h->EraseNeeded;
  h->EraseNeeded = false;
  POINT o = ClientOriginOnScreen(h);
  TRectSet clip = update;
  clip.Offset(o.x, o.y);
  clip.Intersect(VisibleOnScreen(h, true, h->Style & WS_CLIPCHILDREN));
  ps->rcPaint = update.Bounds();
  ps->fRestore = FALSE;
  ps->fIncUpdate = FALSE;
  ps->hdc = MakeWindowDC(h, true, clip);
  ps->fErase = FALSE;
  if (erase && ps->hdc) ps->fErase = SendMessage(h, WM_ERASEBKGND, WPARAM(ps->hdc), 0) ? FALSE : TRUE;
  return ps->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps || !ps->hdc) return FALSE;
  ReleaseWindowDC(ps->hdc);
  return TRUE;
}

HDC GetDCEx(HWND h, HRGN clipRgn, DWORD flags) {
  if (!h) {
    // The screen: text measuring and drawing that nobody sees.
    if (!ScreenSurface()) {
      SIZE s = CurrentBackend().ScreenSize();
      ScreenSurface() = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, int(s.cx)), std::max(1, int(s.cy)));
    }
    HDC dc = CreateSurfaceDC(ScreenSurface(), POINT{}, nullptr);
    if (dc) DCs()[dc] = TDCInfo{};
    return dc;
  }
  if (!Valid(h)) return nullptr;
  bool window = flags & DCX_WINDOW;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (h->Style & WS_CLIPCHILDREN);
  TRectSet clip = VisibleOnScreen(h, !window, clipChildren);
  if (clipRgn && reinterpret_cast<ULONG_PTR>(clipRgn) > 1) {
    TRectSet r = SetFromRegion(clipRgn);
    if (flags & DCX_INTERSECTRGN) clip.Intersect(r);
    if (flags & DCX_EXCLUDERGN) clip.Subtract(r);
  }
  return MakeWindowDC(h, !window, clip);
}

HDC GetDC(HWND h) { return GetDCEx(h, nullptr, 0); }
HDC GetWindowDC(HWND h) { return GetDCEx(h, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND, HDC dc) {
  if (!DCs().count(dc)) return 0;
  ReleaseWindowDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = DCs().find(dc);
  return it == DCs().end() ? nullptr : it->second.Wnd;
}

_cairo_surface* GetWindowSurface(HWND h) {
  if (!Valid(h) || h->Parent) return nullptr;
  EnsureSurface(h);
  return h->Surface;
}

BOOL ScrollWindow(HWND h, int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
  return ScrollWindowEx(h, dx, dy, scrollRect, clipRect, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scrollRect ? 0u : UINT(SW_SCROLLCHILDREN))) != ERROR;
}

int ScrollWindowEx(HWND h, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRgn,
                   RECT* updateRect, UINT flags) {
  if (!Valid(h)) return ERROR;
  RECT client = MakeRect(0, 0, RectWidth(h->Client), RectHeight(h->Client));
  RECT area = scrollRect ? RectIntersect(*scrollRect, client) : client;
  if (clipRect) area = RectIntersect(area, *clipRect);
  // Move the pixels in the back buffer, then repaint what was uncovered (and, simply
  // and correctly, the whole scrolled area when parts of it were not visible).
  HWND top = TopLevelOf(h);
  EnsureSurface(top);
  TRectSet visible = VisibleClientArea(h, h->Style & WS_CLIPCHILDREN);
  TRectSet full(area);
  TRectSet hidden = full;
  hidden.Subtract(visible);
  TRectSet exposed(area);
  exposed.Subtract(RectOffset(area, dx, dy));
  if (!hidden.Empty() || !top->Surface) {
    exposed = full;
  } else {
    auto* s = reinterpret_cast<cairo_surface_t*>(top->Surface);
    POINT o = ClientOriginOnScreen(h), to = WindowOriginOnScreen(top);
    int ox = o.x - to.x, oy = o.y - to.y;
    cairo_surface_flush(s);
    cairo_surface_t* copy = cairo_surface_create_similar_image(s, CAIRO_FORMAT_ARGB32, RectWidth(area), RectHeight(area));
    cairo_t* c = cairo_create(copy);
    cairo_set_source_surface(c, s, -(area.left + ox), -(area.top + oy));
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    cairo_paint(c);
    cairo_destroy(c);
    c = cairo_create(s);
    cairo_rectangle(c, area.left + ox, area.top + oy, RectWidth(area), RectHeight(area));
    cairo_clip(c);
    cairo_set_source_surface(c, copy, area.left + ox + dx, area.top + oy + dy);
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    cairo_paint(c);
    cairo_destroy(c);
    cairo_surface_destroy(copy);
    // Pending updates move with the pixels.
    TRectSet moved = h->Update;
    moved.Offset(dx, dy);
    moved.Intersect(area);
    TRectSet outside = h->Update;
    outside.Subtract(area);
    h->Update = outside;
    h->Update.Add(moved);
    PaintStateChanged(h);
  }
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : h->Children)
      if (!scrollRect || RectIntersect(c->Rect, area) != RECT{})
        SetWindowPos(c, nullptr, c->Rect.left + dx, c->Rect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  if (flags & SW_INVALIDATE)
    InvalidateTree(h, exposed, RDW_INVALIDATE | ((flags & SW_ERASE) ? UINT(RDW_ERASE) : 0u) | RDW_ALLCHILDREN);
  if (updateRect) *updateRect = exposed.Bounds();
  if (updateRgn) {
    HRGN r = RegionFromSet(exposed);
    CombineRgn(updateRgn, r, nullptr, RGN_COPY);
    DeleteObject(r);
  }
  return exposed.Empty() ? NULLREGION : (exposed.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION);
}
