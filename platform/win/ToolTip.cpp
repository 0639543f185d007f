// The tool-tip window class in balloon style.
#include "platform/win/ToolTip.h"

#include <cairo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"

namespace {

// Geometry of the balloon (pixels).
constexpr int kPad = 9;            // inside the body, around the contents
constexpr int kIconSize = 16;
constexpr int kIconGap = 6;        // icon to title
constexpr int kLineGap = 6;        // title row to text
constexpr int kCorner = 13;        // diameter of the body's rounded corners
constexpr int kStemHeight = 18;
constexpr int kStemWidth = 16;     // the stem's base along the body's edge
constexpr int kStemInset = 20;     // stem point to the body's left edge, where there is room
constexpr int kMaxTextWidth = 320;
constexpr int kMaxTitleWidth = 400;
constexpr UINT_PTR kTimeoutTimer = 1;

struct TTip {
  TBalloonTipParams Params;
  bool Below = true;
  RECT Body{};      // client coordinates
  POINT Apex{};     // client coordinates of the stem's tip
  int StemLeft = 0;  // client x of the stem base's left end
  int RowHeight = 0;
  SIZE TitleSize{}, TextSize{};
  HBITMAP Backdrop = nullptr;  // what lies under the window, for the corners outside the shape
  bool Closed = false;         // hidden and the tool told
  // Set for the balloon of a tool-tip control: going hides the window, which stays.
  bool Control = false;
  COLORREF TextColor = CLR_INVALID, BkColor = CLR_INVALID;  // CLR_INVALID: the system's
};

std::map<HWND, std::unique_ptr<TTip>>& Tips() {
  static std::map<HWND, std::unique_ptr<TTip>> tips;
  return tips;
}

TTip* Tip(HWND h) {
  auto it = Tips().find(h);
  return it == Tips().end() ? nullptr : it->second.get();
}

HHOOK gMouseHook = nullptr;

bool HasIcon(const TTip& t) { return t.Params.Icon >= TTI_INFO && t.Params.Icon <= TTI_ERROR; }
bool HasRow(const TTip& t) { return HasIcon(t) || !t.Params.Title.empty(); }

// The balloon's fonts: the system's tool-tip (status) font, and its bold form for titles.
struct TTipFonts {
  HFONT Text = nullptr, Title = nullptr;
  TTipFonts() {
    NONCLIENTMETRICS ncm;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    Text = CreateFontIndirect(&ncm.lfStatusFont);
    LOGFONT bold = ncm.lfStatusFont;
    bold.lfWeight = FW_BOLD;
    Title = CreateFontIndirect(&bold);
  }
  ~TTipFonts() {
    DeleteObject(Text);
    DeleteObject(Title);
  }
  TTipFonts(const TTipFonts&) = delete;
  TTipFonts& operator=(const TTipFonts&) = delete;
};

constexpr UINT kTitleFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;

SIZE Measure(HDC dc, HFONT font, const std::u16string& s, UINT format, int maxWidth) {
  if (s.empty()) return SIZE{0, 0};
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc, s.c_str(), int(s.size()), &r, (format & ~UINT(DT_END_ELLIPSIS)) | DT_CALCRECT);
  SelectObject(dc, old);
  return SIZE{std::min<LONG>(r.right - r.left, maxWidth), r.bottom - r.top};
}

