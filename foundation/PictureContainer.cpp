// PictureContainer: the mark-up picture, its image control, the picture cache and the
// named picture container.
#include "foundation/PictureContainer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gdi/DeviceContext.h"
#include "platform/image/GifCodec.h"
#include "platform/image/ImageCodecs.h"
#include "platform/image/Resources.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Filer.h"

void THTMLPicture::Publish(TClassBuilder<THTMLPicture>& P) {
  P.Bool("Stretch", &THTMLPicture::GetStretched, &THTMLPicture::SetStretched, false)
      .Int("Frame", &THTMLPicture::GetFrame, &THTMLPicture::SetFrame, 1)
      .Event("OnFrameChange", &THTMLPicture::OnFrameChange);
}

namespace {

constexpr int kHimetricPerInch = 2540;

// a × b / c rounded to the nearest integer, as the platform's multiply-divide does.
int MulDivRound(long long a, long long b, long long c) {
  if (c == 0) return 0;
  long long n = a * b;
  long long q = (n >= 0 ? n + c / 2 : n - c / 2) / c;
  return int(q);
}

std::uint16_t Word(const std::vector<std::uint8_t>& d, std::size_t p) {
  return p + 1 < d.size() ? std::uint16_t(d[p] | (d[p + 1] << 8)) : 0;
}

bool IsGifBytes(const std::vector<std::uint8_t>& d) {
  return d.size() > 4 && std::memcmp(d.data(), "GIF8", 4) == 0;
}

// A frame's graphic control block followed by its image descriptor at p.
bool FrameAt(const std::vector<std::uint8_t>& d, std::size_t p) {
  return p + 9 < d.size() && d[p] == 0x21 && d[p + 1] == 0xF9 && d[p + 2] == 0x04 && d[p + 8] == 0x2C;
}

std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// The part of a decoded frame that the frame itself covers.
TRawImage Crop(const TRawImage& image, int left, int top, int width, int height) {
  left = std::clamp(left, 0, image.Width);
  top = std::clamp(top, 0, image.Height);
  width = std::clamp(width, 0, image.Width - left);
  height = std::clamp(height, 0, image.Height - top);
  if (width == image.Width && height == image.Height) return image;
  TRawImage out(width, height);
  for (int y = 0; y < height; ++y)
    std::memcpy(out.Row(y), image.Row(top + y) + left, std::size_t(width) * 4);
  return out;
}

}  // namespace

// ---- THTMLPicture ---------------------------------------------------------------------------

void THTMLPicture::DropPicture() {
  FDecoded = false;
  FImage = TRawImage();
  FHimetricWidth = FHimetricHeight = 0;
}

void THTMLPicture::ResetAnimation() {
  FFrame = 1;
  FFrameCount = -1;
  FNextChange = -1;
  FStepCounter = -1;
}

void THTMLPicture::LoadPicture() {
  const std::vector<std::uint8_t>& d = FDataStream.Data();
  FDataStream.SetPosition(0);
  FrameLeft = FrameTop = ScreenWidth = ScreenHeight = 0;
  DropPicture();
  TRawImage image;
  try {
    if (IsGifBytes(d) && GetFrameCount() >= 1) {
      ScreenWidth = Word(d, 6);
      ScreenHeight = Word(d, 8);
      // The frames before the wanted one are left out, so the first frame the decoder
      // meets is the wanted one.
      std::vector<std::uint8_t> scratch;
      scratch.reserve(d.size());
      int i = 1;
      bool skip = false;
      int frameWidth = 0, frameHeight = 0;
      for (std::size_t p = 0; p < d.size(); ++p) {
        if (d[p] == 0x21 && FrameAt(d, p)) {
          if (FFrame == i) {
            FrameLeft = Word(d, p + 9);
            FrameTop = Word(d, p + 11);
            frameWidth = Word(d, p + 13);
            frameHeight = Word(d, p + 15);
          }
          ++i;
          skip = FFrame >= i;
        }
        if (!skip) scratch.push_back(d[p]);
      }
      image = DecodeGifFirstFrame(TBytesView(scratch.data(), scratch.size()));
      if (frameWidth > 0 && frameHeight > 0) image = Crop(image, FrameLeft, FrameTop, frameWidth, frameHeight);
    } else {
      image = DecodeImage(TBytesView(d.data(), d.size()));
    }
  } catch (const std::bad_alloc&) {
    throw Exception("Could not allocate memory for image");
  } catch (const Exception&) {
    throw Exception("Could not load image. Invalid format");
  }
  if (image.Empty()) throw Exception("Could not load image");
  FImage = std::move(image);
  FHimetricWidth = MulDivRound(FImage.Width, kHimetricPerInch, 96);
  FHimetricHeight = MulDivRound(FImage.Height, kHimetricPerInch, 96);
  FDecoded = true;
}

