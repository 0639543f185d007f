#pragma once
// VxCoreUtils: the utility unit of the label subsystem, free functions without state
// (besides the few unit variables named below). Positions are 1-based and 0 means "not
// found". A byte string is UTF-8 text in std::string: searching, cutting at separators
// and fields count bytes, while padding and cutting to a length (AddSpaces, AddChar,
// AddCharR, LeftStr, RightStr, CenterStr, MinimizeString) count code points. A name
// ending in W works on UTF-16 text (std::u16string, or char16_t pointers ending in a
// zero unit). The code-page functions (Dos2Win, Win2Dos, Win2Koi) work on raw bytes of
// those code pages. Conversions and property access raise the framework's exceptions.
//
// Sources: VxCoreUtilsChars.cpp (characters, wide strings, lists, values, properties),
// VxCoreUtilsWords.cpp (words, positions, fields, replacing), VxCoreUtilsStrings.cpp
// (string functions), VxCoreUtilsNumbers.cpp (number bases, Roman numerals, wildcards,
// XOR coding), VxCoreUtilsConvert.cpp (number texts, variants, code pages, memory
// blocks, command lines, dialog units), VxCoreUtilsDates.cpp (dates), VxCoreUtilsFiles.cpp
// (paths, files, links), VxCoreUtilsProcess.cpp (programs, windows), VxCoreUtilsDrawing.cpp
// (text effects, item mark-up, drawing), VxCoreUtilsRle.cpp (RLE, clipboard, icons).
#include <any>
#include <bitset>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/rtl/Currency.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Types.h"
#include "platform/rtl/Variants.h"
#include "platform/vcl/TypInfo.h"
#include "platform/gdi/GdiTypes.h"

class TCanvas;
class TBitmap;
class TIcon;
class TStream;
class TMemoryStream;
struct HICON__;
using HICON = HICON__*;

namespace VxCoreUtils {

// A set of byte values 0 to 255.
struct TSysCharSet {
  std::bitset<256> Bits;
  TSysCharSet() = default;
  TSysCharSet(std::initializer_list<unsigned char> Items) {
    for (unsigned char c : Items) Bits.set(c);
  }
  bool Contains(unsigned char C) const { return Bits.test(C); }
  bool Empty() const { return Bits.none(); }
  TSysCharSet& Include(unsigned char C) { Bits.set(C); return *this; }
};

struct TPointL {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPointL&, const TPointL&) = default;
};

using TDate = TDateTime;
using TTime = TDateTime;

// ---------------------------------------------------------------------------------
// Characters, wide strings, string lists, values

// Count copies of Ch into Buffer; nothing for a count of 0 or less.
void FillWideChar(char16_t* Buffer, int Count, char16_t Ch);
// Count code units from Source to Dest; the ranges may overlap.
void MoveWideChar(const char16_t* Source, char16_t* Dest, int Count);
std::string Spaces(int N);
std::u16string SpacesW(int N);
// S followed by spaces up to N characters; S when it has N or more, or N <= 0.
std::string AddSpaces(const std::string& S, int N);
std::u16string AddSpacesW(const std::u16string& S, int N);

bool HasChar(char Ch, const std::string& S);
bool HasCharW(char16_t Ch, const std::u16string& S);
bool HasAnyChar(const std::string& Chars, const std::string& S);
int CountOfChar(char Ch, const std::string& S);
bool CharInSet(char Ch, const TSysCharSet& Set);
// False for every code unit of 256 or more.
bool CharInSetW(char16_t Ch, const TSysCharSet& Set);
// Equal without regard to case.
bool Cmp(const std::string& S1, const std::string& S2);
std::string StringCat(std::string& S1, const std::string& S2);
std::string DefStr(const std::string& S, const std::string& Default);
// At most MaxLength units of each, compared without regard to case: <0, 0, >0.
int StrLICompW2(const char16_t* S1, const char16_t* S2, int MaxLength);
// The first occurrence of SubStr in Str (exact); null when none or either is empty.
const char16_t* StrPosW(const char16_t* Str, const char16_t* SubStr);
int StrLenW(const char16_t* Str);
// Without code units of 32 or less at both ends, the start or the end.
std::u16string TrimW(const std::u16string& S);
std::u16string TrimLeftW(const std::u16string& S);
std::u16string TrimRightW(const std::u16string& S);

