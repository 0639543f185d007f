// Images and bitmaps: decoded through platform/image into premultiplied cairo surfaces
// (one per frame), with pixel access, locking, rotation, resolution, saving, image
// attributes (colour keys) and drawing.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "platform/gdiplus/GdiPlusFlat.h"
#include "platform/gdiplus/GdiPlusObjects.h"
#include "platform/rtl/FileRead.h"
#include "platform/image/BmpCodec.h"
#include "platform/image/GifCodec.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/win/ComStream.h"

namespace {

bool HasAlpha(PixelFormat f) { return (f & PixelFormatAlpha) != 0; }

cairo_surface_t* SurfaceFromRaw(const TRawImage& raw) {
  cairo_surface_t* s = NewImageSurface(raw.Width, raw.Height);
  if (!s) return nullptr;
  cairo_surface_flush(s);
  CopyToPremultiplied(raw, cairo_image_surface_get_data(s), cairo_image_surface_get_stride(s));
  cairo_surface_mark_dirty(s);
  return s;
}

TRawImage RawFromSurface(cairo_surface_t* s) {
  cairo_surface_flush(s);
  return CopyFromPremultiplied(cairo_image_surface_get_data(s), cairo_image_surface_get_width(s),
                               cairo_image_surface_get_height(s), cairo_image_surface_get_stride(s));
}

std::uint32_t* Pixel(cairo_surface_t* s, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s) + std::ptrdiff_t(y) * cairo_image_surface_get_stride(s)) + x;
}

ARGB Unpremultiply(std::uint32_t p) {
  const unsigned a = p >> 24;
  if (a == 0) return 0;
  if (a == 255) return p;
  auto ch = [&](int shift) { return std::min(255u, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift; };
  return (a << 24) | ch(16) | ch(8) | ch(0);
}

std::uint32_t Premultiply(ARGB c) {
  const unsigned a = c >> 24;
  if (a == 255) return c;
  auto ch = [&](int shift) { return ((((c >> shift) & 0xFF) * a + 127) / 255) << shift; };
  return (a << 24) | ch(16) | ch(8) | ch(0);
}

// An icon file: the largest image of its directory (PNG or icon DIB).
TRawImage DecodeIco(TBytesView data) {
  if (data.size() < 6) RaiseInvalidImage("ICO", "no header");
  const int count = data[4] | (data[5] << 8);
  if (count <= 0 || data.size() < std::size_t(6 + 16 * count)) RaiseInvalidImage("ICO", "bad directory");
  int best = -1, bestArea = -1, bestBits = -1;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = data.data() + 6 + 16 * i;
    const int w = e[0] ? e[0] : 256, h = e[1] ? e[1] : 256, bits = e[6] | (e[7] << 8);
    if (w * h > bestArea || (w * h == bestArea && bits > bestBits)) {
      best = i;
      bestArea = w * h;
      bestBits = bits;
    }
  }
  const std::uint8_t* e = data.data() + 6 + 16 * best;
  const std::uint32_t size = e[8] | (e[9] << 8) | (e[10] << 16) | (std::uint32_t(e[11]) << 24);
  const std::uint32_t offset = e[12] | (e[13] << 8) | (e[14] << 16) | (std::uint32_t(e[15]) << 24);
  if (offset > data.size() || size > data.size() - offset) RaiseInvalidImage("ICO", "entry outside the file");
  const TBytesView entry = data.subspan(offset, size);
  if (size >= 8 && entry[0] == 0x89 && entry[1] == 'P') return DecodePng(entry);
  return DecodeIconDib(entry);
}

