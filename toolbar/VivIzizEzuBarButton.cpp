// Tool bar items: the common item base and the tool bar button (states, groups, drop-down
// part, auto size, images, shade, hot look).
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/ActnList.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuDraw.h"

namespace VivIzizEzu {

namespace {
TRect CalcText(TCanvas* C, const std::string& Text) {
  RECT r{0, 0, 1000, 100};
  DrawText(C->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return TRect{r.left, r.top, r.right, r.bottom};
}

void TextIn(TCanvas* C, const std::string& Text, TRect R, UINT Format) {
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  HDC dc = C->GetHandle();
  // The caption stands on the face: no text background, whatever brush was realized last.
  if (C->Brush()->GetStyle() == bsClear) SetBkMode(dc, TRANSPARENT);
  DrawText(dc, Text.c_str(), static_cast<int>(Text.size()), &r, Format);
}

void Fill(TCanvas* C, TColor From, TColor To, bool Horizontal, const TRect& R) {
  if (From == clNone) return;
  if (To != clNone) {
    DrawGradient(C, From, To, Horizontal, R, 40);
  } else {
    C->Pen()->SetColor(From);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(From);
    C->Rectangle(R);
  }
}

void Outline(TCanvas* C, TColor Color, const TRect& R) {
  if (Color == clNone) return;
  C->Brush()->SetStyle(bsClear);
  C->Pen()->SetColor(Color);
  C->Rectangle(R);
}

// The bitmap drawn with the colour of its bottom-left pixel transparent.
void DrawKeyed(TCanvas* C, int X, int Y, TBitmap* B) {
  if (!B || B->GetEmpty()) return;
  TBitmap copy;
  copy.Assign(B);
  copy.SetTransparentColor(B->Canvas()->GetPixel(0, B->GetHeight() - 1));
  copy.SetTransparent(true);
  C->Draw(X, Y, &copy);
}
}  // namespace

// ---- TDizCustomToolBarControl -------------------------------------------------------------
TDizCustomToolBarControl::TDizCustomToolBarControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

TDizCustomToolBarControl::~TDizCustomToolBarControl() {
  if (FVivIzizEzu) FVivIzizEzu->RemoveControl(this);
  FVivIzizEzu = nullptr;
}

void TDizCustomToolBarControl::SetVivIzizEzu(TDizCustomToolBar* ToolBar) {
  if (ToolBar == FVivIzizEzu) return;
  TDizCustomToolBar* old = FVivIzizEzu;
  TWinControl* oldParent = Parent();
  if (old) old->RemoveControl(this);
  SetParent(ToolBar);
  if (ToolBar && FVivIzizEzu != ToolBar) ToolBar->InsertControl(this);
  if (ToolBar && !FVivIzizEzu) {
    // The tool bar refused it: the control goes back where it was.
    SetParent(oldParent);
    if (old && old == oldParent) old->InsertControl(this);
    throw Exception("VivIzizEzu not set");
  }
}

void TDizCustomToolBarControl::SetPosition(TDockAlign Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarControl::Loaded() {
  TGraphicControl::Loaded();
  if (auto* bar = dynamic_cast<TDizCustomToolBar*>(Parent())) {
    if (FVivIzizEzu != bar) {
      FVivIzizEzu = nullptr;
      SetVivIzizEzu(bar);
    }
  }
}

// ---- draw position --------------------------------------------------------------------------
void TVivIzizEzuButtonDrawPosition::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TVivIzizEzuButtonDrawPosition*>(Source);
  if (!s) return;
  FEnabled = s->FEnabled;
  FTextX = s->FTextX;
  FTextY = s->FTextY;
  FImageX = s->FImageX;
  FImageY = s->FImageY;
}

// ---- TDizCustomToolBarButton --------------------------------------------------------------
TDizCustomToolBarButton::TDizCustomToolBarButton(TComponent* AOwner) : TDizCustomToolBarControl(AOwner) {
  SetBounds(Left(), Top(), 23, 22);
  SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
  FAppearance = std::make_unique<TButtonAppearance>();
  FAppearance->OnChange = [this](TObject*) { Invalidate(); };
  FDrawPosition = std::make_unique<TVivIzizEzuButtonDrawPosition>();
  FDrawPosition->OnChange = [this](TObject*) { Invalidate(); };
  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = [this](TObject* s) { GlyphChanged(s); };
  FGlyphHot = std::make_unique<TBitmap>();
  FGlyphDown = std::make_unique<TBitmap>();
  FGlyphChecked = std::make_unique<TBitmap>();
  FGlyphDisabled = std::make_unique<TBitmap>();
  FShade = std::make_unique<TBitmap>();
  FPicture = std::make_unique<TPicture>();
  FPicture->OnChange = [this](TObject* s) { GlyphChanged(s); };
  FPictureDisabled = std::make_unique<TPicture>();
  FPictureDisabled->OnChange = [this](TObject* s) { GlyphChanged(s); };
  FUnHotTimer = new TTimer(this);
  FUnHotTimer->SetEnabled(false);
  FUnHotTimer->SetInterval(1);
  FUnHotTimer->SetOnTimer([this](TObject* s) { UnHotTimerOnTime(s); });
  FAutoSize = true;
  SetParentFont(true);
  Font()->SetName("Tahoma");
}

TVivIzizEzuButtonActionLink::TVivIzizEzuButtonActionLink(TDizCustomToolBarButton* AClient)
    : TControlActionLink(AClient), FClient(AClient) {
  // A change of the action reaches the button as an action change.
  OnChange = [AClient](TObject* Sender) { AClient->ActionChange(Sender, false); };
}

std::unique_ptr<TControlActionLink> TDizCustomToolBarButton::CreateActionLink() {
  return std::make_unique<TVivIzizEzuButtonActionLink>(this);
}

void TDizCustomToolBarButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TDizCustomToolBarControl::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
    if (CheckDefaults || FGroupIndex == 0) SetGroupIndex(action->GroupIndex());
    SetImageIndex(action->ImageIndex());
  }
}

