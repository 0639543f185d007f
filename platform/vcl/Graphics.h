#pragma once
// The framework's graphics classes: colours with the system-colour scheme and their
// names, fonts, pens and brushes, the canvas over a GDI device context, and the
// graphics (bitmap, icon, PNG/JPEG/GIF pictures), the picture holder and image lists.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/image/IconCodec.h"
#include "platform/image/RawImage.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/TypInfo.h"

// The icon handle of the window system (platform/win/WinDef.h), declared alike here so
// this header stays free of the window system's helpers.
struct HICON__;
using HICON = HICON__*;

// ---- colours ------------------------------------------------------------------------
// TColor (platform/rtl/Types.h) is 0x00BBGGRR for RGB values; 0x80000000 | COLOR_x names
// a system colour resolved by ColorToRGB; clNone and clDefault are special values.
constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clScrollBar = TColor(0x80000000u), clBackground = TColor(0x80000001u),
                 clActiveCaption = TColor(0x80000002u), clInactiveCaption = TColor(0x80000003u),
                 clMenu = TColor(0x80000004u), clWindow = TColor(0x80000005u),
                 clWindowFrame = TColor(0x80000006u), clMenuText = TColor(0x80000007u),
                 clWindowText = TColor(0x80000008u), clCaptionText = TColor(0x80000009u),
                 clActiveBorder = TColor(0x8000000Au), clInactiveBorder = TColor(0x8000000Bu),
                 clAppWorkSpace = TColor(0x8000000Cu), clHighlight = TColor(0x8000000Du),
                 clHighlightText = TColor(0x8000000Eu), clBtnFace = TColor(0x8000000Fu),
                 clBtnShadow = TColor(0x80000010u), clGrayText = TColor(0x80000011u),
                 clBtnText = TColor(0x80000012u), clInactiveCaptionText = TColor(0x80000013u),
                 clBtnHighlight = TColor(0x80000014u), cl3DDkShadow = TColor(0x80000015u),
                 cl3DLight = TColor(0x80000016u), clInfoText = TColor(0x80000017u),
                 clInfoBk = TColor(0x80000018u), clHotLight = TColor(0x8000001Au),
                 clGradientActiveCaption = TColor(0x8000001Bu),
                 clGradientInactiveCaption = TColor(0x8000001Cu), clMenuHighlight = TColor(0x8000001Du),
                 clMenuBar = TColor(0x8000001Eu);
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

// The RGB value of a colour: system colours through GetSysColor, others unchanged.
COLORREF ColorToRGB(TColor Color);
// "clBtnFace", "clRed", … for named colours, "$00BBGGRR" otherwise.
std::string ColorToString(TColor Color);
// Accepts the names (case-insensitive) and numbers ("$00FF0000", "255", "-16777201");
// raises EConvertError "'x' is not a valid integer value" otherwise.
TColor StringToColor(const std::string& S);
bool ColorToIdent(TColor Color, std::string& Ident);
// The colour names of stored forms ("clBtnFace", "clNavy"), for every TColor property.
const struct TIntConsts* ColorConsts();
bool IdentToColor(const std::string& Ident, TColor& Color);

// ---- enumerations -------------------------------------------------------------------
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };
enum TCanvasState { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasStates = TSet<TCanvasState>;
enum TTextFormats {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
  tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
  tfPrefixOnly, tfTabStop, tfWordEllipsis
};
using TTextFormat = TSet<TTextFormats>;
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
using TCopyMode = std::int32_t;
constexpr TCopyMode cmBlackness = 0x00000042, cmDstInvert = 0x00550009, cmMergeCopy = 0x00C000CA,
                    cmMergePaint = 0x00BB0226, cmNotSrcCopy = 0x00330008, cmNotSrcErase = 0x001100A6,
                    cmPatCopy = 0x00F00021, cmPatInvert = 0x005A0049, cmPatPaint = 0x00FB0A09,
                    cmSrcAnd = 0x008800C6, cmSrcCopy = 0x00CC0020, cmSrcErase = 0x00440328,
                    cmSrcInvert = 0x00660046, cmSrcPaint = 0x00EE0086, cmWhiteness = 0x00FF0062;

class TCanvas;
class TBitmap;

// ---- fonts, pens, brushes ------------------------------------------------------------
// Base of TFont, TPen and TBrush: changes fire OnChange (the canvas reselects the object)
// and drop the cached GDI handle.
class TGraphicsObject : public TPersistent {
  LORM_CLASS(TGraphicsObject, TPersistent)
public:
  TNotifyEvent OnChange;
  // Held while a canvas draws with the object from another thread (not needed here).
  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }

protected:
  virtual void Changed();
  std::recursive_mutex FLock;
};

