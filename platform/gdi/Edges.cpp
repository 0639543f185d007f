#include "platform/gdi/Edges.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/SysColors.h"

using namespace gdi;

namespace {

COLORREF Sys(int i) { return GetSysColor(i); }

void HLine(HDC dc, int x0, int x1, int y, COLORREF c) {
  if (x1 > x0) FillSolid(dc, RECT{x0, y, x1, y + 1}, c);
}
void VLine(HDC dc, int x, int y0, int y1, COLORREF c) {
  if (y1 > y0) FillSolid(dc, RECT{x, y0, x + 1, y1}, c);
}

// One ring of a 3-D frame: top-left colour first, bottom-right over the shared corners.
void Ring(HDC dc, RECT& r, UINT flags, COLORREF tl, COLORREF br) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (flags & BF_TOP) HLine(dc, r.left, r.right, r.top, tl);
  if (flags & BF_LEFT) VLine(dc, r.left, r.top, r.bottom, tl);
  if (flags & BF_RIGHT) VLine(dc, r.right - 1, r.top, r.bottom, br);
  if (flags & BF_BOTTOM) HLine(dc, r.left, r.right, r.bottom - 1, br);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

void Glyph(HDC dc, const std::vector<RECT>& rects, int dx, int dy, COLORREF c) {
  for (RECT r : rects) FillSolid(dc, RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}, c);
}

// Draws glyph rectangles enabled or embossed (disabled).
void PaintGlyph(HDC dc, const std::vector<RECT>& rects, bool inactive, bool pushed, COLORREF color) {
  int o = pushed ? 1 : 0;
  if (inactive) {
    Glyph(dc, rects, o + 1, o + 1, Sys(COLOR_BTNHIGHLIGHT));
    Glyph(dc, rects, o, o, Sys(COLOR_BTNSHADOW));
  } else {
    Glyph(dc, rects, o, o, color);
  }
}

enum class Dir { Up, Down, Left, Right };

// A solid arrow triangle centred in r, as rows (or columns) of shrinking length.
// `outer` is the whole control, which sets the glyph size (a 16-pixel button gets a
// triangle four rows high).
std::vector<RECT> ArrowGlyph(const RECT& r, Dir d, const RECT& outer) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int size = std::min(outer.right - outer.left, outer.bottom - outer.top);
  int k = std::clamp(size / 4, 1, std::max(1, std::min(w, h) / 2));  // triangle height; base is 2k-1
  std::vector<RECT> out;
  int cx = r.left + (w - 1) / 2, cy = r.top + (h - 1) / 2;
  bool vertical = d == Dir::Up || d == Dir::Down;
  // Apex position so the triangle is centred on its height.
  for (int i = 0; i < k; ++i) {
    int half = (d == Dir::Up || d == Dir::Left) ? i : k - 1 - i;
    if (vertical) {
      int y = cy - k / 2 + i;
      out.push_back(RECT{cx - half, y, cx + half + 1, y + 1});
    } else {
      int x = cx - k / 2 + i;
      out.push_back(RECT{x, cy - half, x + 1, cy + half + 1});
    }
  }
  return out;
}

std::vector<RECT> CheckGlyph(int x, int y) {
  // A 7x7 tick: down-stroke of 3 then up-stroke of 4, three pixels thick.
  std::vector<RECT> out;
  static const int cols[7][2] = {{2, 5}, {3, 6}, {4, 7}, {3, 6}, {2, 5}, {1, 4}, {0, 3}};
  for (int i = 0; i < 7; ++i) out.push_back(RECT{x + i, y + cols[i][0], x + i + 1, y + cols[i][1]});
  return out;
}

