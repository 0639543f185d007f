// The rich edit's document: characters with formats and paragraphs, and its rich-text
// reader and writer.
#include "platform/vcl/RichText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/CodePage.h"

void TRichCharFormat::Apply(const TRichCharFormat& Source, uint32_t Mask) {
  if (Mask & CFM_BOLD) Bold = Source.Bold;
  if (Mask & CFM_ITALIC) Italic = Source.Italic;
  if (Mask & CFM_UNDERLINE) Underline = Source.Underline;
  if (Mask & CFM_STRIKEOUT) StrikeOut = Source.StrikeOut;
  if (Mask & CFM_FACE) FaceName = Source.FaceName;
  if (Mask & CFM_SIZE) Size = Source.Size;
  if (Mask & CFM_COLOR) Color = Source.Color;
  if (Mask & CFM_OFFSET) Offset = Source.Offset;
  if (Mask & CFM_CHARSET) Charset = Source.Charset;
}

// ---------------------------------------------------------------------------------------
void TRichDocument::Clear() {
  FText.clear();
  FFormatOf.clear();
  FFormats.assign(1, DefaultFormat);
  FAlign.assign(1, taLeftJustify);
}

int TRichDocument::AddFormat(const TRichCharFormat& Format) {
  for (size_t i = 0; i < FFormats.size(); ++i)
    if (FFormats[i] == Format) return static_cast<int>(i);
  if (FFormats.size() >= 0xFFFF) {
    // Unreachable in practice: drop the formats no character uses any more.
    std::vector<TRichCharFormat> used;
    std::vector<int> map(FFormats.size(), -1);
    for (uint16_t& f : FFormatOf) {
      if (map[f] < 0) {
        map[f] = static_cast<int>(used.size());
        used.push_back(FFormats[f]);
      }
      f = static_cast<uint16_t>(map[f]);
    }
    FFormats = std::move(used);
    if (FFormats.size() >= 0xFFFF) return static_cast<int>(FFormats.size()) - 1;
  }
  FFormats.push_back(Format);
  return static_cast<int>(FFormats.size()) - 1;
}

int TRichDocument::ParagraphOf(int Pos) const {
  Pos = std::clamp(Pos, 0, Length());
  return static_cast<int>(std::count(FText.begin(), FText.begin() + Pos, u'\r'));
}

void TRichDocument::Insert(int Pos, const std::u16string& S, const TRichCharFormat& Format) {
  Pos = std::clamp(Pos, 0, Length());
  std::u16string t;
  t.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    char16_t c = S[i];
    if (c == u'\r' && i + 1 < S.size() && S[i + 1] == u'\n') continue;  // CR LF: one mark
    t += c == u'\n' ? u'\r' : c;
  }
  if (t.empty()) return;
  const uint16_t f = static_cast<uint16_t>(AddFormat(Format));
  const int para = ParagraphOf(Pos);
  const auto marks = std::count(t.begin(), t.end(), u'\r');
  FText.insert(static_cast<size_t>(Pos), t);
  FFormatOf.insert(FFormatOf.begin() + Pos, t.size(), f);
  const TAlignment a = FAlign[static_cast<size_t>(para)];
  FAlign.insert(FAlign.begin() + para + 1, static_cast<size_t>(marks), a);
}

void TRichDocument::Delete(int Pos, int Count) {
  Pos = std::clamp(Pos, 0, Length());
  Count = std::clamp(Count, 0, Length() - Pos);
  if (Count == 0) return;
  const int para = ParagraphOf(Pos);
  const auto marks = std::count(FText.begin() + Pos, FText.begin() + Pos + Count, u'\r');
  FText.erase(static_cast<size_t>(Pos), static_cast<size_t>(Count));
  FFormatOf.erase(FFormatOf.begin() + Pos, FFormatOf.begin() + Pos + Count);
  FAlign.erase(FAlign.begin() + para + 1, FAlign.begin() + para + 1 + marks);
}

