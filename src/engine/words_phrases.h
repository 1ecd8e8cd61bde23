// The noun a run's messages use for what it counts.
#pragma once

#include <string>

namespace talq {

struct RunFlags;

// "phrases" in a count-all-phrases run; "words/phrases" when a count-only list with a
// phrase is in force; otherwise "words".
std::string WordsPhrases(const RunFlags& run);

}  // namespace talq
