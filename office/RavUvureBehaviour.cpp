// RavUvure, part 3: what the panel does for the user and its owner: collapse and expand
// (animated on a timer), caption buttons and clicks, anchors, moving and sizing, auto-size,
// children hidden while collapsed, styler settings and the enclosing group.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "office/RavUvure.h"
#include "platform/vcl/Forms.h"
#include "platform/win/WinUser.h"

using namespace RavUvure;

namespace {
constexpr UINT_PTR kCollapseTimer = 7;

// Posted to a panel that closed itself with FreeOnClose: it is freed once the message
// loop comes back to it, after the mouse handler that closed it has returned.
UINT FreeOnCloseMessage() {
  static const UINT message = RegisterWindowMessage("RavUvureFreeOnClose");
  return message;
}

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

bool IsShellAnchor(const std::string& anchor) {
  return anchor.find("://") != std::string::npos || anchor.find("mailto:") != std::string::npos;
}
}  // namespace

// ---- zones ------------------------------------------------------------------------------------

TRect TCustomRavUvure::CloseZone() const {
  const TRect c = const_cast<TCustomRavUvure*>(this)->ClientRect();
  const int w = ButtonWidth();
  const bool right = FCaption->ButtonPosition() == cbpRight;
  if (FCaption->Position() == cpTop)
    return right ? TRect{c.Right - w - 2, c.Top + 2, c.Right - 2, c.Top + w + 2}
                 : TRect{c.Left + 2, c.Top + 2, c.Left + w + 2, c.Top + w + 2};
  return right ? TRect{c.Left + 2, c.Top + 2, c.Left + w + 2, c.Top + w + 2}
               : TRect{c.Left + 2, c.Bottom - w - 2, c.Left + w + 2, c.Bottom - 2};
}

TRect TCustomRavUvure::MinMaxZone() const {
  TRect c = const_cast<TCustomRavUvure*>(this)->ClientRect();
  const int w = ButtonWidth();
  const bool right = FCaption->ButtonPosition() == cbpRight;
  if (FCaption->CloseButton()) {
    if (FCaption->Position() == cpTop) (right ? c.Right : c.Left) += right ? -w : w;
    else (right ? c.Top : c.Bottom) += right ? w : -w;
  }
  if (FCaption->Position() == cpTop)
    return right ? TRect{c.Right - w - 2, c.Top + 2, c.Right - 2, c.Top + w + 2}
                 : TRect{c.Left + 2, c.Top + 2, c.Left + w + 2, c.Top + w + 2};
  return right ? TRect{c.Left + 2, c.Top + 2, c.Left + w + 2, c.Top + w + 2}
               : TRect{c.Left + 2, c.Bottom - w - 2, c.Left + w + 2, c.Bottom - 2};
}

TRect TCustomRavUvure::CaptionStrip() const {
  TRect c = const_cast<TCustomRavUvure*>(this)->ClientRect();
  const int w = ButtonWidth();
  const bool right = FCaption->ButtonPosition() == cbpRight;
  const int ch = FCaption->Height();
  if (FCaption->CloseButton()) {
    if (FCaption->Position() == cpTop) (right ? c.Right : c.Left) += right ? -w : w;
    else (right ? c.Top : c.Bottom) += right ? w : -w;
  }
  return FCaption->Position() == cpTop ? TRect{c.Left, c.Top, c.Right - 2, c.Top + ch}
                                       : TRect{c.Left, c.Top, c.Left + ch, c.Bottom};
}

// ---- collapse -----------------------------------------------------------------------------------

