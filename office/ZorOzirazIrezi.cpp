// The office pager: styler base, button settings, pages, page management, activation,
// styler link and lifecycle.
#include "office/ZorOzirazIrezi.h"

#include <algorithm>

#include "office/ZorOzirazIreziStylers.h"
#include "platform/vcl/Filer.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace ZorOzirazIrezi;

UINT ZorOzirazIreziDestroyCloseBtnMessage() {
  static const UINT msg = RegisterWindowMessage("OPDESTROYCLOSEBTN");
  return msg;
}

namespace {
// The message is registered when the unit starts.
const UINT StartUpRegistration = ZorOzirazIreziDestroyCloseBtnMessage();

}  // namespace

// ---- styler base ----------------------------------------------------------------------------

TCustomZorOzirazIreziStyler::TCustomZorOzirazIreziStyler(TComponent* AOwner)
    : TComponent(AOwner),
      FTabAppearance(std::make_unique<TTabAppearance>()),
      FPageAppearance(std::make_unique<TVistaBackground>()),
      FGlowButtonAppearance(std::make_unique<TGlowButtonAppearance>()) {
  FTabAppearance->OnChange = [this](TObject*) { Change(1); };
  FTabAppearance->OnFontChange = [this](TObject*) { Change(5); };
  FPageAppearance->OnChange = [this](TObject*) { Change(2); };
  FGlowButtonAppearance->OnChange = [this](TObject*) { Change(4); };
}

TCustomZorOzirazIreziStyler::~TCustomZorOzirazIreziStyler() {
  Destroying();
  // Every pager still using this styler falls back to its internal one, at design time and
  // at run time alike, so that none keeps a reference to a freed styler.
  for (int i = FControls.Count() - 1; i >= 0; --i) {
    if (i >= FControls.Count()) continue;
    auto* pager = dynamic_cast<TZorOzirazIrezi*>(static_cast<TControl*>(FControls.GetItemsEx(i)));
    if (pager && pager->ZorOzirazIreziStyler() == this && !IsDestroying(pager)) pager->SetOfficePagerStyler(nullptr);
  }
}

void TCustomZorOzirazIreziStyler::AddControl(TControl* Control) {
  FControls.Add(Control);
  if (Control) Control->FreeNotification(this);
}

void TCustomZorOzirazIreziStyler::RemoveControl(TControl* Control) {
  int i = FControls.IndexOf(Control);
  if (i >= 0) FControls.Delete(i);
}

void TCustomZorOzirazIreziStyler::Change(int Kind) {
  if (IsDestroying(this)) return;
  for (int i = 0; i < FControls.Count(); ++i) {
    auto* pager = dynamic_cast<TZorOzirazIrezi*>(static_cast<TControl*>(FControls.GetItemsEx(i)));
    if (pager) pager->UpdateMe(Kind);
  }
}

void TCustomZorOzirazIreziStyler::SetRoundEdges(bool Value) {
  FRoundEdges = Value;
  Change(3);
}

void TCustomZorOzirazIreziStyler::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomZorOzirazIreziStyler*>(Source)) {
    FTabAppearance->Assign(s->TabAppearance());
    FPageAppearance->Assign(s->PageAppearance());
    SetRoundEdges(s->RoundEdges());
    return;
  }
  TComponent::Assign(Source);
}

void TCustomZorOzirazIreziStyler::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && !IsDestroying(this)) {
    while (FControls.IndexOf(static_cast<TControl*>(dynamic_cast<TControl*>(AComponent))) >= 0 &&
           dynamic_cast<TControl*>(AComponent))
      FControls.Remove(dynamic_cast<TControl*>(AComponent));
  }
}

// ---- button settings ------------------------------------------------------------------------

TPageButtonSettings::TPageButtonSettings() {
  auto load = [](const char* name) {
    auto p = std::make_unique<TGDIPPicture>();
    p->LoadFromResourceName(nullptr, name);
    return p;
  };
  FCloseButtonPicture = load("DIZAOCLOSE");
  FPageListButtonPicture = load("DIZAOLIST");
  FScrollButtonPrevPicture = load("DIZAOPREV");
  FScrollButtonNextPicture = load("DIZAONEXT");
  FScrollButtonFirstPicture = load("DIZAOFIRST");
  FScrollButtonLastPicture = load("DIZAOLAST");
  FUp = load("DIZAOUP");
  FDown = load("DIZAODOWN");
  FUpFirst = load("DIZAOUPFIRST");
  FDownLast = load("DIZAODOWNLAST");
  for (TGDIPPicture* p : {FCloseButtonPicture.get(), FPageListButtonPicture.get(), FScrollButtonPrevPicture.get(),
                          FScrollButtonNextPicture.get(), FScrollButtonFirstPicture.get(),
                          FScrollButtonLastPicture.get()})
    p->OnChange = [this](TObject* Sender) { OnPictureChanged(Sender); };
}

TPageButtonSettings::~TPageButtonSettings() = default;