// Sizes the contents and places the window for the stem point. Returns the window
// rectangle on the screen.
RECT Layout(TTip& t) {
  TTipFonts fonts;
  HDC dc = CreateCompatibleDC(nullptr);
  t.TitleSize = Measure(dc, fonts.Title, t.Params.Title, kTitleFormat, kMaxTitleWidth);
  t.TextSize = Measure(dc, fonts.Text, t.Params.Text, kTextFormat, kMaxTextWidth);
  DeleteDC(dc);

  int rowWidth = 0;
  t.RowHeight = 0;
  if (HasRow(t)) {
    rowWidth = (HasIcon(t) ? kIconSize + (t.Params.Title.empty() ? 0 : kIconGap) : 0) + t.TitleSize.cx;
    t.RowHeight = std::max<int>(HasIcon(t) ? kIconSize : 0, t.TitleSize.cy);
  }
  const int gap = HasRow(t) && !t.Params.Text.empty() ? kLineGap : 0;
  const int width = std::max<int>({rowWidth, t.TextSize.cx, 0}) + 2 * kPad;
  const int bodyW = std::max(width, kStemInset + kStemWidth + kCorner);
  const int bodyH = std::max<int>(kPad + t.RowHeight + gap + t.TextSize.cy + kPad, kCorner + 2);

  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  POINT stem = t.Params.Stem;
  const int total = bodyH + kStemHeight;
  const int aboveY = stem.y - std::max(0, t.Params.LineHeight);
  t.Below = stem.y + total <= work.bottom || aboveY - total + 1 < work.top;
  if (!t.Below) stem.y = aboveY;
  const int left = std::clamp<int>(stem.x - kStemInset, work.left, std::max<int>(work.left, work.right - bodyW));
  const int top = t.Below ? stem.y : stem.y - total + 1;

  t.Body = t.Below ? RECT{0, kStemHeight, bodyW, total} : RECT{0, 0, bodyW, bodyH};
  t.Apex = POINT{std::clamp<int>(stem.x - left, 0, bodyW - 1), t.Below ? 0 : total - 1};
  t.StemLeft = std::clamp<int>(t.Apex.x, kCorner / 2 + 1, bodyW - kCorner / 2 - 1 - kStemWidth);
  return RECT{left, top, left + bodyW, top + total};
}

// The balloon's outline: the rounded body and the stem as one region (client coordinates).
HRGN ShapeRegion(const TTip& t) {
  HRGN shape = CreateRoundRectRgn(t.Body.left, t.Body.top, t.Body.right, t.Body.bottom, kCorner, kCorner);
  // The stem's base reaches a little into the body so the two join without a seam.
  // Its tip is one pixel wide so that the region (which leaves out right and bottom edges)
  // still covers the stem point.
  const int baseY = t.Below ? t.Body.top + 2 : t.Body.bottom - 3;
  const int tipY = t.Below ? t.Apex.y : t.Apex.y + 1;
  const POINT stem[4] = {{t.Apex.x, tipY}, {t.Apex.x + 1, tipY}, {t.StemLeft + kStemWidth, baseY}, {t.StemLeft, baseY}};
  HRGN triangle = CreatePolygonRgn(stem, 4, WINDING);
  CombineRgn(shape, shape, triangle, RGN_OR);
  DeleteObject(triangle);
  return shape;
}

// What lies under the balloon: the owner's window where it covers the place, the desktop
// colour elsewhere.
HBITMAP CaptureBackdrop(HWND tool, const RECT& at) {
  const int w = at.right - at.left, h = at.bottom - at.top;
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, w, h);
  cairo_surface_t* target = bitmap ? GetBitmapSurface(bitmap) : nullptr;
  if (!target) return bitmap;
  cairo_surface_flush(target);
  cairo_t* cr = cairo_create(target);
  const COLORREF desk = GetSysColor(COLOR_BACKGROUND);
  cairo_set_source_rgb(cr, GetRValue(desk) / 255.0, GetGValue(desk) / 255.0, GetBValue(desk) / 255.0);
  cairo_paint(cr);
  HWND root = GetAncestor(tool, GA_ROOT);
  RECT rootRect{};
  if (root && IsWindowVisible(root) && GetWindowRect(root, &rootRect)) {
    RedrawWindow(root, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // its pending paint first
    if (auto* below = reinterpret_cast<cairo_surface_t*>(GetWindowSurface(root))) {
      cairo_surface_flush(below);
      cairo_set_source_surface(cr, below, rootRect.left - at.left, rootRect.top - at.top);
      cairo_paint(cr);
    }
  }
  cairo_destroy(cr);
  cairo_surface_mark_dirty(target);
  return bitmap;
}