const TRichCharFormat& TRichDocument::FormatAt(int Pos) const {
  if (FText.empty()) return FFormats.empty() ? DefaultFormat : FFormats[0];
  Pos = std::clamp(Pos, 0, Length() - 1);
  return FFormats[FFormatOf[static_cast<size_t>(Pos)]];
}

void TRichDocument::SetFormat(int Start, int Count, const TRichCharFormat& Format, uint32_t Mask) {
  Start = std::clamp(Start, 0, Length());
  Count = std::clamp(Count, 0, Length() - Start);
  for (int i = Start; i < Start + Count;) {
    // Each run of one format is changed as a whole.
    const uint16_t old = FFormatOf[static_cast<size_t>(i)];
    TRichCharFormat f = FFormats[old];
    f.Apply(Format, Mask);
    const uint16_t now = static_cast<uint16_t>(AddFormat(f));
    while (i < Start + Count && FFormatOf[static_cast<size_t>(i)] == old) FFormatOf[static_cast<size_t>(i++)] = now;
  }
}

TRichCharFormat TRichDocument::GetFormat(int Start, int Count, uint32_t& Mask) const {
  Mask = CFM_ALL;
  if (FText.empty()) return FFormats.empty() ? DefaultFormat : FFormats[0];
  Start = std::clamp(Start, 0, Length());
  Count = std::clamp(Count, 0, Length() - Start);
  if (Count == 0) return FormatAt(Start > 0 ? Start - 1 : 0);
  const TRichCharFormat& first = FormatAt(Start);
  for (int i = Start + 1; i < Start + Count; ++i) {
    const TRichCharFormat& f = FFormats[FFormatOf[static_cast<size_t>(i)]];
    if (&f == &first) continue;
    if (f.Bold != first.Bold) Mask &= ~CFM_BOLD;
    if (f.Italic != first.Italic) Mask &= ~CFM_ITALIC;
    if (f.Underline != first.Underline) Mask &= ~CFM_UNDERLINE;
    if (f.StrikeOut != first.StrikeOut) Mask &= ~CFM_STRIKEOUT;
    if (f.FaceName != first.FaceName) Mask &= ~CFM_FACE;
    if (f.Size != first.Size) Mask &= ~CFM_SIZE;
    if (f.Color != first.Color) Mask &= ~CFM_COLOR;
    if (f.Offset != first.Offset) Mask &= ~CFM_OFFSET;
    if (f.Charset != first.Charset) Mask &= ~CFM_CHARSET;
  }
  return first;
}

std::vector<TRichDocument::TRun> TRichDocument::Runs() const { return Runs(0, Length()); }

std::vector<TRichDocument::TRun> TRichDocument::Runs(int Start, int Count) const {
  std::vector<TRun> runs;
  Start = std::clamp(Start, 0, Length());
  Count = Count < 0 ? Length() - Start : std::clamp(Count, 0, Length() - Start);
  for (int i = Start; i < Start + Count;) {
    const uint16_t f = FFormatOf[static_cast<size_t>(i)];
    int j = i + 1;
    while (j < Start + Count && FFormatOf[static_cast<size_t>(j)] == f) ++j;
    runs.push_back({i, j - i, &FFormats[f]});
    i = j;
  }
  return runs;
}

std::string TRichDocument::PlainText(const std::string& LineBreak) const {
  std::string out;
  std::u16string chunk;
  for (char16_t c : FText) {
    if (c == u'\r' || c == u'\v') {
      out += Utf16ToUtf8(chunk);
      chunk.clear();
      out += LineBreak;
    } else {
      chunk += c;
    }
  }
  out += Utf16ToUtf8(chunk);
  return out;
}

