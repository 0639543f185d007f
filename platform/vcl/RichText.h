#pragma once
// The document of the rich edit: characters (UTF-16, paragraphs separated by CR, line
// breaks inside a paragraph as VT), each with a character format (font, size, bold,
// italic, underline, strike-out, colour, vertical offset in twips), and one alignment per
// paragraph; with its reader and writer of rich text (RTF).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"
#include "platform/vcl/Graphics.h"

// Character format mask and effect bits (CHARFORMAT).
constexpr uint32_t CFM_BOLD = 0x00000001, CFM_ITALIC = 0x00000002, CFM_UNDERLINE = 0x00000004,
                   CFM_STRIKEOUT = 0x00000008, CFM_PROTECTED = 0x00000010, CFM_LINK = 0x00000020,
                   CFM_CHARSET = 0x08000000, CFM_OFFSET = 0x10000000, CFM_FACE = 0x20000000,
                   CFM_COLOR = 0x40000000, CFM_SIZE = 0x80000000,
                   CFM_ALL = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET | CFM_OFFSET |
                             CFM_FACE | CFM_COLOR | CFM_SIZE;
constexpr uint32_t CFE_BOLD = 0x00000001, CFE_ITALIC = 0x00000002, CFE_UNDERLINE = 0x00000004,
                   CFE_STRIKEOUT = 0x00000008, CFE_AUTOCOLOR = 0x40000000;

struct TRichCharFormat {
  std::string FaceName = "Arial";
  int Size = 10;             // points
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  TColor Color = clBlack;
  int Offset = 0;            // twips; positive raises the characters
  int Charset = 1;           // DEFAULT_CHARSET
  bool operator==(const TRichCharFormat&) const = default;
  // Copies the attributes that Mask names from Source.
  void Apply(const TRichCharFormat& Source, uint32_t Mask);
};

class TRichDocument {
public:
  struct TRun {
    int Start, Length;
    const TRichCharFormat* Format;
  };

  TRichCharFormat DefaultFormat;

  int Length() const { return static_cast<int>(FText.size()); }
  const std::u16string& Text() const { return FText; }
  void Clear();
  // Inserts text in a format; "\r\n" and "\n" become paragraph marks.
  void Insert(int Pos, const std::u16string& S, const TRichCharFormat& Format);
  void Delete(int Pos, int Count);
  const TRichCharFormat& FormatAt(int Pos) const;
  // Sets the attributes Mask names on the characters [Start, Start + Count).
  void SetFormat(int Start, int Count, const TRichCharFormat& Format, uint32_t Mask);
  // The format of [Start, Start + Count) (of the character before Start when empty) and
  // the mask of the attributes that are the same on every character.
  TRichCharFormat GetFormat(int Start, int Count, uint32_t& Mask) const;
  // Runs of equal format, in order.
  std::vector<TRun> Runs() const;
  std::vector<TRun> Runs(int Start, int Count) const;
  int ParagraphCount() const { return static_cast<int>(FAlign.size()); }
  int ParagraphOf(int Pos) const;
  TAlignment ParagraphAlignment(int Index) const { return FAlign[static_cast<size_t>(Index)]; }
  void SetParagraphAlignment(int Index, TAlignment Value) { FAlign[static_cast<size_t>(Index)] = Value; }
  // The text as UTF-8, paragraphs and line breaks as LineBreak.
  std::string PlainText(const std::string& LineBreak = "\r\n") const;

  // Rich text: Read replaces [Start, Start + Count) (the whole document by default) with
  // the document read; Write gives the range as a complete RTF document.
  void ReadRtf(const std::string& Rtf, int Start = 0, int Count = -1);
  std::string WriteRtf(int Start = 0, int Count = -1) const;

private:
  int AddFormat(const TRichCharFormat& Format);
  std::u16string FText;
  std::vector<uint16_t> FFormatOf;           // per character, into FFormats
  std::vector<TRichCharFormat> FFormats{TRichCharFormat{}};
  std::vector<TAlignment> FAlign{taLeftJustify};  // per paragraph
};

// The document characters of a rich text as UTF-8, paragraphs and line breaks as "\n",
// trailing breaks removed. Never throws; bad input gives what could be read.
std::string RtfToPlainText(const std::string& Rtf);
