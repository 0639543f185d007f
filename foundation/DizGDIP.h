#pragma once
// DizGDIP: a thin object layer over the flat GDI+ functions.
//
// Each wrapper owns exactly one native GDI+ object (released in its destructor) and keeps
// the status of its last failed call: an operation returns the GDI+ result and, when the
// result is not Ok, records it as the object's last status, so a later success does not
// clear an earlier failure. Constructors record their creating call's result as it is,
// Ok included. TGPGraphics::GetLastStatus reads the last status and resets it to Ok.
//
// No operation raises on a GDI+ failure. A failed constructor leaves a null handle; the
// object can still be used (every call then passes the null handle and keeps what GDI+
// answers) and freed.
//
// The unit starts GDI+ for the process when it is loaded and shuts it down at exit. It
// also converts framework colours (TColor) to ARGB and holds the process-wide Windows 7
// look flag.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"

// ---- value records ------------------------------------------------------------------------
// Same layout as the flat interface's records, so arrays pass straight through.
using TGPPoint = GpPoint;
using TGPPointF = GpPointF;
using TGPRect = GpRect;
using TGPRectF = GpRectF;

using TPointFDynArray = std::vector<TGPPointF>;
using TPointDynArray = std::vector<TGPPoint>;
using TRectFDynArray = std::vector<TGPRectF>;
using TRectDynArray = std::vector<TGPRect>;
using TSingleDynArray = std::vector<float>;

using Unit_ = GpUnit;

// The anti-aliasing choice that the GDI+-painted controls publish (TAntiAlias).
#include "foundation/DizAntiAlias.h"

// The file format of an image, as TGPImage::GetFormat answers it.
enum TGPImageFormat {
  ifUndefined,
  ifMemoryBMP,
  ifBMP,
  ifEMF,
  ifWMF,
  ifJPEG,
  ifPNG,
  ifGIF,
  ifTIFF,
  ifEXIF,
  ifIcon
};

// Controls that can switch to the Windows 7 look implement this; the ribbon pager passes
// its setting on to each child that does.
struct IWinStyle {
  static constexpr GUID IID = {0x463E52C7, 0xCEB2, 0x4C59, {0xAD, 0x9D, 0xF9, 0x1C, 0x69, 0x23, 0xEB, 0xE3}};
  virtual void SetWin7Look(bool value) = 0;

protected:
  ~IWinStyle() = default;
};

// ---- base -------------------------------------------------------------------------------------
// Instances live in GDI+ memory (GdipAlloc / GdipFree). When GdipAlloc answers null, GDI+
// is started and the allocation tried once more; when that fails too, std::bad_alloc.
class TGdiplusBase : public TObject {
public:
  static void* operator new(std::size_t size);
  static void operator delete(void* ptr) noexcept;
};

class TGPImage;
class TGPPen;
class TGPBrush;
class TGPFont;
class TGPFontCollection;
class TGPFontFamily;
class TGPStringFormat;
class TGPGraphicsPath;
class TGPRegion;
class TGPImageAttributes;

// ---- graphics -----------------------------------------------------------------------------------
class TGPGraphics : public TGdiplusBase {
public:
  explicit TGPGraphics(HDC dc);
  // With no image nothing is created: the handle stays null and the last status is Ok.
  explicit TGPGraphics(TGPImage* image);
  ~TGPGraphics() override;
  static TGPGraphics* FromImage(TGPImage* image);

  GpGraphics* GetNativeGraphics() const { return FNativeGraphics; }
  void SetNativeGraphics(GpGraphics* graphics) { FNativeGraphics = graphics; }
  // The last failure, once: the last status is reset to Ok.
  Status GetLastStatus();

  void Flush(FlushIntention intention = FlushIntentionFlush);
  HDC GetHDC();
  Status ReleaseHDC(HDC dc);
  Status SetTextRenderingHint(TextRenderingHint hint);
  TextRenderingHint GetTextRenderingHint();
  Status SetSmoothingMode(SmoothingMode mode);
  // SmoothingModeInvalid (-1) when the call fails.
  SmoothingMode GetSmoothingMode();
  Status SetCompositingQuality(CompositingQuality quality);
  CompositingQuality GetCompositingQuality();

