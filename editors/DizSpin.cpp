// TDizSpinEdit: the value model, stepping, keys and typed-character filtering, and the
// published properties of the unit's classes. The arrow buttons are in DizSpinButtons.cpp,
// layout, label and painting in DizSpinPaint.cpp.
#include "editors/DizSpin.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/StdEdit.h"

namespace {

const TEnumInfo* SpinTypeNames() {
  static const TEnumInfo* info = RegisterEnum("TDizSpinType", {"sptNormal", "sptFloat", "sptDate", "sptTime", "sptHex"});
  return info;
}
const TEnumInfo* SpinDirectionNames() {
  static const TEnumInfo* info = RegisterEnum("TSpinDirection", {"spVertical", "spHorizontal"});
  return info;
}
const TEnumInfo* EditAlignNames() {
  static const TEnumInfo* info = RegisterEnum("TEditAlign", {"eaLeft", "eaRight", "eaCenter"});
  return info;
}
const TEnumInfo* LabelPositionNames() {
  static const TEnumInfo* info = RegisterEnum(
      "TLabelPosition", {"lpLeftTop", "lpLeftCenter", "lpLeftBottom", "lpTopLeft", "lpBottomLeft", "lpLeftTopLeft",
                         "lpLeftCenterLeft", "lpLeftBottomLeft", "lpTopCenter", "lpBottomCenter"});
  return info;
}
const TEnumInfo* ButtonDirectionNames() {
  static const TEnumInfo* info = RegisterEnum("TButtonDirection", {"bdLeft", "bdRight", "bdUp", "bdDown"});
  return info;
}
const TEnumInfo* TimeBtnStateNames() {
  static const TEnumInfo* info = RegisterEnum("TTimeBtnState", {"tbFocusRect", "tbAllowTimer"});
  return info;
}

// Integer results of steps stay within the 32-bit range instead of wrapping.
int ClampToInt(long long v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return int(v);
}

char32_t Sep(char c) { return char32_t(static_cast<unsigned char>(c)); }

// The fraction of a date-time (its time of day), positive also before 1899-12-30.
double TimeOfDayPart(TDateTime v) { return std::fabs(v - std::trunc(v)); }

}  // namespace

static const bool kDizSpinRegistered = [] {
  RegisterClasses({TDizSpinEdit::StaticClass(), TDizMaskSpinEdit::StaticClass(), TDizSpinButton::StaticClass(),
                   TDizTimerSpeedButton::StaticClass()});
  return true;
}();

// ---------------------------------------------------------------------------------------
// Published properties. The value properties come first, in the order a stored form
// writes them; each value is stored only for the kind that shows it.

void TDizTimerSpeedButton::Publish(TClassBuilder<TDizTimerSpeedButton>& P) {
  P.Enum("ButtonOrientation", ButtonDirectionNames(), &TDizTimerSpeedButton::ButtonOrientation,
         &TDizTimerSpeedButton::SetButtonOrientation, bdUp)
      .Set("TimeBtnState", TimeBtnStateNames(), &TDizTimerSpeedButton::TimerState,
           &TDizTimerSpeedButton::SetTimerState);
}

void TDizSpinButton::Publish(TClassBuilder<TDizSpinButton>& P) {
  P.Enum("Direction", SpinDirectionNames(), &TDizSpinButton::Direction, &TDizSpinButton::SetDirection, spVertical)
      .Object("DownGlyph", &TDizSpinButton::DownGlyph, &TDizSpinButton::SetDownGlyph)
      .Int("DownNumGlyphs", &TDizSpinButton::DownNumGlyphs, &TDizSpinButton::SetDownNumGlyphs, 1)
      .Component("FocusControl", &TDizSpinButton::FocusControl, &TDizSpinButton::SetFocusControl)
      .Object("UpGlyph", &TDizSpinButton::UpGlyph, &TDizSpinButton::SetUpGlyph)
      .Int("UpNumGlyphs", &TDizSpinButton::UpNumGlyphs, &TDizSpinButton::SetUpNumGlyphs, 1)
      .Event("OnDownClick", &TDizSpinButton::OnDownClick)
      .Event("OnUpClick", &TDizSpinButton::OnUpClick);
}