TDizCustomToolBarButton::~TDizCustomToolBarButton() {
  if (FUnHotTimer) FUnHotTimer->SetEnabled(false);
}

void TDizCustomToolBarButton::GlyphChanged(TObject*) {
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarButton::Loaded() {
  TDizCustomToolBarControl::Loaded();
  if (FDown != FInitialDown) SetDown(FInitialDown);
  if (FShaded) GenerateShade();
  AdjustSize();
}

void TDizCustomToolBarButton::Notification(TComponent* AComponent, TOperation Operation) {
  TDizCustomToolBarControl::Notification(AComponent, Operation);
  if (Operation != opRemove || ComponentState().Contains(csDestroying)) return;
  if (AComponent && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (FVivIzizEzu && AComponent && AComponent == FVivIzizEzu->Images()) SetImageIndex(-1);
}

void TDizCustomToolBarButton::SetParent(TWinControl* AParent) {
  TDizCustomToolBarControl::SetParent(AParent);
  if (auto* container = dynamic_cast<TVivIzizEzuContainer*>(AParent)) FVivIzizEzu = container->VivIzizEzu();
}

TCustomVivIzizEzuStyler* TDizCustomToolBarButton::Styler() const {
  return FVivIzizEzu ? FVivIzizEzu->StylerInForce() : nullptr;
}

int TDizCustomToolBarButton::GetIndex() const {
  return FVivIzizEzu ? FVivIzizEzu->IndexOfToolBarControl(const_cast<TDizCustomToolBarButton*>(this)) : -1;
}

void TDizCustomToolBarButton::ImageSource(TCustomImageList*& List, int& Index) const {
  List = FVivIzizEzu ? FVivIzizEzu->Images() : nullptr;
  Index = FImageIndex;
  if (auto* a = dynamic_cast<TCustomAction*>(Action())) {
    if (a->ActionList()) {
      Index = a->ImageIndex();
      if (a->ActionList()->Images()) List = a->ActionList()->Images();
    }
  }
}

// ---- size -----------------------------------------------------------------------------------
void TDizCustomToolBarButton::AdjustSize() {
  if (!Parent() || !FAutoSize || ComponentState().Contains(csLoading)) return;
  int iw = 0, ih = 0;
  TCustomImageList* list;
  int index;
  ImageSource(list, index);
  if (index >= 0 && list) {
    iw = list->GetWidth();
    ih = list->GetHeight();
  } else {
    for (TBitmap* b : {FGlyph.get(), FGlyphHot.get(), FGlyphDown.get(), FGlyphChecked.get(), FGlyphDisabled.get()})
      if (!b->GetEmpty()) {
        iw = std::max(iw, b->GetWidth());
        ih = std::max(ih, b->GetHeight());
      }
    if (FGlyph->GetEmpty() && FGlyphHot->GetEmpty() && FGlyphDown->GetEmpty() && FGlyphChecked->GetEmpty() &&
        FPicture->GetGraphic() && !FPicture->GetGraphic()->GetEmpty()) {
      iw = FPicture->GetWidth();
      ih = FPicture->GetHeight();
    }
  }
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TCustomVivIzizEzuStyler* s = Styler();
  if (FParentStyler && s && s->CurrentMenuStyler() && !IsMenuButton()) c->SetFont(s->ButtonAppearance()->CaptionFont());
  const int cw = FShowCaption && !Caption().empty() ? CalcText(c, Caption()).Right : 0;
  const int th = c->TextHeight("gh");
  const int o = FInnerOffset, S = FSpacing;
  const bool horizontal = IsHorizontal(FPosition);
  TDizCustomToolBar* bar = FVivIzizEzu;
  const bool floating = bar && bar->ToolBarState() == tsFloating;
  if (horizontal) {
    int w, h;
    if (FGlyphPosition == gpTop || FGlyphPosition == gpBottom) {
      w = std::max(iw, cw) + 2 * o;
      h = ih + th + S + 2 * o;
    } else {
      w = (iw >= 1 && cw >= 1 ? iw + S + cw : iw > 0 ? iw : cw > 0 ? cw : 0) + 2 * o;
      h = std::max(ih, th) + 2 * o;
    }
    w = std::max(w, 15) + (FDropDownButton ? DropDownWidth() : 0);
    int newH = Height();
    if (bar) {
      const int M = floating ? bar->DockedThickness() - 4
                             : bar->Height() - (bar->ShowCaption() ? bar->CaptionHeight() : 0) - 4;
      h = std::max(h, M);
      if (bar->AutoPositionControls() || floating) newH = h;
    }
    SetBounds(Left(), Top(), w, newH);
  } else {
    int w, h;
    if (FGlyphPosition == gpTop || FGlyphPosition == gpBottom) {
      h = std::max(ih, cw) + 2 * o;
      w = iw + th + S + 2 * o;
    } else {
      h = (ih >= 1 && cw >= 1 ? ih + S + cw : ih > 0 ? ih : cw > 0 ? cw : 0) + 2 * o;
      w = std::max(iw, th) + 2 * o;
    }
    h = std::max(h, 15) + (FDropDownButton ? DropDownWidth() : 0);
    int newW = Width();
    if (bar) {
      const int M = floating ? bar->DockedThickness() - 4
                             : bar->Width() - (bar->ShowCaption() ? bar->CaptionHeight() : 0) - 4;
      w = std::max(w, M);
      if (bar->AutoPositionControls() || floating) newW = w;
    } else {
      newW = w;
    }
    SetBounds(Left(), Top(), newW, h);
  }
}

// ---- painting -------------------------------------------------------------------------------
void TDizCustomToolBarButton::Paint() {
  if (!Enabled()) {
    FState = absDisabled;
    FTracking = false;
  } else if (FState == absDisabled) {
    FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
  }
  if (FStyle == tasCheck && FDown) FState = absDown;
  DrawButton(Canvas());
}

void TDizCustomToolBarButton::DrawArrow(TCanvas* C, const TRect& D, TColor Color) {
  auto px = [C, Color](int x, int y) { C->SetPixel(x, y, Color); };
  if (IsHorizontal(FPosition)) {
    const int x = D.Left + (D.Width() - 5) / 2, y = D.Top + (D.Height() - 3) / 2 + 1;
    for (int i = 0; i < 5; ++i) px(x + i, y);
    for (int i = 1; i < 4; ++i) px(x + i, y + 1);
    px(x + 2, y + 2);
  } else if (FPosition == daLeft) {
    const int x = D.Left + (D.Width() - 3) / 2 + 2, y = D.Top + (D.Height() - 5) / 2;
    for (int i = 0; i < 5; ++i) px(x - 2, y + i);
    for (int i = 1; i < 4; ++i) px(x - 1, y + i);
    px(x, y + 2);
  } else {
    const int x = D.Left + (D.Width() - 3) / 2 + 1, y = D.Top + (D.Height() - 5) / 2;
    for (int i = 0; i < 5; ++i) px(x, y + i);
    for (int i = 1; i < 4; ++i) px(x - 1, y + i);
    px(x - 2, y + 2);
  }
}

void TDizCustomToolBarButton::DrawButton(TCanvas* C) {
  const TRect F = ClientRect();
  const bool h = IsHorizontal(FPosition);
  const TRect D = h ? TRect{F.Right - 12, F.Top, F.Right, F.Bottom} : TRect{F.Left, F.Bottom - 12, F.Right, F.Bottom};
  TRect R = F;
  if (FDropDownButton) {
    if (h) R.Right = D.Left;
    else R.Bottom = D.Top;
  }
  TButtonAppearance* A = FAppearance.get();
  TCustomVivIzizEzuStyler* S = Styler();
  TButtonAppearance* B = FParentStyler && S ? S->ButtonAppearance() : A;
  TColor from = clNone, to = clNone, text = clNone, frame = clNone, dFrom = clNone, dTo = clNone;
  TBitmap* glyph = nullptr;
  TGradientDirection dir = gdVertical;
  bool dAsFill = true;
  const bool checkedDown = FStyle == tasCheck && FState == absDown;
  if (FState == absDisabled || !Enabled()) {
    from = FTransparent ? clNone : A->Color();
    to = FTransparent ? clNone : A->ColorTo();
    text = A->CaptionTextColor();
    frame = FTransparent ? clNone : A->BorderColor();
    glyph = FGlyphDisabled.get();
    dir = A->GradientDirection();
  } else if (FState == absDropDown) {
    // Nothing is filled and the caption is drawn in the plain caption colour.
    text = A->CaptionTextColor();
  } else if ((FState == absDown || (FHot && FState == absExclusive) || FPressedInside) && !checkedDown) {
    from = B->ColorDown();
    to = B->ColorDownTo();
    text = B->CaptionTextColorDown();
    frame = B->BorderDownColor();
    dFrom = B->ColorHot();
    dTo = B->ColorHotTo();
    dAsFill = false;
    glyph = FGlyphDown.get();
    dir = B->GradientDirectionDown();
  } else if (FState == absExclusive || checkedDown) {
    from = B->ColorChecked();
    to = B->ColorCheckedTo();
    text = B->CaptionTextColorChecked();
    frame = B->BorderCheckedColor();
    glyph = FGlyphChecked.get();
    dir = B->GradientDirectionChecked();
  } else if (FHot) {
    from = B->ColorHot();
    to = B->ColorHotTo();
    text = B->CaptionTextColorHot();
    frame = B->BorderHotColor();
    glyph = FGlyphHot.get();
    dir = B->GradientDirectionHot();
  } else {
    from = FTransparent ? clNone : A->Color();
    to = FTransparent ? clNone : A->ColorTo();
    text = B->CaptionTextColor();
    frame = FTransparent ? clNone : A->BorderColor();
    glyph = FGlyph.get();
    dir = A->GradientDirection();
  }
  if (dAsFill) {
    dFrom = from;
    dTo = to;
  }
  const bool gh = dir == gdHorizontal;
  if (from != clNone) {
    if (FDropDownButton) Fill(C, dFrom != clNone ? dFrom : from, to == clNone ? clNone : dTo, gh, D);
    Fill(C, from, to, gh, R);
  }
  if (frame != clNone) {
    if (FDropDownButton && FDropDownSplit) Outline(C, frame, D);
    if (FDropDownButton && !FDropDownSplit) Outline(C, frame, TRect{R.Left, R.Top, F.Right, R.Bottom});
    else Outline(C, frame, R);
  }
  if (FMenuOpen && FDropDownSplit) {
    const TColor mb = FParentStyler && S && S->CurrentMenuStyler() ? TColor(0x7C7C94) : TColor(0x800000);
    const int y0 = h ? D.Top : R.Top;
    C->Pen()->SetColor(mb);
    C->Polyline({{R.Left, D.Bottom}, {R.Left, y0}, {D.Right - 1, y0}, {D.Right - 1, D.Bottom}});
  }
  if (FDropDownButton) DrawArrow(C, D, clBlack);
  if (FState == absDropDown) glyph = nullptr;
  if (glyph && glyph->GetEmpty() && !FGlyph->GetEmpty()) glyph = FGlyph.get();
  DrawGlyphAndCaption(C, R, glyph, text);
}

void TDizCustomToolBarButton::DrawGlyphAndCaption(TCanvas* C, const TRect& R, TBitmap* Bitmap, TColor TextColor) {
  C->SetFont(Font());
  TCustomVivIzizEzuStyler* S = Styler();
  TFont* captionFont = Font();
  if (FShowCaption && FParentStyler && S) captionFont = S->ButtonAppearance()->CaptionFont();
  if (FShowCaption) C->SetFont(captionFont);
  int tw = 0, th = 0;
  if (FShowCaption) {
    const TRect t = CalcText(C, Caption());
    tw = t.Right - t.Left;
    th = t.Bottom - t.Top;
  }
  const int Sp = tw < 1 || th < 1 ? 0 : FSpacing;
  const int W = R.Right - R.Left, Hc = R.Bottom - R.Top, H = Height();
  TRect T = R;
  UINT fmt = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
  TPoint P{R.Right + 1 - (W - th) / 2, R.Top + (Hc - tw) / 2};
  // Image source.
  TCustomImageList* list;
  int index;
  ImageSource(list, index);
  if (FForceImageIndex && FImageIndex >= 0 && FVivIzizEzu) {
    list = FVivIzizEzu->Images();
    index = FImageIndex;
  }
  bool listIsDisabled = false;
  if (!Enabled() && list && FVivIzizEzu && FVivIzizEzu->DisabledImages()) {
    list = FVivIzizEzu->DisabledImages();
    listIsDisabled = true;
  }
  enum { srcNone, srcList, srcGlyph, srcPicture } src = srcNone;
  int iw = 0, ih = 0;
  if (index >= 0 && list) {
    src = srcList;
    iw = list->GetWidth();
    ih = list->GetHeight();
  } else if (Bitmap && !Bitmap->GetEmpty()) {
    src = srcGlyph;
    iw = Bitmap->GetWidth();
    ih = Bitmap->GetHeight();
  } else if (FPicture->GetGraphic() && !FPicture->GetGraphic()->GetEmpty()) {
    src = srcPicture;
    iw = FPicture->GetWidth();
    ih = FPicture->GetHeight();
  }
  const bool h = IsHorizontal(FPosition);
  int X = 0, Y = 0;
  if (src != srcNone) {
    if (h) {
      switch (FGlyphPosition) {
        case gpLeft:
          X = (W - iw - Sp - tw) / 2;
          Y = (H - ih) / 2;
          T = TRect{X + iw + Sp, R.Top, R.Right, R.Bottom};
          fmt = DT_SINGLELINE | DT_VCENTER;
          break;
        case gpTop:
          X = (W - iw) / 2;
          Y = (H - ih - Sp - th) / 2;
          T = TRect{R.Left, Y + ih + Sp, R.Right, R.Bottom};
          fmt = DT_SINGLELINE | DT_CENTER;
          break;
        case gpRight:
          X = W - iw - (W - iw - Sp - tw) / 2;
          Y = (H - ih) / 2;
          T = TRect{(W - iw - Sp - tw) / 2, R.Top, X - Sp, R.Bottom};
          fmt = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
          break;
        case gpBottom:
          X = (W - iw) / 2;
          Y = H - ih - (H - ih - Sp - th) / 2;
          T = TRect{R.Left, Y - Sp - th, R.Right, Y};
          fmt = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
          break;
      }
    } else {
      switch (FGlyphPosition) {
        case gpLeft:
          X = (W - iw) / 2;
          Y = (Hc - ih - Sp - tw) / 2;
          P = TPoint{R.Right - (W - th) / 2, Y + ih + Sp};
          break;
        case gpRight:
          X = (W - iw) / 2;
          Y = Hc - ih - (Hc - ih - Sp - tw) / 2;
          P = TPoint{R.Right - (W - th) / 2, R.Top + (Hc - ih - Sp - tw) / 2};
          break;
        case gpTop: {
          X = W - iw - (W - iw - Sp - th) / 2;
          Y = (Hc - ih) / 2;
          const int E = X - Sp;
          P = TPoint{E - (E - R.Left - th) / 2, R.Top + (Hc - tw) / 2};
          break;
        }
        case gpBottom: {
          X = (W - iw - Sp - th) / 2;
          Y = (Hc - ih) / 2;
          const int G = X + Sp + iw;
          P = TPoint{R.Right - (R.Right - G - th) / 2, R.Top + (Hc - tw) / 2};
          break;
        }
      }
    }
    if (!FAutoSize) {
      if (h && X < 0) {
        T.Left += -X + 1;
        X = 1;
        fmt |= DT_END_ELLIPSIS;
      } else if (!h && Y < 0) {
        T.Top += -Y + 1;
        P.Y += -Y + 1;
        Y = 1;
      }
    }
    if (FDrawPosition->Enabled()) {
      X = FDrawPosition->ImageX();
      Y = FDrawPosition->ImageY();
    }
    // The shade under a hot image.
    if (FMouseInside && FHot && FShaded && Enabled() && FState == absUp && !FPressedInside) {
      if (!FShade->GetEmpty() && FShadeFromGlyph != (src != srcList)) GenerateShade();
      if (!FShade->GetEmpty()) DrawKeyed(C, X + 2, Y + 2, FShade.get());
    }
    switch (src) {
      case srcList: list->Draw(C, X, Y, index, Enabled() || listIsDisabled); break;
      case srcGlyph: DrawKeyed(C, X, Y, Bitmap); break;
      case srcPicture: {
        TGraphic* g = !Enabled() && FPictureDisabled->GetGraphic() && !FPictureDisabled->GetGraphic()->GetEmpty()
                          ? FPictureDisabled->GetGraphic()
                          : FPicture->GetGraphic();
        g->SetTransparent(true);
        C->Draw(X, Y, g);
        break;
      }
      default: break;
    }
  }
  if (!FShowCaption || Caption().empty()) return;
  C->SetFont(captionFont);
  C->Font()->SetColor(TextColor == clNone ? clBlack : TextColor);
  C->Brush()->SetStyle(bsClear);
  if (!FAutoSize) {
    if (h && T.Left < 0) {
      T.Left = 1;
      fmt = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
    } else if (!h && P.Y < 0) {
      P.Y = 1;
    }
  }
  if (FDrawPosition->Enabled()) {
    T = TRect{FDrawPosition->TextX(), FDrawPosition->TextY(), Width(), Height()};
    fmt = DT_SINGLELINE | DT_END_ELLIPSIS;
  }
  if (h) {
    if (FState == absDisabled) {
      C->Font()->SetColor(clBtnHighlight);
      TextIn(C, Caption(), TRect{T.Left + 1, T.Top + 1, T.Right + 1, T.Bottom + 1}, fmt);
      C->Font()->SetColor(clBtnShadow);
    }
    TextIn(C, Caption(), T, fmt);
  } else {
    C->Font()->SetOrientation(-900);
    if (FState == absDisabled) {
      C->Font()->SetColor(clBtnHighlight);
      DrawVerticalText(C, Caption(), P);
      C->Font()->SetColor(clBtnShadow);
      DrawVerticalText(C, Caption(), TPoint{P.X - 1, P.Y - 1});
    } else {
      DrawVerticalText(C, Caption(), P);
    }
    C->Font()->SetOrientation(0);
  }
}

void TDizCustomToolBarButton::GenerateShade() {
  std::unique_ptr<TBitmap> made;
  TBitmap* source = nullptr;
  TCustomImageList* list = FVivIzizEzu ? FVivIzizEzu->Images() : nullptr;
  if (FImageIndex >= 0 && list) {
    made = std::make_unique<TBitmap>(list->GetWidth(), list->GetHeight());
    made->Canvas()->Brush()->SetColor(TColor(0xFF00FF));
    made->Canvas()->FillRect(TRect{0, 0, made->GetWidth(), made->GetHeight()});
    list->Draw(made->Canvas(), 0, 0, FImageIndex, true);
    source = made.get();
    FShadeFromGlyph = false;
  } else if (!FGlyph->GetEmpty()) {
    source = FGlyph.get();
    FShadeFromGlyph = true;
  } else {
    return;
  }
  const int w = source->GetWidth(), hgt = source->GetHeight();
  FShade->SetSize(w, hgt);
  TCanvas* sc = source->Canvas();
  const TColor key = sc->GetPixel(0, hgt - 1) & 0xFFFFFF;
  TCanvas* dc = FShade->Canvas();
  // A grey silhouette of the image's pixels on the key colour.
  for (int y = 0; y < hgt; ++y)
    for (int x = 0; x < w; ++x) dc->SetPixel(x, y, (sc->GetPixel(x, y) & 0xFFFFFF) == key ? key : clGray);
}

// ---- properties -----------------------------------------------------------------------------
void TDizCustomToolBarButton::SetGlyph(TBitmap* Value) {
  const bool makeDisabled = FGlyphDisabled->GetEmpty();
  FGlyph->Assign(Value);
  if (makeDisabled && Value && !Value->GetEmpty()) {
    FGlyphDisabled->Assign(Value);
    TCanvas* c = FGlyphDisabled->Canvas();
    for (int y = 0; y < FGlyphDisabled->GetHeight(); ++y)
      for (int x = 0; x < FGlyphDisabled->GetWidth(); ++x) {
        const TColor p = ColorToRGB(c->GetPixel(x, y));
        const int g = (((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3) / 2 + 96;
        c->SetPixel(x, y, TColor(g | (g << 8) | (g << 16)));
      }
  }
  Invalidate();
}

void TDizCustomToolBarButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TDizCustomToolBarButton::SetGlyphPosition(TGlyphPosition Value) {
  if (FGlyphPosition == Value) return;
  FGlyphPosition = Value;
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TDizCustomToolBarButton::SetDropDownButton(bool Value) {
  if (FDropDownButton == Value) return;
  FDropDownButton = Value;
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarButton::SetDropDownMenu(TPopupMenu* Value) {
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TDizCustomToolBarButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FShaded) GenerateShade();
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarButton::SetParentStyler(bool Value) {
  if (FParentStyler == Value) return;
  FParentStyler = Value;
  Invalidate();
}

void TDizCustomToolBarButton::SetShaded(bool Value) {
  FShaded = Value;
  if (Value && !ComponentState().Contains(csLoading)) GenerateShade();
}

void TDizCustomToolBarButton::SetShowCaption(bool Value) {
  FShowCaption = Value;
  AdjustSize();
  Invalidate();
}

void TDizCustomToolBarButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TDizCustomToolBarButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  AdjustSize();
  Invalidate();
}

// ---- down, groups ---------------------------------------------------------------------------
void TDizCustomToolBarButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading)) FInitialDown = Value;
  if (FGroupIndex == 0 && FStyle == tasButton) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    FState = Value ? absDown : absUp;
    Repaint();
    return;
  }
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (Value) {
    if (FState == absUp) Invalidate();
    FState = absExclusive;
    UpdateExclusive();
  } else {
    FState = absUp;
    Repaint();
  }
}

void TDizCustomToolBarButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{};
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(this);
  Parent()->Broadcast(m);
  if (FVivIzizEzu && FVivIzizEzu != Parent()) FVivIzizEzu->Broadcast(m);
}

void TDizCustomToolBarButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
      auto* sender = reinterpret_cast<TDizCustomToolBarButton*>(Message.LParam);
      if (int(Message.WParam) != FGroupIndex || !sender || sender == this) break;
      if (sender->FDown && FDown) {
        FDown = false;
        FState = absUp;
        if (auto* a = dynamic_cast<TCustomAction*>(Action())) a->SetChecked(false);
        Invalidate();
      }
      FAllowAllUp = sender->FAllowAllUp;
      return;
    }
    case CM_TEXTCHANGED:
      TDizCustomToolBarControl::WndProc(Message);
      AdjustSize();
      Invalidate();
      return;
    case CM_MOUSEENTER:
      TDizCustomToolBarControl::WndProc(Message);
      if (ComponentState().Contains(csDesigning)) return;
      FMouseInside = true;
      if (Enabled()) {
        if (FVivIzizEzu) SetHot(true);
        Invalidate();
      }
      FUnHotTimer->SetEnabled(true);
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      TDizCustomToolBarControl::WndProc(Message);
      if (ComponentState().Contains(csDesigning)) return;
      LeaveHot();
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    default: break;
  }
  TDizCustomToolBarControl::WndProc(Message);
}

void TDizCustomToolBarButton::LeaveHot() {
  FUnHotTimer->SetEnabled(false);
  FMouseInside = false;
  if (!(FVivIzizEzu && FVivIzizEzu->InMenuLoop() && FVivIzizEzu->KeyboardMenuMode())) SetHot(false);
  if (Enabled()) Invalidate();
}

