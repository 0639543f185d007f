#include "platform/vcl/DateTimePicker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/gdi/Edges.h"
#include "platform/gdi/Gdi.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/MonthCalendar.h"

namespace {
bool InRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }
std::string Pad(int v, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, v);
  return buf;
}
bool IsFieldLetter(char c) { return c == 'd' || c == 'M' || c == 'y' || c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't'; }
bool Editable(TDateTimePicker::TFieldKind k) { return k != TDateTimePicker::fkLiteral; }
const char* const kEnglishShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 186;
  FHeight = 21;
  FTabStop = true;
  FColor = clWindow;
  FControlStyle = TControlStyle{csOpaque, csClickEvents, csDoubleClicks, csFixedHeight};
  FDateTime = ::Now();
}

TDateTimePicker::~TDateTimePicker() {
  if (FDroppedDown && FCalendar && FCalendar->HandleAllocated() && GetCapture() == FCalendar->Handle()) {
    FDroppedDown = false;
    ReleaseCapture();
  }
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FKind == dtkTime) Params.Style |= DTS_TIMEFORMAT;
  else if (FDateMode == dmUpDown) Params.Style |= DTS_UPDOWN;
  if (FShowCheckbox) Params.Style |= DTS_SHOWNONE;
}

// ---- value ----------------------------------------------------------------------------

TDateTime TDateTimePicker::Clamp(TDateTime Value) const {
  if (FMinDate != 0 && Value < FMinDate) Value = FMinDate;
  if (FMaxDate != 0 && Value > FMaxDate) Value = FMaxDate;
  return Value;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  FDateTime = Clamp(Value);
  UpdateText();
}

void TDateTimePicker::SetDate(TDateTime Value) {
  double t = TimeOf(FDateTime);
  double d = std::trunc(Value);
  SetDateTime(d >= 0 ? d + t : d - t);
}

void TDateTimePicker::SetTime(TDateTime Value) {
  double d = std::trunc(FDateTime);
  double t = std::fabs(Value - std::trunc(Value));
  SetDateTime(d >= 0 ? d + t : d - t);
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
  FMinDate = Value;
  if (FCalendar) FCalendar->SetMinDate(Value);
  SetDateTime(FDateTime);
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
  FMaxDate = Value;
  if (FCalendar) FCalendar->SetMaxDate(Value);
  SetDateTime(FDateTime);
}

void TDateTimePicker::UserSet(TDateTime Value) {
  Value = Clamp(Value);
  if (Value == FDateTime) return;
  FDateTime = Value;
  UpdateText();
  Notify(DTN_DATETIMECHANGE);
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  FParsed = false;
  FSelected = -1;
  if (HandleAllocated()) RecreateWnd();
  UpdateText();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
  if (FDateMode == Value) return;
  FDateMode = Value;
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TDateTimePicker::SetFormat(const std::string& Value) {
  FFormat = Value;
  FParsed = false;
  FSelected = -1;
  UpdateText();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
  if (FShowCheckbox == Value) return;
  FShowCheckbox = Value;
  if (HandleAllocated()) RecreateWnd();
  Invalidate();
}

void TDateTimePicker::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Invalidate();
}

void TDateTimePicker::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  FParentCtl3D = false;
  Perform(CM_CTL3DCHANGED, 0, 0);
  Invalidate();
}

// ---- format and fields ----------------------------------------------------------------

std::string TDateTimePicker::EffectiveFormat() const {
  if (!FFormat.empty()) return FFormat;
  const TFormatSettings& fs = FormatSettings();
  std::string out;
  auto literal = [&](char c) { out += '\''; out += c; out += '\''; };
  if (FKind == dtkDate) {
    for (char c : fs.ShortDateFormat) {
      char l = char(std::tolower(static_cast<unsigned char>(c)));
      if (l == 'd') out += 'd';
      else if (l == 'm') out += 'M';
      else if (l == 'y') out += 'y';
      else if (c == '/') literal(fs.DateSeparator);
      else literal(c);
    }
    return out;
  }
  std::string f = fs.LongTimeFormat;
  std::string lower;
  for (char c : f) lower += char(std::tolower(static_cast<unsigned char>(c)));
  bool twelve = lower.find("ampm") != std::string::npos || lower.find("am/pm") != std::string::npos;
  for (size_t i = 0; i < f.size(); ++i) {
    char l = lower[i];
    if (lower.compare(i, 4, "ampm") == 0) { out += "tt"; i += 3; }
    else if (lower.compare(i, 5, "am/pm") == 0) { out += "tt"; i += 4; }
    else if (l == 'h') out += twelve ? 'h' : 'H';
    else if (l == 'n' || l == 'm') out += 'm';
    else if (l == 's') out += 's';
    else if (f[i] == ':') literal(fs.TimeSeparator);
    else literal(f[i]);
  }
  return out;
}

