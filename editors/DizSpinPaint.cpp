// TDizSpinEdit as a control: construction, message handling, the button pair's place,
// the text rectangle, the minimum height, the caption label, focus colours and the flat
// and transparent looks.
#include <algorithm>

#include "editors/DizSpin.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/StdEdit.h"

namespace {

// The width of a text in a font, measured on a screen context.
int TextWidthIn(TFont* Font, const std::string& Text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  std::u16string w = Utf8ToUtf16(Text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, w.c_str(), int(w.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

int TextHeightOf(HFONT Font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font);
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

}  // namespace

TDizSpinEdit::TDizSpinEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  FButton = new TDizSpinButton(this);
  FButton->SetBounds(0, 0, 15, 17);
  FButton->SetVisible(true);
  FButton->SetParent(this);
  FButton->SetFocusControl(this);
  FButton->OnUpClick = [this](TObject* Sender) { UpClick(Sender); };
  FButton->OnDownClick = [this](TObject* Sender) { DownClick(Sender); };
  FButton->UpArrowButton()->SetTransparent(FSpinTransparent);
  FButton->DownArrowButton()->SetTransparent(FSpinTransparent);
  SetText("0");
  FControlStyle -= csSetCaption;
  FLabelFont = std::make_unique<TFont>();
  FLabelFont->OnChange = [this](TObject* Sender) { LabelFontChanged(Sender); };
  // An edit created at run time restores the colour it was created with.
  FNormalColor = Color();
}

TDizSpinEdit::~TDizSpinEdit() {
  FLabelFont->OnChange = nullptr;
  if (FLabel) {
    TLabel* label = FLabel;
    FLabel = nullptr;
    delete label;
  }
}

void TDizSpinEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLabel) FLabel = nullptr;
  if (AComponent == FButton) FButton = nullptr;
}

void TDizSpinEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  Params.Style |= DWORD(ES_MULTILINE) | DWORD(WS_CLIPCHILDREN);
  Params.Style &= ~DWORD(ES_RIGHT | ES_CENTER);
  if (FEditAlign == eaRight) Params.Style |= ES_RIGHT;
  else if (FEditAlign == eaCenter) Params.Style |= ES_CENTER;
}

void TDizSpinEdit::CreateWnd() {
  TCustomMaskEdit::CreateWnd();
  PlaceButtons();
  SetEditRect();
}

void TDizSpinEdit::SetEditAign(TEditAlign Value) {
  FEditAlign = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TDizSpinEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  FRewritingText = true;
  try {
    FNormalColor = Color();
    switch (FSpinType) {
      case sptDate: SetText(DateToStr(FRememberedDate)); break;
      case sptTime: SetText(FormatDateTime(TimeFormat(), FRememberedTime)); break;
      case sptHex: SetText("0x" + IntToHex(FRememberedHex, 0)); break;
      default: break;
    }
    SetSpinType(FSpinType);
    if (FFlat) ApplyFlat();
    SetBounds(Left(), Top(), Width(), Height());
    UpdateMonthFirst();
    if (FLabel && !Enabled() && !FLabelAlwaysEnabled) FLabel->SetEnabled(false);
    PlaceButtons();
  } catch (...) {
    FRewritingText = false;
    throw;
  }
  FRewritingText = false;
}

// ---------------------------------------------------------------------------------------
// Messages.

void TDizSpinEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CHAR: WMChar(Message); return;
    case WM_KEYDOWN: WMKeyDown(Message); return;
    case WM_PASTE:
      if (FEditorEnabled && !ReadOnly()) {
        // Only the first line of the clipboard text: the value is one line.
        std::string clip = GetClipboardTextUtf8();
        size_t brk = clip.find_first_of("\r\n");
        if (brk == std::string::npos || !HandleAllocated()) {
          TCustomMaskEdit::WndProc(Message);
        } else {
          clip.resize(brk);
          SendMessage(FHandle, EM_REPLACESEL, 1, LPARAM(clip.c_str()));
        }
      }
      return;
    case WM_CUT:
      if (FEditorEnabled && !ReadOnly()) TCustomMaskEdit::WndProc(Message);
      return;
    case CM_ENTER:
      if (AutoSelect() && (!FControlState.Contains(csLButtonDown) || !FEditorEnabled) && HandleAllocated())
        SelectAll();
      TCustomMaskEdit::WndProc(Message);
      return;
    case CM_EXIT: CMExit(Message); return;
    case CM_MOUSEENTER:
      TCustomMaskEdit::WndProc(Message);
      if (FAutoFocus && CanFocus() && !Focused()) SetFocus();
      return;
    case WM_SETFOCUS:
      TCustomMaskEdit::WndProc(Message);
      AfterSetFocus();
      return;
    case WM_KILLFOCUS:
      TCustomMaskEdit::WndProc(Message);
      AfterKillFocus();
      return;
    case WM_SIZE:
      TCustomMaskEdit::WndProc(Message);
      if (!FResizing) {
        int minHeight = GetMinHeight();
        if (Height() < minHeight) {
          SetHeight(minHeight);
        } else {
          PlaceButtons();
          SetEditRect();
        }
      }
      return;
    case WM_ERASEBKGND:
      if (FTransparent) {
        PaintParentBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      TCustomMaskEdit::WndProc(Message);
      PaintOverlay();
      return;
    case WM_NCPAINT: {
      TCustomMaskEdit::WndProc(Message);
      if (HandleAllocated() && FFocusBorderColor != clNone && Focused()) {
        HDC dc = GetWindowDC(FHandle);
        PaintFocusFrame(dc);
        ReleaseDC(FHandle, dc);
      }
      return;
    }
    case CM_ENABLEDCHANGED:
      TCustomMaskEdit::WndProc(Message);
      if (FButton) {
        FButton->UpArrowButton()->SetEnabled(Enabled());
        FButton->DownArrowButton()->SetEnabled(Enabled());
      }
      return;
    case CM_SHOWINGCHANGED:
      TCustomMaskEdit::WndProc(Message);
      if (FLabel) FLabel->SetVisible(Visible());
      return;
    case CM_FONTCHANGED:
      TCustomMaskEdit::WndProc(Message);
      if (FLabel && (FComponentState.Contains(csDesigning) || Loading())) FLabel->SetFont(Font());
      SetEditRect();
      return;
    case CM_TEXTCHANGED:
      if (FRewritingText) return;
      TCustomMaskEdit::WndProc(Message);
      if (FTransparent) Invalidate();
      return;
    case CN_COMMAND:
      if (FRewritingText && HIWORD(Message.WParam) == EN_CHANGE) {
        Message.Result = 1;
        return;
      }
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (FTransparent) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font()->GetColor() : clGrayText));
        SetBkMode(dc, TRANSPARENT);
        Message.Result = LRESULT(GetStockObject(NULL_BRUSH));
        return;
      }
      break;
    default: break;
  }
  TCustomMaskEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------------------
// Layout.

int TDizSpinEdit::GetMinHeight() {
  int own = TextHeightOf(Font()->GetHandle());
  int system = TextHeightOf(HFONT(GetStockObject(SYSTEM_FONT)));
  int i = std::min(own, system);
  int result = own + i / 4 + 2;
  if (BorderStyle() == bsSingle) result += 4 * GetSystemMetrics(SM_CYBORDER);
  return result;
}

void TDizSpinEdit::PlaceButtons() {
  if (!FButton) return;
  const bool noBorder = BorderStyle() == bsNone;
  const int pw = FButton->Width();
  if (Ctl3D()) FButton->SetBounds(Width() + (noBorder ? 4 : 0) - pw - 4, 0, pw, Height() + (noBorder ? 4 : 0) - 5);
  else FButton->SetBounds(Width() - pw - 1, 2, pw, Height() - 3);
}

void TDizSpinEdit::SetEditRect() {
  if (!HandleAllocated()) return;
  const int pw = FButton ? FButton->Width() : 0;
  const int cw = ClientWidth(), ch = ClientHeight();
  RECT r;
  if (FFlat) {
    r = RECT{2, 4, cw - pw - 4, ch - 4};
  } else {
    const int b = BorderStyle() == bsNone ? 2 : 0;
    r = RECT{Ctl3D() ? b : b + 2, b, cw - pw - b - 2, ch + 1};
  }
  SendMessage(FHandle, EM_SETRECTNP, 0, LPARAM(&r));
}