// Assigns Text as the list's delimited text with Delimiter, restoring the list's own
// delimiter afterwards (also when the assignment raises).
void SetDelimitedText(TStrings* List, const std::string& Text, char Delimiter);
int CountOfLines(const std::string& S);
// Deletes the lines that are empty after trimming blanks and controls.
void DeleteEmptyLines(TStrings* List);
// Inserts "and <Condition>" at the end of the last WHERE section of an SQL text held one
// clause per line (before its "order "/"group " line); before the last line without one.
void SQLAddWhere(TStrings* SQL, const std::string& Condition);
// Frees every item as an object, then empties the list; a null list is left alone.
void ClearList(TList* List);

void SwapInt(int& A, int& B);
// Base to the power Exponent in 32-bit arithmetic that wraps; 1 for 0, 0 below 0.
int IntPower(int Base, int Exponent);
TPointL PointL(int32_t X, int32_t Y);
TRect TrueInflateRect(const TRect& R, int I);
// Whether the key was down at the last input message.
bool KeyPressed(int VirtualKey);
// Raises Exception with the message.
[[noreturn]] void Error(const std::string& Message);
// While an exception is being handled: records NewObject to be used in its place by a
// re-raise through ReRaiseException and by the application's exception handler, and
// returns the exception it replaced. Outside a handler: returns null, changes nothing.
std::exception_ptr ChangeTopException(std::exception_ptr NewObject);
// Inside a handler: raises the exception being handled, or its replacement.
[[noreturn]] void ReRaiseException();

// Published properties by name.
void SetChildPropOrd(TComponent* Owner, const std::string& Name, int64_t Value);
// The property's kind, tkUnknown when the class has no such property.
TTypeKind GetPropType(TObject* Instance, const std::string& Name);
// Exception "Property "<name>" does not exist" / "Property "<name>" has invalid type".
std::string GetPropStr(TObject* Instance, const std::string& Name);
// Integer, character, enumeration and class (the object's address) properties.
int64_t GetPropOrd(TObject* Instance, const std::string& Name);
// An event property's value (empty when unassigned).
std::any GetPropMethod(TObject* Instance, const std::string& Name);

// ---------------------------------------------------------------------------------
// Words and positions

// The bytes that delimit words (the terminator 0 among them).
extern const TSysCharSet Separators;

// -1 past the end; else the carriage returns among characters 1..Pos.
int GetLineByPos(const std::string& S, int Pos);
// Line (Y, line feeds before Pos) and column (X) of a position; -1, -1 out of range.
void GetXYByPos(const std::string& S, int Pos, int& X, int& Y);
void GetXYByPosW(const std::u16string& S, int Pos, int& X, int& Y);
// Where the caret ends after Text is inserted at (CaretX, CaretY).
void GetEndPosCaret(const std::string& Text, int CaretX, int CaretY, int& X, int& Y);
void GetEndPosCaretW(const std::u16string& Text, int CaretX, int CaretY, int& X, int& Y);

// The word containing P (the separator itself when P is on one).
std::string GetWordOnPos(const std::string& S, int P);
std::u16string GetWordOnPosW(const std::u16string& S, int P);
// The word at or after a caret at P; WordEnd is the position after it.
std::string GetWordOnPos2(const std::string& S, int P, int& WordStart, int& WordEnd);
std::u16string GetWordOnPos2W(const std::u16string& S, int P, int& WordStart, int& WordEnd);
// The word at P, or the one just before a separator at P; WordEnd is after the word.
std::string GetWordOnPosEx(const std::string& S, int P, int& WordStart, int& WordEnd);
std::u16string GetWordOnPosExW(const std::u16string& S, int P, int& WordStart, int& WordEnd);
// The word at Start or the next one; WordEnd is the word's last character.
std::string GetNextWordPosEx(const std::string& Text, int Start, int& WordStart, int& WordEnd);
std::u16string GetNextWordPosExW(const std::u16string& Text, int Start, int& WordStart, int& WordEnd);
// The characters from P to the first separator; P2 points at that separator.
std::string SubWord(const char* P, const char*& P2);

// Field Index (from 0) of S split at Separator; empty past the last one.
std::string SubStr(const std::string& S, int Index, const std::string& Separator);
std::u16string SubStrW(const std::u16string& S, int Index, const std::u16string& Separator);
// Field Index counted from the end.
std::string SubStrEnd(const std::string& S, int Index, const std::string& Separator);
// Every occurrence of Pattern replaced; inserted text is not searched again.
std::string ReplaceString(const std::string& S, const std::string& Pattern, const std::string& Replacement);
std::u16string ReplaceStringW(const std::u16string& S, const std::u16string& Pattern,
                              const std::u16string& Replacement);
