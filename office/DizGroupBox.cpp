// DizGroupBox: caption block, frame and child area geometry, and painting.
#include "office/DizGroupBox.h"

#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/win/WinUser.h"

namespace gb = DizGroupBox;

namespace {
const TEnumInfo* BorderStyleNames() {
  static const TEnumInfo* names = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle", "bsDouble"});
  return names;
}
const TEnumInfo* CaptionPositionNames() {
  static const TEnumInfo* names = RegisterEnum(
      "TCaptionPosition", {"cpTopLeft", "cpTopRight", "cpTopCenter", "cpBottomLeft", "cpBottomRight", "cpBottomCenter"});
  return names;
}
}  // namespace

void TDizCustomGroupBox::Publish(TClassBuilder<TDizCustomGroupBox>& P) { (void)P; }

void TDizGroupBox::Publish(TClassBuilder<TDizGroupBox>& P) {
  P.Int("BorderColor", &TDizGroupBox::BorderColor, &TDizGroupBox::SetBorderColor, clSilver)
      .Consts(ColorConsts())
      .Enum("BorderStyle", BorderStyleNames(), &TDizGroupBox::BorderStyle, &TDizGroupBox::SetBorderStyle, gb::bsSingle)
      .Enum("CaptionPosition", CaptionPositionNames(), &TDizGroupBox::CaptionPosition,
            &TDizGroupBox::SetCaptionPosition, gb::cpTopLeft)
      .Component("Images", &TDizGroupBox::Images, &TDizGroupBox::SetImages)
      .Int("ImageIndex", &TDizGroupBox::ImageIndex, &TDizGroupBox::SetImageIndex, -1)
      .Bool("Transparent", &TDizGroupBox::Transparent, &TDizGroupBox::SetTransparent, true)
      .Bool("RoundEdges", &TDizGroupBox::RoundEdges, &TDizGroupBox::SetRoundEdges, false)
      .Str("Version", &TDizGroupBox::GetVersion, &TDizGroupBox::SetVersion)
      .Stored(false);
}

TDizCustomGroupBox::TDizCustomGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  FControlStyle -= csOpaque;
  SetCtl3D(false);
}

void TDizCustomGroupBox::LookChanged(bool Realign) {
  if (Realign) this->Realign();
  Invalidate();
}

void TDizCustomGroupBox::SetBorderColor(TColor Value) {
  if (FBorderColor == Value) return;
  FBorderColor = Value;
  LookChanged(false);
}

void TDizCustomGroupBox::SetBorderStyle(gb::TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  LookChanged(true);
}

void TDizCustomGroupBox::SetCaptionPosition(gb::TCaptionPosition Value) {
  if (FCaptionPosition == Value) return;
  FCaptionPosition = Value;
  LookChanged(true);
}

void TDizCustomGroupBox::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  else FImageIndex = -1;
  LookChanged(true);
}

void TDizCustomGroupBox::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  LookChanged(true);
}

void TDizCustomGroupBox::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  LookChanged(false);
}

void TDizCustomGroupBox::SetRoundEdges(bool Value) {
  if (FRoundEdges == Value) return;
  FRoundEdges = Value;
  LookChanged(false);
}

void TDizCustomGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGroupBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying)) {
    FImages = nullptr;
    FImageIndex = -1;
    LookChanged(true);
  } else if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
  }
}

int TDizCustomGroupBox::GetBorderWidth() const {
  switch (FBorderStyle) {
    case gb::bsNone: return 1;
    case gb::bsSingle: return Ctl3D() ? 2 : 1;
    default: return Ctl3D() ? 4 : 2;
  }
}

bool TDizCustomGroupBox::HasCaptionOrImage() const {
  return !Caption().empty() || (FImages && FImageIndex >= 0);
}

