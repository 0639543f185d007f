// The rich edit control: messages, layout and painting, typing, caret and selection, and
// the framework's attributes and lines over it.
#include "platform/vcl/RichEdit.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/WinUser.h"

namespace {

CHARFORMAT2 ToCharFormat(const TRichCharFormat& F, DWORD Mask) {
  CHARFORMAT2 c;
  c.dwMask = Mask;
  c.dwEffects = (F.Bold ? CFE_BOLD : 0) | (F.Italic ? CFE_ITALIC : 0) | (F.Underline ? CFE_UNDERLINE : 0) |
                (F.StrikeOut ? CFE_STRIKEOUT : 0);
  c.yHeight = F.Size * 20;
  c.yOffset = F.Offset;
  c.crTextColor = F.Color;
  c.bCharSet = static_cast<BYTE>(F.Charset);
  std::strncpy(c.szFaceName, F.FaceName.c_str(), sizeof c.szFaceName - 1);
  return c;
}

TRichCharFormat FromCharFormat(const CHARFORMAT2& C) {
  TRichCharFormat f;
  f.Bold = C.dwEffects & CFE_BOLD;
  f.Italic = C.dwEffects & CFE_ITALIC;
  f.Underline = C.dwEffects & CFE_UNDERLINE;
  f.StrikeOut = C.dwEffects & CFE_STRIKEOUT;
  f.Size = std::max(1, static_cast<int>(C.yHeight / 20));
  f.Offset = C.yOffset;
  f.Color = (C.dwEffects & CFE_AUTOCOLOR) ? clBlack : C.crTextColor;
  f.Charset = C.bCharSet;
  f.FaceName = std::string(C.szFaceName, strnlen(C.szFaceName, sizeof C.szFaceName));
  return f;
}

// One piece of a laid-out line: characters of one format.
struct TPiece {
  int Start, Length;
  const TRichCharFormat* Format;
  int X, Width;
};
struct TLine {
  int Start, End;  // characters [Start, End), the break excluded
  int Y, Height, Ascent, Width;
  std::vector<TPiece> Pieces;
};

void SelectFormat(TCanvas& C, const TRichCharFormat& F, int Dpi) {
  TFont* font = C.Font();
  font->SetName(F.FaceName);
  font->SetHeight(-(F.Size * Dpi + 36) / 72);
  TFontStyles st;
  if (F.Bold) st.Include(fsBold);
  if (F.Italic) st.Include(fsItalic);
  if (F.Underline) st.Include(fsUnderline);
  if (F.StrikeOut) st.Include(fsStrikeOut);
  font->SetStyle(st);
  font->SetColor(F.Color);
}

// The font metrics of each format met while laying out, and the format the canvas has.
struct TMetricsCache {
  std::vector<std::pair<const TRichCharFormat*, TEXTMETRIC>> Items;
  const TRichCharFormat* Selected = nullptr;
  void Select(TCanvas& C, const TRichCharFormat& F, int Dpi) {
    if (Selected == &F) return;
    SelectFormat(C, F, Dpi);
    Selected = &F;
  }
  const TEXTMETRIC& Get(TCanvas& C, const TRichCharFormat& F, int Dpi) {
    for (auto& i : Items)
      if (i.first == &F) return i.second;
    Select(C, F, Dpi);
    TEXTMETRIC tm{};
    C.TextHeight("gh");
    GetTextMetrics(C.GetHandle(), &tm);
    Items.push_back({&F, tm});
    return Items.back().second;
  }
};

// Lays the paragraphs of Doc[First, Last) out into lines no wider than MaxWidth (no limit
// when 0 or less).
std::vector<TLine> Layout(TCanvas& C, const TRichDocument& Doc, int First, int Last, int MaxWidth, int Dpi,
                          TMetricsCache& Cache) {
  std::vector<TLine> lines;
  const std::u16string& text = Doc.Text();
  const std::vector<TRichDocument::TRun> runs = Doc.Runs(First, Last - First);
  auto measure = [&](const TRichCharFormat& F, int Start, int Length) {
    Cache.Select(C, F, Dpi);
    return C.TextWidth(Utf16ToUtf8(text.substr(static_cast<size_t>(Start), static_cast<size_t>(Length))));
  };
  TLine line{First, First, 0, 0, 0, 0, {}};
  int x = 0;
  int maxAscent = 0, maxDescent = 0;
  auto account = [&](const TRichCharFormat& F) {
    const TEXTMETRIC& tm = Cache.Get(C, F, Dpi);
    const int off = F.Offset * Dpi / 1440;
    maxAscent = std::max<int>(maxAscent, tm.tmAscent + std::max(0, off));
    maxDescent = std::max<int>(maxDescent, tm.tmDescent + std::max(0, -off));
  };
  int y = 0;
  auto finish = [&](int End, const TRichCharFormat& F) {
    if (maxAscent + maxDescent == 0) account(F);
    line.End = End;
    line.Y = y;
    line.Ascent = maxAscent;
    line.Height = maxAscent + maxDescent;
    line.Width = x;
    y += line.Height;
    lines.push_back(std::move(line));
    line = TLine{End, End, 0, 0, 0, 0, {}};
    x = 0;
    maxAscent = maxDescent = 0;
  };
  // Words (a stretch of non-blanks and the blanks after it), split where the format
  // changes; a word that does not fit goes to the next line.
  size_t r = 0;
  int i = First;
  const TRichCharFormat* last = runs.empty() ? &Doc.DefaultFormat : runs[0].Format;
  while (i < Last) {
    const char16_t c = text[static_cast<size_t>(i)];
    while (r < runs.size() && runs[r].Start + runs[r].Length <= i) ++r;
    const TRichCharFormat* fmt = r < runs.size() ? runs[r].Format : last;
    last = fmt;
    if (c == u'\r' || c == u'\v') {
      if (line.Pieces.empty()) account(*fmt);
      finish(i, *fmt);
      line.Start = line.End = i + 1;
      ++i;
      continue;
    }
    int j = i;
    while (j < Last && text[static_cast<size_t>(j)] != u' ' && text[static_cast<size_t>(j)] != u'\r' &&
           text[static_cast<size_t>(j)] != u'\v')
      ++j;
    while (j < Last && text[static_cast<size_t>(j)] == u' ') ++j;
    if (j == i) j = i + 1;
    // The word's pieces.
    std::vector<TPiece> word;
    int w = 0;
    for (int k = i; k < j;) {
      while (r < runs.size() && runs[r].Start + runs[r].Length <= k) ++r;
      const TRichCharFormat* f = r < runs.size() ? runs[r].Format : last;
      const int end = r < runs.size() ? std::min(j, runs[r].Start + runs[r].Length) : j;
      const int pw = measure(*f, k, end - k);
      word.push_back({k, end - k, f, 0, pw});
      w += pw;
      k = end;
    }
    if (MaxWidth > 0 && !line.Pieces.empty() && x + w > MaxWidth) finish(i, *fmt), line.Start = i;
    for (TPiece& p : word) {
      p.X = x;
      x += p.Width;
      account(*p.Format);
      line.Pieces.push_back(p);
    }
    i = j;
  }
  finish(Last, *last);
  return lines;
}

}  // namespace

