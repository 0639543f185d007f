// The "EDIT" window class: the editor behind the framework's edits and memos.
#include "platform/win/StdEdit.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int kMaxLimit = 0x7FFFFFFE;

struct TLine {
  int Start = 0;  // first character
  int End = 0;    // end of the shown characters
  int Next = 0;   // start of the next line (after the break)
};

struct TEditState {
  HWND Wnd = nullptr;
  std::u16string Text;
  int Anchor = 0, Caret = 0;
  int Limit = kMaxLimit;
  HFONT Font = nullptr;
  char16_t PasswordChar = 0;
  bool Modified = false;
  // One-level undo: the state before the last change (undo swaps it with the current).
  bool CanUndo = false;
  std::u16string UndoText;
  int UndoAnchor = 0, UndoCaret = 0;
  bool Typing = false;  // the last change was typing: the next keystroke joins it
  RECT Rect{};          // formatting rectangle
  bool CustomRect = false;
  int LeftMargin = 1, RightMargin = 1;
  int ScrollX = 0;   // pixels scrolled horizontally
  int TopLine = 0;   // first visible line (multi-line)
  int GoalX = -1;    // x the caret keeps while moving up and down
  bool Selecting = false;
  bool BalloonShown = false;
  TEditBalloon Balloon;  // Balloon.Window: the balloon's window while shown
  std::u16string Cue;
  std::vector<TLine> Lines;
  bool LinesValid = false;
};

std::map<HWND, std::unique_ptr<TEditState>>& States() {
  static std::map<HWND, std::unique_ptr<TEditState>> states;
  return states;
}

TEditState* State(HWND h) {
  auto it = States().find(h);
  return it == States().end() ? nullptr : it->second.get();
}

DWORD Style(HWND h) { return DWORD(GetWindowLong(h, GWL_STYLE)); }
bool Multi(HWND h) { return Style(h) & ES_MULTILINE; }
bool ReadOnlyEdit(HWND h) { return Style(h) & ES_READONLY; }
bool Wraps(HWND h) {
  DWORD s = Style(h);
  return (s & ES_MULTILINE) && !(s & ES_AUTOHSCROLL) && !(s & WS_HSCROLL);
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; }
bool IsWordChar(char16_t c) { return !IsSpace(c) && !(c < 0x80 && std::ispunct(int(c))); }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void Notify(HWND h, WORD code) {
  HWND parent = GetParent(h);
  if (parent && (Style(h) & WS_CHILD)) SendMessage(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(h)), code), LPARAM(h));
}

// A DC with the edit's font selected.
class TFontDC {
public:
  explicit TFontDC(TEditState* e) : FWnd(e->Wnd) {
    FDC = GetDC(FWnd);
    FOld = SelectObject(FDC, e->Font ? HGDIOBJ(e->Font) : GetStockObject(DEFAULT_GUI_FONT));
  }
  ~TFontDC() {
    SelectObject(FDC, FOld);
    ReleaseDC(FWnd, FDC);
  }
  HDC DC() const { return FDC; }

private:
  HWND FWnd;
  HDC FDC;
  HGDIOBJ FOld;
};

int LineHeight(TEditState* e) {
  TFontDC dc(e);
  TEXTMETRIC tm{};
  GetTextMetrics(dc.DC(), &tm);
  return std::max<int>(1, tm.tmHeight);
}

// What is shown for characters [from, to): the text, or password characters.
std::u16string Shown(TEditState* e, int from, int to) {
  if (to <= from) return {};
  if (e->PasswordChar) return std::u16string(size_t(to - from), e->PasswordChar);
  return e->Text.substr(size_t(from), size_t(to - from));
}

// x offsets of every character boundary of s (size + 1 entries, from 0).
std::vector<int> Offsets(HDC dc, const std::u16string& s) {
  std::vector<int> x(s.size() + 1, 0);
  if (s.empty()) return x;
  std::string u8 = Utf16ToUtf8(s);
  size_t points = Utf8Length(u8);
  std::vector<int> dx(points, 0);
  int fit = 0;
  SIZE size{};
  GetTextExtentExPoint(dc, u8.c_str(), int(u8.size()), INT_MAX / 4, &fit, dx.data(), &size);
  size_t k = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsLow(s[i]) && i > 0) {
      x[i] = x[i - 1];
      x[i + 1] = k > 0 ? dx[k - 1] : 0;
      continue;
    }
    x[i + 1] = k < dx.size() ? dx[k] : (k > 0 ? dx[k - 1] : 0);
    ++k;
  }
  for (size_t i = 1; i < x.size(); ++i) x[i] = std::max(x[i], x[i - 1]);
  return x;
}

int TextWidth(TEditState* e, HDC dc, int from, int to) {
  std::u16string s = Shown(e, from, to);
  if (s.empty()) return 0;
  SIZE size{};
  GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &size);
  return size.cx;
}

void DefaultRect(TEditState* e) {
  RECT c;
  GetClientRect(e->Wnd, &c);
  e->Rect = RECT{c.left + e->LeftMargin, c.top + 1, std::max(c.left + e->LeftMargin, c.right - e->RightMargin), c.bottom};
  if (!Multi(e->Wnd)) {
    // A single-line edit too low for its font shows the text from the top of the client.
    if (c.bottom - c.top <= LineHeight(e) + 1) e->Rect.top = c.top;
  }
}

