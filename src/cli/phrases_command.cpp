#include "cli/phrases_command.h"

#include <CLI/CLI.hpp>

#include "engine/phrase_filter.h"
#include "run/counting_run.h"
#include "run/phrase_run.h"
#include "run/session.h"
#include "settings/setting_choices.h"

namespace talq::cli {

void AddPhraseOptions(CLI::App& app, PhraseOptions& opt) {
  app.add_option("--min", opt.minWords,
                 "fewest words in a phrase, 1-25 (default 3); e.g. --min 2")
      ->check(CLI::Range(1, 25));
  app.add_option("--max", opt.maxWords,
                 "most words in a phrase, 1-25, not below --min (default 6); e.g. --max 4")
      ->check(CLI::Range(1, 25));
  app.add_option("--min-freq", opt.minFrequency,
                 "fewest occurrences of a listed phrase, 1-30 (default 2); e.g. --min-freq 3")
      ->check(CLI::Range(1, 30));
  app.add_option("--ignore-mode", opt.ignoreMode,
                 "what words to ignore do to phrases: allow (they play no part), exclude-all "
                 "(drop phrases made only of them; the default), remove (take them out of the "
                 "text first), exclude-any (drop phrases holding one); e.g. --ignore-common en "
                 "--ignore-mode remove")
      ->check(CLI::IsMember({"allow", "exclude-all", "remove", "exclude-any"}));
  app.add_option("--filter", opt.filter,
                 "list only the phrases holding these words (case is not significant); "
                 "e.g. --filter \"of the\"");
  app.add_option("--filter-mode", opt.filterMode,
                 "all (every filter word, anywhere; the default), order (in the order given) or "
                 "subphrase (together, as typed); e.g. --filter \"the sea\" --filter-mode subphrase")
      ->check(CLI::IsMember({"all", "order", "subphrase"}));
  app.footer(
      "Counts every phrase of --min to --max words that occurs at least --min-freq times,\n"
      "leaving out a phrase that a longer one of the same frequency contains.\n"
      "Example: talq phrases book.txt --min 2 --max 4 --min-freq 3 -o phrases.txt");
}

int ApplyPhraseOptions(Session& s, const PhraseOptions& opt, std::string& problem) {
  Settings& st = s.settings;
  // The choice lists hold "1" ... "25" and "1" ... "30": the index is the number less one.
  if (opt.minWords > 0) st.cboPhraseLength[0] = opt.minWords - 1;
  if (opt.maxWords > 0) st.cboPhraseLength[1] = opt.maxWords - 1;
  if (opt.minFrequency > 0) st.cboMinimumFrequency = opt.minFrequency - 1;
  if (opt.ignoreMode == "allow")
    st.wordsToIgnoreHandling = WordsToIgnoreHandling::optAllowPhrasesAllWordsToIgnore;
  else if (opt.ignoreMode == "exclude-all")
    st.wordsToIgnoreHandling = WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore;
  else if (opt.ignoreMode == "remove")
    st.wordsToIgnoreHandling = WordsToIgnoreHandling::optRemoveWordsToIgnore;
  else if (opt.ignoreMode == "exclude-any")
    st.wordsToIgnoreHandling = WordsToIgnoreHandling::optExcludePhrasesWithWordToIgnore;
  if (opt.filterMode == "all" || (opt.filterGiven && opt.filterMode.empty()))
    st.filterMode = FilterMode::optIncludeAllWords;
  else if (opt.filterMode == "order")
    st.filterMode = FilterMode::optIncludeAllWordsInSameOrder;
  else if (opt.filterMode == "subphrase")
    st.filterMode = FilterMode::optIncludeAllWordsAsSubphrase;
  if (opt.filterGiven) {
    st.txbFilterWords = opt.filter;
    txbFilterWords_LostFocus(s);
    if (st.txbFilterWords.empty()) {
      problem = "--filter \"" + opt.filter + "\" holds no filter word (letters, digits, ' or -).";
      return 2;
    }
  }
  return 0;
}

int RunPhrases(Session& s, const PhraseOptions& opt) {
  const RunResult result = cmdCountAllPhrases_Click(s);
  if (!RunSucceeded(result)) return 1;
  if (opt.filterGiven && result == RunResult::Reported) {
    cmdFilterResults_Click(s);
    if (s.reports.intOutputFileError != 0) return 1;
  }
  return 0;
}

}  // namespace talq::cli