// ---------------------------------------------------------------------------------------
// Reading rich text.
namespace {

// Destinations whose text is not document text.
bool SkippedDestination(const std::string& Word) {
  static const char* const skipped[] = {"colortbl", "stylesheet", "info",     "pict",   "header",
                                        "footer",   "listtable",  "rsidtbl", "generator", "themedata",
                                        "latentstyles", "xmlnstbl", "datastore", "headerl", "headerr",
                                        "footerl",  "footerr",    "footnote", "listoverridetable", "object"};
  for (const char* s : skipped)
    if (Word == s) return true;
  return false;
}

int CharsetCodePage(int Charset, int Fallback) {
  switch (Charset) {
    case 0: return CP_WIN1252;
    case 204: return CP_WIN1251;
    default: return Fallback;
  }
}

struct TReaderState {
  enum TDest { dText, dSkip, dFontTable, dColorTable };
  TDest Dest = dText;
  int UnicodeSkip = 1;
  TRichCharFormat Format;
  int Font = -1;
};

struct TRtfReader {
  TRtfReader(const std::string& R, TRichDocument& D, const TRichCharFormat& F) : Rtf(R), Doc(D), Default(F) {}
  const std::string& Rtf;
  TRichDocument& Doc;
  TRichCharFormat Default;
  std::vector<TReaderState> Stack;
  struct TFont {
    int Number;
    std::string Name;
    int Charset = -1;
  };
  std::vector<TFont> Fonts;
  std::vector<TColor> Colors;
  int CodePage = CP_WIN1251;
  int Red = 0, Green = 0, Blue = 0;
  bool ColorGiven = false;
  TAlignment ParaAlign = taLeftJustify;
  int PendingSkip = 0;
  char16_t HighSurrogate = 0;
  std::string Bytes;       // "\'hh" bytes waiting to be converted
  std::u16string Pending;  // characters waiting to go in with the current format
  TRichCharFormat PendingFormat;
  std::string FontName;    // the font name being read in the font table

  TReaderState& Top() { return Stack.back(); }

  const TFont* FindFont(int N) const {
    for (const TFont& f : Fonts)
      if (f.Number == N) return &f;
    return nullptr;
  }

  void FlushText() {
    if (Pending.empty()) return;
    Doc.Insert(Doc.Length(), Pending, PendingFormat);
    Pending.clear();
  }

  void AddUnit(char16_t C) {
    if (Top().Dest != TReaderState::dText) return;
    if (C >= 0xD800 && C < 0xDC00) {
      HighSurrogate = C;
      return;
    }
    std::u16string u;
    if (HighSurrogate && C >= 0xDC00 && C < 0xE000) u += HighSurrogate;
    HighSurrogate = 0;
    if (C >= 0xD800 && C < 0xE000 && u.empty()) return;  // a lone surrogate shows nothing
    u += C;
    if (!Pending.empty() && !(PendingFormat == Top().Format)) FlushText();
    if (Pending.empty()) PendingFormat = Top().Format;
    Pending += u;
  }

  void FlushBytes() {
    if (Bytes.empty()) return;
    if (Top().Dest == TReaderState::dText) {
      int cp = CodePage;
      if (const TFont* f = FindFont(Top().Font); f && f->Charset >= 0) cp = CharsetCodePage(f->Charset, CodePage);
      for (char16_t c : Utf8ToUtf16(CodePageToUtf8(cp, Bytes))) AddUnit(c);
    } else if (Top().Dest == TReaderState::dFontTable) {
      FontName += Bytes;
    }
    Bytes.clear();
  }

  void EndParagraph() {
    AddUnit(u'\r');
    FlushText();
    const int para = Doc.ParagraphCount() - 2;
    if (para >= 0) Doc.SetParagraphAlignment(para, ParaAlign);
  }

  void PlainChar(char C) {
    TReaderState& s = Top();
    if (s.Dest == TReaderState::dFontTable) {
      if (C == ';') {
        while (!FontName.empty() && FontName.back() == ' ') FontName.pop_back();
        if (!Fonts.empty() && Fonts.back().Name.empty()) Fonts.back().Name = FontName;
        FontName.clear();
      } else {
        FontName += C;
      }
      return;
    }
    if (s.Dest == TReaderState::dColorTable) {
      if (C == ';') {
        Colors.push_back(ColorGiven ? TColor(Red | (Green << 8) | (Blue << 16)) : clBlack);
        Red = Green = Blue = 0;
        ColorGiven = false;
      }
      return;
    }
    if (s.Dest != TReaderState::dText) return;
    AddUnit(static_cast<unsigned char>(C));
  }

