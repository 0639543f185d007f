// Tool bar separators, menu buttons, the glow menu button and the container.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "toolbar/VivIzizEzuBar.h"
#include "toolbar/VivIzizEzuDraw.h"

namespace VivIzizEzu {

// ---- separator --------------------------------------------------------------------------
TVivIzizEzuSeparator::TVivIzizEzuSeparator(TComponent* AOwner) : TDizCustomToolBarControl(AOwner) {
  SetBounds(Left(), Top(), 10, 22);
}

void TVivIzizEzuSeparator::SetAutoSize(bool Value) {
  FAutoSizeOn = Value;
  if (Value) AdjustSize();
}

void TVivIzizEzuSeparator::AdjustSize() {
  if (!FAutoSizeOn) return;
  if (IsHorizontal(FPosition)) SetBounds(Left(), Top(), 10, FVivIzizEzu ? FVivIzizEzu->Height() - 4 : Height());
  else SetBounds(Left(), Top(), FVivIzizEzu ? FVivIzizEzu->Width() - 4 : Width(), 10);
}

void TVivIzizEzuSeparator::SetLineColor(TColor Value) {
  if (FLineColor == Value) return;
  FLineColor = Value;
  Invalidate();
}

void TVivIzizEzuSeparator::SetSeparatorStyle(TDizSeparatorStyle Value) {
  if (FSeparatorStyle == Value) return;
  FSeparatorStyle = Value;
  Invalidate();
}

void TVivIzizEzuSeparator::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TVivIzizEzuSeparator*>(Source)) {
    SetSeparatorStyle(s->SeparatorStyle());
    SetLineColor(s->LineColor());
    return;
  }
  TDizCustomToolBarControl::Assign(Source);
}

void TVivIzizEzuSeparator::Paint() {
  if (FSeparatorStyle == ssBlank) return;
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  c->Pen()->SetWidth(1);
  if (IsHorizontal(FPosition)) {
    const int x = L + (R - L) / 2;
    c->Pen()->SetColor(FLineColor);
    c->MoveTo(x, T + 3);
    c->LineTo(x, B - 3);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(x + 1, T + 4);
    c->LineTo(x + 1, B - 2);
  } else {
    const int y = T + (B - T) / 2;
    c->Pen()->SetColor(FLineColor);
    c->MoveTo(L + 3, y);
    c->LineTo(R - 3, y);
    c->Pen()->SetColor(clWhite);
    c->MoveTo(L + 4, y + 1);
    c->LineTo(R - 2, y + 1);
  }
}

// ---- menu button ------------------------------------------------------------------------
TVivIzizEzuMenuButton::TVivIzizEzuMenuButton(TComponent* AOwner) : TDizCustomToolBarButton(AOwner) {
  FParentStyler = true;
}

