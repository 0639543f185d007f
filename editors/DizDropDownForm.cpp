// DizDropDown, the drop-down editor's pop-up form, its header and footer strips and the
// drop button.
#include <algorithm>

#include "editors/DizDropDownEditor.h"

#include "editors/DizButton.h"
#include "foundation/Deahtml.h"
#include "foundation/DizStyleIF.h"
#include "platform/gdi/Edges.h"
#include "platform/gdi/UxTheme.h"
#include "platform/rtl/SysUtils.h"

namespace DizDropDown {
namespace {
// The glyph with the colour of its top-left pixel replaced by Color, copied to R.
void DrawGlyphTransparent(TCanvas* Canvas, TBitmap* Glyph, TColor Color, const TRect& R) {
  TBitmap scratch(Glyph->GetWidth(), Glyph->GetHeight());
  scratch.Canvas()->Brush()->SetColor(Color);
  TRect all{0, 0, Glyph->GetWidth(), Glyph->GetHeight()};
  scratch.Canvas()->FillRect(all);
  scratch.Canvas()->BrushCopy(all, Glyph, all, Glyph->Canvas()->GetPixel(0, 0));
  Canvas->StretchDraw(TRect{R.Left, R.Top, R.Left + R.Width(), R.Top + R.Height()}, &scratch);
}
}  // namespace

// ---- pop-up form ----------------------------------------------------------------------------

TDropDownForm::TDropDownForm(TComponent* AOwner) : TDropDownForm(AOwner, 0) {}

TDropDownForm::TDropDownForm(TComponent* AOwner, int) : TForm(AOwner) {
  Shadow = true;
  CancelOnDeactivate = true;
}

TDropDownForm::~TDropDownForm() = default;

void TDropDownForm::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_TOPMOST;
  if (FDropDown)
    if (TCustomForm* f = GetParentForm(FDropDown)) Params.WndParent = f->Handle();
}

void TDropDownForm::AdjustClientRect(TRect& Rect) {
  TForm::AdjustClientRect(Rect);
  if (!FDropDown) return;
  int b = FDropDown->DropDownBorderWidth;
  Rect = TRect{Rect.Left + b, Rect.Top + b, Rect.Right - b, Rect.Bottom - b};
}

HWND TDropDownForm::GetParentWnd() {
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  if (!owner || !owner->HandleAllocated()) return nullptr;
  HWND h = GetParent(owner->Handle());
  if (!h) return nullptr;
  while (HWND p = GetParent(h)) h = p;
  return h;
}

void TDropDownForm::DrawBackGround(TCanvas* ACanvas) {
  if (!FDropDown || !ACanvas) return;
  TDizCustomDropDown* d = FDropDown;
  int b = d->DropDownBorderWidth;
  TRect c = ClientRect();
  TRect r{c.Left + b, c.Top + b, c.Right - b, c.Bottom - b};
  if (d->DropDownColor != clNone && d->DropDownColorTo != clNone) {
    DrawGradient(ACanvas, d->DropDownColor, d->DropDownColorTo, 80, r, d->DropDownGradient == gdHorizontal);
  } else if (d->DropDownColor != clNone) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(d->DropDownColor);
    ACanvas->FillRect(r);
  }
  if (b > 0) {
    TRect f{c.Left + b / 2, c.Top + b / 2, c.Right, c.Bottom};
    ACanvas->Pen()->SetWidth(b);
    ACanvas->Pen()->SetColor(d->DropDownBorderColor);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Rectangle(f);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Brush()->SetStyle(bsSolid);
  }
}

void TDropDownForm::Paint() {
  TForm::Paint();
  DrawBackGround(Canvas());
}

