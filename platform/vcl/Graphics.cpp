#include "platform/vcl/Graphics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/gdi/Blit.h"
#include "platform/gdi/Coordinates.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/GifCodec.h"
#include "platform/image/ImageCodecs.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/image/ResourceStream.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"
#include "platform/win/WinIcon.h"

namespace {

// GDI's RECT and POINT from the framework's TRect and TPoint, whichever field names the
// GDI header gives them (templates so only the matching branch is compiled).
template <class R>
R ToRectT(const TRect& r) {
  R out{};
  if constexpr (requires { out.left; }) {
    out.left = r.Left; out.top = r.Top; out.right = r.Right; out.bottom = r.Bottom;
  } else {
    out.Left = r.Left; out.Top = r.Top; out.Right = r.Right; out.Bottom = r.Bottom;
  }
  return out;
}
template <class R>
TRect FromRectT(const R& r) {
  if constexpr (requires { r.left; }) return TRect{r.left, r.top, r.right, r.bottom};
  else return TRect{r.Left, r.Top, r.Right, r.Bottom};
}
template <class P>
P ToPointT(const TPoint& p) {
  P out{};
  if constexpr (requires { out.x; }) { out.x = p.X; out.y = p.Y; }
  else { out.X = p.X; out.Y = p.Y; }
  return out;
}
template <class P>
TPoint FromPointT(const P& p) {
  if constexpr (requires { p.x; }) return TPoint{p.x, p.y};
  else return TPoint{p.X, p.Y};
}
RECT ToRECT(const TRect& r) { return ToRectT<RECT>(r); }
TRect FromRECT(const RECT& r) { return FromRectT(r); }
POINT ToPOINT(const TPoint& p) { return ToPointT<POINT>(p); }
TPoint FromPOINT(const POINT& p) { return FromPointT(p); }
std::vector<POINT> ToPOINTs(const std::vector<TPoint>& pts) {
  std::vector<POINT> out;
  out.reserve(pts.size());
  for (const TPoint& p : pts) out.push_back(ToPOINT(p));
  return out;
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

struct TColorName { TColor Value; const char* Name; };
const TColorName ColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"},
    {clMedGray, "clMedGray"}, {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
    {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"}, {clNone, "clNone"}, {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
};

std::uint32_t ArgbFromColor(TColor c, std::uint8_t alpha = 255) {
  COLORREF rgb = ColorToRGB(c);
  return MakeArgb(alpha, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TByteBuffer ReadAll(TStream& Stream) {
  int64_t remaining = Stream.Size() - Stream.Position();
  TByteBuffer bytes(std::size_t(std::max<int64_t>(0, remaining)));
  if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

void WriteAll(TStream& Stream, const TByteBuffer& bytes) {
  if (!bytes.empty()) Stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

int MulDivRound(int a, int b, int c) {
  return int(std::lround(double(a) * b / c));
}

// A 32-bit top-down BITMAPINFO for a picture of the given size.
BITMAPINFO Info32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

// ---- colours ------------------------------------------------------------------------------
COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return COLORREF(Color);
}

bool ColorToIdent(TColor Color, std::string& Ident) {
  for (const TColorName& n : ColorNames)
    if (n.Value == Color) {
      Ident = n.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const std::string& Ident, TColor& Color) {
  const std::string wanted = LowerAscii(Ident);
  for (const TColorName& n : ColorNames)
    if (LowerAscii(n.Name) == wanted) {
      Color = n.Value;
      return true;
    }
  // The aliases that have no name of their own when written.
  if (wanted == "clltgray") { Color = clLtGray; return true; }
  if (wanted == "cldkgray") { Color = clDkGray; return true; }
  return false;
}

std::string ColorToString(TColor Color) {
  std::string name;
  if (ColorToIdent(Color, name)) return name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%.8X", static_cast<unsigned>(Color));
  return buffer;
}

TColor StringToColor(const std::string& S) {
  TColor color;
  if (IdentToColor(S, color)) return color;
  std::string t = S;
  while (!t.empty() && t.front() == ' ') t.erase(0, 1);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  bool negative = false;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  int base = 10;
  if (i < t.size() && t[i] == '$') { base = 16; ++i; }
  else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) { base = 16; i += 2; }
  if (i >= t.size()) throw EConvertError("'" + S + "' is not a valid integer value");
  std::uint64_t value = 0;
  for (; i < t.size(); ++i) {
    int d;
    char c = t[i];
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else throw EConvertError("'" + S + "' is not a valid integer value");
    value = value * std::uint64_t(base) + std::uint64_t(d);
    if (value > 0xFFFFFFFFull) throw EConvertError("'" + S + "' is not a valid integer value");
  }
  if (base == 10 && value > (negative ? 0x80000000ull : 0x7FFFFFFFull))
    throw EConvertError("'" + S + "' is not a valid integer value");
  std::uint32_t bits = std::uint32_t(value);
  return negative ? TColor(-std::int64_t(value)) : TColor(bits);
}

// ---- graphics objects -------------------------------------------------------------------
void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

static const TEnumInfo* FontStyleNames = RegisterEnum("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
static const TEnumInfo* FontPitchNames = RegisterEnum("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
static const TEnumInfo* PenStyleNames = RegisterEnum(
    "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame",
                  "psUserStyle", "psAlternate"});
static const TEnumInfo* PenModeNames = RegisterEnum(
    "TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
                 "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask",
                 "pmNotMask", "pmXor", "pmNotXor"});
static const TEnumInfo* BrushStyleNames = RegisterEnum(
    "TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
                    "bsCross", "bsDiagCross"});

TFont::TFont() = default;
TFont::~TFont() { FreeHandle(); }

const TIntConsts* ColorConsts() {
  static const TIntConsts consts = [] {
    TIntConsts c;
    c.TypeName = "TColor";
    std::vector<TColor> values = {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
                                  clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite,
                                  clNone, clDefault};
    for (int i = 0; i <= COLOR_ENDCOLORS; ++i) values.push_back(TColor(0x80000000u | unsigned(i)));
    for (TColor v : values) {
      std::string name;
      if (ColorToIdent(v, name)) c.Map.emplace_back(name, v);
    }
    return c;
  }();
  return &consts;
}

void TFont::Publish(TClassBuilder<TFont>& P) {
  P.Int("Charset", &TFont::GetCharset, &TFont::SetCharset)
      .Int("Color", &TFont::GetColor, &TFont::SetColor)
      .Consts(ColorConsts())
      .Int("Height", &TFont::GetHeight, &TFont::SetHeight)
      .Str("Name", &TFont::GetName, &TFont::SetName)
      .Int("Orientation", &TFont::GetOrientation, &TFont::SetOrientation, 0)
      .Enum("Pitch", FontPitchNames, &TFont::GetPitch, &TFont::SetPitch, fpDefault)
      .Set("Style", FontStyleNames, &TFont::GetStyle, &TFont::SetStyle, TFontStyles{});
}

void TFont::FreeHandle() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
}

void TFont::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    // Like the framework's shared font resources, assigning an equal font changes nothing
    // and tells no one (a control taking its parent's equal font keeps its size).
    const int height = MulDivRound(f->FHeight, PixelsPerInch, f->PixelsPerInch);
    const bool sameFace = FName == f->FName && FHeight == height && FStyle == f->FStyle && FCharset == f->FCharset &&
                          FPitch == f->FPitch && FOrientation == f->FOrientation;
    if (sameFace && FColor == f->FColor) return;
    FName = f->FName;
    FHeight = height;
    FStyle = f->FStyle;
    FColor = f->FColor;
    FCharset = f->FCharset;
    FPitch = f->FPitch;
    FOrientation = f->FOrientation;
    if (sameFace) TGraphicsObject::Changed();  // only the colour: the handle stays
    else Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}
void TFont::SetHeight(int Value) {
  Value = ClampCoordinate(Value);  // a height is a size like any other
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}
int TFont::GetSize() const { return -MulDivRound(FHeight, 72, PixelsPerInch); }
void TFont::SetSize(int Value) { SetHeight(-MulDivRound(Value, PixelsPerInch, 72)); }
void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}
void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  // The colour is a DC attribute, not part of the GDI font: keep the handle.
  TGraphicsObject::Changed();
}
void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}
void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}
void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

