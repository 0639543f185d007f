// VxCoreUtils: run-length coding of streams, memory streams and icons on the clipboard,
// and icons at their own stored size.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "label/VxCoreUtils.h"
#include "platform/gdi/Gdi.h"
#include "platform/image/IconCodec.h"
#include "platform/image/PngCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/WinIcon.h"
#include "platform/win/WinResource.h"
#include "platform/win/WinUser.h"

namespace VxCoreUtils {

// --- RLE ---------------------------------------------------------------------------------

void RleCompressTo(TStream& InStream, TStream& OutStream) {
  constexpr int64_t kBlock = 1024;
  uint8_t in[kBlock];
  std::vector<uint8_t> out;
  out.reserve(2 * kBlock);
  InStream.SetPosition(0);
  int64_t count;
  do {
    count = InStream.Read(in, kBlock);
    out.clear();
    for (int64_t i = 0; i < count;) {
      const uint8_t c = in[i];
      int64_t run = 1;
      while (run < 48 && i + run < count && in[i + run] == c) ++run;
      // A short run that touches the end of a full block may go on in the next one:
      // read it again there.
      if (i + run == count && count == kBlock && run >= 2 && run <= 47) {
        InStream.Seek(-run, soCurrent);
        break;
      }
      if (run == 1 && c < 0xC0) {
        out.push_back(c);
      } else {
        out.push_back(static_cast<uint8_t>(0xC0 + run));
        out.push_back(c);
      }
      i += run;
    }
    OutStream.Write(out.data(), static_cast<int64_t>(out.size()));
  } while (count == kBlock);
}

void RleDecompressTo(TStream& InStream, TStream& OutStream) {
  constexpr int64_t kBlock = 1024;
  uint8_t in[kBlock];
  std::vector<uint8_t> out;
  out.reserve(512 * 63);
  InStream.SetPosition(0);
  int64_t count;
  do {
    count = InStream.Read(in, kBlock);
    if (count < 0) count = 0;
    out.clear();
    for (int64_t i = 0; i < count;) {
      const uint8_t b = in[i];
      if (b < 0xC0) {
        out.push_back(b);
        ++i;
      } else if (i + 1 == count) {
        // A control byte whose data byte lies in the next block is read again there;
        // at the very end of the input it stands for nothing.
        if (count == kBlock) InStream.Seek(-1, soCurrent);
        ++i;
      } else {
        out.insert(out.end(), static_cast<std::size_t>(b - 0xC0), in[i + 1]);
        i += 2;
      }
    }
    OutStream.Write(out.data(), static_cast<int64_t>(out.size()));
  } while (count == kBlock);
}

namespace {
void InPlace(TStream& Stream, void (*Code)(TStream&, TStream&)) {
  TMemoryStream tmp;
  Code(Stream, tmp);
  Stream.SetSize(0);
  Stream.SetPosition(0);
  Stream.Write(tmp.Memory(), tmp.Size());
}
}  // namespace

void RleCompress(TStream& Stream) { InPlace(Stream, RleCompressTo); }
void RleDecompress(TStream& Stream) { InPlace(Stream, RleDecompressTo); }

// --- clipboard ------------------------------------------------------------------------------

namespace {
struct ClipboardSession {
  ClipboardSession() {
    if (!OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
  }
  ~ClipboardSession() { CloseClipboard(); }
};

// Hands Size bytes to the clipboard under Format; the block is freed when that fails.
void PutBlock(UINT Format, const void* Data, std::size_t Size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, Size);
  if (!block) throw EOutOfResources("Out of system resources");
  if (void* p = GlobalLock(block)) {
    if (Size) std::memcpy(p, Data, Size);
    GlobalUnlock(block);
  }
  if (!SetClipboardData(Format, block)) {
    GlobalFree(block);
    throw Exception("Cannot set clipboard data");
  }
}

// The whole block of Format, or nothing when the clipboard lacks it.
bool GetBlock(UINT Format, std::vector<uint8_t>& Bytes) {
  if (!IsClipboardFormatAvailable(Format)) return false;
  HANDLE h = GetClipboardData(Format);
  if (!h) return false;
  const void* p = GlobalLock(h);
  if (!p) return false;
  const auto* b = static_cast<const uint8_t*>(p);
  Bytes.assign(b, b + GlobalSize(h));
  GlobalUnlock(h);
  return true;
}
}  // namespace

void MemStreamToClipBoard(TMemoryStream& MemStream, UINT Format) {
  ClipboardSession open;
  EmptyClipboard();
  PutBlock(Format, MemStream.Memory(), static_cast<std::size_t>(MemStream.Size()));
}

void ClipBoardToMemStream(TMemoryStream& MemStream, UINT Format) {
  ClipboardSession open;
  std::vector<uint8_t> bytes;
  if (!GetBlock(Format, bytes)) return;
  MemStream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  MemStream.SetPosition(0);
}

UINT CF_ICON() {
  static const UINT format = RegisterClipboardFormat("Kelvane Icon");
  return format;
}

void CopyIconToClipboard(TIcon* Icon, TColor BackColor) {
  // The picture: the icon at its own size over BackColor; other programs read it as PNG.
  HICON h = CreateRealSizeIcon(Icon);
  int w = 0, hgt = 0;
  GetIconSize(h, w, hgt);
  TBitmap bmp(w, hgt);
  bmp.SetPixelFormat(pf32bit);
  bmp.Canvas()->Brush()->SetColor(BackColor);
  bmp.Canvas()->FillRect(TRect{0, 0, w, hgt});
  DrawIconEx(bmp.Canvas()->GetHandle(), 0, 0, h, w, hgt, 0, nullptr, DI_NORMAL);
  DestroyIcon(h);
  TRawImage raw = bmp.ToRawImage();
  for (uint32_t& px : raw.Pixels) px |= 0xFF000000u;
  const TByteBuffer png = EncodePng(raw);

  TMemoryStream icon;
  Icon->SaveToStream(icon);

  ClipboardSession open;
  EmptyClipboard();
  PutBlock(CF_BITMAP, png.data(), png.size());
  PutBlock(CF_ICON(), icon.Memory(), static_cast<std::size_t>(icon.Size()));
}

void AssignClipboardIcon(TIcon* Icon) {
  std::vector<uint8_t> bytes;
  {
    ClipboardSession open;
    if (!GetBlock(CF_ICON(), bytes)) return;
  }
  // The icon reader checks every count and offset: damaged data raises.
  const TBytesView view(bytes.data(), bytes.size());
  // Every image the directory names must be there: a cut or damaged icon raises.
  const std::size_t named = bytes.size() >= 6 ? static_cast<std::size_t>(bytes[4] | bytes[5] << 8) : 0;
  if (named == 0 || DecodeIcon(view).Entries.size() != named) throw EInvalidGraphic("Icon image is not valid");
  Icon->LoadFromBytes(view);
}

TIcon* CreateIconFromClipboard() {
  if (!IsClipboardFormatAvailable(CF_ICON())) return nullptr;
  auto icon = std::make_unique<TIcon>();
  AssignClipboardIcon(icon.get());
  return icon.release();
}

HICON CreateRealSizeIcon(TIcon* Icon) {
  TMemoryStream s;
  Icon->SaveToStream(s);
  const auto* data = static_cast<const uint8_t*>(s.Memory());
  const std::size_t size = static_cast<std::size_t>(s.Size());
  if (size < 6) throw EInvalidGraphic("Icon image is not valid");
  const int type = data[2] | data[3] << 8;
  if (type == 0) return LoadIcon(nullptr, IDI_APPLICATION);
  if (type != 1) return CopyIcon(Icon->Handle());
  // The platform's reader checks the directory, every size and offset.
  const TIconFile file = DecodeIcon(TBytesView(data, size));
  const std::size_t count = file.Entries.size();
  if (count == 0 || size < 6 + 16 * count) throw EInvalidGraphic("Icon image is not valid");
  // The display's colour count: 2 to the power of its bits, 0 for 24 and 1 for 32 bits.
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  const uint16_t colours = bits == 24 ? 0 : static_cast<uint16_t>(1u << (bits % 32));
  auto colourWord = [&](std::size_t i) { return static_cast<uint16_t>(data[6 + 16 * i + 2] | data[6 + 16 * i + 3] << 8); };
  std::size_t choice = count;
  for (std::size_t i = 0; i < count && choice == count; ++i)
    if (colourWord(i) == colours) choice = i;
  if (choice == count) {
    std::size_t first = count;
    for (std::size_t i = 0; i < count; ++i) {
      if (first == count) {
        if (colourWord(i) <= colours) first = choice = i;
      } else if (colourWord(i) > colourWord(first)) {
        choice = i;
      }
    }
  }
  if (choice == count) choice = 0;
  HICON h = CreateIconFromImage(file.Entries[choice].Image);
  if (!h) throw EOutOfResources("Out of system resources");
  return h;
}

void GetIconSize(HICON Icon, int& Width, int& Height) {
  Width = GetSystemMetrics(SM_CXICON);
  Height = GetSystemMetrics(SM_CYICON);
  ICONINFO info{};
  if (!GetIconInfo(Icon, &info)) return;
  BITMAP bm{};
  if (info.hbmColor && GetObject(info.hbmColor, sizeof bm, &bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight;
  } else if (info.hbmMask && GetObject(info.hbmMask, sizeof bm, &bm)) {
    Width = bm.bmWidth;
    Height = bm.bmHeight / 2;
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
}

void DrawRealSizeIcon(TCanvas* Canvas, TIcon* Icon, int X, int Y) {
  HICON h = CreateRealSizeIcon(Icon);
  struct Destroy {
    HICON H;
    ~Destroy() { DestroyIcon(H); }
  } guard{h};
  int w = 0, hgt = 0;
  GetIconSize(h, w, hgt);
  DrawIconEx(Canvas->GetHandle(), X, Y, h, w, hgt, 0, nullptr, DI_NORMAL);
}

}  // namespace VxCoreUtils
