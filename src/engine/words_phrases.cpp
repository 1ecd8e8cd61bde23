#include "engine/words_phrases.h"

#include "settings/run_flags.h"

namespace talq {

std::string WordsPhrases(const RunFlags& run) {
  if (run.blnCountingMFP) return "phrases";
  if (run.blnThereAreCountOnlyWords && run.blnCountOnlyWordsIncludePhrase) return "words/phrases";
  return "words";
}

}  // namespace talq