TRect TDizCustomGroupBox::GetCaptionRect() {
  int tw = 0, th = 0;
  if (!Caption().empty()) {
    // Measured on the screen's context: the caption block is needed before the window exists.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->GetHandle());
    RECT r{0, 0, 1000, 100};
    DrawTextUtf8(dc, Caption(), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    tw = r.right - r.left;
    th = r.bottom - r.top;
  }
  int iw = 0, ih = 0;
  if (FImages && FImageIndex >= 0) {
    iw = FImages->GetWidth();
    ih = FImages->GetHeight();
  }
  const int gap = tw > 0 && iw > 0 ? 3 : 0;
  const int w = iw + gap + tw;
  const int h = std::max(ih, th) + 2;
  int left = 8, top = 0;
  switch (FCaptionPosition) {
    case gb::cpTopLeft: break;
    case gb::cpTopRight: left = Width() - 8 - w; break;
    case gb::cpTopCenter: left = (Width() - w) / 2; break;
    case gb::cpBottomLeft: top = Height() - h; break;
    case gb::cpBottomRight:
      left = Width() - 8 - w;
      top = Height() - h;
      break;
    case gb::cpBottomCenter:
      left = (Width() - w) / 2;
      top = Height() - h;
      break;
  }
  return TRect{left, top, left + w, top + h};
}

int TDizCustomGroupBox::GetCaptionHeight() {
  const TRect r = GetCaptionRect();
  return std::max(GetBorderWidth(), r.Bottom - r.Top);
}

TRect TDizCustomGroupBox::GetBorderRect() {
  TRect r = ClientRect();
  if (IsTopPosition()) {
    r.Top += GetCaptionHeight() / 2;
  } else if (HasCaptionOrImage()) {
    r.Bottom -= GetCaptionHeight() / 2;
    if (FBorderStyle == gb::bsDouble) r.Bottom += 1;
  }
  return r;
}

void TDizCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TRect discarded = Rect;
  TCustomGroupBox::AdjustClientRect(discarded);
  const int b = GetBorderWidth();
  const int d = std::max(GetCaptionHeight(), b);
  if (IsTopPosition()) Rect = TRect{Rect.Left + b, Rect.Top + d, Rect.Right - b, Rect.Bottom - b};
  else Rect = TRect{Rect.Left + b, Rect.Top + b, Rect.Right - b, Rect.Bottom - d};
  Rect = TRect{Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
}

void TDizCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->GetHandle();
  if (FTransparent && Parent()) {
    const int saved = SaveDC(dc);
    const TPoint p = Parent()->ScreenToClient(ClientToScreen(TPoint{0, 0}));
    POINT origin{};
    GetWindowOrgEx(dc, &origin);
    SetWindowOrgEx(dc, origin.x + p.X, origin.y + p.Y, nullptr);
    Parent()->Perform(WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    Parent()->Perform(WM_PAINT, WPARAM(dc), 0);
    Parent()->PaintControls(dc, nullptr);
    RestoreDC(dc, saved);
    c->Refresh();
  }
  const TRect cr = GetCaptionRect();
  const int corner = 6;
  TBitmap saved;
  saved.SetSize(std::max(1, cr.Right - cr.Left + 2), std::max(1, cr.Bottom - cr.Top));
  int textLeft = cr.Left;
  if (FImages && FImageIndex >= 0) {
    FImages->Draw(c, cr.Left, cr.Top, FImageIndex, Enabled());
    textLeft = cr.Left + FImages->GetWidth() + 3;
  }
  c->Brush()->SetStyle(bsClear);
  if (!Caption().empty()) {
    c->Font()->Assign(Font());
    TRect tr{textLeft, cr.Top, cr.Right, cr.Bottom};
    std::string text = Caption();
    c->TextRect(tr, text, TTextFormat{tfSingleLine, tfVerticalCenter});
  }
  const TRect area{cr.Left - 1, cr.Top, cr.Right + 1, cr.Bottom};
  saved.Canvas()->CopyRect(TRect{0, 0, area.Right - area.Left, area.Bottom - area.Top}, c, area);

  const TRect f = GetBorderRect();
  auto frame = [&](const TRect& r, TColor color) {
    c->Pen()->SetColor(color);
    c->Brush()->SetStyle(bsClear);
    if (FRoundEdges) c->RoundRect(r.Left, r.Top, r.Right, r.Bottom, corner, corner);
    else c->Rectangle(r);
  };
  switch (FBorderStyle) {
    case gb::bsNone: break;
    case gb::bsSingle: frame(f, FBorderColor); break;
    case gb::bsDouble:
      if (!Ctl3D()) {
        frame(f, FBorderColor);
        frame(TRect{f.Left + 2, f.Top + 2, f.Right - 2, f.Bottom - 2}, FBorderColor);
      } else {
        frame(TRect{f.Left + 1, f.Top + 1, f.Right, f.Bottom}, clWhite);
        frame(TRect{f.Left, f.Top, f.Right - 1, f.Bottom - 1}, clGray);
        frame(TRect{f.Left + 3, f.Top + 3, f.Right - 2, f.Bottom - 2}, clWhite);
        frame(TRect{f.Left + 2, f.Top + 2, f.Right - 3, f.Bottom - 3}, clGray);
      }
      break;
  }
  if (HasCaptionOrImage())
    c->CopyRect(area, saved.Canvas(), TRect{0, 0, area.Right - area.Left, area.Bottom - area.Top});
}