// Replaces the word at a caret (Count 0; Start is the position after the caret) or the
// selection of Count characters at Start by its phrase: Phrases[Words.IndexOf(word)].
std::string ReplaceStrings(const std::string& S, int Start, int Count, TStrings* Words,
                           TStrings* Phrases, int& NewCaret);
std::string ReplaceAllStrings(const std::string& S, TStrings* Words, TStrings* Phrases);
std::string ConcatSep(const std::string& S, const std::string& S2, const std::string& Separator);
std::string ConcatLeftSep(const std::string& S, const std::string& S2, const std::string& Separator);
// S cut to MaxLength characters, ending in "..." when MaxLength is above 2.
std::string MinimizeString(const std::string& S, int MaxLength);

// ---------------------------------------------------------------------------------
// String functions

std::string BufToBinStr(const void* Buffer, int Size);
// EConvertError for a pair that is not hexadecimal.
int BinStrToBuf(const std::string& Value, void* Buffer, int Size);
// Text to and from the OEM code page (866) bytes.
std::string StrToOem(const std::string& S);
std::string OemToAnsiStr(const std::string& S);
bool IsEmptyStr(const std::string& S, const TSysCharSet& Chars);
std::string ReplaceStr(const std::string& S, const std::string& Find, const std::string& Replace);
std::string DelChars(const std::string& S, char Ch);
std::string DelSpace(const std::string& S);
std::string DelBSpace(const std::string& S);
std::string DelESpace(const std::string& S);
std::string DelRSpace(const std::string& S);
std::string DelSpace1(const std::string& S);
std::string Tab2Space(const std::string& S, uint8_t Count);
std::string MakeStr(char Ch, int N);
std::u16string MakeStr(char16_t Ch, int N);
std::string MS(char Ch, int N);
// Ch before (AddChar) or after (AddCharR) S up to N characters; never shortened.
std::string AddChar(char Ch, const std::string& S, int N);
std::string AddCharR(char Ch, const std::string& S, int N);
// Padded with spaces on the right (LeftStr) or left (RightStr) to N characters.
std::string LeftStr(const std::string& S, int N);
std::string RightStr(const std::string& S, int N);
std::string CenterStr(const std::string& S, int Len);
// Position of the N-th (overlapping) occurrence of Sub in S; 0 when none.
int NPos(const std::string& Sub, const std::string& S, int N);
// -1, 0 or 1 by the locale's order (hyphens sort as symbols).
int CompStr(const std::string& S1, const std::string& S2);
int CompText(const std::string& S1, const std::string& S2);
std::string Copy2Symb(const std::string& S, char Ch);
// Returns the text before Ch; S keeps the rest from Ch on, leading spaces removed.
std::string Copy2SymbDel(std::string& S, char Ch);
std::string Copy2Space(const std::string& S);
std::string Copy2SpaceDel(std::string& S);
int FindNotBlankCharPos(const std::string& S);
int FindNotBlankCharPosW(const std::u16string& S);
bool StringStartsWith(const std::string& S, const std::string& SubText);
bool StringEndsWith(const std::string& S, const std::string& SubText);
// Every occurrence of Sub removed without regard to case, until none is left.
std::string StrDelete(const std::string& Sub, const std::string& S);
std::string AnsiProperCase(const std::string& S, const TSysCharSet& Delims);
std::string AnsiChangeCase(const std::string& S);
std::u16string WideChangeCase(const std::u16string& S);
std::string AnsiUpperFirstChar(const std::string& S);
int WordCount(const std::string& S, const TSysCharSet& Delims);
int WordPosition(int N, const std::string& S, const TSysCharSet& Delims);
std::string ExtractWord(int N, const std::string& S, const TSysCharSet& Delims);
std::string ExtractWordPos(int N, const std::string& S, const TSysCharSet& Delims, int& Pos);
// Field N (from 1) between single delimiters; empty fields count.
std::string ExtractDelimited(int N, const std::string& S, const TSysCharSet& Delims);
std::string ExtractSubstr(const std::string& S, int& Pos, const TSysCharSet& Delims);
bool IsWordPresent(const std::string& W, const std::string& S, const TSysCharSet& Delims);
std::string QuotedString(const std::string& S, char Quote);
std::string ExtractQuotedString(const std::string& S, char Quote);
// A comma before every group of three characters from the right ("1234" -> "1,234").
std::string Numb2USA(const std::string& S);
// The edit's text after Key is typed over Count characters at the 0-based caret Start.
std::string GetChangedText(const std::string& Text, int Start, int Count, char Key);
// A new zero-terminated copy; released with StrPFree.
char* StrPAlloc(const std::string& S);
void StrPFree(char* P);
char* StringToPChar(std::string& S);
// S without a leading T or t (when more follows).
std::string DropT(const std::string& S);

