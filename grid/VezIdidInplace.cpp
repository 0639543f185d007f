// VezIdid, the text in-place editor TDizInplaceEdit: typing and paste filters per editor
// kind, the length limit, password and alignment styles, word wrap, validation on Enter
// and Tab, Escape, the clipboard events and the end of the edit on focus loss.
#include <algorithm>

#include "foundation/DizUtil.h"
#include "grid/VezIdid.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/StdEdit.h"

namespace {
bool KeyHeld(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

std::string OneChar(char32_t ch) {
  std::u16string w(1, char16_t(ch));
  return Utf16ToUtf8(w);
}
}  // namespace

TDizInplaceEdit::TDizInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner), FOwnerGrid(dynamic_cast<TDavEvadurAvuz*>(AOwner)) {}

void TDizInplaceEdit::SetVAlign(bool Value) {
  if (FVAlign == Value) return;
  FVAlign = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TDizInplaceEdit::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (HandleAllocated()) RecreateWnd();
}

int TDizInplaceEdit::SelStartNow() { return HandleAllocated() ? SelStart() : 0; }

// ---------------------------------------------------------------------------------------
// Window creation and contents.
void TDizInplaceEdit::CreateParams(TCreateParams& Params) {
  TInplaceEdit::CreateParams(Params);
  TDavEvadurAvuz* g = FOwnerGrid;
  if (g) FWordWrap = g->WordWrap();
  if (FVAlign) Params.Style |= ES_RIGHT;
  FPasswordWindow = g && g->ActiveEditorType() == edPassword;
  if (FPasswordWindow) {
    Params.Style |= ES_PASSWORD;
    Params.Style &= ~DWORD(ES_MULTILINE);
  }
  if (FWordWrap) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
  Params.Style |= ES_WANTRETURN;
  LookupEnabled = true;
}

void TDizInplaceEdit::CreateWnd() {
  TInplaceEdit::CreateWnd();
  if (!FOwnerGrid) return;
  if (FPasswordWindow) SendMessage(Handle(), EM_SETPASSWORDCHAR, WPARAM(FOwnerGrid->PasswordChar), 0);
  LengthLimit = FOwnerGrid->GetEditLimit();
}

void TDizInplaceEdit::UpdateContents() {
  TDavEvadurAvuz* g = FOwnerGrid;
  // The password style is fixed when the window is made: a cell of the other kind gets
  // a window of its own kind.
  if (g && HandleAllocated() && FPasswordWindow != (g->ActiveEditorType() == edPassword)) RecreateWnd();
  TInplaceEdit::UpdateContents();
  if (!g) return;
  LengthLimit = g->GetEditLimit();
  TGridDrawState state;
  TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool ww = false;
  TCellGradientDirection gd = GradientVertical;
  TCanvas* canvas = g->Canvas();
  g->GetVisualProperties(g->Col(), g->Row(), state, false, false, true, canvas->Brush(), colorTo, mirror, mirrorTo,
                         canvas->Font(), ha, va, ww, gd);
  SetColor(canvas->Brush()->GetColor());
  Font()->Assign(canvas->Font());
  EditCol = g->Col();
  EditRow = g->Row();
  if (g->OnGetEditorProp) g->OnGetEditorProp(g, g->RemapCol(EditCol), EditRow, nullptr);
}

void TDizInplaceEdit::BoundsChanged() {
  if (!FOwnerGrid || !HandleAllocated()) {
    TInplaceEdit::BoundsChanged();
    return;
  }
  TRect r = FOwnerGrid->CellRect(FOwnerGrid->Col(), FOwnerGrid->Row());
  if (r.Right > r.Left && r.Bottom > r.Top) {
    int left = r.Left + 0;
    SetWindowPos(Handle(), nullptr, left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1,
                 SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOZORDER);
  }
  RECT fr{3, 3, Width() - 2, Height()};
  SendMessage(Handle(), EM_SETRECTNP, 0, LPARAM(&fr));
}

