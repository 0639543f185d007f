// StdCtrls, part 4: the windowed static text (TCustomStaticText, TStaticText). The rest of
// the unit is in StdCtrls.cpp, StdCtrlsButtons.cpp and StdCtrlsScroll.cpp.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/StdCtrls.h"

namespace {
const TEnumInfo* StaticAlignmentNames() {
  static const TEnumInfo* names = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return names;
}
const TEnumInfo* StaticBorderNames() {
  static const TEnumInfo* names = RegisterEnum("TStaticBorderStyle", {"sbsNone", "sbsSingle", "sbsSunken"});
  return names;
}
UINT AlignmentFlags(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}
}  // namespace

void TCustomStaticText::Publish(TClassBuilder<TCustomStaticText>& P) {
  P.Enum("Alignment", StaticAlignmentNames(), &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment,
         taLeftJustify)
      .Enum("BorderStyle", StaticBorderNames(), &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle,
            sbsNone)
      .Bool("ShowAccelChar", &TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar, true);
}
void TStaticText::Publish(TClassBuilder<TStaticText>& P) { (void)P; }

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
  FAutoSize = true;
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED) {
    AdjustBounds();
    Invalidate();
  }
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  HDC dc = c->GetHandle();
  if (!dc) return;
  SelectObject(dc, Font()->GetHandle());
  RECT r{0, 0, 0, 0};
  std::string text = Caption().empty() ? std::string(" ") : Caption();
  DrawTextUtf8(dc, text, &r, DT_SINGLELINE | DT_CALCRECT | (FShowAccelChar ? 0 : DT_NOPREFIX));
  const int border = FBorderStyle == sbsNone ? 0 : FBorderStyle == sbsSingle ? 1 : 2;
  SetBounds(Left(), Top(), r.right + 2 * border, r.bottom + 2 * border);
}

void TCustomStaticText::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->GetHandle();
  RECT r{0, 0, Width(), Height()};
  c->Brush()->SetColor(Color());
  c->FillRect(TRect{0, 0, Width(), Height()});
  if (FBorderStyle == sbsSingle) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(TRect{0, 0, Width(), Height()});
    r = RECT{1, 1, Width() - 1, Height() - 1};
  } else if (FBorderStyle == sbsSunken) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  c->Font()->Assign(Font());
  SelectObject(dc, Font()->GetHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Enabled() ? Font()->GetColor() : clGrayText));
  DrawTextUtf8(dc, Caption(), &r, DT_SINGLELINE | AlignmentFlags(FAlignment) | (FShowAccelChar ? 0 : DT_NOPREFIX));
}