void DrawCheckBox(HDC dc, RECT r, UINT state) {
  int size = std::min({r.right - r.left, r.bottom - r.top, 13});
  RECT box{r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, 0, 0};
  box.right = box.left + size;
  box.bottom = box.top + size;
  bool flat = (state & (DFCS_FLAT | DFCS_MONO)) != 0;
  COLORREF fill = (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW);
  RECT in = box;
  if (flat) {
    Ring(dc, in, BF_RECT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
  } else {
    Ring(dc, in, BF_RECT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
    Ring(dc, in, BF_RECT, Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT));
  }
  FillSolid(dc, in, fill);
  if (state & DFCS_CHECKED) {
    // An indeterminate (3-state) or disabled check shows its mark greyed.
    COLORREF c = (state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_WINDOWTEXT);
    int gx = in.left + (in.right - in.left - 7) / 2, gy = in.top + (in.bottom - in.top - 7) / 2;
    Glyph(dc, CheckGlyph(gx, gy), 0, 0, c);
  }
}

void DrawRadio(HDC hdc, RECT r, UINT state) {
  DC* dc = GetDC(hdc);
  if (!dc) return;
  int size = std::min({r.right - r.left, r.bottom - r.top, 12});
  RECT box{r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, 0, 0};
  box.right = box.left + size;
  box.bottom = box.top + size;
  RECT dbox = LogicalRectToDevice(dc, box);
  Spans disc, ring1, in1, ring2, in2;
  EllipseSpans(dbox, disc);
  SplitOutline(disc, 1, ring1, in1);
  SplitOutline(in1, 1, ring2, in2);
  double c = (dbox.left + dbox.right + dbox.top + dbox.bottom) / 2.0;
  auto paintHalf = [&](const Spans& spans, COLORREF tl, COLORREF br) {
    Spans a, b;
    for (const Span& s : spans)
      for (int x = s.x0; x < s.x1; ++x) (x + s.y + 1 < c ? a : b).push_back(Span{s.y, x, x + 1});
    Target t(dc);
    Paint p;
    p.type = Paint::Solid;
    p.color = ToPixel(tl);
    FillSpans(dc, t, a, p);
    p.color = ToPixel(br);
    FillSpans(dc, t, b, p);
  };
  bool flat = (state & (DFCS_FLAT | DFCS_MONO)) != 0;
  if (flat) {
    paintHalf(ring1, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
    paintHalf(ring2, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW));
  } else {
    paintHalf(ring1, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT));
    paintHalf(ring2, Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DLIGHT));
  }
  COLORREF fill = (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW);
  paintHalf(in2, fill, fill);
  if (state & DFCS_CHECKED) {
    int d = std::max(2, size / 3);
    RECT dot{box.left + (size - d) / 2, box.top + (size - d) / 2, 0, 0};
    dot.right = dot.left + d;
    dot.bottom = dot.top + d;
    Spans ds;
    EllipseSpans(LogicalRectToDevice(dc, dot), ds);
    COLORREF col = (state & DFCS_INACTIVE) ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_WINDOWTEXT);
    paintHalf(ds, col, col);
  }
}

void ButtonFrame(HDC dc, RECT& r, UINT state) {
  if (state & DFCS_PUSHED) {
    if (state & DFCS_FLAT) Ring(dc, r, BF_RECT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
    else {
      Ring(dc, r, BF_RECT, Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DDKSHADOW));
      Ring(dc, r, BF_RECT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
    }
  } else if (state & DFCS_FLAT) {
    Ring(dc, r, BF_RECT, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW));
  } else {
    Ring(dc, r, BF_RECT, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW));
    Ring(dc, r, BF_RECT, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW));
  }
  FillSolid(dc, r, Sys(COLOR_BTNFACE));
}

