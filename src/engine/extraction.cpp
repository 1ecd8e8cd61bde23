#include "engine/extraction.h"

#include <algorithm>

#include "engine/list_lookup.h"
#include "run/session.h"
#include "text/word_chars.h"
#include "lists/patterns.h"
#include "text/regexp.h"
#include "text/markup.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

constexpr std::size_t kMaxWordLength = 65000;

void AddToTable(Session& session, std::string_view word) {
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
bool CountOnlyLookup(Session& session, std::string_view entry, bool& invalid) {
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
Candidate PhraseRunCandidate(Session& session, const std::string& phrase, int k) {
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

std::string EmptyListLookup::StripPhrase(Session&, std::string_view phrase) {
  return PlusToSpace(phrase);
}

ListLookup& Lists(Session& session) {
  static EmptyListLookup empty;
  return session.extraction.lists ? *session.extraction.lists : empty;
}

WordRun NumAlpha2(std::u32string_view text, std::size_t start, bool allowDigits,
                  std::u32string_view extraChars) {
  WordRun run;
  const std::size_t size = text.size();
  const std::size_t limit = start < size ? std::min(size, start + kMaxWordLength) : start;
  std::size_t i = start;
  while (i < limit) {
    const char32_t c = text[i];
    if (c < 0x80 && (c | 0x20) >= U'a' && (c | 0x20) <= U'z') {  // the common case, inline
      ++i;
      continue;
    }
    if (IsWordChar(c, allowDigits, extraChars)) {
      ++i;
      continue;
    }
    if (c != U'<' || text.substr(i, 2) == U"</") break;
    const std::size_t close = text.find(U'>', i + 1);
    if (close == std::u32string_view::npos) break;
    const std::u32string_view tag = text.substr(i, close - i + 1);
    if (tag == U"<>") {
      i += 2;
      break;
    }
    const std::u32string_view inner = tag.substr(1, tag.size() - 2);
    const bool plainTag = std::all_of(inner.begin(), inner.end(), [](char32_t t) {
      return (t >= U'0' && t <= U'9') || (t >= U'A' && t <= U'Z') || (t >= U'a' && t <= U'z');
    });
    if (plainTag || inner.find(U' ') != std::u32string_view::npos) break;
    i += IsValidRegExp(tag) ? tag.size() : 1;
  }
  std::size_t n = i - start;
  n = std::min(n, kMaxWordLength);
  run.length = n;
  if (start + n < text.size()) {
    const char32_t next = text[start + n];
    run.endsAtSemicolon = next == U';';
    run.endsAtPeriod = next == U'.';
    run.endsAtDoubleQuote = next == U'"' || next == U'\u00BB';
    run.endsAtTab = next == U'\t';
    run.endsAtComma = next == U',';
  }
  return run;
}

namespace {

// NextToken into a reused buffer: word ends up empty when nothing is counted.
void CutToken(Session& session, std::u32string& word) {
  ExtractionState& x = session.extraction;
  const WordRun run = NumAlpha2(x.strLine, x.lngLP, false, x.strAllowedExtraChars);
  x.blnStoppedAtPeriod = run.endsAtPeriod;
  x.blnStoppedAtDoubleQuote = run.endsAtDoubleQuote;
  x.blnStoppedAtTab = run.endsAtTab;
  x.blnStoppedAtComma = run.endsAtComma;
  word.clear();
  if (run.length == 0) return;
  word.append(x.strLine, x.lngLP, run.length);
  x.lngLP += run.length;

  // "caf&eacute;" left undecoded: the entity is not part of the word.
  if (session.comments.blnCharacterEntitiesPossible && run.endsAtSemicolon) {
    const auto amp = word.find(U'&');
    if (amp != std::u32string::npos) {
      std::u32string entity = word.substr(amp);
      entity.push_back(U';');
      if (EntityLength(entity) != 0) {
        word.resize(amp);
        if (word.empty()) return;
      }
    }
  }

  std::size_t end = word.size();
  while (end > 0 && strProhibitedInitialOrFinalChars.find(word[end - 1]) != std::u32string_view::npos)
    --end;
  word.resize(end);

  // The longest stem ("shouldn") has 7 characters; "s", "t" and every stem end in s, t or n.
  if (!session.run.blnReadingWords && session.settings.chkAllowWordsWithApostrophes == 0 &&
      !word.empty() && word.size() <= 7) {
    const char32_t back = word.back();
    const char32_t last = back < 0x80 ? (back | 0x20) : LowerChar(back);
    if (last == U's' || last == U't') {
      if (word.size() == 1) word.clear();  // no stem ends in s or t
      return;
    }
    if (last != U'n') return;
    // Words such as "in" and "been" come here often: ASCII is lowered in place, unallocated.
    char ascii[7];
    std::size_t n = 0;
    for (; n < word.size() && word[n] < 0x80; ++n) {
      const char32_t c = word[n];
      ascii[n] = static_cast<char>(c >= U'A' && c <= U'Z' ? c + 0x20 : c);
    }
    if (n == word.size()) {
      if (IsNegativeContractionStem(std::string_view(ascii, n))) word.clear();
      return;
    }
    const std::string utf8 = EncodeUtf8(word);
    const std::string lower = LowerCaseAccented(utf8);
    if (lower == "s" || lower == "t" || IsNegativeContractionStem(lower)) word.clear();
  }
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

std::u32string NextToken(Session& session) {
  std::u32string word;
  CutToken(session, word);
  return word;
}

void ProcessLine(Session& session) {
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

  x.lngLP = 0;
  while (x.lngLP + 1 < line.size()) {
    if (startUpCompleted) session.host.Pump();

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
    const bool mayStart =
        asciiLetter || IsWordChar(ch, false, startSet) || (reading && ch == U'<');
    bool cut = false;
    if (mayStart) {
      const std::size_t before = x.lngLP;
      std::u32string& word32 = x.wordScratch;
      CutToken(session, word32);
      cut = x.lngLP != before;
      session.host.Pump();
      if (session.run.blnStop) return;
      if (!word32.empty()) {
        std::string& word = x.wordUtf8Scratch;
        EncodeInto(word, word32);
        if (reading) {
          AddToTable(session, word);
          if (session.lists.blnCheckForNonAlphaNumeric && !IsAngleBracketed(word)) {
            CheckForNonAlphaNumeric(session, word);
          }
        } else {
          ++x.lngTotalNumOccurrences;
          if (!x.blnStripPhrases || !Lists(session).StripPhrase(session, word).empty()) {
            GetWords2(session, word);
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

void GetWords2(Session& session, std::string_view word) {
  ExtractionState& x = session.extraction;
  const Settings& s = session.settings;
  RunFlags& run = session.run;
  if (s.chkOnly7bitASCII == 1 && !IsSevenBitWord(word)) return;
  ListLookup& lists = Lists(session);

  if (!run.blnThereAreCountOnlyWords) {
    if (!x.lists || !(IsLowerAscii(word) ? lists.IsWordToIgnore(session, word)
                                         : lists.IsWordToIgnore(session, LowerCaseAccented(word)))) {
      AddToTable(session, word);
    }
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

  if ((s.chkTerminatePhraseAtPeriod == 1 && x.blnStoppedAtPeriod) ||
      (s.chkTerminatePhraseAtDoubleQuote == 1 && x.blnStoppedAtDoubleQuote) ||
      (s.chkTerminatePhraseAtTab == 1 && x.blnStoppedAtTab) ||
      (s.chkTerminatePhraseAtComma == 1 && x.blnStoppedAtComma)) {
    ResetPhrases(session);
  }
}

void SetPhraseWindow(Session& session, int window) {
  ExtractionState& x = session.extraction;
  x.intPhraseWindow = std::max(window, 0);
  x.strPhraseSlots.assign(static_cast<std::size_t>(x.intPhraseWindow) + 1, std::string());
  x.phraseSlotWords.assign(static_cast<std::size_t>(x.intPhraseWindow) + 1, 0);
}

void ResetPhrases(Session& session) {
  ExtractionState& x = session.extraction;
  // Sized here too, so a window set without SetPhraseWindow cannot index past the slots.
  x.strPhraseSlots.assign(static_cast<std::size_t>(std::max(x.intPhraseWindow, 0)) + 1,
                          std::string());
  x.phraseSlotWords.assign(x.strPhraseSlots.size(), 0);
}

void CheckForNonAlphaNumeric(Session& session, std::string_view word) {
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

void ClearNonAlphaNumericFlags(Session& session) {
  ListState& f = session.lists;
  f.blnWordsWithHyphens = f.blnWordsWithApostrophes = f.blnWordsWithUnderscores = false;
  f.blnWordsWithColons = f.blnWordsWithBackslashes = f.blnWordsWithForwardslashes = false;
  f.blnWordsWithParentheses = f.blnWordsWithAmpersands = f.blnWordsWithPeriods = false;
  f.blnWordsWithCommas = f.blnWordsWithAtSigns = f.blnWordsWithNumerals = false;
}

void AllowSeenCharacters(Session& session) {
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