void TDizCustomToolBarButton::UnHotTimerOnTime(TObject*) {
  if (!Parent()) return;
  POINT sp{};
  GetCursorPos(&sp);
  const TPoint p = ScreenToClient(TPoint{sp.x, sp.y});
  const TRect r = ClientRect();
  const bool inside = p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
  if (inside) return;
  if (IsMenuButton() && FDropDownButton && FMenuOpen && FDropDownMenu) return;
  LeaveHot();
}

void TDizCustomToolBarButton::SetHot(bool Value) {
  const bool old = FHot;
  FHot = FState == absUp ? Value : false;
  if (FVivIzizEzu) FVivIzizEzu->UpdateButtonHot(this);
  else FHot = false;
  if (FHot != old) Invalidate();
}

void TDizCustomToolBarButton::UpdateTracking() {
  if (!FFlat || !Enabled() || !Parent()) return;
  POINT sp{};
  GetCursorPos(&sp);
  TControl* under = FindDragTarget(TPoint{sp.x, sp.y}, true);
  if (under != this) {
    FMouseInside = true;
    Perform(CM_MOUSELEAVE);
  } else {
    FMouseInside = false;
    Perform(CM_MOUSEENTER);
  }
}

// The button's real client area; the press tracking uses it on both axes.
bool TDizCustomToolBarButton::InsideClient(int X, int Y) {
  const TRect r = ClientRect();
  return X >= 0 && X < r.Right && Y >= 0 && Y < r.Bottom;
}

