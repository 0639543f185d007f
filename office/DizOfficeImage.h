#pragma once
// DizOfficeImage: a windowless control showing one picture (kept as its file bytes and
// drawn through GDI+) at its top-left corner or centred, with office hint data.
#include <cstdint>
#include <memory>
#include <string>

#include "foundation/DizHintInfo.h"
#include "foundation/GDIPicture.h"
#include "platform/vcl/Controls.h"

class TDizOfficeImage : public TGraphicControl {
  LORM_PUBLISHED(TDizOfficeImage, TGraphicControl)
public:
  explicit TDizOfficeImage(TComponent* AOwner);
  ~TDizOfficeImage() override;
  void WndProc(TMessage& Message) override;

  TGDIPPicture* Picture() const { return FPicture.get(); }
  // The given picture is copied into the image's own.
  void SetIPicture(TGDIPPicture* Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  TDizHintInfo* OfficeHint() const { return FOfficeHint.get(); }
  void SetOfficeHint(TDizHintInfo* Value) { FOfficeHint->Assign(Value); }
  virtual uint32_t GetVersionNr() const { return 0x01000200; }
  std::string GetVersion() const { return "1.0.2.0"; }
  void SetVersion(const std::string&) {}

  // Draws the picture (or, without one, a dotted blue frame round the client area).
  virtual void DrawImage(TCanvas* ACanvas);

protected:
  void Paint() override;

private:
  void OnPictureChanged(TObject* Sender) { Invalidate(); }
  std::unique_ptr<TGDIPPicture> FPicture;
  std::unique_ptr<TDizHintInfo> FOfficeHint;
  bool FCenter = true;
};