Status Decode(TBytesView data, GpImage** image) {
  *image = nullptr;
  if (data.size() < 4) return UnknownImageFormat;
  auto img = std::unique_ptr<GpImage>(new (std::nothrow) GpImage);
  if (!img) return OutOfMemory;
  std::vector<TRawImage> frames;
  const std::uint8_t* d = data.data();
  try {
    if (d[0] == 0x89 && d[1] == 'P' && d[2] == 'N' && d[3] == 'G') {
      frames.push_back(DecodePng(data));
      img->rawFormat = ImageFormatPNG;
      img->format = PixelFormat32bppARGB;
    } else if (d[0] == 0xFF && d[1] == 0xD8) {
      frames.push_back(DecodeJpeg(data));
      img->rawFormat = ImageFormatJPEG;
      img->format = PixelFormat24bppRGB;
    } else if (d[0] == 'G' && d[1] == 'I' && d[2] == 'F') {
      TAnimatedImage anim = DecodeGif(data);
      for (TImageFrame& f : anim.Frames) {
        img->delays.push_back(f.DelayMs);
        frames.push_back(std::move(f.Image));
      }
      img->rawFormat = ImageFormatGIF;
      img->format = PixelFormat8bppIndexed;
    } else if (d[0] == 'B' && d[1] == 'M') {
      TBmpInfo info;
      frames.push_back(DecodeBmp(data, &info));
      img->rawFormat = ImageFormatBMP;
      switch (info.BitCount) {
        case 1: img->format = PixelFormat1bppIndexed; break;
        case 4: img->format = PixelFormat4bppIndexed; break;
        case 8: img->format = PixelFormat8bppIndexed; break;
        case 16: img->format = PixelFormat16bppRGB555; break;
        case 24: img->format = PixelFormat24bppRGB; break;
        default: img->format = info.HasAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB; break;
      }
    } else if (d[0] == 0 && d[1] == 0 && (d[2] == 1 || d[2] == 2) && d[3] == 0) {
      frames.push_back(DecodeIco(data));
      img->rawFormat = ImageFormatIcon;
      img->format = PixelFormat32bppARGB;
    } else {
      return UnknownImageFormat;
    }
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  } catch (const std::exception&) {
    return GenericError;  // a known format with damaged contents
  }
  for (const TRawImage& raw : frames) {
    cairo_surface_t* s = SurfaceFromRaw(raw);
    if (!s) return OutOfMemory;
    img->frames.push_back(s);
  }
  if (img->frames.empty()) return GenericError;
  *image = img.release();
  return Ok;
}

// The most an image file or stream may hold; a stream that never ends is refused, not
// read forever.
constexpr std::size_t kMaxStreamBytes = std::size_t(MaxLoadedFileSize);

Status ReadFile(const char16_t* filename, std::vector<std::uint8_t>& bytes) {
  if (!filename) return InvalidParameter;
  const std::string name = Utf16ToUtf8(filename, -1);
  if (name.empty()) return InvalidParameter;
  // Never blocks on a FIFO or device and never reads more than an image stream may hold.
  switch (ReadFileBytes(name, bytes, kMaxStreamBytes)) {
    case TReadFileResult::Ok: return Ok;
    case TReadFileResult::NotFound: return FileNotFound;
    case TReadFileResult::AccessDenied: return AccessDenied;
    case TReadFileResult::TooLarge: return OutOfMemory;
    case TReadFileResult::NotRegular:
    case TReadFileResult::ReadFailed: break;
  }
  return Win32Error;
}


// The stream's bytes from its start (callers write an image and hand the stream over
// without rewinding, or build several images from one stream); a stream that cannot seek
// is read from where it stands. Nothing a stream does may escape as an exception.
Status ReadStream(IStream* stream, std::vector<std::uint8_t>& bytes) {
  try {
    stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
    STATSTG stat;
    if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart <= kMaxStreamBytes)
      bytes.reserve(std::size_t(stat.cbSize.QuadPart));
    std::uint8_t chunk[65536];
    for (;;) {
      ULONG got = 0;
      const HRESULT hr = stream->Read(chunk, sizeof chunk, &got);
      if (FAILED(hr) || got > sizeof chunk) return Win32Error;
      if (got == 0) break;
      if (bytes.size() + got > kMaxStreamBytes) return OutOfMemory;
      bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return Ok;
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  } catch (...) {
    return Win32Error;
  }
}