// ---------------------------------------------------------------------------------------
// Messages.
void TDizInplaceEdit::WndProc(TMessage& Message) {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (!g || !Grid()) {
    TInplaceEdit::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_SYSKEYDOWN:
      if (Message.WParam == VK_BACK) AltBackspaceDown = true;
      break;
    case WM_SYSKEYUP:
      if (Message.WParam == VK_BACK) AltBackspaceDown = false;
      break;
    case WM_CHAR: WMChar(Message); return;
    case WM_KEYDOWN:
      if (!WMKeyDownSteps(Message)) return;
      TInplaceEdit::WndProc(Message);
      // Leaving a row upwards or downwards moves the disjunct row selection along.
      if (FMovedVertically && g->MouseActions()->DisjunctRowSelect()) {
        g->ClearRowSelect();
        g->SetRowSelect(g->Row(), true);
      }
      return;
    case WM_PASTE:
      if (EditCanModify()) WMPaste();
      return;
    case WM_COPY: {
      bool allow = true;
      if (g->OnClipboardCopy) g->OnClipboardCopy(this, allow);
      if (!allow) return;
      break;
    }
    case WM_CUT: {
      bool allow = true;
      if (g->OnClipboardCut) g->OnClipboardCut(this, allow);
      if (!allow) return;
      break;
    }
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KEYUP: {
      TInplaceEdit::WndProc(Message);
      int caret = SelStartNow();
      std::string text = Text();
      if (caret > 0) {
        LRESULT p = SendMessage(Handle(), EM_POSFROMCHAR, WPARAM(caret - 1), 0);
        g->EditProgress(text, TPoint{int(LOWORD(p)), int(HIWORD(p))}, caret);
      }
      g->SetCellSelectMode(!text.empty() && text[0] == '=');
      return;
    }
    case WM_GETDLGCODE:
      TInplaceEdit::WndProc(Message);
      if (g->ShouldHandleTab()) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_LBUTTONDBLCLK:
      TInplaceEdit::WndProc(Message);
      if (g->OnDblClickCell) g->OnDblClickCell(g, g->Row(), g->Col());
      return;
    case WM_WINDOWPOSCHANGED: {
      // The editor being hidden ends its edit even when it never had the focus. Only a
      // change that hides it counts: the window is also placed while still hidden, before
      // it has been filled for a cell, and that is no end of an edit.
      auto* wp = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
      bool hiding = wp && (wp->flags & SWP_HIDEWINDOW);
      TInplaceEdit::WndProc(Message);
      if (hiding && !IsWindowVisible(Handle()) && g->TextEditPending()) g->TextEditorClosed(EditCol, EditRow);
      return;
    }
    default: break;
  }
  TInplaceEdit::WndProc(Message);
}