void Layout(TEditState* e) {
  if (e->LinesValid) return;
  e->Lines.clear();
  const std::u16string& t = e->Text;
  int n = int(t.size());
  if (!Multi(e->Wnd)) {
    e->Lines.push_back(TLine{0, n, n});
    e->LinesValid = true;
    return;
  }
  bool wrap = Wraps(e->Wnd);
  int width = std::max<int>(1, e->Rect.right - e->Rect.left);
  TFontDC dc(e);
  int pos = 0;
  for (;;) {
    int end = pos;
    while (end < n && t[size_t(end)] != u'\r' && t[size_t(end)] != u'\n') ++end;
    int next = end;
    if (next < n && t[size_t(next)] == u'\r') ++next;
    if (next < n && t[size_t(next)] == u'\n') ++next;
    if (!wrap || end == pos) {
      e->Lines.push_back(TLine{pos, end, next});
    } else {
      std::vector<int> x = Offsets(dc.DC(), Shown(e, pos, end));
      int s = pos;
      while (s < end) {
        int base = x[size_t(s - pos)];
        int fitEnd = s;
        while (fitEnd < end && x[size_t(fitEnd + 1 - pos)] - base <= width) ++fitEnd;
        if (fitEnd >= end) {
          e->Lines.push_back(TLine{s, end, next});
          s = end;
          break;
        }
        if (fitEnd == s) fitEnd = s + 1;  // at least one character per line
        // Break after the last space within the fitting part.
        int brk = fitEnd;
        while (brk > s && !IsSpace(e->Text[size_t(brk - 1)])) --brk;
        if (brk == s) brk = fitEnd;
        int shownEnd = brk;
        while (shownEnd > s && e->Text[size_t(shownEnd - 1)] == u' ') --shownEnd;
        int nextStart = brk;
        while (nextStart < end && e->Text[size_t(nextStart)] == u' ') ++nextStart;
        if (nextStart >= end) {
          e->Lines.push_back(TLine{s, shownEnd, next});
          s = end;
          break;
        }
        e->Lines.push_back(TLine{s, shownEnd, nextStart});
        s = nextStart;
      }
    }
    if (next == end) break;  // no break: the last line
    pos = next;
    if (pos >= n) {
      e->Lines.push_back(TLine{n, n, n});
      break;
    }
  }
  if (e->Lines.empty()) e->Lines.push_back(TLine{0, 0, 0});
  e->LinesValid = true;
}

int LineOf(TEditState* e, int pos) {
  Layout(e);
  for (size_t i = 0; i < e->Lines.size(); ++i) {
    const TLine& l = e->Lines[i];
    if (pos < l.Next || i + 1 == e->Lines.size()) return int(i);
    if (pos == l.Next && l.Next == l.End) return int(i);
  }
  return int(e->Lines.size()) - 1;
}

int VisibleLines(TEditState* e) {
  return std::max(1, int(e->Rect.bottom - e->Rect.top) / LineHeight(e));
}

int LineX(TEditState* e, HDC dc, int line) {
  const TLine& l = e->Lines[size_t(line)];
  int x = e->Rect.left - e->ScrollX;
  DWORD s = Style(e->Wnd);
  if (s & (ES_CENTER | ES_RIGHT)) {
    int w = TextWidth(e, dc, l.Start, l.End);
    int room = e->Rect.right - e->Rect.left;
    if (w < room) x = e->Rect.left + ((s & ES_RIGHT) ? room - w : (room - w) / 2);
  }
  return x;
}

POINT PosOf(TEditState* e, int pos) {
  Layout(e);
  TFontDC dc(e);
  int line = LineOf(e, pos);
  const TLine& l = e->Lines[size_t(line)];
  int x = LineX(e, dc.DC(), line) + TextWidth(e, dc.DC(), l.Start, std::min(pos, l.End));
  int y = e->Rect.top + (line - e->TopLine) * LineHeight(e);
  return POINT{x, y};
}

int CharAt(TEditState* e, POINT p) {
  Layout(e);
  int lh = LineHeight(e);
  int line = e->TopLine + (p.y >= e->Rect.top ? (p.y - e->Rect.top) / lh : -1);
  if (!Multi(e->Wnd)) line = 0;
  line = std::clamp(line, 0, int(e->Lines.size()) - 1);
  const TLine& l = e->Lines[size_t(line)];
  TFontDC dc(e);
  std::vector<int> x = Offsets(dc.DC(), Shown(e, l.Start, l.End));
  int rel = p.x - LineX(e, dc.DC(), line);
  for (int i = 0; i < l.End - l.Start; ++i) {
    if (rel < (x[size_t(i)] + x[size_t(i + 1)] + 1) / 2) {
      int pos = l.Start + i;
      if (pos > 0 && IsLow(e->Text[size_t(pos)])) --pos;
      return pos;
    }
  }
  return l.End;
}

void UpdateScrollBars(TEditState* e) {
  DWORD s = Style(e->Wnd);
  if (!(s & (WS_VSCROLL | WS_HSCROLL))) return;
  Layout(e);
  if (s & WS_VSCROLL) {
    SCROLLINFO si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    int vis = VisibleLines(e);
    int count = int(e->Lines.size());
    si.nMin = 0;
    si.nMax = count > vis ? count - 1 : 0;
    si.nPage = count > vis ? UINT(vis) : 0;
    si.nPos = e->TopLine;
    SetScrollInfo(e->Wnd, SB_VERT, &si, TRUE);
  }
  if (s & WS_HSCROLL) {
    TFontDC dc(e);
    int widest = 0;
    for (const TLine& l : e->Lines) widest = std::max(widest, TextWidth(e, dc.DC(), l.Start, l.End));
    int room = e->Rect.right - e->Rect.left;
    SCROLLINFO si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = widest + 1 > room ? widest + 1 : 0;
    si.nPage = widest + 1 > room ? UINT(room) : 0;
    si.nPos = e->ScrollX;
    SetScrollInfo(e->Wnd, SB_HORZ, &si, TRUE);
  }
}

void Redraw(TEditState* e) { InvalidateRect(e->Wnd, nullptr, TRUE); }

