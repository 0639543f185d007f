#include "foundation/DizGDIP.h"

#include <algorithm>
#include <new>

#include "platform/gdi/SysColors.h"
#include "platform/rtl/CodePage.h"

// ---- process start-up and shut-down --------------------------------------------------------
namespace {

GdiplusStartupInput gStartupInput;
GdiplusStartupOutput gStartupOutput;
std::uintptr_t gStartupToken = 0;
std::uintptr_t gHookToken = 0;
bool gWin7 = false;

void FillStartupInput() {
  gStartupInput.GdiplusVersion = 1;
  gStartupInput.DebugEventCallback = nullptr;
  gStartupInput.SuppressBackgroundThread = ~BOOL(0);  // all bits set
  gStartupInput.SuppressExternalCodecs = 0;
  gStartupOutput.NotificationHook = nullptr;
  gStartupOutput.NotificationUnhook = nullptr;
}

Status StartGdiplus() {
  FillStartupInput();
  return GdiplusStartup(&gStartupToken, &gStartupInput, &gStartupOutput);
}

// GDI+ runs without its background thread, so the notification hook is called here, on
// the thread that loads the unit, and the unhook on the thread that unloads it.
struct TGdiplusSession {
  TGdiplusSession() {
    if (StartGdiplus() == Ok && gStartupOutput.NotificationHook)
      gStartupOutput.NotificationHook(&gHookToken);
  }
  ~TGdiplusSession() {
    if (gStartupOutput.NotificationUnhook) gStartupOutput.NotificationUnhook(gHookToken);
    GdiplusShutdown(gStartupToken);
  }
};
TGdiplusSession gSession;

// Text of the system code page (UTF-8) as UTF-16.
std::u16string Wide(const std::string& s) { return Utf8ToUtf16(s); }

// A text length cut to the text: -1 (up to a terminating zero) stays.
int ClampLength(int length, std::size_t size) {
  if (length < 0) return -1;
  return int(std::min<std::size_t>(std::size_t(length), size));
}

}  // namespace

// ---- base ------------------------------------------------------------------------------------
void* TGdiplusBase::operator new(std::size_t size) {
  void* p = GdipAlloc(size);
  if (!p) {
    StartGdiplus();
    p = GdipAlloc(size);
  }
  if (!p) throw std::bad_alloc();
  return p;
}

void TGdiplusBase::operator delete(void* ptr) noexcept { GdipFree(ptr); }

// ---- graphics --------------------------------------------------------------------------------
TGPGraphics::TGPGraphics(HDC dc) { FLastStatus = GdipCreateFromHDC(dc, &FNativeGraphics); }

TGPGraphics::TGPGraphics(TGPImage* image) {
  if (image) FLastStatus = GdipGetImageGraphicsContext(image->GetNativeImage(), &FNativeGraphics);
}

TGPGraphics::~TGPGraphics() { GdipDeleteGraphics(FNativeGraphics); }

TGPGraphics* TGPGraphics::FromImage(TGPImage* image) { return new TGPGraphics(image); }

Status TGPGraphics::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPGraphics::GetLastStatus() {
  Status s = FLastStatus;
  FLastStatus = Ok;
  return s;
}

void TGPGraphics::Flush(FlushIntention intention) { GdipFlush(FNativeGraphics, intention); }

HDC TGPGraphics::GetHDC() {
  HDC dc = nullptr;
  SetStatus(GdipGetDC(FNativeGraphics, &dc));
  return dc;
}

