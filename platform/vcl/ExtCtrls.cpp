#include "platform/vcl/ExtCtrls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Forms.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  --Rect.Bottom;
  --Rect.Right;
  while (Width > 0) {
    --Width;
    TPoint topRight{Rect.Right, Rect.Top};
    TPoint bottomLeft{Rect.Left, Rect.Bottom};
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({bottomLeft, TPoint{Rect.Left, Rect.Top}, topRight});
    Canvas->Pen()->SetColor(BottomColor);
    --bottomLeft.X;
    Canvas->Polyline({topRight, TPoint{Rect.Right, Rect.Bottom}, bottomLeft});
    Rect.Left += 1;
    Rect.Top += 1;
    Rect.Right -= 1;
    Rect.Bottom -= 1;
  }
  ++Rect.Bottom;
  ++Rect.Right;
}

static const TEnumInfo* BorderStyleNames = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle"});

// ---------------------------------------------------------------------------------------
static const TEnumInfo* ShapeTypeNames =
    RegisterEnum("TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"});

void TShape::Publish(TClassBuilder<TShape>& P) {
  P.Object("Brush", &TShape::Brush, &TShape::SetBrush)
      .Object("Pen", &TShape::Pen, &TShape::SetPen)
      .Enum("Shape", ShapeTypeNames, &TShape::Shape, &TShape::SetShape, stRectangle);
}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle += csReplicatable;
  FWidth = 65;
  FHeight = 65;
  FPen = std::make_unique<TPen>();
  FPen->OnChange = [this](TObject* s) { StyleChanged(s); };
  FBrush = std::make_unique<TBrush>();
  FBrush->OnChange = [this](TObject* s) { StyleChanged(s); };
}

TShape::~TShape() = default;

void TShape::StyleChanged(TObject*) { Invalidate(); }

void TShape::SetShape(TShapeType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->SetPen(FPen.get());
  c->SetBrush(FBrush.get());
  int penWidth = FPen->GetWidth();
  int x = penWidth / 2, y = x;
  int w = Width() - penWidth + 1, h = Height() - penWidth + 1;
  if (penWidth == 0) {
    --w;
    --h;
  }
  int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = s;
    h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}

// ---------------------------------------------------------------------------------------
void TImage::Publish(TClassBuilder<TImage>& P) {
  P.Object("Picture", &TImage::Picture, &TImage::SetPicture)
      .Bool("Center", &TImage::Center, &TImage::SetCenter, false)
      .Bool("IncrementalDisplay", &TImage::IncrementalDisplay, &TImage::SetIncrementalDisplay, false)
      .Bool("Proportional", &TImage::Proportional, &TImage::SetProportional, false)
      .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
      .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent, false);
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle += csReplicatable;
  FPicture = std::make_unique<TPicture>();
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
  FWidth = 105;
  FHeight = 105;
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

TCanvas* TImage::Canvas() {
  TGraphic* g = FPicture->GetGraphic();
  if (!g || g->GetEmpty()) {
    if (!g || dynamic_cast<TBitmap*>(g)) {
      TBitmap* b = FPicture->Bitmap();
      b->SetSize(std::max(1, Width()), std::max(1, Height()));
      return b->Canvas();
    }
  }
  if (auto* b = dynamic_cast<TBitmap*>(g)) return b->Canvas();
  throw EInvalidOperation("Can only modify an image if it contains a bitmap");
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  PictureChanged(this);
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  PictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(this);
}

void TImage::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  if (Value) PictureChanged(this);
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight) {
  if (FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0) {
    NewWidth = FPicture->GetWidth();
    NewHeight = FPicture->GetHeight();
  }
  return true;
}

