// VezIdid, flat scroll bars: the ssFlat and ssEncarta looks through the common controls'
// flat scroll bar entry points, looked up by name in "comctl32.dll" on every call. Without
// the library or an entry the call does nothing and the grid keeps standard bars.
#include "foundation/DizThemeBinding.h"
#include "grid/VezIdid.h"
#include "platform/win/FlatScrollBar.h"

namespace {

// Calls the named entry point with call(entry); `missing` when it is not there.
template <class F, class R, class Call>
R CallCommonControls(const char* name, R missing, Call call) {
  HLIBMODULE library = LoadLibraryModule("comctl32.dll");
  if (!library) return missing;
  const TLibraryProc proc = GetLibraryProc(library, name);
  const R result = proc ? call(LibraryProcAs<F>(proc)) : missing;
  FreeLibraryModule(library);
  return result;
}

}  // namespace

bool TDavEvadurAvuz::ScrollStyleHasBar(TScrollStyle Style, int Bar) {
  if (Bar == SB_HORZ) return Style == ssHorizontal || Style == ssBoth;
  return Style == ssVertical || Style == ssBoth;
}

void TDavEvadurAvuz::FlatInit() {
  FFlatScrollBars = CallCommonControls<TInitializeFlatSB>("InitializeFlatSB", false, [this](TInitializeFlatSB f) {
    f(Handle());
    return true;
  });
}

void TDavEvadurAvuz::FlatDone() {
  FFlatScrollBars = false;
  if (!HandleAllocated()) return;
  CallCommonControls<TUninitializeFlatSB>("UninitializeFlatSB", false, [this](TUninitializeFlatSB f) {
    f(Handle());
    return true;
  });
}

int TDavEvadurAvuz::FlatSetScrollInfo(int Bar, SCROLLINFO& ScrollInfo, bool Redraw) {
  return CallCommonControls<TFlatSB_SetScrollInfo>("FlatSB_SetScrollInfo", 0, [&](TFlatSB_SetScrollInfo f) {
    return f(Handle(), Bar, &ScrollInfo, Redraw ? TRUE : FALSE);
  });
}

void TDavEvadurAvuz::FlatSetScrollProp(int Index, INT_PTR Value, bool Redraw) {
  if (!FFlatScrollBars || !HandleAllocated()) return;
  CallCommonControls<TFlatSB_SetScrollProp>("FlatSB_SetScrollProp", false, [&](TFlatSB_SetScrollProp f) {
    return f(Handle(), UINT(Index), Value, Redraw ? TRUE : FALSE) != 0;
  });
}

void TDavEvadurAvuz::FlatShowScrollBar(int Bar, bool Show) {
  if (!FFlatScrollBars || !HandleAllocated() || !ScrollStyleHasBar(GetScrollBarsEx(), Bar)) return;
  CallCommonControls<TFlatSB_ShowScrollBar>("FlatSB_ShowScrollBar", false, [&](TFlatSB_ShowScrollBar f) {
    return f(Handle(), Bar, Show ? TRUE : FALSE) != 0;
  });
}

void TDavEvadurAvuz::FlatUpdate() {
  UpdateType();
  UpdateColor();
  UpdateWidth();
  const bool vertical = VisibleRowCount() + GetFixedRowsEx() < GetRowCountEx();
  FlatShowScrollBar(SB_VERT, vertical);
  if (vertical) UpdateVScrollBar();
  const bool horizontal = VisibleColCount() + GetFixedColsEx() < GetColCountEx();
  FlatShowScrollBar(SB_HORZ, horizontal);
  if (horizontal) UpdateHScrollBar();
}

void TDavEvadurAvuz::UpdateType() {
  const int style = FScrollType == ssFlat ? FSB_FLAT_MODE : FScrollType == ssEncarta ? FSB_ENCARTA_MODE : FSB_REGULAR_MODE;
  FlatSetScrollProp(WSB_PROP_VSTYLE, style, true);
  FlatSetScrollProp(WSB_PROP_HSTYLE, style, true);
}

void TDavEvadurAvuz::UpdateColor() {
  if (FScrollColor == clNone) return;
  const INT_PTR colour = INT_PTR(ColorToRGB(FScrollColor));
  FlatSetScrollProp(WSB_PROP_VBKGCOLOR, colour, true);
  FlatSetScrollProp(WSB_PROP_HBKGCOLOR, colour, true);
}

void TDavEvadurAvuz::UpdateWidth() {
  FlatSetScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth, true);
  FlatSetScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth, true);
}

void TDavEvadurAvuz::UpdateVScrollBar() {
  if (!ScrollStyleHasBar(GetScrollBarsEx(), SB_VERT) || !FFlatScrollBars || !HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(Handle(), SB_VERT, &si);
  FlatSetScrollInfo(SB_VERT, si, true);
}

void TDavEvadurAvuz::UpdateHScrollBar() {
  if (!ScrollStyleHasBar(GetScrollBarsEx(), SB_HORZ) || !FFlatScrollBars || !HandleAllocated()) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(Handle(), SB_HORZ, &si);
  FlatSetScrollInfo(SB_HORZ, si, true);
}
