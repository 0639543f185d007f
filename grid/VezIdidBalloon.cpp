// VezIdid, the balloon tool tip: the one balloon-style tool-tip window the grid keeps while
// Balloon.Enable is on, registered for the grid's whole client area, and the cells that
// carry a balloon of their own. The window asks the grid for the text of the cell under
// the mouse (WMNotify, VezIdidWindow.cpp); the grid pops it when the mouse reaches
// another cell (CellMouseMove, VezIdidCellScroll.cpp).
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/win/ToolTip.h"

namespace {
constexpr std::uint32_t kLayeredAlpha = 2;  // LWA_ALPHA: one opacity for the whole window

// The title buffer of the tool tip holds 255 bytes; a longer title loses whole characters.
std::string FitTitle(const std::string& Title) {
  constexpr std::size_t kMax = 255;
  if (Title.size() <= kMax) return Title;
  std::size_t n = kMax;
  while (n > 0 && (static_cast<unsigned char>(Title[n]) & 0xC0) == 0x80) --n;
  return Title.substr(0, n);
}

// A balloon cell keeps its title and text in the graphic's text, split at a NUL.
void SplitBalloon(const std::string& Stored, std::string& Title, std::string& Text) {
  const std::size_t at = Stored.find('\0');
  Title = Stored.substr(0, at);
  Text = at == std::string::npos ? std::string() : Stored.substr(at + 1);
}
}  // namespace

void TDavEvadurAvuz::TBalloonWindow::Destroy() {
  // Only the tool tip this grid made (a handle could have gone with its owner already).
  if (Wnd && IsWindow(Wnd) && GetClassNameStr(Wnd) == TOOLTIPS_CLASS) DestroyWindow(Wnd);
  Wnd = nullptr;
}

void TDavEvadurAvuz::BalloonInit() {
  if (FBalloon->Initialized) return;
  // The tool is the grid's window: without one, CreateWnd sets the tool tip up later.
  if (!HandleAllocated()) return;
  FBalloon->Initialized = true;
  CreateToolTip();
  AddToolTip(3, "VezIdid", "ToolTipText");
  HWND tip = FBalloonTip.Wnd;
  if (!tip) return;
  const std::pair<int, int> delays[] = {{TTDT_INITIAL, FBalloon->InitialDelay},
                                        {TTDT_RESHOW, FBalloon->ReshowDelay},
                                        {TTDT_AUTOPOP, FBalloon->AutoHideDelay}};
  for (auto [which, ms] : delays)
    if (ms != -1) SendMessage(tip, TTM_SETDELAYTIME, WPARAM(which), LPARAM(MAKELONG(WORD(std::clamp(ms, 0, 0xFFFE)), 0)));
  if (FBalloon->Transparency > 0) {
    SetWindowLong(tip, GWL_EXSTYLE, GetWindowLong(tip, GWL_EXSTYLE) | LONG(WS_EX_LAYERED));
    DynaLink_SetLayeredWindowAttributes(tip, 0, 255u - FBalloon->Transparency, kLayeredAlpha);
  }
}

// The tool tip goes whenever it exists, so that switching Balloon.Enable off removes it
// (and switching it on again makes one, not a second one).
void TDavEvadurAvuz::BalloonDone() {
  FBalloonTip.Destroy();
  FBalloon->Initialized = false;
  FBalloonCell = TPoint{-1, -1};
}

void TDavEvadurAvuz::BalloonChange(TObject*) {
  if (Loading()) return;
  if (FBalloon->Enable()) BalloonInit();
  else BalloonDone();
}

void TDavEvadurAvuz::CreateToolTip() {
  RegisterToolTipClass();
  FBalloonTip.Destroy();
  FBalloonTip.Wnd = CreateWindowEx(0, TOOLTIPS_CLASS, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   HInstance(), nullptr);
  if (FBalloonTip.Wnd)
    SetWindowPos(FBalloonTip.Wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TDavEvadurAvuz::AddToolTip(int IconType, const std::string&, const std::string& Title) {
  if (!HandleAllocated() || !FBalloonTip.Wnd) return;
  RECT client{};
  if (!GetClientRect(Handle(), &client)) return;
  TOOLINFO ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = Handle();
  ti.uId = reinterpret_cast<UINT_PTR>(Handle());
  ti.rect = client;
  ti.hinst = HInstance();
  ti.lpszText = LPSTR_TEXTCALLBACK;
  SendMessage(FBalloonTip.Wnd, TTM_ADDTOOL, 0, LPARAM(&ti));
  const std::string title = FitTitle(Title);
  const int icon = IconType >= TTI_NONE && IconType <= TTI_ERROR ? IconType : TTI_NONE;
  SendMessage(FBalloonTip.Wnd, TTM_SETTITLE, WPARAM(icon), LPARAM(title.c_str()));
}

void TDavEvadurAvuz::AddBalloon(int ACol, int ARow, const std::string& Title, const std::string& Text,
                                TBalloonIcon Icon) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  g->CellType = ctBalloon;
  g->CellText = Title.substr(0, Title.find('\0')) + '\0' + Text;
  g->CellIndex = Icon;
}

bool TDavEvadurAvuz::RemoveBalloon(int ACol, int ARow) { return RemoveCellGraphic(ACol, ARow, ctBalloon); }

bool TDavEvadurAvuz::HasBalloon(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctBalloon;
}

bool TDavEvadurAvuz::IsBalloon(int ACol, int ARow, std::string& Title, std::string& Text, int& Icon) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctBalloon) return false;
  SplitBalloon(g->CellText, Title, Text);
  Icon = g->CellIndex;
  return true;
}
