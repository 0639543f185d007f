// Flat scroll bars: their properties per window, the sizes the window's frame lays out
// with, and their painting (the standard bar's is in Painting.cpp).
#include "platform/win/FlatScrollBar.h"

#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

TFlatScrollBars* FlatBars(HWND h) { return Valid(h) && h->FlatScroll.Active ? &h->FlatScroll : nullptr; }

// Lays the frame out again when a bar's thickness changed, so the client area gives way.
void FrameChanged(HWND h, bool redraw) {
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0u : UINT(SWP_NOREDRAW)));
}

// The property's slot for a bar property, nullptr for the others.
int* SizeSlot(TFlatScrollBars& f, UINT index) {
  switch (index) {
    case WSB_PROP_CYVSCROLL: return &f.Arrow[SB_VERT];
    case WSB_PROP_CXHSCROLL: return &f.Arrow[SB_HORZ];
    case WSB_PROP_CYHSCROLL: return &f.Thickness[SB_HORZ];
    case WSB_PROP_CXVSCROLL: return &f.Thickness[SB_VERT];
    case WSB_PROP_CXHTHUMB: return &f.MinThumb[SB_HORZ];
    case WSB_PROP_CYVTHUMB: return &f.MinThumb[SB_VERT];
    case WSB_PROP_VSTYLE: return &f.Style[SB_VERT];
    case WSB_PROP_HSTYLE: return &f.Style[SB_HORZ];
    default: return nullptr;
  }
}

void FillColour(HDC dc, const RECT& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

constexpr int kThumb = -1;

// An arrow (its DFCS_SCROLL… kind) or the thumb (kThumb) in the bar's style: regular
// raised, Encarta with a thin raised edge, flat framed by one shadow line.
void DrawPart(HDC dc, RECT r, int style, int part, bool inactive) {
  if (part != kThumb) {
    UINT state = UINT(part) | (inactive ? UINT(DFCS_INACTIVE) : 0u) | (style == FSB_REGULAR_MODE ? 0u : UINT(DFCS_FLAT));
    DrawFrameControl(dc, &r, DFC_SCROLL, state);
  } else {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (style == FSB_REGULAR_MODE) DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    else if (style == FSB_FLAT_MODE) FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  }
  if (style == FSB_ENCARTA_MODE) DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
}

}  // namespace

namespace winsys {

int ScrollBarThickness(HWND h, int bar) {
  if (const TFlatScrollBars* f = FlatBars(h)) return f->Thickness[bar];
  return GetSystemMetrics(bar == SB_VERT ? SM_CXVSCROLL : SM_CYHSCROLL);
}

int ScrollArrowLength(HWND h, int bar) {
  if (const TFlatScrollBars* f = FlatBars(h)) return f->Arrow[bar];
  return GetSystemMetrics(bar == SB_VERT ? SM_CYVSCROLL : SM_CXHSCROLL);
}

int ScrollThumbLength(HWND h, int bar) {
  if (const TFlatScrollBars* f = FlatBars(h)) return f->MinThumb[bar];
  return GetSystemMetrics(bar == SB_VERT ? SM_CYVTHUMB : SM_CXHTHUMB);
}

bool DrawFlatScrollBar(HWND h, HDC dc, int bar, const RECT& r) {
  const TFlatScrollBars* f = FlatBars(h);
  // A regular bar on the system's track is the standard bar.
  if (!f || (f->Style[bar] == FSB_REGULAR_MODE && f->Track[bar] == CLR_DEFAULT)) return false;
  const TScrollBarState& sb = h->Scroll[bar];
  const bool vert = bar == SB_VERT;
  const bool disabled = sb.Max <= sb.Min || (h->Style & WS_DISABLED);
  const int style = f->Style[bar];
  FillColour(dc, r, f->Track[bar] != CLR_DEFAULT ? f->Track[bar] : GetSysColor(COLOR_SCROLLBAR));
  RECT arrow1, arrow2, thumb;
  if (!ScrollPartRects(h, bar, &arrow1, &arrow2, &thumb)) return true;
  DrawPart(dc, arrow1, style, int(vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT), disabled);
  DrawPart(dc, arrow2, style, int(vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT), disabled);
  if (!disabled && !RectEmpty(thumb)) DrawPart(dc, thumb, style, kThumb, false);
  return true;
}

}  // namespace winsys