// ---------------------------------------------------------------------------------------
void TCustomRichEdit::Publish(TClassBuilder<TCustomRichEdit>& P) {
  P.Bool("WordWrap", &TCustomRichEdit::WordWrap, &TCustomRichEdit::SetWordWrap, true)
      .Bool("PlainText", &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText, false)
      .Bool("ReadOnly", &TCustomRichEdit::ReadOnly, &TCustomRichEdit::SetReadOnly, false);
}
void TRichEdit::Publish(TClassBuilder<TRichEdit>& P) { (void)P; }

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TWinControl(AOwner),
      FLines(std::make_unique<TRichEditStrings>(this)),
      FSelAttributes(std::make_unique<TTextAttributes>(this, true)),
      FDefAttributes(std::make_unique<TTextAttributes>(this, false)) {
  SetBounds(0, 0, 185, 89);
  FTabStop = true;
  SetColor(clWindow);
  FParentColor = false;
  FDoc.DefaultFormat.FaceName = Font()->GetName();
  FDoc.DefaultFormat.Size = Font()->GetSize();
  FDoc.Clear();
  FInsertFormat = FDoc.DefaultFormat;
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TCustomRichEdit::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  Invalidate();
}

void TCustomRichEdit::SetSel(int Start, int End) {
  const int n = FDoc.Length();
  Start = std::clamp(Start, 0, n);
  End = End < 0 ? n : std::clamp(End, 0, n);
  FAnchor = Start;
  const int s = std::min(Start, End), e = std::max(Start, End);
  if (s == FSelStart && e - s == FSelLength) return;
  FSelStart = s;
  FSelLength = e - s;
  FInsertFormatSet = false;
  if (HandleAllocated()) Invalidate();
  SelectionChange();
}

