#include "run/filter_words.h"

#include <algorithm>

#include "run/counting_run.h"
#include "run/session.h"
#include "text/word_chars.h"
#include "engine/words_phrases.h"
#include "util/utf8.h"

namespace talq {

bool ExcludedByWordRules(const Settings& st, std::string_view word) {
  const std::size_t length = Utf8Length(word);
  if (st.chkIgnoreShortWords && length < static_cast<std::size_t>(st.ShortWordSize())) return true;
  if (length > static_cast<std::size_t>(st.LongWordSize())) return true;
  if (st.chkIgnoreRepetitions && length >= 4 && HasFourRepetitions(word)) return true;
  if (st.chkIgnoreNoLetter && !HasLetter(word)) return true;
  return false;
}

void FilterWords(Session& s) {
  const Settings& st = s.settings;
  const CountingRunState& cr = s.counting;
  s.words.SettleCounts();
  for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i) {
    if ((i & 0x3FFF) == 0) s.host.Pump();
    WordRecord& w = s.words.udtWords[static_cast<std::size_t>(i)];
    w.blnIncluded = !ExcludedByWordRules(st, w.strWord) &&
                    !(st.chkIgnoreInfrequentWords && w.lngFrequency < cr.intThresholdFrequency) &&
                    !(st.chkIgnoreExcessivelyFrequentWords &&
                      w.lngFrequency > cr.intExcessFrequency);
  }
}

void ApplyFrequencyLimits(Session& s) {
  const Settings& st = s.settings;
  CountingRunState& cr = s.counting;
  const bool mfp = s.run.blnCountingMFP;
  if (mfp) cr.intThresholdFrequency = cr.intMFPThresholdFrequency;
  const bool tooFew = mfp || st.chkIgnoreInfrequentWords;
  const bool tooMany = !mfp && st.chkIgnoreExcessivelyFrequentWords;
  const std::string noun = WordsPhrases(s.run);
  if (tooFew && tooMany)
    s.host.TxbSet("Excluding too frequent or too infrequent " + noun + " ...");
  else if (tooFew)
    s.host.TxbSet("Excluding too infrequent " + noun + " ...");
  else if (tooMany)
    s.host.TxbSet("Excluding too frequent " + noun + " ...");
  s.words.SettleCounts();
  for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i) {
    if ((i & 0x3FFF) == 0) s.host.Pump();
    WordRecord& w = s.words.udtWords[static_cast<std::size_t>(i)];
    w.blnIncluded = !(tooFew && w.lngFrequency < cr.intThresholdFrequency) &&
                    !(tooMany && w.lngFrequency > cr.intExcessFrequency);
  }
}

void ComputeRunStatistics(Session& s) {
  WordTable& t = s.words;
  ReportState& r = s.reports;
  t.SettleCounts();
  t.lngNumWordsIncluded = 0;
  t.lngMaxFrequency = 0;
  // A phrase count keeps only its frequent phrases in the table; the others are excluded.
  r.lngNumWordsExcluded = s.run.blnCountingMFP ? s.phrases.lngNumPhrasesNotKept : 0;
  r.lngNumOccurrences = 0;
  r.lngMaxNumFiles = 0;
  r.intMaxWordLengthFound = 0;
  r.intNumWordsInLongestPhrase = 0;
  for (std::int64_t i = 1; i <= t.lngNumWords; ++i) {
    if ((i & 0x3FFF) == 0) s.host.Pump();
    const WordRecord& w = t.udtWords[static_cast<std::size_t>(i)];
    if (!w.blnIncluded) {
      ++r.lngNumWordsExcluded;
      continue;
    }
    ++t.lngNumWordsIncluded;
    r.lngNumOccurrences += w.lngFrequency;
    t.lngMaxFrequency = std::max(t.lngMaxFrequency, w.lngFrequency);
    r.lngMaxNumFiles = std::max(r.lngMaxNumFiles, w.NumFiles());
    r.intMaxWordLengthFound = std::max(r.intMaxWordLengthFound, static_cast<int>(Utf8Length(w.strWord)));
    const int words = static_cast<int>(std::count(w.strWord.begin(), w.strWord.end(), ' ')) + 1;
    r.intNumWordsInLongestPhrase = std::max(r.intNumWordsInLongestPhrase, words);
  }
}

}  // namespace talq
