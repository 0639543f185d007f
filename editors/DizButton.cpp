// The strip push button: painting over the parent, the state table, mouse, keys, groups.
#include "editors/DizButton.h"

#include <algorithm>
#include <cctype>

#include "editors/DizDropDownEditor.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"

namespace DizDropDown {

namespace {

// Image at the left (vertically centred) and a one-line caption: after the image,
// left-aligned; without one, centred; cut with an ellipsis.
void DrawButtonContent(TCanvas* Canvas, TRect R, const std::string& Caption, TCustomImageList* Images,
                       int ImageIndex) {
  if (!Canvas) return;
  TTextFormat f;
  f += tfSingleLine;
  f += tfVerticalCenter;
  f += tfEndEllipsis;
  bool centred = true;
  if (ImageIndex >= 0 && Images) {
    int x = R.Left + 4;
    Images->Draw(Canvas, x, R.Top + (R.Height() - Images->GetHeight()) / 2, ImageIndex, true);
    R.Left = x + Images->GetWidth() + 4;
    centred = false;
  }
  if (centred) f += tfCenter;
  if (!Caption.empty()) {
    std::string s = Caption;
    Canvas->TextRect(R, s, f);
  }
}

// The caption's accelerator: the character after a single '&'.
bool IsAccelerator(char32_t Ch, const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(Caption[i + 1]);
    return Ch < 128 && std::toupper(c) == std::toupper(static_cast<int>(Ch));
  }
  return false;
}

}  // namespace

TDizButton::TDizButton(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 23, 22);
  TControlStyle s = ControlStyle();
  s += csCaptureMouse;
  s += csClickEvents;
  s += csDoubleClicks;
  SetControlStyle(s);
  SetParentFont(true);
  Font()->SetName("Tahoma");
  SetShowHint(false);
  SetDoubleBuffered(true);
  FLeaveTimer = new TTimer(this);
  FLeaveTimer->SetInterval(1);
  FLeaveTimer->SetEnabled(false);
  FLeaveTimer->SetOnTimer([this](TObject* Sender) { LeaveTimerTick(Sender); });
}

TDizButton::~TDizButton() { FLeaveTimer->SetEnabled(false); }

void TDizButton::Loaded() {
  TCustomControl::Loaded();
  if (FDownWhileLoading != FDown) SetDown(FDownWhileLoading);
}

void TDizButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TDizButton::SetAutoSizeEx() {
  if (!FAppearance) return;
  Canvas()->Font()->Assign(FAppearance->Font());
  TSize s = GetTextSize(Canvas(), Caption());
  int w = s.cx, h = s.cy;
  if (FImages && FImageIndex >= 0) {
    w = std::max(w, FImages->GetWidth());
    h = std::max(h, FImages->GetHeight());
  }
  SetWidth(w + 8);
  SetHeight(h + 4);
}

void TDizButton::Click() {
  if (TCustomForm* f = GetParentForm(this, false)) f->SetModalResult(FModalResult);
  if (FDropDown && ((FModalResult >= 1 && FModalResult <= 3) || (FModalResult >= 5 && FModalResult <= 10))) {
    bool cancelled = FModalResult == 2 || FModalResult == 3 || FModalResult == 5 || FModalResult == 7 ||
                     FModalResult == 9;
    FDropDown->HideDropDown(cancelled);
  }
  if (!FInternalClick) TCustomControl::Click();
}

// ---- groups ---------------------------------------------------------------------------

void TDizButton::SetDown(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FDownWhileLoading = Value;
    return;
  }
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
  } else {
    FState = absUp;
    Repaint();
  }
  if (Value) UpdateExclusive();
}

void TDizButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TDizButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TDizButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = WPARAM(FGroupIndex);
  m.LParam = LPARAM(this);
  Parent()->Broadcast(m);
}

// ---- messages -------------------------------------------------------------------------