void TDizSpinEdit::ForceRelayout() {
  PlaceButtons();
  SetEditRect();
  Invalidate();
}

void TDizSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FLabel) UpdateLabel();
}

void TDizSpinEdit::SetParent(TWinControl* AParent) {
  TCustomMaskEdit::SetParent(AParent);
  if (FLabel) {
    FLabel->SetParent(AParent);
    FLabel->SetVisible(Visible());
    UpdateLabel();
  }
}

void TDizSpinEdit::SetDirection(TSpinDirection Value) {
  FDirection = Value;
  if (FButton) FButton->SetDirection(Value);
  ForceRelayout();
}

void TDizSpinEdit::SetSpinFlat(bool Value) {
  FSpinFlat = Value;
  if (!FButton) return;
  FButton->UpArrowButton()->SetFlat(Value);
  FButton->DownArrowButton()->SetFlat(Value);
}

void TDizSpinEdit::SetSpinTransparent(bool Value) {
  FSpinTransparent = Value;
  if (!FButton) return;
  FButton->UpArrowButton()->SetTransparent(Value);
  FButton->DownArrowButton()->SetTransparent(Value);
  ForceRelayout();
}

// ---------------------------------------------------------------------------------------
// Label.

std::string TDizSpinEdit::GetLabelCaption() const { return FLabel ? FLabel->Caption() : std::string(); }

void TDizSpinEdit::SetLabelCaption(const std::string& Value) {
  if (!FLabel) {
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->SetFont(Font());
    FLabel->SetVisible(Visible());
  }
  FLabel->SetCaption(Value);
  UpdateLabel();
}

void TDizSpinEdit::SetLabelMargin(int Value) {
  FLabelMargin = Value;
  UpdateLabel();
}

void TDizSpinEdit::SetLabelPosition(TLabelPosition Value) {
  FLabelPosition = Value;
  UpdateLabel();
}

void TDizSpinEdit::SetLabelTransparent(bool Value) {
  FLabelTransparent = Value;
  UpdateLabel();
}

void TDizSpinEdit::SetLabelAlwaysEnabled(bool Value) {
  FLabelAlwaysEnabled = Value;
  if (FLabel && Value) FLabel->SetEnabled(true);
  Invalidate();
  if (FLabel) FLabel->Invalidate();
}

void TDizSpinEdit::LabelFontChanged(TObject*) { UpdateLabel(); }

// The label stands beside the edit as LabelPosition says; its font is taken from
// LabelFont before it is measured, so a font change places it by its new size.
void TDizSpinEdit::UpdateLabel() {
  if (!FLabel) return;
  FLabel->SetTransparent(FLabelTransparent);
  FLabel->SetFont(FLabelFont.get());
  if (FLabel->AutoSize()) FLabel->AdjustBounds();
  const int L = Left(), T = Top(), W = Width(), H = Height();
  const int lw = FLabel->Width(), lh = FLabel->Height();
  const int cw = TextWidthIn(FLabel->Font(), FLabel->Caption());
  const int m = FLabelMargin;
  int top = T, left = L;
  switch (FLabelPosition) {
    case lpLeftTop: top = T; left = L - cw - m; break;
    case lpLeftCenter: top = T + (H - lh) / 2; left = L - cw - m; break;
    case lpLeftBottom: top = T + H - lh; left = L - cw - m; break;
    case lpTopLeft: top = T - lh - m; left = L; break;
    case lpBottomLeft: top = T + H + m; left = L; break;
    case lpLeftTopLeft: top = T; left = L - m; break;
    case lpLeftCenterLeft: top = T + (H - lh) / 2; left = L - m; break;
    case lpLeftBottomLeft: top = T + H - lh; left = L - m; break;
    case lpTopCenter: top = T - lh - m; left = L + (W - lw) / 2; break;
    case lpBottomCenter: top = T + H + m; left = L + (W - lw) / 2; break;
  }
  FLabel->SetBounds(left, top, lw, lh);
}

// ---------------------------------------------------------------------------------------
// Enabling, visibility, colour.

