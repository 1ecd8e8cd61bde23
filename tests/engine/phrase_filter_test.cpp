// Phrase filtering: the filter words as typed and the three modes.
#include "engine/phrase_filter.h"

#include <gtest/gtest.h>

#include "settings/settings.h"

namespace talq {
namespace {

using M = FilterMode;

TEST(PhraseFilterWords, TypedTextIsRewritten) {
  const struct {
    std::string typed, box;
  } cases[] = {
      {"Of, THE!", "of the"},
      {"  rock-and-roll  isn't ", "rock-and-roll isn't"},
      {"ÉTÉ (1999)", "été 1999"},
      {"Привет, МИР", "привет мир"},  // letters beyond Latin-1 are kept whole
      {"!!! ...", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    const PhraseFilterState f = ParseFilterWords(c.typed);
    EXPECT_EQ(f.strFilterText, c.box) << c.typed;
    EXPECT_EQ(f.intNumFilterWords, static_cast<int>(f.strFilterWords.size()));
  }
}

TEST(PhraseFilterWords, Modes) {
  const struct {
    std::string filter, phrase;
    M mode;
    bool passes;
  } cases[] = {
      {"of the", "the end of", M::optIncludeAllWords, true},
      {"of the", "the end of", M::optIncludeAllWordsInSameOrder, false},
      {"of the", "end of the day", M::optIncludeAllWordsInSameOrder, true},
      {"of the", "end of the day", M::optIncludeAllWordsAsSubphrase, true},
      {"of the", "end of theory", M::optIncludeAllWordsAsSubphrase, false},
      {"of the", "proof of the", M::optIncludeAllWordsAsSubphrase, true},
      {"the", "out there", M::optIncludeAllWords, false},
      {"the", "The Sea", M::optIncludeAllWords, true},
      // In order, a later word is plain text after the earlier one.
      {"of the", "of a there the", M::optIncludeAllWordsInSameOrder, true},
      {"a b", "b a", M::optIncludeAllWordsInSameOrder, false},
      {"whale", "the white whale", M::optIncludeAllWordsInSameOrder, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PhraseMatchesFilter(ParseFilterWords(c.filter), c.mode, c.phrase), c.passes)
        << c.filter << " / " << c.phrase << " / " << static_cast<int>(c.mode);
  }
}

}  // namespace
}  // namespace talq