// ---------------------------------------------------------------------------------
// Number bases, Roman numerals, wildcards, XOR coding

std::string Dec2Hex(int32_t N, uint8_t A);
std::string D2H(int32_t N, uint8_t A);
int32_t Hex2Dec(const std::string& S);
int32_t H2D(const std::string& S);
// N as unsigned 32 bits in base B ("0".."9", "A".."Z"), zeros in front up to A
// characters; empty for a base below 2.
std::string Dec2Numb(int32_t N, uint8_t A, uint8_t B);
int32_t Numb2Dec(const std::string& S, uint8_t B);
int32_t RomanToInt(const std::string& S);
std::string IntToRoman(int32_t Value);
// The low Digits bits, a space before every group of Spaces digits (the first included);
// no spaces for Spaces below 1.
std::string IntToBin(int32_t Value, int32_t Digits, int32_t Spaces);
// Position of Part in S, "?" in Part matching any character.
int FindPart(const std::string& Part, const std::string& S);
// S against a pattern of "?" (one character) and "*" (any run).
bool IsWild(const std::string& S, const std::string& Pattern, bool IgnoreCase);
std::string XorString(const std::string& Key, const std::string& S);
std::string XorEncode(const std::string& Key, const std::string& S);
std::string XorDecode(const std::string& Key, const std::string& S);
// The parameter after the switch Switch (marked by a character of Chars) on the program's
// command line; empty when there is none.
std::string GetCmdLineArg(const std::string& Switch, const TSysCharSet& Chars);

// ---------------------------------------------------------------------------------
// Number texts, variants, code pages, memory blocks, command lines, dialog units

std::string USToLocalFloatStr(const std::string& S);
Extended StrToFloatUS(const std::string& S);
Extended StrToFloatUSDef(const std::string& S, Extended Default);
std::string CurrencyToStr(Currency Value);
bool StrToBool(const std::string& S);

bool CharIsMoney(char Ch);
bool StrIsInteger(const std::string& S);
bool StrIsFloatMoney(const std::string& S);
// Only signs, digits and the decimal separator of S kept, then converted; Def on failure.
Currency StrToCurrDef(const std::string& S, Currency Def);
Extended StrToFloatDef(const std::string& S, Extended Def);
Extended IntToExtended(int I);
std::string TextToValText(const std::string& S);
int BooleanToInteger(bool B);
bool StringToBoolean(const std::string& S);
// Raises EOSError for the last system error when Value is false.
bool OSCheck(bool Value);

bool VarIsInt(const Variant& V);
// V converted to VarType, with 0, 0.0, "", False or Null for an empty or null V.
Variant Var2Type(const Variant& V, TVarType VarType);
int VarToInt(const Variant& V);
double VarToFloat(const Variant& V);
Variant iif(bool Condition, const Variant& WhenTrue, const Variant& WhenFalse);
// Two or more values: an array of them; one: that value; none: Null.
Variant MakeVariant(std::initializer_list<Variant> Values);

// Cyrillic letters between code page 866 and Windows-1251 bytes, in place or on a copy.
void Dos2Win(std::string& S);
void Win2Dos(std::string& S);
std::string Dos2WinRes(const std::string& S);
std::string Win2DosRes(const std::string& S);
// Windows-1251 letter bytes to their KOI8-R codes.
std::string Win2Koi(const std::string& S);

// How long ago the date was, in Russian ("вчера", "3 дня назад", "в будущем").
std::string LastDateRUS(TDateTime D);

