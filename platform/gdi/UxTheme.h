#pragma once
// Visual-style (theme) parts answered by our own painter in an XP "Luna"-like look:
// buttons (push, check, radio), combo box drop button, spin buttons, scroll bar arrows,
// header items, tabs, tool bar buttons, progress bar, edit border, tool tip and the window
// caption buttons. Themes can be switched off (SetThemeActive(false)) to reach the
// classic drawing paths; desktop composition is always off.
#include <functional>
#include <string>

#include "platform/gdi/GdiTypes.h"

// ---- parts and states -----------------------------------------------------------------
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4, BP_USERBUTTON = 5;
constexpr int PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5;
constexpr int RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3, RBS_UNCHECKEDDISABLED = 4,
              RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6, RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8;
constexpr int CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3, CBS_UNCHECKEDDISABLED = 4,
              CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6, CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8,
              CBS_MIXEDNORMAL = 9, CBS_MIXEDHOT = 10, CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12;
constexpr int GBS_NORMAL = 1, GBS_DISABLED = 2;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4;
constexpr int SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4;
constexpr int UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4;
constexpr int DNS_NORMAL = 1, DNS_HOT = 2, DNS_PRESSED = 3, DNS_DISABLED = 4;
constexpr int SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3, SBP_LOWERTRACKHORZ = 4,
              SBP_UPPERTRACKHORZ = 5, SBP_LOWERTRACKVERT = 6, SBP_UPPERTRACKVERT = 7, SBP_GRIPPERHORZ = 8,
              SBP_GRIPPERVERT = 9, SBP_SIZEBOX = 10;
constexpr int ABS_UPNORMAL = 1, ABS_UPHOT = 2, ABS_UPPRESSED = 3, ABS_UPDISABLED = 4, ABS_DOWNNORMAL = 5,
              ABS_DOWNHOT = 6, ABS_DOWNPRESSED = 7, ABS_DOWNDISABLED = 8, ABS_LEFTNORMAL = 9, ABS_LEFTHOT = 10,
              ABS_LEFTPRESSED = 11, ABS_LEFTDISABLED = 12, ABS_RIGHTNORMAL = 13, ABS_RIGHTHOT = 14,
              ABS_RIGHTPRESSED = 15, ABS_RIGHTDISABLED = 16;
constexpr int SCRBS_NORMAL = 1, SCRBS_HOT = 2, SCRBS_PRESSED = 3, SCRBS_DISABLED = 4;
constexpr int HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3, HP_HEADERSORTARROW = 4;
constexpr int HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3;
constexpr int TABP_TABITEM = 1, TABP_TABITEMLEFTEDGE = 2, TABP_TABITEMRIGHTEDGE = 3, TABP_TABITEMBOTHEDGE = 4,
              TABP_TOPTABITEM = 5, TABP_TOPTABITEMLEFTEDGE = 6, TABP_TOPTABITEMRIGHTEDGE = 7,
              TABP_TOPTABITEMBOTHEDGE = 8, TABP_PANE = 9, TABP_BODY = 10;
constexpr int TIS_NORMAL = 1, TIS_HOT = 2, TIS_SELECTED = 3, TIS_DISABLED = 4, TIS_FOCUSED = 5;
constexpr int TP_BUTTON = 1, TP_DROPDOWNBUTTON = 2, TP_SPLITBUTTON = 3, TP_SPLITBUTTONDROPDOWN = 4,
              TP_SEPARATOR = 5, TP_SEPARATORVERT = 6;
constexpr int TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5, TS_HOTCHECKED = 6;
constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;
constexpr int EP_EDITTEXT = 1, EP_CARET = 2;
constexpr int ETS_NORMAL = 1, ETS_HOT = 2, ETS_SELECTED = 3, ETS_DISABLED = 4, ETS_FOCUSED = 5, ETS_READONLY = 6,
              ETS_ASSIST = 7;
constexpr int TTP_STANDARD = 1, TTP_STANDARDTITLE = 2, TTP_BALLOON = 3;
constexpr int TTSS_NORMAL = 1;
constexpr int WP_CAPTION = 1, WP_SMALLCAPTION = 2, WP_MINCAPTION = 3, WP_FRAMELEFT = 7, WP_FRAMERIGHT = 8,
              WP_FRAMEBOTTOM = 9, WP_SYSBUTTON = 13, WP_MINBUTTON = 15, WP_MAXBUTTON = 17, WP_CLOSEBUTTON = 18,
              WP_SMALLCLOSEBUTTON = 19, WP_RESTOREBUTTON = 21, WP_HELPBUTTON = 23;
