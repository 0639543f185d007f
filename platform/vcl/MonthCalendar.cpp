#include "platform/vcl/MonthCalendar.h"

#include <langinfo.h>

#include <algorithm>
#include <cmath>

#include "platform/gdi/Gdi.h"
#include "platform/vcl/Forms.h"

int LocaleFirstWeekday() {
#ifdef _NL_TIME_FIRST_WEEKDAY
  // glibc: the first weekday counted from the week-1stday base (a Sunday or a Monday).
  int first = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo(_NL_TIME_FIRST_WEEKDAY)) & 0xFF);
  const char* base = nl_langinfo(_NL_TIME_WEEK_1STDAY);
  long long day = static_cast<long long>(reinterpret_cast<std::intptr_t>(base));
  int baseWeekday = (day == 19971201) ? 1 : 0;  // 1 Dec 1997 was a Monday
  if (first >= 1 && first <= 7) return (baseWeekday + first - 1) % 7;
#endif
  return 0;
}

namespace {
bool InRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
// The ISO week of a day.
int IsoWeek(TDateTime day) {
  int dow = (DayOfWeek(day) + 5) % 7;  // 0 = Monday
  TDateTime thursday = std::floor(day) - dow + 3;
  int y, m, d;
  DecodeDate(thursday, y, m, d);
  return int((thursday - EncodeDate(y, 1, 1)) / 7) + 1;
}
TDateTime FirstOfMonth(TDateTime value) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  return EncodeDate(y, m, 1);
}
}  // namespace

TMonthCalendar::TMonthCalendar(TComponent* AOwner, bool Popup) : TCustomControl(AOwner), FPopup(Popup) {
  FTabStop = !Popup;
  FColor = clWindow;
  FDate = std::floor(Today());
  FMonth = FirstOfMonth(FDate);
  FControlStyle = TControlStyle{csOpaque, csClickEvents, csDoubleClicks};
  if (Popup) FVisible = false;
  Metrics();
  TSize s = MinRequiredSize();
  FWidth = s.cx + (Popup ? 2 : 0);
  FHeight = s.cy + (Popup ? 2 : 0);
}

void TMonthCalendar::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= FStyle;
  if (FPopup) {
    Params.Style = (Params.Style & ~DWORD(WS_CHILD | WS_TABSTOP)) | WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  }
}

bool TMonthCalendar::HasStyle(DWORD Bit) const {
  if (FHandle) return (DWORD(GetWindowLong(FHandle, GWL_STYLE)) & Bit) != 0;
  return (FStyle & Bit) != 0;
}

void TMonthCalendar::SetStyleBit(DWORD Bit, bool On) {
  FStyle = On ? (FStyle | Bit) : (FStyle & ~Bit);
  if (FHandle) {
    DWORD s = DWORD(GetWindowLong(FHandle, GWL_STYLE));
    SetWindowLong(FHandle, GWL_STYLE, LONG(On ? (s | Bit) : (s & ~Bit)));
  }
  Invalidate();
}

TDateTime TMonthCalendar::Today() const { return FToday != 0 ? std::floor(FToday) : ::Date(); }

void TMonthCalendar::Metrics() {
  if (!FMeasure) FMeasure = std::make_unique<TBitmap>();
  TCanvas* c = FMeasure->Canvas();
  c->Font()->Assign(Font());
  int digits = c->TextWidth("00");
  int names = 0;
  for (const std::string& n : FormatSettings().ShortDayNames) names = std::max(names, c->TextWidth(n.empty() ? "Wed" : n));
  int th = c->TextHeight("0");
  FCellW = std::max(digits + 10, names + 6);
  FCellH = th + 3;
  FTitleH = th + 12;
}

TSize TMonthCalendar::MinRequiredSize() {
  Metrics();
  // Reads the window style, so a style set straight on the window counts.
  int w = 7 * FCellW + 2 * FMargin + (WeekNumbers() ? FCellW : 0);
  int h = FTitleH + (FCellH + 3) + 6 * FCellH + FMargin + (ShowToday() ? FCellH + 4 : 0);
  return TSize{w, h};
}

TRect TMonthCalendar::PrevArrowRect() { return TRect{FMargin, 4, FMargin + 18, FTitleH - 4}; }
TRect TMonthCalendar::NextArrowRect() {
  int w = MinRequiredSize().cx;
  return TRect{w - FMargin - 18, 4, w - FMargin, FTitleH - 4};
}

TDateTime TMonthCalendar::GridStart() {
  int dow = DayOfWeek(FMonth) - 1;  // 0 = Sunday
  int back = (dow - FirstWeekday() + 7) % 7;
  if (back == 0) back = 7;  // a whole week of the previous month leads, as the control shows it
  return FMonth - back;
}