void TPageButtonSettings::OnPictureChanged(TObject* Sender) {
  if (Sender == FScrollButtonNextPicture.get()) FNextChanged = true;
  else if (Sender == FScrollButtonPrevPicture.get()) FPrevChanged = true;
  else if (Sender == FScrollButtonLastPicture.get()) FLastChanged = true;
  else if (Sender == FScrollButtonFirstPicture.get()) FFirstChanged = true;
  Changed();
}

void TPageButtonSettings::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPageButtonSettings*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  SetPageListButton(s->PageListButton());
  SetCloseButton(s->CloseButton());
  SetScrollButtonNextPicture(s->ScrollButtonNextPicture());
  SetScrollButtonPrevPicture(s->ScrollButtonPrevPicture());
  SetPageListButtonPicture(s->PageListButtonPicture());
  SetCloseButtonPicture(s->CloseButtonPicture());
  SetScrollButtonsAlways(s->ScrollButtonsAlways());
  SetScrollButtonFirstPicture(s->ScrollButtonFirstPicture());
  SetScrollButtonLastPicture(s->ScrollButtonLastPicture());
}

// ---- page ----------------------------------------------------------------------------------

TDizOfficePage::TDizOfficePage(TComponent* AOwner)
    : TCustomControl(AOwner),
      FPicture(std::make_unique<TGDIPPicture>()),
      FDisabledPicture(std::make_unique<TGDIPPicture>()),
      FTabAppearance(std::make_unique<TTabAppearance>()),
      FPageAppearance(std::make_unique<TVistaBackground>()),
      FOfficeHint(std::make_unique<TDizHintInfo>()) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  SetDoubleBuffered(true);
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
  FDisabledPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
  FTabAppearance->OnChange = [this](TObject* s) { OnTabAppearanceChanged(s); };
  FTabAppearance->OnFontChange = [this](TObject* s) { OnTabAppearanceFontChanged(s); };
  FPageAppearance->OnChange = [this](TObject* s) { OnPageAppearanceChanged(s); };
}

TDizOfficePage::~TDizOfficePage() {
  if (FPager) FPager->RemoveDizPage(this);
  FreeGlowTimer();
  if (FShortCutHintWin && FPager) FPager->DestroyShortCutHintWin(FShortCutHintWin);
  FShortCutHintWin = nullptr;
}

void TDizOfficePage::FreeGlowTimer() {
  if (!FTimer) return;
  FTimer->SetEnabled(false);
  TTimer* t = FTimer;
  FTimer = nullptr;
  delete t;
}

void TDizOfficePage::ButtonsAndScroller(bool OnlyActive) {
  if (!FPager) return;
  if (FPager->CloseOnTab() && (!OnlyActive || FPager->ActivePage() == this)) FPager->InitializeAndUpdateButtons();
  FPager->UpdateTabScroller();
}

void TDizOfficePage::SetCaption(const std::string& Value) { SetText(Value); }

void TDizOfficePage::SetWideCaption(const std::u16string& Value) {
  if (FWideCaption == Value) return;
  FWideCaption = Value;
  Invalidate();
  if (FPager && Caption().empty()) {
    FPager->Invalidate();
    ButtonsAndScroller(true);
  }
}

void TDizOfficePage::SetPicture(TGDIPPicture* Value) {
  FPicture->Assign(Value);
  if (FPager) FPager->Invalidate();
  Invalidate();
}

void TDizOfficePage::SetDisabledPicture(TGDIPPicture* Value) {
  FDisabledPicture->Assign(Value);
  if (FPager) FPager->Invalidate();
  Invalidate();
}

void TDizOfficePage::SetImageIndex(int Value) {
  FImageIndex = Value;
  if (FPager) FPager->Invalidate();
}

void TDizOfficePage::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPager) {
    if (FPager->CloseOnTab()) FPager->InitializeAndUpdateButtons();
    if (TDizOfficePage* a = FPager->ActivePage()) a->Invalidate();
    FPager->Invalidate();
    FPager->UpdateTabScroller();
  }
  Invalidate();
}

void TDizOfficePage::SetTabEnabled(bool Value) {
  if (FTabEnabled == Value) return;
  FTabEnabled = Value;
  Invalidate();
  if (FPager) FPager->Invalidate();
}

void TDizOfficePage::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Invalidate();
  if (FPager) FPager->Invalidate();
}

void TDizOfficePage::SetShowCheckBox(bool Value) {
  if (FShowCheckBox == Value) return;
  FShowCheckBox = Value;
  if (FPager) {
    FPager->InitializeAndUpdateButtons();
    FPager->Invalidate();
  }
  Invalidate();
}

void TDizOfficePage::SetShowClose(bool Value) {
  if (FShowClose == Value) return;
  FShowClose = Value;
  if (!Value && FCloseButton) {
    TDovAvarOrodez* b = FCloseButton;
    FCloseButton = nullptr;
    delete b;
  }
  if (FPager) {
    FPager->InitializeAndUpdateButtons();
    FPager->Invalidate();
  }
  Invalidate();
}

void TDizOfficePage::SetUseTabAppearance(bool Value) {
  if (FUseTabAppearance == Value) return;
  FUseTabAppearance = Value;
  OnTabAppearanceFontChanged(this);
  if (FPager) FPager->Invalidate();
  Invalidate();
}