void TCustomRavUvure::SetCollaps(bool Value) {
  if (FCollaps && !Value && OnMaximize) OnMaximize(this);
  if (Value && !FCollaps && OnMinimize) OnMinimize(this);
  if (FInCollapse) return;
  if (Value != FCollaps) {
    FCollaps = Value;
    if (!ComponentState().Contains(csLoading)) {
      FInCollapse = true;
      FTargetCollaps = Value;
      const int ch = FCaption->Height();
      const int sh = FStatusBar->Visible() ? FStatusBar->Height() : 0;
      const bool top = FCaption->Position() == cpTop;
      if (Value) {
        FFullHeight = top ? Height() : Width();
        if (FAutoHideChildren) ShowHideChildren(false);
        FSavedColor = Color();
      }
      if (FCollapsSteps > 0) {
        if (FCollapsColor != clNone) SetColor(Value ? FCollapsColor : FSavedColor);
        const int span = Value ? (top ? Height() - ch - sh - 2 * BorderWidth() : Width() - ch - sh)
                               : FFullHeight - ch - sh;
        FStep = span / FCollapsSteps;
        FStepsLeft = FCollapsSteps;
        // One step per timer tick; the panel finishes in FinishCollapse.
        if (HandleAllocated()) {
          FCollapseTimer = SetTimer(Handle(), kCollapseTimer, std::max(1, FCollapsDelay), nullptr);
          return;
        }
      }
      FinishCollapse();
      return;
    }
  }
  StateChange();
  if (OnEndCollapsExpand) OnEndCollapsExpand(this);
}

void TCustomRavUvure::CollapseStep() {
  const bool top = FCaption->Position() == cpTop;
  const int delta = FTargetCollaps ? -FStep : FStep;
  if (top) SetHeight(std::max(0, Height() + delta));
  else SetWidth(std::max(0, Width() + delta));
  Synchronize();
  if (--FStepsLeft <= 0) {
    KillTimer(Handle(), kCollapseTimer);
    FCollapseTimer = 0;
    FinishCollapse();
  }
}

void TCustomRavUvure::FinishCollapse() {
  const bool top = FCaption->Position() == cpTop;
  const int ch = FCaption->Height();
  const int sh = FStatusBar->Visible() ? FStatusBar->Height() : 0;
  const int extra = BorderWidth() > 0 && FBorderShadow ? BorderWidth() + 4 : 0;
  if (FTargetCollaps) {
    if (top) SetHeight(ch + sh + extra - 2);
    else SetWidth(ch + sh + extra);
  } else {
    if (top) SetHeight(FFullHeight);
    else SetWidth(FFullHeight);
    if (FAutoHideChildren) ShowHideChildren(true);
  }
  Synchronize();
  FInCollapse = false;
  StateChange();
  if (OnEndCollapsExpand) OnEndCollapsExpand(this);
}

void TCustomRavUvure::ShowHideChildren(bool Show) {
  if (!Show) {
    for (int i = 0; i < ControlCount(); ++i)
      if (!Controls(i)->Visible()) FHiddenChildren.push_back(Controls(i));
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
    return;
  }
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (std::find(FHiddenChildren.begin(), FHiddenChildren.end(), child) == FHiddenChildren.end())
      child->SetVisible(true);
  }
  FHiddenChildren.clear();
}

void TCustomRavUvure::Synchronize() {
  if (auto* group = dynamic_cast<TRavUvureGroup*>(Parent())) group->ChildPanelChanged(this);
}

