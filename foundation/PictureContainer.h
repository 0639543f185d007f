#pragma once
// PictureContainer: the pictures that mark-up image tags name.
//
// THTMLPicture keeps an image file's bytes unchanged and decodes them with our own codecs
// (BMP, PNG, JPEG, GIF, ICO). For an animated GIF it shows one frame at a time: the bytes
// of the frames before the wanted one are left out and the first remaining frame is
// decoded, cut to its own rectangle; FrameLeft/FrameTop say where it stands on the
// animation's logical screen. Sizes are kept in HIMETRIC (hundredths of a millimetre, a
// decoded pixel counting 2540/96) and turned into pixels with PixelsPerInchX/Y.
//
// THTMLPictureCache holds the pictures loaded from addresses for one control, keyed by
// their SourceName; TPictureContainer holds pictures under names given by the program.
// Web addresses are never fetched: such a picture only remembers its address.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/image/RawImage.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Component.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

using TDownloadErrorEvent = std::function<void(TObject* Sender, int Err)>;
using TDownloadCompleteEvent = std::function<void(TObject* Sender)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadProgressEvent = std::function<void(TObject* Sender, std::uint32_t Size, std::uint32_t TotalSize)>;

class THTMLPicture : public TGraphic {
  LORM_PUBLISHED(THTMLPicture, TGraphic)
public:
  THTMLPicture() = default;

  // nullptr clears the bytes; a THTMLPicture's bytes, Stretch, Frame and SourceName are
  // copied and decoded. Any other source leaves the picture empty. Frame, frame count and
  // timing start over in every case.
  void Assign(TPersistent* Source) override;
  // Stretch: scaled into R; otherwise at R's top-left at the natural size for the canvas's
  // resolution. Nothing for an empty or undecoded picture.
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  bool GetEmpty() const override { return FIsEmpty; }
  // HIMETRIC size × PixelsPerInch / 2540, rounded; 0 without a decoded picture.
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  // The logical screen of a GIF when it has one, else GetWidth/GetHeight.
  int GetMaxWidth() const;
  int GetMaxHeight() const;

  // Every error is swallowed and leaves the picture empty.
  void LoadFromFile(const std::string& FileName);
  // Decoding errors propagate (Exception "Could not load image. Invalid format").
  void LoadFromStream(TStream& Stream) override;
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream& Stream) override;
  void SaveToStream(TStream* Stream);
  // The stored form's "Data": as LoadFromStream without the change notification.
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  void LoadFromResourceName(const void* Instance, const std::string& Name);
  void LoadFromResourceID(const void* Instance, int ResID);
  // "RES://name" loads a resource and "FILE://path" a file (prefixes in any case); any
  // other address is only remembered in PendingURL and SourceName, never fetched.
  void LoadFromURL(const std::string& URL);
  void LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, HPALETTE) {}
  void SaveToClipboardFormat(std::uint16_t&, std::uintptr_t&, HPALETTE&) {}
  TRawImage ToRawImage() const override { return FImage; }

  bool GetStretched() const { return FStretch; }
  void SetStretched(bool Value) { FStretch = Value; }
  int GetFrame() const { return FFrame; }
  // Shows frame Value (1-based): decoded again when there are bytes, then OnFrameChange.
  void SetFrame(int Value);
  bool IsGIFFile() const;
  // Frames of a GIF (counted once and cached); -1 for other data.
  int GetFrameCount();
  // Delay of frame N in hundredths of a second; -1 when there is no such frame.
  int GetFrameTime(int N) const;
  void FrameNext();
  void FramePrev();
  // One animation step of a tenth of a second; true when the frame changed.
  bool Step();

  void DownLoadCancel(bool& Cancel);
  void DownLoadComplete();
  void DownLoadError(int Err);
  void DownLoadProgress(std::uint32_t Size, std::uint32_t TotalSize);

  const TMemoryStream& DataStream() const { return FDataStream; }
  std::string SourceName;
  std::string PendingURL;
  bool AsyncDownload = true;
  bool DownloadBusy = false;
  int PixelsPerInchX = 96;
  int PixelsPerInchY = 96;
  int FrameLeft = 0, FrameTop = 0;
  int ScreenWidth = 0, ScreenHeight = 0;
  TNotifyEvent OnFrameChange;
  TDownloadErrorEvent OnDownLoadError;
  TDownloadCompleteEvent OnDownLoadComplete;
  TDownloadCancelEvent OnDownLoadCancel;
  TDownloadProgressEvent OnDownLoadProgress;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  // Takes new bytes: the animation starts over at frame 1.
  void SetBytes(TStream& Stream);
  void ResetAnimation();
  void LoadPicture();
  void DropPicture();
  TMemoryStream FDataStream;
  bool FIsEmpty = true;
  bool FDecoded = false;
  TRawImage FImage;
  int FHimetricWidth = 0, FHimetricHeight = 0;
  bool FStretch = false;
  int FFrame = 1;
  int FFrameCount = -1;
  int FNextChange = -1;
  int FStepCounter = -1;
};