// Caption button glyphs at their full classic size, laid out for the 16 x 14 button and
// centred in larger or smaller ones: the close X of two-pixel strokes, the minimise bar,
// the maximise box with its thick top, the restore pair of boxes.
std::vector<RECT> CaptionGlyph(const RECT& button, UINT kind) {
  int w = button.right - button.left, h = button.bottom - button.top;
  int ox = button.left + (w - 16) / 2, oy = button.top + (h - 14) / 2;
  auto R = [&](int l, int t, int rw, int rh) { return RECT{ox + l, oy + t, ox + l + rw, oy + t + rh}; };
  int s = std::max(4, std::min(w, h) - 6);
  int x = button.left + (w - s) / 2, y = button.top + (h - s) / 2;
  std::vector<RECT> out;
  switch (kind & 0xF) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < 7; ++i) {
        out.push_back(R(4 + i, 3 + i, 2, 1));
        out.push_back(R(10 - i, 3 + i, 2, 1));
      }
      break;
    case DFCS_CAPTIONMIN: out.push_back(R(4, 9, 6, 2)); break;
    case DFCS_CAPTIONMAX:
      out.push_back(R(3, 2, 9, 2));
      out.push_back(R(3, 4, 1, 6));
      out.push_back(R(11, 4, 1, 6));
      out.push_back(R(3, 10, 9, 1));
      break;
    case DFCS_CAPTIONRESTORE: {
      auto box = [&](int bx, int by) {
        out.push_back(R(bx, by, 6, 2));
        out.push_back(R(bx, by + 2, 1, 4));
        out.push_back(R(bx + 5, by + 2, 1, 4));
        out.push_back(R(bx, by + 5, 6, 1));
      };
      box(5, 1);
      box(3, 4);
      break;
    }
    case DFCS_CAPTIONHELP: {
      // A question mark: arc, stem, dot.
      int cx = x + s / 2;
      out.push_back(RECT{cx - 2, y, cx + 2, y + 1});
      out.push_back(RECT{cx - 3, y + 1, cx - 1, y + 3});
      out.push_back(RECT{cx + 2, y + 1, cx + 4, y + 4});
      out.push_back(RECT{cx, y + 4, cx + 2, y + s - 4});
      out.push_back(RECT{cx, y + s - 2, cx + 2, y + s});
      break;
    }
  }
  return out;
}

}  // namespace

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  if (!GetDC(dc) || !rect) return FALSE;
  RECT r = *rect;
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  COLORREF otl = 0, obr = 0, itl = 0, ibr = 0;
  if (flags & BF_MONO) {
    otl = obr = Sys(COLOR_WINDOWFRAME);
    itl = ibr = Sys(COLOR_WINDOW);
  } else if (flags & BF_FLAT) {
    otl = obr = Sys(COLOR_BTNSHADOW);
    itl = ibr = Sys(COLOR_BTNFACE);
  } else {
    if (outer & BDR_RAISEDOUTER) {
      otl = (flags & BF_SOFT) ? Sys(COLOR_BTNHIGHLIGHT) : Sys(COLOR_3DLIGHT);
      obr = Sys(COLOR_3DDKSHADOW);
    } else if (outer & BDR_SUNKENOUTER) {
      otl = (flags & BF_SOFT) ? Sys(COLOR_3DDKSHADOW) : Sys(COLOR_BTNSHADOW);
      obr = Sys(COLOR_BTNHIGHLIGHT);
    }
    if (inner & BDR_RAISEDINNER) {
      itl = (flags & BF_SOFT) ? Sys(COLOR_3DLIGHT) : Sys(COLOR_BTNHIGHLIGHT);
      ibr = Sys(COLOR_BTNSHADOW);
    } else if (inner & BDR_SUNKENINNER) {
      itl = (flags & BF_SOFT) ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_3DDKSHADOW);
      ibr = Sys(COLOR_3DLIGHT);
    }
  }
  if (!(flags & BF_DIAGONAL)) {
    if (outer) Ring(dc, r, flags, otl, obr);
    if (inner) Ring(dc, r, flags, itl, ibr);
    if (flags & BF_MIDDLE)
      FillSolid(dc, r, (flags & BF_MONO) ? Sys(COLOR_WINDOW) : Sys(COLOR_BTNFACE));
  }
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
  if (!GetDC(dc) || !rect) return FALSE;
  RECT r = *rect;
  bool inactive = (state & DFCS_INACTIVE) != 0;
  bool pushed = (state & DFCS_PUSHED) != 0;
  switch (type) {
    case DFC_BUTTON: {
      UINT kind = state & 0xFF;
      if (kind & DFCS_BUTTONPUSH) {
        ButtonFrame(dc, r, state);
        if (state & DFCS_ADJUSTRECT) *rect = r;
        return TRUE;
      }
      if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        if (kind & DFCS_BUTTONRADIOMASK) {
          FillSolid(dc, r, RGB(255, 255, 255));
          DC* d = GetDC(dc);
          Spans disc;
          EllipseSpans(LogicalRectToDevice(d, r), disc);
          Target t(d);
          Paint p;
          p.type = Paint::Solid;
          p.color = 0xFF000000u;
          FillSpans(d, t, disc, p);
        } else {
          DrawRadio(dc, r, state);
        }
        return TRUE;
      }
      DrawCheckBox(dc, r, state);
      return TRUE;
    }
    case DFC_SCROLL: {
      UINT kind = state & 0xFF;
      if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        if (!(state & DFCS_TRANSPARENT)) FillSolid(dc, r, Sys(COLOR_BTNFACE));
        // Three diagonal grooves in the bottom-right corner, each a light line above two
        // shadow lines.
        int s = std::min(r.right - r.left, r.bottom - r.top);
        auto diag = [&](int off, COLORREF c) {
          for (int j = 0; j <= off; ++j) {
            int x = r.right - 1 - j, y = r.bottom - 1 - (off - j);
            if (x >= r.left && y >= r.top) FillSolid(dc, RECT{x, y, x + 1, y + 1}, c);
          }
        };
        for (int k = 0; k < 3; ++k) {
          int off = 3 + 4 * k;
          if (off + 1 >= s) break;
          diag(off - 1, Sys(COLOR_BTNHIGHLIGHT));
          diag(off, Sys(COLOR_BTNSHADOW));
          diag(off + 1, Sys(COLOR_BTNSHADOW));
        }
        return TRUE;
      }
      ButtonFrame(dc, r, state);
      Dir d = kind == DFCS_SCROLLUP ? Dir::Up
              : kind == DFCS_SCROLLLEFT ? Dir::Left
              : kind == DFCS_SCROLLRIGHT ? Dir::Right
                                         : Dir::Down;
      PaintGlyph(dc, ArrowGlyph(r, d, *rect), inactive, pushed, Sys(COLOR_BTNTEXT));
      if (state & DFCS_ADJUSTRECT) *rect = r;
      return TRUE;
    }
    case DFC_CAPTION: {
      ButtonFrame(dc, r, state);
      PaintGlyph(dc, CaptionGlyph(*rect, state), inactive, pushed, Sys(COLOR_BTNTEXT));
      if (state & DFCS_ADJUSTRECT) *rect = r;
      return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
      UINT kind = state & 0xFF;
      std::vector<RECT> g;
      if (kind == DFCS_MENUCHECK) {
        int gx = r.left + (r.right - r.left - 7) / 2, gy = r.top + (r.bottom - r.top - 7) / 2;
        g = CheckGlyph(gx, gy);
      } else if (kind == DFCS_MENUBULLET) {
        int cx = r.left + (r.right - r.left) / 2, cy = r.top + (r.bottom - r.top) / 2;
        g = {RECT{cx - 1, cy - 2, cx + 1, cy + 2}, RECT{cx - 2, cy - 1, cx + 2, cy + 1}};
      } else {
        g = ArrowGlyph(r, kind == DFCS_MENUARROWRIGHT ? Dir::Left : Dir::Right, r);
      }
      Glyph(dc, g, 0, 0, inactive ? Sys(COLOR_GRAYTEXT) : Sys(COLOR_MENUTEXT));
      return TRUE;
    }
    default: return FALSE;
  }
}