TRect TImage::DestRect() {
  int w = FPicture->GetWidth(), h = FPicture->GetHeight();
  int cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      double aspect = double(w) / double(h);
      if (w > h) {
        w = cw;
        h = int(cw / aspect);
        if (h > ch) {
          h = ch;
          w = int(ch * aspect);
        }
      } else {
        h = ch;
        w = int(ch * aspect);
        if (w > cw) {
          w = cw;
          h = int(cw / aspect);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r{0, 0, w, h};
  if (FCenter) {
    int dx = (cw - w) / 2, dy = (ch - h) / 2;
    r = TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  }
  return r;
}

void TImage::PictureChanged(TObject*) {
  if (FDrawing) return;
  TGraphic* g = FPicture->GetGraphic();
  if (FAutoSize && g && !g->GetEmpty()) {
    int w = g->GetWidth(), h = g->GetHeight();
    if (w > 0 && h > 0) SetBounds(FLeft, FTop, w, h);
  }
  if (g && !dynamic_cast<TIcon*>(g) && g->GetTransparent() != FTransparent) g->SetTransparent(FTransparent);
  // Opaque when the picture covers the whole control without transparency.
  bool opaque = false;
  if (g && !g->GetEmpty() && !FTransparent && !g->GetTransparent()) {
    TRect d = DestRect();
    opaque = d.Left <= 0 && d.Top <= 0 && d.Right >= Width() && d.Bottom >= Height();
  }
  if (opaque) FControlStyle += csOpaque;
  else FControlStyle -= csOpaque;
  Invalidate();
}

void TImage::Paint() {
  TCanvas* c = TGraphicControl::Canvas();
  if (FComponentState.Contains(csDesigning)) {
    c->Pen()->SetStyle(psDash);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, Width(), Height());
  }
  TGraphic* g = FPicture->GetGraphic();
  if (!g || g->GetEmpty()) return;
  bool saved = FDrawing;
  FDrawing = true;
  try {
    c->StretchDraw(DestRect(), g);
  } catch (...) {
    FDrawing = saved;
    throw;
  }
  FDrawing = saved;
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* BevelShapeNames = RegisterEnum(
    "TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"});
static const TEnumInfo* BevelStyleNames = RegisterEnum("TBevelStyle", {"bsLowered", "bsRaised"});

void TBevel::Publish(TClassBuilder<TBevel>& P) {
  P.Enum("Shape", BevelShapeNames, &TBevel::Shape, &TBevel::SetShape, bsBox)
      .Enum("Style", BevelStyleNames, &TBevel::Style, &TBevel::SetStyle, bsLowered);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle += csReplicatable;
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  TColor color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  auto bevelRect = [&](const TRect& r) {
    c->Pen()->SetColor(color1);
    c->Polyline({TPoint{r.Left, r.Bottom}, TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}});
    c->Pen()->SetColor(color2);
    c->Polyline({TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom}, TPoint{r.Left, r.Bottom}});
  };
  auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
    c->Pen()->SetColor(color);
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
  };
  int w = Width(), h = Height();
  switch (FShape) {
    case bsBox: bevelRect(TRect{0, 0, w - 1, h - 1}); break;
    case bsFrame: {
      TColor temp = color1;
      color1 = color2;
      bevelRect(TRect{1, 1, w - 1, h - 1});
      color2 = temp;
      color1 = temp;
      bevelRect(TRect{0, 0, w - 2, h - 2});
      break;
    }
    case bsTopLine:
      bevelLine(color1, 0, 0, w, 0);
      bevelLine(color2, 0, 1, w, 1);
      break;
    case bsBottomLine:
      bevelLine(color1, 0, h - 2, w, h - 2);
      bevelLine(color2, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      bevelLine(color1, 0, 0, 0, h);
      bevelLine(color2, 1, 0, 1, h);
      break;
    case bsRightLine:
      bevelLine(color1, w - 2, 0, w - 2, h);
      bevelLine(color2, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* AlignmentNames = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
static const TEnumInfo* VerticalAlignmentNames =
    RegisterEnum("TVerticalAlignment", {"taAlignTop", "taAlignBottom", "taVerticalCenter"});
static const TEnumInfo* BevelCutNames = RegisterEnum("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});

void TCustomPanel::Publish(TClassBuilder<TCustomPanel>& P) {
  P.Enum("Alignment", AlignmentNames, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, taCenter)
      .Enum("VerticalAlignment", VerticalAlignmentNames, &TCustomPanel::VerticalAlignment,
            &TCustomPanel::SetVerticalAlignment, taVerticalCenter)
      .Enum("BevelInner", BevelCutNames, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, bvNone)
      .Enum("BevelOuter", BevelCutNames, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, bvRaised)
      .Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1)
      .Int("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth, 0)
      .Enum("BorderStyle", BorderStyleNames, &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle, bsNone)
      .Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint, true)
      .Bool("Locked", &TCustomPanel::Locked, &TCustomPanel::SetLocked, false)
      .Bool("ShowCaption", &TCustomPanel::ShowCaption, &TCustomPanel::SetShowCaption, true);
}

void TPanel::Publish(TClassBuilder<TPanel>& P) { (void)P; }

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                csDoubleClicks, csReplicatable, csParentBackground};
  FWidth = 185;
  FHeight = 41;
  FColor = clBtnFace;
  FParentColor = false;
  Brush()->SetColor(FColor);
}

void TCustomPanel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      // A panel has no accelerator of its own.
      TCustomControl::WndProc(Message);
      return;
    case WM_SIZE:
      TCustomControl::WndProc(Message);
      if (FFullRepaint) Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int bevelSize = FBorderWidth;
  if (FBevelOuter != bvNone) bevelSize += FBevelWidth;
  if (FBevelInner != bvNone) bevelSize += FBevelWidth;
  Rect = TRect{Rect.Left + bevelSize, Rect.Top + bevelSize, Rect.Right - bevelSize, Rect.Bottom - bevelSize};
}

