#include "run/run_summary.h"

#include <algorithm>
#include <set>

#include "run/session.h"
#include "engine/words_phrases.h"
#include "util/numbers.h"

namespace talq {

std::string CountChooserIntro(const Session& s) {
  const bool ignore = s.run.blnThereAreWordsToIgnore;
  if (s.run.blnThereAreCountOnlyWords) {
    return std::string("The 'Settings' window states that only certain words or phrases are to be counted.  ") +
           "To count these, click on the 'Count only specified words/phrases' button.\n\n" +
           "If instead you wish to count all words " +
           (ignore ? "(ignoring certain words as specified in the 'Settings' window) " : "") +
           "then click on the 'Count all words' button.";
  }
  return std::string("The 'Settings' window currently states that all words are to be counted ") +
         (ignore ? "except for some words to be ignored" : "") +
         ".  To do this, click on the 'Count all words' button.\n\n" +
         "If instead you wish to count only specified words and phrases then " +
         "go to the 'Settings' window, specify them, then click again on the 'Count words/phrases' button. ";
}

bool AllCountOnlyEntriesFound(Session& s) {
  std::set<std::string> entries;
  const ListState& l = s.lists;
  for (std::int64_t i = 1; i <= l.lngNumCountOnlyWords; ++i)
    entries.insert(l.strCountOnlyWords[static_cast<std::size_t>(i)]);
  for (int i = 1; i <= l.intNumExtraCountOnlyWords; ++i)
    entries.insert(l.strExtraCountOnlyWords[static_cast<std::size_t>(i)]);
  if (entries.empty()) return false;
  for (std::string e : entries) {
    if (e.find_first_of("~?<>") != std::string::npos) return false;
    std::replace(e.begin(), e.end(), '+', ' ');
    const std::int64_t i = s.words.IndexOf(e);
    if (i == 0 || !s.words.udtWords[static_cast<std::size_t>(i)].blnIncluded) return false;
  }
  return static_cast<std::int64_t>(entries.size()) == s.words.lngNumWordsIncluded;
}

namespace {

std::string AllFoundText(std::int64_t n, bool phrases) {
  const std::string what = phrases ? "words or phrases" : "words";
  if (n == 1) return phrases ? "The word or phrase to be counted was found."
                             : "The word to be counted was found.";
  if (n == 2) return "Both " + what + " to be counted were found.";
  return "All " + FormatCount(n) + " " + what + " to be counted were found.";
}

}  // namespace

void ShowRunSummary(Session& s) {
  Host& h = s.host;
  const std::string noun = WordsPhrases(s.run);
  const bool countOnly = s.run.blnThereAreCountOnlyWords && !s.run.blnCountingMFP;
  const std::int64_t included = s.words.lngNumWordsIncluded;
  if (countOnly && AllCountOnlyEntriesFound(s))
    h.SetLabel("lblNumberOfWords", AllFoundText(included, s.run.blnCountOnlyWordsIncludePhrase));
  else
    h.SetLabel("lblNumberOfWords", "Number of " + noun + " in this list: " + FormatCount(included));
  h.SetLabel("lblNumWordsExcluded",
             std::string(s.run.blnThereAreWordsToIgnore
                             ? "No. of words ignored (other than words-to-ignore): "
                             : "Number of words ignored: ") +
                 FormatCount(s.reports.lngNumWordsExcluded));
  h.SetLabel("lblNumOccurrences",
             (countOnly ? "No. of instances of " : "Number of instances of ") + noun +
                 " in this list: " + FormatCount(s.reports.lngNumOccurrences));
  h.SetLabel("lblTotalNumOccurrences", "Total number of instances of " + noun + ": " +
                                           FormatCount(s.reports.lngTotalNumOccurrences));
  s.run.blnElapsedTimeRunning = false;
}

}  // namespace talq