Status TGPGraphics::ReleaseHDC(HDC dc) { return SetStatus(GdipReleaseDC(FNativeGraphics, dc)); }

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint hint) {
  return SetStatus(GdipSetTextRenderingHint(FNativeGraphics, hint));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint() {
  TextRenderingHint hint = TextRenderingHintSystemDefault;
  SetStatus(GdipGetTextRenderingHint(FNativeGraphics, &hint));
  return hint;
}

Status TGPGraphics::SetSmoothingMode(SmoothingMode mode) {
  return SetStatus(GdipSetSmoothingMode(FNativeGraphics, mode));
}

SmoothingMode TGPGraphics::GetSmoothingMode() {
  SmoothingMode mode = SmoothingModeInvalid;
  if (SetStatus(GdipGetSmoothingMode(FNativeGraphics, &mode)) != Ok) return SmoothingModeInvalid;
  return mode;
}

Status TGPGraphics::SetCompositingQuality(CompositingQuality quality) {
  return SetStatus(GdipSetCompositingQuality(FNativeGraphics, quality));
}

CompositingQuality TGPGraphics::GetCompositingQuality() {
  CompositingQuality quality = CompositingQualityInvalid;
  if (SetStatus(GdipGetCompositingQuality(FNativeGraphics, &quality)) != Ok) return CompositingQualityInvalid;
  return quality;
}

namespace {
GpPen* PenOf(const TGPPen* pen) { return pen ? pen->GetNativePen() : nullptr; }
GpBrush* BrushOf(const TGPBrush* brush) { return brush ? brush->GetNativeBrush() : nullptr; }
GpPath* PathOf(const TGPGraphicsPath* path) { return path ? path->GetNativePath() : nullptr; }
GpImage* ImageOf(const TGPImage* image) { return image ? image->GetNativeImage() : nullptr; }
GpFont* FontOf(const TGPFont* font) { return font ? font->GetNativeFont() : nullptr; }
GpStringFormat* FormatOf(const TGPStringFormat* format) { return format ? format->GetNativeFormat() : nullptr; }
GpRegion* RegionOf(const TGPRegion* region) { return region ? region->GetNativeRegion() : nullptr; }
}  // namespace

Status TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path) {
  return SetStatus(GdipDrawPath(FNativeGraphics, PenOf(pen), PathOf(path)));
}

Status TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path) {
  return SetStatus(GdipFillPath(FNativeGraphics, BrushOf(brush), PathOf(path)));
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, float x, float y, float width, float height) {
  return SetStatus(GdipFillRectangle(FNativeGraphics, BrushOf(brush), x, y, width, height));
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& rect) {
  return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, float x, float y, float width, float height) {
  return SetStatus(GdipDrawRectangle(FNativeGraphics, PenOf(pen), x, y, width, height));
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& rect) {
  return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, float x, float y, float width, float height) {
  return SetStatus(GdipDrawEllipse(FNativeGraphics, PenOf(pen), x, y, width, height));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, int x, int y, int width, int height) {
  return SetStatus(GdipDrawEllipseI(FNativeGraphics, PenOf(pen), x, y, width, height));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRect& rect) {
  return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, float x, float y, float width, float height) {
  return SetStatus(GdipFillEllipse(FNativeGraphics, BrushOf(brush), x, y, width, height));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, int x, int y, int width, int height) {
  return SetStatus(GdipFillEllipseI(FNativeGraphics, BrushOf(brush), x, y, width, height));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRect& rect) {
  return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2) {
  return SetStatus(GdipDrawLine(FNativeGraphics, PenOf(pen), x1, y1, x2, y2));
}

Status TGPGraphics::DrawString(const std::u16string& text, int length, const TGPFont* font,
                               const TGPRectF& layoutRect, const TGPStringFormat* format, const TGPBrush* brush) {
  return SetStatus(GdipDrawString(FNativeGraphics, text.c_str(), ClampLength(length, text.size()), FontOf(font),
                                  &layoutRect, FormatOf(format), BrushOf(brush)));
}

Status TGPGraphics::DrawString(const std::string& text, int length, const TGPFont* font, const TGPRectF& layoutRect,
                               const TGPStringFormat* format, const TGPBrush* brush) {
  return DrawString(Wide(text), length, font, layoutRect, format, brush);
}

Status TGPGraphics::MeasureString(const std::u16string& text, int length, const TGPFont* font,
                                  const TGPRectF& layoutRect, const TGPStringFormat* format, TGPRectF& boundingBox,
                                  int* codepointsFitted, int* linesFilled) {
  return SetStatus(GdipMeasureString(FNativeGraphics, text.c_str(), ClampLength(length, text.size()), FontOf(font),
                                     &layoutRect, FormatOf(format), &boundingBox, codepointsFitted, linesFilled));
}

Status TGPGraphics::DrawImage(const TGPImage* image, int x, int y) {
  return SetStatus(GdipDrawImageI(FNativeGraphics, ImageOf(image), x, y));
}

Status TGPGraphics::DrawImageRect(const TGPImage* image, int x, int y, int width, int height) {
  return SetStatus(GdipDrawImageRect(FNativeGraphics, ImageOf(image), float(x), float(y), float(width),
                                     float(height)));
}