HFONT TFont::GetHandle() {
  if (!FHandle) {
    LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    lf.lfFaceName = FName;
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONT lf;
  if (!Value || !GetObject(Value, sizeof(LOGFONT), &lf)) return;
  FName = lf.lfFaceName.empty() ? FName : lf.lfFaceName;
  FHeight = lf.lfHeight;
  FStyle = {};
  if (lf.lfWeight >= FW_BOLD) FStyle += fsBold;
  if (lf.lfItalic) FStyle += fsItalic;
  if (lf.lfUnderline) FStyle += fsUnderline;
  if (lf.lfStrikeOut) FStyle += fsStrikeOut;
  FCharset = lf.lfCharSet;
  int pitch = lf.lfPitchAndFamily & 3;
  FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  FOrientation = lf.lfEscapement;
  Changed();
}

// Pens
TPen::~TPen() { FreeHandle(); }

void TPen::Publish(TClassBuilder<TPen>& P) {
  P.Int("Color", &TPen::GetColor, &TPen::SetColor, clBlack).Consts(ColorConsts())
      .Enum("Mode", PenModeNames, &TPen::GetMode, &TPen::SetMode, pmCopy)
      .Enum("Style", PenStyleNames, &TPen::GetStyle, &TPen::SetStyle, psSolid)
      .Int("Width", &TPen::GetWidth, &TPen::SetWidth, 1);
}

void TPen::FreeHandle() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
}
void TPen::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}
void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}
void TPen::SetColor(TColor Value) { if (Value != FColor) { FColor = Value; Changed(); } }
void TPen::SetWidth(int Value) {
  if (Value < 0) Value = 0;
  if (Value != FWidth) { FWidth = Value; Changed(); }
}
void TPen::SetStyle(TPenStyle Value) { if (Value != FStyle) { FStyle = Value; Changed(); } }
void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  TGraphicsObject::Changed();  // the mode is a DC attribute
}

HPEN TPen::GetHandle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                                 PS_INSIDEFRAME, PS_SOLID, PS_ALTERNATE};
    FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

// Brushes
TBrush::~TBrush() { FreeHandle(); }

void TBrush::Publish(TClassBuilder<TBrush>& P) {
  P.Int("Color", &TBrush::GetColor, &TBrush::SetColor, clWhite).Consts(ColorConsts())
      .Enum("Style", BrushStyleNames, &TBrush::GetStyle, &TBrush::SetStyle, bsSolid);
}

void TBrush::FreeHandle() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
}
void TBrush::Changed() {
  FreeHandle();
  TGraphicsObject::Changed();
}
void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  TGraphicsObject::Assign(Source);
}
void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle && !FBitmap) return;
  FStyle = Value;
  FBitmap = nullptr;
  Changed();
}
void TBrush::SetBitmap(TBitmap* Value) {
  FBitmap = Value;
  Changed();
}

HBRUSH TBrush::GetHandle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->GetEmpty())
      FHandle = CreatePatternBrush(FBitmap->GetHandle());
    else if (FStyle == bsSolid)
      FHandle = CreateSolidBrush(ColorToRGB(FColor));
    else if (FStyle == bsClear)
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else
      FHandle = CreateHatchBrush(int(FStyle) - int(bsHorizontal), ColorToRGB(FColor));
  }
  return FHandle;
}

// ---- canvas ---------------------------------------------------------------------------------
TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FFont->OnChange = [this](TObject*) { FState -= csFontValid; };
  FPen->OnChange = [this](TObject*) { FState -= csPenValid; };
  FBrush->OnChange = [this](TObject*) { FState -= csBrushValid; };
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

// The handle handed out holds the canvas's font, pen and brush, so that code drawing or
// measuring on it directly (DrawText, GetTextMetrics) uses what the canvas shows.
HDC TCanvas::GetHandle() {
  if (!FHandle) CreateHandle();
  if (!FHandle) return nullptr;
  RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    FState -= csHandleValid;
  }
  FHandle = Value;
  if (Value) FState += csHandleValid;
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    if (FOldFont) SelectObject(FHandle, FOldFont);
  }
  FOldPen = FOldBrush = FOldFont = nullptr;
  FState -= TCanvasStates{csPenValid, csBrushValid, csFontValid};
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::CreateFont() {
  HGDIOBJ old = SelectObject(FHandle, FFont->GetHandle());
  if (!FOldFont) FOldFont = old;
  SetTextColor(FHandle, ColorToRGB(FFont->GetColor()));
}

