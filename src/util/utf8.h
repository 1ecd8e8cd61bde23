// UTF-8 <-> UTF-32 conversion for the engine's text model (UTF-8 strings, lines scanned as u32string).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talq {

// Decodes UTF-8; each maximal invalid subpart (bad lead, overlong, surrogate, > U+10FFFF,
// truncated sequence) becomes one U+FFFD. Never throws.
std::u32string DecodeUtf8(std::string_view s);

// Decodes the code point at s[i] (i < s.size()) and advances i past it, or past the maximal
// invalid subpart, returning U+FFFD for that.
char32_t DecodeUtf8At(std::string_view s, std::size_t& i);

// Encodes code points as UTF-8; surrogates and values above U+10FFFF become U+FFFD.
std::string EncodeUtf8(std::u32string_view s);

// Appends one code point as UTF-8 (invalid ones as U+FFFD).
void AppendUtf8(std::string& out, char32_t c);

// Number of code points DecodeUtf8 would return for s.
std::size_t Utf8Length(std::string_view s);

// True when s is well-formed UTF-8 (no invalid subpart DecodeUtf8 would replace).
bool IsValidUtf8(std::string_view s);

// The character Windows-1252 gives byte b. The five undefined bytes map to the C1 control
// of the same value, which normalisation removes.
char32_t DecodeWindows1252(unsigned char b);

// Decodes Windows-1252 bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view s);

}  // namespace talq
