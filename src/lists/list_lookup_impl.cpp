#include "lists/list_lookup_impl.h"

#include <vector>

#include "engine/engine_session.h"
#include "engine/extraction.h"
#include "engine/word_table.h"
#include "lists/patterns.h"
#include "text/word_chars.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

std::vector<std::string_view> SplitAtPlus(std::string_view phrase) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  for (;;) {
    const auto plus = phrase.find('+', start);
    words.push_back(phrase.substr(start, plus == std::string_view::npos ? plus : plus - start));
    if (plus == std::string_view::npos) return words;
    start = plus + 1;
  }
}

// anyMode: true when some word is ignored; otherwise true when every word is. A stop
// request answers true, so the caller drops the phrase.
bool CheckWordsToIgnore(EngineSession& session, std::string_view phrase, bool anyMode) {
  for (std::string_view word : SplitAtPlus(phrase)) {
    if (session.run.blnStop) return true;
    const bool ignored = IsIgnoredPhraseWord(session, word);
    if (anyMode && ignored) return true;
    if (!anyMode && !ignored) return false;
  }
  return !anyMode;
}

// The remembered answer for key, else lookup()'s, remembered unless lookup clears its
// argument.
template <typename Lookup>
bool Remembered(LookupMemo::Answers& answers, std::string_view key, Lookup lookup) {
  if (const auto it = answers.find(key); it != answers.end()) return it->second;
  bool remember = true;
  const bool found = lookup(remember);
  if (remember) {
    if (answers.size() >= LookupMemo::kLimit) answers.clear();
    answers.emplace(key, found);
  }
  return found;
}

bool WordToIgnore(EngineSession& session, std::string_view lowerWord) {
  ListState& l = session.lists;
  InvalidRegExpMark scratch;  // words to ignore hold no expressions worth reporting
  if (l.intNumExtraWordsToIgnore > 0 &&
      IsInList(lowerWord, l.strExtraWordsToIgnore, 1, l.intNumExtraWordsToIgnore, false, false,
               scratch)) {
    return true;
  }
  if (l.lngNumWordsToIgnore <= 0) return false;
  if (session.settings.chkPatternMatchingInWordsToIgnoreFile == 1) {
    return IsInList(lowerWord, l.strWordsToIgnore, 1, l.lngNumWordsToIgnore, false, false,
                    scratch);
  }
  std::int64_t position = 0;
  return FindWord(lowerWord, l.strWordsToIgnore, l.lngNumWordsToIgnore, position);
}

bool CountOnlyEntry(EngineSession& session, std::string_view entry) {
  ListState& l = session.lists;
  const bool caseSignificant = session.settings.chkCaseSignificant == 1;
  if (l.intNumExtraCountOnlyWords > 0) {
    InvalidRegExpMark& mark = l.invalidRegExp;
    const bool found = IsInList(entry, l.strExtraCountOnlyWords, 1, l.intNumExtraCountOnlyWords,
                                false, caseSignificant, mark);
    if (mark.blnInvalidRegExp) return false;
    // A typed entry that is also a word to ignore does not count, but the list may still.
    if (found && !WordListLookup().IsWordToIgnore(session, LowerCaseAccented(entry))) return true;
  }
  if (l.lngNumCountOnlyWords <= 0) return false;
  if (session.settings.chkPatternMatchingInCountOnlyWordsFile == 1) {
    return IsInList(entry, l.strCountOnlyWords, 1, l.lngNumCountOnlyWords, false,
                    caseSignificant, l.invalidRegExp);
  }
  std::int64_t position = 0;
  return FindWord(LowerCaseAccented(entry), l.strCountOnlyWords, l.lngNumCountOnlyWords,
                  position);
}

}  // namespace

bool WordListLookup::IsWordToIgnore(EngineSession& session, std::string_view lowerWord) {
  ListState& l = session.lists;
  // Counting calls this for every word: nothing to set up when no list is loaded.
  if (!l.HasWordsToIgnore()) return false;
  // An exact list is a binary search; pattern walks are what is worth remembering.
  const bool patterns = l.intNumExtraWordsToIgnore > 0 ||
                        session.settings.chkPatternMatchingInWordsToIgnoreFile == 1;
  if (!patterns || !l.memo.active) return WordToIgnore(session, lowerWord);
  return Remembered(l.memo.ignore, lowerWord, [&](bool&) { return WordToIgnore(session, lowerWord); });
}

bool WordListLookup::IsCountOnlyEntry(EngineSession& session, std::string_view entry) {
  ListState& l = session.lists;
  const bool patterns = l.intNumExtraCountOnlyWords > 0 ||
                        session.settings.chkPatternMatchingInCountOnlyWordsFile == 1;
  if (!patterns || !l.memo.active) return CountOnlyEntry(session, entry);
  return Remembered(l.memo.countOnly, entry, [&](bool& remember) {
    const bool found = CountOnlyEntry(session, entry);
    // An invalid expression is reported at every lookup, so its answer is not kept.
    remember = !l.invalidRegExp.blnInvalidRegExp;
    return found;
  });
}

bool WordListLookup::AllWordsToIgnore(EngineSession& session, std::string_view phrase) {
  return CheckWordsToIgnore(session, phrase, false);
}

std::string WordListLookup::StripPhrase(EngineSession& session, std::string_view phrase) {
  std::string kept;
  for (std::string_view word : SplitAtPlus(phrase)) {
    if (IsIgnoredPhraseWord(session, word)) continue;
    if (!kept.empty()) kept.push_back(' ');
    kept.append(word);
  }
  return kept;
}

bool WordListLookup::PhraseAdmissible(EngineSession& session, std::string_view phrase) {
  switch (session.settings.wordsToIgnoreHandling) {
    case WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore:
      return !CheckWordsToIgnore(session, phrase, true);
    case WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore:
      return !CheckWordsToIgnore(session, phrase, false);
    default:
      return true;
  }
}

void InstallWordLists(EngineSession& session) {
  static WordListLookup lookup;
  session.extraction.lists = &lookup;
}

bool IsIgnoredPhraseWord(EngineSession& session, std::string_view word) {
  if (word.empty()) return true;
  const Settings& s = session.settings;
  WordListLookup lookup;
  if (lookup.IsWordToIgnore(session, LowerCaseAccented(word))) return true;
  const auto length = static_cast<int>(DecodeUtf8(word).size());
  if (s.chkIgnoreShortWords == 1 && length < s.ShortWordSize()) return true;
  if (length > s.LongWordSize()) return true;
  if (s.chkIgnoreRepetitions == 1 && HasFourRepetitions(word)) return true;
  return s.chkIgnoreNoLetter == 1 && !HasLetter(word);
}

}  // namespace talq