void TDropDownForm::InitializeAndUpdate() {
  if (!FDropDown) return;
  TDizCustomDropDown* d = FDropDown;
  if (FHeader) {
    FHeader->SetDizDropDown(d);
    FHeader->Initialize();
    FHeader->SetVisible(d->DropDownHeader()->Visible);
  } else if (d->DropDownHeader()->Visible) {
    FHeader = new TDizHeader(this);
    FHeader->SetParent(this);
    FHeader->SetHeight(d->DropDownHeader()->Height);
    FHeader->SetDizDropDown(d);
    FHeader->Initialize();
    FHeader->SetAlign(alTop);
  }
  if (FHeader) {
    FHeader->OnDrawBackGround = d->OnDrawHeader;
    FHeader->OnGetText = d->OnGetHeaderText;
  }
  if (FFooter) {
    FFooter->SetDizDropDown(d);
    FFooter->Initialize();
    FFooter->SetVisible(d->DropDownFooter()->Visible);
  } else if (d->DropDownFooter()->Visible) {
    FFooter = new TDizFooter(this);
    FFooter->SetParent(this);
    FFooter->SetHeight(d->DropDownFooter()->Height);
    FFooter->SetDizDropDown(d);
    FFooter->Initialize();
    FFooter->SetAlign(alBottom);
  }
  if (FFooter) {
    FFooter->OnDrawBackGround = d->OnDrawFooter;
    FFooter->OnGetText = d->OnGetFooterText;
  }
}

void TDropDownForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      TForm::WndProc(Message);
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        // The owner window keeps its active caption while the pop-up has the focus.
        if (HWND p = GetParentWnd()) SendMessage(p, WM_NCACTIVATE, 1, 0);
      } else if (Visible()) {
        LastCloseTick = GetTickCount();
        FDeactivated = true;
        if (FDropDown) FDropDown->DoHideDropDown(CancelOnDeactivate);
        else Hide();
      }
      return;
    case WM_NCHITTEST: {
      POINT p{SHORT(LOWORD(DWORD(Message.LParam))), SHORT(HIWORD(DWORD(Message.LParam)))};
      ::ScreenToClient(Handle(), &p);
      Message.Result = (SizeGripArea && p.x > Width() - 10 && p.y > Height() - 10) ? HTBOTTOMRIGHT : HTNOWHERE;
      return;
    }
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; return;
    case WM_SIZING:
      TForm::WndProc(Message);
      if (OnSizing) OnSizing(this);
      return;
    case WM_SIZE:
      TForm::WndProc(Message);
      if (HandleAllocated()) Invalidate();
      return;
    default: break;
  }
  TForm::WndProc(Message);
}

// ---- strips ---------------------------------------------------------------------------------

TDizHeader::TDizHeader(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(std::make_unique<THeaderAppearance>(this)) {
  TControlStyle s = ControlStyle();
  s += csAcceptsControls;
  s += csClickEvents;
  s += csDoubleClicks;
  SetControlStyle(s);
  SetDoubleBuffered(true);
  FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
}

TDizHeader::~TDizHeader() { DestroyButtons(); }

THeaderButtons* TDizHeader::Buttons() const { return FDropDown ? FDropDown->DropDownHeader()->Buttons() : nullptr; }

void TDizHeader::SetDizDropDown(TDizCustomDropDown* DropDown) {
  FDropDown = DropDown;
  if (DropDown) {
    FImages = DropDown->Images();
    FAppearance->Assign(DropDown->DropDownHeader());
  } else {
    FImages = nullptr;
  }
}

void TDizHeader::Initialize() {
  if (FDropDown) CreateButtons();
}

TRect TDizHeader::GetButtonsRect() {
  TRect r = ClientRect();
  return TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3};
}

TRect TDizHeader::GetButtonsCoveredRect() {
  if (FButtonList.Count() == 0) return TRect{-1, -1, -1, -1};
  TRect r = GetButtonsRect();
  auto* last = static_cast<TControl*>(FButtonList.GetItemsEx(FButtonList.Count() - 1));
  r.Right = last->Left() - 2;
  return r;
}

