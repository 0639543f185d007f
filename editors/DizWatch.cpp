#include "editors/DizWatch.h"

#include <cmath>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/Exceptions.h"

// ---- settings and appearance ----------------------------------------------------------

void TWatchSettings::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TWatchSettings*>(Source)) {
    FSecond = s->FSecond;
    FTimeOffset = s->FTimeOffset;
    SetAuto(s->FAuto);
    return;
  }
  TPersistent::Assign(Source);
}

TWatchAppearance::TWatchAppearance()
    : FHourFont(std::make_unique<TFont>()), FAMPMFont(std::make_unique<TFont>()), FPicture(std::make_unique<TPicture>()) {
  FHourFont->SetName("Tahoma");
  FHourFont->SetSize(8);
  FAMPMFont->SetName("Tahoma");
  FAMPMFont->SetSize(10);
  FPicture->OnChange = [this](TObject* s) { PictureChanged(s); };
}

TWatchAppearance::~TWatchAppearance() = default;

void TWatchAppearance::Assign(TPersistent* Source) {
  auto* a = dynamic_cast<TWatchAppearance*>(Source);
  if (!a) {
    TPersistent::Assign(Source);
    return;
  }
  TNotifyEvent keep = OnChange;
  OnChange = nullptr;  // only the three setters below may notify
  FSize = a->FSize; FHourPointer = a->FHourPointer; FBackgroundColor = a->FBackgroundColor;
  FMinutePointerShadow = a->FMinutePointerShadow; FBackgroundColorTo = a->FBackgroundColorTo;
  FHourPointerShadow = a->FHourPointerShadow; FSecondPointerShadow = a->FSecondPointerShadow;
  FSecondPointer = a->FSecondPointer; FBorderColor = a->FBorderColor; FMinutePointer = a->FMinutePointer;
  FHourFont->Assign(a->FHourFont.get());
  FAMPMFont->Assign(a->FAMPMFont.get());
  FPicture->Assign(a->FPicture.get());
  FAMPMFrame = a->FAMPMFrame; FShape = a->FShape; FPointerStyle = a->FPointerStyle; FBorderStyle = a->FBorderStyle;
  FHourPointerSize = a->FHourPointerSize; FSecondPointerSize = a->FSecondPointerSize;
  FMinutePointerSize = a->FMinutePointerSize; FHourColor = a->FHourColor; FMinuteColor = a->FMinuteColor;
  FCenterPointSize = a->FCenterPointSize; FCenterPointColor = a->FCenterPointColor;
  FCenterPointBorderColor = a->FCenterPointBorderColor; FBackgroundGradient = a->FBackgroundGradient;
  FRounding = a->FRounding; FHourMarkLength = a->FHourMarkLength; FHourMarkWidth = a->FHourMarkWidth;
  FMinuteMarkLength = a->FMinuteMarkLength; FMinuteMarkWidth = a->FMinuteMarkWidth; FBorderWidth = a->FBorderWidth;
  FAMPMColor = a->FAMPMColor; FAMPMBorderColor = a->FAMPMBorderColor;
  OnChange = keep;
  SetCenterPointOuterBorderColor(a->FCenterPointOuterBorderColor);
  SetTickMarks(a->FTickMarks);
  SetHourMarkStyle(a->FHourMarkStyle);
}