void TCustomRavUvure::BeginUpdate() {
  if (HandleAllocated()) SendMessage(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomRavUvure::EndUpdate() {
  if (!HandleAllocated()) return;
  SendMessage(Handle(), WM_SETREDRAW, TRUE, 0);
  Repaint();
}

// ---- anchors -------------------------------------------------------------------------------------

std::string TCustomRavUvure::IsAnchor(int X, int Y, TRect& AnchorRect) {
  TRect r = ClientRect();
  const int bw = BevelWidth();
  if (BevelOuter() != bvNone || BevelInner() != bvNone) r = TRect{r.Left + bw, r.Top + bw, r.Right - bw, r.Bottom - bw};
  if (FBorderShadow) {
    r.Right -= 2;
    r.Bottom -= 2;
  }
  const int b = BorderWidth() + 1;
  r = TRect{r.Left + b, r.Top + b, r.Right - b, r.Bottom - b};
  r.Left += FIndent;
  r.Top += FTopIndent;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  std::string anchor, stripped, focus;
  int w = 0, h = 0, links = 0, hit = -1;
  const int ch = FCaption->Height();
  const bool inCaption =
      FCaption->Visible() && ((FCaption->Position() == cpTop && Y < ch) || (FCaption->Position() == cpLeft && X < ch));
  if (FTextVAlign != tvaTop && !inCaption) {
    TRect probe = r;
    PanelHTMLDrawEx(c, FPanelText, probe, FImages, 0, 0, -1, -1, 2, true, false, false, false, false, false,
                    !FEllipsis, 1.0, FURLColor, 255, 0xFF0000, 0x808080, anchor, stripped, focus, w, h, links, hit,
                    AnchorRect, FPictureCache.get(), FPictureContainer, FLineSpacing);
  }
  bool found = false;
  if (inCaption) {
    if (FCaption->Position() != cpTop) return std::string();
    r.Bottom = r.Top + ch;
    c->Font()->Assign(FCaption->Font());
    r.Left += FCaption->Indent();
    r.Top += FCaption->TopIndent();
    found = PanelHTMLDrawEx(c, FCaption->Text(), r, FImages, X, Y, -1, -1, 2, true, false, false, false, false, false,
                            false, 1.0, FURLColor, 255, 0xFF0000, 0x808080, anchor, stripped, focus, w, h, links, hit,
                            AnchorRect, FPictureCache.get(), FPictureContainer, FLineSpacing);
    FCaptionAnchorIndex = found ? hit : -1;
  } else {
    if (FCaption->Visible()) {
      if (FCaption->Position() == cpTop) r.Top += ch;
      else r.Left += ch;
    }
    if (FTextVAlign == tvaCenter && h < r.Bottom - r.Top) r.Top += (r.Bottom - r.Top - h) / 2;
    else if (FTextVAlign == tvaBottom) r.Top = r.Bottom - h;
    r.Bottom += 20;
    found = PanelHTMLDrawEx(c, FPanelText, r, FImages, X, Y, -1, -1, 2, true, false, false, false, false, false,
                            !FEllipsis, 1.0, FURLColor, 255, 0xFF0000, 0x808080, anchor, stripped, focus, w, h, links,
                            hit, AnchorRect, FPictureCache.get(), FPictureContainer, FLineSpacing);
    FBodyAnchorIndex = found ? hit : -1;
  }
  return found ? anchor : std::string();
}

// ---- mouse ---------------------------------------------------------------------------------------

void TCustomRavUvure::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseDown(Button, Shift, X, Y);
  TRect rect;
  const std::string anchor = IsAnchor(X, Y, rect);
  if (anchor.empty()) return;
  // Links the desktop may open go through the opener's allow-list; anything else is the
  // application's.
  if (IsShellAnchor(anchor) && IsOpenableLink(anchor)) OpenHyperlink(anchor);
  else if (OnAnchorClick) OnAnchorClick(this, anchor);
}

void TCustomRavUvure::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  if (ComponentState().Contains(csDesigning) || !FCaption->Visible()) return;
  bool clickToggles = FCaption->MinMaxCaption();
  if (FCaption->CloseButton() && Inside(CloseZone(), X, Y)) {
    SetVisible(false);
    if (OnClose) OnClose(this);
    Synchronize();
    if (FFreeOnClose && HandleAllocated()) PostMessage(Handle(), FreeOnCloseMessage(), 0, 0);
    return;
  }
  if (FCaption->MinMaxButton() && Inside(MinMaxZone(), X, Y)) {
    clickToggles = false;
    SetCollaps(!FCollaps);
  }
  if (Inside(CaptionStrip(), X, Y)) {
    if (clickToggles) SetCollaps(!FCollaps);
    if (OnCaptionClick) OnCaptionClick(this);
  }
}

