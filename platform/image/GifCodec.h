#pragma once
// GIF through giflib: every frame is composed onto the logical screen according to the
// previous frames' disposal, with its delay, disposal and transparent index; the
// NETSCAPE2.0 loop count is read. Fully transparent where nothing was drawn yet.
#include "platform/image/RawImage.h"

TAnimatedImage DecodeGif(TBytesView data);
// The first frame only (what a still picture of the file shows).
TRawImage DecodeGifFirstFrame(TBytesView data);