static void SetAndRealign(TCustomPanel* Panel, bool Changed) {
  if (!Changed) return;
  Panel->Realign();
  Panel->Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment Value) {
  if (FVerticalAlignment == Value) return;
  FVerticalAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  bool changed = FBevelInner != Value;
  FBevelInner = Value;
  SetAndRealign(this, changed);
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  bool changed = FBevelOuter != Value;
  FBevelOuter = Value;
  SetAndRealign(this, changed);
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  Value = std::max(1, Value);
  bool changed = FBevelWidth != Value;
  FBevelWidth = Value;
  SetAndRealign(this, changed);
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
  Value = std::max(0, Value);
  bool changed = FBorderWidth != Value;
  FBorderWidth = Value;
  SetAndRealign(this, changed);
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomPanel::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect rect = ClientRect();
  auto colorsOf = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
    top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    if (FBevelOuter == bvSpace) {
      top = bottom = FColor;
    } else {
      colorsOf(FBevelOuter, top, bottom);
    }
    Frame3D(c, rect, top, bottom, FBevelWidth);
  }
  Frame3D(c, rect, FColor, FColor, FBorderWidth);
  if (FBevelInner != bvNone) {
    if (FBevelInner == bvSpace) {
      top = bottom = FColor;
    } else {
      colorsOf(FBevelInner, top, bottom);
    }
    Frame3D(c, rect, top, bottom, FBevelWidth);
  }
  c->Brush()->SetColor(FColor);
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(rect);
  std::string caption = Caption();
  if (!FShowCaption || caption.empty()) return;
  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  TTextFormat format{tfExpandTabs, tfSingleLine};
  switch (FAlignment) {
    case taLeftJustify: format += tfLeft; break;
    case taRightJustify: format += tfRight; break;
    case taCenter: format += tfCenter; break;
  }
  switch (FVerticalAlignment) {
    case taAlignTop: format += tfTop; break;
    case taAlignBottom: format += tfBottom; break;
    case taVerticalCenter: format += tfVerticalCenter; break;
  }
  if (!Enabled()) {
    TRect shifted{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
    c->Font()->SetColor(clBtnHighlight);
    c->TextRect(shifted, caption, format);
    c->Font()->SetColor(clBtnShadow);
  }
  c->TextRect(rect, caption, format);
}

// ---------------------------------------------------------------------------------------
namespace {
std::unordered_map<UINT_PTR, TTimer*>& TimersById() {
  static std::unordered_map<UINT_PTR, TTimer*> map;
  return map;
}
}  // namespace

void TTimer::Publish(TClassBuilder<TTimer>& P) {
  P.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
      .Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
      .Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FTimerId) {
    KillTimer(nullptr, FTimerId);
    auto it = TimersById().find(FTimerId);
    if (it != TimersById().end() && it->second == this) TimersById().erase(it);
    FTimerId = 0;
  }
  if (FComponentState.Contains(csLoading) || FComponentState.Contains(csDestroying)) return;
  if (FInterval != 0 && FEnabled && FOnTimer) {
    FTimerId = SetTimer(nullptr, 0, FInterval, &TTimer::TimerProc);
    if (FTimerId == 0) throw EOutOfResources("Not enough timers available");
    TimersById()[FTimerId] = this;
  }
}

void TTimer::TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  auto it = TimersById().find(Id);
  if (it == TimersById().end()) return;
  TTimer* timer = it->second;
  try {
    timer->Timer();
  } catch (const std::exception&) {
    if (Application) Application->HandleException(timer);
    else throw;
  }
}

void TTimer::Timer() {
  if (FEnabled && FOnTimer) FOnTimer(this);
}

// ---------------------------------------------------------------------------------------
void TScrollBox::Publish(TClassBuilder<TScrollBox>& P) {
  P.Enum("BorderStyle", BorderStyleNames, &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle, bsSingle);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FWidth = 185;
  FHeight = 41;
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

// Every class of the unit can be named in a stored form.
static const bool kExtCtrlsRegistered = [] {
  RegisterClasses({TShape::StaticClass(), TImage::StaticClass(), TBevel::StaticClass(), TPanel::StaticClass(),
                   TTimer::StaticClass(), TScrollBox::StaticClass()});
  return true;
}();