Status TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth,
                              float srcHeight, Unit_ srcUnit, const TGPImageAttributes* attributes,
                              DrawImageAbort callback, void* callbackData) {
  return SetStatus(GdipDrawImageRectRect(FNativeGraphics, ImageOf(image), dest.X, dest.Y, dest.Width, dest.Height,
                                         srcX, srcY, srcWidth, srcHeight, srcUnit,
                                         attributes ? attributes->GetNativeImageAttr() : nullptr, callback,
                                         callbackData));
}

Status TGPGraphics::SetClip(const TGPRegion* region, CombineMode mode) {
  return SetStatus(GdipSetClipRegion(FNativeGraphics, RegionOf(region), mode));
}

Status TGPGraphics::ExcludeClip(const TGPRegion* region) {
  return SetStatus(GdipSetClipRegion(FNativeGraphics, RegionOf(region), CombineModeExclude));
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect) {
  return SetStatus(GdipSetClipRect(FNativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, CombineModeExclude));
}

Status TGPGraphics::ResetClip() { return SetStatus(GdipResetClip(FNativeGraphics)); }

// ---- pens ------------------------------------------------------------------------------------------
TGPPen::TGPPen(ARGB color, float width) { FLastStatus = GdipCreatePen1(color, width, UnitWorld, &FNativePen); }

TGPPen::TGPPen(GpPen* pen, Status status) : FLastStatus(status), FNativePen(pen) {}

TGPPen::~TGPPen() { GdipDeletePen(FNativePen); }

Status TGPPen::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPPen::SetDashStyle(DashStyle style) { return SetStatus(GdipSetPenDashStyle(FNativePen, style)); }

DashStyle TGPPen::GetDashStyle() {
  DashStyle style = DashStyleSolid;
  SetStatus(GdipGetPenDashStyle(FNativePen, &style));
  return style;
}

Status TGPPen::SetEndCap(int cap) { return SetStatus(GdipSetPenEndCap(FNativePen, GpLineCap(cap))); }

// ---- brushes ------------------------------------------------------------------------------------
TGPBrush::TGPBrush() : FLastStatus(NotImplemented) {}

TGPBrush::TGPBrush(GpBrush* brush, Status status) : FNativeBrush(brush), FLastStatus(status) {}

TGPBrush::~TGPBrush() { GdipDeleteBrush(FNativeBrush); }

Status TGPBrush::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