void TCanvas::CreatePen() {
  static const int rop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                             R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,
                             R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN};
  HGDIOBJ old = SelectObject(FHandle, FPen->GetHandle());
  if (!FOldPen) FOldPen = old;
  SetROP2(FHandle, rop2[FPen->GetMode()]);
}

void TCanvas::CreateBrush() {
  HGDIOBJ old = SelectObject(FHandle, FBrush->GetHandle());
  if (!FOldBrush) FOldBrush = old;
  SetBkColor(FHandle, ColorToRGB(FBrush->GetColor()));
  SetBkMode(FHandle, FBrush->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
}

void TCanvas::RequiredState(TCanvasStates State) {
  TCanvasStates needed = State - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid) || !FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    FState += csHandleValid;
  }
  if (needed.Contains(csFontValid)) CreateFont();
  if (needed.Contains(csPenValid)) CreatePen();
  if (needed.Contains(csBrushValid)) CreateBrush();
  FState += State;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r{};
  GetClipBox(FHandle, &r);
  return FromRECT(r);
}

TPoint TCanvas::GetPenPos() {
  RequiredState({csHandleValid});
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return FromPOINT(p);
}

void TCanvas::SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

#define LORM_CANVAS_SHAPE(Call)                                   \
  Changing();                                                     \
  RequiredState({csHandleValid, csPenValid, csBrushValid});       \
  Call;                                                           \
  Changed()

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) { LORM_CANVAS_SHAPE(::Rectangle(FHandle, X1, Y1, X2, Y2)); }
void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  LORM_CANVAS_SHAPE(::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3));
}
void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) { LORM_CANVAS_SHAPE(::Ellipse(FHandle, X1, Y1, X2, Y2)); }
void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  LORM_CANVAS_SHAPE(::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  LORM_CANVAS_SHAPE(::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  LORM_CANVAS_SHAPE(::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4));
}
void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  std::vector<POINT> pts = ToPOINTs(Points);
  LORM_CANVAS_SHAPE(::Polygon(FHandle, pts.data(), int(pts.size())));
}
void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  std::vector<POINT> pts = ToPOINTs(Points);
  LORM_CANVAS_SHAPE(::Polyline(FHandle, pts.data(), int(pts.size())));
}
void TCanvas::PolyBezier(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  std::vector<POINT> pts = ToPOINTs(Points);
  LORM_CANVAS_SHAPE(::PolyBezier(FHandle, pts.data(), DWORD(pts.size())));
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(R);
  ::FillRect(FHandle, &r, FBrush->GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(R);
  ::FrameRect(FHandle, &r, FBrush->GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  RECT r = ToRECT(R);
  ::DrawFocusRect(FHandle, &r);
  Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ExtFloodFill(FHandle, X, Y, ColorToRGB(Color), FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOut(FHandle, X, Y, UINT(TextFlags), nullptr, Text.data(), UINT(Text.size()), nullptr);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = UINT(TextFlags) | ETO_CLIPPED;
  if (FBrush->GetStyle() != bsClear) options |= ETO_OPAQUE;
  RECT r = ToRECT(R);
  ExtTextOut(FHandle, X, Y, options, &r, Text.data(), UINT(Text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(TRect& R, std::string& Text, TTextFormat Format) {
  static const UINT flags[] = {DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS,
                               DT_PATH_ELLIPSIS, DT_EXPANDTABS, DT_EXTERNALLEADING, DT_LEFT,
                               DT_MODIFYSTRING, DT_NOCLIP, DT_NOPREFIX, DT_RIGHT, DT_RTLREADING,
                               DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK, DT_HIDEPREFIX,
                               DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS};
  UINT format = 0;
  for (int i = 0; i <= int(tfWordEllipsis); ++i)
    if (Format.Contains(TTextFormats(i))) format |= flags[i];
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  RECT r = ToRECT(R);
  std::string modified;
  DrawTextUtf8(FHandle, Text, &r, format, (format & DT_MODIFYSTRING) ? &modified : nullptr);
  if (format & DT_CALCRECT) R = FromRECT(r);
  if (format & DT_MODIFYSTRING) Text = modified;
  Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
  RequiredState({csHandleValid, csFontValid});
  SIZE size{};
  GetTextExtentPoint32(FHandle, Text.data(), int(Text.size()), &size);
  return TSize{size.cx, size.cy};
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->GetEmpty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, TRect{X, Y, X + Graphic->GetWidth(), Y + Graphic->GetHeight()});
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->GetEmpty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
             Source.Width(), Source.Height(), DWORD(CopyMode));
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->GetEmpty()) return;
  // Replace the colour by the brush in a copy of the source piece, then copy that.
  TRawImage image = Bitmap->ToRawImage();
  const int w = Source.Width(), h = Source.Height();
  if (w <= 0 || h <= 0) return;
  TRawImage piece(w, h, ArgbFromColor(FBrush->GetColor()));
  const std::uint32_t key = ArgbFromColor(Color) & 0xFFFFFF;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int sx = Source.Left + x, sy = Source.Top + y;
      if (sx < 0 || sy < 0 || sx >= image.Width || sy >= image.Height) continue;
      std::uint32_t p = image.At(sx, sy);
      if ((p & 0xFFFFFF) != key) piece.At(x, y) = p | 0xFF000000u;
    }
  DrawRawImage(this, Dest, piece);
}

TColor TCanvas::GetPixel(int X, int Y) {
  RequiredState({csHandleValid});
  COLORREF c = ::GetPixel(FHandle, X, Y);
  return c == CLR_INVALID ? clNone : TColor(c);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(FHandle, X, Y, ColorToRGB(Color));
  Changed();
}

void TCanvas::Lock() {
  FMutex.lock();
  ++FLockCount;
}
void TCanvas::Unlock() {
  --FLockCount;
  FMutex.unlock();
}
bool TCanvas::TryLock() {
  if (!FMutex.try_lock()) return false;
  ++FLockCount;
  return true;
}

void DrawRawImage(TCanvas* Canvas, const TRect& R, const TRawImage& Image) {
  if (!Canvas || Image.Empty() || R.Width() <= 0 || R.Height() <= 0) return;
  BITMAPINFO info = Info32(Image.Width, Image.Height);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) return;
  CopyToPremultiplied(Image, static_cast<std::uint8_t*>(bits), Image.Width * 4);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, dib);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(Canvas->GetHandle(), R.Left, R.Top, R.Width(), R.Height(), mem, 0, 0, Image.Width, Image.Height,
             blend);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(dib);
}

