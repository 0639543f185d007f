#include "platform/vcl/ComCtrls.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/vcl/Forms.h"

namespace {
constexpr int kEdge = 8;        // space between the client edge and the channel's ends
constexpr int kThumbWidth = 11; // thumb size across the channel direction
constexpr int kTickSpace = 4;   // room for the tick marks beside the thumb

COLORREF Sys(int index) { return GetSysColor(index); }

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}
}  // namespace

static const TEnumInfo* OrientationNames = RegisterEnum("TTrackBarOrientation", {"trHorizontal", "trVertical"});
static const TEnumInfo* TickMarkNames = RegisterEnum("TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"});
static const TEnumInfo* TickStyleNames = RegisterEnum("TTickStyle", {"tsNone", "tsAuto", "tsManual"});

void TTrackBar::Publish(TClassBuilder<TTrackBar>& P) {
  P.Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency, 1)
      .Int("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize, 1)
      .Int("Max", &TTrackBar::Max, &TTrackBar::SetMax, 10)
      .Int("Min", &TTrackBar::Min, &TTrackBar::SetMin, 0)
      .Enum("Orientation", OrientationNames, &TTrackBar::Orientation, &TTrackBar::SetOrientation, trHorizontal)
      .Int("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize, 2)
      .Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition, 0)
      .Int("SelEnd", &TTrackBar::SelEnd, &TTrackBar::SetSelEnd, 0)
      .Int("SelStart", &TTrackBar::SelStart, &TTrackBar::SetSelStart, 0)
      .Bool("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible, true)
      .Int("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength, 20)
      .Enum("TickMarks", TickMarkNames, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, tmBottomRight)
      .Enum("TickStyle", TickStyleNames, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, tsAuto)
      .Event("OnChange", &TTrackBar::OnChange);
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 45;
  FTabStop = true;
  FColor = clBtnFace;
  FParentColor = true;
  Brush()->SetColor(FColor);
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque};
}

TTrackBar::~TTrackBar() = default;

void TTrackBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WindowClass.style &= ~UINT(CS_DBLCLKS);
}