  Status DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);  // both may be null
  Status FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
  Status FillRectangle(const TGPBrush* brush, float x, float y, float width, float height);
  Status FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
  Status DrawRectangle(const TGPPen* pen, float x, float y, float width, float height);
  Status DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
  Status DrawEllipse(const TGPPen* pen, float x, float y, float width, float height);
  Status DrawEllipse(const TGPPen* pen, int x, int y, int width, int height);
  Status DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
  Status DrawEllipse(const TGPPen* pen, const TGPRect& rect);
  Status FillEllipse(const TGPBrush* brush, float x, float y, float width, float height);
  Status FillEllipse(const TGPBrush* brush, int x, int y, int width, int height);
  Status FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
  Status FillEllipse(const TGPBrush* brush, const TGPRect& rect);
  Status DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2);

  // Wide text; length in UTF-16 units (-1: up to a terminating zero). A length beyond the
  // text is cut to the text. Font, format and brush may be null.
  Status DrawString(const std::u16string& text, int length, const TGPFont* font, const TGPRectF& layoutRect,
                    const TGPStringFormat* format, const TGPBrush* brush);
  // 8-bit text in the system code page (UTF-8); the length counts UTF-16 units of the
  // converted text, as for the wide overload.
  Status DrawString(const std::string& text, int length, const TGPFont* font, const TGPRectF& layoutRect,
                    const TGPStringFormat* format, const TGPBrush* brush);
  Status MeasureString(const std::u16string& text, int length, const TGPFont* font, const TGPRectF& layoutRect,
                       const TGPStringFormat* format, TGPRectF& boundingBox, int* codepointsFitted = nullptr,
                       int* linesFilled = nullptr);

  Status DrawImage(const TGPImage* image, int x, int y);  // image may be null
  Status DrawImageRect(const TGPImage* image, int x, int y, int width, int height);
  Status DrawImage(const TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth,
                   float srcHeight, Unit_ srcUnit, const TGPImageAttributes* attributes = nullptr,
                   DrawImageAbort callback = nullptr, void* callbackData = nullptr);

  Status SetClip(const TGPRegion* region, CombineMode mode = CombineModeReplace);
  Status ExcludeClip(const TGPRegion* region);
  Status ExcludeClip(const TGPRectF& rect);
  Status ResetClip();

private:
  Status SetStatus(Status status);
  GpGraphics* FNativeGraphics = nullptr;
  Status FLastStatus = Ok;
};

// ---- pens and brushes ------------------------------------------------------------------------
class TGPPen : public TGdiplusBase {
public:
  TGPPen(ARGB color, float width = 1.0f);
  TGPPen(GpPen* pen, Status status);  // adopts the handle
  ~TGPPen() override;
  GpPen* GetNativePen() const { return FNativePen; }
  void SetNativePen(GpPen* pen) { FNativePen = pen; }

  Status SetDashStyle(DashStyle style);
  DashStyle GetDashStyle();
  Status SetEndCap(int cap);  // a LineCap value

protected:
  Status FLastStatus = Ok;

private:
  Status SetStatus(Status status);
  GpPen* FNativePen = nullptr;
};

class TGPBrush : public TGdiplusBase {
public:
  // Creates nothing; the last status is NotImplemented.
  TGPBrush();
  TGPBrush(GpBrush* brush, Status status);  // adopts the handle
  ~TGPBrush() override;
  GpBrush* GetNativeBrush() const { return FNativeBrush; }
  void SetNativeBrush(GpBrush* brush) { FNativeBrush = brush; }

protected:
  struct TNoBrush {};
  explicit TGPBrush(TNoBrush) {}  // derived constructors create the brush themselves
  Status SetStatus(Status status);
  GpBrush* FNativeBrush = nullptr;
  Status FLastStatus = Ok;
};

class TGPSolidBrush : public TGPBrush {
public:
  TGPSolidBrush();  // creates nothing
  explicit TGPSolidBrush(ARGB color);
};

class TGPLinearGradientBrush : public TGPBrush {
public:
  TGPLinearGradientBrush();  // creates nothing
  // Wrap mode tile.
  TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
  TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
};

class TGPPathGradientBrush : public TGPBrush {
public:
  explicit TGPPathGradientBrush(const TGPGraphicsPath* path);

  // These answer the call's own status (recorded as usual when it fails).
  Status SetCenterColor(ARGB color);
  Status GetCenterColor(ARGB& color);
  Status SetCenterPoint(const TGPPointF& point);
  Status SetCenterPoint(const TGPPoint& point);
  Status GetCenterPoint(TGPPointF& point);
  Status GetCenterPoint(TGPPoint& point);
  int GetPointCount();
  // count is in and out: the number of colours given, then the number GDI+ used. More
  // colours than the brush has points, or no colours, answer InvalidParameter and leave
  // count alone.
  Status SetSurroundColors(const ARGB* colors, int& count);
  // count is the room in colors; on success it becomes the number of colours read.
  Status GetSurroundColors(ARGB* colors, int& count);
};

