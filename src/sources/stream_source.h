// Standard input as the clipboard source of the command line: read and counted line by line
// in bounded memory, with no length limit.
#pragma once

namespace talq {

struct SourceSession;

// Counts the text of sources.intStandardInput like clipboard text (UTF-8, a leading
// byte-order mark dropped, no end-of-line phrase reset) as it arrives. Returns kFileDone, or
// kFileEmptyOrNoPath after a message when there is no text, when the text is not natural
// language, or when the comment markers are refused. Stops at blnStop.
int DoItFromStandardInput(SourceSession& s);

}  // namespace talq
