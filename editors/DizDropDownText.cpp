// DizDropDown, the drop-down editor's value text: edit types, prefix and suffix, number
// formatting with precision and thousand separators, normalising on leaving, Modified.
// Caret positions count UTF-16 code units, as the edit window's do.
#include <cmath>
#include <cstdlib>

#include "editors/DizDropDownEditor.h"
#include "foundation/DizUtil.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace DizDropDown {
namespace {
int Len16(const std::string& s) { return int(Utf8ToUtf16(s).size()); }
char DS() { return FormatSettings().DecimalSeparator; }
char TS() { return FormatSettings().ThousandSeparator; }

// The run-time library's Val: the number at the start of S ("." as decimal point); what
// follows a valid start is ignored.
long double ValFloat(const std::string& S) {
  std::string t = Trim(S);
  size_t i = 0;
  std::string num;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) num += t[i++];
  bool digits = false, point = false, exp = false;
  for (; i < t.size(); ++i) {
    char c = t[i];
    if (c >= '0' && c <= '9') {
      num += c;
      digits = true;
    } else if (c == '.' && !point && !exp) {
      num += c;
      point = true;
    } else if ((c == 'e' || c == 'E') && digits && !exp) {
      num += c;
      exp = true;
      if (i + 1 < t.size() && (t[i + 1] == '-' || t[i + 1] == '+')) num += t[++i];
    } else {
      break;
    }
  }
  if (!digits) return 0;
  return std::strtold(num.c_str(), nullptr);
}

// The run-time library's integer Val: the digits at the start of S.
int ValInt(const std::string& S) {
  std::string t = Trim(S);
  size_t i = 0;
  bool neg = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  long long v = 0;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    v = v * 10 + (t[i] - '0');
    if (v > 0x80000000LL) break;
  }
  if (neg) v = -v;
  return int(static_cast<unsigned>(static_cast<unsigned long long>(v)));
}
}  // namespace

// ---- unit routines -----------------------------------------------------------------------

TAutoType TextAutoType(const std::string& S) {
  bool numeric = !S.empty(), isFloat = !S.empty(), hex = !S.empty();
  int lastTS = -1, dsCount = 0, minusCount = 0;
  char ds = DS(), ts = TS();
  for (size_t k = 0; k < S.size(); ++k) {
    int i = int(k) + 1;
    char c = S[k];
    bool digit = c >= '0' && c <= '9';
    if (c != '-' && !digit) numeric = false;
    if (c != ',' && c != '-' && c != '.' && !digit) isFloat = false;
    if (c != '-' && !digit && !(c >= 'A' && c <= 'F') && !(c >= 'a' && c <= 'f')) hex = false;
    if (c == ts) {
      if (i < lastTS + 3) isFloat = false;
      lastTS = i;
    }
    if (c == ds) ++dsCount;
    if (c == '-') ++minusCount;
  }
  TAutoType r = atString;
  if (hex && !numeric) r = atHex;
  if (numeric) r = atNumeric;
  else if (isFloat) r = atFloat;
  if (minusCount > 1 || dsCount > 1) r = atString;
  return r;
}

std::string StripThousandSeparators(const std::string& S) {
  std::string r;
  char ts = TS();
  for (char c : S)
    if (c != ts) r += c;
  return r;
}

int HexDigitValue(char32_t Ch) {
  if (Ch >= U'0' && Ch <= U'9') return int(Ch - U'0');
  if (Ch >= U'A' && Ch <= U'F') return int(Ch - U'A') + 10;
  if (Ch >= U'a' && Ch <= U'f') return int(Ch - U'a') + 10;
  return 0;
}

int HexToInt(const std::string& S) {
  unsigned v = 0, m = 1;
  for (size_t k = S.size(); k-- > 0;) {
    v += unsigned(HexDigitValue(char32_t(static_cast<unsigned char>(S[k])))) * m;
    m *= 16;
  }
  return int(v);
}

bool IsRangeSeparator(char32_t Ch) { return Ch == U',' || Ch == U'-' || Ch == U';'; }

// ---- value text ---------------------------------------------------------------------------