class TGPStringFormat : public TGdiplusBase {
public:
  explicit TGPStringFormat(int formatFlags = 0, std::uint16_t language = 0);
  TGPStringFormat(GpStringFormat* format, Status status);  // adopts the handle
  ~TGPStringFormat() override;
  GpStringFormat* GetNativeFormat() const { return FNativeFormat; }

  Status SetAlignment(StringAlignment align);
  StringAlignment GetAlignment();
  Status SetLineAlignment(StringAlignment align);
  StringAlignment GetLineAlignment();
  Status SetTrimming(StringTrimming trimming);
  StringTrimming GetTrimming();
  Status SetHotkeyPrefix(HotkeyPrefix prefix);
  HotkeyPrefix GetHotkeyPrefix();
  // Replaces the own format by a clone of the source's; the source must be given (an
  // EAssertionFailed otherwise).
  void Assign(const TGPStringFormat* source);

protected:
  Status FLastStatus = Ok;

private:
  Status SetStatus(Status status);
  GpStringFormat* FNativeFormat = nullptr;
};

class TGPFontCollection : public TGdiplusBase {
public:
  TGPFontCollection() = default;
  // Installed fonts: the handle stays null.
  GpFontCollection* GetNativeFontCollection() const { return FNativeFontCollection; }

protected:
  Status FLastStatus = Ok;

private:
  GpFontCollection* FNativeFontCollection = nullptr;
};

class TGPFontFamily : public TGdiplusBase {
public:
  TGPFontFamily(const std::u16string& name, const TGPFontCollection* collection = nullptr);
  TGPFontFamily(GpFontFamily* family, Status status);  // adopts the handle
  ~TGPFontFamily() override;
  GpFontFamily* GetNativeFamily() const { return FNativeFamily; }

protected:
  Status FLastStatus = Ok;

private:
  GpFontFamily* FNativeFamily = nullptr;
};

class TGPFont : public TGdiplusBase {
public:
  TGPFont(const TGPFontFamily* family, float emSize, int style = FontStyleRegular, Unit_ unit = UnitPoint);
  TGPFont(GpFont* font, Status status);  // adopts the handle
  ~TGPFont() override;
  GpFont* GetNativeFont() const { return FNativeFont; }
  void SetNativeFont(GpFont* font) { FNativeFont = font; }

protected:
  Status FLastStatus = Ok;

private:
  GpFont* FNativeFont = nullptr;
};

// ---- paths and regions -----------------------------------------------------------------------
class TGPGraphicsPath : public TGdiplusBase {
public:
  explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);
  explicit TGPGraphicsPath(GpPath* path);  // adopts the handle, status Ok
  ~TGPGraphicsPath() override;
  GpPath* GetNativePath() const { return FNativePath; }
  void SetNativePath(GpPath* path) { FNativePath = path; }

  Status CloseFigure();
  Status AddLine(float x1, float y1, float x2, float y2);
  Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
  Status AddLines(const TGPPoint* points, int count);
  Status AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
  Status AddArc(const TGPRectF& rect, float startAngle, float sweepAngle);
  Status AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle);
  Status AddPie(const TGPRectF& rect, float startAngle, float sweepAngle);
  Status AddEllipse(float x, float y, float width, float height);
  Status AddEllipse(const TGPRectF& rect);
  Status AddPolygon(const TGPPointF* points, int count);
  Status AddPolygon(const TGPPoint* points, int count);
  Status AddCurve(const TGPPointF* points, int count);
  Status AddCurve(const TGPPoint* points, int count);
  Status AddCurve(const TGPPoint* points, int count, float tension);
  Status AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
  Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
  Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);

protected:
  Status FLastStatus = Ok;

private:
  Status SetStatus(Status status);
  GpPath* FNativePath = nullptr;
};

class TGPRegion : public TGdiplusBase {
public:
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(const TGPGraphicsPath* path);
  ~TGPRegion() override;
  GpRegion* GetNativeRegion() const { return FNativeRegion; }
  void SetNativeRegion(GpRegion* region) { FNativeRegion = region; }

  Status Exclude(const TGPGraphicsPath* path);
  Status Union(const TGPRegion* region);

protected:
  Status FLastStatus = Ok;

private:
  Status SetStatus(Status status);
  GpRegion* FNativeRegion = nullptr;
};