Status FromStream(IStream* stream, GpImage** image) {
  if (!image) return InvalidParameter;
  *image = nullptr;
  if (!stream) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  std::vector<std::uint8_t> bytes;
  const Status s = ReadStream(stream, bytes);
  if (s != Ok) return s;
  return Decode(TBytesView(bytes.data(), bytes.size()), image);
}

// The image encoded by the encoder (PNG, BMP or JPEG with its quality parameter).
Status Encode(GpImage* image, const CLSID& encoder, const EncoderParameters* params, TByteBuffer& bytes) {
  try {
    const TRawImage raw = RawFromSurface(image->Surface());
    if (encoder == EncoderClsidPNG) {
      bytes = EncodePng(raw);
    } else if (encoder == EncoderClsidBMP) {
      bytes = EncodeBmp(raw, raw.HasTransparency() ? 32 : 24);
    } else if (encoder == EncoderClsidJPEG) {
      int quality = 75;
      if (params)
        for (std::uint32_t i = 0; i < params->Count; ++i) {
          const EncoderParameter& p = params->Parameter[i];
          if (p.Guid == EncoderQuality && p.NumberOfValues >= 1 && p.Value)
            quality = std::clamp(int(*static_cast<const std::uint32_t*>(p.Value)), 0, 100);
        }
      bytes = EncodeJpeg(raw, std::max(1, quality));
    } else {
      return UnknownImageFormat;  // no encoder for GIF, TIFF or others
    }
  } catch (const std::bad_alloc&) {
    return OutOfMemory;
  } catch (const std::exception&) {
    return GenericError;
  }
  return Ok;
}

bool IsBitmap(const GpImage* image) { return image && !image->frames.empty(); }

}  // namespace

GpImage::~GpImage() {
  for (cairo_surface_t* s : frames) cairo_surface_destroy(s);
}

int GpImage::Width() const { return Surface() ? cairo_image_surface_get_width(Surface()) : 0; }
int GpImage::Height() const { return Surface() ? cairo_image_surface_get_height(Surface()) : 0; }

const GpImageAttributes::Key* GpImageAttributes::BitmapKey() const {
  if (keys[ColorAdjustTypeBitmap].enabled) return &keys[ColorAdjustTypeBitmap];
  if (keys[ColorAdjustTypeDefault].enabled) return &keys[ColorAdjustTypeDefault];
  return nullptr;
}

// ---- loading ------------------------------------------------------------------------------------

Status GdipLoadImageFromFile(const char16_t* filename, GpImage** image) {
  if (!image) return InvalidParameter;
  *image = nullptr;
  if (!filename) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  std::vector<std::uint8_t> bytes;
  Status s = ReadFile(filename, bytes);
  if (s != Ok) return s;
  return Decode(TBytesView(bytes.data(), bytes.size()), image);
}

Status GdipLoadImageFromFileICM(const char16_t* filename, GpImage** image) { return GdipLoadImageFromFile(filename, image); }
Status GdipCreateBitmapFromFile(const char16_t* filename, GpBitmap** bitmap) { return GdipLoadImageFromFile(filename, bitmap); }
Status GdipCreateBitmapFromFileICM(const char16_t* filename, GpBitmap** bitmap) {
  return GdipLoadImageFromFile(filename, bitmap);
}

Status GdipLoadImageFromMemory(const void* data, std::size_t size, GpImage** image) {
  if (!image) return InvalidParameter;
  *image = nullptr;
  if (!data || size == 0) return InvalidParameter;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  return Decode(TBytesView(static_cast<const std::uint8_t*>(data), size), image);
}

Status GdipLoadImageFromStream(IStream* stream, GpImage** image) { return FromStream(stream, image); }
Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image) { return FromStream(stream, image); }
Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) { return FromStream(stream, bitmap); }
Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap) { return FromStream(stream, bitmap); }

