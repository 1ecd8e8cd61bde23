// `talq phrases`: the phrase window's choices as options, a count of all phrases and, with
// filter words, the filter run over its result.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace talq {
struct Session;
}

namespace talq::cli {

struct PhraseOptions {
  int minWords = 0;  // 0: not given, the settings record's value stands
  int maxWords = 0;
  int minFrequency = 0;
  std::string ignoreMode;  // allow, exclude-all, remove, exclude-any; "" not given
  std::string filter;
  bool filterGiven = false;
  std::string filterMode;  // all, order, subphrase; "" not given
};

// Declares --min, --max, --min-freq, --ignore-mode, --filter and --filter-mode, and the
// examples of `talq phrases --help`.
void AddPhraseOptions(CLI::App& app, PhraseOptions& opt);

// Sets the phrase-window fields that were given (after --set). 0, or 2 for a usage error
// (problem says why).
int ApplyPhraseOptions(Session& s, const PhraseOptions& opt, std::string& problem);

// Counts all phrases, then runs the filter when filter words were given. The exit status:
// 0 listed (or nothing found), 1 refused, stopped or failed.
int RunPhrases(Session& s, const PhraseOptions& opt);

}  // namespace talq::cli