// One push button per item of the strip's collection, sized to its caption and image,
// never higher than the strip leaves room for; the footer's close the pop-up by their
// modal result.
void TDizHeader::CreateButtons() {
  if (!FDropDown) return;
  DestroyButtons();
  bool footer = dynamic_cast<TDizFooter*>(this) != nullptr;
  TCollection* items = footer ? static_cast<TCollection*>(FDropDown->DropDownFooter()->Buttons())
                              : static_cast<TCollection*>(FDropDown->DropDownHeader()->Buttons());
  for (int i = 0; i < items->Count(); ++i) {
    auto* item = static_cast<THeaderButton*>(items->Items(i));
    auto* b = new TDizButton(this);
    b->SetParent(this);
    b->SetAppearance(FDropDown->ButtonAppearance());
    b->SetCaption(item->Caption());
    b->SetImages(FImages);
    b->SetImageIndex(item->ImageIndex());
    b->SetEnabled(item->Enabled());
    if (footer) {
      b->SetDizDropDown(FDropDown);
      b->SetModalResult(static_cast<TFooterButton*>(item)->ModalResult());
    }
    b->SetAutoSizeEx();
    if (item->Width() > 0) b->SetWidth(item->Width());
    if (item->Height() > 0) b->SetHeight(item->Height());
    b->SetHeight(std::min(b->Height(), GetMaxButtonHeight()));
    b->SetTag(i);
    b->OnClick = [this](TObject* Sender) { OnButtonClick(Sender); };
    FButtonList.Add(b);
  }
  ArrangeButtons();
}

void TDizHeader::OnButtonClick(TObject* Sender) {
  auto* b = dynamic_cast<TDizButton*>(Sender);
  if (!b || !FDropDown) return;
  bool footer = dynamic_cast<TDizFooter*>(this) != nullptr;
  const TDropDownButtonItemClick& e =
      footer ? FDropDown->OnDropDownFooterButtonClick : FDropDown->OnDropDownHeaderButtonClick;
  if (e) e(FDropDown, b->Tag());
}

void TDizHeader::DestroyButtons() {
  for (int i = FButtonList.Count() - 1; i >= 0; --i) delete static_cast<TControl*>(FButtonList.GetItemsEx(i));
  FButtonList.Clear();
}

void TDizHeader::ArrangeButtons() {
  TRect r = GetButtonsRect();
  int x = Look()->ButtonAlignment == baRight ? r.Right : r.Left;
  for (int i = 0; i < FButtonList.Count(); ++i) {
    auto* b = static_cast<TControl*>(FButtonList.GetItemsEx(i));
    int top = std::max(r.Top, (r.Bottom - b->Height()) / 2);
    if (Look()->ButtonAlignment == baRight) {
      x -= b->Width();
      b->SetBounds(x, top, b->Width(), b->Height());
    } else {
      b->SetBounds(x, top, b->Width(), b->Height());
      x += b->Width();
    }
  }
}

void TDizHeader::UpdateButtons() {
  TCollection* items = nullptr;
  if (FDropDown)
    items = dynamic_cast<TDizFooter*>(this) ? static_cast<TCollection*>(FDropDown->DropDownFooter()->Buttons())
                                            : static_cast<TCollection*>(FDropDown->DropDownHeader()->Buttons());
  for (int i = 0; i < FButtonList.Count(); ++i) {
    auto* b = static_cast<TDizButton*>(FButtonList.GetItemsEx(i));
    if (FDropDown) b->SetAppearance(FDropDown->ButtonAppearance());
    b->SetImages(FImages);
    if (items && i < items->Count()) {
      auto* item = static_cast<THeaderButton*>(items->Items(i));
      b->SetCaption(item->Caption());
      b->SetImageIndex(item->ImageIndex());
      b->SetEnabled(item->Enabled());
    }
    b->SetAutoSize(true);
  }
  ArrangeButtons();
}

void TDizHeader::AppearanceChanged(TObject*) {
  SetVisible(Look()->Visible);
  SetHeight(Look()->Height);
}