Status GdipCreateBitmapFromScan0(int width, int height, int stride, PixelFormat format, std::uint8_t* scan0,
                                 GpBitmap** bitmap) {
  if (!bitmap) return InvalidParameter;
  *bitmap = nullptr;
  if (width <= 0 || height <= 0) return InvalidParameter;
  int bpp = 0;
  switch (format) {
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat32bppRGB: bpp = 4; break;
    case PixelFormat24bppRGB: bpp = 3; break;
    default: return format == 0 ? InvalidParameter : NotImplemented;
  }
  if (scan0 && (stride == 0 || std::abs(std::int64_t(stride)) < std::int64_t(width) * bpp)) return InvalidParameter;
  if (std::int64_t(width) * height > std::int64_t(1) << 28) return OutOfMemory;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  auto img = std::unique_ptr<GpImage>(new (std::nothrow) GpImage);
  if (!img) return OutOfMemory;
  cairo_surface_t* s = NewImageSurface(width, height);
  if (!s) return OutOfMemory;
  img->frames.push_back(s);
  img->format = format;
  img->rawFormat = ImageFormatMemoryBMP;
  cairo_surface_flush(s);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = Pixel(s, 0, y);
    if (!scan0) {
      // New pixels: transparent black, or opaque black where the format has no alpha.
      std::fill(row, row + width, HasAlpha(format) ? 0u : 0xFF000000u);
      continue;
    }
    const std::uint8_t* src = scan0 + std::ptrdiff_t(y) * stride;  // the pixels are copied
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = src + x * bpp;
      const ARGB c = bpp == 3 ? (0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0])
                              : (std::uint32_t(p[3]) << 24 | (p[2] << 16) | (p[1] << 8) | p[0]);
      row[x] = format == PixelFormat32bppPARGB ? c
               : format == PixelFormat32bppARGB ? Premultiply(c)
                                                 : (c | 0xFF000000u);
    }
  }
  cairo_surface_mark_dirty(s);
  *bitmap = img.release();
  return Ok;
}

Status GdipCloneImage(GpImage* image, GpImage** clone) {
  if (!image || !clone) return InvalidParameter;
  *clone = nullptr;
  auto img = std::unique_ptr<GpImage>(new (std::nothrow) GpImage);
  if (!img) return OutOfMemory;
  for (cairo_surface_t* f : image->frames) {
    cairo_surface_t* s = NewImageSurface(cairo_image_surface_get_width(f), cairo_image_surface_get_height(f));
    if (!s) return OutOfMemory;
    cairo_t* cr = cairo_create(s);
    cairo_set_source_surface(cr, f, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    img->frames.push_back(s);
  }
  img->delays = image->delays;
  img->activeFrame = image->activeFrame;
  img->format = image->format;
  img->rawFormat = image->rawFormat;
  img->dpiX = image->dpiX;
  img->dpiY = image->dpiY;
  *clone = img.release();
  return Ok;
}

Status GdipDisposeImage(GpImage* image) {
  if (!image) return InvalidParameter;
  if (image->graphicsCount > 0) return ObjectBusy;  // a graphics still draws on it
  delete image;
  return Ok;
}

Status GdipSaveImageToFile(GpImage* image, const char16_t* filename, const CLSID* encoder,
                           const EncoderParameters* params) {
  if (!IsBitmap(image) || !filename || !encoder) return InvalidParameter;
  if (image->locked) return WrongState;
  const std::string name = Utf16ToUtf8(filename, -1);
  if (name.empty()) return InvalidParameter;
  TByteBuffer bytes;
  const Status encoded = Encode(image, *encoder, params, bytes);
  if (encoded != Ok) return encoded;
  errno = 0;
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  if (!out) return errno == EACCES ? AccessDenied : Win32Error;
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return out ? Ok : Win32Error;
}

Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* encoder, const EncoderParameters* params) {
  if (!IsBitmap(image) || !stream || !encoder) return InvalidParameter;
  if (image->locked) return WrongState;
  TByteBuffer bytes;
  const Status encoded = Encode(image, *encoder, params, bytes);
  if (encoded != Ok) return encoded;
  try {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ULONG want = ULONG(std::min<std::size_t>(bytes.size() - done, std::size_t(1) << 30));
      ULONG put = 0;
      const HRESULT hr = stream->Write(bytes.data() + done, want, &put);
      if (FAILED(hr) || put == 0 || put > want) return Win32Error;  // a full or failing stream
      done += put;
    }
  } catch (...) {
    return Win32Error;
  }
  return Ok;
}