TGPSolidBrush::TGPSolidBrush() : TGPBrush(TNoBrush{}) {}

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(TNoBrush{}) {
  FLastStatus = GdipCreateSolidFill(color, &FNativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush() : TGPBrush(TNoBrush{}) {}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(TNoBrush{}) {
  FLastStatus = GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, &FNativeBrush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(TNoBrush{}) {
  FLastStatus = GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &FNativeBrush);
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path) : TGPBrush(TNoBrush{}) {
  FLastStatus = GdipCreatePathGradientFromPath(PathOf(path), &FNativeBrush);
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color) {
  return SetStatus(GdipSetPathGradientCenterColor(FNativeBrush, color));
}

Status TGPPathGradientBrush::GetCenterColor(ARGB& color) {
  return SetStatus(GdipGetPathGradientCenterColor(FNativeBrush, &color));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
  return SetStatus(GdipSetPathGradientCenterPoint(FNativeBrush, &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
  return SetStatus(GdipSetPathGradientCenterPointI(FNativeBrush, &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) {
  return SetStatus(GdipGetPathGradientCenterPoint(FNativeBrush, &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point) {
  return SetStatus(GdipGetPathGradientCenterPointI(FNativeBrush, &point));
}

int TGPPathGradientBrush::GetPointCount() {
  int count = 0;
  SetStatus(GdipGetPathGradientPointCount(FNativeBrush, &count));
  return count;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count) {
  if (!colors) return SetStatus(InvalidParameter);
  const int points = GetPointCount();
  if (count > points || points <= 0) return SetStatus(InvalidParameter);
  int used = count;
  const Status s = SetStatus(GdipSetPathGradientSurroundColorsWithCount(FNativeBrush, colors, &used));
  if (s == Ok) count = used;
  return s;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, int& count) {
  if (!colors) return SetStatus(InvalidParameter);
  int n = 0;
  Status s = SetStatus(GdipGetPathGradientSurroundColorCount(FNativeBrush, &n));
  if (s != Ok) return s;
  if (count < n || n < 1) return SetStatus(InsufficientBuffer);
  int read = n;
  s = SetStatus(GdipGetPathGradientSurroundColorsWithCount(FNativeBrush, colors, &read));
  if (s == Ok) count = n;
  return s;
}

// ---- string formats ------------------------------------------------------------------------------
TGPStringFormat::TGPStringFormat(int formatFlags, std::uint16_t language) {
  FLastStatus = GdipCreateStringFormat(formatFlags, language, &FNativeFormat);
}

TGPStringFormat::TGPStringFormat(GpStringFormat* format, Status status)
    : FLastStatus(status), FNativeFormat(format) {}

TGPStringFormat::~TGPStringFormat() { GdipDeleteStringFormat(FNativeFormat); }

Status TGPStringFormat::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPStringFormat::SetAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatAlign(FNativeFormat, align));
}

StringAlignment TGPStringFormat::GetAlignment() {
  StringAlignment align = StringAlignmentNear;
  SetStatus(GdipGetStringFormatAlign(FNativeFormat, &align));
  return align;
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align) {
  return SetStatus(GdipSetStringFormatLineAlign(FNativeFormat, align));
}

StringAlignment TGPStringFormat::GetLineAlignment() {
  StringAlignment align = StringAlignmentNear;
  SetStatus(GdipGetStringFormatLineAlign(FNativeFormat, &align));
  return align;
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming) {
  return SetStatus(GdipSetStringFormatTrimming(FNativeFormat, trimming));
}

StringTrimming TGPStringFormat::GetTrimming() {
  StringTrimming trimming = StringTrimmingNone;
  SetStatus(GdipGetStringFormatTrimming(FNativeFormat, &trimming));
  return trimming;
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix prefix) {
  return SetStatus(GdipSetStringFormatHotkeyPrefix(FNativeFormat, prefix));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
  int prefix = HotkeyPrefixNone;
  SetStatus(GdipGetStringFormatHotkeyPrefix(FNativeFormat, &prefix));
  return HotkeyPrefix(prefix);
}

void TGPStringFormat::Assign(const TGPStringFormat* source) {
  if (!source) throw EAssertionFailed("Assertion failed (DizGDIP.cpp): no string format to assign");
  GdipDeleteStringFormat(FNativeFormat);
  FNativeFormat = nullptr;
  FLastStatus = GdipCloneStringFormat(source->FNativeFormat, &FNativeFormat);
}

// ---- fonts ---------------------------------------------------------------------------------------
TGPFontFamily::TGPFontFamily(const std::u16string& name, const TGPFontCollection* collection) {
  FLastStatus = GdipCreateFontFamilyFromName(
      name.c_str(), collection ? collection->GetNativeFontCollection() : nullptr, &FNativeFamily);
}

TGPFontFamily::TGPFontFamily(GpFontFamily* family, Status status) : FLastStatus(status), FNativeFamily(family) {}

TGPFontFamily::~TGPFontFamily() { GdipDeleteFontFamily(FNativeFamily); }

TGPFont::TGPFont(const TGPFontFamily* family, float emSize, int style, Unit_ unit) {
  FLastStatus = GdipCreateFont(family ? family->GetNativeFamily() : nullptr, emSize, style, unit, &FNativeFont);
}

TGPFont::TGPFont(GpFont* font, Status status) : FLastStatus(status), FNativeFont(font) {}

TGPFont::~TGPFont() { GdipDeleteFont(FNativeFont); }

// ---- paths ----------------------------------------------------------------------------------------
TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode) { FLastStatus = GdipCreatePath(fillMode, &FNativePath); }

TGPGraphicsPath::TGPGraphicsPath(GpPath* path) : FNativePath(path) {}

TGPGraphicsPath::~TGPGraphicsPath() { GdipDeletePath(FNativePath); }

Status TGPGraphicsPath::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPGraphicsPath::CloseFigure() { return SetStatus(GdipClosePathFigure(FNativePath)); }

Status TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
  return SetStatus(GdipAddPathLine(FNativePath, x1, y1, x2, y2));
}

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) {
  return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, int count) {
  return SetStatus(GdipAddPathLine2I(FNativePath, points, count));
}

Status TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return SetStatus(GdipAddPathArc(FNativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& rect, float startAngle, float sweepAngle) {
  return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle) {
  return SetStatus(GdipAddPathPie(FNativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddPie(const TGPRectF& rect, float startAngle, float sweepAngle) {
  return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
  return SetStatus(GdipAddPathEllipse(FNativePath, x, y, width, height));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& rect) {
  return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, int count) {
  return SetStatus(GdipAddPathPolygon(FNativePath, points, count));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, int count) {
  return SetStatus(GdipAddPathPolygonI(FNativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, int count) {
  return SetStatus(GdipAddPathCurve(FNativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count) {
  return SetStatus(GdipAddPathCurveI(FNativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count, float tension) {
  return SetStatus(GdipAddPathCurve2I(FNativePath, points, count, tension));
}

Status TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4) {
  return SetStatus(GdipAddPathBezier(FNativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3,
                                  const TGPPoint& pt4) {
  return AddBezier(float(pt1.X), float(pt1.Y), float(pt2.X), float(pt2.Y), float(pt3.X), float(pt3.Y),
                   float(pt4.X), float(pt4.Y));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                  const TGPPointF& pt4) {
  return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

// ---- regions ----------------------------------------------------------------------------------------
TGPRegion::TGPRegion(const TGPRectF& rect) { FLastStatus = GdipCreateRegionRect(&rect, &FNativeRegion); }

TGPRegion::TGPRegion(const TGPGraphicsPath* path) {
  FLastStatus = GdipCreateRegionPath(PathOf(path), &FNativeRegion);
}

TGPRegion::~TGPRegion() { GdipDeleteRegion(FNativeRegion); }

Status TGPRegion::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPRegion::Exclude(const TGPGraphicsPath* path) {
  return SetStatus(GdipCombineRegionPath(FNativeRegion, PathOf(path), CombineModeExclude));
}

Status TGPRegion::Union(const TGPRegion* region) {
  return SetStatus(GdipCombineRegionRegion(FNativeRegion, RegionOf(region), CombineModeUnion));
}

// ---- images -----------------------------------------------------------------------------------------
TGPImage::TGPImage(const std::u16string& fileName, bool useEmbeddedColorManagement) {
  FLastStatus = useEmbeddedColorManagement ? GdipLoadImageFromFileICM(fileName.c_str(), &FNativeImage)
                                           : GdipLoadImageFromFile(fileName.c_str(), &FNativeImage);
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
  FLastStatus = useEmbeddedColorManagement ? GdipLoadImageFromStreamICM(stream, &FNativeImage)
                                           : GdipLoadImageFromStream(stream, &FNativeImage);
}

TGPImage::TGPImage(GpImage* image, Status status) : FNativeImage(image), FLastStatus(status) {}

TGPImage::~TGPImage() { GdipDisposeImage(FNativeImage); }

Status TGPImage::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPImage::Save(const std::u16string& fileName, const CLSID& encoder, const EncoderParameters* parameters) {
  return SetStatus(GdipSaveImageToFile(FNativeImage, fileName.c_str(), &encoder, parameters));
}

Status TGPImage::Save(IStream* stream, const CLSID& encoder, const EncoderParameters* parameters) {
  return SetStatus(GdipSaveImageToStream(FNativeImage, stream, &encoder, parameters));
}

TGPImageFormat TGPImage::GetFormat() {
  GUID format = ImageFormatUndefined;
  GdipGetImageRawFormat(FNativeImage, &format);  // status not kept
  struct Entry {
    const GUID* id;
    TGPImageFormat format;
  };
  static const Entry kFormats[] = {
      {&ImageFormatMemoryBMP, ifMemoryBMP}, {&ImageFormatBMP, ifBMP},   {&ImageFormatEMF, ifEMF},
      {&ImageFormatWMF, ifWMF},             {&ImageFormatJPEG, ifJPEG}, {&ImageFormatPNG, ifPNG},
      {&ImageFormatGIF, ifGIF},             {&ImageFormatTIFF, ifTIFF}, {&ImageFormatEXIF, ifEXIF},
      {&ImageFormatIcon, ifIcon},
  };
  for (const Entry& e : kFormats)
    if (format == *e.id) return e.format;
  return ifUndefined;
}

unsigned TGPImage::GetWidth() {
  unsigned width = 0;
  if (SetStatus(GdipGetImageWidth(FNativeImage, &width)) != Ok) return 0;
  return width;
}

unsigned TGPImage::GetHeight() {
  unsigned height = 0;
  if (SetStatus(GdipGetImageHeight(FNativeImage, &height)) != Ok) return 0;
  return height;
}

float TGPImage::GetHorizontalResolution() {
  float dpi = 0;
  SetStatus(GdipGetImageHorizontalResolution(FNativeImage, &dpi));
  return dpi;
}

float TGPImage::GetVerticalResolution() {
  float dpi = 0;
  SetStatus(GdipGetImageVerticalResolution(FNativeImage, &dpi));
  return dpi;
}

Status TGPImage::RotateFlip(RotateFlipType type) { return SetStatus(GdipImageRotateFlip(FNativeImage, type)); }

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) {
  FLastStatus = useEmbeddedColorManagement ? GdipCreateBitmapFromStreamICM(stream, &FNativeImage)
                                           : GdipCreateBitmapFromStream(stream, &FNativeImage);
}

TGPBitmap::TGPBitmap(int width, int height, PixelFormat format) {
  FLastStatus = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &FNativeImage);
}

TGPBitmap::TGPBitmap(GpBitmap* bitmap) { FNativeImage = bitmap; }

TGPBitmap* TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement) {
  return new TGPBitmap(stream, useEmbeddedColorManagement);
}

Status TGPBitmap::GetPixel(int x, int y, ARGB& color) {
  return SetStatus(GdipBitmapGetPixel(FNativeImage, x, y, &color));
}

Status TGPBitmap::SetPixel(int x, int y, ARGB color) {
  return SetStatus(GdipBitmapSetPixel(FNativeImage, x, y, color));
}

Status TGPBitmap::SetResolution(float xdpi, float ydpi) {
  return SetStatus(GdipBitmapSetResolution(FNativeImage, xdpi, ydpi));
}

TGPImageAttributes::TGPImageAttributes() { FLastStatus = GdipCreateImageAttributes(&FNativeImageAttr); }

TGPImageAttributes::~TGPImageAttributes() { GdipDisposeImageAttributes(FNativeImageAttr); }

Status TGPImageAttributes::SetStatus(Status status) {
  if (status != Ok) FLastStatus = status;
  return status;
}

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type) {
  return SetStatus(GdipSetImageAttributesColorKeys(FNativeImageAttr, type, 1, colorLow, colorHigh));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type) {
  return SetStatus(GdipSetImageAttributesColorKeys(FNativeImageAttr, type, 0, 0, 0));
}

// ---- colours ------------------------------------------------------------------------------------------
namespace {

// "No colour" is fully transparent, so whatever is filled or stroked with it stays unseen.
constexpr ARGB kNoColor = 0x00000000;

// The framework's colour to 0x00BBGGRR: a system colour (high byte 0x80) becomes the
// current system colour; other values pass unchanged.
std::uint32_t FrameworkColorToRGB(TColor color) {
  const std::uint32_t c = std::uint32_t(color);
  if ((c & 0xFF000000u) == 0x80000000u) return GetSysColor(int(c & 0xFF));
  return c;
}

ARGB ToARGB(std::uint8_t alpha, TColor color) {
  if (color == clNone) return kNoColor;
  const std::uint32_t rgb = FrameworkColorToRGB(color);
  return MakeColor(alpha, std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16));
}

}  // namespace

ARGB ColorToARGB(TColor color) { return ToARGB(255, color); }

ARGB MakeColor(std::uint8_t a, TColor color) { return ToARGB(a, color); }

// ---- encoder parameters --------------------------------------------------------------------------------
TEncoderQualityParameters::TEncoderQualityParameters(int quality)
    : FQuality(std::uint32_t(std::clamp(quality, 0, 100))) {
  FParameters.Count = 1;
  FParameters.Parameter[0].Guid = EncoderQuality;
  FParameters.Parameter[0].NumberOfValues = 1;
  FParameters.Parameter[0].Type = EncoderParameterValueTypeLong;
  FParameters.Parameter[0].Value = &FQuality;
}

TEncoderQualityParameters GetEncoderQualityParameters(int quality) { return TEncoderQualityParameters(quality); }

// ---- Windows 7 look ----------------------------------------------------------------------------------------
void SetWin7(bool value) { gWin7 = value; }

bool IsWin7() { return gWin7; }
