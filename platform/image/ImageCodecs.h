#pragma once
// Picture formats by signature, and decoding any of them to a still picture.
#include "platform/image/RawImage.h"

#include <string>

enum class TImageFormat { Unknown, Bmp, Png, Jpeg, Gif, Ico, Cur };

// The format of encoded bytes judged by their first bytes (not by a file name).
TImageFormat DetectImageFormat(TBytesView data);
// The usual file extension without the dot ("bmp", "png", "jpg", "gif", "ico", "cur"),
// and the format a file extension names (case-insensitive, with or without the dot).
const char* ImageFormatExtension(TImageFormat format);
TImageFormat ImageFormatFromExtension(const std::string& extension);

// Decodes a picture of any supported format: a GIF gives its first frame, an icon its
// largest, deepest image. Raises EInvalidGraphic for unknown or damaged data.
TRawImage DecodeImage(TBytesView data);