void TDizHeader::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TDizHeader::WndProc(TMessage& Message) {
  TCustomControl::WndProc(Message);
  if (Message.Msg == WM_SIZE) ArrangeButtons();
}

void TDizHeader::Paint() { PaintStrip(false); }

void TDizHeader::PaintStrip(bool Footer) {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (OnDrawBackGround) {
    OnDrawBackGround(this, c, r);
    return;
  }
  TStripAppearance* a = Look();
  if (a->ColorTo != clNone) {
    DrawGradient(c, a->Color, a->ColorTo, 80, r, a->GradientDirection == gdHorizontal);
  } else if (a->Color != clNone) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(a->Color);
    c->FillRect(r);
  }
  int bw = a->BorderWidth;
  if (a->BorderColor != clNone && bw > 0) {
    c->Pen()->SetWidth(bw);
    c->Pen()->SetColor(a->BorderColor);
    // The pop-up's own border frames the strip on the other three sides.
    bool framed = FDropDown && FDropDown->DropDownBorderWidth > 0 && FDropDown->DropDownBorderColor != clNone;
    if (!Footer) {
      c->MoveTo(r.Left, r.Bottom - 1);
      c->LineTo(r.Right, r.Bottom - 1);
      if (!framed) {
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right, r.Top);
        c->LineTo(r.Right, r.Bottom - 1);
      }
    } else {
      c->MoveTo(r.Left, r.Top);
      c->LineTo(r.Right, r.Top);
      if (!framed) {
        c->MoveTo(r.Left, r.Top);
        c->LineTo(r.Left, r.Bottom);
        c->LineTo(r.Right, r.Bottom);
        c->LineTo(r.Right, r.Top);
      }
    }
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(BlendColor(a->BorderColor, clWhite, 20));
    c->Brush()->SetStyle(bsClear);
    if (!Footer) c->Rectangle(TRect{r.Left, r.Top, r.Right, r.Bottom - bw});
    else c->Rectangle(TRect{r.Left, r.Top + bw, r.Right, r.Bottom});
    c->Brush()->SetStyle(bsSolid);
  }
  int inset = std::max(bw, 0);
  TRect t{r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
  if (a->ImageIndex >= 0 && FImages) {
    int x = t.Left + 4;
    FImages->Draw(c, x, t.Top + (t.Height() - FImages->GetHeight()) / 2, a->ImageIndex, true);
    t.Left = x + FImages->GetWidth() + 4;
  }
  std::string text = a->Caption;
  if (OnGetText) OnGetText(this, text);
  if (!text.empty()) {
    if (FButtonList.Count() > 0) t.Right = GetButtonsCoveredRect().Right;
    c->Font()->Assign(a->Font());
    std::string anchor, plain, focused, title, id, value, type;
    int ex = 0, ey = 0, links = 0, hit = 0;
    TRect hot, ctl;
    HTMLDrawEx(c, text, t, FImages, 0, 0, -1, -1, 1, false, true, false, false, false, false, true, false, 1.0,
               clBlue, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl, id, value,
               type, nullptr, nullptr, HandleAllocated() ? Handle() : nullptr);
    if (ey < t.Height()) t.Top += (t.Height() - ey) / 2;
    HTMLDrawEx(c, text, t, FImages, 0, 0, -1, -1, 1, false, false, false, false, false, false, true, false, 1.0,
               clBlue, clNone, clNone, clGray, anchor, plain, focused, title, ex, ey, links, hit, hot, ctl, id, value,
               type, nullptr, nullptr, HandleAllocated() ? Handle() : nullptr);
  }
}

TDizFooter::TDizFooter(TComponent* AOwner)
    : TDizHeader(AOwner), FFooterAppearance(std::make_unique<TFooterAppearance>(this)) {
  FFooterAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
}

TDizFooter::~TDizFooter() = default;