// Typed characters: the length limit, then the filter of the cell's editor kind.
void TDizInplaceEdit::WMChar(TMessage& Message) {
  TDavEvadurAvuz* g = FOwnerGrid;
  char32_t ch = char32_t(Message.WParam);
  // The Enter whose key-down was refused by validation does not also advance.
  if (ch == 13 && FSwallowEnterChar) {
    FSwallowEnterChar = false;
    return;
  }
  const TFormatSettings& fs = FormatSettings();
  if (ch == '.' && g->ExcelStyleDecimalSeparator && (Message.LParam & (1 << 22))) ch = char32_t(fs.DecimalSeparator);
  bool ctrl = KeyHeld(VK_CONTROL);
  bool multi = g->WordWrap() || g->Multilinecells;
  if (ch == 10 && ctrl && !(g->Navigation()->AllowCtrlEnter && multi)) {
    Message.WParam = 0;
    Message.Result = 1;
    return;
  }
  std::u16string wtext = HandleAllocated() ? WideText() : std::u16string();
  int len = static_cast<int>(wtext.size());
  int selLen = HandleAllocated() ? SelLength() : 0;
  if (LengthLimit > 0 && len >= LengthLimit && selLen == 0 && ch != 8 && ch != 27 && ch != 13) return;
  TEditorType kind = g->ActiveEditorType();
  bool textKind = kind == edNormal || kind == edCapital || kind == edMixedCase || kind == edLowerCase ||
                  kind == edUpperCase || kind == edValidChars;
  if (ch == 13 && textKind && g->Navigation()->LineFeedOnEnter) {
    TInplaceEdit::WndProc(Message);
    return;
  }
  std::string text = Text();
  std::string selText = HandleAllocated() ? SelText() : std::string();
  int selStart = SelStartNow();
  bool isDigit = ch >= '0' && ch <= '9';
  bool control = ch == 8 || ch == 9 || ch == 13 || ch == 27;
  enum { kPass, kBeep, kDrop } outcome = kPass;
  switch (kind) {
    case edNormal: case edPassword: break;
    case edNumeric:
      if (!(control || isDigit || (ch == '-' && text.find('-') == std::string::npos && selStart == 0))) outcome = kBeep;
      break;
    case edPositiveNumeric:
      if (!(control || isDigit)) outcome = kBeep;
      break;
    case edFloat: {
      bool listed = control || isDigit || ch == ',' || ch == '-' || ch == '.';
      if (!listed) {
        outcome = ctrl ? kPass : kDrop;
      } else if (ch == char32_t(fs.DecimalSeparator) && text.find(fs.DecimalSeparator) != std::string::npos &&
                 selText.find(fs.DecimalSeparator) == std::string::npos) {
        outcome = kDrop;
      } else if (ch == char32_t(fs.ThousandSeparator)) {
        outcome = kDrop;
      } else if (ch == '-' && (selStart != 0 || text.find('-') != std::string::npos)) {
        outcome = selText.find('-') != std::string::npos ? kPass : kBeep;
      }
      break;
    }
    case edCapital: case edUpperCase:
      if (!control) ch = Utf8ToUtf16(AnsiUpperCase(OneChar(ch)))[0];
      break;
    case edLowerCase:
      if (!control) ch = Utf8ToUtf16(AnsiLowerCase(OneChar(ch)))[0];
      break;
    case edMixedCase: break;
    case edValidChars: {
      bool ok = ch == 8 || ch == 13;
      if (!ok) {
        if (!g->ValidChars.empty()) ok = g->ValidChars.find(OneChar(ch)) != std::string::npos;
        else ok = ch < 256 && g->AllowedCharSet.size() == 256 && g->AllowedCharSet[ch];
      }
      if (!ok) outcome = kBeep;
      break;
    }
    default: outcome = kDrop; break;
  }
  if (outcome == kBeep) {
    MessageBeep(0);
  } else if (outcome == kPass) {
    Message.WParam = WPARAM(ch);
    TInplaceEdit::WndProc(Message);
    if (kind == edMixedCase && ch >= 32 && HandleAllocated()) {
      std::string mixed = ShiftCase(Text());
      if (mixed != Text()) {
        SetText(mixed);
        SetSelStart(selStart + 1);
        SetSelLength(0);
      }
    }
  }
  if (outcome == kDrop || (outcome == kBeep && kind == edFloat)) return;
  // Automatic advance once the text is full.
  if (g->Navigation()->AdvanceAuto && g->MaxEditLength > 0 && HandleAllocated()) {
    int n = static_cast<int>(WideText().size());
    if (n == g->MaxEditLength && SelLength() == 0 && SelStart() == n) {
      char32_t enter = 13;
      g->KeyPress(enter);
    }
  }
}

void TDizInplaceEdit::ShowRefused(const std::string& SavedOrig) {
  TDavEvadurAvuz* g = FOwnerGrid;
  // The refusal left the cell with its old value, or with the value the application
  // chose; the reopened editor shows exactly what the cell holds.
  std::string shown = g->GetCurrentCell();
  if (Text() != shown) {
    g->SetEditChangeSuppressed(true);
    SetText(shown);
    g->SetEditChangeSuppressed(false);
  }
  if (HandleAllocated()) {
    if (g->Navigation()->EditSelectAll) SelectAll();
    else {
      SetSelStart(static_cast<int>(WideText().size()));
      SetSelLength(0);
    }
  }
  g->ValidateOrigText = SavedOrig;
}