void TDizOfficePage::SetUsePageAppearance(bool Value) {
  if (FUsePageAppearance == Value) return;
  FUsePageAppearance = Value;
  Invalidate();
}

int TDizOfficePage::PageIndex() const { return FPager ? FPager->IndexOfPage(this) : -1; }

void TDizOfficePage::SetPageIndex(int Value) {
  if (!FPager || Value < 0 || Value >= FPager->GetDizOfficePageCount()) return;
  FPager->MoveDizPage(PageIndex(), Value);
  FPager->Invalidate();
  Invalidate();
}

void TDizOfficePage::PictureChanged(TObject*) {
  if (FPager) {
    FPager->Invalidate();
    if (!IsLoading(this)) ButtonsAndScroller(true);
  }
  Invalidate();
}

void TDizOfficePage::OnTabAppearanceChanged(TObject*) {
  if (FPager) FPager->Invalidate();
  Invalidate();
}

void TDizOfficePage::OnTabAppearanceFontChanged(TObject*) {
  if (!FUseTabAppearance) return;
  Invalidate();
  if (FPager) {
    FPager->Invalidate();
    ButtonsAndScroller(true);
  }
}

void TDizOfficePage::OnPageAppearanceChanged(TObject*) { Invalidate(); }

void TDizOfficePage::SetZorOzirazIrezi(TZorOzirazIrezi* Value) {
  if (FPager == Value) return;
  if (FPager) FPager->RemoveDizPage(this);
  SetParent(Value);
  if (Value) Value->AddDizPage(this);
  OnTabAppearanceFontChanged(this);
}

void TDizOfficePage::SetParent(TWinControl* AParent) {
  TWinControl* parent = AParent;
  if (!FInSetParent && (dynamic_cast<TDizOfficePage*>(AParent) || dynamic_cast<TZorOzirazIrezi*>(AParent))) {
    TZorOzirazIrezi* target = dynamic_cast<TZorOzirazIrezi*>(AParent);
    if (auto* page = dynamic_cast<TDizOfficePage*>(AParent)) target = page->ZorOzirazIrezi();
    if (FPager && target) {
      if (FPager != target) {
        FInSetParent = true;
        try {
          SetZorOzirazIrezi(target);
        } catch (...) {
          FInSetParent = false;
          throw;
        }
        FInSetParent = false;
        if (FPager != target) throw Exception("Invalid Parent");
      }
      if (auto* page = dynamic_cast<TDizOfficePage*>(AParent)) {
        int own = FPager->IndexOfPage(this), to = FPager->IndexOfPage(page);
        int n = FPager->GetDizOfficePageCount();
        if (own < 0 || own >= n || to < 0 || to >= n)
          throw Exception("Invalid Parent " + std::to_string(own) + ":" + std::to_string(to));
        FPager->MoveDizPage(own, to);
        parent = FPager;
      }
      FPager->Invalidate();
      Invalidate();
    } else if (!FPager && target && !dynamic_cast<TDizOfficePage*>(AParent)) {
      // A page read from a stored form joins the pager it is placed on.
      FInSetParent = true;
      TCustomControl::SetParent(target);
      target->AddDizPage(this);
      FInSetParent = false;
      OnTabAppearanceFontChanged(this);
      return;
    }
  }
  TCustomControl::SetParent(parent);
}

void TDizOfficePage::AdjustClientRect(TRect& Rect) {
  Rect = TRect{Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2};
  TCustomControl::AdjustClientRect(Rect);
}

void TDizOfficePage::SelectFirstControl() {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (c != this && c->TabStop() && c->CanFocus()) {
      c->SetFocus();
      return;
    }
}

const std::string& TDizOfficePage::TabCaption() {
  if (!FTabTextSize.CaptionKnown) {
    std::string caption = Caption();
    if (caption != FTabTextSize.Caption) {
      FTabTextSize.Caption = std::move(caption);
      FTabTextSize.Valid = false;
    }
    FTabTextSize.CaptionKnown = true;
  }
  return FTabTextSize.Caption;
}

void TDizOfficePage::WndProc(TMessage& Message) {
  if (Message.Msg == CM_CONTROLCHANGE) {
    DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_SETTEXT || Message.Msg == CM_TEXTCHANGED) FTabTextSize.CaptionKnown = false;
  TCustomControl::WndProc(Message);
  if (Message.Msg == WM_SETTEXT) FTabTextSize.CaptionKnown = false;
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      if (FPager) {
        FPager->Invalidate();
        ButtonsAndScroller(true);
      }
      break;
    case CM_SHOWINGCHANGED:
      if (Showing() && OnShow) OnShow(this);
      break;
  }
}