// The pictures of one control, owned, keyed by SourceName. Pictures the mark-up engine
// adds for addresses met in text are bounded: past kMarkupPictureLimit the least recently
// used of them is freed. Pictures the program adds stay until cleared.
class THTMLPictureCache {
public:
  static constexpr int kMarkupPictureLimit = 256;
  THTMLPictureCache() = default;
  THTMLPictureCache(const THTMLPictureCache&) = delete;
  THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;
  ~THTMLPictureCache() { ClearPictures(); }

  THTMLPicture* AddPicture();
  // The first picture whose SourceName equals ID exactly; nullptr when none.
  THTMLPicture* FindPicture(const std::string& ID);
  int Count() const { return int(FItems.size()); }
  THTMLPicture* GetPicture(int Index) const;
  // Replaces the entry; the picture it held is freed.
  void SetPicture(int Index, THTMLPicture* Value);
  void ClearPictures();
  // One Step for every picture; true when any changed frame.
  bool Animate();

private:
  friend THTMLPicture* AddMarkupPicture(THTMLPictureCache& Cache);
  struct TEntry {
    std::unique_ptr<THTMLPicture> Picture;
    std::uint64_t LastUse = 0;
    bool FromMarkup = false;
  };
  std::vector<TEntry> FItems;
  std::uint64_t FClock = 0;
};

// Adds a picture on behalf of mark-up text (bounded, least recently used dropped first).
THTMLPicture* AddMarkupPicture(THTMLPictureCache& Cache);

class TPictureItem : public TCollectionItem {
  LORM_PUBLISHED(TPictureItem, TCollectionItem)
public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;
  // Source must be a TPictureItem (EConvertError otherwise): Name, Tag and picture.
  void Assign(TPersistent* Source) override;
  THTMLPicture* Picture() const { return FPicture.get(); }
  void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
  std::string Name;
  int Tag = 0;

private:
  std::unique_ptr<THTMLPicture> FPicture;
};

class TPictureCollection : public TOwnedCollection {
  LORM_CLASS(TPictureCollection, TOwnedCollection)
public:
  explicit TPictureCollection(TPersistent* AOwner);
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
  TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
  TPictureItem* GetItem(int Index) const { return static_cast<TPictureItem*>(Items(Index)); }
  void SetItem(int Index, TPictureItem* Value) { GetItem(Index)->Assign(Value); }
  // One Step for the picture of every item; true when any changed.
  bool Animate();
};

class TPictureContainer : public TComponent {
  LORM_PUBLISHED(TPictureContainer, TComponent)
public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;
  TPictureCollection* Items() const { return FItems.get(); }
  // Copies the items of Value into the owned collection.
  void SetItems(TPictureCollection* Value);
  // The picture of the first item whose name equals Name, ASCII letters compared
  // case-insensitively; nullptr when none.
  virtual THTMLPicture* FindPicture(const std::string& Name);
  std::string GetVersion() const { return "1.0.0.0"; }
  void SetVersion(const std::string&) {}
  int GetVersionNr() const { return 1 << 24; }

private:
  std::unique_ptr<TPictureCollection> FItems;
};

enum TPicturePosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpCenter, bpTiled, bpStretched };

// A graphic control showing one THTMLPicture at a chosen place.
class THTMLImage : public TGraphicControl {
  LORM_PUBLISHED(THTMLImage, TGraphicControl)
public:
  explicit THTMLImage(TComponent* AOwner);
  ~THTMLImage() override;
  THTMLPicture* HTMLPicture() const { return FHTMLPicture.get(); }
  void SetHTMLPicture(THTMLPicture* Value);
  TPicturePosition GetPicturePosition() const { return FPicturePosition; }
  void SetPicturePosition(TPicturePosition Value);
  TDownloadErrorEvent OnDownLoadError;
  TDownloadCompleteEvent OnDownLoadComplete;
  TDownloadCancelEvent OnDownLoadCancel;
  TDownloadProgressEvent OnDownLoadProgress;

protected:
  void Loaded() override;
  void Paint() override;

private:
  void PictureChanged(TObject* Sender);
  std::unique_ptr<THTMLPicture> FHTMLPicture;
  TPicturePosition FPicturePosition = bpTopLeft;
};
