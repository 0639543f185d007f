#include "foundation/GDIPicture.h"

#include <memory>
#include <new>

#include "platform/image/Resources.h"
#include "platform/vcl/Filer.h"
#include "platform/win/ComStream.h"

void TGDIPPicture::Publish(TClassBuilder<TGDIPPicture>& P) { P.Event("OnClear", &TGDIPPicture::OnClear); }

namespace {

// Releases a COM stream at the end of a scope.
struct TStreamRelease {
  IStream* Stream = nullptr;
  ~TStreamRelease() {
    if (Stream) Stream->Release();
  }
};

// The bytes as a GDI+ image, made from a stream on a movable memory block that holds a
// copy of them (the block goes with the stream); null when there is nothing to decode.
// A decoding failure is no error here: the image only keeps the failure status.
std::unique_ptr<TGPImage> Decode(bool isEmpty, const TMemoryStream& data) {
  if (isEmpty || data.Data().empty()) return nullptr;
  const auto& bytes = data.Data();
  const char* const kNoMemory = "Could not allocate memory for image";
  HGLOBAL block = bytes.size() <= ULONG(-1) ? GlobalAlloc(GMEM_MOVEABLE, bytes.size()) : nullptr;
  if (!block) throw Exception(kNoMemory);
  TStreamRelease stream;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream.Stream)) || !stream.Stream) {
    GlobalFree(block);
    throw Exception(kNoMemory);
  }
  ULONG written = 0;
  if (FAILED(stream.Stream->Write(bytes.data(), ULONG(bytes.size()), &written)) || written != bytes.size())
    throw Exception(kNoMemory);
  try {
    GpImage* native = nullptr;
    const Status status = GdipLoadImageFromStream(stream.Stream, &native);
    if (status == OutOfMemory) throw std::bad_alloc();
    return std::unique_ptr<TGPImage>(new TGPImage(native, status));
  } catch (const std::bad_alloc&) {
    throw Exception(kNoMemory);
  }
}

bool IsBmp(const TMemoryStream& data) {
  const auto& d = data.Data();
  return d.size() >= 2 && d[0] == 'B' && d[1] == 'M';
}

std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

}  // namespace

