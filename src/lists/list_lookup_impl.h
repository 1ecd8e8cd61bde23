// The word lists as word extraction consults them: words to ignore, count-only entries and
// the words-to-ignore tests of a count-all-phrases run, installed behind the ListLookup seam.
#pragma once

#include <string>
#include <string_view>

#include "engine/list_lookup.h"

namespace talq {

struct EngineSession;

class WordListLookup : public ListLookup {
 public:
  bool IsWordToIgnore(EngineSession& session, std::string_view lowerWord) override;
  bool IsCountOnlyEntry(EngineSession& session, std::string_view entry) override;
  bool AllWordsToIgnore(EngineSession& session, std::string_view phrase) override;
  std::string StripPhrase(EngineSession& session, std::string_view phrase) override;
  bool PhraseAdmissible(EngineSession& session, std::string_view phrase) override;
};

// Makes extraction consult the session's lists (idempotent; the lookup holds no state).
void InstallWordLists(EngineSession& session);

// True when word (one word) is a word to ignore or fails a word rule of the words-to-ignore
// panel (short, long, four repetitions, no letter).
bool IsIgnoredPhraseWord(EngineSession& session, std::string_view word);

}  // namespace talq