// ---- properties -----------------------------------------------------------------------------------

Status GdipGetImageWidth(GpImage* image, unsigned* width) {
  if (!image || !width) return InvalidParameter;
  *width = unsigned(image->Width());
  return Ok;
}

Status GdipGetImageHeight(GpImage* image, unsigned* height) {
  if (!image || !height) return InvalidParameter;
  *height = unsigned(image->Height());
  return Ok;
}

Status GdipGetImageDimension(GpImage* image, REAL* width, REAL* height) {
  if (!image || !width || !height) return InvalidParameter;
  *width = REAL(image->Width());
  *height = REAL(image->Height());
  return Ok;
}

Status GdipGetImageBounds(GpImage* image, GpRectF* rect, GpUnit* unit) {
  if (!image || !rect || !unit) return InvalidParameter;
  *rect = GpRectF{0, 0, REAL(image->Width()), REAL(image->Height())};
  *unit = UnitPixel;
  return Ok;
}

Status GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
  if (!image || !resolution) return InvalidParameter;
  *resolution = image->dpiX;
  return Ok;
}

Status GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
  if (!image || !resolution) return InvalidParameter;
  *resolution = image->dpiY;
  return Ok;
}

Status GdipBitmapSetResolution(GpBitmap* bitmap, REAL xdpi, REAL ydpi) {
  if (!IsBitmap(bitmap) || !ValidFloat(xdpi) || !ValidFloat(ydpi) || xdpi <= 0 || ydpi <= 0) return InvalidParameter;
  bitmap->dpiX = xdpi;
  bitmap->dpiY = ydpi;
  return Ok;
}

Status GdipGetImageRawFormat(GpImage* image, GUID* format) {
  if (!image || !format) return InvalidParameter;
  *format = image->rawFormat;
  return Ok;
}

Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
  if (!image || !format) return InvalidParameter;
  *format = image->format;
  return Ok;
}

Status GdipGetImageType(GpImage* image, ImageType* type) {
  if (!image || !type) return InvalidParameter;
  *type = ImageTypeBitmap;
  return Ok;
}

Status GdipImageGetFrameDimensionsCount(GpImage* image, unsigned* count) {
  if (!image || !count) return InvalidParameter;
  *count = 1;
  return Ok;
}

Status GdipImageGetFrameDimensionsList(GpImage* image, GUID* dimensions, unsigned count) {
  if (!image || !dimensions || count < 1) return InvalidParameter;
  dimensions[0] = image->rawFormat == ImageFormatGIF ? FrameDimensionTime : FrameDimensionPage;
  return Ok;
}

Status GdipImageGetFrameCount(GpImage* image, const GUID* dimension, unsigned* count) {
  if (!image || !dimension || !count) return InvalidParameter;
  const GUID own = image->rawFormat == ImageFormatGIF ? FrameDimensionTime : FrameDimensionPage;
  if (!(*dimension == own)) return InvalidParameter;
  *count = unsigned(image->frames.size());
  return Ok;
}

Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimension, unsigned index) {
  if (!image || !dimension) return InvalidParameter;
  const GUID own = image->rawFormat == ImageFormatGIF ? FrameDimensionTime : FrameDimensionPage;
  if (!(*dimension == own) || index >= image->frames.size()) return InvalidParameter;
  if (image->locked) return WrongState;
  image->activeFrame = int(index);
  return Ok;
}

// ---- pixels ---------------------------------------------------------------------------------------

Status GdipBitmapGetPixel(GpBitmap* bitmap, int x, int y, ARGB* color) {
  if (!IsBitmap(bitmap) || !color) return InvalidParameter;
  if (x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height()) return InvalidParameter;
  if (bitmap->locked) return WrongState;
  cairo_surface_flush(bitmap->Surface());
  *color = Unpremultiply(*Pixel(bitmap->Surface(), x, y));
  return Ok;
}