// Zero-filled locked global blocks known by their address.
void* AllocMemo(int Size);
void* ReallocMemo(void* Block, int Size);
void FreeMemo(void*& Block);
int GetMemoSize(void* Block);
bool CompareMem(const void* Block1, const void* Block2, uint32_t Size);
void HugeInc(void*& P, int Count);
void HugeDec(void*& P, int Count);
void* HugeOffset(void* P, int Count);
void HMemCpy(void* Dst, const void* Src, int Count);
// Moves Size pointers from index Src to index Dst of the array at Base.
void HugeMove(void* Base, int Dst, int Src, int Size);

// The program and its parameters (each holding a space quoted again) of a command line.
void SplitCommandLine(const std::string& CmdLine, std::string& Prog, std::string& Params);

uint16_t DialogUnitsToPixelsX(uint16_t Units);
uint16_t DialogUnitsToPixelsY(uint16_t Units);
uint16_t PixelsToDialogUnitsX(uint16_t Units);
uint16_t PixelsToDialogUnitsY(uint16_t Units);

// ---------------------------------------------------------------------------------
// Dates

enum TdtKind { dtkDateOnly, dtkTimeOnly, dtkDateTime };
enum TDateOrder { doMDY, doDMY, doYMD };

// The empty date (30 December 1899 unless a program sets another) and the value
// DateIsNull compares with.
extern TDateTime NullDate;
extern TDateTime NullEquivalentDate;
// Years before the current one where the window of two-digit years begins.
extern uint8_t CenturyOffset;

bool IsLeapYear(int Year);
int DaysPerMonth(int Year, int Month);
TDateTime FirstDayOfNextMonth();
TDateTime FirstDayOfPrevMonth();
TDateTime LastDayOfPrevMonth();
uint16_t ExtractDay(TDateTime Date);
uint16_t ExtractMonth(TDateTime Date);
int ExtractYear(TDateTime Date);
uint16_t CurrentYear();
// Days, months and years added; a day past the target month's end becomes its last day.
TDateTime IncDate(TDateTime Date, int Days, int Months, int Years);
TDateTime IncDay(TDateTime Date, int Delta);
TDateTime IncMonth(TDateTime Date, int Delta);
TDateTime IncYear(TDateTime Date, int Delta);
// The difference in years, months and days, whichever date comes first.
void DateDiff(TDateTime Date1, TDateTime Date2, uint16_t& Days, uint16_t& Months, uint16_t& Years);
double MonthsBetween(TDateTime Date1, TDateTime Date2);
bool ValidDate(TDateTime Date);
int DaysInPeriod(TDateTime Date1, TDateTime Date2);
int DaysBetween(TDateTime Date1, TDateTime Date2);
// Time plus the components; a result before midnight of day 0 wraps into that day.
TDateTime IncTime(TDateTime Time, int Hours, int Minutes, int Seconds, int MSecs);
TDateTime IncHour(TDateTime Time, int Delta);
TDateTime IncMinute(TDateTime Time, int Delta);
TDateTime IncSecond(TDateTime Time, int Delta);
TDateTime IncMSec(TDateTime Time, int Delta);
// The whole-day part (truncated toward zero), the time part.
TDateTime CutTime(TDateTime Date);
TDateTime DateOnly(TDateTime Value);
TDateTime TimeOnly(TDateTime Value);
bool DateIsNull(TDateTime Value, TdtKind Kind);

TDateOrder GetDateOrder(const std::string& DateFormat);
uint8_t MonthFromName(const std::string& S, uint8_t MaxLen);
// The text read by the positions of the format's fields, else scanned freely; an empty
// text is NullDate. EConvertError "'<text>' is not a valid date".
TDateTime StrToDateFmt(const std::string& DateFormat, const std::string& S);
TDateTime StrToDateDef(const std::string& S, TDateTime Default);
TDateTime StrToDateFmtDef(const std::string& DateFormat, const std::string& S, TDateTime Default);
std::string DefDateFormat(bool FourDigitYear);
std::string DefDateMask(char BlankChar, bool FourDigitYear);
std::string FormatLongDate(TDateTime Value);
std::string FormatLongDateTime(TDateTime Value);
bool IsFourDigitYear();
bool FourDigitYear();
// Exception "VxCoreUtils.MakeYear4Digit: Pivot < 0" for a negative pivot.
int MakeYear4Digit(int Year, int Pivot);
std::string PreformatDateString(const std::string& S);
bool StrIsDateTime(const std::string& S);
TDateTime SafeStrToDateTime(const std::string& S);
TDateTime SafeStrToDate(const std::string& S);
TDateTime SafeStrToTime(const std::string& S);