// ---- TGraphic --------------------------------------------------------------------------------
void TGraphic::SetSize(int AWidth, int AHeight) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::Changed() {
  Modified = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromBytes(TBytesView Bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(Bytes.data(), int64_t(Bytes.size()));
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  CheckLoadableSize(stream);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(stream);
}

// ---- TBitmap -----------------------------------------------------------------------------------
// The canvas of a bitmap: a memory DC with the bitmap selected, made when first drawn on.
class TBitmapCanvas : public TCanvas {
  LORM_CLASS(TBitmapCanvas, TCanvas)
public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }
  void FreeContext() {
    if (!FHandle) return;
    HDC dc = FHandle;
    SetHandle(nullptr);
    if (FOldBitmap) SelectObject(dc, FOldBitmap);
    FOldBitmap = nullptr;
    DeleteDC(dc);
  }

protected:
  void CreateHandle() override {
    if (!FBitmap->FHandle) FBitmap->NewImage(std::max(FBitmap->FWidth, 0), std::max(FBitmap->FHeight, 0),
                                             FBitmap->FPixelFormat, true);
    HDC dc = CreateCompatibleDC(nullptr);
    if (FBitmap->FHandle) FOldBitmap = SelectObject(dc, FBitmap->FHandle);
    SetHandle(dc);
  }
  void Changed() override {
    TCanvas::Changed();
    FBitmap->Changed();
  }

private:
  TBitmap* FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
};

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  FCanvas.reset();
  if (FHandle) DeleteObject(FHandle);
}

void TBitmap::FreeContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::Changed() { TGraphic::Changed(); }

static int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

// Makes a new DIB section of the format (no pixels copied).
void TBitmap::NewImage(int AWidth, int AHeight, TPixelFormat Format, bool FillWhite) {
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = std::max(0, AWidth);
  FHeight = std::max(0, AHeight);
  FPixelFormat = Format;
  if (FWidth == 0 || FHeight == 0) return;
  const int bits = BitsOf(Format);
  BITMAPINFO info{};
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = FWidth;
  info.bmiHeader.biHeight = FHeight;  // bottom-up, as the framework's bitmaps are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = WORD(bits);
  info.bmiHeader.biCompression = BI_RGB;
  if (bits <= 8) {
    // Black and white; the 16 classic colours; a 6x6x6 cube plus greys.
    const int n = 1 << bits;
    info.bmiHeader.biClrUsed = DWORD(n);
    static const COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                     0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                     0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < n; ++i) {
      COLORREF c;
      if (bits == 1) c = i ? 0xFFFFFF : 0;
      else if (bits == 4) c = vga[i];
      else if (i < 216) c = RGB((i % 6) * 51, ((i / 6) % 6) * 51, (i / 36) * 51);
      else c = RGB((i - 216) * 255 / 39, (i - 216) * 255 / 39, (i - 216) * 255 / 39);
      info.bmiColors[i].rgbRed = GetRValue(c);
      info.bmiColors[i].rgbGreen = GetGValue(c);
      info.bmiColors[i].rgbBlue = GetBValue(c);
    }
  }
  FHandle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &FBits, nullptr, 0);
  if (!FHandle) throw EOutOfResources("Out of system resources");
  FStride = ((FWidth * bits + 31) / 32) * 4;
  if (FillWhite) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FHandle);
    PatBlt(dc, 0, 0, FWidth, FHeight, WHITENESS);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AWidth == FWidth && AHeight == FHeight && (FHandle || AWidth == 0 || AHeight == 0)) return;
  TRawImage old = ToRawImage();
  NewImage(AWidth, AHeight, FPixelFormat, true);
  if (!old.Empty() && FHandle) {
    TRawImage keep(std::min(old.Width, FWidth), std::min(old.Height, FHeight));
    for (int y = 0; y < keep.Height; ++y)
      for (int x = 0; x < keep.Width; ++x) keep.At(x, y) = old.At(x, y);
    BITMAPINFO info = Info32(keep.Width, keep.Height);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ prev = SelectObject(dc, FHandle);
    SetDIBitsToDevice(dc, 0, 0, DWORD(keep.Width), DWORD(keep.Height), 0, 0, 0, UINT(keep.Height),
                      keep.Pixels.data(), &info, DIB_RGB_COLORS);
    SelectObject(dc, prev);
    DeleteDC(dc);
  }
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat || Value == pfCustom) return;
  TRawImage old = ToRawImage();
  NewImage(FWidth, FHeight, Value, false);
  if (!old.Empty()) LoadFromRawImage(old);
  Changed();
}

void* TBitmap::ScanLine(int Row) {
  if (!FHandle) NewImage(FWidth, FHeight, FPixelFormat, true);
  if (!FBits || Row < 0 || Row >= FHeight)
    throw EInvalidGraphicOperation("Scan line index out of range");
  GdiFlush();
  return static_cast<std::uint8_t*>(FBits) + std::size_t(FHeight - 1 - Row) * std::size_t(FStride);
}

