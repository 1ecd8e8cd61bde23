// The list steps of a restore: offering to load the list files a restored record selects,
// and the first-run offer of the English common-word file.
#pragma once

namespace talq {

struct SourceSession;

// For each list whose history selects a file (words to ignore first), asks "Load file?";
// Yes loads it (AttemptToReadWords), No deselects it (and, for words to ignore, selects
// "[No language selected]"). Returns false when a file the user chose did not load.
bool OfferSelectedListFiles(SourceSession& session);

// When the words-to-ignore history is empty, offers the English common-word file: Yes
// adds, selects and loads it; No selects "[No language selected]". True when it loaded.
bool OfferEnglishCommonWords(SourceSession& session);

}  // namespace talq
