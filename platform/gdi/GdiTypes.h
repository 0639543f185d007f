#pragma once
// Base types, handles and constants of the GDI layer: the Win32-like vocabulary that
// components use when they draw (handles, colours, rectangles, logical font and pen
// descriptions, bitmap headers). The window system includes this header for RECT,
// POINT, SIZE and the scalar types.
#include <cstdint>
#include <string>

// ---- scalar types -----------------------------------------------------------------
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using INT = int;
using COLORREF = DWORD;
using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0, S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u), E_FAIL = HRESULT(0x80004005u),
                  E_INVALIDARG = HRESULT(0x80070057u), E_POINTER = HRESULT(0x80004003u);
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// ---- geometry ---------------------------------------------------------------------
struct POINT {
  LONG x = 0;
  LONG y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};
struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};
// Right and bottom are exclusive: the rectangle covers left..right-1, top..bottom-1.
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};
using LPRECT = RECT*;
using LPPOINT = POINT*;

// ---- handles ----------------------------------------------------------------------
// A GDI handle is an opaque number: using a deleted handle fails cleanly instead of
// touching freed memory. Object handles convert implicitly to HGDIOBJ.
struct HGDIOBJ__ {};
struct HPEN__ : HGDIOBJ__ {};
struct HBRUSH__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
struct HBITMAP__ : HGDIOBJ__ {};
struct HRGN__ : HGDIOBJ__ {};
struct HPALETTE__ : HGDIOBJ__ {};
struct HDC__ {};
struct HWND__;    // window handle, owned by the window system
struct HTHEME__;  // theme handle (UxTheme.h)
using HGDIOBJ = HGDIOBJ__*;
using HPEN = HPEN__*;
using HBRUSH = HBRUSH__*;
using HFONT = HFONT__*;
using HBITMAP = HBITMAP__*;
using HRGN = HRGN__*;
using HPALETTE = HPALETTE__*;
using HDC = HDC__*;
using HWND = HWND__*;
using HTHEME = HTHEME__*;

// ---- colours ----------------------------------------------------------------------
constexpr COLORREF RGB(int r, int g, int b) {
  return COLORREF((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// ---- logical descriptions -----------------------------------------------------------
constexpr int LF_FACESIZE = 32;
// Logical font. The face name is UTF-8; a negative height is the character (em) height
// in logical units, a positive one the cell height (ascent + descent), 0 a default.
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;   // tenths of a degree, counter-clockwise
  LONG lfOrientation = 0;
  LONG lfWeight = 0;       // FW_*; 0 = normal
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  std::string lfFaceName;
};
using LOGFONTA = LOGFONT;
using LOGFONTW = LOGFONT;

struct LOGPEN {
  UINT lopnStyle = 0;
  POINT lopnWidth;  // x is the width
  COLORREF lopnColor = 0;
};
struct LOGBRUSH {
  UINT lbStyle = 0;
  COLORREF lbColor = 0;
  std::uintptr_t lbHatch = 0;  // hatch style, or HBITMAP for BS_PATTERN
};
struct EXTLOGPEN {
  DWORD elpPenStyle = 0;
  DWORD elpWidth = 0;
  UINT elpBrushStyle = 0;
  COLORREF elpColor = 0;
  std::uintptr_t elpHatch = 0;
};

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
  char32_t tmFirstChar = 0x20;
  char32_t tmLastChar = 0xFFFC;
  char32_t tmDefaultChar = 0x1F;
  char32_t tmBreakChar = 0x20;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};
using TEXTMETRICA = TEXTMETRIC;
using TEXTMETRICW = TEXTMETRIC;

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;  // DIB sections only
};
struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  LONG biWidth = 0;
  LONG biHeight = 0;  // negative: top-down rows
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = 0;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};
struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
};
// Header followed by the colour table (palette of up to 256 entries for 1-, 4- and
// 8-bit formats; three DWORD masks for BI_BITFIELDS).
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};
struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3] = {0, 0, 0};
};

struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  WORD Red = 0;  // 16-bit channels: 0xFF00 is full
  WORD Green = 0;
  WORD Blue = 0;
  WORD Alpha = 0;
};
struct GRADIENT_RECT {
  UINT UpperLeft = 0;
  UINT LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
  UINT Vertex1 = 0;
  UINT Vertex2 = 0;
  UINT Vertex3 = 0;
};
struct BLENDFUNCTION {
  BYTE BlendOp = 0;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};
struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 0;
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;
};

// ---- constants ----------------------------------------------------------------------
// Object types (GetObjectType)
constexpr DWORD OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_PAL = 5, OBJ_FONT = 6, OBJ_BITMAP = 7,
                OBJ_REGION = 8, OBJ_MEMDC = 10, OBJ_EXTPEN = 11;

// Stock objects
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              OEM_FIXED_FONT = 10, ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13,
              DEVICE_DEFAULT_FONT = 14, DEFAULT_PALETTE = 15, SYSTEM_FIXED_FONT = 16,
              DEFAULT_GUI_FONT = 17, DC_BRUSH = 18, DC_PEN = 19;

// Pen styles
constexpr UINT PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
               PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF,
               PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
               PS_ENDCAP_MASK = 0xF00, PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000,
               PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000, PS_COSMETIC = 0,
               PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;