TColor TBitmap::GetTransparentColor() {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (GetEmpty()) return clDefault;
  if (GetMonochrome()) return clWhite;
  return Canvas()->GetPixel(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto) SetTransparentColor(clDefault);
  else SetTransparentColor(GetTransparentColor());
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

HBITMAP TBitmap::GetHandle() {
  if (!FHandle && FWidth > 0 && FHeight > 0) NewImage(FWidth, FHeight, FPixelFormat, true);
  return FHandle;
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  FreeContext();
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
  if (Value) {
    DIBSECTION ds{};
    int n = GetObject(Value, sizeof(DIBSECTION), &ds);
    BITMAP bm{};
    if (n < int(sizeof(DIBSECTION))) GetObject(Value, sizeof(BITMAP), &bm);
    else bm = ds.dsBm;
    FHandle = Value;
    FWidth = bm.bmWidth;
    FHeight = bm.bmHeight;
    FBits = bm.bmBits;
    FStride = bm.bmWidthBytes;
    switch (bm.bmBitsPixel) {
      case 1: FPixelFormat = pf1bit; break;
      case 4: FPixelFormat = pf4bit; break;
      case 8: FPixelFormat = pf8bit; break;
      case 16: FPixelFormat = pf16bit; break;
      case 24: FPixelFormat = pf24bit; break;
      case 32: FPixelFormat = FBits ? pf32bit : pfDevice; break;
      default: FPixelFormat = pfCustom; break;
    }
    // ScanLine needs bottom-up DIB memory; other bitmaps answer through a copy.
    if (FBits && n >= int(sizeof(DIBSECTION)) && ds.dsBmih.biHeight < 0) {
      TRawImage image = ToRawImage();
      TPixelFormat format = FPixelFormat;
      NewImage(FWidth, FHeight, format, false);
      LoadFromRawImage(image);
      DeleteObject(Value);
    }
  }
  Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP h = FHandle;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
  return h;
}

TRawImage TBitmap::ToRawImage() const {
  if (!FHandle || FWidth <= 0 || FHeight <= 0) return {};
  TRawImage image(FWidth, FHeight);
  BITMAPINFO info = Info32(FWidth, FHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, FHandle, 0, UINT(FHeight), image.Pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (FPixelFormat != pf32bit || AlphaFormat == afIgnored) {
    for (std::uint32_t& p : image.Pixels) p |= 0xFF000000u;
  } else if (AlphaFormat == afPremultiplied) {
    UnpremultiplyPixels(image.Pixels.data(), image.Pixels.size());
  }
  return image;
}

void TBitmap::LoadFromRawImage(const TRawImage& Image) {
  TPixelFormat format = FPixelFormat;
  if (!FHandle || FWidth != Image.Width || FHeight != Image.Height)
    NewImage(Image.Width, Image.Height, format, false);
  if (!FHandle) {
    Changed();
    return;
  }
  BITMAPINFO info = Info32(Image.Width, Image.Height);
  HDC dc = CreateCompatibleDC(nullptr);
  SetDIBits(dc, FHandle, 0, UINT(Image.Height), Image.Pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  Changed();
}

namespace {
std::uint32_t LittleEndian32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
}  // namespace

// An uncompressed 24-bit file, or an indexed one with a full colour table, holds its rows
// exactly as the bitmap's own DIB rows: they are copied straight in. False (nothing
// loaded) for any other file, which then goes through the decoder.
bool TBitmap::LoadRowsFromBmp(TBytesView Bytes) {
  if (Bytes.size() < 54) return false;
  const std::uint8_t* p = Bytes.data();
  std::uint32_t offset = LittleEndian32(p + 10), headerSize = LittleEndian32(p + 14);
  if (headerSize != 40 && headerSize != 108 && headerSize != 124) return false;
  std::int32_t width = std::int32_t(LittleEndian32(p + 18)), height = std::int32_t(LittleEndian32(p + 22));
  int bits = p[28] | p[29] << 8;
  std::uint32_t compression = LittleEndian32(p + 30), used = LittleEndian32(p + 46);
  if (compression != BmpRgb || (bits != 24 && bits != 8 && bits != 4 && bits != 1)) return false;
  if (width <= 0 || height == 0 || height == INT32_MIN) return false;
  int rows = std::abs(height);
  CheckImageSize("Bitmap", width, rows);
  std::size_t stride = ((std::size_t(width) * std::size_t(bits) + 31) / 32) * 4;
  std::size_t colours = bits <= 8 ? std::size_t(1) << bits : 0;
  if (bits <= 8 && used != 0 && used != colours) return false;  // a short table: the decoder's case
  std::size_t table = 14 + std::size_t(headerSize);
  if (table + colours * 4 > offset || offset > Bytes.size() || (Bytes.size() - offset) / stride < std::size_t(rows))
    return false;
  TPixelFormat format = bits == 24 ? pf24bit : bits == 8 ? pf8bit : bits == 4 ? pf4bit : pf1bit;
  AlphaFormat = afIgnored;
  NewImage(width, rows, format, false);
  if (!FHandle || FStride != int(stride)) return false;
  if (colours) {
    std::vector<RGBQUAD> palette(colours);
    for (std::size_t i = 0; i < colours; ++i) {
      const std::uint8_t* q = p + table + i * 4;
      palette[i] = RGBQUAD{q[0], q[1], q[2], 0};
    }
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FHandle);
    SetDIBColorTable(dc, 0, UINT(colours), palette.data());
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  // The bitmap is bottom-up like most files; a top-down file's rows go in reversed.
  auto* out = static_cast<std::uint8_t*>(FBits);
  const std::uint8_t* in = p + offset;
  std::size_t used24 = std::size_t(width) * std::size_t(bits) / 8;
  for (int y = 0; y < rows; ++y) {
    std::uint8_t* row = out + std::size_t(height > 0 ? y : rows - 1 - y) * stride;
    std::memcpy(row, in + std::size_t(y) * stride, stride);
    if (bits == 24) std::memset(row + used24, 0, stride - used24);  // padding stays zero
  }
  Changed();
  return true;
}

void TBitmap::LoadFromBytes(TBytesView Bytes) {
  if (DetectImageFormat(Bytes) != TImageFormat::Bmp) throw EInvalidGraphic("Bitmap image is not valid");
  if (LoadRowsFromBmp(Bytes)) return;
  TBmpInfo info;
  TRawImage image = DecodeBmp(Bytes, &info);
  TPixelFormat format;
  switch (info.BitCount) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16: format = pf16bit; break;
    case 24: format = pf24bit; break;
    default: format = pf32bit; break;
  }
  AlphaFormat = info.HasAlpha ? afDefined : afIgnored;
  NewImage(image.Width, image.Height, format, false);
  if (format != pf32bit && format != pf24bit && !info.Palette.empty() && FHandle) {
    // Keep the file's own colour table so the indices stay as they were.
    std::vector<RGBQUAD> table;
    for (std::uint32_t c : info.Palette) table.push_back(RGBQUAD{ArgbBlue(c), ArgbGreen(c), ArgbRed(c), 0});
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FHandle);
    SetDIBColorTable(dc, 0, UINT(table.size()), table.data());
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  LoadFromRawImage(image);
}

void TBitmap::LoadFromStream(TStream& Stream) {
  TByteBuffer bytes = ReadAll(Stream);
  LoadFromBytes(bytes);
}

void TBitmap::SaveToStream(TStream& Stream) {
  TRawImage image = ToRawImage();
  if (image.Empty()) return;
  WriteAll(Stream, EncodeBmp(image, FPixelFormat == pf32bit ? 32 : 24));
}

void TBitmap::LoadFromResourceName(const void*, const std::string& ResName) {
  auto data = FindResourceData(RT_BITMAP, ResName);
  if (!data) data = FindResourceData(RT_RCDATA, ResName);
  if (!data) throw EResNotFound("Resource " + ResName + " not found");
  LoadFromBytes(*data);
}

void TBitmap::LoadFromResourceID(const void* Instance, int ResID) {
  LoadFromResourceName(Instance, "#" + std::to_string(ResID));
}

void TBitmap::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    if (b == this) return;
    TRawImage image = b->ToRawImage();
    AlphaFormat = b->AlphaFormat;
    FTransparent = b->FTransparent;
    FTransparentMode = b->FTransparentMode;
    FTransparentColor = b->FTransparentColor;
    NewImage(b->FWidth, b->FHeight, b->FPixelFormat, false);
    if (!image.Empty()) LoadFromRawImage(image);
    else Changed();
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    TRawImage image = g->ToRawImage();
    FPixelFormat = pf32bit;
    AlphaFormat = image.HasTransparency() ? afDefined : afIgnored;
    NewImage(image.Width, image.Height, pf32bit, false);
    LoadFromRawImage(image);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R) {
  if (GetEmpty()) return;
  HDC dest = ACanvas->GetHandle();
  HDC src = Canvas()->GetHandle();
  if (FTransparent) {
    TransparentBlt(dest, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, FWidth, FHeight,
                   ColorToRGB(GetTransparentColor()));
  } else if (FPixelFormat == pf32bit && AlphaFormat != afIgnored) {
    DrawRawImage(ACanvas, R, ToRawImage());
  } else {
    StretchBlt(dest, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, FWidth, FHeight, DWORD(ACanvas->CopyMode));
  }
}

// ---- TIcon -------------------------------------------------------------------------------------
int TIcon::GetWidth() const {
  if (FIcon.Entries.empty()) return 0;
  return FIcon.Best(FWantWidth, FWantHeight).Image.Width;
}
int TIcon::GetHeight() const {
  if (FIcon.Entries.empty()) return 0;
  return FIcon.Best(FWantWidth, FWantHeight).Image.Height;
}

void TIcon::LoadFromStream(TStream& Stream) {
  TByteBuffer bytes = ReadAll(Stream);
  FIcon = DecodeIcon(bytes);
  FBytes = std::move(bytes);
  Changed();
}

void TIcon::LoadFromBytes(TBytesView Bytes) {
  FIcon = DecodeIcon(Bytes);
  FBytes.assign(Bytes.begin(), Bytes.end());
  Changed();
}

void TIcon::SaveToStream(TStream& Stream) {
  if (!FBytes.empty()) WriteAll(Stream, FBytes);
  else if (!FIcon.Entries.empty()) WriteAll(Stream, EncodeIcon(FIcon));
}

void TIcon::LoadFromResourceName(const void*, const std::string& ResName) {
  TBytesView data = GetResourceData(RT_GROUP_ICON, ResName);
  FIcon = DecodeIcon(data);
  FBytes.assign(data.begin(), data.end());
  Changed();
}

void TIcon::Assign(TPersistent* Source) {
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    if (i == this) return;
    FIcon = i->FIcon;
    FBytes = i->FBytes;
    FWantWidth = i->FWantWidth;
    FWantHeight = i->FWantHeight;
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

TRawImage TIcon::ToRawImage() const {
  if (FIcon.Entries.empty()) return {};
  return FIcon.Best(FWantWidth, FWantHeight).Image;
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& R) {
  if (FIcon.Entries.empty() || !ACanvas || R.Width() <= 0 || R.Height() <= 0) return;
  // The image closest to the target size, with its mask, drawn as the system draws icons.
  HICON icon = nullptr;
  bool temporary = false;
  if (!FBytes.empty()) {
    icon = CreateIconFromResourceEx(FBytes.data(), DWORD(FBytes.size()), !FIcon.Cursor, 0x30000, R.Width(),
                                    R.Height(), 0);
    temporary = icon != nullptr;
  }
  if (!icon) icon = Handle();
  if (icon) DrawIconEx(ACanvas->GetHandle(), R.Left, R.Top, icon, R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
  else DrawRawImage(ACanvas, R, FIcon.Best(R.Width(), R.Height()).Image);
  if (temporary) DestroyIcon(icon);
}

TIcon::~TIcon() { FreeHandle(); }

void TIcon::FreeHandle() {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
}

void TIcon::Changed() {
  FreeHandle();
  TGraphic::Changed();
}

HICON TIcon::Handle() {
  if (FHandle || FIcon.Entries.empty()) return FHandle;
  const TIconEntry& e = FIcon.Best(FWantWidth, FWantHeight);
  // From the file bytes when there are some, so the image keeps its own mask.
  if (!FBytes.empty())
    FHandle = CreateIconFromResourceEx(FBytes.data(), DWORD(FBytes.size()), !FIcon.Cursor, 0x30000, e.Image.Width,
                                       e.Image.Height, 0);
  if (!FHandle) FHandle = CreateIconFromImage(e.Image, !FIcon.Cursor, e.HotSpotX, e.HotSpotY);
  return FHandle;
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  TIconFile icon;
  if (Value) {
    TIconEntry e;
    POINT hot{};
    if (!GetIconImage(Value, &e.Image, &hot)) throw EInvalidGraphic("Invalid icon handle");
    e.HotSpotX = hot.x;
    e.HotSpotY = hot.y;
    icon.Cursor = IsCursorHandle(Value) != FALSE;
    icon.Entries.push_back(std::move(e));
  }
  FreeHandle();
  FIcon = std::move(icon);
  FBytes.clear();
  FWantWidth = FWantHeight = 0;
  FHandle = Value;
  TGraphic::Changed();
}

HICON TIcon::ReleaseHandle() {
  HICON h = Handle();
  FHandle = nullptr;
  return h;
}

void TIcon::DefineProperties(TFiler* Filer) {
  TGraphic::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& Stream) { LoadFromStream(Stream); }, [this](TStream& Stream) { SaveToStream(Stream); },
      !GetEmpty());
}

// ---- PNG, JPEG, GIF ---------------------------------------------------------------------------
void TRasterImage::Assign(TPersistent* Source) {
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    if (g == this) return;
    SetRawImage(g->ToRawImage());
    return;
  }
  TGraphic::Assign(Source);
}

