// The slow, literal way of a count of all phrases, kept as the reference the phrase counter
// is checked against: every phrase through the phrase slots into the word table (the run's
// blnCountThroughSlots), then every included entry compared with every other.
#pragma once

namespace talq {

struct Session;

// Makes the next count of all phrases in s take the literal way.
void UseLiteralPhraseCount(Session& s);

// For each included entry in table order: excluded when another still included entry of the
// same frequency has a longer text that contains its text. Quadratic.
void ExcludeRedundantSubphrasesPairwise(Session& s);

}  // namespace talq