// ---- images ---------------------------------------------------------------------------------------
class TGPImage : public TGdiplusBase {
public:
  // With useEmbeddedColorManagement the ICM variants of the loaders are called.
  explicit TGPImage(const std::u16string& fileName, bool useEmbeddedColorManagement = false);
  // The stream is used for the call only.
  explicit TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
  TGPImage(GpImage* image, Status status);  // adopts the handle
  ~TGPImage() override;
  GpImage* GetNativeImage() const { return FNativeImage; }
  void SetNativeImage(GpImage* image) { FNativeImage = image; }

  Status Save(const std::u16string& fileName, const CLSID& encoder,
              const EncoderParameters* parameters = nullptr);
  // Writes the encoded image at the stream's position; the stream is used for the call only.
  Status Save(IStream* stream, const CLSID& encoder, const EncoderParameters* parameters = nullptr);
  TGPImageFormat GetFormat();
  unsigned GetWidth();   // 0 when the call fails
  unsigned GetHeight();  // 0 when the call fails
  float GetHorizontalResolution();
  float GetVerticalResolution();
  Status RotateFlip(RotateFlipType type);

protected:
  TGPImage() = default;  // for TGPBitmap's constructors
  Status SetStatus(Status status);
  GpImage* FNativeImage = nullptr;
  Status FLastStatus = Ok;
};

class TGPBitmap : public TGPImage {
public:
  explicit TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
  TGPBitmap(int width, int height, PixelFormat format = PixelFormat32bppARGB);
  explicit TGPBitmap(GpBitmap* bitmap);  // adopts the handle, status Ok
  static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false);

  Status GetPixel(int x, int y, ARGB& color);
  Status SetPixel(int x, int y, ARGB color);
  Status SetResolution(float xdpi, float ydpi);
};

class TGPImageAttributes : public TGdiplusBase {
public:
  TGPImageAttributes();
  ~TGPImageAttributes() override;
  GpImageAttributes* GetNativeImageAttr() const { return FNativeImageAttr; }

  Status SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type = ColorAdjustTypeDefault);
  Status ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);

protected:
  Status FLastStatus = Ok;

private:
  Status SetStatus(Status status);
  GpImageAttributes* FNativeImageAttr = nullptr;
};

// ---- colours ----------------------------------------------------------------------------------
// Opaque ARGB of a framework colour (system colours resolved). "No colour" (clNone) is
// fully transparent: it draws nothing.
ARGB ColorToARGB(TColor color);
inline constexpr ARGB MakeColor(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}
inline constexpr ARGB MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return MakeColor(255, r, g, b); }
// The framework colour with alpha a; clNone stays fully transparent.
ARGB MakeColor(std::uint8_t a, TColor color);
inline constexpr std::uint8_t GetAlpha(ARGB color) { return std::uint8_t(color >> 24); }
inline constexpr std::uint8_t GetRed(ARGB color) { return std::uint8_t(color >> 16); }
inline constexpr std::uint8_t GetGreen(ARGB color) { return std::uint8_t(color >> 8); }
inline constexpr std::uint8_t GetBlue(ARGB color) { return std::uint8_t(color); }

inline constexpr TGPPoint MakePoint(int x, int y) { return TGPPoint{x, y}; }
inline constexpr TGPPointF MakePoint(float x, float y) { return TGPPointF{x, y}; }
inline constexpr TGPRectF MakeRect(float x, float y, float width, float height) {
  return TGPRectF{x, y, width, height};
}

// ---- encoder parameters -------------------------------------------------------------------------
// One EncoderQuality parameter (a 32-bit integer) whose value lives in the block itself;
// the block cannot be copied, so the pointer inside stays valid while the block lives.
class TEncoderQualityParameters {
public:
  explicit TEncoderQualityParameters(int quality);
  TEncoderQualityParameters(const TEncoderQualityParameters&) = delete;
  TEncoderQualityParameters& operator=(const TEncoderQualityParameters&) = delete;
  const EncoderParameters* Parameters() const { return &FParameters; }
  std::uint32_t Quality() const { return FQuality; }

private:
  EncoderParameters FParameters;
  std::uint32_t FQuality;
};
// The quality is clamped to 0..100.
TEncoderQualityParameters GetEncoderQualityParameters(int quality);

// ---- Windows 7 look -----------------------------------------------------------------------------
void SetWin7(bool value);
bool IsWin7();