void TRasterImage::SetRawImage(const TRawImage& Image) {
  FImage = Image;
  Changed();
}

void TRasterImage::SetWidth(int Value) {
  TRawImage image(Value, FImage.Height);
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < std::min(image.Width, FImage.Width); ++x) image.At(x, y) = FImage.At(x, y);
  SetRawImage(image);
}

void TRasterImage::SetHeight(int Value) {
  TRawImage image(FImage.Width, Value);
  for (int y = 0; y < std::min(image.Height, FImage.Height); ++y)
    for (int x = 0; x < image.Width; ++x) image.At(x, y) = FImage.At(x, y);
  SetRawImage(image);
}

void TRasterImage::LoadFromStream(TStream& Stream) {
  TByteBuffer bytes = ReadAll(Stream);
  FImage = Decode(bytes);
  Changed();
}

void TRasterImage::LoadFromBytes(TBytesView Bytes) {
  FImage = Decode(Bytes);
  Changed();
}

void TRasterImage::SaveToStream(TStream& Stream) {
  if (FImage.Empty()) return;
  WriteAll(Stream, Encode(FImage));
}

void TRasterImage::Draw(TCanvas* ACanvas, const TRect& R) { DrawRawImage(ACanvas, R, FImage); }

TRawImage TPngImage::Decode(TBytesView Bytes) { return DecodePng(Bytes); }
TByteBuffer TPngImage::Encode(const TRawImage& Image) { return EncodePng(Image); }
TRawImage TJPEGImage::Decode(TBytesView Bytes) { return DecodeJpeg(Bytes); }
TByteBuffer TJPEGImage::Encode(const TRawImage& Image) { return EncodeJpeg(Image, CompressionQuality); }