TRect TMonthCalendar::DayRect(TDateTime Day) {
  Metrics();
  int index = int(std::floor(Day) - GridStart());
  if (index < 0 || index >= 42) return TRect{0, 0, 0, 0};
  int left = FMargin + (WeekNumbers() ? FCellW : 0) + (index % 7) * FCellW;
  int top = FTitleH + FCellH + 3 + (index / 7) * FCellH;
  return TRect{left, top, left + FCellW, top + FCellH};
}

TRect TMonthCalendar::TodayRect() {
  if (!ShowToday()) return TRect{0, 0, 0, 0};
  int top = FTitleH + FCellH + 3 + 6 * FCellH + 2;
  return TRect{FMargin, top, MinRequiredSize().cx - FMargin, top + FCellH + 2};
}

bool TMonthCalendar::DateAtPos(int X, int Y, TDateTime& Day) {
  Metrics();
  int left = FMargin + (WeekNumbers() ? FCellW : 0);
  int top = FTitleH + FCellH + 3;
  if (X < left || X >= left + 7 * FCellW || Y < top || Y >= top + 6 * FCellH) return false;
  Day = GridStart() + ((Y - top) / FCellH) * 7 + (X - left) / FCellW;
  return true;
}

TDateTime TMonthCalendar::Clamp(TDateTime Value) const {
  if (FMinDate != 0 && Value < std::floor(FMinDate)) Value = std::floor(FMinDate);
  if (FMaxDate != 0 && Value > std::floor(FMaxDate)) Value = std::floor(FMaxDate);
  return Value;
}

void TMonthCalendar::SetDate(TDateTime Value) {
  FDate = Clamp(std::floor(Value));
  FMonth = FirstOfMonth(FDate);
  Invalidate();
}

void TMonthCalendar::SetVisibleMonth(TDateTime Value) {
  FMonth = FirstOfMonth(Value);
  Invalidate();
}

void TMonthCalendar::MoveTo(TDateTime Value) {
  TDateTime v = Clamp(Value);
  if (v == FDate) return;
  SetDate(v);
  if (OnChange) OnChange(this);
}

bool TMonthCalendar::HandleKey(WORD Key) {
  switch (Key) {
    case VK_LEFT: MoveTo(FDate - 1); return true;
    case VK_RIGHT: MoveTo(FDate + 1); return true;
    case VK_UP: MoveTo(FDate - 7); return true;
    case VK_DOWN: MoveTo(FDate + 7); return true;
    case VK_PRIOR: MoveTo(IncMonth(FDate, -1)); return true;
    case VK_NEXT: MoveTo(IncMonth(FDate, 1)); return true;
    case VK_HOME: MoveTo(FirstOfMonth(FDate)); return true;
    case VK_END: {
      int y, m, d;
      DecodeDate(FDate, y, m, d);
      MoveTo(EncodeDate(y, m, DaysInAMonth(y, m)));
      return true;
    }
    case VK_RETURN:
      if (OnSelect) OnSelect(FDate);
      return true;
    case VK_ESCAPE:
      if (OnCancel) OnCancel();
      return true;
    default: return false;
  }
}

void TMonthCalendar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case MCM_GETMINREQRECT: {
      TSize s = MinRequiredSize();
      if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) *r = RECT{0, 0, s.cx, s.cy};
      Message.Result = 1;
      return;
    }
    case MCM_GETCURSEL: Message.Result = LRESULT(FDate); return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_MOUSEACTIVATE:
      if (FPopup) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      if (FPopup && Visible() && reinterpret_cast<HWND>(Message.LParam) != FHandle && OnCancel) {
        OnCancel();
        return;
      }
      break;
    case WM_KEYDOWN:
      if (HandleKey(WORD(Message.WParam))) return;
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

void TMonthCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  TRect client = ClientRect();
  if (X < client.Left || Y < client.Top || X >= client.Right || Y >= client.Bottom) {
    if (FPopup && OnCancel) OnCancel();  // a press outside the captured pop-up
    return;
  }
  if (Button != mbLeft) return;
  TPoint p{X, Y};
  if (InRect(PrevArrowRect(), p)) {
    FMonth = FirstOfMonth(IncMonth(FMonth, -1));
    Invalidate();
    return;
  }
  if (InRect(NextArrowRect(), p)) {
    FMonth = FirstOfMonth(IncMonth(FMonth, 1));
    Invalidate();
    return;
  }
  TDateTime day;
  if (DateAtPos(X, Y, day) || (ShowToday() && InRect(TodayRect(), p) && (day = Today(), true))) {
    if (Clamp(day) != day) return;  // outside the allowed range: not pickable
    FDate = day;
    FMonth = FirstOfMonth(day);
    Invalidate();
    if (OnChange) OnChange(this);
    if (OnSelect) OnSelect(day);
  }
}

