// The default window procedure: the behaviour every window has unless its procedure
// handles a message itself, including the caption buttons and the window's scroll bars
// (nested loops, as the system runs them). A press on the caption or a sizing border
// becomes WM_SYSCOMMAND SC_MOVE or SC_SIZE, whose loops are in SizeMoveLoop.cpp.
#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/TrackLoop.h"
#include "platform/win/WinIcon.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

struct TTrack {
  RECT Bar{};       // window coordinates
  RECT Arrow1{}, Arrow2{}, Thumb{};
  int TrackStart = 0, TrackLen = 0, ThumbLen = 0;
  bool Vertical = true;
};

TTrack ScrollGeometry(HWND h, int bar) {
  TTrack t;
  t.Bar = ScrollBarRect(h, bar);
  t.Vertical = bar == SB_VERT;
  if (RectEmpty(t.Bar)) return t;
  int len = t.Vertical ? RectHeight(t.Bar) : RectWidth(t.Bar);
  int arrow = std::min(ScrollArrowLength(h, bar), len / 2);
  if (t.Vertical) {
    t.Arrow1 = MakeRect(t.Bar.left, t.Bar.top, t.Bar.right, t.Bar.top + arrow);
    t.Arrow2 = MakeRect(t.Bar.left, t.Bar.bottom - arrow, t.Bar.right, t.Bar.bottom);
  } else {
    t.Arrow1 = MakeRect(t.Bar.left, t.Bar.top, t.Bar.left + arrow, t.Bar.bottom);
    t.Arrow2 = MakeRect(t.Bar.right - arrow, t.Bar.top, t.Bar.right, t.Bar.bottom);
  }
  t.TrackStart = (t.Vertical ? t.Bar.top : t.Bar.left) + arrow;
  t.TrackLen = len - 2 * arrow;
  const TScrollBarState& sb = h->Scroll[bar];
  int range = sb.Max - sb.Min + 1;
  if (range <= 0 || t.TrackLen < 8 || sb.Max <= sb.Min) return t;
  int thumb = sb.Page ? int((long long)t.TrackLen * sb.Page / range) : ScrollThumbLength(h, bar);
  thumb = std::clamp(thumb, std::min(8, t.TrackLen), t.TrackLen);
  t.ThumbLen = thumb;
  int maxPos = sb.Max - std::max(int(sb.Page) - 1, 0);
  int span = maxPos - sb.Min;
  int offset = span > 0 ? int((long long)(t.TrackLen - thumb) * (std::clamp(sb.Pos, sb.Min, maxPos) - sb.Min) / span) : 0;
  int start = t.TrackStart + offset;
  t.Thumb = t.Vertical ? MakeRect(t.Bar.left, start, t.Bar.right, start + thumb)
                       : MakeRect(start, t.Bar.top, start + thumb, t.Bar.bottom);
  return t;
}

int PosFromThumb(HWND h, int bar, const TTrack& t, int thumbStart) {
  const TScrollBarState& sb = h->Scroll[bar];
  int maxPos = sb.Max - std::max(int(sb.Page) - 1, 0);
  int free = t.TrackLen - t.ThumbLen;
  if (free <= 0) return sb.Min;
  int offset = std::clamp(thumbStart - t.TrackStart, 0, free);
  return sb.Min + int(((long long)(maxPos - sb.Min) * offset + free / 2) / free);
}

POINT ToWindow(HWND h, POINT screen) {
  POINT o = WindowOriginOnScreen(h);
  return POINT{screen.x - o.x, screen.y - o.y};
}

