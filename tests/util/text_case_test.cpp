#include "util/text_case.h"

#include <gtest/gtest.h>

#include "util/utf8.h"

namespace talq {
namespace {

TEST(TextCaseTest, LowerAndUpperCase) {
  struct Case {
    const char* in;
    const char* lower;
    const char* upper;
  };
  const Case cases[] = {
      {"Étude", "étude", "ÉTUDE"},
      {"ŠŸÀÐÞ", "šÿàðþ", "ŠŸÀÐÞ"},
      {"ÿß µ", "ÿß µ", "Ÿß µ"},         // no multi-letter or Greek forms from Latin-1
      {"Москва", "москва", "МОСКВА"},
      {"Ωμέγα", "ωμέγα", "ΩΜΈΓΑ"},
      {"ŒUVRE Ğ", "œuvre ğ", "ŒUVRE Ğ"},
      {"ABC xyz 123 ×÷", "abc xyz 123 ×÷", "ABC XYZ 123 ×÷"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LowerCaseAccented(std::string(c.in)), c.lower) << c.in;
    EXPECT_EQ(UpperCaseAccented(std::string(c.in)), c.upper) << c.in;
    // The code-point overloads agree with the UTF-8 ones.
    EXPECT_EQ(EncodeUtf8(LowerCaseAccented(DecodeUtf8(c.in))), c.lower) << c.in;
    EXPECT_EQ(EncodeUtf8(UpperCaseAccented(DecodeUtf8(c.in))), c.upper) << c.in;
  }
}

TEST(TextCaseTest, FoldingExpandsBeforeRemovingAccents) {
  struct Case {
    const char* in;
    const char* expanded;
    const char* removed;
    const char* folded;
  };
  const Case cases[] = {
      {"Ärger", "Aerger", "Arger", "Aerger"},
      {"Straße", "Strasse", "Straße", "Strasse"},
      {"Œuvre", "Oeuvre", "Œuvre", "Oeuvre"},
      {"Étude", "Étude", "Etude", "Etude"},
      {"ŠŸýðÐ", "ŠŸýðÐ", "SYyðD", "SYyðD"},
      {"Ørsted Ñ", "Ørsted Ñ", "Orsted N", "Orsted N"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpandLigatures(std::string(c.in)), c.expanded) << c.in;
    EXPECT_EQ(RemoveAccents(std::string(c.in)), c.removed) << c.in;
    EXPECT_EQ(FoldAccents(std::string(c.in)), c.folded) << c.in;
    EXPECT_EQ(EncodeUtf8(FoldAccents(DecodeUtf8(c.in))), c.folded) << c.in;
  }
  // A folded key sorts "Étude" before "etudes" once case is set aside.
  EXPECT_LT(LowerCaseAccented(FoldAccents(std::string("Étude"))), "etudes");
}

TEST(TextCaseTest, LettersByUnicodeCategory) {
  for (char32_t c : {U'a', U'Z', U'é', U'Ж', U'λ', U'中', U'ª'}) EXPECT_TRUE(IsUnicodeLetter(c)) << static_cast<int>(c);
  for (char32_t c : {U'1', U'-', U' ', U'×', U'\u2019', char32_t{0x110000}}) {
    EXPECT_FALSE(IsUnicodeLetter(c)) << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace talq