void TTrackBar::Changed() {
  if (OnChange) OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (!FComponentState.Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  Invalidate();
}

void TTrackBar::SetRange(int AMin, int AMax) {
  bool loading = FComponentState.Contains(csLoading);
  if (AMax < AMin && !loading) return;  // an inverted range is refused, as the control does
  FMin = AMin;
  FMax = AMax;
  int pos = loading ? FPosition : std::clamp(FPosition, FMin, std::max(FMin, FMax));
  Invalidate();
  if (pos != FPosition) {
    FPosition = pos;
    Changed();
  }
}

void TTrackBar::SetMin(int Value) { SetRange(Value, FMax); }
void TTrackBar::SetMax(int Value) { SetRange(FMin, Value); }

void TTrackBar::SetPosition(int Value) {
  if (!FComponentState.Contains(csLoading)) Value = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (Value == FPosition) return;
  FPosition = Value;
  Invalidate();
  Changed();
}

void TTrackBar::SetBoundsOfRange() {
  if (FMax < FMin) FMax = FMin;
  FPosition = std::clamp(FPosition, FMin, FMax);
}

void TTrackBar::SetFrequency(int Value) {
  if (FFrequency == Value) return;
  FFrequency = Value;
  Invalidate();
}

void TTrackBar::SetSelStart(int Value) {
  if (FSelStart == Value) return;
  FSelStart = Value;
  Invalidate();
}

void TTrackBar::SetSelEnd(int Value) {
  if (FSelEnd == Value) return;
  FSelEnd = Value;
  Invalidate();
}

void TTrackBar::SetThumbLength(int Value) {
  Value = std::max(4, Value);
  if (FThumbLength == Value) return;
  FThumbLength = Value;
  Invalidate();
}

void TTrackBar::SetSliderVisible(bool Value) {
  if (FSliderVisible == Value) return;
  FSliderVisible = Value;
  Invalidate();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (FTickMarks == Value) return;
  FTickMarks = Value;
  Invalidate();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (FTickStyle == Value) return;
  FTickStyle = Value;
  Invalidate();
}

void TTrackBar::SetTick(int Value) {
  if (Value <= FMin || Value >= FMax) return;
  if (std::find(FTicks.begin(), FTicks.end(), Value) == FTicks.end()) FTicks.push_back(Value);
  Invalidate();
}

// Geometry: along the channel direction "length", across it "depth".
TRect TTrackBar::ChannelRect() {
  TRect c = ClientRect();
  bool horz = FOrientation == trHorizontal;
  int length = horz ? c.Right : c.Bottom;
  int thumbTop = kEdge + ((FTickMarks == tmTopLeft || FTickMarks == tmBoth) && FTickStyle != tsNone ? kTickSpace : 0);
  int mid = thumbTop + FThumbLength / 2;
  if (horz) return TRect{kEdge, mid - 2, std::max(kEdge + 1, length - kEdge), mid + 2};
  return TRect{mid - 2, kEdge, mid + 2, std::max(kEdge + 1, length - kEdge)};
}

int TTrackBar::TickPixel(int Value) {
  TRect ch = ChannelRect();
  bool horz = FOrientation == trHorizontal;
  int a = (horz ? ch.Left : ch.Top) + kThumbWidth / 2;
  int b = (horz ? ch.Right : ch.Bottom) - kThumbWidth / 2 - 1;
  if (FMax <= FMin || b <= a) return a;
  long long v = std::clamp(Value, FMin, FMax) - FMin;
  return a + int(v * (b - a) / (FMax - FMin));
}

TRect TTrackBar::ThumbRect() {
  TRect ch = ChannelRect();
  bool horz = FOrientation == trHorizontal;
  int center = TickPixel(FPosition);
  int mid = horz ? (ch.Top + ch.Bottom) / 2 : (ch.Left + ch.Right) / 2;
  int top = mid - FThumbLength / 2;
  if (horz) return TRect{center - kThumbWidth / 2, top, center - kThumbWidth / 2 + kThumbWidth, top + FThumbLength};
  return TRect{top, center - kThumbWidth / 2, top + FThumbLength, center - kThumbWidth / 2 + kThumbWidth};
}

int TTrackBar::PositionFromPoint(int X, int Y) {
  TRect ch = ChannelRect();
  bool horz = FOrientation == trHorizontal;
  int a = (horz ? ch.Left : ch.Top) + kThumbWidth / 2;
  int b = (horz ? ch.Right : ch.Bottom) - kThumbWidth / 2 - 1;
  int p = horz ? X : Y;
  if (b <= a || FMax <= FMin) return FMin;
  double f = double(p - a) / double(b - a);
  int v = FMin + int(f * (FMax - FMin) + (f >= 0 ? 0.5 : -0.5));
  return std::clamp(v, FMin, FMax);
}

void TTrackBar::UserMove(int NewPosition, int Code) {
  NewPosition = std::clamp(NewPosition, FMin, std::max(FMin, FMax));
  bool changed = NewPosition != FPosition;
  if (changed) {
    FPosition = NewPosition;
    Invalidate();
  }
  if (HandleAllocated()) {
    HWND parent = GetParent(Handle());
    if (parent)
      SendMessage(parent, FOrientation == trHorizontal ? WM_HSCROLL : WM_VSCROLL,
                  MAKEWPARAM(WORD(Code), WORD(FPosition)), LPARAM(Handle()));
  }
  if (changed) Changed();
}

bool TTrackBar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  int steps = WheelDelta / WHEEL_DELTA;
  if (steps == 0) return false;
  // Turning the wheel away from the user moves towards Min, as the system control does.
  UserMove(FPosition - steps * FLineSize, steps > 0 ? TB_LINEUP : TB_LINEDOWN);
  UserMove(FPosition, TB_ENDTRACK);
  return true;
}

void TTrackBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case TBM_GETPOS: Message.Result = FPosition; return;
    case TBM_GETRANGEMIN: Message.Result = FMin; return;
    case TBM_GETRANGEMAX: Message.Result = FMax; return;
    case TBM_SETPOS: {
      int v = std::clamp(int(Message.LParam), FMin, std::max(FMin, FMax));
      if (v != FPosition) {
        FPosition = v;
        if (Message.WParam) Invalidate();
      }
      return;
    }
    case TBM_SETRANGE:
      FMin = SHORT(LOWORD(Message.LParam));
      FMax = SHORT(HIWORD(Message.LParam));
      SetBoundsOfRange();
      if (Message.WParam) Invalidate();
      return;
    case TBM_SETRANGEMIN:
      FMin = int(Message.LParam);
      SetBoundsOfRange();
      if (Message.WParam) Invalidate();
      return;
    case TBM_SETRANGEMAX:
      FMax = int(Message.LParam);
      SetBoundsOfRange();
      if (Message.WParam) Invalidate();
      return;
    case TBM_SETTICFREQ: FFrequency = int(Message.WParam); Invalidate(); return;
    case TBM_SETTIC: SetTick(int(Message.LParam)); Message.Result = 1; return;
    case TBM_CLEARTICS: FTicks.clear(); if (Message.WParam) Invalidate(); return;
    case TBM_SETPAGESIZE: Message.Result = FPageSize; FPageSize = int(Message.LParam); return;
    case TBM_GETPAGESIZE: Message.Result = FPageSize; return;
    case TBM_SETLINESIZE: Message.Result = FLineSize; FLineSize = int(Message.LParam); return;
    case TBM_GETLINESIZE: Message.Result = FLineSize; return;
    case TBM_SETSEL:
      FSelStart = SHORT(LOWORD(Message.LParam));
      FSelEnd = SHORT(HIWORD(Message.LParam));
      if (Message.WParam) Invalidate();
      return;
    case TBM_SETSELSTART: FSelStart = int(Message.LParam); if (Message.WParam) Invalidate(); return;
    case TBM_SETSELEND: FSelEnd = int(Message.LParam); if (Message.WParam) Invalidate(); return;
    case TBM_GETSELSTART: Message.Result = FSelStart; return;
    case TBM_GETSELEND: Message.Result = FSelEnd; return;
    case TBM_CLEARSEL: FSelStart = FSelEnd = 0; if (Message.WParam) Invalidate(); return;
    case TBM_SETTHUMBLENGTH: SetThumbLength(int(Message.WParam)); return;
    case TBM_GETTHUMBLENGTH: Message.Result = FThumbLength; return;
    case TBM_GETTHUMBRECT:
    case TBM_GETCHANNELRECT:
      if (auto* r = reinterpret_cast<RECT*>(Message.LParam))
        *r = ToRECT(Message.Msg == TBM_GETTHUMBRECT ? ThumbRect() : ChannelRect());
      return;
    case CN_HSCROLL:
    case CN_VSCROLL:
      Message.Result = 0;
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::WndProc(Message);
      Invalidate();
      return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_KEYDOWN: {
      TWinControl::WndProc(Message);  // OnKeyDown may take the key
      if (Message.WParam == 0) return;
      int step = 0, code = -1;
      switch (Message.WParam) {
        case VK_LEFT: case VK_UP: step = -FLineSize; code = TB_LINEUP; break;
        case VK_RIGHT: case VK_DOWN: step = FLineSize; code = TB_LINEDOWN; break;
        case VK_PRIOR: step = -FPageSize; code = TB_PAGEUP; break;
        case VK_NEXT: step = FPageSize; code = TB_PAGEDOWN; break;
        case VK_HOME: UserMove(FMin, TB_TOP); UserMove(FPosition, TB_ENDTRACK); return;
        case VK_END: UserMove(FMax, TB_BOTTOM); UserMove(FPosition, TB_ENDTRACK); return;
        default: return;
      }
      UserMove(FPosition + step, code);
      UserMove(FPosition, TB_ENDTRACK);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (CanFocus() && !Focused()) SetFocus();
      int x = Message.XPos(), y = Message.YPos();
      TRect thumb = ThumbRect();
      if (FSliderVisible && x >= thumb.Left && x < thumb.Right && y >= thumb.Top && y < thumb.Bottom) {
        FTracking = true;
        int center = FOrientation == trHorizontal ? (thumb.Left + thumb.Right) / 2 : (thumb.Top + thumb.Bottom) / 2;
        FTrackOffset = (FOrientation == trHorizontal ? x : y) - center;
      } else {
        int target = PositionFromPoint(x, y);
        if (target < FPosition) UserMove(FPosition - FPageSize < target ? target : FPosition - FPageSize, TB_PAGEUP);
        else if (target > FPosition)
          UserMove(FPosition + FPageSize > target ? target : FPosition + FPageSize, TB_PAGEDOWN);
        FPaging = true;
      }
      TWinControl::WndProc(Message);
      return;
    }
    case WM_MOUSEMOVE:
      if (FTracking) {
        int x = Message.XPos(), y = Message.YPos();
        if (FOrientation == trHorizontal) x -= FTrackOffset;
        else y -= FTrackOffset;
        int target = PositionFromPoint(x, y);
        if (target != FPosition) UserMove(target, TB_THUMBTRACK);
      }
      TWinControl::WndProc(Message);
      return;
    case WM_LBUTTONUP:
      if (FTracking) {
        FTracking = false;
        UserMove(FPosition, TB_THUMBPOSITION);
        UserMove(FPosition, TB_ENDTRACK);
      } else if (FPaging) {
        FPaging = false;
        UserMove(FPosition, TB_ENDTRACK);
      }
      TWinControl::WndProc(Message);
      return;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (FTracking) {
        FTracking = false;
        UserMove(FPosition, TB_ENDTRACK);
      }
      FPaging = false;
      TWinControl::WndProc(Message);
      return;
    default: break;
  }
  TWinControl::WndProc(Message);
}

