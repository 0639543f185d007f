#pragma once
// JPEG through libjpeg: baseline and progressive, grey, RGB/YCbCr and CMYK (Adobe
// inverted) decode to opaque 32-bit ARGB. Encoding writes baseline YCbCr at the given
// quality (1..100); alpha is ignored since JPEG has none.
#include "platform/image/RawImage.h"

TRawImage DecodeJpeg(TBytesView data);
TByteBuffer EncodeJpeg(const TRawImage& image, int quality = 90);