void TDizButton::WndProc(TMessage& Message) {
  bool designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
      auto* sender = reinterpret_cast<TDizButton*>(Message.LParam);
      if (int(Message.WParam) == FGroupIndex && sender != this && sender) {
        if (sender->Down() && FDown) {
          FDown = false;
          FState = absUp;
          Invalidate();
        }
        FAllowAllUp = sender->AllowAllUp();
      }
      return;
    }
    case CM_MOUSEENTER:
      TCustomControl::WndProc(Message);
      if (!designing) Entered();
      return;
    case CM_MOUSELEAVE:
      TCustomControl::WndProc(Message);
      if (!designing) Exited();
      return;
    case CM_DIALOGCHAR:
      if (Enabled() && IsAccelerator(char32_t(Message.WParam), Caption())) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
    case CM_FOCUSCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(Message);
      Invalidate();
      return;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TDizButton::Entered() {
  FMouseInControl = true;
  if (Enabled()) Invalidate();
  FLeaveTimer->SetEnabled(true);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TDizButton::Exited() {
  FLeaveTimer->SetEnabled(false);
  FMouseInControl = false;
  if (Enabled()) Invalidate();
  if (OnMouseLeave) OnMouseLeave(this);
}

void TDizButton::LeaveTimerTick(TObject*) {
  TPoint p = ScreenToClient(Mouse()->CursorPos());
  if (p.X < 0 || p.Y < 0 || p.X >= ClientWidth() || p.Y >= ClientHeight()) {
    FLeaveTimer->SetEnabled(false);
    FMouseInControl = false;
    if (Enabled()) Invalidate();
  }
}

void TDizButton::CheckHover() {
  if (!Enabled()) return;
  if (FindDragTarget(Mouse()->CursorPos(), true) == this) Entered();
  else Exited();
}

void TDizButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (ComponentState().Contains(csDesigning) || Button != mbLeft || !Enabled()) return;
  FMousePressed = true;
  ButtonDown();
  if (!FDown) {
    FState = absDown;
    Invalidate();
  }
  if (FStyle == tasCheck) {
    FState = absDown;
    Repaint();
  }
  FDragging = true;
}

void TDizButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  if (FDragging) {
    TDizButtonState s = FDown ? absExclusive : absUp;
    if (Inside(X, Y)) s = FDown ? absExclusive : absDown;
    if (FStyle == tasCheck && FDown) s = absDown;
    if (s != FState) {
      FState = s;
      Invalidate();
    }
  } else if (!FMouseInControl) {
    CheckHover();
  }
}

void TDizButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (ComponentState().Contains(csDesigning)) return;
  FMousePressed = false;
  Invalidate();
  if (!FDragging) return;
  FDragging = false;
  bool inside = Inside(X, Y);
  if (FGroupIndex != 0) {
    if (inside) {
      SetDown(!FDown);
      if (FDown) Invalidate();
    } else {
      if (FDown) FState = absExclusive;
      Invalidate();
    }
  } else {
    FState = absUp;
    FMouseInControl = false;
    if (FStyle == tasCheck) {
      SetDown(!FDown);
      FState = absUp;
    }
    if (inside) Invalidate();
  }
  CheckHover();
}

void TDizButton::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_RETURN || Key == VK_SPACE) {
    if (!FDown) {
      FState = absDown;
      Invalidate();
    }
    if (FStyle == tasCheck) {
      FState = absDown;
      Repaint();
    }
    FInternalClick = true;
    try {
      Click();
    } catch (...) {
      FInternalClick = false;
      throw;
    }
    FInternalClick = false;
  }
  TCustomControl::KeyDown(Key, Shift);
}

// ---- painting -------------------------------------------------------------------------

void TDizButton::PaintParentBackground() {
  TWinControl* p = Parent();
  if (!p || !p->HandleAllocated()) return;
  HDC dc = Canvas()->GetHandle();
  HRGN rgn = CreateRectRgn(0, 0, Width(), Height());
  SelectClipRgn(dc, rgn);
  int saved = SaveDC(dc);
  POINT old;
  SetWindowOrgEx(dc, Left(), Top(), &old);
  p->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  p->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
  SelectClipRgn(dc, nullptr);
  DeleteObject(rgn);
}

void TDizButton::Paint() {
  if (Enabled()) {
    if (FState == absDisabled) FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
  } else {
    FState = absDisabled;
    FDragging = false;
  }
  if (FStyle == tasCheck && FDown) FState = absDown;
  PaintParentBackground();
  DrawButton(Canvas());
}

void TDizButton::DrawButton(TCanvas* ACanvas) {
  if (!FAppearance) return;
  TDizButtonAppearance* a = FAppearance;
  TRect r = ClientRect();
  TColor from, to, border;
  if (!Enabled()) {
    from = a->ColorDisabled(), to = a->ColorDisabledTo(), border = a->BorderColorDisabled();
  } else if (FMousePressed && FMouseInControl) {
    from = a->ColorDown(), to = a->ColorDownTo(), border = a->BorderColorDown();
  } else if (FDown) {
    from = a->ColorChecked(), to = a->ColorCheckedTo(), border = a->BorderColorChecked();
  } else if (FMouseInControl || (HandleAllocated() && Focused())) {
    from = a->ColorHot(), to = a->ColorHotTo(), border = a->BorderColorHot();
  } else {
    from = a->Color(), to = a->ColorTo(), border = a->BorderColor();
  }
  DrawGradientRect(ACanvas, r, from, to, a->Gradient(), border, 1);
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->Font()->Assign(a->Font());
  DrawButtonContent(ACanvas, r, Caption(), FImages, FImageIndex);
  ACanvas->Brush()->SetStyle(bsSolid);
}

}  // namespace DizDropDown
