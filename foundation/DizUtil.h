#pragma once
// DizUtil: free utility functions shared by the grid family, its editors and drawing code.
//
// Strings are 8-bit std::string (UTF-8 text); unless said otherwise the functions work on
// bytes. Positions are 1-based and 0 means "not found". Conversions read the process
// format settings (FormatSettings()) at each call and keep no state.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

using TDateTime = double;

class TStrings;

// ===========================================================================================
// Text and number utilities (DizUtil.cpp)
// ===========================================================================================

// The kind of a cell text.
enum TTextType { ttText, ttHTML, ttRTF, ttFormula, ttURL, ttUnicode };

// The kind of a value text.
enum TAutoType { atNumeric, atFloat, atString, atDate, atTime, atScientific };

// --- Line breaks and special characters (CR = 13, LF = 10, a pair = CR LF) ----------------

// Each backslash + 'n' becomes one CR.
std::string CLFToLF(const std::string& s);
// Each CR becomes backslash + 'n'; each LF is dropped.
std::string LFToCLF(const std::string& s);
// Each pair becomes character 11; then the whole text is enclosed in double quotes.
void LineFeedsToCSV(std::string& s);
// The CR of each pair is removed; no quotes.
void LineFeedsToCSVNQ(std::string& s);
// When s holds character 11, each 11 becomes a pair.
void CSVToLineFeeds(std::string& s);
// Each CR becomes '~'; each LF is dropped.
void LineFeedsToJava(std::string& s);
// Each '~' becomes a pair; a result that is exactly "^" becomes empty.
void JavaToLineFeeds(std::string& s);
// Every CR is dropped.
std::string LineFeedsToXLS(const std::string& s);
// Every CR becomes LF.
std::string CRToLF(const std::string& s);
// When s holds a CR, each CR becomes "<br>" (LF stays); otherwise s unchanged.
std::string HTMLLineBreaks(const std::string& s);
// One-line encoding of a cell text for the grid's text cell files (see DizUtil.cpp for the
// exact scheme). FileToLf(LfToFile(s), true) == s for every s.
std::string LfToFile(const std::string& s);
// Decodes LfToFile's form (and the older form without escapes); with multiLine false only
// the first line is answered.
std::string FileToLf(const std::string& s, bool multiLine);
// Answers the text before the first CR and removes it, the CR and one LF right after it
// from s; without a CR answers s and empties s. With multiLine false s is emptied.
std::string GetNextLine(std::string& s, bool multiLine);
// 1 + the number of CRs when multiLine, else 1.
int LinesInText(const std::string& s, bool multiLine);

// --- Quoting, searching and counting ------------------------------------------------------

// Each double-quote character is doubled.
std::string CSVQuotes(const std::string& s);
// When s holds c: each doubled c becomes one c and each single c is removed.
std::string DoubleToSingleChar(char c, const std::string& s);
// Position of the last c of the first run of c of odd length that another character
// follows, or the last position when a run of c reaches the end; 0 when neither. p = result.
int SinglePos(char c, const std::string& s, int& p);
// How often SinglePos finds a position, cutting the text after each one.
int NumSingleChar(char c, const std::string& s);
// Number of occurrences of c.
int NumChar(char c, const std::string& s);
int NumCharInStr(char c, const std::string& s);
// First position of c.
int CharPos(char c, const std::string& s);
// First position of c; p receives it when found and is left alone otherwise.
int VarCharPos(char c, const std::string& s, int& p);
// As VarCharPos, comparing the upper-cased (A-Z only) bytes of s with c (given upper-case).
int VarCharPosNC(char c, const std::string& s, int& p);
// First position of sub; p receives it (0 when absent).
int VarPos(const std::string& sub, const std::string& s, int& p);
// First position of sub (given upper-case) in the upper-cased s (every letter, not only A-Z).
int FIPos(const std::string& sub, const std::string& s);
// First position of sub in s; 0 when sub is empty or longer than s.
int StrPosWide(const std::u16string& sub, const std::u16string& s);
// The first byte of s that occurs in `set` and stands outside double quotes (each
// double-quote character toggles), with its position in p; character 0 and p = -1 when none.
char FirstChar(std::string_view set, const std::string& s, int& p);
// The text before the first separator; that text and the separator are removed from s.
// When the separator is absent: an empty answer and s unchanged.
std::string GetToken(std::string& s, char separator);
// All lines of the list joined without separators (empty for no list).
std::string StringListToText(const TStrings* list);

// --- Classification -----------------------------------------------------------------------

TTextType TextType(const std::string& s, bool allowHTML);
TAutoType IsType(const std::string& s);
// '0'..'9'.
bool CheckNum(char ch);
// '0'..'9' or '-'.
bool CheckSignedNum(char ch);
// s holds "://" or "mailto:".
bool IsURL(const std::string& s);
// Removes everything up to and including the first "://", else the first "mailto:".
void StripURLProtocol(std::string& s);
// s holds the date separator after its first character and once more after the first
// character of the rest.
bool IsDateStr(const std::string& s);