void TDizSpinEdit::Publish(TClassBuilder<TDizSpinEdit>& P) {
  P.Int("Precision", &TDizSpinEdit::Precision, &TDizSpinEdit::SetPrecision, 0)
      .Enum("SpinType", SpinTypeNames(), &TDizSpinEdit::SpinType, &TDizSpinEdit::SetSpinType, sptNormal)
      .Int("Value", &TDizSpinEdit::GetValue, &TDizSpinEdit::SetValue)
      .Stored(&TDizSpinEdit::IsValueStored)
      .Float("FloatValue", &TDizSpinEdit::GetFloatValue, &TDizSpinEdit::SetFloatValue)
      .Stored(&TDizSpinEdit::IsFloatValueStored)
      .DateTime("TimeValue", &TDizSpinEdit::GetTimeValue, &TDizSpinEdit::SetTimeValue)
      .Stored(&TDizSpinEdit::IsTimeValueStored)
      .DateTime("DateValue", &TDizSpinEdit::GetDateValue, &TDizSpinEdit::SetDateValue)
      .Stored(&TDizSpinEdit::IsDateValueStored)
      .Int("HexValue", &TDizSpinEdit::GetHexValue, &TDizSpinEdit::SetHexValue)
      .Stored(&TDizSpinEdit::IsHexValueStored)
      .Int("MinValue", &TDizSpinEdit::MinValue, &TDizSpinEdit::SetMinValue, 0)
      .Int("MaxValue", &TDizSpinEdit::MaxValue, &TDizSpinEdit::SetMaxValue, 0)
      .Float("MinFloatValue", &TDizSpinEdit::MinFloatValue, &TDizSpinEdit::SetMinFloatValue, 0)
      .Float("MaxFloatValue", &TDizSpinEdit::MaxFloatValue, &TDizSpinEdit::SetMaxFloatValue, 0)
      .DateTime("MinDateValue", &TDizSpinEdit::MinDateValue, &TDizSpinEdit::SetMinDateValue)
      .DateTime("MaxDateValue", &TDizSpinEdit::MaxDateValue, &TDizSpinEdit::SetMaxDateValue)
      .Bool("AllowNullValue", &TDizSpinEdit::AllowNullValue, &TDizSpinEdit::SetAllowNullValue, true)
      .Bool("AutoFocus", &TDizSpinEdit::AutoFocus, &TDizSpinEdit::SetAutoFocus, false)
      .Enum("Direction", SpinDirectionNames(), &TDizSpinEdit::Direction, &TDizSpinEdit::SetDirection, spVertical)
      .Enum("EditAlign", EditAlignNames(), &TDizSpinEdit::EditAlign, &TDizSpinEdit::SetEditAign, eaLeft)
      .Bool("EditorEnabled", &TDizSpinEdit::EditorEnabled, &TDizSpinEdit::SetEditorEnabled, true)
      .Bool("Flat", &TDizSpinEdit::Flat, &TDizSpinEdit::SetFlat, false)
      .Int("FlatLineColor", &TDizSpinEdit::FlatLineColor, &TDizSpinEdit::SetFlatLineColor, clBlack)
      .Consts(GetPropInfo(TControl::StaticClass(), "Color")->Consts)
      .Int("FocusBorderColor", &TDizSpinEdit::FocusBorderColor, &TDizSpinEdit::SetFocusBorderColor, clNone)
      .Consts(GetPropInfo(TControl::StaticClass(), "Color")->Consts)
      .Int("FocusColor", &TDizSpinEdit::FocusColor, &TDizSpinEdit::SetFocusColor, clWindow)
      .Consts(GetPropInfo(TControl::StaticClass(), "Color")->Consts)
      .Bool("FocusLabel", &TDizSpinEdit::FocusLabel, &TDizSpinEdit::SetFocusLabel, false)
      .Int("Increment", &TDizSpinEdit::Increment, &TDizSpinEdit::SetIncrement, 1)
      .Float("IncrementFloat", &TDizSpinEdit::IncrementFloat, &TDizSpinEdit::SetIncrementFloat, 0.1L)
      .Float("IncrementFloatPage", &TDizSpinEdit::IncrementFloatPage, &TDizSpinEdit::SetIncrementFloatPage, 1.0L)
      .Int("IncrementHours", &TDizSpinEdit::IncrementHours, &TDizSpinEdit::SetIncrementHours, 1)
      .Int("IncrementMinutes", &TDizSpinEdit::IncrementMinutes, &TDizSpinEdit::SetIncrementMinutes, 1)
      .Int("IncrementPage", &TDizSpinEdit::IncrementPage, &TDizSpinEdit::SetIncrementPage, 10)
      .Bool("IncrementSmart", &TDizSpinEdit::IncrementSmart, &TDizSpinEdit::SetIncrementSmart, false)
      .Bool("LabelAlwaysEnabled", &TDizSpinEdit::LabelAlwaysEnabled, &TDizSpinEdit::SetLabelAlwaysEnabled, false)
      .Str("LabelCaption", &TDizSpinEdit::GetLabelCaption, &TDizSpinEdit::SetLabelCaption)
      .Object("LabelFont", &TDizSpinEdit::LabelFont, &TDizSpinEdit::SetLabelFont)
      .Int("LabelMargin", &TDizSpinEdit::LabelMargin, &TDizSpinEdit::SetLabelMargin, 4)
      .Enum("LabelPosition", LabelPositionNames(), &TDizSpinEdit::LabelPosition, &TDizSpinEdit::SetLabelPosition,
            lpLeftTop)
      .Bool("LabelTransparent", &TDizSpinEdit::LabelTransparent, &TDizSpinEdit::SetLabelTransparent, false)
      .Bool("ReturnIsTab", &TDizSpinEdit::ReturnIsTab, &TDizSpinEdit::SetReturnIsTab, false)
      .Bool("ShowSeconds", &TDizSpinEdit::ShowSeconds, &TDizSpinEdit::SetShowSeconds, true)
      .Bool("Signed", &TDizSpinEdit::Signed, &TDizSpinEdit::SetSigned, false)
      .Bool("SpinFlat", &TDizSpinEdit::SpinFlat, &TDizSpinEdit::SetSpinFlat, false)
      .Bool("SpinTransparent", &TDizSpinEdit::SpinTransparent, &TDizSpinEdit::SetSpinTransparent, false)
      .Bool("Transparent", &TDizSpinEdit::Transparent, &TDizSpinEdit::SetTransparent, false)
      .Str("Version", &TDizSpinEdit::Version, &TDizSpinEdit::SetVersion)
      .Stored(false)
      .Event("OnUpClick", &TDizSpinEdit::OnUpClick)
      .Event("OnDownClick", &TDizSpinEdit::OnDownClick);
}

