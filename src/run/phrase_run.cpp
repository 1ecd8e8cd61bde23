#include "run/phrase_run.h"

#include <filesystem>
#include <system_error>

#include "engine/phrase_count.h"
#include "engine/phrase_filter.h"
#include "engine/redundant_subphrases.h"
#include "lists/list_lookup_impl.h"
#include "lists/word_lists.h"
#include "reports/report_formats.h"
#include "reports/report_sinks.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "util/paths.h"
#include "util/program_texts.h"

namespace talq {

namespace {

constexpr const char* kTitle = "Count all phrases";

// The count-only list is replaced by the generated patterns for one phrase count and put
// back however the run ends.
class CountOnlyReplaced {
 public:
  explicit CountOnlyReplaced(Session& s)
      : s_(s),
        extras_(s.lists.strExtraCountOnlyWords),
        numExtras_(s.lists.intNumExtraCountOnlyWords),
        numLoaded_(s.lists.lngNumCountOnlyWords),
        includePhrase_(s.run.blnCountOnlyWordsIncludePhrase),
        countOnly_(s.run.blnThereAreCountOnlyWords) {}
  CountOnlyReplaced(const CountOnlyReplaced&) = delete;
  CountOnlyReplaced& operator=(const CountOnlyReplaced&) = delete;
  ~CountOnlyReplaced() {
    s_.lists.strExtraCountOnlyWords = std::move(extras_);
    s_.lists.intNumExtraCountOnlyWords = numExtras_;
    s_.lists.lngNumCountOnlyWords = numLoaded_;
    s_.run.blnCountOnlyWordsIncludePhrase = includePhrase_;
    s_.run.blnThereAreCountOnlyWords = countOnly_;
  }

  // One "~+~..." entry per phrase length: each matches phrases of exactly that many words.
  void InstallPatterns(int minWords, int maxWords) {
    std::vector<std::string> patterns{std::string()};
    for (int n = minWords; n <= maxWords; ++n) {
      std::string p = "~";
      for (int k = 1; k < n; ++k) p += "+~";
      patterns.push_back(p);
    }
    s_.lists.strExtraCountOnlyWords = std::move(patterns);
    s_.lists.intNumExtraCountOnlyWords = maxWords - minWords + 1;
    s_.lists.lngNumCountOnlyWords = 0;
    s_.run.blnCountOnlyWordsIncludePhrase = true;
    s_.run.blnThereAreCountOnlyWords = true;
  }

 private:
  Session& s_;
  std::vector<std::string> extras_;
  int numExtras_;
  std::int64_t numLoaded_;
  bool includePhrase_;
  bool countOnly_;
};

// The counter is wired into word extraction for the reading of one run only.
class CounterInstalled {
 public:
  explicit CounterInstalled(Session& s) : s_(s) {
    if (s.phrases.blnCountThroughSlots) return;
    s.phrases.counter = std::make_shared<PhraseCounter>(s);
    s.extraction.phraseCounter = s.phrases.counter.get();
  }
  CounterInstalled(const CounterInstalled&) = delete;
  CounterInstalled& operator=(const CounterInstalled&) = delete;
  ~CounterInstalled() {
    s_.extraction.phraseCounter = nullptr;
    s_.phrases.counter.reset();
  }

