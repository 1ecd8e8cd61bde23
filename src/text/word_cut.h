// Word cutting: where a word starts and ends in a scanned line, what follows it, and which
// cut words are dropped before anything counts them (entity remnants, contraction parts).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "text/word_chars.h"

namespace talq {

// A line being cut into words and what follows the last word cut.
struct LineScan {
  std::u32string strLine;  // the line being scanned; callers append one space
  std::size_t lngLP = 0;   // scan position in strLine, 0-based
  std::u32string strAllowedExtraChars;  // non-letters admitted in words (a set)

  // What follows the last word cut by NextToken.
  bool blnStoppedAtPeriod = false;
  bool blnStoppedAtDoubleQuote = false;
  bool blnStoppedAtTab = false;
  bool blnStoppedAtComma = false;
};

// How NextToken treats what it cut.
struct CutRules {
  bool entitiesPossible = false;      // mark-up text: a trailing "&name" entity is no word
  bool dropContractionParts = false;  // apostrophes not allowed while counting text
  bool tagsJoin = true;  // "<" may join a word (word-list entries only, never counted text)
};

// Length of the run of word characters starting at start (at most 65000), and what follows.
struct WordRun {
  std::size_t length = 0;
  bool endsAtSemicolon = false;
  bool endsAtPeriod = false;
  bool endsAtDoubleQuote = false;  // straight double quote or »
  bool endsAtTab = false;
  bool endsAtComma = false;
};
// With tagsJoin false, "<" always ends the run.
WordRun NumAlpha2(std::u32string_view text, std::size_t start, bool allowDigits,
                  std::u32string_view extraChars, bool tagsJoin = true);

// Cuts the word at lngLP into word (a reused buffer), advances lngLP past it and sets the
// blnStoppedAt flags. word is left empty when nothing was cut or the word was dropped
// (lngLP then tells which).
void NextToken(LineScan& scan, CutRules rules, std::u32string& word);

// NextToken for the usual word, a run of ASCII letters that ends at an ASCII character
// which is no word character (nor "<"): the same cut, position and flags, the word written
// as bytes. False, with nothing changed, when the word at lngLP is not of that kind. extra:
// the ASCII part of scan.strAllowedExtraChars.
bool NextAsciiToken(LineScan& scan, CutRules rules, const AsciiSet& extra, std::string& word);

}  // namespace talq
