// The exclusion of word-table entries after a count (word rules and frequency limits) and
// the summary figures computed over the included entries.
#pragma once

#include <cstdint>
#include <string_view>

namespace talq {

struct Session;
struct Settings;

// True when word breaks a rule of the words-to-ignore panel: too short (when checked), too
// long, a letter four times in a row (when checked), no letter (when checked).
bool ExcludedByWordRules(const Settings& st, std::string_view word);

// Marks every entry included, then excludes it at the first word rule or frequency limit
// (thresholds from the run state) that applies. A word count without a count-only list.
void FilterWords(Session& s);

// Marks every entry included, then excludes entries below the minimum or above the maximum
// frequency as the run calls for; shows what it does in the text box. Count-only and
// count-all-phrases runs.
void ApplyFrequencyLimits(Session& s);

// Included/excluded numbers, occurrences, highest frequency and number of files, longest
// entry and most words in one entry, into the word table and the report state.
void ComputeRunStatistics(Session& s);

}  // namespace talq