void PlaceCaret(TEditState* e) {
  if (GetFocus() != e->Wnd) return;
  POINT p = PosOf(e, e->Caret);
  SetCaretPos(p.x, p.y);
}

void ScrollToCaret(TEditState* e) {
  Layout(e);
  int line = LineOf(e, e->Caret);
  if (Multi(e->Wnd)) {
    int vis = VisibleLines(e);
    if (line < e->TopLine) e->TopLine = line;
    else if (line >= e->TopLine + vis) e->TopLine = line - vis + 1;
    e->TopLine = std::clamp(e->TopLine, 0, std::max(0, int(e->Lines.size()) - 1));
  }
  if (!Wraps(e->Wnd)) {
    TFontDC dc(e);
    const TLine& l = e->Lines[size_t(line)];
    int caretX = TextWidth(e, dc.DC(), l.Start, std::min(e->Caret, l.End));
    int room = std::max(1, int(e->Rect.right - e->Rect.left));
    int total = TextWidth(e, dc.DC(), l.Start, l.End);
    if (caretX < e->ScrollX) e->ScrollX = std::max(0, caretX - room / 4);
    else if (caretX >= e->ScrollX + room) e->ScrollX = caretX - room + 1 + room / 4;
    // Nothing scrolled out when the line fits again.
    if (!Multi(e->Wnd) && total < room) e->ScrollX = 0;
    e->ScrollX = std::max(0, std::min(e->ScrollX, std::max(0, total - room + 1 + room / 4)));
    if (caretX < e->ScrollX) e->ScrollX = caretX;
  } else {
    e->ScrollX = 0;
  }
  UpdateScrollBars(e);
  PlaceCaret(e);
}

void Changed(TEditState* e) {
  e->LinesValid = false;
  ScrollToCaret(e);
  Redraw(e);
}

void SetSel(TEditState* e, int anchor, int caret) {
  int n = int(e->Text.size());
  anchor = std::clamp(anchor, 0, n);
  caret = std::clamp(caret, 0, n);
  if (anchor < n && anchor > 0 && IsLow(e->Text[size_t(anchor)])) --anchor;
  if (caret < n && caret > 0 && IsLow(e->Text[size_t(caret)])) --caret;
  if (anchor == e->Anchor && caret == e->Caret) return;
  e->Anchor = anchor;
  e->Caret = caret;
  e->Typing = false;
  ScrollToCaret(e);
  Redraw(e);
}

int SelMin(TEditState* e) { return std::min(e->Anchor, e->Caret); }
int SelMax(TEditState* e) { return std::max(e->Anchor, e->Caret); }

void SaveUndo(TEditState* e) {
  e->CanUndo = true;
  e->UndoText = e->Text;
  e->UndoAnchor = e->Anchor;
  e->UndoCaret = e->Caret;
}

// Replaces [from, to) by s; false when nothing could change (limit reached).
bool Replace(TEditState* e, int from, int to, std::u16string s, bool undoable, bool typing) {
  int n = int(e->Text.size());
  from = std::clamp(from, 0, n);
  to = std::clamp(to, from, n);
  int room = e->Limit - (n - (to - from));
  if (room < int(s.size())) {
    if (room < 0) room = 0;
    if (room > 0 && IsLow(s[size_t(room)])) --room;
    s.resize(size_t(room));
    Notify(e->Wnd, EN_MAXTEXT);
    if (s.empty() && from == to) return false;
  }
  if (s.empty() && from == to) return false;
  if (undoable && !(typing && e->Typing)) SaveUndo(e);
  if (!undoable) e->CanUndo = false;
  e->Typing = typing;
  e->Text.replace(size_t(from), size_t(to - from), s);
  e->Anchor = e->Caret = from + int(s.size());
  e->Modified = true;
  e->GoalX = -1;
  Changed(e);
  Notify(e->Wnd, EN_UPDATE);
  Notify(e->Wnd, EN_CHANGE);
  return true;
}

std::u16string ConvertCase(HWND h, const std::u16string& s) {
  DWORD st = Style(h);
  if (!(st & (ES_UPPERCASE | ES_LOWERCASE))) return s;
  std::string u8 = Utf16ToUtf8(s);
  return Utf8ToUtf16((st & ES_UPPERCASE) ? AnsiUpperCase(u8) : AnsiLowerCase(u8));
}

