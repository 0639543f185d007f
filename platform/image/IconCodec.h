#pragma once
// Windows icons (.ico) and cursors (.cur), our own reader and writer: the directory of
// images, each either a BMP-style DIB with its AND mask or an embedded PNG; cursors
// carry a hot spot per image.
#include "platform/image/RawImage.h"

struct TIconEntry {
  TRawImage Image;
  int BitCount = 32;      // colour depth of the stored image (PNG entries report 32)
  bool Png = false;       // stored as PNG inside the file
  int HotSpotX = 0;       // cursors only
  int HotSpotY = 0;
};

struct TIconFile {
  bool Cursor = false;
  std::vector<TIconEntry> Entries;
  // The entry closest to the wanted size (ties broken by greater colour depth); with
  // size 0 the largest, deepest entry. Raises when empty.
  const TIconEntry& Best(int width = 0, int height = 0) const;
};

TIconFile DecodeIcon(TBytesView data);  // .ico and .cur alike
// Writes an icon or cursor file. Images of 256 pixels or more a side are stored as PNG,
// the others as 32-bit DIBs with an AND mask.
TByteBuffer EncodeIcon(const TIconFile& icon);