void TDizMaskSpinEdit::Publish(TClassBuilder<TDizMaskSpinEdit>& P) { (void)P; }

// ---------------------------------------------------------------------------------------
// Readers. None raises: a text that does not convert gives the kind's minimum.

int TDizSpinEdit::GetValue() {
  std::string t = Trim(Text());
  if (t.empty()) return 0;
  int v = 0;
  if (!TryStrToInt(t, v)) return FMinValue;
  return v;
}

double TDizSpinEdit::GetFloatValue() {
  std::string t = Text();
  if (Trim(t).empty()) return 0.0;
  Extended v = 0;
  if (!TryStrToFloat(t, v) || !std::isfinite(double(v))) return FMinFloatValue;
  return double(v);
}

TDateTime TDizSpinEdit::GetDateValue() {
  std::string t = Text();
  if (t.empty() || t == "0") return Now();
  TDateTime d = 0;
  if (!TryStrToDate(t, d)) return FMinDateValue;
  return d + TimeOfDayPart(FRememberedDate);
}

TDateTime TDizSpinEdit::GetTimeValue() {
  std::string t = Text();
  if (Trim(t).empty()) return 0;
  if (!FShowSeconds) t += FormatSettings().TimeSeparator + std::string("00");
  TDateTime v = 0;
  if (!TryStrToTime(t, v)) return 0;
  return v + std::trunc(FRememberedTime);
}