constexpr int CS_ACTIVE = 1, CS_INACTIVE = 2, CS_DISABLED = 3;
constexpr int FS_ACTIVE = 1, FS_INACTIVE = 2;
constexpr int CBS_NORMAL = 1, CBS_HOT = 2, CBS_PUSHED = 3, CBS_DISABLED = 4;  // caption buttons

// Property ids
constexpr int TMT_CAPTIONFONT = 801, TMT_SMALLCAPTIONFONT = 802, TMT_MENUFONT = 803, TMT_STATUSFONT = 804,
              TMT_MSGBOXFONT = 805, TMT_ICONTITLEFONT = 806;
constexpr int TMT_BORDERCOLOR = 3801, TMT_FILLCOLOR = 3802, TMT_TEXTCOLOR = 3803, TMT_EDGELIGHTCOLOR = 3804,
              TMT_EDGEHIGHLIGHTCOLOR = 3805, TMT_EDGESHADOWCOLOR = 3806, TMT_EDGEDKSHADOWCOLOR = 3807,
              TMT_EDGEFILLCOLOR = 3808, TMT_GLOWCOLOR = 3816, TMT_FILLCOLORHINT = 3821,
              TMT_BORDERCOLORHINT = 3822, TMT_ACCENTCOLORHINT = 3823;
constexpr int TMT_BORDERSIZE = 2403, TMT_CONTENTMARGINS = 3602, TMT_SIZINGMARGINS = 3601,
              TMT_PROGRESSCHUNKSIZE = 2411, TMT_PROGRESSSPACESIZE = 2412;

enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };
struct MARGINS {
  int cxLeftWidth = 0, cxRightWidth = 0, cyTopHeight = 0, cyBottomHeight = 0;
};

// ---- functions ------------------------------------------------------------------------
// Class list: one or more class names separated by ';' (case-insensitive); the first one
// this painter knows is opened. Null when themes are off or no class is known.
HTHEME OpenThemeData(HWND window, const char16_t* classList);
HTHEME OpenThemeData(HWND window, const char* classList);
HRESULT CloseThemeData(HTHEME theme);
HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
// Text in the part's text colour (grey for disabled states); flags are DrawText formats.
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const char16_t* text, int count, DWORD flags,
                      DWORD flags2, const RECT* rect);
HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, const char* text, int count, DWORD flags,
                      DWORD flags2, const RECT* rect);
HRESULT GetThemePartSize(HTHEME theme, HDC dc, int part, int state, const RECT* rect, THEMESIZE kind, SIZE* size);
HRESULT GetThemeColor(HTHEME theme, int part, int state, int prop, COLORREF* color);
HRESULT GetThemeInt(HTHEME theme, int part, int state, int prop, int* value);
HRESULT GetThemeMargins(HTHEME theme, HDC dc, int part, int state, int prop, const RECT* rect, MARGINS* margins);
HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds, RECT* content);
HRESULT DrawThemeEdge(HTHEME theme, HDC dc, int part, int state, const RECT* dest, UINT edge, UINT flags,
                      RECT* content);
BOOL IsThemeBackgroundPartiallyTransparent(HTHEME theme, int part, int state);
BOOL IsThemePartDefined(HTHEME theme, int part, int state);
HRESULT GetThemeSysFont(HTHEME theme, int fontId, LOGFONT* font);
COLORREF GetThemeSysColor(HTHEME theme, int colorId);
BOOL IsThemeActive();
BOOL IsAppThemed();
// Theme file, colour scheme ("NormalColor") and size ("NormalSize"), each truncated to
// its buffer of `max*` characters including the terminating zero.
HRESULT GetCurrentThemeName(char16_t* themeFile, int maxFile, char16_t* colorName, int maxColor, char16_t* sizeName,
                            int maxSize);
HRESULT EnableTheming(BOOL enable);
// Paints the parent's background under a child's rectangle, through the painter the
// window system registers (without one, the area is filled with the button face colour).
HRESULT DrawThemeParentBackground(HWND child, HDC dc, const RECT* rect);

// ---- switches for the window system and tests -------------------------------------------
// The theme in force lives here; the window system's identity (SystemIdentity().ThemesActive,
// .ThemeColorScheme) reads and writes it. A switch that changes something calls the
// change handler the window system registers (it tells every top-level window).
void SetThemeActive(bool active);
// The colour scheme GetCurrentThemeName answers ("NormalColor", "Metallic", "HomeStead").
void SetThemeColorScheme(const std::string& scheme);
std::string GetThemeColorScheme();
using ThemeChangeHandler = std::function<void()>;
void SetThemeChangeHandler(ThemeChangeHandler handler);
using ThemeParentBackgroundPainter = std::function<HRESULT(HWND child, HDC dc, const RECT* rect)>;
void SetThemeParentBackgroundPainter(ThemeParentBackgroundPainter painter);
