// Menu measuring and painting in the classic look, owner-drawn items through
// WM_MEASUREITEM / WM_DRAWITEM, the menu bar in the non-client area and the pop-up menu
// window class.
#include <algorithm>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

constexpr int kPopupBorder = 3;  // the pop-up window's frame (non-client)
constexpr int kBarItemPadding = 8;
constexpr int kSeparatorHeight = 9;

void Fill(HDC dc, const RECT& r, int sysColor) {
  HBRUSH b = CreateSolidBrush(GetSysColor(sysColor));
  FillRect(dc, &r, b);
  DeleteObject(b);
}

int CheckColumn() { return GetSystemMetrics(SM_CXMENUCHECK) + 6; }
int ArrowColumn() { return GetSystemMetrics(SM_CXMENUCHECK) + 4; }

bool FlatMenus() {
  BOOL flat = FALSE;
  SystemParametersInfo(SPI_GETFLATMENU, 0, &flat, 0);
  return flat != FALSE;
}

int StandardItemHeight(HDC dc) {
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  return std::max<int>(GetSystemMetrics(SM_CYMENUCHECK) + 4, tm.tmHeight + 4);
}

// A small glyph in one colour: check mark, radio bullet or sub-menu arrow.
void Glyph(HDC dc, const RECT& box, int kind, COLORREF color) {
  HBRUSH b = CreateSolidBrush(color);
  int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  if (kind == 0) {  // check: a 7x7 tick two pixels thick
    int x0 = cx - 3, y0 = cy - 1;
    for (int i = 0; i < 7; ++i) {
      int dy = i < 3 ? i : 4 - i;
      RECT r{x0 + i, y0 + dy, x0 + i + 1, y0 + dy + 3};
      if (i >= 3) r = RECT{x0 + i, y0 + 2 - (i - 2), x0 + i + 1, y0 + 2 - (i - 2) + 3};
      FillRect(dc, &r, b);
    }
  } else if (kind == 1) {  // bullet
    HGDIOBJ ob = SelectObject(dc, b);
    HGDIOBJ op = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
    SelectObject(dc, op);
    SelectObject(dc, ob);
  } else {  // arrow pointing right (kind 2) or left (kind 3)
    for (int i = 0; i < 4; ++i) {
      int x = kind == 2 ? cx - 2 + i : cx + 1 - i;
      RECT r{x, cy - 3 + i, x + 1, cy + 4 - i};
      FillRect(dc, &r, b);
    }
  }
  DeleteObject(b);
}

void DrawLabel(HDC dc, const std::string& text, RECT r, UINT format, bool grayed, bool selected, COLORREF normal) {
  SetBkMode(dc, TRANSPARENT);
  if (grayed && !selected) {
    RECT s = RectOffset(r, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextUtf8(dc, text, &s, format);
    SetTextColor(dc, GetSysColor(COLOR_3DSHADOW));
  } else if (grayed) {
    COLORREF g = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, g == GetSysColor(COLOR_HIGHLIGHT) ? GetSysColor(COLOR_3DSHADOW) : g);
  } else {
    SetTextColor(dc, normal);
  }
  DrawTextUtf8(dc, text, &r, format);
}

UINT ItemState(const TMenuEntry& e) {
  UINT s = 0;
  if (e.State & MF_GRAYED) s |= ODS_GRAYED;
  if (e.State & MF_DISABLED) s |= ODS_DISABLED;
  if (e.State & MF_CHECKED) s |= ODS_CHECKED;
  if (e.State & MFS_DEFAULT) s |= ODS_DEFAULT;
  return s;
}

}  // namespace

namespace winsys {

HFONT MenuFont(bool bold) {
  NONCLIENTMETRICS ncm;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  LOGFONT lf = ncm.lfMenuFont;
  if (bold) lf.lfWeight = FW_BOLD;
  return CreateFontIndirect(&lf);
}

void SplitMenuText(const std::string& text, std::string* label, std::string* accel) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) tab = text.find("\\a");  // right-aligned part, older form
  if (tab == std::string::npos) {
    *label = text;
    accel->clear();
    return;
  }
  *label = text.substr(0, tab);
  *accel = text.substr(tab + (text[tab] == '\t' ? 1 : 2));
}

