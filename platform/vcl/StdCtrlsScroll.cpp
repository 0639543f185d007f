// The stand-alone scroll bar.
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/vcl/StdCtrls.h"

namespace {

const TEnumInfo* ScrollBarKindNames() {
  static const TEnumInfo* names = RegisterEnum("TScrollBarKind", {"sbHorizontal", "sbVertical"});
  return names;
}

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 350, kNextRepeat = 50;
constexpr int kMinThumb = 8;

bool PointIn(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

}  // namespace

void TScrollBar::Publish(TClassBuilder<TScrollBar>& P) {
  P.Bool("Ctl3D", &TScrollBar::Ctl3D, &TScrollBar::SetCtl3D, true)
      .Enum("Kind", ScrollBarKindNames(), &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal)
      .Int("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1)
      .Int("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100)
      .Int("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0)
      .Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
      .Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0)
      .Int("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1)
      .Event("OnChange", &TScrollBar::OnChange)
      .Event("OnScroll", &TScrollBar::OnScroll);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csFramed, csDoubleClicks, csOpaque, csCaptureMouse};
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  FTabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!FComponentState.Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
  Invalidate();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin || AMax < FPageSize - 1 + AMin)
    throw EInvalidOperation("Scrollbar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  bool changed = APosition != FPosition;
  if (AMin != FMin || AMax != FMax || changed) {
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    Invalidate();
  }
  if (changed) Change();
}

void TScrollBar::SetPageSize(int Value) {
  // A page larger than the range is ignored.
  if (Value == FPageSize || Value < 0 || Value > FMax - FMin + 1) return;
  FPageSize = Value;
  Invalidate();
}

void TScrollBar::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(UINT Code, int ThumbPos) {
  int pos = FPosition;
  switch (Code) {
    case SB_LINEUP: pos -= FSmallChange; break;
    case SB_LINEDOWN: pos += FSmallChange; break;
    case SB_PAGEUP: pos -= FLargeChange; break;
    case SB_PAGEDOWN: pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = ThumbPos; break;
    case SB_TOP: pos = FMin; break;
    case SB_BOTTOM: pos = FMax; break;
    case SB_ENDSCROLL: break;
    default: return;
  }
  int top = FPageSize > 1 ? FMax - FPageSize + 1 : FMax;
  pos = std::clamp(pos, FMin, std::max(FMin, top));
  Scroll(TScrollCode(Code), pos);
  SetPosition(pos);
}

TRect TScrollBar::ArrowRect(bool Second) {
  TRect c = ClientRect();
  if (FKind == sbVertical) {
    int a = std::min(GetSystemMetrics(SM_CYVSCROLL), c.Height() / 2);
    return Second ? TRect{0, c.Bottom - a, c.Right, c.Bottom} : TRect{0, 0, c.Right, a};
  }
  int a = std::min(GetSystemMetrics(SM_CXHSCROLL), c.Width() / 2);
  return Second ? TRect{c.Right - a, 0, c.Right, c.Bottom} : TRect{0, 0, a, c.Bottom};
}

int TScrollBar::TrackLength() {
  TRect c = ClientRect();
  TRect a = ArrowRect(false);
  return FKind == sbVertical ? c.Height() - 2 * a.Height() : c.Width() - 2 * a.Width();
}

int TScrollBar::ThumbLength() {
  int track = TrackLength();
  TRect a = ArrowRect(false);
  int len = FKind == sbVertical ? a.Height() : a.Width();
  if (FPageSize > 0) len = std::max(kMinThumb, int(int64_t(track) * FPageSize / (int64_t(FMax) - FMin + 1)));
  return len > track ? 0 : len;
}

TRect TScrollBar::ThumbRect() {
  int track = TrackLength();
  int len = ThumbLength();
  if (len <= 0 || FMax <= FMin || !Enabled()) return TRect{};
  int top = FPageSize > 1 ? FMax - FPageSize + 1 : FMax;
  int span = std::max(1, top - FMin);
  int pos = FPressedPart == spThumb ? FTrackPos : FPosition;
  int offset = int(int64_t(track - len) * (std::clamp(pos, FMin, std::max(FMin, top)) - FMin) / span);
  TRect a = ArrowRect(false);
  TRect c = ClientRect();
  if (FKind == sbVertical) return TRect{0, a.Bottom + offset, c.Right, a.Bottom + offset + len};
  return TRect{a.Right + offset, 0, a.Right + offset + len, c.Bottom};
}

int TScrollBar::PosFromThumb(int ThumbStart) {
  int track = TrackLength();
  int len = ThumbLength();
  int top = FPageSize > 1 ? FMax - FPageSize + 1 : FMax;
  if (track - len <= 0) return FMin;
  int rel = std::clamp(ThumbStart, 0, track - len);
  return FMin + int((int64_t(rel) * (top - FMin) + (track - len) / 2) / (track - len));
}

namespace {
// The classic track: a checker of the face and highlight colours.
void FillClassicTrack(HDC DC, const RECT& r) {
  // A scroll bar colour of its own (not the face's) paints the track plainly.
  if (GetSysColor(COLOR_SCROLLBAR) != GetSysColor(COLOR_BTNFACE)) {
    FillRect(DC, &r, GetSysColorBrush(COLOR_SCROLLBAR));
    return;
  }
  static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
  HBRUSH brush = CreatePatternBrush(pattern);
  COLORREF oldText = SetTextColor(DC, GetSysColor(COLOR_BTNFACE));
  COLORREF oldBk = SetBkColor(DC, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(DC, &r, brush);
  SetTextColor(DC, oldText);
  SetBkColor(DC, oldBk);
  DeleteObject(brush);
  DeleteObject(pattern);
}
}  // namespace

void TScrollBar::PaintWindow(HDC DC) {
  TRect c = ClientRect();
  RECT all = ToRECT(c);
  bool disabled = !Enabled() || FMax <= FMin;
  bool vert = FKind == sbVertical;
  RECT a1 = ToRECT(ArrowRect(false)), a2 = ToRECT(ArrowRect(true));
  if (HTHEME theme = IsThemeActive() && HandleAllocated() ? OpenThemeData(FHandle, "scrollbar") : nullptr) {
    RECT track = vert ? RECT{all.left, a1.bottom, all.right, a2.top} : RECT{a1.right, all.top, a2.left, all.bottom};
    DrawThemeBackground(theme, DC, vert ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ, SCRBS_NORMAL, &track, nullptr);
    auto arrowState = [&](bool second) {
      int base = disabled ? ABS_UPDISABLED : FPressedPart == (second ? spArrow2 : spArrow1) ? ABS_UPPRESSED : ABS_UPNORMAL;
      return base + (vert ? (second ? 4 : 0) : (second ? 12 : 8));
    };
    DrawThemeBackground(theme, DC, SBP_ARROWBTN, arrowState(false), &a1, nullptr);
    DrawThemeBackground(theme, DC, SBP_ARROWBTN, arrowState(true), &a2, nullptr);
    TRect t = ThumbRect();
    if (!disabled && t.Width() > 0 && t.Height() > 0) {
      RECT r = ToRECT(t);
      DrawThemeBackground(theme, DC, vert ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ, SCRBS_NORMAL, &r, nullptr);
    }
    CloseThemeData(theme);
    return;
  }
  FillClassicTrack(DC, all);
  UINT pressed1 = FPressedPart == spArrow1 ? DFCS_PUSHED | DFCS_FLAT : 0;
  UINT pressed2 = FPressedPart == spArrow2 ? DFCS_PUSHED | DFCS_FLAT : 0;
  DrawFrameControl(DC, &a1, DFC_SCROLL, (vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (disabled ? DFCS_INACTIVE : pressed1));
  DrawFrameControl(DC, &a2, DFC_SCROLL, (vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | (disabled ? DFCS_INACTIVE : pressed2));
  if (disabled) return;
  TRect t = ThumbRect();
  if (t.Width() > 0 && t.Height() > 0) {
    // The pressed part of the track shows dark.
    if (FPressedPart == spPageUp || FPressedPart == spPageDown) {
      TRect pr = vert ? (FPressedPart == spPageUp ? TRect{0, a1.bottom, c.Right, t.Top} : TRect{0, t.Bottom, c.Right, a2.top})
                      : (FPressedPart == spPageUp ? TRect{a1.right, 0, t.Left, c.Bottom} : TRect{t.Right, 0, a2.left, c.Bottom});
      RECT r = ToRECT(pr);
      FillRect(DC, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    RECT r = ToRECT(t);
    FillRect(DC, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(DC, &r, EDGE_RAISED, BF_RECT);
  }
  if (HandleAllocated() && GetFocus() == FHandle && t.Width() > 0) {
    RECT f = ToRECT(t);
    f = RECT{f.left + 2, f.top + 2, f.right - 2, f.bottom - 2};
    SetTextColor(DC, RGB(0, 0, 0));
    SetBkColor(DC, RGB(255, 255, 255));
    DrawFocusRect(DC, &f);
  }
}

void TScrollBar::Track(TPoint P) {
  // The pressed part repeats while the mouse stays on it.
  TRect t = ThumbRect();
  switch (FPressedPart) {
    case spArrow1:
      if (PointIn(ArrowRect(false), P)) DoScroll(SB_LINEUP, 0);
      break;
    case spArrow2:
      if (PointIn(ArrowRect(true), P)) DoScroll(SB_LINEDOWN, 0);
      break;
    case spPageUp:
      if (FKind == sbVertical ? P.Y < t.Top : P.X < t.Left) DoScroll(SB_PAGEUP, 0);
      break;
    case spPageDown:
      if (FKind == sbVertical ? P.Y >= t.Bottom : P.X >= t.Right) DoScroll(SB_PAGEDOWN, 0);
      break;
    default: break;
  }
}

void TScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (TabStop() && CanFocus() && !Focused()) SetFocus();
      if (!HandleAllocated() || !Enabled() || FMax <= FMin) break;
      TPoint p{Message.XPos(), Message.YPos()};
      TRect t = ThumbRect();
      if (PointIn(ArrowRect(false), p)) FPressedPart = spArrow1;
      else if (PointIn(ArrowRect(true), p)) FPressedPart = spArrow2;
      else if (t.Width() > 0 && PointIn(t, p)) FPressedPart = spThumb;
      else if (t.Width() > 0) FPressedPart = (FKind == sbVertical ? p.Y < t.Top : p.X < t.Left) ? spPageUp : spPageDown;
      else FPressedPart = spNone;
      if (FPressedPart == spThumb) {
        FGrab = FKind == sbVertical ? p.Y - t.Top : p.X - t.Left;
        FTrackPos = FPosition;
      } else if (FPressedPart != spNone) {
        Track(p);
        SetTimer(FHandle, kRepeatTimer, kFirstRepeat, nullptr);
      }
      Invalidate();
      break;
    }
    case WM_MOUSEMOVE:
      if (FPressedPart == spThumb) {
        TRect a = ArrowRect(false);
        int start = FKind == sbVertical ? Message.YPos() - FGrab - a.Bottom : Message.XPos() - FGrab - a.Right;
        int pos = PosFromThumb(start);
        if (pos != FTrackPos) {
          FTrackPos = pos;
          DoScroll(SB_THUMBTRACK, pos);
          Invalidate();
        }
      }
      break;
    case WM_TIMER:
      if (Message.WParam == kRepeatTimer) {
        SetTimer(FHandle, kRepeatTimer, kNextRepeat, nullptr);
        POINT pt;
        GetCursorPos(&pt);
        Track(ScreenToClient(ToTPoint(pt)));
        return;
      }
      break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (FPressedPart != spNone) {
        TPart part = FPressedPart;
        FPressedPart = spNone;
        if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
        if (part == spThumb) DoScroll(SB_THUMBPOSITION, FTrackPos);
        DoScroll(SB_ENDSCROLL, 0);
        Invalidate();
      }
      break;
    case WM_KEYDOWN:
      if (!DoKeyDown(Message)) {
        bool vert = FKind == sbVertical;
        switch (Message.WParam) {
          case VK_UP: if (vert) DoScroll(SB_LINEUP, 0); break;
          case VK_LEFT: if (!vert) DoScroll(SB_LINEUP, 0); break;
          case VK_DOWN: if (vert) DoScroll(SB_LINEDOWN, 0); break;
          case VK_RIGHT: if (!vert) DoScroll(SB_LINEDOWN, 0); break;
          case VK_PRIOR: DoScroll(SB_PAGEUP, 0); break;
          case VK_NEXT: DoScroll(SB_PAGEDOWN, 0); break;
          case VK_HOME: DoScroll(SB_TOP, 0); break;
          case VK_END: DoScroll(SB_BOTTOM, 0); break;
          default: break;
        }
      }
      return;
    case WM_KEYUP:
      if (!DoKeyUp(Message)) {
        switch (Message.WParam) {
          case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
          case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
            DoScroll(SB_ENDSCROLL, 0);
            break;
          default: break;
        }
      }
      return;
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(LOWORD(Message.WParam), SHORT(HIWORD(Message.WParam)));
      return;
    case SBM_SETPOS:
      SetPosition(int(Message.WParam));
      Message.Result = FPosition;
      return;
    case SBM_GETPOS: Message.Result = FPosition; return;
    case SBM_SETRANGE:
      SetParams(FPosition, int(Message.WParam), int(Message.LParam));
      return;
    case SBM_GETRANGE:
      if (Message.WParam) *reinterpret_cast<int*>(Message.WParam) = FMin;
      if (Message.LParam) *reinterpret_cast<int*>(Message.LParam) = FMax;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
      TWinControl::WndProc(Message);
      Invalidate();
      return;
    default: break;
  }
  TWinControl::WndProc(Message);
}
