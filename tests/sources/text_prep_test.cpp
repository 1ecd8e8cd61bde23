// Line preparation: Windows-1252, trimming, punctuation normalisation, plausibility.
#include "sources/text_prep.h"

#include <gtest/gtest.h>

#include "util/utf8.h"

namespace talq {
namespace {

std::string Norm(std::u32string s) {
  NormaliseLine(s);
  return EncodeUtf8(s);
}

TEST(TextPrep, Windows1252MapsTheHighControlsBlockAndKeepsUndefinedBytesAsC1) {
  EXPECT_EQ(DecodeWindows1252(0x93), U'\u201C');
  EXPECT_EQ(DecodeWindows1252(0x92), U'\u2019');
  EXPECT_EQ(DecodeWindows1252(0x80), U'\u20AC');
  EXPECT_EQ(DecodeWindows1252(0xE9), U'\u00E9');
  for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(DecodeWindows1252(b), char32_t(b));
}

TEST(TextPrep, TrimLineLooksAtCodePointsNotLowBytes) {
  struct Case {
    std::u32string in, out;
  } cases[] = {
      {U"  \t word \r", U"word"},
      {U" \t ", U""},
      {U"", U""},
      {U"\u0120x\u0120", U"\u0120x\u0120"},  // low byte 0x20 but not a space
      {U"\u0109a", U"\u0109a"},              // low byte 0x09
  };
  for (auto& c : cases) {
    std::u32string s = c.in;
    TrimLine(s);
    EXPECT_EQ(s, c.out);
  }
}

TEST(TextPrep, NormalisationMapsPunctuationInOnePass) {
  struct Case {
    std::u32string in;
    std::string out;
  } cases[] = {
      {U"one\u2014two", "one -- two"},
      {U"don\u2019t", "don't"},
      {U"\u201Cquoted\u201D", "\"quoted\""},
      {U"a\u2010b\u2013c", "a-b-c"},
      {U"x\u2015y", "x--y"},
      {U"wait\u2026", "wait..."},
      {U"\u2022item", " . item"},
      {U"\u2039a\u203A", "<a>"},
      {U"a\u2003b\u202Fc\u2028d", "a b c d"},
      {U"a\u200Eb", "ab"},            // other marks of the block vanish
      {U"x\u2017", "x\u2030"},        // becomes per-mille and stays
      {U"x\u2030", "x"},              // a real per-mille is removed
      {U"a\u0085b\u009Fc", "abc"},    // C1 controls removed
      {U"\u010D\u00E9", "\u010D\u00E9"},  // letters are never folded
  };
  for (auto& c : cases) EXPECT_EQ(Norm(c.in), c.out) << EncodeUtf8(c.in);
}

TEST(TextPrep, NaturalLanguageTextRefusesControlCharacters) {
  EXPECT_TRUE(IsNaturalLanguageText(U"", 3000, true));
  EXPECT_TRUE(IsNaturalLanguageText(U"a\tb\r\nc\fd", 3000, true));
  EXPECT_FALSE(IsNaturalLanguageText(U"a\nb", 3000, false));
  EXPECT_FALSE(IsNaturalLanguageText(U"a\x01", 3000, true));
  EXPECT_TRUE(IsNaturalLanguageText(U"abc\x01", 3, true));  // beyond the maximum
  EXPECT_FALSE(IsNaturalLanguageText(U"abc\x01", 0, true));  // all of it
  EXPECT_TRUE(IsNaturalLanguageText(U"\u0101\u0109", 3000, false));  // low bytes 1 and 9
}

TEST(TextPrep, ProgressBar) {
  EXPECT_EQ(ProgressBar(5, 0), "[>    ]");
  EXPECT_EQ(ProgressBar(5, 1), "[>    ]");
  EXPECT_EQ(ProgressBar(5, 3), "[-->  ]");
  EXPECT_EQ(ProgressBar(5, 9), "[---->]");
}

}  // namespace
}  // namespace talq
