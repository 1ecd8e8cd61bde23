#include "support/phrase_reference.h"

#include "run/session.h"

namespace talq {

void UseLiteralPhraseCount(Session& s) {
  s.phrases.blnCountThroughSlots = true;
  s.counting.hooks.ExcludeRedundantSubphrases = ExcludeRedundantSubphrasesPairwise;
}

void ExcludeRedundantSubphrasesPairwise(Session& s) {
  std::vector<WordRecord>& w = s.words.udtWords;
  const auto n = static_cast<std::size_t>(s.words.lngNumWords);
  for (std::size_t i = 1; i <= n; ++i) {
    if (!w[i].blnIncluded) continue;
    for (std::size_t j = 1; j <= n; ++j) {
      if (j == i || !w[j].blnIncluded || w[j].lngFrequency != w[i].lngFrequency ||
          w[j].strWord.size() <= w[i].strWord.size())
        continue;
      if (w[j].strWord.find(w[i].strWord) != std::string::npos) {
        w[i].blnIncluded = false;
        break;
      }
    }
    s.host.Pump();
    if (s.run.blnStop) return;
  }
}

}  // namespace talq
