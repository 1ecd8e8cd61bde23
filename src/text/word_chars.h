// Which characters make up a word: the admitted extra characters built from the settings,
// the word-character test, and the letter tests the word filters share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace talq {

struct Settings;

// The characters below U+0080 of a set, tested without a search: cutting asks for every
// word whether the character after it is one.
class AsciiSet {
 public:
  explicit AsciiSet(std::u32string_view chars) {
    for (char32_t c : chars)
      if (c < 128) bits_[c >> 6] |= std::uint64_t{1} << (c & 63);
  }
  bool Has(char32_t c) const { return c < 128 && ((bits_[c >> 6] >> (c & 63)) & 1) != 0; }

 private:
  std::uint64_t bits_[2] = {0, 0};
};

// Characters that may stand inside a word but never first or last.
inline constexpr std::u32string_view strProhibitedInitialOrFinalChars = U"'.,()+-";

// Rebuilds set (strAllowedExtraChars) from the character check fields
// (hyphen, apostrophe, underscore, colon, slashes, period, at-sign, numerals).
void BuildAllowedExtraChars(const Settings& s, std::u32string& set);
// Adds parentheses, ampersand, the user's extra characters and comma to the set; does not
// clear it first, so call it after BuildAllowedExtraChars.
void SetAllowedExtraChars2(const Settings& s, std::u32string& set);

// True when ch may stand in a word: an ASCII letter, a Latin-1 letter (not × or ÷), an ASCII
// digit when allowDigits, a character of extraChars, or beyond U+00FF a Unicode letter.
bool IsWordChar(char32_t ch, bool allowDigits, std::u32string_view extraChars);

// True when word is not empty and every character is below U+0080.
bool IsSevenBitWord(std::string_view word);

// True when word holds a letter: after upper-casing, A-Z, an accented capital, or beyond
// U+00FF any Unicode letter.
bool HasLetter(std::string_view word);
// True when, after upper-casing, one such letter stands four times in a row.
bool HasFourRepetitions(std::string_view word);

// word without its trailing characters that occur in chars.
std::u32string StripFinalChars(std::u32string_view word, std::u32string_view chars);

// True when the lower-cased word is the stem left of a negative contraction (isn, didn, ...)
// or a tail of one ("n", "ldn"), as splitting at the apostrophe leaves them.
bool IsNegativeContractionStem(std::string_view word);

}  // namespace talq
