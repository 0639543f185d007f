#include "platform/image/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

struct TGifInput {
  TBytesView Data;
  std::size_t Pos = 0;
};

int GifRead(GifFileType* gif, GifByteType* out, int length) {
  auto* in = static_cast<TGifInput*>(gif->UserData);
  if (length <= 0) return 0;
  std::size_t n = std::min<std::size_t>(std::size_t(length), in->Data.size() - in->Pos);
  std::memcpy(out, in->Data.data() + in->Pos, n);
  in->Pos += n;
  return int(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

[[noreturn]] void Fail(int error) {
  const char* text = GifErrorString(error);
  RaiseInvalidImage("GIF", text ? text : "read error");
}

// Total pixels kept over all composed frames.
constexpr std::uint64_t MaxAnimationPixels = std::uint64_t(1) << 27;

TAnimatedImage Decode(TBytesView data, bool firstOnly) {
  if (data.size() < 6 || (std::memcmp(data.data(), "GIF87a", 6) != 0 &&
                          std::memcmp(data.data(), "GIF89a", 6) != 0))
    RaiseInvalidImage("GIF", "bad signature");
  TGifInput input{data};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&input, GifRead, &error));
  if (!gif) Fail(error);

  TAnimatedImage result;
  CheckImageSize("GIF", gif->SWidth, gif->SHeight);
  result.Width = gif->SWidth;
  result.Height = gif->SHeight;
  TRawImage canvas;  // made with the first frame: a header alone costs no screen of pixels
  std::vector<GifPixelType> raster;
  GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  std::uint64_t keptPixels = 0;
  bool pending = false;
  TFrameDisposal pendingDisposal = TFrameDisposal::Unspecified;
  std::array<int, 4> pendingArea{};

  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) Fail(gif->Error);
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR) Fail(gif->Error);
      bool netscape = false;
      if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4)
        DGifExtensionToGCB(ext[0], ext + 1, &gcb);
      else if (code == APPLICATION_EXT_FUNC_CODE && ext && ext[0] >= 11 &&
               (std::memcmp(ext + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(ext + 1, "ANIMEXTS1.0", 11) == 0))
        netscape = true;
      while (ext) {
        if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) Fail(gif->Error);
        if (netscape && ext && ext[0] >= 3 && ext[1] == 1) result.LoopCount = ext[2] | (ext[3] << 8);
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif->Error);
    const GifImageDesc& desc = gif->Image;
    // A frame's raster is allocated from its announced sides: the screen's pixel cap holds.
    if (desc.Width <= 0 || desc.Height <= 0) RaiseInvalidImage("GIF", "bad frame size");
    CheckImageSize("GIF", desc.Width, desc.Height);
    // LZW codes are 2 bits or more and each gives at most 4096 pixels: a frame larger than
    // the rest of the file could describe is refused before its raster is allocated.
    if (std::uint64_t(desc.Width) * std::uint64_t(desc.Height) >
        (std::uint64_t(data.size() - input.Pos) + 1) * 16384)
      RaiseInvalidImage("GIF", "frame larger than its data");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map) RaiseInvalidImage("GIF", "no colour table");
    const int w = desc.Width, h = desc.Height;
    raster.resize(std::size_t(w) * std::size_t(h));  // every line is read into it: no clearing
    if (desc.Interlace) {
      static const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < h; y += step[pass])
          if (DGifGetLine(gif.get(), &raster[std::size_t(y) * w], w) == GIF_ERROR) Fail(gif->Error);
    } else {
      for (int y = 0; y < h; ++y)
        if (DGifGetLine(gif.get(), &raster[std::size_t(y) * w], w) == GIF_ERROR) Fail(gif->Error);
    }

    TFrameDisposal disposal;
    switch (gcb.DisposalMode) {
      case DISPOSE_DO_NOT: disposal = TFrameDisposal::None; break;
      case DISPOSE_BACKGROUND: disposal = TFrameDisposal::Background; break;
      case DISPOSE_PREVIOUS: disposal = TFrameDisposal::Previous; break;
      default: disposal = TFrameDisposal::Unspecified; break;
    }
    if (pending) {
      // The previous frame's picture after its disposal.
      if (pendingDisposal != TFrameDisposal::Previous) {
        canvas = result.Frames.back().Image;
        auto [px0, py0, px1, py1] = pendingArea;
        if (pendingDisposal == TFrameDisposal::Background && px0 < px1)
          for (int y = py0; y < py1; ++y) std::fill(canvas.Row(y) + px0, canvas.Row(y) + px1, 0u);
      }
      pending = false;
    }
    if (canvas.Empty()) canvas = TRawImage(result.Width, result.Height);
    TRawImage saved;
    if (disposal == TFrameDisposal::Previous) saved = canvas;

    // The frame's colours by index (indices past the table are black), then the frame
    // drawn through them, clipped to the logical screen.
    std::uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
      if (i < map->ColorCount) {
        const GifColorType& c = map->Colors[i];
        colours[i] = MakeArgb(255, c.Red, c.Green, c.Blue);
      } else {
        colours[i] = MakeArgb(255, 0, 0, 0);
      }
    }
    const int x0 = std::max(0, desc.Left), y0 = std::max(0, desc.Top);
    const int x1 = std::min(result.Width, desc.Left + w), y1 = std::min(result.Height, desc.Top + h);
    const int transparent = gcb.TransparentColor;
    for (int y = y0; y < y1; ++y) {
      const GifPixelType* src = &raster[std::size_t(y - desc.Top) * w] - desc.Left;
      std::uint32_t* dst = canvas.Row(y);
      if (transparent < 0 || transparent > 255) {
        for (int x = x0; x < x1; ++x) dst[x] = colours[src[x]];
      } else {
        for (int x = x0; x < x1; ++x)
          if (src[x] != transparent) dst[x] = colours[src[x]];
      }
    }

    keptPixels += canvas.Pixels.size();
    if (keptPixels > MaxAnimationPixels) RaiseInvalidImage("GIF", "too many frames");
    TImageFrame frame;
    // The composed picture moves into the frame; a later frame starts from a copy of it.
    frame.Image = std::move(canvas);
    frame.DelayMs = gcb.DelayTime * 10;
    frame.Disposal = disposal;
    frame.TransparentIndex = gcb.TransparentColor;
    frame.Left = desc.Left;
    frame.Top = desc.Top;
    frame.FrameWidth = w;
    frame.FrameHeight = h;
    result.Frames.push_back(std::move(frame));
    if (firstOnly) return result;
    // What the next frame starts from is made when one comes (the last frame needs none).
    pending = true;
    pendingDisposal = disposal;
    pendingArea = {x0, y0, x1, y1};
    if (disposal == TFrameDisposal::Previous) canvas = std::move(saved);
    gcb = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  }
  if (result.Frames.empty()) RaiseInvalidImage("GIF", "no frames");
  return result;
}

}  // namespace

TAnimatedImage DecodeGif(TBytesView data) { return Decode(data, false); }

TRawImage DecodeGifFirstFrame(TBytesView data) {
  return std::move(Decode(data, true).Frames.front().Image);
}