 private:
  Session& s_;
};

int HandlingNumber(WordsToIgnoreHandling h) {
  switch (h) {
    case WordsToIgnoreHandling::optAllowPhrasesAllWordsToIgnore: return 1;
    case WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore: return 2;
    case WordsToIgnoreHandling::optRemoveWordsToIgnore: return 3;
    case WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore: return 4;
  }
  return 2;
}

// Every phrase is kept at a minimum frequency of 1, which takes long on a large file.
bool GoOnWithLargeFile(Session& s) {
  const Settings& st = s.settings;
  if (st.source != Source::optInFile || st.MinimumFrequency() != 1) return true;
  std::error_code ec;
  const auto size = std::filesystem::file_size(TrimPathBox(st.txbFile[0]), ec);
  if (ec || size <= 50 * 1024) return true;
  return s.host.AskInteractive(ProgramText(375) + "\n" + ProgramText(376) +
                                   "\n\nDo you wish to continue?",
                               kTitle, MsgAnswer::Yes) == MsgAnswer::Yes;
}

// The phrase window's choices become the run's variables.
void TakeDialogValues(Session& s) {
  const Settings& st = s.settings;
  ExtractionState& x = s.extraction;
  PhraseRunState& p = s.phrases;
  x.intMinNumWordsInPhrase = st.PhraseLength(0);
  x.intMaxNumWordsInPhrase = st.PhraseLength(1);
  s.counting.intMFPThresholdFrequency = st.MinimumFrequency();
  const bool ignore = s.run.blnThereAreWordsToIgnore;
  const WordsToIgnoreHandling h = st.wordsToIgnoreHandling;
  p.blnAllowPhrasesConsistingOnlyOfWordsToIgnore =
      ignore && h == WordsToIgnoreHandling::optAllowPhrasesAllWordsToIgnore;
  p.blnExcludePhrasesConsistingOnlyOfWordsToIgnore =
      ignore && h == WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore;
  x.blnStripPhrases = ignore && h == WordsToIgnoreHandling::optRemoveWordsToIgnore;
  p.blnExcludePhrasesContainingAWordToIgnore =
      ignore && h == WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore;
  txbFilterWords_LostFocus(s);
}

}  // namespace

bool CheckPhraseLengths(Session& s) {
  const int minWords = s.settings.PhraseLength(0);
  const int maxWords = s.settings.PhraseLength(1);
  if (maxWords < minWords) {
    s.host.MsgBox("The maximum number of words in each phrase\nmust not be less than the minimum number.",
                  "Invalid input", MsgIcon::Exclamation);
    return false;
  }
  if (minWords == 1 && maxWords == 1) {
    s.host.MsgBox("To count all and only 'phrases' with one word please\n"
                  "cancel then click on the 'Count words/phrases' button\n"
                  "then click on the 'Count all words' button.",
                  kTitle, MsgIcon::Information);
    return false;
  }
  return true;
}

RunResult cmdCountAllPhrases_Click(Session& s) {
  if (s.counting.blnRunInProgress) {
    RequestStop(s);
    return RunResult::StopRequested;
  }
  if (!ValidateInput(s)) return RunResult::Refused;
  if (!GetExtraWords(s, kWordsToIgnore)) return RunResult::Refused;
  if (s.extraction.lists == nullptr) InstallWordLists(s);
  const ListState& l = s.lists;
  s.run.blnThereAreWordsToIgnore = l.HasWordsToIgnore();
  s.run.blnThereAreCountOnlyWords = l.intNumExtraCountOnlyWords >= 1 || l.lngNumCountOnlyWords >= 1;
  if (!CheckPhraseLengths(s)) return RunResult::Refused;
  TakeDialogValues(s);
  if (!GoOnWithLargeFile(s)) return RunResult::Cancelled;
  if (s.extraction.intMaxNumWordsInPhrase == 1) {
    s.host.MsgBox("To count all and only 'phrases' with one word\n"
                  "please click on the 'Count words/phrases' button\n"
                  "then the 'Count all words' button.",
                  kTitle, MsgIcon::Information);
    return RunResult::Refused;
  }

  s.run.blnCountingMFP = true;
  s.phrases.intPhrasesSelectedOnCount = HandlingNumber(s.settings.wordsToIgnoreHandling);
  s.phrases.lngNumPhrasesNotKept = 0;
  s.reports.strHowManyPhrases.clear();
  s.reports.blnFilteringPhrases = false;
  s.settings.blnWordsGot = false;
  if (!s.counting.hooks.ExcludeRedundantSubphrases)
    s.counting.hooks.ExcludeRedundantSubphrases = ExcludeRedundantSubphrases;
  for (const char* label : {"lblNumberOfWords", "lblNumWordsExcluded", "lblNumOccurrences",
                            "lblTotalNumOccurrences"})
    s.host.SetLabel(label, "");

  RunResult result;
  {
    CountOnlyReplaced countOnly(s);
    countOnly.InstallPatterns(s.extraction.intMinNumWordsInPhrase, s.extraction.intMaxNumWordsInPhrase);
    s.extraction.intPhraseWindow = s.extraction.intMaxNumWordsInPhrase;
    CounterInstalled counter(s);
    result = CountWordsPhrases(s);
  }
  // Later word counts must not remove words to ignore from their stream.
  s.extraction.blnStripPhrases = false;
  s.settings.blnWordsGot = result == RunResult::Reported || result == RunResult::NothingFound;
  return result;
}

void FinishPhraseReading(Session& s) {
  if (!s.phrases.counter) return;
  s.phrases.lngNumPhrasesNotKept =
      s.phrases.counter->MoveIntoTable(s, s.counting.intMFPThresholdFrequency);
}

void MakePhraseRunSummary(Session& s) {
  const PhraseRunState& p = s.phrases;
  PhraseCountFigures f;
  f.intMinNumWordsInPhrase = s.extraction.intMinNumWordsInPhrase;
  f.intMaxNumWordsInPhrase = s.extraction.intMaxNumWordsInPhrase;
  f.intMFPThresholdFrequency = s.counting.intMFPThresholdFrequency;
  f.blnStripPhrases = s.extraction.blnStripPhrases;
  f.blnExcludePhrasesContainingAWordToIgnore = p.blnExcludePhrasesContainingAWordToIgnore;
  f.blnExcludePhrasesConsistingOnlyOfWordsToIgnore = p.blnExcludePhrasesConsistingOnlyOfWordsToIgnore;
  MakePhraseCountSummary(s, f);
}

void txbFilterWords_LostFocus(Session& s) {
  s.filter = ParseFilterWords(s.settings.txbFilterWords);
  s.settings.txbFilterWords = s.filter.strFilterText;
}

void cmdFilterResults_Click(Session& s) {
  // Only a table of phrases is filtered: after a word count the words would be listed as
  // phrases, and the listing would go on calling them so.
  if (!s.settings.blnStartUpCompleted || !s.settings.blnWordsGot || !s.run.blnCountingMFP ||
      s.settings.txbFilterWords.empty())
    return;
  ReportState& r = s.reports;
  const PhraseFilterState filter = s.filter;
  const FilterMode mode = s.settings.filterMode;
  r.PhrasePassesFilter = [filter, mode](const std::string& phrase) {
    return PhraseMatchesFilter(filter, mode, phrase);
  };
  r.blnFilterWordFound = false;
  r.blnFilteringPhrases = true;
  s.run.blnCountingMFP = true;
  ListWords(s);
  r.blnFilteringPhrases = false;
}

std::int64_t NumPhrasesFoundSoFar(const Session& s) {
  return s.phrases.counter ? s.phrases.counter->NumPhrases() : s.words.lngNumWords;
}

}  // namespace talq
