// Edit masks and the masked edit.
#include "platform/vcl/Mask.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"

namespace {

bool IsLetterCp(char32_t c) {
  if (c < 0x80) return std::isalpha(int(c)) != 0;
  return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) ||
         (c >= 0x400 && c <= 0x52F);
}
bool IsDigitCp(char32_t c) { return c >= U'0' && c <= U'9'; }

char32_t ToCase(char32_t c, int Case) {
  if (Case == 0) return c;
  std::string u = CodePointToUtf8(c);
  std::u16string w = Utf8ToUtf16(Case == 1 ? AnsiUpperCase(u) : AnsiLowerCase(u));
  return w.size() == 1 ? char32_t(w[0]) : c;
}

bool IsMaskChar(char32_t c) {
  switch (c) {
    case U'L': case U'l': case U'A': case U'a': case U'C': case U'c': case U'0': case U'9': case U'#': return true;
    default: return false;
  }
}

// The positions of a mask pattern and the remaining fields.
struct TMaskFields {
  std::u16string Pattern;
  std::u16string Save;
  std::u16string Blank;
  int Separators = 0;
};

TMaskFields SplitFields(const std::u16string& m) {
  TMaskFields f;
  size_t i = 0;
  for (; i < m.size(); ++i) {
    if (m[i] == u'\\' && i + 1 < m.size()) {
      f.Pattern += m[i];
      f.Pattern += m[++i];
      continue;
    }
    if (m[i] == u';') break;
    f.Pattern += m[i];
  }
  if (i >= m.size()) return f;
  ++f.Separators;
  size_t j = m.find(u';', i + 1);
  f.Save = m.substr(i + 1, j == std::u16string::npos ? std::u16string::npos : j - i - 1);
  if (j != std::u16string::npos) {
    ++f.Separators;
    f.Blank = m.substr(j + 1);
  }
  return f;
}

}  // namespace

bool TMaskPosition::Accepts(char32_t ch) const {
  if (Literal) return ch == Char;
  switch (Char) {
    case U'L': case U'l': return IsLetterCp(ch);
    case U'A': case U'a': return IsLetterCp(ch) || IsDigitCp(ch);
    case U'C': case U'c': return ch >= 32;
    case U'0': case U'9': return IsDigitCp(ch);
    case U'#': return IsDigitCp(ch) || ch == U'+' || ch == U'-';
    default: return false;
  }
}

TParsedMask ParseEditMask(const std::string& EditMask) {
  TParsedMask p;
  if (EditMask.empty()) return p;
  TMaskFields f = SplitFields(Utf8ToUtf16(EditMask));
  if (f.Separators >= 1 && !f.Save.empty() && f.Save[0] == u'0') p.SaveLiterals = false;
  if (f.Separators >= 2 && !f.Blank.empty()) p.Blank = char32_t(f.Blank[0]);
  int kase = 0;
  const std::u16string& m = f.Pattern;
  for (size_t i = 0; i < m.size(); ++i) {
    char16_t c = m[i];
    TMaskPosition pos;
    pos.Case = kase;
    switch (c) {
      case u'\\':
        if (i + 1 < m.size()) {
          pos.Char = m[++i];
          p.Positions.push_back(pos);
        }
        continue;
      case u'!': p.LeadingBlanks = true; continue;
      case u'>':
        if (i + 1 < m.size() && m[i + 1] == u'<') {
          kase = 0;
          ++i;
        } else {
          kase = 1;
        }
        continue;
      case u'<': kase = 2; continue;
      case u':': pos.Char = char32_t(FormatSettings().TimeSeparator); break;
      case u'/': pos.Char = char32_t(FormatSettings().DateSeparator); break;
      case u'_': pos.Char = U' '; break;
      default:
        if (IsMaskChar(c)) {
          pos.Literal = false;
          pos.Char = c;
        } else {
          pos.Char = c;
        }
        break;
    }
    p.Positions.push_back(pos);
  }
  return p;
}

char32_t MaskGetMaskBlank(const std::string& EditMask) { return ParseEditMask(EditMask).Blank; }
bool MaskGetMaskSave(const std::string& EditMask) { return ParseEditMask(EditMask).SaveLiterals; }

