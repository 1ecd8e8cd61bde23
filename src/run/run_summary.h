// The texts a counting run shows around the count: the count chooser's introduction and the
// result labels after the run.
#pragma once

#include <string>

namespace talq {

struct Session;

// The count chooser's introduction for the current count-only and words-to-ignore flags.
std::string CountChooserIntro(const Session& s);

// True in a count-only run when every count-only entry is an included table entry. Pattern
// entries (wildcards, expressions) are never claimed as all found.
bool AllCountOnlyEntriesFound(Session& s);

// Writes the result labels (lblNumberOfWords, lblNumWordsExcluded, lblNumOccurrences,
// lblTotalNumOccurrences) from the run's figures and stops the elapsed-time timer.
void ShowRunSummary(Session& s);

}  // namespace talq