class TFont : public TGraphicsObject {
  LORM_PUBLISHED(TFont, TGraphicsObject)
public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* Source) override;

  const std::string& GetName() const { return FName; }
  void SetName(const std::string& Value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  // Points at PixelsPerInch: Size = -Height * 72 / PixelsPerInch, rounded.
  int GetSize() const;
  void SetSize(int Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  // Angle of the text line in tenths of a degree, counter-clockwise.
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Value);
  int PixelsPerInch = 96;

  // The GDI font of these settings, made on first use and owned by the font.
  HFONT GetHandle();
  // Takes the settings of a GDI font (the font keeps its own handle).
  void SetHandle(HFONT Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

protected:
  void Changed() override;

private:
  void FreeHandle();
  std::string FName = "Tahoma";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
  HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
  LORM_PUBLISHED(TPen, TGraphicsObject)
public:
  TPen() = default;
  ~TPen() override;
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  HPEN GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

protected:
  void Changed() override;

private:
  void FreeHandle();
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
  LORM_PUBLISHED(TBrush, TGraphicsObject)
public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  // A colour for a clear brush makes it solid again.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern bitmap (not owned; the brush copies the pattern when it makes its handle).
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);
  HBRUSH GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

protected:
  void Changed() override;

private:
  void FreeHandle();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  HBRUSH FHandle = nullptr;
};

// ---- canvas ---------------------------------------------------------------------------
class TGraphic;

// Drawing on a device context with the canvas's pen, brush and font, which it selects
// into the DC when a drawing call needs them. The base canvas draws on a DC it is given
// (Handle); subclasses make their own (bitmaps, controls).
class TCanvas : public TPersistent {
  LORM_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  HDC GetHandle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TFont* Font() const { return FFont.get(); }
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode = cmSrcCopy;
  // Options passed to ExtTextOut by TextOut and TextRect (ETO_*).
  int TextFlags = 0;
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  TRect ClipRect();
  TPoint GetPenPos();
  void SetPenPos(TPoint Value);

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(const std::vector<TPoint>& Points);
  void Polyline(const std::vector<TPoint>& Points);
  void PolyBezier(const std::vector<TPoint>& Points);
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

  void TextOut(int X, int Y, const std::string& Text);
  // Text clipped to R, drawn at (X, Y); the brush fills R first unless it is clear.
  void TextRect(const TRect& R, int X, int Y, const std::string& Text);
  // Text laid out in R by DrawText flags; tfCalcRect measures into R without drawing and
  // tfModifyString shortens Text to what was drawn with an ellipsis.
  void TextRect(TRect& R, std::string& Text, TTextFormat Format);
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies Source from Bitmap into Dest with the pixels of Color replaced by the brush.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  TColor GetPixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Color);

  // Serialises drawing from several threads; LockCount tells how deep.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }
  // Deselects the pen, brush and font so the next drawing call selects them anew.
  void Refresh();

protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(TCanvasStates State);
  void DeselectHandles();
  HDC FHandle = nullptr;

private:
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCanvasStates FState;
  HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
  TPoint FPenPos;
  std::recursive_mutex FMutex;
  int FLockCount = 0;
};

// ---- graphics ---------------------------------------------------------------------------
class TGraphic : public TPersistent {
  LORM_CLASS(TGraphic, TPersistent)
public:
  TGraphic() = default;
  virtual bool GetEmpty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual void SetSize(int AWidth, int AHeight);
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified = false;
  TNotifyEvent OnChange;

  virtual void LoadFromStream(TStream& Stream) = 0;
  // Loads from the encoded bytes LoadFromStream would read (no stream in between).
  virtual void LoadFromBytes(TBytesView Bytes);
  virtual void SaveToStream(TStream& Stream) = 0;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  // The pixels as a straight-alpha picture (empty for an empty graphic).
  virtual TRawImage ToRawImage() const = 0;

  // Draws the graphic stretched into R (used by TCanvas::Draw and StretchDraw).
  virtual void Draw(TCanvas* ACanvas, const TRect& R) = 0;

protected:
  virtual void Changed();
  bool FTransparent = false;
};

class TBitmap : public TGraphic {
  LORM_CLASS(TBitmap, TGraphic)
public:
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;
  void Assign(TPersistent* Source) override;