  void ControlWord(const std::string& W, bool HasNum, long N) {
    TReaderState& s = Top();
    TRichCharFormat& f = s.Format;
    if (W == "fonttbl") {
      s.Dest = TReaderState::dFontTable;
    } else if (W == "colortbl") {
      s.Dest = TReaderState::dColorTable;
    } else if (SkippedDestination(W)) {
      s.Dest = TReaderState::dSkip;
    } else if (s.Dest == TReaderState::dFontTable) {
      if (W == "f" && HasNum) {
        Fonts.push_back({static_cast<int>(N), "", -1});
        FontName.clear();
      } else if (W == "fcharset" && HasNum && !Fonts.empty()) {
        Fonts.back().Charset = static_cast<int>(N);
      }
    } else if (s.Dest == TReaderState::dColorTable) {
      if (W == "red") Red = static_cast<int>(std::clamp(N, 0L, 255L)), ColorGiven = true;
      else if (W == "green") Green = static_cast<int>(std::clamp(N, 0L, 255L)), ColorGiven = true;
      else if (W == "blue") Blue = static_cast<int>(std::clamp(N, 0L, 255L)), ColorGiven = true;
    } else if (W == "ansicpg" && HasNum) {
      if (N == CP_WIN1251 || N == CP_WIN1252 || N == CP_OEM866 || N == CP_KOI8R || N == CP_UTF8)
        CodePage = static_cast<int>(N);
    } else if (W == "par" || W == "sect" || W == "page") {
      if (s.Dest == TReaderState::dText) EndParagraph();
    } else if (W == "line") {
      AddUnit(u'\v');
    } else if (W == "tab") {
      AddUnit(u'\t');
    } else if (W == "uc" && HasNum) {
      s.UnicodeSkip = static_cast<int>(std::clamp(N, 0L, 8L));
    } else if (W == "u" && HasNum) {
      AddUnit(static_cast<char16_t>(static_cast<uint32_t>(N < 0 ? N + 65536 : N) & 0xFFFF));
      PendingSkip = s.UnicodeSkip;
    } else if (W == "pard") {
      ParaAlign = taLeftJustify;
    } else if (W == "ql" || W == "qj") {
      ParaAlign = taLeftJustify;
    } else if (W == "qr") {
      ParaAlign = taRightJustify;
    } else if (W == "qc") {
      ParaAlign = taCenter;
    } else if (W == "plain") {
      const int font = s.Font;
      f = Default;
      s.Font = font;
      if (const TFont* ft = FindFont(font)) f.FaceName = ft->Name;
    } else if (W == "b") {
      f.Bold = !HasNum || N != 0;
    } else if (W == "i") {
      f.Italic = !HasNum || N != 0;
    } else if (W == "ul") {
      f.Underline = !HasNum || N != 0;
    } else if (W == "ulnone") {
      f.Underline = false;
    } else if (W == "strike") {
      f.StrikeOut = !HasNum || N != 0;
    } else if (W == "fs" && HasNum) {
      if (N > 0) f.Size = static_cast<int>(std::clamp(N / 2, 1L, 1638L));
    } else if (W == "f" && HasNum) {
      s.Font = static_cast<int>(N);
      if (const TFont* ft = FindFont(s.Font)) {
        f.FaceName = ft->Name;
        if (ft->Charset >= 0) f.Charset = ft->Charset;
      }
    } else if (W == "cf" && HasNum) {
      // Entry 0 of the colour table is the automatic colour.
      f.Color = N > 0 && N < static_cast<long>(Colors.size()) ? Colors[static_cast<size_t>(N)] : clBlack;
    } else if (W == "up") {
      f.Offset = static_cast<int>(std::clamp(HasNum ? N : 6L, -3200L, 3200L)) * 10;
    } else if (W == "dn") {
      f.Offset = -static_cast<int>(std::clamp(HasNum ? N : 6L, -3200L, 3200L)) * 10;
    } else if (W == "super") {
      f.Offset = 40;
    } else if (W == "sub") {
      f.Offset = -40;
    } else if (W == "nosupersub") {
      f.Offset = 0;
    }
  }