void TDizOfficePage::TimerProc(TObject*) {
  switch (FGlowState) {
    case 0: {
      FHoverPosition += FStepHover;
      bool ended = false;
      if (FHoverPosition > 100 && FStepHover > 0 && FPager) {
        FHoverPosition = 120;
        POINT p{};
        GetCursorPos(&p);
        TPoint pt = FPager->ScreenToClient(TPoint{p.x, p.y});
        TRect r = FPager->GetTabRect(PageIndex());
        if (!(pt.X >= r.Left && pt.X < r.Right && pt.Y >= r.Top && pt.Y < r.Bottom)) {
          FStepHover = -20;
          FPager->SetHotTabIndex(-1);
        }
        ended = true;
      } else if (FHoverPosition < 0 && FStepHover < 0) {
        FreeGlowTimer();
        FGlowState = 2;
        if (FPager) FPager->InvalidateTab(-1);
        ended = true;
      }
      if (ended) {
        FClickPosition = 0;
        if (FHoverPosition > 100) FHoverPosition = 120;
        if (FHoverPosition < 0) FHoverPosition = -20;
      } else if (FPager) {
        FPager->InvalidateTab(-1);
      }
      break;
    }
    case 1:
      FClickPosition += FStepHover;
      if ((FClickPosition > 100 && FStepHover > 0) || (FClickPosition < 0 && FStepHover < 0)) {
        FreeGlowTimer();
        FGlowState = 2;
        FClickPosition = 0;
      } else if (FPager) {
        FPager->InvalidateTab(-1);
      }
      break;
    default:
      break;
  }
}

void TDizOfficePage::ShowShortCutHint() {
  if (!FPager) return;
  if (!FShortCutHintWin) FShortCutHintWin = FPager->CreateShortCutHintWin();
  TShortCutHintWindow* w = FShortCutHintWin;
  w->SetVisible(false);
  w->SetCaption(FShortCutHint);
  TCanvas* c = w->Canvas();
  c->Font()->Assign(w->Font());
  TSize text = c->TextExtent(FShortCutHint.empty() ? std::string("O") : FShortCutHint);
  w->SetBounds(w->Left(), w->Top(), text.cx + 8, text.cy + 4);
  TRect tr = FPager->GetTabRect(PageIndex());
  TPoint org = FPager->ClientToScreen(TPoint{tr.Left, tr.Top});
  int X = org.X, Y = org.Y, W = tr.Right - tr.Left, H = tr.Bottom - tr.Top, ww = w->Width(), wh = w->Height();
  switch (FShortCutHintPos) {
    case shpLeft: w->SetBounds(X - ww / 2, Y + (H - wh) / 2, ww, wh); break;
    case shpTop: w->SetBounds(X + (W - ww) / 2, Y - wh / 2, ww, wh); break;
    case shpRight: w->SetBounds(X + W - ww / 2, Y + (H - wh) / 2, ww, wh); break;
    case shpBottom: w->SetBounds(X + (W - ww) / 2, Y + H - wh / 2, ww, wh); break;
    default: break;
  }
  w->SetVisible(true);
}

void TDizOfficePage::HideShortCutHint() {
  if (!FShortCutHintWin || !FPager) return;
  FShortCutHintWin->SetVisible(false);
  FPager->DestroyShortCutHintWin(FShortCutHintWin);
  FShortCutHintWin = nullptr;
}