BOOL InitializeFlatSB(HWND h) {
  if (!Valid(h)) return FALSE;
  TFlatScrollBars& f = h->FlatScroll;
  if (f.Active) return TRUE;
  f = TFlatScrollBars{};
  for (int bar : {SB_HORZ, SB_VERT}) {
    f.Thickness[bar] = ScrollBarThickness(h, bar);
    f.Arrow[bar] = ScrollArrowLength(h, bar);
    f.MinThumb[bar] = ScrollThumbLength(h, bar);
    f.Style[bar] = FSB_REGULAR_MODE;
    f.Track[bar] = CLR_DEFAULT;
  }
  f.Active = true;
  return TRUE;
}

HRESULT UninitializeFlatSB(HWND h) {
  TFlatScrollBars* f = FlatBars(h);
  if (!f) return Valid(h) ? S_FALSE : E_FAIL;
  const bool relayout = f->Thickness[SB_VERT] != GetSystemMetrics(SM_CXVSCROLL) ||
                        f->Thickness[SB_HORZ] != GetSystemMetrics(SM_CYHSCROLL);
  f->Active = false;
  if (relayout) FrameChanged(h, true);
  else RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  return S_OK;
}

BOOL FlatSB_SetScrollProp(HWND h, UINT index, INT_PTR value, BOOL redraw) {
  TFlatScrollBars* f = FlatBars(h);
  if (!f) return FALSE;
  bool relayout = false;
  if (index == WSB_PROP_VBKGCOLOR || index == WSB_PROP_HBKGCOLOR) {
    f->Track[index == WSB_PROP_VBKGCOLOR ? SB_VERT : SB_HORZ] = COLORREF(value);
  } else if (index == WSB_PROP_PALETTE) {
    f->Palette = value;
  } else if (int* slot = SizeSlot(*f, index)) {
    const bool style = index == WSB_PROP_VSTYLE || index == WSB_PROP_HSTYLE;
    if (style ? (value < FSB_REGULAR_MODE || value > FSB_FLAT_MODE) : (value < 0 || value > 0xFFFF)) return FALSE;
    relayout = (index == WSB_PROP_CXVSCROLL || index == WSB_PROP_CYHSCROLL) && *slot != int(value);
    *slot = int(value);
  } else {
    return FALSE;
  }
  if (relayout) FrameChanged(h, redraw);
  else if (redraw) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  return TRUE;
}

BOOL FlatSB_GetScrollProp(HWND h, UINT index, int* value) {
  TFlatScrollBars* f = FlatBars(h);
  if (!f || !value) return FALSE;
  if (index == WSB_PROP_VBKGCOLOR || index == WSB_PROP_HBKGCOLOR)
    *value = int(f->Track[index == WSB_PROP_VBKGCOLOR ? SB_VERT : SB_HORZ]);
  else if (index == WSB_PROP_WINSTYLE) *value = int(h->Style);
  else if (index == WSB_PROP_PALETTE) *value = int(f->Palette);
  else if (int* slot = SizeSlot(*f, index)) *value = *slot;
  else return FALSE;
  return TRUE;
}

int FlatSB_SetScrollInfo(HWND h, int bar, SCROLLINFO* info, BOOL redraw) { return SetScrollInfo(h, bar, info, redraw); }

BOOL FlatSB_GetScrollInfo(HWND h, int bar, SCROLLINFO* info) { return GetScrollInfo(h, bar, info); }

BOOL FlatSB_ShowScrollBar(HWND h, int bar, BOOL show) { return ShowScrollBar(h, bar, show); }