void TVivIzizEzuMenuButton::DrawButton(TCanvas* C) {
  const TRect F = ClientRect();
  const bool h = IsHorizontal(FPosition);
  const TRect D = h ? TRect{F.Right - DropDownWidth(), F.Top, F.Right, F.Bottom}
                    : TRect{F.Left, F.Bottom - DropDownWidth(), F.Right, F.Bottom};
  TRect P = F;
  if (FDropDownButton) {
    if (h) P.Right = D.Left;
    else P.Bottom = D.Top;
  }
  TCustomVivIzizEzuStyler* S = Styler();
  TButtonAppearance* A = FAppearance.get();
  const bool follows = FParentStyler && S;
  TButtonAppearance* X = follows ? S->ButtonAppearance() : A;
  // Menu mode (the bar shows a main menu) takes the root-item colours of the menu styler;
  // the bar never shows one until menu-bar mode exists, so the button's own looks apply.
  const bool hot = FHot;
  const bool pressed = FState == absDown || ((FState == absExclusive || (FStyle == tasCheck && FDown)) && hot) ||
                       FState == absDropDown || FPressedInside;
  const bool checked = FState == absExclusive || (FStyle == tasCheck && FDown);
  TColor from, to, text, border, dFrom, dTo;
  TBitmap* glyph;
  TGradientDirection dir;
  bool dAsFill = true;
  if (FState == absDisabled || !Enabled()) {
    from = FTransparent ? clNone : A->Color();
    to = FTransparent ? clNone : A->ColorTo();
    text = A->CaptionTextColor();
    border = FTransparent ? clNone : A->BorderColor();
    glyph = FGlyphDisabled.get();
    dir = A->GradientDirection();
  } else if (pressed) {
    from = X->ColorDown();
    to = X->ColorDownTo();
    text = X->CaptionTextColorDown();
    border = X->BorderDownColor();
    dFrom = X->ColorHot();
    dTo = X->ColorHotTo();
    dAsFill = false;
    glyph = FGlyphDown.get();
    dir = X->GradientDirectionDown();
  } else if (checked) {
    from = A->ColorChecked();
    to = A->ColorCheckedTo();
    text = A->CaptionTextColorChecked();
    border = A->BorderCheckedColor();
    glyph = FGlyphChecked.get();
    dir = A->GradientDirectionChecked();
  } else if (hot) {
    from = X->ColorHot();
    to = X->ColorHotTo();
    text = X->CaptionTextColorHot();
    border = X->BorderHotColor();
    glyph = FGlyphHot.get();
    dir = X->GradientDirectionHot();
  } else if (FTransparent) {
    from = to = border = clNone;
    text = A->CaptionTextColor();
    glyph = FGlyph.get();
    dir = A->GradientDirection();
  } else {
    from = A->Color();
    to = A->ColorTo();
    text = A->CaptionTextColor();
    border = A->BorderColor();
    glyph = FGlyph.get();
    dir = A->GradientDirection();
  }
  if (dAsFill) {
    dFrom = from;
    dTo = to;
  }
  const bool gh = dir == gdHorizontal;
  auto fill = [C, gh](TColor a, TColor b, const TRect& r) {
    if (a == clNone) return;
    if (b != clNone) {
      DrawGradient(C, a, b, gh, r, 40);
    } else {
      C->Pen()->SetColor(a);
      C->Brush()->SetStyle(bsSolid);
      C->Brush()->SetColor(a);
      C->Rectangle(r);
    }
  };
  if (from != clNone) {
    if (FDropDownButton) fill(dFrom, to == clNone ? clNone : dTo, D);
    fill(from, to, P);
  }
  if (border != clNone) {
    C->Brush()->SetStyle(bsClear);
    C->Pen()->SetColor(border);
    if (FDropDownButton && FDropDownSplit) C->Rectangle(D);
    if (FDropDownButton && !FDropDownSplit) C->Rectangle(TRect{P.Left, P.Top, F.Right, P.Bottom});
    else C->Rectangle(P);
  }
  if (FMenuOpen && FDropDownSplit) {
    const TColor mb = follows && S->CurrentMenuStyler() ? TColor(0x7C7C94) : TColor(0x800000);
    const int top = h ? D.Top : P.Top;
    C->Pen()->SetColor(mb);
    C->Polyline({{P.Left, D.Bottom}, {P.Left, top}, {D.Right - 1, top}, {D.Right - 1, D.Bottom}});
  }
  if (FDropDownButton) DrawArrow(C, D, clBlack);
  if (glyph->GetEmpty() && !FGlyph->GetEmpty()) glyph = FGlyph.get();
  DrawGlyphAndCaption(C, P, glyph, text);
}

// ---- glow menu button -------------------------------------------------------------------
TDizGlowMenuButton::TDizGlowMenuButton(TComponent* AOwner) : TDizCustomGlowButton(AOwner) {
  SetDropDownButton(true);
  SetWidth(32);
}

// ---- container --------------------------------------------------------------------------
TVivIzizEzuContainer::TVivIzizEzuContainer(TComponent* AOwner) : TCustomControl(AOwner) {
  FColor = std::make_unique<TGradientBackground>();
  FColor->OnChange = [this](TObject* s) { ColorChanged(s); };
  TControlStyle st = ControlStyle();
  st.Include(csAcceptsControls);
  st.Exclude(csOpaque);
  SetControlStyle(st);
  SetDoubleBuffered(true);
}

TVivIzizEzuContainer::~TVivIzizEzuContainer() = default;

void TVivIzizEzuContainer::ColorChanged(TObject*) {
  SetColor(FColor->Color());
  Invalidate();
}

void TVivIzizEzuContainer::SetVivIzizEzu(TDizCustomToolBar* ToolBar) {
  if (FVivIzizEzu == ToolBar) return;
  FVivIzizEzu = ToolBar;
  for (TControl* c : ControlList())
    if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(c)) item->FVivIzizEzu = ToolBar;
  Invalidate();
}

void TVivIzizEzuContainer::Loaded() {
  TCustomControl::Loaded();
  if (auto* bar = dynamic_cast<TVivIzizEzu*>(Parent())) SetVivIzizEzu(bar);
  UpdateAllGlowButtons();
  Invalidate();
}

void TVivIzizEzuContainer::UpdateAllGlowButtons() {
  if (!FVivIzizEzu || !FVivIzizEzu->StylerInForce()) return;
  TCustomVivIzizEzuStyler* s = FVivIzizEzu->StylerInForce();
  for (TControl* c : ControlList())
    if (auto* g = dynamic_cast<TDovAvarOrodez*>(c)) g->SetAppearance(s->GlowButtonAppearance());
  if (dynamic_cast<IDizStyle*>(s) && s->ComponentStyle() != tsCustom)
    for (TControl* c : ControlList())
      if (auto* st = dynamic_cast<IDizStyle*>(c)) st->SetComponentStyle(s->ComponentStyle());
}

void TVivIzizEzuContainer::SetGradientColor(TGradientBackground* Value) {
  FColor->Assign(Value);
  Invalidate();
}

void TVivIzizEzuContainer::SetLineColor(TColor Value) {
  FLineColor = Value;
  Invalidate();
}

