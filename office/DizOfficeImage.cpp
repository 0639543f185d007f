// DizOfficeImage: drawing and events of the office image.
#include "office/DizOfficeImage.h"

void TDizOfficeImage::Publish(TClassBuilder<TDizOfficeImage>& P) {
  P.Object("Picture", &TDizOfficeImage::Picture, &TDizOfficeImage::SetIPicture)
      .Bool("Center", &TDizOfficeImage::Center, &TDizOfficeImage::SetCenter, true)
      .Object("OfficeHint", &TDizOfficeImage::OfficeHint, &TDizOfficeImage::SetOfficeHint)
      .Str("Version", &TDizOfficeImage::GetVersion, &TDizOfficeImage::SetVersion);
}

TDizOfficeImage::TDizOfficeImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TGDIPPicture>()),
      FOfficeHint(std::make_unique<TDizHintInfo>()) {
  FPicture->OnChange = [this](TObject* Sender) { OnPictureChanged(Sender); };
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetShowHint(false);
  SetBounds(0, 0, 32, 32);
}

TDizOfficeImage::~TDizOfficeImage() { FPicture->OnChange = nullptr; }

void TDizOfficeImage::SetIPicture(TGDIPPicture* Value) {
  FPicture->Assign(Value);
  Invalidate();
}

void TDizOfficeImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}

void TDizOfficeImage::DrawImage(TCanvas* ACanvas) {
  if (!FPicture || FPicture->GetEmpty()) {
    ACanvas->Pen()->SetStyle(psDot);
    ACanvas->Pen()->SetColor(clBlue);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Rectangle(ClientRect());
    return;
  }
  FPicture->GetImageSizes();
  int x = 0, y = 0;
  if (FCenter) {
    x = (Width() - FPicture->GetWidth()) / 2;
    y = (Height() - FPicture->GetHeight()) / 2;
  }
  ACanvas->Draw(x, y, FPicture.get());
}

void TDizOfficeImage::Paint() {
  TGraphicControl::Paint();
  DrawImage(Canvas());
}

void TDizOfficeImage::WndProc(TMessage& Message) {
  // The framework raises OnMouseEnter/OnMouseLeave itself; at design time nothing is raised.
  if ((Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) &&
      ComponentState().Contains(csDesigning)) {
    TNotifyEvent enter = std::move(OnMouseEnter), leave = std::move(OnMouseLeave);
    OnMouseEnter = nullptr;
    OnMouseLeave = nullptr;
    TGraphicControl::WndProc(Message);
    OnMouseEnter = std::move(enter);
    OnMouseLeave = std::move(leave);
    return;
  }
  TGraphicControl::WndProc(Message);
}
