#pragma once
// GDIPicture: TGDIPPicture, the picture of the office-style controls. It keeps an image
// file's bytes unchanged (PNG with transparency, JPEG, GIF, BMP, ICO: whatever GDI+
// decodes), decodes them anew for every drawing pass and remembers only the size. In form
// descriptions it is stored as the binary property "Data", the file's bytes.
#include <cstdint>
#include <string>

#include "foundation/DizGDIP.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/TypInfo.h"

class TGDIPPicture : public TGraphic {
  LORM_PUBLISHED(TGDIPPicture, TGraphic)
public:
  TGDIPPicture() = default;

  // nullptr clears the picture (change notification, then OnClear); a TGDIPPicture's,
  // TBitmap's or TPicture's file image becomes the bytes. Other sources raise
  // EConvertError and leave the picture as it is.
  void Assign(TPersistent* Source) override;
  // Non-BMP images are drawn scaled into R; BMP images at R's top-left at their own size
  // with the framework's automatic transparency.
  void Draw(TCanvas* ACanvas, const TRect& R) override;
  // Draws the picture at its own size on a GDI+ surface; nothing for an empty picture.
  void DrawImage(TGPGraphics* Graphics, int X, int Y);
  // Decodes the bytes to learn the size; true when they decoded.
  bool GetImageSizes();

  bool GetEmpty() const override { return FIsEmpty; }
  int GetWidth() const override { return FWidth; }   // as last decoded
  int GetHeight() const override { return FHeight; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // Swallows every error (the picture is then empty); OnClear, then the change notification.
  void LoadFromFile(const std::string& FileName);
  void LoadFromStream(TStream& Stream) override;
  void LoadFromStream(TStream* Stream);  // nothing for no stream
  void SaveToStream(TStream& Stream) override;
  void SaveToStream(TStream* Stream);    // nothing for no stream
  // The stored form's "Data": the bytes, without computing the size or notifying.
  void ReadData(TStream& Stream);
  void WriteData(TStream& Stream);
  // An RCDATA resource of that name, when there is one.
  void LoadFromResourceName(const void* Instance, const std::string& Name);
  // The RCDATA resource of that number (EResNotFound when missing).
  void LoadFromResourceID(const void* Instance, int ResID);
  // "RES://name" loads a resource, "FILE://path" a file (the prefixes in any case);
  // anything else is left alone.
  void LoadFromURL(const std::string& URL);
  void LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, HPALETTE) {}
  void SaveToClipboardFormat(std::uint16_t&, std::uintptr_t&, HPALETTE&) {}

  TRawImage ToRawImage() const override;
  // The bytes as they are.
  const TMemoryStream& DataStream() const { return FDataStream; }

  TNotifyEvent OnClear;

protected:
  void DefineProperties(TFiler* Filer) override;

private:
  TMemoryStream FDataStream;
  bool FIsEmpty = true;
  int FWidth = 0;
  int FHeight = 0;
};