TRawImage TGIFImage::Decode(TBytesView Bytes) {
  FAnimation = DecodeGif(Bytes);
  FBytes.assign(Bytes.begin(), Bytes.end());
  return FAnimation.Frames.front().Image;
}

TByteBuffer TGIFImage::Encode(const TRawImage&) {
  throw EInvalidGraphicOperation("Cannot save a changed GIF image");
}

void TGIFImage::SaveToStream(TStream& Stream) {
  if (FImage.Empty()) return;
  if (!Modified && !FBytes.empty()) WriteAll(Stream, FBytes);
  else WriteAll(Stream, Encode(FImage));
}

// ---- TPicture -----------------------------------------------------------------------------------
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

static std::unique_ptr<TGraphic> NewGraphicLike(TGraphic* g) {
  if (dynamic_cast<TBitmap*>(g)) return std::make_unique<TBitmap>();
  if (dynamic_cast<TIcon*>(g)) return std::make_unique<TIcon>();
  if (dynamic_cast<TPngImage*>(g)) return std::make_unique<TPngImage>();
  if (dynamic_cast<TJPEGImage*>(g)) return std::make_unique<TJPEGImage>();
  if (dynamic_cast<TGIFImage*>(g)) return std::make_unique<TGIFImage>();
  return std::make_unique<TBitmap>();
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    Adopt(nullptr);
    return;
  }
  if (Value == FGraphic.get()) return;
  std::unique_ptr<TGraphic> copy = NewGraphicLike(Value);
  if (auto* gif = dynamic_cast<TGIFImage*>(Value)) {
    // Copy the encoded animation so the frames come along.
    TMemoryStream s;
    gif->SaveToStream(s);
    s.SetPosition(0);
    copy->LoadFromStream(s);
  } else if (auto* icon = dynamic_cast<TIcon*>(Value)) {
    copy->Assign(icon);
  } else {
    copy->Assign(Value);
  }
  copy->Modified = false;
  Adopt(std::move(copy));
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(p->FGraphic.get());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    TPersistent::Assign(Source);
  }
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(FGraphic.get())) Adopt(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
  if (!dynamic_cast<TIcon*>(FGraphic.get())) Adopt(std::make_unique<TIcon>());
  return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromStream(TStream& Stream) {
  // The rest of the stream, read once: a memory stream's own bytes are used in place.
  TByteBuffer buffer;
  TBytesView bytes;
  auto* memory = dynamic_cast<TMemoryStream*>(&Stream);
  if (memory && memory->Position() >= 0 && memory->Position() <= memory->Size()) {
    bytes = TBytesView(static_cast<const std::uint8_t*>(memory->Memory()) + memory->Position(),
                       std::size_t(memory->Size() - memory->Position()));
    memory->SetPosition(memory->Size());
  } else {
    buffer = ReadAll(Stream);
    bytes = buffer;
  }
  std::unique_ptr<TGraphic> g;
  switch (DetectImageFormat(bytes)) {
    case TImageFormat::Bmp: g = std::make_unique<TBitmap>(); break;
    case TImageFormat::Ico: case TImageFormat::Cur: g = std::make_unique<TIcon>(); break;
    case TImageFormat::Png: g = std::make_unique<TPngImage>(); break;
    case TImageFormat::Jpeg: g = std::make_unique<TJPEGImage>(); break;
    case TImageFormat::Gif: g = std::make_unique<TGIFImage>(); break;
    default: throw EInvalidGraphic("Unknown picture format");
  }
  g->LoadFromBytes(bytes);
  g->Modified = false;
  Adopt(std::move(g));
}

void TPicture::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  CheckLoadableSize(stream);
  try {
    LoadFromStream(stream);
  } catch (const EInvalidGraphic& e) {
    std::string ext;
    std::size_t dot = FileName.rfind('.');
    if (dot != std::string::npos && FileName.find('/', dot) == std::string::npos) ext = FileName.substr(dot);
    if (std::string(e.what()) == "Unknown picture format" &&
        ImageFormatFromExtension(ext) == TImageFormat::Unknown)
      throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
    throw;
  }
}

