// The seam between word extraction and the word lists: every question extraction asks
// about words to ignore and count-only entries goes through ListLookup. The list unit
// installs its implementation in the session; without one both lists are empty.
#pragma once

#include <string>
#include <string_view>

namespace talq {

struct EngineSession;

class ListLookup {
 public:
  virtual ~ListLookup() = default;

  // True when the lower-cased word matches a typed extra word to ignore or an entry of the
  // words-to-ignore list (by pattern or exact search, as the settings say). Word rules
  // (length, repetitions, no letter) are not applied here.
  virtual bool IsWordToIgnore(EngineSession& session, std::string_view lowerWord) = 0;

  // True when entry (a word, or phrase words joined by "+", as it stands in the text) is a
  // count-only entry: typed extras (unless also a word to ignore) or the list, recorded
  // frequencies included. An expression the matcher finds invalid is recorded in the list
  // state's invalid-expression mark (cleared by the caller before each lookup) and counts
  // as no match.
  virtual bool IsCountOnlyEntry(EngineSession& session, std::string_view entry) = 0;

  // Count-all-phrases checks on "+"-joined phrases, word rules included:
  // true when every word is a word to ignore.
  virtual bool AllWordsToIgnore(EngineSession& session, std::string_view phrase) = 0;
  // The phrase without its words to ignore, joined by single spaces; "" when all are.
  virtual std::string StripPhrase(EngineSession& session, std::string_view phrase) = 0;
  // Whether the phrase passes the chosen words-to-ignore option (exclude all-ignored,
  // exclude any-ignored).
  virtual bool PhraseAdmissible(EngineSession& session, std::string_view phrase) = 0;
};

// Both lists empty: nothing is ignored, nothing is a count-only entry.
class EmptyListLookup : public ListLookup {
 public:
  bool IsWordToIgnore(EngineSession&, std::string_view) override { return false; }
  bool IsCountOnlyEntry(EngineSession&, std::string_view) override { return false; }
  bool AllWordsToIgnore(EngineSession&, std::string_view) override { return false; }
  std::string StripPhrase(EngineSession&, std::string_view phrase) override;
  bool PhraseAdmissible(EngineSession&, std::string_view) override { return true; }
};

}  // namespace talq