// ---- mouse ----------------------------------------------------------------------------------
void TDizCustomToolBarButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizCustomToolBarControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || ComponentState().Contains(csDesigning)) return;
  FPressedInside = true;
  const bool h = IsHorizontal(FPosition);
  const bool inZone = h ? X > Width() - 14 : Y > Height() - 14;
  if (IsMenuButton() && !FDropDownButton && (FDropDownMenu || ButtonMenuItem())) {
    Invalidate();
    // A bar-less menu button treats the bar's menu as not dropped.
    const bool dropped = FVivIzizEzu ? FVivIzizEzu->MenuDropped() : false;
    if ((!dropped && !FMenuClosedByClick && !FDisplayingMenu) || FClickedInternally) {
      FClickedInternally = false;
      DoDropDown();
    } else if (FMenuClosedByClick) {
      FMenuClosedByClick = false;
    }
    return;
  }
  if (!FDropDownButton || (!inZone && FDropDownSplit)) {
    ButtonDown();
    if (!FDown) {
      FState = absDown;
      Invalidate();
    }
    if (FStyle == tasCheck) {
      FState = absDown;
      Repaint();
    }
    FTracking = true;
    return;
  }
  FState = absUp;
  FMouseInside = false;
  FPressedInside = false;
  PopupBtnDown();
  if (FDropDownMenu) {
    if (FStyle == tasButton) FDown = false;
    FMenuOpen = true;
    Repaint();
    TPoint p{Left(), Top() + Height()};
    if (Parent()) p = Parent()->ClientToScreen(p);
    FDropDownMenu->Popup(p.X, p.Y);
    FMenuOpen = false;
    Repaint();
  }
  Invalidate();
}