void TCustomRichEdit::SetSelStart(int Value) { SetSel(Value, Value); }
void TCustomRichEdit::SetSelLength(int Value) { SetSel(FSelStart, FSelStart + std::max(0, Value)); }
void TCustomRichEdit::SelectAll() { SetSel(0, -1); }

std::string TCustomRichEdit::SelText() const {
  return Utf16ToUtf8(FDoc.Text().substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength)));
}

void TCustomRichEdit::SetSelText(const std::string& Value) { InsertTyped(Utf8ToUtf16(Value)); }

void TCustomRichEdit::Clear() {
  FDoc.Clear();
  FSelStart = FSelLength = FAnchor = 0;
  FInsertFormat = FDoc.DefaultFormat;
  FInsertFormatSet = false;
  ContentChanged();
}

void TCustomRichEdit::InsertTyped(const std::u16string& S) {
  const TRichCharFormat f = FInsertFormatSet ? FInsertFormat
                            : FSelLength > 0 ? FDoc.FormatAt(FSelStart)
                            : FSelStart > 0  ? FDoc.FormatAt(FSelStart - 1)
                            : FDoc.Length() > 0 ? FDoc.FormatAt(0)
                                                : FInsertFormat;
  FDoc.Delete(FSelStart, FSelLength);
  const int before = FDoc.Length();
  FDoc.Insert(FSelStart, S, f);
  FSelStart += FDoc.Length() - before;
  FSelLength = 0;
  FAnchor = FSelStart;
  FInsertFormatSet = false;
  ContentChanged();
  SelectionChange();
}

std::string TCustomRichEdit::GetRtf(bool Selection) const {
  return Selection ? FDoc.WriteRtf(FSelStart, FSelLength) : FDoc.WriteRtf();
}

void TCustomRichEdit::SetRtf(const std::string& Rtf, bool Selection) {
  if (Selection) {
    const int before = FDoc.Length();
    FDoc.ReadRtf(Rtf, FSelStart, FSelLength);
    FSelStart += FDoc.Length() - before + FSelLength;
    FSelLength = 0;
  } else {
    FDoc.ReadRtf(Rtf);
    FSelStart = FSelLength = 0;
  }
  FAnchor = FSelStart;
  ContentChanged();
}

void TCustomRichEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::ContentChanged() {
  if (HandleAllocated()) Invalidate();
  Change();
  SendRequestResize();
}

TPoint TCustomRichEdit::ContentSize() {
  HDC dc = CreateCompatibleDC(nullptr);
  int w = 0, h = 0;
  Render(dc, TRect{0, 0, FWordWrap ? ClientWidth() : 0, 1 << 20}, 0, FDoc.Length(), false, &h, &w);
  DeleteDC(dc);
  return TPoint{w, h};
}

void TCustomRichEdit::SendRequestResize() {
  const TPoint size = ContentSize();
  const int w = FWordWrap ? Width() : size.X;
  RequestSize(TRect{Left(), Top(), Left() + w, Top() + size.Y});
}

void TCustomRichEdit::RequestSize(const TRect& Rect) {
  if (OnResizeRequest) OnResizeRequest(this, Rect);
}

