// The counter of a count-all-phrases run: every word becomes an integer id as it is cut and
// the text is kept as that sequence of ids. Afterwards the phrases are counted by grouping
// their occurrences, a word at a time, by sorting (position, next word) pairs, which reads
// memory in order instead of probing a table of every phrase; only the phrases that reach
// the minimum frequency become text and table entries.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace talq {

struct EngineSession;

class PhraseCounter {
 public:
  // Takes the lengths, the words-to-ignore handling and the source kind from the session
  // (extraction state, run flags, settings) as they stand when the run starts.
  explicit PhraseCounter(EngineSession& session);
  ~PhraseCounter();
  PhraseCounter(const PhraseCounter&) = delete;
  PhraseCounter& operator=(const PhraseCounter&) = delete;

  // One counted word (after the 7-bit filter and, when words to ignore are removed, after
  // their removal): counts the single word when single words are counted and every phrase
  // of the length range that now ends with it and is admissible.
  void AddWord(EngineSession& session, std::string_view word);

  // A phrase terminator: no later phrase includes the words before it.
  void Reset();

  // Number of distinct phrases (and single words) found so far; they are found while the
  // counter moves them into the table, after the reading.
  std::int64_t NumPhrases() const;

  // Writes every counted phrase with at least minFrequency occurrences into the word table
  // (which must be empty), with its per-file counts, and frees the counter's memory.
  // Returns the number of distinct phrases left out. Stops early, after Pump(), when
  // blnStop is set.
  std::int64_t MoveIntoTable(EngineSession& session, std::int64_t minFrequency);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace talq