void TDizOfficePage::Paint() {
  if (!FPager || !FPager->CurrentStyler()) return;
  TCustomZorOzirazIreziStyler* st = FPager->CurrentStyler();
  TVistaBackground* A = FUsePageAppearance ? FPageAppearance.get() : st->PageAppearance();
  if (Color() != A->Color()) SetColor(A->Color());
  TCanvas* cv = Canvas();
  const bool round = st->RoundEdges();
  const TTabPosition pos = FPager->TabPosition();
  DrawVistaBackground(cv, TRect{0, 0, Width(), Height()}, A->Color(), A->ColorTo(), A->ColorMirror(),
                      A->ColorMirrorTo(), A->BorderColor(), A->Gradient(), A->GradientMirror(), round, true, pos);
  const int L = 0, T = 0, R = Width(), B = Height();
  if (A->BorderColor() != clNone) {
    cv->Pen()->SetColor(BlendColor(clWhite, A->BorderColor(), st->BlendFactor()));
    const int d = round ? 3 : 2;
    auto line = [cv](int x1, int y1, int x2, int y2) {
      cv->MoveTo(x1, y1);
      cv->LineTo(x2, y2);
    };
    switch (pos) {
      case tpTop: line(L + 1, T + d, L + 1, B - 2); line(R - 2, T + d, R - 2, B - 2); line(L + 3, B - 2, R - 2, B - 2); break;
      case tpBottom: line(L + 1, T + 2, L + 1, B - d); line(R - 2, T + 2, R - 2, B - d); line(L + 3, T + 1, R - 2, T + 1); break;
      case tpLeft: line(L + d, T + 1, R - 2, T + 1); line(L + d, B - 2, R - 2, B - 2); line(R - 2, T + 3, R - 2, B - 2); break;
      case tpRight: line(L + 2, T + 1, R - d, T + 1); line(L + 2, B - 2, R - d, B - 2); line(L + 1, T + 3, L + 1, B - 2); break;
    }
  }
  // The joint: the page edge under the active tab is opened.
  TPagerTabSettings* ts = FPager->TabSettings();
  if (FPager->ActivePage() == this && ts->Height() > 0) {
    TRect TR = FPager->GetTabRect(PageIndex());
    TRect BR = FPager->GetButtonsRect();
    const int M = FPager->PageMargin(), h = ts->Rounding() / 2;
    const bool square = FPager->UseOldDrawing();
    cv->Pen()->SetColor(A->Color());
    if (TR.Left >= 0 || TR.Right >= 0) {
      if (pos == tpTop || pos == tpBottom) {
        int x1 = TR.Left - M, x2 = std::min(TR.Right - M, BR.Left);
        if (!square) {
          switch (ts->Shape()) {
            case tsRectangle: x1 += 1; break;
            case tsLeftRamp: x1 += h + 2; break;
            case tsRightRamp: x1 += 1; x2 -= pos == tpTop ? h + 1 : h; break;
            case tsLeftRightRamp:
              x1 += pos == tpTop ? h + 2 : h + 1;
              x2 -= pos == tpTop ? h + 1 : h;
              break;
          }
        }
        int y = pos == tpTop ? 0 : Height() - 1;
        cv->MoveTo(x1, y);
        cv->LineTo(x2, y);
      } else {
        int y1 = TR.Top - M, y2 = std::min(TR.Bottom - M, BR.Top);
        if (!square) {
          if (pos == tpLeft) {
            switch (ts->Shape()) {
              case tsRectangle: y1 += 1; break;
              case tsLeftRamp: y1 += 1; y2 -= h + 1; break;
              case tsRightRamp: y1 += h + 2; break;
              case tsLeftRightRamp: y1 += h + 2; y2 -= h + 1; break;
            }
          } else {
            switch (ts->Shape()) {
              case tsRectangle: y1 += 1; break;
              case tsLeftRamp: y1 += h + 1; break;
              case tsRightRamp: y1 += 1; y2 -= h + 1; break;
              case tsLeftRightRamp: y1 += h + 2; y2 -= h + 1; break;
            }
          }
        }
        int x = pos == tpLeft ? 0 : Width() - 1;
        cv->MoveTo(x, y1 - 1);
        cv->LineTo(x, y2 - 1);
      }
    }
  }
  // Rounded corners take the colours of the pager just outside the page.
  if (round && FPager->PageMargin() > 0) {
    TCanvas* pc = FPager->Canvas();
    const int Lp = Left(), Tp = Top(), W = Width(), H = Height();
    TColor c = pc->GetPixel(Lp - 1, Tp - 1);
    cv->SetPixel(0, 0, c);
    cv->SetPixel(1, 0, pc->GetPixel(Lp + 1, Tp - 1));
    cv->SetPixel(0, 1, pc->GetPixel(Lp - 1, Tp));
    c = pc->GetPixel(Lp - 1, Tp + H);
    cv->SetPixel(0, H - 1, c);
    cv->SetPixel(1, H - 1, c);
    cv->SetPixel(0, H - 2, c);
    c = pc->GetPixel(Lp + W, Tp);
    cv->SetPixel(W - 1, 0, c);
    cv->SetPixel(W - 2, 0, c);
    cv->SetPixel(W - 1, 1, c);
    c = pc->GetPixel(Lp + W, Tp + H);
    cv->SetPixel(W - 1, H - 1, c);
    cv->SetPixel(W - 2, H - 1, c);
    cv->SetPixel(W - 1, H - 2, c);
  }
}

// ---- pager: lifecycle ------------------------------------------------------------------------

TZorOzirazIrezi::TZorOzirazIrezi(TComponent* AOwner)
    : TCustomControl(AOwner),
      FTabSettings(std::make_unique<TPagerTabSettings>()),
      FOfficeHint(std::make_unique<TDizHintInfo>()),
      FButtonSettings(std::make_unique<TPageButtonSettings>()),
      FButtonsBkg(std::make_unique<TBitmap>()) {
  TControlStyle cs = ControlStyle();
  cs.Include(csAcceptsControls);
  cs.Exclude(csOpaque);
  SetControlStyle(cs);
  FInternalStyler = new TCustomZorOzirazIreziStyler(this);
  FInternalStyler->SetName("InternalStyler");
  FInternalStyler->SetSubComponent(true);
  FInternalStyler->AddControl(this);
  FCurrentStyler = FInternalStyler;
  FTabSettings->OnChange = [this](TObject* s) { OnTabSettingsChanged(s); };
  FButtonSettings->OnChange = [this](TObject* s) { OnButtonSettingChanged(s); };
  // A failed version query (-1) also counts as common controls 6.
  FIsComCtl6 = ((GetFileVersion("COMCTL32.DLL") >> 16) & 0xFF) > 5;
  SetDoubleBuffered(true);
  SetBounds(Left(), Top(), 400, 200);
  {
    auto* office = new TZorOzirazIreziOfficeStyler(this);
    office->SetOfficePagerStyle(psOffice2007Luna);
    FInternalStyler->Assign(office);
    delete office;
  }
  FGlow = true;
}