// The title icons, drawn with GDI shapes in a 16×16 cell at (x, y).
void DrawTipIcon(HDC dc, int icon, int x, int y) {
  auto shape = [&](COLORREF fill, COLORREF edge) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
    if (icon == TTI_WARNING) {
      const POINT tri[3] = {{x + 7, y}, {x + 15, y + 15}, {x, y + 15}};
      Polygon(dc, tri, 3);
    } else {
      Ellipse(dc, x, y, x + 16, y + 16);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  };
  auto block = [&](int l, int t, int r, int b, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    RECT rc{x + l, y + t, x + r, y + b};
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
  };
  switch (icon) {
    case TTI_INFO:
      shape(RGB(38, 112, 214), RGB(18, 66, 150));
      block(7, 3, 9, 5, RGB(255, 255, 255));   // the dot of the "i"
      block(7, 6, 9, 13, RGB(255, 255, 255));  // its stroke
      break;
    case TTI_WARNING:
      shape(RGB(255, 206, 40), RGB(150, 105, 0));
      block(7, 5, 9, 11, RGB(0, 0, 0));   // the stroke of the "!"
      block(7, 12, 9, 14, RGB(0, 0, 0));  // its dot
      break;
    case TTI_ERROR: {
      shape(RGB(222, 44, 44), RGB(140, 10, 10));
      HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 255, 255));
      HGDIOBJ old = SelectObject(dc, pen);
      MoveToEx(dc, x + 5, y + 5, nullptr);
      LineTo(dc, x + 11, y + 11);
      MoveToEx(dc, x + 10, y + 5, nullptr);
      LineTo(dc, x + 4, y + 11);
      SelectObject(dc, old);
      DeleteObject(pen);
      break;
    }
    default: break;
  }
}

COLORREF TipTextColor(const TTip& t) {
  return t.TextColor == CLR_INVALID ? GetSysColor(COLOR_INFOTEXT) : t.TextColor;
}
COLORREF TipBkColor(const TTip& t) { return t.BkColor == CLR_INVALID ? GetSysColor(COLOR_INFOBK) : t.BkColor; }

void PaintTip(HWND h, const TTip& t, HDC dc) {
  RECT client;
  GetClientRect(h, &client);
  if (t.Backdrop) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, t.Backdrop);
    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BACKGROUND));
  }
  HRGN shape = ShapeRegion(t);
  HBRUSH back = CreateSolidBrush(TipBkColor(t));
  FillRgn(dc, shape, back);
  DeleteObject(back);
  FrameRgn(dc, shape, GetSysColorBrush(COLOR_INFOTEXT), 1, 1);
  DeleteObject(shape);

  TTipFonts fonts;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TipTextColor(t));
  const int x = t.Body.left + kPad;
  int y = t.Body.top + kPad;
  if (HasRow(t)) {
    int textX = x;
    if (HasIcon(t)) {
      DrawTipIcon(dc, t.Params.Icon, x, y + (t.RowHeight - kIconSize) / 2);
      textX += kIconSize + kIconGap;
    }
    if (!t.Params.Title.empty()) {
      HGDIOBJ old = SelectObject(dc, fonts.Title);
      RECT r{textX, y + (t.RowHeight - t.TitleSize.cy) / 2, textX + t.TitleSize.cx, y + t.RowHeight};
      DrawTextW(dc, t.Params.Title.c_str(), int(t.Params.Title.size()), &r, kTitleFormat);
      SelectObject(dc, old);
    }
    y += t.RowHeight + (t.Params.Text.empty() ? 0 : kLineGap);
  }
  if (!t.Params.Text.empty()) {
    HGDIOBJ old = SelectObject(dc, fonts.Text);
    RECT r{x, y, x + t.TextSize.cx, y + t.TextSize.cy};
    DrawTextW(dc, t.Params.Text.c_str(), int(t.Params.Text.size()), &r, kTextFormat);
    SelectObject(dc, old);
  }
}

// Tells the tool once.
void NotifyClosed(HWND h, TTip& t) {
  if (t.Closed) return;
  t.Closed = true;
  if (t.Params.OnClosed) t.Params.OnClosed(t.Params.Tool, h);
}

// ---- The tool-tip control ----------------------------------------------------------
constexpr UINT_PTR kShowTimer = 2;

LRESULT MouseHook(int code, WPARAM wp, LPARAM lp);