TFooterButtons* TDizFooter::Buttons() const { return FDropDown ? FDropDown->DropDownFooter()->Buttons() : nullptr; }

void TDizFooter::SetDizDropDown(TDizCustomDropDown* DropDown) {
  FDropDown = DropDown;
  if (DropDown) {
    FImages = DropDown->Images();
    FFooterAppearance->Assign(DropDown->DropDownFooter());
  } else {
    FImages = nullptr;
  }
}

TRect TDizFooter::GetButtonsRect() {
  TRect r = ClientRect();
  TRect b{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
  if (HasSizeGrip()) b.Right -= 12;
  return b;
}

bool TDizFooter::HasSizeGrip() const {
  return FFooterAppearance->SizeGrip && FDropDown && FDropDown->DropDownSizeable;
}

void TDizFooter::DrawSizeGrip(const TRect& G) {
  TCanvas* c = Canvas();
  static const int pairs[][2] = {{5, 2}, {9, 2}, {13, 2}, {13, 6}, {13, 10}, {9, 6}};
  auto dot = [&](int x, int y, TColor col) {
    c->Pen()->SetColor(col);
    c->Brush()->SetColor(col);
    c->Brush()->SetStyle(bsSolid);
    c->Rectangle(TRect{x, y, x + 2, y + 2});
  };
  for (auto& p : pairs) dot(G.Left + p[0], G.Bottom - p[1] - 2, clWhite);
  for (auto& p : pairs) dot(G.Left + p[0] - 1, G.Bottom - (p[1] + 1) - 2, FFooterAppearance->BorderColor);
}

void TDizFooter::Paint() {
  PaintStrip(true);
  if (OnDrawBackGround) return;
  TRect r = ClientRect();
  int bw = FFooterAppearance->BorderWidth;
  if (HasSizeGrip()) DrawSizeGrip(TRect{r.Right - bw - 16, 1, r.Right - bw - 1, r.Bottom});
}

void TDizFooter::RestoreCursor() {
  if (Screen && Screen->Cursor() != FSavedCursor) Screen->SetCursor(FSavedCursor);
}

void TDizFooter::WndProc(TMessage& Message) {
  if (Message.Msg == CM_MOUSEENTER && HasSizeGrip() && Parent() && Screen && Screen->Cursor() != crSizeNWSE)
    FSavedCursor = Screen->Cursor();
  if (Message.Msg == CM_MOUSELEAVE && HasSizeGrip() && Parent()) RestoreCursor();
  TDizHeader::WndProc(Message);
}

void TDizFooter::MouseMove(TShiftState Shift, int X, int Y) {
  TDizHeader::MouseMove(Shift, X, Y);
  if (!HasSizeGrip() || !Parent() || !Screen) return;
  if (InGripZone(X, Y)) Screen->SetCursor(crSizeNWSE);
  else RestoreCursor();
}

void TDizFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizHeader::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !HasSizeGrip() || !Parent() || !InGripZone(X, Y)) return;
  // The pop-up form sizes itself from its bottom-right corner in the window system's loop.
  ReleaseCapture();
  TPoint s = ClientToScreen(TPoint{X, Y});
  SendMessage(Parent()->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(WORD(s.X), WORD(s.Y)));
}

void TDizFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDizHeader::MouseUp(Button, Shift, X, Y);
  if (HasSizeGrip() && Parent()) RestoreCursor();
}

// ---- drop button ------------------------------------------------------------------------------

int GetFileVersion(const std::string& FileName) {
  // The system reports common controls 6.0 for its library; other files carry no version.
  if (SameText(FileName, "COMCTL32.DLL")) return int((6u << 16) | 0u);
  return -1;
}

TDizDropDownSpeedButton::TDizDropDownSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  FThemesPossible = (((unsigned(GetFileVersion("COMCTL32.DLL")) >> 16) & 0xFF)) > 5;
  FUp = false;
}

