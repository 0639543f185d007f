#include "platform/image/ImageCodecs.h"

#include "platform/image/BmpCodec.h"
#include "platform/image/GifCodec.h"
#include "platform/image/IconCodec.h"
#include "platform/image/JpegCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"

#include <cstring>

TImageFormat DetectImageFormat(TBytesView d) {
  auto starts = [&](const char* sig, std::size_t n) {
    return d.size() >= n && std::memcmp(d.data(), sig, n) == 0;
  };
  if (starts("\x89PNG\r\n\x1A\n", 8)) return TImageFormat::Png;
  if (starts("\xFF\xD8\xFF", 3)) return TImageFormat::Jpeg;
  if (starts("GIF87a", 6) || starts("GIF89a", 6)) return TImageFormat::Gif;
  if (starts("BM", 2) && d.size() >= 18) return TImageFormat::Bmp;
  // Icon and cursor directories: reserved 0, type 1 or 2, a non-zero image count.
  if (d.size() >= 6 && d[0] == 0 && d[1] == 0 && d[3] == 0 && (d[4] | d[5]) != 0) {
    if (d[2] == 1) return TImageFormat::Ico;
    if (d[2] == 2) return TImageFormat::Cur;
  }
  return TImageFormat::Unknown;
}

const char* ImageFormatExtension(TImageFormat format) {
  switch (format) {
    case TImageFormat::Bmp: return "bmp";
    case TImageFormat::Png: return "png";
    case TImageFormat::Jpeg: return "jpg";
    case TImageFormat::Gif: return "gif";
    case TImageFormat::Ico: return "ico";
    case TImageFormat::Cur: return "cur";
    default: return "";
  }
}

TImageFormat ImageFormatFromExtension(const std::string& extension) {
  std::string e = extension;
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  for (char& c : e)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  if (e == "bmp" || e == "dib") return TImageFormat::Bmp;
  if (e == "png") return TImageFormat::Png;
  if (e == "jpg" || e == "jpeg" || e == "jpe" || e == "jfif") return TImageFormat::Jpeg;
  if (e == "gif") return TImageFormat::Gif;
  if (e == "ico") return TImageFormat::Ico;
  if (e == "cur") return TImageFormat::Cur;
  return TImageFormat::Unknown;
}

TRawImage DecodeImage(TBytesView data) {
  switch (DetectImageFormat(data)) {
    case TImageFormat::Bmp: return DecodeBmp(data);
    case TImageFormat::Png: return DecodePng(data);
    case TImageFormat::Jpeg: return DecodeJpeg(data);
    case TImageFormat::Gif: return DecodeGifFirstFrame(data);
    case TImageFormat::Ico:
    case TImageFormat::Cur: {
      TIconFile icon = DecodeIcon(data);
      return icon.Best().Image;
    }
    default: throw EInvalidGraphic("Unknown picture format");
  }
}
