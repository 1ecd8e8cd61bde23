#include "engine/extraction.h"

#include <algorithm>

#include "engine/engine_session.h"
#include "engine/list_lookup.h"
#include "engine/phrase_count.h"
#include "text/markup.h"
#include "text/regexp.h"
#include "text/word_chars.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

void AddToTable(EngineSession& session, std::string_view word) {
  session.words.AddWordToList(CountingContext(session), word);
}

std::string PlusToSpace(std::string_view phrase) {
  std::string out(phrase);
  std::replace(out.begin(), out.end(), '+', ' ');
  return out;
}

int NumWords(std::string_view spaced) {
  if (spaced.empty()) return 0;
  return 1 + static_cast<int>(std::count(spaced.begin(), spaced.end(), ' '));
}

// Looks entry up in the count-only list; false (with the notice shown) also when the
// matcher met an invalid expression, which then ends the word.
bool CountOnlyLookup(EngineSession& session, std::string_view entry, bool& invalid) {
  InvalidRegExpMark& mark = session.lists.invalidRegExp;
  mark.Clear();
  const bool found = Lists(session).IsCountOnlyEntry(session, entry);
  invalid = mark.blnInvalidRegExp;
  if (!invalid) return found;
  session.host.MsgBox("The regular expression\n" + mark.strInvalidRegExp + "\nis invalid.",
                      session.host.Caption("cmdCountWords"), MsgIcon::Information);
  return false;
}

enum class Candidate { Reject, Accept, EndWord };

// The count-all-phrases test of a full slot of k words.
Candidate PhraseRunCandidate(EngineSession& session, const std::string& phrase, int k) {
  const ExtractionState& x = session.extraction;
  const int longest = x.intMaxNumWordsInPhrase * (x.blnStripPhrases ? 2 : 1);
  if (k < x.intMinNumWordsInPhrase || k > longest) return Candidate::Reject;
  if (!session.run.blnThereAreWordsToIgnore) return Candidate::Accept;
  ListLookup& lists = Lists(session);
  if (x.blnStripPhrases) {
    const std::string stripped = lists.StripPhrase(session, phrase);
    if (stripped.empty()) return Candidate::EndWord;
    const int n = NumWords(stripped);
    return n >= x.intMinNumWordsInPhrase && n <= x.intMaxNumWordsInPhrase ? Candidate::Accept
                                                                          : Candidate::Reject;
  }
  return lists.PhraseAdmissible(session, phrase) ? Candidate::Accept : Candidate::Reject;
}

// A phrase ends at a terminator the settings name (the end of a line is the file reader's).
void EndPhraseAtTerminator(EngineSession& session) {
  const ExtractionState& x = session.extraction;
  const Settings& s = session.settings;
  if ((s.chkTerminatePhraseAtPeriod == 1 && x.blnStoppedAtPeriod) ||
      (s.chkTerminatePhraseAtDoubleQuote == 1 && x.blnStoppedAtDoubleQuote) ||
      (s.chkTerminatePhraseAtTab == 1 && x.blnStoppedAtTab) ||
      (s.chkTerminatePhraseAtComma == 1 && x.blnStoppedAtComma)) {
    ResetPhrases(session);
  }
}

// Appends word to slot k, dropping the slot's first word when it already holds k.
void PushIntoSlot(std::string& slot, int& count, int k, std::string_view word) {
  if (count == 0) {
    slot.assign(word);
    count = 1;
    return;
  }
  if (count + 1 > k) {
    const auto plus = slot.find('+');
    slot.erase(0, plus == std::string::npos ? slot.size() : plus + 1);
    --count;
  }
  if (count > 0) slot.push_back('+');
  slot.append(word);
  ++count;
}

}  // namespace

std::string EmptyListLookup::StripPhrase(EngineSession&, std::string_view phrase) {
  return PlusToSpace(phrase);
}

ListLookup& Lists(EngineSession& session) {
  static EmptyListLookup empty;
  return session.extraction.lists ? *session.extraction.lists : empty;
}