bool TGDIPPicture::GetImageSizes() {
  std::unique_ptr<TGPImage> image = Decode(FIsEmpty, FDataStream);
  if (!image) return false;
  FWidth = int(image->GetWidth());
  FHeight = int(image->GetHeight());
  return image->GetNativeImage() != nullptr;
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& R) {
  if (!ACanvas) return;
  std::unique_ptr<TGPImage> image = Decode(FIsEmpty, FDataStream);
  if (!image) return;
  if (image->GetFormat() == ifBMP || (!image->GetNativeImage() && IsBmp(FDataStream))) {
    // BMP pictures go through the framework bitmap for its automatic transparency.
    TBitmap bitmap;
    TMemoryStream copy;
    const auto& bytes = FDataStream.Data();
    copy.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    copy.SetPosition(0);
    bitmap.LoadFromStream(copy);
    bitmap.SetTransparentMode(tmAuto);
    bitmap.SetTransparent(true);
    ACanvas->Draw(R.Left, R.Top, &bitmap);
    return;
  }
  TGPGraphics graphics(ACanvas->GetHandle());
  FWidth = int(image->GetWidth());
  FHeight = int(image->GetHeight());
  graphics.DrawImageRect(image.get(), R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, int X, int Y) {
  if (!Graphics) return;
  std::unique_ptr<TGPImage> image = Decode(FIsEmpty, FDataStream);
  if (image) Graphics->DrawImage(image.get(), X, Y);
}

void TGDIPPicture::Assign(TPersistent* Source) {
  if (Source && !dynamic_cast<TGDIPPicture*>(Source) && !dynamic_cast<TBitmap*>(Source) &&
      !dynamic_cast<TPicture*>(Source)) {
    // Unknown sources: the framework asks the source and raises when neither side knows
    // how; the picture stays as it is rather than losing its bytes.
    TGraphic::Assign(Source);
    return;
  }
  FIsEmpty = true;
  if (!Source) {
    FDataStream.Clear();
    Changed();
    if (OnClear) OnClear(this);
    return;
  }
  if (auto* picture = dynamic_cast<TGDIPPicture*>(Source)) {
    if (picture != this) {
      TMemoryStream copy;
      const auto& bytes = picture->FDataStream.Data();
      if (!bytes.empty()) copy.WriteBuffer(bytes.data(), int64_t(bytes.size()));
      FDataStream.LoadFromStream(copy);
    }
    FIsEmpty = FDataStream.Size() == 0;
    Changed();
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
    TMemoryStream image;
    bitmap->SaveToStream(image);
    FDataStream.LoadFromStream(image);
    FIsEmpty = false;
    Changed();
  } else if (auto* holder = dynamic_cast<TPicture*>(Source)) {
    TGraphic* graphic = holder->GetGraphic();
    FDataStream.Clear();
    if (graphic && !graphic->GetEmpty()) {
      TMemoryStream image;
      graphic->SaveToStream(image);
      FDataStream.LoadFromStream(image);
      FIsEmpty = FDataStream.Size() == 0;
    }
    Changed();
  }
  if (!GetImageSizes()) FWidth = FHeight = 0;
}

void TGDIPPicture::LoadFromFile(const std::string& FileName) {
  try {
    FDataStream.LoadFromFile(FileName);
    FIsEmpty = false;
    if (OnClear) OnClear(this);
    GetImageSizes();
    Changed();
  } catch (...) {
    FDataStream.Clear();
    FIsEmpty = true;
    FWidth = FHeight = 0;
  }
}

void TGDIPPicture::LoadFromStream(TStream& Stream) {
  FDataStream.LoadFromStream(Stream);
  FIsEmpty = false;
  GetImageSizes();
  Changed();
}

void TGDIPPicture::LoadFromStream(TStream* Stream) {
  if (Stream) LoadFromStream(*Stream);
}

void TGDIPPicture::SaveToStream(TStream& Stream) { FDataStream.SaveToStream(Stream); }

void TGDIPPicture::SaveToStream(TStream* Stream) {
  if (Stream) SaveToStream(*Stream);
}

void TGDIPPicture::ReadData(TStream& Stream) {
  FDataStream.LoadFromStream(Stream);
  FIsEmpty = false;
}

void TGDIPPicture::WriteData(TStream& Stream) { SaveToStream(Stream); }

void TGDIPPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !FIsEmpty);
}

void TGDIPPicture::LoadFromResourceName(const void*, const std::string& Name) {
  const std::optional<TBytesView> data = FindResourceData(RT_RCDATA, Name);
  if (!data) return;
  TMemoryStream stream;
  if (!data->empty()) stream.WriteBuffer(data->data(), int64_t(data->size()));
  LoadFromStream(stream);
}

void TGDIPPicture::LoadFromResourceID(const void*, int ResID) {
  const TBytesView data = GetResourceData(RT_RCDATA, ResID);
  TMemoryStream stream;
  if (!data.empty()) stream.WriteBuffer(data.data(), int64_t(data.size()));
  LoadFromStream(stream);
}

void TGDIPPicture::LoadFromURL(const std::string& URL) {
  const std::string upper = AsciiUpper(URL);
  if (upper.rfind("RES://", 0) == 0) {
    if (URL.size() > 6) LoadFromResourceName(nullptr, URL.substr(6));
  } else if (upper.rfind("FILE://", 0) == 0) {
    if (URL.size() > 7) LoadFromFile(URL.substr(7));
  }
}

TRawImage TGDIPPicture::ToRawImage() const {
  std::unique_ptr<TGPImage> image = Decode(FIsEmpty, FDataStream);
  if (!image || !image->GetNativeImage()) return {};
  const int w = int(image->GetWidth()), h = int(image->GetHeight());
  if (w <= 0 || h <= 0) return {};
  TRawImage raw(w, h);
  GpRect rect{0, 0, w, h};
  BitmapData locked;
  if (GdipBitmapLockBits(image->GetNativeImage(), &rect, ImageLockModeRead, PixelFormat32bppARGB, &locked) != Ok)
    return {};
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(locked.Scan0) +
                                                            std::ptrdiff_t(y) * locked.Stride);
    std::copy(row, row + w, raw.Row(y));
  }
  GdipBitmapUnlockBits(image->GetNativeImage(), &locked);
  return raw;
}
