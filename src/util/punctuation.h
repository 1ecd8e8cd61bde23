// The mapping of the general-punctuation block that every source's text gets, one character
// at a time, so that text decoded late (character references) is normalised the same way.
#pragma once

#include <string>

namespace talq {

// Appends c, or for U+2000..U+203F its replacement: dashes "-", " -- ", "--"; quotes ' and
// "; bullet " . "; ellipsis "..."; single guillemets < >; U+2016 "|"; U+2017 U+2030; the
// block's spaces " "; nothing for the rest of the block.
inline void AppendNormalisedPunctuation(std::u32string& out, char32_t c) {
  if (c < 0x2000 || c > 0x203F) {
    out += c;
  } else if (c >= 0x2010 && c <= 0x2013) {
    out += U'-';
  } else if (c == 0x2014) {
    out += U" -- ";
  } else if (c == 0x2015) {
    out += U"--";
  } else if (c == 0x2016) {
    out += U'|';
  } else if (c == 0x2017) {
    out += char32_t(0x2030);
  } else if (c >= 0x2018 && c <= 0x201B) {
    out += U'\'';
  } else if (c >= 0x201C && c <= 0x201F) {
    out += U'"';
  } else if (c == 0x2022) {
    out += U" . ";
  } else if (c == 0x2026) {
    out += U"...";
  } else if (c == 0x2039) {
    out += U'<';
  } else if (c == 0x203A) {
    out += U'>';
  } else if (c <= 0x200B || c == 0x2028 || c == 0x2029 || c == 0x202F) {
    out += U' ';
  }
}

}  // namespace talq