TZorOzirazIrezi::~TZorOzirazIrezi() {
  Destroying();
  HideShortCutHintOfAllPages();
  UnhookParentForm();
  if (FOfficePagerStyler && FOfficePagerStyler != FInternalStyler) {
    FOfficePagerStyler->RemoveControl(this);
    FOfficePagerStyler->RemoveFreeNotification(this);
  }
  FOfficePagerStyler = nullptr;
  FCurrentStyler = nullptr;
  delete FInternalStyler;
  FInternalStyler = nullptr;
  for (TDizOfficePage* p : FPages) p->FPager = nullptr;
  FPages.clear();
  for (TDovAvarOrodez** b : {&FPageListButton, &FTabScrollerLeftButton, &FTabScrollerRightButton,
                             &FTabScrollerFirstButton, &FTabScrollerLastButton, &FCloseButton})
    FreeButton(*b);
  for (auto& [id, button] : FPendingFree) delete button;
  FPendingFree.clear();
  for (TShortCutHintWindow* w : FShortCutHintWinList) delete w;
  FShortCutHintWinList.clear();
}

int TZorOzirazIrezi::GetVersionNr() const { return (1 << 24) | (8 << 16) | (2 << 8) | 1; }

std::string TZorOzirazIrezi::Version() const {
  int v = GetVersionNr();
  return std::to_string((v >> 24) & 0xFF) + "." + std::to_string((v >> 16) & 0xFF) + "." +
         std::to_string((v >> 8) & 0xFF) + "." + std::to_string(v & 0xFF);
}

void TZorOzirazIrezi::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  // Whether the user changed the next or previous scroll picture; always written, and read
  // without effect.
  Filer->DefineProperty(
      "NextPictureChanged", [this](TReader& R) { SetNextPictureChanged(R.ReadBoolean()); },
      [this](TWriter& W) { W.WriteBoolean(GetNextPictureChanged()); }, true);
  Filer->DefineProperty(
      "PrevPictureChanged", [this](TReader& R) { SetPrevPictureChanged(R.ReadBoolean()); },
      [this](TWriter& W) { W.WriteBoolean(GetPrevPictureChanged()); }, true);
}

void TZorOzirazIrezi::Loaded() {
  TCustomControl::Loaded();
  FPropertiesLoaded = true;
  InitializeAndUpdateButtons();
}

void TZorOzirazIrezi::SetParent(TWinControl* AParent) {
  if (dynamic_cast<TZorOzirazIrezi*>(AParent)) throw Exception("Invalid Parent");
  TCustomControl::SetParent(AParent);
  if (AParent && !FPropertiesLoaded && !IsDesigning(this) && !IsLoading(this)) {
    Init();
    InitializeAndUpdateButtons();
  }
}

void TZorOzirazIrezi::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && !IsDestroying(this)) {
    if (AComponent == FOfficePagerStyler) SetOfficePagerStyler(nullptr);
    if (AComponent == PopupMenu()) SetPopupMenu(nullptr);
    if (AComponent == FImages) SetImages(nullptr);
    if (AComponent == FDisabledImages) SetDisabledImages(nullptr);
    if (AComponent == FPageListMenu) SetPageListMenu(nullptr);
  }
  if (Operation == opRemove && AComponent == FHookedForm) {
    // The hooked form goes away with its message procedure; nothing to give back.
    FHookedForm = nullptr;
    FShowShortCutHint = false;
  }
  TCustomControl::Notification(AComponent, Operation);
}

void TZorOzirazIrezi::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TDizOfficePage* p : FPages) Proc(p);
  for (TControl* c : ControlList())
    if (c->Owner() == Root && !dynamic_cast<TDizOfficePage*>(c)) Proc(c);
}

// ---- pages ----------------------------------------------------------------------------------

TDizOfficePage* TZorOzirazIrezi::GetDizPages(int Index) const {
  if (Index < 0 || Index >= GetDizOfficePageCount()) return nullptr;
  return FPages[static_cast<size_t>(Index)];
}