int TDizSpinEdit::GetHexValue() {
  std::string t = Text();
  std::string digits = t.size() > 2 ? t.substr(2) : std::string();
  auto digit = [](char c) -> uint32_t {
    int d = int(static_cast<unsigned char>(UpperCase(std::string(1, c))[0])) - '0';
    if (d > 10) d -= 7;
    return uint32_t(d);
  };
  uint32_t v = 0;
  size_t i = 0;
  for (; i + 1 < digits.size(); i += 2) v = v * 256u + 16u * digit(digits[i]) + digit(digits[i + 1]);
  if (i < digits.size()) v = v * 16u + digit(digits[i]);
  return int32_t(v);
}

// ---------------------------------------------------------------------------------------
// Checks.

int TDizSpinEdit::CheckValue(int Value) const {
  if (Loading()) return Value;
  if (FMinValue == 0 && FMaxValue == 0) return Value;
  if (Value < FMinValue) return FMinValue;
  if (Value > FMaxValue) return FMaxValue;
  return Value;
}

double TDizSpinEdit::CheckFloatValue(double Value) const {
  if (Loading() || FMinFloatValue == FMaxFloatValue) return Value;
  if (Value < FMinFloatValue) return FMinFloatValue;
  if (Value > FMaxFloatValue) return FMaxFloatValue;
  return Value;
}

TDateTime TDizSpinEdit::CheckDateValue(TDateTime Value) const {
  if (Loading() || FMinDateValue == FMaxDateValue) return Value;
  if (Value < FMinDateValue) return FMinDateValue;
  if (Value > FMaxDateValue) return FMaxDateValue;
  return Value;
}

// ---------------------------------------------------------------------------------------
// Writers.

void TDizSpinEdit::GetSel(int& Start, int& Length) {
  Start = 0;
  Length = 0;
  if (!HandleAllocated()) return;
  DWORD a = 0, b = 0;
  SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
  Start = int(a);
  Length = int(b) - int(a);
}

void TDizSpinEdit::SetSel(int Start, int Length) {
  if (!HandleAllocated()) return;
  if (Start < 0) Start = 0;
  SendMessage(FHandle, EM_SETSEL, WPARAM(Start), LPARAM(Start + Length));
}

std::string TDizSpinEdit::TimeFormat() const {
  std::string ts(1, FormatSettings().TimeSeparator);
  return FShowSeconds ? "h" + ts + "nn" + ts + "ss" : "h" + ts + "nn";
}

void TDizSpinEdit::SetValue(int Value) {
  SetText(IntToStr(CheckValue(Value)));
  if (!FEditorEnabled && AutoSelect() && HandleAllocated()) SelectAll();
}

void TDizSpinEdit::SetFloatValue(double Value) {
  double y = CheckFloatValue(Value);
  std::string s;
  if (FPrecision < 0) s = FloatToStrF(y, ffGeneral, 4, 4);
  else if (FPrecision == 0) s = FloatToStr(y);
  else s = FloatToStrF(y, ffFixed, 15, FPrecision);
  SetText(s);
}

void TDizSpinEdit::SetDateValue(TDateTime Value) {
  FRememberedDate = Value;
  if (Loading()) return;
  FRememberedDate = CheckDateValue(Value);
  int start = 0, length = 0;
  GetSel(start, length);
  SetText(DateToStr(FRememberedDate));
  SetSel(start, 0);
}

void TDizSpinEdit::SetTimeValue(TDateTime Value) {
  FRememberedTime = Value;
  if (Loading()) return;
  int start = 0, length = 0;
  GetSel(start, length);
  SetText(FormatDateTime(TimeFormat(), Value));
  SetSel(start, 0);
}