int THTMLPicture::GetWidth() const {
  return FDecoded ? MulDivRound(FHimetricWidth, PixelsPerInchX, kHimetricPerInch) : 0;
}

int THTMLPicture::GetHeight() const {
  return FDecoded ? MulDivRound(FHimetricHeight, PixelsPerInchY, kHimetricPerInch) : 0;
}

int THTMLPicture::GetMaxWidth() const {
  if (!FDecoded) return 0;
  return ScreenWidth ? ScreenWidth : GetWidth();
}

int THTMLPicture::GetMaxHeight() const {
  if (!FDecoded) return 0;
  return ScreenHeight ? ScreenHeight : GetHeight();
}

void THTMLPicture::Draw(TCanvas* ACanvas, const TRect& R) {
  if (!ACanvas || FIsEmpty || !FDecoded) return;
  if (FStretch) {
    DrawRawImage(ACanvas, R, FImage);
    return;
  }
  HDC dc = ACanvas->GetHandle();
  const int px = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
  const int py = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  const int w = MulDivRound(FHimetricWidth, px ? px : 96, kHimetricPerInch);
  const int h = MulDivRound(FHimetricHeight, py ? py : 96, kHimetricPerInch);
  DrawRawImage(ACanvas, TRect{R.Left, R.Top, R.Left + w, R.Top + h}, FImage);
}

void THTMLPicture::SetBytes(TStream& Stream) {
  Stream.SetPosition(0);
  FDataStream.LoadFromStream(Stream);
  FIsEmpty = false;
  ResetAnimation();
}

void THTMLPicture::LoadFromFile(const std::string& FileName) {
  try {
    TMemoryStream bytes;
    bytes.LoadFromFile(FileName);
    SetBytes(bytes);
    LoadPicture();
    Changed();
  } catch (...) {
    FDataStream.Clear();
    FIsEmpty = true;
    DropPicture();
    ResetAnimation();
  }
}

void THTMLPicture::LoadFromStream(TStream& Stream) {
  SetBytes(Stream);
  LoadPicture();
  Changed();
}

void THTMLPicture::LoadFromStream(TStream* Stream) {
  if (Stream) LoadFromStream(*Stream);
}

void THTMLPicture::SaveToStream(TStream& Stream) {
  const auto& d = FDataStream.Data();
  if (!d.empty()) Stream.WriteBuffer(d.data(), int64_t(d.size()));
}

void THTMLPicture::SaveToStream(TStream* Stream) {
  if (Stream) SaveToStream(*Stream);
}

void THTMLPicture::ReadData(TStream& Stream) {
  SetBytes(Stream);
  LoadPicture();
}

void THTMLPicture::WriteData(TStream& Stream) { SaveToStream(Stream); }

void THTMLPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !FIsEmpty);
}

void THTMLPicture::LoadFromResourceName(const void*, const std::string& Name) {
  const std::optional<TBytesView> data = FindResourceData(RT_RCDATA, Name);
  if (!data) return;
  TMemoryStream stream;
  if (!data->empty()) stream.WriteBuffer(data->data(), int64_t(data->size()));
  LoadFromStream(stream);
}

