// List entries as patterns: the "~"/"?" wildcards, regular expressions between angle
// brackets with the admissibility rules this program imposes on them, and the matching of
// a word or "+"-joined phrase against list entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/list_state.h"
#include "text/regexp.h"

namespace talq {

class Host;

// Admissibility codes of CheckRegExp.
enum RegExpCheck : int {
  kRegExpAdmissible = 1,
  kRegExpNotBracketed = 0,
  kRegExpInvalid = -1,
  kRegExpSpace = -2,
  kRegExpUnescapedPeriod = -3,
  kRegExpWholeWord = -4,
  kRegExpUnescapedDollar = -5,
  kRegExpUnescapedCaret = -6,
  kRegExpSquareBrackets = -7,
  kRegExpBraces = -8,
  kRegExpParentheses = -9,
};

// The admissibility code (RegExpCheck) of entry; inner receives the text between the
// angle brackets ("" when there are none).
int CheckRegExp(std::string_view entry, std::string& inner);

// The message text of an admissibility code ("" for an unknown code).
std::string RegExpCheckMessage(int code);

// Shows entry + line break + the code's message (+ line break + trailing when not empty)
// as an information box titled title, when code is negative or showAnyway is set.
void ReportRegExp(Host& host, int code, std::string_view entry, const std::string& title,
                  std::string_view trailing, bool showAnyway);

// Lower-cases text (accented capitals included) except what stands between "<" and the
// next ">"; a "<" with no ">" after it is lower-cased with the rest.
std::string LowerCaseExceptRegexp(std::string_view text);

// Number of "+"-separated words in entry; "+" between angle brackets does not separate.
int NumWordsInEntry(std::string_view entry);
// Phrase window a count-only list needs: the most words in one entry among the loaded and
// the extra count-only entries; at least 1.
int CountOnlyPhraseWindow(const ListState& lists);

// 1 match, -1 no match, 0 undecided (MatchOne must decide) for text word w against the
// wildcard entry word p. Never consults the regular-expression engine.
int QuickWildcardCompare(std::string_view w, std::string_view p);

// Whether w matches entry word p: p's inner text as a regular expression when p is
// angle-bracketed, otherwise p as a whole-word wildcard pattern whose other characters are
// literal. Case is folded by the engine unless caseSignificant. Engine errors: no match.
bool MatchOne(std::string_view w, std::string_view p, bool caseSignificant);

// Whether phrase (or word) t matches entry e word by word; the word counts must agree.
// An angle-bracketed entry word the engine refuses sets mark and gives no match.
bool MatchPhrase(std::string_view t, std::string_view e, bool caseSignificant,
                 InvalidRegExpMark& mark);

// Whether word matches any of entries[first .. first+count-1] (1-based). Without
// caseSignificant both sides are lower-cased outside angle brackets. With accentFolding an
// entry also matches when the accent-folded forms (outside angle brackets) match. Every
// entry is tried: a sort-order early stop would pass over wildcard entries. An entry the
// engine refuses sets mark and ends the walk with false; a mark already set by an earlier
// lookup is left as it is (the caller clears it) and does not end this walk.
bool IsInList(std::string_view word, const std::vector<std::string>& entries,
              std::int64_t first, std::int64_t count, bool accentFolding, bool caseSignificant,
              InvalidRegExpMark& mark);

}  // namespace talq