// --- Numbers, dates and other conversions -------------------------------------------------

// The plain form of a formatted number: "(12,50 EUR)" in a German locale gives "-12.50".
std::string RemoveSeps(const std::string& s);
// When the decimal separator is ',', the first ',' becomes '.'.
std::string FixDecimalSeparator(const std::string& s);
// value clamped to max (when max > 0) or min (when min > 0); min == max means no limits.
int CheckLimits(int value, int min, int max);
int Max(int a, int b);
int Min(int a, int b);
// m/d/y and d/m/y with '/', '.' or '-' as separator; 0 when the text is not of that form.
// One- and two-digit years: 0..25 are 20xx, larger 19xx; longer years are taken as written.
// Raises EConvertError for an impossible date.
TDateTime StrToShortdateUS(const std::string& s);
TDateTime StrToShortDateEU(const std::string& s);
// The next date of a series: only days → date + days; only years or only months → the same
// day that many years or months later (clamped to the month's last day); otherwise date + step.
TDateTime GetNextDate(TDateTime date, uint16_t years, uint16_t months, uint16_t days,
                      TDateTime step);
// "|\" followed by the high and low byte of each UTF-16 code unit.
std::string EncodeWideStr(const std::u16string& s);
// The reverse of EncodeWideStr for a text starting with "|\" (an odd last byte is ignored);
// any other text is converted from UTF-8.
std::u16string DecodeWideStr(const std::string& s);
// "R<row>C<col>" (any case) → cell.X = col, cell.Y = row; false (cell untouched) otherwise.
bool NameToCell(const std::string& s, TPoint& cell);
// "RRGGBB" in upper-case hex of the colour's low three bytes.
std::string HTMLColor(TColor colour);
// "[Left:Top][Right:Bottom]".
std::string RectString(const TRect& rect);
// Capitalised words: "jOHN mcdonald iii" gives "John McDonald III".
std::string ShiftCase(const std::string& s);
// Every character of s becomes c (one c per UTF-8 character).
void StringToPassword(std::string& s, char c);
// Convert s from the system code page (UTF-8) to the OEM code page (CP866) and back.
void StringToOem(std::string& s);
void OemToString(std::string& s);

// ===========================================================================================
// Clipboard fragment, hyperlink and window utilities (DizUtilClip.cpp)
// ===========================================================================================

#include <functional>
#include <vector>

struct POINT;
struct SIZE;
struct BLENDFUNCTION;
struct HWND__;
struct HDC__;
using HWND = HWND__*;
using HDC = HDC__*;

// Replaces html (UTF-8; invalid bytes are repaired) by the complete "HTML Format"
// clipboard text around it: the Version/StartHTML/EndHTML/StartFragment/EndFragment
// header, whose numbers are the byte offsets counted from the start of the result, then
// the document with the fragment between the StartFragment and EndFragment comments.
void MakeFragment(std::string& html);

// result := text with the first address that begins with prefix (given upper-case; it is
// searched in the upper-cased text) made into an anchor <a href="address">address</a>.
// False, and result = text, when the prefix does not occur.
bool MakeHTMLHyperlink(const std::string& text, const std::string& prefix, std::string& result);

// Opening links: the link goes to the desktop's opener (xdg-open) as its one argument,
// started directly (no shell). Only http, https, ftp, mailto and file links are opened
// (any case); an address starting with "www." is opened as http. Anything else, or a
// link holding control characters, is not opened.
bool IsOpenableLink(const std::string& link);
// True when the opener was started for the link.
bool OpenHyperlink(const std::string& link);
// The program and arguments that start the opener ({"xdg-open", link}); tests replace it
// so that no program is started. The launcher answers whether it started the program.
using TLinkLauncher = std::function<bool(const std::vector<std::string>& argv)>;
// Installs a launcher (an empty one restores the default) and answers the one before.
TLinkLauncher SetLinkLauncher(TLinkLauncher launcher);

// The window system's layered-window calls, looked up by name in "user32.dll" at each call
// (see DizThemeBinding.h for the library model). They answer false when the library or the
// function is missing (no layered windows) as well as when the call fails; the alpha is
// passed as its low eight bits.
bool DynaLink_UpdateLayeredWindow(HWND window, HDC dcDst, POINT* ptDst, SIZE* size, HDC dcSrc, POINT* ptSrc,
                                  std::uint32_t colorKey, BLENDFUNCTION* blend, std::uint32_t flags);
bool DynaLink_SetLayeredWindowAttributes(HWND window, std::uint32_t colorKey, std::uint32_t alpha,
                                         std::uint32_t flags);

// ===========================================================================================
// Cell drawing primitives (DizUtilDraw.cpp)
// ===========================================================================================
// Each function draws on a canvas with its pen, brush and font and leaves them changed.
// Rectangles have exclusive Right and Bottom. Colours are framework colours (system colours
// resolved); a colour of clNone draws nothing where it would fill or stroke.