bool TDizInplaceEdit::WMKeyDownSteps(TMessage& Message) {
  TDavEvadurAvuz* g = FOwnerGrid;
  g->Edit_WMKeyDown(Message);
  WORD key = WORD(Message.WParam);
  FSwallowEnterChar = false;
  CaretAtKeyMessage = SelStartNow();
  FMovedVertically = false;
  bool ctrl = KeyHeld(VK_CONTROL), shift = KeyHeld(VK_SHIFT);
  if (key == VK_ESCAPE) {
    g->SetEditChangeSuppressed(true);
    SetText(g->EditCacheText());
    g->SetEditChangeSuppressed(false);
    g->HideInplaceEdit();
  }
  bool multi = g->WordWrap() || g->Multilinecells;
  if (key == VK_RETURN && ctrl && !(g->Navigation()->AllowCtrlEnter && multi)) {
    Message.WParam = 0;
    Message.Result = 1;
    return false;
  }
  std::string text = Text();
  std::string savedOrig = g->ValidateOrigText;
  if (key == VK_TAB && g->ShouldHandleTab()) {
    if (g->ValidateCell(text)) {
      g->SetEditChangeSuppressed(true);
      SetText(g->ValidateNewText);
      g->SetEditChangeSuppressed(false);
      g->HideInplaceEdit();
      if (g->Options().Contains(goTabs)) g->TabEdit(shift);
      else PostMessage(g->Handle(), WM_KEYDOWN, VK_TAB, 0);
    } else {
      ShowRefused(savedOrig);
    }
    return false;
  }
  // The text goes to the cell and is validated before the caret walks out of the editor.
  auto writeAndValidate = [&] {
    g->SetValidatingCell(true);
    try {
      g->SetCurrentCell(text);
    } catch (...) {
      g->SetValidatingCell(false);
      throw;
    }
    g->SetValidatingCell(false);
    if (!g->ValidateCell(text)) {
      ShowRefused(savedOrig);
      Invalidate();
      return false;
    }
    if (Text() != g->ValidateNewText) {
      g->SetEditChangeSuppressed(true);
      SetText(g->ValidateNewText);
      g->SetEditChangeSuppressed(false);
    }
    return true;
  };
  int caret = SelStartNow();
  int length = static_cast<int>(WideText().size());
  if (((key == VK_LEFT && caret == 0) || (key == VK_RIGHT && caret == length)) && shift &&
      g->Navigation()->CursorWalkEditor) {
    if (writeAndValidate()) {
      g->HideInplaceEdit();
      if (g->CanFocus()) g->SetFocus();
    }
    return false;
  }
  if ((key == VK_UP || key == VK_DOWN) && HandleAllocated()) {
    int caretLine = int(SendMessage(Handle(), EM_LINEFROMCHAR, WPARAM(caret), 0));
    int endLine = int(SendMessage(Handle(), EM_LINEFROMCHAR, WPARAM(length), 0));
    if ((key == VK_UP && caretLine == 0) || (key == VK_DOWN && caretLine == endLine)) {
      if (!writeAndValidate()) return false;
      FMovedVertically = true;
    }
  }
  if (key == VK_RETURN && !g->Navigation()->LineFeedOnEnter && !ctrl) {
    if (!g->ValidateCell(text)) {
      ShowRefused(savedOrig);
      FSwallowEnterChar = true;
      return false;
    }
    if (Text() != g->ValidateNewText) {
      g->SetEditChangeSuppressed(true);
      SetText(g->ValidateNewText);
      g->SetEditChangeSuppressed(false);
    }
  }
  if (HandleAllocated() && !ctrl && !shift) {
    if (key == VK_HOME) {
      SetSelStart(0);
      SetSelLength(0);
    } else if (key == VK_END) {
      SetSelStart(static_cast<int>(WideText().size()));
      SetSelLength(0);
    }
  }
  if (key == VK_RETURN && ctrl && g->Navigation()->LineFeedOnEnter) {
    char32_t enter = 13;
    TInplaceEdit::KeyPress(enter);
    return false;
  }
  return true;
}

void TDizInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (!g) {
    TInplaceEdit::KeyDown(Key, Shift);
    return;
  }
  CaretAtKeyDown = SelStartNow();
  if (Key == VK_BACK || Key == VK_DELETE) {
    LookupEnabled = false;
  } else {
    LookupEnabled = true;
  }
  if ((Key == VK_UP || Key == VK_DOWN) && HandleAllocated()) {
    int line = int(SendMessage(Handle(), EM_LINEFROMCHAR, WPARAM(-1), 0));
    int lines = int(SendMessage(Handle(), EM_GETLINECOUNT, 0, 0));
    if ((Key == VK_UP && line > 0) || (Key == VK_DOWN && line < lines - 1)) return;
  }
  if (Key == VK_RETURN && !g->Navigation()->AllowCtrlEnter && (g->WordWrap() || g->Multilinecells))
    g->SetValidatePending(false);
  if (Key == VK_RETURN && (Shift.Contains(ssShift) || Shift.Contains(ssCtrl)) && g->SizeWhileTyping()->Height &&
      g->Multilinecells) {
    // The row makes room for the text and the line about to start.
    int row = g->Row();
    int lines = LinesInText(Text() + "\r\n ", true);
    if (lines < g->MaxLinesInRow(row)) g->AutoSizeRow(row, 0);
    else g->SizeToLines(row, lines, g->XYOffset.Y);
    if (g->OnEndRowSize) g->OnEndRowSize(g, row);
  }
  g->EditKeyDown(Key, Shift);
  if (Key != 0) TInplaceEdit::KeyDown(Key, Shift);
}

void TDizInplaceEdit::KeyPress(char32_t& Key) {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (g && Key == 13 && !g->Navigation()->LineFeedOnEnter) {
    if (!g->ValidateCell(Text())) {
      g->SetEditChangeSuppressed(true);
      SetText(g->GetCurrentCell());
      g->SetEditChangeSuppressed(false);
      Key = 0;
      return;
    }
  }
  TInplaceEdit::KeyPress(Key);
  // A filled mask moves on by itself.
  if (g && Key != 13 && g->Navigation()->AdvanceAuto && IsMasked() && HandleAllocated()) {
    std::u16string w = WideText();
    char32_t blank = MaskGetMaskBlank(EditMask());
    bool full = w.find(char16_t(blank)) == std::u16string::npos && w.find(u' ') == std::u16string::npos;
    if (full && SelStartNow() >= static_cast<int>(w.size())) {
      char32_t enter = 13;
      g->KeyPress(enter);
    }
  }
}

void TDizInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (g && (Key == VK_LEFT || Key == VK_RIGHT) && g->Navigation()->CursorWalkEditor && SelLength() == 0 &&
      !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt)) {
    int caret = SelStartNow();
    int length = static_cast<int>(WideText().size());
    bool left = Key == VK_LEFT && caret == 0 && CaretAtKeyDown == 0;
    bool right = Key == VK_RIGHT && CaretAtKeyMessage == length;
    if (left || right) {
      // The caret walks out of the editor into the neighbouring cell.
      Key = 0;
      int col = g->Col(), row = g->Row();
      int rc = g->RemapCol(col);
      int target = left ? col - 1 : col + g->CellSpan(rc, row).X + 1;
      bool staticNeighbour = left ? col > g->FixedCols() && g->HasStaticEdit(g->RemapCol(target), row)
                                  : col < g->ColCount() - 1 - g->FixedRightCols() &&
                                        g->HasStaticEdit(g->RemapCol(target), row);
      if (staticNeighbour) {
        if (g->ValidateCell(Text())) {
          g->HideInplaceEdit();
          g->SetCol(target);
        }
        return;
      }
      if (left && !g->ValidateCell(Text())) return;
      if (left) g->HideInplaceEdit();
      TAdvanceDirection saved = g->Navigation()->AdvanceDirection();
      g->Navigation()->SetAdvanceDirection(adLeftRight);
      try {
        g->AdvanceEdit(col, row, true, true, right, false, true);
      } catch (...) {
        g->Navigation()->SetAdvanceDirection(saved);
        throw;
      }
      g->Navigation()->SetAdvanceDirection(saved);
      if (!g->Navigation()->CursorWalkAlwaysEdit) g->HideInplaceEdit();
      else Key = VK_RETURN;
      return;
    }
  }
  if (Key == VK_LEFT || Key == VK_RIGHT) return;
  TInplaceEdit::KeyUp(Key, Shift);
  if (!g || Key == 0) return;
  DoChange();
  // The cell grows with the text while it is typed.
  if (g->SizeWhileTyping()->Width) g->SizeToWidth(g->Col(), true);
  if (g->SizeWhileTyping()->Height && g->WordWrap()) {
    g->AutoSizeRow(g->Row(), 0);
    if (g->OnEndRowSize) g->OnEndRowSize(g, g->Row());
  }
}

// Type-ahead from the grid's lookup list.
void TDizInplaceEdit::DoChange() {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (!LookupEnabled || !g->Lookup || !HandleAllocated() || SelLength() != 0) return;
  TStrings* items = g->LookupItems();
  if (!items || items->Count() == 0) return;
  std::u16string w = WideText();
  int caret = std::min<int>(SelStart(), int(w.size()));
  std::string typed = Utf16ToUtf8(w.substr(0, caret));
  if (typed.empty()) return;
  std::string prefix = g->LookupCaseSensitive ? typed : AnsiUpperCase(typed);
  for (int i = 0; i < items->Count(); ++i) {
    std::string item = items->Get(i);
    std::string cmp = g->LookupCaseSensitive ? item : AnsiUpperCase(item);
    if (cmp.compare(0, prefix.size(), prefix) != 0) continue;
    std::string rest = item.substr(std::min(item.size(), typed.size()));
    std::u16string wrest = Utf8ToUtf16(rest);
    if (wrest.size() > 255) wrest.resize(255);
    std::u16string all = Utf8ToUtf16(typed) + wrest;
    SetText(Utf16ToUtf8(all));
    SendMessage(Handle(), EM_SETSEL, WPARAM(caret), LPARAM(all.size()));
    return;
  }
}

void TDizInplaceEdit::Change() {
  TInplaceEdit::Change();
  TDavEvadurAvuz* g = FOwnerGrid;
  if (g && !g->EditChangeSuppressed() && g->OnEditChange) g->OnEditChange(g, g->Col(), g->Row(), Text());
}

