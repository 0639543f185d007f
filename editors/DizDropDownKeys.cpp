// DizDropDown, the drop-down editor's keys: opening and closing keys, the caret rules that
// keep the prefix and suffix out of reach, the typing filter of each edit type, and the
// clipboard with its veto events. Positions count UTF-16 code units.
#include <algorithm>

#include "editors/DizDropDownEditor.h"
#include "foundation/DizUtil.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/StdEdit.h"

namespace DizDropDown {
namespace {
using U16 = std::u16string;
int Len16(const std::string& s) { return int(Utf8ToUtf16(s).size()); }
char16_t DS() { return char16_t(FormatSettings().DecimalSeparator); }
char16_t TS() { return char16_t(FormatSettings().ThousandSeparator); }
bool Down(int vk) { return GetKeyState(vk) < 0; }
// 1-based position of c in s, 0 when absent.
int Pos1(char16_t c, const U16& s) {
  size_t p = s.find(c);
  return p == U16::npos ? 0 : int(p) + 1;
}
std::u32string Utf8ToUtf32(const std::string& s) {
  std::u32string r;
  for (size_t i = 0; i < s.size();) r += Utf8Next(s, i);
  return r;
}
std::string Utf32ToUtf8(const std::u32string& s) {
  std::string r;
  for (char32_t c : s) Utf8Append(r, c);
  return r;
}
bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

void Refuse(TMessage& Message) {
  Message.WParam = 0;
  Message.Result = 0;
}
}  // namespace

bool TDizCustomDropDown::AllowMin(char32_t Ch) const {
  return Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && Ch == U'-';
}

int TDizCustomDropDown::DecimalPos() {
  U16 v = Utf8ToUtf16(GetText());
  int lp = Len16(FPrefix);
  int d = Pos1(DS(), v);
  return d > 0 ? lp + d : int(v.size()) + lp + Len16(FSuffix) + 1;
}

int TDizCustomDropDown::FixedLength(const std::string& S) const {
  U16 w;
  for (char16_t c : Utf8ToUtf16(S))
    if (c != TS()) w += c;
  int d = Pos1(DS(), w);
  if (d == 0) d = int(w.size()) + 1;
  if (Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney) && w.find(u'-') != U16::npos)
    --d;
  return d;
}

bool TDizCustomDropDown::FractionFull(const std::string& V8, int P) {
  U16 v = Utf8ToUtf16(V8);
  int k = P - Len16(FPrefix);
  int d = Pos1(DS(), v);
  int len = int(v.size());
  return FPrecision > 0 && len - k <= FPrecision && d > 0 && k >= d && len - d >= FPrecision;
}

bool TDizCustomDropDown::SeparatorTooClose(const std::string& V8, int P) {
  U16 v = Utf8ToUtf16(V8);
  if (v.find(TS()) == U16::npos) return false;
  int k = P - Len16(FPrefix);
  int d = int(v.size());
  int s;
  while ((s = Pos1(TS(), v)) > 0) {
    int e = std::abs(s - k);
    d = std::min(d, e);
    if (e < 3) return true;
    if (s < k) k -= s;
    v.erase(0, size_t(s));
  }
  return d > 3;
}

// ---- key-down ------------------------------------------------------------------------------