void TDizDropDownSpeedButton::SetButtonStyle(TDropDownButtonStyle Value) {
  FButtonStyle = Value;
  Invalidate();
}

void TDizDropDownSpeedButton::SetEtched(bool Value) {
  if (Value == FEtched) return;
  FEtched = Value;
  Invalidate();
}

void TDizDropDownSpeedButton::SetFocused(bool Value) {
  if (Value == FFocused) return;
  FFocused = Value;
  Invalidate();
}

void TDizDropDownSpeedButton::WndProc(TMessage& Message) {
  TSpeedButton::WndProc(Message);
  if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
    FHot = Message.Msg == CM_MOUSEENTER;
    Invalidate();
  }
}

bool TDizDropDownSpeedButton::DoVisualStyles() const { return FThemesPossible && IsThemeActive(); }

bool TDizDropDownSpeedButton::Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }

int TDizDropDownSpeedButton::ThemeState() const {
  if (!Enabled()) return 4;
  if (Pressed()) return 3;
  if (FHot) return 2;
  return 1;
}

void TDizDropDownSpeedButton::Paint() {
  if (FButtonStyle == bsButton) PaintButton();
  else PaintDropDown();
}

void TDizDropDownSpeedButton::PaintDropDown() {
  // The button follows the editor: disabled with it and while it is read-only.
  TComponent* editor = Owner() ? Owner()->Owner() : nullptr;
  if (auto* d = dynamic_cast<TDizCustomDropDown*>(editor)) {
    bool on = d->Enabled() && !d->ReadOnly();
    if (on != Enabled()) SetEnabled(on);
  }
  TCanvas* c = Canvas();
  if (DoVisualStyles()) {
    HTHEME theme = OpenThemeData(Parent() ? Parent()->Handle() : nullptr, "combobox");
    RECT r{0, 0, Width(), Height()};
    if (IsVista()) r.left += 1;
    else {
      r = RECT{r.left - 1 + 2, r.top - 1, r.right + 1, r.bottom + 1};
    }
    FPaintedState = ThemeState();
    DrawThemeBackground(theme, c->GetHandle(), CP_DROPDOWNBUTTON, FPaintedState, &r, nullptr);
    CloseThemeData(theme);
    return;
  }
  TSpeedButton::Paint();
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBtnFace);
  c->MoveTo(Width() - 2, 0);
  c->LineTo(0, 0);
  c->LineTo(0, Height() - 1);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(Width() - 3, 1);
  c->LineTo(1, 1);
  c->LineTo(1, Height() - 2);
}

