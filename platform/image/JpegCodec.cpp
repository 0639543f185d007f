#include "platform/image/JpegCodec.h"

#include "platform/rtl/Exceptions.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we longjmp
// back to the function that called setjmp. Those functions hold no objects with
// destructors; everything lives in this context in the caller's frame.
struct TJpegContext {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Error[JMSG_LENGTH_MAX] = {};
  bool Truncated = false;
  bool SizeError = false;
  std::int64_t Width = 0, Height = 0;
  TRawImage* Image = nullptr;
  const TRawImage* Source = nullptr;
  std::vector<std::uint8_t>* Row = nullptr;
  unsigned char* OutBuffer = nullptr;
  unsigned long OutSize = 0;
};

void JpegErrorExit(j_common_ptr cinfo) {
  auto* ctx = reinterpret_cast<TJpegContext*>(cinfo->err);
  cinfo->err->format_message(cinfo, ctx->Error);
  std::longjmp(ctx->Jump, 1);
}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
  auto* ctx = reinterpret_cast<TJpegContext*>(cinfo->err);
  // Data ending early is a truncated file; libjpeg would pad it with grey and go on.
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) ctx->Truncated = true;
  if (level < 0) cinfo->err->num_warnings++;
}

void JpegOutputMessage(j_common_ptr) {}

void InitErrors(TJpegContext& ctx) {
  jpeg_std_error(&ctx.Manager);
  ctx.Manager.error_exit = JpegErrorExit;
  ctx.Manager.emit_message = JpegEmitMessage;
  ctx.Manager.output_message = JpegOutputMessage;
}

bool ReadJpeg(jpeg_decompress_struct& cinfo, TBytesView data, TJpegContext& ctx) {
  if (setjmp(ctx.Jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
      cinfo.image_width > JDIMENSION(MaxImageSide) || cinfo.image_height > JDIMENSION(MaxImageSide) ||
      std::uint64_t(cinfo.image_width) * cinfo.image_height > MaxImagePixels) {
    ctx.SizeError = true;
    ctx.Width = cinfo.image_width;
    ctx.Height = cinfo.image_height;
    return false;
  }
  bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 4) ERREXIT(&cinfo, JERR_BAD_J_COLORSPACE);
  *ctx.Image = TRawImage(int(cinfo.output_width), int(cinfo.output_height));
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(ctx.Image->Row(int(cinfo.output_scanline)));
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
    if (ctx.Truncated) return false;
  }
  if (ctx.Truncated) return false;
  jpeg_finish_decompress(&cinfo);
  if (cmyk) {
    // Adobe writes CMYK inverted: each stored value is 255 - ink.
    bool adobe = cinfo.saw_Adobe_marker;
    for (std::uint32_t& p : ctx.Image->Pixels) {
      std::uint8_t* b = reinterpret_cast<std::uint8_t*>(&p);
      unsigned c = b[0], m = b[1], y = b[2], k = b[3];
      if (!adobe) { c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k; }
      p = MakeArgb(255, std::uint8_t(c * k / 255), std::uint8_t(m * k / 255), std::uint8_t(y * k / 255));
    }
  } else {
    for (std::uint32_t& p : ctx.Image->Pixels) p |= 0xFF000000u;
  }
  return true;
}

bool WriteJpeg(jpeg_compress_struct& cinfo, int quality, TJpegContext& ctx) {
  if (setjmp(ctx.Jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &ctx.OutBuffer, &ctx.OutSize);
  const TRawImage& image = *ctx.Source;
  cinfo.image_width = JDIMENSION(image.Width);
  cinfo.image_height = JDIMENSION(image.Height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(image.Row(int(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

TRawImage DecodeJpeg(TBytesView data) {
  if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
    RaiseInvalidImage("JPEG", "bad signature");
  TRawImage image;
  TJpegContext ctx;
  ctx.Image = &image;
  InitErrors(ctx);
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = &ctx.Manager;
  bool ok = ReadJpeg(cinfo, data, ctx);
  jpeg_destroy_decompress(&cinfo);
  if (ctx.SizeError) CheckImageSize("JPEG", ctx.Width, ctx.Height);
  if (!ok) RaiseInvalidImage("JPEG", ctx.Truncated ? "premature end of data" : ctx.Error);
  return image;
}

TByteBuffer EncodeJpeg(const TRawImage& image, int quality) {
  if (image.Empty()) throw EInvalidGraphicOperation("Cannot save an empty image as JPEG");
  if (quality < 1) quality = 1;
  if (quality > 100) quality = 100;
  TJpegContext ctx;
  ctx.Source = &image;
  InitErrors(ctx);
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  cinfo.err = &ctx.Manager;
  bool ok = WriteJpeg(cinfo, quality, ctx);
  jpeg_destroy_compress(&cinfo);
  TByteBuffer out;
  if (ok && ctx.OutBuffer) out.assign(ctx.OutBuffer, ctx.OutBuffer + ctx.OutSize);
  std::free(ctx.OutBuffer);
  if (!ok) throw EInvalidGraphicOperation(std::string("JPEG encoding failed: ") + ctx.Error);
  return out;
}