class TCanvas;
class TBitmap;
class TFont;
class TWinControl;

// Which part of a selection spanning several cells a cell is.
enum TGradientPart { gpFull, gpLeft, gpRight, gpMiddle };

enum TCellShape {
  csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
  csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp,
  csArrowDown, csArrowLeft, csArrowRight, csHalfStar
};

enum TGaugeOrientation : std::uint8_t { goHorizontal, goVertical };

// The grid's progress appearance, as DrawGauge reads it.
struct TGaugeSettings {
  TColor Level0Color = 0, Level0ColorTo = 0;
  TColor Level1Color = 0, Level1ColorTo = 0;
  TColor Level2Color = 0, Level2ColorTo = 0;
  TColor Level3Color = 0, Level3ColorTo = 0;
  std::int32_t Level1Perc = 0;
  std::int32_t Level2Perc = 0;
  TColor BorderColor = 0;
  bool ShowBorder = false;
  bool Stacked = false;
  bool ShowPercentage = false;
  TFont* Font = nullptr;  // not owned; null keeps the canvas font
  bool CompletionSmooth = false;
  bool ShowGradient = false;
  std::int32_t Steps = 0;
  std::int32_t Reserved = 0;  // not read by the drawing
  TColor BackgroundColor = 0;
  TGaugeOrientation Orientation = goHorizontal;
};

// Bands of colour from fromColor to toColor across the rectangle (left to right when
// horizontal, else top to bottom); steps 0 counts as 1; toColor clNone fills solid.
void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const TRect& r, bool horizontal);
// The colour at position of a gradient from first to last (fromColor when they are equal).
TColor GradientAt(TColor fromColor, TColor toColor, int first, int last, int position);
void DrawVistaGradient(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor mirrorColor,
                       TColor mirrorColorTo, bool vertical, TColor borderColor, bool sidesOnly, bool fill);
// The office selection box of one cell of a selection.
void DrawSelectionGradient(TCanvas* canvas, TColor upperFrom, TColor upperTo, TColor lowerFrom, TColor lowerTo,
                           TColor innerUpperLine, TColor innerLowerLine, TColor outerBorder, TColor cornerBlend,
                           TColor corner, const TRect& r, TGradientPart part);
void DrawGauge(TCanvas* canvas, const TRect& r, int position, const TGaugeSettings& settings);
// A bar with its text changing colour where the bar ends. Equal minimum and maximum show
// an empty bar.
void DrawProgressLin(TCanvas* canvas, const TRect& r, TColor fillColor, TColor fillTextColor, TColor restColor,
                     TColor restTextColor, double value, int marginX, int marginY, double minimum,
                     double maximum, const std::string& format, TColor borderColor, bool upwardText);
void DrawProgressPie(TCanvas* canvas, const TRect& r, TColor color, int percentage, bool outerStart);
// A bar from the middle leftward (negative) or rightward; range 0 draws no bar.
void DrawRangeIndicator(TCanvas* canvas, const TRect& r, int value, int range, bool showValue,
                        TColor negativeColor, TColor positiveColor);
void DrawShape(TCanvas* canvas, int left, int top, int width, int height, TCellShape shape, TColor fillColor,
               TColor lineColor);
// A small downward triangle under (x, y).
void DrawTriangle(TCanvas* canvas, int x, int y, TColor color);
// A red wavy underline under count characters of text from the 0-based character first,
// the text laid out from the rectangle's top-left corner in the canvas font.
void DrawErrorLines(TWinControl* control, TCanvas* canvas, const std::string& text, const TRect& r, int offset,
                    int first, int count);
void DrawComboButton(TCanvas* canvas, HWND window, const TRect& r, bool themed, bool unused = false);
void DrawSpinButtons(TCanvas* canvas, HWND window, const TRect& r, bool themed, bool unused = false);
// The bitmap at the rectangle's top-left, its top-left pixel's colour shown as
// background colour (clNone: left transparent).
void DrawBitmapTransp(TCanvas* canvas, TBitmap* bitmap, TColor backgroundColor, const TRect& r);
void DrawBitmapResourceTransp(TCanvas* canvas, TColor backgroundColor, const TRect& r,
                              const std::string& resourceName);
// Each of red, green and blue halved; clNone stays clNone.
TColor DarkenColor(TColor color);

// Filter expressions (DizUtilMatch.cpp): terms joined left to right by '&' (and) and
// ';', '^', '|' (or), with groups in parentheses. A term compares with >, >=, <, <= against
// a number, a date or a text, or is a wildcard pattern with '*', '?', '\' and '!'.
bool MatchStrEx(const std::string& expression, const std::string& text, bool caseSensitive);
bool MatchStr(const std::string& term, const std::string& text, bool caseSensitive);
bool Matches(const std::string& term, const std::string& text);