void TCustomRavUvure::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseMove(Shift, X, Y);
  TRect rect;
  const std::string anchor = IsAnchor(X, Y, rect);
  FMovingByCaption = false;
  if (FCaption->Visible() && !ComponentState().Contains(csDesigning)) {
    if (FCaption->CloseButtonHoverColor() != clNone) {
      const bool over = FCaption->CloseButton() && Inside(CloseZone(), X, Y);
      if (over != FCloseHover) {
        FCloseHover = over;
        Invalidate();
      }
    }
    if (FCaption->MinMaxButtonHoverColor() != clNone) {
      const bool over = FCaption->MinMaxButton() && Inside(MinMaxZone(), X, Y);
      if (over != FMinMaxHover) {
        FMinMaxHover = over;
        Invalidate();
      }
    }
  }
  if (!anchor.empty()) {
    if (Cursor() == FSavedCursor || anchor != FLastAnchor) {
      if (FAnchorHint) Application->CancelHint();
      SetCursor(crHandPoint);
      if (OnAnchorEnter) OnAnchorEnter(this, anchor);
      if (FHover) Invalidate();
    }
    FLastAnchor = anchor;
  } else if (Cursor() == crHandPoint) {
    // The anchor that was left is reported, so a handler knows which one it was.
    const std::string left = FLastAnchor;
    FLastAnchor.clear();
    SetCursor(FSavedCursor);
    FBodyAnchorIndex = FCaptionAnchorIndex = -1;
    if (OnAnchorExit) OnAnchorExit(this, left);
    if (FHover) Invalidate();
  }
}

// ---- size and layout ------------------------------------------------------------------------------

void TCustomRavUvure::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool top = FCaption->Position() == cpTop;
  TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!FCollaps && !FInCollapse) {
    if (top) FFullHeight = Height();
    else FFullHeight = Width();
  }
  if (AWidth != FLastBoundsWidth || AHeight != FLastBoundsHeight) {
    FLastBoundsWidth = AWidth;
    FLastBoundsHeight = AHeight;
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
    Invalidate();
  }
}

void TCustomRavUvure::Resize() {
  TCustomPanel::Resize();
  DoAutoSize();
}

void TCustomRavUvure::AlignControls(TControl* AControl, TRect& Rect) {
  const int ch = FCaption->Height();
  if (FCaption->Visible()) {
    if (FCaption->Position() == cpTop && Rect.Top < ch) Rect.Top = ch - 2;
    if (FCaption->Position() == cpLeft && Rect.Left < ch) Rect.Left = ch - 2;
  }
  if (FStatusBar->Visible()) {
    if (FCaption->Position() == cpTop) Rect.Bottom = std::min(Rect.Bottom, Height() - FStatusBar->Height());
    else Rect.Right = std::min(Rect.Right, Width() - FStatusBar->Height());
  }
  TCustomPanel::AlignControls(AControl, Rect);
}

void TCustomRavUvure::DoAutoSize() {
  if (!FAutoSize->Enabled() || ComponentState().Contains(csLoading)) return;
  const int bw = BevelWidth();
  const int wm = FAutoSize->Width() ? 65535 : Width() - 2 * bw;
  const int hm = FAutoSize->Height() ? 65535 : Height() - 2 * bw;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  std::string anchor, stripped, focus;
  int tw = 0, th = 0, links = 0, hit = 0;
  TRect hover;
  PanelHTMLDrawEx(c, FPanelText, TRect{0, 0, wm, hm}, FImages, 0, 0, -1, -1, FShadowOffset, false, true, false, false,
                  false, false, true, 1.0, FURLColor, FHoverColor, FHoverFontColor, FShadowColor, anchor, stripped,
                  focus, tw, th, links, hit, hover, FPictureCache.get(), FPictureContainer, FLineSpacing);
  tw += 2 * BorderWidth();
  th += 2 * BorderWidth();
  const int ch = FCaption->Height();
  const int sh = FStatusBar->Height();
  const bool top = FCaption->Position() == cpTop;
  if (FAutoSize->Width()) {
    int w = tw + 2 * bw + FIndent;
    if (!top) {
      if (FCaption->Visible()) w += ch;
      if (FStatusBar->Visible()) w += sh;
    }
    SetWidth(w);
  }
  if (FAutoSize->Height()) {
    int h;
    if (!top) h = 2 * bw + th + FTopIndent;
    else if (FCaption->Visible() && FStatusBar->Visible())
      h = ch + th + sh + 2 * bw + FTopIndent + 2 * BorderWidth();
    else if (FCaption->Visible()) h = ch + th + 2 * bw + FTopIndent;
    else h = th + 2 * bw + FTopIndent + (FStatusBar->Visible() ? sh : 0);
    SetHeight(h);
  }
  Synchronize();
}