int TZorOzirazIrezi::IndexOfPage(const TDizOfficePage* Page) const {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

int TZorOzirazIrezi::AddDizPage(TDizOfficePage* Page) {
  if (!Page) return -1;
  if (IndexOfPage(Page) < 0) {
    FPages.push_back(Page);
    if (IsDesigning(this) && FCurrentStyler) {
      if (!Page->UsePageAppearance()) Page->PageAppearance()->Assign(FCurrentStyler->PageAppearance());
      if (!Page->UseTabAppearance()) Page->TabAppearance()->Assign(FCurrentStyler->TabAppearance());
    }
  }
  if (Page->Parent() != this) {
    Page->FInSetParent = true;
    Page->TCustomControl::SetParent(this);
    Page->FInSetParent = false;
  }
  Page->FPager = this;
  SetPagePosition(Page);
  int index = IndexOfPage(Page);
  if (index != FActivePageIndex) Page->SetVisible(false);
  InvalidateTab(-1);
  if (TDizOfficePage* a = ActivePage()) {
    a->BringToFront();
    a->Invalidate();
  }
  UpdateTabScroller();
  return index;
}

int TZorOzirazIrezi::AddDizPage(const std::string& Caption) {
  auto* page = new TDizOfficePage(this);
  page->SetCaption(Caption);
  return AddDizPage(page);
}

void TZorOzirazIrezi::RemoveDizPage(TDizOfficePage* Page) {
  int i = IndexOfPage(Page);
  if (i < 0) return;
  // The following page is activated first; the new index is then worked out from the page
  // that is now active, so that it names the same page once the removed one has left the list.
  if (i == FActivePageIndex) SelectNextPage(true);
  TDizOfficePage* newActive = (FActivePageIndex == i) ? nullptr : ActivePage();
  FPages.erase(FPages.begin() + i);
  Page->FPager = nullptr;
  if (Page->FCloseButton) {
    TDovAvarOrodez* b = Page->FCloseButton;
    Page->FCloseButton = nullptr;
    DeferFree(b);
  }
  if (Page->FShortCutHintWin) {
    DestroyShortCutHintWin(Page->FShortCutHintWin);
    Page->FShortCutHintWin = nullptr;
  }
  if (FHotPageIndex == i) FHotPageIndex = -1;
  else if (FHotPageIndex > i) --FHotPageIndex;
  FDownPageIndex = -1;
  FActivePageIndex = newActive ? IndexOfPage(newActive) : -1;
  if (!IsDestroying(this)) {
    InitializeAndUpdateButtons();
    UpdateTabScroller();
  }
  InvalidateTab(-1);
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::MoveDizPage(int CurIndex, int NewIndex) {
  int n = GetDizOfficePageCount();
  if (CurIndex < 0 || CurIndex >= n || NewIndex < 0 || NewIndex >= n) return;
  TDizOfficePage* active = ActivePage();
  TDizOfficePage* p = FPages[static_cast<size_t>(CurIndex)];
  FPages.erase(FPages.begin() + CurIndex);
  FPages.insert(FPages.begin() + NewIndex, p);
  if (active) FActivePageIndex = IndexOfPage(active);
  UpdateTabScroller();
  if (OnTabMoved) OnTabMoved(this, CurIndex, NewIndex);
}

TDizOfficePage* TZorOzirazIrezi::FindNextPage(TDizOfficePage* CurPage, bool GoForward, bool CheckTabVisible) const {
  int n = GetDizOfficePageCount();
  if (n == 0) return nullptr;
  int start = IndexOfPage(CurPage);
  if (start < 0) return GoForward ? FPages.front() : FPages.back();
  int i = start;
  for (int k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    if (!CheckTabVisible || p->TabVisible()) return p;
  }
  return nullptr;
}

TRect TZorOzirazIrezi::GetDizPageRect() {
  TRect c = ClientRect();
  const int M = FPageMargin, H = FTabSettings->Height();
  switch (FTabPosition) {
    case tpTop: return TRect{c.Left + M, c.Top + H, c.Right - M, c.Bottom - M - 1};
    case tpBottom: return TRect{c.Left + M, c.Top + M + 1, c.Right - M, c.Bottom - H};
    case tpLeft: return TRect{c.Left + H, c.Top + M + 1, c.Right - M, c.Bottom - M - 1};
    case tpRight: return TRect{c.Left + M, c.Top + M + 1, c.Right - H, c.Bottom - M - 1};
  }
  return c;
}

void TZorOzirazIrezi::SetPagePosition(TDizOfficePage* Page) {
  if (IndexOfPage(Page) < 0) return;
  TRect r = GetDizPageRect();
  Page->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

void TZorOzirazIrezi::SetAllPagesPosition() {
  // Every page of the list takes the same rectangle (no search for each page in the list).
  // The pages are placed again whenever any child moves (each button of the strip): pages
  // already in place are passed over without a call.
  const TRect r = GetDizPageRect();
  const int w = r.Right - r.Left, h = r.Bottom - r.Top;
  for (TDizOfficePage* p : FPages)
    if (p->Left() != r.Left || p->Top() != r.Top || p->Width() != w || p->Height() != h)
      p->SetBounds(r.Left, r.Top, w, h);
}

void TZorOzirazIrezi::AlignControls(TControl* AControl, TRect& Rect) {
  TCustomControl::AlignControls(AControl, Rect);
  // A button of the strip that moved leaves the pages where they are when their rectangle
  // and their number are the same as at the last placing (any page that moves, or a
  // realignment of the whole, places them all).
  const TRect r = GetDizPageRect();
  const bool button = AControl && !dynamic_cast<TDizOfficePage*>(AControl);
  if (button && FPlacedPages == FPages.size() && r.Left == FPlacedPageRect.Left && r.Top == FPlacedPageRect.Top &&
      r.Right == FPlacedPageRect.Right && r.Bottom == FPlacedPageRect.Bottom)
    return;
  SetAllPagesPosition();
  FPlacedPageRect = r;
  FPlacedPages = FPages.size();
}

// ---- activation -----------------------------------------------------------------------------

TDizOfficePage* TZorOzirazIrezi::ActivePage() const { return GetDizPages(FActivePageIndex); }

void TZorOzirazIrezi::SetActivePage(TDizOfficePage* Page) {
  int i = IndexOfPage(Page);
  if (i >= 0) SetActivePageIndex(i);
}

void TZorOzirazIrezi::SetActivePageIndex(int Index) {
  if (Index >= 0 && Index < GetDizOfficePageCount()) {
    TRect r = GetTabRect(Index);
    if (r.Left == -1 && FPages[static_cast<size_t>(Index)]->TabVisible()) {
      int before = 0;
      for (int i = 0; i < Index; ++i)
        if (FPages[static_cast<size_t>(i)]->TabVisible()) ++before;
      FTabScroller.SetPosition(std::min(before, FTabScroller.Max()));
    }
  }
  ChangeActivePage(Index);
  InvalidateTab(-1);
}

void TZorOzirazIrezi::ChangeActivePage(int Index) {
  const int n = GetDizOfficePageCount();
  if (Index < 0 || Index >= n) return;
  if (Index == FActivePageIndex && n > 1) return;
  if (FShowShortCutHint) HideShortCutHintOfAllPages();
  bool allow = true;
  if (OnChanging && FPropertiesLoaded && !IsDestroying(this)) OnChanging(this, FActivePageIndex, Index, allow);
  if (!allow) return;
  TCustomForm* form = GetParentForm(this);
  TDizOfficePage* oldPage = ActivePage();
  bool focusInOld = false;
  if (form && oldPage) {
    TWinControl* ac = form->ActiveControl();
    focusInOld = ac && (ac == oldPage || oldPage->ContainsControl(ac));
  }
  if (oldPage) {
    oldPage->SetVisible(false);
    if (oldPage->OnHide) oldPage->OnHide(oldPage);
  }
  FActivePageIndex = Index;
  InitializeAndUpdateButtons();
  TDizOfficePage* newPage = ActivePage();
  if (form && newPage && oldPage && focusInOld) {
    TWinControl* target = newPage->CanFocus() ? static_cast<TWinControl*>(newPage) : this;
    if (target->CanFocus()) form->SetActiveControl(target);
    else form->SetActiveControl(nullptr);
  }
  if (!IsDesigning(this) && form && newPage && form->ActiveControl() == newPage) newPage->SelectFirstControl();
  if (newPage) {
    newPage->SetVisible(true);
    newPage->BringToFront();
  }
  if (OnChange && !IsDestroying(this) && !IsLoading(this)) OnChange(this);
}

void TZorOzirazIrezi::SelectNextPage(bool GoForward) {
  const int n = GetDizOfficePageCount();
  if (FActivePageIndex < 0 || FActivePageIndex >= n) return;
  int i = FActivePageIndex;
  for (int k = 0; k < n; ++k) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    if (i == FActivePageIndex) break;
    TDizOfficePage* p = FPages[static_cast<size_t>(i)];
    if (p->TabVisible() && p->TabEnabled()) {
      SetActivePageIndex(i);
      return;
    }
  }
}

// ---- styler link -----------------------------------------------------------------------------

void TZorOzirazIrezi::SetOfficePagerStyler(TCustomZorOzirazIreziStyler* Value) {
  if (Value == FOfficePagerStyler && Value) return;
  if (FOfficePagerStyler && FOfficePagerStyler != FInternalStyler) {
    FOfficePagerStyler->RemoveControl(this);
    FOfficePagerStyler->RemoveFreeNotification(this);
  }
  FOfficePagerStyler = Value;
  if (Value) {
    Value->AddControl(this);
    Value->FreeNotification(this);
    FCurrentStyler = Value;
  } else {
    FCurrentStyler = FInternalStyler;
  }
  if (!IsDestroying(this) && !IsLoading(this))
    for (TDizOfficePage* p : FPages) p->Invalidate();
  UpdateMe(0);
  SetPopupMenu(PopupMenu());
  Invalidate();
}

void TZorOzirazIrezi::UpdateMe(int Kind) {
  if (IsDesigning(this) && FCurrentStyler) {
    for (TDizOfficePage* p : FPages) {
      if (!p->UsePageAppearance()) p->PageAppearance()->Assign(FCurrentStyler->PageAppearance());
      if (!p->UseTabAppearance()) p->TabAppearance()->Assign(FCurrentStyler->TabAppearance());
    }
  }
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
  switch (Kind) {
    case 2:
    case 4: InitializeAndUpdateButtons(); break;
    case 5: OnTabSettingsChanged(this); break;
    default: break;
  }
}

// ---- look setters ------------------------------------------------------------------------------

void TZorOzirazIrezi::SetShowNonSelectedTabs(bool Value) {
  FShowNonSelectedTabs = Value;
  InvalidateTab(-1);
}

void TZorOzirazIrezi::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetDisabledImages(TCustomImageList* Value) {
  FDisabledImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
  if (TDizOfficePage* a = ActivePage()) a->Invalidate();
}

void TZorOzirazIrezi::SetAntiAlias(TAntiAlias Value) {
  FAntiAlias = Value;
  Invalidate();
}

void TZorOzirazIrezi::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

bool TZorOzirazIrezi::IsActivePageNeighbour(int Index) const {
  const int n = GetDizOfficePageCount();
  if (Index == FActivePageIndex || Index < 0 || Index >= n || FActivePageIndex < 0) return false;
  for (int i = FActivePageIndex - 1; i >= 0; --i)
    if (FPages[static_cast<size_t>(i)]->TabVisible()) {
      if (i == Index) return true;
      break;
    }
  for (int i = FActivePageIndex + 1; i < n; ++i)
    if (FPages[static_cast<size_t>(i)]->TabVisible()) return i == Index;
  return false;
}