// ---------------------------------------------------------------------------------
// Paths, folders, files, command line, computer, links (VxCoreUtilsFiles.cpp).
// Path texts take "\" and "/" as separators; an added separator is "/" when the text
// already uses "/" and no "\", else "\". Files are reached as POSIX paths ("\" read as
// "/"). Hidden means a leading dot; the short 8.3 name is the long name; read-only means
// not writable by us; file times are local modification times.

enum : int {
  faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faVolumeID = 0x08,
  faDirectory = 0x10, faArchive = 0x20, faAnyFile = 0x3F,
};
struct TVxSearchRec {
  std::string Name;       // long name
  std::string ShortName;  // the same as Name here
  int Attr = 0;
  int64_t Size = 0;
  TDateTime Time = 0;
};

void AddSlash(std::string& Dir);
std::string AddSlash2(const std::string& Dir);
std::string AddPath(const std::string& FileName, const std::string& Path);
std::string AddPaths(const std::string& PathList, const std::string& Path);
std::string ParentPath(const std::string& Path);
std::string FindInPath(const std::string& FileName, const std::string& PathList);
std::string FileNewExt(const std::string& FileName, const std::string& Extension);
std::string MakeValidFileName(const std::string& FileName, const std::string& Replacement);
std::string ExePath();
bool FileGetInfo(const std::string& FileName, TVxSearchRec& SearchRec);
bool HasSubFolder(const std::string& Folder);
bool IsEmptyFolder(const std::string& Folder);
// 0 when an entry matched, else the system's error code (ERROR_FILE_NOT_FOUND, ...).
int ReadFolder(const std::string& Folder, const std::string& Mask, TStrings* Names);
int ReadFolders(const std::string& Folder, TStrings* Names);
// Copies a tree into a new folder; directory links are copied as links, never followed.
bool CopyDir(const std::string& Source, const std::string& Destination);
bool DeleteReadOnlyFile(const std::string& FileName);
// Seconds since the epoch (UTC) as a local date with two-second resolution.
TDateTime FileTimeToDateTime(int64_t UnixTime);
// No LZ expansion library here: always false.
bool LZFileExpand(const std::string& Source, const std::string& Dest);
// Lines ended by CR LF; written to a temporary file beside it, then renamed over it.
void SaveTextFile(const std::string& FileName, const std::string& Text);
std::string LoadTextFile(const std::string& FileName);
bool IniReadSection(const std::string& FileName, const std::string& Section, TStrings* Lines);
void PrepareIniSection(TStrings* Lines);
bool HasParam(const std::string& Name);
bool HasSwitch(const std::string& Name);
std::string Switch(const std::string& Name);
std::string GetComputerName();
std::string GetComputerID();
// Resources are the program's embedded resources by type and name; Module is unused.
bool ResSaveToFileEx(const void* Module, const std::string& ResourceType, const std::string& ResourceName,
                     bool Compressed, const std::string& FileName);
bool ResSaveToFile(const std::string& ResourceType, const std::string& ResourceName, bool Compressed,
                   const std::string& FileName);
bool ResSaveToString(const void* Module, const std::string& ResourceType, const std::string& ResourceName,
                     std::string& S);

