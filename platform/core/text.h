#pragma once
// Text helpers. Strings are UTF-8 throughout the engine; UTF-16 appears only at
// library boundaries that want it.
#include <string>
#include <string_view>

namespace platform {

std::string StrPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
// ISO-8859-1 bytes, '?' for every character outside it.
std::string Utf8ToLatin1(std::string_view text);
std::string Latin1ToUtf8(std::string_view text);

// The first maxChars characters (code points) of text; never splits a character.
std::string Utf8Left(std::string_view text, std::size_t maxChars);

bool EqualsNoCase(std::string_view a, std::string_view b);  // ASCII letters only
std::string_view Trim(std::string_view text);                // blanks, tabs, CR, LF

}  // namespace platform