// Text for insertion: line breaks as CR LF in a multi-line edit, the first line only in a
// single-line one.
std::u16string Normalize(HWND h, const std::u16string& s) {
  if (!Multi(h)) {
    size_t cut = s.find_first_of(u"\r\n");
    return cut == std::u16string::npos ? s : s.substr(0, cut);
  }
  std::u16string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r') {
      out += u"\r\n";
      if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
    } else if (s[i] == u'\n') {
      out += u"\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}

bool InsertText(TEditState* e, const std::u16string& raw, bool undoable, bool typing) {
  std::u16string s = ConvertCase(e->Wnd, Normalize(e->Wnd, raw));
  return Replace(e, SelMin(e), SelMax(e), s, undoable, typing);
}

int PrevPos(TEditState* e, int pos) {
  if (pos <= 0) return 0;
  --pos;
  if (pos > 0 && IsLow(e->Text[size_t(pos)])) --pos;
  if (pos > 0 && e->Text[size_t(pos)] == u'\n' && e->Text[size_t(pos - 1)] == u'\r') --pos;
  return pos;
}

int NextPos(TEditState* e, int pos) {
  int n = int(e->Text.size());
  if (pos >= n) return n;
  if (e->Text[size_t(pos)] == u'\r' && pos + 1 < n && e->Text[size_t(pos + 1)] == u'\n') return pos + 2;
  ++pos;
  if (pos < n && IsLow(e->Text[size_t(pos)])) ++pos;
  return pos;
}

// Ctrl+Left: the start of the word before pos; Ctrl+Right: the start of the next word.
int PrevWord(TEditState* e, int pos) {
  const std::u16string& t = e->Text;
  while (pos > 0 && IsSpace(t[size_t(pos - 1)])) --pos;
  if (pos > 0 && !IsWordChar(t[size_t(pos - 1)])) return pos - 1;
  while (pos > 0 && IsWordChar(t[size_t(pos - 1)])) --pos;
  return pos;
}

int NextWord(TEditState* e, int pos) {
  const std::u16string& t = e->Text;
  int n = int(t.size());
  if (pos < n && IsWordChar(t[size_t(pos)])) {
    while (pos < n && IsWordChar(t[size_t(pos)])) ++pos;
  } else if (pos < n && !IsSpace(t[size_t(pos)])) {
    ++pos;
  }
  while (pos < n && IsSpace(t[size_t(pos)])) ++pos;
  return pos;
}

void Copy(TEditState* e) {
  if (e->PasswordChar || SelMin(e) == SelMax(e)) return;
  SetClipboardTextUtf8(Utf16ToUtf8(e->Text.substr(size_t(SelMin(e)), size_t(SelMax(e) - SelMin(e)))));
}

bool ClearSel(TEditState* e) {
  if (ReadOnlyEdit(e->Wnd) || SelMin(e) == SelMax(e)) return false;
  return Replace(e, SelMin(e), SelMax(e), {}, true, false);
}

void Paste(TEditState* e) {
  if (ReadOnlyEdit(e->Wnd)) return;
  std::u16string s;
  if (OpenClipboard(e->Wnd)) {
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
      if (auto* p = static_cast<const char16_t*>(GlobalLock(data))) {
        size_t max = GlobalSize(data) / sizeof(char16_t);
        size_t len = 0;
        while (len < max && p[len]) ++len;
        s.assign(p, len);
        GlobalUnlock(data);
      }
    } else if (HANDLE text = GetClipboardData(CF_TEXT)) {
      if (auto* p = static_cast<const char*>(GlobalLock(text))) {
        size_t max = GlobalSize(text);
        size_t len = 0;
        while (len < max && p[len]) ++len;
        s = Utf8ToUtf16(std::string_view(p, len));
        GlobalUnlock(text);
      }
    }
    CloseClipboard();
  }
  if (Style(e->Wnd) & ES_NUMBER) {
    for (char16_t c : s)
      if (c < u'0' || c > u'9') {
        MessageBeep(0);
        return;
      }
  }
  if (!s.empty()) InsertText(e, s, true, false);
}

bool Undo(TEditState* e) {
  if (!e->CanUndo || ReadOnlyEdit(e->Wnd)) return false;
  std::u16string text = e->Text;
  int anchor = e->Anchor, caret = e->Caret;
  e->Text = e->UndoText;
  e->Anchor = std::min(e->UndoAnchor, int(e->Text.size()));
  e->Caret = std::min(e->UndoCaret, int(e->Text.size()));
  e->UndoText = std::move(text);
  e->UndoAnchor = anchor;
  e->UndoCaret = caret;
  e->Typing = false;
  e->Modified = true;
  Changed(e);
  Notify(e->Wnd, EN_UPDATE);
  Notify(e->Wnd, EN_CHANGE);
  return true;
}

void HideBalloon(TEditState* e) {
  if (!e->BalloonShown) return;
  e->BalloonShown = false;
  HWND tip = e->Balloon.Window;
  e->Balloon.Window = nullptr;
  if (tip) CloseBalloonTip(tip);
}

// The balloon went by itself (timeout, a click) or with its window.
void BalloonClosed(HWND edit, HWND tip) {
  TEditState* e = State(edit);
  if (!e || e->Balloon.Window != tip) return;
  e->Balloon.Window = nullptr;
  e->BalloonShown = false;
}

// Shows the recorded balloon with its stem at the bottom of the caret's line (at its top
// when the balloon opens above).
void ShowBalloon(TEditState* e) {
  RECT client;
  GetClientRect(e->Wnd, &client);
  POINT p = PosOf(e, e->Caret);
  const int line = LineHeight(e);
  p.x = std::clamp<LONG>(p.x, client.left, std::max(client.left, client.right - 1));
  p.y = std::clamp<LONG>(p.y + line, client.top, std::max(client.top, client.bottom - 1));
  ClientToScreen(e->Wnd, &p);
  TBalloonTipParams params;
  params.Tool = e->Wnd;
  params.Stem = p;
  params.LineHeight = line;
  params.Title = e->Balloon.Title;
  params.Text = e->Balloon.Text;
  params.Icon = e->Balloon.Icon;
  params.OnClosed = &BalloonClosed;
  e->Balloon.Window = ShowBalloonTip(params);
}