void TVivIzizEzuContainer::SetLine3D(bool Value) {
  FLine3D = Value;
  Invalidate();
}

void TVivIzizEzuContainer::SetParentStyler(bool Value) {
  FParentStyler = Value;
  Invalidate();
}

void TVivIzizEzuContainer::SetCaption(const std::string& Value) {
  TCustomControl::SetCaption(Value);
  Invalidate();
}

void TVivIzizEzuContainer::SetMargins(int Value) {
  if (Value < 0 || Value > 14 || Value == FMargins) return;
  FMargins = Value;
  ForceMargins();
}

void TVivIzizEzuContainer::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Rect.Left += FMargins;
  Rect.Top += FMargins;
  Rect.Right -= FMargins;
  Rect.Bottom -= FMargins;
}

void TVivIzizEzuContainer::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  ForceMargins();
}

void TVivIzizEzuContainer::ForceMargins() {
  if (FForcing) return;
  FForcing = true;
  const int m = FMargins;
  for (TControl* c : ControlList()) {
    int l = c->Left(), t = c->Top();
    if (l < m) l = m;
    if (t < m) t = m;
    if (l + c->Width() > Width() - m) l = Width() - m - c->Width();
    if (t + c->Height() > Height() - m) t = Height() - m - c->Height();
    // A child wider than the room keeps its left edge inside the margin.
    if (l < m) l = m;
    if (t < m) t = m;
    if (l != c->Left() || t != c->Top()) c->SetBounds(l, t, c->Width(), c->Height());
  }
  FForcing = false;
}

void TVivIzizEzuContainer::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      TCustomControl::WndProc(Message);
      Message.Result = 1;
      return;
    case CM_MOUSEENTER:
      TCustomControl::WndProc(Message);
      Invalidate();
      return;
    case CM_CONTROLCHANGE: {
      TCustomControl::WndProc(Message);
      auto* c = reinterpret_cast<TControl*>(Message.WParam);
      if (!Message.LParam || !c) return;
      if (ComponentState().Contains(csDesigning)) {
        int right = 0;
        for (TControl* o : ControlList())
          if (o != c) right = std::max(right, o->Left() + o->Width());
        if (right > 0 && right < Width()) c->SetLeft(right);
      }
      if (auto* item = dynamic_cast<TDizCustomToolBarControl*>(c)) item->FVivIzizEzu = FVivIzizEzu;
      return;
    }
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TVivIzizEzuContainer::Paint() {
  TCanvas* c = Canvas();
  const TRect r = ClientRect();
  // The parent's pixels under the container: the parent paints into an off-screen
  // bitmap whose origin is moved to the container's position.
  if (Parent() && !FPaintingParent && r.Right > 0 && r.Bottom > 0) {
    FPaintingParent = true;
    TBitmap bmp(r.Right, r.Bottom);
    HDC dc = bmp.Canvas()->GetHandle();
    POINT old{};
    SetViewportOrgEx(dc, -Left(), -Top(), &old);
    Parent()->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
    Parent()->Perform(WM_PAINT, WPARAM(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    bmp.Canvas()->Refresh();
    c->Draw(0, 0, &bmp);
    FPaintingParent = false;
  }
  TColor line = FLineColor;
  bool line3D = FLine3D;
  if (FVivIzizEzu && FParentStyler && FVivIzizEzu->StylerInForce()) {
    line = FVivIzizEzu->StylerInForce()->ContainerAppearance()->LineColor();
    line3D = FVivIzizEzu->StylerInForce()->ContainerAppearance()->Line3D();
  }
  if (line == clNone) return;
  const int g = 2;
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const int y0 = T + g + 2, x1 = R - g, y1 = B - g;
  c->Brush()->SetStyle(bsClear);
  int w = -1;
  const std::string cap = Caption();
  if (!cap.empty()) {
    c->Font()->SetColor(clBlack);
    RECT tr{L + 10, T, R, B};
    DrawText(c->GetHandle(), cap.c_str(), static_cast<int>(cap.size()), &tr, DT_SINGLELINE | DT_TOP | DT_LEFT);
    w = c->TextWidth(cap);
  }
  auto topLine = [&](int y) {
    if (w >= 0) {
      c->MoveTo(L, y);
      c->LineTo(L + 9, y);
      c->MoveTo(L + 11 + w, y);
      c->LineTo(x1, y);
    } else {
      c->MoveTo(L, y);
      c->LineTo(x1, y);
    }
  };
  c->Pen()->SetColor(line);
  topLine(y0);
  c->Polyline({{L, y0}, {L, y1}, {x1, y1}, {x1, y0}});
  if (line3D) {
    c->Pen()->SetColor(clWhite);
    topLine(y0 + 1);
    c->MoveTo(L + 1, y0 + 1);
    c->LineTo(L + 1, y1);
    c->MoveTo(L + 1, y1 + 1);
    c->LineTo(x1 + 1, y1 + 1);
    c->MoveTo(x1 + 1, y1 + 1);
    c->LineTo(x1 + 1, y0);
  }
}

}  // namespace VivIzizEzu