void TDizSpinEdit::SetHexValue(int Value) {
  std::string s = "0x" + IntToHex(Value, 0);
  if (MaxLength() > 0 && int(s.size()) > MaxLength()) return;
  FRememberedHex = Value;
  if (!Loading()) SetText(s);
}

void TDizSpinEdit::SetSpinType(TDizSpinType Value) {
  FSpinType = Value;
  if (Loading()) return;
  TNotifyEvent saved = OnChange;
  OnChange = nullptr;
  try {
    switch (Value) {
      case sptNormal: SetValue(GetValue()); break;
      case sptFloat: SetFloatValue(GetFloatValue()); break;
      case sptDate: SetDateValue(GetDateValue()); break;
      case sptTime: SetTimeValue(GetTimeValue()); break;
      case sptHex: SetHexValue(GetHexValue()); break;
    }
  } catch (...) {
    OnChange = saved;
    throw;
  }
  OnChange = saved;
}

void TDizSpinEdit::SetPrecision(int Value) {
  FPrecision = Value;
  if (FSpinType == sptFloat) SetFloatValue(GetFloatValue());
}

void TDizSpinEdit::SetShowSeconds(bool Value) {
  if (FSpinType != sptTime) return;
  FShowSeconds = Value;
  SetTimeValue(FRememberedTime);
}

// ---------------------------------------------------------------------------------------
// Stepping.

void TDizSpinEdit::UpdateMonthFirst() {
  std::string f = UpperCase(FormatSettings().ShortDateFormat);
  size_t m = f.find('M'), d = f.find('D');
  FMonthFirst = m != std::string::npos && (d == std::string::npos || m < d);
}

void TDizSpinEdit::PlainStep(int Sign) {
  if (FSpinType == sptNormal) SetValue(ClampToInt((long long)GetValue() + (long long)Sign * FIncrement));
  else if (FSpinType == sptFloat) SetFloatValue(GetFloatValue() + Sign * FIncrementFloat);
}

void TDizSpinEdit::SmartStep(int Sign) {
  std::string t = Text();
  int start = 0, length = 0;
  GetSel(start, length);
  const int L = int(t.size());
  const int a = L - start;
  const int dp = Pos(std::string(1, FormatSettings().DecimalSeparator), t);
  int f = dp > 0 ? L - dp : L;
  if (start == 0 || (t.find('-') != std::string::npos && start == 1)) {
    PlainStep(Sign);
    return;
  }
  if (f == L) f = -1;
  if (a < f) {
    double step = 1;
    for (int i = 0; i < f - a; ++i) step /= 10;
    if (FSpinType == sptFloat) SetFloatValue(GetFloatValue() + Sign * step);
    return;
  }
  int e = a - f - 1;
  long long step = 1;
  for (int i = 0; i < e && step < 1000000000000LL; ++i) step *= 10;
  if (FSpinType == sptNormal) SetValue(ClampToInt((long long)GetValue() + Sign * step));
  else if (FSpinType == sptFloat) SetFloatValue(GetFloatValue() + double(Sign) * double(step));
}

void TDizSpinEdit::IncSmart() {
  if (!StepRefused()) SmartStep(1);
}
void TDizSpinEdit::DecSmart() {
  if (!StepRefused()) SmartStep(-1);
}

// Every step path asks here first: a read-only edit beeps and keeps its value.
bool TDizSpinEdit::StepRefused() {
  if (!ReadOnly()) return false;
  MessageBeep(0);
  return true;
}