int TCustomRichEdit::Render(HDC DC, const TRect& R, int First, int Last, bool Draw, int* UsedHeight,
                            int* UsedWidth) {
  TCanvas canvas;
  canvas.SetHandle(DC);
  const int dpi = std::max(1, GetDeviceCaps(DC, LOGPIXELSY));
  First = std::clamp(First, 0, FDoc.Length());
  Last = Last < 0 ? FDoc.Length() : std::clamp(Last, First, FDoc.Length());
  const int maxWidth = R.Right - R.Left;
  TMetricsCache cache;
  std::vector<TLine> lines = Layout(canvas, FDoc, First, Last, maxWidth, dpi, cache);
  int end = First, used = 0, widest = 0;
  const bool focused = Draw && HandleAllocated() && Focused();
  const int selS = FSelStart, selE = FSelStart + FSelLength;
  canvas.Brush()->SetStyle(bsClear);
  for (size_t li = 0; li < lines.size(); ++li) {
    const TLine& line = lines[li];
    if (li > 0 && line.Y + line.Height > R.Bottom - R.Top) break;
    int shift = 0;
    if (maxWidth > 0) {
      const TAlignment a = FDoc.ParagraphAlignment(FDoc.ParagraphOf(line.Start));
      if (a == taRightJustify) shift = maxWidth - line.Width;
      else if (a == taCenter) shift = (maxWidth - line.Width) / 2;
    }
    if (Draw) {
      for (const TPiece& p : line.Pieces) {
        const TEXTMETRIC& tm = cache.Get(canvas, *p.Format, dpi);
        cache.Select(canvas, *p.Format, dpi);
        const int off = p.Format->Offset * dpi / 1440;
        const int x = R.Left + shift + p.X;
        const int y = R.Top + line.Y + line.Ascent - tm.tmAscent - off;
        const std::u16string t = FDoc.Text().substr(static_cast<size_t>(p.Start), static_cast<size_t>(p.Length));
        // The selected part on the highlight colour.
        const int s = std::max(selS, p.Start), e = std::min(selE, p.Start + p.Length);
        if (focused && s < e) {
          const int x1 = x + canvas.TextWidth(Utf16ToUtf8(t.substr(0, static_cast<size_t>(s - p.Start))));
          const int x2 = x + canvas.TextWidth(Utf16ToUtf8(t.substr(0, static_cast<size_t>(e - p.Start))));
          canvas.Brush()->SetStyle(bsSolid);
          canvas.Brush()->SetColor(clHighlight);
          canvas.FillRect(TRect{x1, R.Top + line.Y, x2, R.Top + line.Y + line.Height});
          canvas.Brush()->SetStyle(bsClear);
        }
        canvas.TextOut(x, y, Utf16ToUtf8(t));
      }
      // The caret.
      if (focused && FSelLength == 0 && FSelStart >= line.Start && FSelStart <= line.End) {
        int cx = R.Left + shift;
        for (const TPiece& p : line.Pieces) {
          if (FSelStart < p.Start) break;
          cache.Select(canvas, *p.Format, dpi);
          const int n = std::min(FSelStart, p.Start + p.Length) - p.Start;
          cx = R.Left + shift + p.X +
               canvas.TextWidth(Utf16ToUtf8(FDoc.Text().substr(static_cast<size_t>(p.Start), static_cast<size_t>(n))));
        }
        canvas.Pen()->SetColor(clBlack);
        canvas.MoveTo(cx, R.Top + line.Y);
        canvas.LineTo(cx, R.Top + line.Y + line.Height);
      }
    }
    used = line.Y + line.Height;
    widest = std::max(widest, line.Width);
    end = li + 1 < lines.size() ? lines[li + 1].Start : Last;
  }
  canvas.SetHandle(nullptr);
  if (UsedHeight) *UsedHeight = used;
  if (UsedWidth) *UsedWidth = widest;
  return end;
}

void TCustomRichEdit::PaintWindow(HDC DC) {
  TCanvas canvas;
  canvas.SetHandle(DC);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(ClientRect());
  canvas.SetHandle(nullptr);
  Render(DC, TRect{1, 1, FWordWrap ? ClientWidth() - 1 : 0, ClientHeight()}, 0, FDoc.Length(), true);
}

int TCustomRichEdit::CaretFromPoint(int X, int Y) {
  HDC dc = CreateCompatibleDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  const int maxWidth = FWordWrap ? ClientWidth() - 1 : 0;
  TMetricsCache cache;
  std::vector<TLine> lines = Layout(canvas, FDoc, 0, FDoc.Length(), maxWidth, 96, cache);
  int result = FDoc.Length();
  for (const TLine& line : lines) {
    if (Y >= line.Y + line.Height + 1 && &line != &lines.back()) continue;
    result = line.End;
    for (const TPiece& p : line.Pieces) {
      cache.Select(canvas, *p.Format, 96);
      for (int k = 0; k <= p.Length; ++k) {
        const int w = canvas.TextWidth(
            Utf16ToUtf8(FDoc.Text().substr(static_cast<size_t>(p.Start), static_cast<size_t>(k))));
        if (1 + p.X + w >= X) {
          result = p.Start + k;
          goto done;
        }
      }
    }
    break;
  }
done:
  canvas.SetHandle(nullptr);
  DeleteDC(dc);
  return result;
}

void TCustomRichEdit::KeyDown(WORD& Key, TShiftState Shift) { TWinControl::KeyDown(Key, Shift); }