// Moves the caret by a navigation key; Shift extends the selection.
bool NavigateKey(TEditState* e, int vk) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool multi = Multi(e->Wnd);
  Layout(e);
  int caret = e->Caret;
  int goal = -1;
  switch (vk) {
    case VK_LEFT:
      if (!shift && e->Anchor != e->Caret && !ctrl) caret = SelMin(e);
      else caret = ctrl ? PrevWord(e, caret) : PrevPos(e, caret);
      break;
    case VK_RIGHT:
      if (!shift && e->Anchor != e->Caret && !ctrl) caret = SelMax(e);
      else caret = ctrl ? NextWord(e, caret) : NextPos(e, caret);
      break;
    case VK_HOME:
      caret = (ctrl || !multi) ? 0 : e->Lines[size_t(LineOf(e, caret))].Start;
      break;
    case VK_END:
      caret = (ctrl || !multi) ? int(e->Text.size()) : e->Lines[size_t(LineOf(e, caret))].End;
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multi) {
        // Up and Down move like Left and Right in a single-line edit.
        if (vk == VK_UP) caret = PrevPos(e, caret);
        else if (vk == VK_DOWN) caret = NextPos(e, caret);
        else return false;
        break;
      }
      int line = LineOf(e, caret);
      int step = (vk == VK_UP || vk == VK_DOWN) ? 1 : std::max(1, VisibleLines(e) - 1);
      int target = (vk == VK_UP || vk == VK_PRIOR) ? line - step : line + step;
      target = std::clamp(target, 0, int(e->Lines.size()) - 1);
      POINT p = PosOf(e, caret);
      goal = e->GoalX >= 0 ? e->GoalX : p.x;
      if (vk == VK_PRIOR || vk == VK_NEXT) {
        int delta = target - line;
        e->TopLine = std::clamp(e->TopLine + delta, 0, std::max(0, int(e->Lines.size()) - VisibleLines(e)));
      }
      int y = e->Rect.top + (target - e->TopLine) * LineHeight(e);
      caret = CharAt(e, POINT{goal, y});
      break;
    }
    default: return false;
  }
  int anchor = shift ? e->Anchor : caret;
  SetSel(e, anchor, caret);
  e->GoalX = goal;
  ScrollToCaret(e);
  Redraw(e);
  return true;
}

void KeyDown(TEditState* e, int vk) {
  HideBalloon(e);
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (vk) {
    case VK_DELETE:
      if (ReadOnlyEdit(e->Wnd)) return;
      if (shift) {
        Copy(e);
        ClearSel(e);
      } else if (SelMin(e) != SelMax(e)) {
        ClearSel(e);
      } else if (e->Caret < int(e->Text.size())) {
        int to = ctrl ? NextWord(e, e->Caret) : NextPos(e, e->Caret);
        Replace(e, e->Caret, to, {}, true, false);
      }
      return;
    case VK_INSERT:
      if (ctrl) Copy(e);
      else if (shift) Paste(e);
      return;
    default: NavigateKey(e, vk); return;
  }
}

void Char(TEditState* e, char32_t ch) {
  HideBalloon(e);
  switch (ch) {
    case 1: SetSel(e, 0, int(e->Text.size())); return;  // Ctrl+A
    // The clipboard keys become the clipboard messages, which a subclassed edit may
    // handle or refuse.
    case 3: SendMessage(e->Wnd, WM_COPY, 0, 0); return;   // Ctrl+C
    case 22: SendMessage(e->Wnd, WM_PASTE, 0, 0); return;  // Ctrl+V
    case 24: SendMessage(e->Wnd, WM_CUT, 0, 0); return;    // Ctrl+X
    case 26: Undo(e); return;  // Ctrl+Z
    case 8:                    // Backspace
      if (ReadOnlyEdit(e->Wnd)) {
        MessageBeep(0);
        return;
      }
      if (SelMin(e) != SelMax(e)) ClearSel(e);
      else if (e->Caret > 0) Replace(e, PrevPos(e, e->Caret), e->Caret, {}, true, false);
      return;
    default: break;
  }
  bool multi = Multi(e->Wnd);
  if (ch == 13 || ch == 10) {
    if (!multi) return;
  } else if (ch == 9) {
    if (!multi) return;
  } else if (ch < 32 || ch == 127) {
    return;
  }
  if (ReadOnlyEdit(e->Wnd)) {
    MessageBeep(0);
    return;
  }
  if ((Style(e->Wnd) & ES_NUMBER) && !(ch >= U'0' && ch <= U'9')) {
    MessageBeep(0);
    return;
  }
  std::u16string s;
  if (ch == 13 || ch == 10) s = u"\r\n";
  else s = Utf8ToUtf16(CodePointToUtf8(ch));
  if (!InsertText(e, s, true, ch != 13 && ch != 10)) MessageBeep(0);
}

