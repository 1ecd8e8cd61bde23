// Preparing decoded text for word extraction: Windows-1252 decoding, trimming, the
// normalisation of typographic punctuation and control characters, plausibility checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "util/utf8.h"  // DecodeWindows1252

namespace talq {

// Removes, repeatedly, the first or last character while its code point is 32 or less.
void TrimLine(std::u32string& line);

// Removes the C1 controls U+0080..U+009F.
void DecodeUtf8Letters(std::u32string& line);
// Maps the general-punctuation block U+2000..U+203F in one pass: dashes to "-", " -- ",
// "--"; quotes to ' and "; bullet to " . "; ellipsis to "..."; single guillemets to < >;
// U+2016 to "|"; U+2017 to U+2030; the block's spaces to " "; everything else removed.
void DecodeUtf8Punctuation(std::u32string& line);
// Both, as every source's text gets them.
void NormaliseLine(std::u32string& line);

// True when none of the first min(size, maximum) characters (all when maximum < 1) is a
// control below 32 other than, when allowLineBreaks, TAB, LF, FF and CR. Empty text passes.
bool IsNaturalLanguageText(std::u32string_view text, std::int64_t maximum,
                           bool allowLineBreaks);

// A text progress bar of width inner characters for fraction done of k = round(width*f):
// "[>   ]" while k < 2, else "[" k-1 hyphens ">" width-k spaces "]".
std::string ProgressBar(int width, std::int64_t k);

}  // namespace talq