struct TTool {
  UINT Flags = 0;
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  RECT Rect{};
  bool Callback = false;
  std::string Text;
  LPARAM Param = 0;
  // The window whose mouse messages reach this tool.
  HWND Window() const { return (Flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(Id) : Wnd; }
};

struct TToolCtl {
  std::vector<TTool> Tools;
  int Delay[4] = {-1, -1, -1, -1};  // by TTDT_*; negative: the default
  COLORREF TextColor = CLR_INVALID, BkColor = CLR_INVALID;
  std::string Title;
  int Icon = TTI_NONE;
  enum TState { Idle, Waiting, Shown } State = Idle;
  int Current = -1;  // the tool waited on or shown
};

std::map<HWND, std::unique_ptr<TToolCtl>>& Ctls() {
  static std::map<HWND, std::unique_ptr<TToolCtl>> ctls;
  return ctls;
}

TToolCtl* Ctl(HWND h) {
  auto it = Ctls().find(h);
  return it == Ctls().end() ? nullptr : it->second.get();
}

// Delays in milliseconds. Unset ones follow the double-click time: the initial delay is
// that time, the reshow delay a fifth of it and the auto-pop delay ten times it.
UINT DelayOf(const TToolCtl& c, int which) {
  const UINT base = GetDoubleClickTime();
  switch (which) {
    case TTDT_RESHOW: return c.Delay[TTDT_RESHOW] >= 0 ? UINT(c.Delay[TTDT_RESHOW]) : base / 5;
    case TTDT_AUTOPOP: return c.Delay[TTDT_AUTOPOP] >= 0 ? UINT(c.Delay[TTDT_AUTOPOP]) : base * 10;
    default: return c.Delay[TTDT_INITIAL] >= 0 ? UINT(c.Delay[TTDT_INITIAL]) : base;
  }
}

void FreeTip(HWND h) {
  auto it = Tips().find(h);
  if (it == Tips().end()) return;
  if (it->second->Backdrop) DeleteObject(it->second->Backdrop);
  Tips().erase(it);
  if (Tips().empty() && gMouseHook) {
    UnhookWindowsHookEx(gMouseHook);
    gMouseHook = nullptr;
  }
}

// Hides a control's balloon (if shown) and forgets the tool it waited on.
void Pop(HWND h) {
  KillTimer(h, kShowTimer);
  KillTimer(h, kTimeoutTimer);
  if (Tip(h)) {
    ShowWindow(h, SW_HIDE);
    FreeTip(h);
  }
  if (TToolCtl* c = Ctl(h)) {
    c->State = TToolCtl::Idle;
    c->Current = -1;
  }
}

void Arm(HWND h, TToolCtl& c, int tool, UINT delay) {
  c.State = TToolCtl::Waiting;
  c.Current = tool;
  SetTimer(h, kShowTimer, delay, nullptr);
}

// The mouse has rested on the tool: ask for the text and show it pointing at the mouse.
void ShowControlTip(HWND h) {
  KillTimer(h, kShowTimer);
  TToolCtl* c = Ctl(h);
  if (!c || c->State != TToolCtl::Waiting || c->Current < 0 || c->Current >= int(c->Tools.size())) {
    Pop(h);
    return;
  }
  const TTool tool = c->Tools[size_t(c->Current)];
  POINT cursor{};
  GetCursorPos(&cursor);
  if (!IsWindow(tool.Window()) || WindowFromPoint(cursor) != tool.Window()) {
    Pop(h);
    return;
  }
  std::string text = tool.Text;
  if (tool.Callback) {
    NMTTDISPINFO nm;
    nm.hdr.hwndFrom = h;
    nm.hdr.idFrom = tool.Id;
    nm.hdr.code = TTN_NEEDTEXT;
    nm.lpszText = nm.szText;
    nm.lParam = tool.Param;
    SendMessage(tool.Wnd, WM_NOTIFY, WPARAM(tool.Id), LPARAM(&nm));
    // The tool window may have popped or destroyed the control while answering.
    c = IsWindow(h) ? Ctl(h) : nullptr;
    if (!c || c->State != TToolCtl::Waiting) return;
    if (nm.lpszText == nm.szText) nm.szText[sizeof nm.szText - 1] = 0;
    text = nm.lpszText && nm.lpszText != LPSTR_TEXTCALLBACK ? std::string(nm.lpszText) : std::string();
  }
  if (text.empty()) {
    Pop(h);
    return;
  }
  auto tip = std::make_unique<TTip>();
  tip->Control = true;
  tip->Params.Tool = tool.Window();
  tip->Params.Stem = cursor;
  tip->Params.Title = Utf8ToUtf16(c->Title);
  tip->Params.Text = Utf8ToUtf16(text);
  tip->Params.Icon = c->Icon;
  tip->Params.TimeoutMs = DelayOf(*c, TTDT_AUTOPOP);
  tip->TextColor = c->TextColor;
  tip->BkColor = c->BkColor;
  const RECT at = Layout(*tip);
  FreeTip(h);
  SetWindowPos(h, HWND_TOPMOST, at.left, at.top, at.right - at.left, at.bottom - at.top, SWP_NOACTIVATE);
  tip->Backdrop = CaptureBackdrop(tool.Window(), at);
  TTip& t = *tip;
  Tips()[h] = std::move(tip);
  SetWindowRgn(h, ShapeRegion(t), FALSE);
  if (!gMouseHook) gMouseHook = SetWindowsHookEx(WH_MOUSE, &MouseHook, nullptr, GetCurrentThreadId());
  if (t.Params.TimeoutMs > 0) SetTimer(h, kTimeoutTimer, t.Params.TimeoutMs, nullptr);
  c->State = TToolCtl::Shown;
  ShowWindow(h, SW_SHOWNOACTIVATE);
  InvalidateRect(h, nullptr, FALSE);
  UpdateWindow(h);
}

int HitTool(const TToolCtl& c, HWND wnd, POINT p) {
  for (size_t i = 0; i < c.Tools.size(); ++i) {
    const TTool& t = c.Tools[i];
    if (t.Window() != wnd) continue;
    if ((t.Flags & TTF_IDISHWND) ||
        (p.x >= t.Rect.left && p.x < t.Rect.right && p.y >= t.Rect.top && p.y < t.Rect.bottom))
      return int(i);
  }
  return -1;
}

// A message the tool window received (after it handled it itself).
void Relay(HWND h, HWND wnd, UINT msg, LPARAM lp) {
  TToolCtl* c = Ctl(h);
  if (!c) return;
  switch (msg) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = wnd;
      TrackMouseEvent(&tme);
      const int hit = HitTool(*c, wnd, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      if (hit < 0) {
        if (c->State != TToolCtl::Idle) Pop(h);
      } else if (c->State == TToolCtl::Shown) {
        if (hit != c->Current) {
          Pop(h);
          Arm(h, *c, hit, DelayOf(*c, TTDT_RESHOW));
        }
      } else {
        // Waiting restarts: the mouse must rest for the whole delay.
        Arm(h, *c, hit, DelayOf(*c, TTDT_INITIAL));
      }
      break;
    }
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      if (c->State != TToolCtl::Idle) Pop(h);
      break;
    default: break;
  }
}

