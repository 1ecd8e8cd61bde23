// The two word lists (index 0 words to ignore, 1 count-only) as the engine holds them
// between loads: loaded and typed entries, counts, recorded frequencies, the flags that
// describe what the entries hold, and the characters seen while a list was read.
// blnThereAreCountOnlyWords, blnCountOnlyWordsIncludePhrase, blnReadingWords and
// blnReadingCountOnlyWords live in RunFlags; the file histories live in Settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/lookup_memo.h"

namespace talq {

inline constexpr int kWordsToIgnore = 0;  // list index of the words-to-ignore list
inline constexpr int kCountOnly = 1;      // list index of the count-only list

// Set when an expression fails in the engine during matching; the word extractor reports
// it and it is cleared before every lookup.
struct InvalidRegExpMark {
  bool blnInvalidRegExp = false;
  std::string strInvalidRegExp;  // the expression without its angle brackets
  void Clear() {
    blnInvalidRegExp = false;
    strInvalidRegExp.clear();
  }
};

// One row of a count-only list that carried recorded frequencies (an earlier report).
struct RecordedFrequency {
  std::string strWord;       // the entry as displayed, "+" shown as spaces
  std::string strFrequency;  // the recorded rank and frequency text, six characters wide
};

struct ListState {
  // Loaded entries, 1-based: element 0 is an unused placeholder. Sorted ascending after
  // a load (FindWord needs that); lower-cased except inside angle brackets.
  std::vector<std::string> strWordsToIgnore{std::string()};
  std::vector<std::string> strCountOnlyWords{std::string()};
  std::int64_t lngNumWordsToIgnore = 0;
  std::int64_t lngNumCountOnlyWords = 0;

  // Extra entries typed into txbWordsToIgnoreOrCount(index), 1-based, sorted ascending.
  std::vector<std::string> strExtraWordsToIgnore{std::string()};
  std::vector<std::string> strExtraCountOnlyWords{std::string()};
  int intNumExtraWordsToIgnore = 0;
  int intNumExtraCountOnlyWords = 0;

  // Recorded frequencies of the count-only entries, 1-based, in entry order.
  std::vector<RecordedFrequency> strRecommendedFrequencies{RecordedFrequency()};

  // Path whose entries are loaded for each list, or "".
  std::string strLoadedFile[2];

  bool blnCountOnlyWordsFileContainsWildcards = false;
  bool blnCountOnlyWordsFileContainsAngleBrackets = false;
  bool blnWordsToIgnoreFileContainsWildcards = false;
  bool blnWordsToIgnoreFileContainsAngleBrackets = false;
  bool blnCountOnlyWordsIncludeRecommendedFrequencies = false;
  bool blnListingCountOnlyWords = false;

  // Characters seen in list words while a list is read; the reader asks for the check
  // with blnCheckForNonAlphaNumeric, and afterwards checks the matching settings.
  bool blnCheckForNonAlphaNumeric = false;
  bool blnWordsWithHyphens = false;
  bool blnWordsWithApostrophes = false;
  bool blnWordsWithUnderscores = false;
  bool blnWordsWithColons = false;
  bool blnWordsWithBackslashes = false;
  bool blnWordsWithForwardslashes = false;
  bool blnWordsWithParentheses = false;
  bool blnWordsWithAmpersands = false;
  bool blnWordsWithPeriods = false;
  bool blnWordsWithCommas = false;
  bool blnWordsWithAtSigns = false;
  bool blnWordsWithNumerals = false;

  InvalidRegExpMark invalidRegExp;
  LookupMemo memo;

  bool HasWordsToIgnore() const { return lngNumWordsToIgnore >= 1 || intNumExtraWordsToIgnore >= 1; }

  // The loaded entries and their count of list index (0 or 1).
  std::vector<std::string>& Loaded(int index) {
    return index == kWordsToIgnore ? strWordsToIgnore : strCountOnlyWords;
  }
  std::int64_t& LoadedCount(int index) {
    return index == kWordsToIgnore ? lngNumWordsToIgnore : lngNumCountOnlyWords;
  }
  // The extra entries and their count of list index (0 or 1).
  std::vector<std::string>& Extra(int index) {
    return index == kWordsToIgnore ? strExtraWordsToIgnore : strExtraCountOnlyWords;
  }
  int& ExtraCount(int index) {
    return index == kWordsToIgnore ? intNumExtraWordsToIgnore : intNumExtraCountOnlyWords;
  }
};

}  // namespace talq