Status GdipBitmapSetPixel(GpBitmap* bitmap, int x, int y, ARGB color) {
  if (!IsBitmap(bitmap)) return InvalidParameter;
  if (x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height()) return InvalidParameter;
  if (bitmap->locked) return WrongState;
  if (bitmap->format & PixelFormatIndexed) return InvalidParameter;  // as GDI+: no direct writes to palettes
  if (!HasAlpha(bitmap->format)) color |= 0xFF000000u;
  cairo_surface_flush(bitmap->Surface());
  *Pixel(bitmap->Surface(), x, y) = Premultiply(color);
  cairo_surface_mark_dirty_rectangle(bitmap->Surface(), x, y, 1, 1);
  return Ok;
}

Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, unsigned flags, PixelFormat format,
                          BitmapData* data) {
  if (!IsBitmap(bitmap) || !data) return InvalidParameter;
  if (!(flags & (ImageLockModeRead | ImageLockModeWrite))) return InvalidParameter;
  const GpRect r = rect ? *rect : GpRect{0, 0, bitmap->Width(), bitmap->Height()};
  if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 || r.X + r.Width > bitmap->Width() ||
      r.Y + r.Height > bitmap->Height())
    return InvalidParameter;
  int bpp;
  switch (format) {
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat32bppRGB: bpp = 4; break;
    case PixelFormat24bppRGB: bpp = 3; break;
    default: return NotImplemented;
  }
  if (bitmap->locked) return WrongState;
  const bool user = (flags & ImageLockModeUserInputBuf) != 0;
  int stride = (r.Width * bpp + 3) & ~3;
  std::uint8_t* buffer;
  if (user) {
    if (!data->Scan0 || std::abs(data->Stride) < r.Width * bpp) return InvalidParameter;
    stride = data->Stride;
    buffer = static_cast<std::uint8_t*>(data->Scan0);
  } else {
    try {
      bitmap->lockBuffer.assign(std::size_t(stride) * std::size_t(r.Height), 0);
    } catch (const std::bad_alloc&) {
      return OutOfMemory;
    }
    buffer = bitmap->lockBuffer.data();
  }
  if (flags & ImageLockModeRead) {
    cairo_surface_flush(bitmap->Surface());
    for (int y = 0; y < r.Height; ++y) {
      std::uint8_t* out = buffer + std::ptrdiff_t(y) * stride;
      const std::uint32_t* in = Pixel(bitmap->Surface(), r.X, r.Y + y);
      for (int x = 0; x < r.Width; ++x) {
        const std::uint32_t c = format == PixelFormat32bppPARGB ? in[x] : Unpremultiply(in[x]);
        out[x * bpp + 0] = std::uint8_t(c);
        out[x * bpp + 1] = std::uint8_t(c >> 8);
        out[x * bpp + 2] = std::uint8_t(c >> 16);
        if (bpp == 4) out[x * bpp + 3] = format == PixelFormat32bppRGB ? 0xFF : std::uint8_t(c >> 24);
      }
    }
  }
  bitmap->locked = true;
  bitmap->lockRect = r;
  bitmap->lockMode = int(flags);
  bitmap->lockFormat = format;
  data->Width = unsigned(r.Width);
  data->Height = unsigned(r.Height);
  data->Stride = stride;
  data->PixelFormat = format;
  data->Scan0 = buffer;
  return Ok;
}

Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data) {
  if (!IsBitmap(bitmap) || !data) return InvalidParameter;
  if (!bitmap->locked) return WrongState;
  if ((bitmap->lockMode & ImageLockModeWrite) && data->Scan0) {
    const GpRect& r = bitmap->lockRect;
    const int bpp = bitmap->lockFormat == PixelFormat24bppRGB ? 3 : 4;
    cairo_surface_flush(bitmap->Surface());
    for (int y = 0; y < r.Height; ++y) {
      const std::uint8_t* in = static_cast<const std::uint8_t*>(data->Scan0) + std::ptrdiff_t(y) * data->Stride;
      std::uint32_t* out = Pixel(bitmap->Surface(), r.X, r.Y + y);
      for (int x = 0; x < r.Width; ++x) {
        const std::uint8_t* p = in + x * bpp;
        ARGB c = (ARGB(p[2]) << 16) | (ARGB(p[1]) << 8) | p[0];
        c |= (bpp == 4 && bitmap->lockFormat != PixelFormat32bppRGB && HasAlpha(bitmap->format)) ? ARGB(p[3]) << 24
                                                                                                  : 0xFF000000u;
        out[x] = bitmap->lockFormat == PixelFormat32bppPARGB ? c : Premultiply(c);
      }
    }
    cairo_surface_mark_dirty(bitmap->Surface());
  }
  bitmap->locked = false;
  bitmap->lockBuffer.clear();
  bitmap->lockBuffer.shrink_to_fit();
  return Ok;
}