void THTMLPicture::LoadFromResourceID(const void*, int ResID) {
  const TBytesView data = GetResourceData(RT_RCDATA, ResID);
  TMemoryStream stream;
  if (!data.empty()) stream.WriteBuffer(data.data(), int64_t(data.size()));
  LoadFromStream(stream);
}

void THTMLPicture::LoadFromURL(const std::string& URL) {
  const std::string upper = AsciiUpper(URL);
  if (upper.rfind("RES://", 0) == 0) {
    SourceName = URL;
    if (URL.size() > 6) LoadFromResourceName(nullptr, URL.substr(6));
  } else if (upper.rfind("FILE://", 0) == 0) {
    SourceName = URL;
    if (URL.size() > 7) LoadFromFile(URL.substr(7));
  } else if (!AsyncDownload) {
    PendingURL = URL;
    SourceName = URL;
  } else if (!DownloadBusy) {
    // Downloads are reserved: the address is remembered and nothing is fetched.
    PendingURL = URL;
    DownloadBusy = true;
  }
}

void THTMLPicture::Assign(TPersistent* Source) {
  FIsEmpty = true;
  DropPicture();
  ResetAnimation();
  if (!Source) {
    FDataStream.Clear();
    return;
  }
  auto* picture = dynamic_cast<THTMLPicture*>(Source);
  if (!picture) return;
  if (picture != this) {
    FStretch = picture->FStretch;
    SourceName = picture->SourceName;
    TMemoryStream copy;
    const auto& bytes = picture->FDataStream.Data();
    if (!bytes.empty()) copy.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    copy.SetPosition(0);
    FDataStream.LoadFromStream(copy);
    FFrame = picture->FFrame;
  }
  FIsEmpty = false;
  LoadPicture();
  Changed();
}

void THTMLPicture::SetFrame(int Value) {
  FFrame = Value;
  if (FDataStream.Size() > 0) {
    LoadPicture();
    if (OnFrameChange) OnFrameChange(this);
  }
}

bool THTMLPicture::IsGIFFile() const { return IsGifBytes(FDataStream.Data()); }

int THTMLPicture::GetFrameCount() {
  if (FFrameCount != -1) return FFrameCount;
  const auto& d = FDataStream.Data();
  if (!IsGifBytes(d)) return -1;
  int n = 0;
  for (std::size_t p = 0; p + 9 < d.size(); ++p)
    if (FrameAt(d, p)) ++n;
  FFrameCount = n;
  return n;
}

int THTMLPicture::GetFrameTime(int N) const {
  const auto& d = FDataStream.Data();
  if (!IsGifBytes(d) || N < 1) return -1;
  int n = 0;
  for (std::size_t p = 0; p + 9 < d.size(); ++p)
    if (FrameAt(d, p) && ++n == N) return Word(d, p + 4);
  return -1;
}

void THTMLPicture::FrameNext() { FFrame = FFrame < FFrameCount ? FFrame + 1 : 1; }

void THTMLPicture::FramePrev() { FFrame = FFrame > 1 ? FFrame - 1 : std::max(FFrameCount, 1); }

bool THTMLPicture::Step() {
  if (FFrameCount < 2 || FIsEmpty) return false;
  bool changed = false;
  if (FNextChange == -1) FNextChange = GetFrameTime(FFrame);
  if (FStepCounter * 10 >= FNextChange) {
    FrameNext();
    LoadPicture();
    FNextChange += std::max(GetFrameTime(FFrame), 0);
    changed = true;
  }
  ++FStepCounter;
  return changed;
}

