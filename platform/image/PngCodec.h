#pragma once
// PNG through libpng: every colour type and depth decodes to 32-bit straight ARGB
// (palette, grey, 16-bit, tRNS and interlacing handled); encoding writes 8-bit RGBA,
// or RGB when the picture is fully opaque.
#include "platform/image/RawImage.h"

TRawImage DecodePng(TBytesView data);
TByteBuffer EncodePng(const TRawImage& image);