// ---------------------------------------------------------------------------------------
LRESULT TCustomRichEdit::RichMessage(TMessage& Message, bool& Handled) {
  Handled = true;
  switch (Message.Msg) {
    case EM_EXGETSEL: {
      auto* r = reinterpret_cast<CHARRANGE*>(Message.LParam);
      if (r) *r = CHARRANGE{FSelStart, FSelStart + FSelLength};
      return 0;
    }
    case EM_EXSETSEL: {
      auto* r = reinterpret_cast<const CHARRANGE*>(Message.LParam);
      if (r) SetSel(r->cpMin, r->cpMax);
      return FSelStart + FSelLength;
    }
    case EM_GETCHARFORMAT: {
      auto* c = reinterpret_cast<CHARFORMAT2*>(Message.LParam);
      if (!c) return 0;
      uint32_t mask = CFM_ALL;
      TRichCharFormat f;
      if (Message.WParam & SCF_SELECTION) {
        f = FSelLength == 0 && FInsertFormatSet ? FInsertFormat : FDoc.GetFormat(FSelStart, FSelLength, mask);
      } else {
        f = FDoc.DefaultFormat;
      }
      *c = ToCharFormat(f, mask);
      return mask;
    }
    case EM_SETCHARFORMAT: {
      auto* c = reinterpret_cast<const CHARFORMAT2*>(Message.LParam);
      if (!c) return 0;
      const TRichCharFormat f = FromCharFormat(*c);
      if (Message.WParam & SCF_ALL) {
        FDoc.SetFormat(0, FDoc.Length(), f, c->dwMask);
        FDoc.DefaultFormat.Apply(f, c->dwMask);
      } else if (Message.WParam & SCF_SELECTION) {
        if (FSelLength == 0) {
          if (!FInsertFormatSet)
            FInsertFormat = FSelStart > 0 ? FDoc.FormatAt(FSelStart - 1) : FDoc.Length() ? FDoc.FormatAt(0) : FInsertFormat;
          FInsertFormat.Apply(f, c->dwMask);
          FInsertFormatSet = true;
          return 1;
        }
        FDoc.SetFormat(FSelStart, FSelLength, f, c->dwMask);
      } else {
        FDoc.DefaultFormat.Apply(f, c->dwMask);
        if (FDoc.Length() == 0) FInsertFormat.Apply(f, c->dwMask);
      }
      ContentChanged();
      return 1;
    }
    case EM_SETPARAFORMAT: {
      auto* p = reinterpret_cast<const PARAFORMAT2*>(Message.LParam);
      if (!p || !(p->dwMask & PFM_ALIGNMENT)) return 0;
      const TAlignment a = p->wAlignment == PFA_RIGHT ? taRightJustify : p->wAlignment == PFA_CENTER ? taCenter : taLeftJustify;
      for (int i = FDoc.ParagraphOf(FSelStart); i <= FDoc.ParagraphOf(FSelStart + FSelLength); ++i)
        FDoc.SetParagraphAlignment(i, a);
      ContentChanged();
      return 1;
    }
    case EM_GETPARAFORMAT: {
      auto* p = reinterpret_cast<PARAFORMAT2*>(Message.LParam);
      if (!p) return 0;
      const TAlignment a = FDoc.ParagraphAlignment(FDoc.ParagraphOf(FSelStart));
      p->dwMask = PFM_ALIGNMENT;
      p->wAlignment = a == taRightJustify ? PFA_RIGHT : a == taCenter ? PFA_CENTER : PFA_LEFT;
      return p->dwMask;
    }
    case EM_STREAMIN: {
      auto* es = reinterpret_cast<EDITSTREAM*>(Message.LParam);
      if (!es || !es->pfnCallback) return 0;
      std::string data;
      BYTE buf[4096];
      for (;;) {
        LONG done = 0;
        es->dwError = es->pfnCallback(es->dwCookie, buf, sizeof buf, &done);
        if (es->dwError != 0 || done <= 0) break;
        data.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(done));
      }
      const bool sel = Message.WParam & SFF_SELECTION;
      if ((Message.WParam & SF_RTF) && data.rfind("{\\rtf", 0) == 0) {
        SetRtf(data, sel);
      } else {
        if (!sel) {
          FDoc.Clear();
          FSelStart = FSelLength = 0;
        }
        InsertTyped(Utf8ToUtf16(data));
      }
      return static_cast<LRESULT>(data.size());
    }
    case EM_STREAMOUT: {
      auto* es = reinterpret_cast<EDITSTREAM*>(Message.LParam);
      if (!es || !es->pfnCallback) return 0;
      const bool sel = Message.WParam & SFF_SELECTION;
      std::string data = (Message.WParam & SF_RTF) ? GetRtf(sel) : sel ? SelText() : FDoc.PlainText();
      size_t pos = 0;
      while (pos < data.size()) {
        LONG done = 0;
        const LONG n = static_cast<LONG>(std::min<size_t>(4096, data.size() - pos));
        es->dwError = es->pfnCallback(es->dwCookie, reinterpret_cast<BYTE*>(data.data() + pos), n, &done);
        if (es->dwError != 0 || done <= 0) break;
        pos += static_cast<size_t>(done);
      }
      return static_cast<LRESULT>(pos);
    }
    case EM_REQUESTRESIZE:
      SendRequestResize();
      return 0;
    case EM_SETEVENTMASK: {
      const DWORD old = FEventMask;
      FEventMask = static_cast<DWORD>(Message.LParam);
      return old;
    }
    case EM_GETEVENTMASK: return FEventMask;
    case EM_SETBKGNDCOLOR: {
      const TColor old = BackgroundColor;
      BackgroundColor = Message.WParam ? clWindow : static_cast<TColor>(Message.LParam);
      return old;
    }
    case EM_FORMATRANGE: {
      auto* fr = reinterpret_cast<FORMATRANGE*>(Message.LParam);
      if (!fr || !Message.WParam) return 0;  // no range: nothing cached to release
      HDC dc = fr->hdc;
      const int dpx = std::max(1, GetDeviceCaps(dc, LOGPIXELSX)), dpy = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
      auto px = [](LONG Twips, int Dpi) { return static_cast<int>((static_cast<long long>(Twips) * Dpi + 720) / 1440); };
      const TRect r{px(fr->rc.left, dpx), px(fr->rc.top, dpy), px(fr->rc.right, dpx), px(fr->rc.bottom, dpy)};
      const bool wrap = FWordWrap;
      const int end = Render(dc, wrap ? r : TRect{r.Left, r.Top, r.Left, r.Bottom}, fr->chrg.cpMin,
                             fr->chrg.cpMax < 0 ? -1 : fr->chrg.cpMax, true);
      return end;
    }
    default: Handled = false; return 0;
  }
}