// Tool windows watched for the controls (TTF_SUBCLASS): their procedure runs first, then
// the controls hear the message.
struct TWatched {
  WNDPROC Old = nullptr;
  std::vector<HWND> Tips;
};

std::map<HWND, TWatched>& Watched() {
  static std::map<HWND, TWatched> watched;
  return watched;
}

void ForgetToolWindow(HWND h, HWND wnd);

LRESULT WatchProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = Watched().find(wnd);
  if (it == Watched().end()) return DefWindowProc(wnd, msg, wp, lp);
  const WNDPROC old = it->second.Old;
  const LRESULT result = CallWindowProc(old, wnd, msg, wp, lp);
  it = Watched().find(wnd);
  if (it == Watched().end()) return result;
  const std::vector<HWND> tips = it->second.Tips;
  if (msg == WM_NCDESTROY) {
    Watched().erase(it);
    for (HWND h : tips) ForgetToolWindow(h, wnd);
  } else {
    for (HWND h : tips)
      if (IsWindow(h)) Relay(h, wnd, msg, lp);
  }
  return result;
}

void Watch(HWND wnd, HWND h) {
  auto it = Watched().find(wnd);
  if (it == Watched().end()) {
    TWatched w;
    w.Old = reinterpret_cast<WNDPROC>(GetWindowLongPtr(wnd, GWLP_WNDPROC));
    if (!w.Old) return;
    it = Watched().emplace(wnd, w).first;
    SetWindowLongPtr(wnd, GWLP_WNDPROC, LONG_PTR(&WatchProc));
  }
  auto& tips = it->second.Tips;
  if (std::find(tips.begin(), tips.end(), h) == tips.end()) tips.push_back(h);
}

// The control no longer watches wnd; the window gets its procedure back unless another
// procedure was put in front of ours since (ours then only passes messages on).
void Unwatch(HWND wnd, HWND h) {
  auto it = Watched().find(wnd);
  if (it == Watched().end()) return;
  auto& tips = it->second.Tips;
  tips.erase(std::remove(tips.begin(), tips.end(), h), tips.end());
  if (tips.empty() && GetWindowLongPtr(wnd, GWLP_WNDPROC) == LONG_PTR(&WatchProc)) {
    SetWindowLongPtr(wnd, GWLP_WNDPROC, LONG_PTR(it->second.Old));
    Watched().erase(it);
  }
}