void TDizCustomDropDown::WMKeyDown(TMessage& Message) {
  WORD key = WORD(Message.WParam);
  if (Down(VK_MENU) && (key == VK_UP || key == VK_DOWN)) {
    if (FDroppedDown) DoHideDropDown(false);
    else DoShowDropDown();
  }
  if (!FEditorEnabled && Enabled()) {
    // The list path: only the pop-up keys; descendants act on the others.
    if (!ReadOnly()) {
      if (key == VK_RETURN) DoHideDropDown(false);
      else if (key == VK_ESCAPE) DoHideDropDown(true);
      else if (key == VK_F4) {
        if (FDropDownForm && FDropDownForm->Visible()) DoHideDropDown(false);
        else DoShowDropDown();
      }
    }
    if (key == VK_RETURN || key == VK_ESCAPE) TCustomMaskEdit::WndProc(Message);
    return;
  }
  bool ctrl = Down(VK_CONTROL), shift = Down(VK_SHIFT);
  if (ctrl && (key == VK_TAB || key == VK_RETURN)) {
    TCustomMaskEdit::WndProc(Message);
    return;
  }
  int lp = Len16(FPrefix);
  U16 v = Utf8ToUtf16(GetText());
  int end = lp + int(v.size());
  DWORD sel = HandleAllocated() ? DWORD(SendMessage(Handle(), EM_GETSEL, 0, 0)) : 0;
  int selEnd = HIWORD(sel);
  if (key == VK_RETURN && ReturnIsTab) {
    key = VK_TAB;
    Message.WParam = VK_TAB;
    if (HandleAllocated() && IsWindowVisible(Handle())) PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (key == VK_RIGHT && !FSuffix.empty()) {
    if (selEnd >= end) return Refuse(Message);
  } else if (key == VK_DELETE && !FSuffix.empty() && selEnd >= end && SelLength() == 0) {
    return Refuse(Message);
  } else if (key == VK_LEFT && !FPrefix.empty()) {
    if (selEnd <= lp) return Refuse(Message);
  } else if (key == VK_END && !FSuffix.empty()) {
    if (shift) SendMessage(Handle(), EM_SETSEL, WPARAM(SelStart()), LPARAM(end));
    else SendMessage(Handle(), EM_SETSEL, WPARAM(end), LPARAM(end));
    return Refuse(Message);
  } else if (key == VK_HOME && !FPrefix.empty()) {
    if (shift) SendMessage(Handle(), EM_SETSEL, WPARAM(end), LPARAM(lp));
    else SendMessage(Handle(), EM_SETSEL, WPARAM(lp), LPARAM(lp));
    return Refuse(Message);
  }
  if (key == VK_BACK && !FPrefix.empty()) {
    if (SelStart() <= lp + 1) return Refuse(Message);
    SetModified(true);
  }
  if (key == VK_DELETE && SelStart() >= lp) {
    int ss = SelStart() - lp, sl = SelLength();
    U16 r = v;
    if (ss >= 0 && ss <= int(r.size())) r.erase(size_t(ss), size_t(sl > 0 ? sl : 1));
    if (LengthLimit > 0 && FixedLength(Utf16ToUtf8(r)) - 1 > LengthLimit) return Refuse(Message);
    SetModified(true);
  }
  TCustomMaskEdit::WndProc(Message);
  if (key == VK_DELETE && FEditType == etMoney) AutoSeparators();
  if (!FPrefix.empty() && HandleAllocated() && SelStart() < lp) SendMessage(Handle(), EM_SETSEL, WPARAM(lp), LPARAM(lp));
  if (key == VK_RETURN) DoHideDropDown(false);
  else if (key == VK_ESCAPE) DoHideDropDown(true);
  else if (key == VK_F4) {
    if (FDropDownForm && FDropDownForm->Visible()) DoHideDropDown(false);
    else DoShowDropDown();
  }
}

// ---- typed characters ----------------------------------------------------------------------

void TDizCustomDropDown::TypeChar(TMessage& Message, char32_t Ch) {
  Message.WParam = WPARAM(Ch);
  TCustomMaskEdit::WndProc(Message);
}

void TDizCustomDropDown::SyncModified() {
  if (TCustomMaskEdit::Modified()) FModified = true;
  UpdateLookup();
}

void TDizCustomDropDown::SetEditTextKeep(const std::string& Full, int Caret) {
  TCustomMaskEdit::SetTextValue(Full);
  SendMessage(Handle(), EM_SETSEL, WPARAM(Caret), LPARAM(Caret));
}

// The minus key on a number: a minus in front of the value, or the one there removed.
void TDizCustomDropDown::ToggleSign() {
  std::string v = GetText();
  int lp = Len16(FPrefix);
  int k = SelStart();
  if (v.find('-') == std::string::npos) {
    SetEditTextKeep(FPrefix + "-" + v + FSuffix, k + 1);
  } else {
    std::string rest = v.substr(1);
    SetEditTextKeep(FPrefix + rest + FSuffix, k <= lp ? lp : std::max(lp, k - 1));
  }
  FModified = true;
}

void TDizCustomDropDown::WMChar(TMessage& Message) {
  if (!FEditorEnabled) {
    Message.Result = 0;
    return;
  }
  char32_t ch = char32_t(Message.WParam);
  bool ctrl = Down(VK_CONTROL);
  std::string v8 = GetText();
  U16 v = Utf8ToUtf16(v8);
  int lp = Len16(FPrefix);
  char32_t ds = DS(), ts = TS();
  // 1. A character over the whole value: the change notification of the replacement is
  // not reported (a backspace reports it once itself).
  bool wholeSelected = !v.empty() && SelLength() == int(v.size());
  if (wholeSelected) FSkipNextChange = true;
  // 2. Enter never enters the text.
  if (ch == 13) {
    if (ctrl) {
      Message.Result = 1;
      return;
    }
    char32_t k = 13;
    if (OnKeyPress) OnKeyPress(this, k);
    if (!DialogKeyForwarding && Parent()) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      TCustomForm* f = GetParentForm(this);
      if (!(f && f->KeyPreview())) PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
      else TypeChar(Message, 0);
    }
    FSkipNextChange = false;
    return;
  }
  // 3. Escape.
  if (ch == 27 && !DialogKeyForwarding && Parent()) {
    TCustomForm* f = GetParentForm(this);
    if (f && f->KeyPreview()) return TypeChar(Message, ch);
    PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    if (!FCanUndo) return TypeChar(Message, ch);
  }
  // 4. Copy, paste and cut become the clipboard messages.
  if (ctrl && (ch == 3 || ch == 22 || ch == 24)) return TypeChar(Message, ch);
  // 5. The keypad's decimal key.
  if (ExcelStyleDecimalSeparator && (ch == U'.' || ch == U',') && (Message.LParam & (LPARAM(1) << 22))) ch = ds;
  int ss = SelStart(), sl = SelLength();
  // 6. Backspace into the prefix.
  if (ch == 8 && !FPrefix.empty() && ss <= lp && sl == 0) return;
  // 7. A full integer part takes no more integer characters.
  if (LengthLimit > 0 && FixedLength(v8) > LengthLimit && sl == 0 && ss < DecimalPos() && ch != 8 && ch != ds &&
      !AllowMin(ch))
    return;
  // 8. Backspace.
  if (ch == 8) {
    TypeChar(Message, ch);
    if (GetText().empty() && wholeSelected) {
      FSkipNextChange = false;
      Change();
    }
    return;
  }
  // 9. Line feeds, and a minus on a number that may not be negative.
  if (ctrl && ch == 10) return;
  if (ch == U'-' && !Signed && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney)) return;

  auto sync = [this] { SyncModified(); };
  auto isControl = [](char32_t c) { return c == 8 || c == 9 || c == 13; };
  switch (FEditType) {
    case etString:
    case etPassword:
      FModified = true;
      TypeChar(Message, ch);
      break;
    case etNumeric:
      if (ch == U'-') {
        if (sl == int(v.size())) {
          SetEditTextKeep(FPrefix + "-" + FSuffix, lp + 1);
          return;
        }
        ToggleSign();
        return;
      }
      if (isControl(ch) || IsDigit(ch) || Down(VK_LCONTROL) || Down(VK_RCONTROL) || ctrl) TypeChar(Message, ch);
      else return;
      break;
    case etFloat:
    case etMoney: {
      bool money = FEditType == etMoney;
      if (money && ch == ds && (v.find(char16_t(ds)) != U16::npos || FPrecision == 0)) {
        if (FPrecision > 0) {
          if (wholeSelected) SetText("0" + std::string(1, char(ds)) + "0");
          SelectAfterDecimal();
        }
        return;
      }
      if (!money) {
        if (ch == U',' && ds != U',' && ts != U',') return;
        if (ch == U'.' && ds != U'.' && ts != U'.') return;
        if (!(isControl(ch) || ch == U',' || ch == U'-' || ch == U'.' || IsDigit(ch))) return;
        U16 selText = Utf8ToUtf16(SelText());
        if (ch == ds && selText.find(char16_t(ds)) == U16::npos && (v.find(char16_t(ds)) != U16::npos || FPrecision == 0)) {
          if (FPrecision > 0) SelectAfterDecimal();
          return;
        }
      } else {
        if (!(isControl(ch) || ch == U'-' || IsDigit(ch) || ch == ds)) return;
      }
      if ((ch == ts || ch == ds) && SeparatorTooClose(v8, ss)) return;
      if (FractionFull(v8, ss) && (IsDigit(ch) || ch == ds) && sl == 0) {
        if (ch == ds) return;
        if (ss >= lp + int(v.size())) return;
        SendMessage(Handle(), EM_SETSEL, WPARAM(ss), LPARAM(ss + 1));
      }
      if (ss - lp == 0 && v.empty() && ch == ds) {
        SetEditTextKeep(FPrefix + "0" + std::string(1, char(ds)) + FSuffix, lp + 2);
        FModified = true;
        return;
      }
      if (ch == U'-' && sl == 0) {
        int saved = FPrecision;
        FPrecision = 0;
        ToggleSign();
        FPrecision = saved;
        return;
      }
      TypeChar(Message, ch);
      if (money) {
        std::string nv = GetText();
        if (!nv.empty() && nv != "-" && ch != ds) {
          sync();
          AutoSeparators();
        }
      }
      break;
    }
    case etUppercase:
      TypeChar(Message, Utf8ToUtf32(AnsiUpperCase(Utf32ToUtf8(std::u32string(1, ch))))[0]);
      break;
    case etLowerCase:
      TypeChar(Message, Utf8ToUtf32(AnsiLowerCase(Utf32ToUtf8(std::u32string(1, ch))))[0]);
      break;
    case etMixedCase: {
      int k = ss;
      TypeChar(Message, ch);
      SetEditTextKeep(FPrefix + ShiftCase(GetText()) + FSuffix, k + 1);
      break;
    }
    case etRange: {
      if (!(isControl(ch) || ch == U',' || ch == U'-' || IsDigit(ch) || ch == U';')) return;
      FModified = true;
      if (IsRangeSeparator(ch)) {
        U16 t = WideText() + u" ";
        if (ss <= lp) return;
        if (ss > 0 && IsRangeSeparator(t[size_t(ss - 1)])) return;
        if (ss < int(t.size()) && IsRangeSeparator(t[size_t(ss)])) return;
      }
      TypeChar(Message, ch);
      break;
    }
    case etHex:
      if (!(isControl(ch) || ch == U'-' || IsDigit(ch) || (ch >= U'A' && ch <= U'F') || (ch >= U'a' && ch <= U'f')))
        return;
      FModified = true;
      TypeChar(Message, ch);
      break;
    case etAlphaNumeric:
      if (!(isControl(ch) || IsDigit(ch) || (ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z'))) return;
      FModified = true;
      TypeChar(Message, ch);
      break;
    case etValidChars:
      if (!(ch == 8 || Utf8ToUtf32(ValidChars).find(ch) != std::u32string::npos)) return;
      FModified = true;
      TypeChar(Message, ch);
      break;
  }
  sync();
}

// ---- special keys ----------------------------------------------------------------------------

void TDizCustomDropDown::CMWantSpecialKey(TMessage& Message) {
  TCustomForm* form = nullptr;
  for (TWinControl* p = Parent(); p; p = p->Parent())
    if ((form = dynamic_cast<TCustomForm*>(p)) != nullptr) break;
  if (!form) return;
  WORD key = WORD(Message.WParam);
  if (key == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
    SelectAll();
    SetModified(false);
    Message.WParam = 0;
    Message.Result = 0;
    if (Parent() && DialogKeyForwarding) {
      PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
    }
    return;
  }
  if (key == VK_RETURN && DialogKeyForwarding && !form->KeyPreview() && Parent() && Parent()->HandleAllocated() &&
      GetFocus() == Parent()->Handle()) {
    PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
  }
  TCustomMaskEdit::WndProc(Message);
  key = WORD(Message.WParam);
  if (key == VK_RETURN || key == VK_ESCAPE) Message.Result = 1;
}

// ---- clipboard --------------------------------------------------------------------------------

namespace {
// The selected part of the value.
std::string SelectedValuePart(const std::string& V, int SelStart, int SelLength, int Lp) {
  U16 v = Utf8ToUtf16(V);
  int from = std::clamp(SelStart - Lp, 0, int(v.size()));
  int n = std::clamp(SelLength, 0, int(v.size()) - from);
  return Utf16ToUtf8(v.substr(size_t(from), size_t(n)));
}
}  // namespace

void TDizCustomDropDown::WMCopy(TMessage& Message) {
  bool allow = true;
  if (OnClipboardCopy && !FCutInProgress)
    OnClipboardCopy(this, SelectedValuePart(GetText(), SelStart(), SelLength(), Len16(FPrefix)), allow);
  FCutInProgress = false;
  if (allow) TCustomMaskEdit::WndProc(Message);
}

void TDizCustomDropDown::WMCut(TMessage& Message) {
  if (!FEditorEnabled || ReadOnly()) return;
  bool allow = true;
  FCutInProgress = true;
  if (OnClipboardCut) OnClipboardCut(this, SelectedValuePart(GetText(), SelStart(), SelLength(), Len16(FPrefix)), allow);
  if (allow) TCustomMaskEdit::WndProc(Message);
  FCutInProgress = false;
}

void TDizCustomDropDown::WMPaste(TMessage&) {
  if (ReadOnly()) return;
  if (!IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    UpdateLookup();
    return;
  }
  std::string t8;
  if (OpenClipboard(Handle())) {
    t8 = GetClipboardTextUtf8();
    CloseClipboard();
  }
  if (t8.empty()) return;
  // One line of value: a line break ends what is pasted.
  U16 t = Utf8ToUtf16(t8);
  std::string v8 = GetText();
  U16 v = Utf8ToUtf16(v8);
  int lp = Len16(FPrefix);
  int ss = SelStart(), sl = SelLength();
  int from = std::clamp(ss - lp, 0, int(v.size()));
  int n = std::clamp(sl, 0, int(v.size()) - from);
  U16 nv = v.substr(0, size_t(from)) + t + v.substr(size_t(from + n));
  std::string new8 = Utf16ToUtf8(nv);
  int selFrom = ss, selLen = sl > 0 ? int(t.size()) : 0;
  if (sl == 0) selFrom = ss + int(t.size());
  bool allow = true;
  if (OnClipboardPaste) OnClipboardPaste(this, new8, allow);
  if (!allow) return;
  if (MaxLength() > 0 && int(t.size()) + int(v.size()) - sl > MaxLength()) return;
  bool hasMinus = new8.find('-') != std::string::npos;
  char ds = FormatSettings().DecimalSeparator;
  auto every = [&](auto pred) {
    for (char32_t c : Utf8ToUtf32(new8))
      if (!pred(c)) return false;
    return true;
  };
  // Pastes checked by the rules typing follows: the text as it would be after typing each
  // pasted character at the caret.
  auto typeable = [&](bool range) {
    U16 acc = v.substr(0, size_t(from));
    for (char16_t c : nv.substr(size_t(from), t.size())) {
      if (range) {
        bool ok = (c >= u'0' && c <= u'9') || IsRangeSeparator(c);
        if (!ok) return false;
        if (IsRangeSeparator(c) && (acc.empty() || IsRangeSeparator(acc.back()))) return false;
      } else {
        bool ok = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f') || c == u'-';
        if (!ok) return false;
      }
      acc += c;
    }
    if (range) {
      U16 rest = nv.substr(size_t(from) + t.size());
      if (!rest.empty() && !acc.empty() && IsRangeSeparator(acc.back()) && IsRangeSeparator(rest.front())) return false;
    }
    return true;
  };
  switch (FEditType) {
    case etString:
    case etPassword: SetText(new8); break;
    case etNumeric:
      if (TextAutoType(new8) == atNumeric && (Signed || !hasMinus)) {
        SetText(new8);
        FModified = true;
      }
      break;
    case etFloat:
    case etMoney: {
      TAutoType at = TextAutoType(new8);
      if ((at == atNumeric || at == atFloat) && (FPrecision > 0 || t8.find(ds) == std::string::npos) &&
          (Signed || !hasMinus)) {
        SetText(new8);
        SetFloat(double(GetFloat()));
        FModified = true;
      }
      break;
    }
    case etUppercase: SetText(AnsiUpperCase(new8)); break;
    case etMixedCase: SetText(ShiftCase(new8)); break;
    case etLowerCase: SetText(AnsiLowerCase(new8)); break;
    case etAlphaNumeric:
      if (every([](char32_t c) { return IsDigit(c) || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); })) {
        SetText(new8);
        FModified = true;
      }
      break;
    case etValidChars: {
      std::u32string valid = Utf8ToUtf32(ValidChars);
      if (every([&](char32_t c) { return valid.find(c) != std::u32string::npos; })) {
        SetText(new8);
        FModified = true;
      }
      break;
    }
    case etRange:
      if (typeable(true)) {
        SetText(new8);
        FModified = true;
      }
      break;
    case etHex:
      if (typeable(false)) {
        SetText(new8);
        FModified = true;
      }
      break;
  }
  if (FEditType == etMoney && Len16(GetText()) > 3) {
    SelectAll();
  } else {
    int total = Len16(EditWindowText());
    int a = std::clamp(selFrom, 0, total), b = std::clamp(selFrom + selLen, 0, total);
    SendMessage(Handle(), EM_SETSEL, WPARAM(a), LPARAM(b));
  }
  if (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase || FEditType == etLowerCase ||
      FEditType == etPassword)
    FModified = true;
  UpdateLookup();
}

}  // namespace DizDropDown
