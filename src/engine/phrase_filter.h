// Phrase filtering: after a count of all phrases, the listing can be narrowed to the phrases
// that hold given filter words, in one of three modes, without counting again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace talq {

enum class FilterMode;

// The parsed filter words, as the phrase window keeps them.
struct PhraseFilterState {
  std::vector<std::string> strFilterWords;  // lower-cased, in the order typed
  int intNumFilterWords = 0;
  std::string strFilterText;  // the filter words joined by single spaces
};

// The filter words of the typed text (trimmed, lower-cased): runs of letters of any script,
// digits, apostrophes and hyphens; anything else separates them. Text without such a run
// gives no filter words.
PhraseFilterState ParseFilterWords(std::string_view typed);

// Whether phrase (lower-cased here) passes the filter words in the given mode.
bool PhraseMatchesFilter(const PhraseFilterState& filter, FilterMode mode, std::string_view phrase);

// True when text equals word, or when the occurrence of word at position (0-based) stands
// between separator (or the start of text) and separator (or the end of text).
bool IsWholeWordAt(std::string_view text, std::string_view word, std::size_t position,
                   char separator);

}  // namespace talq
