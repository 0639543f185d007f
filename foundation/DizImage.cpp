// DizImage: TDizImage, a picture kept as its file's bytes.
#include "foundation/DizImage.h"

#include <new>

#include "platform/image/ImageCodecs.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"

void TDizImage::Publish(TClassBuilder<TDizImage>&) {}

namespace {

constexpr int kHimetricPerInch = 2540;

// a × b / c rounded to the nearest integer (the platform's multiply-divide).
int MulDiv(long long a, long long b, long long c) { return c ? int((a * b + c / 2) / c) : 0; }

}  // namespace

void TDizImage::Clear() {
  FDataStream.Clear();
  FIsEmpty = true;
  FImage = TRawImage();
  FHimetricWidth = FHimetricHeight = 0;
}

void TDizImage::LoadPicture() {
  const auto& d = FDataStream.Data();
  TRawImage image;
  try {
    image = DecodeImage(TBytesView(d.data(), d.size()));
  } catch (const std::bad_alloc&) {
    throw Exception("Could not allocate memory for image");
  } catch (const Exception&) {
    throw Exception("Could not load image. Invalid format");
  }
  if (image.Empty()) throw Exception("Could not load image");
  FImage = std::move(image);
  FHimetricWidth = MulDiv(FImage.Width, kHimetricPerInch, 96);
  FHimetricHeight = MulDiv(FImage.Height, kHimetricPerInch, 96);
}

void TDizImage::Load(TStream& Stream, bool notify) {
  Clear();
  Stream.SetPosition(0);
  FDataStream.LoadFromStream(Stream);
  FIsEmpty = false;
  try {
    LoadPicture();
  } catch (...) {
    Clear();
    throw;
  }
  if (notify) Changed();
}

int TDizImage::GetWidth() const {
  return FImage.Empty() ? 0 : MulDiv(FHimetricWidth, LogPixelsX, kHimetricPerInch);
}

int TDizImage::GetHeight() const {
  return FImage.Empty() ? 0 : MulDiv(FHimetricHeight, LogPixelsY, kHimetricPerInch);
}

void TDizImage::Draw(TCanvas* ACanvas, const TRect& R) {
  if (!ACanvas || FIsEmpty || FImage.Empty()) return;
  DrawRawImage(ACanvas, R, FImage);
}

void TDizImage::Assign(TPersistent* Source) {
  auto* image = dynamic_cast<TDizImage*>(Source);
  if (image == this) return;
  Clear();
  if (!Source) {
    Changed();
    return;
  }
  if (!image || image->FIsEmpty) return;
  TMemoryStream copy;
  const auto& bytes = image->FDataStream.Data();
  copy.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  Load(copy, true);
}

void TDizImage::LoadFromStream(TStream& Stream) { Load(Stream, true); }

void TDizImage::LoadFromStream(TStream* Stream) {
  if (Stream) Load(*Stream, true);
}

void TDizImage::LoadFromFile(const std::string& FileName) {
  try {
    TMemoryStream bytes;
    bytes.LoadFromFile(FileName);
    Load(bytes, true);
  } catch (...) {
    Clear();
  }
}

void TDizImage::LoadFromResourceName(const void*, const std::string& Name) {
  const TBytesView data = GetResourceData(RT_RCDATA, Name);
  TMemoryStream stream;
  if (!data.empty()) stream.WriteBuffer(data.data(), int64_t(data.size()));
  LoadFromStream(stream);
}

void TDizImage::LoadFromResourceID(const void*, int ResID) {
  const TBytesView data = GetResourceData(RT_RCDATA, ResID);
  TMemoryStream stream;
  if (!data.empty()) stream.WriteBuffer(data.data(), int64_t(data.size()));
  LoadFromStream(stream);
}

void TDizImage::SaveToStream(TStream& Stream) {
  const auto& d = FDataStream.Data();
  if (!d.empty()) Stream.WriteBuffer(d.data(), int64_t(d.size()));
}

void TDizImage::SaveToStream(TStream* Stream) {
  if (Stream) SaveToStream(*Stream);
}

void TDizImage::ReadData(TStream& Stream) { Load(Stream, false); }

void TDizImage::WriteData(TStream& Stream) { SaveToStream(Stream); }

void TDizImage::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !FIsEmpty);
}
