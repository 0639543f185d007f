// HTMLHintWindow: measuring, placing and painting a mark-up or unicode hint.
#include "grid/HTMLHintWindow.h"

#include <algorithm>

#include "foundation/Deahtml.h"
#include "foundation/DizUtil.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/vcl/Forms.h"

std::string HTMLHintFontName;

namespace {
// Draws (or only measures) mark-up in R with the hint's link colour.
void HintMarkup(TCanvas* C, const std::string& Text, const TRect& R, bool Measure, int& Width, int& Height) {
  std::string anchor, plain, focused, title, ctlID, ctlValue, ctlType;
  int links = 0, hit = 0;
  TRect hot, ctl;
  Width = Height = 0;
  HTMLDrawEx(C, Text, R, nullptr, 0, 0, -1, -1, 1, false, Measure, false, false, true, false, true, false, 1.0,
             clBlue, clNone, clNone, clGray, anchor, plain, focused, title, Width, Height, links, hit, hot, ctl,
             ctlID, ctlValue, ctlType, nullptr, nullptr, nullptr);
}
}  // namespace

void THTMLHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  const TSystemIdentity& id = SystemIdentity();
  if (id.MajorVersion > 5 || (id.MajorVersion == 5 && id.MinorVersion > 0))
    Params.WindowClass.style |= CS_DROPSHADOW;
}

bool THTMLHintWindow::IsUnicode(const std::string& AHint) const { return TextType(AHint, true) == ttUnicode; }

TPoint THTMLHintWindow::Measure(const std::string& AHint, int Width) {
  TCanvas* c = Canvas();
  c->Font()->Assign(Screen ? Screen->HintFont() : Font());
  if (IsUnicode(AHint)) {
    if (!HTMLHintFontName.empty()) c->Font()->SetName(HTMLHintFontName);
    const std::u16string w = DecodeWideStr(AHint);
    RECT r{0, 0, Width, 0};
    DrawTextW(c->GetHandle(), w.c_str(), static_cast<int>(w.size()), &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return TPoint{static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top)};
  }
  int w = 0, h = 0;
  HintMarkup(c, AHint, TRect{0, 0, Width, 4096}, true, w, h);
  return TPoint{w, h};
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
  const TPoint s = Measure(AHint, MaxWidth);
  return TRect{0, 0, s.X, s.Y};
}

void THTMLHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  int marginX = 16;
  const int marginY = 4;
  const TPoint s = Measure(AHint, 1024 - 16);
  FTextWidth = s.X;
  FTextHeight = s.Y;
  if (IsUnicode(AHint)) {
    FWideText = DecodeWideStr(AHint);
    marginX = 8;
  } else {
    FWideText.clear();
  }
  TRect r{Rect.Left, Rect.Top, Rect.Left + FTextWidth + marginX, Rect.Top + FTextHeight + marginY};
  // Back onto the monitor that holds the top-left corner, 2 pixels inside its edges.
  if (Screen && Screen->MonitorCount() > 0) {
    const TRect m = Screen->MonitorFromPoint(TPoint{r.Left, r.Top})->BoundsRect();
    if (r.Right > m.Left + m.Width()) {
      const int dx = r.Right - (m.Right - 2);
      r.Left -= dx;
      r.Right -= dx;
    }
    if (r.Bottom > m.Top + m.Height()) {
      const int dy = r.Bottom - (m.Bottom - 2);
      r.Top -= dy;
      r.Bottom -= dy;
    }
  }
  HWND h = Handle();
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(h, HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FVisible = true;
  Invalidate();
}

void THTMLHintWindow::WndProc(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  THintWindow::WndProc(Message);
}

void THTMLHintWindow::Paint() {
  TCanvas* c = Canvas();
  const TRect cr = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(cr);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(static_cast<TColor>(GetSysColor(COLOR_3DLIGHT)));
  c->MoveTo(cr.Left, cr.Bottom - 2);
  c->LineTo(cr.Left, cr.Top);
  c->LineTo(cr.Right - 1, cr.Top);
  c->Pen()->SetColor(static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));
  c->MoveTo(cr.Left, cr.Bottom - 1);
  c->LineTo(cr.Right - 1, cr.Bottom - 1);
  c->LineTo(cr.Right - 1, cr.Top - 1);
  TRect r = cr;
  r.Left += 4;
  r.Right -= 4;
  r.Top = cr.Top + (cr.Height() - FTextHeight) / 2;
  r.Bottom = r.Top + FTextHeight + 8;
  c->Font()->Assign(Screen ? Screen->HintFont() : Font());
  c->Brush()->SetStyle(bsClear);
  if (!FWideText.empty()) {
    if (!HTMLHintFontName.empty()) c->Font()->SetName(HTMLHintFontName);
    RECT wr{r.Left, r.Top, r.Right, r.Bottom};
    DrawTextW(c->GetHandle(), FWideText.c_str(), static_cast<int>(FWideText.size()), &wr,
              DT_NOPREFIX | DT_SINGLELINE);
  } else {
    int w = 0, h = 0;
    HintMarkup(c, Caption(), r, false, w, h);
  }
  c->Brush()->SetStyle(bsSolid);
}
