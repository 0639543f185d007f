// System metrics and parameters, system identity, scroll bars of windows, the caret,
// the in-memory clipboard, beeps and resetting the whole window system.
#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <set>

#include "platform/rtl/CodePage.h"
#include "platform/gdi/UxTheme.h"
#include "platform/win/MenuInternal.h"
#include "platform/win/WinInternal.h"

using namespace winsys;

namespace {

struct TSystemState {
  std::map<int, int> MetricOverrides;
  TSystemIdentity Identity;
  BOOL MenuAnimation = TRUE;
  BOOL MenuFade = TRUE;
  BOOL KeyboardCues = FALSE;
  BOOL ComboAnimation = TRUE;
  BOOL TooltipAnimation = TRUE;
  BOOL TooltipFade = TRUE;
  BOOL HotTracking = TRUE;
  BOOL GradientCaptions = TRUE;
  BOOL FlatMenu = FALSE;
  BOOL DropShadow = TRUE;
  BOOL SelectionFade = TRUE;
  BOOL UIEffects = TRUE;
  BOOL ClientAreaAnimation = TRUE;
  BOOL DragFullWindows = TRUE;
  UINT WheelScrollLines = 3;
};

TSystemState& Sys() {
  static TSystemState state;
  return state;
}

struct TGlobal {
  std::vector<BYTE> Data;
  int Locks = 0;
};
// Every block allocated and not freed yet; what is left when the program ends (the
// clipboard's contents among them) goes with it.
struct TGlobals : std::set<TGlobal*> {
  ~TGlobals() {
    for (TGlobal* g : *this) delete g;
  }
};
std::set<TGlobal*>& Globals() {
  static TGlobals g;
  return g;
}
TGlobal* AsGlobal(HGLOBAL h) {
  auto* g = static_cast<TGlobal*>(h);
  return Globals().count(g) ? g : nullptr;
}

struct TClipboard {
  bool Open = false;
  HWND OpenedBy = nullptr;
  HWND Owner = nullptr;
  std::map<UINT, HGLOBAL> Data;  // in order of format number
  DWORD Sequence = 0;
};
TClipboard& Clip() {
  static TClipboard c;
  return c;
}

struct TCaret {
  HWND Wnd = nullptr;
  int Width = 0, Height = 0;
  POINT Pos{};
  int HideCount = 0;
  bool Created = false;
};
TCaret& Caret() {
  static TCaret c;
  return c;
}

LOGFONT UiFont(bool bold = false) {
  LOGFONT lf;
  lf.lfHeight = -12;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfFaceName = SystemIdentity().MajorVersion >= 6 ? "Segoe UI" : "Tahoma";
  return lf;
}

HGLOBAL GlobalFromBytes(const void* data, size_t n) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
  if (n) std::memcpy(GlobalLock(h), data, n);
  GlobalUnlock(h);
  return h;
}

}  // namespace

// --- metrics ---------------------------------------------------------------------------------
int GetSystemMetrics(int index) {
  auto& o = Sys().MetricOverrides;
  auto it = o.find(index);
  if (it != o.end()) return it->second;
  SIZE screen = CurrentBackend().ScreenSize();
  RECT work = CurrentBackend().WorkArea();
  switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: return screen.cx;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return screen.cy;
    case SM_XVIRTUALSCREEN: case SM_YVIRTUALSCREEN: return 0;
    case SM_CXFULLSCREEN: return RectWidth(work);
    case SM_CYFULLSCREEN: return RectHeight(work) - GetSystemMetrics(SM_CYCAPTION);
    case SM_CXMAXIMIZED: return RectWidth(work) + 2 * GetSystemMetrics(SM_CXFRAME);
    case SM_CYMAXIMIZED: return RectHeight(work) + 2 * GetSystemMetrics(SM_CYFRAME);
    case SM_CXMAXTRACK: return screen.cx + 12;
    case SM_CYMAXTRACK: return screen.cy + 12;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return IsThemeActive() ? 26 : 19;  // Luna's taller caption
    case SM_CYSMCAPTION: return 15;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;  // a one-line menu bar at 96 DPI
    case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 18;
    case SM_CXSIZE: case SM_CYSIZE: return IsThemeActive() ? 25 : 18;
    case SM_CXSMSIZE: return 12;
    case SM_CYSMSIZE: return 14;
    case SM_CXMIN: case SM_CXMINTRACK: return 112;
    case SM_CYMIN: case SM_CYMINTRACK: return 27;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_CXICONSPACING: case SM_CYICONSPACING: return 75;
    case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
    case SM_CXFOCUSBORDER: case SM_CYFOCUSBORDER: return 1;
    case SM_MOUSEPRESENT: case SM_MOUSEWHEELPRESENT: case SM_CMONITORS: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON: case SM_MENUDROPALIGNMENT: case SM_REMOTESESSION: return 0;
    default: return 0;
  }
}