  bool GetEmpty() const override { return FWidth == 0 || FHeight == 0; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Resizing keeps the overlapping pixels; new area is white.
  void SetSize(int AWidth, int AHeight) override;

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  // Converts the pixels to the new depth (palette formats use a standard palette).
  void SetPixelFormat(TPixelFormat Value);
  TAlphaFormat AlphaFormat = afIgnored;
  bool GetMonochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool Value) { SetPixelFormat(Value ? pf1bit : pfDevice); }
  // The first byte of row Row (top row 0) in the bitmap's pixel format.
  void* ScanLine(int Row);

  TColor GetTransparentColor();
  // Fixing a colour switches TransparentMode to tmFixed; clDefault goes back to tmAuto.
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  TCanvas* Canvas();
  HBITMAP GetHandle();
  // Takes ownership of a GDI bitmap.
  void SetHandle(HBITMAP Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Gives up ownership of the handle (the bitmap becomes empty).
  HBITMAP ReleaseHandle();
  void Dormant() {}
  void FreeImage() {}

  void LoadFromStream(TStream& Stream) override;
  // Writes a .bmp: 32 bits for pf32bit, 24 otherwise.
  void SaveToStream(TStream& Stream) override;
  // Loads an RCDATA or BITMAP resource of that name (raises EResNotFound when missing).
  void LoadFromResourceName(const void* Instance, const std::string& ResName);
  void LoadFromResourceID(const void* Instance, int ResID);
  // Replaces the pixels with a picture (32 bits; alpha kept).
  void LoadFromRawImage(const TRawImage& Image);
  TRawImage ToRawImage() const override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;

protected:
  void Changed() override;

private:
  friend class TBitmapCanvas;
  void FreeContext();
  void NewImage(int AWidth, int AHeight, TPixelFormat Format, bool FillWhite);
  void LoadFromBytes(TBytesView Bytes) override;
  bool LoadRowsFromBmp(TBytesView Bytes);
  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  HBITMAP FHandle = nullptr;
  void* FBits = nullptr;
  int FStride = 0;
  std::unique_ptr<TCanvas> FCanvas;
};

// An icon or cursor: every image of the file is kept; drawing uses the one closest to
// the target size.
class TIcon : public TGraphic {
  LORM_CLASS(TIcon, TGraphic)
public:
  TIcon() = default;
  ~TIcon() override;
  void Assign(TPersistent* Source) override;
  // The icon as a system icon (HICON), made on first use from the image GetWidth and
  // GetHeight describe, and owned by the icon (freed when the pictures change).
  HICON Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Takes over an icon handle: the icon becomes its one picture (nullptr: empty).
  void SetHandle(HICON Value);
  // Hands the handle to the caller, who frees it; the pictures stay.
  HICON ReleaseHandle();
  bool GetEmpty() const override { return FIcon.Entries.empty(); }
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidth(int Value) override {
    FWantWidth = Value;
    FreeHandle();
  }
  void SetHeight(int Value) override {
    FWantHeight = Value;
    FreeHandle();
  }
  bool GetTransparent() const override { return true; }
  void LoadFromStream(TStream& Stream) override;
  void LoadFromBytes(TBytesView Bytes) override;
  void SaveToStream(TStream& Stream) override;
  void LoadFromResourceName(const void* Instance, const std::string& ResName);
  const TIconFile& IconFile() const { return FIcon; }
  TRawImage ToRawImage() const override;
  void Draw(TCanvas* ACanvas, const TRect& R) override;

protected:
  void Changed() override;
  // Stored forms keep the icon file as the binary property Data.
  void DefineProperties(TFiler* Filer) override;

private:
  void FreeHandle();
  TIconFile FIcon;
  TByteBuffer FBytes;
  int FWantWidth = 0, FWantHeight = 0;
  HICON FHandle = nullptr;
};

// A PNG, JPEG or GIF picture held decoded, saved back in its own format.
class TRasterImage : public TGraphic {
  LORM_CLASS(TRasterImage, TGraphic)
public:
  void Assign(TPersistent* Source) override;
  bool GetEmpty() const override { return FImage.Empty(); }
  int GetWidth() const override { return FImage.Width; }
  int GetHeight() const override { return FImage.Height; }
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  bool GetTransparent() const override { return FImage.HasTransparency(); }
  void LoadFromStream(TStream& Stream) override;
  void LoadFromBytes(TBytesView Bytes) override;
  void SaveToStream(TStream& Stream) override;
  TRawImage ToRawImage() const override { return FImage; }
  void SetRawImage(const TRawImage& Image);
  void Draw(TCanvas* ACanvas, const TRect& R) override;

protected:
  virtual TRawImage Decode(TBytesView Bytes) = 0;
  virtual TByteBuffer Encode(const TRawImage& Image) = 0;
  TRawImage FImage;
};

class TPngImage : public TRasterImage {
  LORM_CLASS(TPngImage, TRasterImage)
protected:
  TRawImage Decode(TBytesView Bytes) override;
  TByteBuffer Encode(const TRawImage& Image) override;
};

class TJPEGImage : public TRasterImage {
  LORM_CLASS(TJPEGImage, TRasterImage)
public:
  int CompressionQuality = 90;
protected:
  TRawImage Decode(TBytesView Bytes) override;
  TByteBuffer Encode(const TRawImage& Image) override;
};

// A GIF: every frame composed, with its delay; the picture shows the first frame.
// Saving writes the original bytes (or raises when there are none).
class TGIFImage : public TRasterImage {
  LORM_CLASS(TGIFImage, TRasterImage)
public:
  const TAnimatedImage& Animation() const { return FAnimation; }
  void SaveToStream(TStream& Stream) override;
protected:
  TRawImage Decode(TBytesView Bytes) override;
  TByteBuffer Encode(const TRawImage& Image) override;
private:
  TAnimatedImage FAnimation;
  TByteBuffer FBytes;
};

// Holds one graphic of any kind and loads pictures by their format.
class TPicture : public TPersistent {
  LORM_CLASS(TPicture, TPersistent)
public:
  TPicture() = default;
  ~TPicture() override;
  void Assign(TPersistent* Source) override;
  TGraphic* GetGraphic() const { return FGraphic.get(); }
  // Copies the graphic (nullptr clears the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap, replacing any other kind of graphic by an empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }
  // The format is told by the content (BMP, ICO/CUR, PNG, JPEG, GIF); unknown content
  // raises EInvalidGraphic "Unknown picture file extension (.ext)" or "Unknown picture format".
  void LoadFromFile(const std::string& FileName);
  void LoadFromStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);
  void SaveToStream(TStream& Stream);
  TNotifyEvent OnChange;

private:
  void Changed();
  void Adopt(std::unique_ptr<TGraphic> Graphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// ---- image lists ------------------------------------------------------------------------
class TCustomImageList;

// Tells a user of an image list that the list changed.
class TChangeLink : public TObject {
  LORM_CLASS(TChangeLink, TObject)
public:
  ~TChangeLink() override;
  TCustomImageList* Sender = nullptr;
  TNotifyEvent OnChange;
  virtual void Change();
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
  LORM_CLASS(TCustomImageList, TComponent)
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  int Count() const { return static_cast<int>(FImages.size()); }
  bool Masked = true;
  TColor BkColor = clNone;
  TColor BlendColor = clNone;
  TDrawingStyle DrawingStyle = dsNormal;
  TImageType ImageType = itImage;
  TNotifyEvent OnChange;

  // Adds the image (cut into Width-wide pieces when wider); Mask's black pixels are the
  // image, white ones transparent. Returns the index of the first image added.
  int Add(TBitmap* Image, TBitmap* Mask);
  // As Add, with the pixels of MaskColor transparent (clDefault: the bottom-left pixel).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Icon);
  // Adds a straight-alpha picture as it is.
  int AddRawImage(const TRawImage& Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int Index);
  void Clear();
  void Move(int CurIndex, int NewIndex);

  // Enabled draws the image; disabled draws the classic embossed grey shape.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // The image on a Width×Height bitmap filled with BkColor (white when clNone).
  void GetBitmap(int Index, TBitmap* Image);
  const TRawImage& Image(int Index) const;

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

protected:
  virtual void Change();

private:
  void CheckIndex(int Index) const;
  int AddPieces(const TRawImage& Image);
  int FWidth = 16, FHeight = 16;
  std::vector<TRawImage> FImages;
  std::vector<TChangeLink*> FLinks;
  int FUpdateCount = 0;
  bool FChanged = false;
};

class TImageList : public TCustomImageList {
  LORM_CLASS(TImageList, TCustomImageList)
public:
  using TCustomImageList::TCustomImageList;
};

// Draws a straight-alpha picture stretched into R on a canvas (alpha-blended).
void DrawRawImage(TCanvas* Canvas, const TRect& R, const TRawImage& Image);