void MeasureMenuEntry(HWND owner, HMENU menu, int index, bool bar) {
  TMenuEntry& e = menu->Items[size_t(index)];
  if (e.Measured) return;
  HDC dc = GetDC(nullptr);
  HFONT font = MenuFont(e.State & MFS_DEFAULT);
  HGDIOBJ old = SelectObject(dc, font);
  int standard = StandardItemHeight(dc);
  SIZE size{0, 0};
  if (e.Type & MFT_OWNERDRAW) {
    MEASUREITEMSTRUCT mis;
    mis.CtlType = ODT_MENU;
    mis.itemID = e.Id;
    mis.itemWidth = 0;
    mis.itemHeight = UINT(bar ? GetSystemMetrics(SM_CYMENU) - 1 : standard);
    mis.itemData = e.Data;
    if (owner && IsWindow(owner)) SendMessage(owner, WM_MEASUREITEM, 0, LPARAM(&mis));
    size = SIZE{int(mis.itemWidth), int(mis.itemHeight)};
    // A bar item gets the room around its measured width that the bar gives text items.
    if (bar) size.cx += 2 * kBarItemPadding;
  } else if (e.Type & MFT_SEPARATOR) {
    size = SIZE{bar ? 6 : 0, bar ? GetSystemMetrics(SM_CYMENU) - 1 : kSeparatorHeight};
  } else {
    std::string label, accel;
    SplitMenuText(e.Text, &label, &accel);
    RECT r{0, 0, 0, 0};
    DrawTextUtf8(dc, label.empty() ? " " : label, &r, DT_CALCRECT | DT_SINGLELINE);
    int w = RectWidth(r);
    if (e.Bitmap && (e.Type & MFT_BITMAP)) {
      BITMAP bm{};
      GetObject(e.Bitmap, sizeof(bm), &bm);
      w = bm.bmWidth;
      standard = std::max<int>(standard, bm.bmHeight + 2);
    }
    if (bar) {
      size = SIZE{w + 2 * kBarItemPadding, GetSystemMetrics(SM_CYMENU) - 1};
    } else {
      int aw = 0;
      if (!accel.empty()) {
        RECT a{0, 0, 0, 0};
        DrawTextUtf8(dc, accel, &a, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        aw = RectWidth(a) + 2 * GetSystemMetrics(SM_CXMENUCHECK);
      }
      size = SIZE{CheckColumn() + w + aw + ArrowColumn(), standard};
    }
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  e.Size = size;
  e.Measured = true;
}

// Lays out a pop-up menu in columns (MFT_MENUBREAK starts a new one) and returns the
// window size it needs.
SIZE LayoutPopupMenu(HWND owner, HMENU menu) {
  int x = 0, y = 0, colWidth = 0, height = 0;
  size_t colStart = 0;
  auto closeColumn = [&](size_t end) {
    for (size_t i = colStart; i < end; ++i) {
      menu->Items[i].Rect.left = x;
      menu->Items[i].Rect.right = x + colWidth;
    }
  };
  for (size_t i = 0; i < menu->Items.size(); ++i) {
    MeasureMenuEntry(owner, menu, int(i), false);
    TMenuEntry& e = menu->Items[i];
    if (i > 0 && (e.Type & (MFT_MENUBREAK | MFT_MENUBARBREAK))) {
      closeColumn(i);
      x += colWidth + ((e.Type & MFT_MENUBARBREAK) ? 2 : 0);
      colWidth = 0;
      y = 0;
      colStart = i;
    }
    e.Rect = RECT{x, y, x + e.Size.cx, y + e.Size.cy};
    colWidth = std::max<int>(colWidth, e.Size.cx);
    y += e.Size.cy;
    height = std::max(height, y);
  }
  closeColumn(menu->Items.size());
  int width = x + colWidth;
  return SIZE{std::max(width, 16) + 2 * kPopupBorder, std::max(height, 4) + 2 * kPopupBorder};
}

void LayoutMenuBar(HWND h, const RECT& bar) {
  HMENU menu = h->Menu;
  if (!ValidMenu(menu)) return;
  int x = bar.left;
  size_t right = menu->Items.size();
  for (size_t i = 0; i < menu->Items.size(); ++i) {
    MeasureMenuEntry(h, menu, int(i), true);
    if ((menu->Items[i].Type & MFT_RIGHTJUSTIFY) && right == menu->Items.size()) right = i;
  }
  for (size_t i = 0; i < right; ++i) {
    TMenuEntry& e = menu->Items[i];
    e.Rect = RECT{x, bar.top, x + e.Size.cx, bar.bottom};
    x += e.Size.cx;
  }
  int rx = bar.right;
  for (size_t i = menu->Items.size(); i-- > right;) {
    TMenuEntry& e = menu->Items[i];
    rx -= e.Size.cx;
    e.Rect = RECT{rx, bar.top, rx + e.Size.cx, bar.bottom};
  }
}

void DrawMenuEntry(HWND owner, HMENU menu, int index, HDC dc, UINT action, bool bar) {
  TMenuEntry& e = menu->Items[size_t(index)];
  RECT r = e.Rect;
  if (RectEmpty(r)) return;
  bool selected, hot = false;
  if (bar) {
    bool isSel = MenuBarSelected(owner) == index;
    selected = isSel && MenuBarOpen(owner);
    hot = (isSel && !selected) || (MenuBarHot(owner) == index && MenuBarSelected(owner) < 0);
  } else {
    selected = menu->Selected == index;
  }
  bool noAccel = MenuNoAccel(owner);
  if (e.Type & MFT_OWNERDRAW) {
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_MENU;
    dis.itemID = e.Id;
    dis.itemAction = action;
    dis.itemState = ItemState(e) | (selected ? ODS_SELECTED : 0u) | (hot ? ODS_HOTLIGHT : 0u) |
                    (noAccel ? ODS_NOACCEL : 0u);
    if (bar && Valid(owner) && !owner->NcActive) dis.itemState |= ODS_INACTIVE;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = e.Data;
    int saved = SaveDC(dc);
    if (owner && IsWindow(owner)) SendMessage(owner, WM_DRAWITEM, 0, LPARAM(&dis));
    RestoreDC(dc, saved);
    return;
  }
  int saved = SaveDC(dc);
  bool grayed = e.State & (MF_GRAYED | MF_DISABLED);
  HFONT font = MenuFont(e.State & MFS_DEFAULT);
  SelectObject(dc, font);
  UINT prefix = noAccel ? DT_HIDEPREFIX : 0;
  if (bar) {
    bool flat = FlatMenus();
    Fill(dc, r, flat ? COLOR_MENUBAR : COLOR_MENU);
    if (!(e.Type & MFT_SEPARATOR)) {
      if (flat && (selected || hot)) {
        Fill(dc, r, COLOR_MENUHILIGHT);
        FrameRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
      } else if (selected) {
        RECT b = r;
        DrawEdge(dc, &b, BDR_SUNKENOUTER, BF_RECT);
      } else if (hot) {
        RECT b = r;
        DrawEdge(dc, &b, BDR_RAISEDINNER, BF_RECT);
      }
      RECT t = r;
      if (selected && !flat) t = RectOffset(t, 1, 1);
      DrawLabel(dc, e.Text, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix, grayed, false,
                GetSysColor(flat && (selected || hot) ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    }
  } else if (e.Type & MFT_SEPARATOR) {
    Fill(dc, r, COLOR_MENU);
    RECT line{r.left + 1, r.top + RectHeight(r) / 2 - 1, r.right - 1, r.top + RectHeight(r) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
  } else {
    Fill(dc, r, selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    COLORREF fg = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    COLORREF glyph = grayed ? GetSysColor(COLOR_GRAYTEXT) : fg;
    RECT check{r.left, r.top, r.left + CheckColumn(), r.bottom};
    HBITMAP mark = (e.State & MF_CHECKED) ? e.Checked : e.Unchecked;
    HBITMAP picture = mark ? mark : (!(e.State & MF_CHECKED) && e.Bitmap && !(e.Type & MFT_BITMAP)) ? e.Bitmap : nullptr;
    if (picture && reinterpret_cast<UINT_PTR>(picture) > 16) {
      BITMAP bm{};
      GetObject(picture, sizeof(bm), &bm);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ ob = SelectObject(mem, picture);
      int bx = check.left + (RectWidth(check) - bm.bmWidth) / 2, by = check.top + (RectHeight(check) - bm.bmHeight) / 2;
      BitBlt(dc, bx, by, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, ob);
      DeleteDC(mem);
    } else if (e.State & MF_CHECKED) {
      Glyph(dc, check, (e.Type & MFT_RADIOCHECK) ? 1 : 0, glyph);
    }
    if (e.SubMenu) Glyph(dc, RECT{r.right - ArrowColumn(), r.top, r.right, r.bottom}, 2, glyph);
    std::string label, accel;
    SplitMenuText(e.Text, &label, &accel);
    RECT t{r.left + CheckColumn(), r.top, r.right - ArrowColumn(), r.bottom};
    if ((e.Type & MFT_BITMAP) && e.Bitmap) {
      BITMAP bm{};
      GetObject(e.Bitmap, sizeof(bm), &bm);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ ob = SelectObject(mem, e.Bitmap);
      BitBlt(dc, t.left, t.top + (RectHeight(t) - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, ob);
      DeleteDC(mem);
    } else {
      DrawLabel(dc, label, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix, grayed, selected, fg);
      if (!accel.empty())
        DrawLabel(dc, accel, t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, grayed, selected, fg);
    }
  }
  RestoreDC(dc, saved);
  DeleteObject(font);
}

RECT MenuBarRect(HWND h) {
  int edge = (h->ExStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : (h->ExStyle & WS_EX_STATICEDGE) ? 1 : 0;
  int left = h->Client.left - edge;
  int bottom = h->Client.top - edge;
  return RECT{left, bottom - GetSystemMetrics(SM_CYMENU), RectWidth(h->Rect) - left, bottom - 1};
}

void EnsureMenuBarLayout(HWND h) {
  if (Valid(h) && ValidMenu(h->Menu) && !h->Parent) LayoutMenuBar(h, MenuBarRect(h));
}

void PaintMenuBar(HWND h, HDC dc, const RECT& bar) {
  bool flat = FlatMenus();
  Fill(dc, bar, flat ? COLOR_MENUBAR : COLOR_MENU);
  HMENU menu = h->Menu;
  if (!ValidMenu(menu)) return;
  LayoutMenuBar(h, bar);
  int saved = SaveDC(dc);
  IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
  for (size_t i = 0; i < menu->Items.size() && ValidMenu(menu) && h->Menu == menu; ++i)
    DrawMenuEntry(h, menu, int(i), dc, ODA_DRAWENTIRE, true);
  RestoreDC(dc, saved);
}

// The pop-up menu window: a three-pixel classic frame around the items; it never takes
// the activation.
// The part of a menu window's client area that lies on the screen, in client coordinates.
static RECT ClientOnScreen(HWND h) {
  POINT o{0, 0};
  ClientToScreen(h, &o);
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{x - o.x, y - o.y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN) - o.x,
              y + GetSystemMetrics(SM_CYVIRTUALSCREEN) - o.y};
}

LRESULT CALLBACK_MenuWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  HMENU menu = reinterpret_cast<HMENU>(GetWindowLongPtr(h, 0));
  switch (msg) {
    case WM_NCCALCSIZE: {
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      if (r) *r = RECT{r->left + kPopupBorder, r->top + kPopupBorder, r->right - kPopupBorder, r->bottom - kPopupBorder};
      return 0;
    }
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(h);
      RECT wr;
      GetWindowRect(h, &wr);
      RECT r{0, 0, RectWidth(wr), RectHeight(wr)};
      ExcludeClipRect(dc, kPopupBorder, kPopupBorder, r.right - kPopupBorder, r.bottom - kPopupBorder);
      if (FlatMenus()) {
        Fill(dc, r, COLOR_MENU);
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
      } else {
        Fill(dc, r, COLOR_MENU);
        RECT e = r;
        DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
      }
      ReleaseDC(h, dc);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(h, &r);
      r = RectIntersect(r, ClientOnScreen(h));
      HDC dc = reinterpret_cast<HDC>(wp);
      if (ValidMenu(menu) && menu->Background) FillRect(dc, &r, menu->Background);
      else Fill(dc, r, COLOR_MENU);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      if (dc && ValidMenu(menu)) {
        HWND owner = MenuLoopOwner();
        // Only the entries the update reaches, and of them only what lies on the screen: a
        // menu of many entries reaches far below the screen's edge.
        const RECT band = RectIntersect(ps.rcPaint, ClientOnScreen(h));
        for (size_t i = 0; i < menu->Items.size() && ValidMenu(menu); ++i)
          if (!RectEmpty(RectIntersect(menu->Items[i].Rect, band)))
            DrawMenuEntry(owner, menu, int(i), dc, ODA_DRAWENTIRE, false);
      }
      EndPaint(h, &ps);
      return 0;
    }
    case WM_DESTROY: {
      if (ValidMenu(menu) && menu->Window == h) menu->Window = nullptr;
      HWND shadow = reinterpret_cast<HWND>(GetWindowLongPtr(h, sizeof(LONG_PTR)));
      if (shadow && IsWindow(shadow)) DestroyWindow(shadow);
      return 0;
    }
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

// ---- the drop shadow ------------------------------------------------------------------
namespace {

constexpr const char* kShadowClass = "LormMenuShadow";
constexpr int kShadowDepth = 4;
constexpr int kShadowDarkest = 96;  // opacity (of 255) along the menu's edge

// The shadow's opacity at a point of its window (the menu's rectangle moved down and
// right): darkest along the menu's edge, fading out over the depth towards the outside
// and at both ends of each strip.
BYTE ShadowAlpha(int x, int y, int width, int height) {
  int fx = std::min({x + 1, width - x, kShadowDepth}), fy = std::min({y + 1, height - y, kShadowDepth});
  return BYTE(kShadowDarkest * fx * fy / (kShadowDepth * kShadowDepth));
}

// The shadow window: what lies beneath it (our own windows; the desktop colour elsewhere)
// darkened. It takes no input: the pointer reaches the window beneath.
LRESULT CALLBACK_MenuShadowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      if (!dc) return 0;
      RECT sr;
      GetWindowRect(h, &sr);
      const int w = RectWidth(sr), ht = RectHeight(sr);
      std::vector<HWND> below;
      for (HWND b = GetWindow(h, GW_HWNDNEXT); b; b = GetWindow(b, GW_HWNDNEXT))
        if (IsWindowVisible(b) && !IsIconic(b)) below.push_back(b);
      // Only the strips along the right and bottom edges show (the window's region), so
      // only they are built: the right one full height, the bottom one up to it.
      const RECT strips[2] = {RECT{std::max(0, w - kShadowDepth), 0, w, ht},
                              RECT{0, std::max(0, ht - kShadowDepth), std::max(0, w - kShadowDepth), ht}};
      for (const RECT& strip : strips) {
        if (RectEmpty(strip)) continue;
        Fill(dc, strip, COLOR_BACKGROUND);
        const RECT onScreen = RectOffset(strip, sr.left, sr.top);
        for (auto it = below.rbegin(); it != below.rend(); ++it) {
          RECT wr;
          GetWindowRect(*it, &wr);
          RECT part = RectIntersect(wr, onScreen);
          if (part.right <= part.left || part.bottom <= part.top) continue;
          HDC src = GetWindowDC(*it);
          BitBlt(dc, part.left - sr.left, part.top - sr.top, RectWidth(part), RectHeight(part), src,
                 part.left - wr.left, part.top - wr.top, SRCCOPY);
          ReleaseDC(*it, src);
        }
        const int sw = RectWidth(strip), sh = RectHeight(strip);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = sw;
        bi.bmiHeader.biHeight = -sh;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP shade = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits);
        if (shade && bits) {
          auto* px = static_cast<DWORD*>(bits);
          for (int y = 0; y < sh; ++y)
            for (int x = 0; x < sw; ++x)
              px[size_t(y) * size_t(sw) + size_t(x)] = DWORD(ShadowAlpha(strip.left + x, strip.top + y, w, ht)) << 24;
          HDC mem = CreateCompatibleDC(dc);
          HGDIOBJ old = SelectObject(mem, shade);
          AlphaBlend(dc, strip.left, strip.top, sw, sh, mem, 0, 0, sw, sh, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
          SelectObject(mem, old);
          DeleteDC(mem);
        }
        if (shade) DeleteObject(shade);
      }
      EndPaint(h, &ps);
      return 0;
    }
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

}  // namespace

bool MenuShadowShown() {
  BOOL on = FALSE;
  SystemParametersInfo(SPI_GETDROPSHADOW, 0, &on, 0);
  return on && IsThemeActive();
}

HWND ShowMenuShadow(HWND owner, POINT pos, SIZE size) {
  if (!MenuShadowShown() || size.cx <= 0 || size.cy <= 0) return nullptr;
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, kShadowClass, &wc)) {
    wc = WNDCLASS();
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &CALLBACK_MenuShadowProc;
    wc.lpszClassName = kShadowClass;
    RegisterClass(&wc);
  }
  HWND s = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT, kShadowClass, "",
                          WS_POPUP, pos.x + kShadowDepth, pos.y + kShadowDepth, size.cx, size.cy, owner, nullptr,
                          nullptr, nullptr);
  if (!s) return nullptr;
  // Only the strips along the right and bottom edges show.
  HRGN region = CreateRectRgn(size.cx - kShadowDepth, 0, size.cx, size.cy);
  HRGN bottom = CreateRectRgn(0, size.cy - kShadowDepth, size.cx, size.cy);
  CombineRgn(region, region, bottom, RGN_OR);
  DeleteObject(bottom);
  SetWindowRgn(s, region, FALSE);
  ShowWindow(s, SW_SHOWNOACTIVATE);
  UpdateWindow(s);
  return s;
}

void UpdateDropShadow(HWND h) {
  static const char* const kProp = "LormDropShadow";
  if (!Valid(h) || h->Parent || !h->Class) return;
  const std::string& cls = h->Class->Name;
  if (cls == MENU_WINDOW_CLASS || cls == kShadowClass) return;
  auto shadow = reinterpret_cast<HWND>(GetProp(h, kProp));
  bool wanted = (h->Class->Style & CS_DROPSHADOW) && (h->Style & WS_VISIBLE) && !h->Destroying && MenuShadowShown();
  POINT pos{h->Rect.left, h->Rect.top};
  SIZE size{RectWidth(h->Rect), RectHeight(h->Rect)};
  if (shadow && Valid(shadow)) {
    RECT r = shadow->Rect;
    if (wanted && r.left == pos.x + kShadowDepth && r.top == pos.y + kShadowDepth && RectWidth(r) == size.cx &&
        RectHeight(r) == size.cy)
      return;
    RemoveProp(h, kProp);
    DestroyWindow(shadow);
    shadow = nullptr;
  }
  if (!wanted) return;
  shadow = ShowMenuShadow(h, pos, size);
  if (shadow) SetProp(h, kProp, shadow);
}

void RegisterMenuWindowClass() {
  WNDCLASS wc;
  if (GetClassInfo(nullptr, MENU_WINDOW_CLASS, &wc)) return;
  wc = WNDCLASS();
  wc.style = CS_SAVEBITS | CS_DROPSHADOW;
  wc.lpfnWndProc = &CALLBACK_MenuWindowProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);  // the menu, the shadow window
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = MENU_WINDOW_CLASS;
  RegisterClass(&wc);
}

}  // namespace winsys