void Paint(TEditState* e, HDC dc) {
  HWND h = e->Wnd;
  DWORD style = Style(h);
  bool enabled = !(style & WS_DISABLED);
  UINT ctl = (!enabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  int saved = SaveDC(dc);
  SelectObject(dc, e->Font ? HGDIOBJ(e->Font) : GetStockObject(DEFAULT_GUI_FONT));
  HWND parent = GetParent(h);
  HBRUSH brush = nullptr;
  if (parent && (style & WS_CHILD)) brush = reinterpret_cast<HBRUSH>(SendMessage(parent, ctl, WPARAM(dc), LPARAM(h)));
  if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProc(h, ctl, WPARAM(dc), LPARAM(h)));
  COLORREF text = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  RECT client;
  GetClientRect(h, &client);
  FillRect(dc, &client, brush);
  Layout(e);
  IntersectClipRect(dc, e->Rect.left, e->Rect.top, e->Rect.right, e->Rect.bottom);
  SetBkMode(dc, TRANSPARENT);
  int lh = LineHeight(e);
  bool focused = GetFocus() == h;
  bool showSel = (focused || (style & ES_NOHIDESEL)) && SelMin(e) != SelMax(e);
  int selFrom = SelMin(e), selTo = SelMax(e);
  int vis = Multi(h) ? VisibleLines(e) + 1 : 1;
  if (e->Text.empty() && !focused && !e->Cue.empty()) {
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    TextOutW(dc, e->Rect.left, e->Rect.top, e->Cue.c_str(), int(e->Cue.size()));
  }
  for (int i = e->TopLine; i < int(e->Lines.size()) && i < e->TopLine + vis; ++i) {
    const TLine& l = e->Lines[size_t(i)];
    int y = e->Rect.top + (i - e->TopLine) * lh;
    int x0 = LineX(e, dc, i);
    std::u16string s = Shown(e, l.Start, l.End);
    SetTextColor(dc, text);
    if (!s.empty()) TextOutW(dc, x0, y, s.c_str(), int(s.size()));
    if (showSel) {
      int a = std::max(selFrom, l.Start), b = std::min(selTo, l.End);
      bool lineBreakSelected = selTo > l.End && selFrom <= l.End && l.Next > l.End;
      if (a < b || lineBreakSelected) {
        std::vector<int> x = Offsets(dc, s);
        int xa = x0 + x[size_t(std::max(0, a - l.Start))];
        int xb = x0 + x[size_t(std::max(0, std::max(a, b) - l.Start))];
        if (lineBreakSelected) xb += 4;
        RECT r{xa, y, xb, y + lh};
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        if (a < b) {
          SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
          std::u16string part = s.substr(size_t(a - l.Start), size_t(b - a));
          TextOutW(dc, xa, y, part.c_str(), int(part.size()));
        }
      }
    }
  }
  TCaretInfo caret = GetCaretInfo();
  if (caret.Window == h && caret.Visible) {
    RECT r = caret.Rect;
    HBRUSH b = CreateSolidBrush(text);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  RestoreDC(dc, saved);
}

void ScrollLines(TEditState* e, int delta) {
  Layout(e);
  int top = std::clamp(e->TopLine + delta, 0, std::max(0, int(e->Lines.size()) - VisibleLines(e)));
  if (top == e->TopLine) return;
  e->TopLine = top;
  UpdateScrollBars(e);
  PlaceCaret(e);
  Redraw(e);
  Notify(e->Wnd, EN_VSCROLL);
}

void ScrollMessage(TEditState* e, int bar, int code, int thumb) {
  if (bar == SB_VERT) {
    int vis = VisibleLines(e);
    switch (code) {
      case SB_LINEUP: ScrollLines(e, -1); break;
      case SB_LINEDOWN: ScrollLines(e, 1); break;
      case SB_PAGEUP: ScrollLines(e, -vis); break;
      case SB_PAGEDOWN: ScrollLines(e, vis); break;
      case SB_TOP: ScrollLines(e, -e->TopLine); break;
      case SB_BOTTOM: ScrollLines(e, int(e->Lines.size())); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: ScrollLines(e, thumb - e->TopLine); break;
      default: break;
    }
    return;
  }
  int room = e->Rect.right - e->Rect.left;
  int x = e->ScrollX;
  switch (code) {
    case SB_LINELEFT: x -= 8; break;
    case SB_LINERIGHT: x += 8; break;
    case SB_PAGELEFT: x -= room; break;
    case SB_PAGERIGHT: x += room; break;
    case SB_LEFT: x = 0; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: x = thumb; break;
    default: return;
  }
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(e->Wnd, SB_HORZ, &si);
  x = std::clamp(x, 0, std::max(0, si.nMax - int(si.nPage) + 1));
  if (x == e->ScrollX) return;
  e->ScrollX = x;
  UpdateScrollBars(e);
  PlaceCaret(e);
  Redraw(e);
  Notify(e->Wnd, EN_HSCROLL);
}

void SetText(TEditState* e, const std::u16string& s) {
  // The limit applies to typing; text set by the program is kept whole, as the system does.
  e->Text = ConvertCase(e->Wnd, Normalize(e->Wnd, s));
  e->Anchor = e->Caret = 0;
  e->CanUndo = false;
  e->Typing = false;
  e->Modified = false;
  e->ScrollX = 0;
  e->TopLine = 0;
  e->GoalX = -1;
  Changed(e);
}

void SelectWordAt(TEditState* e, int pos) {
  const std::u16string& t = e->Text;
  int n = int(t.size());
  int a = pos, b = pos;
  if (pos < n && IsWordChar(t[size_t(pos)])) {
    while (a > 0 && IsWordChar(t[size_t(a - 1)])) --a;
    while (b < n && IsWordChar(t[size_t(b)])) ++b;
    while (b < n && t[size_t(b)] == u' ') ++b;
  } else if (pos < n) {
    b = pos + 1;
  }
  SetSel(e, a, b);
}

}  // namespace