void TCustomRichEdit::WndProc(TMessage& Message) {
  bool handled = false;
  const LRESULT r = RichMessage(Message, handled);
  if (handled) {
    Message.Result = r;
    return;
  }
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TWinControl::WndProc(Message);
      if (HandleAllocated()) Invalidate();
      return;
    case WM_LBUTTONDOWN: {
      TWinControl::WndProc(Message);
      if (CanFocus() && !Focused()) SetFocus();
      const int at = CaretFromPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      if (Message.WParam & MK_SHIFT) SetSel(FAnchor, at), FAnchor = FAnchor;
      else SetSel(at, at);
      return;
    }
    default: break;
  }
  TWinControl::WndProc(Message);
}

void TCustomRichEdit::DefaultHandler(TMessage& Message) {
  if (Message.Msg == WM_CHAR) {
    const char32_t c = char32_t(Message.WParam);
    if (FReadOnly || c == 0 || (c < 0x20 && c != u'\r' && c != u'\t')) return;
    std::u16string s = c == u'\r' ? std::u16string(u"\r") : Utf8ToUtf16(CodePointToUtf8(c));
    InsertTyped(s);
    return;
  }
  if (Message.Msg == WM_KEYDOWN) {
    const WORD key = static_cast<WORD>(Message.WParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    const int caret = FSelLength == 0 ? FSelStart : (FAnchor == FSelStart ? FSelStart + FSelLength : FSelStart);
    auto moveTo = [&](int Pos) {
      Pos = std::clamp(Pos, 0, FDoc.Length());
      if (shift) {
        const int anchor = FAnchor;
        SetSel(anchor, Pos);
        FAnchor = anchor;
      } else {
        SetSel(Pos, Pos);
      }
    };
    const std::u16string& t = FDoc.Text();
    switch (key) {
      case VK_LEFT: moveTo(FSelLength && !shift ? FSelStart : caret - 1); return;
      case VK_RIGHT: moveTo(FSelLength && !shift ? FSelStart + FSelLength : caret + 1); return;
      case VK_HOME: {
        if (ctrl) return moveTo(0);
        int p = caret;
        while (p > 0 && t[static_cast<size_t>(p - 1)] != u'\r') --p;
        return moveTo(p);
      }
      case VK_END: {
        if (ctrl) return moveTo(FDoc.Length());
        int p = caret;
        while (p < FDoc.Length() && t[static_cast<size_t>(p)] != u'\r') ++p;
        return moveTo(p);
      }
      case VK_UP: case VK_DOWN: {
        // To the same column of the paragraph above or below.
        int start = caret;
        while (start > 0 && t[static_cast<size_t>(start - 1)] != u'\r') --start;
        const int column = caret - start;
        int p;
        if (key == VK_UP) {
          if (start == 0) return;
          int prev = start - 1;
          while (prev > 0 && t[static_cast<size_t>(prev - 1)] != u'\r') --prev;
          p = std::min(prev + column, start - 1);
        } else {
          int next = caret;
          while (next < FDoc.Length() && t[static_cast<size_t>(next)] != u'\r') ++next;
          if (next >= FDoc.Length()) return;
          ++next;
          int e = next;
          while (e < FDoc.Length() && t[static_cast<size_t>(e)] != u'\r') ++e;
          p = std::min(next + column, e);
        }
        return moveTo(p);
      }
      case VK_BACK:
        if (FReadOnly) return;
        if (FSelLength == 0 && FSelStart > 0) SetSel(FSelStart - 1, FSelStart);
        if (FSelLength) InsertTyped(u"");
        return;
      case VK_DELETE:
        if (FReadOnly) return;
        if (FSelLength == 0 && FSelStart < FDoc.Length()) SetSel(FSelStart, FSelStart + 1);
        if (FSelLength) InsertTyped(u"");
        return;
      case 'A':
        if (ctrl) SelectAll();
        return;
      default: break;
    }
  }
  TWinControl::DefaultHandler(Message);
}

// ---------------------------------------------------------------------------------------
CHARFORMAT2 TTextAttributes::Get() const {
  CHARFORMAT2 c;
  FEdit->Perform(EM_GETCHARFORMAT, FSelection ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&c));
  return c;
}