void TWatchAppearance::ApplyStyle(DUZERazav Style) {
  SetCenterPointOuterBorderColor(clNone);
  FHourFont->SetColor(clBlack);
  FAMPMFont->SetColor(clBlack);
  if (Style == tsCustom) return;
  SetHourPointerShadow(clWhite);
  SetMinutePointerShadow(clWhite);
  struct Row { TColor AmpmBorder, Ampm, Back, BackTo, Border, CpBorder, Cp, Hands, Second; };
  auto rgb = [](int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); };
  const TColor face = TColor(0x8000000F);
  Row row{};
  switch (Style) {
    case tsOffice2003Blue: row = {0x962D00, 0xD68759, 0xFFD2AF, 0xFFD2AF, 0xD68759, 0xD68759, 0xD68759, 0xD68759, 0xFFFFFF}; break;
    case tsOffice2003Silver: row = {0x962D00, 0xBDA4A5, 0xE6D8D8, 0xE6D8D8, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xBDA4A5, 0xFFFFFF}; break;
    case tsOffice2003Olive: row = {0x962D00, 0x82C0AF, rgb(225, 234, 185), rgb(225, 234, 185), 0x82C0AF, 0x82C0AF, 0x82C0AF, 0x82C0AF, 0xFFFFFF}; break;
    case tsOffice2003Classic: row = {0x962D00, 0x808080, 0xF2F2F2, 0xF2F2F2, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}; break;
    case tsOffice2007Luna: row = {0xF0DED0, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0xF0DED0, 0xFFEFE3, 0xFFEFE3, 0x723708, 0x723708}; break;
    case tsOffice2007Obsidian: row = {0xF2F1F0, 0x5C534C, 0x5C534C, 0x5C534C, 0xF2F1F0, 0xFFEFE3, 0xFFEFE3, 0xF2F1F0, 0xF2F1F0}; break;
    case tsWindowsXP: row = {clBlack, face, face, face, clBlack, clBlack, clBlack, clBlack, clBlack}; break;
    case tsWhidbey: row = {0x7E9898, 0xF5F9FA, 0xF5F9FA, 0xF5F9FA, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898, 0x7E9898}; break;
    case tsOffice2007Silver: row = {0xE8E0DB, rgb(241, 244, 248), rgb(241, 244, 248), rgb(241, 244, 248), 0xE8E0DB, 0xE8E0DB, 0x74706F, 0x74706F, 0x74706F}; break;
    case tsWindowsVista: row = {0xFEDF9A, 0xFFFDF9, 0xFFFDF9, 0xFFFAF0, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A, 0xFEDF9A}; break;
    case tsWindows7: row = {0xFBD6B8, 0xFDFBFA, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8, 0xFBD6B8}; break;
    case tsTerminal: row = {0x808080, face, face, face, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080}; break;
    default: return;
  }
  FAMPMBorderColor = row.AmpmBorder;  // stored without a notification
  FAMPMColor = row.Ampm;
  SetBackgroundColor(row.Back);
  SetBackgroundColorTo(row.BackTo);
  SetBorderColor(row.Border);
  SetCenterPointBorderColor(row.CpBorder);
  SetCenterPointColor(row.Cp);
  SetHourColor(row.Hands);
  SetMinuteColor(row.Hands);
  SetHourPointer(row.Hands);
  SetMinutePointer(row.Hands);
  SetSecondPointer(row.Second);
  if (Style == tsOffice2007Obsidian) {
    FAMPMFont->SetColor(TColor(0xF2F1F0));
    FHourFont->SetColor(TColor(0xF2F1F0));
  }
}

// ---- the clock ------------------------------------------------------------------------

TDizWatch::TDizWatch(TComponent* AOwner)
    : TCustomControl(AOwner),
      FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()),
      FCache(std::make_unique<TBitmap>()),
      FClockTimer(std::make_unique<TTimer>(nullptr)),
      FAnimTimer(std::make_unique<TTimer>(nullptr)) {
  FWidth = 180;
  FHeight = 180;
  FControlStyle = TControlStyle{csOpaque, csCaptureMouse, csClickEvents, csDoubleClicks};
  FAppearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
  FSettings->OnChange = [this](TObject* s) { SettingsChanged(s); };
  FCache->SetWidth(180);
  FCache->SetHeight(180);
  FClockTimer->SetEnabled(false);
  FClockTimer->SetInterval(100);
  FClockTimer->SetOnTimer([this](TObject* s) { ClockTick(s); });
  FAnimTimer->SetEnabled(false);
  FAnimTimer->SetInterval(1);
  FAnimTimer->SetOnTimer([this](TObject* s) { AnimTick(s); });
}

TDizWatch::~TDizWatch() {
  FAnimTimer.reset();
  FClockTimer.reset();
}

void TDizWatch::SettingsChanged(TObject*) {
  FClockTimer->SetEnabled(FSettings->Auto());
  if (FSettings->Auto()) {
    FTime = ::Time();
    int h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    FInternalSet = true;
    SetAM(h < 12);
    FInternalSet = false;
  }
  Invalidate();
}

TDateTime TDizWatch::GetDisplayTime() const {
  if (FSettings->Auto()) return ::Now() + FSettings->TimeOffset() / 1440.0;
  return FTime;
}

void TDizWatch::SetTimeDirect(TDateTime Value) {
  if (Value == FTime) return;
  FTime = Value;
  int h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  FInternalSet = true;
  SetAM(h < 12);
  FInternalSet = false;
}

void TDizWatch::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  SetTimeDirect(Value);
  RepaintTime();
}

void TDizWatch::SetShowAMPM(bool Value) {
  if (FShowAMPM == Value) return;
  FShowAMPM = Value;
  Invalidate();
}