Status GdipImageRotateFlip(GpImage* image, RotateFlipType type) {
  if (!IsBitmap(image) || type < RotateNoneFlipNone || type > Rotate270FlipX) return InvalidParameter;
  if (image->locked) return WrongState;
  if (type == RotateNoneFlipNone) return Ok;
  const int rotate = type & 3;  // quarter turns clockwise
  const bool flipX = (type & 4) != 0;
  for (cairo_surface_t*& f : image->frames) {
    const int w = cairo_image_surface_get_width(f), h = cairo_image_surface_get_height(f);
    const int nw = (rotate & 1) ? h : w, nh = (rotate & 1) ? w : h;
    cairo_surface_t* s = NewImageSurface(nw, nh);
    if (!s) return OutOfMemory;
    cairo_surface_flush(f);
    for (int y = 0; y < nh; ++y) {
      std::uint32_t* out = Pixel(s, 0, y);
      for (int x = 0; x < nw; ++x) {
        // Destination (x, y) after rotating, then flipping horizontally.
        const int fx = flipX ? nw - 1 - x : x;
        int sx, sy;
        switch (rotate) {
          case 1: sx = y; sy = h - 1 - fx; break;
          case 2: sx = w - 1 - fx; sy = h - 1 - y; break;
          case 3: sx = w - 1 - y; sy = fx; break;
          default: sx = fx; sy = y; break;
        }
        out[x] = *Pixel(f, sx, sy);
      }
    }
    cairo_surface_mark_dirty(s);
    cairo_surface_destroy(f);
    f = s;
  }
  if (rotate & 1) std::swap(image->dpiX, image->dpiY);
  return Ok;
}

// ---- attributes ----------------------------------------------------------------------------------

Status GdipCreateImageAttributes(GpImageAttributes** attributes) {
  if (!attributes) return InvalidParameter;
  *attributes = nullptr;
  if (!GdipIsStarted()) return GdiplusNotInitialized;
  *attributes = new (std::nothrow) GpImageAttributes;
  return *attributes ? Ok : OutOfMemory;
}

Status GdipCloneImageAttributes(const GpImageAttributes* attributes, GpImageAttributes** clone) {
  if (!attributes || !clone) return InvalidParameter;
  *clone = new (std::nothrow) GpImageAttributes(*attributes);
  return *clone ? Ok : OutOfMemory;
}

Status GdipDisposeImageAttributes(GpImageAttributes* attributes) {
  if (!attributes) return InvalidParameter;
  delete attributes;
  return Ok;
}

Status GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, BOOL enableFlag,
                                       ARGB colorLow, ARGB colorHigh) {
  if (!attributes || type < ColorAdjustTypeDefault || type >= ColorAdjustTypeCount) return InvalidParameter;
  attributes->keys[type] = GpImageAttributes::Key{enableFlag != 0, colorLow, colorHigh};
  return Ok;
}