// The edit text of a value: with saved literals the value is laid over the positions;
// without, its characters fill the input positions in order (right-aligned with '!').
static std::u16string EditTextOf(const TParsedMask& M, const std::u16string& Value, bool ValueHasLiterals) {
  std::u16string out;
  char16_t blank = char16_t(M.Blank);
  if (ValueHasLiterals) {
    for (size_t i = 0; i < M.Positions.size(); ++i) {
      const TMaskPosition& p = M.Positions[i];
      if (p.Literal) {
        out += char16_t(p.Char);
        continue;
      }
      char32_t c = i < Value.size() ? ToCase(char32_t(Value[i]), p.Case) : U' ';
      out += (c != U' ' && c != M.Blank && p.Accepts(c)) ? char16_t(c) : blank;
    }
    return out;
  }
  int inputs = 0;
  for (const TMaskPosition& p : M.Positions)
    if (!p.Literal) ++inputs;
  int skip = M.LeadingBlanks ? std::max(0, inputs - int(Value.size())) : 0;
  size_t k = 0;
  int seen = 0;
  for (const TMaskPosition& p : M.Positions) {
    if (p.Literal) {
      out += char16_t(p.Char);
      continue;
    }
    if (seen++ < skip || k >= Value.size()) {
      out += blank;
      continue;
    }
    char32_t c = ToCase(char32_t(Value[k++]), p.Case);
    out += (c != U' ' && p.Accepts(c)) ? char16_t(c) : blank;
  }
  return out;
}

// The value of an edit text: blanks as spaces, literals only when saved.
static std::u16string ValueOf(const TParsedMask& M, const std::u16string& EditText) {
  std::u16string out;
  for (size_t i = 0; i < M.Positions.size(); ++i) {
    const TMaskPosition& p = M.Positions[i];
    char16_t c = i < EditText.size() ? EditText[i] : char16_t(M.Blank);
    if (p.Literal) {
      if (M.SaveLiterals) out += char16_t(p.Char);
    } else {
      out += c == char16_t(M.Blank) ? u' ' : c;
    }
  }
  return out;
}

std::string FormatMaskText(const std::string& EditMask, const std::string& Value) {
  TParsedMask m = ParseEditMask(EditMask);
  if (m.Empty()) return Value;
  return Utf16ToUtf8(EditTextOf(m, Utf8ToUtf16(Value), m.SaveLiterals));
}

// =======================================================================================
// TCustomMaskEdit

void TCustomMaskEdit::Publish(TClassBuilder<TCustomMaskEdit>& P) {
  P.Str("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
}
void TMaskEdit::Publish(TClassBuilder<TMaskEdit>& P) { (void)P; }

static const bool kMaskRegistered = [] {
  RegisterClass(TMaskEdit::StaticClass());
  return true;
}();

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const TEditMask& Value) {
  if (Value == FEditMask) return;
  std::string value = GetText();  // the value under the old mask
  FEditMask = Value;
  FParsed = ParseEditMask(Value);
  if (IsMasked()) FMaskState += msMasked;
  else FMaskState -= msMasked;
  ReformatText(value);
}

void TCustomMaskEdit::ReformatText(const std::string& OldValue) {
  DoSetMaxLength(FMaxLength);
  if (IsMasked()) SetEditTextValue(Utf16ToUtf8(EditTextOf(FParsed, Utf8ToUtf16(OldValue), FParsed.SaveLiterals)));
  else TCustomEdit::SetTextValue(OldValue);
  SetModified(false);
}

void TCustomMaskEdit::SetMaxLength(int Value) {
  // A mask fixes the length; the value is kept for when the mask is removed.
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  DoSetMaxLength(Value);
}

void TCustomMaskEdit::DoSetMaxLength(int Value) { TCustomEdit::DoSetMaxLength(IsMasked() ? GetMaxChars() : Value); }

std::string TCustomMaskEdit::GetEditText() { return TWinControl::GetText(); }

void TCustomMaskEdit::SetEditTextValue(const std::string& Value) { TCustomEdit::SetTextValue(Value); }

std::string TCustomMaskEdit::EditText() { return GetEditText(); }

void TCustomMaskEdit::SetEditText(const std::string& Value) {
  std::string v = IsMasked() ? Utf16ToUtf8(EditTextOf(FParsed, Utf8ToUtf16(Value), true)) : Value;
  if (GetEditText() == v) return;
  SetEditTextValue(v);
  if (HandleAllocated() && Focused()) CheckCursor();
}

