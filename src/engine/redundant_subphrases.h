// Redundant sub-phrases of a count-all-phrases run: a phrase that a longer phrase of the same
// frequency contains adds nothing to the report.
#pragma once

namespace talq {

struct EngineSession;

// Excludes every included entry of the word table whose text a longer included entry of the
// same frequency contains as a plain character substring ("he said" inside "she said").
// Containment is transitive, so the longest container of a chain always stays and the result
// does not depend on the table's order. Expects a table of phrase-run counts: every sub-phrase
// of an entry that lies in the run's length range was counted at least as often. Returns
// early, excluding nothing, when blnStop is set after Pump().
void ExcludeRedundantSubphrases(EngineSession& s);

}  // namespace talq
