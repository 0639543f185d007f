#pragma once
// Text encodings. Text is UTF-8 in memory; UTF-16 (wide text) and the single-byte code
// pages 1251 (Cyrillic), 1252 (Western), 866 (Cyrillic DOS) and 20866 (KOI8-R) are
// converted at the boundary of the formats that use them. Invalid UTF-8 or UTF-16
// becomes U+FFFD; a character a code page cannot hold becomes '?'. Bytes a code page
// leaves undefined map to the C1 control of the same value, so they round-trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Exceptions.h"

constexpr int CP_UTF8 = 65001;
constexpr int CP_WIN1251 = 1251;
constexpr int CP_WIN1252 = 1252;
constexpr int CP_OEM866 = 866;
constexpr int CP_KOI8R = 20866;

std::u16string Utf8ToUtf16(std::string_view s);
std::string Utf16ToUtf8(std::u16string_view s);

// The code page's bytes for UTF-8 text, and back. Code page 65001 copies the text
// (repairing invalid sequences when decoding); any other unknown code page raises
// EConvertError.
std::string Utf8ToCodePage(int codePage, const std::string& s);
std::string CodePageToUtf8(int codePage, const std::string& s);
bool IsCodePageSupported(int codePage);

// Number of code points (invalid bytes count one each).
std::size_t Utf8Length(std::string_view s);

// Decodes the code point at s[pos] and advances pos past it; an invalid sequence gives
// U+FFFD and advances one byte. pos must be below s.size().
char32_t Utf8Next(std::string_view s, std::size_t& pos);
// Appends the UTF-8 form of a code point (surrogates and values above U+10FFFF
// become U+FFFD).
void Utf8Append(std::string& out, char32_t cp);
std::string CodePointToUtf8(char32_t cp);
