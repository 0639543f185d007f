#pragma once
// Deahtml internals shared by the utilities (Deahtml.cpp), the engine (DeahtmlDraw.cpp)
// and the system icons (DeahtmlIcons.cpp): case helpers, tag attributes, entities.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/rtl/Types.h"

namespace deahtml {

inline char Up(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline char Low(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
// Position of Pattern (given upper-case) in s, ASCII letters of s compared upper-cased.
std::size_t FindNoCase(std::string_view s, std::string_view upperPattern, std::size_t from = 0);
bool StartsNoCase(std::string_view s, std::string_view upperPattern);

// Decimal digits from the start up to the first other character; 0 when none. Values
// past a million are held at a million.
int ReadNumber(std::string_view s);
// True when s is a non-empty run of digits.
bool IsWholeNumber(std::string_view s);

// The value of an attribute in an upper-cased tag: the first occurrence of Name at or
// after From, then the text between the next two double quotes ("" when unquoted).
// ValuePos receives the value's offset (npos when none), so it can be re-read from the
// tag as written.
std::string TagValue(std::string_view upperTag, std::size_t from, std::string_view name,
                     std::size_t* valuePos = nullptr);
// SIZE: the number after the "=" (one opening quote skipped).
bool TagSize(std::string_view upperTag, std::size_t from, int& size);

// The nine entities decoded before tags are read (case-insensitive, repeated until none
// is left). Amp is what "&amp;" becomes ("&" or "&&").
std::string DecodeFirstStage(std::string_view s, std::string_view amp);
// "&nbsp;", "&lt;", "&gt;" inside a text piece.
std::string DecodePieceEntities(std::string_view s);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace deahtml

namespace deahtml {
// The attributes of a "<CONTROL …>" tag: TYPE upper-cased, VALUE entity-decoded, the
// others as written.
void ParseControl(const std::string& tag, std::string& type, std::string& id, std::string& value,
                  std::string& width, std::string& prop, std::string& maxLen);
}  // namespace deahtml