// ---- loading and styler ------------------------------------------------------------------------------

void TCustomRavUvure::Loaded() {
  TCustomPanel::Loaded();
  if (FPosition->Save) LoadPosition();
  FMoveOrigin = TPoint{Left(), Top()};
  FMoveWidth = Width();
  FMoveHeight = Height();
  FSavedCursor = Cursor();
  FSavedColor = Color();
  if (FStyler) AssignStyle(FStyler->Settings());
  ShadeHeader();
}

void TCustomRavUvure::SetStyler(TRavUvureStyler* Value) {
  if (FStyler == Value) return;
  if (FStyler) FStyler->RemoveFreeNotification(this);
  FStyler = Value;
  if (FStyler) {
    FStyler->FreeNotification(this);
    if (!ComponentState().Contains(csLoading)) AssignStyle(FStyler->Settings());
  }
}

// ---- messages -----------------------------------------------------------------------------------------

void TCustomRavUvure::WMNCHitTest(TMessage& Message) {
  TCustomPanel::WndProc(Message);
  if (ComponentState().Contains(csDesigning)) return;
  TRect r = ClientRect();
  const int w = ButtonWidth();
  const bool top = FCaption->Position() == cpTop;
  const bool right = FCaption->ButtonPosition() == cbpRight;
  const int buttons = (FCaption->Visible() && FCaption->CloseButton() ? 1 : 0) +
                      (FCaption->Visible() && FCaption->MinMaxButton() ? 1 : 0);
  for (int i = 0; i < buttons; ++i) {
    if (top) (right ? r.Right : r.Left) += right ? -w : w;
    else (right ? r.Top : r.Bottom) += right ? w : -w;
  }
  const TPoint p = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  const int ch = FCaption->Height();
  if (FCaption->Visible() && Message.Result == HTCLIENT && FCanMove) {
    const bool inStrip = top ? (p.Y < ch && r.Left < p.X && p.X < r.Right) : (p.X < ch && r.Top < p.Y && p.Y < r.Bottom);
    TRect anchorRect;
    if (inStrip && IsAnchor(p.X, p.Y, anchorRect).empty()) {
      MouseMove(TShiftState(), p.X, p.Y);
      Message.Result = HTCAPTION;
      FMovingByCaption = true;
      return;
    }
  }
  if (Message.Result != HTCLIENT || !FCanSize || FCollaps) return;
  const int h = Height(), wd = Width();
  const int fy = GetSystemMetrics(SM_CYFRAME), fx = GetSystemMetrics(SM_CXFRAME);
  LRESULT result = HTCLIENT;
  if (!FFixedHeight && !FFixedWidth && p.Y > h - fy - 2 && p.X > wd - fx - 2) result = HTBOTTOMRIGHT;
  else if (!FFixedHeight && p.Y > h - fy) result = HTBOTTOM;
  else if (!FFixedWidth && p.X > wd - fx) result = HTRIGHT;
  if (result != HTCLIENT) {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Message.Result = result;
  }
}