// Paste: plain text only, through the clipboard events and the typing rules of the cell.
void TDizInplaceEdit::WMPaste() {
  TDavEvadurAvuz* g = FOwnerGrid;
  if (!IsClipboardFormatAvailable(CF_TEXT)) return;
  std::string paste = GetClipboardTextUtf8();
  if (paste.empty()) return;
  bool allow = true;
  if (g->OnClipboardPaste) g->OnClipboardPaste(this, allow);
  if (!allow) return;
  if (g->OnClipboardBeforePasteCell) g->OnClipboardBeforePasteCell(this, g->Col(), g->Row(), paste, allow);
  if (!allow) return;
  std::u16string wp = Utf8ToUtf16(paste);
  if (LengthLimit > 0 && int(wp.size()) > LengthLimit) return;
  if (wp.size() >= 2 && wp.compare(wp.size() - 2, 2, u"\r\n") == 0 && wp.find(u"\r\n") == wp.size() - 2)
    wp.resize(wp.size() - 2);
  std::u16string text = WideText();
  int ss = std::min<int>(SelStart(), int(text.size()));
  int sl = std::min<int>(SelLength(), int(text.size()) - ss);
  bool hadSel = sl > 0;
  std::u16string next = text.substr(0, ss) + wp + text.substr(ss + sl);
  if (LengthLimit > 0 && int(next.size()) > LengthLimit) return;
  std::string nt = Utf16ToUtf8(next);
  bool ok = true;
  switch (g->ActiveEditorType()) {
    case edNumeric: ok = IsType(nt) == atNumeric; break;
    case edPositiveNumeric: ok = IsType(nt) == atNumeric && nt.find('-') == std::string::npos; break;
    case edFloat: ok = IsType(nt) == atNumeric || IsType(nt) == atFloat; break;
    case edMixedCase: nt = ShiftCase(nt); break;
    case edLowerCase: nt = AnsiLowerCase(nt); break;
    case edUpperCase: case edCapital: nt = AnsiUpperCase(nt); break;
    case edValidChars:
      for (char16_t c : Utf8ToUtf16(nt)) {
        bool in = !g->ValidChars.empty() ? g->ValidChars.find(OneChar(c)) != std::string::npos
                                         : (c < 256 && g->AllowedCharSet.size() == 256 && g->AllowedCharSet[c]);
        if (!in) ok = false;
      }
      break;
    default: break;
  }
  if (ok) SetText(nt);
  g->SetEditCell(Text());
  if (ok) {
    if (hadSel) {
      SetSelStart(ss);
      SetSelLength(int(wp.size()));
    } else {
      SetSelStart(ss + int(wp.size()));
      SetSelLength(0);
    }
  }
  if (g->OnClipboardAfterPasteCell) g->OnClipboardAfterPasteCell(this, g->Col(), g->Row(), Text());
}

void TDizInplaceEdit::WMSetFocus(TMessage& Message) {
  TDavEvadurAvuz* g = FOwnerGrid;
  TInplaceEdit::WndProc(Message);
  g->SetEditChangeSuppressed(false);
  if (!HandleAllocated()) return;
  if (!g->Navigation()->EditSelectAll) {
    SetSelStart(static_cast<int>(WideText().size()));
    SetSelLength(0);
  }
  if (g->CaretOnClick) {
    POINT pt;
    GetCursorPos(&pt);
    TPoint p = ScreenToClient(TPoint{pt.x, pt.y});
    if (p.X >= 0 && p.X <= Width() && p.Y >= 0 && p.Y <= Height()) {
      LRESULT r = SendMessage(Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(p.X, p.Y));
      if (r != -1) {
        SetSelStart(LOWORD(r));
        SetSelLength(0);
      }
      g->CaretOnClick = false;
    }
  }
}

void TDizInplaceEdit::WMKillFocus(TMessage& Message) {
  TDavEvadurAvuz* g = FOwnerGrid;
  g->SetPendingEditChar(0);
  if (g->LookupHistory && g->LookupItems() && g->LookupItems()->IndexOf(Text()) < 0 && !Text().empty())
    g->LookupItems()->Add(Text());
  g->SetCellSelectMode(false);
  TInplaceEdit::WndProc(Message);
  if (AltBackspaceDown) return;
  HWND to = reinterpret_cast<HWND>(Message.WParam);
  bool toGrid = g->HandleAllocated() && to == g->Handle();
  int col = EditCol, row = EditRow;
  if (!toGrid && g->EditActive()) {
    auto finish = [&] {
      g->HideInplaceEdit();
      g->SetValidatePending(false);
      g->FEditActive = false;
      if (col >= 0 && row >= 0 && col < g->ColCount() && row < g->RowCount()) g->SelectCell(col, row);
    };
    try {
      g->ValidateCell(Text());
      g->SetEditChangeSuppressed(true);
      SetText(g->GetCurrentCell());
      g->SetEditChangeSuppressed(false);
    } catch (...) {
      g->SetEditChangeSuppressed(false);
      finish();
      throw;
    }
    finish();
  }
  g->EditProgress(Text(), TPoint{-1, -1}, -1);
  g->TextEditorClosed(col, row);
}