void TDizCustomToolBarButton::MouseMove(TShiftState Shift, int X, int Y) {
  TDizCustomToolBarControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  if (FTracking) {
    TDizButtonState ns = FDown ? absExclusive : absUp;
    if (InsideClient(X, Y)) ns = FDown ? absExclusive : absDown;
    if (FStyle == tasCheck && FDown) ns = absDown;
    if (ns != FState) {
      FState = ns;
      Invalidate();
    }
  } else if (!FMouseInside) {
    UpdateTracking();
  }
}

void TDizCustomToolBarButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizCustomToolBarControl::MouseUp(Button, Shift, X, Y);
  FMenuClosedByClick = false;
  FDisplayingMenu = false;
  if (ComponentState().Contains(csDesigning)) return;
  FPressedInside = false;
  Invalidate();
  if (IsMenuButton() && !FDropDownButton && FDropDownMenu) return;
  if (!FTracking) return;
  FTracking = false;
  const bool inside = InsideClient(X, Y);
  if (FGroupIndex != 0) {
    if (inside) {
      SetDown(!FDown);
      if (FDown) Repaint();
    } else {
      if (FDown) FState = absExclusive;
      Repaint();
    }
  } else {
    FState = absUp;
    FMouseInside = false;
    if (FStyle == tasCheck && inside) {
      SetDown(!FDown);
      FState = absUp;
    }
    if (inside && FState != absDown && FState != absExclusive) Invalidate();
  }
  if (inside) Click();
  UpdateTracking();
}