void SetSystemMetric(int index, int value) { Sys().MetricOverrides[index] = value; }

void NotifySysColorChange() {
  std::vector<HWND> tops = S().TopLevels;
  for (HWND t : tops)
    if (Valid(t)) {
      SendMessage(t, WM_SYSCOLORCHANGE, 0, 0);
      if (Valid(t)) RedrawWindow(t, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

BOOL SystemParametersInfo(UINT action, UINT uiParam, void* pv, UINT winIni) {
  auto& y = Sys();
  auto getBool = [&](BOOL v) {
    if (!pv) return FALSE;
    *static_cast<BOOL*>(pv) = v;
    return TRUE;
  };
  auto setBool = [&](BOOL& v) {
    v = pv ? TRUE : FALSE;
    if (winIni & SPIF_SENDCHANGE) {
      std::vector<HWND> tops = S().TopLevels;
      for (HWND t : tops)
        if (Valid(t)) SendMessage(t, WM_SETTINGCHANGE, action, 0);
    }
    return TRUE;
  };
  switch (action) {
    case SPI_GETWORKAREA:
      if (!pv) return FALSE;
      *static_cast<RECT*>(pv) = CurrentBackend().WorkArea();
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICS*>(pv);
      if (!m) return FALSE;
      m->iBorderWidth = 1;
      m->iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m->iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m->iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m->iCaptionHeight = GetSystemMetrics(SM_CYCAPTION) - 1;
      m->lfCaptionFont = UiFont(true);
      m->iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m->iSmCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION) - 1;
      m->lfSmCaptionFont = UiFont(true);
      m->iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m->iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m->lfMenuFont = UiFont();
      m->lfStatusFont = UiFont();
      m->lfMessageFont = UiFont();
      m->iPaddedBorderWidth = 0;
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
      if (!pv) return FALSE;
      *static_cast<LOGFONT*>(pv) = UiFont();
      return TRUE;
    case SPI_GETMENUANIMATION: return getBool(y.MenuAnimation);
    case SPI_SETMENUANIMATION: return setBool(y.MenuAnimation);
    case SPI_GETMENUFADE: return getBool(y.MenuFade);
    case SPI_SETMENUFADE: return setBool(y.MenuFade);
    case SPI_GETKEYBOARDCUES: return getBool(y.KeyboardCues);
    case SPI_SETKEYBOARDCUES: return setBool(y.KeyboardCues);
    case SPI_GETCOMBOBOXANIMATION: return getBool(y.ComboAnimation);
    case SPI_GETTOOLTIPANIMATION: return getBool(y.TooltipAnimation);
    case SPI_GETTOOLTIPFADE: return getBool(y.TooltipFade);
    case SPI_GETHOTTRACKING: return getBool(y.HotTracking);
    case SPI_GETGRADIENTCAPTIONS: return getBool(y.GradientCaptions);
    case SPI_GETFLATMENU: return getBool(y.FlatMenu || IsThemeActive());  // Luna's menus are flat
    case SPI_GETDROPSHADOW: return getBool(y.DropShadow);
    case SPI_GETSELECTIONFADE: return getBool(y.SelectionFade);
    case SPI_GETUIEFFECTS: return getBool(y.UIEffects);
    case SPI_GETCLIENTAREAANIMATION: return getBool(y.ClientAreaAnimation);
    case SPI_GETDRAGFULLWINDOWS: return getBool(y.DragFullWindows);
    case SPI_GETHIGHCONTRAST: return FALSE;
    case SPI_GETFONTSMOOTHING: return getBool(TRUE);
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETMENUSHOWDELAY:
    case SPI_GETMOUSEHOVERTIME:
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT:
    case SPI_GETKEYBOARDDELAY:
    case SPI_GETKEYBOARDSPEED: {
      if (!pv) return FALSE;
      UINT v = action == SPI_GETWHEELSCROLLLINES ? y.WheelScrollLines
               : action == SPI_GETMENUSHOWDELAY  ? 400
               : action == SPI_GETMOUSEHOVERTIME ? 400
               : action == SPI_GETKEYBOARDDELAY  ? 1
               : action == SPI_GETKEYBOARDSPEED  ? 31
                                                 : 4;
      *static_cast<UINT*>(pv) = v;
      return TRUE;
    }
    default:
      (void)uiParam;
      return FALSE;
  }
}

TSystemIdentity& SystemIdentity() { return Sys().Identity; }

// The identity in force reads and writes the theme painter's state; copies keep their own.
TThemesActiveSwitch& TThemesActiveSwitch::operator=(bool value) {
  if (this == &Sys().Identity.ThemesActive) SetThemeActive(value);
  else FValue = value;
  return *this;
}

TThemesActiveSwitch::operator bool() const {
  return this == &Sys().Identity.ThemesActive ? IsThemeActive() != FALSE : FValue;
}

TThemeColorSchemeSwitch& TThemeColorSchemeSwitch::operator=(const std::string& value) {
  if (this == &Sys().Identity.ThemeColorScheme) SetThemeColorScheme(value);
  else FValue = value;
  return *this;
}

std::string TThemeColorSchemeSwitch::Value() const {
  return this == &Sys().Identity.ThemeColorScheme ? GetThemeColorScheme() : FValue;
}

namespace winsys {

// The theme or its colour scheme changed: every top-level window hears of it, then of the
// system colours that come with the theme (and repaints).
void NotifyThemeChange() {
  std::vector<HWND> tops = S().TopLevels;
  for (HWND t : tops)
    if (Valid(t)) SendMessage(t, WM_THEMECHANGED, 0, 0);
  NotifySysColorChange();
}

}  // namespace winsys

BOOL GetVersionEx(OSVERSIONINFO* info) {
  if (!info || info->dwOSVersionInfoSize < sizeof(DWORD) * 5) return FALSE;
  const TSystemIdentity& id = SystemIdentity();
  info->dwMajorVersion = id.MajorVersion;
  info->dwMinorVersion = id.MinorVersion;
  info->dwBuildNumber = id.BuildNumber;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::strncpy(info->szCSDVersion, "Service Pack 1", sizeof info->szCSDVersion - 1);
  return TRUE;
}

DWORD GetVersion() {
  const TSystemIdentity& id = SystemIdentity();
  return (id.MajorVersion & 0xFF) | ((id.MinorVersion & 0xFF) << 8) | ((id.BuildNumber & 0x7FFF) << 16);
}

// --- scroll bars -----------------------------------------------------------------------------
static bool BarOk(HWND h, int bar) { return Valid(h) && (bar == SB_HORZ || bar == SB_VERT); }

static void RefreshBar(HWND h, int bar) {
  RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

int SetScrollInfo(HWND h, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (!BarOk(h, bar) || !info) return 0;
  TScrollBarState& sb = h->Scroll[bar];
  if (info->fMask & SIF_RANGE) {
    sb.Min = info->nMin;
    sb.Max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) sb.Page = std::min<UINT>(info->nPage, UINT(std::max(0, sb.Max - sb.Min + 1)));
  if (info->fMask & SIF_POS) sb.Pos = info->nPos;
  int maxPos = sb.Max - std::max(int(sb.Page) - 1, 0);
  sb.Pos = std::clamp(sb.Pos, sb.Min, std::max(sb.Min, maxPos));
  // A bar shows when its range allows scrolling and hides when it does not.
  bool scrollable = sb.Max > sb.Min && (sb.Page == 0 || int(sb.Page) <= sb.Max - sb.Min);
  DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    bool shown = h->Style & bit;
    if (scrollable && !shown) ShowScrollBar(h, bar, TRUE);
    else if (!scrollable && shown && !(info->fMask & SIF_DISABLENOSCROLL)) ShowScrollBar(h, bar, FALSE);
  }
  if (redraw && Valid(h)) RefreshBar(h, bar);
  return sb.Pos;
}

BOOL GetScrollInfo(HWND h, int bar, SCROLLINFO* info) {
  if (!BarOk(h, bar) || !info) return FALSE;
  const TScrollBarState& sb = h->Scroll[bar];
  if (info->fMask & SIF_RANGE) {
    info->nMin = sb.Min;
    info->nMax = sb.Max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = sb.Page;
  if (info->fMask & SIF_POS) info->nPos = sb.Pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = sb.TrackPos;
  return TRUE;
}

int SetScrollPos(HWND h, int bar, int pos, BOOL redraw) {
  if (!BarOk(h, bar)) return 0;
  int old = h->Scroll[bar].Pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(h, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND h, int bar) { return BarOk(h, bar) ? h->Scroll[bar].Pos : 0; }

BOOL SetScrollRange(HWND h, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!BarOk(h, bar)) return FALSE;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(h, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND h, int bar, int* minPos, int* maxPos) {
  if (!BarOk(h, bar)) return FALSE;
  if (minPos) *minPos = h->Scroll[bar].Min;
  if (maxPos) *maxPos = h->Scroll[bar].Max;
  return TRUE;
}

BOOL ShowScrollBar(HWND h, int bar, BOOL show) {
  if (!Valid(h) || bar == SB_CTL) return FALSE;
  DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  DWORD style = show ? (h->Style | bits) : (h->Style & ~bits);
  if (style == h->Style) return TRUE;
  h->Style = style;
  if (bits & WS_HSCROLL) h->Scroll[SB_HORZ].Visible = show;
  if (bits & WS_VSCROLL) h->Scroll[SB_VERT].Visible = show;
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL EnableScrollBar(HWND h, UINT bar, UINT arrows) {
  if (!Valid(h)) return FALSE;
  if (bar == SB_BOTH || bar == SB_HORZ) h->Scroll[SB_HORZ].Disabled = arrows;
  if (bar == SB_BOTH || bar == SB_VERT) h->Scroll[SB_VERT].Disabled = arrows;
  RefreshBar(h, int(bar));
  return TRUE;
}

// --- caret -------------------------------------------------------------------------------------
BOOL CreateCaret(HWND h, HBITMAP, int width, int height) {
  if (!Valid(h)) return FALSE;
  TCaret& c = Caret();
  c.Wnd = h;
  c.Width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  c.Height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  c.Pos = POINT{};
  c.HideCount = 1;  // created hidden
  c.Created = true;
  return TRUE;
}

BOOL DestroyCaret() {
  TCaret& c = Caret();
  if (!c.Created) return FALSE;
  c = TCaret{};
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  TCaret& c = Caret();
  if (!c.Created) return FALSE;
  c.Pos = POINT{x, y};
  return TRUE;
}

BOOL GetCaretPos(POINT* p) {
  if (!p) return FALSE;
  *p = Caret().Pos;
  return TRUE;
}

BOOL ShowCaret(HWND h) {
  TCaret& c = Caret();
  if (!c.Created || (h && h != c.Wnd)) return FALSE;
  if (c.HideCount > 0) --c.HideCount;
  return TRUE;
}

BOOL HideCaret(HWND h) {
  TCaret& c = Caret();
  if (!c.Created || (h && h != c.Wnd)) return FALSE;
  ++c.HideCount;
  return TRUE;
}

UINT GetCaretBlinkTime() { return 530; }

TCaretInfo GetCaretInfo() {
  TCaret& c = Caret();
  TCaretInfo info;
  if (!c.Created || !Valid(c.Wnd)) return info;
  info.Window = c.Wnd;
  info.Rect = MakeRect(c.Pos.x, c.Pos.y, c.Pos.x + c.Width, c.Pos.y + c.Height);
  info.Visible = c.HideCount == 0;
  return info;
}

// --- clipboard -------------------------------------------------------------------------------------
HGLOBAL GlobalAlloc(UINT, size_t bytes) {
  // A size that cannot be had gives null, as the system's allocator does.
  auto* g = new (std::nothrow) TGlobal;
  if (!g) return nullptr;
  try {
    g->Data.assign(bytes, 0);
    Globals().insert(g);
  } catch (const std::exception&) {
    delete g;
    return nullptr;
  }
  return g;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, size_t bytes, UINT) {
  TGlobal* g = AsGlobal(h);
  // A locked block cannot move: its holder's pointer would dangle.
  if (!g || g->Locks > 0) return nullptr;
  try {
    g->Data.resize(bytes, 0);
  } catch (const std::exception&) {
    return nullptr;
  }
  return h;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  TGlobal* g = AsGlobal(h);
  if (!g) return h;
  Globals().erase(g);
  delete g;
  return nullptr;
}

void* GlobalLock(HGLOBAL h) {
  TGlobal* g = AsGlobal(h);
  if (!g) return nullptr;
  ++g->Locks;
  return g->Data.empty() ? static_cast<void*>(g) : g->Data.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
  TGlobal* g = AsGlobal(h);
  if (!g || g->Locks == 0) return FALSE;
  return --g->Locks > 0;
}

size_t GlobalSize(HGLOBAL h) {
  TGlobal* g = AsGlobal(h);
  return g ? g->Data.size() : 0;
}

HGLOBAL GlobalHandle(const void* mem) {
  if (!mem) return nullptr;
  // GlobalLock gives the block itself for an empty block and its bytes otherwise.
  for (TGlobal* g : Globals())
    if (g == mem || (!g->Data.empty() && g->Data.data() == mem)) return g;
  return nullptr;
}

UINT HeapAllocFlags = GMEM_MOVEABLE;

BOOL OpenClipboard(HWND owner) {
  TClipboard& c = Clip();
  if (c.Open) return FALSE;
  c.Open = true;
  c.OpenedBy = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  TClipboard& c = Clip();
  if (!c.Open) return FALSE;
  c.Open = false;
  c.OpenedBy = nullptr;
  CurrentBackend().ClipboardChanged();
  return TRUE;
}

BOOL EmptyClipboard() {
  TClipboard& c = Clip();
  if (!c.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  for (auto& [f, h] : c.Data) GlobalFree(h);
  c.Data.clear();
  c.Owner = c.OpenedBy;
  ++c.Sequence;
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  TClipboard& c = Clip();
  if (!c.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  if (!format || !AsGlobal(data)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto it = c.Data.find(format);
  if (it != c.Data.end() && it->second != data) GlobalFree(it->second);
  c.Data[format] = data;
  // The text forms are kept in step: a new one replaces the other's stale copy.
  if (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT) {
    for (UINT other : {UINT(CF_TEXT), UINT(CF_UNICODETEXT), UINT(CF_OEMTEXT)}) {
      if (other == format) continue;
      auto o = c.Data.find(other);
      if (o != c.Data.end()) {
        GlobalFree(o->second);
        c.Data.erase(o);
      }
    }
  }
  ++c.Sequence;
  return data;
}

HANDLE GetClipboardData(UINT format) {
  TClipboard& c = Clip();
  if (!c.Open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto it = c.Data.find(format);
  if (it != c.Data.end()) return it->second;
  // Text in one form is offered in the other, as the system does.
  if (format == CF_UNICODETEXT || format == CF_TEXT || format == CF_OEMTEXT) {
    auto text = c.Data.find(CF_TEXT);
    if (text == c.Data.end()) text = c.Data.find(CF_OEMTEXT);
    auto wide = c.Data.find(CF_UNICODETEXT);
    if (format == CF_UNICODETEXT && text != c.Data.end()) {
      TGlobal* g = AsGlobal(text->second);
      std::string s(reinterpret_cast<const char*>(g->Data.data()), strnlen(reinterpret_cast<const char*>(g->Data.data()), g->Data.size()));
      std::u16string w = Utf8ToUtf16(s);
      w.push_back(0);
      HGLOBAL h = GlobalFromBytes(w.data(), w.size() * sizeof(char16_t));
      c.Data[CF_UNICODETEXT] = h;
      return h;
    }
    if (format != CF_UNICODETEXT && wide != c.Data.end()) {
      TGlobal* g = AsGlobal(wide->second);
      std::u16string w(reinterpret_cast<const char16_t*>(g->Data.data()), g->Data.size() / sizeof(char16_t));
      w.resize(std::char_traits<char16_t>::length(w.c_str()));
      std::string s = Utf16ToUtf8(w);
      HGLOBAL h = GlobalFromBytes(s.c_str(), s.size() + 1);
      c.Data[format] = h;
      return h;
    }
  }
  return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  const TClipboard& c = Clip();
  if (c.Data.count(format)) return TRUE;
  if (format == CF_TEXT || format == CF_UNICODETEXT || format == CF_OEMTEXT)
    return (c.Data.count(CF_TEXT) || c.Data.count(CF_UNICODETEXT) || c.Data.count(CF_OEMTEXT)) ? TRUE : FALSE;
  return FALSE;
}

UINT RegisterClipboardFormat(LPCSTR name) { return RegisterWindowMessage(name); }

int GetClipboardFormatName(UINT format, char* buffer, int size) {
  for (auto& [name, id] : S().RegisteredMessages)
    if (id == format) {
      // Registered names are kept upper-cased for lookup; report them as stored.
      if (!buffer || size <= 0) return 0;
      int n = std::min<int>(int(name.size()), size - 1);
      std::memcpy(buffer, name.data(), size_t(n));
      buffer[n] = 0;
      return n;
    }
  return 0;
}

UINT EnumClipboardFormats(UINT format) {
  const TClipboard& c = Clip();
  auto it = format == 0 ? c.Data.begin() : c.Data.upper_bound(format);
  return it == c.Data.end() ? 0 : it->first;
}

int CountClipboardFormats() { return int(Clip().Data.size()); }
HWND GetClipboardOwner() { return Valid(Clip().Owner) ? Clip().Owner : nullptr; }
DWORD GetClipboardSequenceNumber() { return Clip().Sequence; }

std::string GetClipboardTextUtf8() {
  bool opened = OpenClipboard(nullptr);
  std::string s;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    auto* p = static_cast<const char*>(GlobalLock(h));
    if (p) s.assign(p, strnlen(p, GlobalSize(h)));
    GlobalUnlock(h);
  }
  if (opened) CloseClipboard();
  return s;
}

void SetClipboardTextUtf8(const std::string& text) {
  bool opened = OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_TEXT, GlobalFromBytes(text.c_str(), text.size() + 1));
  if (opened) CloseClipboard();
}

namespace winsys {
void ResetClipboard() {
  TClipboard& c = Clip();
  for (auto& [f, h] : c.Data) GlobalFree(h);
  c = TClipboard{};
}
void ResetCaret() { Caret() = TCaret{}; }
void ResetSystem() { Sys() = TSystemState{}; }
}  // namespace winsys

// --- miscellaneous ---------------------------------------------------------------------------
BOOL MessageBeep(UINT type) {
  ++S().Beeps;
  CurrentBackend().Beep(type);
  return TRUE;
}

int MessageBeepCount() { return S().Beeps; }

void ResetWindowSystem() {
  auto& s = S();
  for (int guard = 0; guard < 100 && !s.TopLevels.empty(); ++guard) {
    HWND t = s.TopLevels.front();
    if (!DestroyWindow(t)) {
      RemoveFromZOrder(t);
      s.Live.Erase(t);
    }
  }
  s.Live.Clear();
  s.TopLevels.clear();
  ResetPainting();
  ResetQueue();
  ResetInput();
  ResetCaret();
  ResetClipboard();
  ResetSystem();
  ResetMenus();
  s.Classes.clear();
  s.NextAtom = 0xC000;
  s.LastError = 0;
  s.Beeps = 0;
  s.Dispatched = 0;
  s.MessageTime = s.MessagePos = 0;
}
