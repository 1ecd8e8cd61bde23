// Deterministic text dumps of the word table, so engine tests compare one string.
#pragma once

#include <cstdint>
#include <string>

namespace talq {

class WordTable;

// Both settle the table's counts first.

// One line per entry, ordered by strWord's code points:
// "word<TAB>frequency<TAB>rank<TAB>files\n", files as "file:count" pairs separated by
// spaces ("-" without per-file data); rank is "x" for an excluded entry. Entries below
// minFrequency are left out.
std::string DumpWordTable(WordTable& table, std::int64_t minFrequency = 0);

// "word=frequency" for every entry (or every included one), ordered by strWord's code
// points, joined by " | ".
std::string WordCounts(WordTable& table, bool includedOnly = false);

}  // namespace talq