void TPicture::SaveToStream(TStream& Stream) {
  if (FGraphic) FGraphic->SaveToStream(Stream);
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (!FGraphic) return;
  FGraphic->SaveToFile(FileName);
}

// ---- image lists ------------------------------------------------------------------------------
TChangeLink::~TChangeLink() {
  if (Sender) Sender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(Sender);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->Sender = nullptr;
}

void TCustomImageList::SetWidth(int Value) {
  if (Value <= 0 || Value == FWidth) return;
  FWidth = Value;
  Clear();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value <= 0 || Value == FHeight) return;
  FHeight = Value;
  Clear();
}

void TCustomImageList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EInvalidOperation("Invalid image list index");
}

const TRawImage& TCustomImageList::Image(int Index) const {
  CheckIndex(Index);
  return FImages[std::size_t(Index)];
}

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  FChanged = false;
  std::vector<TChangeLink*> links = FLinks;
  for (TChangeLink* link : links) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value) return;
  Value->Sender = this;
  if (std::find(FLinks.begin(), FLinks.end(), Value) == FLinks.end()) FLinks.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  FLinks.erase(std::remove(FLinks.begin(), FLinks.end(), Value), FLinks.end());
  if (Value && Value->Sender == this) Value->Sender = nullptr;
}

// Cuts the picture into Width×Height pieces left to right (at least one piece).
int TCustomImageList::AddPieces(const TRawImage& Image) {
  if (Image.Empty()) return -1;
  const int first = Count();
  const int pieces = std::max(1, Image.Width / FWidth);
  for (int i = 0; i < pieces; ++i) {
    TRawImage piece(FWidth, FHeight);
    for (int y = 0; y < std::min(FHeight, Image.Height); ++y)
      for (int x = 0; x < FWidth && i * FWidth + x < Image.Width; ++x) piece.At(x, y) = Image.At(i * FWidth + x, y);
    FImages.push_back(std::move(piece));
  }
  Change();
  return first;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  if (!Image || Image->GetEmpty()) return -1;
  TRawImage image = Image->ToRawImage();
  if (Mask && !Mask->GetEmpty() && Masked) {
    TRawImage mask = Mask->ToRawImage();
    for (int y = 0; y < image.Height; ++y)
      for (int x = 0; x < image.Width; ++x) {
        bool transparent = x < mask.Width && y < mask.Height && (mask.At(x, y) & 0xFFFFFF) != 0;
        if (transparent) image.At(x, y) = 0;
      }
  }
  return AddPieces(image);
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  if (!Image || Image->GetEmpty()) return -1;
  TRawImage image = Image->ToRawImage();
  if (Masked) {
    if (MaskColor == clDefault) MaskColor = TColor(Image->Canvas()->GetPixel(0, Image->GetHeight() - 1));
    const std::uint32_t key = ArgbFromColor(MaskColor) & 0xFFFFFF;
    for (std::uint32_t& p : image.Pixels)
      if ((p & 0xFFFFFF) == key) p = 0;
  }
  return AddPieces(image);
}

int TCustomImageList::AddIcon(TIcon* Icon) {
  if (!Icon || Icon->GetEmpty()) return -1;
  const TRawImage& src = Icon->IconFile().Best(FWidth, FHeight).Image;
  // Scale to the list's size by nearest pixel when the icon has no image of that size.
  TRawImage piece(FWidth, FHeight);
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x) piece.At(x, y) = src.At(x * src.Width / FWidth, y * src.Height / FHeight);
  FImages.push_back(std::move(piece));
  Change();
  return Count() - 1;
}

int TCustomImageList::AddRawImage(const TRawImage& Image) { return AddPieces(Image); }

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  TCustomImageList scratch(nullptr);
  scratch.FWidth = FWidth;
  scratch.FHeight = FHeight;
  scratch.Masked = Masked;
  if (scratch.Add(Image, Mask) < 0) return;
  FImages[std::size_t(Index)] = scratch.FImages.front();
  Change();
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  FImages.erase(FImages.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  FImages.clear();
  Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  TRawImage image = std::move(FImages[std::size_t(CurIndex)]);
  FImages.erase(FImages.begin() + CurIndex);
  FImages.insert(FImages.begin() + NewIndex, std::move(image));
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  const TRawImage& image = FImages[std::size_t(Index)];
  if (Enabled) {
    TRawImage shown = image;
    if (!Masked || BkColor != clNone) {
      // An unmasked list draws its images opaque on the background colour.
      std::uint32_t bk = BkColor == clNone ? 0xFFFFFFFFu : ArgbFromColor(BkColor);
      for (std::uint32_t& p : shown.Pixels) {
        unsigned a = ArgbAlpha(p);
        auto mix = [a](unsigned fg, unsigned bg) { return std::uint8_t((fg * a + bg * (255 - a) + 127) / 255); };
        p = MakeArgb(255, mix(ArgbRed(p), ArgbRed(bk)), mix(ArgbGreen(p), ArgbGreen(bk)), mix(ArgbBlue(p), ArgbBlue(bk)));
      }
    }
    DrawRawImage(Canvas, TRect{X, Y, X + FWidth, Y + FHeight}, shown);
    return;
  }
  // The classic disabled look: the image's shape (its visible pixels that are not white)
  // in the highlight colour one pixel down and right, and in the shadow colour on top.
  TRawImage grey(FWidth + 1, FHeight + 1);
  const std::uint32_t highlight = ArgbFromColor(clBtnHighlight), shadow = ArgbFromColor(clBtnShadow);
  auto inShape = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) return false;
    std::uint32_t p = image.At(x, y);
    return ArgbAlpha(p) >= 128 && (p & 0xFFFFFF) != 0xFFFFFF;
  };
  for (int y = 0; y <= FHeight; ++y)
    for (int x = 0; x <= FWidth; ++x) {
      if (inShape(x, y)) grey.At(x, y) = shadow;
      else if (inShape(x - 1, y - 1)) grey.At(x, y) = highlight;
    }
  DrawRawImage(Canvas, TRect{X, Y, X + FWidth + 1, Y + FHeight + 1}, grey);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return;
  Image->SetSize(FWidth, FHeight);
  Image->Canvas()->Brush()->SetColor(BkColor == clNone ? clWhite : BkColor);
  Image->Canvas()->FillRect(TRect{0, 0, FWidth, FHeight});
  Draw(Image->Canvas(), 0, 0, Index, true);
}