void TMonthCalendar::Paint() {
  Metrics();
  TCanvas* c = Canvas();
  const TFormatSettings& fs = FormatSettings();
  TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWindow);
  c->FillRect(client);
  int width = MinRequiredSize().cx;
  int weekCol = WeekNumbers() ? FCellW : 0;

  // Title: the month and year between the two arrows.
  TRect title{2, 2, width - 2, FTitleH - 2};
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(title);
  int y, m, d;
  DecodeDate(FMonth, y, m, d);
  std::string month = fs.LongMonthNames[size_t(m - 1)];
  if (month.empty()) month = std::to_string(m);
  std::string caption = month + " " + std::to_string(y);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->Font()->SetColor(clWindowText);
  TSize ts = c->TextExtent(caption);
  c->TextOut((width - ts.cx) / 2, (FTitleH - ts.cy) / 2, caption);
  c->Font()->SetStyle(TFontStyles{});
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWindowText);
  c->Pen()->SetColor(clWindowText);
  for (int side = 0; side < 2; ++side) {
    TRect a = side == 0 ? PrevArrowRect() : NextArrowRect();
    int cx = (a.Left + a.Right) / 2, cy = (a.Top + a.Bottom) / 2;
    if (side == 0) c->Polygon({TPoint{cx + 2, cy - 4}, TPoint{cx - 2, cy}, TPoint{cx + 2, cy + 4}});
    else c->Polygon({TPoint{cx - 2, cy - 4}, TPoint{cx + 2, cy}, TPoint{cx - 2, cy + 4}});
  }

  // Day names from the first weekday, and a line under them.
  c->Brush()->SetStyle(bsClear);
  int namesTop = FTitleH;
  int first = FirstWeekday();
  for (int i = 0; i < 7; ++i) {
    std::string n = fs.ShortDayNames[size_t((first + i) % 7)];
    TSize ns = c->TextExtent(n);
    int left = FMargin + weekCol + i * FCellW;
    c->Font()->SetColor(clHighlight);
    c->TextOut(left + (FCellW - ns.cx) / 2, namesTop, n);
  }
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(FMargin + weekCol, namesTop + FCellH + 1);
  c->LineTo(FMargin + weekCol + 7 * FCellW, namesTop + FCellH + 1);

  // The grid of days: the month's own in the text colour, the neighbours' in grey.
  TDateTime start = GridStart();
  TDateTime today = Today();
  for (int i = 0; i < 42; ++i) {
    TDateTime day = start + i;
    TRect r = DayRect(day);
    int dy, dm, dd;
    DecodeDate(day, dy, dm, dd);
    std::string text = std::to_string(dd);
    TSize s = c->TextExtent(text);
    bool selected = day == FDate;
    if (selected) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->FillRect(TRect{r.Left + 1, r.Top, r.Right - 1, r.Bottom});
      c->Brush()->SetStyle(bsClear);
    }
    bool outside = dm != m || Clamp(day) != day;
    c->Font()->SetColor(selected ? clHighlightText : outside ? clGrayText : clWindowText);
    c->TextOut(r.Right - 6 - s.cx, r.Top + 1, text);
    if (day == today && ShowTodayCircle()) {
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(clRed);
      c->Rectangle(r.Left + 1, r.Top, r.Right - 1, r.Bottom);
    }
  }
  if (WeekNumbers()) {
    c->Font()->SetColor(clHighlight);
    for (int row = 0; row < 6; ++row) {
      TRect r = DayRect(start + row * 7);
      std::string wn = std::to_string(IsoWeek(start + row * 7 + (8 - first) % 7));
      TSize s = c->TextExtent(wn);
      c->TextOut(r.Left - FCellW + (FCellW - s.cx) / 2, r.Top + 1, wn);
    }
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(FMargin + weekCol - 1, namesTop + FCellH + 1);
    c->LineTo(FMargin + weekCol - 1, namesTop + FCellH + 3 + 6 * FCellH);
  }
  if (ShowToday()) {
    TRect r = TodayRect();
    int x = r.Left + 4;
    if (ShowTodayCircle()) {
      c->Pen()->SetColor(clRed);
      c->Brush()->SetStyle(bsClear);
      c->Rectangle(x, r.Top + 2, x + 18, r.Bottom - 2);
      x += 24;
    }
    c->Font()->SetColor(clWindowText);
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->TextOut(x, r.Top + 2, "Today: " + FormatDateTime(fs.ShortDateFormat, today));
    c->Font()->SetStyle(TFontStyles{});
  }
}