namespace {

// The cutting rules of the text being scanned.
CutRules RulesFor(const EngineSession& session) {
  // An expression inside "<>" belongs to list entries; in counted text "<" ends a word,
  // or "vector<int>" and "template<>" would be counted as words.
  return CutRules{session.comments.blnCharacterEntitiesPossible,
                  !session.run.blnReadingWords && session.settings.chkAllowWordsWithApostrophes == 0,
                  session.run.blnReadingWords};
}

// EncodeUtf8 into a reused buffer.
void EncodeInto(std::string& out, std::u32string_view s) {
  out.resize(s.size());
  char* d = out.data();
  std::size_t i = 0;
  for (; i < s.size() && s[i] < 0x80; ++i) d[i] = static_cast<char>(s[i]);
  if (i == s.size()) return;
  out.resize(i);
  for (; i < s.size(); ++i) AppendUtf8(out, s[i]);
}

// True when LowerCaseAccented would return word unchanged without looking further.
bool IsLowerAscii(std::string_view word) {
  for (unsigned char b : word) {
    if (b >= 0x80 || (b >= 'A' && b <= 'Z')) return false;
  }
  return true;
}

}  // namespace

namespace {

// Whether a word of a plain count (no count-only list, no count of all phrases) is one of
// the words to ignore.
bool IgnoredPlainWord(EngineSession& session, std::string_view word) {
  // Asked for every word: without a list there is nothing to look up or lower-case.
  if (!session.extraction.lists || !session.lists.HasWordsToIgnore()) return false;
  ListLookup& lists = Lists(session);
  return IsLowerAscii(word) ? lists.IsWordToIgnore(session, word)
                            : lists.IsWordToIgnore(session, LowerCaseAccented(word));
}

void ScanLine(EngineSession& session, bool gather);

}  // namespace

void ProcessLine(EngineSession& session) {
  const RunFlags& run = session.run;
  const ExtractionState& x = session.extraction;
  ScanLine(session, x.blnGatherWords && !run.blnReadingWords && !x.blnStripPhrases &&
                        !run.blnCountingMFP && !run.blnThereAreCountOnlyWords);
}

namespace {

// ProcessLine; with gather the words go to the table's batch and the host is not served
// between them.
void ScanLine(EngineSession& session, bool gather) {
  ExtractionState& x = session.extraction;
  CommentState& comments = session.comments;
  const bool reading = session.run.blnReadingWords;
  const bool startUpCompleted = session.settings.blnStartUpCompleted;
  std::u32string& line = x.strLine;

  // Branch-free loops that vectorise; most lines have no "--" and skip the hyphen pass.
  char32_t* p = line.data();
  const std::size_t size = line.size();
  for (std::size_t i = 0; i < size; ++i) {
    const char32_t c = p[i];
    const bool blank = (c == U'\n') | (c == U'\r') | (c == U'\f') | (c == 0xA0) |
                       (reading & (c == U'\t'));
    p[i] = blank ? U' ' : c;
  }
  unsigned doubleHyphen = 0;
  for (std::size_t i = 1; i < size; ++i)
    doubleHyphen |= unsigned(p[i] == U'-') & unsigned(p[i - 1] == U'-');
  if (reading) {
    x.blnCommentsPossible = true;
  } else {
    x.blnCommentsPossible = comments.intNumCommentMarkers >= 1;
    if (doubleHyphen) line = BlankDoubleHyphens(line);
    if (comments.blnCharacterEntitiesPossible) line = DecodeEntities(line);
  }

  std::u32string& startSet = x.startSetScratch;
  startSet.clear();
  for (char32_t c : x.strAllowedExtraChars) {
    if (strProhibitedInitialOrFinalChars.find(c) == std::u32string_view::npos) {
      startSet.push_back(c);
    }
  }

  const AsciiSet extraAscii(x.strAllowedExtraChars), startAscii(startSet);
  const WordTableContext ctx = CountingContext(session);
  const bool pump = startUpCompleted && !gather;
  x.lngLP = 0;
  while (x.lngLP + 1 < line.size()) {
    if (pump) session.host.Pump();

    if (x.blnCommentsPossible) {
      if (comments.intWithinComment == -1) {
        comments.intWithinComment = CommentStartAt(comments, line, x.lngLP);
      }
      while (comments.intWithinComment >= 0) {
        SkipComment(comments, line, x.lngLP);
        if (x.lngLP >= line.size()) return;
        if (x.lngLP + 1 == line.size()) {
          comments.intWithinComment = -1;
          return;
        }
        comments.intWithinComment = CommentStartAt(comments, line, x.lngLP);
      }
    }

    const char32_t ch = line[x.lngLP];
    const bool asciiLetter = ch < 0x80 && (ch | 0x20) >= U'a' && (ch | 0x20) <= U'z';
    const bool mayStart = asciiLetter ||
                          (ch < 0x80 ? startAscii.Has(ch) : IsWordChar(ch, false, startSet)) ||
                          (reading && ch == U'<');
    bool cut = false;
    if (mayStart) {
      const std::size_t before = x.lngLP;
      std::string& word = x.wordUtf8Scratch;
      // Most words are plain ASCII letters: cut straight into bytes.
      if (!asciiLetter || !NextAsciiToken(x, RulesFor(session), extraAscii, word)) {
        NextToken(x, RulesFor(session), x.wordScratch);
        EncodeInto(word, x.wordScratch);
      }
      cut = x.lngLP != before;
      if (!gather) session.host.Pump();
      if (session.run.blnStop) return;
      if (gather) {
        if (!word.empty()) {
          ++x.lngTotalNumOccurrences;
          if ((session.settings.chkOnly7bitASCII != 1 || IsSevenBitWord(word)) &&
              !IgnoredPlainWord(session, word))
            session.words.AddWordLater(ctx, word);
        }
      } else if (!word.empty()) {
        if (reading) {
          AddToTable(session, word);
          if (session.lists.blnCheckForNonAlphaNumeric && !IsAngleBracketed(word)) {
            CheckForNonAlphaNumeric(session, word);
          }
        } else {
          ++x.lngTotalNumOccurrences;
          if (!x.blnStripPhrases || !Lists(session).StripPhrase(session, word).empty()) {
            GetWords2(session, word);
          } else {
            // A removed word still ends the phrase at a terminator after it.
            EndPhraseAtTerminator(session);
          }
        }
        if (startUpCompleted) session.host.Pump();
        if (session.run.blnStop) return;
      }
    }
    if (!cut) {
      const auto next = line.find_first_not_of(U' ', x.lngLP + 1);
      if (next == std::u32string::npos) return;
      x.lngLP = next;
    }
  }
}

}  // namespace