std::string TCustomMaskEdit::GetText() const {
  std::string raw = TWinControl::GetText();
  if (!IsMasked()) return raw;
  return Utf16ToUtf8(ValueOf(FParsed, Utf8ToUtf16(raw)));
}

void TCustomMaskEdit::SetTextValue(const std::string& Value) {
  if (!IsMasked()) {
    TCustomEdit::SetTextValue(Value);
    return;
  }
  SetEditTextValue(Utf16ToUtf8(EditTextOf(FParsed, Utf8ToUtf16(Value), FParsed.SaveLiterals)));
}

void TCustomMaskEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  if (IsMasked()) {
    DoSetMaxLength(FMaxLength);
    std::u16string chars = EditChars();
    if (int(chars.size()) != GetMaxChars()) SetEditTextValue(Utf16ToUtf8(EditTextOf(FParsed, chars, true)));
  }
}

std::u16string TCustomMaskEdit::BlankEditText() const { return EditTextOf(FParsed, u"", true); }

std::u16string TCustomMaskEdit::EditChars() {
  std::u16string s = Utf8ToUtf16(GetEditText());
  if (IsMasked() && int(s.size()) != GetMaxChars()) s = EditTextOf(FParsed, s, true);
  return s;
}

// Writes the edit text as the user's change (undoable, Modified) and places the cursor.
void TCustomMaskEdit::SetEditChars(const std::u16string& Chars, int CaretPos) {
  if (Chars != EditChars()) {
    HWND h = Handle();
    SendMessage(h, EM_SETSEL, 0, -1);
    std::string u8 = Utf16ToUtf8(Chars);
    SendMessage(h, EM_REPLACESEL, 1, LPARAM(u8.c_str()));
  }
  SetCursor(CaretPos);
}

bool TCustomMaskEdit::IsValidMaskChar(char32_t& Key, int Pos) const {
  if (Pos < 0 || Pos >= GetMaxChars()) return false;
  const TMaskPosition& p = FParsed.Positions[size_t(Pos)];
  if (p.Literal) return false;
  char32_t k = ToCase(Key, p.Case);
  if (!p.Accepts(k) || k == FParsed.Blank || k > 0xFFFF) return false;
  Key = k;
  return true;
}

int TCustomMaskEdit::GetNextEditChar(int Offset) const {
  for (int i = std::max(0, Offset); i < GetMaxChars(); ++i)
    if (!FParsed.Positions[size_t(i)].Literal) return i;
  return -1;
}

int TCustomMaskEdit::GetPriorEditChar(int Offset) const {
  for (int i = std::min(Offset, GetMaxChars() - 1); i >= 0; --i)
    if (!FParsed.Positions[size_t(i)].Literal) return i;
  return -1;
}

int TCustomMaskEdit::GetFirstEditChar() const { return std::max(0, GetNextEditChar(0)); }

int TCustomMaskEdit::GetLastEditChar() const {
  int p = GetPriorEditChar(GetMaxChars() - 1);
  return p < 0 ? 0 : p;
}

void TCustomMaskEdit::SetCursor(int Pos) {
  if (!HandleAllocated()) return;
  if (!IsMasked()) {
    SendMessage(FHandle, EM_SETSEL, WPARAM(Pos), LPARAM(Pos));
    return;
  }
  Pos = std::clamp(Pos, 0, GetMaxChars());
  // Overwrite mode: the character at the cursor is selected, the caret before it.
  if (Pos >= GetMaxChars()) SendMessage(FHandle, EM_SETSEL, WPARAM(Pos), LPARAM(Pos));
  else SendMessage(FHandle, EM_SETSEL, WPARAM(Pos + 1), LPARAM(Pos));
}

void TCustomMaskEdit::CheckCursor() {
  if (!IsMasked() || !HandleAllocated()) return;
  DWORD a = 0, b = 0;
  SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
  if (a == b) SetCursor(int(a));
}

void TCustomMaskEdit::DeleteSelection(std::u16string& Chars, int Start, int End) const {
  for (int i = std::max(0, Start); i < End && i < int(Chars.size()); ++i)
    if (!FParsed.Positions[size_t(i)].Literal) Chars[size_t(i)] = char16_t(FParsed.Blank);
}

