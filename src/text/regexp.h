// Regular expressions for list entries: one compiled program per (pattern, case) pair,
// cached for the program's life, run with match and depth limits so that no user
// expression can hang a count.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talq {

// An angle-bracketed word or entry is an expression.
// True when s is longer than two characters, starts with "<" and ends with ">"; inner
// then receives s without those two, otherwise "".
bool IsAngleBracketed(std::string_view s, std::string& inner);
bool IsAngleBracketed(std::string_view s);
bool IsAngleBracketed(std::u32string_view s);

// Outcome of one search. Error covers both a pattern the engine refuses and a search the
// engine gave up on (limits hit, bad subject); callers treat it as "no match".
enum class RegExpResult { Match, NoMatch, Error };

// True when the engine compiles pattern (case-insensitively) and can search "X" with it.
// The pattern uses the ECMAScript-like syntax described in the user documentation.
bool IsValidRegExp(std::string_view pattern);
// The same for a pattern held as code points (as a scanned line holds it).
bool IsValidRegExp(std::u32string_view pattern);

// Searches subject (UTF-8) for pattern anywhere in it; ignoreCase folds case for every
// script. Never throws; never runs longer than the engine's limits allow.
RegExpResult RegExpSearch(std::string_view pattern, std::string_view subject, bool ignoreCase);

// RegExpSearch == Match.
bool RegExpMatches(std::string_view pattern, std::string_view subject, bool ignoreCase);

// Forgets every compiled pattern (tests; a new list load may call it to free memory).
void ClearRegExpCache();
// Number of compiled patterns held (tests).
std::size_t RegExpCacheSize();

}  // namespace talq