void TDizWatch::SetShowNumbers(bool Value) {
  if (FShowNumbers == Value) return;
  FShowNumbers = Value;
  Invalidate();
}

void TDizWatch::SetAM(bool Value) {
  if (FAM == Value) return;
  FAM = Value;
  if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet && HandleAllocated() && Showing())
    SlideAMPM(Value);
  UpdateCache();
}

void TDizWatch::SetHour(int H) {
  int h, m, s, ms;
  DecodeTime(GetDisplayTime(), h, m, s, ms);
  if (H == h) return;
  bool loading = FComponentState.Contains(csLoading) || FComponentState.Contains(csDesigning);
  if (FAnimation && !FInternalChange && !loading) {
    FHourTarget = H;
    FHourAnimating = true;
    FAnimTimer->SetEnabled(true);
    return;
  }
  SetTimeDirect(std::trunc(FTime) + EncodeTime(H, m, s, ms));
  RepaintTime();
  // A change the user made raises OnChange once: at once when set directly, at the target
  // when animated or stepped internally.
  if (!FInternalChange || H == FHourTarget) RaiseChange();
}

void TDizWatch::SetMinute(int M) {
  if (M >= 60) throw Exception("Invalid time");
  int h, m, s, ms;
  DecodeTime(GetDisplayTime(), h, m, s, ms);
  if (M == m) return;
  bool loading = FComponentState.Contains(csLoading) || FComponentState.Contains(csDesigning);
  if (FAnimation && !FInternalChange && !loading) {
    FMinuteTarget = M;
    FHourAnimating = false;
    FMinuteStart = m;
    FAnimTimer->SetEnabled(true);
    return;
  }
  if (!FAnimation) FMinuteStart = m;
  if (M == 0 && FMinuteStart > 30) {
    h = h == 23 ? 0 : h + 1;  // run forward past the top of the dial: the next hour
    FMinuteStart = 0;
  }
  SetTimeDirect(std::trunc(FTime) + EncodeTime(h, M, s, ms));
  RepaintTime();
  if (!FInternalChange || M == FMinuteTarget) RaiseChange();
}

void TDizWatch::AnimTick(TObject*) {
  if (!FAnimation || FComponentState.Contains(csLoading) || FComponentState.Contains(csDesigning)) return;
  int h, m, s, ms;
  DecodeTime(GetDisplayTime(), h, m, s, ms);
  int factor = FAnimationFactor > 0 ? FAnimationFactor : 1;
  FInternalChange = true;
  if (FHourAnimating) {
    int d = std::abs(FHourTarget - h);
    int step = std::max(int(std::lround(double(d) / factor)) & 0xFF, 1);
    if (h == FHourTarget) {
      SetHour(FHourTarget);
      FAnimTimer->SetEnabled(false);
    } else {
      SetHour(h < FHourTarget ? std::min(h + step, FHourTarget) : std::max(h - step, FHourTarget));
    }
    if (h != FHourTarget) {
      int nh, nm, ns, nms;
      DecodeTime(GetDisplayTime(), nh, nm, ns, nms);
      if (nh == FHourTarget) FAnimTimer->SetEnabled(false);
    }
  } else {
    bool wrapForward = FMinuteTarget == 0 && m > 30;
    int d = std::abs((wrapForward ? 60 : FMinuteTarget) - m);
    int step = std::max(int(std::lround(double(d) / factor)) & 0xFF, 1);
    if (m == FMinuteTarget) {
      SetMinute(FMinuteTarget);
      FAnimTimer->SetEnabled(false);
    } else {
      int next = (m < FMinuteTarget || wrapForward) ? m + step : m - step;
      if (!wrapForward) next = m < FMinuteTarget ? std::min(next, FMinuteTarget) : std::max(next, FMinuteTarget);
      if (next > 59) next = 0;
      SetMinute(next);
      if (next == FMinuteTarget) FAnimTimer->SetEnabled(false);
    }
  }
  FInternalChange = false;
}

void TDizWatch::HandleKey(WORD Key) {
  if (FSettings->Auto()) return;
  int h, m, s, ms;
  DecodeTime(GetDisplayTime(), h, m, s, ms);
  auto hourNow = [&](int H) {
    FInternalChange = true;
    FHourTarget = H;
    SetHour(H);
    FInternalChange = false;
  };
  auto minuteNow = [&](int M) {
    FInternalChange = true;
    FMinuteTarget = M;
    FMinuteStart = m;
    SetMinute(M);
    FInternalChange = false;
  };
  switch (Key) {
    case VK_PRIOR: if (h == 23) hourNow(0); else SetHour(h + 1); break;
    case VK_NEXT: if (h == 0) hourNow(23); else SetHour(h - 1); break;
    case VK_HOME: hourNow(12); break;
    case VK_END: SetMinute(0); break;
    case VK_LEFT:
      if (m == 0) {
        SetTime(std::trunc(FTime) + EncodeTime(h == 0 ? 23 : h - 1, 59, s, ms));
        RaiseChange();
      } else {
        minuteNow(m - 1);
      }
      break;
    case VK_RIGHT: minuteNow(m == 59 ? 0 : m + 1); break;
    default: break;
  }
}

