// The counter of a count-all-phrases run: every word becomes an integer id as it is cut,
// every phrase a node of a trie over word ids (its words but the last, plus the last), so
// that counting a phrase costs one hash probe and no text is built while reading. Only the
// phrases that reach the minimum frequency are written into the word table afterwards.
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

  // Number of distinct phrases (and single words) counted so far.
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