void TDizSpinEdit::SetEnabled(bool Value) {
  const bool changed = Enabled() != Value;
  TCustomMaskEdit::SetEnabled(Value);
  if (changed && FLabel && !Loading() && !FComponentState.Contains(csDesigning) && !FLabelAlwaysEnabled)
    FLabel->SetEnabled(Value);
}

void TDizSpinEdit::SetVisible(bool Value) {
  TCustomMaskEdit::SetVisible(Value);
  if (FLabel) FLabel->SetVisible(Value);
}

// A colour set while the focus colour is not shown is the colour the edit returns to
// when the focus leaves.
void TDizSpinEdit::SetColor(TColor Value) {
  TCustomMaskEdit::SetColor(Value);
  if (!FApplyingFocusColor) FNormalColor = Value;
}

void TDizSpinEdit::AfterSetFocus() {
  if (FFocusBorderColor != clNone && HandleAllocated())
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  if (FFocusColor != clNone) {
    FApplyingFocusColor = true;
    TCustomMaskEdit::SetColor(FFocusColor);
    FApplyingFocusColor = false;
  }
  if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->GetStyle() + fsBold);
}

void TDizSpinEdit::AfterKillFocus() {
  if (FFocusColor != clNone && FNormalColor != clNone) {
    FApplyingFocusColor = true;
    TCustomMaskEdit::SetColor(FNormalColor);
    FApplyingFocusColor = false;
  }
  if (FFocusLabel && FLabel) FLabel->Font()->SetStyle(FLabel->Font()->GetStyle() - fsBold);
  ApplyEmptyRule();
  if (HandleAllocated()) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------
// Flat and transparent looks, painting.

void TDizSpinEdit::ApplyFlat() {
  if (FFlat) {
    FNormalColor = Color();
    SetBorderStyle(bsNone);
  } else {
    if (FNormalColor != clNone) {
      FApplyingFocusColor = true;
      TCustomMaskEdit::SetColor(FNormalColor);
      FApplyingFocusColor = false;
    }
    SetBorderStyle(bsSingle);
  }
  SetEditRect();
  Invalidate();
}

void TDizSpinEdit::SetFlat(bool Value) {
  if (Loading()) {
    FFlat = Value;
    return;
  }
  if (Value == FFlat) return;
  FFlat = Value;
  ApplyFlat();
}

void TDizSpinEdit::SetFlatLineColor(TColor Value) {
  FFlatLineColor = Value;
  Invalidate();
}

void TDizSpinEdit::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TDizSpinEdit::PaintParentBackground(HDC DC) {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated()) return;
  TPoint origin = ClientToParent(TPoint{0, 0});
  int saved = SaveDC(DC);
  POINT old;
  OffsetWindowOrgEx(DC, origin.X, origin.Y, &old);
  parent->Perform(WM_ERASEBKGND, WPARAM(DC), 0);
  parent->PaintControls(DC, nullptr);
  RestoreDC(DC, saved);
}

void TDizSpinEdit::PaintFocusFrame(HDC WindowDC) {
  RECT r{0, 0, Width(), Height()};
  HBRUSH brush = CreateSolidBrush(ColorToRGB(FFocusBorderColor));
  FrameRect(WindowDC, &r, brush);
  DeleteObject(brush);
}

void TDizSpinEdit::PaintOverlay() {
  if (!HandleAllocated()) return;
  if (FFlat) {
    RECT r{};
    SendMessage(FHandle, EM_GETRECT, 0, LPARAM(&r));
    HDC dc = GetDC(FHandle);
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FFlatLineColor));
    HGDIOBJ old = SelectObject(dc, pen);
    const int y = ClientHeight() - 1;
    MoveToEx(dc, r.left, y, nullptr);
    LineTo(dc, r.right, y);
    SelectObject(dc, old);
    DeleteObject(pen);
    ReleaseDC(FHandle, dc);
  }
  if (FFocusBorderColor != clNone && Focused()) {
    HDC dc = GetWindowDC(FHandle);
    PaintFocusFrame(dc);
    ReleaseDC(FHandle, dc);
  }
  if (FButton) FButton->Invalidate();
}
