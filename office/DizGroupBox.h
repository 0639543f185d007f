#pragma once
// DizGroupBox: a container that draws a frame (none, single or double; square or rounded
// corners) with a caption block (image and text) cut into it at one of six positions,
// and can show its parent's background through its surface. Children aligned inside stay
// within the frame and clear of the caption.
#include <cstdint>
#include <string>

#include "platform/vcl/Graphics.h"
#include "platform/vcl/StdCtrls.h"

namespace DizGroupBox {
enum TBorderStyle { bsNone, bsSingle, bsDouble };
enum TCaptionPosition { cpTopLeft, cpTopRight, cpTopCenter, cpBottomLeft, cpBottomRight, cpBottomCenter };
}  // namespace DizGroupBox

class TDizCustomGroupBox : public TCustomGroupBox {
  LORM_PUBLISHED(TDizCustomGroupBox, TCustomGroupBox)
public:
  explicit TDizCustomGroupBox(TComponent* AOwner);

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  DizGroupBox::TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(DizGroupBox::TBorderStyle Value);
  DizGroupBox::TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
  void SetCaptionPosition(DizGroupBox::TCaptionPosition Value);
  TCustomImageList* Images() const { return FImages; }
  // None also sets ImageIndex to -1.
  virtual void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool RoundEdges() const { return FRoundEdges; }
  void SetRoundEdges(bool Value);
  uint32_t GetVersionNr() const { return 0x01000002; }
  std::string GetVersion() const { return "1.0.0.2"; }
  void SetVersion(const std::string&) {}

  // bsNone 1; bsSingle 1 (2 with Ctl3D); bsDouble 2 (4 with Ctl3D).
  int GetBorderWidth() const;
  // The caption block (image, gap, text) in control coordinates.
  TRect GetCaptionRect();
  int GetCaptionHeight();
  TRect GetBorderRect();
  void AdjustClientRect(TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
  void Paint() override;
  bool IsTopPosition() const { return FCaptionPosition <= DizGroupBox::cpTopCenter; }
  bool HasCaptionOrImage() const;
  void LookChanged(bool Realign);

  TColor FBorderColor = clSilver;
  DizGroupBox::TBorderStyle FBorderStyle = DizGroupBox::bsSingle;
  DizGroupBox::TCaptionPosition FCaptionPosition = DizGroupBox::cpTopLeft;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  bool FTransparent = true;
  bool FRoundEdges = false;
};

class TDizGroupBox : public TDizCustomGroupBox {
  LORM_PUBLISHED(TDizGroupBox, TDizCustomGroupBox)
public:
  explicit TDizGroupBox(TComponent* AOwner) : TDizCustomGroupBox(AOwner) {}
};