void TrackCaptionButton(HWND h, int hit) {
  h->NcPressed = hit;
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  POINT release{};
  bool released = TrackLoop(
      h, MSGF_NEXTWINDOW,
      [&](POINT p) {
        int over = RectContains(CaptionButtonRect(h, hit), ToWindow(h, p)) ? hit : 0;
        if (over != h->NcPressed) {
          h->NcPressed = over;
          RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        }
      },
      &release);
  if (!Valid(h)) return;
  h->NcPressed = 0;
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  if (!released || !RectContains(CaptionButtonRect(h, hit), ToWindow(h, release))) return;
  UINT cmd = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : (h->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
  SendMessage(h, WM_SYSCOMMAND, cmd, PointToLParam(release));
}

void TrackScrollBar(HWND h, int hit, POINT screen) {
  int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  TTrack t = ScrollGeometry(h, bar);
  POINT p = ToWindow(h, screen);
  const TScrollBarState& sb = h->Scroll[bar];
  if (sb.Max <= sb.Min || (sb.Disabled == ESB_DISABLE_BOTH)) return;
  int coord = t.Vertical ? p.y : p.x;
  POINT release{};
  if (!RectEmpty(t.Thumb) && RectContains(t.Thumb, p)) {
    int grab = coord - (t.Vertical ? t.Thumb.top : t.Thumb.left);
    int last = sb.Pos;
    h->Scroll[bar].TrackPos = sb.Pos;
    TrackLoop(
        h, MSGF_SCROLLBAR,
        [&](POINT sp) {
          POINT wp = ToWindow(h, sp);
          int pos = PosFromThumb(h, bar, t, (t.Vertical ? wp.y : wp.x) - grab);
          if (pos != last) {
            last = pos;
            h->Scroll[bar].TrackPos = pos;
            SendMessage(h, msg, MAKEWPARAM(SB_THUMBTRACK, WORD(pos)), 0);
          }
        },
        &release);
    if (!Valid(h)) return;
    SendMessage(h, msg, MAKEWPARAM(SB_THUMBPOSITION, WORD(last)), 0);
  } else {
    int code;
    if (RectContains(t.Arrow1, p)) code = SB_LINEUP;
    else if (RectContains(t.Arrow2, p)) code = SB_LINEDOWN;
    else if (!RectEmpty(t.Thumb) && coord < (t.Vertical ? t.Thumb.top : t.Thumb.left)) code = SB_PAGEUP;
    else code = SB_PAGEDOWN;
    SendMessage(h, msg, MAKEWPARAM(WORD(code), 0), 0);
    if (!Valid(h)) return;
    TrackLoop(h, MSGF_SCROLLBAR, [](POINT) {}, &release);
  }
  if (Valid(h)) SendMessage(h, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

HCURSOR SizeCursor(int hit) {
  switch (hit) {
    case HTLEFT: case HTRIGHT: return LoadCursor(nullptr, IDC_SIZEWE);
    case HTTOP: case HTBOTTOM: return LoadCursor(nullptr, IDC_SIZENS);
    case HTTOPLEFT: case HTBOTTOMRIGHT: return LoadCursor(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT: case HTBOTTOMLEFT: return LoadCursor(nullptr, IDC_SIZENESW);
  }
  return LoadCursor(nullptr, IDC_ARROW);
}

}  // namespace

namespace winsys {

bool ScrollThumbRect(HWND h, int bar, RECT* thumb) {
  TTrack t = ScrollGeometry(h, bar);
  *thumb = t.Thumb;
  return !RectEmpty(t.Thumb);
}

bool ScrollPartRects(HWND h, int bar, RECT* arrow1, RECT* arrow2, RECT* thumb) {
  TTrack t = ScrollGeometry(h, bar);
  *arrow1 = t.Arrow1;
  *arrow2 = t.Arrow2;
  *thumb = t.Thumb;
  return !RectEmpty(t.Bar);
}

void NcLButtonDown(HWND h, int hit, POINT screen) {
  switch (hit) {
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON: TrackCaptionButton(h, hit); break;
    case HTVSCROLL:
    case HTHSCROLL: TrackScrollBar(h, hit, screen); break;
    case HTCAPTION: SendMessage(h, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, PointToLParam(screen)); break;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM: case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessage(h, WM_SYSCOMMAND, SC_SIZE | WPARAM(SizingEdgeFromHitTest(hit)), PointToLParam(screen));
      break;
    case HTMENU: MenuBarMouseDown(h, screen); break;
    default: break;
  }
}

}  // namespace winsys

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (!Valid(h)) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) h->Text = cs->lpszName;
      h->Scroll[SB_HORZ].Visible = h->Style & WS_HSCROLL;
      h->Scroll[SB_VERT].Visible = h->Style & WS_VSCROLL;
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      if (wp) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
        RECT r = p->rgrc[0];
        RECT c = DefaultClientRect(h, r);
        p->rgrc[0] = RectOffset(c, r.left, r.top);
      } else if (lp) {
        auto* r = reinterpret_cast<RECT*>(lp);
        *r = RectOffset(DefaultClientRect(h, *r), r->left, r->top);
      }
      return 0;
    }
    case WM_NCHITTEST: return DefaultHitTest(h, LParamToPoint(lp));
    case WM_NCPAINT: {
      HDC dc = GetDCEx(h, nullptr, DCX_WINDOW);
      if (!dc) return 0;
      ExcludeClipRect(dc, h->Client.left, h->Client.top, h->Client.right, h->Client.bottom);
      DrawNonClient(h, dc);
      ReleaseDC(h, dc);
      return 0;
    }
    case WM_NCACTIVATE:
      if (h->NcActive != (wp != 0)) {
        h->NcActive = wp != 0;
        if ((h->Style & WS_CAPTION) == WS_CAPTION) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      }
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) SetFocus(h);
      return 0;
    case WM_MOUSEACTIVATE:
      if (h->Parent) {
        LRESULT r = SendMessage(h->Parent, WM_MOUSEACTIVATE, wp, lp);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR: {
      if (h->Parent && SendMessage(h->Parent, WM_SETCURSOR, wp, lp)) return TRUE;
      int hit = SHORT(LOWORD(DWORD_PTR(lp)));
      if (hit == HTCLIENT) {
        if (h->Class->Cursor) SetCursor(h->Class->Cursor);
        return h->Class->Cursor ? TRUE : FALSE;
      }
      if (hit == HTERROR) {
        if (HIWORD(DWORD_PTR(lp)) == WM_LBUTTONDOWN) MessageBeep(0);
        return TRUE;
      }
      SetCursor((h->Style & WS_THICKFRAME) ? SizeCursor(hit) : LoadCursor(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = h->Class->Background;
      if (!brush || !wp) return 0;
      RECT r = MakeRect(0, 0, RectWidth(h->Client), RectHeight(h->Client));
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(h, &ps)) EndPaint(h, &ps);
      return 0;
    }
    case WM_CLOSE: DestroyWindow(h); return 0;
    case WM_SYSCOMMAND:
      switch (wp & 0xFFF0) {
        case SC_CLOSE: SendMessage(h, WM_CLOSE, 0, 0); break;
        case SC_MINIMIZE: ShowWindow(h, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(h, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(h, SW_RESTORE); break;
        case SC_KEYMENU: MenuKeyCommand(h, UINT(lp)); break;
        case SC_MOUSEMENU: MenuBarMouseDown(h, LParamToPoint(lp)); break;
        case SC_MOVE: case SC_SIZE: SizeMoveLoop(h, UINT(wp), LParamToPoint(lp)); break;
        default: break;
      }
      return 0;
    case WM_NCLBUTTONDOWN: NcLButtonDown(h, int(SHORT(wp)), LParamToPoint(lp)); return 0;
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTCAPTION && (h->Style & WS_MAXIMIZEBOX))
        SendMessage(h, WM_SYSCOMMAND, (h->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lp);
      else if (wp == HTSYSMENU)
        SendMessage(h, WM_SYSCOMMAND, SC_CLOSE, lp);
      else if (wp == HTVSCROLL || wp == HTHSCROLL)
        NcLButtonDown(h, int(wp), LParamToPoint(lp));
      return 0;
    case WM_RBUTTONUP: {
      POINT p = LParamToPoint(lp);
      ClientToScreen(h, &p);
      SendMessage(h, WM_CONTEXTMENU, WPARAM(h), PointToLParam(p));
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessage(h, WM_CONTEXTMENU, WPARAM(h), lp);
      return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      if (h->Parent) return SendMessage(h->Parent, msg, wp, lp);
      return 0;
    case WM_SYSKEYDOWN:
      MenuAltKeyDown(msg, wp);
      if (wp == WPARAM(VK_F4) && (lp & (LPARAM(1) << 29)))
        SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_KEYDOWN:
      MenuAltKeyDown(msg, wp);
      return 0;
    case WM_SYSKEYUP:
      // Alt released alone, or F10: the menu bar (Shift+F10: the context menu).
      if (MenuAltKeyUp(h, msg, wp)) {
        if (wp == WPARAM(VK_F10) && GetKeyState(VK_SHIFT) < 0) SendMessage(h, WM_CONTEXTMENU, WPARAM(h), LPARAM(-1));
        else SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_SYSCHAR:
      // Alt and a letter: the menu bar item with that accelerator.
      if (lp & (LPARAM(1) << 29)) SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wp));
      return 0;
    case WM_NCMOUSEMOVE:
      MenuBarHotTrack(h, LParamToPoint(lp), wp == HTMENU);
      return 0;
    case WM_NCMOUSELEAVE:
      MenuBarHotTrack(h, POINT{}, false);
      return 0;
    case WM_SETTEXT:
      h->Text = lp ? reinterpret_cast<const char*>(lp) : "";
      if ((h->Style & WS_CAPTION) == WS_CAPTION) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(lp);
      int size = int(wp);
      if (!buffer || size <= 0) return 0;
      int n = std::min<int>(int(h->Text.size()), size - 1);
      std::memcpy(buffer, h->Text.data(), size_t(n));
      buffer[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH: return LRESULT(h->Text.size());
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (pos && !(pos->flags & SWP_NOMOVE)) {
        RECT cp = ClientRectInParent(h);
        SendMessage(h, WM_MOVE, 0, MAKELPARAM(WORD(cp.left), WORD(cp.top)));
      }
      if (pos && (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) && Valid(h)) {
        WPARAM type = (h->Style & WS_MINIMIZE) ? SIZE_MINIMIZED : (h->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(h, WM_SIZE, type, MAKELPARAM(WORD(RectWidth(h->Client)), WORD(RectHeight(h->Client))));
      }
      return 0;
    }
    case WM_SETREDRAW: h->RedrawOff = wp == 0; return 0;
    case WM_SETICON: {
      // The window keeps the handles only; whoever made the icons frees them.
      HICON& slot = wp == ICON_BIG ? h->IconBig : h->IconSmall;
      HICON old = slot;
      slot = reinterpret_cast<HICON>(lp);
      if (old != slot && IsTopLevel(h)) {
        if ((h->Style & WS_CAPTION) == WS_CAPTION) RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        CurrentBackend().TopLevelIconChanged(h);
      }
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
      if (wp == ICON_BIG) return reinterpret_cast<LRESULT>(h->IconBig);
      if (wp == ICON_SMALL2 && !h->IconSmall) return reinterpret_cast<LRESULT>(h->IconBig);
      return reinterpret_cast<LRESULT>(h->IconSmall);
    case WM_CANCELMODE:
      if (GetCapture() == h) ReleaseCapture();
      return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      if (mm) {
        SIZE s = CurrentBackend().ScreenSize();
        mm->ptMaxSize = POINT{s.cx, s.cy};
        mm->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        mm->ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
      }
      return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      auto dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
      return LRESULT(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE));
    }
    default: return 0;
  }
}