  void Run() {
    Stack.push_back({});
    Stack.back().Format = Default;
    const size_t n = Rtf.size();
    size_t i = 0;
    while (i < n) {
      const char c = Rtf[i];
      if (c == '{') {
        FlushBytes();
        Stack.push_back(Stack.back());
        if (Stack.size() > 4096) Stack.pop_back();  // absurd nesting: stay flat
        ++i;
        continue;
      }
      if (c == '}') {
        FlushBytes();
        if (Stack.size() > 1) Stack.pop_back();
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') {
        ++i;
        continue;
      }
      if (c != '\\') {
        FlushBytes();
        if (PendingSkip > 0) --PendingSkip;
        else PlainChar(c);
        ++i;
        continue;
      }
      if (i + 1 >= n) break;
      const char d = Rtf[i + 1];
      if (d == '\\' || d == '{' || d == '}') {
        FlushBytes();
        if (PendingSkip > 0) --PendingSkip;
        else PlainChar(d);
        i += 2;
        continue;
      }
      if (d == '\'') {
        if (i + 3 < n) {
          const std::string hex = Rtf.substr(i + 2, 2);
          char* end = nullptr;
          const long v = std::strtol(hex.c_str(), &end, 16);
          if (end == hex.c_str() + 2 && std::isxdigit(static_cast<unsigned char>(hex[0]))) {
            if (PendingSkip > 0) --PendingSkip;
            else Bytes += static_cast<char>(v);
          }
        }
        i += 4;
        continue;
      }
      if (d == '*') {
        Top().Dest = TReaderState::dSkip;
        i += 2;
        continue;
      }
      if (d == '~') {
        FlushBytes();
        AddUnit(0x00A0);
        i += 2;
        continue;
      }
      if (!std::isalpha(static_cast<unsigned char>(d))) {
        i += 2;
        continue;
      }
      FlushBytes();
      size_t j = i + 1;
      while (j < n && std::isalpha(static_cast<unsigned char>(Rtf[j])) && j - i < 33) ++j;
      const std::string word = Rtf.substr(i + 1, j - i - 1);
      bool hasNum = false;
      long num = 0;
      size_t k = j;
      if (k < n && (Rtf[k] == '-' || std::isdigit(static_cast<unsigned char>(Rtf[k])))) {
        const size_t s = k;
        ++k;
        while (k < n && std::isdigit(static_cast<unsigned char>(Rtf[k])) && k - s < 10) ++k;
        num = std::strtol(Rtf.substr(s, k - s).c_str(), nullptr, 10);
        hasNum = true;
      }
      if (k < n && Rtf[k] == ' ') ++k;
      i = k;
      ControlWord(word, hasNum, num);
    }
    FlushBytes();
    FlushText();
    Doc.SetParagraphAlignment(Doc.ParagraphCount() - 1, ParaAlign);
  }
};

}  // namespace

void TRichDocument::ReadRtf(const std::string& Rtf, int Start, int Count) {
  TRichDocument read;
  read.DefaultFormat = DefaultFormat;
  read.Clear();
  TRtfReader reader(Rtf, read, DefaultFormat);
  reader.Run();
  // A document's closing paragraph mark ends it: it adds no empty last paragraph.
  if (read.Length() > 0 && read.FText.back() == u'\r') read.Delete(read.Length() - 1, 1);
  if (Start <= 0 && (Count < 0 || Count >= Length())) {
    const TRichCharFormat keep = DefaultFormat;
    *this = std::move(read);
    DefaultFormat = keep;
    return;
  }
  Start = std::clamp(Start, 0, Length());
  Delete(Start, Count < 0 ? Length() - Start : Count);
  int pos = Start;
  for (const TRun& r : read.Runs()) {
    Insert(pos, read.FText.substr(static_cast<size_t>(r.Start), static_cast<size_t>(r.Length)), *r.Format);
    pos += r.Length;
  }
}

