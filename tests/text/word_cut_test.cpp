// The ASCII shortcut of word cutting against the general cut, on generated lines under
// every combination of cutting rules and a few sets of admitted extra characters.
#include "text/word_cut.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "util/utf8.h"

namespace talq {
namespace {

TEST(WordCutTest, AsciiShortcutCutsLikeNextToken) {
  // Pieces that end words in every way: punctuation, tags, entities, contractions, digits,
  // letters beyond ASCII, and the stems the contraction rule drops.
  static const char32_t* const kPieces[] = {
      U"word", U"The", U"s", U"t", U"isn", U"don", U"shouldn", U"In", U" ", U"  ", U".",
      U",", U"\t", U"\"", U"'", U"-", U"<", U"<b>", U">", U";", U"&amp;", U"&", U"é",
      U"\u00BB", U"0", U"42", U"_", U"(", U")", U":", U"/", U"Ω", U"x"};
  const std::u32string extraSets[] = {U"", U"-", U"-'\u2018_0123456789", U".,()&<", U"é;"};
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1), len(1, 14);
  int shortcuts = 0;
  for (int round = 0; round < 3000; ++round) {
    LineScan scan;
    for (std::size_t k = len(rng); k > 0; --k) scan.strLine += kPieces[piece(rng)];
    scan.strLine += U' ';
    scan.strAllowedExtraChars = extraSets[round % std::size(extraSets)];
    const CutRules rules{(round & 1) != 0, (round & 2) != 0, (round & 4) != 0};
    for (std::size_t at = 0; at + 1 < scan.strLine.size(); ++at) {
      LineScan fast = scan, slow = scan;
      fast.lngLP = slow.lngLP = at;
      fast.blnStoppedAtPeriod = slow.blnStoppedAtPeriod = (round & 8) != 0;
      std::string word;
      if (!NextAsciiToken(fast, rules, AsciiSet(scan.strAllowedExtraChars), word)) {
        EXPECT_EQ(fast.lngLP, at);
        continue;
      }
      ++shortcuts;
      std::u32string expected;
      NextToken(slow, rules, expected);
      const std::string where = EncodeUtf8(scan.strLine) + " at " + std::to_string(at);
      ASSERT_EQ(word, EncodeUtf8(expected)) << where;
      ASSERT_EQ(fast.lngLP, slow.lngLP) << where;
      ASSERT_EQ(fast.blnStoppedAtPeriod, slow.blnStoppedAtPeriod) << where;
      ASSERT_EQ(fast.blnStoppedAtDoubleQuote, slow.blnStoppedAtDoubleQuote) << where;
      ASSERT_EQ(fast.blnStoppedAtTab, slow.blnStoppedAtTab) << where;
      ASSERT_EQ(fast.blnStoppedAtComma, slow.blnStoppedAtComma) << where;
    }
  }
  EXPECT_GT(shortcuts, 10000);  // the shortcut is taken, not just declined
}

}  // namespace
}  // namespace talq