void THTMLPicture::DownLoadCancel(bool& Cancel) {
  if (OnDownLoadCancel) OnDownLoadCancel(this, Cancel);
}
void THTMLPicture::DownLoadComplete() {
  if (OnDownLoadComplete) OnDownLoadComplete(this);
}
void THTMLPicture::DownLoadError(int Err) {
  if (OnDownLoadError) OnDownLoadError(this, Err);
}
void THTMLPicture::DownLoadProgress(std::uint32_t Size, std::uint32_t TotalSize) {
  if (OnDownLoadProgress) OnDownLoadProgress(this, Size, TotalSize);
}

// ---- THTMLPictureCache ---------------------------------------------------------------------

THTMLPicture* THTMLPictureCache::AddPicture() {
  FItems.push_back(TEntry{std::make_unique<THTMLPicture>(), ++FClock, false});
  return FItems.back().Picture.get();
}

THTMLPicture* AddMarkupPicture(THTMLPictureCache& Cache) {
  auto& items = Cache.FItems;
  int fromMarkup = 0;
  for (const auto& e : items) fromMarkup += e.FromMarkup;
  if (fromMarkup >= THTMLPictureCache::kMarkupPictureLimit) {
    auto oldest = items.end();
    for (auto it = items.begin(); it != items.end(); ++it)
      if (it->FromMarkup && (oldest == items.end() || it->LastUse < oldest->LastUse)) oldest = it;
    if (oldest != items.end()) items.erase(oldest);
  }
  items.push_back(THTMLPictureCache::TEntry{std::make_unique<THTMLPicture>(), ++Cache.FClock, true});
  return items.back().Picture.get();
}

THTMLPicture* THTMLPictureCache::FindPicture(const std::string& ID) {
  for (auto& e : FItems)
    if (e.Picture->SourceName == ID) {
      e.LastUse = ++FClock;
      return e.Picture.get();
    }
  return nullptr;
}

THTMLPicture* THTMLPictureCache::GetPicture(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[std::size_t(Index)].Picture.get();
}

void THTMLPictureCache::SetPicture(int Index, THTMLPicture* Value) {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  TEntry& e = FItems[std::size_t(Index)];
  if (e.Picture.get() == Value) return;
  e.Picture.reset(Value);
  e.FromMarkup = false;
}

void THTMLPictureCache::ClearPictures() { FItems.clear(); }

bool THTMLPictureCache::Animate() {
  bool changed = false;
  for (auto& e : FItems)
    if (e.Picture->Step()) changed = true;
  return changed;
}

// ---- TPictureItem, TPictureCollection, TPictureContainer -----------------------------------

void TPictureItem::Publish(TClassBuilder<TPictureItem>& P) {
  P.Object("Picture", &TPictureItem::Picture, &TPictureItem::SetPicture)
      .Str("Name", &TPictureItem::Name, &TPictureItem::Name)
      .Int("Tag", &TPictureItem::Tag, &TPictureItem::Tag, 0);
}

TPictureItem::TPictureItem(TCollection* Collection)
    : TCollectionItem(Collection), FPicture(std::make_unique<THTMLPicture>()) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TPictureItem*>(Source);
  if (!item) throw EInvalidCast("Invalid class typecast");
  if (item == this) return;
  Name = item->Name;
  Tag = item->Tag;
  FPicture->Assign(item->FPicture.get());
}

TPictureCollection::TPictureCollection(TPersistent* AOwner)
    : TOwnedCollection(AOwner, ItemClassOf<TPictureItem>()) {}

bool TPictureCollection::Animate() {
  bool changed = false;
  for (int i = 0; i < Count(); ++i)
    if (GetItem(i)->Picture()->Step()) changed = true;
  return changed;
}

void TPictureContainer::Publish(TClassBuilder<TPictureContainer>& P) {
  P.Object("Items", &TPictureContainer::Items, &TPictureContainer::SetItems)
      .Str("Version", &TPictureContainer::GetVersion, &TPictureContainer::SetVersion);
}

TPictureContainer::TPictureContainer(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TPictureCollection>(this)) {
  FItems->SetPropName("Items");
}

TPictureContainer::~TPictureContainer() = default;

