#include "platform/vcl/Buttons.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

namespace {

bool InRect(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

char32_t UpperChar(char32_t c) {
  std::string s;
  Utf8Append(s, c);
  s = AnsiUpperCase(s);
  size_t pos = 0;
  return Utf8Next(s, pos);
}

// The character after a single '&' of the caption ("&&" is a literal ampersand).
char32_t AcceleratorOf(const std::string& Caption) {
  size_t pos = 0;
  while (pos < Caption.size()) {
    char32_t c = Utf8Next(Caption, pos);
    if (c != U'&' || pos >= Caption.size()) continue;
    char32_t next = Utf8Next(Caption, pos);
    if (next != U'&') return next;
  }
  return 0;
}

// A brush of alternating button-face and highlight pixels (a held-down button's face).
HBRUSH PatternBrush() {
  HBITMAP bmp = CreateBitmap(8, 8, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) SetPixel(dc, x, y, ((x + y) & 1) ? face : light);
  SelectObject(dc, old);
  DeleteDC(dc);
  HBRUSH brush = CreatePatternBrush(bmp);
  DeleteObject(bmp);
  return brush;
}

}  // namespace

// ---------------------------------------------------------------------------------------
TButtonGlyph::TButtonGlyph() {
  FOriginal = std::make_unique<TBitmap>();
  FOriginal->OnChange = [this](TObject*) { GlyphChanged(); };
}

TButtonGlyph::~TButtonGlyph() { FOriginal->OnChange = nullptr; }

void TButtonGlyph::SetGlyph(TBitmap* Value) {
  if (Value) FOriginal->Assign(Value);
  else FOriginal->SetSize(0, 0);
  // A strip of square images tells how many there are.
  if (Value && !Value->GetEmpty() && Value->GetHeight() > 0 && Value->GetWidth() % Value->GetHeight() == 0) {
    int n = Value->GetWidth() / Value->GetHeight();
    if (n >= 1 && n <= 4) FNumGlyphs = n;
  }
  GlyphChanged();
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  GlyphChanged();
}

void TButtonGlyph::GlyphChanged() {
  FImages.reset();
  if (OnChange) OnChange(nullptr);
}

int TButtonGlyph::GlyphWidth() const { return Empty() ? 0 : FOriginal->GetWidth() / FNumGlyphs; }
int TButtonGlyph::GlyphHeight() const { return Empty() ? 0 : FOriginal->GetHeight(); }

void TButtonGlyph::DrawGlyph(TCanvas* Canvas, const TPoint& Pos, TButtonState State) {
  if (Empty() || GlyphWidth() == 0) return;
  if (!FImages) {
    FImages = std::make_unique<TCustomImageList>(nullptr);
    FImages->SetWidth(GlyphWidth());
    FImages->SetHeight(GlyphHeight());
    FImages->AddMasked(FOriginal.get(), clDefault);
  }
  int index = 0;
  bool enabled = true;
  switch (State) {
    case bsUp: index = 0; break;
    case bsDisabled:
      if (FNumGlyphs > 1) index = 1;
      else enabled = false;
      break;
    case bsDown: index = FNumGlyphs > 2 ? 2 : 0; break;
    case bsExclusive: index = FNumGlyphs > 3 ? 3 : 0; break;
  }
  if (index >= FImages->Count()) index = 0;
  FImages->Draw(Canvas, Pos.X, Pos.Y, index, enabled);
}

void TButtonGlyph::CalcButtonLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                    const std::string& Caption, TButtonLayout Layout, int Margin, int Spacing,
                                    TPoint& GlyphPos, TRect& TextBounds) {
  TPoint clientSize{Client.Right - Client.Left, Client.Bottom - Client.Top};
  TPoint glyphSize{GlyphWidth(), GlyphHeight()};
  TPoint textSize{0, 0};
  TextBounds = TRect{0, 0, clientSize.X, 0};
  if (!Caption.empty()) {
    std::string text = Caption;
    Canvas->TextRect(TextBounds, text, TTextFormat{tfCalcRect, tfSingleLine});
    textSize = TPoint{TextBounds.Right - TextBounds.Left, TextBounds.Bottom - TextBounds.Top};
  } else {
    TextBounds = TRect{0, 0, 0, 0};
  }
  if (Layout >= blGlyphLeftAdjusted) Layout = TButtonLayout(Layout - blGlyphLeftAdjusted);
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (horizontal) {
    GlyphPos.Y = (clientSize.Y - glyphSize.Y + 1) / 2;
    TextBounds.Top = (clientSize.Y - textSize.Y + 1) / 2;
  } else {
    GlyphPos.X = (clientSize.X - glyphSize.X + 1) / 2;
    TextBounds.Left = (clientSize.X - textSize.X + 1) / 2;
  }
  if (textSize.X == 0 || glyphSize.X == 0) Spacing = 0;
  if (Margin == -1) {
    if (Spacing == -1) {
      TPoint total{glyphSize.X + textSize.X, glyphSize.Y + textSize.Y};
      if (horizontal) Margin = (clientSize.X - total.X) / 3;
      else Margin = (clientSize.Y - total.Y) / 3;
      Spacing = Margin;
    } else {
      TPoint total{glyphSize.X + Spacing + textSize.X, glyphSize.Y + Spacing + textSize.Y};
      if (horizontal) Margin = (clientSize.X - total.X + 1) / 2;
      else Margin = (clientSize.Y - total.Y + 1) / 2;
    }
  } else if (Spacing == -1) {
    TPoint total{clientSize.X - (Margin + glyphSize.X), clientSize.Y - (Margin + glyphSize.Y)};
    if (horizontal) Spacing = (total.X - textSize.X) / 2;
    else Spacing = (total.Y - textSize.Y) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.X = Margin;
      TextBounds.Left = GlyphPos.X + glyphSize.X + Spacing;
      break;
    case blGlyphRight:
      GlyphPos.X = clientSize.X - Margin - glyphSize.X;
      TextBounds.Left = GlyphPos.X - Spacing - textSize.X;
      break;
    case blGlyphTop:
      GlyphPos.Y = Margin;
      TextBounds.Top = GlyphPos.Y + glyphSize.Y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.Y = clientSize.Y - Margin - glyphSize.Y;
      TextBounds.Top = GlyphPos.Y - Spacing - textSize.Y;
      break;
    default: break;
  }
  GlyphPos.X += Client.Left + Offset.X;
  GlyphPos.Y += Client.Top + Offset.Y;
  int left = TextBounds.Left + Client.Left + Offset.X;
  int top = TextBounds.Top + Client.Top + Offset.Y;
  TextBounds = TRect{left, top, left + textSize.X, top + textSize.Y};
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const std::string& Caption,
                         TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent) {
  (void)Transparent;
  TPoint glyphPos;
  TRect textBounds;
  CalcButtonLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, glyphPos, textBounds);
  DrawGlyph(Canvas, glyphPos, State);
  if (!Caption.empty()) {
    Canvas->Brush()->SetStyle(bsClear);
    TTextFormat format{tfCenter, tfVerticalCenter, tfSingleLine};
    std::string text = Caption;
    if (State == bsDisabled) {
      TRect r{textBounds.Left + 1, textBounds.Top + 1, textBounds.Right + 1, textBounds.Bottom + 1};
      Canvas->Font()->SetColor(clBtnHighlight);
      Canvas->TextRect(r, text, format);
      text = Caption;
      r = textBounds;
      Canvas->Font()->SetColor(clBtnShadow);
      Canvas->TextRect(r, text, format);
    } else {
      TRect r = textBounds;
      Canvas->TextRect(r, text, format);
    }
  }
  return textBounds;
}