// A tool window went: its tools go with it.
void ForgetToolWindow(HWND h, HWND wnd) {
  TToolCtl* c = Ctl(h);
  if (!c) return;
  const auto gone = [wnd](const TTool& t) { return t.Wnd == wnd || t.Window() == wnd; };
  if (std::any_of(c->Tools.begin(), c->Tools.end(), gone)) {
    Pop(h);
    c->Tools.erase(std::remove_if(c->Tools.begin(), c->Tools.end(), gone), c->Tools.end());
  }
}

// TTM_ messages; false for any other message.
bool ControlMessage(HWND h, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg < TTM_SETDELAYTIME || msg > TTM_SETTITLE) return false;
  auto& slot = Ctls()[h];
  if (!slot) slot = std::make_unique<TToolCtl>();
  TToolCtl& c = *slot;
  result = 0;
  switch (msg) {
    case TTM_SETDELAYTIME: {
      // LOWORD 0xFFFF (-1): back to the default.
      const int ms = LOWORD(DWORD_PTR(lp)) == 0xFFFF ? -1 : int(LOWORD(DWORD_PTR(lp)));
      if (wp == TTDT_AUTOMATIC) {
        // All three from one time, in the proportions of the defaults.
        c.Delay[TTDT_INITIAL] = ms;
        c.Delay[TTDT_RESHOW] = ms < 0 ? -1 : ms / 5;
        c.Delay[TTDT_AUTOPOP] = ms < 0 ? -1 : ms * 10;
      } else if (wp == TTDT_INITIAL || wp == TTDT_RESHOW || wp == TTDT_AUTOPOP) {
        c.Delay[wp] = ms < 0 ? -1 : ms;
      }
      return true;
    }
    case TTM_GETDELAYTIME:
      result = LRESULT(DelayOf(c, int(wp)));
      return true;
    case TTM_ADDTOOL: {
      const auto* ti = reinterpret_cast<const TOOLINFO*>(lp);
      if (!ti || !IsWindow(ti->hwnd)) return true;
      TTool t;
      t.Flags = ti->uFlags;
      t.Wnd = ti->hwnd;
      t.Id = ti->uId;
      t.Rect = ti->rect;
      t.Param = ti->lParam;
      t.Callback = ti->lpszText == LPSTR_TEXTCALLBACK;
      if (!t.Callback && ti->lpszText) t.Text = ti->lpszText;
      if ((t.Flags & TTF_IDISHWND) && !IsWindow(t.Window())) return true;
      if (t.Flags & TTF_SUBCLASS) Watch(t.Window(), h);
      c.Tools.push_back(std::move(t));
      result = TRUE;
      return true;
    }
    case TTM_SETTIPBKCOLOR:
      c.BkColor = COLORREF(wp);
      if (TTip* t = Tip(h)) t->BkColor = c.BkColor, InvalidateRect(h, nullptr, FALSE);
      return true;
    case TTM_SETTIPTEXTCOLOR:
      c.TextColor = COLORREF(wp);
      if (TTip* t = Tip(h)) t->TextColor = c.TextColor, InvalidateRect(h, nullptr, FALSE);
      return true;
    case TTM_POP:
      Pop(h);
      return true;
    case TTM_SETTITLE:
      c.Icon = int(wp);
      c.Title = lp ? std::string(reinterpret_cast<const char*>(lp)) : std::string();
      result = TRUE;
      return true;
    default: return false;
  }
}

// Hides the balloon and tells the tool now; the window goes when the queue comes to it
// (this runs inside input hooks and timers, where the window must stay valid). A
// control's balloon only hides.
void Dismiss(HWND h) {
  TTip* t = Tip(h);
  if (!t || t->Closed) return;
  if (t->Control) {
    Pop(h);
    return;
  }
  KillTimer(h, kTimeoutTimer);
  ShowWindow(h, SW_HIDE);
  NotifyClosed(h, *t);
  PostMessage(h, WM_CLOSE, 0, 0);
}

bool IsButtonDown(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK:
      return true;
    default: return false;
  }
}

// A button pressed anywhere in the program closes every open balloon.
LRESULT MouseHook(int code, WPARAM wp, LPARAM lp) {
  // A control's balloon going here unhooks at once: the chain goes on from this hook.
  const HHOOK self = gMouseHook;
  if (code == HC_ACTION && IsButtonDown(UINT(wp))) {
    std::vector<HWND> open;
    for (auto& [h, t] : Tips())
      if (!t->Closed) open.push_back(h);
    for (HWND h : open) Dismiss(h);
  }
  return CallNextHookEx(self, code, wp, lp);
}