void TDateTimePicker::Parse() {
  std::string fmt = EffectiveFormat();
  if (FParsed && fmt == FParsedFormat) return;
  FParsed = true;
  FParsedFormat = fmt;
  FFields.clear();
  auto addLiteral = [&](const std::string& s) {
    if (!FFields.empty() && FFields.back().Kind == fkLiteral) FFields.back().Literal += s;
    else FFields.push_back(TField{fkLiteral, 0, s});
  };
  for (size_t i = 0; i < fmt.size();) {
    char c = fmt[i];
    if (c == '\'') {
      size_t end = fmt.find('\'', i + 1);
      if (end == std::string::npos) end = fmt.size();
      addLiteral(end == i + 1 ? std::string("'") : fmt.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if (!IsFieldLetter(c)) {
      addLiteral(std::string(1, c));
      ++i;
      continue;
    }
    size_t n = 1;
    while (i + n < fmt.size() && fmt[i + n] == c) ++n;
    i += n;
    int w = int(n);
    TField f;
    switch (c) {
      case 'd': f.Kind = w >= 3 ? fkDayName : fkDay; f.Width = std::min(w, 4); break;
      case 'M': f.Kind = fkMonth; f.Width = std::min(w, 4); break;
      case 'y': f.Kind = fkYear; f.Width = w >= 3 ? 4 : (w == 2 ? 2 : 1); break;
      case 'h': f.Kind = fkHour12; f.Width = std::min(w, 2); break;
      case 'H': f.Kind = fkHour24; f.Width = std::min(w, 2); break;
      case 'm': f.Kind = fkMinute; f.Width = std::min(w, 2); break;
      case 's': f.Kind = fkSecond; f.Width = std::min(w, 2); break;
      default: f.Kind = fkAmPm; f.Width = std::min(w, 2); break;
    }
    FFields.push_back(f);
  }
  if (FSelected < 0 || FSelected >= int(FFields.size()) || !Editable(FFields[size_t(FSelected)].Kind)) {
    FSelected = -1;
    for (size_t k = 0; k < FFields.size(); ++k)
      if (Editable(FFields[k].Kind)) {
        FSelected = int(k);
        break;
      }
  }
}

const std::vector<TDateTimePicker::TField>& TDateTimePicker::Fields() {
  ShownText();
  return FFields;
}

int TDateTimePicker::FieldValue(TFieldKind Kind) const {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(FDateTime, y, mo, d, h, mi, s, ms);
  switch (Kind) {
    case fkDay: case fkDayName: return d;
    case fkMonth: return mo;
    case fkYear: return y;
    case fkHour12: case fkHour24: return h;
    case fkMinute: return mi;
    case fkSecond: return s;
    case fkAmPm: return h >= 12 ? 1 : 0;
    default: return 0;
  }
}

std::string TDateTimePicker::FieldText(const TField& F) const {
  const TFormatSettings& fs = FormatSettings();
  if (FTypedDigits > 0 && FSelected >= 0 && &FFields[size_t(FSelected)] == &F)
    return Pad(FTyped, F.Kind == fkYear && F.Width == 4 ? 1 : 2);  // digits typed so far
  int v = FieldValue(F.Kind);
  switch (F.Kind) {
    case fkLiteral: return F.Literal;
    case fkDay: case fkMonth:
      if (F.Kind == fkMonth && F.Width >= 3) {
        const std::string& n = F.Width == 3 ? fs.ShortMonthNames[size_t(v - 1)] : fs.LongMonthNames[size_t(v - 1)];
        return n.empty() ? Pad(v, 2) : n;
      }
      return Pad(v, F.Width);
    case fkDayName: {
      int dow = DayOfWeek(FDateTime) - 1;
      const std::string& n = F.Width == 3 ? fs.ShortDayNames[size_t(dow)] : fs.LongDayNames[size_t(dow)];
      return n.empty() ? kEnglishShortDays[dow] : n;
    }
    case fkYear: return F.Width == 1 ? std::to_string(v % 10) : F.Width == 2 ? Pad(v % 100, 2) : Pad(v, 4);
    case fkHour12: return Pad(v % 12 == 0 ? 12 : v % 12, F.Width);
    case fkHour24: case fkMinute: case fkSecond: return Pad(v, F.Width);
    case fkAmPm: {
      const std::string& s = v ? fs.TimePMString : fs.TimeAMString;
      return F.Width == 1 ? s.substr(0, 1) : s;
    }
  }
  return {};
}

std::string TDateTimePicker::ShownText() {
  Parse();
  std::string out;
  for (TField& f : FFields) {
    f.Start = int(out.size());
    std::string t = FieldText(f);
    f.Length = int(t.size());
    out += t;
  }
  return out;
}

void TDateTimePicker::UpdateText() {
  std::string text = ShownText();
  if (HandleAllocated()) SetWindowText(FHandle, text.c_str());
  Invalidate();
}

TDateTimePicker::TFieldKind TDateTimePicker::SelectedKind() {
  Parse();
  return FSelected >= 0 ? FFields[size_t(FSelected)].Kind : fkLiteral;
}

void TDateTimePicker::SelectField(int Index) {
  Parse();
  if (Index < 0 || Index >= int(FFields.size()) || !Editable(FFields[size_t(Index)].Kind)) return;
  CommitTyped();
  FSelected = Index;
  Invalidate();
}

void TDateTimePicker::Move(int Delta) {
  Parse();
  int n = int(FFields.size());
  if (n == 0 || FSelected < 0) return;
  for (int k = 1; k <= n; ++k) {
    int i = ((FSelected + Delta * k) % n + n) % n;
    if (Editable(FFields[size_t(i)].Kind)) {
      SelectField(i);
      return;
    }
  }
}

TDateTime TDateTimePicker::WithField(TFieldKind Kind, int Value) const {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(FDateTime, y, mo, d, h, mi, s, ms);
  switch (Kind) {
    case fkDay: case fkDayName: d = Value; break;
    case fkMonth: mo = Value; break;
    case fkYear: y = std::clamp(Value, 1, 9999); break;
    case fkHour12: case fkHour24: h = Value; break;
    case fkMinute: mi = Value; break;
    case fkSecond: s = Value; break;
    case fkAmPm: h = h % 12 + (Value ? 12 : 0); break;
    default: break;
  }
  d = std::min(d, DaysInAMonth(y, mo));  // 31 January one month on is the last of February
  return EncodeDateTime(y, mo, d, h, mi, s, ms);
}

void TDateTimePicker::StepField(int Delta) {
  TFieldKind k = SelectedKind();
  if (k == fkLiteral) return;
  FTypedDigits = 0;
  if (FShowCheckbox && !FChecked) {
    FChecked = true;
    Invalidate();
  }
  auto wrap = [](int v, int lo, int hi) { return lo + ((v - lo) % (hi - lo + 1) + (hi - lo + 1)) % (hi - lo + 1); };
  int v = FieldValue(k);
  int y, mo, d;
  DecodeDate(FDateTime, y, mo, d);
  switch (k) {
    case fkDay: v = wrap(v + Delta, 1, DaysInAMonth(y, mo)); break;
    case fkDayName: UserSet(FDateTime + Delta); return;
    case fkMonth: v = wrap(v + Delta, 1, 12); break;
    case fkYear: v = std::clamp(v + Delta, 1, 9999); break;
    case fkHour12: case fkHour24: v = wrap(v + Delta, 0, 23); break;
    case fkMinute: case fkSecond: v = wrap(v + Delta, 0, 59); break;
    case fkAmPm: v = 1 - v; break;
    default: return;
  }
  UserSet(WithField(k, v));
}

void TDateTimePicker::TypeDigit(int Digit) {
  TFieldKind k = SelectedKind();
  if (k == fkLiteral || k == fkAmPm || k == fkDayName) return;
  if (FShowCheckbox && !FChecked) {
    FChecked = true;
    Invalidate();
  }
  if (k == fkYear) {
    int width = FFields[size_t(FSelected)].Width == 4 ? 4 : 2;
    FTyped = (FTypedDigits > 0 ? FTyped * 10 : 0) + Digit;
    ++FTypedDigits;
    if (FTypedDigits >= width) FTypedDigits = width;
    if (FTypedDigits >= width) {
      FTypedDigits = 1;
      CommitTyped();
    }
    Invalidate();
    return;
  }
  int y, mo, d;
  DecodeDate(FDateTime, y, mo, d);
  int lo = (k == fkDay || k == fkMonth || k == fkHour12) ? 1 : 0;
  int hi = k == fkDay ? DaysInAMonth(y, mo) : k == fkMonth ? 12 : k == fkHour12 ? 12 : (k == fkHour24 ? 23 : 59);
  (void)lo;
  int v = FTypedDigits > 0 ? FTyped * 10 + Digit : Digit;
  if (FTypedDigits > 0 && v > hi) v = Digit;  // too large: the digit starts the field anew
  bool complete = (FTypedDigits > 0 && v == FTyped * 10 + Digit) || v * 10 > hi;
  FTyped = v;
  FTypedDigits = 1;
  // A first digit that a second could follow waits (shown as typed); the field is taken
  // when complete or when the selection leaves it.
  if (complete) CommitTyped();
  else Invalidate();
}

void TDateTimePicker::CommitTyped() {
  if (FTypedDigits == 0) return;
  TFieldKind k = SelectedKind();
  int v = FTyped;
  FTypedDigits = 0;
  if (k == fkYear) {
    int width = FFields[size_t(FSelected)].Width == 4 ? 4 : 2;
    if (width == 4 && v < 100) return;  // too few digits for a year: nothing taken
    if (width == 2) {
      // Two digits: the year within the century window around the current one.
      int now = YearOf(::Date());
      int window = FormatSettings().TwoDigitYearCenturyWindow;
      v = now / 100 * 100 + v;
      if (window > 0 && v < now - window) v += 100;
      if (window > 0 && v > now + 100 - window) v -= 100;
    }
    UserSet(WithField(fkYear, v));
    return;
  }
  int y, mo, d;
  DecodeDate(FDateTime, y, mo, d);
  int lo = (k == fkDay || k == fkMonth || k == fkHour12) ? 1 : 0;
  if (v < lo) {
    Invalidate();
    return;
  }
  if (k == fkHour12) v = v % 12 + (FieldValue(fkAmPm) ? 12 : 0);
  UserSet(WithField(k, v));
  Invalidate();
}

// ---- notifications --------------------------------------------------------------------

LRESULT TDateTimePicker::Notify(int Code) {
  NMDATETIMECHANGE rec{};
  rec.nmhdr.hwndFrom = HandleAllocated() ? FHandle : nullptr;
  rec.nmhdr.code = UINT(Code);
  rec.dwFlags = (FShowCheckbox && !FChecked) ? GDT_NONE : GDT_VALID;
  rec.Value = FDateTime;
  return Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&rec));
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
      if (!hdr) break;
      switch (int(hdr->code)) {
        case DTN_DATETIMECHANGE: Change(); break;
        case DTN_DROPDOWN: if (OnDropDown) OnDropDown(this); break;
        case DTN_CLOSEUP: if (OnCloseUp) OnCloseUp(this); break;
        default: break;
      }
      Message.Result = 0;
      return;
    }
    case DTM_GETMONTHCAL:
      Message.Result = (FDroppedDown && FCalendar) ? reinterpret_cast<LRESULT>(FCalendar->Handle()) : 0;
      return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_KILLFOCUS:
      if (FDroppedDown) CloseCalendar(false);
      break;
    default: break;
  }
  TCustomControl::WndProc(Message);
}