void TCustomRavUvure::WndProc(TMessage& Message) {
  if (Message.Msg == FreeOnCloseMessage()) {
    delete this;
    return;
  }
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kCollapseTimer) {
        CollapseStep();
        return;
      }
      break;
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_SIZE:
      TCustomPanel::WndProc(Message);
      if (FShadeBitmap->GetWidth() != Width()) ShadeHeader();
      Invalidate();
      return;
    case WM_LBUTTONDBLCLK: {
      TCustomPanel::WndProc(Message);
      const TPoint p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      const TRect c = ClientRect();
      const int ch = FCaption->Height();
      const TRect strip = FCaption->Position() == cpTop ? TRect{c.Left, c.Top, c.Right - 2, c.Top + ch}
                                                       : TRect{c.Left, c.Top, c.Left + ch, c.Bottom};
      if (FCaption->Visible() && Inside(strip, p.X, p.Y) && OnCaptionDBlClick) OnCaptionDBlClick(this);
      return;
    }
    case WM_SETCURSOR:
      TCustomPanel::WndProc(Message);
      if (FMovingByCaption && FShowMoveCursor) {
        ::SetCursor(Screen->Cursors(crSizeAll));
        Message.Result = 1;
      }
      return;
    case WM_ENTERSIZEMOVE:
      FMoveOrigin = TPoint{Left(), Top()};
      FMoveWidth = Width();
      FMoveHeight = Height();
      break;
    case WM_EXITSIZEMOVE:
      TCustomPanel::WndProc(Message);
      if (OnEndMoveSize) OnEndMoveSize(this);
      Synchronize();
      return;
    case WM_MOVING: {
      if (ComponentState().Contains(csDesigning)) break;
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      if (FMovingByCaption) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      if (r && FFixedLeft) {
        const int w = r->right - r->left;
        r->left = FMoveOrigin.X;
        r->right = r->left + w;
      }
      if (r && FFixedTop) {
        const int h = r->bottom - r->top;
        r->top = FMoveOrigin.Y;
        r->bottom = r->top + h;
      }
      Message.Result = 0;
      return;
    }
    case WM_SIZING: {
      if (ComponentState().Contains(csDesigning)) break;
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      if (!r) break;
      if (FFixedWidth) r->right = r->left + FMoveWidth;
      if (FFixedHeight) r->bottom = r->top + FMoveHeight;
      FFullHeight = FCaption->Position() == cpLeft ? r->right - r->left : r->bottom - r->top;
      Message.Result = 0;
      if (r->right - r->left != Width()) ShadeHeader();
      return;
    }
    case WM_DESTROY:
      TCustomPanel::WndProc(Message);
      if (FPosition && FPosition->Save) SavePosition();
      return;
    case CM_MOUSEENTER:
      if (OnMouseEnter && Message.LParam == 0) OnMouseEnter(this);
      {
        TNotifyEvent held = std::move(OnMouseEnter);
        OnMouseEnter = nullptr;
        TCustomPanel::WndProc(Message);
        OnMouseEnter = std::move(held);
      }
      return;
    case CM_MOUSELEAVE: {
      const bool repaint = FHover && (FBodyAnchorIndex >= 0 || FCaptionAnchorIndex >= 0);
      FBodyAnchorIndex = FCaptionAnchorIndex = -1;
      if (OnMouseLeave && Message.LParam == 0) OnMouseLeave(this);
      if (FCloseHover || FMinMaxHover || repaint) {
        FCloseHover = FMinMaxHover = false;
        Invalidate();
      }
      TNotifyEvent held = std::move(OnMouseLeave);
      OnMouseLeave = nullptr;
      TCustomPanel::WndProc(Message);
      OnMouseLeave = std::move(held);
      return;
    }
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
      if (FAnchorHint && info) {
        TRect r;
        std::string anchor = IsAnchor(info->CursorPos.X, info->CursorPos.Y, r);
        if (!anchor.empty()) {
          if (OnAnchorHint) OnAnchorHint(this, anchor);
          const TPoint p = ClientToScreen(info->CursorPos);
          info->HintPos = TPoint{p.X + 10, p.Y - 10};
          info->HintStr = anchor;
        }
      }
      Message.Result = 0;
      return;
    }
    default: break;
  }
  TCustomPanel::WndProc(Message);
}