int TDizWatch::GetXYToMinute(int X, int Y) {
  TPoint c = GetCenterPoint();
  double dy = std::fabs(double(c.Y - Y)), dx = std::fabs(double(c.X - X));
  if (dy == 0) dy = 1;
  if (dx == 0) dx = 1;
  int f = int(std::nearbyint(std::atan(dy / dx) * 180 / M_PI / 6));
  int r;
  if (X >= c.X && Y >= c.Y) r = f + 15;
  else if (X <= c.X && Y >= c.Y) r = 45 - f;
  else if (X <= c.X && Y <= c.Y) r = f + 45;
  else r = 15 - f;
  return (r < 0 || r > 59) ? 0 : r;
}

int TDizWatch::GetXYToHour(int X, int Y) {
  int c = int(std::nearbyint(GetXYToMinute(X, Y) / 5.0));
  if (c <= 0) return FAM ? 0 : 12;
  if (!FAM) c += 12;
  return c == 24 ? 0 : c;
}

void TDizWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (FSettings->Auto()) return;
  TRect r = GetWatchRect();
  HRGN rgn = CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom);
  bool inside = PtInRegion(rgn, X, Y);
  DeleteObject(rgn);
  if (!inside) {
    SetMinute(GetXYToMinute(X, Y));
    return;
  }
  TRect b = GetAMPMRect();
  if (X >= b.Left && X < b.Right && Y >= b.Top && Y < b.Bottom) {
    if (FAnimation) SetAM(!FAM);
    int h, m, s, ms;
    DecodeTime(GetDisplayTime(), h, m, s, ms);
    FInternalChange = true;
    FHourTarget = h < 12 ? h + 12 : h - 12;
    SetHour(FHourTarget);
    FInternalChange = false;
    return;
  }
  SetHour(GetXYToHour(X, Y));
}

void TDizWatch::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = FTabStop ? 5 : 0; return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SETCURSOR:
      if (!FComponentState.Contains(csDesigning)) {
        TCustomControl::WndProc(Message);
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(Handle(), &p);
        TRect b = GetAMPMRect();
        bool over = p.x >= b.Left && p.x < b.Right && p.y >= b.Top && p.y < b.Bottom;
        ::SetCursor(LoadCursor(nullptr, over ? IDC_HAND : IDC_ARROW));
        Message.Result = 1;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TDizWatch::Resize() {
  TCustomControl::Resize();
  FCache->SetWidth(std::max(1, ClientWidth()));
  FCache->SetHeight(std::max(1, ClientHeight()));
}

// ---- geometry -------------------------------------------------------------------------

TRect TDizWatch::GetWatchRect() {
  int w = ClientWidth(), h = ClientHeight();
  int s = FAppearance->Size() > 0 ? std::min({FAppearance->Size(), w, h}) : std::min(w, h) - 20;
  int left = (w - s) / 2, top = (h - s) / 2;
  return TRect{left, top, left + s, top + s};
}

TPoint TDizWatch::GetCenterPoint() {
  TRect r = GetWatchRect();
  return TPoint{r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2};
}

double TDizWatch::GetRadius() {
  TRect r = GetWatchRect();
  return double((r.Right - r.Left) / 2);
}

TRect TDizWatch::GetInnerRect() {
  TRect r = GetWatchRect();
  int b = FAppearance->BorderWidth();
  return TRect{r.Left + b, r.Top + b, r.Right - b, r.Bottom - b};
}

TRect TDizWatch::GetAMPMRect() {
  if (!FShowAMPM) return TRect{-1, -1, -1, -1};
  TCanvas* c = Canvas();
  c->Font()->Assign(FAppearance->AMPMFont());
  TSize s = c->TextExtent("AM");
  int w = s.cx + 8, h = s.cy;
  TPoint cp = GetCenterPoint();
  int left = cp.X - w / 2, top = cp.Y + int(std::nearbyint((GetRadius() - h) / 3));
  return TRect{left, top, left + w, top + h};
}