// Dates step the field under the caret. A year step from 29 February lands on
// 28 February of a common year, as a month step from 31 January lands on the month's
// last day; the time of day is kept.
void TDizSpinEdit::StepDate(int Sign, int CaretPos) {
  std::string t = Text();
  std::string sep(1, FormatSettings().DateSeparator);
  int p1 = Pos(sep, t);
  int p2 = p1 > 0 ? PosEx(sep, t, p1 + 1) : 0;
  enum { Day, Month, Year } field;
  if (FMonthFirst) field = CaretPos < p1 ? Month : CaretPos < p2 ? Day : Year;
  else field = CaretPos < p1 ? Day : CaretPos < p2 ? Month : Year;
  TDateTime d = GetDateValue();
  switch (field) {
    case Day: SetDateValue(d + Sign); break;
    case Month: SetDateValue(IncMonth(d, Sign)); break;
    case Year: {
      int y = 0, m = 0, day = 0;
      DecodeDate(d, y, m, day);
      y += Sign;
      day = std::min(day, DaysInAMonth(y, m));
      TDateTime nd = EncodeDate(y, m, day);  // raises only outside the years 1..9999
      SetDateValue(nd + (nd >= 0 ? TimeOfDayPart(d) : -TimeOfDayPart(d)));
      break;
    }
  }
}

// Times step the field under the caret by the hour, minute or second increment. The
// step is plain arithmetic on days, so any increment works and a step past midnight
// carries into the whole days; a time never goes below zero.
void TDizSpinEdit::StepTime(int Sign, int CaretPos) {
  std::string t = Text();
  std::string sep(1, FormatSettings().TimeSeparator);
  int p1 = Pos(sep, t);
  double step;
  if (CaretPos < p1) {
    step = FIncrementHours != 0 ? FIncrementHours / 24.0 : FIncrementMinutes / 1440.0;
  } else {
    int p2 = PosEx(sep, t, p1 + 1);
    if (p2 > 0 && CaretPos >= p2 && FShowSeconds) step = 1.0 / SecsPerDay;
    else step = FIncrementMinutes / 1440.0;
  }
  TDateTime v = GetTimeValue();
  const double tolerance = 1e-9;  // a tenth of a millisecond
  if (Sign > 0) {
    SetTimeValue(v + step);
  } else if (v + tolerance >= step) {
    TDateTime nv = v - step;
    SetTimeValue(nv < 0 ? 0 : nv);
  }
}

void TDizSpinEdit::UpClick(TObject* Sender) {
  (void)Sender;
  int start = 0, length = 0;
  GetSel(start, length);
  std::string old = Text();
  UpdateMonthFirst();
  if (!StepRefused()) {
    switch (FSpinType) {
      case sptNormal:
      case sptFloat:
        if (FIncrementSmart) SmartStep(1);
        else PlainStep(1);
        break;
      case sptDate: StepDate(1, start); break;
      case sptTime: StepTime(1, start); break;
      case sptHex: SetHexValue(int(uint32_t(GetHexValue()) + uint32_t(FIncrement))); break;
    }
  }
  std::string now = Text();
  bool hadMinus = old.find('-') != std::string::npos, hasMinus = now.find('-') != std::string::npos;
  if (hadMinus && !hasMinus) --start;
  else if (!hadMinus && hasMinus) ++start;
  SetSel(start, length);
  if (now.size() != old.size() && FSpinType != sptDate && FSpinType != sptTime)
    SetSel(start, int(Utf8ToUtf16(now).size()));
  if (now != old) SetModified(true);
  if (OnUpClick) OnUpClick(this);
}

void TDizSpinEdit::DownClick(TObject* Sender) {
  (void)Sender;
  int start = 0, length = 0;
  GetSel(start, length);
  std::string old = Text();
  UpdateMonthFirst();
  if (!StepRefused()) {
    switch (FSpinType) {
      case sptNormal:
      case sptFloat:
        if (FIncrementSmart) SmartStep(-1);
        else PlainStep(-1);
        break;
      case sptDate: StepDate(-1, start); break;
      case sptTime: StepTime(-1, start); break;
      case sptHex: SetHexValue(int(uint32_t(GetHexValue()) - uint32_t(FIncrement))); break;
    }
  }
  std::string now = Text();
  bool hadMinus = old.find('-') != std::string::npos, hasMinus = now.find('-') != std::string::npos;
  if (hadMinus && !hasMinus) --start;
  else if (!hadMinus && hasMinus) ++start;
  SetSel(start, length);
  if (now != old) SetModified(true);
  if (OnDownClick) OnDownClick(this);
}

// ---------------------------------------------------------------------------------------
// Keys.

void TDizSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomMaskEdit::KeyDown(Key, Shift);
  int start = 0, length = 0;
  GetSel(start, length);
  std::string old = Text();
  bool restore = false;
  switch (Key) {
    case VK_RETURN:
      if (FReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
      }
      break;
    case VK_PRIOR:
    case VK_NEXT: {
      int sign = Key == VK_PRIOR ? 1 : -1;
      if (StepRefused()) {
      } else if (!FIncrementSmart || length > 0) {
        if (FSpinType == sptNormal) SetValue(ClampToInt((long long)GetValue() + (long long)sign * FIncrementPage));
        else if (FSpinType == sptFloat) SetFloatValue(GetFloatValue() + sign * FIncrementFloatPage);
      } else {
        SmartStep(sign);
      }
      Key = 0;
      restore = true;
      break;
    }
    case VK_UP:
    case VK_DOWN: {
      int sign = Key == VK_UP ? 1 : -1;
      if (FIncrementSmart && length == 0 && (FSpinType == sptNormal || FSpinType == sptFloat)) {
        if (!StepRefused()) SmartStep(sign);
      }
      else if (sign > 0) UpClick(this);
      else DownClick(this);
      Key = 0;
      restore = true;
      break;
    }
    case VK_DELETE:
      if (!FEditorEnabled || (FSpinType == sptHex && start < 2)) Key = 0;
      break;
    default: break;
  }
  if (restore) SetSel(start, length);
  if (Text() != old) SetModified(true);
}

bool TDizSpinEdit::IsValidChar(char32_t& Key) {
  const TFormatSettings& fs = FormatSettings();
  const char32_t ds = Sep(fs.DecimalSeparator), ts = Sep(fs.ThousandSeparator), tms = Sep(fs.TimeSeparator),
                 dts = Sep(fs.DateSeparator);
  const bool isSep = Key == ds || Key == ts || Key == tms || Key == dts;
  bool result = isSep || Key == U'+' || Key == U'-' || (Key >= U'0' && Key <= U'9') || (Key < 32 && Key != 13);

  if (FSpinType == sptNormal && isSep) result = false;

  auto otherSymbol = [&](char32_t c) { return c == ds || c == ts || c == U'-' || c == U'+'; };
  // A time or date separator that is also a number symbol stays acceptable where that
  // symbol is; an integer edit takes no separator at all, whatever it doubles as.
  if (Key == tms && FSpinType != sptTime) {
    result = otherSymbol(tms) && FSpinType != sptNormal;
    if (FSpinType == sptDate || FSpinType == sptHex) result = false;
  }
  if (Key == dts && FSpinType != sptDate) {
    result = otherSymbol(dts) && FSpinType != sptNormal;
    if (FSpinType == sptTime || FSpinType == sptHex) result = false;
  }

  std::string t = Text();
  int start = 0, length = 0;
  GetSel(start, length);
  if (FSpinType == sptFloat && Key != 27 && Key != 13 && Key != 8) {
    if (Key == ts) Key = ds;
    if (Key == ds) {
      const int textLength = int(Utf8ToUtf16(t).size());
      if (textLength > 0 && start == 0 && length >= textLength) result = true;
      else if (t.find(fs.DecimalSeparator) != std::string::npos || FPrecision == 0) result = false;
    }
    int p = Pos(std::string(1, fs.DecimalSeparator), t);
    if (FPrecision > 0 && p > 0 && start >= p && length == 0 && int(t.size()) >= p + FPrecision) result = false;
  }

  if (FSpinType == sptTime) {
    if (Key == U',' || Key == U'.') Key = tms;
    if (Key == tms && t.find(fs.TimeSeparator) != std::string::npos) result = false;
  }

  if (FSpinType == sptHex) {
    bool hexDigit = (Key >= U'0' && Key <= U'9') || (Key >= U'a' && Key <= U'f') || (Key >= U'A' && Key <= U'F');
    result = (hexDigit || (Key < 32 && Key != 13)) && start >= 2;
    if (Key == 8 && start == 2) result = false;
  }

  if (!FEditorEnabled && result && (Key >= 32 || Key == 8)) result = false;
  return result;
}