// ---------------------------------------------------------------------------------------
static const TEnumInfo* ButtonLayoutNames =
    RegisterEnum("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});

void TSpeedButton::Publish(TClassBuilder<TSpeedButton>& P) {
  P.Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false)
      .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0)
      .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false)
      .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false)
      .Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
      .Enum("Layout", ButtonLayoutNames, &TSpeedButton::Layout, &TSpeedButton::SetLayout, blGlyphLeft)
      .Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin, -1)
      .Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1)
      .Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing, 4)
      .Bool("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent, true);
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 23;
  FHeight = 22;
  FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
  FColor = clBtnFace;
  FGlyph = std::make_unique<TButtonGlyph>();
  FGlyph->OnChange = [this](TObject* s) { GlyphChanged(s); };
}

TSpeedButton::~TSpeedButton() { FGlyph->OnChange = nullptr; }

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->SetGlyph(Value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  FGlyph->SetNumGlyphs(Value);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (Value < -1 || FMargin == Value) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) FControlStyle -= csOpaque;
  else FControlStyle += csOpaque;
  Invalidate();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The last button of a group stays down unless the group allows all up.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Repaint();
  }
  if (Value) UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !FParent) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(this);
  FParent->Broadcast(m);
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::UpdateTracking() {
  if (!FFlat || !Enabled()) return;
  POINT p;
  GetCursorPos(&p);
  TPoint local = ScreenToClient(ToTPoint(p));
  bool inside = InRect(ClientRect(), local.X, local.Y);
  if (inside != FMouseInControl) {
    FMouseInControl = inside;
    Invalidate();
  }
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && Enabled()) {
    if (!FDown) {
      FState = bsDown;
      Invalidate();
    }
    FDragging = true;
  }
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TButtonState newState = FDown ? bsExclusive : bsUp;
  if (InRect(ClientRect(), X, Y)) newState = FDown ? bsExclusive : bsDown;
  if (newState != FState) {
    FState = newState;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  bool doClick = InRect(ClientRect(), X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = false;
    Invalidate();
  } else if (doClick) {
    SetDown(!FDown);
    if (FDown) Repaint();
    // A button that could not go up (last of its group) is drawn held again.
    if (FDown && FState != bsExclusive) {
      FState = bsExclusive;
      Invalidate();
    }
  } else {
    if (FDown) FState = bsExclusive;
    Repaint();
  }
  if (doClick) Click();
  UpdateTracking();
}

void TSpeedButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
      // A double click on a button held down by its group is a double click; elsewhere
      // it is a second press.
      if (!FDown) Message.Msg = WM_LBUTTONDOWN;
      break;
    case CM_BUTTONPRESSED: {
      if (int(Message.WParam) != FGroupIndex) return;
      auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
      if (sender == this) return;
      if (sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
      }
      FAllowAllUp = sender->AllowAllUp();
      return;
    }
    case CM_DIALOGCHAR: {
      char32_t accel = AcceleratorOf(Caption());
      if (accel && UpperChar(accel) == UpperChar(char32_t(Message.WParam)) && Enabled() && Visible() && FParent &&
          FParent->Showing()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      if (!Enabled()) {
        FMouseInControl = false;
        FState = bsDisabled;
      }
      Invalidate();
      return;
    case CM_MOUSEENTER:
      TGraphicControl::WndProc(Message);
      if (Enabled()) {
        FMouseInControl = true;
        if (FFlat) Invalidate();
      }
      return;
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(Message);
      if (FMouseInControl) {
        FMouseInControl = false;
        if (FFlat && Enabled() && !FDragging) Invalidate();
      }
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      return;
    case CM_SYSCOLORCHANGE:
      FGlyph->SetNumGlyphs(FGlyph->NumGlyphs());
      Invalidate();
      return;
    default: break;
  }
  TGraphicControl::WndProc(Message);
}

void TSpeedButton::Paint() {
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  TCanvas* c = Canvas();
  c->SetFont(Font());
  RECT paintRect{0, 0, Width(), Height()};
  bool pressed = FState == bsDown || FState == bsExclusive;
  HTHEME theme = nullptr;
  if (IsThemeActive() && FParent && FParent->HandleAllocated())
    theme = OpenThemeData(FParent->Handle(), FFlat ? "toolbar" : "button");
  if (theme) {
    int part = FFlat ? TP_BUTTON : BP_PUSHBUTTON;
    int state;
    if (FFlat) {
      if (FState == bsDisabled) state = TS_DISABLED;
      else if (FState == bsDown) state = TS_PRESSED;
      else if (FState == bsExclusive) state = FMouseInControl ? TS_HOTCHECKED : TS_CHECKED;
      else state = FMouseInControl ? TS_HOT : TS_NORMAL;
      if (!FTransparent || state != TS_NORMAL) {
        if (!FTransparent) {
          c->Brush()->SetColor(Color());
          c->Brush()->SetStyle(bsSolid);
          c->FillRect(ToTRect(paintRect));
        }
      }
    } else {
      if (FState == bsDisabled) state = PBS_DISABLED;
      else if (pressed) state = PBS_PRESSED;
      else state = FMouseInControl ? PBS_HOT : PBS_NORMAL;
    }
    if (!FFlat || state != TS_NORMAL) DrawThemeBackground(theme, c->GetHandle(), part, state, &paintRect, nullptr);
    RECT content = paintRect;
    GetThemeBackgroundContentRect(theme, c->GetHandle(), part, state, &paintRect, &content);
    CloseThemeData(theme);
    paintRect = content;
  } else if (!FFlat) {
    UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (pressed) flags |= DFCS_PUSHED;
    DrawFrameControl(c->GetHandle(), &paintRect, DFC_BUTTON, flags);
  } else {
    if (pressed || (FMouseInControl && FState != bsDisabled) || FComponentState.Contains(csDesigning)) {
      DrawEdge(c->GetHandle(), &paintRect, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
               (FTransparent ? 0u : UINT(BF_MIDDLE)) | BF_RECT);
    } else if (!FTransparent) {
      c->Brush()->SetColor(Color());
      c->Brush()->SetStyle(bsSolid);
      c->FillRect(ToTRect(paintRect));
    }
    paintRect.left += 1;
    paintRect.top += 1;
    paintRect.right -= 1;
    paintRect.bottom -= 1;
  }
  TPoint offset{0, 0};
  if (pressed) {
    if (FState == bsExclusive && !theme && (!FFlat || !FMouseInControl)) {
      HBRUSH brush = PatternBrush();
      FillRect(c->GetHandle(), &paintRect, brush);
      DeleteObject(brush);
    }
    offset = TPoint{1, 1};
  }
  c->Font()->SetColor(Font()->GetColor());
  FGlyph->Draw(c, ToTRect(paintRect), offset, Caption(), FLayout, FMargin, FSpacing, FState, FTransparent);
}

// Every class of the unit can be named in a stored form.
static const bool kButtonsRegistered = [] {
  RegisterClass(TSpeedButton::StaticClass());
  return true;
}();