std::string ExtractFilePath2(const std::string& FileName);
std::string NormalDir(const std::string& Dir);
std::string RemoveBackSlash(const std::string& Dir);
bool ValidFileName(const std::string& FileName);
std::string GetLongFileName(const std::string& FileName);
std::string ShortToLongFileName(const std::string& Name);
std::string LongToShortFileName(const std::string& Name);
std::string ShortToLongPath(const std::string& Name);
std::string LongToShortPath(const std::string& Name);
std::string GetParameter();
std::string GetUniqueFileNameInDir(const std::string& Path, const std::string& Mask);
TDateTime FileDateTime(const std::string& FileName);
bool HasAttr(const std::string& FileName, int Attr);
std::string GetWindowsDir();
std::string GetSystemDir();
// $TMPDIR with a trailing "/", else "/tmp/".
std::string GetTempDir();
// Creates a new empty file "~VX…" (mode 0600) and returns its name; the file is kept so
// nobody else can take the name. "~VXLTemp.tmp" when no file can be made.
std::string GenTempFileName(const std::string& FileName);
std::string GenTempFileNameExt(const std::string& FileName, const std::string& Ext);
// Open-file byte-range locks (fcntl OFD locks) on a file descriptor: 0 or the error code.
int FileLock(int Handle, int32_t Offset, int32_t Size);
int FileUnlock(int Handle, int32_t Offset, int32_t Size);
int FileLock(int Handle, int64_t Offset, int64_t Size);
int FileUnlock(int Handle, int64_t Offset, int64_t Size);
// False when any deletion failed or nothing matched.
bool DeleteFiles(const std::string& Folder, const std::string& Masks);
bool DeleteFilesEx(const std::vector<std::string>& Masks);
// Removes the contents; a directory link is removed as a link, its target left alone.
bool ClearDir(const std::string& Path);
bool DeleteDir(const std::string& Path);
bool FileEquMask(const std::string& FileName, const std::string& Mask, bool CaseSensitive = false);
bool FileEquMasks(const std::string& FileName, const std::string& Masks, bool CaseSensitive = false);
// Desktop Entry links "<LinkName>.desktop": folder 0 the desktop, 2 the applications
// menu, 7 autostart; another folder or a LinkName with "/", "\" or ".." raises EOleSysError.
void CreateFileLink(const std::string& FileName, const std::string& LinkName, int Folder);
void DeleteFileLink(const std::string& LinkName, int Folder);
// The folder of a shell folder number (0, 2, 7 as above, 8 recent, 5 documents);
// EOleSysError for another number.
std::string ShellFolderPath(int Folder);

class EOleSysError : public Exception {
public:
  EOleSysError(std::string Message, int32_t Code) : Exception(std::move(Message)), ErrorCode(Code) {}
  const char* ClassName() const noexcept override { return "EOleSysError"; }
  int32_t ErrorCode;
};

// ---------------------------------------------------------------------------------
// Programs, errors, environment, instances, windows (VxCoreUtilsProcess.cpp).

// xdg-open of the absolute path (or URL) without a shell; true when it started.
bool OpenObject(const std::string& Value);
// A program (found in PATH) started with Parameters split like a command line, in
// Directory; a document or folder goes to xdg-open.
void Exec(const std::string& FileName, const std::string& Parameters, const std::string& Directory);
// Runs the command line (program and arguments split as a command line; no shell) and
// waits for it while the message loop keeps running. Returns the exit status, -1 when
// it could not start.
int ExecuteAndWait(const std::string& FileName, int Show);
bool RunDLL32(const std::string& Library, const std::string& Entry, const std::string& CmdLine, bool Wait,
              int Show);
// Raises EOSError "Text:System Error.  Code: n.\r\n..." for a non-zero last error.
void PError(const std::string& Text);
void RaiseLastWin32(const std::string& Text = "");
[[noreturn]] void ResourceNotFound(const char* Id);
std::string GetEnvVar(const std::string& Name);
std::string GetWindowsVersion();
uint32_t GetFileVersion(const std::string& FileName);
uint32_t GetShellVersion();
bool DiskInDrive(char Drive);
// A lock file in $XDG_RUNTIME_DIR held for the process's life.
bool FirstInstance(const std::string& Title);
void CenterWindow(HWND Wnd);
void KillMessage(HWND Wnd, UINT Msg);
void SetWindowTop(HWND Wnd, bool Top);
std::string WindowClassName(HWND Wnd);
void ShowWinNoAnimate(HWND Handle, int Show);
void ActivateWindow(HWND Wnd);
void GetVisibleWindows(TStrings* List);
namespace detail {
// Test seam: replaces posix_spawnp for OpenObject/Exec (argv[0] is the program).
using TSpawnHook = int (*)(const std::vector<std::string>& Argv, const std::string& Dir);
extern TSpawnHook SpawnHook;
}  // namespace detail

// ---------------------------------------------------------------------------------
// Text effects, item mark-up, drawing, RLE, clipboard icons (VxCoreUtilsDrawing.cpp,
// VxCoreUtilsRle.cpp).

int RATextOutEx(TCanvas* Canvas, const TRect& R, const TRect& ClipRect, const std::string& Text,
                bool MeasureOnly);
int RATextOut(TCanvas* Canvas, const TRect& R, const TRect& ClipRect, const std::string& Text);
int RATextCalcHeight(TCanvas* Canvas, const TRect& R, const std::string& Text);
void Cinema(TCanvas* Canvas, const TRect& FromRect, const TRect& ToRect);
void Roughed(TCanvas* Canvas, const TRect& Rect, bool Vertical);
TBitmap* BitmapFromBitmap(TBitmap* Source, int Width, int Height, int Index);
int TextHeight(const std::string& Text);
int TextWidth(const std::string& Text);
// Owner-draw state: only odSelected (1) is read.
void ItemHtDrawEx(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text,
                  bool IgnoreSelection, std::string& PlainText, int& Width, bool MeasureOnly);