void TDizSpinEdit::KeyPress(char32_t& Key) {
  if (!IsValidChar(Key)) {
    Key = 0;
    MessageBeep(0);
    return;
  }
  if (Key != 0) TCustomMaskEdit::KeyPress(Key);
}

void TDizSpinEdit::WMChar(TMessage& Message) {
  char32_t key = char32_t(Message.WParam);
  if (key == U'+') {
    Message.Result = 0;
    return;
  }
  if (key == U'-' && !(FSpinType == sptDate && FormatSettings().DateSeparator == '-')) {
    if (FSigned) {
      int start = 0, length = 0;
      GetSel(start, length);
      std::string t = Text();
      if (!t.empty() && t[0] == '-') {
        t.erase(0, 1);
        --start;
      } else {
        t.insert(0, "-");
        ++start;
      }
      SetText(t);
      SetSel(start, length);
    }
    char32_t k = U'-';
    KeyPress(k);
    Message.Result = 0;
    return;
  }
  if (key == 13) {
    char32_t k = key;
    if (OnKeyPress) OnKeyPress(this, k);
    Message.Result = 0;
    return;
  }
  // The window is a multi-line edit (for its text rectangle): line feeds (Ctrl+Enter)
  // and tabs would break the one-line value, so they never reach it.
  if (key == 10 || key == 9) {
    Message.Result = 0;
    return;
  }
  TCustomMaskEdit::WndProc(Message);
}

void TDizSpinEdit::WMKeyDown(TMessage& Message) {
  if (Message.WParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0 && HandleAllocated())
    PostMessage(FHandle, WM_KEYDOWN, VK_UP, 0);
  TCustomMaskEdit::WndProc(Message);
}

// Leaving the edit puts the value back into its range.
void TDizSpinEdit::CMExit(TMessage& Message) {
  if (!FAllowNullValue || !Text().empty()) {
    switch (FSpinType) {
      case sptNormal: {
        int v = GetValue();
        if (CheckValue(v) != v) SetValue(v);
        break;
      }
      case sptFloat: SetFloatValue(CheckFloatValue(GetFloatValue())); break;
      case sptDate: {
        TDateTime v = GetDateValue();
        TDateTime c = CheckDateValue(v);
        if (c != v) SetDateValue(c);
        break;
      }
      case sptTime: {
        TDateTime v = GetTimeValue();
        TDateTime c = CheckDateValue(v);
        if (c != v) SetTimeValue(c);
        break;
      }
      case sptHex: SetHexValue(CheckValue(GetHexValue())); break;
    }
  }
  TCustomMaskEdit::WndProc(Message);
}

// An emptied edit that may not stay empty receives its minimum.
void TDizSpinEdit::ApplyEmptyRule() {
  if (FAllowNullValue || !Text().empty()) return;
  switch (FSpinType) {
    case sptNormal:
      if (FMinValue != FMaxValue) SetValue(FMinValue);
      break;
    case sptFloat:
      if (FMinFloatValue != FMaxFloatValue) SetFloatValue(FMinFloatValue);
      break;
    case sptDate:
      if (FMinDateValue != FMaxDateValue) SetDateValue(FMinDateValue);
      break;
    case sptTime:
      if (FMinDateValue != FMaxDateValue) SetTimeValue(FMinDateValue);
      break;
    case sptHex:
      if (FMinValue != FMaxValue) SetHexValue(FMinValue);
      break;
  }
}

int TDizSpinEdit::GetVersionNr() const { return (1 << 24) | (4 << 16) | (5 << 8) | 0; }

std::string TDizSpinEdit::Version() const {
  unsigned v = unsigned(GetVersionNr());
  return IntToStr(int(v >> 24)) + "." + IntToStr(int((v >> 16) & 0xFF)) + "." + IntToStr(int((v >> 8) & 0xFF)) +
         "." + IntToStr(int(v & 0xFF));
}