void TDizDropDownSpeedButton::PaintButton() {
  TCanvas* c = Canvas();
  if (Owner() && Owner()->Owner())
    if (auto* d = dynamic_cast<TDizCustomDropDown*>(Owner()->Owner())) c->Font()->Assign(d->Font());
  bool down = Pressed();
  TBitmap* glyph = Glyph();
  std::string caption = Caption();
  if (DoVisualStyles()) {
    TRect b{0, 0, Width(), Height()};
    c->FillRect(b);
    RECT r{0, 0, Width() + 1, Height() + 1};
    HTHEME theme = OpenThemeData(Parent() ? Parent()->Handle() : nullptr, "button");
    FPaintedState = ThemeState();
    DrawThemeBackground(theme, c->GetHandle(), 1, FPaintedState, &r, nullptr);
    CloseThemeData(theme);
    TRect cr{0, 0, Width(), Height()};
    if (glyph && !glyph->GetEmpty()) {
      TRect g{cr.Left + 2, cr.Top + 2, cr.Right - 2, cr.Bottom - 2};
      int x = g.Left, y = g.Top;
      if (!caption.empty()) x += 2;
      else if (glyph->GetWidth() < g.Width()) x = g.Left + (g.Width() - glyph->GetWidth()) / 2;
      if (glyph->GetHeight() < g.Height()) y = g.Top + (g.Height() - glyph->GetHeight()) / 2;
      if (down) {
        ++x;
        ++y;
      }
      glyph->SetTransparent(true);
      c->Draw(x, y, glyph);
      cr.Left = x + glyph->GetWidth() + 2;
      cr.Top -= 1;
    }
    if (!caption.empty()) {
      c->Brush()->SetStyle(bsClear);
      if (!glyph || glyph->GetEmpty()) {
        TRect t{cr.Left + 3, cr.Top + 1, cr.Right - 3, cr.Bottom - 1};
        if (down) t = TRect{t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1};
        c->TextRect(t, caption, TTextFormat{tfCenter, tfSingleLine, tfVerticalCenter});
      } else {
        c->TextRect(cr, caption, TTextFormat{tfLeft, tfSingleLine, tfVerticalCenter});
      }
      c->Brush()->SetStyle(bsSolid);
    }
    return;
  }
  if (Flat()) {
    TRect b{0, 0, Width(), Height()};
    c->FillRect(b);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(b);
    RECT r{0, 0, Width() + 1, Height() + 1};
    UINT edge = FEtched ? EDGE_ETCHED : EDGE_RAISED;
    DrawEdge(c->GetHandle(), &r, edge, BF_RECT | (down ? BF_FLAT : 0));
    if (glyph && !glyph->GetEmpty()) {
      TRect g{3, 3, Width() - 3, Height() - 3};
      if (down) g = TRect{g.Left + 1, g.Top + 1, g.Right + 1, g.Bottom + 1};
      DrawGlyphTransparent(c, glyph, clBtnFace, g);
    }
    if (!caption.empty()) {
      TRect t{3, 1, Width() - 3, Height() - 1};
      if (down) t = TRect{t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1};
      c->Brush()->SetStyle(bsClear);
      c->TextRect(t, caption, TTextFormat{tfCenter, tfSingleLine, tfVerticalCenter});
      c->Brush()->SetStyle(bsSolid);
    }
    return;
  }
  TSpeedButton::Paint();
}

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  TControlStyle s = ControlStyle();
  s -= csAcceptsControls;
  s -= csSetCaption;
  s += csOpaque;
  SetControlStyle(s);
  CreateButton();
  FButton->SetButtonStyle(bsDropDown);
  FButtonWidth = 16;
  SetBounds(Left(), Top(), 16, 25);
}

void TDropDownEditButton::CreateButton() {
  FButton = new TDizDropDownSpeedButton(this);
  FButton->SetParent(this);
  FButton->OnClick = [](TObject*) {};
  FButton->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    BtnMouseDown(Sender, Button, Shift, X, Y);
  };
  FButton->SetVisible(true);
  FButton->SetEnabled(Enabled());
  FButton->SetCaption("");
}

void TDropDownEditButton::BtnMouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
  if (Button == mbLeft && OnClick && Sender == FButton) OnClick(this);
}

void TDropDownEditButton::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  ApplyBounds();
}

void TDropDownEditButton::ApplyBounds() {
  if (Width() != FButtonWidth) TWinControl::SetBounds(Left(), Top(), FButtonWidth, Height());
  if (FButton) FButton->SetBounds(0, 0, FButtonWidth, Height());
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, FButtonWidth, AHeight);
  if (FButton && !ComponentState().Contains(csLoading)) FButton->SetBounds(0, 0, FButtonWidth, AHeight);
}

void TDropDownEditButton::Loaded() {
  TWinControl::Loaded();
  ApplyBounds();
}

void TDropDownEditButton::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl && FFocusControl != Owner()) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (FFocusControl && FFocusControl != Owner()) FFocusControl->FreeNotification(this);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
  if (Operation == opRemove && AComponent == FButton) FButton = nullptr;
}

void TDropDownEditButton::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE) {
    TWinControl::WndProc(Message);
    if (Width() != FButtonWidth || (FButton && FButton->Width() != FButtonWidth)) ApplyBounds();
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
}

}  // namespace DizDropDown
