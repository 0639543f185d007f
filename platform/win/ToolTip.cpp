// The tool-tip window class in balloon style.
#include "platform/win/ToolTip.h"

#include <cairo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"

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
  FillRgn(dc, shape, GetSysColorBrush(COLOR_INFOBK));
  FrameRgn(dc, shape, GetSysColorBrush(COLOR_INFOTEXT), 1, 1);
  DeleteObject(shape);

  TTipFonts fonts;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
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

// Hides the balloon and tells the tool now; the window goes when the queue comes to it
// (this runs inside input hooks and timers, where the window must stay valid).
void Dismiss(HWND h) {
  TTip* t = Tip(h);
  if (!t || t->Closed) return;
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
  if (code == HC_ACTION && IsButtonDown(UINT(wp))) {
    std::vector<HWND> open;
    for (auto& [h, t] : Tips())
      if (!t->Closed) open.push_back(h);
    for (HWND h : open) Dismiss(h);
  }
  return CallNextHookEx(gMouseHook, code, wp, lp);
}

LRESULT ToolTipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
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
      break;
    case WM_NCDESTROY: {
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
  }
  return true;
}