void TTrackBar::PaintWindow(HDC DC) {
  RECT client = ToRECT(ClientRect());
  HBRUSH back = CreateSolidBrush(ColorToRGB(Color()));
  FillRect(DC, &client, back);
  DeleteObject(back);
  bool horz = FOrientation == trHorizontal;

  // Channel: a sunken groove with the selection range highlighted.
  RECT ch = ToRECT(ChannelRect());
  bool luna = IsThemeActive() != FALSE;
  if (luna) {
    // Luna's channel: a flat grey-edged groove.
    HBRUSH edge = CreateSolidBrush(RGB(157, 156, 153));
    FrameRect(DC, &ch, edge);
    DeleteObject(edge);
    ch = RECT{ch.left + 1, ch.top + 1, ch.right - 1, ch.bottom - 1};
  } else {
    DrawEdge(DC, &ch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  HBRUSH win = CreateSolidBrush(luna ? RGB(231, 234, 234) : Sys(COLOR_WINDOW));
  FillRect(DC, &ch, win);
  DeleteObject(win);
  if (FSelEnd > FSelStart) {
    RECT sel = ch;
    if (horz) {
      sel.left = TickPixel(FSelStart);
      sel.right = TickPixel(FSelEnd) + 1;
    } else {
      sel.top = TickPixel(FSelStart);
      sel.bottom = TickPixel(FSelEnd) + 1;
    }
    HBRUSH hl = CreateSolidBrush(Sys(COLOR_HIGHLIGHT));
    FillRect(DC, &sel, hl);
    DeleteObject(hl);
  }

  // Ticks: at Min and Max always, between them every Frequency (tsAuto) or at the set ones.
  TRect thumbBox = ThumbRect();
  if (FTickStyle != tsNone) {
    std::vector<int> ticks{FMin, FMax};
    if (FTickStyle == tsAuto && FFrequency > 0 && FMax > FMin) {
      for (long long v = FMin + FFrequency; v < FMax; v += FFrequency) ticks.push_back(int(v));
    } else if (FTickStyle == tsManual) {
      ticks.insert(ticks.end(), FTicks.begin(), FTicks.end());
    }
    COLORREF tickColor = Sys(COLOR_BTNTEXT);
    for (int v : ticks) {
      int p = TickPixel(v);
      bool edge = v == FMin || v == FMax;
      int len = edge ? 4 : 3;
      if (FTickMarks == tmBottomRight || FTickMarks == tmBoth) {
        int base = (horz ? thumbBox.Bottom : thumbBox.Right) + 2;
        if (horz) Line(DC, p, base, p, base + len, tickColor);
        else Line(DC, base, p, base + len, p, tickColor);
      }
      if (FTickMarks == tmTopLeft || FTickMarks == tmBoth) {
        int base = (horz ? thumbBox.Top : thumbBox.Left) - 3;
        if (horz) Line(DC, p, base, p, base - len, tickColor);
        else Line(DC, base, p, base - len, p, tickColor);
      }
    }
  }

  // Thumb: a raised button face, pointed towards the ticks when they are on one side.
  if (FSliderVisible) {
    RECT t = ToRECT(thumbBox);
    COLORREF face = Enabled() && !FTracking ? Sys(COLOR_BTNFACE) : Sys(COLOR_3DLIGHT);
    COLORREF light = Sys(COLOR_BTNHIGHLIGHT), shadow = Sys(COLOR_BTNSHADOW), dark = Sys(COLOR_3DDKSHADOW);
    if (luna) {
      // Luna's thumb: a light face in a dark blue outline.
      face = Enabled() && !FTracking ? RGB(245, 245, 240) : RGB(236, 233, 216);
      light = shadow = dark = Enabled() ? RGB(28, 81, 128) : RGB(201, 199, 186);
    }
    bool pointed = FTickMarks != tmBoth && FTickStyle != tsNone;
    if (!pointed) {
      HBRUSH fb = CreateSolidBrush(face);
      FillRect(DC, &t, fb);
      DeleteObject(fb);
      DrawEdge(DC, &t, EDGE_RAISED, BF_RECT);
    } else {
      // Five corners: the body and a point of half the thumb's width.
      int w = kThumbWidth, half = w / 2;
      std::vector<POINT> pts;
      if (horz && FTickMarks == tmBottomRight) {
        int bodyBottom = t.bottom - half - 1;
        pts = {{t.left, t.top}, {t.right - 1, t.top}, {t.right - 1, bodyBottom}, {t.left + half, t.bottom - 1},
               {t.left, bodyBottom}};
      } else if (horz) {
        int bodyTop = t.top + half + 1;
        pts = {{t.left + half, t.top}, {t.right - 1, bodyTop}, {t.right - 1, t.bottom - 1}, {t.left, t.bottom - 1},
               {t.left, bodyTop}};
      } else if (FTickMarks == tmBottomRight) {
        int bodyRight = t.right - half - 1;
        pts = {{t.left, t.top}, {bodyRight, t.top}, {t.right - 1, t.top + half}, {bodyRight, t.bottom - 1},
               {t.left, t.bottom - 1}};
      } else {
        int bodyLeft = t.left + half + 1;
        pts = {{bodyLeft, t.top}, {t.right - 1, t.top}, {t.right - 1, t.bottom - 1}, {bodyLeft, t.bottom - 1},
               {t.left, t.top + half}};
      }
      HBRUSH fb = CreateSolidBrush(face);
      HPEN np = CreatePen(PS_SOLID, 1, face);
      HGDIOBJ ob = SelectObject(DC, fb), op = SelectObject(DC, np);
      Polygon(DC, pts.data(), int(pts.size()));
      SelectObject(DC, ob);
      SelectObject(DC, op);
      DeleteObject(fb);
      DeleteObject(np);
      // Light on the edges facing up and left, dark on the others.
      for (size_t i = 0; i < pts.size(); ++i) {
        POINT a = pts[i], b = pts[(i + 1) % pts.size()];
        // The corners go clockwise on the screen: (dy, -dx) points out of the shape.
        int nx = b.y - a.y, ny = -(b.x - a.x);
        bool litEdge = nx < 0 || (nx == 0 && ny < 0);
        Line(DC, a.x, a.y, b.x, b.y, litEdge ? light : dark);
      }
      // An inner shadow line along the dark edges of the body.
      if (horz && FTickMarks == tmBottomRight) Line(DC, t.right - 2, t.top + 1, t.right - 2, t.bottom - half - 1, shadow);
      else if (horz) Line(DC, t.right - 2, t.top + half + 2, t.right - 2, t.bottom - 2, shadow);
      else if (FTickMarks == tmBottomRight) Line(DC, t.left + 1, t.bottom - 2, t.right - half - 1, t.bottom - 2, shadow);
      else Line(DC, t.left + half + 2, t.bottom - 2, t.right - 2, t.bottom - 2, shadow);
    }
  }

  if (Focused()) {
    RECT f = client;
    DrawFocusRect(DC, &f);
  }
}

// Every class of the unit can be named in a stored form.
static const bool kComCtrlsRegistered = [] {
  RegisterClass(TTrackBar::StaticClass());
  return true;
}();
