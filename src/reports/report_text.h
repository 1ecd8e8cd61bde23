// Small text helpers of the report layouts: padding and trimming that count characters
// (code points), not bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talq::report_text {

// s right-aligned to `width` characters by leading spaces (never cut).
std::string PadLeft(std::string_view s, std::size_t width);
// s left-aligned to `width` characters by trailing spaces (never cut).
std::string PadRight(std::string_view s, std::size_t width);
// s without trailing spaces.
std::string TrimRight(std::string_view s);
// s without spaces at either end.
std::string Trim(std::string_view s);
// s without characters of code 32 or less at either end.
std::string TrimControls(std::string_view s);
// The first n characters of s.
std::string FirstChars(std::string_view s, std::size_t n);
// s without its last n characters.
std::string DropLastChars(std::string_view s, std::size_t n);
// s from its character index n (0-based) on.
std::string FromChar(std::string_view s, std::size_t n);
// Every "\n" of s turned into CR LF.
std::string ToCrLf(std::string_view s);

}  // namespace talq::report_text