bool TCustomMaskEdit::EditCanModify() { return true; }

bool TCustomMaskEdit::Validate(const std::u16string& Value, int& Pos) {
  for (int i = 0; i < GetMaxChars(); ++i) {
    const TMaskPosition& p = FParsed.Positions[size_t(i)];
    if (p.Literal) continue;
    char16_t c = i < int(Value.size()) ? Value[size_t(i)] : char16_t(FParsed.Blank);
    bool empty = c == char16_t(FParsed.Blank) || c == u' ';
    if ((empty && p.Required()) || (!empty && !p.Accepts(c))) {
      Pos = i;
      return false;
    }
  }
  return true;
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError("Invalid input value. Use escape key to abandon changes");
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  int pos = 0;
  if (Validate(EditChars(), pos)) return;
  if (!FComponentState.Contains(csDesigning)) {
    FMaskState += msReEnter;
    if (CanFocus()) SetFocus();
  }
  SetCursor(pos);
  ValidateError();
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  SetEditTextValue(FOldValue);
  SetModified(false);
  CheckCursor();
}

void TCustomMaskEdit::DoEnter() {
  if (IsMasked() && !FComponentState.Contains(csDesigning)) {
    if (!FMaskState.Contains(msReEnter)) FOldValue = GetEditText();
    FMaskState -= msReEnter;
    CheckCursor();
  }
  TCustomEdit::DoEnter();
}

void TCustomMaskEdit::DoExit() {
  if (IsMasked() && !FComponentState.Contains(csDesigning)) {
    ValidateEdit();
    CheckCursor();
  }
  TCustomEdit::DoExit();
}

void TCustomMaskEdit::CutMasked() {
  if (FReadOnly || !EditCanModify()) return;
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  if (a == b) return;
  CopyToClipboard();
  std::u16string chars = EditChars();
  DeleteSelection(chars, int(a), int(b));
  SetEditChars(chars, int(a));
}

void TCustomMaskEdit::PasteMasked() {
  if (FReadOnly || !EditCanModify()) return;
  std::u16string clip = Utf8ToUtf16(GetClipboardTextUtf8());
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  std::u16string chars = EditChars();
  if (b > a + 1) DeleteSelection(chars, int(a), int(b));
  int pos = int(a);
  for (char16_t c : clip) {
    if (c == u'\r' || c == u'\n') break;
    if (pos >= GetMaxChars()) break;
    const TMaskPosition& p = FParsed.Positions[size_t(pos)];
    if (p.Literal && char32_t(c) == p.Char) {  // the literal itself is passed over
      ++pos;
      continue;
    }
    int at = GetNextEditChar(pos);
    char32_t key = c;
    if (at < 0 || !IsValidMaskChar(key, at)) {
      MessageBeep(0);
      break;
    }
    chars[size_t(at)] = char16_t(key);
    pos = at + 1;
  }
  int next = GetNextEditChar(pos);
  SetEditChars(chars, next < 0 ? GetMaxChars() : next);
}