void ItemHtDraw(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text,
                bool IgnoreSelection);
int ItemHtWidth(TCanvas* Canvas, const TRect& Rect, unsigned State, const std::string& Text,
                bool IgnoreSelection);
std::string ItemHtPlain(const std::string& Text);

bool PtInRectInclusive(TRect R, TPoint Pt);
bool PtInRectExclusive(TRect R, TPoint Pt);
int RectWidth(const TRect& R);
int RectHeight(const TRect& R);
std::string MinimizeFileName(const std::string& FileName, TCanvas* Canvas, int MaxLen);
std::string MinimizeText(const std::string& Text, TCanvas* Canvas, int MaxWidth);
void AntiAlias(TBitmap* Bitmap);
void AntiAliasRect(TBitmap* Bitmap, int X1, int Y1, int X2, int Y2);
void CopyRectDIBits(TCanvas* Canvas, const TRect& Dest, TBitmap* Bitmap, const TRect& Source);
bool IsTTFontSelected(HDC DC);
bool IsTrueType(const std::string& FontName);
// The null-terminated forms pass DT_MODIFYSTRING (0x10000) on, so Text must have room
// for 4 more bytes then; the string forms clear it and leave the text untouched.
int DrawText(TCanvas* Canvas, char* Text, int Count, TRect& Rect, unsigned Flags);
int DrawText(TCanvas* Canvas, const std::string& Text, int Count, TRect& Rect, unsigned Flags);
int DrawText(HDC DC, const std::string& Text, int Count, TRect& Rect, unsigned Flags);
int DrawText(TCanvas* Canvas, const std::u16string& Text, int Count, TRect& Rect, unsigned Flags);
int DrawTextW(TCanvas* Canvas, const std::u16string& Text, int Count, TRect& Rect, unsigned Flags);
int DrawTextEx(TCanvas* Canvas, const std::string& Text, int Count, TRect& Rect, unsigned Flags,
               DRAWTEXTPARAMS* Params);
int DrawTextW(TCanvas* Canvas, const char16_t* Text, int Count, TRect& Rect, unsigned Flags);
// Raster operations by ordinal (6 has no operation of its own and passes code 0).
enum RasterOp {
  roCopy, roOr, roXor, roDstAndNotSrc, roNotCopy, roNotSrcOrDst, roNone, roAnd, roDstInvert,
  roBlack, roWhite, roNop, roSrcAndNotDst, roSrcOrNotDst, roNand, roNor,
};
// The system code of an ordinal; 0 for 6 and above 15.
uint32_t RasterOpCode(int Ordinal);
bool BitBlt(TCanvas* DestCanvas, int X, int Y, int Width, int Height, TCanvas* SrcCanvas, int XSrc, int YSrc,
            uint32_t Rop, bool Flag);
bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, RasterOp Rop,
            bool Flag);
bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, uint32_t Rop,
            bool Flag);
bool BitBlt(HDC DestDC, int X, int Y, int Width, int Height, HDC SrcDC, int XSrc, int YSrc, uint32_t Rop);

void RleCompressTo(TStream& InStream, TStream& OutStream);
// Bounds-checked: any input expands without reading or writing past its buffers.
void RleDecompressTo(TStream& InStream, TStream& OutStream);
void RleCompress(TStream& Stream);
void RleDecompress(TStream& Stream);

void MemStreamToClipBoard(TMemoryStream& MemStream, UINT Format);
void ClipBoardToMemStream(TMemoryStream& MemStream, UINT Format);
UINT CF_ICON();
void CopyIconToClipboard(TIcon* Icon, TColor BackColor);
void AssignClipboardIcon(TIcon* Icon);
TIcon* CreateIconFromClipboard();
// The icon's own stored image as a system icon; damaged icon data raises EInvalidGraphic.
HICON CreateRealSizeIcon(TIcon* Icon);
void GetIconSize(HICON Icon, int& Width, int& Height);
void DrawRealSizeIcon(TCanvas* Canvas, TIcon* Icon, int X, int Y);

}  // namespace VxCoreUtils