// ---- keys and mouse -------------------------------------------------------------------

void TDateTimePicker::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  bool alt = Shift.Contains(ssAlt);
  if (FKind == dtkDate && FDateMode == dmComboBox && ((Key == VK_F4 && !alt) || (alt && (Key == VK_DOWN || Key == VK_UP)))) {
    SetDroppedDown(!FDroppedDown);
    Key = 0;
    return;
  }
  if (FDroppedDown && FCalendar) {
    if (FCalendar->HandleKey(Key)) Key = 0;
    return;
  }
  switch (Key) {
    case VK_LEFT: Move(-1); break;
    case VK_RIGHT: Move(1); break;
    case VK_UP: StepField(1); break;
    case VK_DOWN: StepField(-1); break;
    case VK_SPACE:
      if (!FShowCheckbox) return;
      FChecked = !FChecked;
      Invalidate();
      Notify(DTN_DATETIMECHANGE);
      break;
    default: return;
  }
  Key = 0;
}

void TDateTimePicker::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == 0) return;
  if (Key >= '0' && Key <= '9') {
    TypeDigit(int(Key - '0'));
    Key = 0;
    return;
  }
  if (SelectedKind() == fkAmPm) {
    char32_t l = Key | 0x20;
    const TFormatSettings& fs = FormatSettings();
    if (!fs.TimeAMString.empty() && l == char32_t(std::tolower(static_cast<unsigned char>(fs.TimeAMString[0])))) UserSet(WithField(fkAmPm, 0));
    else if (!fs.TimePMString.empty() && l == char32_t(std::tolower(static_cast<unsigned char>(fs.TimePMString[0])))) UserSet(WithField(fkAmPm, 1));
    Key = 0;
    return;
  }
  // The separator after the field moves on to the next one.
  Parse();
  if (FSelected >= 0 && FSelected + 1 < int(FFields.size()) && Key < 0x80) {
    const std::string& lit = FFields[size_t(FSelected) + 1].Literal;
    if (lit.find(char(Key)) != std::string::npos && !std::isspace(int(Key))) {
      Move(1);
      Key = 0;
    }
  }
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TPoint p{X, Y};
  if (FShowCheckbox && InRect(CheckboxRect(), p)) {
    FChecked = !FChecked;
    Invalidate();
    Notify(DTN_DATETIMECHANGE);
    return;
  }
  TRect b = ButtonRect();
  if (InRect(b, p)) {
    if (FKind == dtkDate && FDateMode == dmComboBox) SetDroppedDown(!FDroppedDown);
    else StepField(Y < (b.Top + b.Bottom) / 2 ? 1 : -1);
    return;
  }
  // The field under the pointer.
  ShownText();
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  int x = TextRect().Left;
  for (size_t i = 0; i < FFields.size(); ++i) {
    int w = c->TextWidth(FieldText(FFields[i]));
    if (X < x + w) {
      for (size_t k = i; k < FFields.size(); ++k)
        if (Editable(FFields[k].Kind)) {
          SelectField(int(k));
          return;
        }
      return;
    }
    x += w;
  }
}