void GetWords2(EngineSession& session, std::string_view word) {
  ExtractionState& x = session.extraction;
  const Settings& s = session.settings;
  RunFlags& run = session.run;
  if (s.chkOnly7bitASCII == 1 && !IsSevenBitWord(word)) return;
  ListLookup& lists = Lists(session);

  if (run.blnCountingMFP && x.phraseCounter != nullptr) {
    x.phraseCounter->AddWord(session, word);
    EndPhraseAtTerminator(session);
    return;
  }

  if (!run.blnThereAreCountOnlyWords) {
    if (!IgnoredPlainWord(session, word)) AddToTable(session, word);
    return;
  }

  bool invalid = false;
  if (!run.blnCountingMFP || x.intMinNumWordsInPhrase == 1) {
    if (run.blnCountingMFP) {
      // The generated single-word entry matches every word.
      // The options only hold while there are words to ignore; the word rules apply anyway.
      const bool allowIgnored =
          run.blnThereAreWordsToIgnore &&
          s.wordsToIgnoreHandling == WordsToIgnoreHandling::optAllowPhrasesAllWordsToIgnore;
      if (allowIgnored || !lists.AllWordsToIgnore(session, word)) {
        AddToTable(session, word);
      }
    } else {
      const bool found = CountOnlyLookup(session, word, invalid);
      if (invalid) return;
      if (found) AddToTable(session, word);
    }
  }

  if (x.strPhraseSlots.size() <= static_cast<std::size_t>(std::max(x.intPhraseWindow, 0))) {
    ResetPhrases(session);
  }
  for (int k = 2; k <= x.intPhraseWindow; ++k) {
    if (run.blnStop) break;
    std::string& slot = x.strPhraseSlots[k];
    int& count = x.phraseSlotWords[k];
    PushIntoSlot(slot, count, k, word);
    if (count != k) continue;
    bool accepted = false;
    if (run.blnCountingMFP) {
      const Candidate c = PhraseRunCandidate(session, slot, k);
      if (c == Candidate::EndWord) return;
      accepted = c == Candidate::Accept;
    } else {
      accepted = CountOnlyLookup(session, slot, invalid);
      if (invalid) return;
    }
    if (accepted) AddToTable(session, PlusToSpace(slot));
  }

  EndPhraseAtTerminator(session);
}

