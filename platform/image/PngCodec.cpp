#include "platform/image/PngCodec.h"

#include "platform/rtl/Exceptions.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

// State shared with libpng's callbacks. libpng reports fatal errors through longjmp, so
// the functions that call setjmp below keep no objects with destructors of their own:
// everything that must survive a jump lives here, in the caller's frame.
struct TPngContext {
  TBytesView Input;
  std::size_t Pos = 0;
  TRawImage* Image = nullptr;
  TByteBuffer* Output = nullptr;
  const TRawImage* Source = nullptr;
  std::vector<png_bytep>* Rows = nullptr;
  char Error[200] = {};
  bool SizeError = false;
  std::int64_t Width = 0, Height = 0;
};

void PngError(png_structp png, png_const_charp message) {
  auto* ctx = static_cast<TPngContext*>(png_get_error_ptr(png));
  std::snprintf(ctx->Error, sizeof ctx->Error, "%s", message ? message : "libpng error");
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* ctx = static_cast<TPngContext*>(png_get_io_ptr(png));
  if (length > ctx->Input.size() - ctx->Pos) png_error(png, "unexpected end of data");
  std::memcpy(out, ctx->Input.data() + ctx->Pos, length);
  ctx->Pos += length;
}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* ctx = static_cast<TPngContext*>(png_get_io_ptr(png));
  ctx->Output->insert(ctx->Output->end(), data, data + length);
}

void PngFlush(png_structp) {}

bool ReadPng(png_structp png, png_infop info, TPngContext& ctx) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &ctx, PngRead);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > png_uint_32(MaxImageSide) ||
      height > png_uint_32(MaxImageSide) || std::uint64_t(width) * height > MaxImagePixels) {
    ctx.SizeError = true;
    ctx.Width = width;
    ctx.Height = height;
    return false;
  }
  int colorType = png_get_color_type(png, info);
  int depth = png_get_bit_depth(png, info);
  if (depth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  // Produce B, G, R, A bytes, i.e. 0xAARRGGBB words on a little-endian host.
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != std::size_t(width) * 4) png_error(png, "unexpected row layout");
  *ctx.Image = TRawImage(int(width), int(height));
  ctx.Rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    (*ctx.Rows)[y] = reinterpret_cast<png_bytep>(ctx.Image->Row(int(y)));
  png_read_image(png, ctx.Rows->data());
  png_read_end(png, nullptr);
  return true;
}

bool WritePng(png_structp png, png_infop info, TPngContext& ctx) {
  if (setjmp(png_jmpbuf(png))) return false;
  const TRawImage& image = *ctx.Source;
  bool alpha = image.HasTransparency();
  png_set_write_fn(png, &ctx, PngWrite, PngFlush);
  png_set_IHDR(png, info, png_uint_32(image.Width), png_uint_32(image.Height), 8,
               alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  ctx.Rows->resize(std::size_t(image.Height));
  for (int y = 0; y < image.Height; ++y)
    (*ctx.Rows)[std::size_t(y)] =
        reinterpret_cast<png_bytep>(const_cast<std::uint32_t*>(image.Row(y)));
  png_write_image(png, ctx.Rows->data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

TRawImage DecodePng(TBytesView data) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) RaiseInvalidImage("PNG", "bad signature");
  TRawImage image;
  std::vector<png_bytep> rows;
  TPngContext ctx;
  ctx.Input = data;
  ctx.Image = &image;
  ctx.Rows = &rows;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, PngError, PngWarning);
  if (!png) throw EOutOfResources("Out of memory decoding PNG image");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    throw EOutOfResources("Out of memory decoding PNG image");
  }
  // Ancillary chunks cost memory from their announced length before their bytes are
  // known to be there, so the ones nothing here reads are skipped unread (text, profiles,
  // palettes of suggestions, calibration and Exif data); the rest are limited in size
  // and number. The pixels themselves are capped by the image size check.
  static const png_byte kSkipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf\0pCAL\0sCAL\0hIST\0";
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kSkipped, int(sizeof kSkipped / 5));
  png_set_chunk_malloc_max(png, 8u << 20);
  png_set_chunk_cache_max(png, 1000);
  bool ok = ReadPng(png, info, ctx);
  png_destroy_read_struct(&png, &info, nullptr);
  if (ctx.SizeError) CheckImageSize("PNG", ctx.Width, ctx.Height);
  if (!ok) RaiseInvalidImage("PNG", ctx.Error);
  return image;
}

TByteBuffer EncodePng(const TRawImage& image) {
  if (image.Empty()) throw EInvalidGraphicOperation("Cannot save an empty image as PNG");
  TByteBuffer out;
  std::vector<png_bytep> rows;
  TPngContext ctx;
  ctx.Output = &out;
  ctx.Source = &image;
  ctx.Rows = &rows;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, PngError, PngWarning);
  if (!png) throw EOutOfResources("Out of memory encoding PNG image");
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    throw EOutOfResources("Out of memory encoding PNG image");
  }
  bool ok = WritePng(png, info, ctx);
  png_destroy_write_struct(&png, &info);
  if (!ok) throw EInvalidGraphicOperation(std::string("PNG encoding failed: ") + ctx.Error);
  return out;
}