std::string TDizCustomDropDown::GetText() const {
  std::string t = TCustomMaskEdit::GetText();
  if (!FPrefix.empty() && t.compare(0, FPrefix.size(), FPrefix) == 0) t.erase(0, FPrefix.size());
  // Only a suffix that is really there is removed: cutting its length off a text that
  // does not end with it would lose characters of the value.
  if (!FSuffix.empty() && t.size() >= FSuffix.size() &&
      t.compare(t.size() - FSuffix.size(), FSuffix.size(), FSuffix) == 0)
    t.erase(t.size() - FSuffix.size());
  return t;
}

void TDizCustomDropDown::SetTextValue(const std::string& Value) { SetText(Value); }

void TDizCustomDropDown::SetTextDirect(const std::string& Value) { TCustomMaskEdit::SetTextValue(Value); }

void TDizCustomDropDown::SetText(const std::string& AValue) {
  std::string Value = AValue;
  if (Value.empty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
    Value = "0";
  if (FPrecision > 0 && !Value.empty() && Value != "Error") {
    if (FEditType == etMoney) Value = Format("%." + IntToStr(FPrecision) + "n", double(EStrToFloat(Value)));
    else if (FEditType == etFloat) Value = Format("%." + IntToStr(FPrecision) + "f", double(EStrToFloat(Value)));
  }
  if (FEditType == etHex) Value = UpperCase(Value);
  TCustomMaskEdit::SetTextValue(FPrefix + Value + FSuffix);
  SetModified(false);
}

void TDizCustomDropDown::SetPrefix(const std::string& Value) {
  std::string v = GetText();
  FPrefix = Value;
  TCustomMaskEdit::SetTextValue(v);
  SetText(v);
}

void TDizCustomDropDown::SetSuffix(const std::string& Value) {
  std::string v = GetText();
  FSuffix = Value;
  TCustomMaskEdit::SetTextValue(v);
  SetText(v);
}

long double TDizCustomDropDown::EStrToFloat(const std::string& S) const {
  Extended v = 0;
  if (!TryStrToFloat(StripThousandSeparators(S), v)) return 0;
  return v;
}

long double TDizCustomDropDown::GetFloat() {
  std::string v = GetText();
  switch (FEditType) {
    case etString: return ValFloat(v);
    case etNumeric:
    case etFloat:
      if (v.empty() || v == "Error" || v == "-") return 0;
      return EStrToFloat(v);
    case etMoney: {
      if (v.empty()) return 0;
      std::string w = StripThousandSeparators(v);
      if (!w.empty() && w.back() == DS()) w.pop_back();
      if (w.empty() || w == "-") return 0;
      return EStrToFloat(w);
    }
    case etHex: return v.empty() ? 0 : HexToInt(v);
    default: return 0;
  }
}

int TDizCustomDropDown::GetInt() {
  std::string v = GetText();
  switch (FEditType) {
    case etNumeric:
    case etFloat: return ValInt(v);
    case etMoney: return ValInt(StripThousandSeparators(v));
    case etHex: return v.empty() ? 0 : HexToInt(v);
    default: return 0;
  }
}

void TDizCustomDropDown::SetFloat(double Value) {
  std::string pattern = "%." + IntToStr(FPrecision);
  switch (FEditType) {
    case etString:
    case etFloat: SetText(FPrecision < 0 ? Format("%g", Value) : Format(pattern + "f", Value)); break;
    case etNumeric: SetText(FPrecision < 0 ? Format("%g", Value) : Format(pattern + "n", Value)); break;
    case etMoney:
      SetText(FPrecision < 0 ? Format("%g", Value) : Format(pattern + "f", Value));
      AutoSeparators();
      break;
    case etHex: SetText(IntToHex(static_cast<long long>(std::trunc(Value)), 0)); break;
    default: break;
  }
  SetModified(true);
}

void TDizCustomDropDown::SetInt(int Value) {
  switch (FEditType) {
    case etNumeric:
    case etFloat: SetText(IntToStr(Value)); break;
    case etMoney:
      SetText(IntToStr(Value));
      AutoSeparators();
      break;
    case etHex: SetText(IntToHex(Value, 0)); break;
    default: break;
  }
  SetModified(true);
}

void TDizCustomDropDown::SetPrecision(int Value) {
  if (Value == FPrecision || !(FEditType == etString || FEditType == etFloat || FEditType == etMoney)) return;
  FPrecision = Value;
  if (TextAutoType(GetText()) > atFloat) SetFloat(0);
  else SetFloat(double(GetFloat()));
}

void TDizCustomDropDown::SetEditType(TDropDownEditType Value) {
  if (Value == FEditType) return;
  FEditType = Value;
  if (Value == etPassword) {
    SetPasswordChar(U'*');
    FCanUndo = false;
    if (HandleAllocated()) RecreateWnd();
  } else {
    SetPasswordChar(0);
  }
  TAutoType t = TextAutoType(GetText());
  switch (Value) {
    case etNumeric:
      if (t != atNumeric) SetInt(0);
      break;
    case etFloat:
    case etMoney:
      if (t > atFloat) SetFloat(0);
      break;
    case etHex:
      if (t != atNumeric && t != atHex) SetInt(0);
      break;
    default: break;
  }
  if (ComponentState().Contains(csDesigning) && Value == etFloat && FPrecision == 0) SetPrecision(2);
}

void TDizCustomDropDown::AutoSeparators() {
  std::string v = GetText();
  int l0 = Len16(v);
  int k = HandleAllocated() ? SelStart() : 0;
  if (v.empty()) return;
  std::string sign;
  if (v[0] == '-') {
    sign = "-";
    v.erase(0, 1);
  }
  std::string frac;
  if (size_t d = v.find(DS()); d != std::string::npos) frac = v.substr(d, 255);
  long long i = static_cast<long long>(std::trunc(std::fabs(double(GetFloat()))));
  std::string intText = Format(FAutoThousandSeparator ? "%n" : "%f", double(i));
  if (size_t d = intText.find(DS()); d != std::string::npos) intText.erase(d);
  int saved = FPrecision;
  FPrecision = 0;
  std::string full = FPrefix + sign + intText + frac + FSuffix;
  FSkipNextChange = EditWindowText() != full;
  TCustomMaskEdit::SetTextValue(full);
  FPrecision = saved;
  int caret = k + (Len16(GetText()) - l0);
  if (HandleAllocated()) SendMessage(Handle(), EM_SETSEL, WPARAM(caret), LPARAM(caret));
}

void TDizCustomDropDown::SetAutoThousandSeparator(bool Value) {
  FAutoThousandSeparator = Value;
  if (FEditType == etFloat || FEditType == etMoney) AutoSeparators();
}

void TDizCustomDropDown::SetModified(bool Value) {
  if (ComponentState().Contains(csLoading) || !FEditorEnabled || ReadOnly()) return;
  TCustomMaskEdit::SetModified(Value);
  FModified = Value;
}

void TDizCustomDropDown::SelectAll() {
  if (!HandleAllocated()) return;
  int lp = Len16(FPrefix);
  SendMessage(Handle(), EM_SETSEL, WPARAM(lp), LPARAM(lp + Len16(GetText())));
}

void TDizCustomDropDown::SelectAfterDecimal() {
  if (!HandleAllocated()) return;
  std::string v = GetText();
  size_t d = v.find(DS());
  int p = d == std::string::npos ? 0 : Len16(v.substr(0, d)) + 1;
  int at = Len16(FPrefix) + p;
  SendMessage(Handle(), EM_SETSEL, WPARAM(at), LPARAM(at));
}

void TDizCustomDropDown::SelectBeforeDecimal() {
  if (!HandleAllocated()) return;
  std::string v = GetText();
  size_t d = v.find(DS());
  int p = d == std::string::npos ? 0 : Len16(v.substr(0, d));
  int at = Len16(FPrefix) + p;
  SendMessage(Handle(), EM_SETSEL, WPARAM(at), LPARAM(at));
}

void TDizCustomDropDown::SetCanUndo(bool Value) {
  if (Value == FCanUndo) return;
  FCanUndo = FEditType == etPassword ? false : Value;
  if (HandleAllocated()) RecreateWnd();
  SetWidth(Width() + 1);
  SetWidth(Width() - 1);
}

void TDizCustomDropDown::KillFocusNormalise() {
  std::string v = GetText();
  bool numberType = FEditType == etFloat || FEditType == etMoney;
  if (FPrecision > 0 && numberType && (!v.empty() || !AllowEmpty)) {
    bool was = FModified;
    SetFloat(double(GetFloat()));
    SetModified(was);
  }
  v = GetText();
  if (FEditType == etNumeric && v.empty() && !AllowEmpty) SetText("0");
  if (numberType && v.empty() && !AllowEmpty) SetFloat(0);
}

}  // namespace DizDropDown