void TPictureContainer::SetItems(TPictureCollection* Value) {
  if (Value && Value != FItems.get()) FItems->Assign(Value);
}

THTMLPicture* TPictureContainer::FindPicture(const std::string& Name) {
  const std::string key = AsciiUpper(Name);
  for (int i = 0; i < FItems->Count(); ++i) {
    TPictureItem* item = FItems->GetItem(i);
    if (AsciiUpper(item->Name) == key) return item->Picture();
  }
  return nullptr;
}

// ---- THTMLImage ----------------------------------------------------------------------------

void THTMLImage::Publish(TClassBuilder<THTMLImage>& P) {
  P.Object("HTMLPicture", &THTMLImage::HTMLPicture, &THTMLImage::SetHTMLPicture);
}

THTMLImage::THTMLImage(TComponent* AOwner) : TGraphicControl(AOwner), FHTMLPicture(std::make_unique<THTMLPicture>()) {
  SetBounds(Left(), Top(), 100, 100);
  FHTMLPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  FHTMLPicture->OnDownLoadError = [this](TObject*, int err) {
    if (OnDownLoadError) OnDownLoadError(this, err);
  };
  FHTMLPicture->OnDownLoadComplete = [this](TObject*) {
    if (OnDownLoadComplete) OnDownLoadComplete(this);
  };
  FHTMLPicture->OnDownLoadCancel = [this](TObject*, bool& cancel) {
    if (OnDownLoadCancel) OnDownLoadCancel(this, cancel);
  };
  FHTMLPicture->OnDownLoadProgress = [this](TObject*, std::uint32_t size, std::uint32_t total) {
    if (OnDownLoadProgress) OnDownLoadProgress(this, size, total);
  };
}

THTMLImage::~THTMLImage() { FHTMLPicture->OnChange = nullptr; }

void THTMLImage::SetHTMLPicture(THTMLPicture* Value) {
  FHTMLPicture->Assign(Value);
  Invalidate();
}

void THTMLImage::SetPicturePosition(TPicturePosition Value) {
  if (FPicturePosition == Value) return;
  FPicturePosition = Value;
  Invalidate();
}

void THTMLImage::PictureChanged(TObject*) { Invalidate(); }

void THTMLImage::Loaded() {
  TGraphicControl::Loaded();
  HDC dc = Canvas() ? Canvas()->GetHandle() : nullptr;
  if (dc) {
    FHTMLPicture->PixelsPerInchX = GetDeviceCaps(dc, LOGPIXELSX);
    FHTMLPicture->PixelsPerInchY = GetDeviceCaps(dc, LOGPIXELSY);
  }
}

void THTMLImage::Paint() {
  TGraphicControl::Paint();
  THTMLPicture* p = FHTMLPicture.get();
  if (p->GetEmpty()) return;
  const int w = p->GetWidth(), h = p->GetHeight();
  const int W = Width(), H = Height();
  TCanvas* c = Canvas();
  auto drawAt = [&](int x, int y) { p->Draw(c, TRect{x, y, x + w, y + h}); };
  switch (FPicturePosition) {
    case bpTopLeft: drawAt(0, 0); break;
    case bpTopRight: drawAt(std::max(0, W - w), 0); break;
    case bpBottomLeft: drawAt(0, std::max(0, H - h)); break;
    case bpBottomRight: drawAt(std::max(0, W - w), std::max(0, H - h)); break;
    case bpCenter: drawAt(std::max(0, W - w) / 2, std::max(0, H - h) / 2); break;
    case bpTiled:
      if (w <= 0 || h <= 0) break;
      for (int y = 0; y < H; y += h)
        for (int x = 0; x < W; x += w) drawAt(x, y);
      break;
    case bpStretched: {
      const bool stretch = p->GetStretched();
      p->SetStretched(true);
      p->Draw(c, TRect{0, 0, W, H});
      p->SetStretched(stretch);
      break;
    }
  }
}