std::string RtfToPlainText(const std::string& Rtf) {
  TRichDocument doc;
  doc.ReadRtf(Rtf);
  std::string out = doc.PlainText("\n");
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// ---------------------------------------------------------------------------------------
// Writing rich text.
std::string TRichDocument::WriteRtf(int Start, int Count) const {
  Start = std::clamp(Start, 0, Length());
  Count = Count < 0 ? Length() - Start : std::clamp(Count, 0, Length() - Start);
  const std::vector<TRun> runs = Runs(Start, Count);
  // Fonts by name and character set.
  std::vector<std::pair<std::string, int>> fonts;
  std::vector<TColor> colors;
  auto fontIndex = [&](const TRichCharFormat& F) {
    const std::pair<std::string, int> key{F.FaceName, F.Charset};
    auto it = std::find(fonts.begin(), fonts.end(), key);
    if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
    fonts.push_back(key);
    return static_cast<int>(fonts.size()) - 1;
  };
  auto colorIndex = [&](TColor C) {
    auto it = std::find(colors.begin(), colors.end(), C);
    if (it != colors.end()) return static_cast<int>(it - colors.begin()) + 1;
    colors.push_back(C);
    return static_cast<int>(colors.size());
  };
  fontIndex(runs.empty() ? DefaultFormat : *runs[0].Format);
  for (const TRun& r : runs) {
    fontIndex(*r.Format);
    colorIndex(r.Format->Color);
  }

  std::string out = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(fonts[i].second) + " ";
    for (char c : fonts[i].first) {
      if (c == ';' || c == '\r' || c == '\n') continue;
      if (c == '\\' || c == '{' || c == '}') out += '\\';
      out += c;
    }
    out += ";}";
  }
  out += "}\n{\\colortbl ;";
  for (TColor c : colors) {
    const uint32_t v = static_cast<uint32_t>(c);
    out += "\\red" + std::to_string(v & 0xFF) + "\\green" + std::to_string((v >> 8) & 0xFF) + "\\blue" +
           std::to_string((v >> 16) & 0xFF) + ";";
  }
  out += "}\n\\viewkind4\\uc1";

  auto paraStart = [&](int Para) {
    out += "\\pard";
    switch (FAlign[static_cast<size_t>(Para)]) {
      case taRightJustify: out += "\\qr"; break;
      case taCenter: out += "\\qc"; break;
      default: break;
    }
  };
  paraStart(ParagraphOf(Start));
  for (const TRun& r : runs) {
    const TRichCharFormat& f = *r.Format;
    out += "\\plain\\f" + std::to_string(fontIndex(f)) + "\\fs" + std::to_string(f.Size * 2) + "\\cf" +
           std::to_string(colorIndex(f.Color));
    if (f.Bold) out += "\\b";
    if (f.Italic) out += "\\i";
    if (f.Underline) out += "\\ul";
    if (f.StrikeOut) out += "\\strike";
    if (f.Offset > 0) out += "\\super\\up" + std::to_string(f.Offset / 10);
    else if (f.Offset < 0) out += "\\sub\\dn" + std::to_string(-f.Offset / 10);
    out += ' ';
    for (int i = r.Start; i < r.Start + r.Length; ++i) {
      const char16_t c = FText[static_cast<size_t>(i)];
      if (c == u'\r') {
        out += "\\par\n";
        paraStart(ParagraphOf(i + 1));
        out += ' ';
      } else if (c == u'\v') {
        out += "\\line ";
      } else if (c == u'\t') {
        out += "\\tab ";
      } else if (c == u'\\' || c == u'{' || c == u'}') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c >= 0x20 && c < 0x80) {
        out += static_cast<char>(c);
      } else {
        out += "\\u" + std::to_string(c < 0x8000 ? static_cast<int>(c) : static_cast<int>(c) - 65536) + "?";
      }
    }
  }
  out += "\\par\n}";
  return out;
}