void TDateTimePicker::DoEnter() {
  TCustomControl::DoEnter();
  Invalidate();
}

void TDateTimePicker::DoExit() {
  CommitTyped();
  if (FDroppedDown) CloseCalendar(false);
  TCustomControl::DoExit();
  Invalidate();
}

// ---- drop-down calendar ---------------------------------------------------------------

void TDateTimePicker::SetDroppedDown(bool Value) {
  if (Value == FDroppedDown) return;
  if (!Value) {
    CloseCalendar(false);
    return;
  }
  if (FKind != dtkDate || FDateMode != dmComboBox) return;
  HandleNeeded();
  if (!FCalendar) {
    FCalendar = new TMonthCalendar(this, true);
    FCalendar->OnSelect = [this](TDateTime d) { CalendarSelect(d); };
    FCalendar->OnCancel = [this] { CloseCalendar(false); };
  }
  TCustomForm* form = GetParentForm(this);
  FCalendar->SetParentWindow(form ? form->Handle() : GetAncestor(FHandle, GA_ROOT));
  FCalendar->SetFont(Font());
  FCalendar->SetMinDate(FMinDate);
  FCalendar->SetMaxDate(FMaxDate);
  FCalendar->SetDate(FDateTime);
  TSize s = FCalendar->MinRequiredSize();
  FDroppedDown = true;
  Notify(DTN_DROPDOWN);
  if (!FDroppedDown) return;
  RECT wr;
  GetWindowRect(FHandle, &wr);
  int w = s.cx + 2, h = s.cy + 2;
  int x = wr.left, y = wr.bottom;
  RECT work{0, 0, 0, 0};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (work.bottom > work.top && y + h > work.bottom && wr.top - h >= work.top) y = wr.top - h;
  if (work.right > work.left && x + w > work.right) x = std::max(LONG(work.left), LONG(work.right - w));
  FCalendar->SetVisible(true);
  SetWindowPos(FCalendar->Handle(), HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetCapture(FCalendar->Handle());
  Invalidate();
}

void TDateTimePicker::CloseCalendar(bool Accept) {
  (void)Accept;
  if (!FDroppedDown) return;
  FDroppedDown = false;
  if (FCalendar && FCalendar->HandleAllocated()) {
    if (GetCapture() == FCalendar->Handle()) ReleaseCapture();
    ShowWindow(FCalendar->Handle(), SW_HIDE);
    FCalendar->SetVisible(false);
  }
  Invalidate();
  Notify(DTN_CLOSEUP);
}

void TDateTimePicker::CalendarSelect(TDateTime Day) {
  TDateTime t = TimeOf(FDateTime);
  CloseCalendar(true);
  if (FShowCheckbox && !FChecked) {
    FChecked = true;
    Invalidate();
  }
  UserSet(std::floor(Day) + t);
}

// ---- painting -------------------------------------------------------------------------

TRect TDateTimePicker::ButtonRect() {
  int b = FCtl3D ? 2 : 1;
  int w = (FKind == dtkDate && FDateMode == dmComboBox) ? GetSystemMetrics(SM_CXVSCROLL) : 15;
  return TRect{Width() - b - w, b, Width() - b, Height() - b};
}

TRect TDateTimePicker::CheckboxRect() {
  int b = FCtl3D ? 2 : 1;
  int top = (Height() - 13) / 2;
  return TRect{b + 2, top, b + 15, top + 13};
}

TRect TDateTimePicker::TextRect() {
  int b = FCtl3D ? 2 : 1;
  int left = b + (FShowCheckbox ? 18 : 2);
  return TRect{left, b, ButtonRect().Left, Height() - b};
}

void TDateTimePicker::Paint() {
  TCanvas* c = Canvas();
  TRect r{0, 0, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c->FillRect(r);
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  if (FCtl3D) DrawEdge(c->GetHandle(), &rr, EDGE_SUNKEN, BF_RECT);
  else {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
  }
  if (FShowCheckbox) {
    TRect cb = CheckboxRect();
    RECT crr{cb.Left, cb.Top, cb.Right, cb.Bottom};
    DrawFrameControl(c->GetHandle(), &crr, DFC_BUTTON, DFCS_BUTTONCHECK | (FChecked ? DFCS_CHECKED : 0) | DFCS_FLAT);
  }
  std::string text = ShownText();
  c->Font()->Assign(Font());
  TRect tr = TextRect();
  int th = c->TextHeight("0");
  int y = tr.Top + (tr.Height() - th) / 2;
  int x = tr.Left;
  bool focused = Focused() && !FDroppedDown;
  bool on = !FShowCheckbox || FChecked;
  for (size_t i = 0; i < FFields.size(); ++i) {
    std::string t = FieldText(FFields[i]);
    int w = c->TextWidth(t);
    bool sel = focused && on && int(i) == FSelected;
    if (sel) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->FillRect(TRect{x, y, x + w, y + th});
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(!Enabled() || !on ? clGrayText : sel ? clHighlightText : Font()->GetColor());
    c->TextOut(x, y, t);
    x += w;
  }
  TRect b = ButtonRect();
  if (FKind == dtkDate && FDateMode == dmComboBox) {
    RECT br{b.Left, b.Top, b.Right, b.Bottom};
    DrawFrameControl(c->GetHandle(), &br, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (FDroppedDown ? DFCS_PUSHED | DFCS_FLAT : 0) |
                                                          (Enabled() ? 0 : DFCS_INACTIVE));
  } else {
    int mid = (b.Top + b.Bottom) / 2;
    RECT up{b.Left, b.Top, b.Right, mid}, down{b.Left, mid, b.Right, b.Bottom};
    DrawFrameControl(c->GetHandle(), &up, DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(c->GetHandle(), &down, DFC_SCROLL, DFCS_SCROLLDOWN);
  }
}
