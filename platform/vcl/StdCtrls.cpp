// Labels, edits and memos.
#include "platform/vcl/StdCtrls.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace {

const TEnumInfo* AlignmentNames() {
  static const TEnumInfo* names = RegisterEnum("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
  return names;
}
const TEnumInfo* LayoutNames() {
  static const TEnumInfo* names = RegisterEnum("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
  return names;
}
const TEnumInfo* EditBorderNames() {
  static const TEnumInfo* names = RegisterEnum("TBorderStyle", {"bsNone", "bsSingle"});
  return names;
}
const TEnumInfo* CharCaseNames() {
  static const TEnumInfo* names = RegisterEnum("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
  return names;
}
const TEnumInfo* ScrollStyleNames() {
  static const TEnumInfo* names = RegisterEnum("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  return names;
}

}  // namespace

// The accelerator of a caption: the character after a single '&' (upper case), 0 if none.
char32_t AcceleratorOf(const std::string& Caption);
char32_t AcceleratorOf(const std::string& Caption) {
  size_t i = 0;
  while (i < Caption.size()) {
    if (Caption[i] == '&') {
      ++i;
      if (i >= Caption.size()) return 0;
      if (Caption[i] == '&') {
        ++i;
        continue;
      }
      size_t p = i;
      char32_t c = Utf8Next(Caption, p);
      std::u16string up = Utf8ToUtf16(AnsiUpperCase(CodePointToUtf8(c)));
      return up.empty() ? c : char32_t(up[0]);
    }
    ++i;
  }
  return 0;
}

static bool IsAccelKey(char32_t Key, const std::string& Caption) {
  char32_t a = AcceleratorOf(Caption);
  if (!a) return false;
  std::u16string up = Utf8ToUtf16(AnsiUpperCase(CodePointToUtf8(Key)));
  char32_t k = up.empty() ? Key : char32_t(up[0]);
  return k == a;
}

// =======================================================================================
// TCustomLabel

void TCustomLabel::Publish(TClassBuilder<TCustomLabel>& P) {
  P.Enum("Alignment", AlignmentNames(), &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify)
      .Enum("Layout", LayoutNames(), &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop)
      .Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false)
      .Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false)
      .Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true)
      .Component("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
}
void TLabel::Publish(TClassBuilder<TLabel>& P) { (void)P; }

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle += csOpaque;
  FControlStyle += csReplicatable;
  FAutoSize = true;
  SetBounds(0, 0, 65, 17);
}

bool TCustomLabel::Transparent() const { return !FControlStyle.Contains(csOpaque); }

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value) FControlStyle -= csOpaque;
  else FControlStyle += csOpaque;
  Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAutoSize(bool Value) {
  TGraphicControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  std::string text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text = " ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  else if (!(Flags & DT_CALCRECT) && AcceleratorsHidden(FParent && FParent->HandleAllocated() ? FParent->Handle() : nullptr))
    Flags |= DT_HIDEPREFIX;  // underlines show once Alt is pressed
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  HDC dc = c->GetHandle();
  SelectObject(dc, Font()->GetHandle());
  RECT r = ToRECT(Rect);
  SetBkMode(dc, TRANSPARENT);
  if (!Enabled() && !(Flags & DT_CALCRECT)) {
    RECT shadow{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    DrawTextUtf8(dc, text, &shadow, Flags);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    DrawTextUtf8(dc, text, &r, Flags);
  } else {
    SetTextColor(dc, ColorToRGB(Font()->GetColor()));
    DrawTextUtf8(dc, text, &r, Flags);
  }
  Rect = ToTRect(r);
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  UINT align = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  UINT flags = DT_EXPANDTABS | align | (FWordWrap ? UINT(DT_WORDBREAK) : 0u);
  if (FLayout != tlTop) {
    TRect calc = r;
    DoDrawText(calc, flags | DT_CALCRECT);
    int h = calc.Bottom - calc.Top;
    int top = FLayout == tlBottom ? r.Bottom - h : r.Top + (r.Height() - h) / 2;
    r.Top = top;
    r.Bottom = top + h;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (FComponentState.Contains(csLoading) || !FAutoSize) return;
  TRect r = ClientRect();
  if (!FWordWrap) r.Right = r.Left + 100000;
  HDC dc = GetDC(nullptr);
  Canvas()->SetHandle(dc);
  DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? UINT(DT_WORDBREAK) : 0u));
  Canvas()->SetHandle(nullptr);
  ReleaseDC(nullptr, dc);
  int x = FLeft;
  int w = r.Right - r.Left;
  if (FAlignment == taRightJustify) x = FLeft + FWidth - w;
  else if (FAlignment == taCenter && !FWordWrap) x = FLeft + (FWidth - w) / 2;
  SetBounds(x, FTop, w, r.Bottom - r.Top);
}

void TCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::WndProc(Message);
      AdjustBounds();
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccelKey(char32_t(Message.WParam), Caption())) {
        if (FFocusControl->CanFocus()) {
          FFocusControl->SetFocus();
          Message.Result = 1;
        }
        return;
      }
      break;
    default: break;
  }
  TGraphicControl::WndProc(Message);
}

// =======================================================================================
// TCustomEdit

// Takes a system window class's procedure, cursor and style for a control's window.
static void SubclassStdClass(TCreateParams& Params, const char* ClassName) {
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, ClassName, &wc)) return;
  Params.WindowClass.lpfnWndProc = wc.lpfnWndProc;
  Params.WindowClass.hCursor = wc.hCursor;
  Params.WindowClass.style = (wc.style & ~UINT(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS)) |
                             CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TCustomEdit::Publish(TClassBuilder<TCustomEdit>& P) {
  P.Enum("Alignment", AlignmentNames(), &TCustomEdit::Alignment, &TCustomEdit::SetAlignment, taLeftJustify)
      .Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
      .Bool("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize, true)
      .Enum("BorderStyle", EditBorderNames(), &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, bsSingle)
      .Enum("CharCase", CharCaseNames(), &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal)
      .Bool("Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D, true)
      .Bool("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true)
      .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
      .Bool("OEMConvert", &TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert, false)
      .Char("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar, 0)
      .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
      .Str("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
      .Event("OnChange", &TCustomEdit::OnChange);
}
void TEdit::Publish(TClassBuilder<TEdit>& P) { (void)P; }

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 21);
  FTabStop = true;
  SetColor(clWindow);
  FParentColor = false;
  FAutoSize = true;
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  RegisterEditClass();
  SubclassStdClass(Params, WC_EDIT);
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (FBorderStyle == bsSingle) {
    if (FCtl3D) Params.ExStyle |= WS_EX_CLIENTEDGE;
    else Params.Style |= WS_BORDER;
  }
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  else if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  SendFont();
  DoSetMaxLength(FMaxLength);
  if (FPasswordChar) SendMessage(FHandle, EM_SETPASSWORDCHAR, WPARAM(FPasswordChar > 0xFFFF ? U'*' : FPasswordChar), 0);
  SendMessage(FHandle, EM_SETMODIFY, FModified ? 1 : 0, 0);
  if (FSavedSelStart || FSavedSelLength)
    SendMessage(FHandle, EM_SETSEL, WPARAM(FSavedSelStart), LPARAM(FSavedSelStart + FSavedSelLength));
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  if (FHandle) {
    FModified = SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
    DWORD a = 0, b = 0;
    SendMessage(FHandle, EM_GETSEL, WPARAM(&a), LPARAM(&b));
    FSavedSelStart = int(a);
    FSavedSelLength = int(b) - int(a);
  }
  TWinControl::DestroyWnd();
}

void TCustomEdit::SetTextValue(const std::string& Value) {
  // Without a window the text takes the case the window would give it.
  if (!FHandle && FCharCase != ecNormal)
    TWinControl::SetTextValue(FCharCase == ecUpperCase ? AnsiUpperCase(Value) : AnsiLowerCase(Value));
  else
    TWinControl::SetTextValue(Value);
}

void TCustomEdit::SendFont() {
  if (FHandle) SendMessage(FHandle, WM_SETFONT, WPARAM(Font()->GetHandle()), 1);
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  TWinControl::SetAutoSize(Value);
  UpdateHeight();
}

void TCustomEdit::UpdateHeight() {
  if (FAutoSize && FBorderStyle == bsSingle) {
    FControlStyle += csFixedHeight;
    AdjustHeight();
  } else {
    FControlStyle -= csFixedHeight;
  }
}

void TCustomEdit::AdjustHeight() {
  if (FComponentState.Contains(csLoading)) return;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->GetHandle());
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int extra = GetSystemMetrics(SM_CYBORDER) * (FCtl3D ? 8 : 6);
  SetHeight(tm.tmHeight + extra);
}

void TCustomEdit::SetEditStyle(DWORD Bit, bool On) {
  if (!FHandle) return;
  DWORD s = DWORD(GetWindowLong(FHandle, GWL_STYLE));
  SetWindowLong(FHandle, GWL_STYLE, LONG(On ? (s | Bit) : (s & ~Bit)));
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (FHandle) {
    SetEditStyle(ES_UPPERCASE, Value == ecUpperCase);
    SetEditStyle(ES_LOWERCASE, Value == ecLowerCase);
    // Existing text takes the new case, as when the window is created with the style.
    std::string t = Text();
    std::string converted = Value == ecUpperCase ? AnsiUpperCase(t) : Value == ecLowerCase ? AnsiLowerCase(t) : t;
    if (converted != t) SetText(converted);
  } else if (Value != ecNormal) {
    FText = Value == ecUpperCase ? AnsiUpperCase(FText) : AnsiLowerCase(FText);
  }
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  SetEditStyle(ES_NOHIDESEL, !Value);
}

void TCustomEdit::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  DoSetMaxLength(Value);
}

void TCustomEdit::DoSetMaxLength(int Value) {
  if (FHandle) SendMessage(FHandle, EM_LIMITTEXT, WPARAM(Value), 0);
}

void TCustomEdit::SetOEMConvert(bool Value) {
  if (FOEMConvert == Value) return;
  FOEMConvert = Value;
  SetEditStyle(ES_OEMCONVERT, Value);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (FHandle) SendMessage(FHandle, EM_SETPASSWORDCHAR, WPARAM(Value > 0xFFFF ? U'*' : Value), 0);
  Invalidate();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (FHandle) SendMessage(FHandle, EM_SETREADONLY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (FHandle) {
    SetEditStyle(ES_RIGHT, Value == taRightJustify);
    SetEditStyle(ES_CENTER, Value == taCenter);
    SendMessage(FHandle, WM_STYLECHANGED, WPARAM(GWL_STYLE), 0);
  }
}

bool TCustomEdit::Modified() {
  if (FHandle) return SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  if (FHandle) SendMessage(FHandle, EM_SETMODIFY, Value ? 1 : 0, 0);
  else FModified = Value;
}

bool TCustomEdit::CanUndo() { return FHandle && SendMessage(FHandle, EM_CANUNDO, 0, 0) != 0; }

int TCustomEdit::SelStart() {
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  return int(a);
}

void TCustomEdit::SetSelStart(int Value) { SendMessage(Handle(), EM_SETSEL, WPARAM(Value), LPARAM(Value)); }

int TCustomEdit::SelLength() {
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  return int(b) - int(a);
}

void TCustomEdit::SetSelLength(int Value) {
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  SendMessage(FHandle, EM_SETSEL, WPARAM(a), LPARAM(int(a) + Value));
}

std::u16string TCustomEdit::WideText() { return Utf8ToUtf16(Text()); }

std::string TCustomEdit::SelText() {
  std::u16string w = Utf8ToUtf16(TWinControl::GetText());
  int start = std::min(SelStart(), int(w.size()));
  int len = std::clamp(SelLength(), 0, int(w.size()) - start);
  return Utf16ToUtf8(w.substr(size_t(start), size_t(len)));
}

void TCustomEdit::SetSelText(const std::string& Value) {
  SendMessage(Handle(), EM_REPLACESEL, 0, LPARAM(Value.c_str()));
}

int TCustomEdit::GetSelTextBuf(char* Buffer, int BufSize) {
  if (!Buffer || BufSize <= 0) return 0;
  std::string s = SelText();
  int n = std::min<int>(int(s.size()), BufSize - 1);
  std::copy(s.begin(), s.begin() + n, Buffer);
  Buffer[n] = 0;
  return n;
}

void TCustomEdit::SetSelTextBuf(const char* Buffer) { SetSelText(Buffer ? Buffer : ""); }

void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::ClearSelection() { SendMessage(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessage(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessage(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessage(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { SendMessage(Handle(), WM_UNDO, 0, 0); }
void TCustomEdit::ClearUndo() { SendMessage(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }
void TCustomEdit::SelectAll() { SendMessage(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && !FCreating) Change();
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, ColorToRGB(Font()->GetColor()));
      SetBkColor(dc, ColorToRGB(Brush()->GetColor()));
      Message.Result = LRESULT(Brush()->GetHandle());
      return;
    }
    case CM_ENTER:
      if (FAutoSelect && !FControlState.Contains(csLButtonDown) && FHandle &&
          !(GetWindowLong(FHandle, GWL_STYLE) & ES_MULTILINE))
        SelectAll();
      break;
    case CM_FONTCHANGED:
      TWinControl::WndProc(Message);
      SendFont();
      UpdateHeight();
      return;
    case CM_COLORCHANGED:
      TWinControl::WndProc(Message);
      Invalidate();
      return;
    default: break;
  }
  TWinControl::WndProc(Message);
}

// =======================================================================================
// TCustomMemo and its lines

std::vector<std::string> TMemoStrings::Split() const {
  std::string t = FMemo->Text();
  std::vector<std::string> lines;
  if (t.empty()) return lines;
  size_t pos = 0;
  while (pos <= t.size()) {
    size_t brk = t.find_first_of("\r\n", pos);
    if (brk == std::string::npos) {
      lines.push_back(t.substr(pos));
      break;
    }
    lines.push_back(t.substr(pos, brk - pos));
    pos = brk + ((t[brk] == '\r' && brk + 1 < t.size() && t[brk + 1] == '\n') ? 2 : 1);
    if (pos == t.size()) break;  // a final break ends the last line
  }
  return lines;
}

void TMemoStrings::Join(const std::vector<std::string>& Lines) {
  std::string t;
  for (size_t i = 0; i < Lines.size(); ++i) {
    if (i) t += "\r\n";
    t += Lines[i];
  }
  FMemo->SetText(t);
}

std::string TMemoStrings::Get(int Index) const {
  std::vector<std::string> lines = Split();
  if (Index < 0 || Index >= int(lines.size())) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  return lines[size_t(Index)];
}

int TMemoStrings::GetCount() const { return int(Split().size()); }

void TMemoStrings::Put(int Index, const std::string& S) {
  std::vector<std::string> lines = Split();
  if (Index < 0 || Index >= int(lines.size())) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  lines[size_t(Index)] = S;
  Join(lines);
}

void TMemoStrings::Clear() { FMemo->SetText(""); }

void TMemoStrings::Delete(int Index) {
  std::vector<std::string> lines = Split();
  if (Index < 0 || Index >= int(lines.size())) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  lines.erase(lines.begin() + Index);
  Join(lines);
}

void TMemoStrings::Insert(int Index, const std::string& S) {
  std::vector<std::string> lines = Split();
  if (Index < 0 || Index > int(lines.size())) throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
  lines.insert(lines.begin() + Index, S);
  Join(lines);
}

std::string TMemoStrings::GetText() const {
  std::string t;
  for (const std::string& s : Split()) t += s + "\r\n";
  return t;
}

void TMemoStrings::SetText(const std::string& Value) {
  std::string t = Value;
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.resize(t.size() - 2);
  else if (!t.empty() && t.back() == '\n') t.pop_back();
  FMemo->SetText(t);
}

void TMemoStrings::SetUpdateState(bool Updating) {
  if (FMemo->HandleAllocated()) {
    SendMessage(FMemo->Handle(), WM_SETREDRAW, Updating ? 0 : 1, 0);
    if (!Updating) FMemo->Invalidate();
  }
}

void TCustomMemo::Publish(TClassBuilder<TCustomMemo>& P) {
  P.Object("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
      .Enum("ScrollBars", ScrollStyleNames(), &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone)
      .Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true)
      .Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false)
      .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true)
      .Str("Text", &TCustomMemo::Text, &TCustomMemo::SetText)
      .Stored(false)
      .Bool("AutoSize", &TCustomMemo::AutoSize, &TCustomMemo::SetAutoSize, false);
}
void TMemo::Publish(TClassBuilder<TMemo>& P) { (void)P; }

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
  FAutoSize = false;
  FControlStyle -= csFixedHeight;
  FLines = std::make_unique<TMemoStrings>(this);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  if (FWantReturns) Params.Style |= ES_WANTRETURN;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

TPoint TCustomMemo::CaretPos() {
  DWORD a = 0, b = 0;
  SendMessage(Handle(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  int pos = int(b);
  int line = int(SendMessage(FHandle, EM_LINEFROMCHAR, WPARAM(pos), 0));
  int start = int(SendMessage(FHandle, EM_LINEINDEX, WPARAM(line), 0));
  return TPoint{pos - start, line};
}

void TCustomMemo::SetCaretPos(const TPoint& Value) {
  int start = int(SendMessage(Handle(), EM_LINEINDEX, WPARAM(Value.Y), 0));
  if (start < 0) start = GetTextLen();
  int len = int(SendMessage(FHandle, EM_LINELENGTH, WPARAM(start), 0));
  int pos = start + std::clamp(Value.X, 0, len);
  SendMessage(FHandle, EM_SETSEL, WPARAM(pos), LPARAM(pos));
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == U'\r' && !FWantReturns) Key = 0;
}

void TCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::WndProc(Message);
    if (FWantTabs) Message.Result |= DLGC_WANTTAB;
    else Message.Result &= ~LRESULT(DLGC_WANTTAB);
    if (!FWantReturns) Message.Result &= ~LRESULT(DLGC_WANTALLKEYS);
    return;
  }
  TCustomEdit::WndProc(Message);
}

// Every class of the unit can be named in a stored form.
static const bool kStdCtrlsRegistered = [] {
  RegisterClasses({TLabel::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(), TButton::StaticClass(),
                   TCheckBox::StaticClass(), TRadioButton::StaticClass(), TGroupBox::StaticClass(),
                   TScrollBar::StaticClass()});
  return true;
}();
