// Word extraction: cuts each line handed over in strLine into words, filters them through
// the word lists, forms phrases in the phrase window and feeds the word table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/word_cut.h"

namespace talq {

struct EngineSession;
class ListLookup;
class PhraseCounter;

// The line being cut (LineScan) and what the counting of its words keeps.
struct ExtractionState : LineScan {
  bool blnCommentsPossible = false;
  std::int64_t lngTotalNumOccurrences = 0;  // words met in counted text, before the lists

  // Phrase window: set by the run (SetPhraseWindow). Slot k (2..intPhraseWindow) holds the
  // last up to k words of the current phrase joined by "+".
  int intPhraseWindow = 0;
  std::vector<std::string> strPhraseSlots;
  std::vector<int> phraseSlotWords;  // number of words in each slot

  // Count-all-phrases run: lengths and whether words to ignore are stripped first.
  bool blnStripPhrases = false;
  int intMinNumWordsInPhrase = 0;
  int intMaxNumWordsInPhrase = 0;

  // Counts the phrases of a count-all-phrases run instead of the phrase slots; set while
  // such a run reads its source.
  PhraseCounter* phraseCounter = nullptr;

  // Set on sessions nobody watches (worker threads): the words of a plain count are then
  // gathered for another table to count (WordTable::AddWordLater), without serving the host
  // between them.
  bool blnGatherWords = false;

  // The word lists; nullptr means both are empty.
  ListLookup* lists = nullptr;

  // Scratch buffers reused from word to word, so scanning allocates nothing per word.
  std::u32string wordScratch;
  std::string wordUtf8Scratch;
  std::u32string startSetScratch;
};

// Scans all of strLine (set by the caller, one space appended) from the start and hands every
// word on: to the word table while a list is read, through GetWords2 while text is counted.
// Returns early when blnStop gets set.
void ProcessLine(EngineSession& session);

// One counted word: 7-bit filter, word lists, phrase window, phrase terminators.
void GetWords2(EngineSession& session, std::string_view word);

// Sizes the phrase window to window words and empties it.
void SetPhraseWindow(EngineSession& session, int window);
// Empties every slot of the phrase window.
void ResetPhrases(EngineSession& session);

// Sets the seen flags (in the list state) of the special characters word contains; never
// clears one.
void CheckForNonAlphaNumeric(EngineSession& session, std::string_view word);
// Clears every seen flag.
void ClearNonAlphaNumericFlags(EngineSession& session);
// Checks the character field of every seen flag that is set; never unchecks one.
void AllowSeenCharacters(EngineSession& session);

// The list lookup in force (an empty one when none is installed).
ListLookup& Lists(EngineSession& session);

}  // namespace talq