LRESULT ToolTipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ControlMessage(h, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_NCCREATE:
      // Whatever style it was made with, a tool tip is a pop-up that never activates.
      if (!(GetWindowLong(h, GWL_STYLE) & WS_CHILD)) {
        SetWindowLong(h, GWL_STYLE, LONG((DWORD(GetWindowLong(h, GWL_STYLE)) & ~DWORD(WS_CAPTION)) | WS_POPUP));
        SetWindowLong(h, GWL_EXSTYLE, LONG(DWORD(GetWindowLong(h, GWL_EXSTYLE)) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE));
      }
      break;
    case WM_NCHITTEST:
      // The mouse goes through a control's balloon to the tool under it.
      if (Ctl(h)) return HTTRANSPARENT;
      break;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      if (dc) {
        if (TTip* t = Tip(h)) PaintTip(h, *t, dc);
        EndPaint(h, &ps);
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == kTimeoutTimer) {
        Dismiss(h);
        return 0;
      }
      if (wp == kShowTimer) {
        ShowControlTip(h);
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      if (auto ci = Ctls().find(h); ci != Ctls().end()) {
        std::unique_ptr<TToolCtl> c = std::move(ci->second);
        Ctls().erase(ci);
        for (const TTool& t : c->Tools) Unwatch(t.Window(), h);
      }
      auto it = Tips().find(h);
      if (it != Tips().end()) {
        std::unique_ptr<TTip> t = std::move(it->second);
        Tips().erase(it);
        NotifyClosed(h, *t);
        if (t->Backdrop) DeleteObject(t->Backdrop);
      }
      if (Tips().empty() && gMouseHook) {
        UnhookWindowsHookEx(gMouseHook);
        gMouseHook = nullptr;
      }
      break;
    }
    default: break;
  }
  return DefWindowProc(h, msg, wp, lp);
}

}  // namespace

ATOM RegisterToolTipClass() {
  WNDCLASS existing;
  if (GetClassInfo(nullptr, TOOLTIPS_CLASS, &existing)) return 1;
  WNDCLASS wc;
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = &ToolTipProc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hInstance = HInstance();
  wc.lpszClassName = TOOLTIPS_CLASS;
  return RegisterClass(&wc);
}

HWND ShowBalloonTip(const TBalloonTipParams& params) {
  if (!IsWindow(params.Tool)) return nullptr;
  RegisterToolTipClass();
  auto tip = std::make_unique<TTip>();
  tip->Params = params;
  const RECT at = Layout(*tip);
  HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, TOOLTIPS_CLASS, "",
                          WS_POPUP | DWORD(TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), at.left, at.top, at.right - at.left,
                          at.bottom - at.top, params.Tool, nullptr, HInstance(), nullptr);
  if (!h) return nullptr;
  tip->Backdrop = CaptureBackdrop(params.Tool, at);
  TTip& t = *tip;
  Tips()[h] = std::move(tip);
  SetWindowRgn(h, ShapeRegion(t), FALSE);
  if (!gMouseHook) gMouseHook = SetWindowsHookEx(WH_MOUSE, &MouseHook, nullptr, GetCurrentThreadId());
  if (params.TimeoutMs > 0) SetTimer(h, kTimeoutTimer, params.TimeoutMs, nullptr);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  UpdateWindow(h);
  return h;
}

bool CloseBalloonTip(HWND tip) {
  TTip* t = Tip(tip);
  if (!t) return false;
  DestroyWindow(tip);
  return true;
}

bool GetBalloonTipInfo(HWND tip, TBalloonTipInfo* info) {
  TTip* t = Tip(tip);
  if (!t || t->Closed) return false;
  if (info) {
    RECT w{};
    GetWindowRect(tip, &w);
    info->Tool = t->Params.Tool;
    info->Stem = POINT{w.left + t->Apex.x, w.top + t->Apex.y};
    info->Body = RECT{w.left + t->Body.left, w.top + t->Body.top, w.left + t->Body.right, w.top + t->Body.bottom};
    info->Below = t->Below;
    info->Title = t->Params.Title;
    info->Text = t->Params.Text;
    info->Icon = t->Params.Icon;
    info->TextColor = TipTextColor(*t);
    info->BkColor = TipBkColor(*t);
  }
  return true;
}