// Brush styles and hatches
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3,
               BS_DIBPATTERN = 5, BS_DIBPATTERNPT = 6, BS_PATTERN8X8 = 7;
constexpr int HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
              HS_DIAGCROSS = 5;

// Font weights, charsets, pitch and quality
constexpr LONG FW_DONTCARE = 0, FW_THIN = 100, FW_EXTRALIGHT = 200, FW_LIGHT = 300, FW_NORMAL = 400,
               FW_REGULAR = 400, FW_MEDIUM = 500, FW_SEMIBOLD = 600, FW_DEMIBOLD = 600,
               FW_BOLD = 700, FW_EXTRABOLD = 800, FW_HEAVY = 900, FW_BLACK = 900;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, RUSSIAN_CHARSET = 204,
               EASTEUROPE_CHARSET = 238, OEM_CHARSET = 255;
constexpr BYTE DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2, FF_DONTCARE = 0,
               FF_ROMAN = 16, FF_SWISS = 32, FF_MODERN = 48, FF_SCRIPT = 64, FF_DECORATIVE = 80;
constexpr BYTE TMPF_FIXED_PITCH = 1, TMPF_VECTOR = 2, TMPF_TRUETYPE = 4;
constexpr BYTE OUT_DEFAULT_PRECIS = 0, OUT_TT_PRECIS = 4, CLIP_DEFAULT_PRECIS = 0,
               DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, PROOF_QUALITY = 2,
               NONANTIALIASED_QUALITY = 3, ANTIALIASED_QUALITY = 4, CLEARTYPE_QUALITY = 5;

// Background modes, map modes, polygon fill modes, arc directions
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
              MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
constexpr int ALTERNATE = 1, WINDING = 2;
constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;

// Binary raster operations (SetROP2)
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4,
              R2_MASKPENNOT = 5, R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9,
              R2_NOTXORPEN = 10, R2_NOP = 11, R2_MERGENOTPEN = 12, R2_COPYPEN = 13,
              R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;

// Ternary raster operations (BitBlt, PatBlt, StretchBlt)
constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                NOTSRCERASE = 0x001100A6, MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226,
                PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09, PATINVERT = 0x005A0049,
                DSTINVERT = 0x00550009, BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062,
                NOMIRRORBITMAP = 0x80000000, CAPTUREBLT = 0x40000000;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4,
              STRETCH_ANDSCANS = 1, STRETCH_ORSCANS = 2, STRETCH_DELETESCANS = 3,
              STRETCH_HALFTONE = 4;

// Region kinds and combine modes
constexpr int ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3, RGN_ERROR = 0;
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;

// Text alignment (SetTextAlign) and ExtTextOut options
constexpr UINT TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6,
               TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256;
constexpr UINT ETO_OPAQUE = 0x2, ETO_CLIPPED = 0x4, ETO_GLYPH_INDEX = 0x10, ETO_RTLREADING = 0x80,
               ETO_IGNORELANGUAGE = 0x1000, ETO_PDY = 0x2000;

// DrawText formats
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
               DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
               DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200,
               DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000,
               DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000,
               DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
               DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
               DT_PREFIXONLY = 0x200000;

// DrawEdge
constexpr UINT BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4,
               BDR_SUNKENINNER = 0x8, BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5,
               BDR_SUNKEN = 0xA;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
               EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
               EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
               EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8,
               BF_TOPLEFT = 0x3, BF_TOPRIGHT = 0x6, BF_BOTTOMLEFT = 0x9, BF_BOTTOMRIGHT = 0xC,
               BF_RECT = 0xF, BF_DIAGONAL = 0x10, BF_MIDDLE = 0x800, BF_SOFT = 0x1000,
               BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000;

// DrawFrameControl
constexpr UINT DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4, DFC_POPUPMENU = 5;
constexpr UINT DFCS_CAPTIONCLOSE = 0x0, DFCS_CAPTIONMIN = 0x1, DFCS_CAPTIONMAX = 0x2,
               DFCS_CAPTIONRESTORE = 0x3, DFCS_CAPTIONHELP = 0x4, DFCS_MENUARROW = 0x0,
               DFCS_MENUCHECK = 0x1, DFCS_MENUBULLET = 0x2, DFCS_MENUARROWRIGHT = 0x4,
               DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2,
               DFCS_SCROLLRIGHT = 0x3, DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8,
               DFCS_SCROLLSIZEGRIPRIGHT = 0x10, DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1,
               DFCS_BUTTONRADIOMASK = 0x2, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8,
               DFCS_BUTTONPUSH = 0x10, DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200,
               DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800, DFCS_HOT = 0x1000,
               DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000;

// Bitmaps and DIBs
constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0, DIB_PAL_COLORS = 1;
constexpr BYTE AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;
constexpr DWORD GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2;
constexpr UINT FLOODFILLBORDER = 0, FLOODFILLSURFACE = 1;

// GetDeviceCaps indexes
constexpr int HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14,
              NUMCOLORS = 24, RASTERCAPS = 38, LOGPIXELSX = 88, LOGPIXELSY = 90,
              PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112,
              PHYSICALOFFSETY = 113, TECHNOLOGY = 2;
constexpr int DT_RASDISPLAY = 1, DT_RASPRINTER = 2;

// GetDCEx / ExtSelectClipRgn helpers live with the window system; GetRandomRgn-style
// queries are not needed.