void TTextAttributes::Set(CHARFORMAT2& Format) const {
  FEdit->Perform(EM_SETCHARFORMAT, FSelection ? SCF_SELECTION : SCF_DEFAULT, LPARAM(&Format));
}

std::string TTextAttributes::Name() const { return Get().szFaceName; }
void TTextAttributes::SetName(const std::string& Value) {
  CHARFORMAT2 c;
  c.dwMask = CFM_FACE;
  std::strncpy(c.szFaceName, Value.c_str(), sizeof c.szFaceName - 1);
  Set(c);
}
int TTextAttributes::Size() const { return Get().yHeight / 20; }
void TTextAttributes::SetSize(int Value) {
  CHARFORMAT2 c;
  c.dwMask = CFM_SIZE;
  c.yHeight = Value * 20;
  Set(c);
}
TFontStyles TTextAttributes::Style() const {
  const CHARFORMAT2 c = Get();
  TFontStyles s;
  if (c.dwEffects & CFE_BOLD) s.Include(fsBold);
  if (c.dwEffects & CFE_ITALIC) s.Include(fsItalic);
  if (c.dwEffects & CFE_UNDERLINE) s.Include(fsUnderline);
  if (c.dwEffects & CFE_STRIKEOUT) s.Include(fsStrikeOut);
  return s;
}
void TTextAttributes::SetStyle(TFontStyles Value) {
  CHARFORMAT2 c;
  c.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  c.dwEffects = (Value.Contains(fsBold) ? CFE_BOLD : 0) | (Value.Contains(fsItalic) ? CFE_ITALIC : 0) |
                (Value.Contains(fsUnderline) ? CFE_UNDERLINE : 0) | (Value.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
  Set(c);
}
TColor TTextAttributes::Color() const { return Get().crTextColor; }
void TTextAttributes::SetColor(TColor Value) {
  CHARFORMAT2 c;
  c.dwMask = CFM_COLOR;
  c.crTextColor = Value;
  Set(c);
}
int TTextAttributes::Charset() const { return Get().bCharSet; }

void TTextAttributes::Assign(TPersistent* Source) {
  if (auto* a = dynamic_cast<TTextAttributes*>(Source)) {
    CHARFORMAT2 c = a->Get();
    c.dwMask = CFM_ALL;
    Set(c);
    return;
  }
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    SetName(f->GetName());
    SetSize(f->GetSize());
    SetStyle(f->GetStyle());
    SetColor(f->GetColor());
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------------------
namespace {
std::vector<std::string> SplitParagraphs(const std::string& S) {
  std::vector<std::string> r(1);
  for (char c : S) {
    if (c == '\r' || c == '\v') r.emplace_back();
    else r.back() += c;
  }
  return r;
}
}  // namespace

std::string TRichEditStrings::Get(int Index) const {
  std::vector<std::string> p = SplitParagraphs(FEdit->FDoc.PlainText("\r"));
  if (Index < 0 || Index >= static_cast<int>(p.size())) Error("List index out of bounds (%d)", Index);
  return p[static_cast<size_t>(Index)];
}

int TRichEditStrings::GetCount() const {
  if (FEdit->FDoc.Length() == 0) return 0;
  return static_cast<int>(SplitParagraphs(FEdit->FDoc.PlainText("\r")).size());
}

void TRichEditStrings::Put(int Index, const std::string& S) {
  Delete(Index);
  Insert(Index, S);
}

void TRichEditStrings::Insert(int Index, const std::string& S) {
  TRichDocument& d = FEdit->FDoc;
  const std::u16string& t = d.Text();
  const int count = GetCount();
  if (Index < 0 || Index > count) Error("List index out of bounds (%d)", Index);
  int pos = 0;
  for (int i = 0; i < Index; ++i) {
    while (pos < d.Length() && t[static_cast<size_t>(pos)] != u'\r') ++pos;
    if (pos < d.Length()) ++pos;
  }
  std::u16string s = Utf8ToUtf16(S);
  const TRichCharFormat f = d.Length() ? d.FormatAt(std::max(0, pos - 1)) : d.DefaultFormat;
  if (Index == count && count > 0) d.Insert(d.Length(), u"\r" + s, f);
  else if (count == 0) d.Insert(0, s, f);
  else d.Insert(pos, s + u"\r", f);
  FEdit->ContentChanged();
}

void TRichEditStrings::Delete(int Index) {
  TRichDocument& d = FEdit->FDoc;
  const std::u16string& t = d.Text();
  const int count = GetCount();
  if (Index < 0 || Index >= count) Error("List index out of bounds (%d)", Index);
  int start = 0;
  for (int i = 0; i < Index; ++i) {
    while (start < d.Length() && t[static_cast<size_t>(start)] != u'\r') ++start;
    ++start;
  }
  int end = start;
  while (end < d.Length() && t[static_cast<size_t>(end)] != u'\r') ++end;
  if (end < d.Length()) ++end;
  else if (start > 0) --start;  // the last paragraph takes the mark before it
  d.Delete(start, end - start);
  FEdit->ContentChanged();
}

void TRichEditStrings::Clear() { FEdit->Clear(); }

std::string TRichEditStrings::GetText() const {
  if (FEdit->FDoc.Length() == 0) return {};
  return FEdit->FDoc.PlainText("\r\n") + "\r\n";
}

void TRichEditStrings::SetText(const std::string& Value) {
  TRichDocument& d = FEdit->FDoc;
  const TRichCharFormat f = d.DefaultFormat;
  d.Clear();
  std::string v = Value;
  if (v.size() >= 2 && v.compare(v.size() - 2, 2, "\r\n") == 0) v.resize(v.size() - 2);
  else if (!v.empty() && v.back() == '\n') v.pop_back();
  d.Insert(0, Utf8ToUtf16(v), f);
  FEdit->FSelStart = FEdit->FSelLength = 0;
  FEdit->ContentChanged();
}

void TRichEditStrings::LoadFromStream(TStream& Stream) {
  std::string data(static_cast<size_t>(Stream.Size() - Stream.Position()), '\0');
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  if (!FEdit->FPlainText && data.rfind("{\\rtf", 0) == 0) FEdit->SetRtf(data);
  else SetText(data.rfind("\xEF\xBB\xBF", 0) == 0 ? data.substr(3) : data);
}

void TRichEditStrings::SaveToStream(TStream& Stream) const {
  const std::string data = FEdit->FPlainText ? GetText() : FEdit->GetRtf();
  if (!data.empty()) Stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}
