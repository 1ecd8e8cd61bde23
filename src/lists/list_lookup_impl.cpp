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

}  // namespace

bool WordListLookup::IsWordToIgnore(EngineSession& session, std::string_view lowerWord) {
  ListState& l = session.lists;
  // Counting calls this for every word: nothing to set up when no list is loaded.
  if (l.intNumExtraWordsToIgnore <= 0 && l.lngNumWordsToIgnore <= 0) return false;
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

bool WordListLookup::IsCountOnlyEntry(EngineSession& session, std::string_view entry) {
  ListState& l = session.lists;
  const bool caseSignificant = session.settings.chkCaseSignificant == 1;
  if (l.intNumExtraCountOnlyWords > 0) {
    InvalidRegExpMark& mark = l.invalidRegExp;
    const bool found = IsInList(entry, l.strExtraCountOnlyWords, 1, l.intNumExtraCountOnlyWords,
                                false, caseSignificant, mark);
    if (mark.blnInvalidRegExp) return false;
    // A typed entry that is also a word to ignore does not count, but the list may still.
    if (found && !IsWordToIgnore(session, LowerCaseAccented(entry))) return true;
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
