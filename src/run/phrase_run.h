// The count of all phrases: the run controller behind "Count phrases" (the phrase window's
// values come from the settings record), the state it leaves for the listing and the filter.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace talq {

struct Session;
class PhraseCounter;
enum class RunResult;

struct PhraseRunState {
  // The words-to-ignore option of the run; all false when there are no words to ignore.
  bool blnAllowPhrasesConsistingOnlyOfWordsToIgnore = false;
  bool blnExcludePhrasesConsistingOnlyOfWordsToIgnore = false;
  bool blnExcludePhrasesContainingAWordToIgnore = false;
  int intPhrasesSelectedOnCount = 0;  // 1..4: the handling of the last phrase count
  // Entries counted in the last phrase count but never written into the word table (below
  // the minimum frequency); they count as excluded.
  std::int64_t lngNumPhrasesNotKept = 0;
  // Count through the phrase slots into the word table instead of the phrase counter: the
  // slow literal way, kept as the reference that tests compare the counter with.
  bool blnCountThroughSlots = false;
  std::shared_ptr<PhraseCounter> counter;  // while a phrase count reads its source
};

// The phrase window's checks of its lengths: false after the message ("Invalid input" when
// the maximum is below the minimum; the one-word notice when both are 1).
bool CheckPhraseLengths(Session& s);

// "Count phrases": validates the source, checks the lengths, asks about a large file when
// every phrase would be kept, and runs a count of all phrases with the count-only list set
// aside (and restored however the run ends). Leaves blnCountingMFP set for the listing.
RunResult cmdCountAllPhrases_Click(Session& s);

// Leaving the filter-word box: takes its filter words (ParseFilterWords) and rewrites the
// box as the words joined by single spaces.
void txbFilterWords_LostFocus(Session& s);

// The filter button: when start-up is complete, a table is kept (blnWordsGot), it holds the
// phrases of a count of all phrases and the filter box is not empty, lists the table again
// (ListWords) with only the phrases that pass the filter. The table itself never changes.
void cmdFilterResults_Click(Session& s);

// After reading: writes the counter's phrases into the word table (phrase counts only).
void FinishPhraseReading(Session& s);

// The summary above a phrase listing (MakePhraseCountSummary with the run's figures).
void MakePhraseRunSummary(Session& s);

// Distinct phrases found so far in the phrase count under way (the progress label).
std::int64_t NumPhrasesFoundSoFar(const Session& s);

}  // namespace talq
