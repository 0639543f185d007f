#pragma once
// DizImage: TDizImage, a picture that keeps its file's bytes unchanged (BMP, PNG, JPEG,
// GIF, ICO) and decodes them with our own codecs for drawing. Stored forms keep the bytes
// as the binary property "Data" and write them back as they were read. Sizes are held in
// HIMETRIC units (a decoded pixel counts 2540/96) and reported at 96 pixels per inch.
#include <cstdint>
#include <string>

#include "platform/image/RawImage.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"

class TDizImage : public TGraphic {
  LORM_PUBLISHED(TDizImage, TGraphic)
public:
  TDizImage() = default;
  // nullptr empties the image (OnChange); a non-empty TDizImage is copied and decoded
  // (OnChange). Anything else leaves the image empty, without bytes.
  void Assign(TPersistent* Source) override;
  // Stretched into R; nothing when empty.
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  bool GetEmpty() const override { return FIsEmpty; }
  // HIMETRIC size × 96 / 2540, rounded; 0 without a picture.
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  // A decoding failure raises Exception ("Could not load image. Invalid format") and
  // leaves the image empty, without bytes.
  void LoadFromStream(TStream& Stream) override;
  void LoadFromStream(TStream* Stream);
  // Every error is swallowed and leaves the image empty.
  void LoadFromFile(const std::string& FileName);
  void LoadFromResourceName(const void* Instance, const std::string& Name);
  void LoadFromResourceID(const void* Instance, int ResID);
  void SaveToStream(TStream& Stream) override;
  void SaveToStream(TStream* Stream);
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  void LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, HPALETTE) {}
  void SaveToClipboardFormat(std::uint16_t&, std::uintptr_t&, HPALETTE&) {}
  TRawImage ToRawImage() const override { return FImage; }
  const TMemoryStream& DataStream() const { return FDataStream; }
  int LogPixelsX = 96;
  int LogPixelsY = 96;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  void Load(TStream& Stream, bool notify);
  void LoadPicture();
  void Clear();
  TMemoryStream FDataStream;
  bool FIsEmpty = true;
  TRawImage FImage;
  int FHimetricWidth = 0, FHimetricHeight = 0;
};