LRESULT EditWindowProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto state = std::make_unique<TEditState>();
    state->Wnd = h;
    auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) state->Text = Utf8ToUtf16(cs->lpszName);
    if (cs && (cs->style & ES_PASSWORD)) state->PasswordChar = u'*';
    States()[h] = std::move(state);
    DefWindowProc(h, msg, wp, lp);
    return TRUE;
  }
  TEditState* e = State(h);
  if (!e) return DefWindowProc(h, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      e->Text = ConvertCase(h, Normalize(h, e->Text));
      DefaultRect(e);
      e->LinesValid = false;
      UpdateScrollBars(e);
      return 0;
    case WM_NCDESTROY: {
      HideBalloon(e);
      LRESULT r = DefWindowProc(h, msg, wp, lp);
      States().erase(h);
      return r;
    }
    case WM_GETDLGCODE: {
      LRESULT r = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if (Multi(h)) r |= DLGC_WANTALLKEYS;
      return r;
    }
    case WM_SETTEXT:
      SetText(e, Utf8ToUtf16(lp ? reinterpret_cast<const char*>(lp) : ""));
      Notify(h, EN_UPDATE);
      Notify(h, EN_CHANGE);
      return TRUE;
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(lp);
      int size = int(wp);
      if (!buffer || size <= 0) return 0;
      std::string s = Utf16ToUtf8(e->Text);
      int n = std::min<int>(int(s.size()), size - 1);
      std::copy(s.begin(), s.begin() + n, buffer);
      buffer[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH: return LRESULT(Utf16ToUtf8(e->Text).size());
    case WM_SETFONT:
      e->Font = reinterpret_cast<HFONT>(wp);
      if (!e->CustomRect) DefaultRect(e);
      e->LinesValid = false;
      if (GetFocus() == h) {
        DestroyCaret();
        CreateCaret(h, nullptr, 1, LineHeight(e));
        ShowCaret(h);
      }
      ScrollToCaret(e);
      if (lp) Redraw(e);
      return 0;
    case WM_GETFONT: return LRESULT(e->Font);
    case WM_SIZE:
      if (!e->CustomRect) DefaultRect(e);
      e->LinesValid = false;
      ScrollToCaret(e);
      Redraw(e);
      return 0;
    case WM_STYLECHANGED:
    case WM_ENABLE:
      e->LinesValid = false;
      Redraw(e);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      if (wp) {  // the framework paints into its own DC
        Paint(e, reinterpret_cast<HDC>(wp));
        return 0;
      }
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      if (dc) {
        Paint(e, dc);
        EndPaint(h, &ps);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      if (wp) Paint(e, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SETFOCUS:
      CreateCaret(h, nullptr, 1, LineHeight(e));
      PlaceCaret(e);
      ShowCaret(h);
      Redraw(e);
      Notify(h, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (GetCaretInfo().Window == h) DestroyCaret();
      e->Selecting = false;
      HideBalloon(e);
      Redraw(e);
      Notify(h, EN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN:
      KeyDown(e, int(wp));
      return 0;
    case WM_CHAR:
      Char(e, char32_t(wp));
      return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != h) SetFocus(h);
      if (!IsWindow(h) || !(e = State(h))) return 0;
      int pos = CharAt(e, LParamToPoint(lp));
      if (wp & MK_SHIFT) SetSel(e, e->Anchor, pos);
      else SetSel(e, pos, pos);
      e->GoalX = -1;
      e->Selecting = true;
      SetCapture(h);
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      if (GetFocus() != h) SetFocus(h);
      if (!IsWindow(h) || !(e = State(h))) return 0;
      SelectWordAt(e, CharAt(e, LParamToPoint(lp)));
      return 0;
    }
    case WM_MOUSEMOVE:
      if (e->Selecting && (wp & MK_LBUTTON)) {
        POINT p = LParamToPoint(lp);
        if (Multi(h)) {
          if (p.y < e->Rect.top) ScrollLines(e, -1);
          else if (p.y >= e->Rect.bottom) ScrollLines(e, 1);
        }
        SetSel(e, e->Anchor, CharAt(e, p));
      }
      return 0;
    case WM_LBUTTONUP:
      if (e->Selecting) {
        e->Selecting = false;
        if (GetCapture() == h) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      e->Selecting = false;
      return 0;
    case WM_MOUSEWHEEL:
      if (Multi(h) && (Style(h) & WS_VSCROLL)) {
        ScrollLines(e, -3 * int(SHORT(HIWORD(wp))) / WHEEL_DELTA);
        return 0;
      }
      return DefWindowProc(h, msg, wp, lp);
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lp == 0) ScrollMessage(e, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wp), SHORT(HIWORD(wp)));
      return 0;
    case WM_CUT:
      if (ReadOnlyEdit(h)) return 0;
      Copy(e);
      ClearSel(e);
      return 0;
    case WM_COPY: Copy(e); return 0;
    case WM_PASTE: Paste(e); return 0;
    case WM_CLEAR: ClearSel(e); return 0;
    case WM_UNDO:
    case EM_UNDO: return Undo(e) ? TRUE : FALSE;
    case EM_CANUNDO: return e->CanUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      e->CanUndo = false;
      e->Typing = false;
      return 0;
    case EM_GETSEL: {
      DWORD a = DWORD(SelMin(e)), b = DWORD(SelMax(e));
      if (wp) *reinterpret_cast<DWORD*>(wp) = a;
      if (lp) *reinterpret_cast<DWORD*>(lp) = b;
      return LRESULT(MAKELONG(WORD(std::min<DWORD>(a, 0xFFFF)), WORD(std::min<DWORD>(b, 0xFFFF))));
    }
    case EM_SETSEL: {
      int a = int(wp), b = int(lp);
      int n = int(e->Text.size());
      if (a == -1) {
        SetSel(e, e->Caret, e->Caret);
        return 0;
      }
      if (b == -1) b = n;
      if (a < 0) a = n;
      if (b < 0) b = n;
      SetSel(e, a, b);
      e->GoalX = -1;
      return 0;
    }
    case EM_REPLACESEL: {
      std::u16string s = Utf8ToUtf16(lp ? reinterpret_cast<const char*>(lp) : "");
      InsertText(e, s, wp != 0, false);
      return 0;
    }
    case EM_GETMODIFY: return e->Modified ? TRUE : FALSE;
    case EM_SETMODIFY: e->Modified = wp != 0; return 0;
    case EM_LIMITTEXT: e->Limit = (wp == 0 || wp > WPARAM(kMaxLimit)) ? kMaxLimit : int(wp); return 0;
    case EM_GETLIMITTEXT: return e->Limit;
    case EM_SETREADONLY: {
      DWORD s = Style(h);
      SetWindowLong(h, GWL_STYLE, LONG(wp ? (s | ES_READONLY) : (s & ~DWORD(ES_READONLY))));
      Redraw(e);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
      e->PasswordChar = char16_t(wp);
      DWORD s = Style(h);
      SetWindowLong(h, GWL_STYLE, LONG(wp ? (s | ES_PASSWORD) : (s & ~DWORD(ES_PASSWORD))));
      Changed(e);
      return 0;
    }
    case EM_GETPASSWORDCHAR: return e->PasswordChar;
    case EM_GETRECT:
      if (lp) *reinterpret_cast<RECT*>(lp) = e->Rect;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (lp) {
        e->Rect = *reinterpret_cast<const RECT*>(lp);
        e->CustomRect = true;
      } else {
        e->CustomRect = false;
        DefaultRect(e);
      }
      e->LinesValid = false;
      ScrollToCaret(e);
      if (msg == EM_SETRECT) Redraw(e);
      return 0;
    case EM_SETMARGINS: {
      int left = (wp & EC_USEFONTINFO) == EC_USEFONTINFO ? 2 : int(SHORT(LOWORD(lp)));
      int right = (wp & EC_USEFONTINFO) == EC_USEFONTINFO ? 2 : int(SHORT(HIWORD(lp)));
      if (wp & EC_LEFTMARGIN) e->LeftMargin = std::max(0, left);
      if (wp & EC_RIGHTMARGIN) e->RightMargin = std::max(0, right);
      if (!e->CustomRect) DefaultRect(e);
      Changed(e);
      return 0;
    }
    case EM_GETMARGINS: return LRESULT(MAKELONG(WORD(e->LeftMargin), WORD(e->RightMargin)));
    case EM_POSFROMCHAR: {
      int pos = int(wp);
      if (pos < 0 || pos >= int(e->Text.size())) return -1;
      POINT p = PosOf(e, pos);
      return LRESULT(DWORD(MAKELONG(WORD(SHORT(p.x)), WORD(SHORT(p.y)))));
    }
    case EM_CHARFROMPOS: {
      POINT p = LParamToPoint(lp);
      int pos = CharAt(e, p);
      return LRESULT(DWORD(MAKELONG(WORD(std::min(pos, 0xFFFF)), WORD(LineOf(e, pos)))));
    }
    case EM_GETLINECOUNT:
      Layout(e);
      return LRESULT(e->Lines.size());
    case EM_LINEINDEX: {
      Layout(e);
      int line = int(wp) < 0 ? LineOf(e, e->Caret) : int(wp);
      if (line >= int(e->Lines.size())) return -1;
      return e->Lines[size_t(line)].Start;
    }
    case EM_LINELENGTH: {
      Layout(e);
      if (int(wp) < 0) {
        // The unselected characters on the lines of the selection.
        const TLine& a = e->Lines[size_t(LineOf(e, SelMin(e)))];
        const TLine& b = e->Lines[size_t(LineOf(e, SelMax(e)))];
        return (SelMin(e) - a.Start) + (b.End - std::min(SelMax(e), b.End));
      }
      const TLine& l = e->Lines[size_t(LineOf(e, std::min(int(wp), int(e->Text.size()))))];
      return l.End - l.Start;
    }
    case EM_LINEFROMCHAR:
      return LineOf(e, int(wp) < 0 ? SelMin(e) : std::min(int(wp), int(e->Text.size())));
    case EM_GETLINE: {
      Layout(e);
      auto* buffer = reinterpret_cast<char*>(lp);
      if (!buffer || int(wp) < 0 || int(wp) >= int(e->Lines.size())) return 0;
      WORD size = 0;
      std::memcpy(&size, buffer, sizeof(WORD));
      const TLine& l = e->Lines[size_t(wp)];
      std::string s = Utf16ToUtf8(e->Text.substr(size_t(l.Start), size_t(l.End - l.Start)));
      int n = std::min<int>(int(s.size()), size);
      std::memcpy(buffer, s.data(), size_t(n));
      return n;
    }
    case EM_GETFIRSTVISIBLELINE: return e->TopLine;
    case EM_LINESCROLL:
      if (Multi(h)) ScrollLines(e, int(lp));
      return TRUE;
    case EM_SCROLL: {
      int before = e->TopLine;
      ScrollMessage(e, SB_VERT, int(wp), 0);
      return LRESULT(MAKELONG(WORD(e->TopLine - before), TRUE));
    }
    case EM_SCROLLCARET:
      ScrollToCaret(e);
      Redraw(e);
      return TRUE;
    case EM_FMTLINES: return wp ? TRUE : FALSE;
    case EM_SETTABSTOPS: return TRUE;
    case EM_SETCUEBANNER:
      e->Cue = lp ? std::u16string(reinterpret_cast<const char16_t*>(lp)) : std::u16string();
      Redraw(e);
      return TRUE;
    case EM_GETCUEBANNER: {
      auto* out = reinterpret_cast<char16_t*>(wp);
      int size = int(lp);
      if (!out || size <= 0) return FALSE;
      int n = std::min<int>(int(e->Cue.size()), size - 1);
      std::copy(e->Cue.begin(), e->Cue.begin() + n, out);
      out[n] = 0;
      return TRUE;
    }
    case EM_SHOWBALLOONTIP: {
      auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(lp);
      if (!tip) return FALSE;
      HideBalloon(e);  // one balloon at a time
      e->Balloon.Title = tip->pszTitle ? std::u16string(tip->pszTitle) : std::u16string();
      e->Balloon.Text = tip->pszText ? std::u16string(tip->pszText) : std::u16string();
      e->Balloon.Icon = tip->ttiIcon;
      e->BalloonShown = true;
      ShowBalloon(e);
      if (!e->Balloon.Window) e->BalloonShown = false;
      return e->BalloonShown ? TRUE : FALSE;
    }
    case EM_HIDEBALLOONTIP:
      HideBalloon(e);
      return TRUE;
    default: return DefWindowProc(h, msg, wp, lp);
  }
}

ATOM RegisterEditClass() {
  WNDCLASS existing;
  if (GetClassInfo(nullptr, WC_EDIT, &existing)) return 1;
  WNDCLASS wc;
  wc.style = CS_DBLCLKS | CS_PARENTDC;
  wc.lpfnWndProc = &EditWindowProc;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.hInstance = HInstance();
  wc.lpszClassName = WC_EDIT;
  return RegisterClass(&wc);
}

bool GetEditBalloonTip(HWND h, TEditBalloon* balloon) {
  TEditState* e = State(h);
  if (!e || !e->BalloonShown) return false;
  if (balloon) *balloon = e->Balloon;
  return true;
}