void TDizCustomToolBarButton::Click() {
  if (FVivIzizEzu) FVivIzizEzu->HideOptionWindow();
  TDizCustomToolBarControl::Click();
  if (FVivIzizEzu) FVivIzizEzu->UpControlInRUL(this);
}

void TDizCustomToolBarButton::PopupBtnDown() {
  Invalidate();
  if (OnDropDown) OnDropDown(this);
}

void TDizCustomToolBarButton::DoDropDown() {
  if (!IsMenuButton()) return;
  FState = absDropDown;
  Invalidate();
  // Menu-bar mode drops the menu; a bar-less button shows its own menu at once.
  bool handled = false;
  if (FVivIzizEzu && ((FDropDownMenu && FDropDownMenu->AutoPopup()) || ButtonMenuItem()) &&
      !ComponentState().Contains(csDesigning))
    handled = FVivIzizEzu->CheckMenuDropdown(this);
  if (!handled && FDropDownMenu) {
    TPoint p{Left(), Top() + Height()};
    if (Parent()) p = Parent()->ClientToScreen(p);
    FDisplayingMenu = true;
    FDropDownMenu->Popup(p.X, p.Y);
    FDisplayingMenu = false;
  }
  OnDropDownHide();
}

void TDizCustomToolBarButton::OnDropDownHide() {
  FPressedInside = false;
  FMouseInside = false;
  FState = absUp;
  Invalidate();
}

}  // namespace VivIzizEzu