bool TCustomMaskEdit::HandleDeleteKeys(WORD Key, TShiftState Shift) {
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  std::u16string chars = EditChars();
  if (Key == VK_BACK) {
    if (b > a + 1) {
      DeleteSelection(chars, int(a), int(b));
      SetEditChars(chars, int(a));
      return true;
    }
    int prior = GetPriorEditChar(int(a) - 1);
    if (prior < 0) return true;
    chars[size_t(prior)] = char16_t(FParsed.Blank);
    SetEditChars(chars, prior);
    return true;
  }
  // Delete: the selection, or the character at the cursor.
  if (b > a + 1 || Shift.Contains(ssCtrl)) {
    DeleteSelection(chars, int(a), b > a + 1 ? int(b) : GetMaxChars());
  } else {
    int at = GetNextEditChar(int(a));
    if (at >= 0) chars[size_t(at)] = char16_t(FParsed.Blank);
  }
  SetEditChars(chars, int(a));
  return true;
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomEdit::KeyDown(Key, Shift);
  if (!IsMasked() || Key == 0) return;
  if (Key == VK_ESCAPE && Modified()) {
    Reset();
    Key = 0;
    return;
  }
  bool canModify = !FReadOnly && EditCanModify();
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  switch (Key) {
    case VK_DELETE:
      if (Shift.Contains(ssShift)) CutMasked();
      else if (canModify) HandleDeleteKeys(Key, Shift);
      Key = 0;
      return;
    case VK_INSERT:
      if (Shift.Contains(ssShift)) {
        PasteMasked();
        Key = 0;
      }
      return;
    case VK_BACK:
      if (canModify) HandleDeleteKeys(Key, Shift);
      Key = 0;
      return;
    default: break;
  }
  if (Shift.Contains(ssShift)) return;  // selecting: the editor extends the selection
  switch (Key) {
    case VK_LEFT:
    case VK_UP: {
      int prior = GetPriorEditChar(int(a) - 1);
      SetCursor(prior < 0 ? GetFirstEditChar() : prior);
      Key = 0;
      return;
    }
    case VK_RIGHT:
    case VK_DOWN: {
      int from = b > a + 1 ? int(b) : int(a) + 1;
      if (b > a + 1) from = int(b) - 1 + 1;
      int next = GetNextEditChar(from);
      SetCursor(next < 0 ? GetMaxChars() : next);
      Key = 0;
      return;
    }
    case VK_HOME:
      SetCursor(GetFirstEditChar());
      Key = 0;
      return;
    case VK_END: {
      int last = GetLastEditChar();
      SetCursor(last + 1 >= GetMaxChars() ? GetMaxChars() : last + 1);
      Key = 0;
      return;
    }
    default: break;
  }
}

void TCustomMaskEdit::KeyUp(WORD& Key, TShiftState Shift) { TCustomEdit::KeyUp(Key, Shift); }

void TCustomMaskEdit::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (!IsMasked() || Key == 0) return;
  switch (Key) {
    case 3:  // Ctrl+C: the editor copies
    case 1:  // Ctrl+A
    case 26: // Ctrl+Z
      return;
    case 24:
      CutMasked();
      Key = 0;
      return;
    case 22:
      PasteMasked();
      Key = 0;
      return;
    case 8:
    case 27:
      Key = 0;  // handled on key down
      return;
    default: break;
  }
  if (Key < 32) {
    if (Key != 13) Key = 0;  // Enter goes on to the form (default button)
    return;
  }
  if (FReadOnly || !EditCanModify()) {
    Key = 0;
    MessageBeep(0);
    return;
  }
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  std::u16string chars = EditChars();
  if (b > a + 1) DeleteSelection(chars, int(a), int(b));
  int pos = int(a);
  // A typed literal moves past it.
  if (pos < GetMaxChars() && FParsed.Positions[size_t(pos)].Literal && FParsed.Positions[size_t(pos)].Char == Key) {
    int next = GetNextEditChar(pos + 1);
    SetEditChars(chars, next < 0 ? GetMaxChars() : next);
    Key = 0;
    return;
  }
  int at = GetNextEditChar(pos);
  char32_t k = Key;
  if (at < 0 || !IsValidMaskChar(k, at)) {
    MessageBeep(0);
    Key = 0;
    return;
  }
  chars[size_t(at)] = char16_t(k);
  int next = GetNextEditChar(at + 1);
  SetEditChars(chars, next < 0 ? GetMaxChars() : next);
  Key = 0;
}

void TCustomMaskEdit::WndProc(TMessage& Message) {
  if (IsMasked()) {
    switch (Message.Msg) {
      case CM_WANTSPECIALKEY:
        // Escape undoes the changes instead of reaching the form's Cancel button.
        if (Message.WParam == VK_ESCAPE && HandleAllocated() && Modified()) {
          Message.Result = 1;
          return;
        }
        break;
      case WM_CUT:
        CutMasked();
        return;
      case WM_PASTE:
        PasteMasked();
        return;
      case WM_CLEAR: {
        if (FReadOnly || !EditCanModify()) return;
        DWORD a = 0, b = 0;
        SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
        std::u16string chars = EditChars();
        DeleteSelection(chars, int(a), int(b));
        SetEditChars(chars, int(a));
        return;
      }
      case WM_LBUTTONUP:
        TCustomEdit::WndProc(Message);
        CheckCursor();
        return;
      default: break;
    }
  }
  TCustomEdit::WndProc(Message);
}