void SetPhraseWindow(EngineSession& session, int window) {
  ExtractionState& x = session.extraction;
  x.intPhraseWindow = std::max(window, 0);
  x.strPhraseSlots.assign(static_cast<std::size_t>(x.intPhraseWindow) + 1, std::string());
  x.phraseSlotWords.assign(static_cast<std::size_t>(x.intPhraseWindow) + 1, 0);
}

void ResetPhrases(EngineSession& session) {
  ExtractionState& x = session.extraction;
  // Sized here too, so a window set without SetPhraseWindow cannot index past the slots.
  x.strPhraseSlots.assign(static_cast<std::size_t>(std::max(x.intPhraseWindow, 0)) + 1,
                          std::string());
  x.phraseSlotWords.assign(x.strPhraseSlots.size(), 0);
  if (x.phraseCounter != nullptr) x.phraseCounter->Reset();
}

void CheckForNonAlphaNumeric(EngineSession& session, std::string_view word) {
  ListState& f = session.lists;
  auto has = [word](std::string_view chars) {
    return word.find_first_of(chars) != std::string_view::npos;
  };
  f.blnWordsWithHyphens = f.blnWordsWithHyphens || has("-");
  f.blnWordsWithApostrophes = f.blnWordsWithApostrophes || has("'");
  f.blnWordsWithUnderscores = f.blnWordsWithUnderscores || has("_");
  f.blnWordsWithColons = f.blnWordsWithColons || has(":");
  f.blnWordsWithBackslashes = f.blnWordsWithBackslashes || has("\\");
  f.blnWordsWithForwardslashes = f.blnWordsWithForwardslashes || has("/");
  f.blnWordsWithParentheses = f.blnWordsWithParentheses || has("()");
  f.blnWordsWithPeriods = f.blnWordsWithPeriods || has(".");
  f.blnWordsWithCommas = f.blnWordsWithCommas || has(",");
  f.blnWordsWithAtSigns = f.blnWordsWithAtSigns || has("@");
  f.blnWordsWithNumerals = f.blnWordsWithNumerals || has("0123456789");
  f.blnWordsWithAmpersands = f.blnWordsWithAmpersands || has("&");
}

void ClearNonAlphaNumericFlags(EngineSession& session) {
  ListState& f = session.lists;
  f.blnWordsWithHyphens = f.blnWordsWithApostrophes = f.blnWordsWithUnderscores = false;
  f.blnWordsWithColons = f.blnWordsWithBackslashes = f.blnWordsWithForwardslashes = false;
  f.blnWordsWithParentheses = f.blnWordsWithAmpersands = f.blnWordsWithPeriods = false;
  f.blnWordsWithCommas = f.blnWordsWithAtSigns = f.blnWordsWithNumerals = false;
}

void AllowSeenCharacters(EngineSession& session) {
  const ListState& f = session.lists;
  Settings& s = session.settings;
  auto allow = [](bool seen, int& field) {
    if (seen) field = 1;
  };
  allow(f.blnWordsWithHyphens, s.chkAllowWordsWithHyphens);
  allow(f.blnWordsWithApostrophes, s.chkAllowWordsWithApostrophes);
  allow(f.blnWordsWithUnderscores, s.chkAllowWordsWithUnderscores);
  allow(f.blnWordsWithColons, s.chkAllowWordsWithColons);
  allow(f.blnWordsWithBackslashes, s.chkAllowWordsWithBackslashes);
  allow(f.blnWordsWithForwardslashes, s.chkAllowWordsWithForwardslashes);
  allow(f.blnWordsWithParentheses, s.chkAllowWordsWithParentheses);
  allow(f.blnWordsWithPeriods, s.chkAllowWordsWithPeriods);
  allow(f.blnWordsWithCommas, s.chkAllowWordsWithCommas);
  allow(f.blnWordsWithAtSigns, s.chkAllowWordsWithAtSigns);
  allow(f.blnWordsWithNumerals, s.chkAllowWordsWithNumerals);
  allow(f.blnWordsWithAmpersands, s.chkAllowWordsWithAmpersands);
}

}  // namespace talq