// ---- drawing ---------------------------------------------------------------------------------------

Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth, REAL dstheight,
                             REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                             const GpImageAttributes* attributes, DrawImageAbort callback, void* callbackData) {
  if (!graphics || !IsBitmap(image)) return InvalidParameter;
  for (double v : {dstx, dsty, dstwidth, dstheight, srcx, srcy, srcwidth, srcheight})
    if (!ValidFloat(v)) return InvalidParameter;
  if (srcUnit != UnitPixel) return NotImplemented;
  if (image->locked) return WrongState;
  if (dstwidth == 0 || dstheight == 0 || srcwidth == 0 || srcheight == 0) return Ok;
  if (callback && callback(callbackData)) return Aborted;

  cairo_surface_t* src = image->Surface();
  cairo_surface_t* keyed = nullptr;
  const GpImageAttributes::Key* key = attributes ? attributes->BitmapKey() : nullptr;
  if (key) {
    // Pixels whose red, green and blue all lie within the key range become transparent.
    const int w = image->Width(), h = image->Height();
    keyed = NewImageSurface(w, h);
    if (!keyed) return OutOfMemory;
    cairo_surface_flush(src);
    cairo_surface_flush(keyed);
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* in = Pixel(src, 0, y);
      std::uint32_t* out = Pixel(keyed, 0, y);
      for (int x = 0; x < w; ++x) {
        const ARGB c = Unpremultiply(in[x]);
        bool inside = true;
        for (int shift = 0; shift < 24 && inside; shift += 8) {
          const unsigned v = (c >> shift) & 0xFF;
          inside = v >= ((key->low >> shift) & 0xFF) && v <= ((key->high >> shift) & 0xFF);
        }
        out[x] = inside ? 0 : in[x];
      }
    }
    cairo_surface_mark_dirty(keyed);
    src = keyed;
  }
  Status s = GraphicsDraw(graphics, true, [&](cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_for_surface(src);
    // Pattern space (source pixels) from user space (destination rectangle).
    cairo_matrix_t m;
    cairo_matrix_init(&m, srcwidth / dstwidth, 0, 0, srcheight / dstheight, srcx - dstx * srcwidth / dstwidth,
                      srcy - dsty * srcheight / dstheight);
    cairo_pattern_set_matrix(p, &m);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    switch (graphics->interpolation) {
      case InterpolationModeNearestNeighbor: cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST); break;
      case InterpolationModeHighQualityBicubic:
      case InterpolationModeHighQualityBilinear:
      case InterpolationModeBicubic: cairo_pattern_set_filter(p, CAIRO_FILTER_GOOD); break;
      default: cairo_pattern_set_filter(p, CAIRO_FILTER_BILINEAR); break;
    }
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, dstx, dsty, dstwidth, dstheight);
    cairo_fill(cr);
    return Ok;
  });
  if (keyed) cairo_surface_destroy(keyed);
  return s;
}

Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, int dstx, int dsty, int dstwidth, int dstheight,
                              int srcx, int srcy, int srcwidth, int srcheight, GpUnit srcUnit,
                              const GpImageAttributes* attributes, DrawImageAbort callback, void* callbackData) {
  return GdipDrawImageRectRect(graphics, image, REAL(dstx), REAL(dsty), REAL(dstwidth), REAL(dstheight), REAL(srcx),
                               REAL(srcy), REAL(srcwidth), REAL(srcheight), srcUnit, attributes, callback, callbackData);
}

Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
  if (!graphics || !IsBitmap(image)) return InvalidParameter;
  return GdipDrawImageRectRect(graphics, image, x, y, width, height, 0, 0, REAL(image->Width()), REAL(image->Height()),
                               UnitPixel, nullptr, nullptr, nullptr);
}

Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, int x, int y, int width, int height) {
  return GdipDrawImageRect(graphics, image, REAL(x), REAL(y), REAL(width), REAL(height));
}

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
  if (!graphics || !IsBitmap(image)) return InvalidParameter;
  // The natural size follows the image's resolution, as in GDI+ (96 DPI draws 1:1).
  return GdipDrawImageRect(graphics, image, x, y, REAL(image->Width() * 96.0 / image->dpiX),
                           REAL(image->Height() * 96.0 / image->dpiY));
}

Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, int x, int y) {
  return GdipDrawImage(graphics, image, REAL(x), REAL(y));
}
